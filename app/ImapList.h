// The IMAP server list by mail domain, downloaded from the maker's site while the stored list is empty.
// Blocking: runs on the GUI thread at the first paint, so its time-outs are short.
#pragma once

#include "app/DataModel.h"

// Each of resolve, connect, send and receive; the start never waits much longer than a few of these.
inline constexpr unsigned kImapListTimeoutMs = 3000;

// Appends one entry per line of the downloaded list (an empty line gives an empty entry with port 993).
// A failed download leaves the list as it was; false tells a test.
bool DownloadImapList(TNotifierLists& lists);
// Downloads only when the list is empty, as every start does.
void EnsureImapList(TNotifierLists& lists);
