#include "skin/controls/SkinStatusBar.h"

#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinData.h"

void DrawDefaultGripper(TCanvas* C, const TRect& R, TColor Shadow, TColor Light) {
    TRect r = R;
    r.Inflate(-2, -2);
    const int limit = r.Width() / 4 + 1;
    auto line = [C](TColor Colour, int X1, int Y1, int X2, int Y2) {
        C->Pen()->SetColor(Colour);
        C->MoveTo(X1, Y1);
        C->LineTo(X2, Y2);
    };
    int d = 4;
    for (int i = 0; i < limit && r.Left + d + 2 <= r.Right; ++i, d += 3) {
        line(Shadow, r.Left + d, r.Bottom, r.Right, r.Top + d);
        line(Light, r.Left + d + 1, r.Bottom, r.Right, r.Top + d + 1);
    }
}

TbsSkinStatusBar::TbsSkinStatusBar(TComponent* AOwner) : TbsSkinPanel(AOwner) {
    FSkinDataName = L"statusbar";
    SetAlign(alBottom);
    SetHeight(21);
    SetBorderStyle(TbsPanelBorderStyle::bvNone);
}

void TbsSkinStatusBar::SetSizeGrip(bool Value) {
    FSizeGrip = Value;
    Realign();
    Invalidate();
}

void TbsSkinStatusBar::SetShowGrip(bool Value) {
    FShowGrip = Value;
    Realign();
    Invalidate();
}

void TbsSkinStatusBar::SetSkinData(TbsSkinData* Value) {
    TbsSkinPanel::SetSkinData(Value);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* c = dynamic_cast<TbsSkinControl*>(Controls(i)))
            c->SetSkinData(Value);
}

void TbsSkinStatusBar::GetSkinData() {
    TbsSkinPanel::GetSkinData();
    GripperRect = {};
    GripperTransparent = false;
    if (auto* e = dynamic_cast<TbsDataSkinPanelControl*>(Entry()); e && SkinLookAvailable()) {
        GripperRect = e->GripperRect;
        GripperTransparent = e->GripperTransparent;
        GripperTransparentColor = static_cast<TColor>(e->GripperTransparentColor);
    }
}

void TbsSkinStatusBar::AdjustClientRect(TRect& Rect) {
    TbsSkinPanel::AdjustClientRect(Rect);
    if (!GripShown())
        return;
    GetSkinData();
    Rect.Right -= SkinLookAvailable() && !GripperRect.IsEmpty() ? GripperRect.Width() : Rect.Height();
}

TRect TbsSkinStatusBar::GetGripRect() {
    TRect r{0, 0, Width(), Height()};
    AdjustClientRect(r);
    if (SkinLookAvailable() && !GripperRect.IsEmpty())
        return {r.Right, r.Bottom - GripperRect.Height(), r.Right + GripperRect.Width(), r.Bottom};
    return {r.Right + 2, r.Top, r.Right + r.Height(), r.Bottom - 2};
}

void TbsSkinStatusBar::DrawGrip(TCanvas* C) {
    if (!GripShown())
        return;
    const TRect g = GetGripRect();
    TBitmap* pic = SkinLookAvailable() ? Picture : nullptr;
    if (SkinLookAvailable() && !GripperRect.IsEmpty()) {
        if (!RectInPicture(GripperRect, pic))
            return;
        TBitmap part(GripperRect.Width(), GripperRect.Height());
        part.Canvas()->CopyRect({0, 0, GripperRect.Width(), GripperRect.Height()}, pic->Canvas(), GripperRect);
        if (GripperTransparent) {
            part.SetTransparentColor(GripperTransparentColor);
            part.SetTransparent(true);
        }
        C->Draw(g.Left, g.Top, &part);
        return;
    }
    if (SkinLookAvailable() && FSD)
        DrawDefaultGripper(C, g, static_cast<TColor>(FSD->SkinColors()->cBtnShadow),
                           static_cast<TColor>(FSD->SkinColors()->cBtnHighLight));
    else
        DrawDefaultGripper(C, g, clBtnShadow, clBtnFace);
}

void TbsSkinStatusBar::Paint() {
    // The panel paints by several ways (pictures, tiles, its own image); the grip goes on top of each.
    TbsSkinPanel::Paint();
    if (Width() > 0 && Height() > 0 && !EmptyDrawing())
        DrawGrip(Canvas());
}

void TbsSkinStatusBar::WndProc(TMessage& Message) {
    if (Message.Msg == WM_NCHITTEST && GripShown()) {
        POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
        ::ScreenToClient(Handle(), &p);
        const TRect g = GetGripRect();
        Message.Result = p.x >= g.Left && p.x < g.Right && p.y >= g.Top && p.y < g.Bottom ? HTBOTTOMRIGHT : HTCLIENT;
        return;
    }
    TbsSkinPanel::WndProc(Message);
}
