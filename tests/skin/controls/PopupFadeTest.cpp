// The popup fade: its steps on the seam's clock and the layered style it switches.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "skin/controls/ControlSeam.h"
#include "skin/controls/PopupFade.h"

namespace {

// A clock that moves 2 ms every time it is read.
struct CreepingClock {
    std::uint32_t now = 0xFFFFFFF0u;  // wraps during the fade
    TbsSeamOverride seam{[this] {
        TbsControlSeam s;
        s.Now = [this] { return now += 2; };
        return s;
    }()};
};

struct FadeCase {
    int target;
    std::vector<int> expected;
};

std::vector<int> Ramp(int step, int target) {
    std::vector<int> v;
    if (target == 0)
        return v;
    int a = 0;
    do {
        a = std::min(a + step, target);
        v.push_back(a);
    } while (a < target);
    return v;
}

}  // namespace

TEST(PopupFade, StepsAreATargetFifteenthAndEndOnTheTarget) {
    const FadeCase cases[] = {
        {0, {}},                        // nothing to fade
        {14, Ramp(1, 14)},              // a fifteenth below 1 counts as 1
        {150, Ramp(10, 150)},           // fifteen steps
        {200, Ramp(13, 200)},           // the last step stops at the target
        {255, Ramp(17, 255)},
    };
    for (const FadeCase& c : cases) {
        CreepingClock clock;
        std::vector<int> got;
        std::vector<std::uint32_t> at;
        RunPopupFade(static_cast<BYTE>(c.target), [&](BYTE a) {
            got.push_back(a);
            at.push_back(clock.now);
        });
        EXPECT_EQ(got, c.expected) << "target " << c.target;
        std::uint32_t prev = 0xFFFFFFF0u;
        for (std::uint32_t t : at) {
            EXPECT_GT(static_cast<std::uint32_t>(t - prev), 5u) << "target " << c.target;
            prev = t;
        }
    }
}

TEST(PopupFade, AClockThatStandsStillCannotHoldTheThread) {
    TbsSeamOverride seam([] {
        TbsControlSeam s;
        s.Now = [] { return std::uint32_t{5000}; };
        return s;
    }());
    std::vector<int> got;
    RunPopupFade(200, [&](BYTE a) { got.push_back(a); });
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), 200);
}

TEST(PopupFade, LayeredStyleFollowsTheSwitchAndTheAlphaIsApplied) {
    HWND w = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"fade", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    SetPopupLayered(w, true);
    EXPECT_NE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    SetPopupAlpha(w, 77);
    BYTE alpha = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(w, nullptr, &alpha, &flags))
        EXPECT_EQ(alpha, 77);
    {
        CreepingClock clock;
        FadeInPopup(w, 90);
    }
    if (GetLayeredWindowAttributes(w, nullptr, &alpha, &flags))
        EXPECT_EQ(alpha, 90);
    SetPopupLayered(w, false);
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_NE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    DestroyWindow(w);
}
