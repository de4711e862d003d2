#include "skin/boxes/SkinUpDown.h"

#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"

namespace {

void FillIfEmpty(TRect& R, const TRect& From) {
    if (R.IsEmpty())
        R = From;
}

}  // namespace

TbsSkinUpDown::TbsSkinUpDown(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FSkinDataName = L"hupdown";
    SetWidth(50);
    SetHeight(25);
    FButtons.Stepping = [this] { return FIncrement != 0; };
    FButtons.OnStep = [this](int I) { Step(I); };
    FButtons.OnClick = [this](int I) {
        TNotifyEvent& e = I == 0 ? OnUpButtonClick : OnDownButtonClick;
        if (e)
            e(this);
    };
    FButtons.OnRepaint = [this] { Invalidate(); };
    CalcButtons();
}

TbsSkinUpDown::~TbsSkinUpDown() = default;

// ---- Values ---------------------------------------------------------------------------------------------------------
void TbsSkinUpDown::SetPosition(int Value) {
    if (Value > FMax || Value < FMin)
        return;
    FPosition = Value;
    if (OnChange)
        OnChange(this);
}

void TbsSkinUpDown::SetMin(int Value) {
    FMin = Value;
    if (FPosition < FMin)
        FPosition = FMin;
}

void TbsSkinUpDown::SetMax(int Value) {
    FMax = Value;
    if (FPosition > FMax)
        FPosition = FMax;
}

void TbsSkinUpDown::Step(int I) {
    // A step that would leave the range does nothing.
    const long long next = static_cast<long long>(FPosition) + (I == 0 ? FIncrement : -static_cast<long long>(FIncrement));
    if (next < FMin || next > FMax)
        return;
    SetPosition(static_cast<int>(next));
}

void TbsSkinUpDown::SetOrientation(TUDOrientation Value) {
    FOrientation = Value;
    CalcButtons();
    Invalidate();
}

void TbsSkinUpDown::SetUseSkinSize(bool Value) {
    FUseSkinSize = Value;
    if (FIndex != -1)
        ChangeSkinData();
    else
        CalcButtons();
}

// ---- Skin and layout ------------------------------------------------------------------------------------------------
void TbsSkinUpDown::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    auto* e = dynamic_cast<TbsDataSkinUpDownControl*>(Entry());
    FUpDownEntry = e != nullptr;
    if (e) {
        UpButtonRect = e->UpButtonRect;
        ActiveUpButtonRect = e->ActiveUpButtonRect;
        DownUpButtonRect = e->DownUpButtonRect;
        DownButtonRect = e->DownButtonRect;
        ActiveDownButtonRect = e->ActiveDownButtonRect;
        DownDownButtonRect = e->DownDownButtonRect;
        FillIfEmpty(DownUpButtonRect, ActiveUpButtonRect);
        FillIfEmpty(DownDownButtonRect, ActiveDownButtonRect);
        // The picture is never stretched: no corner points, no client rectangle.
        G.LTPt = G.RTPt = G.LBPt = G.RBPt = TPoint{};
        G.ClRect = TRect{};
        G.ResizeMode = G.GetResizeMode();
    }
    CalcButtons();
}

bool TbsSkinUpDown::SkinLookAvailable() const {
    return TbsSkinCustomControl::SkinLookAvailable() && FUpDownEntry;
}

void TbsSkinUpDown::CalcButtons() {
    TbsSpinButton* b = FButtons.Buttons;
    const int w = Width(), h = Height();
    if (SkinLookAvailable() && FUseSkinSize) {
        b[0].R = UpButtonRect;
        b[1].R = DownButtonRect;
    } else if (FOrientation == udVertical) {
        b[0].R = {0, 0, w, h / 2};
        b[1].R = {0, h / 2, w, h};
    } else {
        b[1].R = {0, 0, w / 2, h};
        b[0].R = {w / 2, 0, w, h};
    }
}

void TbsSkinUpDown::CalcSize(int& W, int& H) {
    if (FUseSkinSize)
        TbsSkinCustomControl::CalcSize(W, H);
}

void TbsSkinUpDown::SetControlRegion() {
    if (FUseSkinSize)
        TbsSkinCustomControl::SetControlRegion();
}

// ---- Painting -------------------------------------------------------------------------------------------------------
int TbsSkinUpDown::ArrowKind(int I) const {
    if (FOrientation == udVertical)
        return I == 0 ? kArrowUp : kArrowDown;
    return I == 0 ? kArrowRight : kArrowLeft;
}

void TbsSkinUpDown::CreateControlDefaultImage(TBitmap* B) {
    CalcButtons();
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    const TColor arrow = Enabled() ? clBlack : static_cast<TColor>(0x808080);
    for (int i = 0; i < 2; ++i)
        DrawDefaultSpinButton(B->Canvas(), FButtons.Buttons[i].R, FButtons.Buttons[i], ArrowKind(i), arrow, true);
}

void TbsSkinUpDown::CreateControlSkinImage(TBitmap* B) {
    CalcButtons();
    if (!FUseSkinSize) {
        TbsSkinCustomControl::CreateControlDefaultImage(B);
        for (int i = 0; i < 2; ++i)
            DrawSkinEntrySpinButton(B->Canvas(), FSD, {L"resizebutton"}, FButtons.Buttons[i].R, FButtons.Buttons[i],
                                    ArrowKind(i), Enabled());
        return;
    }
    TbsSkinCustomControl::CreateControlSkinImage(B);
    if (!Picture)
        return;
    for (int i = 0; i < 2; ++i) {
        const TbsSpinButton& b = FButtons.Buttons[i];
        TRect src;
        if (b.MouseIn && b.Down)
            src = i == 0 ? DownUpButtonRect : DownDownButtonRect;
        else if (b.MouseIn)
            src = i == 0 ? ActiveUpButtonRect : ActiveDownButtonRect;
        else
            continue;  // the normal state is part of the picture
        if (b.R.IsEmpty() || src.IsEmpty() || !RectInPicture(src, Picture))
            continue;
        B->Canvas()->CopyRect(b.R, Picture->Canvas(), src);
    }
}

void TbsSkinUpDown::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    CalcButtons();
}

// ---- Mouse ----------------------------------------------------------------------------------------------------------
void TbsSkinUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    FButtons.MouseDown({X, Y});
}

void TbsSkinUpDown::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    FButtons.MouseMove({X, Y});
}

void TbsSkinUpDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    FButtons.MouseUp({X, Y});
}

void TbsSkinUpDown::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_SIZE:
            TbsSkinCustomControl::WndProc(Message);
            CalcButtons();
            return;
        case CM_MOUSEENTER:
            TbsSkinCustomControl::WndProc(Message);
            FButtons.MouseEnter();
            return;
        case CM_MOUSELEAVE:
            TbsSkinCustomControl::WndProc(Message);
            FButtons.MouseLeave();
            return;
        case WM_CANCELMODE:
            // The mouse went elsewhere: a hold ends without a step.
            if (FButtons.CaptureButton != -1) {
                FButtons.Cancel();
                Invalidate();
            }
            break;
        default:
            break;
    }
    TbsSkinCustomControl::WndProc(Message);
}
