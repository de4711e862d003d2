// Win32 side of the settings file: the program folder, reading the file whole, and the replace-by-rename save.
#include "app/SettingsFile.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/Lzss.h"
#include "app/SettingsRecord.h"
#include "base/Files.h"
#include "base/Handles.h"
#include "base/Utf.h"

namespace {

std::wstring SystemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length > 0 && buffer != nullptr) {
        text.assign(buffer, length);
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
            text.pop_back();
        }
    }
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    if (text.empty()) {
        text = L"error " + std::to_wstring(error);
    }
    return text;
}

[[noreturn]] void ThrowSaveError(const std::wstring& path, const std::wstring& what, DWORD error) {
    std::wstring message = L"Cannot save \"" + path + L"\": " + what;
    if (error != ERROR_SUCCESS) {
        message += L" (" + SystemMessage(error) + L")";
    }
    throw TSettingsSaveError(message);
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// A name no other save in this or another process is using at the same moment.
std::wstring TemporaryNameFor(const std::wstring& path, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L"-" +
           std::to_wstring(attempt) + L".tmp";
}

// The process id in the name of a save's temporary file of path ("<path>.<pid>-<n>-<n>.tmp"), or 0.
DWORD TemporaryFileOwner(const std::wstring& name, const std::wstring& settingsName) {
    const std::wstring prefix = settingsName + L".";
    const std::wstring suffix = L".tmp";
    if (name.size() <= prefix.size() + suffix.size() || _wcsnicmp(name.c_str(), prefix.c_str(), prefix.size()) != 0 ||
        _wcsicmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) != 0)
        return 0;
    const std::wstring middle = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    // Three decimal numbers joined by hyphens.
    unsigned long long pid = 0;
    int numbers = 0;
    size_t digits = 0;
    for (wchar_t c : middle) {
        if (c >= L'0' && c <= L'9') {
            if (++digits > 10)
                return 0;
            if (numbers == 0)
                pid = pid * 10 + static_cast<unsigned>(c - L'0');
        } else if (c == L'-' && digits > 0 && numbers < 2) {
            ++numbers;
            digits = 0;
        } else {
            return 0;
        }
    }
    if (numbers != 2 || digits == 0 || pid == 0 || pid > 0xFFFFFFFFull)
        return 0;
    return static_cast<DWORD>(pid);
}

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// A process with this id runs this program (the same executable name): its save may still be under way.
bool RunningInstance(DWORD pid) {
    if (pid == GetCurrentProcessId())
        return true;
    TKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid));
    if (!process.Valid())
        return GetLastError() == ERROR_ACCESS_DENIED;  // there, but not ours to look at: leave its files
    if (WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0)
        return false;
    wchar_t image[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!QueryFullProcessImageNameW(process.Get(), 0, image, &size))
        return true;
    return _wcsicmp(FileNameOf(image).c_str(), FileNameOf(ProgramPath()).c_str()) == 0;
}

}  // namespace

TSettingsSaveError::TSettingsSaveError(const std::wstring& message)
    : std::runtime_error(WideToUtf8(message)), message_(message) {}

std::wstring GetProgramDir() {
    std::wstring dir = ProgramFolder();
    if (dir.empty()) {
        return L".";
    }
    dir.pop_back();  // the trailing backslash
    return dir;
}

void WriteFileAtomically(const std::wstring& path, std::span<const uint8_t> data) {
    // A read-only file is one the user does not want written. Windows refuses to rename over it anyway; Wine
    // would not, so ask first rather than depend on the platform.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ThrowSaveError(path, L"the file is read-only", ERROR_ACCESS_DENIED);
    }

    std::wstring tempPath;
    HANDLE created = INVALID_HANDLE_VALUE;
    DWORD error = ERROR_SUCCESS;
    for (unsigned attempt = 0; attempt < 16 && created == INVALID_HANDLE_VALUE; ++attempt) {
        tempPath = TemporaryNameFor(path, attempt);
        created = CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        error = GetLastError();
        if (created == INVALID_HANDLE_VALUE && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    if (created == INVALID_HANDLE_VALUE) {
        ThrowSaveError(path, L"cannot create a temporary file in \"" + FolderOf(path) + L"\"", error);
    }

    TFileHandle temp(created);
    auto fail = [&](const std::wstring& what, DWORD err) {
        temp.Reset();
        DeleteFileW(tempPath.c_str());
        ThrowSaveError(path, what, err);
    };

    size_t done = 0;
    while (done < data.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(temp.Get(), data.data() + done, chunk, &written, nullptr) || written == 0) {
            fail(L"writing failed", GetLastError());
        }
        done += written;
    }
    // The rename must not become visible before the data: a crash right after it would leave an empty file.
    if (!FlushFileBuffers(temp.Get())) {
        fail(L"writing failed", GetLastError());
    }
    // Closing can report a write the system deferred: check it, unlike the owner's own close.
    if (!CloseHandle(temp.Detach())) {
        const DWORD err = GetLastError();
        DeleteFileW(tempPath.c_str());
        ThrowSaveError(path, L"writing failed", err);
    }
    if (!MoveFileExW(tempPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD err = GetLastError();
        DeleteFileW(tempPath.c_str());
        ThrowSaveError(path, L"cannot replace the file", err);
    }
}

bool SettingsFilePresent(const std::wstring& progDir) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const std::wstring path = progDir + L"\\" + kSettingsFileName;
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
}

void KeepDamagedSettings(const std::wstring& progDir) {
    const std::wstring path = progDir + L"\\" + kSettingsFileName;
    const std::wstring kept = path + kDamagedSettingsSuffix;
    // Copied under a save's temporary name first, so that an older copy is replaced only by a whole one.
    std::wstring tempPath;
    DWORD error = ERROR_SUCCESS;
    bool copied = false;
    for (unsigned attempt = 0; attempt < 16 && !copied; ++attempt) {
        tempPath = TemporaryNameFor(path, attempt);
        copied = CopyFileW(path.c_str(), tempPath.c_str(), TRUE) != FALSE;
        error = GetLastError();
        if (!copied && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    if (!copied) {
        DeleteFileW(tempPath.c_str());
        ThrowSaveError(kept, L"cannot keep a copy of the unreadable settings file", error);
    }
    SetFileAttributesW(tempPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!MoveFileExW(tempPath.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD err = GetLastError();
        DeleteFileW(tempPath.c_str());
        ThrowSaveError(kept, L"cannot keep a copy of the unreadable settings file", err);
    }
}

int RemoveStaleSaveFiles(const std::wstring& progDir) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = progDir + L"\\" + kSettingsFileName + L".*.tmp";
    HANDLE find = FindFirstFileW(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int removed = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const DWORD owner = TemporaryFileOwner(found.cFileName, kSettingsFileName);
        if (owner == 0 || RunningInstance(owner))
            continue;
        const std::wstring file = progDir + L"\\" + found.cFileName;
        if (DeleteFileW(file.c_str()))
            ++removed;
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return removed;
}

void SaveSettingsFile(const std::wstring& path, std::span<const uint8_t> record) {
    std::vector<uint8_t> image;
    if (!EncodeSettingsFile(record, image)) {
        ThrowSaveError(path, L"the settings record cannot be compressed", ERROR_SUCCESS);
    }
    WriteFileAtomically(path, image);
}

void SaveSettingsAs(const std::wstring& path, TSettings& settings, TNotifierLists& lists, std::wstring& idKomp) {
    ShortenToRecordLimits(settings, idKomp, lists.ImapServers, lists.Accounts, lists.Events);
    const std::vector<uint8_t> record =
        BuildSettingsRecord(settings, idKomp, lists.ImapServers, lists.Accounts, lists.Events);
    SaveSettingsFile(path, record);
}

void SaveSettings(const std::wstring& progDir, TSettings& settings, TNotifierLists& lists, std::wstring& idKomp) {
    SaveSettingsAs(progDir + L"\\" + kSettingsFileName, settings, lists, idKomp);
}

bool LoadSettings(const std::wstring& progDir, TSettings& settings, TNotifierLists& lists, std::wstring& idKompFile) {
    const std::optional<std::string> file =
        ReadWholeFile(progDir + L"\\" + kSettingsFileName, kLzssMaxUncompressedSize);
    if (!file) {
        return false;
    }
    const std::vector<uint8_t> image(file->begin(), file->end());
    TSettingsRecordContent content;
    if (DecodeSettingsFile(image, content) != TSettingsReadResult::Ok) {
        return false;
    }
    // Room first, so that the commit below cannot stop halfway.
    lists.ImapServers.reserve(lists.ImapServers.size() + content.ImapServers.size());
    lists.Accounts.reserve(lists.Accounts.size() + content.Accounts.size());
    lists.Events.reserve(lists.Events.size() + content.Events.size());
    settings = std::move(content.Settings);
    idKompFile = std::move(content.IdKomp);
    for (auto& server : content.ImapServers) {
        lists.ImapServers.push_back(std::move(server));
    }
    for (auto& account : content.Accounts) {
        lists.Accounts.push_back(std::move(account));
    }
    for (auto& event : content.Events) {
        lists.Events.push_back(std::move(event));
    }
    return true;
}

void SaveSettings(TSettings& settings, TNotifierLists& lists, TPersistState& state) {
    SaveSettings(state.ProgDir, settings, lists, state.IdKomp);
}

bool LoadSettings(TSettings& settings, TNotifierLists& lists, TPersistState& state) {
    return LoadSettings(state.ProgDir, settings, lists, state.IdKompFile);
}
