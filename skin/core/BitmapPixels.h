// Whole-bitmap pixel work of the 32-bit skin bitmap (TbsBitmap), over a TPixelView so that it can be tested and
// measured without a window: flags from content, premultiplication, colour adjustments, flips and reflections, merging
// behind, filling, and the tile walk shared by every Tile overload. Pure code: no windows.h. Every routine accepts an
// empty view and then does nothing.
#pragma once

#include <algorithm>
#include <cstdint>

#include "classlib/Types.h"
#include "skin/core/PixelView.h"

// Some pixel has an alpha strictly between 0 and 255.
bool HasPartialAlpha(const TPixelView& View);

// Replaces every pixel whose red, green and blue each differ by less than 6 from those of Color (0x00RRGGBB) with the
// transparent key; true when at least one pixel was replaced.
bool KeyOutNearColor(const TPixelView& View, std::uint32_t Color);

// Every colour byte greater than its pixel's alpha is lowered to the alpha.
void ClampColorsToAlpha(const TPixelView& View);
// Every colour byte c becomes Round(alpha * c / 255).
void PremultiplyAlpha(const TPixelView& View);

// Adjust(pixel, Arg) for every pixel whose alpha is not 0; the pixel keeps its alpha.
using TColorAdjust = std::uint32_t (*)(std::uint32_t Color, int Arg);
void AdjustColors(const TPixelView& View, TColorAdjust Adjust, int Arg);

// Mirrors the rows.
void FlipRows(const TPixelView& View);
// FlipRows, then the alpha a of row y (when not 0) becomes max(0, Round(f * a) div Divisor), f running from 1 at the
// top down by 2 / height per row.
void FadeReflection(const TPixelView& View, int Divisor);

// Sets the alpha byte of every pixel of R (clipped to the view).
void SetAlphaInRect(const TPixelView& View, std::uint8_t Alpha, const TRect& R);

// R (clipped) filled with Color, or, when Blend, a row of Color blended onto each row of R.
void FillPixels(const TPixelView& View, const TRect& R, std::uint32_t Color, bool Blend);

// SrcRect of Src put behind the pixels of Dst with its top-left at (X, Y): where Dst's alpha is 0 the source pixel is
// taken, where it is 255 Dst stays, elsewhere Dst is blended over the source pixel.
void MergeBehind(const TPixelView& Dst, const TPixelView& Src, int X, int Y, TRect SrcRect);

// Walks the tiles that cover DstRect with copies of SrcRect (unscaled): columns left to right, rows top to bottom
// within a column; a tile cut by DstRect's right or bottom edge takes the top-left part of SrcRect. With a non-empty
// DstClip only tiles that intersect it are drawn (the tile itself is not cut by it). Tiles outside Visible (when not
// empty) are skipped, since they would draw nothing. Draw(const TRect& Tile, const TRect& Source) is called for each
// tile.
template <typename DrawTile>
void ForEachTile(const TRect& DstRect,
                 const TRect& DstClip,
                 const TRect& SrcRect,
                 const TRect& Visible,
                 DrawTile&& Draw) {
    // In 64 bits throughout: the rectangles may lie anywhere in the int range, and a tile edge one step past
    // DstRect must not wrap round into it.
    const long long w = (long long)SrcRect.Right - SrcRect.Left;
    const long long h = (long long)SrcRect.Bottom - SrcRect.Top;
    if (w <= 0 || h <= 0)
        return;
    const long long dw = (long long)DstRect.Right - DstRect.Left;
    const long long dh = (long long)DstRect.Bottom - DstRect.Top;
    if (dw <= 0 || dh <= 0)
        return;
    long long firstColumn = 0, lastColumn = (dw - 1) / w, firstRow = 0, lastRow = (dh - 1) / h;
    // Only columns and rows that reach into Visible and DstClip can matter (the rest would be skipped one by one).
    for (const TRect* limit : {&Visible, &DstClip}) {
        if (limit->IsEmpty())
            continue;
        firstColumn = std::max(firstColumn, ((long long)limit->Left - DstRect.Left) / w);
        lastColumn = std::min(lastColumn, ((long long)limit->Right - 1 - DstRect.Left) / w);
        firstRow = std::max(firstRow, ((long long)limit->Top - DstRect.Top) / h);
        lastRow = std::min(lastRow, ((long long)limit->Bottom - 1 - DstRect.Top) / h);
    }
    for (long long i = firstColumn; i <= lastColumn; ++i) {
        for (long long j = firstRow; j <= lastRow; ++j) {
            const long long left = DstRect.Left + i * w, top = DstRect.Top + j * h;
            const long long right = std::min<long long>(left + w, DstRect.Right);
            const long long bottom = std::min<long long>(top + h, DstRect.Bottom);
            const TRect tile{int(left), int(top), int(right), int(bottom)};  // inside DstRect: fits
            if (!DstClip.IsEmpty() && ClipRect(DstClip, tile).IsEmpty())
                continue;
            if (right - left == w && bottom - top == h)
                Draw(tile, SrcRect);
            else
                Draw(tile, TRect{SrcRect.Left, SrcRect.Top, int(SrcRect.Left + (right - left)),
                                 int(SrcRect.Top + (bottom - top))});
        }
    }
}
