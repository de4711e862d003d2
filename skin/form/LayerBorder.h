// The layered border: a skin's layer frame drawn around a skinned form by four per-pixel-alpha windows (top, bottom,
// left, right) instead of in the form's own frame. The windows may reach beyond the form (shadow, glow, rounded
// corners); with hit testing on they also size the form from its edges and corners and move it by the caption, and a
// full border shows the form's caption objects in its top window.
//
// Index: TbsFormLayerBorder (the controller, one per skinned form, a component of its TbsSkinForm),
// TbsFormLayerWindow (one border window). The geometry lives in LayerBorderGeometry.h.
//
// Ownership: the controller owns its four images, its four windows and its timer; the form and the skin container
// are borrowed (the container's layer frame is re-read at every skin change). A window that must go while its own
// message handler runs is released (freed after the handler returns). The windows sit right below the form in the
// z-order, so a part of the frame image that overlaps the form never covers it or takes its clicks.
// GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "classlib/Component.h"
#include "classlib/GdiHandles.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "skin/core/AlphaFade.h"
#include "skin/form/LayerBorderGeometry.h"

class TbsBitmap;
class TbsSkinData;
class TbsDataSkinLayerFrame;
class TbsSkinForm;
class TbsFormLayerBorder;
class TbsSkinCaptionObject;

class TbsFormLayerWindow : public TCustomForm {
  public:
    // AOwner: the controller (not an owning component); AForm: the form the border surrounds.
    TbsFormLayerWindow(TbsFormLayerBorder* AOwner, TCustomForm* AForm, TbsFormLayerBorderType ABorderType);

    TbsFormLayerBorderType BorderType;
    // The hit at screen point (X, Y).
    TbsFormLayerBorderHit GetHitMode(int X, int Y);
    // The form may be sized from its border: sizeable, not rolled up, in normal state.
    bool CanChangeSize();
    bool Down() const { return FDown; }
    TbsFormLayerBorderHit HitMode() const { return FHitMode; }

  protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;

  private:
    friend class TbsFormLayerBorder;  // detaches a released window
    // The handlers read the cursor themselves: the message's point is relative to a window that may have moved.
    void BorderMouseDown(bool Left);
    void BorderMouseMove();
    void BorderMouseUp();
    void BorderDblClick();
    void BorderMouseEnter();
    void BorderMouseLeave();
    // Applies a new size from a drag: the form repaints at once, takes the bounds, and pending messages run.
    void ApplyDragBounds(const TRect& R, bool MoveBorderFirst);
    void ProcessNested();

    bool FDown = false;
    TCustomForm* FForm;                // borrowed: the surrounded form
    TbsFormLayerBorder* FLayerBorder;  // borrowed: the controller that owns this window
    TPoint MousePos1, MousePos2;
    TbsFormLayerBorderHit FHitMode = bsflhNone;
    bool FInProcessMessages = false;
    bool FMouseIn = false;
};

class TbsFormLayerBorder : public TComponent {
  public:
    // AOwner: the skinned form component.
    explicit TbsFormLayerBorder(TComponent* AOwner);
    ~TbsFormLayerBorder() override;

    void InitFrame(TbsSkinData* ASkinData, TCustomForm* AForm);
    void Show(int X, int Y, int AWidth, int AHeight);
    void SetBounds(int X, int Y, int AWidth, int AHeight);
    void Update(int X, int Y, int AWidth, int AHeight);
    void Draw(TCanvas* Canvas, int X, int Y, int AWidth, int AHeight);
    void Hide();
    // The shown images blended into Target at their windows' places (Target's top-left is the screen point (X, Y)):
    // the border as a compositing desktop shows it, for pictures of it.
    void DrawShown(TbsBitmap* Target, int X, int Y);
    void ShowWithForm();
    void SetBoundsWithForm();
    void SetBoundsWithForm2(int AW, int AH);
    void SetBoundsWithForm3(int ALeft, int ATop, int AW, int AH);
    void UpdateBorder();
    void MoveWithForm();
    void MoveWithForm2(int ALeft, int ATop);
    void SetAlphaBlend();
    void SetAlphaBlend2();
    void CheckFormAlpha(int AFormAlpha, bool AUpdate);
    void SetActive(bool AValue, bool AUpdate);
    void ShowWithFormAnimation();
    // The caption object under (X, Y) in the top window's coordinates; (-1, -1) deactivates every object.
    void TestActive(int X, int Y);
    // The caption object when a quick button of it lies at (X, Y) of the top image, else nullptr.
    TbsSkinCaptionObject* QuickCaptionAt(int X, int Y) const;
    // The safety check: the tick of MouseTimer.
    void CheckMouse();
    void CheckButtonUp();
    // Follows the form: a move only moves the windows, a new size rebuilds the images.
    void FollowForm();
    // The windows back right below the form after the form's place in the z-order changed.
    void Restack();

    bool Visible() const { return FVisible; }
    bool HasData() const { return FData != nullptr; }
    bool FullBorder() const;
    const TbsLayerFrameGeom& Geom() const { return geom_; }
    const TbsLayerSizes& Sizes() const { return sizes_; }
    TbsSkinForm* SkinForm() const { return SKF; }
    TCustomForm* Form() const { return FForm; }
    TbsFormLayerWindow* Window(TbsFormLayerBorderType T) const;
    TbsBitmap* Image(TbsFormLayerBorderType T) const;
    TTimer* MouseTimerOf() const { return MouseTimer.get(); }
    int CurrentAlpha() const { return FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue; }
    bool Active() const { return FActive; }
    // Where the caption objects are in the top image (full border), in the skinned form's object order.
    const std::vector<TbsFrameObject>& LayerObjects() const { return layerObjects_; }

    int ActiveObject = -1;
    int OldActiveObject = -1;
    int MouseCaptureObject = -1;
    // The window under the cursor (the safety check asks it); replaceable in tests.
    std::function<HWND()> WindowUnderCursor;
    // The clock and the wait the fade-in is timed by; replaceable in tests.
    TFadeClock FadeClock = SystemFadeClock();

  private:
    friend class TbsFormLayerWindow;
    void InitFrameImages(int AWidth, int AHeight);
    void CalcObjectRects();
    void DrawObjectsAlpha();
    void InitRgns();
    void CreateFrameRgns();
    void DeleteRgns();
    void ApplyImage(TbsFormLayerWindow* W, TbsBitmap* B, int Alpha, const TGdiRegion& Rgn);
    void FreeWindows();
    // The window placed at P, shown or hidden, right below the form, never activated.
    void PlaceWindow(TbsFormLayerWindow* W, TPoint P, bool Show, bool Size);
    TbsLayerPlaces Places(int X, int Y) const;
    TRect FormBounds() const;
    bool NullHeight() const;
    bool BlurApplies() const;

    TbsSkinForm* SKF;  // borrowed: the owner
    bool FIsAeroEnabled = false;
    std::unique_ptr<TTimer> MouseTimer;
    TCustomForm* FForm = nullptr;  // borrowed
    bool FVisible = false;
    TbsSkinData* FSD = nullptr;              // borrowed; re-read at every InitFrame
    TbsDataSkinLayerFrame* FData = nullptr;  // borrowed from FSD
    std::unique_ptr<TbsBitmap> LeftImage, TopImage, RightImage, BottomImage;
    TbsFormLayerWindow *LeftBorder = nullptr, *TopBorder = nullptr, *RightBorder = nullptr, *BottomBorder = nullptr;
    int FWidth = 0, FHeight = 0;
    TbsLayerFrameGeom geom_;
    TbsLayerSizes sizes_;
    TGdiRegion DataRgn1, DataRgn2, DataRgn3, DataRgn4;
    TGdiRegion TopRgn, BottomRgn, RightRgn, LeftRgn;
    bool FActive = true;
    int FCurrentAlphaBlendValue = -1;
    int FCurrentInActiveAlphaBlendValue = -1;
    std::vector<TbsFrameObject> layerObjects_;
};
