// The skinned list box's window-free arithmetic: where the inner list and the two skinned bars go inside the frame,
// the frame height that shows a number of rows, the visible rows and the tab stops of tabbed item text.
#pragma once

#include <string>

#include "classlib/Types.h"

struct TbsListLayoutInput {
    int Width = 0, Height = 0;
    bool HasEntry = false;     // a skin entry is in force
    TRect NewClRect;           // the entry's client rectangle resized to the control (HasEntry only)
    bool CaptionMode = false;  // built-in look: a caption bar of DefaultCaptionHeight on top
    int DefaultCaptionHeight = 20;
    int Columns = 0;
    bool HBar = false;   // a visible horizontal bar exists
    int HBarHeight = 0;  // its own height (skinned look)
    bool VBar = false;   // the vertical bar (horizontal kind with columns) exists
    int VBarWidth = 0;   // its own width (skinned look, no columns)
    int VBarHeight = 0;  // its own height (skinned look, with columns)
};

struct TbsListLayout {
    TRect ListRect;  // the inner list window
    TRect VBar;      // the vertical bar's bounds (empty without one)
    TRect HBar;      // the horizontal bar's bounds (empty without one)
};

TbsListLayout CalcListLayout(const TbsListLayoutInput& In);

// The frame height that shows Rows rows of ItemHeight. Built-in: the frame's two-pixel insets (and the caption bar);
// skinned: the picture's height less its client part.
int ListFrameHeight(int Rows, int ItemHeight, bool HasEntry, int SkinHeight, int ClientHeight, bool CaptionMode,
                    int DefaultCaptionHeight, int HBarHeight);

// The last item index painted from Top for a window of Height (-1 when there is nothing to paint).
int LastVisibleItem(int Top, int Height, int ItemHeight, int Count, int Columns);

// A tab width entry: its value when it consists only of digits, else 0 (also when empty).
int TabStopOf(const std::wstring& Entry);
