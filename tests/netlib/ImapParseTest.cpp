// The IMAP response parser over recorded transcripts, fed whole and split at every byte boundary, and over
// hostile input (oversized lines and literals, garbage, deep nesting).
#include <gtest/gtest.h>

#include "netlib/imap_client.h"
#include "netlib/imap_parse.h"

using namespace netlib;

namespace {

// A session as Dovecot sends it, with literals in FETCH responses, a literal that holds a CRLF and "{" and
// response codes with brackets.
const std::string kLiteral = "Subject: {5}\r\nFrom: \"x\" <x@y>\r\n\r\n";
const std::string kTranscript =
    "* OK [CAPABILITY IMAP4rev1 LITERAL+ AUTH=PLAIN] Dovecot ready.\r\n"
    "a1 OK [CAPABILITY IMAP4rev1 IDLE] Logged in\r\n"
    "* FLAGS (\\Answered \\Flagged \\Deleted \\Seen \\Draft $Important)\r\n"
    "* OK [PERMANENTFLAGS (\\Answered \\Flagged \\Deleted \\Seen \\Draft $Important \\*)] Flags permitted.\r\n"
    "* 3 EXISTS\r\n"
    "* OK [UIDVALIDITY 1700000001] UIDs valid\r\n"
    "a2 OK [READ-WRITE] Select completed.\r\n"
    "* SEARCH 7 5 9\r\n"
    "a3 OK Search completed.\r\n"
    "* 2 FETCH (UID 7 BODY[HEADER.FIELDS (DATE FROM SUBJECT)] {" +
    std::to_string(kLiteral.size()) + "}\r\n" + kLiteral +
    ")\r\n"
    "* 1 FETCH (UID 5 FLAGS (\\Seen) BODY[HEADER.FIELDS (DATE FROM SUBJECT)] \"\" X-EXTRA NIL)\r\n"
    "* 3 FETCH (BODY[]<0> {0}\r\n UID 9)\r\n"
    "a4 OK Fetch completed.\r\n"
    "+ go ahead\r\n"
    "* BYE Logging out\r\n"
    "a5 OK Logout completed.\r\n";

std::vector<ImapResponse> ParseSplit(const std::string& text, size_t cut) {
    ImapResponseParser p;
    std::vector<ImapResponse> out;
    NetStatus a = p.Feed(text.data(), cut);
    NetStatus b = p.Feed(text.data() + cut, text.size() - cut);
    EXPECT_TRUE(a.ok() && b.ok()) << "cut " << cut << ": " << a.detail << b.detail;
    ImapResponse r;
    while (p.Next(&r))
        out.push_back(r);
    return out;
}

void CheckTranscript(const std::vector<ImapResponse>& rs, size_t cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    ASSERT_EQ(rs.size(), 16u);
    EXPECT_EQ(rs[0].status, "OK");
    EXPECT_EQ(rs[0].code, "CAPABILITY IMAP4rev1 LITERAL+ AUTH=PLAIN");
    EXPECT_EQ(rs[1].kind, ImapResponse::Kind::Tagged);
    EXPECT_EQ(rs[1].tag, "a1");
    EXPECT_EQ(rs[3].code, "PERMANENTFLAGS (\\Answered \\Flagged \\Deleted \\Seen \\Draft $Important \\*)");
    EXPECT_EQ(rs[5].code, "UIDVALIDITY 1700000001");
    ASSERT_EQ(rs[7].data.size(), 4u);
    EXPECT_TRUE(rs[7].data[0].IsAtom("SEARCH"));
    EXPECT_EQ(rs[7].data[2].text, "5");

    const ImapResponse& f1 = rs[9];
    ASSERT_EQ(f1.data.size(), 3u);
    EXPECT_TRUE(f1.data[1].IsAtom("FETCH"));
    ASSERT_EQ(f1.data[2].kind, ImapValue::Kind::List);
    ASSERT_EQ(f1.data[2].items.size(), 4u);
    EXPECT_EQ(f1.data[2].items[2].text, "BODY[HEADER.FIELDS (DATE FROM SUBJECT)]");
    EXPECT_EQ(f1.data[2].items[3].kind, ImapValue::Kind::String);
    EXPECT_EQ(f1.data[2].items[3].text, kLiteral);

    const ImapResponse& f2 = rs[10];
    const std::vector<ImapValue>& items = f2.data[2].items;
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[3].kind, ImapValue::Kind::List);
    EXPECT_EQ(items[3].items[0].text, "\\Seen");
    EXPECT_EQ(items[5].kind, ImapValue::Kind::String);
    EXPECT_EQ(items[5].text, "");
    EXPECT_EQ(items[7].kind, ImapValue::Kind::Nil);

    const ImapResponse& f3 = rs[11];
    const ImapValue* uid = ImapClient::FindItem(f3.data[2].items, "UID");
    ASSERT_NE(uid, nullptr);
    EXPECT_EQ(uid->text, "9");
    EXPECT_EQ(f3.data[2].items[0].text, "BODY[]<0>");
    EXPECT_EQ(f3.data[2].items[1].kind, ImapValue::Kind::String);

    EXPECT_EQ(rs[13].kind, ImapResponse::Kind::Continuation);
    EXPECT_EQ(rs[13].text, "go ahead");
    EXPECT_EQ(rs[14].status, "BYE");
    EXPECT_EQ(rs[15].tag, "a5");
}

TEST(ImapParse, TranscriptSplitAtEveryByte) {
    for (size_t cut = 0; cut <= kTranscript.size(); ++cut)
        CheckTranscript(ParseSplit(kTranscript, cut), cut);
}

TEST(ImapParse, TranscriptFedByteByByte) {
    ImapResponseParser p;
    for (char c : kTranscript)
        ASSERT_TRUE(p.Feed(&c, 1).ok());
    std::vector<ImapResponse> rs;
    ImapResponse r;
    while (p.Next(&r))
        rs.push_back(r);
    CheckTranscript(rs, 1);
}

TEST(ImapParse, HostileInputFailsCleanly) {
    struct Case {
        const char* name;
        std::string input;
        NetCause cause;
    };
    ImapLimits small;
    small.maxLine = 100;
    small.maxLiteral = 1000;
    small.maxResponse = 3000;
    small.maxDepth = 4;
    small.maxLiterals = 3;
    const Case cases[] = {
        {"huge literal", "* 1 FETCH (BODY[] {99999999999999999999999}\r\n", NetCause::TooLarge},
        {"literal over cap", "* 1 FETCH (BODY[] {1001}\r\n", NetCause::TooLarge},
        {"endless line", std::string(200, 'x'), NetCause::TooLarge},
        {"response over cap",
         "* 1 FETCH (A {900}\r\n" + std::string(900, 'a') + " B {900}\r\n" + std::string(900, 'b') + " C {900}\r\n" +
             std::string(900, 'c') + " D {900}\r\n",
         NetCause::TooLarge},
        {"many literals", "* 1 X ({0}\r\n {0}\r\n {0}\r\n {0}\r\n)\r\n", NetCause::TooLarge},
        {"garbage", "HTTP/1.1 200 OK\r\n", NetCause::Protocol},
        {"empty line", "\r\n", NetCause::Protocol},
        {"tag without status", "a1 HELLO\r\n", NetCause::Protocol},
        {"unbalanced list", "* 1 FETCH (UID 5\r\n", NetCause::Protocol},
        {"stray paren", "* 1 FETCH )\r\n", NetCause::Protocol},
        {"unterminated quote", "* 1 FETCH (X \"abc)\r\n", NetCause::Protocol},
        {"deep nesting", "* X ((((((((1))))))))\r\n", NetCause::Protocol},
        {"control byte", std::string("* 1 FETCH (A\x01 B)\r\n"), NetCause::Protocol},
        {"open code", "* OK [UIDVALIDITY 5 text\r\n", NetCause::Protocol},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImapResponseParser p(small);
        NetStatus st = p.Feed(c.input.data(), c.input.size());
        ASSERT_FALSE(st.ok());
        EXPECT_EQ(st.cause, c.cause) << st.detail;
        // The error is final.
        EXPECT_FALSE(p.Feed("* OK\r\n", 6).ok());
    }
}

// Kept malformed data responses: what parsed before the fault, the lists around it marked damaged, and the
// responses after it read as usual; framing faults stay final.
TEST(ImapParse, MalformedDataKeptWhenAsked) {
    ImapLimits small;
    small.maxDepth = 4;
    const std::string input =
        "* 1 FETCH (UID 7 BODYSTRUCTURE ((((((1))))))))\r\n"
        "* 2 FETCH (UID 8 X {3}\r\nabc (\"open)\r\n"
        "* 3 FETCH (UID 9 BODYSTRUCTURE (\"TEXT\" \"PLAIN\"))\r\n"
        "a1 OK done\r\n";
    ImapResponseParser p(small);
    p.KeepMalformedData(true);
    ASSERT_TRUE(p.Feed(input.data(), input.size()).ok());
    ImapResponse r;
    ASSERT_TRUE(p.Next(&r));
    EXPECT_TRUE(r.malformed);
    ASSERT_EQ(r.data.size(), 3u);
    ASSERT_EQ(r.data[2].kind, ImapValue::Kind::List);
    EXPECT_TRUE(r.data[2].damaged);
    ASSERT_EQ(r.data[2].items.size(), 4u);
    EXPECT_EQ(r.data[2].items[1].text, "7");
    EXPECT_TRUE(r.data[2].items[3].damaged);
    ASSERT_TRUE(p.Next(&r));
    EXPECT_TRUE(r.malformed);
    ASSERT_EQ(r.data.size(), 3u);
    ASSERT_EQ(r.data[2].items.size(), 5u);  // UID 8 X "abc" and the list cut short
    EXPECT_EQ(r.data[2].items[3].text, "abc");
    EXPECT_TRUE(r.data[2].items[4].damaged);
    ASSERT_TRUE(p.Next(&r));
    EXPECT_FALSE(r.malformed);
    EXPECT_FALSE(r.data[2].damaged);
    ASSERT_EQ(r.data[2].items.size(), 4u);
    ASSERT_TRUE(p.Next(&r));
    EXPECT_EQ(r.status, "OK");

    // A literal beyond the cap cannot be skipped: still final.
    const std::string huge = "* 1 FETCH (BODYSTRUCTURE {4294967296}\r\n";
    ImapResponseParser q;
    q.KeepMalformedData(true);
    EXPECT_EQ(q.Feed(huge.data(), huge.size()).cause, NetCause::TooLarge);
    EXPECT_FALSE(q.Feed("* OK\r\n", 6).ok());
}

TEST(ImapParse, StatusTextIsNotScannedForLiterals) {
    // A status response ending in "{5}" is text, not a literal: the next line is a new response.
    const std::string text = "a1 NO odd text {5}\r\n* OK next\r\n";
    ImapResponseParser p;
    ASSERT_TRUE(p.Feed(text.data(), text.size()).ok());
    ImapResponse r;
    ASSERT_TRUE(p.Next(&r));
    EXPECT_EQ(r.text, "odd text {5}");
    ASSERT_TRUE(p.Next(&r));
    EXPECT_EQ(r.text, "next");
}

TEST(ImapParse, ShortLiteralWaitsForMoreInput) {
    // A literal announced larger than what arrived keeps the parser waiting, never completes a response.
    const std::string text = "* 1 FETCH (UID 1 BODY[] {100}\r\nonly ten b";
    ImapResponseParser p;
    ASSERT_TRUE(p.Feed(text.data(), text.size()).ok());
    EXPECT_FALSE(p.HasResponse());
}

// A fetch of many scattered UIDs is cut into several commands so that no command line passes a server's limit;
// runs of UIDs stay ranges, and a contiguous set of any size stays one command.
TEST(ImapClientHelpers, SplitUidSet) {
    using Sets = std::vector<std::string>;
    struct Case {
        const char* name;
        std::vector<uint32_t> uids;
        size_t maxLength;
        Sets sets;
    };
    std::vector<uint32_t> contiguous;
    for (uint32_t uid = 1; uid <= 500; ++uid)
        contiguous.push_back(uid);
    const Case cases[] = {
        {"none", {}, 100, {}},
        {"sorted, repeats dropped", {5, 1, 2, 3, 9, 10, 7, 3}, ImapClient::kMaxUidSetLength, {"1:3,5,7,9:10"}},
        {"exactly full", {1, 3, 5, 7, 9, 11}, 7, {"1,3,5,7", "9,11"}},
        {"one short", {1, 3, 5, 7, 9, 11}, 6, {"1,3,5", "7,9,11"}},
        {"cut between ranges", {1, 2, 3, 10, 11, 12, 20}, 5, {"1:3", "10:12", "20"}},
        {"a range is never cut", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 2, {"1:12"}},
        {"top of the UID range", {4294967295u, 4294967294u, 1}, 100, {"1,4294967294:4294967295"}},
        {"500 in a row", contiguous, ImapClient::kMaxUidSetLength, {"1:500"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImapClient::SplitUidSet(c.uids, c.maxLength), c.sets) << c.name;

    // Thousands of scattered UIDs (every other one, some runs between): every piece fits, and the pieces joined
    // give the whole set, in order, nothing lost or repeated.
    std::vector<uint32_t> scattered;
    for (uint32_t uid = 3; uid < 30000; uid += 2)
        scattered.push_back(uid % 1000 == 1 ? uid - 1 : uid);
    for (uint32_t uid = 40000; uid < 40100; ++uid)
        scattered.push_back(uid);
    const Sets sets = ImapClient::SplitUidSet(scattered);
    ASSERT_GT(sets.size(), 5u);
    std::string joined;
    for (const std::string& set : sets) {
        EXPECT_LE(set.size(), ImapClient::kMaxUidSetLength);
        EXPECT_FALSE(set.empty() || set.front() == ',' || set.back() == ',') << set;
        joined += (joined.empty() ? "" : ",") + set;
    }
    EXPECT_EQ(joined, ImapClient::FormatUidSet(scattered));
    EXPECT_NE(joined.find(",40000:40099"), std::string::npos);
}

TEST(ImapClientHelpers, UidSetsAndQuoting) {
    EXPECT_EQ(ImapClient::FormatUidSet({5, 1, 2, 3, 9, 10, 7, 3}), "1:3,5,7,9:10");
    EXPECT_EQ(ImapClient::FormatUidSet({42}), "42");
    EXPECT_EQ(ImapClient::Quote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_FALSE(ImapClient::NeedsLiteral("user@example.test"));
    EXPECT_TRUE(ImapClient::NeedsLiteral("\xD0\xBF"));
    EXPECT_TRUE(ImapClient::NeedsLiteral("a\r\nb"));
}

}  // namespace
