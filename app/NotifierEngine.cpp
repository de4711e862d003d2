// The notifier engine: the scheduling, result processing and reminders over real timers, the check thread, the
// alert window, the tray icon and the sounds.
#include "app/NotifierEngine.h"

#include <shellapi.h>

#include "alert/MsgAlertWindow.h"
#include "app/CheckSchedule.h"
#include "app/MessageWait.h"
#include "app/Reminders.h"
#include "app/ResultProcessing.h"
#include "app/Sounds.h"
#include "app/ThreadConect.h"
#include "base/Report.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "netlib/tls_rootstore.h"
#include "skin/form/TrayIcon.h"

namespace {

// Longest wait for a stopped check to end: the abort ends every network wait at once, so this only bounds a
// thread stuck outside the network.
constexpr unsigned kStopWaitMs = 5000;
constexpr unsigned kBlinkMs = 700;
constexpr unsigned kReminderMs = 1000;

TTimer* MakeTimer(TComponent* owner, const wchar_t* name, unsigned interval, std::function<void()> tick) {
    auto* timer = new TTimer(owner);
    timer->SetName(name);
    timer->SetEnabled(false);
    timer->SetInterval(interval);
    timer->OnTimer = [tick = std::move(tick)](TObject*) { tick(); };
    return timer;
}

}  // namespace

// Both hosts of the window-free logic, over the engine's timers, thread hand-over, alert window and tray icon.
class TNotifierEngine::THost : public TCheckHost, public TNotifyHost {
  public:
    explicit THost(TNotifierEngine& e)
        : e_(e),
          context_{e.lists_, e.settings_, e.run_, e.lang_, e.fs_, *this},
          scheduler_(e.lists_, e.settings_, e.persist_, e.run_, *this) {}

    TNotifyContext& Context() { return context_; }
    TCheckScheduler& Scheduler() { return scheduler_; }

    // ---- TCheckHost ----
    void MailTimerInterval(unsigned ms) override { e_.timerProvEm_->SetInterval(ms); }
    void MailTimerEnabled(bool enabled) override { e_.timerProvEm_->SetEnabled(enabled && !e_.stopping_); }
    void WatchdogEnabled(bool enabled) override { e_.timerProvPotok_->SetEnabled(enabled && !e_.stopping_); }
    void BlinkTimerEnabled(bool enabled) override { BlinkTimer(enabled); }
    bool StartThread(AListEm& account) override {
        if (e_.stopping_)
            return false;
        TConectContext context;
        context.Options = e_.options_;
        context.Options.OtobrTextEm = e_.settings_.OtobrTextEm;
        context.Announced = e_.announced_;
        context.Queue = e_.queue_;
        context.Control = std::make_shared<TConectControl>();
        e_.control_ = context.Control;
        std::erase_if(e_.checks_, [](const std::shared_ptr<TConectControl>& c) { return c->Ended(); });
        e_.checks_.push_back(context.Control);
        new TThread_Conect(&account, std::move(context));  // frees itself when it ends
        return true;
    }
    void StopThread(bool timedOut) override {
        if (!e_.control_)
            return;
        if (timedOut)
            e_.control_->StopTimedOut();
        else
            e_.control_->Stop();
        // The abort ends every network wait at once, but the thread needs a moment to unwind: meanwhile the window
        // keeps answering other threads, and no timer or click of ours runs inside the stop.
        if (!e_.control_->Ended() && e_.control_->EndedHandle())
            WaitAnsweringSent(kStopWaitMs, e_.control_->EndedHandle());
    }
    bool ThreadRunning() override { return e_.control_ && e_.control_->Running(); }
    bool Wait(unsigned ms, bool untilCheckEnds) override {
        if (e_.stopping_)
            return false;
        static const std::atomic<bool> kNotRunning{false};
        // Held for the wait: a handler inside it may start the next check and replace control_.
        const std::shared_ptr<TConectControl> control = e_.control_;
        const std::atomic<bool>* until = nullptr;
        if (untilCheckEnds)
            until = e_.run_.ConectRun && control ? &control->RunningFlag() : &kNotRunning;
        return WaitPumping(ms, nullptr, until);
    }
    void ProcessCheckResults() override { ::ProcessCheckResults(context_); }

    // ---- both ----
    void SetTrayImage(int index) override {
        if (e_.tray_)
            e_.tray_->SetIconIndex(index);
    }
    void SetTrayHint(const std::wstring& hint) override {
        if (e_.tray_)
            e_.tray_->SetHint(hint);
    }
    void InfoBeep() override { ::InfoBeep(); }

    // ---- TNotifyHost ----
    void AlertAdd(const std::vector<std::wstring>& texts) override {
        if (texts.empty())
            return;
        TMsgAlertWindow* alert = e_.alert_;
        // The popup takes the new messages once, after the last: adding one does not cost a pass over all the
        // messages it holds.
        alert->BeginUpdate();
        try {
            for (const std::wstring& text : texts) {
                TMsgCollectionItem* item = alert->AlertMessages()->Add();
                item->SetTextString(text);
                item->Tag = alert->AlertMessages()->Count() - 1;
            }
        } catch (...) {
            alert->EndUpdate();
            throw;
        }
        alert->EndUpdate();
        alert->SetActiveMessage(alert->AlertMessages()->Count());
        alert->Show();
        // The popup window is made by the first Show, which had nowhere to keep the active message.
        alert->SetActiveMessage(alert->AlertMessages()->Count());
    }
    void AlertShow() override { e_.alert_->Show(); }
    void AlertHide() override { e_.alert_->Hide(); }
    void AlertClear() override {
        TMsgCollection* messages = e_.alert_->AlertMessages();
        while (messages->Count() > 0)
            e_.alert_->DeleteMessage(0);
        messages->Clear();
        e_.alert_->SetActiveMessage(messages->Count());
    }
    bool TrayVisible() const override { return e_.tray_ && e_.tray_->IconVisible(); }
    int TrayImage() const override { return e_.tray_ ? e_.tray_->IconIndex() : 0; }
    void FlashTaskbar() override {
        HWND button = e_.window_.NotifierOwner();
        TApplication* app = FindApplication();
        if (app && !app->MainFormOnTaskBar() && app->Handle())
            button = app->Handle();
        if (button)
            FlashWindow(button, TRUE);
    }
    void BlinkTimer(bool enabled) override { e_.timerMorgIcon_->SetEnabled(enabled && !e_.stopping_); }
    void PlayMailSound() override { PlaySoundFile(e_.settings_.IspZvuk, e_.settings_.FZvuk, e_.persist_.ProgDir); }
    void PlayReminderSound() override {
        PlaySoundFile(e_.settings_.IspZvukN, e_.settings_.FZvukN, e_.persist_.ProgDir);
    }
    void OpenPage(const std::wstring& url) override {
        if (e_.pageOpener_)
            return e_.pageOpener_(url);
        ShellExecuteW(e_.window_.NotifierOwner(), L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    void CollectOutcomes() override {
        for (TConectOutcome& outcome : e_.queue_->Drain())
            ApplyConectOutcome(outcome, e_.lists_, e_.announced_.get());
    }
    void LettersChanged() override { e_.window_.LettersChanged(); }
    void EventsChanged() override { e_.window_.EventsChanged(); }
    void EventsTicked() override { e_.window_.EventsTicked(); }
    void FiredEventAdded() override { e_.window_.FiredEventAdded(); }
    void UpdateFormHeight(int rows) override { e_.window_.UpdateFormHeight(rows); }
    void SaveSettings() override { e_.window_.SaveSettings(); }

  private:
    TNotifierEngine& e_;
    TNotifyContext context_;
    TCheckScheduler scheduler_;
};

TNotifierEngine::TNotifierEngine(TComponent* AOwner,
                                 TNotifierLists& lists,
                                 TSettings& settings,
                                 TPersistState& persist,
                                 TRunState& run,
                                 const TLanguage& lang,
                                 TbsTrayIcon* tray,
                                 TNotifierWindow& window)
    : TComponent(AOwner),
      lists_(lists),
      settings_(settings),
      persist_(persist),
      run_(run),
      lang_(lang),
      tray_(tray),
      window_(window),
      fs_(TFormatSettings::FromUserLocale()),
      clock_([] { return Now(); }),
      announced_(std::make_shared<TAnnouncedLetters>()),
      queue_(std::make_shared<TConectQueue>()) {
    if (tray_)
        tray_->FreeNotification(this);
    host_ = std::make_unique<THost>(*this);
    timerProvEm_ = MakeTimer(this, L"Timer_ProvEm", 1000, [this] { MailTimerTick(); });
    timerProvPotok_ = MakeTimer(this, L"Timer_ProvPotok", kWatchdogMs, [this] { WatchdogTick(); });
    timerMorgIcon_ = MakeTimer(this, L"Timer_MorgIcon", kBlinkMs, [this] { BlinkTick(); });
    timerSobtiy_ = MakeTimer(this, L"TimerSobtiy", kReminderMs, [this] { ReminderTick(); });

    alert_ = new TMsgAlertWindow(this);
    alert_->SetName(L"AdvAlertWindow1");
    alert_->SetAutoHide(true);  // else the display time setting would do nothing
    alert_->SetAutoDelete(false);
    alert_->SetShowDelete(true);
    alert_->SetShowPopup(false);
    alert_->AlwaysOnTop = false;
    alert_->WindowPosition = wpRightBottom;
    alert_->FadeStep = 5;
    alert_->AlphaStart = 200;
    alert_->AlphaEnd = 200;
    alert_->SetPositionFormat(L"%d \x0438\x0437 %d");                                       // "%d of %d"
    alert_->HintNextBtn = L"\x0421\x043B\x0435\x0434\x0443\x044E\x0449\x0435\x0435";        // "Next"
    alert_->HintPrevBtn = L"\x041F\x0440\x0435\x0434\x044B\x0434\x0443\x0449\x0435\x0435";  // "Previous"
    alert_->HintCloseBtn = L"\x0417\x0430\x043A\x0440\x044B\x0442\x044C";                   // "Close"
    alert_->HintDeleteBtn = L"\x0423\x0434\x0430\x043B\x0438\x0442\x044C";                  // "Delete"
    alert_->OnAlertClick = [this](TObject*) { AlertClicked(); };
    alert_->OnClose = [this](TObject*) { AlertClosed(); };
    alert_->OnDeleteMessage = [this](TObject*, int index) { AlertMessageDeleted(index); };
    ApplyDisplayTime();
    SetAlertStyle();
}

TNotifierEngine::~TNotifierEngine() = default;

void TNotifierEngine::BeforeDestruction() {
    stopping_ = true;
    for (TTimer* timer : {timerProvEm_, timerProvPotok_, timerMorgIcon_, timerSobtiy_})
        timer->SetEnabled(false);
    StopCheck();
    StopAllChecks();
    // The alert window goes with the engine: what it raises while it is torn down concerns nobody.
    alert_->OnAlertClick = nullptr;
    alert_->OnClose = nullptr;
    alert_->OnDeleteMessage = nullptr;
    TComponent::BeforeDestruction();
}

void TNotifierEngine::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == tray_)
        tray_ = nullptr;
}

void TNotifierEngine::StopAllChecks() {
    for (const auto& check : checks_)
        check->Stop();
    const ULONGLONG deadline = GetTickCount64() + kStopWaitMs;
    for (const auto& check : checks_) {
        const ULONGLONG now = GetTickCount64();
        if (check->Ended() || !check->EndedHandle() || now >= deadline)
            continue;
        WaitAnsweringSent(static_cast<unsigned>(deadline - now), check->EndedHandle());
    }
    checks_.clear();
}

void TNotifierEngine::SetAlertStyle() {
    const std::wstring name = AlertStyleForSkin(settings_.SkinIndex);
    TMsgAlertWindowStyle style = asTerminal;
    static const struct {
        const wchar_t* name;
        TMsgAlertWindowStyle style;
    } kStyles[] = {{L"asOffice2007Luna", asOffice2007Luna},
                   {L"asOffice2010Black", asOffice2010Black},
                   {L"asOffice2010Silver", asOffice2010Silver},
                   {L"asOffice2010Blue", asOffice2010Blue},
                   {L"asOffice2013White", asOffice2013White},
                   {L"asWindows7", asWindows7},
                   {L"asWindows8", asWindows8},
                   {L"asTerminal", asTerminal}};
    for (const auto& s : kStyles) {
        if (name == s.name)
            style = s.style;
    }
    alert_->SetStyle(style);
    const TPopupSize size =
        PopupSizeFor(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), settings_.OtobrTextEm);
    alert_->PopupWidth = size.Width;
    alert_->PopupHeight = size.Height;
}

void TNotifierEngine::ApplyDisplayTime() {
    const int64_t ms = static_cast<int64_t>(settings_.VremPokVspOkn) * 1000;
    alert_->SetDisplayTime(static_cast<int>(std::clamp<int64_t>(ms, 1000, INT32_MAX)));
}

void TNotifierEngine::FirstPaint() {
    if (!rootStore_ && !stopping_) {
        try {
            rootStore_ = std::make_unique<netlib::RootStoreWarmUp>(options_.Tls.libraryFolder);
        } catch (...) {
            // The first check builds the store itself.
            ReportCaught("TNotifierEngine::FirstPaint: warming the trust store");
        }
    }
    ApplyDisplayTime();
    host_->Scheduler().FirstPaint();
    timerSobtiy_->SetEnabled(!stopping_);
}

void TNotifierEngine::ApplyStarting() {
    timerProvEm_->SetEnabled(false);
}

void TNotifierEngine::Applied() {
    ApplyDisplayTime();
    SetAlertStyle();
    host_->Scheduler().Applied();
}

void TNotifierEngine::CheckMail(bool all) {
    host_->Scheduler().CheckMail(all);
}

void TNotifierEngine::CheckNow() {
    host_->Scheduler().CheckNow();
}

void TNotifierEngine::StopCheck() {
    host_->Scheduler().StopCheck();
}

void TNotifierEngine::ShowMessages() {
    ::ShowMessages(host_->Context());
}

void TNotifierEngine::ClearMessages() {
    ::ClearMessages(host_->Context());
}

void TNotifierEngine::TrayClick() {
    ::TrayClick(host_->Context());
}

bool TNotifierEngine::Checking() const {
    return run_.ConectRun && control_ && control_->Running();
}

void TNotifierEngine::MailTimerTick() {
    host_->Scheduler().MailTimerTick();
}

void TNotifierEngine::WatchdogTick() {
    host_->Scheduler().WatchdogTick();
}

void TNotifierEngine::BlinkTick() {
    MorgIconTick(host_->Context());
}

void TNotifierEngine::ReminderTick() {
    ::ReminderTick(host_->Context(), clock_());
}

void TNotifierEngine::AlertClicked() {
    int active = 0;
    try {
        active = alert_->ActiveMessage();
    } catch (...) {
        ReportCaught("TNotifierEngine::AlertClicked");
    }
    AlertClick(host_->Context(), active);
}

void TNotifierEngine::AlertClosed() {
    AlertClose(host_->Context());
}

void TNotifierEngine::AlertMessageDeleted(int index) {
    AlertDeleteMessage(host_->Context(), index);
}
