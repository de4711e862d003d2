// The skinned spin edit on real windows of the shared host form: typing into the inner edit as WM_CHAR, the window's
// own text through WM_SETTEXT / WM_GETTEXT, the buttons' repeat on the seam's fake clock, the layout with and
// without the fixture's "spinedit" entry and its pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BoxTestSupport.h"
#include "ControlTestSupport.h"
#include "PressTestSupport.h"
#include "classlib/SysUtils.h"
#include "skin/boxes/SkinSpinEdit.h"

namespace {

using namespace boxtest;
using namespace ctltest;

std::wstring WindowText(HWND w) {
    wchar_t buf[256] = {};
    SendMessageW(w, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf));
    return buf;
}

int TextMetricHeight(TFont* f) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f->Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

class SkinSpinEditTest : public ControlsFixture {
  protected:
    TbsSkinSpinEdit* Spin(bool Skinned, int W = 120, int H = 20) {
        auto* s = new TbsSkinSpinEdit(host_->form);
        owned_.push_back(s);
        s->SetParent(host_->form);
        if (Skinned)
            s->SetSkinData(host_->data);
        s->SetBounds(20, 60, W, H);
        s->HandleNeeded();
        s->Edit()->HandleNeeded();
        s->OnChange = [this](TObject*) { ++changes_; };
        s->OnUpButtonClick = [this](TObject*) { clicks_.push_back("up"); };
        s->OnDownButtonClick = [this](TObject*) { clicks_.push_back("down"); };
        return s;
    }
    // Replaces the inner edit's text by typing Keys over a full selection.
    static void TypeOver(TbsSkinSpinEdit* s, const std::wstring& Keys) {
        HWND e = s->Edit()->Handle();
        SendMessageW(e, EM_SETSEL, 0, -1);
        SendMessageW(e, WM_CHAR, VK_BACK, 1);
        Type(e, Keys);
    }
    int changes_ = 0;
    std::vector<std::string> clicks_;
};

TEST_F(SkinSpinEditTest, TypedNumbersInARangeStoreTheLimitAndRewriteOnlyWhatTypingCannotMend) {
    TbsSkinSpinEdit* s = Spin(false);
    ASSERT_TRUE(FocusOn(s->Edit()));
    s->SetMaxValue(10);
    s->SetMinValue(1);
    EXPECT_EQ(s->Value(), 1);
    EXPECT_EQ(WindowText(s->Handle()), L"1");
    changes_ = 0;
    TypeOver(s, L"5");
    EXPECT_EQ(s->Value(), 5);
    EXPECT_EQ(changes_, 1);
    TypeOver(s, L"0");
    EXPECT_EQ(s->Value(), 1) << "0 is stored as the minimum";
    EXPECT_EQ(s->Edit()->Text(), L"0") << "a further digit may still bring it in";
    EXPECT_EQ(WindowText(s->Handle()), L"0");
    TypeOver(s, L"12");
    EXPECT_EQ(s->Value(), 10);
    EXPECT_EQ(s->Edit()->Text(), L"10") << "past the maximum: shown at once";
    EXPECT_EQ(WindowText(s->Handle()), L"10");
    TypeOver(s, L"0");
    EXPECT_EQ(s->Edit()->Text(), L"0");
    // leaving the edit shows the stored value
    TbsSkinSpinEdit* other = Spin(false);
    other->SetTop(100);
    ASSERT_TRUE(FocusOn(other->Edit()));
    Pump(20);
    EXPECT_EQ(s->Edit()->Text(), L"1");
    EXPECT_EQ(WindowText(s->Handle()), L"1");
}

TEST_F(SkinSpinEditTest, ValuesShowAsIntegersOrFixedDecimalsAndEqualBoundsImposeNoRange) {
    TbsSkinSpinEdit* s = Spin(false);
    s->SetValue(-5);
    EXPECT_EQ(s->Value(), -5);
    EXPECT_EQ(s->Edit()->Text(), L"-5");
    s->SetValue(2.5);
    EXPECT_EQ(WindowText(s->Handle()), L"2");
    s->SetValue(3.5);
    EXPECT_EQ(WindowText(s->Handle()), L"4");
    EXPECT_EQ(changes_, 3);
    s->SimpleSetValue(7);
    EXPECT_EQ(s->Edit()->Text(), L"7");
    EXPECT_EQ(changes_, 3) << "SimpleSetValue fires nothing";
    const wchar_t sep = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = L',';
    s->SetValueType(vtFloat);
    s->SetDecimal(2);
    s->SetValue(1.5);
    EXPECT_EQ(s->Edit()->Text(), L"1,50");
    FormatSettings.DecimalSeparator = sep;
}

TEST_F(SkinSpinEditTest, ATextThatPassesTheCharacterTestButIsNoNumberLeavesTheValueWithoutAnErrorBox) {
    const wchar_t sep = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = L',';
    TbsSkinSpinEdit* s = Spin(false);
    s->SetValueType(vtFloat);
    s->SetValue(3);
    changes_ = 0;
    ASSERT_TRUE(FocusOn(s->Edit()));
    TypeOver(s, L"-,");
    EXPECT_EQ(s->Edit()->Text(), L"-,");
    EXPECT_EQ(s->Value(), 3);
    EXPECT_EQ(changes_, 0);
    s->SetValueType(vtInteger);
    // replaced in one go, as a paste does
    SendMessageW(s->Edit()->Handle(), EM_SETSEL, 0, -1);
    SendMessageW(s->Edit()->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"99999999999"));
    EXPECT_EQ(s->Value(), 3) << "beyond 32 bits";
    Pump(50);
    EXPECT_EQ(FindWindowW(L"#32770", nullptr), nullptr) << "no message box";
    FormatSettings.DecimalSeparator = sep;
}

TEST_F(SkinSpinEditTest, IntegerTypeRoundsTheIncrement) {
    TbsSkinSpinEdit* s = Spin(false);
    for (auto [inc, want] : {std::pair{0.4, 1.0}, {0.6, 1.0}, {2.5, 2.0}}) {
        s->SetValueType(vtFloat);
        s->SetIncrement(inc);
        s->SetValueType(vtInteger);
        EXPECT_EQ(s->Increment(), want) << inc;
    }
}

TEST_F(SkinSpinEditTest, TheWindowTextIsTheValueText) {
    TbsSkinSpinEdit* s = Spin(false);
    s->SetMaxValue(99999);
    SendMessageW(s->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"993"));
    EXPECT_EQ(s->Value(), 993);
    EXPECT_EQ(s->Edit()->Text(), L"993");
    EXPECT_EQ(changes_, 1);
    SendMessageW(s->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"123456"));
    EXPECT_EQ(s->Value(), 99999);
    EXPECT_EQ(WindowText(s->Handle()), L"99999");
}

TEST_F(SkinSpinEditTest, KeysWheelAndHeldButtonsStep) {
    FakeSeam seam;
    TbsSkinSpinEdit* s = Spin(false, 120, 24);
    ASSERT_TRUE(FocusOn(s->Edit()));
    HWND e = s->Edit()->Handle();
    SendMessageW(e, WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(s->Value(), 1);
    SendMessageW(e, WM_KEYDOWN, VK_DOWN, 1);
    SendMessageW(e, WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(s->Value(), -1);
    // the wheel away from the user steps down
    SendMessageW(e, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(s->Value(), -2);
    SendMessageW(e, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(s->Value(), -1);
    EXPECT_EQ(clicks_, (std::vector<std::string>{"up", "down", "down", "down", "up"}));
    clicks_.clear();
    s->SetValue(0);
    // button 0 (W-17, 2, W-2, H div 2): held
    Mouse(s, WM_LBUTTONDOWN, 110, 6, MK_LBUTTON);
    seam.Advance(500);
    EXPECT_EQ(s->Value(), 0);
    seam.Advance(100);
    EXPECT_EQ(s->Value(), 1);
    seam.Advance(100);
    EXPECT_EQ(s->Value(), 2);
    Mouse(s, WM_LBUTTONUP, 110, 6);
    EXPECT_EQ(s->Value(), 3);
    EXPECT_EQ(clicks_.size(), 3u) << "every step is a button click";
    Mouse(s, WM_LBUTTONDOWN, 110, 18, MK_LBUTTON);
    Mouse(s, WM_LBUTTONUP, 110, 18);
    EXPECT_EQ(s->Value(), 2);
}

TEST_F(SkinSpinEditTest, BuiltInLayoutPutsTheButtonsAtTheRightAndCentresTheEdit) {
    TbsSkinSpinEdit* s = Spin(false, 100, 31);
    EXPECT_EQ(s->Button(0).R, TRect(83, 2, 98, 15));
    EXPECT_EQ(s->Button(1).R, TRect(83, 15, 98, 29));
    const int eh = TextMetricHeight(s->Edit()->Font());
    EXPECT_EQ(s->Edit()->Left(), 2);
    EXPECT_EQ(s->Edit()->Width(), 81);
    EXPECT_EQ(s->Edit()->Height(), eh);
    EXPECT_EQ(s->Edit()->Top(), 31 / 2 - eh / 2);
    EXPECT_EQ(s->Height(), 31) << "the control keeps its height";
    auto img = Paint(s);
    EXPECT_EQ(Px(img.get(), 0, 10), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Px(img.get(), 1, 10), Sys(COLOR_WINDOW));
    EXPECT_EQ(Px(img.get(), 84, 3), Sys(COLOR_BTNFACE)) << "a normal button: no frame";
    Mouse(s, WM_MOUSEMOVE, 90, 5);
    img = Paint(s);
    EXPECT_EQ(Px(img.get(), 83, 2), RGB(59, 107, 183));
    EXPECT_EQ(Px(img.get(), 84, 3), RGB(193, 212, 243));
}

TEST_F(SkinSpinEditTest, SkinnedLookTakesTheEntryHeightButtonsHotPictureAndFontColours) {
    TbsSkinSpinEdit* s = Spin(true, 100, 31);
    EXPECT_EQ(s->Height(), 20);
    // 40 wider than the picture: the buttons right of the right-hand point move along
    EXPECT_EQ(s->Button(0).R, TRect(84, 2, 98, 10));
    EXPECT_EQ(s->Button(1).R, TRect(84, 10, 98, 18));
    EXPECT_EQ(s->Edit()->Left(), 3);
    EXPECT_EQ(s->Edit()->Width(), 79);
    EXPECT_TRUE(s->Edit()->EditTransparent());
    EXPECT_EQ(s->Edit()->Font()->Color(), static_cast<TColor>(0x0000C8));
    auto img = Paint(s);
    EXPECT_EQ(Px(img.get(), 1, 10), Legend("spinedit.skinrect.left"));
    EXPECT_EQ(Px(img.get(), 50, 1), Legend("spinedit.skinrect.middle"));
    EXPECT_EQ(Px(img.get(), 90, 5), Legend("spinedit.skinrect.up"));
    EXPECT_EQ(Px(img.get(), 90, 15), Legend("spinedit.skinrect.down"));
    Mouse(s, WM_MOUSEMOVE, 90, 5);
    Mouse(s, WM_LBUTTONDOWN, 90, 5, MK_LBUTTON);
    EXPECT_EQ(Px(Paint(s).get(), 90, 5), Legend("spinedit.downup"));
    Mouse(s, WM_LBUTTONUP, 90, 5);
    EXPECT_EQ(Px(Paint(s).get(), 90, 5), Legend("spinedit.activeup"));
    // focused: the hot picture and the hot font colour
    ASSERT_TRUE(FocusOn(s->Edit()));
    img = Paint(s);
    EXPECT_EQ(Px(img.get(), 50, 1), Legend("spinedit.activeskinrect.middle"));
    EXPECT_EQ(Px(img.get(), 1, 10), Legend("spinedit.activeskinrect.left"));
    EXPECT_EQ(s->Edit()->Font()->Color(), static_cast<TColor>(0x00C800));
    TbsSkinSpinEdit* other = Spin(false);
    other->SetTop(100);
    ASSERT_TRUE(FocusOn(other->Edit()));
    SendMessageW(s->Handle(), CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Px(Paint(s).get(), 50, 1), Legend("spinedit.skinrect.middle"));
    EXPECT_EQ(s->Edit()->Font()->Color(), static_cast<TColor>(0x0000C8));
    s->SetEnabled(false);
    EXPECT_EQ(s->Edit()->Font()->Color(), static_cast<TColor>(0x808080));
}

TEST_F(SkinSpinEditTest, WithoutSkinSizeTheButtonsSplitTheStretchedButtonArea) {
    TbsSkinSpinEdit* s = Spin(true, 100, 31);
    s->SetUseSkinSize(false);
    s->SetBounds(20, 60, 100, 31);
    EXPECT_EQ(s->Height(), 31);
    // T = (84, 2, 98, 18 + 11): split at (2 + 29) div 2
    EXPECT_EQ(s->Button(0).R, TRect(84, 2, 98, 15));
    EXPECT_EQ(s->Button(1).R, TRect(84, 15, 98, 29));
    auto img = Paint(s);
    EXPECT_EQ(Px(img.get(), 50, 15), Legend("spinedit.skinrect.middle"));
    EXPECT_EQ(Px(img.get(), 85, 3), Legend("editbutton.skinrect")) << "the edit button entry draws the buttons";

    // With no button entry at all, the spin edit's own picture shows.
    host_->data->LoadFromFile(FixtureVariant(L"nobuttons", [](std::string& t) {
        for (const char* name : {"editbutton", "combobutton", "resizebutton"}) {
            ReplaceAll(t, std::string("=") + name + ":button", std::string("=no") + name + ":button");
            ReplaceAll(t, std::string("[") + name + "]", std::string("[no") + name + "]");
        }
    }));
    Pump(20);
    EXPECT_EQ(Px(Paint(s).get(), 90, 8), Legend("spinedit.skinrect.up")) << "no button entry: the picture shows";
}

}  // namespace
