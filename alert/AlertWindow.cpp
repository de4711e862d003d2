// The alert popup window: painting, geometry, the press/move/release state machine, paging and links.
#include "alert/AlertWindow.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>

#include "alert/HtmlRender.h"
#include "alert/HtmlText.h"
#include "classlib/Forms.h"
#include "classlib/SysUtils.h"

void DrawGradient(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& r, int steps) {
    if (steps <= 0)
        steps = 1;
    const TColor a = ColorToRGB(fromColor), b = ColorToRGB(toColor);
    const double inc[3] = {(static_cast<double>(GetRValue(b)) - GetRValue(a)) / steps,
                           (static_cast<double>(GetGValue(b)) - GetGValue(a)) / steps,
                           (static_cast<double>(GetBValue(b)) - GetBValue(a)) / steps};
    const double band = static_cast<double>(horizontal ? r.Width() : r.Height()) / steps;
    const int len = static_cast<int>(std::lrint(band)) + 1;
    for (int i = 0; i < steps; ++i) {
        // Round to nearest, ties to even (the default rounding mode of lrint).
        const auto ch = [&](int base, int k) { return static_cast<BYTE>(base + std::lrint(i * inc[k])); };
        const TColor c = RGBColor(ch(GetRValue(a), 0), ch(GetGValue(a), 1), ch(GetBValue(a), 2));
        canvas->Pen()->SetColor(c);
        canvas->Brush()->SetColor(c);
        const int off = static_cast<int>(std::lrint(i * band));
        const TRect part = horizontal ? TRect{r.Left + off, r.Top, std::min(r.Right, r.Left + off + len), r.Bottom}
                                      : TRect{r.Left, r.Top + off, r.Right, std::min(r.Bottom, r.Top + off + len)};
        canvas->FillRect(part);
    }
}

void SetLayeredAlpha(HWND window, TColor keyColor, BYTE alpha) {
    using SetAttrs = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user32 = GetModuleHandleW(L"USER32.DLL");
    auto set =
        user32
            ? reinterpret_cast<SetAttrs>(reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")))
            : nullptr;
    if (!set)
        return;  // no layered windows: the popup stays opaque
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    set(window, ColorToRGB(keyColor), alpha, LWA_ALPHA);
}

TAlertWindow::TAlertWindow(TComponent* AOwner)
    : TCustomControl(AOwner),
      alertMessages_(std::make_unique<TStringList>()),
      info_(std::make_unique<TMsgCollection>(this)),
      background_(std::make_unique<TPicture>()),
      glyphNext_(std::make_unique<TBitmap>()),
      glyphNextDisabled_(std::make_unique<TBitmap>()),
      glyphPrev_(std::make_unique<TBitmap>()),
      glyphPrevDisabled_(std::make_unique<TBitmap>()),
      glyphDelete_(std::make_unique<TBitmap>()),
      glyphClose_(std::make_unique<TBitmap>()),
      glyphPopup_(std::make_unique<TBitmap>()) {
    SetVisible(false);
    SetBounds(-1, -1, 300, 100);
    SetText(L"Alert");
    SetShowHint(true);
    SetDoubleBuffered(true);
    alertMessages_->OnChange = [this](TObject*) { MessagesChanged(); };
    scroller_.OnChange = [this](TObject*) {
        scrollPos_ = 0;
        UpdateWindowText();
    };
    // Runs only while a scroll button is held.
    timer_ = new TTimer(this);
    timer_->SetEnabled(false);
    timer_->SetInterval(100);
    timer_->OnTimer = [this](TObject*) { ScrollTimerTick(); };
    hintTimer_ = new TTimer(this);
    hintTimer_->SetEnabled(false);
    hintTimer_->OnTimer = [this](TObject*) {
        if (hintWindow_ && hintWindow_->Active())
            HideButtonHint();
        else
            ShowButtonHint();
    };
}

TAlertWindow::~TAlertWindow() = default;

void TAlertWindow::BeforeDestruction() {
    // Here, not in the destructor: the owned components (the hint window, the timers) are freed between
    // BeforeDestruction and the destructor, and the window's last messages must not reach them either.
    destroying_ = true;
    alertMessages_->OnChange = nullptr;
    HideButtonHint();
    hintTimer_ = nullptr;
    hintWindow_ = nullptr;
    TCustomControl::BeforeDestruction();
}

void TAlertWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    // A hint-style popup without border: never activated, no taskbar button.
    Params.Style = WS_POPUP | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0);
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | (alwaysOnTop_ ? WS_EX_TOPMOST : 0);
    Params.WindowClass.style |= CS_SAVEBITS;
    Params.WinClassName = L"TAlertWindow";
}

// ---- geometry -------------------------------------------------------------------------------------------------------
std::wstring TAlertWindow::CounterText() {
    try {
        return Format(positionFormat_, scroller_.Position(), alertMessages_->Count());
    } catch (const std::exception&) {
        return positionFormat_;
    }
}

int TAlertWindow::CounterWidth() {
    const int n = alertMessages_->Count();
    std::wstring text;
    try {
        text = Format(positionFormat_, n - 1, n);
    } catch (const std::exception&) {
        text = positionFormat_;
    }
    Canvas()->Font()->Assign(Font());
    return Canvas()->TextWidth(text) + 8;
}

TRect TAlertWindow::GripRect() {
    return {1, 1, ClientWidth() - 1, 7};
}
TRect TAlertWindow::CloseRect() {
    const int w = ClientWidth();
    return {w - 21, 8, w - 1, 28};
}
TRect TAlertWindow::PrevRect() {
    const int w = ClientWidth(), h = ClientHeight(), f = CounterWidth();
    return {w / 2 - f / 2 - 20, h - 26, w / 2 - f / 2, h - 1};
}
TRect TAlertWindow::NextRect() {
    const int w = ClientWidth(), h = ClientHeight(), f = CounterWidth();
    return {w / 2 + f / 2, h - 26, w / 2 + f / 2 + 20, h - 1};
}
TRect TAlertWindow::DeleteRect() {
    const int w = ClientWidth(), h = ClientHeight();
    const int a = scroller_.Visible ? w / 2 + CounterWidth() / 2 + 20 : w / 2 - 10;
    return {a, h - 26, a + 20, h - 1};
}
TRect TAlertWindow::PopupRect() {
    const int w = ClientWidth(), h = ClientHeight();
    int left = w / 2 - 10;
    if (showDelete_)
        left = DeleteRect().Right + 5;
    else if (scroller_.Visible)
        left = NextRect().Right + 5;
    return {left, h - 26, left + 20, h - 1};
}
TRect TAlertWindow::ScrollUpRect() {
    const int w = ClientWidth();
    return {w - 16, 32, w - 4, 44};
}
TRect TAlertWindow::ScrollDownRect() {
    const int w = ClientWidth(), h = ClientHeight();
    return {w - 16, h - 40, w - 4, h - 28};
}
TRect TAlertWindow::MessageRect() {
    const TRect c = ClientRect();
    const int image = Images ? Images->Width() + 5 : 0;
    const int b = (!showDelete_ && alertMessages_->Count() <= 1) ? 0 : 25;
    return {c.Left + image + MarginX, c.Top + 20 + MarginY, c.Right - 20 - MarginX, c.Bottom - MarginY - b};
}

THtmlParams TAlertWindow::RenderParams() {
    THtmlParams p;
    p.PictureContainer = PictureContainer;
    p.PictureCache = &imageCache_;
    p.URLColor = URLColor;
    p.HoverEnabled = hover_;
    p.HoverLink = hoverLink_;
    p.Images = Images;
    return p;
}

int TAlertWindow::MessageHeight(int index) {
    if (index < 0 || index >= alertMessages_->Count())
        return 0;
    TMemoryDC dc;
    TCanvas canvas;
    canvas.SetHandle(dc.Get());
    canvas.Font()->Assign(Font());
    TRect t = MessageRect();
    t.Bottom = t.Top + 4096;
    THtmlParams p = RenderParams();
    p.MeasureOnly = true;
    THtmlResult r;
    DrawHtml(&canvas, alertMessages_->Get(index), t, p, r);
    canvas.SetHandle(nullptr);
    return r.YSize;
}

// ---- property setters
// ------------------------------------------------------------------------------------------------
void TAlertWindow::SetAutoSize(bool value) {
    autoSize_ = value;
    if (!value)
        return;
    TMemoryDC dc;
    TCanvas canvas;
    canvas.SetHandle(dc.Get());
    canvas.Font()->Assign(Font());
    const TRect t = MessageRect();
    const int imageW = Images ? Images->Width() : 0, imageH = Images ? Images->Height() : 0;
    int largestW = 0, largestH = 0;
    for (int i = 0; i < alertMessages_->Count(); ++i) {
        const int imageIndex = static_cast<int>(reinterpret_cast<std::intptr_t>(alertMessages_->Objects(i)));
        const bool withImage = Images && imageIndex >= 0;
        int right = t.Left + 4096;
        if (MaxWidth > 0)
            right = t.Left + (withImage ? MaxWidth - imageW - 10 : MaxWidth);
        THtmlParams p = RenderParams();
        p.MeasureOnly = true;
        THtmlResult r;
        DrawHtml(&canvas, alertMessages_->Get(i), {t.Left, t.Top, right, t.Top + 4096}, p, r);
        largestW = std::max(largestW, r.XSize + (withImage ? imageW + 10 : 0));
        largestH = std::max(largestH, r.YSize + 8);
    }
    canvas.SetHandle(nullptr);
    const int I = Images ? imageW + 5 : 0;
    const int minW = scroller_.Visible ? 145 : (Images ? imageW + 10 : 10) + 20;
    int widthPart = std::max(largestW + I + 2 * MarginX + 20, minW);
    if (showPopup_ && showDelete_)
        widthPart += 2 * 20 + 10;
    const bool buttons = scroller_.Visible || showDelete_ || showPopup_;
    const int minH = buttons ? 75 : std::max(Images ? imageH + 10 : 10, 30);
    int heightPart = std::max(largestH + 25, Images ? imageH + 25 : 0) + 2 * MarginY + (scroller_.Visible ? 25 : 0);
    heightPart = std::max(heightPart, minH);
    int w = widthPart + 2 * BorderSize + 16, h = heightPart + 2 * BorderSize + 25;
    if (MaxWidth > 0)
        w = std::min(w, MaxWidth);
    if (MaxHeight > 0)
        h = std::min(h, MaxHeight);
    SetBounds(Left(), Top(), w, h);
}

void TAlertWindow::SetAlwaysOnTop(bool value) {
    alwaysOnTop_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TAlertWindow::SetShowDelete(bool value) {
    showDelete_ = value;
    Invalidate();
}

void TAlertWindow::SetShowPopup(bool value) {
    showPopup_ = value;
    Invalidate();
}

void TAlertWindow::SetPositionFormat(const std::wstring& value) {
    positionFormat_ = value;
    Invalidate();
}

void TAlertWindow::SetHover(bool value) {
    hover_ = value;
    hoverLink_ = -1;
}

void TAlertWindow::Grey(TBitmap* source, TBitmap* target) {
    if (source->Empty()) {
        target->Assign(nullptr);
        return;
    }
    TBitmap copy;
    copy.Assign(source);
    copy.SetPixelFormat(pf32bit);
    std::vector<std::uint32_t> pixels(static_cast<size_t>(copy.Width()) * copy.Height());
    for (int y = 0; y < copy.Height(); ++y) {
        const auto* row = static_cast<const std::uint8_t*>(copy.ScanLine(y));
        for (int x = 0; x < copy.Width(); ++x) {
            const std::uint8_t* p = row + x * 4;
            const unsigned g = 128 + ((p[0] + p[1] + p[2]) / 3) / 2;
            pixels[static_cast<size_t>(y) * copy.Width() + x] = 0xFF000000u | (g << 16) | (g << 8) | g;
        }
    }
    target->SetPixels32(copy.Width(), copy.Height(), pixels.data());
}

void TAlertWindow::SetGlyphNext(TBitmap* value) {
    glyphNext_->Assign(value);
    Grey(glyphNext_.get(), glyphNextDisabled_.get());
}

void TAlertWindow::SetGlyphPrev(TBitmap* value) {
    glyphPrev_->Assign(value);
    Grey(glyphPrev_.get(), glyphPrevDisabled_.get());
}

// ---- messages and paging
// ---------------------------------------------------------------------------------------------
void TAlertWindow::MessagesChanged() {
    if (destroying_)
        return;
    const int n = alertMessages_->Count();
    scroller_.SetMax(n);
    if (n > 0) {
        scroller_.SetMin(1);
    } else {
        scroller_.SetMin(0);
        scroller_.SetPosition(0);
        scroller_.SetMax(0);
        if (!AutoHiding)
            CloseWindow();
    }
    if (scroller_.Position() == 0)
        scroller_.SetPosition(scroller_.Min());
    scroller_.Visible = n > 1;
    UpdateWindowText();
    Invalidate();
}

void TAlertWindow::UpdateWindowText() {
    if (destroying_)
        return;
    const int active = scroller_.Position();
    const std::wstring text = active >= 1 && active <= alertMessages_->Count()
                                  ? HtmlPlainText(alertMessages_->Strings(active - 1))
                                  : std::wstring(L"Alert");
    if (text != Text())
        SetText(text);
}

void TAlertWindow::First() {
    scroller_.SetPosition(scroller_.Min());
    Invalidate();
}

void TAlertWindow::Last() {
    scroller_.SetPosition(scroller_.Max());
    Invalidate();
}

void TAlertWindow::Next() {
    if (!scroller_.CanGoForward())
        return;
    scroller_.SetPosition(scroller_.Position() + 1);
    Invalidate();
    if (OnNextMessage)
        OnNextMessage(this);
}

void TAlertWindow::Previous() {
    if (!scroller_.CanGoBack())
        return;
    scroller_.SetPosition(scroller_.Position() - 1);
    Invalidate();
    if (OnPrevMessage)
        OnPrevMessage(this);
}

void TAlertWindow::Delete(int index) {
    if (index < 0 || index >= alertMessages_->Count())
        throw Exception(L"Invalid Index");
    const int shown = scroller_.Position() - 1;
    if (index < shown || (index == shown && !scroller_.CanGoForward() && scroller_.CanGoBack()))
        scroller_.SetPosition(scroller_.Position() - 1);
    if (OnDeleteMessage)
        OnDeleteMessage(this, index);
    Invalidate();
}

void TAlertWindow::Delete() {
    if (scroller_.Position() > 0)
        Delete(scroller_.Position() - 1);
}

void TAlertWindow::CloseWindow() {
    if (!(HandleAllocated() && IsWindowVisible(Handle())) && !alwaysOnTop_)
        return;
    bool canClose = true;
    if (OnCanClose)
        OnCanClose(this, canClose);
    if (!canClose)
        return;
    HideButtonHint();
    if (HandleAllocated())
        ShowWindow(Handle(), SW_HIDE);
    SetVisible(false);
    if (OnClose)
        OnClose(this);
}

// ---- painting ------------------------------------------------------------------------------------------------------
void TAlertWindow::PaintButtonFace(const TRect& r, bool down, bool hover) {
    if (!down && !hover)
        return;
    TCanvas* c = Canvas();
    DrawGradient(c, down ? BtnDownColor : BtnHoverColor, down ? BtnDownColorTo : BtnHoverColorTo, false,
                 {r.Left, r.Top, r.Right, r.Bottom - 1}, 16);
    c->Brush()->SetColor(clBlack);
    c->FrameRect(r);
}

namespace {

// Two-pixel black line from (x1, y1) to (x2, y2).
void ThickLine(TCanvas* c, int x1, int y1, int x2, int y2) {
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(2);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
    c->Pen()->SetWidth(1);
}

// Four rows of widths 7, 5, 3, 1 from row y (up: rows going up; down: rows going down).
void Triangle(TCanvas* c, int left, int y, bool up, TColor color) {
    c->Pen()->SetColor(color);
    for (int k = 0; k < 4; ++k) {
        const int row = up ? y - k : y + k;
        c->MoveTo(left + k, row);
        c->LineTo(left + 7 - k, row);
    }
}

}  // namespace

void TAlertWindow::PaintPagerButton(const TRect& r, bool next) {
    TCanvas* c = Canvas();
    const bool can = next ? scroller_.CanGoForward() : scroller_.CanGoBack();
    if (can)
        PaintButtonFace(r, next ? nextDown_ : prevDown_, next ? nextHover_ : prevHover_);
    TBitmap* glyph = next ? (can ? glyphNext_.get() : glyphNextDisabled_.get())
                          : (can ? glyphPrev_.get() : glyphPrevDisabled_.get());
    if (!glyph->Empty()) {
        glyph->SetTransparent(true);
        c->StretchDraw({r.Left + 2, r.Top + 4, r.Left + 18, r.Top + 20}, glyph);
        return;
    }
    c->Font()->Assign(Font());
    c->Font()->SetColor(can ? clBlack : 0x808080);
    c->Font()->SetStyle({fsBold});
    c->Brush()->SetStyle(bsClear);
    const wchar_t* t = next ? L">" : L"<";
    c->TextOut(r.Left + 5, r.Top + 6, t);
    c->TextOut(r.Left + 8, r.Top + 6, t);
    c->Brush()->SetStyle(bsSolid);
}

void TAlertWindow::Paint() {
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    TRect t = MessageRect();
    bool defaultPaint = true;
    if (OnCustomPaint)
        OnCustomPaint(this, c, client, defaultPaint);
    if (!defaultPaint)
        return;
    const int w = client.Width(), h = client.Height();
    const int pos = scroller_.Position();

    // Body and frame.
    TColor from = WindowColor, to = WindowColorTo;
    if (pos > 0 && pos - 1 < info_->Count() && info_->Items(pos - 1)->Color() != clNone) {
        from = info_->Items(pos - 1)->Color();
        to = info_->Items(pos - 1)->ColorTo();
    }
    DrawGradient(c, from, to, false, client, 80);
    c->Brush()->SetColor(ColorToRGB(BorderColor));
    c->FrameRect(client);
    if (background_->Graphic() && !background_->Graphic()->Empty())
        c->Draw(0, 0, background_->Graphic());

    // Grip bar with nine dots.
    DrawGradient(c, CaptionColor, CaptionColorTo, false, GripRect(), 16);
    const int x0 = (w - 34) / 2;
    for (int k = 0; k < 9; ++k) {
        c->Brush()->SetColor(clWhite);
        c->FillRect({x0 + 1 + 4 * k, 3, x0 + 3 + 4 * k, 5});
        c->Brush()->SetColor(clBlack);
        c->FillRect({x0 + 4 * k, 2, x0 + 2 + 4 * k, 4});
        c->SetPixel(x0 + 1 + 4 * k, 3, ColorToRGB(CaptionColorTo));
    }

    // Close button.
    const TRect close = CloseRect();
    PaintButtonFace(close, downClose_, hoverClose_);
    if (!glyphClose_->Empty()) {
        glyphClose_->SetTransparent(true);
        c->StretchDraw({close.Left + 2, close.Top + 2, close.Left + 18, close.Top + 18}, glyphClose_.get());
    } else {
        ThickLine(c, w - 15, 20, w - 7, 13);
        ThickLine(c, w - 15, 14, w - 7, 21);
    }

    // The shown message.
    showUp_ = showDown_ = false;
    if (pos > 0 && pos - 1 < alertMessages_->Count()) {
        const int imageIndex = static_cast<int>(reinterpret_cast<std::intptr_t>(alertMessages_->Objects(pos - 1)));
        if (Images && imageIndex >= 0)
            Images->Draw(c, 5, 16, imageIndex);
        c->Font()->Assign(Font());
        TCanvasClipGuard clip(c);
        c->ClipTo(t);
        if (ShowScrollers) {
            const int mh = MessageHeight(pos - 1);
            if (mh > t.Height()) {
                t.Top -= scrollPos_;
                showDown_ = mh > t.Height() + scrollPos_;
                showUp_ = scrollPos_ > 0;
            }
        }
        c->Brush()->SetColor(from);
        THtmlParams p = RenderParams();
        THtmlResult r;
        DrawHtml(c, alertMessages_->Get(pos - 1), t, p, r);
    }

    // Scroll arrows.
    if (showUp_) {
        const TRect r = ScrollUpRect();
        PaintButtonFace(r, upDown_, upHover_);
        Triangle(c, r.Left + 2, r.Bottom - 4, true, clBlack);
    }
    if (showDown_) {
        const TRect r = ScrollDownRect();
        PaintButtonFace(r, downDown_, downHover_);
        Triangle(c, r.Left + 2, r.Top + 4, false, clBlack);
    }

    // Pager.
    if (scroller_.Visible) {
        PaintPagerButton(PrevRect(), false);
        c->Font()->Assign(Font());
        c->Brush()->SetStyle(bsClear);
        const std::wstring counter = CounterText();
        c->TextOut(w / 2 - c->TextWidth(counter) / 2, h - c->TextHeight(L"gt") - 5, counter);
        c->Brush()->SetStyle(bsSolid);
        PaintPagerButton(NextRect(), true);
    }

    // Delete button.
    if (showDelete_ && alertMessages_->Count() > 0) {
        const TRect r = DeleteRect();
        PaintButtonFace(r, deleteDown_, deleteHover_);
        if (!glyphDelete_->Empty()) {
            glyphDelete_->SetTransparent(true);
            c->StretchDraw({r.Left + 2, r.Top + 4, r.Left + 18, r.Top + 20}, glyphDelete_.get());
        } else {
            ThickLine(c, r.Right - 14, r.Top + 15, r.Right - 6, r.Top + 8);
            ThickLine(c, r.Right - 14, r.Top + 9, r.Right - 6, r.Top + 16);
        }
    }

    // Popup button.
    if (showPopup_) {
        const TRect r = PopupRect();
        PaintButtonFace(r, popupDown_, popupHover_);
        if (!glyphPopup_->Empty()) {
            glyphPopup_->SetTransparent(true);
            c->StretchDraw({r.Left + 2, r.Top + 4, r.Left + 18, r.Top + 20}, glyphPopup_.get());
        } else {
            Triangle(c, r.Left + 7, r.Bottom - 10, false, clBlack);
            c->Font()->SetName(L"MS Sans Serif");
            c->Font()->SetSize(8);
            c->Font()->SetStyle({fsBold});
            c->Font()->SetColor(clBlack);
            c->Brush()->SetStyle(bsClear);
            c->TextOut(r.Left + 5, r.Top + 3, L">");
            c->TextOut(r.Left + 8, r.Top + 3, L">");
            c->Brush()->SetStyle(bsSolid);
        }
    }
}

// ---- mouse ---------------------------------------------------------------------------------------------------------
bool TAlertWindow::LinkAt(int X, int Y, THtmlResult& r) {
    const int pos = scroller_.Position();
    if (pos <= 0 || pos - 1 >= alertMessages_->Count())
        return false;
    TRect t = MessageRect();
    if (scrollPos_ > 0)
        t.Bottom += 1000;
    TMemoryDC dc;
    TCanvas canvas;
    canvas.SetHandle(dc.Get());
    canvas.Font()->Assign(Font());
    THtmlParams p = RenderParams();
    p.HitOnly = true;
    p.HitX = X;
    p.HitY = Y + scrollPos_;
    const bool hit = DrawHtml(&canvas, alertMessages_->Get(pos - 1), t, p, r);
    canvas.SetHandle(nullptr);
    return hit;
}

void TAlertWindow::ClickAnchor(int X, int Y) {
    THtmlResult r;
    if (!LinkAt(X, Y, r))
        return;
    if (OnAnchorClick)
        OnAnchorClick(this, r.Anchor, scroller_.Position() - 1);
    else
        ShellExecuteW(nullptr, L"open", r.Anchor.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (hover_)
        InvalidateRect(Handle(), AsRECT(hoverRect_), FALSE);
}

void TAlertWindow::HoverTest(int X, int Y) {
    THtmlResult r;
    const bool hit = LinkAt(X, Y, r);
    if (hit) {
        SetCursor(crHandPoint);
        if (r.LinkNumber != hoverLink_ && hover_) {
            InvalidateRect(Handle(), AsRECT(hoverRect_), FALSE);
            TRect area = r.HitRect;
            area.Offset(0, -scrollPos_);
            InvalidateRect(Handle(), AsRECT(area), FALSE);
        }
        hoverLink_ = r.LinkNumber;
        hoverRect_ = r.HitRect;
        hoverRect_.Offset(0, -scrollPos_);
    } else {
        SetCursor(crDefault);
        if (hoverLink_ != -1 && hover_)
            InvalidateRect(Handle(), AsRECT(hoverRect_), FALSE);
        hoverLink_ = -1;
    }
}

void TAlertWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    HideButtonHint();
    const TPoint pt{X, Y};
    if (GripRect().Contains(pt)) {
        dragging_ = true;
        oldMouseX_ = X;
        oldMouseY_ = Y;
        SetCapture(Handle());
        return;
    }
    if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
    }
    const bool many = alertMessages_->Count() > 1;
    if (CloseRect().Contains(pt))
        downClose_ = true;
    else if (PrevRect().Contains(pt))
        prevDown_ = true;
    else if (many && NextRect().Contains(pt))
        nextDown_ = true;
    else if (showDelete_ && DeleteRect().Contains(pt))
        deleteDown_ = true;
    else if (showPopup_ && PopupRect().Contains(pt))
        popupDown_ = true;
    else if (showUp_ && ScrollUpRect().Contains(pt))
        upDown_ = true;
    else if (showDown_ && ScrollDownRect().Contains(pt))
        downDown_ = true;
    if (upDown_ || downDown_)
        timer_->SetEnabled(true);
    Invalidate();
    ClickAnchor(X, Y);
}

void TAlertWindow::SetButtonHint(bool entering, const std::wstring& hint) {
    if (entering) {
        HideButtonHint();
        if (hint.empty() || !ShowHint() || !Application->ShowHint())
            return;
        pendingHint_ = hint;
        hintTimer_->SetInterval(static_cast<UINT>(std::max(1, Application->HintPause)));
        hintTimer_->SetEnabled(true);
    } else if (pendingHint_ == hint) {
        HideButtonHint();
    }
}

void TAlertWindow::ShowButtonHint() {
    hintTimer_->SetEnabled(false);
    if (pendingHint_.empty() || !HandleAllocated() || !IsWindowVisible(Handle()))
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    THintInfo info;
    info.HintControl = this;
    info.CursorPos = {static_cast<int>(cursor.x), static_cast<int>(cursor.y)};
    const TPoint origin = ClientToScreen({0, 0});
    info.CursorRect = Bounds(origin.X, origin.Y, Width(), Height());
    // Below the cursor's picture.
    info.HintPos = {info.CursorPos.X, info.CursorPos.Y + GetSystemMetrics(SM_CYCURSOR) * 3 / 4};
    info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
    info.HintColor = Application->HintColor;
    info.HintStr = GetShortHint(pendingHint_);
    info.HideTimeout = Application->HintHidePause;
    bool canShow = true;
    if (Application->OnShowHint)
        Application->OnShowHint(info.HintStr, canShow, info);
    if (!canShow || info.HintStr.empty())
        return;
    if (!hintWindow_)
        hintWindow_ = Application->HintWindowClass ? Application->HintWindowClass(this) : new THintWindow(this);
    if (!hintWindow_)
        return;
    hintWindow_->SetColor(info.HintColor);
    const TRect size = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    hintWindow_->ActivateHintData(Bounds(info.HintPos.X, info.HintPos.Y, size.Width(), size.Height()), info.HintStr,
                                  info.HintData);
    // The hint stays above the topmost popup.
    SetWindowPos(hintWindow_->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (info.HideTimeout > 0) {
        hintTimer_->SetInterval(static_cast<UINT>(info.HideTimeout));
        hintTimer_->SetEnabled(true);
    }
}

void TAlertWindow::HideButtonHint() {
    pendingHint_.clear();
    if (hintTimer_)
        hintTimer_->SetEnabled(false);
    if (hintWindow_ && hintWindow_->Active())
        hintWindow_->ReleaseHandle();
}

void TAlertWindow::MouseMove(TShiftState Shift, int X, int Y) {
    if (X == oldX_ && Y == oldY_)
        return;
    oldX_ = X;
    oldY_ = Y;
    TCustomControl::MouseMove(Shift, X, Y);
    if (dragging_ && Shift.Contains(ssLeft)) {
        POINT cur;
        GetCursorPos(&cur);
        SetWindowPos(Handle(), HWND_TOPMOST, cur.x - oldMouseX_, cur.y - oldMouseY_, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    const TPoint pt{X, Y};
    bool changed = false;
    auto track = [&](bool& hover, bool& down, bool allowed, const TRect& r, const std::wstring& hint) {
        const bool inside = allowed && r.Contains(pt);
        if (inside && !hover) {
            hover = true;
            changed = true;
            SetButtonHint(true, hint);
        } else if (!inside && hover) {
            hover = false;
            down = false;
            changed = true;
            SetButtonHint(false, hint);
        }
    };
    track(hoverClose_, downClose_, true, CloseRect(), HintCloseBtn);
    track(prevHover_, prevDown_, scroller_.Visible && scroller_.CanGoBack(), PrevRect(), HintPrevBtn);
    track(nextHover_, nextDown_, scroller_.Visible && scroller_.CanGoForward(), NextRect(), HintNextBtn);
    track(deleteHover_, deleteDown_, showDelete_, DeleteRect(), HintDeleteBtn);
    track(popupHover_, popupDown_, showPopup_, PopupRect(), HintPopupBtn);
    track(upHover_, upDown_, showUp_, ScrollUpRect(), std::wstring());
    track(downHover_, downDown_, showDown_, ScrollDownRect(), std::wstring());
    if (changed)
        Invalidate();
}

void TAlertWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    auto clear = [this] {
        downClose_ = prevDown_ = nextDown_ = deleteDown_ = popupDown_ = upDown_ = downDown_ = false;
    };
    if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
        if (OnWindowMoved)
            OnWindowMoved(this);
    } else if (downClose_) {
        clear();
        if (autoDelete_)
            Delete();
        CloseWindow();
    } else if (prevDown_) {
        clear();
        scrollPos_ = 0;
        Previous();
    } else if (nextDown_) {
        clear();
        scrollPos_ = 0;
        Next();
    } else if (deleteDown_) {
        clear();
        scrollPos_ = 0;
        Delete();
    } else if (popupDown_) {
        clear();
        Invalidate();
        if (OnPopupbtnClick)
            OnPopupbtnClick(this);
    } else if (upDown_) {
        clear();
        if (showUp_)
            ScrollStep(true);
    } else if (downDown_) {
        clear();
        if (showDown_)
            ScrollStep(false);
    } else if (OnAlertClick) {
        OnAlertClick(this);
    }
    if (HandleAllocated())
        Invalidate();
}

void TAlertWindow::ScrollStep(bool up) {
    const int pos = scroller_.Position();
    if (pos <= 0)
        return;
    if (up) {
        if (scrollPos_ > 3)
            scrollPos_ -= 4;
    } else if (scrollPos_ + MessageRect().Height() < MessageHeight(pos - 1) + 4) {
        scrollPos_ += 4;
    }
    Invalidate();
}

void TAlertWindow::ScrollTimerTick() {
    if (upDown_ && showUp_)
        ScrollStep(true);
    else if (downDown_ && showDown_)
        ScrollStep(false);
    else
        timer_->SetEnabled(false);
}

void TAlertWindow::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_DESTROY:
            if (OnDestroy)
                OnDestroy(this);
            break;
        case WM_ERASEBKGND:
            Message.Result = 1;
            return;
        case WM_SETFOCUS:
            Message.Result = 0;
            return;
        case WM_MOUSEACTIVATE:
            Message.Result = MA_NOACTIVATE;
            return;
        case WM_NCHITTEST: {
            POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
            ::ScreenToClient(Handle(), &p);
            HoverTest(p.x, p.y);
            Message.Result = HTCLIENT;
            return;
        }
        case CM_MOUSELEAVE:
            // A drag holds the capture: a pointer quicker than the window it drags leaves it for a moment, and the
            // release ends the drag.
            if (dragging_)
                break;
            hoverClose_ = prevHover_ = nextHover_ = deleteHover_ = popupHover_ = upHover_ = downHover_ = false;
            prevDown_ = nextDown_ = deleteDown_ = false;
            if (AutoHide && HandleAllocated())
                SetVisible(false);
            HideButtonHint();
            oldX_ = oldY_ = -1;
            if (HandleAllocated())
                Invalidate();
            break;
        default:
            break;
    }
    TCustomControl::WndProc(Message);
}
