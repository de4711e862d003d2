// What the skinned-control tests share: one skinned host form for the whole program (made at the first use, freed at
// exit) with a container holding the colour-coded fixture skin, variants of that skin in a temporary folder, painting
// a control into a memory bitmap through PaintTo, and a fake clock, timers and shell for the control seam.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "SkinTestPaths.h"
#include "WindowTestUtil.h"
#include "classlib/Forms.h"
#include "classlib/WicCodec.h"
#include "skin/controls/ControlSeam.h"
#include "skin/core/SkinData.h"
#include "skin/form/SkinForm.h"

namespace ctltest {

using skintest::FixtureFolder;
using skintest::SetSkin;
using skintest::Widen;

inline std::wstring FixtureSkin() {
    return FixtureFolder() + L"\\skin.ini";
}

// A copy of the fixture skin whose ini text went through Edit, in a folder of its own; returns the ini's path.
inline std::wstring FixtureVariant(const std::wstring& Name, const std::function<void(std::string&)>& Edit) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring dir = std::wstring(tmp) + L"trelm_ctl_" + Name + L"_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir.c_str(), nullptr);
    WIN32_FIND_DATAW fd;
    HANDLE found = FindFirstFileW((FixtureFolder() + L"\\*.bmp").c_str(), &fd);
    for (BOOL more = found != INVALID_HANDLE_VALUE; more; more = FindNextFileW(found, &fd))
        CopyFileW((FixtureFolder() + L"\\" + fd.cFileName).c_str(), (dir + L"\\" + fd.cFileName).c_str(), FALSE);
    if (found != INVALID_HANDLE_VALUE)
        FindClose(found);
    std::ifstream in(FixtureSkin().c_str(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    Edit(s);
    std::ofstream((dir + L"\\skin.ini").c_str(), std::ios::binary) << s;
    return dir + L"\\skin.ini";
}

inline void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
    for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size()))
        s.replace(p, from.size(), to);
}

// Every "Key=..." line of an ini text gets Value, whatever it held.
inline void ReplaceValue(std::string& s, const std::string& Key, const std::string& Value) {
    const std::string from = Key + "=";
    for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + from.size() + Value.size())) {
        if (p > 0 && s[p - 1] != '\n')
            continue;
        const size_t end = s.find_first_of("\r\n", p);
        s.replace(p + from.size(), (end == std::string::npos ? s.size() : end) - p - from.size(), Value);
    }
}

// The host: a stay-on-top skinned form at a fixed place with a container of its own holding the fixture skin.
struct Host {
    TForm* form = nullptr;
    TbsSkinForm* skinForm = nullptr;  // owned by form
    TbsSkinData* data = nullptr;      // owned by form
};

inline Host& SharedHost() {
    static Host h = [] {
        Host x;
        SetCursorPos(2, 2);
        x.form = new TForm(nullptr);
        x.form->SetFormStyle(fsStayOnTop);
        x.form->SetBounds(40, 40, 420, 320);
        x.form->SetCaption(L"Controls");
        x.skinForm = new TbsSkinForm(x.form);
        x.data = new TbsSkinData(x.form);
        x.data->LoadFromFile(FixtureSkin());
        x.skinForm->SetSkinData(x.data);
        x.form->Show();
        Pump(100);
        return x;
    }();
    return h;
}

// The host's container holds the plain fixture again (a test may have loaded a variant).
inline void ReloadFixture() {
    Host& h = SharedHost();
    h.data->LoadFromFile(FixtureSkin());
    Pump(20);
}

// A test whose controls live on the shared host and are freed after it, the latest first.
class HostedControls : public ::testing::Test {
  protected:
    void SetUp() override {
        host_ = &SharedHost();
        ReloadFixture();
    }
    void TearDown() override {
        for (auto it = owned_.rbegin(); it != owned_.rend(); ++it)
            delete *it;
        owned_.clear();
        Pump(10);
    }
    Host* host_ = nullptr;
    std::vector<TControl*> owned_;
};

// A W x H 32-bit bitmap filled with Fill, with Paint(dc) run on it.
inline std::unique_ptr<TBitmap> PaintInto(int W, int H, const std::function<void(HDC)>& Paint,
                                          COLORREF Fill = RGB(1, 2, 3)) {
    auto b = std::make_unique<TBitmap>(W, H, pf32bit);
    HDC dc = b->Canvas()->Handle();
    HBRUSH brush = CreateSolidBrush(Fill);
    RECT r{0, 0, W, H};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    Paint(dc);
    GdiFlush();
    return b;
}

// The bitmap as name.png in the folder TRELM_SHOTS names (nothing when it is not set).
inline void Shot(TBitmap* b, const std::wstring& name) {
    const char* dir = std::getenv("TRELM_SHOTS");
    if (!dir)
        return;
    std::vector<std::uint32_t> px(static_cast<size_t>(b->Width()) * b->Height());
    for (int y = 0; y < b->Height(); ++y)
        for (int x = 0; x < b->Width(); ++x) {
            const COLORREF c = GetPixel(b->Canvas()->Handle(), x, y);
            px[static_cast<size_t>(y) * b->Width() + x] =
                0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    std::ofstream((Widen(dir) + L"\\" + name + L".png").c_str(), std::ios::binary)
        << EncodePng(px.data(), b->Width(), b->Height());
}

inline COLORREF Px(TBitmap* b, int x, int y) {
    return GetPixel(b->Canvas()->Handle(), x, y) & 0xFFFFFF;
}

inline COLORREF Sys(int index) {
    return GetSysColor(index) & 0xFFFFFF;
}

// The pixels of a rectangle that have colour C.
inline int CountColour(TBitmap* b, const TRect& r, COLORREF c) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            n += Px(b, x, y) == c;
    return n;
}

// A seam whose clock and timers the test drives, whose window under the cursor it names and whose shell records.
class FakeSeam {
  public:
    struct Timer : IbsControlTimer {
        explicit Timer(FakeSeam* s) : seam(s) { seam->timers_.push_back(this); }
        ~Timer() override {
            if (seam)
                std::erase(seam->timers_, this);
        }
        void Start(unsigned IntervalMs) override {
            interval = IntervalMs;
            next = (seam ? seam->now_ : 0) + IntervalMs;
            running = true;
        }
        void Stop() override { running = false; }
        bool Running() const override { return running; }
        FakeSeam* seam;  // nullptr once the seam has gone before the control that holds the timer
        unsigned interval = 0;
        std::uint32_t next = 0;
        bool running = false;
    };

    FakeSeam() {
        TbsControlSeam s;
        s.Now = [this] { return now_; };
        s.NewTimer = [this]() -> std::unique_ptr<IbsControlTimer> { return std::make_unique<Timer>(this); };
        s.WindowUnderCursor = [this] { return under; };
        s.ShellOpen = [this](const std::wstring& t) { opened.push_back(t); };
        override_ = std::make_unique<TbsSeamOverride>(s);
    }
    // A test's controls may outlive its seam (the fixture frees them after the test body): their timers stay, dead.
    ~FakeSeam() {
        for (Timer* t : timers_)
            t->seam = nullptr;
    }
    FakeSeam(const FakeSeam&) = delete;
    FakeSeam& operator=(const FakeSeam&) = delete;
    // Moves the clock forward in steps of 1 ms, firing every timer that falls due.
    void Advance(std::uint32_t Ms) {
        for (std::uint32_t i = 0; i < Ms; ++i) {
            ++now_;
            for (size_t k = 0; k < timers_.size(); ++k) {
                Timer* t = timers_[k];
                if (t->running && t->interval && now_ >= t->next) {
                    t->next = now_ + t->interval;
                    if (t->OnTick)
                        t->OnTick();
                }
            }
        }
    }
    std::uint32_t Now() const { return now_; }
    HWND under = nullptr;
    std::vector<std::wstring> opened;

  private:
    std::uint32_t now_ = 1000;
    std::vector<Timer*> timers_;
    std::unique_ptr<TbsSeamOverride> override_;
};

}  // namespace ctltest
