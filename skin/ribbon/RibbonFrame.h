// The frame a skin entry draws around a page area (the ribbon's pages, the application menu's page): the page
// rectangle widened by the entry's client insets, cut into its four parts from the entry's nine-part picture.
// For any entry with the frame fields (the tab and the application-menu records). Index: TbsFrameParts,
// ComposeFrameParts.
#pragma once

#include "classlib/Graphics.h"
#include "skin/core/SkinImages.h"

struct TbsFrameParts {
    TRect F{};  // the frame rectangle
    TBitmap Left, Top, Right, Bottom;
};

template <typename Entry>
void ComposeFrameParts(const Entry* E, TBitmap* Picture, const TRect& Page, TbsFrameParts& Out) {
    Out.F = {Page.Left - E->ClRect.Left, Page.Top - E->ClRect.Top, Page.Right + E->SkinRect.Width() - E->ClRect.Right,
             Page.Bottom + E->SkinRect.Height() - E->ClRect.Bottom};
    const int dw = Out.F.Width() - E->SkinRect.Width(), dh = Out.F.Height() - E->SkinRect.Height();
    CreateSkinBorderImages(E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect, E->LTPoint,
                           {E->RTPoint.X + dw, E->RTPoint.Y}, {E->LBPoint.X, E->LBPoint.Y + dh},
                           {E->RBPoint.X + dw, E->RBPoint.Y + dh},
                           {E->ClRect.Left, E->ClRect.Top, E->ClRect.Right + dw, E->ClRect.Bottom + dh}, &Out.Left,
                           &Out.Top, &Out.Right, &Out.Bottom, Picture, E->SkinRect, Out.F.Width(), Out.F.Height(),
                           E->LeftStretch, E->TopStretch, E->RightStretch, E->BottomStretch);
}
