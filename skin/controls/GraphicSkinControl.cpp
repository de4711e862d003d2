#include "skin/controls/GraphicSkinControl.h"

#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinData.h"

// ---- TbsGraphicSkinControl ------------------------------------------------------------------------------------------
TbsGraphicSkinControl::TbsGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle(ControlStyle() + csOpaque);
}

TbsGraphicSkinControl::~TbsGraphicSkinControl() = default;

void TbsGraphicSkinControl::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value)
        return;
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) {
        FSD->FreeNotification(this);
        if (!FSD->Empty)
            ChangeSkinData();
    }
}

void TbsGraphicSkinControl::SetHintImageList(TCustomImageList* Value) {
    if (FHintImageList)
        FHintImageList->RemoveFreeNotification(this);
    FHintImageList = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD) {
        FSD = nullptr;
        FIndex = -1;
    }
    if (AComponent == FHintImageList)
        FHintImageList = nullptr;
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
    : TbsGraphicSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
    FDefaultFont->OnChange = [this](TObject*) {
        DefaultFontChange();
        if (FIndex == -1)
            Invalidate();
    };
}

TbsGraphicSkinCustomControl::~TbsGraphicSkinCustomControl() = default;

void TbsGraphicSkinCustomControl::SetDefaultWidth(int Value) {
    FDefaultWidth = Value;
    if (FIndex == -1 && Value > 0)
        SetWidth(Value);
}

void TbsGraphicSkinCustomControl::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0)
        SetHeight(Value);
}

void TbsGraphicSkinCustomControl::GetSkinData() {
    TbsGraphicSkinControl::GetSkinData();
    FForeignEntry = false;
    if (FIndex == -1)
        return;
    auto* e = dynamic_cast<TbsDataSkinCustomControl*>(Entry());
    if (!e) {
        FForeignEntry = true;
        G.ResetForForeignEntry();
        Picture = nullptr;
        return;
    }
    G.CopyFrom(*e);
    Picture = SkinPictureAt(FSD, e->PictureIndex);
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
        if (FDefaultWidth > 0)
            SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0)
            SetHeight(FDefaultHeight);
    } else if (SkinLookAvailable()) {
        int w = Width(), h = Height();
        CalcSize(w, h);
        if (w != Width())
            SetWidth(w);
        if (h != Height())
            SetHeight(h);
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
