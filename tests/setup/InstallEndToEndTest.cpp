// Setup end to end in a fresh Wine prefix and HOME (tests/setup/fresh-prefix.sh), driven page by page through its
// window texts as a user would. In order, each case standing on the one before:
//  - a Setup with a small payload (a notifier that writes where it was started, tiny files) installs into
//    C:\Program Files\Trelm Mail and starts that notifier there;
//  - the real Setup.exe, Belarusian and the start chosen: the eight files equal their sources padded to whole
//    blocks, the uninstall entry, the four shortcuts, "yazik.txt", the maker's page opened once (the prefix's http
//    handler records it), the installed Trelm Mail in Belarusian; then with a prepared settings file it announces a
//    letter of the Dovecot fixture, its TLS libraries loaded from the program folder;
//  - a second run proposes the same folder and restores an altered file; a cut Setup warns and writes nothing; a
//    target held open stops the installation with no file emptied;
//  - the uninstaller, answered Yes, leaves nothing of Setup's behind; with a hostile Start-menu folder name in the
//    entry it deletes no shortcut and no folder of the Start menu.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which they need.
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DovecotLetters.h"
#include "SetupDriver.h"
#include "TestSupport.h"
#include "app/LangTable.h"
#include "app/ResultProcessing.h"
#include "app/SettingsFile.h"
#include "base/ComPtr.h"
#include "base/Files.h"
#include "base/Utf.h"
#include "identity/MachineId.h"

using namespace trelm_test;

namespace {

const std::wstring kDir = L"C:\\Program Files\\Trelm Mail";
const wchar_t* const kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelm Mail";
constexpr DWORD kCopy = 120000;

std::wstring WinePathOf(const std::string& unixPath) {
    return nettest::WinePath(unixPath);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return path;
}

std::wstring RegString(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"<none>";
    return value;
}

// One slot of the build's list: the name Setup writes, its block size and the source file.
struct TSlot {
    std::wstring Name;
    size_t Block;
    std::wstring Source;
};

std::vector<TSlot> Slots() {
    std::vector<TSlot> slots;
    std::ifstream in(SETUP_SLOTS);
    std::string line;
    while (std::getline(in, line)) {
        const size_t a = line.find('\t'), b = line.find('\t', a + 1);
        if (a == std::string::npos || b == std::string::npos)
            continue;
        slots.push_back({Utf8ToWide(line.substr(0, a)), std::stoul(line.substr(a + 1, b - a - 1)),
                         WinePathOf(line.substr(b + 1))});
    }
    return slots;
}

std::string Padded(const TSlot& slot) {
    std::string bytes = ReadWholeFile(slot.Source, size_t{1} << 30).value_or(std::string());
    bytes.resize((bytes.size() + slot.Block - 1) / slot.Block * slot.Block, '\0');
    return bytes;
}

// The shortcut's target, working folder and description.
struct TLink {
    std::wstring Target, WorkDir, Description;
};
TLink ReadLink(const std::wstring& file) {
    TLink out;
    TComPtr<IShellLinkW> link;
    TComPtr<IPersistFile> persist;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.Put()))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.Put()))) ||
        FAILED(persist->Load(file.c_str(), STGM_READ)))
        return out;
    wchar_t buf[MAX_PATH] = {};
    if (SUCCEEDED(link->GetPath(buf, MAX_PATH, nullptr, 0)))
        out.Target = buf;
    buf[0] = 0;
    if (SUCCEEDED(link->GetWorkingDirectory(buf, MAX_PATH)))
        out.WorkDir = buf;
    buf[0] = 0;
    if (SUCCEEDED(link->GetDescription(buf, MAX_PATH)))
        out.Description = buf;
    return out;
}

// Top-level windows of every process with this TrelmName.
std::vector<HWND> TopsNamed(const std::wstring& name) {
    struct Ctx {
        const std::wstring* name;
        std::vector<HWND> out;
    } ctx{&name, {}};
    EnumWindows(
        [](HWND wnd, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            if (TrelmName(wnd) == *c->name)
                c->out.push_back(wnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.out;
}

void EndProcessOf(HWND wnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        TerminateProcess(p, 0);
        WaitForSingleObject(p, 5000);
        CloseHandle(p);
    }
}

// The file a module of process pid was loaded from, empty when it has none of that name.
std::wstring ModulePath(DWORD pid, const std::wstring& name) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snap == INVALID_HANDLE_VALUE)
        return std::wstring();
    MODULEENTRY32W m{};
    m.dwSize = sizeof m;
    std::wstring found;
    for (BOOL ok = Module32FirstW(snap, &m); ok; ok = Module32NextW(snap, &m))
        if (_wcsicmp(m.szModule, name.c_str()) == 0)
            found = m.szExePath;
    CloseHandle(snap);
    return found;
}

std::wstring RecorderLog() {
    return WinePathOf(SETUP_URL_LOG);
}

int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Runs an uninstaller from its folder and answers its question Yes; true when it ended.
bool RunUninstallerYes(const std::wstring& exe) {
    const std::wstring dir = exe.substr(0, exe.rfind(L'\\'));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    HWND ask = nullptr;
    const bool asked = WaitUntil([&] { return (ask = FindWindowW(nullptr, L"Удаление Trelm Mail")) != nullptr; }, 20000);
    if (asked)
        PostMessageW(ask, WM_COMMAND, IDYES, 0);
    const bool ended = WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0;
    CloseHandle(pi.hProcess);
    return asked && ended;
}

class SetupInstall : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }

    // Walks the wizard from its first page to the end of the copy; false (with the failure recorded) when a page
    // does not come.
    static bool WalkToCopyEnd(TSetupProcess& setup, std::wstring* proposed = nullptr) {
        EXPECT_TRUE(setup.NextTo(L"Лицензионное соглашение на  Trelm Mail"));
        setup.Press(L"Check2");
        EXPECT_TRUE(WaitUntil([&] { return setup.Enabled(L"Button_Next"); }, 3000));
        EXPECT_TRUE(setup.NextTo(L"Выбор каталога для  Trelm Mail"));
        if (proposed)
            *proposed = setup.TextOf(L"Edit3");
        EXPECT_TRUE(setup.NextTo(L"Программа Trelm Mail в Пуск -> программы"));
        if (!setup.NextTo(L"Установка  Trelm Mail")) {
            ADD_FAILURE() << "the confirmation page";
            return false;
        }
        EXPECT_EQ(setup.TextOf(L"Label5"), L"Устанавливается в " + kDir);
        setup.Press(L"Button_Next");
        return true;
    }
    static bool InstallDone(TSetupProcess& setup) {
        return setup.Title() == L"Установка  Trelm Mail  завершена." && setup.TextOf(L"Button_Next") == L"Готово";
    }
    // The language page: Belarusian when bel, the start box unchecked unless launch; Next ends Setup.
    static void Finish(TSetupProcess& setup, bool bel, bool launch) {
        if (bel) {
            setup.Press(L"Vbir_lang_bel");
            EXPECT_TRUE(WaitUntil([&] { return setup.Checked(L"Vbir_lang_bel"); }, 3000));
        }
        if (!launch) {
            setup.Press(L"Check6");
            EXPECT_TRUE(WaitUntil([&] { return !setup.Checked(L"Check6"); }, 3000));
        }
        setup.Press(L"Button_Next");
        EXPECT_TRUE(setup.WaitExit(20000)) << "Setup ends after the language page";
    }
    static std::map<std::wstring, std::string> InstalledFiles() {
        std::map<std::wstring, std::string> files;
        for (const TSlot& s : Slots())
            files[s.Name] = ReadWholeFile(kDir + s.Name, size_t{1} << 30).value_or(std::string("<missing>"));
        return files;
    }
    // A warning box with text naming file: its text read, then closed with its OK button.
    static void ExpectWarningNaming(TSetupProcess& setup, const std::wstring& file) {
        HWND box = setup.WaitBox(kCopy);
        ASSERT_NE(box, nullptr) << "a warning box";
        TWindowlessControl message;
        ASSERT_TRUE(TNotifierProcess::FindWindowless(box, L"Message", message));
        const std::wstring text = message.Text;
        Shot(box, L"setup-e2e-warning");
        EXPECT_NE(text.find(file), std::wstring::npos) << WideToUtf8(text);
        HWND ok = TNotifierProcess::Child(box, L"OK");
        ASSERT_NE(ok, nullptr);
        PostClick(ok);
        EXPECT_TRUE(WaitUntil([&] { return setup.Top(L"Внимание") == nullptr; }, 5000));
    }
};

TEST_F(SetupInstall, AStubPayloadInstallsAndItsNotifierRunsInTheProgramFolder) {
    TSetupProcess setup(WinePathOf(SETUP_STUB_EXE));
    ASSERT_TRUE(setup.Start());
    ASSERT_TRUE(WalkToCopyEnd(setup));
    ASSERT_TRUE(WaitUntil([&] { return InstallDone(setup); }, kCopy));
    Finish(setup, true, true);
    const std::wstring ran = kDir + L"\\stub-ran.txt";
    ASSERT_TRUE(WaitUntil([&] { return Exists(ran); }, 20000)) << "the stub notifier was started";
    const std::string folder = ReadWholeFile(ran).value_or(std::string());
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(folder.data()), folder.size() / 2), kDir);
    EXPECT_EQ(ReadWholeFile(kDir + L"\\yazik.txt"), std::string("\x01\0\0\0", 4));
}

TEST_F(SetupInstall, TheRealPayloadInstallsRegistersLinksAndStartsTrelmMailInBelarusian) {
    DeleteFileW(RecorderLog().c_str());
    TSetupProcess setup;
    ASSERT_TRUE(setup.Start());
    ASSERT_TRUE(WalkToCopyEnd(setup));
    ASSERT_TRUE(WaitUntil([&] { return InstallDone(setup); }, kCopy));
    ASSERT_TRUE(InstallDone(setup));
    EXPECT_FALSE(IsWindowVisible(setup.Ctl(L"Gauge5")));
    Finish(setup, true, true);

    // The eight files: their sources padded to whole blocks.
    const std::vector<TSlot> slots = Slots();
    ASSERT_EQ(slots.size(), 8u);
    for (const TSlot& s : slots)
        EXPECT_TRUE(ReadWholeFile(kDir + s.Name, size_t{1} << 30) == Padded(s)) << WideToUtf8(s.Name);
    EXPECT_TRUE(Exists(kDir + L"\\libssl-3-x64.dll"));
    std::printf("installed: %s holds libssl-3-x64.dll\n", WideToUtf8(kDir).c_str());

    EXPECT_EQ(RegString(L"UninstallString"), kDir + L"\\Uninstall_Trelm Mail.exe");
    EXPECT_EQ(RegString(L"DisplayName"), L"Trelm Mail");
    EXPECT_EQ(RegString(L"Nazva_Papki"), L"Trelm Mail");

    const std::wstring menu = SpecialFolder(CSIDL_PROGRAMS) + L"\\Trelm Mail\\";
    const std::wstring prog = kDir + L"\\Trelm Mail.exe";
    const std::vector<std::pair<std::wstring, std::wstring>> links = {
        {menu + L"Trelm Mail.lnk", prog},
        {menu + L"Uninstall Trelm Mail.lnk", kDir + L"\\Uninstall_Trelm Mail.exe"},
        {menu + L"Help Trelm Mail.lnk", kDir + L"\\TrelmMail_help.chm"},
        {SpecialFolder(CSIDL_DESKTOPDIRECTORY) + L"\\Trelm Mail.lnk", prog},
    };
    for (const auto& [file, target] : links) {
        const TLink l = ReadLink(file);
        EXPECT_EQ(_wcsicmp(l.Target.c_str(), target.c_str()), 0) << WideToUtf8(file) << " -> " << WideToUtf8(l.Target);
        EXPECT_EQ(_wcsicmp(l.WorkDir.c_str(), kDir.c_str()), 0) << WideToUtf8(file);
        EXPECT_EQ(l.Description, L"Trelm Mail от KESTA_LUN") << WideToUtf8(file);
    }
    EXPECT_EQ(ReadWholeFile(kDir + L"\\yazik.txt"), std::string("\x01\0\0\0", 4));

    // The installed program starts in Belarusian; the maker's page was opened once.
    std::vector<HWND> mains;
    ASSERT_TRUE(WaitUntil([&] { return !(mains = TopsNamed(L"AAForm1")).empty(); }, 30000)) << "Trelm Mail started";
    const TLangTable& bel = *BuiltInLangTable(1);
    std::wstring group;
    WaitUntil(
        [&] {
            TWindowlessControl w;
            HWND c = TNotifierProcess::Child(mains[0], L"GroupBox_NastrEm");
            group = c ? WindowText(c)
                      : (TNotifierProcess::FindWindowless(mains[0], L"GroupBox_NastrEm", w) ? w.Text : L"");
            return group == bel[15];
        },
        10000);
    EXPECT_EQ(group, bel[15]);
    EXPECT_TRUE(WaitUntil([&] { return Exists(RecorderLog()); }, 10000)) << "the maker's page";
    Sleep(500);
    const std::string urls = ReadWholeFile(RecorderLog()).value_or(std::string());
    EXPECT_EQ(CountOf(urls, "http://www.trelmmail.example/"), 1) << urls;
    for (HWND m : mains)
        EndProcessOf(m);
}

TEST_F(SetupInstall, TheInstalledTrelmMailAnnouncesALetterWithItsOwnTlsLibraries) {
    if (nettest::FixtureDir().empty())
        GTEST_SKIP() << "no Dovecot fixture (run through ctest)";
    ASSERT_TRUE(nettest::TrustTestCa());
    const int port = std::stoi(nettest::FixtureValue("PORT"));
    FixtureCtl({"reset", "user@example.test"});
    SaveLetter("user@example.test", 1704103200, kAnnWord, kPrivetWord);

    TSettings settings;
    settings.ProvEmSek = 5;
    settings.PovtorZvuk = false;
    settings.VremPokVspOkn = 600;
    TNotifierLists lists;
    auto account = std::make_unique<AListEm>();
    account->Login = L"user";
    account->Domain = L"example.test";
    account->Parol = L"secret";
    account->HostIMAP = L"localhost";
    account->PortIMAP = port;
    account->UrlVhod = L"http://127.0.0.1:9/user";
    lists.Accounts.push_back(std::move(account));
    lists.ImapServers.push_back(std::make_unique<AListImap>(AListImap{L"example.test", L"localhost", 993}));
    std::wstring id = GetMachineId();
    SaveSettingsAs(kDir + L"\\Posl.vkz", settings, lists, id);

    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + kDir + L"\\Trelm Mail.exe\"";
    SetEnvironmentVariableW(L"TRELM_MAKER_HOST", L"127.0.0.1:9");
    ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, kDir.c_str(), &si, &pi));
    SetEnvironmentVariableW(L"TRELM_MAKER_HOST", nullptr);
    CloseHandle(pi.hThread);
    // The tray tip counts the letter once the round is over.
    const std::wstring want = std::wstring(BuiltInLangTable(0)->at(kUnreadHintLine)) + L": 1";
    std::wstring tip;
    const bool announced = WaitUntil(
        [&] {
            struct Ctx {
                DWORD pid;
                std::wstring* tip;
            } ctx{pi.dwProcessId, &tip};
            EnumWindows(
                [](HWND wnd, LPARAM lp) -> BOOL {
                    auto* c = reinterpret_cast<Ctx*>(lp);
                    DWORD pid = 0;
                    GetWindowThreadProcessId(wnd, &pid);
                    wchar_t cls[64] = {};
                    GetClassNameW(wnd, cls, 64);
                    if (pid == c->pid && std::wstring(cls) == L"TbsTrayIconWindow")
                        *c->tip = WindowText(wnd);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&ctx));
            return tip == want;
        },
        60000);
    EXPECT_TRUE(announced) << WideToUtf8(tip);
    const std::wstring ssl = ModulePath(pi.dwProcessId, L"libssl-3-x64.dll");
    EXPECT_EQ(_wcsicmp(ssl.c_str(), (kDir + L"\\libssl-3-x64.dll").c_str()), 0) << WideToUtf8(ssl);
    if (announced)
        std::printf("installed: Trelm Mail.exe announced the letter (%s), TLS from %s\n", WideToUtf8(tip).c_str(),
                    WideToUtf8(ssl).c_str());
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
}

TEST_F(SetupInstall, ASecondRunProposesTheSameFolderAndRestoresAnAlteredFile) {
    const std::wstring help = kDir + L"\\TrelmMail_help.chm";
    const auto before = ReadWholeFile(help);
    ASSERT_TRUE(before.has_value());
    HANDLE f = CreateFileW(help.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    WriteFile(f, "altered", 7, &n, nullptr);
    CloseHandle(f);

    TSetupProcess setup;
    ASSERT_TRUE(setup.Start());
    std::wstring proposed;
    ASSERT_TRUE(WalkToCopyEnd(setup, &proposed));
    EXPECT_EQ(proposed, kDir);
    ASSERT_TRUE(WaitUntil([&] { return InstallDone(setup); }, kCopy));
    Finish(setup, false, false);
    EXPECT_TRUE(ReadWholeFile(help) == before) << "the help file is whole again";
    EXPECT_EQ(ReadWholeFile(kDir + L"\\yazik.txt"), std::string("\0\0\0\0", 4));
}

TEST_F(SetupInstall, ACutSetupWarnsAndWritesNothing) {
    // The real installer without its last kilobytes, beside a fresh entry-less registry.
    const auto whole = ReadWholeFile(TestExeFolder() + L"\\Setup.exe", size_t{1} << 30);
    ASSERT_TRUE(whole.has_value());
    const std::wstring folder = L"C:\\cut-setup";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring cut = folder + L"\\Setup.exe";
    HANDLE f = CreateFileW(cut.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    WriteFile(f, whole->data(), static_cast<DWORD>(whole->size() - 1000), &n, nullptr);
    CloseHandle(f);
    RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
    const auto files = InstalledFiles();

    TSetupProcess setup(cut);
    ASSERT_TRUE(setup.Start());
    ASSERT_TRUE(WalkToCopyEnd(setup));
    ExpectWarningNaming(setup, cut);
    // Back on the confirmation page: no "Готово", Next installs again.
    EXPECT_TRUE(WaitUntil([&] { return setup.TextOf(L"Button_Next") == L"Установить"; }, 3000));
    EXPECT_EQ(setup.Title(), L"Установка  Trelm Mail");
    EXPECT_EQ(RegString(L"UninstallString"), L"<none>") << "no uninstall entry";
    EXPECT_TRUE(InstalledFiles() == files) << "no file touched";
    setup.Kill();
}

TEST_F(SetupInstall, ATargetHeldOpenStopsTheCopyWithNoFileEmptied) {
    const auto files = InstalledFiles();
    const std::wstring held = kDir + L"\\budilnik.wav";
    HANDLE lock = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    TSetupProcess setup;
    ASSERT_TRUE(setup.Start());
    ASSERT_TRUE(WalkToCopyEnd(setup));
    ExpectWarningNaming(setup, held);
    EXPECT_TRUE(WaitUntil([&] { return setup.TextOf(L"Button_Next") == L"Установить"; }, 3000));
    CloseHandle(lock);
    EXPECT_TRUE(InstalledFiles() == files) << "every file as it was";
    setup.Kill();
}

TEST_F(SetupInstall, TheUninstallerAnsweredYesLeavesNothingOfSetupsBehind) {
    // The settings file and the stub's note are the user's and the stub's: out of the way to see the folder go.
    DeleteFileW((kDir + L"\\Posl.vkz").c_str());
    DeleteFileW((kDir + L"\\stub-ran.txt").c_str());
    ASSERT_EQ(RegString(L"Nazva_Papki"), L"Trelm Mail");
    ASSERT_TRUE(RunUninstallerYes(kDir + L"\\Uninstall_Trelm Mail.exe"));
    EXPECT_TRUE(WaitUntil([&] { return !Exists(kDir); }, 20000)) << "the emptied program folder goes";
    for (const TSlot& s : Slots())
        EXPECT_FALSE(Exists(kDir + s.Name)) << WideToUtf8(s.Name);
    EXPECT_FALSE(Exists(SpecialFolder(CSIDL_PROGRAMS) + L"\\Trelm Mail"));
    EXPECT_FALSE(Exists(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + L"\\Trelm Mail.lnk"));
    EXPECT_EQ(RegString(L"DisplayName"), L"<none>");
}

TEST_F(SetupInstall, AHostileStartMenuNameInTheEntryDeletesNoShortcutAndNoFolder) {
    // Shortcut-named files where a trusting uninstaller would reach with these names, and a real Start-menu folder.
    const std::wstring programs = SpecialFolder(CSIDL_PROGRAMS);
    const std::wstring up = programs + L"\\..\\..";
    CreateDirectoryW(L"C:\\x", nullptr);
    CreateDirectoryW((programs + L"\\Trelm Mail").c_str(), nullptr);
    std::vector<std::wstring> bait;
    for (const std::wstring& dir : {up, std::wstring(L"C:\\x"), programs + L"\\Trelm Mail", programs})
        for (const wchar_t* name : {L"Uninstall Trelm Mail.lnk", L"Help Trelm Mail.lnk"})
            bait.push_back(dir + L"\\" + name);
    bait.push_back(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + L"\\.lnk");
    for (const std::wstring& file : bait) {
        HANDLE f = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE) << WideToUtf8(file);
        CloseHandle(f);
    }
    const std::wstring dir = L"C:\\uninstall-case";
    const std::wstring exe = dir + L"\\Uninstall_Trelm Mail.exe";
    for (const wchar_t* hostile : {L"..\\..", L"C:\\x", L""}) {
        CreateDirectoryW(dir.c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(WinePathOf(SETUP_UNINSTALLER).c_str(), exe.c_str(), FALSE));
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, L"Nazva_Papki", 0, REG_SZ, reinterpret_cast<const BYTE*>(hostile),
                       static_cast<DWORD>((wcslen(hostile) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        ASSERT_TRUE(RunUninstallerYes(exe)) << WideToUtf8(hostile);
        EXPECT_TRUE(WaitUntil([&] { return !Exists(exe); }, 20000)) << "the uninstaller's own file goes last";
        for (const std::wstring& file : bait)
            EXPECT_TRUE(Exists(file)) << WideToUtf8(hostile) << ": " << WideToUtf8(file);
        EXPECT_EQ(RegString(L"Nazva_Papki"), L"<none>");
    }
}

}  // namespace
