// The skinned push button on real windows with the colour-coded fixture skin ("button": a state picture per state;
// "animbutton": fade, three animation frames, no pressed picture, a glow with its mask): looks through PaintTo,
// mouse and keys as real messages to the button's window, timers on the fake clock of the control seam.
#include <gtest/gtest.h>

#include <algorithm>

#include "PressTestSupport.h"
#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"
#include "skin/controls/SkinButton.h"


namespace {

using namespace ctltest;

class Buttons : public ControlsFixture {
  protected:
    // An "animbutton" that cannot take the focus, from a variant of the fixture with one value changed.
    TbsSkinButton* AnimButton(const std::wstring& Variant, const std::string& From, const std::string& To) {
        return AnimButton(Variant, [&](std::string& s) { ReplaceAll(s, From, To); });
    }
    TbsSkinButton* AnimButton(const std::wstring& Variant, const std::function<void(std::string&)>& Edit) {
        host_->data->LoadFromFile(FixtureVariant(Variant, Edit));
        auto* b = Make<TbsSkinButton>(L"", 10, 10, 40, 20);
        b->SetSkinDataName(L"animbutton");
        b->ChangeSkinData();
        b->SetCanFocused(false);
        return b;
    }
};

TEST_F(Buttons, BuiltInLookPerState) {
    auto* b = Make<TbsSkinButton>(L"", 10, 10, 75, 25, false);
    ASSERT_EQ(b->Width(), 75);
    ASSERT_EQ(b->Height(), 25);
    auto p = Paint(b);
    EXPECT_EQ(Px(p.get(), 0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Px(p.get(), 37, 12), Sys(COLOR_BTNFACE));
    b->Perform(CM_MOUSEENTER);
    p = Paint(b);
    EXPECT_EQ(Px(p.get(), 0, 0), 0xB76B3Bu);
    EXPECT_EQ(Px(p.get(), 37, 12), 0xF3D4C1u);
    Mouse(b, WM_LBUTTONDOWN, 30, 10, MK_LBUTTON);
    p = Paint(b);
    EXPECT_EQ(Px(p.get(), 0, 0), 0xB76B3Bu);
    EXPECT_EQ(Px(p.get(), 37, 12), 0xE4BCA2u);
    Mouse(b, WM_LBUTTONUP, 30, 10);
}

TEST_F(Buttons, EachStateDrawsItsSkinPicture) {
    FakeSeam seam;
    seam.under = nullptr;
    auto* b = Make<TbsSkinButton>(L"", 10, 10, 75, 25);
    auto other = Make<TbsSkinButton>(L"", 100, 10, 75, 25);
    auto state = [&](const char* s) {
        auto p = Paint(b);
        return Px(p.get(), 1, 1) == Legend(std::string("button.") + s + ".lt");
    };
    ASSERT_TRUE(FocusOn(other));
    EXPECT_TRUE(state("skinrect"));
    b->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(state("activeskinrect"));
    seam.under = b->Handle();
    Mouse(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_TRUE(state("downskinrect"));
    Mouse(b, WM_LBUTTONUP, 5, 5);
    // Focused by the press, the pointer gone: the focused picture.
    b->Perform(CM_MOUSELEAVE);
    ASSERT_TRUE(b->Focused());
    EXPECT_TRUE(state("focusedskinrect"));
    b->SetEnabled(false);
    EXPECT_TRUE(state("disabledskinrect"));

    // No pressed picture: the hot one stands in.
    auto* a = Make<TbsSkinButton>(L"", 10, 50, 40, 20);
    a->SetSkinDataName(L"animbutton");
    a->Perform(CM_MOUSEENTER);
    seam.under = a->Handle();
    Mouse(a, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    ASSERT_TRUE(a->Down());
    seam.Advance(200);  // past the hover animation and the fade
    auto p = Paint(a);
    EXPECT_EQ(Px(p.get(), 20, 2), Legend("animbutton.activeskinrect"));
    Mouse(a, WM_LBUTTONUP, 5, 5);
}

TEST_F(Buttons, FourGlyphsShowHotAndPressedFrames) {
    auto* b = Make<TbsSkinButton>(L"", 10, 10, 75, 25, false);
    TBitmap strip(32, 8);
    const COLORREF frames[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
    for (int i = 0; i < 4; ++i) {
        strip.Canvas()->Brush()->SetColor(frames[i]);
        strip.Canvas()->FillRect({i * 8, 0, i * 8 + 8, 8});
    }
    for (int i = 0; i < 4; ++i)
        SetPixel(strip.Canvas()->Handle(), i * 8, 7, RGB(255, 0, 255));  // each frame's transparent colour
    b->SetGlyph(&strip);
    b->SetNumGlyphs(4);
    auto centre = [&] {
        auto p = Paint(b);
        return Px(p.get(), 38, 13);
    };
    EXPECT_EQ(centre(), frames[0]);
    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(centre(), frames[3]);
    Mouse(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_EQ(centre(), frames[2]);
    Mouse(b, WM_LBUTTONUP, 5, 5);
    b->Perform(CM_MOUSELEAVE);
    b->SetEnabled(false);
    EXPECT_EQ(centre(), frames[1]);
}

TEST_F(Buttons, ShellImageDrawsTheListsIconAtItsOwnSize) {
    TImageList list(nullptr, 32, 32);
    TBitmap pic(32, 32, pf24bit);
    pic.Canvas()->Brush()->SetColor(RGB(220, 30, 30));
    pic.Canvas()->FillRect({0, 0, 32, 32});
    list.Add(&pic, nullptr);
    auto* b = Make<TbsSkinButton>(L"", 10, 10, 60, 50, false);
    b->SetImageList(&list);
    b->SetImageIndex(0);
    b->SetShellImage(true);
    auto p = Paint(b);
    int left = 1000, right = -1, top = 1000, bottom = -1, n = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x)
            if (Px(p.get(), x, y) == RGB(220, 30, 30)) {
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y);
                bottom = std::max(bottom, y), ++n;
            }
    EXPECT_EQ(n, 32 * 32);
    EXPECT_EQ(right - left + 1, 32);
    EXPECT_EQ(bottom - top + 1, 32);
    b->SetImageList(nullptr);
}

TEST_F(Buttons, ClickOnlyWhenReleasedInside) {
    FakeSeam seam;
    auto* b = Make<TbsSkinButton>(L"OK", 10, 10, 75, 25);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->Perform(CM_MOUSEENTER);
    seam.under = b->Handle();
    Mouse(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    seam.under = host_->form->Handle();
    Mouse(b, WM_MOUSEMOVE, 120, 5, MK_LBUTTON);
    EXPECT_FALSE(b->MouseIn());
    // Back inside: pressed again; out once more and released there.
    seam.under = b->Handle();
    Mouse(b, WM_MOUSEMOVE, 6, 5, MK_LBUTTON);
    EXPECT_TRUE(b->MouseIn());
    auto p = Paint(b);
    EXPECT_EQ(Px(p.get(), 1, 1), Legend("button.downskinrect.lt"));
    seam.under = host_->form->Handle();
    Mouse(b, WM_MOUSEMOVE, 120, 5, MK_LBUTTON);
    Mouse(b, WM_LBUTTONUP, 120, 5);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->Down());
    seam.under = b->Handle();
    b->Perform(CM_MOUSEENTER);
    Mouse(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    Mouse(b, WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->Down());
}

TEST_F(Buttons, ModalResultAndOutsideMessages) {
    auto* b = Make<TbsSkinButton>(L"Отмена", 10, 10, 75, 25);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    host_->form->SetModalResult(2);
    SendMessageW(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(host_->form->ModalResult(), 0);
    b->SetModalResult(mrOk);
    SendMessageW(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(host_->form->ModalResult(), mrOk);
    // A button that cannot take the focus leaves the form's result alone.
    host_->form->SetModalResult(0);
    b->SetCanFocused(false);
    SendMessageW(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(host_->form->ModalResult(), 0);
    // Caption and check state from outside.
    SendMessageW(b->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Закрыть"));
    EXPECT_EQ(b->Caption(), L"Закрыть");
    wchar_t text[32] = {};
    SendMessageW(b->Handle(), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"Закрыть");
    EXPECT_EQ(SendMessageW(b->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(b->Handle(), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(SendMessageW(b->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Buttons, DefaultCancelAndEnterOnAFocusedButton) {
    auto* edit = Make<TEdit>(L"", 10, 100, 100, 21, false);
    auto* ok = Make<TbsSkinButton>(L"OK", 10, 10, 75, 25);
    auto* cancel = Make<TbsSkinButton>(L"Cancel", 100, 10, 75, 25);
    auto* other = Make<TbsSkinButton>(L"Other", 190, 10, 75, 25);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    std::string log;
    ok->OnClick = [&](TObject*) { log += "ok "; };
    cancel->OnClick = [&](TObject*) { log += "cancel "; };
    other->OnClick = [&](TObject*) { log += "other "; };
    ASSERT_TRUE(FocusOn(edit));
    EXPECT_TRUE(ok->ActiveDefault());
    EXPECT_TRUE(ok->MouseIn()) << "the default button shows hot";
    PostKey(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(log, "ok ");
    PostKey(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(log, "ok cancel ");
    ASSERT_TRUE(FocusOn(other));
    EXPECT_FALSE(ok->ActiveDefault());
    EXPECT_FALSE(ok->MouseIn());
    PostKey(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(log, "ok cancel other ");
    // Space: down at the key-down, the click at the key-up; a key-up alone clicks too.
    PostKey(WM_KEYDOWN, VK_SPACE);
    EXPECT_TRUE(other->Down());
    PostKey(WM_KEYUP, VK_SPACE);
    EXPECT_FALSE(other->Down());
    EXPECT_EQ(log, "ok cancel other other ");
    PostKey(WM_KEYUP, VK_SPACE);
    EXPECT_EQ(log, "ok cancel other other other ");
}

TEST_F(Buttons, RepeatClicksOnTheClock) {
    FakeSeam seam;
    auto* b = Make<TbsSkinButton>(L"+", 10, 10, 75, 25);
    b->SetRepeatMode(true);
    b->SetRepeatInterval(100);
    std::vector<std::uint32_t> at;
    const std::uint32_t start = seam.Now();
    b->OnClick = [&](TObject*) { at.push_back(seam.Now() - start); };
    seam.under = b->Handle();
    b->Perform(CM_MOUSEENTER);
    Mouse(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    seam.Advance(1050);
    Mouse(b, WM_LBUTTONUP, 5, 5);
    const std::vector<std::uint32_t> expected = {600, 700, 800, 900, 1000, 1050};
    EXPECT_EQ(at, expected);
    EXPECT_FALSE(b->Repeating());
    // A short press clicks once, at the release.
    at.clear();
    Mouse(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    seam.Advance(300);
    Mouse(b, WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(at.size(), 1u);
}

TEST_F(Buttons, CancelModeEndsAPress) {
    FakeSeam seam;
    auto* b = Make<TbsSkinButton>(L"+", 10, 10, 75, 25);
    b->SetRepeatMode(true);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    seam.under = b->Handle();
    b->Perform(CM_MOUSEENTER);
    Mouse(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    ASSERT_TRUE(b->Down());
    ASSERT_EQ(GetCapture(), b->Handle());
    b->Perform(CM_CANCELMODE);
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(b->Repeating());
    EXPECT_NE(GetCapture(), b->Handle());
    seam.Advance(1000);
    Mouse(b, WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(clicks, 0);
}

TEST_F(Buttons, GroupsAndCheckedMode) {
    auto* b1 = Make<TbsSkinButton>(L"1", 10, 10, 40, 25);
    auto* b2 = Make<TbsSkinButton>(L"2", 60, 10, 40, 25);
    auto* b3 = Make<TbsSkinButton>(L"3", 110, 10, 40, 25);
    b1->SetGroupIndex(1);
    b2->SetGroupIndex(1);
    b3->SetGroupIndex(2);
    EXPECT_FALSE(b1->CanFocused());
    EXPECT_FALSE(b1->TabStop());
    b1->SetDown(true);
    b3->SetDown(true);
    std::string log;
    b2->OnClick = [&](TObject*) { log += b2->Down() ? "down " : "up "; };
    Mouse(b2, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_EQ(log, "down ") << "the click comes at the press";
    EXPECT_TRUE(b2->Down());
    EXPECT_FALSE(b1->Down());
    EXPECT_TRUE(b3->Down()) << "another group";
    Mouse(b2, WM_LBUTTONUP, 5, 5);
    EXPECT_TRUE(b2->Down());
    EXPECT_EQ(log, "down ");

    auto* t = Make<TbsSkinButton>(L"T", 160, 10, 40, 25);
    t->SetCheckedMode(true);
    EXPECT_EQ(t->GroupIndex(), -1);
    EXPECT_FALSE(t->TabStop());
    int clicks = 0;
    t->OnClick = [&](TObject*) { ++clicks; };
    t->Perform(CM_MOUSEENTER);
    Mouse(t, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    Mouse(t, WM_LBUTTONUP, 5, 5);
    EXPECT_TRUE(t->Down());
    EXPECT_EQ(clicks, 1);
    Mouse(t, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_EQ(clicks, 1);
    Mouse(t, WM_LBUTTONUP, 5, 5);
    EXPECT_FALSE(t->Down());
    EXPECT_EQ(clicks, 2);
    t->SetCheckedMode(false);
    EXPECT_EQ(t->GroupIndex(), 0);
}

TEST_F(Buttons, GlowShowsAtTheOffsetWithTheEntrysAlpha) {
    auto* b = Make<TbsSkinButton>(L"", 30, 40, 40, 20);
    b->SetSkinDataName(L"animbutton");
    b->ChangeSkinData();
    std::vector<RecordingGlow::Call> calls;
    b->SetGlowLayer(std::make_unique<RecordingGlow>(&calls));
    b->Perform(CM_MOUSEENTER);
    Pump(30);
    ASSERT_EQ(calls.size(), 1u);
    const TPoint p = b->ClientToScreen({0, 0});
    EXPECT_EQ(calls[0].what, "show");
    EXPECT_EQ(calls[0].x, p.X - 6);
    EXPECT_EQ(calls[0].y, p.Y - 5);
    EXPECT_EQ(calls[0].alpha, 200);
    EXPECT_EQ(calls[0].w, 52);
    b->Perform(CM_MOUSELEAVE);
    Pump(30);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].what, "hide");
    // A skin without glow frames shows none.
    host_->data->ShowButtonGlowFrames = false;
    b->Perform(CM_MOUSEENTER);
    Pump(30);
    EXPECT_EQ(calls.size(), 2u);
    b->SetAlwaysShowLayeredFrame(true);
    b->Perform(CM_MOUSELEAVE);
    b->Perform(CM_MOUSEENTER);
    Pump(30);
    EXPECT_EQ(calls.size(), 3u);
    host_->data->ShowButtonGlowFrames = true;
}

TEST_F(Buttons, AGlowPictureOutsideTheListShowsNoGlow) {
    auto* b = AnimButton(L"farglow", [](std::string& s) { ReplaceValue(s, "glowlayerpictureindex", "40"); });
    std::vector<RecordingGlow::Call> calls;
    b->SetGlowLayer(std::make_unique<RecordingGlow>(&calls));
    b->Perform(CM_MOUSEENTER);
    Pump(30);
    b->Perform(CM_MOUSELEAVE);
    Pump(30);
    EXPECT_TRUE(calls.empty());
}

TEST_F(Buttons, HoverAnimationStepsThroughItsFrames) {
    FakeSeam seam;
    auto* b = AnimButton(L"nomorph", "morphing=1", "morphing=0");
    auto colour = [&] {
        auto p = Paint(b);
        return Px(p.get(), 20, 2);
    };
    EXPECT_EQ(colour(), Legend("animbutton.skinrect"));
    b->Perform(CM_MOUSEENTER);
    ASSERT_TRUE(b->Animating());
    EXPECT_EQ(colour(), Legend("animbutton.frame1"));
    seam.Advance(30);
    EXPECT_EQ(colour(), Legend("animbutton.frame2"));
    seam.Advance(30);
    EXPECT_EQ(colour(), Legend("animbutton.frame3"));
    seam.Advance(60);
    EXPECT_FALSE(b->Animating());
    EXPECT_EQ(colour(), Legend("animbutton.activeskinrect"));
    // Leaving runs the frames backwards in place of the normal picture.
    b->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(colour(), Legend("animbutton.frame3"));
    seam.Advance(30);
    EXPECT_EQ(colour(), Legend("animbutton.frame2"));
    seam.Advance(100);
    EXPECT_FALSE(b->Animating());
    EXPECT_EQ(colour(), Legend("animbutton.skinrect"));
}

TEST_F(Buttons, FadeStepsOnTheClockAndNoFramesMeansNoAnimation) {
    FakeSeam seam;
    auto* b = AnimButton(L"noframes", "framecount=3", "framecount=0");
    b->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(b->Animating());
    ASSERT_TRUE(b->Morphing());
    std::vector<double> kf;
    for (int i = 0; i < 6; ++i) {
        seam.Advance(20);
        kf.push_back(b->MorphKf());
    }
    EXPECT_NEAR(kf[0], 0.2, 1e-9);
    EXPECT_NEAR(kf[2], 0.6, 1e-9);
    EXPECT_EQ(kf[5], 1.0);
    EXPECT_FALSE(b->Morphing());
    // Half way back: a blend of both pictures, neither one.
    b->Perform(CM_MOUSELEAVE);
    seam.Advance(40);
    auto p = Paint(b);
    const COLORREF mid = Px(p.get(), 20, 2);
    EXPECT_NE(mid, Legend("animbutton.skinrect"));
    EXPECT_NE(mid, Legend("animbutton.activeskinrect"));
    EXPECT_EQ(GetGValue(mid), 200);
    seam.Advance(200);
    EXPECT_EQ(b->MorphKf(), 0.0);
}

TEST_F(Buttons, AFadingInFormShowsItsFocusedButtonAtOnce) {
    FakeSeam seam;
    for (bool fadeIn : {true, false}) {
        SCOPED_TRACE(fadeIn ? "fade-in" : "no fade-in");
        std::unique_ptr<TForm> form(new TForm(nullptr));
        form->SetBounds(60, 380, 200, 120);
        auto* skf = new TbsSkinForm(form.get());
        skf->SetSkinData(host_->data);
        skf->AlphaBlendAnimation = fadeIn;
        skf->FadeClock = {[n = std::uint32_t(0)]() mutable { return n += 50; }, [](std::uint32_t) {}};
        auto* b = new TbsSkinButton(form.get());
        b->SetParent(form.get());
        b->SetSkinData(host_->data);
        b->SetSkinDataName(L"animbutton");
        b->SetBounds(10, 10, 40, 20);
        form->SetActiveControl(b);
        form->Show();
        SetForegroundWindow(form->Handle());
        ASSERT_TRUE(PumpUntil([b] { return GetFocus() == b->Handle(); }));
        Pump(50);
        seam.Advance(20);
        auto p = PaintInto(40, 20, [b](HDC dc) { b->PaintTo(dc, 0, 0); });
        if (fadeIn)
            EXPECT_EQ(Px(p.get(), 20, 2), Legend("animbutton.focusedskinrect"));
        else
            EXPECT_NE(Px(p.get(), 20, 2), Legend("animbutton.focusedskinrect"));
    }
    SetForegroundWindow(host_->form->Handle());
}

}  // namespace
