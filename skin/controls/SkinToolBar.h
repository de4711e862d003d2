// TbsSkinToolBar: a skinned panel ("toolpanel") for a row of tool buttons. It keeps its children vertically centred
// (skinned children ask it through IbsAdjustingHost, it centres the others itself), lends its image lists,
// flatness and captions to the speed buttons on it, and with CanScroll scrolls a row wider than the bar with the
// arrow engine of the scroll panel (TbsNcArrowScroller, horizontal only). GUI thread only.
// Index: TbsSkinToolBar.
#pragma once

#include "classlib/ImgList.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/controls/NcArrowScroller.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinSpeedButton.h"

class TbsSkinToolBar : public TbsSkinPanel, public IbsAdjustingHost, public IbsToolImages {
  public:
    explicit TbsSkinToolBar(TComponent* AOwner);
    ~TbsSkinToolBar() override;

    bool AdjustControls() const { return FAdjustControls; }
    void SetAdjustControls(bool Value);
    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool Value);
    bool HotScroll() const { return FScroller.HotScroll; }
    void SetHotScroll(bool Value) { FScroller.HotScroll = Value; }
    int ScrollOffset() const { return FScroller.ScrollOffset(); }
    void SetScrollOffset(int Value) { FScroller.SetScrollOffset(Value); }
    int ScrollTimerInterval() const { return FScroller.ScrollTimerInterval(); }
    void SetScrollTimerInterval(int Value) { FScroller.SetScrollTimerInterval(Value); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* HotImages() const { return FHotImages; }
    void SetHotImages(TCustomImageList* Value);
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* Value);
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool Value);
    bool AutoShowHideCaptions() const { return FAutoShowHideCaptions; }
    void SetAutoShowHideCaptions(bool Value) { FAutoShowHideCaptions = Value; }
    int WidthWithCaptions() const { return FWidthWithCaptions; }
    void SetWidthWithCaptions(int Value) { FWidthWithCaptions = Value; }
    int WidthWithoutCaptions() const { return FWidthWithoutCaptions; }
    void SetWidthWithoutCaptions(int Value) { FWidthWithoutCaptions = Value; }

    // The scroll state and the arrows, as tests and the gallery read them.
    const TbsNcArrowScroller& Scroller() const { return FScroller; }
    TbsNcArrowScroller& Scroller() { return FScroller; }

    // IbsAdjustingHost.
    bool AdjustsControls() const override { return FAdjustControls; }
    TRect SkinClientRect() const override;
    // IbsToolImages.
    TCustomImageList* ToolImages() const override { return FImages; }
    TCustomImageList* ToolHotImages() const override { return FHotImages; }
    TCustomImageList* ToolDisabledImages() const override { return FDisabledImages; }

    void SetSkinData(TbsSkinData* Value) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

  protected:
    void AdjustClientRect(TRect& Rect) override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void CreateControlSkinImage(TBitmap* B) override;

  private:
    // Centres the children that are no skinned controls and have no alignment.
    void CentreOtherControls();
    // Every speed button child.
    template <typename F>
    void ForEachSpeedButton(F Fn);
    bool ArrowsShown() const { return FScroller.Buttons[0].Visible || FScroller.Buttons[1].Visible; }

    bool FAdjustControls = true;
    bool FCanScroll = false;
    bool FFlat = false;
    TCustomImageList* FImages = nullptr;          // borrowed
    TCustomImageList* FHotImages = nullptr;       // borrowed
    TCustomImageList* FDisabledImages = nullptr;  // borrowed
    bool FShowCaptions = false;
    bool FAutoShowHideCaptions = false;
    int FWidthWithCaptions = 0, FWidthWithoutCaptions = 0;
    TbsNcArrowScroller FScroller;
};
