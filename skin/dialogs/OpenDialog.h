// TbsSkinOpenDialog: picks a file to open in a modal window built for every Execute: a folder line with Up and a
// view-style box, the file list (a list view of the folder's sub-folders and the files matching the filter), the file
// name edit, the filter box and Open and Cancel. The window's size, the filter and the list's view style are
// remembered between runs. TbsSkinOpenSoundDialog (OpenSoundDialog.h) adds Play and Stop buttons.
//
// Index: TbsShellListViewStyle, TbsOpenDlgForm, TbsSkinOpenDialog.
//
// Controls by Name: "FolderEdit", "UpButton", "StyleComboBox", "FileListView", "FileNameEdit", "FilterComboBox",
// "OpenButton", "CancelButton" and the labels "FolderLabel", "FileNameLabel", "FileTypeLabel" (windows too). The
// window text is Title.
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

class TbsOpenDlgForm;

class TbsSkinOpenDialog : public TbsSkinDialogComponent {
  public:
    explicit TbsSkinOpenDialog(TComponent* AOwner);
    ~TbsSkinOpenDialog() override;

    // True when the user accepted a file (an existing one while CheckFileExists): FileName then holds its full path
    // and Files the selected files. Whatever the answer, FilterIndex, DialogWidth, DialogHeight and ListViewStyle
    // hold the window's last state.
    bool Execute();
    // The full path of the file selected in the open window's list; empty when none is open or none selected.
    std::wstring GetSelectedFile() const;

    std::wstring Title = L"Open file";
    std::wstring InitialDir;
    std::wstring Filter = L"All files|*.*";
    int FilterIndex = 1;  // 1-based
    // Start name in (its folder is where the window opens), full path out.
    std::wstring FileName;
    std::wstring DefaultExt;  // kept for a save mode; opening adds the filter's extension instead
    // Client size; 0 or less: the default (700 x 350 here, 630 x 400 for sounds).
    int DialogWidth = 0;
    int DialogHeight = 0;
    // The smallest client size the user may drag the window to (0: the layout's own minimum).
    int DialogMinWidth = 0;
    int DialogMinHeight = 0;
    TbsShellListViewStyle ListViewStyle = bsvsList;
    bool CheckFileExists = true;
    bool ShowHiddenFiles = false;
    bool ShowThumbnails = true;
    bool MultiSelection = false;
    bool OverwritePromt = false;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    std::uint8_t AlphaBlendValue = 225;
    TStringList* Files() { return FFiles.get(); }
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }

    TNotifyEvent OnFolderChange;   // sender: the window, after every change of folder
    TNotifyEvent OnShow, OnClose;  // before the window is built; after it closed
    TNotifyEvent OnChange;         // after an accepted run

  protected:
    friend class TbsOpenDlgForm;
    // The sound variant's hooks: its preview row, its handlers, and its work after the modal run.
    virtual bool HasSoundPanel() const { return false; }
    virtual void PlayClicked(TObject*) {}
    virtual void StopClicked(TObject*) {}
    virtual void AfterModal() {}

    int defaultWidth_ = 700, defaultHeight_ = 350;
    int minWidth_ = 400, minHeight_ = 260;

  private:
    std::unique_ptr<TStringList> FFiles;
    std::unique_ptr<TFont> FDefaultFont;
    TbsOpenDlgForm* form_ = nullptr;  // the open window during Execute, else nullptr
};
