// The pixel routine table of the skin bitmaps: fill, copy, copy skipping the transparent key, alpha blend, and their
// scaled forms between two bitmaps and into the memory of a bottom-up device-independent bitmap. Every caller goes
// through the table variables (PixelAlphaBlendFunc, LineAlphaBlendFunc, ...), filled once at start by SetupLowLevel, so
// that the choice between the plain and the MMX-style blend is made in one place. Pure code: no windows.h; the
// device-context routines are in PixelRoutinesDC.h.
//
// Routine families: Plain_* are the portable routines; Mmx_* compute the blend the way the processor's four 16-bit
// lanes do (each byte, alpha included, is floor((f*a + b*(256 - a)) / 256)), which differs from the plain blend by at
// most one in a colour channel. Both are written in C++; SSE2 and, where the processor has it, AVX2 are used
// where they give the same bytes.
#pragma once

#include <cstdint>

#include "classlib/Types.h"
#include "skin/core/PixelView.h"

// The pixel value of a pixel that is not drawn when a bitmap is drawn transparently, and the mask under which the copy
// routines compare it (red 127, green 0, blue 127, any alpha).
constexpr std::uint32_t kTransparentKey = 0x007F007F;
constexpr std::uint32_t kTransparentKeyRGB = 0x7F007F;

// ---- Table types ----------------------------------------------------------------------------------------------------
using TPixelAlphaBlendFunc = std::uint32_t (*)(std::uint32_t F, std::uint32_t B);
// Src over Dst, Count pixels; also the key copy (LineTransparentFunc) and the move (MoveLongwordFunc).
using TLineFunc = void (*)(const std::uint32_t* Src, std::uint32_t* Dst, int Count);
using TFillLongwordFunc = void (*)(std::uint32_t* X, int Count, std::uint32_t Value);
using TFillLongwordRectFunc =
    void (*)(std::uint32_t* X, int W, int H, int X1, int Y1, int X2, int Y2, std::uint32_t Value);
using TFillAlphaFunc = void (*)(std::uint32_t* X, int Count, std::uint8_t Alpha);
using TFillAlphaRectFunc = void (*)(std::uint32_t* X, int W, int H, int X1, int Y1, int X2, int Y2, std::uint8_t Alpha);
using TClearAlphaFunc = void (*)(std::uint32_t* X, int Count, std::uint32_t Color);
using TBltFunc = void (*)(const TPixelView& Dst, const TRect& DstRect, const TPixelView& Src, int SrcX, int SrcY);
using TStretchFunc = void (*)(const TPixelView& Dst,
                              const TRect& DstRect,
                              const TRect& DstClip,
                              const TPixelView& Src,
                              const TRect& SrcRect);
using TStretchToDibFunc = void (*)(std::uint32_t* Bits,
                                   const TRect& DstRect,
                                   const TRect& DstClip,
                                   int BitsW,
                                   int BitsH,
                                   const TPixelView& Src,
                                   const TRect& SrcRect);

// ---- The table (process-wide; written by SetupLowLevel, read-only afterwards) ---------------------------------------
extern TPixelAlphaBlendFunc PixelAlphaBlendFunc;
extern TLineFunc LineAlphaBlendFunc;
extern TLineFunc LineTransparentFunc;
extern TLineFunc MoveLongwordFunc;
extern TFillLongwordFunc FillLongwordFunc;
extern TFillLongwordRectFunc FillLongwordRectFunc;
extern TFillAlphaFunc FillAlphaFunc;
extern TFillAlphaRectFunc FillAlphaRectFunc;
extern TClearAlphaFunc ClearAlphaFunc;
extern TBltFunc BltOpaqueFunc;
extern TBltFunc BltTransparentFunc;
extern TBltFunc BltAlphaBlendFunc;
extern TStretchFunc StretchOpaqueFunc;
extern TStretchFunc StretchTransparentFunc;
extern TStretchFunc StretchAlphaBlendFunc;
extern TStretchToDibFunc StretchToDibOpaqueFunc;
extern TStretchToDibFunc StretchToDibTransparentFunc;
extern TStretchToDibFunc StretchToDibAlphaBlendFunc;

// ---- Processor detection --------------------------------------------------------------------------------------------
// The processor lets bit 21 of the flags register be toggled (always so on x86-64; false off x86).
bool CPUID_Available();
// EAX and EDX of CPUID leaf 1 (0 without CPUID).
std::uint32_t CPU_Signature();
std::uint32_t CPU_Features();
// CPUID available, family (bits 8-11 of the signature) at least 5 and feature bit 23 set.
bool HasMMX();

// Fills the block, key and blend entries: the Mmx_ blends when Mmx is true, else the plain ones. Runs once at program
// start with HasMMX(); tests call it to reach both variants and restore it afterwards.
void SetupLowLevel(bool Mmx);
// Whether the table currently holds the MMX-style blends.
bool IsMmxTable();

// Vector instructions the line blends use (the bytes are the same with each). Chosen at start as the widest the
// processor offers; SetSimdLevel lowers it (for tests and measurements) and returns what is now in use.
enum class TSimd { None, Sse2, Avx2 };
TSimd SimdLevel();
TSimd SetSimdLevel(TSimd Level);

// ---- Block routines (a count of zero or less does nothing) ----------------------------------------------------------
// Copies Count values; overlapping ranges are handled as a move.
void Plain_MoveLongword(const std::uint32_t* Src, std::uint32_t* Dst, int Count);
void Plain_FillLongword(std::uint32_t* X, int Count, std::uint32_t Value);
// Columns X1..X2 and rows Y1..Y2 (inclusive) of a pixel array of row length W; H is not needed.
void Plain_FillLongwordRect(std::uint32_t* X, int W, int H, int X1, int Y1, int X2, int Y2, std::uint32_t Value);
void Plain_FillAlpha(std::uint32_t* X, int Count, std::uint8_t Alpha);
void Plain_FillAlphaRect(std::uint32_t* X, int W, int H, int X1, int Y1, int X2, int Y2, std::uint8_t Alpha);
// Alpha 0 in every pixel whose colour (low 24 bits) equals that of Color.
void Plain_ClearAlpha(std::uint32_t* X, int Count, std::uint32_t Color);
// Src with alpha 255 where its colour is not the transparent key; keyed pixels leave Dst unchanged.
void Plain_LineTransparent(const std::uint32_t* Src, std::uint32_t* Dst, int Count);

// ---- Blends ---------------------------------------------------------------------------------------------------------
// F over B. Plain: each colour floor((f*a + b*(255 - a)) / 256), result opaque; a = 255 gives F, a = 0 gives B.
std::uint32_t Plain_PixelAlphaBlend(std::uint32_t F, std::uint32_t B);
// F over B in four 16-bit lanes: every byte floor((f*a + b*(256 - a)) / 256), without shortcuts.
std::uint32_t Mmx_PixelAlphaBlend(std::uint32_t F, std::uint32_t B);
// Src over Dst: alpha 0 leaves Dst, alpha 255 copies Src, any other alpha stores the blend.
void Plain_LineAlphaBlend(const std::uint32_t* Src, std::uint32_t* Dst, int Count);
void Mmx_LineAlphaBlend(const std::uint32_t* Src, std::uint32_t* Dst, int Count);

// ---- Bitmap to bitmap -----------------------------------------------------------------------------------------------
// DstRect of Dst receives the same-sized area of Src whose top-left is (SrcX, SrcY): moved, copied skipping the key, or
// blended. The area is clipped to both bitmaps.
void Plain_BltOpaque(const TPixelView& Dst, const TRect& DstRect, const TPixelView& Src, int SrcX, int SrcY);
void Plain_BltTransparent(const TPixelView& Dst, const TRect& DstRect, const TPixelView& Src, int SrcX, int SrcY);
void Plain_BltAlphaBlend(const TPixelView& Dst, const TRect& DstRect, const TPixelView& Src, int SrcX, int SrcY);

// SrcRect of Src scaled into DstRect of Dst, only inside DstClip; nearest neighbour, positions truncated. Nothing when
// SrcRect is empty or reaches outside Src.
void Plain_StretchOpaque(const TPixelView& Dst,
                         const TRect& DstRect,
                         const TRect& DstClip,
                         const TPixelView& Src,
                         const TRect& SrcRect);
void Plain_StretchTransparent(const TPixelView& Dst,
                              const TRect& DstRect,
                              const TRect& DstClip,
                              const TPixelView& Src,
                              const TRect& SrcRect);
void Plain_StretchAlphaBlend(const TPixelView& Dst,
                             const TRect& DstRect,
                             const TRect& DstClip,
                             const TPixelView& Src,
                             const TRect& SrcRect);

// ---- Bitmap to the memory of a bottom-up 32-bit DIB (image row y is memory row BitsH - 1 - y) -----------------------
// SrcRect of Src, unscaled, with its top-left at (DstX, DstY); clipped to both.
void Plain_BltToDibOpaque(std::uint32_t* Bits,
                          int BitsW,
                          int BitsH,
                          int DstX,
                          int DstY,
                          const TPixelView& Src,
                          const TRect& SrcRect);
void Plain_BltToDibTransparent(std::uint32_t* Bits,
                               int BitsW,
                               int BitsH,
                               int DstX,
                               int DstY,
                               const TPixelView& Src,
                               const TRect& SrcRect);
void Plain_BltToDibAlphaBlend(std::uint32_t* Bits,
                              int BitsW,
                              int BitsH,
                              int DstX,
                              int DstY,
                              const TPixelView& Src,
                              const TRect& SrcRect);
// As the bitmap-to-bitmap stretch, into that memory, with the sample positions rounded (ties to even).
void Plain_StretchToDibOpaque(std::uint32_t* Bits,
                              const TRect& DstRect,
                              const TRect& DstClip,
                              int BitsW,
                              int BitsH,
                              const TPixelView& Src,
                              const TRect& SrcRect);
void Plain_StretchToDibTransparent(std::uint32_t* Bits,
                                   const TRect& DstRect,
                                   const TRect& DstClip,
                                   int BitsW,
                                   int BitsH,
                                   const TPixelView& Src,
                                   const TRect& SrcRect);
void Plain_StretchToDibAlphaBlend(std::uint32_t* Bits,
                                  const TRect& DstRect,
                                  const TRect& DstClip,
                                  int BitsW,
                                  int BitsH,
                                  const TPixelView& Src,
                                  const TRect& SrcRect);
