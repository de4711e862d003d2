// The pair of arrow buttons the up-down and the spin edit share: which button is under the pointer, which one is
// held, and the auto-repeat of a held button on a timer of the control seam. A held button first waits 500 ms (the
// first tick only ends the wait), then steps on every 100 ms tick, on every 50 ms tick after the pointer left it and
// came back, and once more when released over it. The owner lays the rectangles out, paints, and says what a step
// and a click do. Also the two looks of one button: the built-in one and one composed from a button skin entry.
// Index: TbsSpinButton, TbsSpinButtons, SpinHit, DrawDefaultSpinButton, DrawSkinEntrySpinButton.
// GUI thread only.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>

#include "classlib/Graphics.h"
#include "classlib/Types.h"

class IbsControlTimer;
class TbsSkinData;

struct TbsSpinButton {
    TRect R{};
    bool MouseIn = false;
    bool Down = false;
};

// The button (0, 1) whose rectangle holds P, its right and bottom edges included; button 0 is tested first.
int SpinHit(const TRect (&Rects)[2], const TPoint& P);

class TbsSpinButtons {
  public:
    TbsSpinButtons();
    ~TbsSpinButtons();
    TbsSpinButtons(const TbsSpinButtons&) = delete;
    TbsSpinButtons& operator=(const TbsSpinButtons&) = delete;

    // Button 0 steps up (or right), button 1 down (or left).
    TbsSpinButton Buttons[2];
    int ActiveButton = -1, OldActiveButton = -1, CaptureButton = -1;
    // 0 no repeat, 1 steps down, 2 steps up; WaitMode: the first (long) interval is still running.
    int TimerMode = 0;
    bool WaitMode = false;

    // False turns stepping and the repeat off; presses and clicks still happen.
    std::function<bool()> Stepping;
    // One step of button I (by the repeat or a release over it).
    std::function<void(int I)> OnStep;
    // A release over button I, after its step.
    std::function<void(int I)> OnClick;
    // A state changed that shows.
    std::function<void()> OnRepaint;

    int HitTest(const TPoint& P) const;
    // The pointer moved to P (control coordinates).
    void MouseMove(const TPoint& P);
    // A press of any mouse button at P.
    void MouseDown(const TPoint& P);
    // The release of the press.
    void MouseUp(const TPoint& P);
    // The pointer entered the control: no button is active until it moves.
    void MouseEnter();
    // The pointer left the control: no button is active or hovered.
    void MouseLeave();
    bool Repeating() const;
    // Drops a hold without stepping (the control lost the mouse or went away).
    void Cancel();

  private:
    bool CanStep() const { return !Stepping || Stepping(); }
    void Repaint() const {
        if (OnRepaint)
            OnRepaint();
    }
    void TestActive(const TPoint& P);
    void ButtonDown(int I);
    void ButtonUp(int I, bool Over);
    void StartTimer(unsigned Ms);
    void StopTimer();
    void Tick();

    std::unique_ptr<IbsControlTimer> FTimer;
};

// Arrow kinds of DrawArrowImage.
enum : int { kArrowLeft = 1, kArrowRight = 2, kArrowUp = 3, kArrowDown = 4 };

// The built-in look of a button in R: pressed (held and hovered) and hovered get the blue frame and fill; otherwise
// the frame clBtnShadow (when NormalFrame) and a clBtnFace fill; then the arrow in ArrowColor over the whole button.
void DrawDefaultSpinButton(TCanvas* C, const TRect& R, const TbsSpinButton& B, int ArrowKind, TColor ArrowColor,
                           bool NormalFrame);

// A button composed from the first button entry of Names in Data (nine parts of its normal, hot or pressed picture
// stretched to R) with the arrow in the entry's matching font colour, or the disabled one. False (nothing drawn)
// without such an entry.
bool DrawSkinEntrySpinButton(TCanvas* C, TbsSkinData* Data, std::initializer_list<const wchar_t*> Names,
                             const TRect& R, const TbsSpinButton& B, int ArrowKind, bool Enabled);
