#include "skin/controls/ButtonLabel.h"

#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinText.h"

TbsSkinButtonLabel::TbsSkinButtonLabel(TComponent* AOwner)
    : TGraphicControl(AOwner), FDefaultFont(std::make_unique<TFont>()), FGlyph(std::make_unique<TBitmap>()) {
    SetControlStyle(ControlStyle() + csSetCaption - csOpaque);
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
    SetBounds(Left(), Top(), 100, 50);
}

TbsSkinButtonLabel::~TbsSkinButtonLabel() = default;

void TbsSkinButtonLabel::SetSkinData(TbsSkinData* Value) {
    if (FSD != Value) {
        if (FSD)
            FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (Value)
            Value->FreeNotification(this);
    }
    if (Value)
        ChangeSkinData();
}

void TbsSkinButtonLabel::SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
    Invalidate();
}

void TbsSkinButtonLabel::SetDoubleBuffered(bool Value) {
    FDoubleBuffered = Value;
    SetControlStyle(Value ? ControlStyle() + csOpaque : ControlStyle() - csOpaque);
}

void TbsSkinButtonLabel::SetGlyph(TBitmap* Value) {
    FGlyph->Assign(Value);
    Invalidate();
}

void TbsSkinButtonLabel::SetNumGlyphs(int Value) {
    FNumGlyphs = std::clamp(Value, 1, 4);
    Invalidate();
}

void TbsSkinButtonLabel::SetImageList(TCustomImageList* Value) {
    SetBorrowed(this, FImageList, Value);
    Invalidate();
}

void TbsSkinButtonLabel::SetImageIndex(int Value) {
    FImageIndex = Value;
    Invalidate();
}

void TbsSkinButtonLabel::SetMargin(int Value) {
    if (Value >= -1) {
        FMargin = Value;
        Invalidate();
    }
}

void TbsSkinButtonLabel::SetSpacing(int Value) {
    if (FSpacing == Value)
        return;
    FSpacing = Value;
    Invalidate();
}

void TbsSkinButtonLabel::SetLayout(TbsButtonLayout Value) {
    FLayout = Value;
    Invalidate();
}

void TbsSkinButtonLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD) {
        FSD = nullptr;
        FIndex = -1;
    }
    if (AComponent == FImageList)
        FImageList = nullptr;
}

void TbsSkinButtonLabel::ChangeSkinData() {
    FIndex = LookupSkinEntry(FSD, FSkinDataName);
    if (auto* e = dynamic_cast<TbsDataSkinStdLabelControl*>(SkinEntryAt(FSD, FIndex))) {
        FontName = e->FontName;
        FontColor = static_cast<TColor>(e->FontColor);
        FontHeight = e->FontHeight;
        ActiveFontColor = static_cast<TColor>(e->ActiveFontColor);
        FontStyle = ToFontStyles(e->FontStyle);
    }
    Invalidate();
}

int TbsSkinButtonLabel::ShownImageIndex() {
    const int count = FImageList ? FImageList->Count() : 0;
    const bool hot = FMouseIn && Enabled();
    if (hot && FActiveImageIndex >= 0 && FActiveImageIndex < count)
        return FActiveImageIndex;
    if (FImageIndex >= 0 && FImageIndex < count)
        return FImageIndex;
    return -1;
}

void TbsSkinButtonLabel::PaintOn(TCanvas* C) {
    // Only a disabled label is never hot: the pointer may have come in before it was disabled.
    const bool hot = FMouseIn && Enabled();
    const bool entry = FIndex != -1 && FSD && !FSD->Empty;
    TFont* font = C->Font();
    font->Assign(FDefaultFont.get());
    if (!entry) {
        if (hot)
            font->SetColor(FDefaultActiveFontColor);
    } else {
        if (FUseSkinFont) {
            font->SetName(FontName);
            font->SetHeight(FontHeight);
            font->SetStyle(FontStyle);
        }
        font->SetColor(hot && !FGlowEffect ? ActiveFontColor : FontColor);
    }
    font->SetCharset(SkinFontCharset(FSD, FDefaultFont->Charset()));
    if (FWebStyle) {
        TFontStyles style = font->Style();
        if (hot)
            style.Include(fsUnderline);
        else
            style.Exclude(fsUnderline);
        font->SetStyle(style);
    }
    TColor glow = entry ? ActiveFontColor : FCustomGlowColor;
    if (FUseCustomGlowColor)
        glow = FCustomGlowColor;
    if (!Enabled())
        font->SetColor(entry ? static_cast<TColor>(FSD->SkinColors()->cBtnShadow) : TColor(0x808080));
    C->Brush()->SetStyle(bsClear);
    const TRect r = ClientRect();
    const bool down = FDown && FMouseIn;
    const bool glowing = FGlowEffect && hot;
    const int image = ShownImageIndex();
    if (image < 0) {
        int num = 2;
        if (FDown && hot && FNumGlyphs > 2)
            num = 3;
        else if (hot && FNumGlyphs > 3)
            num = 4;
        else if (Enabled() || FNumGlyphs < 2)
            num = 1;
        TBitmap* glyph = FGlyph->Empty() ? nullptr : FGlyph.get();
        const int glyphs = glyph ? FNumGlyphs : 0;
        if (glowing)
            DrawGlyphAndEffectText(C, r, FMargin, FSpacing, FLayout, Caption(), glyph, glyphs, num, down, false, 0,
                                   glow, FGlowSize);
        else
            DrawGlyphAndText(C, r, FMargin, FSpacing, FLayout, Caption(), glyph, glyphs, num, down, false, 0);
    } else if (glowing) {
        DrawImageAndEffectText(C, r, FMargin, FSpacing, FLayout, Caption(), image, FImageList, down, Enabled(), false,
                               0, glow, FGlowSize);
    } else {
        DrawImageAndText(C, r, FMargin, FSpacing, FLayout, Caption(), image, FImageList, down, Enabled(), false, 0,
                         false);
    }
}

void TbsSkinButtonLabel::Paint() {
    if (!FDoubleBuffered) {
        PaintOn(Canvas());
        return;
    }
    if (Width() <= 0 || Height() <= 0)
        return;
    TBitmap b(Width(), Height());
    GetParentImage(this, b.Canvas());
    PaintOn(b.Canvas());
    Canvas()->Draw(0, 0, &b);
}

void TbsSkinButtonLabel::PaintTo(HDC DC, int X, int Y) {
    PaintCanvasTo(Canvas(), DC, X, Y, [this] { Paint(); });
}

void TbsSkinButtonLabel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FDown = true;
    if (!FWebStyle)
        Invalidate();
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinButtonLabel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FDown = false;
    if (!FWebStyle)
        Invalidate();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinButtonLabel::MouseMove(TShiftState Shift, int X, int Y) {
    if (FDown) {
        // Edges included.
        const bool inside = X >= 0 && Y >= 0 && X <= Width() && Y <= Height();
        if (!inside && FMouseIn)
            Perform(CM_MOUSELEAVE);
        else if (inside && !FMouseIn)
            Perform(CM_MOUSEENTER);
    }
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TbsSkinButtonLabel::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            if (Enabled()) {
                FMouseIn = Message.Msg == CM_MOUSEENTER;
                Invalidate();
            }
            break;
        case CM_TEXTCHANGED:
            Invalidate();
            break;
        default:
            break;
    }
    TGraphicControl::WndProc(Message);
}
