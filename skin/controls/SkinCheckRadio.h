// TbsSkinCheckRadioBox: the skinned check box and, with Radio on, radio button. Flat (the default) draws the check
// picture of the entry and the caption over the parent's background; non-flat draws the entry's whole picture as a
// resizable background with the check picture and caption in the areas the entry gives, and fades between its normal
// and hot picture. Check boxes may pass through a grayed state; radio buttons of one non-zero group under one parent
// uncheck each other. From outside it answers BM_CLICK, BM_GETCHECK and BM_SETCHECK like the system's check box and
// takes WM_SETTEXT as its caption. Code that makes a radio button sets the "radiobox" entry and its group itself.
// GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"  // TCheckBoxState
#include "skin/controls/ControlMorph.h"
#include "skin/controls/ControlSeam.h"
#include "skin/controls/SkinControl.h"
#include "skin/core/SkinTypes.h"

class TbsDataSkinCheckRadioControl;

class TbsSkinCheckRadioBox : public TbsSkinCustomControl {
  public:
    explicit TbsSkinCheckRadioBox(TComponent* AOwner);
    ~TbsSkinCheckRadioBox() override;

    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    bool Radio() const { return FRadio; }
    void SetRadio(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);

    bool MouseIn() const { return FMouseIn; }
    double MorphKf() const { return FMorph.Kf; }

    // Unchecks the other checked controls of this class under the parent in the same non-zero group.
    void UnCheckAll();
    // A check box toggles; a radio button only checks itself.
    virtual void SetCheckState();
    // The control as Paint draws it with Checked = AChecked, at (X, Y) of DC.
    void PaintSkinTo(HDC DC, int X, int Y, bool AChecked);

    void ChangeSkinData() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

  protected:
    void GetSkinData() override;
    bool SkinLookAvailable() const override;
    void CheckParentBackground() override;
    void CalcSize(int& W, int& H) override;
    void SetControlRegion() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* /*B*/) override {}
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  private:
    TbsDataSkinCheckRadioControl* CheckEntry() const;
    bool IsFocused();
    bool EnableMorphing() const;
    void StartMorph();
    void StopMorph();
    void DoMorph();
    void ReDrawControl();
    // Paints the control in state (AChecked, AGrayed, AHot) onto C (the control's size).
    void PaintFlat(TCanvas* C, bool AChecked, bool AGrayed, bool AHot);
    void PaintDefault(TCanvas* C, bool AChecked, bool AGrayed, bool AHot, bool AFlat);
    // Flat: the image list's image and the caption from Left, the focus frame around them (or around Box, the
    // check picture, without a caption).
    void FlatCaption(TCanvas* C, int Left, int ImageGap, TColor FocusFace, const TRect& Box);
    void CreateImage(TBitmap* B, const TRect& R, bool AActive, bool AChecked, bool AGrayed, bool AHot);
    // The check picture of a state; false when the entry has none inside its picture.
    TRect CheckImageFor(bool AChecked, bool AGrayed, bool AHot) const;
    void SkinDrawCheckImage(TCanvas* C, int X, int Y, const TRect& R);
    void SkinDrawGrayedCheckImage(TCanvas* C, int X, int Y, const TRect& Source, bool AHot);
    void PrepareFont(TCanvas* C);
    void Toggle();

    bool FChecked = false;
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    bool FRadio = false;
    int FGroupIndex = 0;
    bool FFlat = true;
    bool FWordWrap = false;
    TCustomImageList* FImages = nullptr;  // borrowed
    int FImageIndex = 0;
    bool FUseSkinFontColor = true;
    bool FCanFocused = true;
    bool FDown = false;
    bool FMouseIn = false;
    bool FClicksDisabled = false;
    TbsMorphFade FMorph;
    TRect CIRect{}, NewTextArea{};

    // The entry's fields.
    std::wstring FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0, ActiveFontColor = 0, UnEnabledFontColor = 0x808080, FrameFontColor = 0;
    TRect ActiveSkinRect{}, CheckImageArea{}, TextArea{};
    TRect CheckImageRect{}, UnCheckImageRect{}, ActiveCheckImageRect{}, ActiveUnCheckImageRect{};
    TRect UnEnabledCheckImageRect{}, UnEnabledUnCheckImageRect{}, GrayedCheckImageRect{}, ActiveGrayedCheckImageRect{};
    bool FEntryMorphing = false;
    TbsMorphKind MorphKind = mkDefault;
};

// The published check box: the entry "checkbox", no grouping of its own.
class TbsSkinCheckBox : public TbsSkinCheckRadioBox {
  public:
    explicit TbsSkinCheckBox(TComponent* AOwner) : TbsSkinCheckRadioBox(AOwner) {}
};

// The published radio button: the entry "radiobox", radio behaviour on from the start.
class TbsSkinRadioButton : public TbsSkinCheckRadioBox {
  public:
    explicit TbsSkinRadioButton(TComponent* AOwner) : TbsSkinCheckRadioBox(AOwner) {
        SetRadio(true);
        SetSkinDataName(L"radiobox");
    }
};
