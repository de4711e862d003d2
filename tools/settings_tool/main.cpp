// settings_tool: developer tool for the notifier's settings file (not shipped).
//   settings_tool dump <file>            print the file as JSON (UTF-8) on standard output
//   settings_tool write <json> <file>    write a settings file from such JSON
//   settings_tool default <file>         write the file the notifier's first Apply writes on this computer
// Exit codes: 0 done, 1 wrong usage, 2 the input could not be used or the file could not be written.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/SettingsFile.h"
#include "app/SettingsRecord.h"
#include "identity/MachineId.h"
#include "tools/settings_tool/SettingsJson.h"

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitFailed = 2;
constexpr size_t kMaxInputSize = 64u * 1024 * 1024;

std::string Narrow(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "settings_tool: %s\n", message.c_str());
    return kExitFailed;
}

bool ReadInput(const std::wstring& path, std::vector<uint8_t>& data, std::string& error) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot open " + Narrow(path);
        return false;
    }
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 && static_cast<uint64_t>(size.QuadPart) <= kMaxInputSize;
    if (ok) {
        data.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) && read == data.size();
    }
    CloseHandle(file);
    if (!ok) {
        error = "cannot read " + Narrow(path) + " (missing, unreadable or over 64 MiB)";
    }
    return ok;
}

int Dump(const std::wstring& path) {
    std::vector<uint8_t> image;
    std::string error;
    if (!ReadInput(path, image, error)) {
        return Fail(error);
    }
    TSettingsRecordContent content;
    switch (DecodeSettingsFile(image, content)) {
        case TSettingsReadResult::Ok:
            break;
        case TSettingsReadResult::OtherVersion:
            return Fail(Narrow(path) + " is not a settings file of version " + kSettingsVersion +
                        " (the notifier ignores it)");
        case TSettingsReadResult::Damaged:
            return Fail(Narrow(path) + " is damaged or not a settings file (the notifier ignores it)");
    }
    const std::string json = SettingsToJson(content);
    _setmode(_fileno(stdout), _O_BINARY);
    if (std::fwrite(json.data(), 1, json.size(), stdout) != json.size() || std::fflush(stdout) != 0) {
        return Fail("cannot write the output");
    }
    return 0;
}

int Write(const std::wstring& jsonPath, const std::wstring& path) {
    std::vector<uint8_t> json;
    std::string error;
    if (!ReadInput(jsonPath, json, error)) {
        return Fail(error);
    }
    try {
        const TSettingsRecordContent content =
            SettingsFromJson(std::string_view(reinterpret_cast<const char*>(json.data()), json.size()));
        SaveSettingsFile(path, BuildSettingsRecord(content));
    } catch (const TJsonError& e) {
        return Fail(Narrow(jsonPath) + ": " + e.what());
    } catch (const TSettingsSaveError& e) {
        return Fail(e.what());
    }
    return 0;
}

// The notifier's first Apply: default settings, empty lists, this computer's identity.
int WriteDefault(const std::wstring& path) {
    TSettings settings;
    TNotifierLists lists;
    std::wstring idKomp = GetMachineId();
    try {
        SaveSettingsAs(path, settings, lists, idKomp);
    } catch (const TSettingsSaveError& e) {
        return Fail(e.what());
    }
    return 0;
}

int Usage() {
    std::fputs(
        "usage: settings_tool dump <file>\n"
        "       settings_tool write <json> <file>\n"
        "       settings_tool default <file>\n",
        stderr);
    return kExitUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    try {
        if (args.size() == 2 && args[0] == L"dump") {
            return Dump(args[1]);
        }
        if (args.size() == 3 && args[0] == L"write") {
            return Write(args[1], args[2]);
        }
        if (args.size() == 2 && args[0] == L"default") {
            return WriteDefault(args[1]);
        }
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
    return Usage();
}
