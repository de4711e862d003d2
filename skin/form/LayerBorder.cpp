#include "skin/form/LayerBorder.h"

#include <windowsx.h>

#include <algorithm>

#include "base/Report.h"
#include "skin/core/LayerWindow.h"
#include "skin/core/PixelRoutines.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/QuickButtons.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinFormObjects.h"

namespace {

constexpr UINT kCancelMode = 0xB004;  // the class library's cancel-mode notification

TbsLayerFrameGeom GeomOf(const TbsDataSkinLayerFrame& D) {
    TbsLayerFrameGeom g;
    if (D.FSourceBitmap) {
        g.SW = D.FSourceBitmap->Width();
        g.SH = D.FSourceBitmap->Height();
    }
    g.LTPoint = D.LTPoint;
    g.RTPoint = D.RTPoint;
    g.LBPoint = D.LBPoint;
    g.RBPoint = D.RBPoint;
    g.ClRect = D.ClRect;
    g.BorderRect = D.BorderRect;
    g.HitTestRect = D.HitTestRect;
    g.CaptionRect = D.CaptionRect;
    g.ButtonsRect = D.ButtonsRect;
    g.SysMenuButtonRect = D.SysMenuButtonRect;
    g.HitTestLTPoint = D.HitTestLTPoint;
    g.HitTestRTPoint = D.HitTestRTPoint;
    g.HitTestLBPoint = D.HitTestLBPoint;
    g.HitTestRBPoint = D.HitTestRBPoint;
    g.HitTestEnable = D.HitTestEnable;
    g.FullBorder = D.FullBorder;
    g.FullStretch = D.FullStretch;
    g.HitTestSize = D.HitTestSize;
    g.RollUpFormHeight = D.RollUpFormHeight;
    g.ButtonsTopOffset = D.ButtonsTopOffset;
    g.SysButtonTopOffset = D.SysButtonTopOffset;
    g.LeftOffset = D.LeftOffset;
    g.TopOffset = D.TopOffset;
    g.WidthOffset = D.WidthOffset;
    g.HeightOffset = D.HeightOffset;
    g.IntersectBlurMaskRect = D.IntersectBlurMaskRect;
    g.ExcludeBlurMaskRect = D.ExcludeBlurMaskRect;
    return g;
}

// An image from its plan; a size the system refuses leaves it empty rather than failing the caller.
void BuildImage(TbsBitmap* B, TbsBitmap* S, const TbsLayerImagePlan& P) {
    B->SetSize(0, 0);
    if (P.Width <= 0 || P.Height <= 0)
        return;
    try {
        B->SetSize(P.Width, P.Height);
    } catch (...) {
        ReportCaught("LayerBorder::BuildImage");
        return;
    }
    if (B->Empty())
        return;
    const TRect clip{0, 0, P.Width, P.Height};
    for (const auto& c : P.Copies)
        StretchOpaqueFunc(B->View(), c.Dst, clip, S->View(), c.Src);
    B->CheckingAlphaBlend();
}

TGdiRegion RegionOfPart(TBitmap* M, const TRect& R, int XO) {
    if (!M || R.IsEmpty())
        return TGdiRegion();
    TBitmap part(R.Width(), R.Height());
    BitBlt(part.Canvas()->Handle(), 0, 0, R.Width(), R.Height(), M->Canvas()->Handle(), R.Left, R.Top, SRCCOPY);
    return RegionFromMask(&part, XO, 0);
}

// Base grows by Part moved Dx to the right.
void UnionWith(const TGdiRegion& Base, const TGdiRegion& Part, int Dx) {
    if (!Base || !Part)
        return;
    TGdiRegion copy(CreateRectRgn(0, 0, 0, 0));
    if (!copy)
        return;
    CombineRgn(copy.Get(), Part.Get(), nullptr, RGN_COPY);
    OffsetRgn(copy.Get(), Dx, 0);
    CombineRgn(Base.Get(), Base.Get(), copy.Get(), RGN_OR);
}

}  // namespace

// ---- TbsFormLayerWindow ---------------------------------------------------------------------------------------------

TbsFormLayerWindow::TbsFormLayerWindow(TbsFormLayerBorder* AOwner,
                                       TCustomForm* AForm,
                                       TbsFormLayerBorderType ABorderType)
    : TCustomForm(nullptr), BorderType(ABorderType), FForm(AForm), FLayerBorder(AOwner) {
    SetVisible(false);
    SetBorderStyle(bsNone);
    if (AForm && AForm->FormStyle() == fsStayOnTop)
        SetFormStyle(fsStayOnTop);
}

void TbsFormLayerWindow::CreateParams(TCreateParams& Params) {
    TCustomForm::CreateParams(Params);
    Params.ExStyle |= WS_EX_LAYERED;
    // No task-bar button and never in the Alt+Tab list: the form stands for its border. Not owned by any window: an
    // owned window always lies above its owner, and the border lies below its form (the form may be the main one).
    Params.ExStyle |= WS_EX_TOOLWINDOW;
    Params.WndParent = nullptr;
    if (FLayerBorder && FLayerBorder->FData && IsNullRect(FLayerBorder->FData->BorderRect) &&
        IsNullRect(FLayerBorder->FData->HitTestRect))
        Params.ExStyle |= WS_EX_TRANSPARENT;
}

bool TbsFormLayerWindow::CanChangeSize() {
    TbsSkinForm* s = FLayerBorder->SKF;
    return s && s->IsSizeAble() && !FLayerBorder->NullHeight() && !s->FormMaximized() && !s->FormMinimized();
}

TbsFormLayerBorderHit TbsFormLayerWindow::GetHitMode(int X, int Y) {
    const TbsLayerFrameGeom& G = FLayerBorder->geom_;
    TbsLayerHitInput in;
    in.BorderType = BorderType;
    in.C = TPoint{X, Y};
    RECT wr{};
    GetWindowRect(Handle(), &wr);
    in.Window = TRect{wr.left, wr.top, wr.right, wr.bottom};
    in.Form = FLayerBorder->FormBounds();
    in.CanChangeSize = CanChangeSize();
    if (G.FullBorder) {
        if (BorderType == bsflTop)
            FLayerBorder->TestActive(X - wr.left, Y - wr.top);
    } else {
        FLayerBorder->ActiveObject = -1;
    }
    const int a = FLayerBorder->ActiveObject;
    const auto& objs = FLayerBorder->layerObjects_;
    if (a >= 0 && a < static_cast<int>(objs.size())) {
        in.Object = objs[static_cast<std::size_t>(a)].Kind == fokCaption ? lohCaption : lohObject;
        // A quick button in the caption is pressed, not dragged.
        if (in.Object == lohCaption && FLayerBorder->QuickCaptionAt(X - wr.left, Y - wr.top))
            in.Object = lohObject;
    }
    return ::GetHitMode(G, FLayerBorder->sizes_, in);
}

void TbsFormLayerWindow::ProcessNested() {
    FInProcessMessages = true;
    Application->ProcessMessages();
}

void TbsFormLayerWindow::BorderMouseEnter() {
    FMouseIn = true;
    TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&t);
    if (FLayerBorder->FullBorder())
        FLayerBorder->MouseTimer->SetEnabled(true);
}

void TbsFormLayerWindow::BorderMouseLeave() {
    FMouseIn = false;
    if (FLayerBorder->FullBorder()) {
        FLayerBorder->MouseTimer->SetEnabled(false);
        FLayerBorder->TestActive(-1, -1);
    }
}

void TbsFormLayerWindow::BorderMouseDown(bool Left) {
    if (FForm->HandleAllocated())
        SendMessageW(FForm->Handle(), WM_CLOSESKINMENU, 0, 0);
    if (TWinControl* ac = FForm->ActiveControl())
        ac->Perform(kCancelMode, 0, 0);
    const TbsLayerFrameGeom& G = FLayerBorder->geom_;
    if (!G.HitTestEnable)
        return;
    POINT c{};
    GetCursorPos(&c);
    FHitMode = GetHitMode(c.x, c.y);
    if (!CanChangeSize() && FHitMode != bsflCaption && FHitMode != bsflObject)
        return;
    FInProcessMessages = false;
    FDown = Left && FHitMode != bsflhNone && FHitMode != bsflObject;
    MousePos1 = MousePos2 = TPoint{c.x, c.y};
    SetCapture(Handle());
    if (G.FullBorder && FLayerBorder->ActiveObject != -1) {
        if (Left)
            FLayerBorder->MouseCaptureObject = FLayerBorder->ActiveObject;
        RECT wr{};
        GetWindowRect(Handle(), &wr);
        if (TbsSkinCaptionObject* q = FLayerBorder->QuickCaptionAt(c.x - wr.left, c.y - wr.top))
            q->MouseDown(c.x - wr.left, c.y - wr.top, Left ? mbLeft : mbRight);
        FLayerBorder->UpdateBorder();
    }
}

void TbsFormLayerWindow::ApplyDragBounds(const TRect& R, bool MoveBorderFirst) {
    if (MoveBorderFirst)
        FLayerBorder->MoveWithForm2(R.Left, R.Top);
    RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    FForm->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    MousePos1 = MousePos2;
    ProcessNested();
}

void TbsFormLayerWindow::BorderMouseMove() {
    if (!FMouseIn)
        BorderMouseEnter();
    if (FInProcessMessages) {
        // A move delivered by the nested message loop of the previous step.
        FInProcessMessages = false;
        MousePos1 = MousePos2;
        return;
    }
    const TbsLayerFrameGeom& G = FLayerBorder->geom_;
    if (!G.HitTestEnable)
        return;
    TbsSkinForm* s = FLayerBorder->SKF;
    POINT c{};
    GetCursorPos(&c);
    MousePos2 = TPoint{c.x, c.y};
    const int dx = MousePos2.X - MousePos1.X, dy = MousePos2.Y - MousePos1.Y;
    if (!FDown) {
        s->FBorderLayerChangeSize = false;
        FHitMode = GetHitMode(c.x, c.y);
        LPCWSTR cursor = IDC_ARROW;
        switch (FHitMode) {
            case bsflhLeft:
            case bsflhRight:
                cursor = IDC_SIZEWE;
                break;
            case bsflhTop:
            case bsflhBottom:
                cursor = IDC_SIZENS;
                break;
            case bsflhTopLeft:
            case bsflhBottomRight:
                cursor = IDC_SIZENWSE;
                break;
            case bsflhTopRight:
            case bsflhBottomLeft:
                cursor = IDC_SIZENESW;
                break;
            default:
                break;
        }
        ::SetCursor(LoadCursorW(nullptr, cursor));
        MousePos1 = MousePos2;
        return;
    }
    const TRect F = FLayerBorder->FormBounds();
    if (FHitMode == bsflCaption && s->FormMaximized()) {
        if (dy >= 1 && !FLayerBorder->NullHeight()) {
            // Dragged down: back to the normal size, under the cursor, inside the work area.
            TRect normal = s->GetNormalBoundsRect();
            if (IsZoomed(FForm->Handle())) {
                // Maximised by the system: its own record of the normal place.
                WINDOWPLACEMENT wp{};
                wp.length = sizeof(wp);
                GetWindowPlacement(FForm->Handle(), &wp);
                normal = TRect{wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
                               wp.rcNormalPosition.bottom};
            }
            const TRect area = GetMonitorWorkArea(FForm->Handle(), true);
            const TRect to = LayerRestoreByDrag(F, normal.Height(), normal.Width(), MousePos2, area);
            if (s->WindowState() == wsMaximized)
                s->SetWindowState(wsNormal);
            else
                ShowWindow(FForm->Handle(), SW_RESTORE);
            FForm->SetBounds(to.Left, to.Top, to.Width(), to.Height());
            FLayerBorder->SetBoundsWithForm();
        }
        MousePos1 = MousePos2;
        return;
    }
    s->FBorderLayerChangeSize = true;
    TbsLayerDragInput in;
    in.Mode = FHitMode;
    in.Form = F;
    in.C = MousePos2;
    in.Dx = dx;
    in.Dy = dy;
    in.MinWidth = s->GetMinWidth();
    in.MinHeight = s->GetMinHeight();
    in.MaxWidth = s->GetMaxWidth();
    in.MaxHeight = s->GetMaxHeight();
    const TbsLayerDragStep step = LayerDragStep(G, FLayerBorder->sizes_, in);
    if (step.Apply) {
        if (FHitMode == bsflCaption) {
            if (step.MoveBorderFirst)
                FLayerBorder->MoveWithForm2(step.Form.Left, step.Form.Top);
            FForm->SetBounds(step.Form.Left, step.Form.Top, F.Width(), F.Height());
            FLayerBorder->MoveWithForm();
            MousePos1 = MousePos2;
            ProcessNested();
        } else {
            ApplyDragBounds(step.Form, step.MoveBorderFirst);
            // The form may have refused the height (its own limits): the border goes back to it.
            if (step.MoveBorderFirst && FLayerBorder->FormBounds().Height() == F.Height())
                FLayerBorder->MoveWithForm();
        }
    }
    MousePos1 = MousePos2;
}

void TbsFormLayerWindow::BorderMouseUp() {
    TbsSkinForm* s = FLayerBorder->SKF;
    s->FBorderLayerChangeSize = false;
    const bool wasDown = FDown;
    FDown = false;
    FInProcessMessages = false;
    MousePos1 = MousePos2 = TPoint{};
    const TbsLayerFrameGeom& G = FLayerBorder->geom_;
    const int captured = FLayerBorder->MouseCaptureObject;
    FLayerBorder->MouseCaptureObject = -1;
    if (GetCapture() == Handle())
        ReleaseCapture();
    if (!G.HitTestEnable)
        return;
    if (!CanChangeSize() && FHitMode != bsflCaption && FHitMode != bsflObject)
        return;
    // An object pressed and released under the mouse runs its command.
    if (G.FullBorder && captured != -1) {
        if (captured < static_cast<int>(s->ObjectList.size()))
            if (auto* q = dynamic_cast<TbsSkinCaptionObject*>(s->ObjectList[static_cast<std::size_t>(captured)].get());
                q && q->Parent->QuickButtons()->Count() > 0) {
                POINT c{};
                GetCursorPos(&c);
                RECT wr{};
                GetWindowRect(Handle(), &wr);
                q->MouseUp(c.x - wr.left, c.y - wr.top, mbLeft);
            }
        FLayerBorder->UpdateBorder();
        if (captured == FLayerBorder->ActiveObject && captured < static_cast<int>(FLayerBorder->layerObjects_.size())) {
            const TbsFrameObject& o = FLayerBorder->layerObjects_[static_cast<std::size_t>(captured)];
            if (o.Kind == fokStdButton)
                s->RunCommand(o.Command);
        }
        return;
    }
    if (G.FullBorder && wasDown && !s->FormMaximized() && !s->FormMinimized() && !FLayerBorder->NullHeight() &&
        s->BorderIcons().Contains(TbsBorderIcon::biMaximize) && s->IsSizeAble()) {
        RECT wr{};
        GetWindowRect(Handle(), &wr);
        const TRect area = GetMonitorWorkArea(FForm->Handle(), true);
        if (BorderType == bsflTop && wr.top + G.BorderRect.Top < area.Top)
            s->SetWindowState(wsMaximized);
    }
}

void TbsFormLayerWindow::BorderDblClick() {
    const TbsLayerFrameGeom& G = FLayerBorder->geom_;
    if (!G.FullBorder)
        return;
    TbsSkinForm* s = FLayerBorder->SKF;
    POINT c{};
    GetCursorPos(&c);
    const TbsFormLayerBorderHit hit = GetHitMode(c.x, c.y);
    MousePos1 = MousePos2;
    const int a = FLayerBorder->ActiveObject;
    const HWND form = FForm->Handle();
    if (hit == bsflObject && a >= 0 && a < static_cast<int>(FLayerBorder->layerObjects_.size())) {
        const TbsFrameObject& o = FLayerBorder->layerObjects_[static_cast<std::size_t>(a)];
        // Closing may free this window: the form closes after this handler has returned.
        if (o.Kind == fokStdButton && o.Command == cmSysMenu)
            PostMessageW(form, WM_CLOSE, 0, 0);
    } else if (hit == bsflCaption) {
        FDown = false;
        s->CaptionDblClick();
    }
    FLayerBorder->MouseCaptureObject = -1;
}

void TbsFormLayerWindow::WndProc(TMessage& Message) {
    if (!FLayerBorder) {
        // Released: it only waits to be freed.
        TCustomForm::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
        case WM_MOUSEACTIVATE:
            Message.Result = MA_NOACTIVATE;
            if (FLayerBorder->geom_.HitTestEnable) {
                if (FForm->HandleAllocated() && GetForegroundWindow() != FForm->Handle())
                    SetForegroundWindow(FForm->Handle());
                POINT c{};
                GetCursorPos(&c);
                FHitMode = GetHitMode(c.x, c.y);
            }
            return;
        case WM_SETFOCUS:
            if (FForm->HandleAllocated() && GetForegroundWindow() != FForm->Handle())
                SetForegroundWindow(FForm->Handle());
            Message.Result = 1;
            return;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            BorderMouseDown(Message.Msg == WM_LBUTTONDOWN);
            Message.Result = 0;
            return;
        case WM_MOUSEMOVE:
            BorderMouseMove();
            Message.Result = 0;
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            BorderMouseUp();
            Message.Result = 0;
            return;
        case WM_LBUTTONDBLCLK:
            BorderDblClick();
            Message.Result = 0;
            return;
        case WM_MOUSELEAVE:
            BorderMouseLeave();
            Message.Result = 0;
            return;
        case WM_SETCURSOR:
            // The cursor shape was chosen by the last move.
            if (LOWORD(Message.LParam) == HTCLIENT && FHitMode != bsflhNone && FHitMode != bsflCaption &&
                FHitMode != bsflObject) {
                Message.Result = 1;
                return;
            }
            break;
        case WM_CANCELMODE:
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(Message.LParam) != Handle() && FDown) {
                FDown = false;
                FLayerBorder->SKF->FBorderLayerChangeSize = false;
            }
            break;
        default:
            break;
    }
    TCustomForm::WndProc(Message);
}

// ---- TbsFormLayerBorder ---------------------------------------------------------------------------------------------

TbsFormLayerBorder::TbsFormLayerBorder(TComponent* AOwner)
    : TComponent(AOwner), SKF(dynamic_cast<TbsSkinForm*>(AOwner)) {
    MouseTimer = std::make_unique<TTimer>(nullptr);
    MouseTimer->SetEnabled(false);
    MouseTimer->SetInterval(500);
    MouseTimer->OnTimer = [this](TObject*) { CheckMouse(); };
    LeftImage = std::make_unique<TbsBitmap>();
    TopImage = std::make_unique<TbsBitmap>();
    RightImage = std::make_unique<TbsBitmap>();
    BottomImage = std::make_unique<TbsBitmap>();
    WindowUnderCursor = [] {
        POINT c{};
        GetCursorPos(&c);
        return WindowFromPoint(c);
    };
}

TbsFormLayerBorder::~TbsFormLayerBorder() {
    MouseTimer->SetEnabled(false);
    FVisible = false;
    FreeWindows();
    DeleteRgns();
}

bool TbsFormLayerBorder::FullBorder() const {
    return FData && FData->FullBorder;
}

TbsFormLayerWindow* TbsFormLayerBorder::Window(TbsFormLayerBorderType T) const {
    switch (T) {
        case bsflLeft:
            return LeftBorder;
        case bsflTop:
            return TopBorder;
        case bsflRight:
            return RightBorder;
        case bsflBottom:
            return BottomBorder;
    }
    return nullptr;
}

TbsBitmap* TbsFormLayerBorder::Image(TbsFormLayerBorderType T) const {
    switch (T) {
        case bsflLeft:
            return LeftImage.get();
        case bsflTop:
            return TopImage.get();
        case bsflRight:
            return RightImage.get();
        case bsflBottom:
            return BottomImage.get();
    }
    return nullptr;
}

void TbsFormLayerBorder::FreeWindows() {
    for (auto** w : {&LeftBorder, &RightBorder, &TopBorder, &BottomBorder}) {
        TbsFormLayerWindow* win = *w;
        *w = nullptr;
        if (!win)
            continue;
        if (win->HandleAllocated())
            ShowWindow(win->Handle(), SW_HIDE);
        if (GetCapture() == (win->HandleAllocated() ? win->Handle() : nullptr))
            ReleaseCapture();
        // A window whose handler is running (a click that hides the border) goes after that handler returns.
        if (TWinControl::InDispatch(win, false)) {
            win->FLayerBorder = nullptr;  // the controller may go before the window does
            win->Release();
        } else
            delete win;
    }
}

void TbsFormLayerBorder::DeleteRgns() {
    for (TGdiRegion* r : {&DataRgn1, &DataRgn2, &DataRgn3, &DataRgn4, &TopRgn, &BottomRgn, &RightRgn, &LeftRgn})
        r->Reset();
}

TRect TbsFormLayerBorder::FormBounds() const {
    if (FForm && FForm->HandleAllocated()) {
        RECT r{};
        GetWindowRect(FForm->Handle(), &r);
        return TRect{r.left, r.top, r.right, r.bottom};
    }
    return FForm ? FForm->BoundsRect() : TRect{};
}

bool TbsFormLayerBorder::NullHeight() const {
    // Rolled up to no client height; the skinned form has no roll-up state of its own yet.
    return false;
}

bool TbsFormLayerBorder::BlurApplies() const {
    return FIsAeroEnabled && FSD && FSD->AeroBlurEnabled();
}

void TbsFormLayerBorder::InitFrame(TbsSkinData* ASkinData, TCustomForm* AForm) {
    FSD = ASkinData;
    FForm = AForm;
    FData = nullptr;
    if (FSD && !FSD->Empty && FSD->LayerFrame.PictureIndex != -1 && FSD->LayerFrame.FSourceBitmap &&
        !FSD->LayerFrame.FSourceBitmap->Empty())
        FData = &FSD->LayerFrame;
    FIsAeroEnabled = IsVistaOS() && IsWindowsAero() && !IsW8();
    if (!FData)
        return;
    geom_ = GeomOf(*FData);
    sizes_ = CalcLayerSizes(geom_);
    FCurrentAlphaBlendValue = FData->AlphaBlendValue;
    FCurrentInActiveAlphaBlendValue = FData->InActiveAlphaBlendValue;
    InitRgns();
    if (FData->FullBorder) {
        ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    }
}

void TbsFormLayerBorder::InitRgns() {
    DeleteRgns();
    if (!FData || FData->BlurMaskPictureIndex < 0 || FData->BlurMaskPictureIndex >= FSD->ActivePictureCount())
        return;
    TBitmap* m = FSD->GetActivePicture(FData->BlurMaskPictureIndex);
    const int mw = m->Width(), mh = m->Height();
    const TbsLayerFrameGeom& g = geom_;
    DataRgn1 = RegionOfPart(m, TRect{0, 0, g.LTPoint.X, g.LTPoint.Y}, 0);
    DataRgn2 = RegionOfPart(m, TRect{g.RTPoint.X, 0, mw, g.RTPoint.Y}, g.RTPoint.X);
    DataRgn3 = RegionOfPart(m, TRect{0, g.LBPoint.Y, g.LBPoint.X, mh}, 0);
    DataRgn4 = RegionOfPart(m, TRect{g.RBPoint.X, g.RBPoint.Y, mw, mh}, g.RBPoint.X);
}

void TbsFormLayerBorder::CreateFrameRgns() {
    for (TGdiRegion* r : {&TopRgn, &BottomRgn, &RightRgn, &LeftRgn})
        r->Reset();
    if (!FData || FData->BlurMaskPictureIndex == -1)
        return;
    const TbsLayerBlurRects b = LayerBlurRects(geom_, TopImage->Width(), LeftImage->Height(), RightImage->Height());
    TopRgn.Reset(CreateRectRgn(b.Top.Left, b.Top.Top, b.Top.Right, b.Top.Bottom));
    UnionWith(TopRgn, DataRgn1, 0);
    UnionWith(TopRgn, DataRgn2, b.CornerShift);
    BottomRgn.Reset(CreateRectRgn(b.Bottom.Left, b.Bottom.Top, b.Bottom.Right, b.Bottom.Bottom));
    UnionWith(BottomRgn, DataRgn3, 0);
    UnionWith(BottomRgn, DataRgn4, b.CornerShift);
    LeftRgn.Reset(CreateRectRgn(b.Left.Left, b.Left.Top, b.Left.Right, b.Left.Bottom));
    RightRgn.Reset(CreateRectRgn(b.Right.Left, b.Right.Top, b.Right.Right, b.Right.Bottom));
}

void TbsFormLayerBorder::InitFrameImages(int AWidth, int AHeight) {
    TbsBitmap* S = FData->FSourceBitmap.get();
    if (!FActive && FData->FSourceInActiveBitMap && !FData->FSourceInActiveBitMap->Empty())
        S = FData->FSourceInActiveBitMap.get();
    const TbsLayerImagePlans p = PlanLayerImages(geom_, S->Width(), S->Height(), AWidth, AHeight);
    BuildImage(TopImage.get(), S, p.Top);
    if (FData->FullBorder && !TopImage->Empty()) {
        CalcObjectRects();
        DrawObjectsAlpha();
    }
    BuildImage(BottomImage.get(), S, p.Bottom);
    BuildImage(LeftImage.get(), S, p.Left);
    BuildImage(RightImage.get(), S, p.Right);
    for (TbsBitmap* b : {TopImage.get(), BottomImage.get(), LeftImage.get(), RightImage.get()})
        b->CheckRGBA();
    if (BlurApplies())
        CreateFrameRgns();
}

void TbsFormLayerBorder::CalcObjectRects() {
    layerObjects_ = SKF ? SKF->objects_ : std::vector<TbsFrameObject>{};
    const int iw = GetSystemMetrics(SM_CXSMICON), ih = GetSystemMetrics(SM_CYSMICON);
    LayLayerObjects(geom_, TopImage->Width(), FSD ? FSD->ButtonsOffset : 0, layerObjects_, SKF && SKF->ShowIcon, iw,
                    ih);
}

// Each object paints itself into the top image keeping its alpha. The border keeps its own hot and pressed object
// and places: the objects borrow them for the duration.
void TbsFormLayerBorder::DrawObjectsAlpha() {
    if (!SKF || layerObjects_.size() != SKF->ObjectList.size())
        return;
    TbsBitmap* top = TopImage.get();
    GdiFlush();
    // Every object takes its place in the image first: the caption keeps its quick buttons clear of the others.
    std::vector<TbsActiveSkinObject::TLook> saved;
    saved.reserve(layerObjects_.size());
    for (std::size_t i = 0; i < layerObjects_.size(); ++i) {
        TbsActiveSkinObject* o = SKF->ObjectList[i].get();
        saved.push_back(o->SaveLook());
        o->ObjectRect = layerObjects_[i].ObjectRect;
    }
    for (std::size_t i = 0; i < layerObjects_.size(); ++i) {
        TbsActiveSkinObject* o = SKF->ObjectList[i].get();
        if (!layerObjects_[i].Visible || !o->Visible)
            continue;
        const bool hot = static_cast<int>(i) == ActiveObject;
        const bool pressed = hot && static_cast<int>(i) == MouseCaptureObject;
        const TbsActiveSkinObject::TLook look = o->SaveLook();
        o->LendLook(hot, pressed);
        o->DrawAlpha(top->Canvas(), top);
        o->RestoreLook(look);
    }
    for (std::size_t i = 0; i < layerObjects_.size(); ++i)
        SKF->ObjectList[i]->RestoreLook(saved[i]);
    GdiFlush();
    top->CheckingAlphaBlend();
}

TbsLayerPlaces TbsFormLayerBorder::Places(int X, int Y) const {
    return LayerWindowPlaces(X, Y, FWidth, FHeight, TopImage->Height(), BottomImage->Height(), RightImage->Width());
}

void TbsFormLayerBorder::ApplyImage(TbsFormLayerWindow* W, TbsBitmap* B, int Alpha, const TGdiRegion& Rgn) {
    if (!W || B->Empty())
        return;
    CreateAlphaLayered2(B, Alpha, W);
    if (Rgn && BlurApplies())
        SetBlurBehindWindow(W->Handle(), true, Rgn.Get());
}

void TbsFormLayerBorder::PlaceWindow(TbsFormLayerWindow* W, TPoint P, bool Show, bool Size) {
    if (!W)
        return;
    // Right below the form: a part of the image that overlaps the form stays behind it.
    HWND after = (FForm && FForm->HandleAllocated()) ? FForm->Handle() : nullptr;
    UINT flags = SWP_NOACTIVATE | (Size ? 0 : SWP_NOSIZE) | (Show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (!after)
        flags |= SWP_NOZORDER;
    TbsBitmap* b = Image(W->BorderType);
    SetWindowPos(W->Handle(), after, P.X, P.Y, b->Width(), b->Height(), flags);
}

void TbsFormLayerBorder::Show(int X, int Y, int AWidth, int AHeight) {
    if (!FData)
        return;
    FWidth = AWidth;
    FHeight = AHeight;
    FVisible = true;
    InitFrameImages(AWidth, AHeight);
    FreeWindows();
    LeftBorder = new TbsFormLayerWindow(this, FForm, bsflLeft);
    RightBorder = new TbsFormLayerWindow(this, FForm, bsflRight);
    TopBorder = new TbsFormLayerWindow(this, FForm, bsflTop);
    BottomBorder = new TbsFormLayerWindow(this, FForm, bsflBottom);
    const TbsLayerPlaces p = Places(X, Y);
    // The layered update draws at the window's own place: each window takes its place and size first.
    auto prepare = [](TbsFormLayerWindow* W, TPoint P, TbsBitmap* B) {
        W->SetBounds(P.X, P.Y, std::max(B->Width(), 1), std::max(B->Height(), 1));
        W->HandleNeeded();
    };
    prepare(TopBorder, p.Top, TopImage.get());
    prepare(BottomBorder, p.Bottom, BottomImage.get());
    prepare(LeftBorder, p.Left, LeftImage.get());
    prepare(RightBorder, p.Right, RightImage.get());
    const int a = CurrentAlpha();
    ApplyImage(TopBorder, TopImage.get(), a, TopRgn);
    ApplyImage(BottomBorder, BottomImage.get(), a, BottomRgn);
    if (LeftImage->Height() > 0)
        ApplyImage(LeftBorder, LeftImage.get(), a, LeftRgn);
    if (RightImage->Height() > 0)
        ApplyImage(RightBorder, RightImage.get(), a, RightRgn);
    PlaceWindow(TopBorder, p.Top, !TopImage->Empty(), false);
    PlaceWindow(BottomBorder, p.Bottom, !BottomImage->Empty(), false);
    PlaceWindow(LeftBorder, p.Left, LeftImage->Height() >= 1, false);
    PlaceWindow(RightBorder, p.Right, RightImage->Height() >= 1, false);
}

void TbsFormLayerBorder::SetBounds(int X, int Y, int AWidth, int AHeight) {
    if (!FData || !FVisible || !TopBorder)
        return;
    FWidth = AWidth;
    FHeight = AHeight;
    InitFrameImages(AWidth, AHeight);
    const TbsLayerPlaces p = Places(X, Y);
    const int a = CurrentAlpha();
    auto follow = [&](TbsFormLayerWindow* W, TPoint P, TbsBitmap* B, const TGdiRegion& Rgn, bool Show) {
        if (Show) {
            // Position first: the layered update draws at the window's place.
            SetWindowPos(W->Handle(), nullptr, P.X, P.Y, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER);
            ApplyImage(W, B, a, Rgn);
        }
        PlaceWindow(W, P, Show, false);
    };
    follow(TopBorder, p.Top, TopImage.get(), TopRgn, !TopImage->Empty());
    follow(BottomBorder, p.Bottom, BottomImage.get(), BottomRgn, !BottomImage->Empty());
    follow(LeftBorder, p.Left, LeftImage.get(), LeftRgn, LeftImage->Height() >= 1);
    follow(RightBorder, p.Right, RightImage.get(), RightRgn, RightImage->Height() >= 1);
}

void TbsFormLayerBorder::Update(int X, int Y, int AWidth, int AHeight) {
    (void)X;
    (void)Y;
    if (!FData || !FVisible || !TopBorder)
        return;
    FWidth = AWidth;
    FHeight = AHeight;
    InitFrameImages(AWidth, AHeight);
    const int a = CurrentAlpha();
    ApplyImage(TopBorder, TopImage.get(), a, TopRgn);
    ApplyImage(BottomBorder, BottomImage.get(), a, BottomRgn);
    if (LeftImage->Height() > 0)
        ApplyImage(LeftBorder, LeftImage.get(), a, LeftRgn);
    if (RightImage->Height() > 0)
        ApplyImage(RightBorder, RightImage.get(), a, RightRgn);
}

void TbsFormLayerBorder::Draw(TCanvas* Canvas, int X, int Y, int AWidth, int AHeight) {
    if (!FData || !Canvas)
        return;
    InitFrameImages(AWidth, AHeight);
    const int th = TopImage->Height();
    if (!TopImage->Empty())
        TopImage->Draw(Canvas, X, Y);
    if (!BottomImage->Empty())
        BottomImage->Draw(Canvas, X, Y + AHeight - BottomImage->Height());
    if (!LeftImage->Empty())
        LeftImage->Draw(Canvas, X, Y + th);
    if (!RightImage->Empty())
        RightImage->Draw(Canvas, X + AWidth - RightImage->Width(), Y + th);
}

void TbsFormLayerBorder::DrawShown(TbsBitmap* Target, int X, int Y) {
    if (!FVisible || !Target)
        return;
    for (TbsFormLayerWindow* w : {TopBorder, BottomBorder, LeftBorder, RightBorder}) {
        TbsBitmap* img = w ? Image(w->BorderType) : nullptr;
        if (!img || img->Empty() || !IsWindowVisible(w->Handle()))
            continue;
        RECT r{};
        GetWindowRect(w->Handle(), &r);
        const bool blend = img->AlphaBlend;
        img->AlphaBlend = true;
        img->Draw(Target, r.left - X, r.top - Y);
        img->AlphaBlend = blend;
    }
}

void TbsFormLayerBorder::Hide() {
    FVisible = false;
    MouseTimer->SetEnabled(false);
    for (TbsBitmap* b : {TopImage.get(), BottomImage.get(), LeftImage.get(), RightImage.get()})
        b->SetSize(0, 0);
    FreeWindows();
}

void TbsFormLayerBorder::ShowWithForm() {
    if (!FData || !FForm)
        return;
    const TRect o = LayerOuterRect(geom_, FormBounds(), NullHeight());
    Show(o.Left, o.Top, o.Width(), o.Height());
}

void TbsFormLayerBorder::SetBoundsWithForm() {
    if (!FData || !FForm)
        return;
    const TRect o = LayerOuterRect(geom_, FormBounds(), NullHeight());
    SetBounds(o.Left, o.Top, o.Width(), o.Height());
}

void TbsFormLayerBorder::SetBoundsWithForm2(int AW, int AH) {
    if (!FData || !FForm)
        return;
    const TRect f = FormBounds();
    const TRect o = LayerOuterRect(geom_, Bounds(f.Left, f.Top, AW, AH), NullHeight());
    SetBounds(o.Left, o.Top, o.Width(), o.Height());
}

void TbsFormLayerBorder::SetBoundsWithForm3(int ALeft, int ATop, int AW, int AH) {
    if (!FData || !FForm)
        return;
    const TRect o = LayerOuterRect(geom_, Bounds(ALeft, ATop, AW, AH), NullHeight());
    SetBounds(o.Left, o.Top, o.Width(), o.Height());
}

void TbsFormLayerBorder::UpdateBorder() {
    if (!FData || !FForm)
        return;
    const TRect o = LayerOuterRect(geom_, FormBounds(), NullHeight());
    Update(o.Left, o.Top, o.Width(), o.Height());
}

void TbsFormLayerBorder::MoveWithForm() {
    const TRect f = FormBounds();
    MoveWithForm2(f.Left, f.Top);
}

void TbsFormLayerBorder::MoveWithForm2(int ALeft, int ATop) {
    if (!FData || !FVisible || !TopBorder)
        return;
    const TRect f = FormBounds();
    const TRect o = LayerOuterRect(geom_, Bounds(ALeft, ATop, f.Width(), f.Height()), NullHeight());
    const TbsLayerPlaces p = Places(o.Left, o.Top);
    const UINT flags = SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER;
    SetWindowPos(TopBorder->Handle(), nullptr, p.Top.X, p.Top.Y, 0, 0, flags);
    SetWindowPos(BottomBorder->Handle(), nullptr, p.Bottom.X, p.Bottom.Y, 0, 0, flags);
    if (IsWindowVisible(LeftBorder->Handle()))
        SetWindowPos(LeftBorder->Handle(), nullptr, p.Left.X, p.Left.Y, 0, 0, flags);
    if (IsWindowVisible(RightBorder->Handle()))
        SetWindowPos(RightBorder->Handle(), nullptr, p.Right.X, p.Right.Y, 0, 0, flags);
}

void TbsFormLayerBorder::SetAlphaBlend() {
    if (!FData || !FVisible || !TopBorder)
        return;
    const int a = CurrentAlpha();
    if (TopImage->Width() > 0)
        ApplyImage(TopBorder, TopImage.get(), a, TopRgn);
    if (BottomImage->Width() > 0)
        ApplyImage(BottomBorder, BottomImage.get(), a, BottomRgn);
    if (IsWindowVisible(LeftBorder->Handle()))
        ApplyImage(LeftBorder, LeftImage.get(), a, LeftRgn);
    if (IsWindowVisible(RightBorder->Handle()))
        ApplyImage(RightBorder, RightImage.get(), a, RightRgn);
}

void TbsFormLayerBorder::SetAlphaBlend2() {
    SetAlphaBlend();
    if (!FData || !FVisible || !TopBorder)
        return;
    const TRect o = LayerOuterRect(geom_, FormBounds(), NullHeight());
    const TbsLayerPlaces p = Places(o.Left, o.Top);
    PlaceWindow(TopBorder, p.Top, !TopImage->Empty(), false);
    PlaceWindow(BottomBorder, p.Bottom, !BottomImage->Empty(), false);
    PlaceWindow(LeftBorder, p.Left, LeftImage->Height() >= 1, false);
    PlaceWindow(RightBorder, p.Right, RightImage->Height() >= 1, false);
}

void TbsFormLayerBorder::CheckFormAlpha(int AFormAlpha, bool AUpdate) {
    if (!FData)
        return;
    FCurrentAlphaBlendValue = ScaleLayerAlpha(FData->AlphaBlendValue, AFormAlpha);
    FCurrentInActiveAlphaBlendValue = ScaleLayerAlpha(FData->InActiveAlphaBlendValue, AFormAlpha);
    if (AUpdate)
        SetAlphaBlend();
}

void TbsFormLayerBorder::SetActive(bool AValue, bool AUpdate) {
    if (!FData)
        return;
    FActive = AValue;
    if (!AValue) {
        CheckButtonUp();
        if (MouseCaptureObject != -1 && GetCapture() && TopBorder && GetCapture() == TopBorder->Handle())
            ReleaseCapture();
        MouseCaptureObject = -1;
        TestActive(-1, -1);
        ActiveObject = -1;
    }
    if (!FVisible)
        return;
    if (FData->FullBorder || (FData->FSourceInActiveBitMap && !FData->FSourceInActiveBitMap->Empty()))
        SetBoundsWithForm();
    if (AUpdate)
        SetAlphaBlend2();
}

void TbsFormLayerBorder::ShowWithFormAnimation() {
    if (!FData || !FForm)
        return;
    int& current = FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue;
    const int target = current;
    current = 0;
    const TRect f = FormBounds();
    const TRect o = LayerOuterRect(geom_, Bounds(f.Left, f.Top, f.Width(), f.Height()), false);
    Show(o.Left, o.Top, o.Width(), o.Height());
    Application->ProcessMessages();
    TAlphaFade fade;
    fade.Target = target;
    fade.Step = AlphaFadeStep(target, 15);
    fade.IntervalMs = 5;
    fade.FirstStepAtOnce = false;
    // Blocks the thread for the fade, as the form's own fade does: nothing else may move the border meanwhile.
    RunAlphaFade(fade, FadeClock, [this, &current](int a) {
        current = a;
        SetAlphaBlend();
    });
    current = target;
}

void TbsFormLayerBorder::TestActive(int X, int Y) {
    if (!SKF || !FForm)
        return;
    const bool allowed = !layerObjects_.empty() &&
                         (FForm->HandleAllocated() && GetForegroundWindow() == FForm->Handle()) && !SKF->FSizeMove &&
                         !SKF->FBorderLayerChangeSize && !SKF->PreviewMode && FForm->BorderStyle() != bsNone &&
                         (!FData || FData->FullBorder);
    if (!allowed && !(X == -1 && Y == -1))
        return;
    int found = -1;
    if (MouseCaptureObject != -1) {
        found = ActiveObject;
    } else if (X != -1 || Y != -1) {
        for (std::size_t i = 0; i < layerObjects_.size(); ++i) {
            const TbsFrameObject& o = layerObjects_[i];
            if (!o.Visible || i >= SKF->ObjectList.size() || !SKF->ObjectList[i]->Enabled)
                continue;
            if (o.Kind == fokCaption || !o.ObjectRect.Contains(TPoint{X, Y}))
                continue;
            found = static_cast<int>(i);
            break;
        }
        if (found == -1) {
            for (std::size_t i = 0; i < layerObjects_.size(); ++i) {
                if (layerObjects_[i].Kind == fokCaption && layerObjects_[i].ObjectRect.Contains(TPoint{X, Y})) {
                    found = static_cast<int>(i);
                    break;
                }
            }
        }
    }
    // The caption's quick buttons follow the pointer within it (their places are the top image's).
    for (std::size_t i = 0; i < layerObjects_.size() && i < SKF->ObjectList.size(); ++i)
        if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(SKF->ObjectList[i].get()))
            c->TestActive(static_cast<int>(i) == found ? X : -1, static_cast<int>(i) == found ? Y : -1);
    if (found == ActiveObject)
        return;
    OldActiveObject = ActiveObject;
    ActiveObject = found;
    // The hot look of the buttons is in the top image.
    if (FVisible && TopBorder)
        UpdateBorder();
}

TbsSkinCaptionObject* TbsFormLayerBorder::QuickCaptionAt(int X, int Y) const {
    if (!SKF)
        return nullptr;
    for (std::size_t i = 0; i < layerObjects_.size() && i < SKF->ObjectList.size(); ++i)
        if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(SKF->ObjectList[i].get());
            c && layerObjects_[i].Kind == fokCaption && c->QuickButtonAt(X, Y) != -1)
            return c;
    return nullptr;
}

void TbsFormLayerBorder::CheckMouse() {
    if ((!FData || FData->FullBorder) && TopBorder && TopBorder->HandleAllocated()) {
        if (WindowUnderCursor() != TopBorder->Handle()) {
            MouseTimer->SetEnabled(false);
            if (GetCapture() == TopBorder->Handle())
                ReleaseCapture();
            TestActive(-1, -1);
        }
        return;
    }
    MouseTimer->SetEnabled(false);
}

void TbsFormLayerBorder::CheckButtonUp() {
    MouseCaptureObject = -1;
}

void TbsFormLayerBorder::FollowForm() {
    if (!FData || !FVisible || !TopBorder)
        return;
    const TRect o = LayerOuterRect(geom_, FormBounds(), NullHeight());
    if (o.Width() == FWidth && o.Height() == FHeight)
        MoveWithForm2(FormBounds().Left, FormBounds().Top);
    else
        SetBounds(o.Left, o.Top, o.Width(), o.Height());
}

void TbsFormLayerBorder::Restack() {
    if (!FVisible || !TopBorder || !FForm || !FForm->HandleAllocated())
        return;
    for (TbsFormLayerWindow* w : {TopBorder, BottomBorder, LeftBorder, RightBorder}) {
        if (IsWindowVisible(w->Handle()))
            SetWindowPos(w->Handle(), FForm->Handle(), 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    }
}

// ---- The skinned form's side of the border
// ----------------------------------------------------------------------------

bool TbsSkinForm::CanShowBorderLayer() const {
    return FSD && !FSD->Empty && FSD->ShowLayeredBorders() && FSD->LayerFrame.PictureIndex != -1 &&
           FSD->LayerFrame.FSourceBitmap && CheckW2KWXP() && FSkinnableForm && FSkinSupport &&
           !AlwaysDisableLayeredFrames && !PreviewMode && HasBorder() && FForm->FormStyle() != fsMDIChild &&
           !FSmartEffectsShow;
}

bool TbsSkinForm::FullBorderAvailable() const {
    return CanShowBorderLayer() && FSD->LayerFrame.FullBorder;
}

bool TbsSkinForm::FullBorderShown() const {
    return FBorderLayer && FBorderLayer->Visible() && FBorderLayer->FullBorder();
}

bool TbsSkinForm::LayerBorderFirst(TMessage& m) {
    switch (m.Msg) {
        case WM_NCCALCSIZE:
            // The border draws the whole frame outside: the window is all client.
            if (!FSkinnableForm || !FullBorderAvailable())
                return false;
            m.Result = 0;
            return true;
        case WM_NCHITTEST:
            if (!FullBorderShown())
                return false;
            m.Result = HTCLIENT;
            return true;
        case WM_NCPAINT:
            if (!FullBorderShown())
                return false;
            m.Result = 0;
            return true;
        case WM_NCACTIVATE:
            // The frame is the border's: only its look changes, nothing is painted in the window.
            if (!FSkinnableForm || !FullBorderShown())
                return false;
            FFormActive = m.WParam != 0;
            FBorderLayerChangeSize = false;
            m.Result = 1;
            if (IsWindowVisible(FForm->Handle()))
                FBorderLayer->SetActive(FFormActive, true);
            return true;
        default:
            return false;
    }
}

void TbsSkinForm::LayerBorderAfter(TMessage& m) {
    if (!FBorderLayer)
        return;
    if (FForm->ComponentState().Contains(csDestroying) || ComponentState().Contains(csDestroying)) {
        // Going away: the border only hides, nothing is built any more.
        FBorderLayer->Hide();
        return;
    }
    const bool shown = FormWindowShown() && !IsIconic(FForm->Handle());
    switch (m.Msg) {
        case WM_SHOWWINDOW:
            if (m.WParam && CanShowBorderLayer() && !FBorderLayer->Visible()) {
                FBorderLayer->SetActive(true, false);
                FBorderLayer->ShowWithForm();
            } else if (!m.WParam) {
                FBorderLayer->Hide();
            }
            break;
        case WM_WINDOWPOSCHANGED: {
            const auto* wp = reinterpret_cast<const WINDOWPOS*>(m.LParam);
            if (!shown) {
                FBorderLayer->Hide();
                break;
            }
            if (!FBorderLayer->Visible()) {
                // Back from the minimised state.
                // A maximised form shows no border that is not a full one.
                if (CanShowBorderLayer() && !(wp->flags & SWP_HIDEWINDOW) &&
                    (FWindowState != wsMaximized || FullBorderAvailable()))
                    FBorderLayer->ShowWithForm();
                break;
            }
            if (FBorderLayerChangeSize && !(wp->flags & SWP_NOSIZE))
                FBorderLayer->SetBoundsWithForm3(wp->x, wp->y, wp->cx, wp->cy);
            else
                FBorderLayer->FollowForm();
            if (!(wp->flags & SWP_NOZORDER))
                FBorderLayer->Restack();
            break;
        }
        case WM_NCACTIVATE:
            if (FBorderLayer->Visible() && shown)
                FBorderLayer->SetActive(m.WParam != 0, true);
            break;
        case WM_GETMINMAXINFO:
            if (FullBorderAvailable() && FBorderLayer->HasData()) {
                // Maximised, the frame outside the form still fits the work area.
                auto* mmi = reinterpret_cast<MINMAXINFO*>(m.LParam);
                const TbsLayerSizes& s = FBorderLayer->Sizes();
                mmi->ptMaxPosition.x += s.LeftSize;
                mmi->ptMaxPosition.y += s.TopSize;
                mmi->ptMaxSize.x -= s.LeftSize + s.RightSize;
                mmi->ptMaxSize.y -= s.TopSize + s.BottomSize;
            }
            break;
        case WM_BEFORECHANGESKINDATA:
            if (reinterpret_cast<TbsSkinData*>(m.WParam) == FSD)
                FBorderLayer->Hide();
            break;
        case WM_DESTROY:
            FBorderLayer->Hide();
            break;
        default:
            break;
    }
}

void TbsSkinForm::LayerBorderSkinChanged() {
    if (!FBorderLayer)
        return;
    FBorderLayer->Hide();
    if (ComponentState().Contains(csDestroying))
        return;
    FBorderLayer->InitFrame((FSkinSupport && FSkinnableForm && !PreviewMode) ? FSD : nullptr, FForm);
    if (CanShowBorderLayer() && FormWindowShown() && !IsIconic(FForm->Handle())) {
        FBorderLayer->SetActive(FFormActive, false);
        FBorderLayer->ShowWithForm();
    }
}
