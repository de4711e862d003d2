// Header parsing after RFC 5322 (fields, folding, quoted strings, comments), RFC 2045 (Content-Type parameters)
// and RFC 2047 (encoded words).
#include "netlib/mime_header.h"

#include <map>

#include "base/Utf.h"
#include "netlib/mime_charset.h"
#include "base/Text.h"
#include "netlib/text_util_p.h"

namespace netlib {
namespace {

using text::DecodeBase64Lenient;
using text::EqualNoCase;
using text::HexValue;
using text::IsBlank;
using text::Lower;
using text::TrimBlanks;
using text::UpperAscii;

std::string DecodeQ(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '_') {
            out += ' ';
        } else if (c == '=' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

// Removes comments ("(...)", nested, with quoted pairs) outside quoted strings; each becomes one blank. An
// unclosed comment runs to the end.
std::string StripComments(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    bool quoted = false;
    int depth = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (depth > 0) {
            if (c == '\\')
                ++i;
            else if (c == '(')
                ++depth;
            else if (c == ')' && --depth == 0)
                out += ' ';
            continue;
        }
        if (quoted) {
            out += c;
            if (c == '\\' && i + 1 < value.size())
                out += value[++i];
            else if (c == '"')
                quoted = false;
            continue;
        }
        if (c == '(') {
            depth = 1;
            continue;
        }
        quoted = c == '"';
        out += c;
    }
    return out;
}

// RFC 2231 percent-encoding; a "%" not followed by two hex digits stays as it is.
std::string DecodePercent(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

constexpr size_t kMaxEncodedWord = 1024;

// One encoded word at text[pos] ("=?charset?X?text?="): fills charset and decoded bytes, returns its end or npos.
size_t MatchEncodedWord(const std::string& text, size_t pos, std::string* charset, std::string* bytes) {
    if (text.compare(pos, 2, "=?") != 0)
        return std::string::npos;
    // Encoded words are short (75 characters by the standard); looking further only makes garbage slow.
    const std::string window = text.substr(pos, kMaxEncodedWord);
    size_t q1 = window.find('?', 2);
    if (q1 == std::string::npos || q1 == 2 || q1 + 2 >= window.size() || window[q1 + 2] != '?')
        return std::string::npos;
    char enc = UpperAscii(window[q1 + 1]);
    if (enc != 'B' && enc != 'Q')
        return std::string::npos;
    size_t end = window.find("?=", q1 + 3);
    if (end == std::string::npos)
        return std::string::npos;
    q1 += pos;
    end += pos;
    std::string payload = text.substr(q1 + 3, end - (q1 + 3));
    for (char c : payload)
        if (IsBlank(c))
            return std::string::npos;
    std::string cs = text.substr(pos + 2, q1 - (pos + 2));
    for (char c : cs)
        if (IsBlank(c))
            return std::string::npos;
    *charset = Lower(cs.substr(0, cs.find('*')));  // RFC 2231 language suffix
    *bytes = enc == 'B' ? DecodeBase64Lenient(payload) : DecodeQ(payload);
    return end + 2;
}

}  // namespace

const std::string* MimeHeaders::Find(const char* name) const {
    for (const auto& f : fields)
        if (EqualNoCase(f.first, name))
            return &f.second;
    return nullptr;
}

MimeHeaders ParseMimeHeaders(const std::string& text, size_t* bodyStart) {
    MimeHeaders h;
    size_t pos = 0;
    *bodyStart = text.size();
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        size_t lineEnd = eol == std::string::npos ? text.size() : eol;
        size_t contentEnd = lineEnd > pos && text[lineEnd - 1] == '\r' ? lineEnd - 1 : lineEnd;
        size_t next = eol == std::string::npos ? text.size() : eol + 1;
        if (contentEnd == pos) {  // the empty line ends the header
            *bodyStart = next;
            return h;
        }
        std::string line = text.substr(pos, contentEnd - pos);
        if ((line[0] == ' ' || line[0] == '\t') && !h.fields.empty()) {
            h.fields.back().second += line;  // unfolding keeps the blank that began the continuation
        } else {
            size_t colon = line.find(':');
            if (colon != std::string::npos && colon > 0) {
                std::string name = TrimBlanks(line.substr(0, colon));
                std::string value = line.substr(colon + 1);
                size_t b = 0;
                while (b < value.size() && (value[b] == ' ' || value[b] == '\t'))
                    ++b;
                h.fields.emplace_back(name, value.substr(b));
            }
            // A line without a colon (a mbox "From " line, garbage) is skipped.
        }
        pos = next;
    }
    return h;
}

std::wstring DecodeHeaderText(const std::string& value) {
    struct Segment {
        bool encoded;
        std::string charset;
        std::string bytes;
    };
    std::vector<Segment> segs;
    size_t pos = 0, plainStart = 0;
    bool lastEncoded = false;
    while (pos < value.size()) {
        std::string cs, bytes;
        size_t end = value[pos] == '=' ? MatchEncodedWord(value, pos, &cs, &bytes) : std::string::npos;
        if (end == std::string::npos) {
            ++pos;
            continue;
        }
        std::string between = value.substr(plainStart, pos - plainStart);
        bool onlyBlanks = true;
        for (char c : between)
            onlyBlanks = onlyBlanks && IsBlank(c);
        if (!(lastEncoded && onlyBlanks) && !between.empty())
            segs.push_back({false, "", between});
        if (!segs.empty() && segs.back().encoded && lastEncoded && onlyBlanks && segs.back().charset == cs)
            segs.back().bytes += bytes;
        else
            segs.push_back({true, cs, bytes});
        lastEncoded = true;
        pos = plainStart = end;
    }
    if (plainStart < value.size())
        segs.push_back({false, "", value.substr(plainStart)});
    std::wstring out;
    for (const Segment& s : segs)
        out += s.encoded ? DecodeCharset(s.bytes, s.charset) : DecodeUnlabelled(s.bytes);
    return out;
}

std::string MimeContentType::Param(const char* name) const {
    for (const auto& p : params)
        if (p.first == name)
            return p.second;
    return {};
}

MimeContentType ParseContentType(const std::string& raw) {
    MimeContentType ct;
    // RFC 2045: comments may stand anywhere a blank may; "charset=koi8-r (Russian)" means "charset=koi8-r".
    const std::string value = StripComments(raw);
    size_t semi = value.find(';');
    ct.type = Lower(TrimBlanks(value.substr(0, semi)));
    std::vector<std::pair<std::string, std::string>> params;
    size_t pos = semi;
    while (pos != std::string::npos && pos < value.size()) {
        ++pos;  // past ';'
        while (pos < value.size() && IsBlank(value[pos]))
            ++pos;
        size_t eq = value.find('=', pos);
        size_t nextSemi = value.find(';', pos);
        if (eq == std::string::npos || (nextSemi != std::string::npos && nextSemi < eq)) {
            pos = nextSemi;
            continue;
        }
        std::string name = Lower(TrimBlanks(value.substr(pos, eq - pos)));
        pos = eq + 1;
        while (pos < value.size() && IsBlank(value[pos]))
            ++pos;
        std::string v;
        if (pos < value.size() && value[pos] == '"') {
            ++pos;
            while (pos < value.size() && value[pos] != '"') {
                if (value[pos] == '\\' && pos + 1 < value.size())
                    ++pos;
                v += value[pos++];
            }
            pos = value.find(';', pos);
        } else {
            size_t e = value.find(';', pos);
            v = TrimBlanks(value.substr(pos, e == std::string::npos ? std::string::npos : e - pos));
            pos = e;
        }
        if (!name.empty())
            params.emplace_back(name, v);
    }
    ct.params = CombineMimeParameters(params);
    return ct;
}

std::vector<std::pair<std::string, std::string>> CombineMimeParameters(
    const std::vector<std::pair<std::string, std::string>>& raw) {
    struct Segment {
        std::string value;
        bool encoded;
    };
    struct Param {
        std::string name;
        std::string plain;
        bool hasPlain = false;
        std::map<unsigned, Segment> segments;  // RFC 2231 pieces by number
    };
    std::vector<Param> order;
    auto find = [&](const std::string& name) -> Param& {
        for (Param& p : order)
            if (p.name == name)
                return p;
        order.emplace_back();
        order.back().name = name;
        return order.back();
    };
    for (const auto& [name, value] : raw) {
        size_t star = name.find('*');
        unsigned index = 0;
        bool extended = star != std::string::npos && star > 0;
        bool encoded = false;
        if (extended) {
            std::string rest = name.substr(star + 1);
            encoded = !rest.empty() && rest.back() == '*';
            if (encoded)
                rest.pop_back();
            if (rest.empty()) {
                encoded = true;  // "name*": one encoded piece
            } else if (rest.size() <= 3 && rest.find_first_not_of("0123456789") == std::string::npos) {
                index = static_cast<unsigned>(std::stoul(rest));
            } else {
                extended = false;  // not RFC 2231 after all: keep the name as written
            }
        }
        if (!extended) {
            Param& p = find(name);
            if (!p.hasPlain) {
                p.plain = value;
                p.hasPlain = true;
            }
            continue;
        }
        find(name.substr(0, star)).segments.emplace(index, Segment{value, encoded});
    }
    std::vector<std::pair<std::string, std::string>> out;
    for (const Param& p : order) {
        if (p.segments.empty()) {
            out.emplace_back(p.name, p.plain);
            continue;
        }
        // The pieces in order; the first encoded one starts with charset'language'.
        std::string bytes, charset;
        for (const auto& [index, seg] : p.segments) {
            std::string v = seg.value;
            if (seg.encoded && index == p.segments.begin()->first) {
                size_t q1 = v.find('\'');
                size_t q2 = q1 == std::string::npos ? std::string::npos : v.find('\'', q1 + 1);
                if (q2 != std::string::npos) {
                    charset = v.substr(0, q1);
                    v = v.substr(q2 + 1);
                }
            }
            bytes += seg.encoded ? DecodePercent(v) : v;
        }
        // A stated charset is decoded here, so every parameter value comes out as UTF-8 or as the raw bytes.
        if (!charset.empty())
            bytes = ::WideToUtf8(DecodeCharset(bytes, charset));
        out.emplace_back(p.name, bytes);
    }
    return out;
}

MimeAddress ParseMimeAddress(const std::string& value) {
    // One pass over the first mailbox: quoted strings, comments and <...> are recognised; a comma outside them
    // ends the mailbox.
    std::string phrase, angle, comment, bare;
    bool haveAngle = false, haveComment = false;
    size_t i = 0;
    while (i < value.size()) {
        char c = value[i];
        if (c == ',' || c == ';') {
            // An empty member of a list (", ,") is skipped; a comma or the group's end after a mailbox ends it.
            if (haveAngle || !TrimBlanks(bare).empty() || c == ';')
                break;
            phrase.clear();
            bare.clear();
            ++i;
            continue;
        }
        if (c == ':' && !haveAngle) {
            // "display-name:" opens a group (RFC 5322 3.4): what came before names the group, not the sender.
            phrase.clear();
            bare.clear();
            comment.clear();
            haveComment = false;
            ++i;
            continue;
        }
        if (c == '"') {
            ++i;
            while (i < value.size() && value[i] != '"') {
                if (value[i] == '\\' && i + 1 < value.size())
                    ++i;
                phrase += value[i++];
            }
            ++i;
            continue;
        }
        if (c == '(') {
            int depth = 1;
            std::string text;
            ++i;
            while (i < value.size() && depth > 0) {
                if (value[i] == '\\' && i + 1 < value.size()) {
                    text += value[i + 1];
                    i += 2;
                    continue;
                }
                if (value[i] == '(')
                    ++depth;
                else if (value[i] == ')' && --depth == 0)
                    break;
                text += value[i++];
            }
            ++i;
            if (!haveComment) {
                comment = text;
                haveComment = true;
            }
            continue;
        }
        if (c == '<') {
            size_t close = value.find('>', i);
            angle = value.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
            haveAngle = true;
            i = close == std::string::npos ? value.size() : close + 1;
            continue;
        }
        phrase += c;
        bare += c;
        ++i;
    }
    MimeAddress a;
    if (haveAngle) {
        a.name = TrimText(DecodeHeaderText(TrimBlanks(phrase)));
        a.address = TrimText(DecodeUnlabelled(TrimBlanks(angle)));
    } else {
        a.address = TrimText(DecodeUnlabelled(TrimBlanks(bare)));
        if (haveComment)
            a.name = TrimText(DecodeHeaderText(TrimBlanks(comment)));
    }
    return a;
}

}  // namespace netlib
