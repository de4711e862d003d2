// The autostart shortcut in the Startup folder (Wine's user folders live under the session's HOME): created with
// target, working folder and description, overwritten, deleted, and deleting a missing one is no error.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "app/Autostart.h"
#include "base/ComPtr.h"
#include "base/Files.h"

namespace {

struct LinkInfo {
    std::wstring path, workDir, description;
};

bool ReadLink(const std::wstring& file, LinkInfo* info) {
    TComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.Put()))))
        return false;
    TComPtr<IPersistFile> persist;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.Put()))) ||
        FAILED(persist->Load(file.c_str(), STGM_READ)))
        return false;
    wchar_t buf[MAX_PATH + 1] = {};
    link->GetPath(buf, MAX_PATH, nullptr, 0);
    info->path = buf;
    buf[0] = 0;
    link->GetWorkingDirectory(buf, MAX_PATH);
    info->workDir = buf;
    buf[0] = 0;
    link->GetDescription(buf, MAX_PATH);
    info->description = buf;
    return true;
}

bool Exists(const std::wstring& file) {
    return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Autostart, KosayaAddsOneBackslash) {
    EXPECT_EQ(Kosaya(L""), L"");
    EXPECT_EQ(Kosaya(L"C:\\A"), L"C:\\A\\");
    EXPECT_EQ(Kosaya(L"C:\\A\\"), L"C:\\A\\");
}

TEST(Autostart, CreateOverwriteAndDelete) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const std::wstring startup = GetSpecialFolderLocation(CSIDL_STARTUP);
    ASSERT_FALSE(startup.empty());
    const std::wstring link = AutostartLinkPath();
    EXPECT_EQ(link, Kosaya(startup) + L"Trelm Mail.lnk");
    DeleteFileW(link.c_str());

    std::wstring prog = ProgramFolder();
    prog.pop_back();
    const std::wstring exe = prog + L"\\app_services_tests.exe";
    ASSERT_TRUE(SetAutostart(true, prog, exe));
    LinkInfo info;
    ASSERT_TRUE(ReadLink(link, &info));
    EXPECT_EQ(CompareStringOrdinal(info.path.c_str(), -1, exe.c_str(), -1, TRUE), CSTR_EQUAL) << info.path.size();
    EXPECT_EQ(info.workDir, prog);
    EXPECT_EQ(info.description, L"Trelm Mail");

    // On again with another target overwrites the shortcut.
    const std::wstring other = prog + L"\\settings_tool.exe";
    ASSERT_TRUE(SetAutostart(true, prog, other));
    ASSERT_TRUE(ReadLink(link, &info));
    EXPECT_EQ(CompareStringOrdinal(info.path.c_str(), -1, other.c_str(), -1, TRUE), CSTR_EQUAL);

    ASSERT_TRUE(SetAutostart(false, prog, exe));
    EXPECT_FALSE(Exists(link));
    EXPECT_TRUE(SetAutostart(false, prog, exe));  // already gone: no error
    CoUninitialize();
}

TEST(Autostart, CreateLinkMakesMissingFolders) {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring root = std::wstring(temp) + L"trelm-link-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring file = root + L"\\a\\b\\x.lnk";
    ASSERT_TRUE(CreateLink(L"C:\\", L"C:\\windows\\notepad.exe", L"Note", file));
    EXPECT_TRUE(Exists(file));
    DeleteFileW(file.c_str());
    RemoveDirectoryW((root + L"\\a\\b").c_str());
    RemoveDirectoryW((root + L"\\a").c_str());
    RemoveDirectoryW(root.c_str());
}

}  // namespace
