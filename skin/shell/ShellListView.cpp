#include "skin/shell/ShellListView.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "skin/controls/ControlSeam.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinUtils.h"
#include "skin/shell/ShellComboBox.h"
#include "skin/shell/ShellListRules.h"

namespace {

// The system version through the controls' seam, which tests can set.
void SystemVersion(int& Major, int& Minor) {
    Major = Minor = 0;
    if (ControlSeam().Version)
        ControlSeam().Version(Major, Minor);
}

}  // namespace

// ---- TbsThumbnailOptions ---------------------------------------------------------------------------------------------
void TbsThumbnailOptions::SetEnabled(bool Value) {
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    if (OnEnabledChange)
        OnEnabledChange(this);
}

void TbsThumbnailOptions::SetWidth(int Value) {
    if (FWidth == Value)
        return;
    FWidth = Value;
    Changed();
}

void TbsThumbnailOptions::SetHeight(int Value) {
    if (FHeight == Value)
        return;
    FHeight = Value;
    Changed();
}

void TbsThumbnailOptions::Changed() {
    if (FEnabled && OnChange)
        OnChange(this);
}

void TbsThumbnailOptions::SetValues(bool AEnabled, int AWidth, int AHeight) {
    FEnabled = AEnabled;
    FWidth = AWidth;
    FHeight = AHeight;
    if (OnEnabledChange)
        OnEnabledChange(this);
}

void TbsThumbnailOptions::Assign(TPersistent* Source) {
    if (auto* o = dynamic_cast<TbsThumbnailOptions*>(Source)) {
        FHeight = o->FHeight;
        FWidth = o->FWidth;
        FEnabled = o->FEnabled;
        FDrawSelectionFrame = o->FDrawSelectionFrame;
        return;
    }
    TPersistent::Assign(Source);
}

// ---- TbsCustomShellListView -----------------------------------------------------------------------------------------
TbsCustomShellListView::TbsCustomShellListView(TComponent* AOwner)
    : TbsSkinCustomListView(AOwner), FThumbnailOptions(std::make_unique<TbsThumbnailOptions>()) {
    FThumbnailOptions->OnChange = [this](TObject*) { OnThumbnailOptionsChange(); };
    FThumbnailOptions->OnEnabledChange = [this](TObject*) { OnThumbnailOptionsEnabledChange(); };
    int major = 0, minor = 0;
    SystemVersion(major, minor);
    FIsVistaOrLater = IsVistaOS(major, minor);
    SetOwnerData(true);
    SetHideSelection(false);
    SHFILEINFOW info{};
    FLargeImages = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX));
    FSmallImages = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

TbsCustomShellListView::~TbsCustomShellListView() {
    ClearThreads();
    if (FComboBox && FComboBox->ShellListView() == this)
        FComboBox->SetListView(nullptr);
    if (FTreeView)
        FTreeView->SetLinkedListView(nullptr);
    FThumbWindow.store(nullptr);
    FFolders.clear();
    FRootFolder.reset();
}

void TbsCustomShellListView::CreateParams(TCreateParams& Params) {
    TbsSkinCustomListView::CreateParams(Params);
    // The system image lists are shared by the whole process: the control must not destroy them.
    Params.Style |= LVS_SHAREIMAGELISTS;
}

TbsShellFolder* TbsCustomShellListView::Folders(int Index) const {
    if (FFolders.empty() || Index < 0 || Index >= static_cast<int>(FFolders.size()))
        return nullptr;
    return FFolders[static_cast<size_t>(Index)].get();
}

TbsShellFolder* TbsCustomShellListView::ThumbnailNode(int Index) const { return Folders(Index); }

TbsShellFolder* TbsCustomShellListView::SelectedFolder() {
    if (!HandleAllocated())
        return nullptr;
    return Folders(ItemIndex());
}

std::wstring TbsCustomShellListView::Path() const { return FRootFolder ? FRootFolder->PathName() : std::wstring(); }

TbsPidl ParseShellPath(const std::wstring& Path) {
    TComPtr<IShellFolder> desktop = DesktopShellFolder();
    LPITEMIDLIST pidl = nullptr;
    ULONG eaten = 0;
    std::wstring text = Path;
    if (!desktop || text.empty() ||
        FAILED(desktop->ParseDisplayName(nullptr, nullptr, text.data(), &eaten, &pidl, nullptr)) || !pidl)
        throw EInvalidPath(L"Error setting path: \"" + Path + L"\"");
    return TbsPidl(pidl);
}

void TbsCustomShellListView::SetPath(const std::wstring& Value) { SetPathFromID(ParseShellPath(Value).get()); }

void TbsCustomShellListView::SetRoot(const std::wstring& Value) {
    if (CompareText(Value, FRoot) == 0)
        return;
    SetRootDirectly(Value);
}

void TbsCustomShellListView::SetRootDirectly(const std::wstring& Value) {
    FOldRoot = FRoot;
    FRoot = Value;
    CreateRoot();
    FSettingRoot = true;
    RootChanged();
}

void TbsCustomShellListView::SetMask(const std::wstring& Value) {
    if (FMask == Value)
        return;
    FMask = Value;
    RootChanged();
}

void TbsCustomShellListView::SetSorted(bool Value) {
    if (FSorted == Value)
        return;
    FSorted = Value;
    Populate();
}

void TbsCustomShellListView::SetObjectTypes(TShellObjectTypes Value) {
    FObjectTypes = Value;
    if (!ComponentState().Contains(csLoading))
        RootChanged();
}

void TbsCustomShellListView::SetAutoRefresh(bool Value) {
    FAutoRefresh = Value;
    if (ComponentState().Contains(csLoading))
        return;
    delete std::exchange(FNotifier, nullptr);
    if (!Value)
        return;
    FNotifier = new TbsShellChangeNotifier(this);
    FNotifier->SetWatchSubTree(false);
    FNotifier->SetRoot(Path());
    FNotifier->SetOnChange([this] { Refresh(); });
}

void TbsCustomShellListView::SetViewStyle(TViewStyle Value) {
    TCustomListView::SetViewStyle(Value);
    if (Value == vsReport)
        EnumColumns();
}

void TbsCustomShellListView::SetComboBox(TbsCustomShellComboBox* Value) {
    if (FComboBox == Value)
        return;
    if (Value) {
        Value->SetRoot(FRoot);
        Value->SetListView(this);
        Value->FreeNotification(this);
    } else if (FComboBox) {
        FComboBox->SetListView(nullptr);
    }
    FComboBox = Value;
}

void TbsCustomShellListView::SetTreeView(IbsShellTreeLink* Value) {
    if (FTreeView == Value)
        return;
    if (Value) {
        Value->SetLinkedRoot(FRoot);
        Value->SetLinkedListView(this);
        Value->LinkComponent()->FreeNotification(this);
    } else if (FTreeView) {
        FTreeView->SetLinkedListView(nullptr);
    }
    FTreeView = Value;
}

void TbsCustomShellListView::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomListView::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FComboBox)
        FComboBox = nullptr;
    if (FTreeView && AComponent == FTreeView->LinkComponent())
        FTreeView = nullptr;
    if (AComponent == FNotifier)
        FNotifier = nullptr;
}

// ---- Opening folders --------------------------------------------------------------------------------------------------
void TbsCustomShellListView::SetPathFromID(LPCITEMIDLIST FullPidl) {
    if (FUpdating)
        return;
    if (FRootFolder && PIDLsEqual(FRootFolder->AbsoluteID(), FullPidl))
        return;
    SetFolderFromPIDL(FullPidl);
}

void TbsCustomShellListView::SetFolderFromPIDL(LPCITEMIDLIST FullPidl) {
    ClearThreads();
    ClearItems();
    FRootFolder = CreateFolderFromPIDL(FullPidl);
    FRootLoaded = true;
    FSettingRoot = false;
    RootChanged();
    if (OnPathChanged)
        OnPathChanged(this);
}

void TbsCustomShellListView::TreeUpdate(LPCITEMIDLIST FullPidl) {
    if (FUpdating || (FRootFolder && PIDLsEqual(FRootFolder->AbsoluteID(), FullPidl)))
        return;
    SetPathFromID(FullPidl);
}

void TbsCustomShellListView::CreateRoot() {
    FRootLoaded = true;
    std::unique_ptr<TbsShellFolder> node = ResolveRootFolder(FOldRoot, FRoot);
    ClearThreads();
    ClearItems();
    FRootFolder = std::move(node);
}

void TbsCustomShellListView::RootChanged() {
    if (FUpdating)
        return;
    FUpdating = true;
    try {
        SynchPaths();
        Populate();
        if (ViewStyle() == vsReport)
            EnumColumns();
        // The watch moves with the folder. The notifier stays: this may run inside its own change event (Refresh),
        // and freeing it there would wait for the very thread that waits for the event.
        if (FNotifier)
            FNotifier->SetRoot(Path());
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

void TbsCustomShellListView::SynchPaths() {
    if (FSettingRoot) {
        if (FTreeView)
            FTreeView->SetLinkedRoot(FRoot);
    } else if (FRootFolder) {
        if (FTreeView)
            FTreeView->SelectLinkedFolder(FRootFolder->AbsoluteID());
        if (FComboBox)
            FComboBox->TreeUpdate(FRootFolder->AbsoluteID());
    }
    FSettingRoot = false;
}

void TbsCustomShellListView::Back() {
    if (!FRootFolder)
        return;
    TbsPidl parent(CopyPIDL(FRootFolder->AbsoluteID()));
    RemoveLastItemID(parent.get());
    SetPathFromID(parent.get());
}

void TbsCustomShellListView::Refresh() {
    const int index = HandleAllocated() ? ItemIndex() : -1;
    if (HandleAllocated())
        SetItemIndex(-1);
    if (!FRootFolder)
        return;
    TbsPidl copy(CopyPIDL(FRootFolder->AbsoluteID()));
    // The root goes before the comparison, so the same folder is read again.
    ClearThreads();
    ClearItems();
    FRootFolder.reset();
    SetPathFromID(copy.get());
    if (index >= 0 && index < Items()->Count())
        SetItemIndex(index);
}

// ---- Filling ----------------------------------------------------------------------------------------------------------
bool TbsCustomShellListView::MatchesMask(TbsShellFolder* Node) const {
    const std::wstring name = Node->ParsingName();
    const size_t slash = name.find_last_of(L"\\/");
    return MatchesMaskList(FMask, slash == std::wstring::npos ? name : name.substr(slash + 1));
}

void TbsCustomShellListView::ClearThreads() {
    FStopFetch.store(true);
    for (auto& t : FThumbsThreadList) {
        t->Terminate();
        t->WaitFor();
    }
    FThumbsThreadList.clear();
    FStopFetch.store(false);
}

void TbsCustomShellListView::ClearItems() {
    if (!ComponentState().Contains(csDestroying))
        Items()->SetCount(0);
    FFolders.clear();
}

void TbsCustomShellListView::SortFolders(bool ColumnSort) {
    IShellFolder* folder = FRootFolder ? FRootFolder->ShellFolder() : nullptr;
    auto base = [folder](TbsShellFolder* a, TbsShellFolder* b) {
        const bool fa = a->IsFolder(), fb = b->IsFolder();
        long ids = 0;
        if (fa == fb && folder)
            ids = folder->CompareIDs(0, a->RelativeID(), b->RelativeID());
        return BaseSortOrder(fa, fb, ids);
    };
    SortRootFolder = folder;
    if (!ColumnSort) {
        std::stable_sort(FFolders.begin(), FFolders.end(),
                         [&](const auto& a, const auto& b) { return base(a.get(), b.get()) < 0; });
        SortRootFolder = nullptr;
        return;
    }
    HWND window = HandleAllocated() ? Handle() : nullptr;
    wchar_t sep[8] = L":";
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, sep, 8);
    auto facts = [&](TbsShellFolder* n) {
        TbsSortItem s;
        s.IsFolder = n->IsFolder();
        s.Name = n->DisplayName();
        if (FSortColumn != 0) {
            n->LoadColumnDetails(FRootFolder.get(), window, 4);
            s.Column2 = n->GetDetails(2);
            WIN32_FIND_DATAW d = ReadFindData(*n);
            s.Size = (static_cast<std::int64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
            s.WriteTime = (static_cast<std::int64_t>(d.ftLastWriteTime.dwHighDateTime) << 32) |
                          d.ftLastWriteTime.dwLowDateTime;
        }
        return s;
    };
    std::vector<TbsSortItem> keys;
    std::vector<size_t> order;
    try {
        for (size_t i = 0; i < FFolders.size(); ++i) {
            keys.push_back(facts(FFolders[i].get()));
            order.push_back(i);
        }
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            TbsShellFolder* na = FFolders[a].get();
            TbsShellFolder* nb = FFolders[b].get();
            TbsColumnSort sort;
            sort.Column = FSortColumn;
            sort.Descending = FSortDirection;
            sort.DetailsEx = na->DetailsEx();
            sort.TimeSeparatorFound = FSortColumn == 0 || na->GetDetails(4).find(sep) != std::wstring::npos;
            return ColumnSortCompare(keys[a], keys[b], base(na, nb), sort) < 0;
        });
    } catch (...) {
        SortRootFolder = nullptr;
        throw;
    }
    SortRootFolder = nullptr;
    std::vector<std::unique_ptr<TbsShellFolder>> sorted;
    for (size_t i : order)
        sorted.push_back(std::move(FFolders[i]));
    FFolders = std::move(sorted);
}

void TbsCustomShellListView::Populate() {
    if (ComponentState().Contains(csLoading) && !HandleAllocated())
        return;
    ClearThreads();
    Items()->BeginUpdate();
    ClearItems();
    if (HandleAllocated()) {
        SendMessageW(Handle(), WM_VSCROLL, SB_TOP, 0);
        SendMessageW(Handle(), WM_HSCROLL, SB_TOP, 0);
    }
    if (FRootFolder && FRootFolder->ShellFolder()) {
        TComPtr<IEnumIDList> list;
        HWND owner = HandleAllocated() ? ::GetAncestor(Handle(), GA_ROOT) : nullptr;
        if (SUCCEEDED(FRootFolder->ShellFolder()->EnumObjects(owner, ShellEnumFlags(FObjectTypes), list.Put())) &&
            list) {
            LPITEMIDLIST item = nullptr;
            ULONG fetched = 0;
            while (list->Next(1, &item, &fetched) == S_OK && item) {
                TbsPidl owned(item);
                TComPtr<IShellFolder> folder = GetItemShellFolder(FRootFolder->ShellFolder(), owned.get(), nullptr);
                auto node = std::make_unique<TbsShellFolder>(FRootFolder.get(), folder.Get(), owned.get());
                bool canAdd = node->IsFolder() || MatchesMask(node.get());
                if (OnAddFolder)
                    OnAddFolder(this, node.get(), canAdd);
                if (!canAdd)
                    continue;
                FFolders.push_back(std::move(node));
            }
        }
    }
    if (FSorted)
        SortFolders(false);
    Items()->SetCount(static_cast<int>(FFolders.size()));
    Items()->EndUpdate();
    if (ViewStyle() == vsList && !FFolders.empty() && HandleAllocated() && Columns()->Count() > 0)
        Columns()->Items(0)->SetWidth(ListColumnWidth());
    if (IsThumbnailView() && !FFolders.empty()) {
        const int n = ThumbnailThreadCount(static_cast<int>(FFolders.size()));
        FThumbSize = SIZE{FThumbnailOptions->Width(), FThumbnailOptions->Height()};
        for (bool iconOnly : {false, true})
            for (int k = 0; k < n; ++k) {
                FThumbsThreadList.push_back(
                    std::make_unique<TbsThumbnailsThread>(this, iconOnly, n, k, FIsVistaOrLater));
                FThumbsThreadList.back()->Start();
            }
    }
}

// The list style's one column width: the widest name in the font the control draws with, its small icon and the
// control's paddings around both (the longest name in characters need not be the widest).
int TbsCustomShellListView::ListColumnWidth() {
    HDC dc = ::GetDC(Handle());
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : static_cast<HGDIOBJ>(Font()->Handle()));
    int widest = 0;
    for (const auto& node : FFolders) {
        const std::wstring& name = node->DisplayName();
        SIZE s{};
        if (::GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &s))
            widest = std::max(widest, static_cast<int>(s.cx));
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(Handle(), dc);
    constexpr int kPaddings = 24;  // icon to label, label ends, a column gap
    return widest + ::GetSystemMetrics(SM_CXSMICON) + kPaddings;
}

// ---- Columns ----------------------------------------------------------------------------------------------------------
void TbsCustomShellListView::EnumColumns() {
    if (!FRootFolder || !FRootFolder->ShellFolder() || !HandleAllocated())
        return;
    std::vector<std::wstring> captions;
    std::vector<std::pair<int, int>> looks;  // alignment, characters
    FRootFolder->SetViewHandle(Handle());
    auto width = [this](int chars, bool first) {
        HDC dc = ::GetDC(Handle());
        HGDIOBJ old = ::SelectObject(dc, Font()->Handle());
        SIZE s{};
        ::GetTextExtentPoint32W(dc, first ? L"A1" : L"W", first ? 2 : 1, &s);
        ::SelectObject(dc, old);
        ::ReleaseDC(Handle(), dc);
        return chars * s.cx;
    };
    auto add = [&](const std::wstring& caption, int fmt, int chars) {
        if (caption.empty() || std::find(captions.begin(), captions.end(), caption) != captions.end())
            return;
        captions.push_back(caption);
        looks.emplace_back(fmt, chars);
    };
    if (IShellFolder2* f2 = FRootFolder->ShellFolder2()) {
        bool seenDefault = false;
        for (UINT i = 0;; ++i) {
            SHELLDETAILS d{};
            if (FAILED(f2->GetDetailsOf(nullptr, i, &d)))
                break;
            SHCOLSTATEF state = 0;
            f2->GetDefaultColumnState(i, &state);
            const bool on = (state & SHCOLSTATE_ONBYDEFAULT) != 0;
            if (on)
                seenDefault = true;
            else if (seenDefault)
                break;
            add(StrRetToString(nullptr, d.str), d.fmt & 3, d.cxChar);
        }
    } else if (IShellDetails* sd = FRootFolder->ShellDetails()) {
        for (UINT i = 0;; ++i) {
            SHELLDETAILS d{};
            if (FAILED(sd->GetDetailsOf(nullptr, i, &d)))
                break;
            const std::wstring c = StrRetToString(nullptr, d.str);
            if (std::find(captions.begin(), captions.end(), c) != captions.end())
                break;
            add(c, d.fmt & 3, d.cxChar);
        }
    } else {
        auto text = [this](const wchar_t* key, const wchar_t* fallback) {
            std::wstring s = SkinData() && SkinData()->ResourceStrData() ? SkinData()->ResourceStrData()->GetResStr(key)
                                                                     : std::wstring();
            return s.empty() ? std::wstring(fallback) : s;
        };
        add(text(L"FLV_NAME", L"Name"), 0, 25);
        if (FRootFolder->Properties().Contains(fpFileSystem)) {
            add(text(L"FLV_SIZE", L"Size"), 1, 10);
            add(text(L"FLV_TYPE", L"Type"), 0, 10);
            add(text(L"FLV_MODIFIED", L"Modified"), 0, 14);
        }
    }
    const TAlignment aligns[] = {taLeftJustify, taRightJustify, taCenter, taLeftJustify};
    if (Columns()->Count() != static_cast<int>(captions.size()))
        Columns()->Clear();
    for (size_t i = 0; i < captions.size(); ++i) {
        TListColumn* c = static_cast<int>(i) < Columns()->Count() ? Columns()->Items(static_cast<int>(i))
                                                                   : Columns()->Add();
        c->SetCaption(captions[i]);
        // The control keeps its first column left-aligned whatever the shell says; the header follows it.
        c->SetAlignment(i == 0 ? taLeftJustify : aligns[looks[i].first & 3]);
        c->SetWidth(width(looks[i].second, i == 0));
    }
}

void TbsCustomShellListView::SortByColumn(int Column) {
    if (Columns()->Count() < 4 && Column != 0)
        return;
    FOldSortColumn = FSortColumn;
    FSortColumn = Column;
    if (FSortColumn == FOldSortColumn && FOldSortColumn != -1)
        FSortDirection = !FSortDirection;
    else
        FSortDirection = false;
    ClearThreads();
    Items()->BeginUpdate();
    try {
        SortFolders(true);
    } catch (...) {
        Items()->EndUpdate();
        throw;
    }
    Items()->EndUpdate();
    if (HandleAllocated() && !FFolders.empty())
        UpdateItems(0, static_cast<int>(FFolders.size()) - 1);  // the rows moved: none may come from the cache
}

void TbsCustomShellListView::ColClick(TListColumn* Column) {
    TbsSkinCustomListView::ColClick(Column);
    SortByColumn(Column->Index());
}

// ---- Owner data ---------------------------------------------------------------------------------------------------------
bool TbsCustomShellListView::OwnerDataFetch(TListItem* Item) {
    if (FStopFetch.load())
        return false;
    TbsShellFolder* node = Folders(Item->Index());
    if (!node || Item->Index() >= Items()->Count())
        return false;
    const UINT fields = OwnerDataFields();
    Item->SetCaption(node->DisplayName());
    // The system icon is slow to find (under Wine it reads the whole folder): only for rows the system draws.
    if (!IsThumbnailView() && (fields & LVIF_IMAGE))
        Item->SetImageIndex(node->ImageIndex(ViewStyle() == vsIcon));
    if (ViewStyle() == vsReport && (fields & LVIF_TEXT)) {
        const int count = Columns()->Count();
        node->LoadColumnDetails(FRootFolder.get(), Handle(), count);
        Item->SubItems()->Clear();
        for (int c = 1; c < count; ++c)
            Item->SubItems()->Add(node->GetDetails(c));
    }
    return TbsSkinCustomListView::OwnerDataFetch(Item) || true;
}

int TbsCustomShellListView::OwnerDataFind(const std::wstring& Text, int Start, bool Wrap) {
    const int n = static_cast<int>(FFolders.size());
    if (Start < 0)  // "from the beginning", as some versions of the control pass it
        Start = 0;
    if (Start >= n)
        return -1;
    auto upper = [](std::wstring s) {
        if (!s.empty())
            ::CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
        return s;
    };
    const std::wstring key = upper(Text);
    int i = Start;
    for (int visited = 0; visited < n; ++visited) {
        if (upper(FFolders[static_cast<size_t>(i)]->DisplayName()).compare(0, key.size(), key) == 0)
            return i;
        if (++i >= n) {
            if (!Wrap)
                return -1;
            i = 0;
        }
    }
    return -1;
}

// ---- Thumbnails ---------------------------------------------------------------------------------------------------------
bool TbsCustomShellListView::IsThumbnailView() const {
    return FIsVistaOrLater && ViewStyle() == vsIcon && FThumbnailOptions->Enabled();
}

void TbsCustomShellListView::ApplySystemImages() {
    if (!HandleAllocated())
        return;
    if (FSmallImages)
        SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(FSmallImages));
    if (FLargeImages)
        SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(FLargeImages));
}

void TbsCustomShellListView::UpdateThumbnails() {
    SetDoubleBuffered(true);
    if (IsThumbnailView()) {
        FIsThumbnailView = true;
        OnDrawItemImage = [this](TListItem* I, TCanvas* C, const TRect& R) { DrawThumbnailImage(I, C, R); };
        FTempThumbnailImages =
            std::make_unique<TCustomImageList>(nullptr, FThumbnailOptions->Width(), FThumbnailOptions->Height());
        SetLargeImages(FTempThumbnailImages.get());
        if (!DrawSkin())
            SetDrawSkin(true);
        return;
    }
    FIsThumbnailView = false;
    OnDrawItemImage = nullptr;
    SetSmallImages(nullptr);
    SetLargeImages(nullptr);
    FTempThumbnailImages.reset();
    ApplySystemImages();
}

void TbsCustomShellListView::OnThumbnailOptionsEnabledChange() {
    if (FThumbnailOptions->Enabled() && ViewStyle() != vsIcon)
        SetViewStyle(vsIcon);
    UpdateThumbnails();
    RootChanged();
}

void TbsCustomShellListView::OnThumbnailOptionsChange() {
    UpdateThumbnails();
    RootChanged();
}

void TbsCustomShellListView::UpdateThumbnail(TbsShellFolder* Node) {
    const TbsThumbnailState state = Node->ThumbnailState();
    HBITMAP source = nullptr;
    TbsThumbnailStateItem mark = bsthmbThumbnailLoaded;
    if (Node->FThumbnailHBitmap.load() && !state.Contains(bsthmbThumbnailLoaded)) {
        source = Node->FThumbnailHBitmap.exchange(nullptr);
    } else if (Node->FIconHBitmap.load() && state.Empty()) {
        source = Node->FIconHBitmap.exchange(nullptr);
        mark = bsthmbIconLoaded;
    }
    if (!source)
        return;
    BITMAP info{};
    ::GetObjectW(source, sizeof(info), &info);
    TbsBitmap* picture = Node->Thumbnail();
    picture->AlphaBlend = true;
    picture->SetSize(info.bmWidth, std::abs(info.bmHeight));
    if (!picture->Empty()) {
        picture->SetAlpha(0);
        HDC dc = ::CreateCompatibleDC(picture->DC());
        HGDIOBJ old = ::SelectObject(dc, source);
        ::BitBlt(picture->DC(), 0, 0, picture->Width(), picture->Height(), dc, 0, 0, SRCCOPY);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        // A picture without any alpha is opaque.
        bool anyAlpha = false;
        for (int y = 0; y < picture->Height() && !anyAlpha; ++y)
            for (int x = 0; x < picture->Width(); ++x)
                if (picture->GetPixel(x, y) >> 24) {
                    anyAlpha = true;
                    break;
                }
        if (!anyAlpha) {
            picture->SetAlpha(255);
            picture->AlphaBlend = false;
        }
    }
    ::DeleteObject(source);
    Node->IncludeThumbnailState(mark);
}

void TbsCustomShellListView::DrawThumbnailImage(TListItem* Item, TCanvas* ACanvas, const TRect& ARect) {
    if (FStopFetch.load() || !FIsVistaOrLater)
        return;
    TbsShellFolder* node = Folders(Item->Index());
    if (!node)
        return;
    UpdateThumbnail(node);
    if (node->ThumbnailState().Empty())
        return;
    TbsBitmap* picture = node->Thumbnail();
    const bool iconOnly = picture->Empty() || picture->Width() == 0;
    if (iconOnly && node->FThumbnailIndex.load() < 0)
        return;
    if (Item->Selected() && FThumbnailOptions->DrawSelectionFrame()) {
        TColor frame = clHighlight;
        if (SkinData() && !SkinData()->Empty)
            frame = static_cast<TColor>(SkinData()->SkinColors()->cHighLight);
        HBRUSH b = ::CreateSolidBrush(ColorToRGB(frame) & 0xFFFFFF);
        RECT r{ARect.Left, ARect.Top, ARect.Right, ARect.Bottom};
        ::FrameRect(ACanvas->Handle(), &r, b);
        ::DeleteObject(b);
    }
    if (iconOnly) {
        // Only the icon fallback: the large system icon, centred.
        int w = 32, h = 32;
        ::ImageList_GetIconSize(FLargeImages, &w, &h);
        ::ImageList_Draw(FLargeImages, node->FThumbnailIndex.load(), ACanvas->Handle(),
                         ARect.Left + ARect.Width() / 2 - w / 2, ARect.Top + ARect.Height() / 2 - h / 2,
                         ILD_TRANSPARENT);
        return;
    }
    const int x = ARect.Left + ARect.Width() / 2 - picture->Width() / 2;
    const int y = ARect.Top + ARect.Height() / 2 - picture->Height() / 2;
    if (picture->AlphaBlend) {
        BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::GdiAlphaBlend(ACanvas->Handle(), x, y, picture->Width(), picture->Height(), picture->DC(), 0, 0,
                        picture->Width(), picture->Height(), bf);
    } else {
        ::BitBlt(ACanvas->Handle(), x, y, picture->Width(), picture->Height(), picture->DC(), 0, 0, SRCCOPY);
    }
}

void TbsCustomShellListView::NewAdvancedDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State,
                                                 TCustomDrawStage Stage, bool& DefaultDraw) {
    if (FStopFetch.load() || !Item || Item->Index() >= static_cast<int>(FFolders.size()))
        return;
    TbsSkinCustomListView::NewAdvancedDrawItem(Sender, Item, State, Stage, DefaultDraw);
}

// ---- Input --------------------------------------------------------------------------------------------------------------
void TbsCustomShellListView::OpenFolder(TbsShellFolder* Node) {
    TbsPidl full(CopyPIDL(Node->AbsoluteID()));
    SetPathFromID(full.get());
}

void TbsCustomShellListView::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomListView::KeyDown(Key, Shift);
    if (!FAutoNavigate)
        return;
    if (Key == VK_BACK) {
        if (!HandleAllocated() || !SendMessageW(Handle(), LVM_GETEDITCONTROL, 0, 0))
            Back();
    } else if (Key == VK_RETURN) {
        TbsShellFolder* node = SelectedFolder();
        if (Shift.Contains(ssAlt)) {
            if (node)
                RunContextMenuVerb(node, "properties");
            Key = 0;
        } else if (node && node->IsFolder()) {
            OpenFolder(node);
        }
    } else if (Key == VK_F5) {
        Refresh();
    }
}

void TbsCustomShellListView::DblClick() {
    if (FAutoNavigate)
        if (TbsShellFolder* node = SelectedFolder(); node && node->IsFolder())
            OpenFolder(node);
    TbsSkinCustomListView::DblClick();
}

void TbsCustomShellListView::DoContextPopup(TPoint MousePos, bool& Handled) {
    TbsShellFolder* node = SelectedFolder();
    if (FAutoContext && node) {
        ShowShellContextMenu(this, node, MousePos.X, MousePos.Y);
        Handled = true;
        Refresh();
        return;
    }
    TbsSkinCustomListView::DoContextPopup(MousePos, Handled);
}

void TbsCustomShellListView::EditText() {
    if (HandleAllocated() && ItemIndex() >= 0)
        SendMessageW(Handle(), LVM_EDITLABELW, static_cast<WPARAM>(ItemIndex()), 0);
}

void TbsCustomShellListView::Edit(int Index, const std::wstring& Caption) {
    TbsShellFolder* node = Folders(Index);
    if (Caption.empty() || !node)
        return;
    node->Rename(Caption);
    UpdateItems(Index, Index);
    if (FTreeView)
        FTreeView->RefreshSelectedNode();
}

void TbsCustomShellListView::ExecuteCommand(const std::wstring& Verb, bool& Handled) {
    if (CompareText(Verb, L"rename") == 0) {
        EditText();
        Handled = true;
    } else if (CompareText(Verb, L"open") == 0) {
        wchar_t buf[MAX_PATH + 1] = {};
        ::GetCurrentDirectoryW(MAX_PATH, buf);
        FSavePath = buf;
        if (TbsShellFolder* node = SelectedFolder()) {
            std::wstring path = node->PathName();
            const size_t slash = path.find_last_of(L'\\');
            if (slash != std::wstring::npos)
                ::SetCurrentDirectoryW(path.substr(0, slash + 1).c_str());
        }
    }
}

void TbsCustomShellListView::CommandCompleted(const std::wstring& Verb, bool Succeeded) {
    // The folder "open" changed goes back whether the verb ran or not.
    if (CompareText(Verb, L"open") == 0 && !FSavePath.empty()) {
        ::SetCurrentDirectoryW(FSavePath.c_str());
        FSavePath.clear();
    }
    if (Succeeded && (CompareText(Verb, L"delete") == 0 || CompareText(Verb, L"paste") == 0))
        Refresh();
}

std::wstring TbsCustomShellListView::GetSelectedFile() {
    TbsShellFolder* node = SelectedFolder();
    return node && !node->IsFolder() ? node->FullObjectName() : std::wstring();
}

void TbsCustomShellListView::GetSelectedFiles(TStrings* Files) {
    Files->Clear();
    if (!HandleAllocated())
        return;
    int i = -1;
    while ((i = static_cast<int>(SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0)
        if (TbsShellFolder* node = Folders(i); node && !node->IsFolder())
            Files->Add(node->FullObjectName());
}

std::wstring TbsCustomShellListView::GetSelectedPath() {
    int major = 0, minor = 0;
    SystemVersion(major, minor);
    if (!CheckWXP(major, minor) || !FRootFolder || !FRootFolder->Parent())
        return Path();
    TComPtr<IShellFolder> desktop = DesktopShellFolder();
    std::wstring name = desktop ? GetDisplayName(desktop.Get(), FRootFolder->AbsoluteID(), SHGDN_FORPARSING)
                                : std::wstring();
    struct Library {
        const wchar_t* Name;
        int Csidl;
    };
    const Library libraries[] = {{L"Documents.library-ms", CSIDL_PERSONAL},
                                 {L"Videos.library-ms", CSIDL_MYVIDEO},
                                 {L"Pictures.library-ms", CSIDL_MYPICTURES},
                                 {L"Music.library-ms", CSIDL_MYMUSIC}};
    for (const Library& l : libraries)
        if (name.find(l.Name) != std::wstring::npos) {
            wchar_t path[MAX_PATH + 1] = {};
            if (::SHGetSpecialFolderPathW(nullptr, path, l.Csidl, FALSE))
                name = path;
            break;
        }
    return name.find(L"::{") != std::wstring::npos ? std::wstring() : name;
}

// ---- Window -------------------------------------------------------------------------------------------------------------
void TbsCustomShellListView::WndProc(TMessage& Message) {
    PassContextMenuMessage(Message.Msg, Message.WParam, Message.LParam);
    switch (Message.Msg) {
        case CN_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
            if (hdr->code == LVN_ODFINDITEMW) {
                auto* f = reinterpret_cast<NMLVFINDITEMW*>(hdr);
                Message.Result = -1;
                if ((f->lvfi.flags & (LVFI_PARTIAL | LVFI_STRING)) && f->lvfi.psz)
                    Message.Result = OwnerDataFind(f->lvfi.psz, f->iStart, (f->lvfi.flags & LVFI_WRAP) != 0);
                return;
            }
            if (hdr->code == LVN_BEGINLABELEDITW) {
                Message.Result = 0;
                return;
            }
            if (hdr->code == LVN_ENDLABELEDITW) {
                auto* d = reinterpret_cast<NMLVDISPINFOW*>(hdr);
                Message.Result = 0;
                if (d->item.pszText)
                    Edit(d->item.iItem, d->item.pszText);
                return;
            }
            break;
        }
        default:
            break;
    }
    TbsSkinCustomListView::WndProc(Message);
}

void TbsCustomShellListView::CreateWnd() {
    TbsSkinCustomListView::CreateWnd();
    FThumbWindow.store(Handle());
    UpdateThumbnails();
    if (!FRootLoaded)
        CreateRoot();
    RootChanged();
}

void TbsCustomShellListView::DestroyWnd() {
    ClearThreads();
    FThumbWindow.store(nullptr);
    ClearItems();
    TbsSkinCustomListView::DestroyWnd();
}

void TbsCustomShellListView::Loaded() {
    TbsSkinCustomListView::Loaded();
    if (!IsThumbnailView())
        Populate();
    SetAutoRefresh(FAutoRefresh);
}
