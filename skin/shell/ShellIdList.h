// Item identifier lists ("PIDLs"): a run of items, each starting with its 16-bit byte count (the count included),
// ended by an item whose count is 0. A relative list names an item in its parent folder, a full list names it from
// the desktop. Every list made here comes from the shell allocator and goes back to it.
// Index: TbsPidl (owner), CreatePIDL, NextPIDL, RemoveLastItemID, ItemIDCount, GetPIDLSize, CopyPIDL, ConcatPIDLs,
// DisposePIDL, LastItemIDCopy, TbsPidlList, CreatePIDLPrefixList, PIDLsEqual, DesktopPIDL.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <vector>

// Frees a list with the shell allocator; nothing for nullptr.
void DisposePIDL(LPITEMIDLIST pidl);

struct TbsPidlFree {
    void operator()(ITEMIDLIST* pidl) const { DisposePIDL(pidl); }
};
// The owner of one list.
using TbsPidl = std::unique_ptr<ITEMIDLIST, TbsPidlFree>;
using TbsPidlList = std::vector<TbsPidl>;

// Size bytes from the shell allocator, zeroed; nullptr when the allocator gives nothing.
LPITEMIDLIST CreatePIDL(UINT size);
// The item after the first one.
LPITEMIDLIST NextPIDL(LPCITEMIDLIST pidl);
// The list loses its last item (its count becomes the terminator); nothing for nullptr or an empty list.
void RemoveLastItemID(LPITEMIDLIST pidl);
// Items before the terminator (0 for nullptr).
int ItemIDCount(LPCITEMIDLIST pidl);
// Bytes with the terminator: 0 for nullptr, 2 for the empty list.
UINT GetPIDLSize(LPCITEMIDLIST pidl);
LPITEMIDLIST CopyPIDL(LPCITEMIDLIST pidl);
// The items of First (nullptr counts as empty) followed by Second with its terminator.
LPITEMIDLIST ConcatPIDLs(LPCITEMIDLIST first, LPCITEMIDLIST second);
// A one-item list of the last item (the empty list for an empty one).
LPITEMIDLIST LastItemIDCopy(LPCITEMIDLIST pidl);
// The proper prefixes of a full list: the empty list (the desktop), then one item more each time, up to the list
// without its last item.
TbsPidlList CreatePIDLPrefixList(LPCITEMIDLIST pidl);
// True when the desktop folder compares the two full lists as the same item.
bool PIDLsEqual(LPCITEMIDLIST first, LPCITEMIDLIST second);
// The desktop's list; EOleSysError when the shell cannot give it.
LPITEMIDLIST DesktopPIDL();
