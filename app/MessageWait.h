// The waits of a check round on the GUI thread: the window keeps answering because the wait sleeps in
// MsgWaitForMultipleObjectsEx on the message queue (and on an optional handle) and dispatches what arrives.
#pragma once

#include <windows.h>

#include <atomic>

// Waits up to ms, dispatching the thread's messages. Ends early when `wake` (may be null) is signalled or, when
// `untilClear` is given, as soon as that flag is clear (looked at after every wake-up and at least every
// pollMs). Returns false when WM_QUIT arrived: it is posted again so that the message loop still ends.
bool WaitPumping(unsigned ms, HANDLE wake, const std::atomic<bool>* untilClear, unsigned pollMs = 50);

// Waits up to ms for `handle` while the thread still answers messages that other threads send to its windows
// (SendMessage, SendMessageTimeout); posted messages, timers and input stay queued, so no handler of this
// program runs inside. True when the handle was signalled.
bool WaitAnsweringSent(unsigned ms, HANDLE handle);
