// The skinned form's side of the skinned menus: the menu state and the application hook that hands keys to an open
// menu, closing menus on foreign input, the system menu (its items for the form's state, Alt+Space, the caption's
// system-menu button and a right click on the caption).
#include <windowsx.h>

#include <algorithm>

#include "classlib/Menus.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinFormObjects.h"
#include "skin/form/SkinMenu.h"

void TbsSkinForm::CreateMenuParts() {
    FSkinMenu = std::make_unique<TbsSkinMenu>(nullptr, FForm);
    // Both programs' forms keep these menu settings.
    FSkinMenu->FDefaultMenuItemFont->SetName(L"Arial");
    FSkinMenu->FDefaultMenuItemFont->SetHeight(14);
    FSkinMenu->AlphaBlendValue = 200;
    FSysMenu = std::make_unique<TPopupMenu>(nullptr);
}

void TbsSkinForm::DestroyMenuParts() {
    UnHookApp();
    FSkinMenu.reset();
    FSysMenu.reset();
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData* Value) {
    if (FMSD)
        FMSD->RemoveFreeNotification(this);
    FMSD = Value;
    if (FMSD)
        FMSD->FreeNotification(this);
}

void TbsSkinForm::HookApp() {
    if (FAppHook)
        return;
    FAppHook = Application->AddOnMessage([this](MSG& Msg, bool& Handled) {
        if (Msg.message == WM_KEYDOWN) {
            FormKeyDown(Msg.wParam);
            Msg.message = 0;
            Handled = true;
        } else if (Msg.message == WM_MOUSEWHEEL) {
            Msg.message = 0;
            Handled = true;
        }
    });
}

void TbsSkinForm::UnHookApp() {
    if (!FAppHook)
        return;
    Application->RemoveOnMessage(FAppHook);
    FAppHook = 0;
}

void TbsSkinForm::SkinMenuOpen() {
    HookApp();
    if (!FInMenu) {
        FInMenu = true;
        if (OnSkinMenuOpen)
            OnSkinMenuOpen(this);
    }
}

void TbsSkinForm::SkinMenuClose() {
    FInMenu = false;
    // The caption button whose menu this was lets go; an animated one plays its frames back.
    for (const auto& o : ObjectList) {
        if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o.get())) {
            if (c->PopupMenuQuickButton != -1) {
                c->QuickMenuClosed();
                break;
            }
            continue;
        }
        if (auto* b = dynamic_cast<TbsSkinButtonObject*>(o.get())) {
            if (b->MenuItem && b->Down()) {
                b->SetDown(false);
                break;
            }
        } else if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o.get())) {
            if (a->MenuItem && a->FMenuTracking) {
                a->Active = true;
                a->FFrame = std::max(a->CountFrames, 1);
                a->FDown = false;
                a->FMenuTracking = false;
                a->Increment = false;
                AnimateTimer->SetEnabled(true);
                break;
            }
        }
    }
    // The bar's menu mode keeps the keys until it ends.
    if (!FInMainMenu)
        UnHookApp();
    if (OnSkinMenuClose)
        OnSkinMenuClose(this);
}

void TbsSkinForm::SetMainMenuBar(IbsMainMenuBar* Value) {
    if (!Value && FInMainMenu) {
        FInMainMenu = false;
        UnHookApp();
    }
    FMainMenuBar = Value;
    if (Value)
        ChainShortCuts();
}

bool TbsSkinForm::MainMenuBarShortCut(const TWMKey& Key) {
    // In menu mode the keys come through the application hook; Alt+F4 stays the system's.
    if (!FMainMenuBar || FInMainMenu || Key.CharCode == VK_F4 || Key.CharCode == VK_MENU)
        return false;
    if (!KeyDataToShiftState(Key.KeyData).Contains(ssAlt))
        return false;
    return FMainMenuBar->FindHotKeyItem(Key.CharCode);
}

void TbsSkinForm::EnterMainMenu() {
    FInMainMenu = true;
    HookApp();
}

void TbsSkinForm::SkinMainMenuClose() {
    FInMainMenu = false;
    if (FSkinMenu->Visible())
        FSkinMenu->Hide();
    if (FMainMenuBar)
        FMainMenuBar->MenuExit();
    UnHookApp();
}

// Menu-mode keys of the main menu bar; true when the key was taken.
bool TbsSkinForm::MainMenuKey(WPARAM Key) {
    if (!FInMainMenu || !FMainMenuBar)
        return false;
    TbsSkinMenu* menu = FSkinMenu.get();
    const bool open = menu->Visible() && menu->LevelCount() > 0;
    switch (Key) {
        case VK_ESCAPE:
            if (open)
                return false;
            SkinMainMenuClose();
            return true;
        case VK_LEFT:
            if (menu->LevelCount() > 1)
                return false;
            FMainMenuBar->PriorMainMenuItem();
            return true;
        case VK_RIGHT: {
            // Right opens a sub-menu of the deepest level when its selected item has one.
            if (open) {
                TbsSkinPopupWindow* l = menu->LastLevel();
                if (l->ActiveItem >= 0 && l->ActiveItem < static_cast<int>(l->ItemList.size()) &&
                    l->ItemList[static_cast<std::size_t>(l->ActiveItem)]->MenuItem->Count() > 0)
                    return false;
            }
            FMainMenuBar->NextMainMenuItem();
            return true;
        }
        case VK_RETURN:
        case VK_DOWN:
            return !open && FMainMenuBar->CheckReturnKey();
        default:
            return !open && FMainMenuBar->FindHotKeyItem(static_cast<WORD>(Key));
    }
}

void TbsSkinForm::FormKeyDown(WPARAM Key) {
    if (MainMenuKey(Key))
        return;
    TbsSkinMenu* menu = FSkinMenu.get();
    if (menu->Visible() && menu->LevelCount() > 0)
        menu->LastLevel()->PopupKeyDown(static_cast<int>(Key));
    if (Key == VK_ESCAPE && menu->LevelCount() == 0 && FInMenu)
        SkinMenuClose();
}

bool TbsSkinForm::MenuMessage(TMessage& m) {
    if (!FSkinMenu)
        return false;
    if (CanMenuClose(m.Msg)) {
        if (FSkinMenu->Visible())
            FSkinMenu->Hide();
        else if (FInMenu)
            SkinMenuClose();
        if (FInMainMenu)
            SkinMainMenuClose();
    }
    switch (m.Msg) {
        case WM_CLOSESKINMENU:
            SkinMenuClose();
            m.Result = 0;
            return true;
        case WM_SYSCOMMAND:
            // The system never opens its own keyboard menu: Alt+Space opens the skinned one.
            if ((m.WParam & 0xFFF0) == SC_KEYMENU) {
                if (FSkinMenu->Visible())
                    FSkinMenu->Hide();
                if (m.LParam != VK_SPACE && RibbonKeyMenu()) {
                    m.Result = 0;
                    return true;
                }
                if (m.LParam == VK_SPACE) {
                    PopupSystemMenu();
                } else if (FMainMenuBar && !FInMainMenu) {
                    // Alt (or F10): the bar's menu mode, keys through the application hook.
                    FInMainMenu = true;
                    HookApp();
                    FMainMenuBar->MenuEnter();
                } else if (FInMainMenu) {
                    SkinMainMenuClose();
                }
                m.Result = 0;
                return true;
            }
            return false;
        case WM_NCRBUTTONDOWN:
            if (m.WParam == HTCAPTION) {
                TrackSystemMenu(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
                m.Result = 0;
                return true;
            }
            return false;
        case WM_CONTEXTMENU:
            // The system's menu for the caption would follow the right click: ours is already open.
            if (FInMenu) {
                m.Result = 0;
                return true;
            }
            return false;
        default:
            return false;
    }
}

void TbsSkinForm::CreateSysMenu() {
    TMenuItem* root = FSysMenu->Items();
    root->Clear();
    const bool minimized = FormMinimized();
    const bool maximized = FormMaximized();
    TbsResourceStrData* strings = FSD ? FSD->ResourceStrData() : nullptr;
    auto add = [&](const wchar_t* name, const wchar_t* res, const wchar_t* text, TNotifyEvent click) {
        auto* item = new TMenuItem(FSysMenu.get());
        item->SetName(name);
        std::wstring caption = strings ? strings->GetResStr(res) : std::wstring();
        item->SetCaption(caption.empty() ? text : caption);
        item->OnClick = std::move(click);
        root->Add(item);
        return item;
    };
    if (FBorderIcons.Contains(TbsBorderIcon::biMinimize) && !minimized)
        add(L"SKF_MINITEM", L"MI_MINCAPTION", L"Mi&nimize", [this](TObject*) {
            if (AlwaysMinimizeToTray)
                MinimizeToTray();
            else
                SetWindowState(wsMinimized);
        });
    if (FBorderIcons.Contains(TbsBorderIcon::biMaximize) && !maximized)
        add(L"SKF_MAXITEM", L"MI_MAXCAPTION", L"Ma&ximize", [this](TObject*) { SetWindowState(wsMaximized); });
    if (minimized || maximized || FRollUpState)
        add(L"SKF_RESTORE", L"MI_RESTORECAPTION", L"&Restore", [this](TObject*) {
            // A roll-up made in the present state is undone first.
            if (FRollUpState && (MaxRollUpState || FWindowState == wsNormal))
                SetRollUpState(false);
            else
                SetWindowState(wsNormal);
        });
    if (FBorderIcons.Contains(TbsBorderIcon::biRollUp) && !FRollUpState && !minimized &&
        !(maximized && FForm->FormStyle() == fsMDIChild))
        add(L"SKF_ROLLUP", L"MI_ROLLUPCAPTION", L"Ro&llUp", [this](TObject*) { SetRollUpState(true); });
    if (FBorderIcons.Contains(TbsBorderIcon::biMinimizeToTray))
        add(L"SKF_MINTOTRAY", L"MI_MINTOTRAYCAPTION", L"Minimize to &Tray", [this](TObject*) { MinimizeToTray(); });
    if (root->Count() > 0)
        add(L"", L"", L"-", nullptr);
    TMenuItem* close = add(L"SKF_CLOSE", L"MI_CLOSECAPTION", L"&Close", [this](TObject*) { FForm->Close(); });
    close->SetShortCut(TextToShortCut(FForm->FormStyle() == fsMDIChild ? L"Ctrl+F4" : L"Alt+F4"));
}

TMenuItem* TbsSkinForm::GetSystemMenu() {
    CreateSysMenu();
    return FSysMenu->Items();
}

void TbsSkinForm::TrackSystemMenu2(const TRect& R) {
    // The open levels show the items about to be rebuilt: close them first.
    if (FSkinMenu->Visible())
        FSkinMenu->Hide();
    TMenuItem* items = GetSystemMenu();
    SkinMenuOpen();
    FSkinMenu->Popup(nullptr, FMSD ? FMSD : FSD, 0, R, items, false);
    if (!FSkinMenu->Visible())
        SkinMenuClose();
}

void TbsSkinForm::TrackSystemMenu(int X, int Y) {
    TrackSystemMenu2({X, Y, X, Y});
}

void TbsSkinForm::PopupSystemMenu() {
    if (!FForm->HandleAllocated())
        return;
    int W = 0, H = 0;
    WindowSize(W, H);
    CalcLayout(W, H);
    RECT wr{};
    GetWindowRect(FForm->Handle(), &wr);
    for (const TbsFrameObject& o : objects_) {
        if (o.Command != cmSysMenu || !o.Visible)
            continue;
        const TRect r = o.ObjectRect;
        TrackSystemMenu2({wr.left + r.Left, wr.top + r.Top, wr.left + r.Right, wr.top + r.Bottom});
        return;
    }
}
