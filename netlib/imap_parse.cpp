// Framing and parsing of IMAP server responses (RFC 3501 section 7 and 9). Status responses carry free text and
// are never scanned for literals; data responses are tokenised into atoms, strings, NIL and lists, where a
// section such as BODY[HEADER.FIELDS (DATE)]<0> stays one atom.
#include "netlib/imap_parse.h"

#include <cctype>
#include <cstring>

#include "netlib/text_util_p.h"

namespace netlib {
namespace {

using text::EqualNoCase;
using text::Upper;

bool IsStatusWord(const std::string& w) {
    return EqualNoCase(w, "OK") || EqualNoCase(w, "NO") || EqualNoCase(w, "BAD") || EqualNoCase(w, "BYE") ||
           EqualNoCase(w, "PREAUTH");
}

// A data response may end a line with {n} or {n+}: the position of '{' and n, or npos.
size_t LiteralMarker(const std::string& line, size_t* size, bool* tooLarge, size_t cap) {
    *tooLarge = false;
    if (line.size() < 3 || line.back() != '}')
        return std::string::npos;
    size_t end = line.size() - 1;
    if (line[end - 1] == '+')
        --end;
    size_t open = line.rfind('{', end);
    if (open == std::string::npos || open + 1 >= end)
        return std::string::npos;
    size_t n = 0;
    for (size_t i = open + 1; i < end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(line[i])))
            return std::string::npos;
        if (n > cap) {
            *tooLarge = true;
            continue;
        }
        n = n * 10 + static_cast<size_t>(line[i] - '0');
    }
    if (n > cap)
        *tooLarge = true;
    *size = n;
    return open;
}

// Splits "word rest" of a first line into the word after the tag or "*".
void SplitFirst(const std::string& line, std::string* head, std::string* word, std::string* rest) {
    size_t sp = line.find(' ');
    *head = line.substr(0, sp);
    if (sp == std::string::npos) {
        word->clear();
        rest->clear();
        return;
    }
    size_t sp2 = line.find(' ', sp + 1);
    *word = line.substr(sp + 1, sp2 == std::string::npos ? std::string::npos : sp2 - sp - 1);
    *rest = sp2 == std::string::npos ? std::string() : line.substr(sp2 + 1);
}

bool IsStatusLine(const std::string& line) {
    std::string head, word, rest;
    SplitFirst(line, &head, &word, &rest);
    return !head.empty() && head != "+" && IsStatusWord(word);
}

class Tokenizer {
  public:
    Tokenizer(const std::vector<std::string>& lines, const std::vector<std::string>& literals, int maxDepth)
        : lines_(lines), literals_(literals), maxDepth_(maxDepth) {
        for (const std::string& l : lines_) {
            size_t n = 0;
            bool big = false;
            markers_.push_back(LiteralMarker(l, &n, &big, static_cast<size_t>(-1) / 16));
        }
    }

    bool ParseAll(std::vector<ImapValue>* out, size_t startPos) {
        pos_ = startPos;
        for (;;) {
            SkipSpaces();
            if (AtEnd())
                return true;
            ImapValue v;
            if (!ParseValue(&v, 0)) {
                if (v.kind == ImapValue::Kind::List)
                    out->push_back(std::move(v));  // what parsed of it, marked damaged
                return false;
            }
            out->push_back(std::move(v));
        }
    }

  private:
    bool AtEnd() const { return line_ + 1 == lines_.size() && pos_ >= Cur().size(); }
    const std::string& Cur() const { return lines_[line_]; }
    bool AtMarker() const { return line_ < markers_.size() - 1 && pos_ == markers_[line_]; }

    void SkipSpaces() {
        while (!AtMarker() && pos_ < Cur().size() && Cur()[pos_] == ' ')
            ++pos_;
    }

    bool ParseValue(ImapValue* v, int depth) {
        if (AtMarker()) {
            v->kind = ImapValue::Kind::String;
            v->text = literals_[line_];
            ++line_;
            pos_ = 0;
            return true;
        }
        if (pos_ >= Cur().size())
            return false;
        char c = Cur()[pos_];
        if (c == '(') {
            if (depth >= maxDepth_)
                return false;
            ++pos_;
            v->kind = ImapValue::Kind::List;
            for (;;) {
                SkipSpaces();
                if (!AtMarker() && pos_ >= Cur().size()) {
                    v->damaged = true;  // unbalanced
                    return false;
                }
                if (!AtMarker() && Cur()[pos_] == ')') {
                    ++pos_;
                    return true;
                }
                ImapValue item;
                if (!ParseValue(&item, depth + 1)) {
                    if (item.kind == ImapValue::Kind::List)
                        v->items.push_back(std::move(item));
                    v->damaged = true;
                    return false;
                }
                v->items.push_back(std::move(item));
            }
        }
        if (c == ')')
            return false;
        if (c == '"') {
            ++pos_;
            v->kind = ImapValue::Kind::String;
            while (pos_ < Cur().size()) {
                char d = Cur()[pos_++];
                if (d == '"')
                    return true;
                if (d == '\\' && pos_ < Cur().size())
                    d = Cur()[pos_++];
                v->text += d;
            }
            return false;  // unterminated
        }
        // Atom, possibly with a [section] holding blanks and parentheses, and a <partial> suffix.
        v->kind = ImapValue::Kind::Atom;
        int brackets = 0;
        bool quoted = false;
        while (pos_ < Cur().size() && !AtMarker()) {
            char d = Cur()[pos_];
            if (quoted) {
                if (d == '"')
                    quoted = false;
            } else if (brackets > 0) {
                if (d == '[')
                    ++brackets;
                else if (d == ']')
                    --brackets;
                else if (d == '"')
                    quoted = true;
            } else if (d == '[') {
                ++brackets;
            } else if (d == ' ' || d == '(' || d == ')' || d == '"' || d == '{') {
                break;
            } else if (static_cast<unsigned char>(d) < 0x20 || d == 0x7f) {
                return false;
            }
            v->text += d;
            ++pos_;
        }
        if (brackets != 0 || quoted || v->text.empty())
            return false;
        if (EqualNoCase(v->text, "NIL")) {
            v->kind = ImapValue::Kind::Nil;
            v->text.clear();
        }
        return true;
    }

    const std::vector<std::string>& lines_;
    const std::vector<std::string>& literals_;
    std::vector<size_t> markers_;
    int maxDepth_;
    size_t line_ = 0;
    size_t pos_ = 0;
};

}  // namespace

bool ImapValue::IsAtom(const char* upper) const {
    return kind == Kind::Atom && EqualNoCase(text, upper);
}

bool ImapValue::AsNumber(uint32_t* value) const {
    if (kind != Kind::Atom || text.empty() || text.size() > 10)
        return false;
    unsigned long long n = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        n = n * 10 + static_cast<unsigned>(c - '0');
    }
    if (n > 0xFFFFFFFFull)
        return false;
    *value = static_cast<uint32_t>(n);
    return true;
}

NetStatus ParseImapResponse(const std::vector<std::string>& lines,
                            const std::vector<std::string>& literals,
                            int maxDepth,
                            ImapResponse* r,
                            bool keepMalformed) {
    *r = ImapResponse{};
    auto bad = [](const std::string& what) { return NetStatus::Fail(NetCode::Connection, NetCause::Protocol, what); };
    if (lines.empty() || lines[0].empty())
        return bad("empty response line");
    const std::string& first = lines[0];
    if (first[0] == '+') {
        if (first.size() > 1 && first[1] != ' ')
            return bad("malformed continuation");
        r->kind = ImapResponse::Kind::Continuation;
        r->text = first.size() > 2 ? first.substr(2) : std::string();
        return NetStatus::Success();
    }
    std::string head, word, rest;
    SplitFirst(first, &head, &word, &rest);
    if (head == "*") {
        r->kind = ImapResponse::Kind::Untagged;
    } else {
        for (char c : head)
            if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7f || c == '(' ||
                c == ')' || c == '{' || c == '"' || c == '%' || c == '*' || c == '\\' || c == ']' || c == '+')
                return bad("malformed tag");
        r->kind = ImapResponse::Kind::Tagged;
        r->tag = head;
        if (!IsStatusWord(word))
            return bad("tagged response without a status");
    }
    if (IsStatusWord(word)) {
        if (lines.size() != 1)
            return bad("literal in a status response");
        r->status = Upper(word);
        if (!rest.empty() && rest[0] == '[') {
            size_t close = rest.find(']');
            if (close == std::string::npos)
                return bad("unterminated response code");
            r->code = rest.substr(1, close - 1);
            rest = rest.substr(close + 1);
            if (!rest.empty() && rest[0] == ' ')
                rest.erase(0, 1);
        }
        r->text = rest;
        return NetStatus::Success();
    }
    Tokenizer tok(lines, literals, maxDepth);
    const bool parsed = tok.ParseAll(&r->data, 1) && !r->data.empty();
    if (parsed)
        return NetStatus::Success();
    if (!keepMalformed)
        return bad("malformed data response");
    r->malformed = true;
    return NetStatus::Success();
}

ImapResponseParser::ImapResponseParser(const ImapLimits& limits) : limits_(limits) {}

NetStatus ImapResponseParser::Fail(NetCause cause, std::string detail) {
    error_ = NetStatus::Fail(NetCode::Connection, cause, std::move(detail));
    return error_;
}

NetStatus ImapResponseParser::Feed(const char* data, size_t size) {
    if (!error_.ok())
        return error_;
    size_t i = 0;
    while (i < size) {
        if (inLiteral_) {
            size_t take = size - i < literalLeft_ ? size - i : literalLeft_;
            literals_.back().append(data + i, take);
            i += take;
            literalLeft_ -= take;
            if (literalLeft_ == 0)
                inLiteral_ = false;
            continue;
        }
        const char* lf = static_cast<const char*>(memchr(data + i, '\n', size - i));
        size_t take = lf ? static_cast<size_t>(lf - (data + i)) : size - i;
        if (line_.size() + take > limits_.maxLine)
            return Fail(NetCause::TooLarge, "response line longer than " + std::to_string(limits_.maxLine));
        line_.append(data + i, take);
        i += take;
        if (!lf)
            break;
        ++i;  // the LF
        if (NetStatus st = FinishLine(); !st)
            return st;
    }
    return NetStatus::Success();
}

NetStatus ImapResponseParser::FinishLine() {
    if (!line_.empty() && line_.back() == '\r')
        line_.pop_back();
    responseSize_ += line_.size() + 2;
    if (responseSize_ > limits_.maxResponse)
        return Fail(NetCause::TooLarge, "response larger than " + std::to_string(limits_.maxResponse));
    bool first = lines_.empty();
    lines_.push_back(std::move(line_));
    line_.clear();
    const std::string& line = lines_.back();
    bool canHaveLiteral = !(first && (line.empty() || line[0] == '+' || IsStatusLine(line)));
    size_t n = 0;
    bool tooLarge = false;
    if (canHaveLiteral && LiteralMarker(line, &n, &tooLarge, limits_.maxLiteral) != std::string::npos) {
        if (tooLarge)
            return Fail(NetCause::TooLarge, "literal larger than " + std::to_string(limits_.maxLiteral));
        if (literals_.size() >= limits_.maxLiterals)
            return Fail(NetCause::TooLarge, "more than " + std::to_string(limits_.maxLiterals) + " literals");
        responseSize_ += n;
        if (responseSize_ > limits_.maxResponse)
            return Fail(NetCause::TooLarge, "response larger than " + std::to_string(limits_.maxResponse));
        literals_.emplace_back();
        literalLeft_ = n;
        inLiteral_ = n > 0;
        return NetStatus::Success();
    }
    return Complete();
}

NetStatus ImapResponseParser::Complete() {
    ImapResponse r;
    NetStatus st = ParseImapResponse(lines_, literals_, limits_.maxDepth, &r, keepMalformed_);
    lines_.clear();
    literals_.clear();
    responseSize_ = 0;
    if (!st) {
        error_ = st;
        return st;
    }
    ready_.push_back(std::move(r));
    return NetStatus::Success();
}

bool ImapResponseParser::Next(ImapResponse* response) {
    if (ready_.empty())
        return false;
    *response = std::move(ready_.front());
    ready_.pop_front();
    return true;
}

}  // namespace netlib
