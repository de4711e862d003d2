// Layer windows: the fade recorded through the layered-window update, restarts, small targets, hiding, and one real
// layered window read back from the screen.
#include "skin/core/LayerWindow.h"

#include <gtest/gtest.h>

#include <vector>

#include "PainterTestSupport.h"
#include "classlib/Forms.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinUtils.h"

namespace {

struct TUpdateCall {
    HWND wnd;
    POINT dst;
    SIZE size;
    int alpha;
    DWORD flags;
};
std::vector<TUpdateCall> g_calls;

BOOL WINAPI RecordUpdate(HWND wnd,
                         HDC dstDC,
                         POINT* dst,
                         SIZE* size,
                         HDC srcDC,
                         POINT* src,
                         COLORREF key,
                         BLENDFUNCTION* blend,
                         DWORD flags) {
    EXPECT_EQ(dstDC, nullptr);
    EXPECT_NE(srcDC, nullptr);
    EXPECT_EQ(src->x, 0);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(blend->AlphaFormat, AC_SRC_ALPHA);
    g_calls.push_back({wnd, *dst, *size, blend->SourceConstantAlpha, flags});
    return TRUE;
}

// Layered windows bound to the recorder for the life of the fixture.
class LayerManagerTest : public testing::Test {
  protected:
    LayerManagerTest() : over_(Recording()) { g_calls.clear(); }
    static TSystemBindings Recording() {
        TSystemBindings b = SystemBindings();
        b.UpdateLayeredWindow = &RecordUpdate;
        return b;
    }
    std::vector<int> Opacities() const {
        std::vector<int> v;
        for (const TUpdateCall& c : g_calls)
            v.push_back(c.alpha);
        return v;
    }
    // Ticks until the timer stops (at most n).
    void Run(TbsLayerManager& m, int n) {
        for (int i = 0; i < n && m.Timer()->Enabled(); ++i)
            m.ExecTimer();
    }
    TSystemBindingsOverride over_;
    std::unique_ptr<TBitmap> image_ = MakeBitmap(20, 10, [](int, int) { return 0x3060C0u; });
    std::unique_ptr<TBitmap> mask_ = MakeBitmap(20, 10, [](int, int) { return 0xFFFFFFu; });
};

}  // namespace

TEST_F(LayerManagerTest, ShowFadesInStepsOfATenthAndStops) {
    TbsLayerManager m(nullptr);
    m.Show(100, 80, image_.get(), mask_.get(), 255);
    EXPECT_TRUE(m.IsVisible);
    ASSERT_NE(m.LayerWindow(), nullptr);
    HWND wnd = m.LayerWindow()->Handle();
    EXPECT_TRUE(::GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(::GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_TRUE(::IsWindowVisible(wnd));
    EXPECT_TRUE(m.Timer()->Enabled());
    EXPECT_EQ(m.Timer()->Interval(), 25u);
    Run(m, 50);
    EXPECT_EQ(Opacities(), (std::vector<int>{0, 25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}));
    EXPECT_FALSE(m.Timer()->Enabled());
    EXPECT_EQ(g_calls.back().wnd, wnd);
    EXPECT_EQ(g_calls.back().dst.x, 100);
    EXPECT_EQ(g_calls.back().dst.y, 80);
    EXPECT_EQ(g_calls.back().size.cx, 20);
    EXPECT_EQ(g_calls.back().flags, DWORD(ULW_ALPHA));

    g_calls.clear();
    m.Show(10, 10, image_.get(), mask_.get(), 100);  // a second Show replaces the layer and starts at 0
    EXPECT_FALSE(::IsWindow(wnd));
    Run(m, 50);
    EXPECT_EQ(Opacities(), (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
}

TEST_F(LayerManagerTest, SmallTargetsStillFadeAndStop) {
    TbsLayerManager m(nullptr);
    m.Show(0, 0, image_.get(), mask_.get(), 5);
    Run(m, 50);
    EXPECT_EQ(Opacities(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(m.Timer()->Enabled());
    g_calls.clear();
    m.Show(0, 0, image_.get(), mask_.get(), 0);
    Run(m, 50);
    EXPECT_EQ(Opacities(), (std::vector<int>{0, 0}));
    EXPECT_FALSE(m.Timer()->Enabled());
}

TEST_F(LayerManagerTest, HideRemovesTheWindowAndOldSystemsDoNothing) {
    TbsLayerManager m(nullptr);
    m.Show(0, 0, image_.get(), mask_.get(), 200);
    HWND wnd = m.LayerWindow()->Handle();
    m.Hide();
    EXPECT_FALSE(m.IsVisible);
    EXPECT_EQ(m.LayerWindow(), nullptr);
    EXPECT_EQ(m.Bmp(), nullptr);
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_FALSE(m.Timer()->Enabled());
    m.ExecTimer();  // nothing to fade
    g_calls.clear();
    m.LayeringAvailable = [] { return false; };
    m.Show(0, 0, image_.get(), mask_.get(), 200);
    EXPECT_FALSE(m.IsVisible);
    EXPECT_EQ(m.LayerWindow(), nullptr);
    EXPECT_TRUE(g_calls.empty());
    CreateAlphaLayered2(nullptr, 10, nullptr);  // no control: nothing
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(LayerManagerTest, UpdatePlacesTheLayerOnTopAgain) {
    TbsLayerManager m(nullptr);
    m.Show(30, 40, image_.get(), mask_.get(), 255);
    HWND wnd = m.LayerWindow()->Handle();
    EXPECT_TRUE(::GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    ::SetWindowPos(wnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::ShowWindow(wnd, SW_HIDE);
    m.Update();
    EXPECT_TRUE(::IsWindowVisible(wnd));
    EXPECT_TRUE(::GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r{};
    ::GetWindowRect(wnd, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    m.Hide();
    m.Update();  // nothing shown: nothing to place
}

TEST(LayerWindow, AlphaLayerTakesTheMaskAsAlpha) {
    auto image = MakeBitmap(2, 1, [](int, int) { return 0xFFFFFFu; });
    auto mask = MakeBitmap(2, 1, [](int x, int) { return x == 0 ? 0x000000u : 0x808080u; });
    TbsBitmap layer;
    CreateAlphaLayer(image.get(), mask.get(), &layer);
    EXPECT_EQ(layer.GetPixel(0, 0) >> 24, 0u);
    EXPECT_EQ(layer.GetPixel(1, 0) >> 24, 0x80u);
    EXPECT_EQ(layer.GetPixel(1, 0) & 0xFF, 0x80u);  // colours lowered to the alpha for the layered update
}

TEST(LayerWindow, RealLayerAppearsOnTheScreenAndIgnoresClicks) {
    auto image = MakeBitmap(40, 30, [](int, int) { return 0x20C040u; });
    auto mask = MakeBitmap(40, 30, [](int, int) { return 0xFFFFFFu; });
    TbsLayerManager m(nullptr);
    m.Show(60, 70, image.get(), mask.get(), 255);
    const DWORD start = ::GetTickCount();
    while (m.Timer()->Enabled() && ::GetTickCount() - start < 3000)
        Application->ProcessMessages();
    EXPECT_FALSE(m.Timer()->Enabled());
    EXPECT_EQ(m.BeginAlphaBlendValue, 255);
    HWND wnd = m.LayerWindow()->Handle();
    EXPECT_EQ(::SendMessageW(wnd, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
    ::Sleep(100);
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, 75, 80);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(c & 0xFFFFFF, 0x40C020u) << std::hex << c;  // 0x00BBGGRR of pixel 0x20C040
    m.Hide();
}
