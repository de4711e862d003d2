#include "skin/ribbon/RibbonPage.h"

#include <algorithm>

#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/ribbon/AppMenu.h"
#include "skin/ribbon/Ribbon.h"
#include "skin/ribbon/RibbonLayout.h"

namespace {
constexpr int kMinMenuPageSize = 100;

// The page filled with Src of Picture as the entry spreads it, else with Fallback.
void FillPage(HDC DC,
              int W,
              int H,
              TBitmap* Picture,
              const TRect& Src,
              bool StretchEffect,
              TbsStretchType Type,
              TColor Fallback) {
    TCanvas c;
    c.SetHandle(DC);
    const TRect all{0, 0, W, H};
    if (Picture && !Src.IsEmpty() && RectInPicture(Src, Picture)) {
        DrawBackgroundPicture(&c, Picture, Src, all, StretchEffect, Type);
    } else {
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(Fallback);
        c.FillRect(all);
    }
    c.SetHandle(nullptr);
}
}  // namespace

// ---- The scrolling core ---------------------------------------------------------------------------------------------
TbsRibbonScrollHost::TbsRibbonScrollHost(TComponent* AOwner, bool Vertical) : TCustomControl(AOwner), FScroller(this) {
    FScroller.Vertical = Vertical;
    FScroller.ArrowEntry = L"resizetoolbutton";
    FScroller.ContentEnd = [this] { return ChildrenEnd(this, this->Vertical()); };
    FScroller.ScrollContent = [this](int Distance) {
        ScrollChildren(this, Distance, this->Vertical());
        if (StretchedBackground())
            Invalidate();
    };
    FScroller.ArrowSkin = [this] { return ArrowSkin(); };
    TCustomControl::SetBounds(Left(), Top(), 150, 30);
}

TbsRibbonScrollHost::~TbsRibbonScrollHost() = default;

void TbsRibbonScrollHost::SetCanScroll(bool Value) {
    if (FCanScroll == Value)
        return;
    FCanScroll = Value;
    if (Value)
        GetScrollInfo();
    else
        FScroller.Reset();
}

void TbsRibbonScrollHost::GetScrollInfo() {
    if (FCanScroll)
        FScroller.GetRange();
}

void TbsRibbonScrollHost::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const int old = Vertical() ? Height() : Width();
    {
        TbsUpdateGuard guard(FScroller.Updating);
        TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    }
    const int now = Vertical() ? Height() : Width();
    FScroller.S.SizeOffset = old != 0 && now > old ? now - old : 0;
    if (FCanScroll)
        GetScrollInfo();
}

void TbsRibbonScrollHost::AlignControls(TControl* AControl, TRect& Rect) {
    TCustomControl::AlignControls(AControl, Rect);
    if (!FScroller.Updating)
        GetScrollInfo();
}

void TbsRibbonScrollHost::AdjustClientRect(TRect& Rect) {
    TCustomControl::AdjustClientRect(Rect);
    if (!FCanScroll)
        return;
    const int w = Rect.Width(), h = Rect.Height(), p = FScroller.S.SPosition, m = FScroller.S.SMax;
    if (Vertical())
        Rect = {0, -p, w, -p + std::max(m, h)};
    else
        Rect = {-p, 0, -p + std::max(m, w), h};
}

void TbsRibbonScrollHost::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TbsRibbonScrollHost::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_ERASEBKGND:
            PaintBG(reinterpret_cast<HDC>(Message.WParam));
            Message.Result = 1;
            return;
        case WM_SIZE:
            TCustomControl::WndProc(Message);
            if (PlacesArrows() && FCanScroll) {
                TbsUpdateGuard guard(FScroller.Updating);
                FScroller.PlaceButtons();
            }
            Invalidate();
            return;
        case WM_SETCURSOR: {
            const LPARAM saved = Message.LParam;
            if (FCanScroll)
                FScroller.HandleMessage(Message);
            TCustomControl::WndProc(Message);
            Message.LParam = saved;
            return;
        }
        case WM_NCCALCSIZE:
        case WM_NCPAINT:
        case CM_SENCPAINT:
        case CM_BENCPAINT:
        case WM_DESTROY:
            if (FScroller.HandleMessage(Message) && Message.Msg != WM_DESTROY)
                return;
            break;
        default:
            if (FCanScroll && FScroller.HandleMessage(Message))
                return;
            break;
    }
    TCustomControl::WndProc(Message);
}

// ---- The ribbon's page ----------------------------------------------------------------------------------------------
TbsRibbonCustomPage::TbsRibbonCustomPage(TComponent* AOwner) : TbsRibbonScrollHost(AOwner, false) {}

TbsSkinData* TbsRibbonCustomPage::ArrowSkin() {
    return Ribbon && Ribbon->TabEntry() ? Ribbon->SkinData() : nullptr;
}

bool TbsRibbonCustomPage::StretchedBackground() {
    TbsDataSkinTabControl* e = Ribbon ? Ribbon->TabEntry() : nullptr;
    return e && e->StretchEffect;
}

TbsRibbonPage::TbsRibbonPage(TComponent* AOwner) : TbsRibbonCustomPage(AOwner) {
    SetControlStyle(ControlStyle() + csAcceptsControls);
    SetAnchors({akLeft, akTop, akRight, akBottom});
}

TbsRibbonPage::~TbsRibbonPage() {
    if (Ribbon)
        Ribbon->PageDestroyed(this);
}

void TbsRibbonPage::SetCaption(const std::wstring& Value) {
    FCaption = Value;
    if (HandleAllocated() && Ribbon && Ribbon->HandleAllocated())
        Ribbon->Invalidate();
}

void TbsRibbonPage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (Parent() && Ribbon) {
        const TRect b = Ribbon->GetPageBoundsRect();
        TbsRibbonScrollHost::SetBounds(b.Left, b.Top, b.Right, b.Bottom);
        return;
    }
    TbsRibbonScrollHost::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TbsRibbonPage::PaintBG(HDC DC) {
    if (!DC || !Ribbon || Width() < 1 || Height() < 1)
        return;
    TbsDataSkinTabControl* e = Ribbon->TabEntry();
    TBitmap* pic = nullptr;
    TRect src;
    if (e && e->BGPictureIndex != -1 && (pic = SkinPictureAt(Ribbon->SkinData(), e->BGPictureIndex))) {
        src = {0, 0, pic->Width(), pic->Height()};
    } else if (e && (pic = Ribbon->TabPicture())) {
        src = e->ClRect;
        src.Offset(e->SkinRect.Left, e->SkinRect.Top);
    }
    FillPage(DC, Width(), Height(), pic, src, e && e->StretchEffect, e ? e->StretchType : bsstFull, clBtnFace);
}

// ---- The application menu's page ------------------------------------------------------------------------------------
TbsAppMenuCustomPage::TbsAppMenuCustomPage(TComponent* AOwner) : TbsRibbonScrollHost(AOwner, true) {
    FCanScroll = false;
}

void TbsAppMenuCustomPage::GetScrollInfo() {
    if (!FStopScroll)
        TbsRibbonScrollHost::GetScrollInfo();
}

TbsSkinData* TbsAppMenuCustomPage::ArrowSkin() {
    return AppMenu && AppMenu->MenuEntry() ? AppMenu->SkinData() : nullptr;
}

TbsAppMenuPage::TbsAppMenuPage(TComponent* AOwner) : TbsAppMenuCustomPage(AOwner) {
    SetControlStyle(ControlStyle() + csAcceptsControls);
}

TbsAppMenuPage::~TbsAppMenuPage() {
    if (AppMenu) {
        AppMenu->Notification(this, opRemove);
        AppMenu = nullptr;
    }
}

void TbsAppMenuPage::SetDefaultWidth(int Value) {
    if (FDefaultWidth == Value)
        return;
    FDefaultWidth = Value;
    SetBounds(Left(), Top(), Value, Height());
}

void TbsAppMenuPage::SetFirstActiveControl(TWinControl* Value) {
    SetBorrowed(this, FFirstActiveControl, Value);
}

void TbsAppMenuPage::Notification(TComponent* AComponent, TOperation Operation) {
    TbsAppMenuCustomPage::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFirstActiveControl)
        FFirstActiveControl = nullptr;
}

void TbsAppMenuPage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (Parent() && AppMenu) {
        const TRect b = AppMenu->GetPageBoundsRect();
        TbsAppMenuCustomPage::SetBounds(b.Left, b.Top, AppMenuPageWidth(AWidth, b.Right, FDefaultWidth),
                                        std::max(b.Bottom, kMinMenuPageSize));
        return;
    }
    TbsAppMenuCustomPage::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TbsAppMenuPage::PaintBG(HDC DC) {
    if (!DC || Width() < 1 || Height() < 1)
        return;
    TbsDataSkinAppMenu* e = AppMenu ? AppMenu->MenuEntry() : nullptr;
    TBitmap* pic = e ? AppMenu->MenuPicture() : nullptr;
    TRect src;
    if (e) {
        src = e->ClRect;
        src.Offset(e->SkinRect.Left, e->SkinRect.Top);
    }
    FillPage(DC, Width(), Height(), pic, src, e && e->StretchEffect, e ? e->StretchType : bsstFull, clWindow);
}
