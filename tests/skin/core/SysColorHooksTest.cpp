// System colour redirection with a test container: the program's own GetSysColor and GetSysColorBrush answer with the
// skin's colours for the chosen pairs only, system-colour skin values resolve without recursion, and everything is
// real again after the redirection is removed.
#include "skin/core/SysColorHooks.h"

#include <gtest/gtest.h>

namespace {

struct TTestContainer : ISkinColorSource {
    bool empty = false;
    TbsSystemColorHooks hooks = bsschHighLight;
    TColor window = 0x102030, windowText = 0x405060, highlight = 0x0000FF, highlightText = 0x00FF00;
    bool Empty() const override { return empty; }
    TbsSystemColorHooks SystemColorHooks() const override { return hooks; }
    TColor cWindow() const override { return window; }
    TColor cWindowText() const override { return windowText; }
    TColor cHighLight() const override { return highlight; }
    TColor cHighLightText() const override { return highlightText; }
};

// The system's own functions, reached without the program's import table.
DWORD RealColor(int index) {
    auto f = reinterpret_cast<DWORD(WINAPI*)(int)>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetSysColor"));
    return f(index);
}
HBRUSH RealBrush(int index) {
    auto f =
        reinterpret_cast<HBRUSH(WINAPI*)(int)>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetSysColorBrush"));
    return f(index);
}

// The program's own calls, each through the import table as it stands at the call (the compiler may keep an import
// address in a register within one function, so every call gets a function of its own).
__attribute__((noinline)) DWORD ProgramColor(int index) {
    return ::GetSysColor(index);
}
__attribute__((noinline)) HBRUSH ProgramBrush(int index) {
    return ::GetSysColorBrush(index);
}
__attribute__((noinline)) HPEN ProgramPen(int style, int width, COLORREF color) {
    return ::CreatePen(style, width, color);
}

// Removes any redirection a failed test left behind.
class SysColorHooksTest : public testing::Test {
  protected:
    ~SysColorHooksTest() override {
        ReleaseSystemColorHooks(&skin);
        ReleaseSystemColorHooks(&other);
    }
    TTestContainer skin, other;
};

}  // namespace

TEST_F(SysColorHooksTest, HighlightPairFollowsTheSkin) {
    SetChangeSystemColors(&skin, true);
    ASSERT_EQ(SystemColorHookOwner(), &skin);
    EXPECT_TRUE(IsGetSysColorHooked());
    EXPECT_EQ(ProgramColor(COLOR_HIGHLIGHT), 0x0000FFu);
    EXPECT_EQ(ProgramColor(COLOR_HIGHLIGHTTEXT), 0x00FF00u);
    EXPECT_EQ(ProgramColor(COLOR_WINDOW), RealColor(COLOR_WINDOW));  // window pair not chosen
    EXPECT_EQ(ProgramColor(COLOR_BTNFACE), RealColor(COLOR_BTNFACE));
    LOGBRUSH lb{};
    HBRUSH b = ProgramBrush(COLOR_HIGHLIGHT);
    ASSERT_NE(b, nullptr);
    ::GetObjectW(b, sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, 0x0000FFu);
    EXPECT_EQ(ProgramBrush(COLOR_HIGHLIGHT), b);  // one brush per colour, not one per call
    EXPECT_EQ(ProgramBrush(COLOR_BTNFACE), RealBrush(COLOR_BTNFACE));
    HPEN pen = ProgramPen(PS_SOLID, 1, 0x123456);
    LOGPEN lp{};
    ::GetObjectW(pen, sizeof lp, &lp);
    EXPECT_EQ(lp.lopnColor, 0x123456u);
    ::DeleteObject(pen);

    skin.hooks = bsschHighLight | bsschWindow;
    EXPECT_EQ(ProgramColor(COLOR_WINDOW), 0x102030u);
    EXPECT_EQ(ProgramColor(COLOR_WINDOWTEXT), 0x405060u);

    SetChangeSystemColors(&skin, false);
    EXPECT_EQ(SystemColorHookOwner(), nullptr);
    EXPECT_EQ(ProgramColor(COLOR_HIGHLIGHT), RealColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(ProgramBrush(COLOR_HIGHLIGHT), RealBrush(COLOR_HIGHLIGHT));
}

TEST_F(SysColorHooksTest, SkinColourAtItsSystemDefaultIsTheRealColour) {
    skin.highlight = clHighlight;  // the [SKINCOLORS] default: a system colour constant
    skin.highlightText = clWindow;
    SetChangeSystemColors(&skin, true);
    EXPECT_EQ(ProgramColor(COLOR_HIGHLIGHT), RealColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(ProgramColor(COLOR_HIGHLIGHTTEXT), RealColor(COLOR_WINDOW));
    EXPECT_EQ(ColorToRGB(clHighlight), RealColor(COLOR_HIGHLIGHT));
}

TEST_F(SysColorHooksTest, ClearSkinAndLoadsMakeEverythingRealAgain) {
    SetChangeSystemColors(&skin, true);
    skin.empty = true;  // a load begins: the first call removes the redirection
    EXPECT_EQ(ProgramColor(COLOR_HIGHLIGHT), RealColor(COLOR_HIGHLIGHT));
    EXPECT_FALSE(IsGetSysColorHooked());
    skin.empty = false;
    SetChangeSystemColors(&skin, true);  // the load ends
    EXPECT_TRUE(IsGetSysColorHooked());
    EXPECT_EQ(ProgramColor(COLOR_HIGHLIGHT), 0x0000FFu);
    ReleaseSystemColorHooks(&skin);  // ClearSkin
    EXPECT_EQ(SystemColorHookOwner(), nullptr);
    EXPECT_FALSE(IsGetSysColorHooked() || IsGetSysColorBrushHooked() || IsCreatePenHooked());
    EXPECT_EQ(ProgramColor(COLOR_HIGHLIGHT), RealColor(COLOR_HIGHLIGHT));
}

TEST_F(SysColorHooksTest, OneOwnerAtATimeAndNoneWithoutASkin) {
    skin.empty = true;
    SetChangeSystemColors(&skin, true);  // no skin loaded yet: nothing
    EXPECT_EQ(SystemColorHookOwner(), nullptr);
    skin.empty = false;
    SetChangeSystemColors(&skin, true);
    other.highlight = 0x777777;
    SetChangeSystemColors(&other, true);  // another container owns it
    EXPECT_EQ(SystemColorHookOwner(), &skin);
    SetChangeSystemColors(&other, false);
    EXPECT_EQ(SystemColorHookOwner(), &skin);
    EXPECT_EQ(ProgramColor(COLOR_HIGHLIGHT), 0x0000FFu);
}
