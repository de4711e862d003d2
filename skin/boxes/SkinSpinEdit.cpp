#include "skin/boxes/SkinSpinEdit.h"

#include <windowsx.h>

#include "classlib/SysUtils.h"
#include "skin/boxes/SpinValue.h"
#include "skin/controls/ControlSeam.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"

namespace {

void FillIfEmpty(TRect& R, const TRect& From) {
    if (R.IsEmpty())
        R = From;
}

// Sets a flag for the scope, restoring what it held before.
struct TFlagScope {
    bool& f;
    bool old;
    TFlagScope(bool& flag, bool value) : f(flag), old(flag) { f = value; }
    ~TFlagScope() { f = old; }
};

}  // namespace

TbsSkinSpinEdit::TbsSkinSpinEdit(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FSkinDataName = L"spinedit";
    SetControlStyle({csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks});
    SetWidth(120);
    SetHeight(20);
    FEdit = new TbsSkinNumEdit(this);
    FEdit->SetParent(this);
    FEdit->Font()->Assign(FDefaultFont.get());
    FEdit->SetColor(FDefaultColor);
    FEdit->SetAutoSize(false);
    FEdit->SetVisible(true);
    FEdit->SetEditTransparent(false);
    FEdit->OnChange = [this](TObject*) { EditChange(); };
    FEdit->OnUpClick = [this](TObject*) { StepUp(); };
    FEdit->OnDownClick = [this](TObject*) { StepDown(); };
    FEdit->OnKeyDown = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnEditKeyDown)
            OnEditKeyDown(this, Key, Shift);
    };
    FEdit->OnKeyUp = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnEditKeyUp)
            OnEditKeyUp(this, Key, Shift);
    };
    FEdit->OnKeyPress = [this](TObject*, wchar_t& Key) {
        if (OnEditKeyPress)
            OnEditKeyPress(this, Key);
    };
    FEdit->OnEnter = [this](TObject*) { EditEnter(); };
    FEdit->OnExit = [this](TObject*) { EditExit(); };
    FEdit->OnMouseEnter = [this](TObject*) { Perform(CM_MOUSEENTER); };
    FEdit->OnMouseLeave = [this](TObject*) { Perform(CM_MOUSELEAVE); };
    FButtons.OnStep = [this](int I) { I == 0 ? StepUp() : StepDown(); };
    FButtons.OnRepaint = [this] { TbsSkinCustomControl::Invalidate(); };
    SetText(L"0");
    CalcLayout();
}

TbsSkinSpinEdit::~TbsSkinSpinEdit() = default;

void TbsSkinSpinEdit::BeforeDestruction() {
    // The inner edit goes with the owned components before this object: its handlers stop reaching here first.
    FEdit->OnChange = nullptr;
    FEdit->OnUpClick = nullptr;
    FEdit->OnDownClick = nullptr;
    FEdit->OnEnter = nullptr;
    FEdit->OnExit = nullptr;
    FEdit->OnMouseEnter = nullptr;
    FEdit->OnMouseLeave = nullptr;
    TbsSkinCustomControl::BeforeDestruction();
}

// ---- Value ----------------------------------------------------------------------------------------------------------
std::wstring TbsSkinSpinEdit::Formatted(double V) const {
    return FormatSpinValue(V, FValueType == vtFloat, FDecimal, FormatSettings.DecimalSeparator);
}

bool TbsSkinSpinEdit::IsNumText(const std::wstring& AText) const {
    return IsSpinNumText(AText, FValueType == vtFloat, FormatSettings.DecimalSeparator);
}

void TbsSkinSpinEdit::SetValue(double AValue) {
    FValue = SpinCheckValue(AValue, FMinValue, FMaxValue);
    const std::wstring text = Formatted(FValue);
    if (StopCheck) {
        // Inside a text check: the edit shows the text, nothing fires.
        ShowInEdit(text);
    } else {
        {
            TFlagScope stop(StopCheck, true);
            SetText(text);
        }
        Change();
    }
    StopCheck = false;
}

void TbsSkinSpinEdit::SimpleSetValue(double AValue) {
    FValue = SpinCheckValue(AValue, FMinValue, FMaxValue);
    TFlagScope stop(StopCheck, true);
    SetText(Formatted(FValue));
}

// The inner edit shows Text and the window's text follows it unparsed (setting a multi-line edit's text reports no
// change of its own).
void TbsSkinSpinEdit::ShowInEdit(const std::wstring& Text) {
    TFlagScope stop(StopCheck, true);
    if (FEdit->Text() != Text)
        FEdit->SetText(Text);
    if (TControl::Text() != Text) {
        TFlagScope from(FromEdit, true);
        Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
    }
}

void TbsSkinSpinEdit::ShowValueText() {
    ShowInEdit(Formatted(FValue));
}

void TbsSkinSpinEdit::Change() {
    TFlagScope stop(StopCheck, true);
    if (OnChange)
        OnChange(this);
}

void TbsSkinSpinEdit::SetMinValue(double Value) {
    FMinValue = Value;
    if (FValue < FMinValue)
        SetValue(FMinValue);
}

void TbsSkinSpinEdit::SetMaxValue(double Value) {
    FMaxValue = Value;
    if (FValue > FMaxValue)
        SetValue(FMaxValue);
}

void TbsSkinSpinEdit::SetValueType(TbsValueType Value) {
    FValueType = Value;
    if (FValueType == vtInteger)
        FIncrement = SpinIntegerIncrement(FIncrement);
    FEdit->Float = FValueType == vtFloat;
}

bool TbsSkinSpinEdit::EditorEnabled() const {
    return FEdit->EditorEnabled;
}

void TbsSkinSpinEdit::SetEditorEnabled(bool Value) {
    FEdit->EditorEnabled = Value;
}

int TbsSkinSpinEdit::MaxLength() const {
    return FEdit->MaxLength();
}

void TbsSkinSpinEdit::SetMaxLength(int Value) {
    FEdit->SetMaxLength(Value);
}

void TbsSkinSpinEdit::StepUp() {
    SetValue(FValue + FIncrement);
    if (OnUpButtonClick)
        OnUpButtonClick(this);
}

void TbsSkinSpinEdit::StepDown() {
    SetValue(FValue - FIncrement);
    if (OnDownButtonClick)
        OnDownButtonClick(this);
}

// The inner edit's text becomes the control's text (not copied back).
void TbsSkinSpinEdit::EditChange() {
    TFlagScope from(FromEdit, true);
    const std::wstring t = FEdit->Text();
    if (Text() != t) {
        Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str()));
    } else if (!StopCheck) {
        TextChanged();  // the same text again still counts as typed
    }
}

void TbsSkinSpinEdit::TextChanged() {
    if (!FromEdit) {
        const std::wstring t = Text();
        if (FEdit->Text() != t) {
            TFlagScope stop(StopCheck, true);
            FEdit->SetText(t);
        }
    }
    if (StopCheck)
        return;
    const std::wstring typed = FEdit->Text();
    const TbsSpinTyped r =
        SpinTextToValue(typed, FValueType == vtFloat, FormatSettings.DecimalSeparator, FMinValue, FMaxValue);
    if (!r.Number)
        return;  // the text stays as typed; leaving the edit shows the value again
    if (r.Value != FValue) {
        FValue = r.Value;
        Change();
    }
    if (r.Rewrite) {
        TFlagScope stop(StopCheck, true);
        SetValue(r.Value);
    }
}

// ---- Focus, hover and enabled colours ---------------------------------------------------------------------------
void TbsSkinSpinEdit::EditEnter() {
    if (OnEditEnter)
        OnEditEnter(this);
    FEditFocused = true;
    if (HasActivePicture())
        Invalidate();
    UpdateFontColor();
}

void TbsSkinSpinEdit::EditExit() {
    if (OnEditExit)
        OnEditExit(this);
    FEditFocused = false;
    if (HasActivePicture())
        Invalidate();
    UpdateFontColor();
    ShowValueText();
}

void TbsSkinSpinEdit::UpdateFontColor() {
    TColor c;
    if (!SkinLookAvailable())
        c = Enabled() ? FDefaultFont->Color() : clGrayText;
    else if (!Enabled())
        c = DisabledFontColor;
    else
        c = HotLook() && ActiveFontColor != FontColor ? ActiveFontColor : FontColor;
    if (FEdit->Font()->Color() != c)
        FEdit->Font()->SetColor(c);
}

void TbsSkinSpinEdit::SetActiveLook(bool Hot) {
    if (FMouseIn == Hot)
        return;
    FMouseIn = Hot;
    if (FEditFocused)
        return;
    if (HasActivePicture())
        Invalidate();
    UpdateFontColor();
}

// ---- Skin and layout ------------------------------------------------------------------------------------------------
void TbsSkinSpinEdit::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    auto* e = dynamic_cast<TbsDataSkinSpinEditControl*>(Entry());
    FSpinEntry = e != nullptr;
    if (!e)
        return;
    ActiveSkinRect = e->ActiveSkinRect;
    FontName = e->FontName;
    FontStyle = ToFontStyles(e->FontStyle);
    FontHeight = e->FontHeight;
    FontColor = static_cast<TColor>(e->FontColor);
    ActiveFontColor = static_cast<TColor>(e->ActiveFontColor);
    DisabledFontColor = static_cast<TColor>(e->DisabledFontColor);
    UpButtonRect = e->UpButtonRect;
    ActiveUpButtonRect = e->ActiveUpButtonRect;
    DownUpButtonRect = e->DownUpButtonRect;
    DownButtonRect = e->DownButtonRect;
    ActiveDownButtonRect = e->ActiveDownButtonRect;
    DownDownButtonRect = e->DownDownButtonRect;
    FillIfEmpty(DownUpButtonRect, ActiveUpButtonRect);
    FillIfEmpty(DownDownButtonRect, ActiveDownButtonRect);
    LOffset = e->LTPoint.X;
    ROffset = e->SkinRect.Width() - e->RTPoint.X;
}

bool TbsSkinSpinEdit::SkinLookAvailable() const {
    return TbsSkinCustomControl::SkinLookAvailable() && FSpinEntry && Picture;
}

int TbsSkinSpinEdit::EditHeight() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FEdit->Font()->Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

void TbsSkinSpinEdit::CalcLayout() {
    if (!FEdit)
        return;  // the constructor sizes the control before it makes the edit
    TbsSpinButton* b = FButtons.Buttons;
    const int w = Width(), h = Height();
    TRect area{0, 0, w, h};
    int left = 2, width = w - 19;
    if (!SkinLookAvailable()) {
        b[0].R = {w - 17, 2, w - 2, h / 2};
        b[1].R = {w - 17, h / 2, w - 2, h - 2};
    } else {
        const int d = w - G.SkinRect.Width();
        TRect up = UpButtonRect, down = DownButtonRect;
        if (up.Left > G.RTPt.X)
            up.Offset(d, 0);
        if (down.Left > G.RTPt.X)
            down.Offset(d, 0);
        area = G.ClRect;
        area.Right += d;
        if (!FUseSkinSize) {
            const int e = h - G.SkinRect.Height();
            area.Bottom += e;
            if (down.Bottom >= up.Bottom) {
                const TRect t{up.Left, up.Top, down.Right, down.Bottom + e};
                const int m = (t.Top + t.Bottom) / 2;
                up = {t.Left, t.Top, t.Right, m};
                down = {t.Left, m, t.Right, t.Bottom};
            } else {
                up.Bottom += e;
                down.Bottom += e;
            }
        }
        b[0].R = up;
        b[1].R = down;
        left = area.Left;
        width = area.Width();
    }
    const int eh = EditHeight();
    const int top = area.Top + area.Height() / 2 - eh / 2;
    FEdit->SetBounds(left, top, width < 0 ? 0 : width, eh);
}

void TbsSkinSpinEdit::CalcSize(int& W, int& H) {
    if (FUseSkinSize)
        TbsSkinCustomControl::CalcSize(W, H);
}

void TbsSkinSpinEdit::SetControlRegion() {
    if (FUseSkinSize)
        TbsSkinCustomControl::SetControlRegion();
}

void TbsSkinSpinEdit::ApplyEditFont() {
    TFont* f = FEdit->Font();
    if (!SkinLookAvailable()) {
        f->Assign(FDefaultFont.get());
    } else if (FUseSkinFont) {
        f->SetName(FontName);
        f->SetHeight(FontHeight);
        f->SetStyle(FontStyle);
        f->SetColor(FontColor);
    } else {
        f->Assign(FDefaultFont.get());
        f->SetColor(FontColor);
    }
    f->SetCharset(SkinFontCharset(FSD, FDefaultFont->Charset()));
}

void TbsSkinSpinEdit::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    ApplyEditFont();
    const bool transparent = SkinLookAvailable();
    if (FEdit->EditTransparent() != transparent)
        FEdit->SetEditTransparent(transparent);
    if (!transparent)
        FEdit->SetColor(FDefaultColor);
    if (SkinLookAvailable() && FUseSkinSize && Height() != G.SkinRect.Height())
        SetHeight(G.SkinRect.Height());
    CalcLayout();
    UpdateFontColor();
    Invalidate();
}

void TbsSkinSpinEdit::DefaultFontChange() {
    if (SkinLookAvailable() && FUseSkinFont)
        return;
    const TColor c = FEdit->Font()->Color();
    FEdit->Font()->Assign(FDefaultFont.get());
    if (SkinLookAvailable())
        FEdit->Font()->SetColor(c);
    CalcLayout();
}

void TbsSkinSpinEdit::SetUseSkinSize(bool Value) {
    FUseSkinSize = Value;
    if (FIndex != -1)
        ChangeSkinData();
    else
        CalcLayout();
}

void TbsSkinSpinEdit::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    GetSkinData();
    if (!SkinLookAvailable()) {
        FEdit->SetColor(Value);
        Invalidate();
    }
}

// ---- Painting -------------------------------------------------------------------------------------------------------
void TbsSkinSpinEdit::Invalidate() {
    TbsSkinCustomControl::Invalidate();
    if (SkinLookAvailable() && FEdit && FEdit->HandleAllocated())
        FEdit->Invalidate();
}

void TbsSkinSpinEdit::CreateControlDefaultImage(TBitmap* B) {
    CalcLayout();
    TCanvas* c = B->Canvas();
    const TRect r{0, 0, B->Width(), B->Height()};
    // The inside around the inner edit takes its colour.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FDefaultColor);
    c->FillRect(r);
    Frm3D(c, r, clBtnShadow, clBtnShadow);
    for (int i = 0; i < 2; ++i)
        DrawDefaultSpinButton(c, FButtons.Buttons[i].R, FButtons.Buttons[i], i == 0 ? kArrowUp : kArrowDown,
                              clBlack, false);
}

void TbsSkinSpinEdit::CreateControlSkinImage(TBitmap* B) {
    CalcLayout();
    const int w = Width(), h = Height();
    const bool hot = HotLook() && !ActiveSkinRect.IsEmpty() && RectInPicture(ActiveSkinRect, Picture);
    if (!FUseSkinSize) {
        const TRect src = hot ? ActiveSkinRect : G.SkinRect;
        B->SetSize(w, h);
        if (RectInPicture(src, Picture)) {
            const TRect cl{G.ClRect.Left + 2, G.ClRect.Top + 1, G.ClRect.Right - 2, G.ClRect.Bottom - 1};
            TBitmap part(src.Width(), src.Height());
            part.Canvas()->CopyRect({0, 0, src.Width(), src.Height()}, Picture->Canvas(), src);
            CreateStretchImage(B, &part, {0, 0, src.Width(), src.Height()}, cl, true);
        }
        for (int i = 0; i < 2; ++i)
            DrawSkinEntrySpinButton(B->Canvas(), FSD, {L"editbutton", L"combobutton", L"resizebutton"},
                                    FButtons.Buttons[i].R, FButtons.Buttons[i], i == 0 ? kArrowUp : kArrowDown,
                                    Enabled());
        return;
    }
    if (hot) {
        B->SetSize(w, h);
        CreateHSkinImage(LOffset, ROffset, B, Picture, ActiveSkinRect, w, h, G.StretchEffect);
    } else {
        TbsSkinCustomControl::CreateControlSkinImage(B);
    }
    DrawButtons(B->Canvas());
}

void TbsSkinSpinEdit::DrawButtons(TCanvas* C) {
    for (int i = 0; i < 2; ++i) {
        const TbsSpinButton& b = FButtons.Buttons[i];
        TRect src;
        if (b.MouseIn && b.Down)
            src = i == 0 ? DownUpButtonRect : DownDownButtonRect;
        else if (b.MouseIn)
            src = i == 0 ? ActiveUpButtonRect : ActiveDownButtonRect;
        else
            continue;
        if (b.R.IsEmpty() || src.IsEmpty() || !RectInPicture(src, Picture))
            continue;
        C->CopyRect(b.R, Picture->Canvas(), src);
    }
}

void TbsSkinSpinEdit::PaintSkinTo(TCanvas* C, int X, int Y, const std::wstring& AText) {
    const int w = Width(), h = Height();
    if (w < 1 || h < 1)
        return;
    GetSkinData();
    TBitmap b(w, h);
    if (SkinLookAvailable())
        CreateControlSkinImage(&b);
    else
        CreateControlDefaultImage(&b);
    TCanvas* c = b.Canvas();
    c->Font()->Assign(FEdit->Font());
    c->Brush()->SetStyle(bsClear);
    RECT r{FEdit->Left() + 2, FEdit->Top(), FEdit->Left() + FEdit->Width() - 2, FEdit->Top() + FEdit->Height()};
    DrawTextW(c->Handle(), AText.c_str(), static_cast<int>(AText.size()), &r, DT_LEFT | DT_TOP | DT_NOPREFIX);
    C->Draw(X, Y, &b);
}

void TbsSkinSpinEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    CalcLayout();
}

// ---- Mouse and messages ---------------------------------------------------------------------------------------------
void TbsSkinSpinEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    FButtons.MouseDown({X, Y});
}

void TbsSkinSpinEdit::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    FButtons.MouseMove({X, Y});
}

void TbsSkinSpinEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    FButtons.MouseUp({X, Y});
}

void TbsSkinSpinEdit::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_SETTEXT:
            TbsSkinCustomControl::WndProc(Message);
            TextChanged();
            return;
        case CM_TEXTCHANGED:
            return;  // WM_SETTEXT did the work
        case WM_SIZE:
            TbsSkinCustomControl::WndProc(Message);
            CalcLayout();
            return;
        case WM_ERASEBKGND:
            if (!FromWMPaint && Message.WParam) {
                PaintTo(reinterpret_cast<HDC>(Message.WParam), 0, 0);
                Message.Result = 1;
                return;
            }
            break;
        case CM_FOCUSCHANGED:
            TbsSkinCustomControl::WndProc(Message);
            if (reinterpret_cast<TWinControl*>(Message.LParam) == this && FEdit->CanFocus())
                FEdit->SetFocus();
            return;
        case WM_SETFOCUS:
            TbsSkinCustomControl::WndProc(Message);
            if (FEdit->HandleAllocated())
                ::SetFocus(FEdit->Handle());
            return;
        case CM_ENABLEDCHANGED:
            TbsSkinCustomControl::WndProc(Message);
            FEdit->SetEnabled(Enabled());
            UpdateFontColor();
            Invalidate();
            return;
        case CM_MOUSEENTER:
            TbsSkinCustomControl::WndProc(Message);
            FButtons.MouseEnter();
            SetActiveLook(true);
            return;
        case CM_MOUSELEAVE: {
            TbsSkinCustomControl::WndProc(Message);
            FButtons.MouseLeave();
            const bool overEdit = FEdit->HandleAllocated() && ControlSeam().WindowUnderCursor() == FEdit->Handle();
            if (!overEdit)
                SetActiveLook(false);
            return;
        }
        case WM_CANCELMODE:
            if (FButtons.CaptureButton != -1) {
                FButtons.Cancel();
                TbsSkinCustomControl::Invalidate();
            }
            break;
        default:
            break;
    }
    TbsSkinCustomControl::WndProc(Message);
}
