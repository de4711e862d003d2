// Reminders on an injected clock: days left, the warning and the alarm at the right ticks, past-today firing,
// dated reminders written to the fired list and deleted with a save.
#include <gtest/gtest.h>

#include <cmath>

#include "NotifyFakes.h"
#include "app/Reminders.h"

namespace {

const TDateTime kMonday = EncodeDate(2026, 3, 2);
const double kHour = 1.0 / 24;

TDateTime At(TDateTime day, int h, int m, int s) {
    return day + EncodeTime(h, m, s, 0);
}

AListSob& AddWeekly(TNotifyWorld& world, const std::wstring& name, int h, int m, std::initializer_list<int> days) {
    auto event = std::make_unique<AListSob>();
    event->Name = name;
    event->Time = EncodeTime(h, m, 0, 0);
    for (int d : days)
        event->DnNedel[static_cast<size_t>(d)] = true;
    world.lists.Events.push_back(std::move(event));
    return *world.lists.Events.back();
}

AListSob& AddDated(TNotifyWorld& world, const std::wstring& name, TDateTime day, int h, int m) {
    auto event = std::make_unique<AListSob>();
    event->Name = name;
    event->Date = static_cast<int32_t>(day);
    event->Time = EncodeTime(h, m, 0, 0);
    world.lists.Events.push_back(std::move(event));
    return *world.lists.Events.back();
}

// Runs the one-second tick from `from` to `to` and returns the seconds (from midnight of `from`'s day) at which
// a reminder fired.
std::vector<int> RunTicks(TNotifyWorld& world, TDateTime from, TDateTime to) {
    std::vector<int> fired;
    const TDateTime day = std::floor(from);
    const int first = static_cast<int>(std::lround((from - day) * 86400));
    const int last = static_cast<int>(std::lround((to - day) * 86400));
    for (int s = first; s <= last; ++s) {
        const size_t before = world.lists.FiredEvents.size();
        ReminderTick(world.context, day + s / 86400.0);
        for (size_t i = before; i < world.lists.FiredEvents.size(); ++i)
            fired.push_back(s);
    }
    return fired;
}

int Sec(int h, int m, int s) {
    return h * 3600 + m * 60 + s;
}

TEST(Reminders, Weekday) {
    EXPECT_EQ(TodayWeekday(kMonday), 1);
    EXPECT_EQ(TodayWeekday(kMonday + 6.5), 7);
}

TEST(Reminders, DaysLeft) {
    TNotifyWorld world;
    const AListSob& monday9 = AddWeekly(world, L"m", 9, 0, {1});
    const AListSob& wednesday9 = AddWeekly(world, L"w", 9, 0, {3});
    const AListSob& none = AddWeekly(world, L"n", 9, 0, {});
    const AListSob& dated = AddDated(world, L"d", kMonday, 14, 30);
    struct Case {
        const AListSob* event;
        TDateTime now;
        double expected;
    };
    const Case cases[] = {
        {&monday9, At(kMonday, 8, 0, 0), kHour},          {&monday9, At(kMonday, 10, 0, 0), 7 - kHour},
        {&monday9, At(kMonday + 6, 10, 0, 0), 1 - kHour},  // Sunday wraps to Monday
        {&wednesday9, At(kMonday, 10, 0, 0), 2 - kHour},  {&none, At(kMonday, 10, 0, 0), 0},
        {&dated, At(kMonday, 14, 0, 0), 0.5 * kHour},     {&dated, At(kMonday + 1, 14, 30, 0), -1},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(EventDaysLeft(*c.event, c.now), c.expected, 1e-9) << c.event->Name << " " << c.now;
}

TEST(Reminders, MondayWarningThenAlarm) {
    TNotifyWorld world;
    world.settings.ZaSkolkPredupr = 5;
    AddWeekly(world, L"Planning", 9, 0, {1, 4});
    const std::vector<int> fired = RunTicks(world, At(kMonday, 8, 50, 0), At(kMonday, 9, 10, 0));
    ASSERT_EQ(fired.size(), 2u);
    // The first tick past 08:55:00 and past 09:00:00 (the boundary second itself lies on the edge of a double).
    EXPECT_GE(fired[0], Sec(8, 55, 0));
    EXPECT_LE(fired[0], Sec(8, 55, 1));
    EXPECT_GE(fired[1], Sec(9, 0, 0));
    EXPECT_LE(fired[1], Sec(9, 0, 1));

    const std::wstring when =
        HtmlCenter(HtmlBold(L"Сегодня понедельник 09:00:00")) + L"<br><br>" + HtmlCenter(HtmlBold(L"Planning"));
    ASSERT_EQ(world.host.alerts.size(), 2u);
    EXPECT_EQ(world.host.alerts[0], HtmlCenter(HtmlBold(L"ПРЕДУПРЕЖДЕНИЕ")) + L"<br>" + when);
    EXPECT_EQ(world.host.alerts[1], when);
    EXPECT_EQ(world.lists.PopupKinds, (std::vector<uint8_t>{2, 2}));
    EXPECT_EQ(world.lists.FiredEvents[0]->Name, L"ПРЕДУПРЕЖДЕНИЕ - Planning");
    EXPECT_EQ(world.lists.FiredEvents[1]->Name, L"Planning");
    EXPECT_NEAR(world.lists.FiredEvents[1]->DT, At(kMonday, 9, 0, 0), 1.5 / 86400);
    EXPECT_TRUE(world.run.Trevoga);
    EXPECT_EQ(world.host.hint, L"Planning");
    EXPECT_TRUE(world.host.blink);
    EXPECT_EQ(world.host.reminderSounds, 2);
    EXPECT_EQ(world.host.formHeightRows, 2);
    EXPECT_EQ(world.host.saves, 0);  // weekly reminders stay
}

TEST(Reminders, FiringConditions) {
    struct Case {
        const char* what;
        int warnMinutes;
        bool pokSegodSob;
        int fromH, fromM, toH, toM;
        size_t firings;
    };
    const Case cases[] = {
        {"no warnings with 0 minutes", 0, false, 8, 50, 9, 10, 1},
        {"past today, announced at start", 5, true, 10, 0, 10, 1, 1},
        {"past today, not announced", 5, false, 10, 0, 10, 1, 0},
        {"a warning of 10 minutes", 10, false, 8, 40, 9, 10, 2},
        {"a warning longer than the time left at start", 10, false, 8, 55, 9, 10, 2},
    };
    for (const Case& c : cases) {
        TNotifyWorld world;
        world.settings.ZaSkolkPredupr = c.warnMinutes;
        world.settings.PokSegodSob = c.pokSegodSob;
        AddWeekly(world, L"Planning", 9, 0, {1});
        const std::vector<int> fired = RunTicks(world, At(kMonday, c.fromH, c.fromM, 0), At(kMonday, c.toH, c.toM, 0));
        EXPECT_EQ(fired.size(), c.firings) << c.what;
        if (c.pokSegodSob && !fired.empty()) {
            EXPECT_EQ(fired[0], Sec(c.fromH, c.fromM, 0)) << c.what;
        }
    }
}

TEST(Reminders, NoWeekdayNeverFires) {
    TNotifyWorld world;
    world.settings.PokSegodSob = true;
    AListSob& event = AddWeekly(world, L"Never", 9, 0, {});
    EXPECT_TRUE(RunTicks(world, At(kMonday, 8, 50, 0), At(kMonday, 9, 10, 0)).empty());
    EXPECT_EQ(event.Ostal, 0);
}

TEST(Reminders, DatedReminderFiresAndIsDeleted) {
    TNotifyWorld world;
    world.settings.ZaSkolkPredupr = 0;
    AddWeekly(world, L"Weekly", 16, 0, {1});
    AddDated(world, L"Call the bank", kMonday, 14, 30);
    AddDated(world, L"Second call", kMonday, 14, 30);
    AddDated(world, L"Tomorrow", kMonday + 1, 14, 30);
    const std::vector<int> fired = RunTicks(world, At(kMonday, 14, 29, 0), At(kMonday, 14, 32, 0));
    // Both dated reminders fire in the first minute after 14:30, the deletion of one skipping nothing.
    ASSERT_EQ(fired.size(), 2u);
    for (int s : fired) {
        EXPECT_GE(s, Sec(14, 30, 0));
        EXPECT_LT(s, Sec(14, 31, 0));
    }
    EXPECT_EQ(world.host.alerts[0],
              HtmlCenter(HtmlBold(L"02.03.2026 14:30:00")) + L"<br><br>" + HtmlCenter(HtmlBold(L"Call the bank")));
    EXPECT_EQ(world.lists.FiredEvents[1]->Name, L"Second call");
    ASSERT_EQ(world.lists.Events.size(), 2u);
    EXPECT_EQ(world.lists.Events[0]->Name, L"Weekly");
    EXPECT_EQ(world.lists.Events[1]->Name, L"Tomorrow");
    EXPECT_EQ(world.host.saves, 2);
}

TEST(Reminders, DatedReminderKeptFiresOnce) {
    TNotifyWorld world;
    world.settings.UdalProshSob = false;
    world.settings.ZaSkolkPredupr = 0;
    AddDated(world, L"Call", kMonday, 14, 30);
    EXPECT_EQ(RunTicks(world, At(kMonday, 14, 29, 0), At(kMonday, 14, 40, 0)).size(), 1u);
    EXPECT_EQ(world.lists.Events.size(), 1u);
    EXPECT_EQ(world.host.saves, 0);
}

}  // namespace
