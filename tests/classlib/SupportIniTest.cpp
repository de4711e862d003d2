// In-memory ini parsing and writing, and the private-profile ini over a real file.
#include <gtest/gtest.h>

#include "SupportTestUtil.h"
#include "classlib/IniFiles.h"

namespace {

const wchar_t kSample[] =
    L"; leading comment, dropped\r\n"
    L"[Main]\r\n"
    L"  Name = Trelm Mail \r\n"
    L"Path=C:\\a=b\r\n"
    L"name=second value\r\n"
    L"just a line\r\n"
    L";key=inside comment\r\n"
    L"Empty=\r\n"
    L"\r\n"
    L"[ Colors ]\r\n"
    L"Back=$FF\r\n"
    L"Hex=0x10\r\n"
    L"Bad=12abc\r\n"
    L"Ratio=1.5\r\n"
    L"Flag=2\r\n"
    L"[MAIN]\r\n"
    L"Later=hidden\r\n"
    L"[Trailing] text after\r\n"
    L"k=v\r\n";

TEST(SupportIni, LookupTable) {
    TMemIniFile ini(L"");
    ini.SetText(kSample);
    struct Case {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"main", L"NAME", L"Trelm Mail"},    // case-insensitive, both sides trimmed
        {L"Main", L"Path", L"C:\\a=b"},       // value split at the first '='
        {L"Main", L"Empty", L""},             // present but empty
        {L"Main", L"just a line", L"<def>"},  // a line without '=' is no key
        {L"Main", L";key", L"<def>"},         // comment lines are no keys
        {L"Main", L"Later", L"<def>"},        // duplicate section: the first one is read
        {L"colors", L"back", L"$FF"},         // section name trimmed
        {L"Trailing", L"k", L"v"},            // text after ']' ignored
        {L"Missing", L"x", L"<def>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(c.section) + L"/" + c.key);
        EXPECT_EQ(ini.ReadString(c.section, c.key, L"<def>"), c.expected);
    }
    // Duplicate key: the first one counts.
    EXPECT_EQ(ini.ReadString(L"Main", L"name", L""), L"Trelm Mail");
}

TEST(SupportIni, TypedReadsTable) {
    TFormatSettings saved = FormatSettings;
    FormatSettings = TFormatSettings::Invariant();
    TMemIniFile ini(L"");
    ini.SetText(kSample);
    EXPECT_EQ(ini.ReadInteger(L"Colors", L"Back", 0), 255);
    EXPECT_EQ(ini.ReadInteger(L"Colors", L"Hex", 0), 16);
    EXPECT_EQ(ini.ReadInteger(L"Colors", L"Bad", -7), -7);
    EXPECT_EQ(ini.ReadInteger(L"Colors", L"Nope", 42), 42);
    EXPECT_TRUE(ini.ReadBool(L"Colors", L"Flag", false));
    EXPECT_TRUE(ini.ReadBool(L"Colors", L"Nope", true));
    EXPECT_FALSE(ini.ReadBool(L"Colors", L"Bad", false));
    EXPECT_DOUBLE_EQ(ini.ReadFloat(L"Colors", L"Ratio", 0), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(L"Colors", L"Bad", 9.5), 9.5);
    FormatSettings = saved;
}

TEST(SupportIni, SectionsAndKeysListing) {
    TMemIniFile ini(L"");
    ini.SetText(kSample);
    TStringList list;
    ini.ReadSections(&list);
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"Main", L"Colors", L"MAIN", L"Trailing"}));
    ini.ReadSection(L"MAIN", &list);
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"Name", L"Path", L"name", L"Empty"}));
    ini.ReadSectionValues(L"trailing", &list);
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"k=v"}));
    EXPECT_TRUE(ini.SectionExists(L"colors"));
    EXPECT_FALSE(ini.SectionExists(L"nothing"));
    EXPECT_TRUE(ini.ValueExists(L"Main", L"EMPTY"));
    EXPECT_FALSE(ini.ValueExists(L"Main", L"just a line"));
}

TEST(SupportIni, WritesEraseAndDelete) {
    TMemIniFile ini(L"");
    ini.SetText(kSample);
    ini.WriteString(L"MAIN", L"NAME", L"Other");  // updates the first key of the first section in place
    EXPECT_EQ(ini.ReadString(L"Main", L"Name", L""), L"Other");
    ini.WriteString(L"New", L"Key", L"multi\r\nline");
    EXPECT_EQ(ini.ReadString(L"new", L"key", L""), L"multi  line");
    ini.WriteInteger(L"New", L"Count", -3);
    ini.WriteBool(L"New", L"On", true);
    EXPECT_EQ(ini.ReadString(L"New", L"Count", L""), L"-3");
    EXPECT_EQ(ini.ReadString(L"New", L"On", L""), L"1");
    ini.DeleteKey(L"Main", L"name");  // both "Name" and the duplicate "name"
    EXPECT_EQ(ini.ReadString(L"Main", L"Name", L"gone"), L"gone");
    ini.EraseSection(L"main");  // every section of that name
    EXPECT_EQ(ini.ReadString(L"Main", L"Later", L"gone"), L"gone");
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(Lines(sections), (std::vector<std::wstring>{L"Colors", L"Trailing", L"New"}));
}

// Names outside ASCII fold through the system's tables; a section read a moment ago is not found again after it
// went (erased, or the whole text replaced) or its name was read under another case.
TEST(SupportIni, FoldingAndTheSectionLastReadStayRight) {
    TMemIniFile ini(L"");
    ini.SetText(L"[Настройки]\r\nЦвет=синий\r\n[Main]\r\nkey=1\r\n");
    EXPECT_EQ(ini.ReadString(L"НАСТРОЙКИ", L"цвет", L""), L"синий");
    EXPECT_EQ(ini.ReadString(L"main", L"KEY", L""), L"1");
    EXPECT_EQ(ini.ReadString(L"MAIN", L"key", L""), L"1");
    ini.EraseSection(L"Main");
    EXPECT_EQ(ini.ReadString(L"main", L"key", L"gone"), L"gone");
    ini.WriteString(L"Main", L"key", L"2");
    EXPECT_EQ(ini.ReadString(L"main", L"key", L""), L"2");
    ini.SetText(L"[MAIN]\r\nkey=3\r\n");
    EXPECT_EQ(ini.ReadString(L"main", L"key", L""), L"3");
    EXPECT_EQ(ini.ReadString(L"Настройки", L"Цвет", L"gone"), L"gone");
    ini.Clear();
    EXPECT_EQ(ini.ReadString(L"main", L"key", L"gone"), L"gone");
    EXPECT_EQ(ini.FindValue(L"main", L"key"), nullptr);
}

TEST(SupportIni, GetStringsKeepsCommentsAndOddLines) {
    TMemIniFile ini(L"");
    ini.SetText(L"junk before\n[A]\nx = 1\nodd line\n; note\n[B]\ny=2\n");
    TStringList out;
    ini.GetStrings(&out);
    EXPECT_EQ(Lines(out), (std::vector<std::wstring>{L"[A]", L"x=1", L"odd line", L"; note", L"", L"[B]", L"y=2"}));
}

TEST(SupportIni, FileRoundTripWithByteOrderMark) {
    TTempDir dir;
    std::wstring file = dir.File(L"skin.ini");
    // UTF-16 file with a mark, as a skin may carry.
    std::wstring text = L"[VERSION]\r\nName=\u0421\u043a\u0438\u043d\r\n";
    std::string bytes = "\xFF\xFE";
    for (wchar_t ch : text) {
        bytes += static_cast<char>(ch & 0xFF);
        bytes += static_cast<char>(ch >> 8);
    }
    ASSERT_TRUE(WriteFileBytes(file, bytes));
    {
        TMemIniFile ini(file);
        EXPECT_EQ(ini.Encoding, TTextEncoding::Unicode);
        EXPECT_EQ(ini.ReadString(L"version", L"name", L""), L"\u0421\u043a\u0438\u043d");
        ini.WriteString(L"Pictures", L"Count", L"3");
        ini.UpdateFile();
    }
    EXPECT_EQ(ReadFileString(file).substr(0, 2), "\xFF\xFE");
    TMemIniFile again(file);
    EXPECT_EQ(again.ReadInteger(L"PICTURES", L"count", 0), 3);
    EXPECT_EQ(again.ReadString(L"version", L"name", L""), L"\u0421\u043a\u0438\u043d");
    // A missing file gives an empty ini.
    TMemIniFile none(dir.File(L"none.ini"));
    EXPECT_FALSE(none.SectionExists(L"VERSION"));
}

TEST(SupportIni, PrivateProfileIniAgreesWithTheMemoryIni) {
    TTempDir dir;
    std::wstring file = dir.File(L"profile.ini");
    ASSERT_TRUE(WriteFileBytes(file, "[Main]\r\nName=Trelm\r\nCount=12\r\n[Other]\r\nA=1\r\nB=2\r\n"));
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString(L"main", L"name", L""), L"Trelm");
    EXPECT_EQ(ini.ReadInteger(L"Main", L"Count", 0), 12);
    EXPECT_EQ(ini.ReadString(L"Main", L"Missing", L"def"), L"def");
    TStringList list;
    ini.ReadSections(&list);
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"Main", L"Other"}));
    ini.ReadSectionValues(L"Other", &list);
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"A=1", L"B=2"}));
    ini.WriteString(L"Other", L"C", L"long value " + std::wstring(3000, L'x'));
    EXPECT_EQ(ini.ReadString(L"Other", L"C", L"").size(), 11u + 3000u);
    ini.DeleteKey(L"Other", L"A");
    ini.EraseSection(L"Main");
    ini.UpdateFile();
    TMemIniFile mem(file);
    EXPECT_FALSE(mem.SectionExists(L"Main"));
    EXPECT_EQ(mem.ReadString(L"Other", L"A", L"gone"), L"gone");
    EXPECT_EQ(mem.ReadString(L"Other", L"B", L""), L"2");
    EXPECT_TRUE(ini.SectionExists(L"Other"));
    EXPECT_TRUE(ini.ValueExists(L"Other", L"b"));
}

}  // namespace
