#include "base/Files.h"

#include <algorithm>

#include "base/Handles.h"

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: a long path
    }
}

std::wstring ProgramFolder() {
    const std::wstring path = ProgramPath();
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

namespace {

std::optional<std::string> ReadUpTo(const std::wstring& path, std::size_t maxBytes, bool refuseLonger, bool* whole) {
    TFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0)
        return std::nullopt;
    *whole = static_cast<unsigned long long>(size.QuadPart) <= maxBytes;
    if (!*whole && refuseLonger)
        return std::nullopt;
    std::string data(static_cast<size_t>(std::min<unsigned long long>(size.QuadPart, maxBytes)), '\0');
    size_t done = 0;
    while (done < data.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(file.Get(), data.data() + done, chunk, &got, nullptr) || got == 0)
            return std::nullopt;
        done += got;
    }
    return data;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::wstring& path, std::size_t maxBytes) {
    bool whole = false;
    return ReadUpTo(path, maxBytes, true, &whole);
}

std::optional<std::string> ReadFilePrefix(const std::wstring& path, std::size_t maxBytes, bool* whole) {
    return ReadUpTo(path, maxBytes, false, whole);
}
