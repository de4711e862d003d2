// The skinned panel, paint panel and group box on real windows under Wine: the built-in look and client rectangle,
// caption, check mode and roll-up through real clicks, each painting way with the fixture skin's pixels, the
// transparent ways over a parent, the group box's caption and its forced-background switch.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "skin/controls/SkinPanel.h"

namespace {

using namespace ctltest;

constexpr COLORREF PanelSlice(int i) {
    return RGB(30, 20 + 25 * i, 180);
}
constexpr COLORREF GroupSlice(int i) {
    return RGB(50, 20 + 25 * i, 220);
}
enum { kLT, kTop, kRT, kLeft, kClient, kRight, kLB, kBottom, kRB };
constexpr COLORREF kBackgroundPicture = RGB(123, 45, 67);
constexpr COLORREF kUnchecked = RGB(0, 60, 0), kChecked = RGB(0, 120, 0);
constexpr COLORREF kGroupFont = RGB(0, 0, 255);
constexpr COLORREF kFixtureShadow = RGB(128, 128, 128);

class SkinPanelsTest : public HostedControls {
  protected:
    template <typename T>
    T* Make(TWinControl* parent, const wchar_t* entry, bool skinned, int x = 10, int y = 10, int w = 150, int h = 150) {
        auto* p = new T(host_->form);
        owned_.push_back(p);
        p->SetParent(parent ? parent : host_->form);
        if (entry)
            p->SetSkinDataName(entry);
        p->SetBounds(x, y, w, h);
        if (skinned)
            p->SetSkinData(host_->data);
        p->HandleNeeded();
        return p;
    }
    Box* Child(TWinControl* parent, TAlign align) {
        auto* b = new Box(host_->form);
        owned_.push_back(b);
        b->SetParent(parent);
        b->SetBounds(30, 40, 20, 20);
        b->SetAlign(align);
        return b;
    }
    static std::unique_ptr<TBitmap> Look(TbsSkinControl* c) {
        return PaintInto(c->Width(), c->Height(), [c](HDC dc) { c->PaintTo(dc, 0, 0); });
    }
    static TRect BoundsOf(TControl* c) { return {c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()}; }
};

TEST_F(SkinPanelsTest, BuiltInLookAndClientRectangle) {
    auto* p = Make<TbsSkinPanel>(nullptr, nullptr, false);
    Box* child = Child(p, alClient);
    auto img = Look(p);
    EXPECT_EQ(Px(img.get(), 0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Px(img.get(), 149, 149), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Px(img.get(), 75, 75), Sys(COLOR_BTNFACE));
    EXPECT_EQ(BoundsOf(child), (TRect{1, 1, 149, 149}));
    EXPECT_EQ(p->GetSkinClientRect(), (TRect{1, 1, 149, 149}));
    // caption bar, raised frame
    p->SetCaption(L"Caption");
    p->SetBorderStyle(TbsPanelBorderStyle::bvRaised);
    p->SetCaptionMode(true);
    img = Look(p);
    Shot(img.get(), L"panel_caption_default");
    EXPECT_EQ(Px(img.get(), 0, 0), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(Px(img.get(), 140, 10), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Px(img.get(), 10, 20), Sys(COLOR_BTNFACE));
    EXPECT_EQ(child->Top(), 21);
    // ribbon: the bar at the bottom
    p->SetRibbonStyle(true);
    img = Look(p);
    EXPECT_EQ(Px(img.get(), 10, 10), Sys(COLOR_BTNFACE));
    EXPECT_EQ(Px(img.get(), 140, 140), Sys(COLOR_BTNSHADOW));
    // the window class repaints only what the panel asks for
    const auto style = GetClassLongPtrW(p->Handle(), GCL_STYLE);
    EXPECT_EQ(style & (CS_HREDRAW | CS_VREDRAW), 0u);
}

TEST_F(SkinPanelsTest, RollUpAndBack) {
    auto* p = Make<TbsSkinPanel>(nullptr, nullptr, false);
    Box* child = Child(p, alNone);
    int reports = 0;
    p->OnChangeRollUpState = [&](TObject*) { ++reports; };
    p->SetCaptionMode(true);
    // without roll-up mode the state stays off
    p->SetRollUpState(true);
    EXPECT_FALSE(p->RollUpState());
    EXPECT_EQ(p->Height(), 150);
    EXPECT_EQ(reports, 0);
    p->SetRollUpMode(true);
    p->SetRollUpState(true);
    EXPECT_EQ(p->Height(), 21);
    EXPECT_EQ(p->RealHeight(), 150);
    EXPECT_FALSE(child->Visible());
    // a click in the caption expands it again
    SendMessageW(p->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10));
    SendMessageW(p->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(50, 10));
    EXPECT_FALSE(p->RollUpState());
    EXPECT_EQ(p->Height(), 150);
    EXPECT_EQ(p->RealHeight(), -1);
    EXPECT_TRUE(child->Visible());
    EXPECT_EQ(reports, 2);
    // the limits are cleared while rolled up and come back when the mode is off
    p->Constraints().MinHeight = 100;
    p->SetRollUpState(true);
    EXPECT_EQ(p->Height(), 21);
    EXPECT_EQ(p->Constraints().MinHeight, 0);
    p->SetRollUpState(false);
    EXPECT_EQ(p->Constraints().MinHeight, 100);  // back when expanded, not lost
    EXPECT_EQ(p->Height(), 150);
    p->Constraints().MinHeight = 0;
    p->SetRollUpMode(false);
    p->SetRollUpState(true);
    EXPECT_EQ(p->Constraints().MinHeight, 100);
}

TEST_F(SkinPanelsTest, CaptionClickTogglesCheckedAndTheChildrenFollow) {
    auto* p = Make<TbsSkinPanel>(nullptr, nullptr, false);
    Box* a = Child(p, alNone);
    Box* b = Child(p, alBottom);
    int checks = 0;
    p->OnChecked = [&](TObject*) { ++checks; };
    p->SetCaptionMode(true);
    p->SetCheckedMode(true);
    p->SetChecked(false);
    p->SetChecked(false);
    EXPECT_EQ(checks, 2);  // every assignment reports
    EXPECT_FALSE(a->Enabled());
    EXPECT_FALSE(b->Enabled());
    SendMessageW(p->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(p->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(p->Checked());
    EXPECT_TRUE(a->Enabled());
    EXPECT_TRUE(b->Enabled());
    auto img = Look(p);
    EXPECT_EQ(Px(img.get(), 6, 4), Sys(COLOR_WINDOW));  // the check box
    EXPECT_GT(CountColour(img.get(), {5, 3, 18, 16}, Sys(COLOR_WINDOWTEXT)), 3);
    // a click below the caption does nothing
    SendMessageW(p->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 60));
    SendMessageW(p->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 60));
    EXPECT_TRUE(p->Checked());
    // without AutoEnabledControls the children stay
    p->SetAutoEnabledControls(false);
    p->SetChecked(false);
    EXPECT_TRUE(a->Enabled());
}

TEST_F(SkinPanelsTest, PaintingWays) {
    // the base composition with the forced background: frame slices, client part inside
    auto* p = Make<TbsSkinPanel>(nullptr, L"panel", true);
    auto img = Look(p);
    EXPECT_EQ(Px(img.get(), 0, 0), PanelSlice(kLT));
    EXPECT_EQ(Px(img.get(), 75, 75), PanelSlice(kClient));
    EXPECT_EQ(Px(img.get(), 149, 75), PanelSlice(kRight));
    // bvNone, nine parts, no caption: the client part alone covers the panel
    p->SetBorderStyle(TbsPanelBorderStyle::bvNone);
    img = Look(p);
    EXPECT_EQ(Px(img.get(), 0, 0), PanelSlice(kClient));
    EXPECT_EQ(Px(img.get(), 149, 149), PanelSlice(kClient));
    EXPECT_EQ(p->GetSkinClientRect(), (TRect{0, 0, 150, 150}));  // resize mode 1 with bvNone: the whole panel
    // a background picture, tiled from the corner
    auto* bg = Make<TbsSkinPanel>(nullptr, L"panelbg", true);
    img = Look(bg);
    EXPECT_EQ(Px(img.get(), 0, 0), kBackgroundPicture);
    EXPECT_EQ(Px(img.get(), 75, 75), kBackgroundPicture);
    EXPECT_EQ(bg->GetSkinClientRect(), (TRect{0, 0, 150, 150}));
    // the resized caption: the "panel" picture with a strip of the own caption picture at its client corner
    auto* gb = Make<TbsSkinGroupBox>(nullptr, nullptr, true);
    gb->SetUseSkinSize(false);
    gb->SetCaption(L"Mail");
    img = Look(gb);
    Shot(img.get(), L"groupbox_resized_caption");
    EXPECT_EQ(Px(img.get(), 0, 0), PanelSlice(kLT));
    EXPECT_EQ(Px(img.get(), 75, 75), PanelSlice(kClient));
    EXPECT_EQ(Px(img.get(), 140, 8), GroupSlice(kTop));
    EXPECT_GT(CountColour(img.get(), {5, 5, 145, 19}, kGroupFont), 5);
    // The band is the caption height high inside the frame; the children start below it.
    EXPECT_EQ(gb->CaptionRectNow(), (TRect{5, 5, 145, 24}));
    EXPECT_EQ(gb->GetSkinClientRect().Top, 5 + 20);
    // A caption lower than the frame is thick still gets its band below the frame's top, with its text in it.
    gb->SetDefaultCaptionHeight(8);
    img = Look(gb);
    EXPECT_EQ(gb->CaptionRectNow(), (TRect{5, 5, 145, 12}));
    EXPECT_GT(CountColour(img.get(), {5, 5, 145, 12}, kGroupFont), 0);
    EXPECT_EQ(gb->GetSkinClientRect().Top, 5 + 8);
    gb->SetDefaultCaptionHeight(20);
    // empty drawing: nothing at all
    p->SetEmptyDrawing(true);
    img = Look(p);
    EXPECT_EQ(CountColour(img.get(), {0, 0, 150, 150}, RGB(1, 2, 3)), 150 * 150);
    EXPECT_EQ(p->GetSkinClientRect(), (TRect{0, 0, 150, 150}));
}

TEST_F(SkinPanelsTest, TransparentWaysShowTheParent) {
    auto* parent = Make<TbsSkinPanel>(nullptr, nullptr, false, 10, 10, 200, 200);
    auto* p = Make<TbsSkinPanel>(parent, L"panel", true, 20, 20, 150, 150);
    p->SetTransparentMode(true);
    auto img = Look(p);
    Shot(img.get(), L"panel_transparent");
    EXPECT_EQ(Px(img.get(), 0, 0), kFixtureShadow);
    EXPECT_EQ(Px(img.get(), 75, 75), Sys(COLOR_BTNFACE));
    p->SetBorderStyle(TbsPanelBorderStyle::bvNone);
    img = Look(p);
    EXPECT_EQ(Px(img.get(), 0, 0), Sys(COLOR_BTNFACE));
    EXPECT_EQ(Px(img.get(), 75, 75), Sys(COLOR_BTNFACE));
    // with a caption: the frame runs round below the caption's middle
    p->SetCaption(L"Group");
    p->SetCaptionMode(true);
    img = Look(p);
    Shot(img.get(), L"panel_transparent_caption");
    EXPECT_EQ(Px(img.get(), 149, 100), kFixtureShadow);
    EXPECT_EQ(Px(img.get(), 75, 149), kFixtureShadow);
    EXPECT_EQ(Px(img.get(), 0, 100), kFixtureShadow);
    EXPECT_EQ(Px(img.get(), 75, 75), Sys(COLOR_BTNFACE));
    EXPECT_EQ(Px(img.get(), 0, 1), Sys(COLOR_BTNFACE));  // above the line
}

TEST_F(SkinPanelsTest, GroupBoxCaptionAndCheck) {
    auto* gb = Make<TbsSkinGroupBox>(nullptr, nullptr, true);
    Box* child = Child(gb, alClient);
    gb->SetCaption(L"Mail");
    gb->SetCheckedMode(true);
    auto img = Look(gb);
    Shot(img.get(), L"groupbox_check");
    EXPECT_TRUE(gb->CaptionMode());
    EXPECT_EQ(Px(img.get(), 75, 75), GroupSlice(kClient));
    EXPECT_EQ(Px(img.get(), 0, 0), GroupSlice(kLT));
    // the caption strip (4, 2, 146, 14): the unchecked picture at its left, the text after it
    EXPECT_EQ(gb->CaptionRectNow(), (TRect{4, 2, 146, 14}));
    EXPECT_EQ(Px(img.get(), 8, 8), kUnchecked);
    EXPECT_GT(CountColour(img.get(), {16, 2, 146, 14}, kGroupFont), 5);
    EXPECT_EQ(BoundsOf(child), (TRect{4, 16, 146, 146}));
    SendMessageW(gb->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 8));
    SendMessageW(gb->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
    EXPECT_TRUE(gb->Checked());
    img = Look(gb);
    EXPECT_EQ(Px(img.get(), 8, 8), kChecked);
    // rolled up with a skin: the height less the client part
    gb->SetRollUpMode(true);
    gb->SetRollUpState(true);
    EXPECT_EQ(gb->Height(), 20);
    gb->SetRollUpState(false);
    EXPECT_EQ(gb->Height(), 150);
}

TEST_F(SkinPanelsTest, GroupBoxWithTheCaptionBelowTheClientStopsForcingTheBackground) {
    const std::wstring ini = FixtureVariant(
        L"groupbelow", [](std::string& s) { ReplaceAll(s, "captionrect=4,2,36,14", "captionrect=4,37,36,39"); });
    Host* h = &SharedHost();
    h->data->LoadFromFile(ini);
    Pump(20);
    auto* gb = Make<TbsSkinGroupBox>(nullptr, nullptr, true);
    gb->SetCaption(L"Mail");
    gb->SetCheckedMode(true);
    auto img = Look(gb);
    Shot(img.get(), L"groupbox_caption_below");
    // the whole picture is composed at once, so the check picture shows by the moved caption strip (4, 147, 146,
    // 149) too; the forced background would have drawn the caption into the top strip only
    EXPECT_EQ(Px(img.get(), 75, 75), GroupSlice(kClient));
    EXPECT_EQ(Px(img.get(), 8, 146), kUnchecked);
    ReloadFixture();
}

TEST_F(SkinPanelsTest, PaintPanelReportsItsCanvasAndClient) {
    auto* p = Make<TbsSkinPaintPanel>(nullptr, nullptr, false);
    std::vector<TRect> seen;
    p->OnPanelPaint = [&](TCanvas* c, const TRect& r) {
        seen.push_back(r);
        c->Brush()->SetColor(static_cast<TColor>(RGB(9, 99, 199)));
        c->FillRect({40, 40, 50, 50});
    };
    auto img = Look(p);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), (TRect{1, 1, 149, 149}));
    EXPECT_EQ(Px(img.get(), 45, 45), RGB(9, 99, 199));
    p->SetSkinData(host_->data);
    seen.clear();
    img = Look(p);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(Px(img.get(), 45, 45), RGB(9, 99, 199));
    EXPECT_EQ(Px(img.get(), 75, 75), PanelSlice(kClient));
}

// The skin set's group boxes carry the caption's check pictures: in check mode the caption's left end shows a box,
// another one when checked, in one skin per control look of the set and the notifier's usual skins.
TEST_F(SkinPanelsTest, SkinSetGroupBoxesShowTheCaptionCheckBox) {
    auto differs = [](TBitmap* a, TBitmap* b, const TRect& r) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += Px(a, x, y) != Px(b, x, y);
        return n;
    };
    for (const wchar_t* skin : {L"01_Metro_Azure", L"02_Office_2010_Cobalt", L"05_Classic_Plum", L"06_Carbon_Rose",
                                L"23_Trelm_Graphite", L"43_Office_2010_Black", L"81_Trelm_Blue"}) {
        SCOPED_TRACE(std::string(skin, skin + wcslen(skin)));
        host_->data->LoadFromFile(SetSkin(skin));
        Pump(10);
        auto* gb = Make<TbsSkinGroupBox>(nullptr, nullptr, true, 10, 10, 200, 100);
        ASSERT_NE(gb->SkinIndex(), -1);
        gb->SetCaption(L"\x041F\x043E\x0447\x0442\x0430");
        auto plain = Look(gb);
        gb->SetCheckedMode(true);
        auto unchecked = Look(gb);
        gb->SetChecked(true);
        auto checked = Look(gb);
        Shot(checked.get(), L"setgroupbox_" + std::wstring(skin));
        const TRect cap = gb->CaptionRectNow();
        ASSERT_FALSE(cap.IsEmpty());
        const TRect box{cap.Left, cap.Top, cap.Left + 13, cap.Bottom};
        EXPECT_GT(differs(plain.get(), unchecked.get(), box), 20);    // a box where the text began
        EXPECT_GT(differs(unchecked.get(), checked.get(), box), 5);   // its check mark
        for (auto it = owned_.rbegin(); it != owned_.rend(); ++it)
            delete *it;
        owned_.clear();
    }
}

}  // namespace
