#include "skin/controls/ButtonLook.h"

#include <algorithm>

#include "skin/controls/ControlSkinning.h"
#include "skin/controls/SkinButton.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinText.h"

namespace {
constexpr TColor kFrameHot = 0xB76B3B, kFillHot = 0xF3D4C1, kFillDown = 0xE4BCA2;
}  // namespace

TbsButtonFont ButtonFontOf(TFont* Default, TbsSkinData* SD, bool Skin, bool UseSkinFont, bool UseSkinFontColor,
                           bool Enabled) {
    TbsButtonFont in;
    in.Default = Default;
    in.SD = SD;
    in.Skin = Skin;
    in.UseSkinFont = UseSkinFont;
    in.UseSkinFontColor = UseSkinFontColor;
    in.Enabled = Enabled;
    return in;
}

int ButtonGlyphNumber(bool ADown, bool AMouseIn, bool Enabled, int NumGlyphs) {
    if (ADown && AMouseIn && NumGlyphs > 2)
        return 3;
    if (AMouseIn && NumGlyphs > 3)
        return 4;
    if (!Enabled && NumGlyphs > 1)
        return 2;
    return 1;
}

void DrawButtonArea(TCanvas* C, const TRect& R, int Kind, TColor IdleFrame, bool Frameless) {
    C->Brush()->SetStyle(bsSolid);
    if (Kind == 0 && Frameless) {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(R);
        return;
    }
    C->Brush()->SetColor(Kind == 0 ? IdleFrame : kFrameHot);
    C->FrameRect(R);
    TRect in = R;
    in.Inflate(-1, -1);
    C->Brush()->SetColor(Kind == 0 ? TColor(clBtnFace) : Kind == 1 ? kFillHot : kFillDown);
    C->FillRect(in);
}

void DrawButtonContent(TCanvas* C, const TRect& R, const TbsButtonContent& B) {
    C->Brush()->SetStyle(bsClear);
    if (B.ImagesMenu && B.UseImagesMenuImage && B.ImagesMenu->HasSelectedItem()) {
        const std::wstring text =
            B.UseImagesMenuCaption ? (B.ShowCaption ? B.ImagesMenu->SelectedCaption() : std::wstring()) : B.Caption;
        DrawImageAndText(C, R, B.Margin, B.Spacing, B.Layout, text, B.ImagesMenu->SelectedImageIndex(),
                         B.ImagesMenu->SelectedImages(), B.Shift, B.Enabled, false, 0, false);
        return;
    }
    if (B.LentImages) {
        DrawImageAndText(C, R, B.Margin, B.Spacing, B.Layout, B.Caption, B.ImageIndex, B.LentImages, B.Shift,
                         B.LentEnabledLook, false, 0, false);
        return;
    }
    if (B.Images && B.ImageIndex >= 0 && B.ImageIndex < B.Images->Count()) {
        DrawImageAndText(C, R, B.Margin, B.Spacing, B.Layout, B.Caption, B.ImageIndex, B.Images, B.Shift, B.Enabled,
                         false, 0, B.ShellImage);
        return;
    }
    DrawGlyphAndText(C, R, B.Margin, B.Spacing, B.Layout, B.Caption, B.Glyph, B.Glyph ? B.NumGlyphs : 0, B.GlyphNum,
                     B.Shift, false, 0);
}

// ---- TbsButtonLook --------------------------------------------------------------------------------------------------
TbsButtonLook::TbsButtonLook() = default;
TbsButtonLook::~TbsButtonLook() = default;

void TbsButtonLook::ReadButtonEntry(const TbsDataSkinButtonControl& E, const TRect& SkinRect) {
    FontName = E.FontName;
    FontHeight = E.FontHeight;
    FontStyle = ToFontStyles(E.FontStyle);
    FontColor = static_cast<TColor>(E.FontColor);
    ActiveFontColor = static_cast<TColor>(E.ActiveFontColor);
    DownFontColor = static_cast<TColor>(E.DownFontColor);
    DisabledFontColor = static_cast<TColor>(E.DisabledFontColor);
    if (DisabledFontColor == FontColor)
        DisabledFontColor = 0x808080;
    ActiveSkinRect = E.ActiveSkinRect.IsEmpty() ? SkinRect : E.ActiveSkinRect;
    DownSkinRect = E.DownSkinRect.IsEmpty() ? ActiveSkinRect : E.DownSkinRect;
    DisabledSkinRect = E.DisabledSkinRect;
    FEntryMorphing = E.Morphing;
    MorphKind = E.MorphKind;
    AnimateSkinRect = E.AnimateSkinRect;
    FrameCount = E.FrameCount;
    AnimateInterval = E.AnimateInterval;
    MenuMarkerRect = E.MenuMarkerRect;
    MenuMarkerActiveRect = E.MenuMarkerActiveRect.IsEmpty() ? MenuMarkerRect : E.MenuMarkerActiveRect;
    MenuMarkerDownRect = E.MenuMarkerDownRect.IsEmpty() ? MenuMarkerActiveRect : E.MenuMarkerDownRect;
    MenuMarkerFlatRect = E.MenuMarkerFlatRect.IsEmpty() ? MenuMarkerRect : E.MenuMarkerFlatRect;
    MenuMarkerTransparentColor = static_cast<TColor>(E.MenuMarkerTransparentColor);
}

void TbsButtonLook::ShowAnimationFrame(bool HasFrames, TRect& SkinRect) {
    if (!FAnimateTimer || !HasFrames || FCurrentFrame <= 0 || FCurrentFrame > FrameCount)
        return;
    // The frames lie side by side when the strip is wider than one picture, else one under the other.
    TRect f = AnimateSkinRect;
    if (AnimateSkinRect.Width() > SkinRect.Width()) {
        const int s = AnimateSkinRect.Width() / FrameCount;
        f.Left = AnimateSkinRect.Left + (FCurrentFrame - 1) * s;
        f.Right = f.Left + s;
    } else {
        const int s = AnimateSkinRect.Height() / FrameCount;
        f.Top = AnimateSkinRect.Top + (FCurrentFrame - 1) * s;
        f.Bottom = f.Top + s;
    }
    if (FAnimateInc)
        ActiveSkinRect = f;
    else
        SkinRect = f;
}

void TbsButtonLook::ApplyButtonFontFace(TFont* F, const TbsButtonFont& In) const {
    F->Assign(In.Default);
    if (In.UseSkinFont && In.Skin) {
        F->SetName(FontName);
        F->SetHeight(FontHeight);
        F->SetStyle(FontStyle);
    }
    F->SetCharset(SkinFontCharset(In.SD, In.Default->Charset()));
}

TColor TbsButtonLook::ApplyButtonFont(TCanvas* C, const TbsButtonFont& In, bool ADown, bool AMouseIn,
                                      bool PressedPicture) const {
    ApplyButtonFontFace(C->Font(), In);
    TColor c;
    if (!In.Skin)
        c = In.Enabled ? In.Default->Color() : TColor(clBtnShadow);
    else if (In.Enabled && !In.UseSkinFontColor)
        c = In.Default->Color();
    else if (!In.Enabled)
        c = DisabledFontColor;
    else if ((ADown && AMouseIn) || PressedPicture)
        c = DownFontColor;
    else if (AMouseIn)
        c = ActiveFontColor;
    else if (In.TransparentIdle && In.SD)
        c = static_cast<TColor>(In.SD->SkinColors()->cBtnText);
    else
        c = FontColor;
    C->Font()->SetColor(c);
    return c;
}

void TbsButtonLook::StartFrameAnimation(bool AInc, std::function<void()> OnTick) {
    StopFrameAnimation();
    FAnimateInc = AInc;
    FCurrentFrame = AInc ? 1 : FrameCount;
    FAnimateTimer = ControlSeam().NewTimer();
    FAnimateTimer->OnTick = std::move(OnTick);
    FAnimateTimer->Start(static_cast<unsigned>(std::max(1, AnimateInterval)));
}

void TbsButtonLook::StopFrameAnimation() {
    FCurrentFrame = 0;
    FAnimateTimer.reset();
}

void TbsButtonLook::StepFrameAnimation() {
    FCurrentFrame += FAnimateInc ? 1 : -1;
    if (FAnimateInc ? FCurrentFrame > FrameCount : FCurrentFrame <= 0)
        StopFrameAnimation();
}
