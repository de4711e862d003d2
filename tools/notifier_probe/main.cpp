// notifier_probe: runs the notifier engine in a small host window (tray icon, alert window, the engine's timers)
// and measures two things in one run:
//   1. CPU time of the idle notifier between checks (tray blinking for unread mail, 20 reminders recomputed every
//      second, nothing being checked) over a stretch of wall time, as a share of one core;
//   2. the longest time the GUI thread takes to answer SendMessageTimeout(WM_NULL), asked every 10 ms from another
//      thread, during a round against a loopback server that accepts and never answers (the round waits 10 s, the
//      watchdog ends the check after its second tick), next to the same figure with no round as the baseline.
// Usage: notifier_probe.exe [idle seconds, default 60]
#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "alert/MsgAlertWindow.h"
#include "app/NotifierEngine.h"
#include "app/Sounds.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "skin/form/TrayIcon.h"

namespace {

// Accepts connections on 127.0.0.1 and never sends a byte.
class TSilentServer {
  public:
    TSilentServer() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        listen(listener_, 8);
        int len = sizeof addr;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] {
            for (;;) {
                SOCKET s = accept(listener_, nullptr, nullptr);
                if (s == INVALID_SOCKET)
                    return;
                held_.push_back(s);
            }
        });
    }
    ~TSilentServer() {
        closesocket(listener_);
        thread_.join();
        for (SOCKET s : held_)
            closesocket(s);
        WSACleanup();
    }
    int Port() const { return port_; }

  private:
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::vector<SOCKET> held_;
    std::thread thread_;
};

// Asks the window every 10 ms from another thread and keeps the longest answer time.
class TAnswerProbe {
  public:
    explicit TAnswerProbe(HWND wnd)
        : wnd_(wnd), thread_([this] {
              while (!stop_) {
                  const ULONGLONG start = GetTickCount64();
                  DWORD_PTR result = 0;
                  SendMessageTimeoutW(wnd_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
                  const ULONGLONG took = GetTickCount64() - start;
                  longest_ = std::max<ULONGLONG>(longest_, took);
                  times_.push_back(took);
                  ++asked_;
                  Sleep(10);
              }
          }) {}
    ~TAnswerProbe() { Stop(); }
    void Stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    ULONGLONG Longest() const { return longest_; }
    // The answer time that 99% of the questions did not exceed (after Stop).
    ULONGLONG Percentile99() {
        if (times_.empty())
            return 0;
        std::sort(times_.begin(), times_.end());
        return times_[times_.size() * 99 / 100];
    }
    int Asked() const { return asked_; }

  private:
    HWND wnd_;
    std::atomic<bool> stop_{false};
    std::atomic<ULONGLONG> longest_{0};
    std::atomic<int> asked_{0};
    std::vector<ULONGLONG> times_;  // written by the probe thread only until Stop
    std::thread thread_;
};

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

// Runs the message loop for ms or until done() holds.
void Loop(ULONGLONG ms, const std::function<bool()>& done = nullptr) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end && !(done && done())) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                  static_cast<DWORD>(std::min<ULONGLONG>(end - GetTickCount64(), 50)), QS_ALLINPUT);
        Application->ProcessMessages();
    }
}

ULONGLONG ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& f) {
        return ((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000;
    };
    return ms(kernel) + ms(user);
}

}  // namespace

int main(int argc, char** argv) {
    const int idleSeconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    TQuietSounds quiet;
    SetSoundSink(&quiet);
    TSilentServer server;

    TNotifierLists lists;
    TSettings settings;
    TPersistState persist;
    TRunState run;
    TLanguage lang;
    THostWindow host;
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

    std::unique_ptr<TForm> form(new TForm(nullptr));
    form->SetCaption(L"notifier_probe");
    form->SetBounds(40, 40, 320, 160);
    form->Show();
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
    auto* engine = new TNotifierEngine(form.get(), lists, settings, persist, run, lang, tray, host);
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
    const ULONGLONG cpu0 = ProcessCpuMs(), wall0 = GetTickCount64();
    Loop(static_cast<ULONGLONG>(idleSeconds) * 1000);
    const ULONGLONG cpu = ProcessCpuMs() - cpu0, wall = GetTickCount64() - wall0;
    std::printf("idle: %llu ms CPU over %llu ms wall = %.3f%% of one core (goal < 1%%)\n", cpu, wall,
                100.0 * static_cast<double>(cpu) / static_cast<double>(wall));

    // 2. Answer times: a baseline without a round, then a round against the silent server.
    ULONGLONG baseline = 0, baseline99 = 0;
    {
        TAnswerProbe probe(form->Handle());
        Loop(20000);
        probe.Stop();
        baseline = probe.Longest();
        baseline99 = probe.Percentile99();
    }
    TAnswerProbe probe(form->Handle());
    const ULONGLONG roundStart = GetTickCount64();
    engine->CheckNow();  // returns after the round's 10 s wait; the watchdog ends the check later
    Loop(40000, [&] { return !engine->Checking(); });
    const ULONGLONG roundMs = GetTickCount64() - roundStart;
    probe.Stop();
    std::printf(
        "round against a silent server: %llu ms until the watchdog ended it, %d questions, longest answer "
        "%llu ms (goal < 100 ms); baseline with no round %llu ms; ratio %.2f\n",
        roundMs, probe.Asked(), probe.Longest(), baseline,
        baseline ? static_cast<double>(probe.Longest()) / static_cast<double>(baseline) : 0.0);
    const bool ended = !engine->Checking();
    form.reset();
    SetSoundSink(nullptr);
    return ended ? 0 : 1;
}
