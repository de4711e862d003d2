// The ribbon family's window-free arithmetic: the tab widths shared out over the row, the right-hand buttons laid
// out from the right edge, the page bounds under the tab row, the application menu's item column and its scroll
// height, and the width a menu page takes. Index: RibbonTabWidths, TbsRibbonButtonInfo, RibbonButtonRects,
// RibbonPageBounds, TbsAppMenuItemInfo, TbsAppMenuLook, AppMenuItemRects, AppMenuContentHeight, AppMenuPageWidth,
// kRibbonTabPadding, kRibbonMinTabWidth.
#pragma once

#include <vector>

#include "classlib/Types.h"

constexpr int kRibbonTabPadding = 30;
constexpr int kRibbonMinTabWidth = 15;

// Tabs of the natural widths Natural (caption + padding) in the available width Available: unchanged when their sum
// fits, else each scaled by Available / sum (truncated, at least kRibbonMinTabWidth). Divider tells that they shrank.
std::vector<int> RibbonTabWidths(const std::vector<int>& Natural, int Available, bool& Divider);

struct TbsRibbonButtonInfo {
    bool Visible = true;
    bool HasPopup = false;
    int CaptionWidth = 0;  // measured; 0 without a caption
};

// The buttons at the right end of the row of a control Width wide: taken from the last, each image width + 6 (+ 8
// with a popup, + caption + 6 with a caption), at least H = RowHeight - 2 wide, (x - w, 1, x, H + 1). Invisible
// ones get an empty rectangle. RightOffset: Width - the leftmost x + 2.
std::vector<TRect> RibbonButtonRects(const std::vector<TbsRibbonButtonInfo>& Buttons,
                                     int ImageWidth,
                                     int RowHeight,
                                     int Width,
                                     int& RightOffset);

// The page bounds (left, top, width, height as a rectangle Left, Top, Right = width, Bottom = height) under a tab
// row RowHeight high. Skinned: from the frame's SkinRect and ClRect.
TRect RibbonPageBounds(int Width, int Height, int RowHeight, bool Skinned, const TRect& SkinRect, const TRect& ClRect);

struct TbsAppMenuItemInfo {
    bool Visible = true;
    bool HasPage = false;
};

struct TbsAppMenuLook {
    int ItemHeight = 28;      // command items
    int PageItemHeight = 35;  // page items
    bool Uniform = false;     // both kinds look alike: no page spacing
    int TopReserve = 0;       // the back button's band
};

// The items' rectangles (menu coordinates) in an item column ItemWidth wide, scrolled by ScrollOffset; invisible
// items get an empty rectangle.
std::vector<TRect> AppMenuItemRects(const std::vector<TbsAppMenuItemInfo>& Items,
                                    const TbsAppMenuLook& Look,
                                    int ItemWidth,
                                    int ScrollOffset);
// The height the item column needs (the scroll bar's maximum is this + 1). BackButtonHeight: the skin's back
// button rectangle height, 0 without one.
int AppMenuContentHeight(const std::vector<TbsAppMenuItemInfo>& Items,
                         const TbsAppMenuLook& Look,
                         int BackButtonHeight);

// The width of a menu page asked for Requested in a page area Area wide with DefaultWidth (0: none); at least 100.
int AppMenuPageWidth(int Requested, int Area, int DefaultWidth);
