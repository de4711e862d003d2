// Records the alpha of every SetLayeredWindowAttributes call the skin code makes (and passes each call on), so that
// a test can read back the steps of a fade on a real window.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "skin/core/SkinUtils.h"

class TLayeredAlphaRecorder {
  public:
    TLayeredAlphaRecorder() : seam_(Bindings()) { Calls().clear(); }
    // The alphas given to Wnd, in order.
    std::vector<int> For(HWND Wnd) const {
        std::vector<int> r;
        for (const auto& c : Calls())
            if (c.first == Wnd)
                r.push_back(c.second);
        return r;
    }
    void Clear() { Calls().clear(); }

  private:
    using TSetAttributes = decltype(TSystemBindings::SetLayeredWindowAttributes);
    static std::vector<std::pair<HWND, int>>& Calls() {
        static std::vector<std::pair<HWND, int>> calls;
        return calls;
    }
    static TSetAttributes& Real() {
        static TSetAttributes real = nullptr;
        return real;
    }
    static BOOL WINAPI Record(HWND Wnd, COLORREF Key, BYTE Alpha, DWORD Flags) {
        if (Flags & LWA_ALPHA)
            Calls().emplace_back(Wnd, Alpha);
        return Real() ? Real()(Wnd, Key, Alpha, Flags) : FALSE;
    }
    static TSystemBindings Bindings() {
        TSystemBindings b = SystemBindings();
        Real() = b.SetLayeredWindowAttributes;
        b.SetLayeredWindowAttributes = Record;
        return b;
    }
    TSystemBindingsOverride seam_;
};
