// TbsTrayIcon: one icon in the taskbar's notification area. It keeps the icon, tooltip and balloon, turns mouse
// activity on the icon into Click, DblClick and mouse events (a single click is told from a double click by the
// system double-click time), opens its popup menu at the cursor, cycles the icon through an image list, comes
// back when the taskbar is re-created, and hides the application's main form in the tray and brings it back.
// Index: TbsBalloonHintIcon, TbsCycleEvent, WM_TRAYNOTIFY, WM_TRAYSHOWMAINFORM, TbsTrayIcon.
//
// Ownership: the icon, the hidden window and both timers are the component's; the image list and the popup menu
// are borrowed (forgotten when freed). It subclasses the application window and, when its owner is a windowed
// control, the owner's WindowProc, and puts both back when it goes. GUI thread only.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Component.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"

enum TbsBalloonHintIcon { bsbitNone, bsbitInfo, bsbitWarning, bsbitError };

using TbsCycleEvent = std::function<void(TObject* Sender, int NextIndex)>;

// The shell's callback to the hidden window; lParam is the mouse message on the icon.
inline constexpr UINT WM_TRAYNOTIFY = 0x800;
// Posted to the main form by ShowMainForm once the form is back (the skinned form answers it).
inline constexpr UINT WM_TRAYSHOWMAINFORM = 1426;
// The form's Tag while it is hidden in the tray or being shown from it.
inline constexpr std::intptr_t kTrayFormTag = -10000;

class TbsTrayIcon : public TComponent {
  public:
    explicit TbsTrayIcon(TComponent* AOwner);
    ~TbsTrayIcon() override;
    void BeforeDestruction() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    // The icon shown: the one set, or the list's image at IconIndex.
    TIcon* Icon() const { return FShown; }
    void SetIcon(TIcon* Value);  // copies the icon
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool Value);
    const std::wstring& Hint() const { return FHint; }
    void SetHint(const std::wstring& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    bool PopupByLeftButton() const { return FPopupByLeftButton; }
    void SetPopupByLeftButton(bool Value) { FPopupByLeftButton = Value; }
    bool MinimizedOnStart() const { return FMinimizedOnStart; }
    void SetMinimizedOnStart(bool Value) { FMinimizedOnStart = Value; }
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool Value) { FMinimizeToTray = Value; }
    TCustomImageList* IconList() const { return FIconList; }
    void SetIconList(TCustomImageList* Value);
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int Value);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool Value);
    UINT AnimateTimerInterval() const { return FAnimateTimerInterval; }
    void SetAnimateTimerInterval(UINT Value);

    // True: take the application's icon when none is set.
    virtual bool LoadDefaultIcon() { return true; }
    // Each returns whether the shell call succeeded.
    virtual bool ShowIcon();
    virtual bool HideIcon();
    virtual bool ModifyIcon();
    void Refresh() { ModifyIcon(); }

    bool ShowBalloonHint(const std::wstring& Title, const std::wstring& Text, TbsBalloonHintIcon IconType);
    bool HideBalloonHint();

    void ShowMainForm();
    void HideMainForm();

    // The hidden window the shell calls back, and the record last passed to the shell (for tests and tools).
    HWND WindowHandle() const { return IconData.hWnd; }
    const NOTIFYICONDATAW& Data() const { return IconData; }

    TNotifyEvent OnBalloonHintClick;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TbsCycleEvent OnCycle;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

  protected:
    virtual void Click();
    virtual void DblClick();
    virtual void CycleIcon();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void DoMinimizeToTray();

  private:
    static LRESULT CALLBACK StaticIconProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK
    AppSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    LRESULT HandleIconMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void HookApp();
    void UnhookApp();
    void HookForm();
    void UnhookForm();
    void HookFormProc(TMessage& Message);
    void InitIcon();
    bool Notify(DWORD message);
    void PopupAtCursor();
    void TimerClick();
    void TimerCycle();
    int NextIconIndex();
    // The list's image at index as an icon, made once and kept until the list changes: a blinking icon swaps two
    // ready handles instead of making an icon per tick.
    TIcon* ListIcon(int index);
    void IconListChanged();
    TWinControl* OwnerControl() const;

    bool FEnabled = true;
    std::unique_ptr<TIcon> FIcon;
    TIcon* FShown = nullptr;  // FIcon or one of FListIcons
    std::vector<std::unique_ptr<TIcon>> FListIcons;
    std::wstring windowTip_;  // the text last given to the hidden window
    TChangeLink FIconListLink;
    bool FIconVisible = true;
    bool FInShell = false;  // the shell holds the icon: a NIM_ADD succeeded and no NIM_DELETE followed
    std::wstring FHint;
    bool FShowHint = true;
    TPopupMenu* FPopupMenu = nullptr;  // borrowed
    bool FPopupByLeftButton = false;
    bool FMinimizedOnStart = false;
    bool FMinimizeToTray = true;
    bool FClickStart = false;
    bool FClickReady = false;
    TTimer* AnimateTimer = nullptr;  // owned as a component
    TTimer* ClickTimer = nullptr;    // owned as a component
    bool IsDblClick = false;
    int FIconIndex = 0;
    TCustomImageList* FIconList = nullptr;  // borrowed
    bool FCycleIcons = false;
    UINT FAnimateTimerInterval = 0;
    HWND hookedApp_ = nullptr;           // the application window we subclassed
    TWinControl* hookedForm_ = nullptr;  // the owner whose WindowProc we replaced
    TWndMethod OldWndProc;               // the owner's previous WindowProc
    NOTIFYICONDATAW IconData{};
};
