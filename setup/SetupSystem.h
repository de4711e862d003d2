// What the installer's wizard asks the system: the Windows version, registry strings, free disk space, whether a
// folder exists and what the Start menu's Programs folder holds. Thin Win32 glue under the pure rules of
// WizardLogic.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// WinVerCode of GetVersionExW's version.
int GetWinVer();
// The string value ValueName of RootKey\KeyPath, opened for reading only; empty when the key or the value is missing
// or the value is not a string.
std::wstring WinInfo(HKEY RootKey, const std::wstring& KeyPath, const std::wstring& ValueName);
// Free bytes for the caller on drive Letter ("X:\"); -1 when there is no such drive.
std::int64_t FreeBytesOf(wchar_t Letter);
bool FolderExists(const std::wstring& Path);
// The folders and files of the Start menu's Programs folder ("Programs" of the user's shell folders, the shell's
// own Programs folder when that value is missing), without hidden, system and volume entries, "." and "..".
// Empty when nothing is found.
std::vector<std::wstring> ProgramsFolderEntries();

// The registry places the wizard reads.
inline constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelm Mail";
inline constexpr const wchar_t* kCurrentVersionKey = L"Software\\Microsoft\\Windows\\CurrentVersion";
inline constexpr const wchar_t* kShellFoldersKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
