// TBitmap pixels, transparency, BMP/PNG through WIC, hostile image data, TIcon and TPicture.
#include <gtest/gtest.h>

#include <cstring>

#include "GraphicsTestUtil.h"
#include "SupportTestUtil.h"
#include "classlib/Graphics.h"
#include "classlib/WicCodec.h"

namespace {

std::string StreamBytes(TMemoryStream& m) {
    return std::string(static_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

// A PNG whose header claims width x height but which carries no pixel data.
std::string PngHeaderOnly(std::uint32_t width, std::uint32_t height) {
    std::string ihdr = Be32(width) + Be32(height) + std::string("\x08\x06\0\0\0", 5);
    return PngSignature() + Chunk("IHDR", ihdr) + Chunk("IEND", "");
}

void LoadBytes(TGraphic& g, const std::string& bytes) {
    TMemoryStream m;
    if (!bytes.empty())
        m.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    m.SetPosition(0);
    g.LoadFromStream(&m);
}

TEST(GraphicsBitmap, ScanLineRowsRunTopDown) {
    TBitmap bmp;
    PrepareBitmap(bmp, 5, 3, clWhite, pf24bit);
    bmp.Canvas()->SetPixel(1, 0, RGBColor(10, 20, 30));
    const auto* row0 = static_cast<const std::uint8_t*>(bmp.ScanLine(0));
    EXPECT_EQ(row0[3], 30);  // blue, green, red
    EXPECT_EQ(row0[5], 10);
    EXPECT_EQ(bmp.BytesPerScanLine(), 16);  // 15 bytes padded to 4
    EXPECT_THROW(bmp.ScanLine(3), EInvalidGraphicOperation);
    EXPECT_THROW(bmp.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(GraphicsBitmap, ResizeKeepsTheOverlapAndFormatsConvert) {
    TBitmap bmp;
    PrepareBitmap(bmp, 4, 4, clRed, pf24bit);
    bmp.SetSize(6, 2);
    EXPECT_EQ(PixelAt(bmp, 3, 1), clRed);
    EXPECT_EQ(PixelAt(bmp, 5, 0), clWhite);  // new pixels are white
    bmp.SetPixelFormat(pf32bit);
    EXPECT_EQ(bmp.BitsPerPixel(), 32);
    EXPECT_EQ(PixelAt(bmp, 0, 0), clRed);
    bmp.SetPixelFormat(pf24bit);
    EXPECT_EQ(PixelAt(bmp, 3, 1), clRed);
    EXPECT_THROW(bmp.SetPixelFormat(pf8bit), EInvalidGraphicOperation);
    bmp.SetSize(0, 5);
    EXPECT_TRUE(bmp.Empty());
    // Measuring text on an empty bitmap's canvas works, as callers expect.
    EXPECT_GT(bmp.Canvas()->TextWidth(L"abc"), 0);
}

TEST(GraphicsBitmap, TransparentColorIsTheBottomLeftPixelUnlessFixed) {
    TBitmap bmp;
    PrepareBitmap(bmp, 8, 6, clWhite);
    bmp.Canvas()->SetPixel(0, 5, clFuchsia);
    bmp.Canvas()->SetPixel(0, 0, clLime);
    EXPECT_EQ(bmp.TransparentMode(), tmAuto);
    EXPECT_EQ(bmp.TransparentColor(), clFuchsia);
    bmp.SetTransparentColor(clBlue);
    EXPECT_EQ(bmp.TransparentMode(), tmFixed);
    EXPECT_EQ(bmp.TransparentColor(), clBlue);
    bmp.SetTransparentMode(tmAuto);
    EXPECT_EQ(bmp.TransparentColor(), clFuchsia);
    TBitmap empty;
    EXPECT_EQ(empty.TransparentColor(), clDefault);
}

TEST(GraphicsBitmap, TransparentDrawSkipsTheKeyColour) {
    TBitmap glyph;
    PrepareBitmap(glyph, 4, 4, clFuchsia);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(1, 1, 3, 3));
    glyph.SetTransparent(true);
    TBitmap dst;
    PrepareBitmap(dst, 10, 10, clBlue);
    dst.Canvas()->Draw(2, 2, &glyph);
    EXPECT_EQ(PixelAt(dst, 2, 2), clBlue);  // key colour left out
    EXPECT_EQ(PixelAt(dst, 3, 3), clRed);
    dst.Canvas()->StretchDraw(Rect(0, 0, 8, 8), &glyph);
    EXPECT_EQ(PixelAt(dst, 0, 0), clBlue);
    EXPECT_EQ(PixelAt(dst, 3, 3), clRed);
    glyph.SetTransparent(false);
    dst.Canvas()->Draw(6, 6, &glyph);
    EXPECT_EQ(PixelAt(dst, 6, 6), clFuchsia);
}

TEST(GraphicsBitmap, AlphaFormatBlendsOverTheDestination) {
    TBitmap src;
    src.SetPixelFormat(pf32bit);
    std::vector<std::uint32_t> pixels(4, 0x80FF0000u);  // red at half alpha (straight)
    src.SetPixels32(2, 2, pixels.data());
    src.AlphaFormat = afDefined;
    TBitmap dst;
    PrepareBitmap(dst, 2, 2, clWhite);
    dst.Canvas()->Draw(0, 0, &src);
    TColor c = PixelAt(dst, 1, 1);
    EXPECT_EQ(GetRValue(c), 255);
    EXPECT_NEAR(GetGValue(c), 127, 2);
    EXPECT_NEAR(GetBValue(c), 127, 2);
}

TEST(GraphicsBitmap, BmpRoundTripTable) {
    for (TPixelFormat format : {pf24bit, pf32bit}) {
        SCOPED_TRACE(static_cast<int>(format));
        TBitmap bmp;
        PrepareBitmap(bmp, 7, 5, clWhite, format);
        bmp.Canvas()->SetPixel(0, 0, clRed);
        bmp.Canvas()->SetPixel(6, 4, clBlue);
        if (format == pf32bit)
            static_cast<std::uint8_t*>(bmp.ScanLine(2))[3] = 0x5A;  // a fourth byte that must survive
        TMemoryStream m;
        bmp.SaveToStream(&m);
        std::string bytes = StreamBytes(m);
        ASSERT_EQ(bytes.substr(0, 2), "BM");
        TBitmap back;
        LoadBytes(back, bytes);
        EXPECT_EQ(back.Width(), 7);
        EXPECT_EQ(back.Height(), 5);
        EXPECT_EQ(back.PixelFormat(), format);
        EXPECT_EQ(PixelAt(back, 0, 0), clRed);
        EXPECT_EQ(PixelAt(back, 6, 4), clBlue);
        EXPECT_EQ(PixelAt(back, 3, 2), clWhite);
        if (format == pf32bit) {
            EXPECT_EQ(AlphaAt(back, 0, 2), 0x5A);
        }
    }
}

TEST(GraphicsBitmap, BackToBackBmpsReadOneAtATime) {
    TMemoryStream m;
    TBitmap a, b;
    PrepareBitmap(a, 3, 3, clRed, pf24bit);
    PrepareBitmap(b, 2, 5, clGreen, pf24bit);
    a.SaveToStream(&m);
    b.SaveToStream(&m);
    m.WriteBuffer("tail", 4);
    m.SetPosition(0);
    TBitmap x, y;
    x.LoadFromStream(&m);
    y.LoadFromStream(&m);
    EXPECT_EQ(x.Width(), 3);
    EXPECT_EQ(PixelAt(x, 1, 1), clRed);
    EXPECT_EQ(y.Height(), 5);
    EXPECT_EQ(PixelAt(y, 1, 4), clGreen);
    char tail[4];
    m.ReadBuffer(tail, 4);
    EXPECT_EQ(std::string(tail, 4), "tail");
}

TEST(GraphicsBitmap, PngDecodesThroughWicWithAlpha) {
    // 3 x 2: opaque red, half-transparent green, transparent blue / white, black, grey.
    const std::uint32_t pixels[6] = {0xFFFF0000u, 0x8000FF00u, 0x000000FFu, 0xFFFFFFFFu, 0xFF000000u, 0xFF808080u};
    std::string png = EncodePng(pixels, 3, 2);
    ASSERT_EQ(png.substr(1, 3), "PNG");
    TTempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.File(L"tiny.png"), png));
    TBitmap bmp;
    bmp.LoadFromFile(dir.File(L"tiny.png"));
    ASSERT_EQ(bmp.Width(), 3);
    ASSERT_EQ(bmp.Height(), 2);
    EXPECT_EQ(bmp.PixelFormat(), pf32bit);
    EXPECT_EQ(PixelAt(bmp, 0, 0), clRed);
    EXPECT_EQ(PixelAt(bmp, 1, 0), clLime);
    EXPECT_EQ(AlphaAt(bmp, 1, 0), 0x80);
    EXPECT_EQ(AlphaAt(bmp, 2, 0), 0);
    EXPECT_EQ(PixelAt(bmp, 2, 1), RGBColor(0x80, 0x80, 0x80));
    EXPECT_EQ(bmp.TransparentColor(), clWhite);  // bottom-left
}

TEST(GraphicsBitmap, HostileImageDataFailsCleanly) {
    TBitmap good;
    PrepareBitmap(good, 4, 4, clRed, pf24bit);
    TMemoryStream m;
    good.SaveToStream(&m);
    const std::string bmp = StreamBytes(m);
    const std::uint32_t px[1] = {0xFF00FF00u};
    const std::string png = EncodePng(px, 1, 1);
    std::string hugeBmp = bmp;
    const std::int32_t hugeWidth = 0x40000000;
    std::memcpy(hugeBmp.data() + 18, &hugeWidth, 4);
    std::string badSize = bmp;
    std::memset(badSize.data() + 2, 0, 4);  // a zero size field is computed from the header instead
    struct Case {
        const char* name;
        std::string bytes;
        bool loads;
    };
    const Case cases[] = {
        {"empty", "", false},
        {"garbage", "not an image at all", false},
        {"bmp header only", bmp.substr(0, 20), false},
        {"truncated png", png.substr(0, png.size() / 2), false},
        {"huge bmp width", hugeBmp, false},
        {"zero size field", badSize, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap target;
        PrepareBitmap(target, 2, 2, clBlue);
        if (c.loads) {
            LoadBytes(target, c.bytes);
            EXPECT_EQ(PixelAt(target, 3, 3), clRed);
            continue;
        }
        EXPECT_ANY_THROW(LoadBytes(target, c.bytes));
        EXPECT_EQ(target.Width(), 2);  // unchanged
        EXPECT_EQ(PixelAt(target, 1, 1), clBlue);
    }
    // Headers that promise gigabytes: a class-library error (out of memory or damaged data), not an allocation.
    TBitmap bomb;
    EXPECT_THROW(LoadBytes(bomb, PngHeaderOnly(20000, 20000)), Exception);
    EXPECT_THROW(LoadBytes(bomb, PngHeaderOnly(16000, 16000)), Exception);
    EXPECT_TRUE(bomb.Empty());
    try {
        TBitmap t;
        LoadBytes(t, "garbage!");
        ADD_FAILURE();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), L"Unsupported image format or damaged image data");
    }
}

TEST(GraphicsBitmap, FailedSaveToFileKeepsTheOldFile) {
    TTempDir dir;
    std::wstring file = dir.File(L"pic.bmp");
    ASSERT_TRUE(WriteFileBytes(file, "previous"));
    TBitmap empty;  // writes nothing; the old file is still replaced only by a complete new one
    TBitmap bmp;
    PrepareBitmap(bmp, 2, 2, clRed);
    HANDLE lock = ::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_THROW(bmp.SaveToFile(file), EStreamError);
    ::CloseHandle(lock);
    EXPECT_EQ(ReadFileString(file), "previous");
    bmp.SaveToFile(file);
    TBitmap back;
    back.LoadFromFile(file);
    EXPECT_EQ(PixelAt(back, 1, 1), clRed);
}

TEST(GraphicsBitmap, HandleAndAssign) {
    TBitmap a;
    PrepareBitmap(a, 3, 3, clYellow, pf24bit);
    TBitmap b;
    b.Assign(&a);
    a.Canvas()->SetPixel(0, 0, clBlack);
    EXPECT_EQ(PixelAt(b, 0, 0), clYellow);  // a deep copy
    HBITMAP raw = b.ReleaseHandle();
    EXPECT_TRUE(b.Empty());
    TBitmap c;
    c.SetHandle(raw);  // takes it over
    EXPECT_EQ(c.Width(), 3);
    EXPECT_EQ(PixelAt(c, 2, 2), clYellow);
    c.Assign(nullptr);
    EXPECT_TRUE(c.Empty());
    int changes = 0;
    c.OnChange = [&](TObject*) { ++changes; };
    c.SetSize(2, 2);
    c.Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_GE(changes, 2);
}

// A 16 x 16 icon: red square in the middle, transparent elsewhere.
HICON MakeIcon() {
    TBitmap colour;
    PrepareBitmap(colour, 16, 16, clBlack, pf24bit);
    colour.Canvas()->Brush()->SetColor(clRed);
    colour.Canvas()->FillRect(Rect(4, 4, 12, 12));
    TBitmap mask;
    PrepareBitmap(mask, 16, 16, clWhite, pf24bit);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(4, 4, 12, 12));
    TGdiBitmap monoMask(::CreateBitmap(16, 16, 1, 1, nullptr));
    {
        TMemoryDC dst(nullptr);
        dst.Select(monoMask.Get());
        ::SetBkColor(mask.Canvas()->Handle(), RGB(255, 255, 255));  // white becomes 1: transparent
        ::BitBlt(dst, 0, 0, 16, 16, mask.Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    TGdiBitmap colourCopy(colour.ReleaseHandle());
    ICONINFO ii{TRUE, 0, 0, monoMask.Get(), colourCopy.Get()};
    return ::CreateIconIndirect(&ii);
}

TEST(GraphicsBitmap, IconSavesLoadsAndDraws) {
    TIcon icon;
    icon.SetHandle(MakeIcon());
    ASSERT_FALSE(icon.Empty());
    EXPECT_EQ(icon.Width(), 16);
    TMemoryStream m;
    icon.SaveToStream(&m);
    std::string ico = StreamBytes(m);
    ASSERT_GT(ico.size(), 22u);
    TIcon back;
    LoadBytes(back, ico);
    EXPECT_EQ(back.Width(), 16);
    TBitmap dst;
    PrepareBitmap(dst, 20, 20, clBlue);
    dst.Canvas()->Draw(2, 2, &back);
    EXPECT_EQ(PixelAt(dst, 2, 2), clBlue);  // transparent corner
    EXPECT_EQ(PixelAt(dst, 10, 10), clRed);
    // The loaded bytes are saved unchanged.
    TMemoryStream again;
    back.SaveToStream(&again);
    EXPECT_EQ(StreamBytes(again), ico);
    TBitmap fromIcon;
    fromIcon.Assign(&back);
    EXPECT_EQ(fromIcon.Width(), 16);
    EXPECT_EQ(PixelAt(fromIcon, 8, 8), clRed);

    std::string badOffset = ico;
    badOffset[18] = '\x7F';  // entry offset far past the end
    badOffset[19] = '\x7F';
    for (const std::string& bad :
         {std::string("\0\0\1\0\0\0", 6), std::string("\0\0\3\0\1\0", 6), ico.substr(0, 30), badOffset}) {
        TIcon t;
        EXPECT_ANY_THROW(LoadBytes(t, bad));
        EXPECT_TRUE(t.Empty());
    }
}

TEST(GraphicsBitmap, PictureChoosesTheGraphicByFile) {
    TTempDir dir;
    TBitmap bmp;
    PrepareBitmap(bmp, 3, 2, clGreen, pf24bit);
    bmp.SaveToFile(dir.File(L"a.bmp"));
    TIcon icon;
    icon.SetHandle(MakeIcon());
    icon.SaveToFile(dir.File(L"b.ico"));
    TPicture pic;
    int changes = 0;
    pic.OnChange = [&](TObject*) { ++changes; };
    pic.LoadFromFile(dir.File(L"a.bmp"));
    ASSERT_NE(dynamic_cast<TBitmap*>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Width(), 3);
    pic.LoadFromFile(dir.File(L"b.ico"));
    ASSERT_NE(dynamic_cast<TIcon*>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Height(), 16);
    TPicture copy;
    copy.Assign(&pic);
    ASSERT_NE(dynamic_cast<TIcon*>(copy.Graphic()), nullptr);
    EXPECT_NE(copy.Graphic(), pic.Graphic());
    pic.Bitmap()->SetSize(5, 5);  // replaces the icon and reports the change of the new graphic
    EXPECT_EQ(pic.Width(), 5);
    EXPECT_GE(changes, 3);
    EXPECT_THROW(pic.LoadFromFile(dir.File(L"missing.bmp")), EFOpenError);
}

}  // namespace
