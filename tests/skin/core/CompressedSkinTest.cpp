// Compressed skins: the outer block and content layout, byte-exact round trips, versions, and hostile blocks that
// must end in a clean error (truncated data, lying lengths, a bfSize past the end, a zip bomb).
#include <gtest/gtest.h>

#include "skin/core/CompressedSkin.h"
#include "tests/TestFiles.h"
#include "tests/skin/core/SkinDataFixtures.h"

namespace {

using namespace skin_fixture;

std::string ContentBytes(const std::string& name = "Fixture Skin") {
    return BuildSkinContent(FixtureContent(name));
}

TEST(CompressedSkin, TheBlockIsVersionLengthAndALevelNineZlibStream) {
    trelm_test::TTempDir dir;
    TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromCompressBytes(BlockOf(ContentBytes()));
    stored.SaveToCompressFile(dir.File(L"s.skn"));
    trelm_test::Bytes file = trelm_test::ReadFileBytes(dir.File(L"s.skn"));
    ASSERT_GT(file.size(), 10u);
    EXPECT_EQ(file[0], 3);
    EXPECT_EQ(file[1], 0);
    EXPECT_EQ(file[2], 0);
    EXPECT_EQ(file[3], 0);
    const std::uint32_t n = file[4] | (file[5] << 8) | (file[6] << 16) | (std::uint32_t(file[7]) << 24);
    EXPECT_EQ(n, file.size() - 8);
    EXPECT_EQ(file[8], 0x78);
    EXPECT_EQ(file[9], 0xDA);
}

TEST(CompressedSkin, LoadThenSaveReproducesTheBlockByteForByte) {
    const std::string block = BlockOf(ContentBytes());
    TbsCompressedStoredSkin stored(nullptr);
    TMemoryStream in;
    in.WriteBuffer(block.data(), static_cast<std::int32_t>(block.size()));
    stored.LoadFromCompressStream(&in);
    TMemoryStream out;
    stored.SaveToCompressStream(&out);
    EXPECT_EQ(std::string(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size())), block);
}

TEST(CompressedSkin, ContentRoundTripsThroughTheLayout) {
    TbsSkinContent c = FixtureContent();
    c.Mask = MakeBmp(3, 3, 0xFFFFFF);
    TbsSkinContent back = ParseSkinContent(BuildSkinContent(c));
    EXPECT_EQ(back.Version, 3);
    EXPECT_EQ(back.Picture, c.Picture);
    EXPECT_FALSE(back.InActivePicture.has_value());
    EXPECT_EQ(back.Mask, c.Mask);
    EXPECT_EQ(back.ActivePictures, c.ActivePictures);
    EXPECT_EQ(back.IniText, c.IniText);
}

TEST(CompressedSkin, VersionTwoExtraSlotsAreReadAndDropped) {
    TbsSkinContent c = FixtureContent();
    std::string v3 = BuildSkinContent(c);
    // Version 2: the same with two extra picture slots after the mask slot.
    std::string v2 = v3;
    v2[0] = 2;
    const size_t afterSlots = 4 + 1 + c.Picture->size() + 1 + 1;
    v2.insert(afterSlots, std::string(1, '\0') + MakeBmp(2, 2, 0x123456) + std::string(1, '\1'));
    TbsSkinContent a = ParseSkinContent(v2), b = ParseSkinContent(v3);
    EXPECT_EQ(a.Picture, b.Picture);
    EXPECT_EQ(a.ActivePictures, b.ActivePictures);
    EXPECT_EQ(a.IniText, b.IniText);
}

TEST(CompressedSkin, EveryNonZeroFlagIsAnEmptySlot) {
    std::string bytes = {3, 0, 0, 0, 1, 7, char(0xFF), 0, 0, 0, 0};
    bytes += "[VERSION]";
    TbsSkinContent c = ParseSkinContent(bytes);
    EXPECT_FALSE(c.Picture || c.InActivePicture || c.Mask);
    EXPECT_TRUE(c.ActivePictures.empty());
    EXPECT_EQ(c.IniText, "[VERSION]");
}

TEST(CompressedSkin, NewerVersionsAndEmptyBlocksHoldNoSkin) {
    TbsCompressedStoredSkin stored(nullptr);
    std::string z = CompressBytes(ContentBytes());
    stored.LoadFromCompressBytes(Block(4, static_cast<std::int32_t>(z.size()), z));
    EXPECT_TRUE(stored.GetEmpty());
    stored.LoadFromCompressBytes(Block(3, 0, ""));
    EXPECT_TRUE(stored.GetEmpty());
    // An inner version above 3 comes back with nothing but its version.
    std::string v4 = ContentBytes();
    v4[0] = 4;
    TbsSkinContent c = ParseSkinContent(v4);
    EXPECT_EQ(c.Version, 4);
    EXPECT_FALSE(c.Picture.has_value());
    EXPECT_EQ(PeekContentVersion(CompressBytes(v4).data(), CompressBytes(v4).size()), 4);
}

TEST(CompressedSkin, SavingAnEmptyStoredSkinMakesNoFile) {
    trelm_test::TTempDir dir;
    TbsCompressedStoredSkin stored(nullptr);
    stored.SaveToCompressFile(dir.File(L"none.skn"));
    EXPECT_TRUE(dir.Names().empty());
}

TEST(CompressedSkin, BytesAfterTheEndOfTheZlibStreamAreIgnored) {
    const std::string content = ContentBytes();
    std::string z = CompressBytes(content) + "trailing garbage";
    TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromCompressBytes(Block(3, static_cast<std::int32_t>(z.size()), z));
    EXPECT_EQ(BuildSkinContent(stored.DecompressContent()), content);
}

// Each hostile block fails with a class-library exception (never a crash or an overrun).
TEST(CompressedSkin, HostileBlocksGiveACleanError) {
    const std::string content = ContentBytes();
    const std::string z = CompressBytes(content);
    std::string badBfSize = content;
    // The first picture's bfSize (after version and flag) claims more than remains.
    badBfSize[5 + 2] = char(0xFF);
    badBfSize[5 + 3] = char(0xFF);
    badBfSize[5 + 4] = char(0x7F);
    std::string hugeCount = BuildSkinContent(TbsSkinContent{3, std::nullopt, std::nullopt, std::nullopt, {}, ""});
    hugeCount[7] = char(0xFF);
    hugeCount[8] = char(0xFF);
    hugeCount[9] = char(0xFF);
    hugeCount[10] = char(0x7F);
    std::string notBmp = content;
    notBmp[5] = 'X';
    // 100 MiB of zeros deflate to about 100 KiB.
    const std::string bomb = CompressBytes(std::string(100u << 20, '\0'));
    std::string damaged = z;
    damaged[damaged.size() / 2] ^= 0x55;
    damaged[damaged.size() / 2 + 1] ^= 0x55;
    struct Case {
        const char* what;
        std::string block;
    } cases[] = {
        {"shorter than its header", std::string("\3\0\0", 3)},
        {"length past the end", Block(3, static_cast<std::int32_t>(z.size() + 1), z)},
        {"negative length", Block(3, -5, z)},
        {"zlib cut in the middle", Block(3, static_cast<std::int32_t>(z.size() / 2), z.substr(0, z.size() / 2))},
        {"zlib damaged", Block(3, static_cast<std::int32_t>(damaged.size()), damaged)},
        {"bfSize past the end", BlockOf(badBfSize)},
        {"picture count past the end", BlockOf(hugeCount)},
        {"picture that is no BMP", BlockOf(notBmp)},
        {"zip bomb", Block(3, static_cast<std::int32_t>(bomb.size()), bomb)},
        {"only a version", BlockOf(std::string("\3\0", 2))},
    };
    for (const auto& c : cases) {
        for (bool borrowed : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (borrowed ? ", read in place" : ", copied"));
            try {
                TbsCompressedStoredSkin stored(nullptr);
                if (borrowed)
                    stored.LoadFromBorrowedCompressBlock(c.block);
                else
                    stored.LoadFromCompressBytes(c.block);
                stored.DecompressContent();
                ADD_FAILURE() << "no error";
            } catch (const Exception& e) {
                EXPECT_FALSE(std::wstring(e.Message()).empty());
            }
        }
    }
}

// A block read in place is not copied: the skin's bytes are the caller's, and it decompresses as a copied one does.
TEST(CompressedSkin, ABorrowedBlockIsReadInPlace) {
    const std::string content = ContentBytes();
    const std::string z = CompressBytes(content);
    const std::string block = BlockOf(content);
    TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromBorrowedCompressBlock(block);
    ASSERT_FALSE(stored.Empty());
    EXPECT_EQ(stored.CompressedView().data(), block.data() + 8);
    EXPECT_EQ(stored.CompressedView().size(), z.size());
    EXPECT_EQ(BuildSkinContent(stored.DecompressContent()), content);
    EXPECT_EQ(stored.CompressBlock(), block);
    // Owned bytes replace the borrowed ones, and borrowed bytes the owned ones.
    stored.SetCompressedBytes(CompressBytes(ContentBytes() + "x"));
    EXPECT_NE(stored.CompressedView().data(), block.data() + 8);
    EXPECT_EQ(BuildSkinContent(stored.DecompressContent()), content + "x");
    stored.LoadFromBorrowedCompressBlock(block);
    EXPECT_EQ(BuildSkinContent(stored.DecompressContent()), content);
    // A version this reader does not take leaves the skin empty, as a copied one.
    stored.LoadFromBorrowedCompressBlock(Block(4, static_cast<std::int32_t>(z.size()), z));
    EXPECT_TRUE(stored.Empty());
}

TEST(CompressedSkin, StreamsCompressAndDecompressThroughZlib) {
    TMemoryStream in, packed, out;
    const std::string data = ContentBytes() + std::string(50000, 'a');
    in.WriteBuffer(data.data(), static_cast<std::int32_t>(data.size()));
    CompressStream(&in, &packed);
    EXPECT_LT(packed.Size(), static_cast<std::int64_t>(data.size()));
    DeCompressStream(&out, &packed);
    EXPECT_EQ(std::string(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size())), data);
}

TEST(CompressedSkin, ListItemsAreNamedByTheirIndexAtCreation) {
    TbsCompressedSkinList list(nullptr);
    for (int i = 0; i < 5; ++i)
        list.Skins()->Add();
    EXPECT_EQ(list.Skins()->Items(4)->Name, L"bsSkin4");
    EXPECT_EQ(list.Skins()->Items(4)->DisplayName(), L"bsSkin4");
    EXPECT_TRUE(list.Skins()->Items(0)->Skin()->GetEmpty());
}

TEST(CompressedSkin, AStoredSkinBuiltFromAnIniFileKeepsTheFileText) {
    trelm_test::TTempDir dir;
    const std::string ini = "; a comment\r\n" + SkinIni() + "[EXTRA]\r\nunread=1\r\n";
    WriteSkinFolder(dir, ini);
    TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromIniFile(dir.File(L"skin.ini"));
    TbsSkinContent c = stored.DecompressContent();
    EXPECT_EQ(c.IniText, ini);
    EXPECT_EQ(c.Picture, MakeBmp(40, 30, 0x336699));
    EXPECT_FALSE(c.Mask.has_value());
    ASSERT_EQ(c.ActivePictures.size(), 2u);
    EXPECT_EQ(c.ActivePictures[1], MakeBmp(20, 10, 0x808080));
    // A file that is not a skin leaves the component as it was.
    skin_fixture::WriteText(dir.File(L"plain.ini"), "[VERSION]\r\nver=1\r\n");
    stored.LoadFromIniFile(dir.File(L"plain.ini"));
    EXPECT_EQ(stored.DecompressContent().IniText, ini);
}

}  // namespace
