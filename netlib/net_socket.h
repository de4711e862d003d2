// TcpConnection: a Winsock TCP connection with connect and I/O time-outs and an abort that ends any wait at once.
// Contract: the object owns its socket and closes it when destroyed; one thread uses it at a time, and another
// thread stops it only through the shared NetAbort. Name resolution runs on a short-lived helper thread so that an
// abort or the connect time-out also ends a resolution that hangs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/Handles.h"
#include "netlib/net_stream.h"

namespace netlib {

// Owners of a socket (closesocket) and of the Winsock event bound to it (WSACloseEvent). A socket is a kernel
// object and counts as one.
struct TSocketTraits {
    using Handle = uintptr_t;                          // SOCKET
    static Handle Invalid() { return ~uintptr_t(0); }  // INVALID_SOCKET
    static void Close(Handle h);
    static constexpr THandleKind kKind = THandleKind::Kernel;
};
struct TWsaEventTraits {
    using Handle = HANDLE;                       // WSAEVENT
    static Handle Invalid() { return nullptr; }  // WSA_INVALID_EVENT
    static void Close(Handle h);
    static constexpr THandleKind kKind = THandleKind::Kernel;
};
using TSocketHandle = TUniqueHandle<TSocketTraits>;
using TWsaEventHandle = TUniqueHandle<TWsaEventTraits>;

// Starts Winsock once per process; later calls return the first result.
NetStatus EnsureWinsock();

class TcpConnection : public ByteStream {
  public:
    // Resolves host (a name or an address literal) and connects to the first address that accepts.
    static NetStatus Connect(const std::wstring& host,
                             uint16_t port,
                             const NetTimeouts& timeouts,
                             NetAbortPtr abort,
                             std::unique_ptr<TcpConnection>* connection);
    // Takes over an already connected socket (a SOCKET value), e.g. one returned by accept().
    static std::unique_ptr<TcpConnection> Adopt(uintptr_t socket, const NetTimeouts& timeouts, NetAbortPtr abort);

    ~TcpConnection() override;
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    NetStatus Write(const void* data, size_t size) override;
    NetStatus Read(void* buffer, size_t capacity, size_t* received) override;

    // Sends FIN after the last write, so the peer sees the end of our data.
    void ShutdownSend();

  private:
    TcpConnection(TSocketHandle socket, TWsaEventHandle event, const NetTimeouts& timeouts, NetAbortPtr abort);
    // Waits for a network event or the abort; Ok when the socket has something to report.
    NetStatus Wait(unsigned ms, const char* what);

    TWsaEventHandle event_;  // bound to socket_ by WSAEventSelect
    TSocketHandle socket_;   // closed first
    NetTimeouts timeouts_;
    NetAbortPtr abort_;
};

}  // namespace netlib
