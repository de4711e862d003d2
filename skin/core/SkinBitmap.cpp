// TbsBitmap: the DIB section, its DC, the DC -> bitmap list and the drawing entry points (see SkinBitmap.h). The pixel
// arithmetic lives in BitmapPixels.cpp and PixelRoutines.cpp; this file is the Win32 glue.
#include "skin/core/SkinBitmap.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "classlib/SysUtils.h"
#include "skin/core/BitmapPixels.h"
#include "skin/core/PixelRoutines.h"
#include "skin/core/PixelRoutinesDC.h"

// ---- The DC -> bitmap list ------------------------------------------------------------------------------------------
namespace {

// Created on first use and never destroyed by static destruction: bitmaps that outlive other statics may still leave it
// at program end.
std::vector<TbsBitmap*>*& BitmapList() {
    static std::vector<TbsBitmap*>* list = nullptr;
    return list;
}

void AddBitmapToList(TbsBitmap* bitmap) {
    auto& list = BitmapList();
    if (!list)
        list = new std::vector<TbsBitmap*>();
    if (std::find(list->begin(), list->end(), bitmap) == list->end())
        list->push_back(bitmap);
}

void RemoveBitmapFromList(TbsBitmap* bitmap) {
    auto* list = BitmapList();
    if (list)
        list->erase(std::remove(list->begin(), list->end(), bitmap), list->end());
}

TPoint WindowOrigin(HDC DC) {
    POINT p{};
    ::GetWindowOrgEx(DC, &p);
    return {p.x, p.y};
}

TRect Moved(TRect r, TPoint by) {
    r.Offset(-by.X, -by.Y);
    return r;
}

}  // namespace

TbsBitmap* FindBitmapByDC(HDC DC) {
    // An empty bitmap has no DC; a null DC must not find it.
    const auto* list = BitmapList();
    if (!DC || !list)
        return nullptr;
    for (TbsBitmap* b : *list)
        if (b->DC() == DC)
            return b;
    return nullptr;
}

void FreeBitmapList() {
    auto& list = BitmapList();
    delete list;
    list = nullptr;
}

std::uint32_t bsColor(std::uint32_t Color, std::uint8_t Alpha) {
    std::uint32_t rgb = Color;
    if ((Color & 0xFF000000) == 0xFF000000)
        rgb = ::GetSysColor(int(Color & 0xFF));
    return FromRGB(rgb) + (std::uint32_t(Alpha) << 24);
}

// ---- Construction and size ------------------------------------------------------------------------------------------
TbsBitmap::TbsBitmap() {
    FBitmapInfo.biSize = sizeof(BITMAPINFOHEADER);
    FBitmapInfo.biPlanes = 1;
    FBitmapInfo.biBitCount = 32;
    FBitmapInfo.biCompression = BI_RGB;
}

TbsBitmap::~TbsBitmap() {
    RemoveBitmapFromList(this);
    ReleaseSurface();
}

void TbsBitmap::ReleaseSurface() {
    // The canvas puts its font, pen and brush back into the DC before the DC goes.
    if (FCanvas)
        FCanvas->SetHandle(nullptr);
    if (FDC && FOldBitmap)
        ::SelectObject(FDC.Get(), FOldBitmap);
    FOldBitmap = nullptr;
    FDC.Reset();
    FHandle.Reset();
    FBits = nullptr;
}

void TbsBitmap::SetSize(int AWidth, int AHeight) {
    // |INT_MIN| does not exist; such a size could never be allocated anyway.
    const long long w = std::llabs((long long)AWidth), h = std::llabs((long long)AHeight);
    if (w == 0 || h == 0)
        return;
    if (w == FWidth && h == FHeight && !Empty())
        return;
    ReleaseSurface();
    // Until a new surface exists the bitmap reports 0 x 0, so that nothing reads or writes the old size.
    FWidth = 0;
    FHeight = 0;
    // A byte count that does not fit the DIB's 32-bit size would make the system allocate a wrapped-around (too small)
    // surface.
    if (w * h * 4 > INT_MAX)
        throw Exception(L"Can't allocate the DIB handle");
    FBitmapInfo.biWidth = LONG(w);
    FBitmapInfo.biHeight = -LONG(h);
    BITMAPINFO info{};
    info.bmiHeader = FBitmapInfo;
    void* bits = nullptr;
    TGdiBitmap handle(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!handle || !bits)
        throw Exception(L"Can't allocate the DIB handle");
    TDCHandle dc(::CreateCompatibleDC(nullptr));
    if (!dc)
        throw Exception(L"Can't create compatible DC");
    HGDIOBJ old = ::SelectObject(dc.Get(), handle.Get());
    if (!old || old == HGDI_ERROR)
        throw Exception(L"Can't bslect an object into DC");
    FHandle = std::move(handle);
    FDC = std::move(dc);
    FOldBitmap = old;
    FBits = static_cast<std::uint32_t*>(bits);
    AddBitmapToList(this);
    if (FCanvas)
        FCanvas->SetHandle(FDC.Get());
    FWidth = int(w);
    FHeight = int(h);
}

TCanvas* TbsBitmap::GetCanvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        FCanvas->SetHandle(FDC.Get());
    }
    return FCanvas.get();
}

void TbsBitmap::Clear(std::uint32_t Color) {
    if (Empty())
        return;
    FillLongwordFunc(FBits, FWidth * FHeight, Color);
}

// ---- Pixels ---------------------------------------------------------------------------------------------------------
std::uint32_t TbsBitmap::GetPixel(int X, int Y) const {
    if (Empty() || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
        return 0;
    return *GetPixelPtr(X, Y);
}

void TbsBitmap::SetPixel(int X, int Y, std::uint32_t Value) {
    if (Empty() || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
        return;
    *GetPixelPtr(X, Y) = Value;
}

void TbsBitmap::SetAlpha(std::uint8_t Alpha) {
    if (Empty())
        return;
    FillAlphaFunc(FBits, FWidth * FHeight, Alpha);
}

void TbsBitmap::SetAlpha(std::uint8_t Alpha, const TRect& Rect) {
    if (Rect.Width() == 0 || Rect.Height() == 0 || Empty())
        return;
    const TRect c = ClipRect(Rect, View().BoundsRect());
    if (c.IsEmpty())
        return;
    FillAlphaRectFunc(FBits, FWidth, FHeight, c.Left, c.Top, c.Right - 1, c.Bottom - 1, Alpha);
}

// ---- Flags from content ---------------------------------------------------------------------------------------------
void TbsBitmap::CheckingAlphaBlend() {
    AlphaBlend = HasPartialAlpha(View());
}

void TbsBitmap::CheckingAlphaBlend(const TRect&) {
    CheckingAlphaBlend();
}

void TbsBitmap::CheckingTransparent(std::uint32_t Color) {
    Transparent = false;
    Transparent = KeyOutNearColor(View(), Color);
}

void TbsBitmap::CheckingTransparent(std::uint32_t Color, const TRect&) {
    CheckingTransparent(Color);
}

void TbsBitmap::CheckRGBA() {
    ClampColorsToAlpha(View());
}

void TbsBitmap::CheckRGBA2() {
    PremultiplyAlpha(View());
}

// ---- Colour adjustments ---------------------------------------------------------------------------------------------
void TbsBitmap::ChangeBitmapBrightness(int DeltaBrightness) {
    if (DeltaBrightness != 0)
        AdjustColors(View(), ::ChangeBrightness, DeltaBrightness);
}

void TbsBitmap::SetBitmapHue(int Hue) {
    AdjustColors(View(), ::SetHue, Hue);
}

void TbsBitmap::ChangeBitmapSat(int DeltaSat) {
    if (DeltaSat != 0)
        AdjustColors(View(), ::ChangeSat, DeltaSat);
}

void TbsBitmap::ChangeBitmapHue(int DeltaHue) {
    if (DeltaHue != 0)
        AdjustColors(View(), ::ChangeHue, DeltaHue);
}

// ---- Drawing --------------------------------------------------------------------------------------------------------
void TbsBitmap::Draw(HDC DC, int X, int Y) {
    Draw(DC, TRect{X, Y, X + FWidth, Y + FHeight}, TRect{0, 0, FWidth, FHeight});
}

void TbsBitmap::Draw(HDC DC, int X, int Y, const TRect& SrcRect) {
    Draw(DC, TRect{X, Y, X + SrcRect.Width(), Y + SrcRect.Height()}, SrcRect);
}

void TbsBitmap::Draw(HDC DC, const TRect& DstRect) {
    Draw(DC, DstRect, TRect{0, 0, FWidth, FHeight});
}

void TbsBitmap::Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
    if (Empty() || !DC)
        return;
    if (TbsBitmap* target = FindBitmapByDC(DC)) {
        Draw(target, Moved(DstRect, WindowOrigin(DC)), SrcRect);
        return;
    }
    const TStretchToDCFunc f = AlphaBlend    ? StretchToDCAlphaBlendFunc
                               : Transparent ? StretchToDCTransparentFunc
                                             : StretchToDCOpaqueFunc;
    f(DC, DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height(), this, SrcRect.Left, SrcRect.Top,
      SrcRect.Width(), SrcRect.Height());
}

void TbsBitmap::Draw(TCanvas* Canvas, int X, int Y) {
    if (Canvas)
        Draw(Canvas->Handle(), X, Y);
}

void TbsBitmap::Draw(TCanvas* Canvas, int X, int Y, const TRect& SrcRect) {
    if (Canvas)
        Draw(Canvas->Handle(), X, Y, SrcRect);
}

void TbsBitmap::Draw(TCanvas* Canvas, const TRect& DstRect) {
    if (Canvas)
        Draw(Canvas->Handle(), DstRect);
}

void TbsBitmap::Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) {
    if (Canvas)
        Draw(Canvas->Handle(), DstRect, SrcRect);
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, int X, int Y) {
    Draw(Bitmap, TRect{X, Y, X + FWidth, Y + FHeight}, TRect{0, 0, FWidth, FHeight});
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect) {
    Draw(Bitmap, TRect{X, Y, X + SrcRect.Width(), Y + SrcRect.Height()}, SrcRect);
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, const TRect& DstRect) {
    Draw(Bitmap, DstRect, TRect{0, 0, FWidth, FHeight});
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect) {
    if (!Bitmap || Empty() || Bitmap->Empty())
        return;
    const TStretchFunc f = AlphaBlend    ? StretchAlphaBlendFunc
                           : Transparent ? StretchTransparentFunc
                                         : StretchOpaqueFunc;
    f(Bitmap->View(), DstRect, DstRect, View(), SrcRect);
}

void TbsBitmap::Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
    if (Empty() || !DC)
        return;
    TbsBitmap* target = FindBitmapByDC(DC);
    const TPoint origin = WindowOrigin(DC);
    void* bits = nullptr;
    int bitsW = 0, bitsH = 0, bitCount = 0;
    if (!target) {
        bits = GetBitsFromDCFunc(DC, bitsW, bitsH, bitCount);
        // GDI may still hold drawing for this DIB in its batch; the direct writes below must come after it.
        if (bits)
            ::GdiFlush();
    }
    const bool direct = bits && bitCount == 32 && bitsH > 0;
    // Tiles outside the surface (or the DC's clip box) would draw nothing: skip them rather than walk them. An
    // empty rectangle places no limit.
    TRect visible;
    if (target) {
        visible = target->View().BoundsRect();
        visible.Offset(origin.X, origin.Y);
    } else if (direct) {
        visible = TRect{0, 0, bitsW, bitsH};
        visible.Offset(origin.X, origin.Y);
    } else {
        RECT box{};
        const int clip = ::GetClipBox(DC, &box);
        if (clip == NULLREGION)
            return;
        if (clip != ERROR)
            visible = TRect{box.left, box.top, box.right, box.bottom};
    }
    const TStretchToDibFunc toDib = AlphaBlend    ? StretchToDibAlphaBlendFunc
                                    : Transparent ? StretchToDibTransparentFunc
                                                  : StretchToDibOpaqueFunc;
    const TStretchToDCFunc toDC = AlphaBlend    ? StretchToDCAlphaBlendFunc
                                  : Transparent ? StretchToDCTransparentFunc
                                                : StretchToDCOpaqueFunc;
    ForEachTile(DstRect, TRect{}, SrcRect, visible, [&](const TRect& tile, const TRect& source) {
        if (target) {
            Draw(target, Moved(tile, origin), source);
        } else if (direct) {
            const TRect r = Moved(tile, origin);
            toDib(static_cast<std::uint32_t*>(bits), r, r, bitsW, bitsH, View(), source);
        } else {
            toDC(DC, tile.Left, tile.Top, tile.Width(), tile.Height(), this, source.Left, source.Top, source.Width(),
                 source.Height());
        }
    });
}

void TbsBitmap::Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) {
    if (Canvas)
        TileClip(Canvas->Handle(), DstRect, TRect{}, SrcRect);
}

void TbsBitmap::Tile(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect) {
    TileClip(Bitmap, DstRect, TRect{}, SrcRect);
}

void TbsBitmap::TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
    if (Empty() || !DC)
        return;
    ForEachTile(DstRect, DstClip, SrcRect, TRect{},
                [&](const TRect& tile, const TRect& source) { Draw(DC, tile, source); });
}

void TbsBitmap::TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
    if (Canvas)
        TileClip(Canvas->Handle(), DstRect, DstClip, SrcRect);
}

void TbsBitmap::TileClip(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
    if (!Bitmap || Empty() || Bitmap->Empty())
        return;
    ForEachTile(DstRect, DstClip, SrcRect, Bitmap->View().BoundsRect(),
                [&](const TRect& tile, const TRect& source) { Draw(Bitmap, tile, source); });
}

void TbsBitmap::MergeDraw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect) {
    if (!Bitmap)
        return;
    MergeBehind(View(), Bitmap->View(), X, Y, SrcRect);
}

void TbsBitmap::DrawGraphic(TGraphic* Graphic, const TRect& DstRect) {
    if (!Graphic || Empty())
        return;
    TBitmap scratch(FWidth, FHeight, pf32bit);
    TCanvas* canvas = scratch.Canvas();
    canvas->Brush()->SetColor(clFuchsia);
    canvas->FillRect(TRect{-1, -1, FWidth + 1, FHeight + 1});
    canvas->StretchDraw(DstRect, Graphic);
    ::GdiFlush();
    for (int y = 0; y < FHeight; ++y) {
        const auto* row = static_cast<const std::uint32_t*>(scratch.ScanLine(y));
        for (int x = 0; x < FWidth; ++x)
            if ((row[x] & 0x00FFFFFF) != 0x00FF00FF)
                SetPixel(x, y, row[x]);
    }
}

void TbsBitmap::FillRect(const TRect& R, std::uint32_t Color) {
    FillPixels(View(), R, Color, AlphaBlend);
}

void TbsBitmap::FlipVert() {
    FlipRows(View());
}

void TbsBitmap::Reflection() {
    FadeReflection(View(), 3);
}

void TbsBitmap::Reflection2() {
    FadeReflection(View(), 4);
}

void TbsBitmap::Reflection3() {
    FadeReflection(View(), 2);
}

// ---- Deliberately empty drawing members -----------------------------------------------------------------------------
void TbsBitmap::DrawBevel(const TRect&, std::uint32_t, std::uint32_t) {}
void TbsBitmap::DrawEdge(const TRect&, unsigned, unsigned) {}
void TbsBitmap::DrawEllipse(const TRect&, std::uint32_t) {}
void TbsBitmap::DrawFocusRect(const TRect&, std::uint32_t) {}
void TbsBitmap::DrawLine(int, int, int, int, std::uint32_t) {}
void TbsBitmap::DrawPolygon(const TPoint*, int, std::uint32_t) {}
void TbsBitmap::DrawRect(const TRect&, std::uint32_t) {}
void TbsBitmap::DrawRoundRect(const TRect&, int, std::uint32_t) {}
void TbsBitmap::FillEllipse(const TRect&, std::uint32_t) {}
void TbsBitmap::FillGradientRect(const TRect&, std::uint32_t, std::uint32_t, bool) {}
void TbsBitmap::FillHalftonePolygon(const TPoint*, int, std::uint32_t, std::uint32_t) {}
void TbsBitmap::FillHalftoneRect(const TRect&, std::uint32_t, std::uint32_t) {}
void TbsBitmap::FillPolygon(const TPoint*, int, std::uint32_t) {}
void TbsBitmap::FillRadialGradientRect(const TRect&, std::uint32_t, std::uint32_t, TPoint) {}
void TbsBitmap::FillRoundRect(const TRect&, int, std::uint32_t) {}
void TbsBitmap::MoveTo(int, int) {}
void TbsBitmap::LineTo(int, int, std::uint32_t) {}
void TbsBitmap::DrawText(const std::wstring&, int, int) {}
void TbsBitmap::DrawText(const std::wstring&, TRect&, unsigned) {}
void TbsBitmap::DrawVerticalText(const std::wstring&, const TRect&, bool) {}
int TbsBitmap::TextWidth(const std::wstring&) {
    return 0;
}
int TbsBitmap::TextHeight(const std::wstring&) {
    return 0;
}

// ---- Copying in and out ---------------------------------------------------------------------------------------------
void TbsBitmap::Assign(TPersistent* Source) {
    if (auto* source = dynamic_cast<TbsBitmap*>(Source)) {
        if (source == this)
            return;
        if (!source->Empty()) {
            SetSize(source->Width(), source->Height());
            if (Empty())
                return;
            MoveLongwordFunc(source->Bits(), FBits, FWidth * FHeight);
        }
        // An empty source has no size to give: the pixels stay, and nothing is read from it.
        Name = source->Name;
        Transparent = source->Transparent;
        AlphaBlend = source->AlphaBlend;
        return;
    }
    if (auto* picture = dynamic_cast<TPicture*>(Source)) {
        if (picture->Graphic())
            AssignGraphic(picture->Graphic());
        return;
    }
    if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
        AssignGraphic(graphic);
        return;
    }
    TPersistent::Assign(Source);
}

void TbsBitmap::AssignGraphic(TGraphic* Source) {
    if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
        if (bitmap->PixelFormat() != pf32bit) {
            AssignFromBitmap(bitmap);
            return;
        }
        SetSize(bitmap->Width(), bitmap->Height());
        // An empty source leaves this bitmap's size unchanged: copying would read past the source.
        if (Empty() || bitmap->Width() != FWidth || bitmap->Height() != FHeight)
            return;
        ::GdiFlush();
        for (int y = 0; y < FHeight; ++y)
            MoveLongwordFunc(static_cast<const std::uint32_t*>(bitmap->ScanLine(y)), GetScanLine(y), FWidth);
        CheckingAlphaBlend();
        return;
    }
    SetSize(Source->Width(), Source->Height());
    if (Empty() || Source->Width() != FWidth || Source->Height() != FHeight)
        return;
    DrawGraphic(Source, TRect{0, 0, FWidth, FHeight});
    SetAlpha(255);
}

void TbsBitmap::AssignFromBitmap(TBitmap* Source) {
    if (!Source)
        return;
    SetSize(Source->Width(), Source->Height());
    if (Empty() || Source->Width() != FWidth || Source->Height() != FHeight)
        return;
    ::BitBlt(FDC.Get(), 0, 0, FWidth, FHeight, Source->Canvas()->Handle(), 0, 0, SRCCOPY);
    ::GdiFlush();
    SetAlpha(255);
}

void TbsBitmap::CopyToBitmap(TBitmap* Dest) {
    if (!Dest)
        return;
    Dest->SetPixelFormat(pf32bit);
    Dest->SetSize(FWidth, FHeight);
    if (Empty())
        return;
    Draw(Dest->Canvas(), 0, 0);
    ::GdiFlush();
}

void TbsBitmap::AssignTo(TPersistent* Dest) {
    if (auto* dest = dynamic_cast<TbsBitmap*>(Dest)) {
        dest->Assign(this);
        return;
    }
    if (auto* picture = dynamic_cast<TPicture*>(Dest)) {
        CopyToBitmap(picture->Bitmap());
        return;
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
        CopyToBitmap(bitmap);
        return;
    }
    TPersistent::AssignTo(Dest);
}
