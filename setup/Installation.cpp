#include "setup/Installation.h"

bool InstallationAvailable() {
    return false;
}

void Ustanov(const TInstallChoice& Choice, const std::function<void(int)>& Progress, std::wstring& ProgPath) {
    // Without a payload no file is written and no entry made; the path stays unset.
    (void)Choice;
    (void)Progress;
    ProgPath.clear();
}
