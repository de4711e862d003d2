// Controls: the message record, the library's own message numbers and the control classes.
// Index: TMessage, TWMKey, CM_* and CN_* messages, TControl, TWinControl, TCustomControl, TGraphicControl,
// TControlCanvas, TCreateParams, FindControl, GetParentForm, GetCaptureControl, SetCaptureControl.
//
// Message flow. Every message of a control goes through its WindowProc (replaceable, in place before
// CreateWindowEx, so WM_GETMINMAXINFO, WM_NCCREATE and WM_NCCALCSIZE reach it), whose default is the virtual
// WndProc; what WndProc does not consume ends in DefaultHandler, which for a windowed control is the window's
// default procedure (DefWindowProc, or the native procedure of a superclassed system class). Perform() sends a
// message through the same path without Windows. A windowed control maps its HWND to the object with a window
// property; no exception leaves the window procedure (it is reported through Application->HandleException).
//
// Non-windowed controls (TGraphicControl) are painted by their parent's WM_PAINT in z-order, each clipped to its
// bounds, below every windowed child; the parent routes mouse messages to them (with capture). The application
// synthesises CM_MOUSEENTER and CM_MOUSELEAVE for both kinds.
//
// Lifetime: controls are components (see Component.h). A control is removed from its parent when it is freed; a
// windowed control frees the child controls that remain when it is freed itself. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Component.h"
#include "classlib/Graphics.h"
#include "classlib/Types.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;

// ---- Messages -----------------------------------------------------------------------------------------------------
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};
using TWndMethod = std::function<void(TMessage& Message)>;

// A key message as the short-cut and dialog-key handlers see it.
struct TWMKey {
    UINT Msg = 0;
    WORD CharCode = 0;
    LPARAM KeyData = 0;
    LRESULT Result = 0;
};
inline TWMKey ToWMKey(const TMessage& m) {
    return {m.Msg, static_cast<WORD>(m.WParam), m.LParam, m.Result};
}

// The library's messages. They avoid the numbers the skin engine and the controls fix for themselves (1225 to 1236,
// 1274, 1284, 1294, 1424 to 1428, 0xB1B2 to 0xB1B4, 0xB1C8, 0xB1C9, 0xBC4A, 0xBC4B). CM_CANCELMODE keeps its
// well-known value 0xB004: the skinned form sends it to controls that must end mouse tracking.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;      // a form became active
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;    // a form became inactive
constexpr UINT CM_CANCELMODE = CM_BASE + 4;    // end mouse tracking and drop-downs
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;     // WParam key (Tab, Enter, Esc, arrows); Result 1 = consumed
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;    // WParam character (accelerators); Result 1 = consumed
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;  // LParam = the newly focused TWinControl*; to every control
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;         // LParam = client point (POINTS); Result 0 = not on the control
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;  // WParam = new Visible
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;  // offered to the application after the form's short cuts
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;  // focus entered the control or one of its children
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;  // WParam key; Result 1 = the control handles it itself
constexpr UINT CM_RELEASE = CM_BASE + 33;         // posted by TCustomForm::Release
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;  // WParam key, LParam the control; Result 1 = consumed
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;  // WParam child, LParam 1 inserted / 0 removed
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;

// Notifications a parent reflects to the child control they concern: CN_BASE + the message it received.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
// Key messages offered to the focused control by the message loop before dispatch; Result 1 = consumed.
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

// ---- Types ---------------------------------------------------------------------------------------------------------
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

enum TControlStyleItem {
    csAcceptsControls,  // may be a parent (windowed controls: WS_CLIPCHILDREN)
    csCaptureMouse,     // captures the mouse while a button is down
    csClickEvents,      // a press and release inside makes a Click
    csSetCaption,
    csOpaque,        // paints its whole rectangle: the parent does not paint behind it
    csDoubleClicks,  // receives double clicks as such (else as a second press)
    csFixedWidth,
    csFixedHeight,
    csNoStdEvents,  // no OnMouse*/OnKey* events
    csReplicatable,
    csNeedsBorderPaint,
    csParentBackground,
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csAlignmentNeeded,
    csDestroyingHandle,
    csRecreating
};
using TControlState = TSet<TControlStateItem>;

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6, crSizeNS = -7,
                  crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crNo = -18, crAppStart = -19,
                  crHelp = -20, crHandPoint = -21, crSizeAll = -22;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// Dragging one control's content onto another inside the program (capture-based; one drag at a time).
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;

// Shift state from the MK_* flags of a mouse message, or from the key data of a key message plus the keyboard.
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyDataToShiftState(LPARAM keyData);
// The shift keys held now (GetKeyState).
TShiftState GetShiftState();

// What CreateWnd needs; CreateParams is the one hook for styles, class and parent.
struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSW WindowClass{};
    std::wstring WinClassName;
};

// ---- TControl -------------------------------------------------------------------------------------------------------
class TControl : public TComponent {
  public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // Message path: WindowProc (replaceable; defaults to WndProc) -> WndProc -> DefaultHandler.
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* AParent);

    // Bounds in the parent's client coordinates (screen coordinates for a top-level form).
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int Value) { SetBounds(Value, top_, width_, height_); }
    void SetTop(int Value) { SetBounds(left_, Value, width_, height_); }
    void SetWidth(int Value) { SetBounds(left_, top_, Value, height_); }
    void SetHeight(int Value) { SetBounds(left_, top_, width_, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    virtual TRect ClientRect();
    int ClientWidth() { return ClientRect().Right; }
    int ClientHeight() { return ClientRect().Bottom; }
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    virtual TPoint ClientOrigin();  // screen position of the client area's top-left corner
    TPoint ClientToScreen(TPoint P);
    TPoint ScreenToClient(TPoint P);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors Value);

    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a showing window.
    virtual bool Showing();
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool Value);

    // Caption and Text are one value; for a windowed control it is the window text (readable by other programs).
    std::wstring Text();
    void SetText(const std::wstring& Value);
    std::wstring Caption() { return Text(); }
    void SetCaption(const std::wstring& Value) { SetText(Value); }

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle Value) { controlStyle_ = Value; }
    TControlState ControlState() const { return controlState_; }
    void SetControlState(TControlState Value) { controlState_ = Value; }

    TFont* Font() { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool Value);
    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool Value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value);
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& Value) { hint_ = Value; }
    // ShowHint is the parent's while ParentShowHint is on (the default); setting ShowHint turns that off.
    bool ShowHint() const { return parentShowHint_ && parent_ ? ParentShowHintValue() : showHint_; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool Value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* Value);

    virtual void Invalidate();
    virtual void Repaint();
    virtual void Update();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();
    // Graphic controls: captures through the parent's window.
    bool MouseCapture();
    void SetMouseCapture(bool Value);

    virtual void Click();
    virtual void DblClick();

    // dmAutomatic starts a drag when the left button goes down (list views: when the system sees an item dragged).
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode Value) { dragMode_ = Value; }
    // Starts dragging this control: at once, or once the held mouse has moved Threshold pixels (-1: the system's
    // drag distance). The release over a control whose OnDragOver accepted drops there; Escape cancels.
    void BeginDrag(bool Immediate, int Threshold = -1);
    void EndDrag(bool Drop);
    bool Dragging() const;

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;
    TContextPopupEvent OnContextPopup;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;

  protected:
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void Resize();
    virtual void DoContextPopup(TPoint MousePos, bool& Handled);
    // Accept starts true when OnDragOver is set, false otherwise.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);
    // Asks the parent to realign this control after a change of Align, bounds or visibility.
    virtual void RequestAlign();
    // The text of a control without window, and of a windowed one without handle.
    std::wstring text_;
    // Repaints this control's area of the parent (non-windowed controls).
    void InvalidateControl(bool IsVisible, bool IsOpaque);
    // Remembers the distances that anchors keep, from the current bounds and the parent's client size.
    void UpdateAnchorRules();

  private:
    friend class TWinControl;
    friend class TCustomForm;
    friend class TApplication;
    void FontChanged();
    bool HandleMouseMessage(TMessage& m);
    bool HandleDragMessage(TMessage& m);
    void DoMouseDown(TMessage& m, TMouseButton button, TShiftState shift);
    void DoMouseUp(TMessage& m, TMouseButton button);
    void HandleContextMenu(TMessage& m);
    void DefaultTextMessage(TMessage& m);
    bool ParentShowHintValue() const;

    TWinControl* parent_ = nullptr;  // borrowed: the parent lists this control
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_{akLeft, akTop};
    TPoint anchorOrigin_{};  // right and bottom margins kept by anchors
    bool anchorMove_ = false;
    bool visible_ = true;
    bool enabled_ = true;
    TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState controlState_;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    TCursor cursor_ = crDefault;
    std::wstring hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TPopupMenu* popupMenu_ = nullptr;  // borrowed; cleared by Notification
    TDragMode dragMode_ = dmManual;
    bool updatingFont_ = false;
};

// ---- TWinControl ----------------------------------------------------------------------------------------------------
class TWinControl : public TControl {
  public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The window, created on first use (and its parent's before it).
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window and creates it again (children too) with fresh CreateParams, keeping text and bounds.
    void RecreateWnd();
    // A parent window for a control without parent control (for example a form docked into a foreign window).
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND Value);

    // The object of a window created by this library, nullptr for any other window.
    static TWinControl* FromHandle(HWND Wnd);
    // A test driver in another process finds a control by its Name: the window property "TrelmName" holds a
    // global atom whose name is the control's Name (GlobalGetAtomNameW reads it).
    void SetName(const std::wstring& NewName) override;

    // Children: all (non-windowed first, then windowed, each group in z-order from the bottom).
    int ControlCount() const { return static_cast<int>(controls_.size() + winControls_.size()); }
    TControl* Controls(int Index) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(TControl* Control) const;  // Control is a child, grandchild, ...
    // The non-windowed (and with AllowWinControls also windowed) child at the client point, topmost first.
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false);
    // Sends Message to every child control (Result non-zero stops it).
    void Broadcast(TMessage& Message);
    void NotifyControls(UINT Msg);

    // Alignment.
    void Realign();
    void DisableAlign();
    void EnableAlign();
    bool AlignDisabled() const { return alignLevel_ > 0; }

    // Focus and tab order.
    virtual bool CanFocus();
    bool Focused();
    virtual void SetFocus();
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool Value);
    int TabOrder() const;
    void SetTabOrder(int Value);
    // The focusable controls under this one in tab order (depth first).
    void GetTabOrderList(std::vector<TWinControl*>& List);
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    void SelectFirst();

    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool Value) { doubleBuffered_ = Value; }
    TBrush* Brush() { return brush_.get(); }

    bool Showing() override;  // the window exists and is visible with all its parents
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect ClientRect() override;
    TPoint ClientOrigin() override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void SetParent(TWinControl* AParent) override;
    void SetEnabled(bool Value) override;
    // Destroys the window while the whole object still exists (window procedures may be replaced by lambdas of
    // derived classes), then leaves the parent.
    void BeforeDestruction() override;

    // Paints what lies behind Control (a child of this control) into DC, whose origin is Control's top-left:
    // this control's background (WM_ERASEBKGND) and own painting (PaintWindow), then the non-windowed children
    // below Control in z-order that meet it. Only the part R of Control (its coordinates) is needed; the rest may
    // be left untouched. The DC's state is restored afterwards.
    void PaintBackgroundBehind(TControl* Control, HDC DC, const TRect& R);
    // The non-windowed children from First (inclusive, nullptr = all) upwards, each at its position and clipped.
    void PaintControls(HDC DC, TControl* First);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

  protected:
    virtual void CreateParams(TCreateParams& Params);
    // Makes Params a superclass of the system class ClassName (BUTTON, EDIT, ...): its procedure becomes the
    // default handler, the class name is kept as WinClassName for registration.
    void CreateSubClass(TCreateParams& Params, const wchar_t* ClassName);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& Params);
    virtual void DestroyWnd();
    void CreateHandle();
    void DestroyHandle();
    // The area children align in; descendants may shrink it, even to a negative origin.
    virtual void AdjustClientRect(TRect& Rect);
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    // Own painting into DC (the window's default painting here; TCustomControl paints its canvas).
    virtual void PaintWindow(HDC DC);
    void PaintHandler(HDC DC);

    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(wchar_t& Key);
    virtual void DoEnter();
    virtual void DoExit();
    bool DoKeyDown(TMessage& m);
    bool DoKeyUp(TMessage& m);
    bool DoKeyPress(TMessage& m);
    // The form's short cuts, the popup menus' and the application's.
    bool IsMenuKey(TMessage& m);

  private:
    friend class TControl;
    friend class TCustomForm;
    friend class TApplication;
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void AttachHandle(HWND wnd);
    void UpdateNameProp();
    bool IsControlMouseMsg(TMessage& m);
    bool ReflectToChild(TMessage& m);
    void UpdateBounds();
    void WMPaint(TMessage& m);
    bool WMSetCursor(TMessage& m);
    void HandleKeyNotify(TMessage& m);
    // The parent form, when it previews keys, handles m first (through its own DoKey); true when it consumed it.
    bool FormPreviewsKey(TMessage& m, bool (TWinControl::*DoKey)(TMessage&));
    void TrackMouse();
    void DetachHandle();
    void SetZOrder(bool TopMost);

    HWND handle_ = nullptr;
    HWND parentWindow_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    std::vector<TControl*> controls_;        // non-windowed children (borrowed), bottom first
    std::vector<TWinControl*> winControls_;  // windowed children (borrowed), bottom first
    std::vector<TWinControl*> tabList_;      // windowed children in tab order
    std::unique_ptr<TBrush> brush_;
    bool tabStop_ = false;
    bool aligning_ = false;
    bool doubleBuffered_ = false;
    bool trackingLeave_ = false;
    int alignLevel_ = 0;
    int ctlId_ = 0;

  public:
    // One running window procedure of a control (a stack frame); told when the control dies under it.
    struct AliveFlag {
        TWinControl* control = nullptr;
        bool alive = true;
        AliveFlag* next = nullptr;   // the control's next outer frame
        AliveFlag* outer = nullptr;  // the thread's next outer frame
    };
    // True while a window procedure of Control or of a control inside it runs below the current message.
    static bool InDispatch(TWinControl* Control, bool IgnoreInnermost);

  private:
    AliveFlag* aliveFlags_ = nullptr;  // stack frames of running window procedures, told when we die
};

// ---- Canvases of controls ---------------------------------------------------------------------------------------
// A canvas bound to a control: inside Paint it draws on the paint DC; elsewhere it takes a DC of the control's
// window (or of its parent's, offset and clipped, for a non-windowed control) on first use and gives it back
// when the control's painting begins, its window goes or Application idles.
class TControlCanvas : public TCanvas {
  public:
    explicit TControlCanvas(TControl* Control) : control_(Control) {}
    ~TControlCanvas() override;
    void FreeHandle();
    // Gives every control canvas's own DC back (the application calls it when idle).
    static void FreeDeviceContexts();

  protected:
    void CreateHandle() override;

  private:
    TControl* control_;  // borrowed: the control owns this canvas
    HWND dcWindow_ = nullptr;
    HDC ownDC_ = nullptr;
};

// ---- TCustomControl: a windowed control that paints itself on a canvas ----------------------------------------------
class TCustomControl : public TWinControl {
  public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return canvas_.get(); }

  protected:
    // Draw the control on Canvas(); the canvas is the paint DC for the duration.
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;

  private:
    std::unique_ptr<TControlCanvas> canvas_;
};

// ---- TGraphicControl: a control without window ----------------------------------------------------------------------
class TGraphicControl : public TControl {
  public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return canvas_.get(); }
    void WndProc(TMessage& Message) override;

  protected:
    virtual void Paint() {}

  private:
    std::unique_ptr<TControlCanvas> canvas_;
};

// ---- Free functions -------------------------------------------------------------------------------------------------
// The library's control for a window, nullptr when the window is not one of ours.
TWinControl* FindControl(HWND Wnd);
// The form a control sits on (the control itself when it is a form), nullptr when none.
TCustomForm* GetParentForm(TControl* Control);
// The control that holds the mouse (a non-windowed one through its parent's capture), nullptr when none.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The control under the screen point: the deepest of ours, non-windowed children included; nullptr when the window
// there is not one of ours.
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
