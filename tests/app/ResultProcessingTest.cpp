// Result processing: popup texts of letters, the mail sound only when the total grew, popups and their kinds,
// clicks that open the letter of the clicked message, the 700 ms blink and repeats, popup style and size.
#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include "NotifyFakes.h"
#include "app/CheckFailure.h"

namespace {

const TDateTime kLetterTime = EncodeDateTime(2026, 3, 2, 14, 5, 9, 0);

TEST(ResultProcessing, LetterPopupTexts) {
    TNotifyWorld world;
    const AListEm& ivan = world.AddAccount(L"ivan", L"example.org");
    struct Case {
        const wchar_t* name;
        const wchar_t* subject;
        const wchar_t* body;
        size_t accounts;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"Ivan", L"Hello", L"", 1, L"02.03.2026   14:05:09   -   <b>Ivan</b><br><br>Hello<br><br>"},
        {L"", L"", L"Text of it", 1, L"02.03.2026   14:05:09<br><br>Text of it"},
        {L"Ivan", L"Hello", L"", 2, L"02.03.2026   14:05:09   -   <b>Ivan</b> - ivan@example.org<br><br>Hello<br><br>"},
        {L"", L"", L"", 3, L"02.03.2026   14:05:09 - ivan@example.org<br><br>"},
        {L"Иван Петров", L"Привет", L"Тело", 1,
         L"02.03.2026   14:05:09   -   <b>Иван Петров</b><br><br>Привет<br><br>Тело"},
        // A letter's own text shows literally: no tags, no picture sources.
        {L"Eve <b>", L"<img src=\"http://127.0.0.1/x.png\">", L"", 1,
         L"02.03.2026   14:05:09   -   <b>Eve &lt;b&gt;</b><br><br>&lt;img src=\"http://127.0.0.1/x.png\"&gt;"
         L"<br><br>"},
    };
    for (const Case& c : cases) {
        AListPism& letter = world.Deliver(ivan, kLetterTime, c.name, c.subject, c.body);
        EXPECT_EQ(LetterPopupText(letter, c.accounts, world.fs), c.expected) << c.name << "/" << c.subject;
    }
}

TEST(ResultProcessing, MailSoundOnlyWhenTheTotalGrew) {
    struct Case {
        int before, after;
        int sounds;
    };
    const Case cases[] = {{3, 2, 0}, {2, 5, 1}, {0, 1, 1}, {4, 4, 0}, {2, 0, 0}};
    for (const Case& c : cases) {
        TNotifyWorld world;
        AListEm& account = world.AddAccount(L"a", L"b.c", c.before);
        ProcessCheckResults(world.context);
        const int first = world.host.mailSounds;
        world.run.TikPovtor = 7;
        world.run.PovtorEm = 2;
        account.KolEm = c.after;
        ProcessCheckResults(world.context);
        EXPECT_EQ(world.host.mailSounds - first, c.sounds) << c.before << " then " << c.after;
        if (c.sounds) {  // the repeats start again
            EXPECT_EQ(world.run.TikPovtor, 0);
            EXPECT_EQ(world.run.PovtorEm, 0);
        } else {
            EXPECT_EQ(world.run.PovtorEm, 2);
        }
        EXPECT_EQ(world.run.KolEmPred, c.after);
    }
}

TEST(ResultProcessing, NewLettersBecomePopupsAndTheTrayCounts) {
    TNotifyWorld world;
    AListEm& a = world.AddAccount(L"ann", L"one.test", 2);
    AListEm& b = world.AddAccount(L"bob", L"two.test", 1);
    b.UrlVhod = L"https://mail.two.test/";
    world.Deliver(a, kLetterTime, L"Late", L"");
    world.Deliver(a, kLetterTime - 1, L"Early", L"");
    world.Deliver(b, kLetterTime - 0.5, L"Middle", L"");
    world.host.trayVisible = false;
    world.host.trayImage = 11;

    ProcessCheckResults(world.context);
    ASSERT_EQ(world.host.alerts.size(), 3u);  // in the order the checks handed them over
    EXPECT_NE(world.host.alerts[0].find(L"<b>Late</b> - ann@one.test"), std::wstring::npos);
    EXPECT_NE(world.host.alerts[2].find(L"<b>Middle</b> - bob@two.test"), std::wstring::npos);
    EXPECT_EQ(world.lists.PopupKinds, (std::vector<uint8_t>{1, 1, 1}));
    EXPECT_EQ(world.run.PopupPages,
              (std::vector<std::wstring>{L"http://one.test", L"http://one.test", L"https://mail.two.test/"}));
    EXPECT_TRUE(world.lists.NewLetters.empty());
    EXPECT_EQ(world.host.shown, 1);                          // the round's popups shown together, once
    EXPECT_EQ(world.lists.Letters.front()->Name, L"Early");  // sorted oldest first
    EXPECT_EQ(world.lists.Letters.back()->Name, L"Late");
    EXPECT_EQ(world.host.hint, L"Непрочитанных сообщений: 3");
    EXPECT_EQ(world.host.trayImage, 0);
    EXPECT_TRUE(world.host.blink);
    EXPECT_EQ(world.host.flashes, 1);
    EXPECT_EQ(world.host.mailSounds, 1);

    // Nothing unread any more: the popup goes, the blink stops.
    a.KolEm = 0;
    b.KolEm = 0;
    ProcessCheckResults(world.context);
    EXPECT_EQ(world.host.hidden, 1);
    EXPECT_FALSE(world.host.blink);
    EXPECT_EQ(world.host.alerts.size(), 3u);

    // An alarm keeps the blink and the reminder's hint.
    world.run.Trevoga = true;
    world.host.hint = L"Meeting";
    a.KolEm = 1;
    ProcessCheckResults(world.context);
    EXPECT_TRUE(world.host.blink);
    EXPECT_EQ(world.host.hint, L"Meeting");
}

// A failed check does not look like "no mail": the tray hint names each account whose last check failed and the
// cause, in the language chosen, below the unread count; an alarm keeps its own hint.
TEST(ResultProcessing, FailedChecksNameTheAccountAndTheCause) {
    TNotifyWorld world;
    AListEm& ann = world.AddAccount(L"ann", L"one.test", 2);
    AListEm& bob = world.AddAccount(L"bob", L"two.test", 0);
    world.AddAccount(L"cid", L"three.test", 0);
    ann.LastFailure = TCheckFailure::Certificate;
    bob.LastFailure = TCheckFailure::Login;
    ProcessCheckResults(world.context);
    EXPECT_EQ(world.host.hint,
              L"Непрочитанных сообщений: 2\n"
              L"ann@one.test: сертификат не доверен\n"
              L"bob@two.test: вход отклонён");

    // Without unread mail the failures alone; every cause has its text in each of the three languages.
    ann.KolEm = 0;
    ann.LastFailure = TCheckFailure::None;
    const TCheckFailure causes[] = {TCheckFailure::Certificate, TCheckFailure::Login, TCheckFailure::NoAnswer,
                                    TCheckFailure::Refused, TCheckFailure::Protocol};
    for (uint8_t lang : {0, 1, 2}) {
        world.settings.LangIndex = lang;
        std::set<std::wstring> texts;
        for (TCheckFailure cause : causes) {
            bob.LastFailure = cause;
            world.host.hint.clear();
            ProcessCheckResults(world.context);
            const std::wstring text = CheckFailureText(cause, lang);
            EXPECT_FALSE(text.empty());
            EXPECT_EQ(world.host.hint, L"bob@two.test: " + text);
            texts.insert(text);
        }
        EXPECT_EQ(texts.size(), std::size(causes));
    }
    EXPECT_NE(CheckFailureText(TCheckFailure::NoAnswer, 0), CheckFailureText(TCheckFailure::NoAnswer, 1));
    EXPECT_NE(CheckFailureText(TCheckFailure::NoAnswer, 0), CheckFailureText(TCheckFailure::NoAnswer, 2));

    // An alarm's hint stays; once the account's check succeeds nothing is left to tell.
    world.run.Trevoga = true;
    world.host.hint = L"Reminder";
    ProcessCheckResults(world.context);
    EXPECT_EQ(world.host.hint, L"Reminder");
    world.run.Trevoga = false;
    bob.LastFailure = TCheckFailure::None;
    ProcessCheckResults(world.context);
    EXPECT_EQ(world.host.hint, L"Reminder");  // unchanged, as with no mail before
}

TEST(ResultProcessing, AClickOpensTheLetterOfThatMessage) {
    TNotifyWorld world;
    AListEm& a = world.AddAccount(L"ann", L"one.test", 1);
    AListEm& b = world.AddAccount(L"bob", L"two.test", 1);
    world.Deliver(a, kLetterTime, L"A", L"");
    ProcessCheckResults(world.context);
    AddAlertMessage(world.context, L"reminder", kPopupKindReminder);
    world.Deliver(b, kLetterTime - 2, L"B", L"");  // sorts before A
    ProcessCheckResults(world.context);
    ASSERT_EQ(world.lists.PopupKinds, (std::vector<uint8_t>{1, 2, 1}));

    AlertDeleteMessage(world.context, 0);  // A's popup goes; B's is now the second message
    EXPECT_TRUE(world.run.Trevoga);        // the reminder message remains
    AlertClick(world.context, 2);
    EXPECT_EQ(world.host.opened, (std::vector<std::wstring>{L"http://two.test"}));
    EXPECT_EQ(world.host.beeps, 1);
    EXPECT_EQ(world.run.PovtorEm, world.settings.PovtorZvukI + 1);

    AlertClick(world.context, 1);  // the reminder: nothing to open
    AlertClick(world.context, 9);  // gone
    AlertClick(world.context, 0);  // could not be read
    EXPECT_EQ(world.host.opened.size(), 1u);

    TrayClick(world.context);  // the newest letter
    EXPECT_EQ(world.host.opened.back(), L"http://one.test");
}

TEST(ResultProcessing, DeletingAndClearingMessages) {
    TNotifyWorld world;
    AddAlertMessage(world.context, L"letter", kPopupKindLetter, L"http://x.test");
    AddAlertMessage(world.context, L"reminder", kPopupKindReminder);
    AddAlertMessage(world.context, L"letter 2", kPopupKindLetter, L"http://y.test");
    world.run.Trevoga = true;
    world.host.hint = L"Meeting";

    AlertDeleteMessage(world.context, 5);  // outside: the alarm still ends
    EXPECT_FALSE(world.run.Trevoga);
    AlertDeleteMessage(world.context, 0);
    EXPECT_TRUE(world.run.Trevoga);
    AlertDeleteMessage(world.context, 0);  // the only reminder message
    EXPECT_FALSE(world.run.Trevoga);
    EXPECT_EQ(world.host.hint, L"Meeting");
    EXPECT_EQ(world.run.PopupPages, (std::vector<std::wstring>{L"http://y.test"}));
    AlertDeleteMessage(world.context, 0);
    EXPECT_EQ(world.host.hint, L"");

    AddAlertMessage(world.context, L"a", kPopupKindLetter, L"http://a.test");
    ClearMessages(world.context);
    EXPECT_TRUE(world.lists.PopupKinds.empty());
    EXPECT_TRUE(world.run.PopupPages.empty());
    EXPECT_TRUE(world.host.alerts.empty());
    AddAlertMessage(world.context, L"b", kPopupKindReminder);  // numbered from 0 again, kinds line up
    EXPECT_EQ(world.lists.PopupKinds, (std::vector<uint8_t>{2}));
    EXPECT_EQ(world.run.PopupPages.size(), 1u);

    world.run.Trevoga = true;
    AlertClose(world.context);
    EXPECT_FALSE(world.run.Trevoga);
    EXPECT_EQ(world.run.PovtorSob, world.settings.PovtorZvukIN + 1);
    EXPECT_EQ(world.run.PovtorEm, world.settings.PovtorZvukI + 1);
}

// Ticks of the blink timer until the first sound, or -1 within the limit.
struct TRepeatCase {
    const char* what;
    bool povtorZvuk, povtorZvukN, trevoga;
    int unread;
    int mailTick, reminderTick;  // tick of the first repeat of each sound, -1 for none within 300
};

TEST(ResultProcessing, BlinkAndSoundRepeats) {
    const TRepeatCase cases[] = {
        {"mail repeats at ProvEmSek 60", true, true, false, 3, 93, -1},
        {"reminder repeats", true, true, true, 3, -1, 85},
        {"mail repeats off, no alarm", false, true, false, 3, -1, -1},
        {"alarm, reminder repeats off: mail repeats", true, false, true, 0, 93, -1},
        {"all repeats off", false, false, true, 2, -1, -1},
    };
    for (const TRepeatCase& c : cases) {
        TNotifyWorld world;
        world.settings.ProvEmSek = 60;
        world.settings.PovtorZvuk = c.povtorZvuk;
        world.settings.PovtorZvukN = c.povtorZvukN;
        world.run.Trevoga = c.trevoga;
        world.run.KolEmVsego = c.unread;
        int mailAt = -1, reminderAt = -1;
        for (int tick = 1; tick <= 300; ++tick) {
            const int mail = world.host.mailSounds, reminder = world.host.reminderSounds;
            MorgIconTick(world.context);
            if (mailAt < 0 && world.host.mailSounds > mail)
                mailAt = tick;
            if (reminderAt < 0 && world.host.reminderSounds > reminder)
                reminderAt = tick;
        }
        EXPECT_EQ(mailAt, c.mailTick) << c.what;
        EXPECT_EQ(reminderAt, c.reminderTick) << c.what;
    }
}

TEST(ResultProcessing, RepeatsStopAtTheirNumber) {
    TNotifyWorld world;
    world.settings.PovtorZvukI = 2;
    world.settings.ProvEmSek = 30;  // a repeat every 47 ticks
    world.run.KolEmVsego = 4;
    for (int tick = 0; tick < 1000; ++tick)
        MorgIconTick(world.context);
    EXPECT_EQ(world.host.mailSounds, 2);
    EXPECT_EQ(world.run.PovtorEm, 2);
}

TEST(ResultProcessing, BlinkImages) {
    struct Case {
        int unread;
        bool trevoga;
        std::vector<int> images;  // after each tick
        bool blinkAfter;
    };
    const Case cases[] = {
        {3, false, {3, 0, 3}, true},
        {25, false, {10, 0, 10}, true},
        {2, true, {12, 0, 12}, true},
        {0, false, {0, 0, 0}, false},
    };
    for (const Case& c : cases) {
        TNotifyWorld world;
        world.run.KolEmVsego = c.unread;
        world.run.Trevoga = c.trevoga;
        world.host.blink = true;
        std::vector<int> images;
        for (size_t i = 0; i < c.images.size(); ++i) {
            MorgIconTick(world.context);
            images.push_back(world.host.trayImage);
        }
        EXPECT_EQ(images, c.images) << c.unread;
        EXPECT_EQ(world.host.blink, c.blinkAfter) << c.unread;
    }
}

TEST(ResultProcessing, PopupStyleBySkin) {
    struct Case {
        int skin;
        const wchar_t* style;
    };
    const Case cases[] = {{42, L"asOffice2007Luna"},   {43, L"asOffice2010Black"},  {45, L"asOffice2010Black"},
                          {44, L"asOffice2010Silver"}, {47, L"asOffice2010Silver"}, {46, L"asOffice2010Blue"},
                          {48, L"asOffice2013White"},  {51, L"asOffice2013White"},  {52, L"asTerminal"},
                          {77, L"asWindows7"},         {80, L"asWindows8"},         {81, L"asTerminal"},
                          {0, L"asTerminal"}};
    for (const Case& c : cases)
        EXPECT_EQ(AlertStyleForSkin(c.skin), c.style) << c.skin;
}

TEST(ResultProcessing, PopupSize) {
    struct Case {
        int w, h;
        bool text;
        int width, height;
    };
    const Case cases[] = {
        {1920, 1080, true, 500, 154},  {1920, 1080, false, 400, 120}, {2560, 1440, true, 640, 205},
        {3840, 2160, false, 768, 240}, {800, 600, true, 500, 150},
    };
    for (const Case& c : cases) {
        const TPopupSize size = PopupSizeFor(c.w, c.h, c.text);
        EXPECT_EQ(size.Width, c.width) << c.w << "x" << c.h;
        EXPECT_EQ(size.Height, c.height) << c.w << "x" << c.h;
    }
}

}  // namespace
