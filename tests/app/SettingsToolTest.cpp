// settings_tool: its JSON form reproduces a settings file exactly, rejects bad input with a clear error, and the
// program's dump, write and default commands agree with what the notifier itself writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TestProcess.h"
#include "app/SettingsFile.h"
#include "app/SettingsRecord.h"
#include "identity/MachineId.h"
#include "tools/settings_tool/SettingsJson.h"

namespace {

using trelm_test::Bytes;

TSettingsRecordContent Awkward() {
    TSettingsRecordContent c;
    c.Settings.SkinIndex = 255;
    c.Settings.ProvEmSek = -2147483647 - 1;
    c.Settings.SoundDlgWidth = 2147483647;
    c.Settings.FZvuk = L"C:\\\"quoted\"\\\x0437\x0432\x0443\x043A.wav";
    c.Settings.FZvukN = L"tab\tnewline\ncr\r\x0001\x001F\x007F";
    c.Settings.LangFile = L"pair \xD83D\xDE00 lone high \xD800 lone low \xDC00 end";
    c.Settings.PassZapusk = L"\xDBFF\xDFFF";
    c.Settings.LangIndex = 2;
    c.IdKomp = L"WINEHDISK";
    auto server = std::make_unique<AListImap>();
    server->Url = L"mail.ru";
    server->UrlImap = L"imap.mail.ru";
    server->PortImap = 993;
    c.ImapServers.push_back(std::move(server));
    auto account = std::make_unique<AListEm>();
    account->Domain = L"\x044F\x043D\x0434\x0435\x043A\x0441.\x0440\x0444";
    account->Login = L"a/b";
    account->Parol = L"p\\w";
    account->PortIMAP = -1;
    c.Accounts.push_back(std::move(account));
    for (double time : {0.0, 0.1, 1.0 / 3.0, -0.0, 5e-324, 1.7976931348623157e308}) {
        auto event = std::make_unique<AListSob>();
        event->Name = L"t";
        event->Time = time;
        event->Date = 45000;
        event->DnNedel[2] = event->DnNedel[6] = true;
        c.Events.push_back(std::move(event));
    }
    auto nan = std::make_unique<AListSob>();
    nan->Time = std::bit_cast<double>(uint64_t{0x7FF8000000000123});
    c.Events.push_back(std::move(nan));
    return c;
}

TEST(SettingsJson, ReproducesTheRecordExactly) {
    const TSettingsRecordContent content = Awkward();
    const std::string json = SettingsToJson(content);
    const TSettingsRecordContent back = SettingsFromJson(json);
    EXPECT_EQ(BuildSettingsRecord(back), BuildSettingsRecord(content));
    EXPECT_EQ(SettingsToJson(back), json);
}

TEST(SettingsJson, WritesReadableUtf8AndEscapesOnlyWhatItMust) {
    TSettingsRecordContent c;
    c.Settings.FZvuk = L"\x0437\xD83D\xDE00\xD800\"\\";
    const std::string json = SettingsToJson(c);
    EXPECT_NE(json.find("\"FZvuk\": \"\xD0\xB7\xF0\x9F\x98\x80\\uD800\\\"\\\\\""), std::string::npos) << json;
}

TEST(SettingsJson, EscapesAreUtf16Units) {
    const TSettingsRecordContent c = SettingsFromJson(
        R"({"Settings": {"FZvuk": "\uD83D\uDE00", "FZvukN": "\ud800x", "LangFile": "\u0041\/\b\f\n\r\t"},
            "IdKomp": "😀"})");
    EXPECT_EQ(c.Settings.FZvuk, L"\xD83D\xDE00");
    EXPECT_EQ(c.Settings.FZvukN, L"\xD800x");
    EXPECT_EQ(c.Settings.LangFile, L"A/\b\f\n\r\t");
    EXPECT_EQ(c.IdKomp, L"\xD83D\xDE00");
}

TEST(SettingsJson, MissingKeysKeepTheDefaults) {
    const TSettingsRecordContent c = SettingsFromJson("\xEF\xBB\xBF { \"Settings\": {\"VTray\": true} }");
    TSettings expected;
    expected.VTray = true;
    EXPECT_TRUE(c.Settings == expected);
    EXPECT_TRUE(c.IdKomp.empty());
    EXPECT_TRUE(c.Accounts.empty());
}

TEST(SettingsJson, RejectsBadInputWithAClearError) {
    const struct {
        const char* Name;
        std::string Json;
        const char* Mentions;
    } cases[] = {
        {"empty", "", "line 1"},
        {"unterminated object", "{", "line 1"},
        {"trailing text", "{} x", "after the JSON value"},
        {"error on line 3", "{\n\"Settings\": {\n\"VTray\": tru}}", "line 3"},
        {"unknown key", R"({"Setings": {}})", "Setings"},
        {"unknown setting", R"({"Settings": {"Skin": 1}})", "Settings.Skin"},
        {"duplicate key", R"({"IdKomp": "a", "IdKomp": "b"})", "twice"},
        {"wrong type", R"({"Settings": {"VTray": 1}})", "Settings.VTray"},
        {"byte out of range", R"({"Settings": {"SkinIndex": 256}})", "SkinIndex"},
        {"negative byte", R"({"Settings": {"LangIndex": -1}})", "LangIndex"},
        {"int32 out of range", R"({"ImapServers": [{"PortImap": 2147483648}]})", "ImapServers[0].PortImap"},
        {"fraction for an integer", R"({"Settings": {"ProvEmSek": 60.5}})", "ProvEmSek"},
        {"huge integer", R"({"Settings": {"ProvEmSek": 99999999999999999999999}})", "ProvEmSek"},
        {"leading zero", R"({"Settings": {"ProvEmSek": 060}})", "line 1"},
        {"day 8", R"({"Events": [{"DnNedel": [1, 8]}]})", "Events[0].DnNedel[1]"},
        {"day 0", R"({"Events": [{"DnNedel": [0]}]})", "DnNedel"},
        {"bad time string", R"({"Events": [{"Time": "12"}]})", "Events[0].Time"},
        {"other version", R"({"Version": "2.20"})", "Version"},
        {"NUL in a string", R"({"IdKomp": "a\u0000b"})", "U+0000"},
        {"raw control character", "{\"IdKomp\": \"a\x01\"}", "control character"},
        {"unknown escape", R"({"IdKomp": "\q"})", "escape"},
        {"short \\u", R"({"IdKomp": "\u12"})", "hex digits"},
        {"overlong UTF-8", "{\"IdKomp\": \"\xC0\x80\"}", "UTF-8"},
        {"UTF-8 surrogate", "{\"IdKomp\": \"\xED\xA0\x80\"}", "UTF-8"},
        {"cut UTF-8", "{\"IdKomp\": \"\xE2\x82", "UTF-8"},
        {"above U+10FFFF", "{\"IdKomp\": \"\xF4\x90\x80\x80\"}", "UTF-8"},
        {"deep nesting", std::string(100000, '['), "nested"},
        {"not an object", "[]", "expected an object"},
        {"list not an array", R"({"Accounts": {}})", "Accounts"},
    };
    for (const auto& c : cases) {
        try {
            SettingsFromJson(c.Json);
            ADD_FAILURE() << c.Name << ": accepted";
        } catch (const TJsonError& e) {
            EXPECT_NE(std::string(e.what()).find(c.Mentions), std::string::npos) << c.Name << ": " << e.what();
        }
    }
}

// ---------------------------------------------------------------------------------------------------------------
// The program itself

class TToolRun {
  public:
    // Runs settings_tool with the arguments; standard output goes to outPath when given.
    static DWORD Run(const std::wstring& args, const std::wstring& outPath = L"") {
        const std::wstring exe = GetProgramDir() + L"\\settings_tool.exe";
        std::wstring command = L"\"" + exe + L"\" " + args;
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE out = CreateFileW(outPath.empty() ? L"NUL" : outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                 CREATE_ALWAYS, 0, nullptr);
        HANDLE err = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out;
        si.hStdError = err;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        const DWORD code = trelm_test::RunProgram(exe, command, 60000, &si).ExitCode;
        CloseHandle(out);
        CloseHandle(err);
        return code;
    }
};

class SettingsToolProgram : public ::testing::Test {
  protected:
    std::wstring Path(const wchar_t* name) const { return dir_.File(name); }
    static std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
    static Bytes Read(const std::wstring& path) { return trelm_test::ReadFileBytes(path); }

    trelm_test::TTempDir dir_;
};

TEST_F(SettingsToolProgram, DumpThenWriteGivesTheSameFile) {
    SaveSettingsFile(Path(L"a.vkz"), BuildSettingsRecord(Awkward()));
    ASSERT_EQ(TToolRun::Run(L"dump " + Quoted(Path(L"a.vkz")), Path(L"a.json")), 0u);
    const Bytes json = Read(Path(L"a.json"));
    ASSERT_FALSE(json.empty());
    ASSERT_EQ(TToolRun::Run(L"write " + Quoted(Path(L"a.json")) + L" " + Quoted(Path(L"b.vkz"))), 0u);
    EXPECT_EQ(Read(Path(L"b.vkz")), Read(Path(L"a.vkz")));
}

TEST_F(SettingsToolProgram, DefaultIsWhatTheFirstApplyWrites) {
    ASSERT_EQ(TToolRun::Run(L"default " + Quoted(Path(L"default.vkz"))), 0u);
    TSettings settings;
    TNotifierLists lists;
    const std::wstring machineId = GetMachineId();
    std::wstring idKomp = machineId;
    SaveSettings(dir_.Path(), settings, lists, idKomp);
    const Bytes expected = Read(Path(L"Posl.vkz"));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Read(Path(L"default.vkz")), expected);

    TSettingsRecordContent content;
    ASSERT_EQ(DecodeSettingsFile(Read(Path(L"default.vkz")), content), TSettingsReadResult::Ok);
    EXPECT_TRUE(content.Settings == TSettings{});
    EXPECT_EQ(content.IdKomp, machineId);
}

TEST_F(SettingsToolProgram, BadInputFailsWithoutWriting) {
    ASSERT_TRUE(trelm_test::WriteFileBytes(Path(L"bad.json"), "{\"Settings\": {\"SkinIndex\": 300}}"));
    EXPECT_EQ(TToolRun::Run(L"write " + Quoted(Path(L"bad.json")) + L" " + Quoted(Path(L"b.vkz"))), 2u);
    EXPECT_TRUE(Read(Path(L"b.vkz")).empty());

    ASSERT_TRUE(trelm_test::WriteFileBytes(Path(L"a.vkz"), "not a settings file at all, just some text"));
    EXPECT_EQ(TToolRun::Run(L"dump " + Quoted(Path(L"a.vkz")), Path(L"a.json")), 2u);
    EXPECT_EQ(TToolRun::Run(L"dump " + Quoted(Path(L"missing.vkz"))), 2u);
    EXPECT_EQ(TToolRun::Run(L"frobnicate"), 1u);
    EXPECT_EQ(TToolRun::Run(L""), 1u);
}

}  // namespace
