// Running a program from a test and waiting for it. Test code only.
#pragma once

#include <windows.h>

#include <string>

namespace trelm_test {

struct TProgramRun {
    bool Started = false;         // CreateProcess succeeded
    bool Finished = false;        // it ended within the time allowed
    DWORD ExitCode = 0xFFFFFFFF;  // STILL_ACTIVE when it did not finish (then ended); 0xFFFFFFFF when it did not start
};

// Runs command (application may be empty: then the command's first word names it) and waits up to timeoutMs.
// With startup, the process gets that STARTUPINFOW and inherits the inheritable handles.
inline TProgramRun RunProgram(const std::wstring& application,
                              std::wstring command,
                              DWORD timeoutMs,
                              STARTUPINFOW* startup = nullptr) {
    TProgramRun run;
    STARTUPINFOW plain{};
    plain.cb = sizeof plain;
    PROCESS_INFORMATION process{};
    run.Started =
        CreateProcessW(application.empty() ? nullptr : application.c_str(), command.data(), nullptr, nullptr,
                       startup ? TRUE : FALSE, 0, nullptr, nullptr, startup ? startup : &plain, &process) != FALSE;
    if (!run.Started) {
        return run;
    }
    run.Finished = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!run.Finished) {
        // A hung program must not outlive its test (and keep a core busy).
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        run.ExitCode = STILL_ACTIVE;
    } else {
        GetExitCodeProcess(process.hProcess, &run.ExitCode);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

}  // namespace trelm_test
