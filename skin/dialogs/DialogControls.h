// Pieces the dialogs share: the dialog components' base, a windowless picture control, the texts from a skin
// container's resource strings, text measuring, dialog units and the frame.
//
// Index: TbsSkinDialogComponent, TbsDlgImage, DlgResText, MeasureDlgText, TbsDialogUnits, SetDefaultDlgFont,
// AttachSkinFrame, PaintKeyPicture.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"
#include "skin/core/SkinData.h"
#include "skin/form/SkinForm.h"

// The base of the dialog components: the frame's and the controls' skin containers, both borrowed and cleared when
// they go.
class TbsSkinDialogComponent : public TComponent {
  public:
    explicit TbsSkinDialogComponent(TComponent* AOwner) : TComponent(AOwner) {}
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value) { Link(FSD, Value); }
    TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TbsSkinData* Value) { Link(FCtrlFSD, Value); }

  protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Points Field at Value, asking Value to tell when it goes.
    void Link(TbsSkinData*& Field, TbsSkinData* Value);

  private:
    TbsSkinData* FSD = nullptr;       // borrowed, cleared by notification
    TbsSkinData* FCtrlFSD = nullptr;  // borrowed, cleared by notification
};

// A picture without a window of its own, drawn over whatever its parent paints (so a skinned client shows around
// a masked image): an image of a borrowed image list, a shared system icon, or a painter.
class TbsDlgImage : public TGraphicControl {
  public:
    explicit TbsDlgImage(TComponent* AOwner);
    void SetImage(TCustomImageList* Images, int Index);
    // A shared icon (LoadIcon), drawn at 32 x 32; not destroyed here.
    void SetIcon(HICON Icon);
    std::function<void(TCanvas* Canvas, const TRect& R)> OnPaintPicture;
    TCustomImageList* Images() const { return images_; }
    int ImageIndex() const { return imageIndex_; }

  protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

  private:
    TCustomImageList* images_ = nullptr;  // borrowed, cleared by notification
    int imageIndex_ = -1;
    HICON icon_ = nullptr;  // shared, not ours
};

// The resource string Key of SkinData's table, or Default when there is no table or the text is empty.
std::wstring DlgResText(TbsSkinData* SkinData, const std::wstring& Key, const std::wstring& Default);

// Width and height of Text in Font (DT_CALCRECT), wrapped at MaxWidth when it is above 0.
TSize MeasureDlgText(TFont* Font, const std::wstring& Text, int MaxWidth = 0, UINT ExtraFlags = 0);

// Dialog units of a font: the average of the 52 Latin letters' extent.
struct TbsDialogUnits {
    explicit TbsDialogUnits(TFont* Font);
    int X(int Units) const { return MulDiv(Units, cx, 4); }
    int Y(int Units) const { return MulDiv(Units, cy, 8); }
    int cx = 0, cy = 0;
};

// "Tahoma", height 13, no style: the dialogs' fonts before the caller changes them.
void SetDefaultDlgFont(TFont* Font);

// A skinned frame for Form when SkinData holds a skin (no caption buttons), else nullptr: the plain frame stays.
TbsSkinForm* AttachSkinFrame(TCustomForm* Form, TbsSkinData* SkinData);

// A key drawn with GDI into R: the password dialog's picture.
void PaintKeyPicture(TCanvas* Canvas, const TRect& R);
