// Text painters: cutting to a width, the odd-height and "W" rules, and the glow layer of the effect texts. Text widths
// and glyph pixels are measured with GDI at run time (Wine's fonts stand in for the system's).
#include "skin/core/SkinText.h"

#include <gtest/gtest.h>

#include <vector>

#include "skin/core/SkinBitmap.h"

namespace {

// A white 32-bit surface with a canvas in a given font.
struct TSurface {
    TSurface(int w, int h, int fontHeight) {
        bmp.SetSize(w, h);
        bmp.Clear(0xFFFFFFFF);
        canvas = bmp.Canvas();
        canvas->Font()->SetName(L"Tahoma");
        canvas->Font()->SetHeight(fontHeight);
        canvas->Font()->SetColor(clBlack);
        canvas->Brush()->SetStyle(bsClear);
    }
    std::vector<std::uint32_t> Pixels() {
        ::GdiFlush();
        return {bmp.Bits(), bmp.Bits() + bmp.Width() * bmp.Height()};
    }
    TbsBitmap bmp;
    TCanvas* canvas;
};

}  // namespace

TEST(SkinText, CorrectTextbyWidthKeepsTheLongestPrefixThatFits) {
    TSurface s(10, 10, -12);
    const std::wstring text = L"Mailbox settings and reminders";
    std::wstring t = text;
    CorrectTextbyWidth(s.canvas, t, s.canvas->TextWidth(text));
    EXPECT_EQ(t, text);  // fits: unchanged, no "..."
    const int width = s.canvas->TextWidth(L"Mailbox set...");
    t = text;
    CorrectTextbyWidth(s.canvas, t, width);
    ASSERT_GE(t.size(), 3u);
    EXPECT_EQ(t.substr(t.size() - 3), L"...");
    const std::wstring prefix = t.substr(0, t.size() - 3);
    EXPECT_EQ(text.compare(0, prefix.size(), prefix), 0);
    EXPECT_LE(s.canvas->TextWidth(t), width);
    EXPECT_GT(s.canvas->TextWidth(text.substr(0, prefix.size() + 1) + L"..."), width);  // one more would not fit
    t = text;
    CorrectTextbyWidth(s.canvas, t, s.canvas->TextWidth(L"...") - 1);
    EXPECT_EQ(t, L"...");
    t = text;
    CorrectTextbyWidthWNoPrefix(s.canvas, t, CalcTextWidthWNoPrefix(s.canvas, L"Mailbox set..."));
    EXPECT_EQ(t.substr(t.size() - 3), L"...");
    EXPECT_LE(CalcTextWidthWNoPrefix(s.canvas, t), CalcTextWidthWNoPrefix(s.canvas, L"Mailbox set..."));
}

TEST(SkinText, OddFontHeightMovesTheTextUpOnePixel) {
    for (int fontHeight : {-11, -12}) {
        SCOPED_TRACE(fontHeight);
        bool ruleVisible = false;
        for (int h : {20, 21}) {
            const TRect r{2, 3, 150, 3 + h};
            TSurface painted(160, 40, fontHeight), same(160, 40, fontHeight), raised(160, 40, fontHeight);
            BSDrawText(painted.canvas, L"Hxg Inbox", r);
            TRect a = r;
            same.canvas->DrawText(L"Hxg Inbox", a, DT_SINGLELINE | DT_VCENTER);
            TRect b{r.Left, r.Top - 1, r.Right, r.Bottom};
            raised.canvas->DrawText(L"Hxg Inbox", b, DT_SINGLELINE | DT_VCENTER);
            EXPECT_EQ(painted.Pixels(), fontHeight % 2 ? raised.Pixels() : same.Pixels()) << h;
            ruleVisible = ruleVisible || same.Pixels() != raised.Pixels();
        }
        EXPECT_TRUE(ruleVisible);  // for one of the heights the raised top really moves the text
    }
}

TEST(SkinText, LongWordsBreakWhereTheyOverflow) {
    TSurface s(10, 10, -12);
    const std::wstring word = L"Notificationserviceconfiguration";
    TRect m{};
    s.canvas->DrawText(L"Notification", m, DT_CALCRECT);
    const int width = m.Width();
    // The longest prefix of the word that fits the width, measured the same way.
    std::size_t k = 0;
    for (std::size_t i = 1; i <= word.size(); ++i) {
        TRect p{};
        s.canvas->DrawText(word.substr(0, i), p, DT_CALCRECT);
        if (p.Width() > width)
            break;
        k = i;
    }
    ASSERT_GT(k, 0u);
    ASSERT_LT(k, word.size());
    const std::wstring out = BreakLongWordsText(s.canvas, L"Go " + word, width);
    EXPECT_EQ(out.substr(0, 3 + k), L"Go " + word.substr(0, k));
    EXPECT_EQ(out[3 + k], L' ');
    EXPECT_EQ(out[4 + k], word[k]);
    std::wstring joined;
    for (wchar_t ch : out.substr(3))
        if (ch != L' ')
            joined += ch;
    EXPECT_EQ(joined, word);  // only blanks were added
    EXPECT_EQ(BreakLongWordsText(s.canvas, L"a b", width), L"a b");
}

TEST(SkinText, TextBeginningWithWGetsTwoMorePixels) {
    const TRect r{0, 0, 61, 20};
    for (const std::wstring text : {L"Window", L"window"}) {
        TSurface painted(80, 20, -12), wide(80, 20, -12);
        BSDrawText4(painted.canvas, text, r);
        TRect w{r.Left, r.Top, r.Right + (text[0] == L'W' ? 2 : 0), r.Bottom};
        wide.canvas->DrawText(text, w, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        EXPECT_EQ(painted.Pixels(), wide.Pixels());
    }
}

TEST(SkinText, GlowWithoutSizeLiesExactlyUnderTheText) {
    TSurface s(120, 30, -16);
    const TRect r{0, 0, 120, 30};
    TbsBitmap layer;
    BuildEffectTextLayer(&layer, s.canvas, r, L"Glow", 0, clRed, DT_SINGLELINE | DT_VCENTER | DT_CENTER, 1);
    ASSERT_EQ(layer.Width(), 120);
    ASSERT_EQ(layer.Height(), 30);
    // The same text in red on black: its red bytes are the coverage.
    TbsBitmap plain;
    plain.SetSize(120, 30);
    plain.Canvas()->Font()->Assign(s.canvas->Font());
    plain.Canvas()->Font()->SetColor(clRed);
    plain.Canvas()->Brush()->SetStyle(bsClear);
    TRect t = r;
    plain.Canvas()->DrawText(L"Glow", t, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    ::GdiFlush();
    int covered = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) {
            const std::uint32_t px = layer.GetPixel(x, y);
            EXPECT_EQ(px >> 24, (plain.GetPixel(x, y) >> 16) & 0xFF) << x << "," << y;
            EXPECT_EQ(px & 0xFFFFFF, 0xFF0000u);  // red as a pixel: a red glow is red on screen
            covered += (px >> 24) != 0;
        }
    EXPECT_GT(covered, 20);
    // Five copies of the mask cover more.
    TbsBitmap five;
    BuildEffectTextLayer(&five, s.canvas, r, L"Glow", 0, clRed, DT_SINGLELINE | DT_VCENTER | DT_CENTER, 5);
    int coveredFive = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x)
            coveredFive += (five.GetPixel(x, y) >> 24) != 0;
    EXPECT_GT(coveredFive, covered);
}

TEST(SkinText, EffectTextDrawsARedHaloAroundBlackText) {
    TSurface s(140, 40, -16);
    DrawEffectTextW(s.canvas, {10, 5, 130, 35}, L"Glow", 3, clRed, 0, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    int halo = 0, black = 0;
    for (std::uint32_t px : s.Pixels()) {
        const int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
        halo += r == 255 && g < 230 && g == b;
        black += r < 40 && g < 40 && b < 40;
    }
    EXPECT_GT(halo, 10);
    EXPECT_GT(black, 10);
}

TEST(SkinText, ReflectionAppearsBelowTheText) {
    TSurface s(120, 60, -16);
    const TRect r{0, 0, 120, 20};
    DrawReflectionTextW(s.canvas, r, L"Hello", clBlue, 2, DT_CENTER);
    const int h = CalcTextHeightW(s.canvas, L"Hello");
    int above = 0, below = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x) {
            const std::uint32_t px = s.bmp.GetPixel(x, y);
            const bool bluish = (px & 0xFF) > ((px >> 16) & 0xFF) + 20;
            (y < h ? above : below) += bluish;
        }
    EXPECT_EQ(above, 0);
    EXPECT_GT(below, 5);
}
