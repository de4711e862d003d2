#include "setup/SetupSystem.h"

#include <shlobj.h>

#include "base/Handles.h"
#include "setup/WizardLogic.h"

int GetWinVer() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;  // 276 bytes
    if (!GetVersionExW(&info))
        return 9999;
    return WinVerCode(info.dwMajorVersion, info.dwMinorVersion);
}

std::wstring WinInfo(HKEY RootKey, const std::wstring& KeyPath, const std::wstring& ValueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(RootKey, KeyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::wstring();
    TRegKeyHandle owned(key);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, ValueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::wstring();
    // A value of another type reads as missing: the wizard goes on with its next rule.
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::wstring();
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, ValueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes) !=
        ERROR_SUCCESS)
        return std::wstring();
    value.resize(bytes / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0')
        value.pop_back();
    return value;
}

std::int64_t FreeBytesOf(wchar_t Letter) {
    const wchar_t root[] = {Letter, L':', L'\\', 0};
    // No "insert a disk" box for an empty drive.
    const UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
    ULARGE_INTEGER free{};
    const BOOL ok = GetDiskFreeSpaceExW(root, &free, nullptr, nullptr);
    SetErrorMode(old);
    return ok ? static_cast<std::int64_t>(free.QuadPart) : -1;
}

bool FolderExists(const std::wstring& Path) {
    const UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
    const DWORD a = GetFileAttributesW(Path.c_str());
    SetErrorMode(old);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::wstring> ProgramsFolderEntries() {
    std::wstring folder = WinInfo(HKEY_CURRENT_USER, kShellFoldersKey, L"Programs");
    if (folder.empty()) {
        // Where the shortcuts go, not the root of the current drive.
        wchar_t path[MAX_PATH] = {};
        if (SHGetSpecialFolderPathW(nullptr, path, CSIDL_PROGRAMS, FALSE))
            folder = path;
    }
    std::vector<std::wstring> names;
    if (folder.empty())
        return names;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    struct TFindClose {
        HANDLE h;
        ~TFindClose() { FindClose(h); }
    } closer{find};
    do {
        const std::wstring name = data.cFileName;
        constexpr DWORD kSkipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((data.dwFileAttributes & kSkipped) != 0 || name == L"." || name == L"..")
            continue;
        names.push_back(name);
    } while (FindNextFileW(find, &data));
    return names;
}
