// The application button and menu and the menu pages on real windows of the shared skinned host: the built-in item
// layout, the scroll bar, presses and releases, Enter, hover rules, the Escape taken from the message chain only
// while the menu is open, Alt/F10 through the skinned form, the page width rule, the page's arrows and background.
#include "RibbonSupport.h"

#include "classlib/Forms.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinScrollBar.h"

namespace {

using namespace ribbontest;

class AppMenu : public RibbonFixture {
  protected:
    // A ribbon with Commands command items and Pages page items (pages first) in a menu.
    TbsAppMenu* Menu(TbsRibbon* R, int Pages, int Commands) {
        auto* m = new TbsAppMenu(host_->form);
        owned_.insert(owned_.begin(), m);  // freed after the ribbon
        m->SetParent(host_->form);
        R->SetAppMenu(m);
        for (int i = 0; i < Pages; ++i) {
            TbsAppMenuItem* it = m->Items()->Add();
            it->SetCaption(L"Страница " + std::to_wstring(i));
            it->SetPage(m->CreatePage());
        }
        for (int i = 0; i < Commands; ++i)
            m->Items()->Add()->SetCaption(L"Команда " + std::to_wstring(i));
        m->SetActivePage(nullptr);
        m->HandleNeeded();
        return m;
    }
    // The menu laid out at its size.
    void Layout(TbsAppMenu* M) {
        PaintInto(M->Width(), M->Height(), [M](HDC dc) { M->PaintTo(dc, 0, 0); });
    }
};

TEST_F(AppMenu, BuiltInItemLayout) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 2, 2);
    m->SetItemWidth(160);
    Layout(m);
    EXPECT_EQ(m->Items()->Items(0)->ItemRect, (TRect{0, 30, 160, 65})) << "the first page item at y 30";
    EXPECT_EQ(m->Items()->Items(1)->ItemRect.Top, 65 + 8);
    EXPECT_EQ(m->Items()->Items(2)->ItemRect, (TRect{8, 116, 152, 144})) << "28 high, from 8 to ItemWidth - 8";
    EXPECT_EQ(m->Items()->Items(3)->ItemRect.Height(), 28);
    m->SetItemWidth(50);
    EXPECT_EQ(m->ItemWidth(), 100);
}

TEST_F(AppMenu, TenCommandItemsNeedABarOnlyWhenTheyDoNotFit) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 0, 10);
    m->SetBounds(0, 120, 300, 200);
    m->UpdateScrollInfo();
    ASSERT_NE(m->ScrollBar(), nullptr);
    EXPECT_EQ(m->ScrollBar()->Min(), 0);
    EXPECT_EQ(m->ScrollBar()->Max(), 288);
    EXPECT_EQ(m->ScrollBar()->PageSize(), 200);
    m->ScrollBar()->SetPosition(40);
    EXPECT_EQ(m->ScrollOffset(), 40);
    Layout(m);
    EXPECT_EQ(m->Items()->Items(0)->ItemRect.Top, 7 - 40);
    m->SetBounds(0, 0, 300, 300);
    EXPECT_EQ(m->ScrollBar(), nullptr) << "everything fits at 300";
}

TEST_F(AppMenu, KeysScrollJustEnoughToShowTheSelectedItem) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 0, 40);
    m->SetBounds(0, 120, 300, 200);
    m->UpdateScrollInfo();
    ASSERT_NE(m->ScrollBar(), nullptr);
    for (int i = 0; i < 12; ++i) {
        m->SetItemIndex(i);
        Layout(m);
        const TRect rc = m->Items()->Items(i)->ItemRect;
        EXPECT_GE(rc.Top, 0) << i;
        EXPECT_LE(rc.Bottom, 200) << i;
    }
    EXPECT_EQ(m->ScrollOffset(), 7 + 12 * 28 - 200) << "the last one selected ends at the bottom";
    m->SetItemIndex(3);
    Layout(m);
    EXPECT_EQ(m->Items()->Items(3)->ItemRect.Top, 0) << "going back: it starts at the top";
}

TEST_F(AppMenu, PressesReleasesAndHover) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 0, 4);
    m->SetBounds(0, 30, 300, 200);
    int clicks = 0;
    for (int i = 0; i < 4; ++i)
        m->Items()->Items(i)->OnClick = [&](TObject*) { ++clicks; };
    m->Items()->Items(2)->SetEnabled(false);
    m->Items()->Items(3)->SetVisible(false);
    Layout(m);
    const TRect a = m->Items()->Items(0)->ItemRect, b = m->Items()->Items(1)->ItemRect;
    const TRect c = m->Items()->Items(2)->ItemRect;
    Mouse(m, WM_MOUSEMOVE, c.Left + 5, c.Top + 5);
    EXPECT_EQ(m->ItemActive(), -1) << "a disabled item is never hovered";
    EXPECT_FALSE(m->Items()->Items(2)->Active);
    Mouse(m, WM_LBUTTONDOWN, a.Left + 5, a.Top + 5, MK_LBUTTON);
    EXPECT_EQ(m->ItemIndex(), 0);
    Mouse(m, WM_LBUTTONUP, b.Left + 5, b.Top + 5);
    EXPECT_EQ(clicks, 0) << "a release over another command item runs nothing";
    Mouse(m, WM_LBUTTONDOWN, 250, 190, MK_LBUTTON);
    EXPECT_EQ(m->ItemIndex(), -1) << "a press on empty space";
    m->SetItemIndex(0);
    m->FindNextItem();
    EXPECT_EQ(m->ItemIndex(), 1);
    m->FindNextItem();
    EXPECT_EQ(m->ItemIndex(), 1) << "the disabled and the hidden items are skipped";
    m->FindLastItem();
    EXPECT_EQ(m->ItemIndex(), 1);
}

TEST_F(AppMenu, EnterClosesTheMenuThenRunsTheCommandWithTheRibbonAsSender) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 1, 2);
    host_->skinForm->SetSkinRibbon(r);
    ASSERT_TRUE(FocusOn(r));
    bool visibleAtClick = true;
    TObject* sender = nullptr;
    m->Items()->Items(2)->OnClick = [&](TObject* s) {
        sender = s;
        visibleAtClick = m->Visible();
    };
    r->ShowAppMenu();
    ASSERT_TRUE(m->Visible());
    EXPECT_EQ(m->ItemIndex(), 0) << "the first item";
    EXPECT_EQ(m->Top(), r->GetAppButton()->Top() + r->Top() + r->GetAppButton()->Height());
    EXPECT_EQ(m->Width(), host_->form->ClientWidth());
    EXPECT_TRUE(PumpUntil([m] { return GetFocus() == m->Handle(); }));
    PostKey(WM_KEYDOWN, VK_DOWN);
    PostKey(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(m->ItemIndex(), 2);
    PostKey(WM_KEYDOWN, VK_RETURN);
    EXPECT_FALSE(m->Visible());
    EXPECT_EQ(sender, r);
    EXPECT_FALSE(visibleAtClick) << "the menu closed first";
    EXPECT_FALSE(r->InAppHook());
}

TEST_F(AppMenu, EscapeIsTakenFromTheChainOnlyWhileTheMenuIsOpen) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 0, 2);
    host_->skinForm->SetSkinRibbon(r);
    ASSERT_TRUE(FocusOn(r));
    ASSERT_TRUE(PumpUntil([this] { return host_->skinForm->GetFormActive(); }));
    int earlier = 0;
    const int filter = Application->AddOnMessage([&](MSG& Msg, bool&) {
        if (Msg.message == WM_KEYDOWN)
            ++earlier;
    });
    int escapesSeen = 0;
    auto saved = m->WindowProc;
    m->WindowProc = [&](TMessage& Msg) {
        if (Msg.Msg == WM_KEYDOWN && Msg.WParam == VK_ESCAPE)
            ++escapesSeen;
        saved(Msg);
    };
    r->ShowAppMenu();
    ASSERT_TRUE(PumpUntil([m] { return GetFocus() == m->Handle(); }));
    EXPECT_TRUE(r->InAppHook());
    PostKey(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(earlier, 1) << "the earlier filter still gets the menu's other keys";
    EXPECT_EQ(m->ItemIndex(), 1);
    PostKey(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(m->Visible());
    EXPECT_EQ(escapesSeen, 0) << "the focused control never sees it";
    EXPECT_EQ(earlier, 1) << "nor the filters behind";
    EXPECT_FALSE(r->InAppHook());
    ASSERT_TRUE(FocusOn(m->Parent() ? static_cast<TWinControl*>(r) : r));
    PostKey(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(earlier, 2) << "the chain as before";
    Application->RemoveOnMessage(filter);
    m->WindowProc = saved;
}

TEST_F(AppMenu, AltOrF10ClosesTheMenuAndFocusesTheRibbon) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 1, 1);
    host_->skinForm->SetSkinRibbon(r);
    int closes = 0;
    r->OnMenuClose = [&](TObject*) { ++closes; };
    Mouse(r->GetAppButton(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    ASSERT_TRUE(m->Visible());
    EXPECT_TRUE(r->GetAppButton()->Down());
    SendMessageW(host_->form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_FALSE(m->Visible());
    EXPECT_FALSE(r->GetAppButton()->Down());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(PumpUntil([r] { return GetFocus() == r->Handle(); }));
}

TEST_F(AppMenu, TheAppButtonOpensAndClosesTheMenu) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 1, 1);
    TbsAppButton* b = r->GetAppButton();
    Mouse(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    Mouse(b, WM_LBUTTONUP, 5, 5);
    EXPECT_TRUE(m->Visible());
    Mouse(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    Mouse(b, WM_LBUTTONUP, 5, 5);
    EXPECT_FALSE(m->Visible());
    // A press on a tab closes it too.
    r->ShowAppMenu();
    Shot(r);
    const TRect t = r->Tabs()->Items(0)->ItemRect;
    Mouse(r, WM_LBUTTONDOWN, t.Left + 4, t.Top + 4, MK_LBUTTON);
    Mouse(r, WM_LBUTTONUP, t.Left + 4, t.Top + 4);
    EXPECT_FALSE(m->Visible());
}

TEST_F(AppMenu, KeysOnTheAppButtonOpenTheMenuOrGoBackToTheRibbon) {
    TbsRibbon* r = MakeRibbon({L"Главная", L"Вид"});
    TbsAppMenu* m = Menu(r, 1, 1);
    ASSERT_TRUE(FocusOn(r));
    PostKey(WM_KEYDOWN, VK_LEFT);
    ASSERT_EQ(GetFocus(), r->GetAppButton()->Handle()) << "Left on the first tab";
    PostKey(WM_KEYDOWN, VK_RIGHT);
    EXPECT_EQ(GetFocus(), r->Handle());
    PostKey(WM_KEYDOWN, VK_LEFT);
    PostKey(WM_KEYDOWN, VK_DOWN);
    EXPECT_TRUE(m->Visible());
    EXPECT_TRUE(r->InAppHook());
    r->HideAppMenu(nullptr);
    EXPECT_FALSE(r->GetAppButton()->MenuTracked());
}

TEST_F(AppMenu, TabOnAPageItemFocusesItsFirstControlElseMovesOn) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 2, 1);
    host_->skinForm->SetSkinRibbon(r);
    ASSERT_TRUE(FocusOn(r));
    auto* b = new TbsSkinButton(host_->form);
    TbsAppMenuPage* p = m->Items()->Items(0)->Page();
    b->SetParent(p);
    b->SetBounds(5, 5, 80, 24);
    p->SetFirstActiveControl(b);
    r->ShowAppMenu();
    ASSERT_TRUE(PumpUntil([m] { return GetFocus() == m->Handle(); }));
    PostKey(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), b->Handle());
    m->SetFocus();
    m->SetItemIndex(1);
    PostKey(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(m->ItemIndex(), 1) << "Enter on a page item without a first control does nothing";
    EXPECT_TRUE(m->Visible());
    PostKey(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(m->ItemIndex(), 2);
    r->HideAppMenu(nullptr);
    delete b;
    EXPECT_EQ(p->FirstActiveControl(), nullptr);
}

TEST_F(AppMenu, TheGripperResizesTheFormOnlyWithALinkedSizeableForm) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 0, 2);
    auto hit = [m](int X, int Y) {
        const TPoint p = m->ClientToScreen({X, Y});
        return SendMessageW(m->Handle(), WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(p.X), static_cast<WORD>(p.Y)));
    };
    r->ShowAppMenu();
    ASSERT_TRUE(m->Visible());
    EXPECT_FALSE(m->CanShowGripper()) << "no skinned form linked";
    EXPECT_EQ(hit(m->Width() - 3, m->Height() - 3), HTCLIENT);
    host_->skinForm->SetSkinRibbon(r);
    ASSERT_NE(host_->form->BorderStyle(), bsSingle);
    EXPECT_TRUE(m->CanShowGripper());
    EXPECT_EQ(hit(m->Width() - 3, m->Height() - 3), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(m->Width() - 12, m->Height() - 3), HTCLIENT) << "10 by 10 only";
    r->HideAppMenu(nullptr);
}

// ---- Menu pages -----------------------------------------------------------------------------------------------------
TEST_F(AppMenu, PageWidthFollowsDefaultWidthInThePageArea) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 1, 0);
    m->SetItemIndex(0);
    TbsAppMenuPage* p = m->Items()->Items(0)->Page();
    ASSERT_EQ(m->ActivePage(), p);
    m->SetBounds(0, 0, 625, 300);  // page area 625 - 100 - 25 = 500 wide
    p->SetDefaultWidth(300);
    EXPECT_EQ(p->Width(), 300);
    EXPECT_EQ(p->Left(), 100);
    EXPECT_EQ(p->Top(), 25);
    EXPECT_EQ(p->Height(), 250);
    m->SetBounds(0, 0, 375, 300);  // 250 wide
    EXPECT_EQ(p->Width(), 250);
    p->SetDefaultWidth(50);
    EXPECT_EQ(p->Width(), 100);
}

TEST_F(AppMenu, AScrollingPageMovesByItsClientHeightAndStopsAtTheEnd) {
    FakeSeam seam;
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 1, 0);
    m->SetItemIndex(0);
    TbsAppMenuPage* p = m->Items()->Items(0)->Page();
    m->SetBounds(0, 0, 400, 250);  // page 200 high
    auto* child = new TbsSkinButton(host_->form);
    child->SetParent(p);
    child->SetBounds(5, 380, 60, 20);
    p->FStopScroll = false;
    p->GetScrollInfo();
    EXPECT_FALSE(p->Scroller().Buttons[1].Visible) << "CanScroll is off";
    p->SetCanScroll(true);
    ASSERT_TRUE(p->Scroller().Buttons[1].Visible);
    EXPECT_EQ(p->ClientHeight(), 176);
    seam.under = p->Handle();
    RECT wr;
    GetWindowRect(p->Handle(), &wr);
    const LPARAM at = MAKELPARAM(static_cast<WORD>(wr.left + 30), static_cast<WORD>(wr.bottom - 4));
    auto click = [&] {
        const LRESULT hit = SendMessageW(p->Handle(), WM_NCHITTEST, 0, at);
        ASSERT_EQ(hit, 120);
        SendMessageW(p->Handle(), WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), at);
        SendMessageW(p->Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), at);
        const TPoint c = p->ScreenToClient({wr.left + 30, wr.bottom - 4});
        SendMessageW(p->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(c.X), static_cast<WORD>(c.Y)));
    };
    click();
    EXPECT_EQ(child->Top(), 380 - 176);
    click();
    EXPECT_EQ(child->Top(), 380 - 224) << "SMax - SPage + 1";
    EXPECT_EQ(p->Scroller().S.SPosition, 224);
}

TEST_F(AppMenu, APageIsWindowColouredWithoutMenuEntryElseTheEntrysClientPart) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 1, 0);
    TbsAppMenuPage* p = m->Items()->Items(0)->Page();
    auto erase = [p] {
        return PaintInto(20, 20,
                         [p](HDC dc) { SendMessageW(p->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); });
    };
    EXPECT_EQ(Px(erase().get(), 5, 5), Sys(COLOR_WINDOW));
    m->SetSkinData(host_->data);
    ASSERT_NE(m->MenuEntry(), nullptr);
    EXPECT_EQ(Px(erase().get(), 5, 5), Legend("appmenu.skinrect.client"));
}

TEST_F(AppMenu, SkinnedLookFromTheMenuEntry) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 2, 2);
    m->SetSkinData(host_->data);
    m->SetBounds(0, 0, 300, 240);
    m->SetItemIndex(1);
    EXPECT_EQ(m->GetPageBoundsRect(), (TRect{110, 25, 300 - 100 - 10 - 25, 240 - 50})) << "PageOffset 10";
    auto shot = PaintInto(300, 240, [m](HDC dc) { m->PaintTo(dc, 0, 0); });
    const TRect own = m->Items()->Items(1)->ItemRect;
    EXPECT_EQ(own.Height(), 30) << "the page item picture's height";
    EXPECT_EQ(Px(shot.get(), own.Left + 1, own.Top + 1), Legend("appmenu.pageitemactiverect"));
    const TRect other = m->Items()->Items(0)->ItemRect;
    const COLORREF column = static_cast<COLORREF>(host_->data->SkinColors()->cBtnShadow) & 0xFFFFFF;
    EXPECT_EQ(Px(shot.get(), other.Left + 1, other.Top + 1), column) << "not highlighted: the column";
    EXPECT_EQ(Px(shot.get(), 2, 235), column) << "no background picture: the skin's button shadow";
    const TRect page = m->GetPageRect();
    EXPECT_EQ(Px(shot.get(), page.Left - 2, page.Top + 10), Legend("appmenu.skinrect.left")) << "the page frame";
    m->SetItemIndex(2);
    shot = PaintInto(300, 240, [m](HDC dc) { m->PaintTo(dc, 0, 0); });
    const TRect cmd = m->Items()->Items(2)->ItemRect;
    EXPECT_EQ(cmd.Height(), 24);
    EXPECT_EQ(Px(shot.get(), cmd.Left + 1, cmd.Top + 1), Legend("appmenu.itemrect")) << "the selected command";
}

TEST_F(AppMenu, TheOpenMenuDrawsItsCaptionIntoTheFormsTitle) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 1, 1);
    m->SetSkinData(host_->data);
    host_->skinForm->SetSkinRibbon(r);
    EXPECT_FALSE(host_->skinForm->CanDrawAppMenuCaption()) << "the menu is closed";
    RECT wr;
    GetWindowRect(host_->form->Handle(), &wr);
    // The caption part lands in (6, 2) .. (106, band bottom) under the caption objects.
    auto captionPixels = [&] {
        auto frame =
            PaintInto(wr.right - wr.left, wr.bottom - wr.top, [this](HDC dc) { host_->skinForm->PaintNCSkin(dc); });
        return CountColour(frame.get(), {0, 0, 120, 20}, Legend("appmenu.captionrect"));
    };
    EXPECT_EQ(captionPixels(), 0);
    r->ShowAppMenu();
    ASSERT_TRUE(host_->skinForm->CanDrawAppMenuCaption());
    EXPECT_EQ(host_->skinForm->GetAppMenuCaptionOffset(), 100 + 6);
    EXPECT_GT(captionPixels(), 200);
    auto frame =
        PaintInto(wr.right - wr.left, wr.bottom - wr.top, [this](HDC dc) { host_->skinForm->PaintNCSkin(dc); });
    EXPECT_NE(Px(frame.get(), 5, 10), Legend("appmenu.captionrect")) << "moved right by CaptionLeftOffset";
    EXPECT_NE(Px(frame.get(), 107, 10), Legend("appmenu.captionrect")) << "as wide as the item column";
    r->HideAppMenu(nullptr);
    EXPECT_FALSE(host_->skinForm->CanDrawAppMenuCaption());
    EXPECT_EQ(captionPixels(), 0);
}

TEST_F(AppMenu, BuiltInLookMarksTheActivePageItem) {
    TbsRibbon* r = MakeRibbon({L"Главная"});
    TbsAppMenu* m = Menu(r, 2, 1);
    m->SetBounds(0, 0, 300, 200);
    m->SetItemIndex(1);
    auto shot = PaintInto(300, 200, [m](HDC dc) { m->PaintTo(dc, 0, 0); });
    const TRect a = m->Items()->Items(1)->ItemRect;
    EXPECT_EQ(Px(shot.get(), a.Left + 2, a.Top + 2), Sys(COLOR_BTNFACE)) << "the active page's item";
    const TRect o = m->Items()->Items(0)->ItemRect;
    EXPECT_EQ(Px(shot.get(), o.Left + 2, o.Top + 2), Sys(COLOR_BTNSHADOW)) << "another page item";
    EXPECT_EQ(Px(shot.get(), 150, 190), Sys(COLOR_BTNSHADOW));
}

}  // namespace
