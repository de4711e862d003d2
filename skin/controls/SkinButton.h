// TbsSkinButton: the skinned push button. It draws one of its entry's state pictures (normal, hot, pressed, focused,
// disabled) with a caption and a glyph or image-list image on top, and adds to the plain button a toggle (check)
// mode, groups of buttons that release each other, auto-repeat while held, the form's default and cancel roles, a
// modal result, a hover animation of frames from the skin picture, a fade between the normal and the hot picture and
// a translucent glow frame around it while hot. From outside it answers BM_CLICK, BM_GETCHECK and BM_SETCHECK like
// the system's button, and takes WM_SETTEXT as its caption.
//
// Time and timers come from the control seam. The glow goes through IbsGlowLayer (the layer manager in the
// program) and the images menu through IbsImagesMenu, so tests put recording doubles in their place. GUI thread only.
// Index: IbsGlowLayer, TbsLayerGlow, IbsImagesMenu, TbsSkinButton, WM_SHOWLAYER, WM_HIDELAYER.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "classlib/ImgList.h"
#include "skin/controls/ButtonLook.h"
#include "skin/controls/ControlMorph.h"
#include "skin/controls/ControlSeam.h"
#include "skin/controls/SkinControl.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinTypes.h"
#include "skin/form/SkinnedControl.h"

class TbsLayerManager;

// Posted by a button to itself: show / hide its glow frame after the current message.
constexpr UINT WM_SHOWLAYER = 1424;
constexpr UINT WM_HIDELAYER = 1425;

// The translucent window that shows a button's glow frame.
class IbsGlowLayer {
  public:
    virtual ~IbsGlowLayer() = default;
    // Image at screen point (X, Y) with the alpha of Mask, faded in up to Alpha (0..255).
    virtual void Show(int X, int Y, TBitmap* Image, TBitmap* Mask, int Alpha) = 0;
    virtual void Hide() = 0;
    virtual bool IsVisible() const = 0;
    virtual void SetTopMost(bool Value) = 0;
};

// The glow through the skin engine's layer manager (owned).
class TbsLayerGlow : public IbsGlowLayer {
  public:
    TbsLayerGlow();
    ~TbsLayerGlow() override;
    void Show(int X, int Y, TBitmap* Image, TBitmap* Mask, int Alpha) override;
    void Hide() override;
    bool IsVisible() const override;
    void SetTopMost(bool Value) override;

  private:
    std::unique_ptr<TbsLayerManager> FManager;
};

// A skinned images menu as a button sees it: the selected item to show, a drop below a screen rectangle and a
// close notification.
class IbsImagesMenu {
  public:
    virtual ~IbsImagesMenu() = default;
    // Whether an item is selected, and its image (into the list's index) and caption.
    virtual bool HasSelectedItem() const = 0;
    virtual TCustomImageList* SelectedImages() const = 0;
    virtual int SelectedImageIndex() const = 0;
    virtual std::wstring SelectedCaption() const = 0;
    // Drops the menu below R (screen); OnClose runs when it closes.
    virtual void PopupFromRect(const TRect& R, std::function<void()> OnClose) = 0;
    // Runs whenever the selection changes (empty: nobody listens).
    std::function<void()> OnChange;
};

// The form's fade-in tells the control about to take the focus to show its focused look at once.
class TbsSkinButton : public TbsSkinCustomControl, public IbsFadeInControl, protected TbsButtonLook {
  public:
    explicit TbsSkinButton(TComponent* AOwner);
    ~TbsSkinButton() override;

    using TPaintEvent = std::function<void(TObject* Sender, TCanvas* Cnvs, const TRect& R, bool ADown, bool AMouseIn,
                                           bool& DrawDefault)>;

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool Value);
    TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool AlwaysShowLayeredFrame() const { return FAlwaysShowLayeredFrame; }
    void SetAlwaysShowLayeredFrame(bool Value) { FAlwaysShowLayeredFrame = Value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value);
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool Value) { FRepeatMode = Value; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int Value) { FRepeatInterval = Value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    TBitmap* Glyph() { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TbsButtonLayout Layout() const { return FLayout; }
    void SetLayout(TbsButtonLayout Value);
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    // The shell's image list whose glyph is drawn as the list holds it (its own size, no blending colours).
    bool ShellImage() const { return FShellImage; }
    void SetShellImage(bool Value);
    IbsImagesMenu* SkinImagesMenu() const { return FSkinImagesMenu; }
    void SetSkinImagesMenu(IbsImagesMenu* Value);
    bool UseImagesMenuImage() const { return FUseImagesMenuImage; }
    void SetUseImagesMenuImage(bool Value);
    bool UseImagesMenuCaption() const { return FUseImagesMenuCaption; }
    void SetUseImagesMenuCaption(bool Value);
    // Forced pressed look (a button whose drop-down is open).
    bool DownState() const { return FDownState; }
    void SetDownState(bool Value);

    // Replaces the glow window (tests record it); the button owns it.
    void SetGlowLayer(std::unique_ptr<IbsGlowLayer> Value);
    IbsGlowLayer* GlowLayer() const { return FGlowLayer.get(); }

    TPaintEvent OnPaint;

    // The click: the form's modal result (when focusable), then OnClick.
    virtual void ButtonClick();
    void RefreshButton();
    void ShowLayer();
    void HideLayer();
    // The drop-down marker of the entry in R (hot / down pictures).
    void DrawMenuMarker(TCanvas* C, const TRect& R, bool AActive, bool ADown);

    // State as read by tests and the form: hot, the fade share of the hot picture, the animation frame.
    bool MouseIn() const { return FMouseIn; }
    bool ActiveDefault() const { return FActive; }
    double MorphKf() const { return FMorph.Kf; }
    int CurrentFrame() const { return FCurrentFrame; }
    bool Animating() const { return FAnimateTimer != nullptr; }
    bool Morphing() const { return FMorph.Running(); }
    bool Repeating() const { return FRepeatTimer != nullptr; }
    // The skin rectangle the last paint drew from (empty: the built-in look).
    TRect LastPaintedRect() const { return FLastRect; }

    // IbsFadeInControl: the form fades in with this control active.
    void StopAnimateForFadeIn() override;

    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

  protected:
    virtual void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
    void CreateStrechButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
    void GetSkinData() override;
    bool SkinLookAvailable() const override;
    void CheckParentBackground() override;
    void CalcSize(int& W, int& H) override;
    void SetControlRegion() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* /*B*/) override {}
    void Paint() override;
    void CreateWnd() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // Font and text colour of an image in state (ADown, AMouseIn) on C.
    TColor PrepareFont(TCanvas* C, bool ADown, bool AMouseIn, bool PressedPicture);
    // Focus rectangle, OnPaint and the content (images menu image, image-list image or glyph, caption) in R.
    void DrawContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn);
    // The built-in look's frame and fill of one area.
    static void DefaultArea(TCanvas* C, const TRect& R, int Kind);  // 0 plain, 1 hot, 2 pressed
    int GetGlyphNum(bool ADown, bool AMouseIn) const;
    bool IsFocused();
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
    // Ends a press: capture, repeat and the pressed look.
    void CancelPress();
    // The look must change at enter / leave (grouped: not down; ungrouped: not focused, or down).
    bool LookFollowsMouse();
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    TbsDataSkinButtonControl* ButtonEntry() const;

    // The entry's fields the speed button has not (the rest: TbsButtonLook).
    TRect FocusedSkinRect{};
    bool ShowFocus = false;
    int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0, GlowLayerOffsetTop = 0, GlowLayerOffsetBottom = 0;
    int GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0, GlowLayerAlphaBlendValue = 255;

    bool FMouseIn = false;
    bool FDown = false;
    bool FMouseDown = false;
    bool FStopMouseUp = false;
    bool FAllowAllUpCheck = false;
    bool FActive = false;
    bool FDownState = false;
    bool FClicksDisabled = false;
    bool FSpaceSupport = true;
    bool FStopAnimate = false;
    TbsMorphFade FMorph;

  private:
    bool GlowAvailable() const;
    // The glow picture and mask for the button's size; false when nothing is to show.
    bool GlowImages(TBitmap& Image, TBitmap& Mask);

    bool FTransparent = false;
    bool FCheckedMode = false;
    TCustomImageList* FImageList = nullptr;  // borrowed
    int FImageIndex = -1;
    bool FAlwaysShowLayeredFrame = false;
    bool FUseSkinSize = true;
    bool FUseSkinFontColor = true;
    bool FRepeatMode = false;
    int FRepeatInterval = 100;
    bool FAllowAllUp = false;
    bool FCanFocused = true;
    int FGroupIndex = 0;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    int FMargin = -1;
    int FSpacing = 1;
    TbsButtonLayout FLayout = blGlyphLeft;
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
    bool FShellImage = false;
    IbsImagesMenu* FSkinImagesMenu = nullptr;  // borrowed
    bool FUseImagesMenuImage = false;
    bool FUseImagesMenuCaption = false;
    std::unique_ptr<IbsGlowLayer> FGlowLayer;
    std::unique_ptr<IbsControlTimer> FRepeatTimer;
    TRect FLastRect{};
};
