// The window properties through which outside tools (tests, accessibility helpers, other processes) read the entries
// of an open skinned menu level: "TrelmItemCount" holds the number of entries, "TrelmItem<i>" a global atom with the
// caption of entry i (hot-key marks removed, a divider "-"). Header only, plain Win32.
// Index: kMenuItemCountProp, MenuItemPropName, MenuLevelEntries.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

inline constexpr const wchar_t* kMenuItemCountProp = L"TrelmItemCount";

inline std::wstring MenuItemPropName(size_t i) {
    return L"TrelmItem" + std::to_wstring(i);
}

// The entries of the level window wnd, of this process or another; empty when it is no level.
inline std::vector<std::wstring> MenuLevelEntries(HWND wnd) {
    std::vector<std::wstring> out;
    const auto count = reinterpret_cast<UINT_PTR>(GetPropW(wnd, kMenuItemCountProp));
    for (size_t i = 0; i < count; ++i) {
        const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(wnd, MenuItemPropName(i).c_str())));
        wchar_t name[256] = {};
        const UINT n = atom ? GlobalGetAtomNameW(atom, name, 256) : 0;
        out.emplace_back(name, n);
    }
    return out;
}
