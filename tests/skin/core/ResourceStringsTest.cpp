// The resource string table: its defaults, the first-match lookup without regard to case, and replacing the table.
#include <gtest/gtest.h>

#include <set>

#include "skin/core/ResourceStrings.h"

namespace {

TEST(ResourceStrings, AFreshTableHoldsTheDefaultsInOrder) {
    TbsResourceStrData data(nullptr);
    EXPECT_EQ(data.ResStrings()->Count(), 134);
    EXPECT_EQ(data.CharSet, 1);
    EXPECT_EQ(data.ResStrings()->Get(0), L"MI_MINCAPTION=Mi&nimize");
    EXPECT_EQ(data.ResStrings()->Get(133), L"DBNAV_REFRESH=REFRESH");
    std::set<std::wstring> names;
    for (int i = 0; i < data.ResStrings()->Count(); ++i) {
        EXPECT_NE(data.ResStrings()->ValueFromIndex(i), L"") << i;
        EXPECT_TRUE(names.insert(data.ResStrings()->Names(i)).second) << i;
    }
}

TEST(ResourceStrings, LookupsIgnoreCaseAndKeepTheWholeValue) {
    TbsResourceStrData data(nullptr);
    EXPECT_EQ(data.GetResStr(L"edit_copy"), L"Copy");
    EXPECT_EQ(data.GetResStr(L"FLV_LOOKIN"), L"Folder: ");
    EXPECT_EQ(data.GetResStr(L"MSG_BTN_OK"), L"OK");
    EXPECT_EQ(data.GetResStr(L"MI_MINTOTRAYCAPTION"), L"Minimize to &Tray");
    EXPECT_EQ(data.GetResStr(L"NO_SUCH_NAME"), L"");
}

TEST(ResourceStrings, AnAssignedTableReplacesTheDefaultsCompletely) {
    TbsResourceStrData data(nullptr);
    TStringList table;
    table.Add(L"A=b=c");
    table.Add(L"EMPTY=");
    table.Add(L"twice=first");
    table.Add(L"TWICE=second");
    table.Add(L"no separator");
    data.SetResStrs(&table);
    EXPECT_EQ(data.GetResStr(L"a"), L"b=c");
    EXPECT_EQ(data.GetResStr(L"EMPTY"), L"");
    EXPECT_EQ(data.GetResStr(L"Twice"), L"first");
    EXPECT_EQ(data.GetResStr(L"no separator"), L"");
    EXPECT_EQ(data.GetResStr(L"EDIT_COPY"), L"");
    EXPECT_EQ(data.ResStrings()->Count(), 5);
}

}  // namespace
