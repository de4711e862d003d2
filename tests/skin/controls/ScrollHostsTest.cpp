// The non-client arrow engine and its hosts: the window-free range and page arithmetic, the scroll panel and the
// tool bar on the shared host. Arrow input comes as the system delivers it (the hit test, the non-client move and
// press at the screen point, the captured release in client coordinates), timers run on the seam's fake clock.
#include <gtest/gtest.h>

#include "PressTestSupport.h"
#include "classlib/ExtCtrls.h"
#include "skin/controls/NcScrollRange.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinScrollPanel.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/form/SkinForm.h"

namespace {

using namespace ctltest;

// ---- The range, window-free -----------------------------------------------------------------------------------------
// Content 0..400 in a client of 126: the page steps, the range recomputed after each move as the host does.
TEST(NcScrollRange, PagesForwardToTheLastPageAndBack) {
    TbsNcScrollRange s;
    EXPECT_EQ(NcRangeOverflow(s, 400, 126), 0);
    EXPECT_EQ(s.SMax, 399);
    EXPECT_EQ(s.SPage, 126);
    EXPECT_FALSE(NcBackEnabled(s));
    EXPECT_TRUE(NcForwardEnabled(s));
    int left = 0;  // the first child's left edge
    const int step = NcStepSize(0, 126);
    for (int expected : {126, 252, 274}) {
        const int move = NcPageStep(s, true, step);
        left -= move;
        NcRangeOverflow(s, 400 + left, 126);
        EXPECT_EQ(s.SPosition, expected);
        EXPECT_EQ(left, -expected);
    }
    EXPECT_FALSE(NcForwardEnabled(s)) << "beyond SMax - SPage";
    EXPECT_EQ(NcPageStep(s, true, step), 0) << "nothing moves at the end";
    for (int expected : {148, 22, 0}) {
        left -= NcPageStep(s, false, step);
        NcRangeOverflow(s, 400 + left, 126);
        EXPECT_EQ(s.SPosition, expected);
    }
    EXPECT_EQ(NcPageStep(s, false, step), 0);
    EXPECT_EQ(NcStepSize(40, 126), 40);
}

TEST(NcScrollRange, PullsTheContentBackWhenSpaceOpensAfterIt) {
    const struct {
        const char* what;
        int position, oldMax, sizeOffset, end, client;
        int move, newPosition, newMax;
    } cases[] = {
        // grown by 50 at the end of a 400 row: 50 back
        {"grown", 274, 399, 50, 126, 176, 50, 224, 399},
        // grown by more than the position: back to 0
        {"grown past the start", 20, 399, 300, 380, 400, 20, 0, 399},
        // the content shrank to 300 while at 252: the end meets the client's end
        {"shrunk", 252, 399, 0, 48, 126, 78, 174, 299},
        // grown but the content still reaches beyond: nothing moves
        {"grown, still full", 126, 399, 50, 274, 176, 0, 126, 399},
    };
    for (const auto& c : cases) {
        TbsNcScrollRange s;
        s.SPosition = s.SOldPosition = c.position;
        s.SMax = c.oldMax;
        s.SPage = 126;
        s.SizeOffset = c.sizeOffset;
        EXPECT_EQ(NcRangeOverflow(s, c.end, c.client), c.move) << c.what;
        EXPECT_EQ(s.SPosition, c.newPosition) << c.what;
        EXPECT_EQ(s.SMax, c.newMax) << c.what;
        EXPECT_EQ(s.SOldPosition, s.SPosition) << c.what;
        EXPECT_EQ(s.SizeOffset, 0) << c.what;
    }
}

TEST(NcScrollRange, FittingContentResetsTheRangeAndReturnsThePosition) {
    TbsNcScrollRange s{399, 126, 126, 126, 7};
    EXPECT_EQ(NcRangeFits(s), 126);
    EXPECT_EQ(s.SMax, 0);
    EXPECT_EQ(s.SPosition, 0);
    EXPECT_EQ(s.SPage, 0);
    EXPECT_EQ(s.SOldPosition, 0);
}

// ---- The hosts on windows -------------------------------------------------------------------------------------------
class ScrollHosts : public ControlsFixture {
  protected:
    // A row of speed buttons 40 wide from x = 0 to End on Parent.
    std::vector<TbsSkinSpeedButton*> Row(TWinControl* Parent, int End, int Top = 2) {
        std::vector<TbsSkinSpeedButton*> row;
        for (int x = 0; x < End; x += 40) {
            auto* b = new TbsSkinSpeedButton(host_->form);
            b->SetParent(Parent);
            b->SetBounds(x, Top, 40, 20);
            row.push_back(b);
            owned_.push_back(b);
        }
        return row;
    }
    // The screen point of window point (X, Y) of C.
    static TPoint Screen(TWinControl* C, int X, int Y) {
        RECT r;
        GetWindowRect(C->Handle(), &r);
        return {r.left + X, r.top + Y};
    }
    static LPARAM Pt(TPoint P) { return MAKELPARAM(static_cast<WORD>(P.X), static_cast<WORD>(P.Y)); }
    // Hit test and non-client move over the arrow at window point (X, Y); returns the hit code.
    static LRESULT Hover(TWinControl* C, int X, int Y) {
        const TPoint p = Screen(C, X, Y);
        const LRESULT hit = SendMessageW(C->Handle(), WM_NCHITTEST, 0, Pt(p));
        SendMessageW(C->Handle(), WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), Pt(p));
        return hit;
    }
    static LRESULT PressArrow(TWinControl* C, int X, int Y) {
        const LRESULT hit = Hover(C, X, Y);
        SendMessageW(C->Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), Pt(Screen(C, X, Y)));
        return hit;
    }
    // The captured release, in client coordinates.
    static void ReleaseAt(TWinControl* C, int X, int Y) {
        const TPoint p = C->ScreenToClient(Screen(C, X, Y));
        SendMessageW(C->Handle(), WM_LBUTTONUP, 0,
                     MAKELPARAM(static_cast<WORD>(static_cast<short>(p.X)), static_cast<WORD>(static_cast<short>(p.Y))));
    }
    static void ClickArrow(TWinControl* C, int X, int Y) {
        PressArrow(C, X, Y);
        ReleaseAt(C, X, Y);
    }
    TbsSkinScrollPanel* Panel(bool Skinned, int End = 400) {
        auto* p = Make<TbsSkinScrollPanel>(L"", 10, 10, 150, 30, Skinned);
        row_ = Row(p, End, 5);
        p->UpDateSize();
        return p;
    }
    std::vector<TbsSkinSpeedButton*> row_;
};

TEST_F(ScrollHosts, ChildrenThatFitShowNoArrows) {
    auto* p = Panel(false, 120);
    EXPECT_FALSE(p->Scroller().Buttons[0].Visible);
    EXPECT_FALSE(p->Scroller().Buttons[1].Visible);
    EXPECT_EQ(p->ClientWidth(), 150);
    auto b = PaintInto(150, 30, [p](HDC dc) {
        EXPECT_EQ(SendMessageW(p->Handle(), CM_SENCPAINT, reinterpret_cast<WPARAM>(dc), 0), 0);
    });
}

TEST_F(ScrollHosts, ForwardClicksPageByTheClientWidthUntilTheArrowDisables) {
    FakeSeam seam;
    auto* p = Panel(true);
    seam.under = p->Handle();
    ASSERT_TRUE(p->Scroller().Buttons[0].Visible);
    ASSERT_TRUE(p->Scroller().Buttons[1].Visible);
    EXPECT_EQ(p->ClientWidth(), 126);
    EXPECT_EQ(p->Scroller().S.SMax, 399);
    // The skinned arrows: the back one disabled, the forward one idle.
    auto shot = PaintInto(150, 30, [p](HDC dc) {
        EXPECT_EQ(SendMessageW(p->Handle(), CM_SENCPAINT, reinterpret_cast<WPARAM>(dc), 0), 12851);
    });
    EXPECT_EQ(Px(shot.get(), 1, 1), Legend("resizebutton.disabledskinrect.lt"));
    EXPECT_EQ(Px(shot.get(), 139, 1), Legend("resizebutton.skinrect.lt"));
    EXPECT_EQ(Px(shot.get(), 60, 10), RGB(1, 2, 3)) << "only the arrows are drawn";
    EXPECT_EQ(Hover(p, 5, 15), 119) << "the back arrow's hit code";
    for (int expected : {126, 252, 274}) {
        ClickArrow(p, 144, 15);
        EXPECT_EQ(row_[0]->Left(), -expected);
        EXPECT_EQ(p->Scroller().S.SPosition, expected);
    }
    ClickArrow(p, 144, 15);
    EXPECT_EQ(row_[0]->Left(), -274) << "the forward arrow is disabled at the end";
    shot = PaintInto(150, 30, [p](HDC dc) { SendMessageW(p->Handle(), CM_SENCPAINT, reinterpret_cast<WPARAM>(dc), 0); });
    EXPECT_EQ(Px(shot.get(), 139, 1), Legend("resizebutton.disabledskinrect.lt"));
    ClickArrow(p, 5, 15);
    EXPECT_EQ(row_[0]->Left(), -148);
    // A press released over the client area makes no step.
    PressArrow(p, 5, 15);
    ReleaseAt(p, 60, 15);
    EXPECT_EQ(row_[0]->Left(), -148);
}

TEST_F(ScrollHosts, AHeldArrowRepeatsFrom350MsAndStepsOnceMoreAtTheRelease) {
    FakeSeam seam;
    auto* p = Panel(false);
    seam.under = p->Handle();
    p->SetScrollOffset(20);
    ASSERT_EQ(PressArrow(p, 144, 15), 120);
    seam.Advance(349);
    EXPECT_EQ(row_[0]->Left(), 0) << "nothing before 350 ms";
    seam.Advance(1);
    EXPECT_EQ(row_[0]->Left(), -20);
    seam.Advance(100);
    EXPECT_EQ(row_[0]->Left(), -60) << "every 50 ms";
    ReleaseAt(p, 144, 15);
    EXPECT_EQ(row_[0]->Left(), -80) << "one more at the release";
    seam.Advance(200);
    EXPECT_EQ(row_[0]->Left(), -80);
}

TEST_F(ScrollHosts, HotScrollingStopsAtTheLeaveCheckAfterThePointerGoes) {
    FakeSeam seam;
    auto* p = Panel(false);
    seam.under = p->Handle();
    p->SetScrollOffset(20);
    p->SetHotScroll(true);
    ASSERT_EQ(Hover(p, 144, 15), 120);
    seam.Advance(100);
    EXPECT_EQ(row_[0]->Left(), -40) << "every 50 ms without a press";
    seam.under = host_->form->Handle();
    seam.Advance(50);
    EXPECT_EQ(row_[0]->Left(), -60);
    seam.Advance(50);  // the leave check's tick at 200 ms comes before the scroll's
    EXPECT_EQ(row_[0]->Left(), -60);
    EXPECT_FALSE(p->Scroller().Buttons[1].MouseIn);
    seam.Advance(300);
    EXPECT_EQ(row_[0]->Left(), -60);
}

TEST_F(ScrollHosts, WideningAtTheEndPullsTheContentBackAndAScrollTypeSwitchResets) {
    FakeSeam seam;
    auto* p = Panel(false);
    seam.under = p->Handle();
    for (int i = 0; i < 3; ++i)
        ClickArrow(p, 144, 15);
    ASSERT_EQ(row_[0]->Left(), -274);
    p->SetBounds(p->Left(), p->Top(), 200, 30);
    EXPECT_EQ(p->Scroller().S.SPosition, 224);
    EXPECT_EQ(row_[0]->Left(), -224);
    p->SetScrollType(stVertical);
    EXPECT_EQ(p->Scroller().S.SPosition, 0);
    EXPECT_FALSE(p->Scroller().Buttons[1].Visible);
    EXPECT_EQ(p->ClientWidth(), 200);
}

TEST_F(ScrollHosts, AToolBarCentresItsChildrenAlsoAfterAResize) {
    auto* bar = Make<TbsSkinToolBar>(L"", 10, 100, 300, 25, false);
    auto* skinned = new TbsSkinButton(host_->form);
    owned_.push_back(skinned);
    skinned->SetParent(bar);
    skinned->SetBounds(5, 0, 60, 20);
    auto* plain = new TPanel(host_->form);
    owned_.push_back(plain);
    plain->SetParent(bar);
    plain->SetBounds(80, 0, 60, 20);
    bar->Realign();
    EXPECT_EQ(skinned->Top(), 2);
    EXPECT_EQ(plain->Top(), 2);
    bar->SetBounds(10, 100, 300, 45);
    EXPECT_EQ(skinned->Top(), 12);
    EXPECT_EQ(plain->Top(), 12);
}

TEST_F(ScrollHosts, AScrollingToolBarShowsTwoArrowsAndPagesByItsClientWidth) {
    FakeSeam seam;
    auto* bar = Make<TbsSkinToolBar>(L"", 10, 100, 150, 25, false);
    auto row = Row(bar, 400);
    seam.under = bar->Handle();
    EXPECT_FALSE(bar->Scroller().Buttons[1].Visible) << "without CanScroll the row is cut off";
    bar->SetCanScroll(true);
    ASSERT_TRUE(bar->Scroller().Buttons[0].Visible);
    ASSERT_TRUE(bar->Scroller().Buttons[1].Visible);
    EXPECT_EQ(bar->ClientWidth(), 126);
    ClickArrow(bar, 144, 12);
    EXPECT_EQ(row[0]->Left(), -126);
    EXPECT_EQ(row.back()->Left(), 360 - 126);
}

TEST_F(ScrollHosts, AutoShowHideCaptionsSwitchesTheButtonsAndTheBarWidth) {
    auto* bar = Make<TbsSkinToolBar>(L"", 10, 100, 200, 25, false);
    auto row = Row(bar, 120);
    for (auto* b : row) {
        b->SetWidthWithCaption(80);
        b->SetWidthWithoutCaption(30);
        b->SetShowCaption(false);
        EXPECT_EQ(b->Width(), 30);
    }
    bar->SetWidthWithCaptions(300);
    bar->SetWidthWithoutCaptions(120);
    bar->SetAutoShowHideCaptions(true);
    bar->SetShowCaptions(true);
    for (auto* b : row) {
        EXPECT_TRUE(b->ShowCaption());
        EXPECT_EQ(b->Width(), 80);
    }
    EXPECT_EQ(bar->Width(), 300);
    bar->SetShowCaptions(false);
    for (auto* b : row)
        EXPECT_EQ(b->Width(), 30);
    EXPECT_EQ(bar->Width(), 120);
}

}  // namespace
