// GetMachineId on the machine the tests run on: a stable, well-formed identity (a source letter and up to eight
// capitals), the same in another process, reached without leaving COM changed on the calling thread. Under Wine the
// disk serial comes only from WMI ("WINEHDISK"); the device-level requests fail there as on a machine without such
// hardware.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>

#include <string>
#include <thread>

#include "TestFiles.h"
#include "TestProcess.h"
#include "identity/HDDInfo.h"
#include "identity/MachineId.h"
#include "identity/Win32MachineQueries.h"

namespace {

constexpr wchar_t kOutVariable[] = L"TRELM_IDENTITY_OUT";

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// A source letter from the list of sources, then up to eight capitals.
bool IsWellFormedId(const std::wstring& id) {
    if (id.empty() || id.size() > 9)
        return false;
    if (std::wstring(L"BCDEFGHIJKOPMS").find(id[0]) == std::wstring::npos)
        return false;
    for (size_t i = 1; i < id.size(); ++i) {
        if (id[i] < L'A' || id[i] > L'Z')
            return false;
    }
    return true;
}

TEST(GetMachineId, StableAndWellFormed) {
    const std::wstring first = GetMachineId();
    const std::wstring second = GetMachineId();
    EXPECT_TRUE(IsWellFormedId(first)) << testing::PrintToString(first);
    EXPECT_EQ(first, second);
    if (UnderWine()) {
        EXPECT_EQ(first, L"JINEHDISK");  // only WMI knows Wine's disk
    }
}

// Run by SameInAnotherProcess in a child process; writes the identity to the file the parent names.
TEST(GetMachineId, DISABLED_ChildWritesIdentity) {
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(kOutVariable, path, MAX_PATH), 0u);
    const std::wstring id = GetMachineId();
    ASSERT_TRUE(trelm_test::WriteFileBytes(path, std::string(id.begin(), id.end())));
}

TEST(GetMachineId, SameInAnotherProcess) {
    wchar_t exe[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    trelm_test::TTempDir dir;
    const std::wstring outPath = dir.File(L"child-identity.txt");
    ASSERT_TRUE(SetEnvironmentVariableW(kOutVariable, outPath.c_str()));

    const std::wstring command =
        L"\"" + std::wstring(exe) +
        L"\" --gtest_also_run_disabled_tests --gtest_filter=GetMachineId.DISABLED_ChildWritesIdentity";
    const trelm_test::TProgramRun run = trelm_test::RunProgram(L"", command, 120000);
    SetEnvironmentVariableW(kOutVariable, nullptr);
    ASSERT_TRUE(run.Started);
    ASSERT_TRUE(run.Finished);
    ASSERT_EQ(run.ExitCode, 0u);

    const std::string childId = trelm_test::ReadFileString(outPath);
    EXPECT_EQ(std::wstring(childId.begin(), childId.end()), GetMachineId());
}

TEST(GetMachineId, LeavesComOnTheCallingThreadAsItFoundIt) {
    std::wstring plainThreadId;
    HRESULT afterPlain = E_FAIL;
    std::thread([&] {
        plainThreadId = GetMachineId();
        afterPlain = CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // S_OK: nothing was left initialised
        if (SUCCEEDED(afterPlain))
            CoUninitialize();
    }).join();
    EXPECT_EQ(afterPlain, S_OK);

    std::wstring mtaThreadId;
    HRESULT afterMta = E_FAIL;
    std::thread([&] {
        const HRESULT own = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        mtaThreadId = GetMachineId();
        afterMta = CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // S_FALSE: still in its own apartment
        if (SUCCEEDED(afterMta))
            CoUninitialize();
        if (SUCCEEDED(own))
            CoUninitialize();
    }).join();
    EXPECT_EQ(afterMta, S_FALSE);

    // WMI answers on both kinds of thread, so both give the same identity as this one.
    const std::wstring here = GetMachineId();
    EXPECT_EQ(plainThreadId, here);
    EXPECT_EQ(mtaThreadId, here);
}

TEST(Win32Identification, WindowsNineXMethodsFailCleanly) {
    identity::Win32MachineQueries queries;
    identity::THDDInfo info(queries);
    ASSERT_TRUE(info.isNT());
    info.SetMethod(identity::gim9x);
    try {
        info.SetDrive(identity::dPrimaryMaster);
        FAIL() << "port access worked on the NT family";
    } catch (const identity::THDDInfoError& e) {
        EXPECT_STREQ(e.what(), identity::kErrNoDevice);
    }
    info.SetMethod(identity::gimASPI);
    EXPECT_THROW(info.SetDrive(identity::dPrimaryMaster), identity::THDDInfoError);
}

TEST(Win32Identification, WmiGivesWinesDiskSerial) {
    if (!UnderWine())
        GTEST_SKIP() << "Wine's disk only";
    identity::Win32MachineQueries queries;
    identity::THDDInfo info(queries);
    info.SetMethod(identity::gimWMI);
    info.SetDrive(identity::dPrimaryMaster);
    EXPECT_EQ(info.Serial(), "WINEHDISK");
    EXPECT_EQ(info.Model(), "Wine Disk Drive");
    info.SetMethod(identity::gimNT);
    EXPECT_THROW(info.SetDrive(identity::dPrimaryMaster), identity::THDDInfoError);
}

}  // namespace
