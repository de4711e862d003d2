// The skinned status bar's size grip on real windows: the hit test the system asks, the built-in grip's pixels and
// the skinned form that hides the grip while maximised.
#include <gtest/gtest.h>

#include "PressTestSupport.h"
#include "skin/controls/SkinStatusBar.h"

namespace {

using namespace ctltest;

class StatusBars : public ControlsFixture {
  protected:
    LRESULT HitAt(TbsSkinStatusBar* bar, int X, int Y) {
        const TPoint p = bar->ClientToScreen({X, Y});
        return SendMessageW(bar->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.X, p.Y));
    }
};

TEST_F(StatusBars, TheGripAnswersAsTheBottomRightBorder) {
    auto* bar = Make<TbsSkinStatusBar>(L"", 0, 0, 300, 21, false);
    bar->SetAlign(alNone);
    bar->SetBounds(10, 200, 300, 21);
    bar->SetSizeGrip(true);
    ASSERT_TRUE(bar->HandleAllocated());
    const struct {
        int x, y;
        LRESULT hit;
    } cases[] = {{295, 10, HTBOTTOMRIGHT}, {100, 10, HTCLIENT}, {285, 20, HTCLIENT}, {282, 2, HTBOTTOMRIGHT}};
    for (const auto& c : cases)
        EXPECT_EQ(HitAt(bar, c.x, c.y), c.hit) << c.x << "," << c.y;
    // The client area leaves the grip's square out.
    EXPECT_EQ(bar->GetSkinClientRect().Right, 279);
    auto p = Paint(bar);
    EXPECT_GT(CountColour(p.get(), {281, 0, 300, 19}, Sys(COLOR_BTNSHADOW)), 8) << "diagonal grip lines";
    bar->SetShowGrip(false);
    EXPECT_EQ(HitAt(bar, 295, 10), HTCLIENT);
    EXPECT_EQ(bar->GetSkinClientRect().Right, 300);
    p = Paint(bar);
    EXPECT_EQ(CountColour(p.get(), {281, 0, 300, 19}, Sys(COLOR_BTNSHADOW)), 0);
}

TEST_F(StatusBars, DefaultGripperDrawsLinePairsUpToAQuarterOfItsWidth) {
    TBitmap b(40, 40, pf32bit);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect({0, 0, 40, 40});
    DrawDefaultGripper(b.Canvas(), {0, 0, 20, 20}, static_cast<TColor>(RGB(200, 0, 0)),
                       static_cast<TColor>(RGB(0, 0, 200)));
    // Shrunk by 2: (2, 2)-(18, 18); d = 4, 7, 10, 13 (16 > 16 - 2): four pairs, at most 16 div 4 + 1 = 5.
    // The lines start on the bottom edge: shadow at left + d, light one further.
    for (int d : {4, 7, 10, 13}) {
        EXPECT_EQ(Px(&b, 2 + d, 18), RGB(200, 0, 0)) << d;
        EXPECT_EQ(Px(&b, 2 + d + 1, 18), RGB(0, 0, 200)) << d;
    }
    EXPECT_EQ(Px(&b, 2 + 16, 18), RGB(255, 255, 255)) << "no fifth pair";
    EXPECT_EQ(CountColour(&b, {20, 0, 40, 40}, RGB(200, 0, 0)), 0);
}

TEST_F(StatusBars, AMaximisedSkinnedFormHidesTheGripAndRestoringShowsIt) {
    auto* form = new TForm(nullptr);
    owned_.push_back(form);
    form->SetBounds(60, 60, 320, 200);
    auto* skin = new TbsSkinForm(form);
    skin->SetSkinData(host_->data);
    auto* bar = new TbsSkinStatusBar(form);
    bar->SetParent(form);
    bar->SetSizeGrip(true);
    skin->SetStatusBar(bar);
    form->Show();
    Pump(50);
    skin->SetWindowState(wsMaximized);
    Pump(20);
    EXPECT_FALSE(bar->ShowGrip());
    EXPECT_TRUE(bar->SizeGrip());
    EXPECT_EQ(HitAt(bar, bar->Width() - 5, 10), HTCLIENT);
    skin->SetWindowState(wsNormal);
    Pump(20);
    EXPECT_TRUE(bar->ShowGrip());
    EXPECT_EQ(HitAt(bar, bar->Width() - 5, 10), HTBOTTOMRIGHT);
    // Without SizeGrip the form leaves the bar alone.
    bar->SetSizeGrip(false);
    bar->SetShowGrip(true);
    skin->SetWindowState(wsMaximized);
    Pump(20);
    EXPECT_TRUE(bar->ShowGrip());
    skin->SetWindowState(wsNormal);
    // The bar freed first: the form forgets it.
    delete bar;
    EXPECT_EQ(skin->StatusBar(), nullptr);
}

}  // namespace
