// notifier_probe: measures the notifier, either its engine in a small host window (tray icon, alert window, the
// engine's timers) or, with "exe", the real TrelmMail.exe started in a private program folder and checking the
// private Dovecot of the tests (tools/notifier_probe/run.sh sets it up). Two things in one run:
//   1. CPU time of the idle notifier between checks (tray blinking for unread mail and, for the engine, 20 reminders
//      recomputed every second; nothing being checked) over a stretch of wall time, as a share of one core; the
//      program is measured a second time with no unread mail;
//   2. the longest time the GUI thread takes to answer SendMessageTimeout(WM_NULL), asked every 10 ms from another
//      thread, during a round against a loopback server that accepts and never answers (the round waits 10 s, the
//      watchdog ends the check after its second tick), next to the same figure with no round as the baseline.
// With "start", the start-up of TrelmMail.exe beside probe_window.exe (a one-window program built with the tools),
// started in turn in the same session: the time from CreateProcess to the first paint of the main window (its
// pixels on the screen changed), to the first answer of its GUI thread after that (input idle), and the anonymous
// memory of the Wine process a few seconds after start (RssAnon of /proc/<pid>/status); medians and ratios.
// Usage: notifier_probe.exe [idle seconds, default 60]
//        notifier_probe.exe exe [idle seconds]     (environment NETLIB_DOVECOT_DIR and NETLIB_DOVECOT_CTL set)
//        notifier_probe.exe start [runs, default 5]
//        notifier_probe.exe start RUNS silent      (no server known: the server list from a silent host)
//        notifier_probe.exe letters                (the Dovecot environment as for exe)
//        notifier_probe.exe accounts               (the same, with the users run.sh adds for "accounts")
// With "letters", the engine in a host window announces 1, 100, 500 and 2,000 new letters of the private Dovecot,
// one round each with a fresh engine; the round's time to the popup holding them all, beside fetching the same
// letters with the mail check alone (with the same options); what a letter adds to the round above the fetch and
// above the round of one letter, and the ratio of 2,000 to 500 of that.
// With "accounts", the first round of a fresh engine over 50 accounts with 20 new letters each beside the same round
// with none, and what a letter adds.
#include "AnswerProbe.h"
#include "SilentServer.h"
// After the sockets, which need to come before windows.h.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "NotifierDriver.h"
#include "TestSupport.h"
#include "tests/classlib/ScreenGrab.h"
#include "alert/MsgAlertWindow.h"
#include "app/NotifierEngine.h"
#include "app/SettingsFile.h"
#include "app/Sounds.h"
#include "base/Files.h"
#include "base/Handles.h"
#include "base/Utf.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "identity/MachineId.h"
#include "skin/form/TrayIcon.h"

using trelm_test::TAnswerProbe;
using trelm_test::TSilentServer;

namespace {

struct TQuietSounds : TSoundSink {
    void Beep(unsigned) override {}
    void PlayFile(const std::wstring&) override {}
};

struct THostWindow : TNotifierWindow {
    HWND handle = nullptr;
    HWND NotifierOwner() override { return handle; }
    void LettersChanged() override {}
    void EventsChanged() override {}
    void EventsTicked() override {}
    void FiredEventAdded() override {}
    void UpdateFormHeight(int) override {}
    void SaveSettings() override {}
};

// What an engine borrows from its main window.
struct TEngineWorld {
    TNotifierLists lists;
    TSettings settings;
    TPersistState persist;
    TRunState run;
    TLanguage lang;
    THostWindow host;
};

// Runs the message loop for ms or until done() holds.
void Loop(ULONGLONG ms, const std::function<bool()>& done = nullptr) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end && !(done && done())) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                  static_cast<DWORD>(std::min<ULONGLONG>(end - GetTickCount64(), 50)), QS_ALLINPUT);
        Application->ProcessMessages();
    }
}

ULONGLONG ProcessCpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    auto ms = [](const FILETIME& f) {
        return ((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000;
    };
    return ms(kernel) + ms(user);
}

// The CPU time of another process. Wine's GetProcessTimes does not keep up with another process (it reported no
// CPU time over stretches in which Linux counted hundreds of milliseconds), so under Wine it is read from Linux's
// accounting of the program's Unix process (all its threads): /proc/<pid>/stat through the Z: drive, the process
// found by its command line, which Wine starts with the program's Windows path. Elsewhere GetProcessTimes.
std::string ReadProcFile(const std::wstring& path) {
    TFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 0, nullptr));
    std::string bytes;
    if (!file.Valid())
        return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (bytes.size() < 65536 && ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
}

// Under Wine, the /proc folder (through the Z: drive) of the Unix process that runs the Windows program exe, found
// by its command line, which Wine starts with the program's Windows path; empty elsewhere or when none is found.
std::wstring UnixProcFolder(const std::wstring& exe) {
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        return {};
    const std::string path = WideToUtf8(exe);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    std::wstring folder;
    do {
        const std::wstring pid = found.cFileName;
        if (pid.find_first_not_of(L"0123456789") != std::wstring::npos)
            continue;
        const std::string command = ReadProcFile(L"Z:\\proc\\" + pid + L"\\cmdline");
        if (command.compare(0, path.size(), path) == 0 &&
            (command.size() == path.size() || command[path.size()] == ' ' || command[path.size()] == '\0')) {
            folder = L"Z:\\proc\\" + pid;
            break;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return folder;
}

class TProgramCpu {
  public:
    TProgramCpu(HANDLE process, const std::wstring& exe) : process_(process) {
        const std::wstring folder = UnixProcFolder(exe);
        if (!folder.empty()) {
            stat_ = folder + L"\\stat";
            // The program's first thread is its GUI thread; under Linux its task id is the process id.
            guiStatus_ = folder + L"\\task\\" + folder.substr(folder.rfind(L'\\') + 1) + L"\\status";
        }
    }
    // How often the GUI thread has gone to sleep and been woken since it started (Linux's count of its voluntary
    // context switches); -1 when unknown.
    long long GuiWakeups() const {
        if (guiStatus_.empty())
            return -1;
        const std::string status = ReadProcFile(guiStatus_);
        const size_t at = status.find("\nvoluntary_ctxt_switches:");
        return at == std::string::npos ? -1 : std::atoll(status.c_str() + at + 26);
    }
    const wchar_t* Source() const { return stat_.empty() ? L"GetProcessTimes" : L"/proc/<pid>/stat"; }
    ULONGLONG Ms() const {
        if (stat_.empty())
            return ProcessCpuMs(process_);
        // Fields after the command in parentheses: state is the 3rd field, utime the 14th, stime the 15th, in
        // clock ticks of 10 ms.
        const std::string stat = ReadProcFile(stat_);
        const size_t close = stat.rfind(')');
        if (close == std::string::npos)
            return 0;
        std::istringstream fields(stat.substr(close + 1));
        std::string field;
        ULONGLONG ticks = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i) {
            if (i >= 14)
                ticks += std::stoull(field);
        }
        return ticks * 10;
    }

  private:
    HANDLE process_;
    std::wstring stat_, guiStatus_;
};

void ReportIdle(ULONGLONG cpu, ULONGLONG wall) {
    std::printf("idle: %llu ms CPU over %llu ms wall = %.3f%% of one core (goal < 1%%)\n", cpu, wall,
                100.0 * static_cast<double>(cpu) / static_cast<double>(wall));
}

void ReportRound(const char* what, ULONGLONG roundMs, TAnswerProbe& probe, ULONGLONG baseline, ULONGLONG baseline99) {
    std::printf(
        "round against a silent server: %llu ms until %s, %d questions, longest answer %llu ms (goal < 100 ms), "
        "99%% within %llu ms; baseline with no round: longest %llu ms, 99%% within %llu ms; ratio of the longest "
        "%.2f\n",
        roundMs, what, probe.Asked(), probe.LongestMs(), probe.Percentile99(), baseline, baseline99,
        baseline ? static_cast<double>(probe.LongestMs()) / static_cast<double>(baseline) : 0.0);
}

// The longest and the 99% answer time of the window over ms with nothing going on.
std::pair<ULONGLONG, ULONGLONG> Baseline(HWND wnd, ULONGLONG ms, const std::function<void(ULONGLONG)>& wait) {
    TAnswerProbe probe(wnd, 10, 30000);
    wait(ms);
    probe.Stop();
    return {probe.LongestMs(), probe.Percentile99()};
}

// ---- the engine in a host window -----------------------------------------------------------------------------------

// The small shown form an engine reports to.
std::unique_ptr<TForm> ShowHostForm() {
    std::unique_ptr<TForm> form(new TForm(nullptr));
    form->SetCaption(L"notifier_probe");
    form->SetBounds(40, 40, 320, 160);
    form->Show();
    return form;
}

int ProbeEngine(int idleSeconds) {
    TQuietSounds quiet;
    SetSoundSink(&quiet);
    TSilentServer server;

    TEngineWorld world;
    TNotifierLists& lists = world.lists;
    TSettings& settings = world.settings;
    TRunState& run = world.run;
    THostWindow& host = world.host;
    settings.ProvEmSek = 30;  // two watchdog ticks end a hung check
    auto account = std::make_unique<AListEm>();
    account->Login = L"probe";
    account->Domain = L"example.test";
    account->Parol = L"secret";
    account->HostIMAP = L"127.0.0.1";
    account->PortIMAP = server.Port();
    lists.Accounts.push_back(std::move(account));
    for (int i = 0; i < 20; ++i) {
        auto event = std::make_unique<AListSob>();
        event->Name = L"Reminder " + std::to_wstring(i);
        event->Time = (i % 24) / 24.0;
        event->DnNedel[static_cast<size_t>(1 + i % 7)] = true;
        lists.Events.push_back(std::move(event));
    }

    std::unique_ptr<TForm> form = ShowHostForm();
    host.handle = form->Handle();
    auto* images = new TImageList(form.get(), 16, 16);
    for (int i = 0; i < 13; ++i) {
        TBitmap bitmap;
        bitmap.SetSize(16, 16);
        bitmap.Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(i * 19, 90, 160)));
        bitmap.Canvas()->FillRect(TRect{0, 0, 16, 16});
        images->Add(&bitmap, nullptr);
    }
    auto* tray = new TbsTrayIcon(form.get());
    tray->SetIconList(images);
    tray->ShowIcon();
    auto* engine = new TNotifierEngine(form.get(), lists, settings, world.persist, run, world.lang, tray, host);
    engine->CheckOptions().StartDelayMs = 0;
    engine->CheckOptions().Timeouts.ioMs = 600000;  // only the watchdog ends the silent check

    // The program's state between checks: the first paint done, the next check an hour away, unread mail blinking.
    engine->FirstPaint();
    engine->ApplyStarting();
    settings.ProvEmSek = 3600;
    engine->Applied();
    run.KolEmVsego = 3;
    engine->BlinkTimer()->SetEnabled(true);
    Loop(2000);

    // 1. Idle CPU.
    const ULONGLONG cpu0 = ProcessCpuMs(GetCurrentProcess()), wall0 = GetTickCount64();
    Loop(static_cast<ULONGLONG>(idleSeconds) * 1000);
    ReportIdle(ProcessCpuMs(GetCurrentProcess()) - cpu0, GetTickCount64() - wall0);

    // 2. Answer times: a baseline without a round, then a round against the silent server.
    const auto [baseline, baseline99] = Baseline(form->Handle(), 20000, [](ULONGLONG ms) { Loop(ms); });
    TAnswerProbe probe(form->Handle(), 10, 30000);
    const ULONGLONG roundStart = GetTickCount64();
    engine->CheckNow();  // returns after the round's 10 s wait; the watchdog ends the check later
    Loop(40000, [&] { return !engine->Checking(); });
    const ULONGLONG roundMs = GetTickCount64() - roundStart;
    probe.Stop();
    ReportRound("the watchdog ended it", roundMs, probe, baseline, baseline99);
    const bool ended = !engine->Checking();
    form.reset();
    SetSoundSink(nullptr);
    return ended ? 0 : 1;
}

// ---- TrelmMail.exe -------------------------------------------------------------------------------------------------

bool EndsWith(const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The program checks two accounts: one on a server that never answers, then one on the private Dovecot with three
// unseen letters. Its first round announces them; then it sits idle with unread mail (the next timed round an hour
// away) while its CPU time is measured; then the check button starts a round, which waits its ten seconds for the
// silent server, stops that check and checks the other account, while its main window is asked all the time.
int ProbeProgram(int idleSeconds) {
    if (nettest::FixtureDir().empty() || !nettest::TrustTestCa()) {
        std::fprintf(stderr, "no Dovecot fixture: run tools/notifier_probe/run.sh\n");
        return 2;
    }
    bool ok = false;
    nettest::RunFixtureCtl({"reset", "user@example.test"}, &ok);
    if (ok)
        nettest::RunFixtureCtl({"bulk", "user@example.test", "3", "1 Jan 2024"}, &ok);
    if (!ok) {
        std::fprintf(stderr, "the fixture's control script failed\n");
        return 2;
    }
    TSilentServer silent;
    trelm_test::TNotifierProcess app(L"notifier_probe");
    TSettings settings;
    settings.ProvEmSek = 3600;
    TNotifierLists lists;
    lists.ImapServers.push_back(std::make_unique<AListImap>(AListImap{L"example.test", L"localhost", 993}));
    auto account = [](const wchar_t* login, const wchar_t* host, int port) {
        auto a = std::make_unique<AListEm>();
        a->Login = login;
        a->Domain = L"example.test";
        a->Parol = L"secret";
        a->HostIMAP = host;
        a->PortIMAP = port;
        return a;
    };
    lists.Accounts.push_back(account(L"silent", L"127.0.0.1", silent.Port()));
    lists.Accounts.push_back(account(L"user", L"localhost", std::stoi(nettest::FixtureValue("PORT"))));
    std::wstring id = GetMachineId();
    SaveSettingsAs(app.File(L"Posl.vkz"), settings, lists, id);
    // No sound device is needed: the program writes its sounds to a file.
    SetEnvironmentVariableW(L"TRELM_SOUND_LOG", app.File(L"sounds.log").c_str());
    const bool started = app.Start();
    SetEnvironmentVariableW(L"TRELM_SOUND_LOG", nullptr);
    HWND main = nullptr;
    if (!started || !trelm_test::WaitUntil([&] { return (main = app.MainWindow()) && IsWindowVisible(main); }, 20000)) {
        std::fprintf(stderr, "TrelmMail.exe did not start\n");
        return 1;
    }
    // The tray's tip: its first line counts the unread letters; a line about the silent account's failure may
    // follow.
    auto tip = [&] {
        HWND tray = app.TrayWindow();
        const std::wstring text = tray ? trelm_test::WindowText(tray) : std::wstring();
        return text.substr(0, text.find(L'\n'));
    };
    if (!trelm_test::WaitUntil([&] { return EndsWith(tip(), L": 3"); }, 60000)) {
        std::fprintf(stderr, "the first round announced no letters\n");
        return 1;
    }
    Sleep(5000);

    // 1. Idle CPU of the program's process, with the tray blinking for unread mail. The pointer rests in the screen's
    // corner, away from the program's windows: resting over a window that follows the pointer's leaving, it has
    // Wine poll the pointer for that window some three times a second, which is no work of the program's.
    SetCursorPos(0, 0);
    TKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, app.Pid()));
    const TProgramCpu cpu(process.Get(), app.File(L"TrelmMail.exe"));
    std::printf("CPU time of TrelmMail.exe from %ls; since its start: %llu ms\n", cpu.Source(), cpu.Ms());
    auto idle = [&](const char* what) {
        const long long wakes0 = cpu.GuiWakeups();
        const ULONGLONG cpu0 = cpu.Ms(), wall0 = GetTickCount64();
        Sleep(static_cast<DWORD>(idleSeconds) * 1000);
        const ULONGLONG wall = GetTickCount64() - wall0;
        std::printf("%s ", what);
        ReportIdle(cpu.Ms() - cpu0, wall);
        const long long wakes1 = cpu.GuiWakeups();
        if (wakes0 >= 0 && wakes1 >= 0)
            std::printf("  GUI thread woken %lld times = %.2f a second (the blink alone: %.2f a second)\n",
                        wakes1 - wakes0, 1000.0 * static_cast<double>(wakes1 - wakes0) / static_cast<double>(wall),
                        1000.0 / 700.0);
    };
    idle("unread mail, tray blinking:");

    // 2. Answer times of the main window: a baseline, then the round started by the check button.
    const auto [baseline, baseline99] = Baseline(main, 20000, [](ULONGLONG ms) { Sleep(static_cast<DWORD>(ms)); });
    TAnswerProbe probe(main, 10, 30000);
    const ULONGLONG roundStart = GetTickCount64();
    trelm_test::PostClick(app.Ctl(L"Button_ProvEml"));
    const bool ran = trelm_test::WaitUntil([&] { return tip() == L"silent"; }, 10000) &&
                     trelm_test::WaitUntil([&] { return EndsWith(tip(), L": 3"); }, 60000);
    const ULONGLONG roundMs = GetTickCount64() - roundStart;
    Sleep(1000);
    probe.Stop();
    ReportRound("the other account was checked", roundMs, probe, baseline, baseline99);
    std::printf("silent server: %d connections\n", silent.Connections());

    // 3. Idle again with no unread mail (the letters gone from the server and a round that found none): the tray
    // stands still.
    nettest::RunFixtureCtl({"reset", "user@example.test"}, &ok);
    trelm_test::PostClick(app.Ctl(L"Button_ProvEml"));
    const bool emptied = ok && trelm_test::WaitUntil([&] { return tip() == L"silent"; }, 10000) &&
                         trelm_test::WaitUntil([&] { return tip() != L"silent"; }, 30000);
    Sleep(5000);
    idle("no unread mail:");
    return ran && emptied && app.Running() ? 0 : 1;
}

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// ---- many letters --------------------------------------------------------------------------------------------------

int ProbeLetters() {
    if (nettest::FixtureDir().empty() || !nettest::TrustTestCa()) {
        std::fprintf(stderr, "no Dovecot fixture: run tools/notifier_probe/run.sh\n");
        return 2;
    }
    TQuietSounds quiet;
    SetSoundSink(&quiet);
    const int port = std::stoi(nettest::FixtureValue("PORT"));
    std::unique_ptr<TForm> form = ShowHostForm();
    std::vector<std::pair<int, double>> extra;  // letters, ms a letter above the fetch
    for (int count : {1, 100, 500, 2000}) {
        bool ok = false;
        nettest::RunFixtureCtl({"reset", "user@example.test"}, &ok);
        if (ok)
            nettest::RunFixtureCtl({"bulk", "user@example.test", std::to_string(count), "1 Jan 2024"}, &ok);
        if (!ok) {
            std::fprintf(stderr, "the fixture's control script failed\n");
            return 2;
        }
        // The fetch alone: the mail check of the same account, as a round's thread runs it.
        TMailAccountCopy copy;
        copy.Login = L"user";
        copy.Domain = L"example.test";
        copy.Parol = L"secret";
        copy.HostIMAP = L"localhost";
        copy.PortIMAP = port;
        TMailCheckOptions options;
        options.StartDelayMs = 0;
        options.OtobrTextEm = TSettings{}.OtobrTextEm;
        // The server may still be taking the files in: the fetch is asked again until it finds them all.
        Clock::time_point t0;
        TMailCheckResult fetched;
        double fetchMs = 0;
        for (int attempt = 0; attempt < 10; ++attempt) {
            t0 = Clock::now();
            fetched = CheckAccountInbox(copy, options, std::make_shared<netlib::NetAbort>());
            fetchMs = MsBetween(t0, Clock::now());
            if (!fetched.Status.ok() || static_cast<int>(fetched.Letters.size()) == count)
                break;
            Sleep(1000);
        }
        if (!fetched.Status.ok() || fetched.Letters.empty()) {
            std::fprintf(stderr, "the fetch failed: %s\n", fetched.Status.detail.c_str());
            return 1;
        }
        // The check may take fewer than were written (letters it counts as one): the round is measured for those.
        const int written = count;
        count = static_cast<int>(fetched.Letters.size());

        // The round of a fresh engine, to the popup holding every letter.
        TEngineWorld w;
        w.host.handle = form->Handle();
        w.settings.ProvEmSek = 3600;
        auto account = std::make_unique<AListEm>();
        account->Login = copy.Login;
        account->Domain = copy.Domain;
        account->Parol = copy.Parol;
        account->HostIMAP = copy.HostIMAP;
        account->PortIMAP = copy.PortIMAP;
        w.lists.Accounts.push_back(std::move(account));
        auto* engine = new TNotifierEngine(form.get(), w.lists, w.settings, w.persist, w.run, w.lang, nullptr, w.host);
        engine->CheckOptions().StartDelayMs = 0;
        engine->FirstPaint();
        Loop(500);
        t0 = Clock::now();
        engine->CheckNow();
        Loop(120000, [&] { return !engine->Checking() && engine->AlertWindow()->AlertMessages()->Count() >= count; });
        const double roundMs = MsBetween(t0, Clock::now());
        const int shown = engine->AlertWindow()->AlertMessages()->Count();
        delete engine;
        if (shown != count) {
            std::fprintf(stderr, "the popup holds %d letters of %d\n", shown, count);
            return 1;
        }
        extra.emplace_back(count, roundMs - fetchMs);
        const double fixedMs = extra.front().second;  // the round of one letter: what any round costs
        std::printf("%5d letters (%d written): round %.0f ms, fetch alone %.0f ms, above the fetch %.0f ms", count,
                    written, roundMs, fetchMs, roundMs - fetchMs);
        if (count > 1)
            std::printf(", %.3f ms a letter above the round of one (goal <= 0.3)",
                        (roundMs - fetchMs - fixedMs) / (count - 1));
        std::printf("\n");
        std::fflush(stdout);
    }
    const auto perLetter = [&](size_t i) {
        return (extra[i].second - extra[0].second) / std::max(1, extra[i].first - 1);
    };
    std::printf(
        "a letter's cost at %d letters against at %d: ratio %.2f (linear: 1); the rounds' ratio %.2f for %.2f "
        "times the letters\n",
        extra[3].first, extra[2].first, perLetter(2) > 0 ? perLetter(3) / perLetter(2) : 0,
        extra[2].second > 0 ? extra[3].second / extra[2].second : 0,
        static_cast<double>(extra[3].first) / extra[2].first);
    form.reset();
    SetSoundSink(nullptr);
    return 0;
}

// ---- many accounts -------------------------------------------------------------------------------------------------

// One round of a fresh engine over the accounts bench01 to bench<count> of the private Dovecot (run.sh adds them),
// every account checked in turn as the check button does; its wall time, and the letters its popup holds.
std::pair<double, int> AccountsRound(TForm* form, int accounts, int port) {
    TEngineWorld w;
    w.host.handle = form->Handle();
    w.settings.ProvEmSek = 3600;
    for (int i = 1; i <= accounts; ++i) {
        auto account = std::make_unique<AListEm>();
        wchar_t login[16];
        swprintf(login, 16, L"bench%02d", i);
        account->Login = login;
        account->Domain = L"example.test";
        account->Parol = L"secret";
        account->HostIMAP = L"localhost";
        account->PortIMAP = port;
        w.lists.Accounts.push_back(std::move(account));
    }
    auto* engine = new TNotifierEngine(form, w.lists, w.settings, w.persist, w.run, w.lang, nullptr, w.host);
    engine->CheckOptions().StartDelayMs = 0;
    engine->FirstPaint();
    Loop(500);
    const Clock::time_point t0 = Clock::now();
    engine->CheckNow();  // returns when the round has checked every account
    Loop(60000, [&] { return !engine->Checking(); });
    const double ms = MsBetween(t0, Clock::now());
    const int shown = engine->AlertWindow()->AlertMessages()->Count();
    delete engine;
    return {ms, shown};
}

// The fetch alone: every account's mail check in turn, as a round's threads run them, without the notifier.
double FetchAccounts(int accounts, int port) {
    TMailCheckOptions options;
    options.StartDelayMs = 0;
    options.OtobrTextEm = TSettings{}.OtobrTextEm;
    const Clock::time_point t0 = Clock::now();
    for (int i = 1; i <= accounts; ++i) {
        TMailAccountCopy copy;
        wchar_t login[16];
        swprintf(login, 16, L"bench%02d", i);
        copy.Login = login;
        copy.Domain = L"example.test";
        copy.Parol = L"secret";
        copy.HostIMAP = L"localhost";
        copy.PortIMAP = port;
        CheckAccountInbox(copy, options, std::make_shared<netlib::NetAbort>());
    }
    return MsBetween(t0, Clock::now());
}

// The first round over 50 accounts with 20 new letters each, beside the same round with none: what the 1,000
// letters add, a letter, and what of that the fetch alone adds.
int ProbeAccounts() {
    if (nettest::FixtureDir().empty() || !nettest::TrustTestCa()) {
        std::fprintf(stderr, "no Dovecot fixture: run tools/notifier_probe/run.sh build accounts\n");
        return 2;
    }
    constexpr int kAccounts = 50, kLetters = 20;
    TQuietSounds quiet;
    SetSoundSink(&quiet);
    const int port = std::stoi(nettest::FixtureValue("PORT"));
    std::unique_ptr<TForm> form = ShowHostForm();
    auto user = [](int i) {
        char name[32];
        std::snprintf(name, sizeof name, "bench%02d@example.test", i);
        return std::string(name);
    };
    auto fill = [&](int letters) {
        bool ok = true;
        for (int i = 1; i <= kAccounts && ok; ++i) {
            nettest::RunFixtureCtl({"reset", user(i)}, &ok);
            if (ok && letters > 0)
                nettest::RunFixtureCtl({"bulk", user(i), std::to_string(letters), "1 Jan 2024"}, &ok);
        }
        return ok;
    };
    // The trust store and the server's first logins before anything is timed.
    if (!fill(0)) {
        std::fprintf(stderr, "the fixture's control script failed (were the bench users added by run.sh?)\n");
        return 2;
    }
    AccountsRound(form.get(), 2, port);
    const auto [noneMs, noneShown] = AccountsRound(form.get(), kAccounts, port);
    const double fetchNoneMs = FetchAccounts(kAccounts, port);
    std::printf("round of %d accounts with no new letters: %.0f ms (the fetch alone %.0f ms)\n", kAccounts, noneMs,
                fetchNoneMs);
    std::fflush(stdout);
    if (!fill(kLetters)) {
        std::fprintf(stderr, "the fixture's control script failed\n");
        return 2;
    }
    Sleep(2000);
    const auto [lettersMs, shown] = AccountsRound(form.get(), kAccounts, port);
    const double fetchLettersMs = FetchAccounts(kAccounts, port);
    const int letters = kAccounts * kLetters;
    std::printf("round of %d accounts with %d new letters each: %.0f ms, the popup holds %d letters (the fetch alone "
                "%.0f ms)\n",
                kAccounts, kLetters, lettersMs, shown, fetchLettersMs);
    std::printf("the letters add %.0f ms: %.3f ms a letter; the fetch alone adds %.3f ms a letter; the notifier "
                "above the fetch %.3f ms a letter (goal <= 0.3, linear)\n",
                lettersMs - noneMs, (lettersMs - noneMs) / letters, (fetchLettersMs - fetchNoneMs) / letters,
                ((lettersMs - noneMs) - (fetchLettersMs - fetchNoneMs)) / letters);
    form.reset();
    SetSoundSink(nullptr);
    return noneShown == 0 && shown == kAccounts * kLetters ? 0 : 1;
}

// ---- start-up ------------------------------------------------------------------------------------------------------

// A kilobyte figure of /proc/<pid>/status ("RssAnon:   1234 kB"); -1 when there is none.
double StatusKb(const std::wstring& procFolder, const std::string& field) {
    if (procFolder.empty())
        return -1;
    const std::string status = ReadProcFile(procFolder + L"\\status");
    const size_t at = status.find("\n" + field + ":");
    if (at == std::string::npos)
        return -1;
    return std::atof(status.c_str() + at + field.size() + 2);
}

struct TStartFigures {
    double paintMs = -1, idleMs = -1, anonKb = -1;
    double longestMs = -1;  // the longest answer of the window while it was watched after input idle
};

struct TWindowSearch {
    DWORD pid;
    bool named;  // only the window named AAForm1 (TrelmMail's main window)
    HWND found;
};

BOOL CALLBACK FindShownWindow(HWND wnd, LPARAM p) {
    auto* s = reinterpret_cast<TWindowSearch*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != s->pid || !IsWindowVisible(wnd) || (s->named && trelm_test::TrelmName(wnd) != L"AAForm1"))
        return TRUE;
    s->found = wnd;
    return FALSE;
}

// Starts exe in folder and times it: the first paint is the moment most of a grid of points inside the shown window
// differ on the screen from the screen before the start; input idle is the first answer of the window after that.
// With watchMs, the window is then asked every 10 ms for that long and its longest answer kept.
TStartFigures MeasureStart(const std::wstring& exe, const std::wstring& folder, bool named, DWORD watchMs = 0) {
    TStartFigures f;
    const RECT screenRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const std::vector<std::uint32_t> before = GrabScreen(screenRect);
    const int screenW = screenRect.right;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + exe + L"\"";
    const Clock::time_point t0 = Clock::now();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return f;
    TKernelHandle process(pi.hProcess), thread(pi.hThread);
    HWND wnd = nullptr;
    HDC screen = GetDC(nullptr);
    while (MsBetween(t0, Clock::now()) < 30000 && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        if (!wnd) {
            TWindowSearch search{pi.dwProcessId, named, nullptr};
            EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
            wnd = search.found;
        }
        if (wnd) {
            RECT r{};
            GetWindowRect(wnd, &r);
            int changed = 0, points = 0;
            for (int i = 1; i <= 5; ++i) {
                for (int j = 1; j <= 5; ++j) {
                    const int x = r.left + (r.right - r.left) * i / 6, y = r.top + (r.bottom - r.top) * j / 6;
                    if (x < 0 || y < 0 || x >= screenRect.right || y >= screenRect.bottom)
                        continue;
                    ++points;
                    const COLORREF now = GetPixel(screen, x, y);
                    const std::uint32_t was = before[static_cast<size_t>(y) * screenW + x];
                    if (RGB((was >> 16) & 0xFF, (was >> 8) & 0xFF, was & 0xFF) != now)
                        ++changed;
                }
            }
            if (points > 0 && changed * 2 > points) {
                f.paintMs = MsBetween(t0, Clock::now());
                DWORD_PTR result = 0;
                if (SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result))
                    f.idleMs = MsBetween(t0, Clock::now());
                if (watchMs > 0) {
                    TAnswerProbe probe(wnd, 10, 30000);
                    Sleep(watchMs);
                    probe.Stop();
                    f.longestMs = static_cast<double>(probe.LongestMs());
                }
                break;
            }
        }
        Sleep(1);
    }
    ReleaseDC(nullptr, screen);
    Sleep(3000);
    f.anonKb = StatusKb(UnixProcFolder(exe), "RssAnon");
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    Sleep(1000);  // the desktop repaints where the window was
    return f;
}

// Measures two starts in turn, runs times, printing each pair; false (said on stderr) when one did not paint or
// answer.
bool MeasurePairs(int runs,
                  const std::function<TStartFigures()>& first,
                  const std::function<TStartFigures()>& second,
                  std::vector<TStartFigures>& firsts,
                  std::vector<TStartFigures>& seconds,
                  const std::function<void(int, const TStartFigures&, const TStartFigures&)>& print) {
    for (int i = 0; i < runs; ++i) {
        firsts.push_back(first());
        seconds.push_back(second());
        print(i + 1, firsts.back(), seconds.back());
        std::fflush(stdout);
        if (firsts.back().idleMs < 0 || seconds.back().idleMs < 0) {
            std::fprintf(stderr, "a program did not paint or answer\n");
            return false;
        }
    }
    return true;
}

double MedianOf(const std::vector<TStartFigures>& runs, double TStartFigures::*figure) {
    std::vector<double> v;
    for (const TStartFigures& f : runs)
        v.push_back(f.*figure);
    return Median(v);
}

int ProbeStart(int runs) {
    trelm_test::TNotifierProcess app(L"notifier_probe_start");
    // One server known (no server-list download at start) and no account (no check): the start alone.
    TSettings settings;
    TNotifierLists lists;
    lists.ImapServers.push_back(std::make_unique<AListImap>(AListImap{L"example.test", L"localhost", 993}));
    std::wstring id = GetMachineId();
    SaveSettingsAs(app.File(L"Posl.vkz"), settings, lists, id);
    SetEnvironmentVariableW(L"TRELM_MAKER_HOST", L"127.0.0.1:9");
    const std::wstring baselineExe = ProgramFolder() + L"probe_window.exe";
    std::vector<TStartFigures> base, ours;
    const bool measured = MeasurePairs(
        runs, [&] { return MeasureStart(baselineExe, ProgramFolder(), false); },
        [&] { return MeasureStart(app.File(L"TrelmMail.exe"), app.Folder(), true); }, base, ours,
        [](int run, const TStartFigures& b, const TStartFigures& t) {
            std::printf(
                "run %d: TrelmMail.exe paint %.0f ms, idle %.0f ms, anonymous %.1f MB; probe_window.exe paint %.0f "
                "ms, idle %.0f ms, anonymous %.1f MB\n",
                run, t.paintMs, t.idleMs, t.anonKb / 1024, b.paintMs, b.idleMs, b.anonKb / 1024);
        });
    if (!measured)
        return 1;
    const double paint = MedianOf(ours, &TStartFigures::paintMs), basePaint = MedianOf(base, &TStartFigures::paintMs);
    const double idle = MedianOf(ours, &TStartFigures::idleMs), baseIdle = MedianOf(base, &TStartFigures::idleMs);
    std::printf("start to the first paint: %.0f ms, one-window program %.0f ms, ratio %.2f (goal <= 2)\n", paint,
                basePaint, paint / basePaint);
    std::printf("start to input idle:      %.0f ms, one-window program %.0f ms, ratio %.2f\n", idle, baseIdle,
                idle / baseIdle);
    if (MedianOf(ours, &TStartFigures::anonKb) >= 0)
        std::printf("anonymous memory 3 s after the first paint: %.1f MB, one-window program %.1f MB (goal <= 30 MB)\n",
                    MedianOf(ours, &TStartFigures::anonKb) / 1024, MedianOf(base, &TStartFigures::anonKb) / 1024);
    return 0;
}

// The start with no server known, so the server list is downloaded from the maker's host: a host that accepts and
// never answers beside one that refuses the connection, in turn in the same session. The window is asked every
// 10 ms for 5 s from its first answer, while the download waits on the silent host.
int ProbeSilentStart(int runs) {
    trelm_test::TNotifierProcess app(L"notifier_probe_silent");
    TSettings settings;
    TNotifierLists lists;
    std::wstring id = GetMachineId();
    SaveSettingsAs(app.File(L"Posl.vkz"), settings, lists, id);
    TSilentServer silent;
    const std::wstring silentHost = L"127.0.0.1:" + std::to_wstring(silent.Port());
    auto startWith = [&](const std::wstring& host) {
        SetEnvironmentVariableW(L"TRELM_MAKER_HOST", host.c_str());
        return MeasureStart(app.File(L"TrelmMail.exe"), app.Folder(), true, 5000);
    };
    std::vector<TStartFigures> refused, silentRuns;
    const bool measured = MeasurePairs(
        runs, [&] { return startWith(L"127.0.0.1:9"); }, [&] { return startWith(silentHost); }, refused, silentRuns,
        [](int run, const TStartFigures& r, const TStartFigures& s) {
            std::printf(
                "run %d: silent host: paint %.0f ms, idle %.0f ms, longest answer %.0f ms; refused: paint %.0f "
                "ms, idle %.0f ms, longest answer %.0f ms\n",
                run, s.paintMs, s.idleMs, s.longestMs, r.paintMs, r.idleMs, r.longestMs);
        });
    SetEnvironmentVariableW(L"TRELM_MAKER_HOST", nullptr);
    if (!measured)
        return 1;
    double worst = 0;
    for (const TStartFigures& f : silentRuns)
        worst = std::max(worst, f.longestMs);
    const double idle = MedianOf(silentRuns, &TStartFigures::idleMs),
                 refusedIdle = MedianOf(refused, &TStartFigures::idleMs);
    std::printf(
        "silent server-list host: input idle %.0f ms (refused: %.0f ms, ratio %.2f); longest answer over 5 s "
        "%.0f ms, worst run %.0f ms (goal < 100 ms; refused: %.0f ms); the host saw %d connections\n",
        idle, refusedIdle, idle / refusedIdle, MedianOf(silentRuns, &TStartFigures::longestMs), worst,
        MedianOf(refused, &TStartFigures::longestMs), silent.Connections());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "letters")
        return ProbeLetters();
    if (argc > 1 && std::string(argv[1]) == "accounts")
        return ProbeAccounts();
    if (argc > 1 && std::string(argv[1]) == "start" && argc > 3 && std::string(argv[3]) == "silent")
        return ProbeSilentStart(std::max(1, atoi(argv[2])));
    if (argc > 1 && std::string(argv[1]) == "start")
        return ProbeStart(argc > 2 ? std::max(1, atoi(argv[2])) : 5);
    const bool program = argc > 1 && std::string(argv[1]) == "exe";
    const int at = program ? 2 : 1;
    const int idleSeconds = argc > at ? std::max(1, atoi(argv[at])) : 60;
    return program ? ProbeProgram(idleSeconds) : ProbeEngine(idleSeconds);
}
