// Keeps a test session's Wine desktop alive. Wine closes the desktop (explorer.exe /desktop) a moment after the
// last program using it has ended, and the next program that opens a window then waits about ten seconds while
// the desktop comes back. This program holds one message-only window until the session is stopped, so test
// programs started one after another always find the desktop running. It shows nothing and takes no focus.
//
// It also keeps an icon of its own in Wine's notification area. Without a tray on the X display Wine shows the
// icons in a window of its own, and removing the last icon hides that window, which holds the removing program
// for two seconds (the unmap wait of Wine's X11 driver); with this icon there, a test's icons come and go at once.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace {

constexpr UINT kKeeperIconId = 1;

void AddIcon(HWND holder) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = holder;
    data.uID = kKeeperIconId;
    data.uFlags = NIF_ICON;
    data.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
    Shell_NotifyIconW(NIM_ADD, &data);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HWND holder = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!holder)
        return 1;
    AddIcon(holder);  // without it the session only runs slower
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
