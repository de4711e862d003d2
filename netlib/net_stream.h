// ByteStream: the transport under the IMAP client (a TCP connection, a TLS session over one, or a test double).
// NetAbort: a signal another thread raises to end every wait of a session at once.
// Contract: one thread uses a stream at a time; only NetAbort::Abort may be called from any thread. Buffers passed
// to Read and Write are borrowed for the call only.
#pragma once

#include <cstddef>
#include <memory>

#include "netlib/net_status.h"

namespace netlib {

class ByteStream {
  public:
    virtual ~ByteStream() = default;
    // Sends all of data or fails.
    virtual NetStatus Write(const void* data, size_t size) = 0;
    // Reads between 1 and capacity bytes into buffer. A peer that closed the connection is a failure
    // (NetCause::Closed), so callers never loop on zero-byte reads.
    virtual NetStatus Read(void* buffer, size_t capacity, size_t* received) = 0;
};

// Time limits of one session, in milliseconds. The defaults suit a user's mail check; tests shorten them.
struct NetTimeouts {
    unsigned connectMs = 30000;  // name resolution plus connect, per host
    unsigned ioMs = 30000;       // each wait for the peer to send or accept data
};

// A manual-reset Win32 event behind a shared_ptr, so the GUI thread can keep it after the session ended.
class NetAbort {
  public:
    NetAbort();
    ~NetAbort();
    NetAbort(const NetAbort&) = delete;
    NetAbort& operator=(const NetAbort&) = delete;

    void Abort();
    bool IsAborted() const;
    // The event handle for WaitForMultipleObjects; owned by this object.
    void* Handle() const { return event_; }
    // Sleeps up to ms; false when the abort came first.
    bool Sleep(unsigned ms) const;

  private:
    void* event_;
};

using NetAbortPtr = std::shared_ptr<NetAbort>;

}  // namespace netlib
