// The IMAP server list download from the maker's site, pointed at a loopback HTTP server: exactly two GETs when
// the list is empty, none when one is stored; the sample list parses; a dead server leaves the list empty. Also
// the links to the maker's site and the compiled help file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "DripHandler.h"
#include "HttpServe.h"
#include "TestSupport.h"
#include "app/ImapList.h"
#include "app/ImapListCheck.h"
#include "app/WebLinks.h"
#include "base/Files.h"

using nettest::ScriptConnection;
using nettest::ScriptServer;
using trelm_test::Serve;

namespace {

class ImapListTest : public ::testing::Test {
  protected:
    void Point(const ScriptServer& server) {
        MakerSite().host = L"127.0.0.1";
        MakerSite().port = server.Port();
    }
    void TearDown() override { MakerSite() = TMakerSite(); }
};

std::vector<std::string> Gets(ScriptServer& server) {
    server.Stop();
    std::vector<std::string> gets;
    for (const std::string& line : server.Received()) {
        if (line.rfind("GET ", 0) == 0)
            gets.push_back(line);
    }
    return gets;
}

TEST_F(ImapListTest, EmptyListIsFetchedWithTwoGets) {
    const std::optional<std::string> sample = ReadWholeFile(L"Z:" TRELM_SAMPLE_SERVER_LIST);
    ASSERT_TRUE(sample);
    ScriptServer server(Serve(*sample), nullptr);
    Point(server);
    TNotifierLists lists;
    EnsureImapList(lists);
    const std::vector<std::string> gets = Gets(server);
    EXPECT_EQ(gets, std::vector<std::string>(2, "GET /download/trelmmailimap.txt HTTP/1.1"));
    ASSERT_EQ(lists.ImapServers.size(), 18u);
    EXPECT_EQ(lists.ImapServers[0]->Url, L"mail.ru");
    EXPECT_EQ(lists.ImapServers[0]->UrlImap, L"imap.mail.ru");
    EXPECT_EQ(lists.ImapServers[0]->PortImap, 993);
    EXPECT_EQ(lists.ImapServers[12]->UrlImap, L"outlook.office365.com");
}

TEST_F(ImapListTest, StoredListSendsNoRequest) {
    ScriptServer server(Serve("x.test"), nullptr);
    Point(server);
    TNotifierLists lists;
    lists.ImapServers.push_back(std::make_unique<AListImap>(AListImap{L"a.test", L"imap.a.test", 993}));
    EnsureImapList(lists);
    EXPECT_TRUE(Gets(server).empty());
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_EQ(lists.ImapServers.size(), 1u);
}

// A server-list line in its columns: domain 1 to 29, host 30 to 69, port from 70.
std::string Line(const std::string& domain, const std::string& host, const std::string& port) {
    std::string line = domain;
    line.resize(std::max<size_t>(line.size(), 29), ' ');
    line += host;
    line.resize(std::max<size_t>(line.size(), 69), ' ');
    return line + port + "\r\n";
}

TEST_F(ImapListTest, BlankLinesAreSkipped) {
    ScriptServer server(Serve("\r\n" + Line("a.test", "imap.a.test", "993") + "\r\n\r\n"), nullptr);
    Point(server);
    TNotifierLists lists;
    ASSERT_TRUE(DownloadImapList(lists));
    ASSERT_EQ(lists.ImapServers.size(), 1u);
    EXPECT_EQ(lists.ImapServers[0]->Url, L"a.test");
    EXPECT_EQ(lists.ImapServers[0]->UrlImap, L"imap.a.test");
}

TEST(ImapListForm, Names) {
    const struct {
        const wchar_t* name;
        bool ok;
    } cases[] = {
        {L"mail.ru", true},
        {L"i.ua", true},
        {L"outlook.office365.com", true},
        {L"xn--80a1acny.xn--p1ai", true},
        {L"a-b.c-d.test", true},
        {L"", false},
        {L"localhost", false},
        {L"mail..ru", false},
        {L".mail.ru", false},
        {L"mail.ru.", false},
        {L"-mail.ru", false},
        {L"mail-.ru", false},
        {L"ma il.ru", false},
        {L"mail_box.ru", false},
        {L"10.0.0.1", false},
        {L"\x43F\x43E\x447\x442\x430.ru", false},
        {L"a\x01b.test", false},
        {L"mail.ru/x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsDnsName(c.name), c.ok) << std::wstring(c.name).size();
    EXPECT_TRUE(IsDnsName(std::wstring(63, L'a') + L".test"));
    EXPECT_FALSE(IsDnsName(std::wstring(64, L'a') + L".test"));
    std::wstring long253;
    while (long253.size() < 250)
        long253 += L"abcdefghi.";
    long253 += L"com";
    EXPECT_TRUE(IsDnsName(long253.substr(long253.size() - 253)));
    EXPECT_FALSE(IsDnsName(L"x" + long253.substr(long253.size() - 253)));
}

TEST(ImapListForm, Ports) {
    const struct {
        const wchar_t* text;
        bool ok;
    } cases[] = {
        {L"", true},       {L"993", true},          {L"1", true},     {L"65535", true}, {L"0", false},
        {L"65536", false}, {L"99999999999", false}, {L"-993", false}, {L"+993", false}, {L"9 93", false},
        {L"abc", false},   {L"993x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPortField(c.text), c.ok) << std::string(c.text, c.text + wcslen(c.text));
}

// Junk from the host: lines out of form are dropped; a list mostly of junk is refused whole.
TEST(ImapListForm, JunkLinesAndJunkLists) {
    const std::string good1 = Line("mail.ru", "imap.mail.ru", "993");
    const std::string good2 = Line("gmail.com", "imap.gmail.com", "");
    const std::string good3 = Line("ukr.net", "imap.ukr.net", "143");
    std::string random;
    uint32_t seed = 12345;
    for (int i = 0; i < 4000; ++i) {
        seed = seed * 1103515245 + 12345;
        random += static_cast<char>((seed >> 16) & 0xFF);
    }
    const struct {
        const char* name;
        std::string text;
        std::vector<std::wstring> domains;  // of the entries taken; none: refused
    } cases[] = {
        {"all good", good1 + good2 + good3, {L"mail.ru", L"gmail.com", L"ukr.net"}},
        {"one junk line of four", good1 + "@@@ junk @@@\r\n" + good2 + good3, {L"mail.ru", L"gmail.com", L"ukr.net"}},
        {"bad port", good1 + good2 + Line("x.test", "imap.x.test", "70000"), {L"mail.ru", L"gmail.com"}},
        {"letters in the port", good1 + good2 + Line("x.test", "imap.x.test", "abc"), {L"mail.ru", L"gmail.com"}},
        {"no host", good1 + good2 + Line("x.test", "", "993"), {L"mail.ru", L"gmail.com"}},
        {"blank lines do not count", "\r\n\r\n" + good1 + "\r\n\r\n\r\n", {L"mail.ru"}},
        {"half junk is kept", good1 + good2 + "junk\r\nmore junk\r\n", {L"mail.ru", L"gmail.com"}},
        {"most lines junk", good1 + "junk\r\nmore junk\r\n", {}},
        {"random bytes", random, {}},
        {"random bytes around a good line", random.substr(0, 500) + "\r\n" + good1 + random.substr(500), {}},
        {"an HTML page", "<html>\r\n<body>Not here</body>\r\n</html>\r\n", {}},
        {"nothing", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring text;
        for (char ch : c.text)
            text += static_cast<wchar_t>(static_cast<unsigned char>(ch));
        bool refused = false;
        const std::vector<netlib::ServerListEntry> taken = WellFormedServers(netlib::ParseServerList(text), &refused);
        EXPECT_EQ(refused, c.domains.empty());
        std::vector<std::wstring> domains;
        for (const auto& e : taken)
            domains.push_back(e.domain);
        EXPECT_EQ(domains, c.domains);
    }
}

// Downloaded junk never reaches the list.
TEST_F(ImapListTest, AJunkListIsNotTaken) {
    ScriptServer server(Serve("<html>\r\n<body>Not here</body>\r\n</html>\r\n"), nullptr);
    Point(server);
    TNotifierLists lists;
    EXPECT_FALSE(DownloadImapList(lists));
    EXPECT_TRUE(lists.ImapServers.empty());
}

// A host that sends its answer a byte at a time, each byte well within the read time-out: the whole exchange still
// ends at its deadline, without the list (sent whole, it would take half a minute).
TEST_F(ImapListTest, ADrippingHostIsGivenUpAtTheDeadline) {
    const std::string list = Line("mail.ru", "imap.mail.ru", "993");
    ScriptServer server(trelm_test::DripHandler(trelm_test::HttpOk(list), 250), nullptr);
    TImapServerList got;
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(FetchImapList(L"127.0.0.1", server.Port(), &got));
    const ULONGLONG took = GetTickCount64() - start;
    EXPECT_TRUE(got.empty());
    EXPECT_GE(took, kImapListDeadlineMs - 500);
    EXPECT_LT(took, kImapListDeadlineMs + kImapListTimeoutMs);
    std::printf("dripping host given up after %llu ms\n", took);
}

TEST_F(ImapListTest, NoServerLeavesTheListEmpty) {
    uint16_t port;
    {
        ScriptServer probe(Serve(""), nullptr);
        port = probe.Port();
    }
    MakerSite().host = L"127.0.0.1";
    MakerSite().port = port;
    TNotifierLists lists;
    EXPECT_FALSE(DownloadImapList(lists));
    EXPECT_TRUE(lists.ImapServers.empty());
}

// A server that takes the request and never answers must not hold up the start: the short time-outs end the
// download (the bound here is only a guard against a hang, far above the time-outs).
TEST_F(ImapListTest, SilentServerDoesNotHangTheStart) {
    ScriptServer server([](ScriptConnection& c) { c.WaitClosed(); }, nullptr);
    Point(server);
    TNotifierLists lists;
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(DownloadImapList(lists));
    EXPECT_LT(GetTickCount64() - start, 30000u);
    EXPECT_TRUE(lists.ImapServers.empty());
}

TEST_F(ImapListTest, LinksGoToTheMakersSite) {
    EXPECT_EQ(MakerUrl(kThanksPage), L"http://www.trelmmail.example/thanks.html");
    MakerSite().port = 8080;
    EXPECT_EQ(MakerUrl(L"/notes.html"), L"http://www.trelmmail.example:8080/notes.html");
    ASSERT_EQ(OtherProducts().size(), 11u);
    for (size_t i = 0; i < OtherProducts().size(); ++i) {
        EXPECT_EQ(OtherProducts()[i].langLine, static_cast<int>(3 + i));
        EXPECT_EQ(OtherProducts()[i].page[0], L'/');
    }
}

TEST(HelpFile, CompiledBesideTheProgram) {
    const std::optional<std::string> chm = ReadWholeFile(ProgramFolder() + kHelpFile);
    ASSERT_TRUE(chm);
    EXPECT_EQ(chm->substr(0, 4), "ITSF");
    // Every page of the project is inside (names are stored as plain text in the directory).
    for (const char* page : {"/index.html", "/accounts.html", "/reminders.html", "/settings.html", "/tray.html"})
        EXPECT_NE(chm->find(page), std::string::npos) << page;
}

}  // namespace
