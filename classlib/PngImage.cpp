// TPngImage: chunk walk for the header facts, WIC for the pixels, WIC for writing.
#include "classlib/PngImage.h"

#include <algorithm>
#include <cstring>

#include "classlib/WicCodec.h"

namespace {

[[noreturn]] void BadPng() {
    throw EInvalidGraphic(L"Unsupported image format or damaged image data");
}

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// A sample of `depth` bits scaled to 8 bits.
std::uint8_t Scale(std::uint32_t sample, int depth) {
    if (depth == 16)
        return static_cast<std::uint8_t>(sample >> 8);
    if (depth >= 8)
        return static_cast<std::uint8_t>(sample);
    std::uint32_t max = (1u << depth) - 1;
    return static_cast<std::uint8_t>(sample * 255 / max);
}

struct PngFacts {
    size_t length = 0;  // bytes up to and including the IEND chunk
    std::uint8_t colorType = 0;
    int depth = 8;
    bool hasTrns = false;
    bool bitTransparent = false;  // tRNS gives one fully transparent colour (or palette alphas only 0/255)
    TColor transparentColor = clNone;
};

PngFacts ReadFacts(const std::string& bytes) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (bytes.size() < 8 || std::memcmp(p, kSignature, 8) != 0)
        BadPng();
    PngFacts facts;
    std::vector<std::uint8_t> palette;
    std::vector<std::uint8_t> trns;
    bool sawHeader = false;
    size_t pos = 8;
    for (;;) {
        if (bytes.size() - pos < 12)
            BadPng();
        std::uint32_t len = BigEndian32(p + pos);
        if (len > bytes.size() - pos - 12)
            BadPng();
        std::string type(bytes, pos + 4, 4);
        const std::uint8_t* data = p + pos + 8;
        if (!sawHeader && type != "IHDR")
            BadPng();
        if (type == "IHDR") {
            if (len != 13 || sawHeader)
                BadPng();
            sawHeader = true;
            facts.depth = data[8];
            facts.colorType = data[9];
        } else if (type == "PLTE") {
            palette.assign(data, data + len);
        } else if (type == "tRNS") {
            trns.assign(data, data + len);
            facts.hasTrns = true;
        }
        pos += 12 + static_cast<size_t>(len);
        if (type == "IEND")
            break;
    }
    facts.length = pos;
    if (facts.hasTrns) {
        switch (facts.colorType) {
            case COLOR_GRAYSCALE:
                if (trns.size() >= 2) {
                    std::uint8_t g = Scale((trns[0] << 8) | trns[1], facts.depth);
                    facts.bitTransparent = true;
                    facts.transparentColor = RGBColor(g, g, g);
                }
                break;
            case COLOR_RGB:
                if (trns.size() >= 6) {
                    facts.bitTransparent = true;
                    facts.transparentColor = RGBColor(Scale((trns[0] << 8) | trns[1], facts.depth),
                                                      Scale((trns[2] << 8) | trns[3], facts.depth),
                                                      Scale((trns[4] << 8) | trns[5], facts.depth));
                }
                break;
            case COLOR_PALETTE: {
                bool onlyBits =
                    std::all_of(trns.begin(), trns.end(), [](std::uint8_t a) { return a == 0 || a == 255; });
                auto zero = std::find(trns.begin(), trns.end(), 0);
                if (onlyBits && zero != trns.end()) {
                    size_t index = static_cast<size_t>(zero - trns.begin());
                    if (index * 3 + 2 < palette.size()) {
                        facts.bitTransparent = true;
                        facts.transparentColor =
                            RGBColor(palette[index * 3], palette[index * 3 + 1], palette[index * 3 + 2]);
                    }
                }
                break;
            }
            default:
                break;
        }
    }
    return facts;
}

}  // namespace

void TPngImage::CheckRow(int y) const {
    if (Empty() || y < 0 || y >= height_)
        throw EInvalidGraphicOperation(L"Scan line index out of range");
}

TPNGTransparencyMode TPngImage::TransparencyMode() const {
    if (HasAlphaPlane())
        return ptmPartial;
    return bitTransparent_ ? ptmBit : ptmNone;
}

TColor TPngImage::TransparentColor() const {
    return TransparencyMode() == ptmBit ? transparentColor_ : clNone;
}

void TPngImage::SetTransparentColor(TColor value) {
    if (HasAlphaPlane())
        return;  // the alpha plane rules
    bitTransparent_ = value != clNone;
    transparentColor_ = value;
    Changed();
}

void TPngImage::RemoveTransparency() {
    alpha_.clear();
    bitTransparent_ = false;
    transparentColor_ = clNone;
    if (colorType_ == COLOR_RGBALPHA)
        colorType_ = COLOR_RGB;
    else if (colorType_ == COLOR_GRAYSCALEALPHA)
        colorType_ = COLOR_GRAYSCALE;
    Changed();
}

void TPngImage::CreateAlpha() {
    if (Empty() || HasAlphaPlane())
        return;
    alpha_.assign(static_cast<size_t>(width_) * height_, 255);
    if (bitTransparent_)
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (Pixels(x, y) == transparentColor_)
                    alpha_[static_cast<size_t>(y) * width_ + x] = 0;
    bitTransparent_ = false;
    transparentColor_ = clNone;
    colorType_ = colorType_ == COLOR_GRAYSCALE ? COLOR_GRAYSCALEALPHA : COLOR_RGBALPHA;
    Changed();
}

TColor TPngImage::Pixels(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return clNone;
    const std::uint8_t* p = bgr_.data() + (static_cast<size_t>(y) * width_ + x) * 3;
    return RGBColor(p[2], p[1], p[0]);
}

void TPngImage::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    TColor c = ColorToRGB(color);
    std::uint8_t* p = bgr_.data() + (static_cast<size_t>(y) * width_ + x) * 3;
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
    Changed();
}

std::uint8_t* TPngImage::Scanline(int y) {
    CheckRow(y);
    return bgr_.data() + static_cast<size_t>(y) * width_ * 3;
}

std::uint8_t* TPngImage::AlphaScanline(int y) {
    CheckRow(y);
    if (!HasAlphaPlane() || (colorType_ != COLOR_RGBALPHA && colorType_ != COLOR_GRAYSCALEALPHA))
        return nullptr;
    return alpha_.data() + static_cast<size_t>(y) * width_;
}

void TPngImage::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    if (width == 0 || height == 0) {
        width = height = 0;
    }
    const bool plane = HasAlphaPlane() || colorType_ == COLOR_RGBALPHA || colorType_ == COLOR_GRAYSCALEALPHA;
    std::vector<std::uint8_t> bgr(static_cast<size_t>(width) * height * 3, 0);
    std::vector<std::uint8_t> alpha(plane ? static_cast<size_t>(width) * height : 0, 0);
    const int w = std::min(width, width_), h = std::min(height, height_);
    for (int y = 0; y < h; ++y) {
        std::memcpy(bgr.data() + static_cast<size_t>(y) * width * 3, bgr_.data() + static_cast<size_t>(y) * width_ * 3,
                    static_cast<size_t>(w) * 3);
        if (!alpha.empty() && !alpha_.empty())
            std::memcpy(alpha.data() + static_cast<size_t>(y) * width, alpha_.data() + static_cast<size_t>(y) * width_,
                        static_cast<size_t>(w));
    }
    bgr_.swap(bgr);
    alpha_.swap(alpha);
    width_ = width;
    height_ = height;
    Changed();
}

void TPngImage::CreateBlank(std::uint8_t colorType, int width, int height) {
    if (colorType == COLOR_PALETTE)
        colorType = COLOR_RGB;
    if (colorType != COLOR_GRAYSCALE && colorType != COLOR_RGB && colorType != COLOR_GRAYSCALEALPHA &&
        colorType != COLOR_RGBALPHA)
        throw EInvalidGraphicOperation(L"Unsupported PNG colour type");
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == 0 || height == 0)
        width = height = 0;
    width_ = width;
    height_ = height;
    colorType_ = colorType;
    bgr_.assign(static_cast<size_t>(width) * height * 3, 0);
    bool alpha = colorType == COLOR_GRAYSCALEALPHA || colorType == COLOR_RGBALPHA;
    alpha_.assign(alpha ? static_cast<size_t>(width) * height : 0, 0);
    bitTransparent_ = false;
    transparentColor_ = clNone;
    Changed();
}

void TPngImage::Assign(TPersistent* Source) {
    if (!Source) {
        CreateBlank(COLOR_RGB, 0, 0);
        return;
    }
    if (auto* png = dynamic_cast<TPngImage*>(Source)) {
        if (png == this)
            return;
        width_ = png->width_;
        height_ = png->height_;
        colorType_ = png->colorType_;
        bgr_ = png->bgr_;
        alpha_ = png->alpha_;
        bitTransparent_ = png->bitTransparent_;
        transparentColor_ = png->transparentColor_;
        Changed();
        return;
    }
    if (auto* bmp = dynamic_cast<TBitmap*>(Source)) {
        const bool alpha = bmp->BitsPerPixel() == 32 && bmp->AlphaFormat != afIgnored;
        CreateBlank(alpha ? COLOR_RGBALPHA : COLOR_RGB, bmp->Width(), bmp->Height());
        const int bytes = bmp->BitsPerPixel() / 8;
        for (int y = 0; y < height_; ++y) {
            const auto* src = static_cast<const std::uint8_t*>(bmp->ScanLine(y));
            std::uint8_t* dst = bgr_.data() + static_cast<size_t>(y) * width_ * 3;
            for (int x = 0; x < width_; ++x, src += bytes, dst += 3) {
                unsigned a = alpha ? src[3] : 255;
                // Premultiplied colour is stored straight here.
                if (bmp->AlphaFormat == afPremultiplied && a > 0 && a < 255) {
                    dst[0] = static_cast<std::uint8_t>(std::min(255u, (src[0] * 255u + a / 2) / a));
                    dst[1] = static_cast<std::uint8_t>(std::min(255u, (src[1] * 255u + a / 2) / a));
                    dst[2] = static_cast<std::uint8_t>(std::min(255u, (src[2] * 255u + a / 2) / a));
                } else {
                    dst[0] = src[0];
                    dst[1] = src[1];
                    dst[2] = src[2];
                }
                if (alpha)
                    alpha_[static_cast<size_t>(y) * width_ + x] = static_cast<std::uint8_t>(a);
            }
        }
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TPngImage::LoadFromStream(TStream* stream) {
    const std::int64_t start = stream->Position();
    std::string rest = stream->ReadAll();
    PngFacts facts;
    TDecodedImage img;
    try {
        facts = ReadFacts(rest);
        img = DecodeImage(rest.data(), facts.length);
    } catch (...) {
        stream->SetPosition(start);
        throw;
    }
    stream->SetPosition(start + static_cast<std::int64_t>(facts.length));

    const bool keepAlpha = facts.colorType == COLOR_RGBALPHA || facts.colorType == COLOR_GRAYSCALEALPHA ||
                           (facts.colorType == COLOR_PALETTE && facts.hasTrns && !facts.bitTransparent);
    width_ = img.Width;
    height_ = img.Height;
    colorType_ = facts.colorType;
    bgr_.assign(static_cast<size_t>(width_) * height_ * 3, 0);
    alpha_.assign(keepAlpha ? static_cast<size_t>(width_) * height_ : 0, 255);
    const int bytes = img.BitsPerPixel / 8;
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* src = img.Pixels.data() + static_cast<size_t>(y) * img.Stride;
        std::uint8_t* dst = bgr_.data() + static_cast<size_t>(y) * width_ * 3;
        for (int x = 0; x < width_; ++x, src += bytes, dst += 3) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
            if (keepAlpha)
                alpha_[static_cast<size_t>(y) * width_ + x] = bytes == 4 ? src[3] : 255;
        }
    }
    bitTransparent_ = !keepAlpha && facts.bitTransparent;
    transparentColor_ = bitTransparent_ ? facts.transparentColor : clNone;
    Changed();
}

void TPngImage::SaveToStream(TStream* stream) {
    if (Empty())
        return;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            size_t i = static_cast<size_t>(y) * width_ + x;
            const std::uint8_t* p = bgr_.data() + i * 3;
            std::uint32_t a = 255;
            if (HasAlphaPlane())
                a = alpha_[i];
            else if (bitTransparent_ && Pixels(x, y) == transparentColor_)
                a = 0;
            pixels[i] = (a << 24) | (static_cast<std::uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
        }
    std::string png = EncodePng(pixels.data(), width_, height_);
    stream->WriteBuffer(png.data(), static_cast<std::int32_t>(png.size()));
}

void TPngImage::Draw(TCanvas* canvas, const TRect& rect) {
    if (Empty())
        return;
    TBitmap tmp;
    tmp.SetPixelFormat(pf32bit);
    tmp.SetSize(width_, height_);
    const bool transparent = TransparencyMode() != ptmNone;
    for (int y = 0; y < height_; ++y) {
        auto* dst = static_cast<std::uint8_t*>(tmp.ScanLine(y));
        for (int x = 0; x < width_; ++x, dst += 4) {
            size_t i = static_cast<size_t>(y) * width_ + x;
            const std::uint8_t* p = bgr_.data() + i * 3;
            dst[0] = p[0];
            dst[1] = p[1];
            dst[2] = p[2];
            if (HasAlphaPlane())
                dst[3] = alpha_[i];
            else
                dst[3] = bitTransparent_ && Pixels(x, y) == transparentColor_ ? 0 : 255;
        }
    }
    tmp.AlphaFormat = transparent ? afDefined : afIgnored;
    canvas->StretchDraw(rect, &tmp);
}
