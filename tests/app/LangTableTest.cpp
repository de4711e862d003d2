// The language table: built-in tables applied in order, language files (good, short, bad lines, missing),
// the line checks against each element's maximum, the centred tab captions and "yazik.txt".
#include <gtest/gtest.h>

#include <map>

#include "TestFiles.h"
#include "app/LangTable.h"

using trelm_test::TTempDir;
using trelm_test::WriteFileBytes;

namespace {

// Records what applying a language does to the window.
class RecordingSink : public TLanguageSink {
  public:
    void SetRussianResourceStrings(bool on) override { russian.push_back(on); }
    void ShowWarning(const std::wstring& text) override { warnings.push_back(text); }
    void ApplyText(const TLangApplyEntry& entry, const std::wstring& text) override {
        applied.push_back(entry.targets);
        texts[entry.targets] = text;
    }
    std::vector<bool> russian;
    std::vector<std::wstring> warnings;
    std::vector<std::wstring> applied;
    std::map<std::wstring, std::wstring> texts;
};

std::string Utf16File(const std::vector<std::wstring>& lines, bool bom = true) {
    std::string bytes;
    auto put = [&bytes](wchar_t c) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    };
    if (bom)
        put(0xFEFF);
    for (const std::wstring& line : lines) {
        for (wchar_t c : line)
            put(c);
        put(L'\r');
        put(L'\n');
    }
    return bytes;
}

// 88 distinct lines, each short enough for every element.
std::vector<std::wstring> FileLines() {
    std::vector<std::wstring> lines;
    for (int i = 0; i < kLangLineCount; ++i)
        lines.push_back(L"L" + std::to_wstring(i));
    return lines;
}

TEST(LangTable, BuiltInTablesApplyCompletely) {
    for (uint8_t index = 0; index <= kLangIndexMax; ++index) {
        const TLangTable* table = BuiltInLangTable(index);
        ASSERT_NE(table, nullptr);
        for (int n = 0; n < kLangLineCount; ++n)
            EXPECT_TRUE((*table)[n] && *(*table)[n]) << "language " << int(index) << " line " << n;
        TSettings settings;
        settings.LangIndex = index;
        RecordingSink sink;
        TLanguage lang;
        lang.Apply(settings, L"C:\\nowhere", sink);
        EXPECT_TRUE(sink.warnings.empty())
            << int(index) << ": " << std::string(sink.warnings[0].begin(), sink.warnings[0].end());
        EXPECT_EQ(sink.applied.size(), kLangApplyOrder.size());
        EXPECT_EQ(sink.russian, (std::vector<bool>{false, true}));
        EXPECT_EQ(lang.LangLine(87), (*table)[87]);
    }
    EXPECT_EQ(BuiltInLangTable(3), nullptr);
}

TEST(LangTable, KnownTextsOfEachLanguage) {
    struct Case {
        uint8_t index;
        const wchar_t* caption;
        const wchar_t* mailTab;
        const wchar_t* apply;
    };
    const Case cases[] = {
        {0, L"Внимание", L"        Почта        ", L"Применить / Сохранить"},
        {1, L"Увага", L"       Асноўныя       ", L"Прымяніць / Захаваць"},
        {2, L"Увага", L"       Основні       ", L"Застосувати / Зберегти"},
    };
    for (const Case& c : cases) {
        TSettings settings;
        settings.LangIndex = c.index;
        RecordingSink sink;
        TLanguage lang;
        lang.Apply(settings, L"C:\\nowhere", sink);
        EXPECT_EQ(sink.texts[L"caption"], c.caption);
        EXPECT_EQ(sink.texts[L"TabSheet_NOsn"], c.mailTab);
        EXPECT_EQ(sink.texts[L"Button_Prim Button_PrimN"], c.apply);
        EXPECT_EQ(sink.texts[L"PasswordDialog:label"], L"Пароль:");
        EXPECT_EQ(sink.texts[L"Button_Dobav Button_DobavSob"], SpaceAround(lang.LangLine(21)));
    }
}

TEST(LangTable, OtherLanguageIndexLeavesTableEmpty) {
    TSettings settings;
    settings.LangIndex = 3;
    RecordingSink sink;
    TLanguage lang;
    lang.Apply(settings, L"C:\\nowhere", sink);
    EXPECT_TRUE(lang.Lines().empty());
    EXPECT_TRUE(sink.applied.empty());
    EXPECT_EQ(lang.LangLine(1), L"");
}

TEST(LangTable, CenterText) {
    struct Case {
        std::wstring text;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"Почта", std::wstring(8, L' ') + L"Почта" + std::wstring(8, L' ')},
        {std::wstring(20, L'x'), L" " + std::wstring(20, L'x') + L" "},
        {std::wstring(21, L'x'), L" " + std::wstring(21, L'x') + L" "},
        {std::wstring(22, L'x'), std::wstring(22, L'x')},
        {L"", std::wstring(22, L' ')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CenterText(c.text, 20), c.expected) << c.text.size();
}

TEST(LangFile, GoodFileReplacesTheTable) {
    TTempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.File(L"my.lng"), Utf16File(FileLines())));
    TSettings settings;
    settings.LangFile = L"my.lng";  // a bare name lies in the program folder
    RecordingSink sink;
    TLanguage lang;
    lang.Apply(settings, dir.Path(), sink);
    EXPECT_TRUE(sink.warnings.empty());
    EXPECT_EQ(settings.LangFile, L"my.lng");
    EXPECT_EQ(sink.russian, (std::vector<bool>{false}));
    EXPECT_EQ(sink.applied.size(), kLangApplyOrder.size());
    EXPECT_EQ(sink.texts[L"caption"], L"L1");
    EXPECT_EQ(sink.texts[L"TabSheet_NOsn"], CenterText(L"L14", 20));
    EXPECT_EQ(lang.LangLine(87), L"L87");
}

TEST(LangFile, LongLineFiveWarnsInBothLanguagesAndKeepsBuiltIn) {
    TTempDir dir;
    std::vector<std::wstring> lines = FileLines();
    lines[4] = std::wstring(181, L'ж');
    const std::wstring path = dir.File(L"bad.lng");
    ASSERT_TRUE(WriteFileBytes(path, Utf16File(lines)));
    TSettings settings;
    settings.LangIndex = 2;
    settings.LangFile = path;
    RecordingSink sink;
    TLanguage lang;
    lang.Apply(settings, L"C:\\nowhere", sink);
    ASSERT_EQ(sink.warnings.size(), 1u);
    EXPECT_EQ(sink.warnings[0], L"Ошибка доступа к файлу. Строка 5\r" + std::wstring(15, L' ') +
                                    L"The error of the access to file. Line 5");
    EXPECT_EQ(settings.LangFile, L"");
    EXPECT_EQ(lang.LangLine(1), L"Увага");  // the built-in Ukrainian table
    EXPECT_EQ(sink.russian, (std::vector<bool>{false, true}));
    EXPECT_EQ(sink.applied.size(), kLangApplyOrder.size());
}

TEST(LangFile, BadLinesAndShortFiles) {
    struct Case {
        const char* name;
        std::vector<std::wstring> lines;
        size_t appliedBefore;  // entries applied before the failing one
        int errorLine;         // 1-based in the text, -1: none
    };
    std::vector<std::wstring> empty3 = FileLines();
    empty3[2] = L"";
    std::vector<std::wstring> long20 = FileLines();
    long20[20] = std::wstring(17, L'p');  // fits the dialog label (20), not Label_PNParol (15)
    std::vector<std::wstring> long1 = FileLines();
    long1[1] = std::wstring(21, L'c');  // fits a file line, not the caption
    std::vector<std::wstring> short30 = FileLines();
    short30.resize(30);
    const Case cases[] = {
        {"empty line 3", empty3, kLangApplyOrder.size(), 3},
        {"line 20 too long for its label", long20, 13, 21},
        {"caption too long", long1, 0, 2},
        {"30 lines", short30, 2, 75},
    };
    for (const Case& c : cases) {
        TTempDir dir;
        ASSERT_TRUE(WriteFileBytes(dir.File(L"x.lng"), Utf16File(c.lines)));
        TSettings settings;
        settings.LangFile = dir.File(L"x.lng");
        RecordingSink sink;
        TLanguage lang;
        lang.Apply(settings, L"C:\\nowhere", sink);
        ASSERT_EQ(sink.warnings.size(), 1u) << c.name;
        EXPECT_NE(sink.warnings[0].find(L"Line " + std::to_wstring(c.errorLine)), std::wstring::npos) << c.name;
        EXPECT_EQ(sink.applied.size(), c.appliedBefore) << c.name;
    }
}

TEST(LangFile, LineTwentyStopsAfterTheDialogLabel) {
    TTempDir dir;
    std::vector<std::wstring> lines = FileLines();
    lines[20] = std::wstring(17, L'p');
    ASSERT_TRUE(WriteFileBytes(dir.File(L"x.lng"), Utf16File(lines)));
    TSettings settings;
    settings.LangFile = dir.File(L"x.lng");
    RecordingSink sink;
    TLanguage lang;
    lang.Apply(settings, L"", sink);
    EXPECT_EQ(sink.texts[L"PasswordDialog:label"], std::wstring(17, L'p') + L":");
    EXPECT_EQ(sink.texts.count(L"Label_PNParol"), 0u);
    EXPECT_EQ(sink.applied.back(), L"Label_PNLogin ListView_Em:0");
    EXPECT_EQ(settings.LangFile, dir.File(L"x.lng"));  // the file itself was good
}

TEST(LangFile, MissingFileIsDroppedSilently) {
    TSettings settings;
    settings.LangFile = L"absent.lng";
    RecordingSink sink;
    TLanguage lang;
    lang.Apply(settings, L"C:\\nowhere", sink);
    EXPECT_TRUE(sink.warnings.empty());
    EXPECT_EQ(settings.LangFile, L"");
    EXPECT_EQ(lang.LangLine(1), L"Внимание");

    settings.LangFile = L"   ";  // blank: no such file either
    lang.Apply(settings, L"C:\\nowhere", sink);
    EXPECT_EQ(settings.LangFile, L"");
    EXPECT_TRUE(sink.warnings.empty());
}

TEST(LangFile, Splitting) {
    struct Case {
        std::string bytes;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {std::string("a\0\r\0\n\0b\0", 8), {L"a", L"b"}},
        {std::string("a\0\r\0b\0\n\0c\0", 10), {L"a", L"b", L"c"}},
        {std::string("\xFF\xFE"
                     "a\0\r\0\n\0",
                     8),
         {L"a"}},
        {std::string("a\0\n\0\n\0b\0", 8), {L"a", L"", L"b"}},
        {std::string("\x16\x04z", 3), {L"Ж"}},
        {std::string(), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitLangFile(c.bytes), c.lines);
    EXPECT_EQ(FirstBadLangLine({L"a", std::wstring(180, L'x'), std::wstring(181, L'x')}), 2);
    EXPECT_EQ(FirstBadLangLine({L"a", L"", L"b"}), 1);
    EXPECT_EQ(FirstBadLangLine({L"a"}), -1);
}

TEST(StartLanguage, FirstByteOfYazik) {
    struct Case {
        std::string bytes;
        std::optional<uint8_t> expected;
    };
    const Case cases[] = {
        {std::string("\x02\0\0\0", 4), 2},   {std::string("\x01", 1), 1},
        {std::string("\0\x05", 2), 0},       {std::string("\x03\0\0\0", 4), std::nullopt},
        {std::string("2", 1), std::nullopt}, {std::string(), std::nullopt},
    };
    for (const Case& c : cases) {
        TTempDir dir;
        ASSERT_TRUE(WriteFileBytes(dir.File(L"yazik.txt"), c.bytes));
        EXPECT_EQ(ReadStartLanguage(dir.File(L"yazik.txt")), c.expected);
    }
    TTempDir dir;
    EXPECT_EQ(ReadStartLanguage(dir.File(L"yazik.txt")), std::nullopt);
}

TEST(StartLanguage, UkrainianFromYazikAppliesUkrainian) {
    TTempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.File(L"yazik.txt"), std::string("\x02\0\0\0", 4)));
    TSettings settings;
    if (std::optional<uint8_t> start = ReadStartLanguage(dir.File(L"yazik.txt")))
        settings.LangIndex = *start;
    RecordingSink sink;
    TLanguage lang;
    lang.Apply(settings, dir.Path(), sink);
    EXPECT_EQ(sink.texts[L"caption"], L"Увага");
    EXPECT_EQ(sink.texts[L"TabSheet_NOsn"], CenterText(L"Основні", 20));
    EXPECT_EQ(sink.texts[L"Button_Prim Button_PrimN"], L"Застосувати / Зберегти");
}

}  // namespace
