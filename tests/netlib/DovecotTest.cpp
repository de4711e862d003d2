// The IMAP client and TLS layer against a real server: the private Dovecot of the ctest fixture.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "netlib/imap_client.h"
#include "netlib/mime_charset.h"
#include "netlib/net_socket.h"
#include "netlib/tls_stream.h"

using namespace netlib;

namespace {

class DovecotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (nettest::FixtureDir().empty())
            GTEST_SKIP() << "no Dovecot fixture (run through ctest)";
        port_ = static_cast<uint16_t>(std::stoi(nettest::FixtureValue("PORT")));
        ASSERT_TRUE(nettest::TrustTestCa());
    }

    NetStatus Open(const std::wstring& host, std::unique_ptr<TlsStream>* tls) {
        NetTimeouts t;
        t.connectMs = 10000;
        t.ioMs = 5000;
        std::unique_ptr<TcpConnection> tcp;
        if (NetStatus st = TcpConnection::Connect(host, port_, t, std::make_shared<NetAbort>(), &tcp); !st)
            return st;
        return TlsStream::Connect(std::move(tcp), host, TlsClientOptions{}, tls);
    }

    uint16_t port_ = 0;
};

TEST_F(DovecotTest, SessionOverVerifiedTls) {
    bool ok = false;
    nettest::RunFixtureCtl({"reset", "user@example.test"}, &ok);
    ASSERT_TRUE(ok);
    std::string path = nettest::WriteFixtureFile(
        "m1.eml", "Date: Mon, 1 Jan 2024 10:00:00 +0000\r\nFrom: A <a@x.test>\r\nSubject: one\r\n\r\nHello\r\n");
    nettest::RunFixtureCtl({"save", "user@example.test", path}, &ok);
    ASSERT_TRUE(ok);

    std::unique_ptr<TlsStream> tls;
    NetStatus st = Open(L"localhost", &tls);
    ASSERT_TRUE(st.ok()) << st.detail;
    EXPECT_TRUE(tls->Version() == "TLSv1.2" || tls->Version() == "TLSv1.3") << tls->Version();
    ImapClient imap(tls.get());
    ASSERT_TRUE(imap.ReadGreeting().ok());
    ASSERT_TRUE(imap.Capability().ok());
    st = imap.Login("user@example.test", "secret");
    ASSERT_TRUE(st.ok()) << st.detail;
    uint32_t validity = 0;
    ASSERT_TRUE(imap.Select("INBOX", &validity).ok());
    EXPECT_NE(validity, 0u);
    std::vector<uint32_t> uids;
    ASSERT_TRUE(imap.UidSearchUnseen(&uids).ok());
    ASSERT_EQ(uids, std::vector<uint32_t>{1});
    std::string header;
    st = imap.UidFetch(uids, "(UID BODY.PEEK[HEADER.FIELDS (DATE FROM SUBJECT)])",
                       [&](uint32_t uid, const std::vector<ImapValue>& items) {
                           const ImapValue* v = ImapClient::FindItem(items, "BODY[");
                           EXPECT_EQ(uid, 1u);
                           if (v)
                               header = v->text;
                           return NetStatus::Success();
                       });
    ASSERT_TRUE(st.ok()) << st.detail;
    EXPECT_NE(header.find("Subject: one"), std::string::npos);
    EXPECT_TRUE(imap.Logout().ok());
}

}  // namespace
