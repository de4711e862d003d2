#include "skin/controls/SkinScrollBar.h"

#include <windowsx.h>

#include "skin/controls/ControlSkinning.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"

namespace {

// The colours of the built-in look's pressed and hot parts (0x00BBGGRR).
constexpr TColor kDefaultFrame = static_cast<TColor>(0xB76B3B);
constexpr TColor kDefaultDownFill = static_cast<TColor>(0xE4BCA2);
constexpr TColor kDefaultHotFill = static_cast<TColor>(0xF3D4C1);

void FillIfEmpty(TRect& R, const TRect& From) {
    if (R.IsEmpty())
        R = From;
}

// Clears a flag when the scope ends, on every path.
struct TFlagGuard {
    bool& f;
    explicit TFlagGuard(bool& flag) : f(flag) { f = true; }
    ~TFlagGuard() { f = false; }
};

}  // namespace

TbsSkinScrollBar::TbsSkinScrollBar(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FSkinDataName = L"hscrollbar";
    SetWidth(200);
    SetHeight(19);
    FDefaultHeight = 19;
}

TbsSkinScrollBar::~TbsSkinScrollBar() = default;

// ---- Values ---------------------------------------------------------------------------------------------------------
void TbsSkinScrollBar::SetKind(TScrollBarKind Value) {
    if (FKind == Value)
        return;
    FKind = Value;
    Invalidate();
}

void TbsSkinScrollBar::SetPosition(int Value) {
    const int v = ClampScrollPosition(Value, FMin, FMax, FPageSize);
    if (v == FPosition)
        return;
    FPosition = v;
    Invalidate();
    if (OnChange)
        OnChange(this);
}

void TbsSkinScrollBar::SimplySetPosition(int Value) {
    const int v = ClampScrollPosition(Value, FMin, FMax, FPageSize);
    if (v == FPosition)
        return;
    FPosition = v;
    Invalidate();
}

void TbsSkinScrollBar::SetRange(int NewMin, int NewMax, int NewPageSize, int NewPosition) {
    FMin = NewMin;
    FMax = NewMax;
    FPageSize = NewPageSize;
    FPosition = ClampScrollPosition(NewPosition, FMin, FMax, FPageSize);
    Invalidate();
}

void TbsSkinScrollBar::SetMin(int Value) {
    FMin = Value;
    if (FPosition < FMin)
        FPosition = FMin;
    Invalidate();
}

void TbsSkinScrollBar::SetMax(int Value) {
    FMax = Value;
    // The position stays within the range a page leaves, counted from Min.
    FPosition = ClampScrollPosition(FPosition, FMin, FMax, FPageSize);
    Invalidate();
}

void TbsSkinScrollBar::SetPageSize(int Value) {
    if (static_cast<long long>(Value) + FPosition - FMin <= static_cast<long long>(FMax) - FMin + 1)
        FPageSize = Value;
    Invalidate();
}

void TbsSkinScrollBar::SetSmallChange(int Value) {
    FSmallChange = Value;
    Invalidate();
}

void TbsSkinScrollBar::SetLargeChange(int Value) {
    FLargeChange = Value;
    Invalidate();
}

void TbsSkinScrollBar::SetBoth(bool Value) {
    if (FBoth == Value)
        return;
    FBoth = Value;
    if (FBoth) {
        FNormalSkinDataName = FSkinDataName;
        FSkinDataName = FBothSkinDataName;
    } else if (!FNormalSkinDataName.empty()) {
        FSkinDataName = FNormalSkinDataName;
    }
    if (FIndex == -1)
        Invalidate();
    else
        ChangeSkinData();
}

void TbsSkinScrollBar::SetBothMarkerWidth(int Value) {
    if (Value < 0)
        return;
    FBothMarkerWidth = Value;
    if (FIndex == -1)
        Invalidate();
}

void TbsSkinScrollBar::SetCanFocused(bool Value) {
    FCanFocused = Value;
    SetTabStop(Value);
}

// ---- Skin and layout ------------------------------------------------------------------------------------------------
void TbsSkinScrollBar::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    auto* e = dynamic_cast<TbsDataSkinScrollBarControl*>(Entry());
    if (!e)
        return;
    TrackArea = e->TrackArea;
    UpButtonRect = e->UpButtonRect;
    ActiveUpButtonRect = e->ActiveUpButtonRect;
    DownUpButtonRect = e->DownUpButtonRect;
    DownButtonRect = e->DownButtonRect;
    ActiveDownButtonRect = e->ActiveDownButtonRect;
    DownDownButtonRect = e->DownDownButtonRect;
    ThumbRect = e->ThumbRect;
    ActiveThumbRect = e->ActiveThumbRect;
    DownThumbRect = e->DownThumbRect;
    ThumbOffset1 = e->ThumbOffset1;
    ThumbOffset2 = e->ThumbOffset2;
    ThumbTransparent = e->ThumbTransparent;
    ThumbTransparentColor = e->ThumbTransparentColor;
    ThumbStretchEffect = e->ThumbStretchEffect;
    ThumbMinSize = e->ThumbMinSize;
    ThumbMinPageSize = e->ThumbMinPageSize;
    GlyphRect = e->GlyphRect;
    ActiveGlyphRect = e->ActiveGlyphRect;
    DownGlyphRect = e->DownGlyphRect;
    GlyphTransparent = e->GlyphTransparent;
    GlyphTransparentColor = e->GlyphTransparentColor;
    FillIfEmpty(DownUpButtonRect, ActiveUpButtonRect);
    FillIfEmpty(DownDownButtonRect, ActiveDownButtonRect);
    FillIfEmpty(ActiveThumbRect, ThumbRect);
    FillIfEmpty(DownThumbRect, ActiveThumbRect);
    FillIfEmpty(ActiveGlyphRect, GlyphRect);
    FillIfEmpty(DownGlyphRect, ActiveGlyphRect);
}

TbsScrollSkinParts TbsSkinScrollBar::SkinParts() const {
    TbsScrollSkinParts p;
    p.SkinRect = G.SkinRect;
    p.RTPt = G.RTPt;
    p.LBPt = G.LBPt;
    p.TrackArea = TrackArea;
    p.UpButtonRect = UpButtonRect;
    p.DownButtonRect = DownButtonRect;
    p.ThumbRect = ThumbRect;
    p.ThumbMinSize = ThumbMinSize;
    p.ThumbMinPageSize = ThumbMinPageSize;
    return p;
}

TbsScrollLayout TbsSkinScrollBar::CalcRects() {
    const TbsScrollValues v{FMin, FMax, FPosition, FPageSize};
    if (SkinLookAvailable()) {
        const TbsScrollSkinParts p = SkinParts();
        FLayout = CalcScrollRects(FKind == sbVertical, Width(), Height(), v, FBoth, FBothMarkerWidth, &p);
    } else {
        FLayout = CalcScrollRects(FKind == sbVertical, Width(), Height(), v, FBoth, FBothMarkerWidth, nullptr);
    }
    return FLayout;
}

void TbsSkinScrollBar::CalcSize(int& W, int& H) {
    TbsSkinCustomControl::CalcSize(W, H);
    CalcRects();
}

// ---- Painting -------------------------------------------------------------------------------------------------------
bool TbsSkinScrollBar::Focus() {
    return FCanFocused && HandleAllocated() && Focused();
}

void TbsSkinScrollBar::CreateControlDefaultImage(TBitmap* B) {
    CalcRects();
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    TCanvas* c = B->Canvas();
    if (Enabled())
        DrawDefaultButton(c, sbThumb);
    DrawDefaultButton(c, sbUpButton);
    DrawDefaultButton(c, sbDownButton);
}

void TbsSkinScrollBar::DrawDefaultButton(TCanvas* C, int I) {
    TRect r = FLayout.Buttons[I];
    if (r.IsEmpty())
        return;
    const TPart& p = FParts[I];
    const bool pressed = (p.Down && p.MouseIn) || (I == sbThumb && (p.Down || Focus()));
    TColor frame = clBtnShadow, fill = clBtnFace;
    if (pressed) {
        frame = kDefaultFrame;
        fill = kDefaultDownFill;
    } else if (p.MouseIn) {
        frame = kDefaultFrame;
        fill = kDefaultHotFill;
    }
    Frm3D(C, r, frame, frame);
    r.Inflate(-1, -1);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(fill);
    C->FillRect(r);
    const bool horz = FKind == sbHorizontal;
    if (I == sbUpButton)
        DrawArrowImage(C, r, clBlack, horz ? 2 : 4);
    else if (I == sbDownButton)
        DrawArrowImage(C, r, clBlack, horz ? 1 : 3);
}

void TbsSkinScrollBar::CreateControlSkinImage(TBitmap* B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    CalcRects();
    TCanvas* c = B->Canvas();
    DrawSkinArrow(c, sbUpButton);
    DrawSkinArrow(c, sbDownButton);
    if (Enabled())
        DrawSkinThumb(c);
}

void TbsSkinScrollBar::DrawSkinArrow(TCanvas* C, int I) {
    const TRect& r = FLayout.Buttons[I];
    if (r.IsEmpty() || !Picture)
        return;
    const TPart& p = FParts[I];
    TRect src;
    if (p.Down && p.MouseIn)
        src = I == sbUpButton ? DownUpButtonRect : DownDownButtonRect;
    else if (p.MouseIn)
        src = I == sbUpButton ? ActiveUpButtonRect : ActiveDownButtonRect;
    else
        return;  // the normal state is part of the bar's picture
    if (src.IsEmpty() || !RectInPicture(src, Picture))
        return;
    C->CopyRect(r, Picture->Canvas(), src);
}

void TbsSkinScrollBar::DrawSkinThumb(TCanvas* C) {
    const TRect& r = FLayout.Buttons[sbThumb];
    if (r.IsEmpty() || !Picture)
        return;
    const TPart& p = FParts[sbThumb];
    const bool down = p.Down || Focus();
    const TRect src = down ? DownThumbRect : p.MouseIn ? ActiveThumbRect : ThumbRect;
    const TRect glyph = down ? DownGlyphRect : p.MouseIn ? ActiveGlyphRect : GlyphRect;
    if (src.IsEmpty() || !RectInPicture(src, Picture))
        return;
    TBitmap thumb(r.Width(), r.Height());
    if (FPageSize != 0 || ThumbMinPageSize != 0) {
        if (FKind == sbHorizontal)
            CreateHSkinImage(ThumbOffset1, ThumbOffset2, &thumb, Picture, src, r.Width(), r.Height(),
                             ThumbStretchEffect);
        else
            CreateVSkinImage(ThumbOffset1, ThumbOffset2, &thumb, Picture, src, r.Width(), r.Height(),
                             ThumbStretchEffect);
    } else {
        thumb.Canvas()->CopyRect({0, 0, src.Width(), src.Height()}, Picture->Canvas(), src);
    }
    const bool horz = FKind == sbHorizontal;
    const bool fits = horz ? glyph.Width() < r.Width() : glyph.Height() < r.Height();
    if (!glyph.IsEmpty() && fits && RectInPicture(glyph, Picture)) {
        const int gx = r.Width() / 2 - glyph.Width() / 2, gy = r.Height() / 2 - glyph.Height() / 2;
        const TRect dst{gx, gy, gx + glyph.Width(), gy + glyph.Height()};
        if (GlyphTransparent) {
            TBitmap g(glyph.Width(), glyph.Height());
            g.Canvas()->CopyRect({0, 0, glyph.Width(), glyph.Height()}, Picture->Canvas(), glyph);
            g.SetTransparentColor(static_cast<TColor>(GlyphTransparentColor));
            g.SetTransparent(true);
            thumb.Canvas()->Draw(gx, gy, &g);
        } else {
            thumb.Canvas()->CopyRect(dst, Picture->Canvas(), glyph);
        }
    }
    if (ThumbTransparent) {
        thumb.SetTransparentColor(static_cast<TColor>(ThumbTransparentColor));
        thumb.SetTransparent(true);
    }
    C->Draw(r.Left, r.Top, &thumb);
}

// ---- Mouse and timer ------------------------------------------------------------------------------------------------
void TbsSkinScrollBar::TestActive(int X, int Y) {
    const int hit = ScrollHitTest(FLayout, {X, Y}, FCaptureButton);
    if (hit == FActiveButton)
        return;
    FOldActiveButton = FActiveButton;
    FActiveButton = hit;
    if (FOldActiveButton != -1)
        ButtonLeave(FOldActiveButton);
    if (FActiveButton != -1)
        ButtonEnter(FActiveButton);
}

void TbsSkinScrollBar::ButtonEnter(int I) {
    FParts[I].MouseIn = true;
    Invalidate();
    if (I != sbThumb && FParts[I].Down)
        StartTimer(50);
}

void TbsSkinScrollBar::ButtonLeave(int I) {
    FParts[I].MouseIn = false;
    Invalidate();
    // The repeat pauses while the pointer is off the held button.
    if (I != sbThumb && FParts[I].Down && FTimer)
        FTimer->Stop();
}

void TbsSkinScrollBar::UpStep() {
    if (OnUpButtonClick)
        OnUpButtonClick(this);
    else
        SetPosition(FPosition + FSmallChange);
}

void TbsSkinScrollBar::DownStep() {
    if (OnDownButtonClick)
        OnDownButtonClick(this);
    else
        SetPosition(FPosition - FSmallChange);
}

void TbsSkinScrollBar::ButtonDown(int I, int X, int Y) {
    FParts[I].Down = true;
    Invalidate();
    switch (I) {
        case sbThumb:
            OMPos = AlongOf(X, Y);
            OldBOffset = FLayout.BOffset;
            FDown = true;
            Invalidate();
            break;
        case sbUpButton:
            UpStep();
            TimerMode = 2;
            StartTimer(500);
            break;
        default:
            DownStep();
            TimerMode = 1;
            StartTimer(500);
            break;
    }
}

void TbsSkinScrollBar::ButtonUp(int I) {
    FParts[I].Down = false;
    if (FActiveButton != I)
        FParts[I].MouseIn = false;
    Invalidate();
    if (I == sbThumb)
        FDown = false;
    else
        StopTimer();
}

void TbsSkinScrollBar::StartTimer(unsigned Ms) {
    if (!FTimer) {
        FTimer = ControlSeam().NewTimer();
        FTimer->OnTick = [this] { TimerTick(); };
    }
    FTimer->Stop();
    FTimer->Start(Ms);
}

void TbsSkinScrollBar::StopTimer() {
    if (FTimer)
        FTimer->Stop();
    TimerMode = 0;
}

bool TbsSkinScrollBar::PointBeforeThumb(int X, int Y) {
    const TRect& t = FLayout.Buttons[sbThumb];
    return FKind == sbHorizontal ? X < t.Left : Y < t.Top;
}

bool TbsSkinScrollBar::PointAfterThumb(int X, int Y) {
    const TRect& t = FLayout.Buttons[sbThumb];
    return FKind == sbHorizontal ? X > t.Right : Y > t.Bottom;
}

void TbsSkinScrollBar::TimerTick() {
    if (WaitMode) {
        WaitMode = false;
        StartTimer(50);
        return;
    }
    switch (TimerMode) {
        case 1:
            DownStep();
            break;
        case 2:
            UpStep();
            break;
        case 3:
            CalcRects();
            TestActive(MX, MY);
            if (PointBeforeThumb(MX, MY)) {
                SetPosition(FPosition - FLargeChange);
                if (OnPageUp)
                    OnPageUp(this);
            } else {
                StopTimer();
            }
            break;
        case 4:
            CalcRects();
            TestActive(MX, MY);
            if (PointAfterThumb(MX, MY)) {
                SetPosition(FPosition + FLargeChange);
                if (OnPageDown)
                    OnPageDown(this);
            } else {
                StopTimer();
            }
            break;
        default:
            break;
    }
}

void TbsSkinScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // The handler runs before the press acts, so it may still change LargeChange for this very click.
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    MouseD = true;
    MX = X;
    MY = Y;
    GetSkinData();
    CalcRects();
    TestActive(X, Y);
    TimerMode = 0;
    WaitMode = true;
    const int hit = ScrollHitTest(FLayout, {X, Y}, -1);
    if (hit != -1) {
        FCaptureButton = hit;
        ButtonDown(hit, X, Y);
        return;
    }
    if (!FLayout.NewTrackArea.Contains({X, Y}))
        return;
    if (PointBeforeThumb(X, Y)) {
        SetPosition(FPosition - FLargeChange);
        TimerMode = 3;
        StartTimer(500);
        if (OnPageUp)
            OnPageUp(this);
    } else {
        SetPosition(FPosition + FLargeChange);
        TimerMode = 4;
        StartTimer(500);
        if (OnPageDown)
            OnPageDown(this);
    }
}

void TbsSkinScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    MX = X;
    MY = Y;
    CalcRects();
    TestActive(X, Y);
    if (!FDown)
        return;
    const TbsScrollValues v{FMin, FMax, FPosition, FPageSize};
    int p = AlongOf(X, Y) - OMPos;
    if (FPageSize == 0)
        p += OldBOffset;
    SetPosition(CalcScrollValue(FLayout, FKind == sbVertical, v, p, OldBOffset));
}

void TbsSkinScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    MouseD = false;
    if (TimerMode == 3 || TimerMode == 4)
        StopTimer();
    const int captured = FCaptureButton;
    if (captured != -1)
        ButtonUp(captured);
    FCaptureButton = -1;
    // No repeat outlives the press; the timer comes from the seam in force at the next one.
    if (Button == mbLeft)
        FTimer.reset();
    if (Button == mbLeft && captured == sbThumb && OnLastChange)
        OnLastChange(this);
}

void TbsSkinScrollBar::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    if (!FCanFocused)
        return;
    switch (Key) {
        case VK_LEFT:
        case VK_UP:
            SetPosition(FPosition - FSmallChange);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            SetPosition(FPosition + FSmallChange);
            break;
        default:
            break;
    }
}

void TbsSkinScrollBar::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (FCanFocused && HandleAllocated() && !Focused()) {
                {
                    TFlagGuard guard(FClicksDisabled);
                    if (CanFocus())
                        SetFocus();
                }
                if (!Focused())
                    return;  // a bar that could not take the focus drops the click
            }
            break;
        case CN_COMMAND:
            if (FClicksDisabled)
                return;
            break;
        case CM_WANTSPECIALKEY:
            if (FCanFocused) {
                switch (Message.WParam) {
                    case VK_LEFT:
                    case VK_RIGHT:
                    case VK_UP:
                    case VK_DOWN:
                        Message.Result = 1;
                        return;
                    default:
                        break;
                }
            }
            break;
        case WM_MOUSEWHEEL:
            if (Focus()) {
                if (GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0)
                    SetPosition(FPosition - FSmallChange);
                else
                    SetPosition(FPosition + FSmallChange);
                Message.Result = 0;
                return;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case CM_ENABLEDCHANGED:
            TbsSkinCustomControl::WndProc(Message);
            Invalidate();
            return;
        case CM_MOUSELEAVE:
            TbsSkinCustomControl::WndProc(Message);
            if (FActiveButton != -1 && FCaptureButton == -1 && !FDown) {
                FParts[FActiveButton].MouseIn = false;
                Invalidate();
                FActiveButton = -1;
            }
            // Only the page repeat towards Max stops when the pointer leaves.
            if (MouseD && TimerMode > 3)
                StopTimer();
            return;
        case WM_ERASEBKGND:
            if (!FromWMPaint && Message.WParam) {
                PaintTo(reinterpret_cast<HDC>(Message.WParam), 0, 0);
                Message.Result = 1;
                return;
            }
            break;
        default:
            break;
    }
    TbsSkinCustomControl::WndProc(Message);
}
