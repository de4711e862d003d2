// The pixel arithmetic of the skin engine's visual effects, over views so that it runs without a window: the
// transitions, colour effects, blurs, geometry and mask effects of the 24-bit effect bitmap (TbsEffectBmp), and the
// three effects on 32-bit bitmaps: the stack blur and the alpha channel from a grey mask. Pure code: no windows.h.
// Rounding is to nearest with ties to even, formed in extended precision; results are clamped to 0..255 before they are
// stored. An empty view makes every routine do nothing.
#pragma once

#include <cstdint>

#include "classlib/Types.h"
#include "skin/core/PixelView.h"

namespace EffectPixels {

// ---- Transitions: This changes towards Target by Kf (0 = this image, 1 = the target; clamped to 0..1) ---------------
// The whole-image transitions do nothing when the two sizes differ.
void Morph(const TEffectView& This, const TEffectView& Target, double Kf);
// Cross-fade of Rct (right and bottom inclusive) with Target's pixels from (StartX, StartY); the rectangle is cut to
// what lies inside both bitmaps.
void MorphRect(const TEffectView& This, const TEffectView& Target, double Kf, const TRect& Rct, int StartX, int StartY);
void MorphGrad(const TEffectView& This, const TEffectView& Target, double Kf);
void MorphHGrad(const TEffectView& This, const TEffectView& Target, double Kf);
void MorphVGrad(const TEffectView& This, const TEffectView& Target, double Kf);
void MorphLeftGrad(const TEffectView& This, const TEffectView& Target, double Kf);
void MorphRightGrad(const TEffectView& This, const TEffectView& Target, double Kf);
void MorphLeftSlide(const TEffectView& This, const TEffectView& Target, double Kf);
void MorphRightSlide(const TEffectView& This, const TEffectView& Target, double Kf);
void MorphPush(const TEffectView& This, const TEffectView& Target, double Kf);
// Target's pixels from (StartX, StartY) into Rct (right and bottom inclusive), cut to both bitmaps.
void CopyRect(const TEffectView& This, const TEffectView& Target, const TRect& Rct, int StartX, int StartY);

// ---- Colour effects -------------------------------------------------------------------------------------------------
void ChangeBrightness(const TEffectView& This, double Kf);
void ChangeDarkness(const TEffectView& This, double Kf);
void Invert(const TEffectView& This);
void GrayScale(const TEffectView& This);
// Random(Amount) - Amount div 2 added per pixel (mono) or per channel (colour).
void AddMonoNoise(const TEffectView& This, int Amount);
void AddColorNoise(const TEffectView& This, int Amount);
// Four-point average in place; Amount is cut to one less than the width and the height, so that every sample lies
// inside the bitmap. Nothing for Amount <= 0.
void SplitBlur(const TEffectView& This, int Amount);
void Mosaic(const TEffectView& This, int ASize);
void Wave(const TEffectView& This, int XDIV, int YDIV, int RatioVal);

// ---- Geometry into Dst ----------------------------------------------------------------------------------------------
// Dst is sized by the caller; pixels that would fall outside it are not written.
void Rotate90_1(const TEffectView& This, const TEffectView& Dst);
void Rotate90_2(const TEffectView& This, const TEffectView& Dst);
void FlipVert(const TEffectView& This, const TEffectView& Dst);
void Resize(const TEffectView& This, const TEffectView& Dst);

// ---- Mask effects ---------------------------------------------------------------------------------------------------
// A white mask pixel lies outside the mask; nothing happens when the widths differ or Msk is lower.
void MaskBlur(const TEffectView& This, const TEffectView& Msk, int Amount);
void MaskAntialiasing(const TEffectView& This, const TEffectView& Msk, int Amount);
// Inside the mask each channel becomes Round(c * (1 - kf) + kf * channel of Color); Color is 0x00RRGGBB.
void MaskFillColor(const TEffectView& This, const TEffectView& Msk, std::uint32_t Color, double kf);

// ---- Effects on 32-bit bitmaps --------------------------------------------------------------------------------------
// Stack blur of red, green and blue; every pixel becomes opaque. Nothing for Radius <= 0. The cost per pixel does not
// depend on the radius; radii above kMaxBlurRadius act as kMaxBlurRadius (the running sums stay in 32 bits).
constexpr int kMaxBlurRadius = 4000;
void Blur(const TPixelView& Bitmap, int Radius);
// Alpha of every pixel := Trunc((red + green + blue) / 3) of the Mask pixel at the same place; colours kept. Nothing
// when Mask is smaller than Bitmap.
void CreateAlphaByMask(const TPixelView& Bitmap, const TPixelView& Mask);
// The same, then the colours premultiplied by the new alpha.
void CreateAlphaByMask2(const TPixelView& Bitmap, const TPixelView& Mask);

}  // namespace EffectPixels
