// The skinned form's MDI coordination. A skinned MDI main form keeps its skinned children's states together: one
// child maximised maximises all, one restored restores all, one minimised restores the others. It takes over the
// system's MDI client window (skin background, no frame), shows skinned scroll bars when children lie outside the
// client area, arranges the children itself (tile, cascade) and lists them in its window menu and tab bar. The
// children tell it of their states through messages 1230 to 1236.
#include <windowsx.h>

#include <algorithm>

#include "base/Report.h"
#include "classlib/Menus.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/FrameGeometry.h"
#include "skin/form/MDIGeometry.h"
#include "skin/form/SkinForm.h"

namespace {
constexpr wchar_t kClientProp[] = L"TrelmSkinMDIClient";
constexpr wchar_t kChildItemSuffix[] = L"_SKFCHILDITEM";
constexpr int kScrollBarSize = 17;
constexpr int kScrollStep = 10;

TbsMDIScrollBarMaker& ScrollBarMaker() {
    static TbsMDIScrollBarMaker maker;
    return maker;
}

bool EndsWith(const std::wstring& s, const std::wstring& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::wstring StripSuffix(const std::wstring& s, const std::wstring& suffix) {
    return EndsWith(s, suffix) ? s.substr(0, s.size() - suffix.size()) : s;
}

bool Showing(TCustomForm* F) {
    return F->HandleAllocated() && IsWindowVisible(F->Handle());
}
}  // namespace

void SetMDIScrollBarMaker(TbsMDIScrollBarMaker Maker) {
    ScrollBarMaker() = std::move(Maker);
}

// ---- Who is who ---------------------------------------------------------------------------------------------------

bool TbsSkinForm::IsMDIMainForm() const {
    return FForm->FormStyle() == fsMDIForm && FForm->ClientHandle();
}

bool TbsSkinForm::IsMDIChildForm() const {
    return FForm->FormStyle() == fsMDIChild && FForm->IsMDIChildWindow();
}

TCustomForm* TbsSkinForm::MDIMainForm() const {
    TCustomForm* main = Application->MainForm();
    return main && main->FormStyle() == fsMDIForm && main->ClientHandle() ? main : nullptr;
}

TbsSkinForm* TbsSkinForm::MainFormComponent() const {
    TCustomForm* main = MDIMainForm();
    return main ? GetSkinFormComponent(main) : nullptr;
}

void TbsSkinForm::SendToMain(UINT Msg, WPARAM WParam) {
    if (TCustomForm* main = MDIMainForm(); main && main != FForm)
        SendMessageW(main->Handle(), Msg, WParam, 0);
}

std::vector<TbsSkinForm*> TbsSkinForm::MDIChildComponents() {
    std::vector<TbsSkinForm*> list;
    if (!IsMDIMainForm())
        return list;
    for (int i = 0; i < FForm->MDIChildCount(); ++i)
        if (TbsSkinForm* c = GetSkinFormComponent(FForm->MDIChildren(i)))
            list.push_back(c);
    return list;
}

void TbsSkinForm::GetMDIWorkArea(TRect& R) {
    TCustomForm* main = MDIMainForm();
    if (!main)
        return;
    RECT r{};
    GetWindowRect(main->ClientHandle(), &r);
    MapWindowPoints(nullptr, main->Handle(), reinterpret_cast<POINT*>(&r), 2);
    R = ToTRect(r);
}

TbsSkinForm* TbsSkinForm::GetMaximizeMDIChild() {
    if (!IsMDIMainForm())
        return nullptr;
    if (TCustomForm* active = FForm->ActiveMDIChild())
        if (TbsSkinForm* c = GetSkinFormComponent(active); c && c->FWindowState == wsMaximized)
            return c;
    for (TbsSkinForm* c : MDIChildComponents())
        if (c->FWindowState == wsMaximized)
            return c;
    return nullptr;
}

std::wstring TbsSkinForm::FrameCaption() {
    std::wstring text = FForm->Caption();
    if (IsMDIMainForm() && FMDIChildMaximized)
        if (TbsSkinForm* child = GetMaximizeMDIChild())
            text += L" - [" + child->FForm->Caption() + L"]";
    return text;
}

TbsSkinForm* GetMDIChildSkinFormComponent() {
    TCustomForm* main = Application->MainForm();
    if (!main || main->FormStyle() != fsMDIForm || !main->ClientHandle())
        return nullptr;
    for (int i = 0; i < main->MDIChildCount(); ++i)
        if (TbsSkinForm* c = GetSkinFormComponent(main->MDIChildren(i)); c && c->WindowState() == wsMaximized)
            return c;
    return nullptr;
}

TbsSkinForm* GetMDIChildSkinFormComponent2() {
    TCustomForm* main = Application->MainForm();
    TCustomForm* active = main && main->FormStyle() == fsMDIForm ? main->ActiveMDIChild() : nullptr;
    return active ? GetSkinFormComponent(active) : nullptr;
}

// ---- Children's states together ------------------------------------------------------------------------------------

void TbsSkinForm::ResizeMDIChilds() {
    for (TbsSkinForm* c : MDIChildComponents())
        SendMessageW(c->FForm->Handle(), WM_RESIZEMDICHILD, 0, 0);
    if (!FShowMDIScrollBars)
        ArangeMinimizedChilds();
}

void TbsSkinForm::ArangeMinimizedChilds() {
    for (TbsSkinForm* c : MDIChildComponents()) {
        if (c->FWindowState != wsMinimized)
            continue;
        const TPoint p = c->GetMinimizeCoord();
        c->FForm->SetBounds(p.X, p.Y, c->FForm->Width(), c->FForm->Height());
    }
}

void TbsSkinForm::MinimizeAll() {
    for (TbsSkinForm* c : MDIChildComponents())
        c->SetWindowState(wsMinimized);
}

void TbsSkinForm::MaximizeAll() {
    for (TbsSkinForm* c : MDIChildComponents())
        if (c->FBorderIcons.Contains(TbsBorderIcon::biMaximize))
            c->SetWindowState(wsMaximized);
}

void TbsSkinForm::CloseAll() {
    if (!IsMDIMainForm())
        return;
    for (int i = FForm->MDIChildCount() - 1; i >= 0; --i)
        if (i < FForm->MDIChildCount())
            FForm->MDIChildren(i)->Close();
}

void TbsSkinForm::RestoreAll() {
    RestoreAllExcept(nullptr);
}

void TbsSkinForm::RestoreAllExcept(HWND AFormHandle) {
    for (TbsSkinForm* c : MDIChildComponents()) {
        if (AFormHandle && c->FForm->Handle() == AFormHandle)
            continue;
        if (c->FWindowState != wsNormal)
            c->SetWindowState(wsNormal);
        else if (c->FRollUpState)
            c->SetRollUpState(false);
    }
}

void TbsSkinForm::RestoreTail() {
    UpDateFormNC();
    if (auto* bar = dynamic_cast<IbsMDIMenuBar*>(FMDIMenuBar))
        bar->MDIChildRestore();
    GetMDIScrollInfo(true);
}

// ---- Arranging
// -------------------------------------------------------------------------------------------------------

// Arranging starts from restored children; only the shown ones take places.
bool TbsSkinForm::ArrangeStart(std::vector<TbsSkinForm*>& Children, TRect& Area) {
    if (!IsMDIMainForm())
        return false;
    RestoreAll();
    for (TbsSkinForm* c : MDIChildComponents())
        if (Showing(c->FForm))
            Children.push_back(c);
    GetMDIWorkArea(Area);
    return !Children.empty();
}

void TbsSkinForm::Tile() {
    std::vector<TbsSkinForm*> children;
    TRect A;
    if (!ArrangeStart(children, A))
        return;
    const int n = static_cast<int>(children.size());
    const std::vector<TRect> bounds =
        TileMode == tbHorizontal ? TileHBounds(n, A.Width(), A.Height()) : TileVBounds(n, A.Width(), A.Height());
    for (int i = 0; i < n; ++i) {
        const TRect& b = bounds[static_cast<size_t>(i)];
        children[static_cast<size_t>(i)]->FForm->SetBounds(b.Left, b.Top, b.Width(), b.Height());
    }
}

void TbsSkinForm::Cascade() {
    std::vector<TbsSkinForm*> children;
    TRect A;
    if (!ArrangeStart(children, A))
        return;
    const int step = CascadeStep(Skinned(), rects_.NewClRect.Top, DefCaptionHeight(false));
    std::vector<bool> keep;
    std::vector<TSize> sizes;
    int minW = 0, minH = 0;
    for (TbsSkinForm* c : children) {
        keep.push_back(!c->IsSizeAble());
        sizes.push_back(TSize{c->FForm->Width(), c->FForm->Height()});
        minW = std::max(minW, c->GetMinWidth());
        minH = std::max(minH, c->GetMinHeight());
    }
    const TbsCascadePlan plan =
        CascadePlan(static_cast<int>(children.size()), A.Width(), A.Height(), step, minW, minH, keep, sizes);
    for (size_t i = 0; i < children.size(); ++i) {
        const TPoint o = plan.Origins[i];
        const int w = keep[i] ? sizes[i].cx : plan.Width;
        const int h = keep[i] ? sizes[i].cy : plan.Height;
        children[i]->FForm->SetBounds(o.X, o.Y, w, h);
    }
}

// ---- Scroll bars
// ------------------------------------------------------------------------------------------------------

void TbsSkinForm::SetShowMDIScrollBars(bool Value) {
    if (FShowMDIScrollBars == Value)
        return;
    FShowMDIScrollBars = Value;
    GetMDIScrollInfo(true);
}

void TbsSkinForm::InitMDIScrollBars() {
    if (FMDIHScrollBar || !ScrollBarMaker() || !IsMDIMainForm())
        return;
    FMDIHScrollBar = ScrollBarMaker()(this, true);
    FMDIVScrollBar = ScrollBarMaker()(this, false);
    if (!FMDIHScrollBar || !FMDIVScrollBar) {
        FMDIHScrollBar.reset();
        FMDIVScrollBar.reset();
        return;
    }
    for (bool horizontal : {true, false}) {
        IbsMDIScrollBar* bar = horizontal ? FMDIHScrollBar.get() : FMDIVScrollBar.get();
        bar->Control()->SetVisible(false);
        bar->OnUpButtonClick = [this, horizontal](TObject*) { MDIScrollBarStep(horizontal, kScrollStep); };
        bar->OnDownButtonClick = [this, horizontal](TObject*) { MDIScrollBarStep(horizontal, -kScrollStep); };
        bar->OnLastChange = [this, horizontal](TObject*) { MDIScrollBarMoved(horizontal); };
    }
}

void TbsSkinForm::MDIScrollBarStep(bool Horizontal, int Delta) {
    IbsMDIScrollBar* bar = Horizontal ? FMDIHScrollBar.get() : FMDIVScrollBar.get();
    bar->SetPosition(bar->Position() + Delta);
    MDIScrollBarMoved(Horizontal);
}

void TbsSkinForm::MDIScrollBarMoved(bool Horizontal) {
    IbsMDIScrollBar* bar = Horizontal ? FMDIHScrollBar.get() : FMDIVScrollBar.get();
    int& old = Horizontal ? FOldHSrollBarPosition : FOldVSrollBarPosition;
    const int now = bar->Position();
    if (now == old)
        return;
    FStopCheckChildMove = true;
    if (Horizontal)
        MDIHScroll(old - now);
    else
        MDIVScroll(old - now);
    FStopCheckChildMove = false;
    old = now;
    GetMDIScrollInfo(false);
}

void TbsSkinForm::MDIHScroll(int Delta) {
    for (TbsSkinForm* c : MDIChildComponents())
        if (Showing(c->FForm))
            c->FForm->SetBounds(c->FForm->Left() + Delta, c->FForm->Top(), c->FForm->Width(), c->FForm->Height());
}

void TbsSkinForm::MDIVScroll(int Delta) {
    for (TbsSkinForm* c : MDIChildComponents())
        if (Showing(c->FForm))
            c->FForm->SetBounds(c->FForm->Left(), c->FForm->Top() + Delta, c->FForm->Width(), c->FForm->Height());
}

void TbsSkinForm::GetMDIScrollInfo(bool AChangeRange) {
    // Moving and showing the bars moves nothing else, but a child's answer may come back here: once is enough.
    if (FInScrollInfo || !IsMDIMainForm())
        return;
    InitMDIScrollBars();
    if (!FMDIHScrollBar)
        return;
    FInScrollInfo = true;
    TWinControl* hBar = FMDIHScrollBar->Control();
    TWinControl* vBar = FMDIVScrollBar->Control();
    TbsMDIScrollPlan plan;
    if (FShowMDIScrollBars && !GetMaximizeMDIChild()) {
        RECT cr{};
        GetClientRect(FForm->ClientHandle(), &cr);
        std::vector<TRect> rects;
        for (TbsSkinForm* c : MDIChildComponents()) {
            const HWND w = c->FForm->Handle();
            if (w == ChangeVisibleChildHanle || !IsWindowVisible(w))
                continue;
            RECT r{};
            GetWindowRect(w, &r);
            MapWindowPoints(nullptr, FForm->ClientHandle(), reinterpret_cast<POINT*>(&r), 2);
            rects.push_back(ToTRect(r));
        }
        plan = MDIScrollPlan(rects, cr.right, cr.bottom, kScrollBarSize);
    }
    hBar->SetVisible(plan.HNeeded);
    vBar->SetVisible(plan.VNeeded);
    AdjustMDIScrollBars();
    if (AChangeRange) {
        if (plan.HNeeded) {
            FMDIHScrollBar->SetRange(plan.HMax, plan.HPage, plan.HPosition);
            FOldHSrollBarPosition = FMDIHScrollBar->Position();
        }
        if (plan.VNeeded) {
            FMDIVScrollBar->SetRange(plan.VMax, plan.VPage, plan.VPosition);
            FOldVSrollBarPosition = FMDIVScrollBar->Position();
        }
    }
    FInScrollInfo = false;
}

void TbsSkinForm::AdjustMDIScrollBars() {
    if (!FMDIHScrollBar || !IsMDIMainForm())
        return;
    TWinControl* hBar = FMDIHScrollBar->Control();
    TWinControl* vBar = FMDIVScrollBar->Control();
    TRect A;
    GetMDIWorkArea(A);
    const bool h = hBar->Visible(), v = vBar->Visible();
    FMDIHScrollBar->SetBoth(h && v);
    if (h) {
        hBar->SetBounds(A.Left, A.Bottom - kScrollBarSize, A.Width(), kScrollBarSize);
        SetWindowPos(hBar->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (v) {
        vBar->SetBounds(A.Right - kScrollBarSize, A.Top, kScrollBarSize, A.Height() - (h ? kScrollBarSize : 0));
        SetWindowPos(vBar->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// ---- The client window
// -----------------------------------------------------------------------------------------------

void TbsSkinForm::HookMDIClient() {
    const HWND client = FForm->ClientHandle();
    if (!client || client == FClientWnd)
        return;
    UnHookMDIClient();
    FClientWnd = client;
    SetPropW(client, kClientProp, this);
    FPrevClientProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TbsSkinForm::MDIClientProc)));
    // The frame goes at once.
    SetWindowPos(client, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(client, nullptr, TRUE);
}

void TbsSkinForm::UnHookMDIClient() {
    if (!FClientWnd)
        return;
    if (IsWindow(FClientWnd)) {
        RemovePropW(FClientWnd, kClientProp);
        if (GetWindowLongPtrW(FClientWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&TbsSkinForm::MDIClientProc))
            SetWindowLongPtrW(FClientWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevClientProc));
    }
    FClientWnd = nullptr;
}

LRESULT CALLBACK TbsSkinForm::MDIClientProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    auto* self = static_cast<TbsSkinForm*>(GetPropW(Wnd, kClientProp));
    if (!self)
        return DefWindowProcW(Wnd, Msg, WParam, LParam);
    try {
        return self->FormClientWindowProcHook(Wnd, Msg, WParam, LParam);
    } catch (...) {
        ReportCaught("MDI client window procedure");
        return 0;
    }
}

LRESULT TbsSkinForm::FormClientWindowProcHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    const WNDPROC prev = FPrevClientProc;
    switch (Msg) {
        case WM_SIZE: {
            const LRESULT r = CallWindowProcW(prev, Wnd, Msg, WParam, LParam);
            ResizeMDIChilds();
            if (Skinned() && ((FSD->StretchEffect && FSD->MDIBGPictureIndex < 0) ||
                              (FSD->MDIBGPictureIndex >= 0 && FSD->MDIBGStretchEffect)))
                InvalidateRect(Wnd, nullptr, TRUE);
            GetMDIScrollInfo(true);
            return r;
        }
        case WM_ERASEBKGND:
            PaintMDIBG(reinterpret_cast<HDC>(WParam));
            return 1;
        case WM_NCCALCSIZE:
        case WM_NCPAINT:
            return 0;
        case WM_NCACTIVATE:
            return 1;
        case WM_NCDESTROY: {
            RemovePropW(Wnd, kClientProp);
            SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
            FClientWnd = nullptr;
            return CallWindowProcW(prev, Wnd, Msg, WParam, LParam);
        }
        default:
            return CallWindowProcW(prev, Wnd, Msg, WParam, LParam);
    }
}

void TbsSkinForm::PaintMDIBG(HDC DC) {
    if (!DC)
        return;
    RECT cr{};
    GetClientRect(FForm->ClientHandle(), &cr);
    if (!Skinned()) {
        FillRect(DC, &cr, GetSysColorBrush(COLOR_APPWORKSPACE));
        return;
    }
    if (FSD->MDIBGPictureIndex < 0 || FSD->MDIBGPictureIndex >= FSD->ActivePictureCount()) {
        PaintBG(DC);
        return;
    }
    // The skin's own MDI background picture, tiled or stretched.
    TBitmap* src = FSD->GetActivePicture(FSD->MDIBGPictureIndex);
    PaintPictureBackground(DC, cr.right, cr.bottom, src, TRect{0, 0, src->Width(), src->Height()},
                           FSD->MDIBGStretchEffect, FSD->MDIBGStretchType);
}

// ---- Window menu and tab bar ----------------------------------------------------------------------------------------

void TbsSkinForm::AddChildToMenu(TCustomForm* Child) {
    TCustomForm* main = MDIMainForm();
    TMenuItem* menu = main ? main->WindowMenu() : nullptr;
    if (!menu || !Child)
        return;
    const std::wstring name = Child->Name() + kChildItemSuffix;
    for (int i = 0; i < menu->Count(); ++i)
        if (menu->Items(i)->Name() == name)
            return;
    TbsSkinForm* owner = GetSkinFormComponent(Child);
    auto* item = new TMenuItem(owner ? static_cast<TComponent*>(owner) : Child);
    item->SetName(name);
    item->SetCaption(Child->Caption());
    TbsSkinForm* mainComponent = MainFormComponent();
    item->OnClick = [mainComponent](TObject* Sender) {
        if (mainComponent)
            mainComponent->MDIItemClick(Sender);
    };
    menu->Add(item);
}

void TbsSkinForm::DeleteChildFromMenu(TCustomForm* Child) {
    TCustomForm* main = MDIMainForm();
    TMenuItem* menu = main ? main->WindowMenu() : nullptr;
    if (!menu || !Child)
        return;
    const std::wstring name = Child->Name() + kChildItemSuffix;
    for (int i = 0; i < menu->Count(); ++i) {
        TMenuItem* item = menu->Items(i);
        if (item->Name() == name) {
            menu->Remove(item);
            delete item;
            break;
        }
    }
    int shown = 0;
    for (int i = 0; i < main->MDIChildCount(); ++i)
        if (main->MDIChildren(i) != Child && Showing(main->MDIChildren(i)))
            ++shown;
    if (shown > 0)
        return;
    for (int i = 0; i < menu->Count(); ++i) {
        TMenuItem* item = menu->Items(i);
        if (item->Name().find(kChildItemSuffix) != std::wstring::npos) {
            menu->Remove(item);
            delete item;
            break;
        }
    }
}

void TbsSkinForm::UpDateChildCaptionInMenu(TCustomForm* Child) {
    TCustomForm* main = MDIMainForm();
    TMenuItem* menu = main ? main->WindowMenu() : nullptr;
    if (!menu || !Child)
        return;
    for (int i = 0; i < menu->Count(); ++i) {
        TMenuItem* item = menu->Items(i);
        if (EndsWith(item->Name(), kChildItemSuffix) && StripSuffix(item->Name(), kChildItemSuffix) == Child->Name())
            item->SetCaption(Child->Caption());
    }
}

void TbsSkinForm::UpDateChildActiveInMenu() {
    TCustomForm* main = MDIMainForm();
    TMenuItem* menu = main ? main->WindowMenu() : nullptr;
    if (!menu)
        return;
    TCustomForm* active = main->ActiveMDIChild();
    for (int i = 0; i < menu->Count(); ++i) {
        TMenuItem* item = menu->Items(i);
        if (EndsWith(item->Name(), kChildItemSuffix))
            item->SetChecked(active && StripSuffix(item->Name(), kChildItemSuffix) == active->Name());
    }
}

void TbsSkinForm::MDIItemClick(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item || !IsMDIMainForm())
        return;
    const std::wstring name = StripSuffix(item->Name(), kChildItemSuffix);
    for (int i = 0; i < FForm->MDIChildCount(); ++i) {
        TCustomForm* child = FForm->MDIChildren(i);
        if (child->Name() != name)
            continue;
        if (TbsSkinForm* c = GetSkinFormComponent(child); c && c->FWindowState == wsMinimized)
            c->SetWindowState(wsNormal);
        child->Show();
        SendMessageW(FForm->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->Handle()), 0);
        break;
    }
}

void TbsSkinForm::SetMDITabsBar(TComponent* Value) {
    if (FMDITabsBar == Value)
        return;
    if (FMDITabsBar)
        FMDITabsBar->RemoveFreeNotification(this);
    FMDITabsBar = Value;
    if (Value)
        Value->FreeNotification(this);
}

namespace {
IbsMDITabsBar* TabsBarOf(TbsSkinForm* Main) {
    return Main ? dynamic_cast<IbsMDITabsBar*>(Main->MDITabsBar()) : nullptr;
}
}  // namespace

void TbsSkinForm::AddChildToBar(TCustomForm* Child) {
    IbsMDITabsBar* bar = TabsBarOf(MainFormComponent());
    if (!bar || !Child)
        return;
    bool accept = true;
    if (OnAcceptToMDITabsBar)
        OnAcceptToMDITabsBar(accept);
    if (accept)
        bar->AddTab(Child);
}

void TbsSkinForm::DeleteChildFromBar(TCustomForm* Child) {
    if (IbsMDITabsBar* bar = TabsBarOf(MainFormComponent()))
        bar->DeleteTab(Child);
}

void TbsSkinForm::RefreshMDIBarTab(TCustomForm* Child) {
    if (IbsMDITabsBar* bar = TabsBarOf(MainFormComponent()))
        bar->RefreshTab(Child);
}

void TbsSkinForm::SetMDIMenuBar(TComponent* Value) {
    if (FMDIMenuBar == Value)
        return;
    if (FMDIMenuBar)
        FMDIMenuBar->RemoveFreeNotification(this);
    FMDIMenuBar = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsSkinForm::CheckMDIMainMenu() {
    TbsSkinForm* main = FForm->FormStyle() == fsMDIForm ? this : MainFormComponent();
    if (auto* bar = main ? dynamic_cast<IbsMDIMenuBar*>(main->FMDIMenuBar) : nullptr)
        bar->CheckMDIMainMenu();
}

void TbsSkinForm::CheckMDIBar() {
    if (IbsMDITabsBar* bar = TabsBarOf(MainFormComponent()))
        bar->CheckActive();
}

// ---- The window procedure's share ----------------------------------------------------------------------------------

bool TbsSkinForm::MDIFirst(TMessage& m) {
    if (FForm->FormStyle() == fsMDIForm) {
        switch (m.Msg) {
            case WM_MDIMAXIMIZEALL:
                if (!FInMaximizeAll && IsMDIMainForm()) {
                    FMDIChildMaximized = true;
                    UpDateFormNC();
                    if (auto* bar = dynamic_cast<IbsMDIMenuBar*>(FMDIMenuBar))
                        bar->MDIChildMaximize();
                    FInMaximizeAll = true;
                    MaximizeAll();
                    FInMaximizeAll = false;
                    GetMDIScrollInfo(true);
                }
                m.Result = 0;
                return true;
            case WM_MDICHILDRESTORED:
                if (!FInRestoreAll && IsMDIMainForm()) {
                    FMDIChildMaximized = GetMaximizeMDIChild() != nullptr;
                    RestoreTail();
                }
                m.Result = 0;
                return true;
            case WM_MDICHILDMOVED:
                if (!FStopCheckChildMove) {
                    ChangeVisibleChildHanle = reinterpret_cast<HWND>(m.WParam);
                    GetMDIScrollInfo(true);
                    ChangeVisibleChildHanle = nullptr;
                }
                m.Result = 0;
                return true;
            case WM_MDIRESTOREALL:
            case WM_MDIRESTOREALLEXCEPT:
                if (FMDIChildMaximized && !FInRestoreAll && IsMDIMainForm()) {
                    FInRestoreAll = true;
                    if (m.Msg == WM_MDIRESTOREALL)
                        RestoreAll();
                    else
                        RestoreAllExcept(reinterpret_cast<HWND>(m.WParam));
                    FInRestoreAll = false;
                    FMDIChildMaximized = false;
                    if (m.Msg == WM_MDIRESTOREALLEXCEPT)
                        FForm->Next();
                    RestoreTail();
                }
                m.Result = 0;
                return true;
            case WM_MDIQUERYMAXIMIZED:
                m.Result = IsMDIMainForm() && FMDIChildMaximized ? 1 : 0;
                return true;
            case CM_MDIARRANGE:
                if (m.WParam == 0)
                    Tile();
                else if (m.WParam == 1)
                    Cascade();
                else
                    ArangeMinimizedChilds();
                m.Result = 0;
                return true;
            case WM_ERASEBKGND:
                // The client window covers the client area and paints itself.
                if (IsMDIMainForm()) {
                    m.Result = 1;
                    return true;
                }
                return false;
            default:
                return false;
        }
    }
    if (m.Msg == WM_MDIQUERYMAXIMIZED) {
        m.Result = 0;
        return true;
    }
    return false;
}

void TbsSkinForm::MDIAfter(TMessage& m) {
    if (FForm->FormStyle() == fsMDIForm) {
        if (m.Msg == WM_SHOWWINDOW && m.WParam && IsMDIMainForm()) {
            HookMDIClient();
            GetMDIScrollInfo(true);
        } else if (m.Msg == WM_DESTROY) {
            UnHookMDIClient();
        } else if (m.Msg == WM_ACTIVATE && IsMDIMainForm()) {
            CheckMDIMainMenu();
        }
        return;
    }
    if (!IsMDIChildForm())
        return;
    const HWND own = FForm->Handle();
    switch (m.Msg) {
        case WM_RESIZEMDICHILD:
            if (FWindowState == wsMaximized) {
                const TRect R = MaximizedRect();
                FForm->SetBounds(R.Left, R.Top, R.Width(), R.Height());
            }
            break;
        case WM_SHOWWINDOW:
            if (m.WParam) {
                AddChildToMenu(FForm);
                AddChildToBar(FForm);
                if (TCustomForm* main = MDIMainForm(); main && FBorderIcons.Contains(TbsBorderIcon::biMaximize) &&
                                                       SendMessageW(main->Handle(), WM_MDIQUERYMAXIMIZED, 0, 0) == 1)
                    SetWindowState(wsMaximized);
                SendToMain(WM_MDICHILDMOVED, 0);
            } else {
                DeleteChildFromMenu(FForm);
                DeleteChildFromBar(FForm);
                SendToMain(WM_MDICHILDMOVED, reinterpret_cast<WPARAM>(own));
            }
            break;
        case WM_DESTROY:
            // A child that goes while shown never hears WM_SHOWWINDOW: it leaves the menu and the bar here.
            FWindowState = FWindowStateInit = wsNormal;
            DeleteChildFromMenu(FForm);
            DeleteChildFromBar(FForm);
            SendToMain(WM_MDICHILDRESTORED);
            CheckMDIMainMenu();
            CheckMDIBar();
            SendToMain(WM_MDICHILDMOVED, reinterpret_cast<WPARAM>(own));
            break;
        case WM_MOVE:
        case WM_SIZE:
            SendToMain(WM_MDICHILDMOVED, 0);
            break;
        case WM_SETTEXT:
            UpDateChildCaptionInMenu(FForm);
            RefreshMDIBarTab(FForm);
            if (FWindowState == wsMaximized)
                if (TbsSkinForm* main = MainFormComponent())
                    main->UpDateFormNC();
            break;
        case WM_MDIACTIVATE:
            CheckMDIMainMenu();
            CheckMDIBar();
            UpDateChildActiveInMenu();
            break;
        case WM_MOUSEACTIVATE:
            // A click into the active child that missed its activation message takes the active look.
            if (TCustomForm* main = MDIMainForm(); main && main->ActiveMDIChild() == FForm && !FFormActive) {
                FFormActive = true;
                FormChangeActive(FWindowState != wsMaximized);
            }
            break;
        default:
            break;
    }
}
