// The skinned menu controller and the input side of a level: mouse poll, keys, scrolling, choosing and closing.
#include "skin/form/SkinMenu.h"

#include <algorithm>

#include "skin/core/SkinUtils.h"

bool CanMenuClose(UINT Msg) {
    switch (Msg) {
        case WM_MOVE:
        case WM_SIZE:
        case WM_ACTIVATE:
        case WM_KILLFOCUS:
        case WM_CANCELMODE:
        case WM_MOUSEACTIVATE:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_PARENTNOTIFY:
            return true;
        default:
            return false;
    }
}

// ---- TbsSkinMenu ----------------------------------------------------------------------------------------------------
TbsSkinMenu::TbsSkinMenu(TComponent* AOwner, TComponent* AForm) : TComponent(AOwner), FForm(AForm) {
    FDefaultMenuItemFont = std::make_unique<TFont>();
    FDefaultMenuItemFont->SetName(L"Tahoma");
    FDefaultMenuItemFont->SetHeight(13);
    WaitTimer = std::make_unique<TTimer>(nullptr);
    WaitTimer->SetEnabled(false);
    WaitTimer->SetInterval(500);
    WaitTimer->OnTimer = [this](TObject*) { WaitItem(); };
    releaseTimer_ = std::make_unique<TTimer>(nullptr);
    releaseTimer_->SetEnabled(false);
    releaseTimer_->SetInterval(1);
    releaseTimer_->OnTimer = [this](TObject*) { PurgeReleased(); };
}

TbsSkinMenu::~TbsSkinMenu() {
    PopupCtrl = nullptr;  // nobody to tell any more
    FOnMenuClose = nullptr;
    CloseMenu(0);
    life_->Alive = false;
    // A level whose handler freed us is freed when that handler returns.
    for (auto& pw : released_)
        life_->Orphans.push_back(std::move(pw));
    released_.clear();
    if (life_->Depth == 0)
        life_->Orphans.clear();
}

TbsSkinMenu::THandlerScope::~THandlerScope() {
    if (--life_->Depth > 0)
        return;
    if (life_->Alive)
        menu_->PurgeReleased();
    else
        life_->Orphans.clear();
}

void TbsSkinMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == PopupCtrl)
        PopupCtrl = nullptr;
    if (AComponent == DCtrl)
        DCtrl = nullptr;
    if (AComponent == SkinData)
        SkinData = nullptr;
}

void TbsSkinMenu::SetDefaultMenuItemFont(TFont* Value) {
    FDefaultMenuItemFont->Assign(Value);
}

TRect TbsSkinMenu::GetWorkArea(TPoint P) const {
    return GetMonitorWorkAreaFromPoint(P, true);
}

int TbsSkinMenu::GetPWIndex(const TbsSkinPopupWindow* PW) const {
    for (size_t i = 0; i < FPopupList.size(); ++i)
        if (FPopupList[i].get() == PW)
            return static_cast<int>(i);
    return static_cast<int>(FPopupList.size());
}

void TbsSkinMenu::Popup(TControl* APopupCtrl,
                        TbsSkinData* ASkinData,
                        int StartIndex,
                        const TRect& R,
                        TMenuItem* AItem,
                        bool PopupUp) {
    FFirst = !FVisible;
    // The new control is told of the close of a menu it replaces (and forgotten), as the close notifies it.
    PopupCtrl = APopupCtrl;
    if (PopupCtrl)
        PopupCtrl->FreeNotification(this);
    if (!FPopupList.empty())
        CloseMenu(0);
    WorkArea = GetWorkArea({R.Left, R.Top});
    SkinData = ASkinData;
    if (SkinData)
        SkinData->FreeNotification(this);
    if (AItem && AItem->Count() > 0 && StartIndex < AItem->Count()) {
        FVisible = true;
        PopupSub(R, AItem, StartIndex, false, PopupUp);
        FFirst = false;
    }
}

void TbsSkinMenu::Popup2(TControl* APopupCtrl,
                         TbsSkinData* ASkinData,
                         int StartIndex,
                         const TRect& R,
                         TMenuItem* AItem,
                         TMenuItem* AItem2,
                         bool PopupUp) {
    FFirst = !FVisible;
    PopupCtrl = APopupCtrl;
    if (PopupCtrl)
        PopupCtrl->FreeNotification(this);
    if (!FPopupList.empty())
        CloseMenu(0);
    WorkArea = GetWorkArea({R.Left, R.Top});
    SkinData = ASkinData;
    if (SkinData)
        SkinData->FreeNotification(this);
    const int count2 = AItem2 ? AItem2->Count() : 0;
    if (AItem && AItem->Count() > 0 && StartIndex < AItem->Count() + count2) {
        FVisible = true;
        PopupSub2(R, AItem, AItem2, StartIndex, false, PopupUp);
        FFirst = false;
    }
}

static TbsDataSkinPopupWindow* UsablePopupRecord(TbsSkinData* SD) {
    return SD && !SD->Empty ? &SD->PopupWindow : nullptr;
}

void TbsSkinMenu::PopupSub(const TRect& R, TMenuItem* AItem, int StartIndex, bool PopupByItem, bool PopupUp) {
    FPopupList.push_back(std::make_unique<TbsSkinPopupWindow>(nullptr, this, UsablePopupRecord(SkinData)));
    FPopupList.back()->Show(R, AItem, StartIndex, PopupByItem, PopupUp);
}

void TbsSkinMenu::PopupSub2(const TRect& R,
                            TMenuItem* AItem,
                            TMenuItem* AItem2,
                            int StartIndex,
                            bool PopupByItem,
                            bool PopupUp) {
    FPopupList.push_back(std::make_unique<TbsSkinPopupWindow>(nullptr, this, UsablePopupRecord(SkinData)));
    FPopupList.back()->Show2(R, AItem, AItem2, StartIndex, PopupByItem, PopupUp);
}

void TbsSkinMenu::Notify(TControl* Ctrl, UINT Msg) {
    if (!Ctrl)
        return;
    if (auto* w = dynamic_cast<TWinControl*>(Ctrl); w && w->HandleAllocated())
        SendMessageW(w->Handle(), Msg, 0, 0);
    else
        Ctrl->Perform(Msg, 0, 0);
}

void TbsSkinMenu::CloseMenu(int N) {
    N = std::max(N, 0);
    while (static_cast<int>(FPopupList.size()) > N) {
        std::unique_ptr<TbsSkinPopupWindow> pw = std::move(FPopupList.back());
        FPopupList.pop_back();
        if (WItem && WItem->Parent == pw.get()) {
            WaitTimer->SetEnabled(false);
            WItem = nullptr;
        }
        // Hidden now, freed once no level handler runs (the level may be the one whose handler closes it).
        pw->Hide();
        released_.push_back(std::move(pw));
    }
    if (!released_.empty()) {
        if (life_->Depth == 0)
            PurgeReleased();
        else
            releaseTimer_->SetEnabled(true);
    }
    if (N == 0) {
        FVisible = false;
        WaitTimer->SetEnabled(false);
        DCtrl = PopupCtrl;
        if (TControl* ctrl = PopupCtrl) {
            PopupCtrl = nullptr;
            Notify(ctrl, WM_CLOSESKINMENU);
        }
        if (FOnMenuClose) {
            TNotifyEvent ev = std::move(FOnMenuClose);
            FOnMenuClose = nullptr;
            ev(this);
        }
    }
}

void TbsSkinMenu::PurgeReleased() {
    if (life_->Depth > 0) {
        releaseTimer_->SetEnabled(true);
        return;
    }
    releaseTimer_->SetEnabled(false);
    std::vector<std::unique_ptr<TbsSkinPopupWindow>> gone;
    gone.swap(released_);
    gone.clear();
}

void TbsSkinMenu::Hide() {
    CloseMenu(0);
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
    // A form without a window yet (a hidden main window) still leaves its menu state.
    Notify(dynamic_cast<TControl*>(FForm), WM_CLOSESKINMENU);
}

void TbsSkinMenu::UpDatePW(TbsSkinPopupWindow* PW) {
    CloseMenu(GetPWIndex(PW) + 1);
    for (auto& item : PW->ItemList)
        if (item->Down) {
            item->Down = false;
            if (item->EnableAnimation())
                item->CurrentFrame = 0;
            item->Redraw();
        }
}

void TbsSkinMenu::WaitItem() {
    WaitTimer->SetEnabled(false);
    TbsSkinMenuItem* item = WItem;
    if (!item)
        return;
    CheckItem(item->Parent, item, true, false);
}

void TbsSkinMenu::CheckItem(TbsSkinPopupWindow* PW, TbsSkinMenuItem* Item, bool Click, bool Kb) {
    const int index = GetPWIndex(PW);
    const bool hasChildren = Item->MenuItem->Count() > 0;
    if (!hasChildren) {
        WaitTimer->SetEnabled(false);
        WItem = nullptr;
        if (!Click) {
            CloseMenu(index + 1);
            return;
        }
        TMenuItem* mi = Item->MenuItem;  // the level goes away with Hide: keep only the menu item
        Hide();
        const std::shared_ptr<TLife> life = life_;  // the command may free the form and so this controller
        if (TMenu* menu = mi->GetParentMenu())
            menu->DispatchCommand(mi->Command());
        else
            mi->Click();
        if (!life->Alive)
            return;
        if (TControl* ctrl = DCtrl) {
            DCtrl = nullptr;
            Notify(ctrl, WM_AFTERDISPATCH);
        }
        return;
    }
    if (!Click && !Kb) {
        CloseMenu(index + 1);
        WItem = Item;
        WaitTimer->SetEnabled(false);
        WaitTimer->SetEnabled(true);
        return;
    }
    if (!Click)
        return;
    if (TMenu* menu = Item->MenuItem->GetParentMenu())
        menu->DispatchCommand(Item->MenuItem->Command());
    else if (Item->MenuItem->OnClick)
        Item->MenuItem->OnClick(Item->MenuItem);
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
    // The OnClick may have closed the menu.
    if (GetPWIndex(PW) >= LevelCount())
        return;
    CloseMenu(index + 1);
    Item->Down = true;
    Item->Redraw();
    RECT wr{};
    GetWindowRect(PW->Handle(), &wr);
    const TRect r{wr.left + Item->ObjectRect.Left, wr.top + Item->ObjectRect.Top, wr.left + Item->ObjectRect.Right,
                  wr.top + Item->ObjectRect.Bottom};
    PopupSub(r, Item->MenuItem, 0, true, false);
}

// ---- TbsSkinPopupWindow: input --------------------------------------------------------------------------------------
bool TbsSkinPopupWindow::ForeignPress() {
    // Down now, or pressed and released since the last poll (a quick click between two ticks).
    bool down = false, clicked = false;
    for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) {
        const SHORT state = GetAsyncKeyState(vk);
        down = down || (state & 0x8000);
        clicked = clicked || (state & 1);
    }
    const bool pressed = (down && !buttonsDown_) || (clicked && !down);
    buttonsDown_ = down;
    if (!pressed || ParentMenu->GetPWIndex(this) != 0)
        return false;
    POINT p{};
    GetCursorPos(&p);
    const HWND under = WindowFromPoint(p);
    for (int i = 0; i < ParentMenu->LevelCount(); ++i)
        if (ParentMenu->Level(i)->Handle() == under)
            return false;
    // Our own form hears of its presses itself and closes the menu through its window procedure.
    DWORD pid = 0;
    GetWindowThreadProcessId(under, &pid);
    return pid != GetCurrentProcessId();
}

void TbsSkinPopupWindow::TestMouse() {
    // A press outside the program (the desktop, another program) reaches none of our windows: the root level
    // watches for it, or a menu opened from the tray with the main window hidden could never be dismissed.
    if (ForeignPress()) {
        ParentMenu->Hide();
        return;
    }
    POINT p{};
    GetCursorPos(&p);
    if (p.x == OMX && p.y == OMY)
        return;
    if (WindowFromPoint(p) == Handle()) {
        POINT c = p;
        ::ScreenToClient(Handle(), &c);
        TestActive(c.x, c.y);
    } else if (Scroll) {
        ScrollCode = 0;
        DrawMarkersNow();
    }
    OMX = p.x;
    OMY = p.y;
}

int TbsSkinPopupWindow::GetActive(int X, int Y) const {
    for (size_t i = 0; i < ItemList.size(); ++i) {
        const auto& item = ItemList[i];
        if (item->FVisible && item->ObjectRect.Contains({X, Y}))
            return static_cast<int>(i);
    }
    return -1;
}

void TbsSkinPopupWindow::TestActive(int X, int Y) {
    if (Scroll) {
        const TRect top{NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + 10};
        const TRect bottom{NewItemsRect.Left, NewItemsRect.Bottom - 10, NewItemsRect.Right, NewItemsRect.Bottom};
        if (top.Contains({X, Y}) && ScrollCode == 0 && CanScroll(1)) {
            ScrollCode = 1;
            DrawNow([this](TCanvas* C) { DrawUpMarker(C); });
            StartScroll();
        } else if (bottom.Contains({X, Y}) && ScrollCode == 0 && CanScroll(2)) {
            ScrollCode = 2;
            DrawNow([this](TCanvas* C) { DrawDownMarker(C); });
            StartScroll();
        } else if (ScrollCode != 0 && !top.Contains({X, Y}) && !bottom.Contains({X, Y})) {
            StopScroll();
        }
    }
    if (ItemList.empty())
        return;
    OldActiveItem = ActiveItem;
    const int hit = GetActive(X, Y);
    if (hit != -1)
        ActiveItem = hit;
    if (ActiveItem >= static_cast<int>(ItemList.size()))
        ActiveItem = -1;
    if (ActiveItem == OldActiveItem) {
        if (ActiveItem != -1) {
            TbsSkinMenuItem* item = ItemList[static_cast<size_t>(ActiveItem)].get();
            if (item->WaitCommand) {
                item->WaitCommand = false;
                if (item->MenuItem->Count() > 0)
                    item->MouseEnter(false);
            }
        }
        return;
    }
    if (OldActiveItem != -1) {
        TbsSkinMenuItem* old = ItemList[static_cast<size_t>(OldActiveItem)].get();
        if (old->Selectable())
            old->MouseLeave();
    }
    if (ActiveItem != -1) {
        TbsSkinMenuItem* item = ItemList[static_cast<size_t>(ActiveItem)].get();
        if (item->Selectable())
            item->MouseEnter(false);
    }
}

void TbsSkinPopupWindow::MouseUp(int X, int Y) {
    TestActive(X, Y);
    if (ActiveItem == -1 || GetActive(X, Y) == -1)
        return;
    TbsSkinMenuItem* item = ItemList[static_cast<size_t>(ActiveItem)].get();
    if (!item->IsSeparator())
        item->MouseDown(X, Y);
}

bool TbsSkinPopupWindow::CanScroll(int Code) const {
    if (Code == 1)
        return VisibleStartIndex > 0;
    return VisibleStartIndex + VisibleCount - 1 < static_cast<int>(ItemList.size()) - 1;
}

void TbsSkinPopupWindow::StartScroll() {
    ParentMenu->CloseMenu(ParentMenu->GetPWIndex(this) + 1);
    KillTimer(Handle(), 1);
    SetTimer(Handle(), 1, 100, nullptr);
}

void TbsSkinPopupWindow::StopScroll() {
    ScrollCode = 0;
    if (HandleAllocated()) {
        DrawMarkersNow();
        KillTimer(Handle(), 1);
    }
}

void TbsSkinPopupWindow::ScrollUp(bool Cycle) {
    if (VisibleStartIndex > 0)
        --VisibleStartIndex;
    else if (Cycle)
        VisibleStartIndex = GetEndStartVisibleIndex();
    CalcItemRects();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TbsSkinPopupWindow::ScrollDown(bool Cycle) {
    if (CanScroll(2))
        ++VisibleStartIndex;
    else if (Cycle)
        VisibleStartIndex = 0;
    CalcItemRects();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TbsSkinPopupWindow::SetActive(int Index, bool Kb) {
    const int old = ActiveItem;
    if (Index == old)
        return;
    ActiveItem = Index;
    OldActiveItem = old;
    if (Index != -1)
        ItemList[static_cast<size_t>(Index)]->MouseEnter(Kb);
    if (old != -1 && old < static_cast<int>(ItemList.size()))
        ItemList[static_cast<size_t>(old)]->MouseLeave();
}

void TbsSkinPopupWindow::NextItem() {
    const int count = static_cast<int>(ItemList.size());
    if (count == 0)
        return;
    auto lastVisible = [this] { return VisibleStartIndex + VisibleCount - 1; };
    if (Scroll && ScrollCode == 0 && ActiveItem != -1 && ActiveItem == lastVisible())
        ScrollDown(true);
    int start = (ActiveItem == -1 || ActiveItem == count - 1) ? 0 : ActiveItem + 1;
    for (int i = start; i < count; ++i) {
        TbsSkinMenuItem* item = ItemList[static_cast<size_t>(i)].get();
        if (item->Selectable()) {
            if (Scroll && (i < VisibleStartIndex || i > lastVisible())) {
                VisibleStartIndex = std::min(std::max(0, i - VisibleCount + 1), GetEndStartVisibleIndex());
                if (i < VisibleStartIndex)
                    VisibleStartIndex = i;
                CalcItemRects();
                InvalidateRect(Handle(), nullptr, TRUE);
            }
            item->WaitCommand = true;
            SetActive(i, true);
            return;
        }
        if (Scroll && ScrollCode == 0 && i == lastVisible())
            ScrollDown(true);
    }
}

void TbsSkinPopupWindow::PriorItem() {
    const int count = static_cast<int>(ItemList.size());
    if (count == 0)
        return;
    if (Scroll && ScrollCode == 0 && ActiveItem != -1 && ActiveItem == VisibleStartIndex)
        ScrollUp(true);
    int start = (ActiveItem <= 0) ? count - 1 : ActiveItem - 1;
    for (int i = start; i >= 0; --i) {
        TbsSkinMenuItem* item = ItemList[static_cast<size_t>(i)].get();
        if (item->Selectable()) {
            if (Scroll && (i < VisibleStartIndex || i > VisibleStartIndex + VisibleCount - 1)) {
                VisibleStartIndex = std::min(i, GetEndStartVisibleIndex());
                CalcItemRects();
                InvalidateRect(Handle(), nullptr, TRUE);
            }
            item->WaitCommand = true;
            SetActive(i, true);
            return;
        }
        if (Scroll && ScrollCode == 0 && i == VisibleStartIndex)
            ScrollUp(true);
    }
}

int TbsSkinPopupWindow::FindHotKeyItem(int CharCode) const {
    for (size_t i = 0; i < ItemList.size(); ++i)
        if (IsAccel(static_cast<WORD>(CharCode), ItemList[i]->MenuItem->Caption()))
            return static_cast<int>(i);
    return -1;
}

void TbsSkinPopupWindow::PopupKeyDown(int CharCode) {
    if (!HandleAllocated() || !IsWindowVisible(Handle()))
        return;
    TbsSkinMenu* menu = ParentMenu;
    TbsSkinMenu::THandlerScope scope(menu);
    // Accelerators: only enabled entries answer (a disabled entry cannot run anyway).
    const int hot = FindHotKeyItem(CharCode);
    if (hot != -1 && ItemList[static_cast<size_t>(hot)]->Selectable()) {
        TbsSkinMenuItem* item = ItemList[static_cast<size_t>(hot)].get();
        if (hot != ActiveItem) {
            const int old = ActiveItem;
            item->MouseEnter(false);
            ActiveItem = hot;
            if (old != -1)
                ItemList[static_cast<size_t>(old)]->MouseLeave();
        }
        item->MouseDown(0, 0);
        return;
    }
    switch (CharCode) {
        case VK_RETURN:
            if (ActiveItem != -1)
                ItemList[static_cast<size_t>(ActiveItem)]->MouseDown(0, 0);
            break;
        case VK_ESCAPE:
        case VK_LEFT:
            if (menu->LevelCount() >= 2) {
                TbsSkinPopupWindow* prev = menu->Level(menu->LevelCount() - 2);
                if (prev->ActiveItem != -1) {
                    prev->ItemList[static_cast<size_t>(prev->ActiveItem)]->Down = false;
                    prev->ItemList[static_cast<size_t>(prev->ActiveItem)]->Redraw();
                }
            } else if (CharCode == VK_LEFT) {
                break;
            }
            menu->CloseMenu(menu->LevelCount() - 1);
            break;
        case VK_UP:
            PriorItem();
            break;
        case VK_DOWN:
            NextItem();
            break;
        case VK_RIGHT:
            if (ActiveItem != -1 && ItemList[static_cast<size_t>(ActiveItem)]->MenuItem->Count() > 0)
                ItemList[static_cast<size_t>(ActiveItem)]->MouseDown(0, 0);
            break;
        default:
            break;
    }
}
