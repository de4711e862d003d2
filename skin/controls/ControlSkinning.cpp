#include "skin/controls/ControlSkinning.h"

#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"

int LookupSkinEntry(TbsSkinData* Data, const std::wstring& Name) {
    if (!Data || Data->Empty)
        return -1;
    return Data->GetControlIndex(Name);
}

TbsDataSkinControl* SkinEntryAt(TbsSkinData* Data, int Index) {
    if (!Data || Index < 0 || Index >= static_cast<int>(Data->CtrlList.size()))
        return nullptr;
    return Data->CtrlList[static_cast<size_t>(Index)].get();
}

TBitmap* SkinPictureAt(TbsSkinData* Data, int Index) {
    if (!Data || Index < 0 || Index >= Data->ActivePictureCount())
        return nullptr;
    return Data->FActivePictures[static_cast<size_t>(Index)].get();
}

bool RectInPicture(const TRect& R, TBitmap* Picture) {
    return Picture && !R.IsEmpty() && R.Left >= 0 && R.Top >= 0 && R.Right <= Picture->Width() &&
           R.Bottom <= Picture->Height();
}

void CreateSkinControlImage(TBitmap* B, TBitmap* Picture, const TbsControlGeometry& G, int W, int H,
                            bool ForceBackground) {
    if (!RectInPicture(G.SkinRect, Picture))
        return;
    const TRect& R = G.SkinRect;
    switch (G.ResizeMode) {
        case rmFixed:
            B->SetSize(R.Width(), R.Height());
            B->Canvas()->CopyRect({0, 0, R.Width(), R.Height()}, Picture->Canvas(), R);
            break;
        case rmBoth:
            if (!ForceBackground)
                CreateSkinImage(G.LTPt, G.RTPt, G.LBPt, G.RBPt, G.ClRect, G.NewLTPoint, G.NewRTPoint, G.NewLBPoint,
                                G.NewRBPoint, G.NewClRect, B, Picture, R, W, H, true, G.LeftStretch, G.TopStretch,
                                G.RightStretch, G.BottomStretch, G.StretchEffect, G.StretchType);
            break;
        case rmWidth:
            CreateHSkinImage(G.LTPt.X, R.Width() - G.RTPt.X, B, Picture, R, W, H, G.StretchEffect);
            break;
        case rmHeight:
            CreateVSkinImage(G.LTPt.Y, R.Height() - G.LBPt.Y, B, Picture, R, W, H, G.StretchEffect);
            break;
        default:
            break;
    }
}

void PaintCanvasTo(TCanvas* Canvas, HDC DC, int X, int Y, const std::function<void()>& Paint) {
    const HDC previous = Canvas->HandleAllocated() ? Canvas->Handle() : nullptr;
    TSaveDCGuard saved(DC);
    OffsetViewportOrgEx(DC, X, Y, nullptr);
    Canvas->SetHandle(DC);
    struct TRestore {
        TCanvas* c;
        HDC prev;
        ~TRestore() { c->SetHandle(prev); }
    } restore{Canvas, previous};
    Paint();
}

void HostCentredTop(TControl* Control, int AHeight, int& ATop) {
    auto* host = dynamic_cast<IbsAdjustingHost*>(Control->Parent());
    if (host && host->AdjustsControls())
        ATop = CentredTop(host->SkinClientRect(), AHeight);
}

TFontCharset SkinFontCharset(TbsSkinData* Data, TFontCharset Fallback) {
    if (Data && Data->ResourceStrData())
        return Data->ResourceStrData()->CharSet;
    return Fallback;
}

void PrepareSkinTextFont(TFont* F, TFont* Default, bool FromEntry, bool UseSkinFont, const std::wstring& Name,
                         int Height, TFontStyles Style, TColor Color, TbsSkinData* Data) {
    F->Assign(Default);
    if (FromEntry) {
        if (UseSkinFont) {
            F->SetName(Name);
            F->SetHeight(Height);
            F->SetStyle(Style);
        }
        F->SetColor(Color);
    }
    F->SetCharset(SkinFontCharset(Data, Default->Charset()));
}

bool RebindSkinData(TComponent* Self, TbsSkinData*& Field, TbsSkinData* Value) {
    if (Field == Value)
        return false;
    SetBorrowed(Self, Field, Value);
    return Value && !Value->Empty;
}

std::unique_ptr<TFont> NewDefaultControlFont(std::function<void()> Changed) {
    auto f = std::make_unique<TFont>();
    f->SetName(L"Tahoma");
    f->SetHeight(13);
    f->SetStyle({});
    f->OnChange = [Changed = std::move(Changed)](TObject*) { Changed(); };
    return f;
}

void ApplyDefaultSize(TControl* Control, int W, int H) {
    if (W > 0)
        Control->SetWidth(W);
    if (H > 0)
        Control->SetHeight(H);
}

bool ResizeTo(TControl* Control, int W, int H) {
    const bool changed = W != Control->Width() || H != Control->Height();
    if (W != Control->Width())
        Control->SetWidth(W);
    if (H != Control->Height())
        Control->SetHeight(H);
    return changed;
}

void ReadCustomSkinEntry(TbsSkinData* Data, int Index, TbsControlGeometry& G, bool& Foreign, TBitmap*& Picture,
                         TBitmap** Mask) {
    Foreign = false;
    if (Index == -1)
        return;
    auto* e = dynamic_cast<TbsDataSkinCustomControl*>(SkinEntryAt(Data, Index));
    if (!e) {
        Foreign = true;
        G.ResetForForeignEntry();
        Picture = nullptr;
        if (Mask)
            *Mask = nullptr;
        return;
    }
    G.CopyFrom(*e);
    Picture = SkinPictureAt(Data, e->PictureIndex);
    if (Mask)
        *Mask = SkinPictureAt(Data, e->MaskPictureIndex);
}

bool TakeFocusForClick(TWinControl* Control, bool& ClicksDisabled) {
    if (!Control->HandleAllocated() || Control->Focused())
        return true;
    ClicksDisabled = true;
    struct TClear {
        bool& f;
        ~TClear() { f = false; }
    } clear{ClicksDisabled};
    if (Control->CanFocus())
        ::SetFocus(Control->Handle());
    return Control->Focused();
}

void DrawBackgroundPicture(TCanvas* C, TBitmap* Picture, const TRect& Src, const TRect& Dst, bool StretchEffect,
                           TbsStretchType StretchType) {
    if (!Picture || Src.IsEmpty() || Dst.IsEmpty() || !RectInPicture(Src, Picture))
        return;
    TSaveDCGuard saved(C->Handle());
    IntersectClipRect(C->Handle(), Dst.Left, Dst.Top, Dst.Right, Dst.Bottom);
    HDC src = Picture->Canvas()->Handle();
    HDC dst = C->Handle();
    SetStretchBltMode(dst, COLORONCOLOR);
    TRect local{0, 0, Dst.Width(), Dst.Height()};
    for (const TbsTile& t : ForcedBackgroundTiles(local, Src.Width(), Src.Height(), StretchEffect, StretchType)) {
        TRect d = t.Dst;
        d.Offset(Dst.Left, Dst.Top);
        StretchBlt(dst, d.Left, d.Top, d.Width(), d.Height(), src, Src.Left, Src.Top, Src.Width(), Src.Height(),
                   SRCCOPY);
    }
}
