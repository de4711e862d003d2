// Common controls: the list view, the tree view, the page control and the up-down control.
// Index: TCustomDrawState, TCustomDrawStage, TListColumn, TListColumns, TListItem, TListItems, TCustomListView,
// TListView, TTreeNode, TTreeNodes, TCustomTreeView, TTreeView, TTabSheet, TPageControl, TUpDown.
//
// Each is the system's own control (SysListView32, SysTreeView32, SysTabControl32, msctls_updown32) superclassed;
// the wrapper keeps the items as objects, mirrors them into the window (again after a re-creation) and turns the
// reflected WM_NOTIFY into events. Custom draw: during OnCustomDrawItem / OnAdvancedCustomDrawItem Canvas() draws
// on the control's DC; the brush colour and the font set there become the item's background and text (set
// DefaultDraw false to draw the item yourself). GUI thread only.
//
// Owner data (TCustomListView::OwnerData): the program keeps the rows; Items()->SetCount gives their number, and
// OnData fills a row when the view needs it. OnDataHint announces the rows about to be asked for; the view makes
// sure every OnData call lies inside the range most recently announced (it announces a range itself before it
// asks for a row the system did not announce), so a program may prepare exactly those rows.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"

enum TCustomDrawStateItem {
    cdsSelected,
    cdsGrayed,
    cdsDisabled,
    cdsChecked,
    cdsFocused,
    cdsDefault,
    cdsHot,
    cdsMarked,
    cdsIndeterminate
};
using TCustomDrawState = TSet<TCustomDrawStateItem>;
enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
TCustomDrawState CustomDrawStateOf(UINT itemState);

class TCustomListView;
class TListItems;

// ---- List view columns
// ------------------------------------------------------------------------------------------------
class TListColumn {
  public:
    TListColumn(TCustomListView* owner, int index) : owner_(owner), index_(index) {}
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& Value);
    int Width();
    void SetWidth(int Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    int Index() const { return index_; }

  private:
    friend class TListColumns;
    friend class TCustomListView;
    void Apply(bool insert);
    TCustomListView* owner_;  // borrowed: the view owns the columns
    int index_;
    std::wstring caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    int imageIndex_ = -1;
};

class TListColumns {
  public:
    explicit TListColumns(TCustomListView* owner) : owner_(owner) {}
    TListColumn* Add();
    int Count() const { return static_cast<int>(columns_.size()); }
    TListColumn* Items(int Index) const;
    TListColumn* operator[](int Index) const { return Items(Index); }
    void Delete(int Index);
    void Clear();

  private:
    friend class TCustomListView;
    TCustomListView* owner_;  // borrowed: the view owns us
    std::vector<std::unique_ptr<TListColumn>> columns_;
};

// ---- List view items ------------------------------------------------------------------------------------------------
enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };

class TListItem {
  public:
    TListItem(TListItems* owner);
    ~TListItem();
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& Value);
    // Texts of the columns after the first.
    TStrings* SubItems() { return subItems_.get(); }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    // The small image of sub-item Index (the column Index + 1), -1 when none; the first one set turns on the view's
    // sub-item images.
    int SubItemImages(int Index) const;
    void SetSubItemImages(int Index, int Value);
    bool Checked();
    void SetChecked(bool Value);
    bool Selected();
    void SetSelected(bool Value);
    bool Focused();
    void SetFocused(bool Value);
    void* Data = nullptr;
    int Index() const { return index_; }
    TCustomListView* ListView() const;
    TRect DisplayRect(TDisplayCode Code);
    void Delete();
    void MakeVisible(bool PartialOK);
    // Redraws the row.
    void Update();

  private:
    friend class TListItems;
    friend class TCustomListView;
    void Apply(bool insert);
    void SubItemsChanged();
    TListItems* owner_;  // borrowed: the list owns its items
    int index_ = -1;
    std::wstring caption_;
    std::unique_ptr<TStringList> subItems_;
    std::vector<int> subItemImages_;
    int imageIndex_ = -1;
    bool checked_ = false;
    bool applying_ = false;
};

class TListItems {
  public:
    explicit TListItems(TCustomListView* owner);
    ~TListItems();
    TListItem* Add();
    TListItem* Insert(int Index);
    // Rows: the items, or in owner-data mode the number set with SetCount.
    int Count() const;
    void SetCount(int Value);  // owner-data mode only
    // The item; in owner-data mode a row filled by OnData (valid until the next call).
    TListItem* Item(int Index);
    TListItem* operator[](int Index) { return Item(Index); }
    void Delete(int Index);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    TCustomListView* Owner() const { return owner_; }

  private:
    friend class TCustomListView;
    friend class TListItem;
    void Renumber(int from);
    TCustomListView* owner_;  // borrowed: the view owns us
    std::vector<std::unique_ptr<TListItem>> items_;
    int ownerDataCount_ = 0;
};

// ---- TCustomListView ------------------------------------------------------------------------------------------------
enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVOwnerDataHintEvent = std::function<void(TObject* Sender, int StartIndex, int EndIndex)>;
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVCustomDrawItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVAdvancedCustomDrawItemEvent = std::function<
    void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, TCustomDrawStage Stage, bool& DefaultDraw)>;

class TCustomListView : public TWinControl {
  public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListColumns* Columns() { return columns_.get(); }
    TListItems* Items() { return items_.get(); }
    TCanvas* Canvas() { return canvas_.get(); }

    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle Value);
    bool OwnerData() const { return ownerData_; }
    void SetOwnerData(bool Value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool Value);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool Value);
    bool Checkboxes() const { return checkboxes_; }
    void SetCheckboxes(bool Value);
    // Columns dragged to another place in the header.
    bool FullDrag() const { return fullDrag_; }
    void SetFullDrag(bool Value);
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool Value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool Value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    // Image lists (borrowed; cleared when freed).
    TCustomImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TCustomImageList* Value);
    TCustomImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(TCustomImageList* Value);
    TCustomImageList* StateImages() const { return stateImages_; }
    void SetStateImages(TCustomImageList* Value);

    // The (first) selected item, nullptr when none; ItemIndex its index, -1 when none.
    TListItem* Selected();
    void SetSelected(TListItem* Value);
    int ItemIndex();
    void SetItemIndex(int Value);
    TListItem* ItemFocused();
    TListItem* TopItem();
    int VisibleRowCount();
    int SelCount();
    TListItem* GetItemAt(int X, int Y);
    // Scrolls by pixels (report view: DY is rounded to whole rows by the system).
    void Scroll(int DX, int DY);
    void Clear() { items_->Clear(); }
    // Redraws the rows First..Last (owner data: after the program's rows changed).
    void UpdateItems(int First, int Last);
    HWND HeaderHandle();

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TLVColumnClickEvent OnColumnClick;
    TLVOwnerDataEvent OnData;
    TLVOwnerDataHintEvent OnDataHint;
    TLVSelectItemEvent OnSelectItem;
    TLVCustomDrawItemEvent OnCustomDrawItem;
    TLVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void ColClick(TListColumn* Column);
    virtual bool OwnerDataFetch(TListItem* Item);
    virtual void OwnerDataHint(int StartIndex, int EndIndex);
    // During OwnerDataFetch: the LVIF_* fields the system asks of the row (LVIF_TEXT alone when it only measures
    // labels, as Wine's list and small-icon views do for every row); every field for a row read through Items().
    // A row fetched for fewer fields is fetched again when more are asked.
    UINT OwnerDataFields() const { return tempFields_; }
    virtual bool CustomDrawItem(TListItem* Item, TCustomDrawState State, TCustomDrawStage Stage);
    bool IsCustomDrawn() const { return OnCustomDrawItem || OnAdvancedCustomDrawItem; }

  private:
    friend class TListItems;
    friend class TListItem;
    friend class TListColumn;
    friend class TListColumns;
    DWORD ExtendedStyle() const;
    void ApplyExtendedStyle();
    void ApplyImages();
    void SetImageList(TCustomImageList*& field, TCustomImageList* value);
    void HandleNotify(TMessage& m);
    LRESULT HandleCustomDraw(NMLVCUSTOMDRAW* cd);
    void FillDispInfo(NMLVDISPINFOW* info);
    // The row for OnData, announced first when outside the last hint.
    TListItem* OwnerDataItem(int Index, UINT Fields = kAllFields);
    void AnnounceVisibleRows();
    void RecreateIfAllocated();

    std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TListItems> items_;
    std::unique_ptr<TCanvas> canvas_;
    std::unique_ptr<TListItem> tempItem_;  // the owner-data row being shown
    int tempIndex_ = -1;                   // the row tempItem_ holds, -1 when stale
    static constexpr UINT kAllFields = ~0u;
    UINT tempFields_ = kAllFields;         // the fields tempItem_ was fetched for
    int hintFirst_ = 0, hintLast_ = -1;    // the range last announced by OnDataHint
    std::wstring dispText_;                // keeps the text given to the system alive
    TViewStyle viewStyle_ = vsIcon;
    bool ownerData_ = false;
    bool rowSelect_ = false;
    bool gridLines_ = false;
    bool checkboxes_ = false;
    bool subItemImages_ = false;  // LVS_EX_SUBITEMIMAGES, on once an item has a sub-item image
    bool fullDrag_ = false;
    bool showColumnHeaders_ = true;
    bool multiSelect_ = false;
    bool hideSelection_ = true;
    bool readOnly_ = false;
    TCustomImageList* smallImages_ = nullptr;
    TCustomImageList* largeImages_ = nullptr;
    TCustomImageList* stateImages_ = nullptr;
    int savedIndex_ = -1;
};

class TListView : public TCustomListView {
  public:
    using TCustomListView::TCustomListView;
};

// ---- Tree view ------------------------------------------------------------------------------------------------------
class TCustomTreeView;
class TTreeNodes;

class TTreeNode {
  public:
    TTreeNode(TTreeNodes* owner, TTreeNode* parent);
    ~TTreeNode();
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    const std::wstring& Text() const { return text_; }
    void SetText(const std::wstring& Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int Value);
    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int Value);
    void* Data = nullptr;

    TTreeNode* Parent() const { return parent_; }
    int Level() const;
    // Shows an expand button even without children (children added later, when expanded).
    bool HasChildren() const { return hasChildren_ || !children_.empty(); }
    void SetHasChildren(bool Value);
    // The control's own state while it has a window (it reports programmatic expansions only once).
    bool Expanded() const { return ShownExpanded(); }
    void SetExpanded(bool Value);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    bool Selected();
    void SetSelected(bool Value);
    bool Focused() { return Selected(); }
    bool IsVisible() const;  // every parent expanded

    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int Index) const;
    TTreeNode* operator[](int Index) const { return Item(Index); }
    int Index() const;
    // The position in the whole tree, depth first.
    int AbsoluteIndex() const;
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
    TTreeNode* GetLastChild() const { return children_.empty() ? nullptr : children_.back(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // Depth first, ignoring expansion.
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    // The next and previous node a user sees (inside expanded parents).
    TTreeNode* GetNextVisible() const;
    TTreeNode* GetPrevVisible() const;
    bool HasAsParent(const TTreeNode* Value) const;
    TRect DisplayRect(bool TextOnly);
    HTREEITEM ItemId() const { return item_; }
    TTreeNodes* Owner() const { return owner_; }
    TCustomTreeView* TreeView() const;
    void Delete();
    void DeleteChildren();
    void MakeVisible();
    // Starts editing the node's caption in place (nothing without a window or with ReadOnly).
    bool EditText();

  private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    void Apply(UINT mask);
    bool ShownExpanded() const;
    TTreeNodes* owner_;                 // borrowed: the node list
    TTreeNode* parent_;                 // borrowed: the parent owns us; nullptr for a top node
    std::vector<TTreeNode*> children_;  // owned
    HTREEITEM item_ = nullptr;
    std::wstring text_;
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
    int stateIndex_ = -1;
    bool hasChildren_ = false;
    bool expanded_ = false;
};

enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };

class TTreeNodes {
  public:
    explicit TTreeNodes(TCustomTreeView* owner) : owner_(owner) {}
    ~TTreeNodes();
    // A new last (first) sibling of Sibling; a top node when Sibling is nullptr.
    TTreeNode* Add(TTreeNode* Sibling, const std::wstring& S);
    TTreeNode* AddFirst(TTreeNode* Sibling, const std::wstring& S);
    // A new last (first) child of Parent; a top node when Parent is nullptr.
    TTreeNode* AddChild(TTreeNode* Parent, const std::wstring& S);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const std::wstring& S);
    // A new node before Sibling.
    TTreeNode* Insert(TTreeNode* Sibling, const std::wstring& S);
    // All nodes, depth first.
    int Count() const;
    TTreeNode* Item(int Index) const;
    TTreeNode* operator[](int Index) const { return Item(Index); }
    TTreeNode* GetFirstNode() const { return top_.empty() ? nullptr : top_.front(); }
    void Delete(TTreeNode* Node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    TCustomTreeView* Owner() const { return owner_; }

  private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* AddNode(TTreeNode* parent, int index, const std::wstring& s);
    std::vector<TTreeNode*>& SiblingsOf(TTreeNode* parent) { return parent ? parent->children_ : top_; }
    TCustomTreeView* owner_;       // borrowed: the view owns us
    std::vector<TTreeNode*> top_;  // owned
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, std::wstring& S)>;
using TTVCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawItemEvent = std::function<void(TCustomTreeView* Sender,
                                                          TTreeNode* Node,
                                                          TCustomDrawState State,
                                                          TCustomDrawStage Stage,
                                                          bool& PaintImages,
                                                          bool& DefaultDraw)>;

class TCustomTreeView : public TWinControl {
  public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;

    TTreeNodes* Items() { return items_.get(); }
    TCanvas* Canvas() { return canvas_.get(); }
    TTreeNode* Selected();
    void SetSelected(TTreeNode* Value);
    TTreeNode* TopItem();
    void SetTopItem(TTreeNode* Value);
    TTreeNode* GetNodeAt(int X, int Y);
    void FullExpand();
    void FullCollapse();

    bool ShowLines() const { return showLines_; }
    void SetShowLines(bool Value);
    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool Value);
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool Value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool Value);
    int Indent();
    void SetIndent(int Value);
    TCustomImageList* Images() const { return images_; }  // borrowed; cleared when freed
    void SetImages(TCustomImageList* Value);
    TCustomImageList* StateImages() const { return stateImages_; }
    void SetStateImages(TCustomImageList* Value);

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVExpandedEvent OnDeletion;
    TTVEditedEvent OnEdited;
    TTVCustomDrawItemEvent OnCustomDrawItem;
    TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Change(TTreeNode* Node);
    virtual bool CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage, bool& PaintImages);
    // The user's (or the program's) requests, before the control acts: the default ones raise the events.
    virtual bool CanExpand(TTreeNode* Node);
    virtual bool CanCollapse(TTreeNode* Node);
    virtual bool CanChange(TTreeNode* Node);
    // The end of a caption edit with a new text (OnEdited may change it); the default takes the text over.
    virtual void Edit(TTreeNode* Node, const std::wstring& Text);
    // A node going away (its children first): OnDeletion.
    virtual void Delete(TTreeNode* Node);

  private:
    friend class TTreeNode;
    friend class TTreeNodes;
    void InsertItem(TTreeNode* node, HTREEITEM after);
    void InsertTree(TTreeNode* node, HTREEITEM after);
    TTreeNode* NodeOf(HTREEITEM item) const;
    void ApplyImages();
    void HandleNotify(TMessage& m);
    LRESULT HandleCustomDraw(NMTVCUSTOMDRAW* cd);
    void RecreateIfAllocated();

    std::unique_ptr<TTreeNodes> items_;
    std::unique_ptr<TCanvas> canvas_;
    TCustomImageList* images_ = nullptr;
    TCustomImageList* stateImages_ = nullptr;
    TTreeNode* savedSelected_ = nullptr;  // borrowed: kept while the window is re-created
    bool showLines_ = true;
    bool showButtons_ = true;
    bool showRoot_ = true;
    bool readOnly_ = false;
    bool hideSelection_ = true;
    bool rowSelect_ = false;
    int indent_ = -1;
    int updating_ = 0;  // notifications from our own changes to the window are ignored
};

class TTreeView : public TCustomTreeView {
  public:
    using TCustomTreeView::TCustomTreeView;
};

// ---- Page control ---------------------------------------------------------------------------------------------------
class TPageControl;

// A page of a page control: a plain window holding the page's controls; its Caption is the tab's text.
class TTabSheet : public TWinControl {
  public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* Value);
    int PageIndex() const;
    // The index among the visible tabs, -1 when the tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    void WndProc(TMessage& Message) override;

  private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;  // borrowed: the page control lists us
    bool tabVisible_ = true;
    int imageIndex_ = -1;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// The system tab control with one page per visible tab. OnChanging may refuse a change the user makes;
// OnChange follows it. Setting ActivePage raises neither.
class TPageControl : public TWinControl {
  public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int Index) const;
    TTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TTabSheet* Value);
    int ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }
    void SetActivePageIndex(int Value);
    // The next (or previous) visible page after the active one, as a user's Ctrl+Tab does (with events).
    void SelectNextPage(bool GoForward);
    TCustomImageList* Images() const { return images_; }  // borrowed; cleared when freed
    void SetImages(TCustomImageList* Value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool Value);
    // The tab's rectangle in client coordinates.
    TRect TabRect(int TabIndex);

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void AdjustClientRect(TRect& Rect) override;
    virtual bool CanChange();
    virtual void Change();

  private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void UpdateTabs();
    void ShowActivePage();
    TTabSheet* PageOfTab(int tabIndex) const;
    std::vector<TTabSheet*> pages_;  // borrowed: pages are components of their owner
    TTabSheet* activePage_ = nullptr;
    TCustomImageList* images_ = nullptr;
    bool multiLine_ = false;
};

// ---- Up-down --------------------------------------------------------------------------------------------------------
enum TUDBtnType { btNext, btPrev };
enum TUDOrientation { udHorizontal, udVertical };
enum TUDAlignButton { udLeft, udRight };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// The system up-down control; with Associate it sits at the edge of that control and writes its position there.
class TUpDown : public TWinControl {
  public:
    explicit TUpDown(TComponent* AOwner);
    int Min() const { return min_; }
    void SetMin(int Value);
    int Max() const { return max_; }
    void SetMax(int Value);
    int Position();
    void SetPosition(int Value);
    int Increment() const { return increment_; }
    void SetIncrement(int Value);
    bool Wrap() const { return wrap_; }
    void SetWrap(bool Value);
    bool ArrowKeys() const { return arrowKeys_; }
    void SetArrowKeys(bool Value);
    bool Thousands() const { return thousands_; }
    void SetThousands(bool Value);
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation Value);
    TUDAlignButton AlignButton() const { return alignButton_; }
    void SetAlignButton(TUDAlignButton Value);
    TWinControl* Associate() const { return associate_; }  // borrowed; cleared when freed
    void SetAssociate(TWinControl* Value);

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual bool CanChange();
    virtual void Click(TUDBtnType Button);

  private:
    void RecreateIfAllocated();
    int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
    bool wrap_ = false;
    bool arrowKeys_ = true;
    bool thousands_ = true;
    TUDOrientation orientation_ = udVertical;
    TUDAlignButton alignButton_ = udRight;
    TWinControl* associate_ = nullptr;
};
