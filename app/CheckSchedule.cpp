// Check scheduling and watchdog.
#include "app/CheckSchedule.h"

#include <algorithm>

#include "base/Report.h"

unsigned FirstTickMs(bool autoZagr) {
    return autoZagr ? 30000 : 1000;
}

int32_t WatchdogLimit(int32_t provEmSek) {
    return std::max<int32_t>(2, provEmSek / 20);
}

namespace {

unsigned IntervalMs(int32_t provEmSek) {
    return static_cast<unsigned>(std::max<int32_t>(provEmSek, 1)) * 1000u;
}

}  // namespace

void TCheckScheduler::FirstPaint() {
    run_.LimitPotok = WatchdogLimit(settings_.ProvEmSek);
    host_.MailTimerInterval(FirstTickMs(settings_.AutoZagr));
    host_.MailTimerEnabled(true);
}

void TCheckScheduler::Applied() {
    host_.MailTimerInterval(IntervalMs(settings_.ProvEmSek));
    host_.MailTimerEnabled(true);
}

void TCheckScheduler::MailTimerTick() {
    if (run_.PervTik) {
        run_.PervTik = false;
        host_.MailTimerEnabled(false);
        host_.MailTimerInterval(IntervalMs(settings_.ProvEmSek));
        CheckMail(true);
    } else {
        CheckMail(false);
    }
}

void TCheckScheduler::TakeThreadEnd() {
    if (run_.ConectRun && !host_.ThreadRunning())
        run_.ConectRun = false;
}

void TCheckScheduler::WatchdogTick() {
    TakeThreadEnd();
    if (run_.ConectRun)
        ++run_.TikPotok;
    if (run_.TikPotok < run_.LimitPotok)
        return;
    run_.TikPotok = 0;
    StopCheck(true);
    ProcessResults();
}

void TCheckScheduler::CheckNow() {
    CheckMail(true);
    host_.InfoBeep();
}

void TCheckScheduler::CheckMail(bool all) {
    if (lists_.Accounts.empty()) {
        // A first tick has already stopped the timer: it stays off until the next apply or manual check.
        return;
    }
    try {
        host_.MailTimerEnabled(false);
        host_.WatchdogEnabled(false);
        host_.BlinkTimerEnabled(run_.Trevoga);
        run_.TikPotok = 0;
        host_.SetTrayImage(kCheckingTrayImage);
        host_.WatchdogEnabled(true);
        if (all || settings_.ProvVseSrazu) {
            // By index with the count read again after every wait: an account may be deleted meanwhile.
            for (size_t i = 0; i < lists_.Accounts.size(); ++i) {
                StartCheck(*lists_.Accounts[i]);
                if (i + 1 < lists_.Accounts.size()) {
                    if (!host_.Wait(kRoundWaitMs, true) || !host_.Wait(kSettleMs, false))
                        return;  // quitting: the round unwinds
                }
            }
        } else {
            int32_t next = run_.NomerEm + 1;
            if (next < 0 || static_cast<size_t>(next) >= lists_.Accounts.size())
                next = 0;
            run_.NomerEm = next;
            StartCheck(*lists_.Accounts[static_cast<size_t>(next)]);
        }
    } catch (...) {
        ReportCaught("TCheckScheduler: check round");
        // A failing start leaves the round to its end; the watchdog ends what hangs.
    }
    if (!host_.Wait(kRoundWaitMs, true) || !host_.Wait(kSettleMs, false))
        return;
    ProcessResults();
    host_.MailTimerEnabled(true);
    host_.WatchdogEnabled(true);
}

bool TCheckScheduler::GatePasses() const {
    const bool asked = persist_.IdKompFile != persist_.IdKomp || settings_.ZapuskPass;
    return !asked || run_.ParolVvod == settings_.PassZapusk;
}

void TCheckScheduler::StartCheck(AListEm& account) {
    StopCheck(true);
    if (!GatePasses())
        return;
    if (!run_.Trevoga)
        host_.SetTrayHint(account.Login);
    run_.ConectRun = true;
    bool started = false;
    try {
        started = host_.StartThread(account);
    } catch (...) {
        ReportCaught("TCheckScheduler::StartCheck");
    }
    if (!started)
        run_.ConectRun = false;  // no check to wait for
}

void TCheckScheduler::StopCheck(bool timedOut) {
    TakeThreadEnd();
    if (run_.ConectRun) {
        try {
            host_.StopThread(timedOut);
        } catch (...) {
            ReportCaught("TCheckScheduler::StopCheck");
        }
    }
    run_.ConectRun = false;
}

void TCheckScheduler::ProcessResults() {
    TakeThreadEnd();
    if (run_.ConectRun) {
        ++run_.TikPotok;
        return;
    }
    try {
        host_.ProcessCheckResults();
    } catch (...) {
        ReportCaught("TCheckScheduler::ProcessResults");
    }
}
