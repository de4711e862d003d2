// TIniFile: the system's private-profile functions.
#include <windows.h>

#include <vector>

#include "classlib/IniFiles.h"
#include "classlib/WithUpdate_p.h"

namespace {

// Calls read(buffer, size) with a growing buffer until the result fits; returns the text (for double-null lists
// the whole list including the inner nulls).
template <typename Read>
std::wstring ReadProfile(Read read, bool list) {
    std::vector<wchar_t> buf(2048);
    for (;;) {
        DWORD n = read(buf.data(), static_cast<DWORD>(buf.size()));
        // The functions signal truncation by returning size - 1 (size - 2 for lists).
        DWORD full = static_cast<DWORD>(buf.size()) - (list ? 2 : 1);
        if (n < full || buf.size() >= (1u << 24))
            return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 4);
    }
}

void SplitNullList(const std::wstring& text, TStrings* strings) {
    WithUpdate(*strings, [&] {
        strings->Clear();
        size_t i = 0;
        while (i < text.size()) {
            size_t end = text.find(L'\0', i);
            if (end == std::wstring::npos)
                end = text.size();
            if (end > i)
                strings->Add(text.substr(i, end - i));
            i = end + 1;
        }
    });
}

}  // namespace

TIniFile::~TIniFile() {
    // Flush the system's cache so another reader sees our writes; failures cannot be reported from here.
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, fileName_.c_str());
}

std::wstring TIniFile::ReadString(const std::wstring& section,
                                  const std::wstring& ident,
                                  const std::wstring& defaultValue) {
    return ReadProfile(
        [&](wchar_t* b, DWORD n) {
            return ::GetPrivateProfileStringW(section.c_str(), ident.c_str(), defaultValue.c_str(), b, n,
                                              fileName_.c_str());
        },
        false);
}

void TIniFile::WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) {
    if (!::WritePrivateProfileStringW(section.c_str(), ident.c_str(), value.c_str(), fileName_.c_str()))
        throw EIniFileException(Format(L"Unable to write to %s", fileName_));
}

void TIniFile::ReadSection(const std::wstring& section, TStrings* strings) {
    SplitNullList(ReadProfile(
                      [&](wchar_t* b, DWORD n) {
                          return ::GetPrivateProfileStringW(section.c_str(), nullptr, L"", b, n, fileName_.c_str());
                      },
                      true),
                  strings);
}

void TIniFile::ReadSections(TStrings* strings) {
    SplitNullList(
        ReadProfile([&](wchar_t* b, DWORD n) { return ::GetPrivateProfileSectionNamesW(b, n, fileName_.c_str()); },
                    true),
        strings);
}

void TIniFile::ReadSectionValues(const std::wstring& section, TStrings* strings) {
    TStringList keys;
    ReadSection(section, &keys);
    WithUpdate(*strings, [&] {
        strings->Clear();
        for (int i = 0; i < keys.Count(); ++i)
            strings->Add(keys[i] + L"=" + ReadString(section, keys[i], L""));
    });
}

void TIniFile::EraseSection(const std::wstring& section) {
    if (!::WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, fileName_.c_str()))
        throw EIniFileException(Format(L"Unable to write to %s", fileName_));
}

void TIniFile::DeleteKey(const std::wstring& section, const std::wstring& ident) {
    ::WritePrivateProfileStringW(section.c_str(), ident.c_str(), nullptr, fileName_.c_str());
}

void TIniFile::UpdateFile() {
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, fileName_.c_str());
}
