// Run-time binding of OpenSSL 3: libcrypto and libssl are loaded from the program's folder on first use and
// every function is called through this table; the headers only lend types and constants.
// Contract: a loaded table lives until the process ends (the DLLs are never unloaded); LoadOpenSsl is safe from
// any thread. Every OpenSSL failure is turned into a NetStatus by OpenSslFailure, which empties the error queue.
#pragma once

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

#include <string>

#include "netlib/net_status.h"

namespace netlib {

#define NETLIB_CRYPTO_FUNCTIONS(X)        \
    X(ERR_get_error)                      \
    X(ERR_error_string_n)                 \
    X(ERR_clear_error)                    \
    X(BIO_new)                            \
    X(BIO_s_mem)                          \
    X(BIO_new_mem_buf)                    \
    X(BIO_read)                           \
    X(BIO_write)                          \
    X(BIO_ctrl_pending)                   \
    X(BIO_free)                           \
    X(X509_STORE_add_cert)                \
    X(X509_STORE_new)                     \
    X(X509_STORE_free)                    \
    X(X509_STORE_up_ref)                  \
    X(X509_verify_cert)                   \
    X(X509_STORE_CTX_new)                 \
    X(X509_STORE_CTX_free)                \
    X(X509_STORE_CTX_init)                \
    X(X509_STORE_CTX_get_error)           \
    X(X509_STORE_CTX_set_error)           \
    X(X509_STORE_CTX_get0_cert)           \
    X(X509_STORE_CTX_get0_untrusted)      \
    X(X509_STORE_CTX_get0_param)          \
    X(X509_STORE_CTX_get1_chain)          \
    X(X509_STORE_CTX_set0_verified_chain) \
    X(X509_VERIFY_PARAM_set1)             \
    X(d2i_X509)                           \
    X(X509_free)                          \
    X(X509_verify_cert_error_string)      \
    X(PEM_read_bio_X509)                  \
    X(PEM_read_bio_PrivateKey)            \
    X(EVP_PKEY_free)

#define NETLIB_SSL_FUNCTIONS(X)         \
    X(OPENSSL_init_ssl)                 \
    X(TLS_client_method)                \
    X(TLS_server_method)                \
    X(SSL_CTX_new)                      \
    X(SSL_CTX_free)                     \
    X(SSL_CTX_ctrl)                     \
    X(SSL_CTX_set_verify)               \
    X(SSL_CTX_get_cert_store)           \
    X(SSL_CTX_set_cert_store)           \
    X(SSL_CTX_set_cert_verify_callback) \
    X(SSL_CTX_set_cipher_list)          \
    X(SSL_CTX_use_certificate)          \
    X(SSL_CTX_use_PrivateKey)           \
    X(SSL_new)                          \
    X(SSL_free)                         \
    X(SSL_set_bio)                      \
    X(SSL_set_connect_state)            \
    X(SSL_set_accept_state)             \
    X(SSL_do_handshake)                 \
    X(SSL_read)                         \
    X(SSL_write)                        \
    X(SSL_get_error)                    \
    X(SSL_shutdown)                     \
    X(SSL_ctrl)                         \
    X(SSL_set1_host)                    \
    X(SSL_get_verify_result)            \
    X(SSL_get_version)

struct OpenSslApi {
#define NETLIB_DECLARE_POINTER(name) decltype(&::name) name = nullptr;
    NETLIB_CRYPTO_FUNCTIONS(NETLIB_DECLARE_POINTER)
    NETLIB_SSL_FUNCTIONS(NETLIB_DECLARE_POINTER)
#undef NETLIB_DECLARE_POINTER
};

// The message a missing or unusable OpenSSL gives, as the user's check reports it.
inline constexpr const char* kOpenSslMissing = "Could not load SSL library.";

// File names of the shipped OpenSSL 3 DLLs for this build's architecture.
const wchar_t* LibCryptoName();
const wchar_t* LibSslName();

// Loads the DLLs from folder (empty: the folder of the running program). Returns nullptr and sets status
// (NetCode::Connection, NetCause::Library, kOpenSslMissing) when they or a function cannot be loaded.
const OpenSslApi* LoadOpenSsl(const std::wstring& folder, NetStatus* status);

// Drains OpenSSL's error queue of this thread into one text; the queue is empty afterwards.
std::string DrainOpenSslErrors(const OpenSslApi& api);

// The single way OpenSSL failures become statuses: drains the queue and appends it to what.
NetStatus OpenSslFailure(const OpenSslApi& api, NetCause cause, const std::string& what);

}  // namespace netlib
