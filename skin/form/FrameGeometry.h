// The skinned frame's geometry without windows: the skin's [FORMINFO] points mapped onto a window of any size,
// caption objects placed on it, the client rectangle, hit codes for the skinned and the built-in frame, and the
// built-in size limits. TbsSkinForm feeds these from its skin container and window; tests read them as data.
#pragma once

#include <functional>
#include <vector>

#include "classlib/Types.h"
#include "skin/core/SkinTypes.h"

// Hit codes as the system numbers them.
constexpr int kHitClient = 1;
constexpr int kHitCaption = 2;
constexpr int kHitLeft = 10;
constexpr int kHitRight = 11;
constexpr int kHitTop = 12;
constexpr int kHitTopLeft = 13;
constexpr int kHitTopRight = 14;
constexpr int kHitBottom = 15;
constexpr int kHitBottomLeft = 16;
constexpr int kHitBottomRight = 17;
constexpr int kHitObject = 19;

// The built-in frame: a 3-pixel border and a caption bar.
constexpr int kDefBorder = 3;
constexpr int kDefMinWidth = 120;
int DefCaptionHeight(bool ToolWindow);
int DefButtonSize(bool ToolWindow);

// What the frame reads of a skin: its picture size (Pw x Ph) and the [FORMINFO] geometry.
struct TbsFrameSkin {
    int Pw = 0, Ph = 0;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect, CaptionRect, ButtonsRect, MaskRectArea;
    TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
    int ButtonsOffset = 0;
    bool CapButtonsInLeft = false;
    int BorderW = 0;
    int FormMinWidth = 0, FormMinHeight = 0;
};

// The skin geometry mapped onto a W x H window.
struct TbsFrameRects {
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewClRect, NewCaptionRect, NewButtonsRect, NewMaskRectArea;
    int NewButtonsOffset = 0;
    bool NewButtonsInLeft = false;
    TPoint NewHitTestLTPoint, NewHitTestRTPoint, NewHitTestLBPoint, NewHitTestRBPoint;
};
TbsFrameRects CalcRects(const TbsFrameSkin& S, int W, int H);

// A rectangle of the skin picture moved (or stretched) with the corner areas it lies in.
TRect CalcRealObjectRect(const TbsFrameSkin& S, const TbsFrameRects& N, const TRect& R);

// What the layout needs of a caption object.
enum TbsFrameObjectKind { fokCaption, fokStdButton, fokOther };
struct TbsFrameObject {
    TbsFrameObjectKind Kind = fokOther;
    TbsStdCommand Command = cmDefault;
    bool SkinRectInAPicture = false;
    bool Visible = true;
    TRect SkinRect;
    TRect ObjectRect;
};
// Places every object: picture-bound ones with the frame, the standard buttons in the button row (by command order,
// then the cmDefault ones), the system menu button at the caption's left; the caption text object gives way to them.
// IconW/IconH: the small icon's size, used by the system menu button when ShowIcon.
void CalcAllRealObjectRect(const TbsFrameSkin& S,
                           const TbsFrameRects& N,
                           std::vector<TbsFrameObject>& Objects,
                           bool ShowIcon,
                           int IconW,
                           int IconH);
// The built-in frame's caption rectangle with its buttons laid out (only visible standard buttons in the row).
TRect CalcDefRects(std::vector<TbsFrameObject>& Objects, int W, bool ToolWindow, bool ShowIcon, int IconW, int IconH);

// The client rectangle inside the window rectangle Window; never of negative size.
TRect SkinClientRect(const TbsFrameSkin& S, const TRect& Window);
TRect DefClientRect(const TRect& Window, bool ToolWindow);

// The state of the window the hit test depends on.
struct TbsHitState {
    int W = 0, H = 0;
    bool RolledUpOrMinimized = false;
    bool Maximized = false;
    bool Sizeable = false;
    bool ObjectHot = false;
    bool SizeMove = false;
};
// P in frame coordinates. InCaption: whether P drags the window. PtInMask: empty when the skin has no mask.
int SkinNCHitTest(const TbsFrameSkin& S,
                  const TbsFrameRects& N,
                  const TbsHitState& St,
                  TPoint P,
                  const std::function<bool(TPoint)>& InCaption,
                  const std::function<bool(TPoint)>& PtInMask);
int DefNCHitTest(const TbsHitState& St, const TRect& DefCaptionRect, TPoint P, bool ToolWindow);

// Size limits (0 = none) and the flags they depend on.
struct TbsSizeLimits {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
    int MinClientWidth = 0, MinClientHeight = 0, MaxClientWidth = 0, MaxClientHeight = 0;
};
struct TbsLimitState {
    bool Minimized = false;
    bool RolledUp = false;
    bool Maximized = false;
    bool HasBorder = true;
    bool SkinnableFrame = true;  // the skin's own SkinnableForm
    bool ToolWindow = false;
};
// Skin nullptr: the built-in frame.
int GetMinWidth(const TbsFrameSkin* S, const TbsSizeLimits& L, const TbsLimitState& St);
int GetMinHeight(const TbsFrameSkin* S, const TbsSizeLimits& L, const TbsLimitState& St);
// WorkArea: the width (height) of the monitor's work area.
int GetMaxWidth(const TbsFrameSkin* S, const TbsSizeLimits& L, const TbsLimitState& St, int WorkArea);
int GetMaxHeight(const TbsFrameSkin* S, const TbsSizeLimits& L, const TbsLimitState& St, int WorkArea);
