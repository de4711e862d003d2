// The PNG image list: an image list whose entries are PNG pictures with alpha, kept in a collection of named items
// while the underlying system image list holds one placeholder per item so that count and indexes match. Drawing an
// entry draws its PNG alpha-blended; a disabled entry at half strength. Also the two helpers the caption buttons use
// (MakeCopyFromPng) and the translucent copy (MakeImageBlended). GUI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "classlib/Classes.h"
#include "classlib/ImgList.h"
#include "classlib/PngImage.h"

class TbsBitmap;
class TbsPngImageList;

using TbsPngImage = TPngImage;

class TbsPngImageItem : public TCollectionItem {
  public:
    // A new empty picture named "PngImage<index>"; its placeholder is inserted at that index in the owning list.
    explicit TbsPngImageItem(TCollection* Collection);
    // Removes its placeholder when the index is below the list's count.
    ~TbsPngImageItem() override;
    void Assign(TPersistent* Source) override;
    TbsPngImage* PngImage() { return &FPngImage; }
    // Copies Value and reports the item changed.
    void SetPngImage(TbsPngImage* Value);
    const std::wstring& Name() const { return FName; }
    void SetName(const std::wstring& Value) { FName = Value; }
    std::wstring DisplayName() const override;
    // The picture from a PNG stored as an RCDATA resource of Module.
    void LoadFromResourceName(HINSTANCE Module, const std::wstring& ResName);

  private:
    TbsPngImageList* List() const;
    TbsPngImage FPngImage;
    std::wstring FName;
};

class TbsPngImageItems : public TOwnedCollection {
  public:
    explicit TbsPngImageItems(TbsPngImageList* List);
    TbsPngImageItem* Items(int Index) const { return static_cast<TbsPngImageItem*>(TCollection::Items(Index)); }
    TbsPngImageList* FPngImageList;
};

class TbsPngImageList : public TCustomImageList {
  public:
    explicit TbsPngImageList(TComponent* AOwner);
    ~TbsPngImageList() override;

    TbsPngImageItems* PngImages() { return FPngImages.get(); }
    void SetPngImages(TbsPngImageItems* Value);
    int PngWidth() const { return Width(); }
    int PngHeight() const { return Height(); }
    // A changed size removes every item, except while the list is being loaded.
    void SetPngWidth(int Value);
    void SetPngHeight(int Value);

    // A monochrome placeholder of the list's size at Index (no mask); removing one.
    void InsertBitMap(int Index);
    void DeleteBitMap(int Index);

  protected:
    // Draws item Index's picture into (X, Y, X + Width, Y + Height); an index outside the items draws nothing.
    void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) override;

  private:
    std::unique_ptr<TbsPngImageItems> FPngImages;
};

// Png into Rect; disabled: a copy made translucent by MakeImageBlended with amount 127.
void DrawPNG(TbsPngImage* Png, TCanvas* Canvas, const TRect& Rect, bool Enabled);
// Alpha scaled by (Amount + 1) / 256 (pixels of a single transparent colour get 0); greyscale and palette pictures
// become truecolour with alpha Amount (not scaled) and 0 on the transparent colour.
void MakeImageBlended(TbsPngImage* Image, int Amount);
// B becomes Png's size with Png's colours and alpha (255 where the picture has no alpha), then its alpha check.
void MakeCopyFromPng(TbsBitmap* B, TbsPngImage* Png);
