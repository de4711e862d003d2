// Charset names to code pages. The table covers what Russian, Ukrainian and Belarusian mail uses in practice
// (UTF-8, windows-1251, KOI8-R/U, CP866, ISO-8859-5) and the common western sets.
#include <windows.h>

#include <cctype>
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

}  // namespace

unsigned CodePageForCharset(const std::string& charset) {
    const std::string s = Normalise(charset);
    std::string rest;
    if (s == "utf-8" || s == "utf8")
        return CP_UTF8;
    if (s.empty() || s == "us-ascii" || s == "ascii" || s == "ansi_x3.4-1968" || s == "us" || s == "iso646-us")
        return 20127;
    if (s == "koi8-r" || s == "koi8r" || s == "cskoi8r")
        return 20866;
    if (s == "koi8-u" || s == "koi8u" || s == "koi8-ru")
        return 21866;
    if (s == "cp866" || s == "ibm866" || s == "866" || s == "csibm866" || s == "x-cp866")
        return 866;
    if (s == "latin1" || s == "l1")
        return 28591;
    if (s == "latin2" || s == "l2")
        return 28592;
    if (StartsWith(s, "windows-", &rest) || StartsWith(s, "cp", &rest) || StartsWith(s, "win-", &rest) ||
        StartsWith(s, "x-cp", &rest)) {
        int n = Number(rest);
        if (n >= 1250 && n <= 1258)
            return static_cast<unsigned>(n);
        return 0;
    }
    if (StartsWith(s, "iso-8859-", &rest) || StartsWith(s, "iso8859-", &rest) || StartsWith(s, "iso_8859-", &rest) ||
        StartsWith(s, "iso8859", &rest)) {
        // "iso_8859-5:1988" and the like carry a year after a colon.
        std::string n = rest.substr(0, rest.find(':'));
        int part = Number(n);
        if ((part >= 1 && part <= 9) || part == 13 || part == 15)
            return static_cast<unsigned>(28590 + part);
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
