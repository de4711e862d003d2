// What the uninstaller removes: the files Setup wrote, "yazik.txt", the Start-menu folder its uninstall entry names
// with the three shortcuts, the desktop shortcut and the entry itself; the program folder only when that leaves it
// empty, and its own file last, from a copy in the temporary folder. The entry's folder name is not trusted: only a
// single path component leads to any shortcut being removed. Pure rules here; UninstallMain.cpp does the work.
#pragma once

#include <string>
#include <vector>

// True for one non-empty folder name: no separators, drive colon, wildcard or control character, not "." or "..",
// and no trailing dot or blank (the file system would drop those and name another folder).
bool IsSingleFolderName(const std::wstring& Name);
// The three shortcuts Setup puts into the Start-menu folder FolderName.
std::vector<std::wstring> StartMenuLinkNames(const std::wstring& FolderName);

inline constexpr const wchar_t* kUninstallQuestion = L"Удалить Trelm Mail с компьютера?";
inline constexpr const wchar_t* kUninstallCaption = L"Удаление Trelm Mail";
// The temporary copy's arguments: the flag, the uninstaller's process id and its file.
inline constexpr const wchar_t* kFinishFlag = L"--finish";
