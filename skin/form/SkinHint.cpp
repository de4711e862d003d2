// The skinned hint window and the hint component.
#include "skin/form/SkinHint.h"

#include <algorithm>
#include <vector>

#include "classlib/GdiHandles.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"

namespace {
// Every live component, oldest first: the window looks for the one in charge here.
std::vector<TbsSkinHint*>& LiveHints() {
    static std::vector<TbsSkinHint*> list;
    return list;
}

// The skin's hint picture, nullptr when the container gives none.
TBitmap* HintPicture(TbsSkinData* SD) {
    if (!SD || SD->Empty)
        return nullptr;
    const int i = SD->HintWindow.WindowPictureIndex;
    if (i < 0 || i >= SD->ActivePictureCount())
        return nullptr;
    TBitmap* b = SD->GetActivePicture(i);
    return b && !b->Empty() ? b : nullptr;
}

constexpr UINT kCalcFlags = DT_CALCRECT | DT_NOPREFIX;
}  // namespace

// ---- TbsSkinHintWindow ----------------------------------------------------------------------------------------------
TbsSkinHintWindow::TbsSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

TbsSkinHintWindow::~TbsSkinHintWindow() = default;

TbsSkinHint* TbsSkinHintWindow::FindHintComponent() {
    if (TCustomForm* main = Application->MainForm())
        for (int i = 0; i < main->ComponentCount(); ++i)
            if (auto* h = dynamic_cast<TbsSkinHint*>(main->Components(i)); h && h->Active())
                return h;
    // A hint component on another form (a dialog, a test's form) still takes the application's hints.
    for (TbsSkinHint* h : LiveHints())
        if (h->Active())
            return h;
    return nullptr;
}

void TbsSkinHintWindow::CreateParams(TCreateParams& Params) {
    THintWindow::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(WS_BORDER);
    Params.Caption = L"TbsSkinHintWindow";
    if (CheckWXP())
        Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinHintWindow::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCPAINT:
            Message.Result = 0;
            return;
        case WM_ERASEBKGND:
            Message.Result = 1;
            return;
        default:
            THintWindow::WndProc(Message);
    }
}

void TbsSkinHintWindow::CheckText(std::wstring& S) const {
    const std::wstring sep = FspHint ? FspHint->LineSeparator() : std::wstring();
    if (sep.empty())
        return;
    size_t pos = 0;
    while ((pos = S.find(sep, pos)) != std::wstring::npos) {
        S.replace(pos, sep.size(), L"\n\r");
        pos += 2;
    }
}

void TbsSkinHintWindow::PrepareFont(TCanvas* C) {
    TbsSkinHint* h = FspHint;
    if (FSD && h->UseSkinFont) {
        const TbsDataSkinHintWindow& rec = FSD->HintWindow;
        C->Font()->SetHeight(rec.FontHeight);
        C->Font()->SetName(rec.FontName);
        C->Font()->SetStyle(ToFontStyles(rec.FontStyle));
        C->Font()->SetColor(static_cast<TColor>(rec.FontColor));
    } else {
        C->SetFont(h->DefaultFont());
    }
    TbsSkinData* container = h->SkinData();
    if (container && container->ResourceStrData())
        C->Font()->SetCharset(container->ResourceStrData()->CharSet);
    else
        C->Font()->SetCharset(h->DefaultFont()->Charset());
}

void TbsSkinHintWindow::CalcHintSize(TCanvas* Canvas, const std::wstring& S, int& W, int& H) {
    TRect r{0, 0, 0, 0};
    Canvas->DrawText(S, r, kCalcFlags);
    W = r.Width();
    H = r.Height();
    TBitmap* pic = HintPicture(FSD);
    if (!pic) {
        W += 4;
        H += 4;
        return;
    }
    const TbsDataSkinHintWindow& rec = FSD->HintWindow;
    const int pw = pic->Width(), ph = pic->Height();
    W += rec.ClRect.Left + pw - rec.ClRect.Right + 5;
    H += rec.ClRect.Top + ph - rec.ClRect.Bottom;
    int gx = W - pw, gy = H - ph;
    if (rec.RTPoint.X + gx < rec.LTPoint.X) {
        W += rec.LTPoint.X - (rec.RTPoint.X + gx);
        gx = W - pw;
    }
    if (rec.RBPoint.X + gx < rec.LBPoint.X) {
        W += rec.LBPoint.X - (rec.RBPoint.X + gx);
        gx = W - pw;
    }
    if (rec.LBPoint.Y + gy < rec.LTPoint.Y) {
        H += rec.LTPoint.Y - (rec.LBPoint.Y + gy);
        gy = H - ph;
    }
    if (rec.RBPoint.Y + gy < rec.RTPoint.Y) {
        H += rec.RTPoint.Y - (rec.RBPoint.Y + gy);
        gy = H - ph;
    }
    NewClRect = {rec.ClRect.Left, rec.ClRect.Top, rec.ClRect.Right + gx, rec.ClRect.Bottom + gy};
    NewLTPoint = rec.LTPoint;
    NewRTPoint = {rec.RTPoint.X + gx, rec.RTPoint.Y};
    NewLBPoint = {rec.LBPoint.X, rec.LBPoint.Y + gy};
    NewRBPoint = {rec.RBPoint.X + gx, rec.RBPoint.Y + gy};
}

void TbsSkinHintWindow::CalcHintSizeEx(TCanvas* Canvas, const std::wstring& S, int& W, int& H) {
    TRect r{0, 0, 0, 0};
    Canvas->DrawText(S, r, kCalcFlags);
    W = r.Width();
    H = r.Height();
    int column = 0;
    if (!title_.empty()) {
        const TFontStyles old = Canvas->Font()->Style();
        Canvas->Font()->SetStyle(old + fsBold);
        TRect tr{0, 0, 0, 0};
        Canvas->DrawText(title_, tr, kCalcFlags);
        Canvas->Font()->SetStyle(old);
        H += tr.Height() + 10;
        W = std::max(W, tr.Width());
        column = tr.Height();
    }
    if (imageList_ && imageIndex_ >= 0 && imageIndex_ < imageList_->Count()) {
        W += imageList_->Width() + 10;
        column += imageList_->Height() + 5;
        H = std::max(H, column);
    }
    TBitmap* pic = HintPicture(FSD);
    if (!pic) {
        W += 4;
        H += 4;
        return;
    }
    W += 10;
    const TbsDataSkinHintWindow& rec = FSD->HintWindow;
    const int pw = pic->Width(), ph = pic->Height();
    W += rec.ClRect.Left + pw - rec.ClRect.Right;
    H += rec.ClRect.Top + ph - rec.ClRect.Bottom;
    const int gx = std::max(W - pw, rec.LTPoint.X - rec.RTPoint.X);
    const int gy = std::max(H - ph, rec.LTPoint.Y - rec.LBPoint.Y);
    W = pw + gx;
    H = ph + gy;
    NewClRect = {rec.ClRect.Left, rec.ClRect.Top, rec.ClRect.Right + gx, rec.ClRect.Bottom + gy};
    NewLTPoint = rec.LTPoint;
    NewRTPoint = {rec.RTPoint.X + gx, rec.RTPoint.Y};
    NewLBPoint = {rec.LBPoint.X, rec.LBPoint.Y + gy};
    NewRBPoint = {rec.RBPoint.X + gx, rec.RBPoint.Y + gy};
}

TRect TbsSkinHintWindow::CalcHintRect(int MaxWidth, const std::wstring& AHint, void* AData) {
    FspHint = FindHintComponent();
    if (!FspHint)
        return THintWindow::CalcHintRect(MaxWidth, AHint, AData);
    FSD = HintPicture(FspHint->SkinData()) ? FspHint->SkinData() : nullptr;
    TBitmap measure(1, 1);
    PrepareFont(measure.Canvas());
    std::wstring text = AHint;
    CheckText(text);
    int W = 0, H = 0;
    CalcHintSize(measure.Canvas(), text, W, H);
    return {0, 0, W, H};
}

void TbsSkinHintWindow::SetHintWindowRegion() {
    TBitmap* pic = HintPicture(FSD);
    const TbsDataSkinHintWindow* rec = FSD ? &FSD->HintWindow : nullptr;
    TBitmap* mask = nullptr;
    if (pic && rec->MaskPictureIndex >= 0 && rec->MaskPictureIndex < FSD->ActivePictureCount())
        mask = FSD->GetActivePicture(rec->MaskPictureIndex);
    if (mask && !mask->Empty()) {
        TGdiRegion rgn;
        CreateSkinRegion(rgn, rec->LTPoint, rec->RTPoint, rec->LBPoint, rec->RBPoint, rec->ClRect, NewLTPoint,
                         NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, mask, Width(), Height());
        // The window owns the region from here on; one it refused is freed here.
        if (rgn && SetWindowRgn(Handle(), rgn.Get(), FALSE)) {
            (void)rgn.Detach();
            HasRegion_ = true;
            return;
        }
    }
    if (HasRegion_) {
        SetWindowRgn(Handle(), nullptr, FALSE);
        HasRegion_ = false;
    }
}

void TbsSkinHintWindow::Activate(TRect Rect, const std::wstring& AHint, Place How, const TRect& From, bool ATop) {
    TbsSkinHint* h = FspHint;
    const HWND wnd = Handle();
    if (CheckW2KWXP() && (h->AlphaBlend || FOldAlphaBlend))
        SetWindowLongPtrW(wnd, GWL_EXSTYLE,
                          GetWindowLongPtrW(wnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    FOldAlphaBlend = h->AlphaBlend;
    FSD = HintPicture(h->SkinData()) ? h->SkinData() : nullptr;
    TBitmap measure(1, 1);
    PrepareFont(measure.Canvas());
    std::wstring text = AHint;
    CheckText(text);
    SetCaption(text);
    int W = 0, H = 0;
    if (AExtendedStyle)
        CalcHintSizeEx(measure.Canvas(), text, W, H);
    else
        CalcHintSize(measure.Canvas(), text, W, H);
    if (How == Place::FromRect) {
        Rect.Left = From.Left + From.Width() / 2 - W / 2;
        Rect.Top = ATop ? From.Top - H : From.Bottom;
    }
    Rect = {Rect.Left, Rect.Top, Rect.Left + W, Rect.Top + H};
    TRect area;
    if (TCustomForm* f = Screen->ActiveForm(); f && f->HandleAllocated())
        area = GetMonitorWorkArea(f->Handle(), true);
    else if (TCustomForm* m = Application->MainForm(); m && m->HandleAllocated() && m->Visible())
        area = GetMonitorWorkArea(m->Handle(), true);
    else
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (Rect.Right > area.Right) {
        Rect.Left -= W + 2;
        Rect.Right -= W + 2;
    }
    if (Rect.Bottom > area.Bottom) {
        Rect.Top -= H + 2;
        Rect.Bottom -= H + 2;
    }
    SetBoundsRect(Rect);
    const bool layered = CheckW2KWXP() && h->AlphaBlend;
    if (layered) {
        SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetAlphaBlendTransparent(wnd, h->AlphaBlendAnimation ? 0 : h->AlphaBlendValue);
    }
    SetHintWindowRegion();
    SetWindowPos(wnd, HWND_TOPMOST, Rect.Left, Rect.Top, W, H, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    SetVisible(true);
    MarkActive(true);
    InvalidateRect(wnd, nullptr, TRUE);
    UpdateWindow(wnd);
    if (layered && h->AlphaBlendAnimation) {
        TAlphaFade fade;
        fade.Target = h->AlphaBlendValue;
        fade.Step = AlphaFadeStep(h->AlphaBlendValue, 10);
        fade.IntervalMs = 3;
        RunAlphaFade(fade, h->FadeClock, [wnd](int a) {
            UpdateWindow(wnd);
            SetAlphaBlendTransparent(wnd, static_cast<std::uint8_t>(a));
        });
    }
}

void TbsSkinHintWindow::ActivateHint(TRect Rect, const std::wstring& AHint) {
    AExtendedStyle = false;
    FspHint = FindHintComponent();
    if (!FspHint) {
        THintWindow::ActivateHint(Rect, AHint);
        return;
    }
    if (!FspHint->FHintTitle.empty() || FspHint->FHintImageList) {
        ActivateHintEx(Rect, FspHint->FHintTitle, AHint, FspHint->FHintImageIndex, FspHint->FHintImageList);
        return;
    }
    title_.clear();
    imageList_ = nullptr;
    imageIndex_ = -1;
    Activate(Rect, AHint, Place::AtRect, {}, false);
}

void TbsSkinHintWindow::ActivateHintEx(TRect Rect,
                                       const std::wstring& AHintTitle,
                                       const std::wstring& AHint,
                                       int AImageIndex,
                                       TCustomImageList* AImageList) {
    FspHint = FindHintComponent();
    if (!FspHint)
        return;
    AExtendedStyle = true;
    title_ = AHintTitle;
    imageIndex_ = AImageIndex;
    imageList_ = AImageList;
    Activate(Rect, AHint, Place::AtRect, {}, false);
}

void TbsSkinHintWindow::ActivateHintFromRect(const TRect& ARect, const std::wstring& AHint, bool ATop) {
    AExtendedStyle = false;
    FspHint = FindHintComponent();
    if (!FspHint)
        return;
    title_.clear();
    imageList_ = nullptr;
    Activate({}, AHint, Place::FromRect, ARect, ATop);
}

void TbsSkinHintWindow::PaintBackground(TCanvas* C, int W, int H) {
    TBitmap* pic = HintPicture(FSD);
    if (pic) {
        const TbsDataSkinHintWindow& rec = FSD->HintWindow;
        TBitmap b(W, H);
        CreateSkinImageBS(rec.LTPoint, rec.RTPoint, rec.LBPoint, rec.RBPoint, rec.ClRect, NewLTPoint, NewRTPoint,
                          NewLBPoint, NewRBPoint, NewClRect, &b, pic, {0, 0, pic->Width(), pic->Height()}, W, H, true,
                          rec.LeftStretch, rec.TopStretch, rec.RightStretch, rec.BottomStretch, rec.StretchEffect,
                          rec.StretchType);
        C->Draw(0, 0, &b);
        return;
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clInfoBk);
    C->FillRect({0, 0, W, H});
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect({0, 0, W, H});
}

void TbsSkinHintWindow::Paint() {
    if (!FspHint) {
        THintWindow::Paint();
        return;
    }
    const int W = Width(), H = Height();
    TBitmap buffer(W, H);
    TCanvas* C = buffer.Canvas();
    PaintBackground(C, W, H);
    PrepareFont(C);
    if (!FSD)
        C->Font()->SetColor(clInfoText);
    C->Brush()->SetStyle(bsClear);
    std::wstring text = Caption();
    const bool skin = HintPicture(FSD) != nullptr;
    const TRect area = skin ? NewClRect : TRect{2, 2, W - 2, H - 2};
    int ty = 0;
    if (AExtendedStyle && !title_.empty()) {
        const TFontStyles old = C->Font()->Style();
        C->Font()->SetStyle(old + fsBold);
        TRect tr{0, 0, 0, 0};
        C->DrawText(title_, tr, kCalcFlags);
        TRect at{area.Left + (skin ? 5 : 0), area.Top, area.Left + (skin ? 5 : 0) + tr.Width(), area.Top + tr.Height()};
        C->DrawText(title_, at, DT_NOPREFIX);
        C->Font()->SetStyle(old);
        ty = tr.Height() + 5;
    }
    int tx = area.Left + (skin ? 5 : 0);
    if (AExtendedStyle && imageList_ && imageIndex_ >= 0 && imageIndex_ < imageList_->Count()) {
        const int iy = ty > 0 ? area.Top + ty : area.Top + (area.Height() - imageList_->Height()) / 2;
        imageList_->Draw(C, tx, iy, imageIndex_, true);
        tx += imageList_->Width() + 5;
    }
    TRect tr{0, 0, 0, 0};
    C->DrawText(text, tr, kCalcFlags);
    TRect r;
    if (AExtendedStyle) {
        const int y = ty > 0 ? area.Top + ty : area.Top + (area.Height() - tr.Height()) / 2;
        r = {tx, y, tx + tr.Width(), y + tr.Height()};
    } else if (skin) {
        const int x = area.Left + area.Width() / 2 - tr.Width() / 2;
        const int y = area.Top + area.Height() / 2 - tr.Height() / 2;
        r = {x, y, x + tr.Width(), y + tr.Height()};
    } else {
        r = area;
    }
    C->DrawText(text, r, DT_NOPREFIX);
    Canvas()->Draw(0, 0, &buffer);
}

// ---- TbsSkinHint ----------------------------------------------------------------------------------------------------
TbsSkinHint::TbsSkinHint(TComponent* AOwner) : TComponent(AOwner) {
    FDefaultFont = std::make_unique<TFont>();
    HW = new TbsSkinHintWindow(this);
    HintTimer = std::make_unique<TTimer>(nullptr);
    HintTimer->SetEnabled(false);
    HintTimer->OnTimer = [this](TObject*) { TimerTick(); };
    LiveHints().push_back(this);
    Application->HintWindowClass = [](TComponent* Owner) -> THintWindow* { return new TbsSkinHintWindow(Owner); };
    // Turning the hints off and on makes the library build its hint window with the new class.
    const bool show = Application->ShowHint();
    Application->SetShowHint(!show);
    Application->SetShowHint(show);
    Application->OnShowHint = [this](std::wstring& S, bool& CanShow, THintInfo& Info) {
        SelfOnShowHint(S, CanShow, Info);
    };
    Application->HintShortPause = 100;
}

TbsSkinHint::~TbsSkinHint() {
    HintTimer.reset();
    // The application's hint window may still point at us.
    if (auto* w = dynamic_cast<TbsSkinHintWindow*>(Application->HintWindow()); w && w->FspHint == this) {
        Application->CancelHint();
        w->FspHint = nullptr;
    }
    auto& live = LiveHints();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    // The application's handler calls into this component: it goes with it.
    if (live.empty()) {
        Application->OnShowHint = nullptr;
        Application->HintWindowClass = nullptr;
    } else {
        TbsSkinHint* next = live.front();
        Application->OnShowHint = [next](std::wstring& S, bool& CanShow, THintInfo& Info) {
            next->SelfOnShowHint(S, CanShow, Info);
        };
    }
}

void TbsSkinHint::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FHintImageList)
        FHintImageList = nullptr;
    if (AComponent == HW)
        HW = nullptr;
}

void TbsSkinHint::SetSkinData(TbsSkinData* Value) {
    FSD = Value;
    if (FSD)
        FSD->FreeNotification(this);
}

void TbsSkinHint::SetActive(bool Value) {
    FActive = Value;
    if (!Value)
        return;
    if (TCustomForm* main = Application->MainForm())
        for (int i = 0; i < main->ComponentCount(); ++i)
            if (auto* h = dynamic_cast<TbsSkinHint*>(main->Components(i)); h && h != this)
                h->FActive = false;
    Application->OnShowHint = [this](std::wstring& S, bool& CanShow, THintInfo& Info) {
        SelfOnShowHint(S, CanShow, Info);
    };
}

void TbsSkinHint::SelfOnShowHint(std::wstring& HintStr, bool& CanShow, THintInfo& HintInfo) {
    FHintTitle.clear();
    FHintImageIndex = 0;
    FHintImageList = nullptr;
    if (auto* extras = dynamic_cast<IbsHintExtras*>(HintInfo.HintControl)) {
        FHintTitle = extras->HintTitle();
        FHintImageIndex = extras->HintImageIndex();
        FHintImageList = extras->HintImageList();
        if (FHintImageList)
            FHintImageList->FreeNotification(this);
    }
    if (OnShowHint)
        OnShowHint(HintStr, CanShow, HintInfo);
}

void TbsSkinHint::ActivateHint(TPoint P, const std::wstring& AHint) {
    if (!HW)
        return;
    FHintTitle.clear();
    FHintImageList = nullptr;
    HW->ActivateHint({P.X, P.Y, P.X, P.Y}, AHint);
}

void TbsSkinHint::ActivateHintEx(TPoint P,
                                 const std::wstring& AHintTitle,
                                 const std::wstring& AHint,
                                 int AImageIndex,
                                 TCustomImageList* AImageList) {
    if (HW)
        HW->ActivateHintEx({P.X, P.Y, P.X, P.Y}, AHintTitle, AHint, AImageIndex, AImageList);
}

void TbsSkinHint::StartTimer(Pending Kind) {
    HintTimer->SetEnabled(false);
    pending_ = Kind;
    timerShowing_ = false;
    HintTimer->SetInterval(static_cast<UINT>(std::max(1, Application->HintPause)));
    HintTimer->SetEnabled(true);
}

void TbsSkinHint::ActivateHint2(const std::wstring& AHint) {
    HintText = AHint;
    FHintTitle.clear();
    FHintImageList = nullptr;
    StartTimer(Pending::Cursor);
}

void TbsSkinHint::ActivateHint3(const TRect& AFromRect, const std::wstring& AHint, bool ATop) {
    HintText = AHint;
    FromRect = AFromRect;
    Top = ATop;
    FHintTitle.clear();
    FHintImageList = nullptr;
    StartTimer(Pending::FromRect);
}

void TbsSkinHint::ActivateHintEx2(const std::wstring& AHintTitle,
                                  const std::wstring& AHint,
                                  int AImageIndex,
                                  TCustomImageList* AImageList) {
    HintText = AHint;
    FHintTitle = AHintTitle;
    FHintImageIndex = AImageIndex;
    FHintImageList = AImageList;
    StartTimer(Pending::CursorEx);
}

void TbsSkinHint::TimerTick() {
    HintTimer->SetEnabled(false);
    if (timerShowing_) {
        HideHint();
        return;
    }
    if (!HW)
        return;
    POINT c{};
    GetCursorPos(&c);
    const TRect at{c.x, c.y + GetCursorHeightMargin(), c.x, c.y + GetCursorHeightMargin()};
    switch (pending_) {
        case Pending::Cursor:
            HW->ActivateHint(at, HintText);
            break;
        case Pending::CursorEx:
            HW->ActivateHintEx(at, FHintTitle, HintText, FHintImageIndex, FHintImageList);
            break;
        case Pending::FromRect:
            HW->ActivateHintFromRect(FromRect, HintText, Top);
            break;
        case Pending::None:
            return;
    }
    timerShowing_ = true;
    HintTimer->SetInterval(static_cast<UINT>(std::max(1, Application->HintHidePause)));
    HintTimer->SetEnabled(true);
}

bool TbsSkinHint::IsVisible() const {
    return HW && HW->HandleAllocated() && IsWindowVisible(HW->Handle());
}

void TbsSkinHint::HideHint() {
    HintTimer->SetEnabled(false);
    pending_ = Pending::None;
    timerShowing_ = false;
    if (IsVisible()) {
        HW->ReleaseHandle();
        SetWindowPos(HW->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        FHintTitle.clear();
        FHintImageList = nullptr;
        FHintImageIndex = 0;
    }
}

int TbsSkinHint::GetCursorHeightMargin() {
    const int fallback = GetSystemMetrics(SM_CYCURSOR);
    CURSORINFO ci{};
    ci.cbSize = sizeof(ci);
    if (!GetCursorInfo(&ci) || !ci.hCursor)
        return fallback;
    ICONINFO ii{};
    if (!GetIconInfo(ci.hCursor, &ii))
        return fallback;
    // GetIconInfo hands over copies of the cursor's bitmaps.
    const TGdiBitmap mask(ii.hbmMask), color(ii.hbmColor);
    int result = fallback;
    BITMAP bm{};
    if (ii.hbmMask && GetObjectW(ii.hbmMask, sizeof(bm), &bm) && bm.bmBitsPixel == 1 && bm.bmWidth > 0) {
        const int w = bm.bmWidth, h = bm.bmHeight;
        TMemoryDC dc(nullptr);
        dc.Select(ii.hbmMask);
        // The AND part shows the cursor where it is black; without a colour bitmap the XOR part follows below.
        const bool monoPair = !ii.hbmColor && h >= 2 * w;
        const int andH = monoPair ? h / 2 : h;
        int lowest = -1;
        for (int y = andH - 1; y >= 0 && lowest < 0; --y)
            for (int x = 0; x < w; ++x)
                if ((GetPixel(dc, x, y) & 0xFFFFFF) == 0) {
                    lowest = y;
                    break;
                }
        if (lowest < 0 && monoPair)
            for (int y = h - 1; y >= andH && lowest < 0; --y)
                for (int x = 0; x < w; ++x)
                    if ((GetPixel(dc, x, y) & 0xFFFFFF) != 0) {
                        lowest = y - andH;
                        break;
                    }
        if (lowest >= 0)
            result = lowest - static_cast<int>(ii.yHotspot) + 1;
    }
    return result;
}
