#include "skin/controls/SkinEffectLabel.h"

#include "skin/controls/ControlSkinning.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinObjects.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"

TbsSkinLabel::TbsSkinLabel(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FSkinDataName = L"label";
    SetBounds(0, 0, 75, 21);
}

TbsSkinLabel::~TbsSkinLabel() = default;

void TbsSkinLabel::SetTransparent(bool Value) {
    FTransparent = Value;
    Invalidate();
}
void TbsSkinLabel::SetShadowEffect(bool Value) {
    FShadowEffect = Value;
    Invalidate();
}
void TbsSkinLabel::SetShadowColor(TColor Value) {
    FShadowColor = Value;
    Invalidate();
}
void TbsSkinLabel::SetShadowOffset(int Value) {
    FShadowOffset = Value;
    Invalidate();
}
void TbsSkinLabel::SetShadowSize(int Value) {
    FShadowSize = Value;
    Invalidate();
}
void TbsSkinLabel::SetReflectionEffect(bool Value) {
    FReflectionEffect = Value;
    Invalidate();
}
void TbsSkinLabel::SetReflectionOffset(int Value) {
    FReflectionOffset = Value;
    Invalidate();
}
void TbsSkinLabel::SetEllipsType(TbsLabelEllipsType Value) {
    FEllipsType = Value;
    Invalidate();
}
void TbsSkinLabel::SetUseSkinSize(bool Value) {
    FUseSkinSize = Value;
    SetControlRegion();
    Invalidate();
}
void TbsSkinLabel::SetUseSkinFontColor(bool Value) {
    FUseSkinFontColor = Value;
    Invalidate();
}
void TbsSkinLabel::SetBorderStyle(TbsPanelBorderStyle Value) {
    FBorderStyle = Value;
    GetSkinData();
    if (!SkinLookAvailable())
        Invalidate();
}
void TbsSkinLabel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Invalidate();
}
void TbsSkinLabel::SetAutoSize(bool Value) {
    FAutoSize = Value;
    if (Value)
        AdjustBounds();
}

bool TbsSkinLabel::SkinLookAvailable() const {
    return TbsSkinCustomControl::SkinLookAvailable() && dynamic_cast<TbsDataSkinLabelControl*>(Entry()) != nullptr;
}

void TbsSkinLabel::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    auto* e = dynamic_cast<TbsDataSkinLabelControl*>(Entry());
    if (!e)
        return;
    FontName = e->FontName;
    FontHeight = e->FontHeight;
    FontStyle = ToFontStyles(e->FontStyle);
    FontColor = static_cast<TColor>(e->FontColor);
    // A label of the skin's fixed size does not follow its caption.
    if (G.ResizeMode == rmFixed)
        FAutoSize = false;
}

void TbsSkinLabel::CalcSize(int& W, int& H) {
    if (FUseSkinSize || G.ResizeMode == rmBoth || !SkinLookAvailable()) {
        TbsSkinCustomControl::CalcSize(W, H);
    } else {
        // The width stretches: the right end and the client rectangle's right end move with it.
        TbsSkinCustomControl::CalcSize(W, H);
        const int dx = W - G.SkinRect.Width();
        G.NewClRect = G.ClRect;
        G.NewClRect.Right += dx;
        G.NewClRect.Bottom = G.ClRect.Bottom + (H - G.SkinRect.Height());
    }
    const int w = CalcWidthOffset();
    if (w > 0 && FAutoSize)
        W += w;
}

void TbsSkinLabel::SetControlRegion() {
    if (FUseSkinSize) {
        TbsSkinCustomControl::SetControlRegion();
        return;
    }
    TBitmap* saved = MaskPicture;
    MaskPicture = nullptr;
    TbsSkinCustomControl::SetControlRegion();
    MaskPicture = saved;
}

void TbsSkinLabel::PrepareFont(TCanvas* C) {
    PrepareSkinTextFont(C->Font(), DefaultFont(), SkinLookAvailable(), FUseSkinFont, FontName, FontHeight, FontStyle,
                        FontColor, FSD);
    if (!FUseSkinFontColor)
        C->Font()->SetColor(DefaultFont()->Color());
}

int TbsSkinLabel::CalcWidthOffset() {
    GetSkinData();
    TBitmap b(1, 1);
    PrepareFont(b.Canvas());
    const int textW = b.Canvas()->TextWidth(Caption());
    if (!SkinLookAvailable())
        return textW + 4 - Width();
    if (G.ResizeMode == rmFixed)
        return 0;
    return textW - G.ClRect.Width();
}

void TbsSkinLabel::AdjustBounds() {
    if (Align() == alTop || Align() == alBottom || Align() == alClient)
        return;
    const int d = CalcWidthOffset();
    if (d != 0)
        SetBounds(Left(), Top(), Width() + d, Height());
}

void TbsSkinLabel::DrawLabelText(TCanvas* C, TRect R) {
    PrepareFont(C);
    std::wstring text = Caption();
    if (FEllipsType == bsetEllips)
        CorrectTextbyWidth(C, text, R.Width());
    const TSize ext = C->TextExtent(text);
    int y = R.Top + R.Height() / 2 - ext.cy / 2;
    if (C->Font()->Height() % 2 != 0)
        --y;
    int x = R.Left;
    std::uint32_t format = DT_LEFT;
    if (FAlignment == taRightJustify) {
        x = R.Right - ext.cx;
        format = DT_RIGHT;
    } else if (FAlignment == taCenter) {
        x = R.Left + R.Width() / 2 - ext.cx / 2;
        format = DT_CENTER;
    }
    C->Brush()->SetStyle(bsClear);
    if (FShadowEffect) {
        TColor glow = FShadowColor;
        if (SkinLookAvailable() && FUseSkinFontColor && FSD)
            glow = Darker(static_cast<TColor>(FSD->SkinColors()->cBtnFace), 70);
        R.Top = y;
        DrawEffectText(C, R, text, FShadowSize, glow, FShadowOffset, format | DT_SINGLELINE | DT_NOPREFIX);
    } else if (!FReflectionEffect) {
        TCanvasClipGuard clip(C);
        C->ClipTo(R);
        C->TextOut(x, y, text);
    } else if (R.Width() > 0) {
        DrawReflectionTextW(C, R, text, C->Font()->Color(), FReflectionOffset,
                            format | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void TbsSkinLabel::CreateControlDefaultImage(TBitmap* B) {
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    const int w = B->Width(), h = B->Height();
    TCanvas* c = B->Canvas();
    if (FTransparent) {
        GetParentImage(this, c);
        DrawLabelText(c, {0, 0, w, h});
        return;
    }
    DrawPanelBorder(c, {0, 0, w, h}, FBorderStyle);
    DrawLabelText(c, {3, 3, w - 3, h - 3});
}

void TbsSkinLabel::CreateControlSkinImage(TBitmap* B) {
    const int w = B->Width(), h = B->Height();
    if (FTransparent) {
        GetParentImage(this, B->Canvas());
        DrawLabelText(B->Canvas(), {0, 0, w, h});
        return;
    }
    if (FUseSkinSize || G.ResizeMode == rmBoth) {
        TbsSkinCustomControl::CreateControlSkinImage(B);
        DrawLabelText(B->Canvas(), G.NewClRect);
        return;
    }
    if (RectInPicture(G.SkinRect, Picture)) {
        TBitmap source(G.SkinRect.Width(), G.SkinRect.Height());
        source.Canvas()->CopyRect({0, 0, source.Width(), source.Height()}, Picture->Canvas(), G.SkinRect);
        B->SetSize(w, h);
        CreateStretchImage(B, &source, {0, 0, source.Width(), source.Height()}, G.ClRect, true);
    }
    TRect client = G.ClRect;
    client.Right += w - G.SkinRect.Width();
    client.Bottom += h - G.SkinRect.Height();
    DrawLabelText(B->Canvas(), client);
}

void TbsSkinLabel::CheckParentBackground() {
    if (FTransparent)
        Invalidate();
}

void TbsSkinLabel::WndProc(TMessage& Message) {
    TbsSkinCustomControl::WndProc(Message);
    if (Message.Msg == CM_TEXTCHANGED) {
        if (FAutoSize)
            AdjustBounds();
        Invalidate();
    }
}
