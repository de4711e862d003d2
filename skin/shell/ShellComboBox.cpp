#include "skin/shell/ShellComboBox.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "classlib/ComObj.h"
#include "skin/shell/ShellListView.h"

namespace {

// Counts a rebuild of the entries for as long as it runs.
struct TItemsUpdate {
    explicit TItemsUpdate(int& Count) : count(Count) { ++count; }
    ~TItemsUpdate() { --count; }
    int& count;
};

}  // namespace

TbsCustomShellComboBox::TbsCustomShellComboBox(TComponent* AOwner) : TbsSkinCustomComboBox(AOwner) {
    SHFILEINFOW info{};
    FImages = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (FImages)
        ::ImageList_GetIconSize(FImages, &FImageWidth, &FImageHeight);
    SetOnListBoxDrawItem([this](TCanvas* C, int Index, int, int, const TRect& R, TOwnerDrawState) {
        DrawEntry(C, Index, R, true);
    });
    OnComboBoxDrawItem = [this](TCanvas* C, int Index, int, int, const TRect& R, TOwnerDrawState) {
        DrawEntry(C, Index, R, false);
    };
}

TbsCustomShellComboBox::~TbsCustomShellComboBox() {
    if (FListView && FListView->ShellComboBox() == this)
        FListView->SetComboBox(nullptr);
    FItemsEx.clear();
    FRootFolder.reset();
}

TbsShellFolder* TbsCustomShellComboBox::Folders(int Index) const {
    if (FItemsEx.empty() || Index < 0)
        return nullptr;
    return FItemsEx[std::min<size_t>(static_cast<size_t>(Index), FItemsEx.size() - 1)].Data.get();
}

std::wstring TbsCustomShellComboBox::Path() {
    TbsShellFolder* f = ItemIndex() >= 0 && ItemIndex() < ItemExCount() ? Folders(ItemIndex()) : nullptr;
    return f ? f->PathName() : std::wstring();
}

void TbsCustomShellComboBox::SetPath(const std::wstring& Value) { SetPathFromID(ParseShellPath(Value).get()); }

void TbsCustomShellComboBox::SetRoot(const std::wstring& Value) {
    if (CompareText(Value, FRoot) == 0)
        return;
    FOldRoot = FRoot;
    FRoot = Value;
    RootChanged();
}

void TbsCustomShellComboBox::SetObjectTypes(TShellObjectTypes Value) {
    FObjectTypes = Value;
    RootChanged();
}

void TbsCustomShellComboBox::SetListView(TbsCustomShellListView* Value) {
    if (FListView == Value)
        return;
    TbsCustomShellListView* old = FListView;
    FListView = Value;
    if (Value) {
        Value->SetRoot(FRoot);
        if (Value->ShellComboBox() != this)
            Value->SetComboBox(this);
        Value->FreeNotification(this);
    } else if (old && old->ShellComboBox() == this) {
        old->SetComboBox(nullptr);
    }
}

void TbsCustomShellComboBox::SetTreeView(IbsShellTreeLink* Value) {
    if (FTreeView == Value)
        return;
    FTreeView = Value;
    if (Value) {
        Value->SetLinkedRoot(FRoot);
        Value->LinkComponent()->FreeNotification(this);
    }
}

void TbsCustomShellComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomComboBox::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FListView)
        FListView = nullptr;
    if (FTreeView && AComponent == FTreeView->LinkComponent())
        FTreeView = nullptr;
}

void TbsCustomShellComboBox::SetUseShellImages(bool Value) {
    FUseShellImages = Value;
    if (!Value || !FImages) {
        FImageWidth = FImageHeight = 16;
        return;
    }
    ::ImageList_GetIconSize(FImages, &FImageWidth, &FImageHeight);
}

int TbsCustomShellComboBox::GetShellImageIndex(TbsShellFolder* Folder) const {
    return FUseShellImages ? GetShellImage(Folder->AbsoluteID(), false, false) : -1;
}

void TbsCustomShellComboBox::ClearItemsEx() {
    TItemsUpdate guard(FItemsUpdate);
    FItemsEx.clear();
    FRootEntriesOnly = false;
    CheckItems();
}

void TbsCustomShellComboBox::CheckItems() {
    TItemsUpdate guard(FItemsUpdate);
    Items()->BeginUpdate();
    Items()->Clear();
    for (const TbsItemEx& e : FItemsEx)
        Items()->Add(e.Caption);
    Items()->EndUpdate();
}

void TbsCustomShellComboBox::InsertFolder(int Position, std::unique_ptr<TbsShellFolder> Folder) {
    TbsItemEx e;
    e.Caption = Folder->DisplayName();
    e.Indent = Folder->Level();
    e.ImageIndex = e.SelectedImageIndex = GetShellImageIndex(Folder.get());
    e.Data = std::move(Folder);
    Position = std::clamp(Position, 0, ItemExCount());
    FItemsEx.insert(FItemsEx.begin() + Position, std::move(e));
}

void TbsCustomShellComboBox::CreateRoot() {
    if (ComponentState().Contains(csLoading))
        return;
    TItemsUpdate guard(FItemsUpdate);
    ClearItemsEx();
    FRootFolder = ResolveRootFolder(FOldRoot, FRoot);
    TbsPidl full(CopyPIDL(FRootFolder->AbsoluteID()));
    auto entry = std::make_unique<TbsShellFolder>(nullptr, FRootFolder->ShellFolder(), full.get());
    TbsItemEx e;
    e.Caption = entry->DisplayName();
    e.Indent = 0;
    e.ImageIndex = e.SelectedImageIndex = GetShellImageIndex(entry.get());
    e.Data = std::move(entry);
    FItemsEx.push_back(std::move(e));
    Init();
    CheckItems();
    SetItemIndex(0);
    FRootEntriesOnly = true;
    if (FUseShellImages) {
        SetUseShellImages(false);
        SetUseShellImages(true);
    }
}

void TbsCustomShellComboBox::Init() {
    AddItemsEx(0, FItemsEx[0].Data.get());
    if (FRoot != L"rfDesktop")
        return;
    LPITEMIDLIST drives = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives)) || !drives)
        return;
    TbsPidl owner(drives);
    const int at = IndexFromID(owner.get());
    if (at >= 0)
        AddItemsEx(at, FItemsEx[static_cast<size_t>(at)].Data.get());
}

void TbsCustomShellComboBox::AddItemsEx(int Position, TbsShellFolder* Parent) {
    IShellFolder* folder = Parent ? Parent->ShellFolder() : nullptr;
    if (!folder)
        return;
    TComPtr<IEnumIDList> list;
    HRESULT hr = folder->EnumObjects(nullptr, ShellEnumFlags(FObjectTypes), list.Put());
    if (FAILED(hr))
        OleCheck(hr);
    if (!list)
        return;
    TbsPidlList ids;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (list->Next(1, &item, &fetched) == S_OK && item)
        ids.emplace_back(item);
    SortRootFolder = folder;
    std::stable_sort(ids.begin(), ids.end(), [folder](const TbsPidl& a, const TbsPidl& b) {
        return static_cast<short>(folder->CompareIDs(0, a.get(), b.get()) & 0xFFFF) < 0;
    });
    SortRootFolder = nullptr;
    for (size_t k = 0; k < ids.size(); ++k) {
        TComPtr<IShellFolder> child = GetItemShellFolder(folder, ids[k].get(), nullptr);
        InsertFolder(Position + static_cast<int>(k) + 1,
                     std::make_unique<TbsShellFolder>(Parent, child.Get(), ids[k].get()));
    }
}

int TbsCustomShellComboBox::IndexFromID(LPCITEMIDLIST FullPidl) const {
    for (int i = ItemExCount() - 1; i >= 0; --i)
        if (TbsShellFolder* f = FItemsEx[static_cast<size_t>(i)].Data.get(); f && PIDLsEqual(f->AbsoluteID(), FullPidl))
            return i;
    return -1;
}

void TbsCustomShellComboBox::SetPathFromID(LPCITEMIDLIST FullPidl) {
    TItemsUpdate guard(FItemsUpdate);
    // The root's own entries are read again only once a path was laid into them: a box just filled (its window
    // made, a root set) keeps them, so opening on a folder reads the desktop and the drives once.
    if (!FRootEntriesOnly || FItemsEx.empty())
        CreateRoot();
    FRootEntriesOnly = false;
    TbsPidlList prefixes = CreatePIDLPrefixList(FullPidl);
    int found = -1, current = -1;
    for (int p = static_cast<int>(prefixes.size()) - 1; p >= 0; --p)
        if ((current = IndexFromID(prefixes[static_cast<size_t>(p)].get())) >= 0) {
            found = p;
            break;
        }
    if (found < 0)
        return;
    auto insertChild = [&](LPCITEMIDLIST full) {
        TbsShellFolder* parent = FItemsEx[static_cast<size_t>(current)].Data.get();
        TbsPidl last(LastItemIDCopy(full));
        TComPtr<IShellFolder> child = GetItemShellFolder(parent->ShellFolder(), last.get(), nullptr);
        InsertFolder(current + 1, std::make_unique<TbsShellFolder>(parent, child.Get(), last.get()));
        ++current;
    };
    for (size_t p = static_cast<size_t>(found) + 1; p < prefixes.size(); ++p)
        insertChild(prefixes[p].get());
    int target = IndexFromID(FullPidl);
    if (target < 0) {
        insertChild(FullPidl);
        target = current;
    }
    CheckItems();
    SetItemIndex(target);
}

void TbsCustomShellComboBox::TreeUpdate(LPCITEMIDLIST FullPidl) {
    if (FUpdating)
        return;
    TbsShellFolder* shown = ItemIndex() >= 0 && ItemIndex() < ItemExCount() ? Folders(ItemIndex()) : nullptr;
    if (shown && PIDLsEqual(shown->AbsoluteID(), FullPidl))
        return;
    FUpdating = true;
    try {
        SetPathFromID(FullPidl);
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

void TbsCustomShellComboBox::Change() {
    if (FItemsUpdate > 0)
        return;
    TbsSkinCustomComboBox::Change();
    const int i = ItemIndex();
    if (i < 0 || i >= ItemExCount() || FUpdating || IsPopupVisible())
        return;
    FUpdating = true;
    try {
        TbsPidl full(CopyPIDL(Folders(i)->AbsoluteID()));
        if (FTreeView)
            FTreeView->SelectLinkedFolder(full.get());
        if (FListView)
            FListView->TreeUpdate(full.get());
        // The entries are rebuilt around the chosen folder.
        SetPathFromID(full.get());
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

void TbsCustomShellComboBox::RootChanged() {
    FUpdating = true;
    try {
        ClearItemsEx();
        CreateRoot();
        if (FTreeView)
            FTreeView->SetLinkedRoot(FRoot);
        if (FListView)
            FListView->SetRoot(FRoot);
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

void TbsCustomShellComboBox::DrawEntry(TCanvas* Cnvs, int Index, const TRect& R, bool Indented) {
    if (Index < 0 || Index >= ItemExCount())
        return;
    const TbsItemEx& e = FItemsEx[static_cast<size_t>(Index)];
    int x = R.Left;
    if (Indented)
        x += e.Indent * FImageWidth / 2;
    HDC dc = Cnvs->Handle();
    if (FImages) {
        if (e.ImageIndex >= 0)
            ::ImageList_DrawEx(FImages, e.ImageIndex, dc, x, R.Top + (R.Height() - FImageHeight) / 2, FImageWidth,
                               FImageHeight, CLR_NONE, CLR_NONE, ILD_NORMAL);
        x += FImageWidth + 4;
    }
    const int th = Cnvs->TextHeight(L"Wg");
    int y = R.Top + R.Height() / 2 - th / 2;
    if (Cnvs->Font()->Height() % 2 != 0)
        --y;
    Cnvs->Brush()->SetStyle(bsClear);
    Cnvs->TextOut(x, y, Items()->Get(Index));
}

void TbsCustomShellComboBox::CreateWnd() {
    TbsSkinCustomComboBox::CreateWnd();
    SetUseShellImages(FUseShellImages);
    if (FItemsEx.empty())
        CreateRoot();
    CheckItems();
}

void TbsCustomShellComboBox::DestroyWnd() {
    ClearItemsEx();
    TbsSkinCustomComboBox::DestroyWnd();
}

void TbsCustomShellComboBox::Loaded() {
    TbsSkinCustomComboBox::Loaded();
    CreateRoot();
}
