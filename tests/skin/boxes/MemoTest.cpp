// The skinned memo on the host form with an external vertical bar: the bar follows the window's scroll state and
// scrolls the text, the wheel moves one line, the colours follow focus and hover, a disabled memo draws one line
// fewer than fit in the skin's disabled colour, the context menu, and lines of any length without a window.
#include <gtest/gtest.h>

#include <string>

#include "BoxTestSupport.h"
#include "ControlTestSupport.h"
#include "classlib/StdCtrls.h"
#include "skin/boxes/SkinMemo.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"

namespace {

using namespace boxtest;
using namespace ctltest;

constexpr TColor kBG = static_cast<TColor>(0xF0E0D0), kActiveBG = static_cast<TColor>(0xD0F0E0);
constexpr TColor kFont = static_cast<TColor>(RGB(200, 0, 0)), kActiveFont = static_cast<TColor>(RGB(0, 200, 0));

std::wstring NumberedLines(int N) {
    std::wstring s;
    for (int i = 0; i < N; ++i) {
        if (i)
            s += L"\r\n";
        s += L"line " + std::to_wstring(i);
    }
    return s;
}

// A skinned memo with its vertical bar, and a plain edit to take the focus; freed with the test (memo first).
struct MemoOnHost {
    MemoOnHost() {
        Host& h = SharedHost();
        bar = new TbsSkinScrollBar(h.form);
        bar->SetParent(h.form);
        bar->SetKind(sbVertical);
        bar->SetBounds(222, 20, 17, 96);
        m = new TbsSkinMemo2(h.form);
        m->SetParent(h.form);
        m->SetBounds(20, 20, 200, 96);
        m->SetSkinData(h.data);
        m->SetVScrollBar(bar);
        other = new TEdit(h.form);
        other->SetParent(h.form);
        other->SetBounds(250, 20, 60, 21);
        m->Handle();
        Pump(20);
    }
    ~MemoOnHost() {
        delete m;
        delete bar;
        delete other;
    }
    SCROLLINFO Info() {
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(m->Handle(), SB_VERT, &si);
        return si;
    }
    TbsSkinMemo2* m;
    TbsSkinScrollBar* bar;
    TEdit* other;
};

TEST(SkinMemo, TheBarFollowsTheWindowAndScrollsTheText) {
    MemoOnHost t;
    t.m->Lines()->SetText(L"one\r\ntwo");
    EXPECT_FALSE(t.bar->Enabled());
    EXPECT_EQ(t.bar->Max(), 0);
    EXPECT_EQ(t.bar->PageSize(), 0);
    t.m->Lines()->SetText(NumberedLines(40));
    const SCROLLINFO si = t.Info();
    ASSERT_GT(si.nPage, 0u);
    ASSERT_LT(static_cast<int>(si.nPage), si.nMax + 1);
    EXPECT_TRUE(t.bar->Enabled());
    EXPECT_EQ(t.bar->Max(), si.nMax);
    EXPECT_EQ(t.bar->PageSize(), static_cast<int>(si.nPage));
    // The bar's position is the first visible line.
    t.bar->SetPosition(7);
    EXPECT_EQ(t.m->TopLine(), 7);
    // One wheel step is one line, towards the user down; the bar follows.
    SendMessageW(t.m->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(t.m->TopLine(), 8);
    EXPECT_EQ(t.bar->Position(), 8);
    SendMessageW(t.m->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(t.m->TopLine(), 7);
    EXPECT_EQ(t.bar->Position(), 7);
    // Disabled memo, disabled bar; enabled again, the range is back.
    t.m->SetEnabled(false);
    EXPECT_FALSE(t.bar->Enabled());
    t.m->SetEnabled(true);
    EXPECT_TRUE(t.bar->Enabled());
    EXPECT_EQ(t.bar->Max(), si.nMax);
}

TEST(SkinMemo, ABarOutlivingItsMemoCallsNothing) {
    Host& h = SharedHost();
    auto* bar = new TbsSkinScrollBar(h.form);
    bar->SetParent(h.form);
    bar->SetKind(sbVertical);
    bar->SetBounds(222, 20, 17, 96);
    auto* m = new TbsSkinMemo2(h.form);
    m->SetParent(h.form);
    m->SetBounds(20, 20, 200, 96);
    m->SetVScrollBar(bar);
    EXPECT_TRUE(static_cast<bool>(bar->OnChange));
    delete m;
    EXPECT_FALSE(static_cast<bool>(bar->OnChange));
    bar->SetRange(0, 50, 5, 0);
    bar->SetPosition(10);  // would reach the freed memo
    delete bar;
}

TEST(SkinMemo, LinesOfAnyLengthWithoutAWindow) {
    Host& h = SharedHost();
    constexpr int kLines = 66000;  // past the 16 bits of a scroll message's thumb position
    auto* bar = new TbsSkinScrollBar(h.form);
    bar->SetParent(h.form);
    bar->SetKind(sbVertical);
    bar->SetBounds(222, 20, 17, 96);
    auto* m = new TbsSkinMemo2(h.form);
    m->SetBounds(20, 20, 200, 96);
    m->Lines()->SetText(NumberedLines(kLines));
    m->Lines()->Add(std::wstring(40000, L'x'));
    EXPECT_FALSE(m->HandleAllocated());
    EXPECT_EQ(m->Lines()->Count(), kLines + 1);
    EXPECT_EQ(m->Lines()->Strings(kLines - 1), L"line " + std::to_wstring(kLines - 1));
    EXPECT_EQ(m->Lines()->Strings(kLines).size(), 40000u);
    m->Lines()->Delete(kLines);
    // In a window the whole text is there, and the bar reaches a line past 65535.
    m->SetWordWrap(false);
    m->SetParent(h.form);
    m->SetVScrollBar(bar);
    m->Handle();
    EXPECT_EQ(m->Lines()->Count(), kLines);
    ASSERT_TRUE(bar->Enabled());
    bar->SetPosition(65900);
    EXPECT_EQ(m->TopLine(), 65900);
    delete m;
    delete bar;
}

TEST(SkinMemo, ColoursFollowFocusAndHover) {
    MemoOnHost t;
    EXPECT_NE(t.m->SkinIndex(), -1);
    EXPECT_EQ(t.m->Color(), kBG);
    EXPECT_EQ(t.m->Font()->Color(), kFont);
    EXPECT_EQ(t.m->Font()->Name(), L"Arial");
    t.m->SetFocus();
    Pump(10);
    EXPECT_EQ(t.m->Color(), kActiveBG);
    EXPECT_EQ(t.m->Font()->Color(), kActiveFont);
    // Hovered while focused, then the focus goes: the mouse still holds the active look.
    t.m->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(t.m->MouseIn());
    t.other->SetFocus();
    Pump(10);
    EXPECT_EQ(t.m->Color(), kActiveBG);
    t.m->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(t.m->MouseIn());
    EXPECT_EQ(t.m->Color(), kBG);
    EXPECT_EQ(t.m->Font()->Color(), kFont);
    // Hover alone lights it; leaving while focused keeps the active colours.
    t.m->Perform(CM_MOUSEENTER);
    EXPECT_EQ(t.m->Color(), kActiveBG);
    t.m->SetFocus();
    Pump(10);
    t.m->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(t.m->Color(), kActiveBG);
    // The window paints with the colour it has.
    auto b = PaintInto(t.m->Width(), t.m->Height(), [&](HDC dc) {
        SendMessageW(t.m->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    });
    EXPECT_EQ(Px(b.get(), t.m->Width() - 2, t.m->Height() - 2), static_cast<COLORREF>(kActiveBG));
    // The whole window is client area and answers as such.
    EXPECT_EQ(t.m->ClientWidth(), t.m->Width());
    RECT wr;
    GetWindowRect(t.m->Handle(), &wr);
    EXPECT_EQ(SendMessageW(t.m->Handle(), WM_NCHITTEST, 0, MAKELPARAM(wr.right - 3, wr.bottom - 3)), HTCLIENT);
}

TEST(SkinMemo, DisabledDrawsOneLineFewerThanFitInTheEditsDisabledColour) {
    MemoOnHost t;
    t.m->Lines()->SetText(NumberedLines(30));
    t.m->SetEnabled(false);
    const int n = t.m->GetVisibleLines();
    ASSERT_GE(n, 3);
    EXPECT_EQ(t.m->GetDisabledFontColor(), static_cast<TColor>(0x808080));
    auto b = PaintInto(t.m->Width(), t.m->Height(), [&](HDC dc) {
        SendMessageW(t.m->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    });
    RECT r{};
    SendMessageW(t.m->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    const int lineHeight = t.m->ClientHeight() / n;
    TCanvas c;
    c.SetHandle(b->Canvas()->Handle());
    c.Font()->SetName(L"Arial");
    c.Font()->SetHeight(14);
    const int th = c.TextHeight(L"Wq");
    c.SetHandle(nullptr);
    ASSERT_GE(lineHeight, th);
    auto greyIn = [&](int line) {
        int grey = 0;
        for (int y = r.top + line * th; y < r.top + (line + 1) * th && y < b->Height(); ++y)
            for (int x = r.left; x < r.right; ++x)
                grey += Px(b.get(), x, y) == RGB(128, 128, 128);
        return grey;
    };
    // The background is the memo's colour, not what was under it.
    EXPECT_EQ(Px(b.get(), t.m->Width() - 2, t.m->Height() - 2), static_cast<COLORREF>(kBG));
    EXPECT_GT(greyIn(0), 5);
    EXPECT_GT(greyIn(n - 2), 5);
    EXPECT_EQ(greyIn(n - 1), 0);
}

TEST(SkinMemo, ReadOnlyMenuAtTheCentre) {
    MemoOnHost t;
    t.m->Lines()->SetText(L"alpha\r\nbeta");
    t.m->SetReadOnly(true);
    t.m->SetFocus();
    t.m->SetSelStart(0);
    t.m->SetSelLength(3);
    SetClipboardText(L"x");
    // Read-only: Cut, Paste and Delete are off; part of the text is selected.
    CheckKeyboardMenu(t.m, {false, false, true, false, false, true}, L"alp");
}

}  // namespace
