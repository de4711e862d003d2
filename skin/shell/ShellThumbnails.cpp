#include "skin/shell/ShellThumbnails.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>

#include "base/ComPtr.h"
#include "skin/shell/ShellFolder.h"

int ThumbnailThreadCount(int Nodes) { return std::clamp(Nodes, 0, 3); }

TbsThumbnailsThread::TbsThumbnailsThread(IbsThumbnailHost* Host, bool IconOnly, int Step, int StartIndex,
                                         bool VistaOrLater)
    : TThread(true), FLV(Host), FStartIndex(StartIndex), FStep(std::max(Step, 1)), FIconOnly(IconOnly),
      FVista(VistaOrLater) {
    SetPriority(tpIdle);
}

void TbsThumbnailsThread::Execute() {
    if (::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED) != S_OK)
        return;
    LoadThumbnails();
    ::CoUninitialize();
}

void TbsThumbnailsThread::LoadThumbnails() {
    for (int index = FStartIndex; index < FLV->ThumbnailNodeCount() && !Terminated(); index += FStep) {
        TbsShellFolder* node = FLV->ThumbnailNode(index);
        if (!node)
            continue;
        if (FIconOnly)
            LoadIcon(node, index);
        else
            LoadThumbnail(node, index);
    }
}

HBITMAP TbsThumbnailsThread::ImageFromFactory(TbsShellFolder* Node, SIZE Size, int Flags) {
    if (!FVista || !ShellCreateItemFromIDList)
        return nullptr;
    TComPtr<IShellItem> item;
    if (FAILED(ShellCreateItemFromIDList(Node->AbsoluteID(), IID_IShellItem, reinterpret_cast<void**>(item.Put()))) ||
        !item)
        return nullptr;
    TComPtr<IShellItemImageFactory> factory;
    if (FAILED(item->QueryInterface(IID_IShellItemImageFactory, reinterpret_cast<void**>(factory.Put()))) || !factory)
        return nullptr;
    HBITMAP bitmap = nullptr;
    if (FAILED(factory->GetImage(Size, static_cast<SIIGBF>(Flags), &bitmap)))
        return nullptr;
    return bitmap;
}

void TbsThumbnailsThread::LoadThumbnail(TbsShellFolder* Node, int Index) {
    if (FLV->StopFetch())
        return;
    SIZE size = FLV->ThumbnailSize();
    if (HBITMAP bitmap = ImageFromFactory(Node, size, SIIGBF_RESIZETOFIT)) {
        if (HBITMAP old = Node->FThumbnailHBitmap.exchange(bitmap))
            ::DeleteObject(old);
        Redraw(Index);
        return;
    }
    IShellFolder* parent = Node->ParentShellFolder();
    TbsPidl pidl(CopyPIDL(Node->RelativeID()));
    if (!parent) {
        UseShellIcon(Node, Index);
        return;
    }
    TComPtr<IExtractImage> extract;
    LPCITEMIDLIST items[1] = {pidl.get()};
    if (FAILED(parent->GetUIObjectOf(nullptr, 1, items, IID_IExtractImage, nullptr,
                                     reinterpret_cast<void**>(extract.Put()))) || !extract) {
        UseShellIcon(Node, Index);
        return;
    }
    wchar_t location[256] = {};
    DWORD priority = IEIT_PRIORITY_NORMAL;
    DWORD flags = IEIFLAG_OFFLINE | IEIFLAG_ORIGSIZE | IEIFLAG_QUALITY;
    extract->GetLocation(location, 255, &priority, &size, 32, &flags);
    HBITMAP bitmap = nullptr;
    if (FAILED(extract->Extract(&bitmap)) || !bitmap) {
        UseShellIcon(Node, Index);
        return;
    }
    if (HBITMAP old = Node->FThumbnailHBitmap.exchange(bitmap))
        ::DeleteObject(old);
    Redraw(Index);
}

void TbsThumbnailsThread::LoadIcon(TbsShellFolder* Node, int Index) {
    if (FLV->StopFetch() || Node->ThumbnailState().Contains(bsthmbThumbnailLoaded) || Node->FThumbnailHBitmap.load())
        return;
    if (HBITMAP bitmap = ImageFromFactory(Node, FLV->ThumbnailSize(), SIIGBF_ICONONLY)) {
        if (HBITMAP old = Node->FIconHBitmap.exchange(bitmap))
            ::DeleteObject(old);
        Redraw(Index);
        return;
    }
    UseShellIcon(Node, Index);
}

void TbsThumbnailsThread::UseShellIcon(TbsShellFolder* Node, int Index) {
    Node->FThumbnailIndex.store(GetShellImage(Node->AbsoluteID(), true, false));
    if (!Node->ThumbnailState().Contains(bsthmbIconLoaded)) {
        Node->IncludeThumbnailState(bsthmbIconLoaded);
        Redraw(Index);
    }
}

void TbsThumbnailsThread::Redraw(int Index) {
    // Posted: a sent redraw would wait for the GUI thread, which may be waiting for this thread to end.
    HWND window = FLV->ThumbnailWindow();
    if (window && !FLV->StopFetch())
        ::PostMessageW(window, LVM_REDRAWITEMS, static_cast<WPARAM>(Index), static_cast<LPARAM>(Index));
}
