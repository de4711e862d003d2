// The fade of a control between its normal and its hot picture: both pictures blended by one of the seven fade kinds
// with the share of the hot one, drawn into a device context, and the fade's share and timer. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "classlib/Graphics.h"
#include "skin/core/SkinTypes.h"

// Normal and Hot must have one size; nothing is drawn otherwise. Kf: 0 the normal picture, 1 the hot one.
void BlendMorph(TBitmap* Normal, TBitmap* Hot, TbsMorphKind Kind, double Kf, HDC DC);

class IbsControlTimer;

// The fade's share of the hot picture and its 20 ms timer (on the control seam): five steps of 0.2 toward 1 while
// the control is hot or focused, toward 0 otherwise; the timer runs only while a fade does.
class TbsMorphFade {
  public:
    TbsMorphFade();
    ~TbsMorphFade();
    double Kf = 0;
    bool Running() const { return FTimer != nullptr; }
    // Starts the timer with OnTick unless one runs.
    void Start(std::function<void()> OnTick);
    void Stop();
    // One tick: Kf a step toward Lit's end; at the end Kf is 0 or 1 and the timer stops. Whether to repaint.
    bool Step(bool Lit);
    // Without a fade to show: Kf 0 or 1 at once, the timer stopped.
    void Settle(bool Lit);
    // A fading control's tick: a step while Fading (whether to repaint), else settled at once (no repaint).
    bool Tick(bool Fading, bool Lit);
    // Where a control's look changes: the fade starts with OnTick while Fading, else Repaint runs at once.
    void Redraw(bool Fading, std::function<void()> OnTick, const std::function<void()>& Repaint);

  private:
    std::unique_ptr<IbsControlTimer> FTimer;
};
