// Character sets of mail text: MIME charset names mapped to Windows code pages and decoded with
// MultiByteToWideChar. Unknown names decode in the system's ANSI code page.
// Contract: pure functions; any thread; results are owned by the caller.
#pragma once

#include <string>

namespace netlib {

// The code page for a charset name (case-insensitive, quotes and blanks ignored): the registered names and aliases
// of the ISO 8859 family, windows-125x and the other Windows and DOS pages, KOI8-R/U, the Macintosh sets, the
// Chinese, Japanese and Korean sets, UTF-7/8/16/32. 0 means the system's ANSI code page (a name with no code page);
// 20127 stands for US-ASCII, which DecodeCharset widens itself; 1200/1201 (UTF-16 LE/BE) and 12000/12001 (UTF-32)
// are decoded by DecodeCharset too.
unsigned CodePageForCharset(const std::string& charset);

// Decodes bytes in charset. US-ASCII text that carries 8-bit bytes anyway, and any charset whose conversion the
// system cannot do, is read in the ANSI code page instead, so no text is lost.
std::wstring DecodeCharset(const std::string& bytes, const std::string& charset);

// Unlabelled 8-bit text (raw header bytes): UTF-8 when it is valid UTF-8, else the ANSI code page.
std::wstring DecodeUnlabelled(const std::string& bytes);

}  // namespace netlib
