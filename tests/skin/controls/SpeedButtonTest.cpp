// The windowless speed buttons on the shared host: presses and releases as real mouse messages to the parent's
// window at the button's place, timers on the fake clock of the control seam, looks through PaintTo with the
// colour-coded fixture ("toolbutton": nine parts, four state pictures; "toolmenubutton": a track part 45..60).
#include <gtest/gtest.h>

#include "PressTestSupport.h"
#include "classlib/ExtCtrls.h"
#include "classlib/ImgList.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/form/SkinForm.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/SkinPopupMenu.h"

namespace {

using namespace ctltest;

// A mouse message to the parent's window at (X, Y) of the control, as the system delivers a user's input.
void At(TControl* c, UINT Msg, int X, int Y) {
    const WPARAM keys = Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON;
    SendMessageW(c->Parent()->Handle(), Msg, keys,
                 MAKELPARAM(static_cast<WORD>(static_cast<short>(c->Left() + X)),
                            static_cast<WORD>(static_cast<short>(c->Top() + Y))));
}

void Press(TControl* c, int X = 5, int Y = 5) {
    At(c, WM_LBUTTONDOWN, X, Y);
}
void Release(TControl* c, int X = 5, int Y = 5) {
    At(c, WM_LBUTTONUP, X, Y);
}

std::unique_ptr<TBitmap> Solid(int W, int H, COLORREF C) {
    auto b = std::make_unique<TBitmap>(W, H, pf24bit);
    b->Canvas()->Brush()->SetColor(static_cast<TColor>(C));
    b->Canvas()->FillRect({0, 0, W, H});
    return b;
}

// A parent that lends image lists, as the tool bar does.
struct LendingPanel : TPanel, IbsToolImages {
    explicit LendingPanel(TComponent* o) : TPanel(o) {}
    TCustomImageList* ToolImages() const override { return images; }
    TCustomImageList* ToolHotImages() const override { return hot; }
    TCustomImageList* ToolDisabledImages() const override { return disabled; }
    TCustomImageList* images = nullptr;
    TCustomImageList* hot = nullptr;
    TCustomImageList* disabled = nullptr;
};

struct RecordingImagesMenu : IbsImagesMenu {
    bool HasSelectedItem() const override { return false; }
    TCustomImageList* SelectedImages() const override { return nullptr; }
    int SelectedImageIndex() const override { return -1; }
    std::wstring SelectedCaption() const override { return {}; }
    void PopupFromRect(const TRect& R, std::function<void()> OnClose) override {
        drops.push_back(R);
        close = std::move(OnClose);
    }
    std::vector<TRect> drops;
    std::function<void()> close;
};

struct RecordingMenu : TbsSkinPopupMenu {
    explicit RecordingMenu(TComponent* owner) : TbsSkinPopupMenu(owner) {}
    void PopupFromRect2(TControl* ACtrl, const TRect& /*R*/, bool /*APopupUp*/) override { drops.push_back(ACtrl); }
    std::vector<TControl*> drops;
};

class SpeedButtons : public ControlsFixture {
  protected:
    template <typename T = TbsSkinSpeedButton>
    T* Button(int x, int y, int w = 40, int h = 24, bool skinned = true, const std::wstring& caption = L"") {
        auto* b = Make<T>(caption, x, y, w, h, skinned);
        b->OnClick = [this, b](TObject*) { clicks_.push_back(b); };
        return b;
    }
    int ClicksOf(TControl* b) const { return static_cast<int>(std::count(clicks_.begin(), clicks_.end(), b)); }
    std::vector<TControl*> clicks_;
};

TEST_F(SpeedButtons, AGroupWithoutAllUpReleasesTheOtherAndClicksAtThePress) {
    auto* b1 = Button(10, 10);
    auto* b2 = Button(60, 10);
    for (auto* b : {b1, b2})
        b->SetGroupIndex(1);
    b1->SetDown(true);
    Press(b2);
    EXPECT_TRUE(b2->Down());
    EXPECT_FALSE(b1->Down());
    EXPECT_EQ(ClicksOf(b2), 1) << "the click comes at the press";
    Release(b2);
    EXPECT_EQ(ClicksOf(b2), 1);
    EXPECT_TRUE(b2->Down()) << "latched";
    // Pressing the button that is down does nothing.
    Press(b2);
    Release(b2);
    EXPECT_TRUE(b2->Down());
    EXPECT_FALSE(b1->Down());
    EXPECT_EQ(ClicksOf(b2), 1);
    EXPECT_EQ(ClicksOf(b1), 0);
}

TEST_F(SpeedButtons, AllowAllUpKeepsTheOtherDownAndRaisesAtTheRelease) {
    auto* b1 = Button(10, 10);
    auto* b2 = Button(60, 10);
    for (auto* b : {b1, b2}) {
        b->SetGroupIndex(1);
        b->SetAllowAllUp(true);
    }
    b1->SetDown(true);
    Press(b2);
    Release(b2);
    EXPECT_TRUE(b1->Down());
    EXPECT_TRUE(b2->Down());
    ASSERT_EQ(ClicksOf(b2), 1);
    Press(b2);
    EXPECT_TRUE(b2->Down()) << "still down until the release";
    EXPECT_EQ(ClicksOf(b2), 1);
    Release(b2);
    EXPECT_FALSE(b2->Down());
    EXPECT_EQ(ClicksOf(b2), 2);
}

TEST_F(SpeedButtons, CheckedModeClicksAtThePressDownAndAtTheReleaseUp) {
    auto* b = Button(10, 10);
    b->SetCheckedMode(true);
    EXPECT_EQ(b->GroupIndex(), -1);
    Press(b);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(ClicksOf(b), 1);
    Release(b);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(ClicksOf(b), 1);
    Press(b);
    EXPECT_EQ(ClicksOf(b), 1);
    Release(b);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(ClicksOf(b), 2);
    b->SetCheckedMode(false);
    EXPECT_EQ(b->GroupIndex(), 0);
}

TEST_F(SpeedButtons, RepeatClicksEveryIntervalAfterTheDelayAndOnceAtTheRelease) {
    FakeSeam seam;
    auto* b = Button(10, 10);
    b->SetRepeatMode(true);
    b->SetRepeatInterval(70);
    Press(b);
    EXPECT_EQ(ClicksOf(b), 0) << "no click at the press";
    seam.Advance(569);
    EXPECT_EQ(ClicksOf(b), 0);
    seam.Advance(1);
    EXPECT_EQ(ClicksOf(b), 1) << "first repeat at 500 + one interval";
    seam.Advance(210);
    EXPECT_EQ(ClicksOf(b), 4);
    Release(b);
    EXPECT_EQ(ClicksOf(b), 5) << "one more at the release over the button";
    EXPECT_FALSE(b->Repeating());
    seam.Advance(500);
    EXPECT_EQ(ClicksOf(b), 5);
}

TEST_F(SpeedButtons, ReleaseOutsideRaisesWithoutAClick) {
    FakeSeam seam;
    for (bool repeat : {false, true}) {
        auto* b = Button(10, 10);
        b->SetRepeatMode(repeat);
        Press(b);
        ASSERT_TRUE(b->Down());
        At(b, WM_MOUSEMOVE, 100, 100);
        EXPECT_FALSE(b->MouseIn());
        Release(b, 100, 100);
        EXPECT_FALSE(b->Down());
        EXPECT_FALSE(b->Repeating());
        seam.Advance(1000);
        EXPECT_EQ(ClicksOf(b), 0) << "repeat " << repeat;
    }
}

TEST_F(SpeedButtons, ShowCaptionSwitchesBetweenTheTwoWidths) {
    auto* b = Button(10, 10, 80, 22, true, L"Добавить");
    b->SetWidthWithCaption(80);
    b->SetWidthWithoutCaption(30);
    b->SetShowCaption(false);
    EXPECT_EQ(b->Width(), 30);
    b->SetShowCaption(true);
    EXPECT_EQ(b->Width(), 80);
    // Without both widths the size stays.
    b->SetWidthWithoutCaption(0);
    b->SetShowCaption(false);
    EXPECT_EQ(b->Width(), 80);
}

TEST_F(SpeedButtons, EachStateDrawsItsPictureAndAFlatIdleButtonOnlyItsContent) {
    auto* b = Button(10, 10, 40, 24);
    auto client = [&] {
        auto p = Paint(b);
        return Px(p.get(), 20, 12);
    };
    EXPECT_EQ(client(), Legend("toolbutton.skinrect.client"));
    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(client(), Legend("toolbutton.activeskinrect.client"));
    Press(b);
    EXPECT_EQ(client(), Legend("toolbutton.downskinrect.client"));
    Release(b);
    b->Perform(CM_MOUSELEAVE);
    b->SetEnabled(false);
    EXPECT_EQ(client(), Legend("toolbutton.disabledskinrect.client"));
    b->SetEnabled(true);

    b->SetFlat(true);
    EXPECT_TRUE(b->Transparent());
    EXPECT_FALSE(b->ControlStyle().Contains(csOpaque));
    EXPECT_EQ(client(), RGB(1, 2, 3)) << "the parent's background stays";
    b->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(b->ControlStyle().Contains(csOpaque));
    EXPECT_EQ(client(), Legend("toolbutton.activeskinrect.client"));
    b->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(b->ControlStyle().Contains(csOpaque));
    EXPECT_EQ(client(), RGB(1, 2, 3));
}

TEST_F(SpeedButtons, FlatIdleShowsTheParentOnScreenAndTheHotPictureWhenHovered) {
    auto* b = Button(200, 200, 40, 24);
    b->SetFlat(true);
    host_->form->Repaint();
    Pump(50);
    auto screenAt = [&](int x, int y) {
        HDC dc = GetDC(host_->form->Handle());
        const COLORREF c = GetPixel(dc, x, y) & 0xFFFFFF;
        ReleaseDC(host_->form->Handle(), dc);
        return c;
    };
    const COLORREF parent = screenAt(195, 195);
    EXPECT_TRUE(PumpUntil([&] { return screenAt(220, 212) == parent; }));
    b->Perform(CM_MOUSEENTER);
    b->Repaint();
    EXPECT_TRUE(PumpUntil([&] { return screenAt(220, 212) == Legend("toolbutton.activeskinrect.client"); }));
    b->Perform(CM_MOUSELEAVE);
}

TEST_F(SpeedButtons, BuiltInLookPerState) {
    auto* b = Button(10, 10, 30, 24, false);
    auto p = Paint(b);
    EXPECT_EQ(Px(p.get(), 0, 0), static_cast<COLORREF>(Darker(clBtnFace, 15)) & 0xFFFFFF);
    EXPECT_EQ(Px(p.get(), 15, 12), Sys(COLOR_BTNFACE));
    b->Perform(CM_MOUSEENTER);
    p = Paint(b);
    EXPECT_EQ(Px(p.get(), 0, 0), 0xB76B3Bu);
    EXPECT_EQ(Px(p.get(), 15, 12), 0xF3D4C1u);
    Press(b);
    p = Paint(b);
    EXPECT_EQ(Px(p.get(), 15, 12), 0xE4BCA2u);
    Release(b);
}

TEST_F(SpeedButtons, DisabledTextTakesGreyWhenTheSkinGivesTheNormalColour) {
    auto* b = Button(10, 10, 60, 24, true, L"WWW");
    b->SetEnabled(false);
    auto p = Paint(b);
    EXPECT_GT(CountColour(p.get(), {0, 0, 60, 24}, 0x808080), 5);
    EXPECT_EQ(CountColour(p.get(), {0, 0, 60, 24}, 0x800000), 0) << "not the normal colour";
}

TEST_F(SpeedButtons, ALendingParentsDisabledImagesAreDrawnWithoutGreying) {
    auto* panel = new LendingPanel(host_->form);
    owned_.push_back(panel);
    panel->SetParent(host_->form);
    panel->SetBounds(10, 100, 200, 40);
    TImageList normal(nullptr, 16, 16), disabled(nullptr, 16, 16);
    auto red = Solid(16, 16, RGB(220, 30, 30)), blue = Solid(16, 16, RGB(30, 30, 220));
    normal.Add(red.get(), nullptr);
    disabled.Add(blue.get(), nullptr);
    panel->images = &normal;
    panel->disabled = &disabled;
    auto* b = new TbsSkinSpeedButton(host_->form);
    owned_.push_back(b);
    b->SetParent(panel);
    b->SetSkinData(host_->data);
    b->SetBounds(4, 4, 40, 24);
    auto p = Paint(b);
    EXPECT_EQ(Px(p.get(), 20, 12), RGB(220, 30, 30));
    b->SetEnabled(false);
    p = Paint(b);
    EXPECT_EQ(Px(p.get(), 20, 12), RGB(30, 30, 220)) << "as the list holds it";
    // Without disabled pictures the normal one is greyed.
    panel->disabled = nullptr;
    p = Paint(b);
    EXPECT_NE(Px(p.get(), 20, 12), RGB(220, 30, 30));
    delete b;
    owned_.pop_back();
}

TEST_F(SpeedButtons, HoverAnimationNeedsFrames) {
    FakeSeam seam;
    const struct {
        const wchar_t* variant;
        const char* frames;
    } cases[] = {{L"frames3", "3"}, {L"frames0", "0"}, {L"framesneg", "-2"}};
    for (const auto& c : cases) {
        const std::string frames = c.frames;
        host_->data->LoadFromFile(
            FixtureVariant(c.variant, [&](std::string& s) { ReplaceAll(s, "framecount=3", "framecount=" + frames); }));
        auto* b = Button(10, 10, 40, 20);
        b->SetSkinDataName(L"animbutton");
        b->ChangeSkinData();
        b->Perform(CM_MOUSEENTER);
        EXPECT_EQ(b->Animating(), frames == "3") << frames;
        auto p = Paint(b);  // paints without reading a frame outside the picture
        seam.Advance(200);
        EXPECT_FALSE(b->Animating());
        b->Perform(CM_MOUSELEAVE);
    }
}

TEST_F(SpeedButtons, TrackModeOpensTheMenuFromTheTrackPartAndStaysDownUntilTheClose) {
    auto* b = Button<TbsSkinMenuSpeedButton>(10, 10, 60, 20);
    b->SetSkinDataName(L"toolmenubutton");
    b->ChangeSkinData();
    ASSERT_EQ(b->Width(), 60);
    RecordingImagesMenu images;
    b->SetSkinImagesMenu(&images);
    b->SetTrackButtonMode(true);
    int shown = 0, hidden = 0;
    b->OnShowTrackMenu = [&](TObject*) { ++shown; };
    b->OnHideTrackMenu = [&](TObject*) { ++hidden; };

    Press(b, 10, 10);
    Release(b, 10, 10);
    EXPECT_EQ(ClicksOf(b), 1) << "the main part clicks";
    EXPECT_TRUE(images.drops.empty());

    Press(b, 50, 10);
    ASSERT_EQ(images.drops.size(), 1u);
    const TPoint s = b->ClientToScreen({0, 0});
    EXPECT_EQ(images.drops[0], (TRect{s.X, s.Y, s.X + 60, s.Y + 20}));
    EXPECT_EQ(shown, 1);
    Release(b, 50, 10);
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(b->MenuTracked());
    EXPECT_EQ(ClicksOf(b), 1);
    ASSERT_TRUE(images.close);
    images.close();
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(b->MenuTracked());
    EXPECT_EQ(hidden, 1);

    // A skinned popup menu's close comes as message 1228.
    b->SetSkinImagesMenu(nullptr);
    RecordingMenu popup(nullptr);
    b->SetSkinPopupMenu(&popup);
    Press(b, 50, 10);
    ASSERT_EQ(popup.drops.size(), 1u);
    EXPECT_EQ(popup.drops[0], b);
    Release(b, 50, 10);
    EXPECT_TRUE(b->Down());
    b->Perform(WM_CLOSESKINMENU);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(hidden, 2);
    b->SetSkinPopupMenu(nullptr);
}

TEST_F(SpeedButtons, MenuSpeedButtonLooks) {
    auto* b = Button<TbsSkinMenuSpeedButton>(10, 10, 60, 20);
    b->SetSkinDataName(L"toolmenubutton");
    b->ChangeSkinData();
    auto p = Paint(b);
    EXPECT_EQ(Px(p.get(), 20, 2), Legend("toolmenubutton.skinrect"));
    EXPECT_GT(CountColour(p.get(), {45, 0, 60, 20}, Legend("toolmenubutton.marker")), 0) << "the marker picture";
    // Built-in look in track mode: the main part and the 15-pixel part framed apart, an arrow in the track part.
    auto* d = Button<TbsSkinMenuSpeedButton>(10, 40, 60, 22, false);
    d->SetTrackButtonMode(true);
    p = Paint(d);
    const COLORREF frame = static_cast<COLORREF>(Darker(clBtnFace, 15)) & 0xFFFFFF;
    EXPECT_EQ(Px(p.get(), 44, 10), frame);
    EXPECT_EQ(Px(p.get(), 45, 10), frame);
    EXPECT_GT(CountColour(p.get(), {45, 0, 60, 22}, Sys(COLOR_WINDOWTEXT)), 2);
    // A plain arrow for the skinned form.
    d->FDrawStandardArrow = true;
    d->FArrowType = 4;
    p = Paint(d);
    EXPECT_GT(CountColour(p.get(), {45, 0, 60, 22}, Sys(COLOR_WINDOWTEXT)), 2);
}

}  // namespace
