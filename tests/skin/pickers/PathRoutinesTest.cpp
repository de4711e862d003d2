// The pickers' path routines: the text rules as tables, the drive names through a table seam, and ProcessPath on
// a folder tree of its own with the real file system (it must always end in the folder it started in).
#include <gtest/gtest.h>

#include <string>

#include "PickerTestSupport.h"
#include "classlib/SysUtils.h"
#include "skin/pickers/DriveInfo.h"
#include "skin/pickers/PathRoutines.h"

namespace {

using namespace pktest;

TEST(PathRoutines, SlashSepDirLevelAndDrive) {
    EXPECT_EQ(SlashSep(L"C:\\", L"a"), L"C:\\a");
    EXPECT_EQ(SlashSep(L"C:\\x", L"a"), L"C:\\x\\a");
    EXPECT_EQ(SlashSep(L"", L"a"), L"\\a");
    EXPECT_EQ(DirLevel(L"C:\\"), 1);
    EXPECT_EQ(DirLevel(L"C:\\windows\\system32"), 2);
    EXPECT_EQ(DirLevel(L"abc"), 0);
    const struct {
        const wchar_t* path;
        const wchar_t* drive;
    } drives[] = {
        {L"C:\\windows", L"C:"}, {L"d:", L"d:"},         {L"\\\\srv\\share\\dir", L"\\\\srv\\share"},
        {L"\\\\srv\\share", L"\\\\srv\\share"},           {L"\\\\srv", L""}, {L"\\dir", L""},
        {L"1:\\x", L""},         {L"", L""},
    };
    for (const auto& c : drives)
        EXPECT_EQ(FileDrive(c.path), c.drive) << c.path;
}

TEST(PathRoutines, CutFirstDirectory) {
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"\\", L""},
        {L"\\a\\b\\", L"\\...\\b\\"},
        {L"\\...\\b\\", L"\\...\\"},
        {L"...\\", L""},
        {L"a\\b\\c\\", L"...\\b\\c\\"},
        {L"...\\b\\c\\", L"...\\c\\"},
        {L"abc", L""},
        {L".a", L""},
        {L"", L""},
    };
    for (const auto& c : cases) {
        std::wstring s = c.in;
        CutFirstDirectory(s);
        EXPECT_EQ(s, c.out) << c.in;
    }
}

// Six pixels a character (a surrogate pair counts as one).
int Width6(const std::wstring& s) {
    int n = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        ++n;
        if (s[i] >= 0xD800 && s[i] <= 0xDBFF)
            ++i;
    }
    return n * 6;
}

bool HasLoneSurrogate(const std::wstring& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= s.size() || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF)
                return true;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

TEST(PathRoutines, MinimizeNameCutsFoldersThenTheDrive) {
    const std::wstring smile = L"\xD83D\xDE00";  // U+1F600, one character in two units
    const struct {
        std::wstring name;
        int max;
        std::wstring out;
    } cases[] = {
        {L"C:\\docs\\mail\\a.txt", 200, L"C:\\docs\\mail\\a.txt"},          // fits
        {L"C:\\docs\\mail\\a.txt", 17 * 6, L"C:\\...\\mail\\a.txt"},         // one folder cut
        {L"C:\\docs\\mail\\a.txt", 16 * 6, L"C:\\...\\a.txt"},                 // both folders
        {L"C:\\docs\\mail\\a.txt", 10 * 6, L"...\\a.txt"},                   // folders and the drive gone
        {L"C:\\docs\\mail\\a.txt", 1, L"a.txt"},                             // every cut
        {L"C:\\ab" + smile + L"cd\\c\\name.txt", 18 * 6, L"C:\\...\\c\\name.txt"},
        {L"\\\\srv\\share\\x.txt", 1, L"x.txt"},
        {L"name.txt", 1, L"name.txt"},                                       // nothing to cut
    };
    for (const auto& c : cases) {
        const std::wstring got = MinimizeName(c.name, Width6, c.max);
        EXPECT_EQ(got, c.out) << "max " << c.max;
        EXPECT_FALSE(HasLoneSurrogate(got));
    }
    // Every step of the shortening keeps the pair whole, and the loop ends for any folder text.
    const std::wstring deep = L"C:\\" + smile + L"\\" + smile + smile + L"\\..\\.\\\\x\\" + smile + L".txt";
    for (int max = 0; max <= Width6(deep) + 6; ++max)
        EXPECT_FALSE(HasLoneSurrogate(MinimizeName(deep, Width6, max))) << max;
    EXPECT_EQ(MinimizeName(L"\\\\\\\\.\\..\\...\\f", [](const std::wstring&) { return 1000; }, 0), L"f");
}

TEST(PathRoutines, VolumeAndNetworkNamesFollowTheLettersCase) {
    TableDriveInfo table;
    table.Drives[L'c'] = {bsdtFixed, true, L"Data"};
    table.Drives[L'd'] = {bsdtCDROM, false};
    table.Drives[L'n'] = {bsdtRemote, true, L"Share", kVolumeCasePreserved, L"\\\\Server\\Mail"};
    table.Drives[L'm'] = {bsdtRemote, true, L"Local"};
    TbsDriveInfoOverride use(&table);
    EXPECT_EQ(VolumeID(L'c'), L"[data]");
    EXPECT_EQ(VolumeID(L'C'), L"[DATA]");
    EXPECT_EQ(VolumeID(L'd'), L"[]") << "an unreadable volume";
    EXPECT_EQ(VolumeID(L'q'), L"[]") << "no such drive";
    EXPECT_EQ(NetworkVolume(L'n'), L"\\\\server\\mail");
    EXPECT_EQ(table.LastNetworkLetter, L'N') << "the remote name is asked with the letter upper case";
    EXPECT_EQ(NetworkVolume(L'N'), L"\\\\SERVER\\MAIL");
    EXPECT_EQ(NetworkVolume(L'm'), L"[local]") << "a drive that is not mapped gives its volume";
}

TEST(PathRoutines, ProcessPathSplitsTypedPaths) {
    TempTree tree(L"pp", {L"sub", L"sub\\deeper"}, {L"a.txt", L"sub\\b.lng"});
    CurrentDirGuard guard;
    ASSERT_TRUE(SetCurrentDirectoryW(tree.Root().c_str()));
    const std::wstring start = CurrentDir();
    const wchar_t drive = start[0];
    const std::wstring rootless = start.substr(2);
    const struct {
        std::wstring text;
        wchar_t drive;
        std::wstring dir, file;
    } cases[] = {
        {L"[sub]", drive, rootless + L"\\sub", L""},                             // as the file list shows folders
        {L"[..]", drive, rootless + L"\\..", L""},
        {L"C:\\", L'C', L"\\", L""},                                             // a root
        {L"c:", L'c', rootless, L""},                                            // a drive alone: its folder
        {tree / L"*.txt", drive, rootless, L"*.txt"},                            // a mask
        {tree / L"sub\\*.l?g", drive, rootless + L"\\sub", L"*.l?g"},
        {tree / L"a.txt", drive, rootless, L"a.txt"},                            // a file
        {tree / L"sub", drive, rootless + L"\\sub", L""},                        // a folder named last
        {L"sub\\deeper", drive, L"sub\\deeper", L""},                            // relative stays relative
    };
    for (const auto& c : cases) {
        wchar_t d = 0;
        std::wstring dir, file;
        ProcessPath(c.text, d, dir, file);
        EXPECT_EQ(d, c.drive) << std::string(c.text.begin(), c.text.end());
        EXPECT_TRUE(AnsiSameText(dir, c.dir)) << std::string(dir.begin(), dir.end());
        EXPECT_EQ(file, c.file) << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(CurrentDir(), start) << "back in the folder it started in";
    }
    // A missing name without a wildcard is taken as a folder: that raises, and the folder is still the old one.
    for (const std::wstring missing : {tree / L"missing", std::wstring(L"b.lng"), tree / L"none\\x.txt"}) {
        wchar_t d = 0;
        std::wstring dir, file;
        EXPECT_THROW(ProcessPath(missing, d, dir, file), EInOutError) << std::string(missing.begin(), missing.end());
        EXPECT_EQ(CurrentDir(), start);
    }
}

}  // namespace
