// The tray icon in Wine's notification area: the shell record, tip and balloon cuts, image indexes, and mouse
// messages posted to the icon's window in Wine's tray, which the shell hands back to the component's hidden
// window (click versus double click, the menu at the cursor, Enabled off); "TaskbarCreated" re-adding the icon;
// cycling; minimising the application into the tray and back.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "TrayTestUtil.h"
#include "WindowTestUtil.h"
#include "skin/form/TrayIcon.h"

namespace {

using traytest::NewTrayWindow;
using traytest::TrayIconWindows;

std::unique_ptr<TIcon> AppIcon() {
    auto icon = std::make_unique<TIcon>();
    icon->SetHandle(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
    return icon;
}

class TrayIconTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form_ = new TForm(nullptr);
        PlaceForm(form_, 100, 100, 200, 120);
        tray_ = new TbsTrayIcon(form_);
        tray_->SetIconVisible(false);
    }
    void TearDown() override {
        delete form_;  // frees the tray icon, which leaves the tray
    }
    // Shows the icon and returns its window in Wine's tray.
    HWND ShowInTray() {
        const std::set<HWND> before = TrayIconWindows();
        EXPECT_TRUE(tray_->ShowIcon());
        return NewTrayWindow(before);
    }
    TForm* form_ = nullptr;
    TbsTrayIcon* tray_ = nullptr;  // owned by form_
};

TEST_F(TrayIconTest, ShellRecord) {
    const NOTIFYICONDATAW& d = tray_->Data();
    EXPECT_EQ(d.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(d.uID, 1u);
    EXPECT_EQ(d.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(d.uCallbackMessage, 0x800u);
    EXPECT_TRUE(IsWindow(d.hWnd));
    EXPECT_FALSE(IsWindowVisible(d.hWnd));
    EXPECT_NE(tray_->Icon()->Handle(), nullptr);  // the application's icon when none is set
}

TEST_F(TrayIconTest, TipAndBalloonCuts) {
    ASSERT_TRUE(tray_->ShowIcon());
    tray_->SetHint(std::wstring(200, L'h'));
    EXPECT_EQ(std::wstring(tray_->Data().szTip), std::wstring(127, L'h'));
    tray_->SetShowHint(false);
    EXPECT_EQ(tray_->Data().szTip[0], L'\0');
    tray_->SetShowHint(true);
    tray_->SetHint(L"");
    EXPECT_EQ(tray_->Data().szTip[0], L'\0');
    tray_->SetHint(L"Непрочитанных сообщений 3");
    EXPECT_EQ(std::wstring(tray_->Data().szTip), L"Непрочитанных сообщений 3");
    // Readable from outside the process: the icon's window (class "TbsTrayIconWindow") carries the tip as its text.
    wchar_t text[128] = {};
    GetWindowTextW(tray_->WindowHandle(), text, 128);
    EXPECT_EQ(std::wstring(text), L"Непрочитанных сообщений 3");
    wchar_t className[64] = {};
    GetClassNameW(tray_->WindowHandle(), className, 64);
    EXPECT_EQ(std::wstring(className), L"TbsTrayIconWindow");

    tray_->ShowBalloonHint(std::wstring(100, L't'), std::wstring(300, L'b'), bsbitWarning);
    EXPECT_EQ(std::wstring(tray_->Data().szInfo), std::wstring(255, L'b'));
    EXPECT_EQ(std::wstring(tray_->Data().szInfoTitle), std::wstring(63, L't'));
    EXPECT_EQ(tray_->Data().dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
    EXPECT_EQ(tray_->Data().uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
}

TEST_F(TrayIconTest, IconIndexFromTheList) {
    auto* list = new TImageList(form_);
    list->SetSize(16, 16);
    std::unique_ptr<TIcon> icon = AppIcon();
    tray_->SetIconList(list);  // empty: counts as no list
    tray_->SetIconIndex(5);
    EXPECT_EQ(tray_->IconIndex(), 0);
    for (int i = 0; i < 13; ++i)
        list->AddIcon(icon.get());
    tray_->SetIconIndex(20);
    EXPECT_EQ(tray_->IconIndex(), 12);
    tray_->SetIconIndex(3);
    EXPECT_EQ(tray_->IconIndex(), 3);
    delete list;  // forgotten through the free notification
    EXPECT_EQ(tray_->IconList(), nullptr);
    tray_->SetIconIndex(7);
    EXPECT_EQ(tray_->IconIndex(), 0);
}

// The colour at the middle of an icon's picture.
COLORREF IconMiddle(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return CLR_INVALID;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = 16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(16 * 16);
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, info.hbmColor, 0, 16, pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    if (rows != 16)
        return CLR_INVALID;
    const DWORD p = pixels[8 * 16 + 8];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::unique_ptr<TBitmap> Solid(COLORREF colour) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(16, 16);
    bitmap->Canvas()->Brush()->SetColor(static_cast<TColor>(colour));
    bitmap->Canvas()->FillRect(TRect{0, 0, 16, 16});
    return bitmap;
}

// Blinking swaps ready icons: each image of the list becomes an icon once, and a change of the list is seen.
TEST_F(TrayIconTest, ListImagesBecomeIconsOnceUntilTheListChanges) {
    auto* list = new TImageList(form_, 16, 16);
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255), yellow = RGB(255, 255, 0);
    for (COLORREF c : {red, green, blue})
        list->Add(Solid(c).get(), nullptr);
    tray_->SetIconList(list);
    ASSERT_TRUE(tray_->ShowIcon());
    tray_->SetIconIndex(1);
    const HICON first = tray_->Data().hIcon;
    EXPECT_EQ(first, tray_->Icon()->Handle());
    EXPECT_EQ(IconMiddle(first), green);
    tray_->SetIconIndex(2);
    const HICON second = tray_->Data().hIcon;
    EXPECT_NE(second, first);
    EXPECT_EQ(IconMiddle(second), blue);
    for (int tick = 0; tick < 4; ++tick) {
        tray_->SetIconIndex(1);
        EXPECT_EQ(tray_->Data().hIcon, first);
        tray_->SetIconIndex(2);
        EXPECT_EQ(tray_->Data().hIcon, second);
    }
    // A replaced image shows its new picture; the icon on show stays whole until another is chosen.
    list->Replace(1, Solid(yellow).get(), nullptr);
    EXPECT_EQ(IconMiddle(tray_->Data().hIcon), blue);
    tray_->SetIconIndex(1);
    EXPECT_EQ(IconMiddle(tray_->Data().hIcon), yellow);
    // The list going first leaves the shown icon in place.
    delete list;
    EXPECT_EQ(IconMiddle(tray_->Icon()->Handle()), yellow);
    EXPECT_TRUE(tray_->ModifyIcon());
    EXPECT_EQ(IconMiddle(tray_->Data().hIcon), yellow);
}

// Images of another size reach the shell at the notification area's size, still showing their picture.
TEST_F(TrayIconTest, ListImagesOfAnotherSizeBecomeIconsOfTheNotificationAreasSize) {
    auto* list = new TImageList(form_, 64, 64);
    for (COLORREF c : {RGB(255, 0, 0), RGB(0, 0, 255)}) {
        TBitmap big;
        big.SetSize(64, 64);
        big.Canvas()->Brush()->SetColor(static_cast<TColor>(c));
        big.Canvas()->FillRect(TRect{0, 0, 64, 64});
        list->Add(&big, nullptr);
    }
    tray_->SetIconList(list);
    ASSERT_TRUE(tray_->ShowIcon());
    for (int index : {1, 0}) {
        tray_->SetIconIndex(index);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(tray_->Data().hIcon, &info));
        BITMAP bm{};
        GetObjectW(info.hbmColor, sizeof bm, &bm);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXSMICON));
        EXPECT_EQ(bm.bmHeight, GetSystemMetrics(SM_CYSMICON));
        EXPECT_EQ(IconMiddle(tray_->Data().hIcon), index == 1 ? RGB(0, 0, 255) : RGB(255, 0, 0));
    }
    delete list;
}

TEST_F(TrayIconTest, CyclingReportsTheNextIndex) {
    auto* list = new TImageList(form_);
    list->SetSize(16, 16);
    std::unique_ptr<TIcon> icon = AppIcon();
    for (int i = 0; i < 3; ++i)
        list->AddIcon(icon.get());
    tray_->SetIconList(list);
    std::vector<int> next;
    tray_->OnCycle = [&](TObject*, int n) { next.push_back(n); };
    tray_->SetAnimateTimerInterval(30);
    tray_->SetCycleIcons(true);
    ASSERT_TRUE(PumpUntil([&] { return next.size() >= 4; }));
    tray_->SetCycleIcons(false);
    EXPECT_EQ(std::vector<int>(next.begin(), next.begin() + 4), (std::vector<int>{1, 2, 0, 1}));
}

TEST_F(TrayIconTest, MouseOnTheTrayIcon) {
    HWND icon = ShowInTray();
    ASSERT_NE(icon, nullptr);
    int clicks = 0, dblClicks = 0;
    std::vector<TMouseButton> downs, ups;
    tray_->OnClick = [&](TObject*) { ++clicks; };
    tray_->OnDblClick = [&](TObject*) { ++dblClicks; };
    tray_->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int, int) { downs.push_back(b); };
    tray_->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int, int) { ups.push_back(b); };
    const UINT dbl = GetDoubleClickTime();

    // A single click: Click once, one double-click time after the press, not before.
    PostMessageW(icon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 8));
    PostMessageW(icon, WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
    // The shell's icon window hands our window the mouse: generous waits for a loaded machine.
    ASSERT_TRUE(PumpUntil([&] { return ups.size() == 1; }, 10000));
    EXPECT_EQ(clicks, 0);
    ASSERT_TRUE(PumpUntil([&] { return clicks == 1; }, dbl + 2000));
    Pump(dbl + 100);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, std::vector<TMouseButton>{mbLeft});

    // A double click: DblClick only.
    PostMessageW(icon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 8));
    PostMessageW(icon, WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
    PostMessageW(icon, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 8));
    PostMessageW(icon, WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
    ASSERT_TRUE(PumpUntil([&] { return dblClicks == 1; }, 10000));
    Pump(dbl + 300);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(dblClicks, 1);

    // Held longer than the double-click time: Click on release.
    PostMessageW(icon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 8));
    Pump(dbl + 300);
    EXPECT_EQ(clicks, 1);
    PostMessageW(icon, WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
    ASSERT_TRUE(PumpUntil([&] { return clicks == 2; }, 1000));

    // Moves and the middle button come through as well.
    int moves = 0;
    tray_->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++moves; };
    PostMessageW(icon, WM_MOUSEMOVE, 0, MAKELPARAM(9, 9));
    PostMessageW(icon, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(9, 9));
    PostMessageW(icon, WM_MBUTTONUP, 0, MAKELPARAM(9, 9));
    ASSERT_TRUE(PumpUntil([&] { return ups.size() == 5; }, 10000));
    EXPECT_GE(moves, 1);
    EXPECT_EQ(downs.back(), mbMiddle);
    EXPECT_EQ(clicks, 2);

    // Enabled off: nothing at all.
    tray_->SetEnabled(false);
    const size_t downsBefore = downs.size();
    PostMessageW(icon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 8));
    PostMessageW(icon, WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
    PostMessageW(icon, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 8));
    Pump(dbl + 300);
    EXPECT_EQ(downs.size(), downsBefore);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(dblClicks, 1);
}

TEST_F(TrayIconTest, RightButtonPopsTheMenuAtTheCursor) {
    auto* menu = new TPopupMenu(form_);
    auto* open = new TMenuItem(menu);
    open->SetCaption(L"Открыть");
    menu->Items()->Add(open);
    auto* check = new TMenuItem(menu);
    check->SetCaption(L"Проверить");
    check->SetDefault(true);
    menu->Items()->Add(check);
    int popups = 0, checks = 0;
    // The menu is a real, modal one: an Esc queued as it opens closes it again.
    menu->OnPopup = [&](TObject*) {
        ++popups;
        PostMessageW(form_->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(form_->Handle(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
    };
    check->OnClick = [&](TObject*) { ++checks; };
    tray_->SetPopupMenu(menu);
    HWND icon = ShowInTray();
    ASSERT_NE(icon, nullptr);
    // Under Wine a warp still on its way from an earlier test can land after ours: settle, then place the cursor.
    Pump(100);
    SetCursorPos(300, 200);
    ASSERT_TRUE(PumpUntil([] {
        POINT p{};
        GetCursorPos(&p);
        return p.x == 300 && p.y == 200;
    }));
    Pump(100);
    std::vector<TMouseButton> events;
    tray_->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int, int) { events.push_back(b); };
    tray_->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int, int) { events.push_back(b); };

    PostMessageW(icon, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(8, 8));
    PostMessageW(icon, WM_RBUTTONUP, 0, MAKELPARAM(8, 8));
    ASSERT_TRUE(PumpUntil([&] { return events.size() == 2; }));
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupComponent(), tray_);
    EXPECT_EQ(menu->PopupPoint().X, 300);
    EXPECT_EQ(menu->PopupPoint().Y, 200);

    // A double click runs the menu's default item as well.
    PostMessageW(icon, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 8));
    ASSERT_TRUE(PumpUntil([&] { return checks == 1; }));

    // Gone menus are forgotten.
    delete menu;
    EXPECT_EQ(tray_->PopupMenu(), nullptr);
}

TEST_F(TrayIconTest, BalloonClickAndShutdownMessages) {
    int balloonClicks = 0;
    tray_->OnBalloonHintClick = [&](TObject* sender) {
        EXPECT_EQ(sender, tray_);
        ++balloonClicks;
    };
    HWND hidden = tray_->WindowHandle();
    SendMessageW(hidden, WM_TRAYNOTIFY, 1, NIN_BALLOONUSERCLICK);
    EXPECT_EQ(balloonClicks, 1);
    // The hidden window never holds up the end of a session, and a close does not destroy it.
    EXPECT_EQ(SendMessageW(hidden, WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_EQ(SendMessageW(hidden, WM_CLOSE, 0, 0), 1);
    EXPECT_TRUE(IsWindow(hidden));
}

TEST_F(TrayIconTest, TaskbarCreatedReAddsAVisibleIcon) {
    HWND icon = ShowInTray();
    ASSERT_NE(icon, nullptr);
    // The taskbar restarting loses every icon; here we take ours out behind the component's back.
    NOTIFYICONDATAW d = tray_->Data();
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &d));
    ASSERT_TRUE(PumpUntil([&] { return TrayIconWindows().count(icon) == 0; }));
    const std::set<HWND> before = TrayIconWindows();
    SendMessageW(Application->Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    HWND again = NewTrayWindow(before);
    ASSERT_NE(again, nullptr);

    // A hidden icon stays hidden.
    ASSERT_TRUE(tray_->HideIcon());
    ASSERT_TRUE(PumpUntil([&] { return TrayIconWindows().count(again) == 0; }));
    const std::set<HWND> hidden = TrayIconWindows();
    SendMessageW(Application->Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    Pump(300);
    EXPECT_EQ(TrayIconWindows(), hidden);
}

// A main form built like a stored one with its tray icon set to start in the tray.
class TrayStartForm : public TForm {
  public:
    TrayStartForm() : TForm(nullptr) {
        BeginLoading();
        PlaceForm(this, 120, 120, 200, 100);
        Tray = new TbsTrayIcon(this);
        Tray->SetIconVisible(false);
        Tray->SetMinimizedOnStart(true);
        EndLoading();
    }
    TbsTrayIcon* Tray;  // owned by the form
};

TEST(TrayIconStart, MinimizedOnStartShowsOnlyTheIcon) {
    const std::set<HWND> before = TrayIconWindows();
    auto form = std::make_unique<TrayStartForm>();
    EXPECT_TRUE(form->Tray->IconVisible());
    EXPECT_TRUE(form->Tray->MinimizeToTray());
    EXPECT_FALSE(Application->ShowMainForm());
    EXPECT_NE(NewTrayWindow(before), nullptr);
    EXPECT_FALSE(form->HandleAllocated() && IsWindowVisible(form->Handle()));
    Application->SetShowMainForm(true);
}

TEST_F(TrayIconTest, MinimiseToTrayAndBack) {
    Application->SetMainForm(form_);
    form_->Show();
    ASSERT_TRUE(IsWindowVisible(form_->Handle()));
    const std::set<HWND> before = TrayIconWindows();
    Application->Minimize();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(form_->Handle()); }));
    EXPECT_EQ(form_->Tag(), kTrayFormTag);
    EXPECT_TRUE(tray_->IconVisible());
    EXPECT_NE(NewTrayWindow(before), nullptr);

    bool posted = false;
    TWndMethod saved = form_->WindowProc;
    form_->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_TRAYSHOWMAINFORM)
            posted = true;
        saved(m);
    };
    tray_->ShowMainForm();
    ASSERT_TRUE(PumpUntil([&] { return posted; }));
    form_->WindowProc = saved;
    EXPECT_TRUE(IsWindowVisible(form_->Handle()));
    EXPECT_FALSE(IsIconic(form_->Handle()));
    Application->SetMainForm(nullptr);
}

}  // namespace
