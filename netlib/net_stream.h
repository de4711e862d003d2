// ByteStream: the transport under the IMAP client (a TCP connection, a TLS session over one, or a test double), and
// the time limits of a session. Every stream's waits also end on the session's NetAbort (net_abort.h).
// Contract: one thread uses a stream at a time. Buffers passed to Read and Write are borrowed for the call only.
#pragma once

#include <cstddef>

#include "netlib/net_abort.h"
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

}  // namespace netlib
