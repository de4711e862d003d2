// Failure reports: one line each, "[Trelm] <where>: <what>", to the debugger and to the TRELM_LOG file.
#include "base/Report.h"

#include <windows.h>

#include <exception>
#include <mutex>
#include <string>

#include "base/Utf.h"

namespace {

std::mutex gReportLock;

std::wstring LogPath() {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableW(L"TRELM_LOG", buffer, static_cast<DWORD>(std::size(buffer)));
    return (n > 0 && n < std::size(buffer)) ? std::wstring(buffer, n) : std::wstring();
}

void WriteLine(std::string_view where, std::string_view what) noexcept {
    try {
        std::string line = "[Trelm] ";
        line.append(where).append(": ").append(what.empty() ? std::string_view("failure") : what).append("\r\n");
        OutputDebugStringW(Utf8ToWide(line).c_str());
        const std::wstring path = LogPath();
        if (path.empty()) return;
        std::lock_guard<std::mutex> hold(gReportLock);
        // Opened for each line so that reports from several processes and a log removed meanwhile both work.
        HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
    } catch (...) {
        // Out of memory while reporting: nothing more can be said.
    }
}

}  // namespace

void ReportCaught(std::string_view where) noexcept {
    try {
        if (auto current = std::current_exception()) std::rethrow_exception(current);
    } catch (const std::exception& e) {
        WriteLine(where, e.what());
        return;
    } catch (...) {
    }
    WriteLine(where, "unknown exception");
}

void ReportFailure(std::string_view where, std::string_view what) noexcept { WriteLine(where, what); }
