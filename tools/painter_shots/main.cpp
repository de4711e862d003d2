// painter_shots: draws the skin engine's painters onto one white sheet and saves it as a PNG.
//
//   <build>/wine-run <build>/bin/painter_shots.exe sheet.png
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "classlib/WicCodec.h"
#include "classlib/Forms.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/LayerWindow.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"

namespace {

// A 60 x 50 frame picture: dark border with a lighter caption band, a bevel line and a pale client area.
std::unique_ptr<TBitmap> FramePicture() {
    auto b = std::make_unique<TBitmap>(60, 50, pf32bit);
    std::vector<std::uint32_t> px(60 * 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x) {
            std::uint32_t c = 0xF4F6FA;  // client
            if (y < 20)
                c = y % 4 < 2 ? 0x3A5F9A : 0x44699F;  // striped caption band
            else if (x < 6 || x >= 54 || y >= 44)
                c = 0x3A5F9A;
            if (x == 0 || y == 0 || x == 59 || y == 49)
                c = 0x1C2C48;
            px[std::size_t(y) * 60 + x] = c;
        }
    b->SetPixels32(60, 50, px.data());
    return b;
}

}  // namespace

void SavePng(const TbsBitmap& b, const char* file) {
    const std::string png = EncodePng(b.Bits(), b.Width(), b.Height());
    std::ofstream(file, std::ios::binary).write(png.data(), static_cast<std::streamsize>(png.size()));
}

// A glow frame shown by the layer manager over the desktop, faded in and read back from the screen.
void LayerShot(const char* file) {
    const int w = 120, h = 60;
    auto image = std::make_unique<TBitmap>(w, h, pf32bit);
    auto mask = std::make_unique<TBitmap>(w, h, pf32bit);
    std::vector<std::uint32_t> ip(w * h, 0x40A0FF), mp(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int d = std::min({x, y, w - 1 - x, h - 1 - y});  // soft edge 12 pixels wide
            const std::uint32_t g = d >= 12 ? 255u : std::uint32_t(d * 255 / 12);
            mp[std::size_t(y) * w + x] = g | (g << 8) | (g << 16);
        }
    image->SetPixels32(w, h, ip.data());
    mask->SetPixels32(w, h, mp.data());
    TbsLayerManager layer(nullptr);
    layer.Show(40, 40, image.get(), mask.get(), 255);
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 600)
        Application->ProcessMessages();
    TbsBitmap shot;
    shot.SetSize(w + 40, h + 40);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(shot.DC(), 0, 0, w + 40, h + 40, screen, 20, 20, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    ::GdiFlush();
    shot.SetAlpha(255);
    SavePng(shot, file);
    layer.Hide();
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: painter_shots <sheet.png> [<layer.png>]\n");
        return 2;
    }
    TbsBitmap sheet;
    sheet.SetSize(640, 420);
    sheet.Clear(0xFFFFFFFF);
    TCanvas* c = sheet.Canvas();
    c->Font()->SetName(L"Tahoma");
    c->Font()->SetHeight(-13);
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);

    // A nine-part frame of 300 x 160 from the 60 x 50 picture, its caption drawn with the single-line painter.
    auto picture = FramePicture();
    TBitmap frame(1, 1, pf32bit);
    const TRect cl{6, 20, 54, 44};
    CreateSkinImage({6, 20}, {54, 20}, {6, 44}, {54, 44}, cl, {6, 20}, {294, 20}, {6, 154}, {294, 154},
                    {6, 20, 294, 154}, &frame, picture.get(), {0, 0, 60, 50}, 300, 160, true, false, false, false,
                    false, false, bsstFull);
    c->Draw(10, 10, &frame);
    c->Font()->SetColor(clWhite);
    BSDrawText(c, L"Trelm Mail — Почта", {18, 10, 300, 30});
    c->Font()->SetColor(clBlack);
    BSDrawTextCenterMultiLine(c, L"Новые письма: 3. Проверка почты каждые 60 секунд.", {20, 40, 300, 100}, false);
    std::wstring cut = L"Очень длинная тема письма, которая не помещается";
    CorrectTextbyWidth(c, cut, 260);
    BSDrawText(c, cut, {20, 110, 300, 130});
    BSDrawText4(c, L"Window", {20, 130, 300, 160});

    // Effect texts.
    c->Font()->SetHeight(-18);
    DrawEffectText(c, {330, 10, 630, 45}, L"Glow Свечение", 4, clAqua, 0, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    DrawVistaEffectTextW(c, {330, 60, 630, 90}, L"Vista patch", clYellow, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    DrawReflectionTextW(c, {330, 100, 630, 130}, L"Reflection", clNavy, 1, DT_SINGLELINE | DT_CENTER);

    // Small glyphs in a row.
    int x = 20;
    const int y = 200;
    auto box = [&](int w) {
        Frm3D(c, {x - 2, y - 2, x + w + 2, y + 14}, clGray, clBlack);
        x += w + 14;
    };
    DrawCheckImage(c, x, y + 2, clBlack), box(9);
    DrawRadioImage(c, x + 2, y + 3, clBlack), box(10);
    for (int kind = 1; kind <= 5; ++kind)
        DrawArrowImage(c, {x, y, x + 12, y + 12}, clBlack, kind), box(12);
    DrawTrackArrowImage(c, {x, y, x + 12, y + 12}, clBlack), box(12);
    DrawCloseImage(c, x, y + 1, clBlack), box(11);
    DrawMinimizeImage(c, x, y, clBlack), box(11);
    DrawMaximizeImage(c, x, y + 1, clBlack), box(11);
    DrawRestoreImage(c, x, y + 1, clBlack), box(11);
    DrawRollUpImage(c, x, y + 1, clBlack), box(11);
    DrawRestoreRollUpImage(c, x, y + 1, clBlack), box(11);
    DrawSysMenuImage(c, x, y + 1, clBlack), box(11);
    DrawMTImage(c, x, y + 1, clBlack), box(11);
    c->Font()->SetColor(clBlack);
    DrawSkinFocusRect(c, {20, 230, 200, 256});

    // Glyph layouts with a two-frame strip.
    auto strip = std::make_unique<TBitmap>(32, 16, pf32bit);
    std::vector<std::uint32_t> sp(32 * 16, 0xFFFFFF);
    for (int yy = 2; yy < 14; ++yy)
        for (int xx = 2; xx < 14; ++xx) {
            sp[std::size_t(yy) * 32 + xx] = 0x2E7D32;
            sp[std::size_t(yy) * 32 + xx + 16] = 0xC62828;
        }
    strip->SetPixels32(32, 16, sp.data());
    c->Font()->SetHeight(-13);
    const TbsButtonLayout layouts[] = {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom};
    const wchar_t* names[] = {L"Слева", L"Справа", L"Сверху", L"Снизу"};
    for (int i = 0; i < 4; ++i) {
        const TRect r{20 + i * 150, 280, 160 + i * 150, 340};
        Frm3D(c, r, clSilver, clGray);
        DrawGlyphAndText(c, r, -1, 4, layouts[i], names[i], strip.get(), 2, 1 + i % 2, false, i == 0, clBlue);
    }
    DrawGlyphAndEffectText(c, {20, 350, 300, 400}, 8, 6, blGlyphLeft, L"Glow glyph", strip.get(), 2, 1, false, false, 0,
                           clLime, 3);

    ::GdiFlush();
    sheet.SetAlpha(255);  // GDI leaves alpha 0 in what it draws; the sheet is opaque
    SavePng(sheet, argv[1]);
    if (argc > 2)
        LayerShot(argv[2]);
    return 0;
}
