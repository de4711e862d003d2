// The skin bitmap's own stream format, PCX reading, resources, links and their masked checks, and the text helpers.
#include "skin/core/BitmapLinks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/SysUtils.h"
#include "skin/core/SkinBitmap.h"

namespace {

std::string Bytes(TMemoryStream& m) {
    return std::string(static_cast<const char*>(m.Memory()), static_cast<std::size_t>(m.Size()));
}

void Put(TMemoryStream& m, const std::string& bytes) {
    m.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    m.SetPosition(0);
}

std::string Le32(std::int32_t v) {
    return std::string(reinterpret_cast<const char*>(&v), 4);
}

}  // namespace

TEST(BitmapStream, SavesExactBytesAndRoundTrips) {
    TbsBitmap b;
    b.SetSize(2, 1);
    b.Name = L"ab";
    b.SetPixel(0, 0, 0x11223344);
    b.SetPixel(1, 0, 0xAABBCCDD);
    TMemoryStream m;
    b.SaveToStream(&m);
    EXPECT_EQ(Bytes(m), Le32(2) + std::string("a\0b\0", 4) + Le32(2) + Le32(1) + std::string("\x44\x33\x22\x11", 4) +
                            std::string("\xDD\xCC\xBB\xAA", 4));
    m.SetPosition(0);
    TbsBitmap c;
    c.LoadFromStream(&m);
    EXPECT_EQ(c.Name, L"ab");
    ASSERT_EQ(c.Width(), 2);
    ASSERT_EQ(c.Height(), 1);
    EXPECT_EQ(c.GetPixel(0, 0), 0x11223344u);
    EXPECT_EQ(c.GetPixel(1, 0), 0xAABBCCDDu);
}

TEST(BitmapStream, NegativeHeightIsBottomUp) {
    TMemoryStream m;
    Put(m, Le32(0) + Le32(1) + Le32(-3) + Le32(1) + Le32(2) + Le32(3));
    TbsBitmap b;
    b.LoadFromStream(&m);
    ASSERT_EQ(b.Height(), 3);
    EXPECT_EQ(b.GetPixel(0, 0), 3u);
    EXPECT_EQ(b.GetPixel(0, 2), 1u);
}

TEST(BitmapStream, LyingLengthsAreRefusedAndTheBitmapKept) {
    const std::vector<std::string> streams = {
        Le32(1000) + std::string("a\0", 2),                    // name longer than the stream
        Le32(-1),                                              // negative name length
        Le32(0) + Le32(100) + Le32(100) + std::string(16, 0),  // pixels missing
        Le32(0) + Le32(-2) + Le32(1),                          // negative width
        Le32(0) + Le32(2),                                     // cut inside the size
    };
    for (const std::string& s : streams) {
        TbsBitmap b;
        b.SetSize(3, 3);
        b.Name = L"kept";
        TMemoryStream m;
        Put(m, s);
        EXPECT_THROW(b.LoadFromStream(&m), EReadError);
        EXPECT_EQ(b.Width(), 3);
        EXPECT_EQ(b.Name, L"kept");
    }
}

TEST(BitmapPcx, ReadsEightBitRunLengthImages) {
    // 3 x 2, one plane of 4 bytes per line, encoding 1, version 5, a palette at the end.
    std::string header(128, '\0');
    header[0] = 10;
    header[1] = 5;
    header[2] = 1;
    header[3] = 8;
    header[8] = 2;   // XMax
    header[10] = 1;  // YMax
    header[65] = 1;
    header[66] = 4;
    // Row 0: 1, 1, 2, pad; row 1: run of four 3s.
    const std::string data = std::string("\xC2\x01\x02\x00\xC4\x03", 6);
    std::string palette(768, '\0');
    palette[3] = '\x10';   // index 1: red 0x10
    palette[7] = '\x20';   // index 2: green 0x20
    palette[11] = '\x30';  // index 3: blue 0x30
    TMemoryStream m;
    Put(m, header + data + "\x0C" + palette);
    TbsBitmap b;
    b.LoadFromPcxStream(&m);
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF100000u);
    EXPECT_EQ(b.GetPixel(2, 0), 0xFF002000u);
    EXPECT_EQ(b.GetPixel(1, 1), 0xFF000030u);
    TMemoryStream other;
    std::string notPcx = header;
    notPcx[0] = 11;
    Put(other, notPcx + data);
    TbsBitmap unchanged;
    unchanged.SetSize(5, 5);
    unchanged.LoadFromPcxStream(&other);
    EXPECT_EQ(unchanged.Width(), 5);
}

TEST(BitmapResource, MissingResourceOrModuleDoesNothing) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    TbsBitmap b;
    b.SetSize(4, 4);
    b.LoadFromResource(self, L"NO_SUCH_BITMAP");
    b.LoadFromResource(L"no-such-module.dll", L"X");
    EXPECT_EQ(b.Width(), 4);
}

TEST(BitmapLinks, MaskedChecks) {
    TbsBitmap b;
    b.SetSize(20, 20);
    b.Clear(0xFF808080);
    auto link = GetBitmapLink(&b, L"5, 5, 15, 15");
    EXPECT_EQ(link->Rect(), (TRect{5, 5, 15, 15}));
    EXPECT_TRUE(link->Assigned());
    link->CheckingMasked();
    EXPECT_FALSE(link->Masked());
    b.SetPixel(9, 9, 0x007F007F);
    link->CheckingMasked();
    EXPECT_TRUE(link->Masked());
    // With margins of 2 the pixel at (9, 9) lies in the middle; a translucent one at the rectangle's top-left corner.
    b.SetPixel(5, 5, 0x80FFFFFF);
    link->CheckingMasked({2, 2, 2, 2});
    EXPECT_TRUE(link->Masked());
    EXPECT_TRUE(link->MaskedAngles());
    EXPECT_FALSE(link->MaskedBorder());
    b.SetPixel(9, 9, 0xFF808080);
    b.SetPixel(5, 5, 0xFF808080);
    b.SetPixel(14, 9, 0x33333333);   // this value never counts
    b.SetPixel(10, 14, 0x10000000);  // bottom edge
    link->CheckingMasked({2, 2, 2, 2});
    EXPECT_FALSE(link->Masked());
    EXPECT_FALSE(link->MaskedAngles());
    EXPECT_TRUE(link->MaskedBorder());
}

TEST(BitmapLinks, StreamAndDraw) {
    TbsBitmap b;
    b.SetSize(4, 4);
    b.Clear(0xFF123456);
    b.Name = L"pic";
    auto link = GetBitmapLink(&b, TRect{1, 1, 3, 3});
    EXPECT_EQ(link->Name(), L"pic");
    TMemoryStream m;
    link->SaveToStream(&m);
    m.SetPosition(0);
    TbsBitmapLink copy;
    copy.LoadFromStream(&m);
    EXPECT_EQ(copy.Name(), L"pic");
    EXPECT_EQ(copy.Rect(), (TRect{1, 1, 3, 3}));
    EXPECT_FALSE(copy.Assigned());  // no image
    TbsBitmap target;
    target.SetSize(5, 5);
    link->Draw(&target, 3, 3);
    EXPECT_EQ(target.GetPixel(4, 4), 0xFF123456u);
    EXPECT_EQ(target.GetPixel(2, 2), 0u);
}

TEST(BitmapText, TokensAndRectangles) {
    std::wstring s = L"left = 12, rest";
    EXPECT_EQ(GetToken(s), L"left");
    EXPECT_EQ(s, L"= 12, rest");
    EXPECT_EQ(GetToken(s), L"");
    EXPECT_EQ(GetToken(s), L"12");
    EXPECT_EQ(s, L"rest");
    EXPECT_EQ(GetToken(s), L"rest");
    EXPECT_EQ(s, L"");
    EXPECT_EQ(StringToRect(L"1, 2, 3, 4"), (TRect{1, 2, 3, 4}));
    EXPECT_EQ(StringToRect(L"1,2,3,4"), (TRect{1, 2, 3, 4}));
    EXPECT_EQ(StringToRect(L"1, x, 3, 4"), TRect{});
    EXPECT_EQ(StringToRect(L"1, 2"), TRect{});
}
