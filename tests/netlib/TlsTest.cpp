// TLS and TCP on loopback: verified sessions carrying data both ways, refusals before any data, the missing
// library, time-outs and the abort.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "TestSupport.h"
#include "netlib/imap_connect.h"
#include "netlib/net_socket.h"
#include "netlib/tls_openssl.h"
#include "netlib/tls_rootstore.h"
#include "netlib/tls_stream.h"

using namespace netlib;
using nettest::ScriptConnection;
using nettest::ScriptServer;

namespace {

class TlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (nettest::FixtureDir().empty())
            GTEST_SKIP() << "no test PKI (run through ctest)";
        ASSERT_TRUE(nettest::TrustTestCa());
        options_.timeouts.connectMs = 10000;  // an upper bound only: a loaded machine may resolve "localhost" slowly
        options_.timeouts.ioMs = 2000;
    }
    ImapConnectOptions options_;
};

// Echoes every line back until the client closes.
void Echo(ScriptConnection& c) {
    std::string line;
    while (c.ReadLine(&line))
        if (!c.Send(line + "\r\n"))
            return;
}

// The trust store is built once and shared by later sessions; a root added to Windows after it was built is still
// found, because a verification that finds no trusted root tries again against a fresh copy. (Wine's crypt32 reads
// its ROOT store once per process, so the test stands an empty store in for an old one.)
TEST_F(TlsTest, SharedTrustStoreFindsNewRoots) {
    ScriptServer trusted(Echo, std::make_unique<TlsServerOptions>(nettest::ServerTls()));
    ScriptServer rogue(Echo, std::make_unique<TlsServerOptions>(nettest::ServerTls(true)));
    auto connect = [&](uint16_t port) {
        std::unique_ptr<TlsStream> tls;
        return ConnectImaps(L"localhost", port, options_, std::make_shared<NetAbort>(), &tls);
    };
    ASSERT_TRUE(connect(trusted.Port()).ok());
    const int builds = RootStoreBuilds();
    ASSERT_TRUE(connect(trusted.Port()).ok());
    ASSERT_TRUE(connect(trusted.Port()).ok());
    EXPECT_EQ(RootStoreBuilds(), builds);  // reused

    NetStatus st = connect(rogue.Port());
    EXPECT_EQ(st.cause, NetCause::Certificate) << st.detail;
    EXPECT_EQ(RootStoreBuilds(), builds + 1);  // one fresh copy tried, still without that root

    // A store built before the test CA was trusted (here: one without any root): the session verifies against a
    // fresh copy and succeeds, and later sessions share that copy.
    NetStatus loadStatus;
    const OpenSslApi* api = LoadOpenSsl(L"", &loadStatus);
    ASSERT_NE(api, nullptr);
    ReplaceSharedRootStore(*api, api->X509_STORE_new());
    st = connect(trusted.Port());
    EXPECT_TRUE(st.ok()) << st.detail;
    EXPECT_EQ(RootStoreBuilds(), builds + 2);
    EXPECT_TRUE(connect(trusted.Port()).ok());
    EXPECT_EQ(RootStoreBuilds(), builds + 2);
}

// The store built ahead on a worker is the one the first session takes: that session builds nothing.
TEST_F(TlsTest, AWarmUpBuildsTheStoreTheFirstSessionTakes) {
    NetStatus loadStatus;
    const OpenSslApi* api = LoadOpenSsl(L"", &loadStatus);
    ASSERT_NE(api, nullptr);
    ReplaceSharedRootStore(*api, nullptr);  // as in a fresh process: no store yet
    const int builds = RootStoreBuilds();
    {
        RootStoreWarmUp warmUp;
        EXPECT_TRUE(warmUp.Wait());
    }
    EXPECT_EQ(RootStoreBuilds(), builds + 1);
    ScriptServer trusted(Echo, std::make_unique<TlsServerOptions>(nettest::ServerTls()));
    std::unique_ptr<TlsStream> tls;
    NetStatus st = ConnectImaps(L"localhost", trusted.Port(), options_, std::make_shared<NetAbort>(), &tls);
    EXPECT_TRUE(st.ok()) << st.detail;
    EXPECT_EQ(RootStoreBuilds(), builds + 1);
    // Without the library the worker builds nothing and the store stays as it is.
    {
        RootStoreWarmUp missing(L"C:\\no such folder");
        EXPECT_FALSE(missing.Wait());
    }
    EXPECT_EQ(RootStoreBuilds(), builds + 1);
}

TEST_F(TlsTest, VerifiedSessionCarriesData) {
    ScriptServer server(Echo, std::make_unique<TlsServerOptions>(nettest::ServerTls()));
    std::unique_ptr<TlsStream> tls;
    NetStatus st = ConnectImaps(L"localhost", server.Port(), options_, std::make_shared<NetAbort>(), &tls);
    ASSERT_TRUE(st.ok()) << st.detail;
    EXPECT_TRUE(tls->Version() == "TLSv1.2" || tls->Version() == "TLSv1.3") << tls->Version();
    // Larger than a TLS record both ways.
    std::string line(100000, 'x');
    for (size_t i = 0; i < line.size(); i += 7)
        line[i] = static_cast<char>('a' + i % 26);
    std::string sent = line + "\r\n";
    ASSERT_TRUE(tls->Write(sent.data(), sent.size()).ok());
    std::string echoed;
    while (echoed.size() < sent.size()) {
        char buf[4096];
        size_t got = 0;
        ASSERT_TRUE(tls->Read(buf, sizeof buf, &got).ok());
        echoed.append(buf, got);
    }
    EXPECT_EQ(echoed, sent);
}

TEST_F(TlsTest, RefusedBeforeAnyData) {
    for (const nettest::TlsRefusal& c : nettest::TlsRefusals()) {
        SCOPED_TRACE(c.name);
        ScriptServer server(Echo, c.ServerOptions());
        std::unique_ptr<TlsStream> tls;
        NetStatus st = ConnectImaps(c.host, server.Port(), options_, std::make_shared<NetAbort>(), &tls);
        EXPECT_EQ(st.code, NetCode::Connection);
        EXPECT_EQ(st.cause, c.cause) << st.detail;
        EXPECT_FALSE(tls);
        server.Stop();
        EXPECT_TRUE(server.Received().empty());
    }
}

TEST_F(TlsTest, MissingLibrary) {
    NetStatus st;
    EXPECT_EQ(LoadOpenSsl(L"C:\\no-such-folder", &st), nullptr);
    EXPECT_EQ(st.cause, NetCause::Library);
    EXPECT_EQ(st.detail.rfind(kOpenSslMissing, 0), 0u);
    EXPECT_NE(LoadOpenSsl(L"", &st), nullptr) << st.detail;  // the DLLs beside the program
}

TEST_F(TlsTest, SilentPeerTimesOutAndAbortEndsTheWait) {
    // A plain TCP server that never speaks TLS: the handshake waits for its first record.
    ScriptServer silent([](ScriptConnection& c) { c.WaitClosed(); }, nullptr);
    std::unique_ptr<TlsStream> tls;
    NetStatus st = ConnectImaps(L"localhost", silent.Port(), options_, std::make_shared<NetAbort>(), &tls);
    EXPECT_EQ(st.cause, NetCause::Timeout) << st.detail;

    options_.timeouts.ioMs = 60000;
    auto abort = std::make_shared<NetAbort>();
    std::thread gui([abort] {
        Sleep(300);
        abort->Abort();
    });
    st = ConnectImaps(L"localhost", silent.Port(), options_, abort, &tls);
    gui.join();
    EXPECT_EQ(st.code, NetCode::Cancelled) << st.detail;

    // An abort raised before the start ends at once too.
    st = ConnectImaps(L"localhost", silent.Port(), options_, abort, &tls);
    EXPECT_EQ(st.code, NetCode::Cancelled);
}

TEST_F(TlsTest, NothingListening) {
    uint16_t port;
    {
        ScriptServer probe(Echo, nullptr);
        port = probe.Port();
    }
    std::unique_ptr<TcpConnection> tcp;
    NetStatus st = TcpConnection::Connect(L"127.0.0.1", port, options_.timeouts, std::make_shared<NetAbort>(), &tcp);
    EXPECT_EQ(st.code, NetCode::Connection);
    EXPECT_EQ(st.cause, NetCause::Connect) << st.detail;
}

}  // namespace
