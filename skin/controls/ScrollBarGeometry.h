// The scroll bar's arithmetic without a window: the position rule of the value model, the parts' rectangles and the
// thumb for a size (CalcRects), the value a thumb drag points at (CalcValue) and the part under a point. Pure, no
// windows.h.
// Index: TbsScrollValues, ScrollUpperBound, ClampScrollPosition, TbsScrollSkinParts, TbsScrollLayout, CalcScrollRects,
// CalcScrollValue, ScrollHitTest.
#pragma once

#include <array>

#include "classlib/Types.h"

struct TbsScrollValues {
    int Min = 0;
    int Max = 100;
    int Position = 0;
    int PageSize = 0;
};

// The highest position: Max, or Max - PageSize + 1 with a page; never below Min (a page larger than the range keeps
// the position at Min).
int ScrollUpperBound(int Min, int Max, int PageSize);
// A value below Min becomes Min, above the upper bound the upper bound.
int ClampScrollPosition(int Value, int Min, int Max, int PageSize);

// What the layout reads of a scroll-bar skin entry (rectangles in picture coordinates, points relative to SkinRect).
struct TbsScrollSkinParts {
    TRect SkinRect;
    TPoint RTPt, LBPt;
    TRect TrackArea, UpButtonRect, DownButtonRect, ThumbRect;
    int ThumbMinSize = 0;
    int ThumbMinPageSize = 0;
};

enum { sbThumb = 0, sbUpButton = 1, sbDownButton = 2 };

struct TbsScrollLayout {
    // Index 0 the thumb, 1 the up button (towards Max, right or bottom), 2 the down button; empty: no such part.
    std::array<TRect, 3> Buttons{};
    TRect NewTrackArea;
    int Offset1 = 0, Offset2 = 0, BOffset = 0;
    int ThumbLength = 0;
};

// The layout of a W x H bar (horizontal unless Vertical). Skin: the skin look with Parts, else the built-in look (Both
// and BothMarkerWidth only narrow a horizontal built-in bar).
TbsScrollLayout CalcScrollRects(bool Vertical,
                                int W,
                                int H,
                                const TbsScrollValues& V,
                                bool Both,
                                int BothMarkerWidth,
                                const TbsScrollSkinParts* Skin);

// The value a thumb dragged by P pixels along the bar points at (P counted from the thumb's offset at Min when the
// page is 0, from the press otherwise, with OldBOffset the thumb's offset at the press).
int CalcScrollValue(const TbsScrollLayout& L, bool Vertical, const TbsScrollValues& V, int P, int OldBOffset);

// The first non-empty part (0, 1, 2) that contains the point, -1 for none; while Captured (not -1) is held, another
// part does not count.
int ScrollHitTest(const TbsScrollLayout& L, TPoint Pt, int Captured);
