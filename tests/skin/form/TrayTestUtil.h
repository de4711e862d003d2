// Wine's notification area as the tray tests see it: each icon is a child window of class "__winex11_tray_icon"
// under a top-level tray window.
#pragma once

#include <windows.h>

#include <set>
#include <string>

#include "WindowTestUtil.h"

namespace traytest {

// Wine shows each tray icon as a child window of this class.
inline BOOL CALLBACK CollectTrayChild(HWND child, LPARAM param) {
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    if (std::wstring(cls) == L"__winex11_tray_icon")
        reinterpret_cast<std::set<HWND>*>(param)->insert(child);
    return TRUE;
}

inline BOOL CALLBACK CollectTrayTop(HWND top, LPARAM param) {
    EnumChildWindows(top, &CollectTrayChild, param);
    return TRUE;
}

inline std::set<HWND> TrayIconWindows() {
    std::set<HWND> found;
    EnumWindows(&CollectTrayTop, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The tray window that appeared since before, once the shell has made it.
inline HWND NewTrayWindow(const std::set<HWND>& before) {
    HWND found = nullptr;
    PumpUntil([&] {
        for (HWND w : TrayIconWindows()) {
            if (!before.count(w))
                found = w;
        }
        return found != nullptr;
    });
    return found;
}

}  // namespace traytest
