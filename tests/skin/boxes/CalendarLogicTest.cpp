// The month calendar's arithmetic as tables: stepping with the day cut to the month, the year limits, the grid's
// first column, ISO weeks and the week column, the head row's names, the fading line's ramp and the hit test.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "skin/boxes/CalendarLogic.h"

namespace {

std::wstring Ymd(TDateTime d) {
    int y = 0, m = 0, day = 0;
    DecodeDate(d, y, m, day);
    return std::to_wstring(y) + L"-" + std::to_wstring(m) + L"-" + std::to_wstring(day);
}

TEST(CalendarLogic, StepsCutTheDayToTheNewMonthAndKeepTheTime) {
    struct Case {
        int y, m, d, delta;
        const wchar_t* want;
    } cases[] = {
        {2024, 3, 31, -1, L"2024-2-29"}, {2023, 3, 31, -1, L"2023-2-28"},  {2024, 1, 31, 1, L"2024-2-29"},
        {2024, 12, 15, 1, L"2025-1-15"}, {2024, 1, 15, -1, L"2023-12-15"}, {2024, 5, 31, 1, L"2024-6-30"},
    };
    for (const Case& c : cases) {
        const TDateTime from = EncodeDate(c.y, c.m, c.d) + 0.75;
        const TDateTime to = StepMonth(from, c.delta);
        EXPECT_EQ(Ymd(to), c.want) << c.y << "-" << c.m << "-" << c.d << " by " << c.delta;
        EXPECT_DOUBLE_EQ(to - std::floor(to), 0.75) << "the time part stays";
    }
    EXPECT_EQ(Ymd(WithMonth(EncodeDate(2024, 3, 31), 2)), L"2024-2-29") << "the month menu cuts the same way";
    EXPECT_EQ(Ymd(WithMonth(EncodeDate(2023, 3, 31), 2)), L"2023-2-28");
    EXPECT_EQ(Ymd(WithDay(EncodeDate(2023, 3, 31), 4)), L"2023-3-4");
}

TEST(CalendarLogic, YearStepsStopAt1761And9999) {
    TDateTime out = -1;
    EXPECT_FALSE(StepYear(EncodeDate(1761, 5, 1), -1, out));
    EXPECT_FALSE(StepYear(EncodeDate(9999, 5, 1), 1, out));
    EXPECT_EQ(out, -1) << "a refused step leaves the result alone";
    ASSERT_TRUE(StepYear(EncodeDate(1762, 5, 1), -1, out));
    EXPECT_EQ(Ymd(out), L"1761-5-1");
    ASSERT_TRUE(StepYear(EncodeDate(2024, 2, 29), 1, out));
    EXPECT_EQ(Ymd(out), L"2025-2-28") << "29 February of a leap year goes to the 28th";
    ASSERT_TRUE(StepYear(EncodeDate(9998, 12, 31), 1, out));
    EXPECT_EQ(Ymd(out), L"9999-12-31");
}

TEST(CalendarLogic, DayOneTakesTheColumnOfItsWeekday) {
    // September 2024 starts on a Sunday, June 2024 on a Saturday, April 2024 on a Monday.
    EXPECT_EQ(FirstDayColumn(2024, 9, Sun), 0);
    EXPECT_EQ(FirstDayColumn(2024, 6, Sun), 6);
    EXPECT_EQ(FirstDayColumn(2024, 4, Mon), 0);
    EXPECT_EQ(FirstDayColumn(2024, 9, Mon), 6) << "a day before the first weekday: the last column";
    EXPECT_EQ(FirstDayColumn(2024, 6, Sat), 0);
    // The numbers of row 1: 1 - c + column; row 2 continues.
    EXPECT_EQ(CellDay(6, 1, 6), 1);
    EXPECT_EQ(CellDay(6, 1, 5), 0);
    EXPECT_EQ(CellDay(6, 2, 0), 2);
}

TEST(CalendarLogic, IsoWeeksAndTheWeekColumn) {
    struct Case {
        int y, m, d, week;
    } cases[] = {{2021, 1, 1, 53}, {2021, 1, 4, 1},   {2020, 12, 31, 53}, {2024, 12, 30, 1},
                 {2026, 1, 1, 1},  {2026, 6, 15, 25}, {2027, 1, 3, 53}};
    for (const Case& c : cases)
        EXPECT_EQ(IsoWeek(EncodeDate(c.y, c.m, c.d)), c.week) << c.y << "-" << c.m << "-" << c.d;
    const std::vector<int> jan2021 = RowWeekNumbers(2021, 1, Mon);
    EXPECT_EQ(jan2021, (std::vector<int>{53, 1, 2, 3, 4, 0})) << "Monday first: 1 January 2021 lies in week 53";
    // Sunday first: a row takes the week of its last day of the month.
    EXPECT_EQ(RowWeekNumbers(2021, 1, Sun), (std::vector<int>{53, 1, 2, 3, 4, 5}));
    // Sunday first, December 2024: row 4 ends on 28 December (week 52), row 5 holds 29-31 December, whose last day
    // lies in week 1 of 2025; row 6 is empty.
    EXPECT_EQ(RowWeekNumbers(2024, 12, Sun), (std::vector<int>{49, 50, 51, 52, 1, 0}));
}

TEST(CalendarLogic, HeadRowNamesAreCutToFourOrToTheChineseDayCharacter) {
    EXPECT_EQ(CalendarDayName(L"Mon", false), L"Mon");
    EXPECT_EQ(CalendarDayName(L"Montag", false), L"Mont");
    EXPECT_EQ(CalendarDayName(L"\x661f\x671f\x4e00", true), L"\x4e00");
    EXPECT_EQ(CalendarDayName(L"\x5468\x4e00", true), L"\x5468\x4e00");
}

TEST(CalendarLogic, FadingLinesRiseAtBothEnds) {
    const std::vector<std::uint8_t> a = FadeLineAlphas(20);  // quarter 5: six pixels of ramp, step 51
    ASSERT_EQ(a.size(), 20u);
    EXPECT_EQ(a[0], 0);
    EXPECT_EQ(a[1], 51);
    EXPECT_EQ(a[5], 255);
    EXPECT_EQ(a[10], 255);
    EXPECT_EQ(a[19], 0);
    EXPECT_EQ(a[18], 51);
    const std::vector<std::uint8_t> b = FadeLineAlphas(200);  // quarter 50: step 5
    EXPECT_EQ(b[3], 15);
    EXPECT_EQ(b[50], 250);
    EXPECT_EQ(b[51], 255);
    for (int n : {1, 2, 3})
        EXPECT_EQ(FadeLineAlphas(n), std::vector<std::uint8_t>(static_cast<size_t>(n), 255)) << n;
    EXPECT_TRUE(FadeLineAlphas(0).empty());
}

TEST(CalendarLogic, TheHitTestUsesTheLastPaintsLayout) {
    TbsCalendarLayout l;
    l.R = {1, 1, 199, 149};
    l.BevelTop = 50;
    l.CellW = 28;
    l.CellH = 15;
    // September 2024, Sunday first: day 1 in column 0 of row 1, rows end at 53 + 15 k (row 1: y 54 .. 68).
    EXPECT_EQ(CalendarHitDay(l, 10, 60, 2024, 9, Sun), 0) << "no layout before the first paint";
    l.Valid = true;
    EXPECT_EQ(CalendarHitDay(l, 10, 54, 2024, 9, Sun), 1);
    EXPECT_EQ(CalendarHitDay(l, 10, 68, 2024, 9, Sun), 1);
    EXPECT_EQ(CalendarHitDay(l, 10, 69, 2024, 9, Sun), 8);
    EXPECT_EQ(CalendarHitDay(l, 2 + 28 * 6, 69, 2024, 9, Sun), 14);
    EXPECT_EQ(CalendarHitDay(l, 2 + 28 * 1, 128, 2024, 9, Sun), 30);
    EXPECT_EQ(CalendarHitDay(l, 2 + 28 * 2, 128, 2024, 9, Sun), 0) << "a blank cell";
    EXPECT_EQ(CalendarHitDay(l, 10, 53, 2024, 9, Sun), 0) << "the head rows";
    EXPECT_EQ(CalendarHitDay(l, 0, 60, 2024, 9, Sun), 0) << "left of R";
    EXPECT_EQ(CalendarHitDay(l, 10, 149, 2024, 9, Sun), 0) << "below R";
    l.CellW = 0;
    EXPECT_EQ(CalendarHitDay(l, 10, 60, 2024, 9, Sun), 0) << "zero cells hit nothing";
}

}  // namespace
