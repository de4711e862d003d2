// The pixel routine table and the routines behind it (see PixelRoutines.h). The blends are written twice: a scalar form
// that states the arithmetic, and an SSE2 form for four pixels at a time that yields the same bytes (16-bit lanes,
// wrapping multiply and add, logical shift, unsigned saturation).
#include "skin/core/PixelRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif
#if defined(__SSE2__) || defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

// ---- The table: valid from the first instruction (constant-initialised with -----------------------------------------
// the plain routines) ----------------
TPixelAlphaBlendFunc PixelAlphaBlendFunc = Plain_PixelAlphaBlend;
TLineFunc LineAlphaBlendFunc = Plain_LineAlphaBlend;
TLineFunc LineTransparentFunc = Plain_LineTransparent;
TLineFunc MoveLongwordFunc = Plain_MoveLongword;
TFillLongwordFunc FillLongwordFunc = Plain_FillLongword;
TFillLongwordRectFunc FillLongwordRectFunc = Plain_FillLongwordRect;
TFillAlphaFunc FillAlphaFunc = Plain_FillAlpha;
TFillAlphaRectFunc FillAlphaRectFunc = Plain_FillAlphaRect;
TClearAlphaFunc ClearAlphaFunc = Plain_ClearAlpha;
TBltFunc BltOpaqueFunc = Plain_BltOpaque;
TBltFunc BltTransparentFunc = Plain_BltTransparent;
TBltFunc BltAlphaBlendFunc = Plain_BltAlphaBlend;
TStretchFunc StretchOpaqueFunc = Plain_StretchOpaque;
TStretchFunc StretchTransparentFunc = Plain_StretchTransparent;
TStretchFunc StretchAlphaBlendFunc = Plain_StretchAlphaBlend;
TStretchToDibFunc StretchToDibOpaqueFunc = Plain_StretchToDibOpaque;
TStretchToDibFunc StretchToDibTransparentFunc = Plain_StretchToDibTransparent;
TStretchToDibFunc StretchToDibAlphaBlendFunc = Plain_StretchToDibAlphaBlend;

namespace {

bool gMmxTable = false;

// The widest vector instructions the line blends may use; chosen once at start from the processor.
TSimd gSimd = TSimd::None;

TSimd DetectSimd() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return TSimd::Avx2;
#endif
#if defined(__SSE2__)
    return TSimd::Sse2;
#else
    return TSimd::None;
#endif
}

}  // namespace

TSimd SimdLevel() {
    return gSimd;
}

TSimd SetSimdLevel(TSimd Level) {
    const TSimd best = DetectSimd();
    gSimd = Level < best ? Level : best;
    return gSimd;
}

// ---- Processor detection --------------------------------------------------------------------------------------------
bool CPUID_Available() {
#if defined(__x86_64__)
    return true;
#elif defined(__i386__)
    // __get_cpuid_max performs the flags-register bit 21 test on 32-bit processors.
    return __get_cpuid_max(0, nullptr) != 0;
#else
    return false;
#endif
}

namespace {

void Cpuid1(std::uint32_t& eax, std::uint32_t& edx) {
    eax = edx = 0;
#if defined(__i386__) || defined(__x86_64__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (CPUID_Available() && __get_cpuid(1, &a, &b, &c, &d)) {
        eax = a;
        edx = d;
    }
#endif
}

}  // namespace

std::uint32_t CPU_Signature() {
    std::uint32_t eax, edx;
    Cpuid1(eax, edx);
    return eax;
}

std::uint32_t CPU_Features() {
    std::uint32_t eax, edx;
    Cpuid1(eax, edx);
    return edx;
}

bool HasMMX() {
    if (!CPUID_Available())
        return false;
    return ((CPU_Signature() >> 8) & 0xF) >= 5 && (CPU_Features() & (1u << 23)) != 0;
}

void SetupLowLevel(bool Mmx) {
    gMmxTable = Mmx;
    PixelAlphaBlendFunc = Mmx ? Mmx_PixelAlphaBlend : Plain_PixelAlphaBlend;
    LineAlphaBlendFunc = Mmx ? Mmx_LineAlphaBlend : Plain_LineAlphaBlend;
    LineTransparentFunc = Plain_LineTransparent;
    MoveLongwordFunc = Plain_MoveLongword;
    FillLongwordFunc = Plain_FillLongword;
    FillLongwordRectFunc = Plain_FillLongwordRect;
    FillAlphaFunc = Plain_FillAlpha;
    FillAlphaRectFunc = Plain_FillAlphaRect;
    ClearAlphaFunc = Plain_ClearAlpha;
    BltOpaqueFunc = Plain_BltOpaque;
    BltTransparentFunc = Plain_BltTransparent;
    BltAlphaBlendFunc = Plain_BltAlphaBlend;
    StretchOpaqueFunc = Plain_StretchOpaque;
    StretchTransparentFunc = Plain_StretchTransparent;
    StretchAlphaBlendFunc = Plain_StretchAlphaBlend;
    StretchToDibOpaqueFunc = Plain_StretchToDibOpaque;
    StretchToDibTransparentFunc = Plain_StretchToDibTransparent;
    StretchToDibAlphaBlendFunc = Plain_StretchToDibAlphaBlend;
}

bool IsMmxTable() {
    return gMmxTable;
}

namespace {

// The table is chosen before main() and before any window exists.
const bool gTableReady = (SetSimdLevel(TSimd::Avx2), SetupLowLevel(HasMMX()), true);

}  // namespace

// ---- Block routines -------------------------------------------------------------------------------------------------
void Plain_MoveLongword(const std::uint32_t* Src, std::uint32_t* Dst, int Count) {
    if (Count <= 0 || Src == Dst)
        return;
    std::memmove(Dst, Src, std::size_t(Count) * sizeof(std::uint32_t));
}

void Plain_FillLongword(std::uint32_t* X, int Count, std::uint32_t Value) {
    for (int i = 0; i < Count; ++i)
        X[i] = Value;
}

void Plain_FillLongwordRect(std::uint32_t* X, int W, int, int X1, int Y1, int X2, int Y2, std::uint32_t Value) {
    if (X2 < X1 || Y2 < Y1)
        return;
    for (int y = Y1; y <= Y2; ++y)
        Plain_FillLongword(X + std::ptrdiff_t(y) * W + X1, X2 - X1 + 1, Value);
}

void Plain_FillAlpha(std::uint32_t* X, int Count, std::uint8_t Alpha) {
    const std::uint32_t a = std::uint32_t(Alpha) << 24;
    for (int i = 0; i < Count; ++i)
        X[i] = (X[i] & 0x00FFFFFF) | a;
}

void Plain_FillAlphaRect(std::uint32_t* X, int W, int, int X1, int Y1, int X2, int Y2, std::uint8_t Alpha) {
    if (X2 < X1 || Y2 < Y1)
        return;
    for (int y = Y1; y <= Y2; ++y)
        Plain_FillAlpha(X + std::ptrdiff_t(y) * W + X1, X2 - X1 + 1, Alpha);
}

void Plain_ClearAlpha(std::uint32_t* X, int Count, std::uint32_t Color) {
    const std::uint32_t rgb = Color & 0x00FFFFFF;
    for (int i = 0; i < Count; ++i)
        if ((X[i] & 0x00FFFFFF) == rgb)
            X[i] &= 0x00FFFFFF;
}

void Plain_LineTransparent(const std::uint32_t* Src, std::uint32_t* Dst, int Count) {
    for (int i = 0; i < Count; ++i) {
        const std::uint32_t s = Src[i];
        if ((s & 0x00FFFFFF) != kTransparentKeyRGB)
            Dst[i] = s | 0xFF000000;
    }
}

// ---- Blends ---------------------------------------------------------------------------------------------------------
std::uint32_t Plain_PixelAlphaBlend(std::uint32_t F, std::uint32_t B) {
    const std::uint32_t a = F >> 24;
    if (a == 255)
        return F;
    if (a == 0)
        return B;
    // Red and blue share one register: each product stays below 2^16, so the two fields never carry into each other.
    const std::uint32_t rb = (((F & 0xFF00FF) * a + (B & 0xFF00FF) * (a ^ 0xFF)) & 0xFF00FF00) >> 8;
    const std::uint32_t g = (((F & 0xFF00) >> 8) * a + ((B & 0xFF00) >> 8) * (255 - a)) & 0xFF00;
    return rb | g | 0xFF000000;
}

namespace {

// One 16-bit lane of the MMX blend: ((b shl 8) + (f - b) * a) shr 8, wrapping at 16 bits.
inline std::uint32_t MmxLane(std::uint32_t f, std::uint32_t b, std::uint32_t a) {
    const std::uint16_t t = std::uint16_t((b << 8) + std::uint16_t((f - b) * a));
    return std::uint32_t(t >> 8);
}

}  // namespace

std::uint32_t Mmx_PixelAlphaBlend(std::uint32_t F, std::uint32_t B) {
    const std::uint32_t a = F >> 24;
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8)
        result |= MmxLane((F >> shift) & 0xFF, (B >> shift) & 0xFF, a) << shift;
    return result;
}

namespace {

#if defined(__SSE2__)
// Alpha of four pixels, each repeated into the four 16-bit lanes of its pixel: (lo) pixels 0 and 1, (hi) 2 and 3.
inline void AlphaLanes(__m128i alpha32, __m128i& lo, __m128i& hi) {
    const __m128i pair = _mm_or_si128(alpha32, _mm_slli_epi32(alpha32, 16));
    lo = _mm_unpacklo_epi32(pair, pair);
    hi = _mm_unpackhi_epi32(pair, pair);
}

// Plain: each colour (b * 255 + (f - b) * a) >> 8 = floor((f * a + b * (255 - a)) / 256); the sum stays below 2^16, so
// wrapping 16-bit arithmetic gives it exactly. Alpha is forced to 255 by the caller.
inline __m128i PlainHalf(__m128i f, __m128i b, __m128i a) {
    const __m128i b255 = _mm_sub_epi16(_mm_slli_epi16(b, 8), b);
    return _mm_srli_epi16(_mm_add_epi16(b255, _mm_mullo_epi16(_mm_sub_epi16(f, b), a)), 8);
}

// MMX: every byte ((b shl 8) + (f - b) * a) shr 8 in wrapping 16-bit lanes.
inline __m128i MmxHalf(__m128i f, __m128i b, __m128i a) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(b, 8), _mm_mullo_epi16(_mm_sub_epi16(f, b), a)), 8);
}

// Four pixels at a time; pixels of alpha 255 copy the source and pixels of alpha 0 keep the destination.
template <bool Mmx>
int LineBlendSse2(const std::uint32_t* Src, std::uint32_t* Dst, int Count) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i c255 = _mm_set1_epi32(255);
    const __m128i one = _mm_set1_epi32(1);
    const __m128i opaqueAlpha = _mm_set1_epi32(int(0xFF000000));
    int i = 0;
    for (; i + 4 <= Count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
        __m128i alpha = _mm_srli_epi32(s, 24);
        __m128i r;
        if constexpr (Mmx) {
            // With 256 in place of 255 the lane formula yields the source exactly, and alpha 0 yields the destination:
            // the line's two shortcuts come out of the arithmetic itself.
            alpha = _mm_add_epi32(alpha, _mm_srli_epi32(_mm_add_epi32(alpha, one), 8));
            __m128i alo, ahi;
            AlphaLanes(alpha, alo, ahi);
            r = _mm_packus_epi16(MmxHalf(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), alo),
                                 MmxHalf(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), ahi));
        } else {
            const __m128i opaque = _mm_cmpeq_epi32(alpha, c255);
            const __m128i clear = _mm_cmpeq_epi32(alpha, zero);
            __m128i alo, ahi;
            AlphaLanes(alpha, alo, ahi);
            r = _mm_packus_epi16(PlainHalf(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), alo),
                                 PlainHalf(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), ahi));
            r = _mm_or_si128(r, opaqueAlpha);
            r = _mm_or_si128(_mm_and_si128(opaque, s), _mm_andnot_si128(opaque, r));
            r = _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, r));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), r);
    }
    return i;
}
#endif

#if defined(__x86_64__) || defined(__i386__)
#define TRELM_PIXEL_AVX2 1
// The same arithmetic as the SSE2 kernel on eight pixels; unpacking and packing work within each 128-bit half, so the
// pixel order comes back unchanged.
template <bool Mmx>
__attribute__((target("avx2"))) int LineBlendAvx2(const std::uint32_t* Src, std::uint32_t* Dst, int Count) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i c255 = _mm256_set1_epi32(255);
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i opaqueAlpha = _mm256_set1_epi32(int(0xFF000000));
    int i = 0;
    for (; i + 8 <= Count; i += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Src + i));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Dst + i));
        __m256i alpha = _mm256_srli_epi32(s, 24);
        if constexpr (Mmx)
            alpha = _mm256_add_epi32(alpha, _mm256_srli_epi32(_mm256_add_epi32(alpha, one), 8));
        const __m256i pair = _mm256_or_si256(alpha, _mm256_slli_epi32(alpha, 16));
        const __m256i alo = _mm256_unpacklo_epi32(pair, pair);
        const __m256i ahi = _mm256_unpackhi_epi32(pair, pair);
        const __m256i flo = _mm256_unpacklo_epi8(s, zero), fhi = _mm256_unpackhi_epi8(s, zero);
        const __m256i blo = _mm256_unpacklo_epi8(d, zero), bhi = _mm256_unpackhi_epi8(d, zero);
        __m256i lo, hi;
        if constexpr (Mmx) {
            lo = _mm256_add_epi16(_mm256_slli_epi16(blo, 8), _mm256_mullo_epi16(_mm256_sub_epi16(flo, blo), alo));
            hi = _mm256_add_epi16(_mm256_slli_epi16(bhi, 8), _mm256_mullo_epi16(_mm256_sub_epi16(fhi, bhi), ahi));
        } else {
            lo = _mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(blo, 8), blo),
                                  _mm256_mullo_epi16(_mm256_sub_epi16(flo, blo), alo));
            hi = _mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(bhi, 8), bhi),
                                  _mm256_mullo_epi16(_mm256_sub_epi16(fhi, bhi), ahi));
        }
        __m256i r = _mm256_packus_epi16(_mm256_srli_epi16(lo, 8), _mm256_srli_epi16(hi, 8));
        if constexpr (!Mmx) {
            r = _mm256_or_si256(r, opaqueAlpha);
            r = _mm256_blendv_epi8(r, s, _mm256_cmpeq_epi32(alpha, c255));
            r = _mm256_blendv_epi8(r, d, _mm256_cmpeq_epi32(alpha, zero));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(Dst + i), r);
    }
    return i;
}
#endif

template <bool Mmx>
void LineBlend(const std::uint32_t* Src, std::uint32_t* Dst, int Count) {
    int i = 0;
#if defined(TRELM_PIXEL_AVX2)
    if (gSimd == TSimd::Avx2 && Count >= 8)
        i = LineBlendAvx2<Mmx>(Src, Dst, Count);
#endif
#if defined(__SSE2__)
    if (gSimd != TSimd::None && Count - i >= 4)
        i += LineBlendSse2<Mmx>(Src + i, Dst + i, Count - i);
#endif
    for (; i < Count; ++i) {
        const std::uint32_t s = Src[i];
        const std::uint32_t a = s >> 24;
        if (a == 0)
            continue;
        if (a == 255)
            Dst[i] = s;
        else
            Dst[i] = Mmx ? Mmx_PixelAlphaBlend(s, Dst[i]) : Plain_PixelAlphaBlend(s, Dst[i]);
    }
}

}  // namespace

void Plain_LineAlphaBlend(const std::uint32_t* Src, std::uint32_t* Dst, int Count) {
    LineBlend<false>(Src, Dst, Count);
}

void Mmx_LineAlphaBlend(const std::uint32_t* Src, std::uint32_t* Dst, int Count) {
    LineBlend<true>(Src, Dst, Count);
}

// ---- Unscaled copies ------------------------------------------------------------------------------------------------
namespace {

enum class TCopyKind { Opaque, Transparent, AlphaBlend };

template <TCopyKind Kind>
inline void CopyLine(const std::uint32_t* Src, std::uint32_t* Dst, int Count) {
    if constexpr (Kind == TCopyKind::Opaque)
        MoveLongwordFunc(Src, Dst, Count);
    else if constexpr (Kind == TCopyKind::Transparent)
        LineTransparentFunc(Src, Dst, Count);
    else
        LineAlphaBlendFunc(Src, Dst, Count);
}

// Dst's rectangle [dl, dr) x [dt, db) from the same-sized area of Src at (sx, sy), cut to what lies inside both
// bitmaps. In 64 bits: callers may hand rectangles far outside both bitmaps.
template <TCopyKind Kind>
void BltClipped(const TPixelView& Dst,
                long long dl,
                long long dt,
                long long dr,
                long long db,
                const TPixelView& Src,
                long long sx,
                long long sy) {
    if (Dst.Empty() || Src.Empty())
        return;
    auto cutLow = [](long long& d, long long& s, long long limitD, long long limitS) {
        const long long need = std::max(limitD - d, limitS - s);
        if (need > 0) {
            d += need;
            s += need;
        }
    };
    cutLow(dl, sx, 0, 0);
    cutLow(dt, sy, 0, 0);
    dr = std::min({dr, (long long)Dst.width, dl + (Src.width - sx)});
    db = std::min({db, (long long)Dst.height, dt + (Src.height - sy)});
    if (dr <= dl || db <= dt)
        return;
    const int w = int(dr - dl);
    for (long long y = dt; y < db; ++y)
        CopyLine<Kind>(Src.Row(int(sy + (y - dt))) + sx, Dst.Row(int(y)) + dl, w);
}

// DstRect of Dst from the same-sized area of Src at (SrcX, SrcY), cut to what lies inside both bitmaps.
template <TCopyKind Kind>
void BltImpl(const TPixelView& Dst, TRect DstRect, const TPixelView& Src, int SrcX, int SrcY) {
    BltClipped<Kind>(Dst, DstRect.Left, DstRect.Top, DstRect.Right, DstRect.Bottom, Src, SrcX, SrcY);
}

}  // namespace

void Plain_BltOpaque(const TPixelView& Dst, const TRect& DstRect, const TPixelView& Src, int SrcX, int SrcY) {
    BltImpl<TCopyKind::Opaque>(Dst, DstRect, Src, SrcX, SrcY);
}

void Plain_BltTransparent(const TPixelView& Dst, const TRect& DstRect, const TPixelView& Src, int SrcX, int SrcY) {
    BltImpl<TCopyKind::Transparent>(Dst, DstRect, Src, SrcX, SrcY);
}

void Plain_BltAlphaBlend(const TPixelView& Dst, const TRect& DstRect, const TPixelView& Src, int SrcX, int SrcY) {
    BltImpl<TCopyKind::AlphaBlend>(Dst, DstRect, Src, SrcX, SrcY);
}

namespace {

template <TCopyKind Kind>
void BltToDib(std::uint32_t* Bits,
              int BitsW,
              int BitsH,
              int DstX,
              int DstY,
              const TPixelView& Src,
              const TRect& SrcRect) {
    if (SrcRect.IsEmpty())
        return;
    const TPixelView dst = TPixelView::BottomUp(Bits, BitsW, BitsH);
    // Only the part of SrcRect inside Src is copied; its place in the DIB is worked out in 64 bits, since SrcRect
    // and the position may lie far outside both.
    const TRect inSrc = ClipRect(SrcRect, Src.BoundsRect());
    if (inSrc.IsEmpty())
        return;
    const long long dx = (long long)DstX + ((long long)inSrc.Left - SrcRect.Left);
    const long long dy = (long long)DstY + ((long long)inSrc.Top - SrcRect.Top);
    BltClipped<Kind>(dst, dx, dy, dx + inSrc.Width(), dy + inSrc.Height(), Src, inSrc.Left, inSrc.Top);
}

}  // namespace

void Plain_BltToDibOpaque(std::uint32_t* Bits,
                          int BitsW,
                          int BitsH,
                          int DstX,
                          int DstY,
                          const TPixelView& Src,
                          const TRect& SrcRect) {
    BltToDib<TCopyKind::Opaque>(Bits, BitsW, BitsH, DstX, DstY, Src, SrcRect);
}

void Plain_BltToDibTransparent(std::uint32_t* Bits,
                               int BitsW,
                               int BitsH,
                               int DstX,
                               int DstY,
                               const TPixelView& Src,
                               const TRect& SrcRect) {
    BltToDib<TCopyKind::Transparent>(Bits, BitsW, BitsH, DstX, DstY, Src, SrcRect);
}

void Plain_BltToDibAlphaBlend(std::uint32_t* Bits,
                              int BitsW,
                              int BitsH,
                              int DstX,
                              int DstY,
                              const TPixelView& Src,
                              const TRect& SrcRect) {
    BltToDib<TCopyKind::AlphaBlend>(Bits, BitsW, BitsH, DstX, DstY, Src, SrcRect);
}

// ---- Scaled copies --------------------------------------------------------------------------------------------------
namespace {

// Source column (or row) for destination position k of a scaled copy. The scale factor is held in single precision; the
// product is formed in extended precision, where it is exact.
inline int SamplePosition(int srcStart, long long k, float scale, bool rounded) {
    const long double v = (long double)srcStart + (long double)k * (long double)scale;
    return rounded ? int(std::llrint(v)) : int(v);  // the default rounding mode: nearest, ties to even
}

// Single-precision factor (n - 1) / (m - 1) of a scaled copy, from the exact quotient.
inline float ScaleFactor(long long srcSize, long long dstSize) {
    return float((long double)(srcSize - 1) / (long double)(dstSize - 1));
}

// Positions of clip positions [clipStart, clipEnd) of a destination span [dstStart, dstEnd) in a source span [srcStart,
// srcEnd). Kept inside the source span whatever the rounding.
void SamplePositions(std::vector<int>& out,
                     int clipStart,
                     int clipEnd,
                     int dstStart,
                     int dstEnd,
                     int srcStart,
                     int srcEnd,
                     bool rounded) {
    out.resize(std::size_t(clipEnd - clipStart));
    const long long dstSize = (long long)dstEnd - dstStart;
    const long long srcSize = (long long)srcEnd - srcStart;
    if (dstSize < 2) {
        const int only = (srcStart + srcEnd - 1) / 2;
        for (auto& v : out)
            v = only;
        return;
    }
    const float scale = ScaleFactor(srcSize, dstSize);
    for (int i = 0; i < clipEnd - clipStart; ++i) {
        int v = SamplePosition(srcStart, (long long)i + clipStart - dstStart, scale, rounded);
        out[std::size_t(i)] = std::clamp(v, srcStart, srcEnd - 1);
    }
}

template <TCopyKind Kind>
void StretchImpl(const TPixelView& Dst,
                 const TRect& DstRect,
                 const TRect& DstClip,
                 const TPixelView& Src,
                 const TRect& SrcRect,
                 bool rounded) {
    if (SrcRect.IsEmpty() || Dst.Empty() || Src.Empty())
        return;
    const TRect clip = ClipRect(ClipRect(DstClip, Dst.BoundsRect()), DstRect);
    if (clip.IsEmpty())
        return;
    if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Src.width || SrcRect.Bottom > Src.height)
        return;

    if ((long long)SrcRect.Right - SrcRect.Left == (long long)DstRect.Right - DstRect.Left &&
        (long long)SrcRect.Bottom - SrcRect.Top == (long long)DstRect.Bottom - DstRect.Top) {
        BltImpl<Kind>(Dst, clip, Src, SrcRect.Left + (clip.Left - DstRect.Left),
                      SrcRect.Top + (clip.Top - DstRect.Top));
        return;
    }

    thread_local std::vector<int> columns;
    thread_local std::vector<int> rows;
    thread_local std::vector<std::uint32_t> gathered;
    SamplePositions(columns, clip.Left, clip.Right, DstRect.Left, DstRect.Right, SrcRect.Left, SrcRect.Right, rounded);
    SamplePositions(rows, clip.Top, clip.Bottom, DstRect.Top, DstRect.Bottom, SrcRect.Top, SrcRect.Bottom, rounded);
    const int w = clip.Width();
    if constexpr (Kind != TCopyKind::Opaque)
        gathered.resize(std::size_t(w));

    int previous = -1;
    for (int r = 0; r < clip.Height(); ++r) {
        const int sy = rows[std::size_t(r)];
        std::uint32_t* d = Dst.Row(clip.Top + r) + clip.Left;
        if constexpr (Kind == TCopyKind::Opaque) {
            if (sy == previous) {
                MoveLongwordFunc(Dst.Row(clip.Top + r - 1) + clip.Left, d, w);
                continue;
            }
            const std::uint32_t* s = Src.Row(sy);
            for (int i = 0; i < w; ++i)
                d[i] = s[columns[std::size_t(i)]];
        } else {
            if (sy != previous) {
                const std::uint32_t* s = Src.Row(sy);
                for (int i = 0; i < w; ++i)
                    gathered[std::size_t(i)] = s[columns[std::size_t(i)]];
            }
            CopyLine<Kind>(gathered.data(), d, w);
        }
        previous = sy;
    }
}

}  // namespace

void Plain_StretchOpaque(const TPixelView& Dst,
                         const TRect& DstRect,
                         const TRect& DstClip,
                         const TPixelView& Src,
                         const TRect& SrcRect) {
    StretchImpl<TCopyKind::Opaque>(Dst, DstRect, DstClip, Src, SrcRect, false);
}

void Plain_StretchTransparent(const TPixelView& Dst,
                              const TRect& DstRect,
                              const TRect& DstClip,
                              const TPixelView& Src,
                              const TRect& SrcRect) {
    StretchImpl<TCopyKind::Transparent>(Dst, DstRect, DstClip, Src, SrcRect, false);
}

void Plain_StretchAlphaBlend(const TPixelView& Dst,
                             const TRect& DstRect,
                             const TRect& DstClip,
                             const TPixelView& Src,
                             const TRect& SrcRect) {
    StretchImpl<TCopyKind::AlphaBlend>(Dst, DstRect, DstClip, Src, SrcRect, false);
}

void Plain_StretchToDibOpaque(std::uint32_t* Bits,
                              const TRect& DstRect,
                              const TRect& DstClip,
                              int BitsW,
                              int BitsH,
                              const TPixelView& Src,
                              const TRect& SrcRect) {
    StretchImpl<TCopyKind::Opaque>(TPixelView::BottomUp(Bits, BitsW, BitsH), DstRect, DstClip, Src, SrcRect, true);
}

void Plain_StretchToDibTransparent(std::uint32_t* Bits,
                                   const TRect& DstRect,
                                   const TRect& DstClip,
                                   int BitsW,
                                   int BitsH,
                                   const TPixelView& Src,
                                   const TRect& SrcRect) {
    StretchImpl<TCopyKind::Transparent>(TPixelView::BottomUp(Bits, BitsW, BitsH), DstRect, DstClip, Src, SrcRect, true);
}

void Plain_StretchToDibAlphaBlend(std::uint32_t* Bits,
                                  const TRect& DstRect,
                                  const TRect& DstClip,
                                  int BitsW,
                                  int BitsH,
                                  const TPixelView& Src,
                                  const TRect& SrcRect) {
    StretchImpl<TCopyKind::AlphaBlend>(TPixelView::BottomUp(Bits, BitsW, BitsH), DstRect, DstClip, Src, SrcRect, true);
}
