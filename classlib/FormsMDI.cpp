// The class library's MDI support: the main form's "MDICLIENT" window, children made inside it, and the default
// processing through DefFrameProc and DefMDIChildProc. Everything else (activation, tiling, the window menu's
// list) is the system's, asked through the WM_MDI* messages.
#include <windows.h>

#include "classlib/Forms.h"
#include "classlib/Menus.h"

namespace {
// Ids the client gives the children of its window menu; clear of the ids menus and controls use.
constexpr UINT kFirstMDIChildId = 0xFF00;

bool LibraryMessage(UINT Msg) {
    return (Msg >= CN_BASE && Msg < CN_BASE + 0x400) || (Msg >= CM_BASE && Msg < CM_BASE + 0x100);
}
}  // namespace

void TCustomForm::CreateMDIClient() {
    if (clientHandle_ && IsWindow(clientHandle_))
        return;
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = nullptr;
    ccs.idFirstChild = kFirstMDIChildId;
    const TRect r = ClientRect();
    clientHandle_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, r.Left, r.Top, r.Width(),
                                    r.Height(), Handle(), nullptr, GetModuleHandleW(nullptr), &ccs);
    if (!clientHandle_)
        throw EOSError(L"Cannot make the MDI client window", GetLastError());
    // Below the form's own child controls.
    SetWindowPos(clientHandle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Realign();
}

void TCustomForm::DestroyWnd() {
    // The client window goes with the form's window; its children (the MDI child forms) first.
    clientHandle_ = nullptr;
    if (IsMDIChildWindow()) {
        // An MDI child goes through its client window, which then activates the next child.
        const std::wstring caption = Text();
        const HWND wnd = Handle();
        SetControlState(ControlState() + csDestroyingHandle);
        SendMessageW(GetParent(wnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(wnd), 0);
        SetControlState(ControlState() - csDestroyingHandle);
        if (!HandleAllocated() || !IsWindow(wnd)) {
            TWinControl::DestroyWnd();  // detaches what the system left
            // The caption is kept for a window made again, as the base keeps it.
            TMessage keep{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()), 0};
            TWinControl::DefaultHandler(keep);
            return;
        }
    }
    TWinControl::DestroyWnd();
}

void TCustomForm::MDIChildParams(TCreateParams& Params) {
    TApplication* app = FindApplication();
    TCustomForm* main = app ? app->MainForm() : nullptr;
    if (!main || main == this || main->FormStyle() != fsMDIForm)
        return;
    HWND client = main->Handle() ? main->ClientHandle() : nullptr;
    if (!client)
        return;
    Params.Style &= ~static_cast<DWORD>(WS_POPUP | WS_VISIBLE);
    Params.Style |= WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_MDICHILD;
    Params.ExStyle &= ~static_cast<DWORD>(WS_EX_APPWINDOW | WS_EX_TOPMOST);
    Params.WndParent = client;
}

void TCustomForm::CreateWindowHandle(const TCreateParams& Params) {
    if (!(Params.ExStyle & WS_EX_MDICHILD)) {
        TWinControl::CreateWindowHandle(Params);
        return;
    }
    // The client window numbers its children itself: no control id.
    TCreateParams p = Params;
    p.Style &= ~static_cast<DWORD>(WS_CHILD);
    TWinControl::CreateWindowHandle(p);
}

bool TCustomForm::IsMDIChildWindow() {
    return HandleAllocated() && (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
}

void TCustomForm::DefaultHandler(TMessage& Message) {
    if (HandleAllocated() && !LibraryMessage(Message.Msg) &&
        !(Message.Msg >= CN_CTLCOLORMSGBOX && Message.Msg <= CN_CTLCOLORSTATIC)) {
        // The frame's WM_SIZE would stretch the client over the aligned controls: AlignControls places it.
        if (clientHandle_ && Message.Msg != WM_SIZE) {
            Message.Result = DefFrameProcW(Handle(), clientHandle_, Message.Msg, Message.WParam, Message.LParam);
            return;
        }
        if (formStyle_ == fsMDIChild && IsMDIChildWindow()) {
            Message.Result = DefMDIChildProcW(Handle(), Message.Msg, Message.WParam, Message.LParam);
            return;
        }
    }
    TWinControl::DefaultHandler(Message);
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
    TWinControl::AlignControls(AControl, Rect);
    if (clientHandle_ && IsWindow(clientHandle_))
        SetWindowPos(clientHandle_, nullptr, Rect.Left, Rect.Top, std::max(0, Rect.Width()), std::max(0, Rect.Height()),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<TCustomForm*> TCustomForm::MDIChildList() {
    std::vector<TCustomForm*> list;
    if (!clientHandle_)
        return list;
    for (HWND w = GetWindow(clientHandle_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (auto* f = dynamic_cast<TCustomForm*>(FindControl(w)); f && f->FormStyle() == fsMDIChild)
            list.push_back(f);
    }
    return list;
}

int TCustomForm::MDIChildCount() {
    return static_cast<int>(MDIChildList().size());
}

TCustomForm* TCustomForm::MDIChildren(int I) {
    const auto list = MDIChildList();
    if (I < 0 || I >= static_cast<int>(list.size()))
        throw EListError(L"MDI child index out of bounds");
    return list[static_cast<size_t>(I)];
}

TCustomForm* TCustomForm::ActiveMDIChild() {
    if (!clientHandle_)
        return nullptr;
    HWND w = reinterpret_cast<HWND>(SendMessageW(clientHandle_, WM_MDIGETACTIVE, 0, 0));
    auto* f = w ? dynamic_cast<TCustomForm*>(FindControl(w)) : nullptr;
    return f && f->FormStyle() == fsMDIChild ? f : nullptr;
}

void TCustomForm::Next() {
    if (clientHandle_)
        SendMessageW(clientHandle_, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
    if (clientHandle_)
        SendMessageW(clientHandle_, WM_MDINEXT, 0, 1);
}

void TCustomForm::Tile() {
    Perform(CM_MDIARRANGE, 0, 0);
}

void TCustomForm::Cascade() {
    Perform(CM_MDIARRANGE, 1, 0);
}

void TCustomForm::ArrangeIcons() {
    Perform(CM_MDIARRANGE, 2, 0);
}

void TCustomForm::SetWindowMenu(TMenuItem* Value) {
    if (windowMenu_ == Value)
        return;
    if (windowMenu_)
        windowMenu_->RemoveFreeNotification(this);
    windowMenu_ = Value;
    if (Value)
        Value->FreeNotification(this);
}
