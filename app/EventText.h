// Texts of the reminder and fired-reminder list views: when a reminder falls, how long until it does, and the
// hour and minute of a time. Pure: the language lines and the date format come from the caller.
#pragma once

#include <string>

#include "app/DataModel.h"
#include "app/LangTable.h"
#include "classlib/SysUtils.h"

// Below this many days (a little over one hour) the time left shows minutes and seconds, and the row is green.
inline constexpr double kLastHour = 0.0416667;

// The reminder time editor's text with every blank made "0" (the mask leaves blanks where nothing was typed).
std::wstring ZeroFillTime(std::wstring text);
// "hh:nn" of a time of day.
std::wstring HourMinText(TDateTime time);
// The time "hh:nn", then ", " and the short weekday name of each marked day (Monday first) for a weekly reminder,
// or two blanks and the date in the short date format for a dated one.
std::wstring EventWhenText(const AListSob& event, const TLanguage& lang, const TFormatSettings& fs);
// Days left as "N <day word> hh:nn" above one day, "hh:nn" above one hour, "nn:ss" below; "- " in front when
// the reminder is past.
std::wstring DaysLeftText(double ostal, const TLanguage& lang);
