// Whole-bitmap pixel work of the skin bitmap: tiles, reflections, merging, fills, flags from content.
#include "skin/core/BitmapPixels.h"

#include <gtest/gtest.h>

#include <vector>

#include "PixelTestSupport.h"
#include "skin/core/ColorRoutines.h"

namespace {

struct TileCall {
    TRect tile, source;
    friend bool operator==(const TileCall&, const TileCall&) = default;
};

std::vector<TileCall> Tiles(const TRect& dst, const TRect& clip, const TRect& src, const TRect& visible = TRect{}) {
    std::vector<TileCall> calls;
    ForEachTile(dst, clip, src, visible, [&](const TRect& t, const TRect& s) { calls.push_back({t, s}); });
    return calls;
}

TEST(TileWalk, TenByTenOverTwentyFiveByTen) {
    const auto calls = Tiles(TRect{0, 0, 25, 10}, TRect{}, TRect{0, 0, 10, 10});
    const std::vector<TileCall> expected = {
        {{0, 0, 10, 10}, {0, 0, 10, 10}}, {{10, 0, 20, 10}, {0, 0, 10, 10}}, {{20, 0, 25, 10}, {0, 0, 5, 10}}};
    EXPECT_EQ(calls, expected);
}

TEST(TileWalk, ColumnsOuterRowsInnerCutTilesTakeTheSourcesTopLeft) {
    const auto calls = Tiles(TRect{5, 5, 12, 9}, TRect{}, TRect{2, 3, 6, 6});
    const std::vector<TileCall> expected = {{{5, 5, 9, 8}, {2, 3, 6, 6}},
                                            {{5, 8, 9, 9}, {2, 3, 6, 4}},
                                            {{9, 5, 12, 8}, {2, 3, 5, 6}},
                                            {{9, 8, 12, 9}, {2, 3, 5, 4}}};
    EXPECT_EQ(calls, expected);
}

TEST(TileWalk, ClipSelectsWholeTilesAndEmptySourcesDrawNothing) {
    // Only the tiles that touch the clip are drawn, and they are not cut by it.
    const auto calls = Tiles(TRect{0, 0, 30, 10}, TRect{12, 2, 13, 3}, TRect{0, 0, 10, 10});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].tile, (TRect{10, 0, 20, 10}));
    EXPECT_TRUE(Tiles(TRect{0, 0, 30, 10}, TRect{}, TRect{0, 0, 0, 10}).empty());
    EXPECT_TRUE(Tiles(TRect{0, 0, 30, 10}, TRect{}, TRect{4, 0, 2, 10}).empty());
    EXPECT_TRUE(Tiles(TRect{10, 0, 0, 10}, TRect{}, TRect{0, 0, 5, 5}).empty());
}

TEST(TileWalk, TilesOutsideTheSurfaceAreSkippedWithoutChangingTheOthers) {
    const TRect dst{-1000000, 0, 1000000, 8}, src{0, 0, 3, 4};
    const auto calls = Tiles(dst, TRect{}, src, TRect{0, 0, 7, 8});
    // Same tiles as a full walk would give inside the surface (column starts are multiples of 3 from -1000000).
    ASSERT_FALSE(calls.empty());
    for (const auto& c : calls) {
        EXPECT_EQ((c.tile.Left + 1000000) % 3, 0);
        EXPECT_EQ(c.source, src);
    }
    bool coversOrigin = false;
    for (const auto& c : calls)
        coversOrigin |= c.tile.Contains(TPoint{0, 0}) || c.tile.Contains(TPoint{6, 7});
    EXPECT_TRUE(coversOrigin);
    EXPECT_LT(calls.size(), 20u);
}

TEST(Reflection, RowAlphasFadeByTheDivisor) {
    struct Case {
        int divisor;
        std::uint32_t rows[4];
    };
    for (const Case& c : {Case{3, {85, 42, 0, 0}}, Case{4, {63, 32, 0, 0}}, Case{2, {127, 64, 0, 0}}}) {
        TTestImage img(2, 4, 0xFF204060);
        img.At(0, 3) = 0xFF112233;  // bottom row, left: ends up on top after the flip
        img.At(1, 1) = 0x00445566;  // alpha 0 stays 0
        FadeReflection(img.View(), c.divisor);
        for (int y = 0; y < 4; ++y)
            EXPECT_EQ(img.At(0, y) >> 24, c.rows[y]) << "divisor " << c.divisor << " row " << y;
        EXPECT_EQ(img.At(0, 0) & 0xFFFFFF,
                  0x112233u);  // colours untouched, rows mirrored
        EXPECT_EQ(img.At(1, 2), 0x00445566u);
    }
}

TEST(Merge, ExistingPixelsStayInFrontOfTheMergedOnes) {
    TBlendVariant plain(false);
    TTestImage dst(3, 1);
    dst.At(0, 0) = 0x00AAAAAA;  // transparent: takes the source
    dst.At(1, 0) = 0xFF123456;  // opaque: stays
    dst.At(2, 0) = 0x80000000;  // translucent: blended over the source
    TTestImage src(3, 1, 0xFFFFFFFF);
    MergeBehind(dst.View(), src.View(), 0, 0, TRect{0, 0, 3, 1});
    EXPECT_EQ(dst.Row(0), (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFF123456, 0xFF7E7E7E}));
}

TEST(Merge, NegativeSourceEdgesMoveTheDestinationAndOutsidePixelsAreSkipped) {
    TTestImage src(4, 1);
    for (int i = 0; i < 4; ++i)
        src.At(i, 0) = 0xFF000000u | std::uint32_t(i + 1);
    TTestImage dst(3, 1, 0);
    // Left edge raised from -2 to 0: the source's column 0 lands at x = 0 + 2.
    MergeBehind(dst.View(), src.View(), 0, 0, TRect{-2, 0, 10, 5});
    EXPECT_EQ(dst.Row(0), (std::vector<std::uint32_t>{0, 0, 0xFF000001}));
    TTestImage dst2(3, 1, 0);
    MergeBehind(dst2.View(), src.View(), -1, 0, TRect{0, 0, 4, 1});
    EXPECT_EQ(dst2.Row(0), (std::vector<std::uint32_t>{0xFF000002, 0xFF000003, 0xFF000004}));
}

TEST(Fill, ClippedAndBlendedByColourAlpha) {
    TBlendVariant plain(false);
    TTestImage img(3, 2, 0xFFFFFFFF);
    FillPixels(img.View(), TRect{2, -5, 9, 1}, 0x80000000, true);
    FillPixels(img.View(), TRect{0, 1, 1, 9}, 0x11223344, false);
    FillPixels(img.View(), TRect{1, 1, 1, 2}, 0x55555555, false);  // zero width
    EXPECT_EQ(img.Row(0), (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFFFFFFFF, 0xFF7E7E7E}));
    EXPECT_EQ(img.Row(1), (std::vector<std::uint32_t>{0x11223344, 0xFFFFFFFF, 0xFFFFFFFF}));
}

TEST(ContentFlags, PartialAlphaAndNearColourKeys) {
    TTestImage img(2, 2, 0xFF000000);
    img.At(1, 1) = 0x00FFFFFF;
    EXPECT_FALSE(HasPartialAlpha(img.View()));
    img.At(0, 1) = 0x80FFFFFF;
    EXPECT_TRUE(HasPartialAlpha(img.View()));
    EXPECT_FALSE(HasPartialAlpha(TPixelView{}));

    TTestImage keyed(2, 1);
    keyed.At(0, 0) = 0x12FA05FB;  // each channel within 5 of 0xFF00FF
    keyed.At(1, 0) = 0x12F905FF;  // red differs by 6
    EXPECT_TRUE(KeyOutNearColor(keyed.View(), 0x00FF00FF));
    EXPECT_EQ(keyed.Row(0), (std::vector<std::uint32_t>{0x007F007F, 0x12F905FF}));
    EXPECT_FALSE(KeyOutNearColor(keyed.View(), 0x00000000));
}

TEST(Premultiply, ClampAndRound) {
    TTestImage img(3, 1);
    img.At(0, 0) = 0x80FF4000;
    img.At(1, 0) = 0x00FFFFFF;
    img.At(2, 0) = 0xFF123456;
    TTestImage clamped = img;
    ClampColorsToAlpha(clamped.View());
    EXPECT_EQ(clamped.Row(0), (std::vector<std::uint32_t>{0x80804000, 0x00000000, 0xFF123456}));
    PremultiplyAlpha(img.View());
    // 128 * 64 / 255 = 32.1 -> 32; 128 * 255 / 255 = 128.
    EXPECT_EQ(img.Row(0), (std::vector<std::uint32_t>{0x80802000, 0x00000000, 0xFF123456}));
    TTestImage odd(1, 1, 0x03010203);  // 3 * c / 255 < 0.5 for c < 43
    PremultiplyAlpha(odd.View());
    EXPECT_EQ(odd.At(0, 0), 0x03000000u);
    TTestImage half(1, 1, 0x55AAAAAA);  // 85 * 170 / 255 = 56.67 -> 57
    PremultiplyAlpha(half.View());
    EXPECT_EQ(half.At(0, 0), 0x55393939u);
}

TEST(AdjustColors, SkipsTransparentPixelsAndKeepsAlpha) {
    TTestImage img(2, 1);
    img.At(0, 0) = 0x00102030;
    img.At(1, 0) = 0x80102030;
    AdjustColors(img.View(), ChangeBrightness, 16);
    EXPECT_EQ(img.Row(0), (std::vector<std::uint32_t>{0x00102030, 0x80203040}));
}

}  // namespace
