// Move-only owners for kernel objects, modules, files and registry keys, shared by every layer.
// Index: THandleKind, LiveHandleCount, TUniqueHandle<Traits>, and the aliases TModuleHandle, TKernelHandle,
// TFileHandle, TRegKeyHandle. classlib/GdiHandles.h adds the GDI, icon and image-list owners on the same template.
//
// Every owner counts the handles it holds (LiveHandleCount): Wine's GetGuiResources always answers 0, so tests
// check that a create/use/destroy loop brings this count back to where it started.
#pragma once

#include <windows.h>

enum class THandleKind { Gdi, DC, Icon, Module, Kernel, RegKey, ImageList, Count };

// Handles currently held by owners built on TUniqueHandle (per kind, or all kinds together).
long LiveHandleCount(THandleKind kind);
long LiveHandleCount();

namespace handles_detail {
void CountHandle(THandleKind kind, int delta);
}

// Generic owner. Traits provide: using Handle; static Handle Invalid(); static void Close(Handle);
// static constexpr THandleKind kKind.
template <typename Traits>
class TUniqueHandle {
  public:
    using Handle = typename Traits::Handle;

    TUniqueHandle() = default;
    // Takes ownership of h (an invalid value is allowed and means empty).
    explicit TUniqueHandle(Handle h) : h_(h) {
        if (Valid())
            handles_detail::CountHandle(Traits::kKind, +1);
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    TUniqueHandle(TUniqueHandle&& o) noexcept : h_(o.h_) { o.h_ = Traits::Invalid(); }
    TUniqueHandle& operator=(TUniqueHandle&& o) noexcept {
        if (this != &o) {
            Reset();
            h_ = o.h_;
            o.h_ = Traits::Invalid();
        }
        return *this;
    }
    ~TUniqueHandle() { Reset(); }

    Handle Get() const { return h_; }
    bool Valid() const { return h_ != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }
    // Frees the held handle and takes h.
    void Reset(Handle h = Traits::Invalid()) {
        if (h == h_)
            return;
        if (Valid()) {
            Traits::Close(h_);
            handles_detail::CountHandle(Traits::kKind, -1);
        }
        h_ = h;
        if (Valid())
            handles_detail::CountHandle(Traits::kKind, +1);
    }
    // Gives up ownership without freeing.
    [[nodiscard]] Handle Detach() {
        Handle h = h_;
        if (Valid())
            handles_detail::CountHandle(Traits::kKind, -1);
        h_ = Traits::Invalid();
        return h;
    }

  private:
    Handle h_ = Traits::Invalid();
};

struct TModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::FreeLibrary(h); }
    static constexpr THandleKind kKind = THandleKind::Module;
};
struct TKernelTraits {  // events, threads, mutexes, ...: invalid is null
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::CloseHandle(h); }
    static constexpr THandleKind kKind = THandleKind::Kernel;
};
struct TFileTraits {  // CreateFile results: invalid is INVALID_HANDLE_VALUE
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
    static constexpr THandleKind kKind = THandleKind::Kernel;
};
struct TRegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::RegCloseKey(h); }
    static constexpr THandleKind kKind = THandleKind::RegKey;
};

using TModuleHandle = TUniqueHandle<TModuleTraits>;
using TKernelHandle = TUniqueHandle<TKernelTraits>;
using TFileHandle = TUniqueHandle<TFileTraits>;
using TRegKeyHandle = TUniqueHandle<TRegKeyTraits>;
