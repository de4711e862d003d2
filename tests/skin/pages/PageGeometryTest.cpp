// The page control's window-free arithmetic: the page area table, the painted tab rectangles, the centred row's
// offset, the tabs a row cannot show and the wheel's next page.
#include <gtest/gtest.h>

#include "skin/pages/PageGeometry.h"

namespace {

struct AreaCase {
    const char* name;
    TTabPosition pos;
    bool skinned, tabsHidden, borderHidden;
    TRect expected;
};

TEST(PageGeometry, PageAreaCorrectsTheNativeAnswer) {
    // Native answer (10, 30, 190, 140) in a 200 x 150 client; skin offsets L 3, T 5, R 7, B 9.
    const TRect n{10, 30, 190, 140};
    const int cw = 200, ch = 150;
    const AreaCase cases[] = {
        {"both hidden", tpTop, true, true, true, {0, -2, cw, ch}},
        {"border hidden", tpTop, false, false, true, {6, 26, 194, 144}},
        {"top", tpTop, false, false, false, {1, 25, cw - 1, ch - 1}},
        {"top hidden tabs", tpTop, false, true, false, {1, 24, cw - 1, ch - 1}},
        {"top skin", tpTop, true, false, false, {3, 29, cw - 7, ch - 9}},
        {"top skin hidden tabs", tpTop, true, true, false, {3, 28, cw - 7, ch - 9}},
        {"bottom", tpBottom, false, false, false, {1, 1, cw - 1, 143}},
        {"bottom skin", tpBottom, true, false, false, {3, 31, cw - 7, 135}},
        {"bottom skin hidden tabs", tpBottom, true, true, false, {3, 31, cw - 7, 136}},
        {"left", tpLeft, false, false, false, {7, 25, cw - 1, ch - 1}},
        {"left hidden tabs", tpLeft, false, true, false, {6, 25, cw - 1, ch - 1}},
        {"left skin", tpLeft, true, false, false, {9, 31, cw - 7, ch - 9}},
        {"right", tpRight, false, false, false, {7, 25, 193, ch - 1}},
        {"right hidden tabs", tpRight, false, true, false, {7, 25, 194, ch - 1}},
        {"right skin", tpRight, true, false, false, {3, 31, 187, ch - 9}},
        {"right skin hidden tabs", tpRight, true, true, false, {3, 31, 188, ch - 9}},
    };
    for (const AreaCase& c : cases) {
        TbsPageAreaState s;
        s.Position = c.pos;
        s.Skinned = c.skinned;
        s.Offsets = {3, 5, 7, 9};
        s.TabsHidden = c.tabsHidden;
        s.BorderHidden = c.borderHidden;
        EXPECT_EQ(PageAreaOf(n, s, cw, ch), c.expected) << c.name;
    }
}

TEST(PageGeometry, SkinOffsetsComeFromTheFramePicture) {
    const TbsPageSkinOffsets o = TbsPageSkinOffsets::FromSkin({100, 20, 160, 70}, {4, 6, 52, 41});
    EXPECT_EQ(o.L, 4);
    EXPECT_EQ(o.T, 6);
    EXPECT_EQ(o.R, 8);
    EXPECT_EQ(o.B, 9);
}

TEST(PageGeometry, TabRectanglesMoveOutwards) {
    const TRect n{10, 2, 60, 22};
    EXPECT_EQ(CorrectTabRect(n, tpTop, tsTabs, false, 0), (TRect{8, 0, 58, 20}));
    EXPECT_EQ(CorrectTabRect(n, tpTop, tsTabs, true, 0), (TRect{10, 0, 60, 20}));
    EXPECT_EQ(CorrectTabRect(n, tpTop, tsTabs, false, 30), (TRect{38, 0, 88, 20}));
    EXPECT_EQ(CorrectTabRect(n, tpBottom, tsTabs, false, 0), (TRect{8, 4, 58, 24}));
    EXPECT_EQ(CorrectTabRect(n, tpLeft, tsTabs, true, 0), (TRect{8, 2, 58, 22}));
    EXPECT_EQ(CorrectTabRect(n, tpRight, tsTabs, true, 0), (TRect{12, 2, 62, 22}));
    EXPECT_EQ(CorrectTabRect(n, tpTop, tsButtons, false, 30), n);
}

TEST(PageGeometry, CentredRowOffset) {
    EXPECT_EQ(TabRowOffset(25, 0, 400, 3), 25);          // shifted row
    EXPECT_EQ(TabRowOffset(0, 80, 400, 3), 200 - 120);   // centred
    EXPECT_EQ(TabRowOffset(0, 80, 200, 6), 0);           // wider than the control: not below 0
    EXPECT_EQ(TabRowOffset(0, 0, 400, 3), 0);            // no fixed width: nothing to centre
}

TEST(PageGeometry, TabsOutsideTheRow) {
    const std::vector<TRect> rects{{-60, 0, -2, 20}, {-2, 0, 0, 20}, {0, 0, 60, 20}, {60, 0, 120, 20},
                                   {120, 0, 180, 20}};
    EXPECT_EQ(HiddenTabCount(rects, 150), 3);  // two scrolled off on the left, one past the limit
    EXPECT_EQ(HiddenTabCount(rects, 180), 2);
    EXPECT_EQ(TabsScrolledOff(rects), 2);
    EXPECT_EQ(HiddenTabCount({}, 10), 0);
}

TEST(PageGeometry, ScrollerPlace) {
    EXPECT_EQ(ScrollerTop(tpTop, false, {1, 20, 199, 149}, {}, {}, 150, 20), 0);
    EXPECT_EQ(ScrollerTop(tpTop, true, {4, 30, 196, 146}, {0, 0, 60, 50}, {4, 4, 56, 46}, 150, 20), 6);
    EXPECT_EQ(ScrollerTop(tpTop, true, {4, 10, 196, 146}, {0, 0, 60, 50}, {4, 4, 56, 46}, 150, 20), 0);
    EXPECT_EQ(ScrollerTop(tpBottom, false, {1, 1, 199, 120}, {}, {}, 150, 20), 130);
    EXPECT_EQ(ScrollerTop(tpBottom, true, {4, 4, 196, 100}, {0, 0, 60, 50}, {4, 4, 56, 46}, 150, 20), 104);
    EXPECT_EQ(ScrollerTop(tpBottom, true, {4, 4, 196, 140}, {0, 0, 60, 50}, {4, 4, 56, 46}, 150, 20), 130);
}

TEST(PageGeometry, WheelSkipsHiddenTabsAndStopsAtTheEnds) {
    const std::vector<bool> vis{true, false, true, true};
    EXPECT_EQ(WheelTarget(vis, 0, true), 2);
    EXPECT_EQ(WheelTarget(vis, 2, false), 0);
    EXPECT_EQ(WheelTarget(vis, 3, true), -1);
    EXPECT_EQ(WheelTarget(vis, 0, false), -1);
    EXPECT_EQ(WheelTarget(vis, -1, true), -1);
}

}  // namespace
