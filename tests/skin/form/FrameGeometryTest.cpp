// The frame geometry as data: mapping the skin onto other sizes, caption objects across the corner areas, the
// button row, client rectangles that never turn negative, and hit codes of both frames.
#include <gtest/gtest.h>

#include "skin/form/FrameGeometry.h"

namespace {

// A 100 x 80 picture with client (5, 25, 95, 75), like the colour-coded fixture skin.
TbsFrameSkin Skin() {
    TbsFrameSkin s;
    s.Pw = 100;
    s.Ph = 80;
    s.LTPoint = {5, 25};
    s.RTPoint = {95, 25};
    s.LBPoint = {5, 75};
    s.RBPoint = {95, 75};
    s.ClRect = {5, 25, 95, 75};
    s.CaptionRect = {5, 2, 95, 22};
    s.ButtonsRect = {60, 4, 95, 20};
    s.ButtonsOffset = 1;
    s.BorderW = 4;
    s.HitTestLTPoint = {5, 5};
    s.HitTestRTPoint = {95, 5};
    s.HitTestLBPoint = {5, 75};
    s.HitTestRBPoint = {95, 75};
    return s;
}

TEST(FrameGeometry, MapsPointsAndRectsOntoLargerAndSmallerWindows) {
    const TbsFrameSkin s = Skin();
    const TbsFrameRects big = CalcRects(s, 300, 200);
    EXPECT_EQ(big.NewRBPoint, (TPoint{295, 195}));
    EXPECT_EQ(big.NewClRect, (TRect{5, 25, 295, 195}));
    EXPECT_EQ(big.NewButtonsRect, (TRect{260, 4, 295, 20}));
    EXPECT_FALSE(big.NewButtonsInLeft);
    const TbsFrameRects small = CalcRects(s, 60, 50);
    EXPECT_EQ(small.NewRTPoint, (TPoint{55, 25}));
    EXPECT_EQ(small.NewClRect, (TRect{5, 25, 55, 45}));
}

TEST(FrameGeometry, ButtonsLeftOfTheMiddleMarkLeftButtonsWithoutMoving) {
    TbsFrameSkin s = Skin();
    s.ButtonsRect = {5, 4, 40, 20};
    const TbsFrameRects r = CalcRects(s, 300, 200);
    EXPECT_TRUE(r.NewButtonsInLeft);
    EXPECT_EQ(r.NewButtonsRect, s.ButtonsRect);
}

TEST(FrameGeometry, ObjectRectsFollowTheirCornerAreas) {
    const TbsFrameSkin s = Skin();
    const TbsFrameRects r = CalcRects(s, 300, 200);
    struct Case {
        TRect In, Out;
    } cases[] = {
        {{1, 1, 4, 4}, {1, 1, 4, 4}},              // left-top corner: stays
        {{96, 1, 99, 4}, {296, 1, 299, 4}},        // right-top: moves right
        {{1, 76, 4, 79}, {1, 196, 4, 199}},        // left-bottom: moves down
        {{96, 76, 99, 79}, {296, 196, 299, 199}},  // right-bottom: both
        {{2, 2, 97, 20}, {2, 2, 297, 20}},         // left-top to right-top: stretches across
        {{2, 2, 97, 78}, {2, 2, 297, 198}},        // left-top to right-bottom: both sides
    };
    for (const Case& c : cases)
        EXPECT_EQ(CalcRealObjectRect(s, r, c.In), c.Out) << c.In.Left << "," << c.In.Top;
}

TEST(FrameGeometry, ButtonRowRunsFromTheRightInCommandOrderAndNarrowsTheCaption) {
    TbsFrameSkin s = Skin();
    s.ButtonsRect = {};  // the row is the caption rectangle
    const TbsFrameRects r = CalcRects(s, 200, 100);
    auto button = [](TbsStdCommand c) {
        TbsFrameObject o;
        o.Kind = fokStdButton;
        o.Command = c;
        o.SkinRectInAPicture = true;
        o.SkinRect = {0, 0, 16, 16};
        return o;
    };
    TbsFrameObject caption;
    caption.Kind = fokCaption;
    caption.SkinRect = {5, 0, 95, 25};
    std::vector<TbsFrameObject> objs = {caption, button(cmMinimize), button(cmSysMenu), button(cmClose)};
    objs[0].ObjectRect = objs[0].SkinRect;
    CalcAllRealObjectRect(s, r, objs, false, 16, 16);
    EXPECT_EQ(objs[3].ObjectRect, (TRect{179, 2, 195, 18}));  // close at the right edge
    EXPECT_EQ(objs[1].ObjectRect, (TRect{162, 2, 178, 18}));  // minimise next, one pixel apart
    EXPECT_EQ(objs[2].ObjectRect, (TRect{5, 4, 21, 20}));     // system menu at the caption's left, centred
    EXPECT_EQ(objs[0].ObjectRect.Left, 21);
    EXPECT_EQ(objs[0].ObjectRect.Right, 162);
}

TEST(FrameGeometry, ClientRectNeverNegative) {
    const TbsFrameSkin s = Skin();
    const TRect tiny = SkinClientRect(s, TRect{100, 100, 110, 110});
    EXPECT_GE(tiny.Right, tiny.Left);
    EXPECT_GE(tiny.Bottom, tiny.Top);
    EXPECT_EQ(SkinClientRect(s, TRect{0, 0, 300, 200}), (TRect{5, 25, 295, 195}));
    EXPECT_EQ(DefClientRect(TRect{0, 0, 300, 200}, false), (TRect{3, 22, 297, 197}));
    EXPECT_EQ(DefClientRect(TRect{0, 0, 300, 200}, true), (TRect{3, 18, 297, 197}));
}

TEST(FrameGeometry, SkinHitCodes) {
    const TbsFrameSkin s = Skin();
    const TbsFrameRects r = CalcRects(s, 300, 200);
    TbsHitState st;
    st.W = 300;
    st.H = 200;
    st.Sizeable = true;
    auto inCaption = [](TPoint p) { return p.X >= 5 && p.X < 250 && p.Y < 25; };
    EXPECT_EQ(SkinNCHitTest(s, r, st, {150, 100}, inCaption, {}), kHitClient);
    EXPECT_EQ(SkinNCHitTest(s, r, st, {150, 12}, inCaption, {}), kHitCaption);
    EXPECT_EQ(SkinNCHitTest(s, r, st, {270, 12}, inCaption, {}), kHitObject);
    EXPECT_EQ(SkinNCHitTest(s, r, st, {0, 0}, inCaption, {}), kHitTopLeft);
    EXPECT_EQ(SkinNCHitTest(s, r, st, {299, 199}, inCaption, {}), kHitBottomRight);
    EXPECT_EQ(SkinNCHitTest(s, r, st, {1, 100}, inCaption, {}), kHitLeft);
    EXPECT_EQ(SkinNCHitTest(s, r, st, {298, 100}, inCaption, {}), kHitRight);
    EXPECT_EQ(SkinNCHitTest(s, r, st, {150, 198}, inCaption, {}), kHitBottom);
    // Maximised or not sizeable: never a sizing code anywhere on the edge.
    for (bool maximized : {true, false}) {
        TbsHitState fixed = st;
        fixed.Maximized = maximized;
        fixed.Sizeable = !maximized ? false : true;
        for (int x = 0; x < 300; ++x) {
            for (int y : {0, 1, 2, 198, 199}) {
                const int code = SkinNCHitTest(s, r, fixed, {x, y}, inCaption, {});
                EXPECT_TRUE(code < 10 || code > 17) << x << "," << y;
            }
        }
    }
}

TEST(FrameGeometry, MaskAreaNeverStartsSizing) {
    TbsFrameSkin s = Skin();
    s.MaskRectArea = {0, 0, 100, 80};
    const TbsFrameRects r = CalcRects(s, 300, 200);
    TbsHitState st;
    st.W = 300;
    st.H = 200;
    st.Sizeable = true;
    auto noMask = [](TPoint) { return false; };
    EXPECT_EQ(SkinNCHitTest(s, r, st, {0, 100}, {}, noMask), kHitObject);
}

TEST(FrameGeometry, BuiltInFrameHitsAndLimits) {
    TbsHitState st;
    st.W = 300;
    st.H = 200;
    st.Sizeable = true;
    std::vector<TbsFrameObject> none;
    const TRect cap = CalcDefRects(none, 300, false, false, 16, 16);
    EXPECT_EQ(cap, (TRect{3, 3, 297, 19}));
    EXPECT_EQ(DefNCHitTest(st, cap, {1, 1}, false), kHitTopLeft);
    EXPECT_EQ(DefNCHitTest(st, cap, {150, 10}, false), kHitCaption);
    EXPECT_EQ(DefNCHitTest(st, cap, {150, 20}, false), kHitObject);  // between caption and client
    EXPECT_EQ(DefNCHitTest(st, cap, {150, 100}, false), kHitClient);
    TbsSizeLimits none_;
    TbsLimitState ls;
    EXPECT_EQ(GetMinWidth(nullptr, none_, ls), 120);
    EXPECT_EQ(GetMinHeight(nullptr, none_, ls), 25);
    ls.RolledUp = true;
    TbsSizeLimits tall;
    tall.MinHeight = 100;
    EXPECT_EQ(GetMinHeight(nullptr, tall, ls), 25);
    EXPECT_EQ(GetMaxWidth(nullptr, none_, ls, 1024), 1024);
}

TEST(FrameGeometry, SkinMinimumIsTheFrameWithoutClient) {
    const TbsFrameSkin s = Skin();
    TbsSizeLimits l;
    TbsLimitState ls;
    EXPECT_EQ(GetMinWidth(&s, l, ls), 100);
    EXPECT_EQ(GetMinHeight(&s, l, ls), 30);
    l.MinClientWidth = 200;
    EXPECT_EQ(GetMinWidth(&s, l, ls), 210);
}

}  // namespace
