// The shell's context menu of one node, shown at a point of a view or run for one verb without showing it. A view
// that implements IShellCommandVerb takes part: it may handle a verb itself and hears how each one ended.
// Index: IShellCommandVerb, ActiveContextMenu2, PassContextMenuMessage, ShowShellContextMenu, RunContextMenuVerb.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

class TWinControl;
class TbsShellFolder;

class IShellCommandVerb {
  public:
    virtual ~IShellCommandVerb() = default;
    // Before the shell runs Verb; Handled = true stops it.
    virtual void ExecuteCommand(const std::wstring& Verb, bool& Handled) = 0;
    virtual void CommandCompleted(const std::wstring& Verb, bool Succeeded) = 0;
};

// The menu being tracked (only while one is open): views hand it the menu-drawing messages.
extern IContextMenu2* ActiveContextMenu2;

// The menu-drawing messages (WM_DRAWITEM, WM_MEASUREITEM, WM_INITMENUPOPUP, WM_MENUCHAR) go to the open menu; true
// when Msg is one of them, whether a menu is open or not.
bool PassContextMenuMessage(UINT Msg, WPARAM WParam, LPARAM LParam);

// X, Y in Control's client coordinates. Nothing without a node or a context menu.
void ShowShellContextMenu(TWinControl* Control, TbsShellFolder* Node, int X, int Y);
void RunContextMenuVerb(TbsShellFolder* Node, const std::string& Verb);
