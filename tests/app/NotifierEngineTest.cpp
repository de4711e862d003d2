// The notifier engine in a small test window under Wine: real timers, real check threads against the private
// Dovecot of the ctest fixture and against a server that never answers, the alert window, the tray icon and a
// recording sound sink. Reminders fire through the real one-second timer on an injected clock.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <sstream>

#include "AnswerProbe.h"
#include "DovecotLetters.h"
#include "NotifyFakes.h"
#include "TestSupport.h"
#include "alert/HtmlText.h"
#include "alert/MsgAlertWindow.h"
#include "app/NotifierEngine.h"
#include "app/Sounds.h"
#include "classlib/ExtCtrls.h"
#include "classlib/WindowTestUtil.h"
#include "skin/form/TrayIcon.h"

using namespace trelm_test;

namespace {

struct TSoundRecorder : TSoundSink {
    std::mutex mutex;
    std::vector<std::wstring> files;
    int beeps = 0;
    void Beep(unsigned) override {
        std::lock_guard<std::mutex> lock(mutex);
        ++beeps;
    }
    void PlayFile(const std::wstring& path) override {
        std::lock_guard<std::mutex> lock(mutex);
        files.push_back(path);
    }
    int Count(const std::wstring& name) {
        std::lock_guard<std::mutex> lock(mutex);
        return static_cast<int>(std::count_if(files.begin(), files.end(), [&](const std::wstring& f) {
            return f.size() >= name.size() && f.compare(f.size() - name.size(), name.size(), name) == 0;
        }));
    }
};

std::wstring WindowText(HWND wnd) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(wnd, buffer, 1024);
    return buffer;
}

// A main window in miniature: a form with the tray icon and its 13 images, recording what the engine asks of it.
class TTestWindow : public TNotifierWindow {
  public:
    TTestWindow() {
        form.reset(new TForm(nullptr));
        form->SetBounds(50, 50, 300, 200);
        form->SetCaption(L"Engine test");
        form->Show();
        images = new TImageList(form.get(), 16, 16);
        for (int i = 0; i < 13; ++i) {
            TBitmap bitmap;
            bitmap.SetSize(16, 16);
            bitmap.Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(i * 19, 100, 200 - i * 10)));
            bitmap.Canvas()->FillRect(TRect{0, 0, 16, 16});
            images->Add(&bitmap, nullptr);
        }
        tray = new TbsTrayIcon(form.get());
        tray->SetIconList(images);
        tray->SetIconIndex(0);
        tray->ShowIcon();
    }
    HWND NotifierOwner() override { return form->Handle(); }
    void LettersChanged() override { ++lettersChanged; }
    void EventsChanged() override { ++eventsChanged; }
    void EventsTicked() override { ++eventsTicked; }
    void FiredEventAdded() override { ++firedAdded; }
    void UpdateFormHeight(int rows) override { formRows = rows; }
    void SaveSettings() override { ++saves; }

    std::unique_ptr<TForm> form;
    TImageList* images = nullptr;  // owned by the form
    TbsTrayIcon* tray = nullptr;   // owned by the form
    int lettersChanged = 0, eventsChanged = 0, eventsTicked = 0, firedAdded = 0, formRows = -1, saves = 0;
};

class NotifierEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetSoundSink(&sounds);
        persist.ProgDir = L"C:\\TrelmTest";
        settings.ProvEmSek = 30;
        window = std::make_unique<TTestWindow>();
        engine = new TNotifierEngine(window->form.get(), lists, settings, persist, run, lang, window->tray, *window);
        engine->SetFormatSettings(PinnedFormats());
        engine->SetPageOpener([this](const std::wstring& url) { opened.push_back(url); });
        engine->AlertWindow()->FadeTime = 2;
        TMailCheckOptions& options = engine->CheckOptions();
        options.StartDelayMs = 0;
        options.Timeouts.connectMs = 10000;
        options.Timeouts.ioMs = 5000;
    }
    void TearDown() override {
        window.reset();  // frees the engine first: it stops its check
        SetSoundSink(nullptr);
    }

    AListEm& AddAccount(const std::wstring& login, int port) {
        auto account = std::make_unique<AListEm>();
        account->Login = login;
        account->Domain = L"example.test";
        account->Parol = L"secret";
        account->HostIMAP = L"localhost";
        account->PortIMAP = port;
        account->UrlVhod = L"http://127.0.0.1/" + login;
        lists.Accounts.push_back(std::move(account));
        return *lists.Accounts.back();
    }
    int AlertCount() { return engine->AlertWindow()->AlertMessages()->Count(); }
    std::wstring AlertText(int i) { return engine->AlertWindow()->AlertMessages()->Items(i)->JoinedText(); }
    HWND PopupWindow() {
        TAlertWindow* w = engine->AlertWindow()->AlertWindow();
        return w && w->HandleAllocated() ? w->Handle() : nullptr;
    }

    TSoundRecorder sounds;
    TNotifierLists lists;
    TSettings settings;
    TPersistState persist;
    TRunState run;
    TLanguage lang = RussianLines();
    std::unique_ptr<TTestWindow> window;
    TNotifierEngine* engine = nullptr;  // owned by the form
    std::vector<std::wstring> opened;
};

// ---- the whole way against Dovecot -----------------------------------------------------------------------------

class NotifierEngineDovecot : public NotifierEngineTest {
  protected:
    void SetUp() override {
        if (nettest::FixtureDir().empty())
            GTEST_SKIP() << "no Dovecot fixture (run through ctest)";
        ASSERT_TRUE(nettest::TrustTestCa());
        NotifierEngineTest::SetUp();
        port = std::stoi(nettest::FixtureValue("PORT"));
    }
    // The popup text of a letter in the pinned formats.
    static std::wstring Expected(int64_t utc,
                                 const std::wstring& name,
                                 const std::wstring& login,
                                 const std::wstring& subject) {
        return LetterPopupText(L"dd.mm.yyyy", PinnedFormats(), utc, name, login, subject);
    }
    int port = 0;
};

TEST_F(NotifierEngineDovecot, AnnouncesNewLettersOfTwoAccountsOnceAndLeavesThemUnseen) {
    FixtureCtl({"reset", "user@example.test"});
    FixtureCtl({"reset", "other@example.test"});
    const int64_t t1 = 1704103200, t2 = 1704106800, t3 = 1704110400, t4 = 1704114000;
    SaveLetter("user@example.test", t1, kAnnWord, kPrivetWord);
    SaveLetter("other@example.test", t2, kBorisWord, "<img src=\"http://127.0.0.1/x.png\">");
    SaveLetter("user@example.test", t3, kAnnWord, "second");
    AddAccount(L"user", port);
    AddAccount(L"other", port);
    settings.ProvVseSrazu = true;
    settings.ProvEmSek = 2;       // the editor's minimum is 30; the settings file takes any value
    settings.PovtorZvuk = false;  // repeats would sound every 3 s at this interval

    engine->FirstPaint();  // first round after 1 s, all accounts
    ASSERT_TRUE(PumpUntil([&] { return AlertCount() == 3 && !engine->Checking(); }, 40000)) << AlertCount();
    // In the order the checks handed them over: user's two letters, then other's.
    std::vector<std::wstring> texts;
    for (int i = 0; i < 3; ++i)
        texts.push_back(HtmlPlainText(AlertText(i)));
    EXPECT_EQ(texts[0], Expected(t1, kAnn, L"user", kPrivet));
    EXPECT_EQ(texts[1], Expected(t3, kAnn, L"user", L"second"));
    EXPECT_EQ(texts[2], Expected(t2, kBoris, L"other", L"<img src=\"http://127.0.0.1/x.png\">"));
    // The tag came as text: escaped in the message, so the renderer draws it instead of loading a picture.
    EXPECT_NE(AlertText(2).find(L"&lt;img"), std::wstring::npos);
    // The popup shows the newest message, and its window text is what it says.
    HWND popup = PopupWindow();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_EQ(WindowText(popup), texts[2]);
    wchar_t className[64] = {};
    GetClassNameW(popup, className, 64);
    EXPECT_EQ(std::wstring(className), L"TAlertWindow");

    const std::wstring hint = lang.LangLine(kUnreadHintLine) + L": 3";
    EXPECT_EQ(window->tray->Hint(), hint);
    EXPECT_EQ(WindowText(window->tray->WindowHandle()), hint);
    EXPECT_TRUE(engine->BlinkTimer()->Enabled());
    ASSERT_TRUE(PumpUntil([&] { return sounds.Count(kMailSoundFile) >= 1; }, 5000));
    EXPECT_EQ(sounds.Count(kMailSoundFile), 1);
    EXPECT_EQ(lists.PopupKinds, (std::vector<uint8_t>{kPopupKindLetter, kPopupKindLetter, kPopupKindLetter}));

    // Nothing was marked read.
    for (const char* user : {"user@example.test", "other@example.test"}) {
        const std::string flags = FixtureCtl({"flags", user});
        EXPECT_EQ(flags.find("\\Seen"), std::string::npos) << user << ": " << flags;
    }

    // A later letter comes with a later round, alone; the first ones are not announced again.
    SaveLetter("other@example.test", t4, kBorisWord, "third");
    ASSERT_TRUE(PumpUntil([&] { return AlertCount() >= 4; }, 40000));
    EXPECT_EQ(HtmlPlainText(AlertText(3)), Expected(t4, kBoris, L"other", L"third"));
    ASSERT_TRUE(PumpUntil([&] { return sounds.Count(kMailSoundFile) >= 2; }, 5000));
    const int roundsBefore = window->lettersChanged;
    ASSERT_TRUE(PumpUntil([&] { return window->lettersChanged >= roundsBefore + 2; }, 40000));
    EXPECT_EQ(AlertCount(), 4);
    EXPECT_EQ(sounds.Count(kMailSoundFile), 2);
    EXPECT_EQ(run.KolEmVsego, 4);
    EXPECT_EQ(window->tray->Hint(), lang.LangLine(kUnreadHintLine) + L": 4");

    // A click on a popup opens the letter that popup announces, whatever position it has in the letters list.
    TMsgAlertWindow* alert = engine->AlertWindow();
    alert->SetActiveMessage(3);
    alert->OnAlertClick(alert);
    alert->SetActiveMessage(1);
    alert->OnAlertClick(alert);
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"http://127.0.0.1/other", L"http://127.0.0.1/user"}));

    // Clearing from the tray menu empties the popup and the kinds alike.
    engine->ClearMessages();
    EXPECT_EQ(AlertCount(), 0);
    EXPECT_TRUE(lists.PopupKinds.empty());
    EXPECT_TRUE(run.PopupPages.empty());
}

// ---- a server that accepts and never answers ---------------------------------------------------------------------

TEST_F(NotifierEngineDovecot, SilentServerNeitherFreezesTheWindowNorStopsTheRounds) {
    nettest::FakeImap silent;
    silent.greeting.clear();
    nettest::ScriptServer server([silent](nettest::ScriptConnection& c) { silent.Serve(c); },
                                 std::make_unique<netlib::TlsServerOptions>(nettest::ServerTls()));
    FixtureCtl({"reset", "user@example.test"});
    SaveLetter("user@example.test", 1704103200, kAnnWord, kPrivetWord);
    AListEm& account = AddAccount(L"user", server.Port());
    settings.ProvEmSek = 30;                        // two watchdog ticks end a hung check
    engine->CheckOptions().Timeouts.ioMs = 600000;  // only the watchdog ends it

    TAnswerProbe probe(window->form->Handle(), 20, 3000);
    engine->FirstPaint();
    ASSERT_TRUE(PumpUntil([&] { return engine->Checking(); }, 5000));
    // The round waits 10 s for the check, then the watchdog ends it after its second tick.
    ASSERT_TRUE(PumpUntil([&] { return !engine->Checking(); }, 40000));
    probe.Stop();
    EXPECT_EQ(probe.Failures(), 0);
    EXPECT_GT(probe.Asked(), 100);
    EXPECT_LT(probe.LongestMs(), 3000u);
    EXPECT_EQ(run.TikPotok, 0);
    EXPECT_EQ(AlertCount(), 0);
    EXPECT_TRUE(engine->MailTimer()->Enabled());
    EXPECT_TRUE(engine->WatchdogTimer()->Enabled());

    // The next round still comes (sooner than 30 s here) and finds the letter once the server answers.
    account.PortIMAP = port;
    engine->MailTimer()->SetInterval(500);
    ASSERT_TRUE(PumpUntil([&] { return AlertCount() == 1; }, 30000));
    EXPECT_NE(AlertText(0).find(kPrivet), std::wstring::npos);
}

// ---- reminders through the real timer ----------------------------------------------------------------------------

TEST_F(NotifierEngineTest, DatedReminderFiresThroughTheSecondTimerAndIsSavedAway) {
    // Today 14:29:58 on the injected clock, running with real time.
    const TDateTime today = std::floor(Now());
    const TDateTime base = today + EncodeTime(14, 29, 58, 0);
    const ULONGLONG started = GetTickCount64();
    engine->SetClock([&] { return base + static_cast<double>(GetTickCount64() - started) / 86400000.0; });
    auto event = std::make_unique<AListSob>();
    event->Name = L"\x0421\x043E\x0437\x0432\x043E\x043D";  // "Созвон"
    event->Date = today;
    event->Time = EncodeTime(14, 30, 0, 0);
    lists.Events.push_back(std::move(event));
    settings.UdalProshSob = true;
    settings.ZaSkolkPredupr = 0;

    engine->FirstPaint();
    EXPECT_TRUE(engine->ReminderTimer()->Enabled());
    ASSERT_TRUE(PumpUntil([&] { return AlertCount() == 1; }, 8000));
    const ULONGLONG firedAfter = GetTickCount64() - started;
    EXPECT_GE(firedAfter, 1900u);  // not before its time
    EXPECT_EQ(lists.PopupKinds, (std::vector<uint8_t>{kPopupKindReminder}));
    const std::wstring text = HtmlPlainText(AlertText(0));
    EXPECT_NE(text.find(L"14:30:00"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"\x0421\x043E\x0437\x0432\x043E\x043D"), std::wstring::npos) << text;
    ASSERT_EQ(lists.FiredEvents.size(), 1u);
    EXPECT_EQ(window->firedAdded, 1);
    EXPECT_EQ(window->tray->Hint(), L"\x0421\x043E\x0437\x0432\x043E\x043D");
    EXPECT_TRUE(run.Trevoga);
    EXPECT_TRUE(engine->BlinkTimer()->Enabled());
    ASSERT_TRUE(PumpUntil([&] { return sounds.Count(kAlarmSoundFile) == 1; }, 5000));
    // Passed: deleted from the list and saved.
    ASSERT_TRUE(PumpUntil([&] { return lists.Events.empty(); }, 5000));
    EXPECT_GE(window->saves, 1);
    EXPECT_GE(window->eventsChanged, 1);
    EXPECT_GT(window->eventsTicked, 1);

    // The blink timer alternates the alarm image with the idle one; a click on a reminder's popup opens nothing.
    ASSERT_TRUE(PumpUntil([&] { return window->tray->IconIndex() == kTrayAlarm; }, 3000));
    engine->AlertWindow()->SetActiveMessage(1);
    engine->AlertWindow()->OnAlertClick(engine->AlertWindow());
    EXPECT_TRUE(opened.empty());
    // Closing the popup ends the alarm.
    engine->AlertWindow()->OnClose(engine->AlertWindow());
    EXPECT_FALSE(run.Trevoga);
    ASSERT_TRUE(PumpUntil([&] { return !engine->BlinkTimer()->Enabled(); }, 3000));
    EXPECT_EQ(window->tray->IconIndex(), kTrayIdle);
}

// Without accounts the first tick stops the mail-check timer and starts nothing; the popup gets the skin's style.
TEST_F(NotifierEngineTest, NoAccountsNoCheckAndStyleBySkin) {
    engine->FirstPaint();
    EXPECT_EQ(engine->MailTimer()->Interval(), 1000u);
    ASSERT_TRUE(PumpUntil([&] { return !engine->MailTimer()->Enabled(); }, 5000));
    EXPECT_FALSE(engine->Checking());
    EXPECT_EQ(window->tray->IconIndex(), kTrayIdle);

    settings.SkinIndex = 45;
    settings.VremPokVspOkn = 45;
    engine->ApplyStarting();
    EXPECT_FALSE(engine->MailTimer()->Enabled());
    engine->Applied();
    EXPECT_EQ(engine->AlertWindow()->Style(), asOffice2010Black);
    EXPECT_EQ(engine->AlertWindow()->DisplayTime(), 45000);
    EXPECT_TRUE(engine->AlertWindow()->AutoHide());
    EXPECT_TRUE(engine->MailTimer()->Enabled());
    EXPECT_EQ(engine->MailTimer()->Interval(), 30000u);
    settings.SkinIndex = 52;
    engine->SetAlertStyle();
    EXPECT_EQ(engine->AlertWindow()->Style(), asTerminal);
}

}  // namespace
