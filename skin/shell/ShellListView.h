// TbsCustomShellListView, TbsSkinFileListView: a skinned list view in owner-data mode over the nodes of one shell
// folder (folders first, then the files a mask lets through), with the shell's columns or a file-system fallback,
// column sorts, thumbnails fetched by background threads, keyboard navigation, rename in place and the shell's
// context menu. It can be linked to a shell combo box and a shell tree view so that all show one folder; a linked
// control drives the view through TreeUpdate, and a guard keeps the two from feeding each other.
// GUI thread, except what the thumbnail threads read through IbsThumbnailHost.
// Index: TbsThumbnailOptions, IbsShellTreeLink, ParseShellPath, TAddFolderEvent, TbsCustomShellListView, TbsSkinFileListView.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/shell/ShellChange.h"
#include "skin/shell/ShellContextMenu.h"
#include "skin/shell/ShellFolder.h"
#include "skin/shell/ShellThumbnails.h"
#include "skin/views/SkinListView.h"

class TbsCustomShellComboBox;
class TbsCustomShellListView;

class TbsThumbnailOptions : public TPersistent {
  public:
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    bool DrawSelectionFrame() const { return FDrawSelectionFrame; }
    void SetDrawSelectionFrame(bool Value) { FDrawSelectionFrame = Value; }
    // Stores all three and fires only the enabled change.
    void SetValues(bool AEnabled, int AWidth, int AHeight);
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnEnabledChange;

  private:
    void Changed();
    int FHeight = 96;
    bool FEnabled = false;
    int FWidth = 96;
    bool FDrawSelectionFrame = true;
};

// What a list view asks of a linked shell tree view (the tree implements it).
class IbsShellTreeLink {
  public:
    virtual ~IbsShellTreeLink() = default;
    virtual TComponent* LinkComponent() = 0;
    virtual void SetLinkedRoot(const std::wstring& Root) = 0;
    virtual void SelectLinkedFolder(LPCITEMIDLIST FullPidl) = 0;
    virtual void SetLinkedListView(TbsCustomShellListView* View) = 0;
    virtual void RefreshSelectedNode() = 0;
};

// The full list of a path as the desktop parses it; EInvalidPath "Error setting path: "%s"" when it cannot.
TbsPidl ParseShellPath(const std::wstring& Path);

using TAddFolderEvent = std::function<void(TObject* Sender, TbsShellFolder* Folder, bool& CanAdd)>;

class TbsCustomShellListView : public TbsSkinCustomListView, public IShellCommandVerb, public IbsThumbnailHost {
  public:
    explicit TbsCustomShellListView(TComponent* AOwner);
    ~TbsCustomShellListView() override;

    TbsThumbnailOptions* ThumbnailOptions() { return FThumbnailOptions.get(); }
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool Value) { FAutoContext = Value; }
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool Value);
    bool AutoNavigate() const { return FAutoNavigate; }
    void SetAutoNavigate(bool Value) { FAutoNavigate = Value; }
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    void SetObjectTypes(TShellObjectTypes Value);
    const std::wstring& Root() const { return FRoot; }
    void SetRoot(const std::wstring& Value);
    void SetRootDirectly(const std::wstring& Value);
    const std::wstring& Mask() const { return FMask; }
    void SetMask(const std::wstring& Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TbsCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetComboBox(TbsCustomShellComboBox* Value);
    IbsShellTreeLink* ShellTreeView() const { return FTreeView; }
    void SetTreeView(IbsShellTreeLink* Value);
    TbsShellChangeNotifier* Notifier() const { return FNotifier; }
    void SetViewStyle(TViewStyle Value);

    std::wstring Path() const;
    // Raises EInvalidPath "Error setting path: "%s"" when the desktop cannot parse the text.
    void SetPath(const std::wstring& Value);
    int FolderCount() const { return static_cast<int>(FFolders.size()); }
    TbsShellFolder* Folders(int Index) const;
    TbsShellFolder* RootFolder() const { return FRootFolder.get(); }
    TbsShellFolder* SelectedFolder();
    std::wstring GetSelectedFile();
    void GetSelectedFiles(TStrings* Files);
    std::wstring GetSelectedPath();
    // Up one level; the desktop stays the desktop.
    void Back();
    void Refresh();
    void UpdateThumbnails();
    bool IsThumbnailView() const;
    int RunningThreadCount() const { return static_cast<int>(FThumbsThreadList.size()); }
    int SortColumn() const { return FSortColumn; }
    bool SortDescending() const { return FSortDirection; }

    // Opens the folder of a full list (nothing while updating or when it is shown already).
    void SetPathFromID(LPCITEMIDLIST FullPidl);
    // A linked control's folder change.
    void TreeUpdate(LPCITEMIDLIST FullPidl);
    void CreateRoot();
    void RootChanged();
    virtual void Populate();
    // Sorts by a column as a header click does.
    void SortByColumn(int Column);

    // IShellCommandVerb.
    void ExecuteCommand(const std::wstring& Verb, bool& Handled) override;
    void CommandCompleted(const std::wstring& Verb, bool Succeeded) override;

    // IbsThumbnailHost (read from the thumbnail threads).
    int ThumbnailNodeCount() const override { return static_cast<int>(FFolders.size()); }
    TbsShellFolder* ThumbnailNode(int Index) const override;
    bool StopFetch() const override { return FStopFetch.load(); }
    SIZE ThumbnailSize() const override { return FThumbSize; }
    HWND ThumbnailWindow() const override { return FThumbWindow.load(); }

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    TAddFolderEvent OnAddFolder;
    TNotifyEvent OnPathChanged;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    bool OwnerDataFetch(TListItem* Item) override;
    void ColClick(TListColumn* Column) override;
    void DblClick() override;
    void DoContextPopup(TPoint MousePos, bool& Handled) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void NewAdvancedDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State,
                             TCustomDrawStage Stage, bool& DefaultDraw) override;

  private:
    void ClearThreads();
    void ClearItems();
    void EnumColumns();
    void SynchPaths();
    void UpdateThumbnail(TbsShellFolder* Node);
    void DrawThumbnailImage(TListItem* Item, TCanvas* ACanvas, const TRect& ARect);
    void EditText();
    void Edit(int Index, const std::wstring& Caption);
    int OwnerDataFind(const std::wstring& Text, int Start, bool Wrap);
    bool MatchesMask(TbsShellFolder* Node) const;
    void OpenFolder(TbsShellFolder* Node);
    void SetFolderFromPIDL(LPCITEMIDLIST FullPidl);
    void SortFolders(bool ColumnSort);
    int ListColumnWidth();
    void ApplySystemImages();
    void OnThumbnailOptionsChange();
    void OnThumbnailOptionsEnabledChange();

    std::unique_ptr<TbsThumbnailOptions> FThumbnailOptions;
    bool FIsThumbnailView = false;
    std::unique_ptr<TCustomImageList> FTempThumbnailImages;
    bool FIsVistaOrLater = false;
    std::atomic<bool> FStopFetch{false};
    int FOldSortColumn = -1, FSortColumn = -1;
    bool FSortDirection = false;
    bool FRootLoaded = false;
    std::wstring FOldRoot, FRoot = L"rfDesktop";
    std::unique_ptr<TbsShellFolder> FRootFolder;
    bool FAutoContext = true;
    bool FAutoRefresh = false;
    bool FAutoNavigate = true;
    bool FSorted = true;
    bool FUpdating = false;
    TShellObjectTypes FObjectTypes{otFolders, otNonFolders};
    HIMAGELIST FLargeImages = nullptr, FSmallImages = nullptr;  // the system's, never freed
    std::vector<std::unique_ptr<TbsShellFolder>> FFolders;
    IbsShellTreeLink* FTreeView = nullptr;          // borrowed, cleared by Notification
    TbsCustomShellComboBox* FComboBox = nullptr;    // borrowed, cleared by Notification
    TbsShellChangeNotifier* FNotifier = nullptr;    // owned sub-component while AutoRefresh is on
    bool FSettingRoot = false;
    std::wstring FSavePath;
    std::wstring FMask = L"*.*|*.*";
    std::vector<std::unique_ptr<TbsThumbnailsThread>> FThumbsThreadList;
    SIZE FThumbSize{96, 96};
    std::atomic<HWND> FThumbWindow{nullptr};
};

class TbsSkinFileListView : public TbsCustomShellListView {
  public:
    using TbsCustomShellListView::TbsCustomShellListView;
};
