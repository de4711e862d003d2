// The skinned hint under Wine: the application's hint machinery makes the skinned window, the text is broken into
// lines at the separator, sizes with and without a skin, keeping on the work area, translucency switched off again,
// and the timed hints of the component. With TRELM_SHOTS set, PNGs of a skinned multi-line hint.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "LayeredAlphaRecorder.h"
#include "base/Handles.h"
#include "WindowTestUtil.h"
#include "classlib/ExtCtrls.h"
#include "classlib/WicCodec.h"
#include "SkinTestPaths.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinHint.h"

namespace {

using skintest::FixtureFolder;
using skintest::SetSkin;
using skintest::Widen;


int TextHeight(TFont* font, const std::wstring& s, int* width = nullptr) {
    TBitmap b(1, 1);
    b.Canvas()->SetFont(font);
    TRect r{0, 0, 0, 0};
    b.Canvas()->DrawText(s, r, DT_CALCRECT | DT_NOPREFIX);
    if (width)
        *width = r.Width();
    return r.Height();
}

// The hint window's own painting, into a memory bitmap.
void SaveShot(TbsSkinHintWindow* w, const std::wstring& name) {
    const char* dir = std::getenv("TRELM_SHOTS");
    if (!dir)
        return;
    RECT r{};
    GetWindowRect(w->Handle(), &r);
    const int cw = r.right - r.left, ch = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, cw, ch);
    HGDIOBJ old = SelectObject(mem, bmp);
    PrintWindow(w->Handle(), mem, 0);
    std::vector<std::uint32_t> px(static_cast<size_t>(cw) * ch);
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
            const COLORREF c = GetPixel(mem, x, y);
            px[static_cast<size_t>(y) * cw + x] =
                0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    const std::wstring file = Widen(dir) + L"\\" + name + L".png";
    std::ofstream(file.c_str(), std::ios::binary) << EncodePng(px.data(), cw, ch);
}

// A control with a hint title, as the skinned controls carry one.
class TitledPanel : public TPanel, public IbsHintExtras {
  public:
    using TPanel::TPanel;
    std::wstring HintTitle() const override { return L"Заголовок"; }
    int HintImageIndex() const override { return 0; }
    TCustomImageList* HintImageList() const override { return nullptr; }
};

class SkinHintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetCursorPos(5, 5);
        form_ = new TForm(nullptr);
        form_->SetFormStyle(fsStayOnTop);
        form_->SetBounds(80, 80, 300, 200);
        form_->SetCaption(L"Hint host");
        data_ = new TbsSkinData(form_);
        hint_ = new TbsSkinHint(form_);
        // The notifier's stored values.
        hint_->SetLineSeparator(L"@");
        hint_->DefaultFont()->SetName(L"MS Sans Serif");
        hint_->DefaultFont()->SetHeight(-11);
        panel_ = new TPanel(form_);
        panel_->SetParent(form_);
        panel_->SetBounds(20, 20, 120, 80);
        panel_->SetHint(L"Первая строка@Second line");
        panel_->SetShowHint(true);
        savedPause_ = Application->HintPause;
        savedHide_ = Application->HintHidePause;
        Application->HintPause = 100;
        Application->HintHidePause = 700;
    }
    void TearDown() override {
        Application->HintPause = savedPause_;
        Application->HintHidePause = savedHide_;
        SetCursorPos(5, 5);
        Pump(50);
        delete form_;
    }
    void ShowForm() {
        form_->Show();
        SetForegroundWindow(form_->Handle());
        Pump(150);
    }
    TbsSkinHintWindow* AppHintWindow() { return dynamic_cast<TbsSkinHintWindow*>(Application->HintWindow()); }

    TForm* form_ = nullptr;
    TbsSkinData* data_ = nullptr;
    TbsSkinHint* hint_ = nullptr;
    TPanel* panel_ = nullptr;
    int savedPause_ = 0, savedHide_ = 0;
};

TEST_F(SkinHintTest, ControlHintIsSkinnedSplitIntoLinesAndHidesAgain) {
    data_->LoadFromFile(SetSkin(L"00_Aero_Ocean"));
    ASSERT_FALSE(data_->Empty);
    hint_->SetSkinData(data_);
    ShowForm();
    POINT p{70, 60};
    ClientToScreen(form_->Handle(), &p);
    SetCursorPos(p.x, p.y);
    ASSERT_TRUE(PumpUntil([&] {
        auto* w = AppHintWindow();
        return w && w->HandleAllocated() && IsWindowVisible(w->Handle());
    }));
    TbsSkinHintWindow* w = AppHintWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Caption(), L"Первая строка\n\rSecond line");
    EXPECT_NE(w->FSD, nullptr);
    // Two lines high: more than one line of the hint font plus the picture's borders.
    TFont f;
    const TbsDataSkinHintWindow& rec = data_->HintWindow;
    f.SetName(rec.FontName);
    f.SetHeight(rec.FontHeight);
    const int one = TextHeight(&f, L"Second line");
    const int two = TextHeight(&f, L"Первая строка\n\rSecond line");
    EXPECT_GE(two, 2 * one);
    TBitmap* pic = data_->GetActivePicture(rec.WindowPictureIndex);
    EXPECT_EQ(w->Height(), two + rec.ClRect.Top + pic->Height() - rec.ClRect.Bottom);
    // Below the cursor.
    RECT r{};
    GetWindowRect(w->Handle(), &r);
    EXPECT_GT(r.top, p.y);
    SaveShot(w, L"hint_Aero_Ocean");
    // Hidden after the hide pause.
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(w->Handle()); }, 3000));
}

TEST_F(SkinHintTest, ATitledControlShowsTheExtendedHint) {
    ShowForm();
    auto* titled = new TitledPanel(form_);
    titled->SetParent(form_);
    titled->SetBounds(160, 20, 100, 80);
    titled->SetHint(L"Текст подсказки");
    titled->SetShowHint(true);
    POINT p{200, 60};
    ClientToScreen(form_->Handle(), &p);
    SetCursorPos(p.x, p.y);
    ASSERT_TRUE(PumpUntil([&] {
        auto* w = AppHintWindow();
        return w && w->HandleAllocated() && IsWindowVisible(w->Handle());
    }));
    TbsSkinHintWindow* w = AppHintWindow();
    EXPECT_TRUE(w->AExtendedStyle);
    // Title (bold) above the text with 10 pixels between, no skin: 4 pixels of border.
    TFont bold;
    bold.Assign(hint_->DefaultFont());
    bold.SetStyle(TFontStyles{fsBold});
    const int title = TextHeight(&bold, L"Заголовок");
    const int text = TextHeight(hint_->DefaultFont(), L"Текст подсказки");
    EXPECT_EQ(w->Height(), title + 10 + text + 4);
    SaveShot(w, L"hint_extended_default");
}

TEST_F(SkinHintTest, MaskGivesARegionAndASkinWithoutOneRemovesIt) {
    ShowForm();
    data_->LoadFromFile(SetSkin(L"00_Aero_Ocean"));
    ASSERT_NE(data_->HintWindow.MaskPictureIndex, -1);
    hint_->SetSkinData(data_);
    TbsSkinHintWindow* w = hint_->Window();
    hint_->ActivateHint({100, 100}, L"Rounded@corners");
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(w->Handle(), rgn), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(rgn, w->Width() / 2, w->Height() / 2));
    hint_->HideHint();
    data_->LoadFromFile(SetSkin(L"01_Metro_Azure"));
    ASSERT_EQ(data_->HintWindow.MaskPictureIndex, -1);
    hint_->ActivateHint({100, 100}, L"Square");
    EXPECT_EQ(GetWindowRgn(w->Handle(), rgn), ERROR);
    DeleteObject(rgn);
    hint_->HideHint();
}

TEST_F(SkinHintTest, SizeWithoutSkinAndTextWithoutSeparator) {
    ShowForm();
    TbsSkinHintWindow* w = hint_->Window();
    hint_->ActivateHint({100, 100}, L"Plain text");
    ASSERT_TRUE(hint_->IsVisible());
    int tw = 0;
    const int th = TextHeight(hint_->DefaultFont(), L"Plain text", &tw);
    EXPECT_EQ(w->Width(), tw + 4);
    EXPECT_EQ(w->Height(), th + 4);
    EXPECT_EQ(w->Caption(), L"Plain text");
    hint_->HideHint();
    EXPECT_FALSE(hint_->IsVisible());
}

TEST_F(SkinHintTest, KeptOnTheWorkAreaAndTranslucencyTurnedOff) {
    ShowForm();
    const int sx = GetSystemMetrics(SM_CXSCREEN);
    TbsSkinHintWindow* w = hint_->Window();
    hint_->AlphaBlend = true;
    hint_->AlphaBlendValue = 200;
    hint_->ActivateHint({sx - 3, 100}, L"Near the right edge");
    RECT r{};
    GetWindowRect(w->Handle(), &r);
    EXPECT_EQ(r.left, sx - 3 - (r.right - r.left) - 2);
    EXPECT_NE(GetWindowLongPtrW(w->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    hint_->HideHint();
    hint_->AlphaBlend = false;
    hint_->ActivateHint({100, 100}, L"Opaque");
    EXPECT_EQ(GetWindowLongPtrW(w->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    hint_->HideHint();
}

TEST_F(SkinHintTest, TimedHintShowsAfterThePauseAndHides) {
    ShowForm();
    data_->LoadFromFile(SetSkin(L"12_Luna_Jade"));
    hint_->SetSkinData(data_);
    // Hiding with nothing shown only cancels.
    hint_->HideHint();
    EXPECT_FALSE(hint_->IsVisible());
    hint_->ActivateHint3({200, 200, 260, 220}, L"Above@the rectangle", true);
    EXPECT_FALSE(hint_->IsVisible());
    ASSERT_TRUE(PumpUntil([&] { return hint_->IsVisible(); }, 2000));
    RECT r{};
    GetWindowRect(hint_->Window()->Handle(), &r);
    EXPECT_EQ(r.bottom, 200);
    EXPECT_NEAR((r.left + r.right) / 2, 230, 1);
    SaveShot(hint_->Window(), L"hint_Luna_Jade");
    ASSERT_TRUE(PumpUntil([&] { return !hint_->IsVisible(); }, 3000));
    // A pending hint is cancelled by HideHint.
    hint_->ActivateHint2(L"Never shown");
    hint_->HideHint();
    Pump(300);
    EXPECT_FALSE(hint_->IsVisible());
}

TEST_F(SkinHintTest, ATranslucentHintFadesInTenSteps) {
    ShowForm();
    TbsSkinHintWindow* w = hint_->Window();
    hint_->AlphaBlend = true;
    hint_->AlphaBlendValue = 200;
    hint_->AlphaBlendAnimation = true;
    // Every reading of the clock is more than 3 ms after the last: a step at each one; the waits never come.
    int readings = 0, sleeps = 0;
    std::uint32_t now = 0;
    hint_->FadeClock = {[&] {
                            ++readings;
                            return now += 4;
                        },
                        [&](std::uint32_t) { ++sleeps; }};
    TLayeredAlphaRecorder alphas;
    hint_->ActivateHint({100, 100}, L"Fading in");
    // Shown transparent, then 200 div 10 = 20 a step.
    EXPECT_EQ(alphas.For(w->Handle()), (std::vector<int>{0, 20, 40, 60, 80, 100, 120, 140, 160, 180, 200}));
    EXPECT_EQ(readings, 11);
    EXPECT_EQ(sleeps, 0);
    hint_->HideHint();

    // Without the animation the hint shows at its alpha at once.
    alphas.Clear();
    readings = 0;
    hint_->AlphaBlendAnimation = false;
    hint_->ActivateHint({100, 100}, L"At once");
    EXPECT_EQ(alphas.For(w->Handle()), std::vector<int>{200});
    EXPECT_EQ(readings, 0);
    hint_->HideHint();
    hint_->FadeClock = SystemFadeClock();
}

TEST_F(SkinHintTest, ShapedHintsShownAgainAndAgainLeaveNoHandlesBehind) {
    ShowForm();
    data_->LoadFromFile(SetSkin(L"00_Aero_Ocean"));
    hint_->SetSkinData(data_);
    hint_->ActivateHint({100, 100}, L"Warm-up");
    hint_->HideHint();
    const long gdi = LiveHandleCount(THandleKind::Gdi), dcs = LiveHandleCount(THandleKind::DC);
    for (int i = 0; i < 10; ++i) {
        hint_->ActivateHint({100 + i, 100}, L"Rounded@corners " + std::to_wstring(i));
        Pump(10);
        hint_->HideHint();
    }
    EXPECT_EQ(LiveHandleCount(THandleKind::Gdi), gdi);
    EXPECT_EQ(LiveHandleCount(THandleKind::DC), dcs);
}

}  // namespace
