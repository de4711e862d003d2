// TbsSkinLabel: a windowed one-line label drawn from the entry "label": the caption with an optional glow
// (ShadowEffect) or a fading mirror image (ReflectionEffect; the glow wins when both are on), cut with "..." to the
// width on request, aligned left, right or centred, over the entry's picture, over the parent's background
// (Transparent) or in the built-in look with a simple frame; AutoSize widens it to its caption. The glow is the
// painters' effect text, drawn into its mask as often as the program set at start (SetEffectTextMaskCopies).
//
// Ownership: the skin container is borrowed. GUI thread only.
#pragma once

#include <string>

#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinPanel.h"  // TbsPanelBorderStyle

enum TbsLabelEllipsType { bsetNoneEllips, bsetEllips };

class TbsSkinLabel : public TbsSkinCustomControl {
  public:
    explicit TbsSkinLabel(TComponent* AOwner);
    ~TbsSkinLabel() override;

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool ShadowEffect() const { return FShadowEffect; }
    void SetShadowEffect(bool Value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value);
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int Value);
    int ShadowSize() const { return FShadowSize; }
    void SetShadowSize(int Value);
    bool ReflectionEffect() const { return FReflectionEffect; }
    void SetReflectionEffect(bool Value);
    int ReflectionOffset() const { return FReflectionOffset; }
    void SetReflectionOffset(int Value);
    TbsLabelEllipsType EllipsType() const { return FEllipsType; }
    void SetEllipsType(TbsLabelEllipsType Value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value);
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value);
    TbsPanelBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsPanelBorderStyle Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

    // How many pixels the caption needs beyond the current width (negative: fewer).
    virtual int CalcWidthOffset();

    void WndProc(TMessage& Message) override;

  protected:
    void GetSkinData() override;
    bool SkinLookAvailable() const override;
    void CalcSize(int& W, int& H) override;
    void SetControlRegion() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void CheckParentBackground() override;

  private:
    void AdjustBounds();
    void PrepareFont(TCanvas* C);
    void DrawLabelText(TCanvas* C, TRect R);

    bool FTransparent = false;
    bool FShadowEffect = false;
    TColor FShadowColor = clBlack;
    int FShadowOffset = 0;
    int FShadowSize = 3;
    bool FReflectionEffect = false;
    int FReflectionOffset = -5;
    TbsLabelEllipsType FEllipsType = bsetNoneEllips;
    bool FUseSkinSize = true;
    bool FUseSkinFontColor = true;
    TbsPanelBorderStyle FBorderStyle = TbsPanelBorderStyle::bvFrame;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = false;

    // The entry's font.
    std::wstring FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0;
};
