#include "skin/form/SkinForm.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "base/Report.h"
#include "classlib/GdiHandles.h"
#include "classlib/SysUtils.h"
#include "skin/core/EffectBitmap.h"
#include "skin/core/LayerWindow.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinUtils.h"
#include "classlib/ImgList.h"
#include "skin/form/LayerBorder.h"
#include "skin/form/QuickButtons.h"
#include "skin/form/SkinHint.h"
#include "skin/form/SkinFormObjects.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"
#include "skin/form/TrayIcon.h"
#include "skin/form/SkinnedControl.h"

namespace {

bool IsDC(WPARAM W) {
    const DWORD t = GetObjectType(reinterpret_cast<HGDIOBJ>(W));
    return t == OBJ_DC || t == OBJ_MEMDC;
}

// The window's region is Rgn already (nullptr: it has none).
bool SameWindowRegion(HWND Wnd, HRGN Rgn) {
    TGdiRegion current(CreateRectRgn(0, 0, 0, 0));
    if (!current)
        return false;
    const int kind = GetWindowRgn(Wnd, current.Get());
    if (kind == ERROR)
        return Rgn == nullptr;
    return Rgn && EqualRgn(current.Get(), Rgn);
}

bool MaskPixelBlack(TBitmap* B, int X, int Y) {
    if (!B || B->Empty() || X < 0 || Y < 0 || X >= B->Width() || Y >= B->Height())
        return false;
    return (GetPixel(B->Canvas()->Handle(), X, Y) & 0xFFFFFF) == 0;
}

}  // namespace

TbsSkinForm::TbsSkinForm(TComponent* AOwner) : TComponent(AOwner) {
    FForm = dynamic_cast<TCustomForm*>(AOwner);
    if (!FForm)
        throw EInvalidOperation(L"TbsSkinForm needs a form as its owner");
    FQuickButtons = std::make_unique<TbsQuickButtonItems>(this);
    FDefCaptionFont = std::make_unique<TFont>();
    FDefCaptionFont->SetName(L"Tahoma");
    FDefCaptionFont->SetHeight(13);
    FDefCaptionFont->SetStyle(TFontStyles{fsBold});
    FDefCaptionFont->SetColor(clBtnText);
    FDefInActiveCaptionFont = std::make_unique<TFont>();
    FDefInActiveCaptionFont->Assign(FDefCaptionFont.get());
    FDefInActiveCaptionFont->SetColor(clBtnShadow);
    CreateMenuParts();
    for (auto* strip : {&RMTop, &RMBottom, &RMLeft, &RMRight})
        *strip = std::make_unique<TBitmap>();
    auto timer = [this](UINT Interval, void (TbsSkinForm::*Tick)()) {
        auto t = std::make_unique<TTimer>(nullptr);
        t->SetEnabled(false);
        t->SetInterval(Interval);
        t->OnTimer = [this, Tick](TObject*) { (this->*Tick)(); };
        return t;
    };
    MouseTimer = timer(50, &TbsSkinForm::TestMouse);
    MorphTimer = timer(25, &TbsSkinForm::TestMorph);
    AnimateTimer = timer(25, &TbsSkinForm::TestAnimate);
    FLayerManager = new TbsLayerManager(this);
    FMenuLayerManager = new TbsLayerManager(this);
    FBorderLayer = new TbsFormLayerBorder(this);
    LoadDefObjects();
    CreateSysTrayMenu();

    // The form draws no caption buttons of its own: the frame's objects are its buttons.
    FForm->SetBorderIcons(TBorderIcons{});
    FForm->SetAutoSize(false);
    FForm->SetAutoScroll(false);
    FForm->SetScaled(false);
    OldWindowProc = FForm->WindowProc;
    FForm->WindowProc = [this](TMessage& m) { NewWndProc(m); };
    if (FForm->HandleAllocated())
        FForm->RecreateWnd();
}

TbsSkinForm::~TbsSkinForm() {
    UnchainShortCuts();
    DestroyMenuParts();
    // No tick may reach an object being freed.
    for (TTimer* t : {MouseTimer.get(), MorphTimer.get(), AnimateTimer.get()})
        t->SetEnabled(false);
    ObjectList.clear();
    UnHookMDIClient();
    if (OldWindowProc) {
        FForm->WindowProc = OldWindowProc;
        if (FForm->HandleAllocated()) {
            SetWindowRgn(FForm->Handle(), nullptr, TRUE);
            SetWindowPos(FForm->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void TbsSkinForm::SetQuickImageList(TCustomImageList* Value) {
    if (FQuickImageList)
        FQuickImageList->RemoveFreeNotification(this);
    FQuickImageList = Value;
    if (Value)
        Value->FreeNotification(this);
    UpDateFormNC();
}

void TbsSkinForm::SetSkinHint(TbsSkinHint* Value) {
    if (FSkinHint)
        FSkinHint->RemoveFreeNotification(this);
    FSkinHint = Value;
    if (Value)
        Value->FreeNotification(this);
}

bool TbsSkinForm::IsModernSkin() const {
    return FSD && !FSD->Empty && FSD->ClRect.Left == 1;
}

void TbsSkinForm::SetStatusBar(TComponent* Value) {
    if (FStatusBar)
        FStatusBar->RemoveFreeNotification(this);
    FStatusBar = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsSkinForm::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMSD)
        FMSD = nullptr;
    if (Operation == opRemove && AComponent == FTrayIcon)
        FTrayIcon = nullptr;
    if (Operation == opRemove && AComponent == FStatusBar)
        FStatusBar = nullptr;
    if (Operation == opRemove && AComponent == FSkinRibbon) {
        FSkinRibbon = nullptr;
        FRibbon = nullptr;
    }
    if (Operation == opRemove && AComponent == FMDITabsBar)
        FMDITabsBar = nullptr;
    if (Operation == opRemove && AComponent == FMDIMenuBar)
        FMDIMenuBar = nullptr;
    if (Operation == opRemove && AComponent == FSkinHint)
        FSkinHint = nullptr;
    if (Operation == opRemove && AComponent == FQuickImageList)
        FQuickImageList = nullptr;
    if (Operation == opRemove && FQuickButtons) {
        for (int i = 0; i < FQuickButtons->Count(); ++i) {
            TbsQuickButtonItem* b = FQuickButtons->Items(i);
            if (b->PopupMenu() && static_cast<TComponent*>(b->PopupMenu()) == AComponent)
                b->SetPopupMenu(nullptr);
        }
    }
    if (Operation == opRemove && AComponent == FSD) {
        FSD = nullptr;
        // The objects point into the container's records: they go with it. While the form itself is going, nothing
        // else is rebuilt.
        if (ComponentState().Contains(csDestroying) || FForm->ComponentState().Contains(csDestroying))
            ClearObjects();
        else
            ChangeSkinData();
    }
}

void TbsSkinForm::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value)
        return;
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) {
        FSD->FreeNotification(this);
        FSkinnableForm = FSD->SkinnableForm();
    }
    ChangeSkinData();
    if (FSysTrayMenu)
        FSysTrayMenu->SetSkinData(FSD);
}

void TbsSkinForm::SetBorderIcons(TbsBorderIcons Value) {
    FBorderIcons = Value;
    CheckObjects();
    UpDateFormNC();
}

// ---- The form's state ---------------------------------------------------------------------------------------------

bool TbsSkinForm::HasBorder() const {
    // A maximised MDI child fills the client window without a frame.
    return FForm->BorderStyle() != bsNone && !(FWindowState == wsMaximized && IsMDIChildForm());
}

bool TbsSkinForm::IsSizeAble() const {
    return AlwaysResize || FForm->BorderStyle() == bsSizeable || FForm->BorderStyle() == bsSizeToolWin;
}

bool TbsSkinForm::IsToolWindow() const {
    return FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin;
}

// The frame's own state (a normal window for the system) or the system's.
bool TbsSkinForm::FormMinimized() const {
    return FWindowState == wsMinimized ||
           (FForm->HandleAllocated() ? IsIconic(FForm->Handle()) != 0 : FForm->WindowState() == wsMinimized);
}

bool TbsSkinForm::FormMaximized() const {
    return FWindowState == wsMaximized ||
           (FForm->HandleAllocated() ? IsZoomed(FForm->Handle()) != 0 : FForm->WindowState() == wsMaximized);
}

bool TbsSkinForm::CommandStateInForce(TbsStdCommand Command) const {
    switch (Command) {
        case cmMaximize:
            return FormMaximized();
        case cmMinimize:
            return FormMinimized();
        case cmRollUp:
            return FRollUpState;
        default:
            return false;
    }
}

void TbsSkinForm::WindowSize(int& W, int& H) const {
    RECT r{};
    if (FForm->HandleAllocated() && GetWindowRect(FForm->Handle(), &r)) {
        W = r.right - r.left;
        H = r.bottom - r.top;
        return;
    }
    W = FForm->Width();
    H = FForm->Height();
}

TbsLimitState TbsSkinForm::LimitState() const {
    TbsLimitState s;
    s.Minimized = FormMinimized();
    s.RolledUp = FRollUpState;
    s.Maximized = FormMaximized();
    s.HasBorder = HasBorder();
    s.SkinnableFrame = FSD ? FSD->SkinnableForm() : true;
    s.ToolWindow = IsToolWindow();
    return s;
}

TbsFrameSkin TbsSkinForm::FrameSkin() const {
    TbsFrameSkin s;
    s.Pw = FSD->FPicture->Width();
    s.Ph = FSD->FPicture->Height();
    s.LTPoint = FSD->LTPoint;
    s.RTPoint = FSD->RTPoint;
    s.LBPoint = FSD->LBPoint;
    s.RBPoint = FSD->RBPoint;
    s.ClRect = FSD->ClRect;
    s.CaptionRect = FSD->CaptionRect;
    s.ButtonsRect = FSD->ButtonsRect;
    s.MaskRectArea = FSD->MaskRectArea;
    s.HitTestLTPoint = FSD->HitTestLTPoint;
    s.HitTestRTPoint = FSD->HitTestRTPoint;
    s.HitTestLBPoint = FSD->HitTestLBPoint;
    s.HitTestRBPoint = FSD->HitTestRBPoint;
    s.ButtonsOffset = FSD->ButtonsOffset;
    s.CapButtonsInLeft = FSD->CapButtonsInLeft;
    s.BorderW = FSD->BorderW;
    s.FormMinWidth = FSD->FormMinWidth;
    s.FormMinHeight = FSD->FormMinHeight;
    return s;
}

bool TbsSkinForm::HasMask() const {
    return Skinned() && FSD->FMask && !FSD->FMask->Empty();
}

int TbsSkinForm::GetMinWidth() {
    if (Skinned()) {
        const TbsFrameSkin s = FrameSkin();
        return ::GetMinWidth(&s, Limits, LimitState());
    }
    return ::GetMinWidth(nullptr, Limits, LimitState());
}

int TbsSkinForm::GetMinHeight() {
    if (Skinned()) {
        const TbsFrameSkin s = FrameSkin();
        return ::GetMinHeight(&s, Limits, LimitState());
    }
    return ::GetMinHeight(nullptr, Limits, LimitState());
}

namespace {
TRect WorkAreaOf(TCustomForm* Form) {
    return Form->HandleAllocated() ? GetMonitorWorkArea(Form->Handle(), true) : GetPrimaryMonitorWorkArea(true);
}
}  // namespace

int TbsSkinForm::GetMaxWidth() {
    const int area = WorkAreaOf(FForm).Width();
    if (Skinned()) {
        const TbsFrameSkin s = FrameSkin();
        return ::GetMaxWidth(&s, Limits, LimitState(), area);
    }
    return ::GetMaxWidth(nullptr, Limits, LimitState(), area);
}

int TbsSkinForm::GetMaxHeight() {
    const int area = WorkAreaOf(FForm).Height();
    if (Skinned()) {
        const TbsFrameSkin s = FrameSkin();
        return ::GetMaxHeight(&s, Limits, LimitState(), area);
    }
    return ::GetMaxHeight(nullptr, Limits, LimitState(), area);
}

// ---- Geometry -----------------------------------------------------------------------------------------------------

void TbsSkinForm::CalcLayout(int W, int H) {
    int iw = GetSystemMetrics(SM_CXSMICON), ih = GetSystemMetrics(SM_CYSMICON);
    if (iw == 0)
        iw = GetSystemMetrics(SM_CXSIZE);
    if (ih == 0)
        ih = GetSystemMetrics(SM_CYSIZE);
    if (Skinned()) {
        const TbsFrameSkin s = FrameSkin();
        rects_ = CalcRects(s, W, H);
        for (std::size_t i = 0; i < objects_.size(); ++i) {
            // A caption object keeps its place in the picture; the layout narrows it for the buttons.
            if (objects_[i].SkinRectInAPicture)
                objects_[i].ObjectRect = objects_[i].SkinRect;
        }
        CalcAllRealObjectRect(s, rects_, objects_, ShowIcon, iw, ih);
    } else {
        NewDefCaptionRect = CalcDefRects(objects_, W, IsToolWindow(), ShowIcon, iw, ih);
    }
    for (std::size_t i = 0; i < objects_.size() && i < ObjectList.size(); ++i)
        ObjectList[i]->ObjectRect = objects_[i].ObjectRect;
}

TPoint TbsSkinForm::PointToNCPoint(TPoint P) {
    RECT r{};
    GetWindowRect(FForm->Handle(), &r);
    return TPoint{P.X - r.left, P.Y - r.top};
}

bool TbsSkinForm::PtInMask(TPoint P) const {
    const TRect& A = rects_.NewMaskRectArea;
    if (P.X >= A.Left && P.X < A.Right && P.Y >= A.Top && P.Y < A.Bottom)
        return true;
    if (P.Y <= A.Top)
        return MaskPixelBlack(RMTop.get(), P.X, P.Y);
    if (P.Y < A.Bottom) {
        if (P.X > A.Left)
            return MaskPixelBlack(RMRight.get(), P.X - A.Right, P.Y - A.Top);
        return MaskPixelBlack(RMLeft.get(), P.X, P.Y - A.Top);
    }
    return MaskPixelBlack(RMBottom.get(), P.X, P.Y - A.Bottom);
}

bool TbsSkinForm::InCaption(TPoint P) {
    // A caption button lying over the caption text takes the point: pressing it must not drag the window.
    if (ObjectAt(P) != -1 || QuickButtonAt(P))
        return false;
    for (const auto& o : objects_) {
        if (o.Kind == fokCaption) {
            const TRect& r = o.ObjectRect;
            return P.X >= r.Left && P.X < r.Right && P.Y >= r.Top && P.Y < r.Bottom;
        }
    }
    return false;
}

bool TbsSkinForm::QuickButtonAt(TPoint P) {
    for (const auto& o : ObjectList)
        if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o.get()); c && c->QuickButtonAt(P.X, P.Y) != -1)
            return true;
    return false;
}

int TbsSkinForm::HitTest(TPoint P) {
    int W = 0, H = 0;
    WindowSize(W, H);
    CalcLayout(W, H);
    TbsHitState st;
    st.W = W;
    st.H = H;
    st.RolledUpOrMinimized = FormMinimized() || FRollUpState;
    st.Maximized = FormMaximized();
    st.Sizeable = IsSizeAble();
    st.ObjectHot = ActiveObject != -1;
    st.SizeMove = FSizeMove;
    if (Skinned()) {
        std::function<bool(TPoint)> mask;
        if (HasMask())
            mask = [this](TPoint q) { return PtInMask(q); };
        return SkinNCHitTest(
            FrameSkin(), rects_, st, P, [this](TPoint q) { return InCaption(q); }, mask);
    }
    return DefNCHitTest(st, NewDefCaptionRect, P, IsToolWindow());
}

TRect TbsSkinForm::ObjectRect(const std::wstring& AIDName) {
    int W = 0, H = 0;
    WindowSize(W, H);
    CalcLayout(W, H);
    for (std::size_t i = 0; i < ObjectList.size() && i < objects_.size(); ++i) {
        if (ObjectList[i]->IDName == AIDName)
            return objects_[i].ObjectRect;
    }
    return TRect{};
}

TbsActiveSkinObject* TbsSkinForm::FindObject(const std::wstring& AIDName) const {
    for (const auto& o : ObjectList) {
        if (o->IDName == AIDName)
            return o.get();
    }
    return nullptr;
}

void TbsSkinForm::CreateNewRegion(bool AUpdate) {
    if (!FForm->HandleAllocated())
        return;
    const HWND h = FForm->Handle();
    int W = 0, H = 0;
    WindowSize(W, H);
    // After a successful SetWindowRgn the system owns the region: none is kept here. Setting a region changes the
    // window's frame in the system, which costs as much as a repaint: a shape the window has already is kept. While
    // painting is held (a skin change) the change's own repaint follows.
    const BOOL redraw = FStopPainting ? FALSE : TRUE;
    auto apply = [h, redraw](TGdiRegion rgn) {
        if (SameWindowRegion(h, rgn.Get()))
            return;
        if (SetWindowRgn(h, rgn.Get(), redraw))
            (void)rgn.Detach();
    };
    auto whole = [W, H] { return TGdiRegion(CreateRectRgn(0, 0, W, H)); };
    if (!FSkinnableForm || !HasBorder()) {
        apply(TGdiRegion());
        return;
    }
    if (FullBorderAvailable()) {
        apply(whole());  // the border draws the frame's shape
        return;
    }
    if (!Skinned()) {
        for (auto* strip : {&RMTop, &RMBottom, &RMLeft, &RMRight})
            (*strip)->SetSize(0, 0);
        apply(whole());
        return;
    }
    if (!HasMask()) {
        apply(whole());
        return;
    }
    if (!AUpdate) {
        if (TGdiRegion rgn = RegionFromMask(FSD->FMask.get(), 0, 0))
            apply(std::move(rgn));
        return;
    }
    rects_ = CalcRects(FrameSkin(), W, H);
    CreateSkinMask(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->ClRect, rects_.NewLTPoint,
                   rects_.NewRTPoint, rects_.NewLBPoint, rects_.NewRBPoint, rects_.NewClRect, FSD->FMask.get(),
                   RMTop.get(), RMLeft.get(), RMRight.get(), RMBottom.get(), W, H);
    const TRect& A = rects_.NewMaskRectArea;
    TGdiRegion rgn(CreateRectRgn(A.Left, A.Top, A.Right, A.Bottom));
    const TGdiRegion parts[4] = {RegionFromMask(RMTop.get(), 0, 0), RegionFromMask(RMBottom.get(), 0, A.Bottom),
                                 RegionFromMask(RMLeft.get(), 0, A.Top),
                                 RegionFromMask(RMRight.get(), A.Right, A.Top)};
    for (const TGdiRegion& part : parts)
        if (part)
            CombineRgn(rgn.Get(), rgn.Get(), part.Get(), RGN_OR);
    apply(std::move(rgn));
}

void TbsSkinForm::CreateNewForm(bool AUpdate) {
    if (!Skinned())
        return;
    int W = 0, H = 0;
    WindowSize(W, H);
    if (FSkinnableForm && AUpdate)
        CalcLayout(W, H);
    CreateNewRegion(AUpdate);
}

// ---- Caption objects ----------------------------------------------------------------------------------------------

void TbsSkinForm::ClearObjects() {
    for (TTimer* t : {MouseTimer.get(), MorphTimer.get(), AnimateTimer.get()}) {
        if (t)
            t->SetEnabled(false);
    }
    for (TbsLayerManager* m : {FLayerManager, FMenuLayerManager}) {
        if (m && m->IsVisible)
            m->Hide();
    }
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    objects_.clear();
    ObjectList.clear();
}

void TbsSkinForm::RunCommand(TbsStdCommand Command) {
    switch (Command) {
        case cmClose:
            FForm->Close();
            break;
        case cmMaximize:
            SetWindowState(FormMaximized() ? wsNormal : wsMaximized);
            break;
        case cmMinimize:
            if (AlwaysMinimizeToTray)
                MinimizeToTray();
            else
                SetWindowState(FWindowState == wsMinimized ? wsNormal : wsMinimized);
            break;
        case cmRollUp:
            SetRollUpState(!FRollUpState);
            break;
        case cmMinimizeToTray:
            MinimizeToTray();
            break;
        case cmSysMenu:
            PopupSystemMenu();
            break;
        default:
            break;
    }
}

void TbsSkinForm::LoadObjects() {
    ClearObjects();
    for (const auto& rec : FSD->ObjectList) {
        TbsFrameObject o;
        std::unique_ptr<TbsActiveSkinObject> live;
        // The most derived record class first: a standard button is a button too.
        if (auto* std = dynamic_cast<TbsDataSkinStdButton*>(rec.get())) {
            if (dynamic_cast<TbsDataSkinMainMenuBarButton*>(rec.get()))
                continue;
            o.Kind = fokStdButton;
            o.Command = std->Command;
            live = std::make_unique<TbsSkinStdButtonObject>(this, std);
        } else if (auto* cap = dynamic_cast<TbsDataSkinCaption*>(rec.get())) {
            o.Kind = fokCaption;
            live = std::make_unique<TbsSkinCaptionObject>(this, cap);
        } else if (auto* btn = dynamic_cast<TbsDataSkinButton*>(rec.get())) {
            live = std::make_unique<TbsSkinButtonObject>(this, btn);
        } else if (auto* anim = dynamic_cast<TbsDataSkinAnimate*>(rec.get())) {
            live = std::make_unique<TbsSkinAnimateObject>(this, anim);
        } else if (dynamic_cast<TbsDataUserObject*>(rec.get())) {
            live = std::make_unique<TbsUserObject>(this, rec.get());
        } else {
            continue;  // menu records make no caption object
        }
        o.SkinRectInAPicture = rec->SkinRectInAPicture;
        o.SkinRect = rec->SkinRect;
        o.ObjectRect = rec->SkinRect;
        objects_.push_back(o);
        ObjectList.push_back(std::move(live));
    }
}

void TbsSkinForm::LoadDefObjects() {
    ClearObjects();
    static const struct {
        const wchar_t* Name;
        TbsStdCommand Command;
    } kDefaults[] = {{L"closebutton", cmClose},   {L"maxbutton", cmMaximize},    {L"minbutton", cmMinimize},
                     {L"rollupbutton", cmRollUp}, {L"sysmenubutton", cmSysMenu}, {L"traybutton", cmMinimizeToTray}};
    for (const auto& d : kDefaults) {
        TbsFrameObject o;
        o.Kind = fokStdButton;
        o.Command = d.Command;
        o.SkinRectInAPicture = true;
        o.SkinRect = o.ObjectRect = TRect{0, 0, 1, 1};
        objects_.push_back(o);
        ObjectList.push_back(std::make_unique<TbsSkinStdButtonObject>(this, nullptr, d.Name, d.Command));
    }
    CheckObjects();
}

void TbsSkinForm::CheckObjects() {
    auto allowed = [this](TbsStdCommand c) {
        switch (c) {
            case cmMaximize:
                return FBorderIcons.Contains(TbsBorderIcon::biMaximize);
            case cmMinimize:
                return FBorderIcons.Contains(TbsBorderIcon::biMinimize);
            case cmRollUp:
                return FBorderIcons.Contains(TbsBorderIcon::biRollUp);
            case cmMinimizeToTray:
                return FBorderIcons.Contains(TbsBorderIcon::biMinimizeToTray);
            case cmSysMenu:
                return FBorderIcons.Contains(TbsBorderIcon::biSystemMenu);
            case cmDefault:
                return false;
            default:
                return true;
        }
    };
    const bool dialogClose =
        (FBorderIcons == TbsBorderIcons{} || FBorderIcons == TbsBorderIcons{TbsBorderIcon::biSystemMenu}) &&
        std::any_of(ObjectList.begin(), ObjectList.end(),
                    [](const auto& o) { return o->IDName == L"dialogclosebutton"; });
    for (std::size_t i = 0; i < objects_.size(); ++i) {
        auto& o = objects_[i];
        if (o.Kind != fokStdButton)
            continue;
        bool enabled = allowed(o.Command);
        if (o.Command == cmClose) {
            const bool isDialogClose = ObjectList[i]->IDName == L"dialogclosebutton";
            enabled = dialogClose ? isDialogClose : !isDialogClose;
            o.Visible = enabled;
        } else {
            o.Visible = o.SkinRectInAPicture ? enabled : true;
        }
        ObjectList[i]->Enabled = enabled;
        ObjectList[i]->Visible = o.Visible;
    }
    CheckObjectsHint();
}

// ---- Skin change --------------------------------------------------------------------------------------------------

namespace {
// Holds the drawing of a shown window and its children (WM_SETREDRAW) and repaints all of it once when released. A
// hidden window is left alone: releasing the hold would show it.
class TRedrawHold {
  public:
    explicit TRedrawHold(HWND Wnd) : FWnd(Wnd && IsWindowVisible(Wnd) ? Wnd : nullptr) {
        if (FWnd)
            SendMessageW(FWnd, WM_SETREDRAW, FALSE, 0);
    }
    ~TRedrawHold() {
        if (!FWnd)
            return;
        SendMessageW(FWnd, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(FWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    bool Held() const { return FWnd != nullptr; }
    TRedrawHold(const TRedrawHold&) = delete;
    TRedrawHold& operator=(const TRedrawHold&) = delete;

  private:
    HWND FWnd;
};

// Holds the alignment of a window's controls and aligns them once, to the final client area, when released.
class TAlignHold {
  public:
    explicit TAlignHold(TWinControl* Control) : FControl(Control) { FControl->DisableAlign(); }
    ~TAlignHold() {
        try {
            FControl->EnableAlign();
        } catch (...) {
            ReportCaught("aligning the controls after a skin change");
        }
    }
    TAlignHold(const TAlignHold&) = delete;
    TAlignHold& operator=(const TAlignHold&) = delete;

  private:
    TWinControl* FControl;
};
}  // namespace

void TbsSkinForm::ChangeSkinData() {
    ActiveObject = -1;
    FSkinSupport = FSD && !FSD->Empty;
    if (FSkinSupport && FSkinnableForm) {
        LoadObjects();
        CheckObjects();
        TakeRealActivation();
    } else {
        if (FSkinnableForm)
            LoadDefObjects();
        else
            ClearObjects();
        CreateNewRegion(true);
    }
    if (!FSkinnableForm)
        LoadBorderIcons();
    else if (FForm->BorderIcons() != TBorderIcons{})
        FForm->SetBorderIcons(TBorderIcons{});
    FInChangeSkinData = true;
    // The frame change, the border's bounds and the client size asked for each change the client area: the
    // controls are aligned once, to the last of them.
    TAlignHold align(FForm);
    {
        // The frame is rebuilt through several size and frame changes, each of which re-aligns the controls; the
        // window and its controls are painted once, after the last of them.
        const bool layered = FBorderLayer && (FBorderLayer->Visible() || CanShowBorderLayer());
        TRedrawHold hold(FForm->HandleAllocated() && !layered ? FForm->Handle() : nullptr);
        const bool wasStopped = FStopPainting;
        FStopPainting = true;
        const int minW = GetMinWidth(), minH = GetMinHeight();
        const int w = FForm->Width(), h = FForm->Height();
        // The new frame's client area reaches the form through the frame change below (its WM_NCCALCSIZE, then
        // WM_SIZE when the client size changed), so no resize back and forth is needed for it.
        if (w < minW || h < minH)
            FForm->SetBounds(FForm->Left(), FForm->Top(), std::max(w, minW), std::max(h, minH));
        // A rolled-up or parked frame keeps its small size in the new skin.
        if (FRollUpState || FWindowState == wsMinimized) {
            if (FForm->Height() != GetMinHeight())
                FForm->SetHeight(GetMinHeight());
            if (FWindowState == wsMinimized && FForm->Width() != GetMinWidth())
                FForm->SetWidth(GetMinWidth());
        }
        if (FSkinSupport)
            CreateNewForm(true);
        if (FForm->HandleAllocated())
            SetWindowPos(FForm->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        FStopPainting = wasStopped;
    }
    LayerBorderSkinChanged();
    CorrectFormBounds();
    if (OnChangeSkinData)
        OnChangeSkinData(this);
    FInChangeSkinData = false;
    ApplyClientSize();
}

// A form that asked for a client size keeps it under every frame. The frame is known once the window exists: a skin
// change before that leaves the size to the window's creation. A rolled-up or parked form keeps its small size.
bool TbsSkinForm::FormWindowShown() const {
    return FForm->HandleAllocated() && (FDrawingHeld || IsWindowVisible(FForm->Handle()));
}

void TbsSkinForm::ApplyClientSize() {
    if (!FForm->HandleAllocated() || FRollUpState || FWindowState == wsMinimized)
        return;
    // One resize for both: each resize re-aligns every control.
    const int w = ClientWidth > 0 ? FForm->Width() - FForm->ClientWidth() + ClientWidth : FForm->Width();
    const int h = ClientHeight > 0 ? FForm->Height() - FForm->ClientHeight() + ClientHeight : FForm->Height();
    if (w != FForm->Width() || h != FForm->Height())
        FForm->SetBounds(FForm->Left(), FForm->Top(), w, h);
}

namespace {
template <typename Fn>
void WalkControls(TControl* C, Fn&& Update) {
    if (!C)
        return;
    Update(C);
    if (auto* wc = dynamic_cast<TWinControl*>(C)) {
        for (int i = 0; i < wc->ControlCount(); ++i)
            WalkControls(wc->Controls(i), Update);
    }
}
}  // namespace

void TbsSkinForm::BeforeUpDateSkinControls(TbsSkinData* ASkinData, TControl* AControl) {
    WalkControls(AControl, [ASkinData](TControl* c) {
        if (auto* s = dynamic_cast<IbsSkinnedControl*>(c)) {
            if (!ASkinData || s->ControlSkinData() == ASkinData)
                s->BeforeChangeSkinData();
        }
    });
}

void TbsSkinForm::UpDateSkinControls(TbsSkinData* ASkinData, TControl* AControl) {
    // Every control resizes, reshapes and invalidates itself for the new skin; on a shown window each of these
    // would paint at once (under Wine a server round trip and a frame and background paint per change). Drawing of
    // the whole window is held until the walk ends, then the window is painted once.
    auto* win = dynamic_cast<TWinControl*>(AControl);
    TRedrawHold hold(win && win->HandleAllocated() ? win->Handle() : nullptr);
    WalkControls(AControl, [ASkinData](TControl* c) {
        if (auto* s = dynamic_cast<IbsSkinnedControl*>(c)) {
            if (!ASkinData || s->ControlSkinData() == ASkinData)
                s->ChangeSkinData();
        }
    });
}

// ---- Painting -----------------------------------------------------------------------------------------------------

void TbsSkinForm::UpDateFormNC() {
    if (FullBorderShown()) {
        FBorderLayer->UpdateBorder();
        return;
    }
    if (FForm->HandleAllocated())
        SendMessageW(FForm->Handle(), WM_NCPAINT, 1, 0);
}

void TbsSkinForm::DrawObjects(TCanvas* Canvas) {
    for (const auto& o : ObjectList) {
        if (o->Visible)
            o->Draw(Canvas, false);
    }
}

void TbsSkinForm::PaintNC(HDC DC) {
    if (FStopPainting || FullBorderShown())
        return;
    if (Skinned())
        PaintNCSkin(DC);
    else
        PaintNCDefault(DC);
}

void TbsSkinForm::PaintNCSkin(HDC DC) {
    if (!Skinned() || !FForm->HandleAllocated())
        return;
    int W = 0, H = 0;
    WindowSize(W, H);
    if (W < GetMinWidth() || H < GetMinHeight())
        return;
    CalcLayout(W, H);
    const bool active = FFormActive;
    TBitmap* pic = (active || !FSD->FInActivePicture || FSD->FInActivePicture->Empty()) ? FSD->FPicture.get()
                                                                                        : FSD->FInActivePicture.get();
    TBitmap LeftB, TopB, RightB, BottomB;
    CreateSkinBorderImages(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->ClRect, rects_.NewLTPoint,
                           rects_.NewRTPoint, rects_.NewLBPoint, rects_.NewRBPoint, rects_.NewClRect, &LeftB, &TopB,
                           &RightB, &BottomB, pic, TRect{0, 0, pic->Width(), pic->Height()}, W, H, FSD->LeftStretch,
                           FSD->TopStretch, FSD->RightStretch, FSD->BottomStretch);
    // Composed off-screen, then copied to the window once. The inactive effect dims the frame picture; the objects
    // bring their own inactive looks and go on top.
    TBitmap frame(W, H);
    HDC fdc = frame.Canvas()->Handle();
    TBitmap* bands[4] = {&TopB, &LeftB, &RightB, &BottomB};
    const TPoint at[4] = {{0, 0}, {0, TopB.Height()}, {W - RightB.Width(), TopB.Height()}, {0, H - BottomB.Height()}};
    const bool effect = !active && FSD->AutoRenderingInActiveImage;
    for (int i = 0; i < 4; ++i) {
        TBitmap* b = bands[i];
        if (b->Empty())
            continue;
        if (effect) {
            if (auto e = TbsEffectBmp::CreateFromhWnd(b->Handle())) {
                ApplyInActiveEffect(e.get(), FSD->InActiveEffect);
                e->Draw(fdc, at[i].X, at[i].Y);
                continue;
            }
        }
        BitBlt(fdc, at[i].X, at[i].Y, b->Width(), b->Height(), b->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    DrawRibbonCaption(frame.Canvas(), TopB.Width(), TopB.Height());
    DrawObjects(frame.Canvas());
    std::optional<TWindowDC> own;
    if (!DC)
        own.emplace(FForm->Handle());
    const HDC dc = own ? own->Get() : DC;
    TSaveDCGuard saved(dc);
    if (rects_.NewClRect.Height() > 0)
        ExcludeClipRect(dc, rects_.NewClRect.Left, rects_.NewClRect.Top, rects_.NewClRect.Right,
                        rects_.NewClRect.Bottom);
    BitBlt(dc, 0, 0, W, H, fdc, 0, 0, SRCCOPY);
    ++FFramePaints;
}

void TbsSkinForm::PaintNCDefault(HDC DC) {
    if (!FForm->HandleAllocated() || (FSD && FSD->ChangeSkinDataProcess))
        return;
    int W = 0, H = 0;
    WindowSize(W, H);
    if (W <= 2 * kDefBorder || H <= 2 * kDefBorder)
        return;
    CalcLayout(W, H);
    const int ch = DefCaptionHeight(IsToolWindow());
    TBitmap frame(W, H);
    TCanvas* c = frame.Canvas();
    HDC fdc = c->Handle();
    RECT all{0, 0, W, H};
    FillRect(fdc, &all, GetSysColorBrush(COLOR_BTNFACE));
    // The caption text centred between the caption's margins, on the button face.
    const std::wstring text = FrameCaption();
    RECT capArea{NewDefCaptionRect.Left, kDefBorder, NewDefCaptionRect.Right, kDefBorder + ch};
    if (!text.empty() && capArea.right > capArea.left) {
        c->Font()->Assign(FFormActive ? FDefCaptionFont.get() : FDefInActiveCaptionFont.get());
        SetBkMode(fdc, TRANSPARENT);
        SetTextColor(fdc, ColorToRGB(c->Font()->Color()));
        DrawTextW(fdc, text.c_str(), static_cast<int>(text.size()), &capArea,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    DrawObjects(c);
    // Three rings inwards from the window edge.
    const int colors[3] = {COLOR_3DDKSHADOW, COLOR_BTNFACE, COLOR_BTNFACE};
    for (int i = 0; i < 3; ++i) {
        RECT r{i, i, W - i, H - i};
        FrameRect(fdc, &r, GetSysColorBrush(colors[i]));
    }
    std::optional<TWindowDC> own;
    if (!DC)
        own.emplace(FForm->Handle());
    const HDC dc = own ? own->Get() : DC;
    TSaveDCGuard saved(dc);
    ExcludeClipRect(dc, kDefBorder, ch + kDefBorder, W - kDefBorder, H - kDefBorder);
    BitBlt(dc, 0, 0, W, H, fdc, 0, 0, SRCCOPY);
    ++FFramePaints;
}

void TbsSkinForm::PaintBGDefault(HDC DC) {
    RECT r{};
    GetClientRect(FForm->Handle(), &r);
    FillRect(DC, &r, GetSysColorBrush(COLOR_BTNFACE));
}

void TbsSkinForm::PaintBG(HDC DC) {
    if (!DC)
        return;
    if (!Skinned() || IsNullRect(FSD->ClRect)) {
        PaintBGDefault(DC);
        return;
    }
    RECT cr{};
    GetClientRect(FForm->Handle(), &cr);
    const int W = cr.right, H = cr.bottom;
    // The tile: the client part of the frame picture, or the skin's own background picture.
    TBitmap* src = FSD->FPicture.get();
    TRect B = FSD->ClRect;
    if (FSD->BGPictureIndex >= 0 && FSD->BGPictureIndex < FSD->ActivePictureCount()) {
        src = FSD->GetActivePicture(FSD->BGPictureIndex);
        B = TRect{0, 0, src->Width(), src->Height()};
    }
    PaintPictureBackground(DC, W, H, src, B, FSD->StretchEffect, FSD->StretchType);
}

void PaintPictureBackground(HDC DC, int W, int H, TBitmap* Src, const TRect& B, bool Stretch, TbsStretchType Type) {
    const int bw = B.Width(), bh = B.Height();
    if (bw <= 0 || bh <= 0 || W <= 0 || H <= 0)
        return;
    // Off-screen first, copied once.
    TBitmap bg(W, H);
    HDC bdc = bg.Canvas()->Handle();
    HDC sdc = Src->Canvas()->Handle();
    SetStretchBltMode(bdc, COLORONCOLOR);
    if (Stretch) {
        switch (Type) {
            case bsstFull:
                StretchBlt(bdc, 0, 0, W, H, sdc, B.Left, B.Top, bw, bh, SRCCOPY);
                break;
            case bsstHorz:
                for (int i = 0; i <= W / bw; ++i)
                    StretchBlt(bdc, i * bw, 0, bw, H, sdc, B.Left, B.Top, bw, bh, SRCCOPY);
                break;
            default:
                for (int j = 0; j <= H / bh; ++j)
                    StretchBlt(bdc, 0, j * bh, W, bh, sdc, B.Left, B.Top, bw, bh, SRCCOPY);
                break;
        }
    } else {
        for (int y = 0; y < H; y += bh)
            for (int x = 0; x < W; x += bw)
                BitBlt(bdc, x, y, bw, bh, sdc, B.Left, B.Top, SRCCOPY);
    }
    BitBlt(DC, 0, 0, W, H, bdc, 0, 0, SRCCOPY);
}

// ---- The window procedure -----------------------------------------------------------------------------------------

void TbsSkinForm::CallOld(TMessage& Message) {
    if (OldWindowProc)
        OldWindowProc(Message);
}

void TbsSkinForm::NewWndProc(TMessage& Message) {
    if (MenuMessage(Message) || MDIFirst(Message) || LayerBorderFirst(Message) || StatesFirst(Message) ||
        ShowFirst(Message))
        return;
    if (FirstDispatch(Message))
        CallOld(Message);
    SecondDispatch(Message);
    MDIAfter(Message);
    LayerBorderAfter(Message);
    StatesAfter(Message);
    ShowAfter(Message);
}

bool TbsSkinForm::FirstDispatch(TMessage& m) {
    const bool skinnable = FSkinnableForm;
    switch (m.Msg) {
        case WM_SIZE:
            CallOld(m);
            if (skinnable) {
                if (Skinned()) {
                    int W = 0, H = 0;
                    WindowSize(W, H);
                    // A skin change lays out and shapes the frame itself once its size changes are done.
                    if (W >= GetMinWidth() && H >= GetMinHeight() && !FInChangeSkinData)
                        CreateNewForm(true);
                } else {
                    CreateNewRegion(true);
                    UpDateFormNC();
                }
            }
            return false;
        case WM_ACTIVATE:
            if (!skinnable)
                return true;
            CallOld(m);
            // A window activated again after a modal window closed may get no frame activation message of its own.
            if ((LOWORD(m.WParam) != WA_INACTIVE) != FFormActive) {
                FFormActive = LOWORD(m.WParam) != WA_INACTIVE;
                FormChangeActive(true);
            }
            UpDateFormNC();
            return false;
        case WM_SETTEXT:
        case WM_SETICON:
            // The system paints its own caption while processing these: the frame goes back on top afterwards.
            if (!skinnable)
                return true;
            CallOld(m);
            if (HasBorder())
                UpDateFormNC();
            return false;
        case WM_ERASEBKGND:
            if (Skinned())
                PaintBG(reinterpret_cast<HDC>(m.WParam));
            else
                PaintBGDefault(reinterpret_cast<HDC>(m.WParam));
            m.Result = 0;
            return false;
        case WM_GETMINMAXINFO:
            if (skinnable) {
                auto* mmi = reinterpret_cast<MINMAXINFO*>(m.LParam);
                mmi->ptMinTrackSize = POINT{GetMinWidth(), GetMinHeight()};
                mmi->ptMaxTrackSize = POINT{GetMaxWidth(), GetMaxHeight()};
                if (FForm->HandleAllocated()) {
                    // A maximised frame fills the work area of its monitor.
                    const TRect area = GetMonitorWorkArea(FForm->Handle(), true);
                    MONITORINFO mi{sizeof(mi)};
                    GetMonitorInfoW(MonitorFromWindow(FForm->Handle(), MONITOR_DEFAULTTONEAREST), &mi);
                    mmi->ptMaxPosition = POINT{area.Left - mi.rcMonitor.left, area.Top - mi.rcMonitor.top};
                    mmi->ptMaxSize = POINT{area.Width(), area.Height()};
                }
            }
            return true;
        case WM_NCCALCSIZE: {
            if (!skinnable)
                return true;
            RECT* r =
                m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0] : reinterpret_cast<RECT*>(m.LParam);
            if (HasBorder()) {
                const TRect win = ToTRect(*r);
                *r = ToRECT(Skinned() ? SkinClientRect(FrameSkin(), win) : DefClientRect(win, IsToolWindow()));
            }
            m.Result = 0;
            return false;
        }
        case WM_NCHITTEST:
            if (!skinnable)
                return true;
            {
                const TPoint p = PointToNCPoint(TPoint{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
                m.Result = HitTest(p);
                if (m.Result == kHitObject) {
                    if (!MouseTimer->Enabled())
                        TestActive(p.X, p.Y, true);
                    MouseTimer->SetEnabled(true);
                }
                return false;
            }
        case WM_NCPAINT:
            if (!skinnable)
                return true;
            if (HasBorder())
                PaintNC(nullptr);
            m.Result = 0;
            return false;
        case WM_NCACTIVATE:
            if (!skinnable)
                return true;
            {
                // An MDI child's activation belongs to its client window: its own processing runs.
                if (IsMDIChildForm())
                    CallOld(m);
                const bool was = FFormActive;
                FFormActive = m.WParam != 0;
                m.Result = 1;
                if (!FFormActive)
                    TestActive(-1, -1, false);
                // The caption's change of look may already have painted the new frame: once is enough.
                const std::uint64_t painted = FFramePaints;
                if (was != FFormActive)
                    FormChangeActive(true);
                if (HasBorder() && FFramePaints == painted)
                    PaintNC(nullptr);
            }
            return false;
        case WM_ENTERSIZEMOVE:
            if (skinnable) {
                ActiveObject = -1;
                MouseCaptureObject = -1;
                MouseTimer->SetEnabled(false);
                FSizeMove = true;
            }
            return true;
        case WM_EXITSIZEMOVE:
            if (skinnable) {
                CreateNewForm(true);
                FSizeMove = false;
                ActiveObject = -1;
                UpDateFormNC();
            }
            return true;
        case WM_BEFORECHANGESKINDATA:
            if (reinterpret_cast<TbsSkinData*>(m.WParam) == FSD && FSD) {
                // The outer bounds, so that a change to or from a full layered border keeps the window's place.
                SaveBoundsForBorder();
                FStopPainting = true;
                FSkinSupport = false;
                ClearObjects();
            }
            BeforeUpDateSkinControls(reinterpret_cast<TbsSkinData*>(m.WParam), FForm);
            if (OnBeforeChangeSkinData)
                OnBeforeChangeSkinData(this);
            return true;
        case WM_CHANGESKINDATA: {
            FStopPainting = false;
            // The new frame's size and frame changes re-align the controls, then every control resizes and
            // reshapes itself: the window is painted once, when all of it is done.
            // A layered border follows the form's window as it changes: that window is not held then.
            const bool layered = FBorderLayer && (FBorderLayer->Visible() || CanShowBorderLayer());
            TRedrawHold hold(FForm->HandleAllocated() && !FDrawingHeld && !layered ? FForm->Handle() : nullptr);
            const bool wasHeld = FDrawingHeld;
            FDrawingHeld = FDrawingHeld || hold.Held();
            if (reinterpret_cast<TbsSkinData*>(m.WParam) == FSD && FSD)
                ChangeSkinData();
            UpDateSkinControls(reinterpret_cast<TbsSkinData*>(m.WParam), FForm);
            FDrawingHeld = wasHeld;
            return true;
        }
        case WM_AFTERCHANGESKINDATA:
            if (OnAfterChangeSkinData)
                OnAfterChangeSkinData(this);
            return true;
        case WM_QUERYSKINNEDFRAME:
            m.Result = (skinnable || !IsVistaOS()) ? 12853 : 12852;
            return false;
        case WM_BEGINSMARTEFFECTS:
            FSmartEffectsShow = true;
            return true;
        case WM_ENDSMARTEFFECTS:
            FSmartEffectsShow = false;
            return true;
        case CM_SENCPAINT:
            if (!skinnable)
                return true;
            if (IsDC(m.WParam) && HasBorder()) {
                PaintNC(reinterpret_cast<HDC>(m.WParam));
                m.Result = 12851;
            }
            return false;
        case CM_BENCPAINT:
            if (!skinnable || m.LParam != kBENCPaintKey)
                return true;
            if (IsDC(m.WParam) && HasBorder())
                PaintNC(reinterpret_cast<HDC>(m.WParam));
            m.Result = kBENCPaintKey;
            return false;
        default:
            return true;
    }
}

void TbsSkinForm::SecondDispatch(TMessage& m) {
    if (!FSkinnableForm)
        return;
    switch (m.Msg) {
        case WM_NCMOUSEMOVE:
            MouseMove(PointToNCPoint(TPoint{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}));
            break;
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
            if (m.WParam != HTCAPTION)
                MouseDown(PointToNCPoint(TPoint{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}),
                          m.Msg == WM_NCLBUTTONDOWN ? mbLeft : mbRight);
            break;
        case WM_NCLBUTTONUP:
        case WM_NCRBUTTONUP:
            MouseUp(PointToNCPoint(TPoint{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}),
                    m.Msg == WM_NCLBUTTONUP ? mbLeft : mbRight);
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            // Under capture the mouse comes in client coordinates: the cursor says where it really is.
            if (MouseCaptureObject != -1) {
                POINT c{};
                GetCursorPos(&c);
                const TPoint p = PointToNCPoint(TPoint{c.x, c.y});
                if (m.Msg == WM_MOUSEMOVE)
                    MouseMove(p);
                else
                    MouseUp(p, m.Msg == WM_LBUTTONUP ? mbLeft : mbRight);
            }
            break;
        case WM_NCLBUTTONDBLCLK:
            // The caption's own double click belongs to the window states.
            if (m.WParam == kHitObject)
                MouseDblClick();
            break;
        default:
            break;
    }
}

TbsSkinForm* GetSkinFormComponent(TComponent* AForm) {
    if (!AForm)
        return nullptr;
    for (int i = 0; i < AForm->ComponentCount(); ++i) {
        if (auto* f = dynamic_cast<TbsSkinForm*>(AForm->Components(i)))
            return f;
    }
    return nullptr;
}
