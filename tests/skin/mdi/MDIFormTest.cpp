// A skinned MDI main form with real MDI children under Wine: the children's states together, the skinned scroll
// bars, tiling and cascading, the window menu and the tab bar driven with the real mouse. One main form for the
// whole program (it is the application's main form); each test makes and frees its own children.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "SkinTestPaths.h"
#include "WindowTestUtil.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/core/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"
#include "skin/mdi/SkinMDITabsBar.h"
#include "skin/menubar/MainMenuBar.h"

namespace {

void Mouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof(INPUT));
}

// A point of a control's client area on the screen.
POINT OnScreen(TWinControl* c, int x, int y) {
    POINT p{x, y};
    ClientToScreen(c->Handle(), &p);
    return p;
}

// Puts the cursor on tab Index of Bar, DX pixels into it; its screen point.
POINT OnTab(TbsSkinMDITabsBar* Bar, int Index, int DX) {
    Bar->CalcObjectRects();
    const TRect r = Bar->Tabs(Index)->ObjectRect;
    const POINT p = OnScreen(Bar, r.Left + DX, r.Top + r.Height() / 2);
    SetCursorPos(p.x, p.y);
    Pump(30);
    return p;
}

std::wstring ClassOf(HWND w) {
    wchar_t buf[64] = {};
    GetClassNameW(w, buf, 64);
    return buf;
}

class MDIForms : public ::testing::Test {
  protected:
    static inline TForm* main_ = nullptr;
    static inline TbsSkinForm* skin_ = nullptr;
    static inline TbsSkinMDITabsBar* bar_ = nullptr;
    static inline TMenuItem* window_ = nullptr;
    static inline TbsSkinData* data_ = nullptr;

    static void SetUpTestSuite() {
        SetCursorPos(5, 5);
        main_ = new TForm(nullptr);
        Application->SetMainForm(main_);
        main_->SetName(L"MDIHost");
        main_->SetFormStyle(fsMDIForm);
        main_->SetBorderStyle(bsSizeable);
        main_->SetBounds(10, 10, 840, 720);
        main_->SetCaption(L"MDI host");
        skin_ = new TbsSkinForm(main_);
        data_ = new TbsSkinData(main_);
        bar_ = new TbsSkinMDITabsBar(main_);
        bar_->SetName(L"TabsBar");
        bar_->SetAlign(alTop);
        bar_->SetParent(main_);
        bar_->SetSkinForm(skin_);
        skin_->SetMDITabsBar(bar_);
        window_ = new TMenuItem(main_);
        window_->SetCaption(L"&Window");
        main_->SetWindowMenu(window_);
        main_->Show();
        SetForegroundWindow(main_->Handle());
        Pump(150);
        // The work area made exactly 800 x 600.
        TRect A;
        skin_->GetMDIWorkArea(A);
        main_->SetBounds(10, 10, main_->Width() + 800 - A.Width(), main_->Height() + 600 - A.Height());
        Pump(100);
    }
    static void TearDownTestSuite() {
        delete main_;
        main_ = nullptr;
        Pump(50);
    }

    void TearDown() override {
        for (auto& c : children_)
            if ((*c.alive)())
                delete c.form;
        children_.clear();
        skin_->SetSkinData(nullptr);
        bar_->SetSkinData(nullptr);
        skin_->TileMode = tbHorizontal;
        bar_->SetShowCloseButtons(false);
        bar_->SetMinTabWidth(0);
        bar_->SetAlign(alTop);
        Pump(50);
    }

    TForm* NewChild(const std::wstring& name, int x = 10, int y = 10, int w = 240, int h = 160) {
        auto* f = new TForm(nullptr);
        f->SetName(name);
        f->SetFormStyle(fsMDIChild);
        f->SetBorderStyle(bsSizeable);
        f->SetBounds(x, y, w, h);
        f->SetCaption(name);
        new TbsSkinForm(f);
        f->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
        children_.push_back({f, std::make_unique<Alive>(f)});
        f->Show();
        Pump(30);
        return f;
    }
    static TbsSkinForm* Skin(TForm* f) { return GetSkinFormComponent(f); }
    bool Alive_(TForm* f) {
        for (auto& c : children_)
            if (c.form == f)
                return (*c.alive)();
        return false;
    }
    static bool Visible(TWinControl* c) { return c && c->HandleAllocated() && IsWindowVisible(c->Handle()); }
    static int ChildItems() {
        int n = 0;
        for (int i = 0; i < window_->Count(); ++i)
            if (window_->Items(i)->Name().find(L"_SKFCHILDITEM") != std::wstring::npos)
                ++n;
        return n;
    }

    struct Child {
        TForm* form;
        std::unique_ptr<Alive> alive;
    };
    std::vector<Child> children_;
};

TEST_F(MDIForms, ChildrenLiveInTheClientWindow) {
    TForm* a = NewChild(L"ChildA");
    TForm* b = NewChild(L"ChildB");
    TForm* c = NewChild(L"ChildC");
    int clients = 0;
    HWND client = nullptr;
    for (HWND w = GetWindow(main_->Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (_wcsicmp(ClassOf(w).c_str(), L"MDICLIENT") == 0) {
            ++clients;
            client = w;
        }
    ASSERT_EQ(clients, 1);
    EXPECT_EQ(client, main_->ClientHandle());
    int inside = 0;
    for (HWND w = GetWindow(client, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == a->Handle() || w == b->Handle() || w == c->Handle())
            ++inside;
    EXPECT_EQ(inside, 3);
    EXPECT_TRUE(GetWindowLongPtrW(a->Handle(), GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(GetWindowLongPtrW(a->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(main_->MDIChildCount(), 3);
    EXPECT_EQ(main_->ActiveMDIChild(), c);
    main_->Next();
    Pump(30);
    EXPECT_NE(main_->ActiveMDIChild(), c);
    // The client window has no frame and lies below the tab bar.
    RECT cr{}, wr{};
    GetClientRect(client, &cr);
    GetWindowRect(client, &wr);
    EXPECT_EQ(cr.right, wr.right - wr.left);
    EXPECT_EQ(cr.bottom, wr.bottom - wr.top);
    RECT br{};
    GetWindowRect(bar_->Handle(), &br);
    EXPECT_EQ(wr.top, br.bottom);
}

TEST_F(MDIForms, MaximisingOneMaximisesAllAndRestoringOneRestoresAll) {
    TForm* a = NewChild(L"MaxA", 10, 10);
    TForm* b = NewChild(L"MaxB", 60, 60);
    TForm* fixed = NewChild(L"MaxFixed", 110, 110);
    Skin(fixed)->SetBorderIcons(TbsBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize});
    EXPECT_EQ(SendMessageW(main_->Handle(), WM_MDIQUERYMAXIMIZED, 0, 0), 0);

    Skin(a)->SetWindowState(wsMaximized);
    Pump(50);
    EXPECT_EQ(Skin(a)->WindowState(), wsMaximized);
    EXPECT_EQ(Skin(b)->WindowState(), wsMaximized);
    EXPECT_EQ(Skin(fixed)->WindowState(), wsNormal);
    EXPECT_EQ(SendMessageW(main_->Handle(), WM_MDIQUERYMAXIMIZED, 0, 0), 1);
    EXPECT_TRUE(skin_->IsMDIChildMaximized());
    // A maximised child fills the work area without a frame; the asking child is the active one.
    EXPECT_EQ(a->BoundsRect(), (TRect{0, 0, 800, 600}));
    EXPECT_EQ(a->ClientWidth(), 800);
    EXPECT_EQ(main_->ActiveMDIChild(), a);
    EXPECT_EQ(skin_->FrameCaption(), L"MDI host - [MaxA]");
    EXPECT_EQ(GetMDIChildSkinFormComponent2(), Skin(a));
    EXPECT_NE(GetMDIChildSkinFormComponent(), nullptr);
    EXPECT_NE(GetMDIChildSkinFormComponent(), Skin(fixed));

    // A child shown now comes up maximised.
    TForm* late = NewChild(L"MaxLate", 30, 30);
    EXPECT_EQ(Skin(late)->WindowState(), wsMaximized);

    Skin(b)->SetWindowState(wsNormal);
    Pump(50);
    for (TForm* f : {a, b, late})
        EXPECT_EQ(Skin(f)->WindowState(), wsNormal) << f->Name();
    EXPECT_EQ(a->BoundsRect(), (TRect{10, 10, 250, 170}));
    EXPECT_EQ(SendMessageW(main_->Handle(), WM_MDIQUERYMAXIMIZED, 0, 0), 0);
    EXPECT_EQ(skin_->FrameCaption(), L"MDI host");
    EXPECT_EQ(GetMDIChildSkinFormComponent(), nullptr);
}

TEST_F(MDIForms, MinimisingOneRestoresTheOthersAndActivatesTheNext) {
    TForm* a = NewChild(L"MinA", 10, 10);
    TForm* b = NewChild(L"MinB", 60, 60);
    TForm* c = NewChild(L"MinC", 110, 110);
    Skin(c)->SetWindowState(wsMaximized);
    Pump(50);
    ASSERT_EQ(Skin(a)->WindowState(), wsMaximized);
    ASSERT_EQ(main_->ActiveMDIChild(), c);
    Skin(c)->SetWindowState(wsMinimized);
    Pump(50);
    EXPECT_EQ(Skin(c)->WindowState(), wsMinimized);
    EXPECT_EQ(Skin(a)->WindowState(), wsNormal);
    EXPECT_EQ(Skin(b)->WindowState(), wsNormal);
    EXPECT_NE(main_->ActiveMDIChild(), c);
    EXPECT_NE(main_->ActiveMDIChild(), nullptr);
    EXPECT_EQ(SendMessageW(main_->Handle(), WM_MDIQUERYMAXIMIZED, 0, 0), 0);
    // Parked along the bottom of the client window.
    EXPECT_EQ(c->Top() + c->Height(), 600);
}

TEST_F(MDIForms, ScrollBarsFollowChildrenOutsideTheWorkArea) {
    TForm* a = NewChild(L"ScrollA", 10, 10);
    IbsMDIScrollBar* h = skin_->MDIHScrollBar();
    IbsMDIScrollBar* v = skin_->MDIVScrollBar();
    ASSERT_NE(h, nullptr);
    ASSERT_NE(v, nullptr);
    EXPECT_FALSE(Visible(h->Control()));
    // Dragged partly out to the right with the mouse, by its caption. The system's move loop holds this thread:
    // another one moves the mouse.
    RECT wr{};
    GetWindowRect(a->Handle(), &wr);
    SetCursorPos(wr.left + 60, wr.top + 8);
    Pump(30);
    std::atomic<bool> done{false};
    std::thread mover([&] {
        Sleep(50);
        Mouse(MOUSEEVENTF_LEFTDOWN);
        for (int i = 1; i <= 10; ++i) {
            Sleep(40);
            SetCursorPos(wr.left + 60 + i * 70, wr.top + 8);
        }
        Sleep(40);
        Mouse(MOUSEEVENTF_LEFTUP);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 3000);
    mover.join();
    PumpUntil([&] { return a->Left() > 600; }, 1000);
    ASSERT_GT(a->Left() + a->Width(), 800) << "the drag did not move the child";
    EXPECT_TRUE(PumpUntil([&] { return Visible(h->Control()); }, 1000));
    EXPECT_FALSE(Visible(v->Control()));
    // The bar lies along the bottom of the work area, 17 high.
    RECT hb{}, client{};
    GetWindowRect(h->Control()->Handle(), &hb);
    GetWindowRect(main_->ClientHandle(), &client);
    EXPECT_EQ(hb.bottom, client.bottom);
    EXPECT_EQ(hb.bottom - hb.top, 17);
    EXPECT_EQ(h->Position(), 0);

    // Back inside: the bar goes.
    a->SetBounds(20, 20, a->Width(), a->Height());
    EXPECT_TRUE(PumpUntil([&] { return !Visible(h->Control()); }, 1000));

    // Out at the bottom and the right: both; none while a child is maximised.
    a->SetBounds(700, 550, a->Width(), a->Height());
    EXPECT_TRUE(PumpUntil([&] { return Visible(h->Control()) && Visible(v->Control()); }, 1000));
    Skin(a)->SetWindowState(wsMaximized);
    Pump(30);
    EXPECT_FALSE(Visible(h->Control()));
    EXPECT_FALSE(Visible(v->Control()));
    Skin(a)->SetWindowState(wsNormal);
    Pump(30);
    EXPECT_TRUE(Visible(h->Control()));

    // A step of the bar moves every child by 10.
    const int before = a->Left();
    h->OnUpButtonClick(nullptr);
    Pump(30);
    EXPECT_EQ(a->Left(), before - 10);
}

TEST_F(MDIForms, TileAndCascadeArrangeTheChildren) {
    std::vector<TForm*> f;
    for (int i = 0; i < 4; ++i)
        f.push_back(NewChild(L"Tile" + std::to_wstring(i), 5 * i, 5 * i));
    main_->Tile();
    Pump(30);
    for (TForm* c : f) {
        EXPECT_EQ(c->Width(), 400) << c->Name();
        EXPECT_EQ(c->Height(), 300) << c->Name();
        EXPECT_EQ(c->Left() % 400, 0);
        EXPECT_EQ(c->Top() % 300, 0);
    }
    f.push_back(NewChild(L"Tile4"));
    main_->Tile();
    Pump(30);
    int right = 0, left = 0;
    for (TForm* c : f) {
        if (c->Left() == 400 && c->Width() == 400 && c->Height() == 200)
            ++right;
        if (c->Left() == 0 && c->Width() == 400 && c->Height() == 300)
            ++left;
    }
    EXPECT_EQ(right, 3);
    EXPECT_EQ(left, 2);
    // Tiling restores a maximised child first.
    Skin(f[0])->SetWindowState(wsMaximized);
    Pump(30);
    main_->Tile();
    Pump(30);
    EXPECT_EQ(Skin(f[0])->WindowState(), wsNormal);

    main_->Cascade();
    Pump(30);
    std::vector<TPoint> origins;
    for (TForm* c : f) {
        EXPECT_EQ(c->Left(), c->Top());
        EXPECT_LE(c->Left() + c->Width(), 800);
        origins.push_back({c->Left(), c->Top()});
    }
    std::sort(origins.begin(), origins.end(), [](TPoint a, TPoint b) { return a.X < b.X; });
    EXPECT_EQ(origins.front().X, 0);
    EXPECT_GT(origins.back().X, 0);
}

TEST_F(MDIForms, WindowMenuListsTheShownChildren) {
    TForm* a = NewChild(L"MenuA");
    TForm* b = NewChild(L"MenuB", 80, 80);
    EXPECT_EQ(ChildItems(), 2);
    TMenuItem* itemA = nullptr;
    for (int i = 0; i < window_->Count(); ++i)
        if (window_->Items(i)->Name() == L"MenuA_SKFCHILDITEM")
            itemA = window_->Items(i);
    ASSERT_NE(itemA, nullptr);
    EXPECT_EQ(itemA->Caption(), L"MenuA");
    a->SetCaption(L"Меню А");
    EXPECT_EQ(itemA->Caption(), L"Меню А");
    ASSERT_EQ(main_->ActiveMDIChild(), b);
    itemA->Click();
    Pump(30);
    EXPECT_EQ(main_->ActiveMDIChild(), a);
    EXPECT_TRUE(itemA->Checked());
    b->Hide();
    Pump(30);
    EXPECT_EQ(ChildItems(), 1);
    b->Show();
    Pump(30);
    EXPECT_EQ(ChildItems(), 2);
    a->Close();
    b->Close();
    EXPECT_TRUE(PumpUntil([&] { return !Alive_(a) && !Alive_(b); }, 1000));
    EXPECT_EQ(ChildItems(), 0);
    EXPECT_EQ(bar_->TabCount(), 0);
}

TEST_F(MDIForms, TabBarHasATabPerChildAndActivatesByClick) {
    TForm* a = NewChild(L"TabA");
    TForm* b = NewChild(L"TabB", 50, 50);
    TForm* c = NewChild(L"TabC", 90, 90);
    TForm* d = NewChild(L"TabD", 130, 130);
    ASSERT_EQ(bar_->TabCount(), 4);
    bar_->SetAlign(alNone);
    bar_->SetBounds(0, 0, 316, bar_->Height());
    bar_->CalcObjectRects();
    EXPECT_EQ(bar_->Tabs(0)->ObjectRect.Left, 15);
    EXPECT_EQ(bar_->Tabs(0)->ObjectRect.Width(), 75);
    EXPECT_EQ(bar_->Tabs(3)->ObjectRect.Right, 316);
    EXPECT_TRUE(bar_->Tabs(3)->Active);
    EXPECT_NE(bar_->ListButton(), nullptr);

    // MinTabWidth 120 on 300: two shown, the hidden-list button appears.
    bar_->SetBounds(0, 0, 300, bar_->Height());
    bar_->SetMinTabWidth(120);
    bar_->Repaint();
    Pump(30);
    EXPECT_EQ(bar_->InVisibleCount(), 2);
    EXPECT_NE(bar_->HideListButton(), nullptr);
    bar_->UpdateHideListMenu();
    ASSERT_EQ(bar_->HideListMenu()->Items()->Count(), 2);
    EXPECT_EQ(bar_->HideListMenu()->Items()->Items(0)->Name(), L"TabC_SKFCHILDITEMBARHIDE");
    bar_->SetMinTabWidth(0);
    bar_->SetBounds(0, 0, 400, bar_->Height());
    bar_->Repaint();
    Pump(30);
    EXPECT_EQ(bar_->HideListButton(), nullptr);
    bar_->UpdateListMenu();
    ASSERT_EQ(bar_->ListMenu()->Items()->Count(), 4);
    EXPECT_TRUE(bar_->ListMenu()->Items()->Items(3)->Checked());
    // Choosing an item of the list activates that child.
    bar_->ListMenu()->Items()->Items(1)->Click();
    Pump(30);
    EXPECT_EQ(main_->ActiveMDIChild(), b);

    // A click on the first tab activates its child.
    OnTab(bar_, 0, 20);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return main_->ActiveMDIChild() == a; }, 1000));
    EXPECT_TRUE(bar_->Tabs(0)->Active);
    (void)c;
    (void)d;
    SetCursorPos(5, 5);
    Sleep(600);  // the next press must not become a double click
}

TEST_F(MDIForms, DraggingTheFirstTabPastTheThirdDropsItThere) {
    TForm* a = NewChild(L"DragA");
    NewChild(L"DragB", 50, 50);
    NewChild(L"DragC", 90, 90);
    bar_->SetAlign(alNone);
    bar_->SetBounds(0, 0, 400, bar_->Height());
    bar_->CalcObjectRects();
    const TRect r0 = bar_->Tabs(0)->ObjectRect;
    const TRect r2 = bar_->Tabs(2)->ObjectRect;
    const POINT start = OnTab(bar_, 0, 10);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Pump(30);
    // Past the third tab's centre: its right edge moves beyond r2's middle.
    const int distance = (r2.Left + r2.Width() / 2) - r0.Right + 10;
    for (int i = 1; i <= 8; ++i) {
        SetCursorPos(start.x + distance * i / 8, start.y);
        Pump(20);
    }
    EXPECT_TRUE(bar_->Dragging());
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return !bar_->Dragging(); }, 1000));
    ASSERT_EQ(bar_->TabCount(), 3);
    EXPECT_EQ(bar_->Tabs(2)->Child, a);
    EXPECT_EQ(bar_->Tabs(0)->Child->Name(), L"DragB");
    SetCursorPos(5, 5);
    Sleep(600);
}

TEST_F(MDIForms, ReleaseOnACloseButtonClosesItsChild) {
    NewChild(L"CloseA");
    TForm* b = NewChild(L"CloseB", 50, 50);
    bar_->SetShowCloseButtons(true);
    bar_->Repaint();
    Pump(30);
    bar_->CalcObjectRects();
    ASSERT_EQ(bar_->TabCount(), 2);
    TbsMDITab* tab = bar_->Tabs(1);
    ASSERT_EQ(tab->Child, b);
    TRect cb = tab->ButtonRect;
    cb.Offset(tab->ObjectRect.Left, tab->ObjectRect.Top);
    ASSERT_FALSE(cb.IsEmpty());
    const POINT p = OnScreen(bar_, cb.Left + cb.Width() / 2, cb.Top + cb.Height() / 2);
    SetCursorPos(p.x, p.y);
    Pump(50);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Pump(30);
    EXPECT_TRUE(bar_->Tabs(1)->ButtonMouseDown);
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return !Alive_(b); }, 1000));
    EXPECT_EQ(bar_->TabCount(), 1);
    SetCursorPos(5, 5);
    Sleep(600);
}

TEST_F(MDIForms, RightClickOpensTheChildMenuAndAFreedChildClosesIt) {
    TForm* a = NewChild(L"MenuChildA");
    OnTab(bar_, 0, 20);
    Mouse(MOUSEEVENTF_RIGHTDOWN);
    Mouse(MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(PumpUntil([] { return skin_->SkinMenu()->Visible(); }, 1000));
    EXPECT_EQ(bar_->MenuChild(), a);
    // The child goes while its menu is open: the menu closes and nothing refers to the child.
    delete a;
    Pump(50);
    EXPECT_FALSE(skin_->SkinMenu()->Visible());
    EXPECT_EQ(bar_->MenuChild(), nullptr);
    EXPECT_EQ(bar_->TabCount(), 0);
    EXPECT_EQ(ChildItems(), 0);
    SetCursorPos(5, 5);
}

TEST_F(MDIForms, AChildFreedWhileItsTabIsDraggedEndsTheDrag) {
    NewChild(L"FreeA");
    TForm* b = NewChild(L"FreeB", 50, 50);
    bar_->SetAlign(alNone);
    bar_->SetBounds(0, 0, 400, bar_->Height());
    const POINT p = OnTab(bar_, 1, 10);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Pump(30);
    SetCursorPos(p.x + 40, p.y);
    Pump(30);
    ASSERT_TRUE(bar_->Dragging());
    delete b;
    Pump(30);
    EXPECT_FALSE(bar_->Dragging());
    EXPECT_EQ(bar_->TabCount(), 1);
    SetCursorPos(p.x + 80, p.y);
    Pump(30);
    Mouse(MOUSEEVENTF_LEFTUP);
    Pump(30);
    EXPECT_EQ(bar_->TabCount(), 1);
    EXPECT_EQ(bar_->Tabs(0)->Child->Name(), L"FreeA");
    SetCursorPos(5, 5);
    Sleep(600);
}

TEST_F(MDIForms, CascadeInASkinWhoseClientStartsAtTheTop) {
    // A skin that starts its client area at y 0 still cascades (step 1).
    data_->LoadFromFile(skintest::SetSkin(L"23_Trelm_Graphite"));
    ASSERT_FALSE(data_->Empty);
    data_->ClRect.Top = 0;
    skin_->SetSkinData(data_);
    Pump(50);
    std::vector<TForm*> f;
    for (int i = 0; i < 3; ++i)
        f.push_back(NewChild(L"Casc" + std::to_wstring(i), 7 * i, 9 * i));
    main_->Cascade();
    Pump(30);
    for (TForm* c : f) {
        EXPECT_EQ(c->Left(), c->Top()) << c->Name();
        EXPECT_LE(c->Left(), 2);
    }
}

}  // namespace

namespace {

TEST_F(MDIForms, TheHotTabLeavesBeforeItsChildGoes) {
    NewChild(L"HotA");
    TForm* b = NewChild(L"HotB", 50, 50);
    bar_->SetAlign(alNone);
    bar_->SetBounds(0, 0, 400, bar_->Height());
    int countAtLeave = -1;
    TCustomForm* left = nullptr;
    bar_->OnTabMouseLeave = [&](TbsMDITab* Tab) {
        countAtLeave = bar_->TabCount();
        left = Tab->Child;
    };
    const POINT p = OnTab(bar_, 1, 20);
    SendMessageW(bar_->Handle(), WM_MOUSEMOVE, 0,
                 MAKELPARAM(p.x - OnScreen(bar_, 0, 0).x, p.y - OnScreen(bar_, 0, 0).y));
    ASSERT_TRUE(bar_->Tabs(1)->MouseIn);
    delete b;
    Pump(30);
    EXPECT_EQ(countAtLeave, 2);
    EXPECT_EQ(left, b);
    EXPECT_EQ(bar_->TabCount(), 1);
    bar_->OnTabMouseLeave = nullptr;
    SetCursorPos(5, 5);
}

TEST_F(MDIForms, ADoubleClickMovesOnlyANormalChild) {
    TForm* a = NewChild(L"DblA", 120, 90);
    bar_->DblClickChildMove = true;
    OnTab(bar_, 0, 20);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return a->Left() == 0 && a->Top() == 0; }, 1000));
    EXPECT_EQ(a->Width(), 240);
    Sleep(600);
    // A maximised child stays as it is.
    Skin(a)->SetWindowState(wsMaximized);
    Pump(30);
    OnTab(bar_, 0, 20);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    Pump(100);
    EXPECT_EQ(Skin(a)->WindowState(), wsMaximized);
    EXPECT_EQ(a->BoundsRect(), (TRect{0, 0, 800, 600}));
    bar_->DblClickChildMove = false;
    SetCursorPos(5, 5);
    Sleep(600);
}

}  // namespace

namespace {

// Records what the MDI coordination asks of the main form's menu bar.
class RecordingMenuBar : public TComponent, public IbsMDIMenuBar {
  public:
    using TComponent::TComponent;
    void MDIChildMaximize() override { ++Maximized; }
    void MDIChildRestore() override { ++Restored; }
    void CheckMDIMainMenu() override { ++Checked; }
    int Maximized = 0, Restored = 0, Checked = 0;
};

TEST_F(MDIForms, TheMenuBarHearsOfMaximisedAndActiveChildren) {
    auto* bar = new RecordingMenuBar(nullptr);
    skin_->SetMDIMenuBar(bar);
    TForm* a = NewChild(L"BarA");
    TForm* b = NewChild(L"BarB", 40, 40);
    const int checks = bar->Checked;
    SendMessageW(main_->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->Handle()), 0);
    Pump(30);
    EXPECT_GT(bar->Checked, checks);
    Skin(b)->SetWindowState(wsMaximized);
    Pump(30);
    EXPECT_EQ(bar->Maximized, 1);
    EXPECT_EQ(bar->Restored, 0);
    Skin(a)->SetWindowState(wsNormal);
    Skin(b)->SetWindowState(wsNormal);
    Pump(30);
    EXPECT_GE(bar->Restored, 1);
    // The bar going is heard: nothing calls it afterwards.
    delete bar;
    EXPECT_EQ(skin_->MDIMenuBar(), nullptr);
    Skin(a)->SetWindowState(wsMaximized);
    Pump(30);
    EXPECT_EQ(Skin(b)->WindowState(), wsMaximized);
}

}  // namespace

namespace {

TEST_F(MDIForms, ATransparentTabBarShowsTheClientWindowsBackground) {
    data_->LoadFromFile(skintest::SetSkin(L"81_Trelm_Blue"));
    ASSERT_FALSE(data_->Empty);
    data_->MDITabsTransparent = true;
    skin_->SetSkinData(data_);
    bar_->SetSkinData(data_);
    NewChild(L"TransA");
    bar_->Repaint();
    Pump(100);
    ASSERT_NE(bar_->SkinIndex(), -1);
    // What the client window paints for the form's client area, from the form's origin.
    RECT fc{};
    GetClientRect(main_->Handle(), &fc);
    TBitmap expect(fc.right, fc.bottom);
    SendMessageW(main_->ClientHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(expect.Canvas()->Handle()), 0);
    for (int x : {bar_->Width() - 30, bar_->Width() / 2}) {
        const int y = bar_->Height() / 2;
        const POINT s = OnScreen(bar_, x, y);
        EXPECT_EQ(ScreenPixel(s.x, s.y) & 0xFFFFFF,
                  GetPixel(expect.Canvas()->Handle(), bar_->Left() + x, bar_->Top() + y) & 0xFFFFFF)
            << x;
    }
    data_->MDITabsTransparent = false;
}

}  // namespace

namespace {

void KeyChord(WORD Modifier, WORD Vk) {
    INPUT in[4] = {};
    for (INPUT& i : in)
        i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = Modifier;
    in[1].ki.wVk = Vk;
    in[2].ki.wVk = Vk;
    in[2].ki.dwFlags = KEYEVENTF_KEYUP;
    in[3].ki.wVk = Modifier;
    in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, in, sizeof(INPUT));
}

TEST_F(MDIForms, CtrlF6AndCtrlF4ActOnTheActiveChild) {
    TForm* a = NewChild(L"KeyA");
    TForm* b = NewChild(L"KeyB", 40, 40);
    SetForegroundWindow(main_->Handle());
    Pump(50);
    ASSERT_EQ(main_->ActiveMDIChild(), b);
    KeyChord(VK_CONTROL, VK_F6);
    EXPECT_TRUE(PumpUntil([&] { return main_->ActiveMDIChild() == a; }, 1000));
    KeyChord(VK_CONTROL, VK_F4);
    EXPECT_TRUE(PumpUntil([&] { return !Alive_(a); }, 1000));
    EXPECT_EQ(main_->ActiveMDIChild(), b);
}

}  // namespace

namespace {

TEST_F(MDIForms, AllChildrenMinimiseTogetherAndCloseTogether) {
    TForm* a = NewChild(L"AllA");
    TForm* b = NewChild(L"AllB", 40, 40);
    TForm* c = NewChild(L"AllC", 80, 80);
    skin_->MinimizeAll();
    Pump(30);
    for (TForm* f : {a, b, c})
        EXPECT_EQ(Skin(f)->WindowState(), wsMinimized) << f->Name();
    // Parked side by side along the bottom, none on another.
    EXPECT_NE(a->Left(), b->Left());
    EXPECT_NE(b->Left(), c->Left());
    skin_->RestoreAll();
    Pump(30);
    EXPECT_EQ(b->BoundsRect(), (TRect{40, 40, 280, 200}));
    skin_->CloseAll();
    EXPECT_TRUE(PumpUntil([&] { return !Alive_(a) && !Alive_(b) && !Alive_(c); }, 1000));
    EXPECT_EQ(main_->MDIChildCount(), 0);
    EXPECT_EQ(bar_->TabCount(), 0);
}

}  // namespace

namespace {

TMenuItem* TopItem(TMainMenu* Menu, const wchar_t* Caption, int Group) {
    auto* item = new TMenuItem(Menu);
    item->SetCaption(Caption);
    item->SetGroupIndex(static_cast<BYTE>(Group));
    auto* sub = new TMenuItem(Menu);
    sub->SetCaption(std::wstring(Caption) + L" 1");
    item->Add(sub);
    Menu->Items()->Add(item);
    return item;
}

std::vector<std::wstring> EntryCaptions(TbsSkinMainMenuBar* Bar) {
    std::vector<std::wstring> out;
    for (TbsSkinMainMenuBarItem* e : Bar->Entries())
        out.push_back(e->MenuItem->Caption());
    return out;
}

TEST_F(MDIForms, TheMenuBarFollowsAMaximisedChildAndMergesTheActiveChildsMenu) {
    auto* menu = new TMainMenu(main_);
    TopItem(menu, L"Файл", 0);
    TopItem(menu, L"Окно", 9);
    auto* bar = new TbsSkinMainMenuBar(main_);
    bar->SetParent(main_);
    bar->SetMainMenu(menu);
    bar->SetSkinForm(skin_);
    EXPECT_EQ(skin_->MDIMenuBar(), bar);
    Pump(50);

    TForm* plain = NewChild(L"BarPlain", 20, 20);
    TForm* edit = NewChild(L"BarEdit", 60, 60);
    auto* childMenu = new TMainMenu(edit);
    TopItem(childMenu, L"Правка", 1);
    // The active child's menu merges by group index once the child is activated.
    SendMessageW(main_->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(plain->Handle()), 0);
    SendMessageW(main_->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(edit->Handle()), 0);
    Pump(30);
    EXPECT_EQ(EntryCaptions(bar), (std::vector<std::wstring>{L"Файл", L"Правка", L"Окно"}));
    EXPECT_TRUE(bar->ChildMenuIn());
    SendMessageW(main_->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(plain->Handle()), 0);
    Pump(30);
    EXPECT_EQ(EntryCaptions(bar), (std::vector<std::wstring>{L"Файл", L"Окно"}));

    // A maximised child brings the four buttons; its close button closes it.
    SendMessageW(main_->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(edit->Handle()), 0);
    Skin(edit)->SetWindowState(wsMaximized);
    Pump(50);
    EXPECT_TRUE(bar->MDIChildMax());
    EXPECT_EQ(bar->ButtonsCount, 4);
    EXPECT_EQ(bar->MaximizedChild(), edit);
    EXPECT_EQ(EntryCaptions(bar), (std::vector<std::wstring>{L"Файл", L"Правка", L"Окно"}));
    bar->Repaint();
    Pump(30);
    TbsSkinMainMenuBarButton* close = nullptr;
    for (int i = 0; i < bar->ButtonsCount; ++i)
        if (auto* b = dynamic_cast<TbsSkinMainMenuBarButton*>(bar->ObjectList[static_cast<size_t>(i)].get());
            b && b->Command == cmClose)
            close = b;
    ASSERT_NE(close, nullptr);
    ASSERT_FALSE(close->ObjectRect.IsEmpty());
    const POINT p = OnScreen(bar, close->ObjectRect.Left + close->ObjectRect.Width() / 2,
                             close->ObjectRect.Top + close->ObjectRect.Height() / 2);
    SetCursorPos(p.x, p.y);
    Pump(120);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Pump(30);
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return !Alive_(edit); }, 1000));
    // The child's menu went with it; the other child, maximised with it, keeps the buttons until it is restored.
    Pump(30);
    EXPECT_EQ(EntryCaptions(bar), (std::vector<std::wstring>{L"Файл", L"Окно"}));
    EXPECT_TRUE(bar->MDIChildMax());
    EXPECT_EQ(bar->MaximizedChild(), plain);
    Skin(plain)->SetWindowState(wsNormal);
    Pump(30);
    EXPECT_FALSE(bar->MDIChildMax());
    EXPECT_EQ(bar->ButtonsCount, 0);
    SetCursorPos(5, 5);
    delete bar;
    delete menu;
    EXPECT_EQ(skin_->MDIMenuBar(), nullptr);
}

}  // namespace
