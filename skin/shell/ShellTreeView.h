// TbsCustomShellTreeView: a skinned tree of the shell namespace below a root folder. One node per TbsShellFolder
// (owned by the view, freed with its node); a node's children are enumerated once, when it is first expanded, in the
// shell's own order and with the system's small icons. It selects a folder by path or identifier list, renames in
// place, shows the shell's context menu, can follow changes of the watched folder, and keeps a linked shell list
// view and shell combo box on the folder it shows; FUpdating keeps the three from feeding each other.
// GUI thread only (the change watcher reaches RefreshEvent through its synchronous hand-over).
// Index: TbsCustomShellTreeView.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "skin/shell/ShellChange.h"
#include "skin/shell/ShellContextMenu.h"
#include "skin/shell/ShellFolder.h"
#include "skin/shell/ShellListView.h"
#include "skin/views/SkinTreeView.h"

class TbsCustomShellComboBox;

class TbsCustomShellTreeView : public TbsSkinCustomTreeView, public IShellCommandVerb, public IbsShellTreeLink {
  public:
    explicit TbsCustomShellTreeView(TComponent* AOwner);
    ~TbsCustomShellTreeView() override;

    // The folder of the node at an absolute index, nullptr when the tree is empty or the index is out of range.
    TbsShellFolder* Folders(int Index) const;
    TbsShellFolder* SelectedFolder();
    const std::wstring& Root() const { return FRoot; }
    // A root folder name ("rfDesktop", "rfMyComputer" ...) or a path; compared ignoring case.
    void SetRoot(const std::wstring& Value);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes Value);
    // The selected folder's parsing name ("" without selection).
    std::wstring Path();
    // Raises EInvalidPath "Error setting path: "%s"" when the desktop cannot parse the text.
    void SetPath(const std::wstring& Value);
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool Value);
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool Value) { FAutoContext = Value; }
    bool UseShellImages() const { return FUseShellImages; }
    void SetUseShellImages(bool Value);
    TbsCustomShellListView* ShellListView() const { return FListView; }
    void SetListView(TbsCustomShellListView* Value);
    TbsCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetComboBox(TbsCustomShellComboBox* Value);
    TbsShellChangeNotifier* Notifier() const { return FNotifier; }

    // Selects the computer folder and expands it.
    void ExpandMyComputer();
    // Rebuilds the node's subtree: expanded folders stay expanded, the selection and the top node stay.
    void Refresh(TTreeNode* Node);
    // Expands the chain to the folder of a full list and selects it (nothing while updating or when selected).
    void SetPathFromID(LPCITEMIDLIST FullPidl);
    // The first node from Start on (depth first, inside Start's subtree) whose folder is the full list's.
    TTreeNode* FolderExists(LPCITEMIDLIST FullPidl, TTreeNode* Start);

    // IShellCommandVerb.
    void ExecuteCommand(const std::wstring& Verb, bool& Handled) override;
    void CommandCompleted(const std::wstring& Verb, bool Succeeded) override;

    // IbsShellTreeLink.
    TComponent* LinkComponent() override { return this; }
    void SetLinkedRoot(const std::wstring& Value) override { SetRoot(Value); }
    void SelectLinkedFolder(LPCITEMIDLIST FullPidl) override { SetPathFromID(FullPidl); }
    void SetLinkedListView(TbsCustomShellListView* View) override { SetListView(View); }
    void RefreshSelectedNode() override;

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    TAddFolderEvent OnAddFolder;

  protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    bool CanExpand(TTreeNode* Node) override;
    bool CanChange(TTreeNode* Node) override;
    void Edit(TTreeNode* Node, const std::wstring& Text) override;
    void Delete(TTreeNode* Node) override;
    void DoContextPopup(TPoint MousePos, bool& Handled) override;
    // The root as a new node; the default resolves Root (tests give their own folder here).
    virtual std::unique_ptr<TbsShellFolder> ResolveRoot();

  private:
    void CreateRoot();
    void RootChanged();
    void PopulateNode(TTreeNode* Node);
    void InitNode(LPCITEMIDLIST Pidl, TTreeNode* ParentNode);
    void SetNodeIcons(TTreeNode* Node, TbsShellFolder* Folder);
    void ClearItems();
    void RefreshEvent();
    template <typename TPartner>
    void Link(TPartner*& Field, TPartner* Value);
    HIMAGELIST ImageListChoice() const;
    static TbsShellFolder* NodeFolder(TTreeNode* Node) { return Node ? static_cast<TbsShellFolder*>(Node->Data) : nullptr; }

    std::wstring FPath;
    std::wstring FRoot = L"rfDesktop", FOldRoot;
    std::unique_ptr<TbsShellFolder> FRootFolder;
    TShellObjectTypes FObjectTypes{otFolders};
    bool FLoadingRoot = false;
    bool FAutoContext = true;
    bool FUpdating = false;
    TbsCustomShellListView* FListView = nullptr;   // borrowed, cleared by Notification
    TbsCustomShellComboBox* FComboBox = nullptr;   // borrowed, cleared by Notification
    bool FAutoRefresh = false;
    bool FImageListChanging = false;
    bool FUseShellImages = true;
    TbsShellChangeNotifier* FNotifier = nullptr;   // owned sub-component while AutoRefresh is on
    std::wstring FSavePath;
    TTreeNode* FNodeToMonitor = nullptr;           // only during a selection change
    HIMAGELIST FImages = nullptr;                  // the system's small icons, never freed
    TbsPidl FEditedParent;                         // the parent to refresh once a caption edit has ended
};
