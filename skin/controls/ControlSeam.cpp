#include "skin/controls/ControlSeam.h"

#include <shellapi.h>

#include <algorithm>

#include "classlib/ExtCtrls.h"

namespace {
class TSystemTimer : public IbsControlTimer {
  public:
    TSystemTimer() {
        timer_.SetEnabled(false);
        timer_.OnTimer = [this](TObject*) {
            if (OnTick)
                OnTick();
        };
    }
    void Start(unsigned IntervalMs) override {
        timer_.SetEnabled(false);
        timer_.SetInterval(IntervalMs);
        timer_.SetEnabled(true);
    }
    void Stop() override { timer_.SetEnabled(false); }
    bool Running() const override { return timer_.Running(); }

  private:
    TTimer timer_{nullptr};
};
}  // namespace

TbsControlSeam SystemControlSeam() {
    TbsControlSeam s;
    s.Now = [] { return static_cast<std::uint32_t>(::GetTickCount()); };
    s.NewTimer = []() -> std::unique_ptr<IbsControlTimer> { return std::make_unique<TSystemTimer>(); };
    s.CursorPos = [] {
        POINT p{};
        ::GetCursorPos(&p);
        return TPoint{p.x, p.y};
    };
    s.WindowUnderCursor = [] {
        POINT p{};
        ::GetCursorPos(&p);
        return ::WindowFromPoint(p);
    };
    s.Version = [](int& Major, int& Minor) {
        const DWORD v = ::GetVersion();
        Major = LOBYTE(LOWORD(v));
        Minor = HIBYTE(LOWORD(v));
    };
    s.ShellOpen = [](const std::wstring& Target) {
        ::ShellExecuteW(nullptr, L"open", Target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
    return s;
}

TbsControlSeam& ControlSeam() {
    static TbsControlSeam seam = SystemControlSeam();
    return seam;
}

std::unique_ptr<IbsControlTimer> StartAutoRepeat(std::function<int()> Interval, std::function<void()> Click) {
    constexpr unsigned kFirstDelayMs = 500;
    std::unique_ptr<IbsControlTimer> timer = ControlSeam().NewTimer();
    IbsControlTimer* t = timer.get();
    // The first tick only switches to the interval; the clicks come from the next tick on.
    timer->OnTick = [t, first = true, Interval = std::move(Interval), Click = std::move(Click)]() mutable {
        if (first) {
            first = false;
            t->Start(static_cast<unsigned>(std::max(1, Interval())));
            return;
        }
        Click();
    };
    timer->Start(kFirstDelayMs);
    return timer;
}

TbsSeamOverride::TbsSeamOverride(const TbsControlSeam& With) : saved_(ControlSeam()) {
    TbsControlSeam& s = ControlSeam();
    if (With.Now)
        s.Now = With.Now;
    if (With.NewTimer)
        s.NewTimer = With.NewTimer;
    if (With.CursorPos)
        s.CursorPos = With.CursorPos;
    if (With.WindowUnderCursor)
        s.WindowUnderCursor = With.WindowUnderCursor;
    if (With.Version)
        s.Version = With.Version;
    if (With.ShellOpen)
        s.ShellOpen = With.ShellOpen;
}

TbsSeamOverride::~TbsSeamOverride() {
    ControlSeam() = saved_;
}
