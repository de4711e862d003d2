// TbsSkinUpDown: two arrow buttons stepping an integer Position between Min and Max, side by side (horizontal,
// entry "hupdown") or stacked (vertical, "vupdown"). With UseSkinSize the size and the buttons come from the entry's
// picture; without it the buttons split the control and are composed from the "resizebutton" entry. The page control
// scrolls its tabs with one. GUI thread only.
#pragma once

#include "classlib/ComCtrls.h"
#include "skin/boxes/SpinButtons.h"
#include "skin/controls/SkinControl.h"

class TbsSkinUpDown : public TbsSkinCustomControl {
  public:
    explicit TbsSkinUpDown(TComponent* AOwner);
    ~TbsSkinUpDown() override;

    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation Value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    int Position() const { return FPosition; }
    // A value outside Min..Max is ignored; otherwise stored and OnChange fires.
    void SetPosition(int Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);

    // The buttons (0 up or right, 1 down or left) as laid out for the current size and skin.
    const TbsSpinButton& Button(int I) const { return FButtons.Buttons[I]; }
    bool Repeating() const { return FButtons.Repeating(); }

    TNotifyEvent OnChange;
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;

  protected:
    void GetSkinData() override;
    bool SkinLookAvailable() const override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void CalcSize(int& W, int& H) override;
    void SetControlRegion() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  private:
    void CalcButtons();
    int ArrowKind(int I) const;
    void Step(int I);

    bool FUseSkinSize = true;
    TUDOrientation FOrientation = udHorizontal;
    int FIncrement = 1, FPosition = 0, FMin = 0, FMax = 100;
    TbsSpinButtons FButtons;
    bool FUpDownEntry = false;
    TRect UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{}, DownButtonRect{}, ActiveDownButtonRect{},
        DownDownButtonRect{};
};
