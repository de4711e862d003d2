// What every skinned control repeats of the binding to a skin container, whatever its class-library base: the entry
// lookup by exact name, the checked picture of an index read from a skin, the control's look composed from one skin
// rectangle in its resize mode, painting a control's canvas into a foreign DC, and the tool-bar centring that asks
// the parent through IbsAdjustingHost. GUI thread only.
// Index: LookupSkinEntry, SkinEntryAt, SkinPictureAt, RectInPicture, CreateSkinControlImage, PaintCanvasTo,
// IbsAdjustingHost, HostCentredTop, SetBorrowed, SkinFontCharset.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "skin/controls/ControlGeometry.h"

class TbsSkinData;
class TbsDataSkinControl;

// -1 without a container, with an empty one, or when no entry has exactly this name; else the entry's index.
int LookupSkinEntry(TbsSkinData* Data, const std::wstring& Name);
// The entry at Index, nullptr when Index is outside the list (or there is no container).
TbsDataSkinControl* SkinEntryAt(TbsSkinData* Data, int Index);
// The container's picture at Index, nullptr for -1 or an index outside the list.
TBitmap* SkinPictureAt(TbsSkinData* Data, int Index);
// R lies inside the picture (a rectangle read from a skin is checked before pixels are copied from it).
bool RectInPicture(const TRect& R, TBitmap* Picture);

// The control's skinned look into B (W x H): mode 0 sizes B to the skin rectangle and copies it; 1 composes the nine
// parts (nothing when ForceBackground: the strips are drawn elsewhere); 2 and 3 the three-part strips; -1 nothing.
// Nothing either without a picture or when the rectangle lies outside it.
void CreateSkinControlImage(TBitmap* B, TBitmap* Picture, const TbsControlGeometry& G, int W, int H,
                            bool ForceBackground);

// Runs Paint with Canvas drawing into DC, the control's top-left at (X, Y) of the DC; the canvas's own DC comes back
// afterwards. For tests and tools that paint a control into a memory bitmap.
void PaintCanvasTo(TCanvas* Canvas, HDC DC, int X, int Y, const std::function<void()>& Paint);

// A parent that centres its controls vertically in its skin client rectangle (the skinned tool bar with
// AdjustControls on).
class IbsAdjustingHost {
  public:
    virtual ~IbsAdjustingHost() = default;
    virtual bool AdjustsControls() const = 0;
    // The host's skin client rectangle in its own client coordinates.
    virtual TRect SkinClientRect() const = 0;
};
// When Control's parent is an adjusting host, ATop becomes the top that centres a control of AHeight in it.
void HostCentredTop(TControl* Control, int AHeight, int& ATop);

// Points Field at a component Self borrows (nullptr: none), moving Self's free notification from the old one to it.
template <typename T>
void SetBorrowed(TComponent* Self, T*& Field, T* Value) {
    if (Field)
        Field->RemoveFreeNotification(Self);
    Field = Value;
    if (Value)
        Value->FreeNotification(Self);
}

// The character set a control's text font takes: the container's resource strings' when it has them, else Fallback.
TFontCharset SkinFontCharset(TbsSkinData* Data, TFontCharset Fallback);
