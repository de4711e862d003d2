// The server-list download: the fixed-column parse as a table, and HttpGet against scripted HTTP servers on
// loopback (headers sent, the second response kept, errors, redirects not followed, time-outs, oversized bodies).
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "netlib/http_client.h"
#include "netlib/http_serverlist.h"

using namespace netlib;
using nettest::ScriptConnection;
using nettest::ScriptServer;

namespace {

std::wstring Pad(const std::wstring& s, size_t width) {
    return s + std::wstring(width > s.size() ? width - s.size() : 0, L' ');
}

TEST(ServerList, FixedColumns) {
    const std::wstring line = Pad(L"example.test", 29) + Pad(L"imap.example.test", 40) + L"993";
    struct Case {
        std::wstring text;
        std::vector<ServerListEntry> entries;
    };
    const Case cases[] = {
        {line, {{L"example.test", L"imap.example.test", 993, L"993"}}},
        {Pad(L"a.test", 29) + Pad(L"imap.a.test", 40) + L" 10993 \r\n", {{L"a.test", L"imap.a.test", 10993, L"10993"}}},
        {Pad(L"a.test", 29) + Pad(L"imap.a.test", 40) + L"abc", {{L"a.test", L"imap.a.test", 993, L"abc"}}},
        {Pad(L"a.test", 29) + L"short.host", {{L"a.test", L"short.host", 993, L""}}},
        {L"", {}},
        {L"\r\n", {{L"", L"", 993, L""}}},
        {line + L"\r\n\r\n" + line,
         {{L"example.test", L"imap.example.test", 993, L"993"},
          {L"", L"", 993, L""},
          {L"example.test", L"imap.example.test", 993, L"993"}}},
        {line + L"\n" + line + L"\n",
         {{L"example.test", L"imap.example.test", 993, L"993"}, {L"example.test", L"imap.example.test", 993, L"993"}}},
        {Pad(L"a.test", 29) + Pad(L"h", 40) + L"99999999999", {{L"a.test", L"h", 993, L"99999999999"}}},
    };
    for (const Case& c : cases) {
        std::vector<ServerListEntry> got = ParseServerList(c.text);
        ASSERT_EQ(got.size(), c.entries.size()) << std::string(c.text.begin(), c.text.end());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].domain, c.entries[i].domain);
            EXPECT_EQ(got[i].host, c.entries[i].host);
            EXPECT_EQ(got[i].port, c.entries[i].port);
            EXPECT_EQ(got[i].portText, c.entries[i].portText);
        }
    }
}

// Answers each request with the next of the responses; records the request lines.
ScriptServer::Handler Responder(std::vector<std::string> responses) {
    auto next = std::make_shared<size_t>(0);
    return [responses, next](ScriptConnection& c) {
        std::string line;
        while (c.ReadLine(&line)) {
            if (!line.empty())
                continue;
            if (*next >= responses.size())
                return;
            const std::string& r = responses[(*next)++];
            if (r.empty()) {
                c.WaitClosed();  // never answer
                return;
            }
            c.Send(r);
            return;  // Connection: close
        }
    };
}

std::string Response(const std::string& status, const std::string& body, const std::string& extra = "") {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n" +
           extra + "\r\n" + body;
}

TEST(HttpGet, DownloadKeepsTheSecondBodyAndSendsTheHeaders) {
    ScriptServer server(
        Responder({Response("200 OK", "first response"), Response("200 OK",
                                                                  "\xEF\xBB\xBF"
                                                                  "d.test                       imap.d.test"
                                                                  "                             993\r\n")}),
        nullptr);
    HttpGetOptions o;
    // Generous: only a loaded machine comes near it (WinHTTP's first start under Wine is slow), and a reply
    // that comes ends the wait at once.
    o.timeoutMs = 20000;
    std::wstring text;
    NetStatus st = DownloadServerList(L"127.0.0.1", server.Port(), o, &text);
    ASSERT_TRUE(st.ok()) << st.detail;
    std::vector<ServerListEntry> entries = ParseServerList(text);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].domain, L"d.test");
    EXPECT_EQ(entries[0].host, L"imap.d.test");
    server.Stop();
    EXPECT_EQ(server.Connections(), 2);
    std::vector<std::string> req = server.Received();
    ASSERT_FALSE(req.empty());
    EXPECT_EQ(req[0], "GET /download/trelmmailimap.txt HTTP/1.1");
    auto has = [&](const std::string& header) {
        for (const std::string& l : req)
            if (l == header)
                return true;
        return false;
    };
    EXPECT_TRUE(has("User-Agent: Mozilla/3.0 (compatible; Indy Library)"));
    EXPECT_TRUE(has("Accept: text/html, */*"));
    EXPECT_TRUE(has("Content-Type: text/html"));
}

TEST(HttpGet, Failures) {
    struct Case {
        const char* name;
        std::vector<std::string> responses;
        size_t maxBody;
        NetCause cause;
        int connections;
    };
    const Case cases[] = {
        {"not found", {Response("404 Not Found", "nope")}, 1 << 20, NetCause::Http, 1},
        {"redirect not followed",
         {Response("302 Found", "", "Location: http://127.0.0.1:1/elsewhere\r\n")},
         1 << 20,
         NetCause::Http,
         1},
        {"no answer", {""}, 1 << 20, NetCause::Timeout, 1},
        {"oversized body", {Response("200 OK", std::string(5000, 'x'))}, 1000, NetCause::TooLarge, 1},
        {"first of two fails", {Response("500 Oops", "")}, 1 << 20, NetCause::Http, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptServer server(Responder(c.responses), nullptr);
        HttpGetOptions o;
        o.timeoutMs = 1500;
        o.maxBody = c.maxBody;
        std::wstring text = L"stale";
        NetStatus st = DownloadServerList(L"127.0.0.1", server.Port(), o, &text);
        EXPECT_FALSE(st.ok());
        EXPECT_EQ(st.cause, c.cause) << st.detail;
        EXPECT_TRUE(text.empty());
        server.Stop();
        EXPECT_EQ(server.Connections(), c.connections);
    }
}

// One deadline for the whole exchange: a body whose bytes each come well within the read time-out still ends there,
// and a deadline already past sends nothing.
TEST(HttpGet, TheDeadlineEndsASlowBodyAndAPastOneSendsNothing) {
    const std::string body(20, 'x');
    ScriptServer server(
        [&](ScriptConnection& c) {
            std::string line;
            while (c.ReadLine(&line) && !line.empty()) {
            }
            if (!c.Send("HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n"))
                return;
            for (char byte : body) {
                Sleep(200);
                if (!c.Send(std::string(1, byte)))
                    return;
            }
        },
        nullptr);
    HttpGetOptions o;
    o.timeoutMs = 5000;
    o.deadlineTick = GetTickCount64() + 1000;
    std::string got = "stale";
    NetStatus st = HttpGet(L"127.0.0.1", server.Port(), kServerListPath, o, &got);
    EXPECT_FALSE(st.ok());
    EXPECT_EQ(st.cause, NetCause::Timeout) << st.detail;
    EXPECT_TRUE(got.empty());
    server.Stop();

    ScriptServer idle(Responder({Response("200 OK", "late")}), nullptr);
    o.deadlineTick = GetTickCount64() - 1;
    st = HttpGet(L"127.0.0.1", idle.Port(), kServerListPath, o, &got);
    EXPECT_EQ(st.cause, NetCause::Timeout) << st.detail;
    idle.Stop();
    EXPECT_EQ(idle.Connections(), 0);
}

TEST(HttpGet, NothingListening) {
    uint16_t port;
    {
        ScriptServer probe(Responder({}), nullptr);
        port = probe.Port();
    }
    std::string body;
    HttpGetOptions o;
    o.timeoutMs = 3000;
    NetStatus st = HttpGet(L"127.0.0.1", port, kServerListPath, o, &body);
    EXPECT_EQ(st.code, NetCode::Connection);
    EXPECT_TRUE(body.empty());
}

}  // namespace
