// Setup's program body: the wizard window and the message loop. No command line, no environment.
#include <windows.h>

#include "setup/WizardForm.h"
#include "skin/core/SkinText.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The installer's glows draw the text into their mask once.
    SetEffectTextMaskCopies(1);
    return RunWizard();
}
