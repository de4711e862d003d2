// Watching one directory: TbsShellChangeNotifier runs a TbsShellChangeThread that waits for the file system's change
// notification and runs the notifier's OnChange on the GUI thread, one change at a time (the worker waits until the
// event has run). The shell views own one while their AutoRefresh is on.
// Index: TNotifyFilter(s), NotifyOptionFlags, TbsShellChangeThread, TbsCustomShellChangeNotifier,
// TbsShellChangeNotifier.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "classlib/Component.h"
#include "classlib/Thread.h"
#include "classlib/Types.h"

enum TNotifyFilter { nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange, nfWriteChange, nfSecurityChange };
using TNotifyFilters = TSet<TNotifyFilter>;
// FILE_NOTIFY_CHANGE_*: the first five as they stand, the security change at 0x100.
DWORD NotifyOptionFlags(TNotifyFilters Filters);

class TbsShellChangeThread : public TThread {
  public:
    explicit TbsShellChangeThread(TThreadMethod ChangeEvent);
    ~TbsShellChangeThread() override;

    // GUI thread: the directory to watch from now on; the worker takes it up at once.
    void SetDirectoryOptions(const std::wstring& Directory, bool WatchSubTree, DWORD NotifyOptionFlags);
    // GUI thread.
    void SetChangeEvent(TThreadMethod ChangeEvent) { FChangeEvent = std::move(ChangeEvent); }
    // The directory being watched now ("" while none can be): for tests and the views.
    std::wstring WatchedDirectory() const;

  protected:
    void Execute() override;
    void TerminatedSet() override;

  private:
    // (Re)creates the change handle from the current options; under the lock.
    void RenewWaitHandle();
    void CloseWaitHandle();

    HANDLE FWaitHandle = INVALID_HANDLE_VALUE;  // FindFirstChangeNotification's; closed with its own call
    HANDLE FWakeEvent = nullptr;                // new options or termination
    TThreadMethod FChangeEvent;                 // read and written on the GUI thread only
    std::wstring FDirectory;
    std::wstring FWatched;
    bool FWatchSubTree = true;
    bool FWaitChanged = false;
    DWORD FNotifyOptionFlags = 0;
    mutable std::mutex FLock;
};

class TbsCustomShellChangeNotifier : public TComponent {
  public:
    explicit TbsCustomShellChangeNotifier(TComponent* AOwner);
    ~TbsCustomShellChangeNotifier() override;

    TNotifyFilters NotifyFilters() const { return FFilters; }
    void SetFilters(TNotifyFilters Value);
    const std::wstring& Root() const { return FRoot; }
    void SetRoot(const std::wstring& Value);
    bool WatchSubTree() const { return FWatchSubTree; }
    void SetWatchSubTree(bool Value);
    const TThreadMethod& OnChange() const { return FOnChange; }
    void SetOnChange(TThreadMethod Value);
    // The running watcher, nullptr until OnChange is assigned.
    TbsShellChangeThread* Thread() const { return FThread.get(); }

  protected:
    void Start();
    void Change();

  private:
    TNotifyFilters FFilters{nfFileNameChange, nfDirNameChange};
    bool FWatchSubTree = true;
    std::wstring FRoot = L"C:\\";
    std::unique_ptr<TbsShellChangeThread> FThread;
    TThreadMethod FOnChange;
};

class TbsShellChangeNotifier : public TbsCustomShellChangeNotifier {
  public:
    using TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier;
};
