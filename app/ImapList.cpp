// The IMAP server list download over netlib, and its worker thread.
#include "app/ImapList.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/ImapListCheck.h"
#include "app/WebLinks.h"
#include "base/Report.h"
#include "netlib/http_serverlist.h"

namespace {

// One download on a thread of its own, so that its caller can give up at the deadline: WinHTTP keeps reading a
// response whose bytes come slowly enough (each within its time-out) in one call, past any deadline. Given up, the
// thread ends on its own when the host lets it go, and touches nothing but this.
struct TFetch {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    netlib::NetStatus status;
    std::wstring text;
};

netlib::NetStatus DownloadWithin(const std::wstring& host,
                                 uint16_t port,
                                 const netlib::HttpGetOptions& options,
                                 std::wstring* text) {
    auto fetch = std::make_shared<TFetch>();
    try {
        std::thread([fetch, host, port, options] {
            std::wstring got;
            netlib::NetStatus st;
            try {
                st = netlib::DownloadServerList(host, port, options, &got);
            } catch (...) {
                ReportCaught("FetchImapList");
                st = netlib::NetStatus::Fail(netlib::NetCode::Connection, netlib::NetCause::Http, "failed");
                got.clear();
            }
            std::lock_guard<std::mutex> lock(fetch->mutex);
            fetch->status = std::move(st);
            fetch->text = std::move(got);
            fetch->finished = true;
            fetch->done.notify_all();
        }).detach();
    } catch (...) {
        ReportCaught("FetchImapList");
        return netlib::NetStatus::Fail(netlib::NetCode::Connection, netlib::NetCause::Http, "no thread");
    }
    std::unique_lock<std::mutex> lock(fetch->mutex);
    const uint64_t now = GetTickCount64();
    const uint64_t left = options.deadlineTick > now ? options.deadlineTick - now : 0;
    if (!fetch->done.wait_for(lock, std::chrono::milliseconds(left), [&] { return fetch->finished; }))
        return netlib::NetStatus::Fail(netlib::NetCode::Connection, netlib::NetCause::Timeout,
                                       "server list past its deadline");
    *text = std::move(fetch->text);
    return fetch->status;
}

}  // namespace

bool FetchImapList(const std::wstring& host, uint16_t port, TImapServerList* list) {
    list->clear();
    netlib::HttpGetOptions options;
    options.timeoutMs = kImapListTimeoutMs;
    options.deadlineTick = GetTickCount64() + kImapListDeadlineMs;
    options.maxBody = 256 << 10;  // the list holds a few hundred short lines
    std::wstring text;
    if (netlib::NetStatus st = DownloadWithin(host, port, options, &text); !st) {
        ReportFailure("FetchImapList", st.detail);
        return false;
    }
    bool refused = false;
    std::vector<netlib::ServerListEntry> entries = WellFormedServers(netlib::ParseServerList(text), &refused);
    if (refused) {
        ReportFailure("FetchImapList", "the server list is not well formed");
        return false;
    }
    list->reserve(entries.size());
    for (netlib::ServerListEntry& e : entries) {
        auto entry = std::make_unique<AListImap>();
        entry->Url = std::move(e.domain);
        entry->UrlImap = std::move(e.host);
        entry->PortImap = e.port;
        list->push_back(std::move(entry));
    }
    return true;
}

bool DownloadImapList(TNotifierLists& lists) {
    const TMakerSite& site = MakerSite();
    TImapServerList list;
    if (!FetchImapList(site.host, site.port, &list))
        return false;
    for (auto& entry : list)
        lists.ImapServers.push_back(std::move(entry));
    return true;
}

void EnsureImapList(TNotifierLists& lists) {
    if (lists.ImapServers.empty())
        DownloadImapList(lists);
}

// What the window and the thread share; the thread keeps it alive for as long as it runs.
struct TImapListDownload::TShared {
    std::mutex mutex;
    HWND wnd = nullptr;
    UINT msg = 0;
    bool cancelled = false;
};

TImapListDownload::TImapListDownload() = default;

TImapListDownload::~TImapListDownload() {
    Cancel();
}

bool TImapListDownload::Start(HWND wnd, UINT msg) {
    Cancel();
    auto shared = std::make_shared<TShared>();
    shared->wnd = wnd;
    shared->msg = msg;
    const TMakerSite site = MakerSite();
    try {
        std::thread([shared, site] {
            try {
                auto list = std::make_unique<TImapServerList>();
                if (!FetchImapList(site.host, site.port, list.get()))
                    return;
                std::lock_guard<std::mutex> lock(shared->mutex);
                if (shared->cancelled)
                    return;
                if (PostMessageW(shared->wnd, shared->msg, 0, reinterpret_cast<LPARAM>(list.get())))
                    list.release();  // the window owns it now
                else
                    ReportFailure("TImapListDownload", "the server list could not be handed to the window");
            } catch (...) {
                ReportCaught("TImapListDownload");
            }
        }).detach();
    } catch (...) {
        ReportCaught("TImapListDownload::Start");
        return false;
    }
    shared_ = std::move(shared);
    return true;
}

void TImapListDownload::Cancel() {
    if (!shared_)
        return;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->cancelled = true;
    }
    // A list already posted would never be handled now.
    if (IsWindow(shared_->wnd)) {
        MSG m;
        while (PeekMessageW(&m, shared_->wnd, shared_->msg, shared_->msg, PM_REMOVE))
            Take(m.lParam);
    }
    shared_.reset();
}

std::unique_ptr<TImapServerList> TImapListDownload::Take(LPARAM lParam) {
    return std::unique_ptr<TImapServerList>(reinterpret_cast<TImapServerList*>(lParam));
}
