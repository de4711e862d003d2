// The skinned check box and radio button on real windows: OnClick as the notifier relies on it, the grayed cycle,
// groups, the built-in and the fixture's flat and non-flat looks ("checkbox" / "radiobox": 13 x 13 check pictures
// with a magenta edge, a 100 x 15 background stretching across), mouse and keys as real messages.
#include <gtest/gtest.h>

#include "PressTestSupport.h"
#include "skin/controls/SkinCheckRadio.h"

namespace {

using namespace ctltest;

class CheckRadio : public ControlsFixture {
  protected:
    TbsSkinCheckRadioBox* Box(const std::wstring& caption, int x, int y, int w, int h, bool skinned = true,
                              bool radio = false) {
        auto* c = Make<TbsSkinCheckRadioBox>(caption, x, y, w, h, false);
        if (radio) {
            c->SetRadio(true);
            c->SetSkinDataName(L"radiobox");
            c->SetGroupIndex(1);
        }
        if (skinned)
            c->SetSkinData(host_->data);
        return c;
    }
    void Click(TbsSkinCheckRadioBox* c) {
        c->Perform(CM_MOUSEENTER);
        SendMessageW(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(c->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
};

TEST_F(CheckRadio, SetCheckedFiresOnClickAsTheNotifierExpects) {
    auto* box = Box(L"Звук", 10, 10, 150, 25);
    auto* radio = Box(L"Радио", 10, 40, 150, 25, true, true);
    int boxClicks = 0, radioClicks = 0;
    box->OnClick = [&](TObject*) { ++boxClicks; };
    radio->OnClick = [&](TObject*) { ++radioClicks; };
    box->SetChecked(false);
    EXPECT_EQ(boxClicks, 1) << "an unchanged value still reports";
    radio->SetChecked(false);
    EXPECT_EQ(radioClicks, 0);
    radio->SetChecked(true);
    EXPECT_EQ(radioClicks, 1);
    // A radio button is never unchecked by a click.
    Click(radio);
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(radioClicks, 1);
}

TEST_F(CheckRadio, GrayedCycleAndUncheckingByCode) {
    auto* box = Box(L"Серый", 10, 10, 150, 25);
    box->SetAllowGrayed(true);
    std::vector<TCheckBoxState> seen;
    box->OnClick = [&](TObject*) { seen.push_back(box->State()); };
    for (int i = 0; i < 3; ++i)
        Click(box);
    const std::vector<TCheckBoxState> cycle = {cbGrayed, cbChecked, cbUnchecked};
    EXPECT_EQ(seen, cycle);
    Click(box);
    ASSERT_EQ(box->State(), cbGrayed);
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    box->SetChecked(false);
    EXPECT_EQ(box->State(), cbGrayed) << "unchecking by code keeps the grayed state";
    EXPECT_FALSE(box->Checked());
}

TEST_F(CheckRadio, OneCheckedRadioPerGroup) {
    auto* r1 = Box(L"1", 10, 10, 100, 25, true, true);
    auto* r2 = Box(L"2", 10, 40, 100, 25, true, true);
    auto* r3 = Box(L"3", 10, 70, 100, 25, true, true);
    r3->SetGroupIndex(2);
    r1->SetChecked(true);
    r3->SetChecked(true);
    Click(r2);
    EXPECT_FALSE(r1->Checked());
    EXPECT_TRUE(r2->Checked());
    EXPECT_TRUE(r3->Checked()) << "another group";
    // Group 0 unchecks nobody.
    auto* a = Box(L"a", 120, 10, 100, 25, true, true);
    auto* b = Box(L"b", 120, 40, 100, 25, true, true);
    a->SetGroupIndex(0);
    b->SetGroupIndex(0);
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_TRUE(a->Checked());
    EXPECT_TRUE(b->Checked());
}

TEST_F(CheckRadio, APressMovedOutChangesNothing) {
    auto* box = Box(L"Box", 10, 10, 150, 25);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->Perform(CM_MOUSEENTER);
    SendMessageW(box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(box->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 5));
    EXPECT_FALSE(box->MouseIn());
    SendMessageW(box->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(box->Checked());
}

TEST_F(CheckRadio, BuiltInLook) {
    auto* box = Box(L"", 10, 10, 150, 25, false);
    box->SetColor(RGB(1, 2, 3));
    auto p = Paint(box);
    EXPECT_EQ(Px(p.get(), 3, 5), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Px(p.get(), 5, 7), Sys(COLOR_WINDOW));
    EXPECT_EQ(Px(p.get(), 10, 13), Sys(COLOR_WINDOW));
    box->Perform(CM_MOUSEENTER);
    p = Paint(box);
    EXPECT_EQ(Px(p.get(), 3, 5), 0xB76B3Bu);
    box->SetChecked(true);
    p = Paint(box);
    Shot(p.get(), L"checkbox-builtin-checked");
    EXPECT_EQ(Px(p.get(), 10, 13), 0u);
}

TEST_F(CheckRadio, SkinnedFlatPicturesAndFallbacks) {
    auto* box = Box(L"Проверять почту", 10, 10, 200, 25);
    auto* radio = Box(L"Радио", 10, 40, 200, 25, true, true);
    // The picture at (3, H div 2 - 6); its centre pixel.
    auto centre = [&](TbsSkinCheckRadioBox* c) {
        auto p = Paint(c);
        return Px(p.get(), 9, 12);
    };
    EXPECT_EQ(centre(box), Legend("checkbox.uncheck"));
    box->SetChecked(true);
    EXPECT_EQ(centre(box), Legend("checkbox.check"));
    box->Perform(CM_MOUSEENTER);
    EXPECT_EQ(centre(box), Legend("checkbox.activecheck"));
    box->Perform(CM_MOUSELEAVE);
    // No disabled pictures in the entry: the normal one of the same state.
    box->SetEnabled(false);
    EXPECT_EQ(centre(box), Legend("checkbox.check"));
    box->SetEnabled(true);
    // Grayed without a grayed picture: the checked one lightened half way to white.
    box->SetState(cbGrayed);
    const COLORREF g = centre(box), c = Legend("checkbox.check");
    EXPECT_NEAR(GetRValue(g), (GetRValue(c) + 255) / 2, 3);
    EXPECT_NEAR(GetBValue(g), (GetBValue(c) + 255) / 2, 3);
    EXPECT_EQ(centre(radio), Legend("radiobox.uncheck"));
    radio->SetChecked(true);
    EXPECT_EQ(centre(radio), Legend("radiobox.check"));
    // The magenta edge is transparent and the caption is drawn right of the picture.
    auto p = Paint(box);
    EXPECT_EQ(CountColour(p.get(), {0, 0, 200, 25}, RGB(255, 0, 255)), 0);
}

TEST_F(CheckRadio, ACheckPictureOutsideTheSkinPictureDrawsNothing) {
    host_->data->LoadFromFile(FixtureVariant(L"farcheck", [](std::string& s) {
        ReplaceAll(s, "checkimagerect=102,66,115,79", "checkimagerect=500,500,513,513");
    }));
    auto* box = Box(L"Далеко", 10, 10, 200, 25);
    box->SetChecked(true);
    auto p = Paint(box);
    EXPECT_EQ(CountColour(p.get(), {0, 0, 200, 25}, Legend("checkbox.check")), 0);
    EXPECT_EQ(CountColour(p.get(), {0, 0, 200, 25}, RGB(255, 0, 255)), 0);
    box->SetState(cbGrayed);
    p = Paint(box);  // the lightened copy of a picture that is not there
    EXPECT_EQ(CountColour(p.get(), {0, 0, 200, 25}, RGB(255, 0, 255)), 0);
}

TEST_F(CheckRadio, FlatKeepsAnySizeNonFlatFollowsTheSkin) {
    auto* box = Box(L"Flat", 10, 10, 150, 25);
    box->SetBounds(10, 10, 300, 40);
    EXPECT_EQ(box->Width(), 300);
    EXPECT_EQ(box->Height(), 40);
    auto* nf = Box(L"Non-flat", 10, 60, 150, 25);
    nf->SetFlat(false);
    nf->SetBounds(10, 60, 300, 40);
    EXPECT_EQ(nf->Width(), 300);
    EXPECT_EQ(nf->Height(), 15) << "the picture stretches across only";
    auto p = Paint(nf);
    Shot(p.get(), L"checkbox-nonflat");
    EXPECT_EQ(Px(p.get(), 150, 0), Legend("checkbox.skinrect"));
    // The check picture centred in its area (2, 1, 18, 14).
    EXPECT_EQ(Px(p.get(), 10, 7), Legend("checkbox.uncheck"));
    nf->SetChecked(true);
    p = PaintInto(nf->Width(), nf->Height(), [nf](HDC dc) { nf->PaintSkinTo(dc, 0, 0, false); });
    EXPECT_EQ(Px(p.get(), 10, 7), Legend("checkbox.uncheck")) << "PaintSkinTo draws the state it is given";
}

TEST_F(CheckRadio, SpaceAndOutsideMessages) {
    auto* box = Box(L"Key", 10, 10, 150, 25);
    box->SetCanFocused(true);
    SetForegroundWindow(host_->form->Handle());
    box->SetFocus();
    ASSERT_TRUE(PumpUntil([box] { return GetFocus() == box->Handle(); }));
    PostMessageW(box->Handle(), WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001));
    Pump(20);
    EXPECT_TRUE(box->Checked());
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(box->Handle(), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(box->Checked());
    SendMessageW(box->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Новый"));
    EXPECT_EQ(box->Caption(), L"Новый");
}

}  // namespace
