// What the tests of pressable controls share: the fixture legend's colours by name, mouse messages to a control's
// window, focus and key helpers, a recording glow window and a fixture base that frees the controls it made.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "skin/controls/SkinButton.h"

namespace ctltest {

// A colour of the fixture's legend ("part.state.slice"), as a COLORREF.
inline COLORREF Legend(const std::string& Key) {
    static const std::map<std::string, COLORREF> table = [] {
        std::map<std::string, COLORREF> m;
        std::ifstream in((FixtureFolder() + L"\\legend.txt").c_str());
        std::string line;
        while (std::getline(in, line)) {
            const size_t eq = line.find('=');
            if (line.empty() || line[0] == '#' || eq == std::string::npos)
                continue;
            int r = 0, g = 0, b = 0;
            if (sscanf(line.c_str() + eq + 1, "%d,%d,%d", &r, &g, &b) == 3)
                m[line.substr(0, eq)] = RGB(r, g, b);
        }
        return m;
    }();
    auto it = table.find(Key);
    EXPECT_NE(it, table.end()) << Key;
    return it == table.end() ? 0xFFFFFFFF : it->second;
}

// The window procedure of a control: messages as a user's input would bring them.
inline void Mouse(TWinControl* c, UINT Msg, int X, int Y, WPARAM Keys = 0) {
    SendMessageW(c->Handle(), Msg, Keys, MAKELPARAM(X, Y));
}

inline bool FocusOn(TWinControl* c) {
    SetForegroundWindow(GetAncestor(c->Handle(), GA_ROOT));
    c->SetFocus();
    return PumpUntil([c] { return GetFocus() == c->Handle(); });
}

inline void PostKey(UINT Msg, WORD Vk) {
    PostMessageW(GetFocus(), Msg, Vk, Msg == WM_KEYUP ? static_cast<LPARAM>(0xC0000001) : 1);
    Pump(20);
}

// A glow window that records what it is asked.
struct RecordingGlow : IbsGlowLayer {
    struct Call {
        std::string what;
        int x = 0, y = 0, alpha = 0, w = 0, h = 0;
    };
    std::vector<Call>* calls;
    bool visible = false;
    explicit RecordingGlow(std::vector<Call>* c) : calls(c) {}
    void Show(int X, int Y, TBitmap* Image, TBitmap* /*Mask*/, int Alpha) override {
        calls->push_back({"show", X, Y, Alpha, Image->Width(), Image->Height()});
        visible = true;
    }
    void Hide() override {
        calls->push_back({"hide"});
        visible = false;
    }
    bool IsVisible() const override { return visible; }
    void SetTopMost(bool) override {}
};

class ControlsFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        host_ = &SharedHost();
        ReloadFixture();
        host_->form->SetModalResult(0);
    }
    void TearDown() override {
        for (auto it = owned_.rbegin(); it != owned_.rend(); ++it)
            delete *it;
        owned_.clear();
        Pump(10);
    }
    template <typename T>
    T* Make(const std::wstring& caption, int x, int y, int w, int h, bool skinned = true) {
        auto* c = new T(host_->form);
        owned_.push_back(c);
        c->SetParent(host_->form);
        if constexpr (requires { c->SetSkinData(host_->data); })
            if (skinned)
                c->SetSkinData(host_->data);
        c->SetBounds(x, y, w, h);
        c->SetCaption(caption);
        return c;
    }
    template <typename T>
    std::unique_ptr<TBitmap> Paint(T* c) {
        return PaintInto(c->Width(), c->Height(), [c](HDC dc) { c->PaintTo(dc, 0, 0); });
    }
    Host* host_ = nullptr;
    std::vector<TControl*> owned_;
};

}  // namespace ctltest
