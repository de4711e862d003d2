// TbsCustomShellComboBox, TbsSkinShellComboBox: a skinned combo box that shows a folder path of the shell namespace
// as an indented list (the root, its children, under a desktop root the drives below the computer, and the chain to
// the folder shown), each entry with its system icon in the face and in the drop-down. Choosing an entry moves a
// linked shell list view there; when the list view changes folder, the box follows without feeding back.
// GUI thread only.
// Index: TbsItemEx, TbsCustomShellComboBox, TbsSkinShellComboBox.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "skin/boxes/SkinComboBox.h"
#include "skin/shell/ShellFolder.h"

class TbsCustomShellListView;
class IbsShellTreeLink;

struct TbsItemEx {
    std::wstring Caption;
    std::unique_ptr<TbsShellFolder> Data;
    int Indent = 0;
    int ImageIndex = -1;
    int SelectedImageIndex = -1;
};

class TbsCustomShellComboBox : public TbsSkinCustomComboBox {
  public:
    explicit TbsCustomShellComboBox(TComponent* AOwner);
    ~TbsCustomShellComboBox() override;

    int ItemExCount() const { return static_cast<int>(FItemsEx.size()); }
    const TbsItemEx& ItemEx(int Index) const { return FItemsEx[static_cast<size_t>(Index)]; }
    // The folder of an entry; an index beyond the last gives the last entry's folder.
    TbsShellFolder* Folders(int Index) const;
    std::wstring Path();
    void SetPath(const std::wstring& Value);
    const std::wstring& Root() const { return FRoot; }
    void SetRoot(const std::wstring& Value);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes Value);
    TbsCustomShellListView* ShellListView() const { return FListView; }
    void SetListView(TbsCustomShellListView* Value);
    IbsShellTreeLink* ShellTreeView() const { return FTreeView; }
    void SetTreeView(IbsShellTreeLink* Value);
    bool UseShellImages() const { return FUseShellImages; }
    void SetUseShellImages(bool Value);

    // Rebuilds the entries so that they show the folder of the full list and selects it.
    void SetPathFromID(LPCITEMIDLIST FullPidl);
    // A linked view's folder change (nothing while the box drives it or when the folder is selected already).
    void TreeUpdate(LPCITEMIDLIST FullPidl);
    int IndexFromID(LPCITEMIDLIST FullPidl) const;
    void CreateRoot();
    void RootChanged();

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

  protected:
    virtual void Init();
    void Change() override;
    void CreateWnd() override;
    void DestroyWnd() override;

  private:
    void ClearItemsEx();
    void CheckItems();
    int GetShellImageIndex(TbsShellFolder* Folder) const;
    void AddItemsEx(int Position, TbsShellFolder* Parent);
    void InsertFolder(int Position, std::unique_ptr<TbsShellFolder> Folder);
    void DrawEntry(TCanvas* Cnvs, int Index, const TRect& R, bool Indented);

    std::vector<TbsItemEx> FItemsEx;
    HIMAGELIST FImages = nullptr;  // the system's small icons, never freed
    int FImageHeight = 16, FImageWidth = 16;
    std::wstring FOldRoot, FRoot = L"rfDesktop";
    std::unique_ptr<TbsShellFolder> FRootFolder;
    IbsShellTreeLink* FTreeView = nullptr;         // borrowed
    TbsCustomShellListView* FListView = nullptr;   // borrowed, cleared by Notification
    TShellObjectTypes FObjectTypes{otFolders};
    bool FUseShellImages = true;
    bool FUpdating = false;
    bool FRootEntriesOnly = false;  // the entries are the root's listing as last read, no path laid in
    int FItemsUpdate = 0;  // the entries are being rebuilt: selection changes are not changes
};

class TbsSkinShellComboBox : public TbsCustomShellComboBox {
  public:
    using TbsCustomShellComboBox::TbsCustomShellComboBox;
};
