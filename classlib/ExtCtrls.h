// Timers.
// Index: TTimer.
//
// A TTimer is a window timer of the GUI thread: all timers share one hidden message-only window and are told
// apart by a number that is never used twice, so a tick that was already queued when the timer was stopped or
// freed finds nobody and is dropped. A timer may therefore disable, re-enable or free itself inside its own
// OnTimer. An exception from OnTimer is reported through the application and the timer goes on. GUI thread only.
#pragma once

#include <windows.h>

#include "classlib/Component.h"

class TTimer : public TComponent {
  public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    // Enabled (default true) with an Interval above 0 runs the timer; changing either restarts the count.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT Value);
    // True while the system timer runs.
    bool Running() const { return id_ != 0; }

    TNotifyEvent OnTimer;

  protected:
    // Raises OnTimer; called by the timer window for each tick.
    virtual void Timer();

  private:
    friend struct TimerWindow;
    void UpdateTimer();
    void StopTimer();

    UINT_PTR id_ = 0;  // the running system timer's number, 0 when stopped
    bool enabled_ = true;
    UINT interval_ = 1000;
};
