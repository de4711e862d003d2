// The settings file "Posl.vkz" in the program folder: loading at start and the atomic save.
// Index: TSettingsSaveError, GetProgramDir, SaveSettings, SaveSettingsAs, LoadSettings, SaveSettingsFile,
// WriteFileAtomically.
//
// A save writes a temporary file next to the target and moves it over the old file in one step, so a failed
// save (no space, locked or read-only file, record the compressor cannot shrink) leaves the previous file
// byte-identical and throws TSettingsSaveError. A load takes the file only when it parses completely; a missing,
// foreign, damaged or truncated file changes nothing and is not reported. GUI thread only.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "app/DataModel.h"

// A save that did not happen. what() is UTF-8; Message() gives the same text in UTF-16 for the error box.
class TSettingsSaveError : public std::runtime_error {
  public:
    explicit TSettingsSaveError(const std::wstring& message);
    const std::wstring& Message() const { return message_; }

  private:
    std::wstring message_;
};

// Folder of the running executable, without a trailing backslash.
std::wstring GetProgramDir();

// Shortens the in-memory strings to what the file keeps, then writes progDir\Posl.vkz with the settings, the
// IMAP server, account and event lists and idKomp. Throws TSettingsSaveError; the old file then stays as it was.
void SaveSettings(const std::wstring& progDir, TSettings& settings, TNotifierLists& lists, std::wstring& idKomp);

// SaveSettings into any file (the developer tool writes files outside a program folder).
void SaveSettingsAs(const std::wstring& path, TSettings& settings, TNotifierLists& lists, std::wstring& idKomp);

// Reads progDir\Posl.vkz. When the whole record is valid, replaces settings, sets idKompFile and appends the IMAP
// servers, accounts and events to their (empty) lists, and returns true. Otherwise changes nothing and returns
// false.
bool LoadSettings(const std::wstring& progDir, TSettings& settings, TNotifierLists& lists, std::wstring& idKompFile);

// The same with the main window's run-time values: the file in state.ProgDir, state.IdKomp stored, the identity
// read back into state.IdKompFile.
void SaveSettings(TSettings& settings, TNotifierLists& lists, TPersistState& state);
bool LoadSettings(TSettings& settings, TNotifierLists& lists, TPersistState& state);

// Compresses a ready record and writes it to path atomically. Throws TSettingsSaveError.
void SaveSettingsFile(const std::wstring& path, std::span<const uint8_t> record);

// Writes data to a temporary file in path's folder and moves it over path. Throws TSettingsSaveError and removes
// the temporary file on failure.
void WriteFileAtomically(const std::wstring& path, std::span<const uint8_t> data);
