// Keeps a test session's Wine desktop alive. Wine closes the desktop (explorer.exe /desktop) a moment after the
// last program using it has ended, and the next program that opens a window then waits about ten seconds while
// the desktop comes back. This program holds one message-only window until the session is stopped, so test
// programs started one after another always find the desktop running. It shows nothing and takes no focus.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HWND holder = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!holder)
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
