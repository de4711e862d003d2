// TTimer: window timers on one shared message-only window.
#include "classlib/ExtCtrls.h"

#include <map>

#include "base/Report.h"

struct TimerWindow {
    HWND wnd = nullptr;
    std::map<UINT_PTR, TTimer*> timers;  // borrowed: each timer removes itself when it stops
    UINT_PTR nextId = 1;

    static TimerWindow& Get() {
        // Never freed: timers may die at exit in any order.
        static auto* instance = new TimerWindow;
        return *instance;
    }

    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg != WM_TIMER)
            return DefWindowProcW(wnd, msg, wParam, lParam);
        TimerWindow& tw = Get();
        auto it = tw.timers.find(static_cast<UINT_PTR>(wParam));
        if (it == tw.timers.end()) {
            KillTimer(wnd, wParam);  // a tick of a timer that has gone
            return 0;
        }
        TTimer* timer = it->second;
        try {
            timer->Timer();  // may free the timer: nothing touches it afterwards
        } catch (...) {
            if (TComponent::ErrorHandler)
                TComponent::ErrorHandler(nullptr);
            else
                ReportCaught("TTimer: OnTimer");
        }
        return 0;
    }

    HWND Window() {
        if (!wnd) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &TimerWindow::Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TrelmTimerWindow";
            RegisterClassW(&wc);
            wnd =
                CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        }
        return wnd;
    }
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    UpdateTimer();
}

TTimer::~TTimer() {
    StopTimer();
}

void TTimer::StopTimer() {
    if (!id_)
        return;
    TimerWindow& tw = TimerWindow::Get();
    KillTimer(tw.wnd, id_);
    tw.timers.erase(id_);
    id_ = 0;
}

void TTimer::UpdateTimer() {
    StopTimer();
    if (!enabled_ || interval_ == 0 || ComponentState().Contains(csDestroying))
        return;
    TimerWindow& tw = TimerWindow::Get();
    HWND wnd = tw.Window();
    if (!wnd)
        throw EOutOfResources(L"Not enough timers available");
    UINT_PTR id = tw.nextId++;
    if (!SetTimer(wnd, id, interval_, nullptr))
        throw EOutOfResources(L"Not enough timers available");
    tw.timers[id] = this;
    id_ = id;
}

void TTimer::SetEnabled(bool Value) {
    if (enabled_ == Value)
        return;
    enabled_ = Value;
    UpdateTimer();
}

void TTimer::SetInterval(UINT Value) {
    if (interval_ == Value)
        return;
    interval_ = Value;
    UpdateTimer();
}

void TTimer::Timer() {
    if (OnTimer)
        OnTimer(this);
}

// ---- TBevel ---------------------------------------------------------------------------------------------------------
namespace {
// A 3-D frame of width 1 around r (shrunk by one), top-left in topLeft, bottom-right in bottomRight.
void Frame3D(TCanvas* canvas, TRect& r, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        canvas->Pen()->SetColor(topLeft);
        canvas->MoveTo(r.Left, r.Bottom - 1);
        canvas->LineTo(r.Left, r.Top);
        canvas->LineTo(r.Right - 1, r.Top);
        canvas->Pen()->SetColor(bottomRight);
        canvas->LineTo(r.Right - 1, r.Bottom - 1);
        canvas->LineTo(r.Left - 1, r.Bottom - 1);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
}
}  // namespace

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle(ControlStyle() + csReplicatable);
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
    if (shape_ == Value)
        return;
    shape_ = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
    if (style_ == Value)
        return;
    style_ = Value;
    Invalidate();
}

void TBevel::Paint() {
    const TColor dark = clBtnShadow, light = clBtnHighlight;
    const TColor first = style_ == bsLowered ? dark : light;   // top or left line
    const TColor second = style_ == bsLowered ? light : dark;  // its partner one pixel further
    TCanvas* c = Canvas();
    c->Pen()->SetWidth(1);
    const int w = Width(), h = Height();
    auto line = [c](TColor color, int x1, int y1, int x2, int y2) {
        c->Pen()->SetColor(color);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    switch (shape_) {
        case bsBox: {
            TRect r{0, 0, w, h};
            Frame3D(c, r, first, second, 1);
            break;
        }
        case bsFrame: {
            // Two interleaved frames: the groove (lowered) or the ridge (raised).
            TRect outer{0, 0, w - 1, h - 1};
            Frame3D(c, outer, first, first, 1);
            TRect inner{1, 1, w, h};
            Frame3D(c, inner, second, second, 1);
            break;
        }
        case bsTopLine:
            line(first, 0, 0, w, 0);
            line(second, 0, 1, w, 1);
            break;
        case bsBottomLine:
            line(first, 0, h - 2, w, h - 2);
            line(second, 0, h - 1, w, h - 1);
            break;
        case bsLeftLine:
            line(first, 0, 0, 0, h);
            line(second, 1, 0, 1, h);
            break;
        case bsRightLine:
            line(first, w - 2, 0, w - 2, h);
            line(second, w - 1, 0, w - 1, h);
            break;
        case bsSpacer:
            break;
    }
}

// ---- TCustomPanel ---------------------------------------------------------------------------------------------------
TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle(
        {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks, csReplicatable});
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::Changed() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
    bevelInner_ = Value;
    Changed();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
    bevelOuter_ = Value;
    Changed();
}

void TCustomPanel::SetBevelWidth(int Value) {
    bevelWidth_ = Value < 1 ? 1 : Value;
    Changed();
}

void TCustomPanel::SetBorderWidth(int Value) {
    borderWidth_ = Value < 0 ? 0 : Value;
    Changed();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    alignment_ = Value;
    Invalidate();
}

void TCustomPanel::SetShowCaption(bool Value) {
    showCaption_ = Value;
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
    TCustomControl::AdjustClientRect(Rect);
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone)
        inset += bevelWidth_;
    if (bevelInner_ != bvNone)
        inset += bevelWidth_;
    Rect = {Rect.Left + inset, Rect.Top + inset, Rect.Right - inset, Rect.Bottom - inset};
}

void TCustomPanel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TPanelBevel b) {
        if (b == bvNone)
            return;
        if (b == bvSpace) {
            r = {r.Left + bevelWidth_, r.Top + bevelWidth_, r.Right - bevelWidth_, r.Bottom - bevelWidth_};
            return;
        }
        const TColor tl = b == bvLowered ? clBtnShadow : clBtnHighlight;
        const TColor br = b == bvLowered ? clBtnHighlight : clBtnShadow;
        Frame3D(c, r, tl, br, bevelWidth_);
    };
    bevel(bevelOuter_);
    r = {r.Left + borderWidth_, r.Top + borderWidth_, r.Right - borderWidth_, r.Bottom - borderWidth_};
    bevel(bevelInner_);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (!showCaption_ || Caption().empty())
        return;
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    flags |= alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
    std::wstring text = Caption();
    c->DrawText(text, r, flags);
}

void TCustomPanel::WndProc(TMessage& Message) {
    if (Message.Msg == CM_TEXTCHANGED) {
        Invalidate();
        return;
    }
    TCustomControl::WndProc(Message);
}

// ---- TImage ---------------------------------------------------------------------------------------------------------
TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

void TImage::SetPicture(std::unique_ptr<TGraphic> Value) {
    picture_ = std::move(Value);
    Invalidate();
}

void TImage::SetStretch(bool Value) {
    stretch_ = Value;
    Invalidate();
}

void TImage::Paint() {
    if (!picture_ || picture_->Empty())
        return;
    const TRect r = stretch_ ? TRect{0, 0, Width(), Height()} : TRect{0, 0, picture_->Width(), picture_->Height()};
    Canvas()->StretchDraw(r, picture_.get());
}
