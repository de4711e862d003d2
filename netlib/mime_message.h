// MIME messages: the header summary a mail check shows (date, sender, subject) and the plain text of a message
// (nested multiparts, base64 and quoted-printable, charsets).
// Contract: pure functions over the raw bytes of a message or of its header; any thread; truncated or malformed
// input gives what can be read, never a failure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "netlib/mime_header.h"

namespace netlib {

struct MimeSummary {
    bool hasDate = false;
    double date = 0;  // local day-count date (0 when hasDate is false)
    MimeAddress from;
    std::wstring subject;  // decoded, not trimmed
};

// Reads Date, From and Subject from a header block (a whole message works too). Each field is read from its first
// maxFieldBytes only, so that a huge field (thousands of addresses in From) costs no more than a normal one and
// hides no other.
inline constexpr size_t kMaxSummaryFieldBytes = 16 * 1024;
MimeSummary SummarizeMimeHeaders(const std::string& raw, size_t maxFieldBytes = kMaxSummaryFieldBytes);

// One node of a parsed message.
struct MimePart {
    MimeContentType contentType;   // type empty = the default (text/plain; in multipart/digest message/rfc822)
    std::string transferEncoding;  // lower case
    std::string disposition;       // lower case disposition type, e.g. "attachment"
    std::string filename;          // from Content-Disposition filename or Content-Type name
    std::string body;              // raw body (still transfer-encoded); empty for multiparts
    std::vector<MimePart> children;
    // Only in a tree read from an IMAP BODYSTRUCTURE (imap_bodystructure.h), where body stays empty:
    std::string section;  // the IMAP part number: "1", "2.1"
    uint32_t size = 0;    // the body's size in octets, transfer-encoded
    bool IsMultipart() const { return contentType.type.compare(0, 10, "multipart/") == 0; }
    // A leaf the reader sees as text: text/* or untyped, not an attachment, without a file name.
    bool IsTextLeaf() const;
};

MimePart ParseMimeMessage(const std::string& raw);

std::string DecodeTransfer(const std::string& body, const std::string& encoding);
std::string DecodeQuotedPrintable(const std::string& body);
std::string DecodeBase64(const std::string& body);

// The leaves that make up the letter text, in part order: every text leaf, except that of a
// multipart/alternative only one counts: its plain text part when it has one, else its HTML part, else the first
// alternative that holds text. A letter without text leaves gets its first inline text part that has a file name.
std::vector<const MimePart*> SelectTextParts(const MimePart& message);

// One text leaf decoded: its transfer encoding undone, then its charset.
std::wstring DecodeTextPart(const MimePart& part, const std::string& body);

// The letter text: the decoded SelectTextParts in order, each followed by a line break; a single-part text
// message gives its own body; a message without any text part gives an empty text.
std::wstring ExtractMessageText(const MimePart& message);

}  // namespace netlib
