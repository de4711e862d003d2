// The IMAP server list by mail domain, downloaded from the maker's site while the stored list is empty.
// Index: kImapListTimeoutMs/kImapListDeadlineMs, TImapServerList, FetchImapList, DownloadImapList, EnsureImapList,
// TImapListDownload.
//
// The window never waits for it: TImapListDownload runs the exchange on a thread of its own, under one deadline for
// both requests, and posts the list to the window when it has come. Only well-formed lines are taken.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/DataModel.h"

// Each of resolve, connect, send and receive.
inline constexpr unsigned kImapListTimeoutMs = 3000;
// The whole exchange, both requests together, however slowly the host sends.
inline constexpr unsigned kImapListDeadlineMs = 6000;

using TImapServerList = std::vector<std::unique_ptr<AListImap>>;

// Blocking, any thread: the list from host:port (0 = http's default). False when the download failed, took longer
// than the deadline or the list was refused as junk; *list is then empty.
bool FetchImapList(const std::wstring& host, uint16_t port, TImapServerList* list);

// Blocking: appends the list from the maker's site. A failed download leaves the list as it was; false tells a test.
bool DownloadImapList(TNotifierLists& lists);
// Downloads only when the list is empty.
void EnsureImapList(TNotifierLists& lists);

// One download in the background. Start and Cancel on the thread that owns the window.
class TImapListDownload {
  public:
    TImapListDownload();
    ~TImapListDownload();
    TImapListDownload(const TImapListDownload&) = delete;
    TImapListDownload& operator=(const TImapListDownload&) = delete;

    // Starts the download from the maker's site; when a list has come, it is posted to wnd as msg with the list in
    // lParam (see Take). A failed download posts nothing. False when no thread could be started.
    bool Start(HWND wnd, UINT msg);
    // From now on nothing is posted, and a list posted but not yet handled is freed. The thread, if it still runs,
    // ends on its own (its deadline) and touches nothing of the caller's.
    void Cancel();
    // The list a message of Start carried; the caller owns it.
    static std::unique_ptr<TImapServerList> Take(LPARAM lParam);

  private:
    struct TShared;
    std::shared_ptr<TShared> shared_;
};
