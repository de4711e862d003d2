// TAlertWindow: the borderless popup that shows one message at a time from its own string list, with a gradient
// body, a grip bar to drag it by, a close button, a pager with a counter, delete and popup buttons, scroll arrows
// and clickable links drawn by the mini-HTML renderer. Index: TMsgScroller, TAnchorClickEvent, TCanCloseEvent,
// TCustomPaintEvent, TDeleteMessageEvent, TAlertWindow, DrawGradient, SetLayeredAlpha.
//
// The window never takes the focus. Its class name is "TAlertWindow"; its window text is the plain text of the shown
// message ("Alert" when none), so that testers and screen readers can read it. GUI thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "alert/AlertStyles.h"
#include "alert/HtmlPicture.h"
#include "alert/HtmlRender.h"
#include "alert/MsgCollection.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Hints.h"
#include "classlib/ImgList.h"

// The pager: Min .. Max with a position that is stored unclamped.
class TMsgScroller {
  public:
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMin(int v) {
        if (v <= max_)
            min_ = v;
    }
    void SetMax(int v) {
        if (v >= min_)
            max_ = v;
    }
    void SetPosition(int v) {
        position_ = v;
        if (OnChange)
            OnChange(nullptr);
    }
    bool CanGoBack() const { return min_ < position_; }
    bool CanGoForward() const { return position_ < max_; }
    bool Visible = false;
    TNotifyEvent OnChange;

  private:
    int min_ = 0, max_ = 0, position_ = 0;
};

using TAnchorClickEvent = std::function<void(TObject* Sender, const std::wstring& Anchor, int Index)>;
using TCanCloseEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TDeleteMessageEvent = std::function<void(TObject* Sender, int Index)>;
using TCustomPaintEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool& DefaultPaint)>;

// Vertical (or horizontal) bands from FromColor to ToColor over r; Steps 0 counts as 1.
void DrawGradient(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& r, int steps);
// Makes the window layered and applies alpha (user32 functions looked up by name; nothing when missing).
void SetLayeredAlpha(HWND window, TColor keyColor, BYTE alpha);

class TAlertWindow : public TCustomControl {
  public:
    explicit TAlertWindow(TComponent* AOwner);
    ~TAlertWindow() override;
    void BeforeDestruction() override;

    // ---- messages ----
    TStringList* AlertMessages() { return alertMessages_.get(); }
    TMsgCollection* AlertMessagesInfo() { return info_.get(); }
    TMsgScroller* Scroller() { return &scroller_; }
    int ActiveMessage() const { return scroller_.Position(); }
    void SetActiveMessage(int value) {
        scroller_.SetPosition(value);
        Invalidate();
    }

    // ---- appearance ----
    TColor WindowColor = clWhite, WindowColorTo = clBtnFace;
    TColor CaptionColor = clWhite, CaptionColorTo = 0x808080;
    TColor BtnHoverColor = 0xBBA9A2, BtnHoverColorTo = 0xBBA9A2;
    TColor BtnDownColor = 0xA78F87, BtnDownColorTo = 0xA78F87;
    TColor BorderColor = clBlack;
    TColor URLColor = 0xFF0000;
    TColor SelectedColor = 0xBBA9A2;
    TGradientDirection GradientDirection = gdVertical;
    std::wstring HintNextBtn, HintPrevBtn, HintCloseBtn, HintDeleteBtn, HintPopupBtn;
    int MarginX = 4, MarginY = 1;
    int MaxWidth = 0, MaxHeight = 0;
    int BorderSize = 0;
    bool AutoHide = true;     // hide when the mouse leaves
    bool AutoHiding = false;  // the owner is auto-hiding: an emptied list does not close the window
    bool ShowScrollers = false;
    TPicture* Background() { return background_.get(); }
    TCustomImageList* Images = nullptr;
    TPictureContainer* PictureContainer = nullptr;
    THTMLPictureCache* ImageCache() { return &imageCache_; }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool AlwaysOnTop() const { return alwaysOnTop_; }
    void SetAlwaysOnTop(bool value);
    bool ShowDelete() const { return showDelete_; }
    void SetShowDelete(bool value);
    bool ShowPopup() const { return showPopup_; }
    void SetShowPopup(bool value);
    const std::wstring& PositionFormat() const { return positionFormat_; }
    void SetPositionFormat(const std::wstring& value);
    bool Hover() const { return hover_; }
    void SetHover(bool value);
    bool AutoDelete() const { return autoDelete_; }
    void SetAutoDelete(bool value) { autoDelete_ = value; }
    int HoverLink() const { return hoverLink_; }
    TBitmap* GlyphNext() { return glyphNext_.get(); }
    TBitmap* GlyphPrev() { return glyphPrev_.get(); }
    TBitmap* GlyphDelete() { return glyphDelete_.get(); }
    TBitmap* GlyphClose() { return glyphClose_.get(); }
    TBitmap* GlyphPopup() { return glyphPopup_.get(); }
    void SetGlyphNext(TBitmap* value);
    void SetGlyphPrev(TBitmap* value);
    void SetGlyphDelete(TBitmap* value) { glyphDelete_->Assign(value); }
    void SetGlyphClose(TBitmap* value) { glyphClose_->Assign(value); }
    void SetGlyphPopup(TBitmap* value) { glyphPopup_->Assign(value); }
    TBitmap* GlyphNextDisabled() { return glyphNextDisabled_.get(); }
    TBitmap* GlyphPrevDisabled() { return glyphPrevDisabled_.get(); }

    // ---- actions ----
    void First();
    void Last();
    void Next();
    void Previous();
    // "Invalid Index" for an index outside the string list; moves the shown position, then OnDeleteMessage.
    void Delete(int index);
    void Delete();
    void CloseWindow();

    // ---- geometry (client coordinates) ----
    TRect GripRect();
    TRect CloseRect();
    TRect PrevRect();
    TRect NextRect();
    TRect DeleteRect();
    TRect PopupRect();
    TRect ScrollUpRect();
    TRect ScrollDownRect();
    TRect MessageRect();
    int MessageHeight(int index);
    int ScrollPos() const { return scrollPos_; }

    // ---- events ----
    TNotifyEvent OnAlertClick;
    TAnchorClickEvent OnAnchorClick;
    TDeleteMessageEvent OnDeleteMessage;
    TNotifyEvent OnWindowMoved;
    TNotifyEvent OnClose;
    TCanCloseEvent OnCanClose;
    TNotifyEvent OnNextMessage;
    TNotifyEvent OnPrevMessage;
    TNotifyEvent OnPopupbtnClick;
    TCustomPaintEvent OnCustomPaint;
    TNotifyEvent OnDestroy;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  private:
    void MessagesChanged();
    // The window text: the plain text of the shown message ("Alert" when none).
    void UpdateWindowText();
    int CounterWidth();
    std::wstring CounterText();
    THtmlParams RenderParams();
    void PaintButtonFace(const TRect& r, bool down, bool hover);
    void PaintPagerButton(const TRect& r, bool next);
    void ScrollStep(bool up);
    // The link under the client point in the shown message (hit-test mode of the renderer).
    bool LinkAt(int X, int Y, THtmlResult& r);
    void ClickAnchor(int X, int Y);
    void HoverTest(int X, int Y);
    void ScrollTimerTick();
    // A button's hint: shown after the application's HintPause while the mouse rests on the button, hidden on
    // leave, click or after HintHidePause. The popup shows it itself: its buttons are painted parts of one window,
    // which the application's machinery sees as a single control with a single hint.
    void SetButtonHint(bool entering, const std::wstring& hint);
    void ShowButtonHint();
    void HideButtonHint();
    static void Grey(TBitmap* source, TBitmap* target);

    std::unique_ptr<TStringList> alertMessages_;
    std::unique_ptr<TMsgCollection> info_;
    TMsgScroller scroller_;
    THTMLPictureCache imageCache_;
    std::unique_ptr<TPicture> background_;
    std::unique_ptr<TBitmap> glyphNext_, glyphNextDisabled_, glyphPrev_, glyphPrevDisabled_, glyphDelete_, glyphClose_,
        glyphPopup_;
    TTimer* timer_ = nullptr;  // owned through the component tree
    bool autoSize_ = false;
    bool alwaysOnTop_ = false;
    bool showDelete_ = true;
    bool showPopup_ = false;
    bool hover_ = true;
    bool autoDelete_ = false;
    std::wstring positionFormat_ = L"%d of %d";
    int hoverLink_ = -1;
    TRect hoverRect_{};
    bool hoverClose_ = false, downClose_ = false;
    bool prevHover_ = false, prevDown_ = false, nextHover_ = false, nextDown_ = false;
    bool deleteHover_ = false, deleteDown_ = false;
    bool popupHover_ = false, popupDown_ = false;
    bool upHover_ = false, upDown_ = false, downHover_ = false, downDown_ = false;
    bool showUp_ = false, showDown_ = false;
    bool dragging_ = false;
    int oldMouseX_ = 0, oldMouseY_ = 0;
    int oldX_ = -1, oldY_ = -1;
    int scrollPos_ = 0;
    THintWindow* hintWindow_ = nullptr;  // owned through the component tree; made on the first hint
    TTimer* hintTimer_ = nullptr;        // owned through the component tree: the pause, then the hide timeout
    std::wstring pendingHint_;           // the hint of the button under the mouse
    bool destroying_ = false;
};
