// Field lists of the control records (see SkinControlRecords.h).
#include "skin/core/SkinControlRecords.h"

#include <functional>
#include <unordered_map>

void TbsDataSkinControl::OwnFields(TbsFieldSink& s) {
    s.Int(L"PictureIndex", PictureIndex);
    s.Int(L"MaskPictureIndex", MaskPictureIndex);
    s.Rect(L"SkinRect", SkinRect);
}

void TbsDataSkinCustomControl::OwnFields(TbsFieldSink& s) {
    s.Corners(LTPoint, RTPoint, LBPoint, RBPoint);
    s.Rect(L"ClRect", ClRect, L"clientrect");
    s.Bool(L"StretchEffect", StretchEffect);
    s.Stretch(L"StretchType", StretchType);
    s.Bool(L"LeftStretch", LeftStretch);
    s.Bool(L"TopStretch", TopStretch);
    s.Bool(L"RightStretch", RightStretch);
    s.Bool(L"BottomStretch", BottomStretch);
}

void TbsDataSkinBevel::OwnFields(TbsFieldSink& s) {
    s.Color(L"LightColor", LightColor);
    s.Color(L"DarkColor", DarkColor);
}

void TbsDataSkinTreeView::OwnFields(TbsFieldSink& s) {
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Color(L"BGColor", BGColor);
    s.Rect(L"ExpandImageRect", ExpandImageRect);
    s.Rect(L"NoExpandImageRect", NoExpandImageRect);
}

void TbsDataSkinSlider::OwnFields(TbsFieldSink& s) {
    s.Rect(L"HRulerRect", HRulerRect);
    s.Rect(L"HThumbRect", HThumbRect);
    s.Rect(L"VRulerRect", VRulerRect);
    s.Rect(L"VThumbRect", VThumbRect);
    s.Int(L"EdgeSize", EdgeSize);
    s.Color(L"BGColor", BGColor);
    s.Color(L"PointsColor", PointsColor);
}

void TbsDataSkinListView::OwnFields(TbsFieldSink& s) {
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Color(L"BGColor", BGColor);
}

void TbsDataSkinRichEdit::OwnFields(TbsFieldSink& s) {
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Color(L"BGColor", BGColor);
}

void TbsDataSkinMainMenuBar::OwnFields(TbsFieldSink& s) {
    s.Rect(L"ItemsRect", ItemsRect);
    s.Str(L"MenuBarItem", MenuBarItem);
    s.Str(L"CloseButton", CloseButton);
    s.Str(L"MaxButton", MaxButton);
    s.Str(L"MinButton", MinButton);
    s.Str(L"SysMenuButton", SysMenuButton);
    s.Color(L"TrackMarkColor", TrackMarkColor);
    s.Color(L"TrackMarkActiveColor", TrackMarkActiveColor);
    s.Bool(L"StretchEffect", StretchEffect);
    s.Bool(L"ItemTransparent", ItemTransparent);
}

void TbsDataSkinTabControl::OwnFields(TbsFieldSink& s) {
    s.Rect(L"TabRect", TabRect);
    s.Rect(L"ActiveTabRect", ActiveTabRect);
    s.Rect(L"FocusTabRect", FocusTabRect);
    s.Rect(L"MouseInTabRect", MouseInTabRect);
    s.Rect(L"ClRect", ClRect, L"clientrect");
    s.Rect(L"TabsBGRect", TabsBGRect);
    s.Corners(LTPoint, RTPoint, LBPoint, RBPoint);
    s.Int(L"TabLeftOffset", TabLeftOffset);
    s.Int(L"TabRightOffset", TabRightOffset);
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Color(L"ActiveFontColor", ActiveFontColor);
    s.Color(L"FocusFontColor", FocusFontColor);
    s.Color(L"MouseInFontColor", MouseInFontColor);
    s.Str(L"UpDown", UpDown);
    s.Int(L"BGPictureIndex", BGPictureIndex);
    s.Bool(L"TabStretchEffect", TabStretchEffect);
    s.Bool(L"ShowFocus", ShowFocus);
    s.Int(L"FocusOffsetX", FocusOffsetX);
    s.Int(L"FocusOffsetY", FocusOffsetY);
    s.Bool(L"LeftStretch", LeftStretch);
    s.Bool(L"TopStretch", TopStretch);
    s.Bool(L"RightStretch", RightStretch);
    s.Bool(L"BottomStretch", BottomStretch);
    s.Bool(L"StretchEffect", StretchEffect);
    s.Stretch(L"StretchType", StretchType);
    s.Rect(L"CloseButtonRect", CloseButtonRect);
    s.Rect(L"CloseButtonActiveRect", CloseButtonActiveRect);
    s.Rect(L"CloseButtonDownRect", CloseButtonDownRect);
    s.Bool(L"ButtonTransparent", ButtonTransparent);
    s.Color(L"ButtonTransparentColor", ButtonTransparentColor);
    s.Rect(L"DividerRect", DividerRect);
    s.Bool(L"DividerTransparent", DividerTransparent);
    s.Color(L"DividerTransparentColor", DividerTransparentColor);
    s.Rect(L"TabLeftBottomActiveRect", TabLeftBottomActiveRect);
    s.Rect(L"TabLeftBottomFocusRect", TabLeftBottomFocusRect);
    s.Rect(L"MDICloseRect", MDICloseRect);
    s.Rect(L"MDICloseActiveRect", MDICloseActiveRect);
    s.Rect(L"MDICloseDownRect", MDICloseDownRect);
    s.Rect(L"MDIRestoreRect", MDIRestoreRect);
    s.Rect(L"MDIRestoreActiveRect", MDIRestoreActiveRect);
    s.Rect(L"MDIRestoreDownRect", MDIRestoreDownRect);
    s.Rect(L"MDIMinRect", MDIMinRect);
    s.Rect(L"MDIMinActiveRect", MDIMinActiveRect);
    s.Rect(L"MDIMinDownRect", MDIMinDownRect);
    s.Bool(L"MDIButtonsTransparent", MDIButtonsTransparent);
    s.Color(L"MDIButtonsTransparentColor", MDIButtonsTransparentColor);
}

void TbsDataSkinGridControl::OwnFields(TbsFieldSink& s) {
    s.Rect(L"FixedCellRect", FixedCellRect);
    s.Rect(L"SelectCellRect", SelectCellRect);
    s.Rect(L"FocusCellRect", FocusCellRect);
    s.Int(L"FixedCellLeftOffset", FixedCellLeftOffset);
    s.Int(L"FixedCellRightOffset", FixedCellRightOffset);
    s.Rect(L"FixedCellTextRect", FixedCellTextRect);
    s.Int(L"CellLeftOffset", CellLeftOffset);
    s.Int(L"CellRightOffset", CellRightOffset);
    s.Rect(L"CellTextRect", CellTextRect);
    s.Color(L"LinesColor", LinesColor);
    s.Color(L"BGColor", BGColor);
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Color(L"SelectFontColor", SelectFontColor);
    s.Color(L"FocusFontColor", FocusFontColor);
    s.Str(L"FixedFontName", FixedFontName);
    s.Styles(L"FixedFontStyle", FixedFontStyle);
    s.Int(L"FixedFontHeight", FixedFontHeight);
    s.Color(L"FixedFontColor", FixedFontColor);
    s.Bool(L"FixedCellStretchEffect", FixedCellStretchEffect);
    s.Bool(L"CellStretchEffect", CellStretchEffect);
    s.Bool(L"ShowFocus", ShowFocus);
    s.Int(L"BGPictureIndex", BGPictureIndex);
}

void TbsDataSkinStdLabelControl::OwnFields(TbsFieldSink& s) {
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.ColorDef(L"ActiveFontColor", ActiveFontColor, 16711680);
}

void TbsDataSkinAppMenu::OwnFields(TbsFieldSink& s) {
    s.Int(L"BGPictureIndex", BGPictureIndex);
    s.Bool(L"BGStretchEffect", BGStretchEffect);
    s.Int(L"BGPagePictureIndex", BGPagePictureIndex);
    s.Bool(L"BGPageStretchEffect", BGPageStretchEffect);
    s.Rect(L"ItemRect", ItemRect);
    s.Rect(L"PageItemRect", PageItemRect);
    s.Rect(L"PageItemActiveRect", PageItemActiveRect);
    s.IntDef(L"ItemOffset1", ItemOffset1, 3);
    s.IntDef(L"ItemOffset2", ItemOffset2, 3);
    s.IntDef(L"PageItemOffset1", PageItemOffset1, 10);
    s.IntDef(L"PageItemOffset2", PageItemOffset2, 10);
    s.Int(L"PageOffset", PageOffset);
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.IntDef(L"FontPageHeight", FontPageHeight, 16);
    s.Color(L"FontColor", FontColor);
    s.Color(L"DisabledFontColor", DisabledFontColor);
    s.Color(L"FontPageColor", FontPageColor);
    s.Color(L"ActiveFontColor", ActiveFontColor);
    s.Color(L"ActiveFontPageColor", ActiveFontPageColor);
    s.Rect(L"GripperRect", GripperRect);
    s.Color(L"GripperTransparentColor", GripperTransparentColor);
    s.Rect(L"TopLineRect", TopLineRect);
    s.Int(L"TopLineOffset1", TopLineOffset1);
    s.Int(L"TopLineOffset2", TopLineOffset2);
    s.Rect(L"BackButtonRect", BackButtonRect);
    s.Rect(L"BackButtonActiveRect", BackButtonActiveRect);
    s.Rect(L"CaptionRect", CaptionRect);
    s.Int(L"CaptionLeftOffset", CaptionLeftOffset);
    s.Int(L"CaptionTopOffset", CaptionTopOffset);
    s.Rect(L"FormCaptionRect", FormCaptionRect);
}

void TbsDataSkinControlBar::OwnFields(TbsFieldSink& s) {
    s.Rect(L"ItemRect", ItemRect);
    s.Int(L"BGPictureIndex", BGPictureIndex);
    s.Rect(L"HGripRect", HGripRect);
    s.Rect(L"VGripRect", VGripRect);
    s.Int(L"GripOffset1", GripOffset1);
    s.Int(L"GripOffset2", GripOffset2);
    s.Bool(L"ItemStretchEffect", ItemStretchEffect);
    s.IntDef(L"ItemOffset1", ItemOffset1, 3);
    s.IntDef(L"ItemOffset2", ItemOffset2, 3);
    s.Bool(L"ItemTransparent", ItemTransparent);
    s.Color(L"ItemTransparentColor", ItemTransparentColor);
    s.Bool(L"GripTransparent", GripTransparent);
    s.Color(L"GripTransparentColor", GripTransparentColor);
}

void TbsDataSkinUpDownControl::OwnFields(TbsFieldSink& s) {
    s.Rect(L"UpButtonRect", UpButtonRect);
    s.Rect(L"ActiveUpButtonRect", ActiveUpButtonRect);
    s.Rect(L"DownUpButtonRect", DownUpButtonRect);
    s.Rect(L"DownButtonRect", DownButtonRect);
    s.Rect(L"ActiveDownButtonRect", ActiveDownButtonRect);
    s.Rect(L"DownDownButtonRect", DownDownButtonRect);
}

void TbsDataSkinComboBox::OwnFields(TbsFieldSink& s) {
    s.Rect(L"SItemRect", SItemRect, L"itemrect");
    s.Rect(L"ActiveItemRect", ActiveItemRect);
    s.Rect(L"FocusItemRect", FocusItemRect);
    s.Int(L"ItemLeftOffset", ItemLeftOffset);
    s.Int(L"ItemRightOffset", ItemRightOffset);
    s.Rect(L"ItemTextRect", ItemTextRect);
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Color(L"FocusFontColor", FocusFontColor);
    s.Color(L"ActiveFontColor", ActiveFontColor);
    s.Rect(L"ButtonRect", ButtonRect);
    s.Rect(L"ActiveButtonRect", ActiveButtonRect);
    s.Rect(L"DownButtonRect", DownButtonRect);
    s.Rect(L"UnEnabledButtonRect", UnEnabledButtonRect);
    s.Bool(L"ItemStretchEffect", ItemStretchEffect);
    s.Bool(L"FocusItemStretchEffect", FocusItemStretchEffect);
    s.Rect(L"ActiveSkinRect", ActiveSkinRect);
    s.Str(L"ListBoxName", ListBoxName);
    s.Bool(L"ShowFocus", ShowFocus);
}

void TbsDataSkinListBox::OwnFields(TbsFieldSink& s) {
    s.Rect(L"SItemRect", SItemRect, L"itemrect");
    s.Rect(L"ActiveItemRect", ActiveItemRect);
    s.Rect(L"FocusItemRect", FocusItemRect);
    s.Int(L"ItemLeftOffset", ItemLeftOffset);
    s.Int(L"ItemRightOffset", ItemRightOffset);
    s.Rect(L"ItemTextRect", ItemTextRect);
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Color(L"ActiveFontColor", ActiveFontColor);
    s.Color(L"FocusFontColor", FocusFontColor);
    s.Rect(L"CaptionRect", CaptionRect);
    s.Str(L"CaptionFontName", CaptionFontName);
    s.Styles(L"CaptionFontStyle", CaptionFontStyle);
    s.Int(L"CaptionFontHeight", CaptionFontHeight);
    s.Color(L"CaptionFontColor", CaptionFontColor);
    s.Rect(L"UpButtonRect", UpButtonRect);
    s.Rect(L"ActiveUpButtonRect", ActiveUpButtonRect);
    s.Rect(L"DownUpButtonRect", DownUpButtonRect);
    s.Rect(L"DownButtonRect", DownButtonRect);
    s.Rect(L"ActiveDownButtonRect", ActiveDownButtonRect);
    s.Rect(L"DownDownButtonRect", DownDownButtonRect);
    s.Rect(L"CheckButtonRect", CheckButtonRect);
    s.Rect(L"ActiveCheckButtonRect", ActiveCheckButtonRect);
    s.Rect(L"DownCheckButtonRect", DownCheckButtonRect);
    s.StrDef(L"HScrollBarName", HScrollBarName, L"hscrollbar");
    s.StrDef(L"VScrollBarName", VScrollBarName, L"vscrollbar");
    s.StrDef(L"BothScrollBarName", BothScrollBarName, L"bothhscrollbar", L"bothhscrollbarname");
    s.Bool(L"ShowFocus", ShowFocus);
    s.Rect(L"DisabledButtonsRect", DisabledButtonsRect);
    s.Rect(L"ButtonsArea", ButtonsArea);
}

void TbsDataSkinCheckListBox::OwnFields(TbsFieldSink& s) {
    s.Rect(L"UnCheckImageRect", UnCheckImageRect);
    s.Rect(L"CheckImageRect", CheckImageRect);
    s.Rect(L"ItemCheckRect", ItemCheckRect);
}

void TbsDataSkinScrollBarControl::OwnFields(TbsFieldSink& s) {
    s.Rect(L"TrackArea", TrackArea);
    s.Rect(L"UpButtonRect", UpButtonRect);
    s.Rect(L"ActiveUpButtonRect", ActiveUpButtonRect);
    s.Rect(L"DownUpButtonRect", DownUpButtonRect);
    s.Rect(L"DownButtonRect", DownButtonRect);
    s.Rect(L"ActiveDownButtonRect", ActiveDownButtonRect);
    s.Rect(L"DownDownButtonRect", DownDownButtonRect);
    s.Rect(L"ThumbRect", ThumbRect);
    s.Rect(L"ActiveThumbRect", ActiveThumbRect);
    s.Rect(L"DownThumbRect", DownThumbRect);
    s.Int(L"ThumbOffset1", ThumbOffset1);
    s.Int(L"ThumbOffset2", ThumbOffset2);
    s.Rect(L"GlyphRect", GlyphRect);
    s.Rect(L"ActiveGlyphRect", ActiveGlyphRect);
    s.Rect(L"DownGlyphRect", DownGlyphRect);
    s.Bool(L"GlyphTransparent", GlyphTransparent);
    s.Color(L"GlyphTransparentColor", GlyphTransparentColor);
    s.Bool(L"ThumbTransparent", ThumbTransparent);
    s.Color(L"ThumbTransparentColor", ThumbTransparentColor);
    s.Bool(L"ThumbStretchEffect", ThumbStretchEffect);
    s.Int(L"ThumbMinSize", ThumbMinSize);
    s.Int(L"ThumbMinPageSize", ThumbMinPageSize);
}

void TbsDataSkinSpinEditControl::OwnFields(TbsFieldSink& s) {
    s.Rect(L"ActiveSkinRect", ActiveSkinRect);
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Color(L"ActiveFontColor", ActiveFontColor);
    s.Color(L"DisabledFontColor", DisabledFontColor);
    s.Rect(L"UpButtonRect", UpButtonRect);
    s.Rect(L"ActiveUpButtonRect", ActiveUpButtonRect);
    s.Rect(L"DownUpButtonRect", DownUpButtonRect);
    s.Rect(L"DownButtonRect", DownButtonRect);
    s.Rect(L"ActiveDownButtonRect", ActiveDownButtonRect);
    s.Rect(L"DownDownButtonRect", DownDownButtonRect);
}

void TbsDataSkinEditControl::OwnFields(TbsFieldSink& s) {
    s.Rect(L"ActiveSkinRect", ActiveSkinRect);
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Color(L"DisabledFontColor", DisabledFontColor);
    s.Color(L"ActiveFontColor", ActiveFontColor);
    s.Rect(L"ButtonRect", ButtonRect);
    s.Rect(L"ActiveButtonRect", ActiveButtonRect);
    s.Rect(L"DownButtonRect", DownButtonRect);
    s.Rect(L"UnEnabledButtonRect", UnEnabledButtonRect);
}

void TbsDataSkinMemoControl::OwnFields(TbsFieldSink& s) {
    s.Color(L"BGColor", BGColor);
    s.Color(L"ActiveBGColor", ActiveBGColor);
}

void TbsDataSkinLabelControl::OwnFields(TbsFieldSink& s) {
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
}

void TbsDataSkinSplitterControl::OwnFields(TbsFieldSink& s) {
    s.Rect(L"GripperRect", GripperRect);
    s.Bool(L"GripperTransparent", GripperTransparent);
    s.Color(L"GripperTransparentColor", GripperTransparentColor);
}

void TbsDataSkinGaugeControl::OwnFields(TbsFieldSink& s) {
    s.Rect(L"ProgressArea", ProgressArea);
    s.Rect(L"ProgressRect", ProgressRect);
    s.Bool(L"Vertical", Vertical);
    s.Int(L"BeginOffset", BeginOffset);
    s.Int(L"EndOffset", EndOffset);
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Bool(L"ProgressTransparent", ProgressTransparent);
    s.Color(L"ProgressTransparentColor", ProgressTransparentColor);
    s.Bool(L"ProgressStretch", ProgressStretch);
    s.Rect(L"AnimationSkinRect", AnimationSkinRect);
    s.Int(L"AnimationCountFrames", AnimationCountFrames);
    s.Int(L"AnimationTimerInterval", AnimationTimerInterval);
    s.Rect(L"ProgressAnimationSkinRect", ProgressAnimationSkinRect);
    s.Int(L"ProgressAnimationCountFrames", ProgressAnimationCountFrames);
    s.Int(L"ProgressAnimationTimerInterval", ProgressAnimationTimerInterval);
    s.Int(L"AnimationBeginOffset", AnimationBeginOffset);
    s.Int(L"AnimationEndOffset", AnimationEndOffset);
}

void TbsDataSkinTrackBarControl::OwnFields(TbsFieldSink& s) {
    s.Rect(L"ActiveSkinRect", ActiveSkinRect);
    s.Rect(L"TrackArea", TrackArea);
    s.Rect(L"ButtonRect", ButtonRect);
    s.Rect(L"ActiveButtonRect", ActiveButtonRect);
    s.Bool(L"Vertical", Vertical);
    s.Bool(L"ButtonTransparent", ButtonTransparent);
    s.Color(L"ButtonTransparentColor", ButtonTransparentColor);
}

void TbsDataSkinButtonControl::OwnFields(TbsFieldSink& s) {
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Color(L"ActiveFontColor", ActiveFontColor);
    s.Color(L"DownFontColor", DownFontColor);
    s.Color(L"DisabledFontColor", DisabledFontColor);
    s.Rect(L"ActiveSkinRect", ActiveSkinRect);
    s.Rect(L"DownSkinRect", DownSkinRect);
    s.Rect(L"DisabledSkinRect", DisabledSkinRect);
    s.Rect(L"FocusedSkinRect", FocusedSkinRect);
    s.Bool(L"Morphing", Morphing);
    s.Morph(L"MorphKind", MorphKind);
    s.Rect(L"AnimateSkinRect", AnimateSkinRect);
    s.Int(L"FrameCount", FrameCount);
    s.IntDef(L"AnimateInterval", AnimateInterval, 25);
    s.Bool(L"ShowFocus", ShowFocus);
    s.Rect(L"MenuMarkerFlatRect", MenuMarkerFlatRect);
    s.Rect(L"MenuMarkerRect", MenuMarkerRect);
    s.Rect(L"MenuMarkerActiveRect", MenuMarkerActiveRect);
    s.Rect(L"MenuMarkerDownRect", MenuMarkerDownRect);
    s.Color(L"MenuMarkerTransparentColor", MenuMarkerTransparentColor);
    s.Int(L"GlowLayerPictureIndex", GlowLayerPictureIndex);
    s.Int(L"GlowLayerMaskPictureIndex", GlowLayerMaskPictureIndex);
    s.Int(L"GlowLayerOffsetLeft", GlowLayerOffsetLeft);
    s.Int(L"GlowLayerOffsetRight", GlowLayerOffsetRight);
    s.Int(L"GlowLayerOffsetTop", GlowLayerOffsetTop);
    s.Int(L"GlowLayerOffsetBottom", GlowLayerOffsetBottom);
    s.Int(L"GlowLayerShowOffsetX", GlowLayerShowOffsetX);
    s.Int(L"GlowLayerShowOffsetY", GlowLayerShowOffsetY);
    s.IntDef(L"GlowLayerAlphaBlendValue", GlowLayerAlphaBlendValue, 255);
}

void TbsDataSkinMenuButtonControl::OwnFields(TbsFieldSink& s) {
    s.Rect(L"TrackButtonRect", TrackButtonRect);
}

void TbsDataSkinCheckRadioControl::OwnFields(TbsFieldSink& s) {
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Color(L"ActiveFontColor", ActiveFontColor);
    s.Color(L"UnEnabledFontColor", UnEnabledFontColor);
    s.Rect(L"ActiveSkinRect", ActiveSkinRect);
    s.Rect(L"CheckImageArea", CheckImageArea);
    s.Rect(L"TextArea", TextArea);
    s.Rect(L"CheckImageRect", CheckImageRect);
    s.Rect(L"UnCheckImageRect", UnCheckImageRect);
    s.Rect(L"ActiveCheckImageRect", ActiveCheckImageRect);
    s.Rect(L"ActiveUnCheckImageRect", ActiveUnCheckImageRect);
    s.Rect(L"UnEnabledCheckImageRect", UnEnabledCheckImageRect);
    s.Rect(L"UnEnabledUnCheckImageRect", UnEnabledUnCheckImageRect);
    s.Rect(L"GrayedCheckImageRect", GrayedCheckImageRect);
    s.Rect(L"ActiveGrayedCheckImageRect", ActiveGrayedCheckImageRect);
    s.Bool(L"Morphing", Morphing);
    s.Morph(L"MorphKind", MorphKind);
    s.Color(L"FrameFontColor", FrameFontColor);
}

void TbsDataSkinScrollBoxControl::OwnFields(TbsFieldSink& s) {
    s.Int(L"BGPictureIndex", BGPictureIndex);
}

void TbsDataSkinPanelControl::OwnFields(TbsFieldSink& s) {
    s.Rect(L"CaptionRect", CaptionRect);
    s.Align(L"Alignment", Alignment);
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Int(L"BGPictureIndex", BGPictureIndex);
    s.Rect(L"CheckImageRect", CheckImageRect);
    s.Rect(L"UnCheckImageRect", UnCheckImageRect);
    s.Rect(L"MarkFrameRect", MarkFrameRect);
    s.Rect(L"FrameRect", FrameRect);
    s.Int(L"FrameLeftOffset", FrameLeftOffset);
    s.Int(L"FrameRightOffset", FrameRightOffset);
    s.Rect(L"FrameTextRect", FrameTextRect);
    s.Rect(L"GripperRect", GripperRect);
    s.Bool(L"GripperTransparent", GripperTransparent);
    s.Color(L"GripperTransparentColor", GripperTransparentColor);
    s.Rect(L"ButtonRect", ButtonRect);
    s.Rect(L"ButtonActiveRect", ButtonActiveRect);
    s.Rect(L"ButtonDownRect", ButtonDownRect);
    s.Bool(L"ButtonTransparent", ButtonTransparent);
    s.Color(L"ButtonTransparentColor", ButtonTransparentColor);
}

void TbsDataSkinExPanelControl::OwnFields(TbsFieldSink& s) {
    s.Rect(L"RollHSkinRect", RollHSkinRect);
    s.Rect(L"RollVSkinRect", RollVSkinRect);
    s.Int(L"RollLeftOffset", RollLeftOffset);
    s.Int(L"RollRightOffset", RollRightOffset);
    s.Int(L"RollTopOffset", RollTopOffset);
    s.Int(L"RollBottomOffset", RollBottomOffset);
    s.Rect(L"RollVCaptionRect", RollVCaptionRect);
    s.Rect(L"RollHCaptionRect", RollHCaptionRect);
    s.Rect(L"CloseButtonRect", CloseButtonRect);
    s.Rect(L"CloseButtonActiveRect", CloseButtonActiveRect);
    s.Rect(L"CloseButtonDownRect", CloseButtonDownRect);
    s.Rect(L"HRollButtonRect", HRollButtonRect);
    s.Rect(L"HRollButtonActiveRect", HRollButtonActiveRect);
    s.Rect(L"HRollButtonDownRect", HRollButtonDownRect);
    s.Rect(L"HRestoreButtonRect", HRestoreButtonRect);
    s.Rect(L"HRestoreButtonActiveRect", HRestoreButtonActiveRect);
    s.Rect(L"HRestoreButtonDownRect", HRestoreButtonDownRect);
    s.Rect(L"VRollButtonRect", VRollButtonRect);
    s.Rect(L"VRollButtonActiveRect", VRollButtonActiveRect);
    s.Rect(L"VRollButtonDownRect", VRollButtonDownRect);
    s.Rect(L"VRestoreButtonRect", VRestoreButtonRect);
    s.Rect(L"VRestoreButtonActiveRect", VRestoreButtonActiveRect);
    s.Rect(L"VRestoreButtonDownRect", VRestoreButtonDownRect);
    s.Rect(L"CaptionRect", CaptionRect);
    s.Str(L"FontName", FontName);
    s.Styles(L"FontStyle", FontStyle);
    s.Int(L"FontHeight", FontHeight);
    s.Color(L"FontColor", FontColor);
    s.Bool(L"ButtonsTransparent", ButtonsTransparent);
    s.Color(L"ButtonsTransparentColor", ButtonsTransparentColor);
}

void TbsDataSkinUpDownControl::AfterRead() {
    LTPoint = RTPoint = LBPoint = RBPoint = TPoint{};
    ClRect = TRect{};
}

const wchar_t* const kControlKindWords[29] = {
    L"panel",    L"expanel",  L"menubutton",   L"button",   L"checkradio", L"gauge",       L"splitter",   L"trackbar",
    L"label",    L"stdlabel", L"updown",       L"grid",     L"tab",        L"mainmenubar", L"controlbar", L"appmenu",
    L"memo",     L"edit",     L"checklistbox", L"listbox",  L"combobox",   L"scrollbar",   L"spinedit",   L"scrollbox",
    L"treeview", L"bevel",    L"slider",       L"listview", L"richedit"};

namespace {

template <class T>
std::unique_ptr<TbsDataSkinControl> Make(const std::wstring& id) {
    return std::make_unique<T>(id);
}

}  // namespace

std::unique_ptr<TbsDataSkinControl> CreateControlRecord(const std::wstring& Kind, const std::wstring& AIDName) {
    using Factory = std::unique_ptr<TbsDataSkinControl> (*)(const std::wstring&);
    static const std::unordered_map<std::wstring, Factory> kFactories = {
        {L"panel", &Make<TbsDataSkinPanelControl>},
        {L"expanel", &Make<TbsDataSkinExPanelControl>},
        {L"menubutton", &Make<TbsDataSkinMenuButtonControl>},
        {L"button", &Make<TbsDataSkinButtonControl>},
        {L"checkradio", &Make<TbsDataSkinCheckRadioControl>},
        {L"gauge", &Make<TbsDataSkinGaugeControl>},
        {L"splitter", &Make<TbsDataSkinSplitterControl>},
        {L"trackbar", &Make<TbsDataSkinTrackBarControl>},
        {L"label", &Make<TbsDataSkinLabelControl>},
        {L"stdlabel", &Make<TbsDataSkinStdLabelControl>},
        {L"updown", &Make<TbsDataSkinUpDownControl>},
        {L"grid", &Make<TbsDataSkinGridControl>},
        {L"tab", &Make<TbsDataSkinTabControl>},
        {L"mainmenubar", &Make<TbsDataSkinMainMenuBar>},
        {L"controlbar", &Make<TbsDataSkinControlBar>},
        {L"appmenu", &Make<TbsDataSkinAppMenu>},
        {L"memo", &Make<TbsDataSkinMemoControl>},
        {L"edit", &Make<TbsDataSkinEditControl>},
        {L"checklistbox", &Make<TbsDataSkinCheckListBox>},
        {L"listbox", &Make<TbsDataSkinListBox>},
        {L"combobox", &Make<TbsDataSkinComboBox>},
        {L"scrollbar", &Make<TbsDataSkinScrollBarControl>},
        {L"spinedit", &Make<TbsDataSkinSpinEditControl>},
        {L"scrollbox", &Make<TbsDataSkinScrollBoxControl>},
        {L"treeview", &Make<TbsDataSkinTreeView>},
        {L"bevel", &Make<TbsDataSkinBevel>},
        {L"slider", &Make<TbsDataSkinSlider>},
        {L"listview", &Make<TbsDataSkinListView>},
        {L"richedit", &Make<TbsDataSkinRichEdit>},
    };
    auto it = kFactories.find(Kind);
    return it == kFactories.end() ? nullptr : it->second(AIDName);
}
