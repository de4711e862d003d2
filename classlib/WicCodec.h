// Image decoding and encoding through the Windows Imaging Component (BMP, PNG, ICO, GIF, JPEG, TIFF).
// The class library's graphics decode every file format here rather than by hand. Any thread; each call
// initialises COM for its own duration when the thread has not done so.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TDecodedImage {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 32;             // 24 (B, G, R) or 32 (B, G, R, A)
    bool HasAlpha = false;             // the source format carries an alpha channel (straight, not premultiplied)
    int Stride = 0;                    // bytes per row, a multiple of 4
    std::vector<std::uint8_t> Pixels;  // top-down rows
};

// Decodes the first frame. 32-bit sources without alpha keep their fourth byte as stored. Throws EInvalidGraphic
// "Unsupported image format or damaged image data" for anything WIC cannot read, and EOutOfMemory for images with a
// side over 16384 pixels or more than 64 M pixels.
TDecodedImage DecodeImage(const void* data, size_t size);

// PNG of 32-bit BGRA top-down pixels (straight alpha). Throws EInvalidGraphic on failure.
std::string EncodePng(const std::uint32_t* pixels, int width, int height);
