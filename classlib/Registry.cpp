// TRegistry over the advapi32 registry functions.
#include "classlib/Registry.h"

#include <vector>

namespace {

std::wstring StripSlashes(const std::wstring& key) {
    size_t b = 0, e = key.size();
    while (b < e && key[b] == L'\\')
        ++b;
    while (e > b && key[e - 1] == L'\\')
        --e;
    return key.substr(b, e - b);
}

// RegDeleteTree is not on every system we run on: delete children first by hand.
LONG DeleteTree(HKEY parent, const std::wstring& name) {
    HKEY raw = nullptr;
    LONG rc = ::RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &raw);
    if (rc != ERROR_SUCCESS)
        return rc;
    {
        TRegKeyHandle key(raw);
        for (;;) {
            wchar_t child[256];
            DWORD len = 256;
            rc = ::RegEnumKeyExW(key.Get(), 0, child, &len, nullptr, nullptr, nullptr, nullptr);
            if (rc != ERROR_SUCCESS)
                break;
            rc = DeleteTree(key.Get(), std::wstring(child, len));
            if (rc != ERROR_SUCCESS)
                return rc;
        }
    }
    return ::RegDeleteKeyW(parent, name.c_str());
}

}  // namespace

void TRegistry::SetRootKey(HKEY value) {
    CloseKey();
    root_ = value;
}

HKEY TRegistry::BaseFor(const std::wstring& key, std::wstring& relative) const {
    relative = StripSlashes(key);
    if (!key.empty() && key[0] == L'\\')
        return root_;
    return WorkingKey();
}

bool TRegistry::OpenKey(const std::wstring& key, bool canCreate) {
    std::wstring relative;
    HKEY base = BaseFor(key, relative);
    HKEY raw = nullptr;
    LONG rc;
    if (canCreate)
        rc = ::RegCreateKeyExW(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_, nullptr, &raw,
                               nullptr);
    else
        rc = ::RegOpenKeyExW(base, relative.c_str(), 0, access_, &raw);
    if (rc != ERROR_SUCCESS)
        return false;
    const bool absolute = !key.empty() && key[0] == L'\\';
    std::wstring path;
    if (absolute || !current_)
        path = relative;
    else if (relative.empty())
        path = currentPath_;
    else
        path = currentPath_.empty() ? relative : currentPath_ + L"\\" + relative;
    current_.Reset(raw);
    currentPath_ = path;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::wstring& key) {
    access_ = KEY_READ;
    return OpenKey(key, false);
}

void TRegistry::CloseKey() {
    current_.Reset();
    currentPath_.clear();
}

bool TRegistry::CreateKey(const std::wstring& key) {
    std::wstring relative;
    HKEY base = BaseFor(key, relative);
    HKEY raw = nullptr;
    if (::RegCreateKeyExW(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &raw,
                          nullptr) != ERROR_SUCCESS)
        return false;
    TRegKeyHandle created(raw);
    return true;
}

bool TRegistry::DeleteKey(const std::wstring& key) {
    std::wstring relative;
    HKEY base = BaseFor(key, relative);
    if (relative.empty())
        return false;  // never the working key itself
    return DeleteTree(base, relative) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const std::wstring& key) {
    std::wstring relative;
    HKEY base = BaseFor(key, relative);
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(base, relative.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return false;
    TRegKeyHandle opened(raw);
    return true;
}

bool TRegistry::ValueExists(const std::wstring& name) {
    return ::RegQueryValueExW(WorkingKey(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const std::wstring& name) {
    return ::RegDeleteValueW(WorkingKey(), name.c_str()) == ERROR_SUCCESS;
}

void TRegistry::GetKeyNames(TStrings* strings) {
    strings->Clear();
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD len = 256;
        if (::RegEnumKeyExW(WorkingKey(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        strings->Add(std::wstring(name, len));
    }
}

void TRegistry::GetValueNames(TStrings* strings) {
    strings->Clear();
    std::vector<wchar_t> name(16384);
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(name.size());
        if (::RegEnumValueW(WorkingKey(), i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        strings->Add(std::wstring(name.data(), len));
    }
}

std::wstring TRegistry::ReadString(const std::wstring& name) {
    DWORD type = 0, size = 0;
    LONG rc = ::RegQueryValueExW(WorkingKey(), name.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND)
        return L"";
    if (rc != ERROR_SUCCESS)
        throw ERegistryException(Format(L"Failed to get data for '%s'", name));
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(Format(L"Invalid data type for '%s'", name));
    // The value may change between the calls: retry with the new size.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<wchar_t> buf(size / sizeof(wchar_t) + 2, L'\0');
        DWORD bytes = static_cast<DWORD>((buf.size() - 1) * sizeof(wchar_t));
        rc =
            ::RegQueryValueExW(WorkingKey(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &bytes);
        if (rc == ERROR_MORE_DATA) {
            size = bytes;
            continue;
        }
        if (rc != ERROR_SUCCESS)
            throw ERegistryException(Format(L"Failed to get data for '%s'", name));
        // Stored strings need not end in a null; take what was stored up to the first null.
        std::wstring s(buf.data(), bytes / sizeof(wchar_t));
        size_t nul = s.find(L'\0');
        if (nul != std::wstring::npos)
            s.resize(nul);
        return s;
    }
    throw ERegistryException(Format(L"Failed to get data for '%s'", name));
}

void TRegistry::PutValue(const std::wstring& name, DWORD type, const void* data, DWORD size) {
    if (::RegSetValueExW(WorkingKey(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        throw ERegistryException(Format(L"Failed to set data for '%s'", name));
}

void TRegistry::WriteString(const std::wstring& name, const std::wstring& value) {
    PutValue(name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void TRegistry::WriteExpandString(const std::wstring& name, const std::wstring& value) {
    PutValue(name, REG_EXPAND_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

int TRegistry::ReadInteger(const std::wstring& name) {
    DWORD type = 0, value = 0, size = sizeof value;
    LONG rc = ::RegQueryValueExW(WorkingKey(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (rc == ERROR_SUCCESS && type != REG_DWORD)
        throw ERegistryException(Format(L"Invalid data type for '%s'", name));
    if (rc == ERROR_MORE_DATA)
        throw ERegistryException(Format(L"Invalid data type for '%s'", name));
    if (rc != ERROR_SUCCESS)
        throw ERegistryException(Format(L"Failed to get data for '%s'", name));
    return static_cast<int>(value);
}

void TRegistry::WriteInteger(const std::wstring& name, int value) {
    DWORD v = static_cast<DWORD>(value);
    PutValue(name, REG_DWORD, &v, sizeof v);
}
