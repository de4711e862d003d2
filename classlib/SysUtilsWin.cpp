// Win32 part of SysUtils: the user's locale settings, the local clock, code-page conversions, linguistic
// comparison and file-system queries.
#include <windows.h>

#include "classlib/SysUtils.h"

std::wstring SysErrorMessage(std::uint32_t code) {
    wchar_t* text = nullptr;
    DWORD n =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring s = n && text ? std::wstring(text, n) : Format(L"System error %u", static_cast<unsigned>(code));
    if (text)
        ::LocalFree(text);
    return TrimRight(s);
}

namespace {

std::wstring LocaleString(LCTYPE type, const std::wstring& fallback) {
    wchar_t buf[256];
    int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 256);
    if (n <= 1)
        return fallback;
    return std::wstring(buf, static_cast<size_t>(n - 1));
}

wchar_t LocaleChar(LCTYPE type, wchar_t fallback) {
    std::wstring s = LocaleString(type, std::wstring());
    return s.empty() ? fallback : s[0];
}

}  // namespace

TFormatSettings TFormatSettings::FromUserLocale() {
    TFormatSettings fs = Invariant();
    for (int i = 0; i < 12; ++i) {
        fs.ShortMonthNames[i] = LocaleString(LOCALE_SABBREVMONTHNAME1 + i, fs.ShortMonthNames[i]);
        fs.LongMonthNames[i] = LocaleString(LOCALE_SMONTHNAME1 + i, fs.LongMonthNames[i]);
    }
    // The locale numbers days from Monday (LOCALE_SDAYNAME1); our arrays start on Sunday.
    for (int i = 0; i < 7; ++i) {
        int src = (i + 6) % 7;
        fs.ShortDayNames[i] = LocaleString(LOCALE_SABBREVDAYNAME1 + src, fs.ShortDayNames[i]);
        fs.LongDayNames[i] = LocaleString(LOCALE_SDAYNAME1 + src, fs.LongDayNames[i]);
    }
    fs.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, L'.');
    fs.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, L',');
    fs.DateSeparator = LocaleChar(LOCALE_SDATE, L'/');
    fs.TimeSeparator = LocaleChar(LOCALE_STIME, L':');
    fs.ShortDateFormat = LocaleString(LOCALE_SSHORTDATE, fs.ShortDateFormat);
    fs.LongDateFormat = LocaleString(LOCALE_SLONGDATE, fs.LongDateFormat);
    fs.TimeAMString = LocaleString(LOCALE_S1159, L"AM");
    fs.TimePMString = LocaleString(LOCALE_S2359, L"PM");
    // The system's time pictures use "tt" for the marker, which means LongTimeFormat here; build our own
    // pictures from the locale's clock kind (12 or 24 hours, leading zero) instead.
    bool twelveHour = LocaleString(LOCALE_ITIME, L"0") == L"0";
    bool leadingZero = LocaleString(LOCALE_ITLZERO, L"0") != L"0";
    bool markerFirst = LocaleString(LOCALE_ITIMEMARKPOSN, L"0") != L"0";
    std::wstring hour = leadingZero ? L"hh" : L"h";
    std::wstring prefix, postfix;
    if (twelveHour) {
        if (markerFirst)
            prefix = L"AMPM ";
        else
            postfix = L" AMPM";
    }
    fs.ShortTimeFormat = prefix + hour + L":mm" + postfix;
    fs.LongTimeFormat = prefix + hour + L":mm:ss" + postfix;
    return fs;
}

TFormatSettings FormatSettings = TFormatSettings::FromUserLocale();

TDateTime Now() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return EncodeDate(st.wYear, st.wMonth, st.wDay) + EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

TDateTime Date() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return EncodeDate(st.wYear, st.wMonth, st.wDay);
}

TDateTime Time() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

std::wstring AnsiToWide(std::string_view s, unsigned codePage) {
    if (s.empty())
        return {};
    UINT cp = codePage ? codePage : CP_ACP;
    int n = ::MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string WideToAnsi(std::wstring_view s, unsigned codePage) {
    if (s.empty())
        return {};
    UINT cp = codePage ? codePage : CP_ACP;
    int n = ::WideCharToMultiByte(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(cp, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring AnsiUpperCase(const std::wstring& s) {
    std::wstring r = s;
    if (!r.empty())
        ::CharUpperBuffW(r.data(), static_cast<DWORD>(r.size()));
    return r;
}

std::wstring AnsiLowerCase(const std::wstring& s) {
    std::wstring r = s;
    if (!r.empty())
        ::CharLowerBuffW(r.data(), static_cast<DWORD>(r.size()));
    return r;
}

namespace {
int Linguistic(const std::wstring& a, const std::wstring& b, DWORD flags) {
    int r = ::CompareStringW(LOCALE_USER_DEFAULT, flags, a.data(), static_cast<int>(a.size()), b.data(),
                             static_cast<int>(b.size()));
    if (r == 0)  // failure: fall back to the ordinal order
        return flags & NORM_IGNORECASE ? CompareText(a, b) : CompareStr(a, b);
    return r - CSTR_EQUAL;
}
}  // namespace

int AnsiCompareStr(const std::wstring& a, const std::wstring& b) {
    return Linguistic(a, b, 0);
}

int AnsiCompareText(const std::wstring& a, const std::wstring& b) {
    return Linguistic(a, b, NORM_IGNORECASE);
}

bool FileExists(const std::wstring& fileName) {
    DWORD a = ::GetFileAttributesW(fileName.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& dir) {
    DWORD a = ::GetFileAttributesW(dir.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ExpandFileName(const std::wstring& fileName) {
    DWORD n = ::GetFullPathNameW(fileName.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return fileName;
    std::wstring full(n, L'\0');
    n = ::GetFullPathNameW(fileName.c_str(), n, full.data(), nullptr);
    full.resize(n);
    return full;
}
