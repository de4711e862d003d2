// TrelmMail.exe's main window driven from outside, as a user would: each test starts the program in a private
// program folder, finds its controls by name, acts with real messages and input, and reads the window state and
// the settings file back.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

#include "AnswerProbe.h"
#include "DripHandler.h"
#include "NotifierDriver.h"
#include "SilentServer.h"
#include "TestSupport.h"
#include "app/Autostart.h"
#include "app/LangTable.h"
#include "app/MainFormLayout.h"
#include "app/SettingsFile.h"
#include "base/Files.h"
#include "identity/MachineId.h"
#include "skin/form/MenuLevelProps.h"

using namespace trelm_test;
using nettest::ScriptConnection;
using nettest::ScriptServer;

namespace {

constexpr DWORD kStart = 20000;

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w)
        s += static_cast<char>(c);
    return s;
}

// Answers every HTTP request with body.
ScriptServer::Handler Serve(std::string body) {
    return [body](ScriptConnection& c) {
        std::string line;
        while (c.ReadLine(&line)) {
            if (!line.empty())
                continue;
            c.Send("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
                   "\r\n\r\n" + body);
        }
    };
}

std::string ReadBytes(const std::wstring& path) {
    return ReadWholeFile(path).value_or(std::string());
}

FILETIME WriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// The columns of a check box that its caption's letters cover on the screen: from the first dark column after the
// box and the gap behind it to the last dark one ({-1, -1} when there is no text). Dark: clearly darker than the
// background at the control's right end, which the caption never reaches.
std::pair<int, int> CaptionInk(HWND check) {
    int w = 0, h = 0;
    const std::vector<std::uint32_t> px = ScreenPixels(check, w, h);
    auto luma = [](std::uint32_t p) { return ((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF); };
    const int background = static_cast<int>(luma(px[static_cast<size_t>(h / 2) * w + w - 1]));
    std::vector<bool> dark(static_cast<size_t>(w), false);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
            dark[static_cast<size_t>(x)] =
                dark[static_cast<size_t>(x)] ||
                static_cast<int>(luma(px[static_cast<size_t>(y) * w + x])) < background - 400;
    int x = 0;
    while (x < w && !dark[static_cast<size_t>(x)])
        ++x;  // before the box
    while (x < w && dark[static_cast<size_t>(x)])
        ++x;  // the box
    while (x < w && !dark[static_cast<size_t>(x)])
        ++x;  // the gap
    int last = -1;
    for (int i = x; i < w; ++i)
        if (dark[static_cast<size_t>(i)])
            last = i;
    return last < 0 ? std::pair{-1, -1} : std::pair{x, last};
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::wstring name;
        for (const char* p = info->name(); *p; ++p)
            name += static_cast<wchar_t>(*p);
        app_ = std::make_unique<TNotifierProcess>(name);
        SetCursorPos(5, 5);
    }
    void TearDown() override { app_.reset(); }

    // A settings file in the program folder; idKomp "this" writes this computer's identity.
    void WriteSettings(TSettings settings, TNotifierLists lists = {}, std::wstring idKomp = L"this") {
        if (idKomp == L"this")
            idKomp = GetMachineId();
        SaveSettingsAs(app_->File(L"Posl.vkz"), settings, lists, idKomp);
    }
    static TNotifierLists OneServer() {
        TNotifierLists lists;
        lists.ImapServers.push_back(std::make_unique<AListImap>(AListImap{L"mail.test", L"imap.mail.test", 993}));
        return lists;
    }
    HWND StartAndWaitMain(const std::wstring& host = L"127.0.0.1:9") {
        EXPECT_TRUE(app_->Start(host));
        HWND main = nullptr;
        WaitUntil(
            [&] {
                main = app_->MainWindow();
                return main && IsWindowVisible(main);
            },
            kStart);
        return main;
    }
    // The warning box shown by the program: its caption and its text (nullptr when none appeared).
    HWND WaitBox(const std::wstring& caption, DWORD ms = 5000) {
        HWND box = nullptr;
        WaitUntil(
            [&] {
                box = app_->VisibleTopByText(caption);
                return box != nullptr;
            },
            ms);
        return box;
    }
    static std::wstring BoxText(HWND box) { return WindowText(TNotifierProcess::Child(box, L"Message")); }
    void CloseBox(HWND box) {
        PostClick(TNotifierProcess::Child(box, L"OK"));
        WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
    }
    void SetText(const wchar_t* name, const std::wstring& text) {
        HWND c = app_->Ctl(name);
        ASSERT_NE(c, nullptr) << Narrow(name);
        SendMessageW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Click(const wchar_t* name) {
        HWND c = app_->Ctl(name);
        ASSERT_NE(c, nullptr) << Narrow(name);
        PostClick(c);
        Sleep(200);
    }
    bool Checked(const wchar_t* name) { return SendMessageW(app_->Ctl(name), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void ClickTab(int index) {
        HWND tabs = app_->Ctl(L"PageControl");
        const RECT r = TabScreenRect(tabs, index);
        ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    static SIZE WindowSize(HWND wnd) {
        RECT r{};
        GetWindowRect(wnd, &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    void AddAccount(const std::wstring& login,
                    const std::wstring& password,
                    const std::wstring& domain = L"mail.test",
                    const std::wstring& host = L"imap.mail.test") {
        SetText(L"Combo_PNDomain", domain);
        SetText(L"Edit_PNLogin", login);
        SetText(L"PasswordEdit_PNParol", password);
        SetText(L"Edit_PNHostIMAP", host);
        Click(L"Button_Dobav");
    }
    // The tray icon is in the notification area when the shell accepts a change to it.
    bool TrayIconShown() {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = app_->TrayWindow();
        data.uID = 1;
        return data.hWnd && Shell_NotifyIconW(NIM_MODIFY, &data);
    }

    // A language file (UTF-16LE with its byte-order mark, CR LF lines) in the program folder.
    void WriteLangFile(const std::wstring& name, const std::vector<std::wstring>& lines) {
        std::string bytes("\xFF\xFE", 2);
        for (const std::wstring& line : lines)
            for (wchar_t c : line + L"\r\n") {
                bytes += static_cast<char>(c & 0xFF);
                bytes += static_cast<char>(c >> 8);
            }
        app_->WriteFile(name, bytes);
    }
    // Starts with the language file of these lines chosen in the settings; the warning box it brings (or nullptr).
    HWND StartWithLangFile(const std::wstring& name, const std::vector<std::wstring>& lines) {
        WriteLangFile(name, lines);
        TSettings s;
        s.LangFile = name;
        WriteSettings(s, OneServer());
        EXPECT_TRUE(app_->Start());
        return WaitBox(L"Внимание", kStart);
    }
    // The visible top-level window of the program with that window class, nullptr when none.
    HWND VisibleTopOfClass(const wchar_t* className) const {
        for (HWND wnd : app_->TopWindows()) {
            wchar_t cls[64] = {};
            GetClassNameW(wnd, cls, 64);
            if (std::wstring(cls) == className && IsWindowVisible(wnd))
                return wnd;
        }
        return nullptr;
    }
    // The open skinned menu level of the program, nullptr when none is open.
    HWND MenuLevel() const { return VisibleTopOfClass(L"TbsSkinPopupWindow"); }

    std::unique_ptr<TNotifierProcess> app_;
};

TEST_F(MainWindowTest, FirstStartShowsTheWindowAtTheDesktopCentreAndTheProductsPageWidensIt) {
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), L"Trelm Mail");
    const SIZE size = WindowSize(main);
    EXPECT_EQ(size.cx, kFormWidthNarrow);
    EXPECT_EQ(size.cy, kFormHeightShort);
    RECT r{};
    GetWindowRect(main, &r);
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR((r.left + r.right) / 2, cx / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, cy / 2, 1);
    // No dialog: the main window is the only visible window of the program (the skin's layered border windows
    // around it aside).
    Sleep(500);
    int visible = 0;
    for (HWND wnd : app_->TopWindows()) {
        wchar_t cls[64] = {};
        GetClassNameW(wnd, cls, 64);
        if (IsWindowVisible(wnd) && std::wstring(cls) != L"TbsFormLayerWindow")
            ++visible;
    }
    EXPECT_EQ(visible, 1);

    SetForegroundWindow(main);
    ClickTab(2);
    auto sized = [&](int cx, int cy) {
        return WaitUntil([&] { return WindowSize(main).cx == cx && WindowSize(main).cy == cy; }, 3000);
    };
    EXPECT_TRUE(sized(kFormWidthWide, kFormHeightTall));
    Shot(main, L"products-ru");
    ClickTab(0);
    EXPECT_TRUE(sized(kFormWidthNarrow, kFormHeightShort));
}

TEST_F(MainWindowTest, ForeignSettingsAskTheStartPasswordAndTheRightOneWithABlankOpens) {
    TSettings s;
    s.PassZapusk = L"secret";
    WriteSettings(s, OneServer(), L"FOREIGN-PC");
    ASSERT_TRUE(app_->Start());
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            return (dialog = app_->TopByName(L"PasswordDialog")) ||
                   (dialog = app_->VisibleTopByText(L"Введите пароль"));
        },
        kStart));
    EXPECT_EQ(WindowText(dialog), L"Введите пароль");
    HWND edit = TNotifierProcess::Child(dialog, L"PasswordEdit");
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"secret "));
    PostClick(TNotifierProcess::Child(dialog, L"OKButton"));
    EXPECT_TRUE(WaitUntil([&] { return app_->MainWindow() && IsWindowVisible(app_->MainWindow()); }, kStart));
    EXPECT_TRUE(app_->Running());
}

TEST_F(MainWindowTest, AWrongStartPasswordEndsTheProgramAndLeavesTheFileAsItWas) {
    TSettings s;
    s.PassZapusk = L"secret";
    WriteSettings(s, OneServer(), L"FOREIGN-PC");
    const std::string before = ReadBytes(app_->File(L"Posl.vkz"));
    const FILETIME time = WriteTime(app_->File(L"Posl.vkz"));
    ASSERT_TRUE(app_->Start());
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = app_->VisibleTopByText(L"Введите пароль")) != nullptr; }, kStart));
    SendMessageW(TNotifierProcess::Child(dialog, L"PasswordEdit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"guess"));
    PostClick(TNotifierProcess::Child(dialog, L"OKButton"));
    EXPECT_TRUE(app_->WaitExit(10000));
    EXPECT_EQ(ReadBytes(app_->File(L"Posl.vkz")), before);
    const FILETIME after = WriteTime(app_->File(L"Posl.vkz"));
    EXPECT_EQ(CompareFileTime(&time, &after), 0);
}

TEST_F(MainWindowTest, ApplyWritesTheFileAndClosingWithoutApplyLeavesItAsItWas) {
    WriteSettings(TSettings{}, OneServer());
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    Click(L"Check_VTray");
    SetText(L"Spin_ProvEmSek", L"120");
    Click(L"Button_Prim");
    TSettings read;
    TNotifierLists lists;
    std::wstring id;
    ASSERT_TRUE(WaitUntil(
        [&] {
            read = TSettings{};
            lists = TNotifierLists{};
            return LoadSettings(app_->Folder(), read, lists, id) && read.VTray;
        },
        5000));
    EXPECT_EQ(read.ProvEmSek, 120);
    EXPECT_EQ(id, GetMachineId());
    ASSERT_EQ(lists.ImapServers.size(), 1u);

    const std::string before = ReadBytes(app_->File(L"Posl.vkz"));
    Click(L"Check_OtobrTextEm");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app_->WaitExit(10000));
    EXPECT_EQ(ReadBytes(app_->File(L"Posl.vkz")), before);
}

TEST_F(MainWindowTest, StartingInTheTrayNeverShowsTheWindowAndTheIconIsThere) {
    TSettings s;
    s.VTray = true;
    WriteSettings(s, OneServer());
    ASSERT_TRUE(app_->Start());
    bool everVisible = false;
    WaitUntil(
        [&] {
            HWND main = app_->MainWindow();
            everVisible = everVisible || (main && IsWindowVisible(main));
            return false;
        },
        4000);
    EXPECT_FALSE(everVisible);
    EXPECT_TRUE(WaitUntil([&] { return TrayIconShown(); }, 3000));
}

TEST_F(MainWindowTest, TrayMessagesShowTheMenuRestoreTheWindowAndTaskbarCreatedAddsTheIconAgain) {
    TSettings s;
    s.VTray = true;
    WriteSettings(s, OneServer());
    ASSERT_TRUE(app_->Start());
    ASSERT_TRUE(WaitUntil([&] { return TrayIconShown(); }, kStart));
    HWND tray = app_->TrayWindow();
    // The right button opens the skinned menu at the cursor: a level window listing the five entries, and no
    // system menu.
    SetCursorPos(300, 280);
    PostMessageW(tray, 0x800, 1, WM_RBUTTONDOWN);
    HWND level = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (level = MenuLevel()) != nullptr; }, 5000));
    EXPECT_EQ(WindowText(level), L"Menu");
    const TLangTable& ru = *BuiltInLangTable(0);
    EXPECT_EQ(MenuLevelEntries(level), (std::vector<std::wstring>{ru[27], ru[74], ru[75], ru[76], ru[78]}));
    RECT lr{};
    GetWindowRect(level, &lr);
    EXPECT_EQ(lr.left, 300);
    EXPECT_EQ(lr.top, 280);
    EXPECT_GT(lr.bottom - lr.top, 5 * 14);
    HWND native = FindWindowW(L"#32768", nullptr);
    EXPECT_FALSE(native && IsWindowVisible(native));
    Shot(level, L"tray-menu");
    // The entries carry their pictures at the left: the red power sign of the last one, none red in the first three.
    {
        int w = 0, h = 0;
        const std::vector<std::uint32_t> px = ScreenPixels(level, w, h);
        auto redIn = [&](int top, int bottom) {
            int n = 0;
            for (int y = top; y < bottom; ++y)
                for (int x = 0; x < std::min(w, 32); ++x) {
                    const std::uint32_t p = px[static_cast<size_t>(y) * w + x];
                    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
                    n += r > g + 90 && r > b + 90;
                }
            return n;
        };
        EXPECT_GE(redIn(h * 4 / 5, h), 10);
        EXPECT_LT(redIn(0, h * 3 / 5), 3);
    }
    // Esc (keys reach the menu through the program's message loop) closes it.
    PostMessageW(level, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return MenuLevel() == nullptr; }, 3000));
    // The shell lost the icon; its "TaskbarCreated" broadcast brings it back.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = tray;
    data.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_FALSE(TrayIconShown());
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    for (HWND wnd : app_->TopWindows())
        PostMessageW(wnd, taskbarCreated, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return TrayIconShown(); }, 3000));
    // A double click restores the window and takes the icon away.
    PostMessageW(tray, 0x800, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return app_->MainWindow() && IsWindowVisible(app_->MainWindow()); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return !TrayIconShown(); }, 3000));
    // Minimising hides it in the tray again.
    ShowWindow(app_->MainWindow(), SW_MINIMIZE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(app_->MainWindow()) && TrayIconShown(); }, 5000));
    // The menu's second entry opens the window: Up from the top wraps to the last entry, three more reach it.
    SetCursorPos(600, 400);
    PostMessageW(tray, 0x800, 1, WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return (level = MenuLevel()) != nullptr; }, 5000));
    SetCursorPos(5, 5);
    for (int i = 0; i < 4; ++i)
        PostMessageW(level, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(level, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitUntil([&] { return app_->MainWindow() && IsWindowVisible(app_->MainWindow()); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return !TrayIconShown() && MenuLevel() == nullptr; }, 3000));
    EXPECT_TRUE(app_->Running());
    // Its last entry ends the program.
    PostMessageW(app_->MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return TrayIconShown(); }, 5000));
    PostMessageW(tray, 0x800, 1, WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return (level = MenuLevel()) != nullptr; }, 5000));
    SetCursorPos(5, 5);
    PostMessageW(level, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(level, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(app_->WaitExit(10000));
    EXPECT_EQ(app_->ExitCode(), 0u);
}

// The application's hints are skinned: hovering a button shows the skinned hint window (translucent, the language
// file's "@" breaking the text into lines), and it hides after the hide pause.
TEST_F(MainWindowTest, HoveringAButtonShowsTheSkinnedHintSplitAtTheSeparatorAndHidesIt) {
    std::vector<std::wstring> lines;
    for (const wchar_t* line : *BuiltInLangTable(0))
        lines.push_back(line);
    lines[47] = L"Инструкция@Справка по программе";
    WriteLangFile(L"hint.lng", lines);
    TSettings s;
    s.LangFile = L"hint.lng";
    WriteSettings(s, OneServer());
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    SetForegroundWindow(main);
    // Hovers the centre of a control; the hint window that appears (nullptr when none within the time).
    auto hover = [&](const wchar_t* name) {
        SetCursorPos(5, 5);
        Sleep(100);
        RECT r{};
        GetWindowRect(app_->Ctl(name), &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dwFlags = MOUSEEVENTF_MOVE;
        move.mi.dx = 1;
        SendInput(1, &move, sizeof move);
        HWND hint = nullptr;
        WaitUntil([&] { return (hint = VisibleTopOfClass(L"TbsSkinHintWindow")) != nullptr; }, 5000);
        return hint;
    };
    HWND hint = hover(L"Button_Help");
    ASSERT_NE(hint, nullptr);
    // Hint texts stand with a blank on each side.
    EXPECT_EQ(WindowText(hint), SpaceAround(L"Инструкция\n\rСправка по программе"));
    // Faded in to the stored translucency.
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
            return GetLayeredWindowAttributes(hint, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) && alpha == 200;
        },
        2000))
        << int(alpha);
    const SIZE twoLines = WindowSize(hint);
    Shot(hint, L"hint-two-lines");
    // Left alone, it hides after the hide pause.
    EXPECT_TRUE(WaitUntil([&] { return VisibleTopOfClass(L"TbsSkinHintWindow") == nullptr; }, 8000));
    // A hint without the separator is one line: lower by at least a line of text.
    hint = hover(L"Poblagodar");
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(WindowText(hint), SpaceAround(lines[46]));
    EXPECT_GE(twoLines.cy - WindowSize(hint).cy, 10);
    Shot(hint, L"hint-one-line");
    SetCursorPos(5, 5);
}

TEST_F(MainWindowTest, AccountEditorRefusesCaseOnlyDuplicatesAndSortsByColumn) {
    WriteSettings(TSettings{}, OneServer());
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    HWND view = app_->Ctl(L"ListView_Em");
    AddAccount(L"ivan", L"secret");
    ASSERT_TRUE(WaitUntil([&] { return ListCount(view) == 1; }, 3000));
    AddAccount(L"IVAN", L"SECRET", L"MAIL.TEST");
    HWND box = WaitBox(L"Внимание");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(BoxText(box).find(L"IVAN@MAIL.TEST уже существует в списке"), std::wstring::npos);
    CloseBox(box);
    EXPECT_EQ(ListCount(view), 1);
    AddAccount(L"ivan", L"other");
    ASSERT_TRUE(WaitUntil([&] { return ListCount(view) == 2; }, 3000));
    AddAccount(L"anna", L"p", L"a.test", L"imap.a.test");
    ASSERT_TRUE(WaitUntil([&] { return ListCount(view) == 3; }, 3000));
    EXPECT_EQ(ListText(view, 2, 0), L"anna");
    EXPECT_EQ(ListText(view, 2, 2), L"imap.a.test");
    // The first click on the login column sorts ascending, the second descending.
    SetForegroundWindow(main);
    const RECT login = HeaderScreenRect(view, 0);
    ClickAt((login.left + login.right) / 2, (login.top + login.bottom) / 2);
    EXPECT_TRUE(WaitUntil([&] { return ListText(view, 0, 0) == L"anna"; }, 3000));
    Sleep(600);  // not a double click
    ClickAt((login.left + login.right) / 2, (login.top + login.bottom) / 2);
    EXPECT_TRUE(WaitUntil([&] { return ListText(view, 2, 0) == L"anna"; }, 3000));
    Shot(main, L"mail-ru");
}

TEST_F(MainWindowTest, ReminderOnTheSameWeekdayIsRefusedWithTheDayInTheWarning) {
    WriteSettings(TSettings{}, OneServer());
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    HWND view = app_->Ctl(L"ListView_Sob");
    SetText(L"Edit_Sob", L"Зарядка");
    SetText(L"Time_Sob", L"07:00");
    Click(L"Check_Pn");
    Click(L"Button_DobavSob");
    ASSERT_TRUE(WaitUntil([&] { return ListCount(view) == 1; }, 3000));
    EXPECT_EQ(ListText(view, 0, 1), L"Зарядка");
    EXPECT_EQ(ListText(view, 0, 0), L"07:00, Пн");
    SetText(L"Time_Sob", L"08:30");
    Click(L"Check_Pt");
    Click(L"Button_DobavSob");
    HWND box = WaitBox(L"Внимание");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(BoxText(box).find(L"Зарядка - Пн - уже существует в списке"), std::wstring::npos);
    CloseBox(box);
    EXPECT_EQ(ListCount(view), 1);
}

TEST_F(MainWindowTest, YazikTwoStartsInUkrainian) {
    // No settings file: the installer's start language stays.
    app_->WriteFile(L"yazik.txt", std::string("\x02\x00\x00\x00", 4));
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(TabText(app_->Ctl(L"PageControl"), 0), CenterText(L"Основні", 20));
    EXPECT_EQ(WindowText(app_->Ctl(L"Button_Prim")), L"Застосувати / Зберегти");
    Shot(main, L"mail-uk");
    AddAccount(L"ivan", L"p");
    AddAccount(L"Ivan", L"P");
    HWND box = WaitBox(L"Увага");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(BoxText(box).find(L"вже існує в списку"), std::wstring::npos);
    CloseBox(box);
}

TEST_F(MainWindowTest, ALanguageFileWithALongFifthLineIsRefusedNamingLineFive) {
    std::vector<std::wstring> lines;
    for (int i = 0; i < kLangLineCount; ++i)
        lines.push_back(i == 4 ? std::wstring(181, L'x') : L"Line " + std::to_wstring(i));
    HWND box = StartWithLangFile(L"bad.lng", lines);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(BoxText(box).find(LangFileErrorText(4)), std::wstring::npos);
    EXPECT_NE(BoxText(box).find(L"Строка 5"), std::wstring::npos);
    EXPECT_NE(BoxText(box).find(L"Line 5"), std::wstring::npos);
    CloseBox(box);
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (main = app_->MainWindow()) && IsWindowVisible(main); }, kStart));
    EXPECT_EQ(WindowText(app_->Ctl(L"Button_Prim")), L"Применить / Сохранить");
}

TEST_F(MainWindowTest, AnEmptyServerListIsFetchedWithTwoGetsAndAStoredOneIsNot) {
    const std::string list =
        "mail.test                    imap.mail.test                          993\r\n"
        "other.test                   imap.other.test                         993\r\n";
    {
        ScriptServer server(Serve(list), nullptr);
        HWND main = StartAndWaitMain(L"127.0.0.1:" + std::to_wstring(server.Port()));
        ASSERT_NE(main, nullptr);
        HWND combo = app_->Ctl(L"Combo_PNDomain");
        EXPECT_TRUE(WaitUntil([&] { return SendMessageW(combo, CB_GETCOUNT, 0, 0) >= 2; }, 5000));
        wchar_t item[64] = {};
        SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
        EXPECT_STREQ(item, L"other.test");
        server.Stop();
        int gets = 0;
        for (const std::string& line : server.Received()) {
            if (line.rfind("GET ", 0) == 0) {
                ++gets;
                EXPECT_EQ(line.substr(0, 32), "GET /download/trelmmailimap.txt ");
            }
        }
        EXPECT_EQ(gets, 2);
        app_->Kill();
    }
    WriteSettings(TSettings{}, OneServer());
    ScriptServer server(Serve(list), nullptr);
    HWND main = StartAndWaitMain(L"127.0.0.1:" + std::to_wstring(server.Port()));
    ASSERT_NE(main, nullptr);
    Sleep(1000);
    EXPECT_EQ(SendMessageW(app_->Ctl(L"Combo_PNDomain"), CB_GETCOUNT, 0, 0), 1);
    server.Stop();
    EXPECT_EQ(server.Connections(), 0);
}

// The server list comes from a host that sends a byte every two seconds, or nothing at all: the window answers at
// once all the while, and closing it ends the program while the download still runs.
TEST_F(MainWindowTest, ASlowOrSilentServerListHostNeitherFreezesTheWindowNorHoldsTheClose) {
    const std::string list = "mail.test                    imap.mail.test                          993\r\n";
    auto answersThenCloses = [&](const std::wstring& host, DWORD askMs) {
        // Asked from its first answer after it shows: the first paint's work, where the download starts, comes
        // after that.
        ASSERT_TRUE(app_->Start(host, false));
        HWND main = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (main = app_->MainWindow()) && IsWindowVisible(main); }, kStart));
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kStart, &result));
        TAnswerProbe probe(main, 20, 100);
        Sleep(askMs);
        probe.Stop();
        EXPECT_EQ(probe.Failures(), 0) << "longest answer " << probe.LongestMs() << " ms";
        EXPECT_GT(probe.Asked(), 10);
        EXPECT_TRUE(app_->Running());
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_EQ(SendMessageW(app_->Ctl(L"Combo_PNDomain"), CB_GETCOUNT, 0, 0), 0);
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(app_->WaitExit(5000));
        std::printf("window asked %d times, longest answer %llu ms\n", probe.Asked(), probe.LongestMs());
    };
    {
        ScriptServer drip(DripHandler(HttpOk(list), 2000), nullptr);
        answersThenCloses(L"127.0.0.1:" + std::to_wstring(drip.Port()), 30000);
        app_->Kill();
    }
    app_ = std::make_unique<TNotifierProcess>(L"SilentServerListHost");
    TSilentServer silent;
    answersThenCloses(L"127.0.0.1:" + std::to_wstring(silent.Port()), 4000);
    EXPECT_GE(silent.Connections(), 1);
}

// A settings file that does not load is kept beside it before the first save, once, and the box says so; a stale
// temporary file of a killed save is gone after the start.
TEST_F(MainWindowTest, ADamagedSettingsFileIsKeptBesideItAtTheFirstApply) {
    std::string damaged = "LZSS";
    for (int i = 0; i < 300; ++i)
        damaged += static_cast<char>((i * 37 + 11) & 0xFF);
    app_->WriteFile(L"Posl.vkz", damaged);
    app_->WriteFile(L"Posl.vkz.bad", "an older copy");
    // No process has the id 4294967292: its save was killed.
    app_->WriteFile(L"Posl.vkz.4294967292-1-0.tmp", "half a save");
    app_->WriteFile(L"Posl.vkz.notapid.tmp", "someone else's");
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(GetFileAttributesW(app_->File(L"Posl.vkz.4294967292-1-0.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadBytes(app_->File(L"Posl.vkz.notapid.tmp")), "someone else's");
    EXPECT_EQ(ReadBytes(app_->File(L"Posl.vkz")), damaged);
    Click(L"Button_Prim");
    HWND box = WaitBox(L"Внимание");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(BoxText(box).find(L"Posl.vkz.bad"), std::wstring::npos);
    EXPECT_NE(BoxText(box).find(L"Он сохранён как Posl.vkz.bad"), std::wstring::npos);
    Shot(box, L"damaged-settings-kept");
    CloseBox(box);
    EXPECT_EQ(ReadBytes(app_->File(L"Posl.vkz.bad")), damaged);
    TSettings read;
    TNotifierLists lists;
    std::wstring id;
    EXPECT_TRUE(LoadSettings(app_->Folder(), read, lists, id));
    // Said once: the next apply saves without a word and leaves the kept copy alone.
    Click(L"Button_Prim");
    EXPECT_EQ(WaitBox(L"Внимание", 2000), nullptr);
    EXPECT_EQ(ReadBytes(app_->File(L"Posl.vkz.bad")), damaged);
}

// A language file over the read cap gets the line warning a small bad one gets; the warning's caption is never the
// one of the file being refused.
TEST_F(MainWindowTest, AnOversizedLanguageFileIsRefusedWithTheLineWarningUnderTheOldCaption) {
    std::vector<std::wstring> lines;
    for (int i = 0; i < 6000; ++i)
        lines.push_back(L"Line " + std::to_wstring(10000 + i).substr(1) + std::wstring(89, L'x'));
    HWND box = StartWithLangFile(L"huge.lng", lines);
    ASSERT_NE(box, nullptr);
    // 98 characters and CR LF: 200 bytes a line after the 2-byte mark, so the cap cuts line 5243 (1-based).
    EXPECT_NE(BoxText(box).find(LangFileErrorText(5242)), std::wstring::npos) << Narrow(BoxText(box));
    CloseBox(box);
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (main = app_->MainWindow()) && IsWindowVisible(main); }, kStart));
    EXPECT_EQ(WindowText(app_->Ctl(L"Button_Prim")), L"Применить / Сохранить");

    // A file whose caption line fits but whose line 21 does not: the warning still has the caption from before.
    std::vector<std::wstring> bad;
    for (const wchar_t* line : *BuiltInLangTable(0))
        bad.push_back(line);
    bad[1] = L"Junk caption";
    bad[20] = std::wstring(17, L'p');
    WriteLangFile(L"bad.lng", bad);
    SetText(L"Edit_lang", L"bad.lng");
    Click(L"Button_Prim");
    box = WaitBox(L"Внимание");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(BoxText(box).find(LangFileErrorText(20)), std::wstring::npos);
    EXPECT_EQ(app_->VisibleTopByText(L"Junk caption"), nullptr);
    CloseBox(box);
}

TEST_F(MainWindowTest, ApplyWithAutostartCreatesTheShortcutAndWithoutDeletesIt) {
    const std::wstring link = AutostartLinkPath();
    DeleteFileW(link.c_str());
    WriteSettings(TSettings{}, OneServer());
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    Click(L"Check_AutoZagr");
    Click(L"Button_Prim");
    ASSERT_TRUE(WaitUntil([&] { return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5000));
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* shell = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&shell))));
    IPersistFile* file = nullptr;
    shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    ASSERT_TRUE(SUCCEEDED(file->Load(link.c_str(), STGM_READ)));
    wchar_t target[MAX_PATH] = {}, dir[MAX_PATH] = {}, description[MAX_PATH] = {};
    shell->GetPath(target, MAX_PATH, nullptr, 0);
    shell->GetWorkingDirectory(dir, MAX_PATH);
    shell->GetDescription(description, MAX_PATH);
    EXPECT_EQ(_wcsicmp(target, app_->File(L"TrelmMail.exe").c_str()) == 0 ||
                  std::wstring(target).find(L"TrelmMail.exe") != std::wstring::npos,
              true);
    EXPECT_STREQ(description, L"Trelm Mail");
    EXPECT_NE(std::wstring(dir).find(L"ApplyWithAutostart"), std::wstring::npos);
    file->Release();
    shell->Release();
    Click(L"Check_AutoZagr");
    Click(L"Button_Prim");
    EXPECT_TRUE(WaitUntil([&] { return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; }, 5000));
}

// Every caption of a check box, label and button fits its control in each built-in language, and labels end
// before the field they name; each page is captured (TRELM_SHOTS) for a look.
TEST_F(MainWindowTest, EveryTextFitsInEveryLanguage) {
    HFONT font =
        CreateFontW(kMainFormFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, kMainFormFontName);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    auto width = [&](const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const wchar_t* languages[] = {L"ru", L"be", L"uk"};
    for (int lang = 0; lang < 3; ++lang) {
        app_ =
            std::make_unique<TNotifierProcess>(L"EveryTextFits" + std::wstring(1, static_cast<wchar_t>(L'0' + lang)));
        app_->WriteFile(L"yazik.txt", std::string(1, static_cast<char>(lang)));
        HWND main = StartAndWaitMain();
        ASSERT_NE(main, nullptr);
        for (const TCtlSpec& spec : kMainFormLayout) {
            HWND c = app_->Ctl(spec.Name);
            if (!c || (spec.Kind != TCtlKind::Check && spec.Kind != TCtlKind::Label && spec.Kind != TCtlKind::Button))
                continue;
            RECT r{};
            GetWindowRect(c, &r);
            const int room = r.right - r.left -
                             (spec.Kind == TCtlKind::Check    ? GetSystemMetrics(SM_CXMENUCHECK) + 4
                              : spec.Kind == TCtlKind::Button ? 8
                                                              : 0);
            EXPECT_GE(room, width(WindowText(c))) << Narrow(spec.Name) << " in " << Narrow(languages[lang]);
        }
        for (const TCtlSpec& spec : kMainFormLayout) {
            if (!spec.After)
                continue;
            RECT field{};
            GetWindowRect(app_->Ctl(spec.Name), &field);
            std::wstring before;
            for (const wchar_t* p = spec.After;; ++p) {
                if (*p == L' ' || *p == 0) {
                    RECT r{};
                    GetWindowRect(app_->Ctl(before), &r);
                    EXPECT_LE(r.right, field.left) << Narrow(before) << " overlaps " << Narrow(spec.Name);
                    before.clear();
                    if (*p == 0)
                        break;
                } else {
                    before += *p;
                }
            }
        }
        SetForegroundWindow(main);
        for (int page = 0; page < 3; ++page) {
            ClickTab(page);
            Sleep(400);
            // Nothing on the page sticks out of the page or group it stands on (the parent would clip it).
            for (const TCtlSpec& spec : kMainFormLayout) {
                HWND c = app_->Ctl(spec.Name);
                if (!c || !IsWindowVisible(c) || spec.Kind == TCtlKind::Page || !*spec.Parent)
                    continue;
                RECT r{}, inside{};
                GetWindowRect(c, &r);
                HWND parent = GetParent(c);
                GetClientRect(parent, &inside);
                MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&inside), 2);
                EXPECT_TRUE(r.left >= inside.left && r.top >= inside.top && r.right <= inside.right &&
                            r.bottom <= inside.bottom)
                    << Narrow(spec.Name) << " leaves its parent in " << Narrow(languages[lang]) << ": right " << r.right
                    << " of " << inside.right << ", bottom " << r.bottom << " of " << inside.bottom;
            }
            Shot(main, std::wstring(L"page") + std::to_wstring(page) + L"-" + languages[lang]);
        }
        // The check box for checking all accounts at once is disabled until there are two accounts; disabled, its
        // caption shows as far as enabled (a grey caption cut short by its last letter would not be caught above).
        ClickTab(0);
        HWND all = app_->Ctl(L"Check_ProvVseSrazu");
        // Read once painted: two equal readings with a caption.
        auto settledInk = [&] {
            std::pair<int, int> ink{-1, -1}, before{-2, -2};
            WaitUntil(
                [&] {
                    before = ink;
                    ink = CaptionInk(all);
                    return ink.first >= 0 && ink == before;
                },
                5000);
            return ink;
        };
        EXPECT_FALSE(IsWindowEnabled(all));
        const auto grey = settledInk();
        AddAccount(L"first", L"p");
        AddAccount(L"second", L"p");
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(all) != FALSE; }, 3000));
        const auto black = settledInk();
        EXPECT_EQ(grey.first, black.first) << Narrow(languages[lang]);
        EXPECT_GE(grey.second, black.second) << Narrow(languages[lang]);
        app_->Kill();
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
}

}  // namespace
