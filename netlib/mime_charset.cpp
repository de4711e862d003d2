// Charset names to code pages: a table of the registered names and common aliases of every charset Windows has a
// code page for, plus the numbered families. UTF-16 and UTF-32, which MultiByteToWideChar lacks, are decoded here.
#include <windows.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/Utf.h"
#include "netlib/mime_charset.h"
#include "netlib/text_util_p.h"

namespace netlib {
namespace {

std::string Normalise(const std::string& charset) {
    std::string s;
    for (char c : charset) {
        if (c == '"' || c == '\'' || c == ' ' || c == '\t')
            continue;
        s += text::LowerAscii(c);
    }
    return s;
}

bool StartsWith(const std::string& s, const char* p, std::string* rest) {
    size_t n = strlen(p);
    if (s.compare(0, n, p) != 0)
        return false;
    *rest = s.substr(n);
    return true;
}

int Number(const std::string& s) {
    if (s.empty() || s.size() > 5)
        return -1;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return -1;
    return std::atoi(s.c_str());
}

// Registered names and common aliases (after Normalise) of every charset Windows has a code page for. The numbered
// families ("windows-1251", "cp866", "iso-8859-5") are read below; this table holds the names that carry no number
// or a different one.
struct CharsetName {
    const char* name;
    unsigned codePage;
};
constexpr CharsetName kCharsetNames[] = {
    // Unicode. 1200/1201 and 12000/12001 are decoded by DecodeCharset itself; a byte-order mark wins over the name.
    {"utf-8", CP_UTF8},
    {"utf8", CP_UTF8},
    {"unicode-1-1-utf-8", CP_UTF8},
    {"x-unicode20utf8", CP_UTF8},
    {"utf-7", 65000},
    {"utf7", 65000},
    {"unicode-1-1-utf-7", 65000},
    {"csunicode11utf7", 65000},
    {"utf-16", 1201},
    {"utf16", 1201},
    {"utf-16be", 1201},
    {"utf16be", 1201},
    {"unicodefffe", 1201},
    {"utf-16le", 1200},
    {"utf16le", 1200},
    {"unicode", 1200},
    {"ucs-2", 1201},
    {"iso-10646-ucs-2", 1200},
    {"csunicode", 1200},
    {"ucs-2le", 1200},
    {"utf-32", 12001},
    {"utf32", 12001},
    {"utf-32be", 12001},
    {"utf-32le", 12000},
    {"ucs-4", 12001},
    // ASCII.
    {"us-ascii", 20127},
    {"ascii", 20127},
    {"ansi_x3.4-1968", 20127},
    {"ansi_x3.4-1986", 20127},
    {"us", 20127},
    {"iso646-us", 20127},
    {"iso-ir-6", 20127},
    {"csascii", 20127},
    {"cp367", 20127},
    {"ibm367", 20127},
    // The ISO 8859 family by its other names.
    {"latin1", 28591},
    {"l1", 28591},
    {"iso-ir-100", 28591},
    {"csisolatin1", 28591},
    {"latin2", 28592},
    {"l2", 28592},
    {"iso-ir-101", 28592},
    {"csisolatin2", 28592},
    {"latin3", 28593},
    {"l3", 28593},
    {"iso-ir-109", 28593},
    {"csisolatin3", 28593},
    {"latin4", 28594},
    {"l4", 28594},
    {"iso-ir-110", 28594},
    {"csisolatin4", 28594},
    {"cyrillic", 28595},
    {"iso-ir-144", 28595},
    {"csisolatincyrillic", 28595},
    {"arabic", 28596},
    {"iso-ir-127", 28596},
    {"ecma-114", 28596},
    {"asmo-708", 708},
    {"csisolatinarabic", 28596},
    {"greek", 28597},
    {"greek8", 28597},
    {"iso-ir-126", 28597},
    {"ecma-118", 28597},
    {"elot_928", 28597},
    {"csisolatingreek", 28597},
    {"hebrew", 28598},
    {"iso-ir-138", 28598},
    {"csisolatinhebrew", 28598},
    {"visual", 28598},
    {"logical", 38598},
    {"csiso88598i", 38598},
    {"latin5", 28599},
    {"l5", 28599},
    {"iso-ir-148", 28599},
    {"csisolatin5", 28599},
    {"latin9", 28605},
    {"latin-9", 28605},
    {"l9", 28605},
    {"csisolatin9", 28605},
    {"tis-620", 874},
    {"tis620", 874},
    {"dos-874", 874},
    {"x-windows-874", 874},
    // Cyrillic.
    {"koi8-r", 20866},
    {"koi8r", 20866},
    {"koi8", 20866},
    {"cskoi8r", 20866},
    {"koi", 20866},
    {"koi8-u", 21866},
    {"koi8u", 21866},
    {"koi8-ru", 21866},
    {"x-mac-cyrillic", 10007},
    {"mac-cyrillic", 10007},
    {"maccyrillic", 10007},
    {"x-mac-ukrainian", 10017},
    {"866", 866},
    {"csibm866", 866},
    {"dos-866", 866},
    // Other Macintosh sets.
    {"macintosh", 10000},
    {"mac", 10000},
    {"macroman", 10000},
    {"x-mac-roman", 10000},
    {"csmacintosh", 10000},
    {"x-mac-ce", 10029},
    {"mac-centraleurope", 10029},
    {"x-mac-greek", 10006},
    {"x-mac-turkish", 10081},
    // Chinese.
    {"gb2312", 936},
    {"csgb2312", 936},
    {"gb_2312-80", 936},
    {"euc-cn", 936},
    {"x-euc-cn", 936},
    {"gbk", 936},
    {"x-gbk", 936},
    {"chinese", 936},
    {"iso-ir-58", 936},
    {"gb18030", 54936},
    {"hz-gb-2312", 52936},
    {"big5", 950},
    {"csbig5", 950},
    {"x-x-big5", 950},
    {"cn-big5", 950},
    {"big5-hkscs", 950},
    {"x-big5", 950},
    // Japanese.
    {"shift_jis", 932},
    {"shift-jis", 932},
    {"sjis", 932},
    {"x-sjis", 932},
    {"ms_kanji", 932},
    {"csshiftjis", 932},
    {"windows-31j", 932},
    {"cswindows31j", 932},
    {"euc-jp", 20932},
    {"x-euc-jp", 20932},
    {"eucjp", 20932},
    {"cseucpkdfmtjapanese", 20932},
    {"iso-2022-jp", 50220},
    {"csiso2022jp", 50220},
    // Korean.
    {"euc-kr", 949},
    {"cseuckr", 949},
    {"ks_c_5601-1987", 949},
    {"ks_c_5601-1989", 949},
    {"ks_c_5601", 949},
    {"ksc5601", 949},
    {"ksc_5601", 949},
    {"korean", 949},
    {"iso-ir-149", 949},
    {"csksc56011987", 949},
    {"uhc", 949},
    {"iso-2022-kr", 50225},
    {"csiso2022kr", 50225},
    // Vietnamese, Thai.
    {"windows-874", 874},
};

// Code pages that a "windows-", "cp", "ibm" or "ms" prefix may name by number.
constexpr unsigned kNumberedCodePages[] = {437, 708,  720,  737,  775,  850,  852,  855,  857,  858, 860,
                                           861, 862,  863,  864,  865,  866,  869,  874,  932,  936, 949,
                                           950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

}  // namespace

unsigned CodePageForCharset(const std::string& charset) {
    const std::string s = Normalise(charset);
    if (s.empty())
        return 20127;
    for (const CharsetName& n : kCharsetNames)
        if (s == n.name)
            return n.codePage;
    std::string rest;
    // Numbered families: "windows-1251", "cp866", "ibm850", "x-cp1250", "ms936" ...
    for (const char* prefix : {"windows-", "win-", "x-cp", "cp-", "cp", "ibm-", "ibm", "ms-", "ms"}) {
        if (StartsWith(s, prefix, &rest)) {
            int n = Number(rest);
            for (unsigned page : kNumberedCodePages)
                if (n >= 0 && static_cast<unsigned>(n) == page)
                    return page;
            return 0;
        }
    }
    if (StartsWith(s, "iso-8859-", &rest) || StartsWith(s, "iso8859-", &rest) || StartsWith(s, "iso_8859-", &rest) ||
        StartsWith(s, "iso8859", &rest) || StartsWith(s, "iso-8859_", &rest)) {
        // "iso_8859-5:1988" and the like carry a year after a colon.
        std::string n = rest.substr(0, rest.find(':'));
        if (n == "8-i" || n == "8i")
            return 38598;  // Hebrew in logical order
        int part = Number(n);
        if ((part >= 1 && part <= 9) || part == 13 || part == 15)
            return static_cast<unsigned>(28590 + part);
        if (part == 11)
            return 874;  // Thai: windows-874 is its superset
        return 0;
    }
    return 0;
}

namespace {

std::wstring Convert(const std::string& bytes, unsigned codePage, bool* ok) {
    *ok = true;
    if (bytes.empty())
        return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) {
        *ok = false;
        return {};
    }
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
    return w;
}

// UTF-16 (1200 little-endian, 1201 big-endian) and UTF-32 (12000, 12001), which MultiByteToWideChar does not do.
// A byte-order mark overrides the order the name gives; an odd tail byte is dropped; lone surrogates and values
// past U+10FFFF become U+FFFD.
std::wstring DecodeWideUnicode(const std::string& bytes, unsigned codePage) {
    const bool utf32 = codePage == 12000 || codePage == 12001;
    bool little = codePage == 1200 || codePage == 12000;
    const size_t unit = utf32 ? 4 : 2;
    auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])); };
    auto read = [&](size_t i) {
        uint32_t v = 0;
        for (size_t k = 0; k < unit; ++k)
            v |= byte(i + k) << (8 * (little ? k : unit - 1 - k));
        return v;
    };
    size_t i = 0;
    if (bytes.size() >= unit) {
        little = true;
        uint32_t le = read(0);
        little = false;
        uint32_t be = read(0);
        if (le == 0xFEFF) {
            little = true;
            i = unit;
        } else if (be == 0xFEFF) {
            i = unit;
        } else {
            little = codePage == 1200 || codePage == 12000;
        }
    }
    std::wstring w;
    w.reserve(bytes.size() / unit);
    for (; i + unit <= bytes.size(); i += unit) {
        uint32_t v = read(i);
        if (utf32) {
            if (v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) {
                w += L'\xFFFD';
            } else if (v >= 0x10000) {
                w += static_cast<wchar_t>(0xD800 + ((v - 0x10000) >> 10));
                w += static_cast<wchar_t>(0xDC00 + ((v - 0x10000) & 0x3FF));
            } else {
                w += static_cast<wchar_t>(v);
            }
            continue;
        }
        if (v >= 0xD800 && v <= 0xDBFF && i + 2 * unit <= bytes.size()) {
            uint32_t low = read(i + unit);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                w += static_cast<wchar_t>(v);
                w += static_cast<wchar_t>(low);
                i += unit;
                continue;
            }
        }
        w += v >= 0xD800 && v <= 0xDFFF ? L'\xFFFD' : static_cast<wchar_t>(v);
    }
    return w;
}

}  // namespace

std::wstring DecodeCharset(const std::string& bytes, const std::string& charset) {
    unsigned cp = CodePageForCharset(charset);
    bool ok = true;
    if (cp == 20127) {
        bool ascii = true;
        for (unsigned char c : bytes)
            ascii = ascii && c < 0x80;
        if (ascii)
            return std::wstring(bytes.begin(), bytes.end());
        return DecodeUnlabelled(bytes);
    }
    if (cp == 1200 || cp == 1201 || cp == 12000 || cp == 12001)
        return DecodeWideUnicode(bytes, cp);
    if (cp != 0) {
        std::wstring w = Convert(bytes, cp, &ok);
        if (ok)
            return w;
    }
    return Convert(bytes, CP_ACP, &ok);
}

std::wstring DecodeUnlabelled(const std::string& bytes) {
    bool ok = true;
    if (IsValidUtf8(bytes))
        return Convert(bytes, CP_UTF8, &ok);
    return Convert(bytes, CP_ACP, &ok);
}

}  // namespace netlib
