#include "skin/boxes/CalendarLogic.h"

#include <algorithm>
#include <cmath>

namespace {

// Year, month, day and the time part of Date.
struct TParts {
    int Y = 0, M = 0, D = 0;
    double Time = 0;
};

TParts Split(TDateTime Date) {
    TParts p;
    DecodeDate(Date, p.Y, p.M, p.D);
    p.Time = TimeOf(Date);
    return p;
}

TDateTime Join(int Y, int M, int D, double Time) {
    D = std::min(D, DaysInAMonth(Y, M));
    TDateTime t = 0;
    if (!TryEncodeDate(Y, M, D, t))
        return 0;
    return t + Time;
}

}  // namespace

TDateTime StepMonth(TDateTime Date, int Delta) {
    TParts p = Split(Date);
    if (Delta > 0) {
        if (p.M == 12) {
            if (p.Y >= kCalendarMaxYear)
                return Date;
            ++p.Y;
            p.M = 1;
        } else {
            ++p.M;
        }
    } else {
        if (p.M == 1) {
            if (p.Y <= MinYear)
                return Date;
            --p.Y;
            p.M = 12;
        } else {
            --p.M;
        }
    }
    return Join(p.Y, p.M, p.D, p.Time);
}

bool StepYear(TDateTime Date, int Delta, TDateTime& Out) {
    const TParts p = Split(Date);
    const int y = p.Y + (Delta > 0 ? 1 : -1);
    if (y < kCalendarMinYear || y > kCalendarMaxYear)
        return false;
    Out = Join(y, p.M, p.D, p.Time);
    return true;
}

TDateTime WithMonth(TDateTime Date, int Month) {
    const TParts p = Split(Date);
    return Join(p.Y, std::clamp(Month, 1, 12), p.D, p.Time);
}

TDateTime WithDay(TDateTime Date, int Day) {
    const TParts p = Split(Date);
    return Join(p.Y, p.M, std::max(Day, 1), p.Time);
}

int FirstDayColumn(int Year, int Month, TbsDaysOfWeek FirstDay) {
    TDateTime first = 0;
    if (!TryEncodeDate(Year, Month, 1, first))
        return 0;
    const int weekday = DayOfWeek(first) - 1;  // Sunday 0
    return (weekday - static_cast<int>(FirstDay) + 7) % 7;
}

int IsoWeek(TDateTime Date) {
    const double day = std::floor(Date);
    const int fromMonday = (DayOfWeek(day) + 5) % 7;
    const double thursday = day - fromMonday + 3;
    int y = 0, m = 0, d = 0;
    DecodeDate(thursday, y, m, d);
    TDateTime jan1 = 0;
    TryEncodeDate(y, 1, 1, jan1);
    return static_cast<int>(thursday - jan1) / 7 + 1;
}

std::vector<int> RowWeekNumbers(int Year, int Month, TbsDaysOfWeek FirstDay) {
    std::vector<int> out(6, 0);
    const int c = FirstDayColumn(Year, Month, FirstDay);
    const int days = DaysInAMonth(Year, Month);
    int previous = -1;
    for (int row = 1; row <= 6; ++row) {
        int first = 0, last = 0;
        for (int col = 0; col < 7; ++col) {
            const int n = CellDay(c, row, col);
            if (n < 1 || n > days)
                continue;
            if (!first)
                first = n;
            last = n;
        }
        if (!first)
            continue;
        TDateTime day = 0;
        TryEncodeDate(Year, Month, FirstDay == Sun ? last : first, day);
        int week = IsoWeek(day);
        if (week == previous)
            week = std::min(week + 1, 52);
        out[static_cast<size_t>(row - 1)] = week;
        previous = week;
    }
    return out;
}

std::wstring CalendarDayName(const std::wstring& ShortName, bool China) {
    if (China)
        return ShortName.size() > 2 ? ShortName.substr(2, 1) : ShortName;
    return ShortName.size() > 4 ? ShortName.substr(0, 4) : ShortName;
}

std::vector<std::uint8_t> FadeLineAlphas(int Length) {
    if (Length <= 0)
        return {};
    std::vector<std::uint8_t> a(static_cast<size_t>(Length), 255);
    const int quarter = Length / 4;
    if (quarter < 1)
        return a;
    const int step = std::min(255, static_cast<int>(std::lround(255.0 / quarter)));
    for (int i = 0; i <= quarter && i < Length; ++i) {
        const auto v = static_cast<std::uint8_t>(std::min(255, i * step));
        a[static_cast<size_t>(i)] = std::min(a[static_cast<size_t>(i)], v);
        a[static_cast<size_t>(Length - 1 - i)] = std::min(a[static_cast<size_t>(Length - 1 - i)], v);
    }
    return a;
}

int CalendarHitDay(const TbsCalendarLayout& L, int X, int Y, int Year, int Month, TbsDaysOfWeek FirstDay) {
    if (!L.Valid || L.CellW <= 0 || L.CellH <= 0)
        return 0;
    if (X < L.R.Left || X >= L.R.Right || Y < L.R.Top || Y >= L.R.Bottom)
        return 0;
    const int left = CalendarCellLeft(L, 0);
    if (X < left)
        return 0;
    const int col = (X - left) / L.CellW;
    if (col > 6)
        return 0;
    for (int row = 1; row <= 6; ++row) {
        const int bottom = CalendarRowBottom(L, row);
        if (Y > bottom - L.CellH && Y <= bottom) {
            const int n = CellDay(FirstDayColumn(Year, Month, FirstDay), row, col);
            return n >= 1 && n <= DaysInAMonth(Year, Month) ? n : 0;
        }
    }
    return 0;
}
