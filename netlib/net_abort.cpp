// The abort signal of a session: a manual-reset event that every wait of the network layer also waits on.
#include <windows.h>

#include "netlib/net_stream.h"

namespace netlib {

NetAbort::NetAbort() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

NetAbort::~NetAbort() {
    if (event_)
        CloseHandle(event_);
}

void NetAbort::Abort() {
    if (event_)
        SetEvent(event_);
}

bool NetAbort::IsAborted() const {
    return event_ && WaitForSingleObject(event_, 0) == WAIT_OBJECT_0;
}

bool NetAbort::Sleep(unsigned ms) const {
    if (!event_) {
        ::Sleep(ms);
        return true;
    }
    return WaitForSingleObject(event_, ms) != WAIT_OBJECT_0;
}

}  // namespace netlib
