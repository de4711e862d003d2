// TbsSkinOpenDialog: picks a file to open (or, in a descendant that sets FSaveMode, to save) in a skinned window
// built for every Execute (TbsOpenDlgForm): a tool bar with the folder box, Back, Up, New Folder and the view-style
// menu, a column of shortcut buttons (Desktop, Documents or Libraries, Computer, Network), the shell list view with
// its skinned scroll bars, and the name edit, the filter box and Open (Save) and Cancel. The window's size, the
// filter and the view style are read back after every run. TbsSkinOpenSoundDialog (OpenSoundDialog.h) adds Play and
// Stop.
//
// Index: TbsShellListViewStyle, TbsOpenDlgForm, TbsSkinOpenDialog.
//
// Controls by Name (windows, found by "TrelmName"): "ToolPanel", "ShellBox", "BackToolButton", "UpToolButton",
// "NewFolderToolButton", "StyleToolButton", "ButtonsPanel" with "DesktopButton", "PersonalButton",
// "MyComputerButton", "NetworkButton", "FileListView", "FLVHScrollBar", "FLVVScrollBar", "BottomPanel",
// "FileNameEdit", "FilterComboBox", "OpenButton", "CancelButton"; windowless labels "Drivelabel", "OpenFileLabel",
// "FileTypeLabel". The window text is Title.
//
// Ownership: the window is owned by the application object and freed inside Execute; the skin containers and the
// tool-bar image list are borrowed and cleared by notification. GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "skin/dialogs/DialogControls.h"
#include "skin/shell/ShellIdList.h"

class TbsPngImageList;
class TbsSkinButton;
class TbsSkinEdit;
class TbsSkinFileListView;
class TbsSkinFilterComboBox;
class TbsSkinMenuButton;
class TbsSkinPanel;
class TbsSkinPopupMenu;
class TbsSkinScrollBar;
class TbsSkinShellComboBox;
class TbsSkinStdLabel;
class TbsSkinToolBar;
class TMenuItem;

enum TbsShellListViewStyle {
    bsvsIcon,
    bsvsSmallIcon,
    bsvsList,
    bsvsReport,
    bsvsThumbnails,         // icon style with 96-pixel thumbnails
    bsvsBigThumbnails,      // 128
    bsvsVeryBigThumbnails   // 256
};

class TbsOpenDlgForm : public TForm {
  public:
    explicit TbsOpenDlgForm(TComponent* AOwner);
    ~TbsOpenDlgForm() override;

    // Builds the controls in their fixed order. ToolBarImageList nullptr: the built-in pictures.
    void CreateEx(bool ASaveMode,
                  TbsSkinData* ACtrlSD,
                  bool AToolButtonsTransparent,
                  TCustomImageList* AToolBarImageList,
                  bool AShowThumbnails);

    // Handlers (public: the component and tests run them as the controls would).
    void ShellButtonClick(TObject* Sender);
    void CreateShellButtons();
    void FLVKeyPress(TObject* Sender, wchar_t& Key);
    void NewFolderToolButtonClick(TObject* Sender);
    void IconItemClick(TObject* Sender);
    void SmallIconItemClick(TObject* Sender);
    void ListItemClick(TObject* Sender);
    void ReportItemClick(TObject* Sender);
    void ThumbnailsItemClick(TObject* Sender);
    void BigThumbnailsItemClick(TObject* Sender);
    void VeryBigThumbnailsItemClick(TObject* Sender);
    void UpToolButtonClick(TObject* Sender);
    void BackToolButtonClick(TObject* Sender);
    void InitHistory();
    void FLVPathChange(TObject* Sender);
    void EditKeyPress(TObject* Sender, wchar_t& Key);
    void OpenButtonClick(TObject* Sender);
    void FLVChange(TObject* Sender);
    void FLVDBLClick(TObject* Sender);
    void FCBChange(TObject* Sender);

    // The extension a typed name without one gets (DefaultExt, else the filter's).
    virtual std::wstring DialogDefaultExt();
    // The system version as the shell views see it (tests set it through the controls' seam): Vista or later.
    static bool VistaOrLater();
    // The style the list shows, a thumbnail style while thumbnails are on.
    TbsShellListViewStyle ShownStyle();
    // The text of a resource string key of CtrlSD, else Default.
    std::wstring Text(const std::wstring& Key, const std::wstring& Default) const;

    bool SaveMode = false;
    TbsPidlList FolderHistory;
    bool StopAddToHistory = false;
    TbsSkinData* CtrlSD = nullptr;  // borrowed from the component
    int NewFolderCount = 0;
    TCustomImageList* FButtonImages = nullptr;        // owned as a component: the shortcut folders' large icons
    TbsPngImageList* PngImgList = nullptr;            // owned as a component
    std::wstring DefaultExt;
    bool OverwritePromt = false;
    std::wstring FileName;
    TbsSkinForm* SKF = nullptr;
    TbsSkinPanel *FileListViewPanel = nullptr, *ButtonsPanel = nullptr, *BottomPanel = nullptr,
                 *ClientPanel = nullptr;
    TbsSkinScrollBar *FLVHScrollBar = nullptr, *FLVVScrollBar = nullptr;
    TbsSkinFileListView* FileListView = nullptr;
    TbsSkinEdit* FileNameEdit = nullptr;
    TbsSkinFilterComboBox* FilterComboBox = nullptr;
    TbsSkinShellComboBox* ShellBox = nullptr;
    TbsSkinButton *OpenButton = nullptr, *CancelButton = nullptr;
    TbsSkinStdLabel *Drivelabel = nullptr, *OpenFileLabel = nullptr, *FileTypeLabel = nullptr;
    TbsSkinToolBar* ToolPanel = nullptr;
    TbsSkinButton *NewFolderToolButton = nullptr, *UpToolButton = nullptr, *BackToolButton = nullptr;
    TbsSkinMenuButton* StyleToolButton = nullptr;
    TbsSkinPopupMenu* StylePopupMenu = nullptr;
    TMenuItem *IconMenuItem = nullptr, *SmallIconMenuItem = nullptr, *ReportMenuItem = nullptr,
              *ListMenuItem = nullptr, *ThumbnailsItem = nullptr, *BigThumbnailsItem = nullptr,
              *VeryBigThumbnailsItem = nullptr;
    TNotifyEvent OnFolderChange;
    bool CheckFileExists = true;

  protected:
    // Runs right after the bottom panel is made, inside ClientPanel: the sound form's preview bar.
    virtual void CreateExtraPanels(TCustomImageList* /*AToolBarImageList*/, bool /*AToolButtonsTransparent*/) {}

  private:
    TbsSkinButton* AddToolButton(const std::wstring& Name, int ImageIndex, const std::wstring& Hint,
                                 bool Transparent);
    void SetThumbnailStyle(TMenuItem* Item, int Size);
    void SetPlainStyle(TMenuItem* Item, int Style);
    // Asks the overwrite question when it applies; true to go on.
    bool OverwriteAccepted(const std::wstring& Name);
    std::wstring SelectedFile();
};

class TbsSkinOpenDialog : public TbsSkinDialogComponent {
  public:
    explicit TbsSkinOpenDialog(TComponent* AOwner);
    ~TbsSkinOpenDialog() override;

    // True when the user accepted: FileName then holds the chosen file's full path and Files the selected files.
    // Whatever the answer, FilterIndex, DialogWidth, DialogHeight and ListViewStyle hold the window's last state.
    bool Execute();
    // The full path of the file selected in the open window's list; empty when none is open or none selected.
    std::wstring GetSelectedFile() const;
    // Sets FileName; while the window is open its name edit shows the name part.
    void SetFileName(const std::wstring& Value);

    TCustomImageList* ToolBarImageList() const { return FToolBarImageList; }
    void SetToolBarImageList(TCustomImageList* Value);

    bool ShowThumbnails = true;
    bool ShowHiddenFiles = false;
    bool ToolButtonsTransparent = false;
    bool OverwritePromt = false;
    std::wstring DefaultExt;  // without the dot; used in save mode
    // Client size; 0 or less: the default (700 x 350 here, 630 x 400 for sounds).
    int DialogWidth = 0;
    int DialogHeight = 0;
    // The smallest window the skinned frame allows (0: no more than the layout's minimum client size).
    int DialogMinWidth = 0;
    int DialogMinHeight = 0;
    bool CheckFileExists = true;
    bool MultiSelection = false;
    bool AlphaBlend = false;
    std::uint8_t AlphaBlendValue = 225;
    bool AlphaBlendAnimation = false;
    bool CtrlAlphaBlend = false;
    std::uint8_t CtrlAlphaBlendValue = 225;
    bool CtrlAlphaBlendAnimation = false;
    std::wstring LVHeaderSkinDataName = L"header";
    std::wstring Title = L"Open file";
    std::wstring InitialDir;
    std::wstring Filter = L"All files|*.*";
    int FilterIndex = 1;  // 1-based
    // Start name in (its folder is where the window opens), full path out.
    std::wstring FileName;
    TbsShellListViewStyle ListViewStyle = bsvsList;
    TStringList* Files() { return FFiles.get(); }
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }

    TNotifyEvent OnFolderChange;   // sender: the window
    TNotifyEvent OnShow, OnClose;  // before the window is built; after it closed (always)
    TNotifyEvent OnChange;         // after an accepted run

  protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Change();

    // What the sound variant changes.
    virtual std::unique_ptr<TbsOpenDlgForm> NewForm();
    virtual void PrepareForm(TbsOpenDlgForm*) {}
    virtual void AfterModal() {}
    virtual bool UsesDefaultExt() const { return true; }

    bool FSaveMode = false;
    int FDefaultWidth = 700, FDefaultHeight = 350;
    int FMinClientHeight = 350;

  private:
    std::unique_ptr<TStringList> FFiles;
    std::unique_ptr<TFont> FDefaultFont;
    TCustomImageList* FToolBarImageList = nullptr;  // borrowed, cleared by notification
    TbsOpenDlgForm* FDlgFrm = nullptr;              // the open window during Execute, else nullptr
};
