// Layer windows: the per-pixel translucent glow frames that float over the screen around buttons and fade in. The
// layer manager owns one such window at a time (a borderless popup tool window that is never activated and lets the
// mouse through), painted with the system's layered-window update from a 32-bit bitmap with alpha, its overall opacity
// raised on a 25 ms timer. The update call is bound by name at start (SkinUtils.h), so tests can record it.
// GUI thread only.
#pragma once

#include <memory>

#include "classlib/Component.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Graphics.h"

class TbsBitmap;

class TbsLayerWindow : public TCustomControl {
  public:
    explicit TbsLayerWindow(TComponent* AOwner);

  protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
};

class TbsLayerManager : public TComponent {
  public:
    explicit TbsLayerManager(TComponent* AOwner);
    ~TbsLayerManager() override;

    // AImage at screen point (X, Y) with the alpha of AImageMask, fading in from 0 to AAlphaBlendValue (0..255).
    void Show(int X, int Y, TBitmap* AImage, TBitmap* AImageMask, int AAlphaBlendValue);
    void Hide();
    // Places a shown layer again at its position in its z-order mode.
    void Update();
    void StartTimer();
    void StopTimer();
    // One fade step (the timer's tick).
    void ExecTimer();

    TbsLayerWindow* LayerWindow() const { return FLayerWindow; }
    TbsBitmap* Bmp() const { return FBmp.get(); }
    TTimer* Timer() const { return FTimer.get(); }
    bool IsVisible = false;
    bool TopMostMode = true;
    int EndAlphaBlendValue = 0;
    int BeginAlphaBlendValue = 0;
    int StepAlphaBlendValue = 0;
    // Whether the system has layered windows (Windows 2000 or later); replaceable in tests.
    bool (*LayeringAvailable)() = nullptr;

  private:
    void FreeWindow();
    TbsLayerWindow* FLayerWindow = nullptr;  // owned
    std::unique_ptr<TbsBitmap> FBmp;
    // Owned outright, not as a component: a component's owned components go before its destructor runs, and the
    // destructor still stops the timer.
    std::unique_ptr<TTimer> FTimer;
};

// AlphaB: a copy of B whose alpha is the mean grey of MaskB, prepared for layered drawing.
void CreateAlphaLayer(TBitmap* B, TBitmap* MaskB, TbsBitmap* AlphaB);
// UpdateLayeredWindow of Control's window at its position with Bmp and constant alpha AlphaValue; nothing without
// Control or without the system function.
void CreateAlphaLayered2(TbsBitmap* Bmp, int AlphaValue, TWinControl* Control);
