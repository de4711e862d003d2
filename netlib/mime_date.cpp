// Mail dates. The parser is lenient in what real mail carries (missing weekday or seconds, comments, extra
// blanks, zone names, two-digit years) and strict about ranges, so a garbled date is "no date" rather than a wrong
// one.
#include <windows.h>

#include <cctype>
#include <vector>

#include "netlib/mime_date.h"
#include "netlib/text_util_p.h"

namespace netlib {
namespace {

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

using text::Lower;

bool AllDigits(const std::string& s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

int MonthIndex(const std::string& t) {
    static const char* names[] = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    std::string l = Lower(t);
    if (l.size() < 3)
        return 0;
    for (int i = 0; i < 12; ++i)
        if (l.compare(0, 3, names[i]) == 0)
            return i + 1;
    return 0;
}

// Zone offset in minutes east of UTC; false when the token is not a zone.
bool ZoneOffset(const std::string& t, int* minutes) {
    if ((t[0] == '+' || t[0] == '-') && t.size() == 5 && AllDigits(t.substr(1))) {
        int hh = (t[1] - '0') * 10 + (t[2] - '0');
        int mm = (t[3] - '0') * 10 + (t[4] - '0');
        if (mm > 59)
            return false;
        *minutes = (t[0] == '-' ? -1 : 1) * (hh * 60 + mm);
        return true;
    }
    struct Named {
        const char* name;
        int hours;
    };
    static const Named named[] = {{"ut", 0},   {"utc", 0},  {"gmt", 0},  {"z", 0},    {"est", -5}, {"edt", -4},
                                  {"cst", -6}, {"cdt", -5}, {"mst", -7}, {"mdt", -6}, {"pst", -8}, {"pdt", -7}};
    std::string l = Lower(t);
    for (const Named& n : named)
        if (l == n.name) {
            *minutes = n.hours * 60;
            return true;
        }
    // Military single letters are too often wrong to trust: RFC 5322 reads them as -0000.
    if (l.size() == 1 && std::isalpha(static_cast<unsigned char>(l[0]))) {
        *minutes = 0;
        return true;
    }
    return false;
}

// Splits a date into its words: comments dropped, blanks and commas separate, blanks around the colons of a
// time joined ("10 : 52" is obsolete syntax for "10:52"), a dashed date ("01-Jul-2003") cut into its three
// fields and a zone glued to the time ("10:52:37+0200", "10:52:37GMT") cut off it.
std::vector<std::string> DateWords(const std::string& text) {
    std::string clean;
    int depth = 0;
    for (char c : text) {
        if (c == '(') {
            ++depth;
            continue;
        }
        if (c == ')' && depth > 0) {
            --depth;
            continue;
        }
        if (depth == 0)
            clean += c == ',' || c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    }
    std::string joined;
    for (size_t i = 0; i < clean.size(); ++i) {
        if (clean[i] == ' ') {
            size_t j = i;
            while (j < clean.size() && clean[j] == ' ')
                ++j;
            const bool nextColon = j < clean.size() && clean[j] == ':';
            const bool prevColon = !joined.empty() && joined.back() == ':';
            if (!nextColon && !prevColon)
                joined += ' ';
            i = j - 1;
            continue;
        }
        joined += clean[i];
    }
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < joined.size()) {
        size_t end = joined.find(' ', pos);
        if (end == std::string::npos)
            end = joined.size();
        std::string w = joined.substr(pos, end - pos);
        pos = end + 1;
        if (w.empty())
            continue;
        const size_t d1 = w.find('-');
        const size_t d2 = d1 == std::string::npos ? d1 : w.find('-', d1 + 1);
        if (d1 != std::string::npos && d1 > 0 && d2 != std::string::npos && w.find('-', d2 + 1) == std::string::npos &&
            AllDigits(w.substr(0, d1)) && MonthIndex(w.substr(d1 + 1, d2 - d1 - 1))) {
            words.push_back(w.substr(0, d1));
            words.push_back(w.substr(d1 + 1, d2 - d1 - 1));
            words.push_back(w.substr(d2 + 1));
            continue;
        }
        if (std::isdigit(static_cast<unsigned char>(w[0])) && w.find(':') != std::string::npos) {
            size_t t = 0;
            while (t < w.size() && (std::isdigit(static_cast<unsigned char>(w[t])) || w[t] == ':'))
                ++t;
            if (t < w.size() && (w[t] == '+' || w[t] == '-' || std::isalpha(static_cast<unsigned char>(w[t])))) {
                words.push_back(w.substr(0, t));
                words.push_back(w.substr(t));
                continue;
            }
        }
        words.push_back(std::move(w));
    }
    return words;
}

// "hh:mm" or "hh:mm:ss".
bool ReadTime(const std::string& t, int* hour, int* minute, int* second) {
    std::vector<std::string> parts;
    size_t s = 0;
    for (;;) {
        size_t c = t.find(':', s);
        parts.push_back(t.substr(s, c == std::string::npos ? std::string::npos : c - s));
        if (c == std::string::npos)
            break;
        s = c + 1;
    }
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    for (const std::string& p : parts)
        if (!AllDigits(p) || p.size() > 2)
            return false;
    *hour = std::stoi(parts[0]);
    *minute = std::stoi(parts[1]);
    *second = parts.size() == 3 ? std::stoi(parts[2]) : 0;
    if (*hour > 23 || *minute > 59 || *second > 60)
        return false;
    if (*second == 60)
        *second = 59;  // a leap second stays within its minute
    return true;
}

// Two to four digits; two-digit years are 1950 to 2049, three-digit ones count from 1900 (RFC 5322 4.3).
bool ReadYear(const std::string& t, int* year) {
    if (!AllDigits(t) || t.size() < 2 || t.size() > 4)
        return false;
    *year = std::stoi(t);
    if (t.size() == 2)
        *year += *year < 50 ? 2000 : 1900;
    else if (t.size() == 3)
        *year += 1900;
    return true;
}

}  // namespace

bool ParseMailDate(const std::string& text, int64_t* utcSeconds) {
    const std::vector<std::string> tok = DateWords(text);
    size_t i = 0;
    if (i < tok.size() && std::isalpha(static_cast<unsigned char>(tok[i][0])) && MonthIndex(tok[i]) == 0)
        ++i;  // weekday (its value is not checked: mailers get it wrong)
    if (i + 3 > tok.size())
        return false;
    int day = 0, month = 0;
    // "1 Jul 2003" is the standard; "Jul 1 2003" turns up from some mailers.
    if (AllDigits(tok[i]) && tok[i].size() <= 2 && MonthIndex(tok[i + 1])) {
        day = std::stoi(tok[i]);
        month = MonthIndex(tok[i + 1]);
    } else if (MonthIndex(tok[i]) && AllDigits(tok[i + 1]) && tok[i + 1].size() <= 2) {
        month = MonthIndex(tok[i]);
        day = std::stoi(tok[i + 1]);
    } else {
        return false;
    }
    i += 2;
    int year = 0, hour = 0, minute = 0, second = 0;
    size_t zoneAt = std::string::npos;
    if (tok[i].find(':') != std::string::npos) {
        // asctime: "Tue Jul  1 10:52:37 2003", also with a zone before or after the year.
        if (!ReadTime(tok[i], &hour, &minute, &second))
            return false;
        ++i;
        if (i < tok.size() && !AllDigits(tok[i]))
            zoneAt = i++;
        if (i >= tok.size() || !ReadYear(tok[i], &year))
            return false;
    } else {
        if (!ReadYear(tok[i], &year))
            return false;
        ++i;
        if (i >= tok.size() || !ReadTime(tok[i], &hour, &minute, &second))
            return false;
    }
    ++i;
    if (zoneAt == std::string::npos && i < tok.size())
        zoneAt = i;
    if (year < 1601 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    int zone = 0;
    if (zoneAt != std::string::npos && !ZoneOffset(tok[zoneAt], &zone))
        zone = 0;  // an unknown zone name counts as UTC, like -0000
    int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    *utcSeconds = days * 86400 + hour * 3600 + minute * 60 + second - static_cast<int64_t>(zone) * 60;
    return true;
}

double UtcSecondsToDateTime(int64_t utcSeconds) {
    // 1899-12-30 is 25569 days before 1970-01-01.
    int64_t days = utcSeconds >= 0 ? utcSeconds / 86400 : -((-utcSeconds + 86399) / 86400);
    int64_t rest = utcSeconds - days * 86400;
    return static_cast<double>(days + 25569) + static_cast<double>(rest) / 86400.0;
}

double UtcSecondsToLocalDateTime(int64_t utcSeconds, const _TIME_ZONE_INFORMATION* zone) {
    // FILETIME counts 100 ns from 1601-01-01; 11644473600 s lie between that and 1970.
    ULONGLONG ticks = static_cast<ULONGLONG>(utcSeconds + 11644473600LL) * 10000000ULL;
    FILETIME ft{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc, local;
    if (!FileTimeToSystemTime(&ft, &utc) ||
        !SystemTimeToTzSpecificLocalTime(const_cast<TIME_ZONE_INFORMATION*>(zone), &utc, &local))
        return UtcSecondsToDateTime(utcSeconds);
    int64_t days = DaysFromCivil(local.wYear, local.wMonth, local.wDay);
    int64_t secs = local.wHour * 3600 + local.wMinute * 60 + local.wSecond;
    return static_cast<double>(days + 25569) + static_cast<double>(secs) / 86400.0;
}

double NowLocalDateTime() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    int64_t days = DaysFromCivil(st.wYear, st.wMonth, st.wDay);
    double secs = st.wHour * 3600.0 + st.wMinute * 60.0 + st.wSecond + st.wMilliseconds / 1000.0;
    return static_cast<double>(days + 25569) + secs / 86400.0;
}

}  // namespace netlib
