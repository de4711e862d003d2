// The tray icon component: the shell record, the hidden window that hears the icon's mouse, click timing,
// icon cycling, and the hooks that take a minimised application into the tray.
#include "skin/form/TrayIcon.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/Forms.h"

namespace {

constexpr wchar_t kIconWindowClass[] = L"TbsTrayIconWindow";
constexpr UINT_PTR kAppSubclassId = 0x7472;  // one subclass per tray icon: the reference data tells them apart
constexpr size_t kTipChars = 127;            // the shell's tooltip holds 128 characters with the terminator
constexpr size_t kInfoChars = 255;
constexpr size_t kInfoTitleChars = 63;

// "TaskbarCreated", registered once for every tray icon of the program.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void RegisterIconWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;  // replaced per window once its object is known
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kIconWindowClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

// Copies at most count characters of text into a terminated buffer of count + 1 or more.
template <size_t N>
void CopyCut(wchar_t (&buffer)[N], const std::wstring& text, size_t count) {
    std::fill(std::begin(buffer), std::end(buffer), L'\0');
    const size_t n = std::min({text.size(), count, N - 1});
    std::copy_n(text.data(), n, buffer);
}

TShiftState KeyShift() {
    TShiftState shift;
    if (GetAsyncKeyState(VK_SHIFT) < 0)
        shift.Include(ssShift);
    if (GetAsyncKeyState(VK_CONTROL) < 0)
        shift.Include(ssCtrl);
    if (GetAsyncKeyState(VK_MENU) < 0)
        shift.Include(ssAlt);
    return shift;
}

}  // namespace

TbsTrayIcon::TbsTrayIcon(TComponent* AOwner) : TComponent(AOwner), FIcon(std::make_unique<TIcon>()) {
    FShown = FIcon.get();
    FIconListLink.OnChange = [this](TObject*) { IconListChanged(); };
    TaskbarCreatedMessage();
    RegisterIconWindowClass();
    HWND wnd = CreateWindowExW(0, kIconWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (wnd) {
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TbsTrayIcon::StaticIconProc));
    }
    // The full record of this build: cbSize must match the structure the shell is given.
    IconData.cbSize = sizeof(NOTIFYICONDATAW);
    IconData.hWnd = wnd;
    IconData.uID = 1;
    IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    IconData.uCallbackMessage = WM_TRAYNOTIFY;

    AnimateTimer = new TTimer(this);
    AnimateTimer->SetEnabled(false);
    AnimateTimer->SetInterval(FAnimateTimerInterval);
    AnimateTimer->OnTimer = [this](TObject*) { TimerCycle(); };
    ClickTimer = new TTimer(this);
    ClickTimer->SetEnabled(false);
    ClickTimer->SetInterval(GetDoubleClickTime());
    ClickTimer->OnTimer = [this](TObject*) { TimerClick(); };

    if (!FIcon->Handle() && LoadDefaultIcon()) {
        HICON appIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        if (!appIcon)
            appIcon = LoadIconW(nullptr, IDI_APPLICATION);
        FIcon->SetHandle(CopyIcon(appIcon));
    }
    HookApp();
    HookForm();
}

TbsTrayIcon::~TbsTrayIcon() = default;

void TbsTrayIcon::BeforeDestruction() {
    SetIconVisible(false);
    UnhookForm();
    UnhookApp();
    if (HWND wnd = IconData.hWnd) {
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        DestroyWindow(wnd);
        IconData.hWnd = nullptr;
    }
    AnimateTimer->SetEnabled(false);
    ClickTimer->SetEnabled(false);
    TComponent::BeforeDestruction();
}

void TbsTrayIcon::Loaded() {
    TComponent::Loaded();
    if (OwnerControl() && FMinimizedOnStart) {
        FIconVisible = true;
        FMinimizeToTray = true;
        Application->SetShowMainForm(false);
        ShowWindow(Application->Handle(), SW_HIDE);
    }
    ModifyIcon();
    SetIconVisible(FIconVisible);
}

void TbsTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FPopupMenu)
        FPopupMenu = nullptr;
    if (AComponent == FIconList) {
        IconListChanged();
        FIconList = nullptr;
        SetCycleIcons(false);
    }
}

TWinControl* TbsTrayIcon::OwnerControl() const {
    return dynamic_cast<TWinControl*>(Owner());
}

// ---- Properties -----------------------------------------------------------------------------------------------

void TbsTrayIcon::SetIcon(TIcon* Value) {
    if (Value) {
        FIcon->Assign(Value);
        FShown = FIcon.get();
    }
    ModifyIcon();
}

void TbsTrayIcon::SetIconVisible(bool Value) {
    if (Value)
        ShowIcon();
    else
        HideIcon();
}

void TbsTrayIcon::SetHint(const std::wstring& Value) {
    FHint = Value;
    ModifyIcon();
}

void TbsTrayIcon::SetShowHint(bool Value) {
    FShowHint = Value;
    ModifyIcon();
}

void TbsTrayIcon::SetPopupMenu(TPopupMenu* Value) {
    if (FPopupMenu == Value)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsTrayIcon::SetIconList(TCustomImageList* Value) {
    if (FIconList != Value) {
        if (FIconList) {
            FIconList->UnRegisterChanges(&FIconListLink);
            FIconList->RemoveFreeNotification(this);
        }
        IconListChanged();
        FIconList = Value;
        if (Value) {
            Value->FreeNotification(this);
            Value->RegisterChanges(&FIconListLink);
        }
    }
    SetIconIndex(0);
}

void TbsTrayIcon::SetIconIndex(int Value) {
    // An empty image list has nothing to show: it counts as none.
    if (FIconList && FIconList->Count() > 0) {
        FIconIndex = std::clamp(Value, 0, FIconList->Count() - 1);
        if (TIcon* icon = ListIcon(FIconIndex))
            FShown = icon;
    } else {
        FIconIndex = 0;
    }
    ModifyIcon();
}

TIcon* TbsTrayIcon::ListIcon(int index) {
    const int count = FIconList ? FIconList->Count() : 0;
    if (index < 0 || index >= count)
        return nullptr;
    if (FListIcons.size() != static_cast<size_t>(count)) {
        IconListChanged();
        FListIcons.resize(static_cast<size_t>(count));
    }
    std::unique_ptr<TIcon>& icon = FListIcons[static_cast<size_t>(index)];
    if (!icon) {
        auto made = std::make_unique<TIcon>();
        FIconList->GetIcon(index, made.get());
        if (!made->Handle())
            return nullptr;
        // The shell shows the icon at the notification area's size and would scale a picture of another size
        // every time it is handed one: each image becomes an icon of that size once.
        const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
        if (cx > 0 && cy > 0 && (FIconList->Width() != cx || FIconList->Height() != cy)) {
            if (HICON sized = static_cast<HICON>(CopyImage(made->Handle(), IMAGE_ICON, cx, cy, 0)))
                made->SetHandle(sized);
        }
        icon = std::move(made);
    }
    return icon.get();
}

void TbsTrayIcon::IconListChanged() {
    // The icon on show stays until another is chosen; the others are made again from the list when needed.
    if (FShown != FIcon.get()) {
        FIcon->Assign(FShown);
        FShown = FIcon.get();
        IconData.hIcon = FShown->Handle();  // the same picture: the shell holds its own copy already
    }
    FListIcons.clear();
}

void TbsTrayIcon::SetCycleIcons(bool Value) {
    FCycleIcons = Value;
    if (Value)
        SetIconIndex(0);
    AnimateTimer->SetEnabled(Value);
}

void TbsTrayIcon::SetAnimateTimerInterval(UINT Value) {
    FAnimateTimerInterval = Value;
    AnimateTimer->SetInterval(Value);
}

// ---- Shell ----------------------------------------------------------------------------------------------------

void TbsTrayIcon::InitIcon() {
    IconData.hIcon = FShown->Handle();
    if (FHint.empty() || !FShowHint)
        std::fill(std::begin(IconData.szTip), std::end(IconData.szTip), L'\0');
    else
        CopyCut(IconData.szTip, FHint, kTipChars);
    // The icon's hidden window carries the tip as its text: the shell's tray cannot be read from outside, this
    // window can (tests, accessibility tools). Set only when it changes: a blink hands over the icon alone.
    if (IconData.hWnd && windowTip_ != IconData.szTip) {
        windowTip_ = IconData.szTip;
        SetWindowTextW(IconData.hWnd, IconData.szTip);
    }
}

bool TbsTrayIcon::Notify(DWORD message) {
    if (!IconData.hWnd)
        return false;
    InitIcon();
    return Shell_NotifyIconW(message, &IconData) != FALSE;
}

bool TbsTrayIcon::ShowIcon() {
    FIconVisible = true;
    const bool ok = Notify(NIM_ADD);
    FInShell = FInShell || ok;
    return ok;
}

// An icon the shell does not hold is neither taken out nor changed there: each call is a round trip to the shell's
// process, and a window built with its icon hidden would make several before its first paint. The icon's data is
// kept current and goes with the next NIM_ADD.
bool TbsTrayIcon::HideIcon() {
    FIconVisible = false;
    if (!FInShell) {
        InitIcon();
        return false;
    }
    FInShell = false;
    return Notify(NIM_DELETE);
}

bool TbsTrayIcon::ModifyIcon() {
    if (!FInShell) {
        InitIcon();
        return false;
    }
    return Notify(NIM_MODIFY);
}

bool TbsTrayIcon::ShowBalloonHint(const std::wstring& Title, const std::wstring& Text, TbsBalloonHintIcon IconType) {
    HideBalloonHint();
    IconData.uFlags |= NIF_INFO;
    CopyCut(IconData.szInfo, Text, kInfoChars);
    CopyCut(IconData.szInfoTitle, Title, kInfoTitleChars);
    static constexpr DWORD kInfoFlags[] = {NIIF_NONE, NIIF_INFO, NIIF_WARNING, NIIF_ERROR};
    IconData.dwInfoFlags = kInfoFlags[IconType];
    const bool ok = ModifyIcon();
    IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return ok;
}

bool TbsTrayIcon::HideBalloonHint() {
    IconData.uFlags |= NIF_INFO;
    std::fill(std::begin(IconData.szInfo), std::end(IconData.szInfo), L'\0');
    const bool ok = ModifyIcon();
    IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return ok;
}

// ---- Events ---------------------------------------------------------------------------------------------------

void TbsTrayIcon::Click() {
    if (OnClick)
        OnClick(this);
}

void TbsTrayIcon::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

int TbsTrayIcon::NextIconIndex() {
    if (!FIconList || FIconList->Count() == 0)
        return 0;
    return FIconIndex + 1 < FIconList->Count() ? FIconIndex + 1 : 0;
}

void TbsTrayIcon::CycleIcon() {
    if (OnCycle)
        OnCycle(this, NextIconIndex());
}

void TbsTrayIcon::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TbsTrayIcon::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TbsTrayIcon::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TbsTrayIcon::DoMinimizeToTray() {
    HideMainForm();
    SetIconVisible(true);
}

void TbsTrayIcon::TimerClick() {
    ClickTimer->SetEnabled(false);
    if (!IsDblClick && FClickReady) {
        FClickReady = false;
        Click();
    }
    IsDblClick = false;
}

void TbsTrayIcon::TimerCycle() {
    if (!FIconList || FIconList->Count() == 0)
        return;
    if (TIcon* icon = ListIcon(std::min(FIconIndex, FIconList->Count() - 1)))
        FShown = icon;
    CycleIcon();
    ModifyIcon();
    SetIconIndex(NextIconIndex());
}

void TbsTrayIcon::PopupAtCursor() {
    if (!FPopupMenu || !FPopupMenu->AutoPopup())
        return;
    POINT pt;
    if (!GetCursorPos(&pt))
        return;
    Application->ProcessMessages();
    // The menu closes properly on a click elsewhere only when our windows are in the foreground.
    SetForegroundWindow(IconData.hWnd);
    TWinControl* owner = OwnerControl();
    if (owner && owner->HandleAllocated())
        SetForegroundWindow(owner->Handle());
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(pt.x, pt.y);
    if (owner && owner->HandleAllocated())
        PostMessageW(owner->Handle(), WM_NULL, 0, 0);
}

// ---- Windows --------------------------------------------------------------------------------------------------

LRESULT CALLBACK TbsTrayIcon::StaticIconProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TbsTrayIcon*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return self->HandleIconMessage(msg, wParam, lParam);
    } catch (...) {
        Application->HandleException(self);
        return 0;
    }
}

LRESULT TbsTrayIcon::HandleIconMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TRAYNOTIFY:
            break;
        // The hidden window never holds up logging off or shutting down.
        case WM_DESTROY:
        case WM_CLOSE:
        case WM_QUERYENDSESSION:
        case WM_QUIT:
        case WM_USERCHANGED:
        case WM_NCDESTROY:
            return 1;
        default:
            return DefWindowProcW(IconData.hWnd, msg, wParam, lParam);
    }
    if (!FEnabled)
        return 0;
    POINT pt{};
    GetCursorPos(&pt);
    const TShiftState shift = KeyShift();
    switch (static_cast<UINT>(lParam)) {
        case WM_MOUSEMOVE:
            MouseMove(shift, pt.x, pt.y);
            break;
        case WM_LBUTTONDOWN:
            ClickTimer->SetEnabled(true);
            MouseDown(mbLeft, shift + ssLeft, pt.x, pt.y);
            FClickStart = true;
            if (FPopupByLeftButton)
                PopupAtCursor();
            break;
        case WM_LBUTTONUP:
            if (FClickStart) {
                FClickReady = true;
                if (!ClickTimer->Enabled()) {
                    // Held longer than the double-click time: the click counts at once.
                    FClickStart = FClickReady = false;
                    Click();
                }
            }
            FClickStart = false;
            MouseUp(mbLeft, shift + ssLeft, pt.x, pt.y);
            break;
        case WM_LBUTTONDBLCLK:
            FClickReady = false;
            IsDblClick = true;
            DblClick();
            if (FPopupMenu && FPopupMenu->AutoPopup() && !FPopupByLeftButton) {
                TMenuItem* items = FPopupMenu->Items();
                TMenuItem* found = nullptr;
                for (int i = items->Count() - 1; i >= 0; --i) {
                    if (items->Items(i)->Default())
                        found = items->Items(i);
                }
                if (found)
                    found->Click();
            }
            break;
        case WM_RBUTTONDOWN:
            MouseDown(mbRight, shift + ssRight, pt.x, pt.y);
            PopupAtCursor();
            break;
        case WM_RBUTTONUP:
            MouseUp(mbRight, shift + ssRight, pt.x, pt.y);
            break;
        case WM_MBUTTONDOWN:
            MouseDown(mbMiddle, shift + ssMiddle, pt.x, pt.y);
            break;
        case WM_MBUTTONUP:
            MouseUp(mbMiddle, shift + ssMiddle, pt.x, pt.y);
            break;
        case NIN_BALLOONUSERCLICK:
            if (OnBalloonHintClick)
                OnBalloonHintClick(this);
            break;
    }
    return 0;
}

void TbsTrayIcon::HookApp() {
    HWND app = Application->Handle();
    if (app && SetWindowSubclass(app, &TbsTrayIcon::AppSubclassProc, kAppSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        hookedApp_ = app;
}

void TbsTrayIcon::UnhookApp() {
    if (hookedApp_)
        RemoveWindowSubclass(hookedApp_, &TbsTrayIcon::AppSubclassProc, kAppSubclassId);
    hookedApp_ = nullptr;
}

LRESULT CALLBACK
TbsTrayIcon::AppSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR selfData) {
    auto* self = reinterpret_cast<TbsTrayIcon*>(selfData);
    try {
        if (msg == WM_SIZE && wParam == SIZE_MINIMIZED && self->FMinimizeToTray)
            self->DoMinimizeToTray();
        else if (msg == TaskbarCreatedMessage() && self->FIconVisible)
            self->ShowIcon();  // the taskbar came back without our icon
    } catch (...) {
        Application->HandleException(self);
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void TbsTrayIcon::HookForm() {
    TWinControl* owner = OwnerControl();
    if (!owner)
        return;
    hookedForm_ = owner;
    OldWndProc = owner->WindowProc;
    owner->WindowProc = [this](TMessage& m) { HookFormProc(m); };
}

void TbsTrayIcon::UnhookForm() {
    if (hookedForm_)
        hookedForm_->WindowProc = OldWndProc;
    hookedForm_ = nullptr;
}

void TbsTrayIcon::HookFormProc(TMessage& Message) {
    TWinControl* form = hookedForm_;
    switch (Message.Msg) {
        case WM_ACTIVATE:
            if (LOWORD(Message.WParam) == WA_ACTIVE || LOWORD(Message.WParam) == WA_CLICKACTIVE) {
                // Coming back to the form puts the keyboard focus back on its active control.
                if (TWinControl* active = Screen->ActiveControl()) {
                    TWinControl* parent = active->Parent() ? active->Parent() : active;
                    const HWND losing = reinterpret_cast<HWND>(Message.LParam);
                    if (active->HandleAllocated() && (!parent->HandleAllocated() || losing != parent->Handle()))
                        SetFocus(active->Handle());
                }
            }
            break;
        case WM_SHOWWINDOW:
            if (Message.WParam == 1 && Message.LParam == 0) {
                HWND app = Application->Handle();
                if (app && IsIconic(app))
                    ShowWindow(app, SW_RESTORE);
                if (app)
                    SetForegroundWindow(app);
                if (form->HandleAllocated())
                    SetForegroundWindow(form->Handle());
            }
            break;
        case WM_SIZE:
            // With the main form on the taskbar, minimising the application minimises the form itself.
            if (Message.WParam == SIZE_MINIMIZED && FMinimizeToTray && Application->MainFormOnTaskBar() &&
                Application->MainForm() == form)
                DoMinimizeToTray();
            break;
    }
    if (OldWndProc)
        OldWndProc(Message);
}

void TbsTrayIcon::HideMainForm() {
    TCustomForm* main = Application->MainForm();
    if (!OwnerControl() || !main)
        return;
    main->SetVisible(false);
    ShowWindow(Application->Handle(), SW_HIDE);
    main->SetTag(kTrayFormTag);
}

void TbsTrayIcon::ShowMainForm() {
    TCustomForm* main = Application->MainForm();
    if (!OwnerControl() || !main)
        return;
    Application->Restore();
    main->SetVisible(true);
    if (main->WindowState() == wsMinimized)
        main->SetWindowState(wsNormal);
    main->SetTag(kTrayFormTag);
    if (main->HandleAllocated())
        PostMessageW(main->Handle(), WM_TRAYSHOWMAINFORM, 0, 0);
}
