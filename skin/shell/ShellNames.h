// The shell layer's window-free rules: the names of the special root folders, root paths, the "?digit" marks some
// shell extensions put before their names, and the size column's text.
// Index: kRootFolderCount, RootFolderName, RootFolderCSIDL, RootFolderIndex, RootParsingName, RemoveDigitMarks,
// FormatKBSize, SizeInKB.
#pragma once

#include <cstdint>
#include <string>

// rfDesktop ... rfTemplates, in their fixed order.
constexpr int kRootFolderCount = 23;
const wchar_t* RootFolderName(int index);
int RootFolderCSIDL(int index);
// The index of a root folder name ("rfMyComputer"), -1 when the text is none (a path, say). Exact case.
int RootFolderIndex(const std::wstring& name);
// A root path as the desktop parses it: a bare drive "C:" becomes "C:\".
std::wstring RootParsingName(const std::wstring& root);
// A name longer than one character that starts with "?" and a digit loses every "?".
std::wstring RemoveDigitMarks(const std::wstring& name);
// Bytes to kilobytes for the size column: rounded up, 0 stays 0.
std::int64_t SizeInKB(std::int64_t bytes);
// "1 234 KB": digits in groups of three, blank-separated, then " KB".
std::wstring FormatKBSize(std::int64_t kb);
