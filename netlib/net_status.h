// The one result type of the network layer: a code graded by how far a session got, a finer cause and a short
// English detail for logs and tests.
// Contract: a plain value; any thread; the detail string is owned by the value.
#pragma once

#include <string>

namespace netlib {

// Ordered by reach: the later a failure happens in a session, the lower its code. Callers compare codes, never
// details.
enum class NetCode {
    Ok,
    Refused,     // the server answered NO or BAD to a command
    Mailbox,     // the mailbox could not be selected
    Auth,        // the server rejected the login
    Connection,  // name resolution, connect, TLS, time-out, a dropped or misbehaving peer
    Cancelled,   // the caller aborted the session
};

enum class NetCause {
    None,
    Resolve,      // the host name did not resolve
    Connect,      // no address accepted the connection
    Timeout,      // connect, read or write took longer than allowed
    Closed,       // the peer closed the connection
    Socket,       // any other socket failure
    Library,      // the OpenSSL libraries could not be loaded
    Tls,          // a TLS failure other than certificate verification
    Certificate,  // the server's certificate chain or host name did not verify
    Protocol,     // the peer broke the protocol (garbage, unexpected answers)
    TooLarge,     // a line or literal beyond the layer's caps
    Server,       // the server said NO, BAD or BYE
    Http,         // an HTTP failure or an HTTP status other than 200
};

struct NetStatus {
    NetCode code = NetCode::Ok;
    NetCause cause = NetCause::None;
    std::string detail;

    bool ok() const { return code == NetCode::Ok; }
    explicit operator bool() const { return ok(); }

    static NetStatus Success() { return {}; }
    static NetStatus Fail(NetCode code, NetCause cause, std::string detail) {
        return NetStatus{code, cause, std::move(detail)};
    }
};

const char* NetCodeName(NetCode code);
const char* NetCauseName(NetCause cause);

}  // namespace netlib
