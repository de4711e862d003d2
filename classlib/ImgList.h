// Image lists over the common-controls image list. Index: TChangeLink, TCustomImageList, TImageList.
// The HIMAGELIST is owned and made on first use; images are copied in (the caller keeps its bitmaps).
// GUI thread only.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <vector>

#include "classlib/Component.h"
#include "classlib/GdiHandles.h"
#include "classlib/Graphics.h"

class TCustomImageList;

// Lets a user of an image list (a control showing its images) hear of changes without taking OnChange.
// Register with RegisterChanges; the link unregisters itself when destroyed, and Sender becomes nullptr when the
// list goes first.
class TChangeLink : public TObject {
  public:
    ~TChangeLink() override;
    TCustomImageList* Sender = nullptr;  // borrowed
    TNotifyEvent OnChange;
};

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };

class TCustomImageList : public TComponent {
  public:
    explicit TCustomImageList(TComponent* AOwner);
    // An empty list of AWidth x AHeight images.
    TCustomImageList(TComponent* AOwner, int AWidth, int AHeight);
    ~TCustomImageList() override;
    void Assign(TPersistent* Source) override;  // another image list: size, settings and all images

    HIMAGELIST Handle();
    bool HandleAllocated() const { return handle_.Valid(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size drops all images (as the system list does).
    void SetWidth(int value) { SetSize(value, height_); }
    void SetHeight(int value) { SetSize(width_, value); }
    void SetSize(int width, int height);
    int Count();
    // Background drawn behind images; clNone (default) draws them transparently over the destination.
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor value);
    TDrawingStyle DrawingStyle = dsNormal;
    // Whether new handles keep a mask (set before the first image).
    bool Masked = true;
    int AllocBy = 4;

    // Adds the images of `image` (one per Width pixels; a narrower bitmap gives one image). mask (optional) is a
    // monochrome-able bitmap whose white pixels are transparent. Returns the first new index, -1 on failure.
    int Add(TBitmap* image, TBitmap* mask);
    // Pixels of maskColor become transparent; clDefault takes the colour of the image's bottom-left pixel.
    int AddMasked(TBitmap* image, TColor maskColor);
    int AddIcon(TIcon* icon);
    // Adds the picture of the icon resource `name` in `module` that best fits the list's size; -1 when the
    // resource is missing or unreadable. The icon is made from the resource's bytes, not loaded by name: the
    // system's image list reads a named icon's resource again for the copy it takes, which costs a start with
    // a few dozen pictures more than the pictures themselves.
    int AddIconResource(HMODULE module, const wchar_t* name);
    // Copies image index of another list to the end of this one.
    int AddImage(TCustomImageList* source, int index);
    void Insert(int index, TBitmap* image, TBitmap* mask);
    void InsertMasked(int index, TBitmap* image, TColor maskColor);
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void ReplaceMasked(int index, TBitmap* image, TColor maskColor);
    void Delete(int index);  // EInvalidOperation "Image list index out of bounds" outside 0..Count-1
    void Move(int curIndex, int newIndex);
    void Clear();

    // Draws image index at (x, y); Enabled false gives the disabled look (the image's shape embossed in
    // clBtnHighlight and clBtnShadow). An index outside the list draws nothing.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    // The same into a device context that belongs to someone else (a native control's custom draw, a printer):
    // its selections and state are left as they were.
    void Draw(HDC dc, int x, int y, int index, bool enabled = true);
    // image becomes Width x Height with the image drawn on it (its previous pixels as background).
    void GetBitmap(int index, TBitmap* image);
    void GetIcon(int index, TIcon* icon);

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    TNotifyEvent OnChange;

  protected:
    // The one drawing routine; descendants (lists with their own pictures) override it. style: ILD_* flags.
    virtual void DoDraw(int index, TCanvas* canvas, int x, int y, UINT style, bool enabled);
    virtual void Change();
    UINT DrawingStyleFlags() const;

  private:
    void CheckIndex(int index);
    // add (Add or AddMasked) appends images; they are then moved to index.
    void InsertAdded(int index, const std::function<int()>& add);
    TImageListHandle handle_;
    int width_ = 16;
    int height_ = 16;
    TColor bkColor_ = clNone;
    int updateCount_ = 0;
    bool changed_ = false;
    std::vector<TChangeLink*> links_;  // borrowed
};

class TImageList : public TCustomImageList {
  public:
    using TCustomImageList::TCustomImageList;
};
