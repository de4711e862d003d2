// The caption text object: the window title over the caption background stretched from the skin picture, with its
// light and shadow copies, text frame, glow, soft glow or reflection, the frame strip played on activation, the
// cross-fade between inactive and active background and the skin's inactive effect; and the same caption painted
// into the 32-bit top image of a layered border so that the image keeps its alpha around the text.
#include <algorithm>

#include "skin/core/EffectBitmap.h"
#include "skin/core/ResourceStrings.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/QuickButtons.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinFormObjects.h"

namespace {

constexpr std::uint32_t kCaptionFormat = DT_VCENTER | DT_NOPREFIX;

bool Has(const TRect& R) {
    return !IsNullRect(R);
}

TRect TextExtent(TCanvas* Canvas, const std::wstring& Text, int X, int Y) {
    TRect r{X, Y, X, Y};
    BSDrawSkinText(Canvas, Text, r, DT_CALCRECT | kCaptionFormat);
    return r;
}

TRect Moved(const TRect& R, int Dx, int Dy) {
    return TRect{R.Left + Dx, R.Top + Dy, R.Right + Dx, R.Bottom + Dy};
}

}  // namespace

void PaintKeepingAlpha(TbsBitmap* Target,
                       TFont* Font,
                       TRect Area,
                       int Margin,
                       const std::function<void(TCanvas*, int, int, bool)>& Paint) {
    Area = TRect{Area.Left - Margin, Area.Top - Margin, Area.Right + Margin, Area.Bottom + Margin};
    Area.Left = std::max(Area.Left, 0);
    Area.Top = std::max(Area.Top, 0);
    Area.Right = std::min(Area.Right, Target->Width());
    Area.Bottom = std::min(Area.Bottom, Target->Height());
    const int w = Area.Width(), h = Area.Height();
    if (w <= 0 || h <= 0)
        return;
    TbsBitmap B, M;
    B.SetSize(w, h);
    M.SetSize(w, h);
    if (B.Empty() || M.Empty())
        return;
    GdiFlush();
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* src = Target->GetScanLine(Area.Top + y) + Area.Left;
        std::uint32_t* b = B.GetScanLine(y);
        std::uint32_t* m = M.GetScanLine(y);
        for (int x = 0; x < w; ++x) {
            b[x] = src[x];
            const std::uint32_t a = src[x] >> 24;
            m[x] = 0xFF000000u | (a << 16) | (a << 8) | a;
        }
    }
    for (TbsBitmap* layer : {&M, &B}) {
        TCanvas* c = layer->Canvas();
        c->Font()->Assign(Font);
        if (layer == &M)
            c->Font()->SetColor(clWhite);
        c->Brush()->SetStyle(bsClear);
        SetBkMode(c->Handle(), TRANSPARENT);
        if (layer == &B)
            B.SetAlpha(255);
        Paint(c, -Area.Left, -Area.Top, layer == &M);
        GdiFlush();
    }
    CreateAlphaByMask(&B, &M);
    for (int y = 0; y < h; ++y)
        std::copy(B.GetScanLine(y), B.GetScanLine(y) + w, Target->GetScanLine(Area.Top + y) + Area.Left);
}

TbsSkinCaptionObject::TbsSkinCaptionObject(TbsSkinForm* AParent, TbsDataSkinCaption* AData)
    : TbsActiveSkinObject(AParent, AData), Cap(AData) {}

bool TbsSkinCaptionObject::EnableAnimation() {
    // A strip without frames is no animation: nothing divides by its count.
    return SD && !SD->Empty && SD->EnableSkinEffects && Cap && Has(Cap->AnimateSkinRect) && Cap->FrameCount > 0;
}

void TbsSkinCaptionObject::UpdateNCForm() {
    if (Parent->CanShowBorderLayer() && SD && SD->LayerFrame.FullBorder)
        Redraw();
    else if (Parent->FForm->HandleAllocated())
        SendMessageW(Parent->FForm->Handle(), WM_NCPAINT, 1, 0);
}

TRect TbsSkinCaptionObject::GetAnimationFrameRect(int N) const {
    if (!Cap || Cap->FrameCount <= 0 || N < 1)
        return TRect{};
    const TRect& a = Cap->AnimateSkinRect;
    const int n = std::min(N, Cap->FrameCount);
    if (SkinRect.Height() < a.Height()) {
        const int h = a.Height() / Cap->FrameCount;
        if (h <= 0)
            return TRect{};
        return TRect{a.Left, a.Top + h * (n - 1), a.Right, a.Top + h * n};
    }
    const int w = a.Width() / Cap->FrameCount;
    if (w <= 0)
        return TRect{};
    return TRect{a.Left + w * (n - 1), a.Top, a.Left + w * n, a.Bottom};
}

void TbsSkinCaptionObject::CnvSetFont(TCanvas* Canvas, int Color) {
    TFont* f = Canvas->Font();
    if (Parent->UseSkinFontInCaption && Cap) {
        f->SetName(Cap->FontName.empty() ? L"Tahoma" : Cap->FontName);
        f->SetStyle(ToFontStyles(Cap->FontStyle));
        f->SetHeight(Cap->FontHeight != 0 ? Cap->FontHeight : 13);
    } else {
        f->Assign(Parent->DefCaptionFont());
    }
    f->SetColor(static_cast<TColor>(Color));
    TbsResourceStrData* strings = SD ? SD->ResourceStrData() : nullptr;
    f->SetCharset(strings ? strings->CharSet : Parent->DefCaptionFont()->Charset());
}

TRect TbsSkinCaptionObject::TextArea() const {
    if (!Cap)
        return TRect{};
    TRect r = Cap->TextRct;
    if (Has(r)) {
        r.Right = ObjectRect.Width() - (SkinRect.Width() - Cap->TextRct.Right);
        if (QuickButtonsShown())
            r.Left += 5;
    }
    // Caption buttons laid over the caption take their room from the text: it ends before the first of them.
    for (const auto& o : Parent->ObjectList) {
        const TRect& b = o->ObjectRect;
        if (o.get() == this || !o->Visible || b.Bottom <= ObjectRect.Top || b.Top >= ObjectRect.Bottom)
            continue;
        const int left = b.Left - ObjectRect.Left;
        if (left > r.Left && left < r.Right)
            r.Right = left - 2;
    }
    if (Has(Cap->FrameRect)) {
        r.Top += Cap->FrameTextRect.Top;
        r.Left += Cap->FrameTextRect.Left;
        r.Right -= Cap->FrameRect.Width() - Cap->FrameTextRect.Right;
    }
    return r;
}

void TbsSkinCaptionObject::DrawCaptionText(TCanvas* Canvas,
                                           const TRect& Area,
                                           int X0,
                                           int Y0,
                                           bool ActiveLook,
                                           TbsBitmap* Alpha) {
    if (Parent->OnCaptionPaint) {
        Parent->OnCaptionPaint(Canvas, Moved(TRect{0, 0, ObjectRect.Width(), ObjectRect.Height()}, X0, Y0), ActiveLook);
        return;
    }
    std::wstring text = Parent->FForm->Caption();
    FPaintedText.clear();
    if (text.empty() || !Cap || (!Alpha && !Has(Cap->TextRct)) || Area.Width() <= 0)
        return;
    CorrectTextbyWidthWNoPrefix(Canvas, text, Area.Width());
    FPaintedText = text;
    const int W = CalcTextWidthWNoPrefix(Canvas, text);
    FPaintedWidth = W;
    FPaintedArea = Area.Width();
    const int H = CalcTextHeightWNoPrefix(Canvas, text);
    int Y = Area.Top + Area.Height() / 2 - H / 2;
    int X = Area.Left;
    // A form with quick buttons centres its title whatever the skin asks (also when they are not drawn).
    if (Parent->QuickButtons()->Count() > 0)
        X = Area.Left + Area.Width() / 2 - W / 2;
    else if (Cap->Alignment == taRightJustify)
        X = Area.Right - W;
    else if (Cap->Alignment == taCenter)
        X = Area.Left + Area.Width() / 2 - W / 2;
    X += X0;
    Y += Y0 - (IsOddFontHeight(Canvas) ? 1 : 0);
    Canvas->Brush()->SetStyle(bsClear);
    SetBkMode(Canvas->Handle(), TRANSPARENT);

    if (!Alpha && Has(Cap->FrameRect) && ActivePicture) {
        const TRect src = (ActiveLook && Has(Cap->ActiveFrameRect)) ? Cap->ActiveFrameRect : Cap->FrameRect;
        const int buttonsOffset = SD ? SD->ButtonsOffset : 0;
        const int fw = Cap->FullFrame ? ObjectRect.Width() - 2 * buttonsOffset
                                      : Cap->FrameRect.Width() + W - Cap->FrameTextRect.Width();
        const int fx = Cap->FullFrame ? X0 + buttonsOffset : X - Cap->FrameTextRect.Left;
        if (fw > 0 && src.Height() > 0) {
            TBitmap frame;
            CreateHSkinImage(Cap->FrameLeftOffset, Cap->FrameRightOffset, &frame, ActivePicture, src, fw,
                             Cap->FrameRect.Height(), false);
            if (!frame.Empty())
                BitBlt(Canvas->Handle(), fx, Y - Cap->FrameTextRect.Top, frame.Width(), frame.Height(),
                       frame.Canvas()->Handle(), 0, 0, SRCCOPY);
        }
    }

    const TColor textColor = Canvas->Font()->Color();
    // Each copy (and the text itself) at its own measured rectangle; in the layered path through the alpha keeper.
    auto paint = [&](int DX, int DY, int Margin, const std::function<void(TCanvas*, const TRect&, bool)>& Draw) {
        const TRect r = TextExtent(Canvas, text, X + DX, Y + DY);
        if (!Alpha) {
            Draw(Canvas, r, false);
            return;
        }
        PaintKeepingAlpha(Alpha, Canvas->Font(), r, Margin,
                          [&](TCanvas* c, int ox, int oy, bool mask) { Draw(c, Moved(r, ox, oy), mask); });
    };
    auto plainIn = [&](TColor Color) {
        return [&, Color](TCanvas* c, const TRect& r, bool mask) {
            c->Font()->SetColor(mask ? clWhite : Color);
            TRect rr = r;
            BSDrawSkinText(c, text, rr, kCaptionFormat);
        };
    };
    if (Cap->Light)
        paint(-1, -1, 0, plainIn(static_cast<TColor>(ActiveLook ? Cap->ActiveLightColor : Cap->LightColor)));
    if (Cap->Shadow)
        paint(1, 1, 0, plainIn(static_cast<TColor>(ActiveLook ? Cap->ActiveShadowColor : Cap->ShadowColor)));
    Canvas->Font()->SetColor(textColor);

    const TColor glow = static_cast<TColor>(ActiveLook ? Cap->GlowActiveColor : Cap->GlowColor);
    const bool vista = Cap->VistaGlowEffect && (Alpha || ActiveLook || Cap->VistaGlowInActiveEffect);
    const bool glowing = Cap->GlowEffect && (Alpha || ActiveLook || Cap->GlowInActiveEffect);
    auto inColour = [&](TCanvas* c, bool mask) {
        c->Font()->SetColor(mask ? clWhite : textColor);
    };
    if (Cap->ReflectionEffect) {
        const TColor rc = static_cast<TColor>(ActiveLook ? Cap->ReflectionActiveColor : Cap->ReflectionColor);
        paint(0, 0, 6, [&](TCanvas* c, const TRect& r, bool mask) {
            inColour(c, mask);
            DrawReflectionTextW(c, r, text, mask ? clWhite : rc, Cap->ReflectionOffset, kCaptionFormat);
        });
    } else if (vista) {
        paint(0, 0, 6, [&](TCanvas* c, const TRect& r, bool mask) {
            inColour(c, mask);
            if (Alpha)
                DrawVistaEffectTextW2(c, r, text, mask ? clWhite : glow, kCaptionFormat);
            else
                DrawVistaEffectTextW(c, r, text, glow, kCaptionFormat);
        });
    } else if (glowing) {
        paint(0, 0, 6, [&](TCanvas* c, const TRect& r, bool mask) {
            inColour(c, mask);
            DrawEffectTextW(c, r, text, Cap->GlowSize, mask ? clWhite : glow, Cap->GlowOffset, kCaptionFormat);
        });
    } else {
        paint(0, 0, 0, plainIn(textColor));
    }
    Canvas->Font()->SetColor(textColor);
}

void TbsSkinCaptionObject::CreateCaptionBitMap(TBitmap* B, const TRect& Src, TBitmap* Pic) {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    B->SetSize(std::max(w, 0), std::max(h, 0));
    if (w <= 0 || h <= 0 || !Pic || Pic->Empty() || Src.Width() <= 0 || Src.Height() <= 0)
        return;
    int leftEnd = std::max(SD->LTPoint.X - SkinRect.Left, 0);
    int rightEnd = std::max(SkinRect.Right - SD->RTPoint.X, 0);
    // Ends wider than the source (a frame strip narrower than the caption) are cut to it.
    leftEnd = std::min(leftEnd, Src.Width());
    rightEnd = std::min(rightEnd, Src.Width() - leftEnd);
    if (leftEnd != 0 || rightEnd != 0) {
        CreateHSkinImage(leftEnd, rightEnd, B, Pic, Src, w, h, Cap && Cap->StretchEffect);
        return;
    }
    HDC dc = B->Canvas()->Handle();
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, w, h, Pic->Canvas()->Handle(), Src.Left, Src.Top, Src.Width(), Src.Height(), SRCCOPY);
}

void TbsSkinCaptionObject::BuildLook(TBitmap* B, const TRect& Src, TBitmap* Pic, bool ActiveLook) {
    CreateCaptionBitMap(B, Src, Pic);
    if (B->Empty())
        return;
    TRect area = TextArea();
    if (QuickButtonsShown()) {
        // The buttons lie over the background, in window coordinates: the bitmap is the object's rectangle.
        HDC dc = B->Canvas()->Handle();
        POINT old{};
        SetViewportOrgEx(dc, -ObjectRect.Left, -ObjectRect.Top, &old);
        DrawQuickButtons(B->Canvas(), area);
        SetViewportOrgEx(dc, old.x, old.y, nullptr);
    }
    CnvSetFont(B->Canvas(), ActiveLook ? Cap->ActiveFontColor : Cap->FontColor);
    DrawCaptionText(B->Canvas(), area, 0, 0, ActiveLook, nullptr);
}

bool TbsSkinCaptionObject::InActiveEffectDue() const {
    return SD && SD->AutoRenderingInActiveImage && !Active;
}

void TbsSkinCaptionObject::Draw(TCanvas* Cnvs, bool) {
    if (SkinEmpty() || !Cap)
        return;
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0)
        return;
    auto drawWithEffect = [&](TBitmap* B, bool effect) {
        if (B->Empty())
            return;
        if (effect) {
            if (auto e = TbsEffectBmp::CreateFromhWnd(B->Handle())) {
                ApplyInActiveEffect(e.get(), SD->InActiveEffect);
                e->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
                return;
            }
        }
        BitBlt(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top, w, h, B->Canvas()->Handle(), 0, 0, SRCCOPY);
    };
    if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= Cap->FrameCount && ActivePicture) {
        TBitmap B;
        BuildLook(&B, GetAnimationFrameRect(CurrentFrame), ActivePicture, !Active);
        drawWithEffect(&B, false);
        return;
    }
    const bool morphing = EnableMorphing();
    if (((FMorphKf > 0 && !Active) || (FMorphKf < 1 && Active)) && morphing) {
        TBitmap inactive, active;
        BuildLook(&inactive, SkinRect, Picture, false);
        BuildLook(&active, ActiveSkinRect, ActivePicture, true);
        auto a = TbsEffectBmp::CreateFromhWnd(inactive.Handle());
        auto b = TbsEffectBmp::CreateFromhWnd(active.Handle());
        if (!a || !b || a->Width() != b->Width() || a->Height() != b->Height())
            return;
        switch (MorphKind) {
            case mkDefault:
                a->Morph(b.get(), FMorphKf);
                break;
            case mkGradient:
                a->MorphGrad(b.get(), FMorphKf);
                break;
            case mkLeftGradient:
                a->MorphLeftGrad(b.get(), FMorphKf);
                break;
            case mkRightGradient:
                a->MorphRightGrad(b.get(), FMorphKf);
                break;
            case mkLeftSlide:
                a->MorphLeftSlide(b.get(), FMorphKf);
                break;
            case mkRightSlide:
                a->MorphRightSlide(b.get(), FMorphKf);
                break;
            case mkPush:
                a->MorphPush(b.get(), FMorphKf);
                break;
        }
        if (InActiveEffectDue())
            ApplyInActiveEffect(a.get(), SD->InActiveEffect);
        a->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
        return;
    }
    const bool ownBackground = morphing || EnableAnimation() || Cap->StretchEffect;
    if (!Active && ownBackground && Has(ActiveSkinRect)) {
        TBitmap B;
        BuildLook(&B, SkinRect, Picture, false);
        drawWithEffect(&B, InActiveEffectDue());
        return;
    }
    if (!Has(ActiveSkinRect) || (!Active && !ownBackground)) {
        TRect area = TextArea();
        if (QuickButtonsShown())
            DrawQuickButtons(Cnvs, area);
        CnvSetFont(Cnvs, Active ? Cap->ActiveFontColor : Cap->FontColor);
        DrawCaptionText(Cnvs, area, ObjectRect.Left, ObjectRect.Top, Active, nullptr);
        return;
    }
    TBitmap B;
    BuildLook(&B, ActiveSkinRect, ActivePicture, true);
    drawWithEffect(&B, false);
}

void TbsSkinCaptionObject::DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap) {
    if (!Cap || !ABitMap || ABitMap->Empty())
        return;
    TRect area{0, 0, ObjectRect.Width(), ObjectRect.Height()};
    if (QuickButtonsShown())
        DrawQuickButtonsAlpha(Cnvs, ABitMap, area);
    if (Has(Cap->DividerRect)) {
        DrawDivider(Cnvs, ABitMap);
        area.Left += Cap->DividerRect.Width() + 5;
    } else {
        area.Left += 5;
    }
    const int narrow = Cap->VistaGlowEffect ? 6 : (Cap->GlowEffect ? 3 : 0);
    area = TRect{area.Left + narrow, area.Top, area.Right - narrow, area.Bottom};
    Active = Parent->FFormActive;
    CnvSetFont(Cnvs, Active ? Cap->ActiveFontColor : Cap->FontColor);
    DrawCaptionText(Cnvs, area, ObjectRect.Left, ObjectRect.Top, Active, ABitMap);
}

void TbsSkinCaptionObject::MouseEnter() {
    FMouseIn = true;
    Parent->MouseEnterEvent(IDName);
}
