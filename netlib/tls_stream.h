// TlsStream: a TLS session over any ByteStream (normally a TcpConnection), driven through memory BIOs so that all
// socket waits, time-outs and aborts stay in the transport. Client sessions negotiate TLS 1.2 or newer, send SNI
// and verify the chain against the Windows root stores and the host name with SSL_set1_host.
// Contract: the stream owns its transport and its SSL objects; one thread at a time; a failed handshake leaves
// nothing behind. The server role exists for loopback test servers.
#pragma once

#include <memory>
#include <string>

#include "netlib/net_stream.h"

namespace netlib {

struct OpenSslApi;

struct TlsClientOptions {
    std::wstring libraryFolder;  // where the OpenSSL DLLs are; empty = the program's folder
};

struct TlsServerOptions {
    std::wstring libraryFolder;
    std::string certificatePem;
    std::string privateKeyPem;
    int maxVersion = 0;      // e.g. TLS1_1_VERSION to offer only old protocols; 0 = no limit
    std::string cipherList;  // empty = OpenSSL's default
};

class TlsStream : public ByteStream {
  public:
    // Handshakes as a client for host (a name or an address literal). Certificate problems fail with
    // NetCause::Certificate before any application data is sent.
    static NetStatus Connect(std::unique_ptr<ByteStream> transport,
                             const std::wstring& host,
                             const TlsClientOptions& options,
                             std::unique_ptr<TlsStream>* stream);
    static NetStatus Accept(std::unique_ptr<ByteStream> transport,
                            const TlsServerOptions& options,
                            std::unique_ptr<TlsStream>* stream);

    ~TlsStream() override;
    TlsStream(const TlsStream&) = delete;
    TlsStream& operator=(const TlsStream&) = delete;

    NetStatus Write(const void* data, size_t size) override;
    NetStatus Read(void* buffer, size_t capacity, size_t* received) override;

    // Sends close_notify (best effort, no wait for the peer's).
    void Close();
    // The negotiated protocol, e.g. "TLSv1.3".
    std::string Version() const;

  private:
    struct Impl;
    explicit TlsStream(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace netlib
