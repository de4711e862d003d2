// UTF-16 <-> UTF-8 conversion, the one place every layer converts through. Pure code: no windows.h.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Lone surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view s);
// Invalid sequences (bad lead bytes, truncated or overlong forms, encoded surrogates, values above U+10FFFF)
// become one U+FFFD each.
std::wstring Utf8ToWide(std::string_view s);
// Strict check: true only for well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view s);
