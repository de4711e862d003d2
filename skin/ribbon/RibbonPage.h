// The ribbon's page hosts. TbsRibbonScrollHost is the core both share: a control host whose children scroll in one
// direction (the axis is a constructor parameter) by two 12-pixel arrows in its non-client area, through the
// arrow engine of the scroll panels (hit codes 119/120, a page per click, the 300 ms hold, hot scrolling, the leave
// check). TbsRibbonPage scrolls across and lies in the ribbon's page area under the tab row; TbsAppMenuPage scrolls
// down, lies in the application menu's page area and scrolls only when asked (CanScroll) and while its menu is
// open. Both paint only their background, on erase. GUI thread only.
// Index: TbsRibbonScrollHost, TbsRibbonCustomPage, TbsRibbonPage, TbsAppMenuCustomPage, TbsAppMenuPage.
#pragma once

#include <string>

#include "classlib/Controls.h"
#include "skin/controls/NcArrowScroller.h"

class TbsRibbon;
class TbsAppMenu;
class TbsSkinData;

class TbsRibbonScrollHost : public TCustomControl {
  public:
    TbsRibbonScrollHost(TComponent* AOwner, bool Vertical);
    ~TbsRibbonScrollHost() override;

    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool Value);
    bool HotScroll() const { return FScroller.HotScroll; }
    void SetHotScroll(bool Value) { FScroller.HotScroll = Value; }
    // Negative steps are ignored; 0 pages by the client extent.
    int ScrollOffset() const { return FScroller.ScrollOffset(); }
    void SetScrollOffset(int Value) { FScroller.SetScrollOffset(Value); }
    // Intervals below 1 ms are ignored.
    int ScrollTimerInterval() const { return FScroller.ScrollTimerInterval(); }
    void SetScrollTimerInterval(int Value) { FScroller.SetScrollTimerInterval(Value); }

    // The range again (when scrolling is on and the host allows it now).
    virtual void GetScrollInfo();
    void UpDateSize() { SetBounds(Left(), Top(), Width(), Height()); }
    const TbsNcArrowScroller& Scroller() const { return FScroller; }
    TbsNcArrowScroller& Scroller() { return FScroller; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;

  protected:
    void AdjustClientRect(TRect& Rect) override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void CreateParams(TCreateParams& Params) override;
    void Paint() override {}
    // The container the arrows are drawn from ("resizetoolbutton"), nullptr for the built-in arrows.
    virtual TbsSkinData* ArrowSkin() { return nullptr; }
    // A stretched background moves with nothing: it is drawn again after a scroll.
    virtual bool StretchedBackground() { return false; }
    // The arrows are placed at WM_SIZE (the menu page only while it belongs to a menu).
    virtual bool PlacesArrows() { return true; }
    virtual void PaintBG(HDC /*DC*/) {}
    bool Vertical() const { return FScroller.Vertical; }

    TbsNcArrowScroller FScroller;
    bool FCanScroll = true;
};

class TbsRibbonCustomPage : public TbsRibbonScrollHost {
  public:
    explicit TbsRibbonCustomPage(TComponent* AOwner);
    TbsRibbon* Ribbon = nullptr;  // borrowed: the owning ribbon

  protected:
    TbsSkinData* ArrowSkin() override;
    bool StretchedBackground() override;
};

class TbsRibbonPage : public TbsRibbonCustomPage {
  public:
    explicit TbsRibbonPage(TComponent* AOwner);
    ~TbsRibbonPage() override;

    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& Value);
    void PaintBG(HDC DC) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  private:
    std::wstring FCaption;
};

class TbsAppMenuCustomPage : public TbsRibbonScrollHost {
  public:
    explicit TbsAppMenuCustomPage(TComponent* AOwner);
    TbsAppMenu* AppMenu = nullptr;  // borrowed: the menu that shows the page
    // While set (the menu is closed or shows another page) the range is not computed.
    bool FStopScroll = true;
    void GetScrollInfo() override;

  protected:
    TbsSkinData* ArrowSkin() override;
    bool PlacesArrows() override { return AppMenu != nullptr; }
};

class TbsAppMenuPage : public TbsAppMenuCustomPage {
  public:
    explicit TbsAppMenuPage(TComponent* AOwner);
    ~TbsAppMenuPage() override;

    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    // The control Enter, Space or Tab on the menu item focuses (cleared when it goes).
    TWinControl* FirstActiveControl() const { return FFirstActiveControl; }
    void SetFirstActiveControl(TWinControl* Value);

    void PaintBG(HDC DC) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

  private:
    int FDefaultWidth = 0;
    TWinControl* FFirstActiveControl = nullptr;  // borrowed
};
