// Window-free arithmetic of the skinned MDI main form: where tiling and cascading put the children, and which
// skinned scroll bars the children's extent calls for, with their ranges. Children are given in child order; the
// work area is W x H from (0, 0).
//
// Index: TileHBounds, TileVBounds, TbsCascadePlan, CascadeStep, CascadePlan, TbsMDIScrollPlan, MDIScrollPlan.
#pragma once

#include <vector>

#include "classlib/Types.h"

// Bounds for n children (index = child order), tiled in columns from the right (horizontal) or in columns from the
// left (vertical). An empty list for n <= 0.
std::vector<TRect> TileHBounds(int n, int W, int H);
std::vector<TRect> TileVBounds(int n, int W, int H);

// The cascade's step: the skinned frame's client top, or the default caption height + 3 without a skin; never
// below 1 (a frame whose client area starts at 0 would divide by zero).
int CascadeStep(bool Skinned, int ClientTop, int DefCaptionHeight);

struct TbsCascadePlan {
    int Width = 0, Height = 0;    // the size every child takes (not one with a single border)
    std::vector<TPoint> Origins;  // index = child order
};
// Cascade of n children with step S (>= 1) in W x H; sizes raised to MinW x MinH. KeepSize[i]: child i keeps its
// own size Sizes[i] (a single border) and that size decides whether it still fits.
TbsCascadePlan CascadePlan(int n,
                           int W,
                           int H,
                           int S,
                           int MinW,
                           int MinH,
                           const std::vector<bool>& KeepSize = {},
                           const std::vector<TSize>& Sizes = {});

struct TbsMDIScrollPlan {
    bool HNeeded = false, VNeeded = false;
    // Range 0..HMax with page HPage at HPosition (valid when needed); likewise vertically.
    int HMax = 0, HPage = 0, HPosition = 0;
    int VMax = 0, VPage = 0, VPosition = 0;
};
// Which bars the children's bounds call for in a W x H work area with bars Thickness pixels thick.
TbsMDIScrollPlan MDIScrollPlan(const std::vector<TRect>& Children, int W, int H, int Thickness = 17);
