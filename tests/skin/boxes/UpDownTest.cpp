// The skinned up-down on real windows of the shared host form: presses, moves and releases as mouse messages, the
// repeat on the seam's fake clock, the layout of both orientations, the built-in look and the fixture's pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "PressTestSupport.h"
#include "skin/boxes/SkinUpDown.h"

namespace {

using namespace ctltest;

class SkinUpDownTest : public ControlsFixture {
  protected:
    // An up-down on the host; Skinned: drawn from the fixture entry Name.
    TbsSkinUpDown* UpDown(bool Skinned, TUDOrientation O = udHorizontal, const std::wstring& Name = L"hupdown",
                          int W = 50, int H = 25) {
        auto* u = new TbsSkinUpDown(host_->form);
        owned_.push_back(u);
        u->SetParent(host_->form);
        u->SetOrientation(O);
        u->SetSkinDataName(Name);
        if (Skinned)
            u->SetSkinData(host_->data);
        u->SetBounds(20, 20, W, H);
        u->HandleNeeded();
        u->OnChange = [this](TObject*) { ++changes_; };
        u->OnUpButtonClick = [this](TObject*) { clicks_.push_back("up"); };
        u->OnDownButtonClick = [this](TObject*) { clicks_.push_back("down"); };
        return u;
    }
    int changes_ = 0;
    std::vector<std::string> clicks_;
};

TEST_F(SkinUpDownTest, AHeldButtonWaitsThenStepsOnEveryShortTickAndOnceMoreOnRelease) {
    FakeSeam seam;
    TbsSkinUpDown* u = UpDown(false);  // 50 x 25: button 1 the left half, button 0 the right half
    Mouse(u, WM_LBUTTONDOWN, 37, 12, MK_LBUTTON);
    EXPECT_TRUE(u->Button(0).Down);
    EXPECT_EQ(u->Position(), 0) << "a press alone does not step";
    seam.Advance(500);
    EXPECT_EQ(u->Position(), 0) << "the long tick only ends the wait";
    seam.Advance(99);
    EXPECT_EQ(u->Position(), 0) << "the timer was restarted at 100 ms";
    seam.Advance(1);
    EXPECT_EQ(u->Position(), 1);
    seam.Advance(200);
    EXPECT_EQ(u->Position(), 3);
    Mouse(u, WM_LBUTTONUP, 37, 12);
    EXPECT_EQ(u->Position(), 4);
    EXPECT_EQ(changes_, 4);
    EXPECT_EQ(clicks_, std::vector<std::string>{"up"});
    EXPECT_FALSE(u->Repeating());
    seam.Advance(1000);
    EXPECT_EQ(u->Position(), 4);
}

TEST_F(SkinUpDownTest, LeavingAHeldButtonPausesTheRepeatAndReturningStepsEvery50ms) {
    FakeSeam seam;
    TbsSkinUpDown* u = UpDown(false);
    u->SetPosition(50);
    changes_ = 0;
    Mouse(u, WM_LBUTTONDOWN, 10, 12, MK_LBUTTON);  // button 1: down
    seam.Advance(600);
    EXPECT_EQ(u->Position(), 49);
    Mouse(u, WM_MOUSEMOVE, 37, 12, MK_LBUTTON);  // onto the other button: it cannot become active
    EXPECT_FALSE(u->Button(0).MouseIn);
    EXPECT_FALSE(u->Button(1).MouseIn);
    seam.Advance(500);
    EXPECT_EQ(u->Position(), 49);
    Mouse(u, WM_MOUSEMOVE, 10, 12, MK_LBUTTON);
    EXPECT_TRUE(u->Button(1).MouseIn);
    seam.Advance(50);
    EXPECT_EQ(u->Position(), 48);
    seam.Advance(100);
    EXPECT_EQ(u->Position(), 46);
    // released away from the button: no step, no click
    Mouse(u, WM_LBUTTONUP, 37, 12);
    EXPECT_EQ(u->Position(), 46);
    EXPECT_TRUE(clicks_.empty());
    EXPECT_FALSE(u->Button(1).Down);
}

TEST_F(SkinUpDownTest, AStepOutOfTheRangeChangesNothingButTheClickStillFires) {
    FakeSeam seam;
    TbsSkinUpDown* u = UpDown(false);
    u->SetMin(-3);
    u->SetMax(7);
    u->SetIncrement(5);
    u->SetPosition(5);
    changes_ = 0;
    Mouse(u, WM_LBUTTONDOWN, 37, 12, MK_LBUTTON);
    Mouse(u, WM_LBUTTONUP, 37, 12);
    EXPECT_EQ(u->Position(), 5) << "5 + 5 passes Max 7: no clamping";
    EXPECT_EQ(changes_, 0);
    EXPECT_EQ(clicks_, std::vector<std::string>{"up"});
    Mouse(u, WM_LBUTTONDOWN, 10, 12, MK_LBUTTON);
    Mouse(u, WM_LBUTTONUP, 10, 12);
    EXPECT_EQ(u->Position(), 0);
    EXPECT_EQ(changes_, 1);
    // the setters: out of range ignored, Min and Max pull the position in without an event
    u->SetPosition(8);
    EXPECT_EQ(u->Position(), 0);
    u->SetMin(2);
    EXPECT_EQ(u->Position(), 2);
    u->SetMax(1);
    EXPECT_EQ(u->Position(), 1);
    EXPECT_EQ(changes_, 1);
}

TEST_F(SkinUpDownTest, IncrementZeroStartsNoTimerAndNeverSteps) {
    FakeSeam seam;
    TbsSkinUpDown* u = UpDown(false);
    u->SetIncrement(0);
    u->SetPosition(10);
    changes_ = 0;
    Mouse(u, WM_LBUTTONDOWN, 37, 12, MK_LBUTTON);
    EXPECT_FALSE(u->Repeating());
    seam.Advance(2000);
    Mouse(u, WM_LBUTTONUP, 37, 12);
    EXPECT_EQ(u->Position(), 10);
    EXPECT_EQ(changes_, 0);
    EXPECT_EQ(clicks_, std::vector<std::string>{"up"});
}

TEST_F(SkinUpDownTest, ButtonsSplitTheControlByOrientationAndEdgesHitInclusively) {
    FakeSeam seam;
    TbsSkinUpDown* h = UpDown(false, udHorizontal, L"hupdown", 51, 25);
    EXPECT_EQ(h->Button(1).R, TRect(0, 0, 25, 25));
    EXPECT_EQ(h->Button(0).R, TRect(25, 0, 51, 25));
    TbsSkinUpDown* v = UpDown(false, udVertical, L"vupdown", 17, 31);
    EXPECT_EQ(v->Button(0).R, TRect(0, 0, 17, 15));
    EXPECT_EQ(v->Button(1).R, TRect(0, 15, 17, 31));
    // y = 15 lies on button 0's bottom edge and button 1's top: button 0 is tested first
    Mouse(v, WM_LBUTTONDOWN, 5, 15, MK_LBUTTON);
    Mouse(v, WM_LBUTTONUP, 5, 15);
    EXPECT_EQ(v->Position(), 1);
    EXPECT_EQ(clicks_, std::vector<std::string>{"up"});
    // a size change lays the buttons out again
    v->SetBounds(20, 20, 17, 41);
    EXPECT_EQ(v->Button(1).R, TRect(0, 20, 17, 41));
}

TEST_F(SkinUpDownTest, BuiltInLookShowsHoverAndPressAndGreyArrowsWhenDisabled) {
    FakeSeam seam;
    TbsSkinUpDown* u = UpDown(false);
    auto img = Paint(u);
    EXPECT_EQ(Px(img.get(), 25, 0), Sys(COLOR_BTNSHADOW)) << "frame of the normal button";
    EXPECT_EQ(Px(img.get(), 28, 3), Sys(COLOR_BTNFACE));
    Mouse(u, WM_MOUSEMOVE, 37, 12);
    img = Paint(u);
    EXPECT_EQ(Px(img.get(), 25, 0), RGB(59, 107, 183));
    EXPECT_EQ(Px(img.get(), 28, 3), RGB(193, 212, 243));
    EXPECT_EQ(Px(img.get(), 3, 3), Sys(COLOR_BTNFACE)) << "the other button stays normal";
    Mouse(u, WM_LBUTTONDOWN, 37, 12, MK_LBUTTON);
    img = Paint(u);
    EXPECT_EQ(Px(img.get(), 28, 3), RGB(162, 188, 228));
    Mouse(u, WM_LBUTTONUP, 37, 12);
    const TRect right{25, 0, 50, 25};
    EXPECT_GT(CountColour(img.get(), right, RGB(0, 0, 0)), 3) << "a black arrow";
    u->SetEnabled(false);
    img = Paint(u);
    EXPECT_EQ(CountColour(img.get(), right, RGB(0, 0, 0)), 0);
    EXPECT_GT(CountColour(img.get(), right, RGB(128, 128, 128)), 3);
}

TEST_F(SkinUpDownTest, SkinnedLookTakesTheEntrySizeAndTheButtonStatePictures) {
    FakeSeam seam;
    TbsSkinUpDown* u = UpDown(true);
    EXPECT_EQ(u->Width(), 30);
    EXPECT_EQ(u->Height(), 15);
    EXPECT_EQ(u->Button(0).R, TRect(15, 0, 30, 15));
    auto img = Paint(u);
    EXPECT_EQ(Px(img.get(), 5, 7), Legend("hupdown.down"));
    EXPECT_EQ(Px(img.get(), 22, 7), Legend("hupdown.up"));
    Mouse(u, WM_MOUSEMOVE, 22, 7);
    EXPECT_EQ(Px(Paint(u).get(), 22, 7), Legend("hupdown.activeup"));
    Mouse(u, WM_LBUTTONDOWN, 22, 7, MK_LBUTTON);
    img = Paint(u);
    EXPECT_EQ(Px(img.get(), 22, 7), Legend("hupdown.downup"));
    EXPECT_EQ(Px(img.get(), 5, 7), Legend("hupdown.down"));
    Mouse(u, WM_LBUTTONUP, 22, 7);
    // no pressed picture for the down button: the hot one stands in
    Mouse(u, WM_MOUSEMOVE, 5, 7);
    Mouse(u, WM_LBUTTONDOWN, 5, 7, MK_LBUTTON);
    EXPECT_EQ(Px(Paint(u).get(), 5, 7), Legend("hupdown.activedown"));
    Mouse(u, WM_LBUTTONUP, 5, 7);
    // leaving clears the hover
    SendMessageW(u->Handle(), CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Px(Paint(u).get(), 5, 7), Legend("hupdown.down"));
    TbsSkinUpDown* v = UpDown(true, udVertical, L"vupdown");
    EXPECT_EQ(v->Width(), 15);
    EXPECT_EQ(v->Height(), 20);
    Mouse(v, WM_MOUSEMOVE, 7, 15);
    Mouse(v, WM_LBUTTONDOWN, 7, 15, MK_LBUTTON);
    EXPECT_EQ(Px(Paint(v).get(), 7, 15), Legend("vupdown.downdown"));
    Mouse(v, WM_LBUTTONUP, 7, 15);
    EXPECT_EQ(v->Position(), 0) << "Min 0: a step down does nothing";
}

TEST_F(SkinUpDownTest, WithoutSkinSizeTheButtonsSplitTheControlAndComeFromTheResizeButtonEntry) {
    // The fixture's own resize button taken out of the way.
    auto noResizeButton = [](std::string& s) {
        ReplaceAll(s, "=resizebutton:button", "=calresizebutton:button");
        ReplaceAll(s, "[resizebutton]", "[calresizebutton]");
    };
    const std::wstring ini = FixtureVariant(L"updown_resizebutton", [&](std::string& s) {
        // the fixture's button entry renamed "resizebutton"
        noResizeButton(s);
        ReplaceAll(s, "=button:button", "=resizebutton:button");
        ReplaceAll(s, "[button]", "[resizebutton]");
    });
    host_->data->LoadFromFile(FixtureVariant(L"updown_noresizebutton", noResizeButton));
    Pump(20);
    FakeSeam seam;
    TbsSkinUpDown* u = UpDown(true);
    u->SetUseSkinSize(false);
    u->SetBounds(20, 20, 60, 24);
    EXPECT_EQ(u->Width(), 60);
    EXPECT_EQ(u->Button(0).R, TRect(30, 0, 60, 24));
    auto img = Paint(u);
    EXPECT_EQ(Px(img.get(), 40, 12), Sys(COLOR_BTNFACE)) << "no resize button entry: the button area stays blank";
    host_->data->LoadFromFile(ini);
    Pump(20);
    img = Paint(u);
    EXPECT_EQ(Px(img.get(), 0, 0), Legend("button.skinrect.lt"));
    EXPECT_EQ(Px(img.get(), 40, 12), Legend("button.skinrect.client"));
    Mouse(u, WM_MOUSEMOVE, 40, 12);
    EXPECT_EQ(Px(Paint(u).get(), 40, 12), Legend("button.activeskinrect.client"));
}

}  // namespace
