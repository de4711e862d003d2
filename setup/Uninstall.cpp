#include "setup/Uninstall.h"

bool IsSingleFolderName(const std::wstring& Name) {
    if (Name.empty() || Name == L"." || Name == L".." || Name.back() == L'.' || Name.back() == L' ')
        return false;
    for (const wchar_t c : Name)
        if (c < 32 || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos)
            return false;
    return true;
}

std::vector<std::wstring> StartMenuLinkNames(const std::wstring& FolderName) {
    return {FolderName + L".lnk", L"Uninstall Trelm Mail.lnk", L"Help Trelm Mail.lnk"};
}
