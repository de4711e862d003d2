// TbsSkinControl and TbsSkinCustomControl: the bases of every windowed skinned control. A control names one entry of
// its skin container (SkinDataName), looks it up again before every paint and layout step, paints itself whole into
// a bitmap that goes to the screen in one copy (WM_ERASEBKGND is swallowed), and draws its built-in look when the
// container has no entry of that name. The custom base adds the geometry of one resizable skin picture: resize mode,
// size rule, a window region from the entry's mask, the forced-background painting of panels and lists, a default
// font and a default size for the built-in look.
//
// An entry of another kind under the name counts as found but gives nothing to draw from: the built-in look, and the
// size is kept. Once SetWindowRgn takes a region the system owns it; this class never deletes one it handed over.
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

// Sent to a child whose look depends on what lies behind it (wParam 0, lParam 0).
constexpr UINT WM_CHECKPARENTBG = 1284;

class TbsSkinControl : public TCustomControl, public IbsSkinnedControl, public IbsHintExtras {
  public:
    explicit TbsSkinControl(TComponent* AOwner);
    ~TbsSkinControl() override;

    TbsSkinData* SkinData() const { return FSD; }
    virtual void SetSkinData(TbsSkinData* Value);
    const std::wstring& SkinDataName() const { return FSkinDataName; }
    virtual void SetSkinDataName(const std::wstring& Value);

    // The hint title, image index and image list the skinned hint shows.
    std::wstring HintTitle() const override { return FHintTitle; }
    void SetHintTitle(const std::wstring& Value) { FHintTitle = Value; }
    int HintImageIndex() const override { return FHintImageIndex; }
    void SetHintImageIndex(int Value) { FHintImageIndex = Value; }
    TCustomImageList* HintImageList() const override { return FHintImageList; }
    void SetHintImageList(TCustomImageList* Value);

    // The entry found at the last lookup (-1: none, the built-in look).
    int SkinIndex() const { return FIndex; }
    bool FromWMPaint = false;

    // IbsSkinnedControl: the skin change walk.
    TbsSkinData* ControlSkinData() const override { return FSD; }
    void BeforeChangeSkinData() override;
    void ChangeSkinData() override;
    virtual void AfterChangeSkinData() {}

    // Paints the control as it would appear into DC with its top-left at (X, Y).
    void PaintTo(HDC DC, int X, int Y);
    // Sends WM_CHECKPARENTBG to every child (windowed or not).
    void CheckControlsBackground();

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

  protected:
    virtual void GetSkinData();
    // Whether Paint draws the skinned look (an entry was found).
    virtual bool SkinLookAvailable() const { return FIndex != -1; }
    // The built-in and the skinned look into B, which has the control's size.
    virtual void CreateControlDefaultImage(TBitmap* /*B*/) {}
    virtual void CreateControlSkinImage(TBitmap* /*B*/) {}
    virtual void CheckParentBackground() {}
    void Paint() override;
    // Looks the entry up and draws the built-in or skinned image, in one bitmap of the control's size, at (X, Y).
    void PaintImageTo(TCanvas* C, int X, int Y);
    // The entry found at the last lookup, nullptr when none.
    TbsDataSkinControl* Entry() const;

    TbsSkinData* FSD = nullptr;  // borrowed, cleared by Notification
    std::wstring FSkinDataName;
    HRGN FRgn = nullptr;  // the region the window holds; the system owns it
    int FIndex = -1;

  private:
    std::wstring FHintTitle;
    int FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;  // borrowed
};

class TbsSkinCustomControl : public TbsSkinControl {
  public:
    explicit TbsSkinCustomControl(TComponent* AOwner);
    ~TbsSkinCustomControl() override;

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

    // R (in skin-rectangle coordinates) mapped onto the control's current size.
    TRect GetNewRect(const TRect& R) const;
    int GetRealClientLeft() const { return G.RealClientLeft(); }
    int GetRealClientTop() const { return G.RealClientTop(); }
    int GetRealClientWidth() const { return G.RealClientWidth(); }
    int GetRealClientHeight() const { return G.RealClientHeight(); }
    int ResizeMode() const { return G.ResizeMode; }
    // The geometry in force (after the last lookup or CalcSize).
    const TbsControlGeometry& Geometry() const { return G; }

  protected:
    void GetSkinData() override;
    // An entry of the custom kind was found (an entry of another kind gives nothing to draw from).
    bool SkinLookAvailable() const override { return FIndex != -1 && !FForeignEntry; }
    virtual void DefaultFontChange() {}
    virtual void CalcSize(int& W, int& H);
    virtual void SetControlRegion();
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void Paint() override;
    void CreateWnd() override;
    void DestroyWnd() override;

    TbsControlGeometry G;
    TBitmap* Picture = nullptr;      // borrowed from the container
    TBitmap* MaskPicture = nullptr;  // borrowed from the container
    bool FForeignEntry = false;
    bool FForceBackground = false;
    bool FDrawbackground = true;
    int FDefaultWidth = 0;
    int FDefaultHeight = 0;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;

  private:
    void PaintForcedBackground();
    void RemoveRegion();
};
