// Forms, the application object (message loop, exception reporting) and the screen.
#include "classlib/Forms.h"

#include <algorithm>

#include "base/Files.h"
#include "base/Report.h"
#include "classlib/Menus.h"
#include "classlib/Thread.h"

namespace {

struct Globals {
    TApplication* app = nullptr;  // owned
    TScreen* screen = nullptr;    // owned
    bool ended = false;
    ~Globals() {
        ended = true;
        TApplication* a = app;
        app = nullptr;
        delete a;
        TScreen* s = screen;
        screen = nullptr;
        delete s;
    }
};

Globals& G() {
    static Globals g;
    return g;
}

// Watches a component for the length of a modal loop: the form may be freed inside it.
class TFreeWatch : public TComponent {
  public:
    explicit TFreeWatch(TComponent* target) : TComponent(nullptr), target_(target) { FreeNotification(target); }
    ~TFreeWatch() override {
        if (target_)
            RemoveFreeNotification(target_);
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == target_)
            target_ = nullptr;
    }
    bool Dead() const { return target_ == nullptr; }

  private:
    TComponent* target_;  // borrowed; cleared when freed
};

std::wstring ExceptionText(const std::exception& e) {
    if (auto* ours = dynamic_cast<const Exception*>(&e))
        return ours->Message();
    return Utf8ToWide(e.what());
}

}  // namespace

TApplication* GetApplication() {
    Globals& g = G();
    if (!g.app && !g.ended)
        g.app = new TApplication(nullptr);
    return g.app;
}

TScreen* GetScreen() {
    Globals& g = G();
    if (!g.screen && !g.ended)
        g.screen = new TScreen(nullptr);
    return g.screen;
}

TApplication* FindApplication() {
    return G().app;
}

TScreen* FindScreen() {
    return G().screen;
}

// ---- TCustomForm ----------------------------------------------------------------------------------------------------
TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner), icon_(std::make_unique<TIcon>()), canvas_(std::make_unique<TControlCanvas>(this)) {
    visible_ = false;
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    if (TScreen* screen = GetScreen())
        screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    // Also for forms that were not freed through delete (stack objects): leave the registries.
    if (TScreen* screen = FindScreen())
        screen->RemoveForm(this);
    if (TApplication* app = FindApplication())
        app->ForgetForm(this);
}

void TCustomForm::BeforeDestruction() {
    if (!ComponentState().Contains(csDestroying)) {
        try {
            DoDestroy();
        } catch (...) {
            if (TApplication* app = FindApplication())
                app->HandleException(this);
        }
    }
    if (TScreen* screen = FindScreen())
        screen->RemoveForm(this);
    if (TApplication* app = FindApplication())
        app->ForgetForm(this);
    TWinControl::BeforeDestruction();
}

void TCustomForm::EndLoading() {
    TWinControl::EndLoading();
    if (!created_) {
        created_ = true;
        DoCreate();
    }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == menu_)
        menu_ = nullptr;
    if (Operation == opRemove && AComponent == windowMenu_)
        windowMenu_ = nullptr;
}

void TCustomForm::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    if (Parent())
        return;
    if (ParentWindow()) {
        // Docked into a foreign window: a plain child without frame.
        Params.Style &= ~static_cast<DWORD>(WS_TABSTOP);
        return;
    }
    Params.Style &= ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    Params.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    const bool dialogLike = borderStyle_ == bsDialog || borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin;
    switch (borderStyle_) {
        case bsNone:
            Params.Style |= WS_POPUP;
            break;
        case bsSingle:
            Params.Style |= WS_CAPTION | WS_BORDER;
            break;
        case bsToolWindow:
            Params.Style |= WS_CAPTION;
            Params.ExStyle |= WS_EX_TOOLWINDOW;
            break;
        case bsSizeable:
            Params.Style |= WS_CAPTION | WS_THICKFRAME;
            break;
        case bsSizeToolWin:
            Params.Style |= WS_CAPTION | WS_THICKFRAME;
            Params.ExStyle |= WS_EX_TOOLWINDOW;
            break;
        case bsDialog:
            Params.Style |= WS_POPUP | WS_CAPTION;
            Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
            break;
    }
    if (borderStyle_ != bsNone) {
        if (borderIcons_.Contains(biSystemMenu))
            Params.Style |= WS_SYSMENU;
        if (!dialogLike && borderIcons_.Contains(biMinimize))
            Params.Style |= WS_MINIMIZEBOX;
        if (!dialogLike && borderIcons_.Contains(biMaximize))
            Params.Style |= WS_MAXIMIZEBOX;
        if (borderIcons_.Contains(biHelp) && !(Params.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
            Params.ExStyle |= WS_EX_CONTEXTHELP;
    }
    if (formStyle_ == fsStayOnTop)
        Params.ExStyle |= WS_EX_TOPMOST;
    if (formStyle_ == fsMDIChild) {
        MDIChildParams(Params);
        if (Params.ExStyle & WS_EX_MDICHILD)
            return;
    }
    TApplication* app = GetApplication();
    if (app && app->MainFormOnTaskBar() && app->MainForm() == this) {
        Params.WndParent = nullptr;
        Params.ExStyle |= WS_EX_APPWINDOW;
    } else if (app && app->MainFormOnTaskBar() && app->MainForm() && app->MainForm() != this &&
               app->MainForm()->HandleAllocated()) {
        Params.WndParent = app->MainForm()->Handle();
    } else {
        Params.WndParent = app ? app->Handle() : nullptr;
    }
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (formStyle_ == fsMDIForm)
        CreateMDIClient();
    if (!icon_->Empty()) {
        SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Handle()));
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_->Handle()));
    }
    // A re-created window of a visible form shows again (a first show goes through ShowingChanged).
    if (Visible() && !inShowingChanged_ && !Parent())
        ShowWindow(Handle(), SW_SHOWNA);
}

void TCustomForm::SetParent(TWinControl* AParent) {
    if (AParent == Parent())
        return;
    if (HandleAllocated())
        DestroyHandle();
    TWinControl::SetParent(AParent);
}

void TCustomForm::SetBorderStyle(TBorderStyle Value) {
    if (borderStyle_ == Value)
        return;
    borderStyle_ = Value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
    if (borderIcons_ == Value)
        return;
    borderIcons_ = Value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
    if (formStyle_ == Value)
        return;
    const bool topMostChanged = (formStyle_ == fsStayOnTop) != (Value == fsStayOnTop);
    formStyle_ = Value;
    if (topMostChanged && HandleAllocated() && !Parent())
        SetWindowPos(Handle(), Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState Value) {
    if (windowState_ == Value)
        return;
    windowState_ = Value;
    if (HandleAllocated() && Visible() && !Parent())
        ShowWindow(Handle(), Value == wsMinimized ? SW_MINIMIZE : Value == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetMenu(TMainMenu* Value) {
    if (menu_ == Value)
        return;
    if (menu_)
        menu_->RemoveFreeNotification(this);
    menu_ = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TCustomForm::Show() {
    SetVisible(true);
    if (HandleAllocated() && !Parent())
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCustomForm::ApplyPosition() {
    TRect area;
    switch (position_) {
        case poScreenCenter: {
            RECT wa;
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
            area = ToTRect(wa);
            break;
        }
        case poDesktopCenter:
            area = Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
            break;
        case poMainFormCenter:
        case poOwnerFormCenter: {
            TCustomForm* centre = position_ == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
            if (!centre && FindApplication())
                centre = FindApplication()->MainForm();
            if (centre && centre != this && centre->Visible()) {
                area = centre->BoundsRect();
            } else {
                RECT wa;
                SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
                area = ToTRect(wa);
            }
            break;
        }
        default:
            return;
    }
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(), Height());
}

void TCustomForm::ShowingChanged() {
    if (Visible()) {
        if (!created_) {
            created_ = true;
            DoCreate();
        }
        inShowingChanged_ = true;
        try {
            HandleNeeded();
            if (!shownOnce_) {
                shownOnce_ = true;
                if (!Parent() && !ParentWindow())
                    ApplyPosition();
                if (!activeControl_)
                    activeControl_ = FindNextControl(nullptr, true, true, false);
            }
            DoShow();
        } catch (...) {
            inShowingChanged_ = false;
            throw;
        }
        inShowingChanged_ = false;
        if (!Visible() || !HandleAllocated())
            return;  // OnShow hid or freed the window
        if (Parent() || ParentWindow()) {
            SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            return;
        }
        const int cmd = windowState_ == wsMaximized   ? SW_SHOWMAXIMIZED
                        : windowState_ == wsMinimized ? SW_SHOWMINIMIZED
                                                      : SW_SHOWNORMAL;
        TApplication* app = FindApplication();
        if (app && app->MainForm() == this && !app->MainFormOnTaskBar() && !IsWindowVisible(app->Handle())) {
            // The hidden application window carries the taskbar button of the program.
            SetWindowPos(app->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
        ShowWindow(Handle(), cmd);
    } else {
        DoHide();
        if (HandleAllocated())
            ShowWindow(Handle(), SW_HIDE);
        TApplication* app = FindApplication();
        if (app && app->MainForm() == this && IsWindowVisible(app->Handle()))
            ShowWindow(app->Handle(), SW_HIDE);
    }
}

void TCustomForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (TApplication* app = FindApplication(); app && app->MainForm() == this) {
        app->Terminate();
        return;
    }
    switch (action) {
        case caHide:
            Hide();
            break;
        case caMinimize:
            SetWindowState(wsMinimized);
            break;
        case caFree:
            Release();
            break;
        default:
            break;
    }
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    switch (action) {
        case caNone:
            modalResult_ = mrNone;
            break;
        case caFree:
            Release();
            break;
        default:
            break;
    }
}

namespace {
struct DisabledWindows {
    HWND except;
    std::vector<HWND> list;
};
BOOL CALLBACK DisableWindowProc(HWND wnd, LPARAM param) {
    auto* d = reinterpret_cast<DisabledWindows*>(param);
    if (wnd != d->except && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
        d->list.push_back(wnd);
        EnableWindow(wnd, FALSE);
    }
    return TRUE;
}
}  // namespace

TModalResult TCustomForm::ShowModal() {
    if (Visible() || modal_ || !Enabled())
        throw EInvalidOperation(L"Cannot make a visible window modal");
    if (HWND capture = GetCapture()) {
        SendMessageW(capture, WM_CANCELMODE, 0, 0);
        ReleaseCapture();
    }
    HWND previousActive = GetActiveWindow();
    HWND own = Handle();
    TFreeWatch watch(this);
    DisabledWindows disabled{own, {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindowProc, reinterpret_cast<LPARAM>(&disabled));
    modal_ = true;
    modalResult_ = mrNone;
    TModalResult result = mrCancel;
    TApplication* app = GetApplication();
    try {
        Show();
        for (;;) {
            app->HandleMessage();
            if (watch.Dead())
                break;
            if (app->Terminated())
                modalResult_ = mrCancel;
            else if (modalResult_ != mrNone)
                CloseModal();
            if (watch.Dead() || modalResult_ != mrNone)
                break;
        }
    } catch (...) {
        for (HWND w : disabled.list)
            if (IsWindow(w))
                EnableWindow(w, TRUE);
        if (!watch.Dead()) {
            modal_ = false;
            Hide();
        }
        throw;
    }
    // Enable the others before hiding, or the system activates some unrelated window.
    for (HWND w : disabled.list)
        if (IsWindow(w))
            EnableWindow(w, TRUE);
    if (!watch.Dead()) {
        result = modalResult_;
        modal_ = false;
        Hide();
    }
    if (previousActive && IsWindow(previousActive))
        SetActiveWindow(previousActive);
    return result;
}

void TCustomForm::Release() {
    if (TApplication* app = GetApplication())
        app->QueueRelease(this);
}

void TCustomForm::SetActive(bool Value) {
    active_ = Value;
    if (Value) {
        if (TScreen* screen = GetScreen())
            screen->SetFocusedForm(this, activeControl_);
        Perform(CM_ACTIVATE);
    } else {
        Perform(CM_DEACTIVATE);
    }
}

bool TCustomForm::ActiveControlTakesFocus(bool windowMayBeMade) {
    return activeControl_ && activeControl_ != this && !ComponentState().Contains(csDestroying) &&
           (windowMayBeMade || activeControl_->HandleAllocated()) && activeControl_->CanFocus();
}

void TCustomForm::SetWindowFocus() {
    if (!HandleAllocated())
        return;
    if (ActiveControlTakesFocus(true))
        ::SetFocus(activeControl_->Handle());
    else
        ::SetFocus(Handle());
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
    if (Control && Control != this && GetParentForm(Control) != this)
        throw EInvalidOperation(L"Invalid active control: it is not on this form");
    activeControl_ = Control;
    if (active_ && Control && HandleAllocated() && Control->CanFocus() && GetActiveWindow() == Handle())
        ::SetFocus(Control->Handle());
}

void TCustomForm::FocusControl(TWinControl* Control) {
    const bool wasActive = active_;
    SetActiveControl(Control);
    if (!wasActive && Visible() && HandleAllocated())
        SetWindowFocus();
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
    if (ComponentState().Contains(csDestroying))
        return false;
    TWinControl* old = focusedControl_;
    focusedControl_ = Control;
    if (Control != this)
        activeControl_ = Control;
    if (TScreen* screen = GetScreen())
        screen->SetFocusedForm(this, Control);
    if (old != Control) {
        for (TWinControl* c = old; c && c != this && !(c == Control || c->ContainsControl(Control)); c = c->Parent())
            c->Perform(CM_EXIT);
        std::vector<TWinControl*> chain;
        for (TWinControl* c = Control; c && c != this && !(old && (c == old || c->ContainsControl(old)));
             c = c->Parent())
            chain.push_back(c);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
            (*it)->Perform(CM_ENTER);
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
    return true;
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
    auto inside = [Control](TWinControl* c) { return c && (c == Control || Control->ContainsControl(c)); };
    if (inside(activeControl_))
        activeControl_ = nullptr;
    if (TScreen* screen = FindScreen(); screen && inside(screen->activeControl_))
        screen->activeControl_ = nullptr;
    if (inside(focusedControl_)) {
        focusedControl_ = nullptr;
        if (Removing && HandleAllocated() && active_ && !ComponentState().Contains(csDestroying))
            ::SetFocus(Handle());
    }
}

bool TCustomForm::IsShortCut(TWMKey& Message) {
    bool handled = false;
    if (OnShortCut)
        OnShortCut(Message, handled);
    if (handled)
        return true;
    return menu_ && menu_->IsShortCut(Message);
}

void TCustomForm::SetFocus() {
    if (!CanFocus())
        throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    SetActiveWindow(Handle());
    SetWindowFocus();
}

bool TCustomForm::CanFocus() {
    return Visible() && Enabled();
}

void TCustomForm::PaintWindow(HDC DC) {
    HDC previous = canvas_->HandleAllocated() ? canvas_->Handle() : nullptr;
    canvas_->SetHandle(DC);
    try {
        Paint();
    } catch (...) {
        canvas_->SetHandle(previous);
        throw;
    }
    canvas_->SetHandle(previous);
}

void TCustomForm::Paint() {
    if (OnPaint)
        OnPaint(this);
}

void TCustomForm::DoCreate() {
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::DoDestroy() {
    if (OnDestroy)
        OnDestroy(this);
}

void TCustomForm::DoShow() {
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide)
        OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::Activate() {
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate)
        OnDeactivate(this);
}

void TCustomForm::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_ACTIVATE:
            TWinControl::WndProc(Message);
            SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
            return;
        case WM_SETFOCUS:
            // The focus goes on to the active control only when its window exists: while the windows are torn
            // down, the system hands the focus on as each goes, and asking for the window would make it again
            // (and the next teardown step would hand the focus back here, without end).
            if (ActiveControlTakesFocus(false)) {
                ::SetFocus(activeControl_->Handle());
                return;
            }
            focusedControl_ = this;
            break;
        case WM_CLOSE:
            Close();
            Message.Result = 0;
            return;
        case WM_QUERYENDSESSION:
            Message.Result = CloseQuery() ? TRUE : FALSE;
            return;
        case WM_SIZE:
            if (!Parent() && IsWindowVisible(Handle())) {
                if (Message.WParam == SIZE_MINIMIZED)
                    windowState_ = wsMinimized;
                else if (Message.WParam == SIZE_MAXIMIZED)
                    windowState_ = wsMaximized;
                else if (Message.WParam == SIZE_RESTORED)
                    windowState_ = wsNormal;
            }
            break;
        case CM_RELEASE:
            Release();
            return;
        case WM_MDIACTIVATE:
            // An MDI child is activated by its client window, not by WM_ACTIVATE.
            if (reinterpret_cast<HWND>(Message.LParam) == Handle())
                SetActive(true);
            else if (reinterpret_cast<HWND>(Message.WParam) == Handle())
                SetActive(false);
            break;
        case CM_MDIARRANGE:
            if (clientHandle_)
                SendMessageW(
                    clientHandle_,
                    Message.WParam == 0   ? WM_MDITILE
                    : Message.WParam == 1 ? WM_MDICASCADE
                                          : WM_MDIICONARRANGE,
                    Message.WParam == 0 ? (TileMode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL) : 0, 0);
            return;
        case CM_VISIBLECHANGED:
            ShowingChanged();
            return;
        case CM_ACTIVATE:
            Activate();
            return;
        case CM_DEACTIVATE:
            Deactivate();
            return;
        case CM_DIALOGKEY: {
            const WORD key = static_cast<WORD>(Message.WParam);
            const bool alt = (Message.LParam & 0x20000000) != 0;
            if (!alt && key == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
                Message.Result = 1;
                return;
            }
            if (!alt && (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && activeControl_ &&
                activeControl_->Parent()) {
                activeControl_->Parent()->SelectNext(activeControl_, key == VK_RIGHT || key == VK_DOWN, false);
                Message.Result = 1;
                return;
            }
            break;
        }
        default:
            break;
    }
    TWinControl::WndProc(Message);
}

// ---- TApplication ---------------------------------------------------------------------------------------------------
namespace {
constexpr wchar_t kAppClass[] = L"TApplication";
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), icon_(std::make_unique<TIcon>()) {
    mainThreadId_ = GetCurrentThreadId();
    TThread::InitSynchronization();
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TApplication::AppWndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kAppClass;
    RegisterClassW(&wc);  // fails harmlessly when a previous application object registered it
    std::wstring title = ExeName();
    size_t slash = title.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        title.erase(0, slash + 1);
    size_t dot = title.rfind(L'.');
    if (dot != std::wstring::npos)
        title.erase(dot);
    handle_ = CreateWindowExW(
        0, kAppClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
        GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, inst, this);
    TComponent::ErrorHandler = [](TObject* Sender) {
        if (TApplication* app = FindApplication())
            app->HandleException(Sender);
    };
}

TApplication::~TApplication() {
    if (handle_) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        if (auto* created = static_cast<TApplication*>(cs->lpCreateParams))
            created->handle_ = wnd;  // the messages of the creation already need it
    }
    auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!app)
        return DefWindowProcW(wnd, msg, wParam, lParam);
    try {
        return app->WndProc(msg, wParam, lParam);
    } catch (...) {
        app->HandleException(app);
        return 0;
    }
}

LRESULT TApplication::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ACTIVATEAPP:
            active_ = wParam != 0;
            if (active_ && OnActivate)
                OnActivate(this);
            else if (!active_ && OnDeactivate)
                OnDeactivate(this);
            break;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_MINIMIZE:
                    Minimize();
                    return 0;
                case SC_RESTORE:
                    Restore();
                    return 0;
                default:
                    break;
            }
            break;
        case WM_CLOSE:
            if (mainForm_)
                mainForm_->Close();
            return 0;
        case CM_RELEASE:
            FreeReleasedForms();
            return 0;
        case CM_APPKEYDOWN: {
            TWMKey key{WM_KEYDOWN, static_cast<WORD>(wParam), lParam, 0};
            return IsShortCut(key) ? 1 : 0;
        }
        default:
            break;
    }
    return DefWindowProcW(handle_, msg, wParam, lParam);
}

std::wstring TApplication::Title() const {
    if (!handle_)
        return {};
    int len = GetWindowTextLengthW(handle_);
    std::wstring s(static_cast<size_t>(len) + 1, L'\0');
    int got = GetWindowTextW(handle_, s.data(), len + 1);
    s.resize(static_cast<size_t>(std::max(got, 0)));
    return s;
}

void TApplication::SetTitle(const std::wstring& Value) {
    if (handle_)
        SetWindowTextW(handle_, Value.c_str());
}

std::wstring TApplication::ExeName() const {
    return ProgramPath();
}

void TApplication::SetMainForm(TCustomForm* Form) {
    if (!mainForm_)
        mainForm_ = Form;
}

void TApplication::ForgetForm(TCustomForm* Form) {
    if (mainForm_ == Form)
        mainForm_ = nullptr;
    pendingRelease_.erase(std::remove(pendingRelease_.begin(), pendingRelease_.end(), Form), pendingRelease_.end());
}

void TApplication::QueueRelease(TCustomForm* Form) {
    if (std::find(pendingRelease_.begin(), pendingRelease_.end(), Form) == pendingRelease_.end())
        pendingRelease_.push_back(Form);
    if (handle_)
        PostMessageW(handle_, CM_RELEASE, 0, 0);
}

void TApplication::FreeReleasedForms() {
    size_t i = 0;
    while (i < pendingRelease_.size()) {
        TCustomForm* form = pendingRelease_[i];
        // A form whose window procedure (or a child's) is still running further up the stack waits: freeing it
        // would pull the object out from under that code.
        if (TWinControl::InDispatch(form, false)) {
            ++i;
            continue;
        }
        pendingRelease_.erase(pendingRelease_.begin() + static_cast<std::ptrdiff_t>(i));
        delete form;  // may free other pending forms (its components): start over
        i = 0;
    }
}

void TApplication::RunMessageFilters(MSG& msg, bool& handled) {
    if (filters_.empty())
        return;
    std::vector<int> ids;
    for (auto it = filters_.rbegin(); it != filters_.rend(); ++it)
        ids.push_back(it->id);
    for (int id : ids) {
        auto it = std::find_if(filters_.begin(), filters_.end(), [id](const Filter& f) { return f.id == id; });
        if (it == filters_.end())
            continue;               // removed by an earlier filter
        TMessageEvent fn = it->fn;  // a copy: the filter may remove itself
        try {
            fn(msg, handled);
        } catch (...) {
            HandleException(this);
        }
        if (handled)
            return;
    }
}

int TApplication::AddOnMessage(TMessageEvent Filter) {
    int id = nextFilterId_++;
    filters_.push_back({id, std::move(Filter)});
    return id;
}

void TApplication::RemoveOnMessage(int Id) {
    filters_.erase(std::remove_if(filters_.begin(), filters_.end(), [Id](const Filter& f) { return f.id == Id; }),
                   filters_.end());
}

bool TApplication::IsKeyMsg(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR &&
        msg.message != WM_SYSCHAR)
        return false;
    TWinControl* control = nullptr;
    for (HWND w = msg.hwnd; w && !(control = FindControl(w)); w = GetParent(w)) {
    }
    if (!control)
        return false;
    try {
        return control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
    } catch (...) {
        HandleException(control);
        return true;
    }
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    // A click or a key ends the hint.
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
            CancelHint();
            break;
        default:
            break;
    }
    bool handled = false;
    RunMessageFilters(msg, handled);
    // Ctrl+F4, Ctrl+F6 and the MDI child's system menu keys.
    if (!handled && mainForm_ && mainForm_->ClientHandle() &&
        (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN))
        handled = TranslateMDISysAccel(mainForm_->ClientHandle(), &msg) != FALSE;
    if (!handled && !IsKeyMsg(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (!pendingRelease_.empty())
        FreeReleasedForms();
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::Idle() {
    DoMouseIdle();
    bool done = true;
    if (OnIdle) {
        try {
            OnIdle(this, done);
        } catch (...) {
            HandleException(this);
        }
    }
    if (TThread::CheckSynchronize())
        done = false;
    FreeReleasedForms();
    TControlCanvas::FreeDeviceContexts();
    if (done)
        WaitMessage();
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg))
        Idle();
}

void TApplication::Run() {
    if (mainForm_ && showMainForm_) {
        try {
            mainForm_->Show();
        } catch (...) {
            HandleException(this);
        }
    }
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

void TApplication::Minimize() {
    if (mainFormOnTaskBar_ && mainForm_ && mainForm_->HandleAllocated()) {
        ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
    } else if (handle_ && !IsIconic(handle_)) {
        hiddenForMinimize_.clear();
        if (TScreen* screen = FindScreen()) {
            for (int i = 0; i < screen->FormCount(); ++i) {
                TCustomForm* f = screen->Forms(i);
                if (f->HandleAllocated() && !f->Parent() && IsWindowVisible(f->Handle())) {
                    hiddenForMinimize_.push_back(f->Handle());
                    ShowWindow(f->Handle(), SW_HIDE);
                }
            }
        }
        appShownForMinimize_ = !IsWindowVisible(handle_);
        ShowWindow(handle_, SW_MINIMIZE);
    }
    if (OnMinimize)
        OnMinimize(this);
}

void TApplication::Restore() {
    if (mainFormOnTaskBar_ && mainForm_ && mainForm_->HandleAllocated()) {
        ShowWindow(mainForm_->Handle(), SW_RESTORE);
    } else if (handle_) {
        if (IsIconic(handle_))
            ShowWindow(handle_, SW_RESTORE);
        if (appShownForMinimize_) {
            // The window was shown only to hold the minimized program: hidden again, as before.
            ShowWindow(handle_, SW_HIDE);
            appShownForMinimize_ = false;
        }
        for (HWND w : hiddenForMinimize_)
            if (IsWindow(w))
                ShowWindow(w, SW_SHOWNA);
        hiddenForMinimize_.clear();
    }
    if (OnRestore)
        OnRestore(this);
}

void TApplication::BringToFront() {
    TCustomForm* form = FindScreen() ? FindScreen()->ActiveForm() : nullptr;
    if (!form)
        form = mainForm_;
    if (form && form->HandleAllocated() && IsWindowVisible(form->Handle()))
        SetForegroundWindow(form->Handle());
}

void TApplication::HandleException(TObject* Sender) {
    std::exception_ptr ep = std::current_exception();
    if (!ep || reportDepth_ > 1)
        return;  // nothing to report, or the report itself keeps failing
    ReportCaught("TApplication::HandleException");
    ++reportDepth_;
    try {
        try {
            std::rethrow_exception(ep);
        } catch (const std::exception& e) {
            if (OnException)
                OnException(Sender, e);
            else
                ShowException(e);
        } catch (...) {
            Exception e(L"Unknown exception");
            if (OnException)
                OnException(Sender, e);
            else
                ShowException(e);
        }
    } catch (...) {
        ReportCaught("TApplication::HandleException: the report itself");
    }
    --reportDepth_;
}

void TApplication::ShowException(const std::exception& E) {
    std::wstring text = ExceptionText(E);
    if (!text.empty() && text.back() > L'.')
        text += L'.';
    MessageBox(text, Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::wstring& Text, const std::wstring& Caption, UINT Flags) {
    HWND owner = GetActiveWindow();
    if (!owner)
        owner = handle_;
    return ::MessageBoxW(owner, Text.c_str(), Caption.c_str(), Flags);
}

bool TApplication::IsShortCut(TWMKey& Message) {
    bool handled = false;
    if (OnShortCut)
        OnShortCut(Message, handled);
    if (handled)
        return true;
    TCustomForm* active = FindScreen() ? FindScreen()->ActiveForm() : nullptr;
    if (mainForm_ && active != mainForm_ && mainForm_->HandleAllocated() && IsWindowEnabled(mainForm_->Handle()))
        return mainForm_->IsShortCut(Message);
    return false;
}

void TApplication::DoMouseIdle() {
    POINT p;
    if (!GetCursorPos(&p))
        return;
    TControl* target = FindDragTarget({static_cast<int>(p.x), static_cast<int>(p.y)}, true);
    if (target == mouseControl_)
        return;
    TControl* old = mouseControl_;
    mouseControl_ = target;
    if (old)
        old->Perform(CM_MOUSELEAVE);
    // The leave handler may have freed the new control (ControlDestroyed clears mouseControl_ then).
    if (target && mouseControl_ == target)
        target->Perform(CM_MOUSEENTER);
    HintMouseMessage(mouseControl_);
}

void TApplication::ControlDestroyed(TControl* Control) {
    if (mouseControl_ == Control)
        mouseControl_ = nullptr;
    HintControlDestroyed(Control);
}

// ---- TScreen --------------------------------------------------------------------------------------------------------
TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen() = default;

TCustomForm* TScreen::Forms(int Index) const {
    if (Index < 0 || Index >= FormCount())
        RaiseListIndexError(Index);
    return forms_[static_cast<size_t>(Index)];
}

void TScreen::AddForm(TCustomForm* Form) {
    if (std::find(forms_.begin(), forms_.end(), Form) != forms_.end())
        return;
    // Never activated forms follow the activated ones in order of creation: the end of the list is theirs.
    forms_.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
    auto it = std::find(forms_.begin(), forms_.end(), Form);
    if (it == forms_.end())
        return;
    forms_.erase(it);
    if (activeForm_ == Form) {
        activeForm_ = nullptr;
        activeControl_ = nullptr;
        if (OnActiveFormChange)
            OnActiveFormChange(this);
    }
}

void TScreen::SetFocusedForm(TCustomForm* Form, TWinControl* Control) {
    auto it = std::find(forms_.begin(), forms_.end(), Form);
    if (it == forms_.end())
        return;
    forms_.erase(it);
    forms_.insert(forms_.begin(), Form);
    const bool formChanged = activeForm_ != Form;
    const bool controlChanged = activeControl_ != Control;
    activeForm_ = Form;
    activeControl_ = Control;
    if (formChanged && OnActiveFormChange)
        OnActiveFormChange(this);
    if (controlChanged && OnActiveControlChange)
        OnActiveControlChange(this);
}

void TScreen::SetCursor(TCursor Value) {
    if (cursor_ == Value)
        return;
    cursor_ = Value;
    if (Value != crDefault) {
        ::SetCursor(Cursors(Value));
    } else {
        // Let the window under the mouse choose its cursor again.
        POINT p;
        if (GetCursorPos(&p))
            SetCursorPos(p.x, p.y);
    }
}

HCURSOR TScreen::Cursors(TCursor Value) const {
    const wchar_t* id = IDC_ARROW;
    switch (Value) {
        case crNone:
            return nullptr;
        case crCross:
            id = IDC_CROSS;
            break;
        case crIBeam:
            id = IDC_IBEAM;
            break;
        case crSizeNESW:
            id = IDC_SIZENESW;
            break;
        case crSizeNS:
            id = IDC_SIZENS;
            break;
        case crSizeNWSE:
            id = IDC_SIZENWSE;
            break;
        case crSizeWE:
            id = IDC_SIZEWE;
            break;
        case crUpArrow:
            id = IDC_UPARROW;
            break;
        case crHourGlass:
            id = IDC_WAIT;
            break;
        case crNo:
            id = IDC_NO;
            break;
        case crAppStart:
            id = IDC_APPSTARTING;
            break;
        case crHelp:
            id = IDC_HELP;
            break;
        case crHandPoint:
            id = IDC_HAND;
            break;
        case crSizeAll:
            id = IDC_SIZEALL;
            break;
        default:
            break;
    }
    return LoadCursorW(nullptr, id);
}

int TScreen::Width() const {
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const {
    return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::DesktopRect() const {
    return Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TRect TScreen::WorkAreaRect() const {
    RECT r;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return ToTRect(r);
}

int TScreen::PixelsPerInch() const {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc)
        ReleaseDC(nullptr, dc);
    return dpi;
}
