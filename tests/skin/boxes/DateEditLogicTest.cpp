// The date edit's rules as tables: masks and display formats by locale format, a date as text, and texts read back
// as dates with the current year given (2026).
#include <gtest/gtest.h>

#include <string>

#include "skin/boxes/DateEditLogic.h"

namespace {

const TFormatSettings& Inv() {
    static const TFormatSettings fs = TFormatSettings::Invariant();
    return fs;
}

TDateTime Parse(const std::wstring& Text, const std::wstring& ShortFormat, wchar_t Sep) {
    return ParseDateEditText(Text, DateEditFormat(ShortFormat, L' '), Sep, L' ', Inv().LongMonthNames, 2026);
}

TEST(DateEditLogic, FormatsAndMasksFollowTheLocaleOrder) {
    struct Case {
        const wchar_t* format;
        TbsDateOrder order;
        const wchar_t* display;
        const wchar_t* mask;
    } cases[] = {
        {L"dd.MM.yyyy", doDMY, L"DD/MM/YYYY", L"!99/99/9999;1; "},
        {L"M/d/yyyy", doMDY, L"MM/DD/YYYY", L"!99/99/9999;1; "},
        {L"yyyy-MM-dd", doYMD, L"YYYY/MM/DD", L"!9999/99/99;1; "},
        {L"dd.MM.yy", doDMY, L"DD/MM/YY", L"!99/99/99;1; "},
        {L"yy/MM/dd", doYMD, L"YY/MM/DD", L"!99/99/99;1; "},
        {L"", doMDY, L"MM/DD/YY", L"!99/99/99;1; "},
    };
    for (const Case& c : cases) {
        const TbsDateEditFormat f = DateEditFormat(c.format, L' ');
        EXPECT_EQ(f.Order, c.order) << std::wstring(c.format);
        EXPECT_EQ(f.Display, c.display) << std::wstring(c.format);
        EXPECT_EQ(f.Mask, c.mask) << std::wstring(c.format);
    }
    EXPECT_EQ(DateEditText(EncodeDate(2026, 3, 5), DateEditFormat(L"dd.MM.yyyy", L' '), L'.'), L"05.03.2026");
    EXPECT_EQ(DateEditText(EncodeDate(2026, 3, 5), DateEditFormat(L"M/d/yyyy", L' '), L'/'), L"03/05/2026");
    EXPECT_EQ(DateEditText(EncodeDate(2026, 3, 5), DateEditFormat(L"yy/MM/dd", L' '), L'-'), L"26-03-05");
}

TEST(DateEditLogic, TypingADateDigitByDigitGivesADateOnlyOnceTheYearHasADigit) {
    struct Case {
        const wchar_t* text;
        int y, m, d;  // y 0: no date
    } cases[] = {
        {L"  .  .    ", 0, 0, 0},   {L"3 .  .    ", 0, 0, 0},        {L"31.  .    ", 0, 0, 0},
        {L"31.1 .    ", 0, 0, 0},   {L"31.12.    ", 0, 0, 0},        {L"31.12.2   ", 2002, 12, 31},
        {L"31.12.20  ", 2020, 12, 31}, {L"31.12.202 ", 202, 12, 31}, {L"31.12.2026", 2026, 12, 31},
    };
    for (const Case& c : cases) {
        const TDateTime t = Parse(c.text, L"dd.MM.yyyy", L'.');
        if (c.y == 0)
            EXPECT_EQ(t, 0) << std::wstring(c.text);
        else
            EXPECT_EQ(t, EncodeDate(c.y, c.m, c.d)) << std::wstring(c.text);
    }
}

TEST(DateEditLogic, InvalidTextsGiveNoDateAndTwoDigitYearsFallInTheHundredYearsFromSixtyAgo) {
    EXPECT_EQ(Parse(L"31.04.2026", L"dd.MM.yyyy", L'.'), 0) << "April has 30 days";
    EXPECT_EQ(Parse(L"29.02.2025", L"dd.MM.yyyy", L'.'), 0);
    EXPECT_EQ(Parse(L"29.02.2024", L"dd.MM.yyyy", L'.'), EncodeDate(2024, 2, 29));
    EXPECT_EQ(Parse(L"31-12-2026", L"dd.MM.yyyy", L'.'), 0) << "another separator";
    EXPECT_EQ(Parse(L"", L"dd.MM.yyyy", L'.'), 0);
    EXPECT_EQ(Parse(L"01.01.70", L"dd.MM.yy", L'.'), EncodeDate(1970, 1, 1));
    EXPECT_EQ(Parse(L"01.01.50", L"dd.MM.yy", L'.'), EncodeDate(2050, 1, 1));
    EXPECT_EQ(Parse(L"01.01.66", L"dd.MM.yy", L'.'), EncodeDate(1966, 1, 1));
    EXPECT_EQ(Parse(L"01.01.65", L"dd.MM.yy", L'.'), EncodeDate(2065, 1, 1));
    EXPECT_EQ(Parse(L"12/31/2026", L"M/d/yyyy", L'/'), EncodeDate(2026, 12, 31));
    EXPECT_EQ(Parse(L"2026-02-28", L"yyyy-MM-dd", L'-'), EncodeDate(2026, 2, 28));
}

TEST(DateEditLogic, TextsOffTheFieldPositionsAreReadFreely) {
    // longer than the display format: the free reading
    EXPECT_EQ(Parse(L" 5 . 3 . 2024", L"dd.MM.yyyy", L'.'), EncodeDate(2024, 3, 5));
    // two numbers: day and month of the current year, a trailing separator allowed
    EXPECT_EQ(Parse(L"5.3", L"dd.MM.yyyy", L'.'), EncodeDate(2026, 3, 5));
    EXPECT_EQ(Parse(L"5.3.", L"dd.MM.yyyy", L'.'), 0) << "a separator after the month asks for a year";
    EXPECT_EQ(Parse(L"3/5", L"M/d/yyyy", L'/'), EncodeDate(2026, 3, 5));
    EXPECT_EQ(Parse(L"5.3.24", L"dd.MM.yyyy", L'.'), EncodeDate(2024, 3, 5));
    EXPECT_EQ(Parse(L"5.3.24.1", L"dd.MM.yyyy", L'.'), 0) << "the whole text must be read";
    EXPECT_EQ(Parse(L"99999.3", L"dd.MM.yyyy", L'.'), 0);
}

}  // namespace
