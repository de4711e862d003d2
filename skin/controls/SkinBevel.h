// TbsSkinBevel: the class library's bevel whose light and dark colours come from the skin's "bevel" entry, looked up
// only in ChangeSkinData, with a divider mode that draws a short embossed line across the middle. GUI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "classlib/ExtCtrls.h"
#include "skin/form/SkinnedControl.h"

class TbsSkinData;

class TbsSkinBevel : public TBevel, public IbsSkinnedControl {
  public:
    explicit TbsSkinBevel(TComponent* AOwner);

    TbsSkinData* SkinData() const { return FSD; }
    // Stores and runs ChangeSkinData (nullptr too: the system colours come back).
    void SetSkinData(TbsSkinData* Value);
    const std::wstring& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::wstring& Value) { FSkinDataName = Value; }
    bool DividerMode() const { return FDividerMode; }
    void SetDividerMode(bool Value);
    TColor LightColor() const { return FLightColor; }
    TColor DarkColor() const { return FDarkColor; }
    int SkinIndex() const { return FIndex; }

    TbsSkinData* ControlSkinData() const override { return FSD; }
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void PaintTo(HDC DC, int X, int Y);

    void Notification(TComponent* AComponent, TOperation Operation) override;

  protected:
    void Paint() override;

  private:
    TbsSkinData* FSD = nullptr;  // borrowed
    std::wstring FSkinDataName = L"bevel";
    int FIndex = -1;
    bool FDividerMode = false;
    TColor FLightColor = clBtnHighlight;
    TColor FDarkColor = clBtnShadow;
};
