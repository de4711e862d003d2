// TbsSkinStatusBar: a skinned panel docked at the bottom ("statusbar") with an optional size grip in its bottom-right
// corner: the grip answers the hit test as the bottom-right border, so dragging it resizes the form. The skinned form
// hides the grip while it is maximised. GUI thread only.
// Index: TbsSkinStatusBar, DrawDefaultGripper.
#pragma once

#include "skin/controls/SkinPanel.h"
#include "skin/form/SkinForm.h"

// The built-in grip: diagonal line pairs (Shadow, then Light beside it) from the bottom edge to the right edge of R
// shrunk by 2.
void DrawDefaultGripper(TCanvas* C, const TRect& R, TColor Shadow, TColor Light);

class TbsSkinStatusBar : public TbsSkinPanel, public IbsSizeGripBar {
  public:
    explicit TbsSkinStatusBar(TComponent* AOwner);

    bool SizeGrip() const override { return FSizeGrip; }
    void SetSizeGrip(bool Value);
    bool ShowGrip() const { return FShowGrip; }
    void SetShowGrip(bool Value) override;
    // The grip's rectangle in the bar's client coordinates.
    TRect GetGripRect();

    void SetSkinData(TbsSkinData* Value) override;
    void WndProc(TMessage& Message) override;

  protected:
    void AdjustClientRect(TRect& Rect) override;
    void GetSkinData() override;
    void Paint() override;

  private:
    bool GripShown() const { return FSizeGrip && FShowGrip; }
    void DrawGrip(TCanvas* C);

    bool FSizeGrip = false;
    bool FShowGrip = true;
    TRect GripperRect{};
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;
};
