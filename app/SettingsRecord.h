// The packed record inside the settings file "Posl.vkz", and the file image (the record behind an LZSS stream).
// Index: TSettingsRecordContent, ShortenToRecordLimits, BuildSettingsRecord, ParseSettingsRecord,
// EncodeSettingsFile, DecodeSettingsFile, CutUtf16.
//
// Layout: little-endian integers without gaps; strings as slots (16-bit length 4N, then N UTF-16LE units, a
// 16-bit zero and 2N - 2 zero padding bytes; an empty string is just the length 0). The record begins and ends
// with the version "2.19a" and carries the settings, the machine identity, the IMAP servers, accounts and events.
// Strings are cut to the lengths kept in the file (a cut never splits a surrogate pair).
//
// Pure code: no windows.h. The parser trusts nothing: every count, slot length and field is checked against the
// record size, and a record that does not fit is rejected as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/DataModel.h"

inline constexpr char kSettingsVersion[] = "2.19a";
inline constexpr wchar_t kSettingsFileName[] = L"Posl.vkz";
inline constexpr int kSettingsCompressionLevel = 4;

// Lengths, in UTF-16 units, to which strings are cut when stored.
inline constexpr size_t kSoundFileMaxLen = 299;    // FZvuk, FZvukN, LangFile
inline constexpr size_t kAccountFieldMaxLen = 99;  // account strings and the event name
inline constexpr size_t kImapFieldMaxLen = 49;
inline constexpr size_t kIdKompMaxLen = 29;
inline constexpr size_t kPassZapuskMaxLen = 16;
inline constexpr size_t kReservedBytes = 45;

// Everything the record carries.
struct TSettingsRecordContent {
    TSettings Settings;
    std::wstring IdKomp;  // the writer's machine identity (read back as IdKompFile)
    std::vector<std::unique_ptr<AListImap>> ImapServers;
    std::vector<std::unique_ptr<AListEm>> Accounts;
    std::vector<std::unique_ptr<AListSob>> Events;  // Ostal 0, BilSoob false when parsed
};

// The first maxUnits units of text, one fewer when the cut would leave the high half of a surrogate pair.
std::wstring_view CutUtf16(std::wstring_view text, size_t maxUnits);

// Cuts the in-memory strings to what the record keeps, so that memory and file agree after a save.
void ShortenToRecordLimits(TSettings& settings,
                           std::wstring& idKomp,
                           std::vector<std::unique_ptr<AListImap>>& imap,
                           std::vector<std::unique_ptr<AListEm>>& accounts,
                           std::vector<std::unique_ptr<AListSob>>& events);

// The record bytes; strings longer than their limit are written cut (the inputs are not changed).
std::vector<uint8_t> BuildSettingsRecord(const TSettings& settings,
                                         std::wstring_view idKomp,
                                         const std::vector<std::unique_ptr<AListImap>>& imap,
                                         const std::vector<std::unique_ptr<AListEm>>& accounts,
                                         const std::vector<std::unique_ptr<AListSob>>& events);
std::vector<uint8_t> BuildSettingsRecord(const TSettingsRecordContent& content);

// Why a record or file image was not taken.
enum class TSettingsReadResult {
    Ok,
    OtherVersion,  // the version field is not "2.19a"
    Damaged,       // truncated, a count or slot that does not fit, or a broken LZSS stream
};

// Parses a whole record. On anything but Ok, content is left untouched.
TSettingsReadResult ParseSettingsRecord(std::span<const uint8_t> record, TSettingsRecordContent& content);

// The file image: the record compressed at level 4. Returns false when the compressor cannot make it at least
// 16 bytes smaller than the record (the record is then not storable).
bool EncodeSettingsFile(std::span<const uint8_t> record, std::vector<uint8_t>& fileImage);

// Decompresses and parses a file image. On anything but Ok, content is left untouched.
TSettingsReadResult DecodeSettingsFile(std::span<const uint8_t> fileImage, TSettingsRecordContent& content);
