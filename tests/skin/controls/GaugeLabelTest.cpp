// The installer's gauge, effect label and published check and radio classes on real windows: the built-in gauge's
// bar in pixels, the value's clamping, the texts it writes, the skinned bar inside the progress area of "Windows 8",
// the animation that a skin without frames never starts; the label's auto width, ellipsis, the glow winning over the
// reflection and the program's mask-pass count; radio groups through the published class.
#include <gtest/gtest.h>

#include "PressTestSupport.h"
#include "SkinTestPaths.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEffectLabel.h"
#include "skin/controls/SkinGauge.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinText.h"

namespace {

using namespace ctltest;

// The pure arithmetic, as tables.
TEST(GaugeArithmetic, BarRectanglePercentTextAndTiles) {
    struct Case {
        int v, min, max;
        bool vertical;
        TRect want;
    };
    const TRect area{1, 1, 99, 19};
    for (const Case& c : {Case{50, 0, 100, false, {1, 1, 50, 19}}, Case{0, 0, 100, false, {1, 1, 1, 19}},
                          Case{100, 0, 100, false, {1, 1, 99, 19}}, Case{5, 5, 5, false, {1, 1, 1, 19}},
                          Case{50, 0, 100, true, {1, 10, 99, 19}}, Case{-3, -10, 10, false, {1, 1, 35, 19}}}) {
        EXPECT_EQ(GaugeProgressRect(area, c.v, c.min, c.max, c.vertical), c.want) << c.v << " of " << c.min << ".."
                                                                                  << c.max;
    }
    EXPECT_EQ(GaugePercent(50, 0, 100), 50);
    EXPECT_EQ(GaugePercent(1, 0, 3), 33);
    EXPECT_EQ(GaugePercent(7, 7, 7), 0) << "an empty range";
    EXPECT_EQ(GaugeText(true, L"Copy ", true, 50), L"Copy 50%");
    EXPECT_EQ(GaugeText(false, L"Copy ", true, 0), L"0%");
    EXPECT_EQ(GaugeText(true, L"Copy ", false, 50), L"Copy ");
    EXPECT_EQ(GaugeText(false, L"Copy ", false, 50), L"");
    const std::vector<TbsGaugeTile> h = GaugeTiles(25, 10, false);
    ASSERT_EQ(h.size(), 3u);
    EXPECT_EQ(h[2].Offset, 20);
    EXPECT_EQ(h[2].Length, 5) << "the last tile is cut";
    const std::vector<TbsGaugeTile> v = GaugeTiles(25, 10, true);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0].Offset, 15) << "vertical tiles start at the bottom";
    EXPECT_EQ(v[2].Offset, 0);
    EXPECT_EQ(v[2].Length, 5);
    EXPECT_EQ(v[2].SourceOffset, 5) << "the cut tile keeps its bottom part";
    EXPECT_TRUE(GaugeTiles(25, 0, false).empty()) << "a tile of no width draws nothing";
}

class GaugeLabel : public ControlsFixture {
  protected:
    TbsSkinGauge* Gauge(bool skinned = false) {
        auto* g = Make<TbsSkinGauge>(L"", 10, 10, 100, 20, false);
        if (skinned)
            g->SetSkinData(host_->data);
        return g;
    }
};

TEST_F(GaugeLabel, BuiltInGaugeFillsItsShareInGreen) {
    auto* g = Gauge();
    ASSERT_EQ(g->Width(), 100);
    ASSERT_EQ(g->Height(), 20);
    ASSERT_EQ(g->Value(), 50);
    auto p = Paint(g);
    Shot(p.get(), L"gauge-builtin-50");
    const COLORREF green = RGB(0, 178, 19);
    for (int x = 0; x < 100; ++x)
        EXPECT_EQ(Px(p.get(), x, 10) == green, x >= 1 && x <= 49) << "x " << x;
    EXPECT_EQ(Px(p.get(), 0, 10), Sys(COLOR_BTNSHADOW)) << "the frame";
}

TEST_F(GaugeLabel, ValueStaysInsideTheRange) {
    auto* g = Gauge();
    g->SetValue(150);
    EXPECT_EQ(g->Value(), 100);
    g->SetMaxValue(30);
    EXPECT_EQ(g->Value(), 30) << "lowering the top lowers the value";
    g->SetValue(-5);
    EXPECT_EQ(g->Value(), 0);
    g->SetMinValue(20);
    EXPECT_EQ(g->Value(), 20);
}

TEST_F(GaugeLabel, EqualEndsGiveAnEmptyBarAndZeroPercent) {
    auto* g = Gauge();
    g->SetShowPercent(true);
    g->SetMinValue(40);
    g->SetMaxValue(40);
    auto p = Paint(g);
    EXPECT_EQ(CountColour(p.get(), {1, 1, 99, 19}, RGB(0, 178, 19)), 0);
    // The text is "0%": the same pixels as that text written over the empty gauge.
    g->SetShowPercent(false);
    auto bare = Paint(g);
    TCanvas* c = bare->Canvas();
    c->Font()->Assign(g->DefaultFont());
    c->Brush()->SetStyle(bsClear);
    const TSize ext = c->TextExtent(L"0%");
    c->TextOut(50 - ext.cx / 2, 10 - ext.cy / 2 - (g->DefaultFont()->Height() % 2 != 0 ? 1 : 0), L"0%");
    int differing = 0, inked = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x) {
            differing += Px(p.get(), x, y) != Px(bare.get(), x, y);
            inked += Px(p.get(), x, y) == Sys(COLOR_WINDOWTEXT) || Px(p.get(), x, y) == 0;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(inked, 5) << "the text is written";
}

TEST_F(GaugeLabel, ProgressTextAndPercentWriteCopyFiftyPercent) {
    auto* g = Gauge();
    g->SetProgressText(L"Copy ");
    g->SetShowProgressText(true);
    g->SetShowPercent(true);
    auto p = Paint(g);
    Shot(p.get(), L"gauge-builtin-copy");
    g->SetShowProgressText(false);
    g->SetShowPercent(false);
    auto bare = Paint(g);
    TCanvas* c = bare->Canvas();
    c->Font()->Assign(g->DefaultFont());
    c->Brush()->SetStyle(bsClear);
    const TSize ext = c->TextExtent(L"Copy 50%");
    c->TextOut(50 - ext.cx / 2, 10 - ext.cy / 2 - (g->DefaultFont()->Height() % 2 != 0 ? 1 : 0), L"Copy 50%");
    int differing = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
            differing += Px(p.get(), x, y) != Px(bare.get(), x, y);
    EXPECT_EQ(differing, 0);
    // Neither flag: nothing written over the bar.
    auto none = Paint(g);
    EXPECT_EQ(CountColour(none.get(), {1, 1, 50, 19}, RGB(0, 178, 19)), 49 * 18);
}

TEST_F(GaugeLabel, WindowsEightBarStaysInItsProgressAreaAndNoAnimationStarts) {
    TbsSkinData win8(nullptr);
    win8.LoadFromFile(skintest::Widen(TRELM_SKINSET) + L"\\..\\setup\\Win8\\skin.ini");
    auto* g = Make<TbsSkinGauge>(L"", 10, 10, 200, 20, false);
    g->SetSkinData(&win8);
    ASSERT_NE(g->SkinIndex(), -1) << "Windows 8 has a gauge";
    const TRect area = g->ProgressArea();
    ASSERT_GT(area.Width(), 0);
    g->SetValue(0);
    auto empty = Paint(g);
    g->SetValue(50);
    auto half = Paint(g);
    Shot(half.get(), L"gauge-win8-50");
    const TRect bar = GaugeProgressRect(area, 50, 0, 100, false);
    int changedInside = 0, changedOutside = 0;
    for (int y = 0; y < g->Height(); ++y)
        for (int x = 0; x < g->Width(); ++x) {
            const bool differs = Px(half.get(), x, y) != Px(empty.get(), x, y);
            const bool inside = x >= bar.Left && x < bar.Right && y >= bar.Top && y < bar.Bottom;
            (inside ? changedInside : changedOutside) += differs;
        }
    EXPECT_GT(changedInside, bar.Width() * bar.Height() / 2) << "the bar is drawn";
    EXPECT_EQ(changedOutside, 0) << "nothing beyond the bar";
    g->StartProgressAnimation();
    EXPECT_FALSE(g->AnimationTimersExist()) << "no animation rectangle, no timers";
    g->SetSkinData(nullptr);
}

TEST_F(GaugeLabel, BuiltInGaugeStartsNoAnimation) {
    auto* g = Gauge();
    g->StartProgressAnimation();
    EXPECT_FALSE(g->AnimationTimersExist());
    EXPECT_EQ(g->AnimationFrame(), 0);
}

TEST_F(GaugeLabel, PublishedRadioButtonsCheckTheirGroupAndUncheckedSettingIsSilent) {
    auto* a = Make<TbsSkinRadioButton>(L"Русский", 10, 10, 150, 25);
    auto* b = Make<TbsSkinRadioButton>(L"Беларускi", 10, 40, 150, 25);
    auto* box = Make<TbsSkinCheckBox>(L"Флажок", 10, 70, 150, 25);
    EXPECT_TRUE(a->Radio());
    EXPECT_EQ(a->SkinDataName(), L"radiobox");
    EXPECT_FALSE(box->Radio());
    EXPECT_EQ(box->SkinDataName(), L"checkbox");
    a->SetGroupIndex(6);
    b->SetGroupIndex(6);
    int aClicks = 0, bClicks = 0, boxClicks = 0;
    a->OnClick = [&](TObject*) { ++aClicks; };
    b->OnClick = [&](TObject*) { ++bClicks; };
    box->OnClick = [&](TObject*) { ++boxClicks; };
    a->SetChecked(true);
    EXPECT_EQ(aClicks, 1);
    b->SetChecked(true);
    EXPECT_EQ(bClicks, 1);
    EXPECT_FALSE(a->Checked()) << "the group's other button goes out";
    EXPECT_EQ(aClicks, 1) << "going out by the group is no click";
    b->SetChecked(false);
    EXPECT_EQ(bClicks, 1) << "set unchecked fires nothing";
    EXPECT_FALSE(b->Checked());
    box->SetChecked(false);
    EXPECT_EQ(boxClicks, 1) << "a check box reports every setting";
}

TEST_F(GaugeLabel, LabelWithoutEntryWidensToItsTextPlusFour) {
    auto* l = Make<TbsSkinLabel>(L"", 10, 10, 20, 21, false);
    EXPECT_EQ(l->SkinDataName(), L"label");
    l->SetAutoSize(true);
    l->SetCaption(L"Установка Trelm Mail");
    TBitmap b(1, 1);
    b.Canvas()->Font()->Assign(l->DefaultFont());
    EXPECT_EQ(l->Width(), b.Canvas()->TextWidth(L"Установка Trelm Mail") + 4);
    // Aligned to the client area it keeps its width.
    auto* filled = Make<TbsSkinLabel>(L"", 0, 0, 30, 21, false);
    filled->SetAlign(alClient);
    const int w = filled->Width();
    filled->SetAutoSize(true);
    filled->SetCaption(L"A much longer caption than the label");
    EXPECT_EQ(filled->Width(), w);
}

TEST_F(GaugeLabel, EllipsisCutsTheCaptionToTheWidth) {
    const std::wstring text = L"Выбор каталога для установки программы";
    auto* cut = Make<TbsSkinLabel>(text, 10, 10, 90, 21, false);
    cut->SetEllipsType(bsetEllips);
    auto p = Paint(cut);
    Shot(p.get(), L"label-ellipsis");
    TBitmap m(1, 1);
    m.Canvas()->Font()->Assign(cut->DefaultFont());
    std::wstring shortened = text;
    CorrectTextbyWidth(m.Canvas(), shortened, 90 - 6);
    ASSERT_NE(shortened, text);
    EXPECT_EQ(shortened.substr(shortened.size() - 3), L"...");
    EXPECT_LE(m.Canvas()->TextWidth(shortened), 90 - 6);
    // The same pixels as a label showing the shortened caption itself.
    auto* reference = Make<TbsSkinLabel>(shortened, 10, 40, 90, 21, false);
    auto r = Paint(reference);
    int differing = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 90; ++x)
            differing += Px(p.get(), x, y) != Px(r.get(), x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(GaugeLabel, WithShadowAndReflectionOnlyTheGlowIsDrawn) {
    auto make = [&](bool shadow, bool reflection, int y) {
        auto* l = Make<TbsSkinLabel>(L"Заголовок", 10, y, 150, 40, false);
        l->SetBorderStyle(TbsPanelBorderStyle::bvNone);
        l->SetShadowColor(RGB(255, 0, 0));
        l->SetShadowEffect(shadow);
        l->SetReflectionEffect(reflection);
        return Paint(l);
    };
    auto both = make(true, true, 10);
    auto glow = make(true, false, 60);
    auto mirror = make(false, true, 110);
    Shot(both.get(), L"label-glow");
    Shot(mirror.get(), L"label-reflection");
    int vsGlow = 0, vsMirror = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 150; ++x) {
            vsGlow += Px(both.get(), x, y) != Px(glow.get(), x, y);
            vsMirror += Px(both.get(), x, y) != Px(mirror.get(), x, y);
        }
    EXPECT_EQ(vsGlow, 0);
    EXPECT_GT(vsMirror, 20);
}

TEST_F(GaugeLabel, OnePassAndFivePassGlowsDiffer) {
    auto* l = Make<TbsSkinLabel>(L"Trelm Mail", 10, 10, 150, 40, false);
    l->SetBorderStyle(TbsPanelBorderStyle::bvNone);
    l->SetShadowColor(RGB(0, 0, 255));
    l->SetShadowEffect(true);
    const int saved = EffectTextMaskCopies();
    SetEffectTextMaskCopies(1);
    auto once = Paint(l);
    SetEffectTextMaskCopies(5);
    auto five = Paint(l);
    SetEffectTextMaskCopies(saved);
    int differing = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 150; ++x)
            differing += Px(once.get(), x, y) != Px(five.get(), x, y);
    EXPECT_GT(differing, 20);
}

}  // namespace
