// The ribbon family's window-free arithmetic as tables: tab widths, the buttons from the right, page bounds, the
// application menu's item column and scroll height, the menu page's width.
#include <gtest/gtest.h>

#include "skin/ribbon/RibbonLayout.h"

namespace {

TEST(RibbonLayout, TabWidthsShrinkInProportionToNoLessThan15) {
    const struct {
        const char* what;
        std::vector<int> natural;
        int available;
        std::vector<int> widths;
        bool divider;
    } cases[] = {
        {"scaled", {100, 100, 200}, 200, {50, 50, 100}, true},
        {"a narrow one stays 15", {10, 300}, 100, {15, 96}, true},
        {"everything fits", {50, 60, 70}, 180, {50, 60, 70}, false},
        {"no room at all", {40, 40}, 0, {15, 15}, true},
    };
    for (const auto& c : cases) {
        bool divider = !c.divider;
        EXPECT_EQ(RibbonTabWidths(c.natural, c.available, divider), c.widths) << c.what;
        EXPECT_EQ(divider, c.divider) << c.what;
    }
}

TEST(RibbonLayout, ButtonsLineUpFromTheRightEdge) {
    // Image 16 wide: 22, a popup adds 8, a caption its width + 6; never narrower than the row height - 2.
    std::vector<TbsRibbonButtonInfo> b = {{true, false, 0}, {false, false, 0}, {true, true, 0}, {true, false, 40}};
    int right = 0;
    const std::vector<TRect> r = RibbonButtonRects(b, 16, 24, 400, right);
    EXPECT_EQ(r[3], (TRect{398 - 68, 1, 398, 23}));
    EXPECT_EQ(r[2], (TRect{330 - 30, 1, 330, 23}));
    EXPECT_TRUE(r[1].IsEmpty()) << "an invisible button takes no room";
    EXPECT_EQ(r[0], (TRect{300 - 22, 1, 300, 23}));
    EXPECT_EQ(right, 400 - 278 + 2);
    // A small image: the row height decides.
    RibbonButtonRects({{true, false, 0}}, 8, 30, 100, right);
    EXPECT_EQ(right, 100 - (98 - 28) + 2);
}

TEST(RibbonLayout, PageBoundsUnderTheRow) {
    EXPECT_EQ(RibbonPageBounds(400, 115, 24, false, {}, {}), (TRect{1, 26, 398, 86}));
    // Skinned: the frame 60 x 50 cut 4 pixels from every side, a row of 21.
    EXPECT_EQ(RibbonPageBounds(400, 115, 21, true, {0, 0, 60, 50}, {4, 4, 56, 46}), (TRect{4, 25, 392, 86}));
}

TEST(RibbonLayout, MenuItemsStackCommandsAndPages) {
    const TbsAppMenuLook look;  // built-in: 28 and 35, not uniform, no back button
    const std::vector<TbsAppMenuItemInfo> items = {
        {true, true}, {true, false}, {false, false}, {true, true}, {true, false}};
    const std::vector<TRect> r = AppMenuItemRects(items, look, 150, 0);
    EXPECT_EQ(r[0], (TRect{0, 30, 150, 65})) << "a first page item starts at 30";
    EXPECT_EQ(r[1], (TRect{8, 73, 142, 101})) << "35 + 8 below, command items indented by 8";
    EXPECT_TRUE(r[2].IsEmpty());
    EXPECT_EQ(r[3], (TRect{0, 109, 150, 144})) << "8 more before a page item after a command item";
    EXPECT_EQ(r[4], (TRect{8, 152, 142, 180}));
    const std::vector<TRect> scrolled = AppMenuItemRects(items, look, 150, 20);
    EXPECT_EQ(scrolled[0].Top, 10);
    // Uniform look: no spacing, full width.
    TbsAppMenuLook uniform;
    uniform.Uniform = true;
    uniform.ItemHeight = uniform.PageItemHeight = 30;
    const std::vector<TRect> u = AppMenuItemRects(items, uniform, 150, 0);
    EXPECT_EQ(u[0], (TRect{0, 7, 150, 37}));
    EXPECT_EQ(u[1], (TRect{0, 37, 150, 67}));
}

TEST(RibbonLayout, MenuContentHeight) {
    const TbsAppMenuLook look;
    std::vector<TbsAppMenuItemInfo> ten(10, TbsAppMenuItemInfo{true, false});
    EXPECT_EQ(AppMenuContentHeight(ten, look, 0), 7 + 280);
    EXPECT_EQ(AppMenuContentHeight(ten, look, 20), 25 + 7 + 280) << "the back button's band";
    EXPECT_EQ(AppMenuContentHeight({{true, true}, {true, false}, {true, true}}, look, 0), 30 + 43 + 28 + 8 + 43 + 25)
        << "a last page item leaves 25 below";
}

TEST(RibbonLayout, MenuPageWidth) {
    const struct {
        int requested, area, defaultWidth, width;
    } cases[] = {
        {300, 500, 300, 300}, {300, 250, 300, 250},
        {50, 500, 50, 100},   {600, 500, 300, 500},  // asked for more than the area: the area
        {80, 500, 0, 500},                           // no default width: the area
        {80, 60, 0, 100},                            // never below 100
    };
    for (const auto& c : cases)
        EXPECT_EQ(AppMenuPageWidth(c.requested, c.area, c.defaultWidth), c.width)
            << c.requested << " in " << c.area << " with " << c.defaultWidth;
}

}  // namespace
