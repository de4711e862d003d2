// TThread: the system thread, its end, and the calls handed to the GUI thread through a message-only window.
#include "classlib/Thread.h"

#include <process.h>

#include <deque>
#include <mutex>

#include "base/Report.h"
#include "classlib/Component.h"

namespace {

// The synchronisation window's one message: "calls are waiting". Private to that window.
constexpr UINT WM_SYNC_CHECK = WM_APP + 0x51;
constexpr wchar_t kSyncClass[] = L"TrelmThreadSyncWindow";

struct SyncRecord {
    TThread* thread = nullptr;  // borrowed; identifies the calls to drop when the thread object goes
    TThreadMethod method;
    bool synchronous = false;
    HANDLE done = nullptr;     // synchronous: signalled after the call (borrowed from the waiting worker)
    std::exception_ptr error;  // synchronous: what the call threw
    bool cancelled = false;    // synchronous: the GUI side went away before running it
};

std::mutex gLock;
std::deque<SyncRecord*> gPending;  // queued records owned here, synchronous ones borrowed from their workers
// The thread that runs the program's static initialisation is its main (GUI) thread.
std::atomic<DWORD> gMainThreadId{GetCurrentThreadId()};
std::atomic<HWND> gSyncWnd{nullptr};
thread_local TThread* tCurrent = nullptr;

void Finish(SyncRecord* r) {
    if (r->synchronous)
        SetEvent(r->done);
    else
        delete r;
}

LRESULT CALLBACK SyncWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYNC_CHECK) {
        TThread::CheckSynchronize();
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

// Ends the pending calls when the process winds down: waiting workers get EThread, queued calls are dropped.
struct SyncShutdown {
    ~SyncShutdown() {
        std::deque<SyncRecord*> left;
        {
            std::lock_guard<std::mutex> g(gLock);
            left.swap(gPending);
            gSyncWnd.store(nullptr);
        }
        for (SyncRecord* r : left) {
            r->cancelled = true;
            Finish(r);
        }
    }
} gShutdown;

bool PostCheck() {
    HWND wnd = gSyncWnd.load();
    return wnd && PostMessageW(wnd, WM_SYNC_CHECK, 0, 0);
}

// Takes r back out of the list after a failed post; false when the GUI thread took it meanwhile.
bool Withdraw(SyncRecord* r) {
    std::lock_guard<std::mutex> g(gLock);
    for (auto it = gPending.begin(); it != gPending.end(); ++it)
        if (*it == r) {
            gPending.erase(it);
            return true;
        }
    return false;
}

bool OnGuiThread() {
    return gMainThreadId.load() == GetCurrentThreadId();
}

int ToSystemPriority(TThreadPriority p) {
    static const int map[] = {THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,       THREAD_PRIORITY_BELOW_NORMAL,
                              THREAD_PRIORITY_NORMAL,       THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                              THREAD_PRIORITY_TIME_CRITICAL};
    return map[static_cast<int>(p)];
}

}  // namespace

void TThread::InitSynchronization() {
    DWORD expected = 0;
    gMainThreadId.compare_exchange_strong(expected, GetCurrentThreadId());
    if (!OnGuiThread() || gSyncWnd.load())
        return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = SyncWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kSyncClass;
    RegisterClassW(&wc);  // fails harmlessly when already registered
    HWND wnd = CreateWindowExW(0, kSyncClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    gSyncWnd.store(wnd);
}

DWORD TThread::MainThreadID() {
    return gMainThreadId.load();
}

TThread* TThread::CurrentThread() {
    return tCurrent;
}

TThread::TThread(bool CreateSuspended) : createSuspended_(CreateSuspended) {
    if (gMainThreadId.load() == 0 || OnGuiThread())
        InitSynchronization();
}

TThread::~TThread() {
    if (handle_) {
        if (GetCurrentThreadId() != threadId_ && !finished_.load()) {
            terminated_.store(true);
            try {
                TerminatedSet();
            } catch (...) {
                ReportCaught("TThread::~TThread: TerminatedSet");
            }
            if (suspended_)
                ResumeThread(handle_.Get());
        }
        if (GetCurrentThreadId() != threadId_) {
            // Also after Finished: the thread may still be between its last statement and its exit.
            WaitForEnd();
        }
        handle_.Reset();
    }
    RemoveQueuedEvents(this);
}

void TThread::Start() {
    if (started_)
        throw EThread(L"Cannot call Start on a running or terminated thread");
    unsigned id = 0;
    uintptr_t h = _beginthreadex(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &id);
    if (!h)
        throw EThread(L"Thread creation error " + std::to_wstring(GetLastError()));
    handle_.Reset(reinterpret_cast<HANDLE>(h));
    threadId_ = id;
    started_ = true;
    if (priority_ != tpNormal)
        SetThreadPriority(handle_.Get(), ToSystemPriority(priority_));
    ResumeThread(handle_.Get());
}

void TThread::Resume() {
    if (!started_) {
        Start();
        return;
    }
    if (suspended_ && handle_) {
        suspended_ = false;
        ResumeThread(handle_.Get());
    }
}

void TThread::Terminate() {
    terminated_.store(true);
    TerminatedSet();
}

int TThread::WaitFor() {
    if (GetCurrentThreadId() == threadId_)
        throw EThread(L"Cannot wait for a thread on the thread itself");
    if (!handle_)
        throw EThread(L"Cannot wait for a thread that was not started");
    if (freeOnTerminate_)
        throw EThread(L"Cannot wait for a thread that frees itself");
    WaitForEnd();
    return returnValue_;
}

void TThread::WaitForEnd() {
    if (OnGuiThread()) {
        // Keep serving the worker's Synchronize calls, or it and we would wait for each other forever.
        HANDLE h = handle_.Get();
        for (;;) {
            DWORD r = MsgWaitForMultipleObjects(1, &h, FALSE, INFINITE, QS_POSTMESSAGE | QS_SENDMESSAGE);
            if (r == WAIT_OBJECT_0 || r == WAIT_FAILED)
                break;
            MSG m;
            HWND wnd = gSyncWnd.load();
            while (wnd && PeekMessageW(&m, wnd, WM_SYNC_CHECK, WM_SYNC_CHECK, PM_REMOVE)) {
            }
            CheckSynchronize();
        }
    } else {
        WaitForSingleObject(handle_.Get(), INFINITE);
    }
}

TThreadPriority TThread::Priority() const {
    return priority_;
}

void TThread::SetPriority(TThreadPriority Value) {
    priority_ = Value;
    if (handle_ && !finished_.load())
        SetThreadPriority(handle_.Get(), ToSystemPriority(Value));
}

unsigned __stdcall TThread::ThreadProc(void* param) {
    static_cast<TThread*>(param)->Run();
    return 0;
}

void TThread::Run() {
    tCurrent = this;
    try {
        Execute();
    } catch (...) {
        ReportCaught("TThread::Run: Execute");
        fatalException_ = std::current_exception();
    }
    try {
        DoTerminate();
    } catch (...) {
        ReportCaught("TThread::Run: OnTerminate");
        if (!fatalException_)
            fatalException_ = std::current_exception();
    }
    tCurrent = nullptr;
    const bool freeSelf = freeOnTerminate_;
    finished_.store(true);  // after this store the object may be freed by another thread (when !freeSelf)
    if (freeSelf)
        delete this;
}

void TThread::DoTerminate() {
    if (OnTerminate)
        Synchronize(this, [this] { OnTerminate(this); });
}

void TThread::Synchronize(TThread* AThread, TThreadMethod Method) {
    if (!Method)
        return;
    if (OnGuiThread()) {
        Method();
        return;
    }
    SyncRecord r;
    r.thread = AThread;
    r.method = std::move(Method);
    r.synchronous = true;
    const TKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done)
        throw EThread(L"Synchronize: cannot create an event, error " + std::to_wstring(GetLastError()));
    r.done = done.Get();
    {
        std::lock_guard<std::mutex> g(gLock);
        gPending.push_back(&r);
    }
    if (!PostCheck() && Withdraw(&r))
        throw EThread(L"Synchronize: the GUI thread cannot be reached");
    WaitForSingleObject(r.done, INFINITE);
    if (r.error)
        std::rethrow_exception(r.error);
    if (r.cancelled)
        throw EThread(L"Synchronize: the GUI thread ended before the call ran");
}

void TThread::Queue(TThread* AThread, TThreadMethod Method) {
    if (!Method)
        return;
    if (OnGuiThread()) {
        Method();
        return;
    }
    auto* r = new SyncRecord;
    r->thread = AThread;
    r->method = std::move(Method);
    {
        std::lock_guard<std::mutex> g(gLock);
        gPending.push_back(r);
    }
    if (!PostCheck() && Withdraw(r))
        delete r;  // nobody will run it: free what it carried now
}

void TThread::RemoveQueuedEvents(TThread* AThread) {
    if (!AThread)
        return;
    std::deque<SyncRecord*> dropped;
    {
        std::lock_guard<std::mutex> g(gLock);
        for (auto it = gPending.begin(); it != gPending.end();) {
            if ((*it)->thread == AThread && !(*it)->synchronous) {
                dropped.push_back(*it);
                it = gPending.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (SyncRecord* r : dropped)
        delete r;  // outside the lock: the captured state's destructors may do anything
}

bool TThread::CheckSynchronize() {
    if (!OnGuiThread())
        return false;
    bool ran = false;
    for (;;) {
        SyncRecord* r;
        {
            std::lock_guard<std::mutex> g(gLock);
            if (gPending.empty())
                break;
            r = gPending.front();
            gPending.pop_front();
        }
        ran = true;
        if (r->synchronous) {
            try {
                r->method();
            } catch (...) {
                r->error = std::current_exception();  // re-raised in the worker
            }
            SetEvent(r->done);
        } else {
            try {
                r->method();
            } catch (...) {
                if (TComponent::ErrorHandler)
                    TComponent::ErrorHandler(nullptr);
                else
                    ReportCaught("TThread: queued call");
            }
            delete r;
        }
    }
    return ran;
}
