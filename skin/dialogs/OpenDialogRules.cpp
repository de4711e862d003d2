#include "skin/dialogs/OpenDialogRules.h"

namespace {

size_t NameStart(const std::wstring& Path) {
    const size_t p = Path.find_last_of(L"\\/");
    return p == std::wstring::npos ? 0 : p + 1;
}

// The position of the name's extension dot, npos when it has none.
size_t ExtensionDot(const std::wstring& Name) {
    const size_t dot = Name.find_last_of(L'.');
    if (dot == std::wstring::npos || dot < NameStart(Name) || dot + 1 == Name.size())
        return std::wstring::npos;
    return dot;
}

}  // namespace

std::wstring JoinDialogPath(const std::wstring& Folder, const std::wstring& Name) {
    if (Folder.empty() || Folder.back() == L'\\' || Folder.back() == L'/')
        return Folder + Name;
    return Folder + L"\\" + Name;
}

bool HasFileExtension(const std::wstring& Name) { return ExtensionDot(Name) != std::wstring::npos; }

std::wstring MaskExtension(const std::wstring& Mask) {
    if (Mask.find(L".*") != std::wstring::npos)
        return L"";
    const std::wstring first = Mask.substr(0, Mask.find(L';'));
    const size_t dot = ExtensionDot(first);
    return dot == std::wstring::npos ? L"" : first.substr(dot);
}

std::wstring DialogDefaultExt(const std::wstring& DefaultExt, const std::wstring& Mask) {
    return DefaultExt.empty() ? MaskExtension(Mask) : L"." + DefaultExt;
}

std::wstring SwapSaveExtension(const std::wstring& Text, const std::wstring& Ext) {
    if (Text.empty() || Ext.empty())
        return Text;
    const size_t dot = ExtensionDot(Text);
    return (dot == std::wstring::npos ? Text : Text.substr(0, dot)) + Ext;
}

std::wstring NewFolderName(const std::wstring& Base, int Count) {
    return Count > 1 ? Base + L"(" + std::to_wstring(Count) + L")" : Base;
}
