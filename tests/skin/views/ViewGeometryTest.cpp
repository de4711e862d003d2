// The views' window-free rules as tables: the bar decisions from native scroll numbers, the selection rectangle,
// the header section's content, the colours derived from a skin and the tree's lines, buttons and fading ramp.
#include <gtest/gtest.h>

#include <vector>

#include "skin/views/ViewGeometry.h"

namespace {

struct BarCase {
    const char* what;
    TbsBarPlan got;
    TbsBarPlan want;
};

TbsBarPlan Shown(int Min, int Max, int Page, int Pos, bool Steps = false, int Small = 1, int Large = 1) {
    TbsBarPlan p;
    p.Visible = true;
    p.Min = Min;
    p.Max = Max;
    p.Page = Page;
    p.Pos = Pos;
    p.SetSteps = Steps;
    p.SmallChange = Small;
    p.LargeChange = Large;
    return p;
}

TEST(ViewBarPlans, FollowTheNativeNumbers) {
    const TbsBarPlan hidden;
    const BarCase cases[] = {
        // report, vertical: 100 rows, 10 per page
        {"report rows beyond the page", PlanReportVBar({0, 99, 7}, 10, true), Shown(0, 99, 10, 7, true, 1, 10)},
        {"report rows exactly fit", PlanReportVBar({0, 9, 0}, 10, true), hidden},
        {"report one row more than fits", PlanReportVBar({0, 10, 0}, 10, true), Shown(0, 10, 10, 0, true, 1, 10)},
        {"report no rows", PlanReportVBar({0, 0, 0}, 10, true), hidden},
        {"report page not positive", PlanReportVBar({0, 20, 3}, 0, true), Shown(0, 20, 0, 3, true, 1, 1)},
        {"report view hidden", PlanReportVBar({0, 99, 7}, 10, false), hidden},
        // width: report horizontal and the tree's
        {"wider content", PlanWidthBar({0, 500, 40}, 300, true), Shown(0, 500, 300, 40)},
        {"content as wide as the view", PlanWidthBar({0, 300, 0}, 300, true), hidden},
        // icon styles: the steps are half the item's height, at least 1
        {"icon taller content", PlanIconBar({0, 400, 10}, 200, 30, true), Shown(0, 400, 200, 10, true, 15, 15)},
        {"icon no items", PlanIconBar({0, 400, 0}, 200, 0, true), Shown(0, 400, 200, 0, true, 1, 1)},
        {"icon item 1 pixel high", PlanIconBar({0, 400, 0}, 200, 1, true), Shown(0, 400, 200, 0, true, 1, 1)},
        {"icon fits", PlanIconBar({0, 150, 0}, 200, 30, true), hidden},
        // list style: one column per step, the page in whole columns
        {"list more items than a page", PlanListHBar({0, 9, 2}, 300, 100, 20, 50, true),
         Shown(0, 9, 3, 2, true, 1, 1)},
        {"list no items counts column width 1", PlanListHBar({0, 0, 0}, 300, 0, 0, 0, true), hidden},
        {"list column 0 wide", PlanListHBar({0, 9, 0}, 300, 0, 20, 50, true), Shown(0, 9, 300, 0, true, 1, 1)},
        {"list all on the page", PlanListHBar({0, 0, 0}, 300, 100, 20, 20, true), hidden},
        // tree, vertical: needs a positive max, a page within it and fewer lines than nodes
        {"tree more nodes than shown", PlanTreeVBar({0, 29, 4}, 10, 30, true), Shown(0, 29, 10, 4)},
        {"tree max 0", PlanTreeVBar({0, 0, 0}, 10, 30, true), hidden},
        {"tree page beyond max", PlanTreeVBar({0, 8, 0}, 10, 30, true), hidden},
        {"tree max not below the count", PlanTreeVBar({0, 30, 0}, 10, 30, true), hidden},
    };
    for (const BarCase& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(ViewItemGeometry, SelectionRectangleByStyle) {
    const TRect nativeLabel{20, 4, 80, 20}, selectBounds{0, 4, 300, 20};
    TRect listLabel = nativeLabel;
    listLabel.Right = ListLabelRight(listLabel.Left, 40);
    EXPECT_EQ(listLabel.Right, 62);
    struct {
        TbsViewKind kind;
        TRect label;
        bool empty;
        TRect want;
    } cases[] = {
        {TbsViewKind::Icon, {22, 4, 82, 20}, false, {20, 4, 80, 19}},
        {TbsViewKind::List, listLabel, false, {20, 4, 66, 19}},          // 4 wider than the label
        {TbsViewKind::List, {20, 4, 22, 20}, true, {20, 4, 42, 19}},      // 20 wider with an empty caption
        {TbsViewKind::Report, nativeLabel, false, {20, 4, 300, 19}},
        {TbsViewKind::SmallIcon, nativeLabel, false, {20, 4, 300, 19}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ItemSelectionRect(c.kind, nativeLabel, c.label, selectBounds, c.empty), c.want)
            << static_cast<int>(c.kind) << " empty " << c.empty;
}

TEST(ViewHeaderContent, InsetImageGapAndOddFontHeight) {
    const TRect section{0, 0, 100, 20};
    const TRect box = HeaderContentBox(section);
    EXPECT_EQ(box, (TRect{5, 0, 95, 20}));
    EXPECT_EQ(HeaderTextRoom(box, false, 0), 90);
    EXPECT_EQ(HeaderTextRoom(box, true, 16), 64);
    struct {
        const char* what;
        TAlignment align;
        bool image, shortened;
        int fontHeight;
        int textX, textY, imageX, imageY;
    } cases[] = {
        {"left", taLeftJustify, false, false, 14, 5, 3, 0, 0},
        {"right", taRightJustify, false, false, 14, 65, 3, 0, 0},
        {"centred", taCenter, false, false, 14, 35, 3, 0, 0},
        {"odd font one higher", taLeftJustify, false, false, 13, 5, 2, 0, 0},
        {"odd negative height one higher", taLeftJustify, false, false, -11, 5, 2, 0, 0},
        {"image left", taLeftJustify, true, false, 14, 31, 3, 5, 2},
        {"image right", taRightJustify, true, false, 14, 65, 3, 39, 2},
        {"image centred", taCenter, true, false, 14, 48, 3, 22, 2},
        {"shortened keeps the image left", taRightJustify, true, true, 14, 31, 3, 5, 2},
    };
    for (const auto& c : cases) {
        // caption 30 x 14, image 16 x 16
        const TbsHeaderContent at = LayoutHeaderContent(box, c.align, 30, 14, c.fontHeight, c.image, 16, 16,
                                                        c.shortened);
        EXPECT_EQ(at.TextX, c.textX) << c.what;
        EXPECT_EQ(at.TextY, c.textY) << c.what;
        if (c.image) {
            EXPECT_EQ(at.ImageX, c.imageX) << c.what;
            EXPECT_EQ(at.ImageY, c.imageY) << c.what;
        }
    }
}

TEST(ViewColours, DerivedFromFontAndBackground) {
    EXPECT_EQ(ListGridColorOf(0x000000, 0xFFFFFF), 0xDFDFDFu);
    EXPECT_EQ(TreeLineColorOf(0x000000, 0xFFFFFF), 0xBFBFBFu);
    EXPECT_EQ(TreeButtonColorOf(0x000000, 0xFFFFFF), 0x7F7F7Fu);
    // channels are blended each on its own
    EXPECT_EQ(BlendHalf(0x0000FF, 0xFF0000), 0x7F007Fu);
    EXPECT_EQ(ListGridColorOf(0x204080, 0x204080), 0x204080u);
}

TEST(ViewTreeLines, FirstNodeNoneUpLastChildNoneDown) {
    TbsTreeNodeFacts f;
    f.Row = {19, 0, 200, 16};
    f.Indent = 19;
    f.ButtonSize = 5;
    // the first node of the tree, with a next sibling, childless: a line across and one down, none up
    f.FirstOfTree = true;
    f.LineDown = true;
    TbsTreeDrawing d = PlanTreeNode(f);
    const int x0 = 19 + 9, mid = 8;
    EXPECT_EQ(d.X0, x0);
    EXPECT_EQ(d.Mid, mid);
    ASSERT_EQ(d.Lines.size(), 2u);
    EXPECT_EQ(d.Lines[0], (TbsLineSeg{x0 - 1, mid - 1, 19 + 19, mid - 1, true}));
    EXPECT_EQ(d.Lines[1], (TbsLineSeg{x0 - 1, mid, x0 - 1, 16, false}));
    EXPECT_FALSE(d.Box);
    // the last child of a parent that has a next sibling: up, no down, the parent's line passes by
    f.FirstOfTree = false;
    f.LineDown = false;
    f.AncestorHasNext = {true};
    d = PlanTreeNode(f);
    ASSERT_EQ(d.Lines.size(), 3u);
    EXPECT_EQ(d.Lines[1], (TbsLineSeg{x0 - 1, mid - 1, x0 - 1, 0, false}));
    EXPECT_EQ(d.Lines[2], (TbsLineSeg{x0 - 19 - 1, 0, x0 - 19 - 1, 16, false}));
    // an ancestor without a next sibling draws nothing
    f.AncestorHasNext = {false, true};
    d = PlanTreeNode(f);
    ASSERT_EQ(d.Lines.size(), 3u);
    EXPECT_EQ(d.Lines[2].X1, x0 - 2 * 19 - 1);
}

TEST(ViewTreeLines, ButtonBoxAndStrokes) {
    TbsTreeNodeFacts f;
    f.Row = {0, 16, 200, 32};
    f.Indent = 19;
    f.ButtonSize = 5;
    f.HasChildren = true;
    TbsTreeDrawing d = PlanTreeNode(f);
    const int x0 = 9, mid = 24;
    EXPECT_EQ(d.Lines[0], (TbsLineSeg{x0 + 4, mid - 1, 19 + 5 - 5, mid - 1, true}));
    ASSERT_TRUE(d.Box);
    EXPECT_EQ(d.BoxRect, (TRect{x0 - 5, mid - 5, x0 + 4, mid + 4}));
    EXPECT_EQ(d.MinusSeg, (TbsLineSeg{x0 - 3, mid - 1, x0 + 2, mid - 1, false}));
    EXPECT_TRUE(d.Plus);
    EXPECT_EQ(d.PlusSeg, (TbsLineSeg{x0 - 1, mid - 3, x0 - 1, mid + 2, false}));
    f.Expanded = true;
    EXPECT_FALSE(PlanTreeNode(f).Plus);
    f.ShowButtons = false;
    EXPECT_FALSE(PlanTreeNode(f).Box);
    f.ShowLines = false;
    EXPECT_TRUE(PlanTreeNode(f).Lines.empty());
}

TEST(ViewFadeRamp, TwentyPixels) {
    const std::vector<std::uint8_t> a = FadeAlphas(20);
    ASSERT_EQ(a.size(), 20u);
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(a[i], 255) << i;
    EXPECT_EQ(a[11], 229);
    EXPECT_EQ(a[12], 203);
    EXPECT_EQ(a[19], 21);
}

TEST(ViewFadeRamp, ShortAndSteepLines) {
    EXPECT_TRUE(FadeAlphas(0).empty());
    EXPECT_EQ(FadeAlphas(1), (std::vector<std::uint8_t>{255}));  // no ramp to divide by: opaque
    EXPECT_EQ(FadeAlphas(-1), (std::vector<std::uint8_t>{255}));
    EXPECT_EQ(FadeAlphas(2), (std::vector<std::uint8_t>{255, 255}));
    // 255 / 2 = 127.5 rounds to 128: 255, 127, then never below 0
    EXPECT_EQ(FadeAlphas(5), (std::vector<std::uint8_t>{255, 255, 255, 127, 0}));
}

}  // namespace
