// What the main window's layout measures with.
// Index: ControlTextWidth.
#pragma once

#include <windows.h>

#include <string>

#include "classlib/StdCtrls.h"

// Width of text in the font the control's window uses (or will use: the control's font, before the window exists).
int ControlTextWidth(TWinControl* control, const std::wstring& text);
