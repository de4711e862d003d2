// What every skinned control repeats of the binding to a skin container, whatever its class-library base: the entry
// lookup by exact name, the checked picture of an index read from a skin, the control's look composed from one skin
// rectangle in its resize mode, painting a control's canvas into a foreign DC, and the tool-bar centring that asks
// the parent through IbsAdjustingHost. GUI thread only.
// Index: LookupSkinEntry, SkinEntryAt, SkinPictureAt, RectInPicture, CreateSkinControlImage, PaintCanvasTo,
// DrawBackgroundPicture, IbsAdjustingHost, HostCentredTop, SetBorrowed, SkinFontCharset, PrepareSkinTextFont,
// RebindSkinData, ForgetRemoved, NewDefaultControlFont, ApplyDefaultSize, ResizeTo, ReadCustomSkinEntry,
// TakeFocusForClick.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
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

// Fills Dst of Canvas with Src of Picture, tiled or stretched as the skin says (StretchEffect, StretchType); nothing
// without a picture or when Src lies outside it.
void DrawBackgroundPicture(TCanvas* C, TBitmap* Picture, const TRect& Src, const TRect& Dst, bool StretchEffect,
                           TbsStretchType StretchType);

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

// A control's text font into F: Default, with the entry's face, height and style when FromEntry and UseSkinFont,
// and the entry's colour when FromEntry; the character set by SkinFontCharset.
void PrepareSkinTextFont(TFont* F, TFont* Default, bool FromEntry, bool UseSkinFont, const std::wstring& Name,
                         int Height, TFontStyles Style, TColor Color, TbsSkinData* Data);
// Points Field at the container Value (moving Self's free notification); true when Value holds a skin to apply now.
bool RebindSkinData(TComponent* Self, TbsSkinData*& Field, TbsSkinData* Value);

// Field forgets the component being removed; true when it held it.
template <typename T>
bool ForgetRemoved(T*& Field, TComponent* Removed) {
    if (!Field || static_cast<TComponent*>(Field) != Removed)
        return false;
    Field = nullptr;
    return true;
}

// The built-in look's font of the custom bases: Tahoma, height 13, plain; Changed runs after every change of it.
std::unique_ptr<TFont> NewDefaultControlFont(std::function<void()> Changed);

// The size a control takes without a skin entry: each positive extent of W x H (0 keeps that extent).
void ApplyDefaultSize(TControl* Control, int W, int H);
// Control gets W x H where it differs; true when either extent changed.
bool ResizeTo(TControl* Control, int W, int H);

// What the custom bases copy from their entry at every lookup: G, the picture and the mask picture (Mask may be
// nullptr). An entry of another kind (Foreign) resets G to a fixed size and gives no pictures; Index -1 (no entry)
// leaves them.
void ReadCustomSkinEntry(TbsSkinData* Data, int Index, TbsControlGeometry& G, bool& Foreign, TBitmap*& Picture,
                         TBitmap** Mask);

// A click on a control without the focus first gives it the focus, with ClicksDisabled set meanwhile (the
// notifications the focus change sends are no clicks); whether the click goes on (the control has the focus).
bool TakeFocusForClick(TWinControl* Control, bool& ClicksDisabled);
