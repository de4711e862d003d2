// The scoped device contexts.
#include "classlib/GdiHandles.h"

TPaintDC::TPaintDC(HWND wnd) : wnd_(wnd), dc_(::BeginPaint(wnd, &ps_)) {
    if (dc_)
        handles_detail::CountHandle(THandleKind::DC, +1);
}

TPaintDC::~TPaintDC() {
    if (dc_) {
        ::EndPaint(wnd_, &ps_);
        handles_detail::CountHandle(THandleKind::DC, -1);
    }
}

TClientDC::TClientDC(HWND wnd) : TClientDC(wnd, ::GetDC(wnd)) {}

TClientDC::TClientDC(HWND wnd, HDC dc) : wnd_(wnd), dc_(dc) {
    if (dc_)
        handles_detail::CountHandle(THandleKind::DC, +1);
}

TClientDC::~TClientDC() {
    Release();
}

TClientDC::TClientDC(TClientDC&& o) noexcept : wnd_(o.wnd_), dc_(o.dc_) {
    o.dc_ = nullptr;
}

TClientDC& TClientDC::operator=(TClientDC&& o) noexcept {
    if (this != &o) {
        Release();
        wnd_ = o.wnd_;
        dc_ = o.dc_;
        o.dc_ = nullptr;
    }
    return *this;
}

void TClientDC::Release() {
    if (dc_) {
        ::ReleaseDC(wnd_, dc_);
        handles_detail::CountHandle(THandleKind::DC, -1);
        dc_ = nullptr;
    }
}

HDC TClientDC::Detach() {
    HDC dc = dc_;
    if (dc_)
        handles_detail::CountHandle(THandleKind::DC, -1);
    dc_ = nullptr;
    return dc;
}

TWindowDC::TWindowDC(HWND wnd) : TClientDC(wnd, ::GetWindowDC(wnd)) {}

TMemoryDC::TMemoryDC(HDC reference) : dc_(::CreateCompatibleDC(reference)) {}

TMemoryDC::~TMemoryDC() {
    RestoreBitmap();
}

TMemoryDC::TMemoryDC(TMemoryDC&& o) noexcept : dc_(std::move(o.dc_)), oldBitmap_(o.oldBitmap_) {
    o.oldBitmap_ = nullptr;
}

TMemoryDC& TMemoryDC::operator=(TMemoryDC&& o) noexcept {
    if (this != &o) {
        RestoreBitmap();
        dc_ = std::move(o.dc_);
        oldBitmap_ = o.oldBitmap_;
        o.oldBitmap_ = nullptr;
    }
    return *this;
}

void TMemoryDC::Select(HBITMAP bitmap) {
    if (!dc_)
        return;
    HGDIOBJ old = ::SelectObject(dc_.Get(), bitmap);
    if (!oldBitmap_)
        oldBitmap_ = old;
}

void TMemoryDC::RestoreBitmap() {
    if (dc_ && oldBitmap_) {
        ::SelectObject(dc_.Get(), oldBitmap_);
        oldBitmap_ = nullptr;
    }
}

HDC TMemoryDC::Detach() {
    oldBitmap_ = nullptr;
    return dc_.Detach();
}
