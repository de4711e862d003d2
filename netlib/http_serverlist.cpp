// Parsing of the fixed-column server list and its download.
#include "netlib/http_serverlist.h"

#include "netlib/mime_charset.h"
#include "base/Text.h"
#include "netlib/text_util_p.h"

namespace netlib {
namespace {

std::wstring Columns(const std::wstring& line, size_t first, size_t count) {
    if (line.size() < first)
        return {};
    return line.substr(first - 1, count);
}

bool ReadDecimal(const std::wstring& s, int32_t* value) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-'))
        negative = s[i++] == L'-';
    if (i == s.size())
        return false;
    long long n = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < L'0' || s[i] > L'9')
            return false;
        n = n * 10 + (s[i] - L'0');
        if (n > 2147483648LL)
            return false;
    }
    n = negative ? -n : n;
    if (n > 2147483647LL)
        return false;
    *value = static_cast<int32_t>(n);
    return true;
}

}  // namespace

std::vector<ServerListEntry> ParseServerList(const std::wstring& text) {
    std::vector<ServerListEntry> entries;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of(L"\r\n", pos);
        std::wstring line = text.substr(pos, end == std::wstring::npos ? std::wstring::npos : end - pos);
        ServerListEntry e;
        e.domain = TrimText(Columns(line, 1, 29));
        e.host = TrimText(Columns(line, 30, 40));
        e.portText = TrimText(Columns(line, 70, std::wstring::npos));
        int32_t port = 0;
        if (ReadDecimal(e.portText, &port))
            e.port = port;
        entries.push_back(std::move(e));
        if (end == std::wstring::npos)
            break;
        pos = end + 1;
        if (text[end] == L'\r' && pos < text.size() && text[pos] == L'\n')
            ++pos;
    }
    return entries;
}

NetStatus DownloadServerList(const std::wstring& host,
                             uint16_t port,
                             const HttpGetOptions& options,
                             std::wstring* text) {
    text->clear();
    std::string body;
    if (NetStatus st = HttpGet(host, port, kServerListPath, options, &body); !st)
        return st;
    if (NetStatus st = HttpGet(host, port, kServerListPath, options, &body); !st)
        return st;
    *text = DecodeUnlabelled(body);
    // A byte-order mark would otherwise become part of the first domain.
    if (!text->empty() && (*text)[0] == 0xFEFF)
        text->erase(0, 1);
    return NetStatus::Success();
}

}  // namespace netlib
