// Trust anchors for OpenSSL taken from the Windows certificate stores, so that a server is trusted exactly when
// Windows (or the user, by adding a root) trusts it.
// Contract: borrows the store for the call; the certificates added are owned by the store afterwards.
#pragma once

#include <openssl/x509_vfy.h>

namespace netlib {

struct OpenSslApi;

// Adds every certificate of the ROOT stores of the current user and of the local machine to store; returns how
// many were decoded (duplicates included).
int AddWindowsRootCertificates(const OpenSslApi& api, X509_STORE* store);

}  // namespace netlib
