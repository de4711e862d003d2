// TbsBitmap: the 32-bit drawing surface of every alpha-aware part of the skin engine (glyphs with soft edges, glowing
// text, layered window images): a top-down DIB section with an alpha byte per pixel (0xAARRGGBB, stored blue, green,
// red, alpha, rows without gaps), always selected into a memory DC of its own so that it can be drawn to through GDI
// and drawn from pixel by pixel. Also the process-wide DC -> bitmap list (FindBitmapByDC), which lets a drawing that is
// handed only a DC blend straight into another TbsBitmap, and bsColor with system colours.
//
// Ownership: the bitmap owns its DIB section and DC. A failed SetSize leaves it empty (Width and Height 0) and every
// pixel operation then does nothing. GUI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "classlib/Classes.h"
#include "classlib/GdiHandles.h"
#include "classlib/Graphics.h"
#include "classlib/Types.h"
#include "skin/core/ColorRoutines.h"
#include "skin/core/PixelView.h"

class TbsBitmap : public TPersistent {
  public:
    TbsBitmap();
    ~TbsBitmap() override;

    // Negative sizes count by their absolute value; nothing when either is 0 or the size is unchanged (the pixels are
    // kept). Otherwise a new surface with all pixels 0. Throws Exception "Can't allocate the DIB handle", "Can't create
    // compatible DC" or "Can't bslect an object into DC"; the bitmap is then empty.
    void SetSize(int AWidth, int AHeight);
    bool Empty() const { return !FHandle; }
    // Every pixel set to the 32-bit value Color.
    void Clear(std::uint32_t Color);
    // A canvas on the bitmap's DC, created on first use and kept bound to the DC across resizes (owned). GDI
    // drawing through it leaves the alpha bytes as GDI writes them (usually 0); callers set the alpha afterwards.
    TCanvas* GetCanvas();
    TCanvas* Canvas() { return GetCanvas(); }

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    std::uint32_t* Bits() const { return FBits; }
    HBITMAP Handle() const { return FHandle.Get(); }
    // The memory DC the bitmap is selected into (owned; nullptr while empty).
    HDC DC() const { return FDC.Get(); }
    TPixelView View() const { return TPixelView::Packed(FBits, FWidth, FHeight); }

    std::wstring Name;
    // How the bitmap is drawn onto something else: blended by its per-pixel alpha, or skipping the pixels that hold the
    // transparent key; with neither it is copied opaquely. AlphaBlend wins over Transparent.
    bool AlphaBlend = false;
    bool Transparent = false;
    bool NewFormat = false;

    // ---- Pixels (no bounds checks except in GetPixel/SetPixel) ------------------------------------------------------
    std::uint32_t* GetScanLine(int Y) const { return FBits + std::ptrdiff_t(Y) * FWidth; }
    std::uint32_t* GetPixelPtr(int X, int Y) const { return GetScanLine(Y) + X; }
    // 0 outside the bitmap or when it is empty.
    std::uint32_t GetPixel(int X, int Y) const;
    void SetPixel(int X, int Y, std::uint32_t Value);
    void SetAlpha(std::uint8_t Alpha);
    // Rect clipped to the bitmap; nothing when Rect has zero width or height.
    void SetAlpha(std::uint8_t Alpha, const TRect& Rect);

    // ---- Flags from content -----------------------------------------------------------------------------------------
    // AlphaBlend := some pixel has an alpha strictly between 0 and 255. The rectangle is not used.
    void CheckingAlphaBlend();
    void CheckingAlphaBlend(const TRect& Rect);
    // Pixels whose red, green and blue each lie within 5 of Color's (0x00RRGGBB) become the transparent key;
    // Transparent := whether any did. The rectangle is not used.
    void CheckingTransparent(std::uint32_t Color);
    void CheckingTransparent(std::uint32_t Color, const TRect& Rect);
    // Colour bytes above the alpha lowered to it; CheckRGBA2: colours premultiplied by the alpha.
    void CheckRGBA();
    void CheckRGBA2();

    // ---- Colour adjustments (pixels with alpha 0 are left alone; alpha kept) ----------------------------------------
    void ChangeBitmapBrightness(int DeltaBrightness);
    void SetBitmapHue(int Hue);
    void ChangeBitmapSat(int DeltaSat);
    void ChangeBitmapHue(int DeltaHue);

    // ---- Drawing from this bitmap -----------------------------------------------------------------------------------
    // Onto a device context. When DC belongs to a TbsBitmap the pixels are blended straight into it (DstRect moved by
    // minus the DC's window origin), so alpha survives composition.
    void Draw(HDC DC, int X, int Y);
    void Draw(HDC DC, int X, int Y, const TRect& SrcRect);
    void Draw(HDC DC, const TRect& DstRect);
    void Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect);
    // The same on a canvas's DC.
    void Draw(TCanvas* Canvas, int X, int Y);
    void Draw(TCanvas* Canvas, int X, int Y, const TRect& SrcRect);
    void Draw(TCanvas* Canvas, const TRect& DstRect);
    void Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
    // Into another TbsBitmap (SrcRect scaled into DstRect, pixel by pixel).
    void Draw(TbsBitmap* Bitmap, int X, int Y);
    void Draw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect);
    void Draw(TbsBitmap* Bitmap, const TRect& DstRect);
    void Draw(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);

    // DstRect filled with unscaled copies of SrcRect (the last column and row cut). TileClip draws only the tiles that
    // intersect DstClip (all when it is empty).
    void Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect);
    void Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
    void Tile(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
    void TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
    void TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
    void TileClip(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);

    // SrcRect of Bitmap put behind the pixels of this bitmap, with its top-left at (X, Y).
    void MergeDraw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect);

    // Graphic stretch-drawn into DstRect over a magenta background; every pixel that did not stay magenta is copied
    // into this bitmap (as GDI left it, alpha included), the others keep their value.
    void DrawGraphic(TGraphic* Graphic, const TRect& DstRect);

    // R (clipped) filled with Color; with AlphaBlend on, Color is blended by its own alpha.
    void FillRect(const TRect& R, std::uint32_t Color);
    void FlipVert();
    // A fading mirror image: flipped, then the alpha faded towards the bottom (divided by 3, 4 or 2).
    void Reflection();
    void Reflection2();
    void Reflection3();

    // Line, shape and text drawing goes through the canvas; these members draw nothing.
    void DrawBevel(const TRect& R, std::uint32_t LightColor, std::uint32_t DarkColor);
    void DrawEdge(const TRect& R, unsigned Edge, unsigned Flags);
    void DrawEllipse(const TRect& R, std::uint32_t Color);
    void DrawFocusRect(const TRect& R, std::uint32_t Color);
    void DrawLine(int X1, int Y1, int X2, int Y2, std::uint32_t Color);
    void DrawPolygon(const TPoint* Points, int Count, std::uint32_t Color);
    void DrawRect(const TRect& R, std::uint32_t Color);
    void DrawRoundRect(const TRect& R, int Radius, std::uint32_t Color);
    void FillEllipse(const TRect& R, std::uint32_t Color);
    void FillGradientRect(const TRect& R, std::uint32_t BeginColor, std::uint32_t EndColor, bool Vertical);
    void FillHalftonePolygon(const TPoint* Points, int Count, std::uint32_t Color, std::uint32_t HalfColor);
    void FillHalftoneRect(const TRect& R, std::uint32_t Color, std::uint32_t HalfColor);
    void FillPolygon(const TPoint* Points, int Count, std::uint32_t Color);
    void FillRadialGradientRect(const TRect& R, std::uint32_t BeginColor, std::uint32_t EndColor, TPoint Center);
    void FillRoundRect(const TRect& R, int Radius, std::uint32_t Color);
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y, std::uint32_t Color);
    void DrawText(const std::wstring& Text, int X, int Y);
    void DrawText(const std::wstring& Text, TRect& R, unsigned Flags);
    void DrawVerticalText(const std::wstring& Text, const TRect& R, bool CW);
    int TextWidth(const std::wstring& Text);
    int TextHeight(const std::wstring& Text);

    // From a TbsBitmap: size, pixels, name and both flags. From a 32-bit TBitmap: size and pixels with their alpha,
    // then CheckingAlphaBlend. From any other TBitmap (AssignFromBitmap): a block copy, alpha 255. From another
    // graphic, or a picture holding one: DrawGraphic over the whole bitmap, alpha 255. Anything else: the
    // inherited assignment (EConvertError).
    void Assign(TPersistent* Source) override;
    void AssignFromBitmap(TBitmap* Source);
    // Dest becomes a 32-bit bitmap of this size with this bitmap drawn on it at (0, 0) (the flags apply).
    void CopyToBitmap(TBitmap* Dest);

    // ---- Other sources (BitmapLinks.cpp) ----------------------------------------------------------------------------
    // Own stream format: name length, UTF-16 name, width, height (negative or 0 on reading: bottom-up rows), pixels.
    // A name, size or pixel block that the stream cannot hold raises EReadError and leaves the bitmap unchanged.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);
    // An 8-bit ZSoft PCX image; nothing for a stream that is not PCX.
    void LoadFromPcxStream(TStream* Stream);
    // Bitmap resource ResName of the module file ResFileName (opened as data); nothing when it is missing.
    void LoadFromResource(const std::wstring& ResFileName, const std::wstring& ResName);

  protected:
    // To a TBitmap or a picture (its bitmap): CopyToBitmap. Anything else: the inherited behaviour.
    void AssignTo(TPersistent* Dest) override;

  private:
    void ReleaseSurface();
    void AssignGraphic(TGraphic* Source);

    std::uint32_t* FBits = nullptr;  // the DIB section's memory
    int FWidth = 0;
    int FHeight = 0;
    BITMAPINFOHEADER FBitmapInfo{};
    TGdiBitmap FHandle;
    TDCHandle FDC;
    HGDIOBJ FOldBitmap = nullptr;  // the DC's own bitmap, put back before the DC is deleted
    std::unique_ptr<TCanvas> FCanvas;
};

// The TbsBitmap whose DC is DC (the first one in order of entry), or nullptr.
TbsBitmap* FindBitmapByDC(HDC DC);
// Empties the list (bitmaps created afterwards enter a new one).
void FreeBitmapList();

// bsColor of a class-library colour (system colours resolved): FromRGB(colour) + Alpha * 2^24, modulo 2^32. The opaque
// FromRGB already carries alpha 255, so the alpha of the result is Alpha - 1 (255 for Alpha 0).
std::uint32_t bsColor(std::uint32_t Color, std::uint8_t Alpha);
