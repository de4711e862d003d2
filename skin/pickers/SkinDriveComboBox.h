// The drive box: one item per drive of a kind a user picks from (removable, fixed, remote, CD-ROM, RAM disk), as
// "c: [label]" with the drive kind's picture, the letters in the chosen case. Choosing an item moves the linked
// folder list to that drive; a handler assigned to OnChange replaces that reaction (the drive then follows a
// choice only through what the handler does). GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "skin/boxes/SkinComboBox.h"

class TbsSkinDirectoryListBox;

enum TbsTextCase { tcLowerCase, tcUpperCase };

class TbsSkinDriveComboBox : public TbsSkinCustomComboBox {
  public:
    explicit TbsSkinDriveComboBox(TComponent* AOwner);
    ~TbsSkinDriveComboBox() override;

    // The drive letter (#0 for none).
    wchar_t Drive() const { return FDrive; }
    void SetDrive(wchar_t Value);
    TbsTextCase TextCase() const { return FTextCase; }
    void SetTextCase(TbsTextCase Value);
    TbsSkinDirectoryListBox* DirList() const { return FDirList; }
    void SetDirList(TbsSkinDirectoryListBox* Value);
    // Reads the drives again.
    virtual void BuildList();

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

  protected:
    void CreateWnd() override;
    void DrawItem(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, const TRect& TxtRect,
                  TOwnerDrawState State);
    // The box's own reaction to a choice, OnChange until a handler replaces it.
    void NewChange();

    std::unique_ptr<TBitmap> FloppyBMP, FixedBMP, NetworkBMP, CDROMBMP, RAMBMP;

  private:
    // Selects the item of FDrive without reporting a change.
    void SelectDriveItem();
    wchar_t Cased(wchar_t Letter) const;

    wchar_t FDrive = L'\0';
    TbsTextCase FTextCase = tcLowerCase;
    TbsSkinDirectoryListBox* FDirList = nullptr;  // borrowed, cleared by notification
};
