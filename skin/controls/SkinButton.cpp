#include "skin/controls/SkinButton.h"

#include <algorithm>

#include "base/Report.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "skin/controls/ControlMorph.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/LayerWindow.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"

// ---- TbsLayerGlow ---------------------------------------------------------------------------------------------------
TbsLayerGlow::TbsLayerGlow() : FManager(std::make_unique<TbsLayerManager>(nullptr)) {}
TbsLayerGlow::~TbsLayerGlow() = default;

void TbsLayerGlow::Show(int X, int Y, TBitmap* Image, TBitmap* Mask, int Alpha) {
    FManager->Show(X, Y, Image, Mask, Alpha);
}
void TbsLayerGlow::Hide() {
    FManager->Hide();
}
bool TbsLayerGlow::IsVisible() const {
    return FManager->IsVisible;
}
void TbsLayerGlow::SetTopMost(bool Value) {
    FManager->TopMostMode = Value;
}

// ---- TbsSkinButton --------------------------------------------------------------------------------------------------
TbsSkinButton::TbsSkinButton(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()), FGlowLayer(std::make_unique<TbsLayerGlow>()) {
    FSkinDataName = L"button";
    FDefaultWidth = 75;
    FDefaultHeight = 25;
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    // The button makes its clicks itself (press, release, keys); the library's click on release would repeat them.
    TControlStyle style = ControlStyle();
    style.Exclude(csClickEvents);
    SetControlStyle(style);
}

TbsSkinButton::~TbsSkinButton() {
    StopFrameAnimation();
    FMorph.Stop();
    FRepeatTimer.reset();
}

TbsDataSkinButtonControl* TbsSkinButton::ButtonEntry() const {
    return dynamic_cast<TbsDataSkinButtonControl*>(Entry());
}

bool TbsSkinButton::SkinLookAvailable() const {
    return TbsSkinCustomControl::SkinLookAvailable() && ButtonEntry() != nullptr;
}

void TbsSkinButton::SetGlowLayer(std::unique_ptr<IbsGlowLayer> Value) {
    FGlowLayer = std::move(Value);
}

// ---- Properties -----------------------------------------------------------------------------------------------------
void TbsSkinButton::SetTransparent(bool Value) {
    FTransparent = Value;
    Invalidate();
}

void TbsSkinButton::SetCheckedMode(bool Value) {
    FCheckedMode = Value;
    if (Value)
        SetGroupIndex(-1);
    else if (FGroupIndex == -1)
        SetGroupIndex(0);
}

void TbsSkinButton::SetImageList(TCustomImageList* Value) {
    SetBorrowed(this, FImageList, Value);
    Invalidate();
}

void TbsSkinButton::SetImageIndex(int Value) {
    FImageIndex = Value;
    Invalidate();
}

void TbsSkinButton::SetUseSkinSize(bool Value) {
    FUseSkinSize = Value;
    Invalidate();
}

void TbsSkinButton::SetUseSkinFontColor(bool Value) {
    FUseSkinFontColor = Value;
    Invalidate();
}

void TbsSkinButton::SetCanFocused(bool Value) {
    FCanFocused = Value;
    SetTabStop(Value);
}

void TbsSkinButton::SetGroupIndex(int Value) {
    FGroupIndex = Value;
    if (Value != 0)
        SetCanFocused(false);
}

void TbsSkinButton::SetGlyph(TBitmap* Value) {
    FGlyph->Assign(Value);
    Invalidate();
}

void TbsSkinButton::SetNumGlyphs(int Value) {
    FNumGlyphs = std::clamp(Value, 1, 4);
    Invalidate();
}

void TbsSkinButton::SetMargin(int Value) {
    if (Value < -1)
        return;
    FMargin = Value;
    Invalidate();
}

void TbsSkinButton::SetSpacing(int Value) {
    FSpacing = Value;
    Invalidate();
}

void TbsSkinButton::SetLayout(TbsButtonLayout Value) {
    FLayout = Value;
    Invalidate();
}

void TbsSkinButton::SetShellImage(bool Value) {
    FShellImage = Value;
    Invalidate();
}

void TbsSkinButton::SetSkinImagesMenu(IbsImagesMenu* Value) {
    if (FSkinImagesMenu)
        FSkinImagesMenu->OnChange = nullptr;
    FSkinImagesMenu = Value;
    if (Value)
        Value->OnChange = [this] { Invalidate(); };
    Invalidate();
}

void TbsSkinButton::SetUseImagesMenuImage(bool Value) {
    FUseImagesMenuImage = Value;
    Invalidate();
}

void TbsSkinButton::SetUseImagesMenuCaption(bool Value) {
    FUseImagesMenuCaption = Value;
    Invalidate();
}

void TbsSkinButton::SetDownState(bool Value) {
    FDownState = Value;
    Invalidate();
}

void TbsSkinButton::SetDefault(bool Value) {
    FDefault = Value;
    if (!HandleAllocated() || !FCanFocused)
        return;
    if (TCustomForm* form = GetParentForm(this))
        Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TbsSkinButton::SetDown(bool Value) {
    FDown = Value;
    if (EnableMorphing()) {
        FMorph.Kf = 1;
        if (Value)
            StopMorph();
        else
            StartMorph();
    }
    Invalidate();
    if (FGroupIndex > 0 && FDown && !FAllowAllUp && Parent()) {
        TWinControl* p = Parent();
        for (int i = 0; i < p->ControlCount(); ++i) {
            auto* b = dynamic_cast<TbsSkinButton*>(p->Controls(i));
            if (b && b != this && b->FGroupIndex == FGroupIndex && b->FDown)
                b->SetDown(false);
        }
    }
}

// ---- The skin entry -------------------------------------------------------------------------------------------------
void TbsSkinButton::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        AnimateSkinRect = {};
        return;
    }
    auto* e = ButtonEntry();
    if (!e)
        return;
    ReadButtonEntry(*e, G.SkinRect);
    FocusedSkinRect = e->FocusedSkinRect;
    ShowFocus = e->ShowFocus;
    GlowLayerPictureIndex = e->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = e->GlowLayerMaskPictureIndex;
    GlowLayerOffsetLeft = e->GlowLayerOffsetLeft;
    GlowLayerOffsetRight = e->GlowLayerOffsetRight;
    GlowLayerOffsetTop = e->GlowLayerOffsetTop;
    GlowLayerOffsetBottom = e->GlowLayerOffsetBottom;
    GlowLayerShowOffsetX = e->GlowLayerShowOffsetX;
    GlowLayerShowOffsetY = e->GlowLayerShowOffsetY;
    GlowLayerAlphaBlendValue = e->GlowLayerAlphaBlendValue;
    ShowAnimationFrame(HasAnimationFrames(), G.SkinRect);
}

void TbsSkinButton::SetControlRegion() {
    // Without the skin's size rule the mask would not fit the stretched picture.
    if (!FUseSkinSize) {
        TBitmap* keep = MaskPicture;
        MaskPicture = nullptr;
        TbsSkinCustomControl::SetControlRegion();
        MaskPicture = keep;
        return;
    }
    TbsSkinCustomControl::SetControlRegion();
}

void TbsSkinButton::CalcSize(int& W, int& H) {
    if (!FUseSkinSize && SkinLookAvailable() && G.ResizeMode != rmBoth) {
        const int dw = W - G.SkinRect.Width(), dh = H - G.SkinRect.Height();
        G.NewClRect = G.ClRect;
        G.NewClRect.Right += dw;
        G.NewClRect.Bottom += dh;
        return;
    }
    TbsSkinCustomControl::CalcSize(W, H);
}

void TbsSkinButton::BeforeChangeSkinData() {
    if (FGlowLayer && FGlowLayer->IsVisible())
        FGlowLayer->Hide();
    TbsSkinCustomControl::BeforeChangeSkinData();
}

void TbsSkinButton::ChangeSkinData() {
    StopMorph();
    StopAnimate();
    FMorph.Kf = 0;
    TbsSkinCustomControl::ChangeSkinData();
    if (EnableMorphing() && FIndex != -1 && (IsFocused() || FMouseIn))
        FMorph.Kf = 1;
    if (FMouseIn && HandleAllocated())
        PostMessageW(Handle(), WM_SHOWLAYER, 0, 0);
}

void TbsSkinButton::CheckParentBackground() {
    if (FTransparent && !FDown && !FMouseIn)
        Invalidate();
}

bool TbsSkinButton::EnableMorphing() const {
    return FEntryMorphing && FIndex != -1 && ButtonEntry() && FSD && !FSD->Empty && FSD->EnableSkinEffects;
}

bool TbsSkinButton::EnableAnimation() const {
    return FSD && !FSD->Empty && FSD->EnableSkinEffects;
}

bool TbsSkinButton::HasAnimationFrames() const {
    // No frames to step through when the count is 0 or less.
    return FIndex != -1 && EnableAnimation() && !AnimateSkinRect.IsEmpty() && FrameCount > 0;
}

bool TbsSkinButton::IsFocused() {
    return FCanFocused && HandleAllocated() && Focused();
}

// ---- Painting -------------------------------------------------------------------------------------------------------
int TbsSkinButton::GetGlyphNum(bool ADown, bool AMouseIn) const {
    return ButtonGlyphNumber(ADown, AMouseIn, const_cast<TbsSkinButton*>(this)->Enabled(), FNumGlyphs);
}

TColor TbsSkinButton::PrepareFont(TCanvas* C, bool ADown, bool AMouseIn, bool PressedPicture) {
    TbsButtonFont in =
        ButtonFontOf(DefaultFont(), FSD, SkinLookAvailable(), FUseSkinFont, FUseSkinFontColor, Enabled());
    in.TransparentIdle = FTransparent;
    return ApplyButtonFont(C, in, ADown, AMouseIn, PressedPicture);
}

void TbsSkinButton::DrawContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn) {
    if (SkinLookAvailable() && ShowFocus && HandleAllocated() && Focused()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FSD ? static_cast<TColor>(FSD->SkinColors()->cBtnFace) : TColor(clBtnFace));
        DrawSkinFocusRect(C, R);
    }
    bool drawDefault = true;
    if (OnPaint)
        OnPaint(this, C, R, ADown, AMouseIn, drawDefault);
    if (!drawDefault)
        return;
    TbsButtonContent b;
    b.Caption = Caption();
    b.Margin = FMargin;
    b.Spacing = FSpacing;
    b.Layout = FLayout;
    b.ImagesMenu = FSkinImagesMenu;
    b.UseImagesMenuImage = FUseImagesMenuImage;
    b.UseImagesMenuCaption = FUseImagesMenuCaption;
    b.Images = FImageList;
    b.ImageIndex = FImageIndex;
    b.ShellImage = FShellImage;
    b.Glyph = FGlyph->Empty() ? nullptr : FGlyph.get();
    b.NumGlyphs = FNumGlyphs;
    b.GlyphNum = GetGlyphNum(ADown, AMouseIn);
    b.Enabled = Enabled();
    b.Shift = ADown && AMouseIn;
    DrawButtonContent(C, R, b);
}

void TbsSkinButton::DefaultArea(TCanvas* C, const TRect& R, int Kind) {
    DrawButtonArea(C, R, Kind, clBtnShadow, false);
}

void TbsSkinButton::CreateControlDefaultImage(TBitmap* B) {
    const TRect r{0, 0, B->Width(), B->Height()};
    const bool pressed = FDown && (FMouseIn || (IsFocused() && !FMouseDown) || FGroupIndex != 0);
    DefaultArea(B->Canvas(), r, pressed || FDownState ? 2 : (FMouseIn || IsFocused()) ? 1 : 0);
    FLastRect = {};
    PrepareFont(B->Canvas(), FDown, FMouseIn, false);
    DrawContent(B->Canvas(), r, FDown, FMouseIn);
}

void TbsSkinButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    if (!FUseSkinSize && G.ResizeMode != rmBoth) {
        CreateStrechButtonImage(B, R, ADown, AMouseIn);
        return;
    }
    const int w = Width(), h = Height();
    if (ADown || AMouseIn || !FTransparent) {
        TbsControlGeometry g = G;
        g.SkinRect = R;
        CreateSkinControlImage(B, Picture, g, w, h, false);
    } else {
        GetParentImage(this, B->Canvas());
    }
    PrepareFont(B->Canvas(), ADown, AMouseIn, ADown && AMouseIn);
    DrawContent(B->Canvas(), G.NewClRect, ADown, AMouseIn);
}

void TbsSkinButton::CreateStrechButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    const int w = B->Width(), h = B->Height();
    if (ADown || AMouseIn || !FTransparent) {
        if (RectInPicture(R, Picture)) {
            if (G.ResizeMode == rmFixed) {
                SetStretchBltMode(B->Canvas()->Handle(), COLORONCOLOR);
                StretchBlt(B->Canvas()->Handle(), 0, 0, w, h, Picture->Canvas()->Handle(), R.Left, R.Top, R.Width(),
                           R.Height(), SRCCOPY);
            } else if (G.ResizeMode == rmWidth || G.ResizeMode == rmHeight) {
                TBitmap out;
                out.SetSize(w, h);
                CreateStretchImage(&out, Picture, R, G.ClRect, true);
                B->Canvas()->Draw(0, 0, &out);
            }
        }
    } else {
        GetParentImage(this, B->Canvas());
    }
    TRect text = G.ClRect;
    text.Right += w - R.Width();
    text.Bottom += h - R.Height();
    PrepareFont(B->Canvas(), ADown, AMouseIn, ADown && AMouseIn);
    DrawContent(B->Canvas(), text, ADown, AMouseIn);
}

void TbsSkinButton::Paint() {
    const int w = Width(), h = Height();
    if (w < 1 || h < 1)
        return;
    GetSkinData();
    if (!SkinLookAvailable()) {
        TbsSkinCustomControl::Paint();
        return;
    }
    int cw = w, ch = h;
    CalcSize(cw, ch);
    TBitmap b(w, h);
    const bool focused = IsFocused();
    if (EnableMorphing() && FMorph.Kf > 0 && FMorph.Kf < 1 && Enabled()) {
        TBitmap normal(w, h), hot(w, h);
        CreateButtonImage(&normal, G.SkinRect, false, false);
        CreateButtonImage(&hot, ActiveSkinRect, false, true);
        BlendMorph(&normal, &hot, MorphKind, FMorph.Kf, b.Canvas()->Handle());
        FLastRect = {};
    } else {
        TRect r;
        bool down = false, hotLook = false;
        if (!Enabled() && !DisabledSkinRect.IsEmpty()) {
            r = DisabledSkinRect;
        } else if (FDownState || (FDown && (FMouseIn || (focused && !FMouseDown) || FGroupIndex != 0))) {
            r = DownSkinRect;
            down = hotLook = true;
        } else if (focused && !FocusedSkinRect.IsEmpty() && !FAnimateTimer) {
            r = FocusedSkinRect;
            hotLook = true;
        } else if (focused || FMouseIn || (EnableMorphing() && FMorph.Kf == 1)) {
            r = ActiveSkinRect;
            hotLook = true;
        } else {
            r = G.SkinRect;
        }
        FLastRect = r;
        CreateButtonImage(&b, r, down, hotLook);
    }
    Canvas()->Draw(0, 0, &b);
}

void TbsSkinButton::DrawMenuMarker(TCanvas* C, const TRect& R, bool AActive, bool ADown) {
    TRect src;
    if (FTransparent && !AActive && !ADown && !MenuMarkerFlatRect.IsEmpty())
        src = MenuMarkerFlatRect;
    else if (ADown)
        src = MenuMarkerDownRect;
    else if (AActive)
        src = MenuMarkerActiveRect;
    else
        src = MenuMarkerRect;
    if (!RectInPicture(src, Picture))
        return;
    TBitmap m(src.Width(), src.Height());
    m.Canvas()->CopyRect({0, 0, src.Width(), src.Height()}, Picture->Canvas(), src);
    m.SetTransparentColor(MenuMarkerTransparentColor);
    m.SetTransparent(true);
    C->Draw(R.Left + (R.Width() - src.Width()) / 2, R.Top + (R.Height() - src.Height()) / 2, &m);
}

// ---- Fade, animation, repeat ----------------------------------------------------------------------------------------
void TbsSkinButton::ReDrawControl() {
    FMorph.Redraw(EnableMorphing() && FIndex != -1, [this] { DoMorph(); }, [this] { Invalidate(); });
}

void TbsSkinButton::StartMorph() {
    FMorph.Start([this] { DoMorph(); });
}

void TbsSkinButton::StopMorph() {
    FMorph.Stop();
}

void TbsSkinButton::DoMorph() {
    const bool lit = FMouseIn || IsFocused();
    if (FStopAnimate && IsFocused()) {
        // The form is fading in: the focused look shows at once.
        FStopAnimate = false;
        StopAnimate();
        FMorph.Settle(true);
        Invalidate();
        return;
    }
    if (FMorph.Tick(FIndex != -1 && EnableMorphing(), lit))
        Invalidate();
}

void TbsSkinButton::StopAnimateForFadeIn() {
    FStopAnimate = true;
}

void TbsSkinButton::StartAnimate(bool AInc) {
    StartFrameAnimation(AInc, [this] { DoAnimate(); });
}

void TbsSkinButton::StopAnimate() {
    StopFrameAnimation();
}

void TbsSkinButton::DoAnimate() {
    StepFrameAnimation();
    Invalidate();
}

void TbsSkinButton::StartRepeat() {
    FRepeatTimer = StartAutoRepeat([this] { return FRepeatInterval; }, [this] { ButtonClick(); });
}

void TbsSkinButton::StopRepeat() {
    FRepeatTimer.reset();
}

void TbsSkinButton::RefreshButton() {
    FMouseIn = false;
    FDown = false;
    if (EnableMorphing())
        FMorph.Kf = 0;
    StopAnimate();
    Invalidate();
}

// ---- Click and mouse ------------------------------------------------------------------------------------------------
void TbsSkinButton::ButtonClick() {
    if (FCanFocused)
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(FModalResult);
    if (OnClick)
        OnClick(this);
}

void TbsSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (FAnimateTimer)
            StopAnimate();
        FMouseDown = true;
        if (!FDown) {
            FMouseIn = true;
            SetDown(true);
            if (FCheckedMode) {
                FStopMouseUp = true;
                ButtonClick();
            } else if (FRepeatMode && FGroupIndex == 0) {
                StartRepeat();
            } else if (FGroupIndex != 0) {
                ButtonClick();
            }
            FAllowAllUpCheck = false;
        } else if (FGroupIndex != 0) {
            FAllowAllUpCheck = true;
        }
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinButton::MouseMove(TShiftState Shift, int X, int Y) {
    if (FMouseDown && HandleAllocated()) {
        const HWND under = ControlSeam().WindowUnderCursor();
        if (under != Handle() && FMouseIn)
            Perform(CM_MOUSELEAVE);
        else if (under == Handle() && !FMouseIn)
            Perform(CM_MOUSEENTER);
    }
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && FMouseDown) {
        FMouseDown = false;
        if (FCheckedMode) {
            if (FStopMouseUp) {
                FStopMouseUp = false;
            } else {
                SetDown(false);
                ButtonClick();
            }
        } else if (FGroupIndex == 0) {
            if (FMouseIn) {
                const bool wasDown = FDown;
                SetDown(false);
                StopRepeat();
                if (wasDown)
                    ButtonClick();
            } else {
                FDown = false;
                StopRepeat();
            }
        } else if (FDown && FAllowAllUp && FAllowAllUpCheck && FMouseIn) {
            SetDown(false);
            ButtonClick();
        }
    }
    if (HandleAllocated() && Showing())
        TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinButton::CancelPress() {
    const bool pressed = FMouseDown || FRepeatTimer;
    FMouseDown = false;
    FStopMouseUp = false;
    StopRepeat();
    if (HandleAllocated() && GetCapture() == Handle())
        ReleaseCapture();
    if (pressed && FGroupIndex == 0 && FDown) {
        FDown = false;
        Invalidate();
    }
}

bool TbsSkinButton::LookFollowsMouse() {
    if (FGroupIndex != 0)
        return !FDown;
    return !IsFocused() || FDown;
}

void TbsSkinButton::DoMouseEnter() {
    FMouseIn = true;
    if (LookFollowsMouse()) {
        if (FDown) {
            if (EnableMorphing())
                FMorph.Kf = 1;
            Invalidate();
        } else {
            if (HasAnimationFrames())
                StartAnimate(true);
            ReDrawControl();
        }
    }
    if (FDown && FRepeatMode && FGroupIndex == 0 && FMouseDown)
        StartRepeat();
    if (HandleAllocated())
        PostMessageW(Handle(), WM_SHOWLAYER, 0, 0);
}

void TbsSkinButton::DoMouseLeave() {
    const bool was = FMouseIn;
    if (!(FCanFocused && FDefault && FActive && !IsFocused()))
        FMouseIn = false;
    if (LookFollowsMouse()) {
        if (was != FMouseIn && HasAnimationFrames())
            StartAnimate(false);
        ReDrawControl();
    }
    if (FDown && FRepeatMode && FRepeatTimer && FGroupIndex == 0)
        StopRepeat();
    if (HandleAllocated())
        PostMessageW(Handle(), WM_HIDELAYER, 0, 0);
}

// ---- Glow -----------------------------------------------------------------------------------------------------------
bool TbsSkinButton::GlowAvailable() const {
    return FGlowLayer && FSD && !FSD->Empty && FIndex != -1 && CheckW2KWXP() &&
           (FSD->ShowButtonGlowFrames || FAlwaysShowLayeredFrame) && GlowLayerPictureIndex != -1;
}

bool TbsSkinButton::GlowImages(TBitmap& Image, TBitmap& Mask) {
    TBitmap* pic = SkinPictureAt(FSD, GlowLayerPictureIndex);
    TBitmap* mask = SkinPictureAt(FSD, GlowLayerMaskPictureIndex);
    if (!pic || !mask || pic->Empty() || mask->Empty())
        return false;
    const TRect whole{0, 0, pic->Width(), pic->Height()};
    const TRect wholeMask{0, 0, mask->Width(), mask->Height()};
    const int dw = Width() - G.SkinRect.Width(), dh = Height() - G.SkinRect.Height();
    switch (G.ResizeMode) {
        case rmFixed:
            Image.Assign(pic);
            Mask.Assign(mask);
            return true;
        case rmWidth:
            if (!FUseSkinSize)
                return false;
            CreateHSkinImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, &Image, pic, whole, whole.Width() + dw,
                             whole.Height(), false);
            CreateHSkinImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, &Mask, mask, wholeMask,
                             wholeMask.Width() + dw, wholeMask.Height(), false);
            return true;
        case rmBoth: {
            Image.SetSize(whole.Width() + dw, whole.Height() + dh);
            Mask.SetSize(wholeMask.Width() + dw, wholeMask.Height() + dh);
            const TRect in{GlowLayerOffsetLeft, GlowLayerOffsetTop, whole.Width() - GlowLayerOffsetRight,
                           whole.Height() - GlowLayerOffsetBottom};
            const TRect inMask{GlowLayerOffsetLeft, GlowLayerOffsetTop, wholeMask.Width() - GlowLayerOffsetRight,
                               wholeMask.Height() - GlowLayerOffsetBottom};
            CreateStretchImage(&Image, pic, whole, in, true);
            CreateStretchImage(&Mask, mask, wholeMask, inMask, true);
            return true;
        }
        default:
            return false;
    }
}

void TbsSkinButton::ShowLayer() {
    GetSkinData();
    if (!GlowAvailable() || !HandleAllocated())
        return;
    TCustomForm* form = GetParentForm(this);
    FGlowLayer->SetTopMost(form && form->FormStyle() == fsStayOnTop);
    TBitmap image, mask;
    if (!GlowImages(image, mask))
        return;
    const TPoint p = ClientToScreen({0, 0});
    FGlowLayer->Show(p.X - GlowLayerShowOffsetX, p.Y - GlowLayerShowOffsetY, &image, &mask,
                     GlowLayerAlphaBlendValue);
}

void TbsSkinButton::HideLayer() {
    GetSkinData();
    if (!GlowAvailable())
        return;
    const bool mode = G.ResizeMode == rmFixed || G.ResizeMode == rmBoth || (G.ResizeMode == rmWidth && FUseSkinSize);
    if (mode && FGlowLayer->IsVisible())
        FGlowLayer->Hide();
}

// ---- Messages -------------------------------------------------------------------------------------------------------
void TbsSkinButton::CreateWnd() {
    TbsSkinCustomControl::CreateWnd();
    FActive = FDefault;
}

void TbsSkinButton::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImageList)
        FImageList = nullptr;
}

void TbsSkinButton::WndProc(TMessage& Message) {
    if (FCanFocused) {
        switch (Message.Msg) {
            case WM_KEYDOWN:
                if (Message.WParam == VK_SPACE && FSpaceSupport) {
                    if (FAnimateTimer)
                        StopAnimate();
                    SetDown(true);
                    if (FRepeatMode)
                        ButtonClick();
                } else if (Message.WParam == VK_RETURN && FSpaceSupport) {
                    ButtonClick();
                }
                break;
            case WM_KEYUP:
                if (Message.WParam == VK_SPACE) {
                    SetDown(false);
                    ButtonClick();
                }
                break;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                if (!TakeFocusForClick(this, FClicksDisabled))
                    return;
                break;
            default:
                break;
        }
    }
    switch (Message.Msg) {
        case WM_SHOWLAYER:
            ShowLayer();
            return;
        case WM_HIDELAYER:
            HideLayer();
            return;
        case BM_CLICK:
            ButtonClick();
            return;
        case BM_GETCHECK:
            Message.Result = FDown ? BST_CHECKED : BST_UNCHECKED;
            return;
        case BM_SETCHECK:
            SetDown(Message.WParam == BST_CHECKED);
            return;
        case WM_SETTEXT:
            TbsSkinCustomControl::WndProc(Message);
            Invalidate();
            return;
        case CM_CANCELMODE:
            CancelPress();
            break;
        case CM_DIALOGKEY: {
            const WORD key = static_cast<WORD>(Message.WParam);
            if (key == VK_RETURN && FActive && Enabled()) {
                ButtonClick();
                Message.Result = 1;
                return;
            }
            if (key == VK_ESCAPE && FCancel && FCanFocused && !GetShiftState().Contains(ssShift) && CanFocus()) {
                ButtonClick();
                Message.Result = 1;
                return;
            }
            break;
        }
        case CM_DIALOGCHAR:
            if (IsAccel(static_cast<WORD>(Message.WParam), Caption()) && CanFocus() && FCanFocused) {
                SetFocus();
                ButtonClick();
                Message.Result = 1;
                return;
            }
            break;
        case CM_FOCUSCHANGED: {
            auto* sender = reinterpret_cast<TWinControl*>(Message.LParam);
            const bool senderIsButton = dynamic_cast<TbsSkinButton*>(sender) != nullptr;
            FActive = senderIsButton ? sender == this : FDefault;
            if (FCanFocused && FDefault) {
                if (senderIsButton && sender != this && FMouseIn) {
                    FMouseIn = false;
                    ReDrawControl();
                } else if (!senderIsButton && !FMouseIn) {
                    FMouseIn = true;
                    if (EnableMorphing())
                        FMorph.Kf = 1;
                    Invalidate();
                }
            }
            break;
        }
        case WM_SETFOCUS:
            TbsSkinCustomControl::WndProc(Message);
            if (FCanFocused && !FDownState) {
                if (HasAnimationFrames())
                    StartAnimate(true);
                ReDrawControl();
            }
            return;
        case WM_KILLFOCUS:
            StopRepeat();
            if (FGroupIndex == 0 && FDown)
                FDown = false;
            TbsSkinCustomControl::WndProc(Message);
            if (FCanFocused && !FDownState) {
                if (HasAnimationFrames())
                    StartAnimate(false);
                if (EnableMorphing() && FIndex != -1)
                    StartMorph();
                else
                    Invalidate();
            }
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
        case CM_MOUSEENTER:
            DoMouseEnter();
            break;
        case CM_MOUSELEAVE:
            DoMouseLeave();
            break;
        case WM_ERASEBKGND:
            if (!FromWMPaint && Message.WParam)
                PaintTo(reinterpret_cast<HDC>(Message.WParam), 0, 0);
            Message.Result = 1;
            return;
        case CN_COMMAND:
            if (FClicksDisabled)
                return;
            break;
        default:
            break;
    }
    TbsSkinCustomControl::WndProc(Message);
}
