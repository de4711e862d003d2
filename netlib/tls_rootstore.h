// Trust anchors for OpenSSL taken from the Windows certificate stores, so that a server is trusted exactly when
// Windows (or the user, by adding a root) trusts it.
// Contract: AddWindowsRootCertificates borrows the store for the call; the certificates added are owned by the store
// afterwards. The shared store is safe from any thread.
#pragma once

#include <openssl/x509_vfy.h>

#include <string>
#include <thread>

namespace netlib {

struct OpenSslApi;

// Adds every certificate of the ROOT stores of the current user and of the local machine to store; returns how
// many were decoded (duplicates included).
int AddWindowsRootCertificates(const OpenSslApi& api, X509_STORE* store);

// The trust store every client session of the process shares: copying the ROOT stores costs a noticeable part of
// a check, so it is built on first use and kept (for ten minutes at most, so that a removed root does not stay
// trusted). Returns a new reference (the caller frees it, or hands it to
// SSL_CTX_set_cert_store) and the store's generation; nullptr when no root certificate could be read.
X509_STORE* SharedRootStore(const OpenSslApi& api, unsigned* generation);
// After a verification against generation failed: builds the store again from the ROOT stores, unless another
// session already did since, so a root added meanwhile is found. Returns a new reference to the current store.
X509_STORE* RefreshedRootStore(const OpenSslApi& api, unsigned staleGeneration, unsigned* generation);
// How often the shared store was built in this process (for tests and the benchmark).
int RootStoreBuilds();
// Puts store (a new reference, taken over) in place of the shared one as if it had just been built; tests use
// it to stand for a store that predates a root.
void ReplaceSharedRootStore(const OpenSslApi& api, X509_STORE* store);

// Builds the shared store on a worker so that the first session of the process finds it ready (a session that
// comes while the worker builds waits for that build instead of making its own), and makes one client context there
// so that the library's one-time TLS set-up is done too. The destructor waits for the
// worker. A missing library or an empty ROOT store only leaves the store to the first session, as before.
class RootStoreWarmUp {
  public:
    explicit RootStoreWarmUp(std::wstring libraryFolder = {});
    ~RootStoreWarmUp();
    RootStoreWarmUp(const RootStoreWarmUp&) = delete;
    RootStoreWarmUp& operator=(const RootStoreWarmUp&) = delete;
    // Waits for the worker; whether it left a store in place.
    bool Wait();

  private:
    std::thread worker_;
    bool built_ = false;
};

}  // namespace netlib
