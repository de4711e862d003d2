// The IMAP server list the notifier downloads from its maker's web server: fixed-column lines of mail domain,
// IMAP host and port.
// Contract: pure parse plus one blocking download function; any thread; results are owned by the caller.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "netlib/http_client.h"

namespace netlib {

struct ServerListEntry {
    std::wstring domain;    // columns 1 to 29, trimmed
    std::wstring host;      // columns 30 to 69, trimmed
    int32_t port = 993;     // column 70 to the end, trimmed, decimal; 993 when it does not read as a number
    std::wstring portText;  // column 70 to the end, trimmed, as it stands (for a caller that checks its form)
};

inline constexpr const wchar_t* kServerListPath = L"/download/trelmmailimap.txt";

// One entry per line, also for empty lines; a line break at the very end does not start another line.
std::vector<ServerListEntry> ParseServerList(const std::wstring& text);

// Sends the GET twice and keeps the second body, as the notifier always has (a failure of the first skips the
// second). The body is read as UTF-8 when valid, else in the ANSI code page. On failure the text stays empty.
NetStatus DownloadServerList(const std::wstring& host,
                             uint16_t port,
                             const HttpGetOptions& options,
                             std::wstring* text);

}  // namespace netlib
