// The ribbon on real windows of the shared skinned host: layout, painting (pixels through PaintTo, the colour-coded
// fixture's "officetab"), tab selection by mouse and keys, pages made at run time, the MDI buttons, the skinned
// form's calls (Alt/F10, Alt with an accelerator), and the ribbon page host's arrows on the seam's fake clock.
#include "RibbonSupport.h"

#include "classlib/ImgList.h"
#include "skin/controls/SkinButton.h"
#include "skin/form/SkinPopupMenu.h"

namespace {

using namespace ribbontest;

class Ribbon : public RibbonFixture {};

TEST_F(Ribbon, AppButtonWidthBelow35IsIgnoredAndMovesTheFirstTab) {
    TbsRibbon* r = MakeRibbon({L"Главная", L"Вставка"});
    Shot(r);
    EXPECT_EQ(r->Tabs()->Items(0)->ItemRect.Left, 57) << "54 + 3";
    r->SetAppButtonWidth(30);
    EXPECT_EQ(r->AppButtonWidth(), 54);
    EXPECT_EQ(r->GetAppButton()->Width(), 54);
    r->SetAppButtonWidth(80);
    Shot(r);
    EXPECT_EQ(r->GetAppButton()->Width(), 80);
    EXPECT_EQ(r->Tabs()->Items(0)->ItemRect.Left, 83);
    EXPECT_EQ(r->Tabs()->Items(1)->ItemRect.Left, r->Tabs()->Items(0)->ItemRect.Right);
}

TEST_F(Ribbon, ButtonsNeedAnImageListAndTakeTheirRoomAtTheRight) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    r->Buttons()->Add()->SetImageIndex(0);
    r->Buttons()->Add()->SetCaption(L"Справка");
    Shot(r);
    EXPECT_EQ(r->RightOffset(), 5) << "no image list: no buttons";
    EXPECT_TRUE(r->Buttons()->Items(0)->ItemRect.IsEmpty());
    TImageList images(nullptr, 16, 16);
    r->SetButtonsImageList(&images);
    Shot(r);
    const TRect last = r->Buttons()->Items(1)->ItemRect;
    EXPECT_EQ(last.Right, r->Width() - 2);
    EXPECT_GT(last.Width(), 22 + 6) << "the caption widens it";
    EXPECT_EQ(r->Buttons()->Items(0)->ItemRect.Right, last.Left);
    EXPECT_EQ(r->RightOffset(), r->Width() - r->Buttons()->Items(0)->ItemRect.Left + 2);
    r->SetButtonsImageList(nullptr);
}

TEST_F(Ribbon, BuiltInPageBoundsAndLook) {
    TbsRibbon* r = MakeRibbon({L"Главная", L"Вставка"});
    const TRect b = r->GetPageBoundsRect();
    EXPECT_EQ(b, (TRect{1, 26, r->Width() - 2, r->Height() - 29}));
    TbsRibbonPage* p = r->Tabs()->Items(0)->Page();
    EXPECT_EQ(p->Left(), 1);
    EXPECT_EQ(p->Top(), 26);
    EXPECT_EQ(p->Width(), r->Width() - 2);
    auto shot = Shot(r);
    const TRect sel = r->Tabs()->Items(0)->ItemRect;
    EXPECT_EQ(Px(shot.get(), sel.Left + 1, sel.Top + 1), Sys(COLOR_BTNFACE)) << "the selected tab";
    EXPECT_EQ(Px(shot.get(), r->Width() - 3, 3), Sys(COLOR_BTNSHADOW)) << "the row";
    EXPECT_EQ(Px(shot.get(), 3, r->Height() - 2), Sys(COLOR_BTNSHADOW)) << "the page area's edge";
}

TEST_F(Ribbon, SkinnedLookComesFromTheTabEntry) {
    TbsRibbon* r = MakeRibbon({L"Главная", L"Вставка"}, true);
    ASSERT_NE(r->TabEntry(), nullptr);
    EXPECT_EQ(r->RibbonTopHeight(), 21);
    EXPECT_EQ(r->GetPageBoundsRect(), (TRect{4, 25, r->Width() - 8, r->Height() - 29}));
    auto shot = Shot(r);
    const TRect sel = r->Tabs()->Items(0)->ItemRect;
    EXPECT_EQ(Px(shot.get(), sel.Left + 1, sel.Top + 1), Legend("tab.activetabrect"));
    EXPECT_EQ(Px(shot.get(), r->Width() - 3, 3), Legend("tab.tabsbgrect")) << "the row's background";
    EXPECT_EQ(Px(shot.get(), 1, r->Height() - 1), Legend("tab.skinrect.lb")) << "the frame's corner";
}

TEST_F(Ribbon, AnEntryWhosePictureIsMissingGivesTheBuiltInLook) {
    host_->data->LoadFromFile(FixtureVariant(L"ribbonpic", [](std::string& s) {
        const size_t at = s.find("[officetab]");
        ASSERT_NE(at, std::string::npos);
        std::string tail = s.substr(at);
        ReplaceValue(tail, "pictureindex", "99");
        s = s.substr(0, at) + tail;
    }));
    TbsRibbon* r = MakeRibbon({L"Главная"}, true);
    EXPECT_EQ(r->TabEntry(), nullptr);
    EXPECT_EQ(r->RibbonTopHeight(), 24);
    auto shot = Shot(r);
    EXPECT_EQ(Px(shot.get(), r->Width() - 3, 3), Sys(COLOR_BTNSHADOW));
}

TEST_F(Ribbon, OneEraseAndPaintPairPaintsOnce) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    Pump(30);
    const int before = r->PaintCount();
    InvalidateRect(r->Handle(), nullptr, TRUE);
    UpdateWindow(r->Handle());
    EXPECT_EQ(r->PaintCount(), before + 1);
}

TEST_F(Ribbon, HidingTheSelectedTabPassesTheSelectionRightElseLeft) {
    TbsRibbon* r = MakeRibbon({L"Один", L"Два", L"Три"});
    r->SetTabIndex(1);
    r->Tabs()->Items(1)->SetVisible(false);
    EXPECT_EQ(r->TabIndex(), 2);
    EXPECT_FALSE(r->Tabs()->Items(1)->Page()->Visible());
    EXPECT_TRUE(r->Tabs()->Items(2)->Page()->Visible());
    r->Tabs()->Items(2)->SetVisible(false);
    EXPECT_EQ(r->TabIndex(), 0) << "nothing to the right: the left";
    r->SetTabIndex(7);
    EXPECT_EQ(r->TabIndex(), 0) << "out of range: ignored";
}

TEST_F(Ribbon, DeletingTheSelectedTabSelectsItsNeighbourAndShowsItsPage) {
    TbsRibbon* r = MakeRibbon({L"Один", L"Два", L"Три"});
    TbsRibbonPage* second = r->Tabs()->Items(1)->Page();
    TbsRibbonPage* third = r->Tabs()->Items(2)->Page();
    r->Tabs()->Delete(0);
    EXPECT_EQ(r->TabIndex(), 0);
    EXPECT_EQ(r->ActivePage(), second);
    EXPECT_TRUE(second->Visible());
    r->SetTabIndex(1);
    r->Tabs()->Delete(0);
    EXPECT_EQ(r->ActivePage(), third) << "a tab before the selected one: the selection stays";
    r->Tabs()->Delete(0);
    EXPECT_EQ(r->TabIndex(), -1);
    EXPECT_EQ(r->ActivePage(), nullptr);
}

TEST_F(Ribbon, KeysSelectTabsAndLeftOnTheFirstFocusesTheAppButton) {
    TbsRibbon* r = MakeRibbon({L"Один", L"Два", L"Три"});
    ASSERT_TRUE(FocusOn(r));
    PostKey(WM_KEYDOWN, VK_NEXT);
    EXPECT_EQ(r->TabIndex(), 2);
    PostKey(WM_KEYDOWN, VK_LEFT);
    EXPECT_EQ(r->TabIndex(), 1);
    PostKey(WM_KEYDOWN, VK_PRIOR);
    EXPECT_EQ(r->TabIndex(), 0);
    PostKey(WM_KEYDOWN, VK_RIGHT);
    EXPECT_EQ(r->TabIndex(), 1);
    PostKey(WM_KEYDOWN, VK_UP);
    PostKey(WM_KEYDOWN, VK_LEFT);
    EXPECT_EQ(r->TabIndex(), 0);
    EXPECT_EQ(GetFocus(), r->GetAppButton()->Handle());
}

TEST_F(Ribbon, TheWheelTurnsThePagesWhileFocused) {
    TbsRibbon* r = MakeRibbon({L"Один", L"Два", L"Три"});
    SendMessageW(r->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(r->TabIndex(), 0) << "not focused";
    ASSERT_TRUE(FocusOn(r));
    SendMessageW(r->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(r->TabIndex(), 1);
    SendMessageW(r->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    SendMessageW(r->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(r->TabIndex(), 0);
    EXPECT_EQ(GetFocus(), r->Handle()) << "the wheel never moves to the application button";
}

TEST_F(Ribbon, AClickOnATabSelectsIt) {
    TbsRibbon* r = MakeRibbon({L"Один", L"Два"});
    int changes = 0;
    r->OnChangePage = [&](TObject* s) {
        EXPECT_EQ(s, r);
        ++changes;
    };
    Shot(r);
    const TRect t = r->Tabs()->Items(1)->ItemRect;
    Mouse(r, WM_LBUTTONDOWN, t.Left + 5, t.Top + 5, MK_LBUTTON);
    Mouse(r, WM_LBUTTONUP, t.Left + 5, t.Top + 5);
    EXPECT_EQ(r->TabIndex(), 1);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(r->Tabs()->Items(1)->Page()->Visible());
    EXPECT_FALSE(r->Tabs()->Items(0)->Page()->Visible());
}

TEST_F(Ribbon, TabsAddedAtRunTimeGetNumberedPagesAndTheSelection) {
    TbsRibbon* r = MakeRibbon({});
    EXPECT_EQ(r->TabIndex(), -1);
    TbsRibbonTab* a = r->Tabs()->Add();
    ASSERT_NE(a->Page(), nullptr);
    EXPECT_EQ(a->Page()->Name(), L"bsRibbonPage1");
    EXPECT_EQ(a->Page()->Caption(), L"bsRibbonPage1");
    EXPECT_EQ(r->TabIndex(), 0);
    TbsRibbonTab* b = r->Tabs()->Add();
    EXPECT_EQ(b->Page()->Name(), L"bsRibbonPage2");
    EXPECT_EQ(r->TabIndex(), 1);
    EXPECT_EQ(b->Page()->Parent(), r);
    EXPECT_EQ(b->Page()->Owner(), host_->form);
    r->Tabs()->Delete(1);
    EXPECT_EQ(host_->form->FindComponent(L"bsRibbonPage2"), nullptr) << "the page goes with its tab";
    EXPECT_EQ(r->TabIndex(), 0);
    EXPECT_EQ(r->Tabs()->Add()->Page()->Name(), L"bsRibbonPage2") << "the free number again";
}

TEST_F(Ribbon, AButtonClickRunsItsHandlerWithTheRibbonAsSender) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TImageList images(nullptr, 16, 16);
    r->SetButtonsImageList(&images);
    TObject* sender = nullptr;
    TbsRibbonButtonItem* b = r->Buttons()->Add();
    b->OnClick = [&](TObject* s) { sender = s; };
    Shot(r);
    const TRect rc = b->ItemRect;
    Mouse(r, WM_MOUSEMOVE, rc.Left + 3, rc.Top + 3);
    Mouse(r, WM_LBUTTONDOWN, rc.Left + 3, rc.Top + 3, MK_LBUTTON);
    EXPECT_TRUE(b->Down);
    Mouse(r, WM_LBUTTONUP, rc.Left + 3, rc.Top + 3);
    EXPECT_EQ(sender, r);
    EXPECT_FALSE(b->Down);
    // Disabled: never hovered, never clicked.
    sender = nullptr;
    b->SetEnabled(false);
    Mouse(r, WM_MOUSEMOVE, rc.Left + 4, rc.Top + 4);
    EXPECT_EQ(r->ActiveButton(), -1);
    Mouse(r, WM_LBUTTONDOWN, rc.Left + 3, rc.Top + 3, MK_LBUTTON);
    Mouse(r, WM_LBUTTONUP, rc.Left + 3, rc.Top + 3);
    EXPECT_EQ(sender, nullptr);
    r->SetButtonsImageList(nullptr);
}

// Records where it is asked to drop instead of opening.
struct RecordingMenu : TbsSkinPopupMenu {
    explicit RecordingMenu(TComponent* owner) : TbsSkinPopupMenu(owner) {}
    void PopupFromRect2(TControl* ACtrl, const TRect& R, bool) override {
        ctrl = ACtrl;
        rect = R;
        ++drops;
    }
    TControl* ctrl = nullptr;
    TRect rect{};
    int drops = 0;
};

TEST_F(Ribbon, AButtonWithAMenuDropsItBelowAndStaysPressedUntil1228) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TImageList images(nullptr, 16, 16);
    r->SetButtonsImageList(&images);
    RecordingMenu menu(nullptr);
    TbsRibbonButtonItem* b = r->Buttons()->Add();
    b->SetPopupMenu(&menu);
    int closes = 0;
    r->OnMenuClose = [&](TObject*) { ++closes; };
    Shot(r);
    const TRect rc = b->ItemRect;
    EXPECT_EQ(rc.Width(), 22 + 8) << "the popup's arrow widens it";
    Mouse(r, WM_MOUSEMOVE, rc.Left + 3, rc.Top + 3);
    Mouse(r, WM_LBUTTONDOWN, rc.Left + 3, rc.Top + 3, MK_LBUTTON);
    ASSERT_EQ(menu.drops, 1);
    EXPECT_EQ(menu.ctrl, r);
    const TPoint at = r->ClientToScreen({rc.Left, rc.Top});
    EXPECT_EQ(menu.rect, (TRect{at.X, at.Y, at.X + rc.Width(), at.Y + rc.Height() + 1}));
    Mouse(r, WM_LBUTTONUP, rc.Left + 3, rc.Top + 3);
    EXPECT_TRUE(b->Down) << "pressed while its menu is open";
    SendMessageW(r->Handle(), WM_CLOSESKINMENU, 0, 0);
    EXPECT_FALSE(b->Down);
    EXPECT_EQ(closes, 1);
    b->SetPopupMenu(nullptr);
    r->SetButtonsImageList(nullptr);
}

TEST_F(Ribbon, MDIButtonsComeAndGoAndDoNothingWithoutAMaximisedChild) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    Shot(r);
    const int plain = r->Tabs()->Items(0)->ItemRect.Right;
    r->MDIChildMaximize();
    ASSERT_EQ(r->MDIButtons()->Count(), 3);
    r->MDIChildMaximize();
    EXPECT_EQ(r->MDIButtons()->Count(), 3) << "once only";
    Shot(r);
    EXPECT_EQ(r->MDIButtons()->Items(0)->Code, 1);
    EXPECT_EQ(r->MDIButtons()->Items(0)->ItemRect, (TRect{r->Width() - 5 - 22, 1, r->Width() - 5, 23}))
        << "close at the right end";
    EXPECT_EQ(r->MDIButtons()->Items(2)->ItemRect.Right, r->MDIButtons()->Items(1)->ItemRect.Left);
    EXPECT_EQ(r->RightOffset(), 5 + 66 + 2);
    EXPECT_EQ(r->Tabs()->Items(0)->ItemRect.Right, plain) << "a short tab keeps its width";
    const TRect c = r->MDIButtons()->Items(0)->ItemRect;
    Mouse(r, WM_LBUTTONDOWN, c.Left + 5, c.Top + 5, MK_LBUTTON);
    Mouse(r, WM_LBUTTONUP, c.Left + 5, c.Top + 5);
    EXPECT_EQ(r->MDIButtons()->Count(), 3) << "no child to close";
    EXPECT_TRUE(IsWindowVisible(host_->form->Handle()));
    r->MDIChildRestore();
    EXPECT_EQ(r->MDIButtons()->Count(), 0);
}

TEST_F(Ribbon, AltWithATabsAcceleratorSelectsIt) {
    TbsRibbon* r = MakeRibbon({L"&Главная", L"&Insert", L"&Вид"});
    host_->skinForm->SetSkinRibbon(r);
    EXPECT_EQ(r->SkinForm(), host_->skinForm);
    ASSERT_TRUE(FocusOn(r));
    PostMessageW(GetFocus(), WM_SYSKEYDOWN, 'I', 0x20000001);
    Pump(20);
    EXPECT_EQ(r->TabIndex(), 1);
    PostMessageW(GetFocus(), WM_SYSKEYDOWN, 'Q', 0x20000001);
    Pump(20);
    EXPECT_EQ(r->TabIndex(), 1) << "no tab has Q";
    PostMessageW(GetFocus(), WM_KEYDOWN, 'I', 1);
    Pump(20);
    r->SetTabIndex(0);
    PostMessageW(GetFocus(), WM_KEYDOWN, 'I', 1);
    Pump(20);
    EXPECT_EQ(r->TabIndex(), 0) << "without Alt nothing";
}

// ---- The page host --------------------------------------------------------------------------------------------------
class RibbonPages : public RibbonFixture {
  protected:
    // A page alone on the host (no ribbon: its own bounds), 300 x 60, with a button reaching to End.
    TbsRibbonPage* Page(int End) {
        auto* p = new TbsRibbonPage(host_->form);
        owned_.push_back(p);
        p->SetParent(host_->form);
        p->SetBounds(10, 150, 300, 60);
        child_ = new TbsSkinButton(host_->form);
        child_->SetParent(p);
        child_->SetBounds(End - 40, 5, 40, 20);
        p->UpDateSize();
        return p;
    }
    static TPoint Screen(TWinControl* C, int X, int Y) {
        RECT r;
        GetWindowRect(C->Handle(), &r);
        return {r.left + X, r.top + Y};
    }
    static LPARAM Pt(TPoint P) { return MAKELPARAM(static_cast<WORD>(P.X), static_cast<WORD>(P.Y)); }
    static LRESULT Press(TWinControl* C, int X, int Y) {
        const TPoint p = Screen(C, X, Y);
        const LRESULT hit = SendMessageW(C->Handle(), WM_NCHITTEST, 0, Pt(p));
        SendMessageW(C->Handle(), WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), Pt(p));
        SendMessageW(C->Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), Pt(p));
        return hit;
    }
    static void Release(TWinControl* C, int X, int Y) {
        const TPoint p = C->ScreenToClient(Screen(C, X, Y));
        SendMessageW(
            C->Handle(), WM_LBUTTONUP, 0,
            MAKELPARAM(static_cast<WORD>(static_cast<short>(p.X)), static_cast<WORD>(static_cast<short>(p.Y))));
    }
    TbsSkinButton* child_ = nullptr;
};

TEST_F(RibbonPages, ChildrenThatFitShowNoArrows) {
    TbsRibbonPage* p = Page(280);
    EXPECT_FALSE(p->Scroller().Buttons[0].Visible);
    EXPECT_FALSE(p->Scroller().Buttons[1].Visible);
    EXPECT_EQ(p->ClientWidth(), 300);
}

TEST_F(RibbonPages, OneClickStopsAtTheEndAndDisablesTheRightArrow) {
    FakeSeam seam;
    TbsRibbonPage* p = Page(400);
    seam.under = p->Handle();
    ASSERT_TRUE(p->Scroller().Buttons[1].Visible);
    EXPECT_EQ(p->ClientWidth(), 276);
    EXPECT_EQ(p->Scroller().S.SMax, 399);
    EXPECT_EQ(p->Scroller().S.SPage, 276);
    EXPECT_EQ(Press(p, 294, 30), 120);
    Release(p, 294, 30);
    EXPECT_EQ(p->Scroller().S.SPosition, 124);
    EXPECT_EQ(child_->Left(), 360 - 124);
    auto shot = PaintInto(300, 60, [p](HDC dc) {
        EXPECT_EQ(SendMessageW(p->Handle(), CM_SENCPAINT, reinterpret_cast<WPARAM>(dc), 0), 12851);
    });
    EXPECT_FALSE(p->Scroller().Buttons[1].Enabled);
    EXPECT_TRUE(p->Scroller().Buttons[0].Enabled);
    Press(p, 294, 30);
    Release(p, 294, 30);
    EXPECT_EQ(p->Scroller().S.SPosition, 124) << "a disabled arrow does nothing";
}

TEST_F(RibbonPages, HoldingRepeatsAfter300MsPlusAnIntervalAndOnceMoreOnRelease) {
    FakeSeam seam;
    TbsRibbonPage* p = Page(1000);
    seam.under = p->Handle();
    p->SetScrollOffset(20);
    p->SetScrollTimerInterval(40);
    ASSERT_EQ(Press(p, 294, 30), 120);
    seam.Advance(339);
    EXPECT_EQ(p->Scroller().S.SPosition, 0);
    seam.Advance(1);
    EXPECT_EQ(p->Scroller().S.SPosition, 20) << "300 + 40";
    seam.Advance(80);
    EXPECT_EQ(p->Scroller().S.SPosition, 60) << "then every 40";
    Release(p, 294, 30);
    EXPECT_EQ(p->Scroller().S.SPosition, 80) << "one more over the button";
    seam.Advance(200);
    EXPECT_EQ(p->Scroller().S.SPosition, 80);
}

TEST_F(RibbonPages, WideningWhileScrolledBringsTheHiddenPartBack) {
    FakeSeam seam;
    TbsRibbonPage* p = Page(400);
    seam.under = p->Handle();
    Press(p, 294, 30);
    Release(p, 294, 30);
    ASSERT_EQ(p->Scroller().S.SPosition, 124);
    p->SetBounds(10, 150, 350, 60);
    EXPECT_EQ(p->Scroller().S.SPosition, 74);
    EXPECT_EQ(child_->Left(), 360 - 74);
    p->SetBounds(10, 150, 420, 60);
    EXPECT_EQ(p->Scroller().S.SPosition, 4) << "the arrows still take 24 of 420";
    p->SetBounds(10, 150, 430, 60);
    EXPECT_EQ(p->Scroller().S.SPosition, 0);
    EXPECT_EQ(child_->Left(), 360);
    EXPECT_FALSE(p->Scroller().Buttons[1].Visible);
}

TEST_F(RibbonPages, ZeroIntervalAndNegativeOffsetAreIgnored) {
    TbsRibbonPage* p = Page(100);
    p->SetScrollTimerInterval(0);
    EXPECT_EQ(p->ScrollTimerInterval(), 50);
    p->SetScrollOffset(-1);
    EXPECT_EQ(p->ScrollOffset(), 0);
    p->SetScrollOffset(30);
    EXPECT_EQ(p->ScrollOffset(), 30);
}

TEST_F(RibbonPages, ThePageBackgroundFollowsTheRibbon) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsRibbonPage* p = r->Tabs()->Items(0)->Page();
    auto plain =
        PaintInto(20, 20, [p](HDC dc) { SendMessageW(p->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); });
    EXPECT_EQ(Px(plain.get(), 5, 5), Sys(COLOR_BTNFACE));
    r->SetSkinData(host_->data);
    auto skinned =
        PaintInto(20, 20, [p](HDC dc) { SendMessageW(p->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); });
    EXPECT_EQ(Px(skinned.get(), 5, 5), Legend("tab.skinrect.client")) << "the frame picture's client part";
}

}  // namespace
