// TPngImage: colour types, transparency modes and alpha from hand-made PNG files (stored deflate blocks, so the
// fixtures need no compressor), drawing, alpha creation, and the stream boundaries.
#include <gtest/gtest.h>

#include "GraphicsTestUtil.h"
#include "classlib/PngImage.h"

namespace {

// rows: the pixel bytes of each row (the filter byte is added here).
std::string MakePng(int w,
                    int h,
                    std::uint8_t colorType,
                    const std::vector<std::string>& rows,
                    const std::string& plte = "",
                    const std::string& trns = "") {
    std::string ihdr = Be32(w) + Be32(h) + std::string{8, static_cast<char>(colorType), 0, 0, 0};
    std::string raw;
    for (const auto& row : rows)
        raw += std::string(1, '\0') + row;
    std::string png = PngSignature() + Chunk("IHDR", ihdr);
    if (!plte.empty())
        png += Chunk("PLTE", plte);
    if (!trns.empty())
        png += Chunk("tRNS", trns);
    return png + Chunk("IDAT", Stored(raw)) + Chunk("IEND", "");
}

void Load(TPngImage& png, const std::string& bytes) {
    TMemoryStream m;
    m.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    m.SetPosition(0);
    png.LoadFromStream(&m);
}

std::string S(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes)
        s += static_cast<char>(b);
    return s;
}

TEST(GraphicsPng, ColourTypesAndTransparencyModesTable) {
    struct Case {
        const char* name;
        std::string png;
        std::uint8_t colorType;
        TPNGTransparencyMode mode;
        TColor transparent;
        bool alphaRows;
        TColor pixel10;  // pixel (1, 0)
    };
    const std::string plte = S({255, 0, 0, 0, 255, 0, 0, 0, 255});
    const Case cases[] = {
        {"grey", MakePng(2, 1, 0, {S({0, 200})}), COLOR_GRAYSCALE, ptmNone, clNone, false, RGBColor(200, 200, 200)},
        {"grey with tRNS", MakePng(2, 1, 0, {S({0, 200})}, "", S({0, 200})), COLOR_GRAYSCALE, ptmBit,
         RGBColor(200, 200, 200), false, RGBColor(200, 200, 200)},
        {"rgb", MakePng(2, 1, 2, {S({1, 2, 3, 10, 20, 30})}), COLOR_RGB, ptmNone, clNone, false, RGBColor(10, 20, 30)},
        {"rgb with tRNS", MakePng(2, 1, 2, {S({1, 2, 3, 10, 20, 30})}, "", S({0, 1, 0, 2, 0, 3})), COLOR_RGB, ptmBit,
         RGBColor(1, 2, 3), false, RGBColor(10, 20, 30)},
        {"palette", MakePng(2, 1, 3, {S({0, 2})}, plte), COLOR_PALETTE, ptmNone, clNone, false, clBlue},
        {"palette bit", MakePng(2, 1, 3, {S({0, 2})}, plte, S({255, 255, 0})), COLOR_PALETTE, ptmBit, clBlue, false,
         clBlue},
        {"palette partial", MakePng(2, 1, 3, {S({0, 2})}, plte, S({128, 255, 0})), COLOR_PALETTE, ptmPartial, clNone,
         false, clBlue},
        {"grey alpha", MakePng(2, 1, 4, {S({50, 255, 60, 100})}), COLOR_GRAYSCALEALPHA, ptmPartial, clNone, true,
         RGBColor(60, 60, 60)},
        {"rgba", MakePng(2, 1, 6, {S({1, 2, 3, 255, 40, 50, 60, 100})}), COLOR_RGBALPHA, ptmPartial, clNone, true,
         RGBColor(40, 50, 60)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPngImage png;
        try {
            Load(png, c.png);
        } catch (const Exception& e) {
            FAIL() << e.what();
        }
        EXPECT_EQ(png.Width(), 2);
        EXPECT_EQ(png.ColorType(), c.colorType);
        EXPECT_EQ(png.TransparencyMode(), c.mode);
        EXPECT_EQ(png.TransparentColor(), c.transparent);
        EXPECT_EQ(png.AlphaScanline(0) != nullptr, c.alphaRows);
        EXPECT_EQ(png.Pixels(1, 0), c.pixel10);
        if (c.alphaRows) {
            EXPECT_EQ(png.AlphaScanline(0)[1], 100);
        }
    }
}

TEST(GraphicsPng, DrawBlendsAndHonoursTheTransparentColour) {
    TPngImage rgba;
    Load(rgba, MakePng(2, 1, 6, {S({255, 0, 0, 255, 255, 0, 0, 0})}));
    TBitmap dst;
    PrepareBitmap(dst, 4, 4, clWhite);
    dst.Canvas()->Draw(0, 0, &rgba);
    EXPECT_EQ(PixelAt(dst, 0, 0), clRed);
    EXPECT_EQ(PixelAt(dst, 1, 0), clWhite);  // alpha 0
    TPngImage bit;
    const std::string plte = S({255, 0, 0, 0, 0, 255});
    Load(bit, MakePng(2, 1, 3, {S({0, 1})}, plte, S({255, 0})));
    PrepareBitmap(dst, 4, 4, clWhite);
    dst.Canvas()->StretchDraw(Rect(0, 0, 4, 2), &bit);
    EXPECT_EQ(PixelAt(dst, 0, 0), clRed);
    EXPECT_EQ(PixelAt(dst, 3, 1), clWhite);  // the transparent palette colour
}

TEST(GraphicsPng, CreateAlphaAndRoundTrip) {
    TPngImage png;
    Load(png, MakePng(2, 1, 2, {S({1, 2, 3, 10, 20, 30})}, "", S({0, 1, 0, 2, 0, 3})));
    png.CreateAlpha();
    EXPECT_EQ(png.ColorType(), COLOR_RGBALPHA);
    EXPECT_EQ(png.TransparencyMode(), ptmPartial);
    ASSERT_NE(png.AlphaScanline(0), nullptr);
    EXPECT_EQ(png.AlphaScanline(0)[0], 0);  // the former transparent colour
    EXPECT_EQ(png.AlphaScanline(0)[1], 255);
    png.AlphaScanline(0)[1] = 77;
    TMemoryStream m;
    png.SaveToStream(&m);
    m.WriteBuffer("next", 4);
    m.SetPosition(0);
    TPngImage back;
    back.LoadFromStream(&m);
    EXPECT_EQ(back.Pixels(1, 0), RGBColor(10, 20, 30));
    EXPECT_EQ(back.AlphaScanline(0)[1], 77);
    char next[4];
    m.ReadBuffer(next, 4);  // the stream stops right after IEND
    EXPECT_EQ(std::string(next, 4), "next");
    TPngImage copy;
    copy.Assign(&back);
    EXPECT_EQ(copy.AlphaScanline(0)[0], 0);
    copy.RemoveTransparency();
    EXPECT_EQ(copy.TransparencyMode(), ptmNone);
    EXPECT_EQ(copy.ColorType(), COLOR_RGB);
    TPngImage blank;
    blank.CreateBlank(COLOR_RGBALPHA, 3, 2);
    EXPECT_EQ(blank.AlphaScanline(1)[2], 0);
    blank.SetSize(4, 4);
    EXPECT_NE(blank.AlphaScanline(3), nullptr);
}

TEST(GraphicsPng, DamagedFilesFailWithoutChangingThePicture) {
    TPngImage png;
    Load(png, MakePng(1, 1, 2, {S({9, 9, 9})}));
    const std::string good = MakePng(2, 1, 2, {S({1, 2, 3, 4, 5, 6})});
    std::string lying = good;
    lying[8 + 3] = 100;  // IHDR length larger than the file
    for (const std::string& bad :
         {PngSignature(), good.substr(0, good.size() - 12), lying, std::string("GIF89a......")}) {
        EXPECT_THROW(Load(png, bad), EInvalidGraphic);
        EXPECT_EQ(png.Width(), 1);
        EXPECT_EQ(png.Pixels(0, 0), RGBColor(9, 9, 9));
    }
}

}  // namespace
