// Test support for the network layer; see TestSupport.h.
#include <windows.h>

#include <wincrypt.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include "TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include <openssl/ssl.h>

#include "netlib/net_socket.h"
#include "tests/TestFiles.h"

namespace nettest {

std::string FixtureDir() {
    const char* d = std::getenv("NETLIB_DOVECOT_DIR");
    return d ? d : "";
}

std::wstring WinePath(const std::string& unixPath) {
    std::wstring w = L"Z:";
    for (char c : unixPath)
        w += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return w;
}

std::string FixtureValue(const std::string& key) {
    if (FixtureDir().empty())
        return {};
    std::istringstream in(trelm_test::ReadFileString(WinePath(FixtureDir() + "/info")));
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, key.size() + 1, key + "=") == 0)
            return line.substr(key.size() + 1);
    return {};
}

std::string RunFixtureCtl(const std::vector<std::string>& args, bool* ok) {
    if (ok)
        *ok = false;
    const char* script = std::getenv("NETLIB_DOVECOT_CTL");
    const std::string dir = FixtureDir();
    if (!script || dir.empty())
        return {};
    // Wine runs a Unix script (executable, with its #! line) given by its Z: path and hands it the arguments
    // unchanged, so they stay Unix paths. It cannot wait for a Unix process, so the script reports through files.
    static std::atomic<int> counter{0};
    const std::string result = dir + "/ctl-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    std::wstring cmd = L"\"" + WinePath(script) + L"\" \"" + std::wstring(dir.begin(), dir.end()) + L"\" --result \"" +
                       std::wstring(result.begin(), result.end()) + L"\"";
    for (const std::string& a : args) {
        int n = MultiByteToWideChar(CP_UTF8, 0, a.c_str(), -1, nullptr, 0);
        std::wstring w(n > 0 ? n - 1 : 0, L'\0');
        MultiByteToWideChar(CP_UTF8, 0, a.c_str(), -1, w.data(), n);
        cmd += L" \"" + w + L"\"";
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        fprintf(stderr, "cannot run dovecot-ctl.sh (error %lu)\n", static_cast<unsigned long>(GetLastError()));
        return {};
    }
    // For a Unix program Wine reports success but leaves the PROCESS_INFORMATION handles as whatever was on its
    // stack: closing them would close some other live handle of this process. There is nothing to close.
    const std::wstring rcFile = WinePath(result + ".rc");
    for (int i = 0; i < 6000 && GetFileAttributesW(rcFile.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(20);
    std::string rc = trelm_test::ReadFileString(rcFile);
    std::string out = trelm_test::ReadFileString(WinePath(result + ".out"));
    if (ok)
        *ok = !rc.empty() && rc[0] == '0';
    if (rc.empty() || rc[0] != '0')
        fprintf(stderr, "dovecot-ctl.sh failed (%s): %s\n", rc.c_str(),
                trelm_test::ReadFileString(WinePath(result + ".err")).c_str());
    for (const char* ext : {".rc", ".out", ".err"})
        DeleteFileW(WinePath(result + ext).c_str());
    return out;
}

std::string PollFixtureCtl(const std::vector<std::string>& args,
                           const std::function<bool(const std::string&)>& done,
                           unsigned ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        bool ok = false;
        std::string out = RunFixtureCtl(args, &ok);
        if ((ok && done(out)) || GetTickCount64() >= deadline)
            return out;
        Sleep(50);
    }
}

std::string WriteFixtureFile(const std::string& name, const std::string& bytes) {
    std::string path = FixtureDir() + "/" + name;
    trelm_test::WriteFileBytes(WinePath(path), bytes);
    return path;
}

bool TrustTestCa() {
    std::string der = trelm_test::ReadFileString(WinePath(FixtureValue("CA_DER")));
    if (der.empty())
        return false;
    HCERTSTORE store = CertOpenSystemStoreW(0, L"ROOT");
    if (!store)
        return false;
    BOOL added =
        CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                         static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    CertCloseStore(store, 0);
    return added != FALSE;
}

netlib::TlsServerOptions ServerTls(bool rogue) {
    netlib::TlsServerOptions o;
    o.certificatePem = trelm_test::ReadFileString(WinePath(FixtureValue(rogue ? "ROGUE_CERT" : "SERVER_CERT")));
    o.privateKeyPem = trelm_test::ReadFileString(WinePath(FixtureValue(rogue ? "ROGUE_KEY" : "SERVER_KEY")));
    return o;
}

std::unique_ptr<netlib::TlsServerOptions> TlsRefusal::ServerOptions() const {
    auto o = std::make_unique<netlib::TlsServerOptions>(ServerTls(rogue));
    o->maxVersion = maxVersion;
    if (maxVersion)
        o->cipherList = "DEFAULT:@SECLEVEL=0";  // OpenSSL 3 refuses the old protocols at the default level
    return o;
}

std::vector<TlsRefusal> TlsRefusals() {
    using netlib::NetCause;
    return {
        {"untrusted CA", true, L"localhost", 0, NetCause::Certificate},
        {"name not on the certificate", false, L"127.0.0.1", 0, NetCause::Certificate},
        {"TLS 1.0 only", false, L"localhost", TLS1_VERSION, NetCause::Tls},
        {"TLS 1.1 only", false, L"localhost", TLS1_1_VERSION, NetCause::Tls},
    };
}

bool ScriptConnection::Send(const std::string& bytes) {
    return stream_->Write(bytes.data(), bytes.size()).ok();
}

bool ScriptConnection::ReadMore() {
    char buf[4096];
    size_t got = 0;
    if (!stream_->Read(buf, sizeof buf, &got).ok())
        return false;
    buffer_.append(buf, got);
    return true;
}

bool ScriptConnection::ReadLine(std::string* line) {
    for (;;) {
        size_t crlf = buffer_.find("\r\n");
        if (crlf != std::string::npos) {
            *line = buffer_.substr(0, crlf);
            buffer_.erase(0, crlf + 2);
            lines.push_back(*line);
            return true;
        }
        if (!ReadMore())
            return false;
    }
}

bool ScriptConnection::ReadBytes(size_t n, std::string* bytes) {
    while (buffer_.size() < n)
        if (!ReadMore())
            return false;
    *bytes = buffer_.substr(0, n);
    buffer_.erase(0, n);
    return true;
}

void ScriptConnection::WaitClosed() {
    std::string line;
    while (ReadLine(&line)) {
    }
}

ScriptServer::ScriptServer(Handler handler, std::unique_ptr<netlib::TlsServerOptions> tls)
    : handler_(std::move(handler)), tls_(std::move(tls)), abort_(std::make_shared<netlib::NetAbort>()) {
    netlib::EnsureWinsock();
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(s, 8);
    int len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    listener_ = s;
    thread_ = std::thread([this] { Run(); });
}

ScriptServer::~ScriptServer() {
    Stop();
    closesocket(static_cast<SOCKET>(listener_));
}

void ScriptServer::Stop() {
    abort_->Abort();
    if (thread_.joinable())
        thread_.join();
}

std::vector<std::string> ScriptServer::Received() {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

void ScriptServer::Run() {
    // The listener waits through an event, so that Stop's abort also ends a wait for the next client.
    const SOCKET listener = static_cast<SOCKET>(listener_);
    WSAEVENT event = WSACreateEvent();
    WSAEventSelect(listener, event, FD_ACCEPT);
    for (;;) {
        SOCKET c = accept(listener, nullptr, nullptr);
        if (c == INVALID_SOCKET) {
            if (WSAGetLastError() != WSAEWOULDBLOCK)
                break;
            HANDLE handles[2] = {event, static_cast<HANDLE>(abort_->Handle())};
            if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0)
                break;
            WSANETWORKEVENTS ne;
            WSAEnumNetworkEvents(listener, event, &ne);
            continue;
        }
        ++connections_;
        netlib::NetTimeouts t;
        t.ioMs = 10000;
        auto tcp = netlib::TcpConnection::Adopt(c, t, abort_);
        std::unique_ptr<netlib::ByteStream> stream;
        if (tls_) {
            std::unique_ptr<netlib::TlsStream> tlsStream;
            if (!netlib::TlsStream::Accept(std::move(tcp), *tls_, &tlsStream).ok())
                continue;
            stream = std::move(tlsStream);
        } else {
            stream = std::move(tcp);
        }
        ScriptConnection conn(std::move(stream));
        try {
            handler_(conn);
        } catch (...) {
        }
        std::lock_guard<std::mutex> lock(mutex_);
        received_.insert(received_.end(), conn.lines.begin(), conn.lines.end());
    }
    WSACloseEvent(event);
}

namespace {

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return s;
}

// A UID set as its ranges, parsed once per command: a scattered set of thousands of UIDs is checked against
// thousands of messages.
std::vector<std::pair<uint32_t, uint32_t>> ParseSet(const std::string& set) {
    std::vector<std::pair<uint32_t, uint32_t>> ranges;
    std::istringstream in(set);
    std::string part;
    while (std::getline(in, part, ',')) {
        size_t colon = part.find(':');
        uint32_t lo = static_cast<uint32_t>(std::stoul(part.substr(0, colon)));
        uint32_t hi = colon == std::string::npos ? lo : static_cast<uint32_t>(std::stoul(part.substr(colon + 1)));
        ranges.emplace_back(lo, hi);
    }
    return ranges;
}

bool InSet(const std::vector<std::pair<uint32_t, uint32_t>>& ranges, uint32_t uid) {
    for (const auto& [lo, hi] : ranges)
        if (uid >= lo && uid <= hi)
            return true;
    return false;
}

std::string HeaderBlock(const std::string& raw) {
    size_t end = raw.find("\r\n\r\n");
    return end == std::string::npos ? raw + "\r\n" : raw.substr(0, end + 4);
}

// ("type" "subtype" NIL NIL NIL "7BIT" size [lines]) after the letter's Content-Type, text/plain without one.
std::string SinglePartStructure(const std::string& header, const std::string& body) {
    std::string type = "text", subtype = "plain";
    std::string lower = "\n" + header;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t p = lower.find("\ncontent-type:");
    if (p != std::string::npos) {
        size_t start = lower.find(':', p + 1) + 1;
        size_t end = lower.find_first_of(";\r\n", start);
        std::string value = lower.substr(start, end - start);
        value.erase(0, value.find_first_not_of(' '));
        size_t slash = value.find('/');
        if (slash != std::string::npos) {
            type = value.substr(0, slash);
            subtype = value.substr(slash + 1);
        }
    }
    size_t lines = 0;
    for (char c : body)
        lines += c == '\n';
    return "(\"" + type + "\" \"" + subtype + "\" NIL NIL NIL \"7BIT\" " + std::to_string(body.size()) +
           (type == "text" ? " " + std::to_string(lines) : std::string()) + ")";
}

}  // namespace

void FakeImap::Serve(ScriptConnection& c) const {
    if (!c.Send(greeting))
        return;
    std::string line;
    while (c.ReadLine(&line)) {
        // Complete literals the client announces ({n} waits for "+", {n+} does not).
        while (line.size() > 2 && line.back() == '}') {
            size_t open = line.rfind('{');
            bool plus = line[line.size() - 2] == '+';
            size_t n = std::stoul(line.substr(open + 1));
            if (!plus && !c.Send("+ go on\r\n"))
                return;
            std::string bytes, rest;
            if (!c.ReadBytes(n, &bytes) || !c.ReadLine(&rest))
                return;
            c.lines.pop_back();  // the rest of the command joins the line that announced the literal
            c.lines.back() = line + bytes + rest;
            line = c.lines.back();
        }
        std::istringstream in(line);
        std::string tag, verb, arg;
        in >> tag >> verb;
        verb = Upper(verb);
        if (maxLineLength && line.size() > maxLineLength) {
            if (!c.Send(tag + " BAD line too long\r\n"))
                return;
            continue;
        }
        if (verb == "UID") {
            in >> arg;
            verb += " " + Upper(arg);
        }
        if (auto it = on.find(verb); it != on.end()) {
            std::string reply = it->second(tag, line);
            for (const std::string* end : {&kThenClose, &kThenHang}) {
                if (reply.size() >= end->size() && reply.compare(reply.size() - end->size(), end->size(), *end) == 0) {
                    c.Send(reply.substr(0, reply.size() - end->size()));
                    if (end == &kThenHang)
                        c.WaitClosed();
                    return;
                }
            }
            if (reply.empty() || !c.Send(reply))
                return;
            continue;
        }
        std::string reply;
        if (verb == "CAPABILITY") {
            reply = "* CAPABILITY IMAP4rev1 AUTH=PLAIN\r\n" + tag + " OK done\r\n";
        } else if (verb == "LOGIN") {
            reply = tag + " OK logged in\r\n";
        } else if (verb == "SELECT") {
            reply = "* " + std::to_string(messages.size()) + " EXISTS\r\n* OK [UIDVALIDITY 42] ok\r\n" + tag +
                    " OK [READ-WRITE] selected\r\n";
        } else if (verb == "UID SEARCH") {
            reply = "* SEARCH";
            for (const FakeMessage& m : messages)
                reply += " " + std::to_string(m.uid);
            reply += "\r\n" + tag + " OK searched\r\n";
        } else if (verb == "UID FETCH") {
            std::string set;
            in >> set;
            const auto ranges = ParseSet(set);
            const bool headers = line.find("HEADER.FIELDS") != std::string::npos;
            const bool internal = line.find("INTERNALDATE") != std::string::npos;
            const bool structure = line.find("BODYSTRUCTURE") != std::string::npos;
            // BODY.PEEK[section]<0.n> items: the section and its length limit (npos: none).
            std::vector<std::pair<std::string, size_t>> sections;
            for (size_t p = line.find("BODY.PEEK["); !headers && p != std::string::npos;
                 p = line.find("BODY.PEEK[", p + 1)) {
                size_t open = p + 10, close = line.find(']', open);
                if (close == std::string::npos)
                    break;
                size_t limit = std::string::npos;
                if (line.compare(close + 1, 3, "<0.") == 0)
                    limit = std::stoul(line.substr(close + 4));
                sections.emplace_back(line.substr(open, close - open), limit);
            }
            auto literal = [](const std::string& data) { return "{" + std::to_string(data.size()) + "}\r\n" + data; };
            int seq = 0;
            for (const FakeMessage& m : messages) {
                ++seq;
                if (!InSet(ranges, m.uid))
                    continue;
                const std::string header = HeaderBlock(m.raw);
                const std::string body = m.raw.substr(header.size() <= m.raw.size() ? header.size() : m.raw.size());
                std::string items = "UID " + std::to_string(m.uid);
                if (internal)
                    items += " INTERNALDATE \"" + m.internalDate + "\"";
                if (structure)
                    items +=
                        " BODYSTRUCTURE " + (m.structure.empty() ? SinglePartStructure(header, body) : m.structure);
                if (headers)
                    items += " BODY[HEADER.FIELDS (DATE FROM SUBJECT)] " + literal(header);
                for (const auto& [section, limit] : sections) {
                    auto listed = m.sections.find(section);
                    std::string data = listed != m.sections.end() ? listed->second
                                       : section.empty()          ? m.raw
                                       : section == "1"           ? body
                                                                  : std::string();
                    if (limit != std::string::npos)
                        data = data.substr(0, limit);
                    items += " BODY[" + section + "]" + (limit != std::string::npos ? "<0> " : " ") + literal(data);
                }
                reply += "* " + std::to_string(seq) + " FETCH (" + items + ")\r\n";
            }
            reply += tag + " OK fetched\r\n";
        } else if (verb == "LOGOUT") {
            c.Send("* BYE bye\r\n" + tag + " OK logged out\r\n");
            return;
        } else {
            reply = tag + " BAD unknown command\r\n";
        }
        if (!c.Send(reply))
            return;
    }
}

}  // namespace nettest
