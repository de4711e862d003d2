// Nine-part images and regions: the copy plans as data, their execution on real bitmaps, and the region data of masks.
#include "skin/core/SkinImages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "PainterTestSupport.h"
#include "classlib/GdiHandles.h"

namespace {

std::vector<std::int32_t> Ints(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::int32_t> v(bytes.size() / 4);
    std::memcpy(v.data(), bytes.data(), v.size() * 4);
    return v;
}

}  // namespace

TEST(SkinImagePlans, TilesCutAtTheEndOfTheSpan) {
    TCopyPlan p;
    PlanHTile(p, {2, 0, 7, 4}, 10, 22, 0, 6);  // slice 5 wide over 12 pixels: 5, 5, 2
    EXPECT_EQ(
        p, (TCopyPlan{{{2, 0, 7, 4}, {10, 0, 15, 6}}, {{2, 0, 7, 4}, {15, 0, 20, 6}}, {{2, 0, 4, 4}, {20, 0, 22, 6}}}));
    p.clear();
    PlanHTile(p, {0, 0, 5, 1}, 0, 10, 0, 1);  // an exact multiple: the closing tile has length 0 and is left out
    EXPECT_EQ(p.size(), 2u);
    EXPECT_EQ(p.back().Dst.Right, 10);
    p.clear();
    PlanVTile(p, {0, 3, 4, 13}, 0, 4, 0, 4);  // shorter than one slice: one tile cut to the span
    EXPECT_EQ(p, (TCopyPlan{{{0, 3, 4, 7}, {0, 0, 4, 4}}}));
    p.clear();
    PlanHTile(p, {3, 0, 3, 1}, 0, 10, 0, 1);  // a slice of length 0 skips its band
    PlanHTile(p, {0, 0, 5, 1}, 10, 4, 0, 1);  // a negative span draws nothing
    EXPECT_TRUE(p.empty());
}

TEST(SkinImagePlans, MiddleImageTilesAtZeroTenAndTwenty) {
    // R 15 wide with 2 left and 3 right columns: a middle slice of width 10 over W = 25.
    EXPECT_EQ(
        PlanHSkinMiddleImage(2, 3, 15, 4, 25, false),
        (TCopyPlan{{{2, 0, 12, 4}, {0, 0, 10, 4}}, {{2, 0, 12, 4}, {10, 0, 20, 4}}, {{2, 0, 7, 4}, {20, 0, 25, 4}}}));
    EXPECT_EQ(PlanHSkinMiddleImage(2, 3, 15, 4, 25, true), (TCopyPlan{{{2, 0, 12, 4}, {0, 0, 25, 4}}}));
}

TEST(SkinImagePlans, ThreePartStrips) {
    // 15 wide: 3 left and 2 right columns fixed, a middle of 10 tiled over x 3 .. 28.
    EXPECT_EQ(PlanHSkinImage(3, 2, 15, 4, 30, false), (TCopyPlan{{{0, 0, 3, 4}, {0, 0, 3, 4}},
                                                                 {{13, 0, 15, 4}, {28, 0, 30, 4}},
                                                                 {{3, 0, 13, 4}, {3, 0, 13, 4}},
                                                                 {{3, 0, 13, 4}, {13, 0, 23, 4}},
                                                                 {{3, 0, 8, 4}, {23, 0, 28, 4}}}));
    // Without the right end the middle runs to the right side; RO only narrows the slice.
    EXPECT_EQ(PlanHSkinImage2(3, 2, 15, 4, 20, true),
              (TCopyPlan{{{0, 0, 3, 4}, {0, 0, 3, 4}}, {{3, 0, 13, 4}, {3, 0, 20, 4}}}));
    EXPECT_EQ(PlanVSkinImage(2, 3, 4, 10, 12, false), (TCopyPlan{{{0, 0, 4, 2}, {0, 0, 4, 2}},
                                                                 {{0, 7, 4, 10}, {0, 9, 4, 12}},
                                                                 {{0, 2, 4, 7}, {0, 2, 4, 7}},
                                                                 {{0, 2, 4, 4}, {0, 7, 4, 9}}}));
    EXPECT_EQ(PlanVSkinImage(2, 3, 4, 10, 30, true).back(), (TSliceCopy{{0, 2, 4, 7}, {0, 2, 4, 27}}));
}

TEST(SkinImages, MiddleImagePixels) {
    auto sb = MakeBitmap(20, 6, PositionColor);
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    CreateHSkinMiddleImage(2, 3, &b, sb.get(), {1, 1, 16, 5}, 25, 99, false);
    ASSERT_EQ(b.Width(), 25);
    ASSERT_EQ(b.Height(), 4);
    // Source columns 3..12 of the picture (R starts at x 1), rows 1..4.
    for (int x = 0; x < 25; ++x)
        EXPECT_EQ(PixelAt(&b, x, 2), PositionColor(3 + x % 10, 3)) << x;
}

TEST(SkinImages, TwentyFourBitPicturesGoThroughGdiWithTheSameResult) {
    auto sb = MakeBitmap(20, 6, PositionColor);
    sb->SetPixelFormat(pf24bit);
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    CreateHSkinMiddleImage(2, 3, &b, sb.get(), {1, 1, 16, 5}, 25, 99, false);
    ASSERT_EQ(b.Width(), 25);
    b.SetPixelFormat(pf32bit);
    for (int x = 0; x < 25; ++x)
        EXPECT_EQ(PixelAt(&b, x, 3), PositionColor(3 + x % 10, 4)) << x;
}

TEST(SkinImages, StretchImageToItsOwnSizeIsIdentical) {
    auto sb = MakeBitmap(40, 30, [](int x, int y) { return PositionColor(x, y) ^ 0x5A0000u; });
    const TRect r{5, 4, 33, 26};
    TBitmap b(r.Width(), r.Height(), pf32bit);
    CreateStretchImage(&b, sb.get(), r, {6, 5, 20, 15}, true);
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            ASSERT_EQ(PixelAt(&b, x, y), PixelAt(sb.get(), r.Left + x, r.Top + y)) << x << "," << y;
}

TEST(SkinImages, NinePartImageCopiesCornersAndTilesEdges) {
    // A 30 x 30 picture: corners 10 x 10, edges between, client (10, 10, 20, 20).
    auto sb = MakeBitmap(30, 30, PositionColor);
    const TNinePart src{{10, 10}, {20, 10}, {10, 20}, {20, 20}, {10, 10, 20, 20}};
    const int W = 47, H = 36;
    const TNinePart n{{10, 10}, {W - 10, 10}, {10, H - 10}, {W - 10, H - 10}, {10, 10, W - 10, H - 10}};
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    CreateSkinImage(src.LTPt, src.RTPt, src.LBPt, src.RBPt, src.ClRect, n.LTPt, n.RTPt, n.LBPt, n.RBPt, n.ClRect, &b,
                    sb.get(), {0, 0, 30, 30}, W, H, true, false, false, false, false, false, bsstFull);
    ASSERT_EQ(b.Width(), W);
    ASSERT_EQ(b.Height(), H);
    EXPECT_EQ(PixelAt(&b, 0, 0), PositionColor(0, 0));            // top-left corner
    EXPECT_EQ(PixelAt(&b, W - 1, 0), PositionColor(29, 0));       // top-right corner
    EXPECT_EQ(PixelAt(&b, W - 1, H - 1), PositionColor(29, 29));  // bottom-right corner
    EXPECT_EQ(PixelAt(&b, 0, H - 1), PositionColor(0, 29));       // bottom-left corner
    EXPECT_EQ(PixelAt(&b, 10, 3), PositionColor(10, 3));          // first top tile
    EXPECT_EQ(PixelAt(&b, 23, 3), PositionColor(13, 3));          // second top tile
    EXPECT_EQ(PixelAt(&b, 36, 3), PositionColor(16, 3));          // last top tile, cut at x 37
    EXPECT_EQ(PixelAt(&b, 2, 24), PositionColor(2, 14));          // left edge, second tile
    EXPECT_EQ(PixelAt(&b, 25, 24), PositionColor(15, 14));        // client tiled both ways
    EXPECT_EQ(PixelAt(&b, 36, 25), PositionColor(16, 15));        // last client tile, cut right and bottom
}

TEST(SkinImages, GeometryOutsideThePictureIsHarmless) {
    // A skin whose rectangle and points reach beyond its 10 x 10 picture, and negative target sizes.
    auto sb = MakeBitmap(10, 10, PositionColor);
    const TNinePart src{{30, 40}, {90, 40}, {30, 70}, {90, 70}, {20, 30, 95, 80}};
    for (TBitmap* b : {new TBitmap(1, 1, pf32bit), new TBitmap(1, 1, pf24bit)}) {
        std::unique_ptr<TBitmap> owned(b);
        for (auto [w, h] : {std::pair{64, 48}, std::pair{-5, 20}, std::pair{3, 2}}) {
            CreateSkinImage(src.LTPt, src.RTPt, src.LBPt, src.RBPt, src.ClRect, src.LTPt, src.RTPt, src.LBPt, src.RBPt,
                            src.ClRect, b, sb.get(), {-50, 5, 100, 90}, w, h, true, true, false, true, false, false,
                            bsstHorz);
            CreateHSkinImage(200, -30, b, sb.get(), {5, 5, 400, 9}, w, h, false);
            CreateVSkinImage(-4, 90, b, sb.get(), {5, 5, 9, 300}, w, h, true);
            TGdiRegion rgn;
            CreateSkinRegion(rgn, src.LTPt, src.RTPt, src.LBPt, src.RBPt, src.ClRect, src.LTPt, src.RTPt, src.LBPt,
                             src.RBPt, src.ClRect, sb.get(), w, h);
        }
        EXPECT_EQ(b->Width(), 4);  // the last call's size: Rw of (5, 5, 9, 300)
    }
}

TEST(SkinImagePlans, PointsSharingAnAxisOnlySizeTheImage) {
    const TNinePart src{{5, 5}, {10, 5}, {5, 10}, {5, 10}, {5, 5, 10, 10}};
    EXPECT_TRUE(PlanSkinImage(src, src, 15, 15, 40, 40, {}).empty());
    auto sb = MakeBitmap(15, 15, PositionColor);
    TBitmap b;
    CreateSkinImage(src.LTPt, src.RTPt, src.LBPt, src.RBPt, src.ClRect, src.LTPt, src.RTPt, src.LBPt, src.RBPt,
                    src.ClRect, &b, sb.get(), {0, 0, 15, 15}, 40, 30, true, false, false, false, false, false,
                    bsstFull);
    EXPECT_EQ(b.Width(), 40);
    EXPECT_EQ(b.Height(), 30);
}

TEST(SkinImagePlans, ClientStretchTypes) {
    const TNinePart src{{4, 4}, {8, 4}, {4, 8}, {8, 8}, {4, 4, 8, 8}};      // client slice 4 x 4
    const TNinePart n{{4, 4}, {14, 4}, {4, 13}, {14, 13}, {4, 4, 14, 13}};  // new client 10 x 9
    auto clientCopies = [&](TbsStretchType t, bool second) {
        TNinePartFlags f{true, false, false, false, false, true, t};
        TCopyPlan all = second ? PlanSkinImage2(src, n, 12, 12, 30, 17, f) : PlanSkinImage(src, n, 12, 12, 18, 17, f);
        TCopyPlan client;
        for (const TSliceCopy& c : all)
            if (c.Src.Left >= 4 && c.Src.Top >= 4 && c.Src.Right <= 8 && c.Src.Bottom <= 8)
                client.push_back(c);
        return client;
    };
    EXPECT_EQ(clientCopies(bsstFull, false), (TCopyPlan{{{4, 4, 8, 8}, {4, 4, 14, 13}}}));
    // Whole copies stretched to the client height from the left, the last one clipped at the client's right side.
    EXPECT_EQ(
        clientCopies(bsstHorz, false),
        (TCopyPlan{{{4, 4, 8, 8}, {4, 4, 8, 13}}, {{4, 4, 8, 8}, {8, 4, 12, 13}}, {{4, 4, 6, 8}, {12, 4, 14, 13}}}));
    EXPECT_EQ(
        clientCopies(bsstVert, false),
        (TCopyPlan{{{4, 4, 8, 8}, {4, 4, 14, 8}}, {{4, 4, 8, 8}, {4, 8, 14, 12}}, {{4, 4, 8, 5}, {4, 12, 14, 13}}}));
    // The variant without a right edge fills the client up to the right side of the image in every type.
    for (TbsStretchType t : {bsstFull, bsstHorz, bsstVert}) {
        int right = 0;
        for (const TSliceCopy& c : clientCopies(t, true))
            right = std::max(right, c.Dst.Right);
        EXPECT_EQ(right, 30) << int(t);
    }
}

TEST(SkinRegions, RegionDataOfAFiveByOneMask) {
    const std::uint32_t w = 0xFFFFFF;
    const std::uint32_t row[5] = {0, 0, w, 0, 0};
    auto mask = MakeBitmap(5, 1, [&](int x, int) { return row[x]; });
    std::vector<std::uint8_t> data;
    ASSERT_EQ(CreateRgnFromBmp(mask.get(), 10, 20, data), 64u);
    EXPECT_EQ(Ints(data), (std::vector<std::int32_t>{32, 1, 2, 0, 10, 20, 15, 21, 10, 20, 12, 21, 13, 20, 15, 21}));
    // The data makes a region of exactly those pixels.
    TGdiRegion rgn(::ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<RGNDATA*>(data.data())));
    ASSERT_TRUE(rgn);
    EXPECT_TRUE(::PtInRegion(rgn.Get(), 11, 20));
    EXPECT_FALSE(::PtInRegion(rgn.Get(), 12, 20));
    EXPECT_TRUE(::PtInRegion(rgn.Get(), 14, 20));
}

TEST(SkinRegions, TwentyFourBitMaskGivesTheSameData) {
    const std::uint32_t w = 0xFFFFFF;
    const std::uint32_t row[5] = {0, 0, w, 0, 0};
    auto mask = MakeBitmap(5, 1, [&](int x, int) { return row[x]; });
    std::vector<std::uint8_t> direct, copied;
    CreateRgnFromBmp(mask.get(), 10, 20, direct);
    mask->SetPixelFormat(pf24bit);
    ASSERT_EQ(CreateRgnFromBmp(mask.get(), 10, 20, copied), 64u);
    EXPECT_EQ(copied, direct);
}

TEST(SkinRegions, AllWhiteMaskHasNoRectanglesAndAnEmptyBitmapNoData) {
    auto mask = MakeBitmap(7, 3, [](int, int) { return 0xFFFFFFu; });
    std::vector<std::uint8_t> data;
    ASSERT_EQ(CreateRgnFromBmp(mask.get(), 0, 0, data), 32u);
    EXPECT_EQ(Ints(data), (std::vector<std::int32_t>{32, 1, 0, 0, 0, 0, 7, 3}));
    TBitmap empty;
    EXPECT_EQ(CreateRgnFromBmp(&empty, 0, 0, data), 0u);
    EXPECT_TRUE(data.empty());
    TGdiRegion rgn(::CreateRectRgn(0, 0, 1, 1));
    CreateSkinSimplyRegion(rgn, &empty);
    EXPECT_FALSE(rgn);
}

TEST(SkinRegions, ManyRunsAreAllKept) {
    // A checkerboard of 200 x 120 has 12,000 runs: more than a fixed work list of 10,000 would hold.
    auto mask = MakeBitmap(200, 120, [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFu : 0u; });
    std::vector<std::uint8_t> data;
    ASSERT_EQ(CreateRgnFromBmp(mask.get(), 0, 0, data), 32u + 16u * 12000u);
    EXPECT_EQ(Ints(data)[2], 12000);
}

TEST(SkinRegions, SkinRegionWithoutTopBandKeepsTheOtherBands) {
    // A 12 x 12 mask, all black, client (3, 0, 9, 9): no top band (ClRect.Top = 0).
    auto mask = MakeBitmap(12, 12, [](int, int) { return 0u; });
    const TNinePart src{{3, 0}, {9, 0}, {3, 9}, {9, 9}, {3, 0, 9, 9}};
    const TNinePart n{{3, 0}, {17, 0}, {3, 17}, {17, 17}, {3, 0, 17, 17}};
    TGdiRegion owned;
    CreateSkinRegion(owned, src.LTPt, src.RTPt, src.LBPt, src.RBPt, src.ClRect, n.LTPt, n.RTPt, n.LBPt, n.RBPt,
                     n.ClRect, mask.get(), 20, 20);
    ASSERT_TRUE(owned);
    const HRGN rgn = owned.Get();
    RECT box{};
    ::GetRgnBox(rgn, &box);
    EXPECT_EQ((TRect{box.left, box.top, box.right, box.bottom}), (TRect{0, 0, 20, 20}));
    EXPECT_TRUE(::PtInRegion(rgn, 1, 5));    // left band
    EXPECT_TRUE(::PtInRegion(rgn, 18, 5));   // right band
    EXPECT_TRUE(::PtInRegion(rgn, 10, 18));  // bottom band
}

TEST(SkinImages, PixelCopiesHoldTheirBitmapAndDCInOwners) {
    auto src = MakeBitmap(6, 4, PositionColor);
    const HBITMAP picture = src->Handle();
    const HDC pictureDC = src->Canvas()->Handle();
    const long gdi = LiveHandleCount(THandleKind::Gdi), dcs = LiveHandleCount(THandleKind::DC);
    for (int i = 0; i < 5; ++i) {
        TbsFBitmap copy(picture, pictureDC);
        ASSERT_NE(copy.hDC, nullptr);
        // The copy's DIB and its DC are counted while it lives...
        EXPECT_EQ(LiveHandleCount(THandleKind::Gdi), gdi + 1);
        EXPECT_EQ(LiveHandleCount(THandleKind::DC), dcs + 1);
        EXPECT_EQ(copy.Pixels.size(), 4u);
    }
    // ... and freed with it; a bitmap that cannot be read leaves nothing either.
    { TbsFBitmap none(nullptr); }
    EXPECT_EQ(LiveHandleCount(THandleKind::Gdi), gdi);
    EXPECT_EQ(LiveHandleCount(THandleKind::DC), dcs);
}

TEST(SkinRegions, WhiteCornersOfTheMaskStayOutside) {
    // A 10 x 10 mask whose top-left 2 x 2 pixels are white; the region of a 30 x 20 window keeps that notch.
    auto mask = MakeBitmap(10, 10, [](int x, int y) { return x < 2 && y < 2 ? 0xFFFFFFu : 0u; });
    const TNinePart src{{3, 3}, {7, 3}, {3, 7}, {7, 7}, {3, 3, 7, 7}};
    const TNinePart n{{3, 3}, {27, 3}, {3, 17}, {27, 17}, {3, 3, 27, 17}};
    TGdiRegion owned;
    CreateSkinRegion(owned, src.LTPt, src.RTPt, src.LBPt, src.RBPt, src.ClRect, n.LTPt, n.RTPt, n.LBPt, n.RBPt,
                     n.ClRect, mask.get(), 30, 20);
    ASSERT_TRUE(owned);
    const HRGN rgn = owned.Get();
    EXPECT_FALSE(::PtInRegion(rgn, 0, 0));
    EXPECT_FALSE(::PtInRegion(rgn, 1, 1));
    EXPECT_TRUE(::PtInRegion(rgn, 2, 0));
    EXPECT_TRUE(::PtInRegion(rgn, 29, 19));
    EXPECT_FALSE(::PtInRegion(rgn, 30, 19));
    EXPECT_TRUE(::PtInRegion(rgn, 15, 10));  // client
}

TEST(SkinImages, BorderImagesOfAFrame) {
    auto sb = MakeBitmap(30, 30, PositionColor);
    const TNinePart src{{10, 10}, {20, 10}, {10, 20}, {20, 20}, {10, 10, 20, 20}};
    const int W = 50, H = 40;
    const TNinePart n{{10, 10}, {W - 10, 10}, {10, H - 10}, {W - 10, H - 10}, {10, 10, W - 10, H - 10}};
    TBitmap l, t, r, b;
    for (TBitmap* x : {&l, &t, &r, &b})
        x->SetPixelFormat(pf32bit);
    CreateSkinBorderImages(src.LTPt, src.RTPt, src.LBPt, src.RBPt, src.ClRect, n.LTPt, n.RTPt, n.LBPt, n.RBPt, n.ClRect,
                           &l, &t, &r, &b, sb.get(), {0, 0, 30, 30}, W, H, false, false, false, false);
    EXPECT_EQ((std::vector<int>{t.Width(), t.Height(), b.Width(), b.Height()}), (std::vector<int>{50, 10, 50, 10}));
    EXPECT_EQ((std::vector<int>{l.Width(), l.Height(), r.Width(), r.Height()}), (std::vector<int>{10, 20, 10, 20}));
    EXPECT_EQ(PixelAt(&t, 49, 0), PositionColor(29, 0));
    EXPECT_EQ(PixelAt(&b, 0, 9), PositionColor(0, 29));
    EXPECT_EQ(PixelAt(&l, 0, 13), PositionColor(0, 13));
    EXPECT_EQ(PixelAt(&r, 9, 0), PositionColor(29, 10));
}
