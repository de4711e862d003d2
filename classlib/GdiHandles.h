// Move-only owners for GDI and window-system handles, on base/Handles.h's TUniqueHandle (which also counts them).
// Index: the aliases TGdiFont, TGdiPen, TGdiBrush, TGdiBitmap, TGdiRegion, TGdiPalette, TGdiObjectHandle,
// TIconHandle, TCursorHandle, TImageListHandle, TDCHandle; the scoped DCs TPaintDC, TClientDC, TWindowDC,
// TMemoryDC; the guards TSelectObjectGuard and TSaveDCGuard; AsRECT/AsPOINT for passing TRect/TPoint to Win32.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstddef>
#include <utility>

#include "base/Handles.h"
#include "classlib/Types.h"

template <typename H>
struct TGdiObjectTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
    static constexpr THandleKind kKind = THandleKind::Gdi;
};
struct TIconTraits {
    using Handle = HICON;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyIcon(h); }
    static constexpr THandleKind kKind = THandleKind::Icon;
};
struct TCursorTraits {
    using Handle = HCURSOR;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyCursor(h); }
    static constexpr THandleKind kKind = THandleKind::Icon;
};
struct TImageListTraits {
    using Handle = HIMAGELIST;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::ImageList_Destroy(h); }
    static constexpr THandleKind kKind = THandleKind::ImageList;
};
struct TMemoryDCTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DeleteDC(h); }
    static constexpr THandleKind kKind = THandleKind::DC;
};

using TGdiObjectHandle = TUniqueHandle<TGdiObjectTraits<HGDIOBJ>>;
using TGdiFont = TUniqueHandle<TGdiObjectTraits<HFONT>>;
using TGdiPen = TUniqueHandle<TGdiObjectTraits<HPEN>>;
using TGdiBrush = TUniqueHandle<TGdiObjectTraits<HBRUSH>>;
using TGdiBitmap = TUniqueHandle<TGdiObjectTraits<HBITMAP>>;
using TGdiRegion = TUniqueHandle<TGdiObjectTraits<HRGN>>;
using TGdiPalette = TUniqueHandle<TGdiObjectTraits<HPALETTE>>;
using TIconHandle = TUniqueHandle<TIconTraits>;
using TCursorHandle = TUniqueHandle<TCursorTraits>;
using TImageListHandle = TUniqueHandle<TImageListTraits>;
using TDCHandle = TUniqueHandle<TMemoryDCTraits>;  // a DC made by CreateCompatibleDC/CreateDC: DeleteDC

// ---- Scoped device contexts ---------------------------------------------------------------------------------------
// BeginPaint/EndPaint for WM_PAINT.
class TPaintDC {
  public:
    explicit TPaintDC(HWND wnd);
    ~TPaintDC();
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }
    const PAINTSTRUCT& PaintStruct() const { return ps_; }

  private:
    // ps_ before dc_: members are initialised in declaration order, and BeginPaint fills ps_ while dc_ is made.
    HWND wnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// GetDC/GetWindowDC with ReleaseDC. A null window gives the screen DC. Move-only; Detach hands over the duty
// to call ReleaseDC(Window(), dc).
class TClientDC {
  public:
    explicit TClientDC(HWND wnd);
    ~TClientDC();
    TClientDC(TClientDC&& o) noexcept;
    TClientDC& operator=(TClientDC&& o) noexcept;
    TClientDC(const TClientDC&) = delete;
    TClientDC& operator=(const TClientDC&) = delete;
    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }
    HWND Window() const { return wnd_; }
    [[nodiscard]] HDC Detach();

  protected:
    TClientDC(HWND wnd, HDC dc);

  private:
    void Release();
    HWND wnd_ = nullptr;
    HDC dc_ = nullptr;
};

class TWindowDC : public TClientDC {
  public:
    explicit TWindowDC(HWND wnd);
};

// CreateCompatibleDC(reference) with DeleteDC; an object selected through SelectObject is put back first.
class TMemoryDC {
  public:
    explicit TMemoryDC(HDC reference = nullptr);
    ~TMemoryDC();
    TMemoryDC(TMemoryDC&& o) noexcept;
    TMemoryDC& operator=(TMemoryDC&& o) noexcept;
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return dc_.Get(); }
    operator HDC() const { return dc_.Get(); }
    // Selects a bitmap (borrowed) and remembers the one it replaced for the destructor/RestoreBitmap.
    // (Not "SelectBitmap": windowsx.h defines a macro of that name.)
    void Select(HBITMAP bitmap);
    void RestoreBitmap();
    [[nodiscard]] HDC Detach();

  private:
    TDCHandle dc_;
    HGDIOBJ oldBitmap_ = nullptr;
};

// Selects an object into a DC and puts the previous one back on destruction.
class TSelectObjectGuard {
  public:
    TSelectObjectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
    ~TSelectObjectGuard() {
        if (old_ && old_ != HGDI_ERROR)
            ::SelectObject(dc_, old_);
    }
    TSelectObjectGuard(const TSelectObjectGuard&) = delete;
    TSelectObjectGuard& operator=(const TSelectObjectGuard&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC now, RestoreDC on destruction: for code that changes many DC attributes (clip, origin, objects).
class TSaveDCGuard {
  public:
    explicit TSaveDCGuard(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
    ~TSaveDCGuard() {
        if (saved_)
            ::RestoreDC(dc_, saved_);
    }
    TSaveDCGuard(const TSaveDCGuard&) = delete;
    TSaveDCGuard& operator=(const TSaveDCGuard&) = delete;

  private:
    HDC dc_;
    int saved_;
};

// TRect and TPoint have RECT's and POINT's layout.
static_assert(sizeof(TRect) == sizeof(RECT) && offsetof(TRect, Bottom) == offsetof(RECT, bottom));
static_assert(sizeof(TPoint) == sizeof(POINT) && offsetof(TPoint, Y) == offsetof(POINT, y));
inline RECT* AsRECT(TRect& r) {
    return reinterpret_cast<RECT*>(&r);
}
inline const RECT* AsRECT(const TRect& r) {
    return reinterpret_cast<const RECT*>(&r);
}
inline POINT* AsPOINT(TPoint* p) {
    return reinterpret_cast<POINT*>(p);
}
inline const POINT* AsPOINT(const TPoint* p) {
    return reinterpret_cast<const POINT*>(p);
}
inline TRect ToTRect(const RECT& r) {
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right), static_cast<int>(r.bottom)};
}
inline RECT ToRECT(const TRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}
