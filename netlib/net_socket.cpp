// Winsock connections. Sockets run non-blocking under WSAEventSelect, so every wait is one
// WaitForMultipleObjects over the socket's event and the session's abort event with the time left.
#include <winsock2.h>

#include <windows.h>
#include <ws2tcpip.h>

#include <mutex>
#include <thread>

#include "base/Report.h"
#include "netlib/net_socket.h"

namespace netlib {
namespace {

constexpr long kEvents = FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE;

std::string WsaText(const char* what, int error) {
    return std::string(what) + " failed (Winsock error " + std::to_string(error) + ")";
}

// State shared by the waiting session and the resolver thread; whoever finishes last frees it.
struct ResolveJob {
    std::wstring host;
    std::wstring port;
    TKernelHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    int rc = -1;
    ADDRINFOW* result = nullptr;
    ~ResolveJob() {
        if (result)
            FreeAddrInfoW(result);
    }
};

// Returns the event handle of an abort, or nullptr for none.
HANDLE AbortHandle(const NetAbortPtr& abort) {
    return abort ? abort->Handle() : nullptr;
}

// Waits for one event, the abort and the time-out. 0 = event, 1 = aborted, 2 = timed out, 3 = wait failed.
int WaitEventOrAbort(HANDLE event, const NetAbortPtr& abort, DWORD ms) {
    HANDLE handles[2] = {event, AbortHandle(abort)};
    DWORD count = handles[1] ? 2 : 1;
    DWORD r = WaitForMultipleObjects(count, handles, FALSE, ms);
    if (r == WAIT_OBJECT_0)
        return 0;
    if (r == WAIT_OBJECT_0 + 1)
        return 1;
    if (r == WAIT_TIMEOUT)
        return 2;
    return 3;
}

NetStatus Cancelled() {
    return NetStatus::Fail(NetCode::Cancelled, NetCause::None, "aborted");
}

}  // namespace

NetStatus EnsureWinsock() {
    static std::once_flag once;
    static int rc = 0;
    std::call_once(once, [] {
        WSADATA data;
        rc = WSAStartup(MAKEWORD(2, 2), &data);
    });
    if (rc != 0)
        return NetStatus::Fail(NetCode::Connection, NetCause::Socket, WsaText("WSAStartup", rc));
    return NetStatus::Success();
}

void TSocketTraits::Close(Handle h) {
    closesocket(static_cast<SOCKET>(h));
}

void TWsaEventTraits::Close(Handle h) {
    WSACloseEvent(h);
}

TcpConnection::TcpConnection(TSocketHandle socket,
                             TWsaEventHandle event,
                             const NetTimeouts& timeouts,
                             NetAbortPtr abort)
    : event_(std::move(event)), socket_(std::move(socket)), timeouts_(timeouts), abort_(std::move(abort)) {}

TcpConnection::~TcpConnection() = default;

std::unique_ptr<TcpConnection> TcpConnection::Adopt(uintptr_t socket, const NetTimeouts& timeouts, NetAbortPtr abort) {
    TWsaEventHandle event(WSACreateEvent());
    WSAEventSelect(static_cast<SOCKET>(socket), event.Get(), kEvents);
    return std::unique_ptr<TcpConnection>(
        new TcpConnection(TSocketHandle(socket), std::move(event), timeouts, std::move(abort)));
}

NetStatus TcpConnection::Connect(const std::wstring& host,
                                 uint16_t port,
                                 const NetTimeouts& timeouts,
                                 NetAbortPtr abort,
                                 std::unique_ptr<TcpConnection>* connection) {
    connection->reset();
    if (NetStatus st = EnsureWinsock(); !st)
        return st;
    if (abort && abort->IsAborted())
        return Cancelled();
    const ULONGLONG deadline = GetTickCount64() + timeouts.connectMs;
    auto left = [deadline]() -> DWORD {
        ULONGLONG now = GetTickCount64();
        return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    };

    auto job = std::make_shared<ResolveJob>();
    job->host = host;
    job->port = std::to_wstring(port);
    if (!job->done)
        return NetStatus::Fail(NetCode::Connection, NetCause::Socket, "CreateEvent failed");
    try {
        std::thread([job] {
            ADDRINFOW hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            hints.ai_protocol = IPPROTO_TCP;
            job->rc = GetAddrInfoW(job->host.c_str(), job->port.c_str(), &hints, &job->result);
            SetEvent(job->done.Get());
        }).detach();
    } catch (...) {
        ReportCaught("Resolve: resolver thread");
        return NetStatus::Fail(NetCode::Connection, NetCause::Resolve, "cannot start the resolver thread");
    }
    switch (WaitEventOrAbort(job->done.Get(), abort, left())) {
        case 0:
            break;
        case 1:
            return Cancelled();
        case 2:
            return NetStatus::Fail(NetCode::Connection, NetCause::Timeout, "name resolution timed out");
        default:
            return NetStatus::Fail(NetCode::Connection, NetCause::Resolve, "wait failed");
    }
    if (job->rc != 0 || !job->result)
        return NetStatus::Fail(NetCode::Connection, NetCause::Resolve, WsaText("GetAddrInfoW", job->rc));

    NetStatus last = NetStatus::Fail(NetCode::Connection, NetCause::Connect, "no address to connect to");
    for (ADDRINFOW* ai = job->result; ai; ai = ai->ai_next) {
        SOCKET s = socket(ai->ai_family, ai->ai_socktype, ai->ai_protocol);
        if (s == INVALID_SOCKET) {
            last = NetStatus::Fail(NetCode::Connection, NetCause::Socket, WsaText("socket", WSAGetLastError()));
            continue;
        }
        WSAEVENT event = WSACreateEvent();
        // Owning both at once closes them on every path out of this iteration.
        std::unique_ptr<TcpConnection> conn(
            new TcpConnection(TSocketHandle(s), TWsaEventHandle(event), timeouts, abort));
        if (event == WSA_INVALID_EVENT || WSAEventSelect(s, event, kEvents) != 0) {
            last = NetStatus::Fail(NetCode::Connection, NetCause::Socket, WsaText("WSAEventSelect", WSAGetLastError()));
            continue;
        }
        BOOL noDelay = TRUE;
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
        if (connect(s, ai->ai_addr, static_cast<int>(ai->ai_addrlen)) == 0) {
            *connection = std::move(conn);
            return NetStatus::Success();
        }
        int err = WSAGetLastError();
        if (err != WSAEWOULDBLOCK) {
            last = NetStatus::Fail(NetCode::Connection, NetCause::Connect, WsaText("connect", err));
            continue;
        }
        for (;;) {
            int w = WaitEventOrAbort(event, abort, left());
            if (w == 1)
                return Cancelled();
            if (w == 2)
                return NetStatus::Fail(NetCode::Connection, NetCause::Timeout, "connect timed out");
            if (w == 3)
                return NetStatus::Fail(NetCode::Connection, NetCause::Socket, "wait failed");
            WSANETWORKEVENTS ne{};
            if (WSAEnumNetworkEvents(s, event, &ne) != 0) {
                last = NetStatus::Fail(NetCode::Connection, NetCause::Socket,
                                       WsaText("WSAEnumNetworkEvents", WSAGetLastError()));
                break;
            }
            if (ne.lNetworkEvents & FD_CONNECT) {
                int e = ne.iErrorCode[FD_CONNECT_BIT];
                if (e == 0) {
                    *connection = std::move(conn);
                    return NetStatus::Success();
                }
                last = NetStatus::Fail(NetCode::Connection, NetCause::Connect, WsaText("connect", e));
                break;
            }
        }
    }
    return last;
}

NetStatus TcpConnection::Wait(unsigned ms, const char* what) {
    switch (WaitEventOrAbort(event_.Get(), abort_, ms)) {
        case 0: {
            WSANETWORKEVENTS ne{};
            WSAEnumNetworkEvents(static_cast<SOCKET>(socket_.Get()), event_.Get(), &ne);
            return NetStatus::Success();
        }
        case 1:
            return Cancelled();
        case 2:
            return NetStatus::Fail(NetCode::Connection, NetCause::Timeout, std::string(what) + " timed out");
        default:
            return NetStatus::Fail(NetCode::Connection, NetCause::Socket, "wait failed");
    }
}

NetStatus TcpConnection::Write(const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        if (abort_ && abort_->IsAborted())
            return Cancelled();
        int chunk = static_cast<int>(size > 65536 ? 65536 : size);
        int n = send(static_cast<SOCKET>(socket_.Get()), p, chunk, 0);
        if (n > 0) {
            p += n;
            size -= static_cast<size_t>(n);
            continue;
        }
        int err = WSAGetLastError();
        if (err != WSAEWOULDBLOCK)
            return NetStatus::Fail(NetCode::Connection, err == WSAECONNRESET ? NetCause::Closed : NetCause::Socket,
                                   WsaText("send", err));
        if (NetStatus st = Wait(timeouts_.ioMs, "send"); !st)
            return st;
    }
    return NetStatus::Success();
}

NetStatus TcpConnection::Read(void* buffer, size_t capacity, size_t* received) {
    *received = 0;
    int cap = static_cast<int>(capacity > 65536 ? 65536 : capacity);
    for (;;) {
        if (abort_ && abort_->IsAborted())
            return Cancelled();
        int n = recv(static_cast<SOCKET>(socket_.Get()), static_cast<char*>(buffer), cap, 0);
        if (n > 0) {
            *received = static_cast<size_t>(n);
            return NetStatus::Success();
        }
        if (n == 0)
            return NetStatus::Fail(NetCode::Connection, NetCause::Closed, "connection closed by the peer");
        int err = WSAGetLastError();
        if (err != WSAEWOULDBLOCK)
            return NetStatus::Fail(NetCode::Connection,
                                   err == WSAECONNRESET || err == WSAECONNABORTED ? NetCause::Closed : NetCause::Socket,
                                   WsaText("recv", err));
        if (NetStatus st = Wait(timeouts_.ioMs, "read"); !st)
            return st;
    }
}

void TcpConnection::ShutdownSend() {
    shutdown(static_cast<SOCKET>(socket_.Get()), SD_SEND);
}

}  // namespace netlib
