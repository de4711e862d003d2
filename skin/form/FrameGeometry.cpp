#include "skin/form/FrameGeometry.h"

#include <algorithm>

namespace {

int RectW(const TRect& R) {
    return R.Right - R.Left;
}
int RectH(const TRect& R) {
    return R.Bottom - R.Top;
}
bool IsNull(const TRect& R) {
    return RectW(R) <= 0 || RectH(R) <= 0;
}
// Right and bottom edges included, as the skin's corner areas are meant.
bool InRectIncl(const TRect& R, const TPoint& P) {
    return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}
// Half-open, as windows test points.
bool InRect(const TRect& R, const TPoint& P) {
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}
bool RectIn(const TRect& Inner, const TRect& Outer) {
    return InRectIncl(Outer, TPoint{Inner.Left, Inner.Top}) && InRectIncl(Outer, TPoint{Inner.Right, Inner.Bottom});
}
TRect Moved(TRect R, int Dx, int Dy) {
    return TRect{R.Left + Dx, R.Top + Dy, R.Right + Dx, R.Bottom + Dy};
}

}  // namespace

int DefCaptionHeight(bool ToolWindow) {
    return ToolWindow ? 15 : 19;
}

int DefButtonSize(bool ToolWindow) {
    return ToolWindow ? 13 : 17;
}

TbsFrameRects CalcRects(const TbsFrameSkin& S, int W, int H) {
    TbsFrameRects N;
    const int dx = W - S.Pw;
    const int dy = H - S.Ph;
    N.NewLTPoint = S.LTPoint;
    N.NewRTPoint = TPoint{S.RTPoint.X + dx, S.RTPoint.Y};
    N.NewLBPoint = TPoint{S.LBPoint.X, S.LBPoint.Y + dy};
    N.NewRBPoint = TPoint{S.RBPoint.X + dx, S.RBPoint.Y + dy};
    N.NewClRect = TRect{S.ClRect.Left, S.ClRect.Top, S.ClRect.Right + dx, S.ClRect.Bottom + dy};
    N.NewCaptionRect = S.CaptionRect;
    if (!IsNull(S.CaptionRect))
        N.NewCaptionRect.Right += dx;
    N.NewButtonsRect = S.ButtonsRect;
    N.NewButtonsInLeft = S.CapButtonsInLeft;
    if (!IsNull(S.ButtonsRect)) {
        if (S.ButtonsRect.Left > S.Pw / 2)
            N.NewButtonsRect = Moved(S.ButtonsRect, dx, 0);
        else
            N.NewButtonsInLeft = true;
    }
    N.NewButtonsOffset = S.ButtonsOffset;
    N.NewHitTestLTPoint = S.HitTestLTPoint;
    N.NewHitTestRTPoint = TPoint{S.HitTestRTPoint.X + dx, S.HitTestRTPoint.Y};
    N.NewHitTestLBPoint = TPoint{S.HitTestLBPoint.X, S.HitTestLBPoint.Y + dy};
    N.NewHitTestRBPoint = TPoint{S.HitTestRBPoint.X + dx, S.HitTestRBPoint.Y + dy};
    N.NewMaskRectArea = S.MaskRectArea;
    N.NewMaskRectArea.Right += dx;
    N.NewMaskRectArea.Bottom += dy;
    return N;
}

TRect CalcRealObjectRect(const TbsFrameSkin& S, const TbsFrameRects& N, const TRect& R) {
    const TRect LT{0, 0, S.LTPoint.X, S.LTPoint.Y};
    const TRect RT{S.RTPoint.X, 0, S.Pw, S.RTPoint.Y};
    const TRect LB{0, S.LBPoint.Y, S.LBPoint.X, S.Ph};
    const TRect RB{S.RBPoint.X, S.RBPoint.Y, S.Pw, S.Ph};
    const int dx = N.NewRBPoint.X - S.RBPoint.X;
    const int dy = N.NewRBPoint.Y - S.RBPoint.Y;
    if (RectIn(R, LT))
        return R;
    if (RectIn(R, RT))
        return Moved(R, dx, 0);
    if (RectIn(R, LB))
        return Moved(R, 0, dy);
    if (RectIn(R, RB))
        return Moved(R, dx, dy);
    const TPoint TL{R.Left, R.Top}, BR{R.Right, R.Bottom};
    TRect Out = R;
    if (InRectIncl(LT, TL) && InRectIncl(RB, BR)) {
        Out.Right += dx;
        Out.Bottom += dy;
    } else if (InRectIncl(LT, TL) && InRectIncl(RT, BR)) {
        Out.Right += dx;
    } else if (InRectIncl(LB, TL) && InRectIncl(RB, BR)) {
        Out.Right += dx;
        Out = Moved(Out, 0, dy);
    } else if (InRectIncl(LT, TL) && InRectIncl(LB, BR)) {
        Out.Bottom += dy;
    } else if (InRectIncl(RT, TL) && InRectIncl(RB, BR)) {
        Out = Moved(Out, dx, 0);
        Out.Bottom += dy;
    }
    return Out;
}

namespace {

// The caption-row commands in the order the row is filled.
constexpr TbsStdCommand kRowOrder[] = {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray};

TbsFrameObject* FindButton(std::vector<TbsFrameObject>& Objects, TbsStdCommand Command) {
    for (auto& O : Objects) {
        if (O.Kind == fokStdButton && O.Visible && O.SkinRectInAPicture && O.Command == Command)
            return &O;
    }
    return nullptr;
}

TbsFrameObject* FindCaption(std::vector<TbsFrameObject>& Objects) {
    for (auto& O : Objects) {
        if (O.Kind == fokCaption)
            return &O;
    }
    return nullptr;
}

void ButtonSize(const TbsFrameObject& O, bool ShowIcon, int IconW, int IconH, int& W, int& H) {
    if (O.Command == cmSysMenu && ShowIcon) {
        W = IconW;
        H = IconH;
        return;
    }
    W = RectW(O.SkinRect);
    H = RectH(O.SkinRect);
}

}  // namespace

void CalcAllRealObjectRect(const TbsFrameSkin& S,
                           const TbsFrameRects& N,
                           std::vector<TbsFrameObject>& Objects,
                           bool ShowIcon,
                           int IconW,
                           int IconH) {
    for (auto& O : Objects) {
        if (!O.SkinRectInAPicture)
            O.ObjectRect = CalcRealObjectRect(S, N, O.SkinRect);
    }
    TRect Row;
    if (!IsNull(N.NewButtonsRect))
        Row = N.NewButtonsRect;
    else if (!IsNull(N.NewCaptionRect))
        Row = N.NewCaptionRect;
    else
        return;
    const bool NoButtonsRect = IsNull(N.NewButtonsRect);
    TbsFrameObject* Caption = FindCaption(Objects);
    std::vector<TbsFrameObject*> Row_;
    for (TbsStdCommand C : kRowOrder) {
        if (TbsFrameObject* B = FindButton(Objects, C))
            Row_.push_back(B);
    }
    for (auto& O : Objects) {
        if (O.Kind == fokStdButton && O.Visible && O.SkinRectInAPicture && O.Command == cmDefault)
            Row_.push_back(&O);
    }
    TbsFrameObject* Sys = FindButton(Objects, cmSysMenu);
    const int y = Row.Top;
    int w = 0, h = 0;
    if (!N.NewButtonsInLeft) {
        int x = Row.Right;
        for (TbsFrameObject* B : Row_) {
            ButtonSize(*B, ShowIcon, IconW, IconH, w, h);
            B->ObjectRect = TRect{x - w, y, x, y + h};
            x -= w + N.NewButtonsOffset;
        }
        if (NoButtonsRect && Caption)
            Caption->ObjectRect.Right = x + N.NewButtonsOffset;
        if (Sys) {
            ButtonSize(*Sys, ShowIcon, IconW, IconH, w, h);
            const int top = N.NewCaptionRect.Top + RectH(N.NewCaptionRect) / 2 - h / 2;
            Sys->ObjectRect = TRect{N.NewCaptionRect.Left, top, N.NewCaptionRect.Left + w, top + h};
            if (Caption)
                Caption->ObjectRect.Left = Sys->ObjectRect.Right;
        }
    } else {
        if (NoButtonsRect && Sys)
            Row_.push_back(Sys);
        int x = Row.Left;
        for (TbsFrameObject* B : Row_) {
            ButtonSize(*B, ShowIcon, IconW, IconH, w, h);
            B->ObjectRect = TRect{x, y, x + w, y + h};
            x += w + N.NewButtonsOffset;
        }
        if (NoButtonsRect && Caption)
            Caption->ObjectRect.Left = x + N.NewButtonsOffset;
    }
}

TRect CalcDefRects(std::vector<TbsFrameObject>& Objects, int W, bool ToolWindow, bool ShowIcon, int IconW, int IconH) {
    TRect Caption{kDefBorder, kDefBorder, W - kDefBorder, DefCaptionHeight(ToolWindow)};
    if (Objects.empty())
        return Caption;
    const int s = DefButtonSize(ToolWindow);
    int x = W - kDefBorder;
    for (TbsStdCommand C : kRowOrder) {
        if (TbsFrameObject* B = FindButton(Objects, C)) {
            B->ObjectRect = TRect{x - s, 4, x, 4 + s};
            x -= s;
        }
    }
    Caption.Right = x;
    if (TbsFrameObject* Sys = FindButton(Objects, cmSysMenu)) {
        const int w = ShowIcon ? IconW : s;
        const int h = ShowIcon ? IconH : s;
        Sys->ObjectRect = TRect{Caption.Left, 4, Caption.Left + w, 4 + h};
        Caption.Left = Sys->ObjectRect.Right;
    }
    return Caption;
}

namespace {
TRect NotNegative(TRect R) {
    R.Right = std::max(R.Right, R.Left);
    R.Bottom = std::max(R.Bottom, R.Top);
    return R;
}
}  // namespace

TRect SkinClientRect(const TbsFrameSkin& S, const TRect& Window) {
    return NotNegative(TRect{Window.Left + S.ClRect.Left, Window.Top + S.ClRect.Top,
                             Window.Right - (S.Pw - S.ClRect.Right), Window.Bottom - (S.Ph - S.ClRect.Bottom)});
}

TRect DefClientRect(const TRect& Window, bool ToolWindow) {
    return NotNegative(TRect{Window.Left + kDefBorder, Window.Top + kDefBorder + DefCaptionHeight(ToolWindow),
                             Window.Right - kDefBorder, Window.Bottom - kDefBorder});
}

int SkinNCHitTest(const TbsFrameSkin& S,
                  const TbsFrameRects& N,
                  const TbsHitState& St,
                  TPoint P,
                  const std::function<bool(TPoint)>& InCaption,
                  const std::function<bool(TPoint)>& PtInMask) {
    const bool inCaption = InCaption && InCaption(P);
    if (St.RolledUpOrMinimized)
        return inCaption ? kHitCaption : kHitObject;
    const bool inClient = InRect(N.NewClRect, P);
    if (St.ObjectHot && !inCaption && !inClient && !St.SizeMove)
        return kHitObject;
    if (!St.Maximized && St.Sizeable) {
        const int b = S.BorderW;
        const TPoint probes[4] = {{P.X - b, P.Y}, {P.X, P.Y - b}, {P.X + b, P.Y}, {P.X, P.Y + b}};
        bool canHit = false;
        if (!PtInMask) {
            const TRect Whole{0, 0, St.W, St.H};
            for (const TPoint& q : probes)
                canHit = canHit || !InRect(Whole, q);
        } else if (!InRect(N.NewMaskRectArea, P)) {
            for (const TPoint& q : probes)
                canHit = canHit || !PtInMask(q);
        }
        if (canHit) {
            if (P.X <= N.NewHitTestLTPoint.X && P.Y <= N.NewHitTestLTPoint.Y)
                return kHitTopLeft;
            if (P.X >= N.NewHitTestRTPoint.X && P.Y <= N.NewHitTestRTPoint.Y)
                return kHitTopRight;
            if (P.X <= N.NewHitTestLBPoint.X && P.Y >= N.NewHitTestLBPoint.Y)
                return kHitBottomLeft;
            if (P.X >= N.NewHitTestRBPoint.X && P.Y >= N.NewHitTestRBPoint.Y)
                return kHitBottomRight;
            if (InRect(TRect{N.NewHitTestLTPoint.X, 0, N.NewHitTestRTPoint.X, N.NewClRect.Top}, P))
                return kHitTop;
            if (InRect(TRect{N.NewHitTestLBPoint.X, N.NewClRect.Bottom, N.NewHitTestRBPoint.X, St.H}, P))
                return kHitBottom;
            if (InRect(TRect{0, N.NewHitTestLTPoint.Y, N.NewClRect.Left, N.NewHitTestLBPoint.Y}, P))
                return kHitLeft;
            if (InRect(TRect{N.NewClRect.Right, N.NewHitTestRTPoint.Y, St.W, N.NewHitTestRBPoint.Y}, P))
                return kHitRight;
        }
    }
    if (inClient)
        return kHitClient;
    return inCaption ? kHitCaption : kHitObject;
}

int DefNCHitTest(const TbsHitState& St, const TRect& DefCaptionRect, TPoint P, bool ToolWindow) {
    const int W = St.W, H = St.H;
    if (St.Sizeable && !St.Maximized && !St.RolledUpOrMinimized) {
        if (St.ObjectHot)
            return kHitObject;
        const bool left = P.X <= 2, top = P.Y <= 2, right = P.X >= W - 2, bottom = P.Y >= H - 2;
        if (left && top)
            return kHitTopLeft;
        if (right && top)
            return kHitTopRight;
        if (left && bottom)
            return kHitBottomLeft;
        if (right && bottom)
            return kHitBottomRight;
        if (left)
            return kHitLeft;
        if (top)
            return kHitTop;
        if (right)
            return kHitRight;
        if (bottom)
            return kHitBottom;
    }
    if (InRect(DefCaptionRect, P))
        return kHitCaption;
    if (InRect(TRect{kDefBorder, DefCaptionHeight(ToolWindow) + kDefBorder, W - kDefBorder, H - kDefBorder}, P))
        return kHitClient;
    return kHitObject;
}

int GetMinWidth(const TbsFrameSkin* S, const TbsSizeLimits& L, const TbsLimitState& St) {
    if (!S) {
        if (L.MinClientWidth > 0)
            return St.HasBorder ? L.MinClientWidth + 2 * kDefBorder : L.MinClientWidth;
        return L.MinWidth >= 1 ? L.MinWidth : kDefMinWidth;
    }
    if (L.MinClientWidth > 0 && !St.Minimized && St.SkinnableFrame)
        return St.HasBorder ? S->Pw + L.MinClientWidth - RectW(S->ClRect) : L.MinClientWidth;
    if (S->Pw < L.MinWidth && !St.Minimized)
        return L.MinWidth;
    if (S->FormMinWidth >= 1 && (S->FormMinWidth >= L.MinWidth || St.Minimized))
        return S->FormMinWidth;
    if (S->FormMinWidth < 1)
        return S->Pw;
    return L.MinWidth;
}

int GetMinHeight(const TbsFrameSkin* S, const TbsSizeLimits& L, const TbsLimitState& St) {
    const bool free = !St.Minimized && !St.RolledUp;
    if (!S) {
        const int bar = DefCaptionHeight(St.ToolWindow) + 2 * kDefBorder;
        if (L.MinClientHeight >= 1 && free)
            return St.HasBorder ? L.MinClientHeight + bar : L.MinClientHeight;
        return (L.MinHeight > bar && free) ? L.MinHeight : bar;
    }
    if (L.MinClientHeight >= 1 && free && St.SkinnableFrame)
        return St.HasBorder ? S->Ph + L.MinClientHeight - RectH(S->ClRect) : L.MinClientHeight;
    if (S->FormMinHeight != 0)
        return (S->FormMinHeight < L.MinHeight && free) ? L.MinHeight : S->FormMinHeight;
    const int frame = S->Ph - RectH(S->ClRect);
    return (L.MinHeight > frame && free) ? L.MinHeight : frame;
}

namespace {
int MaxOf(int SkinExtent,
          int ClientExtent,
          int Max,
          int MaxClient,
          int Frame,
          const TbsFrameSkin* S,
          const TbsLimitState& St,
          int WorkArea) {
    if (MaxClient < 1 || St.Maximized)
        return Max != 0 ? Max : WorkArea;
    if (!S)
        return St.HasBorder ? MaxClient + Frame : MaxClient;
    if (!St.SkinnableFrame)
        return WorkArea;
    if (!St.HasBorder)
        return MaxClient;
    return SkinExtent + MaxClient - ClientExtent;
}
}  // namespace

int GetMaxWidth(const TbsFrameSkin* S, const TbsSizeLimits& L, const TbsLimitState& St, int WorkArea) {
    return MaxOf(S ? S->Pw : 0, S ? RectW(S->ClRect) : 0, L.MaxWidth, L.MaxClientWidth, 2 * kDefBorder, S, St,
                 WorkArea);
}

int GetMaxHeight(const TbsFrameSkin* S, const TbsSizeLimits& L, const TbsLimitState& St, int WorkArea) {
    return MaxOf(S ? S->Ph : 0, S ? RectH(S->ClRect) : 0, L.MaxHeight, L.MaxClientHeight,
                 DefCaptionHeight(St.ToolWindow) + 2 * kDefBorder, S, St, WorkArea);
}
