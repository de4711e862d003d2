// Reminder list texts.
#include "app/EventText.h"

#include <cmath>

namespace {

constexpr int kWeekdayShortLine = 54;  // Monday; Sunday is 60
constexpr int kDayWordOne = 69;        // after 1
constexpr int kDayWordFew = 70;        // after 2 to 4
constexpr int kDayWordMany = 71;       // after 5 and more

}  // namespace

std::wstring ZeroFillTime(std::wstring text) {
    for (wchar_t& c : text) {
        if (c == L' ')
            c = L'0';
    }
    return text;
}

std::wstring HourMinText(TDateTime time) {
    return FormatDateTime(L"hh:nn", time);
}

std::wstring EventWhenText(const AListSob& event, const TLanguage& lang, const TFormatSettings& fs) {
    std::wstring text = FormatDateTime(L"hh:nn", event.Time, fs);
    if (event.Date < kFirstDatedDay) {
        for (int day = 1; day <= 7; ++day) {
            if (event.DnNedel[static_cast<size_t>(day)])
                text += L", " + lang.LangLine(kWeekdayShortLine + day - 1);
        }
    } else {
        text += L"  " + FormatDateTime(L"ddddd", event.Date, fs);
    }
    return text;
}

std::wstring DaysLeftText(double ostal, const TLanguage& lang) {
    const double a = std::fabs(ostal);
    std::wstring text;
    if (a > 1) {
        const double days = std::trunc(a);
        const long long n = static_cast<long long>(days);
        const int word = n == 1 ? kDayWordOne : (n <= 4 ? kDayWordFew : kDayWordMany);
        text = std::to_wstring(n) + L" " + lang.LangLine(word) + FormatDateTime(L" hh:nn", a - days);
    } else if (a > kLastHour) {
        text = FormatDateTime(L"hh:nn", a);
    } else {
        text = FormatDateTime(L"nn:ss", a);
    }
    return ostal < 0 ? L"- " + text : text;
}
