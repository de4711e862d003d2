// TbsSkinOpenSoundDialog: picks a sound file in a modal window built for every Execute: a folder line with Up, a
// view-style box, the file list (a list view of the folder's sub-folders and the files matching the filter), a Play
// and a Stop button that run the owner's handlers while the window is open, the file name edit, the filter box and
// Open and Cancel. The window's size and the list's view style are remembered between runs.
//
// Index: TbsShellListViewStyle, TbsOpenSoundDlgForm, TbsSkinOpenSoundDialog.
//
// Controls by Name: "FolderEdit", "UpButton", "StyleComboBox", "FileListView", "PlayButton", "StopButton",
// "FileNameEdit", "FilterComboBox", "OpenButton", "CancelButton" (and the labels "FolderLabel", "FileNameLabel",
// "FileTypeLabel"). The window text is Title.
//
// Ownership: the window is owned by the application object and freed inside Execute; the containers are borrowed
// and cleared by notification. GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "classlib/Classes.h"
#include "classlib/ComCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "skin/dialogs/DialogControls.h"

enum TbsShellListViewStyle {
    bsvsIcon,
    bsvsSmallIcon,
    bsvsList,
    bsvsReport,
    bsvsThumbnails,
    bsvsBigThumbnails,
    bsvsVeryBigThumbnails
};

class TbsOpenSoundDlgForm;

class TbsSkinOpenSoundDialog : public TbsSkinDialogComponent {
  public:
    explicit TbsSkinOpenSoundDialog(TComponent* AOwner);
    ~TbsSkinOpenSoundDialog() override;

    // True when the user accepted an existing file: FileName then holds its full path and Files the selection.
    // Whatever the answer, FilterIndex, DialogWidth, DialogHeight and ListViewStyle hold the window's last state
    // and OnStopButtonClick has run once with this component as sender.
    bool Execute();
    // The full path of the file selected in the open window's list; empty when none is open or none selected.
    std::wstring GetSelectedFile() const;

    std::wstring Title = L"Open sound";
    std::wstring InitialDir;
    std::wstring Filter = L"All files|*.*";
    int FilterIndex = 1;  // 1-based
    std::wstring FileName;
    // Client size; 0 or less: 630 x 400. Never below 550 x 360.
    int DialogWidth = 0;
    int DialogHeight = 0;
    TbsShellListViewStyle ListViewStyle = bsvsList;
    bool CheckFileExists = true;
    bool ShowHiddenFiles = false;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    std::uint8_t AlphaBlendValue = 225;
    TStringList* Files() { return FFiles.get(); }
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }

    TNotifyEvent OnPlayButtonClick;  // sender: the Play button
    TNotifyEvent OnStopButtonClick;  // sender: the Stop button, and this component once after the window closed
    TNotifyEvent OnShow, OnClose;    // before the window is built; after it closed

  private:
    std::unique_ptr<TStringList> FFiles;
    std::unique_ptr<TFont> FDefaultFont;
    TbsOpenSoundDlgForm* form_ = nullptr;  // the open window during Execute, else nullptr
};
