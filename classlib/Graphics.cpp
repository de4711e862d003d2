// Drawing objects, canvas and graphics over GDI. Pixels come and go through DIB sections; files are decoded by WIC.
#include "classlib/Graphics.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "classlib/WicCodec.h"

namespace {

int ScreenPixelsPerInch() {
    static int ppi = [] {
        HDC dc = ::GetDC(nullptr);
        int v = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (dc)
            ::ReleaseDC(nullptr, dc);
        return v > 0 ? v : 96;
    }();
    return ppi;
}

int MulDivRound(int a, int b, int c) {
    return ::MulDiv(a, b, c);
}

[[noreturn]] void NoDrawing() {
    throw EInvalidOperation(L"Canvas does not allow drawing");
}

}  // namespace

TColor ColorToRGB(TColor color) {
    if (IsSystemColor(color))
        return static_cast<TColor>(::GetSysColor(static_cast<int>(color & 0xFF)));
    return color;
}

void TGraphicsObject::Changed() {
    if (OnChange)
        OnChange(this);
}

// ---- TFont ---------------------------------------------------------------------------------------------------------
TFont::TFont() : pixelsPerInch_(ScreenPixelsPerInch()) {}

TFont::~TFont() = default;

void TFont::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        if (f == this)
            return;
        // An equal font changes nothing: no new handle, no window is given its font again.
        const bool sameFace = name_ == f->name_ && height_ == f->height_ && style_ == f->style_ &&
                              charset_ == f->charset_ && pitch_ == f->pitch_ && pixelsPerInch_ == f->pixelsPerInch_;
        if (sameFace) {
            SetColor(f->color_);
            return;
        }
        name_ = f->name_;
        height_ = f->height_;
        style_ = f->style_;
        color_ = f->color_;
        charset_ = f->charset_;
        pitch_ = f->pitch_;
        pixelsPerInch_ = f->pixelsPerInch_;
        FontChanged();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TFont::FontChanged() {
    // The stale handle lives until the listeners have been told: they put their DC's own font back, and windows are
    // given the new font (Handle() during OnChange makes it), so the old one is selected nowhere we know of when it
    // is deleted.
    TGdiFont stale = std::move(handle_);
    handle_.Reset();
    Changed();
}

HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONTW lf{};
        lf.lfHeight = height_;
        lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = style_.Contains(fsItalic);
        lf.lfUnderline = style_.Contains(fsUnderline);
        lf.lfStrikeOut = style_.Contains(fsStrikeOut);
        lf.lfCharSet = charset_;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
        std::wstring face = name_.substr(0, LF_FACESIZE - 1);
        std::copy(face.begin(), face.end(), lf.lfFaceName);
        handle_.Reset(::CreateFontIndirectW(&lf));
        if (!handle_)
            throw EOutOfResources(L"Out of system resources");
    }
    return handle_.Get();
}

void TFont::SetHandle(HFONT font) {
    LOGFONTW lf{};
    if (!font || ::GetObjectW(font, sizeof lf, &lf) != sizeof lf)
        return;
    name_ = lf.lfFaceName;
    height_ = lf.lfHeight;
    TFontStyles st;
    if (lf.lfWeight >= FW_BOLD)
        st.Include(fsBold);
    if (lf.lfItalic)
        st.Include(fsItalic);
    if (lf.lfUnderline)
        st.Include(fsUnderline);
    if (lf.lfStrikeOut)
        st.Include(fsStrikeOut);
    style_ = st;
    charset_ = lf.lfCharSet;
    int pitch = lf.lfPitchAndFamily & 3;
    pitch_ = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    FontChanged();
}

void TFont::SetName(const std::wstring& value) {
    if (value.empty() || value == name_)
        return;
    name_ = value;
    FontChanged();
}

void TFont::SetHeight(int value) {
    if (value == height_)
        return;
    height_ = value;
    FontChanged();
}

int TFont::Size() const {
    return -MulDivRound(height_, 72, pixelsPerInch_);
}

void TFont::SetSize(int value) {
    SetHeight(-MulDivRound(value, pixelsPerInch_, 72));
}

void TFont::SetStyle(TFontStyles value) {
    if (value == style_)
        return;
    style_ = value;
    FontChanged();
}

void TFont::SetColor(TColor value) {
    if (value == color_)
        return;
    color_ = value;
    Changed();  // the handle stays valid; canvases re-apply the text colour
}

void TFont::SetCharset(TFontCharset value) {
    if (value == charset_)
        return;
    charset_ = value;
    FontChanged();
}

void TFont::SetPitch(TFontPitch value) {
    if (value == pitch_)
        return;
    pitch_ = value;
    FontChanged();
}

bool TFont::operator==(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
           charset_ == o.charset_ && pitch_ == o.pitch_;
}

// ---- TPen ----------------------------------------------------------------------------------------------------------
TPen::~TPen() = default;

void TPen::Assign(TPersistent* Source) {
    if (auto* p = dynamic_cast<TPen*>(Source)) {
        if (p == this)
            return;
        color_ = p->color_;
        width_ = p->width_;
        style_ = p->style_;
        mode_ = p->mode_;
        PenChanged(true);
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TPen::PenChanged(bool handleStale) {
    Changed();
    if (handleStale)
        handle_.Reset();
}

HPEN TPen::Handle() {
    if (!handle_) {
        static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_.Reset(::CreatePen(kStyles[style_], width_, ColorToRGB(color_) & 0xFFFFFF));
        if (!handle_)
            throw EOutOfResources(L"Out of system resources");
    }
    return handle_.Get();
}

void TPen::SetColor(TColor value) {
    if (value == color_)
        return;
    color_ = value;
    PenChanged(true);
}

void TPen::SetWidth(int value) {
    if (value < 0 || value == width_)
        return;
    width_ = value;
    PenChanged(true);
}

void TPen::SetStyle(TPenStyle value) {
    if (value == style_)
        return;
    style_ = value;
    PenChanged(true);
}

void TPen::SetMode(TPenMode value) {
    if (value == mode_)
        return;
    mode_ = value;
    PenChanged(false);
}

// ---- TBrush --------------------------------------------------------------------------------------------------------
TBrush::~TBrush() = default;

void TBrush::Assign(TPersistent* Source) {
    if (auto* b = dynamic_cast<TBrush*>(Source)) {
        if (b == this)
            return;
        color_ = b->color_;
        style_ = b->style_;
        BrushChanged();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::BrushChanged() {
    Changed();
    handle_.Reset();
}

HBRUSH TBrush::Handle() {
    if (style_ == bsClear)
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));  // stock: never owned
    if (!handle_) {
        COLORREF c = ColorToRGB(color_) & 0xFFFFFF;
        HBRUSH b;
        switch (style_) {
            case bsHorizontal:
                b = ::CreateHatchBrush(HS_HORIZONTAL, c);
                break;
            case bsVertical:
                b = ::CreateHatchBrush(HS_VERTICAL, c);
                break;
            case bsFDiagonal:
                b = ::CreateHatchBrush(HS_FDIAGONAL, c);
                break;
            case bsBDiagonal:
                b = ::CreateHatchBrush(HS_BDIAGONAL, c);
                break;
            case bsCross:
                b = ::CreateHatchBrush(HS_CROSS, c);
                break;
            case bsDiagCross:
                b = ::CreateHatchBrush(HS_DIAGCROSS, c);
                break;
            default:
                b = ::CreateSolidBrush(c);
                break;
        }
        handle_.Reset(b);
        if (!handle_)
            throw EOutOfResources(L"Out of system resources");
    }
    return handle_.Get();
}

void TBrush::SetColor(TColor value) {
    if (value == color_)
        return;
    color_ = value;
    if (style_ == bsClear && value != clNone)
        style_ = bsSolid;
    BrushChanged();
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value == style_)
        return;
    style_ = value;
    BrushChanged();
}

// ---- TCanvas -------------------------------------------------------------------------------------------------------
TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {
    // A changed object is put out of the DC before its old handle is deleted; the next drawing selects the new one.
    auto deselect = [this](unsigned bit, HGDIOBJ& old) {
        if ((selected_ & bit) && dc_ && old)
            ::SelectObject(dc_, old);
        if (selected_ & bit)
            old = nullptr;
        selected_ &= ~bit;
    };
    font_->OnChange = [this, deselect](TObject*) { deselect(kNeedFont, oldFont_); };
    pen_->OnChange = [this, deselect](TObject*) { deselect(kNeedPen, oldPen_); };
    brush_->OnChange = [this, deselect](TObject*) { deselect(kNeedBrush, oldBrush_); };
}

TCanvas::~TCanvas() {
    DeselectHandles();
    font_->OnChange = nullptr;
    pen_->OnChange = nullptr;
    brush_->OnChange = nullptr;
}

HDC TCanvas::Handle() {
    if (!dc_)
        CreateHandle();
    return dc_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_)
        return;
    if (dc_) {
        DeselectHandles();
        POINT p;
        if (::GetCurrentPositionEx(dc_, &p))
            penPos_ = {static_cast<int>(p.x), static_cast<int>(p.y)};
        dc_ = nullptr;
    }
    if (dc) {
        dc_ = dc;
        ::MoveToEx(dc_, penPos_.X, penPos_.Y, nullptr);
    }
}

void TCanvas::DeselectHandles() {
    if (dc_) {
        if ((selected_ & kNeedFont) && oldFont_)
            ::SelectObject(dc_, oldFont_);
        if ((selected_ & kNeedPen) && oldPen_)
            ::SelectObject(dc_, oldPen_);
        if ((selected_ & kNeedBrush) && oldBrush_)
            ::SelectObject(dc_, oldBrush_);
    }
    oldFont_ = oldPen_ = oldBrush_ = nullptr;
    selected_ = 0;
}

void TCanvas::Refresh() {
    DeselectHandles();
}

HDC TCanvas::RequiredState(unsigned need) {
    HDC dc = Handle();
    if (!dc)
        NoDrawing();
    if ((need & kNeedFont) && !(selected_ & kNeedFont)) {
        HGDIOBJ old = ::SelectObject(dc, font_->Handle());
        if (!oldFont_)
            oldFont_ = old;
        ::SetTextColor(dc, ColorToRGB(font_->Color()) & 0xFFFFFF);
        selected_ |= kNeedFont;
    }
    if ((need & kNeedPen) && !(selected_ & kNeedPen)) {
        static const int kRop2[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                    R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                    R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                    R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
        HGDIOBJ old = ::SelectObject(dc, pen_->Handle());
        if (!oldPen_)
            oldPen_ = old;
        ::SetROP2(dc, kRop2[pen_->Mode()]);
        selected_ |= kNeedPen;
    }
    if ((need & kNeedBrush) && !(selected_ & kNeedBrush)) {
        HBRUSH b = brush_->Handle();
        ::UnrealizeObject(b);
        HGDIOBJ old = ::SelectObject(dc, b);
        if (!oldBrush_)
            oldBrush_ = old;
        COLORREF c = ColorToRGB(brush_->Color()) & 0xFFFFFF;
        if (brush_->Style() == bsSolid) {
            ::SetBkColor(dc, c);
            ::SetBkMode(dc, OPAQUE);
        } else {
            ::SetBkColor(dc, ~c & 0xFFFFFF);
            ::SetBkMode(dc, TRANSPARENT);
        }
        selected_ |= kNeedBrush;
    }
    return dc;
}

void TCanvas::Changing() {
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange)
        OnChange(this);
}

TPoint TCanvas::PenPos() {
    if (dc_) {
        POINT p;
        if (::GetCurrentPositionEx(dc_, &p))
            penPos_ = {static_cast<int>(p.x), static_cast<int>(p.y)};
    }
    return penPos_;
}

void TCanvas::SetPenPos(TPoint p) {
    MoveTo(p.X, p.Y);
}

void TCanvas::MoveTo(int x, int y) {
    penPos_ = {x, y};
    if (HDC dc = Handle())
        ::MoveToEx(dc, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    Changing();
    HDC dc = RequiredState(kNeedPen | kNeedBrush);
    ::LineTo(dc, x, y);
    penPos_ = {x, y};
    Changed();
}

void TCanvas::Polyline(const TPoint* points, int count) {
    if (!points || count <= 0)
        return;
    Changing();
    HDC dc = RequiredState(kNeedPen | kNeedBrush);
    ::Polyline(dc, AsPOINT(points), count);
    Changed();
}

void TCanvas::Polygon(const TPoint* points, int count) {
    if (!points || count <= 0)
        return;
    Changing();
    HDC dc = RequiredState(kNeedPen | kNeedBrush);
    ::Polygon(dc, AsPOINT(points), count);
    Changed();
}

void TCanvas::FillRect(const TRect& r) {
    Changing();
    HDC dc = RequiredState(kNeedBrush);
    ::FillRect(dc, AsRECT(r), brush_->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    Changing();
    HDC dc = RequiredState(kNeedBrush);
    ::FrameRect(dc, AsRECT(r), brush_->Handle());
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Changing();
    HDC dc = RequiredState(kNeedPen | kNeedBrush);
    ::Rectangle(dc, x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    Changing();
    HDC dc = RequiredState(kNeedPen | kNeedBrush);
    ::RoundRect(dc, x1, y1, x2, y2, x3, y3);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Changing();
    HDC dc = RequiredState(kNeedPen | kNeedBrush);
    ::Ellipse(dc, x1, y1, x2, y2);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
    Changing();
    HDC dc = RequiredState(kNeedBrush);
    ::DrawFocusRect(dc, AsRECT(r));
    Changed();
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
    Changing();
    HDC dc = RequiredState(kNeedFont | kNeedBrush);
    ::ExtTextOutW(dc, x, y, TextFlags, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    Changed();
    MoveTo(x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::wstring& text) {
    Changing();
    HDC dc = RequiredState(kNeedFont | kNeedBrush);
    UINT options = ETO_CLIPPED | TextFlags;
    if (brush_->Style() != bsClear)
        options |= ETO_OPAQUE;
    ::ExtTextOutW(dc, x, y, options, AsRECT(r), text.c_str(), static_cast<UINT>(text.size()), nullptr);
    Changed();
}

int TCanvas::DrawText(const std::wstring& text, TRect& r, std::uint32_t flags) {
    Changing();
    HDC dc = RequiredState(kNeedFont | kNeedBrush);
    // DrawTextW may write into the text with these flags; ours is a private copy, so never ask it to.
    flags &= ~static_cast<std::uint32_t>(DT_MODIFYSTRING);
    std::wstring copy = text;
    copy.reserve(copy.size() + 5);  // room for an ellipsis even though we do not request the change
    int result = ::DrawTextW(dc, copy.data(), static_cast<int>(copy.size()), AsRECT(r), flags);
    Changed();
    return result;
}

TSize TCanvas::TextExtent(const std::wstring& text) {
    HDC dc = RequiredState(kNeedFont);
    SIZE sz{0, 0};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &sz);
    return {static_cast<int>(sz.cx), static_cast<int>(sz.cy)};
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty())
        return;
    Changing();
    RequiredState(kNeedFont | kNeedPen | kNeedBrush);
    graphic->Draw(this, Bounds(x, y, graphic->Width(), graphic->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
    if (!graphic || graphic->Empty())
        return;
    Changing();
    RequiredState(kNeedFont | kNeedPen | kNeedBrush);
    graphic->Draw(this, r);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& src) {
    if (!source)
        return;
    Changing();
    HDC dc = RequiredState(kNeedFont | kNeedBrush);
    HDC sdc = source->RequiredState(kNeedBrush);
    ::StretchBlt(dc, dest.Left, dest.Top, dest.Width(), dest.Height(), sdc, src.Left, src.Top, src.Width(),
                 src.Height(), copyMode_);
    Changed();
}

TColor TCanvas::Pixels(int x, int y) {
    HDC dc = Handle();
    if (!dc)
        NoDrawing();
    return ::GetPixel(dc, x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    Changing();
    HDC dc = Handle();
    if (!dc)
        NoDrawing();
    ::SetPixel(dc, x, y, ColorToRGB(color) & 0xFFFFFF);
    Changed();
}

TRect TCanvas::ClipRect() {
    HDC dc = Handle();
    if (!dc)
        NoDrawing();
    RECT r{};
    ::GetClipBox(dc, &r);
    return ToTRect(r);
}

void TCanvas::ClipTo(const TRect& r) {
    if (HDC dc = Handle())
        ::IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
}

void TCanvas::ExcludeClip(const TRect& r) {
    if (HDC dc = Handle())
        ::ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
}

void TCanvas::SetClipRect(const TRect& r) {
    if (HDC dc = Handle()) {
        ::SelectClipRgn(dc, nullptr);
        ::IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    }
}

void TCanvas::SetClipRegion(HRGN region) {
    if (HDC dc = Handle())
        ::SelectClipRgn(dc, region);
}

TCanvasClipGuard::TCanvasClipGuard(TCanvas* canvas) : dc_(canvas ? canvas->Handle() : nullptr) {
    if (!dc_)
        return;
    saved_.Reset(::CreateRectRgn(0, 0, 0, 0));
    if (saved_ && ::GetClipRgn(dc_, saved_.Get()) != 1)
        saved_.Reset();  // no clip region was set
}

TCanvasClipGuard::~TCanvasClipGuard() {
    if (dc_)
        ::SelectClipRgn(dc_, saved_.Get());
}

// ---- TGraphic ------------------------------------------------------------------------------------------------------
void TGraphic::SetTransparent(bool value) {
    if (value == transparent_)
        return;
    transparent_ = value;
    Changed();
}

void TGraphic::LoadFromFile(const std::wstring& fileName) {
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

void TGraphic::SaveToFile(const std::wstring& fileName) {
    TMemoryStream m;
    SaveToStream(&m);
    SaveBytesToFileSafely(fileName, m.Memory(), static_cast<size_t>(m.Size()));
}

void TGraphic::Changed() {
    Modified = true;
    if (OnChange)
        OnChange(this);
}

// ---- TBitmap -------------------------------------------------------------------------------------------------------
class TBitmapCanvas : public TCanvas {
  public:
    explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}

  protected:
    void CreateHandle() override {
        if (HDC dc = bitmap_->CanvasDC())
            SetHandle(dc);
    }

  private:
    TBitmap* bitmap_;  // borrowed: the owner
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
    SetPixelFormat(format);
    SetSize(width, height);
}

TBitmap::~TBitmap() {
    FreeCanvasDC();
}

HDC TBitmap::CanvasDC() {
    if (!canvasDC_) {
        auto dc = std::make_unique<TMemoryDC>(nullptr);
        if (!dc->Get())
            throw EOutOfResources(L"Out of system resources");
        if (bitmap_)
            dc->Select(bitmap_.Get());
        canvasDC_ = std::move(dc);
    }
    return canvasDC_->Get();
}

void TBitmap::FreeCanvasDC() {
    if (canvas_)
        canvas_->SetHandle(nullptr);
    canvasDC_.reset();
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TBitmapCanvas>(this);
        canvas_->OnChange = [this](TObject*) { Changed(); };
    }
    return canvas_.get();
}

int TBitmap::BytesPerScanLine() const {
    return ((width_ * BitsPerPixel() + 31) / 32) * 4;
}

void TBitmap::NewImage(int width, int height, int bpp, bool keepPixels) {
    if (width <= 0 || height <= 0) {
        FreeCanvasDC();
        bitmap_.Reset();
        bits_ = nullptr;
        width_ = height_ = 0;
        return;
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;  // bottom-up, as GDI's own bitmaps
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(bpp);
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TGdiBitmap fresh(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!fresh || !bits)
        throw EOutOfResources(L"Out of system resources");
    const int stride = ((width * bpp + 31) / 32) * 4;
    auto* p = static_cast<std::uint8_t*>(bits);
    if (bpp == 32)
        std::fill_n(reinterpret_cast<std::uint32_t*>(p), static_cast<size_t>(stride / 4) * height, 0x00FFFFFFu);
    else
        std::memset(p, 0xFF, static_cast<size_t>(stride) * height);
    FreeCanvasDC();
    if (keepPixels && bitmap_) {
        ::GdiFlush();
        int w = std::min(width, width_), h = std::min(height, height_);
        if (bpp == BitsPerPixelOf(bitmap_)) {
            int oldStride = ((width_ * bpp + 31) / 32) * 4;
            for (int y = 0; y < h; ++y)
                std::memcpy(p + static_cast<size_t>(height - 1 - y) * stride,
                            bits_ + static_cast<size_t>(height_ - 1 - y) * oldStride, static_cast<size_t>(w) * bpp / 8);
        } else {
            TMemoryDC src(nullptr), dst(nullptr);
            src.Select(bitmap_.Get());
            dst.Select(fresh.Get());
            ::BitBlt(dst, 0, 0, w, h, src, 0, 0, SRCCOPY);
        }
    }
    bitmap_ = std::move(fresh);
    bits_ = p;
    width_ = width;
    height_ = height;
}

int TBitmap::BitsPerPixelOf(const TGdiBitmap& bitmap) {
    DIBSECTION ds{};
    if (bitmap && ::GetObjectW(bitmap.Get(), sizeof ds, &ds) == sizeof ds)
        return ds.dsBm.bmBitsPixel;
    return 0;
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    NewImage(width, height, BitsPerPixel(), true);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
    if (value == pixelFormat_)
        return;
    if (value != pfDevice && value != pf24bit && value != pf32bit)
        throw EInvalidGraphicOperation(L"Unsupported pixel format");
    int oldBpp = BitsPerPixel();
    pixelFormat_ = value;
    if (!Empty() && BitsPerPixel() != oldBpp)
        NewImage(width_, height_, BitsPerPixel(), true);
    Changed();
}

void* TBitmap::ScanLine(int y) {
    if (Empty() || y < 0 || y >= height_)
        throw EInvalidGraphicOperation(L"Scan line index out of range");
    ::GdiFlush();
    return bits_ + static_cast<size_t>(height_ - 1 - y) * BytesPerScanLine();
}

TColor TBitmap::TransparentColor() {
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault)
        return transparentColor_;
    if (Empty())
        return clDefault;
    const auto* p = static_cast<const std::uint8_t*>(ScanLine(height_ - 1));
    return RGBColor(p[2], p[1], p[0]);
}

void TBitmap::SetTransparentColor(TColor value) {
    transparentColor_ = value;
    transparentMode_ = value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
    if (value == transparentMode_)
        return;
    if (value == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(TransparentColor());
}

void TBitmap::Changed() {
    TGraphic::Changed();
}

void TBitmap::SetPixels32(int width, int height, const std::uint32_t* pixels) {
    pixelFormat_ = pf32bit;
    NewImage(width, height, 32, false);
    if (!Empty() && pixels)
        for (int y = 0; y < height_; ++y)
            std::memcpy(ScanLine(y), pixels + static_cast<size_t>(y) * width_, static_cast<size_t>(width_) * 4);
    Changed();
}

void TBitmap::Assign(TPersistent* Source) {
    if (!Source) {
        NewImage(0, 0, BitsPerPixel(), false);
        Changed();
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        if (b == this)
            return;
        pixelFormat_ = b->pixelFormat_;
        NewImage(b->width_, b->height_, b->BitsPerPixel(), false);
        if (!Empty()) {
            ::GdiFlush();
            std::memcpy(bits_, b->bits_, static_cast<size_t>(BytesPerScanLine()) * height_);
        }
        transparentMode_ = b->transparentMode_;
        transparentColor_ = b->transparentColor_;
        AlphaFormat = b->AlphaFormat;
        if (Transparent() != b->Transparent())
            TGraphic::SetTransparent(b->Transparent());
        Changed();
        return;
    }
    if (auto* icon = dynamic_cast<TIcon*>(Source)) {
        pixelFormat_ = pf32bit;
        NewImage(icon->Width(), icon->Height(), 32, false);
        if (!Empty())
            ::DrawIconEx(CanvasDC(), 0, 0, icon->Handle(), width_, height_, 0, nullptr, DI_NORMAL);
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::SetHandle(HBITMAP bitmap) {
    if (!bitmap) {
        NewImage(0, 0, BitsPerPixel(), false);
        Changed();
        return;
    }
    if (bitmap == bitmap_.Get())
        return;
    TGdiBitmap owned(bitmap);
    LoadFromHBitmap(bitmap);
}

void TBitmap::LoadFromHBitmap(HBITMAP source) {
    BITMAP bm{};
    if (::GetObjectW(source, sizeof bm, &bm) == 0)
        throw EInvalidGraphic(L"Bitmap image is not valid");
    int bpp = bm.bmBitsPixel == 24 ? 24 : 32;
    TPixelFormat format = bpp == 24 ? pf24bit : pf32bit;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(bpp);
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> pixels(static_cast<size_t>(((bm.bmWidth * bpp + 31) / 32) * 4) *
                                     static_cast<size_t>(std::max<LONG>(bm.bmHeight, 0)));
    TClientDC screen(nullptr);
    if (pixels.empty() ||
        ::GetDIBits(screen, source, 0, static_cast<UINT>(bm.bmHeight), pixels.data(), &bi, DIB_RGB_COLORS) == 0)
        throw EInvalidGraphic(L"Bitmap image is not valid");
    pixelFormat_ = format;
    NewImage(bm.bmWidth, bm.bmHeight, bpp, false);
    std::memcpy(bits_, pixels.data(), pixels.size());
    Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
    FreeCanvasDC();
    HBITMAP h = bitmap_.Detach();
    bits_ = nullptr;
    width_ = height_ = 0;
    Changed();
    return h;
}

void TBitmap::LoadFromStream(TStream* stream) {
    const std::int64_t start = stream->Position();
    std::string rest = stream->ReadAll();
    size_t length = rest.size();
    auto u32 = [&](size_t off) -> std::uint32_t {
        if (off + 4 > rest.size())
            return 0;
        const auto* b = reinterpret_cast<const std::uint8_t*>(rest.data() + off);
        return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    };
    if (rest.size() >= 2 && rest[0] == 'B' && rest[1] == 'M') {
        // A BMP file image: take exactly its length so that data after it stays in the stream.
        std::uint32_t fileSize = u32(2);
        if (fileSize >= 14 + 12 && fileSize <= rest.size()) {
            length = fileSize;
        } else if (rest.size() >= 14 + 40) {
            // A wrong size field: compute from the info header instead.
            std::uint32_t offBits = u32(10);
            std::int32_t w = static_cast<std::int32_t>(u32(18));
            std::int32_t h = static_cast<std::int32_t>(u32(22));
            std::uint32_t bpp = u32(28) & 0xFFFF;
            std::uint32_t imageSize = u32(34);
            std::uint64_t rowBytes =
                ((static_cast<std::uint64_t>(w < 0 ? -static_cast<std::int64_t>(w) : w) * bpp + 31) / 32) * 4;
            std::uint64_t need =
                offBits + (imageSize
                               ? imageSize
                               : rowBytes * static_cast<std::uint64_t>(h < 0 ? -static_cast<std::int64_t>(h) : h));
            length = static_cast<size_t>(std::min<std::uint64_t>(need, rest.size()));
        }
    }
    TDecodedImage img;
    try {
        img = DecodeImage(rest.data(), length);
    } catch (...) {
        stream->SetPosition(start);
        throw;
    }
    stream->SetPosition(start + static_cast<std::int64_t>(length));
    pixelFormat_ = img.BitsPerPixel == 24 ? pf24bit : pf32bit;
    NewImage(img.Width, img.Height, img.BitsPerPixel, false);
    const size_t rowBytes = static_cast<size_t>(img.Width) * img.BitsPerPixel / 8;
    for (int y = 0; y < img.Height; ++y)
        std::memcpy(ScanLine(y), img.Pixels.data() + static_cast<size_t>(y) * img.Stride, rowBytes);
    Changed();
}

void TBitmap::SaveToStream(TStream* stream) {
    if (Empty())
        return;
    ::GdiFlush();
    const std::uint32_t imageSize = static_cast<std::uint32_t>(BytesPerScanLine()) * height_;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    fh.bfSize = fh.bfOffBits + imageSize;
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = width_;
    ih.biHeight = height_;
    ih.biPlanes = 1;
    ih.biBitCount = static_cast<WORD>(BitsPerPixel());
    ih.biCompression = BI_RGB;
    ih.biSizeImage = imageSize;
    stream->WriteBuffer(&fh, sizeof fh);
    stream->WriteBuffer(&ih, sizeof ih);
    stream->WriteBuffer(bits_, static_cast<std::int32_t>(imageSize));
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
    HANDLE h = ::LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!h)
        throw EResNotFound(Format(L"Resource %s not found", name));
    SetHandle(static_cast<HBITMAP>(h));
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
    HANDLE h = ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!h)
        throw EResNotFound(Format(L"Resource %d not found", id));
    SetHandle(static_cast<HBITMAP>(h));
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) {
    if (Empty())
        return;
    HDC dst = canvas->Handle();
    if (!dst)
        NoDrawing();
    HDC src = CanvasDC();
    ::GdiFlush();
    const bool stretch = rect.Width() != width_ || rect.Height() != height_;
    int oldMode = stretch ? ::SetStretchBltMode(dst, COLORONCOLOR) : 0;
    if (Transparent()) {
        ::TransparentBlt(dst, rect.Left, rect.Top, rect.Width(), rect.Height(), src, 0, 0, width_, height_,
                         ColorToRGB(TransparentColor()) & 0xFFFFFF);
    } else if (BitsPerPixel() == 32 && AlphaFormat != afIgnored) {
        BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        if (AlphaFormat == afPremultiplied) {
            ::AlphaBlend(dst, rect.Left, rect.Top, rect.Width(), rect.Height(), src, 0, 0, width_, height_, bf);
        } else {
            // AlphaBlend wants premultiplied colour: blend from a premultiplied copy.
            TBitmap copy;
            copy.Assign(this);
            copy.AlphaFormat = afIgnored;
            for (int y = 0; y < height_; ++y) {
                auto* p = static_cast<std::uint8_t*>(copy.ScanLine(y));
                for (int x = 0; x < width_; ++x, p += 4) {
                    unsigned a = p[3];
                    p[0] = static_cast<std::uint8_t>((p[0] * a + 127) / 255);
                    p[1] = static_cast<std::uint8_t>((p[1] * a + 127) / 255);
                    p[2] = static_cast<std::uint8_t>((p[2] * a + 127) / 255);
                }
            }
            ::AlphaBlend(dst, rect.Left, rect.Top, rect.Width(), rect.Height(), copy.CanvasDC(), 0, 0, width_, height_,
                         bf);
        }
    } else {
        ::StretchBlt(dst, rect.Left, rect.Top, rect.Width(), rect.Height(), src, 0, 0, width_, height_,
                     canvas->CopyMode());
    }
    if (stretch)
        ::SetStretchBltMode(dst, oldMode);
}

// ---- TIcon ---------------------------------------------------------------------------------------------------------
namespace {

#pragma pack(push, 1)
struct IconDirEntry {
    std::uint8_t width, height, colors, reserved;
    std::uint16_t planes, bitCount;  // cursors: hot spot x, y
    std::uint32_t bytes, offset;
};
#pragma pack(pop)
static_assert(sizeof(IconDirEntry) == 16);

constexpr std::uint32_t kMaxIconFile = 16 * 1024 * 1024;

[[noreturn]] void BadIcon() {
    throw EInvalidGraphic(L"Icon image is not valid");
}

void IconSize(HICON icon, int& w, int& h) {
    ICONINFO ii{};
    w = h = 0;
    if (!::GetIconInfo(icon, &ii))
        return;
    TGdiBitmap color(ii.hbmColor), mask(ii.hbmMask);  // GetIconInfo hands both over to us
    BITMAP bm{};
    if (color && ::GetObjectW(color.Get(), sizeof bm, &bm)) {
        w = bm.bmWidth;
        h = bm.bmHeight;
    } else if (mask && ::GetObjectW(mask.Get(), sizeof bm, &bm)) {
        w = bm.bmWidth;
        h = bm.bmHeight / 2;  // monochrome icons stack the AND and XOR masks
    }
}

}  // namespace

TIcon::TIcon() {
    TGraphic::SetTransparent(true);
    Modified = false;
}

TIcon::~TIcon() = default;

void TIcon::Assign(TPersistent* Source) {
    if (!Source) {
        icon_.Reset();
        data_.clear();
        width_ = height_ = 0;
        Changed();
        return;
    }
    if (auto* src = dynamic_cast<TIcon*>(Source)) {
        if (src == this)
            return;
        if (!src->data_.empty()) {
            requestedWidth_ = src->requestedWidth_;
            requestedHeight_ = src->requestedHeight_;
            TMemoryStream m;
            m.WriteBuffer(src->data_.data(), static_cast<std::int32_t>(src->data_.size()));
            m.SetPosition(0);
            LoadFromStream(&m);
        } else if (src->icon_) {
            SetHandle(::CopyIcon(src->icon_.Get()));
        } else {
            Assign(nullptr);
        }
        return;
    }
    TGraphic::Assign(Source);
}

void TIcon::SetWidth(int value) {
    requestedWidth_ = std::max(value, 0);
}

void TIcon::SetHeight(int value) {
    requestedHeight_ = std::max(value, 0);
}

void TIcon::SetHandle(HICON icon) {
    if (icon == icon_.Get())
        return;
    icon_.Reset(icon);
    data_.clear();
    IconSize(icon, width_, height_);
    Changed();
}

HICON TIcon::ReleaseHandle() {
    data_.clear();
    width_ = height_ = 0;
    HICON h = icon_.Detach();
    Changed();
    return h;
}

void TIcon::LoadFromStream(TStream* stream) {
    std::uint8_t header[6];
    stream->ReadBuffer(header, 6);
    const std::uint16_t reserved = header[0] | (header[1] << 8);
    const std::uint16_t type = header[2] | (header[3] << 8);
    const std::uint16_t count = header[4] | (header[5] << 8);
    if (reserved != 0 || (type != 1 && type != 2) || count == 0)
        BadIcon();
    std::vector<IconDirEntry> dir(count);
    stream->ReadBuffer(dir.data(), static_cast<std::int32_t>(count * sizeof(IconDirEntry)));
    const std::uint32_t dirEnd = 6 + count * 16u;
    std::uint32_t end = dirEnd;
    for (const auto& e : dir) {
        if (e.offset < dirEnd || e.bytes == 0 || e.bytes > kMaxIconFile || e.offset > kMaxIconFile - e.bytes)
            BadIcon();
        end = std::max(end, e.offset + e.bytes);
    }
    std::string data(end, '\0');
    std::memcpy(data.data(), header, 6);
    std::memcpy(data.data() + 6, dir.data(), count * sizeof(IconDirEntry));
    if (end > dirEnd) {
        try {
            stream->ReadBuffer(data.data() + dirEnd, static_cast<std::int32_t>(end - dirEnd));
        } catch (const EReadError&) {
            BadIcon();
        }
    }
    // The entry closest to the wanted size, then the one with the most colours.
    const int want = requestedWidth_ > 0 ? requestedWidth_ : ::GetSystemMetrics(SM_CXICON);
    int best = 0;
    auto side = [](std::uint8_t v) { return v == 0 ? 256 : static_cast<int>(v); };
    auto depth = [&](const IconDirEntry& e) {
        return type == 1 && e.bitCount ? static_cast<int>(e.bitCount) : (e.colors ? 0 : 32);
    };
    for (int i = 1; i < count; ++i) {
        int di = std::abs(side(dir[i].width) - want), db = std::abs(side(dir[best].width) - want);
        if (di < db || (di == db && depth(dir[i]) > depth(dir[best])))
            best = i;
    }
    const IconDirEntry& e = dir[best];
    std::string image;
    if (type == 2) {  // cursor images start with their hot spot in the resource format
        image.resize(4);
        image[0] = static_cast<char>(e.planes & 0xFF);
        image[1] = static_cast<char>(e.planes >> 8);
        image[2] = static_cast<char>(e.bitCount & 0xFF);
        image[3] = static_cast<char>(e.bitCount >> 8);
    }
    image.append(data, e.offset, e.bytes);
    const int w = side(e.width), h = side(e.height);
    HICON icon = ::CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image.data()), static_cast<DWORD>(image.size()),
                                            type == 1, 0x00030000, w, h, LR_DEFAULTCOLOR);
    if (!icon)
        BadIcon();
    icon_.Reset(icon);
    data_ = std::move(data);
    width_ = w;
    height_ = h;
    Changed();
}

void TIcon::SaveToStream(TStream* stream) {
    if (!data_.empty()) {
        stream->WriteBuffer(data_.data(), static_cast<std::int32_t>(data_.size()));
        return;
    }
    if (!icon_)
        return;
    // A single 32-bit entry built from the handle's colour and mask bitmaps.
    ICONINFO ii{};
    if (!::GetIconInfo(icon_.Get(), &ii))
        throw EInvalidGraphicOperation(L"Invalid icon");
    TGdiBitmap color(ii.hbmColor), mask(ii.hbmMask);
    const int w = width_, h = height_;
    if (w <= 0 || h <= 0 || w > 256 || h > 256)
        throw EInvalidGraphicOperation(L"Invalid icon");
    TClientDC screen(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> xorBits(static_cast<size_t>(w) * h * 4);
    if (color) {
        ::GetDIBits(screen, color.Get(), 0, static_cast<UINT>(h), xorBits.data(), &bi, DIB_RGB_COLORS);
    }
    const int maskStride = ((w + 31) / 32) * 4;
    std::vector<std::uint8_t> andBits(static_cast<size_t>(maskStride) * h);
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD c[2];
    } mbi{};
    mbi.h = bi.bmiHeader;
    mbi.h.biBitCount = 1;
    ::GetDIBits(screen, mask.Get(), 0, static_cast<UINT>(h), andBits.data(), reinterpret_cast<BITMAPINFO*>(&mbi),
                DIB_RGB_COLORS);
    // Colour icons without alpha get it from the mask.
    bool anyAlpha = false;
    for (size_t i = 3; i < xorBits.size(); i += 4)
        anyAlpha |= xorBits[i] != 0;
    if (!anyAlpha)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bool transparent = andBits[static_cast<size_t>(y) * maskStride + x / 8] & (0x80 >> (x % 8));
                xorBits[(static_cast<size_t>(y) * w + x) * 4 + 3] = transparent ? 0 : 255;
            }
    BITMAPINFOHEADER ih = bi.bmiHeader;
    ih.biHeight = h * 2;
    ih.biSizeImage = static_cast<DWORD>(xorBits.size() + andBits.size());
    const std::uint32_t bytes = sizeof ih + ih.biSizeImage;
    std::uint8_t head[6] = {0, 0, 1, 0, 1, 0};
    IconDirEntry e{static_cast<std::uint8_t>(w == 256 ? 0 : w),
                   static_cast<std::uint8_t>(h == 256 ? 0 : h),
                   0,
                   0,
                   1,
                   32,
                   bytes,
                   22};
    stream->WriteBuffer(head, 6);
    stream->WriteBuffer(&e, sizeof e);
    stream->WriteBuffer(&ih, sizeof ih);
    stream->WriteBuffer(xorBits.data(), static_cast<std::int32_t>(xorBits.size()));
    stream->WriteBuffer(andBits.data(), static_cast<std::int32_t>(andBits.size()));
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
    HICON icon = static_cast<HICON>(::LoadImageW(instance, name.c_str(), IMAGE_ICON, requestedWidth_, requestedHeight_,
                                                 requestedWidth_ ? 0 : LR_DEFAULTSIZE));
    if (!icon)
        throw EResNotFound(Format(L"Resource %s not found", name));
    SetHandle(icon);
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect) {
    if (!icon_)
        return;
    HDC dc = canvas->Handle();
    if (!dc)
        NoDrawing();
    ::DrawIconEx(dc, rect.Left, rect.Top, icon_.Get(), rect.Width(), rect.Height(), 0, nullptr, DI_NORMAL);
}

// ---- TPicture ------------------------------------------------------------------------------------------------------
TPicture::TPicture() = default;

TPicture::~TPicture() {
    if (graphic_)
        graphic_->OnChange = nullptr;
}

void TPicture::Take(std::unique_ptr<TGraphic> graphic) {
    if (graphic_)
        graphic_->OnChange = nullptr;
    graphic_ = std::move(graphic);
    if (graphic_)
        graphic_->OnChange = [this](TObject*) { GraphicChanged(); };
    GraphicChanged();
}

void TPicture::GraphicChanged() {
    if (OnChange)
        OnChange(this);
}

void TPicture::SetGraphic(TGraphic* value) {
    if (!value) {
        Take(nullptr);
        return;
    }
    if (value == graphic_.get())
        return;
    std::unique_ptr<TGraphic> copy = value->CreateNew();
    if (!copy)
        throw EInvalidGraphic(Format(L"Cannot copy a %s", value->ClassName()));
    copy->Assign(value);
    Take(std::move(copy));
}

void TPicture::Assign(TPersistent* Source) {
    if (!Source) {
        Take(nullptr);
        return;
    }
    if (auto* p = dynamic_cast<TPicture*>(Source)) {
        if (p != this)
            SetGraphic(p->graphic_.get());
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        SetGraphic(g);
        return;
    }
    TPersistent::Assign(Source);
}

TBitmap* TPicture::Bitmap() {
    if (!dynamic_cast<TBitmap*>(graphic_.get()))
        Take(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(graphic_.get());
}

TIcon* TPicture::Icon() {
    if (!dynamic_cast<TIcon*>(graphic_.get()))
        Take(std::make_unique<TIcon>());
    return static_cast<TIcon*>(graphic_.get());
}

void TPicture::LoadFromFile(const std::wstring& fileName) {
    std::wstring ext = LowerCase(ExtractFileExt(fileName));
    std::unique_ptr<TGraphic> g;
    if (ext == L".ico" || ext == L".cur")
        g = std::make_unique<TIcon>();
    else
        g = std::make_unique<TBitmap>();
    g->LoadFromFile(fileName);
    Take(std::move(g));
}

void TPicture::SaveToFile(const std::wstring& fileName) {
    if (graphic_)
        graphic_->SaveToFile(fileName);
}
