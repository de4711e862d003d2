// The pickers' path routines. The text rules (SlashSep, CutFirstDirectory, MinimizeName, DirLevel, FileDrive) are
// pure; the others read drives and move the process's current folder through the drive seam (DriveInfo.h), so
// they work on any drive a test describes. Text is UTF-16; a surrogate pair is one character and is never split.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TCanvas;

// Path + S, with one "\" between them.
std::wstring SlashSep(const std::wstring& Path, const std::wstring& S);
// Replaces the first folder of S by "...\" ("\a\b\" -> "\...\b\"); "\" and a lone folder become empty.
void CutFirstDirectory(std::wstring& S);
// FileName shortened until TextWidth of it fits MaxLen: the leading folders give way to "...", then the drive.
std::wstring MinimizeName(const std::wstring& FileName, const std::function<int(const std::wstring&)>& TextWidth,
                          int MaxLen);
std::wstring MinimizeName(const std::wstring& FileName, TCanvas* Canvas, int MaxLen);
// The number of "\" in Path.
int DirLevel(const std::wstring& Path);
// "X:" or "\\server\share" at the start of Path, else empty.
std::wstring FileDrive(const std::wstring& Path);

// DirectoryExists is the class library's. These two ask the drive seam: Name is a folder; Name is a file.
bool SeamFolderExists(const std::wstring& Name);
bool SeamFileExists(const std::wstring& Name);
// "[label]" of the drive's volume ("[]" when it cannot be read), lower case for a lower-case letter.
std::wstring VolumeID(wchar_t DriveLetter);
// The remote name of a mapped drive, cased like VolumeID; VolumeID when the drive is not mapped.
std::wstring NetworkVolume(wchar_t DriveLetter);
// Changes the process's current folder; EInOutError when it cannot.
void ChangeDir(const std::wstring& Path);

// Splits a typed path into its drive (#0 when it names none), its folder and its file part; a file part that is
// no file and has no wildcard is taken as a folder. The process ends in the folder it started in (when that still
// exists), also when it raises EInOutError for a folder that does not exist.
void ProcessPath(const std::wstring& EditText, wchar_t& Drive, std::wstring& DirPart, std::wstring& FilePart);
