#include "base/Utf.h"

#include <cstdint>

namespace {

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when it is not well-formed (the caller then takes
// one byte as invalid).
size_t DecodeOne(std::string_view s, size_t i, std::uint32_t* cp) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra;
    std::uint32_t v;
    if (c < 0x80) {
        *cp = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        v = c & 0x1F;
        extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
        v = c & 0x0F;
        extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
        v = c & 0x07;
        extra = 3;
    } else {
        return 0;
    }
    if (s.size() - i <= static_cast<size_t>(extra))
        return 0;
    for (int k = 1; k <= extra; ++k) {
        unsigned char t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80)
            return 0;
        v = (v << 6) | (t & 0x3F);
    }
    static const std::uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (v < kMin[extra] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF))
        return 0;
    *cp = v;
    return static_cast<size_t>(extra) + 1;
}

}  // namespace

std::string WideToUtf8(std::wstring_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        std::uint32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // a lone surrogate cannot be encoded
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::wstring Utf8ToWide(std::string_view s) {
    std::wstring out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        std::uint32_t cp = 0;
        size_t n = DecodeOne(s, i, &cp);
        if (n == 0) {
            out += static_cast<wchar_t>(0xFFFD);
            ++i;
            continue;
        }
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<wchar_t>(cp);
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view s) {
    std::uint32_t cp = 0;
    for (size_t i = 0; i < s.size();) {
        size_t n = DecodeOne(s, i, &cp);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}
