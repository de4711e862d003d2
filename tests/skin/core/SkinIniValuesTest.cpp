// The skin ini value syntax: integers with their "0x" rule, booleans that are only true for 1, rectangles and points
// that drop non-digits, exact enumerations with their fallbacks, font styles by substring, string lists, and the same
// reading through the private-profile file and the in-memory ini.
#include <gtest/gtest.h>

#include "classlib/IniFiles.h"
#include "skin/core/SkinIniValues.h"
#include "tests/TestFiles.h"
#include "tests/skin/core/SkinDataFixtures.h"

namespace {

// An in-memory ini holding one section [S] of the given lines.
std::unique_ptr<TbsSkinMemIni> Ini(const std::wstring& lines) {
    auto ini = std::make_unique<TbsSkinMemIni>(L"");
    ini->SetText(L"[S]\r\n" + lines);
    return ini;
}

TEST(SkinIniValues, RectanglesDropEveryNonDigitAndIgnoreExtraFields) {
    struct Case {
        const wchar_t* text;
        TRect expected;
    } cases[] = {
        {L"-3,4,10,20", {3, 4, 10, 20}},
        {L" 1 , 2 , 3 , 4 ", {1, 2, 3, 4}},
        {L"1,2,3,4,5", {1, 2, 3, 4}},
        {L"1a,b2,3.5,x4", {1, 2, 35, 4}},
    };
    for (const auto& c : cases) {
        auto ini = Ini(std::wstring(L"r=") + c.text);
        EXPECT_EQ(ReadRect(ini.get(), L"S", L"r"), c.expected) << c.text;
    }
    auto missing = Ini(L"x=1");
    EXPECT_EQ(ReadRect(missing.get(), L"S", L"r"), TRect{});
    EXPECT_EQ(ReadPoint(missing.get(), L"S", L"p"), TPoint{});
}

TEST(SkinIniValues, ARectangleWithAnEmptyFieldRaisesTheConversionError) {
    for (const wchar_t* text : {L"1,2,3", L"1,,3,4", L"", L"-,2,3,4", L"5"}) {
        auto ini = Ini(std::wstring(L"r=") + text);
        try {
            ReadRect(ini.get(), L"S", L"r");
            ADD_FAILURE() << "no error for '" << WideToUtf8(text) << "'";
        } catch (const EConvertError& e) {
            EXPECT_NE(std::wstring(e.Message()).find(L"is not a valid integer value"), std::wstring::npos);
        }
    }
    auto point = Ini(L"p=7");
    EXPECT_THROW(ReadPoint(point.get(), L"S", L"p"), EConvertError);
}

TEST(SkinIniValues, ANegativeRectangleReadsBackAsItsAbsoluteValue) {
    TbsSkinMemIni ini(L"");
    WriteRect(&ini, L"S", L"r", TRect{-1, 2, -3, 4});
    EXPECT_EQ(ini.ReadString(L"S", L"r", L""), L"-1,2,-3,4");
    EXPECT_EQ(ReadRect(&ini, L"S", L"r"), (TRect{1, 2, 3, 4}));
}

TEST(SkinIniValues, IntegersTakeHexOnlyAfterTwoCharacters) {
    struct Case {
        const wchar_t* text;
        int expected;  // with default 77
    } cases[] = {
        {L"12", 12},
        {L"-5", -5},
        {L"+5", 5},
        {L"0x1F", 31},
        {L"0X1f", 31},
        {L"0x", 77},
        {L"x1", 77},
        {L"abc", 77},
        {L"1 2", 77},
        {L"99999999999", 77},
        {L"-2147483648", INT32_MIN},
        {L"", 77},
        {L"0xFFFFFFFF", -1},
        {L"0x1G", 77},
    };
    for (const auto& c : cases) {
        auto ini = Ini(std::wstring(L"i=") + c.text);
        EXPECT_EQ(ReadSkinInteger(ini.get(), L"S", L"i", 77), c.expected) << WideToUtf8(c.text);
    }
}

TEST(SkinIniValues, ABooleanIsTrueOnlyWhenItReadsAsTheIntegerOne) {
    struct Case {
        const wchar_t* text;
        bool expected;
    } cases[] = {{L"1", true}, {L"0x1", true}, {L"0", false}, {L"2", false}, {L"true", false}, {L"-1", false}};
    for (const auto& c : cases) {
        auto ini = Ini(std::wstring(L"b=") + c.text);
        EXPECT_EQ(ReadBoolean(ini.get(), L"S", L"b"), c.expected) << WideToUtf8(c.text);
    }
    auto missing = Ini(L"");
    EXPECT_FALSE(ReadBoolean(missing.get(), L"S", L"b"));
}

TEST(SkinIniValues, EnumeratedWordsCompareExactlyAndFallBackPerKind) {
    auto ini =
        Ini(L"st1=stfull\r\nst2=stvert\r\nst3=sthorz\r\nst4=stVert\r\nst5=STFULL\r\nst6=what\r\n"
            L"ie1=iedarkness\r\nie2=unknown\r\nmk1=mkpush\r\nmk2=unknown\r\n"
            L"al1=taleftjustify\r\nal2=tacenter\r\nal3=Tacenter\r\nal4=tarightjustify\r\n"
            L"cm1=cmclose\r\ncm2=cmrollup\r\ncm3=cmminimizetotray\r\ncm4=close\r\n");
    TbsSkinMemIni* p = ini.get();
    EXPECT_EQ(ReadStretchType(p, L"S", L"st1"), bsstFull);
    EXPECT_EQ(ReadStretchType(p, L"S", L"st2"), bsstVert);
    EXPECT_EQ(ReadStretchType(p, L"S", L"st3"), bsstHorz);
    EXPECT_EQ(ReadStretchType(p, L"S", L"st4"), bsstHorz);
    EXPECT_EQ(ReadStretchType(p, L"S", L"st5"), bsstHorz);
    EXPECT_EQ(ReadStretchType(p, L"S", L"st6"), bsstHorz);
    EXPECT_EQ(ReadStretchType(p, L"S", L"none"), bsstFull);
    EXPECT_EQ(ReadInActiveEffect(p, L"S", L"ie1"), ieDarkness);
    EXPECT_EQ(ReadInActiveEffect(p, L"S", L"ie2"), ieGrayScale);
    EXPECT_EQ(ReadInActiveEffect(p, L"S", L"none"), ieBrightness);
    EXPECT_EQ(ReadMorphKind(p, L"S", L"mk1"), mkPush);
    EXPECT_EQ(ReadMorphKind(p, L"S", L"mk2"), mkDefault);
    EXPECT_EQ(ReadAlignment(p, L"S", L"al1"), taLeftJustify);
    EXPECT_EQ(ReadAlignment(p, L"S", L"al2"), taCenter);
    EXPECT_EQ(ReadAlignment(p, L"S", L"al3"), taRightJustify);
    EXPECT_EQ(ReadAlignment(p, L"S", L"al4"), taRightJustify);
    EXPECT_EQ(ReadAlignment(p, L"S", L"none"), taCenter);
    EXPECT_EQ(ReadStdCommand(p, L"S", L"cm1"), cmClose);
    EXPECT_EQ(ReadStdCommand(p, L"S", L"cm2"), cmRollUp);
    EXPECT_EQ(ReadStdCommand(p, L"S", L"cm3"), cmMinimizeToTray);
    EXPECT_EQ(ReadStdCommand(p, L"S", L"cm4"), cmMinimizeToTray);
    EXPECT_EQ(ReadStdCommand(p, L"S", L"none"), cmDefault);
}

TEST(SkinIniValues, EveryEnumeratedValueIsWrittenAsAWordThatReadsBack) {
    TbsSkinMemIni ini(L"");
    for (int v = bsstFull; v <= bsstVert; ++v) {
        WriteStretchType(&ini, L"S", L"k", static_cast<TbsStretchType>(v));
        EXPECT_EQ(ReadStretchType(&ini, L"S", L"k"), v);
    }
    for (int v = mkDefault; v <= mkPush; ++v) {
        WriteMorphKind(&ini, L"S", L"k", static_cast<TbsMorphKind>(v));
        EXPECT_EQ(ReadMorphKind(&ini, L"S", L"k"), v);
    }
    for (int v = ieBrightness; v <= ieInvert; ++v) {
        WriteInActiveEffect(&ini, L"S", L"k", static_cast<TbsInActiveEffect>(v));
        EXPECT_EQ(ReadInActiveEffect(&ini, L"S", L"k"), v);
    }
    for (int v = cmClose; v <= cmMinimizeToTray; ++v) {
        WriteStdCommand(&ini, L"S", L"k", static_cast<TbsStdCommand>(v));
        EXPECT_EQ(ReadStdCommand(&ini, L"S", L"k"), v);
    }
    for (int v = taLeftJustify; v <= taCenter; ++v) {
        WriteAlignment(&ini, L"S", L"k", static_cast<TAlignment>(v));
        EXPECT_EQ(ReadAlignment(&ini, L"S", L"k"), v);
    }
    WriteStdCommand(&ini, L"S", L"k", cmMinimizeToTray);
    EXPECT_EQ(ini.ReadString(L"S", L"k", L""), L"cmminimizetotray");
}

TEST(SkinIniValues, FontStylesAreFoundBySubstringCaseSensitively) {
    auto ini = Ini(L"a=fsbold,fsunderline\r\nb=xfsboldy\r\nc=FSBOLD\r\nd=fsitalic fsstrikeout\r\n");
    EXPECT_EQ(ReadFontStyles(ini.get(), L"S", L"a"), (TbsFontStyles{bsfsBold, bsfsUnderline}));
    EXPECT_EQ(ReadFontStyles(ini.get(), L"S", L"b"), TbsFontStyles{bsfsBold});
    EXPECT_TRUE(ReadFontStyles(ini.get(), L"S", L"c").Empty());
    EXPECT_EQ(ReadFontStyles(ini.get(), L"S", L"d"), (TbsFontStyles{bsfsItalic, bsfsStrikeOut}));
    TbsSkinMemIni out(L"");
    WriteFontStyles(&out, L"S", L"f", TbsFontStyles{bsfsStrikeOut, bsfsBold, bsfsItalic});
    EXPECT_EQ(out.ReadString(L"S", L"f", L""), L"fsbold,fsitalic,fsstrikeout");
}

TEST(SkinIniValues, StringListsRoundTripThroughCountAndNumberedKeys) {
    TbsSkinMemIni ini(L"");
    TStringList in;
    in.Add(L"a.bmp");
    in.Add(L"b c.bmp");
    WriteStrings1(&ini, L"PICTURES", L"activepictures", &in);
    EXPECT_EQ(ini.ReadString(L"PICTURES", L"activepicturescount", L""), L"2");
    EXPECT_EQ(ini.ReadString(L"PICTURES", L"1", L""), L"b c.bmp");
    TStringList out;
    out.Add(L"stale");
    ReadStrings1(&ini, L"PICTURES", L"activepictures", &out);
    EXPECT_TRUE(out.Equals(&in));
}

// A file read through the system's private-profile functions and the same text in memory give the same values:
// blanks around keys and values, quotes around values and letter case of names.
TEST(SkinIniValues, TheFileAndTheInMemoryPathReadAlike) {
    trelm_test::TTempDir dir;
    const std::string text =
        "[Section]\r\n  name  =  \"Quoted Skin\"  \r\nsingle='x y'\r\nhalf=\"open\r\nrect= 1 , 2 , 3 , 4 \r\n"
        "Flag=1\r\nmixed=tacenter\r\n";
    skin_fixture::WriteText(dir.File(L"t.ini"), text);
    TIniFile file(dir.File(L"t.ini"));
    TbsSkinMemIni mem(L"");
    mem.SetText(Utf8ToWide(text));
    for (TCustomIniFile* ini : {static_cast<TCustomIniFile*>(&file), static_cast<TCustomIniFile*>(&mem)}) {
        SCOPED_TRACE(ini == &file ? "private profile" : "in memory");
        EXPECT_EQ(ini->ReadString(L"SECTION", L"NAME", L""), L"Quoted Skin");
        EXPECT_EQ(ini->ReadString(L"section", L"single", L""), L"x y");
        EXPECT_EQ(ini->ReadString(L"section", L"half", L""), L"\"open");
        EXPECT_EQ(ReadRect(ini, L"Section", L"rect"), (TRect{1, 2, 3, 4}));
        EXPECT_TRUE(ReadBoolean(ini, L"Section", L"flag"));
        EXPECT_EQ(ReadAlignment(ini, L"Section", L"mixed"), taCenter);
        EXPECT_EQ(ini->ReadString(L"Section", L"missing", L"dflt"), L"dflt");
    }
}

}  // namespace
