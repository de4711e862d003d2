// TrelmMail.exe's main window driven from outside, as a user would: each test starts the program in a private
// program folder, finds its controls by name, acts with real messages and input, and reads the window state and
// the settings file back.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>

#include "AnswerProbe.h"
#include "DripHandler.h"
#include "NotifierDriver.h"
#include "SilentServer.h"
#include "tests/classlib/ScreenGrab.h"
#include "HttpServe.h"
#include "TestSupport.h"
#include "app/Autostart.h"
#include "app/LangTable.h"
#include "app/MainFormLayout.h"
#include "app/SettingsFile.h"
#include "app/WebLinks.h"
#include "classlib/SysUtils.h"
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
// WCAG contrast ratio of two 0xAARRGGBB pixels.
double ContrastRatio(std::uint32_t a, std::uint32_t b) {
    auto lum = [](std::uint32_t p) {
        double out = 0;
        const double weights[3] = {0.2126, 0.7152, 0.0722};
        for (int i = 0; i < 3; ++i) {
            const double v = ((p >> (16 - 8 * i)) & 0xFF) / 255.0;
            out += weights[i] * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
        }
        return out;
    };
    const double la = lum(a), lb = lum(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::pair<int, int> CaptionInk(HWND check) {
    int w = 0, h = 0;
    const std::vector<std::uint32_t> px = ScreenPixels(check, w, h);
    auto luma = [](std::uint32_t p) { return ((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF); };
    const int background = static_cast<int>(luma(px[static_cast<size_t>(h / 2) * w + w - 1]));
    // Columns with anything drawn: a skin's disabled box may be light, its grey caption still stands out.
    std::vector<bool> dark(static_cast<size_t>(w), false);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
            dark[static_cast<size_t>(x)] =
                dark[static_cast<size_t>(x)] ||
                std::abs(static_cast<int>(luma(px[static_cast<size_t>(y) * w + x])) - background) > 150;
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

// The screen pixels of r once two readings pause ms apart agree (painting has settled).
std::vector<std::uint32_t> SettledGrab(const RECT& r, DWORD pause = 200) {
    std::vector<std::uint32_t> px = GrabScreen(r), before;
    WaitUntil(
        [&] {
            Sleep(pause);
            before = px;
            px = GrabScreen(r);
            return px == before;
        },
        5000);
    return px;
}

// The client area of a window with the system's single frame of the given outer size: the main window keeps it
// under every skin.
SIZE SingleFrameClient(int width, int height) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_BORDER, FALSE, 0);
    return {width - (frame.right - frame.left), height - (frame.bottom - frame.top)};
}

SIZE ClientSize(HWND wnd) {
    RECT r{};
    GetClientRect(wnd, &r);
    return {r.right, r.bottom};
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
    // Settings of another computer with the start password "secret": the program asks for it first.
    void WriteLockedSettings(TSettings settings = {}) {
        settings.PassZapusk = L"secret";
        WriteSettings(settings, OneServer(), L"FOREIGN-PC");
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
    // The box's message is a windowless label: its text as the box publishes it.
    static std::wstring BoxText(HWND box) {
        TWindowlessControl message;
        return TNotifierProcess::FindWindowless(box, L"Message", message) ? message.Text : L"";
    }
    void CloseBox(HWND box) {
        PostClick(TNotifierProcess::Child(box, L"OK"));
        WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
        // The modal loop gives the main window back only after the box has hidden: a click sent earlier is lost.
        if (HWND main = app_->MainWindow())
            WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000);
    }
    void SetText(const wchar_t* name, const std::wstring& text) {
        HWND c = app_->Ctl(name);
        ASSERT_NE(c, nullptr) << Narrow(name);
        SendMessageW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Click(const wchar_t* name) {
        HWND c = app_->Ctl(name);
        if (!c) {
            // A windowless button: a real click at the centre of its published bounds, on the page that shows it.
            TWindowlessControl w;
            ASSERT_TRUE(app_->Windowless(name, w)) << Narrow(name);
            SetForegroundWindow(app_->MainWindow());
            for (int page = 0; page < 3 && !IsWindowVisible(w.Parent); ++page) {
                ClickTab(page);
                WaitUntil([&] { return IsWindowVisible(w.Parent) != FALSE; }, 1000);
            }
            ASSERT_TRUE(IsWindowVisible(w.Parent)) << Narrow(name);
            // A page shown for the first time has only now taken its place.
            ASSERT_TRUE(app_->Windowless(name, w)) << Narrow(name);
            ClickAt((w.Screen.left + w.Screen.right) / 2, (w.Screen.top + w.Screen.bottom) / 2);
            Sleep(200);
            return;
        }
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
    // Reads the settings file until it loads and Saved accepts what it holds (the program writes it after a click).
    bool WaitSaved(TSettings& read, TNotifierLists& lists, std::wstring& id, const std::function<bool()>& Saved) {
        return WaitUntil(
            [&] {
                read = TSettings{};
                lists = TNotifierLists{};
                return LoadSettings(app_->Folder(), read, lists, id) && Saved();
            },
            5000);
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
    // The program's visible top-level windows other than the main window and the layered borders around it.
    std::vector<HWND> OtherVisibleTops() const {
        std::vector<HWND> out;
        const HWND main = app_->MainWindow();
        for (HWND wnd : app_->TopWindows()) {
            wchar_t cls[64] = {};
            GetClassNameW(wnd, cls, 64);
            if (wnd != main && IsWindowVisible(wnd) && std::wstring(cls) != L"TbsFormLayerWindow")
                out.push_back(wnd);
        }
        return out;
    }
    // Clicks the named control and waits for the window it opens (nullptr when none comes).
    HWND OpenedBy(const wchar_t* name) {
        const std::vector<HWND> before = OtherVisibleTops();
        Click(name);
        HWND opened = nullptr;
        WaitUntil(
            [&] {
                for (HWND wnd : OtherVisibleTops())
                    if (std::find(before.begin(), before.end(), wnd) == before.end())
                        opened = wnd;
                return opened != nullptr;
            },
            5000);
        return opened;
    }

    // The columns from the first to the last one the text inks, drawn whole in the window's font.
    static int InkWidth(const std::wstring& text) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, 600, 30);
        HFONT font = CreateFontW(kMainFormFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                 kMainFormFontName);
        HGDIOBJ oldBmp = SelectObject(dc, bmp), oldFont = SelectObject(dc, font);
        RECT all{0, 0, 600, 30};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        TextOutW(dc, 5, 5, text.c_str(), static_cast<int>(text.size()));
        int first = -1, last = -1;
        for (int x = 0; x < 600; ++x)
            for (int y = 0; y < 30; ++y) {
                const COLORREF c = GetPixel(dc, x, y);
                if (GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c) < 1200) {
                    first = first < 0 ? x : first;
                    last = x;
                }
            }
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBmp);
        DeleteObject(font);
        DeleteObject(bmp);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return first < 0 ? 0 : last - first + 1;
    }

    // Each column header shows its whole text: the text's ink ends where it ends with the column made wide.
    void CheckColumnHeaders(const wchar_t* viewName,
                            const std::function<int(const std::wstring&)>& width,
                            const wchar_t* language) {
        HWND view = app_->Ctl(viewName);
        HWND header = reinterpret_cast<HWND>(SendMessageW(view, LVM_GETHEADER, 0, 0));
        const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
        // The last column of dark ink within the item's rectangle, less its edge (-1: none).
        auto lastInk = [&](int column) {
            // Within the header window: a widened item runs past the view. The header reaches past the view's
            // right edge, which clips it: only what the view shows counts.
            RECT r = HeaderScreenRect(view, column), visible{}, shownByView{};
            GetWindowRect(header, &visible);
            GetWindowRect(view, &shownByView);
            IntersectRect(&r, &r, &visible);
            IntersectRect(&r, &r, &shownByView);
            const std::vector<std::uint32_t> px = SettledGrab(r, 100);
            const int w = r.right - r.left, h = r.bottom - r.top;
            int last = -1;
            for (int x = 0; x < w - 3; ++x)
                for (int y = 2; y < h - 2; ++y) {
                    const std::uint32_t p = px[static_cast<size_t>(y) * w + x];
                    if (((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF) < 1200)
                        last = x;
                }
            return last;
        };
        // The item's text, read through the program's memory.
        auto itemText = [&](int column) {
            TRemoteBuffer buf(header, sizeof(HDITEMW) + 512);
            HDITEMW item{};
            item.mask = HDI_TEXT;
            item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buf.Address()) + sizeof(HDITEMW));
            item.cchTextMax = 255;
            buf.Write(&item, sizeof item);
            SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(buf.Address()));
            wchar_t text[256] = {};
            buf.Read(text, sizeof text - sizeof(wchar_t), sizeof(HDITEMW));
            return std::wstring(text);
        };
        for (int column = 0; column < count; ++column) {
            const int shown = lastInk(column);
            // Ink from the first letter to the last spans as much as the text drawn whole in the window's font.
            const RECT r = HeaderScreenRect(view, column);
            int first = -1;
            {
                const std::vector<std::uint32_t> px = GrabScreen(r);
                const int w = r.right - r.left, h = r.bottom - r.top;
                for (int x = 0; x < w - 3 && first < 0; ++x)
                    for (int y = 2; y < h - 2; ++y) {
                        const std::uint32_t p = px[static_cast<size_t>(y) * w + x];
                        if (((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF) < 1200)
                            first = x;
                    }
            }
            const std::wstring text = Trim(itemText(column));
            EXPECT_GE(shown - first + 1, InkWidth(text))
                << Narrow(viewName) << " column " << column << " shows its text cut in " << Narrow(language);
            const LRESULT width = SendMessageW(view, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0);
            SendMessageW(view, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width + 300, 0));
            const int whole = lastInk(column);
            SendMessageW(view, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
            EXPECT_GE(shown, 0) << Narrow(viewName) << " column " << column;
            EXPECT_EQ(shown, whole) << Narrow(viewName) << " column " << column << " is cut in " << Narrow(language);
        }
    }

    // Each product's link (a windowless label its page publishes) is inked along its whole text (underlined: the
    // ink spans the text's width) and ends inside the page.
    void CheckProductLinks(const std::function<int(const std::wstring&)>& width, const wchar_t* language) {
        HWND page = app_->Ctl(L"TabSheet_NNP");
        int w = 0, h = 0;
        const std::vector<std::uint32_t> px = ScreenPixels(page, w, h);
        RECT inside{};
        GetClientRect(page, &inside);
        RECT pageRect{};
        GetWindowRect(page, &pageRect);
        const auto& products = OtherProducts();
        for (size_t i = 0; i < products.size(); ++i) {
            TWindowlessControl link;
            ASSERT_TRUE(app_->Windowless(L"LinkLabel_NP" + std::to_wstring(209 + i), link));
            const int left = link.Screen.left - pageRect.left, top = link.Screen.top - pageRect.top;
            const int bottom = link.Screen.bottom - pageRect.top;
            // Ink: pixels darker or more coloured than the page behind the link (its first column).
            auto luma = [](std::uint32_t p) { return ((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF); };
            int first = -1, last = -1;
            for (int y = std::max(top, 0); y < bottom && y < h; ++y) {
                const std::uint32_t back = px[static_cast<size_t>(y) * w + std::max(left - 2, 0)];
                for (int x = std::max(left, 0); x < w; ++x) {
                    const std::uint32_t p = px[static_cast<size_t>(y) * w + x];
                    if (std::abs(static_cast<int>(luma(p)) - static_cast<int>(luma(back))) > 400) {
                        first = first < 0 ? x : std::min(first, x);
                        last = std::max(last, x);
                    }
                }
            }
            const std::wstring url = std::wstring(L"http://") + kMakerHost + products[i].page;
            EXPECT_EQ(link.Text, url);
            EXPECT_GE(last - first + 1, width(url) - 1) << Narrow(url) << " is cut in " << Narrow(language);
            EXPECT_LT(last, inside.right - 2) << Narrow(url) << " leaves the page in " << Narrow(language);
        }
    }

    std::unique_ptr<TNotifierProcess> app_;
};

// The cases that need nothing but a running program share one, started at the first of them in a folder of its own
// (no server list download, the start language Russian): each case takes it over with the window shown, the first
// page open, no other window of the program open and the cursor parked; one that cannot be brought back so is
// started again. Cases that change what later ones see undo it or run last.
class MainWindowSharedTest : public MainWindowTest {
  protected:
    static void TearDownTestSuite() { shared_.reset(); }
    void SetUp() override {
        SetCursorPos(5, 5);
        app_ = std::move(shared_);
        if (!app_ || !app_->Running() || !Reset()) {
            app_ = std::make_unique<TNotifierProcess>(L"SharedWindow");
            app_->WriteFile(L"yazik.txt", std::string(1, '\0'));
            WriteSettings(TSettings{}, OneServer());
            ASSERT_NE(StartAndWaitMain(), nullptr);
        }
        main_ = app_->MainWindow();
        SetForegroundWindow(main_);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main_; }, 5000));
    }
    void TearDown() override { shared_ = std::move(app_); }

    // Closes what an earlier case left open and shows the first page; false when the program does not come back
    // to that.
    bool Reset() {
        HWND main = app_->MainWindow();
        if (!main || !IsWindowVisible(main))
            return false;
        auto strays = [&] { return OtherVisibleTops(); };
        for (HWND wnd : strays())
            PostMessageW(wnd, WM_CLOSE, 0, 0);
        if (!WaitUntil([&] { return strays().empty(); }, 5000))
            return false;
        HWND tabs = app_->Ctl(L"PageControl");
        if (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) != 0) {
            SetForegroundWindow(main);
            ClickTab(0);
            if (!WaitUntil([&] { return IsWindowVisible(app_->Ctl(L"TabSheet_NOsn")) != FALSE; }, 3000))
                return false;
        }
        SetCursorPos(5, 5);
        return true;
    }

    HWND main_ = nullptr;

  private:
    static inline std::unique_ptr<TNotifierProcess> shared_;
};

TEST_F(MainWindowTest, FirstStartShowsTheWindowAtTheDesktopCentreAndTheProductsPageWidensIt) {
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), L"Trelm Mail");
    const SIZE size = ClientSize(main), narrowShort = SingleFrameClient(kFormWidthNarrow, kFormHeightShort);
    EXPECT_EQ(size.cx, narrowShort.cx);
    EXPECT_EQ(size.cy, narrowShort.cy);
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
        const SIZE want = SingleFrameClient(cx, cy);
        return WaitUntil([&] { return ClientSize(main).cx == want.cx && ClientSize(main).cy == want.cy; }, 3000);
    };
    EXPECT_TRUE(sized(kFormWidthWide, kFormHeightTall));
    Sleep(800);
    Shot(main, L"products-ru");
    ClickTab(0);
    EXPECT_TRUE(sized(kFormWidthNarrow, kFormHeightShort));
}

// A driver in another process finds the windowless labels by their names and reads their texts, bounds and state.
TEST_F(MainWindowTest, WindowlessLabelsAreFoundFromOutside) {
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    const TLangTable& ru = *BuiltInLangTable(0);
    TWindowlessControl label;
    ASSERT_TRUE(app_->Windowless(L"Label_ProvEmSek", label));
    EXPECT_EQ(label.Text, ru[26]);
    EXPECT_TRUE(label.Enabled);
    EXPECT_GT(label.Screen.right - label.Screen.left, 20);
    EXPECT_EQ(label.Parent, app_->Ctl(L"TabSheet_NOsn"));
    TWindowlessControl link;
    ASSERT_TRUE(app_->Windowless(L"LinkLabel_NP209", link));
    const std::wstring page = OtherProducts()[0].page;
    EXPECT_EQ(link.Text.substr(0, 7), L"http://");
    ASSERT_GE(link.Text.size(), page.size());
    EXPECT_EQ(link.Text.substr(link.Text.size() - page.size()), page);
    EXPECT_EQ(link.Parent, app_->Ctl(L"TabSheet_NNP"));
    TWindowlessControl none;
    EXPECT_FALSE(app_->Windowless(L"Label_Nonexistent", none));
    // The groups are skinned group boxes; the labels on them are windowless and drawn by them (skin 81).
    HWND group = app_->Ctl(L"GroupBox_NastrEm");
    ASSERT_NE(group, nullptr);
    wchar_t cls[64] = {};
    GetClassNameW(group, cls, 64);
    EXPECT_STREQ(cls, L"TbsSkinGroupBox");
    TWindowlessControl login;
    ASSERT_TRUE(app_->Windowless(L"Label_PNLogin", login));
    EXPECT_EQ(login.Text, ru[19]);
    EXPECT_EQ(login.Parent, group);
    SetForegroundWindow(main);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 5000));
    Sleep(300);
    const std::vector<std::uint32_t> px = GrabScreen(login.Screen);
    const int lw = login.Screen.right - login.Screen.left, lh = login.Screen.bottom - login.Screen.top;
    ASSERT_GT(lw, 10);
    ASSERT_GT(lh, 5);
    // the text: pixels other than the background at the label's corner
    const std::uint32_t back = px[0] & 0xFFFFFF;
    const auto ink = std::count_if(px.begin(), px.end(), [back](std::uint32_t p) { return (p & 0xFFFFFF) != back; });
    EXPECT_GT(ink, 20) << "no text drawn in the label's bounds";
}

TEST_F(MainWindowTest, ForeignSettingsAskTheStartPasswordAndTheRightOneWithABlankOpens) {
    WriteLockedSettings();
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
    WriteLockedSettings();
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
    ASSERT_TRUE(WaitSaved(read, lists, id, [&] { return read.VTray; }));
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
        std::vector<std::uint32_t> px;
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
        // The level fades in: its colours are whole once the fade has ended.
        WaitUntil(
            [&] {
                px = ScreenPixels(level, w, h);
                return redIn(h * 4 / 5, h) >= 10;
            },
            3000);
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
        const RECT r = app_->ScreenRectOf(name);
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

TEST_F(MainWindowTest, AnAccountTypedIntoTheSkinnedFieldsIsSavedAsTyped) {
    WriteSettings(TSettings{}, OneServer());
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    // The login is an edit whose window text is its text; the password keeps no window text.
    SetText(L"Edit_PNLogin", L"probe");
    EXPECT_EQ(WindowText(app_->Ctl(L"Edit_PNLogin")), L"probe");
    SetText(L"PasswordEdit_PNParol", L"probe");
    EXPECT_EQ(WindowText(app_->Ctl(L"PasswordEdit_PNParol")), L"");
    AddAccount(L"ivan.petrov", L"s3cr\u0435t pw", L"mail.test", L"imap.mail.test");
    HWND view = app_->Ctl(L"ListView_Em");
    ASSERT_TRUE(WaitUntil([&] { return ListCount(view) == 1; }, 3000));
    // The reminder's time typed as four digits shows with its separator.
    HWND time = app_->Ctl(L"Time_Sob");
    SendMessageW(time, EM_SETSEL, 0, 0);
    for (wchar_t c : std::wstring(L"0930"))
        SendMessageW(time, WM_CHAR, c, 1);
    EXPECT_EQ(WindowText(time), L"09:30");
    Click(L"Button_Prim");
    TSettings read;
    TNotifierLists lists;
    std::wstring id;
    ASSERT_TRUE(WaitSaved(read, lists, id, [&] { return lists.Accounts.size() == 1; }));
    EXPECT_EQ(lists.Accounts[0]->Login, L"ivan.petrov");
    EXPECT_EQ(lists.Accounts[0]->Parol, L"s3cr\u0435t pw");
    EXPECT_EQ(lists.Accounts[0]->HostIMAP, L"imap.mail.test");
}

TEST_F(MainWindowSharedTest, ReminderOnTheSameWeekdayIsRefusedWithTheDayInTheWarning) {
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
// once all the while, and closing it ends the program while the download still runs. The slow host is watched
// until the program has given the download up at its deadline (its report in the TRELM_LOG file) and a while after.
TEST_F(MainWindowTest, ASlowOrSilentServerListHostNeitherFreezesTheWindowNorHoldsTheClose) {
    const std::string list = "mail.test                    imap.mail.test                          993\r\n";
    const std::string givenUp = "[Trelm] FetchImapList: server list past its deadline";
    // Watches the window from its first answer until done() holds (or untilMs passed; *reached tells which), then
    // asks it to close.
    auto answersThenCloses = [&](const std::wstring& host, const std::function<bool()>& done, DWORD untilMs,
                                 bool* reached) {
        const std::wstring log = app_->File(L"trelm.log");
        DeleteFileW(log.c_str());
        SetEnvironmentVariableW(L"TRELM_LOG", log.c_str());
        // Asked from its first answer after it shows: the first paint's work, where the download starts, comes
        // after that.
        const bool started = app_->Start(host, false);
        SetEnvironmentVariableW(L"TRELM_LOG", nullptr);
        ASSERT_TRUE(started);
        HWND main = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (main = app_->MainWindow()) && IsWindowVisible(main); }, kStart));
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kStart, &result));
        // A second is far below the host's two-second drip and the connect time-out, far above what a loaded
        // machine adds to an answer.
        TAnswerProbe probe(main, 20, 1000);
        *reached = WaitUntil(done, untilMs);
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
        // Given up at the deadline, then watched for two more seconds of the download running on.
        ULONGLONG givenUpAt = 0;
        bool reached = false;
        answersThenCloses(
            L"127.0.0.1:" + std::to_wstring(drip.Port()),
            [&] {
                if (!givenUpAt && ReadBytes(app_->File(L"trelm.log")).find(givenUp) != std::string::npos)
                    givenUpAt = GetTickCount64();
                return givenUpAt && GetTickCount64() - givenUpAt >= 2000;
            },
            30000, &reached);
        EXPECT_TRUE(reached) << "the download was not given up at its deadline: "
                             << ReadBytes(app_->File(L"trelm.log"));
        EXPECT_GE(drip.Connections(), 1);
        app_->Kill();
    }
    app_ = std::make_unique<TNotifierProcess>(L"SilentServerListHost");
    TSilentServer silent;
    bool watched = false;
    answersThenCloses(L"127.0.0.1:" + std::to_wstring(silent.Port()), [] { return false; }, 4000, &watched);
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

// The screen pixels of a window once two readings 200 ms apart agree (painting has settled).
std::vector<std::uint32_t> SettledPixels(HWND wnd, int& w, int& h) {
    RECT r{};
    GetWindowRect(wnd, &r);
    w = r.right - r.left;
    h = r.bottom - r.top;
    return SettledGrab(r);
}

// The named control under a point of wnd's screen rectangle (the deepest named window there).
std::wstring NameAt(HWND wnd, int x, int y) {
    RECT r{};
    GetWindowRect(wnd, &r);
    POINT p{r.left + x, r.top + y};
    std::wstring name;
    for (HWND child = wnd; child;) {
        if (!TrelmName(child).empty())
            name = TrelmName(child);
        POINT q = p;
        ScreenToClient(child, &q);
        HWND next = ChildWindowFromPointEx(child, q, CWP_SKIPINVISIBLE);
        child = next == child ? nullptr : next;
    }
    return name;
}

// After the start in the stored default skin the window's client area and each page are painted: an unpainted
// client shows the black of an empty window. Text, lines and edges are black too, but they are a small part of a page
// (about a twentieth).
TEST_F(MainWindowTest, AfterTheStartTheClientAreaAndEveryPageArePainted) {
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    SetForegroundWindow(main);
    auto blackShare = [](const std::vector<std::uint32_t>& px) {
        size_t black = 0;
        for (std::uint32_t p : px)
            black += (p & 0xFFFFFF) == 0;
        return px.empty() ? 1.0 : static_cast<double>(black) / static_cast<double>(px.size());
    };
    RECT client{};
    GetClientRect(main, &client);
    MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ASSERT_GT(client.right - client.left, 100);
    EXPECT_LT(blackShare(SettledGrab(client)), 0.25) << "the client area after the start";
    const wchar_t* pages[] = {L"TabSheet_NOsn", L"TabSheet_Budilnik", L"TabSheet_NNP"};
    for (int p = 0; p < 3; ++p) {
        if (p > 0)
            ClickTab(p);
        HWND page = app_->Ctl(pages[p]);
        ASSERT_TRUE(page && WaitUntil([&] { return IsWindowVisible(page) != FALSE; }, 5000)) << Narrow(pages[p]);
        int w = 0, h = 0;
        EXPECT_LT(blackShare(SettledPixels(page, w, h)), 0.25) << Narrow(pages[p]);
    }
}

// Apply with another language repaints the mail page at once, with no tab switch: what it shows equals what a full
// repaint of the page and every control on it shows, the longer label texts are inked to their end and the
// spin edits show both arrows. Each language's pages are captured (TRELM_SHOTS) for a look.
TEST_F(MainWindowSharedTest, ALanguageApplyRepaintsTheMailPageAtOnce) {
    HWND main = main_;
    HWND page = app_->Ctl(L"TabSheet_NOsn");
    HWND combo = app_->Ctl(L"OfficeComboBox_lang");
    ASSERT_TRUE(page && combo);
    int w = 0, h = 0;
    SettledPixels(page, w, h);
    const wchar_t* names[] = {L"ru", L"be", L"uk"};
    for (int lang : {1, 2, 0}) {
        const std::wstring before = app_->TextOf(L"Label_UrlVhod");
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(lang), 0);
        Click(L"Button_Prim");
        ASSERT_TRUE(WaitUntil([&] { return app_->TextOf(L"Label_UrlVhod") != before; }, 5000));
        const std::vector<std::uint32_t> shown = SettledPixels(page, w, h);
        Shot(main, std::wstring(L"applied-page0-") + names[lang]);
        auto luma = [](std::uint32_t p) { return ((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF); };
        // Every label is inked up to its text's end.
        for (const TCtlSpec& spec : kMainFormLayout) {
            if (spec.Kind != TCtlKind::Label || std::wstring(spec.Parent).find(L"NOsn") == std::wstring::npos &&
                                                    std::wstring(spec.Parent) != L"GroupBox_NastrEm")
                continue;
            const RECT lr = app_->ScreenRectOf(spec.Name);
            ASSERT_GT(lr.right, lr.left) << Narrow(spec.Name);
            const int lw = lr.right - lr.left, lh = lr.bottom - lr.top;
            const std::vector<std::uint32_t> px = GrabScreen(lr);
            int last = -1;
            for (int x = 0; x < lw; ++x)
                for (int y = 0; y < lh; ++y)
                    if (luma(px[static_cast<size_t>(y) * lw + x]) < 1000)
                        last = x;
            EXPECT_GE(last, lw - 8) << Narrow(spec.Name) << " in " << Narrow(names[lang]);
        }
        // Both arrows of every spin edit: ink in the upper and in the lower half of its buttons' strip.
        for (const wchar_t* spin :
             {L"Spin_ProvEmSek", L"Spin_VremPokVspOkn", L"Spin_PovtorZvukI", L"Spin_PNPortIMAP"}) {
            HWND up = app_->Ctl(spin);
            ASSERT_NE(up, nullptr);
            int uw = 0, uh = 0;
            const std::vector<std::uint32_t> px = ScreenPixels(up, uw, uh);
            int upper = 0, lower = 0;
            for (int y = 2; y < uh - 2; ++y)
                for (int x = uw - 17; x < uw - 2; ++x)
                    if (luma(px[static_cast<size_t>(y) * uw + x]) < 1500)
                        (y < uh / 2 ? upper : lower) += 1;
            EXPECT_GE(upper, 3) << Narrow(spin) << " in " << Narrow(names[lang]);
            EXPECT_GE(lower, 3) << Narrow(spin) << " in " << Narrow(names[lang]);
        }
        RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const std::vector<std::uint32_t> fresh = SettledPixels(page, w, h);
        ASSERT_EQ(shown.size(), fresh.size());
        int differ = 0;
        std::wstring where;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (shown[static_cast<size_t>(y) * w + x] != fresh[static_cast<size_t>(y) * w + x] && differ++ == 0)
                    where = NameAt(page, x, y) + L" at " + std::to_wstring(x) + L"," + std::to_wstring(y);
        EXPECT_EQ(differ, 0) << "stale pixels in " << Narrow(names[lang]) << ", first in " << Narrow(where);
        for (int p = 1; p < 3; ++p) {
            ClickTab(p);
            int mw = 0, mh = 0;
            SettledPixels(main, mw, mh);
            Shot(main, L"applied-page" + std::to_wstring(p) + L"-" + names[lang]);
        }
        ClickTab(0);
        SettledPixels(page, w, h);
    }
}

// The pixels of the window's title: its top 24 rows (no further than its client area) across the middle three
// fifths of its width (away from the caption buttons).
// Waits until wnd's window and client rectangles have stayed the same for quietMs.
bool WaitStableRect(HWND wnd, DWORD quietMs, DWORD timeoutMs) {
    auto rects = [wnd] {
        std::array<RECT, 2> r{};
        GetWindowRect(wnd, &r[0]);
        GetClientRect(wnd, &r[1]);
        return r;
    };
    std::array<RECT, 2> last = rects();
    DWORD since = GetTickCount();
    const DWORD start = since;
    while (GetTickCount() - start < timeoutMs) {
        Sleep(50);
        const std::array<RECT, 2> now = rects();
        if (memcmp(&now, &last, sizeof now) != 0) {
            last = now;
            since = GetTickCount();
        } else if (GetTickCount() - since >= quietMs) {
            return true;
        }
    }
    return false;
}

std::vector<std::uint32_t> CaptionBand(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    POINT client{0, 0};
    ClientToScreen(wnd, &client);
    const int w = r.right - r.left;
    const RECT band{r.left + w / 5, r.top, r.right - w / 5, std::min<LONG>(client.y, r.top + 24)};
    return SettledGrab(band);
}

// The controls of parent (by the table's parents) in the order a reader meets them, groups opened in place:
// those that take the focus by Tab.
void TabStops(TNotifierProcess& app, const std::wstring& parent, std::vector<std::wstring>& out) {
    std::vector<std::wstring> names;
    std::vector<TBox> boxes;
    HWND parentWnd = app.Ctl(parent);
    for (const TCtlSpec& spec : kMainFormLayout) {
        if (parent != spec.Parent)
            continue;
        for (const std::wstring& name : {std::wstring(spec.Name)}) {
            HWND c = app.Ctl(name);
            if (!c)
                continue;
            RECT r{};
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, parentWnd, reinterpret_cast<POINT*>(&r), 2);
            names.push_back(name);
            boxes.push_back(TBox{r.left, r.top, r.right - r.left, r.bottom - r.top});
        }
    }
    for (std::size_t i : ReadingOrder(boxes)) {
        HWND c = app.Ctl(names[i]);
        // A spin edit takes the focus in its inner edit.
        const HWND stop = names[i].starts_with(L"Spin_") ? GetWindow(c, GW_CHILD) : c;
        if (IsWindowVisible(c) && IsWindowEnabled(c) && (GetWindowLongW(stop, GWL_STYLE) & WS_TABSTOP))
            out.push_back(names[i]);
        TabStops(app, names[i], out);
    }
}

// The named control holding the focus of the program's window thread (an editable combo box's edit counts as the
// combo box).
std::wstring FocusedName(HWND main) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info))
        return {};
    for (HWND wnd = info.hwndFocus; wnd && wnd != main; wnd = GetParent(wnd))
        if (!TrelmName(wnd).empty())
            return TrelmName(wnd);
    return {};
}

// Tab walks each settings page in reading order: rows from the top, each from the left, a group's fields where
// the group stands.
TEST_F(MainWindowSharedTest, TabFollowsTheReadingOrderOfEachPage) {
    HWND main = main_;
    for (int page = 0; page < 2; ++page) {
        ClickTab(page);
        Sleep(400);
        std::vector<std::wstring> expected;
        TabStops(*app_, page == 0 ? L"TabSheet_NOsn" : L"TabSheet_Budilnik", expected);
        ASSERT_GE(expected.size(), 8u);
        RECT r{};
        GetWindowRect(app_->Ctl(expected[0]), &r);
        ClickAt(r.left + 6, (r.top + r.bottom) / 2);
        ASSERT_TRUE(WaitUntil([&] { return FocusedName(main) == expected[0]; }, 3000)) << Narrow(FocusedName(main));
        std::vector<std::wstring> seen{FocusedName(main)};
        for (std::size_t i = 1; i < expected.size(); ++i) {
            INPUT in[2] = {};
            in[0].type = in[1].type = INPUT_KEYBOARD;
            in[0].ki.wVk = in[1].ki.wVk = VK_TAB;
            in[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, in, sizeof(INPUT));
            const std::wstring last = seen.back();
            WaitUntil([&] { return FocusedName(main) != last; }, 2000);
            seen.push_back(FocusedName(main));
        }
        std::string walk;
        for (std::size_t i = 0; i < std::max(seen.size(), expected.size()); ++i)
            walk += "\n  " + Narrow(i < seen.size() ? seen[i] : L"-") + " / " +
                    Narrow(i < expected.size() ? expected[i] : L"-");
        EXPECT_EQ(seen, expected) << "page " << page << ", seen / expected:" << walk;
    }
}

// Rows of boxes: a row's boxes from the left, rows from the top, boxes whose middles are a few pixels apart share
// a row, and an empty list stays empty.
TEST(MainFormLayout, ReadingOrderReadsRowsFromTheLeft) {
    const std::vector<TBox> boxes = {
        {300, 20, 130, 21},  // 0: first row, right
        {80, 46, 146, 21},   // 1: second row, left
        {80, 20, 146, 21},   // 2: first row, left
        {460, 18, 24, 24},   // 3: first row, far right (a taller button a little higher)
        {8, 254, 180, 14},   // 4: third row label
        {200, 250, 70, 21},  // 5: third row field
        {320, 46, 130, 21},  // 6: second row, right
    };
    EXPECT_EQ(ReadingOrder(boxes), (std::vector<std::size_t>{2, 0, 3, 1, 6, 4, 5}));
    EXPECT_TRUE(ReadingOrder({}).empty());
    // Middles 20 pixels apart are two rows even when the lower box starts further left.
    EXPECT_EQ(ReadingOrder({{100, 0, 50, 20}, {0, 20, 50, 20}}), (std::vector<std::size_t>{0, 1}));
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
        // The links name the maker's real site (no download: the settings hold a server list).
        TSettings settings;
        settings.LangIndex = static_cast<uint8_t>(lang);
        WriteSettings(settings, OneServer());
        HWND main = StartAndWaitMain(kMakerHost);
        ASSERT_NE(main, nullptr);
        // The language chooser is the skinned office combo box on the saved language, showing its flag.
        HWND chooser = app_->Ctl(L"OfficeComboBox_lang");
        wchar_t cls[64] = {};
        GetClassNameW(chooser, cls, 64);
        EXPECT_STREQ(cls, L"TbsSkinOfficeComboBox");
        EXPECT_EQ(SendMessageW(chooser, CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(SendMessageW(chooser, CB_GETCURSEL, 0, 0), lang);
        if (lang == 2) {
            SetForegroundWindow(main);
            ClickTab(0);
            WaitUntil([&] { return IsWindowVisible(chooser) != FALSE; }, 3000);
            Sleep(300);
            int cw = 0, ch = 0;
            const std::vector<std::uint32_t> px = ScreenPixels(chooser, cw, ch);
            int blue = 0, yellow = 0;
            for (int y = 0; y < ch; ++y)
                for (int x = 0; x < std::min(cw, 30); ++x) {
                    const std::uint32_t p = px[static_cast<size_t>(y) * cw + x];
                    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
                    blue += b > 120 && r < 90 && g < 160;
                    yellow += r > 180 && g > 150 && b < 90;
                }
            Shot(chooser, L"lang-uk");
            EXPECT_GT(blue, 10) << "the Ukrainian flag's blue half";
            EXPECT_GT(yellow, 10) << "the Ukrainian flag's yellow half";
        }
        for (const TCtlSpec& spec : kMainFormLayout) {
            if (spec.Kind != TCtlKind::Check && spec.Kind != TCtlKind::Label && spec.Kind != TCtlKind::Button)
                continue;
            // Labels off the group boxes have no window: their parents publish them.
            const RECT r = app_->ScreenRectOf(spec.Name);
            ASSERT_GT(r.right, r.left) << Narrow(spec.Name);
            const int room = r.right - r.left -
                             (spec.Kind == TCtlKind::Check    ? GetSystemMetrics(SM_CXMENUCHECK) + 4
                              : spec.Kind == TCtlKind::Button ? 8
                                                              : 0);
            EXPECT_GE(room, width(app_->TextOf(spec.Name))) << Narrow(spec.Name) << " in " << Narrow(languages[lang]);
        }
        for (const TCtlSpec& spec : kMainFormLayout) {
            if (!spec.After)
                continue;
            const RECT field = app_->ScreenRectOf(spec.Name);
            std::wstring before;
            for (const wchar_t* p = spec.After;; ++p) {
                if (*p == L' ' || *p == 0) {
                    const RECT r = app_->ScreenRectOf(before);
                    EXPECT_GT(r.right, r.left) << Narrow(before);
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
            if (page == 2)
                CheckProductLinks(width, languages[lang]);
            for (const wchar_t* view : {L"ListView_Em", L"ListView_Sob", L"ListView_Pism", L"ListView_Sobty"})
                if (IsWindowVisible(app_->Ctl(view)))
                    CheckColumnHeaders(view, width, languages[lang]);
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

// The skin dialog carries the title the notifier stores, shows every skin's description whole in its list (no ink in
// the list's last columns, where a cut text would end) and a scroll-bar thumb that stands out from its track.
TEST_F(MainWindowSharedTest, SkinDialogShowsItsTitleWholeDescriptionsAndAVisibleThumb) {
    Click(L"Button_Skin");
    HWND dlg = WaitBox(L"Выбор скина");
    ASSERT_NE(dlg, nullptr);
    HWND list = TNotifierProcess::Child(dlg, L"SkinList");
    HWND frame = TNotifierProcess::Child(dlg, L"SkinListBox");
    ASSERT_NE(list, nullptr);
    ASSERT_NE(frame, nullptr);
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    ASSERT_EQ(count, 87);
    RECT win{}, client{};
    GetWindowRect(list, &win);
    GetClientRect(list, &client);
    POINT origin{0, 0};
    ClientToScreen(list, &origin);
    const int ox = origin.x - win.left, oy = origin.y - win.top;
    for (int wanted = 0; wanted < count; wanted += 4) {
        SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(wanted), 0);
        const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
        Sleep(150);
        int w = 0, h = 0;
        const std::vector<std::uint32_t> px = ScreenPixels(list, w, h);
        ASSERT_EQ(static_cast<size_t>(w) * static_cast<size_t>(h), px.size());
        // Rows of the items whose background is the list's window colour (the selected one is left out).
        const int itemH = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        ASSERT_GT(itemH, 0);
        const int shown = std::min(static_cast<int>(client.bottom) / itemH, count - top);
        const int selected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        for (int row = 0; row < shown; ++row) {
            if (top + row == selected)
                continue;  // its focus rectangle runs along the edge
            const int y0 = oy + row * itemH, y1 = y0 + itemH;
            const std::uint32_t bg = px[static_cast<size_t>(y0) * w + ox + 1];
            for (int y = y0; y < y1 && y < h; ++y)
                for (int x = ox + client.right - 3; x < ox + client.right; ++x)
                    EXPECT_EQ(px[static_cast<size_t>(y) * w + x], bg)
                        << "item " << top + row << " reaches the list's right edge";
        }
        if (wanted == 0) {
            Shot(dlg, L"skin-dialog");
            // The skinned vertical bar right of the list, between its arrows: the track's colour is the
            // commonest; the thumb the skin draws on it (its face and its edge) must stand out from it somewhere.
            int fw = 0, fh = 0;
            const std::vector<std::uint32_t> fpx = ScreenPixels(frame, fw, fh);
            RECT frameWin{};
            GetWindowRect(frame, &frameWin);
            const int bar = (win.right - frameWin.left + fw) / 2;
            const int arrow = 18;
            std::map<std::uint32_t, int> colours;
            for (int y = win.top - frameWin.top + arrow; y < win.bottom - frameWin.top - arrow; ++y)
                ++colours[fpx[static_cast<size_t>(y) * fw + bar]];
            ASSERT_GE(colours.size(), 2u) << "no thumb in the scroll bar";
            std::vector<std::pair<int, std::uint32_t>> byCount;
            for (const auto& [colour, n] : colours)
                byCount.emplace_back(n, colour);
            std::sort(byCount.rbegin(), byCount.rend());
            double best = 0;
            for (size_t i = 1; i < byCount.size(); ++i)
                best = std::max(best, ContrastRatio(byCount[0].second, byCount[i].second));
            EXPECT_GE(best, 1.3) << "the thumb does not stand out from the scroll bar's track";
        }
    }
    PostMessageW(dlg, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); }, 5000);
}

// The window's sizes are those of a window with the system's single frame; every skin's frame keeps that client
// area, and the page control fills it with its 4-pixel margin. Skin 31 draws a full layered border outside the
// window, 80 a flat frame, 81 the usual one.
TEST_F(MainWindowTest, EverySkinKeepsTheClientAreaAndThePagesFillIt) {
    const SIZE want = SingleFrameClient(kFormWidthNarrow, kFormHeightShort);
    const int clientWidth = want.cx, clientHeight = want.cy;
    for (const int skin : {31, 80, 81}) {
        SCOPED_TRACE("skin " + std::to_string(skin));
        app_.reset();
        app_ = std::make_unique<TNotifierProcess>(L"EverySkinKeepsTheClientArea" + std::to_wstring(skin));
        TSettings s;
        s.SkinIndex = static_cast<uint8_t>(skin);
        WriteSettings(s, OneServer());
        HWND main = StartAndWaitMain();
        ASSERT_NE(main, nullptr);
        RECT client{};
        ASSERT_TRUE(WaitUntil(
            [&] {
                GetClientRect(main, &client);
                return client.right == clientWidth && client.bottom == clientHeight;
            },
            3000))
            << client.right << "x" << client.bottom << " instead of " << clientWidth << "x" << clientHeight;
        RECT pages{};
        HWND pageControl = app_->Ctl(L"PageControl");
        ASSERT_NE(pageControl, nullptr);
        GetWindowRect(pageControl, &pages);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&pages), 2);
        EXPECT_EQ(pages.left, 4);
        EXPECT_EQ(pages.top, 4);
        EXPECT_EQ(pages.right, client.right - 4);
        EXPECT_EQ(pages.bottom, client.bottom - 4);
        Shot(main, L"client-skin" + std::to_wstring(skin));
    }
}

// A skin chosen in the skin dialog (the last case of the shared program: the skin stays): once the dialog has closed, the foreground main window's caption shows the
// active look, the same as after a real deactivation and activation, and not the inactive one.
TEST_F(MainWindowSharedTest, AfterTheSkinDialogTheCaptionShowsTheActiveLook) {
    HWND main = main_;
    PostClick(app_->Ctl(L"Button_Skin"));
    HWND tabs = app_->Ctl(L"PageControl");
    HWND dialog = nullptr, list = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND wnd : app_->TopWindows()) {
                HWND found =
                    wnd != main && IsWindowVisible(wnd) ? TNotifierProcess::Child(wnd, L"SkinList") : nullptr;
                if (found) {
                    dialog = wnd;
                    list = found;
                }
            }
            return dialog != nullptr;
        },
        10000));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) > 80; }, 10000))
        << SendMessageW(list, LB_GETCOUNT, 0, 0) << " rows in " << Narrow(WindowText(dialog));
    SendMessageW(list, LB_SETCURSEL, 80, 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    PostClick(TNotifierProcess::Child(dialog, L"OKButton"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10000));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 5000));
    // The main window takes the new skin once the dialog has gone; its frame changes size then.
    ASSERT_TRUE(WaitStableRect(main, 400, 5000));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0) << "the skin change keeps the active page";
    EXPECT_TRUE(IsWindowVisible(app_->Ctl(L"TabSheet_NOsn")));
    const std::vector<std::uint32_t> afterDialog = CaptionBand(main);
    Shot(main, L"skin80-after-dialog");
    // A window of this test takes the activation, then the main window gets it back.
    HWND other = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 60, 40,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }, 5000));
    const std::vector<std::uint32_t> inactive = CaptionBand(main);
    Shot(main, L"skin80-inactive");
    RECT frame{};
    GetWindowRect(main, &frame);
    ClickAt((frame.left + frame.right) / 2, frame.top + 6);  // a click on the title activates the window
    SetCursorPos(5, 5);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 5000));
    const std::vector<std::uint32_t> active = CaptionBand(main);
    Shot(main, L"skin80-active");
    DestroyWindow(other);
    EXPECT_NE(inactive, active);
    ASSERT_EQ(afterDialog.size(), active.size()) << inactive.size();
    std::size_t differ = 0, first = 0;
    for (std::size_t i = 0; i < active.size(); ++i)
        if (afterDialog[i] != active[i] && differ++ == 0)
            first = i;
    EXPECT_EQ(differ, 0u) << "the caption after the skin dialog is not the active caption; first at " << first << ": "
                          << std::hex << afterDialog[first] << " for " << active[first];
    // The chosen skin is stored at the next Apply.
    Click(L"Button_Prim");
    TSettings read;
    TNotifierLists lists;
    std::wstring id;
    EXPECT_TRUE(WaitSaved(read, lists, id, [&] { return read.SkinIndex == 80; })) << int(read.SkinIndex);
}

// The account delete question is the skinned message box: the caption of language line 1, the question readable
// from outside as its label's text, "Yes" and "No" skinned buttons with the container's Russian texts. Esc answers
// No and keeps the account; Yes removes it.
TEST_F(MainWindowSharedTest, TheAccountDeleteQuestionIsTheSkinnedBoxEscKeepsYesRemoves) {
    HWND view = app_->Ctl(L"ListView_Em");
    const int before = ListCount(view);
    AddAccount(L"udalit", L"p");
    ASSERT_TRUE(WaitUntil([&] { return ListCount(view) == before + 1; }, 3000));
    auto ask = [&] {
        Click(L"Button_Udal");
        return WaitBox(L"Внимание");
    };
    auto gone = [&](HWND box) { return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000); };
    HWND box = ask();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(BoxText(box).find(L"udalit@mail.test ?"), std::wstring::npos) << Narrow(BoxText(box));
    HWND yes = TNotifierProcess::Child(box, L"Yes"), no = TNotifierProcess::Child(box, L"No");
    ASSERT_NE(yes, nullptr);
    ASSERT_NE(no, nullptr);
    for (HWND b : {yes, no}) {
        wchar_t cls[64] = {};
        GetClassNameW(b, cls, 64);
        EXPECT_EQ(std::wstring(cls), L"TbsSkinButton");
    }
    EXPECT_EQ(WindowText(yes), L"&Да");
    EXPECT_EQ(WindowText(no), L"&Нет");
    RECT y{}, n{};
    GetWindowRect(yes, &y);
    GetWindowRect(no, &n);
    EXPECT_LT(y.right, n.left);
    Shot(box, L"delete-question");
    PostMessageW(yes, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(yes, WM_KEYUP, VK_ESCAPE, 0);
    ASSERT_TRUE(gone(box));
    EXPECT_EQ(ListCount(view), before + 1);
    box = ask();
    ASSERT_NE(box, nullptr);
    PostClick(TNotifierProcess::Child(box, L"Yes"));
    ASSERT_TRUE(gone(box));
    EXPECT_TRUE(WaitUntil([&] { return ListCount(view) == before; }, 3000));
}

TEST_F(MainWindowTest, TheButtonsAndCheckBoxesAreSkinnedAndAnswerTheSystemsButtonMessages) {
    WriteSettings(TSettings{}, OneServer());
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    auto cls = [&](const wchar_t* name) {
        wchar_t c[64] = {};
        GetClassNameW(app_->Ctl(name), c, 64);
        return std::wstring(c);
    };
    EXPECT_EQ(cls(L"Button_Prim"), L"TbsSkinButton");
    EXPECT_EQ(cls(L"Button_FZvuk"), L"TbsSkinButton");
    EXPECT_EQ(cls(L"Check_IspZvuk"), L"TbsSkinCheckRadioBox");
    EXPECT_EQ(cls(L"Check_Pn"), L"TbsSkinCheckRadioBox");
    HWND edit = app_->Ctl(L"Edit_FZvuk");
    const bool was = Checked(L"Check_IspZvuk");
    EXPECT_EQ(IsWindowEnabled(edit) != FALSE, !was);
    for (int i = 0; i < 2; ++i) {
        const bool before = Checked(L"Check_IspZvuk");
        SendMessageW(app_->Ctl(L"Check_IspZvuk"), BM_CLICK, 0, 0);
        EXPECT_EQ(Checked(L"Check_IspZvuk"), !before);
        EXPECT_EQ(IsWindowEnabled(edit) != FALSE, before) << "the sound file is chosen only while it is unchecked";
    }
}

// The four lists are skinned views with external bars: the header reaches 25 pixels past the view, a list longer
// than its page shows its vertical bar, which scrolls the rows, and a reminder due within the hour keeps its row
// colour from the program's custom drawing.
TEST_F(MainWindowTest, ListsAreSkinnedViewsWithExternalBars) {
    TNotifierLists lists = OneServer();
    for (int i = 0; i < 14; ++i) {
        auto account = std::make_unique<AListEm>();
        account->Domain = L"mail.test";
        account->Login = L"user" + std::to_wstring(i);
        account->Parol = L"p";
        account->HostIMAP = L"imap.mail.test";
        account->PortIMAP = 993;
        lists.Accounts.push_back(std::move(account));
    }
    auto soon = std::make_unique<AListSob>();
    soon->Name = L"Скоро";
    const double now = static_cast<double>(Now());
    soon->Time = TDateTime(now + 30.0 / 1440.0 - std::floor(now + 30.0 / 1440.0));
    soon->DnNedel.fill(true);
    lists.Events.push_back(std::move(soon));
    WriteSettings(TSettings{}, std::move(lists));
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    HWND view = app_->Ctl(L"ListView_Em");
    ASSERT_NE(view, nullptr);
    wchar_t cls[64] = {};
    GetClassNameW(view, cls, 64);
    EXPECT_EQ(std::wstring(cls), L"TbsSkinListView");
    HWND header = reinterpret_cast<HWND>(SendMessageW(view, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(WindowSize(header).cx, WindowSize(view).cx + 25);
    for (const wchar_t* name : {L"ScrollBarH_Pism", L"ScrollBarH_Sobty", L"ScrollBar_SobH", L"ScrollBar_EmV"})
        EXPECT_NE(app_->Ctl(name), nullptr) << Narrow(name);
    ASSERT_TRUE(WaitUntil([&] { return ListCount(view) == 14; }, 5000));
    HWND bar = app_->Ctl(L"ScrollBar_EmV");
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(bar) != FALSE; }, 5000)) << "more accounts than a page";
    EXPECT_EQ(SendMessageW(view, LVM_GETTOPINDEX, 0, 0), 0);
    // The shown bar stands beside the rows, not over them: the list ends at its left, and the columns fit the
    // list's client width.
    RECT br{};
    GetWindowRect(bar, &br);
    EXPECT_TRUE(WaitUntil(
        [&] {
            RECT vr{};
            GetWindowRect(view, &vr);
            return vr.right == br.left;
        },
        3000))
        << "the list gives its vertical bar room";
    RECT vc{};
    GetClientRect(view, &vc);
    int columns = 0;
    for (int c = 0; c < 4; ++c)
        columns += static_cast<int>(SendMessageW(view, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0));
    EXPECT_LE(columns, vc.right) << "no column lies under the bar";
    // a press on the track below the thumb pages the rows down
    ClickAt((br.left + br.right) / 2, br.bottom - 22);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(view, LVM_GETTOPINDEX, 0, 0) > 0; }, 3000));
    Shot(main, L"lists-accounts");

    ClickTab(1);
    HWND sob = app_->Ctl(L"ListView_Sob");
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(sob) != FALSE && ListCount(sob) == 1; }, 5000));
    {
        // One reminder fits: no vertical bar, and the list keeps its box's whole width.
        RECT sr{}, hr{};
        GetWindowRect(sob, &sr);
        GetWindowRect(app_->Ctl(L"ScrollBar_SobH"), &hr);
        EXPECT_FALSE(IsWindowVisible(app_->Ctl(L"ScrollBar_SobV")));
        EXPECT_EQ(sr.right, hr.right);
    }
    RECT item{};
    item.left = LVIR_BOUNDS;
    {
        TRemoteBuffer buf(sob, sizeof(RECT));
        buf.Write(&item, sizeof item);
        SendMessageW(sob, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(buf.Address()));
        buf.Read(&item, sizeof item);
    }
    ASSERT_GT(item.bottom, item.top);
    EXPECT_TRUE(WaitUntil(
        [&] {
            int w = 0, h = 0;
            const std::vector<std::uint32_t> px = ScreenPixels(sob, w, h);
            const int y = static_cast<int>(item.top + item.bottom) / 2;
            const int x = std::min(static_cast<int>(item.right), w) - 4;
            return y < h && x > 0 && (px[static_cast<size_t>(y) * w + x] & 0xFFFFFF) == 0x97FFAD;
        },
        5000))
        << "the row of a reminder due within the hour is 11403159";
    Shot(main, L"lists-reminders");
}

// The six number fields are skinned spin edits; the port starts at 993 and a text past a field's maximum shows the
// maximum at once.
// The domain box is a skinned editable combo box holding the server list's domains; its list opens without taking
// the activation. A pick from it fills host and port; Esc closes it and keeps a host typed by hand.
TEST_F(MainWindowSharedTest, DomainBoxPickFillsHostAndPortAndEscKeepsATypedHost) {
    HWND combo = app_->Ctl(L"Combo_PNDomain");
    ASSERT_NE(combo, nullptr);
    wchar_t cls[64] = {};
    GetClassNameW(combo, cls, 64);
    EXPECT_STREQ(cls, L"TbsSkinComboBox");
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 1);
    auto popup = [&]() -> HWND {
        for (HWND wnd : app_->TopWindows()) {
            wchar_t c[64] = {};
            GetClassNameW(wnd, c, 64);
            if (std::wstring(c) == L"TbsPopupListBox" && IsWindowVisible(wnd))
                return wnd;
        }
        return nullptr;
    };
    auto open = [&] {
        RECT r{};
        GetWindowRect(combo, &r);
        ClickAt(r.right - 8, (r.top + r.bottom) / 2);
        return WaitUntil([&] { return popup() != nullptr; }, 3000);
    };
    auto key = [](WORD vk) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = vk;
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
    };
    SetText(L"Edit_PNHostIMAP", L"typed.host");
    SetText(L"Spin_PNPortIMAP", L"143");
    ASSERT_TRUE(open());
    EXPECT_EQ(GetForegroundWindow(), main_) << "the list never takes the activation";
    Shot(main_, L"domain-open");
    key(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return popup() == nullptr; }, 3000));
    Sleep(200);
    EXPECT_EQ(app_->TextOf(L"Edit_PNHostIMAP"), L"typed.host");
    EXPECT_EQ(WindowText(app_->Ctl(L"Spin_PNPortIMAP")), L"143");
    ASSERT_TRUE(open());
    HWND list = popup();
    RECT lr{};
    GetWindowRect(FindWindowExW(list, nullptr, L"TbsListBox", nullptr), &lr);
    ClickAt(lr.left + 10, lr.top + 5);
    EXPECT_TRUE(WaitUntil([&] { return popup() == nullptr; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return app_->TextOf(L"Edit_PNHostIMAP") == L"imap.mail.test"; }, 3000));
    EXPECT_EQ(WindowText(app_->Ctl(L"Spin_PNPortIMAP")), L"993");
    EXPECT_EQ(WindowText(combo), L"mail.test");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(GetForegroundWindow(), main_);
    // Text set from outside reaches the box's editor.
    SetText(L"Combo_PNDomain", L"other.domain");
    EXPECT_EQ(WindowText(FindWindowExW(combo, nullptr, L"TbsCustomEdit", nullptr)), L"other.domain");
    SetText(L"Combo_PNDomain", L"");
    SetText(L"Edit_PNHostIMAP", L"");
}

// The language chooser drops its flags list without taking the activation; Esc closes it on the same language.
TEST_F(MainWindowSharedTest, LanguageChooserOpensWithoutTakingTheActivation) {
    HWND chooser = app_->Ctl(L"OfficeComboBox_lang");
    ASSERT_NE(chooser, nullptr);
    const LRESULT before = SendMessageW(chooser, CB_GETCURSEL, 0, 0);
    auto popup = [&]() -> HWND {
        for (HWND wnd : app_->TopWindows()) {
            wchar_t c[64] = {};
            GetClassNameW(wnd, c, 64);
            if (std::wstring(c) == L"TbsPopupOfficeListBox" && IsWindowVisible(wnd))
                return wnd;
        }
        return nullptr;
    };
    RECT r{};
    GetWindowRect(chooser, &r);
    ClickAt(r.right - 8, (r.top + r.bottom) / 2);
    ASSERT_TRUE(WaitUntil([&] { return popup() != nullptr; }, 3000));
    EXPECT_EQ(GetForegroundWindow(), main_);
    RECT pr{};
    GetWindowRect(popup(), &pr);
    EXPECT_EQ(pr.right, r.right) << "the list's right edge under the box's";
    EXPECT_GE(pr.bottom - pr.top, 3 * 22) << "three rows of 22 and the list's frame";
    EXPECT_LE(pr.bottom - pr.top, 3 * 22 + 40);
    Sleep(200);
    Shot(main_, L"lang-open");
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = VK_ESCAPE;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    EXPECT_TRUE(WaitUntil([&] { return popup() == nullptr; }, 3000));
    EXPECT_EQ(SendMessageW(chooser, CB_GETCURSEL, 0, 0), before);
}

TEST_F(MainWindowSharedTest, NumberFieldsAreSkinnedSpinEditsKeptInTheirRanges) {
    for (const TCtlSpec& spec : kMainFormLayout) {
        if (spec.Kind != TCtlKind::Spin)
            continue;
        HWND c = app_->Ctl(spec.Name);
        ASSERT_NE(c, nullptr) << Narrow(spec.Name);
        wchar_t cls[64] = {};
        GetClassNameW(c, cls, 64);
        EXPECT_STREQ(cls, L"TbsSkinSpinEdit") << Narrow(spec.Name);
    }
    HWND port = app_->Ctl(L"Spin_PNPortIMAP");
    EXPECT_EQ(WindowText(port), L"993");
    SetText(L"Spin_PNPortIMAP", L"123456");
    EXPECT_EQ(WindowText(port), L"99999");
    SetText(L"Spin_PNPortIMAP", L"993");
    EXPECT_EQ(WindowText(port), L"993");
}

// The pages lie on the skinned page control: it answers the skinned controls' query, holds the three tabs and no
// native scroller, and its tabs keep their pages' names from outside.
TEST_F(MainWindowSharedTest, PagesLieOnTheSkinnedPageControl) {
    HWND tabs = app_->Ctl(L"PageControl");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(SendMessageW(tabs, 0xB1C9, 0, 0), 12851);
    EXPECT_EQ(SendMessageW(app_->Ctl(L"TabSheet_Budilnik"), 0xB1C9, 0, 0), 12851);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(FindWindowExW(tabs, nullptr, L"msctls_updown32", nullptr), nullptr);
    ClickTab(1);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(app_->Ctl(L"TabSheet_Budilnik")) != FALSE; }, 3000));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    // The page just shown looks as it does after a full repaint: nothing of the hidden page stays on screen.
    RECT wr{};
    GetWindowRect(main_, &wr);
    const std::vector<std::uint32_t> switched = SettledGrab(wr);
    Shot(main_, L"pages-reminders");
    RedrawWindow(app_->Ctl(L"TabSheet_Budilnik"), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    const std::vector<std::uint32_t> repainted = SettledGrab(wr);
    EXPECT_TRUE(switched == repainted) << "the reminders page differs from its full repaint";
}

// The reminder's date field is a skinned date edit written and read through its date: with the user's short date
// "M/d/yyyy" (the test prefix's en-US locale) it shows day, month and year in the window's order; a double click
// fills today, a dated reminder picked in the list shows its date, and Apply stores that same day.
TEST_F(MainWindowSharedTest, TheReminderDateIsASkinnedDateEditThatKeepsItsDayThroughTheListAndApply) {
    wchar_t shortDate[80] = {}, sep[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, shortDate, 80);
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDATE, sep, 8);
    EXPECT_STREQ(shortDate, L"M/d/yyyy");
    const std::wstring s(1, sep[0] ? sep[0] : L'/');
    HWND date = app_->Ctl(L"Date_Sob");
    ASSERT_NE(date, nullptr);
    wchar_t cls[64] = {};
    GetClassNameW(date, cls, 64);
    EXPECT_STREQ(cls, L"TbsSkinDateEdit");

    SYSTEMTIME today{};
    GetLocalTime(&today);
    wchar_t want[32] = {};
    swprintf(want, 32, L"%02d%ls%02d%ls%04d", today.wDay, s.c_str(), today.wMonth, s.c_str(), today.wYear);
    PostMessageW(date, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 5));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(date) == want; }, 3000)) << "a double click fills today";

    // A dated reminder: no weekday marked (an earlier case may have left some).
    for (const wchar_t* day :
         {L"Check_Pn", L"Check_Vt", L"Check_Sr", L"Check_Cht", L"Check_Pt", L"Check_Sb", L"Check_Vs"})
        if (Checked(day))
            Click(day);
    SetText(L"Edit_Sob", L"Врач");
    SetText(L"Time_Sob", L"09:15");
    SetText(L"Date_Sob", L"05" + s + L"03" + s + L"2027");
    HWND view = app_->Ctl(L"ListView_Sob");
    const int before = ListCount(view);
    Click(L"Button_DobavSob");
    ASSERT_TRUE(WaitUntil([&] { return ListCount(view) == before + 1; }, 3000));
    SetText(L"Date_Sob", L"");
    EXPECT_EQ(WindowText(date).find_first_of(L"0123456789"), std::wstring::npos);
    // Pick the new reminder by a click on its row.
    int row = -1;
    for (int i = 0; i < ListCount(view); ++i)
        if (ListText(view, i, 1) == L"Врач")
            row = i;
    ASSERT_GE(row, 0);
    SetForegroundWindow(main_);
    ClickTab(1);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(view) != FALSE; }, 3000));
    RECT item{};
    item.left = LVIR_BOUNDS;
    {
        TRemoteBuffer buf(view, sizeof(RECT));
        buf.Write(&item, sizeof item);
        SendMessageW(view, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buf.Address()));
        buf.Read(&item, sizeof item);
    }
    POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(view, &p);
    ClickAt(p.x, p.y);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(date) == L"05" + s + L"03" + s + L"2027"; }, 3000))
        << "the picked reminder shows its date";
    // The push button drops the calendar down without taking the activation; Esc closes it, the date kept.
    RECT dr{};
    GetWindowRect(date, &dr);
    ClickAt(dr.right - 6, (dr.top + dr.bottom) / 2);
    HWND calendar = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (calendar = VisibleTopOfClass(L"TbsSkinPopupMonthCalendar")) != nullptr; },
                          3000));
    EXPECT_EQ(GetForegroundWindow(), main_);
    Sleep(300);
    Shot(main_, L"reminder-date-calendar");
    PostMessageW(date, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(WaitUntil([&] { return VisibleTopOfClass(L"TbsSkinPopupMonthCalendar") == nullptr; }, 3000));
    EXPECT_EQ(WindowText(date), L"05" + s + L"03" + s + L"2027");
    Click(L"Button_Prim");
    TSettings read;
    TNotifierLists lists;
    std::wstring id;
    int32_t stored = 0;
    ASSERT_TRUE(WaitSaved(read, lists, id, [&] {
        for (const auto& e : lists.Events)
            if (e->Name == L"Врач")
                stored = e->Date;
        return stored != 0;
    }));
    EXPECT_EQ(stored, static_cast<int32_t>(EncodeDate(2027, 3, 5)));
}

// The sound picker: the skinned sound dialog on the shell views, its controls found from outside. Cancel keeps the
// editor and the stored size; a sound in the program folder comes back bare, one elsewhere as a full path; the size
// the user gave the dialog is written with the settings.
TEST_F(MainWindowTest, SoundPickerReturnsBareOrFullNamesAndStoresTheDialogSize) {
    WriteSettings(TSettings{}, OneServer());
    app_->WriteFile(L"ding.wav", "RIFF");
    const std::wstring elsewhere = app_->Folder() + L"\\Звуки";
    CreateDirectoryW(elsewhere.c_str(), nullptr);
    app_->WriteFile(L"Звуки\\far.wav", "RIFF");
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    const std::wstring before = WindowText(app_->Ctl(L"Edit_FZvuk"));
    auto open = [&] {
        Click(L"Button_FZvuk");
        HWND dlg = nullptr;
        WaitUntil([&] { return (dlg = app_->VisibleTopByText(L"Открыть фаил звука")) != nullptr; }, 10000);
        return dlg;
    };
    auto closed = [&](HWND dlg) { return WaitUntil([&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); }, 5000); };
    auto setClient = [](HWND w, int cx, int cy) {
        RECT c{}, r{};
        GetClientRect(w, &c);
        GetWindowRect(w, &r);
        SetWindowPos(w, nullptr, 0, 0, (r.right - r.left) - c.right + cx, (r.bottom - r.top) - c.bottom + cy,
                     SWP_NOMOVE | SWP_NOZORDER);
    };
    auto type = [](HWND dlg, const std::wstring& text) {
        SendMessageW(TNotifierProcess::Child(dlg, L"FileNameEdit"), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(text.c_str()));
    };

    HWND dlg = open();
    ASSERT_NE(dlg, nullptr);
    for (const wchar_t* name :
         {L"ShellBox", L"FileListView", L"FileNameEdit", L"FilterComboBox", L"PlayButton", L"StopButton"})
        EXPECT_NE(TNotifierProcess::Child(dlg, name), nullptr) << Narrow(name);
    Shot(dlg, L"notifier-sound-dialog");
    setClient(dlg, 800, 500);
    PostClick(TNotifierProcess::Child(dlg, L"CancelButton"));
    ASSERT_TRUE(closed(dlg));
    EXPECT_EQ(WindowText(app_->Ctl(L"Edit_FZvuk")), before);

    // A typed name without extension finds ding.wav in the program folder.
    dlg = open();
    ASSERT_NE(dlg, nullptr);
    RECT c{};
    GetClientRect(dlg, &c);
    EXPECT_EQ(c.right, 630);  // the cancelled size was not kept
    EXPECT_EQ(c.bottom, 400);
    setClient(dlg, 800, 500);
    type(dlg, L"ding");
    PostClick(TNotifierProcess::Child(dlg, L"OpenButton"));
    ASSERT_TRUE(closed(dlg));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(app_->Ctl(L"Edit_FZvuk")) == L"ding.wav"; }, 3000))
        << Narrow(WindowText(app_->Ctl(L"Edit_FZvuk")));

    // Enter on a folder path moves there; a file there comes back with its full path.
    dlg = open();
    ASSERT_NE(dlg, nullptr);
    GetClientRect(dlg, &c);
    EXPECT_EQ(c.right, 800);
    EXPECT_EQ(c.bottom, 500);
    HWND edit = TNotifierProcess::Child(dlg, L"FileNameEdit");
    type(dlg, elsewhere);
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(edit, WM_CHAR, L'\r', 1);
    Sleep(500);
    type(dlg, L"far.wav");
    PostClick(TNotifierProcess::Child(dlg, L"OpenButton"));
    ASSERT_TRUE(closed(dlg));
    // The dialog gives the file's full path, ".." resolved.
    const std::wstring farFile = ExpandFileName(elsewhere + L"\\far.wav");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(app_->Ctl(L"Edit_FZvuk")) == farFile; }, 3000))
        << Narrow(WindowText(app_->Ctl(L"Edit_FZvuk")));

    Click(L"Button_Prim");
    TSettings read;
    TNotifierLists lists;
    std::wstring id;
    ASSERT_TRUE(WaitSaved(read, lists, id, [&] { return read.SoundDlgWidth == 800; }));
    EXPECT_EQ(read.SoundDlgHeight, 500);
    EXPECT_EQ(read.SoundDlgStyle, 2);  // the list style it opened with
    EXPECT_EQ(read.FZvuk, farFile);
}

// The language picker: the open dialog on the shell views shows the language files of the program folder; Cancel
// keeps the editor, a chosen file of the program folder comes back bare.
TEST_F(MainWindowTest, LanguagePickerListsLanguageFilesAndReturnsABareName) {
    WriteSettings(TSettings{}, OneServer());
    app_->WriteFile(L"Deutsch.lng", "x");
    app_->WriteFile(L"notes.txt", "x");
    HWND main = StartAndWaitMain();
    ASSERT_NE(main, nullptr);
    const std::wstring before = WindowText(app_->Ctl(L"Edit_lang"));
    auto open = [&] {
        Click(L"Button_lang");
        HWND dlg = nullptr;
        WaitUntil([&] { return (dlg = app_->VisibleTopByText(L"Открыть файл языка")) != nullptr; }, 10000);
        return dlg;
    };
    auto closed = [&](HWND dlg) { return WaitUntil([&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); }, 5000); };
    HWND dlg = open();
    ASSERT_NE(dlg, nullptr);
    HWND view = TNotifierProcess::Child(dlg, L"FileListView");
    ASSERT_NE(view, nullptr);
    std::vector<std::wstring> names;
    for (int i = 0; i < ListCount(view); ++i)
        names.push_back(ListText(view, i, 0));
    EXPECT_NE(std::find(names.begin(), names.end(), L"Deutsch.lng"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), L"notes.txt"), names.end());  // the filter's first entry
    PostClick(TNotifierProcess::Child(dlg, L"CancelButton"));
    ASSERT_TRUE(closed(dlg));
    EXPECT_EQ(WindowText(app_->Ctl(L"Edit_lang")), before);

    dlg = open();
    ASSERT_NE(dlg, nullptr);
    SendMessageW(TNotifierProcess::Child(dlg, L"FileNameEdit"), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"Deutsch"));
    PostClick(TNotifierProcess::Child(dlg, L"OpenButton"));
    ASSERT_TRUE(closed(dlg));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(app_->Ctl(L"Edit_lang")) == L"Deutsch.lng"; }, 3000))
        << Narrow(WindowText(app_->Ctl(L"Edit_lang")));
}

// Every window of the main window that carries a Name is of a skinned class (the class library names window
// classes after their classes), and every Name of the layout table resolves, windowed or windowless.
TEST_F(MainWindowSharedTest, EveryNamedWindowIsSkinnedAndEveryLayoutNameResolves) {
    std::vector<HWND> windows;
    EnumChildWindows(
        main_,
        [](HWND wnd, LPARAM out) {
            reinterpret_cast<std::vector<HWND>*>(out)->push_back(wnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    int named = 0;
    for (HWND wnd : windows) {
        const std::wstring name = TrelmName(wnd);
        if (name.empty())
            continue;
        ++named;
        wchar_t cls[64] = {};
        GetClassNameW(wnd, cls, 64);
        EXPECT_TRUE(std::wstring(cls).starts_with(L"Tbs")) << Narrow(name) << " is a " << Narrow(cls);
    }
    EXPECT_GE(named, 60);
    for (const TCtlSpec& spec : kMainFormLayout) {
        TWindowlessControl windowless;
        EXPECT_TRUE(app_->Ctl(spec.Name) || app_->Windowless(spec.Name, windowless)) << Narrow(spec.Name);
    }
}

// Contact sheets for a look by eye, written only when TRELM_SHOTS names a folder (TRELM_SHEET_SKINS="23,81" limits
// the skins): for the first skin of each design family and skins 23, 81 and 45, in each built-in language, one sheet
// of the start password dialog, the three pages (the products page wide, with the letter groups), the tray menu, a
// message box and the skin, language file and sound dialogs.
TEST_F(MainWindowTest, ContactSheetsOfEveryFamilyAndLanguage) {
    if (!std::getenv("TRELM_SHOTS"))
        GTEST_SKIP() << "TRELM_SHOTS names no folder";
    const std::pair<const wchar_t*, int> skins[] = {
        {L"aero", 0},   {L"metro", 1},   {L"office10", 2},   {L"office13", 3},   {L"luna", 4},        {L"classic", 5},
        {L"carbon", 6}, {L"elegant", 7}, {L"elegant23", 23}, {L"elegant81", 81}, {L"office10-45", 45}};
    const char* only = std::getenv("TRELM_SHEET_SKINS");
    auto wanted = [&](int skin) {
        if (!only || !*only)
            return true;
        const std::string list = std::string(",") + only + ",";
        return list.find("," + std::to_string(skin) + ",") != std::string::npos;
    };
    const wchar_t* languages[] = {L"ru", L"be", L"uk"};
    for (const auto& [family, skin] : skins) {
        if (!wanted(skin))
            continue;
        for (int lang = 0; lang < 3; ++lang) {
            const std::wstring sheet = std::wstring(L"sheet-") + family + L"-" + languages[lang];
            SCOPED_TRACE(Narrow(sheet));
            std::vector<TSheetTile> tiles;
            app_ = std::make_unique<TNotifierProcess>(sheet);
            app_->WriteFile(L"yazik.txt", std::string(1, static_cast<char>(lang)) + std::string(3, '\0'));
            TSettings s;
            s.SkinIndex = static_cast<uint8_t>(skin);
            s.LangIndex = static_cast<uint8_t>(lang);
            WriteLockedSettings(s);
            ASSERT_TRUE(app_->Start());
            HWND dialog = nullptr;
            ASSERT_TRUE(WaitUntil(
                [&] {
                    const std::vector<HWND> tops = OtherVisibleTops();
                    dialog = tops.empty() ? nullptr : tops.front();
                    return dialog && TNotifierProcess::Child(dialog, L"PasswordEdit");
                },
                kStart));
            Sleep(600);
            tiles.push_back(SheetTile(dialog, L"start password"));
            SendMessageW(TNotifierProcess::Child(dialog, L"PasswordEdit"), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(L"secret"));
            PostClick(TNotifierProcess::Child(dialog, L"OKButton"));
            HWND main = nullptr;
            ASSERT_TRUE(WaitUntil([&] { return (main = app_->MainWindow()) && IsWindowVisible(main); }, kStart));
            SetForegroundWindow(main);
            AddAccount(L"ivan", L"secret");
            const wchar_t* pages[] = {L"TabSheet_NOsn", L"TabSheet_Budilnik", L"TabSheet_NNP"};
            for (int p = 0; p < 3; ++p) {
                ClickTab(p);
                HWND page = app_->Ctl(pages[p]);
                WaitUntil([&] { return IsWindowVisible(page) != FALSE; }, 5000);
                if (p == 2)
                    WaitStableRect(main, 500, 5000);
                int w = 0, h = 0;
                SettledPixels(main, w, h);
                tiles.push_back(SheetTile(main, L"page " + std::to_wstring(p)));
            }
            ClickTab(0);
            WaitStableRect(main, 500, 5000);
            SetCursorPos(300, 280);
            PostMessageW(app_->TrayWindow(), 0x800, 1, WM_RBUTTONDOWN);
            HWND level = nullptr;
            if (WaitUntil([&] { return (level = MenuLevel()) != nullptr; }, 5000)) {
                Sleep(800);  // the level fades in
                tiles.push_back(SheetTile(level, L"tray menu"));
                PostMessageW(level, WM_KEYDOWN, VK_ESCAPE, 0);
                WaitUntil([&] { return MenuLevel() == nullptr; }, 3000);
            }
            SetCursorPos(5, 5);
            const std::pair<const wchar_t*, const wchar_t*> openers[] = {{L"Button_Dobav", L"message box"},
                                                                         {L"Button_Skin", L"skin dialog"},
                                                                         {L"Button_lang", L"language file"},
                                                                         {L"Button_FZvuk", L"sound file"}};
            for (const auto& [button, label] : openers) {
                SetForegroundWindow(main);
                HWND opened = OpenedBy(button);
                EXPECT_NE(opened, nullptr) << Narrow(label);
                if (!opened)
                    continue;
                Sleep(800);
                int w = 0, h = 0;
                SettledPixels(opened, w, h);
                tiles.push_back(SheetTile(opened, label));
                PostMessageW(opened, WM_CLOSE, 0, 0);
                WaitUntil([&] { return OtherVisibleTops().empty(); }, 5000);
            }
            ShotSheet(tiles, std::wstring(family) + L" (skin " + std::to_wstring(skin) + L"), " + languages[lang],
                      sheet);
            app_.reset();
        }
    }
}

// Every skinned window fades in and ends opaque: once shown, neither the main window nor a dialog stays layered.
TEST_F(MainWindowSharedTest, WindowsFadeInAndEndWithoutTheLayeredStyle) {
    auto layered = [](HWND wnd) { return (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };
    EXPECT_TRUE(WaitUntil([&] { return !layered(main_); }, 3000));
    const std::vector<HWND> before = OtherVisibleTops();
    Click(L"Button_Skin");
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND wnd : app_->TopWindows())
                if (wnd != main_ && TNotifierProcess::Child(wnd, L"SkinList") &&
                    std::find(before.begin(), before.end(), wnd) == before.end())
                    dialog = wnd;
            return dialog && IsWindowVisible(dialog) && !layered(dialog);
        },
        10000));
    EXPECT_FALSE(layered(dialog));
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 5000));
}
