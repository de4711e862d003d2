// TbsBitmap: size and failure handling, the DC -> bitmap list, drawing onto device contexts and other bitmaps.
#include "skin/core/SkinBitmap.h"

#include <gtest/gtest.h>

#include <vector>

#include "PixelTestSupport.h"
#include "classlib/GdiHandles.h"
#include "classlib/SysUtils.h"
#include "skin/core/PixelRoutinesDC.h"

namespace {

// A 32-bit DIB section of another owner, selected into its own memory DC: what a window's off-screen buffer is.
class TForeignDib {
  public:
    TForeignDib(int w, int h, bool bottomUp, std::uint32_t fill) : w_(w), h_(h), bottomUp_(bottomUp) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = bottomUp ? h : -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<std::uint32_t*>(bits);
        dc_.Reset(::CreateCompatibleDC(nullptr));
        old_ = ::SelectObject(dc_.Get(), bitmap_.Get());
        for (int i = 0; i < w * h; ++i)
            bits_[i] = fill;
    }
    ~TForeignDib() { ::SelectObject(dc_.Get(), old_); }
    HDC DC() const { return dc_.Get(); }
    std::uint32_t At(int x, int y) const {
        ::GdiFlush();
        return bits_[std::size_t(bottomUp_ ? h_ - 1 - y : y) * w_ + x];
    }
    std::vector<std::uint32_t> Image() const {
        std::vector<std::uint32_t> out;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                out.push_back(At(x, y));
        return out;
    }

  private:
    int w_, h_;
    bool bottomUp_;
    TGdiBitmap bitmap_;
    TDCHandle dc_;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

std::vector<std::uint32_t> Image(const TbsBitmap& b) {
    return std::vector<std::uint32_t>(b.Bits(), b.Bits() + std::size_t(b.Width()) * b.Height());
}

// ---- Size -----------------------------------------------------------------------------------------------------------
TEST(SkinBitmapSize, ZeroSidesAreIgnoredNegativeCountAbsoluteFreshPixelsAreZero) {
    TbsBitmap b;
    EXPECT_TRUE(b.Empty());
    b.SetSize(-4, -3);
    ASSERT_FALSE(b.Empty());
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Height(), 3);
    EXPECT_EQ(Image(b), std::vector<std::uint32_t>(12, 0));
    b.SetPixel(1, 1, 0x12345678);
    for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{4, 3}, std::pair{-4, 3}}) {
        b.SetSize(w, h);
        EXPECT_EQ(b.Width(), 4);
        EXPECT_EQ(b.Height(), 3);
        EXPECT_EQ(b.GetPixel(1, 1), 0x12345678u) << w << "x" << h;  // same size: pixels kept
    }
    b.SetSize(5, 3);
    EXPECT_EQ(b.GetPixel(1, 1), 0u);  // a new size starts from transparent black
}

TEST(SkinBitmapSize, PixelAccessOutsideIsHarmless) {
    TbsBitmap b;
    EXPECT_EQ(b.GetPixel(0, 0), 0u);
    b.SetPixel(0, 0, 1);  // empty: nothing
    b.SetSize(3, 2);
    b.Clear(0xAAAAAAAA);
    for (auto [x, y] : {std::pair{3, 0}, std::pair{0, 2}, std::pair{-1, 0}, std::pair{0, -1}}) {
        b.SetPixel(x, y, 0x55);
        EXPECT_EQ(b.GetPixel(x, y), 0u);
    }
    EXPECT_EQ(Image(b), std::vector<std::uint32_t>(6, 0xAAAAAAAA));
}

TEST(SkinBitmapSize, FailedAllocationLeavesAnEmptyBitmapThatRefusesPixelWork) {
    TbsBitmap b;
    b.SetSize(4, 4);
    const HDC oldDC = b.DC();
    try {
        b.SetSize(50000, 50000);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Can't allocate the DIB handle");
    }
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.DC(), nullptr);
    EXPECT_EQ(FindBitmapByDC(oldDC), nullptr);
    EXPECT_EQ(FindBitmapByDC(nullptr), nullptr);
    // None of these may touch memory.
    b.Clear(1);
    b.SetAlpha(7);
    b.SetAlpha(7, TRect{0, 0, 4, 4});
    b.FillRect(TRect{0, 0, 4, 4}, 1);
    b.FlipVert();
    b.Reflection();
    b.CheckRGBA2();
    b.ChangeBitmapBrightness(5);
    b.CheckingTransparent(0);
    b.CheckingAlphaBlend();
    EXPECT_EQ(b.GetPixel(0, 0), 0u);
    TbsBitmap other;
    other.SetSize(2, 2);
    b.Draw(&other, 0, 0);
    other.Draw(&b, 0, 0);
    other.MergeDraw(&b, 0, 0, TRect{0, 0, 4, 4});
    b.MergeDraw(&other, 0, 0, TRect{0, 0, 2, 2});
    other.Tile(&b, TRect{0, 0, 10, 10}, TRect{0, 0, 2, 2});
    EXPECT_EQ(Image(other), std::vector<std::uint32_t>(4, 0));
    // A later resize works again.
    b.SetSize(2, 2);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(FindBitmapByDC(b.DC()), &b);
}

TEST(SkinBitmapSize, ResizeAndDestroyReleaseEveryHandle) {
    const long before = LiveHandleCount();
    for (int i = 0; i < 50; ++i) {
        TbsBitmap b;
        b.SetSize(8 + i, 8);
        b.SetSize(3, 9 + i);
        TbsBitmap c;
        c.SetSize(5, 5);
        c.AlphaBlend = true;
        c.Clear(0x80FFFFFF);
        TForeignDib dib(6, 6, false, 0xFF000000);
        c.Draw(dib.DC(), 0, 0);  // goes through a temporary bitmap
    }
    EXPECT_EQ(LiveHandleCount(), before);
}

// ---- The DC -> bitmap list ------------------------------------------------------------------------------------------
TEST(BitmapList, FollowsResizesAndDestruction) {
    HDC firstDC, lastDC;
    {
        TbsBitmap b;
        b.SetSize(2, 2);
        firstDC = b.DC();
        EXPECT_EQ(FindBitmapByDC(firstDC), &b);
        b.SetSize(3, 3);
        b.SetSize(4, 4);
        lastDC = b.DC();
        EXPECT_EQ(FindBitmapByDC(lastDC), &b);
        if (firstDC != lastDC) {
            EXPECT_EQ(FindBitmapByDC(firstDC), nullptr);
        }
    }
    EXPECT_EQ(FindBitmapByDC(lastDC), nullptr);
}

TEST(BitmapList, SurvivesBeingFreed) {
    TbsBitmap a;
    a.SetSize(1, 1);
    FreeBitmapList();
    EXPECT_EQ(FindBitmapByDC(a.DC()), nullptr);
    TbsBitmap b;
    b.SetSize(1, 1);
    EXPECT_EQ(FindBitmapByDC(b.DC()), &b);
}

// ---- Flags from content ---------------------------------------------------------------------------------------------
TEST(SkinBitmapFlags, CheckingAlphaBlendAndTransparent) {
    TbsBitmap b;
    b.SetSize(3, 2);
    b.Clear(0xFF000000);
    b.SetPixel(2, 1, 0x00FFFFFF);
    b.CheckingAlphaBlend();
    EXPECT_FALSE(b.AlphaBlend);
    b.SetPixel(1, 0, 0x80FFFFFF);
    b.CheckingAlphaBlend(TRect{0, 0, 1, 1});  // the rectangle does not narrow the scan
    EXPECT_TRUE(b.AlphaBlend);

    b.Transparent = true;
    b.CheckingTransparent(0x00123456);
    EXPECT_FALSE(b.Transparent);
    b.SetPixel(0, 0, 0x12FA05FB);
    b.SetPixel(1, 1, 0x12F905FF);
    b.CheckingTransparent(0x00FF00FF, TRect{2, 1, 3, 2});
    EXPECT_TRUE(b.Transparent);
    EXPECT_EQ(b.GetPixel(0, 0), 0x007F007Fu);
    EXPECT_EQ(b.GetPixel(1, 1), 0x12F905FFu);
}

TEST(SkinBitmapFlags, SetAlphaInARectangle) {
    TbsBitmap b;
    b.SetSize(3, 2);
    b.Clear(0xFF112233);
    b.SetAlpha(0x10, TRect{1, 0, 1, 2});  // zero width
    b.SetAlpha(0x20, TRect{2, -4, 9, 1});
    EXPECT_EQ(Image(b),
              (std::vector<std::uint32_t>{0xFF112233, 0xFF112233, 0x20112233, 0xFF112233, 0xFF112233, 0xFF112233}));
    b.SetAlpha(0);
    EXPECT_EQ(b.GetPixel(0, 1), 0x00112233u);
}

// ---- Drawing --------------------------------------------------------------------------------------------------------
TEST(SkinBitmapDraw, OntoAnotherBitmapsDCBlendsWithTheTable) {
    for (bool mmx : {false, true}) {
        TBlendVariant variant(mmx);
        TbsBitmap src, dst;
        src.SetSize(2, 1);
        src.Clear(0x80000000);
        src.AlphaBlend = true;
        dst.SetSize(3, 1);
        dst.Clear(0xFFFFFFFF);
        src.Draw(dst.DC(), 1, 0);
        const std::uint32_t blended = mmx ? 0xBF7F7F7F : 0xFF7E7E7E;
        EXPECT_EQ(Image(dst), (std::vector<std::uint32_t>{0xFFFFFFFF, blended, blended})) << mmx;

        // The DC's window origin is taken off the destination.
        dst.Clear(0xFFFFFFFF);
        ::SetWindowOrgEx(dst.DC(), 5, 0, nullptr);
        src.Draw(dst.DC(), 5, 0);
        ::SetWindowOrgEx(dst.DC(), 0, 0, nullptr);
        EXPECT_EQ(Image(dst), (std::vector<std::uint32_t>{blended, blended, 0xFFFFFFFF})) << mmx;
    }
}

TEST(SkinBitmapDraw, OntoAForeignDCAlphaAndKeyAreDoneByThePixelRoutines) {
    TBlendVariant plain(false);
    TbsBitmap src;
    src.SetSize(2, 1);
    src.SetPixel(0, 0, 0x80000000);
    src.SetPixel(1, 0, 0x007F007F);
    src.AlphaBlend = true;
    TForeignDib dib(3, 1, false, 0xFFFFFFFF);
    src.Draw(dib.DC(), 1, 0);
    EXPECT_EQ(dib.Image(), (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFF7E7E7E, 0xFFFFFFFF}));

    // Transparent drawing: both the msimg32 path and the pixel path skip the key.
    src.AlphaBlend = false;
    src.Transparent = true;
    src.SetPixel(0, 0, 0xFF102030);
    for (TStretchToDCFunc path : {Plain_StretchToDCTransparent, MsImg_StretchToDCTransparent}) {
        if (path == MsImg_StretchToDCTransparent && !IsMsImg())
            continue;
        const TStretchToDCFunc saved = StretchToDCTransparentFunc;
        StretchToDCTransparentFunc = path;
        TForeignDib target(4, 1, true, 0xFF445566);
        src.Draw(target.DC(), 1, 0);
        StretchToDCTransparentFunc = saved;
        const auto image = target.Image();
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image[std::size_t(x)] & 0xFFFFFF, x == 1 ? 0x102030u : 0x445566u) << x;
    }
}

TEST(SkinBitmapDraw, OpaqueOntoAForeignDCIsAStretchedCopy) {
    TbsBitmap src;
    src.SetSize(2, 1);
    src.SetPixel(0, 0, 0xFF0000FF);
    src.SetPixel(1, 0, 0xFF00FF00);
    TForeignDib dib(4, 2, true, 0);
    src.Draw(dib.DC(), TRect{0, 0, 4, 2});
    const auto image = dib.Image();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image[std::size_t(y * 4 + x)] & 0xFFFFFF, x < 2 ? 0x0000FFu : 0x00FF00u) << x << "," << y;
}

TEST(SkinBitmapDraw, BitsOfTheDibSelectedIntoADC) {
    TForeignDib up(5, 4, true, 0), down(5, 4, false, 0);
    int w, h, bpp;
    EXPECT_NE(GetBitsFromDCFunc(up.DC(), w, h, bpp), nullptr);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(bpp, 32);
    EXPECT_NE(GetBitsFromDCFunc(down.DC(), w, h, bpp), nullptr);
    EXPECT_EQ(h, -4);
    // A device-dependent bitmap has no pixel memory to hand out.
    HDC screen = ::GetDC(nullptr);
    TGdiBitmap ddb(::CreateCompatibleBitmap(screen, 4, 4));
    ::ReleaseDC(nullptr, screen);
    TDCHandle dc(::CreateCompatibleDC(nullptr));
    HGDIOBJ old = ::SelectObject(dc.Get(), ddb.Get());
    EXPECT_EQ(GetBitsFromDCFunc(dc.Get(), w, h, bpp), nullptr);
    EXPECT_EQ(w, 0);
    ::SelectObject(dc.Get(), old);
}

// A 10 x 10 source whose pixel value carries its column and row (opaque).
void FillNumbered(TbsBitmap& b, std::uint32_t alpha = 0xFF000000) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, alpha | std::uint32_t(y << 8 | x));
}

TEST(SkinBitmapTile, TenByTenOverTwentyFiveByTen) {
    TbsBitmap tile, dst;
    tile.SetSize(10, 10);
    FillNumbered(tile);
    dst.SetSize(30, 10);
    dst.Clear(0xDEADBEEF);
    tile.Tile(&dst, TRect{0, 0, 25, 10}, TRect{0, 0, 10, 10});
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(dst.GetPixel(x, y), x < 25 ? 0xFF000000u | std::uint32_t(y << 8 | (x % 10)) : 0xDEADBEEFu)
                << x << "," << y;
}

// Tiling into a bitmap, into a bottom-up DIB (written directly) and into a top-down DIB (through GDI) gives the same
// image, for each way of drawing.
TEST(SkinBitmapTile, EveryDestinationPathGivesTheSameImage) {
    struct Mode {
        bool alpha, transparent;
    };
    for (Mode mode : {Mode{false, false}, Mode{true, false}, Mode{false, true}}) {
        TbsBitmap tile;
        tile.SetSize(3, 2);
        FillNumbered(tile, mode.alpha ? 0x80000000 : 0xFF000000);
        if (mode.transparent)
            tile.SetPixel(1, 1, 0x007F007F);
        tile.AlphaBlend = mode.alpha;
        tile.Transparent = mode.transparent;
        // Rows 0..4 of 7: not symmetric, so a flipped image would show.
        const TRect dstRect{1, 0, 9, 5}, srcRect{0, 0, 3, 2};

        TbsBitmap asBitmap;
        asBitmap.SetSize(10, 7);
        asBitmap.Clear(0xFF404040);
        tile.Tile(asBitmap.DC(), dstRect, srcRect);
        TForeignDib bottomUp(10, 7, true, 0xFF404040), topDown(10, 7, false, 0xFF404040);
        tile.Tile(bottomUp.DC(), dstRect, srcRect);
        tile.Tile(topDown.DC(), dstRect, srcRect);

        const auto expected = Image(asBitmap);
        EXPECT_EQ(bottomUp.Image(), expected) << mode.alpha << mode.transparent;
        std::vector<std::uint32_t> viaGdi = topDown.Image();
        if (mode.transparent)
            for (auto& p : viaGdi)  // TransparentBlt does not promise an alpha byte
                p |= 0xFF000000;
        EXPECT_EQ(viaGdi, expected) << mode.alpha << mode.transparent;
        EXPECT_EQ(asBitmap.GetPixel(0, 0), 0xFF404040u);
        EXPECT_EQ(asBitmap.GetPixel(8, 5), 0xFF404040u);
        EXPECT_NE(asBitmap.GetPixel(8, 4), 0xFF404040u);
    }
}

TEST(SkinBitmapTile, WindowOriginMovesTheDirectPath) {
    TbsBitmap tile;
    tile.SetSize(2, 2);
    tile.Clear(0xFF00FF00);
    TForeignDib dib(4, 4, true, 0);
    ::SetWindowOrgEx(dib.DC(), 10, 10, nullptr);
    tile.Tile(dib.DC(), TRect{10, 10, 12, 12}, TRect{0, 0, 2, 2});
    EXPECT_EQ(dib.At(0, 0), 0xFF00FF00u);
    EXPECT_EQ(dib.At(1, 1), 0xFF00FF00u);
    EXPECT_EQ(dib.At(2, 2), 0u);
}

TEST(SkinBitmapDraw, MergeFillAndFlipThroughTheBitmap) {
    TBlendVariant plain(false);
    TbsBitmap front, back;
    front.SetSize(2, 2);
    front.SetPixel(0, 0, 0x80000000);
    back.SetSize(2, 2);
    back.Clear(0xFFFFFFFF);
    front.MergeDraw(&back, 0, 0, TRect{0, 0, 2, 2});
    EXPECT_EQ(front.GetPixel(0, 0), 0xFF7E7E7Eu);
    EXPECT_EQ(front.GetPixel(1, 1), 0xFFFFFFFFu);

    front.AlphaBlend = true;
    front.FillRect(TRect{0, 1, 2, 2}, 0x80000000);
    EXPECT_EQ(front.GetPixel(0, 1), 0xFF7E7E7Eu);
    front.AlphaBlend = false;
    front.FillRect(TRect{1, 0, 5, 1}, 0x01020304);
    EXPECT_EQ(front.GetPixel(1, 0), 0x01020304u);
    front.FlipVert();
    EXPECT_EQ(front.GetPixel(1, 1), 0x01020304u);
}

TEST(SkinBitmapAssign, CopiesPixelsNameAndFlags) {
    TbsBitmap a, b;
    a.SetSize(3, 2);
    FillNumbered(a);
    a.Name = L"glyph";
    a.AlphaBlend = true;
    b.SetSize(7, 7);
    b.Assign(&a);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(Image(b), Image(a));
    EXPECT_EQ(b.Name, L"glyph");
    EXPECT_TRUE(b.AlphaBlend);
    EXPECT_FALSE(b.Transparent);

    // An empty source cannot give its size: the pixels stay, nothing is read from the source.
    TbsBitmap empty;
    empty.Transparent = true;
    b.Assign(&empty);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_TRUE(b.Transparent);

    TPersistent unrelated;
    EXPECT_THROW(b.Assign(&unrelated), EConvertError);
}

// ---- Canvas and class-library graphics ------------------------------------------------------------------------------

TEST(SkinBitmapCanvas, AlphaBitmapDrawnOnAnotherBitmapsCanvasGetsTheTablesValues) {
    for (bool mmx : {false, true}) {
        TBlendVariant variant(mmx);
        TbsBitmap glyph, surface;
        glyph.SetSize(1, 1);
        glyph.SetPixel(0, 0, 0x80000000);
        glyph.CheckingAlphaBlend();
        ASSERT_TRUE(glyph.AlphaBlend);
        surface.SetSize(2, 1);
        surface.Clear(0xFFFFFFFF);
        glyph.Draw(surface.Canvas(), 1, 0);
        EXPECT_EQ(surface.GetPixel(0, 0), 0xFFFFFFFFu);
        EXPECT_EQ(surface.GetPixel(1, 0), mmx ? 0xBF7F7F7Fu : 0xFF7E7E7Eu);
    }
}

TEST(SkinBitmapCanvas, FollowsResizesAndRefusesAnEmptyBitmap) {
    TbsBitmap b;
    b.SetSize(4, 4);
    TCanvas* canvas = b.Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(TRect{0, 0, 2, 2});
    ::GdiFlush();
    EXPECT_EQ(b.GetPixel(1, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(b.GetPixel(2, 2), 0u);
    b.SetSize(6, 6);
    EXPECT_EQ(b.Canvas(), canvas);
    canvas->FillRect(TRect{5, 5, 6, 6});
    ::GdiFlush();
    EXPECT_EQ(b.GetPixel(5, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(b.GetPixel(0, 0), 0u);  // the new surface started empty

    EXPECT_THROW(b.SetSize(60000, 60000), Exception);
    EXPECT_THROW(canvas->FillRect(TRect{0, 0, 1, 1}), EInvalidOperation);
    TbsBitmap neverSized;
    EXPECT_THROW(neverSized.Canvas()->FillRect(TRect{0, 0, 1, 1}), EInvalidOperation);
}

TEST(SkinBitmapCanvas, CanvasUseReleasesEveryHandle) {
    const long before = LiveHandleCount();
    for (int i = 0; i < 20; ++i) {
        TbsBitmap b;
        b.SetSize(5, 5);
        b.Canvas()->Brush()->SetColor(clBlue);
        b.Canvas()->Pen()->SetColor(clRed);
        b.Canvas()->Rectangle(0, 0, 4, 4);
        b.Canvas()->TextOut(0, 0, L"x");
        b.SetSize(7, 3);
        b.Canvas()->Rectangle(0, 0, 4, 4);
    }
    EXPECT_EQ(LiveHandleCount(), before);
}

TEST(SkinBitmapGraphics, AssignFromClassLibraryBitmaps) {
    const std::uint32_t pixels[] = {0x80102030, 0xFF405060, 0x00000000, 0xFFFFFFFF};
    TBitmap withAlpha;
    withAlpha.SetPixels32(2, 2, pixels);
    TbsBitmap b;
    b.Assign(&withAlpha);
    ASSERT_EQ(b.Width(), 2);
    EXPECT_EQ(Image(b), std::vector<std::uint32_t>(pixels, pixels + 4));
    EXPECT_TRUE(b.AlphaBlend);

    TBitmap plain(3, 1, pf24bit);
    plain.Canvas()->Brush()->SetColor(clLime);
    plain.Canvas()->FillRect(TRect{0, 0, 3, 1});
    TbsBitmap c;
    c.Name = L"kept";
    c.Assign(&plain);
    EXPECT_EQ(Image(c), std::vector<std::uint32_t>(3, 0xFF00FF00));
    EXPECT_EQ(c.Name, L"kept");

    TPicture picture;
    picture.Bitmap()->SetPixels32(2, 2, pixels);
    TbsBitmap d;
    d.Assign(&picture);
    EXPECT_EQ(Image(d), std::vector<std::uint32_t>(pixels, pixels + 4));

    // An empty class-library bitmap gives no size: nothing is copied.
    TBitmap empty;
    d.Assign(&empty);
    EXPECT_EQ(d.Width(), 2);
}

TEST(SkinBitmapGraphics, AssignToABitmapDrawsWithTheFlags) {
    TbsBitmap b;
    b.SetSize(2, 1);
    b.SetPixel(0, 0, 0xFF0000FF);
    b.SetPixel(1, 0, 0x007F007F);
    b.Transparent = true;
    TBitmap out(2, 1, pf24bit);
    out.Canvas()->Brush()->SetColor(clWhite);
    out.Canvas()->FillRect(TRect{0, 0, 2, 1});
    out.Assign(&b);
    ASSERT_EQ(out.PixelFormat(), pf32bit);
    ASSERT_EQ(out.Width(), 2);
    ::GdiFlush();
    const auto* row = static_cast<const std::uint32_t*>(out.ScanLine(0));
    EXPECT_EQ(row[0] & 0xFFFFFF, 0x0000FFu);
    // The destination was re-made at 32 bits (black); the keyed pixel leaves it as it is.
    EXPECT_NE(row[1] & 0xFFFFFF, 0x7F007Fu);
}

TEST(SkinBitmapGraphics, DrawGraphicCopiesWhatIsNotMagenta) {
    const std::uint32_t pixels[] = {0xFF00FF00, 0xFFFF00FF};  // green, magenta
    TBitmap graphic;
    graphic.SetPixels32(2, 1, pixels);
    TbsBitmap b;
    b.SetSize(4, 1);
    b.Clear(0x11111111);
    b.DrawGraphic(&graphic, TRect{0, 0, 2, 1});
    EXPECT_EQ(b.GetPixel(0, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(b.GetPixel(1, 0), 0x11111111u);
    EXPECT_EQ(b.GetPixel(2, 0), 0x11111111u);
}

// A destination far larger than the surface is walked only where it can draw: this returns at once.
TEST(SkinBitmapTile, HugeDestinationsOnlyWalkTheVisibleTiles) {
    TbsBitmap dot;
    dot.SetSize(1, 1);
    dot.Clear(0xFF123456);
    const TRect huge{-100000000, -100000000, 100000000, 100000000};
    TbsBitmap asBitmap;
    asBitmap.SetSize(4, 4);
    dot.Tile(&asBitmap, huge, TRect{0, 0, 1, 1});
    dot.Tile(asBitmap.DC(), huge, TRect{0, 0, 1, 1});
    EXPECT_EQ(Image(asBitmap), std::vector<std::uint32_t>(16, 0xFF123456));
    TForeignDib bottomUp(4, 4, true, 0), topDown(4, 4, false, 0);
    dot.Tile(bottomUp.DC(), huge, TRect{0, 0, 1, 1});
    dot.Tile(topDown.DC(), huge, TRect{0, 0, 1, 1});
    EXPECT_EQ(bottomUp.Image(), std::vector<std::uint32_t>(16, 0xFF123456));
    EXPECT_EQ(topDown.Image(), std::vector<std::uint32_t>(16, 0xFF123456));
}

}  // namespace
