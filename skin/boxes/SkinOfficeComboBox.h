// The office combo box: a combo box without an edit field whose item area shows the current office item (title,
// image, caption) and whose button drops a TbsPopupOfficeListBox holding the items. Drawn from the "combobox" entry
// at the skin's height (UseSkinSize) or freely sized with nine-part pictures and the resizable button, as a flat
// tool button (ToolButtonStyle), or in a built-in look. The list never takes the activation; a drag through it
// passes the capture to the combo box, which scrolls it on the seam's timer. CB_GETCOUNT, CB_GETCURSEL and
// CB_SETCURSEL reach it from outside. GUI thread only.
// Index: TbsSkinCustomOfficeComboBox, TbsSkinOfficeComboBox.
#pragma once

#include <memory>
#include <string>

#include "skin/boxes/ComboPainting.h"
#include "skin/boxes/SkinComboBox.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/boxes/SkinOfficeListBox.h"
#include "skin/controls/SkinControl.h"

class TbsDataSkinButtonControl;

class TbsSkinCustomOfficeComboBox : public TbsSkinCustomControl, protected TbsComboSkinFields {
    friend class TbsPopupOfficeListBox;

  public:
    explicit TbsSkinCustomOfficeComboBox(TComponent* AOwner);
    ~TbsSkinCustomOfficeComboBox() override;

    TbsSkinOfficeItems* Items() { return FListBox->Items(); }
    void SetItems(TbsSkinOfficeItems* Value) { FListBox->SetItems(Value); }
    int ItemIndex() const { return FListBox->ItemIndex(); }
    // Makes Value current through the list (its item events), then OnClick and Change.
    void SetItemIndex(int Value);
    // Makes Value current without events.
    void InitItemIndex(int Value);
    TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(TCustomImageList* Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    bool ShowItemTitle() const { return FShowItemTitle; }
    void SetShowItemTitle(bool Value);
    bool ShowItemImage() const { return FShowItemImage; }
    void SetShowItemImage(bool Value);
    bool ShowItemText() const { return FShowItemText; }
    void SetShowItemText(bool Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    void SetToolButtonStyle(bool Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    bool AlphaBlend = false, AlphaBlendAnimation = false;
    BYTE AlphaBlendValue = 0;
    int ListBoxWidth = 0, ListBoxHeight = 0;
    // The list's entry name; kept and given back to the list whenever a skin has a combo box entry.
    const std::wstring& ListBoxSkinDataName() const { return FListBoxSkinDataName; }
    void SetListBoxSkinDataName(const std::wstring& Value);
    void SetListBoxDefaultFont(TFont* Value) { FListBox->SetDefaultFont(Value); }
    void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
    void SetListBoxShowItemTitles(bool Value) { FListBox->SetShowItemTitles(Value); }
    void SetListBoxShowLines(bool Value) { FListBox->SetShowLines(Value); }
    void SetListBoxHeaderLeftAlignment(bool Value) { FListBox->SetHeaderLeftAlignment(Value); }
    void SetAlternateRow(bool Value) { FListBox->SetAlternateRow(Value); }
    int ListBoxItemHeight() const { return FListBox->ItemHeight(); }
    void SetListBoxItemHeight(int Value) { FListBox->SetItemHeight(Value); }
    void SetListBoxHeaderHeight(int Value) { FListBox->SetHeaderHeight(Value); }

    TbsDrawSkinOfficeItemEvent OnDrawItem;
    TNotifyEvent OnChange, OnClick, OnCloseUp, OnDropDown;

    virtual void DropDown();
    void CloseUp(bool Value);
    bool IsPopupVisible() const { return FListBox && FListBox->Visible(); }
    bool CanCancelDropDown() const { return IsPopupVisible() && !FMouseIn; }
    void BeginUpdateItems() { FListBox->BeginUpdateItems(); }
    void EndUpdateItems() { FListBox->EndUpdateItems(); }
    void PaintSkinTo(TCanvas* C, int X, int Y, const std::wstring& AText);

    TbsPopupOfficeListBox* ListBox() const { return FListBox; }
    const TbsCBButtonX& DropButton() const { return Button; }
    const TbsCBItem& ShownItem() const { return CBItem; }
    int TrackingMode() const { return TimerMode; }

    void Invalidate() override;
    void ChangeSkinData() override;
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

  protected:
    virtual void Change();
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

    void CalcRects();
    bool HasSkin() const { return FIndex != -1 && SkinLookAvailable(); }

    TbsPopupOfficeListBox* FListBox = nullptr;  // owned component
    TbsCBItem CBItem;
    TbsCBButtonX Button;
    bool FMouseIn = false;
    bool FDropDown = false;
    bool FLBDown = false;
    bool WasInLB = false;
    int FOldItemIndex = -1;
    int TimerMode = 0;


  private:
    void ListBoxWindowProcHook(TMessage& Message);
    void TrackList(TShiftState Shift, int X, int Y);
    void StartTimer();
    void StopTimer();
    void CommitListIndex();
    int ShownIndex() const;
    TColor DisabledFontColor();
    TbsDataSkinButtonControl* ButtonRecord(std::initializer_list<const wchar_t*> Names, TBitmap*& Pic);
    void DrawItemContent(TCanvas* C, int Index, TRect T, bool Title, const std::wstring* AText);
    void DrawDefaultButton(TCanvas* C);
    void DrawSkinButton(TCanvas* C);
    void DrawResizeButton(TCanvas* C);
    void DrawDefaultItem(TCanvas* C);
    void DrawSkinItem(TCanvas* C, bool Strip);
    void DrawToolLook(TBitmap* B, const std::wstring* AText);
    void DrawSkinBackground(TBitmap* B);
    bool Hot() const { return FMouseIn || const_cast<TbsSkinCustomOfficeComboBox*>(this)->Focused(); }

    TWndMethod FListBoxWindowProc;
    std::unique_ptr<IbsControlTimer> FTimer;
    std::wstring FListBoxSkinDataName = L"listbox";
    bool FShowItemTitle = true, FShowItemImage = true, FShowItemText = true;
    int FDropDownCount = 7;
    bool FToolButtonStyle = false;
    TColor FDefaultColor = clWindow;
    bool FUseSkinSize = false;
};

class TbsSkinOfficeComboBox : public TbsSkinCustomOfficeComboBox {
  public:
    using TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox;
};
