// TbsSkinButtonLabel: a windowless label with a glyph or an image-list image that acts like a flat button: a hot text
// colour, an underline in web style, another image or a glow behind glyph and text while the pointer is over it, and
// the class library's click on release. Its text takes the skin's label entry ("stdlabel"), looked up only in
// ChangeSkinData: painting uses the index found there. GUI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Controls.h"
#include "classlib/ImgList.h"
#include "skin/core/GlyphPainters.h"
#include "skin/form/SkinnedControl.h"

class TbsSkinData;

class TbsSkinButtonLabel : public TGraphicControl, public IbsSkinnedControl {
  public:
    explicit TbsSkinButtonLabel(TComponent* AOwner);
    ~TbsSkinButtonLabel() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const std::wstring& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::wstring& Value) { FSkinDataName = Value; }
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(TColor Value) { FDefaultActiveFontColor = Value; }
    bool GlowEffect() const { return FGlowEffect; }
    void SetGlowEffect(bool Value) { FGlowEffect = Value; }
    int GlowSize() const { return FGlowSize; }
    void SetGlowSize(int Value) { FGlowSize = Value; }
    bool UseCustomGlowColor() const { return FUseCustomGlowColor; }
    void SetUseCustomGlowColor(bool Value) { FUseCustomGlowColor = Value; }
    TColor CustomGlowColor() const { return FCustomGlowColor; }
    void SetCustomGlowColor(TColor Value) { FCustomGlowColor = Value; }
    // Paints off-screen over the parent's image; on makes the control opaque.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value);
    // Underline while hot, none otherwise; no repaint on press and release.
    bool WebStyle() const { return FWebStyle; }
    void SetWebStyle(bool Value) { FWebStyle = Value; }
    // The glyph strip (owned copy): 1 normal, 2 disabled, 3 pressed, 4 hot.
    TBitmap* Glyph() { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    int ActiveImageIndex() const { return FActiveImageIndex; }
    void SetActiveImageIndex(int Value) { FActiveImageIndex = Value; }
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TbsButtonLayout Layout() const { return FLayout; }
    void SetLayout(TbsButtonLayout Value);

    bool MouseIn() const { return FMouseIn; }
    bool Down() const { return FDown; }
    int SkinIndex() const { return FIndex; }
    // The image index the next paint shows (-1: the glyph).
    int ShownImageIndex();

    TbsSkinData* ControlSkinData() const override { return FSD; }
    void ChangeSkinData() override;
    void PaintTo(HDC DC, int X, int Y);

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

  protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

  private:
    void PaintOn(TCanvas* C);
    bool FUseCustomGlowColor = false;
    TColor FCustomGlowColor = 0xFFFF00;
    bool FGlowEffect = false;
    int FGlowSize = 7;
    bool FDoubleBuffered = false;
    bool FWebStyle = false;
    bool FMouseIn = false;
    bool FDown = false;
    int FIndex = -1;
    TbsSkinData* FSD = nullptr;  // borrowed
    std::wstring FSkinDataName = L"stdlabel";
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    TColor FDefaultActiveFontColor = 0xFF0000;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    int FMargin = -1;
    int FSpacing = 1;
    TbsButtonLayout FLayout = blGlyphLeft;
    TCustomImageList* FImageList = nullptr;  // borrowed
    int FImageIndex = -1;
    int FActiveImageIndex = -1;
    // The entry's fields, copied in ChangeSkinData.
    TColor FontColor = 0, ActiveFontColor = 0;
    std::wstring FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
};
