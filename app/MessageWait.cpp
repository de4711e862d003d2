// Message-pumping waits.
#include "app/MessageWait.h"

#include <algorithm>

namespace {

// Dispatches everything queued; false on WM_QUIT, which is posted again.
bool PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace

bool WaitPumping(unsigned ms, HANDLE wake, const std::atomic<bool>* untilClear, unsigned pollMs) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (!PumpPending())
            return false;
        if (untilClear && !untilClear->load())
            return true;
        const ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= ms)
            return true;
        DWORD slice = static_cast<DWORD>(ms - elapsed);
        if (untilClear)
            slice = std::min<DWORD>(slice, std::max(pollMs, 1u));
        const DWORD count = wake ? 1 : 0;
        const DWORD r =
            MsgWaitForMultipleObjectsEx(count, wake ? &wake : nullptr, slice, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (wake && r == WAIT_OBJECT_0) {
            // Messages that came with the signal are still dispatched, so a quit is not lost.
            return PumpPending();
        }
    }
}

bool WaitAnsweringSent(unsigned ms, HANDLE handle) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const ULONGLONG elapsed = GetTickCount64() - start;
        const DWORD left = elapsed >= ms ? 0 : static_cast<DWORD>(ms - elapsed);
        const DWORD r = MsgWaitForMultipleObjectsEx(1, &handle, left, QS_SENDMESSAGE, 0);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r != WAIT_OBJECT_0 + 1)
            return false;  // timed out or failed
        // Delivers the sent messages only.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
