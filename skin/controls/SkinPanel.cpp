#include "skin/controls/SkinPanel.h"

#include <algorithm>

#include "skin/controls/ControlSkinning.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"

namespace {

// Sets a flag for the life of the scope, cleared on every path.
struct TScopeFlag {
    bool& f;
    explicit TScopeFlag(bool& flag) : f(flag) { f = true; }
    ~TScopeFlag() { f = false; }
};

void Fill(TCanvas* C, const TRect& R, TColor Color) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FillRect(R);
}

// The picture's part R drawn at (X, Y) with its bottom-left pixel's colour transparent.
void DrawWithCornerTransparent(TCanvas* C, TBitmap* Picture, const TRect& R, int X, int Y) {
    if (R.IsEmpty() || !RectInPicture(R, Picture))
        return;
    TBitmap b(R.Width(), R.Height());
    b.Canvas()->CopyRect({0, 0, R.Width(), R.Height()}, Picture->Canvas(), R);
    b.SetTransparentColor(b.Canvas()->Pixels(0, R.Height() - 1));
    b.SetTransparent(true);
    C->Draw(X, Y, &b);
}

}  // namespace

// ---- TbsSkinPanel ---------------------------------------------------------------------------------------------------
TbsSkinPanel::TbsSkinPanel(TComponent* AOwner) : TbsSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    SetControlStyle(
        {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csSetCaption, csOpaque, csReplicatable});
    FSkinDataName = L"panel";
    SetWidth(150);
    SetHeight(150);
    FForceBackground = true;
    G.NewClRect = {};
}

TbsSkinPanel::~TbsSkinPanel() = default;

void TbsSkinPanel::SetCaptionMode(bool Value) {
    FCaptionMode = Value;
    Invalidate();
    Realign();
}

void TbsSkinPanel::SetDefaultCaptionHeight(int Value) {
    FDefaultCaptionHeight = Value;
    if ((HasSkin() && FUseSkinSize) || !FCaptionMode)
        return;
    Invalidate();
    Realign();
}

void TbsSkinPanel::SetDefaultAlignment(TAlignment Value) {
    FDefaultAlignment = Value;
    if (FIndex == -1 && FCaptionMode)
        Invalidate();
}

void TbsSkinPanel::SetBorderStyle(TbsPanelBorderStyle Value) {
    FBorderStyle = Value;
    if (FIndex == -1) {
        Invalidate();
        Realign();
    }
}

void TbsSkinPanel::SetRibbonStyle(bool Value) {
    if (FRibbonStyle == Value)
        return;
    FRibbonStyle = Value;
    Invalidate();
}

void TbsSkinPanel::SetGlyph(TBitmap* Value) {
    if (Value)
        FGlyph->Assign(Value);
    else
        FGlyph = std::make_unique<TBitmap>();
    Invalidate();
}

void TbsSkinPanel::SetNumGlyphs(int Value) {
    FNumGlyphs = std::clamp(Value, 1, 2);
    Invalidate();
}

void TbsSkinPanel::SetSpacing(int Value) {
    FSpacing = Value;
    Invalidate();
}

void TbsSkinPanel::SetCaptionImageList(TCustomImageList* Value) {
    SetBorrowed(this, FCaptionImageList, Value);
    Invalidate();
}

void TbsSkinPanel::SetCaptionImageIndex(int Value) {
    if (FCaptionImageIndex == Value)
        return;
    FCaptionImageIndex = Value;
    Invalidate();
}

void TbsSkinPanel::SetImagePosition(TbsImagePosition Value) {
    if (FImagePosition == Value)
        return;
    FImagePosition = Value;
    Invalidate();
}

void TbsSkinPanel::SetCheckedMode(bool Value) {
    FCheckedMode = Value;
    Invalidate();
}

void TbsSkinPanel::SetChecked(bool Value) {
    FChecked = Value;
    if (FCheckedMode) {
        Invalidate();
        if (FAutoEnabledControls)
            for (int i = 0; i < ControlCount(); ++i)
                Controls(i)->SetEnabled(Value);
    }
    // Reported on every assignment, also when nothing changed.
    if (OnChecked)
        OnChecked(this);
}

void TbsSkinPanel::SetRollUpMode(bool Value) {
    FRollUpMode = Value;
    if (FIndex == -1 && FCaptionMode)
        Invalidate();
}

void TbsSkinPanel::SetRollUpState(bool Value) {
    if (FRollUpState == Value)
        return;
    if (!FRollUpMode) {
        FConstraints = FSaved;
        return;
    }
    // Rolling up lifts the limits; rolling down puts them back rather than saving the lifted ones over them.
    if (Value) {
        FSaved = FConstraints;
        FConstraints = {};
    } else {
        FConstraints = FSaved;
    }
    FRollUpState = Value;
    DoRollUp(Value);
    if (OnChangeRollUpState)
        OnChangeRollUpState(this);
}

void TbsSkinPanel::DoRollUp(bool Up) {
    TScopeFlag busy(FInChangingRollUp);
    if (Up) {
        if (FRealHeight != -1)
            return;
        FRealHeight = Height();
        HideControls();
        GetSkinData();
        int h = FDefaultCaptionHeight + 1;
        if (HasSkin() && FUseSkinSize) {
            int w = Width(), hh = Height();
            CalcSize(w, hh);
            h = Height() - G.NewClRect.Height();
        }
        SetHeight(h);
    } else if (FRealHeight != -1) {
        SetHeight(FRealHeight);
        FRealHeight = -1;
        ShowControls();
    }
}

void TbsSkinPanel::SetTransparentMode(bool Value) {
    if (FTransparentMode == Value)
        return;
    FTransparentMode = Value;
    Invalidate();
    CheckControlsBackground();
}

void TbsSkinPanel::ShowControls() {
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->SetVisible(true);
    EnableAlign();
}

void TbsSkinPanel::HideControls() {
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->SetVisible(false);
}

void TbsSkinPanel::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FCaptionImageList)
        FCaptionImageList = nullptr;
}

void TbsSkinPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    auto limit = [](int v, int lo, int hi) {
        if (hi > 0)
            v = std::min(v, hi);
        if (lo > 0)
            v = std::max(v, lo);
        return v;
    };
    AWidth = limit(AWidth, FConstraints.MinWidth, FConstraints.MaxWidth);
    AHeight = limit(AHeight, FConstraints.MinHeight, FConstraints.MaxHeight);
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FIndex == -1)
        Invalidate();
}

void TbsSkinPanel::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    if (FRollUpState && FRealHeight != -1) {
        // Rolled up: fold again for the new skin, keeping the saved height.
        const int saved = FRealHeight;
        FRealHeight = -1;
        DoRollUp(true);
        FRealHeight = saved;
    } else {
        Realign();
    }
}

void TbsSkinPanel::CreateParams(TCreateParams& Params) {
    TbsSkinCustomControl::CreateParams(Params);
    // Resizing repaints what the panel decides, not the whole window.
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinPanel::GetSkinData() {
    BGPictureIndex = -1;
    TbsSkinCustomControl::GetSkinData();
    auto* e = dynamic_cast<TbsDataSkinPanelControl*>(Entry());
    if (!e)
        return;
    CaptionRect = e->CaptionRect;
    Alignment = e->Alignment;
    FontName = e->FontName;
    FontStyle = ToFontStyles(e->FontStyle);
    FontHeight = e->FontHeight;
    FontColor = static_cast<TColor>(e->FontColor);
    BGPictureIndex = e->BGPictureIndex;
    CheckImageRect = e->CheckImageRect;
    UnCheckImageRect = e->UnCheckImageRect;
    MarkFrameRect = e->MarkFrameRect;
    FrameRect = e->FrameRect;
    FrameTextRect = e->FrameTextRect;
    FrameLeftOffset = e->FrameLeftOffset;
    FrameRightOffset = e->FrameRightOffset;
}

void TbsSkinPanel::AdjustClientRect(TRect& Rect) {
    TbsSkinCustomControl::AdjustClientRect(Rect);
    if (FEmptyDrawing)
        return;
    GetSkinData();
    if (!HasSkin()) {
        if (FBorderStyle != TbsPanelBorderStyle::bvNone)
            Rect.Inflate(-1, -1);
        if (FCaptionMode) {
            if (FRibbonStyle)
                Rect.Bottom -= FDefaultCaptionHeight;
            else
                Rect.Top += FDefaultCaptionHeight;
        }
        return;
    }
    const TRect base = Rect;
    if (BGPictureIndex == -1 &&
        (FBorderStyle != TbsPanelBorderStyle::bvNone || FCaptionMode || G.ResizeMode != rmBoth)) {
        int w = Width(), h = Height();
        G.CalcSize(true, w, h);
        Rect = G.NewClRect;
    }
    if (FCaptionMode && !FUseSkinSize) {
        if (FRibbonStyle) {
            Rect.Bottom = base.Bottom - FDefaultCaptionHeight;
        } else {
            // Below the caption band, which lies inside the "panel" frame as the resized caption draws it.
            const TRect frame = ResizedCaptionClient();
            Rect.Top = (frame.IsEmpty() ? 0 : frame.Top) + FDefaultCaptionHeight;
        }
    }
}

TRect TbsSkinPanel::GetSkinClientRect() {
    TRect r{0, 0, Width(), Height()};
    AdjustClientRect(r);
    return r;
}

void TbsSkinPanel::PaintskinTo(TCanvas* C, int X, int Y) {
    PaintImageTo(C, X, Y);
}

void TbsSkinPanel::Paint() {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0 || FEmptyDrawing)
        return;
    GetSkinData();
    const bool skin = HasSkin();
    if (skin && !FUseSkinSize && !FTransparentMode && FCaptionMode) {
        TBitmap b(w, h);
        CreateControlResizeImage(&b);
        Canvas()->Draw(0, 0, &b);
        return;
    }
    if (skin && FTransparentMode) {
        TBitmap b(w, h);
        GetParentImage(this, b.Canvas());
        if (FCaptionMode) {
            PaintTransparentCaption(&b);
        } else if (FBorderStyle != TbsPanelBorderStyle::bvNone) {
            TCanvas* c = b.Canvas();
            c->Brush()->SetStyle(bsClear);
            c->Pen()->SetColor(static_cast<TColor>(FSD->SkinColors()->cBtnShadow));
            c->Rectangle(0, 0, w, h);
        }
        PaintTransparent(b.Canvas());
        Canvas()->Draw(0, 0, &b);
        return;
    }
    if (!skin || (!FForceBackground && G.StretchEffect)) {
        TbsSkinCustomControl::Paint();
        return;
    }
    if (FBorderStyle == TbsPanelBorderStyle::bvNone && G.ResizeMode == rmBoth && !FCaptionMode && FForceBackground) {
        PaintClientPart();
        return;
    }
    if (BGPictureIndex == -1)
        TbsSkinCustomControl::Paint();
    else
        PaintBackgroundPicture();
}

void TbsSkinPanel::PaintClientPart() {
    TRect part = G.ClRect;
    part.Offset(G.SkinRect.Left, G.SkinRect.Top);
    // An empty client part, or one outside the picture, draws nothing.
    if (part.IsEmpty() || !RectInPicture(part, Picture))
        return;
    for (const TbsTile& t :
         ForcedBackgroundTiles({0, 0, Width(), Height()}, part.Width(), part.Height(), G.StretchEffect, G.StretchType))
        Canvas()->CopyRect(t.Dst, Picture->Canvas(), part);
}

void TbsSkinPanel::PaintBackgroundPicture() {
    TBitmap* bg = SkinPictureAt(FSD, BGPictureIndex);
    if (!bg || bg->Width() <= 0 || bg->Height() <= 0)
        return;  // an empty picture draws nothing
    const TRect src{0, 0, bg->Width(), bg->Height()};
    int w = Width(), h = Height();
    G.CalcSize(true, w, h);
    if (G.StretchEffect && G.StretchType == bsstFull) {
        Canvas()->CopyRect(G.NewClRect, bg->Canvas(), src);
        return;
    }
    for (const TbsTile& t :
         ForcedBackgroundTiles({0, 0, Width(), Height()}, src.Width(), src.Height(), G.StretchEffect, G.StretchType))
        Canvas()->CopyRect(t.Dst, bg->Canvas(), src);
}

void TbsSkinPanel::CreateControlSkinImage(TBitmap* B) {
    if (FBorderStyle == TbsPanelBorderStyle::bvNone && G.ResizeMode == rmBoth && !FCaptionMode && !G.StretchEffect) {
        TRect part = G.ClRect;
        part.Offset(G.SkinRect.Left, G.SkinRect.Top);
        if (part.IsEmpty() || !RectInPicture(part, Picture))
            return;
        for (int y = 0; y < B->Height(); y += part.Height())
            for (int x = 0; x < B->Width(); x += part.Width())
                B->Canvas()->CopyRect({x, y, x + part.Width(), y + part.Height()}, Picture->Canvas(), part);
        return;
    }
    TbsSkinCustomControl::CreateControlSkinImage(B);
    if (FUseSkinSize) {
        if (G.ResizeMode == rmFixed)
            NewCaptionRect = CaptionRect;
        else if (!FTransparentMode)
            NewCaptionRect = GetNewRect(CaptionRect);
    }
    if (!Caption().empty() && !CaptionRect.IsEmpty())
        DrawCaption(B);
}

TRect TbsSkinPanel::ResizedCaptionClient() {
    const std::wstring saved = FSkinDataName;
    FSkinDataName = L"panel";
    GetSkinData();
    TRect client{};
    if (HasSkin()) {
        int w = Width(), h = Height();
        G.CalcSize(true, w, h);
        client = G.NewClRect;
    }
    FSkinDataName = saved;
    GetSkinData();
    return client;
}

void TbsSkinPanel::CreateControlResizeImage(TBitmap* B) {
    const std::wstring saved = FSkinDataName;
    FSkinDataName = L"panel";
    GetSkinData();
    if (!HasSkin()) {
        FSkinDataName = saved;
        GetSkinData();
        return;
    }
    int w = Width(), h = Height();
    G.CalcSize(true, w, h);
    const TRect panelClient = G.NewClRect;
    if (Picture && RectInPicture(G.SkinRect, Picture))
        CreateSkinImage(G.LTPt, G.RTPt, G.LBPt, G.RBPt, G.ClRect, G.NewLTPoint, G.NewRTPoint, G.NewLBPoint,
                        G.NewRBPoint, G.NewClRect, B, Picture, G.SkinRect, Width(), Height(), true, G.LeftStretch,
                        G.TopStretch, G.RightStretch, G.BottomStretch, G.StretchEffect, G.StretchType);
    FSkinDataName = saved;
    GetSkinData();
    // The client rectangle stays the one of "panel".
    G.NewClRect = panelClient;
    TRect strip = CaptionRect;
    strip.Inflate(-1, -1);
    strip.Offset(G.SkinRect.Left, G.SkinRect.Top);
    // The caption band is DefaultCaptionHeight high inside the frame, whatever the frame's thickness; the children
    // start below it (AdjustClientRect).
    const int stripH = FDefaultCaptionHeight - 1;
    if (HasSkin() && stripH > 0 && !strip.IsEmpty() && RectInPicture(strip, Picture))
        B->Canvas()->CopyRect({panelClient.Left, panelClient.Top, panelClient.Right, panelClient.Top + stripH},
                              Picture->Canvas(), strip);
    NewCaptionRect = {panelClient.Left, panelClient.Top, panelClient.Right, panelClient.Top + stripH};
    if (!HasSkin())
        return;
    // The own entry's composition (nothing for a nine-part entry with the forced background), then the caption.
    CreateSkinControlImage(B, Picture, G, Width(), Height(), FForceBackground);
    if (!Caption().empty() && !CaptionRect.IsEmpty())
        DrawCaption(B);
}

void TbsSkinPanel::ApplyCaptionFont(TFont* F) {
    if (FUseSkinFont && HasSkin()) {
        F->SetName(FontName);
        F->SetHeight(FontHeight);
        F->SetStyle(FontStyle);
    } else {
        F->Assign(DefaultFont());
    }
    F->SetCharset(SkinFontCharset(FSD, DefaultFont()->Charset()));
}

bool TbsSkinPanel::CaptionPicture(int& W, int& H) const {
    W = H = 0;
    if (FGlyph->Empty() && FCaptionImageList && FCaptionImageIndex >= 0 &&
        FCaptionImageIndex < FCaptionImageList->Count()) {
        W = FCaptionImageList->Width();
        H = FCaptionImageList->Height();
        return true;
    }
    if (!FGlyph->Empty()) {
        W = FGlyph->Width() / FNumGlyphs;
        H = FGlyph->Height();
        return true;
    }
    return false;
}

void TbsSkinPanel::DrawCaptionPicture(TCanvas* C, int X, int Y) {
    if (FGlyph->Empty() && FCaptionImageList && FCaptionImageIndex >= 0 &&
        FCaptionImageIndex < FCaptionImageList->Count()) {
        FCaptionImageList->Draw(C, X, Y, FCaptionImageIndex, Enabled());
        return;
    }
    if (!FGlyph->Empty())
        DrawGlyph(C, X, Y, FGlyph.get(), FNumGlyphs, !Enabled() && FNumGlyphs == 2 ? 2 : 1);
}

int TbsSkinPanel::GlyphTextWidth(TCanvas* C) {
    int w = C->TextWidth(Caption());
    if (!FGlyph->Empty())
        w += FGlyph->Width() / FNumGlyphs + FSpacing;
    return w;
}

void TbsSkinPanel::DrawCaption(TBitmap* B) {
    TCanvas* c = B->Canvas();
    TRect R = NewCaptionRect;
    if (FRollUpMode)
        R.Right -= 12;
    const TRect markBox{R.Right, R.Top, R.Right + 10, R.Bottom};
    if (FCheckedMode && Picture) {
        const TRect pic = FChecked ? CheckImageRect : UnCheckImageRect;
        DrawWithCornerTransparent(c, Picture, pic, R.Left, R.Top + R.Height() / 2 - pic.Height() / 2);
        R.Left += pic.Width() + 2;
    }
    ApplyCaptionFont(c->Font());
    c->Font()->SetColor(FontColor);
    const std::wstring text = Caption();
    const int th = c->TextHeight(text);
    int TY = R.Top + R.Height() / 2 - th / 2;
    if (c->Font()->Height() % 2 != 0)
        --TY;
    const int W = GlyphTextWidth(c);
    int TX = R.Left;
    if (Alignment == taRightJustify)
        TX = R.Right - W;
    else if (Alignment == taCenter)
        TX = R.Left + R.Width() / 2 - W / 2;
    int pw = 0, ph = 0;
    const bool hasPic = CaptionPicture(pw, ph);
    int PX = TX, PY = R.Top + R.Height() / 2 - ph / 2;
    if (hasPic) {
        if (FImagePosition == bsipDefault) {
            TX += pw + FSpacing;
        } else {
            PX = R.Left + 2;
            const int minX = PX + pw + FSpacing;
            const int tw = c->TextWidth(text);
            if (Alignment == taRightJustify)
                TX = R.Right - tw;
            else if (Alignment == taCenter)
                TX = R.Left + R.Width() / 2 - tw / 2;
            else
                TX = minX;
            TX = std::max(TX, minX);
        }
    }
    if (FRollUpMode) {
        if (!MarkFrameRect.IsEmpty() && RectInPicture(MarkFrameRect, Picture)) {
            const int bottom = CaptionRect.Top + MarkFrameRect.Height();
            c->CopyRect({markBox.Left, R.Top, markBox.Left + MarkFrameRect.Width(), R.Top + (bottom - CaptionRect.Top)},
                        Picture->Canvas(), MarkFrameRect);
        }
        DrawArrowImage(c, markBox, FontColor, FRollUpState ? 4 : 3);
    }
    if (!FrameRect.IsEmpty() && Picture) {
        const int F = FrameRect.Width() - FrameTextRect.Width();
        const int tw = c->TextWidth(text);
        TBitmap frame;
        TRect src = FrameRect;
        src.Offset(G.SkinRect.Left, G.SkinRect.Top);
        if (RectInPicture(src, Picture) && tw + F > 0) {
            CreateHSkinImage(FrameLeftOffset, FrameRightOffset, &frame, Picture, src, tw + F, FrameRect.Height(),
                             false);
            int fx = TX;
            if (Alignment == taLeftJustify) {
                TX = fx + FrameTextRect.Left;
            } else if (Alignment == taRightJustify) {
                fx = TX - F;
                TX = fx + FrameTextRect.Left;
                PX -= F;
            } else {
                fx = TX - FrameTextRect.Left - 2;
                TX -= 2;
                PX -= FrameTextRect.Left;
            }
            // Behind the text, at the caption's place now (the skin's own place, or the resized band).
            c->Draw(fx, R.Top, &frame);
        }
    }
    c->Brush()->SetStyle(bsClear);
    c->TextRect(R, TX, TY, text);
    if (hasPic)
        DrawCaptionPicture(c, PX, PY);
}

TColor TbsSkinPanel::GetCaptionColor() {
    const int i = LookupSkinEntry(FSD, L"stdlabel");
    if (auto* e = dynamic_cast<TbsDataSkinStdLabelControl*>(SkinEntryAt(FSD, i)))
        return static_cast<TColor>(e->FontColor);
    return FSD ? static_cast<TColor>(FSD->SkinColors()->cBtnText) : clBtnText;
}

void TbsSkinPanel::PaintTransparentCaption(TBitmap* B) {
    TCanvas* c = B->Canvas();
    ApplyCaptionFont(c->Font());
    c->Font()->SetColor(GetCaptionColor());
    const std::wstring text = Caption();
    const int th = c->TextHeight(text.empty() ? std::wstring(L"W") : text);
    const int stripH = th + 5;
    NewCaptionRect = {5, 0, Width(), stripH};
    int X = 5;
    if (FCheckedMode && Picture) {
        const TRect pic = FChecked ? CheckImageRect : UnCheckImageRect;
        DrawWithCornerTransparent(c, Picture, pic, 5, stripH / 2 - pic.Height() / 2);
        X = pic.Width() + 10;
    }
    int pw = 0, ph = 0;
    if (CaptionPicture(pw, ph)) {
        DrawCaptionPicture(c, X, stripH / 2 - ph / 2);
        X += pw + 2;
    }
    c->Brush()->SetStyle(bsClear);
    BSDrawText(c, text, {X, 0, Width(), stripH});
    const int TW = c->TextWidth(text);
    const int y = stripH / 2;
    c->Pen()->SetColor(static_cast<TColor>(FSD->SkinColors()->cBtnShadow));
    int lineStart = X + TW + 3;
    if (FRollUpMode) {
        DrawArrowImage(c, {X + TW + 3, 0, X + TW + 10, stripH}, c->Font()->Color(), FRollUpState ? 4 : 3);
        lineStart = X + TW + 12;
    }
    const int w = Width(), h = Height();
    c->MoveTo(lineStart, y);
    c->LineTo(w - 1, y);
    c->LineTo(w - 1, h - 1);
    c->LineTo(0, h - 1);
    c->LineTo(0, y);
    c->LineTo(4, y);
}

void DrawPanelBorder(TCanvas* C, const TRect& R, TbsPanelBorderStyle Style) {
    switch (Style) {
        case TbsPanelBorderStyle::bvFrame:
            Frm3D(C, R, clBtnShadow, clBtnShadow);
            break;
        case TbsPanelBorderStyle::bvRaised:
            Frm3D(C, R, clBtnHighlight, clBtnShadow);
            break;
        case TbsPanelBorderStyle::bvLowered:
            Frm3D(C, R, clBtnShadow, clBtnHighlight);
            break;
        case TbsPanelBorderStyle::bvNone:
            break;
    }
}

void TbsSkinPanel::CreateControlDefaultImage(TBitmap* B) {
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    TCanvas* c = B->Canvas();
    const int w = B->Width(), h = B->Height();
    DrawPanelBorder(c, {0, 0, w, h}, FBorderStyle);
    if (!FCaptionMode)
        return;
    TRect bar;
    if (FBorderStyle == TbsPanelBorderStyle::bvFrame)
        bar = FRibbonStyle ? TRect{0, h - FDefaultCaptionHeight, w, h} : TRect{0, 0, w, FDefaultCaptionHeight};
    else
        bar = FRibbonStyle ? TRect{1, h - FDefaultCaptionHeight - 1, w - 1, h - 1}
                           : TRect{1, 1, w - 1, FDefaultCaptionHeight};
    Fill(c, bar, clBtnShadow);
    if (FCheckedMode)
        bar.Left += 20;
    if (FRollUpMode)
        bar.Right -= 10;
    c->Font()->Assign(DefaultFont());
    c->Font()->SetCharset(SkinFontCharset(FSD, DefaultFont()->Charset()));
    const std::wstring text = Caption();
    const int TY = bar.Top + bar.Height() / 2 - c->TextHeight(text) / 2 - 1;
    const int W = GlyphTextWidth(c);
    int TX = bar.Left + 4;
    if (FDefaultAlignment == taRightJustify)
        TX = bar.Right - W;
    else if (FDefaultAlignment == taCenter)
        TX = bar.Left + 4 + bar.Width() / 2 - W / 2;
    if (FCheckedMode) {
        const int top = bar.Top + bar.Height() / 2 - 13 / 2;
        Fill(c, {5, top, 18, top + 13}, clWindow);
        if (FChecked)
            DrawCheckImage(c, 5 + 3, top + 2, clWindowText);
    }
    int pw = 0, ph = 0;
    const bool hasPic = CaptionPicture(pw, ph);
    const int PX = TX, PY = bar.Top + bar.Height() / 2 - ph / 2;
    if (hasPic)
        TX += pw + FSpacing;
    c->Brush()->SetStyle(bsClear);
    c->TextRect(bar, TX, TY, text);
    if (hasPic)
        DrawCaptionPicture(c, PX, PY);
    if (FRollUpMode)
        DrawArrowImage(c, {bar.Right, bar.Top, bar.Right + 6, bar.Bottom}, clWindowText, FRollUpState ? 4 : 3);
}

void TbsSkinPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && FCaptionMode && (FCheckedMode || FRollUpMode)) {
        const TRect cap = HasSkin() ? NewCaptionRect : TRect{1, 1, Width() - 1, FDefaultCaptionHeight};
        if (cap.Contains({X, Y})) {
            if (FCheckedMode)
                SetChecked(!FChecked);
            if (FRollUpMode)
                SetRollUpState(!FRollUpState);
        }
    }
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinPanel::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_TEXTCHANGED:
            TbsSkinCustomControl::WndProc(Message);
            if (FCaptionMode)
                Invalidate();
            return;
        case CM_ENABLEDCHANGED:
            TbsSkinCustomControl::WndProc(Message);
            Invalidate();
            return;
        case WM_MOVE:
            TbsSkinCustomControl::WndProc(Message);
            if (FTransparentMode) {
                Invalidate();
                CheckControlsBackground();
            }
            return;
        case WM_CHECKPARENTBG:
            if (FTransparentMode) {
                Invalidate();
                CheckControlsBackground();
            }
            return;
        default:
            break;
    }
    TbsSkinCustomControl::WndProc(Message);
}

// ---- TbsSkinPaintPanel ----------------------------------------------------------------------------------------------
TbsSkinPaintPanel::TbsSkinPaintPanel(TComponent* AOwner) : TbsSkinPanel(AOwner) {
    FForceBackground = false;
}

void TbsSkinPaintPanel::PaintTransparent(TCanvas* C) {
    if (OnPanelPaint)
        OnPanelPaint(C, GetSkinClientRect());
}

void TbsSkinPaintPanel::CreateControlDefaultImage(TBitmap* B) {
    TbsSkinPanel::CreateControlDefaultImage(B);
    if (OnPanelPaint)
        OnPanelPaint(B->Canvas(), GetSkinClientRect());
}

void TbsSkinPaintPanel::CreateControlSkinImage(TBitmap* B) {
    TbsSkinPanel::CreateControlSkinImage(B);
    if (OnPanelPaint)
        OnPanelPaint(B->Canvas(), GetSkinClientRect());
}

void TbsSkinPaintPanel::WndProc(TMessage& Message) {
    if (Message.Msg == WM_ERASEBKGND && !FromWMPaint && Message.WParam) {
        PaintTo(reinterpret_cast<HDC>(Message.WParam), 0, 0);
        Message.Result = 1;
        return;
    }
    TbsSkinPanel::WndProc(Message);
}

// ---- TbsSkinGroupBox ------------------------------------------------------------------------------------------------
TbsSkinGroupBox::TbsSkinGroupBox(TComponent* AOwner) : TbsSkinPanel(AOwner) {
    FSkinDataName = L"groupbox";
    SetCaptionMode(true);
}

void TbsSkinGroupBox::GetSkinData() {
    TbsSkinPanel::GetSkinData();
    // A skin whose caption lies below the client part paints through the normal composition; never switched back.
    if (SkinLookAvailable() && G.ClRect.Bottom < CaptionRect.Top)
        FForceBackground = false;
}
