// Image lists: adding strips and masked images, drawing (normal and disabled), editing and notifications.
#include <gtest/gtest.h>

#include <memory>

#include "GraphicsTestUtil.h"
#include "classlib/ImgList.h"

namespace {

// A strip of n 16 x 16 frames in the given colours, each with a white one-pixel border.
void MakeStrip(TBitmap& strip, const std::vector<TColor>& colours) {
    PrepareBitmap(strip, 16 * static_cast<int>(colours.size()), 16, clWhite, pf24bit);
    for (size_t i = 0; i < colours.size(); ++i) {
        strip.Canvas()->Brush()->SetColor(colours[i]);
        strip.Canvas()->FillRect(Rect(static_cast<int>(i) * 16 + 1, 1, static_cast<int>(i) * 16 + 15, 15));
    }
}

TEST(GraphicsImageList, AddsStripsAndDrawsEachImage) {
    auto list = std::make_unique<TImageList>(nullptr);
    TBitmap strip;
    MakeStrip(strip, {clRed, clLime, clBlue});
    EXPECT_EQ(list->Add(&strip, nullptr), 0);
    EXPECT_EQ(list->Count(), 3);
    TBitmap out;
    PrepareBitmap(out, 48, 16, clBlack);
    for (int i = 0; i < 3; ++i)
        list->Draw(out.Canvas(), i * 16, 0, i);
    EXPECT_EQ(PixelAt(out, 8, 8), clRed);
    EXPECT_EQ(PixelAt(out, 24, 8), clLime);
    EXPECT_EQ(PixelAt(out, 40, 8), clBlue);
    list->Draw(out.Canvas(), 0, 0, 7);  // outside: nothing
    EXPECT_EQ(PixelAt(out, 8, 8), clRed);
    TBitmap single;
    list->GetBitmap(1, &single);
    EXPECT_EQ(single.Width(), 16);
    EXPECT_EQ(PixelAt(single, 8, 8), clLime);
}

TEST(GraphicsImageList, MaskedImagesLetTheBackgroundThrough) {
    auto list = std::make_unique<TImageList>(nullptr);
    TBitmap strip;
    MakeStrip(strip, {clRed});
    strip.Canvas()->SetPixel(0, 15, clFuchsia);  // bottom-left decides the mask colour for clDefault
    strip.Canvas()->Brush()->SetColor(clFuchsia);
    strip.Canvas()->FillRect(Rect(0, 0, 16, 1));
    ASSERT_EQ(list->AddMasked(&strip, clDefault), 0);
    EXPECT_EQ(PixelAt(strip, 0, 0), clFuchsia);  // the caller's bitmap is not touched
    TBitmap out;
    PrepareBitmap(out, 16, 16, clNavy);
    list->Draw(out.Canvas(), 0, 0, 0);
    EXPECT_EQ(PixelAt(out, 5, 0), clNavy);   // masked
    EXPECT_EQ(PixelAt(out, 0, 8), clWhite);  // border kept
    EXPECT_EQ(PixelAt(out, 8, 8), clRed);
}

TEST(GraphicsImageList, DisabledDrawDiffersFromNormalDraw) {
    auto list = std::make_unique<TImageList>(nullptr);
    TBitmap strip;
    PrepareBitmap(strip, 16, 16, clWhite, pf24bit);
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(Rect(4, 4, 12, 12));
    list->AddMasked(&strip, clWhite);
    TBitmap normal, disabled;
    PrepareBitmap(normal, 20, 20, clSilver);
    PrepareBitmap(disabled, 20, 20, clSilver);
    list->Draw(normal.Canvas(), 0, 0, 0, true);
    list->Draw(disabled.Canvas(), 0, 0, 0, false);
    EXPECT_EQ(PixelAt(normal, 8, 8), clRed);
    int red = 0, shadow = 0, highlight = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            TColor c = PixelAt(disabled, x, y);
            red += c == clRed;
            shadow += c == ColorToRGB(clBtnShadow);
            highlight += c == ColorToRGB(clBtnHighlight);
        }
    EXPECT_EQ(red, 0);
    EXPECT_EQ(shadow, 64);    // the 8 x 8 shape in the shadow colour
    EXPECT_GT(highlight, 0);  // its embossed edge, one pixel right and down
    EXPECT_EQ(PixelAt(disabled, 12, 12), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelAt(disabled, 2, 2), clSilver);  // the background stays
    // The canvas keeps working after the disabled draw changed the DC behind it.
    disabled.Canvas()->Brush()->SetColor(clBlue);
    disabled.Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(PixelAt(disabled, 0, 0), clBlue);
}

TEST(GraphicsImageList, EditingAndNotifications) {
    auto list = std::make_unique<TImageList>(nullptr);
    int changes = 0, linked = 0;
    list->OnChange = [&](TObject*) { ++changes; };
    auto link = std::make_unique<TChangeLink>();
    link->OnChange = [&](TObject*) { ++linked; };
    list->RegisterChanges(link.get());
    TBitmap strip;
    MakeStrip(strip, {clRed, clLime, clBlue});
    list->Add(&strip, nullptr);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(linked, 1);
    TBitmap yellow;
    MakeStrip(yellow, {clYellow});
    list->Insert(1, &yellow, nullptr);  // red, yellow, lime, blue
    list->Move(3, 0);                   // blue, red, yellow, lime
    list->Delete(2);                    // blue, red, lime
    EXPECT_EQ(list->Count(), 3);
    TBitmap out;
    const TColor expected[] = {clBlue, clRed, clLime};
    for (int i = 0; i < 3; ++i) {
        list->GetBitmap(i, &out);
        EXPECT_EQ(PixelAt(out, 8, 8), expected[i]) << i;
    }
    EXPECT_THROW(list->Delete(3), EInvalidOperation);
    list->ReplaceMasked(0, &yellow, clWhite);
    list->GetBitmap(0, &out);
    EXPECT_EQ(PixelAt(out, 8, 8), clYellow);
    int before = changes;
    link.reset();  // unregisters itself
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(changes, before + 1);
    list->SetSize(24, 20);
    EXPECT_EQ(list->Width(), 24);

    auto link2 = std::make_unique<TChangeLink>();
    list->RegisterChanges(link2.get());
    list.reset();
    EXPECT_EQ(link2->Sender, nullptr);
}

TEST(GraphicsImageList, IconsAndHandleCount) {
    const long start = LiveHandleCount();
    {
        auto list = std::make_unique<TImageList>(nullptr, 16, 16);
        TBitmap strip;
        MakeStrip(strip, {clRed, clBlue});
        list->Add(&strip, nullptr);
        TIcon icon;
        list->GetIcon(1, &icon);
        ASSERT_FALSE(icon.Empty());
        EXPECT_EQ(list->AddIcon(&icon), 2);
        auto other = std::make_unique<TImageList>(nullptr);
        EXPECT_EQ(other->AddImage(list.get(), 0), 0);
        other->Assign(list.get());
        EXPECT_EQ(other->Count(), 3);
        TBitmap out;
        PrepareBitmap(out, 16, 16, clBlack);
        for (int i = 0; i < 5; ++i) {
            other->Draw(out.Canvas(), 0, 0, 2, i % 2 == 0);
            other->Draw(out.Canvas(), 0, 0, 2);
        }
        EXPECT_EQ(PixelAt(out, 8, 8), clBlue);
        EXPECT_GT(LiveHandleCount(), start);
    }
    EXPECT_EQ(LiveHandleCount(), start);
}

// An icon resource gives the list the picture of its group that fits the list's size (fixtures/two_sizes.rc: a
// red 16 x 16 and a blue 32 x 32 picture under id 300); a missing resource adds nothing.
TEST(GraphicsImageList, IconResourceAddsThePictureOfTheListsSize) {
    const struct {
        int size;
        TColor colour;
    } cases[] = {{16, clRed}, {32, clBlue}};
    for (const auto& c : cases) {
        auto list = std::make_unique<TImageList>(nullptr, c.size, c.size);
        EXPECT_EQ(list->AddIconResource(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(300)), 0) << c.size;
        EXPECT_EQ(list->AddIconResource(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(301)), -1) << c.size;
        EXPECT_EQ(list->AddIconResource(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(300)), 1) << c.size;
        ASSERT_EQ(list->Count(), 2) << c.size;
        TBitmap out;
        PrepareBitmap(out, c.size, c.size, clBlack);
        list->Draw(out.Canvas(), 0, 0, 1);
        EXPECT_EQ(PixelAt(out, c.size / 2, c.size / 2), c.colour) << c.size;
        EXPECT_EQ(PixelAt(out, c.size - 1, c.size - 1), c.colour) << c.size;
    }
}

}  // namespace
