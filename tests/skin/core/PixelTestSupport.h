// Helpers shared by the skin core tests: owned pixel buffers behind views, and a guard that switches the pixel routine
// table to one blend variant for the length of a test.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/core/PixelRoutines.h"
#include "skin/core/PixelView.h"

// Selects the plain or the MMX-style blends and restores the start-up choice afterwards.
class TBlendVariant {
  public:
    explicit TBlendVariant(bool mmx) : saved_(IsMmxTable()) { SetupLowLevel(mmx); }
    ~TBlendVariant() { SetupLowLevel(saved_); }
    TBlendVariant(const TBlendVariant&) = delete;
    TBlendVariant& operator=(const TBlendVariant&) = delete;

  private:
    bool saved_;
};

// A 32-bit image with its own pixels (top-down, packed).
struct TTestImage {
    TTestImage(int w, int h, std::uint32_t fill = 0) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    TPixelView View() { return TPixelView::Packed(pixels.data(), width, height); }
    std::uint32_t& At(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    std::vector<std::uint32_t> Row(int y) const {
        return {pixels.begin() + std::ptrdiff_t(y) * width, pixels.begin() + std::ptrdiff_t(y + 1) * width};
    }
    int width, height;
    std::vector<std::uint32_t> pixels;
};

// A 24-bit image with rows padded to 4 bytes; a canary byte pattern fills the padding.
struct TTestImage24 {
    TTestImage24(int w, int h, std::uint8_t b = 0, std::uint8_t g = 0, std::uint8_t r = 0)
        : width(w), height(h), stride(TEffectView::RowLength(w)), bytes(std::size_t(stride) * h, 0xA5) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                Set(x, y, b, g, r);
    }
    TEffectView View() { return TEffectView{bytes.data(), width, height, stride}; }
    void Set(int x, int y, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
        std::uint8_t* p = &bytes[std::size_t(y) * stride + 3 * x];
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    // 0x00RRGGBB
    std::uint32_t Get(int x, int y) const {
        const std::uint8_t* p = &bytes[std::size_t(y) * stride + 3 * x];
        return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
    }
    void SetGray(int x, int y, std::uint8_t v) { Set(x, y, v, v, v); }
    std::uint8_t Gray(int x, int y) const { return bytes[std::size_t(y) * stride + 3 * x]; }
    bool PaddingIntact() const {
        for (int y = 0; y < height; ++y)
            for (std::ptrdiff_t i = std::ptrdiff_t(width) * 3; i < stride; ++i)
                if (bytes[std::size_t(y * stride + i)] != 0xA5)
                    return false;
        return true;
    }
    int width, height;
    std::ptrdiff_t stride;
    std::vector<std::uint8_t> bytes;
};
