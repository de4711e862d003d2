// The skinned form's side of its caption objects: which object is hot, the 50 ms poll that notices the mouse
// leaving (the frame gets no message then), presses and releases routed to the object that holds the mouse, the
// cross-fade and frame-strip timers, activation, the objects' events and the repaint of a single object.
#include <windowsx.h>

#include "classlib/GdiHandles.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/LayerBorder.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinFormObjects.h"

namespace {

bool Contains(const TRect& R, int X, int Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

TbsSkinCaptionObject* AsCaption(TbsActiveSkinObject* O) {
    return dynamic_cast<TbsSkinCaptionObject*>(O);
}

}  // namespace

bool TbsSkinForm::GetFormActive() const {
    return PreviewMode || FFormActive;
}

int TbsSkinForm::ObjectAt(TPoint P) {
    int W = 0, H = 0;
    WindowSize(W, H);
    CalcLayout(W, H);
    for (std::size_t i = 0; i < ObjectList.size(); ++i) {
        TbsActiveSkinObject* o = ObjectList[i].get();
        const TRect& r = o->ObjectRect;
        if (!AsCaption(o) && o->Visible && o->Enabled && Contains(r, P.X, P.Y) &&
            o->InActiveMask(P.X - r.Left, P.Y - r.Top))
            return static_cast<int>(i);
    }
    return -1;
}

void TbsSkinForm::TestActive(int X, int Y, bool AActive) {
    if (ObjectList.empty())
        return;
    const bool allowed =
        GetFormActive() && !FSizeMove && !FBorderLayerChangeSize && !PreviewMode && HasBorder() && !FullBorderShown();
    // Taking the hot state away is always allowed: a deactivated or moving form keeps no lit button.
    if (!allowed && AActive)
        return;
    OldActiveObject = ActiveObject;
    int found = -1;
    if (AActive && !(X == -1 && Y == -1)) {
        found = ObjectAt(TPoint{X, Y});
        if (found == -1) {
            for (std::size_t i = 0; i < ObjectList.size(); ++i) {
                TbsActiveSkinObject* o = ObjectList[i].get();
                if (AsCaption(o) && o->Visible && o->Enabled && Contains(o->ObjectRect, X, Y)) {
                    found = static_cast<int>(i);
                    break;
                }
            }
        }
    }
    if (MouseCaptureObject != -1 && found != MouseCaptureObject)
        found = -1;
    if (found >= static_cast<int>(ObjectList.size()))
        found = -1;
    ActiveObject = found;
    if (ActiveObject == OldActiveObject)
        return;
    if (OldActiveObject >= 0 && OldActiveObject < static_cast<int>(ObjectList.size())) {
        TbsActiveSkinObject* old = ObjectList[static_cast<std::size_t>(OldActiveObject)].get();
        if (old->Enabled && old->Visible)
            old->MouseLeave();
    }
    if (ActiveObject >= 0 && ActiveObject < static_cast<int>(ObjectList.size())) {
        TbsActiveSkinObject* now = ObjectList[static_cast<std::size_t>(ActiveObject)].get();
        if (now->Enabled && now->Visible)
            now->MouseEnter();
    }
}

void TbsSkinForm::TestMouse() {
    if (!FForm->HandleAllocated()) {
        MouseTimer->SetEnabled(false);
        return;
    }
    if (!GetFormActive())
        return;
    POINT c{};
    GetCursorPos(&c);
    if (WindowFromPoint(c) != FForm->Handle()) {
        MouseTimer->SetEnabled(false);
        TestActive(-1, -1, false);
        return;
    }
    if (FSizeMove || FBorderLayerChangeSize) {
        MouseTimer->SetEnabled(false);
        return;
    }
    POINT cl = c;
    ScreenToClient(FForm->Handle(), &cl);
    RECT client{};
    GetClientRect(FForm->Handle(), &client);
    if (!PtInRect(&client, cl)) {
        const TPoint p = PointToNCPoint(TPoint{c.x, c.y});
        TestActive(p.X, p.Y, true);
    } else if (ActiveObject != -1) {
        TestActive(-1, -1, true);
    }
}

void TbsSkinForm::TestMorph() {
    bool stepped = false;
    for (std::size_t i = 0; i < ObjectList.size(); ++i) {
        TbsActiveSkinObject* o = ObjectList[i].get();
        if (o->EnableMorphing() && o->CanMorphing()) {
            o->DoMorphing();
            stepped = true;
        }
    }
    if (!stepped)
        MorphTimer->SetEnabled(false);
}

void TbsSkinForm::TestAnimate() {
    bool busy = false;
    for (std::size_t i = 0; i < ObjectList.size(); ++i) {
        TbsActiveSkinObject* o = ObjectList[i].get();
        if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o)) {
            if (a->Active && !(a->FDown && !IsNullRect(a->DownSkinRect))) {
                a->ChangeFrame();
                busy = true;
            }
        } else if (auto* c = AsCaption(o)) {
            if (!c->EnableAnimation())
                continue;
            if (c->FIncTime < c->Cap->AnimateInterval) {
                c->FIncTime += 25;
                busy = true;
                continue;
            }
            bool step = false;
            if (c->Active && c->CurrentFrame <= c->Cap->FrameCount) {
                ++c->CurrentFrame;
                step = true;
            } else if (!c->Active && c->CurrentFrame > 0) {
                --c->CurrentFrame;
                step = true;
            }
            if (step) {
                DrawSkinObject(c);
                c->FIncTime = 25;
                busy = true;
            }
        }
    }
    if (!busy)
        AnimateTimer->SetEnabled(false);
}

void TbsSkinForm::MouseMove(TPoint P) {
    TestActive(P.X, P.Y, true);
    const int i = MouseCaptureObject != -1 ? MouseCaptureObject : ActiveObject;
    if (i >= 0 && i < static_cast<int>(ObjectList.size()))
        ObjectList[static_cast<std::size_t>(i)]->MouseMove(P.X, P.Y);
}

void TbsSkinForm::MouseDown(TPoint P, TMouseButton Button) {
    TestActive(P.X, P.Y, true);
    if (ActiveObject < 0 || ActiveObject >= static_cast<int>(ObjectList.size()))
        return;
    TbsActiveSkinObject* o = ObjectList[static_cast<std::size_t>(ActiveObject)].get();
    // Captured, the release reaches the frame wherever it happens.
    if (!AsCaption(o))
        SetCapture(FForm->Handle());
    MouseCaptureObject = ActiveObject;
    o->MouseDown(P.X, P.Y, Button);
}

void TbsSkinForm::MouseUp(TPoint P, TMouseButton Button) {
    const int i = MouseCaptureObject;
    if (i < 0 || i >= static_cast<int>(ObjectList.size())) {
        MouseCaptureObject = -1;
        return;
    }
    TbsActiveSkinObject* o = ObjectList[static_cast<std::size_t>(i)].get();
    if (!AsCaption(o) && GetCapture() == FForm->Handle())
        ReleaseCapture();
    o->MouseUp(P.X, P.Y, Button);
    MouseCaptureObject = -1;
}

void TbsSkinForm::MouseDblClick() {
    if (ActiveObject >= 0 && ActiveObject < static_cast<int>(ObjectList.size()))
        ObjectList[static_cast<std::size_t>(ActiveObject)]->DblClick();
}

void TbsSkinForm::UpDateActiveObjects() {
    for (const auto& o : ObjectList) {
        if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o.get()))
            a->FFrame = 1;
        if (!AsCaption(o.get()))
            o->ResetHover();
    }
}

void TbsSkinForm::FormChangeActive(bool AAnimate) {
    const bool a = GetFormActive();
    for (const auto& o : ObjectList) {
        auto* c = AsCaption(o.get());
        if (!c || c->Active == a)
            continue;
        c->Active = a;
        if (AAnimate) {
            if (c->EnableAnimation()) {
                c->FIncTime = 25;
                c->CurrentFrame = a ? 1 : (c->Cap->InActiveAnimation ? c->Cap->FrameCount : 0);
                AnimateTimer->SetEnabled(true);
            }
            UpDateFormNC();
            if (c->EnableMorphing())
                MorphTimer->SetEnabled(true);
        } else if (c->EnableMorphing()) {
            c->SetMorphKf(a ? 1 : 0);
        }
        if (!a)
            c->QuickDeactivate();
        break;
    }
    if (a && OnActivate)
        OnActivate(this);
    if (!a && OnDeActivate)
        OnDeActivate(this);
}

void TbsSkinForm::TakeRealActivation() {
    if (FForm->HandleAllocated())
        FFormActive = FormWindowShown() && GetActiveWindow() == FForm->Handle();
    const bool a = GetFormActive();
    for (const auto& o : ObjectList) {
        auto* c = AsCaption(o.get());
        if (!c)
            continue;
        c->Active = a;
        c->CurrentFrame = 0;
        if (c->EnableMorphing())
            c->SetMorphKf(a ? 1 : 0);
    }
}

void TbsSkinForm::DrawSkinObject(TbsActiveSkinObject* AObject) {
    if (!AObject || FStopPainting || !FForm->HandleAllocated() || !FSkinnableForm || !HasBorder())
        return;
    if (FullBorderShown()) {
        FBorderLayer->UpdateBorder();
        return;
    }
    const TRect r = AObject->ObjectRect;
    // Only a picture-bound button covers its whole rectangle by itself; anything else repaints with its frame.
    if (AsCaption(AObject) || !AObject->SkinRectInAPicture || r.Width() <= 0 || r.Height() <= 0 ||
        dynamic_cast<TbsUserObject*>(AObject)) {
        PaintNC(nullptr);
        return;
    }
    TBitmap b(r.Width(), r.Height());
    HDC bdc = b.Canvas()->Handle();
    SetViewportOrgEx(bdc, -r.Left, -r.Top, nullptr);
    AObject->Draw(b.Canvas(), true);
    SetViewportOrgEx(bdc, 0, 0, nullptr);
    TWindowDC dc(FForm->Handle());
    BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), bdc, 0, 0, SRCCOPY);
}

// ---- Events and the form icon -------------------------------------------------------------------------------------

void TbsSkinForm::MouseDownEvent(const std::wstring& IDName, int X, int Y, const TRect& R, TMouseButton Button) {
    if (OnMouseDownEvent)
        OnMouseDownEvent(IDName, X, Y, R, Button);
}

void TbsSkinForm::MouseUpEvent(const std::wstring& IDName, int X, int Y, const TRect& R, TMouseButton Button) {
    if (OnMouseUpEvent)
        OnMouseUpEvent(IDName, X, Y, R, Button);
}

void TbsSkinForm::MouseMoveEvent(const std::wstring& IDName, int X, int Y, const TRect& R) {
    if (OnMouseMoveEvent)
        OnMouseMoveEvent(IDName, X, Y, R);
}

void TbsSkinForm::MouseEnterEvent(const std::wstring& IDName) {
    if (OnMouseEnterEvent)
        OnMouseEnterEvent(IDName);
}

void TbsSkinForm::MouseLeaveEvent(const std::wstring& IDName) {
    if (OnMouseLeaveEvent)
        OnMouseLeaveEvent(IDName);
}

void TbsSkinForm::PaintEvent(const std::wstring& IDName, TCanvas* Canvas, const TRect& R) {
    if (OnPaintEvent)
        OnPaintEvent(IDName, Canvas, R);
}

namespace {
HICON SmallIconOf(TCustomForm* Form) {
    if (TIcon* icon = Form->Icon(); icon && !icon->Empty())
        return icon->Handle();
    if (Form->HandleAllocated()) {
        if (auto h = reinterpret_cast<HICON>(SendMessageW(Form->Handle(), WM_GETICON, ICON_SMALL, 0)))
            return h;
    }
    return LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // the system's application icon
}
}  // namespace

void TbsSkinForm::DrawFormIcon(TCanvas* Canvas, int X, int Y) {
    DrawIconEx(Canvas->Handle(), X, Y, SmallIconOf(FForm), GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
               0, nullptr, DI_NORMAL);
}

void TbsSkinForm::DrawFormIconAlpha(TCanvas* Canvas, int X, int Y) {
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    TbsBitmap icon;
    icon.SetSize(w, h);
    if (icon.Empty())
        return;
    // Drawn over the transparent key, every pixel the icon left alone stays see-through.
    constexpr std::uint32_t kKey = 0x7F007F;
    icon.Clear(kKey);
    GdiFlush();
    DrawIconEx(icon.Canvas()->Handle(), 0, 0, SmallIconOf(FForm), w, h, 0, nullptr, DI_NORMAL);
    GdiFlush();
    for (int y = 0; y < h; ++y) {
        std::uint32_t* row = icon.GetScanLine(y);
        for (int x = 0; x < w; ++x)
            row[x] = (row[x] & 0xFFFFFF) == kKey ? 0 : (row[x] | 0xFF000000u);
    }
    icon.AlphaBlend = true;
    icon.Draw(Canvas->Handle(), X, Y);
}
