// Window-free arithmetic of the MDI tab bar: where the tabs, the hidden ones and the add button lie for a bar size,
// and where a dragged tab drops. Rectangles are in bar coordinates.
//
// Index: TbsMDITabsLayoutInput, TbsMDITabsLayout, LayoutMDITabs, MDITabDropIndex.
#pragma once

#include <vector>

#include "classlib/Types.h"

struct TbsMDITabsLayoutInput {
    int Count = 0;              // tabs
    int Width = 0, Height = 0;  // the bar
    int BottomOffset = 0;       // the strip under tab-style tabs (taken from the tab height)
    bool AddButton = false;
    int DefaultTabWidth = 100;
    int MinTabWidth = 0;  // 0: tabs never hide
    int DragIndex = -1;   // the tab being dragged, moved by TabDX
    int TabDX = 0;
};

struct TbsMDITabsLayout {
    std::vector<TRect> Tabs;    // empty rectangle for a hidden tab
    std::vector<bool> Visible;  // laid out within the bar
    int InVisibleCount = 0;
    TRect AddButton;      // where the add button lies (whether shown or not)
    int UsableWidth = 0;  // the bar less the add button's room
};

// The list button takes the first 15 pixels; tabs are at most DefaultTabWidth wide and fill the bar when narrower.
TbsMDITabsLayout LayoutMDITabs(const TbsMDITabsLayoutInput& In);

// The index a dragged tab drops at (moved right: the last laid-out tab after it whose centre lies left of its right
// edge; moved left: the first laid-out tab before it whose centre lies right of its left edge), -1 when none or
// when it has not moved. L is the layout with the drag applied.
int MDITabDropIndex(const TbsMDITabsLayout& L, int DragIndex, int TabDX);
