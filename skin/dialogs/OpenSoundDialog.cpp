// The sound variant of the open dialog: its defaults and the preview handlers.
#include "skin/dialogs/OpenSoundDialog.h"

TbsSkinOpenSoundDialog::TbsSkinOpenSoundDialog(TComponent* AOwner) : TbsSkinOpenDialog(AOwner) {
    Title = L"Open sound";
    defaultWidth_ = 630;
    defaultHeight_ = 400;
    minWidth_ = 550;
    minHeight_ = 360;
}

void TbsSkinOpenSoundDialog::PlayClicked(TObject* Sender) {
    if (OnPlayButtonClick)
        OnPlayButtonClick(Sender);
}

void TbsSkinOpenSoundDialog::StopClicked(TObject* Sender) {
    if (OnStopButtonClick)
        OnStopButtonClick(Sender);
}

void TbsSkinOpenSoundDialog::AfterModal() {
    // Whatever plays stops when the window goes.
    if (OnStopButtonClick)
        OnStopButtonClick(this);
}
