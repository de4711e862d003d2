// mailcheck_bench: what a mail check costs through our client against a minimal reference client, and how
// StripHtml grows with the body. Run both through tools/mailcheck_bench/run.sh, which starts a private Dovecot with
// 20 unseen letters behind a relay adding 20 ms each way, then:
//
//   mailcheck_bench.exe check <port> <ca.der> <ca.pem> [runs]   our check vs the reference, alternating
//   mailcheck_bench.exe strip                                   StripHtml over 256 KB and 1 MB of tags
//   mailcheck_bench.exe firstuse                                the first use of a check's pieces beside the second
//
// The reference client is plain OpenSSL (linked directly, trusting the test CA from a file) over a blocking socket,
// sending the same IMAP commands as our check: LOGIN, SELECT, UID SEARCH UNSEEN, one UID FETCH of the headers
// with arrival time, one of the structures, one of the text parts, LOGOUT. Our check runs as the notifier runs
// it (TLS through netlib, the trust store from the Windows ROOT stores). Figures are medians of the runs; the
// first check of the process is shown apart. As in the notifier, the trust store is built on a worker from the
// start of the process, and the first check comes when the notifier's first one would: its first timer tick and
// its start delay later (the benchmark's own checks have no start delay).
#include <winsock2.h>

#include <windows.h>
#include <wincrypt.h>
#include <ws2tcpip.h>

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/CheckSchedule.h"
#include "app/MailCheck.h"
#include "base/Files.h"
#include "netlib/tls_openssl.h"
#include "netlib/tls_rootstore.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The reference client: one blocking TLS session, the same commands our check sends.
class Reference {
  public:
    explicit Reference(const std::string& caPem) : caPem_(caPem) {}

    bool Check(uint16_t port, std::string* error) {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (s == INVALID_SOCKET || connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            *error = "connect";
            if (s != INVALID_SOCKET)
                closesocket(s);
            return false;
        }
        SSL_CTX* ctx = SSL_CTX_new(TLS_client_method());
        SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
        SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
        SSL_CTX_load_verify_locations(ctx, caPem_.c_str(), nullptr);
        SSL* ssl = SSL_new(ctx);
        SSL_set_fd(ssl, static_cast<int>(s));
        SSL_set1_host(ssl, "localhost");
        SSL_set_tlsext_host_name(ssl, "localhost");
        bool ok = SSL_connect(ssl) == 1;
        if (!ok)
            *error = "handshake: " + std::string(ERR_error_string(ERR_get_error(), nullptr));
        ssl_ = ssl;
        buffer_.clear();
        std::string uids;
        ok = ok && ReadLine(nullptr) && Command("LOGIN \"user@example.test\" \"secret\"", nullptr, error) &&
             Command("SELECT \"INBOX\"", nullptr, error) && Command("UID SEARCH UNSEEN", &uids, error);
        // The UID set as our client writes it (ranges); Dovecot's bulk letters are 1..n.
        std::string set = SetOf(uids);
        ok = ok && !set.empty() &&
             Command("UID FETCH " + set + " (UID INTERNALDATE BODY.PEEK[HEADER.FIELDS (DATE FROM SUBJECT)])", nullptr,
                     error) &&
             Command("UID FETCH " + set + " (UID BODYSTRUCTURE)", nullptr, error) &&
             Command("UID FETCH " + set + " (UID BODY.PEEK[1]<0.16384>)", nullptr, error) &&
             Command("LOGOUT", nullptr, error);
        SSL_shutdown(ssl);
        SSL_free(ssl);
        SSL_CTX_free(ctx);
        closesocket(s);
        return ok;
    }

  private:
    static std::string SetOf(const std::string& searchLine) {
        std::vector<unsigned> uids;
        size_t p = searchLine.find("SEARCH");
        const char* c = p == std::string::npos ? "" : searchLine.c_str() + p + 6;
        while (*c) {
            char* end = nullptr;
            unsigned long v = strtoul(c, &end, 10);
            if (end == c)
                break;
            uids.push_back(static_cast<unsigned>(v));
            c = end;
        }
        if (uids.empty())
            return {};
        std::sort(uids.begin(), uids.end());
        return std::to_string(uids.front()) + ":" + std::to_string(uids.back());
    }

    // One response line with its literals skipped; *line gets the text of the line.
    bool ReadLine(std::string* line) {
        std::string text;
        for (;;) {
            size_t eol;
            while ((eol = buffer_.find("\r\n")) == std::string::npos)
                if (!Fill())
                    return false;
            std::string part = buffer_.substr(0, eol);
            buffer_.erase(0, eol + 2);
            text += part;
            size_t open = part.rfind('{');
            if (part.empty() || part.back() != '}' || open == std::string::npos)
                break;
            size_t n = strtoul(part.c_str() + open + 1, nullptr, 10);
            while (buffer_.size() < n)
                if (!Fill())
                    return false;
            buffer_.erase(0, n);
        }
        if (line)
            *line = text;
        return true;
    }

    bool Fill() {
        char buf[65536];
        int n = SSL_read(ssl_, buf, sizeof buf);
        if (n <= 0)
            return false;
        buffer_.append(buf, static_cast<size_t>(n));
        return true;
    }

    bool Command(const std::string& command, std::string* untagged, std::string* error) {
        const std::string tag = "r" + std::to_string(++tag_);
        const std::string line = tag + " " + command + "\r\n";
        if (SSL_write(ssl_, line.data(), static_cast<int>(line.size())) <= 0) {
            *error = "write";
            return false;
        }
        for (;;) {
            std::string response;
            if (!ReadLine(&response)) {
                *error = "read after " + command;
                return false;
            }
            if (response.rfind(tag + " ", 0) == 0) {
                if (response.compare(tag.size() + 1, 2, "OK") != 0) {
                    *error = response;
                    return false;
                }
                return true;
            }
            if (untagged && response.rfind("* SEARCH", 0) == 0)
                *untagged = response;
        }
    }

    std::string caPem_;
    SSL* ssl_ = nullptr;
    std::string buffer_;
    int tag_ = 0;
};

// Adds the test CA to the current user's ROOT store, as a user trusting a private server would.
bool TrustCa(const std::wstring& derPath) {
    const std::optional<std::string> der = ReadWholeFile(derPath);
    if (!der || der->empty())
        return false;
    HCERTSTORE store = CertOpenSystemStoreW(0, L"ROOT");
    if (!store)
        return false;
    BOOL added =
        CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der->data()),
                                         static_cast<DWORD>(der->size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    CertCloseStore(store, 0);
    return added != FALSE;
}

std::wstring Widen(const char* s) {
    return std::wstring(s, s + strlen(s));
}

int RunCheck(int argc, char** argv) {
    if (argc < 5) {
        fprintf(stderr, "usage: mailcheck_bench check <port> <ca.der> <ca.pem> [runs]\n");
        return 2;
    }
    const uint16_t port = static_cast<uint16_t>(atoi(argv[2]));
    const int runs = argc > 5 ? std::max(1, atoi(argv[5])) : 9;
    if (!TrustCa(Widen(argv[3]))) {
        fprintf(stderr, "cannot trust the CA %s\n", argv[3]);
        return 1;
    }
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    netlib::RootStoreWarmUp warmUp;
    Sleep(FirstTickMs(false) + TMailCheckOptions{}.StartDelayMs);

    TMailAccountCopy account;
    account.Login = L"user";
    account.Domain = L"example.test";
    account.Parol = L"secret";
    account.HostIMAP = L"localhost";
    account.PortIMAP = port;
    TMailCheckOptions options;
    options.StartDelayMs = 0;
    options.OtobrTextEm = true;
    auto ours = [&](double* ms) {
        const auto t0 = Clock::now();
        TMailCheckResult r = CheckAccountInbox(account, options, std::make_shared<netlib::NetAbort>());
        *ms = MsSince(t0);
        if (!r.Status.ok())
            fprintf(stderr, "our check failed: %s\n", r.Status.detail.c_str());
        return r.Status.ok() && !r.Letters.empty();
    };
    Reference reference(argv[4]);
    auto theirs = [&](double* ms) {
        std::string error;
        const auto t0 = Clock::now();
        bool ok = reference.Check(port, &error);
        *ms = MsSince(t0);
        if (!ok)
            fprintf(stderr, "reference check failed: %s\n", error.c_str());
        return ok;
    };

    double first = 0, firstReference = 0;
    if (!ours(&first) || !theirs(&firstReference))
        return 1;
    std::vector<double> our, ref;
    for (int i = 0; i < runs; ++i) {
        double a = 0, b = 0;
        if (!ours(&a) || !theirs(&b))
            return 1;
        our.push_back(a);
        ref.push_back(b);
    }
    // What each connection paid before the store was shared: one copy of the ROOT stores.
    netlib::NetStatus st;
    const netlib::OpenSslApi* api = netlib::LoadOpenSsl(L"", &st);
    double copyMs = 0;
    if (api) {
        X509_STORE* store = api->X509_STORE_new();
        const auto t0 = Clock::now();
        netlib::AddWindowsRootCertificates(*api, store);
        copyMs = MsSince(t0);
        api->X509_STORE_free(store);
    }
    printf("mail check over a 40 ms round trip, 20 unseen letters with text, median of %d runs\n", runs);
    printf("  reference (plain OpenSSL)  %8.1f ms\n", Median(ref));
    printf("  our check                  %8.1f ms\n", Median(our));
    printf("  ratio                      %8.2f x\n", Median(our) / Median(ref));
    printf(
        "  first check of the process %8.1f ms (the reference's first: %.1f ms); ratio to the reference %.2f x "
        "(goal <= 1.1)\n",
        first, firstReference, first / Median(ref));
    printf("  first check against our warm checks %.2f x\n", first / Median(our));
    printf("  one copy of the ROOT stores %7.1f ms (paid by every connection before the store was shared)\n", copyMs);
    printf("  trust store builds          %7d\n", netlib::RootStoreBuilds());
    return 0;
}

// What the first use of each piece of a check costs in a fresh process beside its second use, once the trust store
// is built: the name lookup, the TLS context and a worker thread.
int RunFirstUse() {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    netlib::RootStoreWarmUp warmUp;
    warmUp.Wait();
    netlib::NetStatus st;
    const netlib::OpenSslApi* api = netlib::LoadOpenSsl(L"", &st);
    if (!api) {
        fprintf(stderr, "no OpenSSL\n");
        return 1;
    }
    auto twice = [](const char* what, const std::function<void()>& work) {
        auto t0 = Clock::now();
        work();
        const double first = MsSince(t0);
        t0 = Clock::now();
        work();
        const double second = MsSince(t0);
        printf("  %-28s first %7.2f ms, second %7.2f ms\n", what, first, second);
    };
    printf("first use in a fresh process after the trust store is built\n");
    twice("name lookup of localhost", [] {
        ADDRINFOW hints{};
        hints.ai_socktype = SOCK_STREAM;
        ADDRINFOW* result = nullptr;
        if (GetAddrInfoW(L"localhost", L"993", &hints, &result) == 0)
            FreeAddrInfoW(result);
    });
    twice("TLS client context", [api] { api->SSL_CTX_free(api->SSL_CTX_new(api->TLS_client_method())); });
    twice("worker thread", [] { std::thread([] {}).join(); });
    return 0;
}

int RunStrip() {
    auto body = [](size_t bytes) {
        const std::wstring unit = L"<script></script>x";
        std::wstring s;
        s.reserve(bytes + unit.size());
        while (s.size() < bytes)
            s += unit;
        s.resize(bytes);
        return s;
    };
    auto best = [](const std::wstring& text) {
        double bestMs = 1e30;
        for (int i = 0; i < 5; ++i) {
            const auto t0 = Clock::now();
            volatile size_t n = StripHtml(text).size();
            (void)n;
            bestMs = std::min(bestMs, MsSince(t0));
        }
        return bestMs;
    };
    const double small = best(body(256 * 1024)), large = best(body(1024 * 1024));
    printf("StripHtml over alternating \"<script></script>x\", best of 5\n");
    printf("  256 KB  %8.2f ms\n", small);
    printf("  1 MB    %8.2f ms\n", large);
    printf("  ratio   %8.2f (4 is linear, 16 quadratic)\n", large / small);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && strcmp(argv[1], "check") == 0)
        return RunCheck(argc, argv);
    if (argc >= 2 && strcmp(argv[1], "strip") == 0)
        return RunStrip();
    if (argc >= 2 && strcmp(argv[1], "firstuse") == 0)
        return RunFirstUse();
    fprintf(stderr, "usage: mailcheck_bench check <port> <ca.der> <ca.pem> [runs] | strip | firstuse\n");
    return 2;
}
