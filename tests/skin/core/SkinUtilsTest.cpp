// Colour model, shades, rectangle tests, version predicates, the bound system functions and the date helpers.
#include "skin/core/SkinUtils.h"

#include <gtest/gtest.h>

#include <vector>

TEST(SkinColours, AlternateAndMiddleColours) {
    EXPECT_EQ(GetAlternateColor(0xFFFFFF), 0xE6E6E6u);
    EXPECT_EQ(GetAlternateColor(0x000000), 0x000000u);  // 25 % of value 0
    EXPECT_EQ(MiddleColor(0, 0xFFFFFF), 0x7F7F7Fu);
    EXPECT_EQ(MiddleColor(0x0000FF, 0xFF0000), 0x7F007Fu);
}

TEST(SkinColours, DarkerAndLighterMoveTheValue) {
    EXPECT_EQ(Darker(0x0000FF, 50), 0x000080u);    // red at value 50: 127.5 rounds to even 128
    EXPECT_EQ(Lighter(0x000080, 100), 0x0000FFu);  // value doubled, capped at 100
    EXPECT_EQ(Darker(clWhite, 0), clWhite);
}

TEST(SkinColours, RgbToHslOfPureBlueAndGreys) {
    int h = -1, s = -1, l = -1;
    RGBToHSL(0, 0, 255, h, s, l);
    EXPECT_EQ(h, 239);  // 2/3 of 359
    EXPECT_EQ(s, 100);
    EXPECT_EQ(l, 100);
    h = 77;
    RGBToHSL(128, 128, 128, h, s, l);
    EXPECT_EQ(h, 0);  // a grey has no hue
    EXPECT_EQ(s, 0);
    EXPECT_EQ(l, 50);
}

TEST(SkinColours, HslToRgbOfGreyIgnoresTheHue) {
    for (int hue : {0, 120, 360}) {
        std::uint8_t r = 0, g = 0, b = 0;
        HSLToRGB(r, g, b, hue, 0, 50);
        EXPECT_EQ(r, 128);  // 127.5 to even
        EXPECT_EQ(g, 128);
        EXPECT_EQ(b, 128);
    }
    std::uint8_t r = 0, g = 0, b = 0;
    HSLToRGB(r, g, b, 120, 100, 100);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{0, 255, 0}));
}

TEST(SkinGeometry, RectangleAndPointTests) {
    EXPECT_TRUE(IsNullRect({5, 5, 5, 10}));
    EXPECT_FALSE(IsNullRect({5, 5, 6, 10}));
    EXPECT_TRUE(PointInRect({0, 0, 10, 10}, {10, 10}));
    EXPECT_FALSE(RectInRect({0, 0, 10, 10}, {0, 0, 10, 10}));
    EXPECT_TRUE(RectInRect({1, 1, 9, 9}, {0, 0, 10, 10}));
    EXPECT_TRUE(RectToRect({50, 5, 60, 50}, {0, 0, 10, 10}));   // top side within the rows
    EXPECT_FALSE(RectToRect({0, 10, 10, 20}, {0, 0, 10, 10}));  // touches only the excluded bottom edge
    EXPECT_TRUE(IsNullPoint({0, 4}));
    TRect r{0, 0, 5, 3};
    EXPECT_EQ(CenterRect(r, {10, 10, 20, 20}), (TRect{12, 13, 17, 16}));
    EXPECT_EQ(r, (TRect{12, 13, 17, 16}));
    EXPECT_EQ(RectWidth({3, 0, 10, 0}), 7);
    EXPECT_EQ(RectHeight({0, -2, 0, 5}), 7);
}

TEST(SkinSystem, VersionPredicatesAsATable) {
    struct Case {
        int major, minor;
        bool w7, w8, vista, xp, checkXp, w2k;
    } cases[] = {
        {4, 0, false, false, false, false, false, false}, {5, 0, false, false, false, false, false, true},
        {5, 1, false, false, false, true, true, true},    {5, 2, false, false, false, false, false, true},
        {6, 0, false, false, true, false, true, true},    {6, 1, true, false, true, false, true, true},
        {6, 2, false, true, true, false, true, true},     {6, 3, false, false, true, false, true, true},
        {10, 0, false, true, true, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor);
        EXPECT_EQ(IsW7(c.major, c.minor), c.w7);
        EXPECT_EQ(IsW8(c.major, c.minor), c.w8);
        EXPECT_EQ(IsVistaOS(c.major, c.minor), c.vista);
        EXPECT_EQ(IsWXP(c.major, c.minor), c.xp);
        EXPECT_EQ(CheckWXP(c.major, c.minor), c.checkXp);
        EXPECT_EQ(CheckW2KWXP(c.major, c.minor), c.w2k);
    }
}

namespace {
std::vector<std::pair<HWND, int>> g_alphaCalls;
BOOL WINAPI RecordAlpha(HWND wnd, COLORREF key, BYTE alpha, DWORD flags) {
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(flags, DWORD(LWA_ALPHA));
    g_alphaCalls.push_back({wnd, alpha});
    return TRUE;
}
}  // namespace

TEST(SkinSystem, BoundFunctionsGoThroughTheTableAndAbsentOnesDoNothing) {
    EXPECT_NE(SystemBindings().UpdateLayeredWindow, nullptr);  // user32 has it
    TSystemBindings fake;
    fake.SetLayeredWindowAttributes = &RecordAlpha;
    {
        TSystemBindingsOverride over(fake);
        g_alphaCalls.clear();
        SetAlphaBlendTransparent(reinterpret_cast<HWND>(0x1234), 77);
        ASSERT_EQ(g_alphaCalls.size(), 1u);
        EXPECT_EQ(g_alphaCalls[0].second, 77);
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        EXPECT_FALSE(MyGetScrollBarInfo(nullptr, OBJID_VSCROLL, info));
        EXPECT_EQ(info.rgstate[0], DWORD(STATE_SYSTEM_INVISIBLE));
        EXPECT_FALSE(CheckMultiMonitors());
        EXPECT_FALSE(IsWindowsAero());
        // Without monitor functions every monitor question gets the primary work area.
        EXPECT_EQ(GetMonitorWorkArea(nullptr, true), GetPrimaryMonitorWorkArea(true));
    }
    EXPECT_NE(SystemBindings().UpdateLayeredWindow, nullptr);  // put back
}

TEST(SkinSystem, PrimaryWorkAreaMatchesTheSystem) {
    RECT r{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0));
    EXPECT_EQ(GetPrimaryMonitorWorkArea(true), (TRect{r.left, r.top, r.right, r.bottom}));
    EXPECT_EQ(GetPrimaryMonitorWorkArea(false),
              (TRect{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}));
}

TEST(SkinDates, PartsLeapYearsAndMonthLengths) {
    const TDateTime d = EncodeDate(2024, 2, 29);
    EXPECT_EQ(DayOfDate(d), 29);
    EXPECT_EQ(MonthOfDate(d), 2);
    EXPECT_EQ(YearOfDate(d), 2024);
    EXPECT_TRUE(IsLeap(2000));
    EXPECT_FALSE(IsLeap(1900));
    EXPECT_TRUE(IsLeap(2024));
    EXPECT_EQ(MonthDayCount(2024, 2), 29);
    EXPECT_EQ(MonthDayCount(2023, 2), 28);
    EXPECT_EQ(MonthDayCount(2023, 4), 30);
    EXPECT_EQ(MonthDayCount(2023, 12), 31);
    EXPECT_EQ(MonthDayCount(2023, 13), 0);
}
