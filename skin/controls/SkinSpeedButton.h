// TbsSkinSpeedButton: a windowless skinned button for tool bars and compact command rows. It draws one of its
// entry's state pictures (normal, hot, pressed, disabled) with a caption and a glyph or image-list image, can be flat
// (the parent's background shows until the pointer comes over it), latches alone or in a group, repeats its click
// while held, fades between the normal and the hot picture or plays the entry's animation frames. A parent that lends
// image lists (the skinned tool bar, IbsToolImages) gives its images to buttons without a glyph.
//
// Time and timers come from the control seam. GUI thread only.
// Index: IbsToolImages, TbsSkinSpeedButton.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "classlib/ImgList.h"
#include "skin/controls/ButtonLook.h"
#include "skin/controls/ControlMorph.h"
#include "skin/controls/ControlSeam.h"
#include "skin/controls/GraphicSkinControl.h"
#include "skin/controls/SkinButton.h"
#include "skin/core/SkinTypes.h"

class TbsDataSkinButtonControl;

// A parent that lends its image lists to the speed buttons on it (nullptr: it has none of that kind).
class IbsToolImages {
  public:
    virtual ~IbsToolImages() = default;
    virtual TCustomImageList* ToolImages() const = 0;
    virtual TCustomImageList* ToolHotImages() const = 0;
    virtual TCustomImageList* ToolDisabledImages() const = 0;
};

class TbsSkinSpeedButton : public TbsGraphicSkinCustomControl, protected TbsButtonLook {
  public:
    explicit TbsSkinSpeedButton(TComponent* AOwner);
    ~TbsSkinSpeedButton() override;

    using TPaintEvent = std::function<
        void(TObject* Sender, TCanvas* Cnvs, const TRect& R, bool ADown, bool AMouseIn, bool& DrawDefault)>;

    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    int WidthWithCaption() const { return FWidthWithCaption; }
    void SetWidthWithCaption(int Value) { FWidthWithCaption = Value; }
    int WidthWithoutCaption() const { return FWidthWithoutCaption; }
    void SetWidthWithoutCaption(int Value) { FWidthWithoutCaption = Value; }
    TBitmap* Glyph() { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TbsButtonLayout Layout() const { return FLayout; }
    void SetLayout(TbsButtonLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // Transparent without a repaint.
    virtual void SetTempTransparent(bool Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool Value);
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool Value) { FRepeatMode = Value; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int Value) { FRepeatInterval = Value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value);

    TPaintEvent OnPaint;

    virtual void ButtonClick();
    void RefreshButton();
    // After the form is built: a flat transparent button that starts down shows its pressed picture.
    void Loaded();
    void ChangeSkinData() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

    // State as read by tests and the tool bar.
    bool MouseIn() const { return FMouseIn; }
    double MorphKf() const { return FMorph.Kf; }
    int CurrentFrame() const { return FCurrentFrame; }
    bool Animating() const { return FAnimateTimer != nullptr; }
    bool Repeating() const { return FRepeatTimer != nullptr; }
    // The skin rectangle the last paint drew from (empty: the built-in look or the content alone).
    TRect LastPaintedRect() const { return FLastRect; }

  protected:
    // The skin image of one state into B (the button's size): the state rectangle R, hot and pressed flags.
    virtual void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
    void CreateStrechButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
    void GetSkinData() override;
    bool SkinLookAvailable() const override;
    void CalcSize(int& W, int& H) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* /*B*/) override {}
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();

    // Font and text colour for a picture in state (ADown, AMouseIn); PressedPicture: the pressed picture is drawn.
    TColor PrepareFont(TCanvas* C, bool ADown, bool AMouseIn, bool PressedPicture);
    // The font switches of this button for the shared look.
    TbsButtonFont FontInput();
    // OnPaint, then the content (images menu image, lent tool bar image, image-list image or glyph, caption) in R.
    void DrawContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn);
    // The built-in frame and fill: 0 idle, 1 hot, 2 pressed; idle flat without a frame.
    void DefaultArea(TCanvas* C, const TRect& R, int Kind) const;
    // An idle transparent button: only the content, straight onto the canvas.
    void PaintContentOnly(const TRect& R);
    int GetGlyphNum(bool ADown, bool AMouseIn);
    bool Pressed() const { return FDown && ((FMouseIn && FGroupIndex == 0) || FGroupIndex != 0); }
    bool EnableMorphing() const;
    bool EnableAnimation() const;
    bool HasAnimationFrames() const;
    void StartMorph();
    void StopMorph();
    void DoMorph();
    void StartAnimate(bool AInc);
    void StopAnimate();
    void DoAnimate();
    void ReDrawControl();
    void StartRepeat();
    void StopRepeat();
    TbsDataSkinButtonControl* ButtonEntry() const;

    bool FMouseIn = false;
    bool FDown = false;
    bool FMouseDown = false;
    bool FStopDraw = false;
    bool FStopMouseUp = false;
    bool FAllowAllUpCheck = false;
    bool FMenuTracked = false;
    TbsMorphFade FMorph;
    IbsImagesMenu* FSkinImagesMenu = nullptr;  // borrowed
    bool FUseImagesMenuImage = false;
    bool FUseImagesMenuCaption = false;
    TRect FLastRect{};

  private:

    bool FShowCaption = true;
    int FWidthWithCaption = 0, FWidthWithoutCaption = 0;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    TCustomImageList* FImageList = nullptr;  // borrowed
    int FImageIndex = 0;
    TbsButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 1;
    bool FFlat = false;
    bool FTransparent = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FCheckedMode = false;
    bool FRepeatMode = false;
    int FRepeatInterval = 100;
    bool FUseSkinSize = true;
    bool FUseSkinFontColor = true;
    std::unique_ptr<IbsControlTimer> FRepeatTimer;
};
