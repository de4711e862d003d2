#include "skin/boxes/ComboPainting.h"

#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"

void TbsComboSkinFields::CopyComboEntry(const TbsDataSkinComboBox& E) {
    ActiveSkinRect = E.ActiveSkinRect;
    ActiveFontColor = static_cast<TColor>(E.ActiveFontColor);
    SItemRect = E.SItemRect;
    ActiveItemRect = E.ActiveItemRect;
    FocusItemRect = E.FocusItemRect.IsEmpty() ? E.SItemRect : E.FocusItemRect;
    ItemLeftOffset = E.ItemLeftOffset;
    ItemRightOffset = E.ItemRightOffset;
    ItemTextRect = E.ItemTextRect;
    FontName = E.FontName;
    FontStyle = ToFontStyles(E.FontStyle);
    FontHeight = E.FontHeight;
    FontColor = static_cast<TColor>(E.FontColor);
    FocusFontColor = static_cast<TColor>(E.FocusFontColor);
    ButtonRect = E.ButtonRect;
    ActiveButtonRect = E.ActiveButtonRect;
    DownButtonRect = E.DownButtonRect;
    UnEnabledButtonRect = E.UnEnabledButtonRect;
    ListBoxName = E.ListBoxName;
    ItemStretchEffect = E.ItemStretchEffect;
    FocusItemStretchEffect = E.FocusItemStretchEffect;
    ShowFocus = E.ShowFocus;
}

void TbsComboSkinFields::ItemFont(TFont* F, bool UseSkinFont, TFont* Default, TFontCharset Charset) const {
    if (UseSkinFont) {
        F->SetName(FontName);
        F->SetStyle(FontStyle);
        F->SetHeight(FontHeight);
    } else {
        F->Assign(Default);
    }
    F->SetCharset(Charset);
}

void FillFramed(TCanvas* C, const TRect& R, TColor Frame, TColor Fill) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Fill);
    C->FillRect(R);
    C->Brush()->SetColor(Frame);
    C->FrameRect(R);
}

void ComposeButton(TbsDataSkinButtonControl* E, TBitmap* Pic, const TRect& Src, TBitmap* B) {
    const int w = B->Width(), h = B->Height();
    const int dw = w - E->SkinRect.Width(), dh = h - E->SkinRect.Height();
    TRect cl = E->ClRect;
    cl.Right += dw;
    cl.Bottom += dh;
    CreateSkinImage(E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect, E->LTPoint,
                    {E->RTPoint.X + dw, E->RTPoint.Y}, {E->LBPoint.X, E->LBPoint.Y + dh},
                    {E->RBPoint.X + dw, E->RBPoint.Y + dh}, cl, B, Pic, Src, w, h, true, E->LeftStretch,
                    E->TopStretch, E->RightStretch, E->BottomStretch, E->StretchEffect, E->StretchType);
}

void DrawMarker(TCanvas* C, TbsDataSkinButtonControl* E, TBitmap* Pic, const TRect& R, bool Active, bool Down) {
    TRect src = E->MenuMarkerRect;
    if (Down && !E->MenuMarkerDownRect.IsEmpty())
        src = E->MenuMarkerDownRect;
    else if ((Active || Down) && !E->MenuMarkerActiveRect.IsEmpty())
        src = E->MenuMarkerActiveRect;
    if (!RectInPicture(src, Pic))
        return;
    TBitmap m(src.Width(), src.Height());
    m.Canvas()->CopyRect({0, 0, src.Width(), src.Height()}, Pic->Canvas(), src);
    m.SetTransparentColor(static_cast<TColor>(E->MenuMarkerTransparentColor));
    m.SetTransparent(true);
    C->Draw(R.Left + (R.Width() - src.Width()) / 2, R.Top + (R.Height() - src.Height()) / 2 + (Down ? 1 : 0), &m);
}
