// The arrow engine of containers that scroll their children in one direction: two 12-pixel arrow buttons in the
// host window's non-client area (back before the content, forward after it, shown only while the content does not
// fit), hit codes 119 and 120, a page per click, the repeat of a held arrow (300 ms, then every ScrollTimerInterval)
// and hot scrolling while the pointer rests on an arrow, a 100 ms check that the pointer left, and the arrows drawn
// from the skin entry "resizebutton" or the built-in look. The host (scroll panel, tool bar) owns one, passes its
// messages through HandleMessage and says where its content ends and how to move it. Timers come from the control
// seam. GUI thread only. Index: TbsUpdateGuard, ChildrenEnd, ScrollChildren, TbsNcArrow, TbsNcArrowScroller, kHitBackArrow, kHitForwardArrow.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "classlib/Controls.h"
#include "skin/controls/ControlSeam.h"
#include "skin/controls/NcScrollRange.h"

class TbsSkinData;

constexpr int kHitBackArrow = 119;
constexpr int kHitForwardArrow = 120;
constexpr int kNcArrowSize = 12;

// Sets a flag for the life of a scope (the hosts' update guards).
class TbsUpdateGuard {
  public:
    explicit TbsUpdateGuard(bool& Flag) : FFlag(Flag), FOld(Flag) { FFlag = true; }
    ~TbsUpdateGuard() { FFlag = FOld; }
    TbsUpdateGuard(const TbsUpdateGuard&) = delete;
    TbsUpdateGuard& operator=(const TbsUpdateGuard&) = delete;

  private:
    bool& FFlag;
    bool FOld;
};

// The largest right (Vertical: bottom) edge of Host's visible children, in their current, scrolled coordinates.
int ChildrenEnd(TWinControl* Host, bool Vertical);
// Moves every child of Host back (left, or up) by Distance.
void ScrollChildren(TWinControl* Host, int Distance, bool Vertical);

struct TbsNcArrow {
    TRect R{};  // window coordinates
    bool MouseIn = false, Down = false, Visible = false, Enabled = true;
};

class TbsNcArrowScroller {
  public:
    explicit TbsNcArrowScroller(TWinControl* Host);
    ~TbsNcArrowScroller();
    TbsNcArrowScroller(const TbsNcArrowScroller&) = delete;
    TbsNcArrowScroller& operator=(const TbsNcArrowScroller&) = delete;

    // What the host tells: the end of its visible children (scrolled coordinates), the move of its children back by
    // a distance (toward the start: left or up), the skin for "resizebutton" (null: built-in arrows).
    std::function<int()> ContentEnd;
    std::function<void(int Distance)> ScrollContent;
    std::function<TbsSkinData*()> ArrowSkin;

    bool Vertical = false;
    bool HotScroll = false;
    // The button entry the arrows are drawn from when ArrowSkin gives a container.
    std::wstring ArrowEntry = L"resizebutton";
    int ScrollOffset() const { return FScrollOffset; }
    void SetScrollOffset(int Value);
    int ScrollTimerInterval() const { return FScrollTimerInterval; }
    void SetScrollTimerInterval(int Value);

    TbsNcScrollRange S;
    TbsNcArrow Buttons[2];  // 0 back (left or top), 1 forward (right or bottom)
    int TimerMode = 0;      // 0 none, 1 back, 2 forward
    bool FStartScroll = false;
    int FCapturedButton = 0;  // 0 none, 1 back, 2 forward
    bool FMouseTimerActive = false;
    bool FMouseIn = false;
    bool Updating = false;  // children are moving: no range computation

    // The range (GetHRange / GetVRange by the direction).
    void GetRange();
    void SetButtonsVisible(bool Value);
    // SWP_FRAMECHANGED: the non-client area is measured again.
    void UpdateNC();
    void RepaintNC();
    // The arrows at the window's edges (after WM_SIZE).
    void PlaceButtons();
    // One page step by button I (0 back, 1 forward).
    void ButtonClick(int I);
    // Back to position 0 with no arrows (a direction switch).
    void Reset();
    // Stops both timers (the host's window goes).
    void StopTimers();
    // The visible arrows into DC (window coordinates); false when none is visible.
    bool DrawButtons(HDC DC);
    // The non-client messages, the captured mouse and the timers; true when the message is answered.
    bool HandleMessage(TMessage& Message);
    // The pointer leaves the host: the hot arrow lets go.
    void DoMouseLeave();

  private:
    int ClientExtent();
    void DrawButton(HDC DC, int I);
    void StartTimer();
    void StopTimer();
    void OnTimer1();
    void OnTimer2();
    void StartLeaveCheck();
    void MoveBy(int Distance);
    bool OnBackZone(TPoint P);
    bool OnForwardZone(TPoint P);

    TWinControl* FHost;  // borrowed: the owner
    bool FInRange = false;
    int FScrollOffset = 0;
    int FScrollTimerInterval = 50;
    std::unique_ptr<IbsControlTimer> FTimer1, FTimer2;
};
