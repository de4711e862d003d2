#include "skin/shell/ShellContextMenu.h"

#include <shellapi.h>

#include "base/ComPtr.h"
#include "classlib/Controls.h"
#include "skin/shell/ShellFolder.h"

IContextMenu2* ActiveContextMenu2 = nullptr;

namespace {

TComPtr<IContextMenu> NodeContextMenu(TbsShellFolder* node, HWND owner) {
    TComPtr<IContextMenu> menu;
    IShellFolder* parent = node ? node->ParentShellFolder() : nullptr;
    if (!parent)
        return menu;
    LPCITEMIDLIST items[1] = {node->RelativeID()};
    if (FAILED(parent->GetUIObjectOf(owner, 1, items, IID_IContextMenu, nullptr, reinterpret_cast<void**>(menu.Put()))))
        menu.Reset();
    return menu;
}

struct TMenuHandle {
    HMENU h = ::CreatePopupMenu();
    ~TMenuHandle() {
        if (h)
            ::DestroyMenu(h);
    }
};

}  // namespace

bool PassContextMenuMessage(UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg != WM_DRAWITEM && Msg != WM_MEASUREITEM && Msg != WM_INITMENUPOPUP && Msg != WM_MENUCHAR)
        return false;
    if (ActiveContextMenu2)
        ActiveContextMenu2->HandleMenuMsg(Msg, WParam, LParam);
    return true;
}

void ShowShellContextMenu(TWinControl* Control, TbsShellFolder* Node, int X, int Y) {
    if (!Node || !Control)
        return;
    HWND window = Control->Handle();
    TComPtr<IContextMenu> menu = NodeContextMenu(Node, window);
    if (!menu)
        return;
    POINT pt{X, Y};
    ::ClientToScreen(window, &pt);
    TMenuHandle popup;
    if (!popup.h)
        return;
    menu->QueryContextMenu(popup.h, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME);
    TComPtr<IContextMenu2> menu2;
    if (FAILED(menu->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(menu2.Put()))))
        menu2.Reset();
    ActiveContextMenu2 = menu2.Get();
    UINT command = 0;
    try {
        command = static_cast<UINT>(
            ::TrackPopupMenu(popup.h, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, window, nullptr));
    } catch (...) {
        ActiveContextMenu2 = nullptr;
        throw;
    }
    ActiveContextMenu2 = nullptr;
    if (command == 0)
        return;
    char verbBuf[256] = {};
    menu->GetCommandString(command - 1, GCS_VERBA, nullptr, verbBuf, sizeof verbBuf);
    verbBuf[sizeof verbBuf - 1] = '\0';
    std::wstring verb = AnsiToWide(verbBuf);
    auto* taker = dynamic_cast<IShellCommandVerb*>(Control);
    bool handled = false;
    if (taker)
        taker->ExecuteCommand(verb, handled);
    bool succeeded = handled;
    if (!handled) {
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof info;  // the structure's own size: the 64-bit call refuses the 32-bit one
        info.hwnd = window;
        info.lpVerb = MAKEINTRESOURCEA(command - 1);
        info.nShow = SW_SHOWNORMAL;
        succeeded = menu->InvokeCommand(&info) == S_OK;
    }
    if (taker)
        taker->CommandCompleted(verb, succeeded);
}

void RunContextMenuVerb(TbsShellFolder* Node, const std::string& Verb) {
    TComPtr<IContextMenu> menu = NodeContextMenu(Node, nullptr);
    if (!menu)
        return;
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.fMask = CMIC_MASK_ASYNCOK;
    info.lpVerb = Verb.c_str();
    info.nShow = SW_SHOWNORMAL;
    menu->InvokeCommand(&info);
}
