// The skinned page control on real windows of a skinned host form under Wine: the page area against the tab
// control's own answer, the hidden mode, the centred row's refusal, the wheel, the close buttons driven by real
// mouse messages, the tab and page pixels of the colour-coded fixture and the built-in look, the query message and
// the tabs a narrow control cannot show.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "skin/boxes/SkinUpDown.h"
#include "skin/pages/SkinPageControl.h"

namespace {

using namespace ctltest;

constexpr COLORREF kTabNormal = RGB(200, 30, 30), kTabHot = RGB(200, 200, 30), kTabActive = RGB(30, 200, 30),
                   kTabFocus = RGB(30, 30, 200), kTabsBg = RGB(70, 140, 210), kClose = RGB(250, 100, 100),
                   kCloseHot = RGB(100, 250, 100);
constexpr COLORREF FrameSlice(int i) {
    return RGB(90, 20 + 25 * i, 60);
}
enum { kLT, kTop, kRT, kLeft, kClient };
// The built-in colours, as 0x00BBGGRR.
constexpr COLORREF kBuiltinHot = 0xF3D4C1, kBuiltinFrame = 0xB76B3B, kBuiltinFocus = 0xE4BCA2;

// A sheet that tells when it is destroyed.
class CountedSheet : public TbsSkinTabSheet {
  public:
    CountedSheet(TComponent* owner, int* gone) : TbsSkinTabSheet(owner), gone_(gone) {}
    ~CountedSheet() override { ++*gone_; }

  private:
    int* gone_;
};

class SkinPageControlTest : public HostedControls {
  protected:
    TbsSkinPageControl* Make(bool skinned, int pages = 3, int w = 300, int h = 200,
                             TTabPosition pos = tpTop) {
        auto* pc = new TbsSkinPageControl(host_->form);
        pc->SetParent(host_->form);
        pc->SetBounds(8, 8, w, h);
        pc->SetTabPosition(pos);
        owned_.push_back(pc);  // the sheets, pushed after it, go first
        for (int i = 0; i < pages; ++i) {
            auto* s = new TbsSkinTabSheet(host_->form);
            s->SetCaption(L"Page " + std::to_wstring(i));
            s->SetPageControl(pc);
            owned_.push_back(s);
        }
        if (skinned)
            pc->SetSkinData(host_->data);
        pc->HandleNeeded();
        pc->SetActivePageIndex(0);
        Pump(20);
        return pc;
    }
    static TRect Native(TbsSkinPageControl* pc) {
        RECT r{0, 0, pc->Width(), pc->Height()};
        SendMessageW(pc->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
        return {r.left, r.top, r.right, r.bottom};
    }
    static TRect SheetBounds(TTabSheet* s) { return {s->Left(), s->Top(), s->Left() + s->Width(), s->Top() + s->Height()}; }
    static void Mouse(TbsSkinPageControl* pc, UINT msg, int x, int y) {
        SendMessageW(pc->Handle(), msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    }
    static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    static std::unique_ptr<TBitmap> Paint(TbsSkinPageControl* pc) {
        return PaintInto(pc->Width(), pc->Height(), [pc](HDC dc) { pc->PaintTo(dc, 0, 0); });
    }
    // The tab's pixel a little inside its left end, in its vertical middle (away from the caption).
    static COLORREF TabPx(TBitmap* b, const TRect& r) { return Px(b, r.Left + 2, (r.Top + r.Bottom) / 2); }
};

TEST_F(SkinPageControlTest, PageAreaIsTheNativeAnswerCorrected) {
    struct Case {
        TTabPosition pos;
        bool skinned, hidden;
    };
    const Case cases[] = {{tpTop, false, false}, {tpTop, true, false}, {tpTop, false, true}, {tpTop, true, true},
                          {tpBottom, false, false}, {tpBottom, true, false}, {tpLeft, false, false},
                          {tpLeft, true, false}, {tpRight, false, false}, {tpRight, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.pos << " skinned " << c.skinned << " hidden " << c.hidden);
        TbsSkinPageControl* pc = Make(c.skinned, 3, 300, 200, c.pos);
        if (c.hidden)
            pc->HideBorderAndTabs();
        Pump(10);
        const int cw = pc->ClientWidth(), ch = pc->ClientHeight();
        const TRect n = Native(pc);
        const TRect got = SheetBounds(pc->ActivePage());
        const int L = c.skinned ? 4 : 1, R = c.skinned ? 4 : 1, B = c.skinned ? 4 : 1, T = c.skinned ? 4 : 0;
        if (c.hidden) {
            EXPECT_EQ(got, (TRect{0, -2, cw, ch}));
        } else if (c.pos == tpTop) {
            EXPECT_EQ(got, (TRect{L, n.Top + T - (c.skinned ? 6 : 5), cw - R, ch - B}));
        } else if (c.pos == tpBottom) {
            EXPECT_EQ(got, (c.skinned ? TRect{L, n.Top + T - 4, cw - R, n.Bottom + 4 - B} : TRect{1, 1, cw - 1, n.Bottom + 3}));
        } else if (c.pos == tpLeft) {
            EXPECT_EQ(got, (c.skinned ? TRect{n.Left + L - 4, n.Top + T - 4, cw - R, ch - B}
                                      : TRect{n.Left - 3, n.Top - 5, cw - 1, ch - 1}));
        } else {
            EXPECT_EQ(got, (c.skinned ? TRect{L, n.Top + T - 4, n.Right + 4 - R, ch - B}
                                      : TRect{n.Left - 3, n.Top - 5, n.Right + 3, ch - 1}));
        }
        for (int i = 0; i < 4; ++i) {
            delete owned_.back();
            owned_.pop_back();
        }
    }
}

TEST_F(SkinPageControlTest, HiddenModeIsABarePageHost) {
    TbsSkinPageControl* pc = Make(true, 2, 494, 262);
    pc->HideBorderAndTabs();
    Pump(10);
    EXPECT_EQ(SheetBounds(pc->ActivePage()), (TRect{0, -2, 494, 262}));
    // No tab is drawn: the page covers the whole control in its picture.
    auto b = Paint(pc);
    EXPECT_EQ(CountColour(b.get(), {0, 0, 494, 30}, kTabActive), 0);
    EXPECT_EQ(CountColour(b.get(), {0, 0, 494, 30}, kTabNormal), 0);
    // The former tab row ignores the mouse: a click where the second tab stood selects nothing.
    Mouse(pc, WM_MOUSEMOVE, 80, 5);
    Mouse(pc, WM_LBUTTONDOWN, 80, 5);
    Mouse(pc, WM_LBUTTONUP, 80, 5);
    EXPECT_EQ(pc->ActivePageIndex(), 0);
    EXPECT_EQ(pc->HotTab(), -1);
    // And the tabs come back.
    pc->ShowBorderAndTabs();
    Pump(10);
    EXPECT_FALSE(pc->TabsHidden());
    EXPECT_GT(SheetBounds(pc->ActivePage()).Top, 0);
}

TEST_F(SkinPageControlTest, HidingTabsNeedsAVisibleTabAndShowingNeedsAHide) {
    TbsSkinPageControl* pc = Make(false, 2);
    const TRect before = SheetBounds(pc->ActivePage());
    pc->ShowTabs();  // nothing was hidden
    EXPECT_EQ(SheetBounds(pc->ActivePage()), before);
    pc->Pages(0)->SetTabVisible(false);
    pc->Pages(1)->SetTabVisible(false);
    pc->HideTabs();
    EXPECT_FALSE(pc->TabsHidden());
}

TEST_F(SkinPageControlTest, CentredRowNeedsAFixedTabWidth) {
    TbsSkinPageControl* pc = Make(false, 3);
    pc->SetTabsInCenter(true);
    EXPECT_FALSE(pc->TabsInCenter());
    pc->SetTabWidth(60);
    pc->SetTabsInCenter(true);
    EXPECT_TRUE(pc->TabsInCenter());
    // The row is centred: its middle tab's rectangle straddles the middle of the control, and a click on it (the
    // tab control sees the x moved back) selects that page.
    Pump(10);
    const TRect mid = pc->GetTabRect(1);
    EXPECT_LE(mid.Left, pc->Width() / 2);
    EXPECT_GE(mid.Right, pc->Width() / 2);
    Mouse(pc, WM_LBUTTONDOWN, Centre(mid).X, Centre(mid).Y);
    Mouse(pc, WM_LBUTTONUP, Centre(mid).X, Centre(mid).Y);
    Pump(10);
    EXPECT_EQ(pc->ActivePageIndex(), 1);
}

TEST_F(SkinPageControlTest, WheelSwitchesVisiblePagesWithTheFocus) {
    TbsSkinPageControl* pc = Make(false, 4);
    pc->Pages(1)->SetTabVisible(false);
    int changes = 0;
    pc->OnChange = [&](TObject*) { ++changes; };
    auto wheel = [pc](int delta) { SendMessageW(pc->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0); };
    pc->SetFocus();
    Pump(10);
    wheel(-120);
    EXPECT_EQ(pc->ActivePageIndex(), 0) << "wheel support is off";
    pc->MouseWheelSupport = true;
    wheel(-120);
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    wheel(-120);
    EXPECT_EQ(pc->ActivePageIndex(), 3);
    wheel(-120);
    EXPECT_EQ(pc->ActivePageIndex(), 3) << "nothing after the last";
    wheel(120);
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    EXPECT_EQ(changes, 3);
    TbsSkinPageControl* other = Make(false, 1);
    other->SetFocus();
    Pump(10);
    ASSERT_NE(GetFocus(), pc->Handle());
    wheel(120);
    EXPECT_EQ(pc->ActivePageIndex(), 2) << "without the focus";
}

TEST_F(SkinPageControlTest, CloseButtons) {
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skin" : "built-in");
        int gone = 0;
        auto* pc = new TbsSkinPageControl(host_->form);
        pc->SetParent(host_->form);
        pc->SetBounds(8, 8, 360, 200);
        std::vector<TTabSheet*> sheets;
        for (int i = 0; i < 3; ++i) {
            auto* s = new CountedSheet(host_->form, &gone);
            s->SetCaption(L"Tab " + std::to_wstring(i));
            s->SetPageControl(pc);
            sheets.push_back(s);
        }
        if (skinned)
            pc->SetSkinData(host_->data);
        pc->SetShowCloseButtons(true);
        pc->HandleNeeded();
        pc->SetActivePageIndex(0);
        Pump(20);
        bool allow = false;
        TObject* closeSender = nullptr;
        TObject* afterSender = nullptr;
        pc->OnClose = [&](TObject* s, bool& can) {
            closeSender = s;
            can = allow;
        };
        pc->OnAfterClose = [&](TObject* s) { afterSender = s; };
        auto clickClose = [&](int tab) {
            auto b = Paint(pc);  // lays the close rectangles out
            const TRect tr = pc->GetTabRect(tab);
            TRect cr;
            for (int i = 0; i < pc->PageCount(); ++i)
                if (pc->Pages(i)->TabIndex() == tab)
                    cr = static_cast<TbsSkinCustomTabSheet*>(pc->Pages(i))->CloseRect;
            ASSERT_FALSE(cr.IsEmpty());
            const TPoint p = Centre(cr);
            Mouse(pc, WM_MOUSEMOVE, tr.Left + p.X, tr.Top + p.Y);
            Mouse(pc, WM_LBUTTONDOWN, tr.Left + p.X, tr.Top + p.Y);
            Mouse(pc, WM_LBUTTONUP, tr.Left + p.X, tr.Top + p.Y);
            Pump(10);
        };
        clickClose(0);
        EXPECT_EQ(closeSender, sheets[0]);
        EXPECT_TRUE(sheets[0]->TabVisible()) << "CanClose false keeps the page";
        EXPECT_EQ(afterSender, nullptr);
        allow = true;
        clickClose(0);
        EXPECT_FALSE(sheets[0]->TabVisible());
        EXPECT_EQ(pc->ActivePage(), sheets[1]);
        EXPECT_EQ(afterSender, pc);
        EXPECT_EQ(gone, 0);
        pc->FreeOnClose = true;
        clickClose(0);  // the first visible tab is now sheet 1
        EXPECT_EQ(gone, 1);
        EXPECT_EQ(pc->PageCount(), 2);
        EXPECT_EQ(pc->ActivePage(), sheets[2]);
        delete sheets[0];
        delete sheets[2];
        delete pc;
        Pump(10);
    }
}

TEST_F(SkinPageControlTest, SkinTabStatesAndPageShowFixtureColours) {
    TbsSkinPageControl* pc = Make(true, 3);
    pc->SetShowCloseButtons(true);
    Pump(10);
    auto b = Paint(pc);
    Shot(b.get(), L"pages_skin");
    EXPECT_EQ(TabPx(b.get(), pc->GetTabRect(0)), kTabActive) << "active, unfocused";
    EXPECT_EQ(TabPx(b.get(), pc->GetTabRect(1)), kTabNormal);
    // The strip right of the last tab shows the tabs' background; the page its frame's client part.
    EXPECT_EQ(Px(b.get(), pc->Width() - 3, 3), kTabsBg);
    const TRect page = SheetBounds(pc->ActivePage());
    EXPECT_EQ(Px(b.get(), Centre(page).X, Centre(page).Y), FrameSlice(kClient));
    EXPECT_EQ(Px(b.get(), page.Left - 2, Centre(page).Y), FrameSlice(kLeft));
    // The close button of a normal tab in its normal picture.
    auto* s1 = static_cast<TbsSkinCustomTabSheet*>(pc->Pages(1));
    const TRect t1 = pc->GetTabRect(1);
    EXPECT_EQ(Px(b.get(), t1.Left + Centre(s1->CloseRect).X, t1.Top + Centre(s1->CloseRect).Y), kClose);
    // Hot: the mouse over tab 1, then over its close button.
    Mouse(pc, WM_MOUSEMOVE, t1.Left + 4, Centre(t1).Y);
    b = Paint(pc);
    EXPECT_EQ(pc->HotTab(), 1);
    EXPECT_EQ(TabPx(b.get(), pc->GetTabRect(1)), kTabHot);
    Mouse(pc, WM_MOUSEMOVE, t1.Left + Centre(s1->CloseRect).X, t1.Top + Centre(s1->CloseRect).Y);
    b = Paint(pc);
    EXPECT_EQ(Px(b.get(), t1.Left + Centre(s1->CloseRect).X, t1.Top + Centre(s1->CloseRect).Y), kCloseHot);
    // Focused: the active tab takes the focus picture.
    pc->SetFocus();
    Pump(10);
    b = Paint(pc);
    EXPECT_EQ(TabPx(b.get(), pc->GetTabRect(0)), kTabFocus);
    ::SetFocus(host_->form->Handle());
    Pump(10);
}

TEST_F(SkinPageControlTest, BuiltinTabColours) {
    TbsSkinPageControl* pc = Make(false, 3);
    auto b = Paint(pc);
    Shot(b.get(), L"pages_builtin");
    const TRect t0 = pc->GetTabRect(0), t1 = pc->GetTabRect(1);
    EXPECT_EQ(Px(b.get(), t0.Left, Centre(t0).Y), kBuiltinFrame);
    EXPECT_EQ(TabPx(b.get(), t0), kBuiltinHot) << "active, unfocused";
    EXPECT_EQ(TabPx(b.get(), t1), Sys(COLOR_BTNFACE));
    const TRect page = SheetBounds(pc->ActivePage());
    EXPECT_EQ(Px(b.get(), Centre(page).X, Centre(page).Y), Sys(COLOR_BTNFACE));
    EXPECT_EQ(Px(b.get(), page.Left - 1, Centre(page).Y), Sys(COLOR_BTNSHADOW));
    Mouse(pc, WM_MOUSEMOVE, t1.Left + 4, Centre(t1).Y);
    b = Paint(pc);
    EXPECT_EQ(TabPx(b.get(), t1), kBuiltinHot);
    pc->SetFocus();
    Pump(10);
    b = Paint(pc);
    EXPECT_EQ(TabPx(b.get(), t0), kBuiltinFocus);
    ::SetFocus(host_->form->Handle());
    Pump(10);
}

TEST_F(SkinPageControlTest, ANameThatFindsNoTabEntryDrawsTheBuiltinLook) {
    TbsSkinPageControl* pc = Make(true, 2);
    pc->SetSkinDataName(L"stdlabel");  // an entry of another kind
    auto b = Paint(pc);
    EXPECT_EQ(TabPx(b.get(), pc->GetTabRect(0)), kBuiltinHot);
    pc->SetSkinDataName(L"tab");
    b = Paint(pc);
    EXPECT_EQ(TabPx(b.get(), pc->GetTabRect(0)), kTabActive);
    // A new load of the container is seen at the next paint (the cached lookup is keyed by the load count).
    host_->data->ClearSkin();
    b = Paint(pc);
    EXPECT_EQ(TabPx(b.get(), pc->GetTabRect(0)), kBuiltinHot);
}

// The extended drawing lays each tab's glyph and caption out as a button does: the glyph at the margin from the left
// or the right end of the tab, the caption the spacing away on its other side; margin -1 centres the pair.
TEST_F(SkinPageControlTest, ExtendedDrawPlacesGlyphAndCaptionByLayoutMarginAndSpacing) {
    constexpr COLORREF kGlyph = RGB(0, 160, 160);
    TImageList images(nullptr, 16, 16);
    {
        TBitmap pic(16, 16, pf24bit);
        HBRUSH brush = CreateSolidBrush(kGlyph);
        RECT r{0, 0, 16, 16};
        FillRect(pic.Canvas()->Handle(), &r, brush);
        DeleteObject(brush);
        images.Add(&pic, nullptr);
    }
    TbsSkinPageControl* pc = Make(false, 3, 420);
    pc->SetTabImages(&images);
    pc->SetTabWidth(120);
    for (int i = 0; i < 3; ++i)
        pc->Pages(i)->SetImageIndex(0);
    pc->SetTabExtededDraw(true);
    pc->SetTabMargin(-5);  // ignored
    EXPECT_EQ(pc->TabMargin(), -1);
    struct Case {
        TbsButtonLayout Layout;
        int Margin, Spacing;
    };
    for (const Case& k : {Case{blGlyphLeft, 4, 6}, Case{blGlyphLeft, 9, 14}, Case{blGlyphRight, 4, 6},
                          Case{blGlyphRight, 0, 10}, Case{blGlyphLeft, -1, 6}}) {
        SCOPED_TRACE(::testing::Message() << "layout " << k.Layout << " margin " << k.Margin << " spacing " << k.Spacing);
        pc->SetTabLayout(k.Layout);
        pc->SetTabMargin(k.Margin);
        pc->SetTabSpacing(k.Spacing);
        auto b = Paint(pc);
        Shot(b.get(), L"pages_extended_" + std::to_wstring(k.Layout) + L"_" + std::to_wstring(k.Margin));
        const TRect t = pc->GetTabRect(1);  // an unselected tab: button face, black caption
        // The glyph's columns and the caption's inked columns in the tab.
        int gl = t.Right, gr = -1, tl = t.Right, tr = -1;
        for (int x = t.Left; x < t.Right; ++x)
            for (int y = t.Top + 1; y < t.Bottom - 1; ++y) {
                const COLORREF c = Px(b.get(), x, y);
                if (c == kGlyph) {
                    gl = std::min(gl, x);
                    gr = std::max(gr, x);
                } else if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 300) {
                    tl = std::min(tl, x);
                    tr = std::max(tr, x);
                }
            }
        ASSERT_EQ(gr - gl + 1, 16) << "the whole glyph shows";
        ASSERT_GT(tr, tl) << "the caption shows";
        if (k.Margin == -1) {
            // The pair is centred in the tab: as much room on its left as on its right (text ink within a pixel
            // or two of its measured box).
            EXPECT_LT(gl, tl);
            EXPECT_NEAR(gl - t.Left, t.Right - 1 - tr, 4);
            EXPECT_NEAR(tl - gr - 1, k.Spacing, 2);
        } else if (k.Layout == blGlyphLeft) {
            EXPECT_EQ(gl, t.Left + k.Margin);
            EXPECT_NEAR(tl - gr - 1, k.Spacing, 2) << "the caption starts the spacing right of the glyph";
            EXPECT_GE(tl - gr - 1, k.Spacing);
        } else {
            EXPECT_EQ(gr, t.Right - 1 - k.Margin);
            EXPECT_NEAR(gl - tr - 1, k.Spacing, 3) << "the caption ends the spacing left of the glyph";
            EXPECT_GE(gl - tr - 1, k.Spacing - 1);
        }
    }
    pc->SetTabImages(nullptr);  // the list goes before the control
}

TEST_F(SkinPageControlTest, QueryMessageIsAnswered) {
    TbsSkinPageControl* pc = Make(false, 1);
    EXPECT_EQ(SendMessageW(pc->Handle(), WM_SKINPAGE_QUERY, 0, 0), 12851);
    EXPECT_EQ(SendMessageW(pc->ActivePage()->Handle(), WM_SKINPAGE_QUERY, 0, 0), 12851);
}

TEST_F(SkinPageControlTest, EmptyControlPaintsItsBackground) {
    TbsSkinPageControl* pc = Make(true, 0);
    auto b = Paint(pc);
    EXPECT_EQ(Px(b.get(), 20, 20), FrameSlice(kClient));
}

TEST_F(SkinPageControlTest, NarrowRowCountsTheTabsItCannotShow) {
    TbsSkinPageControl* pc = Make(false, 8, 200, 120);
    Pump(10);
    EXPECT_GT(pc->HiddenTabs(), 0);
    pc->SetBounds(8, 8, 900, 120);
    Pump(10);
    EXPECT_EQ(pc->HiddenTabs(), 0);
}

TEST_F(SkinPageControlTest, SkinChangeWalkReachesTheControl) {
    TbsSkinPageControl* pc = Make(true, 2);
    pc->Pages(1)->SetCaption(L"A longer caption");
    pc->SetActivePageIndex(1);
    host_->data->LoadFromFile(FixtureVariant(L"tabfont", [](std::string& s) {
        ReplaceValue(s, "fontheight", "20");
    }));
    Pump(20);
    EXPECT_EQ(pc->Font()->Height(), 20);
    EXPECT_EQ(pc->ActivePageIndex(), 1);
    EXPECT_TRUE(pc->Pages(1)->Visible());
    EXPECT_EQ(SendMessageW(pc->Handle(), TCM_GETCURSEL, 0, 0), 1);
}

TEST_F(SkinPageControlTest, OverflowingRowGetsTheSkinnedScroller) {
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skin" : "built-in");
        TbsSkinPageControl* pc = Make(skinned, 8, 200, 120);
        Pump(10);
        auto noNative = [pc] { return FindWindowExW(pc->Handle(), nullptr, L"msctls_updown32", nullptr) == nullptr; };
        ASSERT_NE(pc->UpDown(), nullptr);
        TbsSkinUpDown* ud = pc->UpDown();
        EXPECT_TRUE(noNative());
        // Built-in: 2 x DefaultItemHeight by DefaultItemHeight; the skin's up-down entry has a size of its own.
        if (!skinned) {
            EXPECT_EQ(ud->Width(), 40);
            EXPECT_EQ(ud->Height(), 20);
        }
        EXPECT_EQ(ud->Left(), pc->Width() - ud->Width());
        EXPECT_EQ(ud->Min(), 0);
        EXPECT_EQ(ud->Max(), pc->HiddenTabs());
        EXPECT_TRUE(ud->Visible());
        // A click on the scroller's forward arrow scrolls the row by one tab.
        const int left0 = pc->TabRect(1).Left;
        const TRect first = pc->TabRect(0);
        const int pos0 = ud->Position();
        SendMessageW(ud->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
        SendMessageW(ud->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
        Pump(10);
        EXPECT_EQ(ud->Position(), pos0 + 1);
        EXPECT_EQ(pc->TabRect(1).Left, first.Left) << "the second tab stands where the first stood";
        EXPECT_LT(pc->TabRect(1).Left, left0);
        EXPECT_TRUE(noNative());
        // Wide enough for every tab: the scroller goes and the row starts at its first tab again.
        pc->SetBounds(8, 8, 1000, 120);
        Pump(10);
        EXPECT_EQ(pc->UpDown(), nullptr);
        EXPECT_EQ(pc->TabRect(0).Left, first.Left);
        EXPECT_TRUE(noNative());
        for (int i = 0; i < 9; ++i) {
            delete owned_.back();
            owned_.pop_back();
        }
    }
}

}  // namespace
