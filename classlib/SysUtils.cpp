// Pure part of SysUtils: exceptions, string routines, number and date conversions, date maths.
// The locale, clock, code-page and file-system glue is in SysUtilsWin.cpp.
#include "classlib/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <limits>

Exception::Exception(std::wstring message) : message_(std::move(message)), utf8_(WideToUtf8(message_)) {}

namespace {

[[noreturn]] void ConvertError(const wchar_t* pattern, const std::wstring& value) {
    throw EConvertError(Format(pattern, value));
}

bool IsBlank(wchar_t c) {
    return c <= L' ';
}

wchar_t AsciiUpper(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
}

// ---- Integer parsing ----
// Optional leading blanks, sign, then decimal digits or '$' / "0x" / 'x' and hexadecimal digits. Hexadecimal
// values may fill the whole unsigned range (so "$FFFFFFFF" is -1 as a 32-bit value: hexadecimal is a bit pattern).
bool ParseInteger(const std::wstring& s,
                  long long minValue,
                  long long maxValue,
                  unsigned long long hexMax,
                  long long& out) {
    size_t i = 0;
    while (i < s.size() && s[i] == L' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) {
        negative = s[i] == L'-';
        ++i;
    }
    bool hex = false;
    if (i < s.size() && s[i] == L'$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
        hex = true;
        i += 2;
    } else if (i < s.size() && (s[i] == L'x' || s[i] == L'X')) {
        hex = true;
        ++i;
    }
    if (i >= s.size())
        return false;
    unsigned long long value = 0;
    const unsigned long long limit = hex ? hexMax
                                         : (negative ? static_cast<unsigned long long>(-(minValue + 1)) + 1
                                                     : static_cast<unsigned long long>(maxValue));
    for (; i < s.size(); ++i) {
        wchar_t c = s[i];
        unsigned digit;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (hex && c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else if (hex && c >= L'A' && c <= L'F')
            digit = c - L'A' + 10;
        else
            return false;
        unsigned base = hex ? 16 : 10;
        if (value > (limit - digit) / base)
            return false;
        value = value * base + digit;
    }
    if (hex) {
        // Reinterpret within the target width.
        long long v;
        if (hexMax == 0xFFFFFFFFull)
            v = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        else
            v = static_cast<long long>(value);
        out = negative ? -v : v;
        return true;
    }
    out = negative ? -static_cast<long long>(value - 1) - 1 : static_cast<long long>(value);
    return true;
}

// ---- Float text ----
// Decimal digits of |value| rounded to `precision` significant digits: digits without trailing zeros and the
// decimal exponent of the point (value = 0.digits * 10^exponent).
void DecimalDigits(double value, int precision, std::wstring& digits, int& exponent) {
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.*e", precision - 1, std::fabs(value));
    digits.clear();
    const wchar_t* p = buf;
    for (; *p && *p != L'e'; ++p)
        if (*p >= L'0' && *p <= L'9')
            digits += *p;
    int e = *p == L'e' ? static_cast<int>(std::wcstol(p + 1, nullptr, 10)) : 0;
    while (digits.size() > 1 && digits.back() == L'0')
        digits.pop_back();
    exponent = e + 1;
    if (digits == L"0")
        exponent = 0;
}

std::wstring GeneralFloat(double value, int precision, wchar_t decimalSep) {
    if (std::isnan(value))
        return L"NAN";
    if (std::isinf(value))
        return value > 0 ? L"INF" : L"-INF";
    if (value == 0)
        return L"0";
    std::wstring digits;
    int exponent;
    DecimalDigits(value, precision, digits, exponent);
    std::wstring out = value < 0 ? L"-" : L"";
    if (exponent > precision || exponent < -3) {
        out += digits[0];
        if (digits.size() > 1) {
            out += decimalSep;
            out.append(digits, 1);
        }
        out += L'E';
        int e = exponent - 1;
        if (e < 0)
            out += L'-';
        out += std::to_wstring(std::abs(e));
        return out;
    }
    if (exponent <= 0) {
        out += L'0';
        out += decimalSep;
        out.append(static_cast<size_t>(-exponent), L'0');
        out += digits;
        return out;
    }
    if (static_cast<int>(digits.size()) <= exponent) {
        out += digits;
        out.append(static_cast<size_t>(exponent) - digits.size(), L'0');
        return out;
    }
    out.append(digits, 0, static_cast<size_t>(exponent));
    out += decimalSep;
    out.append(digits, static_cast<size_t>(exponent));
    return out;
}

std::wstring FixedFloat(double value, int decimals, bool thousands, const TFormatSettings& fs) {
    if (std::isnan(value))
        return L"NAN";
    if (std::isinf(value))
        return value > 0 ? L"INF" : L"-INF";
    decimals = std::clamp(decimals, 0, 18);
    wchar_t buf[400];
    std::swprintf(buf, 400, L"%.*f", decimals, value);
    std::wstring s = buf;
    bool negative = !s.empty() && s[0] == L'-';
    if (negative)
        s.erase(0, 1);
    size_t dot = s.find(L'.');
    std::wstring intPart = s.substr(0, dot);
    std::wstring frac = dot == std::wstring::npos ? L"" : s.substr(dot + 1);
    if (thousands && fs.ThousandSeparator != 0) {
        std::wstring grouped;
        int n = static_cast<int>(intPart.size());
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                grouped += fs.ThousandSeparator;
            grouped += intPart[i];
        }
        intPart = grouped;
    }
    bool allZero = std::all_of(s.begin(), s.end(), [](wchar_t c) { return c == L'0' || c == L'.'; });
    std::wstring out = (negative && !allZero) ? L"-" : L"";
    out += intPart;
    if (!frac.empty()) {
        out += fs.DecimalSeparator;
        out += frac;
    }
    return out;
}

std::wstring ScientificFloat(double value, int precision, const TFormatSettings& fs) {
    if (std::isnan(value) || std::isinf(value))
        return GeneralFloat(value, 15, fs.DecimalSeparator);
    precision = std::clamp(precision, 1, 18);
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.*E", precision - 1, value);
    std::wstring s = buf;
    size_t e = s.find(L'E');
    std::wstring mant = s.substr(0, e);
    std::replace(mant.begin(), mant.end(), L'.', fs.DecimalSeparator);
    int exp = static_cast<int>(std::wcstol(s.c_str() + e + 1, nullptr, 10));
    wchar_t ebuf[16];
    std::swprintf(ebuf, 16, L"E%c%03d", exp < 0 ? L'-' : L'+', std::abs(exp));
    return mant + ebuf;
}

}  // namespace

// ---- Format -------------------------------------------------------------------------------------------------------
std::wstring FormatArgs(std::wstring_view format, const TFormatArg* args, size_t count) {
    std::wstring out;
    size_t next = 0;
    auto fail = [&]() -> void {
        throw EConvertError(L"Format '" + std::wstring(format) + L"' invalid or incompatible with argument");
    };
    auto takeInt = [&]() -> long long {
        if (next >= count)
            fail();
        const TFormatArg& a = args[next++];
        if (a.kind == TFormatArg::Kind::Int)
            return a.i;
        if (a.kind == TFormatArg::Kind::UInt)
            return static_cast<long long>(a.u);
        fail();
        return 0;
    };
    const TFormatSettings& fs = FormatSettings;
    for (size_t i = 0; i < format.size(); ++i) {
        wchar_t c = format[i];
        if (c != L'%') {
            out += c;
            continue;
        }
        if (++i >= format.size())
            fail();
        if (format[i] == L'%') {
            out += L'%';
            continue;
        }
        // Optional argument index "n:".
        size_t j = i;
        while (j < format.size() && iswdigit(format[j]))
            ++j;
        if (j < format.size() && format[j] == L':' && j > i) {
            next = static_cast<size_t>(std::wcstoul(std::wstring(format.substr(i, j - i)).c_str(), nullptr, 10));
            i = j + 1;
        }
        bool left = false;
        if (i < format.size() && format[i] == L'-') {
            left = true;
            ++i;
        }
        int width = -1;
        if (i < format.size() && format[i] == L'*') {
            width = static_cast<int>(takeInt());
            ++i;
        } else {
            j = i;
            while (j < format.size() && iswdigit(format[j]))
                ++j;
            if (j > i)
                width = static_cast<int>(std::wcstol(std::wstring(format.substr(i, j - i)).c_str(), nullptr, 10));
            i = j;
        }
        int precision = -1;
        if (i < format.size() && format[i] == L'.') {
            ++i;
            if (i < format.size() && format[i] == L'*') {
                precision = static_cast<int>(takeInt());
                ++i;
            } else {
                j = i;
                while (j < format.size() && iswdigit(format[j]))
                    ++j;
                precision =
                    j > i ? static_cast<int>(std::wcstol(std::wstring(format.substr(i, j - i)).c_str(), nullptr, 10))
                          : 0;
                i = j;
            }
        }
        if (i >= format.size())
            fail();
        wchar_t type = static_cast<wchar_t>(towlower(format[i]));
        if (next >= count)
            fail();
        const TFormatArg& a = args[next++];
        std::wstring piece;
        switch (type) {
            case L'd':
            case L'u': {
                long long v;
                if (a.kind == TFormatArg::Kind::Int)
                    v = a.i;
                else if (a.kind == TFormatArg::Kind::UInt)
                    v = static_cast<long long>(a.u);
                else
                    fail();
                bool neg = a.kind == TFormatArg::Kind::Int && v < 0;
                unsigned long long mag = a.kind == TFormatArg::Kind::UInt ? a.u
                                         : neg                            ? 0 - static_cast<unsigned long long>(v)
                                                                          : static_cast<unsigned long long>(v);
                if (type == L'u' && neg) {  // a negative value prints as its 32-bit two's complement
                    mag = static_cast<std::uint32_t>(v);
                    neg = false;
                }
                std::wstring digits = std::to_wstring(mag);
                if (precision > static_cast<int>(digits.size()))
                    digits.insert(0, static_cast<size_t>(precision) - digits.size(), L'0');
                piece = (neg ? L"-" : L"") + digits;
                break;
            }
            case L'x': {
                unsigned long long v;
                if (a.kind == TFormatArg::Kind::Int)
                    v = a.i < 0 && a.i >= INT32_MIN ? static_cast<std::uint32_t>(a.i)
                                                    : static_cast<unsigned long long>(a.i);
                else if (a.kind == TFormatArg::Kind::UInt)
                    v = a.u;
                else
                    fail();
                piece = IntToHex(v, precision < 0 ? 0 : precision);
                break;
            }
            case L's':
                if (a.kind != TFormatArg::Kind::Text)
                    fail();
                piece = a.text;
                if (precision >= 0 && static_cast<size_t>(precision) < piece.size())
                    piece.resize(static_cast<size_t>(precision));
                break;
            case L'f':
            case L'm':
            case L'n':
            case L'e':
            case L'g': {
                double v;
                if (a.kind == TFormatArg::Kind::Float)
                    v = a.f;
                else
                    fail();
                if (type == L'g')
                    piece = GeneralFloat(v, precision <= 0 ? 15 : std::min(precision, 18), fs.DecimalSeparator);
                else if (type == L'e')
                    piece = ScientificFloat(v, precision < 0 ? 15 : precision, fs);
                else
                    piece = FixedFloat(v, precision < 0 ? 2 : precision, type == L'n', fs);
                break;
            }
            case L'p': {
                if (a.kind != TFormatArg::Kind::Pointer)
                    fail();
                piece = IntToHex(reinterpret_cast<std::uintptr_t>(a.ptr), static_cast<int>(sizeof(void*) * 2));
                break;
            }
            default:
                fail();
        }
        if (width > static_cast<int>(piece.size())) {
            size_t pad = static_cast<size_t>(width) - piece.size();
            if (left)
                piece.append(pad, L' ');
            else
                piece.insert(0, pad, L' ');
        }
        out += piece;
    }
    return out;
}

// ---- Integers -----------------------------------------------------------------------------------------------------
std::wstring IntToStr(long long value) {
    return std::to_wstring(value);
}

std::wstring IntToHex(unsigned long long value, int digits) {
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring s;
    do {
        s.insert(s.begin(), kHex[value & 15]);
        value >>= 4;
    } while (value);
    if (digits > static_cast<int>(s.size()))
        s.insert(0, static_cast<size_t>(digits) - s.size(), L'0');
    return s;
}

bool TryStrToInt(const std::wstring& s, int& value) {
    long long v;
    if (!ParseInteger(s, INT32_MIN, INT32_MAX, 0xFFFFFFFFull, v))
        return false;
    value = static_cast<int>(v);
    return true;
}

int StrToInt(const std::wstring& s) {
    int v;
    if (!TryStrToInt(s, v))
        ConvertError(L"'%s' is not a valid integer value", s);
    return v;
}

int StrToIntDef(const std::wstring& s, int defaultValue) {
    int v;
    return TryStrToInt(s, v) ? v : defaultValue;
}

bool TryStrToInt64(const std::wstring& s, long long& value) {
    return ParseInteger(s, INT64_MIN, INT64_MAX, UINT64_MAX, value);
}

long long StrToInt64(const std::wstring& s) {
    long long v;
    if (!TryStrToInt64(s, v))
        ConvertError(L"'%s' is not a valid integer value", s);
    return v;
}

long long StrToInt64Def(const std::wstring& s, long long defaultValue) {
    long long v;
    return TryStrToInt64(s, v) ? v : defaultValue;
}

// ---- Strings ------------------------------------------------------------------------------------------------------
std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::wstring TrimLeft(const std::wstring& s) {
    size_t b = 0;
    while (b < s.size() && IsBlank(s[b]))
        ++b;
    return s.substr(b);
}

std::wstring TrimRight(const std::wstring& s) {
    size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1]))
        --e;
    return s.substr(0, e);
}

std::wstring UpperCase(const std::wstring& s) {
    std::wstring r = s;
    for (auto& c : r)
        c = AsciiUpper(c);
    return r;
}

std::wstring LowerCase(const std::wstring& s) {
    std::wstring r = s;
    for (auto& c : r)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c + 32);
    return r;
}

int CompareStr(const std::wstring& a, const std::wstring& b) {
    int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CompareText(const std::wstring& a, const std::wstring& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        wchar_t x = AsciiUpper(a[i]), y = AsciiUpper(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

bool AnsiSameText(const std::wstring& a, const std::wstring& b) {
    return AnsiCompareText(a, b) == 0;
}

std::wstring StringReplaceAll(const std::wstring& s,
                              const std::wstring& from,
                              const std::wstring& to,
                              bool ignoreCase) {
    if (from.empty())
        return s;
    const std::wstring hay = ignoreCase ? AnsiUpperCase(s) : s;
    const std::wstring needle = ignoreCase ? AnsiUpperCase(from) : from;
    std::wstring out;
    size_t pos = 0;
    for (;;) {
        size_t f = hay.find(needle, pos);
        if (f == std::wstring::npos)
            break;
        out.append(s, pos, f - pos);
        out += to;
        pos = f + from.size();
    }
    out.append(s, pos);
    return out;
}

std::wstring QuotedStr(const std::wstring& s, wchar_t quote) {
    std::wstring r(1, quote);
    for (wchar_t c : s) {
        r += c;
        if (c == quote)
            r += c;
    }
    r += quote;
    return r;
}

std::wstring ExtractQuotedStr(const std::wstring& s, size_t& pos, wchar_t quote) {
    std::wstring r;
    if (pos >= s.size() || s[pos] != quote)
        return r;
    ++pos;
    while (pos < s.size()) {
        if (s[pos] == quote) {
            if (pos + 1 < s.size() && s[pos + 1] == quote) {
                r += quote;
                pos += 2;
                continue;
            }
            ++pos;
            return r;
        }
        r += s[pos++];
    }
    return r;
}

// ---- File names ----------------------------------------------------------------------------------------------------
namespace {
size_t LastDelimiter(const std::wstring& s, const wchar_t* delims) {
    size_t p = s.find_last_of(delims);
    return p;
}
}  // namespace

std::wstring ExtractFilePath(const std::wstring& fileName) {
    size_t p = LastDelimiter(fileName, L"\\/:");
    return p == std::wstring::npos ? L"" : fileName.substr(0, p + 1);
}

std::wstring ExtractFileDir(const std::wstring& fileName) {
    size_t p = LastDelimiter(fileName, L"\\/:");
    if (p == std::wstring::npos)
        return L"";
    // Keep the separator of a root ("C:\", "\") so the result still names the root.
    if (p > 0 && (fileName[p] == L'\\' || fileName[p] == L'/') && fileName[p - 1] != L':' && fileName[p - 1] != L'\\' &&
        fileName[p - 1] != L'/')
        return fileName.substr(0, p);
    return fileName.substr(0, p + 1);
}

std::wstring ExtractFileName(const std::wstring& fileName) {
    size_t p = LastDelimiter(fileName, L"\\/:");
    return p == std::wstring::npos ? fileName : fileName.substr(p + 1);
}

std::wstring ExtractFileExt(const std::wstring& fileName) {
    size_t p = LastDelimiter(fileName, L".\\/:");
    if (p == std::wstring::npos || fileName[p] != L'.')
        return L"";
    return fileName.substr(p);
}

std::wstring ChangeFileExt(const std::wstring& fileName, const std::wstring& ext) {
    size_t p = LastDelimiter(fileName, L".\\/:");
    if (p == std::wstring::npos || fileName[p] != L'.')
        return fileName + ext;
    return fileName.substr(0, p) + ext;
}

std::wstring IncludeTrailingPathDelimiter(const std::wstring& path) {
    if (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        return path;
    return path + L"\\";
}

std::wstring ExcludeTrailingPathDelimiter(const std::wstring& path) {
    std::wstring r = path;
    if (!r.empty() && (r.back() == L'\\' || r.back() == L'/'))
        r.pop_back();
    return r;
}

// ---- Format settings -----------------------------------------------------------------------------------------------
TFormatSettings TFormatSettings::Invariant() {
    static const wchar_t* kShortMonths[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                            L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    static const wchar_t* kLongMonths[] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                                           L"July",    L"August",   L"September", L"October", L"November", L"December"};
    static const wchar_t* kShortDays[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    static const wchar_t* kLongDays[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                         L"Thursday", L"Friday", L"Saturday"};
    TFormatSettings fs;
    for (int i = 0; i < 12; ++i) {
        fs.ShortMonthNames[i] = kShortMonths[i];
        fs.LongMonthNames[i] = kLongMonths[i];
    }
    for (int i = 0; i < 7; ++i) {
        fs.ShortDayNames[i] = kShortDays[i];
        fs.LongDayNames[i] = kLongDays[i];
    }
    return fs;
}

// ---- Floats --------------------------------------------------------------------------------------------------------
std::wstring FloatToStr(double value, const TFormatSettings& fs) {
    return GeneralFloat(value, 15, fs.DecimalSeparator);
}

std::wstring FloatToStr(double value) {
    return FloatToStr(value, FormatSettings);
}

std::wstring FloatToStrF(double value, int digits, bool thousands, const TFormatSettings& fs) {
    return FixedFloat(value, digits, thousands, fs);
}

std::wstring FloatToStrF(double value, int digits, bool thousands) {
    return FixedFloat(value, digits, thousands, FormatSettings);
}

bool TryStrToFloat(const std::wstring& s, double& value, const TFormatSettings& fs) {
    std::wstring t = Trim(s);
    if (t.empty())
        return false;
    // Rewrite to the C locale's form and check the whole text is one number.
    std::wstring c;
    size_t i = 0;
    if (t[i] == L'+' || t[i] == L'-')
        c += t[i++];
    bool digits = false, point = false;
    for (; i < t.size(); ++i) {
        wchar_t ch = t[i];
        if (ch >= L'0' && ch <= L'9') {
            digits = true;
            c += ch;
        } else if (ch == fs.DecimalSeparator && !point) {
            point = true;
            c += L'.';
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    if (i < t.size() && (t[i] == L'e' || t[i] == L'E')) {
        c += L'e';
        ++i;
        if (i < t.size() && (t[i] == L'+' || t[i] == L'-'))
            c += t[i++];
        bool expDigits = false;
        for (; i < t.size() && t[i] >= L'0' && t[i] <= L'9'; ++i) {
            c += t[i];
            expDigits = true;
        }
        if (!expDigits)
            return false;
    }
    if (i != t.size())
        return false;
    errno = 0;
    wchar_t* end = nullptr;
    double v = std::wcstod(c.c_str(), &end);
    if (end == nullptr || *end != 0 || std::isinf(v) || std::isnan(v))
        return false;
    value = v;
    return true;
}

bool TryStrToFloat(const std::wstring& s, double& value) {
    return TryStrToFloat(s, value, FormatSettings);
}

double StrToFloat(const std::wstring& s, const TFormatSettings& fs) {
    double v;
    if (!TryStrToFloat(s, v, fs))
        ConvertError(L"'%s' is not a valid floating point value", s);
    return v;
}

double StrToFloat(const std::wstring& s) {
    return StrToFloat(s, FormatSettings);
}

double StrToFloatDef(const std::wstring& s, double defaultValue) {
    double v;
    return TryStrToFloat(s, v) ? v : defaultValue;
}

// ---- Date maths ----------------------------------------------------------------------------------------------------
namespace {
constexpr int kDaysTo1899 = 693594;  // days from 0001-01-01 to 1899-12-30
constexpr int kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                   {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Day number and milliseconds of the day, the fraction always counted forward from midnight.
void SplitDateTime(TDateTime dt, long long& day, long long& msec) {
    double whole = std::trunc(dt);
    double frac = std::fabs(dt - whole);
    long long ms = std::llround(frac * MSecsPerDay);
    long long d = static_cast<long long>(whole);
    if (ms >= static_cast<long long>(MSecsPerDay)) {  // rounding up to the next midnight
        ms = 0;
        d += dt < 0 ? -1 : 1;
    }
    day = d;
    msec = ms;
}
}  // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month) {
    if (month < 1 || month > 12)
        return 0;
    return kMonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
    if (year < MinYear || year > MaxYear || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
        return false;
    const int* days = kMonthDays[IsLeapYear(year) ? 1 : 0];
    long long d = day;
    for (int m = 0; m < month - 1; ++m)
        d += days[m];
    long long y = year - 1;
    d += y * 365 + y / 4 - y / 100 + y / 400 - kDaysTo1899;
    date = static_cast<double>(d);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime d;
    if (!TryEncodeDate(year, month, day, d))
        throw EConvertError(L"Invalid argument to date encode");
    return d;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
    if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 || msec >= 1000)
        return false;
    time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
    TDateTime t;
    if (!TryEncodeTime(hour, min, sec, msec, t))
        throw EConvertError(L"Invalid argument to time encode");
    return t;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
    TDateTime d = EncodeDate(year, month, day);
    TDateTime t = EncodeTime(hour, min, sec, msec);
    return d >= 0 ? d + t : d - t;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
    long long d, ms;
    SplitDateTime(date, d, ms);
    long long t = d + kDaysTo1899 - 1;  // days since 0001-01-01, 0-based
    if (t < 0 || t > 3652058) {         // outside 0001-01-01 .. 9999-12-31
        year = month = day = 0;
        return;
    }
    long long y = 1;
    long long n400 = t / 146097;
    t %= 146097;
    long long n100 = t / 36524;
    t %= 36524;
    if (n100 == 4) {
        n100 = 3;
        t += 36524;
    }
    long long n4 = t / 1461;
    t %= 1461;
    long long n1 = t / 365;
    t %= 365;
    if (n1 == 4) {
        n1 = 3;
        t += 365;
    }
    y += n400 * 400 + n100 * 100 + n4 * 4 + n1;
    year = static_cast<int>(y);
    const int* days = kMonthDays[IsLeapYear(year) ? 1 : 0];
    int m = 0;
    while (t >= days[m]) {
        t -= days[m];
        ++m;
    }
    month = m + 1;
    day = static_cast<int>(t) + 1;
}

void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec) {
    long long d, ms;
    SplitDateTime(time, d, ms);
    hour = static_cast<int>(ms / 3600000);
    ms %= 3600000;
    min = static_cast<int>(ms / 60000);
    ms %= 60000;
    sec = static_cast<int>(ms / 1000);
    msec = static_cast<int>(ms % 1000);
}

void DecodeDateTime(TDateTime dt, int& year, int& month, int& day, int& hour, int& min, int& sec, int& msec) {
    DecodeDate(dt, year, month, day);
    DecodeTime(dt, hour, min, sec, msec);
}

int DayOfWeek(TDateTime date) {
    long long d, ms;
    SplitDateTime(date, d, ms);
    // 1899-12-30 was a Saturday (7).
    long long r = ((d + 6) % 7 + 7) % 7;  // 0 = Sunday
    return static_cast<int>(r) + 1;
}

TDateTime DateOf(TDateTime dt) {
    long long d, ms;
    SplitDateTime(dt, d, ms);
    return static_cast<double>(d);
}

TDateTime TimeOf(TDateTime dt) {
    long long d, ms;
    SplitDateTime(dt, d, ms);
    return static_cast<double>(ms) / MSecsPerDay;
}

// ---- Date formatting -----------------------------------------------------------------------------------------------
namespace {

std::wstring Pad2(int v) {
    wchar_t b[16];
    std::swprintf(b, 16, L"%02d", v);
    return b;
}

bool StartsWithNoCase(const std::wstring& s, size_t pos, const wchar_t* word) {
    for (size_t k = 0; word[k]; ++k)
        if (pos + k >= s.size() || AsciiUpper(s[pos + k]) != AsciiUpper(word[k]))
            return false;
    return true;
}

// Whether an am/pm specifier appears anywhere after pos (outside quotes): then hours are 12-hour.
bool HasAmPmAfter(const std::wstring& f, size_t pos) {
    wchar_t quote = 0;
    for (size_t i = pos; i < f.size(); ++i) {
        wchar_t c = f[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == L'"' || c == L'\'') {
            quote = c;
            continue;
        }
        if (StartsWithNoCase(f, i, L"am/pm") || StartsWithNoCase(f, i, L"a/p") || StartsWithNoCase(f, i, L"ampm"))
            return true;
    }
    return false;
}

void AppendFormatted(std::wstring& out, const std::wstring& f, TDateTime dt, const TFormatSettings& fs, int depth) {
    if (depth > 2)
        return;  // nested formats that name themselves must not loop
    int year, month, day, hour, minute, sec, msec;
    DecodeDateTime(dt, year, month, day, hour, minute, sec, msec);
    int dow = DayOfWeek(dt) - 1;
    bool lastWasHour = false;
    size_t i = 0;
    auto count = [&](wchar_t c) {
        size_t n = 0;
        while (i + n < f.size() && AsciiUpper(f[i + n]) == c)
            ++n;
        return n;
    };
    while (i < f.size()) {
        wchar_t c = f[i];
        wchar_t u = AsciiUpper(c);
        if (c == L'"' || c == L'\'') {
            size_t close = f.find(c, i + 1);
            if (close == std::wstring::npos)
                close = f.size();
            out.append(f, i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        switch (u) {
            case L'Y': {
                size_t n = count(L'Y');
                i += n;
                if (n <= 2)
                    out += Pad2(year % 100);
                else {
                    wchar_t b[16];
                    std::swprintf(b, 16, L"%04d", year);
                    out += b;
                }
                lastWasHour = false;
                break;
            }
            case L'M': {
                size_t n = count(L'M');
                i += n;
                if (lastWasHour && n <= 2) {
                    out += n == 1 ? std::to_wstring(minute) : Pad2(minute);
                } else if (n == 1) {
                    out += std::to_wstring(month);
                } else if (n == 2) {
                    out += Pad2(month);
                } else if (n == 3) {
                    out += month >= 1 ? fs.ShortMonthNames[month - 1] : L"";
                } else {
                    out += month >= 1 ? fs.LongMonthNames[month - 1] : L"";
                }
                lastWasHour = false;
                break;
            }
            case L'D': {
                size_t n = count(L'D');
                i += n;
                if (n == 1)
                    out += std::to_wstring(day);
                else if (n == 2)
                    out += Pad2(day);
                else if (n == 3)
                    out += fs.ShortDayNames[dow];
                else if (n == 4)
                    out += fs.LongDayNames[dow];
                else if (n == 5)
                    AppendFormatted(out, fs.ShortDateFormat, dt, fs, depth + 1);
                else
                    AppendFormatted(out, fs.LongDateFormat, dt, fs, depth + 1);
                lastWasHour = false;
                break;
            }
            case L'H': {
                size_t n = count(L'H');
                i += n;
                int h = hour;
                if (HasAmPmAfter(f, i)) {
                    h = hour % 12;
                    if (h == 0)
                        h = 12;
                }
                out += n == 1 ? std::to_wstring(h) : Pad2(h);
                lastWasHour = true;
                break;
            }
            case L'N': {
                size_t n = count(L'N');
                i += n;
                out += n == 1 ? std::to_wstring(minute) : Pad2(minute);
                lastWasHour = false;
                break;
            }
            case L'S': {
                size_t n = count(L'S');
                i += n;
                out += n == 1 ? std::to_wstring(sec) : Pad2(sec);
                lastWasHour = false;
                break;
            }
            case L'Z': {
                size_t n = count(L'Z');
                i += n;
                if (n == 1) {
                    out += std::to_wstring(msec);
                } else {
                    wchar_t b[16];
                    std::swprintf(b, 16, L"%03d", msec);
                    out += b;
                }
                lastWasHour = false;
                break;
            }
            case L'T': {
                size_t n = count(L'T');
                i += n;
                AppendFormatted(out, n == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, dt, fs, depth + 1);
                lastWasHour = false;
                break;
            }
            case L'C': {
                i += 1;
                AppendFormatted(out, fs.ShortDateFormat, dt, fs, depth + 1);
                if (hour != 0 || minute != 0 || sec != 0 || msec != 0) {
                    out += L' ';
                    AppendFormatted(out, fs.LongTimeFormat, dt, fs, depth + 1);
                }
                lastWasHour = false;
                break;
            }
            case L'A': {
                if (StartsWithNoCase(f, i, L"am/pm")) {
                    std::wstring t = hour < 12 ? f.substr(i, 2) : f.substr(i + 3, 2);
                    out += t;
                    i += 5;
                } else if (StartsWithNoCase(f, i, L"a/p")) {
                    out += hour < 12 ? f[i] : f[i + 2];
                    i += 3;
                } else if (StartsWithNoCase(f, i, L"ampm")) {
                    out += hour < 12 ? fs.TimeAMString : fs.TimePMString;
                    i += 4;
                } else {
                    out += c;
                    ++i;
                }
                break;
            }
            case L'/':
                if (fs.DateSeparator)
                    out += fs.DateSeparator;
                ++i;
                break;
            case L':':
                if (fs.TimeSeparator)
                    out += fs.TimeSeparator;
                ++i;
                break;
            default:
                out += c;
                ++i;
                break;
        }
    }
}

}  // namespace

std::wstring FormatDateTime(const std::wstring& format, TDateTime dt, const TFormatSettings& fs) {
    std::wstring out;
    AppendFormatted(out, format.empty() ? std::wstring(L"c") : format, dt, fs, 0);
    return out;
}

std::wstring FormatDateTime(const std::wstring& format, TDateTime dt) {
    return FormatDateTime(format, dt, FormatSettings);
}

std::wstring DateToStr(TDateTime date, const TFormatSettings& fs) {
    return FormatDateTime(L"ddddd", date, fs);
}
std::wstring DateToStr(TDateTime date) {
    return DateToStr(date, FormatSettings);
}
std::wstring TimeToStr(TDateTime time, const TFormatSettings& fs) {
    return FormatDateTime(L"tt", time, fs);
}
std::wstring TimeToStr(TDateTime time) {
    return TimeToStr(time, FormatSettings);
}
std::wstring DateTimeToStr(TDateTime dt, const TFormatSettings& fs) {
    return FormatDateTime(L"c", dt, fs);
}
std::wstring DateTimeToStr(TDateTime dt) {
    return DateTimeToStr(dt, FormatSettings);
}

// ---- Date parsing --------------------------------------------------------------------------------------------------
namespace {

struct Scanner {
    const std::wstring& s;
    size_t pos = 0;
    void SkipBlanks() {
        while (pos < s.size() && s[pos] == L' ')
            ++pos;
    }
    bool Number(int& value, int& digits) {
        SkipBlanks();
        size_t start = pos;
        long long v = 0;
        while (pos < s.size() && s[pos] >= L'0' && s[pos] <= L'9' && pos - start < 9) {
            v = v * 10 + (s[pos] - L'0');
            ++pos;
        }
        digits = static_cast<int>(pos - start);
        if (digits == 0 || (pos < s.size() && s[pos] >= L'0' && s[pos] <= L'9'))
            return false;
        value = static_cast<int>(v);
        return true;
    }
    bool Char(wchar_t c) {
        SkipBlanks();
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    bool AtEnd() {
        SkipBlanks();
        return pos >= s.size();
    }
};

enum class DateOrder { MDY, DMY, YMD };

DateOrder OrderOf(const std::wstring& shortDateFormat) {
    for (wchar_t c : shortDateFormat) {
        wchar_t u = AsciiUpper(c);
        if (u == L'D')
            return DateOrder::DMY;
        if (u == L'M')
            return DateOrder::MDY;
        if (u == L'Y')
            return DateOrder::YMD;
    }
    return DateOrder::MDY;
}

int CurrentYear() {
    int y, m, d;
    DecodeDate(Date(), y, m, d);
    return y;
}

bool ScanDate(Scanner& sc, const TFormatSettings& fs, TDateTime& date) {
    int n[3], digits[3];
    int count = 0;
    if (!sc.Number(n[0], digits[0]))
        return false;
    count = 1;
    while (count < 3) {
        size_t save = sc.pos;
        if (!sc.Char(fs.DateSeparator))
            break;
        if (!sc.Number(n[count], digits[count])) {
            sc.pos = save;
            return false;
        }
        ++count;
    }
    if (count < 2)
        return false;
    DateOrder order = OrderOf(fs.ShortDateFormat);
    int y, m, d;
    int yearDigits = 0;
    bool yearGiven = count == 3;
    if (count == 2) {
        y = CurrentYear();
        if (order == DateOrder::DMY) {
            d = n[0];
            m = n[1];
        } else {
            m = n[0];
            d = n[1];
        }
    } else {
        switch (order) {
            case DateOrder::MDY:
                m = n[0], d = n[1], y = n[2], yearDigits = digits[2];
                break;
            case DateOrder::DMY:
                d = n[0], m = n[1], y = n[2], yearDigits = digits[2];
                break;
            default:
                y = n[0], m = n[1], d = n[2], yearDigits = digits[0];
                break;
        }
    }
    if (yearGiven && yearDigits <= 2) {
        // Two-digit years fall in the century window of 50 years around the current year.
        int current = CurrentYear();
        int century = current - current % 100;
        y += century;
        if (y < current - 50)
            y += 100;
        else if (y >= current + 50)
            y -= 100;
    }
    return TryEncodeDate(y, m, d, date);
}

bool ScanAmPm(Scanner& sc, const TFormatSettings& fs, int& ampm) {
    sc.SkipBlanks();
    auto match = [&](const std::wstring& word) {
        if (word.empty() || !StartsWithNoCase(sc.s, sc.pos, word.c_str()))
            return false;
        sc.pos += word.size();
        return true;
    };
    if (match(fs.TimeAMString) || match(L"AM") || match(L"A")) {
        ampm = 0;
        return true;
    }
    if (match(fs.TimePMString) || match(L"PM") || match(L"P")) {
        ampm = 1;
        return true;
    }
    return false;
}

bool ScanTime(Scanner& sc, const TFormatSettings& fs, TDateTime& time) {
    int ampm = -1;
    ScanAmPm(sc, fs, ampm);
    int h, m = 0, s = 0, ms = 0, digits;
    if (!sc.Number(h, digits))
        return false;
    if (sc.Char(fs.TimeSeparator)) {
        if (!sc.Number(m, digits))
            return false;
        if (sc.Char(fs.TimeSeparator)) {
            if (!sc.Number(s, digits))
                return false;
            if (sc.Char(fs.DecimalSeparator)) {
                if (!sc.Number(ms, digits))
                    return false;
            }
        }
    }
    if (ampm < 0)
        ScanAmPm(sc, fs, ampm);
    if (ampm >= 0) {
        if (h < 0 || h > 12)
            return false;
        if (h == 12)
            h = 0;
        if (ampm == 1)
            h += 12;
    }
    return TryEncodeTime(h, m, s, ms, time);
}

// The whole of s read by one scanner; value is left alone unless it is.
bool ScanWhole(const std::wstring& s,
               const TFormatSettings& fs,
               TDateTime& value,
               bool (*scan)(Scanner&, const TFormatSettings&, TDateTime&)) {
    Scanner sc{s};
    TDateTime v;
    if (!scan(sc, fs, v) || !sc.AtEnd())
        return false;
    value = v;
    return true;
}

// StrToDate and its kin: the TryStrTo function's value, or EConvertError with pattern.
TDateTime ConvertOrRaise(const std::wstring& s,
                         const TFormatSettings& fs,
                         bool (*tryConvert)(const std::wstring&, TDateTime&, const TFormatSettings&),
                         const wchar_t* pattern) {
    TDateTime v;
    if (!tryConvert(s, v, fs))
        ConvertError(pattern, s);
    return v;
}

}  // namespace

bool TryStrToDate(const std::wstring& s, TDateTime& value, const TFormatSettings& fs) {
    return ScanWhole(s, fs, value, ScanDate);
}
bool TryStrToDate(const std::wstring& s, TDateTime& value) {
    return TryStrToDate(s, value, FormatSettings);
}
TDateTime StrToDate(const std::wstring& s, const TFormatSettings& fs) {
    return ConvertOrRaise(s, fs, TryStrToDate, L"'%s' is not a valid date");
}
TDateTime StrToDate(const std::wstring& s) {
    return StrToDate(s, FormatSettings);
}

bool TryStrToTime(const std::wstring& s, TDateTime& value, const TFormatSettings& fs) {
    return ScanWhole(s, fs, value, ScanTime);
}
bool TryStrToTime(const std::wstring& s, TDateTime& value) {
    return TryStrToTime(s, value, FormatSettings);
}
TDateTime StrToTime(const std::wstring& s, const TFormatSettings& fs) {
    return ConvertOrRaise(s, fs, TryStrToTime, L"'%s' is not a valid time");
}
TDateTime StrToTime(const std::wstring& s) {
    return StrToTime(s, FormatSettings);
}

bool TryStrToDateTime(const std::wstring& s, TDateTime& value, const TFormatSettings& fs) {
    Scanner sc{s};
    TDateTime d = 0, t = 0;
    size_t start = sc.pos;
    if (ScanDate(sc, fs, d)) {
        if (sc.AtEnd()) {
            value = d;
            return true;
        }
        if (!ScanTime(sc, fs, t) || !sc.AtEnd())
            return false;
        value = d >= 0 ? d + t : d - t;
        return true;
    }
    sc.pos = start;
    if (ScanTime(sc, fs, t) && sc.AtEnd()) {
        value = t;
        return true;
    }
    return false;
}
TDateTime StrToDateTime(const std::wstring& s, const TFormatSettings& fs) {
    return ConvertOrRaise(s, fs, TryStrToDateTime, L"'%s' is not a valid date and time");
}
TDateTime StrToDateTime(const std::wstring& s) {
    return StrToDateTime(s, FormatSettings);
}
