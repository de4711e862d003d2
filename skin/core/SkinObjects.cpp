// Field lists of the object records and the fixed-section records (see SkinObjects.h).
#include "skin/core/SkinObjects.h"

#include <unordered_map>

void TbsDataSkinObject::OwnFields(TbsFieldSink& s) {
    s.Str(L"Hint", Hint);
    s.Bool(L"SkinRectInAPicture", SkinRectInAPicture);
    s.Rect(L"SkinRect", SkinRect);
    s.Rect(L"ActiveSkinRect", ActiveSkinRect);
    s.Int(L"ActivePictureIndex", ActivePictureIndex);
    s.Int(L"ActiveMaskPictureIndex", ActiveMaskPictureIndex);
    s.Rect(L"InActiveSkinRect", InActiveSkinRect);
    s.Bool(L"Morphing", Morphing);
    s.Morph(L"MorphKind", MorphKind);
    s.Int(L"GlowLayerPictureIndex", GlowLayerPictureIndex);
    s.Int(L"GlowLayerMaskPictureIndex", GlowLayerMaskPictureIndex);
    s.Int(L"GlowLayerOffsetX", GlowLayerOffsetX);
    s.Int(L"GlowLayerOffsetY", GlowLayerOffsetY);
    s.IntDef(L"GlowLayerAlphaBlendValue", GlowLayerAlphaBlendValue, 255);
}

void TbsDataSkinButton::OwnFields(TbsFieldSink& s) {
    s.Rect(L"DownRect", DownRect);
    s.Rect(L"DisableSkinRect", DisableSkinRect, L"disableskinrsect");
    s.Int(L"AlphaMaskPictureIndex", AlphaMaskPictureIndex);
    s.Int(L"AlphaMaskActivePictureIndex", AlphaMaskActivePictureIndex);
    s.Int(L"AlphaMaskInActivePictureIndex", AlphaMaskInActivePictureIndex);
}

void TbsDataSkinStdButton::OwnFields(TbsFieldSink& s) {
    s.Command(L"Command", Command);
    s.Str(L"RestoreHint", RestoreHint);
    s.Rect(L"RestoreRect", RestoreRect);
    s.Rect(L"RestoreActiveRect", RestoreActiveRect);
    s.Rect(L"RestoreDownRect", RestoreDownRect);
    s.Rect(L"RestoreInActiveRect", RestoreInActiveRect);
    s.Rect(L"OfficeRect", OfficeRect);
    s.Rect(L"OfficeActiveRect", OfficeActiveRect);
    s.Rect(L"OfficeDownRect", OfficeDownRect);
    s.Rect(L"OfficeInActiveRect", OfficeInActiveRect);
    s.Rect(L"OfficeRestoreRect", OfficeRestoreRect);
    s.Rect(L"OfficeRestoreInActiveRect", OfficeRestoreInActiveRect);
    s.Rect(L"OfficeRestoreActiveRect", OfficeRestoreActiveRect);
    s.Rect(L"OfficeRestoreDownRect", OfficeRestoreDownRect);
}

void TbsDataSkinMainMenuBarButton::OwnFields(TbsFieldSink& s) {
    (void)s;
}

void TbsDataSkinAnimate::OwnFields(TbsFieldSink& s) {
    s.IntDef(L"CountFrames", CountFrames, 1);
    s.Bool(L"Cycle", Cycle);
    s.Bool(L"ButtonStyle", ButtonStyle);
    s.IntDef(L"TimerInterval", TimerInterval, 50);
    s.Command(L"Command", Command);
    s.Rect(L"DownSkinRect", DownSkinRect);
    s.Str(L"RestoreHint", RestoreHint);
    s.Rect(L"RestoreRect", RestoreRect);
    s.Rect(L"RestoreActiveRect", RestoreActiveRect);
    s.Rect(L"RestoreDownRect", RestoreDownRect);
    s.Rect(L"RestoreInActiveRect", RestoreInActiveRect);
}

void TbsDataSkinMenuItem::OwnFields(TbsFieldSink& s) {
    s.Rect(L"DividerRect", DividerRect);
    s.Int(L"DividerLO", DividerLO, L"dividerleftoffset");
    s.Int(L"DividerRO", DividerRO, L"dividerrightoffset");
    s.Int(L"ItemLO", ItemLO, L"itemleftoffset");
    s.Int(L"ItemRO", ItemRO, L"itemrightoffset");
    s.Str(L"FontName", FontName);
    s.Int(L"FontHeight", FontHeight);
    s.Styles(L"FontStyle", FontStyle);
    s.Color(L"UnEnabledFontColor", UnEnabledFontColor);
    s.Color(L"FontColor", FontColor);
    s.Color(L"ActiveFontColor", ActiveFontColor);
    s.Rect(L"TextRct", TextRct, L"textrect");
    s.Rect(L"ImageRct", ImageRct, L"imagerect");
    s.Bool(L"UseImageColor", UseImageColor);
    s.Color(L"ImageColor", ImageColor);
    s.Color(L"ActiveImageColor", ActiveImageColor);
    s.Bool(L"StretchEffect", StretchEffect);
    s.Bool(L"DividerStretchEffect", DividerStretchEffect);
    s.Bool(L"InActiveStretchEffect", InActiveStretchEffect);
    s.Rect(L"AnimateSkinRect", AnimateSkinRect);
    s.Int(L"FrameCount", FrameCount);
    s.IntDef(L"AnimateInterval", AnimateInterval, 25);
    s.Bool(L"InActiveAnimation", InActiveAnimation);
    s.Bool(L"InActiveTransparent", InActiveTransparent);
    s.Rect(L"CheckImageRect", CheckImageRect);
    s.Rect(L"ActiveCheckImageRect", ActiveCheckImageRect);
    s.Rect(L"RadioImageRect", RadioImageRect);
    s.Rect(L"ActiveRadioImageRect", ActiveRadioImageRect);
    s.Rect(L"ArrowImageRect", ArrowImageRect);
    s.Rect(L"ActiveArrowImageRect", ActiveArrowImageRect);
}

void TbsDataSkinMainMenuItem::OwnFields(TbsFieldSink& s) {
    s.Rect(L"DownRect", DownRect);
    s.Str(L"FontName", FontName);
    s.Int(L"FontHeight", FontHeight);
    s.Styles(L"FontStyle", FontStyle);
    s.Color(L"FontColor", FontColor);
    s.Color(L"ActiveFontColor", ActiveFontColor);
    s.Color(L"DownFontColor", DownFontColor);
    s.Color(L"UnEnabledFontColor", UnEnabledFontColor, L"unenabledfontColor");
    s.Rect(L"TextRct", TextRct, L"textrect");
    s.Int(L"ItemLO", ItemLO, L"itemleftoffset");
    s.Int(L"ItemRO", ItemRO, L"itemrightoffset");
    s.Bool(L"StretchEffect", StretchEffect);
    s.Rect(L"AnimateSkinRect", AnimateSkinRect);
    s.Int(L"FrameCount", FrameCount);
    s.IntDef(L"AnimateInterval", AnimateInterval, 25);
    s.Bool(L"InActiveAnimation", InActiveAnimation);
}

void TbsDataSkinMainMenuBarItem::OwnFields(TbsFieldSink& s) {
    (void)s;
}

void TbsDataSkinCaption::OwnFields(TbsFieldSink& s) {
    s.Str(L"FontName", FontName);
    s.Int(L"FontHeight", FontHeight);
    s.Styles(L"FontStyle", FontStyle);
    s.Color(L"FontColor", FontColor);
    s.Color(L"ActiveFontColor", ActiveFontColor);
    s.Color(L"ShadowColor", ShadowColor);
    s.Color(L"ActiveShadowColor", ActiveShadowColor);
    s.Bool(L"Shadow", Shadow);
    s.Align(L"Alignment", Alignment);
    s.Rect(L"TextRct", TextRct, L"textrect");
    s.Rect(L"FrameRect", FrameRect);
    s.Rect(L"ActiveFrameRect", ActiveFrameRect);
    s.Int(L"FrameLeftOffset", FrameLeftOffset);
    s.Int(L"FrameRightOffset", FrameRightOffset);
    s.Rect(L"FrameTextRect", FrameTextRect);
    s.Bool(L"Light", Light);
    s.Color(L"LightColor", LightColor);
    s.Color(L"ActiveLightColor", ActiveLightColor);
    s.Bool(L"StretchEffect", StretchEffect);
    s.Rect(L"AnimateSkinRect", AnimateSkinRect);
    s.Int(L"FrameCount", FrameCount);
    s.IntDef(L"AnimateInterval", AnimateInterval, 25);
    s.Bool(L"InActiveAnimation", InActiveAnimation);
    s.Bool(L"FullFrame", FullFrame);
    s.Bool(L"GlowEffect", GlowEffect);
    s.Bool(L"VistaGlowEffect", VistaGlowEffect);
    s.Bool(L"VistaGlowInActiveEffect", VistaGlowInActiveEffect);
    s.Bool(L"GlowInActiveEffect", GlowInActiveEffect);
    s.IntDef(L"GlowSize", GlowSize, 3);
    s.Color(L"GlowColor", GlowColor);
    s.Color(L"GlowActiveColor", GlowActiveColor);
    s.Int(L"GlowOffset", GlowOffset);
    s.Bool(L"ReflectionEffect", ReflectionEffect);
    s.Color(L"ReflectionColor", ReflectionColor, L"reflactioncolor");
    s.Color(L"ReflectionActiveColor", ReflectionActiveColor, L"reflactionactivecolor");
    s.Int(L"ReflectionOffset", ReflectionOffset);
    s.Rect(L"DividerRect", DividerRect);
    s.Rect(L"InActiveDividerRect", InActiveDividerRect);
    s.Bool(L"DividerTransparent", DividerTransparent);
    s.Color(L"DividerTransparentColor", DividerTransparentColor);
    s.Int(L"QuickButtonAlphaMaskPictureIndex", QuickButtonAlphaMaskPictureIndex);
    s.Rect(L"OfficeBGRect", OfficeBGRect);
    s.Color(L"OfficeFontColor", OfficeFontColor);
    s.Color(L"OfficeActiveFontColor", OfficeActiveFontColor);
}

void TbsDataSkinPopupWindow::OwnFields(TbsFieldSink& s) {
    s.Int(L"WindowPictureIndex", WindowPictureIndex);
    s.Int(L"MaskPictureIndex", MaskPictureIndex);
    s.Corners(LTPoint, RTPoint, LBPoint, RBPoint);
    s.Rect(L"ItemsRect", ItemsRect);
    s.Color(L"ScrollMarkerColor", ScrollMarkerColor);
    s.Color(L"ScrollMarkerActiveColor", ScrollMarkerActiveColor);
    s.Bool(L"LeftStretch", LeftStretch);
    s.Bool(L"RightStretch", RightStretch);
    s.Bool(L"TopStretch", TopStretch);
    s.Bool(L"BottomStretch", BottomStretch);
    s.Bool(L"StretchEffect", StretchEffect);
    s.Stretch(L"StretchType", StretchType);
}

void TbsDataSkinLayerFrame::OwnFields(TbsFieldSink& s) {
    s.Int(L"PictureIndex", PictureIndex);
    s.Int(L"MaskPictureIndex", MaskPictureIndex);
    s.Int(L"InActivePictureIndex", InActivePictureIndex);
    s.Int(L"InActiveMaskPictureIndex", InActiveMaskPictureIndex);
    s.Corners(LTPoint, RTPoint, LBPoint, RBPoint);
    s.Rect(L"ClRect", ClRect, L"clientrect");
    s.IntDef(L"AlphaBlendValue", AlphaBlendValue, 255);
    s.IntDef(L"InActiveAlphaBlendValue", InActiveAlphaBlendValue, 255);
    s.Rect(L"BorderRect", BorderRect);
    s.Rect(L"HitTestRect", HitTestRect);
    s.Bool(L"HitTestEnable", HitTestEnable);
    s.Bool(L"FullBorder", FullBorder);
    s.Int(L"HitTestSize", HitTestSize);
    s.Rect(L"CaptionRect", CaptionRect);
    s.Point(L"HitTestLTPoint", HitTestLTPoint, L"hittestlefttoppoint");
    s.Point(L"HitTestRTPoint", HitTestRTPoint, L"hittestrighttoppoint");
    s.Point(L"HitTestLBPoint", HitTestLBPoint, L"hittestleftbottompoint");
    s.Point(L"HitTestRBPoint", HitTestRBPoint, L"hittestrightbottompoint");
    s.Rect(L"ButtonsRect", ButtonsRect);
    s.Rect(L"SysMenuButtonRect", SysMenuButtonRect);
    s.Bool(L"FullStretch", FullStretch);
    s.Int(L"RollUpFormHeight", RollUpFormHeight);
    s.Int(L"ButtonsTopOffset", ButtonsTopOffset);
    s.Int(L"SysButtonTopOffset", SysButtonTopOffset);
    s.Int(L"BlurMaskPictureIndex", BlurMaskPictureIndex);
    s.Rect(L"IntersectBlurMaskRect", IntersectBlurMaskRect);
    s.Rect(L"ExcludeBlurMaskRect", ExcludeBlurMaskRect);
    s.Int(L"LeftOffset", LeftOffset);
    s.Int(L"TopOffset", TopOffset);
    s.Int(L"WidthOffset", WidthOffset);
    s.Int(L"HeightOffset", HeightOffset);
}

void TbsDataSkinHintWindow::OwnFields(TbsFieldSink& s) {
    s.Int(L"WindowPictureIndex", WindowPictureIndex);
    s.Int(L"MaskPictureIndex", MaskPictureIndex);
    s.Corners(LTPoint, RTPoint, LBPoint, RBPoint);
    s.Rect(L"ClRect", ClRect, L"clientrect");
    s.Str(L"FontName", FontName);
    s.Int(L"FontHeight", FontHeight);
    s.Styles(L"FontStyle", FontStyle);
    s.Color(L"FontColor", FontColor);
    s.Bool(L"LeftStretch", LeftStretch);
    s.Bool(L"RightStretch", RightStretch);
    s.Bool(L"TopStretch", TopStretch);
    s.Bool(L"BottomStretch", BottomStretch);
    s.Bool(L"StretchEffect", StretchEffect);
    s.Stretch(L"StretchType", StretchType);
}

void TbsSkinColors::OwnFields(TbsFieldSink& s) {
    s.ColorDef(L"cBtnFace", cBtnFace, -16777201);
    s.ColorDef(L"cBtnText", cBtnText, -16777198);
    s.ColorDef(L"cWindow", cWindow, -16777211);
    s.ColorDef(L"cWindowText", cWindowText, -16777208);
    s.ColorDef(L"cHighLight", cHighLight, -16777203);
    s.ColorDef(L"cHighLightText", cHighLightText, -16777202);
    s.ColorDef(L"cBtnHighLight", cBtnHighLight, -16777196);
    s.ColorDef(L"cBtnShadow", cBtnShadow, -16777200);
}

namespace {

// A standard button or animation that maximises, minimises or rolls up shows "Restore" in its other state unless the
// skin names that hint itself.
void DefaultRestoreHint(const std::wstring& hint, TbsStdCommand command, std::wstring& restoreHint) {
    if (!restoreHint.empty())
        return;
    if ((hint == L"Maximize" && command == cmMaximize) || (hint == L"Minimize" && command == cmMinimize) ||
        ((hint == L"RollUp" || hint == L"Roll Up") && command == cmRollUp))
        restoreHint = L"Restore";
}

template <class T>
std::unique_ptr<TbsDataSkinObject> Make(const std::wstring& id) {
    return std::make_unique<T>(id);
}

}  // namespace

void TbsDataSkinStdButton::AfterRead() {
    TbsDataSkinButton::AfterRead();
    DefaultRestoreHint(Hint, Command, RestoreHint);
}

void TbsDataSkinAnimate::AfterRead() {
    TbsDataSkinObject::AfterRead();
    Morphing = false;
    DefaultRestoreHint(Hint, Command, RestoreHint);
}

void TbsDataSkinMenuItem::AfterRead() {
    TbsDataSkinObject::AfterRead();
    if (ActiveCheckImageRect.IsEmpty())
        ActiveCheckImageRect = CheckImageRect;
    if (ActiveRadioImageRect.IsEmpty())
        ActiveRadioImageRect = RadioImageRect;
    if (ActiveArrowImageRect.IsEmpty())
        ActiveArrowImageRect = ArrowImageRect;
}

void TbsDataSkinObject::InitAlphaImages(TbsSkinData*) {}

std::unique_ptr<TbsDataSkinObject> CreateObjectRecord(const std::wstring& Kind, const std::wstring& AIDName) {
    using Factory = std::unique_ptr<TbsDataSkinObject> (*)(const std::wstring&);
    static const std::unordered_map<std::wstring, Factory> kFactories = {
        {L"menuitem", &Make<TbsDataSkinMenuItem>},   {L"mainmenubaritem", &Make<TbsDataSkinMainMenuBarItem>},
        {L"stdbutton", &Make<TbsDataSkinStdButton>}, {L"mainmenubarbutton", &Make<TbsDataSkinMainMenuBarButton>},
        {L"button", &Make<TbsDataSkinButton>},       {L"caption", &Make<TbsDataSkinCaption>},
        {L"animate", &Make<TbsDataSkinAnimate>},     {L"userobject", &Make<TbsDataUserObject>},
    };
    auto it = kFactories.find(Kind);
    return it == kFactories.end() ? nullptr : it->second(AIDName);
}
