// Check scheduling on a simulated clock: the timers, the check thread and the waits are simulated by the host,
// and timer ticks that fall inside a wait run inside it, as they do when the wait dispatches messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>

#include "app/CheckSchedule.h"

namespace {

constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();

struct TStart {
    uint64_t at;
    std::wstring login;
};

struct TSimHost : TCheckHost {
    TNotifierLists lists;
    TSettings settings;
    TPersistState persist;
    TRunState run;
    TCheckScheduler scheduler{lists, settings, persist, run, *this};

    uint64_t now = 0;
    struct Timer {
        bool enabled = false;
        unsigned interval = 0;
        uint64_t due = 0;
    } mail, watchdog{false, kWatchdogMs, 0};

    // How long each started check takes, in start order; missing entries take defaultMs. kNever hangs.
    std::vector<uint64_t> durations;
    uint64_t defaultMs = 2000;
    bool threadRunning = false;
    bool sessionRunning = false;  // the started check's own flag, cleared by a normal end
    uint64_t threadEnds = 0;
    bool startFails = false;
    uint64_t quitAt = kNever;
    std::function<void()> onFirstWait;

    std::vector<TStart> starts;
    std::vector<uint64_t> stops, processed;
    std::vector<int> trayImages;
    std::wstring hint;
    bool blink = false;
    int beeps = 0;

    AListEm& AddAccount(const std::wstring& login) {
        auto account = std::make_unique<AListEm>();
        account->Login = login;
        lists.Accounts.push_back(std::move(account));
        return *lists.Accounts.back();
    }

    void MailTimerInterval(unsigned ms) override {
        if (ms != mail.interval && mail.enabled)
            mail.due = now + ms;
        mail.interval = ms;
    }
    void MailTimerEnabled(bool enabled) override {
        if (enabled && !mail.enabled)
            mail.due = now + mail.interval;
        mail.enabled = enabled;
    }
    void WatchdogEnabled(bool enabled) override {
        if (enabled && !watchdog.enabled)
            watchdog.due = now + watchdog.interval;
        watchdog.enabled = enabled;
    }
    void BlinkTimerEnabled(bool enabled) override { blink = enabled; }
    void SetTrayImage(int index) override { trayImages.push_back(index); }
    void SetTrayHint(const std::wstring& text) override { hint = text; }
    bool StartThread(AListEm& account) override {
        if (startFails)
            return false;
        const size_t n = starts.size();
        starts.push_back({now, account.Login});
        const uint64_t took = n < durations.size() ? durations[n] : defaultMs;
        threadRunning = true;
        sessionRunning = true;
        threadEnds = took == kNever ? kNever : now + took;
        return true;
    }
    bool ThreadRunning() override { return sessionRunning; }
    void StopThread(bool) override {
        stops.push_back(now);
        threadRunning = false;
    }
    bool Wait(unsigned ms, bool untilCheckEnds) override {
        if (onFirstWait) {
            auto hook = std::move(onFirstWait);
            onFirstWait = nullptr;
            hook();
        }
        const uint64_t deadline = now + ms;
        for (;;) {
            if (now >= quitAt)
                return false;
            if (untilCheckEnds && (!run.ConectRun || !sessionRunning))
                return true;
            const uint64_t next = std::min(NextEvent(), quitAt);
            if (next > deadline) {
                now = deadline;
                return true;
            }
            now = next;
            FireDue();
        }
    }
    void ProcessCheckResults() override { processed.push_back(now); }
    void InfoBeep() override { ++beeps; }

    uint64_t NextEvent() const {
        uint64_t next = kNever;
        if (threadRunning)
            next = std::min(next, threadEnds);
        if (mail.enabled)
            next = std::min(next, mail.due);
        if (watchdog.enabled)
            next = std::min(next, watchdog.due);
        return next;
    }
    void FireDue() {
        if (threadRunning && threadEnds <= now) {
            threadRunning = false;
            sessionRunning = false;  // a session that ended normally
        }
        if (mail.enabled && mail.due <= now) {
            mail.due = now + mail.interval;
            scheduler.MailTimerTick();
        }
        if (watchdog.enabled && watchdog.due <= now) {
            watchdog.due = now + watchdog.interval;
            scheduler.WatchdogTick();
        }
    }
    // The message loop of the window until `until`.
    void RunUntil(uint64_t until) {
        for (;;) {
            const uint64_t next = NextEvent();
            if (next > until || next >= quitAt) {
                now = until;
                return;
            }
            now = next;
            FireDue();
        }
    }
    std::vector<std::wstring> Logins() const {
        std::vector<std::wstring> out;
        for (const TStart& s : starts)
            out.push_back(s.login);
        return out;
    }
    std::vector<uint64_t> StartTimes() const {
        std::vector<uint64_t> out;
        for (const TStart& s : starts)
            out.push_back(s.at);
        return out;
    }
};

TEST(CheckSchedule, WatchdogLimit) {
    const std::pair<int, int> cases[] = {{30, 2}, {45, 2}, {60, 3}, {600, 30}, {86400, 4320}};
    for (const auto& [sek, limit] : cases)
        EXPECT_EQ(WatchdogLimit(sek), limit) << sek;
}

TEST(CheckSchedule, FirstTickThenEveryIntervalAfterTheRound) {
    struct Case {
        bool autoZagr;
        uint64_t checkMs;
        std::vector<uint64_t> starts;
    };
    const Case cases[] = {
        // A round ends 300 ms after its check; the next starts ProvEmSek later.
        {false, 2000, {1000, 63300, 125600}},
        {true, 2000, {30000, 92300, 154600}},
        // A check that takes longer than the round's wait: the round goes on after 10 s.
        {false, 15000, {1000, 71300, 141600}},
    };
    for (const Case& c : cases) {
        TSimHost sim;
        sim.settings.ProvEmSek = 60;
        sim.settings.AutoZagr = c.autoZagr;
        sim.defaultMs = c.checkMs;
        sim.AddAccount(L"a");
        sim.scheduler.FirstPaint();
        sim.RunUntil(c.starts.back());
        EXPECT_EQ(sim.StartTimes(), c.starts) << c.autoZagr << " " << c.checkMs;
        EXPECT_EQ(sim.run.LimitPotok, 3);
    }
}

TEST(CheckSchedule, WhichAccountsEachRoundChecks) {
    struct Case {
        bool provVseSrazu;
        std::vector<std::wstring> logins;  // the first six starts
    };
    const Case cases[] = {
        // The first tick checks every account, then one per round in rotation.
        {false, {L"A", L"B", L"C", L"A", L"B", L"C"}},
        {true, {L"A", L"B", L"C", L"A", L"B", L"C"}},
    };
    for (const Case& c : cases) {
        TSimHost sim;
        sim.settings.ProvVseSrazu = c.provVseSrazu;
        for (const wchar_t* login : {L"A", L"B", L"C"})
            sim.AddAccount(login);
        sim.scheduler.FirstPaint();
        sim.RunUntil(600000);
        ASSERT_GE(sim.starts.size(), 6u);
        sim.starts.resize(6);
        EXPECT_EQ(sim.Logins(), c.logins);
        const size_t rounds = sim.processed.size();
        // One account per round in rotation: three more rounds than with all at once.
        if (c.provVseSrazu) {
            EXPECT_EQ(sim.StartTimes()[1], 1000u + 2000 + 300);
            EXPECT_EQ(sim.StartTimes()[3], sim.processed[0] + 60000);
        } else {
            EXPECT_EQ(sim.StartTimes()[3], sim.processed[0] + 60000);
            EXPECT_EQ(sim.StartTimes()[4], sim.processed[1] + 60000);
        }
        EXPECT_GE(rounds, 2u);
    }
}

TEST(CheckSchedule, RotationRestartsWhenAccountsWereDeleted) {
    TSimHost sim;
    sim.settings.ProvVseSrazu = false;
    for (const wchar_t* login : {L"A", L"B", L"C"})
        sim.AddAccount(login);
    sim.run.PervTik = false;
    sim.run.NomerEm = 1;
    sim.lists.Accounts.pop_back();  // C goes: NomerEm + 1 is out of range
    sim.scheduler.CheckMail(false);
    sim.scheduler.CheckMail(false);
    EXPECT_EQ(sim.Logins(), (std::vector<std::wstring>{L"A", L"B"}));
}

TEST(CheckSchedule, AllAccountsOneAfterAnother) {
    TSimHost sim;
    sim.settings.ProvVseSrazu = true;
    sim.AddAccount(L"A");
    sim.AddAccount(L"B");
    sim.durations = {kNever, 500};
    sim.run.PervTik = false;
    sim.scheduler.CheckMail(false);
    // The first check hangs: the second starts after 10 s plus 300 ms, and the first is stopped before it.
    EXPECT_EQ(sim.StartTimes(), (std::vector<uint64_t>{0, 10300}));
    ASSERT_EQ(sim.stops.size(), 1u);
    EXPECT_EQ(sim.stops[0], 10300u);
    EXPECT_EQ(sim.processed, (std::vector<uint64_t>{10300 + 500 + 300}));
}

TEST(CheckSchedule, ManualCheckChecksAll) {
    TSimHost sim;
    for (const wchar_t* login : {L"A", L"B", L"C"})
        sim.AddAccount(login);
    sim.run.PervTik = false;
    sim.scheduler.CheckNow();
    EXPECT_EQ(sim.Logins(), (std::vector<std::wstring>{L"A", L"B", L"C"}));
    EXPECT_EQ(sim.beeps, 1);
    EXPECT_EQ(sim.processed.size(), 1u);
    EXPECT_TRUE(sim.mail.enabled);  // the next round is counted from the end of this one
    sim.scheduler.Minimised();      // the next account in rotation
    EXPECT_EQ(sim.starts.back().login, L"A");
}

TEST(CheckSchedule, NoAccountsNeverConnect) {
    TSimHost sim;
    sim.scheduler.FirstPaint();
    sim.RunUntil(3600000);
    EXPECT_TRUE(sim.starts.empty());
    EXPECT_TRUE(sim.processed.empty());
    EXPECT_FALSE(sim.mail.enabled);  // the first tick turned it off
    sim.scheduler.CheckNow();
    EXPECT_TRUE(sim.starts.empty());
    EXPECT_EQ(sim.beeps, 1);
}

TEST(CheckSchedule, WatchdogEndsAHungCheckAndTheNextRoundComes) {
    TSimHost sim;
    sim.settings.ProvEmSek = 60;  // LimitPotok 3
    sim.AddAccount(L"A");
    sim.durations = {kNever};
    sim.scheduler.FirstPaint();
    sim.RunUntil(200000);
    // Round at 1 s: its 10 s wait and the watchdog tick inside it, 300 ms, one tick counted by the result
    // processing; the watchdog's third tick at 21 s stops the check and processes the results.
    ASSERT_GE(sim.stops.size(), 1u);
    EXPECT_EQ(sim.stops[0], 21000u);
    ASSERT_GE(sim.processed.size(), 1u);
    EXPECT_EQ(sim.processed[0], 21000u);
    EXPECT_FALSE(sim.run.ConectRun);
    ASSERT_GE(sim.starts.size(), 2u);
    EXPECT_EQ(sim.starts[1].at, 1000u + 10000 + 300 + 60000);  // counted from the end of the hung round
    EXPECT_EQ(sim.processed[1], sim.starts[1].at + 2000 + 300);
}

TEST(CheckSchedule, WatchdogWithALongerLimit) {
    TSimHost sim;
    sim.settings.ProvEmSek = 600;  // LimitPotok 30: the limit keeps its start value after a later apply
    sim.AddAccount(L"A");
    sim.durations = {kNever};
    sim.scheduler.FirstPaint();
    sim.RunUntil(620000);
    ASSERT_GE(sim.stops.size(), 1u);
    EXPECT_EQ(sim.stops[0], 11000u + 28 * 10000);  // ticks 1 and 2 came within the round itself
    EXPECT_EQ(sim.processed[0], sim.stops[0]);
    ASSERT_EQ(sim.starts.size(), 2u);
    EXPECT_EQ(sim.starts[1].at, 1000u + 10300 + 600000);
    sim.settings.ProvEmSek = 30;
    sim.scheduler.Applied();
    EXPECT_EQ(sim.run.LimitPotok, 30);
    EXPECT_EQ(sim.mail.interval, 30000u);
}

TEST(CheckSchedule, StartPasswordGate) {
    struct Case {
        const char* what;
        const wchar_t* idKomp;
        const wchar_t* idKompFile;
        bool zapuskPass;
        const wchar_t* typed;
        const wchar_t* password;
        bool starts;
    };
    const Case cases[] = {
        {"same computer, no password asked", L"X", L"X", false, L"", L"secret", true},
        {"other computer, right password", L"X", L"Y", false, L"secret", L"secret", true},
        {"other computer, no password set", L"X", L"Y", false, L"", L"", true},
        {"other computer, wrong password", L"X", L"Y", false, L"", L"secret", false},
        {"password asked, right", L"X", L"X", true, L"secret", L"secret", true},
        {"password changed while running", L"X", L"X", true, L"old", L"new", false},
    };
    for (const Case& c : cases) {
        TSimHost sim;
        sim.persist.IdKomp = c.idKomp;
        sim.persist.IdKompFile = c.idKompFile;
        sim.settings.ZapuskPass = c.zapuskPass;
        sim.settings.PassZapusk = c.password;
        sim.run.ParolVvod = c.typed;
        sim.AddAccount(L"A");
        sim.scheduler.CheckNow();
        EXPECT_EQ(sim.starts.size(), c.starts ? 1u : 0u) << c.what;
        EXPECT_EQ(sim.processed.size(), 1u) << c.what;  // the round itself still runs
        EXPECT_EQ(sim.now, c.starts ? 2300u : 300u) << c.what;
    }
}

TEST(CheckSchedule, TrayDuringACheck) {
    for (bool trevoga : {false, true}) {
        TSimHost sim;
        sim.AddAccount(L"ivan");
        sim.run.Trevoga = trevoga;
        sim.hint = L"Meeting";
        sim.scheduler.CheckNow();
        ASSERT_FALSE(sim.trayImages.empty());
        EXPECT_EQ(sim.trayImages.front(), kCheckingTrayImage);
        EXPECT_EQ(sim.hint, trevoga ? L"Meeting" : L"ivan");
        EXPECT_EQ(sim.blink, trevoga);  // a round starts with the blink only for an alarm
    }
}

TEST(CheckSchedule, QuitDuringAWaitUnwindsTheRound) {
    TSimHost sim;
    sim.AddAccount(L"A");
    sim.AddAccount(L"B");
    sim.durations = {kNever};
    sim.quitAt = 4000;
    sim.scheduler.CheckNow();
    EXPECT_EQ(sim.starts.size(), 1u);
    EXPECT_TRUE(sim.processed.empty());
    EXPECT_FALSE(sim.mail.enabled);
}

TEST(CheckSchedule, AccountsDeletedDuringARound) {
    TSimHost sim;
    for (const wchar_t* login : {L"A", L"B", L"C"})
        sim.AddAccount(login);
    sim.onFirstWait = [&sim] { sim.lists.Accounts.resize(1); };
    sim.scheduler.CheckNow();
    EXPECT_EQ(sim.Logins(), (std::vector<std::wstring>{L"A"}));
    EXPECT_EQ(sim.processed.size(), 1u);
}

TEST(CheckSchedule, AThreadThatCannotStartLeavesNoCheckRunning) {
    TSimHost sim;
    sim.AddAccount(L"A");
    sim.startFails = true;
    sim.scheduler.CheckNow();
    EXPECT_FALSE(sim.run.ConectRun);
    EXPECT_EQ(sim.processed.size(), 1u);
    EXPECT_EQ(sim.now, 300u);  // no 10-second wait for a check that never began
}

}  // namespace
