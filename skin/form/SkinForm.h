// TbsSkinForm: gives its owner form the skin's window frame. It takes over the form's WindowProc (and hands the
// saved one back when it goes), clears the form's own caption buttons, and answers the non-client messages: the
// frame's size (WM_NCCALCSIZE), hit testing, the size limits, the window region cut from the skin's mask, and the
// painting of frame and client background, off-screen and copied out once. Without a skin with data it draws the
// built-in frame: a 3-pixel border and a 19-pixel caption bar (15 for tool windows). A skin change of its container
// (messages 1225-1227) rebuilds the frame and walks every control of the form through IbsSkinnedControl.
//
// Index: TbsBorderIcon, TbsSkinForm, GetSkinFormComponent.
//
// Ownership: the caption objects, the mask strips and the caption fonts are the component's; the skin container is
// borrowed (cleared by notification); the window region belongs to the system once set. GUI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Component.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Graphics.h"
#include "skin/core/AlphaFade.h"
#include "skin/core/SkinData.h"
#include "skin/form/FrameGeometry.h"

class TbsFormLayerBorder;
class TbsActiveSkinObject;
class TbsLayerManager;
class TbsTrayIcon;
class TbsSkinPopupMenu;
class TbsClientInActivePanel;
class TbsQuickButtonItems;
class TbsSkinHint;
class TCustomImageList;

// Where the first show puts a form; the cover of an inactive form's client area.
enum TbsPositionInMonitor { bspDefault, bspScreenCenter, bspDesktopCenter };
enum TbsClientInActiveEffect { bsieSemiTransparent, bsieBlur };

// Scoped: the class library's form has icons of the same names.
enum class TbsBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TbsBorderIcons = TSet<TbsBorderIcon>;

// Fixed numbers of the frame's private messages.
constexpr UINT WM_CLOSESKINMENU = 1228;
constexpr UINT WM_QUERYSKINNEDFRAME = 45490;
constexpr UINT WM_BEGINSMARTEFFECTS = 45491;
constexpr UINT WM_ENDSMARTEFFECTS = 45492;
constexpr UINT CM_SENCPAINT = 45513;
constexpr UINT CM_BENCPAINT = 48203;
constexpr LPARAM kBENCPaintKey = 16802;

class TbsSkinMenu;
class IbsFormRibbon;
class TMenuItem;
class TPopupMenu;

// The messages between a skinned MDI main form and its skinned children (wParam 0, lParam 0 unless said).
constexpr UINT WM_RESIZEMDICHILD = 1230;       // to each child: a maximised child takes the whole work area
constexpr UINT WM_MDIMAXIMIZEALL = 1231;       // a child is being maximised
constexpr UINT WM_MDICHILDRESTORED = 1232;     // a child left the maximised state
constexpr UINT WM_MDICHILDMOVED = 1233;        // a child moved, showed or (wParam its handle) went
constexpr UINT WM_MDIRESTOREALL = 1234;        // a child is being restored
constexpr UINT WM_MDIRESTOREALLEXCEPT = 1235;  // a child (wParam) is being minimised
constexpr UINT WM_MDIQUERYMAXIMIZED = 1236;    // answer 1: an MDI main form with a maximised child

// The MDI tab bar as the skinned form of the main form sees it (implemented by TbsSkinMDITabsBar, skin/mdi; a
// component, so the form hears of its going).
class IbsMDITabsBar {
  public:
    virtual ~IbsMDITabsBar() = default;
    virtual void AddTab(TCustomForm* Child) = 0;
    virtual void DeleteTab(TCustomForm* Child) = 0;
    virtual void RefreshTab(TCustomForm* Child) = 0;
    virtual void CheckActive() = 0;
};

// The main form's menu bar as the MDI coordination sees it (implemented by the skinned main menu bar; a component,
// so the form hears of its going): its MDI buttons show while a child is maximised, and it rebuilds its items when
// it shows a child's merged menu and the active child changes.
class IbsMDIMenuBar {
  public:
    virtual ~IbsMDIMenuBar() = default;
    virtual void MDIChildMaximize() = 0;
    virtual void MDIChildRestore() = 0;
    virtual void CheckMDIMainMenu() = 0;
};

// The skinned scroll bar the MDI main form shows over its client window, as a windowed control of the form. The
// skinned scroll bar lives in a library above this one: linking skin/mdi installs the maker (SetMDIScrollBarMaker);
// without one the form shows no scroll bars.
class IbsMDIScrollBar {
  public:
    virtual ~IbsMDIScrollBar() = default;
    virtual TWinControl* Control() = 0;
    virtual void SetRange(int Max, int PageSize, int Position) = 0;
    virtual int Position() const = 0;
    virtual void SetPosition(int Value) = 0;
    virtual void SetBoth(bool Value) = 0;
    // Up and down buttons, position changes, page steps and the end of a drag.
    TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnChange, OnLastChange;
};
class TbsSkinForm;
using TbsMDIScrollBarMaker = std::function<std::unique_ptr<IbsMDIScrollBar>(TbsSkinForm* Form, bool Horizontal)>;
void SetMDIScrollBarMaker(TbsMDIScrollBarMaker Maker);

// The events of the caption objects, given the object's IDName (user objects are painted by OnPaintEvent).
using TbsObjectMouseEvent =
    std::function<void(const std::wstring& IDName, int X, int Y, const TRect& ObjectRect, TMouseButton Button)>;
using TbsObjectMouseMoveEvent = std::function<void(const std::wstring& IDName, int X, int Y, const TRect& ObjectRect)>;
using TbsObjectNotifyEvent = std::function<void(const std::wstring& IDName)>;
using TbsObjectPaintEvent = std::function<void(const std::wstring& IDName, TCanvas* Canvas, const TRect& ObjectRect)>;
// Replaces the caption text painting: the canvas, where the caption lies on it, and whether the active look is due.
using TbsCaptionPaintEvent = std::function<void(TCanvas* Canvas, const TRect& R, bool ActiveLook)>;

// A status bar whose size grip the skinned form hides while it is maximised (a component, so the form hears of its
// going).
class IbsSizeGripBar {
  public:
    virtual ~IbsSizeGripBar() = default;
    virtual bool SizeGrip() const = 0;
    virtual void SetShowGrip(bool Value) = 0;
};

// The main menu bar as its form drives it in menu mode (skin/menubar implements it).
class IbsMainMenuBar {
  public:
    virtual ~IbsMainMenuBar() = default;
    virtual void MenuEnter() = 0;
    virtual void MenuExit() = 0;
    virtual void NextMainMenuItem() = 0;
    virtual void PriorMainMenuItem() = 0;
    virtual bool CheckReturnKey() = 0;
    virtual bool FindHotKeyItem(WORD Key) = 0;
};

class TbsSkinForm : public TComponent {
  public:
    // AOwner must be a form (EInvalidOperation otherwise).
    explicit TbsSkinForm(TComponent* AOwner);
    ~TbsSkinForm() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TbsBorderIcons Value);
    bool SkinnableForm() const { return FSkinnableForm; }
    // The skinned frame is in use (a container with data is bound).
    bool SkinSupport() const { return FSkinSupport; }
    TCustomForm* Form() const { return FForm; }

    TbsSizeLimits Limits;
    bool ShowIcon = false;
    bool AlwaysResize = false;
    TFont* DefCaptionFont() { return FDefCaptionFont.get(); }
    TFont* DefInActiveCaptionFont() { return FDefInActiveCaptionFont.get(); }
    TNotifyEvent OnChangeSkinData, OnBeforeChangeSkinData, OnAfterChangeSkinData;

    // The layered border (owned as a component); its windows drive a resize while FBorderLayerChangeSize is set.
    TbsFormLayerBorder* BorderLayer() const { return FBorderLayer; }
    bool CanShowBorderLayer() const;
    // A layered border with the whole frame is shown: the form's own window is only its client area.
    bool FullBorderShown() const;
    bool FBorderLayerChangeSize = false;
    bool AlwaysDisableLayeredFrames = false;
    bool PreviewMode = false;

    // Geometry the window answers with (also read by tests).
    int GetMinWidth();
    int GetMinHeight();
    int GetMaxWidth();
    int GetMaxHeight();
    // Screen point to frame coordinates (the window's top-left corner is (0, 0)).
    TPoint PointToNCPoint(TPoint P);
    int HitTest(TPoint FramePoint);
    // The rectangle of the first caption object named AIDName in frame coordinates (empty when none).
    TRect ObjectRect(const std::wstring& AIDName);

    // Caption objects (SkinFormObjects.h), in skin order; the index of the hot object and of the one holding the
    // mouse (-1 none).
    std::vector<std::unique_ptr<TbsActiveSkinObject>> ObjectList;
    TbsActiveSkinObject* FindObject(const std::wstring& AIDName) const;
    int ActiveObjectIndex() const { return ActiveObject; }
    int MouseCaptureObjectIndex() const { return MouseCaptureObject; }
    // The hot-object search at frame point (X, Y); AActive false (or (-1, -1)) only takes the hot state away.
    void TestActive(int X, int Y, bool AActive);
    // Clears the hover state of every object but the caption text.
    void UpDateActiveObjects();
    // Follows a change of the form's active state; AAnimate plays the caption's strip and cross-fade.
    void FormChangeActive(bool AAnimate);
    // Takes the window's real activation into the frame state and the caption objects, without animation (new
    // caption objects start inactive; a missed activation message must not leave the frame inactive).
    void TakeRealActivation();
    bool GetFormActive() const;
    // Repaints one object in the window's frame (or the layered border's top image).
    void DrawSkinObject(TbsActiveSkinObject* AObject);
    // The timers of the objects: 50 ms mouse poll, 25 ms cross-fade and 25 ms frame steps.
    TTimer* MouseTimerOf() const { return MouseTimer.get(); }
    TTimer* MorphTimerOf() const { return MorphTimer.get(); }
    TTimer* AnimateTimerOf() const { return AnimateTimer.get(); }
    bool UseSkinFontInCaption = true;
    TbsObjectMouseEvent OnMouseDownEvent, OnMouseUpEvent;
    TbsObjectMouseMoveEvent OnMouseMoveEvent;
    TbsObjectNotifyEvent OnMouseEnterEvent, OnMouseLeaveEvent;
    TbsObjectPaintEvent OnPaintEvent;
    TbsCaptionPaintEvent OnCaptionPaint;
    TNotifyEvent OnActivate, OnDeActivate;

    // Frame painting into DC (nullptr: the window's own DC).
    void PaintNCSkin(HDC DC);
    void PaintNCDefault(HDC DC);
    void UpDateFormNC();
    // How often the frame has been painted onto the window (by either painter).
    std::uint64_t FramePaintCount() const { return FFramePaints; }

    // Rebuild the frame from SkinData.
    void ChangeSkinData();

    // Quick buttons of the caption (QuickButtons.h), drawn and run by the caption text object; the images come from
    // QuickImageList (without one no quick button is drawn or clickable), their hints through SkinHint.
    TbsQuickButtonItems* QuickButtons() const { return FQuickButtons.get(); }
    TCustomImageList* QuickImageList() const { return FQuickImageList; }
    void SetQuickImageList(TCustomImageList* Value);
    bool QuickButtonsShowHint = false;
    bool QuickButtonsShowDivider = true;
    TbsSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* Value);
    bool DisableSystemMenu = false;
    // A skin with data whose client area starts at x 1.
    bool IsModernSkin() const;

    // Skinned menus (SkinFormMenus.cpp): the controller every popup of this form opens through, the container its
    // menus are drawn with (nullptr: SkinData), and the form's menu state (an open menu hooks the application's
    // messages so keys reach the menu).
    TbsSkinMenu* SkinMenu() const { return FSkinMenu.get(); }
    TbsSkinData* MenusSkinData() const { return FMSD; }
    void SetMenusSkinData(TbsSkinData* Value);
    bool InMenu() const { return FInMenu; }
    // The form's main menu bar (it registers itself), and whether the bar is in menu mode (Alt or F10 entered it).
    IbsMainMenuBar* MainMenuBar() const { return FMainMenuBar; }
    void SetMainMenuBar(IbsMainMenuBar* Value);
    bool InMainMenu() const { return FInMainMenu; }
    void SkinMainMenuClose();
    // The bar opened a drop-down: menu mode, keys through the application hook.
    void EnterMainMenu();
    void SkinMenuOpen();
    void SkinMenuClose();
    // The system menu: its items for the form's present state, opened at a screen point or beside a rectangle, or
    // at the caption's system-menu button (Alt+Space).
    TMenuItem* GetSystemMenu();
    void TrackSystemMenu(int X, int Y);
    void TrackSystemMenu2(const TRect& R);
    void PopupSystemMenu();
    TNotifyEvent OnSkinMenuOpen, OnSkinMenuClose;

    // ---- Window states, roll-up, tray (SkinFormStates.cpp) ----------------------------------------------------------
    // The state the frame has put the form in: maximised and the parked caption-only minimised frame are normal
    // windows for the system, sized by this component. The application's main form minimises the application.
    TWindowState WindowState() const { return FWindowStateInit; }
    void SetWindowState(TWindowState Value);
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool Value);
    // The height before the roll-up while rolled up, else the frame's height.
    int RealHeight();
    // The bounds to come back to (before a minimise or maximise), else the form's own.
    TRect GetNormalBoundsRect();
    bool MinimizeDefault = false;
    bool MinimizeApplication = false;
    bool AlwaysMinimizeToTray = false;
    bool AlwaysShowInTray = false;
    bool MaximizeOnFullScreen = false;
    int ClientWidth = 0, ClientHeight = 0;
    TbsTrayIcon* TrayIcon() const { return FTrayIcon; }
    void SetTrayIcon(TbsTrayIcon* Value);
    void MinimizeToTray();
    void RestoreFromTray();
    TbsSkinPopupMenu* SysTrayMenu() const { return FSysTrayMenu; }
    TNotifyEvent OnMinimize, OnMaximize, OnRestore, OnChangeRollUpState, OnMinimizeToTray, OnRestoreFromTray;
    // The caption buttons' hints for the container's resource strings (also the answer to 1274).
    void CheckObjectsHint();
    std::wstring ObjectHint(const std::wstring& AIDName, bool Restore = false) const;
    bool UseDefaultObjectHint = true;

    // ---- Showing, translucency, placement, docking (SkinFormShow.cpp) ------------------------------------------
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value);
    int AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(int Value);
    bool AlphaBlendAnimation = false;
    TbsPositionInMonitor PositionInMonitor = bspDefault;
    bool Magnetic = false;
    int MagneticSize = 5;
    bool ClientInActiveEffect = false;
    TbsClientInActiveEffect ClientInActiveEffectType = bsieSemiTransparent;
    // The panel covering the client area of the inactive form (nullptr while active).
    TbsClientInActivePanel* InActivePanel() const { return FInActivePanel; }
    // Switches between the skinned frame and the form's native frame at run time.
    void SetSkinnableForm(bool Value);
    // Centred place of a W x H rectangle for PositionInMonitor, or (X, Y) with bspDefault.
    TPoint GetPositionInMonitor(int X, int Y, int W, int H);
    // Snapping: ALeft and ATop of a proposed place are moved onto the work area's edges within MagneticSize.
    void DoMagnetic(int& ALeft, int& ATop, int AWidth, int AHeight);
    // The form's bounds as seen with its layered border (outer bounds when one with a border rectangle shows).
    void Move(int AX, int AY);
    void SetBounds(int AX, int AY, int AWidth, int AHeight);
    // The clock and the wait the show's fade is timed by; replaceable in tests and tools.
    TFadeClock FadeClock = SystemFadeClock();

    // The walks over AControl and all its children; ASkinData nullptr means every skinned control.
    static void BeforeUpDateSkinControls(TbsSkinData* ASkinData, TControl* AControl);
    static void UpDateSkinControls(TbsSkinData* ASkinData, TControl* AControl);

    // The status bar (a component implementing IbsSizeGripBar) whose grip hides while the form is maximised.
    TComponent* StatusBar() const { return FStatusBar; }
    void SetStatusBar(TComponent* Value);

    // ---- The ribbon on the form (SkinFormRibbon.cpp) -----------------------------------------------------------
    // A component implementing IbsFormRibbon (FormRibbon.h), told its form; nullptr: none. Alt or F10 closes its
    // application menu and focuses it, the form's short cuts reach its application-button menu and its tabs'
    // accelerators, and its open application menu draws its caption into the title.
    TComponent* SkinRibbon() const { return FSkinRibbon; }
    void SetSkinRibbon(TComponent* Value);
    bool CanDrawAppMenuCaption();
    int GetAppMenuCaptionOffset();
    // ---- MDI coordination (SkinFormMDI.cpp) ---------------------------------------------------------------------
    // On an MDI main form (fsMDIForm): the children's states go together, the client window is painted with the
    // skin and has no frame, skinned scroll bars show when children lie outside, the window menu and the tab bar
    // list the children. On an MDI child: it tells the main form of its states and registers itself.
    bool IsMDIMainForm() const;
    bool IsMDIChildForm() const;
    // The area the MDI client window covers, in the main form's client coordinates (not set without main form).
    void GetMDIWorkArea(TRect& R);
    void ResizeMDIChilds();
    TbsSkinForm* GetMaximizeMDIChild();
    bool IsMDIChildMaximized() const { return FMDIChildMaximized; }
    void Tile();
    void Cascade();
    void MinimizeAll();
    void MaximizeAll();
    void CloseAll();
    void RestoreAll();
    void RestoreAllExcept(HWND AFormHandle);
    void ArangeMinimizedChilds();
    void GetMDIScrollInfo(bool AChangeRange);
    void AdjustMDIScrollBars();
    void MDIHScroll(int Delta);
    void MDIVScroll(int Delta);
    bool ShowMDIScrollBars() const { return FShowMDIScrollBars; }
    void SetShowMDIScrollBars(bool Value);
    IbsMDIScrollBar* MDIHScrollBar() const { return FMDIHScrollBar.get(); }
    IbsMDIScrollBar* MDIVScrollBar() const { return FMDIVScrollBar.get(); }
    TTileMode TileMode = tbHorizontal;
    // The tab bar of this (main) form: a component implementing IbsMDITabsBar.
    TComponent* MDITabsBar() const { return FMDITabsBar; }
    void SetMDITabsBar(TComponent* Value);
    // The menu bar of this (main) form for the MDI coordination: a component implementing IbsMDIMenuBar.
    TComponent* MDIMenuBar() const { return FMDIMenuBar; }
    void SetMDIMenuBar(TComponent* Value);
    void CheckMDIMainMenu();
    // Asked before a child gets a tab (Accept starts true).
    std::function<void(bool& Accept)> OnAcceptToMDITabsBar;
    // Menu items of the main form's window menu (a child's component acting on the main form).
    void AddChildToMenu(TCustomForm* Child);
    void DeleteChildFromMenu(TCustomForm* Child);
    void UpDateChildCaptionInMenu(TCustomForm* Child);
    void UpDateChildActiveInMenu();
    void MDIItemClick(TObject* Sender);
    void AddChildToBar(TCustomForm* Child);
    void DeleteChildFromBar(TCustomForm* Child);
    void RefreshMDIBarTab(TCustomForm* Child);
    void CheckMDIBar();
    // The caption the frame shows: a main form with a maximised child adds " - [child caption]".
    std::wstring FrameCaption();

  protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

  private:
    // MDI (SkinFormMDI.cpp): answers ahead of the dispatch (true: done) and after it.
    bool MDIFirst(TMessage& Message);
    void MDIAfter(TMessage& Message);
    void HookMDIClient();
    void UnHookMDIClient();
    static LRESULT CALLBACK MDIClientProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    LRESULT FormClientWindowProcHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    void PaintMDIBG(HDC DC);
    void InitMDIScrollBars();
    void RestoreTail();
    void MDIChildStateChanged(TWindowState Old, TWindowState Value);
    bool ArrangeStart(std::vector<TbsSkinForm*>& Children, TRect& Area);
    void MDIScrollBarMoved(bool Horizontal);
    void MDIScrollBarStep(bool Horizontal, int Delta);
    std::vector<TbsSkinForm*> MDIChildComponents();
    TCustomForm* MDIMainForm() const;
    TbsSkinForm* MainFormComponent() const;
    void SendToMain(UINT Msg, WPARAM WParam = 0);
    bool FMDIChildMaximized = false, FInMaximizeAll = false, FInRestoreAll = false, FStopCheckChildMove = false;
    bool FInScrollInfo = false;
    HWND ChangeVisibleChildHanle = nullptr;
    std::unique_ptr<IbsMDIScrollBar> FMDIHScrollBar, FMDIVScrollBar;
    int FOldHSrollBarPosition = 0, FOldVSrollBarPosition = 0;
    bool FShowMDIScrollBars = true;
    HWND FClientWnd = nullptr;
    WNDPROC FPrevClientProc = nullptr;
    TComponent* FMDITabsBar = nullptr;  // borrowed, cleared by notification
    TComponent* FMDIMenuBar = nullptr;  // borrowed, cleared by notification

    // The border lays out, draws and runs the form's caption objects in its top window.
    friend class TbsFormLayerBorder;
    friend class TbsFormLayerWindow;
    // The caption objects draw with the form's state and act on it.
    friend class TbsActiveSkinObject;
    friend class TbsUserObject;
    friend class TbsSkinButtonObject;
    friend class TbsSkinStdButtonObject;
    friend class TbsSkinAnimateObject;
    friend class TbsSkinCaptionObject;
    bool FullBorderAvailable() const;
    // The form's side of the border (LayerBorder.cpp): true when the message is answered for a full border.
    bool LayerBorderFirst(TMessage& Message);
    void LayerBorderAfter(TMessage& Message);
    void LayerBorderSkinChanged();
    // Window states (SkinFormStates.cpp): answers ahead of the dispatch (true: the message is done) and after it.
    bool StatesFirst(TMessage& Message);
    void StatesAfter(TMessage& Message);
    void SetWindowStateTemp(TWindowState Value);
    void DoMinimize();
    void DoMaximize();
    void DoNormalize();
    TPoint GetMinimizeCoord();
    void CreateRollUpForm();
    void RestoreRollUpForm();
    void CaptionDblClick();
    void CreateSysTrayMenu();
    bool IsMainForm() const;
    TRect MaximizedRect();
    // Showing (SkinFormShow.cpp).
    bool ShowFirst(TMessage& Message);
    void ShowAfter(TMessage& Message);
    void StartAlphaShow();
    void AlphaShowTimer();
    void ApplyPositionInMonitor();
    void CorrectFormBounds();
    void ApplyClientSize();
    void SaveBoundsForBorder();
    void ShowClientInActiveEffect();
    void HideClientInActiveEffect();
    void LoadBorderIcons();
    bool LayeredAvailable() const;
    TRect FormWorkArea(bool WorkArea);

    void NewWndProc(TMessage& Message);
    // Returns true when the form's own processing is to follow.
    bool FirstDispatch(TMessage& Message);
    void SecondDispatch(TMessage& Message);
    void CallOld(TMessage& Message);

    bool HasBorder() const;
    bool IsSizeAble() const;
    bool IsToolWindow() const;
    bool FormMinimized() const;
    // The window state a command's caption button stands for is in force (the button shows its restore look).
    bool CommandStateInForce(TbsStdCommand Command) const;
    bool FormMaximized() const;
    void WindowSize(int& W, int& H) const;
    TbsLimitState LimitState() const;
    bool Skinned() const { return FSkinSupport && FSD && !FSD->Empty && FSD->FPicture && !FSD->FPicture->Empty(); }
    TbsFrameSkin FrameSkin() const;
    bool HasMask() const;

    void CalcLayout(int W, int H);
    void CreateNewRegion(bool AUpdate);
    void CreateNewForm(bool AUpdate);
    void ClearObjects();
    void LoadObjects();
    void LoadDefObjects();
    void CheckObjects();
    bool PtInMask(TPoint P) const;
    bool InCaption(TPoint P);
    // A quick button of the caption lies under P.
    bool QuickButtonAt(TPoint P);
    // Every visible object onto Canvas (window coordinates).
    void DrawObjects(TCanvas* Canvas);
    void PaintBG(HDC DC);
    void PaintBGDefault(HDC DC);
    void PaintNC(HDC DC);
    // Caption object input (SkinFormInput.cpp): the button under P (visible, enabled, on its mask; not the caption
    // text), the timers' ticks, and the frame's mouse messages routed to the hot or capturing object.
    int ObjectAt(TPoint P);
    void TestMouse();
    void TestMorph();
    void TestAnimate();
    void MouseMove(TPoint P);
    void MouseDown(TPoint P, TMouseButton Button);
    void MouseUp(TPoint P, TMouseButton Button);
    void MouseDblClick();
    void RunCommand(TbsStdCommand Command);
    void MouseDownEvent(const std::wstring& IDName, int X, int Y, const TRect& R, TMouseButton Button);
    void MouseUpEvent(const std::wstring& IDName, int X, int Y, const TRect& R, TMouseButton Button);
    void MouseMoveEvent(const std::wstring& IDName, int X, int Y, const TRect& R);
    void MouseEnterEvent(const std::wstring& IDName);
    void MouseLeaveEvent(const std::wstring& IDName);
    void PaintEvent(const std::wstring& IDName, TCanvas* Canvas, const TRect& R);
    // The form's small icon at (X, Y) of Canvas, or with its alpha into a layered image's canvas.
    void DrawFormIcon(TCanvas* Canvas, int X, int Y);
    void DrawFormIconAlpha(TCanvas* Canvas, int X, int Y);
    bool RolledUp() const { return FRollUpState; }
    // Menu handling ahead of everything else in the window procedure; true when the message is done.
    bool MenuMessage(TMessage& Message);
    void HookApp();
    void UnHookApp();
    void FormKeyDown(WPARAM Key);
    bool MainMenuKey(WPARAM Key);
    void CreateSysMenu();
    void CreateMenuParts();
    void DestroyMenuParts();

    TCustomForm* FForm = nullptr;
    TWndMethod OldWindowProc;
    std::unique_ptr<TbsQuickButtonItems> FQuickButtons;
    TCustomImageList* FQuickImageList = nullptr;  // borrowed, cleared by notification
    TbsSkinHint* FSkinHint = nullptr;             // borrowed, cleared by notification
    TbsSkinData* FSD = nullptr;
    TbsBorderIcons FBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize,
                                TbsBorderIcon::biRollUp};
    bool FSkinnableForm = true;
    bool FSkinSupport = false;
    bool FStopPainting = false;
    std::uint64_t FFramePaints = 0;
    bool FFormActive = false;
    bool FSizeMove = false;
    bool FSmartEffectsShow = false;
    bool FInChangeSkinData = false;
    // The form's drawing is held (WM_SETREDRAW) for a skin change: the window is shown although it lacks WS_VISIBLE.
    bool FDrawingHeld = false;
    // The form's window is on screen (or only its drawing is held).
    bool FormWindowShown() const;
    int ActiveObject = -1;
    int OldActiveObject = -1;
    int MouseCaptureObject = -1;
    // Polls the cursor while an object is hot: the frame gets no message when the mouse leaves it.
    std::unique_ptr<TTimer> MouseTimer, MorphTimer, AnimateTimer;
    // The glow windows of the caption buttons (owned as components).
    TbsLayerManager* FLayerManager = nullptr;
    TbsLayerManager* FMenuLayerManager = nullptr;

    TbsFrameRects rects_;
    TRect NewDefCaptionRect;
    std::vector<TbsFrameObject> objects_;
    std::unique_ptr<TBitmap> RMTop, RMBottom, RMLeft, RMRight;
    std::unique_ptr<TFont> FDefCaptionFont, FDefInActiveCaptionFont;

    std::unique_ptr<TbsSkinMenu> FSkinMenu;
    std::unique_ptr<TPopupMenu> FSysMenu;  // the system menu's items, rebuilt at each opening
    TbsSkinData* FMSD = nullptr;           // borrowed, cleared by notification
    bool FInMenu = false;
    IbsMainMenuBar* FMainMenuBar = nullptr;  // borrowed: the bar unregisters itself
    bool FInMainMenu = false;
    int FAppHook = 0;                            // the application message filter while a menu is open, 0 when none
    TbsFormLayerBorder* FBorderLayer = nullptr;  // owned as a component

    TWindowState FWindowState = wsNormal, FWindowStateInit = wsNormal;
    TComponent* FStatusBar = nullptr;  // borrowed
    TComponent* FSkinRibbon = nullptr;  // borrowed
    IbsFormRibbon* FRibbon = nullptr;   // the same object, through what the form asks of it
    bool FShortCutsChained = false;     // the form's OnShortCut is chained
    TShortCutEvent FOldShortCut;
    // The form's own short-cut handler keeps its place in front; the menu bar's hot keys and the ribbon answer what
    // it leaves.
    void ChainShortCuts();
    // Also lets go of the ribbon (the form goes).
    void UnchainShortCuts();
    // Alt plus an entry's accelerator outside menu mode: true when the bar opened or ran that entry.
    bool MainMenuBarShortCut(const TWMKey& Key);
    // Alt or F10 with a ribbon: true when the ribbon took the key.
    bool RibbonKeyMenu();
    void DrawRibbonCaption(TCanvas* C, int TopBandWidth, int TopBandHeight);
    TRect OldBoundsRect;  // null when none are saved
    bool FRollUpState = false, MaxRollUpState = false, FRollUpBeforeMaximize = false;
    int OldHeight = 0;
    TbsTrayIcon* FTrayIcon = nullptr;          // borrowed, cleared by notification
    TbsSkinPopupMenu* FSysTrayMenu = nullptr;  // owned as a component
    bool FStartShow = true;
    bool FAlphaBlend = false;
    int FAlphaBlendValue = 200;
    bool FAlphaShowPending = false;
    bool HMagnetized = false, VMagnetized = false, HMagnetized2 = false, VMagnetized2 = false;
    TPoint FOnMouseDownCoord{-1, -1};
    bool FCanMaximized = false, FCaptionMove = false;
    int FOldFormTop = 0;
    TRect FOldFormBounds;
    int FOldFullBorder = -1;
    TbsClientInActivePanel* FInActivePanel = nullptr;  // owned as a component while shown
    bool FClientInActiveDraw = false;
};

// Part B of Src over W x H of DC, off-screen first: tiled, or stretched by Type when Stretch.
void PaintPictureBackground(HDC DC, int W, int H, TBitmap* Src, const TRect& B, bool Stretch, TbsStretchType Type);

// The skinned form of the first MDI child (in child order) that is maximised; of the active MDI child. nullptr
// without an MDI main form, such a child, or its skinned form.
TbsSkinForm* GetMDIChildSkinFormComponent();
TbsSkinForm* GetMDIChildSkinFormComponent2();

// The first TbsSkinForm among AForm's components, or nullptr.
TbsSkinForm* GetSkinFormComponent(TComponent* AForm);
