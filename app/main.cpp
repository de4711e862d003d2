// Trelm Mail's program body: the application and its main window.
#include <windows.h>

#include <cstdlib>
#include <mutex>
#include <string>

#include "app/MainForm.h"
#include "app/Sounds.h"
#include "app/WebLinks.h"
#include "base/Handles.h"
#include "base/Utf.h"
#include "skin/core/SkinText.h"

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

// TRELM_SOUND_LOG=file: every sound is appended to the file as one UTF-8 line ("beep 64", "play <path>") instead
// of being played, so that a test driving the program can hear it.
class TSoundLog : public TSoundSink {
  public:
    explicit TSoundLog(std::wstring path) : path_(std::move(path)) {}
    void Beep(unsigned type) override { Append("beep " + std::to_string(type)); }
    void PlayFile(const std::wstring& path) override { Append("play " + WideToUtf8(path)); }

  private:
    void Append(const std::string& line) {
        const std::string bytes = line + "\r\n";
        std::lock_guard<std::mutex> lock(mutex_);
        TFileHandle file(CreateFileW(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (file.Valid())
            WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    std::wstring path_;
    std::mutex mutex_;
};

void TakeSoundLogFromEnvironment() {
    wchar_t value[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(L"TRELM_SOUND_LOG", value, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    // Lives to the end of the process: sound threads may still be writing when the program ends.
    static TSoundLog log{std::wstring(value, n)};
    SetSoundSink(&log);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    TakeMakerHostFromEnvironment();
    TakeSoundLogFromEnvironment();
    // The notifier's glows: the text drawn into the mask in place and shifted by one pixel each way.
    SetEffectTextMaskCopies(5);
    return RunMainWindow();
}
