// The scroll bar's arithmetic as tables: the position rule, the parts and thumb for a size (built-in and skin look),
// the value a drag points at and the hit test.
#include <gtest/gtest.h>

#include "skin/controls/ScrollBarGeometry.h"

namespace {

struct PositionCase {
    int min, max, page, value, expected;
};

TEST(ScrollBarGeometry, PositionRule) {
    const PositionCase cases[] = {
        {0, 100, 10, 95, 91},   // above the page's upper bound
        {0, 100, 10, -5, 0},    // below Min
        {0, 100, 0, 150, 100},  // no page: Max bounds it
        {0, 10, 20, 0, 0},      // a page larger than the range: never below Min
        {0, 10, 20, 5, 0},     {10, 105, 10, 100, 96}, {-50, 50, 0, -60, -50},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampScrollPosition(c.value, c.min, c.max, c.page), c.expected)
            << c.min << ".." << c.max << " page " << c.page << " value " << c.value;
    EXPECT_EQ(ScrollUpperBound(0, 10, 20), 0);
    EXPECT_EQ(ScrollUpperBound(0, 100, 10), 91);
}

TEST(ScrollBarGeometry, DefaultHorizontalBar) {
    TbsScrollValues v;  // 0..100 at 0
    TbsScrollLayout l = CalcScrollRects(false, 200, 19, v, false, 19, nullptr);
    EXPECT_EQ(l.Buttons[sbDownButton], (TRect{1, 1, 17, 18}));
    EXPECT_EQ(l.Buttons[sbUpButton], (TRect{183, 1, 199, 18}));
    EXPECT_EQ(l.NewTrackArea, (TRect{17, 1, 183, 18}));
    EXPECT_EQ(l.Buttons[sbThumb], (TRect{17, 1, 33, 18}));
    v.Position = 100;
    l = CalcScrollRects(false, 200, 19, v, false, 19, nullptr);
    EXPECT_EQ(l.Buttons[sbThumb], (TRect{167, 1, 183, 18}));
    v.Position = 50;
    l = CalcScrollRects(false, 200, 19, v, false, 19, nullptr);
    EXPECT_EQ(l.Buttons[sbThumb].Left + 8, 100);  // centred on 25 + 75
}

struct ThumbCase {
    const char* what;
    bool vertical;
    TbsScrollValues v;
    int w, h;
    TRect thumb;
};

TEST(ScrollBarGeometry, ThumbTable) {
    const ThumbCase cases[] = {
        {"Max = Min: track start", false, {5, 5, 5, 0}, 200, 19, {17, 1, 33, 18}},
        {"page covering the range fills the track", false, {0, 99, 0, 100}, 200, 19, {17, 1, 183, 18}},
        {"a small page keeps 16 pixels", false, {0, 10000, 0, 1}, 200, 19, {17, 1, 33, 18}},
        {"a small page at the end", false, {0, 10000, 10000, 1}, 200, 19, {167, 1, 183, 18}},
        {"page half the range", false, {0, 99, 50, 50}, 200, 19, {101, 1, 183, 18}},
        {"page larger than the range: horizontal at the end", false, {0, 10, 0, 20}, 200, 19, {183 - 302, 1, 183, 18}},
        {"page larger than the range: vertical at the start", true, {0, 10, 0, 20}, 19, 200, {1, 17, 18, 17 + 302}},
        {"vertical default at Max", true, {0, 100, 100, 0}, 19, 200, {1, 167, 18, 183}},
    };
    for (const auto& c : cases) {
        const TbsScrollLayout l = CalcScrollRects(c.vertical, c.w, c.h, c.v, false, 19, nullptr);
        EXPECT_EQ(l.Buttons[sbThumb], c.thumb) << c.what;
    }
}

TEST(ScrollBarGeometry, BothNarrowsTheHorizontalBuiltInBarOnly) {
    TbsScrollValues v;
    TbsScrollLayout l = CalcScrollRects(false, 200, 19, v, true, 19, nullptr);
    EXPECT_EQ(l.Buttons[sbUpButton], (TRect{164, 1, 180, 18}));
    EXPECT_EQ(l.NewTrackArea.Right, 164);
    l = CalcScrollRects(true, 19, 200, v, true, 19, nullptr);
    EXPECT_EQ(l.Buttons[sbUpButton], (TRect{1, 183, 18, 199}));
}

TbsScrollSkinParts HorizontalSkin() {
    TbsScrollSkinParts p;
    p.SkinRect = {0, 0, 60, 17};
    p.RTPt = {45, 0};
    p.TrackArea = {15, 0, 45, 17};
    p.DownButtonRect = {0, 0, 15, 17};
    p.UpButtonRect = {45, 0, 60, 17};
    p.ThumbRect = {113, 2, 123, 15};
    return p;
}

TEST(ScrollBarGeometry, SkinLookStretchesTrackAndMovesTheFarButton) {
    TbsScrollSkinParts p = HorizontalSkin();
    TbsScrollValues v;
    TbsScrollLayout l = CalcScrollRects(false, 160, 17, v, false, 19, &p);
    EXPECT_EQ(l.NewTrackArea, (TRect{15, 0, 145, 17}));
    EXPECT_EQ(l.Buttons[sbDownButton], (TRect{0, 0, 15, 17}));
    EXPECT_EQ(l.Buttons[sbUpButton], (TRect{145, 0, 160, 17}));
    // 10 x 13 thumb centred across the track: top 8 - 6
    EXPECT_EQ(l.Buttons[sbThumb], (TRect{15, 2, 25, 15}));
    p.ThumbMinSize = 20;  // base length
    v.PageSize = 1;
    v.Max = 1000;
    l = CalcScrollRects(false, 160, 17, v, false, 19, &p);
    EXPECT_EQ(l.Buttons[sbThumb].Width(), 20);
    p.ThumbMinPageSize = 30;  // replaces the length without a page
    v.PageSize = 0;
    l = CalcScrollRects(false, 160, 17, v, false, 19, &p);
    EXPECT_EQ(l.Buttons[sbThumb].Width(), 30);
}

TEST(ScrollBarGeometry, DragValue) {
    TbsScrollValues v;  // 0..100, page 0
    const TbsScrollLayout l = CalcScrollRects(false, 200, 19, v, false, 19, nullptr);
    // Offset1 25, Offset2 175: 150 pixels for 100 values
    EXPECT_EQ(CalcScrollValue(l, false, v, 75, 0), 50);
    EXPECT_EQ(CalcScrollValue(l, false, v, -40, 0), 0);
    EXPECT_EQ(CalcScrollValue(l, false, v, 400, 0), 100);
    EXPECT_EQ(CalcScrollValue(l, false, v, 3, 0), 2);  // 2.0
    TbsScrollValues pv{0, 99, 0, 50};
    const TbsScrollLayout pl = CalcScrollRects(false, 200, 19, pv, false, 19, nullptr);
    // thumb 83 long: 83 div 2 = 41; offsets 58 and 142; 84 pixels for 50 values
    EXPECT_EQ(CalcScrollValue(pl, false, pv, 42, 0), 25);
    EXPECT_EQ(CalcScrollValue(pl, false, pv, 0, 84), 50);
    // Max = Min: no span, the value is Min
    TbsScrollValues same{7, 7, 7, 0};
    const TbsScrollLayout sl = CalcScrollRects(false, 200, 19, same, false, 19, nullptr);
    EXPECT_EQ(CalcScrollValue(sl, false, same, 50, 0), 7);
}

TEST(ScrollBarGeometry, HitTest) {
    TbsScrollValues v;
    const TbsScrollLayout l = CalcScrollRects(false, 200, 19, v, false, 19, nullptr);
    EXPECT_EQ(ScrollHitTest(l, {5, 5}, -1), sbDownButton);
    EXPECT_EQ(ScrollHitTest(l, {190, 5}, -1), sbUpButton);
    EXPECT_EQ(ScrollHitTest(l, {20, 5}, -1), sbThumb);
    EXPECT_EQ(ScrollHitTest(l, {100, 5}, -1), -1);
    EXPECT_EQ(ScrollHitTest(l, {0, 0}, -1), -1);
    EXPECT_EQ(ScrollHitTest(l, {190, 5}, sbThumb), -1);  // another part while the thumb is held
    EXPECT_EQ(ScrollHitTest(l, {20, 5}, sbThumb), sbThumb);
}

}  // namespace
