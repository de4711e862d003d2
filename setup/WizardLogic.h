// What the installer's wizard decides without windows: the year-like code of the Windows version, the string
// helpers its folder handling uses (InvertS, PosR2L, Kosaya), the target-folder proposal from what the registry and
// the disks report, the free-space line of the folder page and the pages' titles. The window (WizardForm.*) feeds
// these with what the system says (SetupSystem.*). No windows.h here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Kosaya: the notifier's own, shared with its autostart shortcut.
#include "app/Autostart.h"

// The program's name and its Start-menu folder name.
inline constexpr const wchar_t* kProgName = L"Trelm Mail";
inline constexpr const wchar_t* kFolderName = L"Trelm Mail";

// 4.0 1995, 4.10 1998, 4.90 1999, 5.0 2000, 5.1 2001, 6.0 2005, 6.1 2012, 6.2 2013, 6.3 2014, 10.0 2015, 10.1 2016;
// every other version 9999.
int WinVerCode(unsigned Major, unsigned Minor);

std::wstring InvertS(const std::wstring& S);
// The 1-based position of the last occurrence of SubStr in S (case-sensitive); 0 when there is none or SubStr is
// empty.
int PosR2L(const std::wstring& SubStr, const std::wstring& S);
// Everything before the last backslash of Path (empty without one).
std::wstring FolderPartOf(const std::wstring& Path);

// What the proposal reads from the system.
struct TProposalInputs {
    std::wstring UninstallString;  // "UninstallString" of the earlier installation's entry (empty: none)
    std::int64_t FreeDBytes = -1;  // free bytes on D: (-1: no such drive)
    int WinVer = 9999;             // WinVerCode of the running system
    std::wstring ProgramFilesDir;  // "ProgramFilesDir" of the machine's CurrentVersion key
    std::function<bool(const std::wstring&)> FolderExists;  // a folder (or a drive's root, "X:\") exists
};
// The folder the folder page opens at: the earlier installation's folder without its trailing "Trelm Mail"
// (stepped up to its nearest existing parent when it has gone), else D:\ on a system after XP with more than 10 MB
// free there, else the Program Files folder, else D:\ with room, else C:\.
std::wstring ProposeTargetFolder(const TProposalInputs& In, const std::wstring& FolderName = kFolderName);

// Mb as "#,###" writes it: the digits grouped by three with Separator (none when 0), then " Mb".
std::wstring FormatMegabytes(std::int64_t Mb, wchar_t Separator);
// "Программе необходимо 7 Mb. На диске  X:  <free> свободно."
std::wstring FreeSpaceLine(wchar_t Letter, const std::wstring& Free);

// The title each step shows, and the caption of Next there.
std::wstring StepTitle(int Step, const std::wstring& ProgName = kProgName);
std::wstring NextCaption(int Step);
