// The main menu bar on a real skinned host form under Wine, in its built-in look: entries placed from x 2 as wide as
// their captions + 12, hidden entries behind the scroll marker and listed by it, Right through the entries and into
// the scroll list, merging, accelerators shown only in menu mode, a drop-down following the cursor along unnamed
// entries, disabled entries, and the MDI buttons of a maximised child acting on it. Input by SetCursorPos/SendInput.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "WindowTestUtil.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "skin/form/MenuLevelProps.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenu.h"
#include "skin/menubar/MainMenuBar.h"

namespace {

void MouseButton(bool Down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof(INPUT));
    Pump(60);
}

void Key(WORD Vk, bool Up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = Vk;
    in.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(INPUT));
    Pump(40);
}

// Alt held while Vk is pressed and released.
void AltKey(WORD Vk) {
    Key(VK_MENU, false);
    Key(Vk, false);
    Key(Vk, true);
    Key(VK_MENU, true);
    Pump(60);
}

int CaptionWidth(const std::wstring& Text) {
    TBitmap b(1, 1);
    TFont f;
    f.SetName(L"Tahoma");
    f.SetHeight(13);
    b.Canvas()->Font()->Assign(&f);
    RECT r{0, 0, 0, 0};
    DrawTextW(b.Canvas()->Handle(), Text.c_str(), static_cast<int>(Text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right - r.left;
}

class MainMenuBarTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SetCursorPos(5, 5);
        form_ = new TForm(nullptr);
        form_->SetFormStyle(fsStayOnTop);
        form_->SetBorderStyle(bsSizeable);
        form_->SetBounds(60, 60, 520, 160);
        form_->SetCaption(L"Меню");
        skf_ = new TbsSkinForm(form_);
        bar_ = new TbsSkinMainMenuBar(form_);
        bar_->SetParent(form_);
        bar_->SetSkinForm(skf_);
        form_->Show();
        Pump(100);
    }
    static void TearDownTestSuite() {
        delete form_;
        form_ = nullptr;
        Pump(50);
    }
    void SetUp() override {
        SetCursorPos(5, 5);
        form_->SetBounds(60, 60, 520, 160);
        SetForegroundWindow(form_->Handle());
        Pump(60);
    }
    void TearDown() override {
        if (skf_->SkinMenu()->Visible())
            skf_->SkinMenu()->Hide();
        bar_->MenuExit();
        bar_->SetMainMenu(nullptr);
        bar_->UnMerge();
        menu_.reset();
        Pump(60);
    }

    // A main menu of top-level items with Captions (each with two children unless Leaf), unnamed.
    TMainMenu* MakeMenu(const std::vector<std::wstring>& Captions, bool Leaf = false) {
        menu_ = std::make_unique<TMainMenu>(nullptr);
        for (const std::wstring& c : Captions) {
            auto* item = new TMenuItem(menu_.get());
            item->SetCaption(c);
            if (!Leaf)
                for (const wchar_t* s : {L"Первый", L"Второй"}) {
                    auto* sub = new TMenuItem(menu_.get());
                    sub->SetCaption(s);
                    item->Add(sub);
                }
            menu_->Items()->Add(item);
        }
        bar_->SetMainMenu(menu_.get());
        Pump(40);
        return menu_.get();
    }
    void MoveToBar(int X, int Y) {
        POINT p{X, Y};
        ClientToScreen(bar_->Handle(), &p);
        SetCursorPos(p.x, p.y);
        Pump(60);
    }
    void MoveTo(TbsMenuBarObject* O) {
        MoveToBar((O->ObjectRect.Left + O->ObjectRect.Right) / 2, (O->ObjectRect.Top + O->ObjectRect.Bottom) / 2);
    }
    std::vector<std::wstring> OpenLevelEntries() {
        TbsSkinPopupWindow* l = skf_->SkinMenu()->LastLevel();
        return l && l->HandleAllocated() ? MenuLevelEntries(l->Handle()) : std::vector<std::wstring>{};
    }
    std::vector<COLORREF> BarPixels(const TRect& R) {
        std::vector<COLORREF> px;
        POINT o{0, 0};
        ClientToScreen(bar_->Handle(), &o);
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x)
                px.push_back(ScreenPixel(o.x + x, o.y + y));
        return px;
    }

    static TForm* form_;
    static TbsSkinForm* skf_;
    static TbsSkinMainMenuBar* bar_;
    std::unique_ptr<TMainMenu> menu_;
};

TForm* MainMenuBarTest::form_ = nullptr;
TbsSkinForm* MainMenuBarTest::skf_ = nullptr;
TbsSkinMainMenuBar* MainMenuBarTest::bar_ = nullptr;

TEST_F(MainMenuBarTest, BuiltInLookPlacesEntriesByTheirCaptions) {
    MakeMenu({L"Файл", L"Правка", L"Вид"});
    EXPECT_EQ(bar_->Height(), 22);
    const auto entries = bar_->Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0]->ObjectRect.Left, 2);
    EXPECT_EQ(entries[0]->ObjectRect.Top, 2);
    EXPECT_EQ(entries[0]->ObjectRect.Bottom, 20);
    int x = 2;
    for (auto* e : entries) {
        EXPECT_EQ(e->ObjectRect.Left, x);
        EXPECT_EQ(e->ObjectRect.Width(), CaptionWidth(e->MenuItem->Caption()) + 12);
        x = e->ObjectRect.Right;
    }
    // An entry with an image is wider by the image + 5.
    TBitmap glyph(16, 16);
    menu_->Items()->Items(1)->SetBitmap(&glyph);
    bar_->UpDateItems();
    Pump(40);
    EXPECT_EQ(bar_->Entries()[1]->ObjectRect.Width(), CaptionWidth(L"Правка") + 12 + 16 + 5);
}

TEST_F(MainMenuBarTest, TooNarrowHidesEntriesBehindTheMarkerWhichListsThem) {
    form_->SetBounds(60, 60, 200, 160);
    Pump(60);
    MakeMenu({L"Файл", L"Правка", L"Вид", L"Сервис", L"Справка"});
    const auto entries = bar_->Entries();
    int shown = 0;
    for (auto* e : entries) {
        if (e->Fits) {
            ++shown;
            EXPECT_LE(e->ObjectRect.Right, bar_->NewItemsRect.Right - 5);
        } else {
            EXPECT_FALSE(e->Enabled);
        }
    }
    ASSERT_GT(shown, 0);
    ASSERT_LT(shown, 5);
    EXPECT_TRUE(bar_->Scroll);
    // The marker: the right-pointing arrow in the last 5 pixels.
    const TRect m = bar_->MarkerRect();
    const std::vector<COLORREF> px = BarPixels(m);
    EXPECT_TRUE(std::any_of(px.begin(), px.end(), [](COLORREF c) { return c != (ColorToRGB(clBtnFace) & 0xFFFFFF); }));
    MoveToBar(m.Left + 2, (m.Top + m.Bottom) / 2);
    MouseButton(true);
    MouseButton(false);
    ASSERT_TRUE(PumpUntil([&] { return skf_->SkinMenu()->Visible(); }));
    const std::vector<std::wstring> listed = OpenLevelEntries();
    ASSERT_EQ(listed.size(), static_cast<std::size_t>(5 - shown));
    EXPECT_EQ(listed.front(), entries[static_cast<std::size_t>(shown)]->MenuItem->Caption());
}

TEST_F(MainMenuBarTest, RightGoesIntoTheScrollListAndThenToTheFirstEntry) {
    form_->SetBounds(60, 60, 200, 160);
    Pump(60);
    MakeMenu({L"Файл", L"Правка", L"Вид", L"Сервис", L"Справка"});
    std::vector<TbsSkinMainMenuBarItem*> shown;
    for (auto* e : bar_->Entries())
        if (e->Fits)
            shown.push_back(e);
    ASSERT_GE(shown.size(), 1u);
    bar_->MenuEnter();
    EXPECT_TRUE(shown.front()->Active);
    for (std::size_t i = 1; i < shown.size(); ++i)
        bar_->NextMainMenuItem();
    EXPECT_TRUE(shown.back()->Active);
    bar_->NextMainMenuItem();
    ASSERT_TRUE(PumpUntil([&] { return skf_->SkinMenu()->Visible(); }));
    EXPECT_EQ(OpenLevelEntries().size(), bar_->Entries().size() - shown.size());
    EXPECT_FALSE(shown.back()->Active);
    bar_->NextMainMenuItem();
    Pump(60);
    EXPECT_TRUE(shown.front()->FDown);
    ASSERT_TRUE(skf_->SkinMenu()->Visible());
    EXPECT_EQ(OpenLevelEntries(), (std::vector<std::wstring>{L"Первый", L"Второй"}));
}

TEST_F(MainMenuBarTest, RightWrapsWhenEverythingFitsAndLeftWrapsBack) {
    MakeMenu({L"Файл", L"Правка", L"Вид"});
    const auto e = bar_->Entries();
    bar_->MenuEnter();
    ASSERT_TRUE(e[0]->Active);
    bar_->NextMainMenuItem();
    bar_->NextMainMenuItem();
    EXPECT_TRUE(e[2]->Active);
    bar_->NextMainMenuItem();
    EXPECT_TRUE(e[0]->Active);
    EXPECT_FALSE(e[2]->Active);
    bar_->PriorMainMenuItem();
    EXPECT_TRUE(e[2]->Active);
    EXPECT_FALSE(skf_->SkinMenu()->Visible());
}

TEST_F(MainMenuBarTest, TheFormsKeysDriveMenuMode) {
    MakeMenu({L"Файл", L"Правка", L"Вид"});
    const auto e = bar_->Entries();
    auto key = [&](WPARAM k) {
        PostMessageW(form_->Handle(), WM_KEYDOWN, k, 0);
        Pump(80);
    };
    // Alt: menu mode on the first entry.
    SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    Pump(40);
    ASSERT_TRUE(skf_->InMainMenu());
    EXPECT_TRUE(bar_->MenuActive);
    EXPECT_TRUE(e[0]->Active);
    key(VK_RIGHT);
    EXPECT_TRUE(e[1]->Active);
    EXPECT_FALSE(e[0]->Active);
    key(VK_DOWN);
    ASSERT_TRUE(PumpUntil([&] { return skf_->SkinMenu()->Visible() && e[1]->FDown; }));
    // Right with the drop-down open moves it to the next entry.
    key(VK_RIGHT);
    ASSERT_TRUE(PumpUntil([&] { return e[2]->FDown; }));
    EXPECT_FALSE(e[1]->FDown);
    EXPECT_TRUE(skf_->SkinMenu()->Visible());
    // Esc closes the drop-down, menu mode stays; a second Esc ends it.
    key(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return !skf_->SkinMenu()->Visible() && !e[2]->FDown; }));
    EXPECT_TRUE(skf_->InMainMenu());
    EXPECT_TRUE(e[2]->Active);
    key(VK_ESCAPE);
    EXPECT_FALSE(skf_->InMainMenu());
    EXPECT_FALSE(bar_->MenuActive);
    EXPECT_FALSE(e[2]->Active);
}

TEST_F(MainMenuBarTest, AltWithAnAcceleratorOpensOrRunsThatEntry) {
    MakeMenu({L"&File", L"&Edit", L"&Run"});
    menu_->Items()->Items(2)->Clear();
    int runs = 0;
    menu_->Items()->Items(2)->OnClick = [&runs](TObject*) { ++runs; };
    bar_->UpDateItems();
    Pump(40);
    const auto e = bar_->Entries();
    // Alt+E drops down the second entry.
    AltKey('E');
    ASSERT_TRUE(PumpUntil([&] { return skf_->SkinMenu()->Visible() && e[1]->FDown; }));
    EXPECT_FALSE(e[0]->FDown);
    EXPECT_TRUE(skf_->InMainMenu());
    EXPECT_EQ(OpenLevelEntries(), (std::vector<std::wstring>{L"Первый", L"Второй"}));
    skf_->SkinMainMenuClose();
    Pump(60);
    // Alt+R runs an entry without children once and leaves no menu mode behind.
    AltKey('R');
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(skf_->SkinMenu()->Visible());
    EXPECT_FALSE(skf_->InMainMenu());
    EXPECT_FALSE(e[2]->Active);
    // Alt with a letter no entry has opens nothing.
    AltKey('Q');
    EXPECT_FALSE(skf_->SkinMenu()->Visible());
    EXPECT_FALSE(std::any_of(e.begin(), e.end(), [](auto* x) { return x->FDown; }));
}

TEST_F(MainMenuBarTest, AcceleratorsAreUnderlinedOnlyInMenuMode) {
    MakeMenu({L"&Файл", L"&Вид"});
    const TRect r = bar_->Entries()[0]->ObjectRect;
    const std::vector<COLORREF> plain = BarPixels(r);
    bar_->MenuEnter();
    bar_->Entries()[0]->MouseLeave();
    Pump(40);
    const std::vector<COLORREF> menuMode = BarPixels(r);
    EXPECT_NE(plain, menuMode);
    bar_->MenuExit();
    Pump(40);
    EXPECT_EQ(BarPixels(r), plain);
}

TEST_F(MainMenuBarTest, MergedChildMenuFollowsGroupIndexes) {
    MakeMenu({L"P0", L"P1", L"P2"});
    for (int i = 0; i < 3; ++i)
        menu_->Items()->Items(i)->SetGroupIndex(static_cast<BYTE>(i));
    TMainMenu child(nullptr);
    for (auto [caption, group] : {std::pair{L"C1", 1}, std::pair{L"C3", 3}}) {
        auto* item = new TMenuItem(&child);
        item->SetCaption(caption);
        item->SetGroupIndex(static_cast<BYTE>(group));
        child.Items()->Add(item);
    }
    bar_->Merge(&child);
    Pump(40);
    std::vector<std::wstring> order;
    for (auto* e : bar_->Entries())
        order.push_back(e->MenuItem->Caption());
    EXPECT_EQ(order, (std::vector<std::wstring>{L"P0", L"C1", L"P2", L"C3"}));
    bar_->UnMerge();
    EXPECT_EQ(bar_->Entries().size(), 3u);
}

TEST_F(MainMenuBarTest, OpenDropDownFollowsTheCursorAlongUnnamedEntries) {
    MakeMenu({L"Один", L"Два", L"Три"});
    std::vector<int> clicks(3, 0);
    for (int i = 0; i < 3; ++i)
        menu_->Items()->Items(i)->OnClick = [&clicks, i](TObject*) { ++clicks[static_cast<std::size_t>(i)]; };
    const auto e = bar_->Entries();
    ASSERT_TRUE(e[0]->IDName.empty() && e[1]->IDName.empty());
    MoveTo(e[0]);
    MouseButton(true);
    MouseButton(false);
    ASSERT_TRUE(PumpUntil([&] { return skf_->SkinMenu()->Visible() && e[0]->FDown; }));
    for (int i = 1; i < 3; ++i) {
        MoveTo(e[static_cast<std::size_t>(i)]);
        ASSERT_TRUE(PumpUntil([&] { return e[static_cast<std::size_t>(i)]->FDown; })) << i;
        Pump(120);
        EXPECT_FALSE(e[static_cast<std::size_t>(i - 1)]->FDown);
        EXPECT_FALSE(e[static_cast<std::size_t>(i - 1)]->Active);
        EXPECT_TRUE(skf_->SkinMenu()->Visible());
    }
    EXPECT_EQ(clicks, (std::vector<int>{1, 1, 1}));
}

TEST_F(MainMenuBarTest, DisabledEntryNeverLights) {
    MakeMenu({L"Файл", L"Недоступно"});
    menu_->Items()->Items(1)->SetEnabled(false);
    bar_->UpDateEnabledItems();
    TbsSkinMainMenuBarItem* off = bar_->Entries()[1];
    MoveTo(off);
    Pump(150);
    EXPECT_FALSE(off->Active);
    MouseButton(true);
    MouseButton(false);
    EXPECT_FALSE(off->FDown);
    EXPECT_FALSE(skf_->SkinMenu()->Visible());
}

TEST_F(MainMenuBarTest, MdiButtonsOfAMaximisedChildActOnIt) {
    MakeMenu({L"Файл", L"Окно"});
    TForm* child = new TForm(nullptr);
    child->SetBounds(600, 300, 200, 120);
    auto* childSkin = new TbsSkinForm(child);
    (void)childSkin;
    child->Show();
    bool closed = false;
    child->OnClose = [&closed](TObject*, TCloseAction& A) {
        closed = true;
        A = caHide;
    };
    bar_->MaximizedChild = [child] { return child; };
    bar_->MDIChildMaximize();
    Pump(60);
    ASSERT_EQ(bar_->ButtonsCount, 4);
    auto* sys = static_cast<TbsSkinMainMenuBarButton*>(bar_->ObjectList[0].get());
    auto* close = static_cast<TbsSkinMainMenuBarButton*>(bar_->ObjectList[1].get());
    auto* max = static_cast<TbsSkinMainMenuBarButton*>(bar_->ObjectList[2].get());
    auto* min = static_cast<TbsSkinMainMenuBarButton*>(bar_->ObjectList[3].get());
    // Each acts by its role, not all as close.
    EXPECT_EQ(sys->Command, cmSysMenu);
    EXPECT_EQ(close->Command, cmClose);
    EXPECT_EQ(max->Command, cmMaximize);
    EXPECT_EQ(min->Command, cmMinimize);
    EXPECT_EQ(sys->ObjectRect.Left, 2);
    EXPECT_EQ(close->ObjectRect.Right, bar_->Width() - 2);
    EXPECT_EQ(max->ObjectRect.Right, close->ObjectRect.Left - 2);
    EXPECT_EQ(min->ObjectRect.Right, max->ObjectRect.Left - 2);
    EXPECT_EQ(bar_->Entries()[0]->ObjectRect.Left, sys->ObjectRect.Right + 2);
    // Pressed over close and released elsewhere: nothing.
    MoveTo(close);
    MouseButton(true);
    MoveToBar(bar_->Width() / 2, 10);
    MouseButton(false);
    EXPECT_FALSE(closed);
    EXPECT_FALSE(close->FDown);
    // Pressed and released over it: the child closes.
    MoveTo(close);
    MouseButton(true);
    MouseButton(false);
    EXPECT_TRUE(closed);
    bar_->MaximizedChild = nullptr;
    bar_->MDIChildRestore();
    EXPECT_EQ(bar_->ButtonsCount, 0);
    EXPECT_EQ(bar_->Entries()[0]->ObjectRect.Left, 2);
    delete child;
}

}  // namespace
