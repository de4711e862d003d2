// Labels, link label, button label and bevel with the colour-coded fixture skin ("stdlabel": Arial 20, colour
// 200,0,0, hot 0,200,0; "bevel": light 255,220,0, dark 0,60,160): sizes measured at run time, pixels through
// PaintTo, clicks as real mouse messages to the parent window, the shell "open" recorded by the control seam.
#include <gtest/gtest.h>

#include <algorithm>

#include "ControlTestSupport.h"
#include "classlib/ImgList.h"
#include "skin/controls/ButtonLabel.h"
#include "skin/controls/SkinBevel.h"
#include "skin/controls/SkinLabels.h"

namespace {

using namespace ctltest;

constexpr COLORREF kBack = RGB(1, 2, 3);
constexpr COLORREF kLabelColour = RGB(200, 0, 0), kLabelHot = RGB(0, 200, 0);

// Height of Text in a font, as the system measures it.
int MeasuredHeight(const wchar_t* Name, int Height, const std::wstring& Text) {
    TFont f;
    f.SetName(Name);
    f.SetHeight(Height);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f.Handle());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, Text.c_str(), static_cast<int>(Text.size()), &r, DT_CALCRECT | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return r.bottom;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
    void Add(int x, int y) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
        ++count;
    }
};

Box BoxOf(TBitmap* b, const std::function<bool(COLORREF)>& pred) {
    Box box;
    for (int y = 0; y < b->Height(); ++y)
        for (int x = 0; x < b->Width(); ++x)
            if (pred(Px(b, x, y)))
                box.Add(x, y);
    return box;
}

// Pixels of r near colour c (each channel within 45): antialiased text has few pixels of the exact colour.
int CountNear(TBitmap* b, const TRect& r, COLORREF c) {
    auto close = [](int a, int b) { return a - b < 45 && b - a < 45; };
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const COLORREF p = Px(b, x, y);
            n += close(GetRValue(p), GetRValue(c)) && close(GetGValue(p), GetGValue(c)) &&
                 close(GetBValue(p), GetBValue(c));
        }
    return n;
}

// The longest horizontal run of non-background pixels.
int LongestInkRun(TBitmap* b) {
    int best = 0;
    for (int y = 0; y < b->Height(); ++y) {
        int run = 0;
        for (int x = 0; x < b->Width(); ++x) {
            run = Px(b, x, y) != kBack ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

class Labels : public ::testing::Test {
  protected:
    void SetUp() override {
        host_ = &SharedHost();
        ReloadFixture();
    }
    void TearDown() override {
        for (TControl* c : owned_)
            delete c;
        owned_.clear();
    }
    template <typename T>
    T* Make(const std::wstring& caption, int x, int y, int w, int h) {
        auto* c = new T(host_->form);
        owned_.push_back(c);
        c->SetParent(host_->form);
        c->SetBounds(x, y, w, h);
        c->SetCaption(caption);
        return c;
    }
    template <typename T>
    std::unique_ptr<TBitmap> Paint(T* c) {
        return PaintInto(c->Width(), c->Height(), [c](HDC dc) { c->PaintTo(dc, 0, 0); }, kBack);
    }
    Host* host_ = nullptr;
    std::vector<TControl*> owned_;
};

TEST_F(Labels, AutoSizeFollowsTheSkinFontAtASkinChange) {
    const std::wstring text = L"Проверять почту каждые";
    auto* l = Make<TbsSkinStdLabel>(text, 10, 10, 10, 10);
    l->SetAutoSize(true);
    EXPECT_EQ(l->Height(), MeasuredHeight(L"Tahoma", 13, text));
    l->SetSkinData(host_->data);
    EXPECT_NE(l->SkinIndex(), -1);
    EXPECT_EQ(l->Height(), MeasuredHeight(L"Arial", 20, text));
    EXPECT_GT(l->Height(), MeasuredHeight(L"Tahoma", 13, text));
    // The skin's colour, and the label's own without an entry.
    auto b = Paint(l);
    EXPECT_GT(CountColour(b.get(), {0, 0, l->Width(), l->Height()}, kLabelColour), 20);
    l->SetSkinDataName(L"nolabel");
    l->Font()->SetColor(RGB(0, 0, 250));
    b = Paint(l);
    EXPECT_EQ(CountColour(b.get(), {0, 0, l->Width(), l->Height()}, kLabelColour), 0);
    EXPECT_GT(CountColour(b.get(), {0, 0, l->Width(), l->Height()}, RGB(0, 0, 250)), 20);
}

TEST_F(Labels, DisabledTextIsEmbossed) {
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "unskinned");
        auto* l = Make<TbsSkinStdLabel>(L"", 10, 10, 80, 30);
        l->SetAutoSize(false);
        l->SetBounds(10, 10, 80, 30);
        l->SetCaption(L"Ш Ж");
        l->Font()->SetColor(clBlack);
        if (skinned)
            l->SetSkinData(host_->data);
        const COLORREF ink = skinned ? kLabelColour : RGB(0, 0, 0);
        auto enabled = Paint(l);
        l->SetEnabled(false);
        auto b = Paint(l);
        Shot(b.get(), skinned ? L"label-disabled-skinned" : L"label-disabled");
        const COLORREF hl = skinned ? RGB(255, 255, 255) : Sys(COLOR_BTNHIGHLIGHT);
        const COLORREF sh = skinned ? RGB(128, 128, 128) : Sys(COLOR_BTNSHADOW);
        // Where the enabled text covers a pixel fully, the shadow copy does; where it covers the pixel up and left
        // of a pixel it leaves free, the highlight copy shows.
        int shadowed = 0, lit = 0;
        for (int y = 1; y < 30; ++y)
            for (int x = 1; x < 80; ++x) {
                if (Px(enabled.get(), x, y) == ink) {
                    EXPECT_EQ(Px(b.get(), x, y), sh) << x << "," << y;
                    ++shadowed;
                } else if (Px(enabled.get(), x, y) == kBack && Px(enabled.get(), x - 1, y - 1) == ink) {
                    EXPECT_EQ(Px(b.get(), x, y), hl) << x << "," << y;
                    ++lit;
                }
            }
        EXPECT_GT(shadowed, 10);
        EXPECT_GT(lit, 5);
    }
}

TEST_F(Labels, ALinkClickOpensItsAddressAfterOnClick) {
    FakeSeam seam;
    auto* link = Make<TbsSkinLinkLabel>(L"www.example.org", 20, 200, 120, 18);
    link->SetURL(L"http://www.example.org/");
    std::vector<std::wstring> events;
    link->OnClick = [&](TObject*) { events.push_back(L"click:" + std::to_wstring(seam.opened.size())); };
    auto click = [&] {
        const HWND parent = host_->form->Handle();
        SendMessageW(parent, WM_MOUSEMOVE, 0, MAKELPARAM(30, 205));
        SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 205));
        SendMessageW(parent, WM_LBUTTONUP, 0, MAKELPARAM(30, 205));
    };
    click();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], L"click:0");  // OnClick came first
    ASSERT_EQ(seam.opened.size(), 1u);
    EXPECT_EQ(seam.opened[0], L"http://www.example.org/");
    link->SetURL(L"");
    click();
    EXPECT_EQ(events.size(), 2u);
    EXPECT_EQ(seam.opened.size(), 1u);
}

TEST_F(Labels, LinkHotColourGlowAndUnderline) {
    auto* link = Make<TbsSkinLinkLabel>(L"", 10, 10, 90, 40);
    link->SetAutoSize(false);
    link->SetBounds(10, 10, 90, 40);
    link->SetCaption(L"иииии");
    link->SetSkinData(host_->data);
    auto b = Paint(link);
    Shot(b.get(), L"link-normal");
    EXPECT_GT(CountNear(b.get(), {0, 0, 90, 40}, kLabelColour), 10);
    const Box plain = BoxOf(b.get(), [](COLORREF c) { return c != kBack; });
    EXPECT_GE(LongestInkRun(b.get()), plain.right - plain.left - 2);  // the underline
    link->Perform(CM_MOUSEENTER);
    ASSERT_TRUE(link->MouseIn());
    b = Paint(link);
    EXPECT_GT(CountNear(b.get(), {0, 0, 90, 40}, kLabelHot), 10);
    EXPECT_EQ(CountNear(b.get(), {0, 0, 90, 40}, kLabelColour), 0);
    link->Perform(CM_MOUSELEAVE);
    // Glow: the text sits GlowSize lower at all times; while hot it keeps its normal colour.
    link->SetGlowEffect(true);
    b = Paint(link);
    const Box glowing = BoxOf(b.get(), [](COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 60; });
    const Box flat = BoxOf(PaintInto(90, 40, [&](HDC dc) {
                               link->SetGlowEffect(false);
                               link->PaintTo(dc, 0, 0);
                               link->SetGlowEffect(true);
                           }, kBack).get(),
                           [](COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 60; });
    EXPECT_EQ(glowing.top, flat.top + 7);
    link->Perform(CM_MOUSEENTER);
    b = Paint(link);
    EXPECT_GT(CountNear(b.get(), {0, 0, 90, 40}, kLabelColour), 10);
    link->Perform(CM_MOUSELEAVE);
    link->SetGlowEffect(false);
    // No underline, even with an underlined default font.
    link->SetUseUnderLine(false);
    b = Paint(link);
    EXPECT_LT(LongestInkRun(b.get()), (plain.right - plain.left) / 3);
    link->SetSkinDataName(L"nolabel");
    b = Paint(link);
    EXPECT_LT(LongestInkRun(b.get()), (plain.right - plain.left) / 3);
}

// Three 16 x 16 images: red, green, blue.
std::unique_ptr<TImageList> ThreeImages() {
    auto list = std::make_unique<TImageList>(nullptr, 16, 16);
    for (COLORREF c : {RGB(250, 0, 0), RGB(0, 250, 0), RGB(0, 0, 250)}) {
        TBitmap b(16, 16, pf24bit);
        HBRUSH brush = CreateSolidBrush(c);
        RECT r{0, 0, 16, 16};
        FillRect(b.Canvas()->Handle(), &r, brush);
        DeleteObject(brush);
        list->Add(&b, nullptr);
    }
    return list;
}

TEST_F(Labels, ButtonLabelShowsItsActiveImageWhileHot) {
    auto images = ThreeImages();
    auto* bl = Make<TbsSkinButtonLabel>(L"Почта", 10, 10, 120, 30);
    bl->SetImageList(images.get());
    bl->SetImageIndex(0);
    bl->SetActiveImageIndex(2);
    auto shows = [&](COLORREF c) {
        auto b = Paint(bl);
        return CountColour(b.get(), {0, 0, 120, 30}, c) >= 200;
    };
    EXPECT_TRUE(shows(RGB(250, 0, 0)));
    bl->Perform(CM_MOUSEENTER);
    EXPECT_EQ(bl->ShownImageIndex(), 2);
    EXPECT_TRUE(shows(RGB(0, 0, 250)));
    bl->SetActiveImageIndex(5);  // not in the list: the normal image
    EXPECT_EQ(bl->ShownImageIndex(), 0);
    EXPECT_TRUE(shows(RGB(250, 0, 0)));
    bl->Perform(CM_MOUSELEAVE);
    bl->SetActiveImageIndex(2);
    bl->SetEnabled(false);
    bl->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(bl->MouseIn());
    EXPECT_EQ(bl->ShownImageIndex(), 0);
    bl->SetImageList(nullptr);
    images.reset();
}

TEST_F(Labels, ButtonLabelTakesASkinChangeOnlyInChangeSkinData) {
    TbsSkinData data(nullptr);
    data.LoadFromFile(FixtureSkin());
    auto* bl = new TbsSkinButtonLabel(nullptr);  // no form: no walk reaches it
    std::unique_ptr<TbsSkinButtonLabel> owner(bl);
    bl->SetBounds(0, 0, 120, 30);
    bl->SetCaption(L"Почта");
    bl->SetSkinData(&data);
    auto b = Paint(bl);
    EXPECT_GT(CountColour(b.get(), {0, 0, 120, 30}, kLabelColour), 10);
    data.LoadFromFile(FixtureVariant(L"bluelabel", [](std::string& s) {
        ReplaceAll(s, "fontcolor=200\r\n", "fontcolor=13107200\r\n");  // 0,0,200
    }));
    b = Paint(bl);
    EXPECT_GT(CountColour(b.get(), {0, 0, 120, 30}, kLabelColour), 10);
    bl->ChangeSkinData();
    b = Paint(bl);
    EXPECT_EQ(CountColour(b.get(), {0, 0, 120, 30}, kLabelColour), 0);
    EXPECT_GT(CountColour(b.get(), {0, 0, 120, 30}, RGB(0, 0, 200)), 10);
    // Hot: the skin's hot colour; disabled: the skin's shadow.
    bl->Perform(CM_MOUSEENTER);
    b = Paint(bl);
    EXPECT_GT(CountColour(b.get(), {0, 0, 120, 30}, kLabelHot), 10);
    bl->Perform(CM_MOUSELEAVE);
    bl->SetEnabled(false);
    b = Paint(bl);
    EXPECT_GT(CountColour(b.get(), {0, 0, 120, 30}, RGB(128, 128, 128)), 10);
}

struct BevelCase {
    const char* name;
    TBevelShape shape;
    TBevelStyle style;
    bool divider;
    int w, h;
    struct Probe {
        int x, y;
        int colour;  // 0 dark, 1 light, 2 untouched
    } probes[4];
};

TEST_F(Labels, BevelShapesAndColours) {
    const BevelCase cases[] = {
        {"lowered box", bsBox, bsLowered, false, 50, 20, {{0, 10, 0}, {25, 0, 0}, {49, 10, 1}, {25, 19, 1}}},
        {"raised box", bsBox, bsRaised, false, 50, 20, {{0, 10, 1}, {25, 0, 1}, {49, 10, 0}, {25, 19, 0}}},
        {"divider top line", bsTopLine, bsLowered, true, 100, 20, {{50, 9, 0}, {50, 10, 1}, {1, 9, 2}, {99, 10, 2}}},
        {"divider box", bsBox, bsLowered, true, 20, 100, {{9, 50, 0}, {10, 50, 1}, {9, 1, 2}, {0, 50, 2}}},
        {"top line", bsTopLine, bsLowered, false, 60, 10, {{30, 0, 0}, {30, 1, 1}, {30, 5, 2}, {59, 0, 0}}},
        {"frame", bsFrame, bsLowered, false, 40, 20, {{0, 10, 0}, {1, 10, 1}, {39, 10, 1}, {20, 5, 2}}},
        {"spacer", bsSpacer, bsLowered, false, 40, 20, {{0, 0, 2}, {20, 10, 2}, {39, 19, 2}, {0, 19, 2}}},
    };
    auto* bevel = new TbsSkinBevel(host_->form);
    owned_.push_back(bevel);
    bevel->SetParent(host_->form);
    for (bool skinned : {false, true, false}) {
        bevel->SetSkinData(skinned ? host_->data : nullptr);
        const COLORREF dark = skinned ? RGB(0, 60, 160) : Sys(COLOR_BTNSHADOW);
        const COLORREF light = skinned ? RGB(255, 220, 0) : Sys(COLOR_BTNHIGHLIGHT);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (skinned ? " skinned" : ""));
            bevel->SetShape(c.shape);
            bevel->SetStyle(c.style);
            bevel->SetDividerMode(c.divider);
            bevel->SetBounds(0, 0, c.w, c.h);
            auto b = Paint(bevel);
            for (const auto& p : c.probes)
                EXPECT_EQ(Px(b.get(), p.x, p.y), p.colour == 0 ? dark : p.colour == 1 ? light : kBack)
                    << p.x << "," << p.y;
        }
    }
}

}  // namespace
