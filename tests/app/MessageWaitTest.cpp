// The message-pumping wait on a real message queue: it dispatches while it waits, ends on the handle or the
// cleared flag, gives up on WM_QUIT and posts it again, and sleeps rather than spins.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "app/MessageWait.h"

namespace {

int g_dispatched = 0;
std::atomic<bool>* g_flagToClear = nullptr;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP) {
        ++g_dispatched;
        return 0;
    }
    if (msg == WM_TIMER) {
        ++g_dispatched;
        if (g_flagToClear)
            g_flagToClear->store(false);
        KillTimer(hwnd, wParam);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class MessageWait : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TrelmMessageWaitTest";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(hwnd_, nullptr);
        g_dispatched = 0;
        g_flagToClear = nullptr;
    }
    void TearDown() override {
        DestroyWindow(hwnd_);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND hwnd_ = nullptr;
};

ULONGLONG ElapsedSince(ULONGLONG start) {
    return GetTickCount64() - start;
}

TEST_F(MessageWait, DispatchesWhileWaitingTheWholeTime) {
    PostMessageW(hwnd_, WM_APP, 0, 0);
    SetTimer(hwnd_, 1, 30, nullptr);
    FILETIME create, exit, kernel0, user0, kernel1, user1;
    GetThreadTimes(GetCurrentThread(), &create, &exit, &kernel0, &user0);
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(WaitPumping(400, nullptr, nullptr));
    const ULONGLONG took = ElapsedSince(start);
    GetThreadTimes(GetCurrentThread(), &create, &exit, &kernel1, &user1);
    EXPECT_EQ(g_dispatched, 2);  // the posted message and the timer, inside the wait
    EXPECT_GE(took, 390u);
    EXPECT_LT(took, 3000u);
    // Asleep, not spinning: the thread used a small part of the wait's time.
    const auto cpu100ns = [](const FILETIME& k, const FILETIME& u) {
        return (ULONGLONG(k.dwHighDateTime) << 32 | k.dwLowDateTime) +
               (ULONGLONG(u.dwHighDateTime) << 32 | u.dwLowDateTime);
    };
    EXPECT_LT((cpu100ns(kernel1, user1) - cpu100ns(kernel0, user0)) / 10000, took / 2);
}

TEST_F(MessageWait, EndsWhenTheFlagIsCleared) {
    std::atomic<bool> running{true};
    g_flagToClear = &running;
    SetTimer(hwnd_, 1, 100, nullptr);  // a handler inside the wait ends the check
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(WaitPumping(10000, nullptr, &running));
    EXPECT_LT(ElapsedSince(start), 5000u);
    EXPECT_FALSE(running.load());

    // Cleared by another thread, as the check thread does.
    running = true;
    std::thread other([&running] {
        Sleep(100);
        running = false;
    });
    const ULONGLONG start2 = GetTickCount64();
    EXPECT_TRUE(WaitPumping(10000, nullptr, &running));
    EXPECT_LT(ElapsedSince(start2), 5000u);
    other.join();

    // Already clear: the queue is still pumped once.
    PostMessageW(hwnd_, WM_APP, 0, 0);
    g_dispatched = 0;
    EXPECT_TRUE(WaitPumping(10000, nullptr, &running));
    EXPECT_EQ(g_dispatched, 1);
}

TEST_F(MessageWait, EndsWhenTheHandleIsSignalled) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    std::thread other([event] {
        Sleep(100);
        SetEvent(event);
    });
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(WaitPumping(10000, event, nullptr));
    EXPECT_LT(ElapsedSince(start), 5000u);
    other.join();
    CloseHandle(event);
}

TEST_F(MessageWait, QuitEndsTheWaitAndIsPostedAgain) {
    PostMessageW(hwnd_, WM_APP, 0, 0);
    PostQuitMessage(7);
    std::atomic<bool> running{true};
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(WaitPumping(10000, nullptr, &running));
    EXPECT_LT(ElapsedSince(start), 5000u);
    EXPECT_EQ(g_dispatched, 1);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);

    // A quit that comes during the wait.
    std::thread other([id = GetCurrentThreadId()] {
        Sleep(100);
        PostThreadMessageW(id, WM_QUIT, 3, 0);
    });
    EXPECT_FALSE(WaitPumping(10000, nullptr, nullptr));
    other.join();
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace

// The stop's wait: other threads' SendMessage is answered at once, posted messages and timers wait for later.
TEST_F(MessageWait, AnsweringSentRunsNoPostedMessageOrTimer) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    PostMessageW(hwnd_, WM_APP, 0, 0);
    SetTimer(hwnd_, 1, 10, nullptr);
    std::atomic<ULONGLONG> answeredMs{0};
    std::atomic<bool> answered{false};
    std::thread other([&] {
        Sleep(100);
        const ULONGLONG start = GetTickCount64();
        DWORD_PTR result = 0;
        answered = SendMessageTimeoutW(hwnd_, WM_NULL, 0, 0, SMTO_NORMAL, 3000, &result) != 0;
        answeredMs = GetTickCount64() - start;
        Sleep(100);
        SetEvent(event);
    });
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(WaitAnsweringSent(10000, event));
    EXPECT_LT(ElapsedSince(start), 5000u);
    other.join();
    EXPECT_TRUE(answered.load());
    EXPECT_LT(answeredMs.load(), 1000u);
    EXPECT_EQ(g_dispatched, 0);
    // Not signalled: the wait ends after its time.
    ResetEvent(event);
    const ULONGLONG start2 = GetTickCount64();
    EXPECT_FALSE(WaitAnsweringSent(200, event));
    EXPECT_GE(ElapsedSince(start2), 190u);
    CloseHandle(event);
}
