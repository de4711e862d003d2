// The caption's quick buttons on a real skinned form under Wine, driven by SetCursorPos and SendInput: a plain
// button clicks on a release over it only, sticky buttons click on the press (and, with AllowAllUp, on the release
// that lifts them), one button down per group, a drop-down button stays down while its menu is open, deactivation
// lifts plain buttons only, and without an image list nothing is drawn or clickable while the title stays centred.
#include <gtest/gtest.h>

#include <memory>

#include "SkinFormFixture.h"
#include "SkinTestPaths.h"
#include "WindowTestUtil.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/QuickButtons.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinFormObjects.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"

namespace {

using skintest::FixtureFolder;

constexpr COLORREF kImage0 = RGB(0, 200, 0);
constexpr COLORREF kImage1 = RGB(200, 200, 0);

void MouseButton(bool Down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof(INPUT));
    Pump(60);
}

class QuickButtonsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SetCursorPos(5, 5);
        form_ = new TForm(nullptr);
        form_->SetFormStyle(fsStayOnTop);
        form_->SetBorderStyle(bsSizeable);
        form_->SetBounds(80, 80, 420, 200);
        form_->SetCaption(L"Quick");
        skf_ = new TbsSkinForm(form_);
        data_ = new TbsSkinData(form_);
        data_->LoadFromFile(FixtureFolder() + L"\\skin.ini");
        skf_->SetSkinData(data_);
        images_ = new TImageList(form_, 16, 16);
        for (COLORREF c : {kImage0, kImage1}) {
            TBitmap b(16, 16);
            HBRUSH br = CreateSolidBrush(c);
            RECT r{0, 0, 16, 16};
            FillRect(b.Canvas()->Handle(), &r, br);
            DeleteObject(br);
            images_->Add(&b, nullptr);
        }
        menu_ = new TbsSkinPopupMenu(form_);
        for (const wchar_t* t : {L"One", L"Two"}) {
            auto* item = new TMenuItem(menu_);
            item->SetCaption(t);
            menu_->Items()->Add(item);
        }
        form_->Show();
    }
    static void TearDownTestSuite() {
        delete form_;
        form_ = nullptr;
        Pump(50);
    }
    void SetUp() override {
        SetCursorPos(5, 5);
        skf_->QuickButtons()->Clear();
        skf_->SetQuickImageList(images_);
        SetForegroundWindow(form_->Handle());
        SendMessageW(h(), WM_NCACTIVATE, TRUE, 0);
        clicks_.clear();
        Pump(60);
    }

    static HWND h() { return form_->Handle(); }
    TbsQuickButtonItem* Add(int Image, int Group = 0) {
        TbsQuickButtonItem* b = skf_->QuickButtons()->Add();
        b->SetImageIndex(Image);
        b->SetGroupIndex(Group);
        const int n = skf_->QuickButtons()->Count() - 1;
        b->OnClick = [this, n](TObject*) { clicks_.push_back(n); };
        return b;
    }
    // Painted: the item rectangles are set.
    void Paint() {
        skf_->UpDateFormNC();
        Pump(40);
    }
    TbsSkinCaptionObject* CaptionObject() {
        for (const auto& o : skf_->ObjectList)
            if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o.get()))
                return c;
        return nullptr;
    }
    RECT WindowRect() {
        RECT r{};
        GetWindowRect(h(), &r);
        return r;
    }
    void MoveTo(int FrameX, int FrameY) {
        const RECT r = WindowRect();
        SetCursorPos(r.left + FrameX, r.top + FrameY);
        Pump(60);
    }
    void MoveToButton(TbsQuickButtonItem* b) {
        MoveTo((b->ItemRect.Left + b->ItemRect.Right) / 2, (b->ItemRect.Top + b->ItemRect.Bottom) / 2);
    }
    // A second press on the same spot within the double-click time is a double click, not a press.
    void ClickButton(TbsQuickButtonItem* b) {
        Pump(GetDoubleClickTime() + 20);
        MoveToButton(b);
        MouseButton(true);
        MouseButton(false);
    }
    COLORREF FramePixel(int x, int y) {
        const RECT r = WindowRect();
        return ScreenPixel(r.left + x, r.top + y) & 0xFFFFFF;
    }

    static TForm* form_;
    static TbsSkinForm* skf_;
    static TbsSkinData* data_;
    static TImageList* images_;
    static TbsSkinPopupMenu* menu_;
    std::vector<int> clicks_;
};

TForm* QuickButtonsTest::form_ = nullptr;
TbsSkinForm* QuickButtonsTest::skf_ = nullptr;
TbsSkinData* QuickButtonsTest::data_ = nullptr;
TImageList* QuickButtonsTest::images_ = nullptr;
TbsSkinPopupMenu* QuickButtonsTest::menu_ = nullptr;

TEST_F(QuickButtonsTest, PlainButtonClicksOnlyWhenReleasedOverIt) {
    TbsQuickButtonItem* b = Add(0);
    b->Hint = L"plain";
    Paint();
    TbsSkinCaptionObject* cap = CaptionObject();
    ASSERT_NE(cap, nullptr);
    // Ten in from the caption's left, 16 + 4 wide.
    EXPECT_EQ(b->ItemRect.Left, cap->ObjectRect.Left + 10);
    EXPECT_EQ(b->ItemRect.Width(), 20);
    EXPECT_EQ(b->ItemRect.Height(), 20);
    const int cx = (b->ItemRect.Left + b->ItemRect.Right) / 2, cy = (b->ItemRect.Top + b->ItemRect.Bottom) / 2;
    EXPECT_EQ(FramePixel(cx, cy), kImage0);
    // Over the button the frame answers "object", not "caption": a press must not drag the window.
    const RECT wr = WindowRect();
    EXPECT_EQ(SendMessageW(h(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + cx, wr.top + cy)), 19);

    MoveToButton(b);
    ASSERT_TRUE(PumpUntil([&] { return b->Active; }));
    EXPECT_EQ(FramePixel(b->ItemRect.Left + 1, b->ItemRect.Top + 1), RGB(90, 20, 190));  // hot look
    MouseButton(true);
    EXPECT_TRUE(b->FDown);
    EXPECT_EQ(FramePixel(b->ItemRect.Left + 1, b->ItemRect.Top + 1), RGB(140, 20, 190));  // pressed look
    MouseButton(false);
    EXPECT_EQ(clicks_, std::vector<int>{0});
    EXPECT_FALSE(b->FDown);

    // Pressed, then released over the caption away from it: no click, the button up.
    MouseButton(true);
    MoveTo(cap->ObjectRect.Left + cap->ObjectRect.Width() / 2 + 40, cy);
    MouseButton(false);
    EXPECT_EQ(clicks_, std::vector<int>{0});
    EXPECT_FALSE(b->FDown);
    EXPECT_FALSE(b->Active);
    // Pressed, then released over the client area.
    ClickButton(b);
    EXPECT_EQ(clicks_, (std::vector<int>{0, 0}));
    MoveToButton(b);
    MouseButton(true);
    MoveTo(200, 120);
    MouseButton(false);
    EXPECT_EQ(clicks_, (std::vector<int>{0, 0}));
    EXPECT_FALSE(b->FDown);
    EXPECT_NE(GetCapture(), h());
    ShotOfScreen(L"quickbuttons_plain", WindowRect());
}

TEST_F(QuickButtonsTest, StickyButtonsClickOnPressAndLiftOnlyWithAllowAllUp) {
    TbsQuickButtonItem* a = Add(0, 1);
    TbsQuickButtonItem* b = Add(1, 1);
    a->SetAllowAllUp(true);
    Paint();
    MoveToButton(a);
    MouseButton(true);
    EXPECT_EQ(clicks_, std::vector<int>{0});  // on the press
    MouseButton(false);
    EXPECT_TRUE(a->Down());
    // The other of the group: it goes down, the first comes up.
    ClickButton(b);
    EXPECT_EQ(clicks_, (std::vector<int>{0, 1}));
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    // Without AllowAllUp a second press changes nothing.
    ClickButton(b);
    EXPECT_EQ(clicks_, (std::vector<int>{0, 1}));
    EXPECT_TRUE(b->Down());
    // With it: down again on the press, then a press and the release that lifts it.
    ClickButton(a);
    EXPECT_TRUE(a->Down());
    EXPECT_FALSE(b->Down());
    Pump(GetDoubleClickTime() + 20);
    MoveToButton(a);
    MouseButton(true);
    EXPECT_EQ(clicks_, (std::vector<int>{0, 1, 0}));
    EXPECT_TRUE(a->Down());
    MouseButton(false);
    EXPECT_EQ(clicks_, (std::vector<int>{0, 1, 0, 0}));
    EXPECT_FALSE(a->Down());
    // Setting Down from code keeps one per group, group 0 included.
    TbsQuickButtonItem* p = Add(0);
    TbsQuickButtonItem* q = Add(1);
    p->SetDown(true);
    q->SetDown(true);
    EXPECT_FALSE(p->Down());
    b->SetDown(true);
    EXPECT_TRUE(q->Down());
    EXPECT_TRUE(b->Down());
}

TEST_F(QuickButtonsTest, DeactivationLiftsPlainButtonsButKeepsStickyOnes) {
    TbsQuickButtonItem* plain = Add(0);
    TbsQuickButtonItem* sticky = Add(1, 2);
    Paint();
    ClickButton(sticky);
    ASSERT_TRUE(sticky->Down());
    MoveToButton(plain);
    MouseButton(true);
    ASSERT_TRUE(plain->FDown);
    SendMessageW(h(), WM_NCACTIVATE, FALSE, 0);
    Pump(30);
    EXPECT_FALSE(plain->FDown);
    EXPECT_FALSE(plain->Active);
    EXPECT_TRUE(sticky->Down());
    MouseButton(false);
    EXPECT_EQ(clicks_, std::vector<int>{1});
}

TEST_F(QuickButtonsTest, DropDownButtonStaysDownWhileItsMenuIsOpen) {
    TbsQuickButtonItem* b = Add(0);
    b->SetPopupMenu(menu_);
    Paint();
    EXPECT_EQ(b->ItemRect.Width(), 27);
    MoveToButton(b);
    MouseButton(true);
    ASSERT_TRUE(PumpUntil([&] { return skf_->SkinMenu()->Visible(); }));
    MouseButton(false);
    EXPECT_TRUE(b->FDown);
    // The level opens below the button.
    const RECT wr = WindowRect();
    TbsSkinPopupWindow* level = skf_->SkinMenu()->LastLevel();
    ASSERT_NE(level, nullptr);
    RECT lr{};
    GetWindowRect(level->Handle(), &lr);
    EXPECT_EQ(lr.top, wr.top + b->ItemRect.Bottom);
    ShotOfScreen(L"quickbuttons_dropdown", RECT{wr.left, wr.top, std::max(wr.right, lr.right), lr.bottom});
    skf_->SkinMenu()->Hide();
    ASSERT_TRUE(PumpUntil([&] { return !b->FDown; }));
    EXPECT_FALSE(skf_->InMenu());
    // The drop-down's release over it was its click.
    EXPECT_EQ(clicks_, std::vector<int>{0});
}

TEST_F(QuickButtonsTest, WithoutImageListNothingIsDrawnOrClickableAndTheTitleIsCentred) {
    TbsSkinCaptionObject* cap = CaptionObject();
    ASSERT_NE(cap, nullptr);
    const int row = cap->ObjectRect.Top + cap->ObjectRect.Height() / 2;
    // The white title's first column on the caption row band.
    auto firstTextColumn = [&] {
        for (int x = cap->ObjectRect.Left; x < cap->ObjectRect.Right; ++x)
            for (int y = cap->ObjectRect.Top; y < cap->ObjectRect.Bottom; ++y)
                if (FramePixel(x, y) == RGB(255, 255, 255))
                    return x;
        return -1;
    };
    skf_->SetQuickImageList(nullptr);
    Paint();
    const int leftAligned = firstTextColumn();
    ASSERT_NE(leftAligned, -1);
    TbsQuickButtonItem* b = Add(0);
    Paint();
    EXPECT_TRUE(IsNullRect(b->ItemRect));
    const int centred = firstTextColumn();
    const int shift = (cap->PaintedArea() - cap->PaintedWidth()) / 2;
    EXPECT_NEAR(centred - leftAligned, shift, 1);
    EXPECT_GT(shift, 10);
    // Where the button would lie: caption, no click.
    const RECT wr = WindowRect();
    const int x = cap->ObjectRect.Left + 20;
    EXPECT_EQ(SendMessageW(h(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + row)), HTCAPTION);
    EXPECT_NE(FramePixel(x, row), kImage0);
    ShotOfScreen(L"quickbuttons_noimages", WindowRect());
}

}  // namespace
