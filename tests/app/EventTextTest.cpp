// The reminder list texts: days left in each range and sign, and when a weekly or dated reminder falls.
#include <gtest/gtest.h>

#include "app/EventText.h"

namespace {

TLanguage Russian() {
    TLanguage lang;
    TSettings settings;
    struct Quiet : TLanguageSink {
        void SetRussianResourceStrings(bool) override {}
        void ShowWarning(const std::wstring&) override {}
        void ApplyText(const TLangApplyEntry&, const std::wstring&) override {}
    } sink;
    lang.Apply(settings, L"", sink);
    return lang;
}

TEST(EventText, DaysLeft) {
    const TLanguage lang = Russian();
    const double minute = 1.0 / 1440;
    struct Case {
        double ostal;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {2.5, L"2 дня 12:00"},
        {1.5, L"1 день 12:00"},
        {4.0 + 90 * minute, L"4 дня 01:30"},
        {7.25, L"7 дней 06:00"},
        {-3.75, L"- 3 дня 18:00"},
        {0.5, L"12:00"},
        {61 * minute, L"01:01"},
        {30 * minute, L"30:00"},
        {-30 * minute, L"- 30:00"},
        {45.0 / 86400, L"00:45"},
        {0, L"00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DaysLeftText(c.ostal, lang), c.expected) << c.ostal;
}

TEST(EventText, WhenWeeklyAndDated) {
    const TLanguage lang = Russian();
    TFormatSettings fs;
    fs.ShortDateFormat = L"dd.MM.yyyy";
    fs.DateSeparator = L'.';

    AListSob weekly;
    weekly.Time = EncodeTime(7, 30, 0, 0);
    weekly.DnNedel[1] = weekly.DnNedel[5] = weekly.DnNedel[7] = true;
    EXPECT_EQ(EventWhenText(weekly, lang, fs), L"07:30, Пн, Пт, Вс");

    AListSob none;
    none.Time = EncodeTime(23, 5, 0, 0);
    EXPECT_EQ(EventWhenText(none, lang, fs), L"23:05");

    AListSob dated;
    dated.Time = EncodeTime(9, 0, 0, 0);
    dated.Date = static_cast<int32_t>(EncodeDate(2027, 3, 5));
    dated.DnNedel[2] = true;  // ignored for a dated reminder
    EXPECT_EQ(EventWhenText(dated, lang, fs), L"09:00  05.03.2027");

    EXPECT_EQ(HourMinText(EncodeTime(6, 7, 59, 0)), L"06:07");
    EXPECT_EQ(ZeroFillTime(L" 7:3 "), L"07:30");
    EXPECT_EQ(ZeroFillTime(L"  :  "), L"00:00");
}

}  // namespace
