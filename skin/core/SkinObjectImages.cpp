// The alpha images of button objects and of the layer frame: 32-bit copies of skin picture parts with the alpha of
// their mask pictures, built when a skin is read (the Win32 side of the object records).
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinData.h"
#include "skin/core/EffectBitmap.h"
#include "skin/core/SkinObjects.h"

void TbsBitmapDeleter::operator()(TbsBitmap* bitmap) const {
    delete bitmap;
}

namespace {

// A 32-bit copy of a whole class-library picture, drawn opaquely.
std::unique_ptr<TbsBitmap> CopyOfPicture(TBitmap* picture) {
    auto copy = std::make_unique<TbsBitmap>();
    copy->Assign(picture);
    copy->AlphaBlend = false;
    copy->Transparent = false;
    return copy;
}

}  // namespace

void TbsDataSkinButton::InitAlphaImage(TbsSkinData* ASkinData,
                                       TbsBitmapPtr& AImage,
                                       int AMaskPictureIndex,
                                       const TRect& ARect) {
    AImage.reset();
    if (ARect.IsEmpty() || ActivePictureIndex == -1 || ActivePictureIndex >= ASkinData->ActivePictureCount())
        return;
    // An index below -1 is a broken skin: the list's index error leaves the load.
    auto source = CopyOfPicture(ASkinData->GetActivePicture(ActivePictureIndex));
    TbsBitmapPtr image(new TbsBitmap);
    image->SetSize(ARect.Width(), ARect.Height());
    source->Draw(image.get(), 0, 0, ARect);
    if (AMaskPictureIndex == -1 || AMaskPictureIndex >= ASkinData->ActivePictureCount()) {
        image->SetAlpha(255);
    } else {
        auto maskSource = CopyOfPicture(ASkinData->GetActivePicture(AMaskPictureIndex));
        TbsBitmap mask;
        mask.SetSize(ARect.Width(), ARect.Height());
        maskSource->Draw(&mask, 0, 0);
        CreateAlphaByMask2(image.get(), &mask);
    }
    image->AlphaBlend = true;
    AImage = std::move(image);
}

void TbsDataSkinButton::InitAlphaImages(TbsSkinData* ASkinData) {
    if (ASkinData->LayerFrame.PictureIndex != -1 && ASkinData->LayerFrame.FullBorder) {
        InitAlphaImage(ASkinData, FAlphaNormalImage, AlphaMaskPictureIndex, SkinRect);
        InitAlphaImage(ASkinData, FAlphaActiveImage, AlphaMaskActivePictureIndex, ActiveSkinRect);
        InitAlphaImage(ASkinData, FAlphaDownImage, AlphaMaskActivePictureIndex, DownRect);
        InitAlphaImage(ASkinData, FAlphaInActiveImage, AlphaMaskInActivePictureIndex, InActiveSkinRect);
    } else {
        FAlphaNormalImage.reset();
        FAlphaActiveImage.reset();
        FAlphaDownImage.reset();
        FAlphaInActiveImage.reset();
    }
}

void TbsDataSkinStdButton::InitAlphaImages(TbsSkinData* ASkinData) {
    TbsDataSkinButton::InitAlphaImages(ASkinData);
    if (ASkinData->LayerFrame.PictureIndex != -1 && ASkinData->LayerFrame.FullBorder) {
        InitAlphaImage(ASkinData, FAlphaRestoreNormalImage, AlphaMaskPictureIndex, RestoreRect);
        InitAlphaImage(ASkinData, FAlphaRestoreActiveImage, AlphaMaskActivePictureIndex, RestoreActiveRect);
        InitAlphaImage(ASkinData, FAlphaRestoreDownImage, AlphaMaskActivePictureIndex, RestoreDownRect);
        InitAlphaImage(ASkinData, FAlphaInActiveRestoreImage, AlphaMaskInActivePictureIndex, RestoreInActiveRect);
    } else {
        FAlphaRestoreNormalImage.reset();
        FAlphaRestoreActiveImage.reset();
        FAlphaRestoreDownImage.reset();
        FAlphaInActiveRestoreImage.reset();
    }
}

void TbsDataSkinLayerFrame::InitAlphaImages(TbsSkinData* ASkinData) {
    auto build = [&](TbsBitmapPtr& target, int pictureIndex, int maskIndex) {
        target.reset();
        const int count = ASkinData->ActivePictureCount();
        if (pictureIndex == -1 || maskIndex == -1 || pictureIndex >= count || maskIndex >= count)
            return;
        auto picture = CopyOfPicture(ASkinData->GetActivePicture(pictureIndex));
        auto mask = CopyOfPicture(ASkinData->GetActivePicture(maskIndex));
        CreateAlphaByMask(picture.get(), mask.get());
        picture->CheckingAlphaBlend();
        target.reset(picture.release());
    };
    build(FSourceBitmap, PictureIndex, MaskPictureIndex);
    build(FSourceInActiveBitMap, InActivePictureIndex, InActiveMaskPictureIndex);
}
