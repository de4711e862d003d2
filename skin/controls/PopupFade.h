// The fade-in of a popup that never takes the activation (the combo box's list, the date edit's calendar): the
// layered style switched with the owner's transparency, the alpha set, and the fade itself on the control seam's
// clock. The fade is a short busy loop: it yields the processor between steps but processes no messages, so
// nothing can close or free the popup while it fades. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>

#include "classlib/Controls.h"

// Adds WS_EX_LAYERED when On and removes it when off (nothing when the style is already so).
void SetPopupLayered(HWND Wnd, bool On);
// The layered window's alpha (0 transparent, 255 opaque).
void SetPopupAlpha(HWND Wnd, BYTE Alpha);

// The fade's steps from 0 to Target: Apply gets 0 + step, 0 + 2 step ... never past Target and Target last, where
// step = Target div 15 (1 when that is 0); one step whenever more than 5 ms have passed on the seam's clock since the
// previous one (the first too). Target 0 needs no step. Sleep(0) between the polls of the clock; no message is
// processed; a clock that stands still ends the fade at the target after about a second's worth of waits.
void RunPopupFade(BYTE Target, const std::function<void(BYTE Alpha)>& Apply);
// A popup's window: WS_POPUP | WS_CLIPCHILDREN, a tool window with saved bits (and the drop shadow on the systems
// that have it), owned by the top-level window of Owner when that has its window.
void PopupWindowParams(TCreateParams& Params, TComponent* Owner);
// The messages every drop-down answers itself, true when Message was one: a click never activates it, and, when
// CloseList is given, a close request only closes the list (the popup lives as long as its box).
bool PopupOwnMessage(TMessage& Message, const std::function<void()>& CloseList = nullptr);

// The transparency last applied to a popup window. Apply switches the layered style with Blend and sets the alpha
// (0 when it will fade in, else Value) when it changed; true when the popup is to fade in after it shows.
struct TbsPopupAlpha {
    bool Blend = false;
    BYTE Value = 0;
    bool Apply(HWND Wnd, bool ABlend, BYTE AValue, bool Animation);
};

// RunPopupFade applied to Wnd's layered alpha (starting from the alpha the window shows now, which should be 0).
void FadeInPopup(HWND Wnd, BYTE Target);
