#include "skin/controls/PopupFade.h"

#include <algorithm>

#include "skin/core/SkinUtils.h"

TAlphaFade PopupFadeSteps(int Target) {
    TAlphaFade fade;
    fade.Target = std::clamp(Target, 0, 255);
    fade.Step = AlphaFadeStep(fade.Target, 15);
    fade.IntervalMs = 5;
    fade.FirstStepAtOnce = true;
    return fade;
}

int FadeInPopup(HWND Wnd, int Target, const TFadeClock& Clock) {
    return RunAlphaFade(PopupFadeSteps(Target), Clock,
                        [Wnd](int a) { SetAlphaBlendTransparent(Wnd, static_cast<std::uint8_t>(a)); });
}
