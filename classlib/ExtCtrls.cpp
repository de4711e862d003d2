// TTimer: window timers on one shared message-only window.
#include "classlib/ExtCtrls.h"

#include <map>

struct TimerWindow {
    HWND wnd = nullptr;
    std::map<UINT_PTR, TTimer*> timers;  // borrowed: each timer removes itself when it stops
    UINT_PTR nextId = 1;

    static TimerWindow& Get() {
        // Never freed: timers may die at exit in any order.
        static auto* instance = new TimerWindow;
        return *instance;
    }

    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg != WM_TIMER)
            return DefWindowProcW(wnd, msg, wParam, lParam);
        TimerWindow& tw = Get();
        auto it = tw.timers.find(static_cast<UINT_PTR>(wParam));
        if (it == tw.timers.end()) {
            KillTimer(wnd, wParam);  // a tick of a timer that has gone
            return 0;
        }
        TTimer* timer = it->second;
        try {
            timer->Timer();  // may free the timer: nothing touches it afterwards
        } catch (...) {
            if (TComponent::ErrorHandler)
                TComponent::ErrorHandler(nullptr);
        }
        return 0;
    }

    HWND Window() {
        if (!wnd) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &TimerWindow::Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TrelmTimerWindow";
            RegisterClassW(&wc);
            wnd =
                CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        }
        return wnd;
    }
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    UpdateTimer();
}

TTimer::~TTimer() {
    StopTimer();
}

void TTimer::StopTimer() {
    if (!id_)
        return;
    TimerWindow& tw = TimerWindow::Get();
    KillTimer(tw.wnd, id_);
    tw.timers.erase(id_);
    id_ = 0;
}

void TTimer::UpdateTimer() {
    StopTimer();
    if (!enabled_ || interval_ == 0 || ComponentState().Contains(csDestroying))
        return;
    TimerWindow& tw = TimerWindow::Get();
    HWND wnd = tw.Window();
    if (!wnd)
        throw EOutOfResources(L"Not enough timers available");
    UINT_PTR id = tw.nextId++;
    if (!SetTimer(wnd, id, interval_, nullptr))
        throw EOutOfResources(L"Not enough timers available");
    tw.timers[id] = this;
    id_ = id;
}

void TTimer::SetEnabled(bool Value) {
    if (enabled_ == Value)
        return;
    enabled_ = Value;
    UpdateTimer();
}

void TTimer::SetInterval(UINT Value) {
    if (interval_ == Value)
        return;
    interval_ = Value;
    UpdateTimer();
}

void TTimer::Timer() {
    if (OnTimer)
        OnTimer(this);
}
