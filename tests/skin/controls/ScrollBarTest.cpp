// The skinned scroll bar on real windows under Wine: mouse presses and drags sent as messages, the repeat on the
// seam's fake clock, keys, wheel and focus, the built-in look and the fixture skin's look as pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "skin/controls/SkinScrollBar.h"

namespace {

using namespace ctltest;

constexpr COLORREF kHDown = RGB(10, 200, 10), kHTrack = RGB(10, 150, 10), kHUp = RGB(10, 100, 10);
constexpr COLORREF kHActiveUp = RGB(10, 100, 200), kHDownUp = RGB(10, 100, 250);
constexpr COLORREF kHThumb = RGB(200, 10, 10), kHActiveThumb = RGB(200, 60, 10), kHDownThumb = RGB(200, 110, 10);
constexpr COLORREF kHGlyph = RGB(0, 0, 255);
constexpr COLORREF kVDown = RGB(20, 200, 10), kVUp = RGB(20, 100, 10), kVActiveThumb = RGB(210, 60, 10);
constexpr COLORREF kBothTrack = RGB(30, 150, 10);

LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

class SkinScrollBarTest : public HostedControls {
  protected:
    // A bar on the host form; Skinned: with the fixture's entry, else the built-in look.
    TbsSkinScrollBar* Bar(bool Skinned, TScrollBarKind Kind = sbHorizontal) {
        auto* b = new TbsSkinScrollBar(host_->form);
        owned_.push_back(b);
        b->SetParent(host_->form);
        if (Kind == sbVertical) {
            b->SetKind(sbVertical);
            b->SetSkinDataName(L"vscrollbar");
            b->SetDefaultWidth(19);
            b->SetDefaultHeight(0);
            b->SetBounds(10, 40, 19, 200);
        } else {
            b->SetBounds(10, 10, 200, 19);
        }
        if (Skinned)
            b->SetSkinData(host_->data);
        b->HandleNeeded();
        return b;
    }
    static std::unique_ptr<TBitmap> Look(TbsSkinScrollBar* b) {
        return PaintInto(b->Width(), b->Height(), [b](HDC dc) { b->PaintTo(dc, 0, 0); });
    }
    // The look while the left button is held at (x, y); released afterwards.
    static std::unique_ptr<TBitmap> LookPressed(TbsSkinScrollBar* b, int x, int y) {
        FakeSeam seam;
        SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
        auto img = Look(b);
        SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(x, y));
        return img;
    }
};

TEST_F(SkinScrollBarTest, SettersFollowThePositionRule) {
    TbsSkinScrollBar* b = Bar(false);
    int changes = 0;
    b->OnChange = [&](TObject*) { ++changes; };
    b->SetPageSize(10);
    b->SetPosition(95);
    EXPECT_EQ(b->Position(), 91);
    b->SetPosition(-5);
    EXPECT_EQ(b->Position(), 0);
    EXPECT_EQ(changes, 2);
    b->SetPosition(90);
    b->SetPageSize(20);  // 90 + 20 > 101: refused
    EXPECT_EQ(b->PageSize(), 10);
    // Max counts the position from Min
    b->SetRange(10, 200, 10, 100);
    b->SetMax(105);
    EXPECT_EQ(b->Position(), 96);
    // a page larger than the range keeps the position at Min
    b->SetRange(0, 10, 20, 0);
    EXPECT_EQ(b->Position(), 0);
    b->SetRange(0, 100, 0, 50);
    b->SetMin(60);
    EXPECT_EQ(b->Position(), 60);
    changes = 0;
    b->SimplySetPosition(70);
    EXPECT_EQ(b->Position(), 70);
    EXPECT_EQ(changes, 0);  // SetRange, SetMax, SetMin and SimplySetPosition fire nothing
}

TEST_F(SkinScrollBarTest, HeldUpButtonRepeatsOnTheSeamClock) {
    FakeSeam seam;
    TbsSkinScrollBar* b = Bar(false);
    std::vector<std::uint32_t> at;
    b->OnUpButtonClick = [&](TObject*) { at.push_back(seam.Now()); };
    const std::uint32_t t0 = seam.Now();
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, At(190, 9));
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(190, 9));
    seam.Advance(660);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(190, 9));
    seam.Advance(500);
    EXPECT_EQ(at, (std::vector<std::uint32_t>{t0, t0 + 550, t0 + 600, t0 + 650}));
    EXPECT_EQ(b->Position(), 0);
    // without a handler the button steps by SmallChange
    b->OnUpButtonClick = nullptr;
    b->SetSmallChange(3);
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(190, 9));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(190, 9));
    EXPECT_EQ(b->Position(), 3);
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 9));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(5, 9));
    EXPECT_EQ(b->Position(), 0);
}

TEST_F(SkinScrollBarTest, LeavingTheHeldButtonPausesTheRepeat) {
    FakeSeam seam;
    TbsSkinScrollBar* b = Bar(false);
    int steps = 0;
    b->OnUpButtonClick = [&](TObject*) { ++steps; };
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, At(190, 9));
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(190, 9));
    seam.Advance(600);
    EXPECT_EQ(steps, 3);  // press, 550, 600
    SendMessageW(b->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(100, 9));
    seam.Advance(300);
    EXPECT_EQ(steps, 3);
    SendMessageW(b->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(190, 9));  // back on it: 50 ms steps again
    seam.Advance(100);
    EXPECT_EQ(steps, 5);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(190, 9));
}

TEST_F(SkinScrollBarTest, TrackClickPagesOnceAndRepeatsUntilTheThumbPassesThePointer) {
    FakeSeam seam;
    TbsSkinScrollBar* b = Bar(false);
    b->SetLargeChange(10);
    std::vector<std::string> log;
    b->OnChange = [&](TObject*) { log.push_back("change"); };
    b->OnPageDown = [&](TObject*) { log.push_back("pagedown"); };
    b->OnPageUp = [&](TObject*) { log.push_back("pageup"); };
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, At(100, 9));
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(100, 9));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(100, 9));
    seam.Advance(1000);
    EXPECT_EQ(b->Position(), 10);
    EXPECT_EQ(log, (std::vector<std::string>{"change", "pagedown"}));
    // held: steps every 50 ms after the wait until the thumb (centred on 25 + 1.5 * Position) reaches x 100
    log.clear();
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(100, 9));
    seam.Advance(2000);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(100, 9));
    EXPECT_EQ(b->Position(), 50);  // the thumb 92..108 covers x 100
    // before the thumb: towards Min
    log.clear();
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(30, 9));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(30, 9));
    EXPECT_EQ(b->Position(), 40);
    EXPECT_EQ(log, (std::vector<std::string>{"change", "pageup"}));
}

TEST_F(SkinScrollBarTest, ThumbDragChangesPerStepAndEndsWithOneLastChange) {
    FakeSeam seam;
    TbsSkinScrollBar* b = Bar(false);
    std::vector<std::string> log;
    b->OnChange = [&](TObject* s) {
        log.push_back("change " + std::to_string(static_cast<TbsSkinScrollBar*>(s)->Position()));
    };
    b->OnLastChange = [&](TObject*) { log.push_back("last"); };
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, At(25, 9));
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(25, 9));
    EXPECT_TRUE(b->Dragging());
    SendMessageW(b->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(100, 9));
    SendMessageW(b->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(100, 30));  // off the bar: still dragging
    SendMessageW(b->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(400, 9));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(400, 9));
    EXPECT_FALSE(b->Dragging());
    EXPECT_EQ(log, (std::vector<std::string>{"change 50", "change 100", "last"}));
    // a track click fires no OnLastChange
    log.clear();
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(30, 9));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(30, 9));
    EXPECT_EQ(log, (std::vector<std::string>{"change 99"}));
}

TEST_F(SkinScrollBarTest, RightPressOnlyReportsAndHandlerMayChangeTheStep) {
    FakeSeam seam;
    TbsSkinScrollBar* b = Bar(false);
    int downs = 0;
    b->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    SendMessageW(b->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(190, 9));
    SendMessageW(b->Handle(), WM_RBUTTONUP, 0, At(190, 9));
    seam.Advance(1000);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(b->Position(), 0);
    // the notifier sets LargeChange in its OnMouseDown: that very press uses it
    b->OnMouseDown = [&](TObject* s, TMouseButton, TShiftState, int, int) {
        static_cast<TbsSkinScrollBar*>(s)->SetLargeChange(30);
    };
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(100, 9));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(100, 9));
    EXPECT_EQ(b->Position(), 30);
}

TEST_F(SkinScrollBarTest, KeysWheelAndFocusOnlyWithCanFocused) {
    TbsSkinScrollBar* b = Bar(false);
    TbsSkinScrollBar* other = Bar(false);
    other->SetCanFocused(true);
    other->SetTop(60);
    other->SetFocus();
    Pump(20);
    ASSERT_EQ(GetFocus(), other->Handle());
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(100, 9));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(100, 9));
    EXPECT_EQ(GetFocus(), other->Handle());
    b->SetPosition(50);
    EXPECT_EQ(b->Perform(CM_WANTSPECIALKEY, VK_RIGHT), 0);
    SendMessageW(b->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(b->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), At(50, 50));
    EXPECT_EQ(b->Position(), 50);
    EXPECT_FALSE(b->TabStop());

    b->SetCanFocused(true);
    EXPECT_TRUE(b->TabStop());
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(150, 9));
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(150, 9));
    EXPECT_EQ(GetFocus(), b->Handle());
    EXPECT_EQ(b->Position(), 51);  // the click still pages (LargeChange 1)
    EXPECT_EQ(b->Perform(CM_WANTSPECIALKEY, VK_LEFT), 1);
    SendMessageW(b->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(b->Position(), 52);
    SendMessageW(b->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(b->Position(), 51);
    SendMessageW(b->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), At(50, 50));
    EXPECT_EQ(b->Position(), 52);
    SendMessageW(b->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), At(50, 50));
    EXPECT_EQ(b->Position(), 51);
}

TEST_F(SkinScrollBarTest, BuiltInLook) {
    TbsSkinScrollBar* b = Bar(false);
    auto img = Look(b);
    Shot(img.get(), L"scrollbar_default");
    const COLORREF face = Sys(COLOR_BTNFACE), shadow = Sys(COLOR_BTNSHADOW);
    EXPECT_EQ(Px(img.get(), 0, 0), face);
    EXPECT_EQ(Px(img.get(), 1, 9), shadow);                                 // down button frame
    EXPECT_EQ(Px(img.get(), 17, 9), shadow);                                // thumb frame at Position 0
    EXPECT_EQ(Px(img.get(), 100, 9), face);                                 // track
    EXPECT_EQ(Px(img.get(), 198, 9), shadow);                               // up button frame
    EXPECT_GT(CountColour(img.get(), {184, 2, 198, 17}, RGB(0, 0, 0)), 3);  // its arrow
    // hot and pressed parts
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, At(190, 9));
    img = Look(b);
    EXPECT_EQ(Px(img.get(), 183, 9), RGB(59, 107, 183));
    EXPECT_EQ(Px(img.get(), 185, 3), RGB(193, 212, 243));
    img = LookPressed(b, 190, 9);
    EXPECT_EQ(Px(img.get(), 185, 3), RGB(162, 188, 228));
    // disabled: buttons and track, no thumb
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, At(100, 9));
    b->SetEnabled(false);
    img = Look(b);
    EXPECT_EQ(Px(img.get(), 17, 9), face);
    EXPECT_EQ(Px(img.get(), 198, 9), shadow);
    b->SetEnabled(true);
    // Both: the right 19 pixels stay plain, the up button ends before them
    b->SetBoth(true);
    img = Look(b);
    Shot(img.get(), L"scrollbar_both");
    EXPECT_EQ(CountColour(img.get(), {181, 0, 200, 19}, face), 19 * 19);
    EXPECT_EQ(Px(img.get(), 179, 9), shadow);
}

TEST_F(SkinScrollBarTest, SkinLook) {
    TbsSkinScrollBar* b = Bar(true);
    ASSERT_NE(b->SkinIndex(), -1);
    EXPECT_EQ(b->Height(), 17);  // the entry stretches across only
    b->SetWidth(160);
    auto img = Look(b);
    Shot(img.get(), L"scrollbar_skin");
    EXPECT_EQ(Px(img.get(), 5, 8), kHDown);
    EXPECT_EQ(Px(img.get(), 100, 8), kHTrack);
    EXPECT_EQ(Px(img.get(), 150, 8), kHUp);
    EXPECT_EQ(Px(img.get(), 16, 3), kHThumb);  // thumb 15..25, 2..15
    EXPECT_EQ(Px(img.get(), 20, 7), kHGlyph);  // grip centred at (18, 5)
    EXPECT_EQ(Px(img.get(), 16, 1), kHTrack);  // above the thumb
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, At(150, 8));
    img = Look(b);
    EXPECT_EQ(Px(img.get(), 150, 8), kHActiveUp);
    img = LookPressed(b, 150, 8);
    EXPECT_EQ(Px(img.get(), 150, 8), kHDownUp);
    b->SetPosition(0);
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, At(16, 3));
    img = Look(b);
    EXPECT_EQ(Px(img.get(), 16, 3), kHActiveThumb);
    img = LookPressed(b, 16, 3);
    EXPECT_EQ(Px(img.get(), 16, 3), kHDownThumb);
    // Both switches to the both entry and back
    b->SetBoth(true);
    EXPECT_EQ(b->SkinDataName(), L"bothhscrollbar");
    img = Look(b);
    EXPECT_EQ(Px(img.get(), 100, 8), kBothTrack);
    b->SetBoth(false);
    EXPECT_EQ(b->SkinDataName(), L"hscrollbar");
}

TEST_F(SkinScrollBarTest, VerticalSkinLook) {
    TbsSkinScrollBar* b = Bar(true, sbVertical);
    ASSERT_NE(b->SkinIndex(), -1);
    EXPECT_EQ(b->Width(), 17);
    b->SetHeight(150);
    b->SetPosition(100);
    auto img = Look(b);
    Shot(img.get(), L"scrollbar_vskin");
    EXPECT_EQ(Px(img.get(), 8, 2), kVDown);
    EXPECT_EQ(Px(img.get(), 8, 145), kVUp);
    EXPECT_EQ(Px(img.get(), 8, 130), RGB(210, 10, 10));  // thumb 125..135 at Max
    // the empty pressed thumb picture falls back to the hot one
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, At(8, 130));
    img = LookPressed(b, 8, 130);
    EXPECT_EQ(Px(img.get(), 8, 130), kVActiveThumb);
}

// ---- The generated skin set's bars -------------------------------------------------------------------------------

// Which way the arrow drawn in R points along one axis: +1 right (down), -1 left (up), 0 no arrow found. An arrow
// pixel differs clearly from the button's face in its row; the line across the arrow holding most of its pixels is
// its base and the tip lies on the other side of the glyph's extent. The outer 2 pixels (the frame) are skipped.
int ArrowDirection(TBitmap* b, const TRect& R, bool Vertical) {
    std::vector<int> count(Vertical ? R.Height() : R.Width(), 0);
    int total = 0;
    for (int y = R.Top + 2; y < R.Bottom - 2; ++y) {
        const COLORREF bg = Px(b, R.Left + 2, y);
        for (int x = R.Left + 3; x < R.Right - 2; ++x) {
            const COLORREF c = Px(b, x, y);
            const int d = std::abs(GetRValue(c) - GetRValue(bg)) + std::abs(GetGValue(c) - GetGValue(bg)) +
                          std::abs(GetBValue(c) - GetBValue(bg));
            if (d > 90) {
                ++count[Vertical ? y - R.Top : x - R.Left];
                ++total;
            }
        }
    }
    if (total < 8)
        return 0;
    int lo = -1, hi = -1, base = 0;
    for (int i = 0; i < static_cast<int>(count.size()); ++i) {
        if (count[i] == 0)
            continue;
        if (lo == -1)
            lo = i;
        hi = i;
        if (count[i] > count[base])
            base = i;
    }
    const int twice = 2 * base - (lo + hi);
    return twice < 0 ? 1 : twice > 0 ? -1 : 0;
}

std::string Narrow(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

bool SameRegion(TBitmap* a, TBitmap* b, const TRect& R) {
    for (int y = R.Top; y < R.Bottom; ++y)
        for (int x = R.Left; x < R.Right; ++x)
            if (Px(a, x, y) != Px(b, x, y))
                return false;
    return true;
}

// One skin per design of the set, and the skins the notifier is shown in most: every bar kind finds its entry,
// shows both arrow buttons pointing outwards at its ends with the track between them, and changes the look of an
// arrow button and the thumb when hot and pressed.
TEST_F(SkinScrollBarTest, SkinSetBarsShowArrowsTrackAndThumbInEveryState) {
    const wchar_t* skins[] = {L"00_Aero_Ocean",  L"01_Metro_Azure",   L"02_Office_2010_Cobalt", L"03_Office_2013_Indigo",
                              L"04_Luna_Violet", L"05_Classic_Plum",  L"06_Carbon_Rose",        L"07_Trelm_Crimson",
                              L"23_Trelm_Graphite", L"43_Office_2010_Black", L"81_Trelm_Blue"};
    for (const wchar_t* skin : skins) {
        host_->data->LoadFromFile(SetSkin(skin));
        Pump(10);
        for (int kind = 0; kind < 3; ++kind) {
            const bool vertical = kind == 1;
            SCOPED_TRACE(::testing::Message() << Narrow(skin) << (kind == 0 ? " hscrollbar" : vertical ? " vscrollbar" : " both"));
            TbsSkinScrollBar* b = Bar(true, vertical ? sbVertical : sbHorizontal);
            if (kind == 2)
                b->SetBoth(true);
            b->SetPageSize(0);
            auto normal = Look(b);
            ASSERT_NE(b->SkinIndex(), -1);
            Shot(normal.get(), L"setbar_" + std::wstring(skin) + L"_" + std::to_wstring(kind));
            const TbsScrollLayout L = b->CalcRects();
            const TRect dn = L.Buttons[sbDownButton], up = L.Buttons[sbUpButton], track = L.NewTrackArea;
            ASSERT_FALSE(dn.IsEmpty());
            ASSERT_FALSE(up.IsEmpty());
            ASSERT_FALSE(track.IsEmpty());
            // the down button at the start, the track, the up button; the both bar ends with its corner square
            const int length = vertical ? b->Height() : b->Width();
            if (vertical) {
                EXPECT_EQ(dn.Top, 0);
                EXPECT_LE(dn.Bottom, track.Top);
                EXPECT_LE(track.Bottom, up.Top);
                EXPECT_EQ(up.Bottom, length);
            } else {
                EXPECT_EQ(dn.Left, 0);
                EXPECT_LE(dn.Right, track.Left);
                EXPECT_LE(track.Right, up.Left);
                EXPECT_EQ(up.Right, kind == 2 ? length - b->Height() : length);
            }
            EXPECT_EQ(ArrowDirection(normal.get(), dn, vertical), -1);
            EXPECT_EQ(ArrowDirection(normal.get(), up, vertical), 1);
            // hot and pressed arrow buttons, hot and pressed thumb: each a look of its own
            const TPoint upAt{(up.Left + up.Right) / 2, (up.Top + up.Bottom) / 2};
            SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, At(upAt.X, upAt.Y));
            auto hot = Look(b);
            EXPECT_FALSE(SameRegion(normal.get(), hot.get(), up));
            auto pressed = LookPressed(b, upAt.X, upAt.Y);
            EXPECT_FALSE(SameRegion(hot.get(), pressed.get(), up));
            EXPECT_EQ(ArrowDirection(pressed.get(), up, vertical), 1);
            b->SimplySetPosition(50);
            const TRect thumb = b->CalcRects().Buttons[sbThumb];
            ASSERT_FALSE(thumb.IsEmpty());
            EXPECT_GE(vertical ? thumb.Height() : thumb.Width(), 16);
            const TPoint thumbAt{(thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2};
            SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, At(5 + (vertical ? 0 : track.Left), 5 + (vertical ? track.Top : 0)));
            auto plain = Look(b);
            EXPECT_FALSE(SameRegion(plain.get(), normal.get(), thumb));  // the thumb moved there
            SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, At(thumbAt.X, thumbAt.Y));
            auto hotThumb = Look(b);
            EXPECT_FALSE(SameRegion(plain.get(), hotThumb.get(), thumb));
            auto downThumb = LookPressed(b, thumbAt.X, thumbAt.Y);
            EXPECT_FALSE(SameRegion(plain.get(), downThumb.get(), thumb));
        }
        for (auto it = owned_.rbegin(); it != owned_.rend(); ++it)
            delete *it;
        owned_.clear();
    }
}

}  // namespace
