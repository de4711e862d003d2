// Copies the Windows ROOT stores into an OpenSSL X509_STORE certificate by certificate (DER through d2i_X509).
#include <windows.h>

#include <wincrypt.h>

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

}  // namespace

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
