// TRegistry: a current key under a root key, with typed value access. The open key is owned (RAII) and closed
// by CloseKey, by opening another key or by the destructor.
// Errors of typed reads/writes raise ERegistryException: "Invalid data type for '%s'", "Failed to get data for
// '%s'", "Failed to set data for '%s'"; OpenKey/KeyExists/DeleteKey report by their result.
#pragma once

#include <windows.h>

#include <string>

#include "classlib/Classes.h"
#include "classlib/GdiHandles.h"
#include "classlib/SysUtils.h"

class TRegistry : public TObject {
  public:
    // Root HKEY_CURRENT_USER; keys are opened with `access` (KEY_ALL_ACCESS by default).
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS) : access_(access) {}
    ~TRegistry() override = default;

    HKEY RootKey() const { return root_; }
    void SetRootKey(HKEY value);  // closes the current key
    REGSAM Access() const { return access_; }
    void SetAccess(REGSAM value) { access_ = value; }
    HKEY CurrentKey() const { return current_.Get(); }
    // Path of the current key below the root, without a leading '\'.
    const std::wstring& CurrentPath() const { return currentPath_; }

    // A key beginning with '\' is taken from the root, others relative to the current key (the root when none).
    // Opens (or, with canCreate, creates) the key and makes it current; false when that fails.
    bool OpenKey(const std::wstring& key, bool canCreate);
    // Opens with KEY_READ, which also becomes Access, so later opens stay read-only too.
    bool OpenKeyReadOnly(const std::wstring& key);
    void CloseKey();
    bool CreateKey(const std::wstring& key);
    // Deletes the key with all its subkeys; false when it did not exist or could not be deleted.
    bool DeleteKey(const std::wstring& key);
    bool KeyExists(const std::wstring& key);
    bool ValueExists(const std::wstring& name);
    bool DeleteValue(const std::wstring& name);
    void GetKeyNames(TStrings* strings);
    void GetValueNames(TStrings* strings);

    // REG_SZ or REG_EXPAND_SZ (unexpanded); a missing value reads as "".
    std::wstring ReadString(const std::wstring& name);
    void WriteString(const std::wstring& name, const std::wstring& value);
    void WriteExpandString(const std::wstring& name, const std::wstring& value);
    // REG_DWORD; a missing value raises "Failed to get data".
    int ReadInteger(const std::wstring& name);
    void WriteInteger(const std::wstring& name, int value);
    bool ReadBool(const std::wstring& name) { return ReadInteger(name) != 0; }
    void WriteBool(const std::wstring& name, bool value) { WriteInteger(name, value ? 1 : 0); }

  private:
    HKEY BaseFor(const std::wstring& key, std::wstring& relative) const;
    HKEY WorkingKey() const { return current_ ? current_.Get() : root_; }
    void PutValue(const std::wstring& name, DWORD type, const void* data, DWORD size);

    HKEY root_ = HKEY_CURRENT_USER;  // predefined: never closed
    REGSAM access_;
    TRegKeyHandle current_;
    std::wstring currentPath_;
};
