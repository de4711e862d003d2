// A small JSON reader and writer, just enough for the settings file's content, strict about what it accepts:
// the tool writes files the notifier will load, so a typo must be an error rather than a silent default.
#include "tools/settings_tool/SettingsJson.h"

#include "tools/common/ToolSupport.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <variant>
#include <vector>

#include "base/Utf.h"

namespace {

// ---------------------------------------------------------------------------------------------------------------
// Value tree

struct TJson {
    enum class TKind { Null, Bool, Number, String, Array, Object };
    TKind Kind = TKind::Null;
    bool Bool = false;
    std::string Number;  // the literal as written, checked against the JSON grammar
    std::wstring String;
    std::vector<TJson> Array;
    std::vector<std::pair<std::wstring, TJson>> Object;
};

const char* KindName(TJson::TKind kind) {
    switch (kind) {
        case TJson::TKind::Null:
            return "null";
        case TJson::TKind::Bool:
            return "a boolean";
        case TJson::TKind::Number:
            return "a number";
        case TJson::TKind::String:
            return "a string";
        case TJson::TKind::Array:
            return "an array";
        case TJson::TKind::Object:
            return "an object";
    }
    return "?";
}

// ---------------------------------------------------------------------------------------------------------------
// Reader

class TJsonReader {
  public:
    explicit TJsonReader(std::string_view text) : text_(text) {}

    TJson ReadDocument() {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") {
            pos_ = 3;
        }
        TJson value = ReadValue(0);
        SkipSpace();
        if (pos_ != text_.size()) {
            Fail("unexpected text after the JSON value");
        }
        return value;
    }

  private:
    static constexpr int kMaxDepth = 64;

    [[noreturn]] void Fail(const std::string& what) const {
        int line = 1;
        int column = 1;
        for (size_t i = 0; i < pos_ && i < text_.size(); ++i) {
            if (text_[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        throw TJsonError("line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what);
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

    void SkipSpace() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) {
            ++pos_;
        }
    }

    void Expect(char c) {
        if (Peek() != c || AtEnd()) {
            Fail(std::string("expected '") + c + "'");
        }
        ++pos_;
    }

    void ExpectWord(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) {
            Fail("unknown literal");
        }
        pos_ += word.size();
    }

    TJson ReadValue(int depth) {
        if (depth > kMaxDepth) {
            Fail("nested too deeply");
        }
        SkipSpace();
        if (AtEnd()) {
            Fail("unexpected end of the text");
        }
        TJson v;
        switch (Peek()) {
            case '{':
                v.Kind = TJson::TKind::Object;
                ReadObject(v, depth);
                break;
            case '[':
                v.Kind = TJson::TKind::Array;
                ReadArray(v, depth);
                break;
            case '"':
                v.Kind = TJson::TKind::String;
                v.String = ReadString();
                break;
            case 't':
                ExpectWord("true");
                v.Kind = TJson::TKind::Bool;
                v.Bool = true;
                break;
            case 'f':
                ExpectWord("false");
                v.Kind = TJson::TKind::Bool;
                break;
            case 'n':
                ExpectWord("null");
                break;
            default:
                v.Kind = TJson::TKind::Number;
                v.Number = ReadNumber();
                break;
        }
        return v;
    }

    void ReadObject(TJson& v, int depth) {
        Expect('{');
        SkipSpace();
        if (Peek() == '}') {
            ++pos_;
            return;
        }
        for (;;) {
            SkipSpace();
            if (Peek() != '"') {
                Fail("expected a key in double quotes");
            }
            const size_t keyPos = pos_;
            std::wstring key = ReadString();
            for (const auto& member : v.Object) {
                if (member.first == key) {
                    pos_ = keyPos;
                    Fail("key \"" + WideToUtf8(key) + "\" appears twice");
                }
            }
            SkipSpace();
            Expect(':');
            TJson value = ReadValue(depth + 1);
            v.Object.emplace_back(std::move(key), std::move(value));
            SkipSpace();
            if (Peek() == ',') {
                ++pos_;
                continue;
            }
            Expect('}');
            return;
        }
    }

    void ReadArray(TJson& v, int depth) {
        Expect('[');
        SkipSpace();
        if (Peek() == ']') {
            ++pos_;
            return;
        }
        for (;;) {
            v.Array.push_back(ReadValue(depth + 1));
            SkipSpace();
            if (Peek() == ',') {
                ++pos_;
                continue;
            }
            Expect(']');
            return;
        }
    }

    std::string ReadNumber() {
        const size_t start = pos_;
        auto digits = [this] {
            size_t n = 0;
            while (!AtEnd() && Peek() >= '0' && Peek() <= '9') {
                ++pos_;
                ++n;
            }
            return n;
        };
        if (Peek() == '-') {
            ++pos_;
        }
        if (Peek() == '0') {
            ++pos_;
        } else if (digits() == 0) {
            Fail("expected a value");
        }
        if (Peek() == '.') {
            ++pos_;
            if (digits() == 0) {
                Fail("expected digits after the decimal point");
            }
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++pos_;
            if (Peek() == '+' || Peek() == '-') {
                ++pos_;
            }
            if (digits() == 0) {
                Fail("expected digits in the exponent");
            }
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    unsigned Hex4() {
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = Peek();
            unsigned digit;
            if (c >= '0' && c <= '9') {
                digit = static_cast<unsigned>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                digit = static_cast<unsigned>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                digit = static_cast<unsigned>(c - 'A' + 10);
            } else {
                Fail("expected four hex digits after \\u");
            }
            value = value * 16 + digit;
            ++pos_;
        }
        return value;
    }

    // One UTF-8 sequence, strictly: no overlong forms, no encoded surrogates, nothing above U+10FFFF.
    char32_t Utf8CodePoint() {
        const auto lead = static_cast<unsigned char>(text_[pos_]);
        int extra;
        char32_t cp;
        char32_t min;
        if (lead < 0x80) {
            ++pos_;
            return lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, cp = lead & 0x1F, min = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, cp = lead & 0x0F, min = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, cp = lead & 0x07, min = 0x10000;
        } else {
            Fail("invalid UTF-8");
        }
        for (int i = 1; i <= extra; ++i) {
            if (pos_ + i >= text_.size() || (static_cast<unsigned char>(text_[pos_ + i]) & 0xC0) != 0x80) {
                Fail("invalid UTF-8");
            }
            cp = (cp << 6) | (static_cast<unsigned char>(text_[pos_ + i]) & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            Fail("invalid UTF-8");
        }
        pos_ += static_cast<size_t>(extra) + 1;
        return cp;
    }

    std::wstring ReadString() {
        Expect('"');
        std::wstring out;
        for (;;) {
            if (AtEnd()) {
                Fail("unterminated string");
            }
            const char c = Peek();
            if (c == '"') {
                ++pos_;
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                Fail("control character in a string");
            }
            if (c == '\\') {
                ++pos_;
                const char e = Peek();
                ++pos_;
                switch (e) {
                    case '"':
                        out.push_back(L'"');
                        break;
                    case '\\':
                        out.push_back(L'\\');
                        break;
                    case '/':
                        out.push_back(L'/');
                        break;
                    case 'b':
                        out.push_back(L'\b');
                        break;
                    case 'f':
                        out.push_back(L'\f');
                        break;
                    case 'n':
                        out.push_back(L'\n');
                        break;
                    case 'r':
                        out.push_back(L'\r');
                        break;
                    case 't':
                        out.push_back(L'\t');
                        break;
                    case 'u':
                        // One escape is one UTF-16 unit: a pair written as two escapes becomes the pair again.
                        out.push_back(static_cast<wchar_t>(Hex4()));
                        break;
                    default:
                        --pos_;
                        Fail("unknown escape in a string");
                }
                continue;
            }
            const char32_t cp = Utf8CodePoint();
            if (cp >= 0x10000) {
                out.push_back(static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10)));
                out.push_back(static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
            } else {
                out.push_back(static_cast<wchar_t>(cp));
            }
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
};

// ---------------------------------------------------------------------------------------------------------------
// Writer

std::string Hex(uint64_t value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) {
        out[static_cast<size_t>(i)] = kDigits[value & 0xF];
    }
    return out;
}

std::string FormatDouble(double value) {
    if (!std::isfinite(value)) {
        return "\"" + Hex(std::bit_cast<uint64_t>(value), 16) + "\"";
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

class TJsonWriter {
  public:
    void Open(char bracket) {
        out_.push_back(bracket);
        ++depth_;
        first_ = true;
    }
    void Close(char bracket) {
        --depth_;
        if (!first_) {
            NewLine();
        }
        out_.push_back(bracket);
        first_ = false;
    }
    void Key(const char* key) {
        Item();
        out_ += JsonQuote(std::wstring(key, key + std::char_traits<char>::length(key)));
        out_ += ": ";
    }
    void Item() {
        if (!first_) {
            out_.push_back(',');
        }
        NewLine();
        first_ = false;
    }
    void Raw(const std::string& text) {
        out_ += text;
        first_ = false;
    }
    std::string Take() { return std::move(out_) + "\n"; }

  private:
    void NewLine() {
        out_.push_back('\n');
        out_.append(static_cast<size_t>(depth_) * 2, ' ');
    }

    std::string out_;
    int depth_ = 0;
    bool first_ = true;
};

// ---------------------------------------------------------------------------------------------------------------
// Settings fields, in the order of the record

using TMember = std::variant<uint8_t TSettings::*, int32_t TSettings::*, bool TSettings::*, std::wstring TSettings::*>;

struct TSettingField {
    const char* Name;
    TMember Member;
};

const TSettingField kSettingFields[] = {
    {"SkinIndex", &TSettings::SkinIndex},
    {"ProvEmSek", &TSettings::ProvEmSek},
    {"IspZvuk", &TSettings::IspZvuk},
    {"FZvuk", &TSettings::FZvuk},
    {"SoundDlgWidth", &TSettings::SoundDlgWidth},
    {"SoundDlgHeight", &TSettings::SoundDlgHeight},
    {"SoundDlgStyle", &TSettings::SoundDlgStyle},
    {"VremPokVspOkn", &TSettings::VremPokVspOkn},
    {"VTray", &TSettings::VTray},
    {"OtobrTextEm", &TSettings::OtobrTextEm},
    {"AutoZagr", &TSettings::AutoZagr},
    {"PovtorZvuk", &TSettings::PovtorZvuk},
    {"PovtorZvukI", &TSettings::PovtorZvukI},
    {"ProvVseSrazu", &TSettings::ProvVseSrazu},
    {"ZaSkolkPredupr", &TSettings::ZaSkolkPredupr},
    {"PokSegodSob", &TSettings::PokSegodSob},
    {"UdalProshSob", &TSettings::UdalProshSob},
    {"IspZvukN", &TSettings::IspZvukN},
    {"FZvukN", &TSettings::FZvukN},
    {"PovtorZvukN", &TSettings::PovtorZvukN},
    {"PovtorZvukIN", &TSettings::PovtorZvukIN},
    {"LangIndex", &TSettings::LangIndex},
    {"LangFile", &TSettings::LangFile},
    {"ZapuskPass", &TSettings::ZapuskPass},
    {"PassZapusk", &TSettings::PassZapusk},
};

// ---------------------------------------------------------------------------------------------------------------
// JSON to content

std::string Join(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

[[noreturn]] void FailAt(const std::string& path, const std::string& what) {
    throw TJsonError(path + ": " + what);
}

void ExpectKind(const TJson& v, TJson::TKind kind, const std::string& path) {
    if (v.Kind != kind) {
        FailAt(path, std::string("expected ") + KindName(kind) + ", found " + KindName(v.Kind));
    }
}

// Checks that an object has only the given keys and returns the value of each that is present.
class TObjectView {
  public:
    TObjectView(const TJson& v, const std::string& path, std::vector<std::string> keys) : path_(path) {
        ExpectKind(v, TJson::TKind::Object, path);
        for (const auto& [key, value] : v.Object) {
            const std::string name = WideToUtf8(key);
            bool known = false;
            for (const auto& k : keys) {
                known = known || k == name;
            }
            if (!known) {
                FailAt(Join(path, name), "unknown key");
            }
            members_.emplace_back(name, &value);
        }
    }
    const TJson* Find(const std::string& key) const {
        for (const auto& [name, value] : members_) {
            if (name == key) {
                return value;
            }
        }
        return nullptr;
    }
    std::string PathOf(const std::string& key) const { return Join(path_, key); }

  private:
    std::string path_;
    std::vector<std::pair<std::string, const TJson*>> members_;  // borrowed from the value tree
};

int64_t ToInteger(const TJson& v, const std::string& path, int64_t min, int64_t max) {
    const std::string range = "expected an integer from " + std::to_string(min) + " to " + std::to_string(max);
    if (v.Kind != TJson::TKind::Number || v.Number.find_first_of(".eE") != std::string::npos) {
        FailAt(path, range);
    }
    int64_t value = 0;
    const auto result = std::from_chars(v.Number.data(), v.Number.data() + v.Number.size(), value);
    if (result.ec != std::errc() || result.ptr != v.Number.data() + v.Number.size() || value < min || value > max) {
        FailAt(path, range);
    }
    return value;
}

std::wstring ToText(const TJson& v, const std::string& path) {
    ExpectKind(v, TJson::TKind::String, path);
    if (v.String.find(L'\0') != std::wstring::npos) {
        FailAt(path, "contains U+0000, which the settings file cannot hold");
    }
    return v.String;
}

bool ToBool(const TJson& v, const std::string& path) {
    ExpectKind(v, TJson::TKind::Bool, path);
    return v.Bool;
}

double ToDouble(const TJson& v, const std::string& path) {
    if (v.Kind == TJson::TKind::String) {
        uint64_t bits = 0;
        const std::string text = WideToUtf8(v.String);
        const auto result = std::from_chars(text.data(), text.data() + text.size(), bits, 16);
        if (text.size() != 16 || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
            FailAt(path, "expected a number or 16 hex digits of its IEEE bits");
        }
        return std::bit_cast<double>(bits);
    }
    ExpectKind(v, TJson::TKind::Number, path);
    double value = 0;
    const auto result = std::from_chars(v.Number.data(), v.Number.data() + v.Number.size(), value);
    if (result.ec != std::errc() || result.ptr != v.Number.data() + v.Number.size()) {
        FailAt(path, "number out of range");
    }
    return value;
}

int32_t ToInt32(const TJson& v, const std::string& path) {
    return static_cast<int32_t>(
        ToInteger(v, path, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

template <typename TRecord>
std::vector<std::unique_ptr<TRecord>> ReadList(const TJson* v,
                                               const std::string& path,
                                               const std::vector<std::string>& keys,
                                               void (*fill)(TRecord&, const TObjectView&)) {
    std::vector<std::unique_ptr<TRecord>> list;
    if (v == nullptr) {
        return list;
    }
    ExpectKind(*v, TJson::TKind::Array, path);
    for (size_t i = 0; i < v->Array.size(); ++i) {
        auto record = std::make_unique<TRecord>();
        fill(*record, TObjectView(v->Array[i], path + "[" + std::to_string(i) + "]", keys));
        list.push_back(std::move(record));
    }
    return list;
}

void Take(const TObjectView& o, const char* key, std::wstring& target) {
    if (const TJson* v = o.Find(key)) {
        target = ToText(*v, o.PathOf(key));
    }
}

void Take(const TObjectView& o, const char* key, int32_t& target) {
    if (const TJson* v = o.Find(key)) {
        target = ToInt32(*v, o.PathOf(key));
    }
}

void FillImap(AListImap& r, const TObjectView& o) {
    Take(o, "Url", r.Url);
    Take(o, "UrlImap", r.UrlImap);
    Take(o, "PortImap", r.PortImap);
}

void FillAccount(AListEm& r, const TObjectView& o) {
    Take(o, "Domain", r.Domain);
    Take(o, "UrlVhod", r.UrlVhod);
    Take(o, "Login", r.Login);
    Take(o, "Parol", r.Parol);
    Take(o, "HostIMAP", r.HostIMAP);
    Take(o, "PortIMAP", r.PortIMAP);
}

void FillEvent(AListSob& r, const TObjectView& o) {
    Take(o, "Name", r.Name);
    if (const TJson* v = o.Find("Time")) {
        r.Time = ToDouble(*v, o.PathOf("Time"));
    }
    Take(o, "Date", r.Date);
    if (const TJson* v = o.Find("DnNedel")) {
        const std::string path = o.PathOf("DnNedel");
        ExpectKind(*v, TJson::TKind::Array, path);
        for (size_t i = 0; i < v->Array.size(); ++i) {
            r.DnNedel[static_cast<size_t>(ToInteger(v->Array[i], path + "[" + std::to_string(i) + "]", 1, 7))] = true;
        }
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------------

std::string SettingsToJson(const TSettingsRecordContent& c) {
    TJsonWriter w;
    w.Open('{');
    w.Key("Version");
    w.Raw(JsonQuote(std::wstring(std::begin(kSettingsVersion), std::end(kSettingsVersion) - 1)));

    w.Key("Settings");
    w.Open('{');
    for (const TSettingField& field : kSettingFields) {
        w.Key(field.Name);
        std::visit(
            [&](auto member) {
                const auto& value = c.Settings.*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, bool>) {
                    w.Raw(value ? "true" : "false");
                } else if constexpr (std::is_same_v<T, std::wstring>) {
                    w.Raw(JsonQuote(value));
                } else {
                    w.Raw(std::to_string(static_cast<int64_t>(value)));
                }
            },
            field.Member);
    }
    w.Close('}');

    w.Key("IdKomp");
    w.Raw(JsonQuote(c.IdKomp));

    w.Key("ImapServers");
    w.Open('[');
    for (const auto& r : c.ImapServers) {
        w.Item();
        w.Open('{');
        w.Key("Url");
        w.Raw(JsonQuote(r->Url));
        w.Key("UrlImap");
        w.Raw(JsonQuote(r->UrlImap));
        w.Key("PortImap");
        w.Raw(std::to_string(r->PortImap));
        w.Close('}');
    }
    w.Close(']');

    w.Key("Accounts");
    w.Open('[');
    for (const auto& r : c.Accounts) {
        w.Item();
        w.Open('{');
        w.Key("Domain");
        w.Raw(JsonQuote(r->Domain));
        w.Key("UrlVhod");
        w.Raw(JsonQuote(r->UrlVhod));
        w.Key("Login");
        w.Raw(JsonQuote(r->Login));
        w.Key("Parol");
        w.Raw(JsonQuote(r->Parol));
        w.Key("HostIMAP");
        w.Raw(JsonQuote(r->HostIMAP));
        w.Key("PortIMAP");
        w.Raw(std::to_string(r->PortIMAP));
        w.Close('}');
    }
    w.Close(']');

    w.Key("Events");
    w.Open('[');
    for (const auto& r : c.Events) {
        w.Item();
        w.Open('{');
        w.Key("Name");
        w.Raw(JsonQuote(r->Name));
        w.Key("Time");
        w.Raw(FormatDouble(r->Time));
        w.Key("Date");
        w.Raw(std::to_string(r->Date));
        w.Key("DnNedel");
        std::string days = "[";
        for (int day = 1; day <= 7; ++day) {
            if (r->DnNedel[static_cast<size_t>(day)]) {
                days += (days.size() > 1 ? ", " : "") + std::to_string(day);
            }
        }
        w.Raw(days + "]");
        w.Close('}');
    }
    w.Close(']');
    w.Close('}');
    return w.Take();
}

TSettingsRecordContent SettingsFromJson(std::string_view utf8) {
    const TJson root = TJsonReader(utf8).ReadDocument();
    const TObjectView top(root, "(top)", {"Version", "Settings", "IdKomp", "ImapServers", "Accounts", "Events"});

    TSettingsRecordContent c;
    if (const TJson* v = top.Find("Version")) {
        const std::wstring version = ToText(*v, "Version");
        if (version != std::wstring(std::begin(kSettingsVersion), std::end(kSettingsVersion) - 1)) {
            FailAt("Version", std::string("only ") + kSettingsVersion + " can be written");
        }
    }
    if (const TJson* v = top.Find("Settings")) {
        std::vector<std::string> names;
        for (const TSettingField& field : kSettingFields) {
            names.emplace_back(field.Name);
        }
        const TObjectView settings(*v, "Settings", names);
        for (const TSettingField& field : kSettingFields) {
            const TJson* value = settings.Find(field.Name);
            if (value == nullptr) {
                continue;
            }
            const std::string path = settings.PathOf(field.Name);
            std::visit(
                [&](auto member) {
                    auto& target = c.Settings.*member;
                    using T = std::decay_t<decltype(target)>;
                    if constexpr (std::is_same_v<T, bool>) {
                        target = ToBool(*value, path);
                    } else if constexpr (std::is_same_v<T, std::wstring>) {
                        target = ToText(*value, path);
                    } else if constexpr (std::is_same_v<T, uint8_t>) {
                        target = static_cast<uint8_t>(ToInteger(*value, path, 0, 255));
                    } else {
                        target = ToInt32(*value, path);
                    }
                },
                field.Member);
        }
    }
    if (const TJson* v = top.Find("IdKomp")) {
        c.IdKomp = ToText(*v, "IdKomp");
    }
    c.ImapServers =
        ReadList<AListImap>(top.Find("ImapServers"), "ImapServers", {"Url", "UrlImap", "PortImap"}, FillImap);
    c.Accounts = ReadList<AListEm>(top.Find("Accounts"), "Accounts",
                                   {"Domain", "UrlVhod", "Login", "Parol", "HostIMAP", "PortIMAP"}, FillAccount);
    c.Events = ReadList<AListSob>(top.Find("Events"), "Events", {"Name", "Time", "Date", "DnNedel"}, FillEvent);
    return c;
}
