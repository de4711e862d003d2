// Colours, GDI drawing objects, the canvas and the graphic classes of the class library.
// Index: TColor (+ cl* constants, ColorToRGB), TGraphicsObject, TFont, TPen, TBrush, TCanvas, TCanvasClipGuard,
// TGraphic, TBitmap, TIcon, TPicture.
//
// Ownership: every object owns its GDI handle (TFont/TPen/TBrush create theirs on first use of Handle() and
// recreate it after a change); a TCanvas only borrows the HDC it is given and selects its font, pen and brush into
// it as drawing needs them, putting the DC's original objects back when the handle changes or the canvas dies.
// A handle taken from TFont/TPen/TBrush::Handle() stays valid until the object's next change.
// TextOut and DrawText are also windows.h macro names (TextOutW/DrawTextW); this header includes windows.h first,
// so the members carry the same name in every translation unit and calls such as Canvas->TextOut(...) just work.
// GUI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/GdiHandles.h"
#include "classlib/Types.h"

// ---- Colours ----------------------------------------------------------------------------------------------------
// 0x00BBGGRR; system colours are 0xFF000000 + the COLOR_* index; clNone and clDefault are markers.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080, clNavy = 0x800000,
                 clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF,
                 clLime = 0x00FF00, clYellow = 0x00FFFF, clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
                 clWhite = 0xFFFFFF, clLtGray = 0xC0C0C0, clDkGray = 0x808080, clMoneyGreen = 0xC0DCC0,
                 clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;

constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR, clBackground = clSystemColor | COLOR_BACKGROUND,
                 clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION,
                 clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION, clMenu = clSystemColor | COLOR_MENU,
                 clWindow = clSystemColor | COLOR_WINDOW, clWindowFrame = clSystemColor | COLOR_WINDOWFRAME,
                 clMenuText = clSystemColor | COLOR_MENUTEXT, clWindowText = clSystemColor | COLOR_WINDOWTEXT,
                 clCaptionText = clSystemColor | COLOR_CAPTIONTEXT, clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER,
                 clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER,
                 clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE, clHighlight = clSystemColor | COLOR_HIGHLIGHT,
                 clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT, clBtnFace = clSystemColor | COLOR_BTNFACE,
                 clBtnShadow = clSystemColor | COLOR_BTNSHADOW, clGrayText = clSystemColor | COLOR_GRAYTEXT,
                 clBtnText = clSystemColor | COLOR_BTNTEXT,
                 clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT,
                 clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT, cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW,
                 cl3DLight = clSystemColor | COLOR_3DLIGHT, clInfoText = clSystemColor | COLOR_INFOTEXT,
                 clInfoBk = clSystemColor | COLOR_INFOBK, clHotLight = clSystemColor | COLOR_HOTLIGHT,
                 clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION,
                 clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION,
                 clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT, clMenuBar = clSystemColor | COLOR_MENUBAR;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr bool IsSystemColor(TColor c) {
    return (c & 0xFF000000) == clSystemColor;
}
// System colours resolved through GetSysColor; other values unchanged (clNone/clDefault included).
TColor ColorToRGB(TColor color);
constexpr TColor RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor{r} | (TColor{g} << 8) | (TColor{b} << 16);
}

// ---- Drawing objects --------------------------------------------------------------------------------------------
// Base of font, pen and brush: OnChange is raised after every change of a property.
class TGraphicsObject : public TPersistent {
  public:
    TNotifyEvent OnChange;

  protected:
    virtual void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;

// Font defaults: "Tahoma", Height 13 (cell height, LOGFONT convention: negative = character height), no style,
// clWindowText, DEFAULT_CHARSET.
class TFont : public TGraphicsObject {
  public:
    TFont();
    ~TFont() override;
    void Assign(TPersistent* Source) override;

    // The font, created on first use and after each change; owned by this object (do not delete it).
    HFONT Handle();
    // Takes the description of an existing font (the handle stays the caller's).
    void SetHandle(HFONT font);

    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& value);
    int Height() const { return height_; }
    void SetHeight(int value);
    // Points: -Height * 72 / PixelsPerInch, rounded; setting gives Height = -Size * PixelsPerInch / 72.
    int Size() const;
    void SetSize(int value);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset value);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch value);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int value) { pixelsPerInch_ = value > 0 ? value : 96; }

    bool operator==(const TFont& o) const;  // same description (handle not compared)

  private:
    void FontChanged();  // notify, then drop the stale handle
    std::wstring name_ = L"Tahoma";
    int height_ = 13;
    TFontStyles style_;
    TColor color_ = clWindowText;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    int pixelsPerInch_;
    TGdiFont handle_;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

// Defaults: clBlack, width 1, psSolid, pmCopy.
class TPen : public TGraphicsObject {
  public:
    TPen() = default;
    ~TPen() override;
    void Assign(TPersistent* Source) override;
    HPEN Handle();  // owned
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int Width() const { return width_; }
    void SetWidth(int value);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle value);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode value);  // applied by the canvas as the raster operation (SetROP2)

  private:
    void PenChanged(bool handleStale);
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    TGdiPen handle_;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// Defaults: clWhite, bsSolid.
class TBrush : public TGraphicsObject {
  public:
    TBrush() = default;
    ~TBrush() override;
    void Assign(TPersistent* Source) override;
    HBRUSH Handle();  // owned; the null brush for bsClear
    TColor Color() const { return color_; }
    void SetColor(TColor value);  // a colour other than clNone makes a bsClear brush solid again
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle value);

  private:
    void BrushChanged();
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TGdiBrush handle_;
};

// ---- Canvas -------------------------------------------------------------------------------------------------------
class TGraphic;

// Raster operations for CopyRect (BitBlt codes).
using TCopyMode = std::uint32_t;
constexpr TCopyMode cmBlackness = BLACKNESS, cmDstInvert = DSTINVERT, cmMergeCopy = MERGECOPY,
                    cmMergePaint = MERGEPAINT, cmNotSrcCopy = NOTSRCCOPY, cmNotSrcErase = NOTSRCERASE,
                    cmPatCopy = PATCOPY, cmPatInvert = PATINVERT, cmPatPaint = PATPAINT, cmSrcAnd = SRCAND,
                    cmSrcCopy = SRCCOPY, cmSrcErase = SRCERASE, cmSrcInvert = SRCINVERT, cmSrcPaint = SRCPAINT,
                    cmWhiteness = WHITENESS;

class TCanvas : public TPersistent {
  public:
    TCanvas();
    ~TCanvas() override;

    // The DC (borrowed). When none is set, CreateHandle is asked for one (descendants such as a control canvas
    // get theirs there); drawing without a DC fails with EInvalidOperation "Canvas does not allow drawing".
    HDC Handle();
    // Sets the DC to draw on (borrowed; nullptr detaches). The objects selected into the previous DC are put back.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont* Font() { return font_.get(); }
    TPen* Pen() { return pen_.get(); }
    TBrush* Brush() { return brush_.get(); }
    void SetFont(TFont* value) { font_->Assign(value); }
    void SetPen(TPen* value) { pen_->Assign(value); }
    void SetBrush(TBrush* value) { brush_->Assign(value); }
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode value) { copyMode_ = value; }
    // ExtTextOut options used by TextOut/TextRect (ETO_OPAQUE, ETO_CLIPPED, ETO_RTLREADING).
    std::uint32_t TextFlags = 0;

    TPoint PenPos();
    void SetPenPos(TPoint p);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);  // Pen from PenPos to (x, y), the end point excluded
    void Polyline(const TPoint* points, int count);
    void Polyline(const std::vector<TPoint>& points) { Polyline(points.data(), static_cast<int>(points.size())); }
    void Polygon(const TPoint* points, int count);
    void Polygon(const std::vector<TPoint>& points) { Polygon(points.data(), static_cast<int>(points.size())); }

    void FillRect(const TRect& r);                   // Brush; right and bottom edges excluded
    void FrameRect(const TRect& r);                  // one-pixel frame in the brush, inside r
    void Rectangle(int x1, int y1, int x2, int y2);  // outline Pen, filled Brush
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void DrawFocusRect(const TRect& r);

    // Text in Font; the background is Brush unless its style is bsClear (then transparent).
    void TextOut(int x, int y, const std::wstring& text);
    // TextOut clipped to r.
    void TextRect(const TRect& r, int x, int y, const std::wstring& text);
    // DrawTextW of text in r with the DT_* flags; returns DrawText's result (with DT_CALCRECT r becomes the text
    // rectangle).
    int DrawText(const std::wstring& text, TRect& r, std::uint32_t flags);
    TSize TextExtent(const std::wstring& text);
    int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
    int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }

    // Graphics: at (x, y) in its own size, or stretched into r; honours the graphic's transparency.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    // Copies source's rectangle src into dest here with CopyMode, stretching when the sizes differ.
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& src);

    TColor Pixels(int x, int y);  // GetPixel; CLR_INVALID (0xFFFFFFFF) outside the clip or the surface
    void SetPixel(int x, int y, TColor color);

    // Clipping, in the DC's logical coordinates (SetClipRegion: device coordinates, as SelectClipRgn).
    // ClipRect is the box of the visible area.
    TRect ClipRect();
    // (Named apart from ::IntersectClipRect/::ExcludeClipRect so that canvas descendants can still call those.)
    void ClipTo(const TRect& r);       // intersects the clip with r
    void ExcludeClip(const TRect& r);  // removes r from the clip
    void SetClipRect(const TRect& r);
    void SetClipRegion(HRGN region);  // copied by the system; nullptr removes clipping

    // Forgets which objects are selected so that the next drawing selects them again (after someone else
    // changed the DC).
    void Refresh();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

  protected:
    virtual void CreateHandle() {}
    void Changing();
    void Changed();
    // Selects what drawing needs (font/pen/brush) into the DC; throws when there is no DC.
    enum : unsigned { kNeedFont = 1, kNeedPen = 2, kNeedBrush = 4 };
    HDC RequiredState(unsigned need);

  private:
    void DeselectHandles();
    HDC dc_ = nullptr;  // borrowed
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    unsigned selected_ = 0;  // kNeed* bits whose object is selected into dc_
    HGDIOBJ oldFont_ = nullptr, oldPen_ = nullptr, oldBrush_ = nullptr;
    TPoint penPos_{};
    TCopyMode copyMode_ = cmSrcCopy;
};

// Saves a canvas's clip region and puts it back on destruction.
class TCanvasClipGuard {
  public:
    explicit TCanvasClipGuard(TCanvas* canvas);
    ~TCanvasClipGuard();
    TCanvasClipGuard(const TCanvasClipGuard&) = delete;
    TCanvasClipGuard& operator=(const TCanvasClipGuard&) = delete;

  private:
    HDC dc_;
    TGdiRegion saved_;  // empty when the DC had no clip region
};

// ---- Graphics -----------------------------------------------------------------------------------------------------
class TGraphic : public TPersistent {
  public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;
    virtual void SetSize(int width, int height) {
        SetWidth(width);
        SetHeight(height);
    }
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value);
    // Stream formats: see each class. Errors: EInvalidGraphic for undecodable data, stream errors otherwise.
    virtual void LoadFromStream(TStream* stream) = 0;
    virtual void SaveToStream(TStream* stream) = 0;
    // A new empty graphic of the same class (TPicture copies graphics through it); nullptr when not supported.
    virtual std::unique_ptr<TGraphic> CreateNew() const { return nullptr; }
    void LoadFromFile(const std::wstring& fileName);
    // Writes through a temporary file: a failed save leaves an existing file unchanged.
    void SaveToFile(const std::wstring& fileName);
    bool Modified = false;
    TNotifyEvent OnChange;

  protected:
    friend class TCanvas;
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
    virtual void Changed();

  private:
    bool transparent_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };

// A device-independent bitmap (DIB section, bottom-up rows as GDI lays them out). PixelFormat pf24bit or pf32bit;
// pfDevice (the default) is kept as 32 bits per pixel. Loading decodes BMP, PNG, ICO, GIF, JPEG and TIFF through
// WIC; saving writes BMP. TransparentColor in tmAuto is the bottom-left pixel's colour.
class TBitmap : public TGraphic {
  public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pfDevice);
    ~TBitmap() override;
    void Assign(TPersistent* Source) override;  // a bitmap (deep copy), an icon, or nullptr (empties)

    bool Empty() const override { return width_ == 0 || height_ == 0; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int value) override { SetSize(value, height_); }
    void SetHeight(int value) override { SetSize(width_, value); }
    // Keeps the overlapping part of the old image; new pixels are white.
    void SetSize(int width, int height) override;
    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat value);  // converts the pixels; formats other than device/24/32 are refused
    int BitsPerPixel() const { return pixelFormat_ == pf24bit ? 24 : 32; }
    // How Draw treats the alpha byte of a 32-bit bitmap: ignored (default), straight or premultiplied alpha.
    TAlphaFormat AlphaFormat = afIgnored;

    // The DIB section (owned). SetHandle takes ownership of any bitmap: its pixels are copied into a new DIB of
    // the same size, the given handle is deleted. ReleaseHandle hands the DIB over to the caller and empties.
    HBITMAP Handle() const { return bitmap_.Get(); }
    void SetHandle(HBITMAP bitmap);
    [[nodiscard]] HBITMAP ReleaseHandle();

    TCanvas* Canvas();
    // Row y from the top; rows are 4-byte aligned (BytesPerScanLine). EInvalidGraphicOperation
    // "Scan line index out of range" when y is outside.
    void* ScanLine(int y);
    int BytesPerScanLine() const;

    TColor TransparentColor();
    void SetTransparentColor(TColor value);  // switches to tmFixed
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode value);

    // Reads one image at the stream's position: a BMP file image (exactly its length, so several may follow
    // each other) or any other WIC format (the rest of the stream). EInvalidGraphic for undecodable data; the
    // bitmap is unchanged then.
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;  // BMP file image, 24 or 32 bits per pixel; nothing when empty
    std::unique_ptr<TGraphic> CreateNew() const override { return std::make_unique<TBitmap>(); }
    // RT_BITMAP resources. EResNotFound when missing.
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
    void LoadFromResourceID(HINSTANCE instance, int id);
    // 32-bit pixels as BGRA, top-down; the bitmap becomes pf32bit.
    void SetPixels32(int width, int height, const std::uint32_t* pixels);

  protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;
    void Changed() override;

  private:
    friend class TBitmapCanvas;
    void NewImage(int width, int height, int bpp, bool keepPixels);
    HDC CanvasDC();
    void FreeCanvasDC();
    void LoadFromHBitmap(HBITMAP source);
    static int BitsPerPixelOf(const TGdiBitmap& bitmap);
    int width_ = 0;
    int height_ = 0;
    TPixelFormat pixelFormat_ = pfDevice;
    TGdiBitmap bitmap_;
    std::uint8_t* bits_ = nullptr;  // borrowed view of the DIB's pixels
    std::unique_ptr<TCanvas> canvas_;
    std::unique_ptr<TMemoryDC> canvasDC_;
    TTransparentMode transparentMode_ = tmAuto;
    TColor transparentColor_ = clDefault;
};

// An icon or cursor image (HICON owned). Loading reads the .ico/.cur format and picks the entry closest to the
// requested size (else the system's large-icon size) with the most colours; saving writes the bytes it was loaded
// from, or a 32-bit .ico made from the handle.
class TIcon : public TGraphic {
  public:
    TIcon();
    ~TIcon() override;
    void Assign(TPersistent* Source) override;
    bool Empty() const override { return !icon_; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int value) override;  // the size to pick from a multi-size file; loaded icons are not resized
    void SetHeight(int value) override;
    HICON Handle() const { return icon_.Get(); }
    void SetHandle(HICON icon);  // takes ownership
    [[nodiscard]] HICON ReleaseHandle();
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;
    std::unique_ptr<TGraphic> CreateNew() const override { return std::make_unique<TIcon>(); }
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);

  protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;

  private:
    TIconHandle icon_;
    int width_ = 0;
    int height_ = 0;
    int requestedWidth_ = 0;
    int requestedHeight_ = 0;
    std::string data_;  // the .ico bytes when loaded from a stream
};

// Holder of one graphic of any class. Bitmap()/Icon() replace the graphic by an empty one of that class unless
// it already is one.
class TPicture : public TPersistent {
  public:
    TPicture();
    ~TPicture() override;
    void Assign(TPersistent* Source) override;  // a picture or a graphic (copied), nullptr empties
    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(TGraphic* value);  // copies
    TBitmap* Bitmap();
    TIcon* Icon();
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }
    // ".ico" files become an icon, everything else a bitmap (decoded through WIC).
    void LoadFromFile(const std::wstring& fileName);
    void SaveToFile(const std::wstring& fileName);
    TNotifyEvent OnChange;

  private:
    void Take(std::unique_ptr<TGraphic> graphic);
    void GraphicChanged();
    std::unique_ptr<TGraphic> graphic_;
};
