// The office list and the office combo box on the shared skinned host: the layout and its bar, scrolling to an item
// under a header, the alternate rows restarting after a header, disabled items skipped, the combo's drop-down (its
// place, height and events), the drag through the list, the keys and the wheel, and the list's entry kept across a
// skin without a combo entry.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "skin/boxes/SkinOfficeComboBox.h"
#include "skin/boxes/SkinOfficeListBox.h"
#include "skin/core/SkinUtils.h"

namespace {

using namespace ctltest;

class OfficeBoxTest : public HostedControls {
  protected:
    TbsSkinOfficeListBox* MakeList(int Items, int H = 150) {
        auto* l = new TbsSkinOfficeListBox(host_->form);
        owned_.push_back(l);
        l->SetSkinDataName(L"nolistbox");
        l->SetSkinData(host_->data);
        l->SetParent(host_->form);
        l->SetBounds(10, 10, 150, H);
        l->HandleNeeded();
        for (int i = 0; i < Items; ++i)
            l->Items()->AddItem()->SetCaption(L"item " + std::to_wstring(i));
        l->ChangeSkinData();
        Pump(10);
        return l;
    }
    TbsSkinOfficeComboBox* MakeCombo(bool Skinned, TWinControl* Parent = nullptr, int X = 10, int Y = 10) {
        auto* c = new TbsSkinOfficeComboBox(host_->form);
        owned_.push_back(c);
        if (!Skinned)
            c->SetSkinDataName(L"nocombobox");
        c->SetSkinData(host_->data);
        c->SetParent(Parent ? Parent : host_->form);
        c->SetBounds(X, Y, 140, 22);
        c->SetDropDownCount(10);
        c->SetListBoxItemHeight(22);
        c->HandleNeeded();
        for (const wchar_t* s : {L"  Русский", L"  Беларускi", L"  Український"})
            c->Items()->AddItem()->SetCaption(s);
        for (int i = 0; i < 3; ++i) {
            c->Items()->GetItem(i)->OnClick = [this, i](TObject*) { log_.push_back("item " + std::to_string(i)); };
        }
        c->OnClick = [this](TObject*) { log_.push_back("click"); };
        c->OnChange = [this](TObject*) { log_.push_back("change"); };
        c->OnCloseUp = [this](TObject*) { log_.push_back("closeup"); };
        c->OnDropDown = [this](TObject*) { log_.push_back("dropdown"); };
        c->ChangeSkinData();
        Pump(10);
        return c;
    }
    static LPARAM At(TbsSkinOfficeComboBox* c, int Row) {
        TbsPopupOfficeListBox* l = c->ListBox();
        l->CalcItemRects();
        const TRect r = l->Items()->GetItem(Row)->ItemRect;
        POINT p{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
        MapWindowPoints(l->Handle(), c->Handle(), &p, 1);
        return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    }
    std::vector<std::string> log_;
};

TEST_F(OfficeBoxTest, ItemsCollectionRaisesTheListIndexErrorOutsideIt) {
    TbsSkinOfficeListBox* l = MakeList(2);
    EXPECT_EQ(l->Items()->GetItem(1)->Caption(), L"item 1");
    EXPECT_THROW(l->Items()->GetItem(2), EListError);
    EXPECT_THROW(l->Items()->GetItem(-1), EListError);
    EXPECT_EQ(l->CalcHeight(3), 2 * 30 + 4) << "at most the number of items";
}

TEST_F(OfficeBoxTest, ItemsThatFitShowNoBarOneMoreShowsOne) {
    TbsSkinOfficeListBox* l = MakeList(0, 124);  // area 120 = four items
    for (int i = 0; i < 4; ++i)
        l->Items()->AddItem()->SetCaption(L"x");
    l->UpdateScrollInfo();
    EXPECT_EQ(l->ScrollBar, nullptr);
    l->Items()->AddItem()->SetCaption(L"one more");
    l->UpdateScrollInfo();
    ASSERT_NE(l->ScrollBar, nullptr);
    EXPECT_EQ(l->ScrollBar->PageSize(), 120);
    EXPECT_EQ(l->ScrollBar->LargeChange(), 120);
    EXPECT_EQ(l->ScrollBar->Max(), 150);
    EXPECT_EQ(l->ItemsRect().Right, 150 - 2 - l->ScrollBar->Width());
    l->Items()->Delete(4);
    l->UpdateScrollInfo();
    EXPECT_EQ(l->ScrollBar, nullptr);
    EXPECT_EQ(MakeList(5)->CalcHeight(3), 94);
}

TEST_F(OfficeBoxTest, ScrollToTheFirstItemUnderAHeaderShowsTheHeader) {
    TbsSkinOfficeListBox* l = MakeList(0, 64);  // area 60
    l->Items()->AddItem()->SetHeader(true);
    for (int i = 0; i < 6; ++i)
        l->Items()->AddItem()->SetCaption(L"item");
    l->SetItemIndex(5);
    EXPECT_GT(l->ScrollOffset(), 0);
    l->SetItemIndex(1);
    EXPECT_EQ(l->ScrollOffset(), 0);
    l->SetItemIndex(2);
    EXPECT_EQ(l->ScrollOffset(), 20) << "its bottom comes to the area's bottom";
}

TEST_F(OfficeBoxTest, AlternateRowsRestartAfterEveryHeader) {
    TbsSkinOfficeListBox* l = MakeList(0, 260);
    l->SetAlternateRow(true);
    l->SetItemHeight(20);
    // item, item, header, item, item
    l->Items()->AddItem()->SetCaption(L"a");
    l->Items()->AddItem()->SetCaption(L"b");
    l->Items()->AddItem()->SetHeader(true);
    l->Items()->AddItem()->SetCaption(L"c");
    l->Items()->AddItem()->SetCaption(L"d");
    auto b = PaintInto(l->Width(), l->Height(), [&](HDC dc) { l->PaintTo(dc, 0, 0); });
    const COLORREF plain = Sys(COLOR_WINDOW), alt = ColorToRGB(GetAlternateColor(clWindow)) & 0xFFFFFF;
    ASSERT_NE(plain, alt);
    EXPECT_EQ(Px(b.get(), 140, 2 + 10), plain);
    EXPECT_EQ(Px(b.get(), 140, 22 + 10), alt);
    EXPECT_EQ(Px(b.get(), 140, 42 + 10), Sys(COLOR_BTNSHADOW)) << "the header";
    EXPECT_EQ(Px(b.get(), 140, 62 + 10), plain) << "restarts after the header";
    EXPECT_EQ(Px(b.get(), 140, 82 + 10), alt);
}

TEST_F(OfficeBoxTest, DisabledItemsAreSkippedByKeysAndClicks) {
    TbsSkinOfficeListBox* l = MakeList(4);
    l->Items()->GetItem(1)->SetEnabled(false);
    int clicks = 0;
    l->OnItemClick = [&](TObject*) { ++clicks; };
    l->SetItemIndex(0);
    SendMessageW(l->Handle(), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(l->ItemIndex(), 2);
    SendMessageW(l->Handle(), WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(l->ItemIndex(), 0);
    const TRect r = l->Items()->GetItem(1)->ItemRect;
    const LPARAM at = MAKELPARAM(r.Left + 20, (r.Top + r.Bottom) / 2);
    SendMessageW(l->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(l->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(l->ItemIndex(), 0);
    EXPECT_EQ(clicks, 3);
    l->SetItemIndex(1);
    EXPECT_EQ(l->ItemIndex(), 1) << "the setter takes a disabled item";
    l->InitItemIndex(1);
    l->SetItemIndex(9);
    EXPECT_TRUE(l->Items()->GetItem(1)->Active) << "an index past the items changes nothing";
}

TEST_F(OfficeBoxTest, ComboListOpensUnderItsRightEdgeWithTheRowsHeight) {
    TbsSkinOfficeComboBox* c = MakeCombo(false);
    c->InitItemIndex(0);
    log_.clear();
    c->DropDown();
    ASSERT_TRUE(c->IsPopupVisible());
    EXPECT_EQ(c->ListBox()->Height(), 70);
    const TPoint below = host_->form->ClientToScreen({c->Left() + c->Width(), c->Top() + c->Height()});
    EXPECT_EQ(c->ListBox()->Left() + c->ListBox()->Width(), below.X);
    EXPECT_EQ(c->ListBox()->Top(), below.Y);
    EXPECT_EQ(log_, (std::vector<std::string>{"dropdown", "item 1", "item 0"}));
    // Press, drag to item 2, release: taken and closed.
    log_.clear();
    SendMessageW(c->ListBox()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(GetCapture(), c->Handle());
    SendMessageW(c->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(c, 2));
    SendMessageW(c->Handle(), WM_LBUTTONUP, 0, At(c, 2));
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(SendMessageW(c->Handle(), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(log_, (std::vector<std::string>{"click", "change", "closeup"})) << "the drag moves without item events";
}

TEST_F(OfficeBoxTest, EscapeRestoresWithoutCloseUpAndKeysCommitTheWheelNot) {
    TbsSkinOfficeComboBox* c = MakeCombo(false);
    c->InitItemIndex(1);
    c->SetFocus();
    c->DropDown();
    SendMessageW(c->Handle(), WM_MOUSEMOVE, 0, At(c, 2));
    EXPECT_EQ(c->ListBox()->ItemIndex(), 2);
    log_.clear();
    SendMessageW(c->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(log_, (std::vector<std::string>{"item 1"}));
    c->DropDown();
    log_.clear();
    SendMessageW(c->Handle(), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(log_, (std::vector<std::string>{"item 2", "item 2", "click", "change"})) << "each step commits";
    log_.clear();
    SendMessageW(c->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(c->ListBox()->ItemIndex(), 1);
    EXPECT_EQ(log_, (std::vector<std::string>{"item 1"})) << "the wheel only moves the open list";
    c->CloseUp(false);
    log_.clear();
    SendMessageW(c->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(log_, (std::vector<std::string>{"item 1", "item 1", "click", "change"}));
}

TEST_F(OfficeBoxTest, NearTheBottomTheListOpensAboveWhollyOnTheWorkArea) {
    RECT wa;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
    auto* form = new TForm(nullptr);
    form->SetBounds(60, wa.bottom - 80, 220, 70);
    form->SetCaption(L"Low");
    form->Show();
    Pump(30);
    TbsSkinOfficeComboBox* c = MakeCombo(false, form, 10, 10);
    c->ListBox()->SetHeight(10);  // a small previous height must not decide
    c->DropDown();
    ASSERT_TRUE(c->IsPopupVisible());
    const TPoint top = form->ClientToScreen({c->Left(), c->Top()});
    EXPECT_EQ(c->ListBox()->Top() + c->ListBox()->Height(), top.Y);
    EXPECT_GE(c->ListBox()->Top(), wa.top);
    c->CloseUp(false);
    delete c;
    owned_.pop_back();
    delete form;
}

TEST_F(OfficeBoxTest, TheListIsSkinnedAgainAfterASkinWithoutAComboEntry) {
    TbsSkinOfficeComboBox* c = MakeCombo(true);
    EXPECT_EQ(c->ListBox()->SkinDataName(), L"listbox");
    host_->data->LoadFromFile(FixtureVariant(L"nocombo", [](std::string& s) {
        ReplaceAll(s, "=combobox:combobox", "=gonecombobox:combobox");
        ReplaceAll(s, "[combobox]", "[gonecombobox]");
    }));
    c->ChangeSkinData();
    EXPECT_EQ(c->ListBox()->SkinDataName(), L"");
    ReloadFixture();
    c->ChangeSkinData();
    EXPECT_EQ(c->ListBox()->SkinDataName(), L"listbox");
    EXPECT_NE(c->ListBox()->SkinIndex(), -1);
}

}  // namespace
