// GetMachineId on the machine the tests run on: a stable identity of the documented form, the same in another
// process, reached without leaving COM changed on the calling thread. Under Wine the disk serial comes only
// from WMI ("WINEHDISK"); the device-level requests fail there as on a machine without such hardware.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "identity/HDDInfo.h"
#include "identity/MachineId.h"
#include "identity/Win32MachineQueries.h"

namespace {

constexpr wchar_t kOutVariable[] = L"TRELM_IDENTITY_OUT";

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool HasDocumentedForm(const std::wstring& id) {
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

TEST(GetMachineId, StableAndOfTheDocumentedForm) {
    const std::wstring first = GetMachineId();
    const std::wstring second = GetMachineId();
    EXPECT_TRUE(HasDocumentedForm(first)) << testing::PrintToString(first);
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
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out << std::string(id.begin(), id.end());
}

TEST(GetMachineId, SameInAnotherProcess) {
    wchar_t exe[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring outPath = std::wstring(temp) + L"trelm_identity_child.txt";
    DeleteFileW(outPath.c_str());
    ASSERT_TRUE(SetEnvironmentVariableW(kOutVariable, outPath.c_str()));

    std::wstring command =
        L"\"" + std::wstring(exe) +
        L"\" --gtest_also_run_disabled_tests --gtest_filter=GetMachineId.DISABLED_ChildWritesIdentity";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    const DWORD waited = WaitForSingleObject(process.hProcess, 120000);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SetEnvironmentVariableW(kOutVariable, nullptr);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    ASSERT_EQ(exitCode, 0u);

    std::ifstream in(std::filesystem::path(outPath), std::ios::binary);
    std::string childId;
    std::getline(in, childId);
    in.close();
    DeleteFileW(outPath.c_str());
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
