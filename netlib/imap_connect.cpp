// Implicit TLS: the TLS handshake starts right after the TCP connect, before the server's greeting.
#include "netlib/imap_connect.h"

#include "netlib/net_socket.h"

namespace netlib {

NetStatus ConnectImaps(const std::wstring& host,
                       uint16_t port,
                       const ImapConnectOptions& options,
                       NetAbortPtr abort,
                       std::unique_ptr<TlsStream>* stream) {
    stream->reset();
    std::unique_ptr<TcpConnection> tcp;
    if (NetStatus st = TcpConnection::Connect(host, port, options.timeouts, abort, &tcp); !st)
        return st;
    NetStatus st = TlsStream::Connect(std::move(tcp), host, options.tls, stream);
    if (!st && abort && abort->IsAborted())
        return NetStatus::Fail(NetCode::Cancelled, NetCause::None, "aborted");
    return st;
}

}  // namespace netlib
