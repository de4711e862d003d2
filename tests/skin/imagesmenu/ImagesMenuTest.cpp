// The images menu under Wine: its cells (also as data), the window of six 16 x 16 images in four columns, a pick by
// the mouse reported by six events in order after the popup has gone, the same pick again without OnChange, the
// three ways of closing without a pick, keys and wheel kept from the form while open with the application's filter
// chain whole afterwards, and an empty image list that shows nothing; in a generated skin the window is the skin's
// popup picture around the cells, cut by its mask, with the skin's header picture, and it fades in. Input by
// SetCursorPos/SendInput.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkinTestPaths.h"
#include "WindowTestUtil.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/imagesmenu/ImagesMenu.h"
#include "skin/imagesmenu/ImagesMenuLayout.h"

namespace {

void Click() {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    Pump(80);
}

TEST(ImagesMenuLayout, HeadersAndButtonsTakeWholeRows) {
    using K = TbsImagesMenuItemKind;
    const auto l = LayoutImagesMenu({K::bsimHeader, bsimCell, bsimCell, bsimHeader, bsimCell, bsimButton}, 16, 16, 3,
                                    TPoint{5, 5}, 0);
    ASSERT_EQ(l.ItemRects.size(), 6u);
    EXPECT_EQ(l.ItemRects[0], (TRect{5, 5, 83, 31}));  // a header first starts at the top
    EXPECT_EQ(l.ItemRects[1], (TRect{5, 32, 31, 58}));
    EXPECT_EQ(l.ItemRects[2], (TRect{31, 32, 57, 58}));
    EXPECT_EQ(l.ItemRects[3], (TRect{5, 59, 83, 85}));  // a new row although the last was not full
    EXPECT_EQ(l.ItemRects[4], (TRect{5, 86, 31, 112}));
    EXPECT_EQ(l.ItemRects[5], (TRect{5, 113, 83, 139}));
    EXPECT_EQ(l.ContentWidth, 78);
    EXPECT_EQ(l.ContentHeight, 134);
}

class ImagesMenuTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SetCursorPos(5, 5);
        form_ = new TForm(nullptr);
        form_->SetFormStyle(fsStayOnTop);
        form_->SetBounds(100, 100, 300, 200);
        form_->SetCaption(L"Картинки");
        form_->Show();
        images_ = new TImageList(form_, 16, 16);
        for (int i = 0; i < 6; ++i) {
            TBitmap b(16, 16);
            HBRUSH br = CreateSolidBrush(RGB(40 * i, 200, 100));
            RECT r{0, 0, 16, 16};
            FillRect(b.Canvas()->Handle(), &r, br);
            DeleteObject(br);
            images_->Add(&b, nullptr);
        }
        Pump(100);
    }
    static void TearDownTestSuite() {
        delete form_;
        form_ = nullptr;
        Pump(50);
    }
    void SetUp() override {
        SetCursorPos(5, 5);
        menu_ = new TbsSkinImagesMenu(form_);
        menu_->SetImages(images_);
        menu_->SetColumnsCount(4);
        for (int i = 0; i < 6; ++i) {
            TbsImagesMenuItem* it = menu_->ImagesItems()->Add();
            it->ImageIndex = i;
            it->OnClick = [this](TObject*) { events_.push_back(L"click"); };
        }
        menu_->OnInternalMenuClose = [this](TObject*) { events_.push_back(L"internalclose"); };
        menu_->OnMenuClose = [this](TObject*) { events_.push_back(L"close"); };
        menu_->OnItemClick = [this](TObject*) { events_.push_back(L"itemclick"); };
        menu_->OnInternalChange = [this](TObject*) { events_.push_back(L"internalchange"); };
        menu_->OnChange = [this](TObject*) { events_.push_back(L"change"); };
        menu_->OnMenuPopup = [this](TObject*) { events_.push_back(L"popup"); };
        SetForegroundWindow(form_->Handle());
        Pump(50);
    }
    void TearDown() override {
        delete menu_;
        Pump(30);
    }
    static TbsSkinData* Skin() {
        if (!skin_) {
            skin_ = new TbsSkinData(form_);
            skin_->LoadFromFile(skintest::SetSkin(L"23_Trelm_Graphite"));
        }
        return skin_;
    }
    // A pixel of the popup on the screen and of a skin picture.
    COLORREF PopupPixel(int X, int Y) {
        RECT w{};
        GetWindowRect(Popup(), &w);
        return ScreenPixel(w.left + X, w.top + Y);
    }
    static COLORREF PicturePixel(TBitmap* Pic, int X, int Y) {
        return GetPixel(Pic->Canvas()->Handle(), X, Y) & 0xFFFFFF;
    }
    void Open() {
        events_.clear();
        menu_->PopupFromRect(TRect{120, 140, 150, 160});
        ASSERT_NE(menu_->PopupWindow(), nullptr);
        ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(menu_->PopupWindow()->Handle()); }));
        events_.clear();
    }
    HWND Popup() { return menu_->PopupWindow()->Handle(); }
    void ClickItem(int i) {
        RECT w{};
        GetWindowRect(Popup(), &w);
        const TRect& r = menu_->ImagesItems()->Items(i)->ItemRect;
        SetCursorPos(w.left + (r.Left + r.Right) / 2, w.top + (r.Top + r.Bottom) / 2);
        Pump(60);
        Click();
    }

    static TForm* form_;
    static TImageList* images_;
    static inline TbsSkinData* skin_ = nullptr;  // owned by form_
    TbsSkinImagesMenu* menu_ = nullptr;          // owned by form_, freed per test
    std::vector<std::wstring> events_;
};

TForm* ImagesMenuTest::form_ = nullptr;
TImageList* ImagesMenuTest::images_ = nullptr;

TEST_F(ImagesMenuTest, SixImagesInFourColumns) {
    menu_->SetColumnsCount(0);
    menu_->SetColumnsCount(51);
    EXPECT_EQ(menu_->ColumnsCount(), 4);
    Open();
    RECT w{};
    GetWindowRect(Popup(), &w);
    EXPECT_EQ(w.right - w.left, 114);
    EXPECT_EQ(w.bottom - w.top, 63);
    // Below the rectangle it dropped from.
    EXPECT_EQ(w.left, 120);
    EXPECT_EQ(w.top, 160);
    EXPECT_EQ(menu_->ImagesItems()->Items(0)->ItemRect, (TRect{5, 5, 31, 31}));
    EXPECT_EQ(menu_->ImagesItems()->Items(4)->ItemRect, (TRect{5, 32, 31, 58}));
    // The image of cell 4 at its left + 5.
    EXPECT_EQ(ScreenPixel(w.left + 12, w.top + 39) & 0xFFFFFF, RGB(160, 200, 100));
}

TEST_F(ImagesMenuTest, APickReportsSixEventsInOrderAfterThePopupHasGone) {
    Open();
    ClickItem(2);
    ASSERT_TRUE(PumpUntil([&] { return menu_->PopupWindow() == nullptr; }));
    EXPECT_EQ(menu_->ItemIndex, 2);
    EXPECT_EQ(events_, (std::vector<std::wstring>{L"internalclose", L"close", L"click", L"itemclick", L"internalchange",
                                                  L"change"}));
    // What a skinned button carrying the menu shows.
    EXPECT_TRUE(menu_->ButtonLink()->HasSelectedItem());
    EXPECT_EQ(menu_->ButtonLink()->SelectedImageIndex(), 2);
    // The same item again: no change.
    Open();
    ClickItem(2);
    ASSERT_TRUE(PumpUntil([&] { return menu_->PopupWindow() == nullptr; }));
    EXPECT_EQ(events_, (std::vector<std::wstring>{L"internalclose", L"close", L"click", L"itemclick"}));
    // Keys: Right from no highlight to the first, Down to the one below, Enter picks it.
    SetCursorPos(5, 5);
    Pump(40);
    Open();
    for (WPARAM k : {VK_RIGHT, VK_DOWN, VK_RETURN})
        PostMessageW(form_->Handle(), WM_KEYDOWN, k, 0);
    ASSERT_TRUE(PumpUntil([&] { return menu_->PopupWindow() == nullptr; }));
    EXPECT_EQ(menu_->ItemIndex, 4);
}

TEST_F(ImagesMenuTest, EscapeClickOutsideAndFormMoveCloseWithoutAPick) {
    menu_->ItemIndex = 1;
    Open();
    PostMessageW(form_->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(PumpUntil([&] { return menu_->PopupWindow() == nullptr; }));
    EXPECT_EQ(events_, (std::vector<std::wstring>{L"internalclose", L"close"}));
    // On the form, away from the popup.
    Open();
    SetCursorPos(360, 280);
    Pump(40);
    Click();
    ASSERT_TRUE(PumpUntil([&] { return menu_->PopupWindow() == nullptr; }));
    EXPECT_EQ(events_, (std::vector<std::wstring>{L"internalclose", L"close"}));
    // A move reaching the application's queue.
    Open();
    PostMessageW(form_->Handle(), WM_MOVE, 0, MAKELPARAM(110, 100));
    ASSERT_TRUE(PumpUntil([&] { return menu_->PopupWindow() == nullptr; }));
    EXPECT_EQ(events_, (std::vector<std::wstring>{L"internalclose", L"close"}));
    EXPECT_EQ(menu_->ItemIndex, 1);
}

TEST_F(ImagesMenuTest, WhileOpenNoKeyOrWheelReachesTheFormAndTheFilterChainStaysWhole) {
    int keys = 0, wheels = 0;
    const int id = Application->AddOnMessage([&](MSG& M, bool&) {
        keys += M.message == WM_KEYDOWN && M.wParam == 'A';
        wheels += M.message == WM_MOUSEWHEEL;
    });
    Open();
    PostMessageW(form_->Handle(), WM_KEYDOWN, 'A', 0);
    PostMessageW(form_->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    Pump(80);
    EXPECT_EQ(keys, 0);
    EXPECT_EQ(wheels, 0);
    EXPECT_NE(menu_->PopupWindow(), nullptr);
    menu_->Hide();
    Pump(40);
    PostMessageW(form_->Handle(), WM_KEYDOWN, 'A', 0);
    PostMessageW(form_->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    Pump(80);
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(wheels, 1);
    Application->RemoveOnMessage(id);
}

TEST_F(ImagesMenuTest, EmptyImageListOnlyTellsOfThePopup) {
    TImageList empty(nullptr, 16, 16);
    menu_->SetImages(&empty);
    events_.clear();
    menu_->Popup(120, 140);
    EXPECT_EQ(events_, std::vector<std::wstring>{L"popup"});
    EXPECT_EQ(menu_->PopupWindow(), nullptr);
    menu_->SetImages(images_);
    // No items: nothing to show either.
    menu_->ImagesItems()->Clear();
    menu_->Popup(120, 140);
    EXPECT_EQ(menu_->PopupWindow(), nullptr);
}

TEST_F(ImagesMenuTest, SkinnedWindowIsThePopupPictureAroundTheCells) {
    TbsSkinData* sd = Skin();
    const TbsDataSkinPopupWindow& pw = sd->PopupWindow;
    TBitmap* pic = SkinPictureAt(sd, pw.WindowPictureIndex);
    ASSERT_NE(pic, nullptr);
    // A header row first: the skin's label picture across the row.
    auto* header = static_cast<TbsImagesMenuItem*>(menu_->ImagesItems()->Insert(0));
    header->Header = true;
    header->Caption = L"Смайлики";
    menu_->SetSkinData(sd);
    Open();
    ASSERT_TRUE(menu_->PopupWindow()->SkinSupport());
    Pump(60);
    auto* label = dynamic_cast<TbsDataSkinLabelControl*>(SkinEntryAt(sd, LookupSkinEntry(sd, L"label")));
    ASSERT_NE(label, nullptr);
    const int headerH = label->SkinRect.Height();
    RECT w{};
    GetWindowRect(Popup(), &w);
    // Content: a header row and two rows of cells (4 x 26 wide).
    const int contentW = 104, contentH = headerH + 1 + 53;
    EXPECT_EQ(w.right - w.left, pic->Width() + contentW - pw.ItemsRect.Width());
    EXPECT_EQ(w.bottom - w.top, pic->Height() + contentH - pw.ItemsRect.Height());
    EXPECT_EQ(header->ItemRect,
              (TRect{pw.ItemsRect.Left, pw.ItemsRect.Top, pw.ItemsRect.Left + contentW, pw.ItemsRect.Top + headerH}));
    EXPECT_EQ(menu_->ImagesItems()->Items(1)->ItemRect.TopLeft(),
              (TPoint{pw.ItemsRect.Left, pw.ItemsRect.Top + headerH + 1}));
    // The mask cuts the window.
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(Popup(), rgn), ERROR);
    DeleteObject(rgn);
    // The picture's corners outside the cells come through as they are; the header's left edge is the label's.
    const int W = w.right - w.left, H = w.bottom - w.top;
    EXPECT_EQ(PopupPixel(2, 2), PicturePixel(pic, 2, 2));
    EXPECT_EQ(PopupPixel(W - 2, H - 2), PicturePixel(pic, pic->Width() - 2, pic->Height() - 2));
    TBitmap* labelPic = SkinPictureAt(sd, label->PictureIndex);
    EXPECT_EQ(PopupPixel(header->ItemRect.Left + 1, header->ItemRect.Top + 1),
              PicturePixel(labelPic, label->SkinRect.Left + 1, label->SkinRect.Top + 1));
    menu_->Hide();
}

TEST_F(ImagesMenuTest, AlphaBlendFadesThePopupInToItsValue) {
    menu_->AlphaBlend = true;
    menu_->AlphaBlendValue = 180;
    std::uint32_t now = 0;
    int ticks = 0;
    menu_->FadeClock.Now = [&] {
        ++ticks;
        return now += 6;
    };
    menu_->FadeClock.Sleep = [](std::uint32_t) {};
    auto alpha = [&] {
        BYTE a = 0;
        DWORD flags = 0;
        EXPECT_TRUE(GetWindowLongPtrW(Popup(), GWL_EXSTYLE) & WS_EX_LAYERED);
        GetLayeredWindowAttributes(Popup(), nullptr, &a, &flags);
        return static_cast<int>(a);
    };
    // Without the animation: at its value at once.
    Open();
    EXPECT_EQ(alpha(), 180);
    EXPECT_EQ(ticks, 0);
    menu_->Hide();
    Pump(40);
    menu_->AlphaBlendAnimation = true;
    Open();
    EXPECT_EQ(alpha(), 180);
    EXPECT_GE(ticks, 180 / 10);
    menu_->Hide();
}

}  // namespace
