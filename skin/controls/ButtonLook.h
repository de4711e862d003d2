// What the push button (windowed) and the speed button (windowless) draw alike: the button entry's fields, the
// caption's font and colour in each state, the content (images menu image, lent or own image-list image or glyph,
// caption), the built-in frame and fill, and the hover animation through the entry's frames on the seam's clock.
// Both buttons derive from TbsButtonLook next to their control base. GUI thread only.
// Index: TbsButtonFont, TbsButtonContent, TbsButtonLook, ButtonGlyphNumber, DrawButtonArea, DrawButtonContent.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "skin/controls/ControlSeam.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinTypes.h"

class IbsImagesMenu;
class TbsDataSkinButtonControl;
class TbsSkinData;

// How a button's caption is set: the control's default font, its skin container and switches.
struct TbsButtonFont {
    TFont* Default = nullptr;
    TbsSkinData* SD = nullptr;  // borrowed; may be null
    bool Skin = false;          // the skinned look is drawn
    bool UseSkinFont = true;
    bool UseSkinFontColor = true;
    bool Enabled = true;
    // An idle transparent button writes in the skin's button text colour.
    bool TransparentIdle = false;
};

// The switches of a control: Skin the skinned look is drawn.
TbsButtonFont ButtonFontOf(TFont* Default, TbsSkinData* SD, bool Skin, bool UseSkinFont, bool UseSkinFontColor,
                           bool Enabled);

// What a button shows inside its picture. Caption is already empty where the button hides it (ShowCaption false).
struct TbsButtonContent {
    std::wstring Caption;
    bool ShowCaption = true;
    int Margin = -1, Spacing = 1;
    TbsButtonLayout Layout = blGlyphLeft;
    IbsImagesMenu* ImagesMenu = nullptr;  // borrowed
    bool UseImagesMenuImage = false, UseImagesMenuCaption = false;
    // A parent's lent list, drawn for any index; LentEnabledLook false greys it.
    TCustomImageList* LentImages = nullptr;  // borrowed
    bool LentEnabledLook = true;
    // The button's own list, drawn when the index lies in it.
    TCustomImageList* Images = nullptr;  // borrowed
    int ImageIndex = -1;
    bool ShellImage = false;
    TBitmap* Glyph = nullptr;  // borrowed; null: no glyph
    int NumGlyphs = 1, GlyphNum = 1;
    bool Enabled = true;
    bool Shift = false;  // pressed under the pointer: content one pixel down and right
};

// Frame (1..4) of a glyph strip of NumGlyphs for a state: pressed and hot 3, hot 4, disabled 2, else 1.
int ButtonGlyphNumber(bool ADown, bool AMouseIn, bool Enabled, int NumGlyphs);
// The built-in look's frame and fill: Kind 0 idle (IdleFrame; no frame when Frameless), 1 hot, 2 pressed.
void DrawButtonArea(TCanvas* C, const TRect& R, int Kind, TColor IdleFrame, bool Frameless);
// The content into R in the canvas's font.
void DrawButtonContent(TCanvas* C, const TRect& R, const TbsButtonContent& Content);

class TbsButtonLook {
  protected:
    TbsButtonLook();
    ~TbsButtonLook();

    // The entry's fields; SkinRect is the normal picture (the hot one falls back to it, the pressed to the hot).
    void ReadButtonEntry(const TbsDataSkinButtonControl& E, const TRect& SkinRect);
    // While the animation runs with frames, its frame stands for the hot picture (forward) or the normal one
    // (SkinRect, backward).
    void ShowAnimationFrame(bool HasFrames, TRect& SkinRect);
    // The entry's face (with UseSkinFont on a skinned look) or the default one, in the skin's charset.
    void ApplyButtonFontFace(TFont* F, const TbsButtonFont& In) const;
    // Face and text colour of a state; PressedPicture: the pressed picture is drawn. Returns the colour.
    TColor ApplyButtonFont(TCanvas* C, const TbsButtonFont& In, bool ADown, bool AMouseIn, bool PressedPicture) const;

    // The hover animation: frame 1 upward (AInc) or FrameCount downward, a step every AnimateInterval ms.
    void StartFrameAnimation(bool AInc, std::function<void()> OnTick);
    void StopFrameAnimation();
    // One tick: the next frame; past the last (or the first) the animation stops.
    void StepFrameAnimation();
    bool FrameAnimationRunning() const { return FAnimateTimer != nullptr; }

    std::wstring FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0x808080;
    TRect ActiveSkinRect{}, DownSkinRect{}, DisabledSkinRect{};
    bool FEntryMorphing = false;
    TbsMorphKind MorphKind = mkDefault;
    TRect AnimateSkinRect{};
    int FrameCount = 0;
    int AnimateInterval = 25;
    TRect MenuMarkerRect{}, MenuMarkerActiveRect{}, MenuMarkerDownRect{}, MenuMarkerFlatRect{};
    TColor MenuMarkerTransparentColor = 0;

    int FCurrentFrame = 0;
    bool FAnimateInc = true;
    std::unique_ptr<IbsControlTimer> FAnimateTimer;
};
