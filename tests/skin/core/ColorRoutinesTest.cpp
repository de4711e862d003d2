// Colour packing and the HSL model.
#include "skin/core/ColorRoutines.h"

#include <gtest/gtest.h>

#include <cmath>

#include "classlib/Graphics.h"
#include "skin/core/SkinBitmap.h"

namespace {

TEST(ColorPacking, FromRGBAndBsColor) {
    EXPECT_EQ(FromRGB(0x000000FF), 0xFFFF0000u);  // class-library red
    EXPECT_EQ(FromRGB(0x00332211), 0xFF112233u);
    EXPECT_EQ(FromRGB(0x7F332211), 0xFF112233u);  // top byte ignored
    EXPECT_EQ(bsColor(clRed, 255), 0xFEFF0000u);
    EXPECT_EQ(bsColor(clRed, 0), 0xFFFF0000u);
    EXPECT_EQ(bsColor(clRed, 1), 0x00FF0000u);
    EXPECT_EQ(bsColor(clBtnFace, 128), FromRGB(::GetSysColor(COLOR_BTNFACE)) + 0x80000000u);
    EXPECT_EQ(bsColor(300, -5, 128, 7), 0x07FF0080u);
}

struct HslCase {
    std::uint32_t color;
    float h, s, l;
};

class HslModel : public ::testing::TestWithParam<HslCase> {};

TEST_P(HslModel, ConvertsAndComesBackExactly) {
    const HslCase& c = GetParam();
    float h, s, l;
    RGBtoHSL(c.color, h, s, l);
    EXPECT_NEAR(h, c.h, 1e-5);
    EXPECT_NEAR(s, c.s, 1e-5);
    EXPECT_NEAR(l, c.l, 1e-5);
    EXPECT_EQ(HSLtoRGB(h, s, l), 0xFF000000u | c.color);
}

INSTANTIATE_TEST_SUITE_P(Colours,
                         HslModel,
                         ::testing::Values(HslCase{0xFF0000, 0, 1, 0.5f},
                                           HslCase{0x00FF00, 1 / 3.f, 1, 0.5f},
                                           HslCase{0x0000FF, 2 / 3.f, 1, 0.5f},
                                           HslCase{0x808080, 0, 0, 128 / 255.f},
                                           HslCase{0x000000, 0, 0, 0},
                                           HslCase{0xFFFFFF, 0, 0, 1},
                                           HslCase{0xFF00FF, 5 / 6.f, 1, 0.5f},
                                           HslCase{0x336699, 7 / 12.f, 0.5f, 0.4f}));

TEST(HslModel, EveryGreyAndManyColoursSurviveTheRoundTrip) {
    for (std::uint32_t v = 0; v < 256; ++v) {
        const std::uint32_t grey = v * 0x010101;
        float h, s, l;
        RGBtoHSL(grey, h, s, l);
        ASSERT_EQ(HSLtoRGB(h, s, l), 0xFF000000u | grey);
    }
    int mismatches = 0;
    for (std::uint32_t c = 0; c < 0x1000000; c += 0x010F07) {
        float h, s, l;
        RGBtoHSL(c, h, s, l);
        const std::uint32_t back = HSLtoRGB(h, s, l);
        for (int shift = 0; shift < 24; shift += 8)
            mismatches += std::abs(int((back >> shift) & 0xFF) - int((c >> shift) & 0xFF)) > 1;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(HslAdjust, HueSaturationAndBrightness) {
    EXPECT_EQ(SetHue(0xFF0000, 85), 0xFF00FF00u);
    EXPECT_EQ(SetHue(0xFF0000, 170), 0xFF0000FFu);
    EXPECT_EQ(SetHue(0xFF0000, 999), SetHue(0xFF0000, 255));
    EXPECT_EQ(ChangeHue(0xFF0000, 85), 0xFF00FF00u);
    EXPECT_EQ(ChangeHue(0x00FF00, -85), 0xFFFF0000u);
    // Hue 0 - 1 wraps to 254 / 255: just below red, a touch of blue.
    EXPECT_EQ(ChangeHue(0xFF0000, -1), 0xFFFF0006u);
    EXPECT_EQ(ChangeSat(0x336699, 0), 0xFF336699u);
    // Full saturation plus one wraps around to 1 / 255: almost grey.
    EXPECT_EQ(ChangeSat(0xFF0000, 1), 0xFF807F7Fu);
    EXPECT_EQ(ChangeBrightness(0x102030, 250), 0xFFFFFFFFu);
    EXPECT_EQ(ChangeBrightness(0x102030, -20), 0xFF000C1Cu);
    EXPECT_EQ(ChangeBrightness(0x102030, 2000000000), 0xFFFFFFFFu);
}

}  // namespace
