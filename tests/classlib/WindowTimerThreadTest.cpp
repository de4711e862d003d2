// Timers and worker threads: a timer that stops or frees itself in its own tick, and threads that hand calls
// to the GUI thread (Synchronize, Queue), end, free themselves and are freed while running.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "base/Handles.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Thread.h"
#include "tests/classlib/WindowTestUtil.h"

namespace {

TEST(WindowTimer, TimerFreedInItsOwnTickStops) {
    int ticks = 0;
    auto* timer = new TTimer(nullptr);
    timer->SetInterval(10);
    timer->OnTimer = [&](TObject* sender) {
        ++ticks;
        delete static_cast<TTimer*>(sender);
    };
    // A loaded machine may deliver the first tick late: wait for it with a deadline, then for any second one.
    ASSERT_TRUE(PumpUntil([&] { return ticks > 0; }, 5000));
    Pump(60);
    EXPECT_EQ(ticks, 1);
}

TEST(WindowTimer, TimerDisabledInItsOwnTickCanBeStartedAgain) {
    int ticks = 0;
    TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject*) {
        ++ticks;
        timer.SetEnabled(false);
    };
    ASSERT_TRUE(PumpUntil([&] { return ticks > 0; }, 5000));
    Pump(60);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer.Running());
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return ticks == 2; }, 1000));
}

TEST(WindowTimer, ExceptionInOnTimerIsReportedAndTheTimerGoesOn) {
    ExceptionRecorder recorder;
    int ticks = 0;
    TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject*) {
        ++ticks;
        throw EInvalidOperation(L"tick failed");
    };
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }, 1000));
    timer.SetEnabled(false);
    ASSERT_GE(recorder.messages.size(), 3u);
    EXPECT_EQ(recorder.messages[0], "tick failed");
}

TEST(WindowTimer, OwnerFreesItsTimer) {
    int ticks = 0;
    auto* owner = new TComponent(nullptr);
    auto* timer = new TTimer(owner);
    timer->SetInterval(10);
    timer->OnTimer = [&](TObject*) { ++ticks; };
    EXPECT_TRUE(PumpUntil([&] { return ticks > 0; }, 1000));
    delete owner;
    const int before = ticks;
    Pump(60);
    EXPECT_EQ(ticks, before);
}

// A worker whose Execute is a function of the test.
class Worker : public TThread {
  public:
    explicit Worker(std::function<void(Worker&)> body) : TThread(true), body_(std::move(body)) {}
    ~Worker() override {
        if (destroyed)
            *destroyed = true;
    }
    using TThread::Queue;
    using TThread::SetReturnValue;
    using TThread::Synchronize;
    using TThread::Terminated;
    std::atomic<bool>* destroyed = nullptr;

  protected:
    void Execute() override { body_(*this); }

  private:
    std::function<void(Worker&)> body_;
};

TEST(WindowThread, SynchronizeRunsOnTheGuiThreadWhileItWaits) {
    const DWORD gui = GetCurrentThreadId();
    std::vector<DWORD> ran;
    Worker w([&](Worker& self) {
        for (int i = 0; i < 5; ++i)
            self.Synchronize([&] { ran.push_back(GetCurrentThreadId()); });
        self.SetReturnValue(42);
    });
    w.Start();
    EXPECT_EQ(w.WaitFor(), 42);  // the GUI thread waits here and still serves the worker
    ASSERT_EQ(ran.size(), 5u);
    for (DWORD id : ran)
        EXPECT_EQ(id, gui);
    EXPECT_THROW(w.Start(), EThread);
}

TEST(WindowThread, QueuedCallsRunInOrderOnTheGuiThread) {
    std::vector<int> order;
    Worker w([&](Worker& self) {
        for (int i = 0; i < 50; ++i)
            self.Queue([&order, i] { order.push_back(i); });
    });
    w.Start();
    ASSERT_EQ(WaitForSingleObject(w.Handle(), 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(PumpUntil([&] { return order.size() == 50; }));
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[static_cast<size_t>(i)], i);
}

TEST(WindowThread, QueuedCallsOfAFreedThreadAreDropped) {
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watch = token;
    bool ran = false;
    auto* w = new Worker([&, token](Worker& self) { self.Queue([&ran, token] { ran = true; }); });
    token.reset();
    w->Start();
    ASSERT_EQ(WaitForSingleObject(w->Handle(), 10000), WAIT_OBJECT_0);  // no messages handled meanwhile
    delete w;
    Pump(30);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(watch.expired());  // what the dropped call carried was freed
}

TEST(WindowThread, ExceptionOfASynchronizedCallReachesTheWorker) {
    Worker w([](Worker& self) { self.Synchronize([] { throw EConvertError(L"bad value"); }); });
    w.Start();
    w.WaitFor();
    ASSERT_TRUE(w.FatalException());
    try {
        std::rethrow_exception(w.FatalException());
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"bad value");
    }
}

TEST(WindowThread, FreeOnTerminateThreadFreesItselfAfterOnTerminate) {
    std::atomic<bool> destroyed{false};
    DWORD terminateThread = 0;
    auto* w = new Worker([](Worker&) {});
    w->destroyed = &destroyed;
    w->SetFreeOnTerminate(true);
    w->SetPriority(tpHigher);
    w->OnTerminate = [&](TObject*) { terminateThread = GetCurrentThreadId(); };
    w->Start();
    EXPECT_TRUE(PumpUntil([&] { return destroyed.load(); }));
    EXPECT_EQ(terminateThread, GetCurrentThreadId());
}

TEST(WindowThread, PriorityIsAppliedToTheSystemThread) {
    std::atomic<int> seen{-100};
    Worker w([&](Worker&) { seen = GetThreadPriority(GetCurrentThread()); });
    w.SetPriority(tpHigher);
    w.Start();
    w.WaitFor();
    EXPECT_EQ(seen.load(), THREAD_PRIORITY_ABOVE_NORMAL);
    EXPECT_EQ(w.Priority(), tpHigher);
}

TEST(WindowThread, FreeingARunningThreadTerminatesAndWaitsWithoutDeadlock) {
    std::atomic<int> calls{0};
    auto* w = new Worker([&](Worker& self) {
        while (!self.Terminated())
            self.Synchronize([&] { ++calls; });
    });
    w->Start();
    EXPECT_TRUE(PumpUntil([&] { return calls.load() > 3; }));
    HANDLE thread = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), w->Handle(), GetCurrentProcess(), &thread, SYNCHRONIZE, FALSE, 0));
    const TKernelHandle threadOwner(thread);
    // A deadlock would hang the program for good: a watchdog ends it with a message after a bounded wait.
    const TKernelHandle deleted(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread watchdog([&] {
        if (WaitForSingleObject(deleted.Get(), 10000) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "freeing a running thread deadlocked\n");
            std::_Exit(1);
        }
    });
    delete w;  // sets Terminated, keeps serving Synchronize while it waits
    SetEvent(deleted.Get());
    watchdog.join();
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);  // the worker has ended
    const int after = calls.load();
    Pump(30);
    EXPECT_EQ(calls.load(), after);
}

TEST(WindowThread, SynchronizeOnTheGuiThreadRunsDirectly) {
    int n = 0;
    TThread::Synchronize(nullptr, [&] { ++n; });
    TThread::Queue(nullptr, [&] { ++n; });
    EXPECT_EQ(n, 2);
    EXPECT_EQ(TThread::MainThreadID(), GetCurrentThreadId());
    EXPECT_EQ(TThread::CurrentThread(), nullptr);
}

}  // namespace
