// Pictures: GIF frame bookkeeping, sizes through GDI+, RES:// and FILE:// sources, refused UNC sources, drawing.
#include <gtest/gtest.h>

#include "PictureTestUtil.h"
#include "TestFiles.h"
#include "alert/HtmlPicture.h"
#include "base/ComPtr.h"
#include "base/Handles.h"

namespace {

TEST(HtmlPicture, GifFramesAndDelays) {
    THTMLPicture pic;
    pic.LoadFromBytes(GifWithFrames({10, 20, 30}));
    ASSERT_FALSE(pic.Empty());
    EXPECT_TRUE(pic.IsGIF());
    EXPECT_EQ(pic.FrameCount(), 3);
    EXPECT_EQ(pic.FrameTime(1), 10);
    EXPECT_EQ(pic.FrameTime(2), 20);
    EXPECT_EQ(pic.FrameTime(3), 30);
    EXPECT_EQ(pic.FrameTime(4), -1);
    EXPECT_EQ(pic.Width(), 4);
    EXPECT_EQ(pic.Height(), 3);
    pic.SetFrame(3);
    EXPECT_EQ(pic.FrameXPos(), 2);
    pic.FrameNext();
    EXPECT_EQ(pic.Frame(), 1);
    pic.FramePrev();
    EXPECT_EQ(pic.Frame(), 3);
}

TEST(HtmlPicture, AnimationStepsAtTheFrameDelays) {
    THTMLPicture pic;
    pic.LoadFromBytes(GifWithFrames({20, 10}));
    int changes = 0, firstChange = -1;
    for (int tick = 0; tick < 4; ++tick)
        if (pic.Step()) {
            ++changes;
            if (firstChange < 0)
                firstChange = tick;
        }
    // The tick count starts at -1: the first frame's 20 hundredths are reached at the fourth call.
    EXPECT_EQ(firstChange, 3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pic.Frame(), 2);
}

TEST(HtmlPicture, TruncatedGifCountsOnlyWholeDescriptors) {
    const std::string whole = GifWithFrames({10, 20, 30});
    const size_t lastDescriptor = whole.rfind('\x2c');
    for (size_t cut = lastDescriptor - 8; cut < lastDescriptor + 10; ++cut) {
        const std::string part = whole.substr(0, cut);
        EXPECT_EQ(GifFrameCount(part), 2) << cut;
        TGifFrameInfo info;
        EXPECT_FALSE(GifFrameAt(part, 3, info)) << cut;
    }
    EXPECT_EQ(GifFrameCount(whole.substr(0, lastDescriptor + 10)), 3);
    THTMLPicture pic;
    pic.LoadFromBytes(whole.substr(0, lastDescriptor + 3));
    EXPECT_EQ(pic.FrameCount(), 2);
    EXPECT_EQ(GifFrameCount("GIF8"), -1);  // too short to be a GIF
    EXPECT_EQ(GifFrameCount("\x89PNG"), -1);
}

TEST(HtmlPicture, PngAndBmpSizes) {
    THTMLPicture png;
    png.LoadFromBytes(RedPng());
    EXPECT_EQ(png.Width(), 4);
    EXPECT_EQ(png.Height(), 3);
    EXPECT_EQ(png.FrameCount(), -1);
    THTMLPicture bmp;
    bmp.LoadFromBytes(BmpBytes(5, 7));
    EXPECT_EQ(bmp.Width(), 5);
    EXPECT_EQ(bmp.Height(), 7);
    THTMLPicture junk;
    junk.LoadFromBytes("not a picture");
    EXPECT_EQ(junk.Width(), 0);
}

TEST(HtmlPicture, ResourceUrlInAnyCase) {
    THTMLPicture pic;
    pic.LoadFromURL(L"rEs://TESTPNG");
    EXPECT_FALSE(pic.Empty());
    EXPECT_EQ(pic.Width(), 4);
    EXPECT_EQ(pic.ID(), L"rEs://TESTPNG");
    THTMLPicture missing;
    missing.LoadFromURL(L"RES://NOSUCHPICTURE");
    EXPECT_TRUE(missing.Empty());
}

TEST(HtmlPicture, FileUrlAndRefusedNetworkSources) {
    trelm_test::TTempDir dir;
    const std::wstring path = dir.Path() + L"\\pic.bmp";
    const std::string bytes = BmpBytes(6, 2);
    SaveBytesToFileSafely(path, bytes.data(), bytes.size());
    THTMLPicture pic;
    pic.LoadFromURL(L"FILE://" + path);
    EXPECT_FALSE(pic.Empty());
    EXPECT_EQ(pic.Width(), 6);
    for (const wchar_t* url :
         {L"file://\\\\127.0.0.1\\share\\pic.bmp", L"FILE:////127.0.0.1/share/pic.bmp", L"http://127.0.0.1/pic.png",
          L"file://"
          L"C:\\no\\such\\file.png"}) {
        THTMLPicture p;
        p.LoadFromURL(url);
        EXPECT_TRUE(p.Empty()) << url;
        EXPECT_EQ(p.ID(), url);
    }
    EXPECT_FALSE(IsLocalPictureSource(L"\\\\server\\x"));
    EXPECT_FALSE(IsLocalPictureSource(L"//server/x"));
    EXPECT_FALSE(IsLocalPictureSource(L"/\\server\\x"));
    EXPECT_TRUE(IsLocalPictureSource(L"C:\\x.png"));
}

TEST(HtmlPicture, ContainerIgnoresCaseCacheComparesExactly) {
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->Name = L"Logo";
    EXPECT_EQ(container.FindPicture(L"LOGO"), item->Picture());
    EXPECT_EQ(container.FindPicture(L"other"), nullptr);
    THTMLPictureCache cache;
    THTMLPicture* p = cache.AddPicture();
    p->LoadFromURL(L"res://TESTPNG");
    EXPECT_EQ(cache.FindPicture(L"res://TESTPNG"), p);
    EXPECT_EQ(cache.FindPicture(L"RES://TESTPNG"), nullptr);
}

TEST(HtmlPicture, BmpDrawsWithBottomLeftTransparentPngScaled) {
    TBitmap target(20, 20, pf24bit);
    target.Canvas()->Brush()->SetColor(clLime);
    target.Canvas()->FillRect({0, 0, 20, 20});
    THTMLPicture bmp;
    bmp.LoadFromBytes(BmpBytes(4, 4, clRed, clBlue));
    target.Canvas()->StretchDraw({0, 0, 4, 4}, &bmp);
    EXPECT_EQ(BitmapPixel(target, 0, 3), clLime);  // the bottom-left colour is see-through
    EXPECT_EQ(BitmapPixel(target, 0, 0), clBlue);
    EXPECT_EQ(BitmapPixel(target, 2, 2), clWhite);
    THTMLPicture png;
    png.LoadFromBytes(RedPng());
    target.Canvas()->StretchDraw({10, 10, 18, 16}, &png);
    EXPECT_EQ(BitmapPixel(target, 13, 13), clRed);
    EXPECT_EQ(BitmapPixel(target, 19, 19), clLime);
}

TEST(HtmlPicture, LoadingAndDrawingLeaveNoHandlesBehind) {
    TBitmap target(20, 20, pf24bit);
    const auto loadAndDraw = [&](int i) {
        THTMLPicture pic;
        pic.LoadFromBytes(i % 3 == 0 ? BmpBytes(4, 4, clRed, clBlue) : i % 3 == 1 ? RedPng() : "not a picture");
        target.Canvas()->StretchDraw({0, 0, 8, 8}, &pic);
    };
    // Once of each kind first: the target's canvas makes its own objects on first use.
    for (int i = 0; i < 3; ++i)
        loadAndDraw(i);
    const long before = LiveHandleCount(), streams = LiveComPointerCount();
    for (int i = 0; i < 30; ++i)
        loadAndDraw(i);
    EXPECT_EQ(LiveHandleCount(), before);
    EXPECT_EQ(LiveComPointerCount(), streams);
}

}  // namespace
