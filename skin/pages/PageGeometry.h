// The skinned page control's window-free arithmetic: the page area as a correction of the tab control's own answer,
// the tab rectangles it paints, the offset of a centred or shifted tab row, the tabs a single row cannot show and the
// place of the scroller that replaces the native one, and the page the wheel selects next.
// Index: TTabPosition, TTabStyle, TbsPageSkinOffsets, PageAreaOf, CorrectTabRect, TabRowOffset, HiddenTabCount,
// TabsScrolledOff, ScrollerTop, WheelTarget.
#pragma once

#include <vector>

#include "classlib/Types.h"

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };

// How far the skin's frame reaches into the page area: its client rectangle's distance from each side of the
// frame picture (all 0 without a skin).
struct TbsPageSkinOffsets {
    int L = 0, T = 0, R = 0, B = 0;
    static TbsPageSkinOffsets FromSkin(const TRect& SkinRect, const TRect& ClRect) {
        return {ClRect.Left, ClRect.Top, SkinRect.Width() - ClRect.Right, SkinRect.Height() - ClRect.Bottom};
    }
};

struct TbsPageAreaState {
    TTabPosition Position = tpTop;
    bool Skinned = false;
    TbsPageSkinOffsets Offsets;
    bool TabsHidden = false;    // HideTabs in force
    bool BorderHidden = false;  // HideBorder in force
};

// The pages' rectangle in a CW x CH client, from the tab control's display rectangle Native.
TRect PageAreaOf(const TRect& Native, const TbsPageAreaState& S, int CW, int CH);

// The rectangle a tab is painted in, from the tab control's item rectangle. RowOffset: the centred or shifted row's
// offset (top tabs only).
TRect CorrectTabRect(const TRect& Native, TTabPosition Position, TTabStyle Style, bool MultiLine, int RowOffset);

// How far a centred (TabsInCenter) or shifted (TabsOffset > 0) row starts right of the tab control's own row.
int TabRowOffset(int TabsOffset, int TabWidth, int ControlWidth, int VisibleTabs);

// The tabs of a single row that lie outside 0 .. Limit: ending right of Limit or at or left of 0.
int HiddenTabCount(const std::vector<TRect>& ItemRects, int Limit);
// The tabs scrolled off to the left (ending at or left of 0).
int TabsScrolledOff(const std::vector<TRect>& ItemRects);

// The scroller's top. PageArea: the pages' rectangle; SkinRect, ClRect: the skin frame's (Skinned only).
int ScrollerTop(TTabPosition Position, bool Skinned, const TRect& PageArea, const TRect& SkinRect,
                const TRect& ClRect, int ControlHeight, int ScrollerHeight);

// The page the wheel selects from Active among pages whose tabs are Visible: the next visible one (Down) or the
// previous one; -1 at either end or without an active page.
int WheelTarget(const std::vector<bool>& Visible, int Active, bool Down);
