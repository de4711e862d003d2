// The machine identity string and its sources. BuildMachineId tries the sources in a fixed order and keeps the
// first that yields a full value: a tag letter and 8 letters A to Z. Settings files store the result and compare
// it at every start, so every transform here must keep giving the same letters for the same hardware.
//
// Tags: "B" storage serial; "C" to "J" the disk identification methods gimAuto .. gimWMI; "K" SMART identify
// text; "O" processor and adapter; "P" processor; "M" adapter; "S" BIOS date and processor.
//
// Sources work on 8-bit text except the SMART identify text, which is UTF-16 code units; the normaliser works on
// UTF-16 and keeps ASCII letters only. A source that fails throws IdSourceError; BuildMachineId never throws.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "identity/MachineQueries.h"

namespace identity {

class IdSourceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The normaliser: ASCII upper case, only 0-9 and A-Z kept, each digit d at position p (from 1) turned into the
// letter 65 + d + p (p <= 9) or 65 + d (p >= 10), and at most the last 8 letters kept.
std::wstring NormalizeIdPart(const std::wstring& text);
// Deletes every character that is not 0 to 9 or A to Z.
std::wstring KeepDigitsAndLetters(const std::wstring& text);
// The digits of a non-negative number in base 26 as letters A (0) to Z (25), most significant first.
std::wstring NumberToLetters(int64_t value);
// The characters in reverse order; a text that is blank after trimming gives the empty text.
std::wstring ReverseText(const std::wstring& text);

// Each 8-bit character as the UTF-16 code unit of the same value (only ASCII survives the normaliser).
std::wstring WidenBytes(const std::string& text);

// Source B: the serial number of the storage device descriptor of the first physical drive, decoded.
std::string GetStorageSerial(MachineQueries& queries);
// Source K: 40 code units of the identify data of a drive through the SCSI miniport (SMARTVSD on Windows 9x).
std::wstring GetSmartIdText(MachineQueries& queries, int drive);
// Input of P: the processor signature of CPUID leaves 1 and 3 as digits and letters.
std::string GetCpuIdText(MachineQueries& queries);
// The address of one LAN adapter as 12 upper-case hexadecimal digits, empty when NetBIOS refuses.
std::string GetAdapterMac(MachineQueries& queries, uint8_t lana);
// Input of M: the first LAN adapter's address, reversed.
std::string GetMacText(MachineQueries& queries);
// The BIOS date: `source` "NT" reads the registry, "95" the ROM.
std::string GetBiosDate(MachineQueries& queries, const std::string& source);
// Input of S: the BIOS date and the processor signature as letters.
std::wstring GetBiosCpuCode(MachineQueries& queries);

// The identity string: tag and up to 8 letters, or less (even empty) when no source yields a full value.
std::wstring BuildMachineId(MachineQueries& queries);

}  // namespace identity
