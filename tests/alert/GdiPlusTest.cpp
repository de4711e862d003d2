// The GDI+ class layer against the real gdiplus.dll.
#include <gtest/gtest.h>

#include "PictureTestUtil.h"
#include "alert/GdiPlus.h"

namespace {

TGPImageFormat FormatOf(const std::string& bytes) {
    IStream* s = MemStream(bytes);
    auto* image = new TGPImage(s);
    const TGPImageFormat f = image->GetFormat();
    delete image;
    s->Release();
    return f;
}

TEST(GdiPlus, ObjectsStartGdiplusAndAreCounted) {
    const long before = GdiplusLiveObjects();
    auto* m = new TGPMatrix();
    EXPECT_TRUE(GdiplusStarted());
    EXPECT_EQ(GdiplusLiveObjects(), before + 1);
    EXPECT_TRUE(m->IsIdentity());
    m->Translate(3, 4);
    EXPECT_FLOAT_EQ(m->OffsetX(), 3);
    EXPECT_FLOAT_EQ(m->OffsetY(), 4);
    delete m;
    EXPECT_EQ(GdiplusLiveObjects(), before);
}

TEST(GdiPlus, FormatsByGuid) {
    EXPECT_EQ(FormatOf(RedPng()), ifPNG);
    EXPECT_EQ(FormatOf(BmpBytes(3, 3)), ifBMP);
    EXPECT_EQ(FormatOf(GifWithFrames({5})), ifGIF);
}

TEST(GdiPlus, FailedLoadThenLastStatusIsReadOnce) {
    IStream* s = MemStream("definitely not an image");
    auto* image = new TGPImage(s);
    EXPECT_NE(image->LoadStatus(), Gdiplus::Ok);
    EXPECT_EQ(image->GetFormat(), ifUndefined);
    EXPECT_EQ(image->GetWidth(), 0u);
    EXPECT_NE(image->GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok);
    delete image;
    s->Release();
}

TEST(GdiPlus, DrawImageRectOfARedPngIntoADib) {
    TBitmap dib(20, 20, pf24bit);
    dib.Canvas()->Brush()->SetColor(clWhite);
    dib.Canvas()->FillRect({0, 0, 20, 20});
    IStream* s = MemStream(RedPng());
    auto* image = new TGPImage(s);
    ASSERT_EQ(image->LoadStatus(), Gdiplus::Ok);
    EXPECT_EQ(image->GetWidth(), 4u);
    EXPECT_EQ(image->GetHeight(), 3u);
    auto* g = new TGPGraphics(dib.Canvas()->Handle());
    EXPECT_EQ(g->DrawImageRect(image, 4, 5, 8, 6), Gdiplus::Ok);
    g->Flush();
    delete g;
    delete image;
    s->Release();
    EXPECT_EQ(BitmapPixel(dib, 7, 7), clRed);
    EXPECT_EQ(BitmapPixel(dib, 2, 2), clWhite);
    EXPECT_EQ(BitmapPixel(dib, 15, 15), clWhite);
}

TEST(GdiPlus, BrushesPensAndPathsFillPixels) {
    TBitmap dib(30, 30, pf24bit);
    dib.Canvas()->Brush()->SetColor(clWhite);
    dib.Canvas()->FillRect({0, 0, 30, 30});
    auto* g = new TGPGraphics(dib.Canvas()->Handle());
    auto* brush = new TGPSolidBrush(GdiplusArgb(clBlue));
    auto* path = new TGPGraphicsPath();
    path->AddRectangle(Gdiplus::Rect(2, 2, 10, 10));
    EXPECT_EQ(path->GetPointCount(), 4);
    EXPECT_EQ(g->FillPath(brush, path), Gdiplus::Ok);
    auto* pen = new TGPPen(GdiplusArgb(clRed), 1.0f);
    EXPECT_EQ(pen->GetPenType(), Gdiplus::PenTypeSolidColor);
    EXPECT_EQ(g->DrawLine(pen, 20, 0, 20, 29), Gdiplus::Ok);
    g->Flush();
    delete pen;
    delete path;
    delete brush;
    delete g;
    EXPECT_EQ(BitmapPixel(dib, 6, 6), clBlue);
    EXPECT_EQ(BitmapPixel(dib, 20, 15), clRed);
    EXPECT_EQ(GdiplusArgb(clRed), 0xFFFF0000u);
}

TEST(GdiPlus, TextMeasuresInAFaceGdiplusKnows) {
    // GDI+ sees only the installed TrueType families (Wine's substitutes such as Tahoma are GDI's alone).
    std::wstring face;
    for (const wchar_t* candidate : {L"Arial", L"Liberation Sans", L"DejaVu Sans"}) {
        auto* family = new TGPFontFamily(candidate);
        const bool ok = family->GetLastStatus() == Gdiplus::Ok;
        delete family;
        if (ok) {
            face = candidate;
            break;
        }
    }
    if (face.empty())
        GTEST_SKIP() << "no TrueType family for GDI+";
    HDC dc = CreateCompatibleDC(nullptr);
    auto* g = new TGPGraphics(dc);
    TFont font;
    font.SetName(face);
    font.SetSize(10);
    const int hello = g->TextWidth(L"Hello", &font), hi = g->TextWidth(L"Hi", &font);
    EXPECT_GT(hi, 0);
    EXPECT_GT(hello, hi);
    EXPECT_GT(g->TextHeight(L"Hello", &font), 5);
    TRect r{10, 10, 20, 60};
    EXPECT_GT(g->DrawText(L"Hello", 5, clNone, 0x400, &font, r), 5);
    EXPECT_EQ(r.Left, 10);
    EXPECT_GT(r.Right, 10);
    delete g;
    DeleteDC(dc);
}

}  // namespace
