#include "skin/controls/SkinSpeedButton.h"

#include <algorithm>

#include "classlib/Menus.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"

TbsSkinSpeedButton::TbsSkinSpeedButton(TComponent* AOwner)
    : TbsGraphicSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    FSkinDataName = L"toolbutton";
    // The button makes its clicks itself (press, release, repeat); the library's click on release would repeat them.
    TControlStyle style = ControlStyle();
    style.Exclude(csClickEvents);
    SetControlStyle(style + csCaptureMouse + csOpaque + csDoubleClicks);
    SetBounds(Left(), Top(), 25, 25);
}

TbsSkinSpeedButton::~TbsSkinSpeedButton() {
    StopFrameAnimation();
    FRepeatTimer.reset();
    FMorph.Stop();
}

TbsDataSkinButtonControl* TbsSkinSpeedButton::ButtonEntry() const {
    return dynamic_cast<TbsDataSkinButtonControl*>(Entry());
}

bool TbsSkinSpeedButton::SkinLookAvailable() const {
    return TbsGraphicSkinCustomControl::SkinLookAvailable() && ButtonEntry() != nullptr;
}

// ---- Properties -----------------------------------------------------------------------------------------------------
void TbsSkinSpeedButton::SetShowCaption(bool Value) {
    if (FShowCaption == Value)
        return;
    FShowCaption = Value;
    if (FWidthWithCaption > 0 && FWidthWithoutCaption > 0)
        SetWidth(Value ? FWidthWithCaption : FWidthWithoutCaption);
    else
        Invalidate();
}

void TbsSkinSpeedButton::SetGlyph(TBitmap* Value) {
    if (Value)
        FGlyph->Assign(Value);
    else
        FGlyph = std::make_unique<TBitmap>();
    Invalidate();
}

void TbsSkinSpeedButton::SetNumGlyphs(int Value) {
    FNumGlyphs = std::clamp(Value, 1, 4);
    Invalidate();
}

void TbsSkinSpeedButton::SetImageList(TCustomImageList* Value) {
    SetBorrowed(this, FImageList, Value);
    Invalidate();
}

void TbsSkinSpeedButton::SetImageIndex(int Value) {
    if (FImageIndex == Value)
        return;
    FImageIndex = Value;
    Invalidate();
}

void TbsSkinSpeedButton::SetLayout(TbsButtonLayout Value) {
    if (FLayout == Value)
        return;
    FLayout = Value;
    Invalidate();
}

void TbsSkinSpeedButton::SetMargin(int Value) {
    if (FMargin == Value || Value < -1)
        return;
    FMargin = Value;
    Invalidate();
}

void TbsSkinSpeedButton::SetSpacing(int Value) {
    if (FSpacing == Value)
        return;
    FSpacing = Value;
    Invalidate();
}

void TbsSkinSpeedButton::SetFlat(bool Value) {
    FFlat = Value;
    SetTransparent(Value);
    Invalidate();
}

void TbsSkinSpeedButton::SetTransparent(bool Value) {
    FTransparent = Value;
    if (Value)
        SetControlStyle(ControlStyle() - csOpaque);
    else
        SetControlStyle(ControlStyle() + csOpaque);
    if (!FStopDraw)
        Invalidate();
}

void TbsSkinSpeedButton::SetTempTransparent(bool Value) {
    FStopDraw = true;
    SetTransparent(Value);
    FStopDraw = false;
}

void TbsSkinSpeedButton::SetCheckedMode(bool Value) {
    if (FCheckedMode == Value)
        return;
    FCheckedMode = Value;
    if (Value)
        FGroupIndex = -1;
    else if (FGroupIndex == -1)
        FGroupIndex = 0;
}

void TbsSkinSpeedButton::SetUseSkinSize(bool Value) {
    FUseSkinSize = Value;
    Invalidate();
}

void TbsSkinSpeedButton::SetUseSkinFontColor(bool Value) {
    FUseSkinFontColor = Value;
    Invalidate();
}

void TbsSkinSpeedButton::SetDown(bool Value) {
    FDown = Value;
    if (EnableMorphing()) {
        FMorph.Kf = 1;
        if (Value)
            StopMorph();
        else
            StartMorph();
    }
    if (!Value && FFlat && !FTransparent && !FMouseIn)
        SetTempTransparent(true);
    Invalidate();
    if (Value && FGroupIndex > 0 && !FAllowAllUp && Parent()) {
        TWinControl* p = Parent();
        for (int i = 0; i < p->ControlCount(); ++i) {
            auto* b = dynamic_cast<TbsSkinSpeedButton*>(p->Controls(i));
            if (b && b != this && b->FGroupIndex == FGroupIndex && b->FDown)
                b->SetDown(false);
        }
    }
}

void TbsSkinSpeedButton::Loaded() {
    if (FFlat && FTransparent && FDown)
        SetTempTransparent(false);
}

void TbsSkinSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
    TbsGraphicSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImageList)
        FImageList = nullptr;
}

// ---- The skin entry -------------------------------------------------------------------------------------------------
void TbsSkinSpeedButton::GetSkinData() {
    TbsGraphicSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        ActiveSkinRect = {};
        return;
    }
    auto* e = ButtonEntry();
    if (!e)
        return;
    ReadButtonEntry(*e, G.SkinRect);
    // A fade needs the button's own background under both pictures.
    FEntryMorphing = FEntryMorphing && !FTransparent;
    ShowAnimationFrame(HasAnimationFrames(), G.SkinRect);
}

void TbsSkinSpeedButton::CalcSize(int& W, int& H) {
    if (!FUseSkinSize && SkinLookAvailable() && G.ResizeMode != rmBoth) {
        G.NewClRect = G.ClRect;
        G.NewClRect.Right += W - G.SkinRect.Width();
        G.NewClRect.Bottom += H - G.SkinRect.Height();
        return;
    }
    TbsGraphicSkinCustomControl::CalcSize(W, H);
}

void TbsSkinSpeedButton::ChangeSkinData() {
    StopAnimate();
    StopMorph();
    TbsGraphicSkinCustomControl::ChangeSkinData();
    if (EnableMorphing() && FIndex != -1 && FMouseIn && !FTransparent)
        FMorph.Kf = 1;
}

bool TbsSkinSpeedButton::EnableMorphing() const {
    return FEntryMorphing && FIndex != -1 && ButtonEntry() && FSD && !FSD->Empty && FSD->EnableSkinEffects;
}

bool TbsSkinSpeedButton::EnableAnimation() const {
    return FSD && !FSD->Empty && FSD->EnableSkinEffects;
}

bool TbsSkinSpeedButton::HasAnimationFrames() const {
    // No frames to step through when the count is 0 or less.
    return FIndex != -1 && EnableAnimation() && !AnimateSkinRect.IsEmpty() && FrameCount > 0;
}

// ---- Painting -------------------------------------------------------------------------------------------------------
int TbsSkinSpeedButton::GetGlyphNum(bool ADown, bool AMouseIn) {
    return ButtonGlyphNumber(ADown, AMouseIn, Enabled(), FNumGlyphs);
}

TbsButtonFont TbsSkinSpeedButton::FontInput() {
    return ButtonFontOf(DefaultFont(), FSD, SkinLookAvailable(), FUseSkinFont, FUseSkinFontColor, Enabled());
}

TColor TbsSkinSpeedButton::PrepareFont(TCanvas* C, bool ADown, bool AMouseIn, bool PressedPicture) {
    return ApplyButtonFont(C, FontInput(), ADown, AMouseIn, PressedPicture);
}

void TbsSkinSpeedButton::DrawContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn) {
    bool drawDefault = true;
    if (OnPaint)
        OnPaint(this, C, R, ADown, AMouseIn, drawDefault);
    if (!drawDefault)
        return;
    TbsButtonContent b;
    b.Caption = FShowCaption ? Caption() : std::wstring();
    b.ShowCaption = FShowCaption;
    b.Margin = FMargin;
    b.Spacing = FSpacing;
    b.Layout = FLayout;
    b.ImagesMenu = FSkinImagesMenu;
    b.UseImagesMenuImage = FUseImagesMenuImage;
    b.UseImagesMenuCaption = FUseImagesMenuCaption;
    b.ImageIndex = FImageIndex;
    b.Enabled = Enabled();
    b.Shift = ADown && AMouseIn;
    if (FGlyph->Empty()) {
        // A glyph wins over the image lists; a parent's lent lists over the button's own.
        if (auto* host = dynamic_cast<IbsToolImages*>(Parent())) {
            if (!Enabled() && host->ToolDisabledImages()) {
                // The bar's disabled pictures are already greyed.
                b.LentImages = host->ToolDisabledImages();
            } else if ((AMouseIn || ADown) && host->ToolHotImages()) {
                b.LentImages = host->ToolHotImages();
                b.LentEnabledLook = Enabled();
            } else {
                b.LentImages = host->ToolImages();
                b.LentEnabledLook = Enabled();
            }
        }
        b.Images = FImageList;
    } else {
        b.Glyph = FGlyph.get();
        b.NumGlyphs = FNumGlyphs;
        b.GlyphNum = GetGlyphNum(ADown, AMouseIn);
    }
    DrawButtonContent(C, R, b);
}

void TbsSkinSpeedButton::DefaultArea(TCanvas* C, const TRect& R, int Kind) const {
    DrawButtonArea(C, R, Kind, Darker(clBtnFace, 15), FFlat);
}

void TbsSkinSpeedButton::CreateControlDefaultImage(TBitmap* B) {
    const TRect r{0, 0, B->Width(), B->Height()};
    DefaultArea(B->Canvas(), r, Pressed() || FMenuTracked ? 2 : FMouseIn ? 1 : 0);
    PrepareFont(B->Canvas(), FDown, FMouseIn, false);
    DrawContent(B->Canvas(), r, FDown, FMouseIn);
}

void TbsSkinSpeedButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    if (!FUseSkinSize && G.ResizeMode != rmBoth) {
        CreateStrechButtonImage(B, R, ADown, AMouseIn);
        return;
    }
    TbsControlGeometry g = G;
    g.SkinRect = R;
    CreateSkinControlImage(B, Picture, g, Width(), Height(), false);
    PrepareFont(B->Canvas(), ADown, AMouseIn, ADown && AMouseIn);
    DrawContent(B->Canvas(), G.NewClRect, ADown, AMouseIn);
}

void TbsSkinSpeedButton::CreateStrechButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    const int w = B->Width(), h = B->Height();
    if (RectInPicture(R, Picture)) {
        if (G.ResizeMode == rmFixed) {
            B->Canvas()->CopyRect({0, 0, R.Width(), R.Height()}, Picture->Canvas(), R);
        } else if (G.ResizeMode == rmWidth || G.ResizeMode == rmHeight) {
            TBitmap out(w, h);
            CreateStretchImage(&out, Picture, R, G.ClRect, true);
            B->Canvas()->Draw(0, 0, &out);
        }
    }
    TRect text = G.ClRect;
    text.Right += w - G.SkinRect.Width();
    text.Bottom += h - G.SkinRect.Height();
    PrepareFont(B->Canvas(), ADown, AMouseIn, ADown && AMouseIn);
    DrawContent(B->Canvas(), text, ADown, AMouseIn);
}

void TbsSkinSpeedButton::PaintContentOnly(const TRect& R) {
    TCanvas* c = Canvas();
    TFont* f = c->Font();
    const bool skin = SkinLookAvailable();
    ApplyButtonFontFace(f, FontInput());
    const TbsSkinColors* colours = skin && FSD ? FSD->SkinColors() : nullptr;
    if (!Enabled())
        f->SetColor(colours ? static_cast<TColor>(colours->cBtnShadow) : TColor(clBtnShadow));
    else if (colours && FUseSkinFontColor)
        f->SetColor(static_cast<TColor>(colours->cBtnText));
    FLastRect = {};
    DrawContent(c, R, false, false);
}

void TbsSkinSpeedButton::Paint() {
    const int w = Width(), h = Height();
    if (w < 1 || h < 1)
        return;
    GetSkinData();
    if (!SkinLookAvailable()) {
        FLastRect = {};
        if (!Pressed() && !FMouseIn && !FMenuTracked && FTransparent)
            PaintContentOnly(ClientRect());
        else
            TbsGraphicSkinCustomControl::Paint();
        return;
    }
    int cw = w, ch = h;
    CalcSize(cw, ch);
    if (EnableMorphing() && FMorph.Kf > 0 && FMorph.Kf < 1 && !FTransparent) {
        TBitmap normal(w, h), hot(w, h), b(w, h);
        CreateButtonImage(&normal, G.SkinRect, false, false);
        CreateButtonImage(&hot, ActiveSkinRect, false, true);
        BlendMorph(&normal, &hot, MorphKind, FMorph.Kf, b.Canvas()->Handle());
        FLastRect = {};
        Canvas()->Draw(0, 0, &b);
        return;
    }
    TRect r;
    bool down = false, hot = false;
    if (FMenuTracked || Pressed()) {
        r = DownSkinRect;
        down = hot = true;
    } else if (FMouseIn || (EnableMorphing() && FMorph.Kf == 1)) {
        r = ActiveSkinRect;
        hot = true;
    } else if (FTransparent) {
        PaintContentOnly(G.NewClRect);
        return;
    } else {
        r = !Enabled() && !DisabledSkinRect.IsEmpty() ? DisabledSkinRect : G.SkinRect;
    }
    FLastRect = r;
    TBitmap b(w, h);
    CreateButtonImage(&b, r, down, hot);
    Canvas()->Draw(0, 0, &b);
}

// ---- Fade, animation, repeat ----------------------------------------------------------------------------------------
void TbsSkinSpeedButton::ReDrawControl() {
    if (!EnableMorphing() || FIndex == -1 || FTransparent || FFlat)
        Invalidate();
    else
        StartMorph();
}

void TbsSkinSpeedButton::StartMorph() {
    FMorph.Start([this] { DoMorph(); });
}

void TbsSkinSpeedButton::StopMorph() {
    FMorph.Stop();
}

void TbsSkinSpeedButton::DoMorph() {
    if (FIndex == -1 || !EnableMorphing()) {
        FMorph.Settle(FMouseIn);
        return;
    }
    if (FMorph.Step(FMouseIn))
        Invalidate();
}

void TbsSkinSpeedButton::StartAnimate(bool AInc) {
    if (FFlat)
        return;
    StartFrameAnimation(AInc, [this] { DoAnimate(); });
}

void TbsSkinSpeedButton::StopAnimate() {
    StopFrameAnimation();
}

void TbsSkinSpeedButton::DoAnimate() {
    StepFrameAnimation();
    Invalidate();
}

void TbsSkinSpeedButton::StartRepeat() {
    FRepeatTimer = StartAutoRepeat([this] { return FRepeatInterval; }, [this] { ButtonClick(); });
}

void TbsSkinSpeedButton::StopRepeat() {
    FRepeatTimer.reset();
}

void TbsSkinSpeedButton::RefreshButton() {
    FMouseIn = false;
    FDown = false;
    if (EnableMorphing())
        FMorph.Kf = 0;
    if (EnableAnimation())
        StopAnimate();
    Invalidate();
}

// ---- Click and mouse ------------------------------------------------------------------------------------------------
void TbsSkinSpeedButton::ButtonClick() {
    if (OnClick)
        OnClick(this);
}

void TbsSkinSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
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

void TbsSkinSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
    TbsGraphicSkinCustomControl::MouseMove(Shift, X, Y);
    if (!FMouseDown)
        return;
    const bool inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
    if (FDown && FMouseIn && !inside)
        Perform(CM_MOUSELEAVE);
    else if (FDown && !FMouseIn && inside)
        Perform(CM_MOUSEENTER);
}

void TbsSkinSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !FMouseDown)
        return;
    FMouseDown = false;
    // Over the button: where the release happens, whatever hover state the last move left.
    const bool over = FMouseIn && X >= 0 && Y >= 0 && X < Width() && Y < Height();
    if (FCheckedMode) {
        if (FStopMouseUp) {
            FStopMouseUp = false;
        } else {
            SetDown(false);
            ButtonClick();
        }
    } else if (FGroupIndex == 0) {
        if (over) {
            const bool wasDown = FDown;
            SetDown(false);
            if (FRepeatMode)
                StopRepeat();
            if (wasDown)
                ButtonClick();
        } else {
            FDown = false;
            StopRepeat();
        }
    } else if (FDown && FAllowAllUp && FAllowAllUpCheck && over) {
        SetDown(false);
        ButtonClick();
    }
}

void TbsSkinSpeedButton::DoMouseEnter() {
    const bool eligible = Enabled() && (FGroupIndex == 0 || !FDown);
    if (FFlat && eligible)
        SetTempTransparent(false);
    if (!Enabled())
        return;
    FMouseIn = true;
    if (eligible) {
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
}

void TbsSkinSpeedButton::DoMouseLeave() {
    const bool eligible = Enabled() && (FGroupIndex == 0 || !FDown);
    if (FFlat && eligible)
        SetTempTransparent(true);
    const bool was = FMouseIn;
    FMouseIn = false;
    if (eligible) {
        if (was && HasAnimationFrames())
            StartAnimate(false);
        ReDrawControl();
    }
    if (FDown && FRepeatMode && FRepeatTimer && FGroupIndex == 0)
        StopRepeat();
}

void TbsSkinSpeedButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSEENTER:
            TbsGraphicSkinCustomControl::WndProc(Message);
            DoMouseEnter();
            return;
        case CM_MOUSELEAVE:
            TbsGraphicSkinCustomControl::WndProc(Message);
            DoMouseLeave();
            return;
        case CM_DIALOGCHAR:
            if (IsAccel(static_cast<WORD>(Message.WParam), Caption()) && Enabled() && Visible() && Parent() &&
                Parent()->Showing()) {
                ButtonClick();
                Message.Result = 1;
                return;
            }
            break;
        case CM_ENABLEDCHANGED:
            TbsGraphicSkinCustomControl::WndProc(Message);
            if (EnableMorphing()) {
                StopMorph();
                FMorph.Kf = 0;
            }
            FMouseIn = false;
            Invalidate();
            return;
        case CM_TEXTCHANGED:
            TbsGraphicSkinCustomControl::WndProc(Message);
            Invalidate();
            return;
        default:
            break;
    }
    TbsGraphicSkinCustomControl::WndProc(Message);
}
