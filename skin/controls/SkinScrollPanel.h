// TbsSkinScrollPanel: a container whose children scroll in one direction by two small arrow buttons in its own
// non-client area (TbsNcArrowScroller), shown only while the children do not fit. A press on an arrow pages,
// holding it repeats, and with HotScroll resting on it scrolls. The background is the client part of the entry
// "panel", the arrows come from "resizebutton". GUI thread only.
// Index: TbsScrollType, TbsSkinScrollPanel.
#pragma once

#include "skin/controls/NcArrowScroller.h"
#include "skin/controls/SkinControl.h"

enum TbsScrollType { stHorizontal, stVertical };

class TbsSkinScrollPanel : public TbsSkinControl {
  public:
    explicit TbsSkinScrollPanel(TComponent* AOwner);
    ~TbsSkinScrollPanel() override;

    TbsScrollType ScrollType() const { return FScrollType; }
    void SetScrollType(TbsScrollType Value);
    int ScrollOffset() const { return FScroller.ScrollOffset(); }
    void SetScrollOffset(int Value) { FScroller.SetScrollOffset(Value); }
    int ScrollTimerInterval() const { return FScroller.ScrollTimerInterval(); }
    void SetScrollTimerInterval(int Value) { FScroller.SetScrollTimerInterval(Value); }
    bool HotScroll() const { return FScroller.HotScroll; }
    void SetHotScroll(bool Value) { FScroller.HotScroll = Value; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

    // The range again by the direction.
    void GetScrollInfo() { FScroller.GetRange(); }
    void UpDateSize();
    void SetPosition(int Value);
    // The scroll state and the arrows, as tests and the gallery read them.
    const TbsNcArrowScroller& Scroller() const { return FScroller; }
    TbsNcArrowScroller& Scroller() { return FScroller; }

    void Loaded() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;

  protected:
    void AdjustClientRect(TRect& Rect) override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Paint() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

  private:
    bool Vertical() const { return FScrollType == stVertical; }

    TbsScrollType FScrollType = stHorizontal;
    bool FCanFocused = false;
    bool FAutoSize = false;
    TbsNcArrowScroller FScroller;
};
