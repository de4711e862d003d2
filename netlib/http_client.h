// HttpGet: one HTTP GET over WinHTTP with resolve, connect, send and receive time-outs, no redirects and a cap on
// the body, for the small text files the notifier downloads.
// Contract: blocking, callable from any thread; the body is owned by the caller.
#pragma once

#include <cstdint>
#include <string>

#include "netlib/net_status.h"

namespace netlib {

struct HttpGetOptions {
    unsigned timeoutMs = 5000;  // each of resolve, connect, send and receive
    size_t maxBody = 1 << 20;   // a longer body fails with NetCause::TooLarge
    bool secure = false;        // https
    // GetTickCount64 value by which the whole exchange must be over, however slowly the server answers; every
    // time-out is shortened to what is left of it. 0: none (the per-step time-outs alone).
    uint64_t deadlineTick = 0;
};

// The request headers the notifier sends.
inline constexpr const wchar_t* kHttpUserAgent = L"Mozilla/3.0 (compatible; Indy Library)";
inline constexpr const wchar_t* kHttpAccept = L"text/html, */*";
inline constexpr const wchar_t* kHttpContentType = L"Content-Type: text/html";

// GET path from host:port (0 = the scheme's default). Any status but 200 fails with NetCause::Http and the
// status in the detail.
NetStatus HttpGet(const std::wstring& host,
                  uint16_t port,
                  const std::wstring& path,
                  const HttpGetOptions& options,
                  std::string* body);

}  // namespace netlib
