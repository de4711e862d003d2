// TbsSkinPanel: the skinned container. It draws its frame, background and an optional caption bar from the skin
// entry "panel" (or its built-in look), and offers a caption with text and a picture, a check box in the caption that
// enables the children (check mode), rolling up to the caption, a transparent mode over the parent's background, a
// background picture from the skin and an empty-drawing mode. TbsSkinPaintPanel lets its owner paint into it;
// TbsSkinGroupBox is a panel with its caption on and the entry "groupbox". GUI thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "classlib/ImgList.h"
#include "skin/controls/SkinControl.h"

enum class TbsPanelBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
// The built-in look's one-pixel frame around R: button shadow all round, raised, lowered, or none.
void DrawPanelBorder(TCanvas* C, const TRect& R, TbsPanelBorderStyle Style);
enum TbsImagePosition { bsipDefault, bsipLeft };

// Size limits a rolled-up panel saves and clears (0: no limit); SetBounds keeps the panel within them.
struct TbsPanelConstraints {
    int MaxWidth = 0, MinWidth = 0, MaxHeight = 0, MinHeight = 0;
};

class TbsSkinPanel : public TbsSkinCustomControl {
  public:
    explicit TbsSkinPanel(TComponent* AOwner);
    ~TbsSkinPanel() override;

    bool CaptionMode() const { return FCaptionMode; }
    virtual void SetCaptionMode(bool Value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    virtual void SetDefaultCaptionHeight(int Value);
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment Value);
    TbsPanelBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsPanelBorderStyle Value);
    bool RibbonStyle() const { return FRibbonStyle; }
    void SetRibbonStyle(bool Value);
    TBitmap* Glyph() { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
    void SetCaptionImageList(TCustomImageList* Value);
    int CaptionImageIndex() const { return FCaptionImageIndex; }
    void SetCaptionImageIndex(int Value);
    TbsImagePosition ImagePosition() const { return FImagePosition; }
    void SetImagePosition(TbsImagePosition Value);
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool AutoEnabledControls() const { return FAutoEnabledControls; }
    void SetAutoEnabledControls(bool Value) { FAutoEnabledControls = Value; }
    bool RollUpMode() const { return FRollUpMode; }
    void SetRollUpMode(bool Value);
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool Value);
    int RealHeight() const { return FRealHeight; }
    bool TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(bool Value);
    bool EmptyDrawing() const { return FEmptyDrawing; }
    void SetEmptyDrawing(bool Value) { FEmptyDrawing = Value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    TbsPanelConstraints& Constraints() { return FConstraints; }

    TNotifyEvent OnChecked;
    TNotifyEvent OnChangeRollUpState;

    // Looks the entry up and paints the panel's image into C at (X, Y).
    void PaintskinTo(TCanvas* C, int X, int Y);
    // (0, 0, Width, Height) through AdjustClientRect.
    TRect GetSkinClientRect();
    void ShowControls();
    void HideControls();
    // The caption strip for the current size (skin look).
    TRect CaptionRectNow() const { return NewCaptionRect; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void ChangeSkinData() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

  protected:
    virtual void PaintTransparent(TCanvas* /*C*/) {}
    void AdjustClientRect(TRect& Rect) override;
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    bool FUseSkinSize = true;
    TRect NewCaptionRect;
    // The panel record's copies.
    TRect CaptionRect;
    TAlignment Alignment = taLeftJustify;
    std::wstring FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = clBtnText;
    int BGPictureIndex = -1;
    TRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect, FrameTextRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;

  private:
    bool HasSkin() const { return SkinLookAvailable(); }
    void DoRollUp(bool Up);
    void CreateControlResizeImage(TBitmap* B);
    // The client rectangle of the skin's "panel" entry at this size (the resized caption's frame); empty without one.
    TRect ResizedCaptionClient();
    void PaintTransparentCaption(TBitmap* B);
    void PaintClientPart();
    void PaintBackgroundPicture();
    void DrawCaption(TBitmap* B);
    void ApplyCaptionFont(TFont* F);
    // The caption picture: the image list's image, else the glyph frame (W x H; none: 0 x 0).
    bool CaptionPicture(int& W, int& H) const;
    void DrawCaptionPicture(TCanvas* C, int X, int Y);
    int GlyphTextWidth(TCanvas* C);
    TColor GetCaptionColor();

    bool FCaptionMode = false;
    int FDefaultCaptionHeight = 20;
    TAlignment FDefaultAlignment = taLeftJustify;
    TbsPanelBorderStyle FBorderStyle = TbsPanelBorderStyle::bvFrame;
    bool FRibbonStyle = false;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    int FSpacing = 2;
    TCustomImageList* FCaptionImageList = nullptr;  // borrowed
    int FCaptionImageIndex = -1;
    TbsImagePosition FImagePosition = bsipDefault;
    bool FCheckedMode = false, FChecked = false, FAutoEnabledControls = true;
    bool FRollUpMode = false, FRollUpState = false;
    int FRealHeight = -1;
    bool FTransparentMode = false, FEmptyDrawing = false;
    bool FInChangingRollUp = false;
    TbsPanelConstraints FConstraints, FSaved;
};

class TbsSkinPaintPanel : public TbsSkinPanel {
  public:
    explicit TbsSkinPaintPanel(TComponent* AOwner);
    std::function<void(TCanvas* Cnvs, const TRect& R)> OnPanelPaint;
    void WndProc(TMessage& Message) override;

  protected:
    void PaintTransparent(TCanvas* C) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
};

class TbsSkinGroupBox : public TbsSkinPanel {
  public:
    explicit TbsSkinGroupBox(TComponent* AOwner);

  protected:
    void GetSkinData() override;
};
