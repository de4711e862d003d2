#include "skin/boxes/EditClipboard.h"

#include <algorithm>

std::wstring ReadClipboardText(HWND Owner) {
    std::wstring text;
    if (!OpenClipboard(Owner))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            const SIZE_T cap = GlobalSize(data) / sizeof(wchar_t);
            text.assign(p, std::find(p, p + cap, L'\0'));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}
