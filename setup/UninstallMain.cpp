// The uninstaller program ("Uninstall_Trelm Mail.exe" in the program folder): asks once, removes what Setup wrote
// and the uninstall entry, then hands its own file to a copy of itself in the temporary folder, which waits for it
// to end, deletes it and the program folder when that is empty.
#include <windows.h>
// After windows.h, which they need.
#include <shellapi.h>
#include <shlobj.h>

#include <cwchar>
#include <string>

#include "app/Autostart.h"
#include "base/Files.h"
#include "setup/Payload.h"
#include "setup/SetupSystem.h"
#include "setup/Uninstall.h"

namespace {

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void RemoveShortcuts(const std::wstring& folderName) {
    if (!IsSingleFolderName(folderName))
        return;
    const std::wstring programs = GetSpecialFolderLocation(CSIDL_PROGRAMS);
    if (!programs.empty()) {
        const std::wstring folder = Kosaya(programs) + folderName;
        for (const std::wstring& link : StartMenuLinkNames(folderName))
            DeleteFileW((folder + L"\\" + link).c_str());
        RemoveDirectoryW(folder.c_str());  // only when nothing else lies there
    }
    const std::wstring desktop = GetSpecialFolderLocation(CSIDL_DESKTOPDIRECTORY);
    if (!desktop.empty())
        DeleteFileW((Kosaya(desktop) + folderName + L".lnk").c_str());
}

// The running uninstaller's own file cannot go while it runs: a copy in the temporary folder waits for it.
void HandOverOwnFile(const std::wstring& self) {
    wchar_t temp[MAX_PATH + 1] = {};
    if (!GetTempPathW(MAX_PATH, temp))
        return;
    const std::wstring copy = Kosaya(temp) + L"TrelmUninstall_" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    if (!CopyFileW(self.c_str(), copy.c_str(), FALSE))
        return;
    std::wstring cmd = L"\"" + copy + L"\" " + kFinishFlag + L" " + std::to_wstring(GetCurrentProcessId()) + L" \"" +
                       self + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(copy.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, temp, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

int Uninstall() {
    if (MessageBoxW(nullptr, kUninstallQuestion, kUninstallCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;
    const std::wstring self = ProgramPath();
    const std::wstring dir = FolderOf(self);
    for (const wchar_t* name : kPayloadFileNames)
        if (dir + name != self)
            DeleteFileW((dir + name).c_str());
    DeleteFileW((dir + L"\\yazik.txt").c_str());
    RemoveShortcuts(WinInfo(HKEY_CURRENT_USER, kUninstallKey, L"Nazva_Papki"));
    RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKey);
    HandOverOwnFile(self);
    return 0;
}

// In the temporary copy: the uninstaller's file (only a file of that name), then its folder when empty.
int FinishRemoval(DWORD pid, const std::wstring& original) {
    const std::wstring name = kPayloadFileNames[1];
    if (original.size() <= name.size() || original.compare(original.size() - name.size(), name.size(), name) != 0)
        return 2;
    if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid)) {
        WaitForSingleObject(process, 30000);
        CloseHandle(process);
    }
    for (int i = 0; i < 100; ++i) {
        if (DeleteFileW(original.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
            break;
        Sleep(100);
    }
    RemoveDirectoryW(FolderOf(original).c_str());
    MoveFileExW(ProgramPath().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int rc = 0;
    if (argv && argc == 4 && std::wstring(argv[1]) == kFinishFlag)
        rc = FinishRemoval(static_cast<DWORD>(wcstoul(argv[2], nullptr, 10)), argv[3]);
    else
        rc = Uninstall();
    LocalFree(argv);
    if (SUCCEEDED(com))
        CoUninitialize();
    return rc;
}
