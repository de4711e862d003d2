// settings_tool: developer tool for the notifier's settings file (not shipped).
//   settings_tool dump <file>            print the file as JSON (UTF-8) on standard output
//   settings_tool write <json> <file>    write a settings file from such JSON
//   settings_tool default <file>         write the file the notifier's first Apply writes on this computer
// Exit codes: 0 done, 1 wrong usage, 2 the input could not be used or the file could not be written.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/SettingsFile.h"
#include "app/SettingsRecord.h"
#include "base/Files.h"
#include "base/Utf.h"
#include "identity/MachineId.h"
#include "tools/settings_tool/SettingsJson.h"

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitFailed = 2;
constexpr size_t kMaxInputSize = 64u * 1024 * 1024;

int Fail(const std::string& message) {
    std::fprintf(stderr, "settings_tool: %s\n", message.c_str());
    return kExitFailed;
}

bool ReadInput(const std::wstring& path, std::vector<uint8_t>& data, std::string& error) {
    const std::optional<std::string> file = ReadWholeFile(path, kMaxInputSize);
    if (!file) {
        error = "cannot read " + WideToUtf8(path) + " (missing, unreadable or over 64 MiB)";
        return false;
    }
    data.assign(file->begin(), file->end());
    return true;
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
            return Fail(WideToUtf8(path) + " is not a settings file of version " + kSettingsVersion +
                        " (the notifier ignores it)");
        case TSettingsReadResult::Damaged:
            return Fail(WideToUtf8(path) + " is damaged or not a settings file (the notifier ignores it)");
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
        return Fail(WideToUtf8(jsonPath) + ": " + e.what());
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
