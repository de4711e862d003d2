// The file list: the entries of Directory that match Mask (several masks split at ";") and FileType, folders as
// "[name]", sorted. Linked to a folder list (which sets Directory), a filter box (which sets Mask) and an edit that
// shows the chosen file. It moves the process into Directory when it reads. GUI thread only.
#pragma once

#include <string>

#include "classlib/Types.h"
#include "skin/boxes/SkinListBox.h"

class TCustomEdit;
class TbsSkinDirectoryListBox;
class TbsSkinFilterComboBox;

enum TbsFileAttr { bsftReadOnly, bsftHidden, bsftSystem, bsftVolumeID, bsftDirectory, bsftArchive, bsftNormal };
using TbsFileType = TSet<TbsFileAttr>;

class TbsSkinFileListBox : public TbsSkinCustomListBox {
  public:
    explicit TbsSkinFileListBox(TComponent* AOwner);
    ~TbsSkinFileListBox() override;

    const std::wstring& Directory() const { return FDirectory; }
    // Moves to Value and reads it; EInOutError when it cannot be entered (the list keeps its items).
    void SetDirectory(const std::wstring& Value);
    wchar_t Drive() const { return FDirectory.empty() ? L'\0' : FDirectory[0]; }
    void SetDrive(wchar_t Value);
    const std::wstring& Mask() const { return FMask; }
    void SetMask(const std::wstring& Value);
    TbsFileType FileType() const { return FFileType; }
    void SetFileType(TbsFileType Value);
    // The selected item's text; setting it selects the item of exactly that text.
    std::wstring FileName();
    void SetFileName(const std::wstring& Value);
    TCustomEdit* FileEdit() const { return FFileEdit; }
    void SetFileEdit(TCustomEdit* Value);
    TbsSkinDirectoryListBox* DirList() const { return FDirList; }
    TbsSkinFilterComboBox* FilterCombo() const { return FFilterCombo; }
    // Reads the folder again.
    void Update();

    // Directory + the selected name, empty when nothing is selected.
    virtual std::wstring GetFilePath();
    // Takes a typed path: moves the folder (through a linked folder list), takes a wildcard name as the mask,
    // selects a named file.
    virtual void ApplyFilePath(const std::wstring& EditText);

    TNotifyEvent OnChange;

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

  protected:
    virtual void Change();
    virtual void ReadFileNames();
    void ListBoxClick() override;
    void ListBoxCreateWnd() override;

  private:
    friend class TbsSkinDirectoryListBox;
    friend class TbsSkinFilterComboBox;
    friend class TbsSkinDriveComboBox;
    std::wstring FDirectory;
    std::wstring FMask = L"*.*";
    TbsFileType FFileType{bsftNormal};
    int FLastSel = -1;
    TCustomEdit* FFileEdit = nullptr;                // borrowed, cleared by notification
    TbsSkinDirectoryListBox* FDirList = nullptr;     // borrowed; the folder list sets and clears it
    TbsSkinFilterComboBox* FFilterCombo = nullptr;   // borrowed; the filter box sets and clears it
};
