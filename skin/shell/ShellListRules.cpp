#include "skin/shell/ShellListRules.h"

#include <cwctype>
#include <vector>

namespace {

// Latin through the C library; Cyrillic (the notifier's other script) by its fixed offsets.
wchar_t Fold(wchar_t c) {
    if (c >= 0x430 && c <= 0x44F)
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<wchar_t>(c - 0x50);
    return static_cast<wchar_t>(std::towupper(c));
}

bool Match(const wchar_t* n, const wchar_t* p) {
    // Iterative glob with one back-track point for the last "*".
    const wchar_t* star = nullptr;
    const wchar_t* resume = nullptr;
    while (*n) {
        if (*p == L'*') {
            star = p++;
            resume = n;
        } else if (*p == L'?' || (*p && Fold(*p) == Fold(*n))) {
            ++p;
            ++n;
        } else if (star) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*p == L'*')
        ++p;
    return *p == 0;
}

int CompareText(const std::wstring& a, const std::wstring& b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const wchar_t x = Fold(a[i]), y = Fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

template <typename T>
int Three(T a, T b) {
    return a == b ? 0 : (a > b ? 1 : -1);
}

// Folders before files; 0 when both are of a kind.
int FoldersFirst(const TbsSortItem& A, const TbsSortItem& B) {
    if (A.IsFolder == B.IsFolder)
        return 0;
    return A.IsFolder ? -1 : 1;
}

}  // namespace

bool MatchesFileMask(const std::wstring& Name, const std::wstring& Pattern) {
    if (Pattern == L"*.*" || Pattern == L"*")
        return true;
    return Match(Name.c_str(), Pattern.c_str());
}

bool MatchesMaskList(const std::wstring& Mask, const std::wstring& FileName) {
    size_t start = 0;
    while (start <= Mask.size()) {
        size_t end = Mask.find_first_of(L";|", start);
        if (end == std::wstring::npos)
            end = Mask.size();
        const std::wstring pattern = Mask.substr(start, end - start);
        if (pattern == L"*" || (pattern.find(L'.') != std::wstring::npos && MatchesFileMask(FileName, pattern)))
            return true;
        start = end + 1;
    }
    return false;
}

int BaseSortOrder(bool AFolder, bool BFolder, long CompareIDsResult) {
    if (AFolder != BFolder)
        return AFolder ? -1 : 1;
    return static_cast<short>(CompareIDsResult & 0xFFFF);
}

int ColumnSortCompare(const TbsSortItem& A, const TbsSortItem& B, int Base, const TbsColumnSort& Sort) {
    int r = Base;
    const int kinds = FoldersFirst(A, B);
    if (Sort.Column != 0 && !Sort.TimeSeparatorFound) {
        r = Base;
    } else if (Sort.Column == 0) {
        r = kinds ? kinds : CompareText(A.Name, B.Name);
    } else if (Sort.Column == 2) {
        r = kinds ? kinds : CompareText(A.Column2, B.Column2);
    } else if ((Sort.Column == 1 && Sort.DetailsEx) || (Sort.Column == 3 && !Sort.DetailsEx)) {
        // The modified column; with the plain texts it compares folders by their times too.
        if (Sort.DetailsEx && kinds)
            r = kinds;
        else
            r = Three(A.WriteTime, B.WriteTime);
    } else if (Sort.Column == 1 || Sort.Column == 3) {
        // The size column: folders first, two folders keep the base order.
        if (kinds)
            r = kinds;
        else
            r = A.IsFolder ? Base : Three(A.Size, B.Size);
    }
    return Sort.Descending ? -r : r;
}
