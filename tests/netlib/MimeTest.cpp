// MIME parsing over small .eml fixtures (encoded words, charsets, dates and zones, nested multiparts, transfer
// encodings, truncated input) and the date parser and zone conversion as tables.
#include <windows.h>

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "TestSupport.h"
#include "netlib/imap_fetch_items.h"
#include "netlib/mime_charset.h"
#include "netlib/mime_date.h"
#include "netlib/mime_header.h"
#include "netlib/mime_message.h"

using namespace netlib;

namespace {

std::string Fixture(const char* name) {
    std::string path = std::string(NETLIB_FIXTURES_DIR) + "/" + name;
    std::string bytes = trelm_test::ReadFileString(nettest::WinePath(path));
    EXPECT_FALSE(bytes.empty()) << path;
    return bytes;
}

const std::wstring kHtml =
    L"<html><head><style>p{color:red}</style></head><body><p>\x41f\x440\x438\x432\x435\x442 "
    L"<b>\x432\x441\x435\x43c</b></p></body></html>";

TEST(Mime, FixtureLetters) {
    struct Case {
        const char* file;
        std::wstring subject;
        std::wstring fromName;
        std::wstring fromAddress;
        bool hasDate;
        int64_t utc;
        std::wstring text;
    };
    const Case cases[] = {
        {"utf8-split-words.eml", L"\x41f\x440\x438\x432\x435\x442, \x43c\x438\x440",
         L"\x418\x432\x430\x43d \x41f\x435\x442\x440\x43e\x432", L"ivan@example.test", true, 1057049557,
         L"\x422\x435\x43a\x441\x442 \x43f\x438\x441\x44c\x43c\x430 = ok, and a long line that is soft broken "
         L"here\r\n\r\n"},
        {"koi8r-base64.eml", L"\x41e\x442\x447\x451\x442 \x433\x43e\x442\x43e\x432 (draft)",
         L"\x421\x435\x440\x433\x435\x439", L"s@example.test", true, 920638800,
         L"\x414\x43e\x431\x440\x44b\x439 \x434\x435\x43d\x44c\r\n"},
        // Of the alternative only the plain part; the attachment and the picture stay out.
        {"multipart-nested.eml", L"Nested", L"Comment Name", L"plain@example.test", true, 1704243600,
         L"\x41f\x440\x438\x432\x435\x442 \x432\x441\x435\x43c\r\n"},
        {"charsets.eml", L"\x422\x435\x441\x442\x434\x43e\x441 plain", L"", L"bare@example.test", true, 1704067199,
         L"\x434\x43e\x441\r\n\x422\x435\x441\x442\r\nabc\r\n\x407\x436\x430\x43a\r\nascii only\r\n"},
        {"html-only.eml", L"HTML", L"News", L"news@example.test", true, 1705320000,
         L"<html><style>.a{}</style><script>var x = '<b>';</script><p>Hello&nbsp;<i>there</i></p>\r\n"
         L"<p>second</p></html>\r\n\r\n"},
        {"truncated.eml", L"cut", L"Quoted \"Name\"", L"q@example.test", false, 0,
         L"first part\r\nsecond part is cut he\r\n"},
        // Charsets Windows has code pages for, under their registered names and aliases, and UTF-16.
        {"charsets-windows.eml", L"\x4f60\x597d", L"\x7530\x4e2d", L"tanaka@example.test", true, 1704067200,
         L"\x4e2d\x6587\x90ae\x4ef6\r\n\x7e41\x9ad4\x4e2d\x6587\r\n\x65e5\x672c\x8a9e\x306e\x30e1\x30fc\x30eb\r\n"
         L"\xd55c\xad6d\xc5b4\r\n\x65e5\x672c\r\n\x41f\x440\x438\x432\x435\x442\r\n"
         L"\xe20\xe32\xe29\xe32\xe44\xe17\xe22\r\n\x41a\x438\x440\x438\x43b\x43b\x438\x446\x430\r\n"
         L"\x41f\x44f\x442\x44c\r\n\x7b80\x4f53\r\nUTF-16 \xd83d\xde00\r\nBE\r\n"},
        // RFC 2231: the boundary in two pieces, the charset percent-encoded with a language, the attachment named
        // in encoded pieces and the inline file stay out of the text.
        {"rfc2231.eml", L"2231", L"", L"a@example.test", true, 1704067200, L"\x422\x435\x43a\x441\x442\r\n"},
        // Comments in parameter values (boundary and charset), a quoted "(...)" is not a comment.
        {"param-comments.eml", L"comments", L"", L"a@example.test", true, 1704067200,
         L"\x41f\x440\x438\x432\x435\x442\r\nquoted\r\n"},
        // A Content-Type that is not type/subtype reads as text/plain.
        {"invalid-type.eml", L"invalid", L"", L"a@example.test", true, 1704067200, L"plain words\r\n\r\n"},
        {"invalid-type-parts.eml", L"invalid parts", L"", L"a@example.test", true, 1704067200,
         L"first\r\n<b>second</b>\r\n"},
        // One part of an alternative: the plain one even when it comes last; else the HTML one, found inside a
        // multipart/related; other multiparts still join their text parts.
        {"alternative.eml", L"alternative", L"", L"a@example.test", true, 1704067200, L"Hello there\r\n"},
        {"alternative-html.eml", L"alternative html", L"", L"a@example.test", true, 1704067200,
         L"<p>Only HTML</p>\r\nfooter\r\n"},
        // Missing and unreadable dates (the mail check then takes the server's arrival time).
        {"no-date.eml", L"undated", L"", L"a@example.test", false, 0, L"no date\r\n\r\n"},
        {"bad-date.eml", L"badly dated", L"", L"a@example.test", false, 0, L"bad date\r\n\r\n"},
        // Group syntax: the first mailbox of the group.
        {"group-from.eml", L"group", L"Ann", L"ann@example.com", true, 1704067200, L"from a group\r\n\r\n"},
        // No text part but inline ones with a file name: the first of them (an attachment never), dated in asctime.
        {"inline-named-text.eml", L"named inline text", L"Note Sender", L"note@example.test", true, 1057049557,
         L"the note\r\n"},
        // A single part with a file name is the text; a dashed date with the zone glued to the time.
        {"inline-named-single.eml", L"single named part", L"", L"one@example.test", true, 1057049557,
         L"only a named part\r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string raw = Fixture(c.file);
        MimeSummary s = SummarizeMimeHeaders(raw);
        EXPECT_EQ(s.subject, c.subject);
        EXPECT_EQ(s.from.name, c.fromName);
        EXPECT_EQ(s.from.address, c.fromAddress);
        EXPECT_EQ(s.hasDate, c.hasDate);
        if (c.hasDate) {
            EXPECT_DOUBLE_EQ(s.date, UtcSecondsToLocalDateTime(c.utc));
        }
        EXPECT_EQ(ExtractMessageText(ParseMimeMessage(raw)), c.text);
    }
}

TEST(Mime, MultipartStructure) {
    MimePart m = ParseMimeMessage(Fixture("multipart-nested.eml"));
    ASSERT_TRUE(m.IsMultipart());
    ASSERT_EQ(m.children.size(), 3u);
    EXPECT_EQ(m.children[0].contentType.type, "multipart/alternative");
    ASSERT_EQ(m.children[0].children.size(), 2u);
    EXPECT_TRUE(m.children[0].children[1].IsTextLeaf());
    EXPECT_EQ(m.children[1].filename, "notes.txt");
    EXPECT_FALSE(m.children[1].IsTextLeaf());
    EXPECT_FALSE(m.children[2].IsTextLeaf());
}

TEST(Mime, HostileNestingStops) {
    // Each level opens another multipart; parsing must end with the nesting cut off, not by exhausting the stack.
    std::string raw;
    for (int i = 0; i < 5000; ++i)
        raw += "Content-Type: multipart/mixed; boundary=b" + std::to_string(i) + "\r\n\r\n--b" + std::to_string(i) +
               "\r\n";
    raw += "Content-Type: text/plain\r\n\r\ndeep\r\n";
    MimePart m = ParseMimeMessage(raw);
    EXPECT_EQ(ExtractMessageText(m), L"");
}

TEST(Mime, EncodedWords) {
    struct Case {
        const char* raw;
        std::wstring decoded;
    };
    const Case cases[] = {
        {"=?UTF-8?Q?a_b?= =?UTF-8?Q?c?=", L"a bc"},   // blank between encoded words dropped
        {"=?UTF-8?Q?a?=\r\n\t=?UTF-8?Q?b?=", L"ab"},  // also a folded one
        {"x =?UTF-8?Q?a?= y", L"x a y"},              // blanks next to plain text stay
        {"=?UTF-8?Q?a?= and =?UTF-8?Q?b?=", L"a and b"},
        {"=?utf-8?B?0J/RgNC40LLQtdGC?=", L"\x41f\x440\x438\x432\x435\x442"},
        {"=?windows-1251?Q?=CF=F0=E8?=", L"\x41f\x440\x438"},
        {"=?UTF-8*ru?Q?=D0=AF?=", L"\x42f"},      // RFC 2231 language tag
        {"=?UTF-8?X?abc?=", L"=?UTF-8?X?abc?="},  // unknown encoding stays as it is
        {"=?UTF-8?Q?with space?=", L"=?UTF-8?Q?with space?="},
        {"=?UTF-8?Q?unterminated", L"=?UTF-8?Q?unterminated"},
        {"raw \xD0\xAF utf8", L"raw \x42f utf8"},  // unlabelled 8-bit UTF-8
        {"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(DecodeHeaderText(c.raw), c.decoded);
    }
}

TEST(Mime, Charsets) {
    struct Case {
        const char* charset;
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {"UTF-8", "\xD0\x9F", L"\x41f"},
        {"\"windows-1251\"", "\xCF", L"\x41f"},
        {"cp1251", "\xCF", L"\x41f"},
        {"KOI8-R", "\xF0", L"\x41f"},
        {"koi8-u", "\xA7", L"\x457"},
        {"ISO-8859-5", "\xBF", L"\x41f"},
        {"iso-8859-1", "\xE9", L"\xE9"},
        {"latin1", "\xE9", L"\xE9"},
        {"ISO-8859-15", "\xA4", L"\x20AC"},
        {"IBM866", "\x8F", L"\x41f"},
        {"us-ascii", "plain", L"plain"},
        {"cyrillic", "\xBF", L"\x41f"},
        {"iso_8859-5:1988", "\xBF", L"\x41f"},
        {"x-mac-cyrillic", "\x8F", L"\x41f"},
        {"windows-1252", "\x80", L"\x20AC"},
        {"cp1250", "\x8A", L"\x160"},
        {"windows-874", "\xA1", L"\xE01"},
        {"tis-620", "\xA1", L"\xE01"},
        {"iso-8859-11", "\xA1", L"\xE01"},
        {"gb2312", "\xC4\xE3", L"\x4f60"},
        {"GBK", "\xC4\xE3", L"\x4f60"},
        {"big5", "\xA4\xA4", L"\x4e2d"},
        {"Shift_JIS", "\x93\xFA", L"\x65e5"},
        {"euc-kr", "\xC7\xD1", L"\xD55C"},
        {"ks_c_5601-1987", "\xC7\xD1", L"\xD55C"},
        {"koi8", "\xF0", L"\x41f"},
        {"cp850", "\x82", L"\xE9"},
        {"utf-16le", std::string("A\0", 2), L"A"},
        {"utf-16be", std::string("\0A", 2), L"A"},
        {"utf-16",
         std::string("\xFF\xFE"
                     "A\0",
                     4),
         L"A"},  // the byte-order mark wins over the default order
        {"utf-16", std::string("\xD8\x3D\xDE\x00\xDC\x00", 6), L"\xD83D\xDE00\xFFFD"},  // pair, lone low half
        {"utf-32", std::string("\0\x01\xF6\0\0\x11\0\0", 8), L"\xD83D\xDE00\xFFFD"},    // past U+10FFFF
        {"utf-16le", std::string("A\0B", 3), L"A"},                                     // an odd tail byte is dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.charset);
        EXPECT_EQ(DecodeCharset(c.bytes, c.charset), c.text);
    }
    // Unknown names and 8-bit text labelled US-ASCII fall back to the system's ANSI code page.
    wchar_t acp[4] = {};
    MultiByteToWideChar(CP_ACP, 0, "\xE9", 1, acp, 4);
    EXPECT_EQ(DecodeCharset("\xE9", "x-unknown"), std::wstring(acp));
    EXPECT_EQ(DecodeCharset("\xE9", "us-ascii"), std::wstring(acp));
}

TEST(Mime, ContentTypeParameters) {
    struct Case {
        const char* raw;
        std::string type;
        std::vector<std::pair<std::string, std::string>> params;
    };
    const Case cases[] = {
        {"text/plain; charset=koi8-r (Russian)", "text/plain", {{"charset", "koi8-r"}}},
        {"multipart/mixed; boundary=cb (a comment)", "multipart/mixed", {{"boundary", "cb"}}},
        {"text/plain (a (nested) comment) ; charset=\"a (b)\"", "text/plain", {{"charset", "a (b)"}}},
        {"multipart/mixed; boundary*0=\"ab\"; boundary*1=cd", "multipart/mixed", {{"boundary", "abcd"}}},
        {"text/plain; name*=utf-8'ru'%D0%AF.txt", "text/plain", {{"name", "\xD0\xAF.txt"}}},
        // Pieces out of order, a plain and an extended value of one name (the extended one wins), a piece in
        // another charset decoded to UTF-8, a broken percent sign kept.
        {"a/b; name*1*=%E9; name=\"plain\"; name*0*=iso-8859-1''caf; x*=''50%; y*=windows-1251''%CF",
         "a/b",
         {{"name", "caf\xC3\xA9"}, {"x", "50%"}, {"y", "\xD0\x9F"}}},
        {"a/b; p*x=1; q*1000=2", "a/b", {{"p*x", "1"}, {"q*1000", "2"}}},  // not RFC 2231: kept as written
        {"text; charset=us-ascii", "text", {{"charset", "us-ascii"}}},
        {"text/plain; (unclosed comment; charset=x", "text/plain", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        MimeContentType ct = ParseContentType(c.raw);
        EXPECT_EQ(ct.type, c.type);
        EXPECT_EQ(ct.params, c.params);
    }
}

TEST(Mime, TransferEncodings) {
    EXPECT_EQ(DecodeQuotedPrintable("a=3Db=\r\nc= \r\nd=zz=4"), "a=bcd=zz=4");
    EXPECT_EQ(DecodeQuotedPrintable("end="), "end");
    EXPECT_EQ(DecodeBase64("SGVs\r\nbG8=\r\n"), "Hello");
    EXPECT_EQ(DecodeBase64("SGVsbG"), "Hell");  // a truncated group keeps its whole bytes
    EXPECT_EQ(DecodeBase64("!!SG@Vs#bG8="), "Hello");
}

TEST(Mime, Addresses) {
    struct Case {
        const char* raw;
        std::wstring name;
        std::wstring address;
    };
    const Case cases[] = {
        {"John Smith <john@example.test>", L"John Smith", L"john@example.test"},
        {"\"Smith, John\" <john@example.test>, other@example.test", L"Smith, John", L"john@example.test"},
        {"john@example.test (John)", L"John", L"john@example.test"},
        {"john@example.test", L"", L"john@example.test"},
        {"=?UTF-8?B?0K8=?= <ya@example.test>", L"\x42f", L"ya@example.test"},
        {"  <x@example.test>  ", L"", L"x@example.test"},
        {"Broken <unclosed@example.test", L"Broken", L"unclosed@example.test"},
        {"Sales Team: Ann <ann@example.com>, bob@example.com;", L"Ann", L"ann@example.com"},
        {"\"Sales: Team\": bob@example.com (Bob), ann@example.com;", L"Bob", L"bob@example.com"},
        {"Team (the team): , , carol@example.com;", L"", L"carol@example.com"},
        {"undisclosed-recipients:;", L"", L""},
        {"\"Colon: in quotes\" <q@example.test>", L"Colon: in quotes", L"q@example.test"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        MimeAddress a = ParseMimeAddress(c.raw);
        EXPECT_EQ(a.name, c.name);
        EXPECT_EQ(a.address, c.address);
    }
}

// BODYSTRUCTURE as servers send it, read from a FETCH response line, and malformed or hostile ones.
TEST(ImapFetchItems, BodyStructure) {
    auto structure = [](const std::string& bodystructure, MimePart* part) {
        ImapResponse r;
        NetStatus st = ParseImapResponse({"* 1 FETCH (UID 1 BODYSTRUCTURE " + bodystructure + ")"}, {}, 512, &r);
        EXPECT_TRUE(st.ok()) << st.detail;
        return st.ok() && r.data.size() == 3 && r.data[2].items.size() == 4 &&
               ParseBodyStructure(r.data[2].items[3], part);
    };
    MimePart m;
    ASSERT_TRUE(structure(
        "((\"TEXT\" \"PLAIN\" (\"CHARSET\" \"koi8-r\") NIL NIL \"QUOTED-PRINTABLE\" 12 1 NIL NIL NIL NIL)"
        "((\"TEXT\" \"HTML\" (\"charset*\" \"utf-8''utf-8\") NIL NIL \"BASE64\" 400 6)"
        "(\"IMAGE\" \"PNG\" (\"NAME\" \"a.png\") \"<id>\" NIL \"BASE64\" 900) \"RELATED\" (\"BOUNDARY\" \"r\"))"
        "(\"APPLICATION\" \"PDF\" NIL NIL NIL \"BASE64\" 300000 NIL (\"ATTACHMENT\" (\"FILENAME*\" "
        "\"utf-8''%D0%AF.pdf\")) NIL)"
        "(\"MESSAGE\" \"RFC822\" NIL NIL NIL \"7BIT\" 500 (NIL NIL NIL NIL NIL NIL NIL NIL NIL NIL) "
        "(\"TEXT\" \"PLAIN\" NIL NIL NIL \"7BIT\" 10 1) 20 NIL (\"inline\" NIL) NIL)"
        " \"MIXED\" (\"BOUNDARY\" \"m\") NIL NIL)",
        &m));
    EXPECT_EQ(m.contentType.type, "multipart/mixed");
    EXPECT_EQ(m.contentType.Param("boundary"), "m");
    ASSERT_EQ(m.children.size(), 4u);
    EXPECT_EQ(m.children[0].section, "1");
    EXPECT_EQ(m.children[0].contentType.Param("charset"), "koi8-r");
    EXPECT_EQ(m.children[0].transferEncoding, "quoted-printable");
    EXPECT_EQ(m.children[0].size, 12u);
    ASSERT_EQ(m.children[1].children.size(), 2u);
    EXPECT_EQ(m.children[1].children[0].section, "2.1");
    EXPECT_EQ(m.children[1].children[0].contentType.Param("charset"), "utf-8");
    EXPECT_EQ(m.children[1].children[1].filename, "a.png");
    EXPECT_EQ(m.children[2].disposition, "attachment");
    EXPECT_EQ(m.children[2].filename, "\xD0\xAF.pdf");
    EXPECT_EQ(m.children[3].section, "4");
    EXPECT_EQ(m.children[3].disposition, "inline");
    std::vector<std::string> sections;
    for (const MimePart* p : SelectTextParts(m))
        sections.push_back(p->section);
    EXPECT_EQ(sections, (std::vector<std::string>{"1", "2.1"}));

    // A single-part letter is part 1; an empty type reads as text/plain.
    ASSERT_TRUE(structure("(NIL \"PLAIN\" NIL NIL NIL \"8BIT\" 5 1)", &m));
    EXPECT_EQ(m.section, "1");
    EXPECT_EQ(m.contentType.type, "text/plain");

    std::string deep = "(\"TEXT\" \"PLAIN\" NIL NIL NIL \"7BIT\" 1 1)";
    for (int i = 0; i < 40; ++i)
        deep = "(" + deep + " \"MIXED\")";
    for (const std::string& bad : {std::string("NIL"), std::string("(\"TEXT\" \"PLAIN\" NIL)"), std::string("()"),
                                   std::string("((\"TEXT\") \"MIXED\")"), deep}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(structure(bad, &m));
        EXPECT_TRUE(m.children.empty());
    }
}

TEST(ImapFetchItems, InternalDate) {
    int64_t utc = 0;
    ASSERT_TRUE(ParseInternalDate("01-Jan-2024 10:00:00 +0000", &utc));
    EXPECT_EQ(utc, 1704103200);
    ASSERT_TRUE(ParseInternalDate(" 1-Jan-2024 12:00:00 +0200", &utc));
    EXPECT_EQ(utc, 1704103200);
    ASSERT_TRUE(ParseInternalDate("31-Dec-2023 21:00:00 -1300", &utc));
    EXPECT_EQ(utc, 1704103200);
    EXPECT_FALSE(ParseInternalDate("", &utc));
    EXPECT_FALSE(ParseInternalDate("garbage", &utc));
    EXPECT_FALSE(ParseInternalDate("32-Jan-2024 10:00:00 +0000", &utc));
}

TEST(MailDate, Table) {
    struct Case {
        const char* text;
        bool ok;
        int64_t utc;
    };
    const Case cases[] = {
        {"Tue, 1 Jul 2003 10:52:37 +0200", true, 1057049557},
        {"1 Jul 2003 10:52 +0200", true, 1057049520},
        {"Tue,  1 Jul 2003 10:52:37 +0200 (CEST)", true, 1057049557},
        {"Tue, 01 Jul 2003 08:52:37 GMT", true, 1057049557},
        {"Jul 1 2003 10:52:37 +0200", true, 1057049557},
        {"tue, 1 jul 2003 08:52:37 z", true, 1057049557},
        {"Tue, 1 Jul 2003 04:52:37 EDT", true, 1057049557},
        {"Fri, 5 Mar 99 08:00 EST", true, 920638800},
        {"5 Mar 049 08:00:00 GMT", true, -657216000},
        {"Thu, 29 Feb 2024 00:00:00 -0000", true, 1709164800},
        {"Tue, 1 Jul 2003 08:52:37", true, 1057049557},        // no zone: UTC
        {"Tue, 1 Jul 2003 08:52:37 +XYZW", true, 1057049557},  // garbled zone: UTC
        // Obsolete forms: asctime (with and without a zone), dashed dates, zones glued to the time, blanks
        // around the colons.
        {"Tue Jul  1 08:52:37 2003", true, 1057049557},
        {"Tue Jul 1 04:52:37 EDT 2003", true, 1057049557},
        {"Jul 1 10:52:37 2003 +0200", true, 1057049557},
        {"Tue, 01-Jul-2003 10:52:37 +0200", true, 1057049557},
        {"01-Jul-03 08:52:37", true, 1057049557},
        {"Tue, 1 Jul 2003 10:52:37+0200", true, 1057049557},
        {"Tue, 1 Jul 2003 03:52:37-0500", true, 1057049557},
        {"Tue, 1 Jul 2003 08:52:37GMT", true, 1057049557},
        {"Tue, 1 Jul 2003 10:52+0200", true, 1057049520},
        {"Tue, 1 Jul 2003 10 : 52 : 37 +0200", true, 1057049557},
        {"Tue Jul  1 10:52:37", false, 0},
        {"Tue Jul 32 10:52:37 2003", false, 0},
        {"Tue Jul  1 25:52:37 2003", false, 0},
        {"01-Foo-2003 10:00:00 +0000", false, 0},
        {"1-Jul-2003-4 10:00:00 +0000", false, 0},
        {"Fri, 30 Feb 2024 00:00:00 +0000", false, 0},
        {"Mon, 1 Jan 2024 24:00:00 +0000", false, 0},
        {"Mon, 1 Jan 2024 10:61:00 +0000", false, 0},
        {"Mon, 1 Foo 2024 10:00:00 +0000", false, 0},
        {"Mon, 1 Jan 2024", false, 0},
        {"someday soon", false, 0},
        {"", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int64_t utc = 0;
        ASSERT_EQ(ParseMailDate(c.text, &utc), c.ok);
        if (c.ok) {
            EXPECT_EQ(utc, c.utc);
        }
    }
}

TEST(MailDate, LocalTimeFollowsTheZoneRules) {
    // Moscow: UTC+3 all year.
    TIME_ZONE_INFORMATION msk{};
    msk.Bias = -180;
    EXPECT_DOUBLE_EQ(UtcSecondsToLocalDateTime(1704243600 - 4 * 3600, &msk), 45294.0);  // 2024-01-02 21:00Z
    // Central Europe: UTC+1, summer time from the last Sunday of March to the last Sunday of October.
    TIME_ZONE_INFORMATION cet{};
    cet.Bias = -60;
    cet.StandardDate = {0, 10, 0, 5, 3, 0, 0, 0};
    cet.DaylightDate = {0, 3, 0, 5, 2, 0, 0, 0};
    cet.DaylightBias = -60;
    EXPECT_NEAR(UtcSecondsToLocalDateTime(1719835200, &cet), 45474.0 + 14.0 / 24, 1e-9);  // 2024-07-01 12:00Z
    EXPECT_NEAR(UtcSecondsToLocalDateTime(1704110400, &cet), 45292.0 + 13.0 / 24, 1e-9);  // 2024-01-01 12:00Z
    // Without a zone the system's rules apply, the same as Windows' own conversion.
    SYSTEMTIME st{2024, 1, 1, 1, 12, 0, 0, 0}, local;
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &st, &local));
    double expected = 45292.0 + (local.wDay - 1) + (local.wHour * 60 + local.wMinute) / 1440.0;
    EXPECT_NEAR(UtcSecondsToLocalDateTime(1704110400), expected, 1e-9);
    EXPECT_DOUBLE_EQ(UtcSecondsToDateTime(0), 25569.0);
}

}  // namespace
