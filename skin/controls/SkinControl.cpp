#include "skin/controls/SkinControl.h"

#include "classlib/GdiHandles.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"

// ---- TbsSkinControl -------------------------------------------------------------------------------------------------
TbsSkinControl::TbsSkinControl(TComponent* AOwner) : TCustomControl(AOwner) {}

TbsSkinControl::~TbsSkinControl() = default;

void TbsSkinControl::SetSkinData(TbsSkinData* Value) {
    if (RebindSkinData(this, FSD, Value))
        ChangeSkinData();
}

void TbsSkinControl::SetSkinDataName(const std::wstring& Value) {
    FSkinDataName = Value;
}

void TbsSkinControl::SetHintImageList(TCustomImageList* Value) {
    SetBorrowed(this, FHintImageList, Value);
}

void TbsSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (ForgetRemoved(FSD, AComponent))
        FIndex = -1;
    ForgetRemoved(FHintImageList, AComponent);
}

void TbsSkinControl::GetSkinData() {
    FIndex = LookupSkinEntry(FSD, FSkinDataName);
}

TbsDataSkinControl* TbsSkinControl::Entry() const {
    return SkinEntryAt(FSD, FIndex);
}

void TbsSkinControl::BeforeChangeSkinData() {
    FIndex = -1;
}

void TbsSkinControl::ChangeSkinData() {
    GetSkinData();
    Invalidate();
}

void TbsSkinControl::Paint() {
    PaintImageTo(Canvas(), 0, 0);
}

void TbsSkinControl::PaintImageTo(TCanvas* C, int X, int Y) {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0)
        return;
    GetSkinData();
    TBitmap b(w, h);
    if (SkinLookAvailable())
        CreateControlSkinImage(&b);
    else
        CreateControlDefaultImage(&b);
    C->Draw(X, Y, &b);
}

void TbsSkinControl::PaintTo(HDC DC, int X, int Y) {
    PaintCanvasTo(Canvas(), DC, X, Y, [this] { Paint(); });
}

void TbsSkinControl::CheckControlsBackground() {
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (auto* wc = dynamic_cast<TWinControl*>(c)) {
            if (wc->HandleAllocated())
                SendMessageW(wc->Handle(), WM_CHECKPARENTBG, 0, 0);
        } else {
            c->Perform(WM_CHECKPARENTBG, 0, 0);
        }
    }
}

void TbsSkinControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_ERASEBKGND:
            // The off-screen copy covers the whole control: nothing is erased before it.
            Message.Result = 1;
            return;
        case WM_PAINT: {
            FromWMPaint = true;
            struct TClear {
                bool& f;
                ~TClear() { f = false; }
            } clear{FromWMPaint};
            TCustomControl::WndProc(Message);
            return;
        }
        case WM_CHECKPARENTBG:
            CheckParentBackground();
            return;
        default:
            break;
    }
    TCustomControl::WndProc(Message);
}

// ---- TbsSkinCustomControl -------------------------------------------------------------------------------------------
TbsSkinCustomControl::TbsSkinCustomControl(TComponent* AOwner)
    : TbsSkinControl(AOwner), FDefaultFont(NewDefaultControlFont([this] {
          DefaultFontChange();
          if (FIndex == -1)
              Invalidate();
      })) {}

TbsSkinCustomControl::~TbsSkinCustomControl() = default;

void TbsSkinCustomControl::SetDefaultWidth(int Value) {
    FDefaultWidth = Value;
    if (FIndex == -1)
        ApplyDefaultSize(this, Value, 0);
}

void TbsSkinCustomControl::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    if (FIndex == -1)
        ApplyDefaultSize(this, 0, Value);
}

void TbsSkinCustomControl::GetSkinData() {
    TbsSkinControl::GetSkinData();
    ReadCustomSkinEntry(FSD, FIndex, G, FForeignEntry, Picture, &MaskPicture);
}

void TbsSkinCustomControl::CalcSize(int& W, int& H) {
    G.CalcSize(SkinLookAvailable(), W, H);
}

TRect TbsSkinCustomControl::GetNewRect(const TRect& R) const {
    return G.GetNewRect(R, Width(), Height());
}

void TbsSkinCustomControl::CreateControlDefaultImage(TBitmap* B) {
    B->Canvas()->Brush()->SetStyle(bsSolid);
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect({0, 0, B->Width(), B->Height()});
}

void TbsSkinCustomControl::CreateControlSkinImage(TBitmap* B) {
    CreateSkinControlImage(B, Picture, G, Width(), Height(), FForceBackground);
}

void TbsSkinCustomControl::Paint() {
    int w = Width(), h = Height();
    if (w < 1 || h < 1)
        return;
    GetSkinData();
    CalcSize(w, h);
    if (SkinLookAvailable() && FForceBackground && G.ResizeMode == rmBoth)
        PaintForcedBackground();
    else
        TbsSkinControl::Paint();
}

void TbsSkinCustomControl::PaintForcedBackground() {
    if (!RectInPicture(G.SkinRect, Picture))
        return;
    const int w = Width(), h = Height();
    TBitmap left, top, right, bottom;
    CreateSkinBorderImages(G.LTPt, G.RTPt, G.LBPt, G.RBPt, G.ClRect, G.NewLTPoint, G.NewRTPoint, G.NewLBPoint,
                           G.NewRBPoint, G.NewClRect, &left, &top, &right, &bottom, Picture, G.SkinRect, w, h,
                           G.LeftStretch, G.TopStretch, G.RightStretch, G.BottomStretch);
    CreateControlSkinImage(&top);
    TCanvas* c = Canvas();
    if (FDrawbackground) {
        TRect tile = G.ClRect;
        tile.Offset(G.SkinRect.Left, G.SkinRect.Top);
        // An empty client part, or one outside the picture, leaves the background undrawn.
        if (RectInPicture(tile, Picture)) {
            TCanvasClipGuard clip(c);
            c->ClipTo(G.NewClRect);
            for (const TbsTile& t : ForcedBackgroundTiles(G.NewClRect, tile.Width(), tile.Height(), G.StretchEffect,
                                                          G.StretchType))
                c->CopyRect(t.Dst, Picture->Canvas(), tile);
        }
    }
    if (!top.Empty())
        c->Draw(0, 0, &top);
    if (!left.Empty())
        c->Draw(0, top.Height(), &left);
    if (!right.Empty())
        c->Draw(w - right.Width(), top.Height(), &right);
    if (!bottom.Empty())
        c->Draw(0, h - bottom.Height(), &bottom);
}

void TbsSkinCustomControl::ChangeSkinData() {
    GetSkinData();
    int w = Width(), h = Height();
    bool changed = false;
    if (FIndex == -1) {
        ApplyDefaultSize(this, FDefaultWidth, FDefaultHeight);
    } else if (SkinLookAvailable()) {
        CalcSize(w, h);
        changed = ResizeTo(this, w, h);
    }
    if (!changed || !SkinLookAvailable()) {
        SetControlRegion();
        Invalidate();
    }
}

void TbsSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    const bool changed = SkinLookAvailable() && (AWidth != Width() || AHeight != Height());
    if (changed) {
        CalcSize(AWidth, AHeight);
        if (G.ResizeMode == rmFixed)
            G.NewClRect = G.ClRect;
    }
    HostCentredTop(this, AHeight, ATop);
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (changed) {
        SetControlRegion();
        Invalidate();
    }
    if (SkinLookAvailable() && G.StretchEffect)
        CheckControlsBackground();
}

void TbsSkinCustomControl::RemoveRegion() {
    if (!FRgn)
        return;
    FRgn = nullptr;
    // The system frees the region it held.
    if (HandleAllocated())
        SetWindowRgn(Handle(), nullptr, TRUE);
}

void TbsSkinCustomControl::SetControlRegion() {
    if (!Parent())
        return;
    if (!MaskPicture || !SkinLookAvailable()) {
        RemoveRegion();
        return;
    }
    if (!HandleAllocated())
        return;  // CreateWnd applies it
    int w = Width(), h = Height();
    CalcSize(w, h);
    TGdiRegion rgn;
    TbsControlGeometry::TMaskPoints p;
    if (G.ResizeMode == rmFixed)
        CreateSkinSimplyRegion(rgn, MaskPicture);
    else if (G.MaskPoints(Width(), Height(), p))
        CreateSkinRegion(rgn, p.LT, p.RT, p.LB, p.RB, G.ClRect, p.NewLT, p.NewRT, p.NewLB, p.NewRB, G.NewClRect,
                         MaskPicture, Width(), Height());
    if (!rgn) {
        RemoveRegion();
        return;
    }
    if (SetWindowRgn(Handle(), rgn.Get(), TRUE)) {
        // The window owns it now; its previous region was freed by the system.
        FRgn = rgn.Detach();
    }
    // A refused region is freed with rgn.
}

void TbsSkinCustomControl::CreateWnd() {
    TbsSkinControl::CreateWnd();
    FRgn = nullptr;
    GetSkinData();
    SetControlRegion();
}

void TbsSkinCustomControl::DestroyWnd() {
    // The region goes with the window.
    FRgn = nullptr;
    TbsSkinControl::DestroyWnd();
}
