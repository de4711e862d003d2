#include "skin/core/PngImageList.h"

#include <cmath>

#include "classlib/SysUtils.h"
#include "skin/core/SkinBitmap.h"

// ---- Items ----------------------------------------------------------------------------------------------------------

TbsPngImageItem::TbsPngImageItem(TCollection* Collection) : TCollectionItem(Collection) {
    FName = L"PngImage" + std::to_wstring(Index());
    if (TbsPngImageList* list = List())
        list->InsertBitMap(Index());
}

TbsPngImageItem::~TbsPngImageItem() {
    TbsPngImageList* list = List();
    if (list && Collection() && Index() >= 0 && Index() < list->Count())
        list->DeleteBitMap(Index());
}

TbsPngImageList* TbsPngImageItem::List() const {
    auto* items = dynamic_cast<TbsPngImageItems*>(Collection());
    return items ? items->FPngImageList : nullptr;
}

void TbsPngImageItem::Assign(TPersistent* Source) {
    if (auto* other = dynamic_cast<TbsPngImageItem*>(Source)) {
        FPngImage.Assign(&other->FPngImage);
        FName = other->FName;
        return;
    }
    TCollectionItem::Assign(Source);
}

void TbsPngImageItem::SetPngImage(TbsPngImage* Value) {
    FPngImage.Assign(Value);
    Changed(false);
}

std::wstring TbsPngImageItem::DisplayName() const {
    return FName.empty() ? TCollectionItem::DisplayName() : FName;
}

void TbsPngImageItem::LoadFromResourceName(HINSTANCE Module, const std::wstring& ResName) {
    TResourceStream stream(Module, ResName.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    FPngImage.LoadFromStream(&stream);
    Changed(false);
}

TbsPngImageItems::TbsPngImageItems(TbsPngImageList* List)
    : TOwnedCollection(List, [](TCollection* c) { return new TbsPngImageItem(c); }), FPngImageList(List) {}

// ---- List -----------------------------------------------------------------------------------------------------------

TbsPngImageList::TbsPngImageList(TComponent* AOwner)
    : TCustomImageList(AOwner), FPngImages(std::make_unique<TbsPngImageItems>(this)) {}

TbsPngImageList::~TbsPngImageList() {
    FPngImages.reset();  // each item removes its placeholder while the image list still exists
}

void TbsPngImageList::SetPngImages(TbsPngImageItems* Value) {
    FPngImages->Assign(Value);
}

void TbsPngImageList::SetPngWidth(int Value) {
    if (Value == Width())
        return;
    SetWidth(Value);
    if (!ComponentState().Contains(csLoading))
        FPngImages->Clear();
}

void TbsPngImageList::SetPngHeight(int Value) {
    if (Value == Height())
        return;
    SetHeight(Value);
    if (!ComponentState().Contains(csLoading))
        FPngImages->Clear();
}

void TbsPngImageList::InsertBitMap(int Index) {
    TBitmap placeholder(Width(), Height());
    placeholder.SetPixelFormat(pf24bit);
    Insert(Index, &placeholder, nullptr);
}

void TbsPngImageList::DeleteBitMap(int Index) {
    Delete(Index);
}

void TbsPngImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT, bool Enabled) {
    if (Index < 0 || Index >= FPngImages->Count())
        return;
    DrawPNG(FPngImages->Items(Index)->PngImage(), Canvas, {X, Y, X + Width(), Y + Height()}, Enabled);
}

// ---- Helpers --------------------------------------------------------------------------------------------------------

void DrawPNG(TbsPngImage* Png, TCanvas* Canvas, const TRect& Rect, bool Enabled) {
    if (!Png || Png->Empty())
        return;
    if (Enabled) {
        Canvas->StretchDraw(Rect, Png);
        return;
    }
    TbsPngImage copy;
    copy.Assign(Png);
    MakeImageBlended(&copy, 127);
    Canvas->StretchDraw(Rect, &copy);
}

namespace {

void ForceAlphachannel(TbsPngImage* Image, int Amount, bool BitTransparency, TColor TransparentColor) {
    TbsPngImage result;
    result.CreateBlank(COLOR_RGBALPHA, Image->Width(), Image->Height());
    for (int y = 0; y < Image->Height(); ++y) {
        std::uint8_t* alpha = result.AlphaScanline(y);
        for (int x = 0; x < Image->Width(); ++x) {
            const TColor c = Image->Pixels(x, y);
            result.SetPixel(x, y, c);
            alpha[x] = BitTransparency && c == TransparentColor ? 0 : static_cast<std::uint8_t>(Amount);
        }
    }
    Image->Assign(&result);
}

}  // namespace

void MakeImageBlended(TbsPngImage* Image, int Amount) {
    if (!Image || Image->Empty())
        return;
    const bool bit = Image->TransparencyMode() == ptmBit;
    const TColor key = Image->TransparentColor();
    switch (Image->ColorType()) {
        case COLOR_GRAYSCALE:
        case COLOR_PALETTE:
            ForceAlphachannel(Image, Amount, bit, key);
            return;
        case COLOR_RGB:
            Image->CreateAlpha();
            break;
        default:
            break;
    }
    for (int y = 0; y < Image->Height(); ++y) {
        std::uint8_t* alpha = Image->AlphaScanline(y);
        if (!alpha)
            return;
        for (int x = 0; x < Image->Width(); ++x)
            alpha[x] = bit && Image->Pixels(x, y) == key
                           ? 0
                           : static_cast<std::uint8_t>(std::nearbyint(alpha[x] / 256.0 * (Amount + 1)));
    }
}

void MakeCopyFromPng(TbsBitmap* B, TbsPngImage* Png) {
    if (!B || !Png || Png->Empty())
        return;
    B->SetSize(Png->Width(), Png->Height());
    for (int y = 0; y < Png->Height(); ++y) {
        std::uint32_t* row = B->GetScanLine(y);
        const std::uint8_t* alpha = Png->AlphaScanline(y);
        for (int x = 0; x < Png->Width(); ++x) {
            const std::uint32_t c = bsColor(Png->Pixels(x, y), 255);
            row[x] = (c & 0xFFFFFF) | (std::uint32_t(alpha ? alpha[x] : 255) << 24);
        }
    }
    B->CheckingAlphaBlend();
}
