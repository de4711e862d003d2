// Character sets of mail text: MIME charset names mapped to Windows code pages and decoded with
// MultiByteToWideChar. Unknown names decode in the system's ANSI code page.
// Contract: pure functions; any thread; results are owned by the caller.
#pragma once

#include <string>

namespace netlib {

// The code page for a charset name (case-insensitive, quotes and blanks ignored); 0 means the system's ANSI code
// page; 20127 stands for US-ASCII, which DecodeCharset widens itself.
unsigned CodePageForCharset(const std::string& charset);

// Decodes bytes in charset. US-ASCII text that carries 8-bit bytes anyway, and any charset whose conversion the
// system cannot do, is read in the ANSI code page instead, so no text is lost.
std::wstring DecodeCharset(const std::string& bytes, const std::string& charset);

// Unlabelled 8-bit text (raw header bytes): UTF-8 when it is valid UTF-8, else the ANSI code page.
std::wstring DecodeUnlabelled(const std::string& bytes);

}  // namespace netlib
