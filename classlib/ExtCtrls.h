// Timers, bevels and panels.
// Index: TTimer, TBevel, TCustomPanel, TPanel.
//
// A TTimer is a window timer of the GUI thread: all timers share one hidden message-only window and are told
// apart by a number that is never used twice, so a tick that was already queued when the timer was stopped or
// freed finds nobody and is dropped. A timer may therefore disable, re-enable or free itself inside its own
// OnTimer. An exception from OnTimer is reported through the application and the timer goes on. GUI thread only.
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/Component.h"
#include "classlib/Controls.h"
#include "classlib/StdCtrls.h"

class TTimer : public TComponent {
  public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    // Enabled (default true) with an Interval above 0 runs the timer; changing either restarts the count.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT Value);
    // True while the system timer runs.
    bool Running() const { return id_ != 0; }

    TNotifyEvent OnTimer;

  protected:
    // Raises OnTimer; called by the timer window for each tick.
    virtual void Timer();

  private:
    friend struct TimerWindow;
    void UpdateTimer();
    void StopTimer();

    UINT_PTR id_ = 0;  // the running system timer's number, 0 when stopped
    bool enabled_ = true;
    UINT interval_ = 1000;
};

// ---- TBevel: a drawn box, frame or line without window
// ---------------------------------------------------------------
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
  public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape Value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle Value);

  protected:
    void Paint() override;

  private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// ---- TImage: a picture without window, drawn at its own size from the top-left (or stretched to the control)
// ---------------------------------------------------------------
class TImage : public TGraphicControl {
  public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    TGraphic* Picture() const { return picture_.get(); }
    // Takes the picture (nullptr: none) and repaints.
    void SetPicture(std::unique_ptr<TGraphic> Value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool Value);

  protected:
    void Paint() override;

  private:
    std::unique_ptr<TGraphic> picture_;
    bool stretch_ = false;
};

// ---- TCustomPanel: a window with bevels and a centred caption that holds other controls
// --------------------------------
enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
  public:
    explicit TCustomPanel(TComponent* AOwner);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel Value);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel Value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool Value);
    void WndProc(TMessage& Message) override;

  protected:
    void Paint() override;
    // Children align inside the bevels and the border.
    void AdjustClientRect(TRect& Rect) override;

  private:
    void Changed();
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TAlignment alignment_ = taCenter;
    bool showCaption_ = true;
};

class TPanel : public TCustomPanel {
  public:
    using TCustomPanel::TCustomPanel;
};
