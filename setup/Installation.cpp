#include "setup/Installation.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <vector>

#include "app/Autostart.h"
#include "app/WebLinks.h"
#include "base/Handles.h"
#include "setup/SetupSystem.h"

namespace {

// Blocks are read and written this many bytes at a time (a multiple of both block sizes); the gauge still moves
// one step at a time.
constexpr DWORD kChunk = 64 * 1024;

std::wstring Joined(const std::wstring& a, const std::wstring& b) {
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return a + L"\r" + b;
}

bool WriteAll(HANDLE file, const char* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool ReadAll(HANDLE file, char* data, DWORD size) {
    DWORD read = 0;
    return ReadFile(file, data, size, &read, nullptr) && read == size;
}

// The installer's own file, opened with full sharing so that a running copy can read it; its size.
TFileHandle OpenSetupFile(const std::wstring& path, std::uint64_t& size) {
    TFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER li{};
    if (!file || !GetFileSizeEx(file.Get(), &li))
        return TFileHandle();
    size = static_cast<std::uint64_t>(li.QuadPart);
    return file;
}

// Where the payload starts in the open file, when the file holds all of it.
std::optional<std::uint64_t> WholePayloadAt(HANDLE file, std::uint64_t size, const TPayloadTable& table) {
    std::string head(static_cast<size_t>(std::min<std::uint64_t>(size, kPayloadHeaderRead)), '\0');
    if (!ReadAll(file, head.data(), static_cast<DWORD>(head.size())))
        return std::nullopt;
    const std::optional<std::uint64_t> start = PayloadStart(head);
    if (!start || *start > size || size - *start < PayloadBytes(table))
        return std::nullopt;
    return start;
}

bool SetValue(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring LinkWarning(const std::wstring& link) {
    return L"Не удалось создать ярлык " + link;
}

}  // namespace

std::wstring UninstalPap(const TInstallChoice& Choice) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS)
        return std::wstring(L"Не удалось записать в реестр HKEY_CURRENT_USER\\") + kUninstallKey;
    TRegKeyHandle key(raw);
    const std::array<std::pair<const wchar_t*, std::wstring>, 3> values{{
        {L"UninstallString", Choice.InstallDir + kUninstallerName},
        {L"DisplayName", Choice.ProgName},
        {L"Nazva_Papki", Choice.FolderName},
    }};
    for (const auto& [name, value] : values)
        if (!SetValue(raw, name, value))
            return std::wstring(L"Не удалось записать в реестр HKEY_CURRENT_USER\\") + kUninstallKey + L" (" + name +
                   L")";
    return std::wstring();
}

TInstallOutcome Ustanov(const TInstallChoice& Choice,
                        const TGaugeObnov& GaugeObnov,
                        std::wstring& ProgPath,
                        const std::wstring& SetupPath,
                        const TPayloadTable& Table) {
    TInstallOutcome out;
    // The payload first: a cut installer writes nothing, not even the uninstall entry.
    std::uint64_t setupSize = 0;
    TFileHandle setup = OpenSetupFile(SetupPath, setupSize);
    const std::optional<std::uint64_t> start =
        setup ? WholePayloadAt(setup.Get(), setupSize, Table) : std::optional<std::uint64_t>();
    if (!start) {
        out.Warning = L"Файл установки повреждён или неполон: " + SetupPath;
        return out;
    }
    out.Warning = UninstalPap(Choice);
    if (!out.Warning.empty())
        return out;

    CreateDirectoryW(Choice.InstallDir.c_str(), nullptr);
    // Every target open before any is emptied: one held by another program stops the installation with the
    // earlier installation's files intact.
    std::vector<TFileHandle> targets;
    for (const TPayloadSlot& slot : Table) {
        const std::wstring path = Choice.InstallDir + slot.Name;
        TFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            out.Warning = L"Не удалось открыть файл для записи: " + path;
            return out;
        }
        targets.push_back(std::move(file));
    }
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(*start);
    if (!SetFilePointerEx(setup.Get(), at, nullptr, FILE_BEGIN)) {
        out.Warning = L"Ошибка чтения файла установки: " + SetupPath;
        return out;
    }

    const std::uint64_t total = PayloadBlocks(Table);
    std::uint64_t copied = 0;
    std::vector<char> buffer(kChunk);
    for (size_t i = 0; i < Table.size(); ++i) {
        const TPayloadSlot& slot = Table[i];
        const std::wstring path = Choice.InstallDir + slot.Name;
        HANDLE target = targets[i].Get();
        if (!SetEndOfFile(target)) {
            out.Warning = L"Ошибка записи файла: " + path;
            return out;
        }
        std::uint64_t left = slot.Bytes();
        while (left > 0) {
            const DWORD n = static_cast<DWORD>(std::min<std::uint64_t>(left, kChunk));
            if (!ReadAll(setup.Get(), buffer.data(), n)) {
                out.Warning = L"Ошибка чтения файла установки: " + SetupPath;
                return out;
            }
            if (!WriteAll(target, buffer.data(), n)) {
                out.Warning = L"Ошибка записи файла: " + path;
                return out;
            }
            left -= n;
            copied += n / slot.BlockSize;
            if (GaugeObnov)
                GaugeObnov(copied, total);
        }
        // A full disk can still refuse the data at the close.
        if (!FlushFileBuffers(target) || !CloseHandle(targets[i].Detach())) {
            out.Warning = L"Ошибка записи файла: " + path;
            return out;
        }
    }
    setup.Reset();
    ProgPath = Choice.InstallDir + kProgramName;
    out.Completed = true;

    // Shortcuts that fail join the warning; the installation itself is done.
    const std::wstring workDir = Choice.InstallDir;
    if (Choice.StartMenuFlag) {
        const std::wstring programs = GetSpecialFolderLocation(CSIDL_PROGRAMS);
        const std::wstring folder = Kosaya(programs) + Choice.FolderName;
        CreateDirectoryW(folder.c_str(), nullptr);
        const std::array<std::pair<std::wstring, std::wstring>, 3> links{{
            {folder + L"\\" + Choice.FolderName + L".lnk", ProgPath},
            {folder + L"\\Uninstall Trelm Mail.lnk", Choice.InstallDir + kUninstallerName},
            {folder + L"\\Help Trelm Mail.lnk", Choice.InstallDir + L"\\TrelmMail_help.chm"},
        }};
        for (const auto& [link, target] : links)
            if (programs.empty() || !CreateLink(workDir, target, kLinkDescription, link))
                out.Warning = Joined(out.Warning, LinkWarning(link));
    }
    if (Choice.DesktopFlag) {
        const std::wstring desktop = GetSpecialFolderLocation(CSIDL_DESKTOPDIRECTORY);
        const std::wstring link = Kosaya(desktop) + Choice.FolderName + L".lnk";
        if (desktop.empty() || !CreateLink(workDir, ProgPath, kLinkDescription, link))
            out.Warning = Joined(out.Warning, LinkWarning(link));
    }
    return out;
}

std::wstring MakerPage() {
    return std::wstring(L"http://") + kMakerHost + L"/";
}

std::wstring FinishInstallation(const std::wstring& ProgPath, int LangIndex, bool Launch, HWND Owner) {
    std::wstring warning;
    const std::wstring folder = ProgPath.substr(0, ProgPath.rfind(L'\\') + 1);
    const std::wstring yazik = folder + L"yazik.txt";
    {
        TFileHandle file(CreateFileW(yazik.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        const std::int32_t index = LangIndex;
        if (!file || !WriteAll(file.Get(), reinterpret_cast<const char*>(&index), sizeof index) ||
            !CloseHandle(file.Detach()))
            warning = L"Не удалось записать файл " + yazik;
    }
    ShellExecuteW(nullptr, L"open", MakerPage().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (Launch)
        ShellExecuteW(Owner, L"Open", ProgPath.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
    return warning;
}
