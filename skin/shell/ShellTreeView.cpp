#include "skin/shell/ShellTreeView.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "skin/controls/NcArrowScroller.h"
#include "skin/shell/ShellComboBox.h"

namespace {

// Posted when a caption edit has ended: the parent is refreshed after the control is done with the edited node.
constexpr UINT kRefreshEditedParent = WM_APP + 0x2E7;

// The hourglass over the application while a scope runs.
class THourGlass {
  public:
    THourGlass() : screen_(FindScreen()) {
        if (screen_) {
            saved_ = screen_->Cursor();
            screen_->SetCursor(crHourGlass);
        }
    }
    ~THourGlass() {
        if (screen_)
            screen_->SetCursor(saved_);
    }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

  private:
    TScreen* screen_;
    TCursor saved_ = crDefault;
};

// Items.BeginUpdate/EndUpdate for a scope.
class TNodesUpdate {
  public:
    explicit TNodesUpdate(TTreeNodes* Nodes) : nodes_(Nodes) { nodes_->BeginUpdate(); }
    ~TNodesUpdate() { nodes_->EndUpdate(); }
    TNodesUpdate(const TNodesUpdate&) = delete;
    TNodesUpdate& operator=(const TNodesUpdate&) = delete;

  private:
    TTreeNodes* nodes_;
};

// The folder part of a parsing name, with its trailing backslash ("" without one).
std::wstring FolderPart(const std::wstring& Path) {
    const size_t slash = Path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : Path.substr(0, slash + 1);
}

}  // namespace

TbsCustomShellTreeView::TbsCustomShellTreeView(TComponent* AOwner) : TbsSkinCustomTreeView(AOwner) {
    SetShowRoot(false);
    SHFILEINFOW info{};
    FImages = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (FImages)
        ::ImageList_SetBkColor(FImages, CLR_NONE);
}

TbsCustomShellTreeView::~TbsCustomShellTreeView() {
    if (FListView && FListView->ShellTreeView() == this)
        FListView->SetTreeView(nullptr);
    if (FComboBox && FComboBox->ShellTreeView() == this)
        FComboBox->SetTreeView(nullptr);
    ClearItems();
    FRootFolder.reset();
}

// ---- Properties ---------------------------------------------------------------------------------------------------
TbsShellFolder* TbsCustomShellTreeView::Folders(int Index) const {
    TTreeNodes* nodes = const_cast<TbsCustomShellTreeView*>(this)->Items();
    TTreeNode* node = nodes->GetFirstNode();
    for (int i = 0; node && i < Index; ++i)
        node = node->GetNext();
    return Index >= 0 ? NodeFolder(node) : nullptr;
}

TbsShellFolder* TbsCustomShellTreeView::SelectedFolder() { return NodeFolder(Selected()); }

std::wstring TbsCustomShellTreeView::Path() {
    TbsShellFolder* folder = SelectedFolder();
    return folder ? folder->PathName() : std::wstring();
}

void TbsCustomShellTreeView::SetPath(const std::wstring& Value) {
    FPath = Value;
    TbsPidl pidl = ParseShellPath(Value);
    // Nodes fill when the control expands them: without a window the path waits for CreateWnd.
    if (!HandleAllocated())
        return;
    SetPathFromID(pidl.get());
    if (TTreeNode* node = Selected()) {
        node->Expand(false);
        CanChange(node);
    }
}

void TbsCustomShellTreeView::SetRoot(const std::wstring& Value) {
    if (CompareText(Value, FRoot) == 0)
        return;
    FOldRoot = FRoot;
    FRoot = Value;
    RootChanged();
}

void TbsCustomShellTreeView::SetObjectTypes(TShellObjectTypes Value) {
    FObjectTypes = Value;
    RootChanged();
}

HIMAGELIST TbsCustomShellTreeView::ImageListChoice() const {
    if (Images())
        return Images()->Handle();
    return FUseShellImages ? FImages : nullptr;
}

void TbsCustomShellTreeView::SetUseShellImages(bool Value) {
    FUseShellImages = Value;
    if (HandleAllocated())
        SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(ImageListChoice()));
}

void TbsCustomShellTreeView::SetAutoRefresh(bool Value) {
    FAutoRefresh = Value;
    if (ComponentState().Contains(csLoading))
        return;
    delete std::exchange(FNotifier, nullptr);
    if (!Value)
        return;
    TbsShellFolder* watched = FNodeToMonitor ? NodeFolder(FNodeToMonitor) : FRootFolder.get();
    FNotifier = new TbsShellChangeNotifier(this);
    FNotifier->SetWatchSubTree(false);
    if (watched)
        FNotifier->SetRoot(watched->PathName());
    FNotifier->SetOnChange([this] { RefreshEvent(); });
}

// A new partner takes this view's root and this view as its tree; an old one lets go when there is none.
template <typename TPartner>
void TbsCustomShellTreeView::Link(TPartner*& Field, TPartner* Value) {
    if (Field == Value)
        return;
    TPartner* old = Field;
    Field = Value;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->SetTreeView(this);
        Value->FreeNotification(this);
    } else if (old && old->ShellTreeView() == this) {
        old->SetTreeView(nullptr);
    }
}

void TbsCustomShellTreeView::SetListView(TbsCustomShellListView* Value) { Link(FListView, Value); }

void TbsCustomShellTreeView::SetComboBox(TbsCustomShellComboBox* Value) { Link(FComboBox, Value); }

void TbsCustomShellTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomTreeView::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FListView)
        FListView = nullptr;
    if (AComponent == FComboBox)
        FComboBox = nullptr;
    if (AComponent == FNotifier)
        FNotifier = nullptr;
}

// ---- The root -----------------------------------------------------------------------------------------------------
std::unique_ptr<TbsShellFolder> TbsCustomShellTreeView::ResolveRoot() { return ResolveRootFolder(FOldRoot, FRoot); }

void TbsCustomShellTreeView::SetNodeIcons(TTreeNode* Node, TbsShellFolder* Folder) {
    if (!FUseShellImages || Images())
        return;
    Node->SetImageIndex(GetShellImage(Folder->AbsoluteID(), false, false));
    const int open = GetShellImage(Folder->AbsoluteID(), false, true);
    Node->SetSelectedIndex(open == 0 ? Node->ImageIndex() : open);
}

void TbsCustomShellTreeView::CreateRoot() {
    if (ComponentState().Contains(csLoading))
        return;
    std::wstring failure;
    try {
        std::unique_ptr<TbsShellFolder> root = ResolveRoot();
        if (root)
            FRootFolder = std::move(root);
    } catch (const Exception& e) {
        failure = e.Message();
    }
    if (FRootFolder) {
        TbsUpdateGuard loading(FLoadingRoot);
        if (Items()->Count() > 0)
            ClearItems();
        TComPtr<IShellFolder> desktop = DesktopShellFolder();
        TTreeNode* node = Items()->Add(nullptr, GetDisplayName(desktop.Get(), FRootFolder->AbsoluteID(), SHGDN_NORMAL));
        node->Data = new TbsShellFolder(nullptr, FRootFolder->ShellFolder(), FRootFolder->AbsoluteID());
        SetNodeIcons(node, NodeFolder(node));
        node->SetHasChildren(NodeFolder(node)->SubFolders());
        node->Expand(false);
        SetSelected(node);
    }
    if (!failure.empty())
        throw Exception(failure);
}

void TbsCustomShellTreeView::RootChanged() {
    if (FUpdating)
        return;
    TbsUpdateGuard updating(FUpdating);
    CreateRoot();
    if (FListView)
        FListView->SetRoot(FRoot);
}

void TbsCustomShellTreeView::ClearItems() {
    if (Items()->Count() == 0)
        return;
    TNodesUpdate update(Items());
    // Deletion frees each node's folder (Delete).
    Items()->Clear();
}

void TbsCustomShellTreeView::Delete(TTreeNode* Node) {
    delete NodeFolder(Node);
    Node->Data = nullptr;
    if (Node == FNodeToMonitor)
        FNodeToMonitor = nullptr;
    TbsSkinCustomTreeView::Delete(Node);
}

// ---- Filling ------------------------------------------------------------------------------------------------------
void TbsCustomShellTreeView::PopulateNode(TTreeNode* Node) {
    TbsShellFolder* folder = NodeFolder(Node);
    if (!folder || !folder->ShellFolder())
        return;
    THourGlass hourglass;
    TNodesUpdate update(Items());
    std::vector<TbsPidl> found;
    try {
        TComPtr<IEnumIDList> list;
        HWND owner = HandleAllocated() ? ::GetAncestor(Handle(), GA_ROOT) : nullptr;
        if (FAILED(folder->ShellFolder()->EnumObjects(owner, ShellEnumFlags(FObjectTypes), list.Put())) || !list)
            return;
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        while (list->Next(1, &item, &fetched) == S_OK && item)
            found.emplace_back(item);
    } catch (const Exception&) {
        // An enumeration that fails leaves the node without children, without a message.
        return;
    }
    // The shell's own order, as its CompareIDs gives it (the low 16 bits of the result, signed).
    IShellFolder* shell = folder->ShellFolder();
    std::stable_sort(found.begin(), found.end(), [shell](const TbsPidl& a, const TbsPidl& b) {
        return static_cast<short>(LOWORD(shell->CompareIDs(0, a.get(), b.get()))) < 0;
    });
    for (const TbsPidl& pidl : found)
        InitNode(pidl.get(), Node);
}

void TbsCustomShellTreeView::InitNode(LPCITEMIDLIST Pidl, TTreeNode* ParentNode) {
    TbsShellFolder* parent = NodeFolder(ParentNode);
    TComPtr<IShellFolder> shell = GetItemShellFolder(parent->ShellFolder(), Pidl, nullptr);
    auto owned = std::make_unique<TbsShellFolder>(parent, shell.Get(), Pidl);
    TTreeNode* node = Items()->AddChild(ParentNode, owned->DisplayName());
    TbsShellFolder* folder = owned.release();  // the node owns it from here (Delete)
    node->Data = folder;
    SetNodeIcons(node, folder);
    node->SetHasChildren(folder->SubFolders());
    if (FObjectTypes.Contains(otNonFolders) && folder->ShellFolder())
        node->SetHasChildren(HasEnumItems(folder->ShellFolder(), ShellEnumFlags(FObjectTypes)));
    bool canAdd = true;
    if (OnAddFolder)
        OnAddFolder(this, folder, canAdd);
    if (!canAdd)
        node->Delete();  // frees the folder
}

bool TbsCustomShellTreeView::CanExpand(TTreeNode* Node) {
    const bool allow = TbsSkinCustomTreeView::CanExpand(Node);
    if (allow) {
        TbsShellFolder* folder = NodeFolder(Node);
        if (folder && folder->IsFolder()) {
            if (Node->HasChildren() && Node->Count() == 0)
                PopulateNode(Node);
        } else if (folder) {
            const std::wstring path = folder->PathName();
            ::ShellExecuteW(HandleAllocated() ? Handle() : nullptr, nullptr, path.c_str(), nullptr,
                            FolderPart(path).c_str(), SW_HIDE);
        }
    }
    Node->SetHasChildren(Node->Count() > 0);
    return allow;
}

bool TbsCustomShellTreeView::CanChange(TTreeNode* Node) {
    const bool allow = TbsSkinCustomTreeView::CanChange(Node);
    if (!allow || FUpdating || !Node)
        return allow;
    TbsShellFolder* folder = NodeFolder(Node);
    if (folder && !folder->IsFolder())
        folder = folder->Parent();
    if (!folder)
        return allow;
    const bool refresh = FAutoRefresh;
    SetAutoRefresh(false);
    {
        TbsUpdateGuard updating(FUpdating);
        TbsPidl full(CopyPIDL(folder->AbsoluteID()));
        if (FComboBox)
            FComboBox->TreeUpdate(full.get());
        if (FListView)
            FListView->TreeUpdate(full.get());
    }
    FNodeToMonitor = Node;
    SetAutoRefresh(refresh);
    FNodeToMonitor = nullptr;
    return allow;
}

// ---- Finding and selecting ------------------------------------------------------------------------------------------
TTreeNode* TbsCustomShellTreeView::FolderExists(LPCITEMIDLIST FullPidl, TTreeNode* Start) {
    if (!Start)
        return nullptr;
    const int level = Start->Level();
    for (TTreeNode* node = Start; node; node = node->GetNext()) {
        if (node != Start && node->Level() <= level)
            return nullptr;
        if (TbsShellFolder* f = NodeFolder(node); f && PIDLsEqual(f->AbsoluteID(), FullPidl))
            return node;
    }
    return nullptr;
}

void TbsCustomShellTreeView::SetPathFromID(LPCITEMIDLIST FullPidl) {
    // The guard: a linked control moved by this view calls back here.
    if (ComponentState().Contains(csLoading) || FUpdating || !FullPidl)
        return;
    if (TbsShellFolder* selected = SelectedFolder(); selected && PIDLsEqual(selected->AbsoluteID(), FullPidl))
        return;
    TTreeNode* selected = nullptr;
    {
        TbsUpdateGuard updating(FUpdating);
        TNodesUpdate update(Items());
        TTreeNode* node = Items()->GetFirstNode();
        TbsPidlList prefixes = CreatePIDLPrefixList(FullPidl);
        for (const TbsPidl& prefix : prefixes) {
            if (!node)
                break;
            if (TTreeNode* found = FolderExists(prefix.get(), node)) {
                found->Expand(false);
                node = found;
            }
        }
        selected = FolderExists(FullPidl, node);
        SetSelected(selected);
    }
    if (!selected)
        return;
    TbsPidl full(CopyPIDL(NodeFolder(selected)->AbsoluteID()));
    TbsUpdateGuard updating(FUpdating);
    if (FListView)
        FListView->TreeUpdate(full.get());
    if (FComboBox)
        FComboBox->TreeUpdate(full.get());
}

void TbsCustomShellTreeView::ExpandMyComputer() {
    LPITEMIDLIST computer = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer)) || !computer)
        return;
    TbsPidl owned(computer);
    SetPathFromID(owned.get());
    if (TTreeNode* node = Selected())
        node->Expand(false);
}

// ---- Refresh --------------------------------------------------------------------------------------------------------
void TbsCustomShellTreeView::Refresh(TTreeNode* Node) {
    TbsShellFolder* old = NodeFolder(Node);
    if (!old || !old->ShellFolder())
        return;
    TbsPidl topList, selectedList;
    if (TbsShellFolder* f = NodeFolder(TopItem()))
        topList.reset(CopyPIDL(f->AbsoluteID()));
    if (TbsShellFolder* f = SelectedFolder())
        selectedList.reset(CopyPIDL(f->AbsoluteID()));
    THourGlass hourglass;
    // The linked controls show the same folders before and after: no selection change reaches them.
    TbsUpdateGuard updating(FUpdating);
    TNodesUpdate update(Items());
    auto* folder = new TbsShellFolder(old->Parent(), old->ShellFolder(), old->RelativeID());
    TTreeNode* fresh = Items()->Insert(Node, Node->Parent() ? folder->DisplayName() : Node->Text());
    fresh->Data = folder;
    fresh->SetHasChildren(true);
    PopulateNode(fresh);
    SetNodeIcons(fresh, folder);
    fresh->SetHasChildren(folder->SubFolders() || fresh->Count() > 0);
    // The old subtree's expanded folders open again in the new one, parents before children.
    const int level = Node->Level();
    for (TTreeNode* n = Node; n; n = n->GetNext()) {
        if (n != Node && n->Level() <= level)
            break;
        if (n->Expanded() && NodeFolder(n))
            if (TTreeNode* same = FolderExists(NodeFolder(n)->AbsoluteID(), fresh))
                same->Expand(false);
    }
    Node->Delete();  // frees the old folders
    TTreeNode* first = Items()->GetFirstNode();
    if (selectedList)
        if (TTreeNode* n = FolderExists(selectedList.get(), first))
            SetSelected(n);
    if (topList)
        if (TTreeNode* n = FolderExists(topList.get(), first))
            SetTopItem(n);
}

void TbsCustomShellTreeView::RefreshSelectedNode() {
    if (TTreeNode* node = Selected())
        Refresh(node);
}

void TbsCustomShellTreeView::RefreshEvent() { RefreshSelectedNode(); }

// ---- Editing, commands, the context menu ------------------------------------------------------------------------------
void TbsCustomShellTreeView::Edit(TTreeNode* Node, const std::wstring& Text) {
    TbsShellFolder* folder = NodeFolder(Node);
    if (Text.empty() || !folder)
        return;
    std::wstring s = Text;
    if (OnEdited)
        OnEdited(this, Node, s);
    if (folder->Rename(s))
        Node->SetText(s);
    // The control still holds the edited node: its parent is rebuilt once the edit has ended.
    if (Node->Parent() && NodeFolder(Node->Parent()) && HandleAllocated()) {
        FEditedParent.reset(CopyPIDL(NodeFolder(Node->Parent())->AbsoluteID()));
        ::PostMessageW(Handle(), kRefreshEditedParent, 0, 0);
    }
}

void TbsCustomShellTreeView::ExecuteCommand(const std::wstring& Verb, bool& Handled) {
    if (CompareText(Verb, L"rename") == 0) {
        if (TTreeNode* node = Selected()) {
            node->EditText();
            Handled = true;
        }
    } else if (CompareText(Verb, L"open") == 0) {
        wchar_t buf[MAX_PATH + 1] = {};
        ::GetCurrentDirectoryW(MAX_PATH, buf);
        FSavePath = buf;
        if (TbsShellFolder* folder = SelectedFolder()) {
            const std::wstring part = FolderPart(folder->PathName());
            if (!part.empty())
                ::SetCurrentDirectoryW(part.c_str());
        }
    }
}

void TbsCustomShellTreeView::CommandCompleted(const std::wstring& Verb, bool Succeeded) {
    // The folder "open" changed goes back whether the verb ran or not.
    if (CompareText(Verb, L"open") == 0 && !FSavePath.empty()) {
        ::SetCurrentDirectoryW(FSavePath.c_str());
        FSavePath.clear();
    }
    TTreeNode* node = Selected();
    if (!Succeeded || !node || !NodeFolder(node))
        return;
    if (CompareText(Verb, L"delete") == 0) {
        const DWORD attributes = ::GetFileAttributesW(NodeFolder(node)->PathName().c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            node->Delete();
    } else if (CompareText(Verb, L"paste") == 0) {
        Refresh(node);
    }
}

void TbsCustomShellTreeView::DoContextPopup(TPoint MousePos, bool& Handled) {
    // A right click selects the node under it first.
    if (MousePos.X != -1 || MousePos.Y != -1)
        if (TTreeNode* node = GetNodeAt(MousePos.X, MousePos.Y); node && node != Selected())
            SetSelected(node);
    if (FAutoContext && !(PopupMenu() && PopupMenu()->AutoPopup())) {
        if (TbsShellFolder* folder = SelectedFolder()) {
            ShowShellContextMenu(this, folder, MousePos.X, MousePos.Y);
            Handled = true;
            return;
        }
    }
    TbsSkinCustomTreeView::DoContextPopup(MousePos, Handled);
}

// ---- Window -----------------------------------------------------------------------------------------------------------
void TbsCustomShellTreeView::WndProc(TMessage& Message) {
    // The open context menu's drawing messages are its own (nobody's when none is open).
    if (PassContextMenuMessage(Message.Msg, Message.WParam, Message.LParam)) {
        Message.Result = 0;
        return;
    }
    switch (Message.Msg) {
        case TVM_SETIMAGELIST:
            if (Message.WParam == TVSIL_NORMAL && !FImageListChanging) {
                TbsUpdateGuard changing(FImageListChanging);
                Message.LParam = reinterpret_cast<LPARAM>(ImageListChoice());
                TbsSkinCustomTreeView::WndProc(Message);
                return;
            }
            break;
        case kRefreshEditedParent: {
            TbsPidl parent = std::move(FEditedParent);
            if (parent)
                if (TTreeNode* node = FolderExists(parent.get(), Items()->GetFirstNode()))
                    Refresh(node);
            return;
        }
        default:
            break;
    }
    TbsSkinCustomTreeView::WndProc(Message);
}

void TbsCustomShellTreeView::CreateWnd() {
    TbsSkinCustomTreeView::CreateWnd();
    if (Items()->Count() > 0)
        ClearItems();
    if (!Images())
        SetUseShellImages(FUseShellImages);
    if (!FLoadingRoot) {
        CreateRoot();
        if (!FPath.empty())
            SetPath(FPath);
    }
}

void TbsCustomShellTreeView::DestroyWnd() {
    ClearItems();
    TbsSkinCustomTreeView::DestroyWnd();
}

void TbsCustomShellTreeView::Loaded() {
    TbsSkinCustomTreeView::Loaded();
    CreateRoot();
    SetAutoRefresh(FAutoRefresh);
}
