// The folder list: the chain of folders from the drive's root to Directory (open pictures, the last one the
// current-folder picture), then Directory's sorted sub-folders (closed pictures), each indented by its level. It
// works on the process's current folder: choosing a folder moves the process there. Linked to a drive box (which
// sets its drive), a file list (which follows its folder) and a label (which shows the folder shortened to fit).
// GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "skin/boxes/SkinListBox.h"

class TbsSkinFileListBox;
class TbsSkinDriveComboBox;
class TbsSkinStdLabel;

class TbsSkinDirectoryListBox : public TbsSkinCustomListBox {
  public:
    explicit TbsSkinDirectoryListBox(TComponent* AOwner);
    ~TbsSkinDirectoryListBox() override;

    const std::wstring& Directory() const { return FDirectory; }
    // Moves the list (and the process) to Value; EInOutError when that folder cannot be entered, the list then
    // keeps its items. The same folder (by the volume's case rule) changes nothing.
    virtual void SetDirectory(const std::wstring& Value);
    wchar_t Drive() const { return FDirectory.empty() ? L'\0' : FDirectory[0]; }
    // Moves to the current folder of drive Value ("X:").
    void SetDrive(wchar_t Value);
    // Opens the selected item.
    void OpenCurrent();
    // The full path an item stands for; empty beyond the list.
    std::wstring GetItemPath(int Index);
    // Rebuilds the list and reports the change.
    void Update();

    TbsSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TbsSkinFileListBox* Value);
    TbsSkinStdLabel* DirLabel() const { return FDirLabel; }
    void SetDirLabel(TbsSkinStdLabel* Value);
    TbsSkinDriveComboBox* DriveCombo() const { return FDriveCombo; }
    // The volume's case flags as the last build read them.
    bool PreserveCase() const { return FPreserveCase; }
    bool CaseSensitive() const { return FCaseSensitive; }

    TNotifyEvent OnChange;

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

  protected:
    virtual void Change();
    virtual void ReadBitmaps();
    virtual void BuildList();

    int GetFullItemWidth(int Index, TCanvas* ACanvas) override;
    void ListBoxDblClick() override;
    void ListBoxKeyPress(wchar_t& Key) override;
    void ListBoxCreateWnd() override;
    void DrawItem(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, const TRect& TxtRect,
                  TOwnerDrawState State);

    std::unique_ptr<TBitmap> OpenedBMP, ClosedBMP, CurrentBMP;

  private:
    friend class TbsSkinDriveComboBox;
    friend class TbsSkinFileListBox;
    // The drive box's request: follow drive NewDrive (nothing for the drive the list is on).
    void DriveChange(wchar_t NewDrive);
    bool SameDirectory(const std::wstring& A, const std::wstring& B) const;
    TBitmap* ItemPicture(int Index);
    int ItemIndent(int Index, TBitmap* Picture);
    void SelectCurrent();

    std::wstring FDirectory;
    bool FPreserveCase = true;
    bool FCaseSensitive = false;
    bool FInSetDir = false;
    TbsSkinFileListBox* FFileList = nullptr;      // borrowed, cleared by notification
    TbsSkinStdLabel* FDirLabel = nullptr;         // borrowed, cleared by notification
    TbsSkinDriveComboBox* FDriveCombo = nullptr;  // borrowed; the drive box sets and clears it
};
