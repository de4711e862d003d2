// The shell list view's window-free rules as tables: the mask filter and the two sort orders.
#include <gtest/gtest.h>

#include "skin/shell/ShellListRules.h"

namespace {

TEST(ShellListRules, MaskTable) {
    struct Case {
        const wchar_t* mask;
        const wchar_t* name;
        bool passes;
    } cases[] = {
        {L"Language|*.lng", L"a.lng", true},
        {L"Language|*.lng", L"A.LNG", true},
        {L"Language|*.lng", L"b.txt", false},
        {L"Language|*.lng", L"Language", false},  // a description without a dot is no pattern
        {L"*", L"b.txt", true},
        {L"*", L"noext", true},
        {L"", L"a.lng", false},
        {L"*.*|*.*", L"b.txt", true},
        {L"*.*|*.*", L"noext", true},
        {L"Sounds (*.wav;*.mp3)|*.wav;*.mp3", L"ring.mp3", true},
        {L"Sounds|*.wav;*.mp3", L"ring.ogg", false},
        {L"a?.txt", L"ab.txt", true},
        {L"a?.txt", L"a.txt", false},
        {L"*.tar.gz", L"x.tar.gz", true},
        {L"*.tar.gz", L"x.gz", false},
        {L"Текст|*.тхт", L"файл.ТХТ", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesMaskList(c.mask, c.name), c.passes) << testing::PrintToString(std::wstring(c.mask)) << " "
                                                             << testing::PrintToString(std::wstring(c.name));
}

TEST(ShellListRules, BaseOrderPutsFoldersFirstAndReadsTheLowWordOfTheFolderAnswer) {
    EXPECT_LT(BaseSortOrder(true, false, 0), 0);
    EXPECT_GT(BaseSortOrder(false, true, 0), 0);
    EXPECT_LT(BaseSortOrder(false, false, 0x0000FFFF), 0);  // -1 in the low word
    EXPECT_GT(BaseSortOrder(true, true, 0x00000001), 0);
    EXPECT_EQ(BaseSortOrder(true, true, 0x00010000), 0);   // the high word is no answer
}

TEST(ShellListRules, ColumnSortTable) {
    TbsSortItem folder{true, L"sub", L"", 0, 500};
    TbsSortItem a{false, L"a.lng", L"LNG", 2048, 300};
    TbsSortItem b{false, L"B.txt", L"TXT", 10, 100};
    struct Case {
        const TbsSortItem* x;
        const TbsSortItem* y;
        int base;
        int column;
        bool descending, ex, timeSep;
        int sign;
    } cases[] = {
        {&a, &b, 5, 0, false, false, true, -1},      // names without case
        {&a, &b, 5, 0, true, false, true, 1},        // reversed
        {&folder, &a, 5, 0, false, false, true, -1}, // folders first
        {&folder, &a, 5, 0, true, false, true, 1},   // descending lists files first
        {&a, &b, 5, 1, false, false, true, 1},       // plain texts: column 1 is the size
        {&a, &b, 5, 3, false, false, true, 1},       // column 3 the time
        {&folder, &a, 5, 3, false, false, true, 1},  // folders compared by time too
        {&a, &b, 5, 1, false, true, true, 1},        // extended: column 1 is the time
        {&a, &b, 5, 3, false, true, true, 1},        // column 3 the size
        {&a, &b, 5, 2, false, false, true, -1},      // column 2 text
        {&a, &b, 7, 2, false, false, false, 1},      // no time separator: the base order
        {&a, &b, 7, 2, true, false, false, -1},      // ... reversed when descending
        {&a, &b, -3, 6, false, false, true, -1},     // another column: the base order
    };
    for (const Case& c : cases) {
        TbsColumnSort s;
        s.Column = c.column;
        s.Descending = c.descending;
        s.DetailsEx = c.ex;
        s.TimeSeparatorFound = c.timeSep;
        const int r = ColumnSortCompare(*c.x, *c.y, c.base, s);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << "column " << c.column << " desc " << c.descending << " ex " << c.ex;
    }
}

}  // namespace
