// Skinned popup menus on real windows under Wine: hover, keys and clicks drive the menu (the cursor by SetCursorPos
// and the 50 ms poll, keys posted to the form, clicks by SendInput); levels are painted into memory DCs for pixel
// checks with a colour-coded menu skin built from the fixture skin; placement on the work area; the form's system
// menu on Alt+Space and the tray icon's skinned menu. With TRELM_SHOTS set, PNGs of menus in several skins.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "WindowTestUtil.h"
#include "classlib/WicCodec.h"
#include "LayeredAlphaRecorder.h"
#include "base/Handles.h"
#include "SkinFormFixture.h"
#include "SkinTestPaths.h"
#include "skin/form/MenuLevelProps.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"
#include "skin/form/TrayIcon.h"

namespace {

using skintest::FixtureFolder;
using skintest::SetSkin;
using skintest::Widen;

// The fixture's colours for the menu parts (as COLORREF, 0x00BBGGRR).
constexpr COLORREF kItemNormal = RGB(10, 200, 10);
constexpr COLORREF kItemActive = RGB(200, 10, 10);
constexpr COLORREF kDivider = RGB(10, 10, 200);
constexpr COLORREF kCheck = RGB(250, 250, 0);
constexpr COLORREF kDisabledText = RGB(128, 0, 128);
constexpr COLORREF kPopupBorder = RGB(0, 100, 100);

void FillBitmap(TBitmap& b, const TRect& r, COLORREF c) {
    b.Canvas()->Brush()->SetStyle(bsSolid);
    b.Canvas()->Brush()->SetColor(static_cast<TColor>(c));
    b.Canvas()->FillRect(r);
}

void SaveBmp(TBitmap& b, const std::wstring& file) {
    b.SetPixelFormat(pf24bit);
    b.SaveToFile(file);
}

// The colour-coded fixture skin plus a menu item record, a popup window and a hint window of flat colours, written
// to a folder of its own: menu.bmp (normal item 0,0-60,20; active 0,20-60,40; divider 0,40-60,44; check mark
// 0,44-10,54 with a transparent bottom-left pixel), popup.bmp 30 x 30 and hint.bmp 30 x 20.
std::wstring MenuFixtureSkin() {
    static std::wstring ini;
    if (!ini.empty())
        return ini;
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring dir = std::wstring(tmp) + L"trelm_menu_skin_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring src = Widen(TRELM_SKIN_FIXTURES) + L"\\colorcoded\\";
    for (const wchar_t* f : {L"frame.bmp", L"frame_inactive.bmp", L"capbuttons.bmp", L"controls.bmp"})
        CopyFileW((src + f).c_str(), (dir + L"\\" + f).c_str(), FALSE);
    TBitmap menu(64, 60, pf24bit);
    FillBitmap(menu, {0, 0, 64, 60}, RGB(255, 0, 255));
    FillBitmap(menu, {0, 0, 60, 20}, kItemNormal);
    FillBitmap(menu, {0, 20, 60, 40}, kItemActive);
    FillBitmap(menu, {0, 40, 60, 44}, kDivider);
    FillBitmap(menu, {0, 44, 10, 54}, kCheck);
    menu.Canvas()->SetPixel(0, 53, static_cast<TColor>(RGB(255, 0, 255)));
    SaveBmp(menu, dir + L"\\menu.bmp");
    TBitmap popup(30, 30, pf24bit);
    FillBitmap(popup, {0, 0, 30, 30}, kPopupBorder);
    FillBitmap(popup, {3, 3, 27, 27}, RGB(0, 150, 150));
    SaveBmp(popup, dir + L"\\popup.bmp");
    TBitmap hint(30, 20, pf24bit);
    FillBitmap(hint, {0, 0, 30, 20}, RGB(100, 0, 100));
    FillBitmap(hint, {4, 4, 26, 16}, RGB(255, 255, 200));
    SaveBmp(hint, dir + L"\\hint.bmp");

    std::wifstream in((src + L"skin.ini").c_str());
    std::wstringstream text;
    text << in.rdbuf();
    std::wstring s = text.str();
    auto replace = [&](const std::wstring& from, const std::wstring& to) {
        const size_t p = s.find(from);
        if (p != std::wstring::npos)
            s.replace(p, from.size(), to);
    };
    // The menu pictures take the place of the fixture's pictures after the first two, however many it lists.
    const size_t list = s.find(L"activepicturescount=");
    const size_t end = list == std::wstring::npos ? list : s.find(L"\n\n", list);
    if (end != std::wstring::npos)
        s.replace(list, end + 1 - list,
                  L"activepicturescount=5\n0=capbuttons.bmp\n1=controls.bmp\n2=menu.bmp\n3=popup.bmp\n4=hint.bmp\n");
    replace(L"[SKINOBJECTS]\ncount=7\n", L"[SKINOBJECTS]\ncount=8\n7=menuitem:menuitem\n");
    s += L"\n[menuitem]\nskinrectinapicture=1\nskinrect=0,0,60,20\nactiveskinrect=0,20,60,40\nactivepictureindex=2\n"
         L"dividerrect=0,40,60,44\ndividerleftoffset=2\ndividerrightoffset=2\nitemleftoffset=4\nitemrightoffset=4\n"
         L"fontname=Arial\nfontheight=14\nfontstyle=\nunenabledfontcolor=" +
         std::to_wstring(kDisabledText) +
         L"\nfontcolor=0\nactivefontcolor=16777215\ntextrect=20,0,56,20\n"
         L"imagerect=0,0,0,0\nstretcheffect=1\ndividerstretcheffect=1\ninactivestretcheffect=1\n"
         L"checkimagerect=0,44,10,54\nactivecheckimagerect=0,44,10,54\n"
         L"\n[POPUPWINDOW]\nwindowpictureindex=3\nmaskpictureindex=-1\nlefttoppoint=8,8\nrighttoppoint=22,8\n"
         L"leftbottompoint=8,22\nrightbottompoint=22,22\nitemsrect=3,3,27,27\nscrollmarkercolor=0\n"
         L"scrollmarkeractivecolor=255\nleftstretch=1\nrightstretch=1\ntopstretch=1\nbottomstretch=1\n"
         L"stretcheffect=1\nstretchtype=stfull\n"
         L"\n[HINTWINDOW]\nwindowpictureindex=4\nmaskpictureindex=-1\nlefttoppoint=6,6\nrighttoppoint=24,6\n"
         L"leftbottompoint=6,14\nrightbottompoint=24,14\nclientrect=4,4,26,16\nfontname=Arial\nfontheight=14\n"
         L"fontstyle=\nfontcolor=0\nleftstretch=1\nrightstretch=1\ntopstretch=1\nbottomstretch=1\nstretcheffect=1\n"
         L"stretchtype=stfull\n";
    std::wofstream out((dir + L"\\skin.ini").c_str());
    out << s;
    out.close();
    ini = dir + L"\\skin.ini";
    return ini;
}

// Paints a level into a memory bitmap (never the screen).
std::unique_ptr<TBitmap> Paint(TbsSkinPopupWindow* level) {
    auto b = std::make_unique<TBitmap>(level->Width(), level->Height(), pf24bit);
    level->PaintMenu(b->Canvas()->Handle());
    return b;
}

COLORREF Px(TBitmap* b, int x, int y) {
    return GetPixel(b->Canvas()->Handle(), x, y) & 0xFFFFFF;
}

bool HasColour(TBitmap* b, const TRect& r, COLORREF c) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (Px(b, x, y) == c)
                return true;
    return false;
}

void SavePng(TBitmap* b, const std::wstring& name) {
    const char* dir = std::getenv("TRELM_SHOTS");
    if (!dir)
        return;
    const int w = b->Width(), h = b->Height();
    std::vector<std::uint32_t> px(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = Px(b, x, y);
            px[static_cast<size_t>(y) * w + x] =
                0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    const std::wstring file = Widen(dir) + L"\\" + name + L".png";
    std::ofstream(file.c_str(), std::ios::binary) << EncodePng(px.data(), w, h);
}

void Click(int x, int y) {
    SetCursorPos(x, y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

class SkinMenuTest : public SkinFormFixture {
  protected:
    SkinMenuTest() : SkinFormFixture(60, 60, 400, 300, L"Menu host") {}
    void SetUp() override {
        SkinFormFixture::SetUp();
        // Counts the close notices the form gets (ahead of the skinned form's own procedure).
        TWndMethod inner = form_->WindowProc;
        form_->WindowProc = [this, inner](TMessage& m) {
            if (m.Msg == WM_CLOSESKINMENU) {
                ++closeNotices_;
                log_.push_back(L"form 1228");
            }
            inner(m);
        };
        menu_ = new TbsSkinPopupMenu(form_);
    }
    void TearDown() override {
        if (form_)
            skinForm_->SkinMenu()->Hide();
        SkinFormFixture::TearDown();
    }
    TMenuItem* Add(TMenuItem* parent, const std::wstring& caption, std::function<void()> click = nullptr) {
        auto* item = new TMenuItem(menu_);
        item->SetCaption(caption);
        if (click)
            item->OnClick = [click](TObject*) { click(); };
        parent->Add(item);
        return item;
    }
    void Key(WPARAM vk) {
        PostMessageW(form_->Handle(), WM_KEYDOWN, vk, 1);
        Pump(60);
    }
    TbsSkinMenu* menu() { return skinForm_->SkinMenu(); }
    TbsSkinPopupWindow* level(int i) { return menu()->Level(i); }
    RECT LevelRect(int i) {
        RECT r{};
        GetWindowRect(level(i)->Handle(), &r);
        return r;
    }
    // Menu of the shots and the painting tests: a submenu, a checked item, a disabled item, a short cut and a divider.
    void BuildRichMenu() {
        TMenuItem* root = menu_->Items();
        TMenuItem* open = Add(root, L"&Открыть почту");
        Add(open, L"Первый ящик");
        Add(open, L"Second box");
        TMenuItem* check = Add(root, L"&Проверить сейчас");
        check->SetChecked(true);
        TMenuItem* off = Add(root, L"Очистить сообщения");
        off->SetEnabled(false);
        Add(root, L"-");
        TMenuItem* exit = Add(root, L"В&ыход");
        exit->SetShortCut(TextToShortCut(L"Ctrl+Q"));
    }

    TbsSkinPopupMenu* menu_ = nullptr;
    int closeNotices_ = 0;
    std::vector<std::wstring> log_;
};

// A control that opens menus on its own behalf and records what it is told.
class MenuButton : public TCustomControl {
  public:
    MenuButton(TComponent* owner, std::vector<std::wstring>& log) : TCustomControl(owner), log_(log) {}
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_CLOSESKINMENU)
            log_.push_back(L"control 1228");
        if (m.Msg == WM_AFTERDISPATCH)
            log_.push_back(L"control 1229");
        TCustomControl::WndProc(m);
    }

  private:
    std::vector<std::wstring>& log_;
};

TEST(SkinMenuUnit, CanMenuCloseTable) {
    for (UINT m : {3u, 5u, 6u, 8u, 31u, 33u, 161u, 164u, 167u, 513u, 516u, 519u, 528u})
        EXPECT_TRUE(CanMenuClose(m)) << m;
    for (UINT m : {0u, 15u, 20u, 160u, 256u, 512u, 514u, 1228u})
        EXPECT_FALSE(CanMenuClose(m)) << m;
}

TEST_F(SkinMenuTest, HoverKeysAndOutsideClick) {
    Load(MenuFixtureSkin());
    ShowForm();
    int second = 0, subA = 0;
    TMenuItem* first = Add(menu_->Items(), L"&First");
    Add(first, L"Sub &A", [&] { ++subA; });
    Add(first, L"Sub &B");
    Add(menu_->Items(), L"&Second", [&] { ++second; });
    Add(menu_->Items(), L"&Third");

    const RECT fr = [&] {
        RECT r;
        GetWindowRect(form_->Handle(), &r);
        return r;
    }();
    menu_->Popup(fr.left + 40, fr.top + 60);
    ASSERT_TRUE(menu()->Visible());
    ASSERT_EQ(menu()->LevelCount(), 1);
    EXPECT_TRUE(skinForm_->InMenu());
    // The first enabled item is highlighted as the level opens.
    EXPECT_EQ(level(0)->ActiveItem, 0);

    // Hover over the item with the submenu: it opens after the wait, not at once.
    const RECT lr = LevelRect(0);
    const TRect item0 = level(0)->ItemList[0]->ObjectRect;
    SetCursorPos(lr.left + item0.Left + 20, lr.top + item0.Top + item0.Height() / 2);
    Pump(250);
    EXPECT_EQ(menu()->LevelCount(), 1);
    ASSERT_TRUE(PumpUntil([&] { return menu()->LevelCount() == 2; }, 2000));
    EXPECT_TRUE(level(0)->ItemList[0]->Down);
    // Window texts for outside tools: the root is "Menu", a submenu its entry's caption.
    wchar_t text[64] = {};
    GetWindowTextW(level(0)->Handle(), text, 64);
    EXPECT_STREQ(text, L"Menu");
    GetWindowTextW(level(1)->Handle(), text, 64);
    EXPECT_STREQ(text, L"First");
    // And the entries of each level from its properties.
    EXPECT_EQ(MenuLevelEntries(level(0)->Handle()), (std::vector<std::wstring>{L"First", L"Second", L"Third"}));
    EXPECT_EQ(MenuLevelEntries(level(1)->Handle()), (std::vector<std::wstring>{L"Sub A", L"Sub B"}));
    // The submenu stands beside its item, one pixel right of it, its first item level with it.
    const RECT sr = LevelRect(1);
    EXPECT_EQ(sr.left, lr.left + item0.Right + 1);
    EXPECT_EQ(sr.top + level(1)->NewItemsRect.Top, lr.top + item0.Top);

    // Esc closes one level.
    Key(VK_ESCAPE);
    ASSERT_EQ(menu()->LevelCount(), 1);
    EXPECT_FALSE(level(0)->ItemList[0]->Down);

    // Down, Down, Up, Enter runs the second item; the form hears of the close. The cursor rests on our own form
    // below the menu: over a foreign window a stray press from elsewhere on the desktop would close the menu.
    SetCursorPos(fr.left + 20, fr.bottom - 20);
    Pump(80);
    const int noticesBefore = closeNotices_;
    Key(VK_DOWN);
    EXPECT_EQ(level(0)->ActiveItem, 1);
    Key(VK_DOWN);
    EXPECT_EQ(level(0)->ActiveItem, 2);
    Key(VK_UP);
    Key(VK_RETURN);
    EXPECT_EQ(second, 1);
    EXPECT_FALSE(menu()->Visible());
    EXPECT_EQ(menu()->LevelCount(), 0);
    EXPECT_GT(closeNotices_, noticesBefore);
    EXPECT_FALSE(skinForm_->InMenu());

    // Reopen, go into the submenu by keys, choose by its accelerator.
    menu_->Popup(fr.left + 40, fr.top + 60);
    Key(VK_RIGHT);
    ASSERT_EQ(menu()->LevelCount(), 2);
    Key('A');
    EXPECT_EQ(subA, 1);
    EXPECT_FALSE(menu()->Visible());

    // A click outside (on the form) closes every level and tells the form.
    menu_->Popup(fr.left + 40, fr.top + 60);
    Key(VK_RIGHT);
    ASSERT_EQ(menu()->LevelCount(), 2);
    const int before = closeNotices_;
    Click(fr.right - 30, fr.bottom - 30);
    ASSERT_TRUE(PumpUntil([&] { return !menu()->Visible(); }, 2000));
    EXPECT_EQ(menu()->LevelCount(), 0);
    EXPECT_GT(closeNotices_, before);
    EXPECT_EQ(second, 1);
}

TEST_F(SkinMenuTest, ClickOnAnItemChoosesIt) {
    Load(MenuFixtureSkin());
    ShowForm();
    int second = 0;
    Add(menu_->Items(), L"&First");
    Add(menu_->Items(), L"&Second", [&] { ++second; });
    menu_->Popup(200, 200);
    ASSERT_EQ(menu()->LevelCount(), 1);
    const RECT lr = LevelRect(0);
    const TRect r = level(0)->ItemList[1]->ObjectRect;
    Click(lr.left + r.Left + 10, lr.top + r.Top + r.Height() / 2);
    ASSERT_TRUE(PumpUntil([&] { return second == 1; }, 2000));
    EXPECT_FALSE(menu()->Visible());
    // The level went away after its own handler had returned.
    Pump(50);
    EXPECT_EQ(menu()->LevelCount(), 0);
}

TEST_F(SkinMenuTest, AnItemThatFreesTheFormFromItsClick) {
    Load(MenuFixtureSkin());
    ShowForm();
    // A menu of its own (not the form's component), shown through the form.
    auto own = std::make_unique<TbsSkinPopupMenu>(nullptr);
    own->SetComponentForm(form_);
    int after = 0;
    auto* item = new TMenuItem(own.get());
    item->SetCaption(L"&Close the window");
    item->OnClick = [&](TObject*) {
        delete form_;  // the skinned form and its menu go while the level's click handler runs
        form_ = nullptr;
        ++after;
    };
    own->Items()->Add(item);
    own->Popup(200, 200);
    TbsSkinPopupWindow* l = level(0);
    RECT lr{};
    GetWindowRect(l->Handle(), &lr);
    const TRect r = l->ItemList[0]->ObjectRect;
    Click(lr.left + r.Left + 10, lr.top + r.Top + r.Height() / 2);
    ASSERT_TRUE(PumpUntil([&] { return after == 1; }, 2000));
    Pump(100);
    EXPECT_EQ(form_, nullptr);
    EXPECT_EQ(own->ComponentForm(), nullptr);
}

TEST_F(SkinMenuTest, ChoosingNotifiesInOrder) {
    Load(MenuFixtureSkin());
    ShowForm();
    auto* button = new MenuButton(form_, log_);
    button->SetParent(form_);
    button->SetBounds(10, 10, 80, 24);
    Add(menu_->Items(), L"&Run", [&] { log_.push_back(L"OnClick"); });
    menu_->OnMenuClose = [&](TObject* sender) {
        log_.push_back(sender == menu() ? L"OnMenuClose" : L"OnMenuClose from the wrong sender");
    };
    // Beside the button's screen rectangle, upwards when there is room.
    RECT br{};
    GetWindowRect(button->Handle(), &br);
    menu_->PopupFromRect2(button, {br.left, br.top, br.right, br.bottom}, false);
    ASSERT_EQ(menu()->LevelCount(), 1);
    EXPECT_EQ(LevelRect(0).top, br.bottom);
    log_.clear();
    Key(VK_RETURN);
    EXPECT_EQ(log_,
              (std::vector<std::wstring>{L"control 1228", L"OnMenuClose", L"form 1228", L"OnClick", L"control 1229"}));
    // Escape on the root level tells the control, not the form; the one-shot close handler is gone.
    menu_->OnMenuClose = nullptr;
    menu_->Popup2(button, 100, 100);
    ASSERT_EQ(menu()->LevelCount(), 1);
    log_.clear();
    Key(VK_ESCAPE);
    EXPECT_EQ(menu()->LevelCount(), 0);
    EXPECT_EQ(log_, (std::vector<std::wstring>{L"control 1228"}));
    // The form leaves its menu mode on that Escape itself.
    EXPECT_FALSE(skinForm_->InMenu());
}

TEST_F(SkinMenuTest, MergedMenuTakesTheSecondMenusGroups) {
    ShowForm();
    TPopupMenu second(nullptr);
    auto item = [](TComponent* owner, TMenuItem* parent, const wchar_t* caption, BYTE group) {
        auto* i = new TMenuItem(owner);
        i->SetCaption(caption);
        i->SetGroupIndex(group);
        parent->Add(i);
    };
    item(menu_, menu_->Items(), L"Own 0", 0);
    item(menu_, menu_->Items(), L"Own 1", 1);
    item(menu_, menu_->Items(), L"Own 3", 3);
    item(&second, second.Items(), L"Child 2", 2);
    item(&second, second.Items(), L"Child 1", 1);
    menu()->Popup2(nullptr, nullptr, 0, {100, 100, 100, 100}, menu_->Items(), second.Items(), false);
    ASSERT_EQ(menu()->LevelCount(), 1);
    std::vector<std::wstring> captions;
    for (auto& i : level(0)->ItemList)
        captions.push_back(i->MenuItem->Caption());
    // The own group 1 gives way to the second menu's group 1; the rest is ordered by group.
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"Own 0", L"Child 1", L"Child 2", L"Own 3"}));
    // The merged level has 6 pixels of margin in the default look.
    EXPECT_EQ(level(0)->Height(), 4 * 20 + 6);
    menu()->Hide();
}

TEST_F(SkinMenuTest, ItemsWithoutTheSkinsSizeAreStretched) {
    Load(MenuFixtureSkin());
    ShowForm();
    menu()->FUseSkinSize = false;
    menu()->FDefaultMenuItemHeight = 30;
    Add(menu_->Items(), L"First");
    Add(menu_->Items(), L"Second");
    menu_->Popup(150, 150);
    ASSERT_EQ(menu()->LevelCount(), 1);
    TbsSkinPopupWindow* l = level(0);
    const TRect a = l->ItemList[0]->ObjectRect, n = l->ItemList[1]->ObjectRect;
    EXPECT_EQ(a.Height(), 30);
    auto pic = Paint(l);
    EXPECT_EQ(Px(pic.get(), a.Right - 2, a.Bottom - 2), kItemActive);
    EXPECT_EQ(Px(pic.get(), n.Right - 2, n.Bottom - 2), kItemNormal);
}

TEST_F(SkinMenuTest, PlacementFlipsAtTheEdgesAndTallMenusScroll) {
    ShowForm();
    for (int i = 0; i < 6; ++i)
        Add(menu_->Items(), L"Item " + std::to_wstring(i));
    const TRect wa = menu()->GetWorkArea({100, 100});
    menu_->Popup(wa.Right - 5, wa.Bottom - 5);
    ASSERT_EQ(menu()->LevelCount(), 1);
    RECT r = LevelRect(0);
    EXPECT_EQ(r.right, wa.Right);
    EXPECT_EQ(r.bottom, wa.Bottom - 5);  // above the point: Y = point - height
    EXPECT_FALSE(level(0)->Scroll);
    menu()->Hide();

    // Taller than the work area: as high as the work area, from its top, with markers and scrolling.
    menu_->Items()->Clear();
    for (int i = 0; i < 120; ++i)
        Add(menu_->Items(), L"Row " + std::to_wstring(i));
    menu_->Popup(100, 100);
    ASSERT_EQ(menu()->LevelCount(), 1);
    TbsSkinPopupWindow* l = level(0);
    r = LevelRect(0);
    EXPECT_TRUE(l->Scroll);
    EXPECT_EQ(r.top, wa.Top);
    EXPECT_EQ(r.bottom - r.top, wa.Height());
    EXPECT_LT(l->VisibleCount, 120);
    EXPECT_FALSE(l->ItemList[119]->FVisible);
    auto pic = Paint(l);
    const COLORREF shadow = ColorToRGB(clBtnShadow) & 0xFFFFFF;
    EXPECT_TRUE(HasColour(pic.get(), {3, 3, l->Width() - 3, 13}, shadow)) << "up marker";
    EXPECT_TRUE(HasColour(pic.get(), {3, l->Height() - 13, l->Width() - 3, l->Height() - 3}, shadow)) << "down marker";
    // Hovering the bottom marker scrolls down.
    SetCursorPos(r.left + l->Width() / 2, r.bottom - 6);
    ASSERT_TRUE(PumpUntil([&] { return l->VisibleStartIndex > 2; }, 3000));
    SetCursorPos(5, 5);
    Pump(120);
    EXPECT_EQ(l->ScrollCode, 0);
    // Up from the first item wraps to the last one, bringing it into view.
    menu()->Hide();
    menu_->Popup(100, 100);
    l = level(0);
    Key(VK_UP);
    EXPECT_EQ(l->ActiveItem, 119);
    EXPECT_TRUE(l->ItemList[119]->FVisible);
}

TEST_F(SkinMenuTest, MaxItemsInWindowGivesAScrollingLevel) {
    ShowForm();
    menu()->MaxMenuItemsInWindow = 2;
    for (int i = 0; i < 3; ++i)
        Add(menu_->Items(), L"Item " + std::to_wstring(i));
    menu_->Popup(100, 100);
    ASSERT_EQ(menu()->LevelCount(), 1);
    EXPECT_EQ(level(0)->Height(), 2 * 20 + 4 + 20);
    EXPECT_TRUE(level(0)->Scroll);
    EXPECT_EQ(level(0)->VisibleCount, 2);
    // Placed by the normal rules, below the point.
    EXPECT_EQ(LevelRect(0).top, 100);
}

TEST_F(SkinMenuTest, PaintingWithTheColourCodedSkin) {
    Load(MenuFixtureSkin());
    ShowForm();
    BuildRichMenu();
    menu_->Popup(150, 150);
    ASSERT_EQ(menu()->LevelCount(), 1);
    TbsSkinPopupWindow* l = level(0);
    ASSERT_NE(l->PW, nullptr);
    ASSERT_NE(l->DSMI, nullptr);
    auto pic = Paint(l);
    SavePng(pic.get(), L"fixture_menu");
    const auto& items = l->ItemList;
    // The window picture's border around the items.
    EXPECT_EQ(Px(pic.get(), 0, 0), kPopupBorder);
    // The highlighted first item uses the active picture, the others the normal one.
    const TRect a = items[0]->ObjectRect;
    EXPECT_EQ(Px(pic.get(), a.Right - 2, a.Top + 1), kItemActive);
    const TRect n = items[1]->ObjectRect;
    EXPECT_EQ(Px(pic.get(), n.Right - 2, n.Top + 1), kItemNormal);
    // The checked item draws the skin's check picture in its glyph column.
    EXPECT_TRUE(HasColour(pic.get(), {n.Left + 20, n.Top, n.Left + 38, n.Bottom}, kCheck));
    EXPECT_FALSE(HasColour(pic.get(), {a.Left, a.Top, a.Right, a.Bottom}, kCheck));
    // The disabled item's caption is in the disabled text colour.
    const TRect d = items[2]->ObjectRect;
    EXPECT_TRUE(HasColour(pic.get(), d, kDisabledText));
    EXPECT_FALSE(HasColour(pic.get(), n, kDisabledText));
    // The divider is as high as its picture and drawn from it.
    const TRect s = items[3]->ObjectRect;
    EXPECT_EQ(s.Height(), 4);
    EXPECT_EQ(Px(pic.get(), s.Left + s.Width() / 2, s.Top + 1), kDivider);
    // Keys move the highlight: the first item goes back to the normal picture.
    Key(VK_DOWN);
    pic = Paint(l);
    EXPECT_EQ(Px(pic.get(), a.Right - 2, a.Top + 1), kItemNormal);
    EXPECT_EQ(Px(pic.get(), n.Right - 2, n.Top + 1), kItemActive);
    // The skin's record is only read.
    EXPECT_EQ(l->DSMI->SkinRect, (TRect{0, 0, 60, 20}));
}

TEST_F(SkinMenuTest, DefaultLookWithoutASkin) {
    ShowForm();
    BuildRichMenu();
    menu_->Popup(150, 150);
    ASSERT_EQ(menu()->LevelCount(), 1);
    TbsSkinPopupWindow* l = level(0);
    EXPECT_EQ(l->PW, nullptr);
    auto pic = Paint(l);
    SavePng(pic.get(), L"default_menu");
    EXPECT_EQ(Px(pic.get(), 0, 0), ColorToRGB(clBtnShadow) & 0xFFFFFF);
    const auto& items = l->ItemList;
    EXPECT_EQ(items[0]->ObjectRect.Height(), 20);
    EXPECT_EQ(items[3]->ObjectRect.Height(), 4);
    const TRect a = items[0]->ObjectRect;
    EXPECT_EQ(Px(pic.get(), a.Right - 2, a.Top + 1), static_cast<COLORREF>(RGB(193, 212, 243)));
    const TRect n = items[1]->ObjectRect;
    EXPECT_EQ(Px(pic.get(), n.Right - 2, n.Top + 1), ColorToRGB(clWindow) & 0xFFFFFF);
    // The check mark and the disabled caption.
    EXPECT_TRUE(HasColour(pic.get(), {n.Left, n.Top, n.Left + 19, n.Bottom}, ColorToRGB(clWindowText) & 0xFFFFFF));
    EXPECT_TRUE(HasColour(pic.get(), items[2]->ObjectRect, ColorToRGB(clBtnShadow) & 0xFFFFFF));
}

TEST_F(SkinMenuTest, ShotsInSkinsOfTheSet) {
    BuildRichMenu();
    ShowForm();
    for (const wchar_t* skin : {L"00_Aero_Ocean", L"06_Carbon_Rose", L"12_Luna_Jade", L""}) {
        if (*skin) {
            Load(SetSkin(skin));
            menu_->SetSkinData(data_);
        } else {
            skinForm_->SetSkinData(nullptr);
            menu_->SetSkinData(nullptr);
        }
        menu_->Popup(150, 150);
        ASSERT_EQ(menu()->LevelCount(), 1) << skin;
        // Open the submenu by key to show it beside its item.
        Key(VK_RIGHT);
        ASSERT_EQ(menu()->LevelCount(), 2) << skin;
        EXPECT_EQ(level(0)->PW != nullptr, *skin != 0) << skin;
        EXPECT_EQ(level(0)->DSMI != nullptr, *skin != 0) << skin;
        auto root = Paint(level(0));
        auto sub = Paint(level(1));
        // Both levels side by side as they stand on the screen.
        const RECT r0 = LevelRect(0), r1 = LevelRect(1);
        const int w = r1.right - r0.left + 8, h = std::max(r0.bottom, r1.bottom) - r0.top + 8;
        TBitmap sheet(w, h, pf24bit);
        FillBitmap(sheet, {0, 0, w, h}, RGB(255, 255, 255));
        sheet.Canvas()->Draw(4, 4, root.get());
        sheet.Canvas()->Draw(4 + r1.left - r0.left, 4 + r1.top - r0.top, sub.get());
        SavePng(&sheet, std::wstring(L"menu_") + (*skin ? skin : L"default_look"));
        // The level's frame comes from the skin's picture, not the default look's shadow frame.
        if (*skin) {
            EXPECT_NE(Px(root.get(), root->Width() / 2, 0), ColorToRGB(clBtnShadow) & 0xFFFFFF) << skin;
        }
        menu()->Hide();
    }
}

TEST_F(SkinMenuTest, MorphingMaskAndTranslucency) {
    Load(SetSkin(L"00_Aero_Ocean"));
    ShowForm();
    for (int i = 0; i < 3; ++i)
        Add(menu_->Items(), L"Item " + std::to_wstring(i));
    menu()->AlphaBlend = true;
    menu()->AlphaBlendValue = 200;
    menu_->Popup(150, 150);
    ASSERT_EQ(menu()->LevelCount(), 1);
    TbsSkinPopupWindow* l = level(0);
    ASSERT_TRUE(l->DSMI->Morphing);
    // The mask shapes the level: the corner is cut away, the middle is inside.
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(l->Handle(), rgn), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(rgn, l->Width() / 2, l->Height() / 2));
    DeleteObject(rgn);
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_NE(GetWindowLongPtrW(l->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    ASSERT_TRUE(GetLayeredWindowAttributes(l->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 200);
    // The highlight morphs in steps toward the next item and away from the last.
    ASSERT_TRUE(PumpUntil([&] { return l->ItemList[0]->FMorphKf >= 1; }));
    Key(VK_DOWN);
    ASSERT_TRUE(PumpUntil([&] { return l->ItemList[1]->FMorphKf >= 1 && l->ItemList[0]->FMorphKf <= 0; }));
    EXPECT_TRUE(PumpUntil([&] { return !l->MorphTimer->Enabled(); }));
    auto pic = Paint(l);
    SavePng(pic.get(), L"menu_morphed_Aero_Ocean");
}

TEST_F(SkinMenuTest, GroupCaptionsInTheDefaultLook) {
    ShowForm();
    TMenuItem* header = Add(menu_->Items(), L"-Почта-");
    header->SetEnabled(false);
    TMenuItem* dashes = Add(menu_->Items(), L"-Почта-");
    Add(menu_->Items(), L"Item");
    menu_->Popup(150, 150);
    ASSERT_EQ(menu()->LevelCount(), 1);
    TbsSkinPopupWindow* l = level(0);
    EXPECT_TRUE(l->ItemList[0]->IsGroupCaption());
    EXPECT_FALSE(l->ItemList[1]->IsGroupCaption());
    // The first selectable item is the enabled one with the dashes.
    EXPECT_EQ(l->ActiveItem, 1);
    EXPECT_EQ(l->ItemList[1]->MenuItem, dashes);
    auto pic = Paint(l);
    const TRect g = l->ItemList[0]->ObjectRect;
    EXPECT_EQ(Px(pic.get(), g.Left + 1, g.Top + 1), ColorToRGB(clBtnShadow) & 0xFFFFFF);
    EXPECT_TRUE(HasColour(pic.get(), g, ColorToRGB(clBtnHighlight) & 0xFFFFFF));
}

TEST_F(SkinMenuTest, AltSpaceOpensTheSystemMenuForTheFormsState) {
    Load(MenuFixtureSkin());
    ShowForm();
    INPUT in[4]{};
    for (auto& i : in)
        i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = VK_MENU;
    in[1].ki.wVk = VK_SPACE;
    in[2].ki.wVk = VK_SPACE;
    in[2].ki.dwFlags = KEYEVENTF_KEYUP;
    in[3].ki.wVk = VK_MENU;
    in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, in, sizeof(INPUT));
    ASSERT_TRUE(PumpUntil([&] { return menu()->Visible(); }, 2000));
    auto names = [&] {
        std::vector<std::wstring> n;
        for (auto& item : level(0)->ItemList)
            n.push_back(item->MenuItem->IsLine() ? L"-" : item->MenuItem->Name());
        return n;
    };
    EXPECT_EQ(names(), (std::vector<std::wstring>{L"SKF_MINITEM", L"SKF_MAXITEM", L"SKF_ROLLUP", L"-", L"SKF_CLOSE"}));
    // It opens at the caption's system-menu button, below it.
    RECT wr{};
    GetWindowRect(form_->Handle(), &wr);
    const TRect button = skinForm_->ObjectRect(L"sysmenubutton");
    EXPECT_EQ(LevelRect(0).top, wr.top + button.Bottom);
    EXPECT_EQ(LevelRect(0).left, wr.left + button.Left);
    auto pic = Paint(level(0));
    SavePng(pic.get(), L"system_menu_fixture");

    // Choosing Maximize runs it; the next system menu offers Restore instead.
    Key(VK_DOWN);
    Key(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return skinForm_->WindowState() == wsMaximized; }));
    skinForm_->PopupSystemMenu();
    ASSERT_TRUE(menu()->Visible());
    const auto n2 = names();
    EXPECT_EQ(std::count(n2.begin(), n2.end(), L"SKF_MAXITEM"), 0);
    EXPECT_EQ(std::count(n2.begin(), n2.end(), L"SKF_RESTORE"), 1);
    menu()->Hide();
    skinForm_->SetWindowState(wsNormal);
}

TEST_F(SkinMenuTest, TrayIconOpensASkinnedMenu) {
    Load(MenuFixtureSkin());
    ShowForm();
    for (const wchar_t* c : {L"Проверить почту", L"Открыть", L"Показать", L"Очистить сообщения", L"Выход"})
        Add(menu_->Items(), c);
    auto* tray = new TbsTrayIcon(form_);
    tray->SetIconVisible(false);
    tray->SetPopupMenu(menu_);
    // The shell's notice of a right click reaches the icon's hidden window.
    HWND hidden = tray->WindowHandle();
    ASSERT_NE(hidden, nullptr);
    SetCursorPos(300, 200);
    PostMessageW(hidden, WM_TRAYNOTIFY, 1, WM_RBUTTONDOWN);
    PostMessageW(hidden, WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return menu()->Visible(); }, 2000));
    EXPECT_EQ(level(0)->ItemList.size(), 5u);
    EXPECT_EQ(menu_->PopupPoint().X, 300);
    EXPECT_NE(level(0)->PW, nullptr);
    menu()->Hide();
}

TEST_F(SkinMenuTest, PressOutsideTheProgramClosesAMenuOfAHiddenForm) {
    // The notifier's case: the main window is hidden and the tray menu is open.
    Add(menu_->Items(), L"Open");
    Add(menu_->Items(), L"Exit");
    menu_->Popup(300, 300);
    ASSERT_TRUE(menu()->Visible());
    Pump(120);
    EXPECT_TRUE(menu()->Visible());
    const int before = closeNotices_;
    Click(3, 3);
    ASSERT_TRUE(PumpUntil([&] { return !menu()->Visible(); }, 2000));
    EXPECT_GT(closeNotices_, before);
    EXPECT_FALSE(skinForm_->InMenu());
}

TEST_F(SkinMenuTest, EmptyMenuLeavesNoMenuMode) {
    ShowForm();
    menu_->Popup(100, 100);
    EXPECT_FALSE(menu()->Visible());
    EXPECT_FALSE(skinForm_->InMenu());
}

TEST_F(SkinMenuTest, NoSkinnedFormShowsNothing) {
    auto* plain = new TForm(nullptr);
    auto* m = new TbsSkinPopupMenu(plain);
    auto* item = new TMenuItem(m);
    item->SetCaption(L"Item");
    m->Items()->Add(item);
    int popups = 0;
    m->OnPopup = [&](TObject*) { ++popups; };
    m->Popup(100, 100);
    EXPECT_EQ(popups, 1);
    EXPECT_FALSE(menu()->Visible());
    // Through ComponentForm it finds this test's skinned form.
    m->SetComponentForm(form_);
    m->Popup(100, 100);
    EXPECT_TRUE(menu()->Visible());
    menu()->Hide();
    delete plain;
}

TEST_F(SkinMenuTest, TheFirstLevelFadesInAndDeeperLevelsAppearAtOnce) {
    Load(MenuFixtureSkin());
    ShowForm();
    TMenuItem* first = Add(menu_->Items(), L"&First");
    Add(first, L"Sub &A");
    Add(menu_->Items(), L"&Second");
    menu()->AlphaBlend = true;
    menu()->AlphaBlendValue = 200;
    menu()->AlphaBlendAnimation = true;
    // Every reading of the clock is more than 5 ms after the last: a step at each one; the waits never come.
    int readings = 0, sleeps = 0;
    std::uint32_t now = 0;
    menu()->FadeClock = {[&] {
                             ++readings;
                             return now += 6;
                         },
                         [&](std::uint32_t) { ++sleeps; }};
    TLayeredAlphaRecorder alphas;
    const RECT fr = [&] {
        RECT r;
        GetWindowRect(form_->Handle(), &r);
        return r;
    }();
    menu_->Popup(fr.left + 40, fr.top + 60);
    ASSERT_EQ(menu()->LevelCount(), 1);
    // Shown transparent, then 200 div 15 = 13 a step, the last step capped at 200: 16 steps.
    std::vector<int> expected{0};
    for (int a = 13; a < 200; a += 13)
        expected.push_back(a);
    expected.push_back(200);
    EXPECT_EQ(alphas.For(level(0)->Handle()), expected);
    EXPECT_EQ(readings, 17);
    EXPECT_EQ(sleeps, 0);

    // The submenu of an open menu is at its alpha at once, without a fade.
    readings = 0;
    Key(VK_RIGHT);
    ASSERT_TRUE(PumpUntil([&] { return menu()->LevelCount() == 2; }));
    EXPECT_EQ(alphas.For(level(1)->Handle()), std::vector<int>{200});
    EXPECT_EQ(readings, 0);
    menu()->Hide();
    menu()->FadeClock = SystemFadeClock();
}

TEST_F(SkinMenuTest, MenusAndFramePaintingLeaveNoHandlesBehind) {
    Load(MenuFixtureSkin());
    ShowForm();
    TMenuItem* first = Add(menu_->Items(), L"&First");
    Add(first, L"Sub &A");
    for (int i = 0; i < 3; ++i)
        Add(menu_->Items(), L"Entry " + std::to_wstring(i));
    const RECT fr = [&] {
        RECT r;
        GetWindowRect(form_->Handle(), &r);
        return r;
    }();
    const auto round = [&](int i) {
        menu_->Popup(fr.left + 40, fr.top + 60);
        Key(VK_RIGHT);
        ASSERT_EQ(menu()->LevelCount(), 2);
        TbsSkinPopupWindow* root = level(0);
        root->DrawItemNow(root->ItemList[0].get());
        root->StopScroll();
        menu()->Hide();
        skinForm_->PaintNCSkin(nullptr);
        skinForm_->PaintNCDefault(nullptr);
        for (const auto& o : skinForm_->ObjectList)
            skinForm_->DrawSkinObject(o.get());
        form_->SetBounds(60, 60, 400 + (i % 2) * 20, 300);  // a new window region
        Pump(10);
    };
    // Once before counting: caches (fonts, bitmaps of the skin) fill on first use.
    round(1);
    const long gdi = LiveHandleCount(THandleKind::Gdi), dcs = LiveHandleCount(THandleKind::DC);
    for (int i = 0; i < 8; ++i)
        round(i);
    EXPECT_EQ(LiveHandleCount(THandleKind::Gdi), gdi);
    EXPECT_EQ(LiveHandleCount(THandleKind::DC), dcs);
}

}  // namespace
