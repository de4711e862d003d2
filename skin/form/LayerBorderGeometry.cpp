#include "skin/form/LayerBorderGeometry.h"

#include <algorithm>

namespace {

// Skin records say "none" with a rectangle of no area.
bool IsNull(const TRect& R) {
    return R.IsEmpty();
}

// A band of rows (or columns) repeated to fill Length, the last copy cut; nothing for a band of no extent.
void TileDown(TbsLayerImagePlan& P, const TRect& Band) {
    const int bh = Band.Height();
    if (bh <= 0 || Band.Width() <= 0)
        return;
    for (int y = 0; y < P.Height; y += bh) {
        const int h = std::min(bh, P.Height - y);
        P.Copies.push_back({TRect{Band.Left, Band.Top, Band.Right, Band.Top + h}, TRect{0, y, P.Width, y + h}});
    }
}

// The three pieces of a horizontal band: the left corner unscaled, the right corner at the right end, the middle
// stretched between them.
void HorizontalBand(TbsLayerImagePlan& P, int SW, int SrcTop, int SrcBottom, int LeftX, int RightX) {
    const int h = SrcBottom - SrcTop;
    const int rightAt = P.Width + RightX - SW;
    P.Copies.push_back({TRect{0, SrcTop, LeftX, SrcBottom}, TRect{0, 0, LeftX, h}});
    P.Copies.push_back({TRect{RightX, SrcTop, SW, SrcBottom}, TRect{rightAt, 0, P.Width, h}});
    P.Copies.push_back({TRect{LeftX, SrcTop, RightX, SrcBottom}, TRect{LeftX, 0, rightAt, h}});
    // Pieces of no extent copy nothing.
    P.Copies.erase(std::remove_if(P.Copies.begin(), P.Copies.end(),
                                  [](const TbsLayerCopy& c) { return c.Src.IsEmpty() || c.Dst.IsEmpty(); }),
                   P.Copies.end());
}

int Clamp(int V, int Min, int Max) {
    if (Max > 0)
        V = std::min(V, Max);
    return std::max(V, Min);
}

bool Hit(const TRect& R, TPoint P) {
    return R.Contains(P);
}

}  // namespace

TbsLayerSizes CalcLayerSizes(const TbsLayerFrameGeom& G) {
    TbsLayerSizes s;
    const bool noBorder = IsNull(G.BorderRect);
    const TRect& R = noBorder ? G.HitTestRect : G.BorderRect;
    if (noBorder && IsNull(G.HitTestRect))
        return s;
    const int l = G.ClRect.Left - R.Left, t = G.ClRect.Top - R.Top;
    const int r = R.Right - G.ClRect.Right, b = R.Bottom - G.ClRect.Bottom;
    if (!noBorder) {
        s.LeftSize = l;
        s.TopSize = t;
        s.RightSize = r;
        s.BottomSize = b;
    }
    s.HitLeftSize = l;
    s.HitTopSize = t;
    s.HitRightSize = r;
    s.HitBottomSize = b;
    s.HitTopLeftX = G.HitTestLTPoint.X - R.Left;
    s.HitTopLeftY = G.HitTestLTPoint.Y - R.Top;
    s.HitTopRightX = R.Right - G.HitTestRTPoint.X;
    s.HitTopRightY = G.HitTestRTPoint.Y - R.Top;
    s.HitBottomLeftX = G.HitTestLBPoint.X - R.Left;
    s.HitBottomLeftY = R.Bottom - G.HitTestLBPoint.Y;
    s.HitBottomRightX = R.Right - G.HitTestRBPoint.X;
    s.HitBottomRightY = R.Bottom - G.HitTestRBPoint.Y;
    return s;
}

TRect LayerOuterRect(const TbsLayerFrameGeom& G, const TRect& Form, bool NullHeight) {
    const int x = Form.Left + G.LeftOffset - G.ClRect.Left;
    const int y = Form.Top + G.TopOffset - G.ClRect.Top;
    const int h = NullHeight ? G.RollUpFormHeight : Form.Height() + G.HeightOffset;
    const int w = Form.Width() + G.WidthOffset + G.SW - G.ClRect.Width();
    return Bounds(x, y, w, h + G.SH - G.ClRect.Height());
}

TbsLayerImagePlans PlanLayerImages(const TbsLayerFrameGeom& G, int SW, int SH, int AWidth, int AHeight) {
    TbsLayerImagePlans p;
    if (AWidth <= 0 || AHeight <= 0 || SW <= 0 || SH <= 0)
        return p;
    const int th = std::min(std::max(G.LTPoint.Y, G.RTPoint.Y), AHeight);
    p.Top.Width = AWidth;
    p.Top.Height = th;
    if (th > 0)
        HorizontalBand(p.Top, SW, 0, th, G.LTPoint.X, G.RTPoint.X);

    const int fullBh = SH - std::min(G.LBPoint.Y, G.RBPoint.Y);
    const int bh = std::max(0, std::min(fullBh, AHeight - th));
    p.Bottom.Width = AWidth;
    p.Bottom.Height = bh;
    if (bh > 0)
        HorizontalBand(p.Bottom, SW, SH - bh, SH, G.LBPoint.X, G.RBPoint.X);

    const int lh = AHeight - th - bh;
    if (lh <= 0)
        return p;
    auto side = [&](TbsLayerImagePlan& P, int Left, int Right) {
        P.Width = std::max(0, Right - Left);
        P.Height = lh;
        const TRect band{Left, th, Right, SH - fullBh};
        if (P.Width <= 0 || band.Height() <= 0)
            return;
        if (G.FullStretch)
            P.Copies.push_back({band, TRect{0, 0, P.Width, lh}});
        else
            TileDown(P, band);
    };
    side(p.Left, 0, G.ClRect.Left);
    side(p.Right, G.ClRect.Right, SW);
    return p;
}

TbsLayerPlaces
LayerWindowPlaces(int X, int Y, int AWidth, int AHeight, int TopHeight, int BottomHeight, int RightWidth) {
    TbsLayerPlaces p;
    p.Top = {X, Y};
    p.Bottom = {X, Y + AHeight - BottomHeight};
    p.Left = {X, Y + TopHeight};
    p.Right = {X + AWidth - RightWidth, Y + TopHeight};
    return p;
}

int ScaleLayerAlpha(int Value, int FormAlpha) {
    const long long n = static_cast<long long>(Value) * FormAlpha;
    long long q = n / 255;
    const long long r = n % 255;
    // Twice the remainder never equals 255, so there is no tie to break.
    if (2 * r > 255)
        ++q;
    return static_cast<int>(q);
}

TbsFormLayerBorderHit GetHitMode(const TbsLayerFrameGeom& G, const TbsLayerSizes& S, const TbsLayerHitInput& In) {
    if (In.Object == lohCaption)
        return bsflCaption;
    if (In.Object == lohObject)
        return bsflObject;
    if (!In.CanChangeSize)
        return bsflhNone;
    const TRect& F = In.Form;
    const TPoint C = In.C;
    switch (In.BorderType) {
        case bsflLeft:
            return C.X >= F.Left - S.HitLeftSize ? bsflhLeft : bsflhNone;
        case bsflRight:
            return C.X > F.Right + S.HitRightSize ? bsflhNone : bsflhRight;
        case bsflTop: {
            TRect cap = G.CaptionRect;
            cap.Right += F.Width() - G.ClRect.Width();
            cap.Top = G.BorderRect.Top + G.HitTestSize;
            cap.Offset(In.Window.Left, In.Window.Top);
            const bool inCap = Hit(cap, C);
            const TRect tl{F.Left - S.HitLeftSize, F.Top - S.HitTopSize, F.Left + S.HitTopLeftX - S.HitLeftSize,
                           F.Top + S.HitTopLeftY - S.HitTopSize};
            const TRect tr{F.Right + S.HitRightSize - S.HitTopRightX, F.Top - S.HitTopSize, F.Right + S.HitRightSize,
                           F.Top + S.HitTopRightY - S.HitTopSize};
            const TRect t{tl.Right, tl.Top, tr.Left, tl.Top + G.HitTestSize};
            const TRect l{tl.Left, tl.Bottom, tl.Left + G.HitTestSize, In.Window.Bottom};
            const TRect r{tr.Left, tr.Bottom, tr.Right, In.Window.Bottom};
            if (Hit(tl, C) && !inCap)
                return bsflhTopLeft;
            if (Hit(t, C))
                return bsflhTop;
            if (Hit(tr, C) && !inCap)
                return bsflhTopRight;
            if (Hit(l, C) && !inCap)
                return bsflhLeft;
            if (Hit(r, C) && !inCap)
                return bsflhRight;
            return bsflhNone;
        }
        case bsflBottom: {
            const int bottom = F.Bottom + S.HitBottomSize;
            const TRect bl{F.Left - S.HitLeftSize, bottom - S.HitBottomLeftY, F.Left + S.HitBottomLeftX - S.HitLeftSize,
                           bottom};
            const TRect br{F.Right + S.HitRightSize - S.HitBottomRightX, bottom - S.HitBottomRightY,
                           F.Right + S.HitRightSize, bottom};
            const TRect b{bl.Right, bl.Top, br.Left, bl.Bottom};
            const TRect l{bl.Left, In.Window.Top, F.Left, bl.Top};
            const TRect r{F.Right, In.Window.Top, F.Right + S.HitRightSize, br.Top};
            if (Hit(bl, C))
                return bsflhBottomLeft;
            if (Hit(b, C))
                return bsflhBottom;
            if (Hit(br, C))
                return bsflhBottomRight;
            if (Hit(l, C))
                return bsflhLeft;
            if (Hit(r, C))
                return bsflhRight;
            return bsflhNone;
        }
    }
    return bsflhNone;
}

TbsLayerDragStep LayerDragStep(const TbsLayerFrameGeom& G, const TbsLayerSizes& S, const TbsLayerDragInput& In) {
    TbsLayerDragStep out;
    const TRect& F = In.Form;
    const int W = F.Width(), H = F.Height();
    const int dx = In.Dx, dy = In.Dy;
    // Growing outwards only while the cursor is still in the edge's hit band: a cursor that has left the band (the
    // form stopped at a limit) must come back before the edge follows again.
    const bool leftMayGrow = In.C.X <= F.Left + G.HitTestSize - S.LeftSize;
    const bool topMayGrow = In.C.Y <= F.Top + G.HitTestSize - S.TopSize;
    const bool rightMayGrow = In.C.X >= F.Right + S.RightSize - G.HitTestSize;
    const bool bottomMayGrow = In.C.Y >= F.Bottom + S.BottomSize - G.HitTestSize;

    // The horizontal part of a left-side drag: the right edge stays, so a clamped width drops the step.
    struct Part {
        bool ok = false;
        int size = 0, delta = 0;
    };
    auto leftPart = [&]() {
        Part p{false, W, 0};
        if (dx == 0 || (dx < 0 && !leftMayGrow))
            return p;
        const int nw = Clamp(W - dx, In.MinWidth, In.MaxWidth);
        if (nw == W || nw != W - dx)
            return p;
        return Part{true, nw, dx};
    };
    auto topPart = [&]() {
        Part p{false, H, 0};
        if (dy == 0 || (dy < 0 && !topMayGrow))
            return p;
        const int nh = Clamp(H - dy, In.MinHeight, In.MaxHeight);
        if (nh == H || nh != H - dy)
            return p;
        return Part{true, nh, dy};
    };
    auto rightPart = [&]() {
        Part p{false, W, 0};
        if (dx == 0 || (dx > 0 && !rightMayGrow))
            return p;
        const int nw = Clamp(W + dx, In.MinWidth, In.MaxWidth);
        if (nw == W)
            return p;
        return Part{true, nw, 0};
    };
    auto bottomPart = [&]() {
        Part p{false, H, 0};
        if (dy == 0 || (dy > 0 && !bottomMayGrow))
            return p;
        const int nh = Clamp(H + dy, In.MinHeight, In.MaxHeight);
        if (nh == H)
            return p;
        return Part{true, nh, 0};
    };
    auto apply = [&](Part h, Part v) {
        if (!h.ok && !v.ok)
            return;
        out.Apply = true;
        out.Form = Bounds(F.Left + h.delta, F.Top + v.delta, h.size, v.size);
        out.MoveBorderFirst = v.delta > 0;
    };
    const Part none{false, 0, 0};
    switch (In.Mode) {
        case bsflhLeft:
            apply(leftPart(), Part{false, H, 0});
            break;
        case bsflhTop:
            apply(Part{false, W, 0}, topPart());
            break;
        case bsflhRight:
            apply(rightPart(), Part{false, H, 0});
            break;
        case bsflhBottom:
            apply(Part{false, W, 0}, bottomPart());
            break;
        case bsflhTopLeft:
            apply(leftPart(), topPart());
            break;
        case bsflhTopRight:
            apply(rightPart(), topPart());
            break;
        case bsflhBottomLeft:
            apply(leftPart(), bottomPart());
            break;
        case bsflhBottomRight:
            apply(rightPart(), bottomPart());
            break;
        case bsflCaption:
            if (dx != 0 || dy != 0) {
                out.Apply = true;
                out.Form = Bounds(F.Left + dx, F.Top + dy, W, H);
                out.MoveBorderFirst = dy >= 1;
            }
            break;
        default:
            (void)none;
            break;
    }
    return out;
}

TRect LayerRestoreByDrag(const TRect& Form, int NormalHeight, int NormalWidth, TPoint C, const TRect& WorkArea) {
    int left = C.X - NormalWidth / 2;
    left = std::min(left, WorkArea.Right - NormalWidth);
    left = std::max(left, WorkArea.Left);
    return Bounds(left, Form.Top, NormalWidth, NormalHeight);
}

void LayLayerObjects(const TbsLayerFrameGeom& G,
                     int TopWidth,
                     int ButtonsOffset,
                     std::vector<TbsFrameObject>& Objects,
                     bool ShowIcon,
                     int IconW,
                     int IconH) {
    const int widen = TopWidth - G.SW;
    TRect cap = G.CaptionRect;
    cap.Right += widen;
    int x = 0, y = 0;
    TRect buttons = G.ButtonsRect;
    const bool noButtonsRect = IsNull(buttons);
    if (noButtonsRect) {
        x = cap.Right;
        y = G.ButtonsTopOffset != 0 ? G.ButtonsTopOffset : cap.Top;
    } else {
        buttons.Offset(widen, 0);
        x = buttons.Right;
        y = buttons.Top;
    }
    for (TbsStdCommand cmd : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray}) {
        for (auto& o : Objects) {
            if (o.Kind != fokStdButton || o.Command != cmd || !o.Visible || !o.SkinRectInAPicture)
                continue;
            const int w = o.SkinRect.Width(), h = o.SkinRect.Height();
            o.ObjectRect = TRect{x - w, y, x, y + h};
            x -= w + ButtonsOffset;
            break;
        }
    }
    TbsFrameObject* caption = nullptr;
    for (auto& o : Objects) {
        if (o.Kind == fokCaption) {
            caption = &o;
            break;
        }
    }
    int captionLeft = cap.Left;
    for (auto& o : Objects) {
        if (o.Kind != fokStdButton || o.Command != cmSysMenu || !o.Visible)
            continue;
        int w = o.SkinRect.Width(), h = o.SkinRect.Height();
        if (ShowIcon) {
            w = IconW;
            h = IconH;
        }
        if (IsNull(G.SysMenuButtonRect)) {
            int top = (cap.Top + cap.Bottom) / 2 - h / 2;
            if (G.SysButtonTopOffset != 0 && !ShowIcon)
                top = G.SysButtonTopOffset;
            o.ObjectRect = TRect{cap.Left, top, cap.Left + w, top + h};
        } else {
            const TRect& m = G.SysMenuButtonRect;
            const int top = m.Top + (m.Height() - h) / 2;
            o.ObjectRect = TRect{m.Left, top, m.Left + w, top + h};
        }
        // The caption text starts after the button, so that the two never overlap.
        captionLeft = std::max(captionLeft, o.ObjectRect.Right);
        break;
    }
    if (caption) {
        const int right = (noButtonsRect ? x : buttons.Left) - ButtonsOffset;
        caption->ObjectRect = TRect{captionLeft, cap.Top, std::max(captionLeft, right), cap.Bottom};
    }
}

TbsLayerBlurRects LayerBlurRects(const TbsLayerFrameGeom& G, int TopWidth, int LeftHeight, int RightHeight) {
    TbsLayerBlurRects b;
    const int x = TopWidth - G.SW;
    const TRect& I = G.IntersectBlurMaskRect;
    const TRect& E = G.ExcludeBlurMaskRect;
    b.CornerShift = x;
    b.Top = TRect{G.LTPoint.X, I.Top, x + G.RTPoint.X, E.Top};
    b.Bottom = TRect{G.LBPoint.X, E.Bottom - G.LBPoint.Y, x + G.RBPoint.X, I.Bottom - G.LBPoint.Y};
    b.Left = TRect{I.Left, 0, E.Left, LeftHeight};
    b.Right = TRect{E.Right - G.ClRect.Right, 0, I.Right - G.ClRect.Right, RightHeight};
    return b;
}
