// Helpers shared by the support and graphics tests: a scratch folder that is removed afterwards, file bytes.
#pragma once

#include <windows.h>

#include <string>

#include "classlib/Classes.h"

class ScratchDir {
public:
    ScratchDir() {
        wchar_t tmp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, tmp);
        static int counter = 0;
        path_ = std::wstring(tmp) + L"trelm_cls_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter);
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchDir() { RemoveTree(path_); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    const std::wstring& Path() const { return path_; }

private:
    static void RemoveTree(const std::wstring& dir) {
        WIN32_FIND_DATAW fd;
        HANDLE h = ::FindFirstFileW((dir + L"\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = fd.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                std::wstring full = dir + L"\\" + name;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(full);
                else
                    ::DeleteFileW(full.c_str());
            } while (::FindNextFileW(h, &fd));
            ::FindClose(h);
        }
        ::RemoveDirectoryW(dir.c_str());
    }
    std::wstring path_;
};

inline void WriteFileBytes(const std::wstring& fileName, const std::string& bytes) {
    SaveBytesToFileSafely(fileName, bytes.data(), bytes.size());
}

inline std::string ReadFileBytes(const std::wstring& fileName) {
    return LoadBytesFromFile(fileName);
}
