// TbsEffectBmp's DIB section and GDI transfers, and the TbsBitmap effects (see EffectBitmap.h); the arithmetic is in
// EffectPixels.cpp.
#include "skin/core/EffectBitmap.h"

#include <climits>
#include <cstring>

#include "skin/core/EffectPixels.h"
#include "skin/core/SkinBitmap.h"

namespace {

TEffectView ViewOf(const TbsEffectBmp* b) {
    return b ? b->View() : TEffectView{};
}

}  // namespace

TbsEffectBmp::TbsEffectBmp(int cx, int cy) {
    Allocate(cx, cy);
}

TbsEffectBmp::~TbsEffectBmp() = default;

void TbsEffectBmp::Allocate(int cx, int cy) {
    FHandle.Reset();
    FBits = nullptr;
    FWidth = FHeight = 0;
    FSize = 0;
    FBmpInfo = BITMAPINFO{};
    BITMAPINFOHEADER& h = FBmpInfo.bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    if (cx <= 0 || cy <= 0)
        return;
    // The system's DIB size is 32-bit: a larger surface would be allocated wrapped around, too small.
    const long long bytes = (long long)TEffectView::RowLength(cx) * cy;
    if (bytes > INT_MAX)
        return;
    h.biWidth = cx;
    h.biHeight = -cy;
    void* bits = nullptr;
    TGdiBitmap handle(::CreateDIBSection(nullptr, &FBmpInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!handle || !bits) {
        h.biWidth = 0;
        h.biHeight = 0;
        return;
    }
    FHandle = std::move(handle);
    FBits = static_cast<std::uint8_t*>(bits);
    FWidth = cx;
    FHeight = cy;
    FSize = std::size_t(bytes);
}

std::unique_ptr<TbsEffectBmp> TbsEffectBmp::CreateFromhWnd(HBITMAP hBmp) {
    BITMAP bm{};
    if (!hBmp || ::GetObjectW(hBmp, sizeof(bm), &bm) == 0)
        return nullptr;
    std::unique_ptr<TbsEffectBmp> result(new TbsEffectBmp());
    result->Allocate(bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight);
    if (!result->FBits)
        return result;
    TDCHandle dc(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (dc) {
        // GetDIBits may fill in fields of the description it is given; the bitmap keeps its own.
        BITMAPINFO info = result->FBmpInfo;
        ::GetDIBits(dc.Get(), hBmp, 0, UINT(result->FHeight), result->FBits, &info, DIB_RGB_COLORS);
    }
    return result;
}

std::unique_ptr<TbsEffectBmp> TbsEffectBmp::CreateCopy(const TbsEffectBmp& Source) {
    std::unique_ptr<TbsEffectBmp> result(new TbsEffectBmp());
    result->Allocate(Source.FWidth, Source.FHeight);
    if (result->FBits && Source.FBits)
        std::memcpy(result->FBits, Source.FBits, Source.FSize);
    return result;
}

TEffectView TbsEffectBmp::View() const {
    if (!FBits)
        return {};
    return TEffectView{FBits, FWidth, FHeight, RowLength()};
}

// ---- Drawing --------------------------------------------------------------------------------------------------------
void TbsEffectBmp::Draw(HDC hDC, int x, int y) {
    if (!FBits || !hDC)
        return;
    ::SetDIBitsToDevice(hDC, x, y, DWORD(FWidth), DWORD(FHeight), 0, 0, 0, UINT(FHeight), FBits, &FBmpInfo,
                        DIB_RGB_COLORS);
}

void TbsEffectBmp::Stretch(HDC hDC, int x, int y, int cx, int cy) {
    if (!FBits || !hDC)
        return;
    ::StretchDIBits(hDC, x, y, cx, cy, 0, 0, FWidth, FHeight, FBits, &FBmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TbsEffectBmp::DrawRect(HDC hDC, int hx, int hy, int x, int y, int cx, int cy) {
    if (!FBits || !hDC || cx <= 0 || cy <= 0)
        return;
    // Source coordinates of a top-down DIB count from its top-left corner.
    ::StretchDIBits(hDC, hx, hy, cx, cy, x, y, cx, cy, FBits, &FBmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

// ---- Rows and pixels ------------------------------------------------------------------------------------------------
void TbsEffectBmp::GetScanLine(int y, void* Line) const {
    if (FBits)
        std::memcpy(Line, GetLine(y), std::size_t(FWidth) * 3);
}

void TbsEffectBmp::SetLine(int y, const void* Line) {
    if (FBits)
        std::memcpy(GetLine(y), Line, std::size_t(FWidth) * 3);
}

std::uint32_t TbsEffectBmp::GetPixel(int x, int y) const {
    if (!View().Contains(x, y))
        return 0;
    const std::uint8_t* p = GetLine(y) + 3 * x;
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
}

void TbsEffectBmp::SetPixel(int x, int y, std::uint32_t Clr) {
    if (!View().Contains(x, y))
        return;
    std::uint8_t* p = GetLine(y) + 3 * x;
    p[0] = std::uint8_t(Clr);
    p[1] = std::uint8_t(Clr >> 8);
    p[2] = std::uint8_t(Clr >> 16);
}

// ---- Effects --------------------------------------------------------------------------------------------------------
void TbsEffectBmp::Morph(TbsEffectBmp* BMP, double Kf) {
    EffectPixels::Morph(View(), ViewOf(BMP), Kf);
}
void TbsEffectBmp::MorphRect(TbsEffectBmp* BMP, double Kf, const TRect& Rct, int StartX, int StartY) {
    EffectPixels::MorphRect(View(), ViewOf(BMP), Kf, Rct, StartX, StartY);
}
void TbsEffectBmp::MorphGrad(TbsEffectBmp* BMP, double Kf) {
    EffectPixels::MorphGrad(View(), ViewOf(BMP), Kf);
}
void TbsEffectBmp::MorphHGrad(TbsEffectBmp* BMP, double Kf) {
    EffectPixels::MorphHGrad(View(), ViewOf(BMP), Kf);
}
void TbsEffectBmp::MorphVGrad(TbsEffectBmp* BMP, double Kf) {
    EffectPixels::MorphVGrad(View(), ViewOf(BMP), Kf);
}
void TbsEffectBmp::MorphLeftGrad(TbsEffectBmp* BMP, double Kf) {
    EffectPixels::MorphLeftGrad(View(), ViewOf(BMP), Kf);
}
void TbsEffectBmp::MorphRightGrad(TbsEffectBmp* BMP, double Kf) {
    EffectPixels::MorphRightGrad(View(), ViewOf(BMP), Kf);
}
void TbsEffectBmp::MorphLeftSlide(TbsEffectBmp* BMP, double Kf) {
    EffectPixels::MorphLeftSlide(View(), ViewOf(BMP), Kf);
}
void TbsEffectBmp::MorphRightSlide(TbsEffectBmp* BMP, double Kf) {
    EffectPixels::MorphRightSlide(View(), ViewOf(BMP), Kf);
}
void TbsEffectBmp::MorphPush(TbsEffectBmp* BMP, double Kf) {
    EffectPixels::MorphPush(View(), ViewOf(BMP), Kf);
}
void TbsEffectBmp::CopyRect(TbsEffectBmp* BMP, const TRect& Rct, int StartX, int StartY) {
    EffectPixels::CopyRect(View(), ViewOf(BMP), Rct, StartX, StartY);
}

void TbsEffectBmp::ChangeBrightness(double Kf) {
    EffectPixels::ChangeBrightness(View(), Kf);
}
void TbsEffectBmp::ChangeDarkness(double Kf) {
    EffectPixels::ChangeDarkness(View(), Kf);
}
void TbsEffectBmp::Invert() {
    EffectPixels::Invert(View());
}
void TbsEffectBmp::GrayScale() {
    EffectPixels::GrayScale(View());
}
void TbsEffectBmp::AddMonoNoise(int Amount) {
    EffectPixels::AddMonoNoise(View(), Amount);
}
void TbsEffectBmp::AddColorNoise(int Amount) {
    EffectPixels::AddColorNoise(View(), Amount);
}
void TbsEffectBmp::SplitBlur(int Amount) {
    EffectPixels::SplitBlur(View(), Amount);
}
void TbsEffectBmp::Mosaic(int ASize) {
    EffectPixels::Mosaic(View(), ASize);
}
void TbsEffectBmp::Wave(int XDIV, int YDIV, int RatioVal) {
    EffectPixels::Wave(View(), XDIV, YDIV, RatioVal);
}

void TbsEffectBmp::Rotate90_1(TbsEffectBmp* Dst) {
    EffectPixels::Rotate90_1(View(), ViewOf(Dst));
}
void TbsEffectBmp::Rotate90_2(TbsEffectBmp* Dst) {
    EffectPixels::Rotate90_2(View(), ViewOf(Dst));
}
void TbsEffectBmp::FlipVert(TbsEffectBmp* Dst) {
    EffectPixels::FlipVert(View(), ViewOf(Dst));
}
void TbsEffectBmp::Resize(TbsEffectBmp* Dst) {
    EffectPixels::Resize(View(), ViewOf(Dst));
}

void TbsEffectBmp::MaskBlur(TbsEffectBmp* Msk, int Amount) {
    EffectPixels::MaskBlur(View(), ViewOf(Msk), Amount);
}
void TbsEffectBmp::MaskAntialiasing(TbsEffectBmp* Msk, int Amount) {
    EffectPixels::MaskAntialiasing(View(), ViewOf(Msk), Amount);
}
void TbsEffectBmp::MaskFillColor(TbsEffectBmp* Msk, std::uint32_t Color, double kf) {
    std::uint32_t rgb = Color;
    if ((Color & 0xFF000000) == 0xFF000000)
        rgb = ::GetSysColor(int(Color & 0xFF));
    // 0x00BBGGRR -> 0x00RRGGBB
    const std::uint32_t pixel = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    EffectPixels::MaskFillColor(View(), ViewOf(Msk), pixel, kf);
}

// ---- Effects on TbsBitmap -------------------------------------------------------------------------------------------
void Blur(TbsBitmap* Bitmap, int Radius) {
    if (Bitmap)
        EffectPixels::Blur(Bitmap->View(), Radius);
}

void CreateAlphaByMask(TbsBitmap* Bitmap, TbsBitmap* Mask) {
    if (Bitmap && Mask)
        EffectPixels::CreateAlphaByMask(Bitmap->View(), Mask->View());
}

void CreateAlphaByMask2(TbsBitmap* Bitmap, TbsBitmap* Mask) {
    if (Bitmap && Mask)
        EffectPixels::CreateAlphaByMask2(Bitmap->View(), Mask->View());
}
