// Helpers for the graphics tests: read a TBitmap's pixels as 0x00BBGGRR colours through ScanLine, and build PNG
// files by hand (signature, chunks with their CRC).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "classlib/Graphics.h"

inline TColor PixelAt(TBitmap& bmp, int x, int y) {
    const auto* row = static_cast<const std::uint8_t*>(bmp.ScanLine(y));
    const int bytes = bmp.BitsPerPixel() / 8;
    const std::uint8_t* p = row + x * bytes;
    return RGBColor(p[2], p[1], p[0]);
}

inline std::uint8_t AlphaAt(TBitmap& bmp, int x, int y) {
    return static_cast<const std::uint8_t*>(bmp.ScanLine(y))[x * 4 + 3];
}

// A w x h bitmap filled with `background`.
inline void PrepareBitmap(TBitmap& bmp, int w, int h, TColor background, TPixelFormat format = pf32bit) {
    bmp.SetPixelFormat(format);
    bmp.SetSize(w, h);
    bmp.Canvas()->Brush()->SetColor(background);
    bmp.Canvas()->FillRect(Rect(0, 0, w, h));
}

// Bounding box of the pixels that differ from `background`; empty when none do.
inline TRect ChangedArea(TBitmap& bmp, TColor background) {
    TRect box{bmp.Width(), bmp.Height(), 0, 0};
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if (PixelAt(bmp, x, y) != background) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box.IsEmpty() ? TRect{} : box;
}

// ---- Hand-made PNG files ----------------------------------------------------------------------------------------
inline std::string PngSignature() {
    return std::string("\x89PNG\r\n\x1a\n", 8);
}

// CRC-32 as PNG chunks carry it (ISO 3309, reflected, polynomial 0xEDB88320).
inline std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

inline std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

// Length, type, data and CRC of one chunk.
inline std::string Chunk(const std::string& type, const std::string& data) {
    return Be32(static_cast<std::uint32_t>(data.size())) + type + data + Be32(Crc32(type + data));
}

// zlib stream of one stored block (fixtures need no compressor).
inline std::string Stored(const std::string& raw) {
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    auto len = static_cast<std::uint16_t>(raw.size());
    std::string z = "\x78\x01\x01";
    z += static_cast<char>(len & 0xFF);
    z += static_cast<char>(len >> 8);
    z += static_cast<char>(~len & 0xFF);
    z += static_cast<char>((~len >> 8) & 0xFF);
    return z + raw + Be32((b << 16) | a);
}
