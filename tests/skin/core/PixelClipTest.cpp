// The clip arithmetic of MergeBehind, the copies into DIB memory and the tile walk, with positions and rectangles at
// the ends of the int range. This program compiles the pixel routines itself with signed overflow trapping, so an
// overflowing step fails the test even where the wrapped value happens to give the right picture.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "PixelTestSupport.h"
#include "skin/core/BitmapPixels.h"

namespace {

// A trapped overflow raises an illegal-instruction exception. Say so and end the program at once, instead of leaving
// it to the system's crash handling (Wine's waits in its debugger).
LONG WINAPI ReportTrap(EXCEPTION_POINTERS* e) {
    std::fprintf(stderr, "exception %08lx: a signed overflow trapped in the clip arithmetic\n",
                 static_cast<unsigned long>(e->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    std::_Exit(3);
}
const LPTOP_LEVEL_EXCEPTION_FILTER kSystemFilter = SetUnhandledExceptionFilter(ReportTrap);

constexpr int kMin = INT_MIN, kMax = INT_MAX;
const int kPositions[] = {kMin, kMin + 1, -3, 0, 2, kMax - 1, kMax};
const int kSourceLows[] = {kMin, -2, 0, 1};
const int kSourceHighs[] = {2, 5, kMax};

// A 4x3 source whose pixels name their place; the opaque ones keep the merge and copy results easy to predict.
TTestImage Source() {
    TTestImage src(4, 3);
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x)
            src.At(x, y) = 0xFF000000u | std::uint32_t(y << 8 | x);
    return src;
}

struct TClipCase {
    int x, y;
    TRect src;
};

// Every combination of positions and source rectangles near and far outside both bitmaps.
std::vector<TClipCase> ClipCases() {
    std::vector<TClipCase> cases;
    for (int x : kPositions)
        for (int y : {kMin, 0, 1, kMax})
            for (int left : kSourceLows)
                for (int right : kSourceHighs)
                    for (int top : {kMin, -1, 0})
                        for (int bottom : {2, kMax})
                            cases.push_back({x, y, TRect{left, top, right, bottom}});
    return cases;
}

// A 5x4 picture of where the source pixels of c go, each worked out alone in 64 bits; rows bottom-up for a DIB.
TTestImage Expected(const TTestImage& src, const TClipCase& c, bool bottomUp) {
    TTestImage out(5, 4);
    const TRect& r = c.src;
    for (long long sy = std::max(r.Top, 0); sy < std::min(r.Bottom, src.height); ++sy)
        for (long long sx = std::max(r.Left, 0); sx < std::min(r.Right, src.width); ++sx) {
            const long long dx = c.x + (sx - r.Left), dy = c.y + (sy - r.Top);
            if (dx >= 0 && dx < out.width && dy >= 0 && dy < out.height)
                out.At(int(dx), bottomUp ? out.height - 1 - int(dy) : int(dy)) =
                    src.pixels[std::size_t(sy * src.width + sx)];
        }
    return out;
}

testing::Message Describe(const TClipCase& c) {
    return testing::Message() << c.x << "," << c.y << " from " << c.src.Left << "," << c.src.Top << "," << c.src.Right
                              << "," << c.src.Bottom;
}

TEST(PixelClip, MergeBehindFarOutsideBothBitmaps) {
    TTestImage src = Source();
    for (const TClipCase& c : ClipCases()) {
        SCOPED_TRACE(Describe(c));
        TTestImage dst(5, 4);  // alpha 0: every merged pixel is taken as it is
        MergeBehind(dst.View(), src.View(), c.x, c.y, c.src);
        ASSERT_EQ(dst.pixels, Expected(src, c, false).pixels);
    }
}

TEST(PixelClip, CopiesIntoDibMemoryFarOutsideBothBitmaps) {
    TTestImage src = Source();
    for (const TClipCase& c : ClipCases()) {
        SCOPED_TRACE(Describe(c));
        TTestImage dib(5, 4);
        Plain_BltToDibOpaque(dib.pixels.data(), dib.width, dib.height, c.x, c.y, src.View(), c.src);
        ASSERT_EQ(dib.pixels, Expected(src, c, true).pixels);
    }
}

struct TileCall {
    TRect tile, source;
    friend bool operator==(const TileCall&, const TileCall&) = default;
};

std::vector<TileCall> Tiles(const TRect& dst, const TRect& clip, const TRect& src, const TRect& visible) {
    std::vector<TileCall> calls;
    ForEachTile(dst, clip, src, visible, [&](const TRect& t, const TRect& s) { calls.push_back({t, s}); });
    return calls;
}

TEST(PixelClip, TileWalkAtTheEndsOfTheIntRange) {
    // The last tile ends at INT_MAX: a step past it must not wrap round into a tile at the far left.
    EXPECT_EQ(Tiles(TRect{kMax - 10, 0, kMax, 1}, TRect{}, TRect{0, 0, 4, 1}, TRect{}),
              (std::vector<TileCall>{{{kMax - 10, 0, kMax - 6, 1}, {0, 0, 4, 1}},
                                     {{kMax - 6, 0, kMax - 2, 1}, {0, 0, 4, 1}},
                                     {{kMax - 2, 0, kMax, 1}, {0, 0, 2, 1}}}));
    // A destination as wide as the int range, seen through a small window: only the tiles over it, found without
    // walking the others.
    const TRect everything{kMin, kMin, kMax, kMax};
    const std::vector<TileCall> seen = Tiles(everything, TRect{}, TRect{0, 0, 7, 5}, TRect{0, 0, 10, 10});
    ASSERT_FALSE(seen.empty());
    for (const TileCall& c : seen) {
        EXPECT_EQ(c.source, (TRect{0, 0, 7, 5}));
        EXPECT_EQ((long long)c.tile.Left - kMin, ((long long)c.tile.Left - kMin) / 7 * 7);
        EXPECT_FALSE(ClipRect(c.tile, TRect{-7, -5, 17, 15}).IsEmpty());
    }
    EXPECT_LE(seen.size(), 16u);
    // The same window as a clip: whole tiles that meet it, nothing else.
    EXPECT_EQ(Tiles(everything, TRect{0, 0, 10, 10}, TRect{0, 0, 7, 5}, TRect{}).size(), seen.size());
    // A source wider than the int range can count: one tile, cut, its source the top-left part.
    EXPECT_EQ(Tiles(TRect{0, 0, 10, 1}, TRect{}, TRect{kMin, 0, kMax, 1}, TRect{}),
              (std::vector<TileCall>{{{0, 0, 10, 1}, {kMin, 0, kMin + 10, 1}}}));
}

}  // namespace
