// Canvas drawing into a DIB, read back pixel for pixel; font/pen/brush selection; clip save and restore;
// handle wrappers and the live-handle count.
#include <gtest/gtest.h>

#include "GraphicsTestUtil.h"
#include "classlib/GdiHandles.h"
#include "classlib/Graphics.h"

namespace {

TEST(GraphicsCanvas, FillRectFrameRectAndRectangleTable) {
    struct Case {
        const char* name;
        void (*draw)(TCanvas*);
        std::vector<std::pair<TPoint, TColor>> expect;
    };
    const Case cases[] = {
        {"fill",
         [](TCanvas* c) {
             c->Brush()->SetColor(clRed);
             c->FillRect(Rect(2, 3, 10, 8));
         },
         {{{2, 3}, clRed}, {{9, 7}, clRed}, {{10, 7}, clWhite}, {{9, 8}, clWhite}, {{1, 3}, clWhite}}},
        {"frame",
         [](TCanvas* c) {
             c->Brush()->SetColor(clBlue);
             c->FrameRect(Rect(5, 5, 15, 12));
         },
         {{{5, 5}, clBlue},
          {{14, 11}, clBlue},
          {{10, 5}, clBlue},
          {{5, 8}, clBlue},
          {{10, 8}, clWhite},
          {{15, 11}, clWhite}}},
        {"rectangle",
         [](TCanvas* c) {
             c->Pen()->SetColor(clBlack);
             c->Brush()->SetColor(clYellow);
             c->Rectangle(Rect(1, 1, 9, 9));
         },
         {{{1, 1}, clBlack}, {{8, 8}, clBlack}, {{4, 4}, clYellow}, {{9, 9}, clWhite}}},
        {"line excludes its end point",
         [](TCanvas* c) {
             c->Pen()->SetColor(clLime);
             c->MoveTo(0, 20);
             c->LineTo(10, 20);
         },
         {{{0, 20}, clLime}, {{9, 20}, clLime}, {{10, 20}, clWhite}, {{5, 21}, clWhite}}},
        {"polyline",
         [](TCanvas* c) {
             c->Pen()->SetColor(clNavy);
             c->Polyline({{0, 0}, {5, 0}, {5, 5}});
         },
         {{{2, 0}, clNavy}, {{5, 2}, clNavy}, {{5, 5}, clWhite}}},
        {"pixels", [](TCanvas* c) { c->SetPixel(7, 7, clPurple); }, {{{7, 7}, clPurple}, {{8, 7}, clWhite}}},
        {"system colour resolved",
         [](TCanvas* c) {
             c->Brush()->SetColor(clBtnShadow);
             c->FillRect(Rect(0, 0, 2, 2));
         },
         {{{1, 1}, ColorToRGB(clBtnShadow)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap bmp;
        PrepareBitmap(bmp, 40, 30, clWhite);
        c.draw(bmp.Canvas());
        for (const auto& [p, color] : c.expect)
            EXPECT_EQ(PixelAt(bmp, p.X, p.Y), color) << p.X << "," << p.Y;
        // The canvas reads the same colour back through the DC.
        EXPECT_EQ(bmp.Canvas()->Pixels(c.expect[0].first.X, c.expect[0].first.Y), c.expect[0].second);
    }
}

TEST(GraphicsCanvas, TextStaysWithinItsMeasuredExtent) {
    TBitmap bmp;
    PrepareBitmap(bmp, 200, 60, clWhite);
    TCanvas* c = bmp.Canvas();
    c->Font()->SetColor(clBlack);
    c->Font()->SetHeight(-16);
    c->Brush()->SetStyle(bsClear);
    const std::wstring text = L"Wg|jQ";
    const int w = c->TextWidth(text), h = c->TextHeight(text);
    ASSERT_GT(w, 10);
    ASSERT_GT(h, 10);
    c->TextOut(20, 10, text);
    TRect area = ChangedArea(bmp, clWhite);
    ASSERT_FALSE(area.IsEmpty()) << "no text pixels";
    EXPECT_GE(area.Left, 20);
    EXPECT_GE(area.Top, 10);
    EXPECT_LE(area.Right, 20 + w);
    EXPECT_LE(area.Bottom, 10 + h);
    EXPECT_EQ(c->PenPos(), Point(20 + w, 10));
    // A bigger font measures bigger, through a new handle selected in place of the old.
    c->Font()->SetHeight(-30);
    EXPECT_GT(c->TextHeight(text), h);
    c->Font()->SetStyle({fsBold});
    EXPECT_GT(c->TextWidth(L"WWWW"), 0);
}

TEST(GraphicsCanvas, OpaqueTextFillsItsBackgroundAndTextRectClips) {
    TBitmap bmp;
    PrepareBitmap(bmp, 200, 40, clWhite);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clAqua);
    c->Font()->SetColor(clRed);
    c->TextOut(0, 0, L"Mail");
    EXPECT_EQ(PixelAt(bmp, 0, 0), clAqua);  // the cell background is the brush
    PrepareBitmap(bmp, 200, 40, clWhite);
    c->Brush()->SetStyle(bsClear);
    c->TextRect(Rect(10, 5, 30, 25), 10, 5, L"A long text that does not fit");
    TRect area = ChangedArea(bmp, clWhite);
    ASSERT_FALSE(area.IsEmpty());
    EXPECT_GE(area.Left, 10);
    EXPECT_LE(area.Right, 30);
    EXPECT_LE(area.Bottom, 25);
    TRect r = Rect(0, 0, 1000, 0);
    int height = c->DrawText(L"line", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), c->TextWidth(L"line"));
    EXPECT_EQ(height, c->TextHeight(L"line"));
}

TEST(GraphicsCanvas, ClipIsSavedAndRestored) {
    TBitmap bmp;
    PrepareBitmap(bmp, 20, 20, clWhite);
    TCanvas* c = bmp.Canvas();
    c->SetClipRect(Rect(0, 0, 15, 15));
    {
        TCanvasClipGuard guard(c);
        c->ClipTo(Rect(5, 5, 10, 10));
        EXPECT_EQ(c->ClipRect(), Rect(5, 5, 10, 10));
        c->Brush()->SetColor(clRed);
        c->FillRect(Rect(0, 0, 20, 20));
    }
    EXPECT_EQ(ChangedArea(bmp, clWhite), Rect(5, 5, 10, 10));
    EXPECT_EQ(c->ClipRect(), Rect(0, 0, 15, 15));  // the outer clip is back
    c->Brush()->SetColor(clBlue);
    c->FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(PixelAt(bmp, 14, 14), clBlue);
    EXPECT_EQ(PixelAt(bmp, 15, 15), clWhite);
    {
        TCanvasClipGuard guard(c);
        c->SetClipRegion(nullptr);
        c->FillRect(Rect(0, 0, 20, 20));
    }
    EXPECT_EQ(PixelAt(bmp, 19, 19), clBlue);
    c->ExcludeClip(Rect(0, 0, 15, 15));
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(PixelAt(bmp, 0, 0), clBlue);  // nothing left to draw into inside the old clip
}

TEST(GraphicsCanvas, XorPenUndoesItself) {
    TBitmap bmp;
    PrepareBitmap(bmp, 10, 10, clSilver);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(0, 5);
    c->LineTo(10, 5);
    EXPECT_EQ(PixelAt(bmp, 3, 5), clSilver ^ clWhite);
    c->MoveTo(0, 5);
    c->LineTo(10, 5);
    EXPECT_EQ(PixelAt(bmp, 3, 5), clSilver);
}

TEST(GraphicsCanvas, CopyRectStretchesBetweenCanvases) {
    TBitmap src, dst;
    PrepareBitmap(src, 4, 4, clWhite);
    src.Canvas()->Brush()->SetColor(clRed);
    src.Canvas()->FillRect(Rect(0, 0, 2, 4));
    PrepareBitmap(dst, 8, 8, clBlack);
    dst.Canvas()->CopyRect(Rect(0, 0, 8, 8), src.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(PixelAt(dst, 0, 7), clRed);
    EXPECT_EQ(PixelAt(dst, 3, 0), clRed);
    EXPECT_EQ(PixelAt(dst, 4, 0), clWhite);
    EXPECT_EQ(PixelAt(dst, 7, 7), clWhite);
}

TEST(GraphicsCanvas, BorrowedDCGetsItsObjectsBack) {
    TMemoryDC dc(nullptr);
    TBitmap surface(10, 10);
    TGdiBitmap copy(surface.ReleaseHandle());
    dc.Select(copy.Get());
    HGDIOBJ originalFont = ::GetCurrentObject(dc, OBJ_FONT);
    HGDIOBJ originalBrush = ::GetCurrentObject(dc, OBJ_BRUSH);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Brush()->SetColor(clGreen);
        canvas.FillRect(Rect(0, 0, 5, 5));
        canvas.TextOut(0, 0, L"x");
        EXPECT_NE(::GetCurrentObject(dc, OBJ_FONT), originalFont);
        canvas.SetHandle(nullptr);
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), originalFont);
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), originalBrush);
        EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
        canvas.SetHandle(dc);
        canvas.Pen()->SetWidth(3);
        canvas.LineTo(3, 3);
    }  // the destructor deselects as well
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), originalFont);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_PEN), ::GetStockObject(BLACK_PEN));
}

TEST(GraphicsCanvas, CreatePaintDestroyLoopLeavesNoHandles) {
    const long start = LiveHandleCount();
    for (int i = 0; i < 40; ++i) {
        TBitmap bmp(32 + i, 16, i % 2 ? pf24bit : pf32bit);
        TCanvas* c = bmp.Canvas();
        c->Font()->SetHeight(-10 - i % 5);
        c->Font()->SetStyle(i % 3 ? TFontStyles{fsBold} : TFontStyles{fsItalic, fsUnderline});
        c->Brush()->SetColor(RGBColor(static_cast<std::uint8_t>(i), 0, 0));
        c->Brush()->SetStyle(i % 4 == 0 ? bsCross : bsSolid);
        c->Pen()->SetWidth(1 + i % 3);
        c->FillRect(Rect(0, 0, 10, 10));
        c->Rectangle(2, 2, 12, 12);
        c->TextOut(1, 1, L"handles");
        TBitmap copy;
        copy.Assign(&bmp);
        copy.SetSize(8, 8);
        bmp.Canvas()->Draw(0, 0, &copy);
        TClientDC screen(nullptr);
        TMemoryDC mem(screen);
        TGdiRegion region(::CreateRectRgn(0, 0, 5, 5));
        TCanvasClipGuard guard(c);
        c->SetClipRegion(region.Get());
        EXPECT_GT(LiveHandleCount(), start);
    }
    EXPECT_EQ(LiveHandleCount(), start);
}

TEST(GraphicsCanvas, HandleOwnersMoveResetAndDetach) {
    const long start = LiveHandleCount(THandleKind::Gdi);
    TGdiBrush a(::CreateSolidBrush(RGB(1, 2, 3)));
    EXPECT_EQ(LiveHandleCount(THandleKind::Gdi), start + 1);
    TGdiBrush b(std::move(a));
    EXPECT_FALSE(a.Valid());
    EXPECT_EQ(LiveHandleCount(THandleKind::Gdi), start + 1);
    b.Reset(::CreateSolidBrush(RGB(4, 5, 6)));  // the first brush is deleted
    EXPECT_EQ(LiveHandleCount(THandleKind::Gdi), start + 1);
    HBRUSH raw = b.Detach();
    EXPECT_EQ(LiveHandleCount(THandleKind::Gdi), start);
    EXPECT_TRUE(::DeleteObject(raw));  // still alive: Detach gave it up without deleting
    {
        TGdiPen pen(::CreatePen(PS_SOLID, 1, 0));
        TGdiRegion rgn(::CreateRectRgn(0, 0, 1, 1));
        EXPECT_EQ(LiveHandleCount(THandleKind::Gdi), start + 2);
    }
    EXPECT_EQ(LiveHandleCount(THandleKind::Gdi), start);
    const long dcStart = LiveHandleCount(THandleKind::DC);
    {
        TClientDC screen(nullptr);
        TMemoryDC mem(screen);
        TMemoryDC moved(std::move(mem));
        EXPECT_EQ(LiveHandleCount(THandleKind::DC), dcStart + 2);
        EXPECT_EQ(mem.Get(), nullptr);
        TGdiBitmap bm(::CreateCompatibleBitmap(screen, 4, 4));
        moved.Select(bm.Get());
        {
            TSaveDCGuard save(moved);
            TSelectObjectGuard sel(moved, ::GetStockObject(BLACK_BRUSH));
            EXPECT_EQ(::GetCurrentObject(moved, OBJ_BRUSH), ::GetStockObject(BLACK_BRUSH));
        }
        EXPECT_NE(::GetCurrentObject(moved, OBJ_BRUSH), ::GetStockObject(BLACK_BRUSH));
    }
    EXPECT_EQ(LiveHandleCount(THandleKind::DC), dcStart);
    const long kernelStart = LiveHandleCount(THandleKind::Kernel);
    const long iconStart = LiveHandleCount(THandleKind::Icon);
    {
        TKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        TFileHandle none(INVALID_HANDLE_VALUE);
        EXPECT_FALSE(none.Valid());
        EXPECT_EQ(LiveHandleCount(THandleKind::Kernel), kernelStart + 1);
        const BYTE andMask[4] = {0, 0, 0, 0}, xorMask[4] = {0xFF, 0xFF, 0xFF, 0xFF};
        TIconHandle icon(::CreateIcon(nullptr, 1, 1, 1, 1, andMask, xorMask));
        ASSERT_TRUE(icon.Valid());
        EXPECT_EQ(LiveHandleCount(THandleKind::Icon), iconStart + 1);
    }
    EXPECT_EQ(LiveHandleCount(THandleKind::Icon), iconStart);
    EXPECT_EQ(LiveHandleCount(THandleKind::Kernel), kernelStart);
}

TEST(GraphicsCanvas, FontPropertiesAndChangeEvents) {
    TFont f;
    EXPECT_EQ(f.Name(), L"Tahoma");
    EXPECT_EQ(f.Height(), 13);
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -::MulDiv(10, f.PixelsPerInch(), 72));
    EXPECT_EQ(f.Size(), 10);
    f.SetStyle({fsBold, fsItalic});
    f.SetColor(clRed);
    f.SetColor(clRed);  // no change, no event
    EXPECT_EQ(changes, 3);
    LOGFONTW lf{};
    ASSERT_EQ(::GetObjectW(f.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(std::wstring(lf.lfFaceName), L"Tahoma");
    TFont g;
    g.Assign(&f);
    EXPECT_TRUE(g == f);
    TFont h;
    h.SetHandle(f.Handle());
    EXPECT_EQ(h.Height(), f.Height());
    EXPECT_TRUE(h.Style().Contains(fsItalic));
    TBrush brush;
    brush.SetStyle(bsClear);
    EXPECT_EQ(brush.Handle(), ::GetStockObject(NULL_BRUSH));
    brush.SetColor(clRed);
    EXPECT_EQ(brush.Style(), bsSolid);
}

RECT gSeenPaintRect;
int gPaints;

LRESULT CALLBACK PaintRectProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        TPaintDC paint(hwnd);
        gSeenPaintRect = paint.PaintStruct().rcPaint;
        ++gPaints;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The paint scope must hand out the rectangle BeginPaint reported: double-buffered painting copies only it.
TEST(GdiHandles, PaintDCKeepsThePaintRectangle) {
    RECT& seen = gSeenPaintRect;
    int& paints = gPaints;
    seen = RECT{};
    paints = 0;
    WNDCLASSW wc{};
    wc.lpfnWndProc = PaintRectProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TrelmPaintDCTest";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80, nullptr, nullptr,
                                wc.hInstance, nullptr);
    ASSERT_NE(hwnd, nullptr);
    UpdateWindow(hwnd);
    const RECT dirty{10, 20, 30, 40};
    InvalidateRect(hwnd, &dirty, FALSE);
    paints = 0;
    UpdateWindow(hwnd);
    DestroyWindow(hwnd);
    ASSERT_EQ(paints, 1);
    EXPECT_EQ(seen.left, 10);
    EXPECT_EQ(seen.top, 20);
    EXPECT_EQ(seen.right, 30);
    EXPECT_EQ(seen.bottom, 40);
}

}  // namespace
