// TbsSkinOpenSoundDialog: the open dialog for sound files. Its window (TbsOpenSoundDlgForm) has, between the file
// list and the bottom panel, a small tool bar with Play and Stop that run the owner's handlers while the window is
// open, so the owner can preview the selected file (GetSelectedFile); the stop handler runs once more right after the
// window closed.
//
// Controls by Name: those of TbsSkinOpenDialog and "SoundPanel" with "PlayButton", "StopButton" (BM_CLICK presses
// them).
//
// Ownership and threads as TbsSkinOpenDialog.
#pragma once

#include "skin/dialogs/OpenDialog.h"

class TbsOpenSoundDlgForm : public TbsOpenDlgForm {
  public:
    using TbsOpenDlgForm::TbsOpenDlgForm;
    // Only the filter gives a typed name its extension.
    std::wstring DialogDefaultExt() override;

    TbsSkinButton *PlayButton = nullptr, *StopButton = nullptr;
    TbsSkinToolBar* SoundPanel = nullptr;

  protected:
    void CreateExtraPanels(TCustomImageList* AToolBarImageList, bool AToolButtonsTransparent) override;

  private:
    std::unique_ptr<TBitmap> FPlayGlyph, FStopGlyph;
};

class TbsSkinOpenSoundDialog : public TbsSkinOpenDialog {
  public:
    // Title "Open sound"; client 630 x 400 by default, never below 550 x 360.
    explicit TbsSkinOpenSoundDialog(TComponent* AOwner);

    TNotifyEvent OnPlayButtonClick;  // sender: the Play button
    TNotifyEvent OnStopButtonClick;  // sender: the Stop button, and this component once right after the window closed

  protected:
    std::unique_ptr<TbsOpenDlgForm> NewForm() override;
    void PrepareForm(TbsOpenDlgForm* Form) override;
    void AfterModal() override;
    bool UsesDefaultExt() const override { return false; }
};
