// The IMAP server list download from the maker's site, pointed at a loopback HTTP server: exactly two GETs when
// the list is empty, none when one is stored; the sample list parses; a dead server leaves the list empty. Also
// the links to the maker's site and the compiled help file.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/ImapList.h"
#include "app/WebLinks.h"
#include "base/Files.h"

using nettest::ScriptConnection;
using nettest::ScriptServer;

namespace {

// Answers every request with the given body; the request lines are in Received().
ScriptServer::Handler Serve(std::string body) {
    return [body](ScriptConnection& c) {
        std::string line;
        while (c.ReadLine(&line)) {
            if (!line.empty())
                continue;
            c.Send("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
                   "\r\n\r\n" + body);
        }
    };
}

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

TEST_F(ImapListTest, EmptyLinesGiveEmptyEntries) {
    ScriptServer server(Serve("a.test\r\n\r\n"), nullptr);
    Point(server);
    TNotifierLists lists;
    ASSERT_TRUE(DownloadImapList(lists));
    ASSERT_EQ(lists.ImapServers.size(), 2u);
    EXPECT_EQ(lists.ImapServers[1]->Url, L"");
    EXPECT_EQ(lists.ImapServers[1]->PortImap, 993);
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
