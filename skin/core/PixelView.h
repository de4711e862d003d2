// Borrowed views of pixel memory: the common ground of the skin bitmaps, the pixel routines and the effects. Index:
// TPixelView (32-bit pixels 0xAARRGGBB, stored blue, green, red, alpha), TEffectView (24-bit, blue, green, red),
// ClipRect. Pure code: no windows.h. A view never owns its memory; it stays valid only as long as the bitmap behind it
// keeps its size.
#pragma once

#include <cstddef>
#include <cstdint>

#include "classlib/Types.h"

// 32-bit pixels. The stride counts pixels and may be negative, so that a bottom-up device-independent bitmap is seen
// top-down: bits then points at the last row in memory and stride is minus the row length.
struct TPixelView {
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    bool Empty() const { return bits == nullptr || width <= 0 || height <= 0; }
    std::uint32_t* Row(int y) const { return bits + y * stride; }
    std::uint32_t& At(int x, int y) const { return Row(y)[x]; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    TRect BoundsRect() const { return TRect{0, 0, width, height}; }

    // Rows of width pixels without gaps, top-down.
    static TPixelView Packed(std::uint32_t* bits, int width, int height) { return {bits, width, height, width}; }
    // A bottom-up device-independent bitmap: image row y is memory row height - 1
    // - y.
    static TPixelView BottomUp(std::uint32_t* bits, int width, int height) {
        if (bits == nullptr || width <= 0 || height <= 0)
            return {};
        return {bits + std::ptrdiff_t(height - 1) * width, width, height, -std::ptrdiff_t(width)};
    }
};

// 24-bit pixels, three bytes per pixel (blue, green, red); the stride counts bytes.
struct TEffectView {
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    bool Empty() const { return bits == nullptr || width <= 0 || height <= 0; }
    std::uint8_t* Row(int y) const { return bits + y * stride; }
    std::uint8_t* At(int x, int y) const { return Row(y) + 3 * x; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    // Row length of a 24-bit device-independent bitmap: Width * 3 padded to a multiple of 4 bytes.
    static std::ptrdiff_t RowLength(int width) { return std::ptrdiff_t(width) * 3 + (width % 4); }
};

// a ∩ b, empty (all zero) when they do not overlap.
inline TRect ClipRect(const TRect& a, const TRect& b) {
    return IntersectionOf(a, b);
}
