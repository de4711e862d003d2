// What the combo boxes' looks share: the framed fills of the built-in button and tool looks, a button entry's
// picture composed to a size, and a button entry's menu marker.
#pragma once

#include <string>

#include "classlib/Graphics.h"

class TbsDataSkinButtonControl;
class TbsDataSkinComboBox;

// The copies both combo boxes take from their "combobox" entry.
struct TbsComboSkinFields {
    TRect ActiveSkinRect, SItemRect, FocusItemRect, ActiveItemRect, ItemTextRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TColor ActiveFontColor = 0, FontColor = 0, FocusFontColor = 0;
    std::wstring FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    std::wstring ListBoxName;
    bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;
    // Copies E's fields; an empty focused item picture is the normal one.
    void CopyComboEntry(const TbsDataSkinComboBox& E);
    // The item font into F: the entry's name, style and height (UseSkinFont), else Default; the character set.
    void ItemFont(TFont* F, bool UseSkinFont, TFont* Default, TFontCharset Charset) const;
};

// R filled with Fill and framed one pixel in Frame.
void FillFramed(TCanvas* C, const TRect& R, TColor Frame, TColor Fill);
// The button entry's picture Src (a place in Pic) composed to B's size with the entry's corner points and stretch
// flags.
void ComposeButton(TbsDataSkinButtonControl* E, TBitmap* Pic, const TRect& Src, TBitmap* B);
// The entry's marker picture centred in R (one pixel lower when Down): the pressed picture when Down and defined,
// else the hot one when Active (or Down) and defined, else the normal one; nothing outside the picture.
void DrawMarker(TCanvas* C, TbsDataSkinButtonControl* E, TBitmap* Pic, const TRect& R, bool Active, bool Down);
