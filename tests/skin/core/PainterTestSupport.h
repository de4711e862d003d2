// Helpers of the painter tests: 32-bit class-library bitmaps filled from a function and read back pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "classlib/Graphics.h"

// A W x H 32-bit bitmap whose pixel (x, y) is f(x, y) (0x00RRGGBB, alpha byte as given).
inline std::unique_ptr<TBitmap> MakeBitmap(int w, int h, const std::function<std::uint32_t(int, int)>& f) {
    auto b = std::make_unique<TBitmap>(w, h, pf32bit);
    std::vector<std::uint32_t> px(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[std::size_t(y) * w + x] = f(x, y);
    b->SetPixels32(w, h, px.data());
    return b;
}

// Pixel (x, y) of a 32-bit bitmap, colour only (0x00RRGGBB).
inline std::uint32_t PixelAt(TBitmap* b, int x, int y) {
    return static_cast<const std::uint32_t*>(b->ScanLine(y))[x] & 0xFFFFFF;
}

// A pixel value that names its own position, so that a copy can be traced back to its source.
inline std::uint32_t PositionColor(int x, int y) {
    return 0x010000u | (std::uint32_t(y) << 8) | std::uint32_t(x);
}
