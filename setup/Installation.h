// The installation step of the wizard: what it hands over and the one function that does the work. The payload
// that carries the notifier's files is not part of this build yet, so there is nothing to install:
// InstallationAvailable() is false and the wizard keeps its "Установить" button disabled, so that no run can report
// an installation that copied nothing.
#pragma once

#include <functional>
#include <string>

struct TInstallChoice {
    std::wstring InstallDir;  // the target folder (chosen folder + program name), without a trailing backslash
    std::wstring ProgName;
    std::wstring FolderName;  // the Start-menu folder
    bool StartMenuFlag = true;
    bool DesktopFlag = true;
};

bool InstallationAvailable();
// Installs into Choice.InstallDir, reporting progress 0..100 through Progress; ProgPath receives the installed
// program's path. Runs only when InstallationAvailable().
void Ustanov(const TInstallChoice& Choice, const std::function<void(int)>& Progress, std::wstring& ProgPath);
