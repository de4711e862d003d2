// String lists: sorting, case, duplicates, delimited text, name=value pairs, encodings and safe saving; TList.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>

#include "SupportTestUtil.h"
#include "base/Utf.h"
#include "classlib/Classes.h"

namespace {

class CountedObject : public TObject {
  public:
    explicit CountedObject(int* alive) : alive_(alive) { ++*alive_; }
    ~CountedObject() override { --*alive_; }

  private:
    int* alive_;
};

TEST(SupportStrings, SortedListOrdersIgnoringCaseByDefault) {
    TStringList list;
    list.SetSorted(true);
    for (const wchar_t* s : {L"delta", L"Bravo", L"alpha", L"Charlie", L"ALPHA2"})
        list.Add(s);
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"alpha", L"ALPHA2", L"Bravo", L"Charlie", L"delta"}));
    EXPECT_EQ(list.IndexOf(L"CHARLIE"), 3);
    EXPECT_EQ(list.IndexOf(L"echo"), -1);
}

TEST(SupportStrings, CaseSensitiveListTellsCaseApart) {
    TStringList list;
    list.SetCaseSensitive(true);
    list.Add(L"Key");
    EXPECT_EQ(list.IndexOf(L"key"), -1);
    EXPECT_EQ(list.IndexOf(L"Key"), 0);
    list.SetSorted(true);
    list.Add(L"key");  // not a duplicate when case matters
    EXPECT_EQ(list.Count(), 2);
    list.SetCaseSensitive(false);
    int index = -1;
    EXPECT_TRUE(list.Find(L"KEY", index));
    EXPECT_EQ(index, 0);  // the first of the equal strings
}

TEST(SupportStrings, DuplicatesTable) {
    struct Case {
        TDuplicates mode;
        int expectedCount;
        bool throws;
    };
    for (const Case& c : {Case{dupIgnore, 2, false}, Case{dupAccept, 3, false}, Case{dupError, 2, true}}) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        TStringList list;
        list.SetSorted(true);
        list.Duplicates = c.mode;
        list.Add(L"one");
        list.Add(L"two");
        if (c.throws) {
            try {
                list.Add(L"ONE");
                ADD_FAILURE() << "no exception";
            } catch (const EStringListError& e) {
                EXPECT_EQ(e.Message(), L"String list does not allow duplicates");
            }
        } else {
            int index = list.Add(L"ONE");
            EXPECT_EQ(list.Get(index).size(), 3u);
        }
        EXPECT_EQ(list.Count(), c.expectedCount);
    }
}

TEST(SupportStrings, DupAcceptKeepsArrivalOrderOfEqualStrings) {
    TStringList list;
    list.SetSorted(true);
    list.Duplicates = dupAccept;
    list.Add(L"b");
    list.Add(L"A");
    list.Add(L"a");
    list.Add(L"c");
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"A", L"a", L"b", L"c"}));
}

TEST(SupportStrings, ObjectsTravelWithTheirStringsWhenSorting) {
    int alive = 0;
    {
        TStringList list(true);
        auto* x = new CountedObject(&alive);
        auto* y = new CountedObject(&alive);
        list.AddObject(L"zulu", x);
        list.AddObject(L"yankee", y);
        list.Sort();
        EXPECT_EQ(list.Objects(0), y);
        EXPECT_EQ(list.Objects(1), x);
        list.Delete(0);
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

TEST(SupportStrings, SortedListRefusesPositionalChanges) {
    TStringList list;
    list.SetSorted(true);
    list.Add(L"a");
    EXPECT_THROW(list.Insert(0, L"b"), EStringListError);
    EXPECT_THROW(list.Put(0, L"b"), EStringListError);
}

TEST(SupportStrings, IndexErrorsCarryTheIndex) {
    TStringList list;
    list.Add(L"only");
    for (int bad : {-1, 1, 7}) {
        try {
            list.Get(bad);
            ADD_FAILURE() << bad;
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), L"List index out of bounds (" + std::to_wstring(bad) + L")");
        }
    }
    TList plain;
    EXPECT_THROW(plain.Delete(0), EListError);
}

TEST(SupportStrings, TextSplitsAtEveryKindOfLineBreak) {
    TStringList list;
    list.SetText(L"a\r\nb\nc\rd\r\n\r\ne");
    EXPECT_EQ(Lines(list), (std::vector<std::wstring>{L"a", L"b", L"c", L"d", L"", L"e"}));
    EXPECT_EQ(list.Text(), L"a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
    list.SetText(L"");
    EXPECT_EQ(list.Count(), 0);
}

TEST(SupportStrings, CommaTextTable) {
    struct Case {
        std::vector<std::wstring> items;
        std::wstring text;
    };
    const Case cases[] = {
        {{L"a", L"b", L"c"}, L"a,b,c"},
        {{L"with blank", L"x"}, L"\"with blank\",x"},
        {{L"say \"hi\"", L"y"}, L"\"say \"\"hi\"\"\",y"},
        {{L"a,b"}, L"\"a,b\""},
        {{L""}, L"\"\""},
        {{L"a", L"", L"b"}, L"a,,b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TStringList list;
        for (const auto& s : c.items)
            list.Add(s);
        EXPECT_EQ(list.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(c.text);
        EXPECT_EQ(Lines(back), c.items);
    }
    // Unquoted blanks separate items unless StrictDelimiter is set.
    TStringList loose;
    loose.SetCommaText(L"one two, three");
    EXPECT_EQ(Lines(loose), (std::vector<std::wstring>{L"one", L"two", L"three"}));
    TStringList strict;
    strict.StrictDelimiter = true;
    strict.Delimiter = L';';
    strict.SetDelimitedText(L"one two;three");
    EXPECT_EQ(Lines(strict), (std::vector<std::wstring>{L"one two", L"three"}));
}

// A NUL ends the text, as in any C string. Found by fuzzing: the two characters "\0a" once made the splitter add
// empty items until memory ran out, so the split runs on a helper thread with a deadline.
TEST(SupportStrings, DelimitedTextEndsAtANul) {
    struct Case {
        std::wstring text;
        std::vector<std::wstring> items;
    };
    const Case cases[] = {
        {std::wstring(L"\0a", 2), {}},
        {std::wstring(L"a\0", 2), {L"a"}},
        {std::wstring(L"a,b\0,c", 6), {L"a", L"b"}},
        {std::wstring(L"\"x\0y\",z", 7), {L"x"}},
    };
    for (bool strict : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "strict " << strict << ", item count " << c.items.size());
            auto split = std::async(std::launch::async, [&] {
                TStringList list;
                list.StrictDelimiter = strict;
                list.SetDelimitedText(c.text);
                TStringList comma;
                comma.SetCommaText(c.text);
                return std::make_pair(Lines(list), Lines(comma));
            });
            if (split.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
                // The runaway thread cannot be stopped; end the program before it exhausts memory.
                std::fprintf(stderr, "SetDelimitedText/SetCommaText did not return on a NUL\n");
                std::_Exit(1);
            }
            const auto [delimited, comma] = split.get();
            EXPECT_EQ(delimited, c.items);
            EXPECT_EQ(comma, c.items);
        }
    }
}

TEST(SupportStrings, NamesAndValues) {
    TStringList list;
    list.Add(L"Host=mail.example.com");
    list.Add(L"no separator");
    list.Add(L"Filter=a=b");
    EXPECT_EQ(list.Values(L"HOST"), L"mail.example.com");
    EXPECT_EQ(list.Values(L"filter"), L"a=b");
    EXPECT_EQ(list.Names(1), L"");
    EXPECT_EQ(list.Values(L"missing"), L"");
    list.SetValue(L"Port", L"993");
    EXPECT_EQ(list.Get(3), L"Port=993");
    list.SetValue(L"host", L"imap.example.com");
    EXPECT_EQ(list.Get(0), L"host=imap.example.com");
    list.SetValue(L"Filter", L"");
    EXPECT_EQ(list.IndexOfName(L"Filter"), -1);
    EXPECT_EQ(list.Count(), 3);
}

TEST(SupportStrings, ChangeEventsFollowUpdates) {
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.Add(L"a");
    EXPECT_EQ(changes, 1);
    list.BeginUpdate();
    list.Add(L"b");
    list.Add(L"c");
    EXPECT_EQ(changes, 1);
    list.EndUpdate();
    EXPECT_EQ(changes, 2);
}

TEST(SupportStrings, ByteOrderMarkDetectionTable) {
    struct Case {
        std::string bytes;
        TTextEncoding encoding;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF"
         "caf\xC3\xA9\r\nx",
         TTextEncoding::UTF8,
         {L"caf\u00e9", L"x"}},
        {std::string("\xFF\xFE"
                     "a\0\r\0\n\0\x16\x04",
                     10),
         TTextEncoding::Unicode,
         {L"a", L"\u0416"}},
        {std::string("\xFE\xFF\0a\0\n\x04\x16", 8), TTextEncoding::BigEndianUnicode, {L"a", L"\u0416"}},
        {"plain\nascii", TTextEncoding::Ansi, {L"plain", L"ascii"}},
        {"", TTextEncoding::Ansi, {}},
        // An odd trailing byte of UTF-16 text is dropped, not read past.
        {std::string("\xFF\xFE"
                     "a\0b",
                     5),
         TTextEncoding::Unicode,
         {L"a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.encoding));
        TStringList list;
        list.LoadFromBytes(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(list.Encoding, c.encoding);
        EXPECT_EQ(Lines(list), c.lines);
    }
}

TEST(SupportStrings, AnsiTextWithoutMarkUsesTheSystemCodePage) {
    std::string ansi = WideToAnsi(L"Stra\u00dfe");
    TStringList list;
    list.LoadFromBytes(ansi.data(), ansi.size());
    EXPECT_EQ(list.Get(0), AnsiToWide(ansi));
    EXPECT_EQ(list.Encoding, TTextEncoding::Ansi);
}

// With DetectUTF8 only well-formed UTF-8 is read as UTF-8; anything else is ANSI text. Found by fuzzing: the two
// bytes C0 AF (an overlong '/') were once read as UTF-8 and shown as U+FFFD.
TEST(SupportStrings, DetectUtf8TakesOnlyWellFormedText) {
    struct Case {
        std::string bytes;
        bool utf8;
    };
    const Case cases[] = {
        {"\xC0\xAF", false},          // overlong form
        {"\xED\xA0\x80", false},      // encoded surrogate U+D800
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\xC3", false},              // truncated
        {"\xC3\xA9", true},           // U+00E9
        {"\xF0\x9F\x98\x80", true},   // U+1F600
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        TStringList list;
        list.DetectUTF8 = true;
        list.LoadFromBytes(c.bytes.data(), c.bytes.size());
        ASSERT_EQ(list.Count(), 1);
        if (c.utf8) {
            EXPECT_EQ(list.Encoding, TTextEncoding::UTF8NoBOM);
            EXPECT_EQ(list.Get(0), Utf8ToWide(c.bytes));
        } else {
            EXPECT_EQ(list.Encoding, TTextEncoding::Ansi);
            EXPECT_EQ(list.Get(0), AnsiToWide(c.bytes));
            EXPECT_EQ(list.Get(0).find(L'\xFFFD'), std::wstring::npos);
        }
    }
}

TEST(SupportStrings, SaveAndLoadRoundTripsEveryEncoding) {
    TTempDir dir;
    const std::vector<std::wstring> lines = {L"first", L"\u041f\u0440\u0438\u0432\u0435\u0442", L"", L"last=1"};
    struct Case {
        TTextEncoding encoding;
        std::string prefix;
    };
    for (const Case& c : {Case{TTextEncoding::UTF8, "\xEF\xBB\xBF"}, Case{TTextEncoding::Unicode, "\xFF\xFE"},
                          Case{TTextEncoding::BigEndianUnicode, "\xFE\xFF"}}) {
        SCOPED_TRACE(static_cast<int>(c.encoding));
        TStringList list;
        for (const auto& s : lines)
            list.Add(s);
        std::wstring file = dir.File(L"round.txt");
        list.SaveToFile(file, c.encoding);
        EXPECT_EQ(ReadFileString(file).substr(0, c.prefix.size()), c.prefix);
        TStringList back;
        back.LoadFromFile(file);
        EXPECT_EQ(back.Encoding, c.encoding);
        EXPECT_EQ(Lines(back), lines);
        // Saving without an encoding keeps the one that was read.
        back.SaveToFile(file);
        EXPECT_EQ(ReadFileString(file).substr(0, c.prefix.size()), c.prefix);
    }
}

TEST(SupportStrings, MissingFileRaisesOpenError) {
    TTempDir dir;
    TStringList list;
    try {
        list.LoadFromFile(dir.File(L"absent.txt"));
        ADD_FAILURE();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind(L"Cannot open file \"" + dir.File(L"absent.txt") + L"\".", 0), 0u);
    }
}

TEST(SupportStrings, FailedSaveLeavesThePreviousFile) {
    TTempDir dir;
    std::wstring file = dir.File(L"keep.txt");
    ASSERT_TRUE(WriteFileBytes(file, "old content"));
    // Someone holds the file open without sharing: the replacement must fail and the old bytes stay.
    HANDLE lock = ::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    TStringList list;
    list.Add(L"new content");
    EXPECT_THROW(list.SaveToFile(file), EStreamError);
    ::CloseHandle(lock);
    EXPECT_EQ(ReadFileString(file), "old content");
    EXPECT_FALSE(FileExists(file + L".tmp~"));
    // Into a folder that does not exist: the create error, nothing left behind.
    EXPECT_THROW(list.SaveToFile(dir.File(L"no\\such\\dir.txt")), EFCreateError);
}

TEST(SupportStrings, ListMoveExchangeAndSort) {
    int a = 1, b = 2, c = 3;
    TList list;
    list.Add(&c);
    list.Add(&a);
    list.Add(&b);
    list.Sort([](void* x, void* y) { return *static_cast<int*>(x) - *static_cast<int*>(y); });
    EXPECT_EQ(list[0], &a);
    EXPECT_EQ(list[2], &c);
    list.Move(0, 2);
    EXPECT_EQ(list[2], &a);
    list.Exchange(0, 1);
    EXPECT_EQ(list[0], &c);
    EXPECT_EQ(list.Remove(&b), 1);
    EXPECT_EQ(list.IndexOf(&b), -1);
}

}  // namespace
