#include "skin/controls/GraphicSkinControl.h"

#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinData.h"

// ---- TbsGraphicSkinControl ------------------------------------------------------------------------------------------
TbsGraphicSkinControl::TbsGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle(ControlStyle() + csOpaque);
}

TbsGraphicSkinControl::~TbsGraphicSkinControl() = default;

void TbsGraphicSkinControl::SetSkinData(TbsSkinData* Value) {
    if (RebindSkinData(this, FSD, Value))
        ChangeSkinData();
}

void TbsGraphicSkinControl::SetHintImageList(TCustomImageList* Value) {
    SetBorrowed(this, FHintImageList, Value);
}

void TbsGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (ForgetRemoved(FSD, AComponent))
        FIndex = -1;
    ForgetRemoved(FHintImageList, AComponent);
}

void TbsGraphicSkinControl::GetSkinData() {
    FIndex = LookupSkinEntry(FSD, FSkinDataName);
}

TbsDataSkinControl* TbsGraphicSkinControl::Entry() const {
    return SkinEntryAt(FSD, FIndex);
}

void TbsGraphicSkinControl::ChangeSkinData() {
    GetSkinData();
    Invalidate();
}

void TbsGraphicSkinControl::Paint() {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0)
        return;
    GetSkinData();
    TBitmap b(w, h);
    if (SkinLookAvailable())
        CreateControlSkinImage(&b);
    else
        CreateControlDefaultImage(&b);
    Canvas()->Draw(0, 0, &b);
}

void TbsGraphicSkinControl::PaintTo(HDC DC, int X, int Y) {
    PaintCanvasTo(Canvas(), DC, X, Y, [this] { Paint(); });
}

// ---- TbsGraphicSkinCustomControl ------------------------------------------------------------------------------------
TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(TComponent* AOwner)
    : TbsGraphicSkinControl(AOwner), FDefaultFont(NewDefaultControlFont([this] {
          DefaultFontChange();
          if (FIndex == -1)
              Invalidate();
      })) {}

TbsGraphicSkinCustomControl::~TbsGraphicSkinCustomControl() = default;

void TbsGraphicSkinCustomControl::SetDefaultWidth(int Value) {
    FDefaultWidth = Value;
    if (FIndex == -1)
        ApplyDefaultSize(this, Value, 0);
}

void TbsGraphicSkinCustomControl::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    if (FIndex == -1)
        ApplyDefaultSize(this, 0, Value);
}

void TbsGraphicSkinCustomControl::GetSkinData() {
    TbsGraphicSkinControl::GetSkinData();
    ReadCustomSkinEntry(FSD, FIndex, G, FForeignEntry, Picture, nullptr);
}

void TbsGraphicSkinCustomControl::CalcSize(int& W, int& H) {
    G.CalcSize(SkinLookAvailable(), W, H);
}

TRect TbsGraphicSkinCustomControl::GetNewRect(const TRect& R) const {
    return G.GetNewRect(R, Width(), Height());
}

void TbsGraphicSkinCustomControl::CreateControlDefaultImage(TBitmap* B) {
    B->Canvas()->Brush()->SetStyle(bsSolid);
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect({0, 0, B->Width(), B->Height()});
}

void TbsGraphicSkinCustomControl::CreateControlSkinImage(TBitmap* B) {
    int w = Width(), h = Height();
    CalcSize(w, h);
    CreateSkinControlImage(B, Picture, G, Width(), Height(), false);
}

void TbsGraphicSkinCustomControl::ChangeSkinData() {
    GetSkinData();
    if (FIndex == -1) {
        ApplyDefaultSize(this, FDefaultWidth, FDefaultHeight);
    } else if (SkinLookAvailable()) {
        int w = Width(), h = Height();
        CalcSize(w, h);
        ResizeTo(this, w, h);
    }
    Invalidate();
}

void TbsGraphicSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    const bool changed = SkinLookAvailable() && (AWidth != Width() || AHeight != Height());
    if (changed) {
        CalcSize(AWidth, AHeight);
        if (G.ResizeMode == rmFixed)
            G.NewClRect = G.ClRect;
    }
    HostCentredTop(this, AHeight, ATop);
    TbsGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (changed)
        Invalidate();
}
