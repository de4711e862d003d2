// A thin object layer over the flat GDI+ interface of gdiplus.dll: one class per GDI+ object kind, each holding
// the native handle and the status of its last failing call.
// Index: TGPImageFormat, TGdiplusBase, TGPImage, TGPBrush, TGPSolidBrush, TGPHatchBrush, TGPLinearGradientBrush,
// TGPTextureBrush, TGPPen, TGPMatrix, TGPFontCollection, TGPFontFamily, TGPFont, TGPStringFormat, TGPGraphicsPath,
// TGPRegion, TGPImageAttributes, TGPGraphics, GdiplusArgb, GdiplusStartOnce, GdiplusStarted, GdiplusLiveObjects.
//
// Every object lives in memory from GdipAlloc; the first allocation starts GDI+ when nobody did (start-up is done
// once per program; the shutdown runs at program end once every object is gone). Failures never throw: a method
// returns the status and keeps it in the object until GetLastStatus reads it. GUI thread only.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

#include <cstddef>

#include "classlib/Graphics.h"

using TGPStatus = Gdiplus::Status;

enum TGPImageFormat { ifUndefined, ifMemoryBMP, ifBMP, ifEMF, ifWMF, ifJPEG, ifPNG, ifGIF, ifTIFF, ifEXIF, ifIcon };

// A class-library colour as GDI+ ARGB: system colours resolved, alpha 255.
Gdiplus::ARGB GdiplusArgb(TColor color);
// Starts GDI+ for the program when it is not started yet; false when the start-up failed.
bool GdiplusStartOnce();
// True once GDI+ runs (for tests of the start-up on demand).
bool GdiplusStarted();
// Number of layer objects alive.
long GdiplusLiveObjects();

class TGdiplusBase {
  public:
    // Memory from GdipAlloc; GDI+ is started on the first failing allocation and the allocation tried again.
    static void* operator new(std::size_t size);
    static void operator delete(void* p) noexcept;
    TGdiplusBase();
    virtual ~TGdiplusBase();
    TGdiplusBase(const TGdiplusBase&) = delete;
    TGdiplusBase& operator=(const TGdiplusBase&) = delete;

    // The last failing status, then Ok again.
    TGPStatus GetLastStatus() {
        TGPStatus s = lastResult;
        lastResult = Gdiplus::Ok;
        return s;
    }

  protected:
    // Stores a failing status; returns it unchanged.
    TGPStatus SetStatus(TGPStatus s) {
        if (s != Gdiplus::Ok)
            lastResult = s;
        return s;
    }
    TGPStatus lastResult = Gdiplus::Ok;
};

class TGPImageAttributes;

class TGPImage : public TGdiplusBase {
  public:
    // From a file or a COM stream (the embedded colour management flag picks the ...ICM load).
    TGPImage(const wchar_t* fileName, bool useEmbeddedColorManagement = false);
    TGPImage(IStream* stream, bool useEmbeddedColorManagement = false);
    TGPImage(Gdiplus::GpImage* native, TGPStatus status) : nativeImage(native) { SetStatus(status); }
    ~TGPImage() override;
    Gdiplus::GpImage* Native() const { return nativeImage; }
    TGPStatus LoadStatus() const { return loadStatus; }

    TGPImageFormat GetFormat();
    UINT GetWidth();
    UINT GetHeight();
    Gdiplus::PixelFormat GetPixelFormat();
    UINT GetPixelDepth() { return Gdiplus::GetPixelFormatSize(GetPixelFormat()); }
    bool HasAlphaChannel() { return (GetPixelFormat() & PixelFormatAlpha) != 0; }
    bool HasPalette() { return (GetPixelFormat() & PixelFormatIndexed) != 0; }
    // A new image (owned by the caller), nullptr on failure.
    TGPImage* GetThumbnailImage(UINT width, UINT height);
    TGPStatus Save(const wchar_t* fileName, const CLSID* encoder, const Gdiplus::EncoderParameters* params = nullptr);
    TGPStatus Save(IStream* stream, const CLSID* encoder, const Gdiplus::EncoderParameters* params = nullptr);
    TGPStatus SaveAdd(const Gdiplus::EncoderParameters* params);
    TGPStatus RotateFlip(Gdiplus::RotateFlipType type);

  private:
    Gdiplus::GpImage* nativeImage = nullptr;
    TGPStatus loadStatus = Gdiplus::Ok;
};

class TGPBrush : public TGdiplusBase {
  public:
    TGPBrush() = default;
    TGPBrush(Gdiplus::GpBrush* native, TGPStatus status) : nativeBrush(native) { SetStatus(status); }
    ~TGPBrush() override;
    Gdiplus::GpBrush* Native() const { return nativeBrush; }

  protected:
    Gdiplus::GpBrush* nativeBrush = nullptr;
};

class TGPSolidBrush : public TGPBrush {
  public:
    explicit TGPSolidBrush(Gdiplus::ARGB color);
    TGPSolidBrush() = default;
};

class TGPHatchBrush : public TGPBrush {
  public:
    TGPHatchBrush(Gdiplus::HatchStyle style, Gdiplus::ARGB fore, Gdiplus::ARGB back);
    TGPHatchBrush() = default;
    Gdiplus::HatchStyle GetHatchStyle();
    Gdiplus::ARGB GetForegroundColor();
    Gdiplus::ARGB GetBackgroundColor();
};

class TGPLinearGradientBrush : public TGPBrush {
  public:
    TGPLinearGradientBrush(const Gdiplus::PointF& p1, const Gdiplus::PointF& p2, Gdiplus::ARGB c1, Gdiplus::ARGB c2);
    TGPLinearGradientBrush(const Gdiplus::Point& p1, const Gdiplus::Point& p2, Gdiplus::ARGB c1, Gdiplus::ARGB c2);
    TGPLinearGradientBrush(const Gdiplus::RectF& r,
                           Gdiplus::ARGB c1,
                           Gdiplus::ARGB c2,
                           Gdiplus::LinearGradientMode mode);
    TGPLinearGradientBrush(const Gdiplus::Rect& r,
                           Gdiplus::ARGB c1,
                           Gdiplus::ARGB c2,
                           Gdiplus::LinearGradientMode mode);
    TGPLinearGradientBrush(const Gdiplus::RectF& r, Gdiplus::ARGB c1, Gdiplus::ARGB c2, float angle, bool scalable);
    TGPLinearGradientBrush(const Gdiplus::Rect& r, Gdiplus::ARGB c1, Gdiplus::ARGB c2, float angle, bool scalable);
    TGPStatus SetGammaCorrection(bool use);
    TGPStatus SetInterpolationColors(const Gdiplus::ARGB* colors, const float* positions, int count);
};

class TGPTextureBrush : public TGPBrush {
  public:
    TGPTextureBrush(TGPImage* image, Gdiplus::WrapMode mode = Gdiplus::WrapModeTile);
    TGPTextureBrush(TGPImage* image, Gdiplus::WrapMode mode, const Gdiplus::RectF& src);
    TGPTextureBrush(TGPImage* image, Gdiplus::WrapMode mode, const Gdiplus::Rect& src);
    TGPTextureBrush(TGPImage* image, const Gdiplus::RectF& src, TGPImageAttributes* attrs);
    TGPTextureBrush(TGPImage* image, const Gdiplus::Rect& src, TGPImageAttributes* attrs);
    TGPTextureBrush() = default;
    TGPStatus ResetTransform();
    TGPStatus TranslateTransform(float dx, float dy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus ScaleTransform(float sx, float sy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus RotateTransform(float angle, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus SetWrapMode(Gdiplus::WrapMode mode);
    Gdiplus::WrapMode GetWrapMode();
    TGPImage* GetImage();  // a new image owned by the caller, nullptr on failure
};

class TGPPen : public TGdiplusBase {
  public:
    TGPPen(Gdiplus::ARGB color, float width = 1.0f);
    TGPPen(TGPBrush* brush, float width = 1.0f);
    ~TGPPen() override;
    Gdiplus::GpPen* Native() const { return nativePen; }
    Gdiplus::PenType GetPenType();
    TGPBrush* GetBrush();  // a new brush of the fill's class owned by the caller, nullptr for other types
    TGPStatus SetBrush(TGPBrush* brush);
    Gdiplus::DashStyle GetDashStyle();
    TGPStatus SetDashStyle(Gdiplus::DashStyle style);
    TGPStatus SetEndCap(Gdiplus::LineCap cap);

  private:
    Gdiplus::GpPen* nativePen = nullptr;
};

class TGPMatrix : public TGdiplusBase {
  public:
    TGPMatrix();
    TGPMatrix(float m11, float m12, float m21, float m22, float dx, float dy);
    TGPMatrix(const Gdiplus::RectF& rect, const Gdiplus::PointF* dstplg);
    TGPMatrix(const Gdiplus::Rect& rect, const Gdiplus::Point* dstplg);
    explicit TGPMatrix(Gdiplus::GpMatrix* native) : nativeMatrix(native) {}
    ~TGPMatrix() override;
    Gdiplus::GpMatrix* Native() const { return nativeMatrix; }
    TGPMatrix* Clone();
    TGPStatus GetElements(float* m);
    TGPStatus SetElements(float m11, float m12, float m21, float m22, float dx, float dy);
    TGPStatus Reset() { return SetElements(1, 0, 0, 1, 0, 0); }
    float OffsetX();
    float OffsetY();
    TGPStatus Multiply(TGPMatrix* m, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus Translate(float x, float y, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus Scale(float x, float y, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus Rotate(float angle, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus RotateAt(float angle,
                       const Gdiplus::PointF& center,
                       Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus Shear(float x, float y, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus Invert();
    TGPStatus TransformPoints(Gdiplus::PointF* pts, int count);
    TGPStatus TransformPoints(Gdiplus::Point* pts, int count);
    TGPStatus TransformVectors(Gdiplus::PointF* pts, int count);
    TGPStatus TransformVectors(Gdiplus::Point* pts, int count);
    bool IsInvertible();
    bool IsIdentity();

  private:
    Gdiplus::GpMatrix* nativeMatrix = nullptr;
};

class TGPFontCollection : public TGdiplusBase {
  public:
    TGPFontCollection() = default;
    Gdiplus::GpFontCollection* Native() const { return nativeFontCollection; }

  protected:
    Gdiplus::GpFontCollection* nativeFontCollection = nullptr;
};

class TGPFontFamily : public TGdiplusBase {
  public:
    explicit TGPFontFamily(const wchar_t* name, TGPFontCollection* collection = nullptr);
    TGPFontFamily(Gdiplus::GpFontFamily* native, TGPStatus status) : nativeFamily(native) { SetStatus(status); }
    ~TGPFontFamily() override;
    Gdiplus::GpFontFamily* Native() const { return nativeFamily; }
    // New families owned by the caller.
    static TGPFontFamily* GenericSansSerif();
    static TGPFontFamily* GenericSerif();
    static TGPFontFamily* GenericMonospace();

  private:
    Gdiplus::GpFontFamily* nativeFamily = nullptr;
};

class TGPFont : public TGdiplusBase {
  public:
    TGPFont(TGPFontFamily* family,
            float size,
            int style = Gdiplus::FontStyleRegular,
            Gdiplus::Unit unit = Gdiplus::UnitPoint);
    // By face name; the generic sans-serif family when that face is unknown.
    TGPFont(const wchar_t* face,
            float size,
            int style = Gdiplus::FontStyleRegular,
            Gdiplus::Unit unit = Gdiplus::UnitPoint,
            TGPFontCollection* collection = nullptr);
    TGPFont(Gdiplus::GpFont* native, TGPStatus status) : nativeFont(native) { SetStatus(status); }
    ~TGPFont() override;
    Gdiplus::GpFont* Native() const { return nativeFont; }

  private:
    Gdiplus::GpFont* nativeFont = nullptr;
};

class TGPStringFormat : public TGdiplusBase {
  public:
    explicit TGPStringFormat(int flags = 0, LANGID language = LANG_NEUTRAL);
    TGPStringFormat(Gdiplus::GpStringFormat* native, TGPStatus status) : nativeFormat(native) {
        if (status != Gdiplus::Ok)
            lastError = status;
    }
    explicit TGPStringFormat(TGPStringFormat* format);
    ~TGPStringFormat() override;
    Gdiplus::GpStringFormat* Native() const { return nativeFormat; }
    TGPStatus SetAlignment(Gdiplus::StringAlignment a);
    Gdiplus::StringAlignment GetAlignment();
    TGPStatus SetLineAlignment(Gdiplus::StringAlignment a);
    Gdiplus::StringAlignment GetLineAlignment();
    TGPStatus SetFormatFlags(int flags);
    int GetFormatFlags();
    TGPStatus SetTrimming(Gdiplus::StringTrimming t);
    Gdiplus::StringTrimming GetTrimming();
    TGPStatus SetHotkeyPrefix(Gdiplus::HotkeyPrefix p);
    Gdiplus::HotkeyPrefix GetHotkeyPrefix();
    TGPStatus GetLastStatus() {
        TGPStatus s = lastError;
        lastError = Gdiplus::Ok;
        return s;
    }

  private:
    TGPStatus Keep(TGPStatus s) {
        if (s != Gdiplus::Ok)
            lastError = s;
        return s;
    }
    Gdiplus::GpStringFormat* nativeFormat = nullptr;
    TGPStatus lastError = Gdiplus::Ok;
};

class TGPGraphicsPath : public TGdiplusBase {
  public:
    explicit TGPGraphicsPath(Gdiplus::FillMode mode = Gdiplus::FillModeAlternate);
    TGPGraphicsPath(const Gdiplus::PointF* points,
                    const BYTE* types,
                    int count,
                    Gdiplus::FillMode mode = Gdiplus::FillModeAlternate);
    TGPGraphicsPath(Gdiplus::GpPath* native, TGPStatus status) : nativePath(native) { SetStatus(status); }
    ~TGPGraphicsPath() override;
    Gdiplus::GpPath* Native() const { return nativePath; }
    int GetPointCount();
    TGPStatus GetPathPoints(Gdiplus::PointF* points, int count);
    TGPStatus GetPathTypes(BYTE* types, int count);
    TGPStatus GetBounds(Gdiplus::RectF* bounds);
    TGPStatus Reset();
    TGPStatus CloseFigure();
    TGPStatus AddLine(float x1, float y1, float x2, float y2);
    TGPStatus AddLine(const Gdiplus::PointF& a, const Gdiplus::PointF& b) { return AddLine(a.X, a.Y, b.X, b.Y); }
    TGPStatus AddLines(const Gdiplus::Point* points, int count);
    TGPStatus AddRectangle(const Gdiplus::RectF& r);
    TGPStatus AddRectangle(const Gdiplus::Rect& r);
    TGPStatus AddArc(const Gdiplus::RectF& r, float start, float sweep);
    TGPStatus AddArc(float x, float y, float w, float h, float start, float sweep);
    TGPStatus AddEllipse(const Gdiplus::RectF& r);
    TGPStatus AddEllipse(float x, float y, float w, float h);
    TGPStatus AddPie(const Gdiplus::RectF& r, float start, float sweep);
    TGPStatus AddPie(float x, float y, float w, float h, float start, float sweep);
    TGPStatus AddPolygon(const Gdiplus::PointF* points, int count);
    TGPStatus AddPolygon(const Gdiplus::Point* points, int count);
    TGPStatus AddCurve(const Gdiplus::PointF* points, int count);
    TGPStatus AddCurve(const Gdiplus::Point* points, int count);
    TGPStatus AddCurve(const Gdiplus::Point* points, int count, float tension);
    TGPStatus AddBezier(const Gdiplus::PointF& p1,
                        const Gdiplus::PointF& p2,
                        const Gdiplus::PointF& p3,
                        const Gdiplus::PointF& p4);
    TGPStatus AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
    TGPStatus AddBezier(const Gdiplus::Point& p1,
                        const Gdiplus::Point& p2,
                        const Gdiplus::Point& p3,
                        const Gdiplus::Point& p4);
    TGPStatus AddString(const wchar_t* text,
                        int length,
                        TGPFontFamily* family,
                        int style,
                        float emSize,
                        const Gdiplus::RectF& layout,
                        TGPStringFormat* format);
    TGPStatus AddString(const wchar_t* text,
                        int length,
                        TGPFontFamily* family,
                        int style,
                        float emSize,
                        const Gdiplus::PointF& origin,
                        TGPStringFormat* format);

  private:
    Gdiplus::GpPath* nativePath = nullptr;
};

class TGPRegion : public TGdiplusBase {
  public:
    explicit TGPRegion(const Gdiplus::RectF& r);
    explicit TGPRegion(TGPGraphicsPath* path);
    ~TGPRegion() override;
    Gdiplus::GpRegion* Native() const { return nativeRegion; }
    TGPStatus Exclude(TGPGraphicsPath* path);
    TGPStatus Union(TGPRegion* region);

  private:
    Gdiplus::GpRegion* nativeRegion = nullptr;
};

class TGPImageAttributes : public TGdiplusBase {
  public:
    TGPImageAttributes();
    explicit TGPImageAttributes(Gdiplus::GpImageAttributes* native, TGPStatus status) : nativeImageAttr(native) {
        SetStatus(status);
    }
    ~TGPImageAttributes() override;
    Gdiplus::GpImageAttributes* Native() const { return nativeImageAttr; }
    TGPImageAttributes* Clone();
    TGPStatus SetToIdentity(Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus Reset(Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus SetColorMatrix(const Gdiplus::ColorMatrix* m,
                             Gdiplus::ColorMatrixFlags flags = Gdiplus::ColorMatrixFlagsDefault,
                             Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus ClearColorMatrix(Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus SetColorMatrices(const Gdiplus::ColorMatrix* m,
                               const Gdiplus::ColorMatrix* gray,
                               Gdiplus::ColorMatrixFlags flags = Gdiplus::ColorMatrixFlagsDefault,
                               Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus ClearColorMatrices(Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus SetThreshold(float t, Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus ClearThreshold(Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus SetGamma(float g, Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus ClearGamma(Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus SetNoOp(Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus ClearNoOp(Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus SetColorKey(Gdiplus::ARGB low,
                          Gdiplus::ARGB high,
                          Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus ClearColorKey(Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus SetOutputChannel(Gdiplus::ColorChannelFlags flags,
                               Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus ClearOutputChannel(Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus SetOutputChannelColorProfile(const wchar_t* profile,
                                           Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus ClearOutputChannelColorProfile(Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus SetRemapTable(UINT size,
                            const Gdiplus::ColorMap* map,
                            Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus ClearRemapTable(Gdiplus::ColorAdjustType type = Gdiplus::ColorAdjustTypeDefault);
    TGPStatus SetBrushRemapTable(UINT size, const Gdiplus::ColorMap* map) {
        return SetRemapTable(size, map, Gdiplus::ColorAdjustTypeBrush);
    }
    TGPStatus ClearBrushRemapTable() { return ClearRemapTable(Gdiplus::ColorAdjustTypeBrush); }
    TGPStatus SetWrapMode(Gdiplus::WrapMode wrap, Gdiplus::ARGB color = 0xFF000000, bool clamp = false);
    TGPStatus GetAdjustedPalette(Gdiplus::ColorPalette* palette, Gdiplus::ColorAdjustType type);

  private:
    Gdiplus::GpImageAttributes* nativeImageAttr = nullptr;
};

class TGPGraphics : public TGdiplusBase {
  public:
    explicit TGPGraphics(HDC dc);
    explicit TGPGraphics(TGPImage* image);
    static TGPGraphics* FromImage(TGPImage* image) { return new TGPGraphics(image); }
    ~TGPGraphics() override;
    Gdiplus::GpGraphics* Native() const { return nativeGraphics; }

    TGPStatus Flush(Gdiplus::FlushIntention intention = Gdiplus::FlushIntentionFlush);
    TGPStatus Clear(Gdiplus::ARGB color);
    HDC GetHDC();
    TGPStatus ReleaseHDC(HDC dc);
    TGPStatus SetTextRenderingHint(Gdiplus::TextRenderingHint hint);
    Gdiplus::TextRenderingHint GetTextRenderingHint();
    TGPStatus SetTransform(TGPMatrix* m);
    TGPStatus MultiplyTransform(TGPMatrix* m, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus TranslateTransform(float dx, float dy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus RotateTransform(float angle, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus ScaleTransform(float sx, float sy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend);
    TGPStatus ResetTransform();
    Gdiplus::SmoothingMode GetSmoothingMode();
    TGPStatus SetSmoothingMode(Gdiplus::SmoothingMode mode);
    Gdiplus::CompositingQuality GetCompositingQuality();
    TGPStatus SetCompositingQuality(Gdiplus::CompositingQuality q);

    TGPStatus DrawPath(TGPPen* pen, TGPGraphicsPath* path);
    TGPStatus FillPath(TGPBrush* brush, TGPGraphicsPath* path);
    TGPStatus FillRectangle(TGPBrush* brush, const Gdiplus::RectF& r);
    TGPStatus FillRectangle(TGPBrush* brush, float x, float y, float w, float h);
    TGPStatus FillPolygon(TGPBrush* brush, const Gdiplus::PointF* pts, int count);
    TGPStatus FillPolygon(TGPBrush* brush, const Gdiplus::PointF* pts, int count, Gdiplus::FillMode mode);
    TGPStatus FillPolygon(TGPBrush* brush, const Gdiplus::Point* pts, int count);
    TGPStatus FillPolygon(TGPBrush* brush, const Gdiplus::Point* pts, int count, Gdiplus::FillMode mode);
    TGPStatus FillEllipse(TGPBrush* brush, const Gdiplus::RectF& r);
    TGPStatus FillEllipse(TGPBrush* brush, float x, float y, float w, float h);
    TGPStatus FillEllipse(TGPBrush* brush, const Gdiplus::Rect& r);
    TGPStatus FillEllipse(TGPBrush* brush, int x, int y, int w, int h);
    TGPStatus DrawEllipse(TGPPen* pen, const Gdiplus::RectF& r);
    TGPStatus DrawEllipse(TGPPen* pen, float x, float y, float w, float h);
    TGPStatus DrawEllipse(TGPPen* pen, const Gdiplus::Rect& r);
    TGPStatus DrawEllipse(TGPPen* pen, int x, int y, int w, int h);
    TGPStatus DrawBezier(TGPPen* pen, float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
    TGPStatus DrawBezier(TGPPen* pen,
                         const Gdiplus::PointF& p1,
                         const Gdiplus::PointF& p2,
                         const Gdiplus::PointF& p3,
                         const Gdiplus::PointF& p4);
    TGPStatus DrawBeziers(TGPPen* pen, const Gdiplus::PointF* pts, int count);
    TGPStatus DrawArc(TGPPen* pen, float x, float y, float w, float h, float start, float sweep);
    TGPStatus DrawArc(TGPPen* pen, const Gdiplus::RectF& r, float start, float sweep);
    TGPStatus DrawRectangle(TGPPen* pen, const Gdiplus::RectF& r);
    TGPStatus DrawRectangle(TGPPen* pen, float x, float y, float w, float h);
    TGPStatus DrawLine(TGPPen* pen, float x1, float y1, float x2, float y2);
    TGPStatus DrawImage(TGPImage* image, int x, int y);
    TGPStatus DrawImage(TGPImage* image, float x, float y, float w, float h);
    TGPStatus DrawImage(TGPImage* image,
                        const Gdiplus::RectF& dest,
                        float sx,
                        float sy,
                        float sw,
                        float sh,
                        Gdiplus::Unit unit,
                        TGPImageAttributes* attrs = nullptr);
    TGPStatus DrawImage(TGPImage* image,
                        const Gdiplus::Rect& dest,
                        int sx,
                        int sy,
                        int sw,
                        int sh,
                        Gdiplus::Unit unit,
                        TGPImageAttributes* attrs = nullptr);
    TGPStatus DrawImageRect(TGPImage* image, int x, int y, int w, int h);
    TGPStatus DrawImageRect(TGPImage* image, const Gdiplus::RectF& r);
    TGPStatus MeasureString(const wchar_t* text,
                            int length,
                            TGPFont* font,
                            const Gdiplus::RectF& layout,
                            TGPStringFormat* format,
                            Gdiplus::RectF* bounds);
    TGPStatus MeasureString(const wchar_t* text,
                            int length,
                            TGPFont* font,
                            const Gdiplus::PointF& origin,
                            Gdiplus::RectF* bounds);
    TGPStatus MeasureString(const wchar_t* text,
                            int length,
                            TGPFont* font,
                            const Gdiplus::RectF& layout,
                            Gdiplus::RectF* bounds);
    TGPStatus DrawString(const wchar_t* text,
                         int length,
                         TGPFont* font,
                         const Gdiplus::RectF& layout,
                         TGPStringFormat* format,
                         TGPBrush* brush);
    TGPStatus DrawString(const wchar_t* text,
                         int length,
                         TGPFont* font,
                         const Gdiplus::PointF& origin,
                         TGPBrush* brush);
    TGPStatus DrawString(const wchar_t* text,
                         int length,
                         TGPFont* font,
                         const Gdiplus::PointF& origin,
                         TGPStringFormat* format,
                         TGPBrush* brush);
    TGPStatus DrawString(const wchar_t* text, int length, TGPFont* font, const Gdiplus::RectF& layout, TGPBrush* brush);
    TGPStatus ExcludeClip(const Gdiplus::RectF& r);
    TGPStatus ExcludeClip(TGPRegion* region);
    TGPStatus SetClip(TGPRegion* region, Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
    TGPStatus SetClip(TGPGraphicsPath* path, Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
    TGPStatus ResetClip();

    // Text in a class-library font: a GDI+ font of the same face (Arial when GDI+ does not know it), style and
    // size in points; owned by the caller.
    TGPFont* MakeFont(TFont* font);
    int TextWidth(const std::wstring& text, TFont* font);
    int TextHeight(const std::wstring& text, TFont* font);
    // Flags: 0x400 measures only. Returns the rectangle's height (see the source for the measured box).
    int DrawText(const std::wstring& text, int length, TColor background, UINT flags, TFont* font, TRect& rect);

  private:
    Gdiplus::GpGraphics* nativeGraphics = nullptr;
};
