// TbsSkinMainMenuBar: a skinned bar (alTop, 22 high without a skin) showing the top-level items of a TMainMenu as
// entries; an entry with children drops its items down through the bound skinned form's SkinMenu, one without runs
// its command. The bar follows the mouse by a 50 ms poll and the keyboard through the form's menu mode, hides the
// entries that do not fit behind a 5-pixel scroll marker whose click lists them, merges a child menu by group index,
// and while an MDI child is maximised shows that child's system-menu, close, maximise (restore) and minimise buttons.
//
// MDI: the bar learns of the maximised child through MaximizedChild (a form, or nullptr), set by the MDI side, and
// is told of changes by MDIChildMaximize / MDIChildRestore.
//
// Index: TbsMenuBarObject, TbsSkinMainMenuBarItem, TbsSkinMainMenuBarButton, TbsSkinMainMenuBar.
//
// Ownership: the bar owns its objects (rebuilt on every menu, merge or skin change; an object whose own handler
// caused the rebuild is freed after that handler returns); the menus, the skinned form and the skin are borrowed and
// cleared by notification. GUI thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "skin/controls/SkinControl.h"
#include "skin/core/SkinObjects.h"
#include "skin/core/SkinTypes.h"
#include "skin/form/SkinForm.h"

class TbsSkinForm;
class TbsSkinMainMenuBar;
class TbsDataSkinMainMenuBar;

// A TObject: an entry is the sender of its menu item's OnDrawItem.
class TbsMenuBarObject : public TObject {
  public:
    TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);

    virtual void Redraw();
    virtual void Draw(TCanvas* /*Cnvs*/) {}
    virtual void MouseDown(int /*X*/, int /*Y*/, TMouseButton /*Button*/) {}
    virtual void MouseUp(int /*X*/, int /*Y*/, TMouseButton /*Button*/) {}
    virtual void DblClick() {}
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool CanMorphing() const;
    // Morphing asked for by the record, with effects on in a skin (off with see-through tool-bar entries).
    bool EnableMorphing() const;
    // One step of 0.2 toward the highlighted (Active) or the normal image.
    void DoMorphing();
    void SetMorphKf(double Value);
    // Between the two images: neither at 1 while highlighted nor at 0 while not.
    bool MorphInProgress() const;

    TbsSkinMainMenuBar* Parent;
    TBitmap* Picture = nullptr;  // borrowed: the skin picture of the record
    bool FMouseIn = false;
    bool FDown = false;
    std::wstring IDName;
    TRect SkinRect{}, ActiveSkinRect{}, DownRect{}, ObjectRect{};
    bool Active = false;
    bool Enabled = true;
    bool Visible = true;
    // The object's own copy of the record's flag (records are shared and never written).
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    double FMorphKf = 0;  // 0 the normal image, 1 the highlighted one
};

class TbsSkinMainMenuBarItem : public TbsMenuBarObject {
  public:
    TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinMainMenuItem* AData, TMenuItem* AMenuItem);
    void Draw(TCanvas* Cnvs) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Redraw() override;
    void SetDown(bool Value);
    void TrackMenu();
    // A frame strip in the record, a skin with effects on, not in tool-bar mode.
    bool EnableAnimation() const;
    // One animation step (up while highlighted, down while not); false when nothing changed.
    bool StepAnimation();
    int CurrentFrame = 0;  // 1..FrameCount: that frame shows; 0 or past FrameCount: the still images
    // The entry's width for the layout (caption, image, skin margins).
    int LayoutWidth(TCanvas* Measure);
    bool HasChildren() const { return MenuItem && MenuItem->Count() > 0; }

    TMenuItem* MenuItem;  // borrowed
    bool FSkinSupport;
    bool Fits = true;  // laid out within the bar
    bool OldEnabled = true;
    TbsDataSkinMainMenuItem* Data;  // borrowed, never written

  private:
    void SetFont(TCanvas* C);
    void DrawCaption(TCanvas* C, TRect R, TColor Color);
    // The entry's background for source rectangle Src of the record's picture at the entry's size.
    void ItemImage(TBitmap* B, const TRect& Src, bool Highlighted, TCanvas* Bar);
    // Tool-bar mode: the "resizetoolbutton" look; false without it. Text: its client rectangle at this size.
    bool ToolBarItemImage(TBitmap* B, TCanvas* Bar, TRect& Text, TColor& Color);
    TRect FrameRect(int Frame) const;
    // The other entry that is down / active (told apart by identity: unnamed items share an empty name).
    TbsSkinMainMenuBarItem* SearchDown();
    TbsSkinMainMenuBarItem* SearchActive();
};

class TbsSkinMainMenuBarButton : public TbsMenuBarObject {
  public:
    // AData nullptr: a built-in button acting by its role.
    TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent, TbsDataSkinStdButton* AData, TbsStdCommand ACommand);
    void Draw(TCanvas* Cnvs) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void DblClick() override;
    void DoCommand();
    void DefaultDraw(TCanvas* Cnvs);

    bool FSkinSupport;
    TbsStdCommand Command;
};

class TbsSkinMainMenuBar : public TbsSkinControl, public IbsMainMenuBar, public IbsMDIMenuBar {
  public:
    explicit TbsSkinMainMenuBar(TComponent* AOwner);
    ~TbsSkinMainMenuBar() override;

    TMainMenu* MainMenu() const { return FMainMenu; }
    void SetMainMenu(TMainMenu* Value);
    TbsSkinForm* SkinForm() const { return SKF; }
    void SetSkinForm(TbsSkinForm* Value);
    void Merge(TMainMenu* Value);
    void UnMerge();
    void UpDateItems();
    void UpDateEnabledItems();
    TMainMenu* GetChildMainMenu();

    // ---- MDI ----
    // The maximised MDI child of the bar's form, nullptr when none: by default the one the skinned MDI main form
    // reports (the active child when maximised, else the first maximised one).
    std::function<TCustomForm*()> MaximizedChild;
    // IbsMDIMenuBar: the skinned form binds the bar (SetSkinForm) and tells it of maximised and activated children.
    void MDIChildMaximize() override;
    void MDIChildRestore() override;
    // Rebuilds the entries when they show a child's menu or the active child has one.
    void CheckMDIMainMenu() override;
    // The entries include a merged child menu.
    bool ChildMenuIn() const { return FChildMenuIn; }
    bool MDIChildMax() const { return FMDIChildMax; }
    int ButtonsCount = 0;

    // ---- Menu mode and keys (the skinned form calls these) ----
    void MenuEnter() override;
    void MenuClose();
    void MenuExit() override;
    void NextMainMenuItem() override;
    void PriorMainMenuItem() override;
    bool CheckReturnKey() override;
    bool FindHotKeyItem(WORD Key) override;
    void TrackScrollMenu();

    void DrawSkinObject(TbsMenuBarObject* O);
    void TestActive(int X, int Y);
    // The object list (MDI buttons first), its hot and pressing objects.
    std::vector<std::unique_ptr<TbsMenuBarObject>> ObjectList;
    int ActiveObject = -1, OldActiveObject = -1, MouseCaptureObject = -1;
    TRect NewItemsRect{};
    TRect MarkerRect() const;
    bool Scroll = false, MarkerActive = false, MenuActive = false;
    bool ScrollMenu = true;
    // Entries drawn as tool buttons ("resizetoolbutton") and, without the skin size, the bar as a tool panel.
    bool ToolBarMode() const { return FToolBarMode; }
    void SetToolBarMode(bool Value);
    // In tool-bar mode normal entries show the bar through them.
    bool ToolBarModeItemTransparent() const { return FToolBarModeItemTransparent; }
    void SetToolBarModeItemTransparent(bool Value);
    // Morphing and frame animation of the objects (25 ms; the animation takes an entry's interval).
    void TestMorph();
    void TestAnimate();
    std::unique_ptr<TTimer> MorphTimer, AnimateTimer;
    bool UseSkinFont = true, UseSkinSize = true;
    bool PopupToUp = false;
    int DefaultHeight = 22;
    TFont* DefItemFont() { return FDefItemFont.get(); }
    std::function<void(TMenuItem*)> OnItemMouseEnter, OnItemMouseLeave;
    TbsDataSkinMainMenuBar* BarData() const;
    bool FSkinSupport = false;
    // The entries (without the buttons).
    std::vector<TbsSkinMainMenuBarItem*> Entries() const;
    // The entries laid out within the bar and enabled.
    std::vector<TbsSkinMainMenuBarItem*> ShownEntries() const;
    // Entry objects run handlers under this: a rebuild meanwhile frees the old objects afterwards.
    struct THandlerScope {
        explicit THandlerScope(TbsSkinMainMenuBar* B) : bar(B) { ++bar->FHandlerDepth; }
        ~THandlerScope();
        TbsSkinMainMenuBar* bar;
    };

    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  protected:
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

  private:
    friend class TbsSkinMainMenuBarItem;
    friend class TbsSkinMainMenuBarButton;
    void CreateMenu();
    void ClearObjects();
    void AddButtons();
    void DeleteButtons();
    void CheckButtons(TCustomForm* Child);
    void CalcRects(TCanvas* Measure);
    void PaintObjects(TBitmap* B);
    void DrawMarker(TCanvas* C);
    void TestMouse();
    void ResetIndexes();
    void RepaintBar();
    void PaintToolPanel(TBitmap* B);
    bool ParentShowsThrough() const;

    bool FToolBarMode = false, FToolBarModeItemTransparent = false;
    TMainMenu* FMainMenu = nullptr;   // borrowed
    TMainMenu* FMergeMenu = nullptr;  // borrowed
    TbsSkinForm* SKF = nullptr;       // borrowed
    bool FMDIChildMax = false;
    bool FChildMenuIn = false;
    TMainMenu* FChildMenu = nullptr;  // borrowed: the child's menu the entries show (free notification)
    int FLastItemIndex = -1;
    std::unique_ptr<TFont> FDefItemFont;
    std::unique_ptr<TTimer> MouseTimer;
    int FHandlerDepth = 0;
    std::vector<std::unique_ptr<TbsMenuBarObject>> FReleased;
};
