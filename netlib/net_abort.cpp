// The abort signal of a session.
#include "netlib/net_abort.h"

namespace netlib {

NetAbort::NetAbort() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

void NetAbort::Abort() {
    if (event_)
        SetEvent(event_.Get());
}

bool NetAbort::IsAborted() const {
    return event_ && WaitForSingleObject(event_.Get(), 0) == WAIT_OBJECT_0;
}

bool NetAbort::Sleep(unsigned ms) const {
    if (!event_) {
        ::Sleep(ms);
        return true;
    }
    return WaitForSingleObject(event_.Get(), ms) != WAIT_OBJECT_0;
}

}  // namespace netlib
