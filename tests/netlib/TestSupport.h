// Support for the network tests: the Dovecot fixture (its info file and control script, run natively through
// Wine), trusting the test CA the way a user would, and a scripted loopback IMAP server over TLS for fault tests.
// Index: FixtureDir/FixtureValue, RunFixtureCtl/PollFixtureCtl, TrustTestCa, ServerTls, TlsRefusal, WriteFixtureFile,
// ScriptConnection, ScriptServer, FakeImap.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "netlib/net_stream.h"
#include "netlib/tls_stream.h"

namespace nettest {

// The Unix folder of the Dovecot fixture (environment NETLIB_DOVECOT_DIR), empty when the fixture is not set up.
std::string FixtureDir();
// A value of the fixture's info file (PORT, CA_DER, SERVER_CERT, ...), empty when missing.
std::string FixtureValue(const std::string& key);
// A Unix path as Wine sees it (Z: drive).
std::wstring WinePath(const std::string& unixPath);
// Runs dovecot-ctl.sh natively with the fixture folder and args; returns its standard output. *ok is false
// when it could not be started or exited with a failure.
std::string RunFixtureCtl(const std::vector<std::string>& args, bool* ok = nullptr);
// Runs dovecot-ctl.sh again and again until its output satisfies done or ms have passed, and returns the last
// output: the server writes its logs a moment after the client has seen the end of the session.
std::string PollFixtureCtl(const std::vector<std::string>& args,
                           const std::function<bool(const std::string&)>& done,
                           unsigned ms = 10000);
// Writes bytes to a fresh file in the fixture folder; returns its Unix path.
std::string WriteFixtureFile(const std::string& name, const std::string& bytes);

// Adds the test CA (DER) to the current user's ROOT store; true when it is there afterwards.
bool TrustTestCa();
// The server certificate and key for "localhost" (signed by the test CA), or of the untrusted CA (rogue).
netlib::TlsServerOptions ServerTls(bool rogue = false);

// A TLS server that a client must refuse in the handshake, before it sends anything, and the cause it must report.
struct TlsRefusal {
    const char* name;
    bool rogue;         // the certificate comes from the untrusted CA
    std::wstring host;  // the name the client connects to
    int maxVersion;     // 0, or the newest (old) protocol the server offers
    netlib::NetCause cause;
    // ServerTls(rogue), limited to maxVersion.
    std::unique_ptr<netlib::TlsServerOptions> ServerOptions() const;
};
// An untrusted CA, a host name the certificate does not carry, TLS 1.0 only, TLS 1.1 only.
std::vector<TlsRefusal> TlsRefusals();

// One accepted connection of a ScriptServer, seen from the server's side.
class ScriptConnection {
  public:
    explicit ScriptConnection(std::unique_ptr<netlib::ByteStream> stream) : stream_(std::move(stream)) {}
    bool Send(const std::string& bytes);
    // Reads one CRLF line (without it); false when the client closed or the read failed.
    bool ReadLine(std::string* line);
    // Reads exactly n bytes (a literal the client sends).
    bool ReadBytes(size_t n, std::string* bytes);
    // Waits until the client closes the connection (or the server's read time-out passes).
    void WaitClosed();
    std::vector<std::string> lines;  // every line read so far

  private:
    // Appends what one read of the stream brings to buffer_; false when the client closed or the read failed.
    bool ReadMore();
    std::unique_ptr<netlib::ByteStream> stream_;
    std::string buffer_;
};

// A loopback server on 127.0.0.1 that runs handler on each accepted connection (TLS when tls is given), one
// connection at a time, on its own thread. The destructor stops it.
class ScriptServer {
  public:
    using Handler = std::function<void(ScriptConnection&)>;
    ScriptServer(Handler handler, std::unique_ptr<netlib::TlsServerOptions> tls);
    ~ScriptServer();
    uint16_t Port() const { return port_; }
    // Stops accepting and waits for the connection being served (idempotent).
    void Stop();
    // Lines all finished connections received (complete after Stop).
    std::vector<std::string> Received();
    int Connections() const { return connections_; }

  private:
    void Run();
    Handler handler_;
    std::unique_ptr<netlib::TlsServerOptions> tls_;
    uintptr_t listener_ = ~uintptr_t(0);
    uint16_t port_ = 0;
    netlib::NetAbortPtr abort_;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> received_;
    std::atomic<int> connections_{0};
};

// A small IMAP server for scripted sessions: it answers LOGIN, SELECT, UID SEARCH, UID FETCH and LOGOUT over a
// list of messages, and any command can be overridden to inject a fault.
struct FakeMessage {
    uint32_t uid;
    std::string raw;
    std::string internalDate = "01-Jan-2024 12:00:00 +0000";
    // The BODYSTRUCTURE sent; empty: a single part of the type the letter's Content-Type names (text/plain
    // without one). A section's data comes from sections when listed there, else "" is the whole letter and "1"
    // the body after the header; any other section comes back empty.
    std::string structure;
    std::map<std::string, std::string> sections;
};
inline const std::string kThenClose = "\x01close";
inline const std::string kThenHang = "\x01hang";
class FakeImap {
  public:
    std::string greeting = "* OK [CAPABILITY IMAP4rev1 AUTH=PLAIN] fake ready\r\n";
    std::vector<FakeMessage> messages;  // all unseen, in server order
    size_t maxLineLength = 0;           // a longer command line is refused with BAD (Dovecot: 64 KB); 0: no limit
    // Override for a command verb (upper case, e.g. "SELECT" or "UID FETCH"): gets the tag and the whole line,
    // returns what to send; "" drops the connection, a reply ending in kThenClose is sent and then the
    // connection dropped, one ending in kThenHang is sent and then the client's time-out awaited.
    std::map<std::string, std::function<std::string(const std::string& tag, const std::string& line)>> on;
    void Serve(ScriptConnection& c) const;
};

}  // namespace nettest
