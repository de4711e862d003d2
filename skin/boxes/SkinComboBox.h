// The skinned combo box: a self-drawn control showing the chosen item and a drop-down button (in the editable style
// an inner edit instead of the item), whose list is a popup skinned list box (TbsPopupListBox) that never takes the
// activation: the combo box keeps the focus while the list is open and tracks it with the keyboard and with a mouse
// drag whose capture passes from the popup to the combo box. Drawn from the "combobox" entry (the list from the
// entry's ListBoxName), in a built-in look, or in the tool-button look ("resizetoolbutton"/"resizebutton").
// The search timing and the drag's scroll timer run on the control seam. Other programs read it through
// CB_GETCOUNT, CB_GETCURSEL, CB_SETCURSEL, WM_GETTEXT and set its text with WM_SETTEXT. GUI thread only.
// Index: TbsPopupListBox, TbsSkinCustomComboBoxStyle, TbsCBItem, TbsSkinCustomComboBox, TbsSkinComboBox.
#pragma once

#include <memory>
#include <string>

#include "skin/boxes/ComboLogic.h"
#include "skin/boxes/ComboPainting.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/boxes/SkinListBox.h"
#include "skin/controls/PopupFade.h"
#include "skin/controls/SkinControl.h"

class TbsSkinCustomComboBox;
class TbsDataSkinButtonControl;

// The popup: a tool window (no activation, shadow, saved bits) holding a skinned list. Its owner places it in
// screen coordinates; the combo box that owns it gives it its transparency.
class TbsPopupListBox : public TbsSkinListBox {
  public:
    explicit TbsPopupListBox(TComponent* AOwner);
    // Shows the popup at the screen point Origin without activating it (faded in with the owner's animation).
    void Show(TPoint Origin);
    void Hide();
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;

  private:
    TbsPopupAlpha FAlpha;
};

enum TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

struct TbsCBItem {
    TRect R{};
    TOwnerDrawState State;
};

class TbsSkinCustomComboBox : public TbsSkinCustomControl, protected TbsComboSkinFields {
  public:
    explicit TbsSkinCustomComboBox(TComponent* AOwner);
    ~TbsSkinCustomComboBox() override;

    // The list's strings (live) and selection.
    TStrings* Items() { return FListBox->Items(); }
    void SetItems(TStrings* Value);
    int ItemIndex() { return FListBox->ItemIndex(); }
    // Selects Value, shows it, then OnClick and Change.
    void SetItemIndex(int Value);
    std::wstring Text() { return TbsSkinCustomControl::Text(); }
    void SetText(const std::wstring& Value) { TbsSkinCustomControl::SetText(Value); }

    TbsSkinCustomComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TbsSkinCustomComboBoxStyle Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    void SetToolButtonStyle(bool Value);
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool Value) { FAutoComplete = Value; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value) { FHideSelection = Value; }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int Value) { FListBoxWidth = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value) { FAlphaBlendValue = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return FListBox->ImageIndex(); }
    void SetImageIndex(int Value);
    TStrings* TabWidths() { return FListBox->TabWidths(); }
    void SetTabWidths(TStrings* Value) { FListBox->SetTabWidths(Value); }
    bool Sorted() const { return FListBox->Sorted(); }
    void SetSorted(bool Value) { FListBox->SetSorted(Value); }
    // The list's caption, fonts and item height (forwarded to the popup).
    void SetListBoxCaption(const std::wstring& Value) { FListBox->SetCaption(Value); }
    void SetListBoxCaptionMode(bool Value) { FListBox->SetCaptionMode(Value); }
    void SetListBoxDefaultFont(TFont* Value) { FListBox->SetDefaultFont(Value); }
    void SetListBoxDefaultItemHeight(int Value) { FListBox->SetDefaultItemHeight(Value); }
    void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
    void SetListBoxUseSkinItemHeight(bool Value) { FListBox->SetUseSkinItemHeight(Value); }
    int SelStart();
    void SetSelStart(int Value);
    int SelLength();
    void SetSelLength(int Value);

    TbsDrawSkinItemEvent OnListBoxDrawItem() const { return FOnListBoxDrawItem; }
    void SetOnListBoxDrawItem(TbsDrawSkinItemEvent Value);
    TbsDrawSkinItemEvent OnComboBoxDrawItem;

    TNotifyEvent OnChange, OnClick, OnCloseUp, OnDropDown;

    // Opens the list (nothing with no items).
    virtual void DropDown();
    // Closes the list; Value accepts the highlighted item.
    void CloseUp(bool Value);
    bool IsPopupVisible() const;
    bool CanCancelDropDown() const;
    bool DroppedDown() const { return FDropDown; }
    // Paints the control in its current state with AText shown, at (X, Y) of C.
    void PaintSkinTo(TCanvas* C, int X, int Y, const std::wstring& AText);

    TbsPopupListBox* ListBox() const { return FListBox; }
    TbsCustomEdit* Edit() const { return FEdit; }
    // The button's and the shown item's places (after the last layout).
    const TbsCBButtonX& DropButton() const { return Button; }
    const TbsCBItem& ShownItem() const { return CBItem; }
    // The drag's scroll mode: 0 none, 1 up, 2 down.
    int TrackingMode() const { return TimerMode; }

    void Invalidate() override;
    void ChangeSkinData() override;
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

  protected:
    // The editor's messages before its own procedure.
    virtual void EditWindowProcHook(TMessage& Message);
    virtual void ShowEditor();
    // After a committed selection (descendants react to it).
    virtual void Change() {}

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void DefaultFontChange() override;
    void CalcSize(int& W, int& H) override;
    void SetControlRegion() override;
    void MouseDown(TMouseButton Btn, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Btn, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;

    void CalcRects();
    bool HasSkin() const { return FIndex != -1 && SkinLookAvailable(); }
    TColor GetDisabledFontColor();
    // The item shown in the box (the one from before the list opened while it is open).
    int ShownIndex();
    void EditUp1(bool AChange);
    void EditDown1(bool AChange);
    void EditPageUp1(bool AChange);
    void EditPageDown1(bool AChange);
    void EditUp(bool AChange);
    void EditDown(bool AChange);

    TbsPopupListBox* FListBox = nullptr;  // owned component
    TbsCustomEdit* FEdit = nullptr;       // owned component, only in the editable style
    TbsCBItem CBItem;
    TbsCBButtonX Button;
    bool FMouseIn = false;
    bool FDropDown = false;
    int FOldItemIndex = -1;


  private:
    void ListBoxWindowProcHook(TMessage& Message);
    void ListBoxMouseMove(int X, int Y);
    void ProcessListBox(int X, int Y);
    void StartTimer();
    void StopTimer();
    void TimerTick();
    void FindLBItem(wchar_t Key);
    void FindLBItemFromEdit();
    void EditChange();
    void EditCancelMode(TControl* Sender);
    void CMCancelMode(TControl* Sender);
    void HideEditor();
    void AdjustEditPos();
    void ApplyEditFont();
    bool ActiveLook();
    int FindInList(const std::wstring& Text, int Current);
    TbsDataSkinButtonControl* ButtonRecord(std::initializer_list<const wchar_t*> Names, TBitmap*& Pic);

    void DrawButton(TCanvas* C);
    void DrawResizeButton(TCanvas* C);
    void DrawItemContent(TCanvas* C, int Index, const TRect& TextRect, int W, int H, const std::wstring* AText);
    void DrawDefaultItem(TCanvas* C);
    void DrawSkinItem(TCanvas* C);
    void DrawResizeSkinItem(TCanvas* C);
    void SkinItemLook(TBitmap* B, bool Resize);
    // The shown item's font and colour for the skinned looks.
    void SkinItemFont(TCanvas* C, bool Focused);
    void CreateControlToolImage(TBitmap* B, const std::wstring* AText);
    void DrawTextIn(TCanvas* C, const std::wstring& S, const TRect& R);

    TWndMethod FListBoxWindowProc, FEditWindowProc;
    TbsSkinCustomComboBoxStyle FStyle = bscbFixedStyle;
    TEditCharCase FCharCase = ecNormal;
    TColor FDefaultColor = clWindow;
    bool FToolButtonStyle = false;
    bool FUseSkinSize = true;
    bool WasInLB = false;
    bool FLBDown = false;
    bool FromEdit = false;
    bool FHideSelection = true;
    bool FAutoComplete = true;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    BYTE FAlphaBlendValue = 0;
    bool FFrameOnly = false;  // PaintSkinTo: the frame and the button without the item
    int TimerMode = 0;
    int FListBoxWidth = 0;
    int FDropDownCount = 8;
    std::uint32_t FLastTime = 0;
    TbsTypeAhead FTypeAhead;
    TbsDrawSkinItemEvent FOnListBoxDrawItem;
    std::unique_ptr<IbsControlTimer> FTimer;
};

class TbsSkinComboBox : public TbsSkinCustomComboBox {
  public:
    using TbsSkinCustomComboBox::TbsSkinCustomComboBox;
};
