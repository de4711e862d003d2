// A skinned host form for the window tests: a stay-on-top sizeable form with its TbsSkinForm and a container of
// its own, the cursor parked off it, and the reads the frame tests share.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/classlib/ScreenGrab.h"
#include "SkinTestPaths.h"
#include "WindowTestUtil.h"
#include "classlib/WicCodec.h"
#include "skin/core/SkinData.h"
#include "skin/form/SkinForm.h"

// The screen rectangle r as name.png, when TRELM_SHOTS names a folder.
inline void ShotOfScreen(const std::wstring& name, const RECT& r) {
    const char* dir = std::getenv("TRELM_SHOTS");
    if (!dir)
        return;
    const std::vector<std::uint32_t> px = GrabScreen(r);
    std::ofstream((skintest::Widen(dir) + L"\\" + name + L".png").c_str(), std::ios::binary)
        << EncodePng(px.data(), r.right - r.left, r.bottom - r.top);
}

class SkinFormFixture : public ::testing::Test {
  protected:
    SkinFormFixture(int X, int Y, int W, int H, const wchar_t* Caption)
        : x_(X), y_(Y), w_(W), h_(H), caption_(Caption) {}

    void SetUp() override {
        // The cursor off the form: a hovered caption button changes hit codes and looks.
        SetCursorPos(5, 5);
        form_ = new TForm(nullptr);
        form_->SetFormStyle(fsStayOnTop);
        form_->SetBorderStyle(bsSizeable);
        form_->SetBounds(x_, y_, w_, h_);
        form_->SetCaption(caption_);
        skinForm_ = new TbsSkinForm(form_);
        data_ = new TbsSkinData(form_);
    }
    void TearDown() override {
        delete form_;
        form_ = nullptr;
        Pump(50);
    }

    void Load(const std::wstring& ini) {
        data_->LoadFromFile(ini);
        ASSERT_FALSE(data_->Empty);
        skinForm_->SetSkinData(data_);
    }
    void ShowForm() {
        form_->Show();
        SetForegroundWindow(form_->Handle());
        Pump(150);
    }
    HWND h() { return form_->Handle(); }
    RECT WindowRect() {
        RECT r{};
        GetWindowRect(h(), &r);
        return r;
    }
    // A pixel of the window on the screen, in frame coordinates.
    COLORREF FramePixel(int x, int y) {
        const RECT r = WindowRect();
        return ScreenPixel(r.left + x, r.top + y) & 0xFFFFFF;
    }
    void Shot(const std::wstring& name) { ShotOfScreen(name, WindowRect()); }

    TForm* form_ = nullptr;
    TbsSkinForm* skinForm_ = nullptr;  // owned by form_
    TbsSkinData* data_ = nullptr;      // owned by form_

  private:
    int x_, y_, w_, h_;
    const wchar_t* caption_;
};
