// BODYSTRUCTURE and INTERNALDATE readers.
#include "netlib/imap_fetch_items.h"

#include "netlib/mime_date.h"
#include "netlib/mime_header.h"
#include "netlib/text_util_p.h"

namespace netlib {
namespace {

using text::Lower;

// The text of a string or atom; NIL and lists give "".
std::string Text(const ImapValue& v) {
    return v.kind == ImapValue::Kind::String || v.kind == ImapValue::Kind::Atom ? v.text : std::string();
}

// A parameter list ("name" "value" ...) or NIL, names lower-cased, RFC 2231 pieces joined.
std::vector<std::pair<std::string, std::string>> Params(const ImapValue& v) {
    std::vector<std::pair<std::string, std::string>> raw;
    if (v.kind == ImapValue::Kind::List)
        for (size_t i = 0; i + 1 < v.items.size(); i += 2)
            raw.emplace_back(Lower(Text(v.items[i])), Text(v.items[i + 1]));
    return CombineMimeParameters(raw);
}

// A disposition ("attachment" ("filename" "x")) or NIL.
void ReadDisposition(const ImapValue& v, MimePart* part) {
    if (v.kind != ImapValue::Kind::List || v.items.empty())
        return;
    part->disposition = Lower(Text(v.items[0]));
    if (v.items.size() > 1)
        for (const auto& [name, value] : Params(v.items[1]))
            if (name == "filename")
                part->filename = value;
}

bool ReadPart(const ImapValue& v, const std::string& section, int depth, int maxDepth, MimePart* part) {
    if (v.kind != ImapValue::Kind::List || v.items.empty() || depth > maxDepth)
        return false;
    const std::vector<ImapValue>& items = v.items;
    if (items[0].kind == ImapValue::Kind::List) {
        // multipart: the children, the subtype, then the extension data (parameters, disposition, ...).
        part->section = section;
        size_t i = 0;
        for (; i < items.size() && items[i].kind == ImapValue::Kind::List; ++i) {
            MimePart child;
            const std::string number = std::to_string(i + 1);
            if (!ReadPart(items[i], section.empty() ? number : section + "." + number, depth + 1, maxDepth, &child))
                return false;
            part->children.push_back(std::move(child));
        }
        const std::string subtype = i < items.size() ? Lower(Text(items[i])) : std::string();
        part->contentType.type = "multipart/" + (subtype.empty() ? std::string("mixed") : subtype);
        if (i + 1 < items.size())
            part->contentType.params = Params(items[i + 1]);
        if (i + 2 < items.size())
            ReadDisposition(items[i + 2], part);
        return true;
    }
    // One part: type, subtype, parameters, id, description, encoding, size; text adds its lines, message/rfc822
    // its envelope, structure and lines; then the extension data (MD5, disposition, ...).
    if (items.size() < 7)
        return false;
    part->section = section.empty() ? "1" : section;  // a single-part message has its body as part 1
    const std::string type = Lower(Text(items[0])), subtype = Lower(Text(items[1]));
    part->contentType.type = type.empty() || subtype.empty() ? "text/plain" : type + "/" + subtype;
    part->contentType.params = Params(items[2]);
    part->transferEncoding = Lower(Text(items[5]));
    items[6].AsNumber(&part->size);
    size_t extension = 7;
    if (type == "text")
        extension = 8;
    else if (type == "message" && (subtype == "rfc822" || subtype == "global"))
        extension = 10;
    if (extension + 1 < items.size())
        ReadDisposition(items[extension + 1], part);
    if (part->filename.empty())
        part->filename = part->contentType.Param("name");
    return true;
}

}  // namespace

bool ParseBodyStructure(const ImapValue& value, MimePart* message, int maxDepth) {
    *message = MimePart();
    if (ReadPart(value, "", 0, maxDepth, message))
        return true;
    *message = MimePart();
    return false;
}

bool ParseInternalDate(const std::string& text, int64_t* utcSeconds) {
    // The same fields as an RFC 5322 date, with dashes in the date: read it as one.
    std::string date = text;
    size_t blank = date.find(' ', date.find_first_not_of(' '));
    for (size_t i = 0; i < date.size() && i < blank; ++i)
        if (date[i] == '-')
            date[i] = ' ';
    return ParseMailDate(date, utcSeconds);
}

}  // namespace netlib
