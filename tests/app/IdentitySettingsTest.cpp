// The machine identity in the settings file: a file written on another computer carries an identity different
// from this computer's (which locks the program behind its start password), and the file written here carries
// this computer's, so it opens without one.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestFiles.h"
#include "TestProcess.h"
#include "app/DataModel.h"
#include "app/SettingsFile.h"
#include "identity/MachineId.h"

namespace {

class IdentitySettings : public ::testing::Test {
  protected:
    std::wstring SettingsPath() const { return dir_.File(L"Posl.vkz"); }

    // What the main window keeps after loading: the identity the file carries (empty without a file).
    std::wstring LoadIdKompFile() const {
        TSettings settings;
        TNotifierLists lists;
        std::wstring idKompFile;
        LoadSettings(dir_.Path(), settings, lists, idKompFile);
        return idKompFile;
    }

    void SaveWithIdentity(std::wstring idKomp) const {
        TSettings settings;
        TNotifierLists lists;
        SaveSettings(dir_.Path(), settings, lists, idKomp);
    }

    trelm_test::TTempDir dir_;
};

TEST_F(IdentitySettings, FileFromAnotherComputerIsRecognised) {
    const std::wstring idKomp = GetMachineId();
    ASSERT_FALSE(idKomp.empty());
    // Another computer's identity: same form, another letter at the end.
    std::wstring foreign = idKomp;
    foreign.back() = foreign.back() == L'A' ? L'B' : L'A';

    SaveWithIdentity(foreign);
    const std::wstring fromForeignFile = LoadIdKompFile();
    EXPECT_EQ(fromForeignFile, foreign);
    EXPECT_NE(fromForeignFile, idKomp);  // written on another computer

    SaveWithIdentity(idKomp);
    EXPECT_EQ(LoadIdKompFile(), idKomp);  // written here: no lock by identity
}

TEST_F(IdentitySettings, NoFileCountsAsAnotherComputer) {
    EXPECT_NE(LoadIdKompFile(), GetMachineId());
}

TEST_F(IdentitySettings, DefaultFileOfTheToolCarriesThisComputersIdentity) {
    const std::wstring exe = GetProgramDir() + L"\\settings_tool.exe";
    std::wstring command = L"\"" + exe + L"\" default \"" + SettingsPath() + L"\"";
    const trelm_test::TProgramRun run = trelm_test::RunProgram(exe, command, 120000);
    ASSERT_TRUE(run.Started);
    ASSERT_TRUE(run.Finished);
    ASSERT_EQ(run.ExitCode, 0u);

    EXPECT_EQ(LoadIdKompFile(), GetMachineId());
}

}  // namespace
