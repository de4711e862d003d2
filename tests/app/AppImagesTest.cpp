// The pictures inside TrelmMail.exe: every id loads at its size, is drawn (not empty, not a filled square), and
// the 13 tray images are all different, so the unread counts can be told apart.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "app/AppResources.h"
#include "tests/app/NotifierModule.h"
#include "base/Files.h"

namespace {

// The icon drawn over a white background, as 0x00RRGGBB pixels.
std::vector<uint32_t> Render(HICON icon, int size) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT r{0, 0, size, size};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    std::vector<uint32_t> px(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + size * size);
    for (uint32_t& p : px)
        p &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return px;
}

class AppImages : public TNotifierModuleTest {
  protected:
    HICON Load(int id, int size) {
        return static_cast<HICON>(LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
    }
};

TEST_F(AppImages, EveryPictureIsDrawn) {
    struct Group {
        int first, count, size;
    };
    const Group groups[] = {{IDI_TRELM_APP, 1, 32},
                            {IDI_TRELM_APP, 1, 16},
                            {IDI_TRAY_FIRST, IDI_TRAY_COUNT, 64},
                            {IDI_TRAY_FIRST, IDI_TRAY_COUNT, 16},
                            {IDI_GLYPH_FIRST, IDI_GLYPH_COUNT, 16},
                            {IDI_FLAG_FIRST, IDI_FLAG_COUNT, 16},
                            {IDI_MESSAGE_FIRST, IDI_MESSAGE_COUNT, 64},
                            {IDI_MENU_FIRST, IDI_MENU_COUNT, 16}};
    for (const Group& g : groups) {
        for (int id = g.first; id < g.first + g.count; ++id) {
            HICON icon = Load(id, g.size);
            ASSERT_NE(icon, nullptr) << id;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP bm{};
            GetObjectW(info.hbmColor, sizeof(bm), &bm);
            EXPECT_EQ(bm.bmWidth, g.size) << id;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            const std::vector<uint32_t> px = Render(icon, g.size);
            size_t drawn = 0;
            for (uint32_t p : px)
                drawn += p != 0xFFFFFF;
            EXPECT_GT(drawn, px.size() / 8) << id;  // something is there
            EXPECT_LT(drawn, px.size()) << id;      // with a transparent edge somewhere
            DestroyIcon(icon);
        }
    }
}

TEST_F(AppImages, TrayImagesDiffer) {
    std::vector<std::vector<uint32_t>> images;
    for (int i = 0; i < IDI_TRAY_COUNT; ++i) {
        HICON icon = Load(IDI_TRAY_FIRST + i, 64);
        ASSERT_NE(icon, nullptr);
        images.push_back(Render(icon, 64));
        DestroyIcon(icon);
    }
    for (size_t a = 0; a < images.size(); ++a) {
        for (size_t b = a + 1; b < images.size(); ++b) {
            size_t differ = 0;
            for (size_t k = 0; k < images[a].size(); ++k)
                differ += images[a][k] != images[b][k];
            EXPECT_GT(differ, 60u) << a << " vs " << b;  // at least a stroke of a digit
        }
    }
}

}  // namespace
