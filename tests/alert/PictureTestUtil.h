// Hand-made picture files for the picture and GDI+ tests.
#pragma once

#include <windows.h>
#include <shlwapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Graphics.h"

// A GIF of 4 x 3 with one full-size frame per delay (hundredths of a second); frame k says it sits at left k.
inline std::string GifWithFrames(const std::vector<int>& delays) {
    std::string g = "GIF89a";
    g += std::string("\x04\x00\x03\x00\x80\x00\x00", 7);  // screen 4 x 3, global table of two colours
    g += std::string("\xff\x00\x00\x00\x00\x00", 6);
    for (size_t k = 0; k < delays.size(); ++k) {
        g += std::string("\x21\xf9\x04\x00", 4);
        g += static_cast<char>(delays[k] & 0xFF);
        g += static_cast<char>(delays[k] >> 8);
        g += std::string("\x00\x00", 2);
        g += '\x2c';
        g += static_cast<char>(k);
        g += std::string("\x00\x00\x00\x04\x00\x03\x00\x00", 8);
        g += std::string("\x02\x03\x84\x8f\x56\x00", 6);  // twelve pixels of colour 0, LZW-coded
    }
    g += '\x3b';
    return g;
}

// A BMP file image of w x h: white with the bottom-left pixel in `corner` and the top-left in `mark`.
inline std::string BmpBytes(int w, int h, TColor corner = clWhite, TColor mark = clWhite) {
    TBitmap bmp(w, h, pf24bit);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect({0, 0, w, h});
    bmp.Canvas()->SetPixel(0, h - 1, corner);
    bmp.Canvas()->SetPixel(0, 0, mark);
    TMemoryStream ms;
    bmp.SaveToStream(&ms);
    return std::string(static_cast<const char*>(ms.Memory()), static_cast<size_t>(ms.Size()));
}

// The bytes of the red 4 x 3 PNG that the test resource TESTPNG also holds.
inline std::string RedPng() {
    HRSRC res = FindResourceW(nullptr, L"TESTPNG", reinterpret_cast<LPCWSTR>(RT_RCDATA));
    HGLOBAL data = res ? LoadResource(nullptr, res) : nullptr;
    if (!data)
        return {};
    return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(nullptr, res));
}

// A COM stream over a copy of the bytes (release it).
inline IStream* MemStream(const std::string& bytes) {
    return SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
}

inline TColor BitmapPixel(TBitmap& bmp, int x, int y) {
    const auto* row = static_cast<const std::uint8_t*>(bmp.ScanLine(y));
    const int bytes = bmp.BitsPerPixel() / 8;
    return RGBColor(row[x * bytes + 2], row[x * bytes + 1], row[x * bytes]);
}
