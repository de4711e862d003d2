// The live caption objects of a skinned form: one per object record of the skin (caption buttons, animated buttons,
// user areas and the caption text), or the six built-in buttons without a skin. Each knows where it lies in the
// window (ObjectRect, set by the form's layout), draws itself in its normal, hot, pressed, inactive or restore look,
// decides by its mask picture whether a point is on it, cross-fades between normal and hot image on the form's morph
// timer, steps its frames on the animation timer, shows a glow window beside it and runs its window command.
//
// Index: TbsActiveSkinObject (base), TbsUserObject, TbsSkinButtonObject, TbsSkinStdButtonObject,
// TbsSkinAnimateObject, TbsSkinCaptionObject (the caption text, SkinCaptionText.cpp), ApplyInActiveEffect.
//
// Ownership: the form owns the objects (its ObjectList) and frees them before a skin change; an object borrows the
// skin's pictures, its record and the record's alpha images, all of which outlive it. GUI thread only.
#pragma once

#include <functional>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "classlib/Types.h"
#include "skin/core/SkinObjects.h"
#include "skin/core/SkinTypes.h"

class TbsBitmap;
class TbsEffectBmp;
class TbsSkinData;
class TbsSkinForm;
class TbsSkinPopupMenu;
class TbsDataSkinButtonControl;
class TMenuItem;

// Paints on Target keeping its alpha: everything Paint draws becomes opaque, every other pixel of Area (widened by
// Margin) keeps the alpha it had. Paint is called twice, on a mask (Mask true: draw in white) and on the colour copy,
// with the offset that maps Target's coordinates to the copy's.
void PaintKeepingAlpha(TbsBitmap* Target,
                       TFont* Font,
                       TRect Area,
                       int Margin,
                       const std::function<void(TCanvas*, int, int, bool)>& Paint);

// The skin's inactive-window effect on an effect bitmap.
void ApplyInActiveEffect(TbsEffectBmp* Bmp, TbsInActiveEffect Effect);

class TbsActiveSkinObject {
  public:
    TbsActiveSkinObject(TbsSkinForm* AParent, TbsDataSkinObject* AData);
    virtual ~TbsActiveSkinObject() = default;
    TbsActiveSkinObject(const TbsActiveSkinObject&) = delete;
    TbsActiveSkinObject& operator=(const TbsActiveSkinObject&) = delete;

    // X, Y relative to the object's top-left.
    virtual bool InActiveMask(int X, int Y);
    virtual void ShowLayer();
    virtual void HideLayer();
    virtual bool CanMorphing();
    // Cnvs in window coordinates; UpDate: this object is repainted alone (not as part of the whole frame).
    virtual void Draw(TCanvas* Cnvs, bool UpDate);
    // Into the 32-bit top image of a layered border (Cnvs is its canvas, ObjectRect in its coordinates).
    virtual void DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap);
    virtual void DblClick();
    // X, Y in window coordinates.
    virtual void MouseDown(int X, int Y, TMouseButton Button);
    virtual void MouseUp(int X, int Y, TMouseButton Button);
    virtual void MouseMove(int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    bool EnableMorphing();
    void Redraw();
    void DoMorphing();
    void SetMorphKf(double Value);
    double MorphKf() const { return FMorphKf; }
    // The hover state and place a layered border lends the object while it paints it into its top image.
    struct TLook {
        TRect ObjectRect;
        bool Active, MouseIn, Down;
    };
    TLook SaveLook() const;
    void LendLook(bool AHot, bool APressed);
    void RestoreLook(const TLook& ALook);
    // Not hot, pointer out, normal image.
    void ResetHover() {
        Active = false;
        FMouseIn = false;
        FMorphKf = 0;
    }
    bool MouseIn() const { return FMouseIn; }
    // The record the object was made from (nullptr for a built-in button).
    TbsDataSkinObject* Data() const { return FData; }

    TbsSkinForm* Parent;     // borrowed: the owning form component
    TBitmap* Picture;        // borrowed: the skin's main picture
    TBitmap* ActivePicture;  // borrowed, or nullptr
    TBitmap* ActiveMaskPicture;  // borrowed, or nullptr
    TbsSkinData* SD;         // borrowed: the form's container at creation
    std::wstring IDName, Hint;
    TRect SkinRect, ActiveSkinRect, InActiveSkinRect, ObjectRect;
    bool Active = false;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    bool Enabled = true;
    bool Visible = true;
    bool SkinRectInAPicture = false;
    int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetX = 0, GlowLayerOffsetY = 0, GlowLayerAlphaBlendValue = 0;

  protected:
    bool SkinEmpty() const;
    // R (in the object's coordinates) on the screen: by the layered top window or by the form's window.
    TRect ToScreen(const TRect& R);
    // Src of Pic stretched onto ObjectRect.
    void DrawRect(TCanvas* Cnvs, TBitmap* Pic, const TRect& Src);
    // One cross-fade step between the normal image (NormalSrc of NormalPic) and the hot image (HotSrc of
    // ActivePicture) by FMorphKf.
    void DrawMorph(TCanvas* Cnvs, TBitmap* NormalPic, const TRect& NormalSrc, const TRect& HotSrc);
    // The glow window of this object through the form's layer manager (the menu one when AMenu).
    void ShowGlow(bool AMenu);
    void HideGlow(bool AMenu);
    TRect ScreenRect();

    TbsDataSkinObject* FData;  // borrowed
    double FMorphKf = 0;
    bool FMouseIn = false;
};

class TbsUserObject : public TbsActiveSkinObject {
  public:
    using TbsActiveSkinObject::TbsActiveSkinObject;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
};

class TbsSkinButtonObject : public TbsActiveSkinObject {
  public:
    TbsSkinButtonObject(TbsSkinForm* AParent, TbsDataSkinButton* AData);
    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void SetDown(bool Value);
    bool Down() const { return FDown; }
    void TrackMenu();

    TRect DisableSkinRect, DownRect;
    TMenuItem* MenuItem = nullptr;  // borrowed: the items the button drops down

  protected:
    friend class TbsActiveSkinObject;  // lends the pressed look to a layered border
    void DrawButton(TCanvas* Cnvs, bool UpDate);
    bool FDown = false;
    bool FPopupUp = false;
};

class TbsSkinStdButtonObject : public TbsSkinButtonObject {
  public:
    // AData nullptr: a built-in button named AIDName running ACommand.
    TbsSkinStdButtonObject(TbsSkinForm* AParent,
                           TbsDataSkinStdButton* AData,
                           const std::wstring& AIDName = L"",
                           TbsStdCommand ACommand = cmDefault);
    bool InActiveMask(int X, int Y) override;
    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap) override;
    void DblClick() override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DefaultDraw(TCanvas* Cnvs);
    void DoCommand();
    // The command's window state is in force (a maximise button on a maximised form shows "restore").
    bool RestoreState(bool AMainFormRule = true);

    TbsStdCommand Command;
    TRect RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;
    std::wstring RestoreHint, FTempHint;

  private:
    bool IconCase(bool ASkinRule) const;
    void ResetRects();
    TbsDataSkinStdButton* StdData() const;
    bool FSkinSupport;
};

class TbsSkinAnimateObject : public TbsActiveSkinObject {
  public:
    TbsSkinAnimateObject(TbsSkinForm* AParent, TbsDataSkinAnimate* AData);
    void ShowLayer() override;
    void HideLayer() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void SetFrame(int Value);
    void Start();
    void Stop();
    void ChangeFrame();
    void DoCommand();
    void TrackMenu();
    // The frame's rectangle in ActivePicture (n 1-based); empty when the strip has no frames.
    TRect FrameRect(int N) const;

    int FFrame = 1;
    int FInc = 25;
    int TimerInterval = 25;
    int CountFrames = 0;
    bool Cycle = false, ButtonStyle = false, Increment = true;
    bool FDown = false, FMenuTracking = false;
    TbsStdCommand Command = cmDefault;
    TRect DownSkinRect, RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;
    std::wstring RestoreHint, FTempHint;
    TMenuItem* MenuItem = nullptr;  // borrowed

  private:
    bool RestoreState() const;
    bool FPopupUp = false;
};

class TbsSkinCaptionObject : public TbsActiveSkinObject {
  public:
    TbsSkinCaptionObject(TbsSkinForm* AParent, TbsDataSkinCaption* AData);
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseMove(int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool EnableAnimation();
    void UpdateNCForm();
    // The animation strip's frame N (1-based); empty without frames.
    TRect GetAnimationFrameRect(int N) const;
    // The caption text as painted (after the cut to the text area of the last paint); for tests and hints.
    const std::wstring& PaintedText() const { return FPaintedText; }
    // Its measured width and the width of the text area it was cut to.
    int PaintedWidth() const { return FPaintedWidth; }
    int PaintedArea() const { return FPaintedArea; }

    // ---- Quick buttons (SkinCaptionQuick.cpp); X, Y in the object's coordinate space (the window's) ----
    // Declared buttons and an image list: they are laid out, drawn and run.
    bool QuickButtonsShown() const;
    // The enabled, visible button under (X, Y), -1 when none.
    int QuickButtonAt(int X, int Y) const;
    // Hot tracking of the buttons at (X, Y); (-1, -1) takes the hot state away.
    void TestActive(int X, int Y);
    // Opens Menu below R (the button's ItemRect).
    void TrackMenu(const TRect& R, TbsSkinPopupMenu* Menu);
    // The form's menu closed: the button whose menu it was lets go.
    void QuickMenuClosed();
    // The form went inactive: plain buttons come up, none stays hot.
    void QuickDeactivate();

    int ActiveQuickButton = -1, OldActiveQuickButton = -1, MouseCaptureQuickButton = -1, PopupMenuQuickButton = -1;
    bool FDown = false;
    int FIncTime = 0;
    int CurrentFrame = 0;
    TbsDataSkinCaption* Cap;  // borrowed: the caption record

  private:
    // Text area relative to the object for the window path (before the quick buttons narrow it).
    TRect TextArea() const;
    // The divider and the buttons drawn on Cnvs (window coordinates); Area (the object's) gives up their room.
    void DrawQuickButtons(TCanvas* Cnvs, TRect& Area);
    void DrawQuickButton(TCanvas* Cnvs, int Index);
    // The layered variant into the top image B (its canvas Cnvs).
    void DrawQuickButtonsAlpha(TCanvas* Cnvs, TbsBitmap* B, TRect& Area);
    void DrawQuickButtonAlpha(TCanvas* Cnvs, TbsBitmap* B, int Index);
    void LayoutQuick(bool Layered, TRect& Area);
    // "officequickbutton", else "resizetoolbutton"; nullptr without either.
    TbsDataSkinButtonControl* QuickLook() const;
    TColor QuickTextColor(int Index) const;
    void DrawDivider(TCanvas* Cnvs, TbsBitmap* Alpha);
    void ReleaseQuickCapture();
    void CnvSetFont(TCanvas* Canvas, int Color);
    // Paints text (and frame) on Canvas with the object's top-left at (X0, Y0). Alpha: the layered-image painters.
    void DrawCaptionText(TCanvas* Canvas, const TRect& Area, int X0, int Y0, bool ActiveLook, TbsBitmap* Alpha);
    void CreateCaptionBitMap(TBitmap* B, const TRect& Src, TBitmap* Pic);
    // A background bitmap of the object's size with the text painted on it.
    void BuildLook(TBitmap* B, const TRect& Src, TBitmap* Pic, bool ActiveLook);
    bool InActiveEffectDue() const;
    std::wstring FPaintedText;
    int FPaintedWidth = 0, FPaintedArea = 0;
};
