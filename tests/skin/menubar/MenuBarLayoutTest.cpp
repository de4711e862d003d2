// The main menu bar's arithmetic as data: entries hidden once they pass the limit (5 less with the scroll marker),
// the MDI buttons at the ends 2 pixels apart, and a child menu merged into its parent's by group index.
#include <gtest/gtest.h>

#include "skin/menubar/MenuBarLayout.h"

namespace {

TEST(MenuBarLayout, EntriesPastTheLimitAreHidden) {
    struct Case {
        const char* name;
        bool scrollMenu;
        std::vector<int> widths;
        std::vector<bool> shown;
        bool scroll;
    };
    const TRect area{2, 2, 102, 20};
    const Case cases[] = {
        {"all fit", true, {40, 55}, {true, true}, false},
        {"the marker takes 5", true, {40, 56}, {true, false}, true},
        {"without the marker the whole area", false, {40, 60}, {true, true}, false},
        {"once hidden, the rest too", true, {40, 70, 10}, {true, false, false}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TbsMenuBarEntryInput> in;
        for (int w : c.widths)
            in.push_back({w, 0});
        bool scroll = false;
        const auto out = LayoutMenuBarEntries(area, in, c.scrollMenu, scroll);
        ASSERT_EQ(out.size(), c.shown.size());
        for (std::size_t i = 0; i < out.size(); ++i)
            EXPECT_EQ(out[i].Shown, c.shown[i]) << i;
        EXPECT_EQ(scroll, c.scroll);
        EXPECT_EQ(out[0].Rect.Left, 2);
        EXPECT_EQ(out[0].Rect.Right, 2 + c.widths[0]);
        EXPECT_EQ(out[0].Rect.Bottom, 20);
    }
}

TEST(MenuBarLayout, MdiButtonsAtTheEnds) {
    const int widths[4] = {0, 0, 0, 0}, heights[4] = {0, 0, 0, 0};
    const TbsMenuBarButtonsLayout l = LayoutMDIButtons(TRect{2, 2, 298, 20}, widths, heights);
    // System menu at the left; close, maximise, minimise from the right, squares as high as the area.
    EXPECT_EQ(l.Rects[0].Left, 2);
    EXPECT_EQ(l.Rects[0].Right, 20);
    EXPECT_EQ(l.Rects[1].Right, 298);
    EXPECT_EQ(l.Rects[1].Left, 280);
    EXPECT_EQ(l.Rects[2].Right, 278);
    EXPECT_EQ(l.Rects[3].Right, 258);
    EXPECT_EQ(l.Area.Left, 22);
    EXPECT_EQ(l.Area.Right, 238);
    const int w2[4] = {16, 14, 14, 14}, h2[4] = {14, 12, 12, 12};
    const TbsMenuBarButtonsLayout s = LayoutMDIButtons(TRect{0, 0, 200, 20}, w2, h2);
    EXPECT_EQ(s.Rects[0].Top, 3);
    EXPECT_EQ(s.Rects[1].Left, 186);
    EXPECT_EQ(s.Rects[1].Top, 4);
    EXPECT_EQ(s.Rects[2].Left, 170);
}

TEST(MenuBarLayout, MergeByGroupIndexIsStable) {
    const auto m = MergeByGroupIndex({0, 1, 2}, {1, 3});
    ASSERT_EQ(m.size(), 4u);
    EXPECT_FALSE(m[0].FromChild);
    EXPECT_EQ(m[0].Index, 0);
    EXPECT_TRUE(m[1].FromChild);
    EXPECT_EQ(m[1].Index, 0);
    EXPECT_FALSE(m[2].FromChild);
    EXPECT_EQ(m[2].Index, 2);
    EXPECT_TRUE(m[3].FromChild);
    EXPECT_EQ(m[3].Index, 1);
    // Equal indexes keep their order: the parent's first, then the child's.
    const auto e = MergeByGroupIndex({5, 5, 0}, {7, 7});
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(e[0].Index, 2);
    EXPECT_EQ(e[1].Index, 0);
    EXPECT_EQ(e[2].Index, 1);
    EXPECT_TRUE(e[3].FromChild && e[3].Index == 0);
    EXPECT_TRUE(e[4].FromChild && e[4].Index == 1);
}

}  // namespace
