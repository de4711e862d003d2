// The payload pipeline without windows: PayloadStart on hand-made section tables and on the images the build's
// append step measured (this build's Setup, the i686 build's, a PE32 program), the gauge's values, the uninstaller's
// check of the Start-menu folder name, and the Russian language file the build writes, read back through the
// notifier's own reader.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/LangTable.h"
#include "base/Files.h"
#include "base/Utf.h"
#include "setup/Payload.h"
#include "setup/Uninstall.h"

namespace {

std::wstring WinePathOf(const std::string& unixPath) {
    std::wstring p = L"Z:" + Utf8ToWide(unixPath);
    for (wchar_t& c : p)
        if (c == L'/')
            c = L'\\';
    return p;
}

template <typename T>
void Put(std::string& image, size_t at, T value) {
    if (image.size() < at + sizeof value)
        image.resize(at + sizeof value);
    std::memcpy(image.data() + at, &value, sizeof value);
}

struct TSection {
    std::uint32_t RawSize, RawAt;
};

// A PE header with the given optional-header magic, SizeOfHeaders and sections, as far as the section table.
std::string Image(std::uint16_t magic, std::uint32_t headers, const std::vector<TSection>& sections) {
    std::string image(0x40, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    Put<std::uint32_t>(image, 0x3C, 0x80);
    Put<std::uint32_t>(image, 0x80, 0x00004550);
    Put<std::uint16_t>(image, 0x86, static_cast<std::uint16_t>(sections.size()));
    const std::uint16_t optionalSize = magic == 0x20B ? 0xF0 : 0xE0;
    Put<std::uint16_t>(image, 0x94, optionalSize);
    Put<std::uint16_t>(image, 0x98, magic);
    Put<std::uint32_t>(image, 0x98 + 60, headers);
    const size_t table = 0x98 + optionalSize;
    image.resize(table, '\0');
    for (size_t i = 0; i < sections.size(); ++i) {
        Put<std::uint32_t>(image, table + 40 * i + 16, sections[i].RawSize);
        Put<std::uint32_t>(image, table + 40 * i + 20, sections[i].RawAt);
    }
    image.resize(table + 40 * sections.size() + 8, '\0');
    return image;
}

TEST(PayloadStart, IsTheEndOfTheLastSectionRoundedUpTo512) {
    struct Case {
        const char* name;
        std::uint16_t magic;
        std::vector<TSection> sections;
        std::uint64_t start;
    };
    const std::vector<Case> cases = {
        {"PE32+ ending on a boundary", 0x20B, {{0x200, 0x400}, {0x1000, 0x600}}, 0x1600},
        {"PE32 ending on a boundary", 0x10B, {{0x200, 0x400}, {0x1000, 0x600}}, 0x1600},
        {"one byte past a boundary", 0x20B, {{0x200, 0x400}, {0x1001, 0x600}}, 0x1800},
        {"sections out of order", 0x10B, {{0x1000, 0x2000}, {0x200, 0x400}}, 0x3000},
        {"a section without data", 0x20B, {{0x200, 0x400}, {0, 0x9000}}, 0x600},
        {"no sections: the headers", 0x10B, {}, 0x400},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PayloadStart(Image(c.magic, 0x400, c.sections)), c.start) << c.name;
}

TEST(PayloadStart, RefusesWhatIsNoPeImageOrIsCutShort) {
    const std::string good = Image(0x20B, 0x400, {{0x200, 0x400}});
    ASSERT_TRUE(PayloadStart(good).has_value());
    std::string noMz = good;
    noMz[0] = 'X';
    std::string noPe = good;
    noPe[0x80] = 'X';
    std::string rom = good;
    Put<std::uint16_t>(rom, 0x98, 0x107);
    std::string farHeader = good;
    Put<std::uint32_t>(farHeader, 0x3C, 0xFFFFFFF0u);
    std::string manySections = good;
    Put<std::uint16_t>(manySections, 0x86, 0xFFFF);
    for (const std::string& bad : {noMz, noPe, rom, farHeader, manySections, good.substr(0, good.size() - 12),
                                   good.substr(0, 0x90), std::string()})
        EXPECT_FALSE(PayloadStart(bad).has_value());
}

// The image as linked and the start the append step wrote beside it agree with PayloadStart.
void ExpectSameStart(const std::string& image, const std::string& startFile) {
    const auto bytes = ReadWholeFile(WinePathOf(image));
    const auto start = ReadWholeFile(WinePathOf(startFile));
    ASSERT_TRUE(bytes && start) << image;
    const std::optional<std::uint64_t> ours = PayloadStart(*bytes);
    ASSERT_TRUE(ours.has_value()) << image;
    EXPECT_EQ(*ours, std::stoull(*start)) << image;
    // Stripped: the image ends where its last section does, on a file-alignment boundary at or before the start.
    EXPECT_LE(bytes->size(), *ours) << image;
    EXPECT_GT(bytes->size() + 512, *ours) << image;
}

TEST(PayloadStart, AgreesWithTheAppendStepOnThisBuildsSetup) {
    ExpectSameStart(SETUP_IMAGE_DIR "/Setup.exe", SETUP_IMAGE_DIR "/payload-start.txt");
}

TEST(PayloadStart, AgreesWithTheAppendStepOnThe32BitSetup) {
    if (GetFileAttributesW(WinePathOf(SETUP_I686_IMAGE_DIR "/Setup.exe").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no i686 build beside this one (scripts/test.sh builds it first)";
    ExpectSameStart(SETUP_I686_IMAGE_DIR "/Setup.exe", SETUP_I686_IMAGE_DIR "/payload-start.txt");
}

TEST(PayloadStart, AgreesWithTheAppendStepOnAPe32Program) {
    const std::string image = SETUP_PE32_IMAGE;
    if (image.empty())
        GTEST_SKIP() << "no i686 compiler";
    const auto bytes = ReadWholeFile(WinePathOf(image));
    ASSERT_TRUE(bytes.has_value());
    std::uint32_t pe = 0;
    std::uint16_t magic = 0;
    std::memcpy(&pe, bytes->data() + 0x3C, 4);
    std::memcpy(&magic, bytes->data() + pe + 24, 2);
    EXPECT_EQ(magic, 0x10B);
    ExpectSameStart(image, image + ".start");
}

TEST(PayloadTable, NamesTheFilesTheUninstallerRemovesAndFillsSetupExeToItsLastByte) {
    for (size_t i = 0; i < kPayloadSlotCount; ++i)
        EXPECT_EQ(std::wstring(kPayloadTable[i].Name), kPayloadFileNames[i]) << i;
    const std::vector<std::uint32_t> blockSizes = {128, 128, 128, 2, 2, 128, 128, 2};
    for (size_t i = 0; i < kPayloadSlotCount; ++i) {
        EXPECT_EQ(kPayloadTable[i].BlockSize, blockSizes[i]) << i;
        EXPECT_GT(kPayloadTable[i].Blocks, 0u) << i;
    }
    // The table compiled into this build's Setup describes what the append step put behind its image.
    const auto setup = ReadWholeFile(WinePathOf(SETUP_EXE), size_t{1} << 30);
    ASSERT_TRUE(setup.has_value());
    const std::optional<std::uint64_t> start = PayloadStart(*setup);
    ASSERT_TRUE(start.has_value());
    EXPECT_EQ(*start + PayloadBytes(kPayloadTable), setup->size());
    EXPECT_GT(setup->size(), PayloadBytes(kPayloadTable));
}

TEST(GaugeValue, ClimbsByOneAndEndsAt100WhateverTheTotal) {
    for (const std::uint64_t total : {1ull, 37ull, 99ull, 100ull, 250ull, 190612ull}) {
        int last = 0;
        for (std::uint64_t copied = 1; copied <= total; ++copied) {
            const int v = GaugeValueAfter(copied, total);
            ASSERT_GE(v, last) << total;
            ASSERT_LE(v, 100) << total;
            last = v;
        }
        EXPECT_EQ(last, 100) << total;
        EXPECT_EQ(GaugeValueAfter(0, total), 0) << total;
    }
    // 190612 blocks: a step every 1906 blocks, as the old installer counted.
    EXPECT_EQ(GaugeValueAfter(1905, 190612), 0);
    EXPECT_EQ(GaugeValueAfter(1906, 190612), 1);
    EXPECT_EQ(GaugeValueAfter(190611, 190612), 100);
}

TEST(Uninstall, TakesOnlyASingleFolderNameFromTheEntry) {
    for (const wchar_t* good : {L"Trelm Mail", L"Почта", L"a", L"Mail.v2"})
        EXPECT_TRUE(IsSingleFolderName(good)) << WideToUtf8(good);
    for (const wchar_t* bad : {L"", L".", L"..", L"..\\..", L"C:\\x", L"C:", L"a\\b", L"a/b", L"\\x", L"x.", L"x ",
                               L"*", L"a?b", L"a\tb"})
        EXPECT_FALSE(IsSingleFolderName(bad)) << WideToUtf8(bad);
    EXPECT_EQ(StartMenuLinkNames(L"Trelm Mail"),
              (std::vector<std::wstring>{L"Trelm Mail.lnk", L"Uninstall Trelm Mail.lnk", L"Help Trelm Mail.lnk"}));
}

TEST(RussianLanguageFile, HoldsThe88BuiltInLinesAfterAByteOrderMark) {
    const auto bytes = ReadWholeFile(WinePathOf(SETUP_LNG));
    ASSERT_TRUE(bytes.has_value());
    ASSERT_GE(bytes->size(), 2u);
    EXPECT_EQ(bytes->substr(0, 2), std::string("\xFF\xFE"));
    const std::vector<std::wstring> lines = SplitLangFile(*bytes);
    ASSERT_EQ(lines.size(), 88u);
    EXPECT_EQ(FirstBadLangLine(lines), -1);
    const TLangTable& russian = *BuiltInLangTable(0);
    for (int i = 0; i < kLangLineCount; ++i)
        EXPECT_EQ(lines[i], russian[i]) << i;
}

}  // namespace
