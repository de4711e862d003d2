// The autostart shortcut.
#include "app/Autostart.h"

#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "base/ComPtr.h"
#include "base/Report.h"

namespace {

// COM for the calling thread for as long as a call needs it, unless the thread already has it.
class TComScope {
  public:
    TComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~TComScope() {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }

  private:
    HRESULT hr_;
};

void CreateFolders(const std::wstring& folder) {
    if (folder.empty() || GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    const size_t slash = folder.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 2)
        CreateFolders(folder.substr(0, slash));
    CreateDirectoryW(folder.c_str(), nullptr);
}

}  // namespace

std::wstring GetSpecialFolderLocation(int csidl) {
    TComScope com;
    PIDLIST_ABSOLUTE idl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &idl)) || !idl)
        return {};
    wchar_t path[MAX_PATH + 1] = {};
    const BOOL ok = SHGetPathFromIDListW(idl, path);
    CoTaskMemFree(idl);
    return ok ? std::wstring(path) : std::wstring();
}

std::wstring Kosaya(const std::wstring& folder) {
    if (folder.empty() || folder.back() == L'\\')
        return folder;
    return folder + L"\\";
}

bool CreateLink(const std::wstring& workDir,
                const std::wstring& target,
                const std::wstring& description,
                const std::wstring& linkFile) {
    TComScope com;
    TComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.Put()))))
        return false;
    if (FAILED(link->SetPath(target.c_str())) || FAILED(link->SetWorkingDirectory(workDir.c_str())) ||
        FAILED(link->SetDescription(description.c_str())))
        return false;
    const size_t slash = linkFile.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        CreateFolders(linkFile.substr(0, slash));
    TComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put()))))
        return false;
    return SUCCEEDED(file->Save(linkFile.c_str(), TRUE));
}

std::wstring AutostartLinkPath() {
    const std::wstring folder = Kosaya(GetSpecialFolderLocation(CSIDL_STARTUP));
    if (folder.empty())
        return {};
    return folder + kAutostartLinkName;
}

bool SetAutostart(bool autoZagr, const std::wstring& progDir, const std::wstring& exePath) {
    try {
        const std::wstring link = AutostartLinkPath();
        if (link.empty())
            return false;
        if (autoZagr)
            return CreateLink(progDir, exePath, kAutostartDescription, link);
        return DeleteFileW(link.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
    } catch (...) {
        ReportCaught("SetAutostart");
        return false;
    }
}
