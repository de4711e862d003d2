// Worker threads with calls back onto the GUI thread.
// Index: TThreadPriority, EThread, TThreadMethod, TThread.
//
// A TThread runs Execute() on its own thread, from Start() on. C++ runs no code after the most derived
// constructor, and a thread started earlier would call Execute on a half-built object; so a thread that is
// "created running" ends the constructor of its most derived class with Start(), after it has set what must be
// set before the thread runs (FreeOnTerminate, Priority: setting them after Start races with the thread's end).
// The CreateSuspended argument stays in the signature that every thread class shares and changes nothing.
//
// GUI calls: Synchronize(Method) runs Method on the GUI thread and waits for it; Queue(Method) runs it there later
// without waiting. Both go through a hidden message-only window of the GUI thread, so they also run while a modal
// loop or a message box pumps messages. The GUI thread is the one that first uses the class library's windows or
// threads (normally the program's main thread); TThread::InitSynchronization() fixes it explicitly. A call that
// cannot be posted is freed at once (Queue) or raises EThread in the worker (Synchronize). An exception thrown by
// a synchronised method is re-raised in the worker; one thrown by a queued method is reported through the
// application. Queued calls of a thread that is freed before they ran are dropped.
//
// End of a thread: after Execute returns (or throws: the exception is kept in FatalException), OnTerminate runs on
// the GUI thread (Synchronize), then, with FreeOnTerminate, the object deletes itself. Freeing a running thread
// that does not free itself sets Terminated and waits for it. While the GUI thread waits (WaitFor or the
// destructor) it keeps running synchronised calls, so a worker in Synchronize cannot deadlock it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "base/Handles.h"
#include "classlib/Classes.h"
#include "classlib/SysUtils.h"

TRELM_DECLARE_EXCEPTION(EThread, Exception);

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

using TThreadMethod = std::function<void()>;

class TThread : public TObject {
  public:
    explicit TThread(bool CreateSuspended);
    // Terminates and waits for a running thread (unless called on the thread itself, as FreeOnTerminate does).
    ~TThread() override;

    // Starts a thread created suspended (once; EThread when it already runs or ran).
    void Start();
    // Old name of Start for a thread that never ran; resumes a thread suspended with Suspend otherwise.
    void Resume();
    // Sets Terminated: Execute should look at it and return soon.
    void Terminate();
    // Waits for the end of the thread and returns ReturnValue. EThread when called on the thread itself or for a
    // FreeOnTerminate thread (which may be gone by the time it returns).
    int WaitFor();

    bool FreeOnTerminate() const { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool Value) { freeOnTerminate_ = Value; }
    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority Value);
    bool Suspended() const { return suspended_; }
    bool Finished() const { return finished_.load(); }
    bool Started() const { return started_; }
    HANDLE Handle() const { return handle_.Get(); }
    DWORD ThreadID() const { return threadId_; }
    int ReturnValue() const { return returnValue_; }
    // The exception that left Execute, empty when none.
    std::exception_ptr FatalException() const { return fatalException_; }

    // Runs on the GUI thread after Execute, while the thread still exists.
    TNotifyEvent OnTerminate;

    // Runs Method on the GUI thread and waits; directly when called on the GUI thread. AThread may be nullptr.
    static void Synchronize(TThread* AThread, TThreadMethod Method);
    // Runs Method on the GUI thread later; directly when called on the GUI thread. AThread (may be nullptr) ties
    // the call to a thread object: it is dropped when that object is freed first.
    static void Queue(TThread* AThread, TThreadMethod Method);
    // Drops the queued calls of AThread that have not run yet.
    static void RemoveQueuedEvents(TThread* AThread);
    // Runs the waiting synchronised and queued calls; GUI thread only (the library calls it itself). True when
    // something ran.
    static bool CheckSynchronize();
    // Makes the calling thread the GUI thread and creates the synchronisation window (idempotent).
    static void InitSynchronization();
    static DWORD MainThreadID();
    // The thread object of the calling thread, nullptr on threads not run by TThread.
    static TThread* CurrentThread();

  protected:
    virtual void Execute() = 0;
    bool Terminated() const { return terminated_.load(); }
    // Called on the thread that called Terminate, after Terminated was set (wake a blocking wait here).
    virtual void TerminatedSet() {}
    // Raises OnTerminate (synchronised). Overrides call the base.
    virtual void DoTerminate();
    void Synchronize(TThreadMethod Method) { Synchronize(this, std::move(Method)); }
    void Queue(TThreadMethod Method) { Queue(this, std::move(Method)); }
    void SetReturnValue(int Value) { returnValue_ = Value; }

  private:
    static unsigned __stdcall ThreadProc(void* param);
    void Run();
    void WaitForEnd();

    TKernelHandle handle_;
    DWORD threadId_ = 0;
    bool createSuspended_;
    bool started_ = false;
    bool suspended_ = false;
    bool freeOnTerminate_ = false;
    TThreadPriority priority_ = tpNormal;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    int returnValue_ = 0;
    std::exception_ptr fatalException_;
};
