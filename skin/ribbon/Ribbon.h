// TbsRibbon: an office-style tab strip on top of a form. One row of page tabs with the application button at its
// left end and small command buttons (then the MDI child buttons) at its right end; below the row the selected tab's
// page (TbsRibbonPage) in a framed area. Drawn from the tab entry "officetab" (buttons from "officeribbonbutton",
// else "resizetoolbutton") or a built-in look; painted once per erase and paint pair. The application button opens
// the application menu (AppMenu.h), which covers the form's client area below the button; while it is open the
// ribbon keeps one filter in the application's message chain that takes the Escape that closes it. The skinned
// form drives it through IbsFormRibbon (Alt/F10, Alt with a tab's accelerator, the MDI buttons, the menu's caption
// in the title). GUI thread only.
// Index: TbsRibbonTab, TbsRibbonTabs, TbsRibbonButtonItem, TbsRibbonButtonItems, TbsRibbon, GetUniqueName.
#pragma once

#include <functional>
#include <string>

#include "classlib/Classes.h"
#include "classlib/ImgList.h"
#include "skin/controls/SkinControl.h"
#include "skin/form/FormRibbon.h"

class TbsRibbon;
class TbsRibbonPage;
class TbsAppButton;
class TbsAppMenu;
class TbsAppMenuItem;
class TbsSkinPopupMenu;
class TbsSkinHint;
class TbsDataSkinTabControl;
class TbsDataSkinButtonControl;
class TbsSkinForm;
class TCanvas;
class TCustomForm;

// The first name Pattern (with one %d) gives for 1, 2, 3 ... that no component of Form has (1 without a form).
std::wstring GetUniqueName(const std::wstring& Pattern, TComponent* Form);

class TbsRibbonTab : public TCollectionItem {
  public:
    explicit TbsRibbonTab(TCollection* Collection);
    TbsRibbonPage* Page() const { return FPage; }
    void SetPage(TbsRibbonPage* Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Assign(TPersistent* Source) override;

    bool Active = false;  // hovered
    TRect ItemRect{};
    int Width = 0;

  private:
    TbsRibbon* Ribbon() const;
    TbsRibbonPage* FPage = nullptr;  // borrowed: the form owns the page
    bool FVisible = true;
};

class TbsRibbonTabs : public TCollection {
  public:
    explicit TbsRibbonTabs(TbsRibbon* ARibbon);
    TbsRibbonTab* Items(int Index) const { return static_cast<TbsRibbonTab*>(TCollection::Items(Index)); }
    // At run time a new tab gets a new page of its own, which becomes the selected one.
    TbsRibbonTab* Add();
    TbsRibbonTab* Insert(int Index);
    // A tab's page goes with it.
    void Delete(int Index);
    TPersistent* GetOwner() override;
    TbsRibbon* Ribbon;  // borrowed: the owner

  protected:
    TCollectionItem* CreateItem() override;
    void Update(TCollectionItem* Item) override;

  private:
    TbsRibbonTab* WithPage(TbsRibbonTab* Tab);
};

class TbsRibbonButtonItem : public TCollectionItem {
  public:
    explicit TbsRibbonButtonItem(TCollection* Collection);
    ~TbsRibbonButtonItem() override;
    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    TbsSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
    virtual void SetPopupMenu(TbsSkinPopupMenu* Value);
    const std::wstring& Caption() const { return FCaption; }
    virtual void SetCaption(const std::wstring& Value);
    void Assign(TPersistent* Source) override;

    std::wstring Hint;
    TNotifyEvent OnClick;
    TRect ItemRect{};
    bool Active = false;
    bool Down = false;
    int Code = 0;  // 0 a command button; MDI buttons: 1 close, 2 restore, 3 minimise

  private:
    TbsRibbon* Ribbon() const;
    int FImageIndex = -1;
    bool FEnabled = true;
    bool FVisible = true;
    TbsSkinPopupMenu* FPopupMenu = nullptr;  // borrowed
    std::wstring FCaption;
};

class TbsRibbonButtonItems : public TCollection {
  public:
    explicit TbsRibbonButtonItems(TbsRibbon* ARibbon);
    TbsRibbonButtonItem* Items(int Index) const { return static_cast<TbsRibbonButtonItem*>(TCollection::Items(Index)); }
    TbsRibbonButtonItem* Add() { return static_cast<TbsRibbonButtonItem*>(TCollection::Add()); }
    TPersistent* GetOwner() override;
    TbsRibbon* Ribbon;  // borrowed: the owner

  protected:
    TCollectionItem* CreateItem() override;
    void Update(TCollectionItem* Item) override;
};

class TbsRibbon : public TbsSkinControl, public IbsFormRibbon {
  public:
    explicit TbsRibbon(TComponent* AOwner);
    ~TbsRibbon() override;

    TbsRibbonTabs* Tabs() const { return FTabs.get(); }
    void SetTabs(TbsRibbonTabs* Value);
    TbsRibbonButtonItems* Buttons() const { return FButtons.get(); }
    void SetButtons(TbsRibbonButtonItems* Value);
    TbsRibbonButtonItems* MDIButtons() const { return FMDIButtons.get(); }
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int Value);
    TbsRibbonPage* ActivePage() const;
    void SetActivePage(TbsRibbonPage* Page) override;
    int GetPageIndex(TbsRibbonPage* Page) const;
    bool AnyTabVisible() const;
    int TabFromPoint(TPoint P) const;
    void FindFirst();
    void FindLast();
    void FindNextPage();
    void FindPriorPage(bool CanFocusAppButton);

    bool UseSkinFont = true;
    bool TabBoldStyle() const { return FTabBoldStyle; }
    void SetTabBoldStyle(bool Value);
    int AppButtonWidth() const { return FAppButtonWidth; }
    void SetAppButtonWidth(int Value);
    int AppButtonSpacing() const;
    void SetAppButtonSpacing(int Value);
    int AppButtonMargin() const;
    void SetAppButtonMargin(int Value);
    std::wstring AppButtonCaption() const;
    void SetAppButtonCaption(const std::wstring& Value);
    TCustomImageList* AppButtonImageList() const { return FAppButtonImageList; }
    void SetAppButtonImageList(TCustomImageList* Value);
    int AppButtonImageIndex() const { return FAppButtonImageIndex; }
    void SetAppButtonImageIndex(int Value);
    TbsSkinPopupMenu* AppButtonPopupMenu() const { return FAppButtonPopupMenu; }
    void SetAppButtonPopupMenu(TbsSkinPopupMenu* Value);
    TCustomImageList* ButtonsImageList() const { return FButtonsImageList; }
    void SetButtonsImageList(TCustomImageList* Value);
    bool ButtonsShowHint = false;
    TbsSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* Value);
    TbsAppMenu* AppMenu() const { return FAppMenu; }
    void SetAppMenu(TbsAppMenu* Value);
    TbsAppButton* GetAppButton() const { return FAppButton; }
    void ShowAppButton();

    TNotifyEvent OnChangingPage, OnChangePage, OnMenuClose;

    // Geometry: the tab row's height, the page bounds (Left, Top, Right = width, Bottom = height), the right
    // reserve of the buttons after the last layout, the first tab's x.
    int RibbonTopHeight();
    TRect GetPageBoundsRect();
    int LeftOffset() const { return FLeftOffset; }
    int RightOffset() const { return FRightOffset; }
    bool ShowDivider() const { return FShowDivider; }
    void GetMDIButtonsSize(int& W, int& H);
    // Lays the tabs and buttons out with Canvas's font.
    void CalcItemRects(TCanvas* Canvas);
    void PaintRibbon(TCanvas* Canvas);
    // How often the control was painted whole (an erase and the paint after it count once).
    int PaintCount() const { return FPaintCount; }
    // The tab entry in force after a fresh lookup (nullptr: the built-in look) and its picture.
    TbsDataSkinTabControl* TabEntry();
    TBitmap* TabPicture();

    // The application menu.
    void ShowAppMenu();
    void HideAppMenu(TbsAppMenuItem* Item);
    bool InAppHook() const { return FAppHook != 0; }
    // Popup menu of a button, under its rectangle; its close (1228) releases the button.
    void TrackMenu(const TRect& R, TbsSkinPopupMenu* Menu);
    void HideTrackMenu();
    // MDI child buttons.
    void MDIChildMaximize() override;
    void MDIChildRestore() override;
    void ShowMDIButtons();
    void HideMDIButtons();
    // Hover at a point (-1, -1: none).
    void TestActive(int X, int Y);
    int ActiveButton() const { return FActiveButton; }

    // IbsFormRibbon: what the skinned form asks.
    void SetSkinForm(TbsSkinForm* Value) override { SKF = Value; }
    TbsSkinForm* SkinForm() const { return SKF; }
    void HideAppMenu() override { HideAppMenu(nullptr); }
    bool AppMenuVisible() override;
    void FocusRibbon() override;
    bool RibbonShortCut(TWMKey& Key) override;
    bool CanDrawAppMenuCaption() override;
    void DrawAppMenuCaption(TCanvas* Canvas, const TRect& R1, const TRect& R2) override;
    int GetAppMenuCaptionOffset() override;
    int AppMenuItemWidth() override;

    void SetSkinData(TbsSkinData* Value) override;
    void ChangeSkinData() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

    // Called by the tabs and pages.
    void CreatePageForItem(TbsRibbonTab* Tab);
    void TabVisibilityChanged(TbsRibbonTab* Tab, int Index);
    void TabDeleted(int Index);
    void PageDestroyed(TbsRibbonPage* Page);
    bool FStopCheckTabIndex = false;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void CreateControlDefaultImage(TBitmap* B) override { PaintRibbon(B->Canvas()); }
    void CreateControlSkinImage(TBitmap* B) override { PaintRibbon(B->Canvas()); }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

  private:
    void HookApp();
    void UnHookApp();
    void PlaceAppMenu();
    TbsDataSkinButtonControl* ButtonEntry(TBitmap** Picture);
    void PaintBG(TCanvas* Canvas, const TRect& R);
    void DrawTab(TCanvas* Canvas, int I);
    void DrawDefTab(TCanvas* Canvas, int I);
    void DrawButton(TCanvas* Canvas, int I);
    void DrawMDIButton(TCanvas* Canvas, int I);
    void MDIClick(int Code);
    TCustomForm* MaximizedMDIChild() const;
    bool ButtonsShown() const;
    bool IsModernSkin();
    void TabCaption(TCanvas* Canvas, const std::wstring& Text, const TRect& R);

    std::unique_ptr<TbsRibbonTabs> FTabs;
    std::unique_ptr<TbsRibbonButtonItems> FButtons;
    std::unique_ptr<TbsRibbonButtonItems> FMDIButtons;
    int FTabIndex = -1;
    bool WMEraseReady = false;
    bool FInWMPaint = false;
    int FPaintCount = 0;
    int FTabActive = -1;
    int FActiveButton = -1;
    int FMDIActiveButton = -1;
    int FAppButtonWidth = 54;
    TbsAppButton* FAppButton = nullptr;               // owned as a component
    TCustomImageList* FAppButtonImageList = nullptr;  // borrowed
    int FAppButtonImageIndex = 0;
    TbsSkinPopupMenu* FAppButtonPopupMenu = nullptr;  // borrowed
    TCustomImageList* FButtonsImageList = nullptr;    // borrowed
    TbsSkinHint* FSkinHint = nullptr;                 // borrowed
    TbsAppMenu* FAppMenu = nullptr;                   // borrowed
    int FMouseCaptureButton = -1;
    int FMouseCaptureMDIButton = -1;
    int FPopupButton = -1;
    bool FTabBoldStyle = false;
    bool FShowDivider = false;
    int FLeftOffset = 57;
    int FRightOffset = 5;
    int FAppHook = 0;            // the id of the filter in the application's chain while the menu is open
    TbsSkinForm* SKF = nullptr;  // borrowed: the skinned form that linked itself
};
