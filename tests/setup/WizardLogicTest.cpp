// The wizard's rules without windows, as tables: the version code, PosR2L and Kosaya, the target-folder proposal
// over injected registry values, free space and folders, the free-space line and the step texts.
#include <gtest/gtest.h>

#include <set>

#include "setup/WizardLogic.h"

namespace {

TEST(WizardLogic, WinVerCodes) {
    struct Case {
        unsigned major, minor;
        int code;
    };
    for (const Case& c : {Case{4, 0, 1995}, Case{4, 10, 1998}, Case{4, 90, 1999}, Case{5, 0, 2000}, Case{5, 1, 2001},
                          Case{5, 2, 9999}, Case{6, 0, 2005}, Case{6, 1, 2012}, Case{6, 2, 2013}, Case{6, 3, 2014},
                          Case{10, 0, 2015}, Case{10, 1, 2016}, Case{11, 0, 9999}, Case{3, 51, 9999}})
        EXPECT_EQ(WinVerCode(c.major, c.minor), c.code) << c.major << "." << c.minor;
}

TEST(WizardLogic, PosR2LFindsTheLastOccurrenceOrNothing) {
    struct Case {
        const wchar_t *sub, *s;
        int pos;
    };
    for (const Case& c : {Case{L"Trelm Mail", L"C:\\Program Files\\Trelm Mail", 18},
                          Case{L"a", L"banana", 6}, Case{L"an", L"banana", 4},
                          Case{L"Trelm Mail", L"C:\\Program Files", 0},  // not found: the formula would give 8
                          Case{L"Trelm Mail", L"D:\\Trelm Mail\\Old", 4},  // found, not trailing
                          Case{L"trelm mail", L"C:\\Trelm Mail", 0},      // case-sensitive
                          Case{L"", L"abc", 0}, Case{L"abcd", L"abc", 0}})
        EXPECT_EQ(PosR2L(c.sub, c.s), c.pos) << c.sub << " in " << c.s;
    EXPECT_EQ(InvertS(L"Мир"), L"риМ");
}

TEST(WizardLogic, KosayaAppendsOneBackslash) {
    EXPECT_EQ(Kosaya(L""), L"");
    EXPECT_EQ(Kosaya(L"C:"), L"C:\\");
    EXPECT_EQ(Kosaya(L"C:\\"), L"C:\\");
    EXPECT_EQ(Kosaya(L"C:\\Program Files"), L"C:\\Program Files\\");
    EXPECT_EQ(FolderPartOf(L"C:\\A\\b.exe"), L"C:\\A");
    EXPECT_EQ(FolderPartOf(L"b.exe"), L"");
}

TEST(WizardLogic, TargetFolderProposal) {
    struct Case {
        const char* what;
        const wchar_t* uninstall;
        std::int64_t freeD;
        int winVer;
        const wchar_t* programFiles;
        std::set<std::wstring> folders;
        const wchar_t* want;
    };
    const std::int64_t mb = 1048576;
    const std::set<std::wstring> cOnly{L"C:\\", L"C:\\Program Files"};
    const Case cases[] = {
        {"no earlier installation, no D:", L"", -1, 2012, L"C:\\Program Files", cOnly, L"C:\\Program Files"},
        {"an earlier installation in Program Files",
         L"C:\\Program Files\\Trelm Mail\\Uninstall_Trelm Mail.exe", -1, 2012, L"C:\\Program Files",
         {L"C:\\", L"C:\\Program Files", L"C:\\Program Files\\Trelm Mail"}, L"C:\\Program Files\\"},
        {"an earlier folder that has gone steps up", L"C:\\Tools\\Trelm Mail\\Uninstall_Trelm Mail.exe", -1, 2012,
         L"C:\\Program Files", {L"C:\\", L"C:\\Tools"}, L"C:\\Tools"},
        {"an earlier folder gone with its parent", L"E:\\Gone\\Trelm Mail\\Uninstall_Trelm Mail.exe", -1, 2012,
         L"C:\\Program Files", cOnly, L"C:\\Program Files"},
        {"D: with 11 MB after XP", L"", 11 * mb, 2012, L"C:\\Program Files", cOnly, L"D:\\"},
        {"D: with 10 MB is too small", L"", 10 * mb + 5, 2012, L"C:\\Program Files", cOnly, L"C:\\Program Files"},
        {"XP keeps Program Files", L"", 11 * mb, 2001, L"C:\\Program Files", cOnly, L"C:\\Program Files"},
        {"5.2 counts as later", L"", 11 * mb, 9999, L"C:\\Program Files", cOnly, L"D:\\"},
        {"XP without Program Files takes D:", L"", 11 * mb, 2001, L"", cOnly, L"D:\\"},
        {"nothing at all", L"", -1, 2012, L"", cOnly, L"C:\\"},
        {"the name inside the path stays", L"D:\\Trelm Mail\\Old\\Uninstall_Trelm Mail.exe", -1, 2012,
         L"C:\\Program Files", {L"C:\\", L"D:\\", L"D:\\Trelm Mail", L"D:\\Trelm Mail\\Old"},
         L"D:\\Trelm Mail\\Old"},
    };
    for (const Case& c : cases) {
        TProposalInputs in;
        in.UninstallString = c.uninstall;
        in.FreeDBytes = c.freeD;
        in.WinVer = c.winVer;
        in.ProgramFilesDir = c.programFiles;
        const std::set<std::wstring> folders = c.folders;
        in.FolderExists = [folders](const std::wstring& p) {
            std::wstring key = p;
            if (key.size() > 3 && key.back() == L'\\')
                key.pop_back();
            return folders.count(key) > 0;
        };
        EXPECT_EQ(ProposeTargetFolder(in), c.want) << c.what;
    }
}

TEST(WizardLogic, FreeSpaceLine) {
    EXPECT_EQ(FormatMegabytes(0, L','), L" Mb") << "zero gives no digits";
    EXPECT_EQ(FormatMegabytes(7, L','), L"7 Mb");
    EXPECT_EQ(FormatMegabytes(999, L','), L"999 Mb");
    EXPECT_EQ(FormatMegabytes(1000, L','), L"1,000 Mb");
    EXPECT_EQ(FormatMegabytes(1234567, L'\u00A0'), L"1\u00A0234\u00A0567 Mb");
    EXPECT_EQ(FreeSpaceLine(L'C', L"1,000 Mb"), L"Программе необходимо 7 Mb. На диске  C:  1,000 Mb свободно.");
}

TEST(WizardLogic, StepTitlesAndNextCaptions) {
    const wchar_t* titles[] = {L"Описание Trelm Mail", L"Лицензионное соглашение на  Trelm Mail",
                               L"Выбор каталога для  Trelm Mail", L"Программа Trelm Mail в Пуск -> программы",
                               L"Установка  Trelm Mail", L"Установка  Trelm Mail  завершена."};
    for (int step = 0; step < 6; ++step)
        EXPECT_EQ(StepTitle(step), titles[step]) << step;
    for (int step = 0; step < 4; ++step)
        EXPECT_EQ(NextCaption(step), L"Далее >");
    EXPECT_EQ(NextCaption(4), L"Установить");
    EXPECT_EQ(NextCaption(5), L"Готово");
}

}  // namespace
