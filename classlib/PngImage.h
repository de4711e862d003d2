// TPngImage: a PNG picture that keeps its header colour type, transparency mode and alpha plane, so that skins can
// ask how a picture was stored, not only what it shows. Pixels are decoded by WIC (WicCodec.h); only the chunk
// structure (IHDR, PLTE, tRNS, IEND) is read here, to learn the colour type and the single transparent colour.
//
// Storage: colours as B, G, R triples, top-down, Width * 3 bytes per row without padding; an alpha plane of Width
// bytes per row for the colour types with alpha (and for palette pictures whose tRNS is partial). GUI thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Graphics.h"

enum TPNGTransparencyMode {
    ptmNone,     // opaque
    ptmBit,      // one colour is transparent (TransparentColor)
    ptmPartial,  // per-pixel alpha
};

constexpr std::uint8_t COLOR_GRAYSCALE = 0;
constexpr std::uint8_t COLOR_RGB = 2;
constexpr std::uint8_t COLOR_PALETTE = 3;
constexpr std::uint8_t COLOR_GRAYSCALEALPHA = 4;
constexpr std::uint8_t COLOR_RGBALPHA = 6;

class TPngImage : public TGraphic {
  public:
    TPngImage() = default;
    ~TPngImage() override = default;
    // From a PNG image (everything), a TBitmap (RGB; RGB with alpha when it is 32-bit with an AlphaFormat other
    // than afIgnored), or nullptr (empties).
    void Assign(TPersistent* Source) override;
    std::unique_ptr<TGraphic> CreateNew() const override { return std::make_unique<TPngImage>(); }

    bool Empty() const override { return width_ == 0 || height_ == 0; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int value) override { SetSize(value, height_); }
    void SetHeight(int value) override { SetSize(width_, value); }
    // Keeps the overlapping part; new pixels are black (and transparent where there is alpha).
    void SetSize(int width, int height) override;
    // A black picture of the given colour type (0, 2, 4 or 6; a palette type is made RGB), alpha 0 for the
    // types with alpha.
    void CreateBlank(std::uint8_t colorType, int width, int height);

    std::uint8_t ColorType() const { return colorType_; }  // as the header of the loaded file said
    TPNGTransparencyMode TransparencyMode() const;
    // The transparent colour in ptmBit mode; clNone otherwise. Setting a colour on a picture without alpha makes
    // it ptmBit.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);
    // Drops transparency: ptmBit becomes ptmNone; an alpha plane is removed (the colour type loses its alpha).
    void RemoveTransparency();
    // Adds an alpha plane (grey -> grey with alpha, RGB and palette -> RGB with alpha): 255 everywhere, 0 on the
    // transparent colour of a ptmBit picture.
    void CreateAlpha();

    TColor Pixels(int x, int y) const;  // clNone outside
    void SetPixel(int x, int y, TColor color);
    // Row y of B, G, R triples. EInvalidGraphicOperation outside 0..Height-1.
    std::uint8_t* Scanline(int y);
    // Row y of the alpha plane, nullptr when the picture has none (see Storage above).
    std::uint8_t* AlphaScanline(int y);

    // Reads one PNG file image and leaves the stream right after its IEND chunk. EInvalidGraphic
    // "Unsupported image format or damaged image data" for anything that is not a sound PNG.
    void LoadFromStream(TStream* stream) override;
    // A complete PNG file (RGB, or RGB with alpha when the picture is transparent).
    void SaveToStream(TStream* stream) override;

  protected:
    // Alpha-blended into rect (stretched when sizes differ).
    void Draw(TCanvas* canvas, const TRect& rect) override;

  private:
    bool HasAlphaPlane() const { return !alpha_.empty(); }
    void CheckRow(int y) const;
    int width_ = 0;
    int height_ = 0;
    std::uint8_t colorType_ = COLOR_RGB;
    std::vector<std::uint8_t> bgr_;
    std::vector<std::uint8_t> alpha_;
    bool bitTransparent_ = false;
    TColor transparentColor_ = clNone;
};
