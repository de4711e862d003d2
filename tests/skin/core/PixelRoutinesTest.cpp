// The pixel routine table: blend arithmetic of both variants, key copies, block routines and the scaled copies.
#include "skin/core/PixelRoutines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PixelTestSupport.h"

namespace {

// The blends as arithmetic, independent of the routines' bit tricks.
std::uint32_t ReferencePlain(std::uint32_t f, std::uint32_t b) {
    const std::uint32_t a = f >> 24;
    if (a == 255)
        return f;
    if (a == 0)
        return b;
    std::uint32_t out = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((((f >> shift) & 0xFF) * a + ((b >> shift) & 0xFF) * (255 - a)) / 256) << shift;
    return out;
}

std::uint32_t ReferenceMmx(std::uint32_t f, std::uint32_t b) {
    const std::uint32_t a = f >> 24;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= ((((f >> shift) & 0xFF) * a + ((b >> shift) & 0xFF) * (256 - a)) / 256) << shift;
    return out;
}

// Hand-worked blends of both variants, with the plain routine's shortcuts for opaque and clear sources.
TEST(PixelBlend, HandWorkedBlendsOfBothVariants) {
    EXPECT_EQ(Plain_PixelAlphaBlend(0x80000000, 0xFFFFFFFF), 0xFF7E7E7Eu);
    EXPECT_EQ(Mmx_PixelAlphaBlend(0x80000000, 0xFFFFFFFF), 0xBF7F7F7Fu);
    // The MMX pixel routine has no shortcut for opaque sources.
    EXPECT_EQ(Mmx_PixelAlphaBlend(0xFFFFFFFF, 0x00000000), 0xFEFEFEFEu);
    EXPECT_EQ(Mmx_PixelAlphaBlend(0x00123456, 0x89ABCDEF), 0x89ABCDEFu);
    EXPECT_EQ(Plain_PixelAlphaBlend(0xFF123456, 0x89ABCDEF), 0xFF123456u);
    EXPECT_EQ(Plain_PixelAlphaBlend(0x00123456, 0x89ABCDEF), 0x89ABCDEFu);
}

TEST(PixelBlend, PixelRoutinesMatchTheArithmeticForEveryAlpha) {
    for (std::uint32_t a = 0; a < 256; ++a)
        for (std::uint32_t f = 0; f < 256; f += 5)
            for (std::uint32_t b = 0; b < 256; b += 3) {
                const std::uint32_t F = (a << 24) | (f << 16) | ((255 - f) << 8) | ((f * 7) & 0xFF);
                const std::uint32_t B = (((b * 3) & 0xFF) << 24) | (b << 16) | ((b ^ 0x55) << 8) | (255 - b);
                ASSERT_EQ(Plain_PixelAlphaBlend(F, B), ReferencePlain(F, B)) << a << " " << f << " " << b;
                ASSERT_EQ(Mmx_PixelAlphaBlend(F, B), ReferenceMmx(F, B)) << a << " " << f << " " << b;
            }
}

// The line routines (vectorised) give the same bytes as the pixel routines, with the line's own shortcuts: alpha 0
// keeps the destination, alpha 255 copies the source, in both variants.
TEST(PixelBlend, LineRoutinesMatchPixelRoutinesAndKeepTheShortcuts) {
    struct Variant {
        TLineFunc line;
        std::uint32_t (*reference)(std::uint32_t, std::uint32_t);
    };
    const TSimd saved = SimdLevel();
    for (TSimd level : {TSimd::None, TSimd::Sse2, TSimd::Avx2}) {
        if (SetSimdLevel(level) != level)
            continue;  // not offered by this processor
        for (const Variant v :
             {Variant{Plain_LineAlphaBlend, ReferencePlain}, Variant{Mmx_LineAlphaBlend, ReferenceMmx}}) {
            for (std::uint32_t a = 0; a < 256; ++a) {
                std::vector<std::uint32_t> src, dst;
                // 257 pixels: not a multiple of the vector width, so the scalar tail is exercised too.
                for (std::uint32_t i = 0; i < 257; ++i) {
                    const std::uint32_t alpha = (i % 7 == 3) ? 0 : (i % 7 == 5) ? 255 : a;
                    src.push_back((alpha << 24) | ((i * 37) & 0xFF) << 16 | ((i * 11) & 0xFF) << 8 |
                                  (255 - (i & 0xFF)));
                    dst.push_back(((i * 13) & 0xFF) << 24 | ((i * 5) & 0xFF) << 16 | ((i * 91) & 0xFF) << 8 |
                                  (i & 0xFF));
                }
                std::vector<std::uint32_t> out = dst;
                v.line(src.data(), out.data(), int(out.size()));
                for (std::size_t i = 0; i < out.size(); ++i) {
                    const std::uint32_t alpha = src[i] >> 24;
                    const std::uint32_t expected = alpha == 0     ? dst[i]
                                                   : alpha == 255 ? src[i]
                                                                  : v.reference(src[i], dst[i]);
                    ASSERT_EQ(out[i], expected) << "alpha " << a << " pixel " << i << " simd " << int(level);
                }
            }
        }
    }
    SetSimdLevel(saved);
}

TEST(PixelBlend, TableFollowsTheChosenVariant) {
    {
        TBlendVariant plain(false);
        EXPECT_EQ(PixelAlphaBlendFunc(0x80000000, 0xFFFFFFFF), 0xFF7E7E7Eu);
        std::uint32_t d = 0xFFFFFFFF, s = 0x80000000;
        LineAlphaBlendFunc(&s, &d, 1);
        EXPECT_EQ(d, 0xFF7E7E7Eu);
    }
    {
        TBlendVariant mmx(true);
        EXPECT_EQ(PixelAlphaBlendFunc(0x80000000, 0xFFFFFFFF), 0xBF7F7F7Fu);
        std::uint32_t d = 0xFFFFFFFF, s = 0x80000000;
        LineAlphaBlendFunc(&s, &d, 1);
        EXPECT_EQ(d, 0xBF7F7F7Fu);
    }
}

TEST(PixelBlocks, LineTransparentSkipsTheKeyOnColourOnly) {
    const std::uint32_t src[] = {0x007F007F, 0xFF7F007F, 0x00123456, 0x807F0080};
    std::uint32_t dst[] = {0x11111111, 0x22222222, 0x33333333, 0x44444444};
    Plain_LineTransparent(src, dst, 4);
    EXPECT_EQ(dst[0], 0x11111111u);
    EXPECT_EQ(dst[1], 0x22222222u);
    EXPECT_EQ(dst[2], 0xFF123456u);
    EXPECT_EQ(dst[3], 0xFF7F0080u);
}

TEST(PixelBlocks, MoveFillAndAlpha) {
    std::vector<std::uint32_t> v = {1, 2, 3, 4, 5, 6};
    Plain_MoveLongword(v.data(), v.data() + 2, 4);  // overlapping: a move
    EXPECT_EQ(v, (std::vector<std::uint32_t>{1, 2, 1, 2, 3, 4}));
    Plain_MoveLongword(v.data(), v.data() + 1, 0);
    Plain_MoveLongword(v.data(), v.data() + 1, -3);
    EXPECT_EQ(v, (std::vector<std::uint32_t>{1, 2, 1, 2, 3, 4}));

    Plain_FillLongword(v.data() + 1, 3, 9);
    EXPECT_EQ(v, (std::vector<std::uint32_t>{1, 9, 9, 9, 3, 4}));

    std::vector<std::uint32_t> grid(4 * 3, 0x00ABCDEF);
    Plain_FillLongwordRect(grid.data(), 4, 3, 1, 1, 2, 2, 7);
    Plain_FillAlphaRect(grid.data(), 4, 3, 0, 0, 0, 2, 0x80);
    Plain_FillLongwordRect(grid.data(), 4, 3, 3, 0, 2, 2, 5);                                     // X2 < X1: nothing
    const std::vector<std::uint32_t> expected = {0x80ABCDEF, 0x00ABCDEF, 0x00ABCDEF, 0x00ABCDEF,  //
                                                 0x80ABCDEF, 7,          7,          0x00ABCDEF,  //
                                                 0x80ABCDEF, 7,          7,          0x00ABCDEF};
    EXPECT_EQ(grid, expected);

    std::vector<std::uint32_t> c = {0xFF102030, 0x80102030, 0xFF102031};
    Plain_ClearAlpha(c.data(), 3, 0x55102030);
    EXPECT_EQ(c, (std::vector<std::uint32_t>{0x00102030, 0x00102030, 0xFF102031}));
    Plain_FillAlpha(c.data(), 2, 0x7F);
    EXPECT_EQ(c[0], 0x7F102030u);
}

// ---- Scaled copies --------------------------------------------------------------------------------------------------
// A source whose pixel value is its column index (opaque), in one row.
TTestImage Columns(int n) {
    TTestImage img(n, 1);
    for (int i = 0; i < n; ++i)
        img.At(i, 0) = 0xFF000000u | std::uint32_t(i);
    return img;
}

std::vector<int> ColumnsPicked(const std::vector<std::uint32_t>& row) {
    std::vector<int> out;
    for (std::uint32_t p : row)
        out.push_back(p == 0xDEADBEEF ? -1 : int(p & 0xFFFFFF));
    return out;
}

struct StretchCase {
    int srcW, dstW;
    std::vector<int> truncated, rounded;
};

class StretchColumns : public ::testing::TestWithParam<StretchCase> {};

TEST_P(StretchColumns, BitmapTruncatesAndDibMemoryRounds) {
    const StretchCase& c = GetParam();
    TTestImage src = Columns(c.srcW);
    const TRect srcRect{0, 0, c.srcW, 1};
    const TRect dstRect{0, 0, c.dstW, 1};
    for (TStretchFunc f : {Plain_StretchOpaque, Plain_StretchTransparent, Plain_StretchAlphaBlend}) {
        TTestImage dst(c.dstW, 1, 0xDEADBEEF);
        f(dst.View(), dstRect, dstRect, src.View(), srcRect);
        EXPECT_EQ(ColumnsPicked(dst.Row(0)), c.truncated);
    }
    for (TStretchToDibFunc f :
         {Plain_StretchToDibOpaque, Plain_StretchToDibTransparent, Plain_StretchToDibAlphaBlend}) {
        TTestImage dib(c.dstW, 1, 0xDEADBEEF);
        f(dib.pixels.data(), dstRect, dstRect, c.dstW, 1, src.View(), srcRect);
        EXPECT_EQ(ColumnsPicked(dib.Row(0)), c.rounded);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases,
                         StretchColumns,
                         ::testing::Values(StretchCase{3, 5, {0, 0, 1, 1, 2}, {0, 0, 1, 2, 2}},
                                           StretchCase{1, 10, std::vector<int>(10, 0), std::vector<int>(10, 0)},
                                           StretchCase{10, 1, {4}, {4}},  // (Left + Right - 1) div 2
                                           StretchCase{4, 7, {0, 0, 1, 1, 2, 2, 3}, {0, 0, 1, 2, 2, 2, 3}},
                                           StretchCase{5, 3, {0, 2, 4}, {0, 2, 4}},
                                           StretchCase{2, 2, {0, 1}, {0, 1}}));

TEST(Stretch, ClipCuttingTheLeftReadsTheMatchingSourceColumns) {
    TTestImage src = Columns(10);
    TTestImage dst(10, 1, 0xDEADBEEF);
    Plain_StretchOpaque(dst.View(), TRect{0, 0, 10, 1}, TRect{3, 0, 10, 1}, src.View(), TRect{0, 0, 10, 1});
    EXPECT_EQ(ColumnsPicked(dst.Row(0)), (std::vector<int>{-1, -1, -1, 3, 4, 5, 6, 7, 8, 9}));

    // Scaled: the clip's columns keep their place in the whole destination's sampling.
    TTestImage src3 = Columns(3);
    TTestImage dst5(5, 1, 0xDEADBEEF);
    Plain_StretchOpaque(dst5.View(), TRect{0, 0, 5, 1}, TRect{2, 0, 5, 1}, src3.View(), TRect{0, 0, 3, 1});
    EXPECT_EQ(ColumnsPicked(dst5.Row(0)), (std::vector<int>{-1, -1, 1, 1, 2}));

    // A destination that starts left of the bitmap is cut to it and sampled from where it really starts.
    TTestImage dst4(4, 1, 0xDEADBEEF);
    Plain_StretchOpaque(dst4.View(), TRect{-2, 0, 3, 1}, TRect{-2, 0, 3, 1}, src3.View(), TRect{0, 0, 3, 1});
    EXPECT_EQ(ColumnsPicked(dst4.Row(0)), (std::vector<int>{1, 1, 2, -1}));
}

TEST(Stretch, SourceRectOutsideTheSourceOrEmptyDrawsNothing) {
    TTestImage src = Columns(4);
    for (const TRect& bad :
         {TRect{-1, 0, 3, 1}, TRect{0, 0, 5, 1}, TRect{0, 0, 4, 2}, TRect{2, 0, 2, 1}, TRect{3, 0, 1, 1}}) {
        TTestImage dst(8, 1, 0xDEADBEEF);
        Plain_StretchOpaque(dst.View(), TRect{0, 0, 8, 1}, TRect{0, 0, 8, 1}, src.View(), bad);
        Plain_StretchAlphaBlend(dst.View(), TRect{0, 0, 4, 1}, TRect{0, 0, 4, 1}, src.View(), bad);
        EXPECT_EQ(ColumnsPicked(dst.Row(0)), std::vector<int>(8, -1)) << bad.Left << "," << bad.Right;
    }
}

TEST(Stretch, RowsRepeatAndDibRowsRunBottomUp) {
    // Source: 2 x 3, pixel = row * 16 + column.
    TTestImage src(2, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x)
            src.At(x, y) = 0xFF000000u | std::uint32_t(y * 16 + x);
    const TRect srcRect{0, 0, 2, 3}, dstRect{0, 0, 2, 5};

    TTestImage dst(2, 5);
    Plain_StretchOpaque(dst.View(), dstRect, dstRect, src.View(), srcRect);
    const int truncatedRows[] = {0, 0, 1, 1, 2};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(dst.At(x, y) & 0xFF, std::uint32_t(truncatedRows[y] * 16 + x)) << x << "," << y;

    // Memory of a bottom-up DIB: image row y is memory row 4 - y.
    TTestImage dib(2, 5);
    Plain_StretchToDibTransparent(dib.pixels.data(), dstRect, dstRect, 2, 5, src.View(), srcRect);
    const int roundedRows[] = {0, 0, 1, 2, 2};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(dib.At(x, 4 - y) & 0xFF, std::uint32_t(roundedRows[y] * 16 + x)) << x << "," << y;
}

TEST(Stretch, TransparentAndAlphaUseTheLineRoutines) {
    TTestImage src(2, 1);
    src.At(0, 0) = 0x007F007F;  // key
    src.At(1, 0) = 0x40102030;
    TTestImage dst(4, 1, 0xFFFFFFFF);
    Plain_StretchTransparent(dst.View(), TRect{0, 0, 4, 1}, TRect{0, 0, 4, 1}, src.View(), TRect{0, 0, 2, 1});
    // sx = 1 / 3: columns 0, 0, 0, 1 of the source.
    EXPECT_EQ(dst.Row(0), (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF102030}));

    TBlendVariant plain(false);
    TTestImage dst2(4, 1, 0xFFFFFFFF);
    Plain_StretchAlphaBlend(dst2.View(), TRect{0, 0, 4, 1}, TRect{0, 0, 4, 1}, src.View(), TRect{0, 0, 2, 1});
    EXPECT_EQ(dst2.At(0, 0), 0xFFFFFFFFu);  // alpha 0 leaves the destination
    EXPECT_EQ(dst2.At(3, 0), Plain_PixelAlphaBlend(0x40102030, 0xFFFFFFFF));
}

TEST(Blt, AreaIsClippedToBothBitmaps) {
    TTestImage src = Columns(4);
    TTestImage dst(3, 1, 0xDEADBEEF);
    // Reaches past the source's right edge and the destination's left and right edges.
    Plain_BltOpaque(dst.View(), TRect{-1, 0, 5, 1}, src.View(), 1, 0);
    EXPECT_EQ(ColumnsPicked(dst.Row(0)), (std::vector<int>{2, 3, -1}));
    TTestImage dst2(3, 2, 0xDEADBEEF);
    Plain_BltAlphaBlend(dst2.View(), TRect{0, 0, 3, 2}, src.View(), -2, 0);
    EXPECT_EQ(ColumnsPicked(dst2.Row(0)), (std::vector<int>{-1, -1, 0}));
    EXPECT_EQ(ColumnsPicked(dst2.Row(1)), (std::vector<int>{-1, -1, -1}));
}

TEST(Blt, ToDibMemoryPlacesRowsBottomUp) {
    TTestImage src(2, 2);
    src.At(0, 0) = 0xFF000001;
    src.At(1, 0) = 0xFF000002;
    src.At(0, 1) = 0xFF000003;
    src.At(1, 1) = 0xFF000004;
    TTestImage dib(3, 3);
    Plain_BltToDibOpaque(dib.pixels.data(), 3, 3, 1, 0, src.View(), TRect{0, 0, 2, 2});
    // Image rows 0 and 1 are memory rows 2 and 1.
    EXPECT_EQ(dib.Row(2), (std::vector<std::uint32_t>{0, 0xFF000001, 0xFF000002}));
    EXPECT_EQ(dib.Row(1), (std::vector<std::uint32_t>{0, 0xFF000003, 0xFF000004}));
    EXPECT_EQ(dib.Row(0), (std::vector<std::uint32_t>{0, 0, 0}));
}

}  // namespace
