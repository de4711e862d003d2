// WinHTTP GET. WinHTTP rather than our own sockets because it brings proxy settings and HTTP framing (chunked
// bodies, keep-alive) for free; its time-outs keep a start without network from hanging the window.
#include <windows.h>

#include <winhttp.h>

#include <algorithm>
#include <memory>

#include "netlib/http_client.h"

namespace netlib {
namespace {

struct InternetClose {
    void operator()(void* h) const { WinHttpCloseHandle(h); }
};
using HInternet = std::unique_ptr<void, InternetClose>;

NetStatus Failure(const char* what) {
    DWORD err = GetLastError();
    NetCause cause = NetCause::Http;
    // Wine's WinHTTP passes socket errors through (WSAETIMEDOUT, WSAECONNREFUSED) where Windows maps them.
    if (err == ERROR_WINHTTP_TIMEOUT || err == 10060)
        cause = NetCause::Timeout;
    else if (err == 10061)
        cause = NetCause::Connect;
    else if (err == ERROR_WINHTTP_NAME_NOT_RESOLVED)
        cause = NetCause::Resolve;
    else if (err == ERROR_WINHTTP_CANNOT_CONNECT)
        cause = NetCause::Connect;
    return NetStatus::Fail(NetCode::Connection, cause, std::string(what) + " failed (" + std::to_string(err) + ")");
}

NetStatus PastDeadline() {
    return NetStatus::Fail(NetCode::Connection, NetCause::Timeout, "HTTP exchange past its deadline");
}

// The per-step time-out, shortened to what is left before the deadline (at least 1 ms; 0 means "wait for ever"
// to WinHTTP). False when the deadline has passed.
bool StepTimeout(const HttpGetOptions& options, int* ms) {
    *ms = static_cast<int>(options.timeoutMs);
    if (options.deadlineTick == 0)
        return true;
    const uint64_t now = GetTickCount64();
    if (now >= options.deadlineTick)
        return false;
    *ms = static_cast<int>(std::min<uint64_t>(options.timeoutMs, options.deadlineTick - now));
    return true;
}

// Sets the request's time-outs for its next step; a failure when the deadline has passed or WinHTTP refuses them.
NetStatus NextStep(HINTERNET request, const HttpGetOptions& options) {
    int t = 0;
    if (!StepTimeout(options, &t))
        return PastDeadline();
    if (!WinHttpSetTimeouts(request, t, t, t, t))
        return Failure("WinHttpSetTimeouts");
    DWORD responseMs = static_cast<DWORD>(t);
    WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseMs, sizeof responseMs);
    return NetStatus::Success();
}

}  // namespace

NetStatus HttpGet(const std::wstring& host,
                  uint16_t port,
                  const std::wstring& path,
                  const HttpGetOptions& options,
                  std::string* body) {
    body->clear();
    HInternet session(WinHttpOpen(kHttpUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session)
        return Failure("WinHttpOpen");
    int t = 0;
    if (!StepTimeout(options, &t))
        return PastDeadline();
    if (!WinHttpSetTimeouts(session.get(), t, t, t, t))
        return Failure("WinHttpSetTimeouts");
    INTERNET_PORT p = port ? port : (options.secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT);
    HInternet connection(WinHttpConnect(session.get(), host.c_str(), p, 0));
    if (!connection)
        return Failure("WinHttpConnect");
    LPCWSTR accept[] = {kHttpAccept, nullptr};
    HInternet request(WinHttpOpenRequest(connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER, accept,
                                         options.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request)
        return Failure("WinHttpOpenRequest");
    // Set on the request as well: not every WinHTTP passes the session's time-outs on to its requests. They are set
    // again before every step, each time to what is left before the deadline.
    if (NetStatus st = NextStep(request.get(), options); !st)
        return st;
    DWORD noRedirects = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &noRedirects, sizeof noRedirects);
    if (!WinHttpSendRequest(request.get(), kHttpContentType, static_cast<DWORD>(-1L), WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
        return Failure("WinHttpSendRequest");
    if (NetStatus st = NextStep(request.get(), options); !st)
        return st;
    if (!WinHttpReceiveResponse(request.get(), nullptr))
        return Failure("WinHttpReceiveResponse");
    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return Failure("WinHttpQueryHeaders");
    if (status != 200)
        return NetStatus::Fail(NetCode::Connection, NetCause::Http, "HTTP status " + std::to_string(status));
    for (;;) {
        char buf[8192];
        DWORD got = 0;
        // A server that sends a byte now and then would otherwise keep every single read within its time-out.
        if (NetStatus st = NextStep(request.get(), options); !st) {
            body->clear();
            return st;
        }
        if (!WinHttpReadData(request.get(), buf, sizeof buf, &got))
            return Failure("WinHttpReadData");
        if (got == 0)
            break;
        if (body->size() + got > options.maxBody) {
            body->clear();
            return NetStatus::Fail(NetCode::Connection, NetCause::TooLarge, "HTTP body too large");
        }
        body->append(buf, got);
    }
    return NetStatus::Success();
}

}  // namespace netlib
