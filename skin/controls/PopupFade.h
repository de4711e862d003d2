// The fade-in of a control's drop-down (the date edit's calendar, the list and combo pop-ups): a layered pop-up's
// opacity rises from 0 in steps of Target div 15 (at least 1), one step whenever more than 5 ms have passed since the
// last, until it shows Target. It runs on the GUI thread without processing messages, on the same blocking fade the
// skinned form, its menu levels and the hint use. GUI thread only.
// Index: PopupFadeSteps, FadeInPopup.
#pragma once

#include <windows.h>

#include "skin/core/AlphaFade.h"

// The fade a drop-down runs to Target (0..255).
TAlphaFade PopupFadeSteps(int Target);

// Runs the fade on Wnd (already shown, layered, at opacity 0); Clock empty: the system's. Returns the steps shown.
int FadeInPopup(HWND Wnd, int Target, const TFadeClock& Clock = {});
