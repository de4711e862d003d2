// The one seam through which the skinned controls reach the clock, timers, the window under the cursor, the system
// version their predicates test and the shell's "open". Controls call ControlSeam() and never the system directly
// for these, so tests replace them (a fake clock that fires timers by hand, a chosen window under the cursor, a
// recorded "open") with TbsSeamOverride and put the system's back when it goes. GUI thread only.
// Index: IbsControlTimer, TbsControlSeam, ControlSeam, SystemControlSeam, StartAutoRepeat, TbsSeamOverride.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "classlib/Types.h"

// A repeating timer: OnTick every Interval milliseconds while started. Stopping (or freeing) it inside OnTick is
// allowed.
class IbsControlTimer {
  public:
    virtual ~IbsControlTimer() = default;
    virtual void Start(unsigned IntervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
    std::function<void()> OnTick;
};

struct TbsControlSeam {
    // Milliseconds that wrap like the system tick count.
    std::function<std::uint32_t()> Now;
    std::function<std::unique_ptr<IbsControlTimer>()> NewTimer;
    // The cursor's screen position and the window under it.
    std::function<TPoint()> CursorPos;
    std::function<HWND()> WindowUnderCursor;
    // The system version the version predicates (IsVistaOS, CheckWXP ...) test.
    std::function<void(int& Major, int& Minor)> Version;
    // Opens a document or address as the shell's "open" verb with a normal window; the result is not used.
    std::function<void(const std::wstring& Target)> ShellOpen;
};

// The seam in force (the system's until a test overrides it).
TbsControlSeam& ControlSeam();
// The system's: GetTickCount, window timers, GetCursorPos/WindowFromPoint, GetVersion, ShellExecuteW.
TbsControlSeam SystemControlSeam();

// A held button's clicks on the seam's timer: none for the first half second, then Click every Interval()
// milliseconds (at least 1) until the returned timer is stopped or freed.
std::unique_ptr<IbsControlTimer> StartAutoRepeat(std::function<int()> Interval, std::function<void()> Click);

// Replaces the members a test sets (empty members keep the current ones) and restores the whole seam when it goes.
class TbsSeamOverride {
  public:
    explicit TbsSeamOverride(const TbsControlSeam& With);
    ~TbsSeamOverride();
    TbsSeamOverride(const TbsSeamOverride&) = delete;
    TbsSeamOverride& operator=(const TbsSeamOverride&) = delete;

  private:
    TbsControlSeam saved_;
};
