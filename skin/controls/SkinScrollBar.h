// TbsSkinScrollBar: a windowed scroll bar drawn wholly by the skin engine (two arrow buttons, a track and a thumb,
// horizontal or vertical), with the class library's value model, its own thumb geometry (ScrollBarGeometry), its own
// auto-repeat on the control seam's timer, and a "both" variant for a horizontal bar sharing a corner with a vertical
// one. Every scrolling skinned control binds or creates one. The system scroll bar is never used.
// GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "classlib/StdCtrls.h"
#include "skin/controls/ControlSeam.h"
#include "skin/controls/ScrollBarGeometry.h"
#include "skin/controls/SkinControl.h"

class TbsSkinScrollBar : public TbsSkinCustomControl {
  public:
    explicit TbsSkinScrollBar(TComponent* AOwner);
    ~TbsSkinScrollBar() override;

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value);
    bool Both() const { return FBoth; }
    void SetBoth(bool Value);
    // Owners that bind a bar to a list set the flag without the entry-name swap.
    void SetBothFlag(bool Value) { FBoth = Value; }
    int BothMarkerWidth() const { return FBothMarkerWidth; }
    void SetBothMarkerWidth(int Value);
    const std::wstring& BothSkinDataName() const { return FBothSkinDataName; }
    void SetBothSkinDataName(const std::wstring& Value) { FBothSkinDataName = Value; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);

    // Stores the range and a position clamped by the position rule; repaints, fires nothing.
    void SetRange(int NewMin, int NewMax, int NewPageSize, int NewPosition);
    // Clamps and stores the position, repaints when it changed, fires nothing.
    void SimplySetPosition(int Value);

    // The layout for the current size, values and skin (what painting and the mouse use).
    TbsScrollLayout CalcRects();
    // The part under the pointer (-1 none), the part pressed with the left button (-1 none), the thumb drag.
    int ActiveButton() const { return FActiveButton; }
    int CaptureButton() const { return FCaptureButton; }
    bool Dragging() const { return FDown; }

    TNotifyEvent OnChange;
    TNotifyEvent OnLastChange;
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    TNotifyEvent OnPageUp;
    TNotifyEvent OnPageDown;

    void WndProc(TMessage& Message) override;

  protected:
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void CalcSize(int& W, int& H) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  private:
    struct TPart {
        bool MouseIn = false;
        bool Down = false;
    };
    bool Focus();
    int AlongOf(int X, int Y) const { return FKind == sbHorizontal ? X : Y; }
    void TestActive(int X, int Y);
    void ButtonDown(int I, int X, int Y);
    void ButtonUp(int I);
    void ButtonEnter(int I);
    void ButtonLeave(int I);
    void StartTimer(unsigned Ms);
    void StopTimer();
    void TimerTick();
    void UpStep();
    void DownStep();
    bool PointBeforeThumb(int X, int Y);
    bool PointAfterThumb(int X, int Y);
    void DrawDefaultButton(TCanvas* C, int I);
    void DrawSkinArrow(TCanvas* C, int I);
    void DrawSkinThumb(TCanvas* C);
    TbsScrollSkinParts SkinParts() const;

    int FMin = 0, FMax = 100, FPosition = 0, FSmallChange = 1, FLargeChange = 1, FPageSize = 0;
    TScrollBarKind FKind = sbHorizontal;
    bool FBoth = false;
    int FBothMarkerWidth = 19;
    bool FCanFocused = false;
    std::wstring FNormalSkinDataName;
    std::wstring FBothSkinDataName = L"bothhscrollbar";

    TbsScrollLayout FLayout;
    TPart FParts[3];
    int FActiveButton = -1, FOldActiveButton = -1, FCaptureButton = -1;
    bool FDown = false;
    int OMPos = 0, OldBOffset = 0, MX = 0, MY = 0;
    bool MouseD = false, WaitMode = false;
    int TimerMode = 0;
    bool FClicksDisabled = false;
    std::unique_ptr<IbsControlTimer> FTimer;

    // The skin record's copies.
    TRect TrackArea, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect, ThumbRect, ActiveThumbRect, DownThumbRect, GlyphRect, ActiveGlyphRect, DownGlyphRect;
    int ThumbOffset1 = 0, ThumbOffset2 = 0, ThumbMinSize = 0, ThumbMinPageSize = 0;
    bool ThumbTransparent = false, ThumbStretchEffect = false, GlyphTransparent = false;
    int ThumbTransparentColor = 0, GlyphTransparentColor = 0;
};
