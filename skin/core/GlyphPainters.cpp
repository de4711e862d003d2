#include "skin/core/GlyphPainters.h"

#include <functional>

#include "classlib/Forms.h"
#include "classlib/GdiHandles.h"
#include "skin/core/EffectBitmap.h"
#include "skin/core/PngImageList.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinText.h"

void CalcLCoord(TbsButtonLayout Layout,
                const TRect& R,
                int GlyphWidth,
                int GlyphHeight,
                int TextWidth,
                int TextHeight,
                int Spacing,
                int Margin,
                int& TX,
                int& TY,
                int& GX,
                int& GY) {
    if (GlyphWidth == 0)
        Spacing = 0;
    const int cx = R.Left + R.Width() / 2, cy = R.Top + R.Height() / 2;
    const int tw = GlyphWidth + TextWidth + Spacing, th = GlyphHeight + TextHeight + Spacing;
    GX = cx - GlyphWidth / 2;
    GY = cy - GlyphHeight / 2;
    TX = cx - TextWidth / 2;
    TY = cy - TextHeight / 2;
    if (Margin != -1) {
        switch (Layout) {
            case blGlyphLeft:
                GX = R.Left + Margin;
                TX = GX + GlyphWidth + Spacing;
                break;
            case blGlyphRight:
                GX = R.Right - GlyphWidth - Margin;
                TX = GX - Spacing - TextWidth;
                break;
            case blGlyphTop:
                GY = R.Top + Margin;
                TY = GY + GlyphHeight + Spacing;
                break;
            case blGlyphBottom:
                GY = R.Bottom - GlyphHeight - Margin;
                TY = GY - Spacing - TextHeight;
                break;
        }
        return;
    }
    switch (Layout) {
        case blGlyphLeft:
            GX = cx - tw / 2;
            TX = cx + tw / 2 - TextWidth;
            break;
        case blGlyphRight:
            TX = cx - tw / 2;
            GX = cx + tw / 2 - GlyphWidth;
            break;
        case blGlyphTop:
            GY = cy - th / 2;
            TY = cy + th / 2 - TextHeight;
            break;
        case blGlyphBottom:
            TY = cy - th / 2;
            GY = cy + th / 2 - GlyphHeight;
            break;
    }
}

namespace {

// The glyph of a layout painter: its size, how it is drawn, how its glow mask is made, and how wide its marker is.
struct TGlyph {
    int Width = 0;
    int Height = 0;
    int MarkerWidth = 0;
    std::function<void(TCanvas*, int, int)> Draw;
    std::function<void(TbsBitmap*, int)> Mask;  // the shape in red at offset G
};

// A colour-keyed image as a glow mask: every pixel not of pixel (0, 0)'s colour becomes red, drawn three times.
void KeyedMask(TbsBitmap* Mask, TBitmap* Image, int G) {
    TbsBitmap shape;
    shape.Assign(Image);
    if (shape.Empty())
        return;
    const std::uint32_t key = shape.GetPixel(0, 0) & 0xFFFFFF;
    constexpr std::uint32_t M = 0xFEFF0000;  // bsColor of opaque red
    for (int y = 0; y < shape.Height(); ++y) {
        std::uint32_t* row = shape.GetScanLine(y);
        for (int x = 0; x < shape.Width(); ++x)
            if ((row[x] & 0xFFFFFF) != key)
                row[x] = M;
    }
    shape.CheckingTransparent(key);
    shape.Draw(Mask, G, G);
    shape.Draw(Mask, G - 1, G - 1);
    shape.Draw(Mask, G + 1, G + 1);
}

void DrawGlow(TCanvas* Canvas, const TGlyph& Glyph, int GX, int GY, TColor GlowColor, int GlowSize) {
    TbsBitmap mask;
    mask.SetSize(Glyph.Width + 2 * GlowSize, Glyph.Height + 2 * GlowSize);
    if (mask.Empty())
        return;
    Glyph.Mask(&mask, GlowSize);
    Blur(&mask, GlowSize);
    MakeGlowLayer(&mask, GlowColor);
    mask.Draw(Canvas, GX - GlowSize, GY - GlowSize);
}

struct TLayoutOptions {
    // Not clipped to the measured box: a last letter may reach a pixel or two past its measured width.
    std::uint32_t CaptionFormat = DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER | DT_NOCLIP;
    bool Glow = false;
    TColor GlowColor = clNone;
    int GlowSize = 0;
    TRect NoContentFill;  // relative insets: left, top, right, bottom
};

void LayoutAndDraw(TCanvas* Canvas,
                   const TRect& R,
                   int Margin,
                   int Spacing,
                   TbsButtonLayout Layout,
                   const std::wstring& Caption,
                   const TGlyph& Glyph,
                   bool Down,
                   bool DrawColorMarker,
                   TColor ColorMarkerValue,
                   const TLayoutOptions& O) {
    if (Glyph.Width == 0)
        Spacing = 0;
    int tw = 0, th = 0;
    if (Caption.empty()) {
        Spacing = 0;
    } else {
        const bool vertical = Layout == blGlyphTop || Layout == blGlyphBottom;
        TRect m{0, 0, R.Width(), R.Height()};
        if (vertical)
            m.Bottom -= Glyph.Height + Spacing;
        else
            m.Right -= Glyph.Width + Spacing;
        Canvas->DrawText(Caption, m, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
        tw = m.Width();
        th = m.Height();
    }
    Canvas->Brush()->SetStyle(bsClear);
    int tx, ty, gx, gy;
    CalcLCoord(Layout, R, Glyph.Width, Glyph.Height, tw, th, Spacing, Margin, tx, ty, gx, gy);
    if (Down) {
        ++gx, ++gy, ++tx, ++ty;
    }
    TRect c{tx, ty, tx + tw, ty + th};
    if (IsOddFontHeight(Canvas))
        c.Top -= 1;
    c.Right += 2;
    if (O.Glow && Glyph.Width != 0)
        DrawGlow(Canvas, Glyph, gx, gy, O.GlowColor, O.GlowSize);
    if (!Caption.empty()) {
        if (O.Glow)
            DrawEffectText(Canvas, c, Caption, O.GlowSize, O.GlowColor, 0, O.CaptionFormat);
        else
            Canvas->DrawText(Caption, c, O.CaptionFormat);
    }
    if (Glyph.Width != 0)
        Glyph.Draw(Canvas, gx, gy);
    if (!DrawColorMarker)
        return;
    Canvas->Pen()->SetColor(ColorMarkerValue);
    auto hline = [&](int x1, int x2, int y) {
        Canvas->MoveTo(x1, y);
        Canvas->LineTo(x2, y);
    };
    if (Glyph.Width != 0) {
        const int y = gy + Glyph.Height;
        hline(gx, gx + Glyph.MarkerWidth, y - 1);
        hline(gx, gx + Glyph.MarkerWidth, y + 1);
        hline(gx, gx + Glyph.MarkerWidth, y);
    } else if (!Caption.empty()) {
        hline(c.Left, c.Right, c.Bottom - 1);
        hline(c.Left, c.Right, c.Bottom);
        hline(c.Left, c.Right, c.Bottom + 1);
    } else {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(ColorMarkerValue);
        const TRect& f = O.NoContentFill;
        Canvas->FillRect({R.Left + f.Left, R.Top + f.Top, R.Right + f.Right, R.Bottom + f.Bottom});
    }
}

TGlyph ImageGlyph(TCustomImageList* List, int Index, bool Enabled, bool DirectDraw) {
    TGlyph g;
    if (Index < 0 || !List || Index >= List->Count())
        return g;
    g.Width = g.MarkerWidth = List->Width();
    g.Height = List->Height();
    g.Draw = [=](TCanvas* c, int x, int y) {
        if (DirectDraw)
            ::ImageList_DrawEx(List->Handle(), Index, c->Handle(), x, y, List->Width(), List->Height(), CLR_NONE,
                               CLR_NONE, ILD_NORMAL);
        else
            List->Draw(c, x, y, Index, Enabled);
    };
    g.Mask = [=](TbsBitmap* mask, int G) {
        if (auto* png = dynamic_cast<TbsPngImageList*>(List)) {
            // The picture's own alpha is the shape.
            TPngImage* pic = png->PngImages()->Items(Index)->PngImage();
            constexpr std::uint32_t M = 0xFEFF0000;
            for (int y = 0; y < pic->Height() && y + G < mask->Height(); ++y) {
                const std::uint8_t* alpha = pic->AlphaScanline(y);
                for (int x = 0; x < pic->Width() && x + G < mask->Width(); ++x)
                    if (!alpha || alpha[x] != 0)
                        mask->SetPixel(G + x, G + y, M);
            }
            mask->CheckingAlphaBlend();
            return;
        }
        TBitmap image;
        List->GetBitmap(Index, &image);
        KeyedMask(mask, &image, G);
    };
    return g;
}

TGlyph StripGlyph(TBitmap* Glyph, int NumGlyphs, int GlyphNum) {
    TGlyph g;
    if (!Glyph || Glyph->Empty() || NumGlyphs <= 0)
        return g;
    g.Width = Glyph->Width() / NumGlyphs;
    g.Height = Glyph->Height();
    g.MarkerWidth = Glyph->Width();
    if (g.Width == 0)
        return TGlyph{};
    g.Draw = [=](TCanvas* c, int x, int y) { DrawGlyph(c, x, y, Glyph, NumGlyphs, GlyphNum); };
    g.Mask = [=](TbsBitmap* mask, int G) { KeyedMask(mask, Glyph, G); };
    return g;
}

const TRect kImageFill{4, 4, -2, -4};

}  // namespace

void DrawImageAndText(TCanvas* Canvas,
                      const TRect& R,
                      int Margin,
                      int Spacing,
                      TbsButtonLayout Layout,
                      const std::wstring& Caption,
                      int ImageIndex,
                      TCustomImageList* ImageList,
                      bool Down,
                      bool Enabled,
                      bool DrawColorMarker,
                      TColor ColorMarkerValue,
                      bool DirectDraw) {
    TLayoutOptions o;
    o.NoContentFill = kImageFill;
    LayoutAndDraw(Canvas, R, Margin, Spacing, Layout, Caption, ImageGlyph(ImageList, ImageIndex, Enabled, DirectDraw),
                  Down, DrawColorMarker, ColorMarkerValue, o);
}

void DrawImageAndTextLeft(TCanvas* Canvas,
                          const TRect& R,
                          int Margin,
                          int Spacing,
                          TbsButtonLayout Layout,
                          const std::wstring& Caption,
                          int ImageIndex,
                          TCustomImageList* ImageList,
                          bool Down,
                          bool Enabled,
                          bool DrawColorMarker,
                          TColor ColorMarkerValue) {
    TLayoutOptions o;
    o.CaptionFormat = DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER;
    o.NoContentFill = kImageFill;
    LayoutAndDraw(Canvas, R, Margin, Spacing, Layout, Caption, ImageGlyph(ImageList, ImageIndex, Enabled, false), Down,
                  DrawColorMarker, ColorMarkerValue, o);
}

void DrawImageAndEffectText(TCanvas* Canvas,
                            const TRect& R,
                            int Margin,
                            int Spacing,
                            TbsButtonLayout Layout,
                            const std::wstring& Caption,
                            int ImageIndex,
                            TCustomImageList* ImageList,
                            bool Down,
                            bool Enabled,
                            bool DrawColorMarker,
                            TColor ColorMarkerValue,
                            TColor GlowColor,
                            int GlowSize) {
    TLayoutOptions o;
    o.Glow = true;
    o.GlowColor = GlowColor;
    o.GlowSize = GlowSize;
    o.NoContentFill = kImageFill;
    LayoutAndDraw(Canvas, R, Margin, Spacing, Layout, Caption, ImageGlyph(ImageList, ImageIndex, Enabled, false), Down,
                  DrawColorMarker, ColorMarkerValue, o);
}

namespace {
TLayoutOptions StripOptions(bool Down) {
    TLayoutOptions o;
    o.NoContentFill = Down ? TRect{4, 5, -2, -3} : kImageFill;
    return o;
}
}  // namespace

void DrawGlyphAndText(TCanvas* Canvas,
                      const TRect& R,
                      int Margin,
                      int Spacing,
                      TbsButtonLayout Layout,
                      const std::wstring& Caption,
                      TBitmap* Glyph,
                      int NumGlyphs,
                      int GlyphNum,
                      bool Down,
                      bool DrawColorMarker,
                      TColor ColorMarkerValue) {
    LayoutAndDraw(Canvas, R, Margin, Spacing, Layout, Caption, StripGlyph(Glyph, NumGlyphs, GlyphNum), Down,
                  DrawColorMarker, ColorMarkerValue, StripOptions(Down));
}

void DrawGlyphAndEffectText(TCanvas* Canvas,
                            const TRect& R,
                            int Margin,
                            int Spacing,
                            TbsButtonLayout Layout,
                            const std::wstring& Caption,
                            TBitmap* Glyph,
                            int NumGlyphs,
                            int GlyphNum,
                            bool Down,
                            bool DrawColorMarker,
                            TColor ColorMarkerValue,
                            TColor GlowColor,
                            int GlowSize) {
    TLayoutOptions o = StripOptions(Down);
    o.Glow = true;
    o.GlowColor = GlowColor;
    o.GlowSize = GlowSize;
    LayoutAndDraw(Canvas, R, Margin, Spacing, Layout, Caption, StripGlyph(Glyph, NumGlyphs, GlyphNum), Down,
                  DrawColorMarker, ColorMarkerValue, o);
}

void DrawGlyph(TCanvas* Canvas, int X, int Y, TBitmap* Glyph, int NumGlyphs, int GlyphNum) {
    if (!Glyph || Glyph->Empty() || NumGlyphs <= 0)
        return;
    const int w = Glyph->Width() / NumGlyphs;
    if (w == 0)
        return;
    TBitmap frame(w, Glyph->Height(), pf32bit);
    frame.Canvas()->CopyRect({0, 0, w, Glyph->Height()}, Glyph->Canvas(),
                             {w * (GlyphNum - 1), 0, w * GlyphNum, Glyph->Height()});
    frame.SetTransparent(true);
    Canvas->Draw(X, Y, &frame);
}

// ---- Small glyphs ---------------------------------------------------------------------------------------------------

namespace {

void Pen(TCanvas* c, TColor color) {
    c->Pen()->SetColor(color);
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
}
// Both ends included.
void Row(TCanvas* c, int y, int x1, int x2) {
    c->MoveTo(x1, y);
    c->LineTo(x2 + 1, y);
}
void Col(TCanvas* c, int x, int y1, int y2) {
    c->MoveTo(x, y1);
    c->LineTo(x, y2 + 1);
}
// p -> q, q not drawn.
void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
}

void Arrow(TCanvas* c, const TRect& R, TColor Color, int Kind, int k, int d) {
    Pen(c, Color);
    const int cx = R.Left + R.Width() / 2, cy = R.Top + R.Height() / 2;
    switch (Kind) {
        case 1:
            for (int i = 0; i < k; ++i)
                Col(c, cx + i - d, cy - i, cy + i);
            break;
        case 2:
            for (int n = k - 1; n >= 0; --n)
                Col(c, cx - n + d, cy - n, cy + n);
            break;
        case 3:
            for (int i = 0; i < k; ++i)
                Row(c, cy + i - d, cx - i, cx + i);
            break;
        case 4:
            for (int n = k - 1; n >= 0; --n)
                Row(c, cy - n + d, cx - n, cx + n);
            break;
        default:
            break;
    }
}

}  // namespace

void DrawTrackArrowImage(TCanvas* Canvas, const TRect& R, TColor Color) {
    Arrow(Canvas, R, Color, 4, 3, 2);
}

void DrawArrowImage(TCanvas* Canvas, const TRect& R, TColor Color, int Kind) {
    if (Kind == 5) {
        Pen(Canvas, Color);
        const int cx = R.Left + R.Width() / 2, cy = R.Top + R.Height() / 2;
        Row(Canvas, cy - 1, cx - 4, cx + 3);
        Row(Canvas, cy, cx - 4, cx + 3);
        Col(Canvas, cx - 1, cy - 4, cy + 3);
        Col(Canvas, cx, cy - 4, cy + 3);
        return;
    }
    Arrow(Canvas, R, Color, Kind, 4, 2);
}

void DrawArrowImage2(TCanvas* Canvas, const TRect& R, TColor Color, int Kind) {
    Arrow(Canvas, R, Color, Kind, 6, 2);
}

void DrawArrowImage3(TCanvas* Canvas, const TRect& R, TColor Color, int Kind) {
    Arrow(Canvas, R, Color, Kind, 3, 1);
}

bool MakeNamedGlyph(const std::wstring& Name, TColor Color, TBitmap* B) {
    int kind = 0, arrows = 0;
    if (Name == L"BS_PRIORMONTH")
        kind = 1, arrows = 1;
    else if (Name == L"BS_NEXTMONTH")
        kind = 2, arrows = 1;
    else if (Name == L"BS_PRIORYEAR")
        kind = 1, arrows = 2;
    else if (Name == L"BS_NEXTYEAR")
        kind = 2, arrows = 2;
    if (!B || !kind)
        return false;
    B->SetSize(16, 16);
    TCanvas* c = B->Canvas();
    // A background far from any arrow colour: it is the glyph's transparent colour.
    const TColor back = ColorToRGB(Color) == 0xFF00FF ? TColor(0x00FF00) : TColor(0xFF00FF);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(back);
    c->FillRect({0, 0, 16, 16});
    if (arrows == 1) {
        Arrow(c, {0, 0, 16, 16}, Color, kind, 5, 2);
    } else {
        Arrow(c, {-3, 0, 13, 16}, Color, kind, 5, 2);
        Arrow(c, {3, 0, 19, 16}, Color, kind, 5, 2);
    }
    return true;
}

void DrawCheckImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Pen(Canvas, Color);
    for (int i = 0; i < 3; ++i) {
        Canvas->MoveTo(X, Y - i + 5);
        Canvas->LineTo(X + 2, Y - i + 7);
        Canvas->LineTo(X + 7, Y - i + 2);
    }
}

void DrawRadioImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Pen(Canvas, Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->Rectangle(X, Y, X + 6, Y + 6);
}

void DrawCloseImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Pen(Canvas, Color);
    Line(Canvas, X + 1, Y + 1, X + 9, Y + 9);
    Line(Canvas, X + 9, Y + 1, X + 1, Y + 9);
    Line(Canvas, X + 2, Y + 1, X + 10, Y + 9);
    Line(Canvas, X + 8, Y + 1, X, Y + 9);
}

void DrawSysMenuImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Pen(Canvas, Color);
    Canvas->Brush()->SetStyle(bsClear);
    Line(Canvas, X + 2, Y + 3, X + 8, Y + 3);
    Line(Canvas, X + 2, Y + 5, X + 8, Y + 5);
}

void DrawMinimizeImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Pen(Canvas, Color);
    Line(Canvas, X + 1, Y + 8, X + 9, Y + 8);
    Line(Canvas, X + 1, Y + 9, X + 9, Y + 9);
}

void DrawMaximizeImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Pen(Canvas, Color);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Rectangle(X, Y, X + 11, Y + 10);
    Canvas->Rectangle(X, Y, X + 11, Y + 2);
}

void DrawRestoreImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Pen(Canvas, Color);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Rectangle(X + 2, Y, X + 10, Y + 6);
    Canvas->Rectangle(X + 2, Y, X + 10, Y + 2);
    Canvas->Rectangle(X, Y + 4, X + 7, Y + 10);
    Canvas->Rectangle(X, Y + 4, X + 7, Y + 6);
}

void DrawRestoreRollUpImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Pen(Canvas, Color);
    Line(Canvas, X + 5, Y + 6, X + 6, Y + 6);
    Line(Canvas, X + 4, Y + 5, X + 7, Y + 5);
    Line(Canvas, X + 3, Y + 4, X + 8, Y + 4);
    Line(Canvas, X + 2, Y + 3, X + 9, Y + 3);
}

void DrawRollUpImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Pen(Canvas, Color);
    Line(Canvas, X + 2, Y + 5, X + 9, Y + 5);
    Line(Canvas, X + 3, Y + 4, X + 8, Y + 4);
    Line(Canvas, X + 4, Y + 3, X + 7, Y + 3);
    Line(Canvas, X + 5, Y + 2, X + 6, Y + 2);
}

void DrawMTImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Pen(Canvas, Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->Rectangle(X + 2, Y + 2, X + 7, Y + 7);
}

void DrawSkinFocusRect(TCanvas* Canvas, const TRect& R) {
    const int l = R.Left, t = R.Top, r = R.Right - 1, b = R.Bottom - 1;
    const TColor color = Canvas->Font()->Color();
    Canvas->Pen()->SetColor(color);
    bool flag = (r - l) % 2 == 0 && (b - t) % 2 == 0;
    auto step = [&](int x, int y) {
        if (!flag)
            Canvas->SetPixel(x, y, color);
        flag = !flag;
    };
    // Each side from its first corner up to the next one, which starts the next side.
    for (int x = l; x < r; ++x)
        step(x, t);
    flag = !flag;
    for (int y = t; y < b; ++y)
        step(r, y);
    flag = !flag;
    for (int x = r; x > l; --x)
        step(x, b);
    flag = !flag;
    for (int y = b; y > t; --y)
        step(l, y);
}

void Frm3D(TCanvas* Canvas, const TRect& R, TColor TopColor, TColor BottomColor) {
    const int l = R.Left, t = R.Top, r = R.Right - 1, b = R.Bottom - 1;
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline({{l, b}, {l, t}, {r, t}});
    Canvas->Pen()->SetColor(BottomColor);
    Canvas->Polyline({{r, t}, {r, b}, {l - 1, b}});
}

// ---- Parent background ----------------------------------------------------------------------------------------------

namespace {

// The parent carries csPaintCopy while it paints into the borrowed DC; the mark goes also when painting throws.
class TPaintCopyMark {
  public:
    explicit TPaintCopyMark(TControl* c) : c_(c) { c_->SetControlState(c_->ControlState() + csPaintCopy); }
    ~TPaintCopyMark() { c_->SetControlState(c_->ControlState() - csPaintCopy); }
    TPaintCopyMark(const TPaintCopyMark&) = delete;
    TPaintCopyMark& operator=(const TPaintCopyMark&) = delete;

  private:
    TControl* c_;
};

}  // namespace

void GetParentImageRect(TControl* Control, const TRect& R, TCanvas* DestCanvas) {
    if (!Control || !Control->Parent() || !DestCanvas)
        return;
    TWinControl* parent = Control->Parent();
    TPaintCopyMark mark(parent);
    HDC dc = DestCanvas->Handle();
    TSaveDCGuard saved(dc);
    POINT org;
    ::GetViewportOrgEx(dc, &org);
    ::SetViewportOrgEx(dc, org.x - R.Left, org.y - R.Top, nullptr);
    // On an MDI main form the client window paints the background, from the form's origin as for the form.
    auto* form = dynamic_cast<TCustomForm*>(parent);
    if (form && form->FormStyle() == fsMDIForm && form->ClientHandle()) {
        ::OffsetViewportOrgEx(dc, -Control->Left(), -Control->Top(), nullptr);
        const TRect client = form->ClientRect();
        ::IntersectClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
        ::SendMessageW(form->ClientHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    } else {
        parent->PaintBackgroundBehind(Control, dc, R);
    }
    DestCanvas->Refresh();
}

void GetParentImage(TControl* Control, TCanvas* DestCanvas) {
    if (!Control)
        return;
    GetParentImageRect(Control, {0, 0, Control->Width(), Control->Height()}, DestCanvas);
}
