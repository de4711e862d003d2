// Pixel arithmetic of the effects: transitions, colour effects, blurs, geometry, masks and the 32-bit effects.
#include "skin/core/EffectPixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "PixelTestSupport.h"

namespace {

using namespace EffectPixels;

// A one-row image whose pixels are the given grey values.
TTestImage24 GreyRow(const std::vector<int>& values) {
    TTestImage24 img(int(values.size()), 1);
    for (int x = 0; x < int(values.size()); ++x)
        img.SetGray(x, 0, std::uint8_t(values[std::size_t(x)]));
    return img;
}

std::vector<int> GreysOfRow(const TTestImage24& img, int y = 0) {
    std::vector<int> out;
    for (int x = 0; x < img.width; ++x)
        out.push_back(img.Gray(x, y));
    return out;
}

// ---- Transitions ----------------------------------------------------------------------------------------------------
TEST(Morph, HalfWayRoundsTiesToEvenAndFactorIsClamped) {
    struct Case {
        double kf;
        int expected;
    };
    for (const Case& c : {Case{0.5, 128}, Case{-1, 0}, Case{2, 255}, Case{0.25, 64}, Case{0.75, 191}}) {
        TTestImage24 black(3, 2), white(3, 2, 255, 255, 255);
        Morph(black.View(), white.View(), c.kf);
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(GreysOfRow(black, y), std::vector<int>(3, c.expected)) << c.kf;
        EXPECT_TRUE(black.PaddingIntact());
    }
    // 1 * 0.5 = 0.5 -> 0 and 3 * 0.5 = 1.5 -> 2: ties go to the even neighbour.
    TTestImage24 a = GreyRow({0, 0}), b = GreyRow({1, 3});
    Morph(a.View(), b.View(), 0.5);
    EXPECT_EQ(GreysOfRow(a), (std::vector<int>{0, 2}));
}

TEST(Morph, DifferentSizesLeaveTheImage) {
    TTestImage24 a(3, 2, 10, 20, 30), b(3, 3, 255, 255, 255), c(2, 2, 255, 255, 255);
    const auto before = a.bytes;
    for (auto* f : {Morph, MorphGrad, MorphHGrad, MorphVGrad, MorphLeftGrad, MorphRightGrad, MorphLeftSlide,
                    MorphRightSlide, MorphPush}) {
        f(a.View(), b.View(), 0.5);
        f(a.View(), c.View(), 0.5);
    }
    EXPECT_EQ(a.bytes, before);
}

struct RevealCase {
    const char* name;
    void (*morph)(const TEffectView&, const TEffectView&, double);
    int width;
    double kf;
    std::vector<int> row;  // this image 0, target 200
};

class Reveals : public ::testing::TestWithParam<RevealCase> {};

TEST_P(Reveals, RowOfGreys) {
    const RevealCase& c = GetParam();
    TTestImage24 mine(c.width, 2), target(c.width, 2, 200, 200, 200);
    c.morph(mine.View(), target.View(), c.kf);
    EXPECT_EQ(GreysOfRow(mine, 0), c.row) << c.name;
    EXPECT_EQ(GreysOfRow(mine, 1), c.row) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases,
                         Reveals,
                         ::testing::Values(
                             // b = 4: columns 2..6 copied, then one fading step of 1/2 on each side.
                             RevealCase{"HGrad", MorphHGrad, 8, 0.5, {0, 100, 200, 200, 200, 200, 200, 100}},
                             // b = 0: only column 4 copied, fading in steps of 1/4 to both sides.
                             RevealCase{"HGrad0", MorphHGrad, 8, 0, {0, 50, 100, 150, 200, 150, 100, 50}},
                             // b = Round(2.5) = 2: column 0 the target, 1 half way, 2 this image.
                             RevealCase{"LeftGrad", MorphLeftGrad, 5, 0.5, {200, 100, 0, 0, 0}},
                             // b is at least 1.
                             RevealCase{"LeftGrad0", MorphLeftGrad, 5, 0, {200, 0, 0, 0, 0}},
                             RevealCase{"RightGrad", MorphRightGrad, 5, 0.5, {0, 0, 0, 100, 200}},
                             RevealCase{"RightGrad1", MorphRightGrad, 4, 1, {50, 100, 150, 200}}));

// Target pixels carry their column: slides and the push move whole columns.
TTestImage24 NumberedColumns(int w, int base) {
    TTestImage24 img(w, 1);
    for (int x = 0; x < w; ++x)
        img.SetGray(x, 0, std::uint8_t(base + x));
    return img;
}

TEST(Slides, ColumnsOfTheTargetMoveIn) {
    struct Case {
        void (*morph)(const TEffectView&, const TEffectView&, double);
        double kf;
        std::vector<int> row;
    };
    const Case cases[] = {
        {MorphLeftSlide, 0, {13, 1, 2, 3}},      // one column even at 0
        {MorphLeftSlide, 0.5, {12, 13, 2, 3}},   // the right part of the target
        {MorphLeftSlide, 1, {11, 12, 13, 3}},    // at most width - 1 columns
        {MorphRightSlide, 0.5, {0, 1, 10, 11}},  // the left part of the target
        {MorphPush, 0, {13, 0, 1, 2}},           // already shifted by one column
        {MorphPush, 0.5, {11, 12, 13, 0}},       // b = 2: old column 0 moves to 3
        {MorphPush, 1, {10, 11, 12, 13}},        // only the target is left
    };
    for (const Case& c : cases) {
        TTestImage24 mine = NumberedColumns(4, 0), target = NumberedColumns(4, 10);
        c.morph(mine.View(), target.View(), c.kf);
        EXPECT_EQ(GreysOfRow(mine), c.row) << c.kf;
    }
}

TEST(Slides, VerticalRevealAndTheChoiceOfMorphGrad) {
    TTestImage24 mine(1, 8), target(1, 8, 200, 200, 200);
    MorphVGrad(mine.View(), target.View(), 0.5);
    std::vector<int> column;
    for (int y = 0; y < 8; ++y)
        column.push_back(mine.Gray(0, y));
    // b = 4: rows 2..6 copied; the fading step is 1 / ((8 - 1 - 4) div 2) = 1, so the edges are this image.
    EXPECT_EQ(column, (std::vector<int>{0, 0, 200, 200, 200, 200, 200, 0}));

    const auto sameAs = [](int w, int h, void (*reference)(const TEffectView&, const TEffectView&, double)) {
        TTestImage24 a(w, h), b(w, h), t(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                t.SetGray(x, y, std::uint8_t(x * 10 + y));
        MorphGrad(a.View(), t.View(), 0.3);
        reference(b.View(), t.View(), 0.3);
        return a.bytes == b.bytes;
    };
    EXPECT_TRUE(sameAs(10, 20, MorphVGrad));
    EXPECT_TRUE(sameAs(20, 20, MorphHGrad));
    EXPECT_FALSE(sameAs(10, 20, MorphHGrad));
}

TEST(RectTransitions, InclusiveAndCutToBothBitmaps) {
    TTestImage24 mine(4, 3), target(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            target.SetGray(x, y, std::uint8_t(100 + 10 * y + x));
    // Right and bottom inclusive; the source runs out after column 2 of target.
    CopyRect(mine.View(), target.View(), TRect{1, 1, 9, 9}, 0, 0);
    EXPECT_EQ(GreysOfRow(mine, 0), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(GreysOfRow(mine, 1), (std::vector<int>{0, 100, 101, 102}));
    EXPECT_EQ(GreysOfRow(mine, 2), (std::vector<int>{0, 110, 111, 112}));
    TTestImage24 m2(2, 2);
    MorphRect(m2.View(), target.View(), 0.5, TRect{-1, 0, 0, 0}, 1,
              2);  // only (0, 0), from target (2, 2)
    EXPECT_EQ(GreysOfRow(m2, 0), (std::vector<int>{61, 0}));
    EXPECT_TRUE(mine.PaddingIntact());
}

// ---- Colour effects -------------------------------------------------------------------------------------------------
// Hand-worked values of the grey, brightness, darkness and invert formulas.
TEST(ColourEffects, HandWorkedValuesOfTheFormulas) {
    TTestImage24 green(1, 1, 0, 255, 0);
    GrayScale(green.View());
    EXPECT_EQ(green.Get(0, 0), 0x969696u);  // 0.59 * 255 = 150.45

    TTestImage24 black(1, 1);
    ChangeBrightness(black.View(), 0.5);
    EXPECT_EQ(black.Get(0, 0), 0x808080u);  // 127.5 -> 128
    TTestImage24 grey(1, 1, 200, 200, 200);
    ChangeDarkness(grey.View(), 0.3);
    EXPECT_EQ(grey.Get(0, 0), 0x8C8C8Cu);  // 140
    TTestImage24 clamped(1, 1, 200, 200, 200);
    ChangeDarkness(clamped.View(), 7);  // clamped to 1
    EXPECT_EQ(clamped.Get(0, 0), 0u);

    TTestImage24 c(2, 1, 1, 2, 3);
    Invert(c.View());
    EXPECT_EQ(c.Get(1, 0), 0xFCFDFEu);
    EXPECT_TRUE(c.PaddingIntact());
}

TEST(ColourEffects, NoiseStaysWithinItsRangeAndMonoMovesChannelsTogether) {
    TTestImage24 img(64, 16, 100, 120, 140);
    AddMonoNoise(img.View(), 10);
    bool changed = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t p = img.Get(x, y);
            const int n = int(p & 0xFF) - 100;
            EXPECT_GE(n, -5);
            EXPECT_LE(n, 4);
            EXPECT_EQ(int((p >> 8) & 0xFF) - 120, n);
            EXPECT_EQ(int((p >> 16) & 0xFF) - 140, n);
            changed |= n != 0;
        }
    EXPECT_TRUE(changed);

    TTestImage24 edge(32, 8, 0, 255, 3);
    AddColorNoise(edge.View(), 20);  // clamped at both ends
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t p = edge.Get(x, y);
            EXPECT_LE(p & 0xFF, 9u);
            EXPECT_GE((p >> 8) & 0xFF, 245u);
        }
    EXPECT_TRUE(edge.PaddingIntact());
    TTestImage24 still(4, 4, 9, 9, 9);
    AddMonoNoise(still.View(), 1);
    AddColorNoise(still.View(), 0);
    EXPECT_EQ(still.Get(3, 3), 0x090909u);
}

TEST(ColourEffects, MosaicBlocksTakeTheirTopLeftPixel) {
    TTestImage24 img(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            img.SetGray(x, y, std::uint8_t(10 * y + x));
    TTestImage24 untouched = img;
    Mosaic(untouched.View(), 1);
    EXPECT_EQ(untouched.bytes, img.bytes);
    Mosaic(img.View(), 2);
    EXPECT_EQ(GreysOfRow(img, 0), (std::vector<int>{0, 0, 2, 2, 4}));
    EXPECT_EQ(GreysOfRow(img, 1), (std::vector<int>{0, 0, 2, 2, 4}));
    EXPECT_EQ(GreysOfRow(img, 2), (std::vector<int>{20, 20, 22, 22, 24}));
}

TEST(ColourEffects, WaveMovesByTheSineAndIgnoresZeroDivisors) {
    TTestImage24 img(6, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            img.Set(x, y, std::uint8_t(x), std::uint8_t(y), 0);
    TTestImage24 same = img;
    Wave(same.View(), 0, 3, 2);
    Wave(same.View(), 3, 0, 2);
    Wave(same.View(), 3, 3, 0);
    EXPECT_EQ(same.bytes, img.bytes);
    Wave(img.View(), 2, 2, 2);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const int sx = std::clamp(int(std::nearbyint(std::sin(y / 2.0L) * 2 + x)), 0, 5);
            const int sy = std::clamp(int(std::nearbyint(y + 2 * std::sin(x / 2.0L))), 0, 5);
            EXPECT_EQ(img.Get(x, y), std::uint32_t(sx | (sy << 8))) << x << "," << y;
        }
}

// ---- Four-point average ---------------------------------------------------------------------------------------------
TEST(SplitBlur, AveragesFourSamplesInPlace) {
    TTestImage24 img(3, 3);
    img.SetGray(2, 2, 200);
    SplitBlur(img.View(), 1);
    // (0,0): y1 = 0, y2 = 1, x1 = 0, x2 = 1: samples (0,0) (0,1) (1,0) (1,1) are 0. (1,1): samples (0,0) (0,2) (2,0)
    // (2,2): 200 / 4.
    EXPECT_EQ(img.Gray(0, 0), 0);
    EXPECT_EQ(img.Gray(1, 1), 50);
    TTestImage24 none(3, 3, 7, 7, 7);
    const auto before = none.bytes;
    SplitBlur(none.View(), 0);
    SplitBlur(none.View(), -4);
    EXPECT_EQ(none.bytes, before);
}

TEST(SplitBlur, AmountsBeyondTheBitmapAreCutAndReadNothingOutside) {
    // Guard rows above and below the view: a read outside would pull their 255s into the result.
    std::vector<int> sizes = {1, 2, 3, 5};
    for (int w : sizes)
        for (int h : sizes) {
            const std::ptrdiff_t stride = TEffectView::RowLength(w);
            std::vector<std::uint8_t> memory(std::size_t(stride) * (h + 2) + 64, 255);
            TEffectView view{memory.data() + stride, w, h, stride};
            for (int y = 0; y < h; ++y)
                std::fill(view.Row(y), view.Row(y) + 3 * w, std::uint8_t(0));
            SplitBlur(view, 1000);
            TTestImage24 mask(w, h);
            MaskBlur(view, mask.View(), 1000);
            MaskAntialiasing(view, mask.View(), 1000);
            for (int y = 0; y < h; ++y)
                for (int i = 0; i < 3 * w; ++i)
                    ASSERT_EQ(view.Row(y)[i], 0) << w << "x" << h;
        }
    // The cut amount is one less than the smaller side.
    TTestImage24 a(4, 3), b(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            a.SetGray(x, y, std::uint8_t(x * 40 + y * 7));
            b.SetGray(x, y, std::uint8_t(x * 40 + y * 7));
        }
    SplitBlur(a.View(), 50);
    SplitBlur(b.View(), 2);
    EXPECT_EQ(a.bytes, b.bytes);
}

// ---- Geometry -------------------------------------------------------------------------------------------------------
TTestImage24 Numbered(int w, int h) {
    TTestImage24 img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.SetGray(x, y, std::uint8_t(1 + y * w + x));
    return img;
}

TEST(Geometry, QuarterTurnsAndFlip) {
    TTestImage24 src = Numbered(3, 2);  // 1 2 3 / 4 5 6
    TTestImage24 left(2, 3), right(2, 3), flipped(3, 2);
    Rotate90_1(src.View(), left.View());
    Rotate90_2(src.View(), right.View());
    FlipVert(src.View(), flipped.View());
    EXPECT_EQ(left.Gray(0, 0), 3);  // top-right source pixel
    EXPECT_EQ(GreysOfRow(left, 0), (std::vector<int>{3, 6}));
    EXPECT_EQ(GreysOfRow(left, 2), (std::vector<int>{1, 4}));
    EXPECT_EQ(right.Gray(0, 0), 4);  // bottom-left source pixel
    EXPECT_EQ(GreysOfRow(right, 0), (std::vector<int>{4, 1}));
    EXPECT_EQ(GreysOfRow(right, 2), (std::vector<int>{6, 3}));
    EXPECT_EQ(GreysOfRow(flipped, 0), (std::vector<int>{4, 5, 6}));
    // A destination of the wrong size receives only what fits.
    TTestImage24 small(1, 1);
    Rotate90_1(src.View(), small.View());
    EXPECT_TRUE(small.PaddingIntact());
    EXPECT_EQ(small.Gray(0, 0), 3);
}

TEST(Geometry, ResizeFillsBlocks) {
    TTestImage24 src = Numbered(2, 2), dst(5, 5);
    Resize(src.View(), dst.View());
    // cx = cy = 4 / 2 = 2: blocks of 3 at 0 and 2; the second overwrites the shared column and row.
    EXPECT_EQ(GreysOfRow(dst, 0), (std::vector<int>{1, 1, 2, 2, 2}));
    EXPECT_EQ(GreysOfRow(dst, 1), (std::vector<int>{1, 1, 2, 2, 2}));
    EXPECT_EQ(GreysOfRow(dst, 2), (std::vector<int>{3, 3, 4, 4, 4}));
    EXPECT_EQ(GreysOfRow(dst, 4), (std::vector<int>{3, 3, 4, 4, 4}));
    EXPECT_TRUE(dst.PaddingIntact());
}

// ---- Masks ----------------------------------------------------------------------------------------------------------
TEST(Masks, InsideIsAnythingButWhite) {
    TTestImage24 img(3, 1, 100, 100, 100), mask(3, 1, 255, 255, 255);
    mask.Set(1, 0, 255, 255, 254);                            // not quite white: inside
    MaskFillColor(img.View(), mask.View(), 0x00FF0000, 0.5);  // red
    EXPECT_EQ(img.Get(0, 0), 0x646464u);
    EXPECT_EQ(img.Get(1, 0), 0xB23232u);  // red 177.5 -> 178, others 50
    EXPECT_EQ(img.Get(2, 0), 0x646464u);

    // kf is not clamped: the result is.
    TTestImage24 over(1, 1, 100, 100, 100), inside(1, 1);
    MaskFillColor(over.View(), inside.View(), 0x00FFFFFF, 3);
    EXPECT_EQ(over.Get(0, 0), 0xFFFFFFu);
}

TEST(Masks, WrongMaskSizesDoNothing) {
    TTestImage24 img(3, 3, 1, 2, 3), narrow(2, 3), low(3, 2);
    const auto before = img.bytes;
    for (TTestImage24* m : {&narrow, &low}) {
        MaskFillColor(img.View(), m->View(), 0xFFFFFF, 1);
        MaskBlur(img.View(), m->View(), 1);
        MaskAntialiasing(img.View(), m->View(), 1);
    }
    EXPECT_EQ(img.bytes, before);
    TTestImage24 tall(3, 5);  // higher is fine
    MaskFillColor(img.View(), tall.View(), 0, 1);
    EXPECT_EQ(img.Get(2, 2), 0u);
}

TEST(Masks, AntialiasingSmoothsOnlyNearTheMasksEdge) {
    TTestImage24 img(5, 5), mask(5, 5);  // mask all inside (black)
    img.SetGray(4, 4, 200);
    for (int x = 0; x < 5; ++x)
        mask.Set(x, 4, 255, 255, 255);  // bottom row outside
    TTestImage24 blurred = img;
    MaskAntialiasing(img.View(), mask.View(), 1);
    MaskBlur(blurred.View(), mask.View(), 1);
    // (3,3) samples (4,4), which lies outside the mask: averaged. (1,1) sees only inside samples: kept.
    EXPECT_EQ(img.Gray(3, 3), 50);
    EXPECT_EQ(blurred.Gray(3, 3), 50);
    EXPECT_EQ(img.Gray(4, 4), 200);  // outside the mask itself
}

// ---- 32-bit effects -------------------------------------------------------------------------------------------------
// The published stack blur, written out with its circular stack, as the reference for the rewrite.
void ReferenceStackBlur(std::vector<std::uint32_t>& pix, int w, int h, int radius) {
    const int wm = w - 1, hm = h - 1, wh = w * h, div = radius + radius + 1;
    const std::size_t planeSize = static_cast<std::size_t>(wh);
    std::vector<int> r(planeSize), g(planeSize), b(planeSize), vmin(static_cast<std::size_t>(std::max(w, h)));
    int divsum = (div + 1) >> 1;
    divsum *= divsum;
    std::vector<int> dv(std::size_t(256 * divsum));
    for (int i = 0; i < 256 * divsum; i++)
        dv[std::size_t(i)] = i / divsum;
    std::vector<int> stack(std::size_t(div) * 3);
    const int r1 = radius + 1;
    int yw = 0, yi = 0;
    for (int y = 0; y < h; y++) {
        int rin = 0, gin = 0, bin = 0, rout = 0, gout = 0, bout = 0, rs = 0, gs = 0, bs = 0;
        for (int i = -radius; i <= radius; i++) {
            const std::uint32_t p = pix[std::size_t(yi + std::min(wm, std::max(i, 0)))];
            int* sir = &stack[std::size_t(i + radius) * 3];
            sir[0] = (p >> 16) & 0xff;
            sir[1] = (p >> 8) & 0xff;
            sir[2] = p & 0xff;
            const int rbs = r1 - std::abs(i);
            rs += sir[0] * rbs;
            gs += sir[1] * rbs;
            bs += sir[2] * rbs;
            if (i > 0) {
                rin += sir[0];
                gin += sir[1];
                bin += sir[2];
            } else {
                rout += sir[0];
                gout += sir[1];
                bout += sir[2];
            }
        }
        int sp = radius;
        for (int x = 0; x < w; x++) {
            r[std::size_t(yi)] = dv[std::size_t(rs)];
            g[std::size_t(yi)] = dv[std::size_t(gs)];
            b[std::size_t(yi)] = dv[std::size_t(bs)];
            rs -= rout;
            gs -= gout;
            bs -= bout;
            int* sir = &stack[std::size_t((sp - radius + div) % div) * 3];
            rout -= sir[0];
            gout -= sir[1];
            bout -= sir[2];
            if (y == 0)
                vmin[std::size_t(x)] = std::min(x + radius + 1, wm);
            const std::uint32_t p = pix[std::size_t(yw + vmin[std::size_t(x)])];
            sir[0] = (p >> 16) & 0xff;
            sir[1] = (p >> 8) & 0xff;
            sir[2] = p & 0xff;
            rin += sir[0];
            gin += sir[1];
            bin += sir[2];
            rs += rin;
            gs += gin;
            bs += bin;
            sp = (sp + 1) % div;
            sir = &stack[std::size_t(sp % div) * 3];
            rout += sir[0];
            gout += sir[1];
            bout += sir[2];
            rin -= sir[0];
            gin -= sir[1];
            bin -= sir[2];
            yi++;
        }
        yw += w;
    }
    for (int x = 0; x < w; x++) {
        int rin = 0, gin = 0, bin = 0, rout = 0, gout = 0, bout = 0, rs = 0, gs = 0, bs = 0;
        int yp = -radius * w;
        for (int i = -radius; i <= radius; i++) {
            yi = std::max(0, yp) + x;
            int* sir = &stack[std::size_t(i + radius) * 3];
            sir[0] = r[std::size_t(yi)];
            sir[1] = g[std::size_t(yi)];
            sir[2] = b[std::size_t(yi)];
            const int rbs = r1 - std::abs(i);
            rs += r[std::size_t(yi)] * rbs;
            gs += g[std::size_t(yi)] * rbs;
            bs += b[std::size_t(yi)] * rbs;
            if (i > 0) {
                rin += sir[0];
                gin += sir[1];
                bin += sir[2];
            } else {
                rout += sir[0];
                gout += sir[1];
                bout += sir[2];
            }
            if (i < hm)
                yp += w;
        }
        yi = x;
        int sp = radius;
        for (int y = 0; y < h; y++) {
            pix[std::size_t(yi)] = 0xff000000u | (std::uint32_t(dv[std::size_t(rs)]) << 16) |
                                   (std::uint32_t(dv[std::size_t(gs)]) << 8) | std::uint32_t(dv[std::size_t(bs)]);
            rs -= rout;
            gs -= gout;
            bs -= bout;
            int* sir = &stack[std::size_t((sp - radius + div) % div) * 3];
            rout -= sir[0];
            gout -= sir[1];
            bout -= sir[2];
            if (x == 0)
                vmin[std::size_t(y)] = std::min(y + r1, hm) * w;
            const int p = x + vmin[std::size_t(y)];
            sir[0] = r[std::size_t(p)];
            sir[1] = g[std::size_t(p)];
            sir[2] = b[std::size_t(p)];
            rin += sir[0];
            gin += sir[1];
            bin += sir[2];
            rs += rin;
            gs += gin;
            bs += bin;
            sp = (sp + 1) % div;
            sir = &stack[std::size_t(sp) * 3];
            rout += sir[0];
            gout += sir[1];
            bout += sir[2];
            rin -= sir[0];
            gin -= sir[1];
            bin -= sir[2];
            yi += w;
        }
    }
}

TEST(StackBlur, MatchesThePublishedAlgorithm) {
    std::mt19937 random(7);
    struct Size {
        int w, h;
    };
    for (const Size s : {Size{1, 1}, Size{1, 7}, Size{9, 1}, Size{5, 4}, Size{17, 13}, Size{40, 3}})
        for (int radius : {1, 2, 3, 6, 20, 70}) {
            TTestImage img(s.w, s.h);
            for (auto& p : img.pixels)
                p = random();
            std::vector<std::uint32_t> expected = img.pixels;
            ReferenceStackBlur(expected, s.w, s.h, radius);
            Blur(img.View(), radius);
            ASSERT_EQ(img.pixels, expected) << s.w << "x" << s.h << " radius " << radius;
        }
}

TEST(StackBlur, ZeroRadiusChangesNothingAndUniformStaysUniform) {
    TTestImage img(6, 5);
    for (std::size_t i = 0; i < img.pixels.size(); ++i)
        img.pixels[i] = std::uint32_t(i * 0x01030507);
    const auto before = img.pixels;
    Blur(img.View(), 0);
    Blur(img.View(), -3);
    EXPECT_EQ(img.pixels, before);

    for (int radius : {1, 4, 100, 100000}) {
        TTestImage flat(7, 9, 0x40336699);
        Blur(flat.View(), radius);
        EXPECT_EQ(flat.pixels, std::vector<std::uint32_t>(flat.pixels.size(), 0xFF336699)) << radius;
    }
}

TEST(AlphaByMask, AverageOfTheMasksColoursTruncated) {
    TTestImage img(3, 1, 0xFF204060), mask(4, 2, 0);
    mask.At(0, 0) = 0x001F140A;  // red 31, green 20, blue 10: 61 / 3 -> 20
    mask.At(1, 0) = 0xFF001E5A;  // 0, 30, 90: 40 (the mask's own alpha does not count)
    mask.At(2, 0) = 0x00FFFFFF;
    CreateAlphaByMask(img.View(), mask.View());
    EXPECT_EQ(img.Row(0), (std::vector<std::uint32_t>{0x14204060, 0x28204060, 0xFF204060}));

    TTestImage pre(1, 1, 0xFF80FF40), half(1, 1, 0x00808080);
    CreateAlphaByMask2(pre.View(), half.View());
    EXPECT_EQ(pre.At(0, 0), 0x80408020u);  // 128 * c / 255

    TTestImage big(5, 5, 0xFF000000), small(4, 5, 0x00FFFFFF);
    CreateAlphaByMask(big.View(), small.View());
    EXPECT_EQ(big.At(0, 0), 0xFF000000u);
}

}  // namespace
