// MIME structure (RFC 2045, 2046): headers of each entity, multipart bodies split at their boundary lines
// (nested, with a depth cap against hostile nesting), transfer decodings and text extraction.
#include "netlib/mime_message.h"

#include <cctype>
#include <cstring>
#include <optional>

#include "netlib/mime_charset.h"
#include "netlib/mime_date.h"
#include "netlib/text_util_p.h"

namespace netlib {
namespace {

constexpr int kMaxDepth = 16;

using text::HexValue;
using text::Lower;

// Content-Transfer-Encoding values are trimmed of every C-locale space (vertical tab and form feed too).
std::string TrimSpace(const std::string& s) {
    return text::TrimIf(s, [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

// Is text[pos..] a boundary line "--boundary" (optionally "--boundary--")? Sets *close for the closing one and
// *next to the start of the following line.
bool IsBoundaryLine(const std::string& text, size_t pos, const std::string& delimiter, bool* close, size_t* next) {
    if (text.compare(pos, delimiter.size(), delimiter) != 0)
        return false;
    size_t p = pos + delimiter.size();
    *close = text.compare(p, 2, "--") == 0;
    if (*close)
        p += 2;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t'))
        ++p;
    if (p < text.size() && text[p] == '\r')
        ++p;
    if (p < text.size() && text[p] != '\n')
        return false;
    *next = p < text.size() ? p + 1 : p;
    return true;
}

// RFC 2045 "type/subtype": two tokens around one slash.
bool IsMediaType(const std::string& type) {
    size_t slash = type.find('/');
    if (slash == std::string::npos || slash == 0 || slash + 1 == type.size())
        return false;
    for (size_t i = 0; i < type.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(type[i]);
        if (i != slash && (c <= ' ' || c >= 127 || std::strchr("()<>@,;:\\\"/[]?=", c)))
            return false;
    }
    return true;
}

void ParseEntity(const std::string& raw, int depth, bool digest, MimePart* part);

void SplitMultipart(const std::string& body, const std::string& boundary, int depth, bool digest, MimePart* part) {
    if (boundary.empty())
        return;
    const std::string delimiter = "--" + boundary;
    size_t pos = 0;
    size_t partStart = std::string::npos;
    while (pos <= body.size()) {
        bool close = false;
        size_t next = 0;
        if (IsBoundaryLine(body, pos, delimiter, &close, &next)) {
            if (partStart != std::string::npos) {
                // The line break before the delimiter belongs to the delimiter.
                size_t end = pos;
                if (end > partStart && body[end - 1] == '\n')
                    --end;
                if (end > partStart && body[end - 1] == '\r')
                    --end;
                MimePart child;
                ParseEntity(body.substr(partStart, end - partStart), depth + 1, digest, &child);
                part->children.push_back(std::move(child));
            }
            if (close)
                return;
            partStart = next;
            pos = next;
            continue;
        }
        size_t eol = body.find('\n', pos);
        if (eol == std::string::npos)
            break;
        pos = eol + 1;
    }
    // A truncated message: the open part runs to the end.
    if (partStart != std::string::npos && partStart < body.size()) {
        MimePart child;
        ParseEntity(body.substr(partStart), depth + 1, digest, &child);
        part->children.push_back(std::move(child));
    }
}

void ParseEntity(const std::string& raw, int depth, bool digestParent, MimePart* part) {
    size_t bodyStart = 0;
    MimeHeaders h = ParseMimeHeaders(raw, &bodyStart);
    if (const std::string* ct = h.Find("Content-Type"))
        part->contentType = ParseContentType(*ct);
    if (part->contentType.type.empty() && digestParent)
        part->contentType.type = "message/rfc822";
    // RFC 2045 5.2: a Content-Type that is not "type/subtype" ("text", "plain", "<html>") reads as text/plain.
    if (!part->contentType.type.empty() && !IsMediaType(part->contentType.type))
        part->contentType.type = "text/plain";
    if (const std::string* te = h.Find("Content-Transfer-Encoding"))
        part->transferEncoding = Lower(TrimSpace(*te));
    if (const std::string* cd = h.Find("Content-Disposition")) {
        MimeContentType d = ParseContentType(*cd);
        part->disposition = d.type;
        part->filename = d.Param("filename");
    }
    if (part->filename.empty())
        part->filename = part->contentType.Param("name");
    std::string body = raw.substr(bodyStart < raw.size() ? bodyStart : raw.size());
    if (part->IsMultipart() && depth < kMaxDepth) {
        SplitMultipart(body, part->contentType.Param("boundary"), depth, part->contentType.type == "multipart/digest",
                       part);
    } else if (!part->IsMultipart()) {
        part->body = std::move(body);
    }
}

void SelectText(const MimePart& part, std::vector<const MimePart*>* out) {
    if (!part.IsMultipart()) {
        if (part.IsTextLeaf())
            out->push_back(&part);
        return;
    }
    if (part.contentType.type != "multipart/alternative") {
        for (const MimePart& c : part.children)
            SelectText(c, out);
        return;
    }
    // The same letter in several forms: show one of them.
    for (const char* type : {"text/plain", "text/html"})
        for (const MimePart& c : part.children)
            if (c.IsTextLeaf() && (c.contentType.type == type || (c.contentType.type.empty() && type[5] == 'p'))) {
                out->push_back(&c);
                return;
            }
    for (const MimePart& c : part.children) {
        const size_t before = out->size();
        SelectText(c, out);
        if (out->size() != before)
            return;
    }
}

// The first text leaf in part order that is not an attachment but carries a file name ("inline; filename=...").
const MimePart* FirstNamedInlineText(const MimePart& part) {
    if (!part.IsMultipart()) {
        const bool text = part.contentType.type.empty() || part.contentType.type.compare(0, 5, "text/") == 0;
        return text && part.disposition != "attachment" && !part.filename.empty() ? &part : nullptr;
    }
    for (const MimePart& c : part.children)
        if (const MimePart* found = FirstNamedInlineText(c))
            return found;
    return nullptr;
}

}  // namespace

bool MimePart::IsTextLeaf() const {
    if (IsMultipart())
        return false;
    if (!contentType.type.empty() && contentType.type.compare(0, 5, "text/") != 0)
        return false;
    return disposition != "attachment" && filename.empty();
}

std::string DecodeQuotedPrintable(const std::string& body) {
    std::string out;
    out.reserve(body.size());
    for (size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        if (c != '=') {
            out += c;
            continue;
        }
        // Soft line break: "=" then optional blanks then CRLF or LF.
        size_t j = i + 1;
        while (j < body.size() && (body[j] == ' ' || body[j] == '\t'))
            ++j;
        if (j < body.size() && (body[j] == '\r' || body[j] == '\n')) {
            if (body[j] == '\r' && j + 1 < body.size() && body[j + 1] == '\n')
                ++j;
            i = j;
            continue;
        }
        if (j >= body.size()) {
            i = j;
            continue;
        }
        if (i + 2 < body.size() && HexValue(body[i + 1]) >= 0 && HexValue(body[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(body[i + 1]) * 16 + HexValue(body[i + 2]));
            i += 2;
            continue;
        }
        out += c;  // a stray "=" is kept as it is
    }
    return out;
}

std::string DecodeBase64(const std::string& body) {
    return text::DecodeBase64Lenient(body);
}

std::string DecodeTransfer(const std::string& body, const std::string& encoding) {
    if (encoding == "base64")
        return DecodeBase64(body);
    if (encoding == "quoted-printable")
        return DecodeQuotedPrintable(body);
    return body;
}

MimePart ParseMimeMessage(const std::string& raw) {
    MimePart part;
    ParseEntity(raw, 0, false, &part);
    return part;
}

std::vector<const MimePart*> SelectTextParts(const MimePart& message) {
    std::vector<const MimePart*> parts;
    SelectText(message, &parts);
    // Named inline text is a file the sender put in the letter, not what they wrote, unless it is all there is.
    if (parts.empty())
        if (const MimePart* named = FirstNamedInlineText(message))
            parts.push_back(named);
    return parts;
}

std::wstring DecodeTextPart(const MimePart& part, const std::string& body) {
    return DecodeCharset(DecodeTransfer(body, part.transferEncoding), part.contentType.Param("charset"));
}

std::wstring ExtractMessageText(const MimePart& message) {
    std::wstring text;
    for (const MimePart* part : SelectTextParts(message)) {
        text += DecodeTextPart(*part, part->body);
        text += L"\r\n";
    }
    return text;
}

MimeSummary SummarizeMimeHeaders(const std::string& raw, size_t maxFieldBytes) {
    MimeSummary s;
    size_t bodyStart = 0;
    const MimeHeaders h = ParseMimeHeaders(raw, &bodyStart);
    auto field = [&](const char* name) -> std::optional<std::string> {
        const std::string* value = h.Find(name);
        if (!value)
            return std::nullopt;
        return value->substr(0, maxFieldBytes);
    };
    if (const auto d = field("Date")) {
        int64_t utc = 0;
        if (ParseMailDate(*d, &utc)) {
            s.hasDate = true;
            s.date = UtcSecondsToLocalDateTime(utc);
        }
    }
    if (const auto f = field("From"))
        s.from = ParseMimeAddress(*f);
    if (const auto sub = field("Subject"))
        s.subject = DecodeHeaderText(*sub);
    return s;
}

}  // namespace netlib
