// Sounds: the beep, the self-freeing sound thread and the small rules around sound files.
#include "app/Sounds.h"

#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include <atomic>
#include <memory>

#include "app/FileNames.h"
#include "base/Handles.h"
#include "base/Report.h"
#include "base/Text.h"

namespace {

class TSystemSound : public TSoundSink {
  public:
    void Beep(unsigned type) override { MessageBeep(type); }
    void PlayFile(const std::wstring& path) override { sndPlaySoundW(path.c_str(), SND_FILENAME); }
};

TSystemSound gSystemSound;
std::atomic<TSoundSink*> gSink{&gSystemSound};

}  // namespace

void SetSoundSink(TSoundSink* sink) {
    gSink = sink ? sink : &gSystemSound;
}

void InfoBeep() {
    gSink.load()->Beep(MB_ICONASTERISK);
}

std::wstring SoundFilePath(const std::wstring& setting, const std::wstring& progDir) {
    if (TrimText(setting).empty())
        return {};
    return InProgramFolder(setting, progDir);
}

bool TThread_Zvuk::Create(const std::wstring& fils) {
    auto self = std::unique_ptr<TThread_Zvuk>(new TThread_Zvuk(fils));
    HANDLE thread = CreateThread(nullptr, 0, &TThread_Zvuk::Execute, self.get(), 0, nullptr);
    if (!thread)
        return false;
    // The thread owns its object from here and frees it at its end; nobody waits for it.
    (void)self.release();
    CloseHandle(thread);
    return true;
}

unsigned long __stdcall TThread_Zvuk::Execute(void* param) {
    std::unique_ptr<TThread_Zvuk> self(static_cast<TThread_Zvuk*>(param));
    try {
        // Touching the file first lets a file still being written by another program settle; the result does
        // not matter (a missing file plays the system's default sound).
        TFileHandle touch(CreateFileW(self->fils_.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
        touch.Reset();
        gSink.load()->PlayFile(self->fils_);
    } catch (...) {
        ReportCaught("TThread_Zvuk::Execute");
        // A sound is never worth ending the program for.
    }
    return 0;
}

void PlaySoundFile(bool useStandard, const std::wstring& setting, const std::wstring& progDir) {
    if (useStandard) {
        InfoBeep();
        return;
    }
    TThread_Zvuk::Create(SoundFilePath(setting, progDir));
}

std::wstring StoredFileName(const std::wstring& path, const std::wstring& progDir, bool ignoreCase) {
    const std::wstring folder = FolderOf(path);
    const bool same = ignoreCase
                          ? CompareStringOrdinal(folder.c_str(), static_cast<int>(folder.size()), progDir.c_str(),
                                                 static_cast<int>(progDir.size()), TRUE) == CSTR_EQUAL
                          : folder == progDir;
    if (!same || folder.empty())
        return path;
    return NameOf(path);
}

uint8_t ViewStyleToByte(int style) {
    return style >= 1 && style <= 6 ? static_cast<uint8_t>(style) : 0;
}

int ByteToViewStyle(uint8_t value) {
    return value >= 1 && value <= 6 ? value : 0;
}
