// ConnectImaps: the transport of an IMAP session over implicit TLS (a TcpConnection wrapped in a verified
// TlsStream), ready for ImapClient.
// Contract: the returned stream owns the connection; the abort may be raised from any thread and ends the
// connect, the handshake and every later read or write of the stream.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "netlib/net_stream.h"
#include "netlib/tls_stream.h"

namespace netlib {

struct ImapConnectOptions {
    NetTimeouts timeouts;
    TlsClientOptions tls;
};

NetStatus ConnectImaps(const std::wstring& host,
                       uint16_t port,
                       const ImapConnectOptions& options,
                       NetAbortPtr abort,
                       std::unique_ptr<TlsStream>* stream);

}  // namespace netlib
