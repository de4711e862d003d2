// TbsSkinMDITabsBar: one tab per MDI child of the main form. A click activates the child, the right button opens its
// system menu, tabs are dragged to reorder, each tab may carry a close button and the child's icon, an add button
// raises an event, and a list button (all children) and a hidden-list button (tabs without room) drop menus. The
// skinned main form adds and removes the tabs as children show and hide (IbsMDITabsBar) and marks the active one.
// Built-in look: button-face bar, tabs $F3D4C1 hot and $E4BCA2 active; skinned: the "tab" entry.
//
// Index: TbsSkinMDITabKind, TbsMDITab, TbsSkinMDITabsBar.
//
// Ownership: the tabs, both menus and both list buttons are the bar's; the children and the skinned form are
// borrowed (free notification: a child that goes takes its tab, its drag and its open menu with it). GUI thread only.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "classlib/Forms.h"
#include "skin/controls/SkinControl.h"
#include "skin/form/SkinForm.h"
#include "skin/mdi/MDITabsLayout.h"

class TbsSkinMenuSpeedButton;
class TbsSkinPopupMenu;
class TbsSkinMDITabsBar;

enum TbsSkinMDITabKind { bstkTab, bstkButton };

class TbsMDITab {
  public:
    TbsSkinMDITabsBar* TabsBar = nullptr;
    bool Active = false;  // its child is the active MDI child
    bool MouseIn = false;
    TRect ObjectRect{};
    TCustomForm* Child = nullptr;
    bool Visible = false;  // laid out within the bar
    TRect ButtonRect{};    // the close button, relative to the tab
    bool ButtonMouseIn = false, ButtonMouseDown = false;
};

using TbsMDITabEvent = std::function<void(TbsMDITab* Tab)>;
using TbsMDITabMouseEvent = std::function<void(TMouseButton Button, TShiftState Shift, TbsMDITab* Tab)>;
using TbsMDITabDrawEvent = std::function<void(TbsMDITab* Tab, TCanvas* Canvas)>;

class TbsSkinMDITabsBar : public TbsSkinControl, public IbsMDITabsBar {
  public:
    explicit TbsSkinMDITabsBar(TComponent* AOwner);
    ~TbsSkinMDITabsBar() override;

    // IbsMDITabsBar.
    void AddTab(TCustomForm* Child) override;
    void DeleteTab(TCustomForm* Child) override;
    void RefreshTab(TCustomForm* Child) override;
    void CheckActive() override;

    int TabCount() const { return static_cast<int>(ObjectList.size()); }
    TbsMDITab* Tabs(int Index) const { return ObjectList[static_cast<size_t>(Index)].get(); }
    // The first laid-out tab containing (X, Y), edges included; -1 / nullptr when none.
    int GetTabIndex(int X, int Y);
    TbsMDITab* GetTab(int X, int Y);
    void DoClose(TbsMDITab* Tab);
    // Lays the tabs out for the bar's present size (done at every paint too).
    void CalcObjectRects();

    bool ShowAddButton() const { return FShowAddButton; }
    void SetShowAddButton(bool Value);
    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool Value);
    int MinTabWidth() const { return FMinTabWidth; }
    void SetMinTabWidth(int Value);
    int DefaultTabWidth() const { return FDefaultTabWidth; }
    void SetDefaultTabWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    TbsSkinMDITabKind TabKind() const { return FTabKind; }
    void SetTabKind(TbsSkinMDITabKind Value);
    bool ShowChildIcon() const { return FShowChildIcon; }
    void SetShowChildIcon(bool Value);
    TbsSkinForm* SkinForm() const { return SKF; }
    void SetSkinForm(TbsSkinForm* Value);
    bool MoveTabs = true;
    bool SupportChildMenus = true;
    bool DblClickChildMove = false;
    bool UseSkinSize = true;
    bool UseSkinFont = true;
    TFont* DefaultFont() { return FDefaultFont.get(); }

    TNotifyEvent OnAddButtonClick;
    TbsMDITabEvent OnTabMouseEnter, OnTabMouseLeave;
    TbsMDITabMouseEvent OnTabMouseUp, OnTabMouseDown;
    TbsMDITabDrawEvent OnTabGetDrawParamsEvent;

    // State read by tests and tools.
    int InVisibleCount() const { return FInVisibleCount; }
    bool Dragging() const { return IsDrag; }
    int DragTabIndex() const { return DragIndex; }
    TRect AddButtonRect() const { return FAddButtonRect; }
    TbsSkinMenuSpeedButton* ListButton() const { return FListButton; }
    TbsSkinMenuSpeedButton* HideListButton() const { return FHideListButton; }
    TbsSkinPopupMenu* ListMenu() const { return FListMenu; }
    TbsSkinPopupMenu* HideListMenu() const { return FHideListMenu; }
    // Rebuilds the list menus as their buttons do just before they drop down.
    void UpdateListMenu();
    void UpdateHideListMenu();
    // The child whose system menu the right click opened (nullptr when none is open).
    TCustomForm* MenuChild() const { return FMenuChild; }

    void ChangeSkinData() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

  protected:
    void AdjustClientRect(TRect& Rect) override;
    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  private:
    bool SkinnedLook() const;
    void DrawBar(TBitmap* B);
    void DrawTab(TCanvas* C, TbsMDITab* Tab);
    void DrawCloseButton(TCanvas* C, TbsMDITab* Tab, const TRect& R);
    void DrawAddButton(TCanvas* C);
    void DrawDropMarker(TCanvas* C);
    void TestActive(int X, int Y);
    void ResetDrag();
    void RemoveTabAt(size_t Index);
    void MenuItemClick(TObject* Sender, const std::wstring& Suffix);
    void CreateListButton();
    TbsSkinMenuSpeedButton* NewListButton(int Arrow, TAlign Where, TbsSkinPopupMenu* Menu, TNotifyEvent BeforeDrop);
    void FillMenu(TbsSkinPopupMenu* Menu, const wchar_t* Suffix, bool HiddenOnly);
    void ShowHideListButton(bool Show);
    void ChildMenuClosed();
    TbsMDITabsLayout Layout();

    std::vector<std::unique_ptr<TbsMDITab>> ObjectList;
    bool FShowAddButton = false, FAddButtonActive = false, FAddButtonDown = false;
    int FBottomOffset = 0;
    bool FShowCloseButtons = false;
    int FMinTabWidth = 0;
    TbsSkinMDITabKind FTabKind = bstkTab;
    bool IsDrag = false;
    int DX = 0, TabDX = 0;
    bool FDown = false;
    int DragIndex = -1;
    int FDefaultTabWidth = 100;
    int FDefaultHeight = 21;
    std::unique_ptr<TFont> FDefaultFont;
    int ActiveTabIndex = -1, OldTabIndex = -1;
    TbsSkinForm* SKF = nullptr;                     // borrowed
    TbsSkinMenuSpeedButton* FListButton = nullptr;  // owned as components
    TbsSkinMenuSpeedButton* FHideListButton = nullptr;
    TbsSkinPopupMenu* FListMenu = nullptr;
    TbsSkinPopupMenu* FHideListMenu = nullptr;
    int FInVisibleCount = 0;
    TRect FAddButtonRect{};
    bool FShowChildIcon = false;
    int FCloseSize = 14;
    TCustomForm* FMenuChild = nullptr;  // borrowed: the child whose menu is open

    // From the "tab" entry at the last lookup.
    TBitmap* Picture = nullptr;
    TRect TabRect{}, ActiveTabRect{}, MouseInTabRect{}, TabsBGRect{};
    int TabLeftOffset = 0, TabRightOffset = 0;
    std::wstring FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = clBtnText, ActiveFontColor = clBtnText, MouseInFontColor = clBtnText;
    bool TabStretchEffect = false;
    TRect CloseButtonRect{}, ClosebuttonActiveRect{}, CloseButtonDownRect{};
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = clNone;
    TPoint LTPoint{}, RTPoint{};
    TRect SkinRect{}, ClRect{};
    bool TopStretch = false;
    int FActiveTabOffset = 0;
};
