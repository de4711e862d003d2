// Loading OpenSSL at run time. The DLLs are taken from the program's own folder by full path, never from the
// search path, so a stray libssl elsewhere on the machine cannot stand in for the shipped one.
#include <windows.h>

#include <map>
#include <memory>
#include <mutex>

#include "base/Files.h"
#include "netlib/tls_openssl.h"

namespace netlib {
namespace {

template <typename T>
bool Bind(HMODULE module, const char* name, T* slot, std::string* missing) {
    *slot = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (!*slot && missing->empty())
        *missing = name;
    return *slot != nullptr;
}

}  // namespace

const wchar_t* LibCryptoName() {
#ifdef _WIN64
    return L"libcrypto-3-x64.dll";
#else
    return L"libcrypto-3.dll";
#endif
}

const wchar_t* LibSslName() {
#ifdef _WIN64
    return L"libssl-3-x64.dll";
#else
    return L"libssl-3.dll";
#endif
}

const OpenSslApi* LoadOpenSsl(const std::wstring& folder, NetStatus* status) {
    static std::mutex mutex;
    static std::map<std::wstring, std::unique_ptr<OpenSslApi>> loaded;

    std::wstring dir = folder;
    if (dir.empty()) {
        dir = ProgramFolder();
        if (dir.empty())
            dir = L".";  // the system cannot name our folder: the working folder is the best guess
    }
    while (!dir.empty() && (dir.back() == L'\\' || dir.back() == L'/'))
        dir.pop_back();

    std::lock_guard<std::mutex> lock(mutex);
    if (auto it = loaded.find(dir); it != loaded.end()) {
        *status = NetStatus::Success();
        return it->second.get();
    }
    auto fail = [status](const std::string& why) -> const OpenSslApi* {
        *status = NetStatus::Fail(NetCode::Connection, NetCause::Library, std::string(kOpenSslMissing) + " " + why);
        return nullptr;
    };
    // libssl imports libcrypto by name; loading libcrypto first by full path makes that import resolve to it.
    const DWORD flags = LOAD_WITH_ALTERED_SEARCH_PATH;
    HMODULE crypto = LoadLibraryExW((dir + L"\\" + LibCryptoName()).c_str(), nullptr, flags);
    if (!crypto)
        return fail("(" + std::to_string(GetLastError()) + " loading libcrypto)");
    HMODULE ssl = LoadLibraryExW((dir + L"\\" + LibSslName()).c_str(), nullptr, flags);
    if (!ssl) {
        DWORD err = GetLastError();
        FreeLibrary(crypto);
        return fail("(" + std::to_string(err) + " loading libssl)");
    }
    auto api = std::make_unique<OpenSslApi>();
    std::string missing;
#define NETLIB_BIND_CRYPTO(name) Bind(crypto, #name, &api->name, &missing);
#define NETLIB_BIND_SSL(name) Bind(ssl, #name, &api->name, &missing);
    NETLIB_CRYPTO_FUNCTIONS(NETLIB_BIND_CRYPTO)
    NETLIB_SSL_FUNCTIONS(NETLIB_BIND_SSL)
#undef NETLIB_BIND_CRYPTO
#undef NETLIB_BIND_SSL
    if (!missing.empty()) {
        FreeLibrary(ssl);
        FreeLibrary(crypto);
        return fail("(missing " + missing + ")");
    }
    if (api->OPENSSL_init_ssl(0, nullptr) != 1) {
        api->ERR_clear_error();
        return fail("(initialisation failed)");
    }
    const OpenSslApi* result = api.get();
    loaded.emplace(dir, std::move(api));
    *status = NetStatus::Success();
    return result;
}

std::string DrainOpenSslErrors(const OpenSslApi& api) {
    std::string text;
    for (int guard = 0; guard < 64; ++guard) {
        unsigned long e = api.ERR_get_error();
        if (e == 0)
            break;
        char buf[256];
        api.ERR_error_string_n(e, buf, sizeof buf);
        if (!text.empty())
            text += "; ";
        text += buf;
    }
    // Whatever is left beyond the guard must not leak into the next call on this thread.
    api.ERR_clear_error();
    return text;
}

NetStatus OpenSslFailure(const OpenSslApi& api, NetCause cause, const std::string& what) {
    std::string queue = DrainOpenSslErrors(api);
    return NetStatus::Fail(NetCode::Connection, cause, queue.empty() ? what : what + ": " + queue);
}

}  // namespace netlib
