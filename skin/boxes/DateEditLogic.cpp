#include "skin/boxes/DateEditLogic.h"

#include <cwctype>

namespace {

wchar_t Up(wchar_t c) {
    return static_cast<wchar_t>(std::towupper(c));
}

// The first run of at least N letters L (any case) in Format: its start and length, false when there is none.
bool FindRun(const std::wstring& Format, wchar_t L, size_t N, size_t& Start, size_t& Len) {
    for (size_t i = 0; i < Format.size();) {
        if (Up(Format[i]) != L) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < Format.size() && Up(Format[j]) == L)
            ++j;
        if (j - i >= N) {
            Start = i;
            Len = j - i;
            return true;
        }
        i = j;
    }
    return false;
}

// What stands at a run's positions of Text, spaces left out (at most 20 characters); Found false when the display
// format has no such run or Text is longer than it (the field keeps its default then).
std::wstring FieldText(const std::wstring& Text, const std::wstring& Display, wchar_t L, size_t N, bool& Found) {
    size_t start = 0, len = 0;
    Found = Text.size() <= Display.size() && FindRun(Display, L, N, start, len);
    std::wstring s;
    if (!Found)
        return s;
    for (size_t i = start; i < start + len && i < Text.size() && s.size() < 20; ++i)
        if (Text[i] != L' ')
            s += Text[i];
    return s;
}

int ToNumber(const std::wstring& s) {
    if (s.empty() || s.size() > 9)
        return -1;
    int v = 0;
    for (wchar_t c : s) {
        if (c < L'0' || c > L'9')
            return -1;
        v = v * 10 + (c - L'0');
    }
    return v;
}

int ExpandYear(int Year, int CurrentYear) {
    if (Year < 0 || Year >= 100)
        return Year;
    const int w = CurrentYear - 60;
    int y = Year + (w / 100) * 100;
    if (y < w)
        y += 100;
    return y;
}

bool Valid(int Y, int M, int D) {
    return Y >= 1 && Y <= 9999 && M >= 1 && M <= 12 && D >= 1 && D <= DaysInAMonth(Y, M);
}

TDateTime Encode(int Y, int M, int D) {
    TDateTime t = 0;
    return Valid(Y, M, D) && TryEncodeDate(Y, M, D, t) ? t : 0;
}

// The free reading: two or three numbers of up to four digits between separators, spaces around them skipped.
bool ScanFreely(const std::wstring& Text, const TbsDateEditFormat& F, wchar_t Sep, int CurrentYear, int& Y, int& M,
                int& D) {
    size_t i = 0;
    auto spaces = [&] {
        while (i < Text.size() && Text[i] == L' ')
            ++i;
    };
    auto number = [&](int& v) {
        spaces();
        v = 0;
        size_t digits = 0;
        while (i < Text.size() && Text[i] >= L'0' && Text[i] <= L'9' && digits < 4 && v < 1000) {
            v = v * 10 + (Text[i++] - L'0');
            ++digits;
        }
        return digits > 0;
    };
    int n1 = 0, n2 = 0, n3 = 0;
    if (!number(n1))
        return false;
    spaces();
    if (i >= Text.size() || Text[i] != Sep)
        return false;
    ++i;
    if (!number(n2))
        return false;
    spaces();
    if (i < Text.size() && Text[i] == Sep) {
        ++i;
        if (!number(n3))
            return false;
        switch (F.Order) {
            case doDMY:
                D = n1, M = n2, Y = n3;
                break;
            case doYMD:
                Y = n1, M = n2, D = n3;
                break;
            default:
                M = n1, D = n2, Y = n3;
                break;
        }
        Y = ExpandYear(Y, CurrentYear);
    } else {
        Y = CurrentYear;
        if (F.Order == doDMY)
            D = n1, M = n2;
        else
            M = n1, D = n2;
    }
    spaces();
    if (i < Text.size() && Text[i] == Sep)
        ++i;
    spaces();
    return i == Text.size() && Valid(Y, M, D);
}

}  // namespace

TbsDateEditFormat DateEditFormat(const std::wstring& ShortDateFormat, wchar_t BlankChar) {
    TbsDateEditFormat f;
    for (wchar_t c : ShortDateFormat) {
        const wchar_t u = Up(c);
        if (u == L'D' || u == L'M' || u == L'Y') {
            f.Order = u == L'D' ? doDMY : u == L'M' ? doMDY : doYMD;
            break;
        }
    }
    std::wstring upper;
    for (wchar_t c : ShortDateFormat)
        upper += Up(c);
    f.FourDigitYear = upper.find(L"YYYY") != std::wstring::npos;
    const std::wstring y = f.FourDigitYear ? L"YYYY" : L"YY";
    switch (f.Order) {
        case doDMY:
            f.Display = L"DD/MM/" + y;
            break;
        case doYMD:
            f.Display = y + L"/MM/DD";
            break;
        default:
            f.Display = L"MM/DD/" + y;
            break;
    }
    if (!f.FourDigitYear)
        f.Mask = L"!99/99/99;1;";
    else
        f.Mask = f.Order == doYMD ? L"!9999/99/99;1;" : L"!99/99/9999;1;";
    f.Mask += BlankChar;
    return f;
}

std::wstring DateEditText(TDateTime Date, const TbsDateEditFormat& F, wchar_t Sep) {
    int y = 0, m = 0, d = 0;
    DecodeDate(Date, y, m, d);
    auto pad = [](int v, size_t n) {
        std::wstring s = std::to_wstring(v);
        while (s.size() < n)
            s.insert(s.begin(), L'0');
        return s.substr(s.size() - n);
    };
    std::wstring out;
    for (size_t i = 0; i < F.Display.size();) {
        const wchar_t c = F.Display[i];
        size_t j = i;
        while (j < F.Display.size() && F.Display[j] == c)
            ++j;
        const size_t n = j - i;
        if (c == L'D')
            out += pad(d, n);
        else if (c == L'M')
            out += pad(m, n);
        else if (c == L'Y')
            out += pad(y, n);
        else
            out += std::wstring(n, Sep);
        i = j;
    }
    return out;
}

TDateTime ParseDateEditText(const std::wstring& Text, const TbsDateEditFormat& F, wchar_t Sep, wchar_t BlankChar,
                            const std::wstring (&LongMonthNames)[12], int CurrentYear) {
    if (Text.empty())
        return 0;
    for (wchar_t c : Text)
        if (!(c >= L'0' && c <= L'9') && c != BlankChar && c != Sep)
            return 0;
    bool found = false;
    int month = 0;
    const std::wstring name = FieldText(Text, F.Display, L'M', 3, found);
    if (found) {
        month = -1;
        for (int k = 0; k < 12 && !name.empty(); ++k) {
            const std::wstring& full = LongMonthNames[k];
            if (full.size() < name.size())
                continue;
            bool same = true;
            for (size_t i = 0; i < name.size() && same; ++i)
                same = Up(full[i]) == Up(name[i]);
            if (same) {
                month = k + 1;
                break;
            }
        }
    }
    if (month == 0) {
        const std::wstring m = FieldText(Text, F.Display, L'M', 1, found);
        if (found)
            month = ToNumber(m);
    }
    int day = 1, year = CurrentYear;
    const std::wstring d = FieldText(Text, F.Display, L'D', 1, found);
    if (found)
        day = ToNumber(d);
    const std::wstring y = FieldText(Text, F.Display, L'Y', 1, found);
    if (found)
        year = ToNumber(y);
    year = ExpandYear(year, CurrentYear);
    if (Valid(year, month, day))
        return Encode(year, month, day);
    int sy = 0, sm = 0, sd = 0;
    if (ScanFreely(Text, F, Sep, CurrentYear, sy, sm, sd))
        return Encode(sy, sm, sd);
    return 0;
}
