// The reminders' one-second tick: days left of every reminder, the warning before and the alarm at its time, the
// fired-events list, the popup of kind 2, and the deletion of dated reminders that have passed.
// Index: kOneMinute, TodayWeekday, EventDaysLeft, UpdateDaysLeft, ReminderPopupText, ReminderTick.
#pragma once

#include "app/ResultProcessing.h"

inline constexpr double kOneMinute = 1.0 / 1440;
// Language lines: the warning heading, "today", and the weekday names Monday (80) to Sunday (86).
inline constexpr int kWarningLine = 62;
inline constexpr int kTodayLine = 79;

// 1 Monday ... 7 Sunday.
int TodayWeekday(TDateTime now);
// Days until the reminder's next occurrence (negative for a dated one that has passed; for a weekly one with no
// day marked 0).
double EventDaysLeft(const AListSob& event, TDateTime now);
void UpdateDaysLeft(TNotifierLists& lists, TDateTime now);
// The popup of a firing: the warning heading when warning, the day and the time, and the name.
std::wstring ReminderPopupText(const AListSob& event,
                               bool warning,
                               int weekday,
                               const TLanguage& lang,
                               const TFormatSettings& fs);
// TimerSobtiy, every second.
void ReminderTick(TNotifyContext& c, TDateTime now);
