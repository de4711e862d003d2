// skin_bench: how fast a compressed skin of realistic size loads from memory (a 500 KB frame picture, control and
// button pictures of a few hundred kilobytes, an ini text with every record kind several times over), split into
// inflate and parse, each also as a ratio to a plain memcpy of the decompressed bytes in the same run.
//
//   scripts/wine-session.sh start <build>  &&  <build>/wine-run <build>/bin/skin_bench.exe
//
// Each figure is the best of several runs.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>

#include "tools/common/ToolSupport.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinIniValues.h"

namespace {

// A 24-bit picture with gradients and some noise, so that it compresses like drawn skin art rather than like zeros.
std::unique_ptr<TBitmap> Picture(int w, int h, unsigned seed) {
    auto bmp = std::make_unique<TBitmap>(w, h, pf24bit);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y) {
        auto* row = static_cast<std::uint8_t*>(bmp->ScanLine(y));
        for (int x = 0; x < w; ++x) {
            const int noise = (x * y) % 7 == 0 ? static_cast<int>(random() % 6) : 0;
            row[x * 3] = static_cast<std::uint8_t>((x * 255 / w + noise) & 0xFF);
            row[x * 3 + 1] = static_cast<std::uint8_t>((y * 255 / h + noise) & 0xFF);
            row[x * 3 + 2] = static_cast<std::uint8_t>(((x + y) / 4) & 0xFF);
        }
    }
    return bmp;
}

// A container holding a skin of the size of the largest stored skins.
void BuildSkin(TbsSkinData& data) {
    data.SkinName = L"Benchmark";
    data.FPicture = Picture(500, 350, 1);
    data.FPictureName = L"frame.bmp";
    for (int i = 0; i < 8; ++i) {
        data.FActivePictures.push_back(Picture(160, 120, 10 + i));
        data.FActivePicturesNames->Add(L"picture" + std::to_wstring(i) + L".bmp");
    }
    for (int copy = 0; copy < 3; ++copy)
        for (const wchar_t* kind : kControlKindWords)
            data.CtrlList.push_back(CreateControlRecord(kind, std::wstring(kind) + std::to_wstring(copy)));
    for (const wchar_t* kind : {L"menuitem", L"mainmenubaritem", L"stdbutton", L"mainmenubarbutton", L"button",
                                L"caption", L"animate", L"userobject"})
        for (int copy = 0; copy < 3; ++copy)
            data.ObjectList.push_back(CreateObjectRecord(kind, std::wstring(kind) + std::to_wstring(copy)));
}

}  // namespace

int main() {
    TbsSkinData source(nullptr);
    source.FBuilderMode = true;
    BuildSkin(source);
    TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromSkinData(&source);
    const std::string zl = stored.CompressedBytes();
    const std::string content = DecompressBytes(zl.data(), zl.size());
    std::printf("compressed %zu bytes, content %zu bytes (%zu records)\n", zl.size(), content.size(),
                source.CtrlList.size() + source.ObjectList.size());

    std::string copy(content.size(), '\0');
    const double memcpyMs = BestMs([&] {
        std::memcpy(copy.data(), content.data(), content.size());
        volatile char sink = copy[copy.size() / 2];
        (void)sink;
    });
    const double inflateMs = BestMs([&] { DecompressBytes(zl.data(), zl.size()); });
    TbsSkinData target(nullptr);
    target.FBuilderMode = true;
    const double loadMs = BestMs([&] { target.LoadCompressedStoredSkin(&stored); });
    const double parseMs = loadMs - inflateMs;
    const TbsSkinContent parsed = ParseSkinContent(content);
    const double picturesMs = BestMs([&] {
        for (const auto& bmp : parsed.ActivePictures)
            BitmapFromBytes(bmp);
        for (const auto* slot : {&parsed.Picture, &parsed.InActivePicture, &parsed.Mask})
            if (*slot)
                BitmapFromBytes(**slot);
    });
    const double iniMs = BestMs([&] {
        TStringList lines;
        lines.LoadFromBytes(parsed.IniText.data(), parsed.IniText.size());
        TbsSkinMemIni ini(L"");
        ini.SetStrings(&lines);
    });

    std::printf("%-32s %9.3f ms\n", "memcpy of the content", memcpyMs);
    std::printf("%-32s %9.3f ms %8.1fx memcpy\n", "inflate", inflateMs, inflateMs / memcpyMs);
    std::printf("%-32s %9.3f ms %8.1fx memcpy\n", "parse (pictures, ini, records)", parseMs, parseMs / memcpyMs);
    std::printf("%-32s %9.3f ms %8.1fx memcpy\n", "  of which picture decoding", picturesMs, picturesMs / memcpyMs);
    std::printf("%-32s %9.3f ms %8.1fx memcpy\n", "  of which ini text parsing", iniMs, iniMs / memcpyMs);
    std::printf("%-32s %9.3f ms %8.1fx memcpy\n", "whole load", loadMs, loadMs / memcpyMs);
    return target.CtrlList.size() == source.CtrlList.size() ? 0 : 1;
}
