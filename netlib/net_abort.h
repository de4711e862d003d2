// NetAbort: a signal another thread raises to end every wait of a session at once.
// Contract: Abort may be called from any thread; the object is shared (NetAbortPtr), so the GUI thread can keep it
// after the session that waited on it has ended.
#pragma once

#include <memory>

#include "base/Handles.h"

namespace netlib {

// A manual-reset Win32 event that every wait of the network layer also waits on.
class NetAbort {
  public:
    NetAbort();
    NetAbort(const NetAbort&) = delete;
    NetAbort& operator=(const NetAbort&) = delete;

    void Abort();
    bool IsAborted() const;
    // The event handle for WaitForMultipleObjects; owned by this object.
    HANDLE Handle() const { return event_.Get(); }
    // Sleeps up to ms; false when the abort came first.
    bool Sleep(unsigned ms) const;

  private:
    TKernelHandle event_;
};

using NetAbortPtr = std::shared_ptr<NetAbort>;

}  // namespace netlib
