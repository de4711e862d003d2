// The clipboard as the edits read it: its Unicode text, cut at the first NUL and never past the block.
#pragma once

#include <windows.h>

#include <string>

// The clipboard's text (empty when it holds none or cannot be opened); Owner may be nullptr.
std::wstring ReadClipboardText(HWND Owner);
