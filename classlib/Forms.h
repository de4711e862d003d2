// Forms, the application object and the screen.
// Index: TBorderStyle/TBorderIcons/TFormStyle/TWindowState/TPosition/TCloseAction/TModalResult, TCustomForm,
// TForm, TApplication, TScreen, the globals Application and Screen.
//
// The application owns a hidden top-level window (the owner of the forms' windows unless MainFormOnTaskBar), the
// message loop and the exception reporting. Its loop hands every message first to the OnMessage filters (newest
// first; a filter that sets Handled ends the message there), then offers key messages to the focused control
// (dialog keys, the form's short cuts, the application's), and only then translates and dispatches it. When the
// queue is empty it runs the idle work: mouse enter/leave, OnIdle, queued thread calls.
//
// Application and Screen are created on first use, which must be on the GUI thread, and freed at exit together
// with the forms the application owns. GUI thread only (threads use TThread::Synchronize and Queue).
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Hints.h"

class TMainMenu;
class TMenuItem;

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TTileMode { tbHorizontal, tbVertical };

// Asks an MDI main form to arrange its children (WParam: 0 tile, 1 cascade, 2 arrange icons). The form's own answer
// sends WM_MDITILE (TileMode), WM_MDICASCADE or WM_MDIICONARRANGE to its client window; a component that takes over
// the form's WindowProc (the skinned form) may answer it instead.
constexpr UINT CM_MDIARRANGE = CM_BASE + 55;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrAll = mrNo + 1, mrNoToAll = mrAll + 1,
                       mrYesToAll = mrNoToAll + 1;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(TWMKey& Msg, bool& Handled)>;

// ---- TCustomForm ---------------------------------------------------------------------------------------------------
// A top-level window. Built in code like a stored form: the constructor of a descendant calls BeginLoading(),
// creates its components and sets their properties, then EndLoading(), which runs Loaded() on every component and
// then OnCreate. OnDestroy runs first when the form is freed, while all its components are still there.
class TCustomForm : public TWinControl {
  public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons Value);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle Value);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState Value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition Value) { position_ = Value; }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool Value) { keyPreview_ = Value; }
    // Stored only (no automatic scrolling, sizing or scaling in this library).
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool Value) { autoScroll_ = Value; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value) { autoSize_ = Value; }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool Value) { scaled_ = Value; }
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* Value);
    // The form's icon (empty: the application's is used).
    TIcon* Icon() { return icon_.get(); }
    TCanvas* Canvas() { return canvas_.get(); }

    void Show();
    void Close();
    // Shows the form modally and returns its ModalResult (mrCancel when the application terminates). Other
    // windows of the thread are disabled meanwhile. EInvalidOperation when the form is visible or already modal.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value) { modalResult_ = Value; }
    bool Modal() const { return modal_; }
    // Frees the form once the messages already queued have been handled (safe inside its own event handlers).
    void Release();
    virtual bool CloseQuery();

    bool Active() const { return active_; }
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* Control);
    void FocusControl(TWinControl* Control);
    // Called when a control of the form receives the focus: CM_EXIT/CM_ENTER along the parent chains, then
    // CM_FOCUSCHANGED to every control. False when the form refuses (it is being destroyed).
    bool SetFocusedControl(TWinControl* Control);
    // Forgets Control as active control (Removing: it is going away).
    void DefocusControl(TWinControl* Control, bool Removing);
    // The form's OnShortCut, then its main menu's short cuts.
    virtual bool IsShortCut(TWMKey& Message);

    void SetFocus() override;
    bool CanFocus() override;
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void SetParent(TWinControl* AParent) override;
    void EndLoading() override;
    void BeforeDestruction() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // ---- MDI (FormsMDI.cpp) ----------------------------------------------------------------------------------------
    // An fsMDIForm makes the system's "MDICLIENT" window with its own window; it lies in the client area left over
    // by the aligned controls. An fsMDIChild form is made inside the application main form's client window
    // (WS_EX_MDICHILD); without an MDI main form it is an ordinary top-level form. Their default processing is
    // DefFrameProc and DefMDIChildProc. The style must be set before the window is made.
    HWND ClientHandle() const { return clientHandle_; }
    // The MDI children in the client window's z-order (the active one first), hidden ones included.
    int MDIChildCount();
    TCustomForm* MDIChildren(int I);
    TCustomForm* ActiveMDIChild();
    void Next();
    void Previous();
    void Tile();
    void Cascade();
    void ArrangeIcons();
    TTileMode TileMode = tbHorizontal;
    // The menu item under which the MDI children are listed (borrowed; cleared by notification).
    TMenuItem* WindowMenu() const { return windowMenu_; }
    void SetWindowMenu(TMenuItem* Value);
    // The window is a real MDI child (inside an MDI client window).
    bool IsMDIChildWindow();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnPaint;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void CreateWindowHandle(const TCreateParams& Params) override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void PaintWindow(HDC DC) override;
    virtual void Paint();
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();

  private:
    friend class TApplication;
    void ShowingChanged();
    void SetActive(bool Value);
    void SetWindowFocus();
    // Whether the focus given to the form goes on to its active control (never while the form is freed).
    bool ActiveControlTakesFocus(bool windowMayBeMade);
    void CloseModal();
    void ApplyPosition();

    TBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    TPosition position_ = poDesigned;
    bool keyPreview_ = false;
    bool autoScroll_ = false;
    bool autoSize_ = false;
    bool scaled_ = true;
    TMainMenu* menu_ = nullptr;  // borrowed; cleared by Notification
    TMenuItem* windowMenu_ = nullptr;  // borrowed; cleared by Notification
    HWND clientHandle_ = nullptr;      // the MDI client window, destroyed with the form's window
    void CreateMDIClient();
    void MDIChildParams(TCreateParams& Params);
    std::vector<TCustomForm*> MDIChildList();
    std::unique_ptr<TIcon> icon_;
    std::unique_ptr<TControlCanvas> canvas_;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    bool active_ = false;
    bool created_ = false;
    bool shownOnce_ = false;
    bool inShowingChanged_ = false;
    TWinControl* activeControl_ = nullptr;   // borrowed; cleared by DefocusControl
    TWinControl* focusedControl_ = nullptr;  // borrowed; the control that has the keyboard focus
};

class TForm : public TCustomForm {
  public:
    using TCustomForm::TCustomForm;
};

// ---- TApplication ---------------------------------------------------------------------------------------------------
class TApplication : public TComponent {
  public:
    using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;
    using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
    using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;

    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize() {}
    HWND Handle() const { return handle_; }
    std::wstring Title() const;
    void SetTitle(const std::wstring& Value);
    std::wstring ExeName() const;
    TIcon* Icon() { return icon_.get(); }
    DWORD MainThreadID() const { return mainThreadId_; }

    // The first form created through CreateForm. Closing it terminates the application.
    TCustomForm* MainForm() const { return mainForm_; }
    template <typename T>
    T* CreateForm() {
        T* form = new T(this);
        if (!mainForm_)
            mainForm_ = form;
        return form;
    }
    // Makes Form the main form when none is set (for forms created without CreateForm).
    void SetMainForm(TCustomForm* Form);
    // The main form carries the taskbar button itself (no owner window); other forms are owned by it.
    bool MainFormOnTaskBar() const { return mainFormOnTaskBar_; }
    void SetMainFormOnTaskBar(bool Value) { mainFormOnTaskBar_ = Value; }
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool Value) { showMainForm_ = Value; }

    // Shows the main form (when ShowMainForm) and runs the message loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles every message waiting, without idle work and without waiting.
    void ProcessMessages();
    // Handles one message, or does the idle work and waits for the next.
    void HandleMessage();

    void Minimize();
    void Restore();
    void BringToFront();
    bool Active() const { return active_; }

    // OnMessage as a chain: each filter gets every message before dispatch, the newest first; setting Handled
    // ends the message. Filters may be added and removed in any order, also from inside a filter.
    int AddOnMessage(TMessageEvent Filter);
    void RemoveOnMessage(int Id);

    // Inside a catch block: reports the exception being handled through OnException, or ShowException by
    // default. Never throws.
    void HandleException(TObject* Sender);
    // The default report: a message box with the exception's message.
    void ShowException(const std::exception& E);
    int MessageBox(const std::wstring& Text, const std::wstring& Caption, UINT Flags);

    // The application's short cuts (OnShortCut, then the main form's when another form had the key).
    bool IsShortCut(TWMKey& Message);

    // The control the mouse is over (see CM_MOUSEENTER / CM_MOUSELEAVE).
    TControl* MouseControl() const { return mouseControl_; }
    // Updates the control under the mouse and sends the enter and leave messages. The library calls it on mouse
    // messages and when idle.
    void DoMouseIdle();
    // Forgets a control that is being freed.
    void ControlDestroyed(TControl* Control);
    // Called when a window procedure of the library returns: asks for another try at the releases that waited
    // for it.
    void RetryReleases() {
        if (!pendingRelease_.empty() && handle_)
            PostMessageW(handle_, CM_RELEASE, 0, 0);
    }

    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool Value) { showHint_ = Value; }
    int HintPause = 500;
    int HintShortPause = 50;
    int HintHidePause = 2500;
    TColor HintColor = clInfoBk;
    // Makes the hint window (a THintWindow when empty); a skinned hint sets its own class here.
    THintWindowClass HintWindowClass;
    using TShowHintEvent = std::function<void(std::wstring& HintStr, bool& CanShow, THintInfo& HintInfo)>;
    // Before a hint appears: may change its text, place and window class, or refuse it.
    TShowHintEvent OnShowHint;
    // Shows the hint of the control under the mouse at once.
    void ActivateHint(TPoint CursorPos);
    // Hides the hint; the next one waits until the mouse reaches another control.
    void CancelHint();
    void HideHint();
    // The hint window in use (nullptr before the first hint).
    THintWindow* HintWindow() const;

    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TShortCutEvent OnShortCut;

  private:
    static LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    bool ProcessMessage(MSG& msg);
    bool IsKeyMsg(MSG& msg);
    void Idle();
    void RunMessageFilters(MSG& msg, bool& handled);
    // The hint machinery (Hints.cpp): the mouse is over Control now; Control is being freed.
    void HintMouseMessage(TControl* Control);
    void HintControlDestroyed(TControl* Control);
    friend class TCustomForm;
    // Forms whose Release is due; each is freed once no window procedure of it is running.
    void QueueRelease(TCustomForm* Form);
    void FreeReleasedForms();
    void ForgetForm(TCustomForm* Form);

    HWND handle_ = nullptr;
    DWORD mainThreadId_ = 0;
    TCustomForm* mainForm_ = nullptr;  // borrowed (owned as a component)
    bool mainFormOnTaskBar_ = false;
    bool showMainForm_ = true;
    bool terminated_ = false;
    bool active_ = false;
    bool showHint_ = true;
    int reportDepth_ = 0;
    std::vector<TCustomForm*> pendingRelease_;  // borrowed; forms leave the list when freed
    std::unique_ptr<TIcon> icon_;
    struct Filter {
        int id;
        TMessageEvent fn;
    };
    std::vector<Filter> filters_;
    int nextFilterId_ = 1;
    TControl* mouseControl_ = nullptr;     // borrowed; cleared by ControlDestroyed
    std::vector<HWND> hiddenForMinimize_;  // forms hidden by Minimize, shown again by Restore
    bool appShownForMinimize_ = false;
};

// ---- TScreen --------------------------------------------------------------------------------------------------------
class TScreen : public TComponent {
  public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    // The forms in a defined order: the most recently activated first, then the others by activation (never
    // activated forms keep their order of creation, after the activated ones).
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int Index) const;
    // The form that has (or last had, while the application is inactive) the focus; nullptr when none.
    TCustomForm* ActiveForm() const { return activeForm_; }
    TCustomForm* ActiveCustomForm() const { return activeForm_; }
    TWinControl* ActiveControl() const { return activeControl_; }

    // A cursor shown over every control of the application while not crDefault.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value);
    HCURSOR Cursors(TCursor Value) const;

    int Width() const;  // primary monitor
    int Height() const;
    TRect DesktopRect() const;   // all monitors
    TRect WorkAreaRect() const;  // primary monitor without the taskbar
    int PixelsPerInch() const;

    TNotifyEvent OnActiveFormChange;
    TNotifyEvent OnActiveControlChange;

  private:
    friend class TCustomForm;
    friend class TApplication;
    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);
    void SetFocusedForm(TCustomForm* Form, TWinControl* Control);

    std::vector<TCustomForm*> forms_;  // borrowed: forms register and unregister themselves
    TCustomForm* activeForm_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TCursor cursor_ = crDefault;
};

// ---- Globals --------------------------------------------------------------------------------------------------------
// Created on first use (GUI thread); nullptr after the application object was freed at exit.
TApplication* GetApplication();
TScreen* GetScreen();
// The application object if it exists, without creating it (for code that runs during teardown).
TApplication* FindApplication();
TScreen* FindScreen();
struct TApplicationAccess {
    TApplication* operator->() const { return GetApplication(); }
    operator TApplication*() const { return GetApplication(); }
};
struct TScreenAccess {
    TScreen* operator->() const { return GetScreen(); }
    operator TScreen*() const { return GetScreen(); }
};
inline constexpr TApplicationAccess Application{};
inline constexpr TScreenAccess Screen{};
