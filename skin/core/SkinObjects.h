// The object records of a skin (caption buttons, caption, menu items, menu-bar items, animations, user areas: one per
// entry of [SKINOBJECTS]) and the container's fixed-section records: popup window, layer frame, hint window and skin
// colours. Each class lists its fields once (OwnFields); reading, writing and defaults follow that list.
// Index: TbsDataSkinObject and its kinds, TbsDataSkinPopupWindow, TbsDataSkinLayerFrame, TbsDataSkinHintWindow,
// TbsSkinColors, CreateObjectRecord.
// The records are pure; only their alpha images (TbsBitmap, built in SkinObjectImages.cpp) need the pixel core.
#pragma once

#include <memory>
#include <string>

#include "classlib/Types.h"
#include "skin/core/SkinRecord.h"
#include "skin/core/SkinTypes.h"

class TbsBitmap;
class TbsSkinData;

// An owned TbsBitmap; the deleter lives with the image code, so the records need no bitmap header.
struct TbsBitmapDeleter {
    void operator()(TbsBitmap* bitmap) const;
};
using TbsBitmapPtr = std::unique_ptr<TbsBitmap, TbsBitmapDeleter>;

class TbsDataSkinObject : public TbsDataSkinRecord {
    BS_SKIN_RECORD(TbsDataSkinObject, TbsDataSkinRecord, L"")
    std::wstring Hint{};
    bool SkinRectInAPicture{};
    TRect SkinRect{};
    TRect ActiveSkinRect{};
    int ActivePictureIndex{};
    int ActiveMaskPictureIndex{};
    TRect InActiveSkinRect{};
    bool Morphing{};
    TbsMorphKind MorphKind{};
    int GlowLayerPictureIndex{};
    int GlowLayerMaskPictureIndex{};
    int GlowLayerOffsetX{};
    int GlowLayerOffsetY{};
    int GlowLayerAlphaBlendValue{};

    // Builds the images that depend on other pictures of the skin; called right after reading.
    virtual void InitAlphaImages(TbsSkinData* ASkinData);
};

// A free area of the frame: only its rectangle is stored; every other field keeps the value of a new record.
class TbsDataUserObject : public TbsDataSkinObject {
  public:
    explicit TbsDataUserObject(const std::wstring& AIDName) : TbsDataSkinObject(AIDName) {}
    void EnumFields(TbsFieldSink& s) override { s.Rect(L"SkinRect", SkinRect); }
    const wchar_t* KindWord() const override { return L"userobject"; }
};

class TbsDataSkinButton : public TbsDataSkinObject {
    BS_SKIN_RECORD(TbsDataSkinButton, TbsDataSkinObject, L"button")
    TRect DownRect{};
    TRect DisableSkinRect{};
    int AlphaMaskPictureIndex{};
    int AlphaMaskActivePictureIndex{};
    int AlphaMaskInActivePictureIndex{};

    // 32-bit state images for layered frames, built from the skin and never stored; nullptr when absent.
    TbsBitmapPtr FAlphaNormalImage, FAlphaActiveImage, FAlphaDownImage, FAlphaInActiveImage;
    void InitAlphaImages(TbsSkinData* ASkinData) override;
    void InitAlphaImage(TbsSkinData* ASkinData, TbsBitmapPtr& AImage, int AMaskPictureIndex, const TRect& ARect);
};

class TbsDataSkinStdButton : public TbsDataSkinButton {
    BS_SKIN_RECORD(TbsDataSkinStdButton, TbsDataSkinButton, L"stdbutton")
    TbsStdCommand Command{};
    std::wstring RestoreHint{};
    TRect RestoreRect{};
    TRect RestoreActiveRect{};
    TRect RestoreDownRect{};
    TRect RestoreInActiveRect{};
    TRect OfficeRect{};
    TRect OfficeActiveRect{};
    TRect OfficeDownRect{};
    TRect OfficeInActiveRect{};
    TRect OfficeRestoreRect{};
    TRect OfficeRestoreInActiveRect{};
    TRect OfficeRestoreActiveRect{};
    TRect OfficeRestoreDownRect{};

    TbsBitmapPtr FAlphaRestoreNormalImage, FAlphaRestoreActiveImage, FAlphaRestoreDownImage, FAlphaInActiveRestoreImage;
    void InitAlphaImages(TbsSkinData* ASkinData) override;

  protected:
    void AfterRead() override;
};

class TbsDataSkinMainMenuBarButton : public TbsDataSkinStdButton {
    BS_SKIN_RECORD(TbsDataSkinMainMenuBarButton, TbsDataSkinStdButton, L"mainmenubarbutton")
};

class TbsDataSkinAnimate : public TbsDataSkinObject {
    BS_SKIN_RECORD(TbsDataSkinAnimate, TbsDataSkinObject, L"animate")
    int CountFrames{};
    bool Cycle{};
    bool ButtonStyle{};
    int TimerInterval{};
    TbsStdCommand Command{};
    TRect DownSkinRect{};
    std::wstring RestoreHint{};
    TRect RestoreRect{};
    TRect RestoreActiveRect{};
    TRect RestoreDownRect{};
    TRect RestoreInActiveRect{};

  protected:
    void AfterRead() override;
};

class TbsDataSkinMenuItem : public TbsDataSkinObject {
    BS_SKIN_RECORD(TbsDataSkinMenuItem, TbsDataSkinObject, L"menuitem")
    TRect DividerRect{};
    int DividerLO{};
    int DividerRO{};
    int ItemLO{};
    int ItemRO{};
    std::wstring FontName{};
    int FontHeight{};
    TbsFontStyles FontStyle{};
    int UnEnabledFontColor{};
    int FontColor{};
    int ActiveFontColor{};
    TRect TextRct{};
    TRect ImageRct{};
    bool UseImageColor{};
    int ImageColor{};
    int ActiveImageColor{};
    bool StretchEffect{};
    bool DividerStretchEffect{};
    bool InActiveStretchEffect{};
    TRect AnimateSkinRect{};
    int FrameCount{};
    int AnimateInterval{};
    bool InActiveAnimation{};
    bool InActiveTransparent{};
    TRect CheckImageRect{};
    TRect ActiveCheckImageRect{};
    TRect RadioImageRect{};
    TRect ActiveRadioImageRect{};
    TRect ArrowImageRect{};
    TRect ActiveArrowImageRect{};

  protected:
    void AfterRead() override;
};

class TbsDataSkinMainMenuItem : public TbsDataSkinObject {
    BS_SKIN_RECORD(TbsDataSkinMainMenuItem, TbsDataSkinObject, L"")
    TRect DownRect{};
    std::wstring FontName{};
    int FontHeight{};
    TbsFontStyles FontStyle{};
    int FontColor{};
    int ActiveFontColor{};
    int DownFontColor{};
    int UnEnabledFontColor{};
    TRect TextRct{};
    int ItemLO{};
    int ItemRO{};
    bool StretchEffect{};
    TRect AnimateSkinRect{};
    int FrameCount{};
    int AnimateInterval{};
    bool InActiveAnimation{};
};

class TbsDataSkinMainMenuBarItem : public TbsDataSkinMainMenuItem {
    BS_SKIN_RECORD(TbsDataSkinMainMenuBarItem, TbsDataSkinMainMenuItem, L"mainmenubaritem")
};

class TbsDataSkinCaption : public TbsDataSkinObject {
    BS_SKIN_RECORD(TbsDataSkinCaption, TbsDataSkinObject, L"caption")
    std::wstring FontName{};
    int FontHeight{};
    TbsFontStyles FontStyle{};
    int FontColor{};
    int ActiveFontColor{};
    int ShadowColor{};
    int ActiveShadowColor{};
    bool Shadow{};
    TAlignment Alignment{};
    TRect TextRct{};
    TRect FrameRect{};
    TRect ActiveFrameRect{};
    int FrameLeftOffset{};
    int FrameRightOffset{};
    TRect FrameTextRect{};
    bool Light{};
    int LightColor{};
    int ActiveLightColor{};
    bool StretchEffect{};
    TRect AnimateSkinRect{};
    int FrameCount{};
    int AnimateInterval{};
    bool InActiveAnimation{};
    bool FullFrame{};
    bool GlowEffect{};
    bool VistaGlowEffect{};
    bool VistaGlowInActiveEffect{};
    bool GlowInActiveEffect{};
    int GlowSize{};
    int GlowColor{};
    int GlowActiveColor{};
    int GlowOffset{};
    bool ReflectionEffect{};
    int ReflectionColor{};
    int ReflectionActiveColor{};
    int ReflectionOffset{};
    TRect DividerRect{};
    TRect InActiveDividerRect{};
    bool DividerTransparent{};
    int DividerTransparentColor{};
    int QuickButtonAlphaMaskPictureIndex{};
    TRect OfficeBGRect{};
    int OfficeFontColor{};
    int OfficeActiveFontColor{};
};

class TbsDataSkinPopupWindow : public TbsDataSkinRecord {
    BS_SKIN_RECORD(TbsDataSkinPopupWindow, TbsDataSkinRecord, L"")
    int WindowPictureIndex{};
    int MaskPictureIndex{};
    TPoint LTPoint{};
    TPoint RTPoint{};
    TPoint LBPoint{};
    TPoint RBPoint{};
    TRect ItemsRect{};
    int ScrollMarkerColor{};
    int ScrollMarkerActiveColor{};
    bool LeftStretch{};
    bool RightStretch{};
    bool TopStretch{};
    bool BottomStretch{};
    bool StretchEffect{};
    TbsStretchType StretchType{};

    TbsDataSkinPopupWindow() : TbsDataSkinPopupWindow(L"POPUPWINDOW") {}
};

class TbsDataSkinLayerFrame : public TbsDataSkinRecord {
    BS_SKIN_RECORD(TbsDataSkinLayerFrame, TbsDataSkinRecord, L"")
    int PictureIndex{};
    int MaskPictureIndex{};
    int InActivePictureIndex{};
    int InActiveMaskPictureIndex{};
    TPoint LTPoint{};
    TPoint RTPoint{};
    TPoint LBPoint{};
    TPoint RBPoint{};
    TRect ClRect{};
    int AlphaBlendValue{};
    int InActiveAlphaBlendValue{};
    TRect BorderRect{};
    TRect HitTestRect{};
    bool HitTestEnable{};
    bool FullBorder{};
    int HitTestSize{};
    TRect CaptionRect{};
    TPoint HitTestLTPoint{};
    TPoint HitTestRTPoint{};
    TPoint HitTestLBPoint{};
    TPoint HitTestRBPoint{};
    TRect ButtonsRect{};
    TRect SysMenuButtonRect{};
    bool FullStretch{};
    int RollUpFormHeight{};
    int ButtonsTopOffset{};
    int SysButtonTopOffset{};
    int BlurMaskPictureIndex{};
    TRect IntersectBlurMaskRect{};
    TRect ExcludeBlurMaskRect{};
    int LeftOffset{};
    int TopOffset{};
    int WidthOffset{};
    int HeightOffset{};

    TbsDataSkinLayerFrame() : TbsDataSkinLayerFrame(L"LAYERFRAME") {}
    // The frame picture with the alpha of its mask (active and inactive); nullptr when absent.
    TbsBitmapPtr FSourceBitmap, FSourceInActiveBitMap;
    void InitAlphaImages(TbsSkinData* ASkinData);
};

class TbsDataSkinHintWindow : public TbsDataSkinRecord {
    BS_SKIN_RECORD(TbsDataSkinHintWindow, TbsDataSkinRecord, L"")
    int WindowPictureIndex{};
    int MaskPictureIndex{};
    TPoint LTPoint{};
    TPoint RTPoint{};
    TPoint LBPoint{};
    TPoint RBPoint{};
    TRect ClRect{};
    std::wstring FontName{};
    int FontHeight{};
    TbsFontStyles FontStyle{};
    int FontColor{};
    bool LeftStretch{};
    bool RightStretch{};
    bool TopStretch{};
    bool BottomStretch{};
    bool StretchEffect{};
    TbsStretchType StretchType{};

    TbsDataSkinHintWindow() : TbsDataSkinHintWindow(L"HINTWINDOW") {}
};

class TbsSkinColors : public TbsDataSkinRecord {
    BS_SKIN_RECORD(TbsSkinColors, TbsDataSkinRecord, L"")
    int cBtnFace{};
    int cBtnText{};
    int cWindow{};
    int cWindowText{};
    int cHighLight{};
    int cHighLightText{};
    int cBtnHighLight{};
    int cBtnShadow{};

    // A new colour set holds 0 in all eight until the first load or clear.
    TbsSkinColors() : TbsSkinColors(L"SKINCOLORS") {
        cBtnFace = cBtnText = cWindow = cWindowText = cHighLight = cHighLightText = cBtnHighLight = cBtnShadow = 0;
    }
    // The system colour constants that a skin without [SKINCOLORS] keys reads.
    void SetColorsToDefault() { ResetToDefaults(); }
};

// A new record of the class of kind word Kind named AIDName; nullptr for a word that names no object kind.
std::unique_ptr<TbsDataSkinObject> CreateObjectRecord(const std::wstring& Kind, const std::wstring& AIDName);
