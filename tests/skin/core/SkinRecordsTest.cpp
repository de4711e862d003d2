// The control and object records: a table-driven write-then-read over every kind, the defaults and key exceptions,
// the corrections after reading, and GlobalChangeFont.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinIniValues.h"
#include "skin/core/SkinObjects.h"

namespace {

const wchar_t* const kObjectKinds[] = {L"menuitem", L"mainmenubaritem", L"stdbutton", L"mainmenubarbutton",
                                       L"button",   L"caption",         L"animate",   L"userobject"};

std::unique_ptr<TbsDataSkinRecord> MakeRecord(const std::wstring& kind, bool control, const std::wstring& id) {
    if (control)
        return CreateControlRecord(kind, id);
    return CreateObjectRecord(kind, id);
}

// Sets every field to a value that differs from its default and from every other field's.
void FillDistinct(TbsDataSkinRecord& r) {
    int i = 1;
    TbsFieldLambda fill([&](const TbsField& f) {
        ++i;
        switch (f.Kind) {
            case TbsFieldKind::Integer:
                *static_cast<int*>(f.Ptr) = 1000 + i;
                break;
            case TbsFieldKind::Color:
                *static_cast<int*>(f.Ptr) = 0x10000 + i;
                break;
            case TbsFieldKind::Boolean:
                *static_cast<bool*>(f.Ptr) = true;
                break;
            case TbsFieldKind::Rect:
                *static_cast<TRect*>(f.Ptr) = {i, i + 1, i + 20, i + 30};
                break;
            case TbsFieldKind::Point:
                *static_cast<TPoint*>(f.Ptr) = {i, i + 2};
                break;
            case TbsFieldKind::String:
                *static_cast<std::wstring*>(f.Ptr) = L"value " + std::to_wstring(i);
                break;
            case TbsFieldKind::FontStyles:
                *static_cast<TbsFontStyles*>(f.Ptr) = {bsfsBold, bsfsStrikeOut};
                break;
            case TbsFieldKind::Alignment:
                *static_cast<TAlignment*>(f.Ptr) = taLeftJustify;
                break;
            case TbsFieldKind::StretchType:
                *static_cast<TbsStretchType*>(f.Ptr) = bsstVert;
                break;
            case TbsFieldKind::MorphKind:
                *static_cast<TbsMorphKind*>(f.Ptr) = mkPush;
                break;
            case TbsFieldKind::Command:
                *static_cast<TbsStdCommand*>(f.Ptr) = cmRollUp;
                break;
            case TbsFieldKind::InActiveEffect:
                *static_cast<TbsInActiveEffect*>(f.Ptr) = ieInvert;
                break;
        }
    });
    r.EnumFields(fill);
}

std::map<std::wstring, std::wstring> Values(TbsDataSkinRecord& r) {
    std::map<std::wstring, std::wstring> v;
    TbsFieldLambda get([&](const TbsField& f) { v[f.Name] = FieldValueText(f); });
    r.EnumFields(get);
    return v;
}

std::set<std::wstring> DifferingFields(TbsDataSkinRecord& a, TbsDataSkinRecord& b) {
    auto va = Values(a), vb = Values(b);
    std::set<std::wstring> diff;
    for (const auto& [name, value] : va)
        if (vb[name] != value)
            diff.insert(name);
    return diff;
}

struct KindCase {
    std::wstring kind;
    bool control;
};

std::vector<KindCase> AllKinds() {
    std::vector<KindCase> kinds;
    for (const wchar_t* k : kControlKindWords)
        kinds.push_back({k, true});
    for (const wchar_t* k : kObjectKinds)
        kinds.push_back({k, false});
    return kinds;
}

TEST(SkinRecords, EveryKindWritesAndReadsBackEveryField) {
    EXPECT_EQ(AllKinds().size(), 29u + 8u);
    for (const auto& k : AllKinds()) {
        SCOPED_TRACE(WideToUtf8(k.kind));
        auto written = MakeRecord(k.kind, k.control, L"entry");
        ASSERT_TRUE(written);
        EXPECT_EQ(written->KindWord(), k.kind);
        FillDistinct(*written);
        TbsSkinMemIni ini(L"");
        written->SaveToFile(&ini);
        auto read = MakeRecord(k.kind, k.control, L"entry");
        read->LoadFromFile(&ini);
        std::set<std::wstring> expected;
        if (k.kind == L"animate")
            expected = {L"Morphing"};  // an animation never morphs, whatever its section says
        EXPECT_EQ(DifferingFields(*written, *read), expected);
    }
}

TEST(SkinRecords, NoTwoFieldsOfARecordShareAKey) {
    for (const auto& k : AllKinds()) {
        auto r = MakeRecord(k.kind, k.control, L"entry");
        std::set<std::wstring> keys;
        TbsFieldLambda collect([&](const TbsField& f) {
            EXPECT_TRUE(keys.insert(UpperCase(f.Key)).second) << WideToUtf8(k.kind) << ": " << WideToUtf8(f.Key);
        });
        r->EnumFields(collect);
    }
}

TEST(SkinRecords, AnEmptySectionGivesTheDefaults) {
    TbsSkinMemIni ini(L"");
    ini.SetText(L"[other]\r\nx=1\r\n");
    TbsDataSkinListBox list(L"lb");
    list.LoadFromFile(&ini);
    EXPECT_EQ(list.PictureIndex, -1);
    EXPECT_EQ(list.MaskPictureIndex, -1);
    EXPECT_EQ(list.SkinRect, TRect{});
    EXPECT_EQ(list.FontName, L"Tahoma");
    EXPECT_EQ(list.FontHeight, 13);
    EXPECT_EQ(list.CaptionFontName, L"Tahoma");
    EXPECT_EQ(list.CaptionFontHeight, 13);
    EXPECT_EQ(list.HScrollBarName, L"hscrollbar");
    EXPECT_EQ(list.VScrollBarName, L"vscrollbar");
    EXPECT_EQ(list.BothScrollBarName, L"bothhscrollbar");
    EXPECT_EQ(list.StretchType, bsstFull);

    TbsDataSkinButtonControl button(L"b");
    button.LoadFromFile(&ini);
    EXPECT_EQ(button.AnimateInterval, 25);
    EXPECT_EQ(button.GlowLayerAlphaBlendValue, 255);
    EXPECT_EQ(button.GlowLayerPictureIndex, -1);
    EXPECT_EQ(button.MorphKind, mkDefault);
    TbsDataSkinStdLabelControl label(L"l");
    EXPECT_EQ(label.ActiveFontColor, 16711680);
    TbsDataSkinAppMenu menu(L"m");
    EXPECT_EQ(menu.FontPageHeight, 16);
    EXPECT_EQ(menu.ItemOffset1, 3);
    EXPECT_EQ(menu.PageItemOffset2, 10);
    TbsDataSkinGridControl grid(L"g");
    EXPECT_EQ(grid.FixedFontHeight, 13);
    EXPECT_EQ(grid.FixedFontName, L"Tahoma");
    TbsDataSkinAnimate animate(L"a");
    EXPECT_EQ(animate.CountFrames, 1);
    EXPECT_EQ(animate.TimerInterval, 50);
    TbsDataSkinCaption caption(L"c");
    EXPECT_EQ(caption.GlowSize, 3);
    EXPECT_EQ(caption.Alignment, taCenter);
    TbsDataSkinLayerFrame frame;
    EXPECT_EQ(frame.PictureIndex, -1);
    EXPECT_EQ(frame.AlphaBlendValue, 255);
    TbsDataSkinHintWindow hint;
    EXPECT_EQ(hint.FontName, L"Tahoma");
    EXPECT_EQ(hint.FontHeight, 13);
}

TEST(SkinRecords, KeyExceptionsAreKeptVerbatim) {
    TbsSkinMemIni ini(L"");
    ini.SetText(
        L"[lb]\r\nbothscrollbarname=wrong\r\nitemrect=1,2,3,4\r\n"
        L"[btn]\r\ndisableskinrsect=5,6,7,8\r\ndisableskinrect=9,9,9,9\r\n"
        L"[cap]\r\nreflactioncolor=77\r\nreflactionactivecolor=88\r\ntextrect=1,1,2,2\r\n"
        L"[mi]\r\nunenabledfontcolor=99\r\nitemleftoffset=4\r\n");
    TbsDataSkinListBox list(L"lb");
    list.LoadFromFile(&ini);
    EXPECT_EQ(list.BothScrollBarName, L"bothhscrollbar");
    EXPECT_EQ(list.SItemRect, (TRect{1, 2, 3, 4}));
    TbsDataSkinButton button(L"btn");
    button.LoadFromFile(&ini);
    EXPECT_EQ(button.DisableSkinRect, (TRect{5, 6, 7, 8}));
    TbsDataSkinCaption caption(L"cap");
    caption.LoadFromFile(&ini);
    EXPECT_EQ(caption.ReflectionColor, 77);
    EXPECT_EQ(caption.ReflectionActiveColor, 88);
    EXPECT_EQ(caption.TextRct, (TRect{1, 1, 2, 2}));
    TbsDataSkinMainMenuBarItem item(L"mi");
    item.LoadFromFile(&ini);
    EXPECT_EQ(item.UnEnabledFontColor, 99);
    EXPECT_EQ(item.ItemLO, 4);
}

TEST(SkinRecords, DerivedKindsReadTheKeysOfTheirBase) {
    TbsSkinMemIni ini(L"");
    ini.SetText(
        L"[e]\r\nfontheight=20\r\nactiveskinrect=1,2,3,4\r\nbgcolor=5\r\nitemcheckrect=6,6,7,7\r\n"
        L"itemrect=8,8,9,9\r\ntrackbuttonrect=1,1,5,5\r\nmorphkind=mkleftslide\r\n");
    TbsDataSkinMemoControl memo(L"e");
    memo.LoadFromFile(&ini);
    EXPECT_EQ(memo.FontHeight, 20);
    EXPECT_EQ(memo.ActiveSkinRect, (TRect{1, 2, 3, 4}));
    EXPECT_EQ(memo.BGColor, 5);
    TbsDataSkinCheckListBox check(L"e");
    check.LoadFromFile(&ini);
    EXPECT_EQ(check.ItemCheckRect, (TRect{6, 6, 7, 7}));
    EXPECT_EQ(check.SItemRect, (TRect{8, 8, 9, 9}));
    EXPECT_EQ(check.FontHeight, 20);
    TbsDataSkinMenuButtonControl menu(L"e");
    menu.LoadFromFile(&ini);
    EXPECT_EQ(menu.TrackButtonRect, (TRect{1, 1, 5, 5}));
    EXPECT_EQ(menu.MorphKind, mkLeftSlide);
}

TEST(SkinRecords, AnUpDownAlwaysCarriesZeroGeometry) {
    TbsSkinMemIni ini(L"");
    ini.SetText(L"[ud]\r\nclientrect=1,2,3,4\r\nlefttoppoint=5,6\r\nupbuttonrect=1,1,9,9\r\nskinrect=2,2,8,8\r\n");
    TbsDataSkinUpDownControl ud(L"ud");
    ud.LoadFromFile(&ini);
    EXPECT_EQ(ud.ClRect, TRect{});
    EXPECT_EQ(ud.LTPoint, TPoint{});
    EXPECT_EQ(ud.UpButtonRect, (TRect{1, 1, 9, 9}));
    EXPECT_EQ(ud.SkinRect, (TRect{2, 2, 8, 8}));
    ud.ClRect = {1, 1, 4, 4};
    ud.RBPoint = {3, 3};
    TbsSkinMemIni out(L"");
    ud.SaveToFile(&out);
    EXPECT_EQ(out.ReadString(L"ud", L"clientrect", L""), L"0,0,0,0");
    EXPECT_EQ(out.ReadString(L"ud", L"rightbottompoint", L""), L"0,0");
}

TEST(SkinRecords, RestoreHintDefaultsOnlyForTheExactHintAndCommand) {
    struct Case {
        const wchar_t* section;
        const wchar_t* restoreHint;
    } cases[] = {
        {L"hint=Maximize\r\ncommand=cmmaximize\r\n", L"Restore"},
        {L"hint=maximize\r\ncommand=cmmaximize\r\n", L""},
        {L"hint=Minimize\r\ncommand=cmminimize\r\n", L"Restore"},
        {L"hint=Roll Up\r\ncommand=cmrollup\r\n", L"Restore"},
        {L"hint=RollUp\r\ncommand=cmrollup\r\n", L"Restore"},
        {L"hint=Maximize\r\ncommand=cmminimize\r\n", L""},
        {L"hint=Maximize\r\ncommand=cmmaximize\r\nrestorehint=Back\r\n", L"Back"},
    };
    for (const auto& c : cases) {
        TbsSkinMemIni ini(L"");
        ini.SetText(std::wstring(L"[o]\r\n") + c.section);
        TbsDataSkinStdButton button(L"o");
        button.LoadFromFile(&ini);
        EXPECT_EQ(button.RestoreHint, c.restoreHint) << WideToUtf8(c.section);
        TbsDataSkinAnimate animate(L"o");
        animate.LoadFromFile(&ini);
        EXPECT_EQ(animate.RestoreHint, c.restoreHint) << WideToUtf8(c.section);
    }
}

TEST(SkinRecords, ReadingCorrectionsOfAnimationsMenuItemsAndUserObjects) {
    TbsSkinMemIni ini(L"");
    ini.SetText(
        L"[o]\r\nmorphing=1\r\nhint=Tip\r\nactivepictureindex=3\r\nskinrect=1,2,3,4\r\n"
        L"arrowimagerect=1,1,5,5\r\ncheckimagerect=2,2,6,6\r\nactivecheckimagerect=3,3,9,9\r\n");
    TbsDataSkinAnimate animate(L"o");
    animate.LoadFromFile(&ini);
    EXPECT_FALSE(animate.Morphing);
    TbsDataSkinMenuItem item(L"o");
    item.LoadFromFile(&ini);
    EXPECT_EQ(item.ActiveArrowImageRect, (TRect{1, 1, 5, 5}));
    EXPECT_EQ(item.ActiveCheckImageRect, (TRect{3, 3, 9, 9}));
    EXPECT_TRUE(item.Morphing);
    TbsDataUserObject user(L"o");
    user.LoadFromFile(&ini);
    EXPECT_EQ(user.SkinRect, (TRect{1, 2, 3, 4}));
    EXPECT_EQ(user.Hint, L"");
    EXPECT_EQ(user.ActivePictureIndex, -1);
    TbsSkinMemIni out(L"");
    user.SaveToFile(&out);
    TStringList keys;
    out.ReadSection(L"o", &keys);
    EXPECT_EQ(keys.Count(), 1);
    EXPECT_EQ(keys[0], L"skinrect");
}

TEST(SkinRecords, SkinColorsStartAtZeroAndReadSystemColoursByDefault) {
    TbsSkinColors colors;
    EXPECT_EQ(colors.cWindow, 0);
    TbsSkinMemIni ini(L"");
    ini.SetText(L"[SKINCOLORS]\r\ncbtnface=255\r\n");
    colors.LoadFromFile(&ini);
    EXPECT_EQ(colors.cBtnFace, 255);
    EXPECT_EQ(colors.cWindow, static_cast<int>(0xFF000005));
    TbsSkinMemIni out(L"");
    colors.SaveToFile(&out);
    EXPECT_EQ(out.ReadString(L"SKINCOLORS", L"cwindow", L""), L"-16777211");
}

TEST(SkinRecords, GlobalChangeFontRenamesAndResizesEveryTextFont) {
    TbsSkinData data(nullptr);
    data.FBuilderMode = true;
    data.CtrlList.push_back(CreateControlRecord(L"button", L"button"));
    data.CtrlList.push_back(CreateControlRecord(L"grid", L"grid"));
    data.CtrlList.push_back(CreateControlRecord(L"listbox", L"listbox"));
    data.CtrlList.push_back(CreateControlRecord(L"appmenu", L"appmenu"));
    data.CtrlList.push_back(CreateControlRecord(L"slider", L"slider"));
    data.ObjectList.push_back(CreateObjectRecord(L"caption", L"caption"));
    data.ObjectList.push_back(CreateObjectRecord(L"stdbutton", L"close"));
    auto before = Values(*data.CtrlList[4]);
    auto beforeButton = Values(*data.ObjectList[1]);
    data.GlobalChangeFont(L"Arial", 2);
    auto* button = static_cast<TbsDataSkinButtonControl*>(data.CtrlList[0].get());
    EXPECT_EQ(button->FontName, L"Arial");
    EXPECT_EQ(button->FontHeight, 15);
    auto* grid = static_cast<TbsDataSkinGridControl*>(data.CtrlList[1].get());
    EXPECT_EQ(grid->FontName, L"Arial");
    EXPECT_EQ(grid->FixedFontName, L"Arial");
    EXPECT_EQ(grid->FontHeight, 15);
    EXPECT_EQ(grid->FixedFontHeight, 15);
    auto* list = static_cast<TbsDataSkinListBox*>(data.CtrlList[2].get());
    EXPECT_EQ(list->CaptionFontName, L"Arial");
    EXPECT_EQ(list->CaptionFontHeight, 15);
    auto* menu = static_cast<TbsDataSkinAppMenu*>(data.CtrlList[3].get());
    EXPECT_EQ(menu->FontHeight, 15);
    EXPECT_EQ(menu->FontPageHeight, 16);
    EXPECT_EQ(Values(*data.CtrlList[4]), before);
    auto* caption = static_cast<TbsDataSkinCaption*>(data.ObjectList[0].get());
    EXPECT_EQ(caption->FontName, L"Arial");
    EXPECT_EQ(caption->FontHeight, 15);
    EXPECT_EQ(Values(*data.ObjectList[1]), beforeButton);
    EXPECT_EQ(data.HintWindow.FontName, L"Arial");
    EXPECT_EQ(data.HintWindow.FontHeight, 15);
}

}  // namespace
