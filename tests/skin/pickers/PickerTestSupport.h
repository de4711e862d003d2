// What the picker tests share: a folder tree of their own under the temporary folder, a guard that puts the
// process's current folder back, and a drive seam that answers from a table and asks the system for the rest.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "skin/pickers/DriveInfo.h"

namespace pktest {

inline std::wstring CurrentDir() {
    wchar_t b[MAX_PATH * 2] = {};
    GetCurrentDirectoryW(MAX_PATH * 2, b);
    return b;
}

// Puts the current folder back when it goes.
class CurrentDirGuard {
  public:
    CurrentDirGuard() : saved_(CurrentDir()) {}
    ~CurrentDirGuard() { SetCurrentDirectoryW(saved_.c_str()); }
    const std::wstring& Saved() const { return saved_; }

  private:
    std::wstring saved_;
};

// A fresh folder under the temporary folder holding the given folders and (empty) files, removed at the end.
class TempTree {
  public:
    TempTree(const std::wstring& Name, const std::vector<std::wstring>& Folders,
             const std::vector<std::wstring>& Files) {
        wchar_t tmp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, tmp);
        wchar_t longTmp[MAX_PATH * 2] = {};
        GetLongPathNameW(tmp, longTmp, MAX_PATH * 2);
        root_ = std::wstring(longTmp) + L"trelm_pk_" + Name + L"_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(root_.c_str(), nullptr);
        for (const auto& f : Folders) {
            CreateDirectoryW((root_ + L"\\" + f).c_str(), nullptr);
            made_.push_back(root_ + L"\\" + f);
        }
        for (const auto& f : Files) {
            HANDLE h = CreateFileW((root_ + L"\\" + f).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            CloseHandle(h);
            files_.push_back(root_ + L"\\" + f);
        }
    }
    ~TempTree() {
        SetCurrentDirectoryW(L"C:\\");
        for (const auto& f : files_)
            DeleteFileW(f.c_str());
        for (auto it = made_.rbegin(); it != made_.rend(); ++it)
            RemoveDirectoryW(it->c_str());
        RemoveDirectoryW(root_.c_str());
    }
    const std::wstring& Root() const { return root_; }
    std::wstring operator/(const std::wstring& Name) const { return root_ + L"\\" + Name; }

  private:
    std::wstring root_;
    std::vector<std::wstring> made_, files_;
};

// Answers drive types, volumes and remote names from its tables; paths and the current folder go to the system.
class TableDriveInfo : public IbsDriveInfo {
  public:
    struct Drive {
        int Type = bsdtFixed;
        bool Readable = true;
        std::wstring Label;
        std::uint32_t Flags = kVolumeCasePreserved;
        std::wstring Remote;  // empty: not mapped
    };
    std::map<wchar_t, Drive> Drives;  // by lower-case letter

    std::uint32_t LogicalDrives() override {
        std::uint32_t mask = 0;
        for (const auto& [letter, d] : Drives)
            mask |= 1u << (letter - L'a');
        return mask;
    }
    int DriveType(wchar_t Letter) override {
        auto it = Drives.find(static_cast<wchar_t>(towlower(Letter)));
        return it == Drives.end() ? bsdtNoRoot : it->second.Type;
    }
    bool Volume(wchar_t Letter, std::wstring& Label, std::uint32_t& Flags) override {
        auto it = Drives.find(static_cast<wchar_t>(towlower(Letter)));
        if (it == Drives.end() || !it->second.Readable)
            return false;
        Label = it->second.Label;
        Flags = it->second.Flags;
        return true;
    }
    bool NetworkName(wchar_t Letter, std::wstring& Remote) override {
        ++NetworkAsks;
        LastNetworkLetter = Letter;
        auto it = Drives.find(static_cast<wchar_t>(towlower(Letter)));
        if (it == Drives.end() || it->second.Remote.empty())
            return false;
        Remote = it->second.Remote;
        return true;
    }
    std::uint32_t Attributes(const std::wstring& Path) override { return SystemDriveInfo().Attributes(Path); }
    std::wstring CurrentDir() override { return SystemDriveInfo().CurrentDir(); }
    bool SetCurrentDir(const std::wstring& Path) override { return SystemDriveInfo().SetCurrentDir(Path); }

    int NetworkAsks = 0;
    wchar_t LastNetworkLetter = 0;
};

}  // namespace pktest
