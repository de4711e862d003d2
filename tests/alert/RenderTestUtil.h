// A memory canvas for the renderer tests and GDI measurements to compare its layout with.
#pragma once

#include <windows.h>

#include <string>

#include "alert/HtmlRender.h"
#include "classlib/Graphics.h"

// A 32-bit bitmap canvas of w x h, white, with the test font (Tahoma, height 13 unless given).
class RenderCanvas {
  public:
    RenderCanvas(int w = 400, int h = 300, int fontHeight = 13) : bmp_(w, h, pf32bit) {
        bmp_.Canvas()->Brush()->SetColor(clWhite);
        bmp_.Canvas()->FillRect({0, 0, w, h});
        bmp_.Canvas()->Font()->SetName(L"Tahoma");
        bmp_.Canvas()->Font()->SetHeight(fontHeight);
        bmp_.Canvas()->Font()->SetColor(clBlack);
    }
    TCanvas* Canvas() { return bmp_.Canvas(); }
    TBitmap& Bitmap() { return bmp_; }

    // DrawText width of s in the canvas font with the given weight and prefix handling.
    int Width(const std::wstring& s, bool bold = false, bool noPrefix = false, int height = 0) {
        return Measure(s, bold, noPrefix, height).cx;
    }
    int Height(const std::wstring& s, bool bold = false, int height = 0) { return Measure(s, bold, false, height).cy; }
    TSize Measure(const std::wstring& s, bool bold, bool noPrefix, int height) {
        TFont f;
        f.Assign(Canvas()->Font());
        if (height)
            f.SetHeight(height);
        if (bold)
            f.SetStyle({fsBold});
        HDC dc = Canvas()->Handle();
        HGDIOBJ old = SelectObject(dc, f.Handle());
        RECT r{0, 0, 0, 0};
        std::wstring buf = s;
        DrawTextExW(dc, buf.data(), static_cast<int>(buf.size()), &r,
                    DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING | (noPrefix ? DT_NOPREFIX : 0),
                    nullptr);
        SelectObject(dc, old);
        Canvas()->Refresh();
        return {static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
    }

  private:
    TBitmap bmp_;
};
