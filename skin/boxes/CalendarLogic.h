// Window-free arithmetic of the skinned month calendar: stepping by month and year with the day cut to the new
// month, the month grid (which column day 1 takes, which number a cell holds), ISO week numbers and the week column,
// the short weekday names as the grid's head shows them, the alpha ramp of its fading lines, and the hit test from the
// layout values the last paint left. No windows.h here.
// Index: TbsDaysOfWeek, StepMonth, StepYear, WithMonth, WithDay, FirstDayColumn, CellDay, IsoWeek, RowWeekNumbers,
// CalendarDayName, FadeLineAlphas, TbsCalendarLayout, CalendarHitDay.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/SysUtils.h"
#include "classlib/Types.h"

enum TbsDaysOfWeek { Sun, Mon, Tue, Wed, Thu, Fri, Sat };

// Years the year buttons keep to.
constexpr int kCalendarMinYear = 1761;
constexpr int kCalendarMaxYear = 9999;

// One month on (Delta 1) or back (-1), December and January wrapping into the next or previous year; the day is cut
// to the new month's length and the time part kept.
TDateTime StepMonth(TDateTime Date, int Delta);
// One year on or back; false (Out untouched) when the year would leave kCalendarMinYear..kCalendarMaxYear.
bool StepYear(TDateTime Date, int Delta, TDateTime& Out);
// The same year and day (cut to the month's length) in Month (1..12).
TDateTime WithMonth(TDateTime Date, int Month);
// Day Day (1..days of the month) of Date's month, the time part kept.
TDateTime WithDay(TDateTime Date, int Day);

// The column (0..6) of day 1 of Year/Month in a grid whose first column is FirstDay.
int FirstDayColumn(int Year, int Month, TbsDaysOfWeek FirstDay);
// The number a cell holds: 1 - Column1 + (Row - 1) * 7 + Col; below 1 or above the month's length it is blank.
// Rows 1..6 hold the month.
inline int CellDay(int Column1, int Row, int Col) {
    return 1 - Column1 + (Row - 1) * 7 + Col;
}

// ISO 8601 week number of the day.
int IsoWeek(TDateTime Date);
// The week numbers of rows 1..6 of Year/Month (0 for a row without a day of the month): the week of the row's first
// day of the month (its last with Sunday first); a number equal to the row above is raised by one, but not above 52.
std::vector<int> RowWeekNumbers(int Year, int Month, TbsDaysOfWeek FirstDay);

// A short weekday name as the head row shows it: with China the third character alone when longer than 2, else the
// first 4 characters.
std::wstring CalendarDayName(const std::wstring& ShortName, bool China);

// Opacity of every pixel of a fading line of Length pixels: the first and last Length div 4 + 1 pixels rise from 0 in
// steps of 255 / (Length div 4) (rounded, at most 255), the rest opaque. A line under 4 pixels has no ramp to fade in
// and is opaque.
std::vector<std::uint8_t> FadeLineAlphas(int Length);

// What the last paint left for the hit test. Valid is false before the first paint.
struct TbsCalendarLayout {
    bool Valid = false;
    TRect R;  // the grid's area: the client less the week column and the today line
    int BevelTop = 0;
    int CellW = 0;
    int CellH = 0;
};

// The left edge of grid column Col.
inline int CalendarCellLeft(const TbsCalendarLayout& L, int Col) {
    return L.R.Left + 1 + Col * L.CellW;
}
// The bottom (inclusive) of grid row Row (0..6).
inline int CalendarRowBottom(const TbsCalendarLayout& L, int Row) {
    return L.BevelTop + 3 + Row * L.CellH;
}

// The day of Year/Month under (X, Y), or 0: outside R, before the first paint, with zero cell sizes, over the head
// rows, or over a blank cell.
int CalendarHitDay(const TbsCalendarLayout& L, int X, int Y, int Year, int Month, TbsDaysOfWeek FirstDay);
