#include "skin/core/SkinImages.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "classlib/GdiHandles.h"
#include "classlib/SysUtils.h"
#include "skin/core/PixelRoutines.h"
#include "skin/core/SkinUtils.h"

// ---- Plans ----------------------------------------------------------------------------------------------------------

namespace {

void Add(TCopyPlan& Plan, const TRect& Src, const TRect& Dst) {
    if (Src.Width() > 0 && Src.Height() > 0 && Dst.Width() > 0 && Dst.Height() > 0)
        Plan.push_back({Src, Dst});
}

}  // namespace

void PlanHTile(TCopyPlan& Plan, const TRect& Slice, int A, int E, int Top, int Bottom) {
    const int s = Slice.Width();
    if (s <= 0 || E < A)
        return;
    for (int k = 0, n = (E - A) / s; k <= n; ++k) {
        const int t = A + k * s;
        const int v = std::max(0, t + s - E);
        Add(Plan, {Slice.Left, Slice.Top, Slice.Right - v, Slice.Bottom}, {t, Top, t + s - v, Bottom});
    }
}

void PlanVTile(TCopyPlan& Plan, const TRect& Slice, int A, int E, int Left, int Right) {
    const int s = Slice.Height();
    if (s <= 0 || E < A)
        return;
    for (int k = 0, n = (E - A) / s; k <= n; ++k) {
        const int t = A + k * s;
        const int v = std::max(0, t + s - E);
        Add(Plan, {Slice.Left, Slice.Top, Slice.Right, Slice.Bottom - v}, {Left, t, Right, t + s - v});
    }
}

namespace {

// A band: stretched in one copy or tiled along its length.
void PlanHBand(TCopyPlan& Plan, const TRect& Slice, int A, int E, int Top, int Bottom, bool Stretch) {
    if (Stretch)
        Add(Plan, Slice, {A, Top, E, Bottom});
    else
        PlanHTile(Plan, Slice, A, E, Top, Bottom);
}

void PlanVBand(TCopyPlan& Plan, const TRect& Slice, int A, int E, int Left, int Right, bool Stretch) {
    if (Stretch)
        Add(Plan, Slice, {Left, A, Right, E});
    else
        PlanVTile(Plan, Slice, A, E, Left, Right);
}

// The client slice into Target by the flags.
void PlanClient(TCopyPlan& Plan, const TRect& Cl, const TRect& Target, const TNinePartFlags& Flags) {
    const int cw = Cl.Width(), ch = Cl.Height();
    const int tw = Target.Width(), th = Target.Height();
    if (!Flags.DrawClient || cw <= 0 || ch <= 0 || tw <= 0 || th <= 0)
        return;
    if (Flags.StretchEffect) {
        switch (Flags.StretchType) {
            case bsstFull:
                Add(Plan, Cl, Target);
                break;
            case bsstHorz:
                // Copies of the slice stretched to the client height, repeated across, the last one clipped (the
                // horizontal scale is 1:1, so clipping it is cutting its source).
                PlanHTile(Plan, Cl, Target.Left, Target.Right, Target.Top, Target.Bottom);
                break;
            case bsstVert:
                PlanVTile(Plan, Cl, Target.Top, Target.Bottom, Target.Left, Target.Right);
                break;
        }
        return;
    }
    for (int i = 0; i <= tw / cw; ++i)
        for (int j = 0; j <= th / ch; ++j) {
            const int ox = std::max(0, (i + 1) * cw - tw), oy = std::max(0, (j + 1) * ch - th);
            const int x = Target.Left + i * cw, y = Target.Top + j * ch;
            Add(Plan, {Cl.Left, Cl.Top, Cl.Right - ox, Cl.Bottom - oy}, {x, y, x + cw - ox, y + ch - oy});
        }
}

bool OnlySized(const TNinePart& S) {
    return S.RBPt.X == S.LTPt.X || S.RBPt.Y == S.LTPt.Y;
}

}  // namespace

TCopyPlan PlanSkinImage(const TNinePart& S, const TNinePart& N, int Rw, int Rh, int W, int H, const TNinePartFlags& F) {
    TCopyPlan p;
    if (OnlySized(S))
        return p;
    const TRect& c = S.ClRect;
    const TRect& nc = N.ClRect;
    PlanHBand(p, {S.LTPt.X, 0, S.RTPt.X, c.Top}, N.LTPt.X, N.RTPt.X, 0, nc.Top, F.TopStretch);
    PlanHBand(p, {S.LBPt.X, c.Bottom, S.RBPt.X, Rh}, N.LBPt.X, N.RBPt.X, nc.Bottom, H, F.BottomStretch);
    PlanVBand(p, {0, S.LTPt.Y, c.Left, S.LBPt.Y}, N.LTPt.Y, N.LBPt.Y, 0, nc.Left, F.LeftStretch);
    PlanVBand(p, {c.Right, S.RTPt.Y, Rw, S.RBPt.Y}, N.RTPt.Y, N.RBPt.Y, nc.Right, W, F.RightStretch);
    Add(p, {0, 0, S.LTPt.X, c.Top}, {0, 0, N.LTPt.X, nc.Top});
    Add(p, {0, c.Top, c.Left, S.LTPt.Y}, {0, nc.Top, nc.Left, N.LTPt.Y});
    Add(p, {S.RTPt.X, 0, Rw, c.Top}, {N.RTPt.X, 0, W, nc.Top});
    Add(p, {c.Right, c.Top, Rw, S.RTPt.Y}, {nc.Right, nc.Top, W, N.RTPt.Y});
    Add(p, {0, S.LBPt.Y, c.Left, Rh}, {0, N.LBPt.Y, nc.Left, H});
    Add(p, {c.Left, c.Bottom, S.LBPt.X, Rh}, {nc.Left, nc.Bottom, N.LBPt.X, H});
    Add(p, {S.RBPt.X, c.Bottom, Rw, Rh}, {N.RBPt.X, nc.Bottom, W, H});
    Add(p, {c.Right, S.RBPt.Y, Rw, c.Bottom}, {nc.Right, N.RBPt.Y, W, nc.Bottom});
    PlanClient(p, c, nc, F);
    return p;
}

TCopyPlan PlanSkinImage2(const TNinePart& S, const TNinePart& N, int, int Rh, int W, int H, const TNinePartFlags& F) {
    TCopyPlan p;
    if (OnlySized(S))
        return p;
    const TRect& c = S.ClRect;
    const TRect& nc = N.ClRect;
    PlanHBand(p, {S.LTPt.X, 0, S.RTPt.X, c.Top}, N.LTPt.X, W, 0, nc.Top, F.TopStretch);
    PlanHBand(p, {S.LBPt.X, c.Bottom, S.RBPt.X, Rh}, N.LBPt.X, W, nc.Bottom, H, F.BottomStretch);
    PlanVBand(p, {0, S.LTPt.Y, c.Left, S.LBPt.Y}, N.LTPt.Y, N.LBPt.Y, 0, nc.Left, F.LeftStretch);
    Add(p, {0, 0, S.LTPt.X, c.Top}, {0, 0, N.LTPt.X, nc.Top});
    Add(p, {0, c.Top, c.Left, S.LTPt.Y}, {0, nc.Top, nc.Left, N.LTPt.Y});
    Add(p, {0, S.LBPt.Y, c.Left, Rh}, {0, N.LBPt.Y, nc.Left, H});
    Add(p, {c.Left, c.Bottom, S.LBPt.X, Rh}, {nc.Left, nc.Bottom, N.LBPt.X, H});
    PlanClient(p, c, {nc.Left, nc.Top, W, nc.Bottom}, F);
    return p;
}

TNinePart StretchImageGeometry(const TRect& ClRect, int Rw, int Rh, int W, int H) {
    TNinePart n;
    n.ClRect = {ClRect.Left, ClRect.Top, W + ClRect.Right - Rw, H + ClRect.Bottom - Rh};
    n.LTPt = {n.ClRect.Left, n.ClRect.Top};
    n.RTPt = {n.ClRect.Right, n.ClRect.Top};
    n.LBPt = {n.ClRect.Left, n.ClRect.Bottom};
    n.RBPt = {n.ClRect.Right, n.ClRect.Bottom};
    return n;
}

TCopyPlan PlanHSkinImage(int LO, int RO, int Rw, int Rh, int W, bool Stretch) {
    TCopyPlan p;
    if (LO != 0)
        Add(p, {0, 0, LO, Rh}, {0, 0, LO, Rh});
    if (RO != 0)
        Add(p, {Rw - RO, 0, Rw, Rh}, {W - RO, 0, W, Rh});
    PlanHBand(p, {LO, 0, Rw - RO, Rh}, LO, W - RO, 0, Rh, Stretch);
    return p;
}

TCopyPlan PlanHSkinImage2(int LO, int RO, int Rw, int Rh, int W, bool Stretch) {
    TCopyPlan p;
    if (LO != 0)
        Add(p, {0, 0, LO, Rh}, {0, 0, LO, Rh});
    PlanHBand(p, {LO, 0, Rw - RO, Rh}, LO, W, 0, Rh, Stretch);
    return p;
}

TCopyPlan PlanHSkinMiddleImage(int LO, int RO, int Rw, int Rh, int W, bool Stretch) {
    TCopyPlan p;
    PlanHBand(p, {LO, 0, Rw - RO, Rh}, 0, W, 0, Rh, Stretch);
    return p;
}

TCopyPlan PlanVSkinImage(int TO, int BO, int Rw, int Rh, int H, bool Stretch) {
    TCopyPlan p;
    if (TO != 0)
        Add(p, {0, 0, Rw, TO}, {0, 0, Rw, TO});
    if (BO != 0)
        Add(p, {0, Rh - BO, Rw, Rh}, {0, H - BO, Rw, H});
    PlanVBand(p, {0, TO, Rw, Rh - BO}, TO, H - BO, 0, Rw, Stretch);
    return p;
}

TBorderPlans PlanSkinBorderImages(const TNinePart& S,
                                  const TNinePart& N,
                                  int Rw,
                                  int Rh,
                                  int W,
                                  int H,
                                  bool LeftStretch,
                                  bool TopStretch,
                                  bool RightStretch,
                                  bool BottomStretch,
                                  int OldTopHeight,
                                  int OldBottomHeight) {
    TBorderPlans b;
    const TRect& c = S.ClRect;
    const TRect& nc = N.ClRect;
    const int th = nc.Top;
    if (W > 0 && th > 0 && S.RTPt.X - S.LTPt.X > 0) {
        TBandPlan& t = b.Top;
        t = {true, W, th, {}};
        const TRect edge{S.LTPt.X, 0, S.RTPt.X, th};
        if (TopStretch)
            Add(t.Copies, edge, {N.LTPt.X, 0, N.RTPt.X, th});
        else
            PlanHTile(t.Copies, edge, 0, W, 0, th);
        Add(t.Copies, {0, 0, S.LTPt.X, th}, {0, 0, N.LTPt.X, th});
        Add(t.Copies, {S.RTPt.X, 0, Rw, th}, {N.RTPt.X, 0, W, th});
    }
    const int bh = H - nc.Bottom;
    if (W > 0 && bh > 0 && S.RBPt.X - S.LBPt.X > 0) {
        TBandPlan& t = b.Bottom;
        t = {true, W, bh, {}};
        const int y0 = Rh - bh;
        const TRect edge{S.LBPt.X, y0, S.RBPt.X, Rh};
        if (BottomStretch)
            Add(t.Copies, edge, {N.LBPt.X, 0, N.RBPt.X, bh});
        else
            PlanHTile(t.Copies, edge, 0, W, 0, bh);
        Add(t.Copies, {0, y0, S.LBPt.X, Rh}, {0, 0, N.LBPt.X, bh});
        Add(t.Copies, {S.RBPt.X, y0, Rw, Rh}, {N.RBPt.X, 0, W, bh});
    }
    const int lh = H - (b.Bottom.Made ? b.Bottom.Height : OldBottomHeight) - (b.Top.Made ? b.Top.Height : OldTopHeight);
    // The side bands: the edge stretched or tiled down the band, then the corner rows at its top and bottom.
    auto side = [&](TBandPlan& t, int x0, int x1, int bw, TPoint top, TPoint bottom, bool stretch) {
        t = {true, bw, lh, {}};
        const TRect edge{x0, top.Y, x1, bottom.Y};
        if (stretch)
            Add(t.Copies, edge, {0, top.Y - c.Top, bw, lh + bottom.Y - c.Bottom});
        else
            PlanVTile(t.Copies, edge, 0, lh, 0, bw);
        if (top.Y - c.Top > 0)
            Add(t.Copies, {x0, c.Top, x1, top.Y}, {0, 0, bw, top.Y - c.Top});
        if (c.Bottom - bottom.Y > 0)
            Add(t.Copies, {x0, bottom.Y, x1, c.Bottom}, {0, lh - (c.Bottom - bottom.Y), bw, lh});
    };
    if (nc.Left > 0 && lh > 0 && S.LBPt.Y - S.LTPt.Y > 0)
        side(b.Left, 0, nc.Left, nc.Left, S.LTPt, S.LBPt, LeftStretch);
    const int rw = W - nc.Right;
    if (rw >= 1 && lh >= 1 && S.RBPt.Y - S.RTPt.Y >= 1)
        side(b.Right, c.Right, Rw, rw, S.RTPt, S.RBPt, RightStretch);
    return b;
}

TBorderPlans PlanSkinMask(const TNinePart& S, const TNinePart& N, int MaskW, int MaskH, int W) {
    TBorderPlans b;
    const TRect& c = S.ClRect;
    const int th = c.Top, lw = c.Left, rw = MaskW - c.Right, bh = MaskH - c.Bottom, ch = N.ClRect.Height();
    auto side = [&](TBandPlan& t, int x0, int x1, TPoint top, TPoint bottom) {
        const int w = x1 - x0;
        t = {true, w, ch, {}};
        if (bottom.Y != top.Y)
            PlanVTile(t.Copies, {x0, top.Y, x1, bottom.Y}, 0, ch, 0, w);
        if (top.Y - c.Top > 0)
            Add(t.Copies, {x0, c.Top, x1, top.Y}, {0, 0, w, top.Y - c.Top});
        if (c.Bottom - bottom.Y > 0)
            Add(t.Copies, {x0, bottom.Y, x1, c.Bottom}, {0, ch - (c.Bottom - bottom.Y), w, ch});
    };
    if (lw > 0 && ch > 0)
        side(b.Left, 0, lw, S.LTPt, S.LBPt);
    if (rw > 0 && ch > 0)
        side(b.Right, c.Right, MaskW, S.RTPt, S.RBPt);
    if (W > 0 && th > 0) {
        TBandPlan& t = b.Top;
        t = {true, W, th, {}};
        if (S.RTPt.X != S.LTPt.X)
            PlanHTile(t.Copies, {S.LTPt.X, 0, S.RTPt.X, th}, N.LTPt.X, N.RTPt.X, 0, th);
        Add(t.Copies, {0, 0, S.LTPt.X, th}, {0, 0, S.LTPt.X, th});
        Add(t.Copies, {S.RTPt.X, 0, MaskW, th}, {N.RTPt.X, 0, W, th});
    }
    if (W >= 1 && bh >= 1) {
        TBandPlan& t = b.Bottom;
        t = {true, W, bh, {}};
        if (S.RBPt.X != S.LBPt.X)
            PlanHTile(t.Copies, {S.LBPt.X, c.Bottom, S.RBPt.X, MaskH}, N.LBPt.X, N.RBPt.X, 0, bh);
        Add(t.Copies, {0, c.Bottom, S.LBPt.X, MaskH}, {0, 0, S.LBPt.X, bh});
        Add(t.Copies, {S.RBPt.X, c.Bottom, MaskW, MaskH}, {N.RBPt.X, 0, W, bh});
    }
    return b;
}

// ---- Execution ------------------------------------------------------------------------------------------------------

namespace {

// The pixels of a 32-bit TBitmap (bottom-up in memory) seen top-down.
TPixelView View32(TBitmap* b) {
    if (!b || b->Empty() || b->BitsPerPixel() != 32)
        return {};
    auto* top = static_cast<std::uint32_t*>(b->ScanLine(0));
    return TPixelView{top, b->Width(), b->Height(), -std::ptrdiff_t(b->BytesPerScanLine() / 4)};
}

}  // namespace

void ExecutePlan(TBitmap* B, TBitmap* SB, const TRect& R, const TCopyPlan& Plan) {
    if (!B || !SB || B->Empty() || SB->Empty() || Plan.empty())
        return;
    const TPixelView dst = View32(B), src = View32(SB);
    if (!dst.Empty() && !src.Empty()) {
        const TRect clip = dst.BoundsRect();
        for (const TSliceCopy& c : Plan) {
            TRect s = c.Src;
            s.Offset(R.Left, R.Top);
            if (s.Width() == c.Dst.Width() && s.Height() == c.Dst.Height())
                BltOpaqueFunc(dst, c.Dst, src, s.Left, s.Top);
            else
                StretchOpaqueFunc(dst, c.Dst, clip, src, s);
        }
        return;
    }
    HDC d = B->Canvas()->Handle();
    HDC sd = SB->Canvas()->Handle();
    const int oldMode = ::SetStretchBltMode(d, COLORONCOLOR);
    for (const TSliceCopy& c : Plan)
        ::StretchBlt(d, c.Dst.Left, c.Dst.Top, c.Dst.Width(), c.Dst.Height(), sd, c.Src.Left + R.Left,
                     c.Src.Top + R.Top, c.Src.Width(), c.Src.Height(), SRCCOPY);
    ::SetStretchBltMode(d, oldMode);
    ::GdiFlush();
}

// ---- The routines -------------------------------------------------------------------------------------------------

namespace {

void Compose(bool second,
             const TNinePart& S,
             const TNinePart& N,
             TBitmap* B,
             TBitmap* SB,
             const TRect& R,
             int W,
             int H,
             const TNinePartFlags& F) {
    B->SetSize(W, H);
    if (!SB || SB->Empty() || OnlySized(S))
        return;
    const TCopyPlan plan = second ? PlanSkinImage2(S, N, R.Width(), R.Height(), W, H, F)
                                  : PlanSkinImage(S, N, R.Width(), R.Height(), W, H, F);
    ExecutePlan(B, SB, R, plan);
}

}  // namespace

#define TRELM_NINE_PART_ARGS                                                                                         \
    TNinePart{LTPt, RTPt, LBPt, RBPt, ClRect}, TNinePart{NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect}, \
        B, SB, R, W, H, TNinePartFlags {                                                                             \
        DrawClient, LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect, StretchType                 \
    }

void CreateSkinImage(const TPoint& LTPt,
                     const TPoint& RTPt,
                     const TPoint& LBPt,
                     const TPoint& RBPt,
                     const TRect& ClRect,
                     const TPoint& NewLTPoint,
                     const TPoint& NewRTPoint,
                     const TPoint& NewLBPoint,
                     const TPoint& NewRBPoint,
                     const TRect& NewClRect,
                     TBitmap* B,
                     TBitmap* SB,
                     const TRect& R,
                     int W,
                     int H,
                     bool DrawClient,
                     bool LeftStretch,
                     bool TopStretch,
                     bool RightStretch,
                     bool BottomStretch,
                     bool StretchEffect,
                     TbsStretchType StretchType) {
    Compose(false, TRELM_NINE_PART_ARGS);
}

void CreateSkinImageBS(const TPoint& LTPt,
                       const TPoint& RTPt,
                       const TPoint& LBPt,
                       const TPoint& RBPt,
                       const TRect& ClRect,
                       const TPoint& NewLTPoint,
                       const TPoint& NewRTPoint,
                       const TPoint& NewLBPoint,
                       const TPoint& NewRBPoint,
                       const TRect& NewClRect,
                       TBitmap* B,
                       TBitmap* SB,
                       const TRect& R,
                       int W,
                       int H,
                       bool DrawClient,
                       bool LeftStretch,
                       bool TopStretch,
                       bool RightStretch,
                       bool BottomStretch,
                       bool StretchEffect,
                       TbsStretchType StretchType) {
    CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, B, SB, R,
                    W, H, DrawClient, LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect, StretchType);
}

void CreateSkinImage2(const TPoint& LTPt,
                      const TPoint& RTPt,
                      const TPoint& LBPt,
                      const TPoint& RBPt,
                      const TRect& ClRect,
                      const TPoint& NewLTPoint,
                      const TPoint& NewRTPoint,
                      const TPoint& NewLBPoint,
                      const TPoint& NewRBPoint,
                      const TRect& NewClRect,
                      TBitmap* B,
                      TBitmap* SB,
                      const TRect& R,
                      int W,
                      int H,
                      bool DrawClient,
                      bool LeftStretch,
                      bool TopStretch,
                      bool RightStretch,
                      bool BottomStretch,
                      bool StretchEffect,
                      TbsStretchType StretchType) {
    Compose(true, TRELM_NINE_PART_ARGS);
}
#undef TRELM_NINE_PART_ARGS

void CreateStretchImage(TBitmap* B, TBitmap* SB, const TRect& R, const TRect& ClRect, bool DrawClient) {
    const int W = B->Width(), H = B->Height();
    const TNinePart src{{ClRect.Left, ClRect.Top},
                        {ClRect.Right, ClRect.Top},
                        {ClRect.Left, ClRect.Bottom},
                        {ClRect.Right, ClRect.Bottom},
                        ClRect};
    const TNinePart n = StretchImageGeometry(ClRect, R.Width(), R.Height(), W, H);
    Compose(false, src, n, B, SB, R, W, H, TNinePartFlags{DrawClient, true, true, true, true, true, bsstFull});
}

void CreateHSkinImage(int LO, int RO, TBitmap* B, TBitmap* SB, const TRect& R, int W, int, bool Stretch) {
    B->SetSize(W, R.Height());
    ExecutePlan(B, SB, R, PlanHSkinImage(LO, RO, R.Width(), R.Height(), W, Stretch));
}

void CreateHSkinImage2(int LO, int RO, TBitmap* B, TBitmap* SB, const TRect& R, int W, int, bool Stretch) {
    B->SetSize(W, R.Height());
    ExecutePlan(B, SB, R, PlanHSkinImage2(LO, RO, R.Width(), R.Height(), W, Stretch));
}

void CreateHSkinMiddleImage(int LO, int RO, TBitmap* B, TBitmap* SB, const TRect& R, int W, int, bool Stretch) {
    B->SetSize(W, R.Height());
    ExecutePlan(B, SB, R, PlanHSkinMiddleImage(LO, RO, R.Width(), R.Height(), W, Stretch));
}

void CreateVSkinImage(int TO, int BO, TBitmap* B, TBitmap* SB, const TRect& R, int, int H, bool Stretch) {
    B->SetSize(R.Width(), H);
    ExecutePlan(B, SB, R, PlanVSkinImage(TO, BO, R.Width(), R.Height(), H, Stretch));
}

namespace {

void MakeBand(const TBandPlan& Band, TBitmap* Target, TBitmap* SB, const TRect& R) {
    if (!Band.Made || !Target)
        return;
    Target->SetSize(Band.Width, Band.Height);
    ExecutePlan(Target, SB, R, Band.Copies);
}

}  // namespace

void CreateSkinBorderImages(const TPoint& LTPt,
                            const TPoint& RTPt,
                            const TPoint& LBPt,
                            const TPoint& RBPt,
                            const TRect& ClRect,
                            const TPoint& NewLTPoint,
                            const TPoint& NewRTPoint,
                            const TPoint& NewLBPoint,
                            const TPoint& NewRBPoint,
                            const TRect& NewClRect,
                            TBitmap* LeftB,
                            TBitmap* TopB,
                            TBitmap* RightB,
                            TBitmap* BottomB,
                            TBitmap* SB,
                            const TRect& R,
                            int W,
                            int H,
                            bool LeftStretch,
                            bool TopStretch,
                            bool RightStretch,
                            bool BottomStretch) {
    const TBorderPlans b = PlanSkinBorderImages({LTPt, RTPt, LBPt, RBPt, ClRect},
                                                {NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect}, R.Width(),
                                                R.Height(), W, H, LeftStretch, TopStretch, RightStretch, BottomStretch,
                                                TopB ? TopB->Height() : 0, BottomB ? BottomB->Height() : 0);
    MakeBand(b.Top, TopB, SB, R);
    MakeBand(b.Bottom, BottomB, SB, R);
    MakeBand(b.Left, LeftB, SB, R);
    MakeBand(b.Right, RightB, SB, R);
}

void CreateSkinMask(const TPoint& LTPt,
                    const TPoint& RTPt,
                    const TPoint& LBPt,
                    const TPoint& RBPt,
                    const TRect& ClRect,
                    const TPoint& NewLTPoint,
                    const TPoint& NewRTPoint,
                    const TPoint& NewLBPoint,
                    const TPoint& NewRBPoint,
                    const TRect& NewClRect,
                    TBitmap* Mask,
                    TBitmap* TopMask,
                    TBitmap* LeftMask,
                    TBitmap* RightMask,
                    TBitmap* BottomMask,
                    int W,
                    int) {
    if (!Mask || Mask->Empty())
        return;
    const TBorderPlans b =
        PlanSkinMask({LTPt, RTPt, LBPt, RBPt, ClRect}, {NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect},
                     Mask->Width(), Mask->Height(), W);
    const TRect whole{0, 0, Mask->Width(), Mask->Height()};
    MakeBand(b.Left, LeftMask, Mask, whole);
    MakeBand(b.Right, RightMask, Mask, whole);
    MakeBand(b.Top, TopMask, Mask, whole);
    MakeBand(b.Bottom, BottomMask, Mask, whole);
}

TGdiRegion RegionFromMask(TBitmap* B, int XO, int YO) {
    if (!B)
        return TGdiRegion();
    std::vector<std::uint8_t> data;
    const std::size_t size = CreateRgnFromBmp(B, XO, YO, data);
    if (size == 0)
        return TGdiRegion();
    return TGdiRegion(::ExtCreateRegion(nullptr, static_cast<DWORD>(size), reinterpret_cast<RGNDATA*>(data.data())));
}

void CreateSkinRegion(TGdiRegion& Rgn,
                      const TPoint& LTPt,
                      const TPoint& RTPt,
                      const TPoint& LBPt,
                      const TPoint& RBPt,
                      const TRect& ClRect,
                      const TPoint& NewLTPoint,
                      const TPoint& NewRTPoint,
                      const TPoint& NewLBPoint,
                      const TPoint& NewRBPoint,
                      const TRect& NewClRect,
                      TBitmap* Mask,
                      int W,
                      int H) {
    Rgn.Reset();
    if (NewRTPoint.X < NewLTPoint.X || NewLBPoint.Y < NewLTPoint.Y)
        return;
    TBitmap top, left, right, bottom;
    CreateSkinMask(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, Mask,
                   &top, &left, &right, &bottom, W, H);
    TGdiRegion bands[4] = {RegionFromMask(&top, 0, 0), RegionFromMask(&bottom, 0, NewClRect.Bottom),
                           RegionFromMask(&left, 0, NewClRect.Top), RegionFromMask(&right, NewClRect.Right, NewClRect.Top)};
    if (IsNullRect(NewClRect))
        return;
    TGdiRegion result(::CreateRectRgn(NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom));
    if (!result)
        return;
    for (TGdiRegion& band : bands)
        if (band)
            ::CombineRgn(result.Get(), result.Get(), band.Get(), RGN_OR);
    Rgn = std::move(result);
}

void CreateSkinSimplyRegion(TGdiRegion& Rgn, TBitmap* Mask) {
    Rgn = RegionFromMask(Mask, 0, 0);
}

// ---- Masks to regions -----------------------------------------------------------------------------------------------

std::vector<TRect> ScanMaskRuns(const TEffectView& Mask) {
    std::vector<TRect> runs;
    for (int y = 0; y < Mask.height; ++y) {
        const std::uint8_t* row = Mask.Row(y);
        int x = 0;
        while (x < Mask.width) {
            const std::uint8_t* p = row + 3 * x;
            if ((p[0] | p[1] | p[2]) != 0) {
                ++x;
                continue;
            }
            const int x1 = x;
            for (++x; x < Mask.width; ++x) {
                const std::uint8_t* q = row + 3 * x;
                if ((q[0] | q[1] | q[2]) != 0)
                    break;
            }
            runs.push_back({x1, y, x, y + 1});
        }
    }
    return runs;
}

std::vector<TRect> ScanMaskRuns(const TPixelView& Mask) {
    std::vector<TRect> runs;
    for (int y = 0; y < Mask.height; ++y) {
        const std::uint32_t* row = Mask.Row(y);
        int x = 0;
        while (x < Mask.width) {
            if ((row[x] & 0xFFFFFF) != 0) {
                ++x;
                continue;
            }
            const int x1 = x;
            while (++x < Mask.width && (row[x] & 0xFFFFFF) == 0) {
            }
            runs.push_back({x1, y, x, y + 1});
        }
    }
    return runs;
}

namespace {
void PutInt(std::uint8_t* p, std::int32_t v) {
    std::memcpy(p, &v, 4);
}
}  // namespace

std::vector<std::uint8_t> BuildRegionData(const std::vector<TRect>& Runs, int XO, int YO, int Width, int Height) {
    std::vector<std::uint8_t> data(32 + 16 * Runs.size(), 0);
    const std::int32_t header[8] = {32, 1, static_cast<std::int32_t>(Runs.size()), 0, XO, YO, XO + Width, YO + Height};
    for (int i = 0; i < 8; ++i)
        PutInt(&data[4 * i], header[i]);
    std::uint8_t* p = data.data() + 32;
    for (const TRect& r : Runs) {
        PutInt(p, r.Left + XO);
        PutInt(p + 4, r.Top + YO);
        PutInt(p + 8, r.Right + XO);
        PutInt(p + 12, r.Bottom + YO);
        p += 16;
    }
    return data;
}

std::size_t CreateRgnFromBmp(TBitmap* B, int XO, int YO, std::vector<std::uint8_t>& RgnData) {
    RgnData.clear();
    if (!B || B->Empty())
        return 0;
    // A 32-bit picture is read in place; others through a 24-bit copy.
    const TPixelView direct = View32(B);
    if (!direct.Empty()) {
        RgnData = BuildRegionData(ScanMaskRuns(direct), XO, YO, B->Width(), B->Height());
        return RgnData.size();
    }
    TbsFBitmap reader(B->Handle(), B->Canvas()->Handle());
    if (!reader.Bits)
        return 0;
    RgnData = BuildRegionData(ScanMaskRuns(reader.View()), XO, YO, B->Width(), B->Height());
    return RgnData.size();
}

// ---- TbsFBitmap -----------------------------------------------------------------------------------------------------

TbsFBitmap::TbsFBitmap(HBITMAP HBmp, HDC SourceDC) {
    BITMAP bm{};
    if (!HBmp || ::GetObjectW(HBmp, sizeof bm, &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight == 0)
        return;
    Width = bm.bmWidth;
    Height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    Initialize();
    if (!hDC)
        return;
    if (SourceDC) {
        ::BitBlt(hDC, 0, 0, Width, Height, SourceDC, 0, 0, SRCCOPY);
    } else {
        TMemoryDC source(nullptr);
        source.Select(HBmp);
        ::BitBlt(hDC, 0, 0, Width, Height, source, 0, 0, SRCCOPY);
    }
    ::GdiFlush();
}

void TbsFBitmap::Initialize() {
    Gap = Width % 4;
    RowInc = Width * 3 + Gap;
    Size = std::size_t(RowInc) * Height;
    bmInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmInfo.bmiHeader.biWidth = Width;
    bmInfo.bmiHeader.biHeight = -Height;  // rows top-down
    bmInfo.bmiHeader.biPlanes = 1;
    bmInfo.bmiHeader.biBitCount = 24;
    bmInfo.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(::CreateDIBSection(nullptr, &bmInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits) {
        bitmap_.Reset();
        Width = Height = 0;
        return;
    }
    Handle = bitmap_.Get();
    Bits = static_cast<std::uint8_t*>(bits);
    Pixels.resize(Height);
    for (int y = 0; y < Height; ++y)
        Pixels[y] = Bits + std::size_t(y) * RowInc;
    if (dc_) {
        dc_.Select(Handle);
        hDC = dc_.Get();
    }
}

TbsFBitmap::~TbsFBitmap() = default;
