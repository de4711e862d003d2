// Skinned popup menus: the controller TbsSkinMenu that shows the children of a TMenuItem as a chain of levels and
// runs the selection (mouse poll, keys, delayed submenus, scrolling, choosing, close notices), the level window
// TbsSkinPopupWindow (built, sized, placed and painted from the skin's POPUPWINDOW and menu item records, or in the
// default look) and its entries TbsSkinMenuItem.
//
// Index: WM_AFTERDISPATCH, CanMenuClose, TbsSkinMenuItem, TbsSkinPopupWindow, TbsSkinMenu.
//
// Ownership: the controller owns its levels (FPopupList), a level owns its items. A level that closes while one of
// its own handlers runs is hidden at once and freed after the handler returned (the controller's release timer).
// The skin container, the menu items and the controls told of a close are borrowed. Skin records are only read: an
// item whose record has no usable picture keeps null rectangles of its own. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Component.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/GdiHandles.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "skin/core/AlphaFade.h"
#include "skin/core/SkinData.h"
#include "skin/form/SkinForm.h"  // WM_CLOSESKINMENU

// The chosen item's command has run (to the control that opened the menu).
constexpr UINT WM_AFTERDISPATCH = 1229;

// True for the messages of the owning form that close an open skinned menu.
bool CanMenuClose(UINT Msg);

class TbsSkinMenu;
class TbsSkinPopupWindow;

// One entry of a level.
// The popup window record's corner points and items rectangle moved to a window of W x H, its picture being
// PicW x PicH: menu levels and the images menu size their frame the same way.
struct TbsPopupFramePoints {
    TPoint LT, RT, LB, RB;
    TRect Items;
};
TbsPopupFramePoints MovePopupFramePoints(const TbsDataSkinPopupWindow& PW, int PicW, int PicH, int W, int H);

class TbsSkinMenuItem {
  public:
    TbsSkinMenuItem(TbsSkinPopupWindow* AParent, TMenuItem* AMenuItem, TbsDataSkinMenuItem* AData);

    void Draw(TCanvas* Cnvs);
    void Redraw();
    void MouseEnter(bool Kb);
    void MouseLeave();
    void MouseDown(int X, int Y);
    bool EnableMorphing() const;
    bool EnableAnimation() const;
    bool CanMorphing();
    void DoMorphing();
    void SetMorphKf(double Value);

    // Kinds of entry.
    bool IsSeparator() const { return MenuItem->IsLine(); }
    bool IsGroupCaption() const;
    bool Selectable() const { return MenuItem->Enabled() && !IsSeparator(); }

    TbsSkinPopupWindow* Parent;
    TbsDataSkinMenuItem* MI;
    TBitmap* ActivePicture = nullptr;
    double FMorphKf = 0;
    TMenuItem* MenuItem;
    TRect ObjectRect{};
    bool Active = false;
    bool Down = false;
    bool FVisible = true;
    bool WaitCommand = false;
    int CurrentFrame = 0;

  private:
    void DefaultDraw(TCanvas* Cnvs);
    void CreateItemImage(TBitmap* B, bool AActive, bool Resize, int Frame);
    void DrawGroupCaptionItem(TCanvas* Cnvs, const TRect& R, const std::wstring& Text, bool Resize);
    void DrawSkinGlyph(TCanvas* Cnvs, const TRect& Normal, const TRect& ActiveR, const TRect& R, bool AActive);
    TRect FrameRect(int Frame) const;
    void DrawCaptionAndShortCut(TCanvas* C, const TRect& T, int G, int RightGap, bool OddFix);
    bool HasImage(int& W, int& H) const;
    void DrawImageOrGlyph(TCanvas* C, const TRect& T, const TRect* ImageR, TColor GlyphColor, bool AActive, int HShift);

    // The record's picture rectangles, null when the record's picture is missing (the record stays untouched).
    TRect skinRect_{};
    TRect activeSkinRect_{};
};

// One open level: a topmost tool window that never takes the focus. Outside tools find it by its window text (the
// caption of the entry it opened from, else "Menu") and read its entries from window properties (MenuLevelProps.h).
class TbsSkinPopupWindow : public TCustomControl {
  public:
    TbsSkinPopupWindow(TComponent* AOwner, TbsSkinMenu* AParentMenu, TbsDataSkinPopupWindow* AData);
    ~TbsSkinPopupWindow() override;

    void Show(const TRect& R, TMenuItem* AItem, int StartIndex, bool PopupByItem, bool PopupUp);
    void Show2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool PopupByItem, bool PopupUp);
    void Hide();
    void PaintMenu(HDC DC);
    void PopupKeyDown(int CharCode);

    // Input (also driven by tests through the window's own messages and the poll).
    void TestMouse();
    // A new button press outside every level and outside the program, seen by the root level's poll.
    bool ForeignPress();
    void TestActive(int X, int Y);
    int GetActive(int X, int Y) const;
    void MouseUp(int X, int Y);
    bool CanScroll(int Code) const;
    void StartScroll();
    void StopScroll();
    void ScrollUp(bool Cycle);
    void ScrollDown(bool Cycle);
    void NextItem();
    void PriorItem();
    void CalcItemRects();
    int GetEndStartVisibleIndex() const;
    int GetItemHeight() const;
    int ItemHeight(const TbsSkinMenuItem* Item) const;
    void TestMorph();
    // The canvas of the window for drawing a single entry after a state change.
    void DrawItemNow(TbsSkinMenuItem* Item);
    // Draws at once on the level's window, outside a paint.
    void DrawNow(const std::function<void(TCanvas*)>& Draw);
    void DrawMarkersNow();

    TbsDataSkinMenuItem* DSMI = nullptr;
    int VisibleCount = 0;
    int VisibleStartIndex = 0;
    bool Scroll = false;
    bool Scroll2 = false;
    int ScrollCode = 0;
    TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
    TRect NewItemsRect{};
    TGdiRegion FRgn;
    int ShowX = 0, ShowY = 0;
    int OMX = -1, OMY = -1;
    TCustomImageList* ImgL = nullptr;
    int GlyphWidth = 19;
    TBitmap* WindowPicture = nullptr;
    TBitmap* MaskPicture = nullptr;
    int OldActiveItem = -1;
    std::unique_ptr<TTimer> MouseTimer;
    std::unique_ptr<TTimer> MorphTimer;
    TbsSkinMenu* ParentMenu;
    TbsSkinData* SD = nullptr;
    TbsDataSkinPopupWindow* PW = nullptr;
    std::vector<std::unique_ptr<TbsSkinMenuItem>> ItemList;
    int ActiveItem = -1;
    std::unique_ptr<TBitmap> FPaintBuffer;
    // The font items are measured and drawn with (from the skin or the controller's default).
    std::unique_ptr<TFont> ItemFont;

  protected:
    bool buttonsDown_ = false;  // the buttons were down at the last poll (the press that opened the menu counts)

    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;

  private:
    void CreateMenu(TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool Merged);
    void CalcSizes(bool Merged);
    void CalcMenuPos(const TRect& R, bool PopupByItem, bool PopupUp);
    void CreateRealImage(TBitmap* B, bool DrawClient);
    void SetMenuWindowRegion();
    void DrawUpMarker(TCanvas* C);
    void DrawDownMarker(TCanvas* C);
    void DrawScrollArea(TCanvas* C, const TRect& R);
    void ShowLevel(const TRect& R, bool PopupByItem, bool PopupUp);
    int CalcItemTextWidth(TCanvas* C, TbsSkinMenuItem* Item);
    int FindHotKeyItem(int CharCode) const;
    void SetActive(int Index, bool Kb);
};

// The controller: one per skinned form.
class TbsSkinMenu : public TComponent {
  public:
    TbsSkinMenu(TComponent* AOwner, TComponent* AForm);
    ~TbsSkinMenu() override;

    void SetDefaultMenuItemFont(TFont* Value);
    void Popup(TControl* APopupCtrl,
               TbsSkinData* ASkinData,
               int StartIndex,
               const TRect& R,
               TMenuItem* AItem,
               bool PopupUp);
    void Popup2(TControl* APopupCtrl,
                TbsSkinData* ASkinData,
                int StartIndex,
                const TRect& R,
                TMenuItem* AItem,
                TMenuItem* AItem2,
                bool PopupUp);
    void Hide();
    void CloseMenu(int N);
    void CheckItem(TbsSkinPopupWindow* PW, TbsSkinMenuItem* Item, bool Click, bool Kb);
    void WaitItem();
    int GetPWIndex(const TbsSkinPopupWindow* PW) const;
    TRect GetWorkArea(TPoint P) const;
    void PopupSub(const TRect& R, TMenuItem* AItem, int StartIndex, bool PopupByItem, bool PopupUp);
    void PopupSub2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool PopupByItem, bool PopupUp);
    void UpDatePW(TbsSkinPopupWindow* PW);

    bool Visible() const { return FVisible; }
    int LevelCount() const { return static_cast<int>(FPopupList.size()); }
    TbsSkinPopupWindow* Level(int Index) const { return FPopupList[static_cast<size_t>(Index)].get(); }
    TbsSkinPopupWindow* LastLevel() const { return FPopupList.empty() ? nullptr : FPopupList.back().get(); }

    bool FUseSkinFont = true;
    bool FUseSkinSize = true;
    bool FFirst = false;
    int FDefaultMenuItemHeight = 20;
    std::unique_ptr<TFont> FDefaultMenuItemFont;
    TControl* PopupCtrl = nullptr;
    TControl* DCtrl = nullptr;
    TComponent* FForm;
    std::unique_ptr<TTimer> WaitTimer;
    TbsSkinMenuItem* WItem = nullptr;
    TRect WorkArea{};
    bool FVisible = false;
    TbsSkinData* SkinData = nullptr;
    TNotifyEvent FOnMenuClose;
    std::vector<std::unique_ptr<TbsSkinPopupWindow>> FPopupList;
    bool AlphaBlend = false;
    BYTE AlphaBlendValue = 150;
    bool AlphaBlendAnimation = false;
    int MaxMenuItemsInWindow = 0;
    // The clock and the wait the first level's fade-in is timed by; replaceable in tests.
    TFadeClock FadeClock = SystemFadeClock();

    // What outlives the controller while a level handler still runs: levels closed meanwhile wait until the last
    // handler has returned (also when the controller itself was freed from inside one, e.g. by an OnClick).
    struct TLife {
        bool Alive = true;
        int Depth = 0;
        std::vector<std::unique_ptr<TbsSkinPopupWindow>> Orphans;
    };
    // Marks a level handler as running for its lifetime.
    class THandlerScope {
      public:
        explicit THandlerScope(TbsSkinMenu* Menu) : menu_(Menu), life_(Menu->life_) { ++life_->Depth; }
        ~THandlerScope();
        THandlerScope(const THandlerScope&) = delete;
        THandlerScope& operator=(const THandlerScope&) = delete;
        bool MenuAlive() const { return life_->Alive; }

      private:
        TbsSkinMenu* menu_;
        std::shared_ptr<TLife> life_;
    };
    void PurgeReleased();

  protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

  private:
    void Notify(TControl* Ctrl, UINT Msg);
    std::vector<std::unique_ptr<TbsSkinPopupWindow>> released_;
    std::unique_ptr<TTimer> releaseTimer_;
    std::shared_ptr<TLife> life_ = std::make_shared<TLife>();
};
