// File names as the settings hold them: a bare name lies in the program folder, anything with a folder part is
// taken as it stands. Pure: no windows.h.
#pragma once

#include <string>

// True when the name carries a folder or drive ("\", "/" or ":").
bool HasFolderPart(const std::wstring& name);
// The folder part without its last separator; a drive keeps its colon and a drive root its separator ("C:",
// "C:\"); empty for a bare name.
std::wstring FolderOf(const std::wstring& path);
// The part after the folder.
std::wstring NameOf(const std::wstring& path);
// The full path of a setting: itself when it has a folder part, else progDir\name.
std::wstring InProgramFolder(const std::wstring& name, const std::wstring& progDir);
