// Window-free rules of the skinned one-line edits: what a paste keeps, which characters a number edit accepts, the
// client and button rectangles of the framed edit, its height for a font, and the image buttons inside its client
// area. No windows.h here.
// Index: FirstLineOf, LocaliseMask, TbsNumInput, IsValidNumChar, TbsEditFrame, TbsEditRects, NCClientRect, CalcEditRects,
// CalcEditHeight, TbsImageButtons, LayoutImageButtons.
#pragma once

#include <string>

#include "classlib/Types.h"

// The text before the first line break (a one-line edit never stores one).
std::wstring FirstLineOf(const std::wstring& Text);

// The edit mask with the pattern's ":" and "/" (not escaped by a backslash) as the given time and date separators;
// the save flag and blank fields after the pattern are kept.
std::wstring LocaliseMask(const std::wstring& Mask, wchar_t TimeSeparator, wchar_t DateSeparator);

// What the number filter looks at: the text, the selection and the settings of the edit.
struct TbsNumInput {
    std::wstring Text;
    int SelStart = 0;
    int SelLength = 0;
    bool Float = false;
    bool EditorEnabled = true;
    wchar_t DecimalSeparator = L'.';
};
// Whether Key may be typed into a number edit in the state In.
bool IsValidNumChar(const TbsNumInput& In, wchar_t Key);

// The framed edit's skin metrics (Skinned false: the built-in look). Rectangles as read from the skin entry:
// SkinRect in the picture, ClRect and ButtonRect relative to SkinRect's top-left corner.
struct TbsEditFrame {
    bool Skinned = false;
    TRect SkinRect{};
    TRect ClRect{};
    TRect ButtonRect{};
    int ROffset = 0;
    bool UseSkinFont = true;
};

// The text area and the push button in window coordinates.
struct TbsEditRects {
    TRect Edit{};
    TRect Button{};
};

// The client rectangle inside the window rectangle Window (the non-client frame taken off).
TRect NCClientRect(const TbsEditFrame& F, const TRect& Window, bool ButtonMode);
// The text area and the button of a Width x Height edit.
TbsEditRects CalcEditRects(const TbsEditFrame& F, int Width, int Height, bool ButtonMode);
// The height of an edit whose font has the text-metric height TextHeight (ImageHeight 0: no image list).
int CalcEditHeight(const TbsEditFrame& F, int TextHeight, int ImageHeight);

// The left and right image buttons inside the client rectangle and what remains for the text.
struct TbsImageButtons {
    TRect Left{};
    TRect Right{};
    TRect Text{};
};
TbsImageButtons LayoutImageButtons(const TRect& Client, int ImageWidth, bool HasLeft, bool HasRight);
