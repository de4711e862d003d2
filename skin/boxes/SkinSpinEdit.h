// TbsSkinSpinEdit: a number editor: an inner number edit for typing and two stacked arrow buttons (with the
// up-down's repeat) that step a double Value by Increment between MinValue and MaxValue (equal bounds: no range),
// shown as an integer or with Decimal places. The window's own text (WM_SETTEXT / WM_GETTEXT) is the value's text;
// the inner edit shows it. Drawn from the entry "spinedit" (the buttons' state pictures, a hot picture while focused
// or hovered) or in a built-in look.
//
// Text changes follow one state machine: FromEdit marks a change that comes from the inner edit (not copied back);
// StopCheck marks a change the control makes itself (not parsed again). GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "skin/boxes/SkinEdit.h"
#include "skin/boxes/SpinButtons.h"
#include "skin/controls/SkinControl.h"

enum TbsValueType { vtInteger, vtFloat };

class TbsSkinSpinEdit : public TbsSkinCustomControl {
  public:
    explicit TbsSkinSpinEdit(TComponent* AOwner);
    ~TbsSkinSpinEdit() override;

    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    TbsValueType ValueType() const { return FValueType; }
    void SetValueType(TbsValueType Value);
    int Decimal() const { return FDecimal; }
    void SetDecimal(int Value) { FDecimal = static_cast<unsigned char>(Value); }
    double MinValue() const { return FMinValue; }
    void SetMinValue(double Value);
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double Value);
    double Value() const { return FValue; }
    // Stores the range-limited value, shows it and fires OnChange.
    void SetValue(double AValue);
    // The same without OnChange.
    void SimpleSetValue(double AValue);
    double Increment() const { return FIncrement; }
    void SetIncrement(double Value) { FIncrement = Value; }
    bool EditorEnabled() const;
    void SetEditorEnabled(bool Value);
    int MaxLength() const;
    void SetMaxLength(int Value);

    bool IsNumText(const std::wstring& AText) const;
    // The control as it looks with AText as its text, at (X, Y) of C.
    void PaintSkinTo(TCanvas* C, int X, int Y, const std::wstring& AText);
    void Invalidate() override;
    void ChangeSkinData() override;

    // The inner edit and the buttons (0 up, 1 down) as laid out.
    TbsSkinNumEdit* Edit() const { return FEdit; }
    const TbsSpinButton& Button(int I) const { return FButtons.Buttons[I]; }
    bool Repeating() const { return FButtons.Repeating(); }

    TNotifyEvent OnChange;
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    TKeyEvent OnEditKeyDown;
    TKeyPressEvent OnEditKeyPress;
    TKeyEvent OnEditKeyUp;
    TNotifyEvent OnEditEnter;
    TNotifyEvent OnEditExit;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;
    void BeforeDestruction() override;

  protected:
    void GetSkinData() override;
    bool SkinLookAvailable() const override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void DefaultFontChange() override;
    void CalcSize(int& W, int& H) override;
    void SetControlRegion() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual void Change();

  private:
    void EditChange();
    void EditEnter();
    void EditExit();
    void StepUp();
    void StepDown();
    void TextChanged();
    void ShowValueText();
    void ShowInEdit(const std::wstring& Text);
    void CalcLayout();
    void ApplyEditFont();
    void UpdateFontColor();
    void SetActiveLook(bool Hot);
    bool HotLook() const { return FEditFocused || FMouseIn; }
    bool HasActivePicture() const { return SkinLookAvailable() && !ActiveSkinRect.IsEmpty(); }
    int EditHeight();
    std::wstring Formatted(double V) const;
    void DrawButtons(TCanvas* C);

    TbsSkinNumEdit* FEdit = nullptr;  // owned as a component: freed before this object's destructor runs
    TbsSpinButtons FButtons;
    TColor FDefaultColor = clWindow;
    bool FUseSkinSize = true;
    bool FMouseIn = false, FEditFocused = false;
    bool StopCheck = false, FromEdit = false;
    unsigned char FDecimal = 2;
    double FMinValue = 0, FMaxValue = 0, FIncrement = 1, FValue = 0;
    TbsValueType FValueType = vtInteger;
    bool FSpinEntry = false;

    // The skin entry's copies.
    TRect ActiveSkinRect{};
    std::wstring FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, DisabledFontColor = 0, ActiveFontColor = 0;
    TRect UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{}, DownButtonRect{}, ActiveDownButtonRect{},
        DownDownButtonRect{};
    int LOffset = 0, ROffset = 0;
};
