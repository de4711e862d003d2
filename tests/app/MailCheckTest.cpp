// The mail check of one account: the text rules (StripHtml, the letter body), the new-letter rule, the mends
// (letters read with BODY.PEEK, quoted and literal logins, flat cost, future letters announced once) and the
// faults a server can cause, against scripted TLS servers on loopback.
#include <windows.h>

#include <gtest/gtest.h>

#include <ctime>
#include <thread>

#include "TestFiles.h"
#include "TestSupport.h"
#include "app/CheckFailure.h"
#include "app/MailCheck.h"
#include "base/Text.h"
#include "netlib/imap_client.h"
#include "netlib/mime_date.h"
#include "netlib/mime_message.h"

using netlib::ImapClient;
using netlib::NetCause;
using netlib::NetCode;
using nettest::FakeImap;
using nettest::FakeMessage;
using nettest::ScriptConnection;
using nettest::ScriptServer;

namespace {

std::string Letter(const std::string& date,
                   const std::string& subject,
                   const std::string& body = "Hello",
                   const std::string& extraHeaders = "") {
    return "Date: " + date + "\r\nFrom: \"Ann Sender\" <ann@example.test>\r\nSubject: " + subject + "\r\n" +
           extraHeaders + "\r\n" + body + "\r\n";
}

TDateTime Local(int64_t utc) {
    return netlib::UtcSecondsToLocalDateTime(utc);
}

// 2024-01-01 10:00, 09:00 and 11:00 UTC.
constexpr int64_t k0900 = 1704099600, k1000 = 1704103200, k1100 = 1704106800;

class MailCheckServer : public ::testing::Test {
  protected:
    void SetUp() override {
        if (nettest::FixtureDir().empty())
            GTEST_SKIP() << "no test PKI (run through ctest)";
        ASSERT_TRUE(nettest::TrustTestCa());
        account_.Login = L"user";
        account_.Domain = L"example.test";
        account_.Parol = L"secret";
        account_.HostIMAP = L"localhost";
        account_.UrlVhod = L"https://mail.example.test";
        options_.StartDelayMs = 0;
        options_.Timeouts.connectMs = 10000;  // an upper bound only: a loaded machine may resolve "localhost" slowly
        options_.Timeouts.ioMs = 2000;
    }

    std::unique_ptr<ScriptServer> Serve(const FakeImap& fake, bool rogue = false) {
        auto server =
            std::make_unique<ScriptServer>([fake](ScriptConnection& c) { fake.Serve(c); },
                                           std::make_unique<netlib::TlsServerOptions>(nettest::ServerTls(rogue)));
        account_.PortIMAP = server->Port();
        return server;
    }

    TMailCheckResult Check() { return CheckAccountInbox(account_, options_, std::make_shared<netlib::NetAbort>()); }

    TMailAccountCopy account_;
    TMailCheckOptions options_;
};

// What the tray hint tells of a failed check, from the status the check ended with.
TEST(CheckFailure, GradedFromTheStatus) {
    struct Case {
        NetCode code;
        NetCause cause;
        TCheckFailure failure;
    };
    const Case cases[] = {
        {NetCode::Ok, NetCause::None, TCheckFailure::None},
        {NetCode::Cancelled, NetCause::None, TCheckFailure::None},
        {NetCode::Connection, NetCause::Certificate, TCheckFailure::Certificate},
        {NetCode::Auth, NetCause::Server, TCheckFailure::Login},
        {NetCode::Connection, NetCause::Timeout, TCheckFailure::NoAnswer},
        {NetCode::Connection, NetCause::Connect, TCheckFailure::Refused},
        {NetCode::Connection, NetCause::Resolve, TCheckFailure::Refused},
        {NetCode::Connection, NetCause::Protocol, TCheckFailure::Protocol},
        {NetCode::Connection, NetCause::TooLarge, TCheckFailure::Protocol},
        {NetCode::Connection, NetCause::Closed, TCheckFailure::Protocol},
        {NetCode::Connection, NetCause::Server, TCheckFailure::Protocol},
        {NetCode::Connection, NetCause::Tls, TCheckFailure::Protocol},
        {NetCode::Mailbox, NetCause::Server, TCheckFailure::Protocol},
        {NetCode::Refused, NetCause::Server, TCheckFailure::Protocol},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckFailureOf(netlib::NetStatus::Fail(c.code, c.cause, "x")), c.failure)
            << netlib::NetCodeName(c.code) << " " << netlib::NetCauseName(c.cause);
}

TEST(MailCheckText, LoginAndPort) {
    EXPECT_EQ(LoginAtDomain(L"user", L"example.test"), L"user@example.test");
    struct Case {
        int32_t port;
        uint16_t used;
    };
    const Case cases[] = {{993, 993}, {143, 993}, {65536 + 143, 993}, {65536 + 993, 993}, {10993, 10993}, {-1, 65535}};
    for (const Case& c : cases)
        EXPECT_EQ(ImapPortFor(c.port), c.used) << c.port;
}

TEST(MailCheckText, StripHtml) {
    struct Case {
        std::wstring in;
        std::wstring out;
    };
    const Case cases[] = {
        {L"a<b>bold</b>\r\n\r\nc", L"abold\n\nc"},
        {L"<style>p{}</style>text", L"text"},
        {L"x<script>if (a<b) f();</script>y", L"xy"},
        {L"<sty<style>x</style>le>y</style>z", L"z"},  // a cut that forms a new block
        {L"keep<style>unclosed", L"keep"},
        {L"keep<script>unclosed", L"keep"},
        {L"<STYLE>shown</STYLE>", L"shown"},  // the block names are case-sensitive
        {L"x > y", L"x  y"},
        {L"a<unclosed tag", L"a"},
        {std::wstring(L"a\0b\rc", 5), L"abc"},
        {L"<script>a</script>b<style>c</style>d<script>e</script>", L"bd"},
        {L"<a <script>x</script>y", L"y"},                    // the ">" of "</script>" still ends the open tag
        {L"<scr<script></script>ipt>x</script>y", L"iptxy"},  // the kept ">" keeps "<scr" and "ipt" apart
        {L"<style>a</style", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StripHtml(c.in), c.out) << std::string(c.in.begin(), c.in.end());
}

TEST(MailCheckText, LetterBody) {
    EXPECT_EQ(LetterBody(L"a<b>bold</b>\r\n\r\nc"), L"abold c");
    EXPECT_EQ(LetterBody(L"a    b"), L"a  b");  // one pass: four blanks become two
    EXPECT_EQ(LetterBody(L"a   b"), L"a  b");
    EXPECT_EQ(LetterBody(L"  \r\n padded \r\n"), L"padded");
    EXPECT_EQ(LetterBody(std::wstring(1000, L'x')), std::wstring(249, L'x'));
    // The cut comes before the trim: a blank at position 249 goes.
    EXPECT_EQ(LetterBody(std::wstring(248, L'x') + L" y"), std::wstring(248, L'x'));
    // A character outside the BMP is never cut in half.
    EXPECT_EQ(LetterBody(std::wstring(248, L'x') + L"\xD83D\xDE00"), std::wstring(248, L'x'));
    EXPECT_EQ(TrimText(L"\t x \x01"), L"x");
}

// The letter text of fixture letters as a popup shows it.
TEST(MailCheckText, FixtureBodies) {
    struct Case {
        const char* file;
        std::wstring body;
    };
    const std::wstring hello = L"\x41f\x440\x438\x432\x435\x442 \x432\x441\x435\x43c";
    const std::wstring pangram =
        L"\x421\x44a\x435\x448\x44c \x436\x435 \x435\x449\x451 \x44d\x442\x438\x445 \x43c\x44f\x433\x43a\x438\x445 "
        L"\x444\x440\x430\x43d\x446\x443\x437\x441\x43a\x438\x445 \x431\x443\x43b\x43e\x43a, \x434\x430 "
        L"\x432\x44b\x43f\x435\x439 \x447\x430\x44e. ";
    std::wstring long8;
    for (int i = 0; i < 8; ++i)
        long8 += pangram;
    const Case cases[] = {
        {"html-only.eml", L"Hello&nbsp;there second"},
        {"multipart-nested.eml", hello},                // one part of the alternative: the plain one
        {"alternative-html.eml", L"Only HTML footer"},  // no plain alternative: the HTML one, stripped
        {"truncated.eml", L"first part second part is cut he"},
        {"long-body.eml", TrimText(long8.substr(0, 249))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string raw =
            trelm_test::ReadFileString(nettest::WinePath(std::string(NETLIB_FIXTURES_DIR) + "/" + c.file));
        ASSERT_FALSE(raw.empty());
        std::wstring body = LetterBody(netlib::ExtractMessageText(netlib::ParseMimeMessage(raw)));
        EXPECT_EQ(body, c.body);
        EXPECT_LE(body.size(), kLetterBodyLength);
    }
}

TEST_F(MailCheckServer, NewLetterRuleInServerOrder) {
    FakeImap fake;
    fake.messages = {{3, Letter("Mon, 1 Jan 2024 10:00:00 +0000", "ten")},
                     {4, Letter("Mon, 1 Jan 2024 09:00:00 +0000", "nine")},
                     {7, Letter("Mon, 1 Jan 2024 11:00:00 +0000", " eleven ")}};
    auto server = Serve(fake);
    TMailCheckResult r = Check();
    ASSERT_TRUE(r.Status.ok()) << r.Status.detail;
    EXPECT_EQ(r.KolEm, 3);
    ASSERT_EQ(r.Letters.size(), 2u);
    EXPECT_EQ(r.Letters[0]->DT, Local(k1000));
    EXPECT_EQ(r.Letters[0]->Subject, L"ten");
    EXPECT_EQ(r.Letters[1]->DT, Local(k1100));
    EXPECT_EQ(r.Letters[1]->Subject, L"eleven");
    EXPECT_EQ(r.Letters[1]->Name, L"Ann Sender");
    EXPECT_EQ(r.Letters[1]->Login, L"user");
    EXPECT_EQ(r.Letters[1]->Domain, L"example.test");
    EXPECT_EQ(r.Letters[1]->UrlVhod, L"https://mail.example.test");
    EXPECT_EQ(r.Letters[1]->Body, L"");  // letter text not shown: no text fetched
    EXPECT_EQ(r.ProvEm, Local(k1100));

    // The same letters again: nothing is newer than ProvEm now; all are still counted.
    account_.ProvEm = r.ProvEm;
    TMailCheckResult again = Check();
    ASSERT_TRUE(again.Status.ok());
    EXPECT_EQ(again.KolEm, 3);
    EXPECT_TRUE(again.Letters.empty());
    EXPECT_EQ(again.ProvEm, Local(k1100));
}

TEST_F(MailCheckServer, SessionPeeksAndQuotes) {
    FakeImap fake;
    fake.messages = {
        {1, Letter("Mon, 1 Jan 2024 10:00:00 +0000", "one", "<p>Hi <b>there</b></p>", "Content-Type: text/html\r\n")}};
    account_.Parol = L"pa\"ss\\word";
    options_.OtobrTextEm = true;
    auto server = Serve(fake);
    TMailCheckResult r = Check();
    ASSERT_TRUE(r.Status.ok()) << r.Status.detail;
    ASSERT_EQ(r.Letters.size(), 1u);
    EXPECT_EQ(r.Letters[0]->Body, L"Hi there");
    server->Stop();
    std::vector<std::string> lines = server->Received();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "a1 LOGIN \"user@example.test\" \"pa\\\"ss\\\\word\"");
    EXPECT_EQ(lines[1], "a2 SELECT \"INBOX\"");
    EXPECT_EQ(lines[2], "a3 UID SEARCH UNSEEN");
    EXPECT_EQ(lines[3], "a4 UID FETCH 1 (UID INTERNALDATE BODY.PEEK[HEADER.FIELDS (DATE FROM SUBJECT)])");
    EXPECT_EQ(lines[4], "a5 UID FETCH 1 (UID BODYSTRUCTURE)");
    EXPECT_EQ(lines[5], "a6 UID FETCH 1 (UID BODY.PEEK[1]<0.16384>)");
    for (const std::string& l : lines)
        EXPECT_EQ(l.find("STORE"), std::string::npos) << l;
}

// A letter without a readable Date is announced with the server's arrival time, read in the same header fetch.
TEST_F(MailCheckServer, UndatedLettersTakeTheArrivalTime) {
    FakeImap fake;
    fake.messages = {{1, "From: a@example.test\r\nSubject: undated\r\n\r\nx\r\n", "01-Jan-2024 10:00:00 +0000"},
                     {2, Letter("sometime next week", "badly dated"), " 1-Jan-2024 13:00:00 +0200"},
                     {3, Letter("Mon, 1 Jan 2024 09:00:00 +0000", "older than both")},
                     {4, "Subject: no arrival either\r\n\r\nx\r\n", "garbage"}};
    auto server = Serve(fake);
    TMailCheckResult r = Check();
    ASSERT_TRUE(r.Status.ok()) << r.Status.detail;
    EXPECT_EQ(r.KolEm, 4);
    ASSERT_EQ(r.Letters.size(), 2u);
    EXPECT_EQ(r.Letters[0]->Subject, L"undated");
    EXPECT_EQ(r.Letters[0]->DT, Local(k1000));
    EXPECT_EQ(r.Letters[1]->Subject, L"badly dated");
    EXPECT_EQ(r.Letters[1]->DT, Local(k1100));
    EXPECT_EQ(r.ProvEm, Local(k1100));
    EXPECT_EQ(r.Commands, 5);  // LOGIN, SELECT, SEARCH, one FETCH, LOGOUT
}

// The structures of the new letters come in one command, then the text fetch asks for the sections they name, in
// one command for all letters, each letter decoding only its own parts; a letter whose structure the server did
// not give is read from its first bytes in one more command.
TEST_F(MailCheckServer, TextPartsBySection) {
    FakeImap fake;
    const std::string plain = "Content-Type: text/plain; charset=koi8-r\r\nContent-Transfer-Encoding: base64\r\n";
    fake.messages = {
        // Section 1 of a single-part letter, base64 in KOI8-R as the structure says.
        {1, Letter("Mon, 1 Jan 2024 10:00:00 +0000", "one", "8NLJ18XU", plain), "01-Jan-2024 10:00:00 +0000",
         "(\"TEXT\" \"PLAIN\" (\"CHARSET\" \"koi8-r\") NIL NIL \"BASE64\" 8 1)"},
        // The text after a large attachment, section 2, quoted-printable in windows-1251; its section 1, which
        // comes along for the first letter, is not its text.
        {2,
         Letter("Mon, 1 Jan 2024 11:00:00 +0000", "two", "not the text"),
         "01-Jan-2024 11:00:00 +0000",
         "((\"IMAGE\" \"PNG\" NIL NIL NIL \"BASE64\" 400000 NIL (\"attachment\" (\"FILENAME\" \"a.png\")) NIL)"
         "(\"TEXT\" \"PLAIN\" (\"CHARSET\" \"windows-1251\") NIL NIL \"QUOTED-PRINTABLE\" 20000 1) \"MIXED\")",
         {{"2", "=CF=F0=E8=E2=E5=F2 two"}}},
        // No structure from the server: the first bytes of the whole letter.
        {3,
         Letter("Mon, 1 Jan 2024 12:00:00 +0000", "three", "<p>whole <b>letter</b></p>", "Content-Type: text/html\r\n"),
         "01-Jan-2024 12:00:00 +0000", "NIL"},
    };
    auto server = Serve(fake);
    options_.OtobrTextEm = true;
    TMailCheckResult r = Check();
    ASSERT_TRUE(r.Status.ok()) << r.Status.detail;
    ASSERT_EQ(r.Letters.size(), 3u);
    EXPECT_EQ(r.Letters[0]->Body, L"\x41f\x440\x438\x432\x435\x442");
    EXPECT_EQ(r.Letters[1]->Body, L"\x41f\x440\x438\x432\x435\x442 two");
    EXPECT_EQ(r.Letters[2]->Body, L"whole letter");
    server->Stop();
    std::vector<std::string> lines = server->Received();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[4], "a5 UID FETCH 1:3 (UID BODYSTRUCTURE)");
    EXPECT_EQ(lines[5], "a6 UID FETCH 1:2 (UID BODY.PEEK[1]<0.20000> BODY.PEEK[2]<0.20000>)");
    EXPECT_EQ(lines[6], "a7 UID FETCH 3 (UID BODY.PEEK[]<0.262144>)");
    EXPECT_EQ(r.Commands, 8);
}

// A structure the server garbles costs its letter the text, never the announcement: the check succeeds with both
// letters, and the other letter still gets its text whenever the session survives the damage. A literal or a line
// beyond the caps ends the session: both letters are announced without text.
TEST_F(MailCheckServer, BadStructuresCostOnlyTheText) {
    const std::string good = "(\"TEXT\" \"PLAIN\" NIL NIL NIL \"7BIT\" 5 1)";
    struct Case {
        const char* name;
        std::string structure;
        bool sessionSurvives;
    };
    const Case cases[] = {
        {"garbage", "garbage", true},
        {"not a part", "(1 2 3)", true},
        {"unbalanced", "((\"TEXT\" \"PLAIN\" NIL NIL NIL \"7BIT\" 5 1)", true},
        {"stray close", good + ")", true},
        {"100,000 deep", std::string(100000, '(') + std::string(100000, ')'), true},
        {"unterminated string", "(\"TEXT", true},
        {"4 GB literal", "{4294967296}\r\n", false},
        {"line over the cap", std::string(2000000, '('), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeImap fake;
        fake.messages = {
            {1, Letter("Mon, 1 Jan 2024 10:00:00 +0000", "one"), "01-Jan-2024 10:00:00 +0000", c.structure},
            {2, Letter("Mon, 1 Jan 2024 11:00:00 +0000", "two"), "01-Jan-2024 11:00:00 +0000", good}};
        auto server = Serve(fake);
        options_.OtobrTextEm = true;
        TMailCheckResult r = Check();
        ASSERT_TRUE(r.Status.ok()) << r.Status.detail;
        EXPECT_EQ(r.KolEm, 2);
        ASSERT_EQ(r.Letters.size(), 2u);
        EXPECT_EQ(r.Letters[0]->Subject, L"one");
        EXPECT_EQ(r.Letters[0]->Name, L"Ann Sender");
        EXPECT_EQ(r.Letters[0]->Body, L"");
        EXPECT_EQ(r.Letters[1]->Subject, L"two");
        EXPECT_EQ(r.Letters[1]->Body, c.sessionSurvives ? L"Hello" : L"");
        EXPECT_EQ(r.ProvEm, Local(k1100));
        server->Stop();
        const std::vector<std::string> lines = server->Received();
        const bool loggedOut = !lines.empty() && lines.back().find("LOGOUT") != std::string::npos;
        EXPECT_EQ(loggedOut, c.sessionSurvives);
        for (const std::string& l : lines)
            EXPECT_EQ(l.find("BODY.PEEK[]"), std::string::npos) << l;  // never read as a letter without structure
    }
}

// Each header field is read from its first bytes, not the header as a whole: ten thousand addresses in From leave
// the first sender, the Subject and the Date after them.
TEST_F(MailCheckServer, HugeFromHidesNoOtherField) {
    std::string from = "From: \"Ann Sender\" <ann@example.test>";
    for (int i = 0; i < 10000; ++i)
        from += ",\r\n reader" + std::to_string(i) + "@example.test";
    FakeImap fake;
    fake.messages = {{1, from + "\r\nSubject: after the crowd\r\nDate: Mon, 1 Jan 2024 10:00:00 +0000\r\n\r\nHi\r\n"}};
    auto server = Serve(fake);
    options_.OtobrTextEm = true;
    TMailCheckResult r = Check();
    ASSERT_TRUE(r.Status.ok()) << r.Status.detail;
    ASSERT_EQ(r.Letters.size(), 1u);
    EXPECT_EQ(r.Letters[0]->Name, L"Ann Sender");
    EXPECT_EQ(r.Letters[0]->Subject, L"after the crowd");
    EXPECT_EQ(r.Letters[0]->DT, Local(k1000));
    EXPECT_EQ(r.Letters[0]->Body, L"Hi");
}

// A letter whose only text part is inline with a file name shows that part, read by the section its structure
// names; beside another text part it stays out.
TEST_F(MailCheckServer, NamedInlineTextIsTheTextOnlyWhenAlone) {
    const std::string image =
        "(\"IMAGE\" \"PNG\" NIL NIL NIL \"BASE64\" 400 NIL (\"inline\" (\"FILENAME\" \"p.png\")) NIL)";
    const std::string note =
        "(\"TEXT\" \"PLAIN\" NIL NIL NIL \"7BIT\" 8 1 NIL (\"inline\" (\"FILENAME\" \"note.txt\")) NIL)";
    const std::string plain = "(\"TEXT\" \"PLAIN\" NIL NIL NIL \"7BIT\" 5 1)";
    FakeImap fake;
    fake.messages = {{1,
                      Letter("Mon, 1 Jan 2024 10:00:00 +0000", "alone"),
                      "01-Jan-2024 10:00:00 +0000",
                      "(" + image + note + " \"MIXED\")",
                      {{"2", "the note"}}},
                     {2,
                      Letter("Mon, 1 Jan 2024 11:00:00 +0000", "beside"),
                      "01-Jan-2024 11:00:00 +0000",
                      "(" + plain + note + " \"MIXED\")",
                      {{"1", "written"}, {"2", "the note"}}}};
    auto server = Serve(fake);
    options_.OtobrTextEm = true;
    TMailCheckResult r = Check();
    ASSERT_TRUE(r.Status.ok()) << r.Status.detail;
    ASSERT_EQ(r.Letters.size(), 2u);
    EXPECT_EQ(r.Letters[0]->Body, L"the note");
    EXPECT_EQ(r.Letters[1]->Body, L"written");
}

TEST_F(MailCheckServer, NonAsciiPasswordGoesAsLiteral) {
    FakeImap fake;  // no LITERAL+: the client must wait for the server's "+"
    account_.Parol = L"\x43f\x430\x440\x43e\x43b\x44c";
    auto server = Serve(fake);
    TMailCheckResult r = Check();
    ASSERT_TRUE(r.Status.ok()) << r.Status.detail;
    server->Stop();
    std::vector<std::string> lines = server->Received();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "a1 LOGIN \"user@example.test\" {12}\xD0\xBF\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C");
}

TEST_F(MailCheckServer, TextOfNewLettersOnlyAndFlatCost) {
    // Dates rise, so every letter is new; the cost must not depend on how many there are.
    auto run = [&](int count) {
        FakeImap fake;
        for (int i = 0; i < count; ++i)
            fake.messages.push_back(
                {static_cast<uint32_t>(10 + i),
                 Letter("Mon, 1 Jan 2024 10:" + std::to_string(10 + i % 50) + ":00 +0000", "n" + std::to_string(i))});
        auto server = Serve(fake);
        account_.ProvEm = 0;
        options_.OtobrTextEm = true;
        TMailCheckResult r = Check();
        EXPECT_TRUE(r.Status.ok()) << r.Status.detail;
        EXPECT_EQ(r.KolEm, count);
        return r.Commands;
    };
    int few = run(5);
    int many = run(500);
    EXPECT_EQ(few, many);
    EXPECT_EQ(few, 7);  // LOGIN, SELECT, SEARCH, FETCH headers, FETCH structures, FETCH texts, LOGOUT
}

// Thousands of scattered unseen UIDs (every other letter read) would make a fetch line of about 90 KB; a server
// with Dovecot's 64 KB line limit refuses that. The fetch is cut into several commands instead.
TEST_F(MailCheckServer, ScatteredUnseenLettersStayUnderTheLineLimit) {
    FakeImap fake;
    fake.maxLineLength = 64 * 1024;
    constexpr int kCount = 15000;
    for (int i = 0; i < kCount; ++i)
        fake.messages.push_back(
            {static_cast<uint32_t>(2 * i + 1),
             Letter("Mon, 1 Jan 2024 " + std::to_string(10 + i % 10) + ":00:00 +0000", "n" + std::to_string(i))});
    auto server = Serve(fake);
    options_.OtobrTextEm = true;
    TMailCheckResult r = Check();
    ASSERT_TRUE(r.Status.ok()) << r.Status.detail;
    EXPECT_EQ(r.KolEm, kCount);
    // New in server order: 10:00 to 19:00 of the first ten letters.
    ASSERT_EQ(r.Letters.size(), 10u);
    EXPECT_EQ(r.Letters[9]->Subject, L"n9");
    EXPECT_EQ(r.Letters[9]->Body, L"Hello");
    server->Stop();
    int headerFetches = 0;
    for (const std::string& l : server->Received()) {
        EXPECT_LE(l.size(), ImapClient::kMaxUidSetLength + 100);
        headerFetches += l.find("UID FETCH") != std::string::npos && l.find("HEADER.FIELDS") != std::string::npos;
    }
    EXPECT_GT(headerFetches, 1);
    EXPECT_EQ(r.Commands, headerFetches + 6);  // LOGIN, SELECT, SEARCH, FETCH structures, FETCH texts, LOGOUT
}

TEST_F(MailCheckServer, FutureLetterAnnouncedOnce) {
    const int64_t tomorrow = static_cast<int64_t>(time(nullptr)) + 86400;
    char date[64];
    time_t t = static_cast<time_t>(tomorrow);
    strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S +0000", gmtime(&t));
    FakeImap fake;
    fake.messages = {{5, Letter(date, "from the future")}};
    auto server = Serve(fake);
    TAnnouncedLetters announced;
    options_.Announced = &announced;

    const TDateTime before = netlib::NowLocalDateTime();
    TMailCheckResult first = Check();
    const TDateTime after = netlib::NowLocalDateTime();
    ASSERT_TRUE(first.Status.ok()) << first.Status.detail;
    ASSERT_EQ(first.Letters.size(), 1u);
    EXPECT_EQ(first.Letters[0]->DT, Local(tomorrow));  // the record keeps its own date
    EXPECT_GE(first.ProvEm, before);                   // ProvEm stops at the moment of the check
    EXPECT_LE(first.ProvEm, after);

    account_.ProvEm = first.ProvEm;
    TMailCheckResult second = Check();
    ASSERT_TRUE(second.Status.ok()) << second.Status.detail;
    EXPECT_EQ(second.KolEm, 1);
    EXPECT_TRUE(second.Letters.empty());
    EXPECT_GE(second.ProvEm, first.ProvEm);

    // Without the memory of announced letters the letter would come again at every check.
    options_.Announced = nullptr;
    EXPECT_EQ(Check().Letters.size(), 1u);
    // An edit of the account forgets it.
    options_.Announced = &announced;
    announced.Forget(TAnnouncedLetters::KeyOf(account_));
    EXPECT_EQ(Check().Letters.size(), 1u);
}

// A future letter announced in an earlier check must not hide a letter that came in after that check: the
// already-announced letter takes no part in the newest-date rule, so it cannot push ProvEm to "now" again.
TEST_F(MailCheckServer, AnnouncedFutureLetterDoesNotHideLaterOnes) {
    auto rfcDate = [](int64_t utc) {
        char date[64];
        time_t t = static_cast<time_t>(utc);
        strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S +0000", gmtime(&t));
        return std::string(date);
    };
    // One server for both checks: the account key (host and port) must stay the same.
    auto fake = std::make_shared<FakeImap>();
    fake->messages = {{5, Letter(rfcDate(static_cast<int64_t>(time(nullptr)) + 86400), "from the future")}};
    ScriptServer server([fake](ScriptConnection& c) { fake->Serve(c); },
                        std::make_unique<netlib::TlsServerOptions>(nettest::ServerTls()));
    account_.PortIMAP = server.Port();
    TAnnouncedLetters announced;
    options_.Announced = &announced;

    TMailCheckResult first = Check();
    ASSERT_TRUE(first.Status.ok()) << first.Status.detail;
    ASSERT_EQ(first.Letters.size(), 1u);

    // A letter dated one second after the first check, arriving before the second; the second check runs once
    // that second is past, so the letter is no longer in the future.
    const int64_t later = static_cast<int64_t>(time(nullptr)) + 1;
    ASSERT_GT(Local(later), first.ProvEm);
    fake->messages.push_back({6, Letter(rfcDate(later), "arrived in between")});
    while (static_cast<int64_t>(time(nullptr)) <= later + 1)
        Sleep(100);

    account_.ProvEm = first.ProvEm;
    TMailCheckResult second = Check();
    ASSERT_TRUE(second.Status.ok()) << second.Status.detail;
    EXPECT_EQ(second.KolEm, 2);
    ASSERT_EQ(second.Letters.size(), 1u);  // the future letter is not announced again
    EXPECT_EQ(second.Letters[0]->Subject, L"arrived in between");
    EXPECT_EQ(second.Letters[0]->DT, Local(later));
    EXPECT_EQ(second.ProvEm, Local(later));

    // A third check finds nothing new.
    account_.ProvEm = second.ProvEm;
    TMailCheckResult third = Check();
    ASSERT_TRUE(third.Status.ok()) << third.Status.detail;
    EXPECT_EQ(third.KolEm, 2);
    EXPECT_TRUE(third.Letters.empty());
    EXPECT_EQ(third.ProvEm, Local(later));
}

TEST_F(MailCheckServer, ServerFaults) {
    auto fetchWith = [](std::string reply) {
        return [reply](const std::string&, const std::string&) { return reply; };
    };
    const std::string hdr = "* 1 FETCH (UID 1 BODY[HEADER.FIELDS (DATE FROM SUBJECT)] ";
    struct Case {
        const char* name;
        std::string greeting;
        const char* verb;
        std::function<std::string(const std::string&, const std::string&)> reply;
        NetCode code;
        NetCause cause;
    };
    const Case cases[] = {
        {"no greeting", "", nullptr, nullptr, NetCode::Connection, NetCause::Timeout},
        {"BYE greeting", "* BYE too busy\r\n", nullptr, nullptr, NetCode::Connection, NetCause::Server},
        {"garbage greeting", "HTTP/1.1 400 Bad Request\r\n", nullptr, nullptr, NetCode::Connection, NetCause::Protocol},
        {"binary garbage", std::string("\x16\x03\x01\x00\xff\r\n", 7), nullptr, nullptr, NetCode::Connection,
         NetCause::Protocol},
        {"LOGIN NO",
         {},
         "LOGIN",
         [](auto& tag, auto&) { return tag + " NO [AUTHENTICATIONFAILED] no\r\n"; },
         NetCode::Auth,
         NetCause::Server},
        {"LOGIN BAD",
         {},
         "LOGIN",
         [](auto& tag, auto&) { return tag + " BAD what\r\n"; },
         NetCode::Auth,
         NetCause::Server},
        {"SELECT NO",
         {},
         "SELECT",
         [](auto& tag, auto&) { return tag + " NO no such mailbox\r\n"; },
         NetCode::Mailbox,
         NetCause::Server},
        {"SEARCH BAD",
         {},
         "UID SEARCH",
         [](auto& tag, auto&) { return tag + " BAD no search\r\n"; },
         NetCode::Refused,
         NetCause::Server},
        {"BYE mid-session",
         {},
         "SELECT",
         [](auto&, auto&) { return std::string("* BYE shutting down\r\n"); },
         NetCode::Connection,
         NetCause::Server},
        {"dropped on SELECT",
         {},
         "SELECT",
         [](auto&, auto&) { return std::string(); },
         NetCode::Connection,
         NetCause::Closed},
        {"short literal, closed",
         {},
         "UID FETCH",
         fetchWith(hdr + "{100}\r\nDate: x\r\n" + nettest::kThenClose),
         NetCode::Connection,
         NetCause::Closed},
        {"short literal, silent",
         {},
         "UID FETCH",
         fetchWith(hdr + "{100}\r\nDate: x\r\n" + nettest::kThenHang),
         NetCode::Connection,
         NetCause::Timeout},
        {"huge literal",
         {},
         "UID FETCH",
         fetchWith(hdr + "{99999999999}\r\n" + nettest::kThenHang),
         NetCode::Connection,
         NetCause::TooLarge},
        {"garbage FETCH",
         {},
         "UID FETCH",
         fetchWith("* 1 FETCH (UID 1 BODY[] )))\r\n" + nettest::kThenHang),
         NetCode::Connection,
         NetCause::Protocol},
        {"wrong tag",
         {},
         "UID SEARCH",
         [](auto&, auto&) { return std::string("zz9 OK who\r\n"); },
         NetCode::Connection,
         NetCause::Protocol},
        {"unasked continuation",
         {},
         "SELECT",
         [](auto&, auto&) { return std::string("+ more?\r\n"); },
         NetCode::Connection,
         NetCause::Protocol},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeImap fake;
        fake.messages = {{1, Letter("Mon, 1 Jan 2024 10:00:00 +0000", "one")}};
        if (c.verb)
            fake.on[c.verb] = c.reply;
        else
            fake.greeting = c.greeting;
        auto server = Serve(fake);
        TMailCheckResult r = Check();
        EXPECT_EQ(r.Status.code, c.code) << r.Status.detail;
        EXPECT_EQ(r.Status.cause, c.cause) << r.Status.detail;
        EXPECT_EQ(r.KolEm, 0);
        EXPECT_TRUE(r.Letters.empty());
        EXPECT_EQ(r.ProvEm, account_.ProvEm);
    }
    // A later check works.
    FakeImap fake;
    fake.messages = {{1, Letter("Mon, 1 Jan 2024 10:00:00 +0000", "one")}};
    auto server = Serve(fake);
    TMailCheckResult r = Check();
    EXPECT_TRUE(r.Status.ok()) << r.Status.detail;
    EXPECT_EQ(r.Letters.size(), 1u);
}

TEST_F(MailCheckServer, FailureAfterCountingKeepsTheCount) {
    // The text fetch fails: the letters are counted, but no record and no new ProvEm come out of it, so the next
    // check announces them.
    FakeImap fake;
    fake.messages = {{1, Letter("Mon, 1 Jan 2024 10:00:00 +0000", "one")},
                     {2, Letter("Mon, 1 Jan 2024 11:00:00 +0000", "two")}};
    fake.on["UID FETCH"] = [&fake](const std::string& tag, const std::string& line) -> std::string {
        if (line.find("HEADER.FIELDS") == std::string::npos)
            return std::string();  // drop the connection on the text fetch
        std::string reply;
        for (size_t i = 0; i < fake.messages.size(); ++i) {
            const std::string& raw = fake.messages[i].raw;
            reply += "* " + std::to_string(i + 1) + " FETCH (UID " + std::to_string(fake.messages[i].uid) +
                     " BODY[HEADER.FIELDS (DATE FROM SUBJECT)] {" + std::to_string(raw.size()) + "}\r\n" + raw +
                     ")\r\n";
        }
        return reply + tag + " OK done\r\n";
    };
    options_.OtobrTextEm = true;
    auto server = Serve(fake);
    TMailCheckResult r = Check();
    EXPECT_EQ(r.Status.cause, NetCause::Closed) << r.Status.detail;
    EXPECT_EQ(r.KolEm, 2);
    EXPECT_TRUE(r.Letters.empty());
    EXPECT_EQ(r.ProvEm, 0);
}

TEST_F(MailCheckServer, TlsRefusals) {
    // Each server must never see a command: the check ends in the handshake, before LOGIN.
    for (const nettest::TlsRefusal& c : nettest::TlsRefusals()) {
        SCOPED_TRACE(c.name);
        FakeImap fake;
        ScriptServer server([fake](ScriptConnection& conn) { fake.Serve(conn); }, c.ServerOptions());
        account_.PortIMAP = server.Port();
        account_.HostIMAP = c.host;
        TMailCheckResult r = Check();
        EXPECT_EQ(r.Status.code, NetCode::Connection);
        EXPECT_EQ(r.Status.cause, c.cause) << r.Status.detail;
        server.Stop();
        EXPECT_TRUE(server.Received().empty());
        EXPECT_EQ(server.Connections(), 1);
    }
}

TEST_F(MailCheckServer, MissingOpenSslFailsTheCheck) {
    FakeImap fake;
    auto server = Serve(fake);
    options_.Tls.libraryFolder = L"C:\\no-such-folder";
    TMailCheckResult r = Check();
    EXPECT_EQ(r.Status.code, NetCode::Connection);
    EXPECT_EQ(r.Status.cause, NetCause::Library);
    EXPECT_EQ(r.Status.detail.rfind("Could not load SSL library.", 0), 0u) << r.Status.detail;
}

TEST_F(MailCheckServer, AbortEndsAStalledCheck) {
    FakeImap fake;
    fake.greeting.clear();  // the server never greets
    auto server = Serve(fake);
    options_.Timeouts.ioMs = 60000;
    auto abort = std::make_shared<netlib::NetAbort>();
    std::thread gui([abort] {
        Sleep(300);
        abort->Abort();
    });
    TMailCheckResult r = CheckAccountInbox(account_, options_, abort);
    gui.join();
    EXPECT_EQ(r.Status.code, NetCode::Cancelled) << r.Status.detail;
}

}  // namespace
