// The screen's pixels under a rectangle, for tests that read back or save what a window shows. Plain Win32.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// The pixels of the screen rectangle r as opaque 0xAARRGGBB values, rows top down.
inline std::vector<std::uint32_t> GrabScreen(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return {};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint32_t> px;
    if (dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto* src = static_cast<const std::uint32_t*>(bits);
        px.assign(src, src + static_cast<size_t>(w) * h);
        for (auto& p : px)
            p |= 0xFF000000u;
        SelectObject(mem, old);
    }
    if (dib)
        DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return px;
}
