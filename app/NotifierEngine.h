// TNotifierEngine: what makes the notifier announce mail and reminders in the running program. It owns the four
// timers (Timer_ProvEm, Timer_ProvPotok, Timer_MorgIcon, TimerSobtiy), the check thread's hand-over (outcome queue,
// stop control, announced letters) and the alert window AdvAlertWindow1, and drives the tray icon, the taskbar
// flash and the sounds. The window-free logic (TCheckScheduler, ProcessCheckResults, ReminderTick, ...) does the
// deciding; this component is its Win32 host. The main window owns the engine, implements TNotifierWindow for the
// few things only it can do, and calls the engine from its handlers.
// Index: TNotifierWindow, TNotifierEngine.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/DataModel.h"
#include "app/LangTable.h"
#include "app/MailCheck.h"
#include "app/RunState.h"
#include "classlib/Component.h"
#include "classlib/SysUtils.h"

namespace netlib {
class RootStoreWarmUp;
}

class TbsTrayIcon;
class TMsgAlertWindow;
class TTimer;
class TConectQueue;
class TConectControl;

// What the engine needs of the main window.
class TNotifierWindow {
  public:
    virtual ~TNotifierWindow() = default;
    // The main window's handle: owner of the pages opened with the shell.
    virtual HWND NotifierOwner() = 0;
    virtual void LettersChanged() = 0;   // row count of ListView_Pism = number of letters
    virtual void EventsChanged() = 0;    // row count and repaint of the reminder list view
    virtual void EventsTicked() = 0;     // repaint of the reminder list view when its page is shown
    virtual void FiredEventAdded() = 0;  // row count of the fired list view, its last row selected
    virtual void UpdateFormHeight(int rows) = 0;
    virtual void SaveSettings() = 0;
};

class TNotifierEngine : public TComponent {
  public:
    // Everything is borrowed and must outlive the engine (the owner frees the engine before them). The tray icon
    // gets the image index and the hint; its image list (13 images: idle, counts 1 to 10, checking, alarm) is the
    // main window's business. The timers start disabled.
    TNotifierEngine(TComponent* AOwner,
                    TNotifierLists& lists,
                    TSettings& settings,
                    TPersistState& persist,
                    TRunState& run,
                    const TLanguage& lang,
                    TbsTrayIcon* tray,
                    TNotifierWindow& window);
    ~TNotifierEngine() override;
    // Stops the timers and a running check (bounded wait) before anything borrowed goes away.
    void BeforeDestruction() override;
    // Forgets the tray icon when it is freed first.
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // ---- what the main window calls ----
    // The popup style by SkinIndex and the popup size from the screen (at creation and on apply).
    void SetAlertStyle();
    // The popup display time from VremPokVspOkn (at the first paint and on apply).
    void ApplyDisplayTime();
    // End of the first paint: the watchdog limit, the mail-check timer armed with FirstTickMs, TimerSobtiy on.
    void FirstPaint();
    // Start of the apply button: the mail-check timer stops while the settings change.
    void ApplyStarting();
    // End of the apply button: the mail-check timer with ProvEmSek, on.
    void Applied();
    // One round: all accounts, or the next one in rotation (minimising the window passes false).
    void CheckMail(bool all);
    // Button_ProvEml and the tray item ObnovProvEm: every account, then the information beep.
    void CheckNow();
    // Ends a running check (tray restore, exit).
    void StopCheck();
    // Tray items PokazSoob and Clear_Soob.
    void ShowMessages();
    void ClearMessages();
    // The tray icon's click: the newest letter's page.
    void TrayClick();

    // ---- state ----
    // A check was started and its thread has not ended its session normally (nor was it stopped).
    bool Checking() const;
    TMsgAlertWindow* AlertWindow() const { return alert_; }
    // Letters announced so far; the account editor forgets an account after editing it.
    TAnnouncedLetters& Announced() { return *announced_; }

    // ---- seams for tests and tools ----
    // The reminders' clock (default: Now).
    void SetClock(std::function<TDateTime()> clock) { clock_ = std::move(clock); }
    // Date and time formats of the popup texts (default: the user's locale).
    void SetFormatSettings(const TFormatSettings& fs) { fs_ = fs; }
    // Options every check thread gets (time-outs, TLS library folder); OtobrTextEm is taken from the settings.
    TMailCheckOptions& CheckOptions() { return options_; }
    // Where letters' pages go (default: the shell's "open", owner the main window).
    void SetPageOpener(std::function<void(const std::wstring& url)> opener) { pageOpener_ = std::move(opener); }
    TTimer* MailTimer() const { return timerProvEm_; }
    TTimer* WatchdogTimer() const { return timerProvPotok_; }
    TTimer* BlinkTimer() const { return timerMorgIcon_; }
    TTimer* ReminderTimer() const { return timerSobtiy_; }

  private:
    class THost;
    void MailTimerTick();
    void WatchdogTick();
    void BlinkTick();
    void ReminderTick();
    void AlertClicked();
    void AlertClosed();
    void AlertMessageDeleted(int index);
    // Stops every check thread still running and waits for all of them within one bounded wait.
    void StopAllChecks();

    TNotifierLists& lists_;
    TSettings& settings_;
    TPersistState& persist_;
    TRunState& run_;
    const TLanguage& lang_;
    TbsTrayIcon* tray_;
    TNotifierWindow& window_;
    TFormatSettings fs_;
    std::function<TDateTime()> clock_;
    TMailCheckOptions options_;
    std::function<void(const std::wstring&)> pageOpener_;
    std::shared_ptr<TAnnouncedLetters> announced_;
    std::shared_ptr<TConectQueue> queue_;
    std::shared_ptr<TConectControl> control_;  // of the running or last check
    // Every check whose thread has not ended yet: a thread that outlived its stop wait is stopped again, and
    // waited for, when the engine goes, so that no check thread runs on into the end of the process.
    std::vector<std::shared_ptr<TConectControl>> checks_;
    std::unique_ptr<THost> host_;
    std::unique_ptr<netlib::RootStoreWarmUp> rootStore_;  // the first check finds the trust store ready
    TMsgAlertWindow* alert_ = nullptr;                    // owned through the component tree
    TTimer* timerProvEm_ = nullptr;
    TTimer* timerProvPotok_ = nullptr;
    TTimer* timerMorgIcon_ = nullptr;
    TTimer* timerSobtiy_ = nullptr;
    bool stopping_ = false;
};
