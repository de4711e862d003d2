// Pieces the dialogs share: the dialog components' base, a windowless picture control, the texts from a skin
// container's resource strings, text measuring, dialog units and the frame. The open dialogs still stand on the plain
// text, glyph button and push button below (TbsDlgText, TbsDlgGlyphButton, MakeDlgButton); the message box, the
// password dialog and the skin dialog use the skinned controls.
//
// Index: TbsSkinDialogComponent, TbsDlgText, TbsDlgImage, TbsDlgGlyphButton, DlgResText, MeasureDlgText,
// TbsDialogUnits, SetDefaultDlgFont, AttachSkinFrame, MakeDlgButton, PaintKeyPicture.
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

// A text in its own window, word-wrapped at its width, drawn on the parent's colour. Its window text is the text.
class TbsDlgText : public TCustomControl {
  public:
    explicit TbsDlgText(TComponent* AOwner);
    // Sets width and height to the text's measure, wrapped at MaxWidth (0: never wrapped).
    void FitText(int MaxWidth);
    void WndProc(TMessage& Message) override;

  protected:
    void Paint() override;
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

// A push button showing a drawn glyph (play triangle, stop square) instead of text; BM_CLICK clicks it like a
// system button, so a test driver presses it the same way.
class TbsDlgGlyphButton : public TCustomControl {
  public:
    enum TGlyph { gPlay, gStop };
    TbsDlgGlyphButton(TComponent* AOwner, TGlyph Glyph);
    void WndProc(TMessage& Message) override;

  protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  private:
    TGlyph glyph_;
    bool down_ = false;
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

// A button on Parent with its Name, caption, font and modal result, at least MinWidth wide and as wide as its
// caption needs.
TButton* MakeDlgButton(TWinControl* Parent,
                       const std::wstring& Name,
                       const std::wstring& Caption,
                       TFont* Font,
                       int ModalResult,
                       int X,
                       int Y,
                       int MinWidth,
                       int Height);

// A key drawn with GDI into R: the password dialog's picture.
void PaintKeyPicture(TCanvas* Canvas, const TRect& R);
