// What the edit tests share: the clipboard set and read as a user's program would, and characters typed as WM_CHAR.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "skin/boxes/EditClipboard.h"

namespace boxtest {

inline void SetClipboardText(const std::wstring& Text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (Text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(mem), Text.c_str(), (Text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
}

inline std::wstring GetClipboardText() {
    return ReadClipboardText(nullptr);
}

inline void Type(HWND w, const std::wstring& Keys) {
    for (wchar_t c : Keys)
        SendMessageW(w, WM_CHAR, c, 1);
}

}  // namespace boxtest
