// The IMAP server list download over netlib.
#include "app/ImapList.h"

#include "app/WebLinks.h"
#include "netlib/http_serverlist.h"

bool DownloadImapList(TNotifierLists& lists) {
    netlib::HttpGetOptions options;
    options.timeoutMs = kImapListTimeoutMs;
    options.maxBody = 256 << 10;  // the list holds a few hundred short lines
    const TMakerSite& site = MakerSite();
    std::wstring text;
    if (!netlib::DownloadServerList(site.host, site.port, options, &text))
        return false;
    for (netlib::ServerListEntry& e : netlib::ParseServerList(text)) {
        auto entry = std::make_unique<AListImap>();
        entry->Url = std::move(e.domain);
        entry->UrlImap = std::move(e.host);
        entry->PortImap = e.port;
        lists.ImapServers.push_back(std::move(entry));
    }
    return true;
}

void EnsureImapList(TNotifierLists& lists) {
    if (lists.ImapServers.empty())
        DownloadImapList(lists);
}
