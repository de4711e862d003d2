// TbsSkinMenuSpeedButton: a speed button with a drop-down marker that opens a skinned popup menu or an images menu
// below itself, from the whole button or (TrackButtonMode) only from its 15-pixel track part at the right (or the
// bottom with NewStyle). While the menu shows the button stays pressed; the menu's close (message 1228, or the images
// menu's close notification) raises it. The skinned form makes these with a plain arrow (FDrawStandardArrow).
// GUI thread only.
#pragma once

#include "skin/controls/SkinSpeedButton.h"

class TbsSkinPopupMenu;

enum TbsTrackPosition { bstpRight, bstpBottom };

class TbsSkinMenuSpeedButton : public TbsSkinSpeedButton {
  public:
    explicit TbsSkinMenuSpeedButton(TComponent* AOwner);
    ~TbsSkinMenuSpeedButton() override;

    TbsSkinPopupMenu* SkinPopupMenu() const { return FSkinPopupMenu; }
    void SetSkinPopupMenu(TbsSkinPopupMenu* Value);
    IbsImagesMenu* SkinImagesMenu() const { return FSkinImagesMenu; }
    void SetSkinImagesMenu(IbsImagesMenu* Value);
    bool UseImagesMenuImage() const { return FUseImagesMenuImage; }
    void SetUseImagesMenuImage(bool Value);
    bool UseImagesMenuCaption() const { return FUseImagesMenuCaption; }
    void SetUseImagesMenuCaption(bool Value);
    bool TrackButtonMode() const { return FTrackButtonMode; }
    void SetTrackButtonMode(bool Value);
    TbsTrackPosition TrackPosition() const { return FTrackPosition; }
    void SetTrackPosition(TbsTrackPosition Value);
    bool NewStyle() const { return FNewStyle; }
    void SetNewStyle(bool Value);
    bool MenuTracked() const { return FMenuTracked; }

    TNotifyEvent OnShowTrackMenu, OnHideTrackMenu;

    // A plain arrow of FArrowType (1 left, 2 right, 3 up, 4 down) in the font colour instead of the skin's marker.
    bool FDrawStandardArrow = false;
    int FArrowType = 4;

    // Whether a press at (X, Y) opens the menu.
    virtual bool CanMenuTrack(int X, int Y);
    virtual void TrackMenu();
    // TrackButtonRect moved with the button's size by the resize mode.
    TRect GetNewTrackButtonRect();
    // The track part in the button's coordinates.
    TRect TrackPartRect();

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

  protected:
    void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void GetSkinData() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoMouseEnter() override;
    void DoMouseLeave() override;

  private:
    bool NamedResize() const;  // "resizebutton", "resizetoolbutton"
    bool NamedTool() const;    // "toolbutton", "bigtoolbutton"
    // The part without the marker.
    TRect ContentRect();
    TRect MarkerRect();
    void MenuClosed();
    // The stretched (NineParts false) or nine-part composition of the main and the marker part.
    void CreateResizeImage(TBitmap* B, bool ADown, bool AMouseIn, bool NineParts);
    void CreateNewStyleImage(TBitmap* B, bool ADown, bool AMouseIn);
    void DrawMarker(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn, TColor TextColour);
    void DrawMarkerPicture(TCanvas* C, const TRect& R, const TRect& Src);

    TbsSkinPopupMenu* FSkinPopupMenu = nullptr;  // borrowed
    bool FTrackButtonMode = false;
    TbsTrackPosition FTrackPosition = bstpRight;
    bool FNewStyle = false;
    TRect TrackButtonRect{};
};
