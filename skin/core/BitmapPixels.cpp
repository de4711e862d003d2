// Whole-bitmap pixel work of the 32-bit skin bitmap (see BitmapPixels.h).
#include "skin/core/BitmapPixels.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "skin/core/PixelRoutines.h"

namespace {

inline std::uint32_t AlphaOf(std::uint32_t p) {
    return p >> 24;
}

// Pixel(row[x]) for every pixel, row by row.
template <typename PixelOp>
void ForEachPixel(const TPixelView& View, PixelOp&& Pixel) {
    for (int y = 0; y < View.height; ++y) {
        std::uint32_t* row = View.Row(y);
        for (int x = 0; x < View.width; ++x)
            Pixel(row[x]);
    }
}

// Every colour byte c of every pixel becomes Channel(c, alpha); the alpha byte stays.
template <typename ChannelOp>
void MapColorChannels(const TPixelView& View, ChannelOp&& Channel) {
    if (View.Empty())
        return;
    ForEachPixel(View, [&](std::uint32_t& p) {
        const std::uint32_t a = AlphaOf(p);
        std::uint32_t out = p & 0xFF000000;
        for (int shift = 0; shift < 24; shift += 8)
            out |= Channel((p >> shift) & 0xFF, a) << shift;
        p = out;
    });
}

}  // namespace

bool HasPartialAlpha(const TPixelView& View) {
    if (View.Empty())
        return false;
    for (int y = 0; y < View.height; ++y) {
        const std::uint32_t* row = View.Row(y);
        for (int x = 0; x < View.width; ++x) {
            const std::uint32_t a = AlphaOf(row[x]);
            if (a != 0 && a != 255)
                return true;
        }
    }
    return false;
}

bool KeyOutNearColor(const TPixelView& View, std::uint32_t Color) {
    if (View.Empty())
        return false;
    const int r = int((Color >> 16) & 0xFF), g = int((Color >> 8) & 0xFF), b = int(Color & 0xFF);
    bool replaced = false;
    ForEachPixel(View, [&](std::uint32_t& p) {
        if (std::abs(int((p >> 16) & 0xFF) - r) < 6 && std::abs(int((p >> 8) & 0xFF) - g) < 6 &&
            std::abs(int(p & 0xFF) - b) < 6) {
            p = kTransparentKey;
            replaced = true;
        }
    });
    return replaced;
}

void ClampColorsToAlpha(const TPixelView& View) {
    MapColorChannels(View, [](std::uint32_t c, std::uint32_t a) { return std::min(c, a); });
}

void PremultiplyAlpha(const TPixelView& View) {
    // alpha * c / 255 is never exactly halfway between two integers (255 is odd), so rounding to nearest needs no tie
    // rule and integer arithmetic gives it exactly.
    MapColorChannels(View, [](std::uint32_t c, std::uint32_t a) { return (2 * a * c + 255) / 510; });
}

void AdjustColors(const TPixelView& View, TColorAdjust Adjust, int Arg) {
    if (View.Empty())
        return;
    ForEachPixel(View, [&](std::uint32_t& p) {
        if (AlphaOf(p) != 0)
            p = (Adjust(p, Arg) & 0x00FFFFFF) | (p & 0xFF000000);
    });
}

void FlipRows(const TPixelView& View) {
    if (View.Empty())
        return;
    std::vector<std::uint32_t> buffer(std::size_t(View.width));
    for (int i = 0; i < View.height / 2; ++i) {
        std::uint32_t* a = View.Row(i);
        std::uint32_t* b = View.Row(View.height - 1 - i);
        MoveLongwordFunc(a, buffer.data(), View.width);
        MoveLongwordFunc(b, a, View.width);
        MoveLongwordFunc(buffer.data(), b, View.width);
    }
}

void FadeReflection(const TPixelView& View, int Divisor) {
    if (View.Empty() || Divisor == 0)
        return;
    FlipRows(View);
    const double step = 2.0 / View.height;
    double f = 1.0;
    for (int y = 0; y < View.height; ++y, f -= step) {
        std::uint32_t* row = View.Row(y);
        for (int x = 0; x < View.width; ++x) {
            const std::uint32_t a = AlphaOf(row[x]);
            if (a == 0)
                continue;
            const long long faded = std::llrint(f * a) / Divisor;  // integer division truncates towards zero
            row[x] = (row[x] & 0x00FFFFFF) | (std::uint32_t(std::max(0LL, faded)) << 24);
        }
    }
}

void SetAlphaInRect(const TPixelView& View, std::uint8_t Alpha, const TRect& R) {
    if (View.Empty())
        return;
    const TRect c = ClipRect(R, View.BoundsRect());
    if (c.IsEmpty())
        return;
    for (int y = c.Top; y < c.Bottom; ++y)
        FillAlphaFunc(View.Row(y) + c.Left, c.Width(), Alpha);
}

void FillPixels(const TPixelView& View, const TRect& R, std::uint32_t Color, bool Blend) {
    if (View.Empty())
        return;
    const TRect c = ClipRect(R, View.BoundsRect());
    if (c.IsEmpty())
        return;
    if (Blend) {
        std::vector<std::uint32_t> line(std::size_t(c.Width()), Color);
        for (int y = c.Top; y < c.Bottom; ++y)
            LineAlphaBlendFunc(line.data(), View.Row(y) + c.Left, c.Width());
    } else {
        for (int y = c.Top; y < c.Bottom; ++y)
            FillLongwordFunc(View.Row(y) + c.Left, c.Width(), Color);
    }
}

void MergeBehind(const TPixelView& Dst, const TPixelView& Src, int X, int Y, TRect SrcRect) {
    if (Dst.Empty() || Src.Empty())
        return;
    // In 64 bits: callers may hand positions and rectangles far outside both bitmaps. Source pixel (sx, sy) lands on
    // (x + sx - sl, y + sy - st); the ranges are cut to both bitmaps before any pixel is touched.
    long long sl = SrcRect.Left, st = SrcRect.Top;
    long long sr = std::min(SrcRect.Right, Src.width), sb = std::min(SrcRect.Bottom, Src.height);
    long long x = X, y = Y;
    const auto cutLow = [](long long& s, long long& d) {
        const long long need = std::max(-s, -d);
        if (need > 0) {
            s += need;
            d += need;
        }
    };
    cutLow(sl, x);
    cutLow(st, y);
    sr = std::min(sr, sl + (Dst.width - x));
    sb = std::min(sb, st + (Dst.height - y));
    if (sr <= sl || sb <= st)
        return;
    const int w = int(sr - sl);
    for (long long sy = st; sy < sb; ++sy) {
        const std::uint32_t* s = Src.Row(int(sy)) + sl;
        std::uint32_t* d = Dst.Row(int(y + (sy - st))) + x;
        for (int i = 0; i < w; ++i) {
            const std::uint32_t a = AlphaOf(d[i]);
            if (a == 0)
                d[i] = s[i];
            else if (a != 255)
                d[i] = PixelAlphaBlendFunc(d[i], s[i]);
        }
    }
}
