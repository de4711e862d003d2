// Hints: the hint window and the application's hint machinery (timers, the control under the mouse).
#include "classlib/Hints.h"

#include <algorithm>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/GdiHandles.h"

std::wstring GetShortHint(const std::wstring& Hint) {
    const size_t bar = Hint.find(L'|');
    return bar == std::wstring::npos ? Hint : Hint.substr(0, bar);
}

std::wstring GetLongHint(const std::wstring& Hint) {
    const size_t bar = Hint.find(L'|');
    return bar == std::wstring::npos ? Hint : Hint.substr(bar + 1);
}

// ---- THintWindow ----------------------------------------------------------------------------------------------------
namespace {
constexpr int kMarginX = 4, kMarginY = 2;
constexpr UINT kHintTextFlags = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csOpaque});
    SetVisible(false);
    SetColor(clInfoBk);
    SetParentFont(false);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WndParent = Application->Handle();
    Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::wstring& AHint, void*) {
    TClientDC screen(nullptr);
    HGDIOBJ old = SelectObject(screen, Font()->Handle());
    RECT r{0, 0, std::max(1, MaxWidth - 2 * kMarginX - 2), 0};
    DrawTextW(screen, AHint.c_str(), static_cast<int>(AHint.size()), &r, kHintTextFlags | DT_CALCRECT);
    SelectObject(screen, old);
    // The border is outside the client area: add it.
    return {0, 0, r.right + 2 * kMarginX + 2, r.bottom + 2 * kMarginY + 2};
}

void THintWindow::ActivateHint(TRect Rect, const std::wstring& AHint) {
    SetCaption(AHint);
    // Keep the hint inside the work area of its monitor.
    POINT p{Rect.Left, Rect.Top};
    MONITORINFO mi{sizeof(mi)};
    if (GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &mi)) {
        const RECT& wa = mi.rcWork;
        const int w = Rect.Width(), h = Rect.Height();
        Rect.Left = std::max(static_cast<int>(wa.left), std::min(Rect.Left, static_cast<int>(wa.right) - w));
        Rect.Top = std::max(static_cast<int>(wa.top), std::min(Rect.Top, static_cast<int>(wa.bottom) - h));
        Rect.Right = Rect.Left + w;
        Rect.Bottom = Rect.Top + h;
    }
    SetBoundsRect(Rect);
    active_ = true;
    SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisible(true);
    Invalidate();
}

void THintWindow::ActivateHintData(TRect Rect, const std::wstring& AHint, void*) {
    ActivateHint(Rect, AHint);
}

void THintWindow::ReleaseHandle() {
    active_ = false;
    SetVisible(false);
}

void THintWindow::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    TRect r = ClientRect();
    r = {r.Left + kMarginX, r.Top + kMarginY, r.Right - kMarginX, r.Bottom - kMarginY};
    std::wstring text = Caption();
    c->DrawText(text, r, kHintTextFlags);
}

void THintWindow::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCHITTEST:
            Message.Result = HTTRANSPARENT;  // the mouse belongs to what lies below
            return;
        case WM_MOUSEACTIVATE:
            Message.Result = MA_NOACTIVATE;
            return;
        case CM_TEXTCHANGED:
            Invalidate();
            return;
        default:
            break;
    }
    TCustomControl::WndProc(Message);
}

// ---- The application's hint machinery -------------------------------------------------------------------------------
// The pending or shown hint: created with the application (as its component) on first use.
class THintManager : public TComponent {
  public:
    explicit THintManager(TApplication* app) : TComponent(app), app_(app) {
        showTimer_ = new TTimer(this);
        showTimer_->SetEnabled(false);
        showTimer_->OnTimer = [this](TObject*) { ShowNow(); };
        hideTimer_ = new TTimer(this);
        hideTimer_->SetEnabled(false);
        hideTimer_->OnTimer = [this](TObject*) { Hide(); };
    }
    ~THintManager() override {
        if (gManager == this)
            gManager = nullptr;
    }
    static THintManager* Get() {
        if (!gManager)
            gManager = new THintManager(Application);
        return gManager;
    }
    static THintManager* Existing() { return gManager; }

    // The mouse moved onto Control (nullptr: onto no control of ours).
    void MouseOn(TControl* control) {
        if (control == control_)
            return;
        const bool wasShowing = window_ && window_->Active();
        Hide();
        control_ = nullptr;
        showTimer_->SetEnabled(false);
        if (!control || !app_->ShowHint() || !control->ShowHint() || GetShortHint(HintOf(control)).empty())
            return;
        control_ = control;
        // Moving from one hint to the next shows the next one sooner.
        const bool recent = wasShowing || GetTickCount() - lastHidden_ < 300;
        const int pause = recent ? app_->HintShortPause : app_->HintPause;
        if (pause <= 0) {
            ShowNow();
            return;
        }
        showTimer_->SetInterval(static_cast<UINT>(pause));
        showTimer_->SetEnabled(true);
    }

    void ShowNow() {
        showTimer_->SetEnabled(false);
        TControl* control = control_;
        if (!control || app_->MouseControl() != control)
            return;
        POINT cursor{};
        GetCursorPos(&cursor);
        THintInfo info;
        info.HintControl = control;
        info.CursorPos = {static_cast<int>(cursor.x), static_cast<int>(cursor.y)};
        const TPoint origin = control->ClientToScreen({0, 0});
        info.CursorRect = Bounds(origin.X, origin.Y, control->Width(), control->Height());
        // Below the cursor's picture.
        info.HintPos = {info.CursorPos.X, info.CursorPos.Y + GetSystemMetrics(SM_CYCURSOR) * 3 / 4};
        info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
        info.HintColor = app_->HintColor;
        info.HintStr = GetShortHint(HintOf(control));
        info.HideTimeout = app_->HintHidePause;
        info.HintWindowClass = app_->HintWindowClass;
        bool canShow = true;
        if (app_->OnShowHint)
            app_->OnShowHint(info.HintStr, canShow, info);
        if (!canShow || info.HintStr.empty() || control_ != control)
            return;
        THintWindow* window = WindowOf(info.HintWindowClass);
        if (!window)
            return;
        window->SetColor(info.HintColor);
        TRect r = window->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
        r = Bounds(info.HintPos.X, info.HintPos.Y, r.Width(), r.Height());
        window->ActivateHintData(r, info.HintStr, info.HintData);
        if (info.HideTimeout > 0) {
            hideTimer_->SetInterval(static_cast<UINT>(info.HideTimeout));
            hideTimer_->SetEnabled(true);
        }
    }

    void Hide() {
        hideTimer_->SetEnabled(false);
        if (window_ && window_->Active()) {
            window_->ReleaseHandle();
            lastHidden_ = GetTickCount();
        }
    }

    // Hides the hint and waits until the mouse reaches another control.
    void Cancel() {
        showTimer_->SetEnabled(false);
        Hide();
    }

    void Forget(TControl* control) {
        if (control == control_) {
            Cancel();
            control_ = nullptr;
        }
        if (control == window_)
            window_ = nullptr;
    }

    THintWindow* Window() const { return window_; }

    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == window_)
            window_ = nullptr;
    }

  private:
    // The hint text: the control's, else the nearest parent's.
    static std::wstring HintOf(TControl* control) {
        for (TControl* c = control; c; c = c->Parent())
            if (!c->Hint().empty())
                return c->Hint();
        return L"";
    }

    // The hint window made by the class in use; a new one when the class changed.
    THintWindow* WindowOf(const THintWindowClass& make) {
        const void* key = make ? make.target_type().name() : nullptr;
        if (window_ && key != windowClassKey_) {
            delete window_;
            window_ = nullptr;
        }
        if (!window_) {
            window_ = make ? make(app_) : new THintWindow(app_);
            windowClassKey_ = key;
            if (window_)
                window_->FreeNotification(this);
        }
        return window_;
    }

    static inline THintManager* gManager = nullptr;
    TApplication* app_;  // borrowed: our owner
    TTimer* showTimer_;  // owned as components
    TTimer* hideTimer_;
    TControl* control_ = nullptr;    // borrowed: forgotten when freed (TApplication::ControlDestroyed)
    THintWindow* window_ = nullptr;  // borrowed: the application owns it; cleared by Notification
    const void* windowClassKey_ = nullptr;
    DWORD lastHidden_ = 0;
};

void TApplication::HintMouseMessage(TControl* Control) {
    if (Control || THintManager::Existing())
        THintManager::Get()->MouseOn(Control);
}

void TApplication::ActivateHint(TPoint) {
    THintManager* m = THintManager::Get();
    m->MouseOn(nullptr);
    m->MouseOn(mouseControl_);
    m->ShowNow();
}

void TApplication::CancelHint() {
    if (THintManager* m = THintManager::Existing())
        m->Cancel();
}

void TApplication::HideHint() {
    if (THintManager* m = THintManager::Existing())
        m->Hide();
}

THintWindow* TApplication::HintWindow() const {
    THintManager* m = THintManager::Existing();
    return m ? m->Window() : nullptr;
}

void TApplication::HintControlDestroyed(TControl* Control) {
    if (THintManager* m = THintManager::Existing())
        m->Forget(Control);
}
