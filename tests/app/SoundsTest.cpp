// Sounds: the beep or a file played on a thread of its own (recorded through the sound sink), file settings,
// the pickers' stored names, the list-style byte, and the two sound files the build makes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <mutex>

#include "TestFiles.h"
#include "app/FileNames.h"
#include "app/Sounds.h"
#include "base/Files.h"

namespace {

class RecordingSound : public TSoundSink {
  public:
    RecordingSound() { played_ = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~RecordingSound() override { CloseHandle(played_); }
    void Beep(unsigned type) override { beeps.push_back(type); }
    void PlayFile(const std::wstring& path) override {
        std::lock_guard<std::mutex> lock(mutex_);
        files.push_back(path);
        threads.push_back(GetCurrentThreadId());
        SetEvent(played_);
    }
    bool WaitPlayed(DWORD ms = 5000) { return WaitForSingleObject(played_, ms) == WAIT_OBJECT_0; }
    std::vector<unsigned> beeps;
    std::vector<std::wstring> files;
    std::vector<DWORD> threads;

  private:
    std::mutex mutex_;
    HANDLE played_;
};

class SoundsTest : public ::testing::Test {
  protected:
    void SetUp() override { SetSoundSink(&sink_); }
    void TearDown() override { SetSoundSink(nullptr); }
    RecordingSound sink_;
};

TEST_F(SoundsTest, StandardSoundOnlyBeeps) {
    PlaySoundFile(true, L"prishol_mail.wav", L"C:\\Prog");
    EXPECT_EQ(sink_.beeps, std::vector<unsigned>{MB_ICONASTERISK});
    EXPECT_FALSE(sink_.WaitPlayed(300));
    EXPECT_TRUE(sink_.files.empty());
}

TEST_F(SoundsTest, FilePlaysOnItsOwnThread) {
    struct Case {
        const wchar_t* setting;
        const wchar_t* path;
    };
    const Case cases[] = {
        {L"prishol_mail.wav", L"C:\\Prog\\prishol_mail.wav"},
        {L"D:\\Sounds\\ding.wav", L"D:\\Sounds\\ding.wav"},
        {L"   ", L""},
    };
    for (const Case& c : cases) {
        RecordingSound sink;
        SetSoundSink(&sink);
        PlaySoundFile(false, c.setting, L"C:\\Prog");
        ASSERT_TRUE(sink.WaitPlayed()) << c.setting;
        // The thread frees itself after the sink returns; give it the moment it needs before the sink goes.
        Sleep(50);
        SetSoundSink(&sink_);
        ASSERT_EQ(sink.files.size(), 1u);
        EXPECT_EQ(sink.files[0], c.path);
        EXPECT_NE(sink.threads[0], GetCurrentThreadId());
        EXPECT_TRUE(sink.beeps.empty());
    }
}

TEST(SoundRules, StoredFileNames) {
    struct Case {
        const wchar_t* path;
        bool ignoreCase;
        const wchar_t* stored;
    };
    const Case cases[] = {
        {L"C:\\Prog\\ding.wav", false, L"ding.wav"},
        {L"c:\\prog\\ding.wav", false, L"c:\\prog\\ding.wav"},
        {L"c:\\prog\\ru.lng", true, L"ru.lng"},
        {L"C:\\Prog\\Sub\\ding.wav", false, L"C:\\Prog\\Sub\\ding.wav"},
        {L"C:\\Other\\ding.wav", true, L"C:\\Other\\ding.wav"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StoredFileName(c.path, L"C:\\Prog", c.ignoreCase), c.stored) << c.path;
}

TEST(SoundRules, FileNameParts) {
    struct Case {
        const wchar_t* path;
        bool folder;
        const wchar_t* folderPart;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"ding.wav", false, L"", L"ding.wav"},
        {L"C:\\ding.wav", true, L"C:\\", L"ding.wav"},
        {L"C:\\A\\B\\ding.wav", true, L"C:\\A\\B", L"ding.wav"},
        {L"C:ding.wav", true, L"C:", L"ding.wav"},
        {L"sub/ding.wav", true, L"sub", L"ding.wav"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HasFolderPart(c.path), c.folder) << c.path;
        EXPECT_EQ(FolderOf(c.path), c.folderPart) << c.path;
        EXPECT_EQ(NameOf(c.path), c.name) << c.path;
    }
}

TEST(SoundRules, ViewStyleByte) {
    for (int style = 0; style <= 6; ++style) {
        EXPECT_EQ(ViewStyleToByte(style), style);
        EXPECT_EQ(ByteToViewStyle(static_cast<uint8_t>(style)), style);
    }
    EXPECT_EQ(ViewStyleToByte(7), 0);
    EXPECT_EQ(ViewStyleToByte(-1), 0);
    EXPECT_EQ(ByteToViewStyle(200), 0);
}

// The shipped sounds: PCM WAV files the system can play, short enough for a notification, not silent.
TEST(SoundFiles, BuiltSoundsArePlayablePcm) {
    for (const wchar_t* name : {kMailSoundFile, kAlarmSoundFile}) {
        const std::optional<std::string> data = ReadWholeFile(ProgramFolder() + name);
        ASSERT_TRUE(data) << name;
        ASSERT_GT(data->size(), 44u);
        EXPECT_EQ(data->substr(0, 4), "RIFF");
        EXPECT_EQ(data->substr(8, 8), "WAVEfmt ");
        uint16_t format, channels, bits;
        uint32_t rate, dataSize;
        std::memcpy(&format, data->data() + 20, 2);
        std::memcpy(&channels, data->data() + 22, 2);
        std::memcpy(&rate, data->data() + 24, 4);
        std::memcpy(&bits, data->data() + 34, 2);
        std::memcpy(&dataSize, data->data() + 40, 4);
        EXPECT_EQ(format, 1);
        EXPECT_EQ(channels, 1);
        EXPECT_EQ(bits, 16);
        const double seconds = dataSize / 2.0 / rate;
        EXPECT_GT(seconds, 0.3) << name;
        EXPECT_LT(seconds, 2.0) << name;
        int peak = 0;
        for (size_t i = 44; i + 1 < data->size(); i += 2) {
            int16_t s;
            std::memcpy(&s, data->data() + i, 2);
            peak = std::max(peak, std::abs(int(s)));
        }
        EXPECT_GT(peak, 10000) << name;
        EXPECT_LT(peak, 32767) << name;  // headroom: never clipped
    }
}

}  // namespace
