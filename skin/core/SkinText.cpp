#include "skin/core/SkinText.h"

#include <cmath>

#include "skin/core/ColorRoutines.h"
#include "skin/core/EffectBitmap.h"
#include "skin/core/SkinBitmap.h"

namespace {

const std::wstring kEllipsis = L"...";

TRect Moved(TRect r, int dx, int dy) {
    r.Offset(dx, dy);
    return r;
}

void DrawLine(TCanvas* Canvas, const std::wstring& Text, TRect R, std::uint32_t Format) {
    if (Text.empty())
        return;
    if (IsOddFontHeight(Canvas))
        R.Top -= 1;
    Canvas->DrawText(Text, R, DT_SINGLELINE | DT_VCENTER | Format);
}

void DrawLineW(TCanvas* Canvas, const std::wstring& Text, TRect R, std::uint32_t Format) {
    if (!Text.empty() && Text[0] == L'W')
        R.Right += 2;
    DrawLine(Canvas, Text, R, Format);
}

TSize Measure(TCanvas* Canvas, const std::wstring& Text, std::uint32_t Format, TRect R = {}) {
    Canvas->DrawText(Text, R, Format | DT_CALCRECT);
    return {R.Width(), R.Height()};
}

template <typename WidthOf>
void Shorten(std::wstring& Text, int Width, WidthOf widthOf) {
    if (widthOf(Text) <= Width)
        return;
    while (!Text.empty()) {
        Text.pop_back();
        if (widthOf(Text + kEllipsis) <= Width)
            break;
    }
    Text += kEllipsis;
}

// A work bitmap of the given size with Canvas's font in red on a clear brush: the coverage mask of a text.
void PrepareMask(TbsBitmap* Mask, TCanvas* Canvas, int W, int H) {
    Mask->SetSize(W, H);
    TCanvas* c = Mask->Canvas();
    c->Font()->Assign(Canvas->Font());
    c->Font()->SetColor(clRed);
    c->Brush()->SetStyle(bsClear);
}

void DrawFinalText(TCanvas* Canvas, const std::wstring& Text, TRect R, std::uint32_t Format) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->DrawText(Text, R, Format);
}

void DrawVistaText(TCanvas* Canvas,
                   const TRect& R,
                   const std::wstring& Text,
                   TColor GlowColor,
                   std::uint32_t Format,
                   int m,
                   const TRect& Insets) {
    TbsBitmap layer;
    PrepareMask(&layer, Canvas, R.Width() + 2 * m, R.Height() + 2 * m);
    if (layer.Empty())
        return;
    const TRect t{m, m, layer.Width() - m, layer.Height() - m};
    layer.FillRect({t.Left + Insets.Left, t.Top + Insets.Top, t.Right + Insets.Right, t.Bottom + Insets.Bottom},
                   FromRGB(clRed));
    static constexpr TPoint kShifts[] = {{-1, -1}, {-2, -2}, {-1, 0}, {-2, 0}, {1, 0}, {2, 0}, {1, 1}, {2, 2}, {0, 0}};
    for (TPoint s : kShifts) {
        TRect r = Moved(t, s.X, s.Y);
        layer.Canvas()->DrawText(Text, r, Format);
    }
    Blur(&layer, m / 2);
    Blur(&layer, m / 2);
    MakeGlowLayer(&layer, GlowColor);
    layer.Draw(Canvas, R.Left - m, R.Top - m);
    DrawFinalText(Canvas, Text, R, Format);
}

}  // namespace

bool IsOddFontHeight(TCanvas* Canvas) {
    return Canvas->Font()->Height() % 2 != 0;
}

int BSDrawSkinText(TCanvas* Canvas, const std::wstring& Text, TRect& R, std::uint32_t Format) {
    return Canvas->DrawText(Text, R, Format);
}

void BSDrawText(TCanvas* Canvas, const std::wstring& Text, const TRect& R) {
    DrawLine(Canvas, Text, R, 0);
}

void BSDrawText4(TCanvas* Canvas, const std::wstring& Text, const TRect& R) {
    DrawLineW(Canvas, Text, R, DT_CENTER);
}

void BSDrawText5(TCanvas* Canvas, const std::wstring& Text, const TRect& R) {
    DrawLineW(Canvas, Text, R, 0);
}

void BSDrawTextAlignment(TCanvas* Canvas, const std::wstring& Text, const TRect& R, TAlignment Alignment) {
    DrawLine(Canvas, Text, R, Alignment == taRightJustify ? DT_RIGHT : Alignment == taCenter ? DT_CENTER : 0);
}

void BSDrawText3(TCanvas* Canvas, const std::wstring& Text, const TRect& R, int Offset) {
    if (Text.empty())
        return;
    int y = R.Top + R.Height() / 2 - Canvas->TextHeight(Text) / 2;
    if (IsOddFontHeight(Canvas))
        y -= 1;
    Canvas->TextRect(R, R.Left + Offset + 2, y, Text);
}

void BSDrawText2(TCanvas* Canvas, const std::wstring& Text, const TRect& R) {
    BSDrawText3(Canvas, Text, R, 0);
}

void BSDrawTextCenterMultiLine(TCanvas* Canvas, const std::wstring& Text, const TRect& R, bool BreakLongWords) {
    if (Text.empty())
        return;
    TRect r = R;
    if (IsOddFontHeight(Canvas))
        r.Top -= 1;
    const std::uint32_t wrap = DT_WORDBREAK | DT_CENTER;
    if (BreakLongWords) {
        Canvas->DrawText(BreakLongWordsText(Canvas, Text, R.Width()), r, wrap);
        return;
    }
    const TRect box{0, 0, R.Width(), R.Height()};
    auto fits = [&](const std::wstring& s) {
        const TSize m = Measure(Canvas, s, wrap, box);
        return m.cy <= R.Height() && m.cx <= R.Width();
    };
    if (fits(Text)) {
        Canvas->DrawText(Text, r, wrap);
        return;
    }
    std::wstring prefix;
    for (wchar_t ch : Text) {
        if (!fits(prefix + ch + kEllipsis))
            break;
        prefix += ch;
    }
    Canvas->DrawText(prefix + kEllipsis, r, wrap);
}

std::wstring BreakLongWordsText(TCanvas* Canvas, const std::wstring& Text, int Width) {
    std::wstring out, run;
    for (wchar_t ch : Text) {
        run += ch;
        if (Measure(Canvas, run, 0).cx <= Width || ch == L' ') {
            out += ch;
            if (ch == L' ')
                run.clear();
        } else {
            out += L' ';
            out += ch;
            run.assign(1, ch);
        }
    }
    return out;
}

int CalcTextWidthWNoPrefix(TCanvas* Canvas, const std::wstring& Text) {
    return Measure(Canvas, Text, DT_NOPREFIX).cx;
}

int CalcTextHeightW(TCanvas* Canvas, const std::wstring& Text) {
    return Measure(Canvas, Text, 0).cy;
}

int CalcTextHeightWNoPrefix(TCanvas* Canvas, const std::wstring& Text) {
    return Measure(Canvas, Text, DT_NOPREFIX).cy;
}

void CorrectTextbyWidth(TCanvas* Canvas, std::wstring& Text, int Width) {
    Shorten(Text, Width, [&](const std::wstring& s) { return Canvas->TextWidth(s); });
}

void CorrectTextbyWidthWNoPrefix(TCanvas* Canvas, std::wstring& Text, int Width) {
    Shorten(Text, Width, [&](const std::wstring& s) { return CalcTextWidthWNoPrefix(Canvas, s); });
}

// ---- Effect texts ---------------------------------------------------------------------------------------------------

void MakeGlowLayer(TbsBitmap* Mask, TColor GlowColor) {
    const std::uint32_t rgb = FromRGB(GlowColor) & 0xFFFFFF;
    const int n = Mask->Width() * Mask->Height();
    std::uint32_t* p = Mask->Bits();
    for (int i = 0; i < n; ++i)
        p[i] = rgb | ((p[i] & 0x00FF0000u) << 8);  // the red byte becomes the alpha
    Mask->AlphaBlend = true;
}

void BuildEffectTextLayer(TbsBitmap* Layer,
                          TCanvas* Canvas,
                          const TRect& R,
                          const std::wstring& Text,
                          int GlowSize,
                          TColor GlowColor,
                          std::uint32_t Format,
                          int MaskCopies) {
    PrepareMask(Layer, Canvas, R.Width() + 2 * GlowSize, R.Height() + 2 * GlowSize);
    if (Layer->Empty())
        return;
    const TRect t{GlowSize, GlowSize, Layer->Width() - GlowSize, Layer->Height() - GlowSize};
    static constexpr TPoint kShifts[] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (int i = 0; i < MaskCopies && i < 5; ++i) {
        TRect r = Moved(t, kShifts[i].X, kShifts[i].Y);
        Layer->Canvas()->DrawText(Text, r, Format);
    }
    ::GdiFlush();
    Blur(Layer, GlowSize);
    MakeGlowLayer(Layer, GlowColor);
}

namespace {
int gEffectTextMaskCopies = 5;
}  // namespace

void SetEffectTextMaskCopies(int Copies) {
    gEffectTextMaskCopies = Copies < 1 ? 1 : Copies;
}

int EffectTextMaskCopies() {
    return gEffectTextMaskCopies;
}

void DrawEffectText(TCanvas* Canvas,
                    const TRect& R,
                    const std::wstring& Text,
                    int GlowSize,
                    TColor GlowColor,
                    int GlowOffset,
                    std::uint32_t Format,
                    int MaskCopies) {
    if (MaskCopies <= 0)
        MaskCopies = EffectTextMaskCopies();
    TbsBitmap layer;
    BuildEffectTextLayer(&layer, Canvas, R, Text, GlowSize, GlowColor, Format, MaskCopies);
    layer.Draw(Canvas, R.Left + GlowOffset - GlowSize, R.Top + GlowOffset - GlowSize);
    DrawFinalText(Canvas, Text, R, Format);
}

void DrawEffectTextW(TCanvas* Canvas,
                     const TRect& R,
                     const std::wstring& Text,
                     int GlowSize,
                     TColor GlowColor,
                     int GlowOffset,
                     std::uint32_t Format) {
    DrawEffectText(Canvas, R, Text, GlowSize, GlowColor, GlowOffset, Format, 1);
}

void DrawVistaEffectTextW(TCanvas* Canvas,
                          const TRect& R,
                          const std::wstring& Text,
                          TColor GlowColor,
                          std::uint32_t Format) {
    // The patch: 2 inside at top and bottom, 3 outside at left and right.
    DrawVistaText(Canvas, R, Text, GlowColor, Format, 12, {-3, 2, 3, -2});
}

void DrawVistaEffectTextW2(TCanvas* Canvas,
                           const TRect& R,
                           const std::wstring& Text,
                           TColor GlowColor,
                           std::uint32_t Format) {
    DrawVistaText(Canvas, R, Text, GlowColor, Format, 10, {3, 3, -3, -3});
}

void DrawReflectionTextW(TCanvas* Canvas,
                         const TRect& R,
                         const std::wstring& Text,
                         TColor GlowColor,
                         int ReflectionOffset,
                         std::uint32_t Format) {
    TbsBitmap layer;
    PrepareMask(&layer, Canvas, R.Width(), R.Height());
    if (layer.Empty())
        return;
    TRect t{0, 0, R.Width(), R.Height()};
    layer.Canvas()->DrawText(Text, t, Format);
    layer.Canvas()->DrawText(Text, t, Format | DT_CALCRECT);
    ::GdiFlush();
    const int h = t.Bottom;
    TRect m = R;
    Canvas->DrawText(Text, m, Format | DT_CALCRECT);
    if (h > 0) {
        const std::uint32_t rgb = FromRGB(GlowColor) & 0xFFFFFF;
        for (int y = 0; y < layer.Height(); ++y) {
            std::uint32_t* row = layer.GetScanLine(y);
            if (y > h) {
                for (int x = 0; x < layer.Width(); ++x)
                    row[x] = 0;
                continue;
            }
            const double f = std::max(0.0, 0.7 - double(h - y) / h);
            for (int x = 0; x < layer.Width(); ++x) {
                const std::uint32_t red = (row[x] >> 16) & 0xFF;
                row[x] = rgb | (std::uint32_t(std::trunc(red * f)) << 24);
            }
        }
    }
    layer.FlipVert();
    layer.AlphaBlend = true;
    layer.Draw(Canvas, R.Left, m.Bottom + h + ReflectionOffset - layer.Height());
    DrawFinalText(Canvas, Text, R, Format);
}

TFontStyles ToFontStyles(TbsFontStyles Styles) {
    TFontStyles r;
    if (Styles.Contains(bsfsBold))
        r = r + fsBold;
    if (Styles.Contains(bsfsItalic))
        r = r + fsItalic;
    if (Styles.Contains(bsfsUnderline))
        r = r + fsUnderline;
    if (Styles.Contains(bsfsStrikeOut))
        r = r + fsStrikeOut;
    return r;
}
