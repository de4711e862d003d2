// TbsEffectBmp's DIB section and transfers, and the effects on TbsBitmap through their Win32 entry points.
#include "skin/core/EffectBitmap.h"

#include <gtest/gtest.h>

#include <vector>

#include "classlib/GdiHandles.h"
#include "skin/core/SkinBitmap.h"

namespace {

// A 32-bit top-down DIB section with the given pixels (0x00RRGGBB), to read effect bitmaps from and draw into.
struct TDib32 {
    TDib32(int w, int h, std::uint32_t fill) : w(w), h(h) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* p = nullptr;
        bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0));
        bits = static_cast<std::uint32_t*>(p);
        for (int i = 0; i < w * h; ++i)
            bits[i] = fill;
    }
    std::uint32_t At(int x, int y) const {
        ::GdiFlush();
        return bits[y * w + x] & 0xFFFFFF;
    }
    int w, h;
    TGdiBitmap bitmap;
    std::uint32_t* bits = nullptr;
};

// Selects a bitmap into a fresh memory DC for the guard's lifetime.
struct TSelected {
    explicit TSelected(HBITMAP b) : dc(::CreateCompatibleDC(nullptr)) { old = ::SelectObject(dc.Get(), b); }
    ~TSelected() { ::SelectObject(dc.Get(), old); }
    TDCHandle dc;
    HGDIOBJ old;
};

TEST(EffectBitmap, RowsArePaddedToFourBytes) {
    struct Case {
        int w;
        std::ptrdiff_t row;
    };
    for (const Case c : {Case{1, 4}, Case{2, 8}, Case{3, 12}, Case{4, 12}, Case{5, 16}}) {
        TbsEffectBmp b(c.w, 3);
        EXPECT_EQ(b.RowLength(), c.row) << c.w;
        EXPECT_EQ(b.Size(), std::size_t(c.row) * 3);
        EXPECT_EQ(b.BmpHeader().biHeight, -3);
        EXPECT_EQ(b.BmpHeader().biBitCount, 24);
        ASSERT_NE(b.Bits(), nullptr);
        for (std::size_t i = 0; i < b.Size(); ++i)
            ASSERT_EQ(b.Bits()[i], 0);
    }
    TbsEffectBmp b(3, 2);
    b.SetPixel(2, 1, 0x00112233);
    EXPECT_EQ(b.GetLine(1)[6], 0x33);  // blue first
    EXPECT_EQ(b.GetLine(1)[8], 0x11);
    EXPECT_EQ(b.GetPixel(2, 1), 0x112233u);
    EXPECT_EQ(b.GetPixel(3, 1), 0u);  // outside
    std::uint8_t line[9] = {};
    b.GetScanLine(1, line);
    EXPECT_EQ(line[7], 0x22);
    line[0] = 0x44;
    b.SetLine(0, line);
    EXPECT_EQ(b.GetPixel(0, 0), 0x000044u);
}

TEST(EffectBitmap, FailedCreationIsEmptyAndInert) {
    TbsEffectBmp huge(100000, 100000);
    EXPECT_EQ(huge.Bits(), nullptr);
    EXPECT_EQ(huge.Width(), 0);
    EXPECT_EQ(huge.Height(), 0);
    TbsEffectBmp other(4, 4);
    huge.Morph(&other, 0.5);
    huge.GrayScale();
    huge.SplitBlur(3);
    huge.Rotate90_1(&other);
    other.Morph(&huge, 0.5);
    other.Morph(nullptr, 0.5);
    other.Resize(&huge);
    huge.SetPixel(0, 0, 1);
    EXPECT_EQ(huge.GetPixel(0, 0), 0u);
    huge.Draw(nullptr, 0, 0);
    auto copy = TbsEffectBmp::CreateCopy(huge);
    EXPECT_EQ(copy->Bits(), nullptr);
}

TEST(EffectBitmap, FromASystemBitmapAndBack) {
    TDib32 source(3, 2, 0x000000);
    source.bits[0] = 0x00FF0000;
    source.bits[2] = 0x00123456;
    source.bits[4] = 0x0000FF00;
    auto b = TbsEffectBmp::CreateFromhWnd(source.bitmap.Get());
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->Width(), 3);
    ASSERT_EQ(b->Height(), 2);
    EXPECT_EQ(b->GetPixel(0, 0), 0xFF0000u);
    EXPECT_EQ(b->GetPixel(2, 0), 0x123456u);
    EXPECT_EQ(b->GetPixel(1, 1), 0x00FF00u);
    EXPECT_EQ(TbsEffectBmp::CreateFromhWnd(nullptr), nullptr);

    auto copy = TbsEffectBmp::CreateCopy(*b);
    ASSERT_EQ(copy->Size(), b->Size());
    EXPECT_EQ(std::vector<std::uint8_t>(copy->Bits(), copy->Bits() + copy->Size()),
              std::vector<std::uint8_t>(b->Bits(), b->Bits() + b->Size()));

    TDib32 target(5, 4, 0x777777);
    {
        TSelected sel(target.bitmap.Get());
        b->Draw(sel.dc.Get(), 1, 1);
    }
    EXPECT_EQ(target.At(0, 0), 0x777777u);
    EXPECT_EQ(target.At(1, 1), 0xFF0000u);
    EXPECT_EQ(target.At(3, 1), 0x123456u);
    EXPECT_EQ(target.At(2, 2), 0x00FF00u);
    EXPECT_EQ(target.At(4, 3), 0x777777u);

    TDib32 big(6, 4, 0x777777);
    {
        TSelected sel(big.bitmap.Get());
        b->Stretch(sel.dc.Get(), 0, 0, 6, 4);
    }
    EXPECT_EQ(big.At(1, 1), 0xFF0000u);
    EXPECT_EQ(big.At(5, 0), 0x123456u);
    EXPECT_EQ(big.At(3, 3), 0x00FF00u);
}

TEST(EffectBitmap, DrawRectCopiesARectangleUpright) {
    TbsEffectBmp b(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            b.SetPixel(x, y, std::uint32_t(0x100000 * (y + 1) + x + 1));
    TDib32 target(4, 4, 0);
    {
        TSelected sel(target.bitmap.Get());
        b.DrawRect(sel.dc.Get(), 0, 0, 1, 1, 2, 2);
    }
    EXPECT_EQ(target.At(0, 0), 0x200002u);
    EXPECT_EQ(target.At(1, 0), 0x200003u);
    EXPECT_EQ(target.At(0, 1), 0x300002u);
    EXPECT_EQ(target.At(1, 1), 0x300003u);
    EXPECT_EQ(target.At(2, 2), 0u);
    EXPECT_EQ(target.At(0, 2), 0u);
}

TEST(EffectBitmap, MaskFillColorResolvesSystemColours) {
    TbsEffectBmp img(1, 1), mask(1, 1);
    img.MaskFillColor(&mask, 0xFF000000u | COLOR_WINDOW, 1);
    const COLORREF c = ::GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(img.GetPixel(0, 0), std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c));
    TbsEffectBmp red(1, 1);
    red.MaskFillColor(&mask, 0x000000FF, 1);  // class-library red
    EXPECT_EQ(red.GetPixel(0, 0), 0xFF0000u);
}

TEST(EffectBitmap, TransitionsThroughTheClass) {
    TbsEffectBmp a(2, 2), b(2, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            b.SetPixel(x, y, 0xFFFFFF);
    a.Morph(&b, 0.5);
    EXPECT_EQ(a.GetPixel(1, 1), 0x808080u);
    TbsEffectBmp rotated(2, 2);
    a.SetPixel(1, 0, 0x010203);
    a.Rotate90_2(&rotated);
    EXPECT_EQ(rotated.GetPixel(1, 1), 0x010203u);
}

TEST(BitmapEffects, BlurMakesOpaqueAndAlphaComesFromTheMask) {
    TbsBitmap bmp, mask;
    bmp.SetSize(4, 3);
    bmp.Clear(0x00336699);
    Blur(&bmp, 0);
    EXPECT_EQ(bmp.GetPixel(2, 2), 0x00336699u);
    Blur(&bmp, 1);
    EXPECT_EQ(bmp.GetPixel(2, 2), 0xFF336699u);

    mask.SetSize(4, 3);
    mask.Clear(0x00000000);
    mask.SetPixel(1, 1, 0x001F140A);
    CreateAlphaByMask(&bmp, &mask);
    EXPECT_EQ(bmp.GetPixel(1, 1), 0x14336699u);
    EXPECT_EQ(bmp.GetPixel(0, 0), 0x00336699u);
    mask.Clear(0x00FFFFFF);
    CreateAlphaByMask2(&bmp, &mask);
    EXPECT_EQ(bmp.GetPixel(3, 2), 0xFF336699u);
    CreateAlphaByMask(&bmp, nullptr);
    Blur(nullptr, 3);
}

}  // namespace
