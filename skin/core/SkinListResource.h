// Skin lists carried as resources of a program: the list text (one row per skin, in index order) and one compressed
// skin block per row, both RCDATA. The build writes them from the generated skin set (skinset); a program
// fills its TbsCompressedSkinList from them at start, so it is skinned with no files beside it.
//
// Resource names: the list text is ListName ("NOTIFIERSKINS"), the block of row i is ListName + "_" + i.
// The list text is UTF-8, rows "index TAB folder TAB block version TAB name TAB description", lines starting with '#'
// are comments; the rows give the indices 0, 1, 2, ... in order.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/core/CompressedSkin.h"

struct TbsSkinListRow {
    int Index = 0;
    std::wstring Folder;
    int BlockVersion = 3;
    std::wstring Name;
    std::wstring Description;
};

// The rows of a list text; EbsSkinFormatError for a malformed row or an index out of order.
std::vector<TbsSkinListRow> ParseSkinListText(const std::string& utf8);

// Replaces the items of AList with the list ListName of AModule (nullptr: the program itself): each item takes the
// row's name, description and "<folder>.skn" as its compressed file name, and its block. A missing resource or a
// broken block raises EbsSkinFormatError and leaves AList empty. The blocks are read in place, not copied (a skin
// is decompressed only when it is chosen): AModule stays loaded while AList holds them.
void LoadSkinListFromResources(HMODULE AModule, const std::wstring& AListName, TbsCompressedSkinList& AList);
