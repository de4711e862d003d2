#include "skin/controls/ControlGeometry.h"

#include "skin/core/SkinControlRecords.h"

namespace {
// Both corners of R inside A, A's right and bottom edges excluded (the system's point-in-rectangle test).
bool Inside(const TRect& R, const TRect& A) {
    return A.Contains(R.TopLeft()) && A.Contains(R.BottomRight());
}
// Edges included.
bool PointIn(const TRect& A, TPoint P) {
    return P.X >= A.Left && P.X <= A.Right && P.Y >= A.Top && P.Y <= A.Bottom;
}
}  // namespace

void TbsControlGeometry::CopyFrom(const TbsDataSkinCustomControl& E) {
    LTPt = E.LTPoint;
    RTPt = E.RTPoint;
    LBPt = E.LBPoint;
    RBPt = E.RBPoint;
    SkinRect = E.SkinRect;
    ClRect = E.ClRect;
    StretchEffect = E.StretchEffect;
    StretchType = E.StretchType;
    LeftStretch = E.LeftStretch;
    TopStretch = E.TopStretch;
    RightStretch = E.RightStretch;
    BottomStretch = E.BottomStretch;
    ResizeMode = GetResizeMode();
}

int TbsControlGeometry::GetResizeMode() const {
    if (SkinRect.IsEmpty())
        return rmNone;
    if (RBPt.X != 0 && RBPt.Y != 0)
        return rmBoth;
    if (RTPt.X != 0 || RTPt.Y != 0)
        return rmWidth;
    if (LBPt.X != 0 || LBPt.Y != 0)
        return rmHeight;
    return rmFixed;
}

void TbsControlGeometry::CalcSize(bool HasEntry, int& W, int& H) {
    const int XO = W - SkinRect.Width();
    const int YO = H - SkinRect.Height();
    switch (ResizeMode) {
        case rmBoth:
            NewLTPoint = LTPt;
            NewRTPoint = {RTPt.X + XO, RTPt.Y};
            NewLBPoint = {LBPt.X, LBPt.Y + YO};
            NewRBPoint = {RBPt.X + XO, RBPt.Y + YO};
            NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right + XO, ClRect.Bottom + YO};
            break;
        case rmWidth:
            H = SkinRect.Height();
            NewLTPoint = LTPt;
            NewRTPoint = {RTPt.X + XO, RTPt.Y};
            NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right + XO, ClRect.Bottom};
            break;
        case rmHeight:
            W = SkinRect.Width();
            NewLTPoint = LTPt;
            NewLBPoint = {LBPt.X, LBPt.Y + YO};
            NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right, ClRect.Bottom + YO};
            break;
        case rmFixed:
            if (HasEntry) {
                W = SkinRect.Width();
                H = SkinRect.Height();
                NewClRect = ClRect;
            }
            break;
        default:
            break;
    }
}

TRect TbsControlGeometry::GetNewRect(const TRect& R, int W, int H) const {
    const int sw = SkinRect.Width(), sh = SkinRect.Height();
    const int XO = W - sw, YO = H - sh;
    TRect out = R;
    switch (ResizeMode) {
        case rmBoth: {
            const TRect LT{0, 0, LTPt.X, LTPt.Y};
            const TRect LB{0, LBPt.Y, LBPt.X, sh};
            const TRect RT{RTPt.X, 0, sw, RTPt.Y};
            const TRect RB{RBPt.X, RBPt.Y, sw, sh};
            if (Inside(R, LT))
                break;
            if (Inside(R, RT)) {
                out.Offset(XO, 0);
                break;
            }
            if (Inside(R, LB)) {
                out.Offset(0, YO);
                break;
            }
            if (Inside(R, RB)) {
                out.Offset(XO, YO);
                break;
            }
            const TPoint TL = R.TopLeft(), BR = R.BottomRight();
            if (PointIn(LT, TL) && PointIn(RB, BR)) {
                out.Right += XO;
                out.Bottom += YO;
            } else if (PointIn(LT, TL) && PointIn(RT, BR)) {
                out.Right += XO;
            } else if (PointIn(LB, TL) && PointIn(RB, BR)) {
                out.Right += XO;
                out.Offset(0, YO);
            } else if (PointIn(LT, TL) && PointIn(LB, BR)) {
                out.Bottom += YO;
            } else if (PointIn(RT, TL) && PointIn(RB, BR)) {
                out.Offset(XO, 0);
                out.Bottom += YO;
            }
            break;
        }
        case rmWidth:
            if (R.Left <= LTPt.X && R.Right >= RTPt.X)
                out.Right += XO;
            else if (R.Left >= RTPt.X && R.Right > RTPt.X)
                out.Offset(XO, 0);
            break;
        case rmHeight:
            if (R.Top <= LTPt.Y && R.Bottom >= LBPt.Y)
                out.Bottom += YO;
            else if (R.Top >= LBPt.Y && R.Bottom > LBPt.Y)
                out.Offset(0, YO);
            break;
        default:
            break;
    }
    return out;
}

bool TbsControlGeometry::MaskPoints(int W, int H, TMaskPoints& Out) const {
    const int sw = SkinRect.Width(), sh = SkinRect.Height();
    switch (ResizeMode) {
        case rmBoth:
            Out = {LTPt, RTPt, LBPt, RBPt, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint};
            return true;
        case rmWidth: {
            const TPoint newRight{W + RTPt.X - sw, RTPt.Y};
            Out = {LTPt, RTPt, LTPt, RTPt, LTPt, newRight, LTPt, newRight};
            return true;
        }
        case rmHeight: {
            const TPoint newBottom{LBPt.X, H + LBPt.Y - sh};
            Out = {LTPt, LTPt, LBPt, LBPt, LTPt, LTPt, newBottom, newBottom};
            return true;
        }
        default:
            return false;
    }
}

std::vector<TbsTile> ForcedBackgroundTiles(const TRect& C, int Tw, int Th, bool StretchEffect,
                                           TbsStretchType StretchType) {
    std::vector<TbsTile> out;
    if (Tw <= 0 || Th <= 0 || C.IsEmpty())
        return out;
    const int w = C.Width(), h = C.Height();
    if (StretchEffect) {
        switch (StretchType) {
            case bsstFull:
                out.push_back({C});
                break;
            case bsstHorz:
                for (int i = 0; i <= w / Tw; ++i)
                    out.push_back({{C.Left + i * Tw, C.Top, C.Left + (i + 1) * Tw, C.Bottom}});
                break;
            case bsstVert:
                for (int j = 0; j <= h / Th; ++j)
                    out.push_back({{C.Left, C.Top + j * Th, C.Right, C.Top + (j + 1) * Th}});
                break;
        }
        return out;
    }
    for (int j = 0; j <= h / Th; ++j)
        for (int i = 0; i <= w / Tw; ++i)
            out.push_back({Bounds(C.Left + i * Tw, C.Top + j * Th, Tw, Th)});
    return out;
}
