// The shell layer's window-free rules and the item identifier list routines over hand-made lists.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "skin/shell/ShellIdList.h"
#include "skin/shell/ShellNames.h"

namespace {

TEST(ShellNames, DigitMarksGoOnlyBeforeADigit) {
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {{L"?1?2ab", L"12ab"}, {L"?", L"?"}, {L"?a", L"?a"}, {L"a?1", L"a?1"}, {L"?9", L"9"}, {L"", L""}};
    for (const auto& c : cases)
        EXPECT_EQ(RemoveDigitMarks(c.in), c.out) << c.in;
}

TEST(ShellNames, SizeColumnRoundsUpToKilobytes) {
    const struct {
        long long bytes;
        long long kb;
        const wchar_t* text;
    } cases[] = {{0, 0, L"0 KB"},
                 {1, 1, L"1 KB"},
                 {2048, 2, L"2 KB"},
                 {2049, 3, L"3 KB"},
                 {1024LL * 1234567, 1234567, L"1 234 567 KB"},
                 {5LL * 1024 * 1024 * 1024 * 1024, 5368709120LL, L"5 368 709 120 KB"}};
    for (const auto& c : cases) {
        EXPECT_EQ(SizeInKB(c.bytes), c.kb) << c.bytes;
        EXPECT_EQ(FormatKBSize(SizeInKB(c.bytes)), c.text) << c.bytes;
    }
}

TEST(ShellNames, RootNamesAndPaths) {
    EXPECT_EQ(RootFolderIndex(L"rfDesktop"), 0);
    EXPECT_EQ(RootFolderIndex(L"rfMyComputer"), 1);
    EXPECT_EQ(RootFolderIndex(L"rfTemplates"), 22);
    EXPECT_EQ(RootFolderCSIDL(1), 0x11);
    EXPECT_EQ(RootFolderCSIDL(22), 0x15);
    EXPECT_EQ(RootFolderIndex(L"rfmycomputer"), -1);
    EXPECT_EQ(RootFolderIndex(L"C:\\"), -1);
    EXPECT_EQ(RootParsingName(L"C:"), L"C:\\");
    EXPECT_EQ(RootParsingName(L"C:\\x"), L"C:\\x");
    EXPECT_EQ(RootParsingName(L""), L"");
}

// A list of items with the given payload bytes, from the shell allocator.
TbsPidl MakeList(const std::vector<std::vector<BYTE>>& items) {
    UINT size = 2;
    for (const auto& it : items)
        size += static_cast<UINT>(it.size()) + 2;
    TbsPidl list(CreatePIDL(size));
    auto* p = reinterpret_cast<BYTE*>(list.get());
    for (const auto& it : items) {
        USHORT cb = static_cast<USHORT>(it.size() + 2);
        std::memcpy(p, &cb, 2);
        std::memcpy(p + 2, it.data(), it.size());
        p += cb;
    }
    return list;
}

bool SameBytes(LPCITEMIDLIST a, LPCITEMIDLIST b) {
    return GetPIDLSize(a) == GetPIDLSize(b) && std::memcmp(a, b, GetPIDLSize(a)) == 0;
}

TEST(ShellIdList, SizesCountsAndCopies) {
    TbsPidl empty = MakeList({});
    TbsPidl three = MakeList({{1, 2, 3}, {4}, {5, 6}});
    EXPECT_EQ(GetPIDLSize(nullptr), 0u);
    EXPECT_EQ(GetPIDLSize(empty.get()), 2u);
    EXPECT_EQ(GetPIDLSize(three.get()), 2u + 5 + 3 + 4);
    EXPECT_EQ(ItemIDCount(three.get()), 3);
    EXPECT_EQ(ItemIDCount(empty.get()), 0);

    TbsPidl joined(ConcatPIDLs(nullptr, three.get()));
    EXPECT_TRUE(SameBytes(joined.get(), three.get()));
    TbsPidl twice(ConcatPIDLs(three.get(), three.get()));
    EXPECT_EQ(ItemIDCount(twice.get()), 6);

    TbsPidl last(LastItemIDCopy(three.get()));
    TbsPidl expectLast = MakeList({{5, 6}});
    EXPECT_TRUE(SameBytes(last.get(), expectLast.get()));
}

TEST(ShellIdList, RemoveLastItem) {
    TbsPidl one = MakeList({{7, 7}});
    RemoveLastItemID(one.get());
    EXPECT_EQ(ItemIDCount(one.get()), 0);
    RemoveLastItemID(one.get());  // the empty list stays as it is
    EXPECT_EQ(GetPIDLSize(one.get()), 2u);
    RemoveLastItemID(nullptr);
}

TEST(ShellIdList, PrefixesRunFromTheDesktopToTheParent) {
    TbsPidl three = MakeList({{1}, {2, 2}, {3, 3, 3}});
    TbsPidlList prefixes = CreatePIDLPrefixList(three.get());
    ASSERT_EQ(prefixes.size(), 3u);
    EXPECT_TRUE(SameBytes(prefixes[0].get(), MakeList({}).get()));
    EXPECT_TRUE(SameBytes(prefixes[1].get(), MakeList({{1}}).get()));
    EXPECT_TRUE(SameBytes(prefixes[2].get(), MakeList({{1}, {2, 2}}).get()));
}

}  // namespace
