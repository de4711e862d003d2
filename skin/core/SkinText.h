// Text painters of the skin engine: single-line painters with fixed alignment rules, a centred multi-line painter that
// wraps or shortens, measuring, cutting a text to a width with "...", and effect texts built on a 32-bit coverage mask:
// a blurred glow behind the text, a soft glow patch (the "Vista" look) and a fading mirror image below the text.
// All draw on a class-library canvas with its current font and keep no state. GUI thread only.
//
// Odd-height rule: with a font whose height (class-library units, negative for character height) is odd, several
// painters move their rectangle up by one pixel so that the text sits where the skins were drawn for.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Graphics.h"
#include "classlib/Types.h"
#include "skin/core/SkinTypes.h"

class TbsBitmap;

bool IsOddFontHeight(TCanvas* Canvas);

// DrawTextW of Text in R with Format; returns its result (with DT_CALCRECT R becomes the measured extent).
int BSDrawSkinText(TCanvas* Canvas, const std::wstring& Text, TRect& R, std::uint32_t Format);
// One line, left, vertically centred; odd-height rule; nothing for an empty text.
void BSDrawText(TCanvas* Canvas, const std::wstring& Text, const TRect& R);
// Centred; a text that begins with "W" gets two more pixels on the right.
void BSDrawText4(TCanvas* Canvas, const std::wstring& Text, const TRect& R);
// Left aligned with the same "W" rule.
void BSDrawText5(TCanvas* Canvas, const std::wstring& Text, const TRect& R);
void BSDrawTextAlignment(TCanvas* Canvas, const std::wstring& Text, const TRect& R, TAlignment Alignment);
// Clipped to R at x = R.Left + 2 (+ Offset), vertically centred on the text height; odd-height rule.
void BSDrawText2(TCanvas* Canvas, const std::wstring& Text, const TRect& R);
void BSDrawText3(TCanvas* Canvas, const std::wstring& Text, const TRect& R, int Offset);
// Centred and word-wrapped; BreakLongWords breaks words wider than R where they overflow, otherwise a text that does
// not fit is cut so that it followed by "..." fits.
void BSDrawTextCenterMultiLine(TCanvas* Canvas, const std::wstring& Text, const TRect& R, bool BreakLongWords);
// The text BSDrawTextCenterMultiLine wraps when it breaks long words: a blank before each character at which a word
// stops fitting Width, so that the word continues on the next line.
std::wstring BreakLongWordsText(TCanvas* Canvas, const std::wstring& Text, int Width);

// Width or height measured with DT_CALCRECT from an empty rectangle (NoPrefix: "&" is not a prefix).
int CalcTextWidthWNoPrefix(TCanvas* Canvas, const std::wstring& Text);
int CalcTextHeightW(TCanvas* Canvas, const std::wstring& Text);
int CalcTextHeightWNoPrefix(TCanvas* Canvas, const std::wstring& Text);
// Text shortened to the longest prefix that fits Width together with "..." ("..." alone at worst); unchanged when it
// fits. Widths by the canvas's text width, or by DT_CALCRECT + DT_NOPREFIX.
void CorrectTextbyWidth(TCanvas* Canvas, std::wstring& Text, int Width);
void CorrectTextbyWidthWNoPrefix(TCanvas* Canvas, std::wstring& Text, int Width);

// ---- Effect texts ---------------------------------------------------------------------------------------------------
// Every pixel of Mask gets the colour GlowColor (a class-library colour, converted so that red stays red) and the alpha
// of its red byte; the layer is then ready to be drawn alpha-blended.
void MakeGlowLayer(TbsBitmap* Mask, TColor GlowColor);
// The glow layer of a text as the effect text draws it: a bitmap of R's size plus GlowSize on every side with the text
// drawn in red into it MaskCopies times (once in place; with 5 also shifted by one pixel left, right, up and down),
// blurred with radius GlowSize and coloured. The font is Canvas's.
void BuildEffectTextLayer(TbsBitmap* Layer,
                          TCanvas* Canvas,
                          const TRect& R,
                          const std::wstring& Text,
                          int GlowSize,
                          TColor GlowColor,
                          std::uint32_t Format,
                          int MaskCopies);
// The glow of GlowSize and GlowColor behind the text at (R.Left + GlowOffset - GlowSize, R.Top + GlowOffset -
// GlowSize), then the text in R with a clear brush. MaskCopies: 5 in the notifier's skins, 1 in the installer's;
// 0 takes the program's setting (EffectTextMaskCopies).
void DrawEffectText(TCanvas* Canvas,
                    const TRect& R,
                    const std::wstring& Text,
                    int GlowSize,
                    TColor GlowColor,
                    int GlowOffset,
                    std::uint32_t Format,
                    int MaskCopies = 0);
// How many times this program draws effect text into its glow mask (5 unless the program sets another count once
// at its start: the installer draws it once).
void SetEffectTextMaskCopies(int Copies);
int EffectTextMaskCopies();
void DrawEffectTextW(TCanvas* Canvas,
                     const TRect& R,
                     const std::wstring& Text,
                     int GlowSize,
                     TColor GlowColor,
                     int GlowOffset,
                     std::uint32_t Format);
// A soft light patch with a blurred outline behind the text (margin 12, or 10 for the second form).
void DrawVistaEffectTextW(TCanvas* Canvas,
                          const TRect& R,
                          const std::wstring& Text,
                          TColor GlowColor,
                          std::uint32_t Format);
void DrawVistaEffectTextW2(TCanvas* Canvas,
                           const TRect& R,
                           const std::wstring& Text,
                           TColor GlowColor,
                           std::uint32_t Format);
// The text with a faded mirror image starting ReflectionOffset pixels below the text's bottom.
void DrawReflectionTextW(TCanvas* Canvas,
                         const TRect& R,
                         const std::wstring& Text,
                         TColor GlowColor,
                         int ReflectionOffset,
                         std::uint32_t Format);

// The class library's font styles for a skin record's.
TFontStyles ToFontStyles(TbsFontStyles Styles);
