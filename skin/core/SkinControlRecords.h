// The control records of a skin: one record per entry of [SKINCONTROLS], of the class of the entry's kind, read from
// the section named by the entry. Each class lists its fields once (OwnFields, in declaration order); reading,
// writing and defaults follow that list (see SkinFields.h). Consumers read the fields directly.
// Index: TbsDataSkinControl, TbsDataSkinCustomControl and one class per control kind; CreateControlRecord.
// No windows.h here.
#pragma once

#include <memory>
#include <string>

#include "classlib/Types.h"
#include "skin/core/SkinRecord.h"
#include "skin/core/SkinTypes.h"

class TbsDataSkinControl : public TbsDataSkinRecord {
    BS_SKIN_RECORD(TbsDataSkinControl, TbsDataSkinRecord, L"")
    int PictureIndex{};
    int MaskPictureIndex{};
    TRect SkinRect{};
};

class TbsDataSkinCustomControl : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinCustomControl, TbsDataSkinControl, L"")
    TPoint LTPoint{};
    TPoint RTPoint{};
    TPoint LBPoint{};
    TPoint RBPoint{};
    TRect ClRect{};
    bool StretchEffect{};
    TbsStretchType StretchType{};
    bool LeftStretch{};
    bool TopStretch{};
    bool RightStretch{};
    bool BottomStretch{};
};

class TbsDataSkinBevel : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinBevel, TbsDataSkinControl, L"bevel")
    int LightColor{};
    int DarkColor{};
};

class TbsDataSkinTreeView : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinTreeView, TbsDataSkinControl, L"treeview")
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int BGColor{};
    TRect ExpandImageRect{};
    TRect NoExpandImageRect{};
};

class TbsDataSkinSlider : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinSlider, TbsDataSkinControl, L"slider")
    TRect HRulerRect{};
    TRect HThumbRect{};
    TRect VRulerRect{};
    TRect VThumbRect{};
    int EdgeSize{};
    int BGColor{};
    int PointsColor{};
};

class TbsDataSkinListView : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinListView, TbsDataSkinControl, L"listview")
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int BGColor{};
};

class TbsDataSkinRichEdit : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinRichEdit, TbsDataSkinControl, L"richedit")
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int BGColor{};
};

class TbsDataSkinMainMenuBar : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinMainMenuBar, TbsDataSkinControl, L"mainmenubar")
    TRect ItemsRect{};
    std::wstring MenuBarItem{};
    std::wstring CloseButton{};
    std::wstring MaxButton{};
    std::wstring MinButton{};
    std::wstring SysMenuButton{};
    int TrackMarkColor{};
    int TrackMarkActiveColor{};
    bool StretchEffect{};
    bool ItemTransparent{};
};

class TbsDataSkinTabControl : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinTabControl, TbsDataSkinControl, L"tab")
    TRect TabRect{};
    TRect ActiveTabRect{};
    TRect FocusTabRect{};
    TRect MouseInTabRect{};
    TRect ClRect{};
    TRect TabsBGRect{};
    TPoint LTPoint{};
    TPoint RTPoint{};
    TPoint LBPoint{};
    TPoint RBPoint{};
    int TabLeftOffset{};
    int TabRightOffset{};
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int ActiveFontColor{};
    int FocusFontColor{};
    int MouseInFontColor{};
    std::wstring UpDown{};
    int BGPictureIndex{};
    bool TabStretchEffect{};
    bool ShowFocus{};
    int FocusOffsetX{};
    int FocusOffsetY{};
    bool LeftStretch{};
    bool TopStretch{};
    bool RightStretch{};
    bool BottomStretch{};
    bool StretchEffect{};
    TbsStretchType StretchType{};
    TRect CloseButtonRect{};
    TRect CloseButtonActiveRect{};
    TRect CloseButtonDownRect{};
    bool ButtonTransparent{};
    int ButtonTransparentColor{};
    TRect DividerRect{};
    bool DividerTransparent{};
    int DividerTransparentColor{};
    TRect TabLeftBottomActiveRect{};
    TRect TabLeftBottomFocusRect{};
    TRect MDICloseRect{};
    TRect MDICloseActiveRect{};
    TRect MDICloseDownRect{};
    TRect MDIRestoreRect{};
    TRect MDIRestoreActiveRect{};
    TRect MDIRestoreDownRect{};
    TRect MDIMinRect{};
    TRect MDIMinActiveRect{};
    TRect MDIMinDownRect{};
    bool MDIButtonsTransparent{};
    int MDIButtonsTransparentColor{};
};

class TbsDataSkinGridControl : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinGridControl, TbsDataSkinControl, L"grid")
    TRect FixedCellRect{};
    TRect SelectCellRect{};
    TRect FocusCellRect{};
    int FixedCellLeftOffset{};
    int FixedCellRightOffset{};
    TRect FixedCellTextRect{};
    int CellLeftOffset{};
    int CellRightOffset{};
    TRect CellTextRect{};
    int LinesColor{};
    int BGColor{};
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int SelectFontColor{};
    int FocusFontColor{};
    std::wstring FixedFontName{};
    TbsFontStyles FixedFontStyle{};
    int FixedFontHeight{};
    int FixedFontColor{};
    bool FixedCellStretchEffect{};
    bool CellStretchEffect{};
    bool ShowFocus{};
    int BGPictureIndex{};
};

class TbsDataSkinStdLabelControl : public TbsDataSkinControl {
    BS_SKIN_RECORD(TbsDataSkinStdLabelControl, TbsDataSkinControl, L"stdlabel")
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int ActiveFontColor{};
};

class TbsDataSkinAppMenu : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinAppMenu, TbsDataSkinCustomControl, L"appmenu")
    int BGPictureIndex{};
    bool BGStretchEffect{};
    int BGPagePictureIndex{};
    bool BGPageStretchEffect{};
    TRect ItemRect{};
    TRect PageItemRect{};
    TRect PageItemActiveRect{};
    int ItemOffset1{};
    int ItemOffset2{};
    int PageItemOffset1{};
    int PageItemOffset2{};
    int PageOffset{};
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontPageHeight{};
    int FontColor{};
    int DisabledFontColor{};
    int FontPageColor{};
    int ActiveFontColor{};
    int ActiveFontPageColor{};
    TRect GripperRect{};
    int GripperTransparentColor{};
    TRect TopLineRect{};
    int TopLineOffset1{};
    int TopLineOffset2{};
    TRect BackButtonRect{};
    TRect BackButtonActiveRect{};
    TRect CaptionRect{};
    int CaptionLeftOffset{};
    int CaptionTopOffset{};
    TRect FormCaptionRect{};
};

class TbsDataSkinControlBar : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinControlBar, TbsDataSkinCustomControl, L"controlbar")
    TRect ItemRect{};
    int BGPictureIndex{};
    TRect HGripRect{};
    TRect VGripRect{};
    int GripOffset1{};
    int GripOffset2{};
    bool ItemStretchEffect{};
    int ItemOffset1{};
    int ItemOffset2{};
    bool ItemTransparent{};
    int ItemTransparentColor{};
    bool GripTransparent{};
    int GripTransparentColor{};
};

class TbsDataSkinUpDownControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinUpDownControl, TbsDataSkinCustomControl, L"updown")
    TRect UpButtonRect{};
    TRect ActiveUpButtonRect{};
    TRect DownUpButtonRect{};
    TRect DownButtonRect{};
    TRect ActiveDownButtonRect{};
    TRect DownDownButtonRect{};

  protected:
    // An up-down entry never carries nine-part geometry, whatever its section says.
    void AfterRead() override;
    void BeforeWrite() override { AfterRead(); }
};

class TbsDataSkinComboBox : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinComboBox, TbsDataSkinCustomControl, L"combobox")
    TRect SItemRect{};
    TRect ActiveItemRect{};
    TRect FocusItemRect{};
    int ItemLeftOffset{};
    int ItemRightOffset{};
    TRect ItemTextRect{};
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int FocusFontColor{};
    int ActiveFontColor{};
    TRect ButtonRect{};
    TRect ActiveButtonRect{};
    TRect DownButtonRect{};
    TRect UnEnabledButtonRect{};
    bool ItemStretchEffect{};
    bool FocusItemStretchEffect{};
    TRect ActiveSkinRect{};
    std::wstring ListBoxName{};
    bool ShowFocus{};
};

class TbsDataSkinListBox : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinListBox, TbsDataSkinCustomControl, L"listbox")
    TRect SItemRect{};
    TRect ActiveItemRect{};
    TRect FocusItemRect{};
    int ItemLeftOffset{};
    int ItemRightOffset{};
    TRect ItemTextRect{};
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int ActiveFontColor{};
    int FocusFontColor{};
    TRect CaptionRect{};
    std::wstring CaptionFontName{};
    TbsFontStyles CaptionFontStyle{};
    int CaptionFontHeight{};
    int CaptionFontColor{};
    TRect UpButtonRect{};
    TRect ActiveUpButtonRect{};
    TRect DownUpButtonRect{};
    TRect DownButtonRect{};
    TRect ActiveDownButtonRect{};
    TRect DownDownButtonRect{};
    TRect CheckButtonRect{};
    TRect ActiveCheckButtonRect{};
    TRect DownCheckButtonRect{};
    std::wstring HScrollBarName{};
    std::wstring VScrollBarName{};
    std::wstring BothScrollBarName{};
    bool ShowFocus{};
    TRect DisabledButtonsRect{};
    TRect ButtonsArea{};
};

class TbsDataSkinCheckListBox : public TbsDataSkinListBox {
    BS_SKIN_RECORD(TbsDataSkinCheckListBox, TbsDataSkinListBox, L"checklistbox")
    TRect UnCheckImageRect{};
    TRect CheckImageRect{};
    TRect ItemCheckRect{};
};

class TbsDataSkinScrollBarControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinScrollBarControl, TbsDataSkinCustomControl, L"scrollbar")
    TRect TrackArea{};
    TRect UpButtonRect{};
    TRect ActiveUpButtonRect{};
    TRect DownUpButtonRect{};
    TRect DownButtonRect{};
    TRect ActiveDownButtonRect{};
    TRect DownDownButtonRect{};
    TRect ThumbRect{};
    TRect ActiveThumbRect{};
    TRect DownThumbRect{};
    int ThumbOffset1{};
    int ThumbOffset2{};
    TRect GlyphRect{};
    TRect ActiveGlyphRect{};
    TRect DownGlyphRect{};
    bool GlyphTransparent{};
    int GlyphTransparentColor{};
    bool ThumbTransparent{};
    int ThumbTransparentColor{};
    bool ThumbStretchEffect{};
    int ThumbMinSize{};
    int ThumbMinPageSize{};
};

class TbsDataSkinSpinEditControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinSpinEditControl, TbsDataSkinCustomControl, L"spinedit")
    TRect ActiveSkinRect{};
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int ActiveFontColor{};
    int DisabledFontColor{};
    TRect UpButtonRect{};
    TRect ActiveUpButtonRect{};
    TRect DownUpButtonRect{};
    TRect DownButtonRect{};
    TRect ActiveDownButtonRect{};
    TRect DownDownButtonRect{};
};

class TbsDataSkinEditControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinEditControl, TbsDataSkinCustomControl, L"edit")
    TRect ActiveSkinRect{};
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int DisabledFontColor{};
    int ActiveFontColor{};
    TRect ButtonRect{};
    TRect ActiveButtonRect{};
    TRect DownButtonRect{};
    TRect UnEnabledButtonRect{};
};

class TbsDataSkinMemoControl : public TbsDataSkinEditControl {
    BS_SKIN_RECORD(TbsDataSkinMemoControl, TbsDataSkinEditControl, L"memo")
    int BGColor{};
    int ActiveBGColor{};
};

class TbsDataSkinLabelControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinLabelControl, TbsDataSkinCustomControl, L"label")
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
};

class TbsDataSkinSplitterControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinSplitterControl, TbsDataSkinCustomControl, L"splitter")
    TRect GripperRect{};
    bool GripperTransparent{};
    int GripperTransparentColor{};
};

class TbsDataSkinGaugeControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinGaugeControl, TbsDataSkinCustomControl, L"gauge")
    TRect ProgressArea{};
    TRect ProgressRect{};
    bool Vertical{};
    int BeginOffset{};
    int EndOffset{};
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    bool ProgressTransparent{};
    int ProgressTransparentColor{};
    bool ProgressStretch{};
    TRect AnimationSkinRect{};
    int AnimationCountFrames{};
    int AnimationTimerInterval{};
    TRect ProgressAnimationSkinRect{};
    int ProgressAnimationCountFrames{};
    int ProgressAnimationTimerInterval{};
    int AnimationBeginOffset{};
    int AnimationEndOffset{};
};

class TbsDataSkinTrackBarControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinTrackBarControl, TbsDataSkinCustomControl, L"trackbar")
    TRect ActiveSkinRect{};
    TRect TrackArea{};
    TRect ButtonRect{};
    TRect ActiveButtonRect{};
    bool Vertical{};
    bool ButtonTransparent{};
    int ButtonTransparentColor{};
};

class TbsDataSkinButtonControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinButtonControl, TbsDataSkinCustomControl, L"button")
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int ActiveFontColor{};
    int DownFontColor{};
    int DisabledFontColor{};
    TRect ActiveSkinRect{};
    TRect DownSkinRect{};
    TRect DisabledSkinRect{};
    TRect FocusedSkinRect{};
    bool Morphing{};
    TbsMorphKind MorphKind{};
    TRect AnimateSkinRect{};
    int FrameCount{};
    int AnimateInterval{};
    bool ShowFocus{};
    TRect MenuMarkerFlatRect{};
    TRect MenuMarkerRect{};
    TRect MenuMarkerActiveRect{};
    TRect MenuMarkerDownRect{};
    int MenuMarkerTransparentColor{};
    int GlowLayerPictureIndex{};
    int GlowLayerMaskPictureIndex{};
    int GlowLayerOffsetLeft{};
    int GlowLayerOffsetRight{};
    int GlowLayerOffsetTop{};
    int GlowLayerOffsetBottom{};
    int GlowLayerShowOffsetX{};
    int GlowLayerShowOffsetY{};
    int GlowLayerAlphaBlendValue{};
};

class TbsDataSkinMenuButtonControl : public TbsDataSkinButtonControl {
    BS_SKIN_RECORD(TbsDataSkinMenuButtonControl, TbsDataSkinButtonControl, L"menubutton")
    TRect TrackButtonRect{};
};

class TbsDataSkinCheckRadioControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinCheckRadioControl, TbsDataSkinCustomControl, L"checkradio")
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int ActiveFontColor{};
    int UnEnabledFontColor{};
    TRect ActiveSkinRect{};
    TRect CheckImageArea{};
    TRect TextArea{};
    TRect CheckImageRect{};
    TRect UnCheckImageRect{};
    TRect ActiveCheckImageRect{};
    TRect ActiveUnCheckImageRect{};
    TRect UnEnabledCheckImageRect{};
    TRect UnEnabledUnCheckImageRect{};
    TRect GrayedCheckImageRect{};
    TRect ActiveGrayedCheckImageRect{};
    bool Morphing{};
    TbsMorphKind MorphKind{};
    int FrameFontColor{};
};

class TbsDataSkinScrollBoxControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinScrollBoxControl, TbsDataSkinCustomControl, L"scrollbox")
    int BGPictureIndex{};
};

class TbsDataSkinPanelControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinPanelControl, TbsDataSkinCustomControl, L"panel")
    TRect CaptionRect{};
    TAlignment Alignment{};
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    int BGPictureIndex{};
    TRect CheckImageRect{};
    TRect UnCheckImageRect{};
    TRect MarkFrameRect{};
    TRect FrameRect{};
    int FrameLeftOffset{};
    int FrameRightOffset{};
    TRect FrameTextRect{};
    TRect GripperRect{};
    bool GripperTransparent{};
    int GripperTransparentColor{};
    TRect ButtonRect{};
    TRect ButtonActiveRect{};
    TRect ButtonDownRect{};
    bool ButtonTransparent{};
    int ButtonTransparentColor{};
};

class TbsDataSkinExPanelControl : public TbsDataSkinCustomControl {
    BS_SKIN_RECORD(TbsDataSkinExPanelControl, TbsDataSkinCustomControl, L"expanel")
    TRect RollHSkinRect{};
    TRect RollVSkinRect{};
    int RollLeftOffset{};
    int RollRightOffset{};
    int RollTopOffset{};
    int RollBottomOffset{};
    TRect RollVCaptionRect{};
    TRect RollHCaptionRect{};
    TRect CloseButtonRect{};
    TRect CloseButtonActiveRect{};
    TRect CloseButtonDownRect{};
    TRect HRollButtonRect{};
    TRect HRollButtonActiveRect{};
    TRect HRollButtonDownRect{};
    TRect HRestoreButtonRect{};
    TRect HRestoreButtonActiveRect{};
    TRect HRestoreButtonDownRect{};
    TRect VRollButtonRect{};
    TRect VRollButtonActiveRect{};
    TRect VRollButtonDownRect{};
    TRect VRestoreButtonRect{};
    TRect VRestoreButtonActiveRect{};
    TRect VRestoreButtonDownRect{};
    TRect CaptionRect{};
    std::wstring FontName{};
    TbsFontStyles FontStyle{};
    int FontHeight{};
    int FontColor{};
    bool ButtonsTransparent{};
    int ButtonsTransparentColor{};
};

// A new record of the class of kind word Kind named AIDName; nullptr for a word that names no control kind.
std::unique_ptr<TbsDataSkinControl> CreateControlRecord(const std::wstring& Kind, const std::wstring& AIDName);
// The control kind words in the order in which a writer distinguishes the classes.
extern const wchar_t* const kControlKindWords[29];
