// Helpers of the dialog tests: finding a modal window and its controls the way another process would (window text,
// the "TrelmName" property), acting on it from a timer while the modal loop runs, and screen shots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/OutsideControls.h"
#include "classlib/WicCodec.h"
#include "tests/classlib/ScreenGrab.h"

inline std::wstring Widen(const char* s) {
    std::wstring w;
    for (; *s; ++s)
        w += static_cast<wchar_t>(static_cast<unsigned char>(*s));
    return w;
}

inline std::wstring NameOfWindow(HWND wnd) {
    auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(wnd, L"TrelmName")));
    wchar_t buf[256] = {};
    return atom && GlobalGetAtomNameW(atom, buf, 256) ? buf : L"";
}

struct NameSearch {
    std::wstring name;
    HWND found = nullptr;
};

inline BOOL CALLBACK MatchName(HWND w, LPARAM l) {
    auto* s = reinterpret_cast<NameSearch*>(l);
    if (NameOfWindow(w) != s->name)
        return TRUE;
    s->found = w;
    return FALSE;
}

inline HWND FindByName(HWND top, const std::wstring& name) {
    NameSearch s{name};
    EnumChildWindows(top, MatchName, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

struct WindowlessSearch {
    std::wstring name;
    HWND parent = nullptr;
    TOutsideControl found;
};

inline BOOL CALLBACK MatchWindowless(HWND w, LPARAM l) {
    auto* s = reinterpret_cast<WindowlessSearch*>(l);
    for (TOutsideControl& c : ReadWindowless(w))
        if (c.Name == s->name) {
            s->parent = w;
            s->found = std::move(c);
            return FALSE;
        }
    return TRUE;
}

// A windowless control (label, picture) on top or one of its child windows, the way a driver in another process
// finds it; its bounds are made relative to top's client area. Found false when there is none of that name.
struct Windowless {
    bool found = false;
    std::wstring text;
    RECT rect{};  // in top's client coordinates
};

inline Windowless FindWindowless(HWND top, const std::wstring& name) {
    WindowlessSearch s{name};
    if (MatchWindowless(top, reinterpret_cast<LPARAM>(&s)))
        EnumChildWindows(top, MatchWindowless, reinterpret_cast<LPARAM>(&s));
    Windowless w;
    if (!s.parent)
        return w;
    w.found = true;
    w.text = s.found.Text;
    w.rect = s.found.Bounds;
    MapWindowPoints(s.parent, top, reinterpret_cast<POINT*>(&w.rect), 2);
    return w;
}

// The screen pixel at (x, y) of wnd's client area.
inline COLORREF ClientPixel(HWND wnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, p.x, p.y) & 0xFFFFFF;
    ReleaseDC(nullptr, dc);
    return c;
}

// How many screen pixels of wnd's window rectangle have the colour c.
inline int CountWindowColour(HWND wnd, COLORREF c) {
    RECT r{};
    GetWindowRect(wnd, &r);
    const std::vector<std::uint32_t> px = GrabScreen(r);
    int n = 0;
    for (std::uint32_t p : px) {
        const COLORREF rgb = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        n += rgb == c;
    }
    return n;
}

inline std::wstring TextOf(HWND wnd) {
    wchar_t buf[2048] = {};
    GetWindowTextW(wnd, buf, 2048);
    return buf;
}

inline RECT ClientRectOnScreen(HWND wnd) {
    RECT r{};
    GetClientRect(wnd, &r);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Child rectangle in its top-level window's client coordinates.
inline RECT RectIn(HWND child, HWND top) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Runs act(window) once, from a timer inside the modal loop, when a visible top-level window with the text caption
// exists and has had a moment to paint. Stops by itself; the object must live until the modal call returns.
class ModalDriver {
  public:
    ModalDriver(const std::wstring& caption, std::function<void(HWND)> act)
        : caption_(caption), act_(std::move(act)), timer_(new TTimer(nullptr)) {
        timer_->SetInterval(30);
        timer_->OnTimer = [this](TObject*) { Tick(); };
    }
    bool ran() const { return ran_; }
    HWND window() const { return wnd_; }

  private:
    void Tick() {
        HWND w = FindWindowW(nullptr, caption_.c_str());
        if (!w || !IsWindowVisible(w) || ++seen_ < 4)
            return;
        timer_->SetEnabled(false);
        wnd_ = w;
        ran_ = true;
        UpdateWindow(w);
        act_(w);
    }
    std::wstring caption_;
    std::function<void(HWND)> act_;
    std::unique_ptr<TTimer> timer_;
    int seen_ = 0;
    bool ran_ = false;
    HWND wnd_ = nullptr;
};

// Runs steps one after another from a timer inside the modal loops: each step when a visible top-level window with its
// caption exists and has had a moment to paint, the next one a few ticks later, so that what a step posted has been
// handled (a step may open another modal window, which the next step then finds). Stops by itself after the last
// step; the object must live until the modal call returns.
class StepDriver {
  public:
    struct Step {
        std::wstring caption;
        std::function<void(HWND)> act;
    };
    explicit StepDriver(std::vector<Step> steps) : steps_(std::move(steps)), timer_(new TTimer(nullptr)) {
        timer_->SetInterval(30);
        timer_->OnTimer = [this](TObject*) { Tick(); };
    }
    // The number of steps that ran.
    size_t done() const { return next_; }

  private:
    void Tick() {
        if (busy_ || next_ >= steps_.size())
            return;
        HWND w = FindWindowW(nullptr, steps_[next_].caption.c_str());
        if (!w || !IsWindowVisible(w) || ++seen_ < 4)
            return;
        seen_ = 0;
        busy_ = true;
        UpdateWindow(w);
        steps_[next_++].act(w);
        busy_ = false;
        if (next_ >= steps_.size())
            timer_->SetEnabled(false);
    }
    std::vector<Step> steps_;
    std::unique_ptr<TTimer> timer_;
    size_t next_ = 0;
    int seen_ = 0;
    bool busy_ = false;
};

inline void Click(HWND top, const std::wstring& name) {
    HWND b = FindByName(top, name);
    if (b)
        PostMessageW(b, BM_CLICK, 0, 0);
}

// Key press and release to the focused control.
inline void Key(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

// Writes the window's screen pixels as a PNG into the folder TRELM_SHOTS names (nothing without it).
inline void Shot(HWND wnd, const std::wstring& name) {
    const char* dir = std::getenv("TRELM_SHOTS");
    if (!dir)
        return;
    // Painted afresh, the children included, before the pixels are read.
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    for (int i = 0; i < 5; ++i) {
        Application->ProcessMessages();
        Sleep(20);
    }
    RECT r{};
    GetWindowRect(wnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const std::vector<std::uint32_t> px = GrabScreen(r);
    const std::wstring file = Widen(dir) + L"\\" + name + L".png";
    std::ofstream(file.c_str(), std::ios::binary) << EncodePng(px.data(), w, h);
}
