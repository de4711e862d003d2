// TbsSkinOpenSoundDialog: the open dialog for sound files, with a Play and a Stop button under the file list that run
// the owner's handlers while the window is open, so the owner can preview the selected file (GetSelectedFile).
//
// Controls by Name: those of TbsSkinOpenDialog and "PlayButton", "StopButton" (BM_CLICK presses them).
//
// Ownership and threads as TbsSkinOpenDialog.
#pragma once

#include "skin/dialogs/OpenDialog.h"

class TbsSkinOpenSoundDialog : public TbsSkinOpenDialog {
  public:
    // Title "Open sound"; client 630 x 400 by default, never below 550 x 360.
    explicit TbsSkinOpenSoundDialog(TComponent* AOwner);

    TNotifyEvent OnPlayButtonClick;  // sender: the Play button
    TNotifyEvent OnStopButtonClick;  // sender: the Stop button, and this component once right after the window closed

  protected:
    bool HasSoundPanel() const override { return true; }
    void PlayClicked(TObject* Sender) override;
    void StopClicked(TObject* Sender) override;
    void AfterModal() override;
};
