// Trelm Mail's program body: the application and its main window.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/MainForm.h"
#include "app/WebLinks.h"

namespace {

// TRELM_MAKER_HOST=host[:port] points the maker's site elsewhere: the tests serve the server list on loopback.
void TakeMakerHostFromEnvironment() {
    wchar_t value[256] = {};
    const DWORD n = GetEnvironmentVariableW(L"TRELM_MAKER_HOST", value, 256);
    if (n == 0 || n >= 256)
        return;
    std::wstring host(value, n);
    const size_t colon = host.rfind(L':');
    if (colon != std::wstring::npos) {
        MakerSite().port = static_cast<uint16_t>(std::wcstoul(host.c_str() + colon + 1, nullptr, 10));
        host.resize(colon);
    }
    MakerSite().host = host;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    TakeMakerHostFromEnvironment();
    return RunMainWindow();
}
