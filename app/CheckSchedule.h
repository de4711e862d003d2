// When mail is checked and for which accounts: the mail-check timer's rounds (the next account in rotation, or
// all), the start-password gate, the 10-second watchdog that ends a hung check, and the tray's "checking" image
// and hint. Window-free: the timers, the check thread, the waits and the result processing are reached through
// TCheckHost, so tests drive a round on a simulated clock.
// Index: TCheckHost, kWatchdogMs, kRoundWaitMs, kSettleMs, FirstTickMs, WatchdogLimit, TCheckScheduler.
#pragma once

#include <string>

#include "app/DataModel.h"
#include "app/RunState.h"

inline constexpr unsigned kWatchdogMs = 10000;   // Timer_ProvPotok
inline constexpr unsigned kRoundWaitMs = 10000;  // longest wait for one account's check within a round
inline constexpr unsigned kSettleMs = 300;       // pause after each account's check
inline constexpr int kCheckingTrayImage = 11;

// The first tick after the first paint: 30 s when started with Windows, else 1 s.
unsigned FirstTickMs(bool autoZagr);
// Watchdog ticks a check may take: max(2, ProvEmSek / 20).
int32_t WatchdogLimit(int32_t provEmSek);

class TCheckHost {
  public:
    virtual ~TCheckHost() = default;
    // Timer_ProvEm. Setting the interval or enabling restarts the count, as a window timer does.
    virtual void MailTimerInterval(unsigned ms) = 0;
    virtual void MailTimerEnabled(bool enabled) = 0;
    virtual void WatchdogEnabled(bool enabled) = 0;    // Timer_ProvPotok, 10 s
    virtual void BlinkTimerEnabled(bool enabled) = 0;  // Timer_MorgIcon
    virtual void SetTrayImage(int index) = 0;
    virtual void SetTrayHint(const std::wstring& hint) = 0;
    // Starts the check thread for the account; false when it could not be started.
    virtual bool StartThread(AListEm& account) = 0;
    // The started check's own running flag: false once its thread has ended the session normally (or when no
    // check was started). Read into ConectRun by the scheduler.
    virtual bool ThreadRunning() = 0;
    // Aborts the running check and waits, bounded, for its thread to end. Safe when the thread has already freed
    // itself. timedOut: the check took too long (its outcome reads as a time-out, not as cancelled).
    virtual void StopThread(bool timedOut) = 0;
    // Waits ms while the window keeps answering (messages are dispatched, so handlers may run inside); with
    // untilCheckEnds it returns as soon as ConectRun is clear or the check's thread has ended its session normally.
    // False when the program is quitting (WM_QUIT seen and posted again).
    virtual bool Wait(unsigned ms, bool untilCheckEnds) = 0;
    // The result processing of a finished round (only called while no check runs).
    virtual void ProcessCheckResults() = 0;
    virtual void InfoBeep() = 0;
};

class TCheckScheduler {
  public:
    TCheckScheduler(TNotifierLists& lists,
                    const TSettings& settings,
                    const TPersistState& persist,
                    TRunState& run,
                    TCheckHost& host)
        : lists_(lists), settings_(settings), persist_(persist), run_(run), host_(host) {}

    // At the first paint: the watchdog limit and the first tick.
    void FirstPaint();
    // The apply button: the interval from the settings, timer on.
    void Applied();
    // Timer_ProvEmTimer.
    void MailTimerTick();
    // Timer_ProvPotokTimer.
    void WatchdogTick();
    // The check button and the tray item ObnovProvEm: every account, then the information beep.
    void CheckNow();
    // Minimising the window: the next account.
    void Minimised() { CheckMail(false); }

    void CheckMail(bool all);
    void StartCheck(AListEm& account);
    // timedOut: the watchdog's stop, or a start that finds the previous check still running after its round's wait.
    void StopCheck(bool timedOut = false);
    // ProcessCheckResults, or one more watchdog tick while a check still runs.
    void ProcessResults();

  private:
    bool GatePasses() const;
    // ConectRun follows the check thread's own flag: clear once the session ended normally.
    void TakeThreadEnd();

    TNotifierLists& lists_;
    const TSettings& settings_;
    const TPersistState& persist_;
    TRunState& run_;
    TCheckHost& host_;
};
