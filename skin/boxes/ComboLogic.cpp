#include "skin/boxes/ComboLogic.h"

#include <windows.h>

#include <algorithm>

TbsComboRects DefaultComboRects(int Width, int Height) {
    TbsComboRects r;
    r.Button = {Width - 19, 0, Width, Height};
    r.Item = {2, 2, r.Button.Left - 1, Height - 2};
    return r;
}

TbsComboRects SkinComboRects(int Width, int Height, const TRect& SkinRect, const TRect& ClRect, const TRect& ButtonRect,
                             int RightPointX, bool UseSkinSize) {
    TbsComboRects r;
    const int dx = Width - SkinRect.Width();
    r.Button = ButtonRect;
    if (ButtonRect.Left >= SkinRect.Width() - RightPointX)
        r.Button.Offset(dx, 0);
    r.Item = ClRect;
    r.Item.Right += dx;
    if (!UseSkinSize) {
        const int dy = Height - SkinRect.Height();
        r.Button.Bottom += dy;
        r.Item.Bottom += dy;
    }
    return r;
}

TPoint PopupOrigin(TPoint Below, int BoxHeight, int PopupHeight, const TRect& WorkArea) {
    if (Below.Y + PopupHeight > WorkArea.Bottom)
        return {Below.X, Below.Y - BoxHeight - PopupHeight};
    return Below;
}

int PageUpIndex(int Index, int DropDownCount) {
    return std::max(0, Index - DropDownCount - 1);
}

int PageDownIndex(int Index, int Count, int DropDownCount) {
    return std::min(Count - 1, Index + DropDownCount - 1);
}

std::wstring TbsTypeAhead::Type(wchar_t Key, std::uint32_t Now, bool AutoComplete) {
    if (!AutoComplete)
        return std::wstring(1, Key);
    if (static_cast<std::uint32_t>(Now - FLastTime) > 499)
        FFilter.clear();
    FLastTime = Now;
    FFilter += Key;
    return FFilter;
}

namespace {

std::wstring Upper(std::wstring s) {
    if (!s.empty())
        CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

}  // namespace

int FindPrefix(int Count, const std::function<std::wstring(int)>& Item, const std::wstring& Text, int After) {
    if (Text.empty() || Count <= 0)
        return -1;
    const std::wstring key = Upper(Text);
    const int first = After < -1 || After >= Count ? 0 : After + 1;
    for (int k = 0; k < Count; ++k) {
        const int i = (first + k) % Count;
        const std::wstring s = Item(i);
        if (s.size() >= key.size() && Upper(s.substr(0, key.size())) == key)
            return i;
    }
    return -1;
}

int FindTyped(int Count, const std::function<std::wstring(int)>& Item, const std::wstring& Text, int Current) {
    return FindPrefix(Count, Item, Text, Text.size() == 1 ? Current : -1);
}
