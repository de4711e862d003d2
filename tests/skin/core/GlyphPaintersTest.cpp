// Layout rule, small glyphs with their exact pixels, focus rectangle, 3D frame, glyph strips, image-and-caption
// layout and the parent background.
#include "skin/core/GlyphPainters.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "PainterTestSupport.h"
#include "classlib/Forms.h"
#include "skin/core/PngImageList.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

std::unique_ptr<TBitmap> WhiteBitmap(int w, int h) {
    return MakeBitmap(w, h, [](int, int) { return kWhite; });
}

// The pixels that are not white.
std::set<std::pair<int, int>> Inked(TBitmap* b) {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < b->Height(); ++y)
        for (int x = 0; x < b->Width(); ++x)
            if (PixelAt(b, x, y) != kWhite)
                s.insert({x, y});
    return s;
}

}  // namespace

TEST(GlyphLayout, CalcLCoordCases) {
    struct Case {
        TbsButtonLayout layout;
        int margin;
        int tx, ty, gx, gy;
    } cases[] = {
        {blGlyphLeft, -1, 40, 4, 20, 2},  // the group centred: GX 20, TX 40
        {blGlyphLeft, 3, 23, 4, 3, 2},    // glyph at the margin, text after glyph and spacing
        {blGlyphRight, 3, 37, 4, 81, 2},  // glyph at the right margin, text before it
        {blGlyphRight, -1, 20, 4, 64, 2}, {blGlyphTop, 3, 30, 23, 42, 3}, {blGlyphBottom, -1, 30, -6, 42, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.layout) << " margin " << c.margin);
        int tx, ty, gx, gy;
        CalcLCoord(c.layout, {0, 0, 100, 20}, 16, 16, 40, 12, 4, c.margin, tx, ty, gx, gy);
        EXPECT_EQ(gx, c.gx);
        EXPECT_EQ(gy, c.gy);
        EXPECT_EQ(tx, c.tx);
        EXPECT_EQ(ty, c.ty);
    }
    int tx, ty, gx, gy;  // without a glyph the spacing does not count
    CalcLCoord(blGlyphLeft, {0, 0, 100, 20}, 0, 0, 40, 12, 4, -1, tx, ty, gx, gy);
    EXPECT_EQ(tx, 30);
}

TEST(SmallGlyphs, CheckMarkPixels) {
    auto b = WhiteBitmap(12, 12);
    DrawCheckImage(b->Canvas(), 2, 2, clBlack);
    std::set<std::pair<int, int>> expected;
    for (int i = 0; i < 3; ++i)
        for (auto [dx, dy] :
             std::initializer_list<std::pair<int, int>>{{0, 5}, {1, 6}, {2, 7}, {3, 6}, {4, 5}, {5, 4}, {6, 3}})
            expected.insert({2 + dx, 2 + dy - i});
    EXPECT_EQ(Inked(b.get()), expected);
}

TEST(SmallGlyphs, TrackArrowPixels) {
    auto b = WhiteBitmap(12, 12);
    DrawTrackArrowImage(b->Canvas(), {0, 0, 11, 9}, clBlack);  // centre (5, 4)
    std::set<std::pair<int, int>> expected;
    for (int x = 3; x <= 7; ++x)
        expected.insert({x, 4});
    for (int x = 4; x <= 6; ++x)
        expected.insert({x, 5});
    expected.insert({5, 6});
    EXPECT_EQ(Inked(b.get()), expected);
}

TEST(SmallGlyphs, ArrowKindsAndRadioSquare) {
    auto left = WhiteBitmap(12, 12);
    DrawArrowImage(left->Canvas(), {0, 0, 12, 12}, clBlack, 1);  // columns 4..7, 1, 3, 5, 7 pixels high
    EXPECT_EQ(Inked(left.get()).size(), 16u);
    EXPECT_EQ(PixelAt(left.get(), 4, 6), 0u);
    EXPECT_EQ(PixelAt(left.get(), 4, 5), kWhite);
    EXPECT_EQ(PixelAt(left.get(), 7, 3), 0u);
    auto none = WhiteBitmap(12, 12);
    DrawArrowImage(none->Canvas(), {0, 0, 12, 12}, clBlack, 9);
    EXPECT_TRUE(Inked(none.get()).empty());
    auto radio = WhiteBitmap(12, 12);
    DrawRadioImage(radio->Canvas(), 3, 2, clBlack);
    EXPECT_EQ(Inked(radio.get()).size(), 36u);
    EXPECT_EQ(PixelAt(radio.get(), 3, 2), 0u);
    EXPECT_EQ(PixelAt(radio.get(), 8, 7), 0u);
}

TEST(SmallGlyphs, Frm3DEdges) {
    auto b = WhiteBitmap(12, 10);
    Frm3D(b->Canvas(), {1, 1, 11, 9}, clRed, clBlue);
    const std::uint32_t red = 0xFF0000, blue = 0x0000FF;
    EXPECT_EQ(PixelAt(b.get(), 1, 1), red);    // top-left
    EXPECT_EQ(PixelAt(b.get(), 5, 1), red);    // top
    EXPECT_EQ(PixelAt(b.get(), 1, 5), red);    // left
    EXPECT_EQ(PixelAt(b.get(), 10, 1), blue);  // top-right
    EXPECT_EQ(PixelAt(b.get(), 10, 5), blue);  // right
    EXPECT_EQ(PixelAt(b.get(), 5, 8), blue);   // bottom
    EXPECT_EQ(PixelAt(b.get(), 1, 8), blue);   // bottom-left
    EXPECT_EQ(PixelAt(b.get(), 0, 8), kWhite);
    EXPECT_EQ(PixelAt(b.get(), 11, 5), kWhite);
    EXPECT_EQ(Inked(b.get()).size(), 32u);  // the frame and nothing else
}

TEST(SmallGlyphs, FocusRectangleIsDotted) {
    auto b = WhiteBitmap(12, 12);
    b->Canvas()->Font()->SetColor(clBlack);
    DrawSkinFocusRect(b->Canvas(), {0, 0, 11, 9});  // walks (0, 0) .. (10, 8): 36 pixels around
    const auto inked = Inked(b.get());
    EXPECT_EQ(inked.size(), 18u);
    for (auto [x, y] : inked)
        EXPECT_TRUE(x == 0 || x == 10 || y == 0 || y == 8);
    EXPECT_TRUE(inked.count({1, 0}));  // even sides: the phase starts true, so the first pixel stays clear
    EXPECT_FALSE(inked.count({0, 0}));
    auto tiny = WhiteBitmap(4, 4);
    DrawSkinFocusRect(tiny->Canvas(), {1, 1, 2, 2});
    EXPECT_LE(Inked(tiny.get()).size(), 4u);
}

TEST(GlyphStrips, DrawGlyphDrawsTheChosenFrameTransparently) {
    // Four frames of 5 x 4, each its own colour; the bottom-left pixel of each frame is white (transparent).
    const std::uint32_t colours[4] = {0x110000, 0x002200, 0x000033, 0x444444};
    auto strip = MakeBitmap(20, 4, [&](int x, int y) { return x % 5 == 0 && y == 3 ? kWhite : colours[x / 5]; });
    auto b = MakeBitmap(10, 10, [](int, int) { return 0x808080u; });
    DrawGlyph(b->Canvas(), 2, 3, strip.get(), 4, 2);
    EXPECT_EQ(PixelAt(b.get(), 2, 3), colours[1]);
    EXPECT_EQ(PixelAt(b.get(), 6, 6), colours[1]);
    EXPECT_EQ(PixelAt(b.get(), 7, 6), 0x808080u);
    EXPECT_EQ(PixelAt(b.get(), 2, 6), 0x808080u);     // the transparent corner
    DrawGlyph(b->Canvas(), 2, 3, strip.get(), 0, 1);  // no frames: nothing
    EXPECT_EQ(PixelAt(b.get(), 2, 3), colours[1]);
}

TEST(GlyphLayout, ImageIndexBeyondTheListDrawsTheCaptionAloneCentred) {
    TImageList list(nullptr, 16, 16);
    auto painted = WhiteBitmap(120, 30), expected = WhiteBitmap(120, 30);
    for (TBitmap* b : {painted.get(), expected.get()}) {
        b->Canvas()->Font()->SetName(L"Tahoma");
        b->Canvas()->Font()->SetHeight(-12);
    }
    const TRect r{0, 0, 120, 30};
    DrawImageAndText(painted->Canvas(), r, -1, 10, blGlyphLeft, L"Inbox", 3, &list, false, true, false, 0, false);
    TRect m{0, 0, 120, 30};
    expected->Canvas()->DrawText(L"Inbox", m, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    const int tx = 60 - m.Width() / 2, ty = 15 - m.Height() / 2;
    TRect c{tx, ty, tx + m.Width() + 2, ty + m.Height()};
    expected->Canvas()->Brush()->SetStyle(bsClear);
    expected->Canvas()->DrawText(L"Inbox", c, DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
    EXPECT_FALSE(Inked(painted.get()).empty());
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(PixelAt(painted.get(), x, y), PixelAt(expected.get(), x, y)) << x << "," << y;
}

TEST(GlyphLayout, PngGlyphWithGlowAndMarker) {
    // An 8 x 8 picture: an opaque blue 4 x 4 square in the middle, transparent around it.
    TbsPngImageList list(nullptr);
    list.SetPngWidth(8);
    list.SetPngHeight(8);
    auto* item = static_cast<TbsPngImageItem*>(list.PngImages()->Add());
    TPngImage pic;
    pic.CreateBlank(COLOR_RGBALPHA, 8, 8);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x) {
            pic.SetPixel(x, y, clBlue);
            pic.AlphaScanline(y)[x] = 255;
        }
    item->SetPngImage(&pic);
    auto b = WhiteBitmap(40, 40);
    // Glyph alone, centred in (0, 0, 40, 40): at (16, 16); its square covers (18, 18) .. (21, 21).
    DrawImageAndEffectText(b->Canvas(), {0, 0, 40, 40}, -1, 0, blGlyphLeft, L"", 0, &list, false, true, false, 0, clRed,
                           2);
    EXPECT_EQ(PixelAt(b.get(), 19, 19), 0x0000FFu);  // the glyph itself
    const std::uint32_t halo = PixelAt(b.get(), 17, 19);
    EXPECT_EQ((halo >> 16) & 0xFF, 0xFFu) << std::hex << halo;  // red glow next to the square
    EXPECT_LT(halo & 0xFF, 0xFFu);
    EXPECT_EQ(PixelAt(b.get(), 5, 5), kWhite);  // nothing far away

    auto m = WhiteBitmap(40, 40);
    DrawImageAndText(m->Canvas(), {0, 0, 40, 40}, -1, 0, blGlyphLeft, L"", 0, &list, false, true, true, clGreen, false);
    // Marker lines under the glyph: rows GY + 7, + 8 and + 9 from GX to GX + 7.
    for (int y : {23, 24, 25}) {
        EXPECT_EQ(PixelAt(m.get(), 16, y), 0x008000u) << y;
        EXPECT_EQ(PixelAt(m.get(), 23, y), 0x008000u) << y;
        EXPECT_EQ(PixelAt(m.get(), 24, y), kWhite) << y;
    }
}

namespace {
class TSwatch : public TGraphicControl {
  public:
    using TGraphicControl::TGraphicControl;

  protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect({0, 0, Width(), Height()});
    }
};
}  // namespace

TEST(ParentImage, BackgroundAndSiblingsBelowTheControl) {
    auto canvasOf = WhiteBitmap(30, 20);
    GetParentImage(nullptr, canvasOf->Canvas());
    TSwatch orphan(nullptr);
    GetParentImage(&orphan, canvasOf->Canvas());  // no parent: untouched
    EXPECT_TRUE(Inked(canvasOf.get()).empty());

    std::unique_ptr<TForm> form(new TForm(nullptr));
    form->SetBounds(0, 0, 200, 150);
    form->SetColor(clRed);
    auto* below = new TSwatch(form.get());
    below->SetParent(form.get());
    below->SetBounds(10, 10, 20, 20);
    auto* control = new TSwatch(form.get());
    control->SetParent(form.get());
    control->SetBounds(20, 15, 30, 20);
    form->HandleNeeded();
    GetParentImage(control, canvasOf->Canvas());
    EXPECT_EQ(PixelAt(canvasOf.get(), 0, 0), 0x0000FFu);   // (20, 15) on the form: the sibling below
    EXPECT_EQ(PixelAt(canvasOf.get(), 12, 2), 0xFF0000u);  // (32, 17): the form's red background
    EXPECT_FALSE(control->ControlState().Contains(csPaintCopy));
    EXPECT_FALSE(form->ControlState().Contains(csPaintCopy));
    auto part = WhiteBitmap(10, 10);
    GetParentImageRect(control, {12, 0, 22, 10}, part->Canvas());
    EXPECT_EQ(PixelAt(part.get(), 0, 0), 0xFF0000u);
}
