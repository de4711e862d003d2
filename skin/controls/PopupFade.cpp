#include "skin/controls/PopupFade.h"

#include <algorithm>
#include <cstdint>

#include "skin/controls/ControlSeam.h"
#include "skin/core/AlphaFade.h"

void SetPopupLayered(HWND Wnd, bool On) {
    if (!Wnd)
        return;
    const LONG_PTR ex = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
    const bool has = (ex & WS_EX_LAYERED) != 0;
    if (has == On)
        return;
    SetWindowLongPtrW(Wnd, GWL_EXSTYLE, On ? (ex | WS_EX_LAYERED) : (ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED)));
}

void SetPopupAlpha(HWND Wnd, BYTE Alpha) {
    if (Wnd)
        SetLayeredWindowAttributes(Wnd, 0, Alpha, LWA_ALPHA);
}

void RunPopupFade(BYTE Target, const std::function<void(BYTE Alpha)>& Apply) {
    TAlphaFade fade;
    fade.Target = Target;
    fade.Step = AlphaFadeStep(Target, 15);
    fade.IntervalMs = 5;
    fade.FirstStepAtOnce = false;
    // Only yields: the waits still count toward the time-out, so a clock that stands still cannot hold the thread.
    const TFadeClock clock{[] { return ControlSeam().Now(); }, [](std::uint32_t) { Sleep(0); }};
    RunAlphaFade(fade, clock, [&Apply](int a) { Apply(static_cast<BYTE>(a)); });
}

void FadeInPopup(HWND Wnd, BYTE Target) {
    if (!Wnd)
        return;
    UpdateWindow(Wnd);
    RunPopupFade(Target, [Wnd](BYTE a) { SetPopupAlpha(Wnd, a); });
}
