#include "skin/controls/NcArrowScroller.h"

#include <windowsx.h>

#include <algorithm>

#include "classlib/GdiHandles.h"
#include "skin/controls/ControlGeometry.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/form/SkinForm.h"

namespace {
constexpr TColor kFrameHot = 0xB76B3B, kFillHot = 0xF3D4C1, kFillDown = 0xE4BCA2;
constexpr unsigned kFirstRepeatDelay = 300;
constexpr unsigned kLeaveCheckInterval = 100;
constexpr LRESULT kSencPaintAnswer = 12851;
constexpr LPARAM kBencPaintKey = 16802;

}  // namespace

int ChildrenEnd(TWinControl* Host, bool Vertical) {
    int end = 0;
    for (int i = 0; i < Host->ControlCount(); ++i) {
        TControl* c = Host->Controls(i);
        if (c->Visible())
            end = std::max(end, Vertical ? c->Top() + c->Height() : c->Left() + c->Width());
    }
    return end;
}

void ScrollChildren(TWinControl* Host, int Distance, bool Vertical) {
    for (int i = 0; i < Host->ControlCount(); ++i) {
        TControl* c = Host->Controls(i);
        if (Vertical)
            c->SetBounds(c->Left(), c->Top() - Distance, c->Width(), c->Height());
        else
            c->SetBounds(c->Left() - Distance, c->Top(), c->Width(), c->Height());
    }
}

TbsNcArrowScroller::TbsNcArrowScroller(TWinControl* Host) : FHost(Host) {}

TbsNcArrowScroller::~TbsNcArrowScroller() {
    StopTimers();
}

void TbsNcArrowScroller::SetScrollOffset(int Value) {
    if (Value >= 0)
        FScrollOffset = Value;
}

void TbsNcArrowScroller::SetScrollTimerInterval(int Value) {
    if (Value > 0)
        FScrollTimerInterval = Value;
}

int TbsNcArrowScroller::ClientExtent() {
    return Vertical ? FHost->ClientHeight() : FHost->ClientWidth();
}

// ---- Range and steps ------------------------------------------------------------------------------------------------
void TbsNcArrowScroller::GetRange() {
    // Showing or hiding the arrows resizes the client area, and the host's realignment asks again.
    if (FInRange)
        return;
    TbsUpdateGuard guard(FInRange);
    const int e = ContentEnd ? ContentEnd() : 0;
    int c = ClientExtent();
    if (e != 0 && e + S.SPosition > c) {
        if (!Buttons[1].Visible) {
            SetButtonsVisible(true);
            c = ClientExtent();
        }
        if (const int move = NcRangeOverflow(S, e, c))
            MoveBy(-move);
        return;
    }
    if (e != 0)
        if (const int move = NcRangeFits(S))
            MoveBy(-move);
    if (Buttons[1].Visible)
        SetButtonsVisible(false);
}

void TbsNcArrowScroller::MoveBy(int Distance) {
    TbsUpdateGuard guard(Updating);
    if (ScrollContent)
        ScrollContent(Distance);
    RepaintNC();
}

void TbsNcArrowScroller::ButtonClick(int I) {
    const int move = NcPageStep(S, I == 1, NcStepSize(FScrollOffset, ClientExtent()));
    if (move == 0) {
        StopTimer();
        return;
    }
    MoveBy(move);
    GetRange();
}

void TbsNcArrowScroller::SetButtonsVisible(bool Value) {
    if (Buttons[0].Visible == Value)
        return;
    Buttons[0].Visible = Buttons[1].Visible = Value;
    UpdateNC();
}

void TbsNcArrowScroller::UpdateNC() {
    if (FHost->HandleAllocated())
        SetWindowPos(FHost->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TbsNcArrowScroller::RepaintNC() {
    if (FHost->HandleAllocated())
        SendMessageW(FHost->Handle(), WM_NCPAINT, 1, 0);
}

void TbsNcArrowScroller::PlaceButtons() {
    const int w = FHost->Width(), h = FHost->Height();
    if (Vertical) {
        Buttons[0].R = {0, 0, w, kNcArrowSize};
        Buttons[1].R = {0, h - kNcArrowSize, w, h};
    } else {
        Buttons[0].R = {0, 0, kNcArrowSize, h};
        Buttons[1].R = {w - kNcArrowSize, 0, w, h};
    }
    if (Buttons[0].Visible || Buttons[1].Visible)
        RepaintNC();
}

void TbsNcArrowScroller::Reset() {
    S = TbsNcScrollRange{};
    Buttons[0].Visible = Buttons[1].Visible = false;
    FMouseIn = false;
    UpdateNC();
}

// ---- Timers ---------------------------------------------------------------------------------------------------------
void TbsNcArrowScroller::StartTimer() {
    if (!FTimer1) {
        FTimer1 = ControlSeam().NewTimer();
        FTimer1->OnTick = [this] { OnTimer1(); };
    }
    FTimer1->Stop();
    FTimer1->Start(FStartScroll || HotScroll ? static_cast<unsigned>(FScrollTimerInterval) : kFirstRepeatDelay);
}

void TbsNcArrowScroller::StopTimer() {
    if (FTimer1)
        FTimer1->Stop();
    TimerMode = 0;
}

void TbsNcArrowScroller::OnTimer1() {
    if (FStartScroll || HotScroll) {
        if (TimerMode == 1)
            ButtonClick(0);
        else if (TimerMode == 2)
            ButtonClick(1);
        return;
    }
    FStartScroll = true;
    StartTimer();
}

void TbsNcArrowScroller::StartLeaveCheck() {
    if (FMouseTimerActive || FCapturedButton != 0)
        return;
    if (!FTimer2) {
        FTimer2 = ControlSeam().NewTimer();
        FTimer2->OnTick = [this] { OnTimer2(); };
    }
    FTimer2->Start(kLeaveCheckInterval);
    FMouseTimerActive = true;
}

void TbsNcArrowScroller::OnTimer2() {
    if (FHost->HandleAllocated() && ControlSeam().WindowUnderCursor() == FHost->Handle() && FCapturedButton == 0)
        return;
    FTimer2->Stop();
    FMouseTimerActive = false;
    if (FCapturedButton == 0)
        DoMouseLeave();
}

void TbsNcArrowScroller::StopTimers() {
    if (FTimer1)
        FTimer1->Stop();
    TimerMode = 0;
    if (FTimer2)
        FTimer2->Stop();
    FMouseTimerActive = false;
    FMouseIn = false;
}

void TbsNcArrowScroller::DoMouseLeave() {
    FMouseIn = false;
    if (FHost->HandleAllocated() && ControlSeam().WindowUnderCursor() == FHost->Handle())
        return;
    for (TbsNcArrow& b : Buttons) {
        if (b.MouseIn) {
            if (TimerMode != 0)
                StopTimer();
            b.MouseIn = false;
            RepaintNC();
            return;
        }
    }
}

// ---- Painting -------------------------------------------------------------------------------------------------------
void TbsNcArrowScroller::DrawButton(HDC DC, int I) {
    TbsNcArrow& a = Buttons[I];
    a.Enabled = I == 0 ? NcBackEnabled(S) : NcForwardEnabled(S);
    const int w = a.R.Width(), h = a.R.Height();
    if (w < 1 || h < 1)
        return;
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    const bool pressedLook = a.MouseIn && (a.Down || HotScroll);
    TbsSkinData* sd = ArrowSkin ? ArrowSkin() : nullptr;
    auto* e = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(sd, LookupSkinEntry(sd, ArrowEntry)));
    TBitmap* pic = e ? SkinPictureAt(sd, e->PictureIndex) : nullptr;
    TColor arrow = clWindowText;
    if (e && pic) {
        TRect r = e->SkinRect;
        if (!a.Enabled) {
            r = e->DisabledSkinRect.IsEmpty() ? e->SkinRect : e->DisabledSkinRect;
            arrow = static_cast<TColor>(e->DisabledFontColor);
        } else if (!e->DownSkinRect.IsEmpty() && pressedLook) {
            r = e->DownSkinRect;
            arrow = static_cast<TColor>(e->DownFontColor);
        } else if (!a.MouseIn || e->ActiveSkinRect.IsEmpty()) {
            arrow = static_cast<TColor>(e->FontColor);
        } else {
            r = e->ActiveSkinRect;
            arrow = static_cast<TColor>(e->ActiveFontColor);
        }
        TbsControlGeometry g;
        g.CopyFrom(*e);
        g.ResizeMode = rmBoth;
        int gw = w, gh = h;
        g.CalcSize(true, gw, gh);
        if (RectInPicture(r, pic))
            CreateSkinImage(g.LTPt, g.RTPt, g.LBPt, g.RBPt, g.ClRect, g.NewLTPoint, g.NewRTPoint, g.NewLBPoint,
                            g.NewRBPoint, g.NewClRect, &b, pic, r, w, h, true, g.LeftStretch, g.TopStretch,
                            g.RightStretch, g.BottomStretch, g.StretchEffect, g.StretchType);
    } else {
        const int kind = pressedLook ? 2 : a.MouseIn ? 1 : 0;
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(kind == 0 ? TColor(clBtnShadow) : kFrameHot);
        c->FrameRect({0, 0, w, h});
        c->Brush()->SetColor(kind == 0 ? TColor(clBtnFace) : kind == 1 ? kFillHot : kFillDown);
        c->FillRect({1, 1, w - 1, h - 1});
    }
    // Kinds: 1 left, 2 right, 3 up, 4 down.
    DrawArrowImage(c, {0, 0, w, h}, arrow, Vertical ? (I == 0 ? 3 : 4) : (I == 0 ? 1 : 2));
    BitBlt(DC, a.R.Left, a.R.Top, w, h, c->Handle(), 0, 0, SRCCOPY);
}

bool TbsNcArrowScroller::DrawButtons(HDC DC) {
    if (!DC || (!Buttons[0].Visible && !Buttons[1].Visible))
        return false;
    for (int i = 0; i < 2; ++i)
        if (Buttons[i].Visible)
            DrawButton(DC, i);
    return true;
}

// ---- Messages -------------------------------------------------------------------------------------------------------
bool TbsNcArrowScroller::OnBackZone(TPoint P) {
    return Vertical ? P.Y < 0 : P.X < 0;
}

bool TbsNcArrowScroller::OnForwardZone(TPoint P) {
    // The forward arrow starts at the client extent itself.
    return Vertical ? P.Y >= FHost->ClientHeight() : P.X >= FHost->ClientWidth();
}

bool TbsNcArrowScroller::HandleMessage(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCCALCSIZE: {
            auto* r = reinterpret_cast<RECT*>(Message.LParam);
            if (Buttons[0].Visible)
                (Vertical ? r->top : r->left) += kNcArrowSize;
            if (Buttons[1].Visible)
                (Vertical ? r->bottom : r->right) -= kNcArrowSize;
            if (r->right < r->left)
                r->right = r->left;
            if (r->bottom < r->top)
                r->bottom = r->top;
            Message.Result = 0;
            return true;
        }
        case WM_NCPAINT:
            if (FHost->HandleAllocated()) {
                TWindowDC dc(FHost->Handle());
                DrawButtons(dc);
            }
            Message.Result = 0;
            return true;
        case CM_SENCPAINT:
            Message.Result = DrawButtons(reinterpret_cast<HDC>(Message.WParam)) ? kSencPaintAnswer : 0;
            return true;
        case CM_BENCPAINT:
            if (Message.LParam != kBencPaintKey)
                return false;
            DrawButtons(reinterpret_cast<HDC>(Message.WParam));
            Message.Result = kBencPaintKey;
            return true;
        case WM_NCHITTEST: {
            FMouseIn = true;
            const TPoint p = FHost->ScreenToClient({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
            if (OnBackZone(p) && Buttons[0].Visible) {
                Message.Result = kHitBackArrow;
            } else if (OnForwardZone(p) && Buttons[1].Visible) {
                Message.Result = kHitForwardArrow;
            } else {
                return false;
            }
            StartLeaveCheck();
            return true;
        }
        case WM_SETCURSOR: {
            const WORD hit = LOWORD(Message.LParam);
            if (hit == kHitBackArrow || hit == kHitForwardArrow)
                Message.LParam = MAKELPARAM(HTCLIENT, HIWORD(Message.LParam));
            return false;
        }
        case WM_NCMOUSEMOVE: {
            const int i = Message.WParam == kHitBackArrow ? 0 : Message.WParam == kHitForwardArrow ? 1 : -1;
            if (i < 0)
                return false;
            Buttons[i].Enabled = i == 0 ? NcBackEnabled(S) : NcForwardEnabled(S);
            if (Buttons[i].Enabled && !Buttons[i].MouseIn) {
                Buttons[i].MouseIn = true;
                Buttons[1 - i].MouseIn = false;
                RepaintNC();
                if (HotScroll) {
                    TimerMode = i + 1;
                    StartTimer();
                }
            }
            Message.Result = 0;
            return true;
        }
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK: {
            const int i = Message.WParam == kHitBackArrow ? 0 : Message.WParam == kHitForwardArrow ? 1 : -1;
            if (i < 0)
                return false;
            Buttons[i].Enabled = i == 0 ? NcBackEnabled(S) : NcForwardEnabled(S);
            if (Buttons[i].Enabled) {
                Buttons[i].Down = true;
                Buttons[i].MouseIn = true;
                Buttons[1 - i].MouseIn = false;
                RepaintNC();
                TimerMode = i + 1;
                StartTimer();
                FCapturedButton = i + 1;
                SetCapture(FHost->Handle());
            }
            Message.Result = 0;
            return true;
        }
        case WM_MOUSEMOVE: {
            const bool over = FHost->HandleAllocated() && ControlSeam().WindowUnderCursor() == FHost->Handle();
            if (FCapturedButton == 0 || !over) {
                if (FTimer2)
                    FTimer2->Stop();
                FMouseTimerActive = false;
                if (Buttons[0].MouseIn || Buttons[1].MouseIn) {
                    Buttons[0].MouseIn = Buttons[1].MouseIn = false;
                    if (TimerMode != 0)
                        StopTimer();
                    RepaintNC();
                }
                return FCapturedButton != 0;
            }
            const TPoint p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
            const int i = FCapturedButton - 1;
            if (i == 0 ? OnBackZone(p) : OnForwardZone(p)) {
                if (Buttons[i].Visible && !Buttons[i].MouseIn) {
                    Buttons[i].MouseIn = true;
                    Buttons[1 - i].MouseIn = false;
                    RepaintNC();
                    if (FStartScroll || HotScroll) {
                        TimerMode = i + 1;
                        StartTimer();
                    }
                }
            } else if (FHost->ClientRect().Contains(p)) {
                Buttons[0].MouseIn = Buttons[1].MouseIn = false;
                if (TimerMode != 0)
                    StopTimer();
                RepaintNC();
            }
            return true;
        }
        case WM_LBUTTONUP: {
            if (FCapturedButton == 0)
                return false;
            const int i = FCapturedButton - 1;
            FStartScroll = false;
            FCapturedButton = 0;
            ReleaseCapture();
            Buttons[i].Down = false;
            RepaintNC();
            const TPoint p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
            const bool still = (i == 0 ? OnBackZone(p) : OnForwardZone(p)) && Buttons[i].Visible && Buttons[i].MouseIn;
            // A release away from the arrow ends its repeat too.
            StopTimer();
            if (still)
                ButtonClick(i);
            Message.Result = 0;
            return true;
        }
        case WM_DESTROY:
            StopTimers();
            return false;
        default:
            return false;
    }
}
