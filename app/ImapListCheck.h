// Which lines of a downloaded IMAP server list are taken: only well-formed ones (a mail domain, a host name, a port
// 1 to 65535), and none at all when most lines are junk, so that random bytes from the host never become servers.
// Pure; any thread.
#pragma once

#include <string>
#include <vector>

#include "netlib/http_serverlist.h"

// A DNS name of at least two labels: each 1 to 63 letters, digits or hyphens, not beginning or ending with a hyphen;
// 253 characters at most; the last label not all digits (an address is not a name).
bool IsDnsName(const std::wstring& name);

// A port field: empty (the list's default, 993) or decimal digits of a value 1 to 65535.
bool IsPortField(const std::wstring& text);

// A line whose domain, host and port are all in their forms.
bool IsWellFormedServer(const netlib::ServerListEntry& entry);

// The well-formed entries of a parsed list. Blank lines do not count; when more than half of the other lines are
// not well formed, or none is, the whole list is refused: *refused is set and nothing is returned.
std::vector<netlib::ServerListEntry> WellFormedServers(std::vector<netlib::ServerListEntry> entries, bool* refused);
