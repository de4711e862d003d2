// pixel_bench: how fast the skin bitmaps' pixel routines run, against a plain memcpy of the same number of bytes
// measured in the same run (so that the ratios do not depend on the machine).
//
//   scripts/wine-session.sh start <build>  &&  <build>/wine-run
//   <build>/bin/pixel_bench.exe
//
// Each figure is the best of several runs. Goals: the blends and the tiling within 4x of memcpy, the stack blur at
// radius 20 within 1.5x of radius 1, a nine-part 1920x1080 frame within 4x, the region of a 1920x1080 mask under 10 ms.
// The blends and the alpha tile use random alphas (every pixel blended).
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "tools/common/ToolSupport.h"
#include "skin/core/EffectPixels.h"
#include "skin/core/PixelRoutines.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinImages.h"

namespace {

// memcpy of `bytes` between two buffers of that size: the baseline of every figure.
double MemcpyMs(std::size_t bytes) {
    std::vector<std::uint8_t> a(bytes, 1), b(bytes, 2);
    return BestMs([&] {
        std::memcpy(b.data(), a.data(), bytes);
        // Keep the copy from being dropped.
        volatile std::uint8_t sink = b[bytes / 2];
        (void)sink;
    });
}

void Report(const char* name, std::size_t bytes, double ms) {
    const double base = MemcpyMs(bytes);
    std::printf("%-44s %9.3f ms %9.3f ms %7.2fx\n", name, ms, base, ms / base);
}

std::vector<std::uint32_t> RandomPixels(std::size_t n, bool randomAlpha) {
    std::mt19937 random(12345);
    std::vector<std::uint32_t> v(n);
    for (auto& p : v)
        p = randomAlpha ? random() : (random() | 0xFF000000u);
    return v;
}

}  // namespace

int main() {
    std::printf(
        "pixel_bench: best of %d runs; the memcpy column copies the same "
        "number of bytes\n",
        kBenchRuns);
    static const char* const kSimdNames[] = {"none", "SSE2", "AVX2"};
    std::printf("MMX-style blends chosen at start: %s; vector instructions: %s\n\n", IsMmxTable() ? "yes" : "no",
                kSimdNames[int(SimdLevel())]);
    std::printf("%-44s %12s %12s %8s\n", "operation", "time", "memcpy", "ratio");

    // Line blend over 1 Mpixel, every alpha from 0 to 255.
    const int kMega = 1024 * 1024;
    const auto src = RandomPixels(kMega, true);
    auto dst = RandomPixels(kMega, false);
    Report("line blend 1 Mpixel, plain", std::size_t(kMega) * 4,
           BestMs([&] { Plain_LineAlphaBlend(src.data(), dst.data(), kMega); }));
    Report("line blend 1 Mpixel, MMX-style", std::size_t(kMega) * 4,
           BestMs([&] { Mmx_LineAlphaBlend(src.data(), dst.data(), kMega); }));
    // The same on processors without AVX2.
    const TSimd widest = SimdLevel();
    if (SetSimdLevel(TSimd::Sse2) == TSimd::Sse2 && widest != TSimd::Sse2) {
        Report("line blend 1 Mpixel, plain, SSE2 only", std::size_t(kMega) * 4,
               BestMs([&] { Plain_LineAlphaBlend(src.data(), dst.data(), kMega); }));
        Report("line blend 1 Mpixel, MMX-style, SSE2 only", std::size_t(kMega) * 4,
               BestMs([&] { Mmx_LineAlphaBlend(src.data(), dst.data(), kMega); }));
    }
    SetSimdLevel(widest);

    // Stretch 512 x 512 to 1920 x 1080.
    TbsBitmap small, screen;
    small.SetSize(512, 512);
    screen.SetSize(1920, 1080);
    const auto smallPixels = RandomPixels(512 * 512, true);
    std::memcpy(small.Bits(), smallPixels.data(), smallPixels.size() * 4);
    const std::size_t screenBytes = std::size_t(1920) * 1080 * 4;
    const TRect full{0, 0, 1920, 1080};
    Report("stretch 512x512 -> 1920x1080, opaque", screenBytes, BestMs([&] {
               StretchOpaqueFunc(screen.View(), full, full, small.View(), TRect{0, 0, 512, 512});
           }));
    Report("stretch 512x512 -> 1920x1080, alpha", screenBytes, BestMs([&] {
               StretchAlphaBlendFunc(screen.View(), full, full, small.View(), TRect{0, 0, 512, 512});
           }));

    // Stack blur of 1 Mpixel.
    std::vector<std::uint32_t> image = RandomPixels(kMega, false);
    const TPixelView view = TPixelView::Packed(image.data(), 1024, 1024);
    const double blur1 = BestMs([&] { EffectPixels::Blur(view, 1); });
    const double blur20 = BestMs([&] { EffectPixels::Blur(view, 20); });
    Report("stack blur 1024x1024, radius 1", std::size_t(kMega) * 4, blur1);
    Report("stack blur 1024x1024, radius 20", std::size_t(kMega) * 4, blur20);

    // Tiling a 1920 x 1080 background from a 64 x 64 picture.
    TbsBitmap tile;
    tile.SetSize(64, 64);
    const auto tilePixels = RandomPixels(64 * 64, false);
    std::memcpy(tile.Bits(), tilePixels.data(), tilePixels.size() * 4);
    const TRect tileRect{0, 0, 64, 64};
    Report("tile 1920x1080 into a TbsBitmap, opaque", screenBytes, BestMs([&] { tile.Tile(&screen, full, tileRect); }));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 1920;
    info.bmiHeader.biHeight = 1080;  // bottom-up, as a window's back buffer
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* dibBits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &dibBits, nullptr, 0);
    HDC dibDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dibDC, dib);
    Report("tile 1920x1080 into a DIB through its DC", screenBytes, BestMs([&] { tile.Tile(dibDC, full, tileRect); }));
    const auto alphaTilePixels = RandomPixels(64 * 64, true);
    std::memcpy(tile.Bits(), alphaTilePixels.data(), alphaTilePixels.size() * 4);
    tile.AlphaBlend = true;
    Report("tile 1920x1080 into a TbsBitmap, alpha", screenBytes, BestMs([&] { tile.Tile(&screen, full, tileRect); }));
    ::SelectObject(dibDC, old);
    ::DeleteDC(dibDC);
    ::DeleteObject(dib);

    // A 1920 x 1080 frame composed from a typical 120 x 100 frame picture: 12-pixel corners, tiled edges and a
    // tiled client area.
    auto framePicture = std::make_unique<TBitmap>(120, 100, pf32bit);
    const auto framePixels = RandomPixels(120 * 100, false);
    framePicture->SetPixels32(120, 100, framePixels.data());
    TBitmap frame(1920, 1080, pf32bit);
    const TRect cl{12, 30, 108, 88};
    const TNinePart nc{{12, 30}, {1908, 30}, {12, 1068}, {1908, 1068}, {12, 30, 1908, 1068}};
    Report("CreateSkinImage 1920x1080 frame", screenBytes, BestMs([&] {
               CreateSkinImage({12, 30}, {108, 30}, {12, 88}, {108, 88}, cl, nc.LTPt, nc.RTPt, nc.LBPt, nc.RBPt,
                               nc.ClRect, &frame, framePicture.get(), TRect{0, 0, 120, 100}, 1920, 1080, true, false,
                               false, false, false, false, bsstFull);
           }));

    // The region of a 1920 x 1080 mask with rounded corners (radius 12).
    auto mask = std::make_unique<TBitmap>(1920, 1080, pf32bit);
    std::vector<std::uint32_t> maskPixels(std::size_t(1920) * 1080, 0);
    for (int y = 0; y < 1080; ++y)
        for (int x = 0; x < 1920; ++x) {
            const int dx = std::max({12 - x, x - 1907, 0}), dy = std::max({12 - y, y - 1067, 0});
            if (dx * dx + dy * dy > 144)
                maskPixels[std::size_t(y) * 1920 + x] = 0xFFFFFF;
        }
    mask->SetPixels32(1920, 1080, maskPixels.data());
    std::vector<std::uint8_t> rgnData;
    const double rgnMs = BestMs([&] { CreateRgnFromBmp(mask.get(), 0, 0, rgnData); });
    Report("CreateRgnFromBmp 1920x1080 rounded mask", screenBytes, rgnMs);

    std::printf("\nstack blur radius 20 / radius 1: %.2fx\n", blur20 / blur1);
    std::printf("CreateRgnFromBmp 1920x1080: %.3f ms (goal under 10 ms)\n", rgnMs);
    return 0;
}
