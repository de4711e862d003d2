// Setup's program body: the wizard window and the message loop. No command line, no environment.
#include <windows.h>
// After windows.h, which it needs.
#include <ole2.h>

#include "setup/WizardForm.h"
#include "skin/core/SkinText.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The shortcuts are written through the shell's link object.
    const HRESULT ole = OleInitialize(nullptr);
    // The installer's glows draw the text into their mask once.
    SetEffectTextMaskCopies(1);
    const int rc = RunWizard();
    if (SUCCEEDED(ole))
        OleUninitialize();
    return rc;
}
