// The alert window component on real windows under Wine: placement, opacity read back from the layered window,
// the fade threads, events in order, deletion, styles, the registry position.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "alert/MsgAlertWindow.h"
#include "classlib/Forms.h"
#include "classlib/WindowTestUtil.h"

namespace {

BYTE ReadAlpha(HWND wnd) {
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    if (!GetLayeredWindowAttributes(wnd, &key, &alpha, &flags))
        return 0;
    return alpha;
}

TRect WorkAreaOf(HWND wnd) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &mi);
    return {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
}

class AlertComponent : public ::testing::Test {
  protected:
    void SetUp() override {
        form.reset(new TForm(nullptr));
        form->SetBounds(100, 100, 200, 100);
        form->Show();
        alert = new TMsgAlertWindow(form.get());
        alert->FadeTime = 2;  // quick fades for the tests
    }
    void TearDown() override { form.reset(); }

    TMsgCollectionItem* Add(const std::wstring& text) {
        TMsgCollectionItem* item = alert->AlertMessages()->Add();
        item->SetTextString(text);
        item->Tag = alert->AlertMessages()->Count() - 1;
        return item;
    }
    void Record() {
        alert->OnCanDeleteMessage = [this](TObject*, int i, bool&) { log.push_back("CanDelete " + std::to_string(i)); };
        alert->OnDeleteMessage = [this](TObject*, int i) { log.push_back("Delete " + std::to_string(i)); };
        alert->OnCanClose = [this](TObject*, bool&) { log.push_back("CanClose"); };
        alert->OnClose = [this](TObject*) { log.push_back("Close"); };
    }
    bool WaitFade() {
        return PumpUntil([this] { return !alert->IsFading(); }, 5000);
    }

    std::unique_ptr<TForm> form;
    TMsgAlertWindow* alert = nullptr;  // owned by the form
    std::vector<std::string> log;
};

TEST_F(AlertComponent, EmptyCollectionShowsNoWindow) {
    alert->Show();
    EXPECT_FALSE(alert->IsVisible());
    EXPECT_EQ(alert->Handle(), nullptr);
    EXPECT_EQ(alert->ActiveMessage(), -1);
}

TEST_F(AlertComponent, DefaultsLandRightBottomAndFadeToAlphaEnd) {
    Add(L"Hello <b>there</b>");
    alert->Show();
    ASSERT_TRUE(alert->IsVisible());
    ASSERT_TRUE(WaitFade());
    RECT r;
    GetWindowRect(alert->Handle(), &r);
    const TRect work = WorkAreaOf(form->Handle());
    EXPECT_EQ(r.left, work.Right - 300 - 0 - 2);
    EXPECT_EQ(r.top, work.Bottom - 100 - 0);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 100);
    EXPECT_EQ(ReadAlpha(alert->Handle()), 180);
    EXPECT_TRUE(GetWindowLongPtrW(alert->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetForegroundWindow() == alert->Handle(), false);  // never activated
}

TEST_F(AlertComponent, EqualAlphasShowAtOnceAndStay) {
    alert->AlphaStart = 200;
    alert->AlphaEnd = 200;
    alert->SetAutoHide(false);
    alert->SetDisplayTime(50);
    Add(L"x");
    alert->Show();
    EXPECT_FALSE(alert->IsFading());
    EXPECT_EQ(ReadAlpha(alert->Handle()), 200);
    Pump(400);
    EXPECT_TRUE(alert->IsVisible());
    EXPECT_EQ(ReadAlpha(alert->Handle()), 200);
}

TEST_F(AlertComponent, AutoHideFadesOutAndRaisesHideMessage) {
    std::atomic<int> hides{0};
    alert->OnHideMessage = [&](TObject*) { ++hides; };
    bool autoHidden = false;
    alert->OnAutoHide = [&](TObject*) { autoHidden = true; };
    alert->SetDisplayTime(200);
    Add(L"x");
    alert->Show();
    ASSERT_TRUE(PumpUntil([&] { return autoHidden && !alert->IsFading() && !alert->IsVisible(); }, 8000));
    EXPECT_EQ(hides.load(), 1);
}

TEST_F(AlertComponent, ShowDuringFadeOutKeepsThePopup) {
    alert->SetAutoHide(false);
    alert->FadeTime = 20;
    alert->FadeStep = 20;
    Add(L"x");
    alert->Show();
    ASSERT_TRUE(WaitFade());
    alert->Hide();
    Pump(30);
    ASSERT_TRUE(alert->IsFading());
    alert->Show();  // the interrupted fade-out must not hide the popup when it ends
    ASSERT_TRUE(WaitFade());
    Pump(200);
    EXPECT_TRUE(alert->IsVisible());
    EXPECT_EQ(ReadAlpha(alert->Handle()), 180);
}

TEST_F(AlertComponent, FadeStepZeroCountsAsOne) {
    alert->FadeStep = 0;
    alert->FadeTime = 1;
    alert->AlphaEnd = 12;
    Add(L"x");
    alert->Show();
    ASSERT_TRUE(WaitFade());
    EXPECT_EQ(ReadAlpha(alert->Handle()), 12);
}

TEST_F(AlertComponent, DestroyedWhileFadingJoinsTheThread) {
    alert->FadeTime = 30;
    Add(L"x");
    alert->Show();
    ASSERT_TRUE(alert->IsFading());
    form.reset();  // frees the component under a running fade
    SUCCEED();
}

TEST_F(AlertComponent, MouseOverMakesOpaqueAndLeaveRestoresAlphaEnd) {
    alert->SetAutoHide(false);
    Add(L"x");
    alert->Show();
    ASSERT_TRUE(WaitFade());
    TAlertWindow* w = alert->AlertWindow();
    SendMessageW(w->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(ReadAlpha(w->Handle()), 255);
    w->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(ReadAlpha(w->Handle()), 180);
}

TEST_F(AlertComponent, LinkPressRaisesAnchorClickThenReleaseAlertClick) {
    std::vector<std::string> events;
    std::wstring anchor;
    TMsgCollectionItem* seen = nullptr;
    alert->OnAnchorClick = [&](TObject*, const std::wstring& a, TMsgCollectionItem* item) {
        events.push_back("Anchor");
        anchor = a;
        seen = item;
    };
    alert->OnAlertClick = [&](TObject*) { events.push_back("AlertClick"); };
    alert->SetAutoHide(false);
    TMsgCollectionItem* item = Add(L"<a href=\"http://127.0.0.1/letter\">OPEN</a>");
    alert->Show();
    TAlertWindow* w = alert->AlertWindow();
    const TRect t = w->MessageRect();
    const int x = t.Left + 3, y = t.Top + 5;
    SendMessageW(w->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    EXPECT_EQ(events, (std::vector<std::string>{"Anchor"}));
    SendMessageW(w->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    EXPECT_EQ(events, (std::vector<std::string>{"Anchor", "AlertClick"}));
    EXPECT_EQ(anchor, L"http://127.0.0.1/letter");
    EXPECT_EQ(seen, item);
}

TEST_F(AlertComponent, AutoSizeDoesNotWrapWithoutMaxWidth) {
    alert->AutoSize = true;
    alert->SetAutoHide(false);
    std::wstring longLine;
    for (int i = 0; i < 40; ++i)
        longLine += L"word ";
    Add(longLine);
    alert->Show();
    TAlertWindow* w = alert->AlertWindow();
    EXPECT_GT(w->Width(), 600);
    EXPECT_LE(w->MessageHeight(0), 2 * 20);  // one line
    alert->MaxWidth = 250;
    alert->Hide();
    ASSERT_TRUE(WaitFade());
    alert->Show();
    EXPECT_EQ(w->Width(), 250);
}

// The last glyph of a line keeps every pixel it inks: around the final period the popup shows the same ink as the
// text drawn whole (unclipped) in the popup's font.
TEST_F(AlertComponent, TheLineKeepsItsFinalPeriod) {
    const std::wstring text = L"Room 4 and the usual link.";
    alert->SetAutoHide(false);
    alert->PopupWidth = 400;
    Add(text);
    alert->Show();
    ASSERT_TRUE(WaitFade());
    TAlertWindow* w = alert->AlertWindow();
    ASSERT_NE(w, nullptr);
    RedrawWindow(w->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const TRect t = w->MessageRect();
    // The reference: the text on white in black, at the top left of a band one text line high.
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, t.Width(), 60);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    HGDIOBJ oldFont = SelectObject(mem, w->Font()->Handle());
    RECT all{0, 0, t.Width(), 60};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    auto measure = [&](const std::wstring& s) {
        RECT r{0, 0, 0, 0};
        std::wstring buf = s;
        DrawTextExW(mem, buf.data(), static_cast<int>(buf.size()), &r, DT_CALCRECT | DT_SINGLELINE, nullptr);
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    const SIZE whole = measure(text), gh = measure(L"gh"), period = measure(L".");
    ASSERT_LT(whole.cx + 4, t.Width());
    SetBkMode(mem, TRANSPARENT);
    SetTextColor(mem, RGB(0, 0, 0));
    std::wstring buf = text;
    RECT band{0, 0, t.Width(), gh.cy};
    DrawTextExW(mem, buf.data(), static_cast<int>(buf.size()), &band, DT_BOTTOM | DT_SINGLELINE | DT_NOCLIP, nullptr);
    // Ink: clearly darker than the lightest pixel of the same piece.
    const int from = whole.cx - period.cx - 1, to = whole.cx + 3;
    auto inkCount = [&](const std::vector<COLORREF>& px) {
        auto luma = [](COLORREF c) { return GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c); };
        int light = 0, n = 0;
        for (COLORREF c : px)
            light = std::max(light, luma(c));
        for (COLORREF c : px)
            n += luma(c) < light - 600;
        return n;
    };
    std::vector<COLORREF> ref, shown;
    POINT origin{t.Left, t.Top};
    ClientToScreen(w->Handle(), &origin);
    for (int y = 0; y < gh.cy; ++y)
        for (int x = from; x < to; ++x) {
            ref.push_back(GetPixel(mem, x, y));
            shown.push_back(ScreenPixel(origin.x + x, origin.y + y));
        }
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBmp);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    EXPECT_GT(inkCount(ref), 0);
    EXPECT_EQ(inkCount(shown), inkCount(ref));
}

TEST_F(AlertComponent, CustomPaintCanTakeTheWholeArea) {
    bool called = false;
    alert->OnCustomPaint = [&](TObject*, TCanvas* canvas, TRect r, bool& defaultPaint) {
        called = true;
        canvas->Brush()->SetColor(clLime);
        canvas->FillRect(r);
        defaultPaint = false;
    };
    alert->SetAutoHide(false);
    Add(L"x");
    alert->Show();
    HWND wnd = alert->Handle();
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(called);
    RECT r;
    GetWindowRect(wnd, &r);
    // The window reaches the screen a moment after it is shown.
    PumpUntil([&] { return ScreenPixel(r.left + 150, r.top + 3) != RGB(0, 0, 0); }, 2000);
    EXPECT_EQ(ScreenPixel(r.left + 150, r.top + 3), RGB(0, 255, 0));  // no grip bar drawn
}

TEST_F(AlertComponent, ScrollArrowsMoveALongText) {
    alert->ShowScrollers = true;
    alert->SetAutoHide(false);
    std::wstring tall;
    for (int i = 0; i < 12; ++i)
        tall += L"line " + std::to_wstring(i) + L"<br>";
    Add(tall);
    alert->Show();
    TAlertWindow* w = alert->AlertWindow();
    RedrawWindow(w->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const TRect down = w->ScrollDownRect();
    SendMessageW(w->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.Left + 3, down.Top + 3));
    SendMessageW(w->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(down.Left + 3, down.Top + 3));
    EXPECT_EQ(w->ScrollPos(), 4);
    RedrawWindow(w->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const TRect up = w->ScrollUpRect();
    SendMessageW(w->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.Left + 3, up.Top + 3));
    SendMessageW(w->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(up.Left + 3, up.Top + 3));
    EXPECT_EQ(w->ScrollPos(), 0);
}

TEST(AlertPlacement, SixPositionsOnAnOffsetWorkArea) {
    const TRect work{100, 50, 1380, 1074};
    const int w = 300, h = 100, mx = 7, my = 5;
    struct Case {
        TWindowPosition pos;
        TPoint expected;
    } cases[] = {
        {wpLeftTop, {100 + 7 + 2, 50 + 5}},
        {wpRightTop, {1380 - 300 - 7 - 2, 50 + 5}},
        {wpLeftBottom, {100 + 7 + 2, 1074 - 100 - 5}},
        {wpRightBottom, {1380 - 300 - 7 - 2, 1074 - 100 - 5}},
        {wpPreset, {33, 44}},
        {wpCenter, {(1380 - 100 - 300 - 7) / 2 + 100, (1074 - 50 - 100 - 5) / 2 + 50}},
    };
    for (const auto& c : cases) {
        const TPoint p = AlertWindowPlace(c.pos, work, w, h, mx, my, {33, 44});
        EXPECT_EQ(p.X, c.expected.X) << c.pos;
        EXPECT_EQ(p.Y, c.expected.Y) << c.pos;
    }
    // Division toward zero for odd and negative sums.
    EXPECT_EQ(AlertWindowPlace(wpCenter, {0, 0, 101, 11}, 200, 20, 0, 0, {}).X, (101 - 200) / 2);
}

TEST_F(AlertComponent, CentredOnTheQueriedMonitor) {
    alert->WindowPosition = wpCenter;
    alert->WorkAreaQuery = [](HWND) { return TRect{0, -400, 1280, 600}; };  // a work area above the origin
    Add(L"x");
    alert->Show();
    RECT r;
    GetWindowRect(alert->Handle(), &r);
    EXPECT_EQ(r.left, (1280 - 300) / 2);
    EXPECT_EQ(r.top, (600 - -400 - 100) / 2 + -400);
}

TEST_F(AlertComponent, DeletingRaisesEventsInOrder) {
    Record();
    for (int i = 0; i < 3; ++i)
        Add(L"message " + std::to_wstring(i));
    alert->SetActiveMessage(3);
    alert->Show();
    alert->SetActiveMessage(3);
    alert->DeleteMessage(2);  // the shown last one: the previous becomes shown
    EXPECT_EQ(log, (std::vector<std::string>{"CanDelete 2", "Delete 2"}));
    EXPECT_EQ(alert->AlertMessages()->Count(), 2);
    EXPECT_EQ(alert->ActiveMessage(), 2);
    log.clear();
    alert->DeleteMessage(0);  // an earlier one: the same message stays shown
    EXPECT_EQ(alert->ActiveMessage(), 1);
    log.clear();
    alert->DeleteMessage(0);  // the last message: the popup closes itself
    EXPECT_EQ(log, (std::vector<std::string>{"CanDelete 0", "CanClose", "Close", "Delete 0"}));
    EXPECT_FALSE(alert->IsVisible());
    EXPECT_EQ(alert->ActiveMessage(), -1);
}

TEST_F(AlertComponent, CanDeleteFalseKeepsTheMessage) {
    alert->OnCanDeleteMessage = [](TObject*, int, bool& can) { can = false; };
    Add(L"a");
    Add(L"b");
    alert->Show();
    alert->DeleteMessage(1);
    EXPECT_EQ(alert->AlertMessages()->Count(), 2);
}

TEST_F(AlertComponent, InvalidIndexBeforeAndAfterTheWindowExists) {
    Record();
    Add(L"a");
    try {
        alert->DeleteMessage(1);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Invalid Index");
    }
    EXPECT_TRUE(log.empty());
    alert->DeleteMessage(0);  // before any show: works on the collection
    EXPECT_EQ(log, (std::vector<std::string>{"CanDelete 0", "Delete 0"}));
    EXPECT_EQ(alert->AlertMessages()->Count(), 0);
    Add(L"b");
    alert->Show();
    try {
        alert->DeleteMessage(-1);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Invalid Index");
    }
    EXPECT_EQ(alert->AlertMessages()->Count(), 1);
}

TEST_F(AlertComponent, CollectionDeletionWhileVisibleRaisesDeleteMessage) {
    Record();
    Add(L"a");
    Add(L"b");
    alert->Show();
    alert->AlertMessages()->Delete(0);
    EXPECT_EQ(log, (std::vector<std::string>{"Delete 0"}));
    log.clear();
    alert->AlertMessages()->Clear();
    EXPECT_EQ(log, (std::vector<std::string>{"Delete 0", "CanClose", "Close"}));
    EXPECT_FALSE(alert->IsVisible());
}

// Messages added to a shown popup inside an update reach its window together at the end, all of them and in order;
// outside an update each reaches it at once.
TEST_F(AlertComponent, MessagesAddedInAnUpdateReachTheShownPopupAtItsEnd) {
    Add(L"a");
    alert->Show();
    ASSERT_TRUE(alert->IsVisible());
    TStringList* shown = alert->AlertWindow()->AlertMessages();
    ASSERT_EQ(shown->Count(), 1);
    alert->BeginUpdate();
    alert->BeginUpdate();
    for (int i = 0; i < 50; ++i)
        Add(L"m" + std::to_wstring(i));
    alert->EndUpdate();
    EXPECT_EQ(shown->Count(), 1);  // the inner end is not the last
    alert->EndUpdate();
    ASSERT_EQ(shown->Count(), 51);
    EXPECT_EQ(shown->Get(1), L"m0");
    EXPECT_EQ(shown->Get(50), L"m49");
    EXPECT_EQ(alert->AlertWindow()->AlertMessagesInfo()->Count(), 51);
    Add(L"z");
    EXPECT_EQ(shown->Count(), 52);
    EXPECT_EQ(shown->Get(51), L"z");
    alert->EndUpdate();  // unmatched: harmless
    Add(L"y");
    EXPECT_EQ(shown->Count(), 53);
}

TEST_F(AlertComponent, StyleSetsTheTableColours) {
    Add(L"x");
    alert->Show();
    alert->SetStyle(asOffice2016Black);
    EXPECT_EQ(alert->WindowColor, 0x363636u);
    EXPECT_EQ(alert->BorderColor, 0x444444u);
    EXPECT_EQ(alert->BtnHoverColor, 0x6A6A6Au);
    EXPECT_EQ(alert->Font()->Color(), 0xA6A6A6u);
    EXPECT_EQ(alert->AlertWindow()->WindowColor, 0x363636u);  // a visible popup takes them at once
    alert->SetStyle(asTerminal);
    EXPECT_EQ(alert->WindowColor, clBtnFace);
    EXPECT_EQ(alert->CaptionColor, clHighlight);
    EXPECT_EQ(alert->Font()->Color(), clBlack);
    alert->SetStyle(asCustom);  // only the font colour
    EXPECT_EQ(alert->WindowColor, clBtnFace);
    // Through the style interface.
    IComponentStyle* style = nullptr;
    ASSERT_EQ(alert->QueryInterface(IID_IComponentStyle, reinterpret_cast<void**>(&style)), S_OK);
    style->SetStyleIndex(asOffice2003Blue);
    EXPECT_EQ(alert->WindowColor, 0xFADAC4u);
    EXPECT_EQ(alert->Style(), asOffice2003Blue);
}

TEST_F(AlertComponent, ClicksPageAndReportAlertClick) {
    int clicks = 0, nexts = 0;
    alert->OnAlertClick = [&](TObject*) { ++clicks; };
    alert->OnNextMessage = [&](TObject*) { ++nexts; };
    alert->SetAutoHide(false);
    Add(L"one");
    Add(L"two");
    alert->SetActiveMessage(1);
    alert->Show();
    alert->SetActiveMessage(1);
    TAlertWindow* w = alert->AlertWindow();
    auto click = [&](TPoint p) {
        SendMessageW(w->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
        SendMessageW(w->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.X, p.Y));
        Pump(20);
    };
    const TRect next = w->NextRect();
    click({next.Left + 5, next.Top + 5});
    EXPECT_EQ(nexts, 1);
    EXPECT_EQ(alert->ActiveMessage(), 2);
    EXPECT_EQ(clicks, 0);
    click({60, 50});
    EXPECT_EQ(clicks, 1);
}

TEST_F(AlertComponent, DragByTheGripMovesAndPresets) {
    int clicks = 0, moved = 0;
    alert->OnAlertClick = [&](TObject*) { ++clicks; };
    alert->SetAutoHide(false);
    Add(L"x");
    alert->Show();
    TAlertWindow* w = alert->AlertWindow();
    RECT before;
    GetWindowRect(w->Handle(), &before);
    (void)moved;
    SetCursorPos(before.left + 50, before.top + 3);
    SendMessageW(w->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 3));
    SetCursorPos(before.left + 50 - 40, before.top + 3 - 30);
    SendMessageW(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, -27));
    SendMessageW(w->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, -27));
    RECT after;
    GetWindowRect(w->Handle(), &after);
    EXPECT_EQ(after.left, before.left - 40);
    EXPECT_EQ(after.top, before.top - 30);
    EXPECT_EQ(alert->WindowPosition, wpPreset);
    EXPECT_EQ(alert->PopupLeft(), after.left);
    EXPECT_EQ(clicks, 0);
}

TEST_F(AlertComponent, RegistryPositionWithoutLeadingBackslash) {
    alert->RegistryKey = L"TrelmAlertTest";
    alert->SetPopupLeft(123);
    alert->SetPopupTop(456);
    alert->SavePosition();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\TrelmAlertTest\\ALERT", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD x = 0, size = sizeof x;
    EXPECT_EQ(RegQueryValueExW(key, L"X", nullptr, nullptr, reinterpret_cast<BYTE*>(&x), &size), ERROR_SUCCESS);
    EXPECT_EQ(x, 123u);
    RegCloseKey(key);
    auto* other = new TMsgAlertWindow(form.get());
    other->RegistryKey = L"TrelmAlertTest";
    other->LoadPosition();
    EXPECT_EQ(other->PopupLeft(), 123);
    EXPECT_EQ(other->PopupTop(), 456);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\TrelmAlertTest");
}

}  // namespace

namespace {
struct WindowSearch {
    std::wstring text;
    HWND except;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindowText(HWND wnd, LPARAM lp) {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    wchar_t buf[256] = {};
    if (wnd != s->except && IsWindowVisible(wnd) && GetWindowTextW(wnd, buf, 256) && s->text == buf) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// The visible top-level window, other than the popup, whose text is Text (nullptr when none).
HWND VisibleWindowWithText(const std::wstring& Text, HWND except) {
    WindowSearch s{Text, except};
    EnumWindows(MatchWindowText, reinterpret_cast<LPARAM>(&s));
    return s.found;
}
}  // namespace

TEST_F(AlertComponent, ButtonHintAppearsAfterThePauseAndGoesOnLeave) {
    const int pause = Application->HintPause;
    Application->HintPause = 300;
    SetCursorPos(0, 0);
    alert->SetAutoHide(false);
    alert->HintCloseBtn = L"Закрыть окно";
    Add(L"x");
    alert->Show();
    ASSERT_TRUE(WaitFade());
    TAlertWindow* w = alert->AlertWindow();
    const TRect close = w->CloseRect();
    const TPoint over = w->ClientToScreen({(close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2});
    SetCursorPos(over.X, over.Y);
    // Not before the pause...
    Pump(100);
    EXPECT_EQ(VisibleWindowWithText(L"Закрыть окно", w->Handle()), nullptr);
    // ...then the hint, below the cursor, with the button's text.
    ASSERT_TRUE(PumpUntil([&] { return VisibleWindowWithText(L"Закрыть окно", w->Handle()) != nullptr; }, 3000));
    HWND hint = VisibleWindowWithText(L"Закрыть окно", w->Handle());
    RECT r;
    GetWindowRect(hint, &r);
    EXPECT_GE(r.top, over.Y);
    EXPECT_GT(r.right - r.left, 0);
    // Onto the message text: no button under the mouse, the hint goes.
    const TPoint body = w->ClientToScreen({20, w->Height() / 2});
    SetCursorPos(body.X, body.Y);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(hint); }, 2000));
    // A click on the button hides a shown hint at once.
    SetCursorPos(over.X, over.Y);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(hint) != FALSE; }, 3000));
    const LPARAM at = MAKELPARAM((close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2);
    SendMessageW(w->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_FALSE(IsWindowVisible(hint));
    Application->HintPause = pause;
    // Away from where the popups appear, so the mouse does not hold the next ones opaque.
    SetCursorPos(0, 0);
}

namespace {

std::wstring WindowText(HWND wnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(wnd, buffer, 512);
    return buffer;
}

}  // namespace

// The popup's window text follows the shown message as plain text, so a tester or a screen reader can read it
// from outside the process; with no message it is "Alert".
TEST_F(AlertComponent, WindowTextIsThePlainTextOfTheShownMessage) {
    alert->SetAutoHide(false);
    Add(L"<b>Ivan</b><br><br>&lt;img src=x&gt; &amp; co");
    Add(L"<div width=\"100%\"><p align=\"center\"><b>\x0421\x0435\x0433\x043E\x0434\x043D\x044F</b></p></div>");
    alert->Show();
    alert->SetActiveMessage(2);
    HWND w = alert->AlertWindow()->Handle();
    EXPECT_EQ(WindowText(w), L"\x0421\x0435\x0433\x043E\x0434\x043D\x044F");
    alert->Previous();
    EXPECT_EQ(WindowText(w), L"Ivan\r\n\r\n<img src=x> & co");
    alert->DeleteMessage(0);
    Pump(20);
    EXPECT_EQ(WindowText(w), L"\x0421\x0435\x0433\x043E\x0434\x043D\x044F");
    alert->AlertMessages()->Clear();
    Pump(20);
    EXPECT_EQ(WindowText(w), L"Alert");
}
