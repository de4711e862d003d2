#include "skin/shell/ShellChange.h"

#include "classlib/SysUtils.h"

DWORD NotifyOptionFlags(TNotifyFilters Filters) {
    auto bits = static_cast<DWORD>(Filters.Bits());
    return (bits & 0x1F) | ((bits & 0x20) ? FILE_NOTIFY_CHANGE_SECURITY : 0);
}

// ---- The worker ----------------------------------------------------------------------------------------------------

TbsShellChangeThread::TbsShellChangeThread(TThreadMethod ChangeEvent)
    : TThread(true), FWakeEvent(::CreateEventW(nullptr, FALSE, FALSE, nullptr)), FChangeEvent(std::move(ChangeEvent)) {}

TbsShellChangeThread::~TbsShellChangeThread() {
    Terminate();
    if (Started() && !Finished())
        WaitFor();
    CloseWaitHandle();
    if (FWakeEvent)
        ::CloseHandle(FWakeEvent);
}

void TbsShellChangeThread::SetDirectoryOptions(const std::wstring& Directory, bool WatchSubTree, DWORD Flags) {
    {
        std::lock_guard<std::mutex> lock(FLock);
        FDirectory = Directory;
        FWatchSubTree = WatchSubTree;
        FNotifyOptionFlags = Flags;
        FWaitChanged = true;
    }
    // Closing the handle the worker waits on does not wake it everywhere (not under Wine, and it races on
    // Windows): the worker waits on this event too and renews the handle itself.
    ::SetEvent(FWakeEvent);
}

std::wstring TbsShellChangeThread::WatchedDirectory() const {
    std::lock_guard<std::mutex> lock(FLock);
    return FWatched;
}

void TbsShellChangeThread::TerminatedSet() { ::SetEvent(FWakeEvent); }

void TbsShellChangeThread::CloseWaitHandle() {
    if (FWaitHandle != INVALID_HANDLE_VALUE && FWaitHandle != nullptr)
        ::FindCloseChangeNotification(FWaitHandle);
    FWaitHandle = INVALID_HANDLE_VALUE;
    FWatched.clear();
}

void TbsShellChangeThread::RenewWaitHandle() {
    CloseWaitHandle();
    FWaitHandle = ::FindFirstChangeNotificationW(FDirectory.c_str(), FWatchSubTree, FNotifyOptionFlags);
    if (FWaitHandle != INVALID_HANDLE_VALUE)
        FWatched = FDirectory;
    FWaitChanged = false;
}

void TbsShellChangeThread::Execute() {
    {
        std::lock_guard<std::mutex> lock(FLock);
        RenewWaitHandle();
    }
    while (!Terminated()) {
        // A directory that cannot be watched leaves only the wake event: new options may name one that can.
        HANDLE handles[2] = {FWakeEvent, FWaitHandle};
        DWORD count = FWaitHandle != INVALID_HANDLE_VALUE ? 2 : 1;
        DWORD r = ::WaitForMultipleObjects(count, handles, FALSE, INFINITE);
        if (r == WAIT_FAILED || Terminated())
            break;
        if (r == WAIT_OBJECT_0 + 1) {
            // The event runs on the GUI thread; a notifier that went meanwhile gets nothing.
            Synchronize([this] {
                if (!Terminated() && FChangeEvent)
                    FChangeEvent();
            });
            ::FindNextChangeNotification(FWaitHandle);
        }
        std::lock_guard<std::mutex> lock(FLock);
        if (FWaitChanged)
            RenewWaitHandle();
    }
}

// ---- The notifier --------------------------------------------------------------------------------------------------

TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier(TComponent* AOwner) : TComponent(AOwner) { Start(); }

TbsCustomShellChangeNotifier::~TbsCustomShellChangeNotifier() {
    // The thread object ends its worker: a change still waiting for the GUI thread is dropped, not run.
    FThread.reset();
}

void TbsCustomShellChangeNotifier::Start() {
    if (!FOnChange || FThread)
        return;
    FThread = std::make_unique<TbsShellChangeThread>(FOnChange);
    FThread->SetDirectoryOptions(FRoot, FWatchSubTree, NotifyOptionFlags(FFilters));
    FThread->Start();
}

void TbsCustomShellChangeNotifier::Change() {
    if (FThread)
        FThread->SetDirectoryOptions(FRoot, FWatchSubTree, NotifyOptionFlags(FFilters));
}

void TbsCustomShellChangeNotifier::SetFilters(TNotifyFilters Value) {
    FFilters = Value;
    Change();
}

void TbsCustomShellChangeNotifier::SetRoot(const std::wstring& Value) {
    if (SameText(Value, FRoot))
        return;
    FRoot = Value;
    Change();
}

void TbsCustomShellChangeNotifier::SetWatchSubTree(bool Value) {
    FWatchSubTree = Value;
    Change();
}

void TbsCustomShellChangeNotifier::SetOnChange(TThreadMethod Value) {
    FOnChange = std::move(Value);
    if (FThread)
        FThread->SetChangeEvent(FOnChange);
    else
        Start();
}
