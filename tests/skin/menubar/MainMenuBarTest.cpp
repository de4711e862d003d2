// The main menu bar on a real skinned host form under Wine, in its built-in look: entries placed from x 2 as wide as
// their captions + 12, hidden entries behind the scroll marker and listed by it, Right through the entries and into
// the scroll list, merging, accelerators shown only in menu mode, a drop-down following the cursor along unnamed
// entries, disabled entries, and the MDI buttons of a maximised child acting on it. Input by SetCursorPos/SendInput.
// Then the bar in a generated skin: morphing and frame animation of the entries, tool-bar mode and the bar showing
// its parent through.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "SkinTestPaths.h"
#include "WindowTestUtil.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
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

TEST_F(MainMenuBarTest, OwnerDrawnEntryPaintsItselfInsteadOfItsCaption) {
    MakeMenu({L"Файл", L"Свой"});
    TObject* sender = nullptr;
    TRect given{};
    bool selected = true;
    menu_->Items()->Items(1)->OnDrawItem = [&](TObject* S, TCanvas* C, const TRect& R, bool Sel) {
        sender = S;
        given = R;
        selected = Sel;
        HBRUSH b = CreateSolidBrush(RGB(0, 160, 0));
        RECT r{R.Left, R.Top, R.Right, R.Bottom};
        FillRect(C->Handle(), &r, b);
        DeleteObject(b);
    };
    bar_->UpDateItems();
    Pump(60);
    TbsSkinMainMenuBarItem* e = bar_->Entries()[1];
    EXPECT_EQ(sender, static_cast<TObject*>(e));
    EXPECT_EQ(given, (TRect{0, 0, e->ObjectRect.Width(), e->ObjectRect.Height()}));
    EXPECT_FALSE(selected);
    const std::vector<COLORREF> px = BarPixels(e->ObjectRect);
    EXPECT_TRUE(std::all_of(px.begin(), px.end(), [](COLORREF c) { return c == RGB(0, 160, 0); }));
    // Lit, the handler hears of it.
    e->MouseEnter();
    Pump(40);
    EXPECT_TRUE(selected);
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

// ---- The bar in a skin -----------------------------------------------------------------------------------------

// The fields the cases change on the shared record.
struct TSavedRecord {
    bool Morphing = false, InActiveAnimation = false;
    TRect ActiveSkinRect{}, AnimateSkinRect{};
    int FrameCount = 0, AnimateInterval = 0;
    void Save(const TbsDataSkinMainMenuItem* R) {
        Morphing = R->Morphing;
        InActiveAnimation = R->InActiveAnimation;
        ActiveSkinRect = R->ActiveSkinRect;
        AnimateSkinRect = R->AnimateSkinRect;
        FrameCount = R->FrameCount;
        AnimateInterval = R->AnimateInterval;
    }
    void Restore(TbsDataSkinMainMenuItem* R) const {
        R->Morphing = Morphing;
        R->InActiveAnimation = InActiveAnimation;
        R->ActiveSkinRect = ActiveSkinRect;
        R->AnimateSkinRect = AnimateSkinRect;
        R->FrameCount = FrameCount;
        R->AnimateInterval = AnimateInterval;
    }
};

class SkinnedMainMenuBarTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SetCursorPos(5, 5);
        form_ = new TForm(nullptr);
        form_->SetFormStyle(fsStayOnTop);
        form_->SetBorderStyle(bsSizeable);
        form_->SetBounds(60, 60, 520, 160);
        form_->SetCaption(L"Меню в скине");
        skf_ = new TbsSkinForm(form_);
        data_ = new TbsSkinData(form_);
        data_->LoadFromFile(skintest::SetSkin(L"23_Trelm_Graphite"));
        // The bar sits on a plain red panel: what shows through it is known.
        panel_ = new TPanel(form_);
        panel_->SetParent(form_);
        panel_->SetAlign(alClient);
        panel_->SetColor(static_cast<TColor>(RGB(200, 0, 0)));
        menu_ = new TMainMenu(form_);
        for (const wchar_t* c : {L"Файл", L"Правка"}) {
            auto* item = new TMenuItem(menu_);
            item->SetCaption(c);
            auto* sub = new TMenuItem(menu_);
            sub->SetCaption(L"Первый");
            item->Add(sub);
            menu_->Items()->Add(item);
        }
        bar_ = new TbsSkinMainMenuBar(form_);
        bar_->SetParent(panel_);
        bar_->SetSkinForm(skf_);
        skf_->SetSkinData(data_);
        bar_->SetSkinData(data_);
        bar_->SetMainMenu(menu_);
        form_->Show();
        Pump(150);
        saved_.Save(Record());
    }
    static void TearDownTestSuite() {
        delete form_;
        form_ = nullptr;
        Pump(50);
    }
    void SetUp() override {
        SetCursorPos(5, 5);
        SetForegroundWindow(form_->Handle());
        Pump(60);
    }
    void TearDown() override {
        if (skf_->SkinMenu()->Visible())
            skf_->SkinMenu()->Hide();
        bar_->MenuExit();
        saved_.Restore(Record());
        data_->MainMenuBarTransparent = false;
        bar_->SetToolBarMode(false);
        bar_->SetToolBarModeItemTransparent(false);
        bar_->UseSkinSize = true;
        bar_->UpDateItems();
        Pump(80);
    }
    static TbsDataSkinMainMenuItem* Record() {
        return dynamic_cast<TbsDataSkinMainMenuItem*>(
            data_->ObjectList[static_cast<std::size_t>(data_->GetIndex(L"mainmenubaritem"))].get());
    }
    static TbsSkinMainMenuBarItem* First() { return bar_->Entries()[0]; }
    std::vector<COLORREF> Pixels(const TRect& R) {
        RedrawWindow(bar_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(40);
        std::vector<COLORREF> px;
        POINT o{0, 0};
        ClientToScreen(bar_->Handle(), &o);
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x)
                px.push_back(ScreenPixel(o.x + x, o.y + y));
        return px;
    }
    COLORREF BarPixel(int X, int Y) { return Pixels(TRect{X, Y, X + 1, Y + 1})[0]; }
    // A pixel of a control entry's picture.
    static COLORREF SkinPixel(const wchar_t* Entry, int DX, int DY, TRect TbsDataSkinButtonControl::*Which = nullptr) {
        auto* look = dynamic_cast<TbsDataSkinCustomControl*>(SkinEntryAt(data_, LookupSkinEntry(data_, Entry)));
        TRect r = look->SkinRect;
        if (Which)
            r = static_cast<TbsDataSkinButtonControl*>(look)->*Which;
        TBitmap* pic = SkinPictureAt(data_, look->PictureIndex);
        return GetPixel(pic->Canvas()->Handle(), r.Left + DX, r.Top + DY) & 0xFFFFFF;
    }

    static inline TForm* form_ = nullptr;
    static inline TbsSkinForm* skf_ = nullptr;
    static inline TbsSkinData* data_ = nullptr;
    static inline TPanel* panel_ = nullptr;
    static inline TMainMenu* menu_ = nullptr;
    static inline TbsSkinMainMenuBar* bar_ = nullptr;
    static inline TSavedRecord saved_;
};

TEST_F(SkinnedMainMenuBarTest, EntryMorphsStepByStepToTheLitLookAndBack) {
    ASSERT_EQ(bar_->Height(), 22);
    Record()->Morphing = true;
    bar_->UpDateItems();
    TbsSkinMainMenuBarItem* e = First();
    ASSERT_TRUE(e->Morphing);
    const std::vector<COLORREF> normal = Pixels(e->ObjectRect);
    e->MouseEnter();
    // Lit, but the picture has not jumped: the timer walks it over.
    EXPECT_TRUE(e->Active);
    EXPECT_EQ(e->FMorphKf, 0);
    EXPECT_TRUE(bar_->MorphTimer->Enabled());
    ASSERT_TRUE(PumpUntil([&] { return e->FMorphKf == 1; }));
    ASSERT_TRUE(PumpUntil([&] { return !bar_->MorphTimer->Enabled(); }));
    const std::vector<COLORREF> lit = Pixels(e->ObjectRect);
    EXPECT_NE(lit, normal);
    // The end of the morph is the plain lit look.
    e->Morphing = false;
    EXPECT_EQ(Pixels(e->ObjectRect), lit);
    e->Morphing = true;
    e->MouseLeave();
    ASSERT_TRUE(PumpUntil([&] { return e->FMorphKf == 0 && !bar_->MorphTimer->Enabled(); }));
    EXPECT_EQ(Pixels(e->ObjectRect), normal);
    // Pressing jumps to the lit end; leaving while down drops to the normal one.
    e->MouseEnter();
    e->MouseDown(0, 0, mbLeft);
    ASSERT_TRUE(PumpUntil([&] { return skf_->SkinMenu()->Visible(); }));
    EXPECT_TRUE(e->FDown);
    EXPECT_EQ(e->FMorphKf, 1);
    e->MouseLeave();
    EXPECT_EQ(e->FMorphKf, 0);
}

TEST_F(SkinnedMainMenuBarTest, AnEntryKeepsItsOwnMorphingFlag) {
    // Morphing asked for without a lit image: the entry does without, the shared record stays as read.
    Record()->Morphing = true;
    Record()->ActiveSkinRect = TRect{};
    bar_->UpDateItems();
    EXPECT_FALSE(First()->Morphing);
    EXPECT_FALSE(bar_->Entries()[1]->Morphing);
    EXPECT_TRUE(Record()->Morphing);
    // With morphing off in the skin the lit look comes at once.
    saved_.Restore(Record());
    bar_->UpDateItems();
    EXPECT_FALSE(First()->Morphing);
    First()->MouseEnter();
    EXPECT_FALSE(bar_->MorphTimer->Enabled());
}

TEST_F(SkinnedMainMenuBarTest, FrameAnimationRunsUpWhileLitAndBackOrDropsOnLeaving) {
    // Three frames side by side: normal, lit and pressed pictures of the entry.
    TbsDataSkinMainMenuItem* r = Record();
    // The skin's pictures lie one pixel apart, so the frames are one pixel wider than the entry picture.
    r->AnimateSkinRect =
        TRect{r->SkinRect.Left, r->SkinRect.Top, r->SkinRect.Left + 3 * (r->SkinRect.Width() + 1), r->SkinRect.Bottom};
    r->FrameCount = 3;
    r->AnimateInterval = 30;
    r->InActiveAnimation = false;
    bar_->UpDateItems();
    TbsSkinMainMenuBarItem* e = First();
    ASSERT_TRUE(e->EnableAnimation());
    e->MouseEnter();
    EXPECT_EQ(e->CurrentFrame, 0);
    EXPECT_TRUE(bar_->AnimateTimer->Enabled());
    EXPECT_EQ(bar_->AnimateTimer->Interval(), 30u);
    ASSERT_TRUE(PumpUntil([&] { return e->CurrentFrame == 4 && !bar_->AnimateTimer->Enabled(); }));
    // Frame 3 of the strip starts with the pressed picture (its left edge is copied unstretched).
    const TRect edge{e->ObjectRect.Left, e->ObjectRect.Top, e->ObjectRect.Left + 4, e->ObjectRect.Bottom};
    e->CurrentFrame = 3;
    const std::vector<COLORREF> frame3 = Pixels(edge);
    e->CurrentFrame = 1;
    EXPECT_NE(Pixels(edge), frame3);
    e->CurrentFrame = 4;
    e->FDown = true;
    EXPECT_EQ(Pixels(edge), frame3);
    e->FDown = false;
    // Without InActiveAnimation leaving drops to the still picture at once.
    e->MouseLeave();
    EXPECT_EQ(e->CurrentFrame, 0);
    // With it the frames run back down.
    r->InActiveAnimation = true;
    bar_->UpDateItems();
    e = First();
    e->MouseEnter();
    ASSERT_TRUE(PumpUntil([&] { return e->CurrentFrame == 4; }));
    e->MouseLeave();
    EXPECT_EQ(e->CurrentFrame, 4);
    ASSERT_TRUE(PumpUntil([&] { return e->CurrentFrame == 0 && !bar_->AnimateTimer->Enabled(); }));
}

TEST_F(SkinnedMainMenuBarTest, ToolBarModeDrawsToolButtonsAndTheToolPanel) {
    TbsSkinMainMenuBarItem* e = First();
    const std::vector<COLORREF> plain = Pixels(e->ObjectRect);
    bar_->SetToolBarMode(true);
    EXPECT_NE(Pixels(e->ObjectRect), plain);
    // Corners of the nine-part tool button come straight from its picture: normal, then lit.
    EXPECT_EQ(BarPixel(e->ObjectRect.Left + 1, e->ObjectRect.Top + 1), SkinPixel(L"resizetoolbutton", 1, 1));
    e->MouseEnter();
    Pump(40);
    EXPECT_EQ(BarPixel(e->ObjectRect.Left + 1, e->ObjectRect.Top + 1),
              SkinPixel(L"resizetoolbutton", 1, 1, &TbsDataSkinButtonControl::ActiveSkinRect));
    e->MouseLeave();
    // See-through normal entries show the bar; no morphing then.
    bar_->SetToolBarModeItemTransparent(true);
    Record()->Morphing = true;
    bar_->UpDateItems();
    EXPECT_FALSE(First()->EnableMorphing());
    EXPECT_NE(BarPixel(First()->ObjectRect.Left + 1, First()->ObjectRect.Top + 1),
              SkinPixel(L"resizetoolbutton", 1, 1));
    // Without the skin's size the bar is the tool panel.
    bar_->UseSkinSize = false;
    EXPECT_EQ(BarPixel(1, 1), SkinPixel(L"resizetoolpanel", 1, 1));
}

TEST_F(SkinnedMainMenuBarTest, TransparentBarShowsItsParent) {
    const int x = bar_->Width() - 6, y = bar_->Height() / 2;
    EXPECT_NE(BarPixel(x, y), RGB(200, 0, 0));
    data_->MainMenuBarTransparent = true;
    EXPECT_EQ(BarPixel(x, y), RGB(200, 0, 0));
    // The entries keep their own pictures over it.
    EXPECT_NE(BarPixel(First()->ObjectRect.Left + 2, y), RGB(200, 0, 0));
}

TEST_F(SkinnedMainMenuBarTest, MdiButtonMorphsToItsLitPicture) {
    TbsDataSkinObject* closeRecord =
        data_->ObjectList[static_cast<std::size_t>(data_->GetIndex(L"mdiclosebutton"))].get();
    const bool was = closeRecord->Morphing;
    closeRecord->Morphing = true;
    TForm child(nullptr);
    bar_->MaximizedChild = [&child] { return &child; };
    bar_->MDIChildMaximize();
    Pump(40);
    ASSERT_EQ(bar_->ButtonsCount, 4);
    auto* close = static_cast<TbsSkinMainMenuBarButton*>(bar_->ObjectList[1].get());
    ASSERT_EQ(close->Command, cmClose);
    ASSERT_TRUE(close->Morphing);
    const std::vector<COLORREF> normal = Pixels(close->ObjectRect);
    close->MouseEnter();
    EXPECT_EQ(close->FMorphKf, 0);
    ASSERT_TRUE(PumpUntil([&] { return close->FMorphKf == 1 && !bar_->MorphTimer->Enabled(); }));
    const std::vector<COLORREF> lit = Pixels(close->ObjectRect);
    EXPECT_NE(lit, normal);
    close->Morphing = false;
    EXPECT_EQ(Pixels(close->ObjectRect), lit);
    close->MouseLeave();
    closeRecord->Morphing = was;
    bar_->MaximizedChild = nullptr;
    bar_->MDIChildRestore();
    EXPECT_EQ(bar_->ButtonsCount, 0);
}

}  // namespace
