// The pixel arithmetic of the visual effects (see EffectPixels.h). Channel formulas are evaluated in long double
// (extended precision on x86) and rounded with the current rounding mode (nearest, ties to even), so that a value such
// as 0.3 * 5 = 1.5 rounds the way the formulas intend.
#include "skin/core/EffectPixels.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "skin/core/BitmapPixels.h"

namespace EffectPixels {

namespace {

using Real = long double;

inline std::uint8_t CheckRGB(long long v) {
    return std::uint8_t(std::clamp(v, 0LL, 255LL));
}

inline std::uint8_t RoundChannel(Real v) {
    return CheckRGB(std::llrint(v));
}

inline bool SameSize(const TEffectView& a, const TEffectView& b) {
    return !a.Empty() && !b.Empty() && a.width == b.width && a.height == b.height;
}

inline Real ClampKf(double Kf) {
    return std::clamp(Real(Kf), Real(0), Real(1));
}

// Round(size * Kf) for a clamped factor.
inline int Portion(int size, Real kf) {
    return int(std::llrint(Real(size) * kf));
}

// Width of the band a slide or a left gradient covers: Round(size * Kf), at least 1 and less than size.
inline int BandWidth(int size, double Kf) {
    return std::min(std::max(Portion(size, ClampKf(Kf)), 1), size - 1);
}

// Fade(p, t) for p = from, from + step, ... up to and including to (step is 1 or -1); t starts at 0 and grows by s
// per position, up to 1.
template <typename FadeOp>
void FadeRamp(int from, int to, int step, Real s, FadeOp&& Fade) {
    Real t = 0;
    for (int p = from; step > 0 ? p <= to : p >= to; p += step, t = std::min(t + s, Real(1)))
        Fade(p, t);
}

// Round(target * (1 - t) + this * t) for the three channels of one pixel.
inline void FadePixel(std::uint8_t* d, const std::uint8_t* target, Real t) {
    for (int c = 0; c < 3; ++c)
        d[c] = RoundChannel(target[c] * (1 - t) + d[c] * t);
}

inline void CopyPixel(std::uint8_t* d, const std::uint8_t* s) {
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
}

inline bool IsWhite(const std::uint8_t* p) {
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
}

// The mask effects need a mask as wide as the bitmap and at least as high.
inline bool MaskFits(const TEffectView& This, const TEffectView& Msk) {
    return !This.Empty() && !Msk.Empty() && Msk.width == This.width && Msk.height >= This.height;
}

// Sample positions of the four-point average; Amount has been cut so that all lie inside the bitmap.
struct TSamples {
    int x1, x2, y1, y2;
};

inline TSamples SamplesAt(const TEffectView& v, int x, int y, int Amount) {
    TSamples s;
    s.y1 = y - Amount < 0 ? y : y - Amount;
    s.y2 = y + Amount >= v.height ? v.height - y : y + Amount;
    s.x1 = x - Amount < 0 ? x : x - Amount;
    s.x2 = x + Amount >= v.width ? v.width - x : x + Amount;
    return s;
}

inline void AveragePixel(const TEffectView& v, int x, int y, const TSamples& s) {
    const std::uint8_t* a = v.At(s.x1, s.y1);
    const std::uint8_t* b = v.At(s.x1, s.y2);
    const std::uint8_t* c = v.At(s.x2, s.y1);
    const std::uint8_t* d = v.At(s.x2, s.y2);
    std::uint8_t* p = v.At(x, y);
    for (int i = 0; i < 3; ++i)
        p[i] = std::uint8_t((a[i] + b[i] + c[i] + d[i]) >> 2);
}

inline int CutAmount(const TEffectView& v, int Amount) {
    return std::min({Amount, v.width - 1, v.height - 1});
}

std::minstd_rand& Generator() {
    static std::minstd_rand generator{std::random_device{}()};
    return generator;
}

// Uniform integer in 0..n - 1; 0 when n <= 0.
int Random(int n) {
    if (n <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(Generator());
}

}  // namespace

// ---- Transitions ----------------------------------------------------------------------------------------------------
void Morph(const TEffectView& This, const TEffectView& Target, double Kf) {
    if (!SameSize(This, Target))
        return;
    const Real kf = ClampKf(Kf);
    // c1 * (1 - kf) and c2 * kf depend on one byte each: the products are formed once per value.
    Real mine[256], theirs[256];
    for (int i = 0; i < 256; ++i) {
        mine[i] = Real(i) * (1 - kf);
        theirs[i] = Real(i) * kf;
    }
    for (int y = 0; y < This.height; ++y) {
        std::uint8_t* d = This.Row(y);
        const std::uint8_t* s = Target.Row(y);
        for (int i = 0; i < This.width * 3; ++i)
            d[i] = RoundChannel(mine[d[i]] + theirs[s[i]]);
    }
}

namespace {

// Rct (inclusive) cut to This and to Target's area from (StartX, StartY); calls Pixel(dst, src) for each pixel.
template <typename PixelOp>
void ForRectPixels(const TEffectView& This,
                   const TEffectView& Target,
                   const TRect& Rct,
                   int StartX,
                   int StartY,
                   PixelOp&& Pixel) {
    if (This.Empty() || Target.Empty())
        return;
    const long long right = std::min<long long>(Rct.Right, This.width - 1);
    const long long bottom = std::min<long long>(Rct.Bottom, This.height - 1);
    for (long long y = std::max(Rct.Top, 0); y <= bottom; ++y) {
        const long long sy = StartY + (y - Rct.Top);
        if (sy < 0 || sy >= Target.height)
            continue;
        for (long long x = std::max(Rct.Left, 0); x <= right; ++x) {
            const long long sx = StartX + (x - Rct.Left);
            if (sx < 0 || sx >= Target.width)
                continue;
            Pixel(This.At(int(x), int(y)), Target.At(int(sx), int(sy)));
        }
    }
}

}  // namespace

void MorphRect(const TEffectView& This,
               const TEffectView& Target,
               double Kf,
               const TRect& Rct,
               int StartX,
               int StartY) {
    const Real kf = ClampKf(Kf);
    ForRectPixels(This, Target, Rct, StartX, StartY, [kf](std::uint8_t* d, const std::uint8_t* s) {
        for (int c = 0; c < 3; ++c)
            d[c] = RoundChannel(d[c] * (1 - kf) + s[c] * kf);
    });
}

void CopyRect(const TEffectView& This, const TEffectView& Target, const TRect& Rct, int StartX, int StartY) {
    ForRectPixels(This, Target, Rct, StartX, StartY, [](std::uint8_t* d, const std::uint8_t* s) { CopyPixel(d, s); });
}

void MorphGrad(const TEffectView& This, const TEffectView& Target, double Kf) {
    if (This.width < This.height)
        MorphVGrad(This, Target, Kf);
    else
        MorphHGrad(This, Target, Kf);
}

void MorphHGrad(const TEffectView& This, const TEffectView& Target, double Kf) {
    if (!SameSize(This, Target))
        return;
    const int w = This.width;
    const int b = Portion(w, ClampKf(Kf));
    const int e = std::max(0, w / 2 - b / 2);
    const int c = std::min(w - 1, w / 2 + b / 2);
    const int q = (w - b) / 2;
    const Real s = q != 0 ? Real(1) / q : Real(1);
    for (int y = 0; y < This.height; ++y) {
        for (int x = e; x <= c; ++x)
            CopyPixel(This.At(x, y), Target.At(x, y));
        const auto fade = [&](int x, Real t) { FadePixel(This.At(x, y), Target.At(x, y), t); };
        FadeRamp(e, 0, -1, s, fade);
        FadeRamp(c, w - 1, 1, s, fade);
    }
}

void MorphVGrad(const TEffectView& This, const TEffectView& Target, double Kf) {
    if (!SameSize(This, Target))
        return;
    const int h = This.height;
    const int b = Portion(h, ClampKf(Kf));
    const int n = std::max(0, h / 2 - b / 2);
    const int e = std::min(h - 1, h / 2 + b / 2);
    const int q = (h - 1 - b) / 2;
    const Real s = q != 0 ? Real(1) / q : Real(0);
    const auto fadeRow = [&](int y, Real t) {
        for (int x = 0; x < This.width; ++x)
            FadePixel(This.At(x, y), Target.At(x, y), t);
    };
    for (int y = n; y <= e; ++y)
        for (int x = 0; x < This.width; ++x)
            CopyPixel(This.At(x, y), Target.At(x, y));
    FadeRamp(n, 0, -1, s, fadeRow);
    FadeRamp(e, h - 1, 1, s, fadeRow);
}

void MorphLeftGrad(const TEffectView& This, const TEffectView& Target, double Kf) {
    if (!SameSize(This, Target))
        return;
    const int w = This.width;
    const int b = BandWidth(w, Kf);
    const Real s = b > 0 ? Real(1) / b : Real(1);
    for (int y = 0; y < This.height; ++y)
        FadeRamp(0, b, 1, s, [&](int x, Real t) { FadePixel(This.At(x, y), Target.At(x, y), t); });
}

void MorphRightGrad(const TEffectView& This, const TEffectView& Target, double Kf) {
    if (!SameSize(This, Target))
        return;
    const int w = This.width;
    const int c = std::clamp(w - Portion(w, ClampKf(Kf)), 0, w - 1);
    const Real s = w - c > 0 ? Real(1) / (w - c) : Real(1);
    for (int y = 0; y < This.height; ++y)
        FadeRamp(w - 1, c, -1, s, [&](int x, Real t) { FadePixel(This.At(x, y), Target.At(x, y), t); });
}

void MorphLeftSlide(const TEffectView& This, const TEffectView& Target, double Kf) {
    if (!SameSize(This, Target))
        return;
    const int w = This.width;
    const int b = BandWidth(w, Kf);
    for (int y = 0; y < This.height; ++y)
        for (int x = 0; x < b; ++x)
            CopyPixel(This.At(x, y), Target.At(w - b + x, y));
}

void MorphRightSlide(const TEffectView& This, const TEffectView& Target, double Kf) {
    if (!SameSize(This, Target))
        return;
    const int w = This.width;
    const int b = BandWidth(w, Kf);
    for (int y = 0; y < This.height; ++y)
        for (int x = 0; x < b; ++x)
            CopyPixel(This.At(w - b + x, y), Target.At(x, y));
}

void MorphPush(const TEffectView& This, const TEffectView& Target, double Kf) {
    if (!SameSize(This, Target))
        return;
    const int w = This.width;
    const int b = std::clamp(Portion(w, ClampKf(Kf)), 0, w - 1);
    std::vector<std::uint8_t> old(std::size_t(w) * 3);
    for (int y = 0; y < This.height; ++y) {
        std::uint8_t* row = This.Row(y);
        std::copy(row, row + std::size_t(w) * 3, old.begin());
        for (int j = w - 1; j >= b + 1; --j)
            CopyPixel(row + 3 * j, old.data() + 3 * (j - b - 1));
        CopyPixel(row + 3 * b, old.data());
        for (int x = 0; x <= b; ++x)
            CopyPixel(row + 3 * x, Target.At(w - b - 1 + x, y));
    }
}

// ---- Colour effects -------------------------------------------------------------------------------------------------
namespace {

// Applies a per-channel table to every byte of the image.
void MapChannels(const TEffectView& This, const std::uint8_t (&table)[256]) {
    for (int y = 0; y < This.height; ++y) {
        std::uint8_t* row = This.Row(y);
        for (int i = 0; i < This.width * 3; ++i)
            row[i] = table[row[i]];
    }
}

}  // namespace

void ChangeBrightness(const TEffectView& This, double Kf) {
    if (This.Empty())
        return;
    const Real kf = ClampKf(Kf);
    std::uint8_t table[256];
    for (int c = 0; c < 256; ++c)
        table[c] = RoundChannel(c * (1 - kf) + 255 * kf);
    MapChannels(This, table);
}

void ChangeDarkness(const TEffectView& This, double Kf) {
    if (This.Empty())
        return;
    const Real kf = ClampKf(Kf);
    std::uint8_t table[256];
    for (int c = 0; c < 256; ++c)
        table[c] = RoundChannel(c * (1 - kf));
    MapChannels(This, table);
}

void Invert(const TEffectView& This) {
    if (This.Empty())
        return;
    std::uint8_t table[256];
    for (int c = 0; c < 256; ++c)
        table[c] = std::uint8_t(255 - c);
    MapChannels(This, table);
}

void GrayScale(const TEffectView& This) {
    if (This.Empty())
        return;
    for (int y = 0; y < This.height; ++y) {
        for (int x = 0; x < This.width; ++x) {
            std::uint8_t* p = This.At(x, y);
            const std::uint8_t g = RoundChannel(0.3L * p[2] + 0.59L * p[1] + 0.11L * p[0]);
            p[0] = p[1] = p[2] = g;
        }
    }
}

void AddMonoNoise(const TEffectView& This, int Amount) {
    if (This.Empty())
        return;
    for (int y = 0; y < This.height; ++y) {
        for (int x = 0; x < This.width; ++x) {
            std::uint8_t* p = This.At(x, y);
            const int n = Random(Amount) - Amount / 2;
            for (int c = 0; c < 3; ++c)
                p[c] = CheckRGB((long long)p[c] + n);
        }
    }
}

void AddColorNoise(const TEffectView& This, int Amount) {
    if (This.Empty())
        return;
    for (int y = 0; y < This.height; ++y) {
        for (int x = 0; x < This.width; ++x) {
            std::uint8_t* p = This.At(x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = CheckRGB((long long)p[c] + Random(Amount) - Amount / 2);
        }
    }
}

void SplitBlur(const TEffectView& This, int Amount) {
    if (This.Empty())
        return;
    Amount = CutAmount(This, Amount);
    if (Amount <= 0)
        return;
    for (int y = 0; y < This.height; ++y)
        for (int x = 0; x < This.width; ++x)
            AveragePixel(This, x, y, SamplesAt(This, x, y, Amount));
}

void Mosaic(const TEffectView& This, int ASize) {
    if (This.Empty() || ASize < 2)
        return;
    for (int by = 0; by < This.height; by += ASize) {
        for (int bx = 0; bx < This.width; bx += ASize) {
            std::uint8_t color[3];
            CopyPixel(color, This.At(bx, by));
            const int right = std::min(This.width, bx + ASize), bottom = std::min(This.height, by + ASize);
            for (int y = by; y < bottom; ++y)
                for (int x = bx; x < right; ++x)
                    CopyPixel(This.At(x, y), color);
        }
    }
}

void Wave(const TEffectView& This, int XDIV, int YDIV, int RatioVal) {
    if (This.Empty() || XDIV == 0 || YDIV == 0)
        return;
    const std::size_t rowBytes = std::size_t(This.width) * 3;
    std::vector<std::uint8_t> copy(rowBytes * std::size_t(This.height));
    for (int y = 0; y < This.height; ++y)
        std::copy(This.Row(y), This.Row(y) + rowBytes, copy.begin() + std::ptrdiff_t(rowBytes) * y);
    const auto clampRound = [](Real v, int size) {
        return int(std::clamp<long double>(std::nearbyint(v), 0, size - 1));
    };
    for (int y = 0; y < This.height; ++y) {
        const Real dx = std::sin(Real(y) / YDIV) * RatioVal;
        for (int x = 0; x < This.width; ++x) {
            const int sx = clampRound(dx + x, This.width);
            const int sy = clampRound(y + RatioVal * std::sin(Real(x) / XDIV), This.height);
            CopyPixel(This.At(x, y), copy.data() + std::ptrdiff_t(rowBytes) * sy + 3 * sx);
        }
    }
}

// ---- Geometry -------------------------------------------------------------------------------------------------------
namespace {

template <typename MapPoint>
void MapInto(const TEffectView& This, const TEffectView& Dst, MapPoint&& map) {
    if (This.Empty() || Dst.Empty())
        return;
    for (int y = 0; y < This.height; ++y) {
        for (int x = 0; x < This.width; ++x) {
            int dx, dy;
            map(x, y, dx, dy);
            if (Dst.Contains(dx, dy))
                CopyPixel(Dst.At(dx, dy), This.At(x, y));
        }
    }
}

}  // namespace

void Rotate90_1(const TEffectView& This, const TEffectView& Dst) {
    MapInto(This, Dst, [&](int x, int y, int& dx, int& dy) {
        dx = y;
        dy = This.width - 1 - x;
    });
}

void Rotate90_2(const TEffectView& This, const TEffectView& Dst) {
    MapInto(This, Dst, [&](int x, int y, int& dx, int& dy) {
        dx = This.height - 1 - y;
        dy = x;
    });
}

void FlipVert(const TEffectView& This, const TEffectView& Dst) {
    MapInto(This, Dst, [&](int x, int y, int& dx, int& dy) {
        dx = x;
        dy = This.height - 1 - y;
    });
}

void Resize(const TEffectView& This, const TEffectView& Dst) {
    if (This.Empty() || Dst.Empty())
        return;
    const Real cy = Real(Dst.height - 1) / This.height;
    const Real cx = Real(Dst.width - 1) / This.width;
    const long long blockW = std::llrint(cx) + 1, blockH = std::llrint(cy) + 1;
    for (int y = 0; y < This.height; ++y) {
        const long long top = std::llrint(cy * y);
        for (int x = 0; x < This.width; ++x) {
            const long long left = std::llrint(cx * x);
            const std::uint8_t* p = This.At(x, y);
            for (long long dy = top; dy < top + blockH && dy < Dst.height; ++dy)
                for (long long dx = left; dx < left + blockW && dx < Dst.width; ++dx)
                    if (dx >= 0 && dy >= 0)
                        CopyPixel(Dst.At(int(dx), int(dy)), p);
        }
    }
}

// ---- Mask effects ---------------------------------------------------------------------------------------------------
void MaskBlur(const TEffectView& This, const TEffectView& Msk, int Amount) {
    if (!MaskFits(This, Msk))
        return;
    Amount = CutAmount(This, Amount);
    if (Amount <= 0)
        return;
    for (int y = 0; y < This.height; ++y)
        for (int x = 0; x < This.width; ++x)
            if (!IsWhite(Msk.At(x, y)))
                AveragePixel(This, x, y, SamplesAt(This, x, y, Amount));
}

void MaskAntialiasing(const TEffectView& This, const TEffectView& Msk, int Amount) {
    if (!MaskFits(This, Msk))
        return;
    Amount = CutAmount(This, Amount);
    if (Amount <= 0)
        return;
    for (int y = 0; y < This.height; ++y) {
        for (int x = 0; x < This.width; ++x) {
            if (IsWhite(Msk.At(x, y)))
                continue;
            const TSamples s = SamplesAt(This, x, y, Amount);
            if (IsWhite(Msk.At(s.x1, s.y1)) || IsWhite(Msk.At(s.x1, s.y2)) || IsWhite(Msk.At(s.x2, s.y1)) ||
                IsWhite(Msk.At(s.x2, s.y2)))
                AveragePixel(This, x, y, s);
        }
    }
}

void MaskFillColor(const TEffectView& This, const TEffectView& Msk, std::uint32_t Color, double kf) {
    if (!MaskFits(This, Msk))
        return;
    const Real k = kf;
    const Real tint[3] = {Real(Color & 0xFF), Real((Color >> 8) & 0xFF), Real((Color >> 16) & 0xFF)};
    for (int y = 0; y < This.height; ++y) {
        for (int x = 0; x < This.width; ++x) {
            if (IsWhite(Msk.At(x, y)))
                continue;
            std::uint8_t* p = This.At(x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = RoundChannel(p[c] * (1 - k) + k * tint[c]);
        }
    }
}

// ---- Stack blur -----------------------------------------------------------------------------------------------------
// The stack of the published algorithm holds the 2r + 1 clamped samples around the current position; its running sums
// are all this needs, so the samples that leave and enter it are read back from the line instead: leaving at position i
// is sample max(i - r, 0), entering is min(i + r + 1, last), and the one that crosses the centre is min(i + 1, last).
// The output is the same, and the vertical pass can sweep whole rows (cache-friendly) with one set of running sums per
// column.
namespace {

// floor(sum / divsum): a table while it is small, a division beyond.
class TDivider {
  public:
    explicit TDivider(std::uint32_t divsum) : divsum_(divsum) {
        if (std::uint64_t(divsum) * 256 <= (1u << 20)) {
            table_.resize(std::size_t(divsum) * 256);
            for (std::size_t i = 0; i < table_.size(); ++i)
                table_[i] = std::uint8_t(i / divsum);
        }
    }
    std::uint32_t operator()(std::uint32_t sum) const { return table_.empty() ? sum / divsum_ : table_[sum]; }

  private:
    std::uint32_t divsum_;
    std::vector<std::uint8_t> table_;
};

// Initial sums of one line of length n (values read through get(i)) for radius r: sum = Σ w_i v(clamp(i)), outSum over
// i <= 0, inSum over i > 0, with weights r + 1 - |i|.
template <typename Get>
void InitialSums(int n, int r, Get&& get, std::uint32_t& sum, std::uint32_t& inSum, std::uint32_t& outSum) {
    const std::uint32_t first = get(0);
    const std::uint32_t ur = std::uint32_t(r);
    // i = -r .. 0 all read sample 0, weights 1 .. r + 1.
    outSum = first * (ur + 1);
    sum = first * ((ur + 1) * (ur + 2) / 2);
    inSum = 0;
    const int last = n - 1;
    const int direct = std::min(r, last);
    for (int i = 1; i <= direct; ++i) {
        const std::uint32_t v = get(i);
        inSum += v;
        sum += v * (ur + 1 - std::uint32_t(i));
    }
    if (r > last) {
        // i = last + 1 .. r read the last sample, weights r - last .. 1.
        const std::uint32_t v = get(last);
        const std::uint32_t count = ur - std::uint32_t(last);
        inSum += v * count;
        sum += v * (count * (count + 1) / 2);
    }
}

// One row step of the running sums of every column: the sample at `leaving` leaves the stack, the one at `entering`
// enters it, the one at `centre` crosses from the incoming to the outgoing half. The sums live in separate arrays,
// so the loop runs over whole vectors of columns.
void StepColumns(std::uint32_t* __restrict sum,
                 std::uint32_t* __restrict inSum,
                 std::uint32_t* __restrict outSum,
                 const std::uint8_t* leaving,
                 const std::uint8_t* entering,
                 const std::uint8_t* centre,
                 int w) {
    for (int x = 0; x < w; ++x) {
        const std::uint32_t in = inSum[x] + entering[x];
        const std::uint32_t out = outSum[x] - leaving[x];
        sum[x] = sum[x] - outSum[x] + in;
        outSum[x] = out + centre[x];
        inSum[x] = in - centre[x];
    }
}

}  // namespace

void Blur(const TPixelView& Bitmap, int Radius) {
    if (Bitmap.Empty() || Radius <= 0)
        return;
    const int r = std::min(Radius, kMaxBlurRadius);
    const int w = Bitmap.width, h = Bitmap.height;
    const std::uint32_t divsum = std::uint32_t(r + 1) * std::uint32_t(r + 1);
    const TDivider divide(divsum);
    const std::size_t planeSize = std::size_t(w) * std::size_t(h);
    std::vector<std::uint8_t> planes[3] = {std::vector<std::uint8_t>(planeSize), std::vector<std::uint8_t>(planeSize),
                                           std::vector<std::uint8_t>(planeSize)};

    // Horizontal pass: each row into the three planes (index 0 red, 1 green, 2 blue).
    const int wm = w - 1;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = Bitmap.Row(y);
        std::uint32_t sum[3], inSum[3], outSum[3];
        for (int c = 0; c < 3; ++c) {
            const int shift = 16 - 8 * c;
            InitialSums(
                w, r, [&](int i) { return (row[i] >> shift) & 0xFF; }, sum[c], inSum[c], outSum[c]);
        }
        std::uint8_t* out[3] = {planes[0].data() + std::size_t(y) * w, planes[1].data() + std::size_t(y) * w,
                                planes[2].data() + std::size_t(y) * w};
        for (int x = 0; x < w; ++x) {
            const std::uint32_t leaving = row[std::max(x - r, 0)];
            const std::uint32_t entering = row[std::min(x + r + 1, wm)];
            const std::uint32_t centre = row[std::min(x + 1, wm)];
            for (int c = 0; c < 3; ++c) {
                const int shift = 16 - 8 * c;
                out[c][x] = std::uint8_t(divide(sum[c]));
                sum[c] -= outSum[c];
                outSum[c] -= (leaving >> shift) & 0xFF;
                inSum[c] += (entering >> shift) & 0xFF;
                sum[c] += inSum[c];
                const std::uint32_t v = (centre >> shift) & 0xFF;
                outSum[c] += v;
                inSum[c] -= v;
            }
        }
    }

    // Vertical pass: rows swept top to bottom, one set of running sums per column and channel.
    const int hm = h - 1;
    std::vector<std::uint32_t> state(std::size_t(w) * 9);
    std::uint32_t* sum[3] = {&state[0], &state[std::size_t(w)], &state[std::size_t(w) * 2]};
    std::uint32_t* inSum[3] = {&state[std::size_t(w) * 3], &state[std::size_t(w) * 4], &state[std::size_t(w) * 5]};
    std::uint32_t* outSum[3] = {&state[std::size_t(w) * 6], &state[std::size_t(w) * 7], &state[std::size_t(w) * 8]};
    for (int c = 0; c < 3; ++c) {
        const std::uint8_t* plane = planes[c].data();
        for (int x = 0; x < w; ++x)
            InitialSums(
                h, r, [&](int i) { return std::uint32_t(plane[std::size_t(i) * w + x]); }, sum[c][x], inSum[c][x],
                outSum[c][x]);
    }
    for (int y = 0; y < h; ++y) {
        std::uint32_t* dst = Bitmap.Row(y);
        for (int x = 0; x < w; ++x)
            dst[x] = 0xFF000000u | (divide(sum[0][x]) << 16) | (divide(sum[1][x]) << 8) | divide(sum[2][x]);
        const std::size_t leaving = std::size_t(std::max(y - r, 0)) * w;
        const std::size_t entering = std::size_t(std::min(y + r + 1, hm)) * w;
        const std::size_t centre = std::size_t(std::min(y + 1, hm)) * w;
        for (int c = 0; c < 3; ++c) {
            const std::uint8_t* plane = planes[c].data();
            StepColumns(sum[c], inSum[c], outSum[c], plane + leaving, plane + entering, plane + centre, w);
        }
    }
}

// ---- Alpha from a grey mask -----------------------------------------------------------------------------------------
void CreateAlphaByMask(const TPixelView& Bitmap, const TPixelView& Mask) {
    if (Bitmap.Empty() || Mask.Empty() || Mask.width < Bitmap.width || Mask.height < Bitmap.height)
        return;
    for (int y = 0; y < Bitmap.height; ++y) {
        std::uint32_t* row = Bitmap.Row(y);
        const std::uint32_t* mask = Mask.Row(y);
        for (int x = 0; x < Bitmap.width; ++x) {
            const std::uint32_t m = mask[x];
            const std::uint32_t alpha = (((m >> 16) & 0xFF) + ((m >> 8) & 0xFF) + (m & 0xFF)) / 3;
            row[x] = (row[x] & 0x00FFFFFF) | (alpha << 24);
        }
    }
}

void CreateAlphaByMask2(const TPixelView& Bitmap, const TPixelView& Mask) {
    if (Bitmap.Empty() || Mask.Empty() || Mask.width < Bitmap.width || Mask.height < Bitmap.height)
        return;
    CreateAlphaByMask(Bitmap, Mask);
    PremultiplyAlpha(Bitmap);
}

}  // namespace EffectPixels
