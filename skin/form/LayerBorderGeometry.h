// The layered border's geometry without windows: the frame and hit sizes of a skin's layer frame, the border's outer
// rectangle around a form and the places of its four windows, the copy plans of the four frame images, the alpha
// scaled to the form's own, the hit test of a border window, one step of sizing or moving the form by a border drag,
// the caption objects of a full border laid out in the top image, and the blur regions as rectangles.
// TbsFormLayerBorder (LayerBorder.h) feeds these from its skin and windows; tests read them as data.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/Types.h"
#include "skin/form/FrameGeometry.h"

// Where the mouse is on a border window.
enum TbsFormLayerBorderHit : std::uint8_t {
    bsflhNone = 0,
    bsflhLeft = 1,
    bsflhTop = 2,
    bsflhRight = 3,
    bsflhBottom = 4,
    bsflhTopLeft = 5,
    bsflhTopRight = 6,
    bsflhBottomLeft = 7,
    bsflhBottomRight = 8,
    bsflCaption = 9,
    bsflObject = 10
};

// Which side a border window is.
enum TbsFormLayerBorderType : std::uint8_t { bsflLeft = 0, bsflTop = 1, bsflRight = 2, bsflBottom = 3 };

// What the border reads of a skin's layer frame (points and rectangles in the frame picture).
struct TbsLayerFrameGeom {
    int SW = 0, SH = 0;  // the active frame picture's size
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect, BorderRect, HitTestRect, CaptionRect, ButtonsRect, SysMenuButtonRect;
    TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
    bool HitTestEnable = false, FullBorder = false, FullStretch = false;
    int HitTestSize = 0, RollUpFormHeight = 0, ButtonsTopOffset = 0, SysButtonTopOffset = 0;
    int LeftOffset = 0, TopOffset = 0, WidthOffset = 0, HeightOffset = 0;
    TRect IntersectBlurMaskRect, ExcludeBlurMaskRect;
};

// The visible frame's thickness on each side, the reach of the sizing zone beyond the form and the corner zones.
struct TbsLayerSizes {
    int LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
    int HitLeftSize = 0, HitTopSize = 0, HitRightSize = 0, HitBottomSize = 0;
    int HitTopLeftX = 0, HitTopLeftY = 0, HitTopRightX = 0, HitTopRightY = 0;
    int HitBottomLeftX = 0, HitBottomLeftY = 0, HitBottomRightX = 0, HitBottomRightY = 0;
    friend bool operator==(const TbsLayerSizes&, const TbsLayerSizes&) = default;
};
TbsLayerSizes CalcLayerSizes(const TbsLayerFrameGeom& G);

// The border's outer rectangle around a form with bounds Form; NullHeight: the form is rolled up to no client height.
TRect LayerOuterRect(const TbsLayerFrameGeom& G, const TRect& Form, bool NullHeight);

// One rectangle copy from the frame picture into an image (scaled when the sizes differ).
struct TbsLayerCopy {
    TRect Src, Dst;
    friend bool operator==(const TbsLayerCopy&, const TbsLayerCopy&) = default;
};
struct TbsLayerImagePlan {
    int Width = 0, Height = 0;  // an image without pixels when either is 0
    std::vector<TbsLayerCopy> Copies;
};
struct TbsLayerImagePlans {
    TbsLayerImagePlan Top, Bottom, Left, Right;
};
// The four images for an outer size AWidth x AHeight from the picture in use (SW x SH, the inactive one may differ
// from G's). A form shorter than the two bands cuts the bottom band to the rest and leaves the sides empty.
TbsLayerImagePlans PlanLayerImages(const TbsLayerFrameGeom& G, int SW, int SH, int AWidth, int AHeight);

// The screen places of the four windows for an outer rectangle (X, Y, AWidth, AHeight).
struct TbsLayerPlaces {
    TPoint Top, Bottom, Left, Right;
    friend bool operator==(const TbsLayerPlaces&, const TbsLayerPlaces&) = default;
};
TbsLayerPlaces
LayerWindowPlaces(int X, int Y, int AWidth, int AHeight, int TopHeight, int BottomHeight, int RightWidth);

// Round(Value * FormAlpha / 255), nearest with ties to even.
int ScaleLayerAlpha(int Value, int FormAlpha);

// The hit test of a border window. Object: what the caption object under the mouse is (none, the caption text
// object, another object); only the top window of a full border has one.
enum TbsLayerObjectHit : std::uint8_t { lohNone, lohCaption, lohObject };
struct TbsLayerHitInput {
    TbsFormLayerBorderType BorderType = bsflTop;
    TPoint C;      // the cursor (screen)
    TRect Window;  // the border window (screen)
    TRect Form;    // the form (screen)
    bool CanChangeSize = true;
    TbsLayerObjectHit Object = lohNone;
};
TbsFormLayerBorderHit GetHitMode(const TbsLayerFrameGeom& G, const TbsLayerSizes& S, const TbsLayerHitInput& In);

// One step of a sizing or moving drag: the form's new bounds for the cursor now at C, moved by (Dx, Dy) since the
// last step. Apply false: the step changes nothing. MoveBorderFirst: the border windows go to the new top before the
// form does (so the frame never lags behind a form that grows upwards).
struct TbsLayerDragInput {
    TbsFormLayerBorderHit Mode = bsflhNone;
    TRect Form;
    TPoint C;
    int Dx = 0, Dy = 0;
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;  // a maximum of 0 sets no bound
};
struct TbsLayerDragStep {
    bool Apply = false;
    TRect Form;
    bool MoveBorderFirst = false;
    friend bool operator==(const TbsLayerDragStep&, const TbsLayerDragStep&) = default;
};
TbsLayerDragStep LayerDragStep(const TbsLayerFrameGeom& G, const TbsLayerSizes& S, const TbsLayerDragInput& In);

// Where a maximised form dragged down by its caption goes: its normal height, its current top, centred on the cursor's
// x and kept inside the work area.
TRect LayerRestoreByDrag(const TRect& Form, int NormalHeight, int NormalWidth, TPoint C, const TRect& WorkArea);

// The caption objects of a full border laid out in the top image (TopWidth wide). Objects keep their order; the
// standard buttons go right to left, the system-menu button at the caption's left, the caption object between.
void LayLayerObjects(const TbsLayerFrameGeom& G,
                     int TopWidth,
                     int ButtonsOffset,
                     std::vector<TbsFrameObject>& Objects,
                     bool ShowIcon,
                     int IconW,
                     int IconH);

// The blur regions as rectangles of each window (the corner pieces from a blur mask are added by the caller).
struct TbsLayerBlurRects {
    TRect Top, Bottom, Left, Right;
    int CornerShift = 0;  // how far the right corner pieces move for the image's width
};
TbsLayerBlurRects LayerBlurRects(const TbsLayerFrameGeom& G, int TopWidth, int LeftHeight, int RightHeight);
