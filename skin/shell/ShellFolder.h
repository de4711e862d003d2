// The shell namespace under the shell views: one node (TbsShellFolder: a folder or a file with its identifier lists,
// interfaces, column texts and thumbnail slots), the queries the views ask of a folder, the process-wide desktop
// node, and the resolution of a view's root. GUI thread, except the picture fields that the thumbnail threads fill.
// Index: TShellObjectType(s), ShellEnumFlags, TbsShellFolderCapability(ies), TbsShellFolderProperty(ies),
// TbsThumbnailState, EInvalidPath, TbsShellFolder, TbsShellUnit, DesktopFolderItem, the queries (GetCaps ...
// ReadFindData), CreateFolderFromPIDL, ResolveRootFolder.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/ComPtr.h"
#include "classlib/SysUtils.h"
#include "classlib/Types.h"
#include "skin/shell/ShellIdList.h"

class TbsBitmap;

enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TSet<TShellObjectType>;
// SHCONTF_FOLDERS, SHCONTF_NONFOLDERS, SHCONTF_INCLUDEHIDDEN.
DWORD ShellEnumFlags(TShellObjectTypes types);

enum TbsShellFolderCapability { fcCanCopy, fcCanDelete, fcCanLink, fcCanMove, fcCanRename, fcDropTarget, fcHasPropSheet };
using TbsShellFolderCapabilities = TSet<TbsShellFolderCapability>;
enum TbsShellFolderProperty { fpCut, fpIsLink, fpReadOnly, fpShared, fpFileSystem, fpFileSystemAncestor, fpRemovable, fpValidate };
using TbsShellFolderProperties = TSet<TbsShellFolderProperty>;
enum TbsThumbnailStateItem { bsthmbIconLoaded, bsthmbThumbnailLoaded };
using TbsThumbnailState = TSet<TbsThumbnailStateItem>;

TRELM_DECLARE_EXCEPTION(EInvalidPath, Exception);

class TbsShellFolder : public TObject {
  public:
    // Parent nullptr: the node hangs under the desktop node. Folder is the item's own folder interface (may be
    // nullptr); Pidl is copied.
    TbsShellFolder(TbsShellFolder* Parent, IShellFolder* Folder, LPCITEMIDLIST Pidl);
    ~TbsShellFolder() override;

    LPITEMIDLIST AbsoluteID() const { return FFullPIDL.get(); }
    LPITEMIDLIST RelativeID() const { return FPIDL.get(); }
    TbsShellFolder* Parent() const { return FParent; }
    int Level() const { return FLevel; }
    IShellFolder* ShellFolder() const { return FIShellFolder.Get(); }
    IShellFolder2* ShellFolder2();
    IShellDetails* ShellDetails();
    HWND ViewHandle() const { return FViewHandle; }
    void SetViewHandle(HWND Value) { FViewHandle = Value; }

    // The parent's folder interface, the desktop's for a node without parent.
    IShellFolder* ParentShellFolder() const;
    TbsShellFolderProperties Properties() const;
    TbsShellFolderCapabilities Capabilities() const;
    bool SubFolders() const;
    // A folder the shell calls one, except ".zip" archives (any case), which count as files.
    bool IsFolder() const;
    // The parsing name: a file-system path or "::{...}" for a virtual item.
    std::wstring PathName() const;
    // The file-system path, empty when the item has none.
    std::wstring FullObjectName() const;
    // Asked once: a list view measures and draws every row by it.
    const std::wstring& DisplayName() const;
    // The name within its folder as the folder parses it ("a.wav", extension kept): one question to the parent,
    // where the path names walk the whole chain from the desktop (slow under Wine, once per item of a list).
    std::wstring ParsingName() const;
    // False without the rename capability; raises "Rename to %s failed" when the folder refuses.
    bool Rename(const std::wstring& NewName);
    // The small or large system icon index, asked once.
    int ImageIndex(bool Large);
    int ExecuteDefault();
    IUnknown* GetDetailInterface();
    // Fills the column texts 1..Count for a view whose root is Root (nothing when they are there already).
    void LoadColumnDetails(TbsShellFolder* Root, HWND ViewWindow, int Count);
    // Column from 1; raises "...: Missing call to LoadColumnDetails" before any text was loaded.
    std::wstring GetDetails(int Column) const;
    void SetDetails(int Column, const std::wstring& Text);
    bool DetailsEx() const { return FDetailsEx; }

    // The thumbnail slots: written by the thumbnail threads, read and taken over by the view on the GUI thread.
    std::atomic<HBITMAP> FThumbnailHBitmap{nullptr};
    std::atomic<HBITMAP> FIconHBitmap{nullptr};
    std::atomic<int> FThumbnailIndex{-1};
    std::atomic<std::uint64_t> FThumbnailStateBits{0};
    TbsThumbnailState ThumbnailState() const { return TbsThumbnailState::FromBits(FThumbnailStateBits.load()); }
    void IncludeThumbnailState(TbsThumbnailStateItem Item) { FThumbnailStateBits.fetch_or(TbsThumbnailState{Item}.Bits()); }
    void SetThumbnailState(TbsThumbnailState State) { FThumbnailStateBits.store(State.Bits()); }
    TbsBitmap* Thumbnail() const { return FThumbnail.get(); }

  private:
    TbsPidl FPIDL;
    TbsPidl FFullPIDL;
    TbsShellFolder* FParent = nullptr;
    TComPtr<IShellFolder> FIShellFolder;
    TComPtr<IShellFolder2> FIShellFolder2;
    TComPtr<IShellDetails> FIShellDetails;
    IUnknown* FDetailInterface = nullptr;  // one of the two above, not counted again
    int FLevel = 0;
    HWND FViewHandle = nullptr;
    std::vector<std::wstring> FDetails;
    mutable std::optional<std::wstring> FDisplayName;
    int FImageIndex = -1;
    int FLargeImageIndex = -1;
    bool FDetailsEx = false;
    std::unique_ptr<TbsBitmap> FThumbnail;
};

// The process-wide state of the shell layer, made by one explicit start (never a static constructor): the two
// optional shell functions, the desktop node and OLE. A program or test that uses the shell views holds one
// TbsShellUnit on its GUI thread for their lifetime; a second one nests and does nothing.
class TbsShellUnit {
  public:
    TbsShellUnit();
    ~TbsShellUnit();
    TbsShellUnit(const TbsShellUnit&) = delete;
    TbsShellUnit& operator=(const TbsShellUnit&) = delete;

  private:
    bool owner_ = false;
};

// The desktop node (nullptr outside a TbsShellUnit or when the shell gives no desktop).
TbsShellFolder* DesktopFolderItem();
// The two functions bound from shell32 at start; either is nullptr where the system lacks it. Tests may replace
// them while a unit is alive.
using TSHCreateItemFromIDList = HRESULT(WINAPI*)(PCIDLIST_ABSOLUTE, REFIID, void**);
using TSHGetKnownFolderIDList = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PIDLIST_ABSOLUTE*);
extern TSHCreateItemFromIDList ShellCreateItemFromIDList;
extern TSHGetKnownFolderIDList ShellGetKnownFolderIDList;
// The folder whose CompareIDs the views' sorts use while a sort runs (GUI thread), nullptr otherwise.
extern IShellFolder* SortRootFolder;

// ---- Queries -------------------------------------------------------------------------------------------------
TComPtr<IShellFolder> DesktopShellFolder();
bool IsElement(DWORD Element, DWORD Flags);
int GetShellImage(LPCITEMIDLIST FullPidl, bool Large, bool Open);
TbsShellFolderCapabilities GetCaps(IShellFolder* ParentFolder, LPCITEMIDLIST Pidl);
TbsShellFolderProperties GetProperties(IShellFolder* ParentFolder, LPCITEMIDLIST Pidl);
bool GetIsFolder(IShellFolder* ParentFolder, LPCITEMIDLIST Pidl);
bool GetHasSubFolders(IShellFolder* ParentFolder, LPCITEMIDLIST Pidl);
bool HasEnumItems(IShellFolder* Folder, DWORD Flags);
std::wstring StrRetToString(LPCITEMIDLIST Pidl, const STRRET& Str);
std::wstring GetDisplayName(IShellFolder* Folder, LPCITEMIDLIST Pidl, DWORD Flags);
TComPtr<IShellFolder> GetItemShellFolder(IShellFolder* ParentFolder, LPCITEMIDLIST Pidl, HWND Owner);
TComPtr<IShellDetails> GetIShellDetails(IShellFolder* Folder, LPCITEMIDLIST Pidl, HWND Owner);
TComPtr<IShellFolder2> GetIShellFolder2(IShellFolder* Folder, LPCITEMIDLIST Pidl, HWND Owner);
bool ColumnHasSCID(IShellFolder2* Folder, int Column, SHCOLUMNID& Id);
// A node under the desktop node for a full list.
std::unique_ptr<TbsShellFolder> CreateFolderFromPIDL(LPCITEMIDLIST FullPidl);
// Resolves Root (a root folder name or a path; a bare drive "C:" becomes "C:\") into a new node, which the caller
// puts in place of its old one. On failure Root is set back to OldRoot and "Error setting path: "%s"" is raised.
std::unique_ptr<TbsShellFolder> ResolveRootFolder(const std::wstring& OldRoot, std::wstring& Root);
[[noreturn]] void RaiseFolderDetailsError(const TbsShellFolder& Node, DWORD Code);
WIN32_FIND_DATAW ReadFindData(const TbsShellFolder& Node);
// The file-system fallback's column text (1 size, 2 extension, 3 modified, 4 attributes).
std::wstring FindDataDetail(const WIN32_FIND_DATAW& Data, int Column);
