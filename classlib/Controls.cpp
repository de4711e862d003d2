// The control classes: message dispatch, window creation, painting, alignment, mouse and keyboard routing.
#include "classlib/Controls.h"

#include <algorithm>
#include <cstdlib>

#include "base/Report.h"
#include "classlib/Forms.h"
#include "classlib/GdiHandles.h"
#include "classlib/Menus.h"
#include "classlib/OutsideControls.h"

namespace {

constexpr wchar_t kControlProp[] = L"TrelmControl";
constexpr wchar_t kNameProp[] = L"TrelmName";

// The control whose window CreateWindowEx is making: its first message attaches the window to it, so that the
// replaced WindowProc sees WM_GETMINMAXINFO, WM_NCCREATE and WM_NCCALCSIZE.
thread_local TWinControl* tCreating = nullptr;
// Running window procedures of this thread, a chain from the innermost outwards (for Release, which must not free a
// form under them). The chain's head lives in a system TLS slot, never freed: the system still destroys a thread's
// windows, through their window procedures, after the runtime has torn down its own thread-local objects.
DWORD DispatchSlot() {
    static const DWORD slot = TlsAlloc();
    return slot;
}
TWinControl::AliveFlag* DispatchTop() {
    return static_cast<TWinControl::AliveFlag*>(TlsGetValue(DispatchSlot()));
}
void SetDispatchTop(TWinControl::AliveFlag* Flag) {
    TlsSetValue(DispatchSlot(), Flag);
}
// The control holding the mouse; a non-windowed one holds it through its parent's window. Borrowed: cleared when
// it is freed.
TControl* gCaptureControl = nullptr;
int gNextCtlId = 100;

// The drag in progress. Source and target are borrowed: a control that is freed ends or leaves the drag.
struct DragInfo {
    TControl* source = nullptr;
    TControl* target = nullptr;  // the control under the mouse that was last told about the drag
    bool started = false;        // false while the mouse has not yet moved past the threshold
    bool accepted = false;       // the target's last answer
    TPoint origin{};             // screen point where the drag was asked for
    int threshold = 0;
};
DragInfo gDrag;

// Signed client coordinates of a mouse message (negative beyond the left or top edge while captured).
TPoint MessagePoint(LPARAM l) {
    return {static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
}

LPARAM PointToLParam(TPoint p) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(p.X)), static_cast<WORD>(static_cast<short>(p.Y)));
}

bool IsNativeProc(WNDPROC proc) {
    return proc && proc != DefWindowProcW;
}

void ReportException(TObject* sender) {
    // Reached from catch blocks only: HandleException looks at the exception being handled.
    try {
        if (TApplication* app = GetApplication())
            app->HandleException(sender);
    } catch (...) {
        ReportCaught("ReportException: the report itself");
    }
}

}  // namespace

// ---- Shift states ---------------------------------------------------------------------------------------------------
TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT)
        s.Include(ssShift);
    if (keys & MK_CONTROL)
        s.Include(ssCtrl);
    if (keys & MK_LBUTTON)
        s.Include(ssLeft);
    if (keys & MK_RBUTTON)
        s.Include(ssRight);
    if (keys & MK_MBUTTON)
        s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        s.Include(ssAlt);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0)
        s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        s.Include(ssCtrl);
    if (keyData & 0x20000000)
        s.Include(ssAlt);
    return s;
}

TShiftState GetShiftState() {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0)
        s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0)
        s.Include(ssAlt);
    if (GetKeyState(VK_LBUTTON) < 0)
        s.Include(ssLeft);
    if (GetKeyState(VK_RBUTTON) < 0)
        s.Include(ssRight);
    if (GetKeyState(VK_MBUTTON) < 0)
        s.Include(ssMiddle);
    return s;
}

// ---- TControl -------------------------------------------------------------------------------------------------------
TControl::TControl(TComponent* AOwner) : TComponent(AOwner), font_(std::make_unique<TFont>()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
    // A control destroyed without the destroying delete (on the stack) still leaves its parent.
    Destroying();
    if (gCaptureControl == this)
        gCaptureControl = nullptr;
    if (gDrag.source == this)
        gDrag = DragInfo{};
    if (gDrag.target == this)
        gDrag.target = nullptr;
    if (TApplication* app = FindApplication())
        app->ControlDestroyed(this);
    if (parent_)
        parent_->RemoveControl(this);
}

void TControl::BeforeDestruction() {
    TComponent::BeforeDestruction();
    if (gDrag.source == this)
        EndDrag(false);
    if (gDrag.target == this)
        gDrag.target = nullptr;
    if (gCaptureControl == this)
        SetCaptureControl(nullptr);
    if (TApplication* app = FindApplication())
        app->ControlDestroyed(this);
    if (parent_)
        parent_->RemoveControl(this);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage m{Msg, WParam, LParam, 0};
    if (WindowProc)
        WindowProc(m);
    else
        WndProc(m);
    return m.Result;
}

void TControl::DefaultTextMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_GETTEXTLENGTH:
            m.Result = static_cast<LRESULT>(text_.size());
            break;
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<wchar_t*>(m.LParam);
            if (!buffer || m.WParam == 0) {
                m.Result = 0;
                break;
            }
            size_t n = std::min<size_t>(text_.size(), m.WParam - 1);
            std::copy_n(text_.data(), n, buffer);
            buffer[n] = L'\0';
            m.Result = static_cast<LRESULT>(n);
            break;
        }
        case WM_SETTEXT:
            text_ = m.LParam ? reinterpret_cast<const wchar_t*>(m.LParam) : L"";
            m.Result = TRUE;
            break;
        default:
            m.Result = 0;
    }
}

void TControl::DefaultHandler(TMessage& Message) {
    DefaultTextMessage(Message);
}

void TControl::WndProc(TMessage& Message) {
    if (gDrag.source == this && HandleDragMessage(Message))
        return;
    switch (Message.Msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            // The handler may free the control (a click that closes its form): nothing may follow it.
            if (HandleMouseMessage(Message))
                return;
            break;
        case WM_CONTEXTMENU:
            HandleContextMenu(Message);
            if (Message.Result)
                return;
            break;
        case CM_MOUSEENTER:
            if (OnMouseEnter)
                OnMouseEnter(this);
            return;
        case CM_MOUSELEAVE:
            if (OnMouseLeave)
                OnMouseLeave(this);
            return;
        case CM_HITTEST:
            Message.Result = 1;
            return;
        case CM_PARENTFONTCHANGED:
            if (parentFont_ && parent_) {
                updatingFont_ = true;
                try {
                    font_->Assign(parent_->Font());
                } catch (...) {
                    updatingFont_ = false;
                    throw;
                }
                updatingFont_ = false;
            }
            return;
        case CM_PARENTCOLORCHANGED:
            if (parentColor_ && parent_) {
                color_ = parent_->Color();
                Perform(CM_COLORCHANGED);
            }
            return;
        case CM_VISIBLECHANGED:
        case CM_ENABLEDCHANGED:
        case CM_TEXTCHANGED:
        case CM_COLORCHANGED:
        case CM_FONTCHANGED:
            Invalidate();
            return;
        default:
            break;
    }
    DefaultHandler(Message);
}

bool TControl::HandleMouseMessage(TMessage& m) {
    const TPoint p = MessagePoint(m.LParam);
    switch (m.Msg) {
        case WM_MOUSEMOVE:
            MouseMove(KeysToShiftState(m.WParam), p.X, p.Y);
            return false;
        case WM_LBUTTONDOWN:
            DoMouseDown(m, mbLeft, {});
            return false;
        case WM_LBUTTONDBLCLK:
            if (controlStyle_.Contains(csDoubleClicks)) {
                DblClick();
                DoMouseDown(m, mbLeft, {ssDouble});
            } else {
                DoMouseDown(m, mbLeft, {});
            }
            return false;
        case WM_RBUTTONDOWN:
            DoMouseDown(m, mbRight, {});
            return false;
        case WM_RBUTTONDBLCLK:
            DoMouseDown(m, mbRight, {ssDouble});
            return false;
        case WM_MBUTTONDOWN:
            DoMouseDown(m, mbMiddle, {});
            return false;
        case WM_MBUTTONDBLCLK:
            DoMouseDown(m, mbMiddle, {ssDouble});
            return false;
        case WM_LBUTTONUP:
            DoMouseUp(m, mbLeft);
            return false;
        case WM_RBUTTONUP:
            DoMouseUp(m, mbRight);
            return false;
        case WM_MBUTTONUP:
            DoMouseUp(m, mbMiddle);
            return false;
        default:
            return false;
    }
}

void TControl::DoMouseDown(TMessage& m, TMouseButton button, TShiftState shift) {
    if (button == mbLeft) {
        // Native windows detect their own drags (list views tell us through LVN_BEGINDRAG).
        auto* win = dynamic_cast<TWinControl*>(this);
        if (dragMode_ == dmAutomatic && !(win && IsNativeProc(win->defWndProc_)))
            BeginDrag(false);  // a release before the mouse moved far stays a click
        // Native windows track their own button presses; ours capture so that the release arrives.
        auto* self = dynamic_cast<TWinControl*>(this);
        if (controlStyle_.Contains(csCaptureMouse) && !(self && IsNativeProc(self->defWndProc_)))
            SetMouseCapture(true);
        if (controlStyle_.Contains(csClickEvents))
            controlState_.Include(csClicked);
    }
    const TPoint p = MessagePoint(m.LParam);
    MouseDown(button, KeysToShiftState(m.WParam) + shift, p.X, p.Y);
}

void TControl::DoMouseUp(TMessage& m, TMouseButton button) {
    const TPoint p = MessagePoint(m.LParam);
    bool click = false;
    if (button == mbLeft) {
        // Only a capture this layer took is given back: a native button holds its own until its click.
        auto* self = dynamic_cast<TWinControl*>(this);
        if (controlStyle_.Contains(csCaptureMouse) && !(self && IsNativeProc(self->defWndProc_)) && MouseCapture())
            SetMouseCapture(false);
        if (controlState_.Contains(csClicked)) {
            controlState_.Exclude(csClicked);
            click = TRect{0, 0, width_, height_}.Contains(p);
        }
    }
    // OnMouseUp before OnClick: the click may free the control, so it comes last.
    MouseUp(button, KeysToShiftState(m.WParam), p.X, p.Y);
    if (click)
        Click();
}

void TControl::HandleContextMenu(TMessage& m) {
    m.Result = 0;
    TPoint screen = MessagePoint(m.LParam);
    const bool fromKeyboard = screen.X == -1 && screen.Y == -1;
    TPoint local = fromKeyboard ? TPoint{-1, -1} : ScreenToClient(screen);
    bool handled = false;
    DoContextPopup(local, handled);
    if (handled) {
        m.Result = 1;
        return;
    }
    if (popupMenu_ && popupMenu_->AutoPopup()) {
        if (fromKeyboard)
            screen = ClientToScreen({0, 0});
        popupMenu_->SetPopupComponent(this);
        popupMenu_->Popup(screen.X, screen.Y);
        m.Result = 1;
    }
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
    if (OnContextPopup)
        OnContextPopup(this, MousePos, Handled);
}

// ---- Drag and drop
// ---------------------------------------------------------------------------------------------------
namespace {

void SetDragCursor(bool accepted) {
    ::SetCursor(LoadCursorW(nullptr, accepted ? IDC_ARROW : IDC_NO));
}

}  // namespace

bool TControl::Dragging() const {
    return gDrag.source == this;
}

void TControl::BeginDrag(bool Immediate, int Threshold) {
    if (gDrag.source)
        gDrag.source->EndDrag(false);
    POINT cursor{};
    GetCursorPos(&cursor);
    gDrag = DragInfo{};
    gDrag.source = this;
    gDrag.started = Immediate;
    gDrag.origin = {static_cast<int>(cursor.x), static_cast<int>(cursor.y)};
    gDrag.threshold = Threshold >= 0 ? Threshold : GetSystemMetrics(SM_CXDRAG);
    // The source keeps the mouse until the release, wherever the pointer goes inside or outside the form.
    SetCaptureControl(this);
    if (GetCaptureControl() != this) {
        gDrag = DragInfo{};
        return;
    }
    if (Immediate)
        SetDragCursor(false);
}

void TControl::EndDrag(bool Drop) {
    if (gDrag.source != this)
        return;
    const DragInfo drag = gDrag;
    gDrag = DragInfo{};
    if (gCaptureControl == this)
        SetCaptureControl(nullptr);
    if (!drag.started || !drag.target)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    const TPoint local = drag.target->ScreenToClient({static_cast<int>(cursor.x), static_cast<int>(cursor.y)});
    if (Drop && drag.accepted) {
        drag.target->DragDrop(this, local.X, local.Y);
    } else {
        bool accept = false;
        drag.target->DragOver(this, local.X, local.Y, dsDragLeave, accept);
    }
}

bool TControl::HandleDragMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_MOUSEMOVE: {
            const TPoint screen = ClientToScreen(MessagePoint(m.LParam));
            if (!gDrag.started) {
                if (std::abs(screen.X - gDrag.origin.X) <= gDrag.threshold &&
                    std::abs(screen.Y - gDrag.origin.Y) <= gDrag.threshold)
                    return false;
                gDrag.started = true;
            }
            TControl* target = FindDragTarget(screen, false);
            if (target != gDrag.target) {
                if (TControl* old = gDrag.target) {
                    gDrag.target = nullptr;
                    bool accept = false;
                    const TPoint p = old->ScreenToClient(screen);
                    old->DragOver(this, p.X, p.Y, dsDragLeave, accept);
                }
                gDrag.target = target;
                gDrag.accepted = false;
                if (target) {
                    bool accept = static_cast<bool>(target->OnDragOver);
                    const TPoint p = target->ScreenToClient(screen);
                    target->DragOver(this, p.X, p.Y, dsDragEnter, accept);
                    gDrag.accepted = accept;
                }
            } else if (target) {
                bool accept = static_cast<bool>(target->OnDragOver);
                const TPoint p = target->ScreenToClient(screen);
                target->DragOver(this, p.X, p.Y, dsDragMove, accept);
                if (gDrag.target == target)
                    gDrag.accepted = accept;
            }
            SetDragCursor(gDrag.accepted);
            return true;
        }
        case WM_LBUTTONUP:
            if (!gDrag.started) {
                // A press and release without movement stays a click.
                gDrag = DragInfo{};
                return false;
            }
            controlState_.Exclude(csClicked);
            EndDrag(true);
            return true;
        case WM_SETCURSOR:
            if (!gDrag.started)
                return false;
            SetDragCursor(gDrag.accepted);
            m.Result = 1;
            return true;
        case WM_KEYDOWN:
            if (m.WParam != VK_ESCAPE)
                return false;
            EndDrag(false);
            return true;
        case WM_CANCELMODE:
            EndDrag(false);
            return false;
        case WM_CAPTURECHANGED: {
            // Another window took the mouse: the drag cannot see the release any more.
            auto* win = dynamic_cast<TWinControl*>(this);
            HWND holder = win ? (win->HandleAllocated() ? win->Handle() : nullptr)
                              : (parent_ && parent_->HandleAllocated() ? parent_->Handle() : nullptr);
            if (reinterpret_cast<HWND>(m.LParam) != holder)
                EndDrag(false);
            return false;
        }
        default:
            return false;
    }
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::Resize() {
    if (OnResize)
        OnResize(this);
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == parent_)
        return;
    if (AParent == this)
        throw EInvalidOperation(L"A control cannot have itself as its parent");
    if (auto* self = dynamic_cast<TWinControl*>(this);
        self && AParent && (AParent == self || self->ContainsControl(AParent)))
        throw EInvalidOperation(L"A control cannot be placed inside one of its own children");
    if (parent_)
        parent_->RemoveControl(this);
    if (AParent)
        AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_)
        return;
    const bool sized = AWidth != width_ || AHeight != height_;
    InvalidateControl(visible_, false);
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    InvalidateControl(visible_, controlStyle_.Contains(csOpaque));
    if (!anchorMove_)
        UpdateAnchorRules();
    RequestAlign();
    if (sized)
        Resize();
}

TRect TControl::ClientRect() {
    return {0, 0, width_, height_};
}

void TControl::SetClientWidth(int Value) {
    SetWidth(width_ - ClientWidth() + Value);
}

void TControl::SetClientHeight(int Value) {
    SetHeight(height_ - ClientHeight() + Value);
}

TPoint TControl::ClientOrigin() {
    if (!parent_)
        return {left_, top_};
    TPoint o = parent_->ClientOrigin();
    return {o.X + left_, o.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint P) {
    TPoint o = ClientOrigin();
    return {P.X + o.X, P.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint P) {
    TPoint o = ClientOrigin();
    return {P.X - o.X, P.Y - o.Y};
}

void TControl::SetAlign(TAlign Value) {
    if (align_ == Value)
        return;
    align_ = Value;
    RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
    anchors_ = Value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    if (!parent_)
        return;
    TRect r = parent_->ClientRect();
    anchorOrigin_ = {r.Right - (left_ + width_), r.Bottom - (top_ + height_)};
}

void TControl::RequestAlign() {
    if (parent_ && !parent_->aligning_)
        parent_->Realign();
}

void TControl::SetVisible(bool Value) {
    if (visible_ == Value)
        return;
    if (!Value)
        InvalidateControl(true, false);
    visible_ = Value;
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
    RequestAlign();
}

bool TControl::Showing() {
    return visible_ && parent_ && parent_->Showing();
}

void TControl::SetEnabled(bool Value) {
    if (enabled_ == Value)
        return;
    enabled_ = Value;
    Perform(CM_ENABLEDCHANGED);
}

std::wstring TControl::Text() {
    LRESULT len = Perform(WM_GETTEXTLENGTH);
    if (len <= 0)
        return {};
    std::wstring s(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = Perform(WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, len)));
    return s;
}

void TControl::SetText(const std::wstring& Value) {
    if (Value == Text())
        return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
    Perform(CM_TEXTCHANGED);
}

void TControl::FontChanged() {
    if (!updatingFont_)
        parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool Value) {
    parentFont_ = Value;
    if (Value && parent_)
        Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetColor(TColor Value) {
    if (color_ == Value)
        return;
    color_ = Value;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
    parentColor_ = Value;
    if (Value && parent_)
        Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetCursor(TCursor Value) {
    if (cursor_ == Value)
        return;
    cursor_ = Value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool Value) {
    parentShowHint_ = false;
    if (showHint_ == Value)
        return;
    showHint_ = Value;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
    if (parentShowHint_ == Value)
        return;
    parentShowHint_ = Value;
    Perform(CM_SHOWHINTCHANGED);
}

bool TControl::ParentShowHintValue() const {
    return static_cast<const TControl*>(parent_)->ShowHint();
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    if (popupMenu_ == Value)
        return;
    if (popupMenu_)
        popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupMenu_)
        popupMenu_ = nullptr;
}

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
    if (!IsVisible || !parent_ || !parent_->HandleAllocated() || parent_->ComponentState().Contains(csDestroying))
        return;
    RECT r = ToRECT(BoundsRect());
    ::InvalidateRect(parent_->handle_, &r, IsOpaque ? FALSE : TRUE);
}

void TControl::Invalidate() {
    InvalidateControl(visible_, controlStyle_.Contains(csOpaque));
}

void TControl::Update() {
    if (parent_)
        parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        w->SetZOrder(true);
        return;
    }
    if (!parent_)
        return;
    auto& list = parent_->controls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end()) {
        list.erase(it);
        list.push_back(this);
    }
    Invalidate();
}

void TControl::SendToBack() {
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        w->SetZOrder(false);
        return;
    }
    if (!parent_)
        return;
    auto& list = parent_->controls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end()) {
        list.erase(it);
        list.insert(list.begin(), this);
    }
    Invalidate();
}

bool TControl::MouseCapture() {
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value) {
    if (Value)
        SetCaptureControl(this);
    else if (MouseCapture())
        SetCaptureControl(nullptr);
}

// ---- TWinControl ---------------------------------------------------------------------------------------------------
TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), brush_(std::make_unique<TBrush>()) {
    brush_->SetColor(Color());
}

TWinControl::~TWinControl() {
    Destroying();
    for (AliveFlag* f = aliveFlags_; f; f = f->next)
        f->alive = false;
    aliveFlags_ = nullptr;
    if (handle_) {
        // Without the destroying delete (a stack object) the window goes now; only this level's code runs.
        try {
            DestroyHandle();
        } catch (...) {
            ReportException(this);
        }
        if (handle_)
            DetachHandle();
    }
    // Child controls that nobody else freed (owned by a component that outlives us, or by none) go with us.
    while (!controls_.empty() || !winControls_.empty()) {
        TControl* c = !winControls_.empty() ? static_cast<TControl*>(winControls_.back()) : controls_.back();
        RemoveControl(c);
        delete c;
    }
}

void TWinControl::BeforeDestruction() {
    Destroying();
    if (parent_) {
        if (TCustomForm* form = GetParentForm(this); form && form != this)
            form->DefocusControl(this, true);
    }
    if (handle_) {
        try {
            DestroyHandle();
        } catch (...) {
            ReportException(this);
        }
    }
    TControl::BeforeDestruction();
}

TWinControl* TWinControl::FromHandle(HWND Wnd) {
    if (!Wnd)
        return nullptr;
    DWORD pid = 0;
    GetWindowThreadProcessId(Wnd, &pid);
    if (pid != GetCurrentProcessId())
        return nullptr;
    return static_cast<TWinControl*>(GetPropW(Wnd, kControlProp));
}

TWinControl* FindControl(HWND Wnd) {
    return TWinControl::FromHandle(Wnd);
}

bool TWinControl::InDispatch(TWinControl* Control, bool IgnoreInnermost) {
    AliveFlag* f = DispatchTop();
    if (IgnoreInnermost && f)
        f = f->outer;
    for (; f; f = f->outer) {
        if (f->alive && (f->control == Control || Control->ContainsControl(f->control)))
            return true;
    }
    return false;
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* c = static_cast<TWinControl*>(GetPropW(wnd, kControlProp));
    if (!c) {
        c = tCreating;
        if (!c)
            return DefWindowProcW(wnd, msg, wParam, lParam);
        tCreating = nullptr;
        c->AttachHandle(wnd);
    }
    TMessage m{msg, wParam, lParam, 0};
    AliveFlag flag;
    flag.control = c;
    flag.next = c->aliveFlags_;
    c->aliveFlags_ = &flag;
    flag.outer = DispatchTop();
    SetDispatchTop(&flag);
    try {
        if (c->WindowProc)
            c->WindowProc(m);
        else
            c->WndProc(m);
    } catch (...) {
        // No exception may unwind through the system's frames: report it and carry on with the message.
        ReportException(flag.alive ? c : nullptr);
    }
    SetDispatchTop(flag.outer);
    if (TApplication* app = FindApplication())
        app->RetryReleases();
    if (flag.alive) {
        c->aliveFlags_ = flag.next;
        if (msg == WM_NCDESTROY && c->handle_ == wnd)
            c->DetachHandle();
    }
    return m.Result;
}

void TWinControl::AttachHandle(HWND wnd) {
    handle_ = wnd;
    SetPropW(wnd, kControlProp, this);
    UpdateNameProp();
}

void TWinControl::UpdateNameProp() {
    if (!handle_)
        return;
    if (auto old = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropW(handle_, kNameProp))))
        GlobalDeleteAtom(old);
    if (!Name().empty())
        if (ATOM atom = GlobalAddAtomW(Name().c_str()))
            SetPropW(handle_, kNameProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

void TWinControl::SetName(const std::wstring& NewName) {
    TControl::SetName(NewName);
    UpdateNameProp();
}

void TWinControl::DetachHandle() {
    if (handle_) {
        ForgetWindowless(handle_);
        if (auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropW(handle_, kNameProp))))
            GlobalDeleteAtom(atom);
        RemovePropW(handle_, kControlProp);
    }
    handle_ = nullptr;
    trackingLeave_ = false;
}

HWND TWinControl::Handle() {
    if (!handle_)
        CreateHandle();
    return handle_;
}

void TWinControl::SetParentWindow(HWND Value) {
    if (parentWindow_ == Value)
        return;
    parentWindow_ = Value;
    if (handle_ && !parent_)
        RecreateWnd();
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params = TCreateParams{};
    Params.Caption = text_;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle().Contains(csAcceptsControls))
        Params.Style |= WS_CLIPCHILDREN;
    if (Visible())
        Params.Style |= WS_VISIBLE;
    if (!Enabled())
        Params.Style |= WS_DISABLED;
    if (tabStop_)
        Params.Style |= WS_TABSTOP;
    Params.X = Left();
    Params.Y = Top();
    Params.Width = Width();
    Params.Height = Height();
    Params.WndParent = Parent() ? Parent()->Handle() : parentWindow_;
    Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    Params.WindowClass.lpfnWndProc = DefWindowProcW;
    Params.WindowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    Params.WindowClass.hInstance = GetModuleHandleW(nullptr);
    Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const wchar_t* ClassName) {
    static const bool commonControls = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)commonControls;
    WNDCLASSW wc{};
    if (!GetClassInfoW(nullptr, ClassName, &wc) && !GetClassInfoW(GetModuleHandleW(nullptr), ClassName, &wc))
        throw EOSError(L"Window class " + std::wstring(ClassName) + L" does not exist", GetLastError());
    const std::wstring name = Params.WinClassName;
    Params.WindowClass = wc;
    Params.WindowClass.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    Params.WindowClass.hInstance = GetModuleHandleW(nullptr);
    Params.WindowClass.lpszClassName = nullptr;
    Params.WinClassName = name;
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    if ((p.Style & WS_CHILD) && !p.WndParent)
        throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
    defWndProc_ = p.WindowClass.lpfnWndProc ? p.WindowClass.lpfnWndProc : DefWindowProcW;
    WNDCLASSW existing{};
    const HINSTANCE inst = p.WindowClass.hInstance ? p.WindowClass.hInstance : GetModuleHandleW(nullptr);
    const bool registered = GetClassInfoW(inst, p.WinClassName.c_str(), &existing) != FALSE;
    if (!registered || existing.lpfnWndProc != &TWinControl::StaticWndProc) {
        if (registered)
            UnregisterClassW(p.WinClassName.c_str(), inst);
        WNDCLASSW wc = p.WindowClass;
        wc.lpfnWndProc = &TWinControl::StaticWndProc;
        wc.hInstance = inst;
        wc.lpszClassName = p.WinClassName.c_str();
        if (!RegisterClassW(&wc))
            throw EOSError(L"Cannot register the window class " + p.WinClassName, GetLastError());
    }
    CreateWindowHandle(p);
    if (!handle_)
        throw EOSError(L"Error creating window " + p.WinClassName, GetLastError());
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
    TWinControl* previous = tCreating;
    tCreating = this;
    HMENU id = nullptr;
    if (Params.Style & WS_CHILD) {
        if (!ctlId_)
            ctlId_ = gNextCtlId++;
        id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctlId_));
    }
    HWND wnd = CreateWindowExW(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                               Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, id,
                               GetModuleHandleW(nullptr), Params.Param);
    tCreating = previous;
    if (wnd && !handle_)
        AttachHandle(wnd);
}

void TWinControl::CreateHandle() {
    if (handle_)
        return;
    if (Parent())
        Parent()->HandleNeeded();
    if (handle_)  // the parent's creation created ours
        return;
    CreateWnd();
    if (IsNativeProc(defWndProc_))
        Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    // The system puts a new child window below its siblings; ours goes to its place in the parent's list: below
    // the nearest sibling above it that has a window, else on top.
    if (Parent()) {
        const auto& siblings = Parent()->winControls_;
        auto self = std::find(siblings.begin(), siblings.end(), this);
        HWND above = HWND_TOP;
        for (auto it = self == siblings.end() ? self : self + 1; it != siblings.end(); ++it)
            if ((*it)->handle_) {
                above = (*it)->handle_;
                break;
            }
        // Moved only when it is not there already: a move costs the control two messages and its handling.
        if (GetWindow(handle_, GW_HWNDPREV) != (above == HWND_TOP ? nullptr : above))
            SetWindowPos(handle_, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    // Children from the top of the z-order down: each new window lands below those made before it, which is its
    // place, so none has to be moved.
    std::vector<TWinControl*> children = winControls_;
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (std::find(winControls_.begin(), winControls_.end(), *it) != winControls_.end())
            (*it)->CreateHandle();
    Realign();
}

void TWinControl::DestroyHandle() {
    if (!handle_)
        return;
    for (TWinControl* child : winControls_)
        child->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd() {
    if (!handle_)
        return;
    text_ = Text();
    SetControlState(ControlState() + csDestroyingHandle);
    HWND wnd = handle_;
    DestroyWindow(wnd);
    SetControlState(ControlState() - csDestroyingHandle);
    if (handle_ == wnd)
        DetachHandle();
}

void TWinControl::RecreateWnd() {
    if (!handle_)
        return;
    SetControlState(ControlState() + csRecreating);
    DestroyHandle();
    try {
        CreateHandle();
    } catch (...) {
        SetControlState(ControlState() - csRecreating);
        throw;
    }
    SetControlState(ControlState() - csRecreating);
}

bool TWinControl::Showing() {
    return handle_ && IsWindowVisible(handle_);
}

TControl* TWinControl::Controls(int Index) const {
    if (Index < 0 || Index >= ControlCount())
        RaiseListIndexError(Index);
    size_t i = static_cast<size_t>(Index);
    return i < controls_.size() ? controls_[i] : static_cast<TControl*>(winControls_[i - controls_.size()]);
}

void TWinControl::InsertControl(TControl* AControl) {
    if (!AControl || AControl->parent_ == this)
        return;
    AControl->parent_ = this;
    auto* win = dynamic_cast<TWinControl*>(AControl);
    if (win) {
        winControls_.push_back(win);
        tabList_.push_back(win);
    } else {
        controls_.push_back(AControl);
    }
    if (AControl->parentFont_)
        AControl->Perform(CM_PARENTFONTCHANGED);
    if (AControl->parentColor_)
        AControl->Perform(CM_PARENTCOLORCHANGED);
    AControl->UpdateAnchorRules();
    if (win && handle_)
        win->CreateHandle();
    else if (!win)
        AControl->Invalidate();
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
    if (AControl->align_ != alNone)
        Realign();
}

void TWinControl::RemoveControl(TControl* AControl) {
    if (!AControl || AControl->parent_ != this)
        return;
    const bool destroying = ComponentState().Contains(csDestroying);
    if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
        if (!destroying) {
            if (TCustomForm* form = GetParentForm(this))
                form->DefocusControl(win, true);
        }
        if (win->handle_)
            win->DestroyHandle();
        winControls_.erase(std::remove(winControls_.begin(), winControls_.end(), win), winControls_.end());
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), win), tabList_.end());
    } else {
        if (gCaptureControl == AControl)
            SetCaptureControl(nullptr);
        AControl->InvalidateControl(AControl->visible_, false);
        controls_.erase(std::remove(controls_.begin(), controls_.end(), AControl), controls_.end());
    }
    AControl->parent_ = nullptr;
    if (!destroying) {
        Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
        if (AControl->align_ != alNone)
            Realign();
    }
}

bool TWinControl::ContainsControl(TControl* Control) const {
    for (TControl* c = Control ? Control->parent_ : nullptr; c; c = c->parent_)
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) {
    auto hits = [&](TControl* c) {
        if (!c->visible_ || (!AllowDisabled && !c->enabled_))
            return false;
        if (!c->BoundsRect().Contains(Pos))
            return false;
        return c->Perform(CM_HITTEST, 0, PointToLParam({Pos.X - c->left_, Pos.Y - c->top_})) != 0;
    };
    if (AllowWinControls)
        for (auto it = winControls_.rbegin(); it != winControls_.rend(); ++it)
            if (hits(*it))
                return *it;
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if (hits(*it))
            return *it;
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
    // A copy: receivers may change the lists.
    std::vector<TControl*> all(controls_.begin(), controls_.end());
    all.insert(all.end(), winControls_.begin(), winControls_.end());
    for (TControl* c : all) {
        if (c->parent_ != this)
            continue;
        c->WindowProc ? c->WindowProc(Message) : c->WndProc(Message);
        if (Message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT Msg) {
    TMessage m{Msg, 0, 0, 0};
    Broadcast(m);
}

// ---- Alignment ------------------------------------------------------------------------------------------------------
void TWinControl::DisableAlign() {
    ++alignLevel_;
}

void TWinControl::EnableAlign() {
    if (alignLevel_ > 0 && --alignLevel_ == 0 && ControlState().Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign() {
    if (alignLevel_ > 0 || aligning_ || ComponentState().Contains(csDestroying)) {
        if (alignLevel_ > 0)
            SetControlState(ControlState() + csAlignmentNeeded);
        return;
    }
    SetControlState(ControlState() - csAlignmentNeeded);
    aligning_ = true;
    try {
        TRect r = ClientRect();
        AdjustClientRect(r);
        AlignControls(nullptr, r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AdjustClientRect(TRect& Rect) {
    (void)Rect;
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
    std::vector<TControl*> all(controls_.begin(), controls_.end());
    all.insert(all.end(), winControls_.begin(), winControls_.end());

    // Anchored controls follow the parent's client size, keeping their right and bottom distances.
    const TRect client = ClientRect();
    for (TControl* c : all) {
        if (c->align_ != alNone || (!c->anchors_.Contains(akRight) && !c->anchors_.Contains(akBottom)))
            continue;
        int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
        if (c->anchors_.Contains(akRight)) {
            if (c->anchors_.Contains(akLeft))
                w = client.Right - c->anchorOrigin_.X - l;
            else
                l = client.Right - c->anchorOrigin_.X - w;
        }
        if (c->anchors_.Contains(akBottom)) {
            if (c->anchors_.Contains(akTop))
                h = client.Bottom - c->anchorOrigin_.Y - t;
            else
                t = client.Bottom - c->anchorOrigin_.Y - h;
        }
        c->anchorMove_ = true;
        c->SetBounds(l, t, w, h);
        c->anchorMove_ = false;
    }

    for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl*> list;
        for (TControl* c : all)
            if (c->align_ == kind && c->visible_)
                list.push_back(c);
        // Stacked in their current order along the edge; the control that asked goes where it now stands.
        auto key = [kind](TControl* c) {
            switch (kind) {
                case alTop:
                    return c->top_;
                case alBottom:
                    return -(c->top_ + c->height_);
                case alLeft:
                    return c->left_;
                case alRight:
                    return -(c->left_ + c->width_);
                default:
                    return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
            if (key(a) != key(b))
                return key(a) < key(b);
            return a == AControl && b != AControl;
        });
        for (TControl* c : list) {
            const int w = c->width_, h = c->height_;
            switch (kind) {
                case alTop:
                    c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), h);
                    Rect.Top += h;
                    break;
                case alBottom:
                    c->SetBounds(Rect.Left, Rect.Bottom - h, Rect.Width(), h);
                    Rect.Bottom -= h;
                    break;
                case alLeft:
                    c->SetBounds(Rect.Left, Rect.Top, w, Rect.Height());
                    Rect.Left += w;
                    break;
                case alRight:
                    c->SetBounds(Rect.Right - w, Rect.Top, w, Rect.Height());
                    Rect.Right -= w;
                    break;
                case alClient:
                    c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
                    break;
                default:
                    break;
            }
        }
    }
}

// ---- Bounds ---------------------------------------------------------------------------------------------------------
void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height())
        return;
    if (handle_ && !IsIconic(handle_)) {
        SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        // WM_WINDOWPOSCHANGED has called UpdateBounds; the window may have refused the size (minimum sizes).
    } else {
        const bool sized = AWidth != Width() || AHeight != Height();
        left_ = ALeft;
        top_ = ATop;
        width_ = AWidth;
        height_ = AHeight;
        if (sized) {
            Realign();
            Resize();
        }
    }
    if (!anchorMove_)
        UpdateAnchorRules();
    RequestAlign();
}

void TWinControl::UpdateBounds() {
    if (!handle_ || IsIconic(handle_))
        return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD) {
        HWND parentWnd = GetParent(handle_);
        if (parentWnd)
            MapWindowPoints(HWND_DESKTOP, parentWnd, reinterpret_cast<POINT*>(&r), 2);
    }
    const bool sized = (r.right - r.left) != width_ || (r.bottom - r.top) != height_;
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    if (sized) {
        Realign();
        Resize();
    }
}

TRect TWinControl::ClientRect() {
    if (handle_) {
        RECT r;
        GetClientRect(handle_, &r);
        return ToTRect(r);
    }
    return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin() {
    if (handle_) {
        POINT p{0, 0};
        ::ClientToScreen(handle_, &p);
        return {static_cast<int>(p.x), static_cast<int>(p.y)};
    }
    return TControl::ClientOrigin();
}

void TWinControl::SetZOrder(bool TopMost) {
    if (parent_) {
        auto& list = parent_->winControls_;
        auto it = std::find(list.begin(), list.end(), this);
        if (it != list.end()) {
            list.erase(it);
            if (TopMost)
                list.push_back(this);
            else
                list.insert(list.begin(), this);
        }
    }
    if (handle_)
        SetWindowPos(handle_, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- State ----------------------------------------------------------------------------------------------------------
void TWinControl::SetEnabled(bool Value) {
    TControl::SetEnabled(Value);
}

void TWinControl::SetParent(TWinControl* AParent) {
    TControl::SetParent(AParent);
}

void TWinControl::Invalidate() {
    if (handle_)
        InvalidateRect(handle_, nullptr, ControlStyle().Contains(csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update() {
    if (handle_)
        UpdateWindow(handle_);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

// ---- Focus and tab order --------------------------------------------------------------------------------------------
bool TWinControl::CanFocus() {
    TCustomForm* form = GetParentForm(this);
    TControl* c = this;
    while (c && c != form) {
        if (!c->Visible() || !c->Enabled())
            return false;
        c = c->Parent();
    }
    return !form || (form->Visible() && form->Enabled());
}

bool TWinControl::Focused() {
    return handle_ && GetFocus() == handle_;
}

void TWinControl::SetFocus() {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this)
        form->FocusControl(this);
    else if (HWND h = Handle())
        ::SetFocus(h);
}

void TWinControl::SetTabStop(bool Value) {
    if (tabStop_ == Value)
        return;
    tabStop_ = Value;
    if (handle_) {
        LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
        SetWindowLongPtrW(handle_, GWL_STYLE,
                          Value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
    if (!parent_)
        return 0;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
    if (!parent_)
        return;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    Value = std::clamp(Value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + Value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
    for (TWinControl* c : tabList_) {
        List.push_back(c);
        c->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl,
                                          bool GoForward,
                                          bool CheckTabStop,
                                          bool CheckParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const int n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[static_cast<size_t>(i)] == CurControl)
            start = i;
    if (start < 0)
        start = GoForward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = GoForward ? (i + 1) % n : (i + n - 1) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == CurControl && step > 0)
            break;
        if ((!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this) && c->CanFocus())
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
        next->SetFocus();
}

void TWinControl::SelectFirst() {
    if (TWinControl* c = FindNextControl(nullptr, true, true, false))
        c->SetFocus();
}

// ---- Painting -------------------------------------------------------------------------------------------------------
void TWinControl::PaintWindow(HDC DC) {
    if (IsNativeProc(defWndProc_)) {
        TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
        DefaultHandler(m);
    }
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
    size_t start = 0;
    if (First) {
        auto it = std::find(controls_.begin(), controls_.end(), First);
        if (it == controls_.end())
            return;
        start = static_cast<size_t>(it - controls_.begin());
    }
    RECT clip;
    if (GetClipBox(DC, &clip) == NULLREGION)
        return;
    const TRect clipBox = ToTRect(clip);
    std::vector<TControl*> list(controls_.begin() + static_cast<std::ptrdiff_t>(start), controls_.end());
    for (TControl* c : list) {
        if (c->parent_ != this || !c->visible_ || c->width_ <= 0 || c->height_ <= 0)
            continue;
        if (IntersectionOf(c->BoundsRect(), clipBox).IsEmpty())
            continue;
        TSaveDCGuard saved(DC);
        POINT org;
        GetViewportOrgEx(DC, &org);
        SetViewportOrgEx(DC, org.x + c->left_, org.y + c->top_, nullptr);
        IntersectClipRect(DC, 0, 0, c->width_, c->height_);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    }
}

void TWinControl::PaintHandler(HDC DC) {
    bool anyGraphic = false;
    for (TControl* c : controls_)
        anyGraphic = anyGraphic || c->visible_;
    if (!anyGraphic) {
        PaintWindow(DC);
        return;
    }
    {
        TSaveDCGuard saved(DC);
        // Opaque non-windowed children cover their rectangle: no need to paint under them.
        for (TControl* c : controls_)
            if (c->visible_ && c->ControlStyle().Contains(csOpaque))
                ExcludeClipRect(DC, c->left_, c->top_, c->left_ + c->width_, c->top_ + c->height_);
        PaintWindow(DC);
    }
    PaintControls(DC, nullptr);
}

void TWinControl::WMPaint(TMessage& m) {
    if (m.WParam) {
        PaintHandler(reinterpret_cast<HDC>(m.WParam));
        return;
    }
    TPaintDC paint(handle_);
    HDC dc = paint.Get();
    const RECT& rc = paint.PaintStruct().rcPaint;
    if (doubleBuffered_ && rc.right > rc.left && rc.bottom > rc.top) {
        const int w = rc.right - rc.left, h = rc.bottom - rc.top;
        TMemoryDC mem(dc);
        TGdiBitmap bitmap(CreateCompatibleBitmap(dc, w, h));
        mem.Select(bitmap.Get());
        SetWindowOrgEx(mem, rc.left, rc.top, nullptr);
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem.Get()), reinterpret_cast<LPARAM>(mem.Get()));
        PaintHandler(mem);
        SetWindowOrgEx(mem, 0, 0, nullptr);
        BitBlt(dc, rc.left, rc.top, w, h, mem, 0, 0, SRCCOPY);
        mem.RestoreBitmap();
    } else {
        PaintHandler(dc);
    }
}

void TWinControl::PaintBackgroundBehind(TControl* Control, HDC DC, const TRect& R) {
    if (!Control || Control->parent_ != this)
        return;
    TSaveDCGuard saved(DC);
    IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
    POINT org;
    GetViewportOrgEx(DC, &org);
    SetViewportOrgEx(DC, org.x - Control->left_, org.y - Control->top_, nullptr);
    // WParam == LParam asks for a real erase even from a double-buffered control.
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
    PaintWindow(DC);
    // Non-windowed siblings below Control: all of them for a windowed one (they all lie below windows).
    const bool windowed = dynamic_cast<TWinControl*>(Control) != nullptr;
    const TRect area = Control->BoundsRect();
    std::vector<TControl*> list(controls_.begin(), controls_.end());
    for (TControl* c : list) {
        if (!windowed && c == Control)
            break;
        if (c->parent_ != this || !c->visible_ || IntersectionOf(c->BoundsRect(), area).IsEmpty())
            continue;
        TSaveDCGuard inner(DC);
        POINT o;
        GetViewportOrgEx(DC, &o);
        SetViewportOrgEx(DC, o.x + c->left_, o.y + c->top_, nullptr);
        IntersectClipRect(DC, 0, 0, c->width_, c->height_);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    }
}

// ---- Mouse ----------------------------------------------------------------------------------------------------------
bool TWinControl::IsControlMouseMsg(TMessage& m) {
    TControl* target = nullptr;
    if (gCaptureControl && gCaptureControl->parent_ == this && !dynamic_cast<TWinControl*>(gCaptureControl))
        target = gCaptureControl;
    else if (GetCapture() != handle_ || !gCaptureControl)
        target = ControlAtPos(MessagePoint(m.LParam), false);
    if (!target)
        return false;
    TPoint p = MessagePoint(m.LParam);
    m.Result = target->Perform(m.Msg, m.WParam, PointToLParam({p.X - target->left_, p.Y - target->top_}));
    return true;
}

void TWinControl::TrackMouse() {
    if (trackingLeave_ || !handle_)
        return;
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
    if (TrackMouseEvent(&tme))
        trackingLeave_ = true;
}

bool TWinControl::WMSetCursor(TMessage& m) {
    if (LOWORD(m.LParam) != HTCLIENT || reinterpret_cast<HWND>(m.WParam) != handle_)
        return false;
    TCursor cursor = Screen->Cursor();
    if (cursor == crDefault) {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(handle_, &p);
        TControl* c = ControlAtPos({static_cast<int>(p.x), static_cast<int>(p.y)}, false);
        cursor = c && c->Cursor() != crDefault ? c->Cursor() : Cursor();
    }
    if (cursor == crDefault)
        return false;
    ::SetCursor(Screen->Cursors(cursor));
    m.Result = 1;
    return true;
}

TControl* GetCaptureControl() {
    HWND capture = GetCapture();
    if (!capture)
        return nullptr;
    if (gCaptureControl) {
        auto* win = dynamic_cast<TWinControl*>(gCaptureControl);
        HWND holder = win ? (win->HandleAllocated() ? win->Handle() : nullptr)
                          : (gCaptureControl->Parent() && gCaptureControl->Parent()->HandleAllocated()
                                 ? gCaptureControl->Parent()->Handle()
                                 : nullptr);
        if (holder == capture)
            return gCaptureControl;
    }
    return FindControl(capture);
}

void SetCaptureControl(TControl* Control) {
    gCaptureControl = nullptr;
    if (!Control) {
        if (GetCapture() && FindControl(GetCapture()))
            ReleaseCapture();
        return;
    }
    HWND holder = nullptr;
    if (auto* win = dynamic_cast<TWinControl*>(Control))
        holder = win->Handle();
    else if (Control->Parent())
        holder = Control->Parent()->Handle();
    if (!holder)
        return;
    SetCapture(holder);
    gCaptureControl = Control;
}

TControl* FindDragTarget(TPoint Pos, bool AllowDisabled) {
    HWND wnd = WindowFromPoint(POINT{Pos.X, Pos.Y});
    TWinControl* c = nullptr;
    while (wnd && !(c = FindControl(wnd)))
        wnd = GetParent(wnd);
    if (!c)
        return nullptr;
    TControl* inner = c->ControlAtPos(c->ScreenToClient(Pos), AllowDisabled);
    return inner ? inner : c;
}

TCustomForm* GetParentForm(TControl* Control) {
    if (!Control)
        return nullptr;
    while (Control->Parent())
        Control = Control->Parent();
    return dynamic_cast<TCustomForm*>(Control);
}

// ---- Keyboard -------------------------------------------------------------------------------------------------------
void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(wchar_t& Key) {
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit)
        OnExit(this);
}

bool TWinControl::FormPreviewsKey(TMessage& m, bool (TWinControl::*DoKey)(TMessage&)) {
    TCustomForm* form = GetParentForm(this);
    return form && form != this && form->KeyPreview() && (form->*DoKey)(m);
}

namespace {

// A key the handler set to 0 is consumed; any other goes on, changed or not, to the window's own handling.
template <typename Key>
bool KeyConsumed(TMessage& m, Key key) {
    if (key == 0)
        return true;
    m.WParam = key;
    return false;
}

}  // namespace

bool TWinControl::DoKeyDown(TMessage& m) {
    if (FormPreviewsKey(m, &TWinControl::DoKeyDown))
        return true;
    WORD key = static_cast<WORD>(m.WParam);
    KeyDown(key, KeyDataToShiftState(m.LParam));
    return KeyConsumed(m, key);
}

bool TWinControl::DoKeyUp(TMessage& m) {
    if (FormPreviewsKey(m, &TWinControl::DoKeyUp))
        return true;
    WORD key = static_cast<WORD>(m.WParam);
    KeyUp(key, KeyDataToShiftState(m.LParam));
    return KeyConsumed(m, key);
}

bool TWinControl::DoKeyPress(TMessage& m) {
    if (FormPreviewsKey(m, &TWinControl::DoKeyPress))
        return true;
    wchar_t ch = static_cast<wchar_t>(m.WParam);
    KeyPress(ch);
    return KeyConsumed(m, ch);
}

bool TWinControl::IsMenuKey(TMessage& m) {
    TWMKey key{static_cast<UINT>(m.Msg - CN_BASE), static_cast<WORD>(m.WParam), m.LParam, 0};
    for (TControl* c = this; c; c = c->Parent())
        if (c->PopupMenu() && c->PopupMenu()->IsShortCut(key))
            return true;
    if (TCustomForm* form = GetParentForm(this); form && form->IsShortCut(key))
        return true;
    return Application->IsShortCut(key);
}

void TWinControl::HandleKeyNotify(TMessage& m) {
    m.Result = 0;
    const UINT msg = m.Msg - CN_BASE;
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
        if (IsMenuKey(m)) {
            m.Result = 1;
            return;
        }
        const WORD key = static_cast<WORD>(m.WParam);
        for (TWinControl* c = this; c; c = c->Parent())
            if (c->Perform(CM_CHILDKEY, key, reinterpret_cast<LPARAM>(this)) != 0) {
                m.Result = 1;
                return;
            }
        LRESULT mask = 0;
        switch (key) {
            case VK_TAB:
                mask = DLGC_WANTTAB;
                break;
            case VK_LEFT:
            case VK_RIGHT:
            case VK_UP:
            case VK_DOWN:
                mask = DLGC_WANTARROWS;
                break;
            case VK_RETURN:
            case VK_EXECUTE:
            case VK_ESCAPE:
            case VK_CANCEL:
                mask = DLGC_WANTALLKEYS;
                break;
            default:
                break;
        }
        if (mask && !(Perform(WM_GETDLGCODE) & mask) && Perform(CM_WANTSPECIALKEY, key, m.LParam) == 0) {
            if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGKEY, key, m.LParam) != 0)
                m.Result = 1;
        }
    } else if (msg == WM_CHAR) {
        if (!(Perform(WM_GETDLGCODE) & DLGC_WANTCHARS)) {
            if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam))
                m.Result = 1;
        }
    } else if (msg == WM_SYSCHAR) {
        if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam))
            m.Result = 1;
    }
}

// ---- Reflection -----------------------------------------------------------------------------------------------------
bool TWinControl::ReflectToChild(TMessage& m) {
    HWND child = nullptr;
    switch (m.Msg) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CHARTOITEM:
        case WM_VKEYTOITEM:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            child = reinterpret_cast<HWND>(m.LParam);
            break;
        case WM_NOTIFY:
            if (m.LParam)
                child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
            break;
        case WM_DRAWITEM:
            if (m.LParam && reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->CtlType != ODT_MENU)
                child = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem;
            break;
        case WM_DELETEITEM:
            if (m.LParam)
                child = reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)->hwndItem;
            break;
        case WM_COMPAREITEM:
            if (m.LParam)
                child = reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)->hwndItem;
            break;
        case WM_MEASUREITEM:
            // Sent while the child is still inside CreateWindowEx: find it by its control id.
            if (m.LParam && reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->CtlType != ODT_MENU && handle_)
                child = GetDlgItem(handle_, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->CtlID));
            break;
        default:
            return false;
    }
    TWinControl* target = FromHandle(child);
    if (!target || target == this)
        return false;
    m.Result = target->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return true;
}

// ---- Message handling -----------------------------------------------------------------------------------------------
void TWinControl::WndProc(TMessage& Message) {
    // A driver in another process asks for the windowless children (OutsideControls.h).
    static const UINT windowlessMessage = RegisterWindowMessageW(kWindowlessMessageName);
    if (Message.Msg == windowlessMessage && windowlessMessage != 0) {
        Message.Result = static_cast<LRESULT>(AnswerWindowless(this));
        return;
    }
    const bool ours = !IsNativeProc(defWndProc_);
    switch (Message.Msg) {
        case WM_SETFOCUS: {
            TCustomForm* form = GetParentForm(this);
            if (form && form != this && !form->SetFocusedControl(this))
                return;
            break;
        }
        case WM_MOUSEMOVE:
            TrackMouse();
            if (TApplication* app = FindApplication())
                app->DoMouseIdle();
            if (IsControlMouseMsg(Message))
                return;
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            // A press with no move before it (the pointer rested while a modal box covered it and went) must still
            // find the control entered: controls click only when the pointer is in them.
            if (TApplication* app = FindApplication())
                app->DoMouseIdle();
            if (IsControlMouseMsg(Message))
                return;
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (IsControlMouseMsg(Message))
                return;
            break;
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            if (TApplication* app = FindApplication())
                app->DoMouseIdle();
            break;
        case WM_CAPTURECHANGED:
            if (gCaptureControl && !dynamic_cast<TWinControl*>(gCaptureControl) && gCaptureControl->parent_ == this &&
                reinterpret_cast<HWND>(Message.LParam) != handle_)
                gCaptureControl = nullptr;
            else if (gCaptureControl == this && reinterpret_cast<HWND>(Message.LParam) != handle_)
                gCaptureControl = nullptr;
            break;
        case WM_CONTEXTMENU:
            if (Message.LParam != -1) {
                TPoint local = ScreenToClient(MessagePoint(Message.LParam));
                if (TControl* c = ControlAtPos(local, false)) {
                    Message.Result = c->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
                    if (Message.Result)
                        return;
                }
            }
            break;
        case WM_PAINT:
            if (ours || !controls_.empty()) {
                if (ours || Message.WParam) {
                    WMPaint(Message);
                    return;
                }
            }
            break;
        case WM_PRINTCLIENT:
            if (ours) {
                Perform(WM_ERASEBKGND, Message.WParam, static_cast<LPARAM>(Message.WParam));
                PaintHandler(reinterpret_cast<HDC>(Message.WParam));
                return;
            }
            break;
        case WM_ERASEBKGND:
            if (ours) {
                if (doubleBuffered_ && Message.LParam != static_cast<LPARAM>(Message.WParam)) {
                    Message.Result = 1;  // the buffered paint erases
                    return;
                }
                if (brush_->Style() != bsClear) {
                    RECT r;
                    GetClientRect(handle_, &r);
                    FillRect(reinterpret_cast<HDC>(Message.WParam), &r, brush_->Handle());
                }
                Message.Result = 1;
                return;
            }
            break;
        case WM_SETCURSOR:
            if (WMSetCursor(Message))
                return;
            break;
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_DELETEITEM:
        case WM_COMPAREITEM:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CHARTOITEM:
        case WM_VKEYTOITEM:
            if (ReflectToChild(Message))
                return;
            break;
        case WM_WINDOWPOSCHANGED:
            DefaultHandler(Message);
            UpdateBounds();
            return;
        case WM_DESTROY:
            text_ = Text();
            TControlCanvas::FreeDeviceContexts();
            if (gCaptureControl && (gCaptureControl == this || gCaptureControl->parent_ == this))
                gCaptureControl = nullptr;
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (DoKeyDown(Message))
                return;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (DoKeyUp(Message))
                return;
            break;
        case WM_CHAR:
            if (DoKeyPress(Message))
                return;
            break;
        case CN_KEYDOWN:
        case CN_SYSKEYDOWN:
        case CN_CHAR:
        case CN_SYSCHAR:
            HandleKeyNotify(Message);
            return;
        case CM_DIALOGKEY:
        case CM_DIALOGCHAR:
        case CM_FOCUSCHANGED:
            Broadcast(Message);
            return;
        case CM_ENTER:
            DoEnter();
            return;
        case CM_EXIT:
            DoExit();
            return;
        case CM_ENABLEDCHANGED:
            if (handle_)
                EnableWindow(handle_, Enabled() ? TRUE : FALSE);
            return;
        case CM_VISIBLECHANGED:
            if (handle_) {
                SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                 (Message.WParam ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
            } else if (Message.WParam && Parent() && Parent()->HandleAllocated()) {
                CreateHandle();
            }
            return;
        case CM_FONTCHANGED:
            if (handle_) {
                TMessage setFont{WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE, 0};
                DefaultHandler(setFont);
            }
            NotifyControls(CM_PARENTFONTCHANGED);
            Invalidate();
            return;
        case CM_COLORCHANGED:
            brush_->SetColor(Color());
            NotifyControls(CM_PARENTCOLORCHANGED);
            Invalidate();
            return;
        case CM_TEXTCHANGED:
            return;  // the window repaints its own text
        default:
            break;
    }
    TControl::WndProc(Message);
}

void TWinControl::DefaultHandler(TMessage& Message) {
    if (Message.Msg >= CN_CTLCOLORMSGBOX && Message.Msg <= CN_CTLCOLORSTATIC) {
        // A reflected colour request nobody answered: the control's font colour on its brush.
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()) & 0xFFFFFF);
        SetBkColor(dc, ColorToRGB(brush_->Color()) & 0xFFFFFF);
        Message.Result = reinterpret_cast<LRESULT>(brush_->Handle());
        return;
    }
    if ((Message.Msg >= CN_BASE && Message.Msg < CN_BASE + 0x400) ||
        (Message.Msg >= CM_BASE && Message.Msg < CM_BASE + 0x100)) {
        Message.Result = 0;  // the library's own messages never reach Windows
        return;
    }
    if (!handle_) {
        DefaultTextMessage(Message);
        return;
    }
    Message.Result = CallWindowProcW(defWndProc_ ? defWndProc_ : DefWindowProcW, handle_, Message.Msg, Message.WParam,
                                     Message.LParam);
}

// ---- TControlCanvas ----------------------------------------------------------------------------------------------
namespace {
std::vector<TControlCanvas*>& OwnDCCanvases() {
    static auto* list = new std::vector<TControlCanvas*>;  // never freed: canvases may die at exit in any order
    return *list;
}
}  // namespace

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::CreateHandle() {
    if (!control_)
        return;
    HWND wnd = nullptr;
    auto* win = dynamic_cast<TWinControl*>(control_);
    if (win)
        wnd = win->Handle();
    else if (control_->Parent())
        wnd = control_->Parent()->Handle();
    if (!wnd)
        return;
    HDC dc = GetDCEx(wnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!dc)
        return;
    if (!win) {
        SetViewportOrgEx(dc, control_->Left(), control_->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, control_->Width(), control_->Height());
    }
    ownDC_ = dc;
    dcWindow_ = wnd;
    OwnDCCanvases().push_back(this);
    SetHandle(dc);
}

void TControlCanvas::FreeHandle() {
    if (!ownDC_)
        return;
    if (HandleAllocated() && Handle() == ownDC_)
        SetHandle(nullptr);
    ReleaseDC(dcWindow_, ownDC_);
    ownDC_ = nullptr;
    dcWindow_ = nullptr;
    auto& list = OwnDCCanvases();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TControlCanvas::FreeDeviceContexts() {
    std::vector<TControlCanvas*> list = OwnDCCanvases();
    for (TControlCanvas* c : list)
        c->FreeHandle();
}

namespace {
// Lends DC to a control canvas for one painting and gives back whatever the canvas had before.
class TCanvasPaintScope {
  public:
    TCanvasPaintScope(TControlCanvas* canvas, HDC dc) : canvas_(canvas) {
        previous_ = canvas->HandleAllocated() ? canvas->Handle() : nullptr;
        canvas->SetHandle(dc);
    }
    ~TCanvasPaintScope() { canvas_->SetHandle(previous_); }
    TCanvasPaintScope(const TCanvasPaintScope&) = delete;
    TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

  private:
    TControlCanvas* canvas_;
    HDC previous_;
};
}  // namespace

// ---- TCustomControl -------------------------------------------------------------------------------------------------
TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC DC) {
    TSaveDCGuard saved(DC);
    TCanvasPaintScope scope(canvas_.get(), DC);
    Paint();
}

// ---- TGraphicControl ------------------------------------------------------------------------------------------------
TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& Message) {
    if (Message.Msg == WM_PAINT && Message.WParam) {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        TSaveDCGuard saved(dc);
        TCanvasPaintScope scope(canvas_.get(), dc);
        Paint();
        return;
    }
    TControl::WndProc(Message);
}
