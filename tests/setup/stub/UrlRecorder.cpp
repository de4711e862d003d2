// The end-to-end prefix's http handler: appends each address it is asked to open as a line to "urls.log" beside
// itself, so that the test counts the pages Setup opened without a browser.
#include <windows.h>

#include <string>

#include "base/Files.h"
#include "base/Utf.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR args, int) {
    const std::string line = WideToUtf8(args ? args : L"") + "\n";
    HANDLE log = CreateFileW((ProgramFolder() + L"urls.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    return 0;
}
