// probe_window: the smallest Win32 program with one window, the baseline of notifier_probe's start-up figures. It
// shows one captioned window at the middle of the desktop, fills its client area with one colour and waits for
// messages, as any program would.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(wnd, &ps);
            HBRUSH brush = CreateSolidBrush(RGB(40, 90, 160));
            RECT client;
            GetClientRect(wnd, &client);
            FillRect(dc, &client, brush);
            DeleteObject(brush);
            EndPaint(wnd, &ps);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(wnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"ProbeWindow";
    if (!RegisterClassExW(&wc))
        return 1;
    const int w = 420, h = 300;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"probe_window", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y, w,
                               h, nullptr, nullptr, instance, nullptr);
    if (!wnd)
        return 1;
    ShowWindow(wnd, show);
    UpdateWindow(wnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
