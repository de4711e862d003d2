#include "skin/shell/ShellIdList.h"

#include <cstring>

#include "base/ComPtr.h"
#include "classlib/ComObj.h"

namespace {

// The count of the item at p; a list is walked only through its own counts.
USHORT ItemSize(LPCITEMIDLIST p) {
    USHORT cb;
    std::memcpy(&cb, &p->mkid.cb, sizeof cb);
    return cb;
}

IMalloc* ShellMalloc() {
    IMalloc* m = nullptr;
    if (FAILED(SHGetMalloc(&m)))
        return nullptr;
    return m;  // the shell's task allocator: one object per process; each use gives its reference back
}

// Bytes of the items, without the terminator.
UINT ItemBytes(LPCITEMIDLIST pidl) {
    UINT size = 0;
    if (!pidl)
        return 0;
    for (auto p = pidl; ItemSize(p) != 0; p = NextPIDL(p))
        size += ItemSize(p);
    return size;
}

}  // namespace

void DisposePIDL(LPITEMIDLIST pidl) {
    if (!pidl)
        return;
    if (TComPtr<IMalloc> m{ShellMalloc()})
        m->Free(pidl);
}

LPITEMIDLIST CreatePIDL(UINT size) {
    TComPtr<IMalloc> m{ShellMalloc()};
    if (!m)
        return nullptr;
    auto* p = static_cast<LPITEMIDLIST>(m->Alloc(size));
    if (p)
        std::memset(p, 0, size);
    return p;
}

LPITEMIDLIST NextPIDL(LPCITEMIDLIST pidl) {
    auto* bytes = reinterpret_cast<const BYTE*>(pidl);
    return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(bytes + ItemSize(pidl)));
}

void RemoveLastItemID(LPITEMIDLIST pidl) {
    if (!pidl || ItemSize(pidl) == 0)
        return;
    LPITEMIDLIST last = pidl;
    for (auto p = pidl; ItemSize(p) != 0; p = NextPIDL(p))
        last = p;
    last->mkid.cb = 0;
}

int ItemIDCount(LPCITEMIDLIST pidl) {
    int n = 0;
    if (pidl)
        for (auto p = pidl; ItemSize(p) != 0; p = NextPIDL(p))
            ++n;
    return n;
}

UINT GetPIDLSize(LPCITEMIDLIST pidl) { return pidl ? ItemBytes(pidl) + sizeof(USHORT) : 0; }

LPITEMIDLIST CopyPIDL(LPCITEMIDLIST pidl) {
    if (!pidl)
        return nullptr;
    UINT size = GetPIDLSize(pidl);
    LPITEMIDLIST copy = CreatePIDL(size);
    if (copy)
        std::memcpy(copy, pidl, size);
    return copy;
}

LPITEMIDLIST ConcatPIDLs(LPCITEMIDLIST first, LPCITEMIDLIST second) {
    UINT head = ItemBytes(first);
    UINT tail = GetPIDLSize(second);
    if (tail == 0)
        tail = sizeof(USHORT);  // a missing second list adds only the terminator
    LPITEMIDLIST out = CreatePIDL(head + tail);
    if (!out)
        return nullptr;
    auto* bytes = reinterpret_cast<BYTE*>(out);
    if (head)
        std::memcpy(bytes, first, head);
    if (second)
        std::memcpy(bytes + head, second, tail);
    return out;
}

LPITEMIDLIST LastItemIDCopy(LPCITEMIDLIST pidl) {
    if (!pidl)
        return nullptr;
    LPCITEMIDLIST last = nullptr;
    for (auto p = pidl; ItemSize(p) != 0; p = NextPIDL(p))
        last = p;
    if (!last)
        return CreatePIDL(sizeof(USHORT));
    UINT cb = ItemSize(last);
    LPITEMIDLIST out = CreatePIDL(cb + sizeof(USHORT));
    if (out)
        std::memcpy(out, last, cb);
    return out;
}

TbsPidlList CreatePIDLPrefixList(LPCITEMIDLIST pidl) {
    TbsPidlList list;
    int count = ItemIDCount(pidl);
    for (int n = 0; n < count; ++n) {
        // The first n items: the list with its items from n on cut off.
        UINT bytes = 0;
        auto p = pidl;
        for (int i = 0; i < n; ++i) {
            bytes += ItemSize(p);
            p = NextPIDL(p);
        }
        LPITEMIDLIST prefix = CreatePIDL(bytes + sizeof(USHORT));
        if (!prefix)
            OleCheck(E_OUTOFMEMORY);
        std::memcpy(prefix, pidl, bytes);
        list.emplace_back(prefix);
    }
    return list;
}

bool PIDLsEqual(LPCITEMIDLIST first, LPCITEMIDLIST second) {
    TComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())) || !desktop)
        return false;
    HRESULT hr = desktop->CompareIDs(0, first, second);
    return SUCCEEDED(hr) && HRESULT_CODE(hr) == 0;
}

LPITEMIDLIST DesktopPIDL() {
    LPITEMIDLIST pidl = nullptr;
    OleCheck(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pidl));
    return pidl;
}
