// TbsSkinGauge: the progress gauge drawn from the entry "gauge" (or "vgauge"): a trough image and a bar inside its
// progress area, tiled or stretched from the entry's progress picture with fixed end parts, an optional percentage
// and progress text on it, a vertical form that fills upwards with the text turned, and a frame animation that runs
// over the bar when the entry has one. Without an entry: a grey trough with a green bar. The window-free arithmetic
// (bar rectangle, percentage, text, tiles) is free functions below, so it is tested without windows.
//
// Ownership: the skin container is borrowed; the animation timers are owned (seam timers). GUI thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Types.h"
#include "skin/controls/ControlSeam.h"
#include "skin/controls/SkinControl.h"

class TbsDataSkinGaugeControl;

// The bar's rectangle for Value inside Area: from the left (or up from the bottom) by the value's share of the range;
// an empty range gives an empty bar.
TRect GaugeProgressRect(const TRect& Area, int Value, int Min, int Max, bool Vertical);
// Whole percent of the range (truncated); 0 for an empty range.
int GaugePercent(int Value, int Min, int Max);
// What the gauge writes: the progress text when shown, then the percentage and "%" when shown.
std::wstring GaugeText(bool ShowProgressText, const std::wstring& ProgressText, bool ShowPercent, int Percent);
// The places of the middle tiles along a bar of Length (tiles of TileLength from the start; the last one cut to what
// is left). Vertical tiles are counted from the bottom end. A tile length of 0 or less gives none.
struct TbsGaugeTile {
    int Offset;  // from the bar's start (the left end, or the top when vertical)
    int Length;  // the part of the tile drawn
    int SourceOffset;  // from the tile's start in its own picture (a cut vertical tile keeps its bottom part)
};
std::vector<TbsGaugeTile> GaugeTiles(int Length, int TileLength, bool Vertical);

class TbsSkinGauge : public TbsSkinCustomControl {
  public:
    explicit TbsSkinGauge(TComponent* AOwner);
    ~TbsSkinGauge() override;

    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value);
    int Value() const { return FValue; }
    void SetValue(int Value);
    bool ShowPercent() const { return FShowPercent; }
    void SetShowPercent(bool Value);
    bool ShowProgressText() const { return FShowProgressText; }
    void SetShowProgressText(bool Value);
    const std::wstring& ProgressText() const { return FProgressText; }
    void SetProgressText(const std::wstring& Value);
    bool Vertical() const { return FVertical; }
    void SetVertical(bool Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);
    int ProgressAnimationPause() const { return FProgressAnimationPause; }
    void SetProgressAnimationPause(int Value);

    // Replaces the drawing of the bar and its text: the canvas, the progress area and the bar's rectangle.
    std::function<void(TCanvas* Cnvs, const TRect& AProgressArea, const TRect& AProgressRect)> OnGaugePaint;

    // Only with an entry that has an animation rectangle: frees running timers, makes the pause and frame timers
    // and starts one pass at once.
    void StartProgressAnimation();
    void StopProgressAnimation();
    // The animation state, for those who watch it.
    bool AnimationTimersExist() const { return FPauseTimer != nullptr || FFrameTimer != nullptr; }
    int AnimationFrame() const { return FAnimationFrame; }
    // The working progress area in the control's image (after the last lookup).
    TRect ProgressArea() const { return ProgressAreaFor(Width(), Height()); }

    void ChangeSkinData() override;

  protected:
    // The value painted; a descendant paints another one while the control paints as a copy.
    virtual int GetPaintValue() { return FValue; }
    void GetSkinData() override;
    bool SkinLookAvailable() const override;
    void CalcSize(int& W, int& H) override;
    void SetControlRegion() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void Paint() override;

  private:
    TbsDataSkinGaugeControl* GaugeEntry() const;
    // The entry's progress area in an image of W x H.
    TRect ProgressAreaFor(int W, int H) const;
    // The bar of P's size from the entry's pictures onto C at P's top-left.
    void DrawSkinBar(TCanvas* C, const TRect& P);
    void DrawProgressText(TCanvas* C, int W, int H);
    void PauseTick();
    void FrameTick();

    int FMinValue = 0;
    int FMaxValue = 100;
    int FValue = 50;
    bool FShowPercent = false;
    bool FShowProgressText = false;
    std::wstring FProgressText;
    bool FVertical = false;
    bool FUseSkinSize = true;
    int FProgressAnimationPause = 3000;
    int FAnimationFrame = 0;
    std::unique_ptr<IbsControlTimer> FPauseTimer, FFrameTimer;

    // The entry's fields.
    TRect FProgressArea{}, FProgressRect{};
    int FBeginOffset = 0, FEndOffset = 0;
    std::wstring FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0;
    bool FProgressTransparent = false;
    TColor FProgressTransparentColor = 0;
    bool FProgressStretch = false;
    TRect FAnimationRect{};
    int FAnimationCount = 0;
    int FAnimationInterval = 0;
};
