// How a skinned form shows and moves: the fade-in when it is shown (per form with AlphaBlend / AlphaBlendAnimation,
// or for every skinned window with the container's AnimationForAllWindows), the fixed alpha of a translucent form,
// centring at the first show, snapping a dragged form to the work area's edges, maximising a form dragged above the
// work area and restoring a maximised one dragged down, switching between the skinned and the native frame, and the
// dimmed or blurred cover of an inactive form's client area.
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "skin/core/AlphaFade.h"
#include "skin/core/EffectBitmap.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/LayerBorder.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinFormPanels.h"
#include "skin/form/SkinnedControl.h"
#include "skin/form/TrayIcon.h"

namespace {

constexpr UINT_PTR kAlphaShowTimer = 1;
// Steps of the fade, and the least time between two of them.
constexpr int kFadeSteps = 15;
constexpr std::uint32_t kFadeStepMs = 5;

void SetLayered(HWND Wnd, bool On) {
    const LONG_PTR ex = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
    const LONG_PTR want = On ? (ex | WS_EX_LAYERED) : (ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    if (want != ex)
        SetWindowLongPtrW(Wnd, GWL_EXSTYLE, want);
}

}  // namespace

bool TbsSkinForm::LayeredAvailable() const {
    return SystemBindings().SetLayeredWindowAttributes != nullptr;
}

TRect TbsSkinForm::FormWorkArea(bool WorkArea) {
    // An MDI child lives in its client window.
    if (IsMDIChildForm()) {
        RECT r{};
        GetClientRect(GetParent(FForm->Handle()), &r);
        return ToTRect(r);
    }
    return FForm->HandleAllocated() ? GetMonitorWorkArea(FForm->Handle(), WorkArea)
                                    : GetPrimaryMonitorWorkArea(WorkArea);
}

// ---- Translucency -------------------------------------------------------------------------------------------------

void TbsSkinForm::SetAlphaBlend(bool Value) {
    if (Value == FAlphaBlend)
        return;
    FAlphaBlend = Value;
    if (ComponentState().Contains(csLoading) || !LayeredAvailable() || !FForm->HandleAllocated())
        return;
    SetLayered(FForm->Handle(), Value);
    if (Value)
        SetAlphaBlendTransparent(FForm->Handle(), static_cast<std::uint8_t>(FAlphaBlendValue));
}

void TbsSkinForm::SetAlphaBlendValue(int Value) {
    Value = std::clamp(Value, 0, 255);
    if (Value == FAlphaBlendValue)
        return;
    FAlphaBlendValue = Value;
    if (FAlphaBlend && !ComponentState().Contains(csLoading) && LayeredAvailable() && FForm->HandleAllocated())
        SetAlphaBlendTransparent(FForm->Handle(), static_cast<std::uint8_t>(Value));
}

// ---- The alpha show -----------------------------------------------------------------------------------------------

namespace {
bool AnyAlphaOption(bool AlphaBlend, bool Animation, TbsSkinData* SD) {
    return AlphaBlend || Animation || (SD && SD->AnimationForAllWindows);
}
}  // namespace

void TbsSkinForm::StartAlphaShow() {
    const HWND h = FForm->Handle();
    const bool fade = AnyAlphaOption(FAlphaBlend, AlphaBlendAnimation, FSD);
    // Without an alpha option a layered border still comes up together with the form (nothing shows before both
    // are ready).
    const bool borderOnly = !fade && IsVistaOS() && CanShowBorderLayer();
    if (!LayeredAvailable() || (!fade && !borderOnly))
        return;
    SetLayered(h, true);
    SetAlphaBlendTransparent(h, 0);
    FAlphaShowPending = true;
    SetTimer(h, kAlphaShowTimer, 1, nullptr);
}

void TbsSkinForm::AlphaShowTimer() {
    const HWND h = FForm->Handle();
    KillTimer(h, kAlphaShowTimer);
    if (!FAlphaShowPending)
        return;
    FAlphaShowPending = false;
    const bool allWindows = FSD && FSD->AnimationForAllWindows;
    const bool visible = IsWindowVisible(h) != FALSE || FForm->Tag() == kTrayFormTag;
    if (!AnyAlphaOption(FAlphaBlend, AlphaBlendAnimation, FSD)) {
        SetLayered(h, false);
        if (CanShowBorderLayer() && visible) {
            FBorderLayer->SetActive(FFormActive, false);
            FBorderLayer->CheckFormAlpha(255, true);
        }
        return;
    }
    FBorderLayer->SetActive(FFormActive, false);
    const int target = ((AlphaBlendAnimation || allWindows) && !FAlphaBlend) ? 255 : FAlphaBlendValue;
    if (AlphaBlendAnimation || allWindows) {
        if (auto* c = dynamic_cast<IbsFadeInControl*>(FForm->ActiveControl()))
            c->StopAnimateForFadeIn();
        Application->ProcessMessages();
        TAlphaFade fade;
        fade.Target = target;
        fade.Step = AlphaFadeStep(target, kFadeSteps);
        fade.IntervalMs = kFadeStepMs;
        RunAlphaFade(fade, FadeClock, [this, h](int a) {
            SetAlphaBlendTransparent(h, static_cast<std::uint8_t>(a));
            if (FBorderLayer->Visible())
                FBorderLayer->CheckFormAlpha(a, true);
        });
        if (FBorderLayer->Visible() && !FBorderLayer->FullBorder())
            FBorderLayer->SetBoundsWithForm();
    } else if (target != 255) {
        SetAlphaBlendTransparent(h, static_cast<std::uint8_t>(FAlphaBlendValue));
        if (FBorderLayer->Visible()) {
            FBorderLayer->CheckFormAlpha(FAlphaBlendValue, true);
            if (!FBorderLayer->FullBorder())
                FBorderLayer->SetBoundsWithForm();
        }
    }
    if (target == 255) {
        SetLayered(h, false);
        if (FBorderLayer->Visible())
            FBorderLayer->CheckFormAlpha(255, true);
    }
}

// ---- Placement ----------------------------------------------------------------------------------------------------

TPoint TbsSkinForm::GetPositionInMonitor(int X, int Y, int W, int H) {
    if (PositionInMonitor == bspDefault)
        return TPoint{X, Y};
    const TRect A = FormWorkArea(PositionInMonitor == bspDesktopCenter);
    return TPoint{A.Left + A.Width() / 2 - W / 2, A.Top + A.Height() / 2 - H / 2};
}

void TbsSkinForm::ApplyPositionInMonitor() {
    if (PositionInMonitor == bspDefault)
        return;
    const TPoint p = GetPositionInMonitor(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    FForm->SetBounds(p.X, p.Y, FForm->Width(), FForm->Height());
}

void TbsSkinForm::Move(int AX, int AY) {
    if (FBorderLayer->Visible() && FBorderLayer->HasData() &&
        (FBorderLayer->FullBorder() || !IsNullRect(FBorderLayer->Geom().BorderRect))) {
        const TbsLayerSizes& s = FBorderLayer->Sizes();
        FForm->SetBounds(AX + s.LeftSize, AY + s.TopSize, FForm->Width(), FForm->Height());
        return;
    }
    FForm->SetBounds(AX, AY, FForm->Width(), FForm->Height());
}

void TbsSkinForm::SetBounds(int AX, int AY, int AWidth, int AHeight) {
    if (FBorderLayer->Visible() && FBorderLayer->HasData() &&
        (FBorderLayer->FullBorder() || !IsNullRect(FBorderLayer->Geom().BorderRect))) {
        const TbsLayerSizes& s = FBorderLayer->Sizes();
        FForm->SetBounds(AX + s.LeftSize, AY + s.TopSize, AWidth - s.LeftSize - s.RightSize,
                         AHeight - s.TopSize - s.BottomSize);
        return;
    }
    FForm->SetBounds(AX, AY, AWidth, AHeight);
}

void TbsSkinForm::SaveBoundsForBorder() {
    TRect b = FForm->BoundsRect();
    if (FullBorderShown()) {
        const TbsLayerSizes& s = FBorderLayer->Sizes();
        b = TRect{b.Left - s.LeftSize, b.Top - s.TopSize, b.Right + s.RightSize, b.Bottom + s.BottomSize};
        FOldFullBorder = 1;
    } else {
        FOldFullBorder = 0;
    }
    FOldFormBounds = b;
}

void TbsSkinForm::CorrectFormBounds() {
    if (FOldFullBorder == -1)
        return;
    const TRect& b = FOldFormBounds;
    if (FullBorderShown()) {
        const TbsLayerSizes& s = FBorderLayer->Sizes();
        FForm->SetBounds(b.Left + s.LeftSize, b.Top + s.TopSize, b.Width() - s.LeftSize - s.RightSize,
                         b.Height() - s.TopSize - s.BottomSize);
    } else if (FOldFullBorder == 1) {
        FForm->SetBounds(b.Left, b.Top, b.Width(), FRollUpState ? GetMinHeight() : b.Height());
    }
}

// ---- Docking and dragging -----------------------------------------------------------------------------------------

void TbsSkinForm::DoMagnetic(int& ALeft, int& ATop, int AWidth, int AHeight) {
    const TRect A = FormWorkArea(true);
    const int m = MagneticSize;
    TbsLayerSizes s;
    if (FBorderLayer->Visible() && FBorderLayer->HasData() && !IsNullRect(FBorderLayer->Geom().BorderRect))
        s = FBorderLayer->Sizes();
    // The outer rectangle (with the border's frame) is what touches the edges.
    int L = ALeft - s.LeftSize, T = ATop - s.TopSize;
    const int W = AWidth + s.LeftSize + s.RightSize, H = AHeight + s.TopSize + s.BottomSize;
    POINT c{};
    GetCursorPos(&c);
    // One edge: Pos is moved onto Edge when near; once snapped, the form stays until the cursor has moved more than
    // m from where the snap happened, and then follows the cursor again.
    auto edge = [m](int& Pos, int Edge, bool& Flag, int Cursor, int& Recorded) {
        const bool nearEdge = std::abs(Pos - Edge) < m;
        if (nearEdge && !Flag) {
            Pos = Edge;
            Recorded = Cursor;
        } else if (Flag) {
            Pos = std::abs(Cursor - Recorded) > m ? Edge + Cursor - Recorded : Edge;
        }
        Flag = nearEdge;
    };
    edge(L, A.Left, HMagnetized, c.x, FOnMouseDownCoord.X);
    edge(T, A.Top, VMagnetized, c.y, FOnMouseDownCoord.Y);
    if (!HMagnetized) {
        int right = L + W;
        edge(right, A.Right, HMagnetized2, c.x, FOnMouseDownCoord.X);
        L = right - W;
    }
    if (!VMagnetized) {
        int bottom = T + H;
        edge(bottom, A.Bottom, VMagnetized2, c.y, FOnMouseDownCoord.Y);
        T = bottom - H;
    }
    ALeft = L + s.LeftSize;
    ATop = T + s.TopSize;
}

// ---- The native frame -----------------------------------------------------------------------------------------------

void TbsSkinForm::LoadBorderIcons() {
    TBorderIcons icons;
    icons.Include(biSystemMenu);
    if (FBorderIcons.Contains(TbsBorderIcon::biMinimize))
        icons.Include(biMinimize);
    if (FBorderIcons.Contains(TbsBorderIcon::biMaximize))
        icons.Include(biMaximize);
    FForm->SetBorderIcons(icons);
}

void TbsSkinForm::SetSkinnableForm(bool Value) {
    FFormActive = FForm->HandleAllocated() && GetActiveWindow() == FForm->Handle();
    const bool visible = FForm->HandleAllocated() && IsWindowVisible(FForm->Handle());
    bool wasMaximized = false;
    if (FSkinnableForm && FWindowState == wsMaximized) {
        wasMaximized = true;
        FForm->Hide();
        SetWindowState(wsNormal);
    } else if (!FSkinnableForm && FForm->WindowState() == wsMaximized) {
        wasMaximized = true;
        FForm->SetWindowState(wsNormal);
        FForm->Hide();
    }
    FSkinnableForm = Value;
    ChangeSkinData();
    UpDateSkinControls(nullptr, FForm);
    // Vista and later keep the frame they drew once: the native frame needs a new window.
    if (!Value && IsVistaOS() && FForm->HandleAllocated())
        FForm->RecreateWnd();
    if (wasMaximized) {
        if (Value)
            SetWindowState(wsMaximized);
        else
            FForm->SetWindowState(wsMaximized);
        if (visible)
            FForm->Show();
    }
}

// ---- The inactive cover -------------------------------------------------------------------------------------------

void TbsSkinForm::ShowClientInActiveEffect() {
    HideClientInActiveEffect();
    FClientInActiveDraw = true;
    FInActivePanel = new TbsClientInActivePanel(this);
    FInActivePanel->ShowPanel(FForm, ClientInActiveEffectType);
    FClientInActiveDraw = false;
}

void TbsSkinForm::HideClientInActiveEffect() {
    if (!FInActivePanel)
        return;
    FInActivePanel->HidePanel();
    delete FInActivePanel;
    FInActivePanel = nullptr;
}

// ---- The window procedure's share ----------------------------------------------------------------------------------

bool TbsSkinForm::ShowFirst(TMessage& m) {
    switch (m.Msg) {
        case WM_CREATE:
            // The frame is known now, before the form places itself for its first show.
            ApplyClientSize();
            return false;
        case WM_SHOWWINDOW:
            if (!m.WParam)
                return false;
            if (FStartShow && PositionInMonitor == bspDefault)
                FStartShow = false;
            if (FStartShow && FWindowState == wsNormal) {
                FStartShow = false;
                ApplyPositionInMonitor();
            }
            if (FSD && FSD->AnimationForAllWindows && FAlphaBlendValue == 0)
                FAlphaBlendValue = 255;
            StartAlphaShow();
            return false;
        case WM_TIMER:
            if (m.WParam != kAlphaShowTimer)
                return false;
            AlphaShowTimer();
            m.Result = 0;
            return true;
        case WM_WINDOWPOSCHANGED: {
            const auto* wp = reinterpret_cast<const WINDOWPOS*>(m.LParam);
            if (!(wp->flags & SWP_NOMOVE))
                FOldFormTop = wp->y;
            return false;
        }
        case WM_ENTERSIZEMOVE: {
            // A snapped form follows the cursor from where this drag starts.
            POINT c{};
            GetCursorPos(&c);
            FOnMouseDownCoord = TPoint{c.x, c.y};
            return false;
        }
        case WM_SIZE:
        case WM_SIZING:
            HMagnetized = VMagnetized = HMagnetized2 = VMagnetized2 = false;
            return false;
        case WM_MOVING: {
            if (!FSkinnableForm || FForm->FormStyle() == fsMDIChild)
                return false;
            auto* r = reinterpret_cast<RECT*>(m.LParam);
            const RECT cur{FForm->Left(), FForm->Top(), FForm->Left() + FForm->Width(),
                           FForm->Top() + FForm->Height()};
            if (FWindowState == wsMaximized) {
                // Dragged down, a maximised form comes back to its normal size under the cursor.
                if (r->top <= cur.top || FRollUpState || MaximizeOnFullScreen || FullBorderShown()) {
                    *r = cur;
                    return false;
                }
                FCanMaximized = false;
                const int h = OldBoundsRect.Height();
                OldBoundsRect.Top = cur.top;
                OldBoundsRect.Bottom = cur.top + h;
                SetWindowState(wsNormal);
                CreateNewForm(true);
                UpDateFormNC();
                POINT c{};
                GetCursorPos(&c);
                const TRect A = FormWorkArea(true);
                const int w = FForm->Width();
                const int left = std::max(A.Left, std::min(static_cast<int>(c.x) - w / 2, A.Right - w));
                *r = RECT{left, cur.top, left + w, cur.top + FForm->Height()};
                return false;
            }
            if (FWindowState == wsNormal && FBorderIcons.Contains(TbsBorderIcon::biMaximize) && !FRollUpState &&
                !FullBorderShown())
                FCanMaximized = r->top < FormWorkArea(true).Top;
            if (Magnetic && FWindowState != wsMaximized) {
                const int w = r->right - r->left, h = r->bottom - r->top;
                int L = r->left, T = r->top;
                DoMagnetic(L, T, w, h);
                *r = RECT{L, T, L + w, T + h};
            }
            return false;
        }
        default:
            return false;
    }
}

void TbsSkinForm::ShowAfter(TMessage& m) {
    switch (m.Msg) {
        case WM_SYSCOMMAND:
            // The system's move loop has ended: a form dragged above the top of its monitor is maximised.
            if (m.WParam == (SC_MOVE | HTCAPTION) && FSkinnableForm) {
                FCaptionMove = true;
                if (FForm->FormStyle() != fsMDIChild && FBorderIcons.Contains(TbsBorderIcon::biMaximize) &&
                    FCanMaximized && !FRollUpState && !MaximizeOnFullScreen && !FullBorderShown() &&
                    FWindowState == wsNormal && FOldFormTop <= FormWorkArea(false).Top)
                    SetWindowState(wsMaximized);
                FCanMaximized = false;
            }
            break;
        case WM_NCACTIVATE:
            if (FSkinnableForm && ClientInActiveEffect && FForm->HandleAllocated() &&
                IsWindowVisible(FForm->Handle())) {
                if (m.WParam)
                    HideClientInActiveEffect();
                else
                    ShowClientInActiveEffect();
            }
            break;
        default:
            break;
    }
}
