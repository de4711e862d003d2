// TrelmMail.exe end to end against the private Dovecot of the ctest fixture, driven from outside as a user would
// meet it: a prepared settings file with two accounts and a short interval, the program started in its own folder,
// and what it shows read back from its windows: the popup window's text (the plain text of its active message,
// paged with real clicks on its "previous" button), the tray icon's tip (the text of the icon's hidden window), the
// sounds it would play (TRELM_SOUND_LOG), and the letters' flags on the server.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "AnswerProbe.h"
#include "DovecotLetters.h"
#include "HttpServe.h"
#include "NotifierDriver.h"
#include "NotifyFakes.h"
#include "SilentServer.h"
#include "TestSupport.h"
#include "app/CheckFailure.h"
#include "app/SettingsFile.h"
#include "app/Sounds.h"
#include "base/Files.h"
#include "base/Utf.h"
#include "identity/MachineId.h"

using namespace trelm_test;

namespace {

constexpr DWORD kStart = 20000;
// A round of two accounts takes a few seconds, one against the silent server more than ten.
constexpr DWORD kRound = 60000;

class EndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (nettest::FixtureDir().empty())
            GTEST_SKIP() << "no Dovecot fixture (run through ctest)";
        ASSERT_TRUE(nettest::TrustTestCa());
        port_ = std::stoi(nettest::FixtureValue("PORT"));
        std::wstring name = L"e2e_";
        for (const char* p = ::testing::UnitTest::GetInstance()->current_test_info()->name(); *p; ++p)
            name += static_cast<wchar_t>(*p);
        app_ = std::make_unique<TNotifierProcess>(name);
        soundLog_ = app_->File(L"sounds.log");
        DeleteFileW(soundLog_.c_str());
        SetCursorPos(5, 5);
        fs_ = TFormatSettings::FromUserLocale();
        fs_.TimeSeparator = L':';
    }
    void TearDown() override { app_.reset(); }

    // Two accounts or more, a round every 5 s (the settings file takes any interval; the editor's least is 30), no
    // sound repeats, popups shown for ten minutes, one IMAP server so that nothing is downloaded at start.
    static TSettings QuickSettings() {
        TSettings s;
        s.ProvEmSek = 5;
        s.PovtorZvuk = false;
        s.VremPokVspOkn = 600;
        return s;
    }
    static std::unique_ptr<AListEm> Account(const std::wstring& login, const std::wstring& host, int port) {
        auto a = std::make_unique<AListEm>();
        a->Login = login;
        a->Domain = L"example.test";
        a->Parol = L"secret";
        a->HostIMAP = host;
        a->PortIMAP = port;
        a->UrlVhod = L"http://127.0.0.1:9/" + login;  // a stray click opens nothing beyond loopback
        return a;
    }
    void WriteSettings(TSettings settings, TNotifierLists& lists) {
        lists.ImapServers.push_back(std::make_unique<AListImap>(AListImap{L"example.test", L"localhost", 993}));
        std::wstring id = GetMachineId();
        SaveSettingsAs(app_->File(L"Posl.vkz"), settings, lists, id);
    }
    HWND Start() {
        SetEnvironmentVariableW(L"TRELM_SOUND_LOG", soundLog_.c_str());
        const bool started = app_->Start();
        SetEnvironmentVariableW(L"TRELM_SOUND_LOG", nullptr);
        EXPECT_TRUE(started);
        HWND main = nullptr;
        WaitUntil(
            [&] {
                main = app_->MainWindow();
                return main && IsWindowVisible(main);
            },
            kStart);
        return main;
    }

    // The tray icon's tip.
    std::wstring Tip() const {
        HWND tray = app_->TrayWindow();
        return tray ? WindowText(tray) : std::wstring();
    }
    std::wstring CountTip(int n) const { return lang_.LangLine(kUnreadHintLine) + L": " + std::to_wstring(n); }
    // Waits for the account's check to start (its login as the tip) and for the round to end (the count again).
    bool WaitRoundOf(const std::wstring& login, int count) {
        return WaitUntil([&] { return Tip() == login; }, kRound) &&
               WaitUntil([&] { return Tip() == CountTip(count); }, kRound);
    }

    // The popup window (class TAlertWindow) while it is shown.
    HWND Popup() const {
        for (HWND wnd : app_->TopWindows()) {
            wchar_t cls[64] = {};
            GetClassNameW(wnd, cls, 64);
            if (std::wstring(cls) == L"TAlertWindow" && IsWindowVisible(wnd))
                return wnd;
        }
        return nullptr;
    }
    // The popup's pages from the active one back to the first: its text, then a real click on "previous" as long
    // as that changes the text. The button lies left of the centred counter "n-1 из n" (Tahoma, 13 pixels).
    std::vector<std::wstring> PopupPages(HWND popup, int count) {
        std::vector<std::wstring> pages{WindowText(popup)};
        HDC dc = GetDC(nullptr);
        HFONT font = CreateFontW(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
        HGDIOBJ old = SelectObject(dc, font);
        const std::wstring counter = std::to_wstring(count - 1) + L" \x0438\x0437 " + std::to_wstring(count);
        SIZE size{};
        GetTextExtentPoint32W(dc, counter.c_str(), static_cast<int>(counter.size()), &size);
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(nullptr, dc);
        RECT client{};
        GetClientRect(popup, &client);
        const int f = size.cx + 8;
        POINT prev{client.right / 2 - f / 2 - 10, client.bottom - 13};
        ClientToScreen(popup, &prev);
        for (int i = 0; i < count; ++i) {
            ClickAt(prev.x, prev.y);
            std::wstring text;
            if (!WaitUntil(
                    [&] {
                        text = WindowText(popup);
                        return text != pages.back();
                    },
                    2000))
                break;
            pages.push_back(text);
        }
        SetCursorPos(5, 5);
        return pages;
    }
    // The mail sounds the program played into its sound log.
    int MailSounds() const {
        const std::string log = ReadWholeFile(soundLog_).value_or(std::string());
        const std::string tail = WideToUtf8(kMailSoundFile);
        int n = 0;
        size_t at = 0;
        for (size_t end; (end = log.find("\r\n", at)) != std::string::npos; at = end + 2) {
            const std::string line = log.substr(at, end - at);
            if (line.rfind("play ", 0) == 0 && line.size() >= tail.size() &&
                line.compare(line.size() - tail.size(), tail.size(), tail) == 0)
                ++n;
        }
        return n;
    }
    std::wstring Letter(int64_t utc, const std::wstring& name, const std::wstring& login, const std::wstring& subject) {
        const std::wstring sep(1, fs_.DateSeparator);
        return LetterPopupText(L"dd" + sep + L"mm" + sep + L"yyyy", fs_, utc, name, login, subject);
    }
    static void ExpectUnseen(const char* user) {
        const std::string flags = FixtureCtl({"flags", user});
        EXPECT_EQ(flags.find("\\Seen"), std::string::npos) << user << ": " << flags;
    }

    int port_ = 0;
    std::unique_ptr<TNotifierProcess> app_;
    std::wstring soundLog_;
    TFormatSettings fs_;
    TLanguage lang_ = RussianLines();
};

TEST_F(EndToEndTest, AnnouncesTwoAccountsLettersOnceLeavesThemUnseenAndALaterLetterAtTheNextRound) {
    FixtureCtl({"reset", "user@example.test"});
    FixtureCtl({"reset", "other@example.test"});
    const int64_t t1 = 1704103200, t2 = 1704106800, t3 = 1704110400, t4 = 1704114000;
    const std::string tag = "<img src=\"http://127.0.0.1:9/x.png\">";
    SaveLetter("user@example.test", t1, kAnnWord, kPrivetWord);
    SaveLetter("other@example.test", t2, kBorisWord, kVstrechaWord);
    SaveLetter("user@example.test", t3, kAnnWord, tag);
    TNotifierLists lists;
    lists.Accounts.push_back(Account(L"user", L"localhost", port_));
    lists.Accounts.push_back(Account(L"other", L"localhost", port_));
    WriteSettings(QuickSettings(), lists);
    ASSERT_NE(Start(), nullptr);

    // The first round checks both accounts and announces their three letters: one popup message each, in the order
    // the checks handed them over, the newest shown; one mail sound; the count as the tray tip.
    ASSERT_TRUE(WaitUntil([&] { return Tip() == CountTip(3); }, kRound)) << Tip();
    HWND popup = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (popup = Popup()) != nullptr; }, 5000));
    Shot(popup, L"e2e-popup-3");
    Shot(app_->MainWindow(), L"e2e-main-3");
    const std::vector<std::wstring> first{Letter(t2, kBoris, L"other", kVstrecha),
                                          Letter(t3, kAnn, L"user", Utf8ToWide(tag)),
                                          Letter(t1, kAnn, L"user", kPrivet)};
    EXPECT_EQ(PopupPages(popup, 3), first);
    ASSERT_TRUE(WaitUntil([&] { return MailSounds() >= 1; }, 5000));
    for (const char* user : {"user@example.test", "other@example.test"})
        ExpectUnseen(user);

    // Later rounds check one account each: a round of each finds nothing new and plays nothing.
    ASSERT_TRUE(WaitRoundOf(L"user", 3));
    ASSERT_TRUE(WaitRoundOf(L"other", 3));
    EXPECT_EQ(MailSounds(), 1);

    // A fourth letter comes with the next round of its account, alone; the first three are not announced again,
    // not even by the rounds after it.
    SaveLetter("other@example.test", t4, kBorisWord, "third");
    ASSERT_TRUE(WaitUntil([&] { return Tip() == CountTip(4); }, kRound)) << Tip();
    ASSERT_TRUE(WaitRoundOf(L"user", 4));
    ASSERT_TRUE(WaitRoundOf(L"other", 4));
    ASSERT_TRUE(WaitUntil([&] { return (popup = Popup()) != nullptr; }, 5000));
    std::vector<std::wstring> all{Letter(t4, kBoris, L"other", L"third")};
    all.insert(all.end(), first.begin(), first.end());
    Shot(popup, L"e2e-popup-4");
    EXPECT_EQ(PopupPages(popup, 4), all);
    EXPECT_EQ(MailSounds(), 2);
    for (const char* user : {"user@example.test", "other@example.test"})
        ExpectUnseen(user);
    EXPECT_TRUE(app_->Running());
}

// A failed check does not look like "no mail": after the round the tray tip names each account and the cause, an
// untrusted certificate (127.0.0.2 answers with one from a CA nobody trusts) and a refused login.
TEST_F(EndToEndTest, TheTrayTipTellsWhyAChecksFailed) {
    FixtureCtl({"reset", "user@example.test"});
    SaveLetter("user@example.test", 1704103200, kAnnWord, kPrivetWord);
    TNotifierLists lists;
    lists.Accounts.push_back(Account(L"user", L"127.0.0.2", port_));
    auto wrong = Account(L"other", L"localhost", port_);
    wrong->Parol = L"not the password";
    lists.Accounts.push_back(std::move(wrong));
    WriteSettings(QuickSettings(), lists);
    ASSERT_NE(Start(), nullptr);
    const std::wstring expected = L"user@example.test: " + CheckFailureText(TCheckFailure::Certificate, 0) +
                                  L"\nother@example.test: " + CheckFailureText(TCheckFailure::Login, 0);
    ASSERT_TRUE(WaitUntil([&] { return Tip() == expected; }, kRound)) << Tip();
    // The certificate was refused before the login: the letter was never announced.
    EXPECT_EQ(Popup(), nullptr);
    EXPECT_EQ(MailSounds(), 0);
    ExpectUnseen("user@example.test");
    EXPECT_TRUE(app_->Running());
}

TEST_F(EndToEndTest, ASilentServerNeitherFreezesTheWindowNorStopsTheRounds) {
    TSilentServer silent;
    FixtureCtl({"reset", "other@example.test"});
    const int64_t t1 = 1704103200, t2 = 1704106800;
    SaveLetter("other@example.test", t1, kBorisWord, kPrivetWord);
    TNotifierLists lists;
    lists.Accounts.push_back(Account(L"silent", L"127.0.0.1", silent.Port()));
    lists.Accounts.push_back(Account(L"other", L"localhost", port_));
    WriteSettings(QuickSettings(), lists);
    HWND main = Start();
    ASSERT_NE(main, nullptr);

    // Asked all the time, from the start: the window answers within a few seconds every time.
    TAnswerProbe probe(main, 20, 3000);
    // The first round waits ten seconds for the silent server, then checks the other account; the tip tells the
    // count and that the silent server does not answer.
    const std::wstring silentTip = L"\nsilent@example.test: " + CheckFailureText(TCheckFailure::NoAnswer, 0);
    ASSERT_TRUE(WaitUntil([&] { return Tip() == CountTip(1) + silentTip; }, kRound)) << Tip();
    // The rounds go on in rotation: the silent account again (another ten seconds, its check still hanging when
    // the next round starts), then the other one, which brings the letter delivered meanwhile.
    // (The silent round leaves the tip at its login: its result processing only counts a watchdog tick.)
    SaveLetter("other@example.test", t2, kBorisWord, "second");
    ASSERT_TRUE(WaitUntil([&] { return Tip() == L"silent"; }, kRound)) << Tip();
    ASSERT_TRUE(WaitUntil([&] { return Tip() == CountTip(2) + silentTip; }, kRound)) << Tip();
    probe.Stop();
    HWND popup = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (popup = Popup()) != nullptr; }, 5000));
    EXPECT_EQ(WindowText(popup), Letter(t2, kBoris, L"other", L"second"));

    EXPECT_EQ(probe.Failures(), 0);
    EXPECT_GT(probe.Asked(), 500);
    EXPECT_LT(probe.LongestMs(), 3000u);
    // Both silent checks were held for a whole round's wait and then ended by the program.
    ASSERT_TRUE(WaitUntil([&] { return silent.HeldMs().size() >= 2; }, 10000)) << silent.Connections();
    for (ULONGLONG held : silent.HeldMs())
        EXPECT_GE(held, 9000u);
    std::printf("silent server: %d connections; window asked %d times, longest answer %llu ms, 99%% within %llu ms\n",
                silent.Connections(), probe.Asked(), probe.LongestMs(), probe.Percentile99());
    EXPECT_TRUE(app_->Running());
}

// Closing the program while its checks run against hostile servers (one that never greets, one that sends an
// endless line a byte at a time, one whose structure nests 100,000 deep) ends it within a few seconds, at any
// point of the rounds.
TEST_F(EndToEndTest, ClosingDuringHostileChecksEndsTheProgramPromptly) {
    TSilentServer silent;
    auto tls = [] { return std::make_unique<netlib::TlsServerOptions>(nettest::ServerTls()); };
    nettest::ScriptServer drip(
        [](nettest::ScriptConnection& c) {
            if (!c.Send("* OK "))
                return;
            while (c.Send("x"))
                Sleep(50);
        },
        tls());
    nettest::FakeImap deep;
    deep.messages = {{1, "Date: Mon, 1 Jan 2024 10:00:00 +0000\r\nSubject: deep\r\n\r\nx\r\n",
                      "01-Jan-2024 10:00:00 +0000", std::string(100000, '(') + std::string(100000, ')')}};
    nettest::ScriptServer deepServer([deep](nettest::ScriptConnection& c) { deep.Serve(c); }, tls());

    for (DWORD closeAfter : {3000u, 14000u, 26000u}) {
        SCOPED_TRACE(closeAfter);
        TNotifierLists lists;
        lists.Accounts.push_back(Account(L"silent", L"127.0.0.1", silent.Port()));
        lists.Accounts.push_back(Account(L"drip", L"localhost", drip.Port()));
        lists.Accounts.push_back(Account(L"deep", L"localhost", deepServer.Port()));
        TSettings settings = QuickSettings();
        settings.OtobrTextEm = true;
        WriteSettings(settings, lists);
        HWND main = Start();
        ASSERT_NE(main, nullptr);
        Sleep(closeAfter);
        ASSERT_TRUE(app_->Running());
        const ULONGLONG asked = GetTickCount64();
        PostMessageW(main, WM_CLOSE, 0, 0);
        const bool ended = app_->WaitExit(30000);
        const ULONGLONG took = GetTickCount64() - asked;
        std::printf("closed after %lu ms of checks: ended in %llu ms (tip then: %s)\n", closeAfter, took,
                    WideToUtf8(Tip()).c_str());
        ASSERT_TRUE(ended);
        EXPECT_LT(took, 4000u);
    }
}

}  // namespace

// The finished program as a user meets it, through the skinned window: started in Ukrainian with no settings (the
// server list comes from the maker's host, here a loopback server), an account whose domain is picked in the combo
// box (host and port follow), a reminder three minutes ahead with a five-minute warning, a sound from the sound
// dialog and skin 45 from the skin dialog; Apply writes them; the letter comes as a popup, into the letter list and
// as the tray count, the warning comes as a popup; to the tray and back by the icon; after a restart the settings,
// the language and the skin are back; Exit ends the process. All along another thread asks the window and every
// question is answered within 3 s.
TEST_F(EndToEndTest, SmokeTheFinishedProgramFromAFirstStartToExit) {
    FixtureCtl({"reset", "user@example.test"});
    SaveLetter("user@example.test", 1704103200, kAnnWord, kPrivetWord);
    const std::string serverList =
        "mail.test                    imap.mail.test                          993\r\n"
        "example.test                 imap.example.test                       " +
        std::to_string(port_) + "\r\n";
    nettest::ScriptServer maker(Serve(serverList), nullptr);
    const std::wstring makerHost = L"127.0.0.1:" + std::to_wstring(maker.Port());
    app_->WriteFile(L"yazik.txt", std::string("\x02\x00\x00\x00", 4));
    auto startShown = [&] {
        EXPECT_TRUE(app_->Start(makerHost));
        HWND main = nullptr;
        WaitUntil([&] { return (main = app_->MainWindow()) && IsWindowVisible(main); }, kStart);
        return main;
    };
    HWND main = startShown();
    ASSERT_NE(main, nullptr);
    auto probe = std::make_unique<TAnswerProbe>(main, 20, 3000);
    ULONGLONG longest = 0;
    int failures = 0, asked = 0;
    auto endProbe = [&] {
        probe->Stop();
        longest = std::max(longest, probe->LongestMs());
        failures += probe->Failures();
        asked += probe->Asked();
    };
    auto setText = [&](const wchar_t* name, const std::wstring& text) {
        HWND c = app_->Ctl(name);
        ASSERT_NE(c, nullptr);
        SendMessageW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    };
    // A windowed control gets a posted click; a windowless one (the picture buttons) a real click at its middle.
    auto click = [&](const wchar_t* name) {
        if (HWND c = app_->Ctl(name)) {
            PostClick(c);
        } else {
            TWindowlessControl w;
            ASSERT_TRUE(app_->Windowless(name, w));
            SetForegroundWindow(app_->MainWindow());
            ClickAt((w.Screen.left + w.Screen.right) / 2, (w.Screen.top + w.Screen.bottom) / 2);
            SetCursorPos(5, 5);
        }
        Sleep(300);
    };
    auto clickTab = [&](int index) {
        const RECT r = TabScreenRect(app_->Ctl(L"PageControl"), index);
        SetForegroundWindow(app_->MainWindow());
        ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SetCursorPos(5, 5);
    };
    auto dialogWith = [&](const wchar_t* child) {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND wnd : app_->TopWindows())
                    if (wnd != app_->MainWindow() && IsWindowVisible(wnd) && TNotifierProcess::Child(wnd, child))
                        found = wnd;
                return found != nullptr;
            },
            10000);
        return found;
    };

    // Ukrainian from the start file; the server list arrives.
    EXPECT_TRUE(
        WaitUntil([&] { return SendMessageW(app_->Ctl(L"OfficeComboBox_lang"), CB_GETCURSEL, 0, 0) == 2; }, 5000));
    HWND domains = app_->Ctl(L"Combo_PNDomain");
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(domains, CB_GETCOUNT, 0, 0) == 2; }, 10000))
        << SendMessageW(domains, CB_GETCOUNT, 0, 0) << " domains";

    // The account: the domain picked from the opened list fills host and port.
    SetForegroundWindow(main);
    RECT box{};
    GetWindowRect(domains, &box);
    ClickAt(box.right - 8, (box.top + box.bottom) / 2);
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND wnd : app_->TopWindows()) {
                wchar_t cls[64] = {};
                GetClassNameW(wnd, cls, 64);
                if (std::wstring(cls) == L"TbsPopupListBox" && IsWindowVisible(wnd))
                    list = FindWindowExW(wnd, nullptr, L"TbsListBox", nullptr);
            }
            return list != nullptr;
        },
        3000));
    Sleep(400);  // the list has unrolled
    const LRESULT rowHeight = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    RECT lr{};
    GetWindowRect(list, &lr);
    ClickAt(lr.left + 10, lr.top + static_cast<int>(rowHeight) + static_cast<int>(rowHeight) / 2);
    ASSERT_TRUE(WaitUntil([&] { return app_->TextOf(L"Edit_PNHostIMAP") == L"imap.example.test"; }, 3000));
    EXPECT_EQ(WindowText(app_->Ctl(L"Spin_PNPortIMAP")), std::to_wstring(port_));
    // The fixture's server answers as localhost, a name the server list does not take.
    setText(L"Edit_PNHostIMAP", L"localhost");
    setText(L"Edit_PNLogin", L"user");
    setText(L"PasswordEdit_PNParol", L"secret");
    click(L"Button_Dobav");
    ASSERT_TRUE(WaitUntil([&] { return ListCount(app_->Ctl(L"ListView_Em")) == 1; }, 3000));
    setText(L"Spin_ProvEmSek", L"30");

    // The sound from the sound dialog: a file of the program folder, kept bare.
    click(L"Button_FZvuk");
    HWND sound = dialogWith(L"FileNameEdit");
    ASSERT_NE(sound, nullptr);
    SendMessageW(TNotifierProcess::Child(sound, L"FileNameEdit"), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"budilnik.wav"));
    PostClick(TNotifierProcess::Child(sound, L"OpenButton"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sound) || !IsWindowVisible(sound); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return app_->TextOf(L"Edit_FZvuk") == L"budilnik.wav"; }, 3000));

    // The reminder: three minutes ahead on that day of the week, warned five minutes before.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    FILETIME ft{};
    SystemTimeToFileTime(&now, &ft);
    ULARGE_INTEGER at{};
    at.LowPart = ft.dwLowDateTime;
    at.HighPart = ft.dwHighDateTime;
    at.QuadPart += 3ULL * 60 * 10000000;
    ft.dwLowDateTime = at.LowPart;
    ft.dwHighDateTime = at.HighPart;
    SYSTEMTIME due{};
    FileTimeToSystemTime(&ft, &due);
    clickTab(1);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(app_->Ctl(L"TabSheet_Budilnik")) != FALSE; }, 3000));
    const std::wstring reminder = L"Нарада";
    setText(L"Edit_Sob", reminder);
    wchar_t hhnn[8] = {};
    swprintf(hhnn, 8, L"%02u:%02u", due.wHour, due.wMinute);
    setText(L"Time_Sob", hhnn);
    const wchar_t* days[] = {L"Check_Vs",  L"Check_Pn", L"Check_Vt", L"Check_Sr",
                             L"Check_Cht", L"Check_Pt", L"Check_Sb"};
    PostClick(app_->Ctl(days[due.wDayOfWeek]));
    setText(L"Spin_ZaSkolkPredupr", L"5");
    Sleep(300);
    click(L"Button_DobavSob");
    ASSERT_TRUE(WaitUntil([&] { return ListCount(app_->Ctl(L"ListView_Sob")) == 1; }, 3000));
    clickTab(0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(app_->Ctl(L"TabSheet_NOsn")) != FALSE; }, 3000));

    // Skin 45 from the skin dialog: it shows at once.
    click(L"Button_Skin");
    HWND skins = dialogWith(L"SkinList");
    ASSERT_NE(skins, nullptr);
    HWND skinList = TNotifierProcess::Child(skins, L"SkinList");
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(skinList, LB_GETCOUNT, 0, 0) == 87; }, 10000));
    SendMessageW(skinList, LB_SETCURSEL, 45, 0);
    SendMessageW(GetParent(skinList), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(skinList), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(skinList));
    PostClick(TNotifierProcess::Child(skins, L"OKButton"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(skins) || !IsWindowVisible(skins); }, 10000));
    Sleep(500);

    // Apply: the settings file reads back what was entered.
    click(L"Button_Prim");
    TSettings read;
    TNotifierLists readLists;
    std::wstring id;
    ASSERT_TRUE(WaitUntil(
        [&] {
            read = TSettings{};
            readLists = TNotifierLists{};
            return LoadSettings(app_->Folder(), read, readLists, id) && readLists.Accounts.size() == 1 &&
                   readLists.Events.size() == 1;
        },
        5000));
    EXPECT_EQ(read.LangIndex, 2);
    EXPECT_EQ(read.SkinIndex, 45);
    EXPECT_EQ(read.FZvuk, L"budilnik.wav");
    EXPECT_EQ(read.ProvEmSek, 30);
    EXPECT_EQ(read.ZaSkolkPredupr, 5);
    EXPECT_EQ(readLists.Accounts[0]->Login, L"user");
    EXPECT_EQ(readLists.Accounts[0]->Domain, L"example.test");
    EXPECT_EQ(readLists.Accounts[0]->HostIMAP, L"localhost");
    EXPECT_EQ(readLists.Accounts[0]->PortIMAP, port_);
    EXPECT_EQ(readLists.Events[0]->Name, reminder);
    EXPECT_TRUE(readLists.Events[0]->DnNedel[due.wDayOfWeek == 0 ? 7 : due.wDayOfWeek]);
    EXPECT_EQ(readLists.ImapServers.size(), 2u);

    // The letter: the tray count, a row of the letter list, a popup; the reminder's warning as a popup. While the
    // warning is up the tray tip names the reminder; once the popup is closed the next round shows the count.
    bool sawCount = false, sawWarning = false, sawLetterPopup = false;
    auto watch = [&] {
        sawCount = sawCount || Tip().ends_with(L": 1");
        if (HWND popup = Popup()) {
            const std::wstring text = WindowText(popup);
            sawWarning = sawWarning || text.find(reminder) != std::wstring::npos;
            sawLetterPopup = sawLetterPopup || text.find(kPrivet) != std::wstring::npos;
        }
    };
    ASSERT_TRUE(WaitUntil(
        [&] {
            watch();
            return sawWarning && ListCount(app_->Ctl(L"ListView_Pism")) == 1;
        },
        2 * kRound))
        << "warning " << sawWarning << ", letters " << ListCount(app_->Ctl(L"ListView_Pism"));
    EXPECT_EQ(ListText(app_->Ctl(L"ListView_Pism"), 0, 3), kPrivet);
    Shot(Popup(), L"smoke-popup");
    if (!sawLetterPopup) {
        // The warning came after the letter: the letter is the page before it.
        for (const std::wstring& page : PopupPages(Popup(), 2))
            sawLetterPopup = sawLetterPopup || page.find(kPrivet) != std::wstring::npos;
    }
    if (!sawCount) {
        // The popup's close cross at its top right corner.
        RECT pr{};
        GetWindowRect(Popup(), &pr);
        ClickAt(pr.right - 12, pr.top + 10);
        SetCursorPos(5, 5);
        EXPECT_TRUE(WaitUntil(
            [&] {
                watch();
                return sawCount;
            },
            kRound))
            << WideToUtf8(Tip());
    }
    EXPECT_TRUE(sawLetterPopup);

    // To the tray and back by the icon.
    RECT frame{}, client{};
    GetWindowRect(main, &frame);
    GetClientRect(main, &client);
    const LONG insetX = frame.right - frame.left - client.right, insetY = frame.bottom - frame.top - client.bottom;
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 5000));
    PostMessageW(app_->TrayWindow(), 0x800, 1, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 5000));

    // Exit through the tray menu's last entry, then a restart: everything is back.
    auto exitByMenu = [&] {
        PostMessageW(app_->MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        WaitUntil([&] { return !IsWindowVisible(app_->MainWindow()); }, 5000);
        SetCursorPos(300, 280);
        PostMessageW(app_->TrayWindow(), 0x800, 1, WM_RBUTTONDOWN);
        HWND level = nullptr;
        WaitUntil(
            [&] {
                for (HWND wnd : app_->TopWindows()) {
                    wchar_t cls[64] = {};
                    GetClassNameW(wnd, cls, 64);
                    if (std::wstring(cls) == L"TbsSkinPopupWindow" && IsWindowVisible(wnd))
                        level = wnd;
                }
                return level != nullptr;
            },
            5000);
        SetCursorPos(5, 5);
        EXPECT_NE(level, nullptr) << "the tray menu";
        if (!level)
            return false;
        // A real click on the last entry, Exit.
        Sleep(500);
        RECT mr{};
        GetWindowRect(level, &mr);
        ClickAt(mr.left + 40, mr.bottom - (mr.bottom - mr.top) / 10 - 2);
        SetCursorPos(5, 5);
        EXPECT_TRUE(app_->WaitExit(10000)) << "the process ends";
        EXPECT_EQ(app_->ExitCode(), 0u);
        return !app_->Running() && app_->ExitCode() == 0;
    };
    endProbe();
    ASSERT_TRUE(exitByMenu());
    main = startShown();
    ASSERT_NE(main, nullptr);
    probe = std::make_unique<TAnswerProbe>(main, 20, 3000);
    EXPECT_TRUE(WaitUntil([&] { return ListCount(app_->Ctl(L"ListView_Em")) == 1; }, 5000));
    EXPECT_EQ(ListCount(app_->Ctl(L"ListView_Sob")), 1);
    EXPECT_EQ(SendMessageW(app_->Ctl(L"OfficeComboBox_lang"), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(app_->TextOf(L"Edit_FZvuk"), L"budilnik.wav");
    GetWindowRect(main, &frame);
    GetClientRect(main, &client);
    EXPECT_EQ(frame.right - frame.left - client.right, insetX) << "skin 45's frame";
    EXPECT_EQ(frame.bottom - frame.top - client.bottom, insetY) << "skin 45's frame";
    Shot(main, L"smoke-restarted");
    endProbe();
    EXPECT_TRUE(exitByMenu());
    std::printf("smoke: window asked %d times, longest answer %llu ms\n", asked, longest);
    EXPECT_EQ(failures, 0);
    EXPECT_LT(longest, 3000u);
}
