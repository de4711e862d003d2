// Small byte and text helpers shared by the IMAP, MIME and server-list parsers (text trimming and UTF-8 come from
// base/). netlib stands on Win32 and base alone, so it does not borrow the class library's helpers. Case folding is
// ASCII only: protocol words and charset names are ASCII, and bytes above 127 must pass through unchanged.
#pragma once

#include <cctype>
#include <string>

namespace netlib::text {

inline char LowerAscii(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

inline char UpperAscii(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

inline std::string Lower(std::string s) {
    for (char& c : s)
        c = LowerAscii(c);
    return s;
}

inline std::string Upper(std::string s) {
    for (char& c : s)
        c = UpperAscii(c);
    return s;
}

inline bool EqualNoCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return i == a.size() && b[i] == 0;
}

// The blanks of header syntax: space, tab and the line breaks left by unfolding.
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

template <class Char, class IsTrimmed>
std::basic_string<Char> TrimIf(const std::basic_string<Char>& s, IsTrimmed isTrimmed) {
    size_t b = 0, e = s.size();
    while (b < e && isTrimmed(s[b]))
        ++b;
    while (e > b && isTrimmed(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

inline std::string TrimBlanks(const std::string& s) {
    return TrimIf(s, IsBlank);
}

// Value of a hexadecimal digit, or -1.
inline int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Value of a base64 digit, or -1.
inline int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

// Lenient base64 as mail needs it: characters outside the alphabet (line breaks, blanks, garbage) are skipped, and
// the first '=' ends the data; a trailing partial group yields only its whole bytes.
inline std::string DecodeBase64Lenient(const std::string& s) {
    std::string out;
    out.reserve(s.size() / 4 * 3);
    unsigned acc = 0;
    int bits = 0;
    for (char c : s) {
        if (c == '=')
            break;
        int v = Base64Value(c);
        if (v < 0)
            continue;
        acc = (acc << 6) | static_cast<unsigned>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((acc >> bits) & 0xFF);
        }
    }
    return out;
}

}  // namespace netlib::text
