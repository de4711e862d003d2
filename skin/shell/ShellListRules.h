// The shell list view's window-free rules: which files a mask lets through and how two items compare when the list
// is sorted after filling or by a column. The view feeds them with what it read of the shell.
// Index: MatchesFileMask, MatchesMaskList, BaseSortOrder, TbsSortItem, TbsColumnSort, ColumnSortCompare.
#pragma once

#include <cstdint>
#include <string>

// "*" any run, "?" one character, letters compared without case; "*.*" also takes a name without a dot.
bool MatchesFileMask(const std::wstring& Name, const std::wstring& Pattern);
// Mask: patterns cut at every ";" and "|" (a filter's descriptions count as patterns too). A file passes when one
// pattern holding "." matches it or a pattern is exactly "*"; an empty mask lets no file through.
bool MatchesMaskList(const std::wstring& Mask, const std::wstring& FileName);

// The order of the sort after filling: folders before files, two of a kind by the folder's own comparison
// (CompareIDsResult: its HRESULT, whose low 16 bits are the signed answer; 0 without a folder to ask).
int BaseSortOrder(bool AFolder, bool BFolder, long CompareIDsResult);

// What a column sort reads of one item.
struct TbsSortItem {
    bool IsFolder = false;
    std::wstring Name;
    std::wstring Column2;        // the column-2 text, empty without texts
    std::int64_t Size = 0;       // bytes
    std::int64_t WriteTime = 0;  // last write, FILETIME ticks
};

struct TbsColumnSort {
    int Column = 0;
    bool Descending = false;
    bool DetailsEx = false;          // the texts came through the extended detail interface
    bool TimeSeparatorFound = true;  // A's column-4 text holds the locale's time separator
};

// The sign counts. Base is BaseSortOrder of the two items.
int ColumnSortCompare(const TbsSortItem& A, const TbsSortItem& B, int Base, const TbsColumnSort& Sort);
