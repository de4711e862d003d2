#include "skin/controls/SkinBevel.h"

#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinData.h"

TbsSkinBevel::TbsSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

void TbsSkinBevel::SetSkinData(TbsSkinData* Value) {
    if (FSD != Value) {
        if (FSD)
            FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (Value)
            Value->FreeNotification(this);
    }
    ChangeSkinData();
}

void TbsSkinBevel::SetDividerMode(bool Value) {
    FDividerMode = Value;
    Invalidate();
}

void TbsSkinBevel::Notification(TComponent* AComponent, TOperation Operation) {
    TBevel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD) {
        FSD = nullptr;
        FIndex = -1;
    }
}

void TbsSkinBevel::ChangeSkinData() {
    FIndex = LookupSkinEntry(FSD, FSkinDataName);
    if (FIndex == -1) {
        FLightColor = clBtnHighlight;
        FDarkColor = clBtnShadow;
    } else if (auto* e = dynamic_cast<TbsDataSkinBevel*>(SkinEntryAt(FSD, FIndex))) {
        FLightColor = static_cast<TColor>(e->LightColor);
        FDarkColor = static_cast<TColor>(e->DarkColor);
    }
    Invalidate();
}

void TbsSkinBevel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    HostCentredTop(this, AHeight, ATop);
    TBevel::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TbsSkinBevel::PaintTo(HDC DC, int X, int Y) {
    PaintCanvasTo(Canvas(), DC, X, Y, [this] { Paint(); });
}

void TbsSkinBevel::Paint() {
    TCanvas* c = Canvas();
    const int W = Width(), H = Height();
    const bool lowered = Style() == bsLowered;
    const TColor c1 = lowered ? FDarkColor : FLightColor;
    const TColor c2 = lowered ? FLightColor : FDarkColor;
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    // Left and top edges in Top, right and bottom in Bottom (each polyline without its last point).
    auto bevelRect = [c](const TRect& R, TColor Top, TColor Bottom) {
        c->Pen()->SetColor(Top);
        c->Polyline({{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}});
        c->Pen()->SetColor(Bottom);
        c->Polyline({{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}});
    };
    auto line = [c](int x1, int y1, int x2, int y2, TColor Colour) {
        c->Pen()->SetColor(Colour);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    if (FDividerMode) {
        switch (Shape()) {
            case bsTopLine:
            case bsBottomLine:
                bevelRect({2, H / 2 - 1, W - 2, H / 2}, c1, c2);
                break;
            case bsSpacer:
                break;
            default:
                bevelRect({W / 2 - 1, 2, W / 2, H - 2}, c1, c2);
                break;
        }
        return;
    }
    switch (Shape()) {
        case bsBox:
            bevelRect({0, 0, W - 1, H - 1}, c1, c2);
            break;
        case bsFrame:
            bevelRect({1, 1, W - 1, H - 1}, c2, c2);
            bevelRect({0, 0, W - 2, H - 2}, c1, c1);
            break;
        case bsTopLine:
            line(0, 0, W, 0, c1);
            line(0, 1, W, 1, c2);
            break;
        case bsBottomLine:
            line(0, H - 2, W, H - 2, c1);
            line(0, H - 1, W, H - 1, c2);
            break;
        case bsLeftLine:
            line(0, 0, 0, H, c1);
            line(1, 0, 1, H, c2);
            break;
        case bsRightLine:
            line(W - 2, 0, W - 2, H, c1);
            line(W - 1, 0, W - 1, H, c2);
            break;
        case bsSpacer:
            break;
    }
}
