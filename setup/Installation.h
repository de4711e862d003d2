// The installation step of the wizard and its last step: the uninstall entry, the eight files copied out of the
// payload behind Setup's own image while the gauge runs, the shortcuts, then "yazik.txt", the maker's page and the
// start of the installed program.
//
// Nothing is written unless Setup's file holds the whole payload, and no target is emptied before all eight are open
// for writing: a short installer or a target held open by another program stops the installation with nothing lost.
// Every read and write is checked; a failure names the file in the warning the wizard shows. GUI thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "setup/Payload.h"

struct TInstallChoice {
    std::wstring InstallDir;  // the target folder (chosen folder + program name), without a trailing backslash
    std::wstring ProgName;
    std::wstring FolderName;  // the Start-menu folder
    bool StartMenuFlag = true;
    bool DesktopFlag = true;
};

struct TInstallOutcome {
    bool Completed = false;  // every file written: the wizard goes on to the language page
    std::wstring Warning;    // the lines for one warning box; empty when nothing went wrong
};

// Copied blocks so far of Total.
using TGaugeObnov = std::function<void(std::uint64_t Copied, std::uint64_t Total)>;

inline constexpr const wchar_t* kLinkDescription = L"Trelm Mail от KESTA_LUN";
inline constexpr const wchar_t* kUninstallerName = L"\\Uninstall_Trelm Mail.exe";
inline constexpr const wchar_t* kProgramName = L"\\Trelm Mail.exe";

// Writes "UninstallString", "DisplayName" and "Nazva_Papki" under the uninstall key; a warning line naming what
// failed, empty on success.
std::wstring UninstalPap(const TInstallChoice& Choice);
// The installation from the payload of the file SetupPath (normally the running program), with its table. ProgPath
// receives the installed program's path once the files are written.
TInstallOutcome Ustanov(const TInstallChoice& Choice,
                        const TGaugeObnov& GaugeObnov,
                        std::wstring& ProgPath,
                        const std::wstring& SetupPath,
                        const TPayloadTable& Table = kPayloadTable);
// The page opened after every completed installation.
std::wstring MakerPage();
// The last step: "yazik.txt" beside ProgPath with LangIndex, the maker's page, and the program started from its
// folder when Launch. Returns a warning line when the language file could not be written.
std::wstring FinishInstallation(const std::wstring& ProgPath, int LangIndex, bool Launch, HWND Owner);
