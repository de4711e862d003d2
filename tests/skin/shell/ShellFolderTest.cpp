// The shell folder node and its queries on real files under Wine, and on a scripted folder where Wine's shell lacks
// the interface or the answer a case needs.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>

#include "ShellFakes.h"
#include "ShellTestUnit.h"
#include "TestFiles.h"
#include "skin/shell/ShellFolder.h"

namespace {

const auto* const kUnit = ::testing::AddGlobalTestEnvironment(new ShellUnitEnvironment);

void PutFile(const std::wstring& path, const char* text = "x") {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(h, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(h);
}

// A relative list of Name inside Folder.
TbsPidl ChildPidl(IShellFolder* folder, const std::wstring& name) {
    LPITEMIDLIST pidl = nullptr;
    std::wstring n = name;
    EXPECT_TRUE(SUCCEEDED(folder->ParseDisplayName(nullptr, nullptr, n.data(), nullptr, &pidl, nullptr))) << name;
    return TbsPidl(pidl);
}

std::unique_ptr<TbsShellFolder> FolderNode(const std::wstring& path) {
    std::wstring root = path;
    return ResolveRootFolder(L"", root);
}

TEST(ShellFolder, RootsResolveFromPathsAndNames) {
    ASSERT_NE(DesktopFolderItem(), nullptr);
    std::wstring root = L"C:";
    auto drive = ResolveRootFolder(L"rfDesktop", root);
    EXPECT_EQ(root, L"C:\\");
    EXPECT_EQ(drive->PathName(), L"C:\\");
    EXPECT_EQ(drive->Parent(), DesktopFolderItem());

    root = L"rfDesktop";
    auto desktop = ResolveRootFolder(L"C:\\", root);
    EXPECT_EQ(ItemIDCount(desktop->AbsoluteID()), 0);

    root = L"";
    try {
        ResolveRootFolder(L"C:\\", root);
        ADD_FAILURE() << "an empty root resolved";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Error setting path: \"\"");
    }
    EXPECT_EQ(root, L"C:\\");

    root = L"C:\\no such folder here";
    EXPECT_THROW(ResolveRootFolder(L"C:\\", root), Exception);
    EXPECT_EQ(root, L"C:\\");
}

TEST(ShellFolder, LevelsNamesAndARenameTwoLevelsDown) {
    trelm_test::TTempDir dir;
    CreateDirectoryW(dir.File(L"sub").c_str(), nullptr);
    PutFile(dir.File(L"sub\\file.txt"));
    auto top = FolderNode(dir.Path());
    TbsPidl subPidl = ChildPidl(top->ShellFolder(), L"sub");
    TComPtr<IShellFolder> subFolder = GetItemShellFolder(top->ShellFolder(), subPidl.get(), nullptr);
    ASSERT_TRUE(subFolder);
    TbsShellFolder sub(top.get(), subFolder.Get(), subPidl.get());
    TbsPidl filePidl = ChildPidl(subFolder.Get(), L"file.txt");
    TbsShellFolder file(&sub, nullptr, filePidl.get());

    EXPECT_EQ(top->Level(), 0);
    EXPECT_EQ(sub.Level(), 1);
    EXPECT_EQ(file.Level(), 2);
    EXPECT_TRUE(sub.IsFolder());
    EXPECT_FALSE(file.IsFolder());
    EXPECT_EQ(file.DisplayName(), L"file.txt");
    EXPECT_EQ(file.ParsingName(), L"file.txt");
    EXPECT_EQ(file.FullObjectName(), dir.File(L"sub\\file.txt"));

    ASSERT_TRUE(file.Capabilities().Contains(fcCanRename));
    EXPECT_TRUE(file.Rename(L"renamed.txt"));
    EXPECT_EQ(file.PathName(), dir.File(L"sub\\renamed.txt"));
    // The name asked before the rename is not kept.
    EXPECT_EQ(file.DisplayName(), L"renamed.txt");
    EXPECT_EQ(file.ParsingName(), L"renamed.txt");
    EXPECT_EQ(GetFileAttributesW(dir.File(L"sub\\renamed.txt").c_str()) != INVALID_FILE_ATTRIBUTES, true);
    EXPECT_EQ(ItemIDCount(file.AbsoluteID()), ItemIDCount(top->AbsoluteID()) + 2);
}

TEST(ShellFolder, ARefusedRenameRaisesAndAFolderWithoutTheRightSaysNo) {
    trelm_test::TTempDir dir;
    PutFile(dir.File(L"a.txt"));
    auto top = FolderNode(dir.Path());
    TbsPidl pidl = ChildPidl(top->ShellFolder(), L"a.txt");
    TFakeShellFolder fake;
    TbsShellFolder parent(nullptr, &fake, top->RelativeID());
    TbsShellFolder file(&parent, nullptr, pidl.get());

    fake.attributes = 0;
    EXPECT_FALSE(file.Rename(L"x"));
    fake.attributes = SFGAO_CANRENAME;
    try {
        file.Rename(L"x");
        ADD_FAILURE() << "a refused rename passed";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Rename to x failed");
    }
    EXPECT_EQ(file.FullObjectName(), dir.File(L"a.txt"));
}

TEST(ShellFolder, AFailedAttributeQueryGivesNothing) {
    TFakeShellFolder fake;
    TbsPidl any(CopyPIDL(DesktopFolderItem()->AbsoluteID()));
    fake.attributes = 0xFFFFFFFF;  // the word as the request left it
    fake.attributesResult = E_FAIL;
    EXPECT_TRUE(GetCaps(&fake, any.get()).Empty());
    EXPECT_TRUE(GetProperties(&fake, any.get()).Empty());
    EXPECT_FALSE(GetIsFolder(&fake, any.get()));

    fake.attributesResult = S_OK;
    fake.attributes = SFGAO_CANRENAME | SFGAO_CANCOPY | SFGAO_FILESYSTEM | SFGAO_LINK;
    EXPECT_EQ(GetCaps(&fake, any.get()), (TbsShellFolderCapabilities{fcCanRename, fcCanCopy}));
    EXPECT_EQ(GetProperties(&fake, any.get()), (TbsShellFolderProperties{fpFileSystem, fpIsLink}));
    EXPECT_TRUE(GetProperties(nullptr, any.get()).Empty());
}

TEST(ShellFolder, AnArchiveTheShellCallsAFolderIsAFile) {
    trelm_test::TTempDir dir;
    const wchar_t* names[] = {L"pack.Zip", L"pack.zip", L"plain.txt"};
    auto top = FolderNode(dir.Path());
    TFakeShellFolder fake;
    fake.attributes = SFGAO_FOLDER;
    TbsShellFolder parent(nullptr, &fake, top->RelativeID());
    for (const wchar_t* name : names) {
        PutFile(dir.File(name));
        fake.name = WideToAnsi(name);
        TbsPidl pidl = ChildPidl(top->ShellFolder(), name);
        TbsShellFolder node(&parent, nullptr, pidl.get());
        EXPECT_EQ(node.IsFolder(), std::wstring(name) == L"plain.txt") << name;
    }
}

TEST(ShellFolder, ColumnTextsComeFromTheDetailInterfaces) {
    TbsPidl item(CopyPIDL(DesktopFolderItem()->AbsoluteID()));
    TbsShellFolder node(nullptr, nullptr, item.get());
    try {
        node.GetDetails(1);
        ADD_FAILURE() << "details before loading";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find(L": Missing call to LoadColumnDetails"), std::wstring::npos);
    }

    // The extended detail interface: a text, a size in bytes shown in kilobytes, and a column with nothing.
    TFakeShellFolder folder2;
    folder2.offerFolder2 = true;
    folder2.detailTexts[1] = L"alpha";
    folder2.columnPids[2] = 12;
    folder2.detailNumbers[2] = 2048;
    TbsShellFolder root2(nullptr, &folder2, item.get());
    ASSERT_EQ(root2.ShellFolder2(), static_cast<IShellFolder2*>(&folder2));
    node.LoadColumnDetails(&root2, nullptr, 3);
    EXPECT_EQ(node.GetDetails(1), L"alpha");
    EXPECT_EQ(node.GetDetails(2), L"2 KB");
    EXPECT_EQ(node.GetDetails(3), L"");
    EXPECT_TRUE(node.DetailsEx());

    // The older interface, for a node that had no texts yet.
    TFakeShellFolder details;
    details.offerDetails = true;
    details.detailTexts[2] = L"beta";
    TbsShellFolder rootD(nullptr, &details, item.get());
    TbsShellFolder other(nullptr, nullptr, item.get());
    other.LoadColumnDetails(&rootD, nullptr, 2);
    EXPECT_EQ(other.GetDetails(1), L"");
    EXPECT_EQ(other.GetDetails(2), L"beta");

    // Loaded once: a second load with fewer columns changes nothing; SetDetails replaces, also the last one.
    other.LoadColumnDetails(&root2, nullptr, 2);
    EXPECT_EQ(other.GetDetails(2), L"beta");
    other.SetDetails(2, L"gamma");
    EXPECT_EQ(other.GetDetails(2), L"gamma");
    EXPECT_EQ(other.GetDetails(1), L"");
}

TEST(ShellFolder, FileSystemFallbackColumns) {
    trelm_test::TTempDir dir;
    PutFile(dir.File(L"b.txt"), "12345");
    CreateDirectoryW(dir.File(L"sub").c_str(), nullptr);
    WIN32_FIND_DATAW file{}, folder{};
    HANDLE h = FindFirstFileW(dir.File(L"b.txt").c_str(), &file);
    FindClose(h);
    h = FindFirstFileW(dir.File(L"sub").c_str(), &folder);
    FindClose(h);
    EXPECT_EQ(FindDataDetail(file, 1), L"5");
    EXPECT_EQ(FindDataDetail(file, 2), L".txt");
    EXPECT_FALSE(FindDataDetail(file, 3).empty());
    EXPECT_EQ(FindDataDetail(file, 4), std::to_wstring(file.dwFileAttributes));
    EXPECT_EQ(FindDataDetail(folder, 1), L"");
    EXPECT_EQ(FindDataDetail(folder, 3), L"");
    EXPECT_EQ(FindDataDetail(file, 5), L"");

    auto top = FolderNode(dir.Path());
    TbsPidl pidl = ChildPidl(top->ShellFolder(), L"b.txt");
    TbsShellFolder node(top.get(), nullptr, pidl.get());
    WIN32_FIND_DATAW read = ReadFindData(node);
    EXPECT_EQ(read.nFileSizeLow, 5u);
    DeleteFileW(dir.File(L"b.txt").c_str());
    EXPECT_THROW(ReadFindData(node), EInvalidPath);
}

TEST(ShellFolder, EnumerationAndIcons) {
    trelm_test::TTempDir dir;
    auto top = FolderNode(dir.Path());
    EXPECT_FALSE(HasEnumItems(top->ShellFolder(), ShellEnumFlags({otFolders, otNonFolders})));
    PutFile(dir.File(L"a.lng"));
    EXPECT_FALSE(HasEnumItems(top->ShellFolder(), ShellEnumFlags({otFolders})));
    EXPECT_TRUE(HasEnumItems(top->ShellFolder(), ShellEnumFlags({otNonFolders})));
    EXPECT_FALSE(HasEnumItems(nullptr, ShellEnumFlags({otNonFolders})));
    EXPECT_EQ(ShellEnumFlags({otFolders, otNonFolders, otHidden}),
              static_cast<DWORD>(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN));
    EXPECT_GE(top->ImageIndex(false), 0);
    EXPECT_GE(top->ImageIndex(true), 0);
}

}  // namespace
