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

// True when progDir\Posl.vkz exists and holds at least one byte: after a failed load, a file that a save would
// overwrite with the user's accounts and reminders still in it.
bool SettingsFilePresent(const std::wstring& progDir);

// The copy of a settings file that could not be loaded, beside it.
inline constexpr const wchar_t* kDamagedSettingsSuffix = L".bad";
// Copies progDir\Posl.vkz to Posl.vkz.bad, replacing an older copy in one step. Throws TSettingsSaveError when it
// cannot, so that the caller does not overwrite the only copy.
void KeepDamagedSettings(const std::wstring& progDir);

// Removes the temporary files of saves in progDir (Posl.vkz.<pid>-<n>-<n>.tmp) whose process no longer runs: a
// save killed halfway leaves them. Files of a running process of this program stay. Returns how many went.
int RemoveStaleSaveFiles(const std::wstring& progDir);

// Compresses a ready record and writes it to path atomically. Throws TSettingsSaveError.
void SaveSettingsFile(const std::wstring& path, std::span<const uint8_t> record);

// Writes data to a temporary file in path's folder and moves it over path. Throws TSettingsSaveError and removes
// the temporary file on failure.
void WriteFileAtomically(const std::wstring& path, std::span<const uint8_t> data);
