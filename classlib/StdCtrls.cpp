// Standard controls: superclassed BUTTON, EDIT, LISTBOX, COMBOBOX and SCROLLBAR windows, and the label.
#include "classlib/StdCtrls.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/GdiHandles.h"
#include "classlib/Menus.h"

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    // The system button tracks the mouse and reports clicks itself (BN_CLICKED).
    SetControlStyle({csSetCaption, csDoubleClicks, csOpaque});
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    Params.Style |= active_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetButtonStyle(bool ADefault) {
    if (active_ == ADefault)
        return;
    active_ = ADefault;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETSTYLE, ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::SetDefault(bool Value) {
    default_ = Value;
    TCustomForm* form = GetParentForm(this);
    TWinControl* focused = form ? form->ActiveControl() : nullptr;
    SetButtonStyle(focused == this || (Value && !dynamic_cast<TButton*>(focused)));
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this); form && modalResult_ != 0)
        form->SetModalResult(modalResult_);
    TWinControl::Click();
}

void TButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CN_COMMAND:
            if (HIWORD(Message.WParam) == BN_CLICKED) {
                Click();
                return;
            }
            break;
        case CM_DIALOGKEY: {
            const WORD key = static_cast<WORD>(Message.WParam);
            const TShiftState shift = KeyDataToShiftState(Message.LParam);
            if (((key == VK_RETURN && active_) || (key == VK_ESCAPE && cancel_)) && !shift.Contains(ssAlt) &&
                !shift.Contains(ssCtrl) && CanFocus()) {
                Click();
                Message.Result = 1;
                return;
            }
            Message.Result = 0;
            return;
        }
        case CM_DIALOGCHAR:
            if (IsAccel(static_cast<WORD>(Message.WParam), Caption()) && CanFocus()) {
                Click();
                Message.Result = 1;
                return;
            }
            Message.Result = 0;
            return;
        case CM_FOCUSCHANGED: {
            auto* sender = reinterpret_cast<TWinControl*>(Message.LParam);
            SetButtonStyle(sender == this || (default_ && !dynamic_cast<TButton*>(sender)));
            return;
        }
        default:
            break;
    }
    TWinControl::WndProc(Message);
}

// ---- Window-held item lists -----------------------------------------------------------------------------------------
namespace {
// The messages of LISTBOX or COMBOBOX for its item list.
struct ItemMessages {
    UINT add, insert, remove, reset, count, getText, getTextLen, getData, setData;
};
constexpr ItemMessages kListBoxMessages{LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,
                                        LB_GETTEXT,   LB_GETTEXTLEN,   LB_GETITEMDATA,  LB_SETITEMDATA};
constexpr ItemMessages kComboMessages{CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,
                                      CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_GETITEMDATA,  CB_SETITEMDATA};

// Items of a list box or combo box: in the window while it exists, else in a list of our own that the window
// takes over when it is made (and gives back when it goes).
class TWinItemStrings : public TStrings {
  public:
    TWinItemStrings(TWinControl* control, const ItemMessages& msgs) : control_(control), msgs_(msgs) {}
    int Count() const override {
        return Live() ? static_cast<int>(Send(msgs_.count, 0, 0)) : static_cast<int>(saved_.size());
    }
    std::wstring Get(int index) const override {
        Check(index);
        if (!Live())
            return saved_[static_cast<size_t>(index)].first;
        const LRESULT len = Send(msgs_.getTextLen, static_cast<WPARAM>(index), 0);
        std::wstring s(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
        const LRESULT got = Send(msgs_.getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
        s.resize(static_cast<size_t>(got > 0 ? got : 0));
        return s;
    }
    TObject* GetItemObject(int index) const override {
        Check(index);
        if (!Live())
            return saved_[static_cast<size_t>(index)].second;
        return reinterpret_cast<TObject*>(Send(msgs_.getData, static_cast<WPARAM>(index), 0));
    }
    void PutObject(int index, TObject* object) override {
        Check(index);
        if (!Live())
            saved_[static_cast<size_t>(index)].second = object;
        else
            Send(msgs_.setData, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object));
    }
    int AddObject(const std::wstring& s, TObject* object) override {
        // The sorted window places the string itself.
        if (!Live()) {
            saved_.emplace_back(s, object);
            return static_cast<int>(saved_.size()) - 1;
        }
        const LRESULT i = Send(msgs_.add, 0, reinterpret_cast<LPARAM>(s.c_str()));
        if (i < 0)
            throw EOutOfResources(L"Cannot add an item to " + control_->Name());
        Send(msgs_.setData, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(object));
        return static_cast<int>(i);
    }
    int Add(const std::wstring& s) override { return AddObject(s, nullptr); }
    void Insert(int index, const std::wstring& s) override {
        if (index < 0 || index > Count())
            RaiseListIndexError(index);
        if (!Live()) {
            saved_.insert(saved_.begin() + index, {s, nullptr});
            return;
        }
        if (Send(msgs_.insert, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str())) < 0)
            throw EOutOfResources(L"Cannot insert an item into " + control_->Name());
    }
    void Delete(int index) override {
        Check(index);
        if (!Live())
            saved_.erase(saved_.begin() + index);
        else
            Send(msgs_.remove, static_cast<WPARAM>(index), 0);
    }
    void Clear() override {
        if (!Live())
            saved_.clear();
        else
            Send(msgs_.reset, 0, 0);
    }
    // The window is about to go: keep its items.
    void Save() {
        std::vector<std::pair<std::wstring, TObject*>> items;
        for (int i = 0, n = Count(); i < n; ++i)
            items.emplace_back(Get(i), GetItemObject(i));
        saved_ = std::move(items);
        detached_ = true;
    }
    // The window was made: it takes the kept items.
    void Restore() {
        detached_ = false;
        auto items = std::move(saved_);
        saved_.clear();
        for (auto& [s, o] : items)
            AddObject(s, o);
    }

  private:
    bool Live() const { return control_->HandleAllocated() && !detached_; }
    LRESULT Send(UINT msg, WPARAM w, LPARAM l) const { return SendMessageW(control_->Handle(), msg, w, l); }
    void Check(int index) const {
        if (index < 0 || index >= Count())
            RaiseListIndexError(index);
    }
    TWinControl* control_;  // borrowed: the control owns us
    ItemMessages msgs_;
    std::vector<std::pair<std::wstring, TObject*>> saved_;
    bool detached_ = false;
};

TWinItemStrings* ItemStrings(const std::unique_ptr<TStrings>& p) {
    return static_cast<TWinItemStrings*>(p.get());
}

// Lines of a memo: the window text split at line breaks; changes rewrite the text.
class TMemoStrings : public TStrings {
  public:
    explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}
    int Count() const override { return static_cast<int>(Split().size()); }
    std::wstring Get(int index) const override {
        auto lines = Split();
        if (index < 0 || index >= static_cast<int>(lines.size()))
            RaiseListIndexError(index);
        return lines[static_cast<size_t>(index)];
    }
    TObject* GetItemObject(int) const override { return nullptr; }
    void PutObject(int, TObject*) override {}
    void Put(int index, const std::wstring& s) override {
        auto lines = Split();
        if (index < 0 || index >= static_cast<int>(lines.size()))
            RaiseListIndexError(index);
        lines[static_cast<size_t>(index)] = s;
        Join(lines);
    }
    void Insert(int index, const std::wstring& s) override {
        auto lines = Split();
        if (index < 0 || index > static_cast<int>(lines.size()))
            RaiseListIndexError(index);
        lines.insert(lines.begin() + index, s);
        Join(lines);
    }
    void Delete(int index) override {
        auto lines = Split();
        if (index < 0 || index >= static_cast<int>(lines.size()))
            RaiseListIndexError(index);
        lines.erase(lines.begin() + index);
        Join(lines);
    }
    void Clear() override { memo_->SetText(L""); }
    void SetText(const std::wstring& text) override { memo_->SetText(NormaliseBreaks(text)); }

  private:
    static std::wstring NormaliseBreaks(const std::wstring& text) {
        std::wstring out;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == L'\r' || text[i] == L'\n') {
                if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                    ++i;
                out += L"\r\n";
            } else {
                out += text[i];
            }
        }
        return out;
    }
    std::vector<std::wstring> Split() const {
        std::vector<std::wstring> lines;
        const std::wstring text = memo_->Text();
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find_first_of(L"\r\n", start);
            if (end == std::wstring::npos) {
                lines.push_back(text.substr(start));
                break;
            }
            lines.push_back(text.substr(start, end - start));
            start = end + ((text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? 2 : 1);
        }
        return lines;
    }
    void Join(const std::vector<std::wstring>& lines) {
        std::wstring text;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i)
                text += L"\r\n";
            text += lines[i];
        }
        memo_->SetText(text);
    }
    TCustomMemo* memo_;  // borrowed: the memo owns us
};

LRESULT SendTo(TWinControl* c, UINT msg, WPARAM w = 0, LPARAM l = 0) {
    return c->HandleAllocated() ? SendMessageW(c->Handle(), msg, w, l) : 0;
}
}  // namespace

// ---- TCustomEdit ----------------------------------------------------------------------------------------------------
TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle({csSetCaption, csDoubleClicks, csOpaque});
    SetTabStop(true);
    SetBounds(0, 0, 121, 23);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"EDIT");
    Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (readOnly_)
        Params.Style |= ES_READONLY;
    if (charCase_ == ecUpperCase)
        Params.Style |= ES_UPPERCASE;
    else if (charCase_ == ecLowerCase)
        Params.Style |= ES_LOWERCASE;
    if (passwordChar_)
        Params.Style |= ES_PASSWORD;
    if (!hideSelection_)
        Params.Style |= ES_NOHIDESEL;
    if (borderStyle_ == bsSingleBorder)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    SendMessageW(Handle(), EM_SETPASSWORDCHAR, passwordChar_, 0);
}

void TCustomEdit::SetMaxLength(int Value) {
    maxLength_ = Value < 0 ? 0 : Value;
    SendTo(this, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_));
}

void TCustomEdit::SetPasswordChar(wchar_t Value) {
    if (passwordChar_ == Value)
        return;
    passwordChar_ = Value;
    if (HandleAllocated()) {
        SendMessageW(Handle(), EM_SETPASSWORDCHAR, Value, 0);
        Invalidate();
    }
}

void TCustomEdit::SetReadOnly(bool Value) {
    readOnly_ = Value;
    SendTo(this, EM_SETREADONLY, Value ? TRUE : FALSE);
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
    if (charCase_ == Value)
        return;
    charCase_ = Value;
    RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool Value) {
    if (hideSelection_ == Value)
        return;
    hideSelection_ = Value;
    RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TControlBorderStyle Value) {
    if (borderStyle_ == Value)
        return;
    borderStyle_ = Value;
    AdjustHeight();
    RecreateWnd();
}

void TCustomEdit::SetAutoSize(bool Value) {
    if (autoSize_ == Value)
        return;
    autoSize_ = Value;
    AdjustHeight();
}

void TCustomEdit::AdjustHeight() {
    // A borderless edit is usually drawn into a frame of its owner's making, which decides the height.
    if (!autoSize_ || borderStyle_ != bsSingleBorder)
        return;
    HDC dc = GetDC(nullptr);
    if (!dc)
        return;
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TEXTMETRICW tm{};
    const bool measured = GetTextMetricsW(dc, &tm) != FALSE;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (measured)
        SetHeight(tm.tmHeight + 8 * GetSystemMetrics(SM_CYBORDER));
}

bool TCustomEdit::Modified() {
    return SendTo(this, EM_GETMODIFY) != 0;
}

void TCustomEdit::SetModified(bool Value) {
    SendTo(this, EM_SETMODIFY, Value ? TRUE : FALSE);
}

int TCustomEdit::SelStart() {
    DWORD start = 0, end = 0;
    SendTo(this, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

int TCustomEdit::SelLength() {
    DWORD start = 0, end = 0;
    SendTo(this, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelStart(int Value) {
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(Value), Value);
}

void TCustomEdit::SetSelLength(int Value) {
    const int start = SelStart();
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start + Value);
}

std::wstring TCustomEdit::SelText() {
    const int start = SelStart(), len = SelLength();
    const std::wstring text = Text();
    if (start < 0 || static_cast<size_t>(start) > text.size())
        return L"";
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(len));
}

void TCustomEdit::SetSelText(const std::wstring& Value) {
    SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TCustomEdit::SelectAll() {
    SendTo(this, EM_SETSEL, 0, -1);
}

bool TCustomEdit::CanUndo() {
    return SendTo(this, EM_CANUNDO) != 0;
}

void TCustomEdit::Undo() {
    SendTo(this, WM_UNDO);
}

void TCustomEdit::CopyToClipboard() {
    SendTo(this, WM_COPY);
}

void TCustomEdit::CutToClipboard() {
    SendTo(this, WM_CUT);
}

void TCustomEdit::PasteFromClipboard() {
    SendTo(this, WM_PASTE);
}

void TCustomEdit::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::DoEnter() {
    if (AutoSelect && !(GetKeyState(VK_LBUTTON) & 0x8000))
        SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::WndProc(TMessage& Message) {
    if (Message.Msg == CN_COMMAND) {
        if (HIWORD(Message.WParam) == EN_CHANGE && !ControlState().Contains(csCreating))
            Change();
        return;
    }
    TWinControl::WndProc(Message);
    if (Message.Msg == CM_FONTCHANGED)
        AdjustHeight();
}

// ---- TCustomMemo ----------------------------------------------------------------------------------------------------
TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), lines_(std::make_unique<TMemoStrings>(this)) {
    SetBounds(0, 0, 185, 89);
    AutoSelect = false;
    SetAutoSize(false);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    Params.Style |= ES_MULTILINE;
    if (!wordWrap_)
        Params.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
        Params.Style |= WS_VSCROLL;
    if ((scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && !wordWrap_)
        Params.Style |= WS_HSCROLL;
    if (alignment_ == taRightJustify)
        Params.Style |= ES_RIGHT;
    else if (alignment_ == taCenter)
        Params.Style |= ES_CENTER;
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
    if (scrollBars_ == Value)
        return;
    scrollBars_ = Value;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value) {
    if (wordWrap_ == Value)
        return;
    wordWrap_ = Value;
    RecreateWnd();
}

void TCustomMemo::SetAlignment(TAlignment Value) {
    if (alignment_ == Value)
        return;
    alignment_ = Value;
    RecreateWnd();
}

int TCustomMemo::TopLine() {
    return static_cast<int>(SendTo(this, EM_GETFIRSTVISIBLELINE));
}

int TCustomMemo::CaretLine() {
    return static_cast<int>(SendTo(this, EM_LINEFROMCHAR, static_cast<WPARAM>(-1)));
}

void TCustomMemo::WndProc(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE) {
        TCustomEdit::WndProc(Message);
        // The form's dialog keys keep Tab and Enter unless the memo wants them.
        if (!WantTabs)
            Message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
        if (!WantReturns)
            Message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        return;
    }
    TCustomEdit::WndProc(Message);
}

// ---- TCustomLabel ---------------------------------------------------------------------------------------------------
TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle(ControlStyle() + csOpaque + csReplicatable);
    SetParentColor(true);
    SetBounds(0, 0, 65, 17);
}

UINT TCustomLabel::DrawTextFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (wordWrap_)
        flags |= DT_WORDBREAK;
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    else if (alignment_ == taCenter)
        flags |= DT_CENTER;
    return flags;
}

std::wstring TCustomLabel::GetLabelText() {
    return Caption();
}

void TCustomLabel::DoDrawText(TRect& R, UINT Flags) {
    std::wstring text = GetLabelText();
    // An empty line still has a height when measured; the accelerator mark "&" alone would draw nothing.
    if ((Flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == L"&")))
        text += L" ";
    Canvas()->SetFont(Font());
    Canvas()->Brush()->SetStyle(bsClear);
    if (!Enabled()) {
        Canvas()->Font()->SetColor(clGrayText);
    }
    Canvas()->DrawText(text, R, Flags);
}

void TCustomLabel::Paint() {
    if (!transparent_) {
        Canvas()->Brush()->SetStyle(bsSolid);
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
    TRect r = ClientRect();
    UINT flags = DrawTextFlags();
    if (layout_ != tlTop) {
        TRect calc = r;
        DoDrawText(calc, flags | DT_CALCRECT);
        const int dy = r.Height() - calc.Height();
        r.Top += layout_ == tlBottom ? dy : dy / 2;
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || ComponentState().Contains(csLoading))
        return;
    TClientDC screen(nullptr);
    HDC previous = Canvas()->HandleAllocated() ? Canvas()->Handle() : nullptr;
    Canvas()->SetHandle(screen);
    TRect r{0, 0, Width(), 0};
    try {
        DoDrawText(r, DrawTextFlags() | DT_CALCRECT);
    } catch (...) {
        Canvas()->SetHandle(previous);
        throw;
    }
    Canvas()->SetHandle(previous);
    int left = Left();
    if (!wordWrap_) {
        if (alignment_ == taRightJustify)
            left += Width() - r.Right;
        else if (alignment_ == taCenter)
            left += (Width() - r.Right) / 2;
    }
    SetBounds(left, Top(), r.Right, r.Bottom);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    if (alignment_ == Value)
        return;
    alignment_ = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    if (layout_ == Value)
        return;
    layout_ = Value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
    if (autoSize_ == Value)
        return;
    autoSize_ = Value;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value) {
    if (wordWrap_ == Value)
        return;
    wordWrap_ = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
    if (showAccelChar_ == Value)
        return;
    showAccelChar_ = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
    if (transparent_ == Value)
        return;
    transparent_ = Value;
    SetControlStyle(Value ? ControlStyle() - csOpaque : ControlStyle() + csOpaque);
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
    if (focusControl_)
        focusControl_->RemoveFreeNotification(this);
    focusControl_ = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_)
        focusControl_ = nullptr;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_TEXTCHANGED:
        case CM_FONTCHANGED:
            TGraphicControl::WndProc(Message);
            AdjustBounds();
            Invalidate();
            return;
        case CM_DIALOGCHAR:
            if (focusControl_ && showAccelChar_ && Enabled() && IsAccel(static_cast<WORD>(Message.WParam), Caption()) &&
                focusControl_->CanFocus()) {
                focusControl_->SetFocus();
                Message.Result = 1;
                return;
            }
            break;
        default:
            break;
    }
    TGraphicControl::WndProc(Message);
}

// ---- TGroupBox ------------------------------------------------------------------------------------------------------
TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle({csAcceptsControls, csSetCaption, csDoubleClicks, csOpaque});
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    Params.Style |= BS_GROUPBOX;
}

void TGroupBox::AdjustClientRect(TRect& Rect) {
    TWinControl::AdjustClientRect(Rect);
    TClientDC screen(nullptr);
    HGDIOBJ old = SelectObject(screen, Font()->Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(screen, &tm);
    SelectObject(screen, old);
    Rect.Top += tm.tmHeight;
    Rect.Left += 4;
    Rect.Right -= 4;
    Rect.Bottom -= 4;
}

void TGroupBox::WndProc(TMessage& Message) {
    if (Message.Msg == WM_NCHITTEST) {
        // The system group box is transparent to the mouse; ours takes clicks and context menus.
        Message.Result = HTCLIENT;
        return;
    }
    if (Message.Msg == WM_ERASEBKGND) {
        // The group box paints only its frame and caption: fill the rest in our colour.
        RECT r;
        GetClientRect(Handle(), &r);
        FillRect(reinterpret_cast<HDC>(Message.WParam), &r, Brush()->Handle());
        Message.Result = 1;
        return;
    }
    TWinControl::WndProc(Message);
}

// ---- TCheckBox ------------------------------------------------------------------------------------------------------
TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle({csSetCaption, csDoubleClicks, csOpaque});
    SetTabStop(true);
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    Params.Style |= BS_3STATE;
    if (alignment_ == taLeftJustify)
        Params.Style |= BS_LEFTTEXT;
}

void TCheckBox::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCheckBox::SetState(TCheckBoxState Value) {
    if (state_ == Value)
        return;
    state_ = Value;
    SendTo(this, BM_SETCHECK, static_cast<WPARAM>(Value));
    Click();
}

void TCheckBox::SetAlignment(TAlignment Value) {
    if (alignment_ == Value)
        return;
    alignment_ = Value;
    RecreateWnd();
}

void TCheckBox::Toggle() {
    switch (state_) {
        case cbUnchecked:
            SetState(AllowGrayed ? cbGrayed : cbChecked);
            break;
        case cbGrayed:
            SetState(cbChecked);
            break;
        case cbChecked:
            SetState(cbUnchecked);
            break;
    }
}

void TCheckBox::WndProc(TMessage& Message) {
    if (Message.Msg == CN_COMMAND) {
        if (HIWORD(Message.WParam) == BN_CLICKED)
            Toggle();
        return;
    }
    if (Message.Msg == CM_DIALOGCHAR) {
        if (IsAccel(static_cast<WORD>(Message.WParam), Caption()) && CanFocus()) {
            SetFocus();
            Toggle();
            Message.Result = 1;
        }
        return;
    }
    TWinControl::WndProc(Message);
}

// ---- TRadioButton ---------------------------------------------------------------------------------------------------
TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle({csSetCaption, csDoubleClicks, csOpaque});
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    Params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool Value) {
    if (checked_ == Value)
        return;
    checked_ = Value;
    SetTabStop(Value);
    SendTo(this, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED);
    if (!Value)
        return;
    if (TWinControl* parent = Parent()) {
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i)); other && other != this)
                other->SetChecked(false);
    }
    Click();
}

void TRadioButton::WndProc(TMessage& Message) {
    if (Message.Msg == CN_COMMAND) {
        const WORD code = HIWORD(Message.WParam);
        // Arrow keys move the focus through the group and the system reports it as a click.
        if (code == BN_CLICKED || code == BN_DOUBLECLICKED)
            SetChecked(true);
        return;
    }
    if (Message.Msg == CM_DIALOGCHAR) {
        if (IsAccel(static_cast<WORD>(Message.WParam), Caption()) && CanFocus()) {
            SetFocus();
            SetChecked(true);
            Message.Result = 1;
        }
        return;
    }
    TWinControl::WndProc(Message);
}

// ---- TCustomListBox -------------------------------------------------------------------------------------------------
TOwnerDrawState OwnerDrawStateOf(UINT itemState) {
    TOwnerDrawState s;
    if (itemState & ODS_SELECTED)
        s.Include(odSelected);
    if (itemState & ODS_GRAYED)
        s.Include(odGrayed);
    if (itemState & ODS_DISABLED)
        s.Include(odDisabled);
    if (itemState & ODS_CHECKED)
        s.Include(odChecked);
    if (itemState & ODS_FOCUS)
        s.Include(odFocused);
    if (itemState & ODS_DEFAULT)
        s.Include(odDefault);
    if (itemState & ODS_COMBOBOXEDIT)
        s.Include(odComboBoxEdit);
    return s;
}

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner),
      items_(std::make_unique<TWinItemStrings>(this, kListBoxMessages)),
      canvas_(std::make_unique<TCanvas>()) {
    SetControlStyle({csSetCaption, csDoubleClicks, csOpaque});
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"LISTBOX");
    Params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | LBS_HASSTRINGS;
    if (multiSelect_)
        Params.Style |= LBS_EXTENDEDSEL;
    if (sorted_)
        Params.Style |= LBS_SORT;
    if (style_ == lbOwnerDrawFixed)
        Params.Style |= LBS_OWNERDRAWFIXED;
    else if (style_ == lbOwnerDrawVariable)
        Params.Style |= LBS_OWNERDRAWVARIABLE;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.Caption.clear();
}

void TCustomListBox::CreateWnd() {
    TWinControl::CreateWnd();
    if (style_ != lbStandard)
        SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
    ItemStrings(items_)->Restore();
    if (savedIndex_ >= 0)
        SetItemIndex(savedIndex_);
}

void TCustomListBox::DestroyWnd() {
    if (HandleAllocated()) {
        savedIndex_ = ItemIndex();
        ItemStrings(items_)->Save();
    }
    TWinControl::DestroyWnd();
}

int TCustomListBox::ItemIndex() {
    if (!HandleAllocated())
        return savedIndex_;
    if (multiSelect_)
        return static_cast<int>(SendMessageW(Handle(), LB_GETCARETINDEX, 0, 0));
    return static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int Value) {
    if (!HandleAllocated()) {
        savedIndex_ = Value;
        return;
    }
    if (multiSelect_) {
        SendMessageW(Handle(), LB_SETSEL, FALSE, -1);
        if (Value >= 0)
            SendMessageW(Handle(), LB_SETSEL, TRUE, Value);
        SendMessageW(Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(Value), FALSE);
    } else {
        SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
    }
}

void TCustomListBox::SetMultiSelect(bool Value) {
    if (multiSelect_ == Value)
        return;
    multiSelect_ = Value;
    RecreateWnd();
}

int TCustomListBox::SelCount() {
    if (!multiSelect_)
        return ItemIndex() >= 0 ? 1 : 0;
    return static_cast<int>(SendMessageW(Handle(), LB_GETSELCOUNT, 0, 0));
}

bool TCustomListBox::Selected(int Index) {
    const LRESULT r = SendMessageW(Handle(), LB_GETSEL, static_cast<WPARAM>(Index), 0);
    if (r == LB_ERR)
        RaiseListIndexError(Index);
    return r != 0;
}

void TCustomListBox::SetSelected(int Index, bool Value) {
    if (Index < 0 || Index >= Count())
        RaiseListIndexError(Index);
    if (multiSelect_)
        SendMessageW(Handle(), LB_SETSEL, Value ? TRUE : FALSE, Index);
    else if (Value)
        SetItemIndex(Index);
    else if (ItemIndex() == Index)
        SetItemIndex(-1);
}

void TCustomListBox::SetSorted(bool Value) {
    if (sorted_ == Value)
        return;
    sorted_ = Value;
    RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
    if (style_ == Value)
        return;
    style_ = Value;
    RecreateWnd();
}

int TCustomListBox::ItemHeight() {
    if (HandleAllocated() && style_ == lbStandard)
        return static_cast<int>(SendMessageW(Handle(), LB_GETITEMHEIGHT, 0, 0));
    return itemHeight_;
}

void TCustomListBox::SetItemHeight(int Value) {
    if (Value <= 0)
        return;
    itemHeight_ = Value;
    if (style_ != lbStandard)
        RecreateWnd();
}

int TCustomListBox::TopIndex() {
    return static_cast<int>(SendTo(this, LB_GETTOPINDEX));
}

void TCustomListBox::SetTopIndex(int Value) {
    SendMessageW(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(Value), 0);
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
    const int count = Count();
    const int top = TopIndex();
    for (int i = top; i < count; ++i) {
        const TRect r = ItemRect(i);
        if (r.Top > ClientHeight())
            break;
        if (Pos.Y >= r.Top && Pos.Y < r.Bottom && Pos.X >= r.Left && Pos.X < r.Right)
            return i;
    }
    return Existing ? -1 : count;
}

TRect TCustomListBox::ItemRect(int Index) {
    RECT r{};
    if (SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        return {};
    return {r.left, r.top, r.right, r.bottom};
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    canvas_->FillRect(Rect);
    if (Index >= 0 && Index < Count())
        canvas_->TextOut(Rect.Left + 2, Rect.Top, items_->Get(Index));
}

void TCustomListBox::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CN_COMMAND:
            if (HIWORD(Message.WParam) == LBN_SELCHANGE)
                Click();
            else if (HIWORD(Message.WParam) == LBN_DBLCLK)
                DblClick();
            return;
        case CN_DRAWITEM: {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
            const TOwnerDrawState state = OwnerDrawStateOf(dis->itemState);
            canvas_->SetHandle(dis->hDC);
            canvas_->SetFont(Font());
            canvas_->Brush()->SetStyle(bsSolid);
            canvas_->Brush()->SetColor(state.Contains(odSelected) ? clHighlight : Color());
            if (state.Contains(odSelected))
                canvas_->Font()->SetColor(clHighlightText);
            const TRect r{dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom};
            try {
                DrawItem(static_cast<int>(dis->itemID), r, state);
                if (state.Contains(odFocused))
                    canvas_->DrawFocusRect(r);
            } catch (...) {
                canvas_->SetHandle(nullptr);
                throw;
            }
            canvas_->SetHandle(nullptr);
            Message.Result = TRUE;
            return;
        }
        case CN_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam)->itemHeight = static_cast<UINT>(itemHeight_);
            Message.Result = TRUE;
            return;
        default:
            break;
    }
    TWinControl::WndProc(Message);
}

// ---- TCustomComboBox ------------------------------------------------------------------------------------------------
TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), items_(std::make_unique<TWinItemStrings>(this, kComboMessages)) {
    SetControlStyle({csSetCaption, csDoubleClicks, csOpaque});
    SetTabStop(true);
    SetBounds(0, 0, 145, 23);
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"COMBOBOX");
    Params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
    Params.Style |= style_ == csDropDownList ? CBS_DROPDOWNLIST : style_ == csSimple ? CBS_SIMPLE : CBS_DROPDOWN;
    if (sorted_)
        Params.Style |= CBS_SORT;
    // The window's height includes the dropped list.
    if (style_ != csSimple)
        Params.Height = Height() + 16 * dropDownCount_;
    if (style_ == csDropDownList)
        Params.Caption.clear();
}

void TCustomComboBox::CreateWnd() {
    const std::wstring text = text_;
    TWinControl::CreateWnd();
    SendMessageW(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    SendMessageW(Handle(), CB_SETMINVISIBLE, static_cast<WPARAM>(dropDownCount_), 0);
    ItemStrings(items_)->Restore();
    if (savedIndex_ >= 0)
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(savedIndex_), 0);
    else if (style_ != csDropDownList)
        SetWindowTextW(Handle(), text.c_str());
}

void TCustomComboBox::DestroyWnd() {
    if (HandleAllocated()) {
        savedIndex_ = ItemIndex();
        ItemStrings(items_)->Save();
    }
    TWinControl::DestroyWnd();
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    // The system fixes the height of the closed box itself; the window's height given to it sizes the list.
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (HandleAllocated() && style_ != csSimple)
        SetWindowPos(Handle(), nullptr, 0, 0, AWidth, AHeight + 16 * dropDownCount_,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TCustomComboBox::ItemIndex() {
    if (!HandleAllocated())
        return savedIndex_;
    return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int Value) {
    if (!HandleAllocated()) {
        savedIndex_ = Value;
        return;
    }
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    if (style_ == Value)
        return;
    style_ = Value;
    RecreateWnd();
}

void TCustomComboBox::SetSorted(bool Value) {
    if (sorted_ == Value)
        return;
    sorted_ = Value;
    RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int Value) {
    dropDownCount_ = Value < 1 ? 1 : Value;
    SendTo(this, CB_SETMINVISIBLE, static_cast<WPARAM>(dropDownCount_));
}

void TCustomComboBox::SetMaxLength(int Value) {
    maxLength_ = Value < 0 ? 0 : Value;
    SendTo(this, CB_LIMITTEXT, static_cast<WPARAM>(maxLength_));
}

bool TCustomComboBox::DroppedDown() {
    return SendTo(this, CB_GETDROPPEDSTATE) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value) {
    SendMessageW(Handle(), CB_SHOWDROPDOWN, Value ? TRUE : FALSE, 0);
}

int TCustomComboBox::SelStart() {
    DWORD start = 0;
    SendTo(this, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

int TCustomComboBox::SelLength() {
    DWORD start = 0, end = 0;
    SendTo(this, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomComboBox::SelectAll() {
    SendTo(this, CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
}

void TCustomComboBox::Clear() {
    items_->Clear();
    SetText(L"");
}

void TCustomComboBox::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    Change();
}

void TCustomComboBox::DropDown() {
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (OnCloseUp)
        OnCloseUp(this);
}

void TCustomComboBox::WndProc(TMessage& Message) {
    if (Message.Msg == CN_COMMAND) {
        switch (HIWORD(Message.WParam)) {
            case CBN_EDITCHANGE:
                Change();
                break;
            case CBN_SELCHANGE:
                Select();
                break;
            case CBN_DROPDOWN:
                DropDown();
                break;
            case CBN_CLOSEUP:
                CloseUp();
                break;
            case CBN_SETFOCUS:
                // An editable combo box's focus is its edit's, which no WM_SETFOCUS of ours sees: the form must
                // still know the combo box as its focused control, or Tab would leave from the previous one.
                if (TCustomForm* form = GetParentForm(this))
                    form->SetFocusedControl(this);
                break;
            default:
                break;
        }
        return;
    }
    TWinControl::WndProc(Message);
}

// ---- TScrollBar -----------------------------------------------------------------------------------------------------
TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle({csDoubleClicks, csOpaque});
    SetTabStop(true);
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"SCROLLBAR");
    Params.Style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateScrollInfo();
}

void TScrollBar::UpdateScrollInfo() {
    if (!HandleAllocated())
        return;
    SCROLLINFO si{sizeof(si), SIF_ALL, min_, max_, static_cast<UINT>(pageSize_), position_, 0};
    SetScrollInfo(Handle(), SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
    if (kind_ == Value)
        return;
    kind_ = Value;
    SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin)
        throw EInvalidOperation(L"Scroll bar property out of range");
    const int limit = pageSize_ > 0 ? AMax - pageSize_ + 1 : AMax;
    APosition = std::clamp(APosition, AMin, std::max(AMin, limit));
    const bool changed = APosition != position_;
    min_ = AMin;
    max_ = AMax;
    position_ = APosition;
    UpdateScrollInfo();
    if (changed && OnChange)
        OnChange(this);
}

void TScrollBar::SetPageSize(int Value) {
    pageSize_ = std::max(0, Value);
    SetParams(position_, min_, max_);
}

void TScrollBar::WndProc(TMessage& Message) {
    if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
        const int code = LOWORD(Message.WParam);
        int pos = position_;
        TScrollCode sc = scEndScroll;
        switch (code) {
            case SB_LINEUP:
                sc = scLineUp, pos -= SmallChange;
                break;
            case SB_LINEDOWN:
                sc = scLineDown, pos += SmallChange;
                break;
            case SB_PAGEUP:
                sc = scPageUp, pos -= LargeChange;
                break;
            case SB_PAGEDOWN:
                sc = scPageDown, pos += LargeChange;
                break;
            case SB_THUMBPOSITION:
            case SB_THUMBTRACK: {
                SCROLLINFO si{sizeof(si), SIF_TRACKPOS};
                GetScrollInfo(Handle(), SB_CTL, &si);
                sc = code == SB_THUMBTRACK ? scTrack : scPosition;
                pos = si.nTrackPos;
                break;
            }
            case SB_TOP:
                sc = scTop, pos = min_;
                break;
            case SB_BOTTOM:
                sc = scBottom, pos = max_;
                break;
            default:
                break;
        }
        if (OnScroll)
            OnScroll(this, sc, pos);
        if (sc != scEndScroll)
            SetPosition(pos);
        return;
    }
    TWinControl::WndProc(Message);
}
