// The skinned menu button with a recording popup menu: what drops the menu, what clicks, and how the menu's close
// (message 1228) or a cancelled mode raises the button again.
#include <gtest/gtest.h>

#include "PressTestSupport.h"
#include "skin/controls/SkinMenuButton.h"
#include "classlib/ImgList.h"
#include "skin/form/SkinPopupMenu.h"

namespace {

using namespace ctltest;

struct RecordingMenu : TbsSkinPopupMenu {
    explicit RecordingMenu(TComponent* owner) : TbsSkinPopupMenu(owner) {}
    void PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp) override {
        drops.push_back({ACtrl, R, APopupUp});
    }
    struct Drop {
        TControl* ctrl;
        TRect r;
        bool up;
    };
    std::vector<Drop> drops;
};

class MenuButtons : public ControlsFixture {
  protected:
    TbsSkinMenuButton* MakeButton(bool skinned, bool withMenu) {
        auto* b = Make<TbsSkinMenuButton>(L"Меню", 20, 30, 100, 25, skinned);
        if (withMenu) {
            menu_ = new RecordingMenu(host_->form);
            b->SetSkinPopupMenu(menu_);
        }
        b->OnClick = [this](TObject*) { ++clicks_; };
        return b;
    }
    void TearDown() override {
        ControlsFixture::TearDown();
        delete menu_;
        menu_ = nullptr;
    }
    RecordingMenu* menu_ = nullptr;
    int clicks_ = 0;
};

TEST_F(MenuButtons, APressDropsTheMenuAndTheCloseRaisesTheButton) {
    FakeSeam seam;
    auto* b = MakeButton(false, true);
    b->Perform(CM_MOUSEENTER);
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_EQ(menu_->drops.size(), 1u);
    const TPoint p = b->ClientToScreen({0, 0});
    EXPECT_EQ(menu_->drops[0].ctrl, b);
    EXPECT_EQ(menu_->drops[0].r, (TRect{p.X, p.Y, p.X + 100, p.Y + 25}));
    EXPECT_TRUE(b->MenuTracked());
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(b->Down()) << "pressed while the menu is open";
    EXPECT_EQ(clicks_, 0);
    seam.under = nullptr;
    SendMessageW(b->Handle(), WM_CLOSESKINMENU, 0, 0);
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(b->MenuTracked());
    EXPECT_FALSE(b->MouseIn()) << "the pointer is elsewhere";
    EXPECT_EQ(clicks_, 0);
}

TEST_F(MenuButtons, TrackModeOpensOnlyFromTheRightPart) {
    FakeSeam seam;
    auto* b = MakeButton(false, true);
    b->SetTrackButtonMode(true);
    seam.under = b->Handle();
    b->Perform(CM_MOUSEENTER);
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(90, 10));
    EXPECT_EQ(menu_->drops.size(), 1u);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(90, 10));
    SendMessageW(b->Handle(), WM_CLOSESKINMENU, 0, 0);
    EXPECT_EQ(clicks_, 0);
    b->Perform(CM_MOUSEENTER);
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(50, 10));
    EXPECT_EQ(menu_->drops.size(), 1u);
    EXPECT_EQ(clicks_, 1);
}

TEST_F(MenuButtons, SpaceWithoutAMenuClicksAndLeavesTheModalResult) {
    auto* b = MakeButton(true, false);
    b->SetModalResult(mrOk);
    ASSERT_TRUE(FocusOn(b));
    host_->form->SetModalResult(2);
    PostKey(WM_KEYDOWN, VK_SPACE);
    EXPECT_FALSE(b->Down()) << "the key-down does nothing";
    PostKey(WM_KEYUP, VK_SPACE);
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(host_->form->ModalResult(), 2);
    host_->form->SetModalResult(0);
}

TEST_F(MenuButtons, CancelModeEndsATrackedMenu) {
    FakeSeam seam;
    auto* b = MakeButton(true, true);
    int hidden = 0;
    b->OnHideTrackMenu = [&](TObject*) { ++hidden; };
    b->DropDown();
    ASSERT_TRUE(b->MenuTracked());
    ASSERT_TRUE(b->Down());
    b->Perform(CM_CANCELMODE);
    EXPECT_FALSE(b->MenuTracked());
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(hidden, 1);
}

TEST_F(MenuButtons, SkinnedLookMarksTheTrackPart) {
    auto* b = MakeButton(true, true);
    b->SetBounds(20, 30, 100, 25);
    EXPECT_EQ(b->Width(), 100);
    EXPECT_EQ(b->Height(), 20) << "the entry stretches across only";
    b->SetTrackButtonMode(true);
    // The entry's track rectangle (45..60 of 60) moves with the width: 85..100.
    EXPECT_TRUE(b->CanMenuTrack(86, 5));
    EXPECT_FALSE(b->CanMenuTrack(80, 5));
    b->DropDown();
    auto p = Paint(b);
    Shot(p.get(), L"menubutton-tracked");
    EXPECT_EQ(Px(p.get(), 10, 2), Legend("toolmenubutton.activeskinrect"));
    EXPECT_EQ(Px(p.get(), 95, 2), Legend("toolmenubutton.downskinrect"));
    SendMessageW(b->Handle(), WM_CLOSESKINMENU, 0, 0);
}

TEST_F(MenuButtons, AnImagesMenuDropsAndShowsItsSelectedImage) {
    struct RecordingImages : IbsImagesMenu {
        TCustomImageList* list = nullptr;
        bool selected = false;
        std::vector<TRect> drops;
        std::function<void()> close;
        bool HasSelectedItem() const override { return selected; }
        TCustomImageList* SelectedImages() const override { return list; }
        int SelectedImageIndex() const override { return 0; }
        std::wstring SelectedCaption() const override { return L"Выбрано"; }
        void PopupFromRect(const TRect& R, std::function<void()> OnClose) override {
            drops.push_back(R);
            close = std::move(OnClose);
        }
    } images;
    TImageList list(nullptr, 16, 16);
    TBitmap pic(16, 16, pf24bit);
    pic.Canvas()->Brush()->SetColor(RGB(0, 120, 240));
    pic.Canvas()->FillRect({0, 0, 16, 16});
    list.Add(&pic, nullptr);
    images.list = &list;
    FakeSeam seam;
    auto* b = MakeButton(false, false);
    b->SetSkinImagesMenu(&images);
    b->SetUseImagesMenuImage(true);
    std::string log;
    b->OnShowTrackMenu = [&](TObject*) { log += "show "; };
    b->OnHideTrackMenu = [&](TObject*) { log += "hide "; };
    auto blue = [&] {
        auto p = Paint(b);
        return CountColour(p.get(), {0, 0, b->Width(), b->Height()}, RGB(0, 120, 240));
    };
    EXPECT_EQ(blue(), 0) << "nothing selected";
    images.selected = true;
    images.OnChange();
    EXPECT_EQ(blue(), 256);
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_EQ(images.drops.size(), 1u);
    const TPoint p = b->ClientToScreen({0, 0});
    EXPECT_EQ(images.drops[0], (TRect{p.X, p.Y, p.X + 100, p.Y + 25}));
    EXPECT_TRUE(b->Down());
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    images.close();
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(log, "show hide ");
    EXPECT_EQ(clicks_, 0);
    b->SetSkinImagesMenu(nullptr);
}

}  // namespace
