// The application button and the application menu of the ribbon. TbsAppButton is the menu button at the left end of
// the tab row ("officemenubutton") that opens the menu. TbsAppMenu ("appmenu") covers the form's client area below
// the button: a column of items on the left (a command item runs its OnClick after the menu closed, with the ribbon
// as Sender; a page item shows its TbsAppMenuPage to the right), a scroll bar of its own while the items do not fit,
// an optional back button, top line and gripper, and a caption the skinned form draws into its title.
// GUI thread only. Index: TbsAppButton, TbsAppMenuItem, TbsAppMenuItems, TbsAppMenu.
#pragma once

#include <string>

#include "classlib/Classes.h"
#include "classlib/ImgList.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/ribbon/RibbonLayout.h"

class TbsRibbon;
class TbsAppMenu;
class TbsAppMenuPage;
class TbsSkinScrollBar;
class TbsDataSkinAppMenu;

class TbsAppButton : public TbsSkinMenuButton {
  public:
    explicit TbsAppButton(TComponent* AOwner);
    TbsRibbon* Ribbon = nullptr;  // borrowed: the owner

    bool CanMenuTrack(int X, int Y) override;
    void TrackMenu() override;
    void WndProc(TMessage& Message) override;
    // The menu closed: the button is raised again.
    void MenuReleased() { EndMenuTracking(); }

  protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
};

class TbsAppMenuItem : public TCollectionItem {
  public:
    explicit TbsAppMenuItem(TCollection* Collection);
    TbsAppMenuPage* Page() const { return FPage; }
    void SetPage(TbsAppMenuPage* Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& Value);
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnClick;
    bool Active = false;  // hovered
    TRect ItemRect{};

  private:
    TbsAppMenuPage* FPage = nullptr;  // borrowed: the form owns the page
    bool FVisible = true;
    bool FEnabled = true;
    int FImageIndex = -1;
    std::wstring FCaption;
};

class TbsAppMenuItems : public TCollection {
  public:
    explicit TbsAppMenuItems(TbsAppMenu* AMenu);
    TbsAppMenuItem* Items(int Index) const { return static_cast<TbsAppMenuItem*>(TCollection::Items(Index)); }
    TbsAppMenuItem* Add() { return static_cast<TbsAppMenuItem*>(TCollection::Add()); }
    TPersistent* GetOwner() override;
    TbsAppMenu* AppMenu;  // borrowed: the owner

  protected:
    TCollectionItem* CreateItem() override;
    void Update(TCollectionItem* Item) override;
};

class TbsAppMenu : public TbsSkinControl {
  public:
    explicit TbsAppMenu(TComponent* AOwner);
    ~TbsAppMenu() override;

    TbsAppMenuItems* Items() const { return FItems.get(); }
    void SetItems(TbsAppMenuItems* Value);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int ItemActive() const { return FItemActive; }
    TbsAppMenuPage* ActivePage() const { return FActivePage; }
    void SetActivePage(TbsAppMenuPage* Value);
    int GetPageIndex(TbsAppMenuPage* Page) const;
    int ItemWidth() const { return FItemWidth; }
    void SetItemWidth(int Value);
    bool UseSkinFont = true;
    TCustomImageList* ItemImageList() const { return FItemImageList; }
    void SetItemImageList(TCustomImageList* Value);
    TCustomImageList* ItemPageImageList() const { return FItemPageImageList; }
    void SetItemPageImageList(TCustomImageList* Value);
    TCustomImageList* BackButtonImageList() const { return FBackButtonImageList; }
    void SetBackButtonImageList(TCustomImageList* Value);
    int BackButtonImageIndex = -1;
    int BackButtonHotImageIndex = -1;
    TbsSkinHint* SkinHint = nullptr;  // only stored
    TbsRibbon* Ribbon = nullptr;      // borrowed: set by the ribbon

    TNotifyEvent OnChangePage, OnShowMenu, OnShowingMenu, OnHideMenu, OnHidingMenu;

    void FindNextItem();
    void FindPriorItem();
    void FindFirstItem();
    void FindLastItem();
    int ItemFromPoint(TPoint P) const;
    void TestActive(int X, int Y);

    // The page area (Left, Top, Right = width, Bottom = height) and the active page's rectangle.
    TRect GetPageBoundsRect();
    TRect GetPageRect() const;
    TbsAppMenuPage* CreatePage();

    // The item column's scroll state: minimum, maximum, page.
    void GetScrollInfo(int& Min, int& Max, int& Page);
    void UpdateScrollInfo();
    TbsSkinScrollBar* ScrollBar() const { return FScrollBar; }
    int ScrollOffset() const { return FScrollOffset; }
    void Scroll(int Offset);
    void ScrollToItem(int Index);

    bool CanShowGripper();
    TRect GetGripRect() const { return {Width() - 10, Height() - 10, Width(), Height()}; }
    bool CanDrawAppMenuCaption();
    int GetAppMenuCaptionOffset();
    void DrawAppMenuCaption(TCanvas* Canvas, const TRect& R, const TRect& FR);
    TRect BackButtonRect() const { return FBackButtonRect; }

    void CalcItemRects();
    void PaintAppMenu(TCanvas* Canvas);
    // The menu entry in force after a fresh lookup (nullptr: the built-in look) and its picture.
    TbsDataSkinAppMenu* MenuEntry();
    TBitmap* MenuPicture();

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void CreateControlDefaultImage(TBitmap* B) override { PaintAppMenu(B->Canvas()); }
    void CreateControlSkinImage(TBitmap* B) override { PaintAppMenu(B->Canvas()); }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

  private:
    TbsAppMenuLook Look(int* BackButtonHeight);
    std::vector<TbsAppMenuItemInfo> ItemInfos() const;
    bool Usable(int I) const;
    void ShowScrollbar();
    void HideScrollBar();
    void AdjustScrollBar();
    void DrawItem(TCanvas* Canvas, int I);
    void DrawDefItem(TCanvas* Canvas, int I);
    bool Highlighted(int I) const;
    void ItemContent(TCanvas* Canvas, int I, TRect R, bool Uniform, int Spacing);
    bool ActOnItem(WORD Key);
    void SizeChanged();

    std::unique_ptr<TbsAppMenuItems> FItems;
    int FScrollOffset = 0;
    TbsSkinScrollBar* FScrollBar = nullptr;  // owned as a component while shown
    int FOldHeight = -1;
    int FOldWidth = -1;
    TRect FBackButtonRect{};
    bool FBackButtonActive = false;
    int FItemIndex = -1;
    int FItemActive = -1;
    TbsAppMenuPage* FActivePage = nullptr;  // borrowed
    int FItemWidth = 100;
    TCustomImageList* FItemImageList = nullptr;        // borrowed
    TCustomImageList* FItemPageImageList = nullptr;    // borrowed
    TCustomImageList* FBackButtonImageList = nullptr;  // borrowed
};
