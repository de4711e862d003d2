// The FETCH data items a mail check reads besides the letters' own bytes: the structure the server parsed
// (BODYSTRUCTURE, RFC 3501 7.4.2), so that exactly the text parts can be fetched, and the arrival time
// (INTERNALDATE), which stands in for a missing or unreadable Date.
// Contract: pure functions over parsed responses; any thread; malformed items give false, never a crash.
#pragma once

#include <cstdint>
#include <string>

#include "netlib/imap_parse.h"
#include "netlib/mime_message.h"

namespace netlib {

// A BODYSTRUCTURE as a MimePart tree without bodies: types, parameters (RFC 2231 decoded), transfer encodings,
// dispositions and file names, each part's IMAP section number and encoded size. Parts inside an attached
// message are not read (the letter text never comes from them). False when the value is not a body structure or
// nests deeper than maxDepth.
bool ParseBodyStructure(const ImapValue& value, MimePart* message, int maxDepth = 32);

// "17-Jul-1996 02:44:25 -0700" as seconds since 1970-01-01 00:00 UTC.
bool ParseInternalDate(const std::string& text, int64_t* utcSeconds);

}  // namespace netlib
