// TbsGraphicSkinControl and TbsGraphicSkinCustomControl: the bases of skinned controls without a window of their own
// (speed buttons and the like), which paint on their parent's canvas. The same binding as the windowed bases: entry
// lookup by exact name before every paint and layout step, one control-sized bitmap per paint, the built-in look
// without an entry, the same resize modes and size rule; no region, no forced background, no background notice to
// children. The before-change walk leaves them alone: the lookup at the next paint drops a stale entry.
// GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "classlib/Controls.h"
#include "classlib/ImgList.h"
#include "skin/controls/ControlGeometry.h"
#include "skin/form/SkinHint.h"
#include "skin/form/SkinnedControl.h"

class TbsSkinData;
class TbsDataSkinControl;

class TbsGraphicSkinControl : public TGraphicControl, public IbsSkinnedControl, public IbsHintExtras {
  public:
    explicit TbsGraphicSkinControl(TComponent* AOwner);
    ~TbsGraphicSkinControl() override;

    TbsSkinData* SkinData() const { return FSD; }
    virtual void SetSkinData(TbsSkinData* Value);
    const std::wstring& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::wstring& Value) { FSkinDataName = Value; }

    std::wstring HintTitle() const override { return FHintTitle; }
    void SetHintTitle(const std::wstring& Value) { FHintTitle = Value; }
    int HintImageIndex() const override { return FHintImageIndex; }
    void SetHintImageIndex(int Value) { FHintImageIndex = Value; }
    TCustomImageList* HintImageList() const override { return FHintImageList; }
    void SetHintImageList(TCustomImageList* Value);

    int SkinIndex() const { return FIndex; }

    // IbsSkinnedControl. BeforeChangeSkinData forgets the entry, but the form's walk calls it on windowed controls
    // only.
    TbsSkinData* ControlSkinData() const override { return FSD; }
    void BeforeChangeSkinData() override { FIndex = -1; }
    void ChangeSkinData() override;

    // Paints the control as it would appear into DC with its top-left at (X, Y).
    void PaintTo(HDC DC, int X, int Y);

    void Notification(TComponent* AComponent, TOperation Operation) override;

  protected:
    virtual void GetSkinData();
    virtual bool SkinLookAvailable() const { return FIndex != -1; }
    virtual void CreateControlDefaultImage(TBitmap* /*B*/) {}
    virtual void CreateControlSkinImage(TBitmap* /*B*/) {}
    void Paint() override;
    TbsDataSkinControl* Entry() const;

    TbsSkinData* FSD = nullptr;  // borrowed, cleared by Notification
    std::wstring FSkinDataName;
    int FIndex = -1;

  private:
    std::wstring FHintTitle;
    int FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;  // borrowed
};

class TbsGraphicSkinCustomControl : public TbsGraphicSkinControl {
  public:
    explicit TbsGraphicSkinCustomControl(TComponent* AOwner);
    ~TbsGraphicSkinCustomControl() override;

    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }

    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TRect GetNewRect(const TRect& R) const;
    int GetRealClientLeft() const { return G.RealClientLeft(); }
    int GetRealClientTop() const { return G.RealClientTop(); }
    int GetRealClientWidth() const { return G.RealClientWidth(); }
    int GetRealClientHeight() const { return G.RealClientHeight(); }
    int ResizeMode() const { return G.ResizeMode; }
    const TbsControlGeometry& Geometry() const { return G; }

  protected:
    void GetSkinData() override;
    bool SkinLookAvailable() const override { return FIndex != -1 && !FForeignEntry; }
    virtual void DefaultFontChange() {}
    virtual void CalcSize(int& W, int& H);
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;

    TbsControlGeometry G;
    TBitmap* Picture = nullptr;  // borrowed from the container
    bool FForeignEntry = false;
    int FDefaultWidth = 0;
    int FDefaultHeight = 0;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
};
