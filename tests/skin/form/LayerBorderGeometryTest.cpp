// The layered border's geometry as data: frame and hit sizes, the outer rectangle around a form, the four image plans
// (including a form shorter than the two bands), window places, alpha scaling, the hit test of each window, drag steps
// with their limits and band rule, the restore by dragging, and the caption objects of a full border.
#include <gtest/gtest.h>

#include "skin/form/LayerBorderGeometry.h"

namespace {

// A 420 x 340 frame picture around a client (10, 30, 410, 330), with a visible frame 6 pixels wide (26 on top).
TbsLayerFrameGeom Frame() {
    TbsLayerFrameGeom g;
    g.SW = 420;
    g.SH = 340;
    g.LTPoint = {30, 30};
    g.RTPoint = {390, 30};
    g.LBPoint = {30, 330};
    g.RBPoint = {390, 330};
    g.ClRect = {10, 30, 410, 330};
    g.BorderRect = {4, 4, 416, 336};
    g.HitTestRect = {2, 2, 418, 338};
    g.HitTestEnable = true;
    g.HitTestSize = 5;
    g.CaptionRect = {10, 4, 300, 30};
    g.HitTestLTPoint = {20, 40};
    g.HitTestRTPoint = {400, 40};
    g.HitTestLBPoint = {20, 320};
    g.HitTestRBPoint = {400, 320};
    return g;
}

const TRect kForm = Bounds(200, 150, 400, 300);

TEST(LayerBorderGeometry, FrameAndHitSizes) {
    TbsLayerFrameGeom g = Frame();
    const TbsLayerSizes s = CalcLayerSizes(g);
    EXPECT_EQ(s.LeftSize, 6);
    EXPECT_EQ(s.TopSize, 26);
    EXPECT_EQ(s.RightSize, 6);
    EXPECT_EQ(s.BottomSize, 6);
    EXPECT_EQ(s.HitLeftSize, 6);
    EXPECT_EQ(s.HitTopSize, 26);
    EXPECT_EQ(s.HitTopLeftX, 16);
    EXPECT_EQ(s.HitTopLeftY, 36);
    EXPECT_EQ(s.HitTopRightX, 16);
    EXPECT_EQ(s.HitBottomLeftY, 16);
    EXPECT_EQ(s.HitBottomRightX, 16);

    // Without a border rectangle the frame has no thickness; the hit sizes come from the hit-test rectangle.
    g.BorderRect = {};
    const TbsLayerSizes h = CalcLayerSizes(g);
    EXPECT_EQ(h.LeftSize + h.TopSize + h.RightSize + h.BottomSize, 0);
    EXPECT_EQ(h.HitLeftSize, 8);
    EXPECT_EQ(h.HitTopSize, 28);
    EXPECT_EQ(h.HitBottomSize, 8);
    EXPECT_EQ(h.HitTopLeftX, 18);

    g.HitTestRect = {};
    EXPECT_EQ(CalcLayerSizes(g), TbsLayerSizes{});
}

TEST(LayerBorderGeometry, OuterRectangleAndWindowPlaces) {
    TbsLayerFrameGeom g = Frame();
    const TRect o = LayerOuterRect(g, kForm, false);
    EXPECT_EQ(o, (TRect{190, 120, 610, 460}));
    const TbsLayerPlaces p = LayerWindowPlaces(o.Left, o.Top, o.Width(), o.Height(), 30, 10, 10);
    EXPECT_EQ(p.Top, (TPoint{190, 120}));
    EXPECT_EQ(p.Bottom, (TPoint{190, 450}));
    EXPECT_EQ(p.Left, (TPoint{190, 150}));
    EXPECT_EQ(p.Right, (TPoint{600, 150}));

    g.LeftOffset = 2;
    g.TopOffset = -3;
    g.WidthOffset = 4;
    g.HeightOffset = 5;
    EXPECT_EQ(LayerOuterRect(g, kForm, false), (TRect{192, 117, 192 + 424, 117 + 345}));
    // Rolled up: the frame's own roll-up height in place of the form's.
    g.RollUpFormHeight = 12;
    EXPECT_EQ(LayerOuterRect(g, kForm, true).Height(), 12 + 40);
}

TEST(LayerBorderGeometry, ImagePlansForANormalForm) {
    const TbsLayerFrameGeom g = Frame();
    const TbsLayerImagePlans p = PlanLayerImages(g, 420, 340, 520, 440);
    EXPECT_EQ(p.Top.Width, 520);
    EXPECT_EQ(p.Top.Height, 30);
    // Left corner as it is, right corner at the right end, the middle stretched between.
    ASSERT_EQ(p.Top.Copies.size(), 3u);
    EXPECT_EQ(p.Top.Copies[0], (TbsLayerCopy{{0, 0, 30, 30}, {0, 0, 30, 30}}));
    EXPECT_EQ(p.Top.Copies[1], (TbsLayerCopy{{390, 0, 420, 30}, {490, 0, 520, 30}}));
    EXPECT_EQ(p.Top.Copies[2], (TbsLayerCopy{{30, 0, 390, 30}, {30, 0, 490, 30}}));
    EXPECT_EQ(p.Bottom.Height, 10);
    EXPECT_EQ(p.Bottom.Copies[0].Src, (TRect{0, 330, 30, 340}));
    EXPECT_EQ(p.Left.Width, 10);
    EXPECT_EQ(p.Left.Height, 400);
    EXPECT_EQ(p.Right.Width, 10);
    // The side band (300 rows) is repeated downwards, the last copy cut.
    ASSERT_EQ(p.Left.Copies.size(), 2u);
    EXPECT_EQ(p.Left.Copies[0], (TbsLayerCopy{{0, 30, 10, 330}, {0, 0, 10, 300}}));
    EXPECT_EQ(p.Left.Copies[1], (TbsLayerCopy{{0, 30, 10, 130}, {0, 300, 10, 400}}));
    EXPECT_EQ(p.Right.Copies[0].Src, (TRect{410, 30, 420, 330}));

    TbsLayerFrameGeom st = g;
    st.FullStretch = true;
    const TbsLayerImagePlans s = PlanLayerImages(st, 420, 340, 520, 440);
    ASSERT_EQ(s.Left.Copies.size(), 1u);
    EXPECT_EQ(s.Left.Copies[0], (TbsLayerCopy{{0, 30, 10, 330}, {0, 0, 10, 400}}));
}

TEST(LayerBorderGeometry, AFormShorterThanTheBandsCutsTheBottomAndLeavesNoSides) {
    const TbsLayerFrameGeom g = Frame();
    // 36 rows in all: the top band takes 30, the bottom band the last 6 rows of the picture.
    const TbsLayerImagePlans p = PlanLayerImages(g, 420, 340, 420, 36);
    EXPECT_EQ(p.Top.Height, 30);
    EXPECT_EQ(p.Bottom.Height, 6);
    EXPECT_EQ(p.Bottom.Copies[0].Src, (TRect{0, 334, 30, 340}));
    EXPECT_EQ(p.Left.Height, 0);
    EXPECT_TRUE(p.Left.Copies.empty());
    EXPECT_TRUE(p.Right.Copies.empty());
    // Shorter than the top band alone: no bottom image at all.
    const TbsLayerImagePlans q = PlanLayerImages(g, 420, 340, 420, 20);
    EXPECT_EQ(q.Top.Height, 20);
    EXPECT_EQ(q.Bottom.Height, 0);
    EXPECT_TRUE(PlanLayerImages(g, 420, 340, 0, 0).Top.Copies.empty());
}

TEST(LayerBorderGeometry, AlphaScaledToTheForm) {
    const struct {
        int value, form, expected;
    } cases[] = {{200, 128, 100}, {255, 255, 255}, {0, 200, 0},     {170, 128, 85},
                 {1, 128, 1},     {1, 127, 0},     {128, 255, 128}, {255, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ScaleLayerAlpha(c.value, c.form), c.expected) << c.value << " " << c.form;
}

TEST(LayerBorderGeometry, HitModesOfTheFourWindows) {
    const TbsLayerFrameGeom g = Frame();
    const TbsLayerSizes s = CalcLayerSizes(g);
    const TRect top{190, 120, 610, 150}, bottom{190, 450, 610, 460}, left{190, 150, 200, 450},
        right{600, 150, 610, 450};
    const struct {
        TbsFormLayerBorderType type;
        TRect window;
        TPoint c;
        bool canSize;
        TbsLayerObjectHit object;
        TbsFormLayerBorderHit expected;
    } cases[] = {
        {bsflTop, top, {300, 125}, true, lohNone, bsflhTop},
        {bsflTop, top, {195, 130}, true, lohNone, bsflhTopLeft},
        {bsflTop, top, {600, 130}, true, lohNone, bsflhTopRight},
        // The caption zone takes the corner's inner part.
        {bsflTop, top, {205, 140}, true, lohNone, bsflhNone},
        {bsflTop, top, {300, 140}, true, lohNone, bsflhNone},
        {bsflTop, top, {300, 125}, false, lohNone, bsflhNone},
        {bsflTop, top, {300, 140}, true, lohCaption, bsflCaption},
        {bsflTop, top, {300, 140}, false, lohObject, bsflObject},
        {bsflBottom, bottom, {195, 452}, true, lohNone, bsflhBottomLeft},
        {bsflBottom, bottom, {300, 452}, true, lohNone, bsflhBottom},
        {bsflBottom, bottom, {600, 452}, true, lohNone, bsflhBottomRight},
        {bsflBottom, bottom, {300, 458}, true, lohNone, bsflhNone},
        {bsflLeft, left, {195, 300}, true, lohNone, bsflhLeft},
        {bsflLeft, left, {192, 300}, true, lohNone, bsflhNone},
        {bsflRight, right, {605, 300}, true, lohNone, bsflhRight},
        {bsflRight, right, {607, 300}, true, lohNone, bsflhNone},
        {bsflRight, right, {605, 300}, false, lohNone, bsflhNone},
    };
    for (const auto& c : cases) {
        TbsLayerHitInput in;
        in.BorderType = c.type;
        in.Window = c.window;
        in.C = c.c;
        in.Form = kForm;
        in.CanChangeSize = c.canSize;
        in.Object = c.object;
        EXPECT_EQ(GetHitMode(g, s, in), c.expected) << int(c.type) << " at " << c.c.X << "," << c.c.Y;
    }
}

TEST(LayerBorderGeometry, DragStepsWithLimitsAndTheBandRule) {
    const TbsLayerFrameGeom g = Frame();
    const TbsLayerSizes s = CalcLayerSizes(g);
    const struct {
        const char* what;
        TbsFormLayerBorderHit mode;
        TPoint c;
        int dx, dy, minW, maxW;
        TbsLayerDragStep expected;
    } cases[] = {
        {"left edge at minimum width dragged inwards", bsflhLeft, {210, 300}, 10, 0, 400, 0, {}},
        {"left edge outwards inside the band",
         bsflhLeft,
         {190, 300},
         -10,
         0,
         100,
         0,
         {true, Bounds(190, 150, 410, 300), false}},
        {"left edge outwards beyond the band", bsflhLeft, {260, 300}, -10, 0, 100, 0, {}},
        {"left edge inwards to the minimum is clamped: nothing", bsflhLeft, {230, 300}, 30, 0, 380, 0, {}},
        {"top edge inwards moves the border first",
         bsflhTop,
         {300, 160},
         0,
         10,
         100,
         0,
         {true, Bounds(200, 160, 400, 290), true}},
        {"right edge outwards", bsflhRight, {610, 300}, 10, 0, 100, 0, {true, Bounds(200, 150, 410, 300), false}},
        {"right edge at the maximum", bsflhRight, {610, 300}, 10, 0, 100, 400, {}},
        {"right edge inwards to the minimum keeps the minimum",
         bsflhRight,
         {560, 300},
         -50,
         0,
         380,
         0,
         {true, Bounds(200, 150, 380, 300), false}},
        {"bottom edge outwards", bsflhBottom, {300, 455}, 0, 5, 100, 0, {true, Bounds(200, 150, 400, 305), false}},
        // The cursor is horizontally inside the form beyond the left band: only the height grows.
        {"top-left corner beyond the left band",
         bsflhTopLeft,
         {260, 125},
         -10,
         -10,
         100,
         0,
         {true, Bounds(200, 140, 400, 310), false}},
        {"bottom-right corner both ways",
         bsflhBottomRight,
         {605, 455},
         10,
         5,
         100,
         0,
         {true, Bounds(200, 150, 410, 305), false}},
        {"caption move", bsflCaption, {300, 140}, 30, 20, 100, 0, {true, Bounds(230, 170, 400, 300), true}},
        {"caption without movement", bsflCaption, {300, 140}, 0, 0, 100, 0, {}},
        {"no hit", bsflhNone, {300, 140}, 30, 20, 100, 0, {}},
    };
    for (const auto& c : cases) {
        TbsLayerDragInput in;
        in.Mode = c.mode;
        in.Form = kForm;
        in.C = c.c;
        in.Dx = c.dx;
        in.Dy = c.dy;
        in.MinWidth = c.minW;
        in.MinHeight = 50;
        in.MaxWidth = c.maxW;
        EXPECT_EQ(LayerDragStep(g, s, in), c.expected) << c.what;
    }
}

TEST(LayerBorderGeometry, RestoreByDraggingCentresOnTheCursorInsideTheWorkArea) {
    const TRect area{0, 0, 1024, 740};
    const TRect maxed{0, 0, 1024, 740};
    EXPECT_EQ(LayerRestoreByDrag(maxed, 300, 400, {500, 10}, area), Bounds(300, 0, 400, 300));
    EXPECT_EQ(LayerRestoreByDrag(maxed, 300, 400, {50, 10}, area), Bounds(0, 0, 400, 300));
    EXPECT_EQ(LayerRestoreByDrag(maxed, 300, 400, {1000, 10}, area), Bounds(624, 0, 400, 300));
}

TEST(LayerBorderGeometry, CaptionObjectsOfAFullBorder) {
    TbsLayerFrameGeom g = Frame();
    g.FullBorder = true;
    g.CaptionRect = {14, 6, 406, 28};
    auto objects = [] {
        std::vector<TbsFrameObject> o(5);
        o[0].Kind = fokCaption;
        const TbsStdCommand cmds[] = {cmClose, cmMinimize, cmMaximize, cmSysMenu};
        for (int i = 0; i < 4; ++i) {
            o[i + 1].Kind = fokStdButton;
            o[i + 1].Command = cmds[i];
            o[i + 1].SkinRectInAPicture = true;
            o[i + 1].SkinRect = TRect{0, 0, 16, 14};
        }
        return o;
    };
    // No buttons rectangle: the row ends at the caption's right edge (widened by 100 for a wider image).
    std::vector<TbsFrameObject> o = objects();
    LayLayerObjects(g, 520, 2, o, false, 16, 16);
    EXPECT_EQ(o[1].ObjectRect, (TRect{490, 6, 506, 20}));  // close
    EXPECT_EQ(o[3].ObjectRect, (TRect{472, 6, 488, 20}));  // maximise
    EXPECT_EQ(o[2].ObjectRect, (TRect{454, 6, 470, 20}));  // minimise
    EXPECT_EQ(o[4].ObjectRect, (TRect{14, 10, 30, 24}));   // system menu, centred on the caption
    EXPECT_EQ(o[0].ObjectRect, (TRect{30, 6, 450, 28}));   // the caption between them

    // A buttons rectangle and a system-menu rectangle place them there.
    g.ButtonsRect = {300, 8, 400, 24};
    g.SysMenuButtonRect = {12, 4, 32, 28};
    o = objects();
    LayLayerObjects(g, 520, 0, o, false, 16, 16);
    EXPECT_EQ(o[1].ObjectRect, (TRect{484, 8, 500, 22}));
    EXPECT_EQ(o[4].ObjectRect, (TRect{12, 9, 28, 23}));
    EXPECT_EQ(o[0].ObjectRect.Left, 28);
    EXPECT_EQ(o[0].ObjectRect.Right, 400);
}

TEST(LayerBorderGeometry, BlurRegionsOfTheFourWindows) {
    TbsLayerFrameGeom g = Frame();
    g.IntersectBlurMaskRect = {2, 2, 418, 338};
    g.ExcludeBlurMaskRect = {10, 30, 410, 330};
    const TbsLayerBlurRects b = LayerBlurRects(g, 520, 400, 390);
    EXPECT_EQ(b.CornerShift, 100);
    EXPECT_EQ(b.Top, (TRect{30, 2, 490, 30}));
    EXPECT_EQ(b.Bottom, (TRect{30, 0, 490, 8}));
    EXPECT_EQ(b.Left, (TRect{2, 0, 10, 400}));
    EXPECT_EQ(b.Right, (TRect{0, 0, 8, 390}));
}

}  // namespace
