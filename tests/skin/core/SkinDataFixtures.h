// Skin fixtures for the skin data tests: small BMP images, an ini skin text that uses every section, skin folders on
// disk and compressed blocks built from content. Test code only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/SysUtils.h"
#include "skin/core/CompressedSkin.h"
#include "tests/TestFiles.h"

namespace skin_fixture {

// A bottom-up 24-bit BMP file image of one colour (0xRRGGBB).
inline std::string MakeBmp(int w, int h, std::uint32_t rgb) {
    const int row = (w * 3 + 3) / 4 * 4;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(row * h);
    const std::uint32_t fileSize = 54 + dataSize;
    std::string b;
    auto u16 = [&](std::uint32_t v) {
        b.push_back(char(v & 0xFF));
        b.push_back(char((v >> 8) & 0xFF));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    b += "BM";
    u32(fileSize);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<std::uint32_t>(w));
    u32(static_cast<std::uint32_t>(h));
    u16(1);
    u16(24);
    u32(0);
    u32(dataSize);
    u32(0);
    u32(0);
    u32(0);
    u32(0);
    for (int y = 0; y < h; ++y) {
        std::string line;
        for (int x = 0; x < w; ++x) {
            line.push_back(char(rgb & 0xFF));
            line.push_back(char((rgb >> 8) & 0xFF));
            line.push_back(char((rgb >> 16) & 0xFF));
        }
        line.resize(static_cast<size_t>(row), '\0');
        b += line;
    }
    return b;
}

// An ini skin using every fixed section, two objects and three controls (one entry is broken and is skipped).
// layerPicture: the [LAYERFRAME] pictureindex (-1: no layer frame).
inline std::string SkinIni(const std::string& name = "Fixture Skin", int layerPicture = -1) {
    return "[VERSION]\r\nver=1\r\nskinname=" + name +
           "\r\nskinauthor=Tests\r\n"
           "[PICTURES]\r\npicture=frame.bmp\r\ninactivepicture=\r\nmask=\r\nactivepicturescount=2\r\n0=btn.bmp\r\n"
           "1=mask.bmp\r\n"
           "[FORMINFO]\r\nclientrect=-3,4,30,20\r\nlefttoppoint=5,5\r\nrightbottompoint=25,18\r\nborderwidth=3\r\n"
           "[LAYERFRAME]\r\npictureindex=" +
           std::to_string(layerPicture) +
           "\r\nmaskpictureindex=1\r\nfullborder=1\r\n"
           "[SKINCOLORS]\r\ncbtnface=255\r\n"
           "[SKINOBJECTS]\r\ncount=2\r\n0=close:stdbutton\r\n1=caption:caption\r\n"
           "[close]\r\nhint=Maximize\r\ncommand=cmmaximize\r\nskinrect=1,1,9,9\r\nactivepictureindex=0\r\n"
           "[caption]\r\nfontname=Arial\r\n"
           "[SKINCONTROLS]\r\ncount=3\r\n0=button:button\r\n1=broken\r\n2=listbox:listbox\r\n"
           "[button]\r\npictureindex=0\r\nskinrect=0,0,20,10\r\nfontstyle=fsbold,fsunderline\r\n"
           "[listbox]\r\nfontheight=15\r\n";
}

inline void WriteText(const std::wstring& path, const std::string& bytes) {
    trelm_test::WriteFileBytes(path, trelm_test::Bytes(bytes.begin(), bytes.end()));
}

// The fixture skin as skin.ini and its pictures in dir.
inline std::wstring WriteSkinFolder(const trelm_test::TTempDir& dir, const std::string& ini = SkinIni()) {
    WriteText(dir.File(L"frame.bmp"), MakeBmp(40, 30, 0x336699));
    WriteText(dir.File(L"btn.bmp"), MakeBmp(20, 10, 0xCC3300));
    WriteText(dir.File(L"mask.bmp"), MakeBmp(20, 10, 0x808080));
    WriteText(dir.File(L"skin.ini"), ini);
    return dir.File(L"skin.ini");
}

// The content bytes of the fixture skin (frame picture, two active pictures).
inline TbsSkinContent FixtureContent(const std::string& name = "Fixture Skin", int layerPicture = -1) {
    TbsSkinContent c;
    c.Picture = MakeBmp(40, 30, 0x336699);
    c.ActivePictures = {MakeBmp(20, 10, 0xCC3300), MakeBmp(20, 10, 0x808080)};
    c.IniText = SkinIni(name, layerPicture);
    return c;
}

// An outer block around zlibBytes with the given header fields.
inline std::string Block(std::int32_t version, std::int32_t length, const std::string& zlibBytes) {
    std::string b;
    for (std::int32_t v : {version, length})
        for (int i = 0; i < 4; ++i)
            b.push_back(char((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
    return b + zlibBytes;
}

inline std::string BlockOf(const std::string& content) {
    std::string z = CompressBytes(content);
    return Block(3, static_cast<std::int32_t>(z.size()), z);
}

}  // namespace skin_fixture
