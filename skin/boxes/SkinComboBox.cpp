#include "skin/boxes/SkinComboBox.h"

#include <algorithm>

#include "skin/boxes/ComboPainting.h"
#include "skin/boxes/ListBoxGeometry.h"
#include "skin/controls/ControlSeam.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/controls/PopupFade.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"


// ---- TbsPopupListBox ------------------------------------------------------------------------------------------------
TbsPopupListBox::TbsPopupListBox(TComponent* AOwner) : TbsSkinListBox(AOwner) {
    SetControlStyle(ControlStyle() + csAcceptsControls + csReplicatable);
    SetVisible(false);
}

void TbsPopupListBox::CreateParams(TCreateParams& Params) {
    TbsSkinListBox::CreateParams(Params);
    // Owned by the form that holds the combo box, so it stays above it and goes with it.
    PopupWindowParams(Params, Owner());
}

void TbsPopupListBox::WndProc(TMessage& Message) {
    if (PopupOwnMessage(Message, [this] {
            if (auto* combo = dynamic_cast<TbsSkinCustomComboBox*>(Owner()))
                combo->CloseUp(false);
            else
                Hide();
        }))
        return;
    TbsSkinListBox::WndProc(Message);
}

void TbsPopupListBox::Show(TPoint Origin) {
    auto* combo = dynamic_cast<TbsSkinCustomComboBox*>(Owner());
    HWND wnd = Handle();
    const bool fade =
        combo && FAlpha.Apply(wnd, combo->AlphaBlend(), combo->AlphaBlendValue(), combo->AlphaBlendAnimation());
    SetBounds(Origin.X, Origin.Y, Width(), Height());
    // The inner list and the bar follow the size the owner gave before the window showed.
    CalcRects();
    UpDateScrollBar();
    SetWindowPos(wnd, HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    SetVisible(true);
    if (fade)
        FadeInPopup(wnd, combo->AlphaBlendValue());
}

void TbsPopupListBox::Hide() {
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetVisible(false);
}

// ---- TbsSkinCustomComboBox ------------------------------------------------------------------------------------------
TbsSkinCustomComboBox::TbsSkinCustomComboBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable});
    SetTabStop(true);
    Font()->SetName(L"Tahoma");
    Font()->SetHeight(13);
    Font()->SetColor(clWindowText);
    FSkinDataName = L"combobox";
    TbsSkinCustomControl::SetBounds(Left(), Top(), 120, 20);
    FListBox = new TbsPopupListBox(this);
    FListBox->ListBox->SetTabStop(false);
    FListBox->OnListBoxMouseMove = [this](TObject*, TShiftState, int X, int Y) { ListBoxMouseMove(X, Y); };
    FListBoxWindowProc = FListBox->ListBox->WindowProc;
    FListBox->ListBox->WindowProc = [this](TMessage& m) { ListBoxWindowProcHook(m); };
    FListBox->OnCheckButtonClick = [this](TObject*) { CloseUp(true); };
    CalcRects();
}

TbsSkinCustomComboBox::~TbsSkinCustomComboBox() = default;

void TbsSkinCustomComboBox::BeforeDestruction() {
    FTimer.reset();
    if (FListBox) {
        FListBox->OnListBoxMouseMove = nullptr;
        FListBox->OnCheckButtonClick = nullptr;
        if (FListBox->ListBox)
            FListBox->ListBox->WindowProc = FListBoxWindowProc;
    }
    if (FEdit) {
        FEdit->OnChange = nullptr;
        FEdit->OnEditCancelMode = nullptr;
        FEdit->OnKeyDown = nullptr;
        FEdit->OnKeyUp = nullptr;
        FEdit->OnKeyPress = nullptr;
    }
    TbsSkinCustomControl::BeforeDestruction();
}

void TbsSkinCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FListBox)
        FListBox = nullptr;
    if (AComponent == FEdit)
        FEdit = nullptr;
}

// ---- properties -----------------------------------------------------------------------------------------------------
void TbsSkinCustomComboBox::SetItems(TStrings* Value) {
    FListBox->SetItems(Value);
}

void TbsSkinCustomComboBox::SetItemIndex(int Value) {
    FListBox->SetItemIndex(Value);
    const int i = FListBox->ItemIndex();
    if (Items()->Count() > 0 && i >= 0 && i < Items()->Count())
        SetText(Items()->Get(i));
    FOldItemIndex = FListBox->ItemIndex();
    if (!FEdit)
        Invalidate();
    if (OnClick)
        OnClick(this);
    Change();
}

void TbsSkinCustomComboBox::SetStyle(TbsSkinCustomComboBoxStyle Value) {
    if (FStyle == Value && (Value == bscbFixedStyle) == (FEdit == nullptr))
        return;
    FStyle = Value;
    if (Value == bscbEditStyle) {
        if (!FEdit) {
            ShowEditor();
            FEdit->SetTabStop(TabStop());
            SetTabStop(false);
            FEdit->SetText(Text());
            if (Focused())
                FEdit->SetFocus();
        }
    } else if (FEdit) {
        HideEditor();
    }
    CalcRects();
    AdjustEditPos();
    Invalidate();
}

void TbsSkinCustomComboBox::SetDropDownCount(int Value) {
    if (Value > 0)
        FDropDownCount = Value;
}

void TbsSkinCustomComboBox::SetUseSkinSize(bool Value) {
    FUseSkinSize = Value;
    if (FIndex != -1)
        ChangeSkinData();
}

void TbsSkinCustomComboBox::SetToolButtonStyle(bool Value) {
    FToolButtonStyle = Value;
    if (Value) {
        SetStyle(bscbFixedStyle);
        FUseSkinSize = false;
    }
    Invalidate();
}

void TbsSkinCustomComboBox::SetCharCase(TEditCharCase Value) {
    FCharCase = Value;
    if (FEdit)
        FEdit->SetCharCase(Value);
}

void TbsSkinCustomComboBox::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1) {
        Invalidate();
        if (FEdit)
            FEdit->SetColor(Value);
    }
}

void TbsSkinCustomComboBox::SetImages(TCustomImageList* Value) {
    FListBox->SetImages(Value);
    Invalidate();
}

void TbsSkinCustomComboBox::SetImageIndex(int Value) {
    FListBox->SetImageIndex(Value);
    Invalidate();
}

void TbsSkinCustomComboBox::SetOnListBoxDrawItem(TbsDrawSkinItemEvent Value) {
    FOnListBoxDrawItem = Value;
    FListBox->OnDrawItem = std::move(Value);
}

int TbsSkinCustomComboBox::SelStart() {
    return FEdit ? FEdit->SelStart() : 0;
}

void TbsSkinCustomComboBox::SetSelStart(int Value) {
    if (FEdit)
        FEdit->SetSelStart(Value);
}

int TbsSkinCustomComboBox::SelLength() {
    return FEdit ? FEdit->SelLength() : 0;
}

void TbsSkinCustomComboBox::SetSelLength(int Value) {
    if (FEdit)
        FEdit->SetSelLength(Value);
}

bool TbsSkinCustomComboBox::IsPopupVisible() const {
    return FListBox && FListBox->Visible();
}

bool TbsSkinCustomComboBox::CanCancelDropDown() const {
    return IsPopupVisible() && !FMouseIn;
}

void TbsSkinCustomComboBox::Invalidate() {
    TbsSkinCustomControl::Invalidate();
    if (FEdit && FIndex != -1)
        FEdit->Invalidate();
}

// ---- skin data and geometry -----------------------------------------------------------------------------------------
void TbsSkinCustomComboBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (auto* e = FIndex != -1 ? dynamic_cast<TbsDataSkinComboBox*>(Entry()) : nullptr)
        CopyComboEntry(*e);
}

void TbsSkinCustomComboBox::CalcRects() {
    GetSkinData();
    const TbsComboRects r = (!HasSkin() || FToolButtonStyle)
                                ? DefaultComboRects(Width(), Height())
                                : SkinComboRects(Width(), Height(), G.SkinRect, G.ClRect, ButtonRect, G.RTPt.X,
                                                 FUseSkinSize);
    Button.R = r.Button;
    CBItem.R = r.Item;
}

void TbsSkinCustomComboBox::AdjustEditPos() {
    if (!FEdit)
        return;
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(FEdit->Font());
    const int h = measure.Canvas()->TextHeight(L"Wq");
    const int top = CBItem.R.Top + (CBItem.R.Height() - h) / 2;
    FEdit->SetBounds(CBItem.R.Left, top, CBItem.R.Width(), h);
}

void TbsSkinCustomComboBox::CalcSize(int& W, int& H) {
    if (FUseSkinSize) {
        TbsSkinCustomControl::CalcSize(W, H);
        return;
    }
    G.NewLTPoint = G.LTPt;
    G.NewRTPoint = {W - G.SkinRect.Width() + G.RTPt.X, G.RTPt.Y};
    G.NewClRect = G.ClRect;
    G.NewClRect.Right += W - G.SkinRect.Width();
}

void TbsSkinCustomComboBox::SetControlRegion() {
    if (FUseSkinSize)
        TbsSkinCustomControl::SetControlRegion();
}

void TbsSkinCustomComboBox::DefaultFontChange() {
    Font()->Assign(DefaultFont());
}

TColor TbsSkinCustomComboBox::GetDisabledFontColor() {
    auto* e = dynamic_cast<TbsDataSkinEditControl*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, L"edit")));
    if (e && e->DisabledFontColor != e->FontColor)
        return static_cast<TColor>(e->DisabledFontColor);
    return clGrayText;
}

void TbsSkinCustomComboBox::ApplyEditFont() {
    if (!FEdit)
        return;
    TFont* f = FEdit->Font();
    if (HasSkin() && FUseSkinFont) {
        f->SetStyle(FontStyle);
        f->SetHeight(FontHeight);
        f->SetName(FontName);
        f->SetColor(FontColor);
    } else {
        f->Assign(DefaultFont());
        if (HasSkin())
            f->SetColor(FontColor);
    }
    if (HasSkin() && !ActiveSkinRect.IsEmpty() && (FEdit->Focused() || FMouseIn))
        f->SetColor(ActiveFontColor);
    f->SetCharset(SkinFontCharset(FSD, DefaultFont()->Charset()));
    FEdit->SetEditTransparent(HasSkin());
    if (!Enabled())
        f->SetColor(GetDisabledFontColor());
}

void TbsSkinCustomComboBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    CalcRects();
    ApplyEditFont();
    Invalidate();
    FListBox->SetSkinDataName(HasSkin() ? ListBoxName : std::wstring());
    FListBox->SetSkinData(FSD);
    FListBox->UpDateScrollBar();
    CalcRects();
    AdjustEditPos();
    if (FEdit && HasSkin()) {
        int w = Width(), h = Height();
        CalcSize(w, h);
        if (w != Width() || h != Height())
            SetBounds(Left(), Top(), w, h);
    }
}

// ---- the editor -----------------------------------------------------------------------------------------------------
void TbsSkinCustomComboBox::ShowEditor() {
    FEdit = new TbsCustomEdit(this);
    FEdit->SetParent(this);
    FEdit->SetColor(FDefaultColor);
    FEdit->SetAutoSize(false);
    FEdit->SetHideSelection(FHideSelection);
    FEdit->SetVisible(true);
    FEdit->OnChange = [this](TObject*) { EditChange(); };
    FEditWindowProc = FEdit->WindowProc;
    FEdit->WindowProc = [this](TMessage& m) { EditWindowProcHook(m); };
    FEdit->OnEditCancelMode = [this](TControl* Sender) { EditCancelMode(Sender); };
    FEdit->OnKeyDown = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnKeyDown)
            OnKeyDown(this, Key, Shift);
    };
    FEdit->OnKeyPress = [this](TObject*, wchar_t& Key) {
        if (OnKeyPress)
            OnKeyPress(this, Key);
    };
    FEdit->OnKeyUp = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnKeyUp)
            OnKeyUp(this, Key, Shift);
    };
    FEdit->SetCharCase(FCharCase);
    GetSkinData();
    if (!HasSkin()) {
        FEdit->Font()->SetName(Font()->Name());
        FEdit->Font()->SetStyle(Font()->Style());
        FEdit->Font()->SetColor(Font()->Color());
        FEdit->Font()->SetHeight(Font()->Height());
    } else {
        FEdit->Font()->SetStyle(FontStyle);
        FEdit->Font()->SetColor(FontColor);
        FEdit->Font()->SetHeight(FontHeight);
        FEdit->Font()->SetName(FontName);
    }
    FEdit->SetEditTransparent(HasSkin());
    CalcRects();
    AdjustEditPos();
}

void TbsSkinCustomComboBox::HideEditor() {
    TbsCustomEdit* e = FEdit;
    FEdit = nullptr;
    e->WindowProc = FEditWindowProc;
    e->OnChange = nullptr;
    e->OnEditCancelMode = nullptr;
    const bool tab = e->TabStop();
    delete e;
    SetTabStop(tab);
}

void TbsSkinCustomComboBox::EditChange() {
    FromEdit = true;
    const std::wstring s = FEdit->Text();
    if (!s.empty()) {
        const int hit = FindPrefix(Items()->Count(), [this](int i) { return Items()->Get(i); }, s, -1);
        if (hit != -1) {
            if (FAutoComplete)
                FListBox->SetItemIndex(hit);
            else
                FListBox->SetTopIndex(hit);
        }
    }
    SetText(s);
    FromEdit = false;
}

void TbsSkinCustomComboBox::EditCancelMode(TControl* Sender) {
    CMCancelMode(Sender);
}

void TbsSkinCustomComboBox::CMCancelMode(TControl* Sender) {
    if (Sender && (Sender == this || Sender == FListBox || Sender == FListBox->ListBox ||
                   Sender == FListBox->ScrollBar || Sender == FListBox->HScrollBar))
        return;
    CloseUp(false);
}

int TbsSkinCustomComboBox::FindInList(const std::wstring& Text, int Current) {
    return FindTyped(Items()->Count(), [this](int i) { return Items()->Get(i); }, Text, Current);
}

void TbsSkinCustomComboBox::FindLBItemFromEdit() {
    const std::uint32_t now = ControlSeam().Now();
    if (static_cast<std::uint32_t>(now - FLastTime) <= 200)
        return;
    FLastTime = now;
    const std::wstring s = FEdit->Text();
    const int hit = FindInList(s, FListBox->ItemIndex());
    if (hit == -1)
        return;
    const int l = static_cast<int>(s.size());
    SetItemIndex(hit);
    if (FEdit) {
        FEdit->SetSelStart(l);
        FEdit->SetSelLength(static_cast<int>(FEdit->Text().size()) - l);
    }
}

void TbsSkinCustomComboBox::EditWindowProcHook(TMessage& Message) {
    auto passOn = [&] { FEditWindowProc(Message); };
    switch (Message.Msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (HasSkin() && !ActiveSkinRect.IsEmpty()) {
                FEdit->Font()->SetColor(Message.Msg == WM_SETFOCUS ? ActiveFontColor : FontColor);
                Invalidate();
            }
            if (Message.Msg == WM_KILLFOCUS)
                CloseUp(false);
            passOn();
            return;
        case WM_GETDLGCODE:
            passOn();
            if (IsPopupVisible())
                Message.Result |= DLGC_WANTALLKEYS;
            return;
        case WM_KEYDOWN: {
            const WPARAM k = Message.WParam;
            if (k == VK_RETURN) {
                CloseUp(true);
            } else if (k == VK_ESCAPE) {
                CloseUp(false);
            } else if (k == VK_PRIOR && IsPopupVisible()) {
                FListBox->SetItemIndex(PageUpIndex(FListBox->ItemIndex(), FDropDownCount));
            } else if (k == VK_NEXT && IsPopupVisible()) {
                FListBox->SetItemIndex(PageDownIndex(FListBox->ItemIndex(), Items()->Count(), FDropDownCount));
            } else if (k == VK_UP) {
                EditUp(true);
                return;
            } else if (k == VK_DOWN) {
                EditDown(true);
                return;
            }
            passOn();
            return;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            int cs = SkinFontCharset(FSD, DefaultFont()->Charset());
            const bool wide = cs == SHIFTJIS_CHARSET || cs == GB2312_CHARSET || cs == CHINESEBIG5_CHARSET;
            const WPARAM k = Message.WParam;
            if (wide) {
                if (k == VK_DELETE || k == VK_BACK) {
                    passOn();
                    return;
                }
                FEdit->SetSelLength(0);
                passOn();
                if (FAutoComplete && FEdit)
                    FindLBItemFromEdit();
                return;
            }
            if (Message.Msg == WM_SYSKEYUP || k < 48) {
                passOn();
                return;
            }
            passOn();
            if (FAutoComplete && FEdit)
                FindLBItemFromEdit();
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            CloseUp(false);
            passOn();
            return;
        case WM_MOUSEWHEEL: {
            const int delta = static_cast<short>(HIWORD(Message.WParam));
            if (delta < 1)
                EditDown(!IsPopupVisible());
            else
                EditUp(!IsPopupVisible());
            passOn();
            return;
        }
        default:
            break;
    }
    passOn();
}

void TbsSkinCustomComboBox::EditUp(bool AChange) {
    const int i = FListBox->ItemIndex();
    if (i <= 0)
        return;
    FListBox->SetItemIndex(i - 1);
    if (AChange) {
        SetText(Items()->Get(i - 1));
        if (FEdit)
            FEdit->SelectAll();
        if (OnClick)
            OnClick(this);
    }
}

void TbsSkinCustomComboBox::EditDown(bool AChange) {
    const int i = FListBox->ItemIndex();
    if (i >= Items()->Count() - 1)
        return;
    FListBox->SetItemIndex(i + 1);
    if (AChange) {
        SetText(Items()->Get(i + 1));
        if (FEdit)
            FEdit->SelectAll();
        if (OnClick)
            OnClick(this);
    }
}

// ---- opening and closing --------------------------------------------------------------------------------------------
void TbsSkinCustomComboBox::DropDown() {
    if (Items()->Count() == 0)
        return;
    WasInLB = false;
    StopTimer();
    if (OnDropDown)
        OnDropDown(this);
    if (Items()->Count() == 0 || !Parent())
        return;
    FListBox->SetWidth(FListBoxWidth > 0 ? FListBoxWidth : Width());
    FListBox->SetSkinDataName(HasSkin() ? ListBoxName : std::wstring());
    FListBox->SetSkinData(FSD);
    FListBox->SetRowCount(std::min(Items()->Count(), FDropDownCount));
    const TPoint below = Parent()->ClientToScreen({Left(), Top() + Height()});
    const TPoint at = PopupOrigin(below, Height(), FListBox->Height(), GetMonitorWorkArea(Handle(), true));
    if (FEdit && FEdit->CanFocus())
        FEdit->SetFocus();
    FOldItemIndex = FListBox->ItemIndex();
    if (FOldItemIndex == 0 && Items()->Count() > 1) {
        FListBox->SetItemIndex(1);
        FListBox->SetItemIndex(0);
    }
    FDropDown = true;
    if (FToolButtonStyle)
        Invalidate();
    FListBox->SetTopIndex(FListBox->ItemIndex());
    FListBox->Show(at);
}

void TbsSkinCustomComboBox::CloseUp(bool Value) {
    StopTimer();
    if (!IsPopupVisible())
        return;
    FListBox->Hide();
    const int i = FListBox->ItemIndex();
    if (i < 0) {
        FListBox->SetItemIndex(FOldItemIndex);
    } else if (Value && i < Items()->Count()) {
        const std::wstring s = Items()->Get(i);
        if (FEdit) {
            FEdit->SetText(s);
            // A multi-line edit reports no change for a text set from outside: the copy back runs here.
            if (Text() != FEdit->Text())
                EditChange();
            FEdit->SelectAll();
        } else {
            SetText(s);
            Invalidate();
        }
        FOldItemIndex = i;
        if (OnClick)
            OnClick(this);
        Change();
    } else if (!Value) {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    FDropDown = false;
    Invalidate();
    if (OnCloseUp)
        OnCloseUp(this);
}

// ---- the drag through the list --------------------------------------------------------------------------------------
void TbsSkinCustomComboBox::ListBoxWindowProcHook(TMessage& Message) {
    switch (Message.Msg) {
        case WM_LBUTTONDOWN:
            FLBDown = true;
            WasInLB = true;
            SetCapture(Handle());
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return;
        case WM_MOUSEACTIVATE:
            Message.Result = MA_NOACTIVATE;
            return;
        default:
            break;
    }
    if (FListBoxWindowProc)
        FListBoxWindowProc(Message);
}

void TbsSkinCustomComboBox::ListBoxMouseMove(int X, int Y) {
    const int i = FListBox->ItemAtPos({X, Y}, true);
    if (i >= 0 && i < Items()->Count() && i != FListBox->ItemIndex())
        FListBox->SetItemIndex(i);
}

void TbsSkinCustomComboBox::ProcessListBox(int X, int Y) {
    TbsListBox* lb = FListBox->ListBox;
    if (!lb || !lb->HandleAllocated())
        return;
    POINT p{X, Y};
    MapWindowPoints(Handle(), lb->Handle(), &p, 1);
    const int h = lb->Height();
    const bool bar = FListBox->ScrollBar != nullptr;
    int mode = TimerMode;
    if (p.y < 0 && bar && WasInLB) {
        mode = 1;
    } else if (p.y > h && bar && WasInLB) {
        mode = 2;
    } else if (p.y >= 0 && p.y <= h) {
        StopTimer();
        mode = 0;
        ListBoxMouseMove(1, p.y);
        WasInLB = true;
    }
    if (mode != TimerMode) {
        TimerMode = mode;
        if (mode != 0)
            StartTimer();
    }
}

void TbsSkinCustomComboBox::StartTimer() {
    if (!FTimer) {
        FTimer = ControlSeam().NewTimer();
        FTimer->OnTick = [this] { TimerTick(); };
    }
    FTimer->Stop();
    FTimer->Start(25);
}

void TbsSkinCustomComboBox::StopTimer() {
    TimerMode = 0;
    if (FTimer)
        FTimer->Stop();
}

void TbsSkinCustomComboBox::TimerTick() {
    const int i = FListBox->ItemIndex();
    if (TimerMode == 1 && i >= 1)
        FListBox->SetItemIndex(i - 1);
    else if (TimerMode == 2 && i < Items()->Count() - 1)
        FListBox->SetItemIndex(i + 1);
}

// ---- mouse and keys -------------------------------------------------------------------------------------------------
void TbsSkinCustomComboBox::MouseDown(TMouseButton Btn, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Btn, Shift, X, Y);
    if (!FEdit && CanFocus() && !Focused())
        SetFocus();
    if (Btn != mbLeft)
        return;
    Button.MouseIn = Button.R.Contains({X, Y});
    if (Button.MouseIn || (!FEdit && CBItem.R.Contains({X, Y})) || FToolButtonStyle) {
        Button.Down = true;
        Invalidate();
        if (!IsPopupVisible()) {
            WasInLB = false;
            FLBDown = true;
            DropDown();
        } else {
            CloseUp(false);
        }
    } else if (IsPopupVisible()) {
        CloseUp(false);
    }
}

void TbsSkinCustomComboBox::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (FLBDown) {
        ProcessListBox(X, Y);
        return;
    }
    const bool in = Button.R.Contains({X, Y});
    if (in != Button.MouseIn) {
        Button.MouseIn = in;
        Invalidate();
    }
}

void TbsSkinCustomComboBox::MouseUp(TMouseButton Btn, TShiftState Shift, int X, int Y) {
    if (FLBDown && WasInLB) {
        if (GetCapture() == Handle())
            ReleaseCapture();
        FLBDown = false;
        bool overList = false;
        if (TbsListBox* lb = FListBox->ListBox; lb && lb->HandleAllocated() && IsPopupVisible()) {
            POINT p{X, Y};
            MapWindowPoints(Handle(), lb->Handle(), &p, 1);
            RECT r;
            GetClientRect(lb->Handle(), &r);
            overList = PtInRect(&r, p) != 0;
        }
        CloseUp(overList);
    } else {
        FLBDown = false;
    }
    TbsSkinCustomControl::MouseUp(Btn, Shift, X, Y);
    if (Button.Down) {
        Button.Down = false;
        Invalidate();
    }
}

void TbsSkinCustomComboBox::EditUp1(bool AChange) {
    const int i = FListBox->ItemIndex();
    if (i <= 0)
        return;
    if (AChange)
        SetItemIndex(i - 1);
    else
        FListBox->SetItemIndex(i - 1);
}

void TbsSkinCustomComboBox::EditDown1(bool AChange) {
    const int i = FListBox->ItemIndex();
    if (i >= Items()->Count() - 1)
        return;
    if (AChange)
        SetItemIndex(i + 1);
    else
        FListBox->SetItemIndex(i + 1);
}

void TbsSkinCustomComboBox::EditPageUp1(bool AChange) {
    const int i = PageUpIndex(FListBox->ItemIndex(), FDropDownCount);
    if (Items()->Count() == 0 || i == FListBox->ItemIndex())
        return;
    if (AChange)
        SetItemIndex(i);
    else
        FListBox->SetItemIndex(i);
}

void TbsSkinCustomComboBox::EditPageDown1(bool AChange) {
    const int i = PageDownIndex(FListBox->ItemIndex(), Items()->Count(), FDropDownCount);
    if (Items()->Count() == 0 || i == FListBox->ItemIndex())
        return;
    if (AChange)
        SetItemIndex(i);
    else
        FListBox->SetItemIndex(i);
}

void TbsSkinCustomComboBox::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    const bool alt = Shift.Contains(ssAlt);
    switch (Key) {
        case VK_RETURN:
            CloseUp(true);
            break;
        case VK_ESCAPE:
            CloseUp(false);
            break;
        case VK_PRIOR:
            EditPageUp1(true);
            break;
        case VK_NEXT:
            EditPageDown1(true);
            break;
        case VK_UP:
        case VK_LEFT:
            if (alt)
                CloseUp(false);
            else
                EditUp1(true);
            break;
        case VK_DOWN:
        case VK_RIGHT:
            if (!alt)
                EditDown1(true);
            else if (!IsPopupVisible())
                DropDown();
            break;
        default:
            break;
    }
}

void TbsSkinCustomComboBox::KeyPress(wchar_t& Key) {
    TbsSkinCustomControl::KeyPress(Key);
    if (Key >= 32)
        FindLBItem(Key);
}

void TbsSkinCustomComboBox::FindLBItem(wchar_t Key) {
    const std::wstring s = FTypeAhead.Type(Key, ControlSeam().Now(), FAutoComplete);
    const int hit = FindInList(s, FListBox->ItemIndex());
    if (hit != -1)
        SetItemIndex(hit);
}

void TbsSkinCustomComboBox::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CB_GETCOUNT:
            Message.Result = Items()->Count();
            return;
        case CB_GETLBTEXTLEN:
        case CB_GETLBTEXT: {
            const int i = static_cast<int>(static_cast<INT_PTR>(Message.WParam));
            if (i < 0 || i >= Items()->Count()) {
                Message.Result = CB_ERR;
                return;
            }
            const std::wstring s = Items()->Get(i);
            if (Message.Msg == CB_GETLBTEXT && Message.LParam)
                std::copy(s.c_str(), s.c_str() + s.size() + 1, reinterpret_cast<wchar_t*>(Message.LParam));
            Message.Result = static_cast<LRESULT>(s.size());
            return;
        }
        case CB_GETCURSEL:
            Message.Result = FListBox->ItemIndex();
            return;
        case CB_SETCURSEL: {
            const int i = static_cast<int>(static_cast<INT_PTR>(Message.WParam));
            if (i < -1 || i >= Items()->Count()) {
                Message.Result = CB_ERR;
                return;
            }
            SetItemIndex(i);
            Message.Result = i == -1 ? CB_ERR : i;
            return;
        }
        case WM_GETDLGCODE:
            Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (IsPopupVisible() ? DLGC_WANTALLKEYS : 0);
            return;
        case CM_WANTSPECIALKEY:
            switch (Message.WParam) {
                case VK_UP:
                case VK_DOWN:
                case VK_LEFT:
                case VK_RIGHT:
                    Message.Result = 1;
                    return;
                case VK_RETURN:
                case VK_ESCAPE:
                    Message.Result = IsPopupVisible() ? 1 : 0;
                    return;
                default:
                    break;
            }
            break;
        case WM_SETTEXT:
            TbsSkinCustomControl::WndProc(Message);
            // Text set by another program or thread: the editor and the events follow as after SetText.
            if (InSendMessage())
                Perform(CM_TEXTCHANGED);
            return;
        case CM_TEXTCHANGED:
            TbsSkinCustomControl::WndProc(Message);
            if (FEdit && !FromEdit && FEdit->Text() != Text())
                FEdit->SetText(Text());
            if (!FEdit)
                Invalidate();
            if (OnChange)
                OnChange(this);
            if (FromEdit)
                Change();
            return;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE: {
            TbsSkinCustomControl::WndProc(Message);
            const bool enter = Message.Msg == CM_MOUSEENTER;
            FMouseIn = enter;
            if (!enter && Button.MouseIn)
                Button.MouseIn = false;
            const bool active = HasSkin() && !ActiveSkinRect.IsEmpty();
            if (active && FEdit && !FEdit->Focused())
                FEdit->Font()->SetColor(enter ? ActiveFontColor : FontColor);
            Invalidate();
            return;
        }
        case CM_CANCELMODE:
            TbsSkinCustomControl::WndProc(Message);
            CMCancelMode(reinterpret_cast<TControl*>(Message.LParam));
            return;
        case CM_ENABLEDCHANGED:
            TbsSkinCustomControl::WndProc(Message);
            if (FEdit) {
                FEdit->SetEnabled(Enabled());
                FEdit->Font()->SetColor(!Enabled() ? GetDisabledFontColor()
                                        : HasSkin() ? FontColor
                                                    : DefaultFont()->Color());
            }
            Invalidate();
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TbsSkinCustomControl::WndProc(Message);
            if (Message.Msg == WM_KILLFOCUS && !FEdit)
                CloseUp(false);
            Invalidate();
            return;
        case WM_MOUSEWHEEL:
            if (!FEdit) {
                if (static_cast<short>(HIWORD(Message.WParam)) <= 0)
                    EditDown1(!IsPopupVisible());
                else
                    EditUp1(!IsPopupVisible());
            }
            Message.Result = 0;
            return;
        case WM_SIZE:
            TbsSkinCustomControl::WndProc(Message);
            CalcRects();
            AdjustEditPos();
            return;
        default:
            break;
    }
    TbsSkinCustomControl::WndProc(Message);
}

// ---- painting -------------------------------------------------------------------------------------------------------
bool TbsSkinCustomComboBox::ActiveLook() {
    return !ActiveSkinRect.IsEmpty() && (FMouseIn || Focused() || (FEdit && FEdit->Focused()));
}

int TbsSkinCustomComboBox::ShownIndex() {
    return IsPopupVisible() ? FOldItemIndex : FListBox->ItemIndex();
}

TbsDataSkinButtonControl* TbsSkinCustomComboBox::ButtonRecord(std::initializer_list<const wchar_t*> Names,
                                                              TBitmap*& Pic) {
    for (const wchar_t* name : Names) {
        if (auto* e = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, name)))) {
            Pic = SkinPictureAt(FSD, e->PictureIndex);
            return e;
        }
    }
    Pic = nullptr;
    return nullptr;
}

void TbsSkinCustomComboBox::DrawTextIn(TCanvas* C, const std::wstring& S, const TRect& R) {
    TStrings* tabs = FListBox->TabWidths();
    C->Brush()->SetStyle(bsClear);
    if (tabs && tabs->Count() > 0) {
        const int n = std::min(tabs->Count(), 10);
        int stops[10] = {};
        for (int i = 0; i < n; ++i)
            stops[i] = TabStopOf(tabs->Get(i));
        const int x = R.Left + 2;
        const int y = R.Top + (R.Height() - C->TextHeight(S)) / 2;
        TCanvasClipGuard clip(C);
        C->ClipTo(R);
        TabbedTextOutW(C->Handle(), x, y, S.c_str(), static_cast<int>(S.size()), n, stops, x);
    } else {
        BSDrawText2(C, S, R);
    }
}

void TbsSkinCustomComboBox::DrawItemContent(TCanvas* C, int Index, const TRect& TextRect, int W, int H,
                                            const std::wstring* AText) {
    if (!AText && (Index < 0 || Index >= Items()->Count()))
        return;
    if (OnComboBoxDrawItem && !AText) {
        OnComboBoxDrawItem(C, Index, W, H, TextRect, CBItem.State);
        return;
    }
    TRect r = TextRect;
    if (TCustomImageList* il = Images(); il && !AText) {
        const int index = ImageIndex() >= 0 ? ImageIndex() : Index;
        if (index >= 0 && index < il->Count()) {
            il->Draw(C, r.Left, r.Top + (r.Height() - il->Height()) / 2, index);
            r.Left += il->Width() + 2;
        }
    }
    DrawTextIn(C, AText ? *AText : Items()->Get(Index), r);
}

void TbsSkinCustomComboBox::DrawButton(TCanvas* C) {
    const TRect& r = Button.R;
    if (r.IsEmpty())
        return;
    const bool down = Button.Down && Button.MouseIn;
    if (!HasSkin()) {
        if (down)
            FillFramed(C, r, static_cast<TColor>(0xB76B3B), static_cast<TColor>(0xE4BCA2));
        else if (Button.MouseIn)
            FillFramed(C, r, static_cast<TColor>(0xB76B3B), static_cast<TColor>(0xF3D4C1));
        else
            FillFramed(C, r, clBtnShadow, clBtnFace);
        DrawArrowImage(C, r, Enabled() ? clBlack : clBtnShadow, 4);
        return;
    }
    TRect src;
    if (!Enabled() && !UnEnabledButtonRect.IsEmpty())
        src = UnEnabledButtonRect;
    else if (down)
        src = DownButtonRect;
    else if (Button.MouseIn)
        src = ActiveButtonRect;
    if (src.IsEmpty() || !RectInPicture(src, Picture))
        return;
    C->CopyRect(r, Picture->Canvas(), src);
}

void TbsSkinCustomComboBox::DrawResizeButton(TCanvas* C) {
    TBitmap* pic = nullptr;
    TbsDataSkinButtonControl* e = ButtonRecord({L"combobutton", L"editbutton", L"resizebutton"}, pic);
    const TRect& r = Button.R;
    if (!e || !pic || r.IsEmpty())
        return;
    const bool down = Button.Down && Button.MouseIn;
    const TRect active = e->ActiveSkinRect.IsEmpty() ? e->SkinRect : e->ActiveSkinRect;
    const TRect src = down ? (e->DownSkinRect.IsEmpty() ? active : e->DownSkinRect)
                      : Button.MouseIn ? active
                                       : e->SkinRect;
    if (!RectInPicture(src, pic))
        return;
    TBitmap b(r.Width(), r.Height());
    ComposeButton(e, pic, src, &b);
    if (e->MenuMarkerRect.IsEmpty()) {
        if (Enabled()) {
            const TColor c = static_cast<TColor>(down ? e->DownFontColor : Button.MouseIn ? e->ActiveFontColor
                                                                                          : e->FontColor);
            DrawArrowImage(b.Canvas(), {0, down ? 2 : 0, b.Width(), b.Height() + (down ? 2 : 0)}, c, 4);
        }
    } else {
        DrawMarker(b.Canvas(), e, pic, {0, 0, b.Width(), b.Height()}, Button.MouseIn, down);
    }
    C->Draw(r.Left, r.Top, &b);
}

void TbsSkinCustomComboBox::DrawDefaultItem(TCanvas* C) {
    const TRect& r = CBItem.R;
    if (r.IsEmpty())
        return;
    TBitmap b(r.Width(), r.Height());
    TCanvas* bc = b.Canvas();
    bc->Font()->SetName(Font()->Name());
    bc->Font()->SetStyle(Font()->Style());
    bc->Font()->SetHeight(Font()->Height());
    bc->Font()->SetCharset(SkinFontCharset(FSD, DefaultFont()->Charset()));
    const bool focused = Focused() && !IsPopupVisible();
    bc->Brush()->SetStyle(bsSolid);
    bc->Brush()->SetColor(focused ? clHighlight : FDefaultColor);
    bc->FillRect({0, 0, b.Width(), b.Height()});
    bc->Font()->SetColor(focused ? clHighlightText : (Enabled() ? DefaultFont()->Color() : clGrayText));
    CBItem.State = TOwnerDrawState();
    if (focused)
        CBItem.State.Include(odFocused);
    DrawItemContent(bc, ShownIndex(), {2, 0, b.Width() - 2, b.Height()}, b.Width(), b.Height(), nullptr);
    C->Draw(r.Left, r.Top, &b);
}

void TbsSkinCustomComboBox::SkinItemLook(TBitmap* B, bool Resize) {
    const bool focused = Focused() && !IsPopupVisible();
    const bool hot = !focused && FMouseIn && !ActiveItemRect.IsEmpty() && !ActiveSkinRect.IsEmpty();
    const int w = B->Width(), h = B->Height();
    TRect src = focused ? FocusItemRect : hot ? ActiveItemRect : SItemRect;
    // Without a picture the bitmap keeps what lies under the item area (copied in before).
    if (src.IsEmpty() || !RectInPicture(src, Picture))
        return;
    if (!Resize) {
        CreateHSkinImage(ItemLeftOffset, ItemRightOffset, B, Picture, src, w, h,
                         focused ? FocusItemStretchEffect : ItemStretchEffect);
    } else {
        TRect cl = ItemTextRect;
        if (focused)
            cl.Inflate(-1, -1);
        if (focused || hot) {
            cl.Right -= SItemRect.Width() - src.Width();
            cl.Top -= SItemRect.Height() - src.Height();
        }
        CreateStretchImage(B, Picture, src, cl, true);
    }
}

void TbsSkinCustomComboBox::SkinItemFont(TCanvas* C, bool Focused) {
    CBItem.State = TOwnerDrawState();
    if (Focused)
        CBItem.State.Include(odFocused);
    ItemFont(C->Font(), FUseSkinFont, DefaultFont(), SkinFontCharset(FSD, DefaultFont()->Charset()));
    C->Font()->SetColor(!Enabled() ? GetDisabledFontColor()
                        : Focused  ? FocusFontColor
                        : (FMouseIn && !ActiveSkinRect.IsEmpty()) ? ActiveFontColor
                                                                  : FontColor);
}

void TbsSkinCustomComboBox::DrawSkinItem(TCanvas* C) {
    const TRect& r = CBItem.R;
    int h = SItemRect.Height();
    if (h == 0)
        h = FocusItemRect.Height();
    if (h == 0)
        h = r.Width();
    if (r.Width() <= 0 || h <= 0)
        return;
    TBitmap b(r.Width(), h);
    // Start from what lies under the item area, so an empty item picture keeps the frame.
    b.Canvas()->CopyRect({0, 0, r.Width(), h}, C, {r.Left, r.Top, r.Right, r.Top + h});
    SkinItemLook(&b, false);
    TRect text = ItemTextRect;
    const int dw = r.Width() - (SItemRect.IsEmpty() ? G.ClRect.Width() : SItemRect.Width());
    text.Right += dw;
    TCanvas* bc = b.Canvas();
    const bool focused = Focused() && !IsPopupVisible();
    SkinItemFont(bc, focused);
    if (!OnComboBoxDrawItem && focused && ShowFocus)
        DrawSkinFocusRect(bc, {0, 0, b.Width(), b.Height()});
    DrawItemContent(bc, ShownIndex(), text, b.Width(), b.Height(), nullptr);
    C->Draw(r.Left, r.Top, &b);
}

void TbsSkinCustomComboBox::DrawResizeSkinItem(TCanvas* C) {
    const TRect& r = CBItem.R;
    if (r.IsEmpty())
        return;
    TBitmap b(r.Width(), r.Height());
    b.Canvas()->CopyRect({0, 0, r.Width(), r.Height()}, C, r);
    SkinItemLook(&b, true);
    TRect text = ItemTextRect;
    text.Right += r.Width() - (SItemRect.IsEmpty() ? G.ClRect.Width() : SItemRect.Width());
    text.Bottom += Height() - G.SkinRect.Height();
    TCanvas* bc = b.Canvas();
    const bool focused = Focused() && !IsPopupVisible();
    SkinItemFont(bc, focused);
    if (!OnComboBoxDrawItem && focused && ShowFocus)
        DrawSkinFocusRect(bc, {0, 0, b.Width(), b.Height()});
    DrawItemContent(bc, ShownIndex(), text, b.Width(), b.Height(), nullptr);
    C->Draw(r.Left, r.Top, &b);
}

void TbsSkinCustomComboBox::CreateControlToolImage(TBitmap* B, const std::wstring* AText) {
    const int w = B->Width(), h = B->Height();
    TCanvas* c = B->Canvas();
    const bool hot = FMouseIn || Focused();
    TRect text{2, 2, w - 17, h - 2}, marker{w - 15, 0, w, h};
    TColor colour = DefaultFont()->Color();
    TbsDataSkinButtonControl* e = nullptr;
    TBitmap* pic = nullptr;
    if (HasSkin())
        e = ButtonRecord({L"resizetoolbutton", L"resizebutton"}, pic);
    if (HasSkin()) {
        if (!e || !pic)
            return;
        TRect src = FDropDown ? e->DownSkinRect : hot ? e->ActiveSkinRect : e->SkinRect;
        if (src.IsEmpty())
            src = e->SkinRect;
        if (!RectInPicture(src, pic))
            return;
        ComposeButton(e, pic, src, B);
        if (FUseSkinFont) {
            c->Font()->SetName(e->FontName);
            c->Font()->SetStyle(ToFontStyles(e->FontStyle));
            c->Font()->SetHeight(e->FontHeight);
        } else {
            c->Font()->Assign(DefaultFont());
        }
        colour = static_cast<TColor>(!Enabled() ? e->DisabledFontColor
                                     : FDropDown ? e->DownFontColor
                                     : hot       ? e->ActiveFontColor
                                                 : e->FontColor);
    } else {
        if (FDropDown)
            FillFramed(c, {0, 0, w, h}, static_cast<TColor>(0xB76B3B), static_cast<TColor>(0xE4BCA2));
        else if (hot)
            FillFramed(c, {0, 0, w, h}, static_cast<TColor>(0xB76B3B), static_cast<TColor>(0xF3D4C1));
        else
            FillFramed(c, {0, 0, w, h}, clBtnShadow, clBtnFace);
        if (FDropDown) {
            text.Offset(2, 2);
            marker.Offset(2, 2);
        }
        c->Font()->Assign(DefaultFont());
    }
    c->Font()->SetColor(colour);
    DrawItemContent(c, ShownIndex(), text, w, h, AText);
    if (e && !e->MenuMarkerRect.IsEmpty())
        DrawMarker(c, e, pic, marker, hot, FDropDown);
    else
        DrawTrackArrowImage(c, marker, e && FDropDown ? static_cast<TColor>(e->DownFontColor) : colour);
}

void TbsSkinCustomComboBox::CreateControlDefaultImage(TBitmap* B) {
    CalcRects();
    if (FToolButtonStyle) {
        CreateControlToolImage(B, nullptr);
        return;
    }
    TCanvas* c = B->Canvas();
    FillFramed(c, {0, 0, B->Width(), B->Height()}, clBtnShadow, FDefaultColor);
    DrawButton(c);
    if (!FEdit)
        DrawDefaultItem(c);
}

void TbsSkinCustomComboBox::CreateControlSkinImage(TBitmap* B) {
    CalcRects();
    if (FToolButtonStyle) {
        CreateControlToolImage(B, nullptr);
        return;
    }
    const int w = Width(), h = Height();
    const bool active = ActiveLook() && RectInPicture(ActiveSkinRect, Picture);
    if (FUseSkinSize) {
        if (active)
            CreateHSkinImage(G.LTPt.X, G.SkinRect.Width() - G.RTPt.X, B, Picture, ActiveSkinRect, w, h,
                             G.StretchEffect);
        else
            TbsSkinCustomControl::CreateControlSkinImage(B);
        DrawButton(B->Canvas());
        if (!FEdit && !FFrameOnly)
            DrawSkinItem(B->Canvas());
    } else {
        const TRect src = active ? ActiveSkinRect : G.SkinRect;
        if (RectInPicture(src, Picture)) {
            TRect cl = G.ClRect;
            cl.Inflate(-3, -1);
            B->SetSize(w, h);
            CreateStretchImage(B, Picture, src, cl, true);
        }
        DrawResizeButton(B->Canvas());
        if (!FEdit && !FFrameOnly)
            DrawResizeSkinItem(B->Canvas());
    }
}

void TbsSkinCustomComboBox::PaintSkinTo(TCanvas* C, int X, int Y, const std::wstring& AText) {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0)
        return;
    GetSkinData();
    CalcRects();
    const std::wstring saved = Text();
    SetText(AText);
    TBitmap b(w, h);
    if (FToolButtonStyle) {
        CreateControlToolImage(&b, &AText);
    } else {
        TCanvas* c = b.Canvas();
        if (!HasSkin()) {
            FillFramed(c, {0, 0, w, h}, clBtnShadow, FDefaultColor);
            DrawButton(c);
            c->Font()->Assign(DefaultFont());
        } else {
            FFrameOnly = true;
            CreateControlSkinImage(&b);
            FFrameOnly = false;
            c->Font()->SetStyle(FontStyle);
            c->Font()->SetColor(FontColor);
            c->Font()->SetHeight(FontHeight);
            c->Font()->SetName(FontName);
        }
        DrawTextIn(c, AText, CBItem.R);
    }
    C->Draw(X, Y, &b);
    SetText(saved);
}
