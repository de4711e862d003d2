// The form of a server-list line.
#include "app/ImapListCheck.h"

namespace {

bool IsLdh(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-';
}

}  // namespace

bool IsDnsName(const std::wstring& name) {
    if (name.empty() || name.size() > 253)
        return false;
    size_t labels = 0;
    size_t start = 0;
    bool lastAllDigits = false;
    for (;;) {
        const size_t dot = name.find(L'.', start);
        const size_t end = dot == std::wstring::npos ? name.size() : dot;
        const size_t length = end - start;
        if (length == 0 || length > 63 || name[start] == L'-' || name[end - 1] == L'-')
            return false;
        lastAllDigits = true;
        for (size_t i = start; i < end; ++i) {
            if (!IsLdh(name[i]))
                return false;
            lastAllDigits = lastAllDigits && name[i] >= L'0' && name[i] <= L'9';
        }
        ++labels;
        if (dot == std::wstring::npos)
            break;
        start = dot + 1;
    }
    return labels >= 2 && !lastAllDigits;
}

bool IsPortField(const std::wstring& text) {
    if (text.empty())
        return true;
    if (text.size() > 5)
        return false;
    unsigned value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    return value >= 1 && value <= 65535;
}

bool IsWellFormedServer(const netlib::ServerListEntry& entry) {
    return IsDnsName(entry.domain) && IsDnsName(entry.host) && IsPortField(entry.portText);
}

std::vector<netlib::ServerListEntry> WellFormedServers(std::vector<netlib::ServerListEntry> entries, bool* refused) {
    std::vector<netlib::ServerListEntry> good;
    size_t lines = 0;
    for (netlib::ServerListEntry& e : entries) {
        if (e.domain.empty() && e.host.empty() && e.portText.empty())
            continue;  // a blank line
        ++lines;
        if (IsWellFormedServer(e))
            good.push_back(std::move(e));
    }
    *refused = good.empty() || (lines - good.size()) * 2 > lines;
    if (*refused)
        good.clear();
    return good;
}
