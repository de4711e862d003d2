// The IMAP client over a plain loopback connection (the transport is injectable): responses interleaved in any
// order, literals in unusual places, FETCH data matched by UID, and the grading of NO, BAD and BYE.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "netlib/imap_client.h"
#include "netlib/net_socket.h"

using namespace netlib;
using nettest::FakeImap;
using nettest::ScriptConnection;
using nettest::ScriptServer;

namespace {

std::unique_ptr<TcpConnection> Connect(uint16_t port) {
    NetTimeouts t;
    t.connectMs = 10000;  // an upper bound only: a loaded machine may resolve "localhost" slowly
    t.ioMs = 2000;
    std::unique_ptr<TcpConnection> c;
    EXPECT_TRUE(TcpConnection::Connect(L"127.0.0.1", port, t, std::make_shared<NetAbort>(), &c).ok());
    return c;
}

TEST(ImapClient, InterleavedResponsesAndLiterals) {
    FakeImap fake;
    fake.greeting = "* OK [CAPABILITY IMAP4rev1 LITERAL+] hi\r\n";
    fake.on["SELECT"] = [](const std::string& tag, const std::string&) {
        return "* 2 EXISTS\r\n* FLAGS (\\Seen {3}\r\nodd)\r\n* OK [UIDVALIDITY 777] v\r\n* NO warning only\r\n" + tag +
               " OK [READ-WRITE] done\r\n";
    };
    fake.on["UID SEARCH"] = [](const std::string& tag, const std::string&) {
        return "* SEARCH 9 4\r\n* 3 EXISTS\r\n* SEARCH 4 12\r\n" + tag + " OK done\r\n";
    };
    fake.on["UID FETCH"] = [](const std::string& tag, const std::string&) {
        // Out of order, an unsolicited flag update without UID in between, the UID after the literal.
        return std::string("* 2 FETCH (BODY[HEADER.FIELDS (DATE FROM SUBJECT)] {6}\r\nnine\r\n UID 9)\r\n") +
               "* 1 FETCH (FLAGS (\\Seen))\r\n* 1 EXPUNGE\r\n" +
               "* 1 FETCH (UID 4 BODY[HEADER.FIELDS (DATE FROM SUBJECT)] \"four\")\r\n" +
               "* 3 FETCH (UID 12 BODY[HEADER.FIELDS (DATE FROM SUBJECT)] NIL)\r\n" + tag + " OK done\r\n";
    };
    ScriptServer server([fake](ScriptConnection& c) { fake.Serve(c); }, nullptr);
    auto conn = Connect(server.Port());
    ASSERT_TRUE(conn);
    ImapClient imap(conn.get());
    ASSERT_TRUE(imap.ReadGreeting().ok());
    EXPECT_TRUE(imap.HasCapability("LITERAL+"));
    ASSERT_TRUE(imap.Capability().ok());  // already known from the greeting: nothing sent
    // A non-ASCII password with LITERAL+ goes without waiting for "+".
    ASSERT_TRUE(imap.Login("u", "\xC3\xA9").ok());
    uint32_t validity = 0;
    ASSERT_TRUE(imap.Select("INBOX", &validity).ok());
    EXPECT_EQ(validity, 777u);
    std::vector<uint32_t> uids;
    ASSERT_TRUE(imap.UidSearchUnseen(&uids).ok());
    EXPECT_EQ(uids, (std::vector<uint32_t>{9, 4, 12}));
    std::map<uint32_t, std::string> got;
    ASSERT_TRUE(imap.UidFetch(uids, "(UID BODY.PEEK[HEADER.FIELDS (DATE FROM SUBJECT)])",
                              [&](uint32_t uid, const std::vector<ImapValue>& items) {
                                  const ImapValue* v = ImapClient::FindItem(items, "BODY[");
                                  got[uid] = v && v->kind == ImapValue::Kind::String ? v->text : "<nil>";
                                  return NetStatus::Success();
                              })
                    .ok());
    EXPECT_EQ(got, (std::map<uint32_t, std::string>{{4, "four"}, {9, "nine\r\n"}, {12, "<nil>"}}));
    EXPECT_TRUE(imap.Logout().ok());
    EXPECT_EQ(imap.CommandsSent(), 5);
    server.Stop();
    std::vector<std::string> lines = server.Received();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "a1 LOGIN \"u\" {2+}\xC3\xA9");  // the script server joins a literal to its line
    EXPECT_EQ(lines[3], "a4 UID FETCH 4,9,12 (UID BODY.PEEK[HEADER.FIELDS (DATE FROM SUBJECT)])");
}

TEST(ImapClient, RefusalsAreGraded) {
    struct Case {
        const char* verb;
        std::string reply;
        NetCode code;
    };
    const Case cases[] = {
        {"LOGIN", " NO [AUTHENTICATIONFAILED] bad\r\n", NetCode::Auth},
        {"SELECT", " NO [NONEXISTENT] none\r\n", NetCode::Mailbox},
        {"UID SEARCH", " BAD syntax\r\n", NetCode::Refused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.verb);
        FakeImap fake;
        std::string reply = c.reply;
        fake.on[c.verb] = [reply](const std::string& tag, const std::string&) { return tag + reply; };
        ScriptServer server([fake](ScriptConnection& s) { fake.Serve(s); }, nullptr);
        auto conn = Connect(server.Port());
        ImapClient imap(conn.get());
        ASSERT_TRUE(imap.ReadGreeting().ok());
        NetStatus st = imap.Login("u", "p");
        uint32_t v = 0;
        std::vector<uint32_t> uids;
        if (st.ok())
            st = imap.Select("INBOX", &v);
        if (st.ok())
            st = imap.UidSearchUnseen(&uids);
        EXPECT_EQ(st.code, c.code) << st.detail;
        EXPECT_EQ(st.cause, NetCause::Server);
    }
}

}  // namespace
