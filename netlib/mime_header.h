// Message headers: field splitting with unfolding, RFC 2047 encoded words, structured values (Content-Type
// parameters) and the From address.
// Contract: pure functions over byte strings; any thread; results are owned by the caller.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace netlib {

// Header fields in order; names as written, values unfolded (CRLF before a blank removed) and not decoded.
struct MimeHeaders {
    std::vector<std::pair<std::string, std::string>> fields;
    // The first field of that name (case-insensitive), or nullptr.
    const std::string* Find(const char* name) const;
};

// Parses the header block (up to the first empty line, or all of text when there is none). *bodyStart gets the
// offset of the body, or text.size().
MimeHeaders ParseMimeHeaders(const std::string& text, size_t* bodyStart);

// Decodes RFC 2047 encoded words (B and Q) in an unstructured header value; blanks between adjacent encoded words
// are dropped, and adjacent words in one charset are decoded together so characters split between them survive.
// Text outside encoded words is read as UTF-8 when valid, else in the ANSI code page.
std::wstring DecodeHeaderText(const std::string& value);

// "type/subtype; name=value; name="quoted"": the lower-cased type and the parameters (names lower-cased).
// Comments outside quoted strings are dropped; RFC 2231 parameters (name*=charset'lang'%xx, name*0=, name*1*=...)
// are joined and decoded under their plain name, and win over a plain parameter of the same name.
struct MimeContentType {
    std::string type;  // lower case, e.g. "text/plain"; empty when the field is missing or empty
    std::vector<std::pair<std::string, std::string>> params;
    std::string Param(const char* name) const;
};
MimeContentType ParseContentType(const std::string& value);

// The RFC 2231 step of ParseContentType on its own, for parameter lists that come already split (IMAP
// BODYSTRUCTURE): pieces joined in order, percent-decoding undone, a stated charset decoded to UTF-8.
std::vector<std::pair<std::string, std::string>> CombineMimeParameters(
    const std::vector<std::pair<std::string, std::string>>& raw);

// The first mailbox of an address list such as a From field; of a group ("Team: ann@x, bob@y;") its first member.
struct MimeAddress {
    std::wstring name;     // display name (or the comment of "addr (Name)"), decoded and trimmed; may be empty
    std::wstring address;  // addr-spec, trimmed
};
MimeAddress ParseMimeAddress(const std::string& value);

}  // namespace netlib
