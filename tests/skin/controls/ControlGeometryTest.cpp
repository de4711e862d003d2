// The window-free geometry of the skinned control bases: resize modes and the size rule, the mapping of picture
// rectangles onto a resized control, the forced background's tiles, the mask's corner points and the tool-bar centre.
#include <gtest/gtest.h>

#include "skin/controls/ControlGeometry.h"

namespace {

TbsControlGeometry Geometry(TRect skin, TPoint lt, TPoint rt, TPoint lb, TPoint rb, TRect cl = {}) {
    TbsControlGeometry g;
    g.SkinRect = skin;
    g.LTPt = lt;
    g.RTPt = rt;
    g.LBPt = lb;
    g.RBPt = rb;
    g.ClRect = cl;
    g.ResizeMode = g.GetResizeMode();
    return g;
}

struct SizeCase {
    const char* name;
    TPoint lt, rt, lb, rb;
    int mode, w, h;
};

TEST(ControlGeometry, SizeRuleFollowsTheCornerPoints) {
    // "button" 75 x 25 asked for 200 x 60.
    const SizeCase cases[] = {
        {"no points", {}, {}, {}, {}, rmFixed, 75, 25},
        {"right top", {}, {70, 0}, {}, {}, rmWidth, 200, 25},
        {"left bottom", {}, {}, {0, 20}, {}, rmHeight, 75, 60},
        {"right bottom", {}, {}, {}, {70, 20}, rmBoth, 200, 60},
        {"right bottom x only", {}, {}, {}, {70, 0}, rmFixed, 75, 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TbsControlGeometry g = Geometry({10, 10, 85, 35}, c.lt, c.rt, c.lb, c.rb);
        EXPECT_EQ(g.ResizeMode, c.mode);
        int w = 200, h = 60;
        g.CalcSize(true, w, h);
        EXPECT_EQ(w, c.w);
        EXPECT_EQ(h, c.h);
    }
    // Without an entry a fixed picture leaves the size alone; an empty picture always does.
    TbsControlGeometry fixed = Geometry({0, 0, 75, 25}, {}, {}, {}, {});
    int w = 200, h = 60;
    fixed.CalcSize(false, w, h);
    EXPECT_EQ(TSize(w, h), TSize(200, 60));
    TbsControlGeometry none = Geometry({5, 5, 5, 30}, {}, {70, 0}, {}, {});
    EXPECT_EQ(none.ResizeMode, rmNone);
    none.CalcSize(true, w, h);
    EXPECT_EQ(TSize(w, h), TSize(200, 60));
}

TEST(ControlGeometry, NewPointsAndClientFollowTheSize) {
    TbsControlGeometry g = Geometry({0, 0, 100, 50}, {10, 10}, {90, 10}, {10, 40}, {90, 40}, {10, 10, 90, 40});
    int w = 200, h = 80;
    g.CalcSize(true, w, h);
    EXPECT_EQ(g.NewLTPoint, (TPoint{10, 10}));
    EXPECT_EQ(g.NewRTPoint, (TPoint{190, 10}));
    EXPECT_EQ(g.NewLBPoint, (TPoint{10, 70}));
    EXPECT_EQ(g.NewRBPoint, (TPoint{190, 70}));
    EXPECT_EQ(g.NewClRect, (TRect{10, 10, 190, 70}));
    EXPECT_EQ(g.RealClientWidth(), 180);
    TbsControlGeometry across = Geometry({0, 0, 30, 12}, {5, 0}, {25, 0}, {}, {}, {5, 0, 25, 12});
    across.CalcSize(true, w, h);
    EXPECT_EQ(h, 12);
    EXPECT_EQ(across.NewRTPoint, (TPoint{195, 0}));
    EXPECT_EQ(across.NewClRect, (TRect{5, 0, 195, 12}));
}

struct MapCase {
    TRect in, out;
};

TEST(ControlGeometry, RectanglesMapOntoTheResizedControl) {
    // Mode 1, 100 x 50 with corners at (10,10) (90,10) (10,40) (90,40), shown at 200 x 80.
    const TbsControlGeometry g = Geometry({0, 0, 100, 50}, {10, 10}, {90, 10}, {10, 40}, {90, 40});
    const MapCase cases[] = {
        {{95, 2, 98, 8}, {195, 2, 198, 8}},       // right top corner: moves right
        {{5, 2, 95, 8}, {5, 2, 195, 8}},          // across the top: widens
        {{20, 15, 30, 25}, {20, 15, 30, 25}},     // in the middle: stays
        {{2, 2, 8, 8}, {2, 2, 8, 8}},             // left top corner
        {{2, 42, 8, 48}, {2, 72, 8, 78}},         // left bottom corner: moves down
        {{92, 42, 98, 48}, {192, 72, 198, 78}},   // right bottom corner
        {{2, 2, 95, 45}, {2, 2, 195, 75}},        // from the left top to the right bottom: grows both ways
        {{2, 2, 8, 45}, {2, 2, 8, 75}},           // down the left side: taller
        {{2, 42, 95, 48}, {2, 72, 195, 78}},      // across the bottom: wider and down
        {{92, 2, 98, 45}, {192, 2, 198, 75}},     // down the right side: right and taller
    };
    for (const auto& c : cases)
        EXPECT_EQ(g.GetNewRect(c.in, 200, 80), c.out) << c.in.Left << "," << c.in.Top;
    const TbsControlGeometry across = Geometry({0, 0, 100, 20}, {10, 0}, {90, 0}, {}, {});
    EXPECT_EQ(across.GetNewRect({5, 2, 95, 8}, 200, 20), (TRect{5, 2, 195, 8}));
    EXPECT_EQ(across.GetNewRect({92, 2, 98, 8}, 200, 20), (TRect{192, 2, 198, 8}));
    EXPECT_EQ(across.GetNewRect({20, 2, 30, 8}, 200, 20), (TRect{20, 2, 30, 8}));
    const TbsControlGeometry down = Geometry({0, 0, 20, 100}, {0, 10}, {}, {0, 90}, {});
    EXPECT_EQ(down.GetNewRect({2, 5, 8, 95}, 20, 200), (TRect{2, 5, 8, 195}));
    EXPECT_EQ(down.GetNewRect({2, 92, 8, 98}, 20, 200), (TRect{2, 192, 8, 198}));
    const TbsControlGeometry fixed = Geometry({0, 0, 20, 20}, {}, {}, {}, {});
    EXPECT_EQ(fixed.GetNewRect({2, 2, 8, 8}, 200, 200), (TRect{2, 2, 8, 8}));
}

TEST(ControlGeometry, ForcedBackgroundTilesStartAtTheClientEdges) {
    const TRect client{5, 5, 30, 17};  // 25 x 12
    auto tiles = ForcedBackgroundTiles(client, 10, 5, false, bsstFull);
    ASSERT_EQ(tiles.size(), 9u);  // columns 0..2, rows 0..2: the last ones cut by the clip
    EXPECT_EQ(tiles.front().Dst, (TRect{5, 5, 15, 10}));
    EXPECT_EQ(tiles.back().Dst, (TRect{25, 15, 35, 20}));
    tiles = ForcedBackgroundTiles(client, 10, 5, true, bsstFull);
    ASSERT_EQ(tiles.size(), 1u);
    EXPECT_EQ(tiles[0].Dst, client);
    tiles = ForcedBackgroundTiles(client, 10, 5, true, bsstHorz);
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[1].Dst, (TRect{15, 5, 25, 17}));
    tiles = ForcedBackgroundTiles(client, 10, 5, true, bsstVert);
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[2].Dst, (TRect{5, 15, 30, 20}));
    // An empty tile or client: no background at all (no division by a zero tile).
    EXPECT_TRUE(ForcedBackgroundTiles(client, 0, 5, false, bsstFull).empty());
    EXPECT_TRUE(ForcedBackgroundTiles(client, 10, 0, true, bsstHorz).empty());
    EXPECT_TRUE(ForcedBackgroundTiles({5, 5, 5, 17}, 10, 5, true, bsstFull).empty());
}

TEST(ControlGeometry, MaskPointsPerResizeMode) {
    TbsControlGeometry::TMaskPoints p;
    TbsControlGeometry across = Geometry({0, 0, 30, 12}, {5, 0}, {25, 0}, {}, {});
    ASSERT_TRUE(across.MaskPoints(60, 12, p));
    EXPECT_EQ(p.LB, across.LTPt);
    EXPECT_EQ(p.RB, across.RTPt);
    EXPECT_EQ(p.NewRT, (TPoint{55, 0}));
    EXPECT_EQ(p.NewRB, (TPoint{55, 0}));
    TbsControlGeometry down = Geometry({0, 0, 12, 30}, {0, 5}, {}, {0, 25}, {});
    ASSERT_TRUE(down.MaskPoints(12, 50, p));
    EXPECT_EQ(p.RT, down.LTPt);
    EXPECT_EQ(p.NewLB, (TPoint{0, 45}));
    TbsControlGeometry fixed = Geometry({0, 0, 20, 20}, {}, {}, {}, {});
    EXPECT_FALSE(fixed.MaskPoints(20, 20, p));
}

TEST(ControlGeometry, CentringInAHost) {
    EXPECT_EQ(CentredTop({0, 0, 100, 25}, 20), 2);
    EXPECT_EQ(CentredTop({0, 3, 100, 28}, 20), 5);
    EXPECT_EQ(CentredTop({0, 0, 100, 25}, 25), 0);
}

}  // namespace
