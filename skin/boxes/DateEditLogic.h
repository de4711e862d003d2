// Window-free rules of the skinned date edit: the field order, display format and edit mask a short date format
// gives, a date as the edit's text, and the edit's text read back as a date against a given current year (the
// positions of the display format's fields first, then a free reading of up to three numbers). No windows.h here.
// Index: TbsDateOrder, TbsDateEditFormat, DateEditFormat, DateEditText, ParseDateEditText.
#pragma once

#include <string>

#include "classlib/SysUtils.h"

enum TbsDateOrder { doMDY, doDMY, doYMD };

struct TbsDateEditFormat {
    TbsDateOrder Order = doMDY;
    bool FourDigitYear = false;
    // "DD/MM/YYYY" and its kin; '/' stands for the date separator.
    std::wstring Display;
    // The edit mask: "!99/99/9999;1;" and its kin followed by the blank character.
    std::wstring Mask;
};

// The order is the first of D, M, Y (any case) in ShortDateFormat (none: month-day-year); four-digit years when it
// holds "YYYY" (any case).
TbsDateEditFormat DateEditFormat(const std::wstring& ShortDateFormat, wchar_t BlankChar);

// Date in the display format with Sep between the fields.
std::wstring DateEditText(TDateTime Date, const TbsDateEditFormat& F, wchar_t Sep);

// The date Text means, or 0 when it is empty, holds other characters than digits, the blank and Sep, or gives no
// valid date. Two-digit years fall in the hundred years from CurrentYear - 60; a field left blank is no date.
TDateTime ParseDateEditText(const std::wstring& Text, const TbsDateEditFormat& F, wchar_t Sep, wchar_t BlankChar,
                            const std::wstring (&LongMonthNames)[12], int CurrentYear);
