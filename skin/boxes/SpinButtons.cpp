#include "skin/boxes/SpinButtons.h"

#include "skin/controls/ControlSeam.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImages.h"

namespace {

// The built-in look's hot and pressed colours (0x00BBGGRR).
constexpr TColor kHotFrame = static_cast<TColor>(0xB76B3B);
constexpr TColor kDownFill = static_cast<TColor>(0xE4BCA2);
constexpr TColor kHotFill = static_cast<TColor>(0xF3D4C1);

bool ContainsInclusive(const TRect& R, const TPoint& P) {
    return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}

}  // namespace

int SpinHit(const TRect (&Rects)[2], const TPoint& P) {
    for (int i = 0; i < 2; ++i)
        if (ContainsInclusive(Rects[i], P))
            return i;
    return -1;
}

TbsSpinButtons::TbsSpinButtons() = default;
TbsSpinButtons::~TbsSpinButtons() = default;

int TbsSpinButtons::HitTest(const TPoint& P) const {
    const TRect r[2] = {Buttons[0].R, Buttons[1].R};
    return SpinHit(r, P);
}

void TbsSpinButtons::TestActive(const TPoint& P) {
    int hit = HitTest(P);
    // While a button is held the other one cannot become active.
    if (CaptureButton != -1 && hit != CaptureButton)
        hit = -1;
    if (hit == ActiveButton)
        return;
    OldActiveButton = ActiveButton;
    ActiveButton = hit;
    if (OldActiveButton != -1) {
        TbsSpinButton& b = Buttons[OldActiveButton];
        b.MouseIn = false;
        if (b.Down && FTimer)
            FTimer->Stop();
    }
    if (ActiveButton != -1) {
        TbsSpinButton& b = Buttons[ActiveButton];
        b.MouseIn = true;
        if (b.Down && TimerMode != 0)
            StartTimer(50);
    }
    Repaint();
}

void TbsSpinButtons::MouseMove(const TPoint& P) {
    TestActive(P);
}

void TbsSpinButtons::MouseDown(const TPoint& P) {
    if (CaptureButton != -1)
        return;  // a second mouse button during a hold
    const int hit = HitTest(P);
    if (hit == -1)
        return;
    CaptureButton = hit;
    ActiveButton = hit;
    ButtonDown(hit);
}

void TbsSpinButtons::MouseUp(const TPoint& P) {
    const int captured = CaptureButton;
    if (captured == -1)
        return;
    CaptureButton = -1;
    ButtonUp(captured, HitTest(P) == captured);
}

void TbsSpinButtons::ButtonDown(int I) {
    Buttons[1 - I].MouseIn = false;
    Buttons[I].MouseIn = true;
    Buttons[I].Down = true;
    Repaint();
    if (!CanStep())
        return;
    TimerMode = I == 0 ? 2 : 1;
    WaitMode = true;
    StartTimer(500);
}

void TbsSpinButtons::ButtonUp(int I, bool Over) {
    const bool stepping = CanStep();
    if (stepping)
        StopTimer();
    // No repeat outlives the press; the next one takes its timer from the seam then in force.
    FTimer.reset();
    Buttons[I].Down = false;
    if (ActiveButton != I)
        Buttons[I].MouseIn = false;
    Repaint();
    if (!Over)
        return;
    if (stepping && OnStep)
        OnStep(I);
    if (OnClick)
        OnClick(I);
}

void TbsSpinButtons::Cancel() {
    StopTimer();
    FTimer.reset();
    WaitMode = false;
    if (CaptureButton != -1)
        Buttons[CaptureButton].Down = false;
    CaptureButton = -1;
}

void TbsSpinButtons::MouseEnter() {
    ActiveButton = -1;
    OldActiveButton = -1;
}

void TbsSpinButtons::MouseLeave() {
    ActiveButton = -1;
    OldActiveButton = -1;
    for (TbsSpinButton& b : Buttons)
        b.MouseIn = false;
    // A held button pauses its repeat until the pointer is back on it.
    if (CaptureButton != -1 && FTimer)
        FTimer->Stop();
    Repaint();
}

bool TbsSpinButtons::Repeating() const {
    return FTimer && FTimer->Running();
}

void TbsSpinButtons::StartTimer(unsigned Ms) {
    if (!FTimer) {
        FTimer = ControlSeam().NewTimer();
        FTimer->OnTick = [this] { Tick(); };
    }
    FTimer->Stop();
    FTimer->Start(Ms);
}

void TbsSpinButtons::StopTimer() {
    if (FTimer)
        FTimer->Stop();
    TimerMode = 0;
}

void TbsSpinButtons::Tick() {
    if (WaitMode) {
        WaitMode = false;
        StartTimer(100);
        return;
    }
    if (TimerMode == 0 || !OnStep)
        return;
    OnStep(TimerMode == 2 ? 0 : 1);
}

// ---- Looks ----------------------------------------------------------------------------------------------------------
void DrawDefaultSpinButton(TCanvas* C, const TRect& R, const TbsSpinButton& B, int ArrowKind, TColor ArrowColor,
                           bool NormalFrame) {
    if (R.IsEmpty())
        return;
    TRect r = R;
    TColor fill = clBtnFace;
    bool frame = NormalFrame;
    TColor frameColor = clBtnShadow;
    if (B.MouseIn) {
        frame = true;
        frameColor = kHotFrame;
        fill = B.Down ? kDownFill : kHotFill;
    }
    if (frame) {
        Frm3D(C, r, frameColor, frameColor);
        r.Inflate(-1, -1);
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(fill);
    C->FillRect(r);
    DrawArrowImage(C, R, ArrowColor, ArrowKind);
}

bool DrawSkinEntrySpinButton(TCanvas* C, TbsSkinData* Data, std::initializer_list<const wchar_t*> Names,
                             const TRect& R, const TbsSpinButton& B, int ArrowKind, bool Enabled) {
    TbsDataSkinButtonControl* e = nullptr;
    for (const wchar_t* name : Names) {
        e = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(Data, LookupSkinEntry(Data, name)));
        if (e)
            break;
    }
    if (!e)
        return false;
    if (R.IsEmpty())
        return true;
    TBitmap* pic = SkinPictureAt(Data, e->PictureIndex);
    const TRect active = e->ActiveSkinRect.IsEmpty() ? e->SkinRect : e->ActiveSkinRect;
    TRect src = e->SkinRect;
    int fontColor = e->FontColor;
    if (B.MouseIn && B.Down) {
        src = e->DownSkinRect.IsEmpty() ? active : e->DownSkinRect;
        fontColor = e->DownFontColor;
    } else if (B.MouseIn) {
        src = active;
        fontColor = e->ActiveFontColor;
    }
    if (!Enabled)
        fontColor = e->DisabledFontColor;
    if (!pic || !RectInPicture(src, pic))
        return true;
    TBitmap b(R.Width(), R.Height());
    const int dw = R.Width() - e->SkinRect.Width(), dh = R.Height() - e->SkinRect.Height();
    TRect cl = e->ClRect;
    cl.Right += dw;
    cl.Bottom += dh;
    CreateSkinImage(e->LTPoint, e->RTPoint, e->LBPoint, e->RBPoint, e->ClRect, e->LTPoint,
                    {e->RTPoint.X + dw, e->RTPoint.Y}, {e->LBPoint.X, e->LBPoint.Y + dh},
                    {e->RBPoint.X + dw, e->RBPoint.Y + dh}, cl, &b, pic, src, R.Width(), R.Height(), true,
                    e->LeftStretch, e->TopStretch, e->RightStretch, e->BottomStretch, e->StretchEffect,
                    e->StretchType);
    DrawArrowImage(b.Canvas(), {0, 0, R.Width(), R.Height()}, static_cast<TColor>(fontColor), ArrowKind);
    C->Draw(R.Left, R.Top, &b);
    return true;
}
