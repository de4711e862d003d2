// The skinned combo box: its window-free rules as tables, and the control with its popup list on the shared skinned
// host form: the event orders of a pick and a cancel, the drag whose capture passes from the popup to the combo box,
// the incremental search on the seam's clock, the editable style's completion, the outside messages, where the list
// opens, and the fixture's pictures ("combobox": frame 200,60,40 with its button 200,160,40, item 230,230,180,
// focused item 170,50,100).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BoxTestSupport.h"
#include "ControlTestSupport.h"
#include "skin/boxes/ComboLogic.h"
#include "skin/boxes/SkinComboBox.h"

namespace {

using namespace ctltest;

TEST(ComboLogic, ButtonAndItemPlaces) {
    const TbsComboRects d = DefaultComboRects(120, 20);
    EXPECT_EQ(d.Button, (TRect{101, 0, 120, 20}));
    EXPECT_EQ(d.Item, (TRect{2, 2, 100, 18}));
    // The fixture's frame: 60 x 20, right corner at 42, button in the right end.
    const TbsComboRects s = SkinComboRects(120, 20, {0, 0, 60, 20}, {3, 3, 42, 17}, {43, 1, 59, 19}, 42, true);
    EXPECT_EQ(s.Button, (TRect{103, 1, 119, 19}));
    EXPECT_EQ(s.Item, (TRect{3, 3, 102, 17}));
    // A button left of the right end stays; without the skin size both grow with the height.
    const TbsComboRects l = SkinComboRects(120, 30, {0, 0, 60, 20}, {20, 3, 42, 17}, {2, 1, 18, 19}, 42, false);
    EXPECT_EQ(l.Button, (TRect{2, 1, 18, 29}));
    EXPECT_EQ(l.Item, (TRect{20, 3, 102, 27}));
}

TEST(ComboLogic, PopupOpensBelowOrAboveNeverSideways) {
    const TRect work{0, 0, 800, 600};
    EXPECT_EQ(PopupOrigin({700, 300}, 20, 100, work), (TPoint{700, 300}));
    EXPECT_EQ(PopupOrigin({10, 500}, 20, 100, work), (TPoint{10, 500}));   // ends exactly at the bottom
    EXPECT_EQ(PopupOrigin({10, 501}, 20, 100, work), (TPoint{10, 381}));   // bottom at the box's top
    EXPECT_EQ(PopupOrigin({790, 590}, 20, 100, work), (TPoint{790, 470}));
}

TEST(ComboLogic, PageKeysMoveUnequally) {
    EXPECT_EQ(PageUpIndex(20, 8), 11);
    EXPECT_EQ(PageUpIndex(5, 8), 0);
    EXPECT_EQ(PageDownIndex(0, 30, 8), 7);
    EXPECT_EQ(PageDownIndex(25, 30, 8), 29);
}

TEST(ComboLogic, TypedPrefixAndSearch) {
    const std::vector<std::wstring> items{L"alpha", L"beta", L"Bravo", L"charlie", L"Беларускi", L"бета"};
    auto item = [&](int i) { return items[static_cast<size_t>(i)]; };
    const int n = static_cast<int>(items.size());
    TbsTypeAhead t;
    EXPECT_EQ(t.Type(L'b', 1000, true), L"b");
    EXPECT_EQ(t.Type(L'r', 1499, true), L"br");   // within 499 ms
    EXPECT_EQ(t.Type(L'b', 1999, true), L"b");    // 500 ms later: again
    EXPECT_EQ(t.Type(L'x', 2000, false), L"x");   // without completion the key alone
    struct Case {
        const wchar_t* text;
        int current, expected;
    };
    const Case cases[] = {
        {L"b", 0, 1}, {L"b", 1, 2}, {L"b", 2, 1},  // one letter steps from after the current item, wrapping
        {L"br", 2, 2}, {L"BR", -1, 2},             // more letters search from the first, ignoring case
        {L"c", -1, 3}, {L"z", 0, -1}, {L"", 0, -1},
        {L"бе", 5, 4}, {L"Б", 4, 5},               // Cyrillic case folds too
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindTyped(n, item, c.text, c.current), c.expected) << c.text << " from " << c.current;
    EXPECT_EQ(FindPrefix(0, item, L"a", -1), -1);
}

class ComboBoxTest : public HostedControls {
  protected:
    TbsSkinComboBox* Make(bool Skinned, std::vector<std::wstring> Items, int X = 10, int Y = 10,
                          TWinControl* Parent = nullptr) {
        auto* c = new TbsSkinComboBox(host_->form);
        owned_.push_back(c);
        if (!Skinned)
            c->SetSkinDataName(L"nocombobox");
        c->SetSkinData(host_->data);
        c->SetParent(Parent ? Parent : host_->form);
        c->SetBounds(X, Y, 120, 20);
        c->HandleNeeded();
        c->ChangeSkinData();
        for (const auto& s : Items)
            c->Items()->Add(s);
        Pump(20);
        return c;
    }
    void Log(TbsSkinComboBox* c) {
        c->OnDropDown = [this](TObject*) { log_.push_back("dropdown"); };
        c->OnChange = [this](TObject*) { log_.push_back("change"); };
        c->OnClick = [this](TObject*) { log_.push_back("click"); };
        c->OnCloseUp = [this](TObject*) { log_.push_back("closeup"); };
    }
    // Client point of the combo box over row Row of its open list.
    static POINT OverRow(TbsSkinComboBox* c, int Row) {
        TbsListBox* lb = c->ListBox()->ListBox;
        const TRect r = lb->ItemRect(Row);
        POINT p{4, (r.Top + r.Bottom) / 2};
        MapWindowPoints(lb->Handle(), c->Handle(), &p, 1);
        return p;
    }
    static LPARAM At(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }
    // Opens the list with a press on the button and its release where it started.
    static void OpenByButton(TbsSkinComboBox* c) {
        const TRect& b = c->DropButton().R;
        const LPARAM at = MAKELPARAM((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
        SendMessageW(c->Handle(), WM_MOUSEMOVE, 0, at);
        SendMessageW(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(c->Handle(), WM_LBUTTONUP, 0, at);
        Pump(10);
    }
    std::vector<std::string> log_;
};

const std::vector<std::wstring> kWords{L"alpha", L"beta", L"bravo", L"charlie"};

TEST_F(ComboBoxTest, DropDownOnAnEmptyListDoesNothing) {
    TbsSkinComboBox* c = Make(false, {});
    Log(c);
    c->DropDown();
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(SendMessageW(c->Handle(), CB_GETCURSEL, 0, 0), -1);
}

TEST_F(ComboBoxTest, PickByClickFiresTheEventsInOrderAndKeepsFocusAndForeground) {
    TbsSkinComboBox* c = Make(false, kWords);
    c->SetFocus();
    Pump(10);
    HWND fg = GetForegroundWindow(), focus = GetFocus();
    Log(c);
    OpenByButton(c);
    ASSERT_TRUE(c->IsPopupVisible());
    EXPECT_EQ(GetForegroundWindow(), fg);
    EXPECT_EQ(GetFocus(), focus);
    EXPECT_EQ(c->ListBox()->Height(), c->ListBox()->CalcHeight(4));
    // The list opens under the combo box, as wide as it.
    const TPoint below = host_->form->ClientToScreen({c->Left(), c->Top() + c->Height()});
    EXPECT_EQ(c->ListBox()->Left(), below.X);
    EXPECT_EQ(c->ListBox()->Top(), below.Y);
    EXPECT_EQ(c->ListBox()->Width(), c->Width());
    EXPECT_EQ(c->ListBox()->ListRectNow(), (TRect{2, 2, c->Width() - 2, c->ListBox()->Height() - 2}))
        << "the inner list fills the popup: every row shows";
    // A press in the list hands the capture to the combo box; the release over row 2 takes it.
    HWND lb = c->ListBox()->ListBox->Handle();
    const TRect r2 = c->ListBox()->ListBox->ItemRect(2);
    SendMessageW(lb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, (r2.Top + r2.Bottom) / 2));
    EXPECT_EQ(GetCapture(), c->Handle());
    SendMessageW(c->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(OverRow(c, 2)));
    EXPECT_EQ(c->ListBox()->ItemIndex(), 2);
    EXPECT_EQ(c->ShownItem().R, (TRect{2, 2, 100, 18}));
    SendMessageW(c->Handle(), WM_LBUTTONUP, 0, At(OverRow(c, 2)));
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->Text(), L"bravo");
    EXPECT_EQ(log_, (std::vector<std::string>{"dropdown", "change", "click", "closeup"}));
    EXPECT_EQ(GetForegroundWindow(), fg);
    EXPECT_EQ(GetFocus(), focus);
}

TEST_F(ComboBoxTest, EscapeRestoresTheIndexAndFiresOnlyCloseUp) {
    TbsSkinComboBox* c = Make(false, kWords);
    c->SetItemIndex(1);
    c->SetFocus();
    Log(c);
    c->DropDown();
    ASSERT_TRUE(c->IsPopupVisible());
    log_.clear();
    SendMessageW(c->ListBox()->ListBox->Handle(), WM_MOUSEMOVE, 0, At(POINT{4, c->ListBox()->ListBox->ItemRect(3).Top + 2}));
    EXPECT_EQ(c->ListBox()->ItemIndex(), 3);
    SendMessageW(c->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(c->Text(), L"beta");
    EXPECT_EQ(log_, (std::vector<std::string>{"closeup"}));
    // A press on the button while open closes without taking the highlighted row either.
    c->DropDown();
    SendMessageW(c->ListBox()->ListBox->Handle(), WM_MOUSEMOVE, 0, At(POINT{4, c->ListBox()->ListBox->ItemRect(0).Top + 2}));
    log_.clear();
    OpenByButton(c);
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(log_, (std::vector<std::string>{"closeup"}));
}

TEST_F(ComboBoxTest, ReleaseOutsideTheListRejectsAndTheShownItemStaysTheOldOne) {
    TbsSkinComboBox* c = Make(false, kWords);
    c->SetItemIndex(0);
    Log(c);
    const TRect& b = c->DropButton().R;
    const LPARAM onButton = MAKELPARAM((b.Left + b.Right) / 2, 10);
    SendMessageW(c->Handle(), WM_MOUSEMOVE, 0, onButton);
    SendMessageW(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    ASSERT_TRUE(c->IsPopupVisible());
    SendMessageW(c->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(OverRow(c, 3)));
    EXPECT_EQ(c->ListBox()->ItemIndex(), 3);
    // While open the box keeps showing the item from before.
    auto shot = PaintInto(c->Width(), c->Height(), [&](HDC dc) { c->PaintTo(dc, 0, 0); });
    EXPECT_EQ(c->Text(), L"alpha");
    SendMessageW(c->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(300, 5));  // far right of the list
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->ItemIndex(), 0);
    EXPECT_EQ(log_, (std::vector<std::string>{"dropdown", "closeup"}));
}

TEST_F(ComboBoxTest, DragBelowAScrollingListStepsEvery25msAndStopsAtTheEnd) {
    FakeSeam seam;
    std::vector<std::wstring> many;
    for (int i = 0; i < 12; ++i)
        many.push_back(L"row " + std::to_wstring(i));
    TbsSkinComboBox* c = Make(false, many);
    c->SetDropDownCount(4);
    const TRect& b = c->DropButton().R;
    const LPARAM onButton = MAKELPARAM((b.Left + b.Right) / 2, 10);
    SendMessageW(c->Handle(), WM_MOUSEMOVE, 0, onButton);
    SendMessageW(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    ASSERT_TRUE(c->IsPopupVisible());
    ASSERT_NE(c->ListBox()->ScrollBar, nullptr);
    SendMessageW(c->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(OverRow(c, 1)));
    EXPECT_EQ(c->ListBox()->ItemIndex(), 1);
    POINT below{4, c->ListBox()->ListBox->Height() + 10};
    MapWindowPoints(c->ListBox()->ListBox->Handle(), c->Handle(), &below, 1);
    SendMessageW(c->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(below));
    EXPECT_EQ(c->TrackingMode(), 2);
    seam.Advance(24);
    EXPECT_EQ(c->ListBox()->ItemIndex(), 1);
    seam.Advance(1);
    EXPECT_EQ(c->ListBox()->ItemIndex(), 2);
    seam.Advance(25 * 20);
    EXPECT_EQ(c->ListBox()->ItemIndex(), 11);
    EXPECT_EQ(c->ItemIndex(), 11);
    SendMessageW(c->Handle(), WM_LBUTTONUP, 0, At(below));
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->TrackingMode(), 0);
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(c->Text(), L"") << "a release outside the list takes nothing";
}

TEST_F(ComboBoxTest, TypedLettersSearchOnTheSeamsClock) {
    FakeSeam seam;
    TbsSkinComboBox* c = Make(false, kWords);
    c->SetItemIndex(0);
    c->SetFocus();
    boxtest::Type(c->Handle(), L"b");
    EXPECT_EQ(c->ItemIndex(), 1);
    seam.Advance(500);
    boxtest::Type(c->Handle(), L"b");
    EXPECT_EQ(c->ItemIndex(), 2) << "a pause starts again: the next item with that letter";
    seam.Advance(600);
    c->SetItemIndex(0);
    boxtest::Type(c->Handle(), L"b");
    seam.Advance(499);
    boxtest::Type(c->Handle(), L"r");
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->Text(), L"bravo");
}

TEST_F(ComboBoxTest, KeysStepTheSelectionAndTheOutsideMessagesWork) {
    std::vector<std::wstring> many;
    for (int i = 0; i < 30; ++i)
        many.push_back(L"row " + std::to_wstring(i));
    TbsSkinComboBox* c = Make(false, many);
    c->SetFocus();
    EXPECT_EQ(SendMessageW(c->Handle(), CB_GETCOUNT, 0, 0), 30);
    EXPECT_EQ(SendMessageW(c->Handle(), CB_SETCURSEL, 20, 0), 20);
    EXPECT_EQ(c->Text(), L"row 20");
    EXPECT_EQ(SendMessageW(c->Handle(), CB_SETCURSEL, 30, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(c->Handle(), CB_GETCURSEL, 0, 0), 20);
    wchar_t buf[32] = {};
    SendMessageW(c->Handle(), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, L"row 20");
    SendMessageW(c->Handle(), WM_KEYDOWN, VK_PRIOR, 1);
    EXPECT_EQ(c->ItemIndex(), 11);  // DropDownCount 8: nine back
    SendMessageW(c->Handle(), WM_KEYDOWN, VK_NEXT, 1);
    EXPECT_EQ(c->ItemIndex(), 18);  // seven forward
    SendMessageW(c->Handle(), WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(c->ItemIndex(), 17);
    SendMessageW(c->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(c->ItemIndex(), 18);
    EXPECT_EQ(c->Text(), L"row 18");
    SendMessageW(c->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"));
    EXPECT_EQ(c->Text(), L"typed");
    c->SetDropDownCount(0);
    EXPECT_EQ(c->DropDownCount(), 8);
}

TEST_F(ComboBoxTest, EditableStyleCompletesTheTypedPrefix) {
    FakeSeam seam;
    TbsSkinComboBox* c = Make(false, kWords);
    c->SetStyle(bscbEditStyle);
    ASSERT_NE(c->Edit(), nullptr);
    c->Edit()->SetFocus();
    Pump(10);
    HWND e = c->Edit()->Handle();
    SendMessageW(e, WM_CHAR, L'c', 1);
    SendMessageW(e, WM_KEYUP, 'C', 0xC0000001);
    EXPECT_EQ(c->Edit()->Text(), L"charlie");
    EXPECT_EQ(c->Text(), L"charlie");
    EXPECT_EQ(c->ItemIndex(), 3);
    EXPECT_EQ(c->SelStart(), 1);
    EXPECT_EQ(c->SelLength(), 6);
    // Up in the editor takes the item above at once.
    Log(c);
    SendMessageW(e, WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(c->Text(), L"bravo");
    EXPECT_EQ(c->Edit()->Text(), L"bravo");
    // A pick from the list goes into the editor and back into the box's text.
    c->DropDown();
    ASSERT_TRUE(c->IsPopupVisible());
    SendMessageW(c->ListBox()->ListBox->Handle(), WM_MOUSEMOVE, 0, At(POINT{4, c->ListBox()->ListBox->ItemRect(0).Top + 2}));
    log_.clear();
    SendMessageW(e, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->Edit()->Text(), L"alpha");
    EXPECT_EQ(c->Text(), L"alpha");
    EXPECT_EQ(log_, (std::vector<std::string>{"change", "click", "closeup"}));
    c->SetStyle(bscbFixedStyle);
    EXPECT_EQ(c->Edit(), nullptr);
}

TEST_F(ComboBoxTest, NearTheWorkAreasBottomTheListOpensAbove) {
    const TRect work = [] {
        RECT r;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
        return TRect{r.left, r.top, r.right, r.bottom};
    }();
    auto* form = new TForm(nullptr);
    form->SetBounds(60, work.Bottom - 60, 200, 50);
    form->SetCaption(L"Low");
    form->Show();
    Pump(30);
    TbsSkinComboBox* c = Make(false, kWords, 10, 10, form);
    c->DropDown();
    ASSERT_TRUE(c->IsPopupVisible());
    const TPoint top = form->ClientToScreen({c->Left(), c->Top()});
    EXPECT_EQ(c->ListBox()->Top() + c->ListBox()->Height(), top.Y);
    EXPECT_EQ(c->ListBox()->Left(), top.X);
    c->CloseUp(false);
    delete c;
    owned_.pop_back();
    delete form;
}

TEST_F(ComboBoxTest, FixtureSkinPicturesAndTheListsEntry) {
    TbsSkinComboBox* c = Make(true, kWords);
    c->SetItemIndex(1);
    EXPECT_EQ(c->Height(), 20);
    EXPECT_EQ(c->DropButton().R, (TRect{103, 1, 119, 19}));
    auto b = PaintInto(c->Width(), c->Height(), [&](HDC dc) { c->PaintTo(dc, 0, 0); });
    Shot(b.get(), L"combo_fixture");
    EXPECT_EQ(Px(b.get(), 1, 10), RGB(200, 10, 40));
    EXPECT_EQ(Px(b.get(), 110, 10), RGB(200, 160, 40)) << "the frame carries the button";
    EXPECT_EQ(Px(b.get(), 100, 10), c->Focused() ? RGB(170, 50, 100) : RGB(230, 230, 180)) << "the item's right end";
    c->DropDown();
    ASSERT_TRUE(c->IsPopupVisible());
    EXPECT_EQ(c->ListBox()->SkinDataName(), L"listbox");
    EXPECT_EQ(c->ListBox()->ListBox->ItemHeight(), 18);
    c->CloseUp(false);
    // Hot button picture.
    SendMessageW(c->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(110, 10));
    auto hot = PaintInto(c->Width(), c->Height(), [&](HDC dc) { c->PaintTo(dc, 0, 0); });
    EXPECT_EQ(Px(hot.get(), 110, 10), RGB(10, 200, 60));
}

}  // namespace
