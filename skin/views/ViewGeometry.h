// The window-free rules of the skinned list and tree views: what the external scroll bars show for the native
// scroll numbers, where a list item's selection lies, where a header section's image and text go, the colours
// derived from a skin's font and background, the tree's connecting lines and buttons and the alpha ramp of a
// fading line. Fed with the numbers the native controls report; no windows.h here.
// Index: TbsNativeScroll, TbsBarPlan, PlanIconBar, PlanReportVBar, PlanWidthBar, PlanListHBar, PlanTreeVBar,
// ItemStepOf, ListLabelRight, ItemSelectionRect, HeaderTextRoom, TbsHeaderContent, LayoutHeaderContent,
// BlendHalf, ListGridColorOf, TreeLineColorOf, TreeButtonColorOf, TbsTreeNodeFacts, TbsLineSeg, TbsTreeDrawing,
// PlanTreeNode, FadeAlphas.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/Types.h"

// What the native control reports for one direction: GetScrollRange and GetScrollPos.
struct TbsNativeScroll {
    int Min = 0;
    int Max = 0;
    int Pos = 0;
};

// What one external bar is to show. SetSteps: SmallChange and LargeChange are to be assigned.
struct TbsBarPlan {
    bool Visible = false;
    int Min = 0, Max = 0, Page = 0, Pos = 0;
    bool SetSteps = false;
    int SmallChange = 1, LargeChange = 1;
    friend bool operator==(const TbsBarPlan&, const TbsBarPlan&) = default;
};

// Half the height of item 0 (0 without items), at least 1: the step of the icon styles' bars.
int ItemStepOf(int Item0Height);

// Icon and small-icon style, either direction: visible when Size (the view's height or width) < the native maximum;
// page Size, both steps ItemStepOf(item 0's height).
TbsBarPlan PlanIconBar(const TbsNativeScroll& S, int Size, int Item0Height, bool ViewVisible);
// Report style, vertical: visible when the rows per page < native maximum + 1; page = rows per page, steps 1 and the
// page (1 when it is not positive).
TbsBarPlan PlanReportVBar(const TbsNativeScroll& S, int CountPerPage, bool ViewVisible);
// Report style horizontal and the tree's horizontal bar: visible when Width < native maximum; page Width.
TbsBarPlan PlanWidthBar(const TbsNativeScroll& S, int Width, bool ViewVisible);
// List style, horizontal: columns as wide as item 0 (1 without items or when 0), page Width div that; visible when
// the rows per page < the item count; steps 1.
TbsBarPlan PlanListHBar(const TbsNativeScroll& S, int Width, int Item0Width, int CountPerPage, int ItemCount,
                        bool ViewVisible);
// The tree's vertical bar: visible when max > 0, the visible count <= max and max < the node count; page = the
// visible count.
TbsBarPlan PlanTreeVBar(const TbsNativeScroll& S, int VisibleCount, int NodeCount, bool ViewVisible);

// ---- List items -----------------------------------------------------------------------------------------------------
enum class TbsViewKind { Icon, SmallIcon, List, Report };

// List style: the label ends 2 pixels after the caption's measured width.
int ListLabelRight(int LabelLeft, int CaptionWidth);
// The selection rectangle of an item: icon style the native label; list style the label widened on the right by 4
// (20 for an empty caption); small-icon and report style the native select bounds from the label's left. The bottom
// is raised by 1.
TRect ItemSelectionRect(TbsViewKind Kind, const TRect& NativeLabel, const TRect& Label, const TRect& SelectBounds,
                        bool EmptyCaption);

// ---- Header sections ------------------------------------------------------------------------------------------------
// The content box: the section narrowed by 5 on the left and right.
TRect HeaderContentBox(const TRect& Section);
// The width a caption may take in content box B (with an image: B's width - 10 - the image width).
int HeaderTextRoom(const TRect& B, bool HasImage, int ImageWidth);

struct TbsHeaderContent {
    int TextX = 0, TextY = 0;
    int ImageX = 0, ImageY = 0;  // meaningful with an image
};
// Places the (already shortened) caption of TextWidth x TextHeight and an optional image in content box B.
// Shortened: the caption had to be cut (an image then stays at the left whatever the alignment). An odd font height
// puts the text one pixel higher.
TbsHeaderContent LayoutHeaderContent(const TRect& B, TAlignment Alignment, int TextWidth, int TextHeight,
                                     int FontHeight, bool HasImage, int ImageWidth, int ImageHeight, bool Shortened);

// ---- Colours (0x00BBGGRR, already resolved) -------------------------------------------------------------------------
// Each channel (a + b) >> 1.
std::uint32_t BlendHalf(std::uint32_t A, std::uint32_t B);
// The list's grid lines: the font colour blended three times towards the background.
std::uint32_t ListGridColorOf(std::uint32_t Font, std::uint32_t Back);
// The tree's lines: twice; its button boxes: once.
std::uint32_t TreeLineColorOf(std::uint32_t Font, std::uint32_t Back);
std::uint32_t TreeButtonColorOf(std::uint32_t Font, std::uint32_t Back);

// ---- Tree lines and buttons -----------------------------------------------------------------------------------------
struct TbsTreeNodeFacts {
    TRect Row;                  // the node's row, its left already moved in by the level's indent
    int Indent = 19;            // the native indent
    int ButtonSize = 5;         // half the button's size
    bool HasChildren = false;
    bool Expanded = false;
    bool FirstOfTree = false;   // absolute index 0
    bool LineDown = false;      // the next visible node has the same level, or the node has a next sibling
    // For each ancestor from the parent up: whether it has a next sibling.
    std::vector<bool> AncestorHasNext;
    bool ShowLines = true;
    bool ShowButtons = true;
};
// A line from (X1, Y1) to (X2, Y2); vertical lines include both ends; Fading: the horizontal line that fades out.
struct TbsLineSeg {
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    bool Fading = false;
    friend bool operator==(const TbsLineSeg&, const TbsLineSeg&) = default;
};
struct TbsTreeDrawing {
    std::vector<TbsLineSeg> Lines;
    bool Box = false;                // the built-in button box (outline, right and bottom exclusive)
    TRect BoxRect;
    bool Minus = false;              // the minus stroke, then for a collapsed node the plus stroke
    TbsLineSeg MinusSeg, PlusSeg;
    bool Plus = false;
    int Mid = 0, X0 = 0;
};
// The lines and the built-in button of one node (the image-list and skin-picture buttons go where the box goes).
TbsTreeDrawing PlanTreeNode(const TbsTreeNodeFacts& F);

// The alpha of each pixel of a fading line Length pixels long: the first Length div 2 opaque, then from 255 down by
// Round(255 / (Length div 2)) per pixel (halves to even), never below 0. A line shorter than 2 pixels is opaque.
std::vector<std::uint8_t> FadeAlphas(int Length);
