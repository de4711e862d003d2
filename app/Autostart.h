// The autostart shortcut "Trelm Mail.lnk" in the user's Startup folder, written through the shell's link object.
// GUI thread; the calls initialise COM for themselves when the thread has not.
#pragma once

#include <string>

inline constexpr const wchar_t* kAutostartLinkName = L"Trelm Mail.lnk";
inline constexpr const wchar_t* kAutostartDescription = L"Trelm Mail";

// The path of a special folder (a CSIDL value), at most MAX_PATH characters; empty when it has none.
std::wstring GetSpecialFolderLocation(int csidl);
// The folder with a trailing backslash, unless it is empty or already ends with one.
std::wstring Kosaya(const std::wstring& folder);
// Writes a shortcut to target with working folder and description; creates the shortcut's folder when missing.
bool CreateLink(const std::wstring& workDir,
                const std::wstring& target,
                const std::wstring& description,
                const std::wstring& linkFile);
// The shortcut's full path in the Startup folder.
std::wstring AutostartLinkPath();
// Creates (overwriting) or deletes the shortcut; every failure is dropped (false tells a test).
bool SetAutostart(bool autoZagr, const std::wstring& progDir, const std::wstring& exePath);
