// Program folder and whole-file reads, shared by every layer.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The full path of the running program's executable (empty when the system cannot say).
std::wstring ProgramPath();
// The folder of the running program's executable, with a trailing backslash.
std::wstring ProgramFolder();

// The whole content of a file, or nothing when it cannot be opened or read completely, or is larger than
// maxBytes (a guard against reading a hostile or mistaken file into memory).
std::optional<std::string> ReadWholeFile(const std::wstring& path, std::size_t maxBytes = 64u << 20);

// At most maxBytes from the start of a file, or nothing when it cannot be opened or read; *whole tells whether that
// is all of it.
std::optional<std::string> ReadFilePrefix(const std::wstring& path, std::size_t maxBytes, bool* whole);
