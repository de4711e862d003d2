// The filter box: items and masks read from Filter ("description|mask|description|mask..."); choosing an item
// gives the linked file list that item's mask. GUI thread only.
#pragma once

#include <string>
#include <vector>

#include "skin/boxes/SkinComboBox.h"

class TbsSkinFileListBox;

extern const wchar_t kDefaultFilter[];  // "All files (*.*)|*.*"

class TbsSkinFilterComboBox : public TbsSkinCustomComboBox {
  public:
    explicit TbsSkinFilterComboBox(TComponent* AOwner);
    ~TbsSkinFilterComboBox() override;

    const std::wstring& Filter() const { return FFilter; }
    // A different filter (compared as file names) rebuilds the items and reports the change.
    void SetFilter(const std::wstring& Value);
    // The chosen item's mask; with none chosen the last item is chosen; "*.*" when there is no item.
    std::wstring Mask();
    TbsSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TbsSkinFileListBox* Value);

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

  protected:
    void CreateWnd() override;
    void Change() override;
    void BuildList();

  private:
    void ApplyMask();
    std::wstring FFilter = kDefaultFilter;
    std::vector<std::wstring> FMasks;              // parallel to the items
    TbsSkinFileListBox* FFileList = nullptr;       // borrowed, cleared by notification
};
