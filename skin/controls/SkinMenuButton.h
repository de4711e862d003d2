// TbsSkinMenuButton: a skinned push button that drops a skinned popup menu or images menu below itself. Plain: a
// press anywhere opens the menu. Track-button mode: the right part (the skin's track rectangle, else 15 pixels)
// opens it and the rest clicks like a push button. While a dropped menu is open the button stays pressed; the menu's
// close (message 1228, or the images menu's close notification) raises it. GUI thread only.
#pragma once

#include "skin/controls/SkinButton.h"

class TbsSkinPopupMenu;

class TbsSkinMenuButton : public TbsSkinButton {
  public:
    explicit TbsSkinMenuButton(TComponent* AOwner);
    ~TbsSkinMenuButton() override;

    TbsSkinPopupMenu* SkinPopupMenu() const { return FSkinPopupMenu; }
    void SetSkinPopupMenu(TbsSkinPopupMenu* Value);
    bool TrackButtonMode() const { return FTrackButtonMode; }
    void SetTrackButtonMode(bool Value);
    bool MenuTracked() const { return FMenuTracked; }

    TNotifyEvent OnShowTrackMenu, OnHideTrackMenu;

    virtual bool CanMenuTrack(int X, int Y);
    virtual void TrackMenu();
    void DropDown();
    // TrackButtonRect mapped onto the button's size.
    TRect GetNewTrackButtonRect();

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

  protected:
    // The menu this button opened went away without a close message of its own: the button lets go.
    void EndMenuTracking() {
        FMenuTracked = false;
        SetDown(false);
    }
    void CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void GetSkinData() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoMouseEnter() override;
    void DoMouseLeave() override;

  private:
    // The name selects one of the resizing looks.
    bool ResizeLook() const;
    void CreateResizeImage(TBitmap* B, bool ADown, bool AMouseIn, bool NineParts);
    void MenuClosed(bool ByMessage);
    void PressAndTrack();
    // Arrow or marker in the right strip.
    void DrawMarker(TCanvas* C, bool ADown, bool AMouseIn, TColor TextColour);

    TbsSkinPopupMenu* FSkinPopupMenu = nullptr;  // borrowed
    bool FTrackButtonMode = false;
    bool FMenuTracked = false;
    TRect TrackButtonRect{};
};
