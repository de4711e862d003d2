// The blocking alpha fade-in. Between steps the thread sleeps until the next step is due instead of spinning on the
// tick count; a clock that jumps far ahead, or one that stands still, cannot keep the GUI thread here for longer
// than the fade's time-out.
#include "skin/core/AlphaFade.h"

#include <windows.h>

#include <algorithm>

TFadeClock SystemFadeClock() {
    return {[] { return static_cast<std::uint32_t>(::GetTickCount()); },
            [](std::uint32_t ms) { ::Sleep(static_cast<DWORD>(ms)); }};
}

int AlphaFadeStep(int Target, int Steps) {
    return std::max(Steps > 0 ? Target / Steps : Target, 1);
}

int RunAlphaFade(const TAlphaFade& Fade, const TFadeClock& Clock, const std::function<void(int)>& Apply) {
    const TFadeClock system = SystemFadeClock();
    const auto& now = Clock.Now ? Clock.Now : system.Now;
    const auto& sleep = Clock.Sleep ? Clock.Sleep : system.Sleep;
    const int target = std::clamp(Fade.Target, 0, 255);
    const int step = std::max(Fade.Step, 1);
    const std::uint32_t start = now();
    std::uint32_t last = start;
    std::uint64_t slept = 0;  // what the waits asked for: bounds the fade even when the clock does not move
    bool due = Fade.FirstStepAtOnce;
    int alpha = 0;
    int applied = 0;
    while (alpha < target) {
        const std::uint32_t t = now();
        if (t - start > Fade.TimeoutMs || slept > Fade.TimeoutMs) {
            alpha = target;
        } else if (due || t - last > Fade.IntervalMs) {
            alpha = std::min(alpha + step, target);
            last = t;
            due = false;
        } else {
            const std::uint32_t wait = Fade.IntervalMs + 1 - (t - last);
            slept += wait;
            sleep(wait);
            continue;
        }
        Apply(alpha);
        ++applied;
    }
    return applied;
}
