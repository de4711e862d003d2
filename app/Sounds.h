// The notifier's sounds: the standard information beep, or a WAV file played by a short-lived thread of its own
// so that the GUI thread never waits for it; the sound-file setting and the sound dialog's remembered list style.
// Index: TSoundSink, SetSoundSink, InfoBeep, SoundFilePath, TThread_Zvuk, PlaySoundFile, StoredFileName,
// ViewStyleToByte, ByteToViewStyle.
#pragma once

#include <cstdint>
#include <string>

// The sounds of the notifier, made by scripts/make-sounds.py; file settings name them without a folder.
inline constexpr const wchar_t* kMailSoundFile = L"prishol_mail.wav";
inline constexpr const wchar_t* kAlarmSoundFile = L"budilnik.wav";

// Where sounds go. The default plays them through the system; tests install a recorder.
class TSoundSink {
  public:
    virtual ~TSoundSink() = default;
    // MessageBeep with this type, on the calling thread.
    virtual void Beep(unsigned type) = 0;
    // Plays the file synchronously; called on the sound thread.
    virtual void PlayFile(const std::wstring& path) = 0;
};
// nullptr puts the system back. The sink must outlive every sound thread started while it is set.
void SetSoundSink(TSoundSink* sink);

// MessageBeep(64), the information sound that ends every user action.
void InfoBeep();

// The file a setting names: empty when blank, the setting itself when it has a folder, else progDir\setting.
std::wstring SoundFilePath(const std::wstring& setting, const std::wstring& progDir);

// One playback: owns its path, starts at once and frees itself when the sound has played.
class TThread_Zvuk {
  public:
    // False when the thread could not be started (nothing plays then).
    static bool Create(const std::wstring& fils);

  private:
    explicit TThread_Zvuk(std::wstring fils) : fils_(std::move(fils)) {}
    static unsigned long __stdcall Execute(void* self);
    std::wstring fils_;
};

// The standard beep when useStandard, else the file of the setting on a sound thread (an empty or missing file
// makes the system play its default sound).
void PlaySoundFile(bool useStandard, const std::wstring& setting, const std::wstring& progDir);

// What a picker stores for a chosen file: its bare name when it lies in progDir, else its full path. The sound
// pickers compare the folder exactly, the language picker ignoring letter case.
std::wstring StoredFileName(const std::wstring& path, const std::wstring& progDir, bool ignoreCase);

// The sound dialog's list style (the shell list view's style number: icon 0, small icon 1, list 2, report 3,
// thumbnails 4, big thumbnails 5, very big thumbnails 6) to the stored byte and back; others become 0.
uint8_t ViewStyleToByte(int style);
int ByteToViewStyle(uint8_t value);
