// The main menu bar's arithmetic as data: where each entry lies and which entries are hidden for lack of room,
// where the MDI buttons go, and the order of a parent menu merged with a child menu by group index.
//
// Index: TbsMenuBarEntryInput, LayoutMenuBarEntries, TbsMenuBarButtonsLayout, LayoutMDIButtons, MergeByGroupIndex.
// No windows.h here.
#pragma once

#include <vector>

#include "classlib/Types.h"

struct TbsMenuBarEntryInput {
    int Width = 0;   // the entry's full width
    int Height = 0;  // 0: down to the entry area's bottom
};

struct TbsMenuBarEntryPlace {
    TRect Rect;
    bool Shown = true;  // false: it would pass the limit; hidden and disabled
};

// Entries laid out from Area.Left one after another; the limit is Area.Right, 5 less with a scroll marker.
// Scroll becomes true when some entry is hidden.
std::vector<TbsMenuBarEntryPlace> LayoutMenuBarEntries(const TRect& Area,
                                                       const std::vector<TbsMenuBarEntryInput>& Entries,
                                                       bool ScrollMenu,
                                                       bool& Scroll);

// The four MDI buttons in list order (system menu, close, maximise, minimise) with their widths (0: a square as high
// as the area): the system-menu button at the left end, the rest from the right end leftwards, 2 pixels apart. The
// area gives up their room.
struct TbsMenuBarButtonsLayout {
    TRect Rects[4];
    TRect Area;
};
TbsMenuBarButtonsLayout LayoutMDIButtons(const TRect& Area, const int Widths[4], const int Heights[4]);

// A parent's and a child's top-level group indexes merged: the parent's items whose group index the child does not
// use, then all of the child's, sorted by group index (stable: equal indexes keep that order). Each result is
// (from child, index in its menu).
struct TbsMergedItem {
    bool FromChild;
    int Index;
};
std::vector<TbsMergedItem> MergeByGroupIndex(const std::vector<int>& Parent, const std::vector<int>& Child);
