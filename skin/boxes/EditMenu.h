// The context menu every skinned text field shows: Undo, -, Cut, Copy, Paste, Delete, -, Select All, captions from
// the skin's string table ("EDIT_UNDO" ...) or the fixed English ones without one.
#pragma once

#include <functional>

#include "classlib/Controls.h"

class TbsSkinPopupMenu;
class TbsResourceStrData;

struct TbsEditMenuState {
    bool CanUndo = false;
    bool Selected = false;
    bool ReadOnly = false;
    bool CanPaste = false;
    bool FullSelected = false;
};

struct TbsEditMenuActions {
    std::function<void()> Undo, Cut, Copy, Paste, Delete, SelectAll;
};

// Adds the eight items to Menu (Strings may be nullptr).
void FillEditMenu(TbsSkinPopupMenu* Menu, TbsResourceStrData* Strings, const TbsEditMenuState& State,
                  const TbsEditMenuActions& Actions);

// Where the menu opens: the message's point, or the control's centre for the keyboard (a negative coordinate).
TPoint EditMenuPoint(TControl* Control, int X, int Y);

// Frees Menu, makes it again (owned by Owner, shown for Owner's form or an MDI child's main form), fills it and pops
// it up at EditMenuPoint. Menu points at the new one before it opens: the field frees it at message 1229, which may
// come while it is open.
void ShowEditMenu(TWinControl* Owner, TbsSkinPopupMenu*& Menu, TbsResourceStrData* Strings,
                  const TbsEditMenuState& State, const TbsEditMenuActions& Actions, int X, int Y);

// The menu's messages for a field whose menu is Menu: a context menu request without a PopupMenu of the control's own
// runs Show at the message's point, message 1229 frees the menu. True when the message was one of them and is done.
bool EditMenuMessage(TControl* Field, TbsSkinPopupMenu*& Menu, TMessage& Message,
                     const std::function<void(int X, int Y)>& Show);
