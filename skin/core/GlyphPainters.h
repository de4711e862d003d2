// Glyph, layout and background painters: one layout rule that places a glyph and a caption in a rectangle, the
// built-in small glyphs (arrows, check mark, radio square, caption-button symbols) for skins without pictures, the
// dotted focus rectangle, a one-pixel 3D frame, and the background behind a transparent control. Free functions on a
// class-library canvas; no state. GUI thread only.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "classlib/Types.h"

enum TbsButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Positions of text and glyph in R. Margin -1 centres the group; halves truncate toward zero; Spacing counts as 0
// without a glyph.
void CalcLCoord(TbsButtonLayout Layout,
                const TRect& R,
                int GlyphWidth,
                int GlyphHeight,
                int TextWidth,
                int TextHeight,
                int Spacing,
                int Margin,
                int& TX,
                int& TY,
                int& GX,
                int& GY);

// Image ImageIndex of ImageList (none when the index is outside the list) and the caption centred in its rectangle;
// Down shifts both by one pixel; DirectDraw draws through the system image list call. With DrawColorMarker a bar in
// ColorMarkerValue under the glyph or the caption (or a filled rectangle without either).
void DrawImageAndText(TCanvas* Canvas,
                      const TRect& R,
                      int Margin,
                      int Spacing,
                      TbsButtonLayout Layout,
                      const std::wstring& Caption,
                      int ImageIndex,
                      TCustomImageList* ImageList,
                      bool Down,
                      bool Enabled,
                      bool DrawColorMarker,
                      TColor ColorMarkerValue,
                      bool DirectDraw);
// The same with the caption left aligned in its rectangle.
void DrawImageAndTextLeft(TCanvas* Canvas,
                          const TRect& R,
                          int Margin,
                          int Spacing,
                          TbsButtonLayout Layout,
                          const std::wstring& Caption,
                          int ImageIndex,
                          TCustomImageList* ImageList,
                          bool Down,
                          bool Enabled,
                          bool DrawColorMarker,
                          TColor ColorMarkerValue);
// The argument order the installer's and the dialogs' controls use: image at the margin, caption after it (Layout is
// a TbsButtonLayout value).
void DrawImageAndTextLeft(TCanvas* Canvas,
                          const TRect& R,
                          int Margin,
                          TColor MarkerColor,
                          bool ShowMarker,
                          bool Enabled,
                          bool Pressed,
                          TCustomImageList* Images,
                          int ImageIndex,
                          const std::wstring& Text,
                          int Layout,
                          int Spacing);
// With a blurred glow of GlowColor and GlowSize behind glyph and caption.
void DrawImageAndEffectText(TCanvas* Canvas,
                            const TRect& R,
                            int Margin,
                            int Spacing,
                            TbsButtonLayout Layout,
                            const std::wstring& Caption,
                            int ImageIndex,
                            TCustomImageList* ImageList,
                            bool Down,
                            bool Enabled,
                            bool DrawColorMarker,
                            TColor ColorMarkerValue,
                            TColor GlowColor,
                            int GlowSize);
// Frame GlyphNum (from 1) of a strip of NumGlyphs equal frames as the glyph. NumGlyphs 0 means no glyph.
void DrawGlyphAndText(TCanvas* Canvas,
                      const TRect& R,
                      int Margin,
                      int Spacing,
                      TbsButtonLayout Layout,
                      const std::wstring& Caption,
                      TBitmap* Glyph,
                      int NumGlyphs,
                      int GlyphNum,
                      bool Down,
                      bool DrawColorMarker,
                      TColor ColorMarkerValue);
void DrawGlyphAndEffectText(TCanvas* Canvas,
                            const TRect& R,
                            int Margin,
                            int Spacing,
                            TbsButtonLayout Layout,
                            const std::wstring& Caption,
                            TBitmap* Glyph,
                            int NumGlyphs,
                            int GlyphNum,
                            bool Down,
                            bool DrawColorMarker,
                            TColor ColorMarkerValue,
                            TColor GlowColor,
                            int GlowSize);
// One frame of a strip at (X, Y), its bottom-left pixel's colour transparent. Nothing for an empty strip or
// NumGlyphs 0.
void DrawGlyph(TCanvas* Canvas, int X, int Y, TBitmap* Glyph, int NumGlyphs, int GlyphNum);

// ---- Small glyphs ---------------------------------------------------------------------------------------------------
void DrawTrackArrowImage(TCanvas* Canvas, const TRect& R, TColor Color);
// Kind 1 left, 2 right, 3 up, 4 down (DrawArrowImage also 5, a plus sign); 4, 6 and 3 lines.
void DrawArrowImage(TCanvas* Canvas, const TRect& R, TColor Color, int Kind);
void DrawArrowImage2(TCanvas* Canvas, const TRect& R, TColor Color, int Kind);
void DrawArrowImage3(TCanvas* Canvas, const TRect& R, TColor Color, int Kind);
void DrawCheckImage(TCanvas* Canvas, int X, int Y, TColor Color);
// A filled 6 x 6 square (the skinned menu's radio item draws a round dot of its own).
void DrawRadioImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawCloseImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawSysMenuImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMinimizeImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMaximizeImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRestoreImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRestoreRollUpImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRollUpImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMTImage(TCanvas* Canvas, int X, int Y, TColor Color);
// The named 16 x 16 glyphs the skin engine carries for its own controls ("BS_PRIORMONTH", "BS_NEXTMONTH": one
// arrow; "BS_PRIORYEAR", "BS_NEXTYEAR": two) into B, in Color on a background that is B's transparent colour (its
// bottom-left pixel, as DrawGlyph reads it). False, B untouched, for another name.
bool MakeNamedGlyph(const std::wstring& Name, TColor Color, TBitmap* B);

// Dotted frame in the font colour along R, its right and bottom sides one pixel inside.
void DrawSkinFocusRect(TCanvas* Canvas, const TRect& R);
// One-pixel frame inside R: left and top in TopColor, right and bottom in BottomColor.
void Frm3D(TCanvas* Canvas, const TRect& R, TColor TopColor, TColor BottomColor);

// What lies behind Control, in Control's coordinates (or behind its part R): the parent's background and own
// painting and the parent's non-windowed controls below Control. Nothing without a parent.
void GetParentImage(TControl* Control, TCanvas* DestCanvas);
void GetParentImageRect(TControl* Control, const TRect& R, TCanvas* DestCanvas);
