// Small text helpers shared by every layer. Pure code: no windows.h.
#pragma once

#include <string>
#include <string_view>

// Drops leading and trailing characters up to and including the blank (control characters and space), as the
// settings, server list and letter texts want it.
std::wstring TrimText(std::wstring_view text);
std::string TrimText(std::string_view text);
