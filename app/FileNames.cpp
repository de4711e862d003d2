// File names of the settings.
#include "app/FileNames.h"

namespace {

constexpr wchar_t kSeparators[] = L"\\/:";

}  // namespace

bool HasFolderPart(const std::wstring& name) {
    return name.find_first_of(kSeparators) != std::wstring::npos;
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(kSeparators);
    if (slash == std::wstring::npos)
        return {};
    // A drive keeps its colon, a drive root its separator ("C:", "C:\\").
    if (path[slash] == L':' || (slash == 2 && path[1] == L':'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

std::wstring NameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(kSeparators);
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring InProgramFolder(const std::wstring& name, const std::wstring& progDir) {
    return HasFolderPart(name) ? name : progDir + L"\\" + name;
}
