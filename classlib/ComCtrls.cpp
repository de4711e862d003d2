// Common controls: list view, tree view, page control and up-down over the system's classes.
#include "classlib/ComCtrls.h"

#include <algorithm>

#include "classlib/SysUtils.h"

namespace {
LRESULT SendTo(TWinControl* c, UINT msg, WPARAM w = 0, LPARAM l = 0) {
    return c->HandleAllocated() ? SendMessageW(c->Handle(), msg, w, l) : 0;
}

int ColumnFormat(TAlignment a) {
    return a == taRightJustify ? LVCFMT_RIGHT : a == taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
}

// Sets or clears a weak reference to an image list, watching for its end.
void SetWatched(TComponent* watcher, TCustomImageList*& field, TCustomImageList* value) {
    if (field)
        field->RemoveFreeNotification(watcher);
    field = value;
    if (value)
        value->FreeNotification(watcher);
}

HIMAGELIST ListHandle(TCustomImageList* list) {
    return list ? list->Handle() : nullptr;
}

// One item's custom drawing: Canvas is lent the item's DC with the control's font and colour, the handler runs
// (it returns DefaultDraw); at pre-paint what it chose (brush colour, font) becomes the item's look.
LRESULT CustomDrawWithCanvas(TCanvas* canvas,
                             TWinControl* control,
                             NMCUSTOMDRAW& nm,
                             COLORREF& clrText,
                             COLORREF& clrTextBk,
                             bool wantPostPaint,
                             const std::function<bool()>& handler) {
    const bool pre = nm.dwDrawStage == CDDS_ITEMPREPAINT;
    canvas->SetHandle(nm.hdc);
    canvas->SetFont(control->Font());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(control->Color());
    bool defaultDraw = true;
    try {
        defaultDraw = handler();
    } catch (...) {
        canvas->SetHandle(nullptr);
        throw;
    }
    const HFONT font = canvas->Font()->Handle();
    const COLORREF text = ColorToRGB(canvas->Font()->Color()) & 0xFFFFFF;
    const COLORREF back = ColorToRGB(canvas->Brush()->Color()) & 0xFFFFFF;
    canvas->SetHandle(nullptr);
    if (!pre)
        return CDRF_DODEFAULT;
    if (!defaultDraw)
        return CDRF_SKIPDEFAULT;
    clrText = text;
    clrTextBk = back;
    SelectObject(nm.hdc, font);  // the canvas's font object lives on with the canvas
    return CDRF_NEWFONT | (wantPostPaint ? CDRF_NOTIFYPOSTPAINT : 0);
}
}  // namespace

TCustomDrawState CustomDrawStateOf(UINT itemState) {
    TCustomDrawState s;
    if (itemState & CDIS_SELECTED)
        s.Include(cdsSelected);
    if (itemState & CDIS_GRAYED)
        s.Include(cdsGrayed);
    if (itemState & CDIS_DISABLED)
        s.Include(cdsDisabled);
    if (itemState & CDIS_CHECKED)
        s.Include(cdsChecked);
    if (itemState & CDIS_FOCUS)
        s.Include(cdsFocused);
    if (itemState & CDIS_DEFAULT)
        s.Include(cdsDefault);
    if (itemState & CDIS_HOT)
        s.Include(cdsHot);
    if (itemState & CDIS_MARKED)
        s.Include(cdsMarked);
    if (itemState & CDIS_INDETERMINATE)
        s.Include(cdsIndeterminate);
    return s;
}

// ---- TListColumn ----------------------------------------------------------------------------------------------------
void TListColumn::Apply(bool insert) {
    if (!owner_->HandleAllocated())
        return;
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    col.fmt = ColumnFormat(alignment_);
    col.cx = width_;
    col.pszText = const_cast<wchar_t*>(caption_.c_str());
    col.iSubItem = index_;
    if (imageIndex_ >= 0) {
        col.mask |= LVCF_IMAGE;
        col.fmt |= LVCFMT_IMAGE;
        col.iImage = imageIndex_;
    }
    SendMessageW(owner_->Handle(), insert ? LVM_INSERTCOLUMNW : LVM_SETCOLUMNW, static_cast<WPARAM>(index_),
                 reinterpret_cast<LPARAM>(&col));
}

void TListColumn::SetCaption(const std::wstring& Value) {
    caption_ = Value;
    Apply(false);
}

int TListColumn::Width() {
    if (owner_->HandleAllocated())
        width_ = static_cast<int>(SendMessageW(owner_->Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index_), 0));
    return width_;
}

void TListColumn::SetWidth(int Value) {
    width_ = Value;
    Apply(false);
}

void TListColumn::SetAlignment(TAlignment Value) {
    alignment_ = Value;
    Apply(false);
}

void TListColumn::SetImageIndex(int Value) {
    imageIndex_ = Value;
    Apply(false);
}

TListColumn* TListColumns::Add() {
    columns_.push_back(std::make_unique<TListColumn>(owner_, Count()));
    columns_.back()->Apply(true);
    return columns_.back().get();
}

TListColumn* TListColumns::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        RaiseListIndexError(Index);
    return columns_[static_cast<size_t>(Index)].get();
}

void TListColumns::Delete(int Index) {
    Items(Index);
    columns_.erase(columns_.begin() + Index);
    SendTo(owner_, LVM_DELETECOLUMN, static_cast<WPARAM>(Index));
    for (int i = Index; i < Count(); ++i)
        columns_[static_cast<size_t>(i)]->index_ = i;
}

void TListColumns::Clear() {
    while (Count() > 0)
        Delete(Count() - 1);
}

// ---- TListItem ------------------------------------------------------------------------------------------------------
TListItem::TListItem(TListItems* owner) : owner_(owner), subItems_(std::make_unique<TStringList>()) {
    subItems_->OnChange = [this](TObject*) { SubItemsChanged(); };
}

TListItem::~TListItem() {
    subItems_->OnChange = nullptr;
}

TCustomListView* TListItem::ListView() const {
    return owner_->Owner();
}

// Gives the item's caption, image and sub-items to the window (insert: as a new row at index_).
void TListItem::Apply(bool insert) {
    TCustomListView* lv = ListView();
    if (!lv->HandleAllocated() || lv->OwnerData() || index_ < 0 || applying_)
        return;
    applying_ = true;
    LVITEMW it{};
    it.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    it.iItem = index_;
    it.pszText = const_cast<wchar_t*>(caption_.c_str());
    it.iImage = imageIndex_;
    it.lParam = reinterpret_cast<LPARAM>(this);
    if (insert)
        SendMessageW(lv->Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
    else
        SendMessageW(lv->Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    if (insert && checked_)
        ListView_SetCheckState(lv->Handle(), index_, TRUE);
    for (int i = 0; i < subItems_->Count(); ++i) {
        const std::wstring s = subItems_->Get(i);
        LVITEMW sub{};
        sub.iSubItem = i + 1;
        sub.pszText = const_cast<wchar_t*>(s.c_str());
        SendMessageW(lv->Handle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index_), reinterpret_cast<LPARAM>(&sub));
    }
    for (size_t i = 0; i < subItemImages_.size(); ++i) {
        LVITEMW sub{};
        sub.mask = LVIF_IMAGE;
        sub.iItem = index_;
        sub.iSubItem = static_cast<int>(i) + 1;
        sub.iImage = subItemImages_[i];
        SendMessageW(lv->Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&sub));
    }
    applying_ = false;
}

void TListItem::SubItemsChanged() {
    TCustomListView* lv = ListView();
    if (lv->OwnerData() || !lv->HandleAllocated() || index_ < 0)
        return;
    // Clear texts of columns that lost their sub-item, then write the rest.
    for (int c = subItems_->Count() + 1; c < lv->Columns()->Count(); ++c) {
        LVITEMW sub{};
        sub.iSubItem = c;
        sub.pszText = const_cast<wchar_t*>(L"");
        SendMessageW(lv->Handle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index_), reinterpret_cast<LPARAM>(&sub));
    }
    Apply(false);
}

void TListItem::SetCaption(const std::wstring& Value) {
    caption_ = Value;
    Apply(false);
}

void TListItem::SetImageIndex(int Value) {
    imageIndex_ = Value;
    Apply(false);
}

int TListItem::SubItemImages(int Index) const {
    return Index >= 0 && static_cast<size_t>(Index) < subItemImages_.size() ? subItemImages_[static_cast<size_t>(Index)]
                                                                              : -1;
}

void TListItem::SetSubItemImages(int Index, int Value) {
    if (Index < 0 || SubItemImages(Index) == Value)
        return;
    if (static_cast<size_t>(Index) >= subItemImages_.size())
        subItemImages_.resize(static_cast<size_t>(Index) + 1, -1);
    subItemImages_[static_cast<size_t>(Index)] = Value;
    TCustomListView* lv = ListView();
    // An owner-data row is only read while it is drawn; the view's style stays as the program set it.
    if (!lv->OwnerData() && !lv->subItemImages_) {
        lv->subItemImages_ = true;
        if (lv->HandleAllocated())
            lv->ApplyExtendedStyle();
    }
    Apply(false);
}

bool TListItem::Checked() {
    TCustomListView* lv = ListView();
    if (lv->HandleAllocated() && !lv->OwnerData() && index_ >= 0)
        checked_ = ListView_GetCheckState(lv->Handle(), index_) != 0;
    return checked_;
}

void TListItem::SetChecked(bool Value) {
    checked_ = Value;
    TCustomListView* lv = ListView();
    if (lv->HandleAllocated() && !lv->OwnerData() && index_ >= 0)
        ListView_SetCheckState(lv->Handle(), index_, Value ? TRUE : FALSE);
}

bool TListItem::Selected() {
    return SendTo(ListView(), LVM_GETITEMSTATE, static_cast<WPARAM>(index_), LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool Value) {
    LVITEMW it{};
    it.stateMask = LVIS_SELECTED;
    it.state = Value ? LVIS_SELECTED : 0;
    SendTo(ListView(), LVM_SETITEMSTATE, static_cast<WPARAM>(index_), reinterpret_cast<LPARAM>(&it));
}

bool TListItem::Focused() {
    return SendTo(ListView(), LVM_GETITEMSTATE, static_cast<WPARAM>(index_), LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool Value) {
    LVITEMW it{};
    it.stateMask = LVIS_FOCUSED;
    it.state = Value ? LVIS_FOCUSED : 0;
    SendTo(ListView(), LVM_SETITEMSTATE, static_cast<WPARAM>(index_), reinterpret_cast<LPARAM>(&it));
}

TRect TListItem::DisplayRect(TDisplayCode Code) {
    RECT r{};
    r.left = Code == drBounds  ? LVIR_BOUNDS
             : Code == drIcon  ? LVIR_ICON
             : Code == drLabel ? LVIR_LABEL
                               : LVIR_SELECTBOUNDS;
    if (!SendTo(ListView(), LVM_GETITEMRECT, static_cast<WPARAM>(index_), reinterpret_cast<LPARAM>(&r)))
        return {};
    return {r.left, r.top, r.right, r.bottom};
}

void TListItem::Delete() {
    owner_->Delete(index_);
}

void TListItem::MakeVisible(bool PartialOK) {
    SendTo(ListView(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index_), PartialOK ? TRUE : FALSE);
}

void TListItem::Update() {
    SendTo(ListView(), LVM_UPDATE, static_cast<WPARAM>(index_));
}

// ---- TListItems -----------------------------------------------------------------------------------------------------
TListItems::TListItems(TCustomListView* owner) : owner_(owner) {}

TListItems::~TListItems() = default;

TListItem* TListItems::Add() {
    return Insert(static_cast<int>(items_.size()));
}

TListItem* TListItems::Insert(int Index) {
    if (owner_->OwnerData())
        throw EInvalidOperation(L"Items of an owner-data list view are the program's: set Items()->SetCount");
    if (Index < 0 || Index > static_cast<int>(items_.size()))
        RaiseListIndexError(Index);
    items_.insert(items_.begin() + Index, std::make_unique<TListItem>(this));
    TListItem* item = items_[static_cast<size_t>(Index)].get();
    Renumber(Index);
    item->Apply(true);
    return item;
}

int TListItems::Count() const {
    return owner_->OwnerData() ? ownerDataCount_ : static_cast<int>(items_.size());
}

void TListItems::SetCount(int Value) {
    if (!owner_->OwnerData())
        throw EInvalidOperation(L"Only an owner-data list view takes a row count");
    ownerDataCount_ = std::max(0, Value);
    owner_->tempIndex_ = -1;
    SendTo(owner_, LVM_SETITEMCOUNT, static_cast<WPARAM>(ownerDataCount_), LVSICF_NOINVALIDATEALL);
    owner_->Invalidate();
}

TListItem* TListItems::Item(int Index) {
    if (Index < 0 || Index >= Count())
        RaiseListIndexError(Index);
    if (owner_->OwnerData())
        return owner_->OwnerDataItem(Index);
    return items_[static_cast<size_t>(Index)].get();
}

void TListItems::Delete(int Index) {
    if (owner_->OwnerData())
        throw EInvalidOperation(L"Items of an owner-data list view are the program's: set Items()->SetCount");
    if (Index < 0 || Index >= Count())
        RaiseListIndexError(Index);
    SendTo(owner_, LVM_DELETEITEM, static_cast<WPARAM>(Index));
    items_.erase(items_.begin() + Index);
    Renumber(Index);
}

void TListItems::Clear() {
    SendTo(owner_, LVM_DELETEALLITEMS);
    items_.clear();
    ownerDataCount_ = 0;
    owner_->tempIndex_ = -1;
}

void TListItems::BeginUpdate() {
    SendTo(owner_, WM_SETREDRAW, FALSE);
}

void TListItems::EndUpdate() {
    SendTo(owner_, WM_SETREDRAW, TRUE);
    owner_->Invalidate();
}

void TListItems::Renumber(int from) {
    for (size_t i = static_cast<size_t>(std::max(0, from)); i < items_.size(); ++i)
        items_[i]->index_ = static_cast<int>(i);
}

// ---- TCustomListView ------------------------------------------------------------------------------------------------
TCustomListView::TCustomListView(TComponent* AOwner)
    : TWinControl(AOwner),
      columns_(std::make_unique<TListColumns>(this)),
      items_(std::make_unique<TListItems>(this)),
      canvas_(std::make_unique<TCanvas>()) {
    SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
    SetTabStop(true);
    SetBounds(0, 0, 250, 150);
    tempItem_ = std::make_unique<TListItem>(items_.get());
}

TCustomListView::~TCustomListView() = default;

void TCustomListView::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, WC_LISTVIEWW);
    static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    Params.Style |= kViews[viewStyle_] | LVS_SHAREIMAGELISTS;
    if (ownerData_)
        Params.Style |= LVS_OWNERDATA;
    if (!multiSelect_)
        Params.Style |= LVS_SINGLESEL;
    if (!hideSelection_)
        Params.Style |= LVS_SHOWSELALWAYS;
    if (!readOnly_)
        Params.Style |= LVS_EDITLABELS;
    if (!showColumnHeaders_)
        Params.Style |= LVS_NOCOLUMNHEADER;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

DWORD TCustomListView::ExtendedStyle() const {
    DWORD ex = 0;
    if (rowSelect_)
        ex |= LVS_EX_FULLROWSELECT;
    if (gridLines_)
        ex |= LVS_EX_GRIDLINES;
    if (checkboxes_)
        ex |= LVS_EX_CHECKBOXES;
    if (fullDrag_)
        ex |= LVS_EX_HEADERDRAGDROP;
    if (subItemImages_)
        ex |= LVS_EX_SUBITEMIMAGES;
    return ex;
}

void TCustomListView::ApplyExtendedStyle() {
    SendTo(this, LVM_SETEXTENDEDLISTVIEWSTYLE,
           LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_SUBITEMIMAGES,
           ExtendedStyle());
    // Owner-data rows report their check state when asked.
    if (ownerData_)
        SendTo(this, LVM_SETCALLBACKMASK, checkboxes_ ? LVIS_STATEIMAGEMASK : 0);
}

void TCustomListView::ApplyImages() {
    if (!HandleAllocated())
        return;
    SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(ListHandle(smallImages_)));
    SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(ListHandle(largeImages_)));
    if (stateImages_ || !checkboxes_)
        SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(ListHandle(stateImages_)));
}

void TCustomListView::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyExtendedStyle();
    ApplyImages();
    SendMessageW(Handle(), LVM_SETBKCOLOR, 0, ColorToRGB(Color()) & 0xFFFFFF);
    SendMessageW(Handle(), LVM_SETTEXTBKCOLOR, 0, ColorToRGB(Color()) & 0xFFFFFF);
    SendMessageW(Handle(), LVM_SETTEXTCOLOR, 0, ColorToRGB(Font()->Color()) & 0xFFFFFF);
    // A new view is filled with its columns and items while it does not draw: it lays itself out once, at the end,
    // not after each. Only a window with the visible style is switched (switching redraw back on sets that style).
    const bool drawn = (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
    if (drawn)
        SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    for (auto& c : columns_->columns_)
        c->Apply(true);
    if (ownerData_) {
        SendMessageW(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(items_->ownerDataCount_), 0);
    } else {
        for (auto& item : items_->items_)
            item->Apply(true);
    }
    if (drawn)
        SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    if (savedIndex_ >= 0 && savedIndex_ < items_->Count())
        SetItemIndex(savedIndex_);
    savedIndex_ = -1;
}

void TCustomListView::DestroyWnd() {
    if (HandleAllocated()) {
        savedIndex_ = ItemIndex();
        for (auto& c : columns_->columns_)
            c->Width();
        for (auto& item : items_->items_)
            item->Checked();
    }
    TWinControl::DestroyWnd();
}

void TCustomListView::RecreateIfAllocated() {
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomListView::SetViewStyle(TViewStyle Value) {
    if (viewStyle_ == Value)
        return;
    viewStyle_ = Value;
    if (HandleAllocated()) {
        static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
        LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
        style = (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | kViews[Value];
        SetWindowLongPtrW(Handle(), GWL_STYLE, style);
        Invalidate();
    }
}

void TCustomListView::SetOwnerData(bool Value) {
    if (ownerData_ == Value)
        return;
    items_->Clear();
    ownerData_ = Value;
    RecreateIfAllocated();
}

void TCustomListView::SetRowSelect(bool Value) {
    rowSelect_ = Value;
    ApplyExtendedStyle();
}

void TCustomListView::SetGridLines(bool Value) {
    gridLines_ = Value;
    ApplyExtendedStyle();
}

void TCustomListView::SetCheckboxes(bool Value) {
    checkboxes_ = Value;
    ApplyExtendedStyle();
}

void TCustomListView::SetFullDrag(bool Value) {
    fullDrag_ = Value;
    ApplyExtendedStyle();
}

void TCustomListView::SetShowColumnHeaders(bool Value) {
    if (showColumnHeaders_ == Value)
        return;
    showColumnHeaders_ = Value;
    RecreateIfAllocated();
}

void TCustomListView::SetMultiSelect(bool Value) {
    if (multiSelect_ == Value)
        return;
    multiSelect_ = Value;
    RecreateIfAllocated();
}

void TCustomListView::SetHideSelection(bool Value) {
    if (hideSelection_ == Value)
        return;
    hideSelection_ = Value;
    RecreateIfAllocated();
}

void TCustomListView::SetReadOnly(bool Value) {
    if (readOnly_ == Value)
        return;
    readOnly_ = Value;
    RecreateIfAllocated();
}

void TCustomListView::SetImageList(TCustomImageList*& field, TCustomImageList* value) {
    SetWatched(this, field, value);
    ApplyImages();
}

void TCustomListView::SetSmallImages(TCustomImageList* Value) {
    SetImageList(smallImages_, Value);
}

void TCustomListView::SetLargeImages(TCustomImageList* Value) {
    SetImageList(largeImages_, Value);
}

void TCustomListView::SetStateImages(TCustomImageList* Value) {
    SetImageList(stateImages_, Value);
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    bool changed = false;
    for (TCustomImageList** f : {&smallImages_, &largeImages_, &stateImages_})
        if (*f == AComponent) {
            *f = nullptr;
            changed = true;
        }
    if (changed)
        ApplyImages();
}

TListItem* TCustomListView::Selected() {
    const int i = ItemIndex();
    return i >= 0 ? items_->Item(i) : nullptr;
}

void TCustomListView::SetSelected(TListItem* Value) {
    SetItemIndex(Value ? Value->Index() : -1);
}

int TCustomListView::ItemIndex() {
    if (!HandleAllocated())
        return savedIndex_;
    return static_cast<int>(SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TCustomListView::SetItemIndex(int Value) {
    if (!HandleAllocated()) {
        savedIndex_ = Value;
        return;
    }
    LVITEMW clear{};
    clear.stateMask = LVIS_SELECTED;
    SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    if (Value < 0)
        return;
    LVITEMW it{};
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    it.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Value), reinterpret_cast<LPARAM>(&it));
}

TListItem* TCustomListView::ItemFocused() {
    const auto i = static_cast<int>(SendTo(this, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return HandleAllocated() && i >= 0 ? items_->Item(i) : nullptr;
}

TListItem* TCustomListView::TopItem() {
    if (!HandleAllocated() || items_->Count() == 0)
        return nullptr;
    return items_->Item(static_cast<int>(SendMessageW(Handle(), LVM_GETTOPINDEX, 0, 0)));
}

int TCustomListView::VisibleRowCount() {
    return static_cast<int>(SendTo(this, LVM_GETCOUNTPERPAGE));
}

int TCustomListView::SelCount() {
    return static_cast<int>(SendTo(this, LVM_GETSELECTEDCOUNT));
}

TListItem* TCustomListView::GetItemAt(int X, int Y) {
    LVHITTESTINFO hit{};
    hit.pt = {X, Y};
    const auto i = static_cast<int>(SendTo(this, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return HandleAllocated() && i >= 0 && (hit.flags & LVHT_ONITEM) ? items_->Item(i) : nullptr;
}

void TCustomListView::Scroll(int DX, int DY) {
    SendTo(this, LVM_SCROLL, static_cast<WPARAM>(DX), DY);
}

void TCustomListView::UpdateItems(int First, int Last) {
    tempIndex_ = -1;
    SendTo(this, LVM_REDRAWITEMS, static_cast<WPARAM>(First), Last);
}

HWND TCustomListView::HeaderHandle() {
    return reinterpret_cast<HWND>(SendTo(this, LVM_GETHEADER));
}

void TCustomListView::ColClick(TListColumn* Column) {
    if (OnColumnClick)
        OnColumnClick(this, Column);
}

bool TCustomListView::OwnerDataFetch(TListItem* Item) {
    if (!OnData)
        return false;
    OnData(this, Item);
    return true;
}

void TCustomListView::OwnerDataHint(int StartIndex, int EndIndex) {
    hintFirst_ = StartIndex;
    hintLast_ = EndIndex;
    tempIndex_ = -1;
    if (OnDataHint)
        OnDataHint(this, StartIndex, EndIndex);
}

void TCustomListView::AnnounceVisibleRows() {
    if (!ownerData_ || !HandleAllocated() || items_->Count() == 0)
        return;
    const int top = static_cast<int>(SendMessageW(Handle(), LVM_GETTOPINDEX, 0, 0));
    const int rows = static_cast<int>(SendMessageW(Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
    const int last = std::min(items_->Count() - 1, top + std::max(rows, 1));
    if (top < hintFirst_ || last > hintLast_)
        OwnerDataHint(top, last);
}

TListItem* TCustomListView::OwnerDataItem(int Index, UINT Fields) {
    if (tempIndex_ == Index) {
        if ((Fields & ~tempFields_) == 0)
            return tempItem_.get();
        Fields |= tempFields_;
    }
    if (Index < hintFirst_ || Index > hintLast_)
        OwnerDataHint(Index, Index);
    TListItem* item = tempItem_.get();
    item->index_ = Index;
    item->caption_.clear();
    item->imageIndex_ = -1;
    item->subItemImages_.clear();
    item->checked_ = false;
    item->Data = nullptr;
    item->subItems_->OnChange = nullptr;
    item->subItems_->Clear();
    tempIndex_ = -1;  // a fetch that raises leaves no half-filled row behind
    tempFields_ = Fields;
    OwnerDataFetch(item);
    tempIndex_ = Index;
    return item;
}

void TCustomListView::FillDispInfo(NMLVDISPINFOW* info) {
    LVITEMW& it = info->item;
    TListItem* item = nullptr;
    if (ownerData_) {
        if (it.iItem < 0 || it.iItem >= items_->Count())
            return;
        item = OwnerDataItem(it.iItem, it.mask);
    } else {
        item = reinterpret_cast<TListItem*>(it.lParam);
    }
    if (!item)
        return;
    if (it.mask & LVIF_TEXT) {
        dispText_ = it.iSubItem == 0                             ? item->caption_
                    : it.iSubItem - 1 < item->subItems_->Count() ? item->subItems_->Get(it.iSubItem - 1)
                                                                 : std::wstring();
        if (it.pszText && it.cchTextMax > 0) {
            const size_t n = std::min(dispText_.size(), static_cast<size_t>(it.cchTextMax - 1));
            std::copy_n(dispText_.c_str(), n, it.pszText);
            it.pszText[n] = L'\0';
        }
    }
    if (it.mask & LVIF_IMAGE)
        it.iImage = it.iSubItem == 0 ? item->imageIndex_ : item->SubItemImages(it.iSubItem - 1);
    if ((it.mask & LVIF_STATE) && checkboxes_) {
        it.state = (it.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(item->checked_ ? 2 : 1);
        it.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

bool TCustomListView::CustomDrawItem(TListItem* Item, TCustomDrawState State, TCustomDrawStage Stage) {
    bool defaultDraw = true;
    if (Stage == cdPrePaint && OnCustomDrawItem)
        OnCustomDrawItem(this, Item, State, defaultDraw);
    if (defaultDraw && OnAdvancedCustomDrawItem)
        OnAdvancedCustomDrawItem(this, Item, State, Stage, defaultDraw);
    return defaultDraw;
}

LRESULT TCustomListView::HandleCustomDraw(NMLVCUSTOMDRAW* cd) {
    NMCUSTOMDRAW& nm = cd->nmcd;
    switch (nm.dwDrawStage) {
        case CDDS_PREPAINT:
            return IsCustomDrawn() ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
        case CDDS_ITEMPREPAINT:
        case CDDS_ITEMPOSTPAINT: {
            const bool pre = nm.dwDrawStage == CDDS_ITEMPREPAINT;
            const int index = static_cast<int>(nm.dwItemSpec);
            if (index < 0 || index >= items_->Count())
                return CDRF_DODEFAULT;
            TListItem* item = ownerData_ ? items_->Item(index) : reinterpret_cast<TListItem*>(nm.lItemlParam);
            if (!item)
                return CDRF_DODEFAULT;
            const TCustomDrawStage stage = pre ? cdPrePaint : cdPostPaint;
            return CustomDrawWithCanvas(canvas_.get(), this, nm, cd->clrText, cd->clrTextBk,
                                        static_cast<bool>(OnAdvancedCustomDrawItem),
                                        [&] { return CustomDrawItem(item, CustomDrawStateOf(nm.uItemState), stage); });
        }
        default:
            return CDRF_DODEFAULT;
    }
}

void TCustomListView::HandleNotify(TMessage& m) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    m.Result = 0;
    switch (hdr->code) {
        case LVN_GETDISPINFOW:
            FillDispInfo(reinterpret_cast<NMLVDISPINFOW*>(hdr));
            break;
        case LVN_ODCACHEHINT: {
            auto* hint = reinterpret_cast<NMLVCACHEHINT*>(hdr);
            OwnerDataHint(hint->iFrom, hint->iTo);
            break;
        }
        case LVN_COLUMNCLICK: {
            const int col = reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem;
            if (col >= 0 && col < columns_->Count())
                ColClick(columns_->Items(col));
            break;
        }
        case LVN_ITEMCHANGED: {
            auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
            if ((nm->uChanged & LVIF_STATE) && ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED) && OnSelectItem &&
                nm->iItem >= 0 && nm->iItem < items_->Count())
                OnSelectItem(this, items_->Item(nm->iItem), (nm->uNewState & LVIS_SELECTED) != 0);
            break;
        }
        case NM_CUSTOMDRAW:
            m.Result = HandleCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(hdr));
            break;
        case NM_CLICK:
            Click();
            break;
        case NM_DBLCLK:
            DblClick();
            break;
        case LVN_BEGINDRAG:
            // The system has seen an item dragged past its threshold; the mouse is ours from here.
            if (DragMode() == dmAutomatic)
                BeginDrag(true);
            break;
        default:
            break;
    }
}

void TCustomListView::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CN_NOTIFY:
            HandleNotify(Message);
            return;
        case WM_PAINT:
            // Rows are asked for while painting: announce the visible ones unless the system already did.
            tempIndex_ = -1;
            AnnounceVisibleRows();
            break;
        case CM_COLORCHANGED:
            TWinControl::WndProc(Message);
            SendTo(this, LVM_SETBKCOLOR, 0, ColorToRGB(Color()) & 0xFFFFFF);
            SendTo(this, LVM_SETTEXTBKCOLOR, 0, ColorToRGB(Color()) & 0xFFFFFF);
            return;
        case CM_FONTCHANGED:
            TWinControl::WndProc(Message);
            SendTo(this, LVM_SETTEXTCOLOR, 0, ColorToRGB(Font()->Color()) & 0xFFFFFF);
            return;
        default:
            break;
    }
    TWinControl::WndProc(Message);
}

// ---- TTreeNode ------------------------------------------------------------------------------------------------------
TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

TTreeNode::~TTreeNode() {
    for (TTreeNode* child : children_)
        delete child;
}

TCustomTreeView* TTreeNode::TreeView() const {
    return owner_->Owner();
}

void TTreeNode::Apply(UINT mask) {
    TCustomTreeView* tv = TreeView();
    if (!tv->HandleAllocated() || !item_)
        return;
    TVITEMW it{};
    it.mask = mask | TVIF_HANDLE;
    it.hItem = item_;
    it.pszText = const_cast<wchar_t*>(text_.c_str());
    it.iImage = imageIndex_;
    it.iSelectedImage = selectedIndex_;
    it.cChildren = HasChildren() ? 1 : 0;
    if (mask & TVIF_STATE) {
        it.stateMask = TVIS_STATEIMAGEMASK;
        it.state = INDEXTOSTATEIMAGEMASK(stateIndex_ > 0 ? stateIndex_ : 0);
    }
    ++tv->updating_;
    SendMessageW(tv->Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    --tv->updating_;
}

void TTreeNode::SetText(const std::wstring& Value) {
    text_ = Value;
    Apply(TVIF_TEXT);
}

void TTreeNode::SetImageIndex(int Value) {
    imageIndex_ = Value;
    Apply(TVIF_IMAGE);
}

void TTreeNode::SetSelectedIndex(int Value) {
    selectedIndex_ = Value;
    Apply(TVIF_SELECTEDIMAGE);
}

void TTreeNode::SetStateIndex(int Value) {
    stateIndex_ = Value;
    Apply(TVIF_STATE);
}

int TTreeNode::Level() const {
    int level = 0;
    for (TTreeNode* p = parent_; p; p = p->parent_)
        ++level;
    return level;
}

void TTreeNode::SetHasChildren(bool Value) {
    hasChildren_ = Value;
    Apply(TVIF_CHILDREN);
}

void TTreeNode::SetExpanded(bool Value) {
    if (Value)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool Recurse) {
    TCustomTreeView* tv = TreeView();
    if (tv->HandleAllocated() && item_) {
        // The system asks the program (TVN_ITEMEXPANDING) only on an item's first expansion and reports a
        // programmatic one only then: the state is read back.
        if (HasChildren())
            SendMessageW(tv->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item_));
        expanded_ = ShownExpanded();
    } else if (HasChildren()) {
        expanded_ = true;
    }
    if (Recurse)
        for (TTreeNode* child : std::vector<TTreeNode*>(children_))
            child->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
    TCustomTreeView* tv = TreeView();
    if (tv->HandleAllocated() && item_) {
        SendMessageW(tv->Handle(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
        expanded_ = ShownExpanded();
    } else {
        expanded_ = false;
    }
    if (Recurse)
        for (TTreeNode* child : std::vector<TTreeNode*>(children_))
            child->Collapse(true);
}

bool TTreeNode::ShownExpanded() const {
    TCustomTreeView* tv = TreeView();
    if (!tv->HandleAllocated() || !item_)
        return expanded_;
    return (SendMessageW(tv->Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
}

bool TTreeNode::Selected() {
    return TreeView()->Selected() == this;
}

void TTreeNode::SetSelected(bool Value) {
    if (Value)
        TreeView()->SetSelected(this);
    else if (Selected())
        TreeView()->SetSelected(nullptr);
}

bool TTreeNode::IsVisible() const {
    for (TTreeNode* p = parent_; p; p = p->parent_)
        if (!p->expanded_)
            return false;
    return true;
}

TTreeNode* TTreeNode::Item(int Index) const {
    if (Index < 0 || Index >= Count())
        RaiseListIndexError(Index);
    return children_[static_cast<size_t>(Index)];
}

int TTreeNode::Index() const {
    const auto& siblings = owner_->SiblingsOf(parent_);
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

int TTreeNode::AbsoluteIndex() const {
    int n = 0;
    for (const TTreeNode* p = GetPrev(); p; p = p->GetPrev())
        ++n;
    return n;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const auto& siblings = owner_->SiblingsOf(parent_);
    const size_t i = static_cast<size_t>(Index());
    return i + 1 < siblings.size() ? siblings[i + 1] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    const auto& siblings = owner_->SiblingsOf(parent_);
    const int i = Index();
    return i > 0 ? siblings[static_cast<size_t>(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!children_.empty())
        return children_.front();
    for (const TTreeNode* n = this; n; n = n->parent_)
        if (TTreeNode* s = n->GetNextSibling())
            return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
    TTreeNode* s = GetPrevSibling();
    if (!s)
        return parent_;
    while (!s->children_.empty())
        s = s->children_.back();
    return s;
}

TTreeNode* TTreeNode::GetNextVisible() const {
    if (!IsVisible())
        return nullptr;
    if (expanded_ && !children_.empty())
        return children_.front();
    for (const TTreeNode* n = this; n; n = n->parent_)
        if (TTreeNode* s = n->GetNextSibling())
            return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
    if (!IsVisible())
        return nullptr;
    TTreeNode* s = GetPrevSibling();
    if (!s)
        return parent_;
    while (s->expanded_ && !s->children_.empty())
        s = s->children_.back();
    return s;
}

bool TTreeNode::HasAsParent(const TTreeNode* Value) const {
    for (TTreeNode* p = parent_; p; p = p->parent_)
        if (p == Value)
            return true;
    return false;
}

TRect TTreeNode::DisplayRect(bool TextOnly) {
    TCustomTreeView* tv = TreeView();
    if (!tv->HandleAllocated() || !item_)
        return {};
    RECT r{};
    *reinterpret_cast<HTREEITEM*>(&r) = item_;
    if (!SendMessageW(tv->Handle(), TVM_GETITEMRECT, TextOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&r)))
        return {};
    return {r.left, r.top, r.right, r.bottom};
}

void TTreeNode::Delete() {
    owner_->Delete(this);
}

void TTreeNode::DeleteChildren() {
    while (!children_.empty())
        owner_->Delete(children_.back());
}

void TTreeNode::MakeVisible() {
    for (TTreeNode* p = parent_; p; p = p->parent_)
        p->Expand(false);
    TCustomTreeView* tv = TreeView();
    if (tv->HandleAllocated() && item_)
        SendMessageW(tv->Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item_));
}

bool TTreeNode::EditText() {
    TCustomTreeView* tv = TreeView();
    if (!tv->HandleAllocated() || !item_)
        return false;
    ::SetFocus(tv->Handle());
    return SendMessageW(tv->Handle(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item_)) != 0;
}

// ---- TTreeNodes -----------------------------------------------------------------------------------------------------
TTreeNodes::~TTreeNodes() {
    for (TTreeNode* n : top_)
        delete n;
}

TTreeNode* TTreeNodes::AddNode(TTreeNode* parent, int index, const std::wstring& s) {
    auto& siblings = SiblingsOf(parent);
    auto* node = new TTreeNode(this, parent);
    node->text_ = s;
    siblings.insert(siblings.begin() + index, node);
    TCustomTreeView* tv = owner_;
    if (tv->HandleAllocated() && (!parent || parent->item_)) {
        HTREEITEM after = index == 0 ? TVI_FIRST : siblings[static_cast<size_t>(index - 1)]->item_;
        tv->InsertItem(node, after);
        if (parent && parent->Count() == 1 && !parent->hasChildren_)
            parent->Apply(TVIF_CHILDREN);  // the parent gets its button
    }
    return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const std::wstring& S) {
    TTreeNode* parent = Sibling ? Sibling->parent_ : nullptr;
    return AddNode(parent, static_cast<int>(SiblingsOf(parent).size()), S);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const std::wstring& S) {
    return AddNode(Sibling ? Sibling->parent_ : nullptr, 0, S);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const std::wstring& S) {
    return AddNode(Parent, static_cast<int>(SiblingsOf(Parent).size()), S);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const std::wstring& S) {
    return AddNode(Parent, 0, S);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const std::wstring& S) {
    if (!Sibling)
        return Add(nullptr, S);
    return AddNode(Sibling->parent_, Sibling->Index(), S);
}

int TTreeNodes::Count() const {
    int n = 0;
    for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext())
        ++n;
    return n;
}

TTreeNode* TTreeNodes::Item(int Index) const {
    TTreeNode* node = GetFirstNode();
    for (int i = 0; node && i < Index; ++i)
        node = node->GetNext();
    if (Index < 0 || !node)
        RaiseListIndexError(Index);
    return node;
}

void TTreeNodes::Delete(TTreeNode* Node) {
    if (!Node)
        return;
    TCustomTreeView* tv = owner_;
    // Deletion events, deepest first.
    std::vector<TTreeNode*> gone;
    for (TTreeNode* n = Node; n && (n == Node || n->HasAsParent(Node)); n = n->GetNext())
        gone.push_back(n);
    for (auto it = gone.rbegin(); it != gone.rend(); ++it)
        tv->Delete(*it);
    if (tv->savedSelected_ && std::find(gone.begin(), gone.end(), tv->savedSelected_) != gone.end())
        tv->savedSelected_ = nullptr;
    if (tv->HandleAllocated() && Node->item_) {
        ++tv->updating_;
        SendMessageW(tv->Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(Node->item_));
        --tv->updating_;
    }
    auto& siblings = SiblingsOf(Node->parent_);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), Node), siblings.end());
    TTreeNode* parent = Node->parent_;
    delete Node;
    if (parent && parent->children_.empty()) {
        parent->expanded_ = false;
        parent->Apply(TVIF_CHILDREN);
    }
}

void TTreeNodes::Clear() {
    while (!top_.empty())
        Delete(top_.back());
}

void TTreeNodes::BeginUpdate() {
    SendTo(owner_, WM_SETREDRAW, FALSE);
}

void TTreeNodes::EndUpdate() {
    SendTo(owner_, WM_SETREDRAW, TRUE);
    owner_->Invalidate();
}

// ---- TCustomTreeView ------------------------------------------------------------------------------------------------
TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWinControl(AOwner), items_(std::make_unique<TTreeNodes>(this)), canvas_(std::make_unique<TCanvas>()) {
    SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TCustomTreeView::~TCustomTreeView() = default;

void TCustomTreeView::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, WC_TREEVIEWW);
    if (showLines_)
        Params.Style |= TVS_HASLINES;
    if (showButtons_)
        Params.Style |= TVS_HASBUTTONS;
    if (showRoot_)
        Params.Style |= TVS_LINESATROOT;
    if (!readOnly_)
        Params.Style |= TVS_EDITLABELS;
    if (!hideSelection_)
        Params.Style |= TVS_SHOWSELALWAYS;
    if (rowSelect_)
        Params.Style |= TVS_FULLROWSELECT;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::ApplyImages() {
    if (!HandleAllocated())
        return;
    SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(ListHandle(images_)));
    SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(ListHandle(stateImages_)));
}

void TCustomTreeView::InsertItem(TTreeNode* node, HTREEITEM after) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = node->parent_ ? node->parent_->item_ : TVI_ROOT;
    ins.hInsertAfter = after ? after : TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    ins.item.pszText = const_cast<wchar_t*>(node->text_.c_str());
    ins.item.iImage = node->imageIndex_;
    ins.item.iSelectedImage = node->selectedIndex_;
    ins.item.cChildren = node->HasChildren() ? 1 : 0;
    ins.item.lParam = reinterpret_cast<LPARAM>(node);
    ++updating_;
    node->item_ =
        reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    --updating_;
    if (!node->item_)
        throw EOutOfResources(L"Cannot insert a tree node into " + Name());
    if (node->stateIndex_ > 0)
        node->Apply(TVIF_STATE);
}

// A node with its subtree (after a re-creation of the window), expanded as it was.
void TCustomTreeView::InsertTree(TTreeNode* node, HTREEITEM after) {
    InsertItem(node, after);
    for (TTreeNode* child : node->children_)
        InsertTree(child, TVI_LAST);
    if (node->expanded_ && node->HasChildren()) {
        ++updating_;
        SendMessageW(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->item_));
        --updating_;
    }
}

void TCustomTreeView::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyImages();
    if (indent_ >= 0)
        SendMessageW(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
    SendMessageW(Handle(), TVM_SETBKCOLOR, 0, ColorToRGB(Color()) & 0xFFFFFF);
    SendMessageW(Handle(), TVM_SETTEXTCOLOR, 0, ColorToRGB(Font()->Color()) & 0xFFFFFF);
    for (TTreeNode* node : items_->top_)
        InsertTree(node, TVI_LAST);
    if (savedSelected_)
        SetSelected(savedSelected_);
    savedSelected_ = nullptr;
}

void TCustomTreeView::DestroyWnd() {
    if (HandleAllocated()) {
        savedSelected_ = Selected();
        ++updating_;  // the system deletes every item: that is no deletion of ours
    }
    TWinControl::DestroyWnd();
    if (updating_ > 0)
        --updating_;
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNext())
        n->item_ = nullptr;
}

void TCustomTreeView::RecreateIfAllocated() {
    if (HandleAllocated())
        RecreateWnd();
}

TTreeNode* TCustomTreeView::NodeOf(HTREEITEM item) const {
    if (!item || !HandleAllocated())
        return nullptr;
    TVITEMW it{};
    it.mask = TVIF_PARAM | TVIF_HANDLE;
    it.hItem = item;
    if (!SendMessageW(const_cast<TCustomTreeView*>(this)->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it)))
        return nullptr;
    return reinterpret_cast<TTreeNode*>(it.lParam);
}

TTreeNode* TCustomTreeView::Selected() {
    if (!HandleAllocated())
        return savedSelected_;
    return NodeOf(reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
    if (!HandleAllocated()) {
        savedSelected_ = Value;
        return;
    }
    SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Value ? Value->item_ : nullptr));
}

TTreeNode* TCustomTreeView::TopItem() {
    return NodeOf(reinterpret_cast<HTREEITEM>(SendTo(this, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE)));
}

void TCustomTreeView::SetTopItem(TTreeNode* Value) {
    if (Value && Value->item_)
        SendTo(this, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(Value->item_));
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) {
    TVHITTESTINFO hit{};
    hit.pt = {X, Y};
    auto item = reinterpret_cast<HTREEITEM>(SendTo(this, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON)) ? NodeOf(item)
                                                                                                  : nullptr;
}

void TCustomTreeView::FullExpand() {
    for (TTreeNode* n : std::vector<TTreeNode*>(items_->top_))
        n->Expand(true);
}

void TCustomTreeView::FullCollapse() {
    for (TTreeNode* n : std::vector<TTreeNode*>(items_->top_))
        n->Collapse(true);
}

void TCustomTreeView::SetShowLines(bool Value) {
    showLines_ = Value;
    RecreateIfAllocated();
}

void TCustomTreeView::SetShowButtons(bool Value) {
    showButtons_ = Value;
    RecreateIfAllocated();
}

void TCustomTreeView::SetShowRoot(bool Value) {
    showRoot_ = Value;
    RecreateIfAllocated();
}

void TCustomTreeView::SetReadOnly(bool Value) {
    readOnly_ = Value;
    RecreateIfAllocated();
}

void TCustomTreeView::SetHideSelection(bool Value) {
    hideSelection_ = Value;
    RecreateIfAllocated();
}

void TCustomTreeView::SetRowSelect(bool Value) {
    rowSelect_ = Value;
    RecreateIfAllocated();
}

int TCustomTreeView::Indent() {
    return HandleAllocated() ? static_cast<int>(SendMessageW(Handle(), TVM_GETINDENT, 0, 0)) : indent_;
}

void TCustomTreeView::SetIndent(int Value) {
    indent_ = Value;
    SendTo(this, TVM_SETINDENT, static_cast<WPARAM>(Value));
}

void TCustomTreeView::SetImages(TCustomImageList* Value) {
    SetWatched(this, images_, Value);
    ApplyImages();
}

void TCustomTreeView::SetStateImages(TCustomImageList* Value) {
    SetWatched(this, stateImages_, Value);
    ApplyImages();
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == images_ || AComponent == stateImages_) {
        if (AComponent == images_)
            images_ = nullptr;
        if (AComponent == stateImages_)
            stateImages_ = nullptr;
        ApplyImages();
    }
}

void TCustomTreeView::Change(TTreeNode* Node) {
    if (OnChange)
        OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
    bool allow = true;
    if (OnExpanding)
        OnExpanding(this, Node, allow);
    return allow;
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
    bool allow = true;
    if (OnCollapsing)
        OnCollapsing(this, Node, allow);
    return allow;
}

bool TCustomTreeView::CanChange(TTreeNode* Node) {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, Node, allow);
    return allow;
}

void TCustomTreeView::Edit(TTreeNode* Node, const std::wstring& Text) {
    std::wstring s = Text;
    if (OnEdited)
        OnEdited(this, Node, s);
    Node->SetText(s);
}

void TCustomTreeView::Delete(TTreeNode* Node) {
    if (OnDeletion)
        OnDeletion(this, Node);
}

bool TCustomTreeView::CustomDrawItem(TTreeNode* Node,
                                     TCustomDrawState State,
                                     TCustomDrawStage Stage,
                                     bool& PaintImages) {
    bool defaultDraw = true;
    if (Stage == cdPrePaint && OnCustomDrawItem)
        OnCustomDrawItem(this, Node, State, defaultDraw);
    if (defaultDraw && OnAdvancedCustomDrawItem)
        OnAdvancedCustomDrawItem(this, Node, State, Stage, PaintImages, defaultDraw);
    return defaultDraw;
}

LRESULT TCustomTreeView::HandleCustomDraw(NMTVCUSTOMDRAW* cd) {
    NMCUSTOMDRAW& nm = cd->nmcd;
    const bool custom = OnCustomDrawItem || OnAdvancedCustomDrawItem;
    if (nm.dwDrawStage == CDDS_PREPAINT)
        return custom ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    if (nm.dwDrawStage != CDDS_ITEMPREPAINT && nm.dwDrawStage != CDDS_ITEMPOSTPAINT)
        return CDRF_DODEFAULT;
    auto* node = reinterpret_cast<TTreeNode*>(nm.lItemlParam);
    if (!node)
        return CDRF_DODEFAULT;
    const TCustomDrawStage stage = nm.dwDrawStage == CDDS_ITEMPREPAINT ? cdPrePaint : cdPostPaint;
    bool paintImages = true;
    return CustomDrawWithCanvas(
        canvas_.get(), this, nm, cd->clrText, cd->clrTextBk, static_cast<bool>(OnAdvancedCustomDrawItem),
        [&] { return CustomDrawItem(node, CustomDrawStateOf(nm.uItemState), stage, paintImages); });
}

void TCustomTreeView::HandleNotify(TMessage& m) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    m.Result = 0;
    switch (hdr->code) {
        case TVN_ITEMEXPANDINGW: {
            auto* nm = reinterpret_cast<NMTREEVIEWW*>(hdr);
            auto* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
            if (!node || updating_)
                break;
            bool allow = true;
            if (nm->action & TVE_EXPAND)
                allow = CanExpand(node);
            else if (nm->action & TVE_COLLAPSE)
                allow = CanCollapse(node);
            m.Result = allow ? FALSE : TRUE;
            break;
        }
        case TVN_ITEMEXPANDEDW: {
            auto* nm = reinterpret_cast<NMTREEVIEWW*>(hdr);
            auto* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
            if (!node)
                break;
            const bool expanded = (nm->itemNew.state & TVIS_EXPANDED) != 0;
            node->expanded_ = expanded;
            if (updating_)
                break;
            if (expanded && OnExpanded)
                OnExpanded(this, node);
            else if (!expanded && OnCollapsed)
                OnCollapsed(this, node);
            break;
        }
        case TVN_SELCHANGINGW: {
            if (updating_)
                break;
            auto* nm = reinterpret_cast<NMTREEVIEWW*>(hdr);
            m.Result = CanChange(reinterpret_cast<TTreeNode*>(nm->itemNew.lParam)) ? FALSE : TRUE;
            break;
        }
        case TVN_SELCHANGEDW:
            if (!updating_)
                Change(reinterpret_cast<TTreeNode*>(reinterpret_cast<NMTREEVIEWW*>(hdr)->itemNew.lParam));
            break;
        case TVN_ENDLABELEDITW: {
            auto* nm = reinterpret_cast<NMTVDISPINFOW*>(hdr);
            auto* node = reinterpret_cast<TTreeNode*>(nm->item.lParam);
            // The node's text is set by Edit (through TVM_SETITEM); the control must not set it again.
            if (node && nm->item.pszText)
                Edit(node, nm->item.pszText);
            break;
        }
        case NM_CUSTOMDRAW:
            m.Result = HandleCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW*>(hdr));
            break;
        case NM_CLICK:
            Click();
            break;
        case NM_DBLCLK:
            DblClick();
            break;
        default:
            break;
    }
}

void TCustomTreeView::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CN_NOTIFY:
            HandleNotify(Message);
            return;
        case CM_COLORCHANGED:
            TWinControl::WndProc(Message);
            SendTo(this, TVM_SETBKCOLOR, 0, ColorToRGB(Color()) & 0xFFFFFF);
            return;
        case CM_FONTCHANGED:
            TWinControl::WndProc(Message);
            SendTo(this, TVM_SETTEXTCOLOR, 0, ColorToRGB(Font()->Color()) & 0xFFFFFF);
            return;
        default:
            break;
    }
    TWinControl::WndProc(Message);
}

// ---- TTabSheet ------------------------------------------------------------------------------------------------------
TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csOpaque});
    SetColor(clBtnFace);
    SetAlign(alClient);
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    if (pageControl_)
        pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) {
    if (pageControl_ == Value)
        return;
    if (pageControl_)
        pageControl_->RemovePage(this);
    SetParent(Value);
    if (Value)
        Value->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!pageControl_)
        return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

int TTabSheet::TabIndex() const {
    if (!pageControl_ || !tabVisible_)
        return -1;
    int n = 0;
    for (TTabSheet* p : pageControl_->pages_) {
        if (p == this)
            return n;
        if (p->tabVisible_)
            ++n;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
    if (tabVisible_ == Value)
        return;
    tabVisible_ = Value;
    if (pageControl_)
        pageControl_->UpdateTabs();
}

void TTabSheet::SetImageIndex(int Value) {
    imageIndex_ = Value;
    if (pageControl_)
        pageControl_->UpdateTabs();
}

void TTabSheet::WndProc(TMessage& Message) {
    if (Message.Msg == CM_TEXTCHANGED && pageControl_)
        pageControl_->UpdateTabs();
    TWinControl::WndProc(Message);
}

// ---- TPageControl ---------------------------------------------------------------------------------------------------
TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle({csAcceptsControls, csDoubleClicks, csOpaque});
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
    for (TTabSheet* p : pages_)
        p->pageControl_ = nullptr;
}

void TPageControl::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, WC_TABCONTROLW);
    Params.Style |= WS_CLIPCHILDREN;
    if (multiLine_)
        Params.Style |= TCS_MULTILINE;
}

void TPageControl::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageW(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ListHandle(images_)));
    UpdateTabs();
}

TTabSheet* TPageControl::Pages(int Index) const {
    if (Index < 0 || Index >= PageCount())
        RaiseListIndexError(Index);
    return pages_[static_cast<size_t>(Index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->pageControl_ = this;
    UpdateTabs();
    if (!activePage_)
        SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
    if (activePage_ == page) {
        TTabSheet* next = nullptr;
        for (TTabSheet* p : pages_)
            if (p != page && p->tabVisible_) {
                next = p;
                break;
            }
        SetActivePage(next);
    }
    pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
    page->pageControl_ = nullptr;
    UpdateTabs();
}

void TPageControl::UpdateTabs() {
    if (!HandleAllocated())
        return;
    SendMessageW(Handle(), TCM_DELETEALLITEMS, 0, 0);
    int tab = 0;
    for (TTabSheet* p : pages_) {
        if (!p->tabVisible_)
            continue;
        const std::wstring caption = p->Caption();
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
        item.pszText = const_cast<wchar_t*>(caption.c_str());
        item.iImage = p->imageIndex_;
        item.lParam = reinterpret_cast<LPARAM>(p);
        SendMessageW(Handle(), TCM_INSERTITEMW, static_cast<WPARAM>(tab++), reinterpret_cast<LPARAM>(&item));
    }
    if (activePage_)
        SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(activePage_->TabIndex()), 0);
    Realign();
}

TTabSheet* TPageControl::PageOfTab(int tabIndex) const {
    for (TTabSheet* p : pages_)
        if (p->TabIndex() == tabIndex && tabIndex >= 0)
            return p;
    return nullptr;
}

void TPageControl::ShowActivePage() {
    for (TTabSheet* p : pages_)
        if (p != activePage_)
            p->SetVisible(false);
    if (activePage_) {
        activePage_->SetVisible(true);
        activePage_->BringToFront();
        SendTo(this, TCM_SETCURSEL, static_cast<WPARAM>(activePage_->TabIndex()));
        // Wine leaves the pixels of the page just hidden where the shown page has no child window of its own:
        // the shown page and everything on it paints afresh.
        if (activePage_->HandleAllocated())
            RedrawWindow(activePage_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void TPageControl::SetActivePage(TTabSheet* Value) {
    if (Value && Value->pageControl_ != this)
        return;
    activePage_ = Value;
    ShowActivePage();
}

void TPageControl::SetActivePageIndex(int Value) {
    SetActivePage(Value >= 0 && Value < PageCount() ? Pages(Value) : nullptr);
}

void TPageControl::SelectNextPage(bool GoForward) {
    std::vector<TTabSheet*> visible;
    for (TTabSheet* p : pages_)
        if (p->tabVisible_)
            visible.push_back(p);
    if (visible.size() < 2)
        return;
    auto it = std::find(visible.begin(), visible.end(), activePage_);
    const int n = static_cast<int>(visible.size());
    int i = it == visible.end() ? 0 : static_cast<int>(it - visible.begin());
    i = (i + (GoForward ? 1 : n - 1)) % n;
    if (!CanChange())
        return;
    SetActivePage(visible[static_cast<size_t>(i)]);
    Change();
}

void TPageControl::SetImages(TCustomImageList* Value) {
    SetWatched(this, images_, Value);
    SendTo(this, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ListHandle(images_)));
}

void TPageControl::SetMultiLine(bool Value) {
    if (multiLine_ == Value)
        return;
    multiLine_ = Value;
    if (HandleAllocated())
        RecreateWnd();
}

TRect TPageControl::TabRect(int TabIndex) {
    RECT r{};
    if (!SendTo(this, TCM_GETITEMRECT, static_cast<WPARAM>(TabIndex), reinterpret_cast<LPARAM>(&r)))
        return {};
    return {r.left, r.top, r.right, r.bottom};
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == images_) {
        images_ = nullptr;
        SendTo(this, TCM_SETIMAGELIST, 0, 0);
    }
    // Compare pointers only: the component may be half destroyed already.
    for (TTabSheet* page : pages_)
        if (static_cast<TComponent*>(page) == AComponent) {
            RemovePage(page);
            break;
        }
}

void TPageControl::AdjustClientRect(TRect& Rect) {
    TWinControl::AdjustClientRect(Rect);
    if (!HandleAllocated())
        return;
    RECT r{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    Rect = {r.left, r.top, r.right, r.bottom};
}

bool TPageControl::CanChange() {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TPageControl::Change() {
    if (OnChange)
        OnChange(this);
}

void TPageControl::WndProc(TMessage& Message) {
    if (Message.Msg == CN_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
        Message.Result = 0;
        if (hdr->code == TCN_SELCHANGING) {
            Message.Result = CanChange() ? FALSE : TRUE;
        } else if (hdr->code == TCN_SELCHANGE) {
            activePage_ = PageOfTab(static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0)));
            ShowActivePage();
            Change();
        }
        return;
    }
    if (Message.Msg == CM_DIALOGKEY && Message.WParam == VK_TAB && GetShiftState().Contains(ssCtrl) && Focused()) {
        SelectNextPage(!GetShiftState().Contains(ssShift));
        Message.Result = 1;
        return;
    }
    TWinControl::WndProc(Message);
}

// ---- TUpDown --------------------------------------------------------------------------------------------------------
TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle({csCaptureMouse, csDoubleClicks, csOpaque});
    SetBounds(0, 0, 17, 25);
}

void TUpDown::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, UPDOWN_CLASSW);
    if (arrowKeys_)
        Params.Style |= UDS_ARROWKEYS;
    if (wrap_)
        Params.Style |= UDS_WRAP;
    if (!thousands_)
        Params.Style |= UDS_NOTHOUSANDS;
    if (orientation_ == udHorizontal)
        Params.Style |= UDS_HORZ;
    if (associate_)
        Params.Style |= UDS_SETBUDDYINT | (alignButton_ == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT);
}

void TUpDown::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    SendMessageW(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    if (associate_)
        SendMessageW(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
    SendMessageW(Handle(), UDM_SETPOS32, 0, position_);
}

void TUpDown::RecreateIfAllocated() {
    if (HandleAllocated())
        RecreateWnd();
}

void TUpDown::SetMin(int Value) {
    min_ = Value;
    SendTo(this, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TUpDown::SetMax(int Value) {
    max_ = Value;
    SendTo(this, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

int TUpDown::Position() {
    if (HandleAllocated())
        position_ = static_cast<int>(SendMessageW(Handle(), UDM_GETPOS32, 0, 0));
    return position_;
}

void TUpDown::SetPosition(int Value) {
    position_ = std::clamp(Value, std::min(min_, max_), std::max(min_, max_));
    SendTo(this, UDM_SETPOS32, 0, position_);
}

void TUpDown::SetIncrement(int Value) {
    increment_ = Value;
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    SendTo(this, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TUpDown::SetWrap(bool Value) {
    wrap_ = Value;
    RecreateIfAllocated();
}

void TUpDown::SetArrowKeys(bool Value) {
    arrowKeys_ = Value;
    RecreateIfAllocated();
}

void TUpDown::SetThousands(bool Value) {
    thousands_ = Value;
    RecreateIfAllocated();
}

void TUpDown::SetOrientation(TUDOrientation Value) {
    orientation_ = Value;
    RecreateIfAllocated();
}

void TUpDown::SetAlignButton(TUDAlignButton Value) {
    alignButton_ = Value;
    RecreateIfAllocated();
}

void TUpDown::SetAssociate(TWinControl* Value) {
    if (associate_)
        associate_->RemoveFreeNotification(this);
    associate_ = Value;
    if (Value)
        Value->FreeNotification(this);
    RecreateIfAllocated();
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == associate_) {
        associate_ = nullptr;
        SendTo(this, UDM_SETBUDDY, 0, 0);
    }
}

bool TUpDown::CanChange() {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TUpDown::Click(TUDBtnType Button) {
    if (OnClick)
        OnClick(this, Button);
}

void TUpDown::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CN_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
            Message.Result = 0;
            if (hdr->code == UDN_DELTAPOS)
                Message.Result = CanChange() ? FALSE : TRUE;
            return;
        }
        case CN_HSCROLL:
        case CN_VSCROLL: {
            if (LOWORD(Message.WParam) == SB_ENDSCROLL)
                return;
            const int old = position_;
            const int now = Position();
            if (now != old)
                Click(now > old ? btNext : btPrev);
            return;
        }
        default:
            break;
    }
    TWinControl::WndProc(Message);
}
