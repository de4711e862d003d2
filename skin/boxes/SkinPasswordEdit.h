// TbsSkinPasswordEdit: a one-line edit for secrets that draws one glyph per character (rounded square, square or
// triangle) and keeps its text to itself: no window text (WM_GETTEXT answers nothing, WM_SETTEXT sets Text so a
// driver can enter a password in one step), no copy and no cut. The editing rules live in TbsPasswordModel; this
// window paints the model and moves the system caret, which exists only while the control has the focus.
//
// Ownership: as the skinned control base. GUI thread only.
#pragma once

#include <string>

#include "skin/boxes/PasswordKind.h"
#include "skin/boxes/PasswordModel.h"
#include "skin/controls/SkinControl.h"


class TbsSkinPasswordEdit : public TbsSkinCustomControl {
  public:
    explicit TbsSkinPasswordEdit(TComponent* AOwner);

    std::wstring Text() const { return M.Text(); }
    void SetText(const std::wstring& Value) { M.SetText(Value); }
    int MaxLength() const { return M.MaxLength; }
    void SetMaxLength(int Value) { M.MaxLength = Value; }
    bool ReadOnly() const { return M.ReadOnly; }
    void SetReadOnly(bool Value) { M.ReadOnly = Value; }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    TbsPasswordKind PasswordKind() const { return FPasswordKind; }
    void SetPasswordKind(TbsPasswordKind Value);
    TAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(TAlignment Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    bool AutoSelect = true;

    int SelStart() const { return M.SelStart(); }
    void SetSelStart(int Value) { M.SetSelStart(Value); }
    int SelLength() const { return M.SelLength(); }
    void SetSelLength(int Value) { M.SetSelLength(Value); }
    std::wstring SelText() const { return M.SelText(); }
    void SelectAll() { M.SelectAll(); }
    void ClearSelection() { M.ClearSelection(); }
    void Clear() { M.SetText(L""); }
    void PasteFromClipboard() { M.PasteFromClipboard(); }
    void InsertChar(wchar_t Ch) { M.InsertChar(Ch); }
    void InsertText(const std::wstring& AText) { M.InsertText(AText); }
    void InsertAfter(int Position, const std::wstring& S, bool Selected) { M.InsertAfter(Position, S, Selected); }
    void DeleteFrom(int Position, int Length, bool MoveCaret) { M.DeleteFrom(Position, Length, MoveCaret); }

    // The model, its text area brought up to date with the control's size and skin.
    TbsPasswordModel& Model();
    TRect GetEditRect();
    bool MouseIn() const { return FMouseIn; }

    TNotifyEvent OnChange;
    void WndProc(TMessage& Message) override;

  protected:
    void GetSkinData() override;
    void CalcSize(int& W, int& H) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  private:
    void Change();
    void UpdateCaret();
    void PlaceCaret();
    void PaintText(TCanvas* C);
    void DrawPasswordChar(TCanvas* C, const TRect& Cell, bool Selected);

    TbsPasswordModel M;
    TEditCharCase FCharCase = ecNormal;
    bool FHideSelection = true;
    TbsPasswordKind FPasswordKind = pkRoundRect;
    TAlignment FTextAlignment = taLeftJustify;
    TColor FDefaultColor = clWindow;
    bool FMouseIn = false;
    bool FHasCaret = false;
    int LOffset = 0, ROffset = 0;
    TRect ClRect{}, SkinRect{}, ActiveSkinRect{};
    TColor CharColor = 0, CharActiveColor = 0, CharDisabledColor = 0;
};
