#include "skin/controls/SkinCheckRadio.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "skin/controls/ControlMorph.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/EffectBitmap.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinText.h"

namespace {
constexpr TColor kFrameHot = 0xB76B3B;
}  // namespace

TbsSkinCheckRadioBox::TbsSkinCheckRadioBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FSkinDataName = L"checkbox";
    FDefaultWidth = 150;
    FDefaultHeight = 25;
    SetBounds(0, 0, 150, 25);
    SetTabStop(false);
    // Clicks are made by the release handling and the keys.
    TControlStyle style = ControlStyle();
    style.Exclude(csClickEvents);
    SetControlStyle(style);
}

TbsSkinCheckRadioBox::~TbsSkinCheckRadioBox() {
    FMorph.Stop();
}

TbsDataSkinCheckRadioControl* TbsSkinCheckRadioBox::CheckEntry() const {
    return dynamic_cast<TbsDataSkinCheckRadioControl*>(Entry());
}

bool TbsSkinCheckRadioBox::SkinLookAvailable() const {
    return TbsSkinCustomControl::SkinLookAvailable() && CheckEntry() != nullptr;
}

// ---- Properties -----------------------------------------------------------------------------------------------------
void TbsSkinCheckRadioBox::SetChecked(bool Value) {
    FChecked = Value;
    if (Value)
        FState = cbChecked;
    else if (FState == cbChecked)
        FState = cbUnchecked;
    Invalidate();
    if (FChecked && FGroupIndex != 0)
        UnCheckAll();
    // A check box reports every write, an unchanged value too; a radio button only becoming checked.
    if ((!FRadio || FChecked) && OnClick)
        OnClick(this);
}

void TbsSkinCheckRadioBox::SetState(TCheckBoxState Value) {
    FState = Value;
    FChecked = Value == cbChecked;
    Invalidate();
    if (OnClick)
        OnClick(this);
}

void TbsSkinCheckRadioBox::SetRadio(bool Value) {
    FRadio = Value;
    Invalidate();
}

void TbsSkinCheckRadioBox::SetFlat(bool Value) {
    FFlat = Value;
    if (!ComponentState().Contains(csLoading))
        ChangeSkinData();
    Invalidate();
}

void TbsSkinCheckRadioBox::SetWordWrap(bool Value) {
    FWordWrap = Value;
    if (FFlat)
        Invalidate();
}

void TbsSkinCheckRadioBox::SetImages(TCustomImageList* Value) {
    SetBorrowed(this, FImages, Value);
    Invalidate();
}

void TbsSkinCheckRadioBox::SetImageIndex(int Value) {
    FImageIndex = Value;
    Invalidate();
}

void TbsSkinCheckRadioBox::SetUseSkinFontColor(bool Value) {
    FUseSkinFontColor = Value;
    Invalidate();
}

void TbsSkinCheckRadioBox::SetCanFocused(bool Value) {
    FCanFocused = Value;
    SetTabStop(Value);
}

void TbsSkinCheckRadioBox::UnCheckAll() {
    TWinControl* p = Parent();
    if (!p || FGroupIndex == 0)
        return;
    for (int i = 0; i < p->ControlCount(); ++i) {
        auto* c = dynamic_cast<TbsSkinCheckRadioBox*>(p->Controls(i));
        if (c && c != this && c->FGroupIndex == FGroupIndex && c->FChecked)
            c->SetChecked(false);
    }
}

void TbsSkinCheckRadioBox::SetCheckState() {
    if (!FRadio)
        SetChecked(!FChecked);
    else if (!FChecked)
        SetChecked(true);
}

void TbsSkinCheckRadioBox::Toggle() {
    if (!FRadio && FAllowGrayed && FState == cbUnchecked) {
        FState = cbGrayed;
        FChecked = false;
        Invalidate();
        if (OnClick)
            OnClick(this);
        return;
    }
    SetCheckState();
}

// ---- The skin entry -------------------------------------------------------------------------------------------------
void TbsSkinCheckRadioBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    auto* e = CheckEntry();
    if (!e)
        return;
    FontName = e->FontName;
    FontHeight = e->FontHeight;
    FontStyle = ToFontStyles(e->FontStyle);
    FontColor = static_cast<TColor>(e->FontColor);
    ActiveFontColor = static_cast<TColor>(e->ActiveFontColor);
    UnEnabledFontColor = static_cast<TColor>(e->UnEnabledFontColor);
    FrameFontColor = static_cast<TColor>(e->FrameFontColor);
    ActiveSkinRect = e->ActiveSkinRect.IsEmpty() ? G.SkinRect : e->ActiveSkinRect;
    CheckImageArea = e->CheckImageArea;
    TextArea = e->TextArea;
    CheckImageRect = e->CheckImageRect;
    UnCheckImageRect = e->UnCheckImageRect;
    ActiveCheckImageRect = e->ActiveCheckImageRect.IsEmpty() ? CheckImageRect : e->ActiveCheckImageRect;
    ActiveUnCheckImageRect = e->ActiveUnCheckImageRect.IsEmpty() ? UnCheckImageRect : e->ActiveUnCheckImageRect;
    UnEnabledCheckImageRect = e->UnEnabledCheckImageRect.IsEmpty() ? CheckImageRect : e->UnEnabledCheckImageRect;
    UnEnabledUnCheckImageRect =
        e->UnEnabledUnCheckImageRect.IsEmpty() ? UnCheckImageRect : e->UnEnabledUnCheckImageRect;
    GrayedCheckImageRect = e->GrayedCheckImageRect;
    ActiveGrayedCheckImageRect = e->ActiveGrayedCheckImageRect;
    FEntryMorphing = e->Morphing && !FFlat;
    MorphKind = e->MorphKind;
}

void TbsSkinCheckRadioBox::SetControlRegion() {
    if (FFlat) {
        TBitmap* keep = MaskPicture;
        MaskPicture = nullptr;
        TbsSkinCustomControl::SetControlRegion();
        MaskPicture = keep;
        return;
    }
    TbsSkinCustomControl::SetControlRegion();
}

void TbsSkinCheckRadioBox::CalcSize(int& W, int& H) {
    if (FFlat)
        return;
    TbsSkinCustomControl::CalcSize(W, H);
    if (!SkinLookAvailable())
        return;
    const int dw = W - G.SkinRect.Width();
    NewTextArea = TextArea;
    NewTextArea.Right += dw;
    TRect area = CheckImageArea;
    if (TextArea.Right < CheckImageArea.Right)
        area.Offset(dw, 0);
    const int cw = CheckImageRect.Width(), ch = CheckImageRect.Height();
    CIRect.Left = area.Left + (area.Width() - cw) / 2;
    CIRect.Top = area.Top + (area.Height() - ch) / 2;
    CIRect.Right = CIRect.Left + cw;
    CIRect.Bottom = CIRect.Top + ch;
}

void TbsSkinCheckRadioBox::ChangeSkinData() {
    if (!FFlat) {
        TbsSkinCustomControl::ChangeSkinData();
        return;
    }
    GetSkinData();
    SetControlRegion();
    Invalidate();
}

void TbsSkinCheckRadioBox::CheckParentBackground() {
    if (FFlat)
        Invalidate();
}

bool TbsSkinCheckRadioBox::EnableMorphing() const {
    return FEntryMorphing && !FFlat && FSD && !FSD->Empty && FSD->EnableSkinEffects;
}

bool TbsSkinCheckRadioBox::IsFocused() {
    return FCanFocused && HandleAllocated() && Focused();
}

// ---- Fade -----------------------------------------------------------------------------------------------------------
void TbsSkinCheckRadioBox::ReDrawControl() {
    FMorph.Redraw(EnableMorphing() && FIndex != -1, [this] { DoMorph(); }, [this] { Invalidate(); });
}

void TbsSkinCheckRadioBox::StartMorph() {
    FMorph.Start([this] { DoMorph(); });
}

void TbsSkinCheckRadioBox::StopMorph() {
    FMorph.Stop();
}

void TbsSkinCheckRadioBox::DoMorph() {
    if (FMorph.Tick(FIndex != -1 && EnableMorphing(), FMouseIn || IsFocused()))
        Invalidate();
}

// ---- Painting -------------------------------------------------------------------------------------------------------
TRect TbsSkinCheckRadioBox::CheckImageFor(bool AChecked, bool AGrayed, bool AHot) const {
    if (!const_cast<TbsSkinCheckRadioBox*>(this)->Enabled())
        return AChecked || AGrayed ? UnEnabledCheckImageRect : UnEnabledUnCheckImageRect;
    if (AHot)
        return AChecked || AGrayed ? ActiveCheckImageRect : ActiveUnCheckImageRect;
    return AChecked || AGrayed ? CheckImageRect : UnCheckImageRect;
}

void TbsSkinCheckRadioBox::SkinDrawCheckImage(TCanvas* C, int X, int Y, const TRect& R) {
    if (!RectInPicture(R, Picture))
        return;
    TBitmap b(R.Width(), R.Height());
    b.Canvas()->CopyRect({0, 0, R.Width(), R.Height()}, Picture->Canvas(), R);
    b.SetTransparent(true);
    C->Draw(X, Y, &b);
}

void TbsSkinCheckRadioBox::SkinDrawGrayedCheckImage(TCanvas* C, int X, int Y, const TRect& Source, bool AHot) {
    if (GrayedCheckImageRect.IsEmpty()) {
        if (!RectInPicture(Source, Picture))
            return;
        TBitmap b(Source.Width(), Source.Height());
        b.Canvas()->CopyRect({0, 0, Source.Width(), Source.Height()}, Picture->Canvas(), Source);
        if (auto e = TbsEffectBmp::CreateFromhWnd(b.Handle())) {
            e->ChangeBrightness(0.5);
            e->Draw(b.Canvas()->Handle(), 0, 0);
        }
        b.SetTransparent(true);
        C->Draw(X, Y, &b);
        return;
    }
    SkinDrawCheckImage(C, X, Y, AHot && !ActiveGrayedCheckImageRect.IsEmpty() ? ActiveGrayedCheckImageRect
                                                                               : GrayedCheckImageRect);
}

void TbsSkinCheckRadioBox::PrepareFont(TCanvas* C) {
    TFont* f = C->Font();
    f->Assign(DefaultFont());
    if (FUseSkinFont && SkinLookAvailable()) {
        f->SetName(FontName);
        f->SetHeight(FontHeight);
        f->SetStyle(FontStyle);
    }
    f->SetCharset(SkinFontCharset(FSD, DefaultFont()->Charset()));
}

void TbsSkinCheckRadioBox::PaintDefault(TCanvas* C, bool AChecked, bool AGrayed, bool AHot, bool AFlat) {
    const int w = Width(), h = Height();
    if (!AFlat) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clBtnFace);
        C->FillRect({0, 0, w, h});
        if (AHot || IsFocused()) {
            C->Brush()->SetColor(clBtnShadow);
            C->FrameRect({0, 0, w, h});
        }
    }
    const TRect box{3, h / 2 - 7, 17, h / 2 + 7};
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(AHot ? kFrameHot : TColor(clBtnShadow));
    C->FrameRect(box);
    C->Brush()->SetColor(clWindow);
    C->FillRect({box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1});
    if (AGrayed && !FRadio)
        DrawCheckImage(C, 7, h / 2 - 4, clGrayText);
    else if (AChecked) {
        const TColor ink = Enabled() ? TColor(clBlack) : TColor(clBtnShadow);
        if (FRadio)
            DrawRadioImage(C, 7, h / 2 - 3, ink);
        else
            DrawCheckImage(C, 7, h / 2 - 4, ink);
    }
    PrepareFont(C);
    C->Font()->SetColor(Enabled() ? DefaultFont()->Color() : TColor(clBtnShadow));
    C->Brush()->SetStyle(bsClear);
    const std::wstring text = Caption();
    if (!AFlat) {
        BSDrawText(C, text, {19, 0, w, h});
        return;
    }
    // The focus frame is drawn in the caption's colour over the button face.
    FlatCaption(C, 22, 5, clBtnFace, {box.Left, box.Top, box.Right, box.Bottom});
}

void TbsSkinCheckRadioBox::FlatCaption(TCanvas* C, int Left, int ImageGap, TColor FocusFace, const TRect& Box) {
    const int w = Width(), h = Height();
    int left = Left;
    if (FImages && FImageIndex >= 0 && FImageIndex < FImages->Count()) {
        FImages->Draw(C, left, h / 2 - FImages->Height() / 2, FImageIndex, Enabled());
        left += FImages->Width() + ImageGap;
    }
    const std::wstring text = Caption();
    TRect r;
    if (FWordWrap) {
        TRect m{left, 0, w, h};
        C->DrawText(text, m, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        r = {left, std::max(0, h / 2 - m.Height() / 2), std::min(m.Right, w - 2), 0};
        r.Bottom = r.Top + m.Height();
        TRect d = r;
        C->DrawText(text, d, DT_WORDBREAK | DT_EXPANDTABS);
    } else {
        const TSize sz = C->TextExtent(text);
        r = {left, h / 2 - sz.cy / 2, std::min(left + sz.cx, w - 2), h / 2 - sz.cy / 2 + sz.cy};
        BSDrawText(C, text, {left, 0, w - 2, h});
    }
    if (!IsFocused())
        return;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FocusFace);
    if (text.empty())
        DrawSkinFocusRect(C, {Box.Left - 1, Box.Top - 1, Box.Right + 1, Box.Bottom + 1});
    else
        DrawSkinFocusRect(C, {r.Left - 2, r.Top - 1, r.Right + 3, r.Bottom + 1});
}

void TbsSkinCheckRadioBox::PaintFlat(TCanvas* C, bool AChecked, bool AGrayed, bool AHot) {
    const int h = Height();
    const TRect img = CheckImageFor(AChecked, AGrayed, AHot);
    const int iy = h / 2 - CheckImageRect.Height() / 2;
    if (AGrayed && !FRadio)
        SkinDrawGrayedCheckImage(C, 3, iy, img, AHot);
    else
        SkinDrawCheckImage(C, 3, iy, img);
    PrepareFont(C);
    TColor colour = Enabled() ? FrameFontColor : UnEnabledFontColor;
    if (!FUseSkinFontColor)
        colour = DefaultFont()->Color();
    C->Font()->SetColor(colour);
    C->Brush()->SetStyle(bsClear);
    FlatCaption(C, CheckImageRect.Width() + 7, 8,
                FSD ? static_cast<TColor>(FSD->SkinColors()->cBtnFace) : TColor(clBtnFace),
                {3, iy, 3 + CheckImageRect.Width(), iy + CheckImageRect.Height()});
}

void TbsSkinCheckRadioBox::CreateImage(TBitmap* B, const TRect& R, bool AActive, bool AChecked, bool AGrayed,
                                       bool AHot) {
    TbsControlGeometry g = G;
    g.SkinRect = R;
    CreateSkinControlImage(B, Picture, g, Width(), Height(), false);
    TCanvas* C = B->Canvas();
    const TRect img = CheckImageFor(AChecked, AGrayed, AHot);
    if (AGrayed && !FRadio)
        SkinDrawGrayedCheckImage(C, CIRect.Left, CIRect.Top, img, AHot);
    else
        SkinDrawCheckImage(C, CIRect.Left, CIRect.Top, img);
    PrepareFont(C);
    C->Font()->SetColor(!Enabled() ? UnEnabledFontColor : AActive ? ActiveFontColor : FontColor);
    C->Brush()->SetStyle(bsClear);
    BSDrawText(C, Caption(), NewTextArea);
}

void TbsSkinCheckRadioBox::CreateControlDefaultImage(TBitmap* B) {
    PaintDefault(B->Canvas(), FChecked, FState == cbGrayed, FMouseIn, false);
}

void TbsSkinCheckRadioBox::Paint() {
    const int w = Width(), h = Height();
    if (w < 1 || h < 1)
        return;
    GetSkinData();
    TBitmap b(w, h);
    const bool grayed = FState == cbGrayed;
    const bool hot = FMouseIn && Enabled();
    if (FFlat) {
        GetParentImage(this, b.Canvas());
        if (SkinLookAvailable())
            PaintFlat(b.Canvas(), FChecked, grayed, hot);
        else
            PaintDefault(b.Canvas(), FChecked, grayed, hot, true);
        Canvas()->Draw(0, 0, &b);
        return;
    }
    if (!SkinLookAvailable()) {
        TbsSkinCustomControl::Paint();
        return;
    }
    int cw = w, ch = h;
    CalcSize(cw, ch);
    if (EnableMorphing() && FMorph.Kf > 0 && FMorph.Kf < 1) {
        TBitmap normal(w, h), active(w, h);
        CreateImage(&normal, G.SkinRect, false, FChecked, grayed, hot);
        CreateImage(&active, ActiveSkinRect, true, FChecked, grayed, hot);
        BlendMorph(&normal, &active, MorphKind, FMorph.Kf, b.Canvas()->Handle());
    } else if (FMouseIn || IsFocused()) {
        CreateImage(&b, ActiveSkinRect, true, FChecked, grayed, hot);
    } else {
        CreateImage(&b, G.SkinRect, false, FChecked, grayed, hot);
    }
    Canvas()->Draw(0, 0, &b);
}

void TbsSkinCheckRadioBox::PaintSkinTo(HDC DC, int X, int Y, bool AChecked) {
    const int w = Width(), h = Height();
    if (w < 1 || h < 1)
        return;
    GetSkinData();
    TBitmap b(w, h);
    if (FFlat) {
        GetParentImage(this, b.Canvas());
        if (SkinLookAvailable())
            PaintFlat(b.Canvas(), AChecked, false, false);
        else
            PaintDefault(b.Canvas(), AChecked, false, false, true);
    } else {
        if (!SkinLookAvailable())
            return;
        int cw = w, ch = h;
        CalcSize(cw, ch);
        CreateImage(&b, G.SkinRect, false, AChecked, false, false);
    }
    BitBlt(DC, X, Y, w, h, b.Canvas()->Handle(), 0, 0, SRCCOPY);
}

// ---- Input ----------------------------------------------------------------------------------------------------------
void TbsSkinCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft)
        FDown = true;
    if (!FMouseIn) {
        FMouseIn = true;
        ReDrawControl();
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCheckRadioBox::MouseMove(TShiftState Shift, int X, int Y) {
    if (FDown) {
        const bool inside = X >= 0 && Y >= 0 && X <= Width() && Y <= Height();
        if (!inside && FMouseIn)
            Perform(CM_MOUSELEAVE);
        else if (inside && !FMouseIn)
            Perform(CM_MOUSEENTER);
    }
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && FMouseIn && FDown) {
        FDown = false;
        Toggle();
    } else if (Button == mbLeft) {
        FDown = false;
    }
}

void TbsSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        FImages = nullptr;
}

void TbsSkinCheckRadioBox::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYUP:
            if (Message.WParam == VK_SPACE && FCanFocused && HandleAllocated() && Focused())
                SetCheckState();
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (FCanFocused && !TakeFocusForClick(this, FClicksDisabled))
                return;
            break;
        case CN_COMMAND:
            if (FClicksDisabled)
                return;
            break;
        case BM_CLICK:
            Toggle();
            return;
        case BM_GETCHECK:
            Message.Result = FState == cbGrayed ? BST_INDETERMINATE : FChecked ? BST_CHECKED : BST_UNCHECKED;
            return;
        case BM_SETCHECK:
            if (Message.WParam == BST_INDETERMINATE && !FRadio)
                SetState(cbGrayed);
            else
                SetChecked(Message.WParam == BST_CHECKED);
            return;
        case WM_SETTEXT:
            TbsSkinCustomControl::WndProc(Message);
            Invalidate();
            return;
        case CM_CANCELMODE:
            FDown = false;
            break;
        case CM_DIALOGCHAR:
            if (IsAccel(static_cast<WORD>(Message.WParam), Caption()) && CanFocus() && FCanFocused) {
                SetFocus();
                SetCheckState();
                Message.Result = 1;
                return;
            }
            break;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            FMouseIn = Message.Msg == CM_MOUSEENTER;
            ReDrawControl();
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TbsSkinCustomControl::WndProc(Message);
            if (FCanFocused) {
                if (FFlat)
                    Invalidate();
                else
                    ReDrawControl();
            }
            return;
        case WM_MOVE:
            if (FFlat)
                Invalidate();
            break;
        case WM_ERASEBKGND:
            if (!FromWMPaint && !FFlat && Message.WParam)
                PaintTo(reinterpret_cast<HDC>(Message.WParam), 0, 0);
            Message.Result = 1;
            return;
        case CM_ENABLEDCHANGED:
            if (EnableMorphing()) {
                StopMorph();
                FMorph.Kf = 0;
            }
            FMouseIn = false;
            Invalidate();
            break;
        case CM_TEXTCHANGED:
            Invalidate();
            break;
        default:
            break;
    }
    TbsSkinCustomControl::WndProc(Message);
}
