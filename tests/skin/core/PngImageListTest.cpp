// PNG image list: item names and placeholders, size changes, drawing (enabled, disabled, out of range), the translucent
// copy of each colour type and the copy into a skin bitmap.
#include "skin/core/PngImageList.h"

#include <gtest/gtest.h>

#include "PainterTestSupport.h"
#include "classlib/GraphicsTestUtil.h"
#include "skin/core/SkinBitmap.h"

namespace {

// A 2 x 1 palette picture: index 0 red (transparent by tRNS), index 1 green.
void LoadPalettePng(TPngImage& png) {
    const std::string ihdr = Be32(2) + Be32(1) + std::string{8, 3, 0, 0, 0};
    const std::string bytes = PngSignature() + Chunk("IHDR", ihdr) + Chunk("PLTE", std::string("\xFF\0\0\0\xFF\0", 6)) +
                              Chunk("tRNS", std::string(1, '\0')) + Chunk("IDAT", Stored(std::string("\0\0\1", 3))) +
                              Chunk("IEND", "");
    TMemoryStream m;
    m.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    m.SetPosition(0);
    png.LoadFromStream(&m);
}

// A w x h truecolour picture with alpha, blue, alpha a everywhere.
void MakeRgba(TPngImage& png, int w, int h, std::uint8_t a) {
    png.CreateBlank(COLOR_RGBALPHA, w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            png.SetPixel(x, y, clBlue);
        std::fill_n(png.AlphaScanline(y), w, a);
    }
}

}  // namespace

TEST(PngImageList, ItemsAreNamedByIndexAndKeepThePlaceholderCount) {
    TbsPngImageList list(nullptr);
    list.SetPngWidth(16);
    list.SetPngHeight(16);
    for (int i = 0; i < 3; ++i)
        list.PngImages()->Add();
    EXPECT_EQ(list.PngImages()->Items(0)->Name(), L"PngImage0");
    EXPECT_EQ(list.PngImages()->Items(2)->Name(), L"PngImage2");
    EXPECT_EQ(list.PngImages()->Items(1)->DisplayName(), L"PngImage1");
    EXPECT_EQ(list.Count(), 3);
    list.PngImages()->Delete(1);
    EXPECT_EQ(list.Count(), 2);
    list.SetPngWidth(16);  // unchanged: the items stay
    EXPECT_EQ(list.PngImages()->Count(), 2);
    list.SetPngWidth(24);
    EXPECT_EQ(list.PngImages()->Count(), 0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.PngWidth(), 24);
}

TEST(PngImageList, DrawsItsPicturesAndNothingForAnIndexOutOfRange) {
    TbsPngImageList list(nullptr);
    list.SetPngWidth(4);
    list.SetPngHeight(4);
    auto* item = static_cast<TbsPngImageItem*>(list.PngImages()->Add());
    TPngImage pic;
    MakeRgba(pic, 4, 4, 255);
    item->SetPngImage(&pic);
    auto b = MakeBitmap(12, 6, [](int, int) { return 0xFFFFFFu; });
    list.Draw(b->Canvas(), 1, 1, 0, true);
    EXPECT_EQ(PixelAt(b.get(), 1, 1), 0x0000FFu);
    EXPECT_EQ(PixelAt(b.get(), 5, 1), 0xFFFFFFu);
    list.Draw(b->Canvas(), 6, 1, 0, false);  // disabled: about half strength over white
    const std::uint32_t half = PixelAt(b.get(), 6, 1);
    EXPECT_NEAR(int((half >> 16) & 0xFF), 127, 2);
    EXPECT_EQ(half & 0xFF, 0xFFu);
    const std::uint32_t before = PixelAt(b.get(), 1, 1);
    list.Draw(b->Canvas(), 1, 1, 5, true);
    EXPECT_EQ(PixelAt(b.get(), 1, 1), before);
}

TEST(PngImageList, BlendedCopyHalvesTheAlpha) {
    TPngImage pic;
    pic.CreateBlank(COLOR_RGBALPHA, 2, 1);
    pic.AlphaScanline(0)[0] = 255;
    pic.AlphaScanline(0)[1] = 100;
    MakeImageBlended(&pic, 127);
    EXPECT_EQ(pic.AlphaScanline(0)[0], 128);
    EXPECT_EQ(pic.AlphaScanline(0)[1], 50);
    TPngImage rgb;
    rgb.CreateBlank(COLOR_RGB, 1, 1);
    MakeImageBlended(&rgb, 127);
    ASSERT_NE(rgb.AlphaScanline(0), nullptr);
    EXPECT_EQ(rgb.AlphaScanline(0)[0], 128);
}

TEST(PngImageList, BlendedPalettePictureKeepsItsTransparentColour) {
    TPngImage pic;
    LoadPalettePng(pic);
    ASSERT_EQ(pic.ColorType(), COLOR_PALETTE);
    MakeImageBlended(&pic, 127);
    ASSERT_NE(pic.AlphaScanline(0), nullptr);
    EXPECT_EQ(pic.AlphaScanline(0)[0], 0);
    EXPECT_EQ(pic.AlphaScanline(0)[1], 127);
    EXPECT_EQ(pic.Pixels(1, 0), clLime);
}

TEST(PngImageList, CopyIntoASkinBitmap) {
    TPngImage pic;
    MakeRgba(pic, 3, 2, 100);
    TbsBitmap b;
    MakeCopyFromPng(&b, &pic);
    ASSERT_EQ(b.Width(), 3);
    EXPECT_EQ(b.GetPixel(2, 1), 0x640000FFu);  // blue with alpha 100
    EXPECT_TRUE(b.AlphaBlend);
    TPngImage opaque;
    opaque.CreateBlank(COLOR_RGB, 2, 2);
    opaque.SetPixel(0, 0, clRed);
    MakeCopyFromPng(&b, &opaque);  // no alpha in the picture: opaque
    EXPECT_EQ(b.GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_FALSE(b.AlphaBlend);
}
