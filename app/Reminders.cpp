// Reminder tick.
#include "app/Reminders.h"

#include <cmath>

int TodayWeekday(TDateTime now) {
    return (DayOfWeek(now) + 5) % 7 + 1;  // DayOfWeek counts from Sunday
}

double EventDaysLeft(const AListSob& event, TDateTime now) {
    if (event.Date >= kFirstDatedDay)
        return event.Date + event.Time - now;
    const int w = TodayWeekday(now);
    const double today = std::floor(now);
    double last = 0;
    for (int i = 0; i <= 7; ++i) {
        int day = w + i;
        if (day > 7)
            day -= 7;
        if (!event.DnNedel[static_cast<size_t>(day)])
            continue;
        last = today + i + event.Time - now;
        if (last > 0)
            return last;
    }
    return last;
}

void UpdateDaysLeft(TNotifierLists& lists, TDateTime now) {
    for (auto& event : lists.Events)
        event->Ostal = EventDaysLeft(*event, now);
}

std::wstring ReminderPopupText(const AListSob& event,
                               bool warning,
                               int weekday,
                               const TLanguage& lang,
                               const TFormatSettings& fs) {
    std::wstring text;
    if (warning)
        text = HtmlCenter(HtmlBold(lang.LangLine(kWarningLine))) + L"<br>";
    const std::wstring day = event.Date < kFirstDatedDay
                                 ? lang.LangLine(kTodayLine) + L" " + lang.LangLine(kTodayLine + weekday)
                                 : FormatDateTime(L"ddddd", event.Date, fs);
    text += HtmlCenter(HtmlBold(day + L" " + FormatDateTime(L"tt", event.Time, fs))) + L"<br>" + L"<br>" +
            HtmlCenter(HtmlBold(event.Name));
    return text;
}

namespace {

void Fire(TNotifyContext& c, AListSob& event, bool warning, int weekday, TDateTime now) {
    event.BilSoob = true;
    if (!c.Host.TrayVisible())
        c.Host.FlashTaskbar();
    AddAlertMessage(c, ReminderPopupText(event, warning, weekday, c.Lang, c.Fs), kPopupKindReminder);

    auto fired = std::make_unique<AListSobty>();
    fired->DT = now;
    fired->Name = (warning ? c.Lang.LangLine(kWarningLine) + L" - " : std::wstring()) + event.Name;
    c.Lists.FiredEvents.push_back(std::move(fired));
    c.Host.FiredEventAdded();

    c.Host.SetTrayImage(kTrayIdle);
    c.Host.SetTrayHint(event.Name);
    c.Run.Trevoga = true;
    c.Host.PlayReminderSound();
    c.Run.TikPovtor = 0;
    c.Run.PovtorSob = 0;
    c.Host.BlinkTimer(true);
    c.Host.UpdateFormHeight(static_cast<int>(c.Lists.Letters.size() + c.Lists.FiredEvents.size()));
}

}  // namespace

void ReminderTick(TNotifyContext& c, TDateTime now) {
    auto& events = c.Lists.Events;
    UpdateDaysLeft(c.Lists, now);
    c.Host.EventsTicked();

    const TSettings& s = c.Settings;
    const double warn = s.ZaSkolkPredupr * kOneMinute;
    const double late = 1 - kOneMinute;
    const int w = TodayWeekday(now);
    const double today = std::floor(now);
    const double timeOfDay = now - today;

    // By index with the count re-read: the host may run messages (and so edit the list) while a popup is added.
    for (size_t i = 0; i < events.size();) {
        AListSob& event = *events[i];
        const bool dated = event.Date >= kFirstDatedDay;
        if (!event.BilSoob) {
            const bool due = event.DnNedel[static_cast<size_t>(w)] || (dated && event.Date == today);
            const double f = event.Ostal - std::trunc(event.Ostal);
            const bool pastToday = s.PokSegodSob && due && timeOfDay > event.Time;
            const bool warning = s.ZaSkolkPredupr > 0 && due && kOneMinute <= f && f < warn;
            const bool weeklyPassed = due && f >= late;
            const bool datedPassed = dated && -kOneMinute <= event.Ostal && event.Ostal <= 0;
            if (pastToday || warning || weeklyPassed || datedPassed)
                Fire(c, event, warning, w, now);
        }
        if (i >= events.size() || events[i].get() != &event)
            continue;  // the list changed under the popup: look at this index again
        // Re-armed in the last minute before the time. Not at 0 itself: a dated reminder that fires at exactly its
        // time would be re-armed at once and fire again a second later.
        if (event.BilSoob && event.Ostal > 0 && event.Ostal < kOneMinute)
            event.BilSoob = false;
        if (s.UdalProshSob && dated && event.Ostal < 0) {
            events.erase(events.begin() + static_cast<std::ptrdiff_t>(i));
            c.Host.EventsChanged();
            c.Host.SaveSettings();
            continue;  // the next reminder moved into this index
        }
        ++i;
    }
}
