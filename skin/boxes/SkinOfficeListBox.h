// The office list: a self-drawn list of items in the manner of a gallery menu. Items may be header rows that group
// the ones below them; an ordinary item shows an optional bold title above its caption, an image and a check mark.
// Drawn on the skinned control base (its own entry, "listbox" by default), the items from a list-box entry, the
// headers from a label entry ("menuheader", else "label"); without entries in system colours. It scrolls by pixels
// through a skinned vertical bar made only while the items do not fit. TbsPopupOfficeListBox is the same list as a
// tool window that never takes the activation: the office combo box's drop-down. GUI thread only.
// Index: TbsSkinOfficeItem, TbsSkinOfficeItems, TbsDrawSkinOfficeItemEvent, TbsSkinOfficeListBox,
// TbsPopupOfficeListBox.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "classlib/Classes.h"
#include "skin/controls/ControlSeam.h"
#include "skin/controls/PopupFade.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinScrollBar.h"

class TbsSkinOfficeListBox;
class TbsSkinOfficeItems;

class TbsSkinOfficeItem : public TCollectionItem {
  public:
    explicit TbsSkinOfficeItem(TCollection* ACollection);
    void Assign(TPersistent* Source) override;

    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    const std::wstring& Title() const { return FTitle; }
    virtual void SetTitle(const std::wstring& Value);
    const std::wstring& Caption() const { return FCaption; }
    virtual void SetCaption(const std::wstring& Value);
    void* Data() const { return FData; }
    virtual void SetData(void* Value) { FData = Value; }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    bool Header() const { return FHeader; }
    virtual void SetHeader(bool Value);
    bool Checked() const { return FChecked; }
    virtual void SetChecked(bool Value);
    TNotifyEvent OnClick;

    TRect ItemRect;          // list coordinates, after scrolling (set by the layout)
    bool IsVisible = false;  // set by the layout
    bool Active = false;     // the list's current item

  private:
    int FImageIndex = -1;
    std::wstring FTitle, FCaption;
    bool FEnabled = true;
    void* FData = nullptr;
    bool FHeader = false;
    bool FChecked = false;
};

class TbsSkinOfficeItems : public TCollection {
  public:
    explicit TbsSkinOfficeItems(TbsSkinOfficeListBox* AListBox);
    // The item at Index; outside the list raises the list-index error.
    TbsSkinOfficeItem* GetItem(int Index) const { return static_cast<TbsSkinOfficeItem*>(Items(Index)); }
    TbsSkinOfficeItem* AddItem() { return static_cast<TbsSkinOfficeItem*>(Add()); }
    TbsSkinOfficeListBox* OfficeListBox = nullptr;  // the owning list (borrowed)
    TPersistent* GetOwner() override;

  protected:
    void Update(TCollectionItem* Item) override;
};

// Draws an ordinary item's content in TextRct of Cnvs.
using TbsDrawSkinOfficeItemEvent = std::function<void(TCanvas* Cnvs, int Index, const TRect& TextRct)>;

class TbsSkinOfficeListBox : public TbsSkinCustomControl {
    friend class TbsSkinOfficeItems;

  public:
    explicit TbsSkinOfficeListBox(TComponent* AOwner);
    ~TbsSkinOfficeListBox() override;

    TbsSkinOfficeItems* Items() { return FItems.get(); }
    void SetItems(TbsSkinOfficeItems* Value);
    int ItemIndex() const { return FItemIndex; }
    // Makes Value current, scrolls to it and fires the item's OnClick and OnItemClick.
    void SetItemIndex(int Value);
    // Makes Value current without events or repaint (only an enabled ordinary item is taken).
    void InitItemIndex(int Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value);
    bool ShowItemTitles() const { return FShowItemTitles; }
    void SetShowItemTitles(bool Value);
    bool ShowCheckBoxes() const { return FShowCheckBoxes; }
    void SetShowCheckBoxes(bool Value);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool Value);
    bool HeaderLeftAlignment() const { return FHeaderLeftAlignment; }
    void SetHeaderLeftAlignment(bool Value);
    bool AlternateRow() const { return FAlternateRow; }
    void SetAlternateRow(bool Value);
    bool MouseMoveChangeIndex = false;
    std::wstring ItemSkinDataName = L"listbox";
    std::wstring HeaderSkinDataName = L"menuheader";
    TbsDrawSkinOfficeItemEvent OnDrawItem;
    TNotifyEvent OnItemClick, OnItemCheckClick;

    int CalcHeight(int AItemCount);
    void ScrollToItem(int Index);
    void Scroll(int AScrollOffset);
    void GetScrollInfo(int& AMin, int& AMax, int& APage, int& APosition);
    void UpdateScrollInfo();
    void CalcItemRects();
    int ItemAtPos(int X, int Y);
    void BeginUpdateItems();
    void EndUpdateItems();
    void FindUp();
    void FindDown();
    void FindPageUp();
    void FindPageDown();
    int ScrollOffset() const { return FScrollOffset; }
    const TRect& ItemsRect() const { return FItemsRect; }
    TbsSkinScrollBar* ScrollBar = nullptr;  // owned component, only while needed

    // The mouse and timer handling the office combo box drives while its list is open.
    void MouseMoveAt(TShiftState Shift, int X, int Y) { MouseMove(Shift, X, Y); }

    void ChangeSkinData() override;
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

  protected:
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;

    void DrawItem(int Index, TCanvas* Cnvs, bool AAlternateColor);
    void DefaultDrawItem(int Index, TCanvas* Cnvs, bool AAlternateColor);
    void SkinDrawItem(int Index, TCanvas* Cnvs, bool AAlternateColor);
    void SkinDrawHeaderItem(int Index, TCanvas* Cnvs);
    void EnableScrollTimer(int Value);
    void StopScrollTimer();
    void ShowScrollbar();
    void HideScrollBar();
    void AdjustScrollBar();
    void ItemsChanged();

    int FMouseActive = -1;
    bool FMouseDown = false;

  private:
    void DrawItems(TCanvas* C);
    void DrawContent(int Index, TCanvas* C, TRect T, bool Active);
    void SetCurrentByMouse(int Index);
    bool Selectable(int Index) const;
    void FindPage(bool Up);
    bool HasSkin() const { return FIndex != -1 && SkinLookAvailable(); }

    std::unique_ptr<TbsSkinOfficeItems> FItems;
    TCustomImageList* FImages = nullptr;  // borrowed
    std::unique_ptr<IbsControlTimer> FTimer;
    int FTimerMode = 0;
    int FCheckOffset = 0;
    bool FShowCheckBoxes = false;
    bool FInUpdateItems = false;
    TColor FDisabledFontColor = static_cast<TColor>(0x808080);
    bool FShowLines = false;
    bool FClicksDisabled = false;
    int FMax = 0, FRealMax = 0;
    TRect FItemsRect;
    int FScrollOffset = 0;
    bool FShowItemTitles = true;
    int FItemHeight = 30;
    int FHeaderHeight = 20;
    int FOldHeight = -1;
    int FItemIndex = -1;
    bool FHeaderLeftAlignment = false;
    bool FAlternateRow = false;
};


// The drop-down of the office combo box: a tool window that never takes the activation.
class TbsPopupOfficeListBox : public TbsSkinOfficeListBox {
  public:
    explicit TbsPopupOfficeListBox(TComponent* AOwner);
    void Show(TPoint Origin);
    void Hide();
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;

  private:
    TbsPopupAlpha FAlpha;
};
