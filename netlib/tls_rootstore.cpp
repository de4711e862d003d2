// Copies the Windows ROOT stores into an OpenSSL X509_STORE certificate by certificate (DER through d2i_X509), and
// keeps one such store for the whole process.
#include <windows.h>

#include <wincrypt.h>

#include <mutex>

#include "base/Report.h"
#include "netlib/tls_openssl.h"
#include "netlib/tls_rootstore.h"

namespace netlib {
namespace {

int CopyStore(const OpenSslApi& api, HCERTSTORE source, X509_STORE* store) {
    if (!source)
        return 0;
    int count = 0;
    PCCERT_CONTEXT cert = nullptr;
    while ((cert = CertEnumCertificatesInStore(source, cert)) != nullptr) {
        const unsigned char* der = cert->pbCertEncoded;
        X509* x = api.d2i_X509(nullptr, &der, static_cast<long>(cert->cbCertEncoded));
        if (!x)
            continue;
        api.X509_STORE_add_cert(store, x);  // takes its own reference; duplicates are harmless
        api.X509_free(x);
        ++count;
    }
    CertCloseStore(source, 0);
    return count;
}

struct SharedStore {
    std::mutex mutex;
    const OpenSslApi* api = nullptr;  // the library the store belongs to
    X509_STORE* store = nullptr;      // one reference held here
    unsigned generation = 0;
    int builds = 0;
    ULONGLONG builtAt = 0;  // GetTickCount64 of the last build
};

// A root the user removes stops being trusted at the latest this long after: the store is built again then.
constexpr ULONGLONG kMaxStoreAgeMs = 10 * 60 * 1000;

SharedStore& Shared() {
    static SharedStore shared;
    return shared;
}

// Replaces the shared store with a fresh copy of the ROOT stores; the caller holds the mutex.
void Rebuild(SharedStore& s, const OpenSslApi& api) {
    if (s.store)
        s.api->X509_STORE_free(s.store);
    s.store = nullptr;
    s.api = &api;
    ++s.generation;
    ++s.builds;
    s.builtAt = GetTickCount64();
    X509_STORE* fresh = api.X509_STORE_new();
    if (!fresh)
        return;
    if (AddWindowsRootCertificates(api, fresh) == 0) {
        api.X509_STORE_free(fresh);
        return;
    }
    s.store = fresh;
}

X509_STORE* Reference(SharedStore& s, unsigned* generation) {
    *generation = s.generation;
    if (!s.store || s.api->X509_STORE_up_ref(s.store) != 1)
        return nullptr;
    return s.store;
}

}  // namespace

X509_STORE* SharedRootStore(const OpenSslApi& api, unsigned* generation) {
    SharedStore& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.store || s.api != &api || GetTickCount64() - s.builtAt > kMaxStoreAgeMs)
        Rebuild(s, api);
    return Reference(s, generation);
}

X509_STORE* RefreshedRootStore(const OpenSslApi& api, unsigned staleGeneration, unsigned* generation) {
    SharedStore& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.store || s.api != &api || s.generation == staleGeneration)
        Rebuild(s, api);
    return Reference(s, generation);
}

void ReplaceSharedRootStore(const OpenSslApi& api, X509_STORE* store) {
    SharedStore& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.store)
        s.api->X509_STORE_free(s.store);
    s.api = &api;
    s.store = store;
    ++s.generation;
    s.builtAt = GetTickCount64();
}

int RootStoreBuilds() {
    SharedStore& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.builds;
}

RootStoreWarmUp::RootStoreWarmUp(std::wstring libraryFolder) {
    try {
        worker_ = std::thread([this, folder = std::move(libraryFolder)] {
            try {
                NetStatus status;
                const OpenSslApi* api = LoadOpenSsl(folder, &status);
                unsigned generation = 0;
                X509_STORE* store = api ? SharedRootStore(*api, &generation) : nullptr;
                if (store) {
                    api->X509_STORE_free(store);
                    built_ = true;
                }
                // The library's one-time set-up of its TLS side (methods, ciphers, groups) runs at the first
                // context a process makes; made here, it is done before the first session too.
                if (api)
                    api->SSL_CTX_free(api->SSL_CTX_new(api->TLS_client_method()));
            } catch (...) {
                // Nothing is lost: the first session builds the store itself.
                ReportCaught("RootStoreWarmUp: building the store");
            }
        });
    } catch (...) {
        // No thread to be had: the first session builds the store itself.
        ReportCaught("RootStoreWarmUp: starting the worker");
    }
}

RootStoreWarmUp::~RootStoreWarmUp() {
    Wait();
}

bool RootStoreWarmUp::Wait() {
    if (worker_.joinable())
        worker_.join();
    return built_;
}

int AddWindowsRootCertificates(const OpenSslApi& api, X509_STORE* store) {
    int count = CopyStore(api, CertOpenSystemStoreW(0, L"ROOT"), store);
    count += CopyStore(
        api,
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0,
                      CERT_SYSTEM_STORE_LOCAL_MACHINE | CERT_STORE_READONLY_FLAG | CERT_STORE_OPEN_EXISTING_FLAG,
                      L"ROOT"),
        store);
    // Certificates OpenSSL refused must not leave errors that a later call would misread as its own.
    DrainOpenSslErrors(api);
    return count;
}

}  // namespace netlib
