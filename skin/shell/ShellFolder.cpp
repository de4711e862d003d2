#include "skin/shell/ShellFolder.h"

#include <shellapi.h>

#include <cstring>

#include "classlib/ComObj.h"
#include "classlib/Forms.h"
#include "skin/controls/ControlSeam.h"
#include "skin/core/SkinBitmap.h"
#include "skin/shell/ShellNames.h"

TSHCreateItemFromIDList ShellCreateItemFromIDList = nullptr;
TSHGetKnownFolderIDList ShellGetKnownFolderIDList = nullptr;
IShellFolder* SortRootFolder = nullptr;

namespace {

int g_unitDepth = 0;
HMODULE g_shell32 = nullptr;
TbsShellFolder* g_desktopItem = nullptr;

int SystemMajorVersion() {
    int major = 0, minor = 0;
    if (ControlSeam().Version)
        ControlSeam().Version(major, minor);
    return major;
}

// One attribute query for one item; a failed call gives no attribute (the word would still hold the request).
SFGAOF Attributes(IShellFolder* folder, LPCITEMIDLIST pidl, SFGAOF request) {
    if (!folder)
        return 0;
    SFGAOF attr = request;
    LPCITEMIDLIST items[1] = {pidl};
    if (FAILED(folder->GetAttributesOf(1, items, &attr)))
        return 0;
    return attr;
}

// The chain GetItemShellFolder and GetIShellDetails share: bind through the parent, then its UI object and view
// object, then through the desktop.
template <typename I>
TComPtr<I> BindItemInterface(IShellFolder* parent, LPCITEMIDLIST pidl, HWND owner, REFIID iid) {
    TComPtr<I> out;
    if (parent) {
        if (FAILED(parent->BindToObject(pidl, nullptr, iid, reinterpret_cast<void**>(out.Put()))) || !out) {
            LPCITEMIDLIST items[1] = {pidl};
            TComPtr<I> ui;
            if (SUCCEEDED(parent->GetUIObjectOf(owner, 1, items, iid, nullptr, reinterpret_cast<void**>(ui.Put()))) && ui)
                out = std::move(ui);
            TComPtr<I> view;
            if (SUCCEEDED(parent->CreateViewObject(owner, iid, reinterpret_cast<void**>(view.Put()))) && view)
                out = std::move(view);
        }
    }
    if (!out) {
        TComPtr<IShellFolder> desktop = DesktopShellFolder();
        if (FAILED(desktop->BindToObject(pidl, nullptr, iid, reinterpret_cast<void**>(out.Put()))))
            out.Reset();
    }
    return out;
}

}  // namespace

DWORD ShellEnumFlags(TShellObjectTypes types) { return static_cast<DWORD>(types.Bits()) * 32; }

// ---- Queries -------------------------------------------------------------------------------------------------------

TComPtr<IShellFolder> DesktopShellFolder() {
    TComPtr<IShellFolder> desktop;
    OleCheck(SHGetDesktopFolder(desktop.Put()));
    return desktop;
}

bool IsElement(DWORD Element, DWORD Flags) { return (Element & Flags) != 0; }

int GetShellImage(LPCITEMIDLIST FullPidl, bool Large, bool Open) {
    SHFILEINFOW info{};
    UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX;
    if (Open)
        flags |= SHGFI_OPENICON;
    if (!Large)
        flags |= SHGFI_SMALLICON;
    if (!::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(FullPidl), 0, &info, sizeof info, flags))
        return -1;
    return info.iIcon;
}

TbsShellFolderCapabilities GetCaps(IShellFolder* ParentFolder, LPCITEMIDLIST Pidl) {
    SFGAOF a = Attributes(ParentFolder, Pidl, 0x177);
    TbsShellFolderCapabilities caps;
    const std::pair<SFGAOF, TbsShellFolderCapability> map[] = {
        {SFGAO_CANCOPY, fcCanCopy},     {SFGAO_CANDELETE, fcCanDelete},   {SFGAO_CANLINK, fcCanLink},
        {SFGAO_CANMOVE, fcCanMove},     {SFGAO_CANRENAME, fcCanRename},   {SFGAO_DROPTARGET, fcDropTarget},
        {SFGAO_HASPROPSHEET, fcHasPropSheet}};
    for (auto [bit, cap] : map)
        if (a & bit)
            caps.Include(cap);
    return caps;
}

TbsShellFolderProperties GetProperties(IShellFolder* ParentFolder, LPCITEMIDLIST Pidl) {
    TbsShellFolderProperties props;
    if (!ParentFolder)
        return props;
    SFGAOF a = Attributes(ParentFolder, Pidl, 0xFC000);
    const std::pair<SFGAOF, TbsShellFolderProperty> first[] = {
        {SFGAO_GHOSTED, fpCut}, {SFGAO_LINK, fpIsLink}, {SFGAO_READONLY, fpReadOnly}, {SFGAO_SHARE, fpShared}};
    for (auto [bit, prop] : first)
        if (a & bit)
            props.Include(prop);
    const std::pair<SFGAOF, TbsShellFolderProperty> second[] = {{SFGAO_FILESYSTEM, fpFileSystem},
                                                                {SFGAO_FILESYSANCESTOR, fpFileSystemAncestor},
                                                                {SFGAO_REMOVABLE, fpRemovable},
                                                                {SFGAO_VALIDATE, fpValidate}};
    SFGAOF request = 0;
    for (auto [bit, prop] : second)
        request |= bit;
    a = Attributes(ParentFolder, Pidl, request);
    for (auto [bit, prop] : second)
        if (a & bit)
            props.Include(prop);
    return props;
}

bool GetIsFolder(IShellFolder* ParentFolder, LPCITEMIDLIST Pidl) {
    return (Attributes(ParentFolder, Pidl, SFGAO_FOLDER) & SFGAO_FOLDER) != 0;
}

bool GetHasSubFolders(IShellFolder* ParentFolder, LPCITEMIDLIST Pidl) {
    return (Attributes(ParentFolder, Pidl, SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER) != 0;
}

bool HasEnumItems(IShellFolder* Folder, DWORD Flags) {
    if (!Folder)
        return false;
    UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    bool found = false;
    TComPtr<IEnumIDList> items;
    if (SUCCEEDED(Folder->EnumObjects(nullptr, Flags, items.Put())) && items) {
        LPITEMIDLIST first = nullptr;
        ULONG fetched = 0;
        found = items->Next(1, &first, &fetched) == S_OK && fetched == 1;
        DisposePIDL(first);
    }
    ::SetErrorMode(oldMode);
    return found;
}

std::wstring StrRetToString(LPCITEMIDLIST Pidl, const STRRET& Str) {
    std::wstring text;
    switch (Str.uType) {
        case STRRET_WSTR:
            if (Str.pOleStr) {
                text = Str.pOleStr;
                ::CoTaskMemFree(Str.pOleStr);
            }
            break;
        case STRRET_OFFSET:
            if (Pidl) {
                UINT cb = Pidl->mkid.cb;
                if (Str.uOffset < cb) {
                    auto* start = reinterpret_cast<const char*>(Pidl) + Str.uOffset;
                    int length = static_cast<int>(strnlen(start, cb - Str.uOffset));
                    text = AnsiToWide(std::string_view(start, static_cast<size_t>(length)));
                }
            }
            break;
        case STRRET_CSTR:
            text = AnsiToWide(std::string_view(Str.cStr, strnlen(Str.cStr, sizeof Str.cStr)));
            break;
        default:
            break;
    }
    return RemoveDigitMarks(text);
}

std::wstring GetDisplayName(IShellFolder* Folder, LPCITEMIDLIST Pidl, DWORD Flags) {
    if (!Folder)
        return L"parentfolder = nil";
    auto ask = [&](DWORD flags) {
        STRRET str{};
        if (FAILED(Folder->GetDisplayNameOf(Pidl, flags, &str)))
            return std::wstring();
        return StrRetToString(Pidl, str);
    };
    std::wstring name = ask(Flags);
    if (name.rfind(L"::{", 0) == 0)
        name = ask(SHGDN_NORMAL);
    return name;
}

TComPtr<IShellFolder> GetItemShellFolder(IShellFolder* ParentFolder, LPCITEMIDLIST Pidl, HWND Owner) {
    return BindItemInterface<IShellFolder>(ParentFolder, Pidl, Owner, IID_IShellFolder);
}

TComPtr<IShellDetails> GetIShellDetails(IShellFolder* Folder, LPCITEMIDLIST Pidl, HWND Owner) {
    return BindItemInterface<IShellDetails>(Folder, Pidl, Owner, IID_IShellDetails);
}

TComPtr<IShellFolder2> GetIShellFolder2(IShellFolder* Folder, LPCITEMIDLIST Pidl, HWND Owner) {
    TComPtr<IShellFolder2> out;
    if (SystemMajorVersion() < 5)
        return out;
    TComPtr<IShellFolder> desktop = DesktopShellFolder();
    if (SUCCEEDED(desktop->BindToObject(Pidl, nullptr, IID_IShellFolder2, reinterpret_cast<void**>(out.Put()))) && out)
        return out;
    out.Reset();
    if (Folder) {
        LPCITEMIDLIST items[1] = {Pidl};
        if (SUCCEEDED(Folder->GetUIObjectOf(Owner, 1, items, IID_IShellFolder2, nullptr,
                                            reinterpret_cast<void**>(out.Put()))) && out)
            return out;
        out.Reset();
        if (FAILED(Folder->BindToObject(Pidl, nullptr, IID_IShellFolder2, reinterpret_cast<void**>(out.Put()))))
            out.Reset();
    }
    return out;
}

bool ColumnHasSCID(IShellFolder2* Folder, int Column, SHCOLUMNID& Id) {
    return Folder && Folder->MapColumnToSCID(static_cast<UINT>(Column), &Id) == S_OK;
}

std::unique_ptr<TbsShellFolder> CreateFolderFromPIDL(LPCITEMIDLIST FullPidl) {
    TComPtr<IShellFolder> desktop = DesktopShellFolder();
    TComPtr<IShellFolder> folder = GetItemShellFolder(desktop.Get(), FullPidl, nullptr);
    return std::make_unique<TbsShellFolder>(nullptr, folder ? folder.Get() : desktop.Get(), FullPidl);
}

std::unique_ptr<TbsShellFolder> ResolveRootFolder(const std::wstring& OldRoot, std::wstring& Root) {
    const std::wstring asked = Root;
    TbsPidl pidl;
    HRESULT hr = E_FAIL;
    int special = RootFolderIndex(Root);
    if (special < 0) {
        if (!Root.empty()) {
            Root = RootParsingName(Root);
            TComPtr<IShellFolder> desktop = DesktopShellFolder();
            LPITEMIDLIST out = nullptr;
            hr = desktop->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>(Root.c_str()), nullptr, &out, nullptr);
            pidl.reset(out);
        }
    } else {
        LPITEMIDLIST out = nullptr;
        hr = SHGetSpecialFolderLocation(nullptr, RootFolderCSIDL(special), &out);
        pidl.reset(out);
    }
    if (FAILED(hr) || !pidl) {
        Root = OldRoot;
        throw Exception(Format(L"Error setting path: \"%s\"", asked));
    }
    return CreateFolderFromPIDL(pidl.get());
}

void RaiseFolderDetailsError(const TbsShellFolder& Node, DWORD Code) {
    throw EInvalidPath(Format(L"Unable to retrieve folder details for \"%s\". Error code $%x", Node.DisplayName(),
                              static_cast<unsigned>(Code)));
}

WIN32_FIND_DATAW ReadFindData(const TbsShellFolder& Node) {
    WIN32_FIND_DATAW data{};
    HANDLE h = ::FindFirstFileW(Node.PathName().c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        RaiseFolderDetailsError(Node, ::GetLastError());
    ::FindClose(h);
    return data;
}

std::wstring FindDataDetail(const WIN32_FIND_DATAW& Data, int Column) {
    bool directory = (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    switch (Column) {
        case 1:  // a folder has no size: an empty cell rather than "-1"
            return directory ? std::wstring()
                             : IntToStr(static_cast<long long>((static_cast<std::uint64_t>(Data.nFileSizeHigh) << 32) |
                                                               Data.nFileSizeLow));
        case 2:
            return ExtractFileExt(Data.cFileName);
        case 3: {
            FILETIME local;
            SYSTEMTIME st;
            if (directory || !::FileTimeToLocalFileTime(&Data.ftLastWriteTime, &local) ||
                !::FileTimeToSystemTime(&local, &st))
                return {};  // no day to show, rather than the day count -1 formatted as a date
            TDateTime d, t;
            if (!TryEncodeDate(st.wYear, st.wMonth, st.wDay, d) || !TryEncodeTime(st.wHour, st.wMinute, st.wSecond, 0, t))
                return {};
            return DateTimeToStr(d + t);
        }
        case 4:
            return IntToStr(static_cast<long long>(Data.dwFileAttributes));
        default:
            return {};
    }
}

// ---- The node ------------------------------------------------------------------------------------------------------

TbsShellFolder::TbsShellFolder(TbsShellFolder* Parent, IShellFolder* Folder, LPCITEMIDLIST Pidl)
    : FPIDL(CopyPIDL(Pidl)), FThumbnail(std::make_unique<TbsBitmap>()) {
    if (Folder) {
        Folder->AddRef();
        FIShellFolder.Reset(Folder);
    }
    if (Parent)
        FFullPIDL.reset(ConcatPIDLs(Parent->AbsoluteID(), Pidl));
    else if (g_desktopItem)
        FFullPIDL.reset(ConcatPIDLs(g_desktopItem->AbsoluteID(), Pidl));
    else
        FFullPIDL.reset(CopyPIDL(Pidl));
    FParent = Parent ? Parent : g_desktopItem;
    for (auto* p = Parent ? Parent->FParent : nullptr; p; p = p->FParent)
        ++FLevel;
}

TbsShellFolder::~TbsShellFolder() {
    if (HBITMAP h = FThumbnailHBitmap.exchange(nullptr))
        ::DeleteObject(h);
    if (HBITMAP h = FIconHBitmap.exchange(nullptr))
        ::DeleteObject(h);
}

IShellFolder* TbsShellFolder::ParentShellFolder() const {
    if (FParent && FParent->FIShellFolder)
        return FParent->FIShellFolder.Get();
    if (FParent)
        return nullptr;
    return g_desktopItem ? g_desktopItem->FIShellFolder.Get() : nullptr;
}

TbsShellFolderProperties TbsShellFolder::Properties() const { return GetProperties(ParentShellFolder(), FPIDL.get()); }
TbsShellFolderCapabilities TbsShellFolder::Capabilities() const { return GetCaps(ParentShellFolder(), FPIDL.get()); }
bool TbsShellFolder::SubFolders() const { return GetHasSubFolders(ParentShellFolder(), FPIDL.get()); }

bool TbsShellFolder::IsFolder() const {
    return GetIsFolder(ParentShellFolder(), FPIDL.get()) && UpperCase(ExtractFileExt(ParsingName())) != L".ZIP";
}

std::wstring TbsShellFolder::PathName() const {
    TComPtr<IShellFolder> desktop = DesktopShellFolder();
    return GetDisplayName(desktop.Get(), FFullPIDL.get(), SHGDN_FORPARSING);
}

std::wstring TbsShellFolder::FullObjectName() const {
    wchar_t path[MAX_PATH] = {};
    if (!FFullPIDL || !::SHGetPathFromIDListW(FFullPIDL.get(), path))
        return {};
    return path;
}

const std::wstring& TbsShellFolder::DisplayName() const {
    if (!FDisplayName)
        FDisplayName = GetDisplayName(ParentShellFolder(), FPIDL.get(), SHGDN_INFOLDER);
    return *FDisplayName;
}

std::wstring TbsShellFolder::ParsingName() const {
    return GetDisplayName(ParentShellFolder(), FPIDL.get(), SHGDN_INFOLDER | SHGDN_FORPARSING);
}

bool TbsShellFolder::Rename(const std::wstring& NewName) {
    if (!Capabilities().Contains(fcCanRename))
        return false;
    IShellFolder* parent = ParentShellFolder();
    LPITEMIDLIST renamed = nullptr;
    HRESULT hr = parent ? parent->SetNameOf(nullptr, FPIDL.get(), NewName.c_str(), SHGDN_NORMAL, &renamed) : E_FAIL;
    if (hr != S_OK || !renamed) {
        DisposePIDL(renamed);
        throw Exception(Format(L"Rename to %s failed", NewName));
    }
    FPIDL.reset(renamed);
    FDisplayName.reset();
    FFullPIDL.reset(FParent ? ConcatPIDLs(FParent->AbsoluteID(), renamed) : CopyPIDL(renamed));
    return true;
}

int TbsShellFolder::ImageIndex(bool Large) {
    int& cached = Large ? FLargeImageIndex : FImageIndex;
    if (cached == -1) {
        // Asked of the parent folder: the system image list has one index for both sizes, and the full item list
        // would be walked from the desktop down (under Wine that reads the whole folder for every item).
        if (IShellFolder* parent = ParentShellFolder())
            cached = ::SHMapPIDLToSystemImageListIndex(parent, FPIDL.get(), nullptr);
        if (cached < 0)
            cached = GetShellImage(FFullPIDL.get(), Large, false);
    }
    return cached;
}

int TbsShellFolder::ExecuteDefault() {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = Application ? Application->Handle() : nullptr;
    info.lpIDList = FFullPIDL.get();
    info.nShow = SW_SHOW;
    return ::ShellExecuteExW(&info);
}

IUnknown* TbsShellFolder::GetDetailInterface() {
    if (FDetailInterface || !FIShellFolder)
        return FDetailInterface;
    FIShellDetails = GetIShellDetails(FIShellFolder.Get(), FFullPIDL.get(), FViewHandle);
    if (!FIShellDetails && SystemMajorVersion() >= 5) {
        FIShellFolder2 = GetIShellFolder2(FIShellFolder.Get(), FFullPIDL.get(), FViewHandle);
        if (!FIShellFolder2) {
            IShellFolder2* own = nullptr;
            if (SUCCEEDED(FIShellFolder->QueryInterface(IID_IShellFolder2, reinterpret_cast<void**>(&own))) && own)
                FIShellFolder2.Reset(own);
        }
    }
    FDetailInterface = FIShellFolder2 ? static_cast<IUnknown*>(FIShellFolder2.Get())
                                      : static_cast<IUnknown*>(FIShellDetails.Get());
    return FDetailInterface;
}

IShellFolder2* TbsShellFolder::ShellFolder2() {
    if (!FDetailInterface)
        GetDetailInterface();
    return FIShellFolder2.Get();
}

IShellDetails* TbsShellFolder::ShellDetails() {
    if (!FDetailInterface)
        GetDetailInterface();
    return FIShellDetails.Get();
}

void TbsShellFolder::LoadColumnDetails(TbsShellFolder* Root, HWND ViewWindow, int Count) {
    if (static_cast<int>(FDetails.size()) >= Count)
        return;
    FDetails.clear();
    FViewHandle = ViewWindow;
    LPCITEMIDLIST pidl = FPIDL.get();
    if (IShellFolder2* sf2 = Root ? Root->ShellFolder2() : nullptr) {
        FDetailsEx = false;
        for (int c = 1; c <= Count; ++c) {
            SHELLDETAILS sd{};
            if (SUCCEEDED(sf2->GetDetailsOf(pidl, static_cast<UINT>(c), &sd))) {
                FDetails.push_back(StrRetToString(pidl, sd.str));
                continue;
            }
            SHCOLUMNID id{};
            VARIANT v;
            ::VariantInit(&v);
            if (!ColumnHasSCID(sf2, c, id) || FAILED(sf2->GetDetailsEx(pidl, &id, &v))) {
                FDetails.emplace_back();
                continue;
            }
            FDetailsEx = true;
            std::wstring text;
            if (id.pid == 12) {  // PID_STG_SIZE: the size in bytes, shown in kilobytes
                VARIANT n;
                ::VariantInit(&n);
                if (SUCCEEDED(::VariantChangeType(&n, &v, 0, VT_I8)))
                    text = FormatKBSize(SizeInKB(n.llVal));
                ::VariantClear(&n);
            } else {
                VARIANT s;
                ::VariantInit(&s);
                if (SUCCEEDED(::VariantChangeType(&s, &v, 0, VT_BSTR)) && s.bstrVal)
                    text = s.bstrVal;
                ::VariantClear(&s);
            }
            ::VariantClear(&v);
            FDetails.push_back(text);
        }
    } else if (IShellDetails* sd = Root ? Root->ShellDetails() : nullptr) {
        for (int c = 1; c <= Count; ++c) {
            SHELLDETAILS d{};
            FDetails.push_back(SUCCEEDED(sd->GetDetailsOf(pidl, static_cast<UINT>(c), &d)) ? StrRetToString(pidl, d.str)
                                                                                          : std::wstring());
        }
    } else if (Root && Root->Properties().Contains(fpFileSystem)) {
        WIN32_FIND_DATAW data = ReadFindData(*this);
        for (int c = 1; c <= Count; ++c)
            FDetails.push_back(FindDataDetail(data, c));
    }
}

std::wstring TbsShellFolder::GetDetails(int Column) const {
    if (FDetails.empty())
        throw Exception(Format(L"%s: Missing call to LoadColumnDetails", DisplayName()));
    if (Column < 1 || Column > static_cast<int>(FDetails.size()))
        return {};
    return FDetails[static_cast<size_t>(Column - 1)];
}

void TbsShellFolder::SetDetails(int Column, const std::wstring& Text) {
    if (Column < 1)
        return;
    auto at = static_cast<size_t>(Column - 1);
    if (at < FDetails.size())
        FDetails[at] = Text;
    else
        FDetails.insert(FDetails.end(), Text);  // past the end: appended, as an insert at that place would be
}

// ---- The unit ------------------------------------------------------------------------------------------------------

TbsShellFolder* DesktopFolderItem() { return g_desktopItem; }

TbsShellUnit::TbsShellUnit() {
    if (g_unitDepth++ > 0)
        return;
    owner_ = true;
    g_shell32 = ::LoadLibraryW(L"shell32.dll");
    if (g_shell32) {
        ShellCreateItemFromIDList = reinterpret_cast<TSHCreateItemFromIDList>(
            reinterpret_cast<void*>(::GetProcAddress(g_shell32, "SHCreateItemFromIDList")));
        ShellGetKnownFolderIDList = reinterpret_cast<TSHGetKnownFolderIDList>(
            reinterpret_cast<void*>(::GetProcAddress(g_shell32, "SHGetKnownFolderIDList")));
    }
    LPITEMIDLIST desktopPidl = nullptr;
    TComPtr<IShellFolder> desktop;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktopPidl)) &&
        SUCCEEDED(SHGetDesktopFolder(desktop.Put())) && desktop)
        g_desktopItem = new TbsShellFolder(nullptr, desktop.Get(), desktopPidl);
    DisposePIDL(desktopPidl);
    ::OleInitialize(nullptr);
}

TbsShellUnit::~TbsShellUnit() {
    --g_unitDepth;
    if (!owner_)
        return;
    ShellCreateItemFromIDList = nullptr;
    ShellGetKnownFolderIDList = nullptr;
    SortRootFolder = nullptr;
    delete std::exchange(g_desktopItem, nullptr);
    if (g_shell32)
        ::FreeLibrary(std::exchange(g_shell32, nullptr));
    ::OleUninitialize();
}
