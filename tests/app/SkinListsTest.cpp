// The skin lists built into the programs: the notifier's 87 skins read from TrelmMail.exe's resources, the
// installer's "Windows 8" from the objects the installer links, and the list text's parser on damaged rows.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/SkinLists.h"
#include "tests/app/NotifierModule.h"
#include "base/Files.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinListResource.h"

namespace {

class NotifierSkinList : public TNotifierModuleTest {};

TEST_F(NotifierSkinList, HoldsEightySevenNamedSkinsAndTheDefaultLoads) {
    TbsCompressedSkinList list(nullptr);
    LoadNotifierSkinList(list, Module());
    ASSERT_EQ(list.Skins()->Count(), 87);
    for (int i = 0; i < list.Skins()->Count(); ++i) {
        TbsSkinListItem* item = list.Skins()->Items(i);
        EXPECT_FALSE(item->Name.empty()) << i;
        EXPECT_FALSE(item->Description.empty()) << i;
        EXPECT_FALSE(item->Skin()->Empty()) << i;
        // Read in place from the module, not copied: the skins not shown cost the process no memory of its own.
        HRSRC info = FindResourceW(Module(), (std::wstring(kNotifierSkinListName) + L"_" + std::to_wstring(i)).c_str(),
                                   MAKEINTRESOURCEW(10));
        ASSERT_TRUE(info) << i;
        const char* block = static_cast<const char*>(LockResource(LoadResource(Module(), info)));
        EXPECT_EQ(item->Skin()->CompressedView().data(), block + 8) << i;
    }
    EXPECT_EQ(list.Skins()->Items(81)->Name, L"Trelm Blue");
    EXPECT_EQ(list.Skins()->Items(23)->Name, L"Trelm Graphite");

    // The settings' default index through the container, as the main window selects it.
    TbsSkinData data(nullptr);
    data.SetSkinIndex(81);
    data.SetSkinList(&list);
    ASSERT_FALSE(data.Empty);
    EXPECT_EQ(data.SkinName, L"Trelm Blue");
    EXPECT_GT(data.ActivePictureCount(), 0);
    EXPECT_GE(data.GetControlIndex(L"button"), 0);
    // An index outside the list is ignored: the loaded skin stays.
    data.SetSkinIndex(87);
    EXPECT_EQ(data.SkinName, L"Trelm Blue");
    data.SetSkinIndex(23);
    EXPECT_EQ(data.SkinName, L"Trelm Graphite");
}

TEST_F(NotifierSkinList, AListTheModuleLacksIsAnErrorAndLeavesTheListEmpty) {
    TbsCompressedSkinList list(nullptr);
    list.Skins()->Add();
    EXPECT_THROW(LoadSetupSkinList(list, Module()), EbsSkinFormatError);  // TrelmMail.exe carries no installer list
    EXPECT_EQ(list.Skins()->Count(), 0);
}

TEST(SetupSkinList, HoldsWindows8) {
    TbsCompressedSkinList list(nullptr);
    LoadSetupSkinList(list);
    ASSERT_EQ(list.Skins()->Count(), 1);
    TbsSkinListItem* item = list.Skins()->Items(0);
    EXPECT_EQ(item->Name, L"Windows 8");
    EXPECT_EQ(item->CompressedFileName, L"Win8.skn");
    TbsSkinData data(nullptr);
    data.SetSkinList(&list);
    ASSERT_FALSE(data.Empty);
    EXPECT_EQ(data.SkinName, L"Windows 8");
}

// Lists of this test program whose second row is broken: the whole list is refused and left empty, so a program
// never runs on half a list.
TEST(SkinListResources, ABrokenEntryRefusesTheWholeList) {
    TbsCompressedSkinList sound(nullptr);  // both rows hold the colour-coded skin
    LoadSkinListFromResources(nullptr, L"SOUND", sound);
    ASSERT_EQ(sound.Skins()->Count(), 2);
    EXPECT_EQ(sound.Skins()->Items(1)->Name, L"B");
    EXPECT_EQ(sound.Skins()->Items(1)->CompressedFileName, L"broken.skn");
    // A block whose zlib stream is cut short has a sound header: the list takes it (start-up inflates nothing), and
    // the container refuses it when it is chosen, and stays without a skin.
    TbsCompressedSkinList cut(nullptr);
    LoadSkinListFromResources(nullptr, L"TRUNCATED", cut);
    ASSERT_EQ(cut.Skins()->Count(), 2);
    TbsSkinData data(nullptr);
    data.SetSkinIndex(1);
    EXPECT_THROW(data.SetSkinList(&cut), EbsSkinFormatError);
    EXPECT_TRUE(data.Empty);

    for (const wchar_t* name : {L"EMPTYBLOCK", L"NEWERBLOCK", L"NOBLOCK"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        TbsCompressedSkinList list(nullptr);
        list.Skins()->Add();
        EXPECT_THROW(LoadSkinListFromResources(nullptr, name, list), EbsSkinFormatError);
        EXPECT_EQ(list.Skins()->Count(), 0);
    }
}

TEST(SkinListText, ReadsRowsAndRefusesDamagedOnes) {
    auto rows = ParseSkinListText(
        "# index\tfolder\tblock version\tname\tdescription\r\n"
        "0\t00_A\t3\tA\tfirst\r\n"
        "\n"
        "1\t01_B\t2\t\xD0\x91\tsecond, \xD0\xB2\xD1\x82\xD0\xBE\xD1\x80\xD0\xBE\xD0\xB9");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Folder, L"00_A");
    EXPECT_EQ(rows[0].BlockVersion, 3);
    EXPECT_EQ(rows[1].Name, L"\u0411");
    EXPECT_EQ(rows[1].BlockVersion, 2);
    EXPECT_EQ(rows[1].Description, L"second, \u0432\u0442\u043e\u0440\u043e\u0439");
    EXPECT_TRUE(ParseSkinListText("").empty());
    const char* bad[] = {
        "1\t01_B\t3\tB\tstarts at 1\n",
        "0\t00_A\t3\tA\ta\n0\t00_A\t3\tA\trepeated\n",
        "0\t00_A\t3\tA\n",               // a field missing
        "0\t00_A\t3\tA\td\textra\n",     // a field too many
        "-1\t00_A\t3\tA\td\n",           // not a number
        "0\t\t3\tA\td\n",                // no folder
        "99999999999\t00_A\t3\tA\td\n",  // too long a number
    };
    for (const char* text : bad)
        EXPECT_THROW(ParseSkinListText(text), EbsSkinFormatError) << text;
}

}  // namespace
