#include "skin/boxes/EditMenu.h"

#include <windowsx.h>

#include "classlib/Forms.h"
#include "skin/core/ResourceStrings.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"

void FillEditMenu(TbsSkinPopupMenu* Menu, TbsResourceStrData* Strings, const TbsEditMenuState& State,
                  const TbsEditMenuActions& Actions) {
    struct TItem {
        const wchar_t* key;
        const wchar_t* caption;
        bool enabled;
        const std::function<void()>* run;
    };
    const TItem items[] = {
        {L"EDIT_UNDO", L"Undo", State.CanUndo, &Actions.Undo},
        {nullptr, L"-", true, nullptr},
        {L"EDIT_CUT", L"Cut", State.Selected && !State.ReadOnly, &Actions.Cut},
        {L"EDIT_COPY", L"Copy", State.Selected, &Actions.Copy},
        {L"EDIT_PASTE", L"Paste", State.CanPaste && !State.ReadOnly, &Actions.Paste},
        {L"EDIT_DELETE", L"Delete", State.Selected && !State.ReadOnly, &Actions.Delete},
        {nullptr, L"-", true, nullptr},
        {L"EDIT_SELECTALL", L"Select All", !State.FullSelected, &Actions.SelectAll},
    };
    for (const TItem& it : items) {
        auto* mi = new TMenuItem(Menu);
        mi->SetCaption(it.key && Strings ? Strings->GetResStr(it.key) : it.caption);
        mi->SetEnabled(it.enabled);
        if (it.run && *it.run) {
            auto run = *it.run;
            mi->OnClick = [run](TObject*) { run(); };
        }
        Menu->Items()->Add(mi);
    }
}

TPoint EditMenuPoint(TControl* Control, int X, int Y) {
    if (X >= 0 && Y >= 0)
        return {X, Y};
    const TPoint o = Control->ClientOrigin();
    return {o.X + Control->Width() / 2, o.Y + Control->Height() / 2};
}

void ShowEditMenu(TWinControl* Owner, TbsSkinPopupMenu*& Menu, TbsResourceStrData* Strings,
                  const TbsEditMenuState& State, const TbsEditMenuActions& Actions, int X, int Y) {
    delete Menu;
    Menu = nullptr;
    auto* menu = new TbsSkinPopupMenu(Owner);
    Menu = menu;
    TCustomForm* form = GetParentForm(Owner);
    if (form && form->FormStyle() == fsMDIChild)
        form = Application->MainForm();
    menu->SetComponentForm(form);
    FillEditMenu(menu, Strings, State, Actions);
    const TPoint at = EditMenuPoint(Owner, X, Y);
    menu->Popup2(Owner, at.X, at.Y);
}

bool EditMenuMessage(TControl* Field, TbsSkinPopupMenu*& Menu, TMessage& Message,
                     const std::function<void(int X, int Y)>& Show) {
    if (Message.Msg == WM_CONTEXTMENU && !Field->PopupMenu()) {
        Show(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        return true;
    }
    if (Message.Msg == WM_AFTERDISPATCH) {
        delete Menu;
        Menu = nullptr;
        return true;
    }
    return false;
}
