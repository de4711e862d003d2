// The combo boxes' window-free rules: where the button and the shown item go, where the popup opens, the page keys'
// targets, and the incremental search (what the typed keys build, the list's prefix search).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "classlib/Types.h"

// The combo box's button and item area.
struct TbsComboRects {
    TRect Button, Item;
};

// Without a skin entry (or in the tool-button style): a 19-pixel button at the right end, the item inset by 2.
TbsComboRects DefaultComboRects(int Width, int Height);
// With an entry: the button moves right by the width difference when it lies in the picture's right end (at or
// past the right corner point), the item area is the client rectangle widened by the difference; without the skin
// size both are also heightened by the height difference.
TbsComboRects SkinComboRects(int Width, int Height, const TRect& SkinRect, const TRect& ClRect, const TRect& ButtonRect,
                             int RightPointX, bool UseSkinSize);

// Where a popup of PopupHeight opens for a box whose bottom-left corner is at Below (screen) and whose height is
// BoxHeight: below, or above the box when it would pass the work area's bottom. Never moved sideways.
TPoint PopupOrigin(TPoint Below, int BoxHeight, int PopupHeight, const TRect& WorkArea);

// Page Up goes DropDownCount + 1 items back, Page Down DropDownCount - 1 forward, within the list.
int PageUpIndex(int Index, int DropDownCount);
int PageDownIndex(int Index, int Count, int DropDownCount);

// The typed prefix of the incremental search: with AutoComplete each key adds to the filter, which starts again
// when more than 499 ms passed since the previous key; without it the search string is the key alone.
class TbsTypeAhead {
  public:
    std::wstring Type(wchar_t Key, std::uint32_t Now, bool AutoComplete);
    const std::wstring& Filter() const { return FFilter; }

  private:
    std::wstring FFilter;
    std::uint32_t FLastTime = 0;
};

// The list's prefix search (case-insensitive, as LB_FINDSTRING): from the item after After (-1: from the first),
// wrapping round; -1 when none or Text is empty.
int FindPrefix(int Count, const std::function<std::wstring(int)>& Item, const std::wstring& Text, int After);
// The combo box's choice of start: one character searches from after Current, more from the first item.
int FindTyped(int Count, const std::function<std::wstring(int)>& Item, const std::wstring& Text, int Current);
