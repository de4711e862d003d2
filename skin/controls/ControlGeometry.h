// The picture geometry of a control drawn from one resizable skin rectangle, shared by the windowed and the windowless
// bases: the corner points and client rectangle copied from the entry, the resize mode that follows from them, the
// size rule, the mapping of a rectangle of the picture onto the control's size, the tiles of a forced background, the
// corner points a mask is composed with, and the centring in a tool bar. Pure arithmetic, no windows.h.
// Index: TbsResizeMode, TbsControlGeometry, ForcedBackgroundTiles, CentredTop.
#pragma once

#include <vector>

#include "classlib/Types.h"
#include "skin/core/SkinTypes.h"

class TbsDataSkinCustomControl;

// -1: no picture; 0: fixed size; 1: nine parts, any size; 2: stretches in width only; 3: in height only.
enum TbsResizeMode : int { rmNone = -1, rmFixed = 0, rmBoth = 1, rmWidth = 2, rmHeight = 3 };

struct TbsControlGeometry {
    TPoint LTPt, RTPt, LBPt, RBPt;
    TRect SkinRect;
    TRect ClRect;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewClRect;
    int ResizeMode = rmFixed;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;

    // Copies the points, rectangles and stretch flags of an entry and sets ResizeMode.
    void CopyFrom(const TbsDataSkinCustomControl& Entry);
    // An entry of another kind under the name: fixed size, nothing to draw from.
    void ResetForForeignEntry() { ResizeMode = rmFixed; }
    // The mode the points give: tested in the order -1, 1, 2, 3, 0.
    int GetResizeMode() const;
    // Corrects a proposed size to what the picture allows and sets the new points and client rectangle.
    // HasEntry: without an entry, mode 0 leaves everything alone.
    void CalcSize(bool HasEntry, int& W, int& H);
    // R (in skin-rectangle coordinates) mapped onto a control of W x H.
    TRect GetNewRect(const TRect& R, int W, int H) const;

    // The eight corner points CreateSkinRegion composes a mask of W x H from, by resize mode (false for -1 and 0:
    // no composed mask). Src: the mask's points; New: the control's.
    struct TMaskPoints {
        TPoint LT, RT, LB, RB, NewLT, NewRT, NewLB, NewRB;
    };
    bool MaskPoints(int W, int H, TMaskPoints& Out) const;

    int RealClientLeft() const { return NewClRect.Left; }
    int RealClientTop() const { return NewClRect.Top; }
    int RealClientWidth() const { return NewClRect.Width(); }
    int RealClientHeight() const { return NewClRect.Height(); }
};

// One tile of the forced background: the tile (Tw x Th) drawn into Dst (stretched when the sizes differ).
struct TbsTile {
    TRect Dst;
    friend bool operator==(const TbsTile&, const TbsTile&) = default;
};
// The tiles that cover Client with a Tw x Th picture, from its left and top edges (the caller clips to Client).
// StretchEffect with StretchType 0 stretches one tile over Client; 1 stretches to the height and repeats across;
// 2 stretches to the width and repeats downwards; off repeats in both directions. An empty tile or client: none.
std::vector<TbsTile> ForcedBackgroundTiles(const TRect& Client, int Tw, int Th, bool StretchEffect,
                                           TbsStretchType StretchType);

// The top that centres a control of Height vertically in a host's skin client rectangle (div toward zero).
inline int CentredTop(const TRect& HostClient, int Height) {
    return HostClient.Height() / 2 + HostClient.Top - Height / 2;
}
