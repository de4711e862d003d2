#include "skin/controls/PopupFade.h"

#include <algorithm>
#include <cstdint>

#include "skin/controls/ControlSeam.h"
#include "skin/core/AlphaFade.h"
#include "skin/core/SkinUtils.h"

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

void PopupWindowParams(TCreateParams& Params, TComponent* Owner) {
    Params.Style = WS_POPUP | WS_CLIPCHILDREN;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (CheckWXP())
        Params.WindowClass.style |= CS_DROPSHADOW;
    Params.WndParent = nullptr;
    if (auto* owner = dynamic_cast<TWinControl*>(Owner); owner && owner->HandleAllocated())
        Params.WndParent = GetAncestor(owner->Handle(), GA_ROOT);
}

bool PopupOwnMessage(TMessage& Message, const std::function<void()>& CloseList) {
    if (Message.Msg == WM_MOUSEACTIVATE) {
        Message.Result = MA_NOACTIVATE;
        return true;
    }
    if (Message.Msg == WM_CLOSE && CloseList) {
        CloseList();
        Message.Result = 0;
        return true;
    }
    return false;
}

bool TbsPopupAlpha::Apply(HWND Wnd, bool ABlend, BYTE AValue, bool Animation) {
    if (!CheckW2KWXP())
        return false;
    if (ABlend != Blend) {
        SetPopupLayered(Wnd, ABlend);
        Blend = ABlend;
        if (ABlend)
            Value = static_cast<BYTE>(~AValue);  // a fresh layered window takes its alpha below
    }
    if (ABlend && AValue != Value) {
        SetPopupAlpha(Wnd, Animation ? 0 : AValue);
        Value = AValue;
    } else if (ABlend && Animation) {
        SetPopupAlpha(Wnd, 0);
    }
    return ABlend && Animation;
}

void FadeInPopup(HWND Wnd, BYTE Target) {
    if (!Wnd)
        return;
    UpdateWindow(Wnd);
    RunPopupFade(Target, [Wnd](BYTE a) { SetPopupAlpha(Wnd, a); });
}
