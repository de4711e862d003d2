// TLS over a ByteStream with two memory BIOs: OpenSSL writes records into the outgoing BIO, which we send, and
// reads records from the incoming BIO, which we fill from the transport whenever it asks for more.
#include <winsock2.h>

#include <windows.h>
#include <ws2tcpip.h>

#include "base/Utf.h"
#include "netlib/tls_openssl.h"
#include "netlib/tls_rootstore.h"
#include "netlib/tls_stream.h"

namespace netlib {
namespace {

// Frees an OpenSSL object through the free function of the library it came from (Free: a member of OpenSslApi).
template <auto Free>
struct ApiFree {
    const OpenSslApi* api;
    template <typename T>
    void operator()(T* p) const {
        (api->*Free)(p);
    }
};
using CtxFree = ApiFree<&OpenSslApi::SSL_CTX_free>;
using SslFree = ApiFree<&OpenSslApi::SSL_free>;
using BioFree = ApiFree<&OpenSslApi::BIO_free>;
using X509Free = ApiFree<&OpenSslApi::X509_free>;
using PkeyFree = ApiFree<&OpenSslApi::EVP_PKEY_free>;
using CtxPtr = std::unique_ptr<SSL_CTX, CtxFree>;
using SslPtr = std::unique_ptr<SSL, SslFree>;
using BioPtr = std::unique_ptr<BIO, BioFree>;
using X509Ptr = std::unique_ptr<X509, X509Free>;
using PkeyPtr = std::unique_ptr<EVP_PKEY, PkeyFree>;

bool IsAddressLiteral(const std::wstring& host) {
    IN_ADDR v4;
    IN6_ADDR v6;
    return InetPtonW(AF_INET, host.c_str(), &v4) == 1 || InetPtonW(AF_INET6, host.c_str(), &v6) == 1;
}

}  // namespace

struct TlsStream::Impl {
    const OpenSslApi* api = nullptr;
    std::unique_ptr<ByteStream> transport;
    CtxPtr ctx{nullptr, CtxFree{nullptr}};
    SslPtr ssl{nullptr, SslFree{nullptr}};
    BIO* in = nullptr;   // owned by ssl after SSL_set_bio
    BIO* out = nullptr;  // owned by ssl after SSL_set_bio
    bool client = true;
    unsigned storeGeneration = 0;  // of the shared trust store the session verifies against

    // OpenSSL's chain verification, run again against a freshly built trust store when it found no trusted root:
    // the shared store may predate a root the user has added since.
    static int VerifyChain(X509_STORE_CTX* ctx, void* arg) {
        Impl* self = static_cast<Impl*>(arg);
        const OpenSslApi* api = self->api;
        int ok = api->X509_verify_cert(ctx);
        const int error = api->X509_STORE_CTX_get_error(ctx);
        if (ok > 0 || (error != X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY &&
                       error != X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT && error != X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN &&
                       error != X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT && error != X509_V_ERR_CERT_UNTRUSTED))
            return ok;
        X509_STORE* fresh = RefreshedRootStore(*api, self->storeGeneration, &self->storeGeneration);
        X509_STORE_CTX* again = fresh ? api->X509_STORE_CTX_new() : nullptr;
        if (again &&
            api->X509_STORE_CTX_init(again, fresh, api->X509_STORE_CTX_get0_cert(ctx),
                                     api->X509_STORE_CTX_get0_untrusted(ctx)) == 1 &&
            api->X509_VERIFY_PARAM_set1(api->X509_STORE_CTX_get0_param(again), api->X509_STORE_CTX_get0_param(ctx)) ==
                1) {
            ok = api->X509_verify_cert(again);
            api->X509_STORE_CTX_set_error(ctx, api->X509_STORE_CTX_get_error(again));
            if (ok > 0)
                api->X509_STORE_CTX_set0_verified_chain(ctx, api->X509_STORE_CTX_get1_chain(again));
        }
        if (again)
            api->X509_STORE_CTX_free(again);
        if (fresh)
            api->X509_STORE_free(fresh);
        return ok;
    }

    NetStatus Flush() {
        char buf[16384];
        while (api->BIO_ctrl_pending(out) > 0) {
            int n = api->BIO_read(out, buf, sizeof buf);
            if (n <= 0)
                break;
            if (NetStatus st = transport->Write(buf, static_cast<size_t>(n)); !st)
                return st;
        }
        return NetStatus::Success();
    }

    NetStatus Fill() {
        char buf[16384];
        size_t got = 0;
        if (NetStatus st = transport->Read(buf, sizeof buf, &got); !st)
            return st;
        if (api->BIO_write(in, buf, static_cast<int>(got)) != static_cast<int>(got))
            return OpenSslFailure(*api, NetCause::Tls, "BIO_write");
        return NetStatus::Success();
    }

    // Runs one SSL call until it completes, feeding the BIOs; result > 0 on success.
    template <typename Op>
    NetStatus Pump(Op op, int* result, const char* what) {
        for (;;) {
            api->ERR_clear_error();
            int r = op();
            NetStatus flushed = Flush();
            if (r > 0) {
                *result = r;
                return flushed;
            }
            int e = api->SSL_get_error(ssl.get(), r);
            if (e == SSL_ERROR_WANT_READ) {
                if (!flushed)
                    return flushed;
                if (NetStatus st = Fill(); !st)
                    return st;
                continue;
            }
            if (e == SSL_ERROR_WANT_WRITE) {
                if (!flushed)
                    return flushed;
                continue;
            }
            if (e == SSL_ERROR_ZERO_RETURN) {
                DrainOpenSslErrors(*api);
                return NetStatus::Fail(NetCode::Connection, NetCause::Closed, "TLS session closed by the peer");
            }
            if (client) {
                long verify = api->SSL_get_verify_result(ssl.get());
                if (verify != X509_V_OK)
                    return OpenSslFailure(
                        *api, NetCause::Certificate,
                        std::string("certificate verification failed: ") + api->X509_verify_cert_error_string(verify));
            }
            return OpenSslFailure(*api, NetCause::Tls, std::string(what) + " failed");
        }
    }

    NetStatus MakeSsl() {
        BioPtr rb(api->BIO_new(api->BIO_s_mem()), BioFree{api});
        BioPtr wb(api->BIO_new(api->BIO_s_mem()), BioFree{api});
        ssl = SslPtr(api->SSL_new(ctx.get()), SslFree{api});
        if (!rb || !wb || !ssl)
            return OpenSslFailure(*api, NetCause::Tls, "SSL_new");
        in = rb.release();
        out = wb.release();
        api->SSL_set_bio(ssl.get(), in, out);
        return NetStatus::Success();
    }

    // Loads OpenSSL and makes the context for one role; the caller configures it, then calls MakeSsl.
    static NetStatus Create(const std::wstring& libraryFolder,
                            std::unique_ptr<ByteStream> transport,
                            bool client,
                            std::unique_ptr<Impl>* impl) {
        NetStatus st;
        const OpenSslApi* api = LoadOpenSsl(libraryFolder, &st);
        if (!api)
            return st;
        auto p = std::make_unique<Impl>();
        p->api = api;
        p->transport = std::move(transport);
        p->client = client;
        p->ctx = CtxPtr(api->SSL_CTX_new(client ? api->TLS_client_method() : api->TLS_server_method()), CtxFree{api});
        if (!p->ctx)
            return OpenSslFailure(*api, NetCause::Tls, "SSL_CTX_new");
        *impl = std::move(p);
        return NetStatus::Success();
    }

    // Runs the handshake of a session whose role is set; only a finished handshake yields a stream.
    static NetStatus Handshake(std::unique_ptr<Impl> impl, std::unique_ptr<TlsStream>* stream) {
        int r = 0;
        const OpenSslApi* api = impl->api;
        SSL* ssl = impl->ssl.get();
        if (NetStatus s = impl->Pump([api, ssl] { return api->SSL_do_handshake(ssl); }, &r, "TLS handshake"); !s)
            return s;
        stream->reset(new TlsStream(std::move(impl)));
        return NetStatus::Success();
    }
};

TlsStream::TlsStream(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

TlsStream::~TlsStream() = default;

NetStatus TlsStream::Connect(std::unique_ptr<ByteStream> transport,
                             const std::wstring& host,
                             const TlsClientOptions& options,
                             std::unique_ptr<TlsStream>* stream) {
    stream->reset();
    std::unique_ptr<Impl> impl;
    if (NetStatus s = Impl::Create(options.libraryFolder, std::move(transport), true, &impl); !s)
        return s;
    const OpenSslApi* api = impl->api;
    if (api->SSL_CTX_ctrl(impl->ctx.get(), SSL_CTRL_SET_MIN_PROTO_VERSION, TLS1_2_VERSION, nullptr) != 1)
        return OpenSslFailure(*api, NetCause::Tls, "setting the minimum protocol version");
    api->SSL_CTX_set_verify(impl->ctx.get(), SSL_VERIFY_PEER, nullptr);
    X509_STORE* store = SharedRootStore(*api, &impl->storeGeneration);
    if (!store)
        return NetStatus::Fail(NetCode::Connection, NetCause::Certificate, "no trusted root certificates");
    api->SSL_CTX_set_cert_store(impl->ctx.get(), store);  // takes the reference
    api->SSL_CTX_set_cert_verify_callback(impl->ctx.get(), &Impl::VerifyChain, impl.get());
    if (NetStatus s = impl->MakeSsl(); !s)
        return s;
    std::string name = WideToUtf8(host);
    if (name.empty() || name.find('\0') != std::string::npos)
        return NetStatus::Fail(NetCode::Connection, NetCause::Certificate, "no host name to verify");
    // SSL_set1_host takes an address literal as an IP to match; SNI is only for names.
    if (api->SSL_set1_host(impl->ssl.get(), name.c_str()) != 1)
        return OpenSslFailure(*api, NetCause::Tls, "SSL_set1_host");
    if (!IsAddressLiteral(host) && api->SSL_ctrl(impl->ssl.get(), SSL_CTRL_SET_TLSEXT_HOSTNAME,
                                                 TLSEXT_NAMETYPE_host_name, const_cast<char*>(name.c_str())) != 1)
        return OpenSslFailure(*api, NetCause::Tls, "setting the server name");
    api->SSL_set_connect_state(impl->ssl.get());
    return Impl::Handshake(std::move(impl), stream);
}

NetStatus TlsStream::Accept(std::unique_ptr<ByteStream> transport,
                            const TlsServerOptions& options,
                            std::unique_ptr<TlsStream>* stream) {
    stream->reset();
    std::unique_ptr<Impl> impl;
    if (NetStatus s = Impl::Create(options.libraryFolder, std::move(transport), false, &impl); !s)
        return s;
    const OpenSslApi* api = impl->api;
    if (!options.cipherList.empty() && api->SSL_CTX_set_cipher_list(impl->ctx.get(), options.cipherList.c_str()) != 1)
        return OpenSslFailure(*api, NetCause::Tls, "SSL_CTX_set_cipher_list");
    if (options.maxVersion != 0) {
        api->SSL_CTX_ctrl(impl->ctx.get(), SSL_CTRL_SET_MIN_PROTO_VERSION, TLS1_VERSION, nullptr);
        api->SSL_CTX_ctrl(impl->ctx.get(), SSL_CTRL_SET_MAX_PROTO_VERSION, options.maxVersion, nullptr);
    }
    BioPtr certBio(api->BIO_new_mem_buf(options.certificatePem.data(), static_cast<int>(options.certificatePem.size())),
                   BioFree{api});
    BioPtr keyBio(api->BIO_new_mem_buf(options.privateKeyPem.data(), static_cast<int>(options.privateKeyPem.size())),
                  BioFree{api});
    if (!certBio || !keyBio)
        return OpenSslFailure(*api, NetCause::Tls, "BIO_new_mem_buf");
    X509Ptr cert(api->PEM_read_bio_X509(certBio.get(), nullptr, nullptr, nullptr), X509Free{api});
    PkeyPtr key(api->PEM_read_bio_PrivateKey(keyBio.get(), nullptr, nullptr, nullptr), PkeyFree{api});
    if (!cert || !key || api->SSL_CTX_use_certificate(impl->ctx.get(), cert.get()) != 1 ||
        api->SSL_CTX_use_PrivateKey(impl->ctx.get(), key.get()) != 1)
        return OpenSslFailure(*api, NetCause::Tls, "loading the server certificate");
    if (NetStatus s = impl->MakeSsl(); !s)
        return s;
    api->SSL_set_accept_state(impl->ssl.get());
    return Impl::Handshake(std::move(impl), stream);
}

NetStatus TlsStream::Write(const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        int chunk = static_cast<int>(size > 16384 ? 16384 : size);
        int r = 0;
        const OpenSslApi* api = impl_->api;
        SSL* ssl = impl_->ssl.get();
        if (NetStatus st = impl_->Pump([api, ssl, p, chunk] { return api->SSL_write(ssl, p, chunk); }, &r, "SSL_write");
            !st)
            return st;
        p += r;
        size -= static_cast<size_t>(r);
    }
    return NetStatus::Success();
}

NetStatus TlsStream::Read(void* buffer, size_t capacity, size_t* received) {
    *received = 0;
    int cap = static_cast<int>(capacity > 65536 ? 65536 : capacity);
    int r = 0;
    const OpenSslApi* api = impl_->api;
    SSL* ssl = impl_->ssl.get();
    if (NetStatus st = impl_->Pump([api, ssl, buffer, cap] { return api->SSL_read(ssl, buffer, cap); }, &r, "SSL_read");
        !st)
        return st;
    *received = static_cast<size_t>(r);
    return NetStatus::Success();
}

void TlsStream::Close() {
    impl_->api->SSL_shutdown(impl_->ssl.get());
    impl_->Flush();
    DrainOpenSslErrors(*impl_->api);
}

std::string TlsStream::Version() const {
    const char* v = impl_->api->SSL_get_version(impl_->ssl.get());
    return v ? v : "";
}

}  // namespace netlib
