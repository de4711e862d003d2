// The skinned list box: its layout arithmetic as tables, and the frame with its inner list on the shared skinned
// host form: bars made and removed with the content, scrolling through them, forwarded events, caption buttons on
// the seam's clock, and item pixels in the fixture's colours ("listbox": items 240,240,200 / active 40,90,160 /
// focused 160,40,90, item height 18).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "classlib/StdCtrls.h"
#include "skin/boxes/ListBoxGeometry.h"
#include "skin/boxes/SkinListBox.h"

namespace {

using namespace ctltest;

constexpr COLORREF kItem = RGB(240, 240, 200), kActiveItem = RGB(40, 90, 160), kFocusItem = RGB(160, 40, 90);

TEST(ListLayout, PlacesListAndBars) {
    struct Case {
        const char* name;
        TbsListLayoutInput in;
        TRect list, vbar, hbar;
    };
    TbsListLayoutInput plain;
    plain.Width = 120;
    plain.Height = 120;
    TbsListLayoutInput vbar = plain;
    vbar.VBar = true;
    TbsListLayoutInput both = vbar;
    both.HBar = true;
    TbsListLayoutInput caption = vbar;
    caption.CaptionMode = true;
    caption.DefaultCaptionHeight = 24;
    TbsListLayoutInput columns = vbar;
    columns.Columns = 2;
    columns.HBar = true;  // ignored with columns
    TbsListLayoutInput skin;
    skin.Width = 150;
    skin.Height = 100;
    skin.HasEntry = true;
    skin.NewClRect = TRect{4, 16, 146, 96};
    TbsListLayoutInput skinBars = skin;
    skinBars.VBar = true;
    skinBars.VBarWidth = 17;
    skinBars.HBar = true;
    skinBars.HBarHeight = 17;
    const Case cases[] = {
        {"no bars", plain, {2, 2, 118, 118}, {}, {}},
        {"vertical", vbar, {2, 2, 100, 118}, {100, 1, 119, 119}, {}},
        {"both", both, {2, 2, 100, 100}, {100, 1, 119, 101}, {1, 100, 119, 119}},
        {"caption", caption, {2, 25, 100, 118}, {100, 24, 119, 119}, {}},
        {"columns", columns, {2, 2, 118, 100}, {1, 100, 119, 119}, {}},
        {"skin", skin, {4, 16, 146, 96}, {}, {}},
        {"skin bars", skinBars, {4, 16, 129, 79}, {129, 16, 146, 79}, {4, 79, 146, 96}},
    };
    for (const Case& c : cases) {
        const TbsListLayout l = CalcListLayout(c.in);
        EXPECT_EQ(l.ListRect, c.list) << c.name;
        EXPECT_EQ(l.VBar, c.vbar) << c.name;
        EXPECT_EQ(l.HBar, c.hbar) << c.name;
    }
}

TEST(ListLayout, HeightsRowsAndTabStops) {
    EXPECT_EQ(ListFrameHeight(5, 20, false, 0, 0, false, 20, 0), 104);
    EXPECT_EQ(ListFrameHeight(5, 20, false, 0, 0, true, 20, 0), 124);
    EXPECT_EQ(ListFrameHeight(3, 18, true, 60, 40, false, 20, 17), 20 + 54 + 17);
    EXPECT_EQ(LastVisibleItem(0, 116, 20, 20, 0), 5);
    EXPECT_EQ(LastVisibleItem(17, 116, 20, 20, 0), 19);
    EXPECT_EQ(LastVisibleItem(0, 116, 20, 20, 3), 15);
    EXPECT_EQ(LastVisibleItem(0, 116, 20, 0, 0), -1);
    EXPECT_EQ(LastVisibleItem(0, 116, 0, 5, 0), -1);
    EXPECT_EQ(TabStopOf(L"40"), 40);
    EXPECT_EQ(TabStopOf(L""), 0);
    EXPECT_EQ(TabStopOf(L"4a"), 0);
    EXPECT_EQ(TabStopOf(L"-4"), 0);
    EXPECT_EQ(TabStopOf(L"99999999999999"), 0);
}

class SkinListBoxTest : public HostedControls {
  protected:
    // A list box on the host; Skinned false: no entry of its name (the built-in look).
    TbsSkinListBox* Make(bool Skinned, int Items, int W = 120, int H = 120) {
        auto* b = new TbsSkinListBox(host_->form);
        owned_.push_back(b);
        if (!Skinned)
            b->SetSkinDataName(L"nolistbox");
        b->SetSkinData(host_->data);
        b->SetParent(host_->form);
        b->SetBounds(10, 10, W, H);
        b->HandleNeeded();
        b->ChangeSkinData();
        for (int i = 0; i < Items; ++i)
            b->Items()->Add(L"item " + std::to_wstring(i));
        Pump(20);
        return b;
    }
    static TRect BoundsOf(TControl* c) { return c->BoundsRect(); }
    static std::unique_ptr<TBitmap> ListPixels(TbsSkinListBox* b) {
        return PaintInto(b->ListBox->Width(), b->ListBox->Height(), [&](HDC dc) { b->ListBox->PaintTo(dc); });
    }
};

TEST_F(SkinListBoxTest, BarFollowsTheContentAndTheListsRange) {
    TbsSkinListBox* b = Make(false, 20);
    ASSERT_NE(b->ScrollBar, nullptr);
    EXPECT_EQ(BoundsOf(b->ScrollBar), (TRect{100, 1, 119, 119}));
    EXPECT_EQ(BoundsOf(b->ListBox), (TRect{2, 2, 100, 118}));
    EXPECT_EQ(b->ScrollBar->Min(), 0);
    EXPECT_EQ(b->ScrollBar->Max(), 19);
    EXPECT_EQ(b->ScrollBar->PageSize(), 116 / 20);
    EXPECT_EQ(b->ScrollBar->LargeChange(), 116 / 20);
    EXPECT_EQ(SendMessageW(b->Handle(), LB_GETCOUNT, 0, 0), 20);
    b->SetItemIndex(3);
    EXPECT_EQ(SendMessageW(b->Handle(), LB_GETCURSEL, 0, 0), 3);
    while (b->Items()->Count() > 5)
        b->Items()->Delete(b->Items()->Count() - 1);
    Pump(20);
    EXPECT_EQ(b->ScrollBar, nullptr);
    EXPECT_EQ(BoundsOf(b->ListBox), (TRect{2, 2, 118, 118}));
}

TEST_F(SkinListBoxTest, BarAndWheelScrollTheList) {
    TbsSkinListBox* b = Make(false, 20);
    ASSERT_NE(b->ScrollBar, nullptr);
    b->ScrollBar->SetPosition(7);
    Pump(10);
    EXPECT_EQ(b->TopIndex(), 7);
    SendMessageW(b->ListBox->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(b->TopIndex(), 8);
    EXPECT_EQ(b->ScrollBar->Position(), 8);
    SendMessageW(b->ListBox->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(b->TopIndex(), 7);
    EXPECT_EQ(b->ScrollBar->Position(), 7);
}

TEST_F(SkinListBoxTest, RowCountSizesTheFrameAndAFullListShowsNoBar) {
    TbsSkinListBox* b = Make(false, 20);
    b->SetRowCount(5);
    EXPECT_EQ(b->Height(), 104);
    EXPECT_NE(b->ScrollBar, nullptr);
    b->SetRowCount(0);
    EXPECT_EQ(b->Height(), 104);  // 0 leaves the height alone
    TbsSkinListBox* full = Make(false, 4);
    full->SetRowCount(4);
    EXPECT_EQ(full->Height(), 84);
    EXPECT_EQ(full->ScrollBar, nullptr);
}

TEST_F(SkinListBoxTest, LeftAndRightMoveOnlyAHorizontalBar) {
    TbsSkinListBox* b = Make(false, 3);
    std::vector<WORD> seen;
    b->OnListBoxKeyDown = [&](TObject* s, WORD& k, TShiftState) {
        EXPECT_EQ(s, b);
        seen.push_back(k);
    };
    b->SetItemIndex(0);
    HWND lb = b->ListBox->Handle();
    SendMessageW(lb, WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_EQ(b->ItemIndex(), 1) << "without a horizontal bar the list takes Right";
    b->Items()->Add(std::wstring(60, L'W'));
    b->SetHorizontalExtent(true);
    ASSERT_NE(b->HScrollBar, nullptr);
    EXPECT_GT(b->HScrollBar->Max(), b->HScrollBar->PageSize());
    const int step = b->HScrollBar->SmallChange();
    EXPECT_GT(step, 0);
    SendMessageW(lb, WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_EQ(b->ItemIndex(), 1) << "with one Right is swallowed";
    EXPECT_EQ(b->HScrollBar->Position(), step);
    EXPECT_EQ(b->ListBox->FHorizontalExtentValue, step);
    SendMessageW(lb, WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_EQ(b->HScrollBar->Position(), 0);
    EXPECT_EQ(seen, (std::vector<WORD>{VK_RIGHT, VK_RIGHT, VK_LEFT}));
    b->SetHorizontalExtent(false);
    EXPECT_EQ(b->HScrollBar, nullptr);
    EXPECT_EQ(b->ListBox->FHorizontalExtentValue, 0);
}

TEST_F(SkinListBoxTest, ForwardedEventsComeFirstWithTheFrameAsSender) {
    TbsSkinListBox* b = Make(false, 5);
    std::vector<std::string> log;
    b->OnListBoxMouseDown = [&](TObject* s, TMouseButton, TShiftState, int, int y) {
        log.push_back(s == b ? "frame down " + std::to_string(y) : "wrong sender");
    };
    b->ListBox->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("list down"); };
    b->OnListBoxMouseUp = [&](TObject* s, TMouseButton, TShiftState, int, int) {
        log.push_back(s == b ? "frame up" : "wrong sender");
    };
    b->ListBox->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("list up"); };
    b->OnListBoxClick = [&](TObject* s) { log.push_back(s == b ? "frame click" : "wrong sender"); };
    b->ListBox->OnClick = [&](TObject*) { log.push_back("list click"); };
    b->OnListBoxKeyUp = [&](TObject* s, WORD& k, TShiftState) {
        log.push_back(s == b ? "frame keyup " + std::to_string(k) : "wrong sender");
    };
    b->OnListBoxDblClick = [&](TObject* s) { log.push_back(s == b ? "frame dblclick" : "wrong sender"); };
    HWND lb = b->ListBox->Handle();
    SendMessageW(lb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 45));
    SendMessageW(lb, WM_LBUTTONUP, 0, MAKELPARAM(5, 45));
    Pump(10);
    EXPECT_EQ(b->ItemIndex(), 2);
    SendMessageW(lb, WM_KEYUP, VK_DOWN, 0xC0000001);
    SendMessageW(lb, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 45));
    SendMessageW(lb, WM_LBUTTONUP, 0, MAKELPARAM(5, 45));
    Pump(10);
    auto at = [&](const std::string& what) {
        return std::find(log.begin(), log.end(), what) - log.begin();
    };
    const auto n = static_cast<std::ptrdiff_t>(log.size());
    for (const char* kind : {"down", "up", "click"}) {
        const std::string frame = std::string("frame ") + kind + (std::string(kind) == "down" ? " 45" : "");
        const std::string list = std::string("list ") + kind;
        ASSERT_LT(at(frame), n) << kind;
        ASSERT_LT(at(list), n) << kind;
        EXPECT_LT(at(frame), at(list)) << kind;
    }
    EXPECT_LT(at("frame keyup " + std::to_string(VK_DOWN)), n);
    EXPECT_LT(at("frame dblclick"), n);
    EXPECT_EQ(std::find(log.begin(), log.end(), "wrong sender"), log.end());
}

TEST_F(SkinListBoxTest, BuiltInLookOfFrameAndItems) {
    TbsSkinListBox* b = Make(false, 3);
    b->SetItemIndex(1);
    auto frame = PaintInto(120, 120, [&](HDC dc) { b->PaintTo(dc, 0, 0); });
    EXPECT_EQ(Px(frame.get(), 0, 60), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Px(frame.get(), 1, 60), Sys(COLOR_WINDOW));
    auto list = ListPixels(b);
    EXPECT_EQ(Px(list.get(), 1, 10), Sys(COLOR_WINDOW));
    EXPECT_EQ(Px(list.get(), 1, 30), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(Px(list.get(), 1, 100), Sys(COLOR_WINDOW)) << "background below the items";
}

TEST_F(SkinListBoxTest, SkinnedItemsInTheirFixtureColours) {
    TbsSkinListBox* b = Make(true, 3, 150, 120);
    EXPECT_EQ(b->ListBox->ItemHeight(), 18);
    EXPECT_EQ(BoundsOf(b->ListBox), (TRect{4, 16, 146, 116}));
    b->SetItemIndex(1);
    auto list = ListPixels(b);
    Shot(list.get(), L"listbox_items");
    EXPECT_EQ(Px(list.get(), 1, 9), kItem);
    EXPECT_EQ(Px(list.get(), 1, 27), kActiveItem);
    EXPECT_EQ(Px(list.get(), 1, 45), kItem);
    EXPECT_NE(Px(list.get(), 1, 80), RGB(1, 2, 3)) << "the background below the items is painted";
    b->ListBox->SetFocus();
    Pump(20);
    list = ListPixels(b);
    EXPECT_EQ(Px(list.get(), 1, 27), kFocusItem);
    // The background tiles the entry's client part; an entry with an empty client part paints nothing.
    auto background = [&] {
        return PaintInto(20, 20, [&](HDC dc) {
            TCanvas c;
            c.SetHandle(dc);
            b->ListBox->PaintBGWH(&c, 0, 0, 20, 20);
            c.SetHandle(nullptr);
        });
    };
    const COLORREF tile = Px(background().get(), 5, 5);
    EXPECT_NE(tile, RGB(1, 2, 3));
    EXPECT_EQ(tile, Px(list.get(), 1, 80));
    host_->data->LoadFromFile(FixtureVariant(L"listnoclient", [](std::string& s) {
        ReplaceAll(s, "clientrect=4,16,56,56", "clientrect=0,0,0,0");
    }));
    EXPECT_EQ(Px(background().get(), 5, 5), RGB(1, 2, 3));
}

TEST_F(SkinListBoxTest, HeldDownCaptionButtonRepeatsAndStopsAtTheLastItem) {
    FakeSeam seam;
    TbsSkinListBox* b = Make(false, 4);
    b->SetCaptionMode(true);
    auto img = PaintInto(120, 120, [&](HDC dc) { b->PaintTo(dc, 0, 0); });
    const TRect down = b->CaptionButton(1).R;
    ASSERT_FALSE(down.IsEmpty());
    EXPECT_EQ(b->CaptionButton(0).R, (TRect{101, 2, 118, 18}));
    b->SetItemIndex(0);
    const LPARAM at = MAKELPARAM(down.Left + 3, down.Top + 3);
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, at);
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    seam.Advance(499);
    EXPECT_EQ(b->ItemIndex(), 0);
    seam.Advance(1 + 100);
    EXPECT_EQ(b->ItemIndex(), 1);
    seam.Advance(1000);
    EXPECT_EQ(b->ItemIndex(), 3);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(b->ItemIndex(), 3);
    EXPECT_FALSE(b->CaptionButton(1).Down);
}

TEST_F(SkinListBoxTest, CaptionButtonWithEventStepsWhenReleasedOutside) {
    FakeSeam seam;
    TbsSkinListBox* b = Make(false, 4);
    b->SetCaptionMode(true);
    PaintInto(120, 120, [&](HDC dc) { b->PaintTo(dc, 0, 0); });
    int fired = 0;
    b->OnUpButtonClick = [&](TObject* s) {
        EXPECT_EQ(s, b);
        ++fired;
    };
    b->SetItemIndex(2);
    const TRect up = b->CaptionButton(0).R;
    const LPARAM in = MAKELPARAM(up.Left + 3, up.Top + 3);
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, in);
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, in);
    seam.Advance(1000);
    EXPECT_EQ(b->ItemIndex(), 2) << "no auto-repeat with an event";
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, in);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(b->ItemIndex(), 2);
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, in);
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, in);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, 60));
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(b->ItemIndex(), 1);
}

}  // namespace
