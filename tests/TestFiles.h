// Files and folders for tests that touch the disk: a temporary folder removed with its content, and whole-file
// reads and writes. Test code only.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace trelm_test {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TTempDir {
  public:
    TTempDir() {
        wchar_t base[MAX_PATH + 1];
        const DWORD n = GetTempPathW(MAX_PATH + 1, base);
        std::wstring root(base, n);
        if (!root.empty() && root.back() == L'\\') {
            root.pop_back();
        }
        static std::atomic<unsigned> counter{0};
        path_ = root + L"\\trelm-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TTempDir() { RemoveTree(path_); }
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(name);
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return names;
    }

  private:
    static void RemoveTree(const std::wstring& path) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") {
                    continue;
                }
                const std::wstring child = path + L"\\" + name;
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(child);
                } else {
                    DeleteFileW(child.c_str());
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(path.c_str());
    }

    std::wstring path_;
};

// The whole file, or nothing when it cannot be opened.
inline Bytes ReadFileBytes(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return {};
    }
    Bytes data(GetFileSize(h, nullptr));
    DWORD read = 0;
    ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &read, nullptr);
    CloseHandle(h);
    data.resize(read);
    return data;
}

// The whole file as a byte string, or nothing when it cannot be opened.
inline std::string ReadFileString(const std::wstring& path) {
    const Bytes data = ReadFileBytes(path);
    return std::string(data.begin(), data.end());
}

// Creates or replaces the file with exactly these bytes; false when that fails.
inline bool WriteFileBytes(const std::wstring& path, const void* data, size_t size) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(h, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(h);
    return ok && written == size;
}

inline bool WriteFileBytes(const std::wstring& path, const Bytes& data) {
    return WriteFileBytes(path, data.data(), data.size());
}

inline bool WriteFileBytes(const std::wstring& path, const std::string& data) {
    return WriteFileBytes(path, data.data(), data.size());
}

}  // namespace trelm_test
