// TbsSkinImagesMenu: a drop-down palette of images (with optional full-width header and button rows) picked by the
// mouse or the keys (Enter, Space, Esc, arrows); the pick is ItemIndex and is reported, after the popup has closed,
// by OnInternalMenuClose, OnMenuClose, the item's OnClick, OnItemClick, and, when it changed, OnInternalChange and
// OnChange. The popup window is made at each opening and freed at its close; while open it holds the mouse capture
// and sits in the application's message filter chain (keys and wheel go to it, focus and frame messages close it).
//
// Index: TbsImagesMenuItem, TbsImagesMenuItems, TbsSkinImagesMenuPopupWindow, TbsSkinImagesMenu.
//
// Ownership: the menu owns its items and its popup; the image list, skin and hint are borrowed (cleared by
// notification). A popup closed from inside its own handlers is freed after they return. GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/ImgList.h"
#include "skin/core/AlphaFade.h"
#include "skin/core/SkinUtils.h"
#include "skin/controls/SkinButton.h"

class TbsSkinData;
class TbsSkinHint;
class TbsSkinImagesMenu;

class TbsImagesMenuItem : public TCollectionItem {
  public:
    explicit TbsImagesMenuItem(TCollection* C) : TCollectionItem(C) {}
    void Assign(TPersistent* Source) override;
    int ImageIndex = -1;
    std::wstring Caption, Hint;
    bool Button = false, Header = false;
    TNotifyEvent OnClick;
    TRect ItemRect{};
};

class TbsImagesMenuItems : public TOwnedCollection {
  public:
    explicit TbsImagesMenuItems(TbsSkinImagesMenu* AMenu);
    TbsImagesMenuItem* Items(int I) const { return static_cast<TbsImagesMenuItem*>(TCollection::Items(I)); }
    TbsImagesMenuItem* Add() { return static_cast<TbsImagesMenuItem*>(TCollection::Add()); }
};

class TbsSkinImagesMenuPopupWindow : public TCustomControl {
  public:
    explicit TbsSkinImagesMenuPopupWindow(TbsSkinImagesMenu* AMenu);
    ~TbsSkinImagesMenuPopupWindow() override;
    void Show(const TRect& PopupRect);
    void Hide(bool AProcessEvents);
    void ProcessKey(WPARAM Key);
    int MouseInItem = -1, OldMouseInItem = -1;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

  private:
    void CreateMenu();
    int GetItemFromPoint(int X, int Y) const;
    void TestActive(int X, int Y);
    void SetHot(int I);
    void FindUp();
    void FindDown();
    void FindLeft();
    void FindRight();
    void DrawActiveItem(TCanvas* C, const TRect& R, bool Pressed);
    void DrawItemCaption(TCanvas* C, const std::wstring& Text, const TRect& R, bool Pressed, bool Hot);
    void HideHint();
    void HookApp();
    void UnHookApp();
    // A header row: the skin's "label" picture and font, else the caption centred in R.
    void DrawHeader(TCanvas* C, const TRect& R, const std::wstring& Text);
    void SetMenuWindowRegion();

  public:
    // The skin's popup window record has a window picture: the window is that picture around the items.
    bool SkinSupport() const { return FSkinSupport; }
    TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
    TRect NewItemsRect{};

  private:
    TbsSkinImagesMenu* ImagesMenu;  // borrowed: the owner
    bool FSkinSupport = false;
    TBitmap* WindowPicture = nullptr;  // borrowed from the skin
    TBitmap* MaskPicture = nullptr;    // borrowed from the skin
    int FHook = 0;
    bool FDown = false, FItemDown = false;
    bool FClosed = false;
};

class TbsSkinImagesMenu : public TComponent {
  public:
    explicit TbsSkinImagesMenu(TComponent* AOwner);
    ~TbsSkinImagesMenu() override;

    void Popup(int X, int Y);
    void PopupFromRect(const TRect& R);
    void Hide();
    TbsImagesMenuItem* GetSelectedItem();
    // Called by the popup as it closes: the popup goes (after its handlers), then the events.
    void ProcessEvents(bool AItemClick);

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TbsImagesMenuItems* ImagesItems() const { return FItems.get(); }
    int ItemIndex = -1;
    int ColumnsCount() const { return FColumnsCount; }
    // 1 to 50; other values are ignored.
    void SetColumnsCount(int Value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* Value);
    bool ShowSelectedItem = true;
    // A see-through popup (layered, AlphaBlendValue), faded in from nothing with AlphaBlendAnimation.
    bool AlphaBlend = false, AlphaBlendAnimation = false;
    std::uint8_t AlphaBlendValue = 200;
    TFadeClock FadeClock = SystemFadeClock();
    bool ShowHints = true;
    bool UseSkinFont = true;
    TFont* DefaultFont() { return FDefaultFont.get(); }
    TbsSkinImagesMenuPopupWindow* PopupWindow() const { return FPopupWindow.get(); }
    // The menu as the skinned buttons carry it (their SkinImagesMenu): it shows the selected item and drops down.
    IbsImagesMenu* ButtonLink() const { return FLink.get(); }
    TNotifyEvent OnItemClick, OnChange, OnMenuClose, OnMenuPopup, OnInternalChange, OnInternalMenuClose;

    void Notification(TComponent* AComponent, TOperation Operation) override;

  private:
    friend class TbsSkinImagesMenuPopupWindow;
    TCustomImageList* FImages = nullptr;  // borrowed
    TbsSkinData* FSD = nullptr;           // borrowed
    TbsSkinHint* FSkinHint = nullptr;     // borrowed
    std::unique_ptr<TbsImagesMenuItems> FItems;
    int FColumnsCount = 1;
    int FOldItemIndex = -1;
    std::unique_ptr<TFont> FDefaultFont;
    std::unique_ptr<TbsSkinImagesMenuPopupWindow> FPopupWindow;
    // Closed popups waiting for their handlers to return (freed on a zero-time timer).
    std::vector<std::unique_ptr<TbsSkinImagesMenuPopupWindow>> FReleased;
    std::unique_ptr<TTimer> FReleaseTimer;
    std::unique_ptr<IbsImagesMenu> FLink;
};
