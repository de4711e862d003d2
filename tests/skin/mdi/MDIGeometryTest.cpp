// The MDI arithmetic as data: tiling, cascading, the scroll bars' need and ranges, the tab bar's layout and drops.
#include <gtest/gtest.h>

#include "skin/form/MDIGeometry.h"
#include "skin/mdi/MDITabsLayout.h"

namespace {
TRect B(int x, int y, int w, int h) {
    return TRect{x, y, x + w, y + h};
}

TbsMDITabsLayoutInput Bar(int Count, int Width) {
    TbsMDITabsLayoutInput in;
    in.Count = Count;
    in.Width = Width;
    in.Height = 21;
    return in;
}
}  // namespace

TEST(MDITile, FourChildrenInTwoColumnsOfTwo) {
    const auto r = TileHBounds(4, 800, 600);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0], B(0, 0, 400, 300));
    EXPECT_EQ(r[1], B(0, 300, 400, 300));
    EXPECT_EQ(r[2], B(400, 0, 400, 300));
    EXPECT_EQ(r[3], B(400, 300, 400, 300));
    EXPECT_EQ(TileVBounds(4, 800, 600), r);
}

TEST(MDITile, FiveHorizontalGiveThreeRightAndTwoLeft) {
    const auto r = TileHBounds(5, 800, 600);
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0], B(0, 0, 400, 300));
    EXPECT_EQ(r[1], B(0, 300, 400, 300));
    EXPECT_EQ(r[2], B(400, 0, 400, 200));
    EXPECT_EQ(r[3], B(400, 200, 400, 200));
    EXPECT_EQ(r[4], B(400, 400, 400, 200));
}

TEST(MDITile, FiveVerticalGiveTwoLeftAndThreeRight) {
    const auto r = TileVBounds(5, 800, 600);
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0], B(0, 0, 400, 300));
    EXPECT_EQ(r[1], B(0, 300, 400, 300));
    EXPECT_EQ(r[2], B(400, 0, 400, 200));
    EXPECT_EQ(r[4], B(400, 400, 400, 200));
}

TEST(MDITile, EdgeCounts) {
    EXPECT_TRUE(TileHBounds(0, 800, 600).empty());
    EXPECT_EQ(TileHBounds(1, 800, 600)[0], B(0, 0, 800, 600));
    EXPECT_EQ(TileVBounds(1, 800, 600)[0], B(0, 0, 800, 600));
    // Every child of many lands inside the area.
    for (int n : {2, 3, 7, 10, 17})
        for (const auto& set : {TileHBounds(n, 640, 480), TileVBounds(n, 640, 480)})
            for (const TRect& r : set) {
                EXPECT_GE(r.Left, 0) << n;
                EXPECT_GE(r.Top, 0) << n;
                EXPECT_LE(r.Right, 640) << n;
                EXPECT_LE(r.Bottom, 480) << n;
                EXPECT_GT(r.Width(), 0) << n;
                EXPECT_GT(r.Height(), 0) << n;
            }
}

TEST(MDICascade, StepIsAtLeastOneForAClientTopOfZero) {
    EXPECT_EQ(CascadeStep(true, 0, 19), 1);
    EXPECT_EQ(CascadeStep(true, 25, 19), 25);
    EXPECT_EQ(CascadeStep(false, 0, 19), 22);
    const TbsCascadePlan p = CascadePlan(3, 800, 600, CascadeStep(true, 0, 19), 100, 50);
    ASSERT_EQ(p.Origins.size(), 3u);
    EXPECT_EQ(p.Origins[2], (TPoint{0, 0}));
    EXPECT_EQ(p.Origins[1], (TPoint{1, 1}));
    EXPECT_EQ(p.Origins[0], (TPoint{2, 2}));
}

TEST(MDICascade, SizesAndWrapping) {
    // k = (800 - 640) div 20 = 8 > 3: (800 - 20 * 2) x (600 - 20 * 2).
    TbsCascadePlan p = CascadePlan(3, 800, 600, 20, 0, 0);
    EXPECT_EQ(p.Width, 760);
    EXPECT_EQ(p.Height, 560);
    EXPECT_EQ(p.Origins[0], (TPoint{40, 40}));
    // Ten children: k = 8, size 640 x 440; o passes 160 and falls back to 0 for the children left.
    p = CascadePlan(10, 800, 600, 20, 0, 0);
    EXPECT_EQ(p.Width, 640);
    EXPECT_EQ(p.Height, 440);
    for (const TPoint& o : p.Origins) {
        EXPECT_LE(o.X + p.Width, 800);
        EXPECT_LE(o.Y + p.Height, 600);
    }
    EXPECT_EQ(p.Origins[9], (TPoint{0, 0}));
    EXPECT_EQ(p.Origins[0], (TPoint{0, 0}));
    // Minimum sizes win; a child with a single border keeps its size.
    p = CascadePlan(2, 200, 150, 30, 300, 200, {false, true}, {{0, 0}, {50, 40}});
    EXPECT_EQ(p.Width, 300);
    EXPECT_EQ(p.Origins[1], (TPoint{0, 0}));
    EXPECT_EQ(p.Origins[0], (TPoint{0, 0}));
}

TEST(MDIScroll, BarsOnlyForChildrenOutside) {
    struct Case {
        std::vector<TRect> children;
        bool h, v;
    } cases[] = {
        {{}, false, false},
        {{B(10, 10, 200, 100)}, false, false},
        {{B(700, 10, 200, 100)}, true, false},   // past the right edge
        {{B(-50, 10, 200, 100)}, true, false},   // left of 0
        {{B(10, 550, 200, 100)}, false, true},   // past the bottom
        {{B(10, 490, 200, 100)}, false, false},  // inside
        {{B(700, 490, 200, 100)}, true, true},   // the horizontal bar covers the bottom 17 pixels
        {{B(700, 10, 200, 100), B(10, 650, 50, 50)}, true, true},
    };
    for (const auto& c : cases) {
        const TbsMDIScrollPlan p = MDIScrollPlan(c.children, 800, 600, 17);
        EXPECT_EQ(p.HNeeded, c.h) << c.children.size();
        EXPECT_EQ(p.VNeeded, c.v) << c.children.size();
    }
}

TEST(MDIScroll, RangesAndPositions) {
    const TbsMDIScrollPlan p = MDIScrollPlan({B(-50, 10, 200, 100), B(500, 20, 400, 100)}, 800, 600, 17);
    ASSERT_TRUE(p.HNeeded);
    EXPECT_FALSE(p.VNeeded);
    EXPECT_EQ(p.HPosition, 50);
    EXPECT_EQ(p.HMax, 900 + 50 - 1);
    EXPECT_EQ(p.HPage, 800);
    const TbsMDIScrollPlan q = MDIScrollPlan({B(10, -30, 100, 700)}, 800, 600, 17);
    ASSERT_TRUE(q.VNeeded);
    EXPECT_EQ(q.VPosition, 30);
    EXPECT_EQ(q.VMax, 670 + 30 - 1);
    EXPECT_EQ(q.VPage, 600);
}

TEST(MDITabsLayout, FourTabsFillA316Bar) {
    const TbsMDITabsLayoutInput in = Bar(4, 316);
    const TbsMDITabsLayout L = LayoutMDITabs(in);
    ASSERT_EQ(L.Tabs.size(), 4u);
    EXPECT_EQ(L.Tabs[0], B(15, 0, 75, 21));
    EXPECT_EQ(L.Tabs[1], B(90, 0, 75, 21));
    EXPECT_EQ(L.Tabs[2], B(165, 0, 75, 21));
    EXPECT_EQ(L.Tabs[3], (TRect{240, 0, 316, 21}));
    EXPECT_EQ(L.InVisibleCount, 0);
}

TEST(MDITabsLayout, ThreeTabsKeepTheDefaultWidth) {
    TbsMDITabsLayoutInput in = Bar(3, 400);
    const TbsMDITabsLayout L = LayoutMDITabs(in);
    EXPECT_EQ(L.Tabs[0], B(15, 0, 100, 21));
    EXPECT_EQ(L.Tabs[2], (TRect{215, 0, 315, 21}));
    // The add button follows the last tab; with no tabs it sits at the left.
    in.AddButton = true;
    EXPECT_EQ(LayoutMDITabs(in).AddButton, (TRect{317, 2, 331, 16}));
    in.Count = 0;
    EXPECT_EQ(LayoutMDITabs(in).AddButton, (TRect{2, 2, 16, 16}));
}

TEST(MDITabsLayout, MinTabWidthHidesWhatDoesNotFit) {
    TbsMDITabsLayoutInput in = Bar(4, 300);
    in.MinTabWidth = 120;
    const TbsMDITabsLayout L = LayoutMDITabs(in);
    EXPECT_EQ(L.InVisibleCount, 2);
    EXPECT_EQ(L.Tabs[0], B(15, 0, 120, 21));
    EXPECT_EQ(L.Tabs[1], B(135, 0, 120, 21));
    EXPECT_FALSE(L.Visible[2]);
    EXPECT_TRUE(L.Tabs[3].IsEmpty());
    // A bar too narrow for even one tab hides them all without a negative count.
    in.Width = 20;
    EXPECT_EQ(LayoutMDITabs(in).InVisibleCount, 4);
}

TEST(MDITabsLayout, DropIndexOfADraggedTab) {
    TbsMDITabsLayoutInput in = Bar(3, 400);
    struct Case {
        int from, dx, to;
    } cases[] = {{0, 160, 2},  {0, 60, 1},  {0, 20, -1},  {0, 0, -1},
                 {2, -160, 0}, {2, -60, 1}, {1, -300, 0}, {0, 1000, 2}};
    for (const auto& c : cases) {
        in.DragIndex = c.from;
        in.TabDX = c.dx;
        const TbsMDITabsLayout L = LayoutMDITabs(in);
        EXPECT_EQ(MDITabDropIndex(L, c.from, c.dx), c.to) << c.from << " by " << c.dx;
        // The dragged tab stays within the bar.
        EXPECT_GE(L.Tabs[static_cast<size_t>(c.from)].Left, 0);
        EXPECT_LE(L.Tabs[static_cast<size_t>(c.from)].Right, 400);
    }
}
