// TbsSkinStdLabel and TbsSkinLinkLabel: the class library's label given the skin's label font and colour. They repeat
// the skin binding without the bases (a container, an entry name looked up again at every text drawing, a default
// font for the look without an entry) and draw straight onto the parent's canvas, transparent by default. The link
// label adds a hot colour or a glow while the pointer is over it, an underline, a hand cursor and an address that a
// click opens through the control seam's shell "open". AutoSize measures through DoDrawText, so with the skin font.
// GUI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "classlib/StdCtrls.h"
#include "skin/form/SkinnedControl.h"

class TbsSkinData;

enum TbsEllipsType { bsetNone, bsetEndEllips, bsetPathEllips };

// What both labels share: the binding, the entry's font fields and the font the text is drawn in.
class TbsLabelSkinning {
  public:
    TbsSkinData* FSD = nullptr;  // borrowed
    std::wstring FSkinDataName = L"stdlabel";
    int FIndex = -1;
    // The entry's fields, copied at each lookup from a label entry (an entry of another kind leaves them).
    std::wstring FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    // FIndex := the entry's index (-1 without a container, with an empty one or without the name).
    void Lookup();
    bool HasEntry() const { return FIndex != -1; }
    // The text font onto Target: without an entry UseSkinFont picks Default, else Own; with one the entry's name,
    // style and height (UseSkinFont) or Own. The colour is left to the caller. The charset is the container's
    // resource strings' when it has them, else Default's.
    void ApplyFont(TFont* Target, bool UseSkinFont, TFont* Default, TFont* Own) const;
    // The embossed colours of disabled text: the skin's button highlight and shadow with an entry, else the system's.
    TColor HighlightColor() const;
    TColor ShadowColor() const;
};

// What both labels add to the class library's label: the container, the entry name and index, the default font and
// whether the skin's font is used, and painting into a foreign DC.
class TbsSkinLabelBase : public TCustomLabel, public IbsSkinnedControl {
  public:
    explicit TbsSkinLabelBase(TComponent* AOwner);
    ~TbsSkinLabelBase() override;

    TbsSkinData* SkinData() const { return S.FSD; }
    // Binds the container and applies it (also when it is the same one).
    void SetSkinData(TbsSkinData* Value);
    const std::wstring& SkinDataName() const { return S.FSkinDataName; }
    void SetSkinDataName(const std::wstring& Value) { S.FSkinDataName = Value; }
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    int SkinIndex() const { return S.FIndex; }

    TbsSkinData* ControlSkinData() const override { return S.FSD; }
    // Paints the label as it appears into DC with its top-left at (X, Y).
    void PaintTo(HDC DC, int X, int Y);

    void Notification(TComponent* AComponent, TOperation Operation) override;

  protected:
    TbsLabelSkinning S;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
};

class TbsSkinStdLabel : public TbsSkinLabelBase {
  public:
    explicit TbsSkinStdLabel(TComponent* AOwner);
    ~TbsSkinStdLabel() override;

    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool Value) { FUseSkinColor = Value; }
    TbsEllipsType EllipsType() const { return FEllipsType; }
    void SetEllipsType(TbsEllipsType Value);

    void ChangeSkinData() override;

    // The label with the text AText drawn onto C with its top-left at (X, Y).
    void PaintSkinTo(TCanvas* C, int X, int Y, const std::wstring& AText);

  protected:
    void DoDrawText(TRect& R, UINT Flags) override;

  private:
    void DrawLabelText(TCanvas* C, TRect& R, UINT Flags, std::wstring Text);
    bool FUseSkinColor = true;
    TbsEllipsType FEllipsType = bsetNone;
};

class TbsSkinLinkLabel : public TbsSkinLabelBase {
  public:
    explicit TbsSkinLinkLabel(TComponent* AOwner);
    ~TbsSkinLinkLabel() override;

    bool GlowEffect() const { return FGlowEffect; }
    void SetGlowEffect(bool Value);
    int GlowSize() const { return FGlowSize; }
    void SetGlowSize(int Value);
    bool UseUnderLine() const { return FUseUnderLine; }
    void SetUseUnderLine(bool Value);
    TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(TColor Value) { FDefaultActiveFontColor = Value; }
    const std::wstring& URL() const { return FURL; }
    void SetURL(const std::wstring& Value) { FURL = Value; }
    bool MouseIn() const { return FMouseIn; }

    void ChangeSkinData() override;
    // OnClick, then the shell's "open" of a non-empty URL.
    void Click() override;

    void WndProc(TMessage& Message) override;

  protected:
    void DoDrawText(TRect& R, UINT Flags) override;

  private:
    bool FGlowEffect = false;
    int FGlowSize = 7;
    bool FMouseIn = false;
    bool FUseUnderLine = true;
    TColor FDefaultActiveFontColor = 0xFF0000;
    std::wstring FURL;
};
