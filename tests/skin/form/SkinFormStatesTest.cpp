// The skinned form's window states and showing on real windows under Wine: maximise to the work area, the parked
// caption-only minimised frame, roll-up, minimising to the tray icon and back, the system menu following the state,
// the container's notices (resource strings, skinnable frame, layered borders, aero blur), the fade-in read back
// from the window, first-show centring, snapping and maximise / restore by dragging with real mouse input, and the
// inactive cover of the client area.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "SkinTestPaths.h"
#include "TrayTestUtil.h"
#include "WindowTestUtil.h"
#include "classlib/Menus.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/LayerBorder.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinFormPanels.h"
#include "skin/form/SkinPopupMenu.h"
#include "skin/form/TrayIcon.h"

namespace {

using skintest::FixtureFolder;
using skintest::SetSkin;

std::wstring FixtureSkin() {
    return FixtureFolder() + L"\\skin.ini";
}

RECT RectOf(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

TRect WorkArea() {
    RECT w{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &w, 0);
    return TRect{w.left, w.top, w.right, w.bottom};
}

// A drag by real input from another thread: the system's move loop runs inside this thread's message handling
// until the button comes up, so the input cannot come from here.
void DragByInput(const std::vector<TPoint>& points) {
    std::atomic<bool> done{false};
    std::thread input([&] {
        auto send = [](DWORD flags) {
            INPUT in{};
            in.type = INPUT_MOUSE;
            in.mi.dwFlags = flags;
            SendInput(1, &in, sizeof(INPUT));
        };
        SetCursorPos(points.front().X, points.front().Y);
        send(MOUSEEVENTF_MOVE);
        Sleep(80);
        send(MOUSEEVENTF_LEFTDOWN);
        Sleep(150);
        for (std::size_t i = 1; i < points.size(); ++i) {
            SetCursorPos(points[i].X, points[i].Y);
            send(MOUSEEVENTF_MOVE);
            Sleep(120);
        }
        send(MOUSEEVENTF_LEFTUP);
        Sleep(80);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 10000);
    input.join();
    Pump(150);
}

std::vector<std::wstring> ItemNames(TMenuItem* root) {
    std::vector<std::wstring> names;
    for (int i = 0; i < root->Count(); ++i)
        names.push_back(root->Items(i)->Caption() == L"-" ? L"-" : root->Items(i)->Name());
    return names;
}

TMenuItem* ItemNamed(TMenuItem* root, const std::wstring& name) {
    for (int i = 0; i < root->Count(); ++i)
        if (root->Items(i)->Name() == name)
            return root->Items(i);
    return nullptr;
}

class SkinFormStatesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetCursorPos(5, 5);
        form_ = MakeForm(L"Skinned states", 120, 100);
        skinForm_ = GetSkinFormComponent(form_);
        data_ = new TbsSkinData(form_);
    }
    void TearDown() override {
        for (TForm* f : others_)
            delete f;
        delete form_;
        Pump(50);
    }
    TForm* MakeForm(const wchar_t* caption, int x, int y) {
        auto* f = new TForm(nullptr);
        f->SetFormStyle(fsStayOnTop);
        f->SetBorderStyle(bsSizeable);
        f->SetBounds(x, y, 320, 220);
        f->SetCaption(caption);
        auto* sf = new TbsSkinForm(f);
        sf->SetBorderIcons(TbsBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize,
                                          TbsBorderIcon::biMaximize, TbsBorderIcon::biRollUp});
        return f;
    }
    void Load(const std::wstring& ini) {
        data_->LoadFromFile(ini);
        ASSERT_FALSE(data_->Empty);
        skinForm_->SetSkinData(data_);
    }
    void ShowForm(TForm* f = nullptr) {
        f = f ? f : form_;
        f->Show();
        SetForegroundWindow(f->Handle());
        Pump(150);
    }
    HWND h() { return form_->Handle(); }
    TPoint ClientOrigin() {
        POINT p{0, 0};
        ClientToScreen(h(), &p);
        const RECT r = RectOf(h());
        return TPoint{p.x - r.left, p.y - r.top};
    }
    void DblClickCaption() {
        const RECT r = RectOf(h());
        SendMessageW(h(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(r.left + 40, r.top + 12));
        Pump(80);
    }

    TForm* form_ = nullptr;
    TbsSkinForm* skinForm_ = nullptr;
    TbsSkinData* data_ = nullptr;
    std::vector<TForm*> others_;
};

TEST_F(SkinFormStatesTest, MinimisedFormsParkAtTheBottomLeftAndComeBack) {
    Load(FixtureSkin());
    ShowForm();
    TForm* second = MakeForm(L"Second", 500, 120);
    others_.push_back(second);
    TbsSkinForm* sf2 = GetSkinFormComponent(second);
    sf2->SetSkinData(data_);
    ShowForm(second);
    const RECT before = RectOf(h());

    skinForm_->SetWindowState(wsMinimized);
    sf2->SetWindowState(wsMinimized);
    Pump(80);
    const TRect A = WorkArea();
    const int w = skinForm_->GetMinWidth(), hgt = skinForm_->GetMinHeight();
    // The caption bar alone: no client area left.
    EXPECT_EQ(hgt, data_->FPicture->Height() - data_->ClRect.Height());
    const RECT first = RectOf(h()), next = RectOf(second->Handle());
    EXPECT_EQ(first.left, A.Left);
    EXPECT_EQ(first.top, A.Bottom - hgt);
    EXPECT_EQ(first.right - first.left, w);
    EXPECT_EQ(first.bottom - first.top, hgt);
    EXPECT_EQ(next.left, A.Left + w);
    EXPECT_EQ(next.top, A.Bottom - hgt);
    // A normal window for the system, visible, with no sizing codes on its edge.
    EXPECT_FALSE(IsIconic(h()));
    EXPECT_TRUE(IsWindowVisible(h()));
    EXPECT_EQ(SendMessageW(h(), WM_NCHITTEST, 0, MAKELPARAM(first.left, first.top + hgt / 2)), 19);

    // A double click on its caption brings it back where it was.
    DblClickCaption();
    EXPECT_EQ(skinForm_->WindowState(), wsNormal);
    const RECT after = RectOf(h());
    EXPECT_TRUE(EqualRect(&after, &before));
    // The place of the first is free again: the next one parks there.
    TForm* third = MakeForm(L"Third", 300, 300);
    others_.push_back(third);
    GetSkinFormComponent(third)->SetSkinData(data_);
    ShowForm(third);
    GetSkinFormComponent(third)->SetWindowState(wsMinimized);
    EXPECT_EQ(RectOf(third->Handle()).left, A.Left);
}

TEST_F(SkinFormStatesTest, RollUpKeepsTheCaptionBarAndComesBack) {
    form_->SetBorderStyle(bsSingle);  // not sizeable: the caption double click rolls up
    Load(FixtureSkin());
    ShowForm();
    const RECT before = RectOf(h());
    DblClickCaption();
    EXPECT_TRUE(skinForm_->RollUpState());
    const RECT up = RectOf(h());
    EXPECT_EQ(up.bottom - up.top, skinForm_->GetMinHeight());
    EXPECT_EQ(up.bottom - up.top, data_->FPicture->Height() - data_->ClRect.Height());
    EXPECT_EQ(up.right - up.left, before.right - before.left);
    EXPECT_EQ(skinForm_->RealHeight(), before.bottom - before.top);
    RECT cr{};
    GetClientRect(h(), &cr);
    EXPECT_EQ(cr.bottom, 0);
    DblClickCaption();
    EXPECT_FALSE(skinForm_->RollUpState());
    const RECT down = RectOf(h());
    EXPECT_TRUE(EqualRect(&down, &before));

    // Without the roll-up icon nothing rolls up, from the double click or the property.
    skinForm_->SetBorderIcons(TbsBorderIcons{TbsBorderIcon::biSystemMenu});
    DblClickCaption();
    skinForm_->SetRollUpState(true);
    EXPECT_FALSE(skinForm_->RollUpState());
    const RECT still = RectOf(h());
    EXPECT_TRUE(EqualRect(&still, &before));
}

// A form that asks for a client size keeps it under every frame: a skin with another frame height and width, a full
// layered border drawn outside the window, and the built-in frame of no skin.
TEST_F(SkinFormStatesTest, AskedClientSizeSurvivesEverySkinChange) {
    form_->SetBorderStyle(bsSingle);
    // Asked before the window exists: the window is made with the skin's frame around that client.
    skinForm_->ClientWidth = 301;
    skinForm_->ClientHeight = 187;
    Load(FixtureSkin());
    ShowForm();
    RECT first{};
    GetClientRect(h(), &first);
    EXPECT_EQ(first.right, 301);
    EXPECT_EQ(first.bottom, 187);
    for (const std::wstring& ini : {SetSkin(L"81_Trelm_Blue"), SetSkin(L"31_Trelm_Teal"), SetSkin(L"80_Windows_8"),
                                    FixtureSkin(), std::wstring()}) {
        SCOPED_TRACE(std::string(ini.begin(), ini.end()));
        if (ini.empty()) {
            skinForm_->SetSkinData(nullptr);
        } else {
            data_->LoadFromFile(ini);
            ASSERT_FALSE(data_->Empty);
        }
        Pump(100);
        RECT cr{};
        GetClientRect(h(), &cr);
        EXPECT_EQ(cr.right, 301);
        EXPECT_EQ(cr.bottom, 187);
    }
}

TEST_F(SkinFormStatesTest, SystemMenuFollowsTheState) {
    Load(FixtureSkin());
    ShowForm();
    const RECT before = RectOf(h());
    struct Case {
        const char* name;
        std::function<void()> enter;
        std::vector<std::wstring> items;
    };
    const std::vector<Case> cases = {
        {"normal", [] {}, {L"SKF_MINITEM", L"SKF_MAXITEM", L"SKF_ROLLUP", L"-", L"SKF_CLOSE"}},
        {"maximised", [&] { skinForm_->SetWindowState(wsMaximized); },
         {L"SKF_MINITEM", L"SKF_RESTORE", L"SKF_ROLLUP", L"-", L"SKF_CLOSE"}},
        {"rolled up", [&] { skinForm_->SetRollUpState(true); },
         {L"SKF_MINITEM", L"SKF_MAXITEM", L"SKF_RESTORE", L"-", L"SKF_CLOSE"}},
        {"parked", [&] { skinForm_->SetWindowState(wsMinimized); },
         {L"SKF_MAXITEM", L"SKF_RESTORE", L"-", L"SKF_CLOSE"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.enter();
        Pump(50);
        TMenuItem* root = skinForm_->GetSystemMenu();
        EXPECT_EQ(ItemNames(root), c.items);
        // "Restore" always leads back to the normal state and place.
        if (TMenuItem* restore = ItemNamed(root, L"SKF_RESTORE"))
            restore->Click();
        Pump(50);
        EXPECT_EQ(skinForm_->WindowState(), wsNormal);
        EXPECT_FALSE(skinForm_->RollUpState());
        const RECT now = RectOf(h());
        EXPECT_TRUE(EqualRect(&now, &before));
    }
    // The items act: "Maximize" from the menu.
    ItemNamed(skinForm_->GetSystemMenu(), L"SKF_MAXITEM")->Click();
    EXPECT_EQ(skinForm_->WindowState(), wsMaximized);
    // A tray icon adds its item.
    skinForm_->SetBorderIcons(skinForm_->BorderIcons() + TbsBorderIcons{TbsBorderIcon::biMinimizeToTray});
    EXPECT_NE(ItemNamed(skinForm_->GetSystemMenu(), L"SKF_MINTOTRAY"), nullptr);
}

TEST_F(SkinFormStatesTest, MinimiseToTrayHidesTheFormAndTheIconBringsItBack) {
    Load(FixtureSkin());
    auto* tray = new TbsTrayIcon(form_);
    skinForm_->SetBorderIcons(skinForm_->BorderIcons() + TbsBorderIcons{TbsBorderIcon::biMinimizeToTray});
    skinForm_->SetTrayIcon(tray);
    EXPECT_FALSE(tray->IconVisible());
    EXPECT_EQ(tray->PopupMenu(), static_cast<TPopupMenu*>(skinForm_->SysTrayMenu()));
    // The tray menu: its two items and a separator, in the default texts.
    TMenuItem* trayItems = skinForm_->SysTrayMenu()->Items();
    ASSERT_EQ(trayItems->Count(), 3);
    EXPECT_EQ(trayItems->Items(0)->Caption(), L"&Restore");
    EXPECT_EQ(trayItems->Items(2)->Caption(), L"&Close");
    Application->SetMainForm(form_);
    ShowForm();
    const std::set<HWND> before = traytest::TrayIconWindows();

    ItemNamed(skinForm_->GetSystemMenu(), L"SKF_MINTOTRAY")->Click();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(h()); }));
    EXPECT_TRUE(tray->IconVisible());
    EXPECT_NE(traytest::NewTrayWindow(before), nullptr);
    EXPECT_EQ(skinForm_->WindowState(), wsNormal);

    // A double click on the icon (the shell's callback) brings the form back and hides the icon.
    SendMessageW(tray->WindowHandle(), WM_TRAYNOTIFY, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(h()) && form_->Tag() == 0; }));
    EXPECT_FALSE(tray->IconVisible());
    EXPECT_TRUE(PumpUntil([&] { return traytest::TrayIconWindows() == before; }));

    // Once more through the tray menu's "Restore".
    skinForm_->MinimizeToTray();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(h()); }));
    trayItems->Items(0)->Click();
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(h()); }));
    EXPECT_FALSE(tray->IconVisible());
    Application->SetMainForm(nullptr);
}

TEST_F(SkinFormStatesTest, ResourceStringNoticeRenamesTheButtonHints) {
    Load(FixtureSkin());
    ShowForm();
    EXPECT_EQ(skinForm_->ObjectHint(L"closebutton"), L"Close");
    EXPECT_EQ(skinForm_->ObjectHint(L"maxbutton", true), L"Restore");
    auto* strings = new TbsResourceStrData(form_);
    TStringList table;
    table.Add(L"CLOSEBUTTON_HINT=Закрыть");
    table.Add(L"RESTORE_HINT=Восстановить");
    strings->SetResStrs(&table);
    data_->SetResourceStrData(strings);  // sends 1274
    EXPECT_EQ(skinForm_->ObjectHint(L"closebutton"), L"Закрыть");
    EXPECT_EQ(skinForm_->ObjectHint(L"maxbutton", true), L"Восстановить");
}

TEST_F(SkinFormStatesTest, SkinnableFormNoticeSwitchesToTheNativeFrameAndBack) {
    Load(FixtureSkin());
    ShowForm();
    const TPoint skinned{data_->ClRect.Left, data_->ClRect.Top};
    EXPECT_EQ(ClientOrigin(), skinned);
    data_->SetSkinnableForm(false);  // sends 1294
    Pump(100);
    EXPECT_FALSE(skinForm_->SkinnableForm());
    EXPECT_EQ(SendMessageW(h(), WM_QUERYSKINNEDFRAME, 0, 0), IsVistaOS() ? 12852 : 12853);
    // The system's frame: its own insets, its caption buttons back, no region.
    const int border = GetSystemMetrics(SM_CXSIZEFRAME);
    EXPECT_EQ(ClientOrigin(), (TPoint{border, border + GetSystemMetrics(SM_CYCAPTION)}));
    EXPECT_NE(GetWindowLongPtrW(h(), GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_EQ(GetWindowRgn(h(), CreateRectRgn(0, 0, 0, 0)), ERROR);
    EXPECT_EQ(SendMessageW(h(), WM_NCHITTEST, 0, MAKELPARAM(RectOf(h()).left + 150, RectOf(h()).top + 100)),
              HTCLIENT);
    data_->SetSkinnableForm(true);
    Pump(100);
    EXPECT_TRUE(skinForm_->SkinnableForm());
    EXPECT_EQ(ClientOrigin(), skinned);
    EXPECT_EQ(GetWindowLongPtrW(h(), GWL_STYLE) & WS_SYSMENU, 0);
}

TEST_F(SkinFormStatesTest, SkinnableFormSwitchKeepsAMaximisedForm) {
    Load(FixtureSkin());
    ShowForm();
    skinForm_->SetWindowState(wsMaximized);
    data_->SetSkinnableForm(false);
    Pump(100);
    EXPECT_TRUE(IsZoomed(h()));
    EXPECT_TRUE(IsWindowVisible(h()));
    data_->SetSkinnableForm(true);
    Pump(100);
    EXPECT_EQ(skinForm_->WindowState(), wsMaximized);
    EXPECT_FALSE(IsZoomed(h()));
    EXPECT_TRUE(IsWindowVisible(h()));
}

TEST_F(SkinFormStatesTest, LayeredBorderNoticesHideAndShowTheBorder) {
    Load(SetSkin(L"23_Trelm_Graphite"));
    ShowForm();
    TbsFormLayerBorder* border = skinForm_->BorderLayer();
    ASSERT_TRUE(PumpUntil([&] { return border->Visible(); }));
    const RECT before = RectOf(h());
    data_->SetShowLayeredBorders(false);  // 1427
    Pump(80);
    EXPECT_FALSE(border->Visible());
    TbsFormLayerWindow* top = border->Window(bsflTop);
    EXPECT_TRUE(!top || !IsWindowVisible(top->Handle()));
    RECT now = RectOf(h());
    EXPECT_TRUE(EqualRect(&now, &before));
    data_->SetShowLayeredBorders(true);
    Pump(80);
    EXPECT_TRUE(border->Visible());
    ASSERT_NE(border->Window(bsflTop), nullptr);
    EXPECT_TRUE(IsWindowVisible(border->Window(bsflTop)->Handle()));
    now = RectOf(h());
    EXPECT_TRUE(EqualRect(&now, &before));
    data_->SetAeroBlurEnabled(false);  // 1428: shown again
    Pump(80);
    EXPECT_TRUE(border->Visible());
    // A maximised form shows no border that is not a full one, and gets it back with its normal size.
    skinForm_->SetWindowState(wsMaximized);
    Pump(80);
    EXPECT_FALSE(border->Visible());
    skinForm_->SetWindowState(wsNormal);
    Pump(80);
    EXPECT_TRUE(border->Visible());
}

TEST_F(SkinFormStatesTest, FadeInEndsAtTheAlphaOfTheForm) {
    Load(FixtureSkin());
    struct Case {
        const char* name;
        bool alphaBlend, animation, allWindows;
        int value;
        int endAlpha;  // -1: no longer layered
    };
    const Case cases[] = {
        {"fixed alpha", true, false, false, 150, 150},
        {"fade to the alpha", true, true, false, 200, 200},
        {"fade to opaque", false, true, false, 200, -1},
        {"every window, value 0", false, false, true, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form_->Hide();
        Pump(30);
        skinForm_->SetAlphaBlend(false);
        skinForm_->SetAlphaBlendValue(c.value);
        skinForm_->AlphaBlendAnimation = c.animation;
        data_->AnimationForAllWindows = c.allWindows;
        skinForm_->SetAlphaBlend(c.alphaBlend);
        // A clock that moves 6 ms per reading: every reading makes a step.
        int readings = 0;
        DWORD clock = 0;
        skinForm_->FadeClock.Now = [&] {
            ++readings;
            return clock += 6;
        };
        form_->Show();
        // Right after the show the form is still transparent; the timer brings the fade.
        BYTE alpha = 255;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(h(), nullptr, &alpha, &flags));
        EXPECT_EQ(alpha, 0);
        const bool ended = PumpUntil([&] {
            const bool layered = (GetWindowLongPtrW(h(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
            if (c.endAlpha < 0)
                return !layered;
            return layered && GetLayeredWindowAttributes(h(), nullptr, &alpha, &flags) && alpha == c.endAlpha;
        });
        EXPECT_TRUE(ended);
        if (c.animation || c.allWindows) {
            // 15 steps of target / 15 (and one more for the rest): the clock was read once per step.
            const int target = c.endAlpha < 0 ? 255 : c.endAlpha;
            const int steps = (target + target / 15 - 1) / (target / 15);
            EXPECT_EQ(readings, steps + 1);
        } else {
            EXPECT_EQ(readings, 0);
        }
        skinForm_->FadeClock = SystemFadeClock();
    }
    data_->AnimationForAllWindows = false;
}

TEST_F(SkinFormStatesTest, FirstShowCentresOnTheWorkAreaOnce) {
    Load(FixtureSkin());
    skinForm_->PositionInMonitor = bspDesktopCenter;
    ShowForm();
    const TRect A = WorkArea();
    RECT r = RectOf(h());
    EXPECT_EQ(r.left, A.Left + A.Width() / 2 - 320 / 2);
    EXPECT_EQ(r.top, A.Top + A.Height() / 2 - 220 / 2);
    form_->SetBounds(40, 50, 320, 220);
    form_->Hide();
    ShowForm();
    r = RectOf(h());
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 50);
}

TEST_F(SkinFormStatesTest, MagneticFormSnapsToTheWorkAreaEdgeWhenDragged) {
    Load(FixtureSkin());
    skinForm_->Magnetic = true;
    ShowForm();
    const TRect A = WorkArea();
    RECT r = RectOf(h());
    // Grab the caption and move so that the left edge comes 3 pixels short of the work area's edge.
    const TPoint grab{r.left + 60, r.top + 12};
    const int dx = A.Left + 3 - r.left;
    DragByInput({grab, {grab.X + dx / 2, grab.Y + 20}, {grab.X + dx, grab.Y + 40}});
    r = RectOf(h());
    EXPECT_EQ(r.left, A.Left);
    EXPECT_EQ(r.top, 100 + 40);
    // Far from every edge nothing snaps.
    const TPoint grab2{r.left + 60, r.top + 12};
    DragByInput({grab2, {grab2.X + 100, grab2.Y + 10}, {grab2.X + 200, grab2.Y + 20}});
    r = RectOf(h());
    EXPECT_EQ(r.left, A.Left + 200);
}

TEST_F(SkinFormStatesTest, DraggingToTheTopMaximisesAndDraggingDownRestores) {
    Load(FixtureSkin());
    ShowForm();
    const RECT before = RectOf(h());
    const TPoint grab{before.left + 60, before.top + 12};
    DragByInput({grab, {grab.X, grab.Y - 50}, {grab.X, 0}});
    EXPECT_EQ(skinForm_->WindowState(), wsMaximized);
    const TRect A = WorkArea();
    RECT r = RectOf(h());
    EXPECT_GE(r.right - r.left, A.Width() - 2);

    // Dragged down by its caption: the normal size again, centred under the cursor.
    const TPoint press{A.Left + 300, r.top + 12};
    DragByInput({press, {press.X, press.Y + 15}, {press.X, press.Y + 40}});
    EXPECT_EQ(skinForm_->WindowState(), wsNormal);
    r = RectOf(h());
    EXPECT_EQ(r.right - r.left, before.right - before.left);
    EXPECT_EQ(r.bottom - r.top, before.bottom - before.top);
    EXPECT_NEAR((r.left + r.right) / 2, press.X, 2);
}

TEST_F(SkinFormStatesTest, InactiveFormCoversItsClientArea) {
    Load(FixtureSkin());
    skinForm_->ClientInActiveEffect = true;
    ShowForm();
    EXPECT_EQ(skinForm_->InActivePanel(), nullptr);
    RECT cr{};
    GetClientRect(h(), &cr);
    // The snapshot of the plain background under the background at 170 of 255 is the background again.
    POINT centre{cr.right / 2, cr.bottom / 2};
    ClientToScreen(h(), &centre);
    const COLORREF bg = ScreenPixel(centre.x, centre.y);
    TForm* other = MakeForm(L"Other", 600, 400);
    others_.push_back(other);
    ShowForm(other);
    ASSERT_TRUE(PumpUntil([&] { return skinForm_->InActivePanel() != nullptr; }));
    TbsClientInActivePanel* panel = skinForm_->InActivePanel();
    ASSERT_TRUE(panel->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(panel->Handle()));
    RECT pr{};
    GetClientRect(panel->Handle(), &pr);
    EXPECT_EQ(pr.right, cr.right);
    EXPECT_EQ(pr.bottom, cr.bottom);
    EXPECT_EQ(panel->Buffer()->Width(), cr.right);
    Pump(50);
    EXPECT_EQ(ScreenPixel(centre.x, centre.y), bg);
    SetForegroundWindow(h());
    EXPECT_TRUE(PumpUntil([&] { return skinForm_->InActivePanel() == nullptr; }));
}

}  // namespace
