// TbsEffectBmp: the 24-bit working bitmap of the skin engine's visual effects (cross-fades and slides of caption and
// menu buttons, dimmed or blurred inactive frames, rotated glyphs), and the three free effects on the 32-bit TbsBitmap:
// the stack blur (Blur) and the alpha channel from a grey mask (CreateAlphaByMask, CreateAlphaByMask2). Index:
// TbsEffectBmp, Blur, CreateAlphaByMask, CreateAlphaByMask2.
//
// Pixels are three bytes (blue, green, red), rows top-down and padded to 4 bytes. The bitmap owns its DIB section. When
// the pixel memory cannot be created the bitmap is 0 x 0 and every operation does nothing. The arithmetic lives in
// EffectPixels.h. GUI thread only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "classlib/GdiHandles.h"
#include "classlib/Types.h"
#include "skin/core/PixelView.h"

class TbsBitmap;

class TbsEffectBmp {
  public:
    // A cx x cy bitmap, all pixels black.
    TbsEffectBmp(int cx, int cy);
    // A 24-bit copy of the system bitmap hBmp (nullptr when hBmp is not a bitmap).
    static std::unique_ptr<TbsEffectBmp> CreateFromhWnd(HBITMAP hBmp);
    // A copy of another effect bitmap.
    static std::unique_ptr<TbsEffectBmp> CreateCopy(const TbsEffectBmp& Source);
    ~TbsEffectBmp();
    TbsEffectBmp(const TbsEffectBmp&) = delete;
    TbsEffectBmp& operator=(const TbsEffectBmp&) = delete;

    HBITMAP Handle() const { return FHandle.Get(); }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Bytes of pixel memory: row length times Height.
    std::size_t Size() const { return FSize; }
    std::uint8_t* Bits() const { return FBits; }
    const BITMAPINFOHEADER& BmpHeader() const { return FBmpInfo.bmiHeader; }
    const BITMAPINFO& BmpInfo() const { return FBmpInfo; }
    TEffectView View() const;

    // ---- Drawing onto a device context ------------------------------------------------------------------------------
    // The whole bitmap at (x, y), unscaled.
    void Draw(HDC hDC, int x, int y);
    // The whole bitmap scaled into (x, y, cx, cy).
    void Stretch(HDC hDC, int x, int y, int cx, int cy);
    // The rectangle (x, y, cx, cy) of the bitmap at (hx, hy), unscaled and upright.
    void DrawRect(HDC hDC, int hx, int hy, int x, int y, int cx, int cy);

    // ---- Rows and pixels (rows unchecked: callers stay inside the bitmap) -------------------------------------------
    std::uint8_t* GetLine(int y) const { return FBits + std::ptrdiff_t(y) * RowLength(); }
    std::uint8_t* ScanLines(int y) const { return GetLine(y); }
    // Row y (Width * 3 bytes) copied out of / into Line.
    void GetScanLine(int y, void* Line) const;
    void SetLine(int y, const void* Line);
    // 0x00RRGGBB; 0 outside the bitmap, where SetPixel writes nothing.
    std::uint32_t GetPixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t Clr);
    std::ptrdiff_t RowLength() const { return TEffectView::RowLength(FWidth); }

    // ---- Transitions towards BMP by Kf (0 = this image, 1 = BMP); nothing when --------------------------------------
    // the sizes differ ----
    void Morph(TbsEffectBmp* BMP, double Kf);
    // Rct right and bottom inclusive, cut to both bitmaps.
    void MorphRect(TbsEffectBmp* BMP, double Kf, const TRect& Rct, int StartX, int StartY);
    void MorphGrad(TbsEffectBmp* BMP, double Kf);
    void MorphHGrad(TbsEffectBmp* BMP, double Kf);
    void MorphVGrad(TbsEffectBmp* BMP, double Kf);
    void MorphLeftGrad(TbsEffectBmp* BMP, double Kf);
    void MorphRightGrad(TbsEffectBmp* BMP, double Kf);
    void MorphLeftSlide(TbsEffectBmp* BMP, double Kf);
    void MorphRightSlide(TbsEffectBmp* BMP, double Kf);
    void MorphPush(TbsEffectBmp* BMP, double Kf);
    void CopyRect(TbsEffectBmp* BMP, const TRect& Rct, int StartX, int StartY);

    // ---- Colour effects ---------------------------------------------------------------------------------------------
    void ChangeBrightness(double Kf);
    void ChangeDarkness(double Kf);
    void Invert();
    void GrayScale();
    void AddMonoNoise(int Amount);
    void AddColorNoise(int Amount);
    void SplitBlur(int Amount);
    void Mosaic(int ASize);
    void Wave(int XDIV, int YDIV, int RatioVal);

    // ---- Geometry into Dst (sized by the caller) --------------------------------------------------------------------
    void Rotate90_1(TbsEffectBmp* Dst);  // a quarter turn anticlockwise; Dst is Height x Width
    void Rotate90_2(TbsEffectBmp* Dst);  // a quarter turn clockwise
    void FlipVert(TbsEffectBmp* Dst);
    void Resize(TbsEffectBmp* Dst);

    // ---- Mask effects (Msk as wide as this bitmap and at least as high; white ---------------------------------------
    // lies outside the mask) ----
    void MaskBlur(TbsEffectBmp* Msk, int Amount);
    void MaskAntialiasing(TbsEffectBmp* Msk, int Amount);
    // Color is a class-library colour (0x00BBGGRR or a system colour).
    void MaskFillColor(TbsEffectBmp* Msk, std::uint32_t Color, double kf);

  private:
    TbsEffectBmp() = default;
    void Allocate(int cx, int cy);

    TGdiBitmap FHandle;
    int FWidth = 0;
    int FHeight = 0;
    std::size_t FSize = 0;
    std::uint8_t* FBits = nullptr;  // the DIB section's memory
    BITMAPINFO FBmpInfo{};
};

// Stack blur of Bitmap's colours (every pixel becomes opaque); nothing for Radius <= 0.
void Blur(TbsBitmap* Bitmap, int Radius);
// Alpha of each pixel := Trunc((red + green + blue) / 3) of Mask's pixel at the same place (Mask at least as large).
void CreateAlphaByMask(TbsBitmap* Bitmap, TbsBitmap* Mask);
// The same, then the colours premultiplied by the new alpha.
void CreateAlphaByMask2(TbsBitmap* Bitmap, TbsBitmap* Mask);
