// Colour packing and the HSL colour model of the skin bitmaps. Colours here are pixels (0x..RRGGBB, alpha in the top
// byte where it matters); class-library colours (0x00BBGGRR) enter only through FromRGB. The bsColor overload that also
// resolves system colours is the Win32 part (SkinBitmap.h). Pure code: no windows.h. Rounding is to nearest with ties
// to even; the colour model works in single precision.
#pragma once

#include <cstdint>

// A class-library colour 0x00BBGGRR (its low three bytes) as the opaque pixel 0xFFRRGGBB.
std::uint32_t FromRGB(std::uint32_t Color);

// Each of R, G, B clamped to 0..255, packed with A as 0xAARRGGBB.
std::uint32_t bsColor(int R, int G, int B, std::uint8_t A);

// Hue, saturation and lightness of a pixel's colour, each in 0..1.
void RGBtoHSL(std::uint32_t Color, float& H, float& S, float& L);
// The opaque pixel of a hue, saturation and lightness (values outside 0..1 are clamped per channel).
std::uint32_t HSLtoRGB(float H, float S, float L);
// One channel of HSLtoRGB: 0..255 for m1, m2 in 0..1 (not clamped).
int HueToColor(float m1, float m2, float h);

// The colour with its hue replaced by Hue / 255 (Hue clamped to 0..255).
std::uint32_t SetHue(std::uint32_t Color, int Hue);
// The colour with its saturation (hue) moved by Delta / 255, wrapping around at the ends.
std::uint32_t ChangeSat(std::uint32_t Color, int Delta);
std::uint32_t ChangeHue(std::uint32_t Color, int Delta);
// Delta added to red, green and blue, each clamped to 0..255.
std::uint32_t ChangeBrightness(std::uint32_t Color, int Delta);
