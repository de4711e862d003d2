// The GDI+ class layer: each method is one flat call on the native handle.
#include "alert/GdiPlus.h"

#include <atomic>
#include <cmath>
#include <new>

namespace GF = Gdiplus::DllExports;
using namespace Gdiplus;

namespace {

// Program-wide start-up state.
struct StartupState {
    GdiplusStartupInput input{nullptr, FALSE, FALSE};
    GdiplusStartupOutput output{};
    ULONG_PTR token = 0;
    ULONG_PTR hookToken = 0;
    bool started = false;
    bool hooked = false;
    ~StartupState() {
        // Shut down at program end once no layer object is left (objects still alive keep it running).
        if (!started || live.load() != 0)
            return;
        if (hooked && output.NotificationUnhook)
            output.NotificationUnhook(hookToken);
        GdiplusShutdown(token);
    }
    std::atomic<long> live{0};
};

StartupState& State() {
    static StartupState state;
    return state;
}

bool OlderThanVista() {
    OSVERSIONINFOW v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return GetVersionExW(&v) && v.dwMajorVersion < 6;
#pragma GCC diagnostic pop
}

}  // namespace

bool GdiplusStartOnce() {
    StartupState& s = State();
    if (s.started)
        return true;
    // The background thread is suppressed; before Vista its work is done through the notification hook.
    s.input.GdiplusVersion = 1;
    s.input.DebugEventCallback = nullptr;
    s.input.SuppressBackgroundThread = TRUE;
    s.input.SuppressExternalCodecs = FALSE;
    if (GdiplusStartup(&s.token, &s.input, &s.output) != Ok)
        return false;  // no hook entry points without a start-up: the layer's calls then fail with their status
    s.started = true;
    if (OlderThanVista() && s.output.NotificationHook)
        s.hooked = s.output.NotificationHook(&s.hookToken) == Ok;
    return true;
}

bool GdiplusStarted() {
    return State().started;
}

long GdiplusLiveObjects() {
    return State().live.load();
}

ARGB GdiplusArgb(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return 0xFF000000u | (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
}

// ---- Base ----------------------------------------------------------------------------------------------------------
void* TGdiplusBase::operator new(std::size_t size) {
    // Objects need a started GDI+; some gdiplus.dll builds allocate before start-up too, so start on demand here.
    GdiplusStartOnce();
    void* p = GF::GdipAlloc(size);
    if (!p && GdiplusStartOnce())
        p = GF::GdipAlloc(size);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void TGdiplusBase::operator delete(void* p) noexcept {
    if (p)
        GF::GdipFree(p);
}

TGdiplusBase::TGdiplusBase() {
    ++State().live;
}

TGdiplusBase::~TGdiplusBase() {
    --State().live;
}

#define KEEP(call) return SetStatus(call)

// ---- Image ---------------------------------------------------------------------------------------------------------
TGPImage::TGPImage(const wchar_t* fileName, bool icm) {
    loadStatus =
        icm ? GF::GdipLoadImageFromFileICM(fileName, &nativeImage) : GF::GdipLoadImageFromFile(fileName, &nativeImage);
    SetStatus(loadStatus);
}

TGPImage::TGPImage(IStream* stream, bool icm) {
    loadStatus =
        icm ? GF::GdipLoadImageFromStreamICM(stream, &nativeImage) : GF::GdipLoadImageFromStream(stream, &nativeImage);
    SetStatus(loadStatus);
}

TGPImage::~TGPImage() {
    if (nativeImage)
        GF::GdipDisposeImage(nativeImage);
}

TGPImageFormat TGPImage::GetFormat() {
    GUID g{};
    if (SetStatus(GF::GdipGetImageRawFormat(nativeImage, &g)) != Ok)
        return ifUndefined;
    // The published GDI+ image-format GUIDs: b96b3cXX-0728-11d3-9d7b-0000f81ef32e.
    static const struct {
        unsigned long first;
        TGPImageFormat format;
    } kFormats[] = {{0xb96b3caa, ifMemoryBMP}, {0xb96b3cab, ifBMP}, {0xb96b3cac, ifEMF}, {0xb96b3cad, ifWMF},
                    {0xb96b3cae, ifJPEG},      {0xb96b3caf, ifPNG}, {0xb96b3cb0, ifGIF}, {0xb96b3cb1, ifTIFF},
                    {0xb96b3cb2, ifEXIF},      {0xb96b3cb5, ifIcon}};
    for (const auto& f : kFormats) {
        const GUID id = {f.first, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
        if (IsEqualGUID(g, id))
            return f.format;
    }
    return ifUndefined;
}

UINT TGPImage::GetWidth() {
    UINT w = 0;
    SetStatus(GF::GdipGetImageWidth(nativeImage, &w));
    return w;
}

UINT TGPImage::GetHeight() {
    UINT h = 0;
    SetStatus(GF::GdipGetImageHeight(nativeImage, &h));
    return h;
}

PixelFormat TGPImage::GetPixelFormat() {
    PixelFormat f = PixelFormatUndefined;
    SetStatus(GF::GdipGetImagePixelFormat(nativeImage, &f));
    return f;
}

TGPImage* TGPImage::GetThumbnailImage(UINT width, UINT height) {
    GpImage* thumb = nullptr;
    if (SetStatus(GF::GdipGetImageThumbnail(nativeImage, width, height, &thumb, nullptr, nullptr)) != Ok)
        return nullptr;
    return new TGPImage(thumb, Ok);
}

TGPStatus TGPImage::Save(const wchar_t* fileName, const CLSID* encoder, const EncoderParameters* params) {
    KEEP(GF::GdipSaveImageToFile(nativeImage, fileName, encoder, params));
}

TGPStatus TGPImage::Save(IStream* stream, const CLSID* encoder, const EncoderParameters* params) {
    KEEP(GF::GdipSaveImageToStream(nativeImage, stream, encoder, params));
}

TGPStatus TGPImage::SaveAdd(const EncoderParameters* params) {
    KEEP(GF::GdipSaveAdd(nativeImage, params));
}

TGPStatus TGPImage::RotateFlip(RotateFlipType type) {
    KEEP(GF::GdipImageRotateFlip(nativeImage, type));
}

// ---- Brushes -------------------------------------------------------------------------------------------------------
TGPBrush::~TGPBrush() {
    if (nativeBrush)
        GF::GdipDeleteBrush(nativeBrush);
}

TGPSolidBrush::TGPSolidBrush(ARGB color) {
    GpSolidFill* b = nullptr;
    SetStatus(GF::GdipCreateSolidFill(color, &b));
    nativeBrush = b;
}

TGPHatchBrush::TGPHatchBrush(HatchStyle style, ARGB fore, ARGB back) {
    GpHatch* b = nullptr;
    SetStatus(GF::GdipCreateHatchBrush(style, fore, back, &b));
    nativeBrush = b;
}

HatchStyle TGPHatchBrush::GetHatchStyle() {
    HatchStyle s = HatchStyleHorizontal;
    SetStatus(GF::GdipGetHatchStyle(static_cast<GpHatch*>(nativeBrush), &s));
    return s;
}

ARGB TGPHatchBrush::GetForegroundColor() {
    ARGB c = 0;
    SetStatus(GF::GdipGetHatchForegroundColor(static_cast<GpHatch*>(nativeBrush), &c));
    return c;
}

ARGB TGPHatchBrush::GetBackgroundColor() {
    ARGB c = 0;
    SetStatus(GF::GdipGetHatchBackgroundColor(static_cast<GpHatch*>(nativeBrush), &c));
    return c;
}

#define LINE_BRUSH(call)         \
    GpLineGradient* b = nullptr; \
    SetStatus(call);             \
    nativeBrush = b

TGPLinearGradientBrush::TGPLinearGradientBrush(const PointF& p1, const PointF& p2, ARGB c1, ARGB c2) {
    LINE_BRUSH(GF::GdipCreateLineBrush(&p1, &p2, c1, c2, WrapModeTile, &b));
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const Gdiplus::Point& p1, const Gdiplus::Point& p2, ARGB c1, ARGB c2) {
    LINE_BRUSH(GF::GdipCreateLineBrushI(&p1, &p2, c1, c2, WrapModeTile, &b));
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const RectF& r, ARGB c1, ARGB c2, LinearGradientMode mode) {
    LINE_BRUSH(GF::GdipCreateLineBrushFromRect(&r, c1, c2, mode, WrapModeTile, &b));
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const Gdiplus::Rect& r, ARGB c1, ARGB c2, LinearGradientMode mode) {
    LINE_BRUSH(GF::GdipCreateLineBrushFromRectI(&r, c1, c2, mode, WrapModeTile, &b));
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const RectF& r, ARGB c1, ARGB c2, float angle, bool scalable) {
    LINE_BRUSH(GF::GdipCreateLineBrushFromRectWithAngle(&r, c1, c2, angle, scalable, WrapModeTile, &b));
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const Gdiplus::Rect& r, ARGB c1, ARGB c2, float angle, bool scalable) {
    LINE_BRUSH(GF::GdipCreateLineBrushFromRectWithAngleI(&r, c1, c2, angle, scalable, WrapModeTile, &b));
}

TGPStatus TGPLinearGradientBrush::SetGammaCorrection(bool use) {
    KEEP(GF::GdipSetLineGammaCorrection(static_cast<GpLineGradient*>(nativeBrush), use));
}

TGPStatus TGPLinearGradientBrush::SetInterpolationColors(const ARGB* colors, const float* positions, int count) {
    KEEP(GF::GdipSetLinePresetBlend(static_cast<GpLineGradient*>(nativeBrush), colors, positions, count));
}

#define TEXTURE(call)       \
    GpTexture* b = nullptr; \
    SetStatus(call);        \
    nativeBrush = b

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode mode) {
    TEXTURE(GF::GdipCreateTexture(image->Native(), mode, &b));
}
TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode mode, const RectF& s) {
    TEXTURE(GF::GdipCreateTexture2(image->Native(), mode, s.X, s.Y, s.Width, s.Height, &b));
}
TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode mode, const Gdiplus::Rect& s) {
    TEXTURE(GF::GdipCreateTexture2I(image->Native(), mode, s.X, s.Y, s.Width, s.Height, &b));
}
TGPTextureBrush::TGPTextureBrush(TGPImage* image, const RectF& s, TGPImageAttributes* a) {
    TEXTURE(GF::GdipCreateTextureIA(image->Native(), a ? a->Native() : nullptr, s.X, s.Y, s.Width, s.Height, &b));
}
TGPTextureBrush::TGPTextureBrush(TGPImage* image, const Gdiplus::Rect& s, TGPImageAttributes* a) {
    TEXTURE(GF::GdipCreateTextureIAI(image->Native(), a ? a->Native() : nullptr, s.X, s.Y, s.Width, s.Height, &b));
}

#define TEX static_cast<GpTexture*>(nativeBrush)
TGPStatus TGPTextureBrush::ResetTransform() {
    KEEP(GF::GdipResetTextureTransform(TEX));
}
TGPStatus TGPTextureBrush::TranslateTransform(float dx, float dy, MatrixOrder order) {
    KEEP(GF::GdipTranslateTextureTransform(TEX, dx, dy, order));
}
TGPStatus TGPTextureBrush::ScaleTransform(float sx, float sy, MatrixOrder order) {
    KEEP(GF::GdipScaleTextureTransform(TEX, sx, sy, order));
}
TGPStatus TGPTextureBrush::RotateTransform(float angle, MatrixOrder order) {
    KEEP(GF::GdipRotateTextureTransform(TEX, angle, order));
}
TGPStatus TGPTextureBrush::SetWrapMode(WrapMode mode) {
    KEEP(GF::GdipSetTextureWrapMode(TEX, mode));
}
WrapMode TGPTextureBrush::GetWrapMode() {
    WrapMode m = WrapModeTile;
    SetStatus(GF::GdipGetTextureWrapMode(TEX, &m));
    return m;
}
TGPImage* TGPTextureBrush::GetImage() {
    GpImage* image = nullptr;
    if (SetStatus(GF::GdipGetTextureImage(TEX, &image)) != Ok)
        return nullptr;
    try {
        return new TGPImage(image, Ok);
    } catch (const std::bad_alloc&) {
        GF::GdipDisposeImage(image);  // no object could take it
        return nullptr;
    }
}
#undef TEX

// ---- Pen -----------------------------------------------------------------------------------------------------------
TGPPen::TGPPen(ARGB color, float width) {
    SetStatus(GF::GdipCreatePen1(color, width, UnitWorld, &nativePen));
}
TGPPen::TGPPen(TGPBrush* brush, float width) {
    SetStatus(GF::GdipCreatePen2(brush->Native(), width, UnitWorld, &nativePen));
}
TGPPen::~TGPPen() {
    if (nativePen)
        GF::GdipDeletePen(nativePen);
}
PenType TGPPen::GetPenType() {
    PenType t = PenTypeUnknown;
    SetStatus(GF::GdipGetPenFillType(nativePen, &t));
    return t;
}
TGPBrush* TGPPen::GetBrush() {
    const PenType type = GetPenType();
    GpBrush* b = nullptr;
    if (type == PenTypeUnknown || SetStatus(GF::GdipGetPenBrushFill(nativePen, &b)) != Ok)
        return nullptr;
    switch (type) {
        case PenTypeSolidColor:
        case PenTypeHatchFill:
        case PenTypeTextureFill:
        case PenTypePathGradient:
        case PenTypeLinearGradient:
            return new TGPBrush(b, Ok);
        default:
            GF::GdipDeleteBrush(b);
            return nullptr;
    }
}
TGPStatus TGPPen::SetBrush(TGPBrush* brush) {
    KEEP(GF::GdipSetPenBrushFill(nativePen, brush->Native()));
}
DashStyle TGPPen::GetDashStyle() {
    DashStyle s = DashStyleSolid;
    SetStatus(GF::GdipGetPenDashStyle(nativePen, &s));
    return s;
}
TGPStatus TGPPen::SetDashStyle(DashStyle style) {
    KEEP(GF::GdipSetPenDashStyle(nativePen, style));
}
TGPStatus TGPPen::SetEndCap(LineCap cap) {
    KEEP(GF::GdipSetPenEndCap(nativePen, cap));
}

// ---- Matrix --------------------------------------------------------------------------------------------------------
TGPMatrix::TGPMatrix() {
    SetStatus(GF::GdipCreateMatrix(&nativeMatrix));
}
TGPMatrix::TGPMatrix(float m11, float m12, float m21, float m22, float dx, float dy) {
    SetStatus(GF::GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &nativeMatrix));
}
TGPMatrix::TGPMatrix(const RectF& rect, const PointF* dstplg) {
    SetStatus(GF::GdipCreateMatrix3(&rect, dstplg, &nativeMatrix));
}
TGPMatrix::TGPMatrix(const Gdiplus::Rect& rect, const Gdiplus::Point* dstplg) {
    SetStatus(GF::GdipCreateMatrix3I(&rect, dstplg, &nativeMatrix));
}
TGPMatrix::~TGPMatrix() {
    if (nativeMatrix)
        GF::GdipDeleteMatrix(nativeMatrix);
}
TGPMatrix* TGPMatrix::Clone() {
    GpMatrix* m = nullptr;
    if (SetStatus(GF::GdipCloneMatrix(nativeMatrix, &m)) != Ok)
        return nullptr;
    return new TGPMatrix(m);
}
TGPStatus TGPMatrix::GetElements(float* m) {
    KEEP(GF::GdipGetMatrixElements(nativeMatrix, m));
}
TGPStatus TGPMatrix::SetElements(float m11, float m12, float m21, float m22, float dx, float dy) {
    KEEP(GF::GdipSetMatrixElements(nativeMatrix, m11, m12, m21, m22, dx, dy));
}
float TGPMatrix::OffsetX() {
    float m[6];
    return GetElements(m) == Ok ? m[4] : 0.0f;
}
float TGPMatrix::OffsetY() {
    float m[6];
    return GetElements(m) == Ok ? m[5] : 0.0f;
}
TGPStatus TGPMatrix::Multiply(TGPMatrix* m, MatrixOrder order) {
    KEEP(GF::GdipMultiplyMatrix(nativeMatrix, m->nativeMatrix, order));
}
TGPStatus TGPMatrix::Translate(float x, float y, MatrixOrder order) {
    KEEP(GF::GdipTranslateMatrix(nativeMatrix, x, y, order));
}
TGPStatus TGPMatrix::Scale(float x, float y, MatrixOrder order) {
    KEEP(GF::GdipScaleMatrix(nativeMatrix, x, y, order));
}
TGPStatus TGPMatrix::Rotate(float angle, MatrixOrder order) {
    KEEP(GF::GdipRotateMatrix(nativeMatrix, angle, order));
}
TGPStatus TGPMatrix::RotateAt(float angle, const PointF& c, MatrixOrder order) {
    if (order == MatrixOrderPrepend) {
        GF::GdipTranslateMatrix(nativeMatrix, c.X, c.Y, order);
        GF::GdipRotateMatrix(nativeMatrix, angle, order);
        KEEP(GF::GdipTranslateMatrix(nativeMatrix, -c.X, -c.Y, order));
    }
    GF::GdipTranslateMatrix(nativeMatrix, -c.X, -c.Y, order);
    GF::GdipRotateMatrix(nativeMatrix, angle, order);
    KEEP(GF::GdipTranslateMatrix(nativeMatrix, c.X, c.Y, order));
}
TGPStatus TGPMatrix::Shear(float x, float y, MatrixOrder order) {
    KEEP(GF::GdipShearMatrix(nativeMatrix, x, y, order));
}
TGPStatus TGPMatrix::Invert() {
    KEEP(GF::GdipInvertMatrix(nativeMatrix));
}
TGPStatus TGPMatrix::TransformPoints(PointF* p, int n) {
    KEEP(GF::GdipTransformMatrixPoints(nativeMatrix, p, n));
}
TGPStatus TGPMatrix::TransformPoints(Gdiplus::Point* p, int n) {
    KEEP(GF::GdipTransformMatrixPointsI(nativeMatrix, p, n));
}
TGPStatus TGPMatrix::TransformVectors(PointF* p, int n) {
    KEEP(GF::GdipVectorTransformMatrixPoints(nativeMatrix, p, n));
}
TGPStatus TGPMatrix::TransformVectors(Gdiplus::Point* p, int n) {
    KEEP(GF::GdipVectorTransformMatrixPointsI(nativeMatrix, p, n));
}
bool TGPMatrix::IsInvertible() {
    BOOL r = FALSE;
    SetStatus(GF::GdipIsMatrixInvertible(nativeMatrix, &r));
    return r != FALSE;
}
bool TGPMatrix::IsIdentity() {
    BOOL r = FALSE;
    SetStatus(GF::GdipIsMatrixIdentity(nativeMatrix, &r));
    return r != FALSE;
}

// ---- Fonts ---------------------------------------------------------------------------------------------------------
TGPFontFamily::TGPFontFamily(const wchar_t* name, TGPFontCollection* collection) {
    SetStatus(GF::GdipCreateFontFamilyFromName(name, collection ? collection->Native() : nullptr, &nativeFamily));
}
TGPFontFamily::~TGPFontFamily() {
    if (nativeFamily)
        GF::GdipDeleteFontFamily(nativeFamily);
}
TGPFontFamily* TGPFontFamily::GenericSansSerif() {
    GpFontFamily* f = nullptr;
    TGPStatus s = GF::GdipGetGenericFontFamilySansSerif(&f);
    return new TGPFontFamily(f, s);
}
TGPFontFamily* TGPFontFamily::GenericSerif() {
    GpFontFamily* f = nullptr;
    TGPStatus s = GF::GdipGetGenericFontFamilySerif(&f);
    return new TGPFontFamily(f, s);
}
TGPFontFamily* TGPFontFamily::GenericMonospace() {
    GpFontFamily* f = nullptr;
    TGPStatus s = GF::GdipGetGenericFontFamilyMonospace(&f);
    return new TGPFontFamily(f, s);
}

TGPFont::TGPFont(TGPFontFamily* family, float size, int style, Unit unit) {
    SetStatus(GF::GdipCreateFont(family ? family->Native() : nullptr, size, style, unit, &nativeFont));
}
TGPFont::TGPFont(const wchar_t* face, float size, int style, Unit unit, TGPFontCollection* collection) {
    GpFontFamily* family = nullptr;
    GF::GdipCreateFontFamilyFromName(face, collection ? collection->Native() : nullptr, &family);
    TGPStatus s = family ? GF::GdipCreateFont(family, size, style, unit, &nativeFont) : FontFamilyNotFound;
    if (s != Ok) {
        GpFontFamily* generic = nullptr;
        if (GF::GdipGetGenericFontFamilySansSerif(&generic) == Ok) {
            s = GF::GdipCreateFont(generic, size, style, unit, &nativeFont);
            GF::GdipDeleteFontFamily(generic);
        }
    }
    if (family)
        GF::GdipDeleteFontFamily(family);
    SetStatus(s);
}
TGPFont::~TGPFont() {
    if (nativeFont)
        GF::GdipDeleteFont(nativeFont);
}

// ---- String format -------------------------------------------------------------------------------------------------
TGPStringFormat::TGPStringFormat(int flags, LANGID language) {
    Keep(GF::GdipCreateStringFormat(flags, language, &nativeFormat));
}
TGPStringFormat::TGPStringFormat(TGPStringFormat* format) {
    Keep(GF::GdipCloneStringFormat(format ? format->nativeFormat : nullptr, &nativeFormat));
}
TGPStringFormat::~TGPStringFormat() {
    if (nativeFormat)
        GF::GdipDeleteStringFormat(nativeFormat);
}
TGPStatus TGPStringFormat::SetAlignment(StringAlignment a) {
    return Keep(GF::GdipSetStringFormatAlign(nativeFormat, a));
}
StringAlignment TGPStringFormat::GetAlignment() {
    StringAlignment a = StringAlignmentNear;
    Keep(GF::GdipGetStringFormatAlign(nativeFormat, &a));
    return a;
}
TGPStatus TGPStringFormat::SetLineAlignment(StringAlignment a) {
    return Keep(GF::GdipSetStringFormatLineAlign(nativeFormat, a));
}
StringAlignment TGPStringFormat::GetLineAlignment() {
    StringAlignment a = StringAlignmentNear;
    Keep(GF::GdipGetStringFormatLineAlign(nativeFormat, &a));
    return a;
}
TGPStatus TGPStringFormat::SetFormatFlags(int flags) {
    return Keep(GF::GdipSetStringFormatFlags(nativeFormat, flags));
}
int TGPStringFormat::GetFormatFlags() {
    INT f = 0;
    Keep(GF::GdipGetStringFormatFlags(nativeFormat, &f));
    return f;
}
TGPStatus TGPStringFormat::SetTrimming(StringTrimming t) {
    return Keep(GF::GdipSetStringFormatTrimming(nativeFormat, t));
}
StringTrimming TGPStringFormat::GetTrimming() {
    StringTrimming t = StringTrimmingNone;
    Keep(GF::GdipGetStringFormatTrimming(nativeFormat, &t));
    return t;
}
TGPStatus TGPStringFormat::SetHotkeyPrefix(HotkeyPrefix p) {
    return Keep(GF::GdipSetStringFormatHotkeyPrefix(nativeFormat, p));
}
HotkeyPrefix TGPStringFormat::GetHotkeyPrefix() {
    INT p = HotkeyPrefixNone;
    Keep(GF::GdipGetStringFormatHotkeyPrefix(nativeFormat, &p));
    return static_cast<HotkeyPrefix>(p);
}

// ---- Path ----------------------------------------------------------------------------------------------------------
TGPGraphicsPath::TGPGraphicsPath(FillMode mode) {
    SetStatus(GF::GdipCreatePath(mode, &nativePath));
}
TGPGraphicsPath::TGPGraphicsPath(const PointF* points, const BYTE* types, int count, FillMode mode) {
    SetStatus(GF::GdipCreatePath2(points, types, count, mode, &nativePath));
}
TGPGraphicsPath::~TGPGraphicsPath() {
    if (nativePath)
        GF::GdipDeletePath(nativePath);
}
int TGPGraphicsPath::GetPointCount() {
    INT n = 0;
    SetStatus(GF::GdipGetPointCount(nativePath, &n));
    return n;
}
TGPStatus TGPGraphicsPath::GetPathPoints(PointF* p, int n) {
    KEEP(GF::GdipGetPathPoints(nativePath, p, n));
}
TGPStatus TGPGraphicsPath::GetPathTypes(BYTE* t, int n) {
    KEEP(GF::GdipGetPathTypes(nativePath, t, n));
}
TGPStatus TGPGraphicsPath::GetBounds(RectF* b) {
    KEEP(GF::GdipGetPathWorldBounds(nativePath, b, nullptr, nullptr));
}
TGPStatus TGPGraphicsPath::Reset() {
    KEEP(GF::GdipResetPath(nativePath));
}
TGPStatus TGPGraphicsPath::CloseFigure() {
    KEEP(GF::GdipClosePathFigure(nativePath));
}
TGPStatus TGPGraphicsPath::AddLine(float x1, float y1, float x2, float y2) {
    KEEP(GF::GdipAddPathLine(nativePath, x1, y1, x2, y2));
}
TGPStatus TGPGraphicsPath::AddLines(const Gdiplus::Point* p, int n) {
    KEEP(GF::GdipAddPathLine2I(nativePath, p, n));
}
TGPStatus TGPGraphicsPath::AddRectangle(const RectF& r) {
    KEEP(GF::GdipAddPathRectangle(nativePath, r.X, r.Y, r.Width, r.Height));
}
TGPStatus TGPGraphicsPath::AddRectangle(const Gdiplus::Rect& r) {
    KEEP(GF::GdipAddPathRectangleI(nativePath, r.X, r.Y, r.Width, r.Height));
}
TGPStatus TGPGraphicsPath::AddArc(const RectF& r, float a, float s) {
    return AddArc(r.X, r.Y, r.Width, r.Height, a, s);
}
TGPStatus TGPGraphicsPath::AddArc(float x, float y, float w, float h, float a, float s) {
    KEEP(GF::GdipAddPathArc(nativePath, x, y, w, h, a, s));
}
TGPStatus TGPGraphicsPath::AddEllipse(const RectF& r) {
    return AddEllipse(r.X, r.Y, r.Width, r.Height);
}
TGPStatus TGPGraphicsPath::AddEllipse(float x, float y, float w, float h) {
    KEEP(GF::GdipAddPathEllipse(nativePath, x, y, w, h));
}
TGPStatus TGPGraphicsPath::AddPie(const RectF& r, float a, float s) {
    return AddPie(r.X, r.Y, r.Width, r.Height, a, s);
}
TGPStatus TGPGraphicsPath::AddPie(float x, float y, float w, float h, float a, float s) {
    KEEP(GF::GdipAddPathPie(nativePath, x, y, w, h, a, s));
}
TGPStatus TGPGraphicsPath::AddPolygon(const PointF* p, int n) {
    KEEP(GF::GdipAddPathPolygon(nativePath, p, n));
}
TGPStatus TGPGraphicsPath::AddPolygon(const Gdiplus::Point* p, int n) {
    KEEP(GF::GdipAddPathPolygonI(nativePath, p, n));
}
TGPStatus TGPGraphicsPath::AddCurve(const PointF* p, int n) {
    KEEP(GF::GdipAddPathCurve(nativePath, p, n));
}
TGPStatus TGPGraphicsPath::AddCurve(const Gdiplus::Point* p, int n) {
    KEEP(GF::GdipAddPathCurveI(nativePath, p, n));
}
TGPStatus TGPGraphicsPath::AddCurve(const Gdiplus::Point* p, int n, float tension) {
    KEEP(GF::GdipAddPathCurve2I(nativePath, p, n, tension));
}
TGPStatus TGPGraphicsPath::AddBezier(const PointF& a, const PointF& b, const PointF& c, const PointF& d) {
    return AddBezier(a.X, a.Y, b.X, b.Y, c.X, c.Y, d.X, d.Y);
}
TGPStatus TGPGraphicsPath::AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
    KEEP(GF::GdipAddPathBezier(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
}
TGPStatus TGPGraphicsPath::AddBezier(const Gdiplus::Point& a,
                                     const Gdiplus::Point& b,
                                     const Gdiplus::Point& c,
                                     const Gdiplus::Point& d) {
    return AddBezier(static_cast<float>(a.X), static_cast<float>(a.Y), static_cast<float>(b.X), static_cast<float>(b.Y),
                     static_cast<float>(c.X), static_cast<float>(c.Y), static_cast<float>(d.X),
                     static_cast<float>(d.Y));
}
TGPStatus TGPGraphicsPath::AddString(const wchar_t* text,
                                     int length,
                                     TGPFontFamily* family,
                                     int style,
                                     float emSize,
                                     const RectF& layout,
                                     TGPStringFormat* format) {
    KEEP(GF::GdipAddPathString(nativePath, text, length, family ? family->Native() : nullptr, style, emSize, &layout,
                               format ? format->Native() : nullptr));
}
TGPStatus TGPGraphicsPath::AddString(const wchar_t* text,
                                     int length,
                                     TGPFontFamily* family,
                                     int style,
                                     float emSize,
                                     const PointF& origin,
                                     TGPStringFormat* format) {
    return AddString(text, length, family, style, emSize, RectF(origin.X, origin.Y, 0, 0), format);
}

// ---- Region --------------------------------------------------------------------------------------------------------
TGPRegion::TGPRegion(const RectF& r) {
    SetStatus(GF::GdipCreateRegionRect(&r, &nativeRegion));
}
TGPRegion::TGPRegion(TGPGraphicsPath* path) {
    SetStatus(GF::GdipCreateRegionPath(path->Native(), &nativeRegion));
}
TGPRegion::~TGPRegion() {
    if (nativeRegion)
        GF::GdipDeleteRegion(nativeRegion);
}
TGPStatus TGPRegion::Exclude(TGPGraphicsPath* path) {
    KEEP(GF::GdipCombineRegionPath(nativeRegion, path->Native(), CombineModeExclude));
}
TGPStatus TGPRegion::Union(TGPRegion* region) {
    KEEP(GF::GdipCombineRegionRegion(nativeRegion, region->nativeRegion, CombineModeUnion));
}

// ---- Image attributes ----------------------------------------------------------------------------------------------
TGPImageAttributes::TGPImageAttributes() {
    SetStatus(GF::GdipCreateImageAttributes(&nativeImageAttr));
}
TGPImageAttributes::~TGPImageAttributes() {
    if (nativeImageAttr)
        GF::GdipDisposeImageAttributes(nativeImageAttr);
}
TGPImageAttributes* TGPImageAttributes::Clone() {
    GpImageAttributes* c = nullptr;
    TGPStatus s = SetStatus(GF::GdipCloneImageAttributes(nativeImageAttr, &c));
    return s == Ok ? new TGPImageAttributes(c, s) : nullptr;
}
#define IA nativeImageAttr
TGPStatus TGPImageAttributes::SetToIdentity(ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesToIdentity(IA, t));
}
TGPStatus TGPImageAttributes::Reset(ColorAdjustType t) {
    KEEP(GF::GdipResetImageAttributes(IA, t));
}
TGPStatus TGPImageAttributes::SetColorMatrix(const ColorMatrix* m, ColorMatrixFlags f, ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesColorMatrix(IA, t, TRUE, m, nullptr, f));
}
TGPStatus TGPImageAttributes::ClearColorMatrix(ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesColorMatrix(IA, t, FALSE, nullptr, nullptr, ColorMatrixFlagsDefault));
}
TGPStatus TGPImageAttributes::SetColorMatrices(const ColorMatrix* m,
                                               const ColorMatrix* g,
                                               ColorMatrixFlags f,
                                               ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesColorMatrix(IA, t, TRUE, m, g, f));
}
TGPStatus TGPImageAttributes::ClearColorMatrices(ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesColorMatrix(IA, t, FALSE, nullptr, nullptr, ColorMatrixFlagsDefault));
}
TGPStatus TGPImageAttributes::SetThreshold(float v, ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesThreshold(IA, t, TRUE, v));
}
TGPStatus TGPImageAttributes::ClearThreshold(ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesThreshold(IA, t, FALSE, 0.0f));
}
TGPStatus TGPImageAttributes::SetGamma(float g, ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesGamma(IA, t, TRUE, g));
}
TGPStatus TGPImageAttributes::ClearGamma(ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesGamma(IA, t, FALSE, 0.0f));
}
TGPStatus TGPImageAttributes::SetNoOp(ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesNoOp(IA, t, TRUE));
}
TGPStatus TGPImageAttributes::ClearNoOp(ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesNoOp(IA, t, FALSE));
}
TGPStatus TGPImageAttributes::SetColorKey(ARGB low, ARGB high, ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesColorKeys(IA, t, TRUE, low, high));
}
TGPStatus TGPImageAttributes::ClearColorKey(ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesColorKeys(IA, t, FALSE, 0, 0));
}
TGPStatus TGPImageAttributes::SetOutputChannel(ColorChannelFlags f, ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesOutputChannel(IA, t, TRUE, f));
}
TGPStatus TGPImageAttributes::ClearOutputChannel(ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesOutputChannel(IA, t, FALSE, ColorChannelFlagsLast));
}
TGPStatus TGPImageAttributes::SetOutputChannelColorProfile(const wchar_t* p, ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesOutputChannelColorProfile(IA, t, TRUE, p));
}
TGPStatus TGPImageAttributes::ClearOutputChannelColorProfile(ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesOutputChannelColorProfile(IA, t, FALSE, nullptr));
}
TGPStatus TGPImageAttributes::SetRemapTable(UINT n, const ColorMap* m, ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesRemapTable(IA, t, TRUE, n, m));
}
TGPStatus TGPImageAttributes::ClearRemapTable(ColorAdjustType t) {
    KEEP(GF::GdipSetImageAttributesRemapTable(IA, t, FALSE, 0, nullptr));
}
TGPStatus TGPImageAttributes::SetWrapMode(WrapMode w, ARGB c, bool clamp) {
    KEEP(GF::GdipSetImageAttributesWrapMode(IA, w, c, clamp));
}
TGPStatus TGPImageAttributes::GetAdjustedPalette(ColorPalette* p, ColorAdjustType t) {
    KEEP(GF::GdipGetImageAttributesAdjustedPalette(IA, p, t));
}
#undef IA

// ---- Graphics ------------------------------------------------------------------------------------------------------
TGPGraphics::TGPGraphics(HDC dc) {
    SetStatus(GF::GdipCreateFromHDC(dc, &nativeGraphics));
}
TGPGraphics::TGPGraphics(TGPImage* image) {
    SetStatus(GF::GdipGetImageGraphicsContext(image ? image->Native() : nullptr, &nativeGraphics));
}
TGPGraphics::~TGPGraphics() {
    if (nativeGraphics)
        GF::GdipDeleteGraphics(nativeGraphics);
}
#define G nativeGraphics
TGPStatus TGPGraphics::Flush(FlushIntention i) {
    KEEP(GF::GdipFlush(G, i));
}
TGPStatus TGPGraphics::Clear(ARGB c) {
    KEEP(GF::GdipGraphicsClear(G, c));
}
HDC TGPGraphics::GetHDC() {
    HDC dc = nullptr;
    SetStatus(GF::GdipGetDC(G, &dc));
    return dc;
}
TGPStatus TGPGraphics::ReleaseHDC(HDC dc) {
    KEEP(GF::GdipReleaseDC(G, dc));
}
TGPStatus TGPGraphics::SetTextRenderingHint(TextRenderingHint h) {
    KEEP(GF::GdipSetTextRenderingHint(G, h));
}
TextRenderingHint TGPGraphics::GetTextRenderingHint() {
    TextRenderingHint h = TextRenderingHintSystemDefault;
    SetStatus(GF::GdipGetTextRenderingHint(G, &h));
    return h;
}
TGPStatus TGPGraphics::SetTransform(TGPMatrix* m) {
    KEEP(GF::GdipSetWorldTransform(G, m->Native()));
}
TGPStatus TGPGraphics::MultiplyTransform(TGPMatrix* m, MatrixOrder o) {
    KEEP(GF::GdipMultiplyWorldTransform(G, m->Native(), o));
}
TGPStatus TGPGraphics::TranslateTransform(float dx, float dy, MatrixOrder o) {
    KEEP(GF::GdipTranslateWorldTransform(G, dx, dy, o));
}
TGPStatus TGPGraphics::RotateTransform(float a, MatrixOrder o) {
    KEEP(GF::GdipRotateWorldTransform(G, a, o));
}
TGPStatus TGPGraphics::ScaleTransform(float sx, float sy, MatrixOrder o) {
    KEEP(GF::GdipScaleWorldTransform(G, sx, sy, o));
}
TGPStatus TGPGraphics::ResetTransform() {
    KEEP(GF::GdipResetWorldTransform(G));
}
SmoothingMode TGPGraphics::GetSmoothingMode() {
    SmoothingMode m = SmoothingModeDefault;
    SetStatus(GF::GdipGetSmoothingMode(G, &m));
    return m;
}
TGPStatus TGPGraphics::SetSmoothingMode(SmoothingMode m) {
    KEEP(GF::GdipSetSmoothingMode(G, m));
}
CompositingQuality TGPGraphics::GetCompositingQuality() {
    CompositingQuality q = CompositingQualityDefault;
    SetStatus(GF::GdipGetCompositingQuality(G, &q));
    return q;
}
TGPStatus TGPGraphics::SetCompositingQuality(CompositingQuality q) {
    KEEP(GF::GdipSetCompositingQuality(G, q));
}
TGPStatus TGPGraphics::DrawPath(TGPPen* p, TGPGraphicsPath* path) {
    KEEP(GF::GdipDrawPath(G, p->Native(), path->Native()));
}
TGPStatus TGPGraphics::FillPath(TGPBrush* b, TGPGraphicsPath* path) {
    KEEP(GF::GdipFillPath(G, b->Native(), path->Native()));
}
TGPStatus TGPGraphics::FillRectangle(TGPBrush* b, const RectF& r) {
    return FillRectangle(b, r.X, r.Y, r.Width, r.Height);
}
TGPStatus TGPGraphics::FillRectangle(TGPBrush* b, float x, float y, float w, float h) {
    KEEP(GF::GdipFillRectangle(G, b->Native(), x, y, w, h));
}
TGPStatus TGPGraphics::FillPolygon(TGPBrush* b, const PointF* p, int n) {
    return FillPolygon(b, p, n, FillModeAlternate);
}
TGPStatus TGPGraphics::FillPolygon(TGPBrush* b, const PointF* p, int n, FillMode m) {
    KEEP(GF::GdipFillPolygon(G, b->Native(), p, n, m));
}
TGPStatus TGPGraphics::FillPolygon(TGPBrush* b, const Gdiplus::Point* p, int n) {
    return FillPolygon(b, p, n, FillModeAlternate);
}
TGPStatus TGPGraphics::FillPolygon(TGPBrush* b, const Gdiplus::Point* p, int n, FillMode m) {
    KEEP(GF::GdipFillPolygonI(G, b->Native(), p, n, m));
}
TGPStatus TGPGraphics::FillEllipse(TGPBrush* b, const RectF& r) {
    return FillEllipse(b, r.X, r.Y, r.Width, r.Height);
}
TGPStatus TGPGraphics::FillEllipse(TGPBrush* b, float x, float y, float w, float h) {
    KEEP(GF::GdipFillEllipse(G, b->Native(), x, y, w, h));
}
TGPStatus TGPGraphics::FillEllipse(TGPBrush* b, const Gdiplus::Rect& r) {
    return FillEllipse(b, r.X, r.Y, r.Width, r.Height);
}
TGPStatus TGPGraphics::FillEllipse(TGPBrush* b, int x, int y, int w, int h) {
    KEEP(GF::GdipFillEllipseI(G, b->Native(), x, y, w, h));
}
TGPStatus TGPGraphics::DrawEllipse(TGPPen* p, const RectF& r) {
    return DrawEllipse(p, r.X, r.Y, r.Width, r.Height);
}
TGPStatus TGPGraphics::DrawEllipse(TGPPen* p, float x, float y, float w, float h) {
    KEEP(GF::GdipDrawEllipse(G, p->Native(), x, y, w, h));
}
TGPStatus TGPGraphics::DrawEllipse(TGPPen* p, const Gdiplus::Rect& r) {
    return DrawEllipse(p, r.X, r.Y, r.Width, r.Height);
}
TGPStatus TGPGraphics::DrawEllipse(TGPPen* p, int x, int y, int w, int h) {
    KEEP(GF::GdipDrawEllipseI(G, p->Native(), x, y, w, h));
}
TGPStatus
TGPGraphics::DrawBezier(TGPPen* p, float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
    KEEP(GF::GdipDrawBezier(G, p->Native(), x1, y1, x2, y2, x3, y3, x4, y4));
}
TGPStatus TGPGraphics::DrawBezier(TGPPen* p, const PointF& a, const PointF& b, const PointF& c, const PointF& d) {
    return DrawBezier(p, a.X, a.Y, b.X, b.Y, c.X, c.Y, d.X, d.Y);
}
TGPStatus TGPGraphics::DrawBeziers(TGPPen* p, const PointF* pts, int n) {
    KEEP(GF::GdipDrawBeziers(G, p->Native(), pts, n));
}
TGPStatus TGPGraphics::DrawArc(TGPPen* p, float x, float y, float w, float h, float a, float s) {
    KEEP(GF::GdipDrawArc(G, p->Native(), x, y, w, h, a, s));
}
TGPStatus TGPGraphics::DrawArc(TGPPen* p, const RectF& r, float a, float s) {
    return DrawArc(p, r.X, r.Y, r.Width, r.Height, a, s);
}
TGPStatus TGPGraphics::DrawRectangle(TGPPen* p, const RectF& r) {
    return DrawRectangle(p, r.X, r.Y, r.Width, r.Height);
}
TGPStatus TGPGraphics::DrawRectangle(TGPPen* p, float x, float y, float w, float h) {
    KEEP(GF::GdipDrawRectangle(G, p->Native(), x, y, w, h));
}
TGPStatus TGPGraphics::DrawLine(TGPPen* p, float x1, float y1, float x2, float y2) {
    KEEP(GF::GdipDrawLine(G, p->Native(), x1, y1, x2, y2));
}
TGPStatus TGPGraphics::DrawImage(TGPImage* i, int x, int y) {
    KEEP(GF::GdipDrawImageI(G, i->Native(), x, y));
}
TGPStatus TGPGraphics::DrawImage(TGPImage* i, float x, float y, float w, float h) {
    KEEP(GF::GdipDrawImageRect(G, i->Native(), x, y, w, h));
}
TGPStatus TGPGraphics::DrawImage(TGPImage* i,
                                 const RectF& d,
                                 float sx,
                                 float sy,
                                 float sw,
                                 float sh,
                                 Unit u,
                                 TGPImageAttributes* a) {
    KEEP(GF::GdipDrawImageRectRect(G, i->Native(), d.X, d.Y, d.Width, d.Height, sx, sy, sw, sh, u,
                                   a ? a->Native() : nullptr, nullptr, nullptr));
}
TGPStatus TGPGraphics::DrawImage(TGPImage* i,
                                 const Gdiplus::Rect& d,
                                 int sx,
                                 int sy,
                                 int sw,
                                 int sh,
                                 Unit u,
                                 TGPImageAttributes* a) {
    KEEP(GF::GdipDrawImageRectRectI(G, i->Native(), d.X, d.Y, d.Width, d.Height, sx, sy, sw, sh, u,
                                    a ? a->Native() : nullptr, nullptr, nullptr));
}
TGPStatus TGPGraphics::DrawImageRect(TGPImage* i, int x, int y, int w, int h) {
    KEEP(GF::GdipDrawImageRect(G, i->Native(), static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                               static_cast<float>(h)));
}
TGPStatus TGPGraphics::DrawImageRect(TGPImage* i, const RectF& r) {
    return DrawImageRect(i, static_cast<int>(std::lround(r.X)), static_cast<int>(std::lround(r.Y)),
                         static_cast<int>(std::lround(r.Width)), static_cast<int>(std::lround(r.Height)));
}
TGPStatus TGPGraphics::MeasureString(const wchar_t* t,
                                     int n,
                                     TGPFont* f,
                                     const RectF& l,
                                     TGPStringFormat* fmt,
                                     RectF* b) {
    KEEP(GF::GdipMeasureString(G, t, n, f->Native(), &l, fmt ? fmt->Native() : nullptr, b, nullptr, nullptr));
}
TGPStatus TGPGraphics::MeasureString(const wchar_t* t, int n, TGPFont* f, const PointF& o, RectF* b) {
    return MeasureString(t, n, f, RectF(o.X, o.Y, 0, 0), nullptr, b);
}
TGPStatus TGPGraphics::MeasureString(const wchar_t* t, int n, TGPFont* f, const RectF& l, RectF* b) {
    return MeasureString(t, n, f, l, nullptr, b);
}
TGPStatus TGPGraphics::DrawString(const wchar_t* t,
                                  int n,
                                  TGPFont* f,
                                  const RectF& l,
                                  TGPStringFormat* fmt,
                                  TGPBrush* b) {
    KEEP(GF::GdipDrawString(G, t, n, f->Native(), &l, fmt ? fmt->Native() : nullptr, b->Native()));
}
TGPStatus TGPGraphics::DrawString(const wchar_t* t, int n, TGPFont* f, const PointF& o, TGPBrush* b) {
    return DrawString(t, n, f, RectF(o.X, o.Y, 0, 0), nullptr, b);
}
TGPStatus TGPGraphics::DrawString(const wchar_t* t,
                                  int n,
                                  TGPFont* f,
                                  const PointF& o,
                                  TGPStringFormat* fmt,
                                  TGPBrush* b) {
    return DrawString(t, n, f, RectF(o.X, o.Y, 0, 0), fmt, b);
}
TGPStatus TGPGraphics::DrawString(const wchar_t* t, int n, TGPFont* f, const RectF& l, TGPBrush* b) {
    return DrawString(t, n, f, l, nullptr, b);
}
TGPStatus TGPGraphics::ExcludeClip(const RectF& r) {
    KEEP(GF::GdipSetClipRect(G, r.X, r.Y, r.Width, r.Height, CombineModeExclude));
}
TGPStatus TGPGraphics::ExcludeClip(TGPRegion* r) {
    KEEP(GF::GdipSetClipRegion(G, r->Native(), CombineModeExclude));
}
TGPStatus TGPGraphics::SetClip(TGPRegion* r, CombineMode m) {
    KEEP(GF::GdipSetClipRegion(G, r->Native(), m));
}
TGPStatus TGPGraphics::SetClip(TGPGraphicsPath* p, CombineMode m) {
    KEEP(GF::GdipSetClipPath(G, p->Native(), m));
}
TGPStatus TGPGraphics::ResetClip() {
    KEEP(GF::GdipResetClip(G));
}
#undef G

TGPFont* TGPGraphics::MakeFont(TFont* font) {
    int style = FontStyleRegular;
    const TFontStyles s = font->Style();
    if (s.Contains(fsBold))
        style |= FontStyleBold;
    if (s.Contains(fsItalic))
        style |= FontStyleItalic;
    if (s.Contains(fsUnderline))
        style |= FontStyleUnderline;
    if (s.Contains(fsStrikeOut))
        style |= FontStyleStrikeout;
    const float size = static_cast<float>(font->Size());
    GpFontFamily* family = nullptr;
    TGPStatus st = GF::GdipCreateFontFamilyFromName(font->Name().c_str(), nullptr, &family);
    GpFont* native = nullptr;
    if (st == Ok)
        st = GF::GdipCreateFont(family, size, style, UnitPoint, &native);
    if (st == FontFamilyNotFound || st == FontStyleNotFound) {
        if (family)
            GF::GdipDeleteFontFamily(family);
        family = nullptr;
        if ((st = GF::GdipCreateFontFamilyFromName(L"Arial", nullptr, &family)) == Ok)
            st = GF::GdipCreateFont(family, size, style, UnitPoint, &native);
    }
    // Not even Arial (a bare system): the generic sans-serif family.
    if (st != Ok) {
        if (family)
            GF::GdipDeleteFontFamily(family);
        family = nullptr;
        if ((st = GF::GdipGetGenericFontFamilySansSerif(&family)) == Ok)
            st = GF::GdipCreateFont(family, size, style, UnitPoint, &native);
    }
    if (family)
        GF::GdipDeleteFontFamily(family);
    return new TGPFont(native, st);
}

int TGPGraphics::TextWidth(const std::wstring& text, TFont* font) {
    TGPFont* f = MakeFont(font);
    RectF b{};
    MeasureString(text.c_str(), static_cast<int>(text.size()), f, RectF(0, 0, 10000, 10000), &b);
    delete f;
    return static_cast<int>(std::lround(b.Width));
}

int TGPGraphics::TextHeight(const std::wstring& text, TFont* font) {
    TGPFont* f = MakeFont(font);
    RectF b{};
    MeasureString(text.c_str(), static_cast<int>(text.size()), f, RectF(0, 0, 10000, 10000), &b);
    delete f;
    return static_cast<int>(std::lround(b.Height));
}

int TGPGraphics::DrawText(const std::wstring& text,
                          int length,
                          TColor background,
                          UINT flags,
                          TFont* font,
                          TRect& rect) {
    constexpr UINT kMeasure = 0x400;
    TGPFont* f = MakeFont(font);
    length = std::max(0, std::min(length, static_cast<int>(text.size())));
    if ((flags & kMeasure) || background != clNone) {
        // A trailing blank counts: measured as "i".
        std::wstring measured = text.substr(0, length);
        if (!measured.empty() && measured.back() == L' ')
            measured.back() = L'i';
        RectF b{};
        MeasureString(measured.c_str(), static_cast<int>(measured.size()), f,
                      RectF(static_cast<float>(rect.Left), static_cast<float>(rect.Top),
                            static_cast<float>(rect.Width() + 1000), static_cast<float>(rect.Height())),
                      &b);
        const int size = font->Size();
        const int trim = size >= 9 ? static_cast<int>(std::lround((size - 8) / 1.5)) + 2 : 2;
        rect.Right = rect.Left + static_cast<int>(std::lround(b.Width)) - trim;
        rect.Bottom = rect.Top + static_cast<int>(std::lround(b.Height));
        if (background != clNone) {
            TGPSolidBrush fill(GdiplusArgb(background));
            FillRectangle(&fill, static_cast<float>(rect.Left), static_cast<float>(rect.Top),
                          static_cast<float>(rect.Width()), static_cast<float>(rect.Height()));
        }
    }
    if (!(flags & kMeasure)) {
        TGPSolidBrush ink(GdiplusArgb(font->Color()));
        DrawString(text.c_str(), length, f, PointF(static_cast<float>(rect.Left), static_cast<float>(rect.Top)), &ink);
    }
    delete f;
    return rect.Height();
}
