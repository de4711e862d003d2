// The month calendar and the date edit on real windows of the shared host form: the calendar's buttons and caption
// pressed through its window's mouse messages, clicks placed from the layout its last paint left, pixels with the
// fixture skin; the date edit typed into as WM_CHAR with the format settings and "now" injected, its drop-down opened
// by its button and chosen from by real mouse input, the focus and the foreground read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BoxTestSupport.h"
#include "ControlTestSupport.h"
#include "PressTestSupport.h"
#include "classlib/SysUtils.h"
#include "skin/boxes/SkinDateEdit.h"
#include "skin/boxes/SkinMonthCalendar.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/form/SkinMenu.h"

namespace {

using namespace boxtest;
using namespace ctltest;

std::wstring Ymd(TDateTime d) {
    if (d == 0)
        return L"none";
    int y = 0, m = 0, day = 0;
    DecodeDate(d, y, m, day);
    return std::to_wstring(y) + L"-" + std::to_wstring(m) + L"-" + std::to_wstring(day);
}

TFormatSettings Dotted(const std::wstring& ShortDate = L"dd.MM.yyyy") {
    TFormatSettings fs = TFormatSettings::Invariant();
    fs.DateSeparator = L'.';
    fs.ShortDateFormat = ShortDate;
    return fs;
}

const TDateTime kNow = EncodeDate(2026, 6, 15) + 0.5;

// The centre of a day's cell as the last paint laid it out.
POINT DayCell(TbsSkinMonthCalendar* c, int Day) {
    int y = 0, m = 0, d = 0;
    DecodeDate(c->Date(), y, m, d);
    const TbsCalendarLayout& l = c->Layout();
    const int column1 = FirstDayColumn(y, m, c->FirstDayOfWeek());
    const int cell = Day - 1 + column1;  // cells counted from row 1, column 0
    const int row = cell / 7 + 1, col = cell % 7;
    return {CalendarCellLeft(l, col) + l.CellW / 2, CalendarRowBottom(l, row) - l.CellH / 2};
}

void Press(TWinControl* c, int X, int Y) {
    Mouse(c, WM_LBUTTONDOWN, X, Y, MK_LBUTTON);
    Mouse(c, WM_LBUTTONUP, X, Y);
}

class MonthCalendarTest : public ControlsFixture {
  protected:
    TbsSkinMonthCalendar* Calendar(bool Skinned, TDateTime Date, bool Visible = true) {
        auto* c = new TbsSkinMonthCalendar(host_->form);
        owned_.push_back(c);
        c->SetVisible(Visible);
        c->SetParent(host_->form);
        c->SetBounds(10, 10, 200, 150);
        c->SetClock([] { return kNow; });
        c->SetCalendarFormat(TFormatSettings::Invariant());
        if (Skinned)
            c->SetSkinData(host_->data);
        c->SetDate(Date);
        c->OnNumberClick = [this](TObject*) { ++numberClicks_; };
        c->OnClick = [this](TObject*) { ++clicks_; };
        c->HandleNeeded();
        return c;
    }
    // Paints the calendar into a bitmap (the layout of that paint is the one clicks use).
    std::unique_ptr<TBitmap> Painted(TbsSkinMonthCalendar* c) { return Paint(c); }
    // Presses button Index (0 previous month, 1 next month, 2 previous year, 3 next year) in the calendar's window.
    void PressButton(TbsSkinMonthCalendar* c, int Index) {
        TbsSkinSpeedButton* b = c->Button(Index);
        Press(c, b->Left() + b->Width() / 2, b->Top() + b->Height() / 2);
    }
    int numberClicks_ = 0, clicks_ = 0;
};

TEST_F(MonthCalendarTest, ButtonsStepMonthsAndYearsCuttingTheDayAndStopAtTheYearLimits) {
    FakeSeam seam;
    TbsSkinMonthCalendar* c = Calendar(true, EncodeDate(2024, 3, 31));
    const int repeat[] = {200, 200, 50, 50};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(c->Button(i)->RepeatMode()) << i;
        EXPECT_EQ(c->Button(i)->RepeatInterval(), repeat[i]) << i;
        EXPECT_EQ(c->Button(i)->Width(), 23) << i;
        EXPECT_EQ(c->Button(i)->SkinIndex(), LookupSkinEntry(host_->data, L"resizebutton")) << i;
        EXPECT_EQ(c->Button(i)->Glyph()->Width(), 16) << i;
    }
    // Previous year at the client's left, previous month 24 pixels on; next year at the right less 24.
    const TRect r = c->GetSkinClientRect();
    EXPECT_EQ(c->Button(2)->Left(), r.Left + 1);
    EXPECT_EQ(c->Button(0)->Left(), r.Left + 25);
    EXPECT_EQ(c->Button(3)->Left(), r.Right - 24);
    EXPECT_EQ(c->Button(1)->Left(), r.Right - 48);
    EXPECT_EQ(c->Button(0)->Top(), r.Top + 1);

    PressButton(c, 0);
    EXPECT_EQ(Ymd(c->Date()), L"2024-2-29");
    EXPECT_EQ(clicks_, 1) << "each step is followed by the calendar's click";
    c->SetDate(EncodeDate(2023, 3, 31));
    PressButton(c, 0);
    EXPECT_EQ(Ymd(c->Date()), L"2023-2-28");
    PressButton(c, 1);
    EXPECT_EQ(Ymd(c->Date()), L"2023-3-28");
    c->SetDate(EncodeDate(2024, 12, 15));
    PressButton(c, 1);
    EXPECT_EQ(Ymd(c->Date()), L"2025-1-15");
    PressButton(c, 2);
    EXPECT_EQ(Ymd(c->Date()), L"2024-1-15");
    c->SetDate(EncodeDate(9999, 6, 1));
    PressButton(c, 3);
    EXPECT_EQ(Ymd(c->Date()), L"9999-6-1");
    c->SetDate(EncodeDate(1761, 6, 1));
    PressButton(c, 2);
    EXPECT_EQ(Ymd(c->Date()), L"1761-6-1");

    // Held, the year button repeats on its timer: after the first half second every 50 ms.
    c->SetDate(EncodeDate(2000, 1, 1));
    TbsSkinSpeedButton* next = c->Button(3);
    Mouse(c, WM_LBUTTONDOWN, next->Left() + 5, next->Top() + 5, MK_LBUTTON);
    seam.Advance(500);
    EXPECT_EQ(Ymd(c->Date()), L"2000-1-1");
    seam.Advance(150);
    EXPECT_EQ(Ymd(c->Date()), L"2003-1-1");
    Mouse(c, WM_LBUTTONUP, next->Left() + 5, next->Top() + 5);
    EXPECT_EQ(Ymd(c->Date()), L"2004-1-1") << "the release over the button steps once more";
}

TEST_F(MonthCalendarTest, TheCaptionOpensTheMonthMenuWhoseMonthsCutTheDay) {
    TbsSkinMonthCalendar* c = Calendar(true, EncodeDate(2024, 3, 31));
    const int x = (c->Button(0)->Left() + c->Button(0)->Width() + c->Button(1)->Left()) / 2;
    Mouse(c, WM_LBUTTONDOWN, x, 8, MK_LBUTTON);
    Mouse(c, WM_LBUTTONUP, x, 8);
    Pump(20);
    ASSERT_NE(c->MonthMenu(), nullptr);
    EXPECT_TRUE(c->MenuPopup());
    EXPECT_TRUE(host_->skinForm->SkinMenu()->Visible()) << "the menu opens through the form's skinned menu";
    ASSERT_EQ(c->MonthMenu()->Items()->Count(), 12);
    EXPECT_EQ(c->MonthMenu()->Items()->Items(0)->Caption(), L"January");
    EXPECT_EQ(c->MonthMenu()->Items()->Items(11)->Caption(), L"December");
    c->MonthMenu()->Items()->Items(1)->Click();
    EXPECT_EQ(Ymd(c->Date()), L"2024-2-29");
    host_->skinForm->SkinMenu()->Hide();
    host_->skinForm->SkinMenuClose();
    Pump(20);
    EXPECT_FALSE(c->MenuPopup());
    EXPECT_EQ(numberClicks_, 0);

    // Without the month menu the caption does nothing.
    c->SetShowMonthMenu(false);
    Mouse(c, WM_LBUTTONDOWN, x, 8, MK_LBUTTON);
    Mouse(c, WM_LBUTTONUP, x, 8);
    Pump(20);
    EXPECT_FALSE(c->MenuPopup());
    EXPECT_FALSE(host_->skinForm->SkinMenu()->Visible());
}

TEST_F(MonthCalendarTest, ClicksArePlacedFromTheLastPaintAndFindNothingBeforeIt) {
    // Hidden until painted: nothing paints it behind the test's back.
    TbsSkinMonthCalendar* c = Calendar(false, EncodeDate(2024, 9, 10), false);
    c->SetShowToday(true);
    // Not painted yet: no layout, a click anywhere in the grid finds nothing.
    EXPECT_FALSE(c->Layout().Valid);
    Press(c, 100, 100);
    Press(c, 100, c->Height() - 3);
    EXPECT_EQ(Ymd(c->Date()), L"2024-9-10");
    EXPECT_EQ(numberClicks_, 0);

    Painted(c);
    const TbsCalendarLayout& l = c->Layout();
    ASSERT_TRUE(l.Valid);
    const TRect client = c->GetSkinClientRect();
    EXPECT_EQ(l.CellW, (client.Width() - 2) / 7);
    EXPECT_EQ(l.CellH, (client.Bottom - c->BottomOffset() - l.BevelTop - 4) / 6);
    EXPECT_GT(c->BottomOffset(), 5);
    // September 2024 starts on a Sunday: day 1 in column 0 of the first week row.
    const POINT one = DayCell(c, 1);
    EXPECT_EQ(one.x, CalendarCellLeft(l, 0) + l.CellW / 2);
    const POINT p = DayCell(c, 20);
    Press(c, p.x, p.y);
    EXPECT_EQ(Ymd(c->Date()), L"2024-9-20");
    EXPECT_EQ(numberClicks_, 1);
    // A blank cell after the 30th: nothing.
    const POINT blank{CalendarCellLeft(l, 2) + l.CellW / 2, CalendarRowBottom(l, 5) - l.CellH / 2};
    Press(c, blank.x, blank.y);
    EXPECT_EQ(Ymd(c->Date()), L"2024-9-20");
    EXPECT_EQ(numberClicks_, 1);
    // The today line: now, and the signal.
    Press(c, 60, c->Height() - 4);
    EXPECT_EQ(c->Date(), kNow);
    EXPECT_EQ(numberClicks_, 2);

    // Monday first, a month starting a day before the first weekday shows day 1 in the last column.
    c->SetFirstDayOfWeek(Mon);
    c->SetDate(EncodeDate(2024, 9, 1));
    Painted(c);
    EXPECT_EQ(DayCell(c, 1).x, CalendarCellLeft(c->Layout(), 6) + c->Layout().CellW / 2);
    const POINT second = DayCell(c, 2);
    Press(c, second.x, second.y);
    EXPECT_EQ(Ymd(c->Date()), L"2024-9-2");
}

TEST_F(MonthCalendarTest, TheSelectedDayWearsThePressedButtonAndTheLinesFadeAtTheirEnds) {
    TbsSkinMonthCalendar* c = Calendar(true, EncodeDate(2024, 9, 10));
    auto img = Painted(c);
    Shot(img.get(), L"calendar-fixture");
    const TbsCalendarLayout& l = c->Layout();
    // 10 September 2024, Sunday first: row 2, column 2.
    const int left = CalendarCellLeft(l, 2), bottom = CalendarRowBottom(l, 2);
    EXPECT_EQ(Px(img.get(), left, bottom - l.CellH + 1), Legend("resizebutton.downskinrect.lt"));
    EXPECT_EQ(Px(img.get(), left + l.CellW - 1, bottom), Legend("resizebutton.downskinrect.rb"));
    EXPECT_EQ(Px(img.get(), left + 4, bottom - l.CellH / 2), Legend("resizebutton.downskinrect.client"));
    // Another day's cell keeps the panel behind it.
    const int other = CalendarCellLeft(l, 4);
    EXPECT_NE(Px(img.get(), other, bottom - l.CellH + 1), Legend("resizebutton.downskinrect.lt"));
    // The line under the day names: the skin's active label colour in the middle, nothing at its first pixel.
    const COLORREF line = ColorToRGB(c->CalActiveFontColor) & 0xFFFFFF;
    EXPECT_EQ(line, static_cast<COLORREF>(51200)) << "the colours come from the fixture's stdlabel";
    EXPECT_EQ(Px(img.get(), (l.R.Left + l.R.Right) / 2, l.BevelTop), line);
    EXPECT_NE(Px(img.get(), l.R.Left, l.BevelTop), line);

    // The built-in look frames the selected day with an outline in the font colour.
    TbsSkinMonthCalendar* plain = Calendar(false, EncodeDate(2024, 9, 10));
    auto bare = Painted(plain);
    const TbsCalendarLayout& pl = plain->Layout();
    const int pleft = CalendarCellLeft(pl, 2), pbottom = CalendarRowBottom(pl, 2);
    const COLORREF ink = ColorToRGB(plain->DefaultFont()->Color()) & 0xFFFFFF;
    EXPECT_EQ(Px(bare.get(), pleft, pbottom), ink);
    EXPECT_EQ(Px(bare.get(), pleft + pl.CellW / 2, pbottom - pl.CellH + 1), ink);
    EXPECT_NE(Px(bare.get(), pleft + 2, pbottom - 2), ink);
}

TEST_F(MonthCalendarTest, TheTodayLineShowsTheCaptionAndTheDateOrTheDateAlone) {
    TbsSkinMonthCalendar* c = Calendar(false, EncodeDate(2024, 9, 10));
    c->SetShowToday(true);
    auto inkIn = [&] {
        auto img = Painted(c);
        const int Top = c->Height() - c->BottomOffset();
        Shot(img.get(), L"calendar-today-" + std::to_wstring(c->TodayCaption().size()));
        // Ink: clearly darker than the panel (the text is smoothed, its pixels vary).
        int last = -1;
        for (int x = 0; x < c->Width() - 2; ++x)
            for (int y = Top; y < c->Height() - 2; ++y) {
                const COLORREF p = Px(img.get(), x, y);
                if (GetRValue(p) + GetGValue(p) + GetBValue(p) < 300)
                    last = x;
            }
        return last;
    };
    c->SetTodayCaption(L"");
    const int dateAlone = inkIn();
    c->SetTodayCaption(L"Today:");
    const int withCaption = inkIn();
    EXPECT_GT(dateAlone, 0) << "without the library text the line still shows the date";
    EXPECT_GT(withCaption, dateAlone + 20);
}

// ---- The date edit --------------------------------------------------------------------------------------------------

class DateEditTest : public ControlsFixture {
  protected:
    TbsSkinDateEdit* Edit(const TFormatSettings& Fs = Dotted(), bool Skinned = true) {
        auto* e = new TbsSkinDateEdit(host_->form);
        owned_.push_back(e);
        e->SetParent(host_->form);
        e->SetClock([] { return kNow; });
        e->SetDateFormatSettings(Fs);
        if (Skinned)
            e->SetSkinData(host_->data);
        e->SetBounds(20, 40, 120, 21);
        e->HandleNeeded();
        e->OnDateChange = [this, e](TObject*) { fired_.push_back(Ymd(e->Date())); };
        return e;
    }
    static std::wstring Text(TbsSkinDateEdit* e) { return e->EditText(); }
    void TypeOver(TbsSkinDateEdit* e, const std::wstring& Keys) {
        SendMessageW(e->Handle(), EM_SETSEL, 0, 0);
        Type(e->Handle(), Keys);
    }
    std::vector<std::wstring> fired_;
};

TEST_F(DateEditTest, TypingFiresForEveryTextThatIsAlreadyADate) {
    TbsSkinDateEdit* e = Edit();
    EXPECT_EQ(e->EditMask(), L"!99.99.9999;1; ");
    EXPECT_EQ(Text(e), L"  .  .    ");
    EXPECT_EQ(e->Date(), 0);
    ASSERT_TRUE(FocusOn(e));
    TypeOver(e, L"31122026");
    EXPECT_EQ(Text(e), L"31.12.2026");
    EXPECT_EQ(fired_, (std::vector<std::wstring>{L"2002-12-31", L"2020-12-31", L"202-12-31", L"2026-12-31"}));
    EXPECT_TRUE(e->IsDateInput());
    fired_.clear();
    TypeOver(e, L"31042026");
    EXPECT_EQ(Text(e), L"31.04.2026");
    EXPECT_TRUE(fired_.empty()) << "31 April is no date";
    EXPECT_EQ(Ymd(e->Date()), L"2026-12-31");
    EXPECT_FALSE(e->IsDateInput());
    // Leaving with an incomplete date raises nothing.
    TypeOver(e, L"1");
    EXPECT_NO_THROW(e->ValidateEdit());
}

TEST_F(DateEditTest, TwoDigitYearsAndTheOtherOrdersFollowTheFormat) {
    TbsSkinDateEdit* e = Edit(Dotted(L"dd.MM.yy"));
    EXPECT_EQ(e->EditMask(), L"!99.99.99;1; ");
    ASSERT_TRUE(FocusOn(e));
    TypeOver(e, L"311270");
    EXPECT_EQ(Ymd(e->Date()), L"1970-12-31");
    TypeOver(e, L"311250");
    EXPECT_EQ(Ymd(e->Date()), L"2050-12-31");

    TFormatSettings us = TFormatSettings::Invariant();
    us.ShortDateFormat = L"M/d/yyyy";
    e->SetDateFormatSettings(us);
    EXPECT_EQ(e->EditMask(), L"!99/99/9999;1; ");
    EXPECT_EQ(Text(e), L"12/31/2050") << "the date is shown again in the new order";
    TFormatSettings iso = TFormatSettings::Invariant();
    iso.ShortDateFormat = L"yyyy-MM-dd";
    iso.DateSeparator = L'-';
    e->SetDateFormatSettings(iso);
    EXPECT_EQ(e->EditMask(), L"!9999-99-99;1; ");
    EXPECT_EQ(Text(e), L"2050-12-31");
    e->SetDate(EncodeDate(2026, 3, 5));
    EXPECT_EQ(Text(e), L"2026-03-05");
    e->SetDate(0);
    EXPECT_EQ(Text(e), L"    -  -  ") << "no date: the blank mask";
}

TEST_F(DateEditTest, AnEmptyEditDropsDownOnTodayAndEscapeLeavesItEmpty) {
    TbsSkinDateEdit* e = Edit();
    ASSERT_TRUE(FocusOn(e));
    const HWND form = host_->form->Handle();
    e->ButtonClick(e);
    Pump(30);
    ASSERT_TRUE(e->DroppedDown());
    TbsSkinPopupMonthCalendar* cal = e->Calendar();
    EXPECT_EQ(cal->Date(), kNow);
    EXPECT_EQ(cal->Width(), 200);
    EXPECT_EQ(cal->Height(), 150);
    EXPECT_EQ(cal->SkinDataName(), L"panel");
    const LONG style = GetWindowLongW(cal->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_TRUE(GetWindowLongW(cal->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT er{}, cr{};
    GetWindowRect(e->Handle(), &er);
    GetWindowRect(cal->Handle(), &cr);
    EXPECT_EQ(cr.left, er.left);
    EXPECT_EQ(cr.top, er.bottom) << "below the edit";
    EXPECT_EQ(GetForegroundWindow(), form);
    EXPECT_EQ(GetFocus(), e->Handle());
    SendMessageW(e->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    Pump(20);
    EXPECT_FALSE(e->DroppedDown());
    EXPECT_EQ(e->Date(), 0);
    EXPECT_EQ(Text(e), L"  .  .    ");
    EXPECT_TRUE(fired_.empty());

    // A second click of the button closes it the same way, keeping the date it had.
    e->SetDate(EncodeDate(2026, 1, 2));
    fired_.clear();
    e->ButtonClick(e);
    Pump(20);
    ASSERT_TRUE(e->DroppedDown());
    EXPECT_EQ(Ymd(cal->Date()), L"2026-1-2");
    cal->SetDate(EncodeDate(2026, 1, 9));
    e->ButtonClick(e);
    EXPECT_FALSE(e->DroppedDown());
    EXPECT_EQ(Ymd(e->Date()), L"2026-1-2");
    EXPECT_TRUE(fired_.empty());
}

TEST_F(DateEditTest, AClickedDayIsAcceptedWithTheFocusAndForegroundLeftInPlace) {
    TbsSkinDateEdit* e = Edit();
    e->SetFirstDayOfWeek(Mon);
    e->SetDate(EncodeDate(2026, 6, 3));
    fired_.clear();
    ASSERT_TRUE(FocusOn(e));
    const HWND form = host_->form->Handle();
    e->ButtonClick(e);
    TbsSkinPopupMonthCalendar* cal = e->Calendar();
    ASSERT_TRUE(PumpUntil([&] { return cal->Layout().Valid; }, 3000)) << "the drop-down paints";
    const POINT p = DayCell(cal, 20);
    POINT s = p;
    ClientToScreen(cal->Handle(), &s);
    SetCursorPos(s.x, s.y);
    Pump(20);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    Pump(30);
    EXPECT_EQ(GetForegroundWindow(), form) << "the press does not activate the drop-down";
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !e->DroppedDown(); }, 3000));
    EXPECT_EQ(Ymd(e->Date()), L"2026-6-20");
    EXPECT_EQ(Text(e), L"20.06.2026");
    EXPECT_EQ(fired_.back(), L"2026-6-20");
    EXPECT_EQ(GetFocus(), e->Handle());
    EXPECT_EQ(GetForegroundWindow(), form);
    SetCursorPos(2, 2);
}

TEST_F(DateEditTest, TheDropDownsMonthMenuOpensThroughTheEditsFormAndKeepsItOpen) {
    TbsSkinDateEdit* e = Edit();
    e->SetDate(EncodeDate(2024, 3, 31));
    ASSERT_TRUE(FocusOn(e));
    e->ButtonClick(e);
    TbsSkinPopupMonthCalendar* cal = e->Calendar();
    ASSERT_TRUE(PumpUntil([&] { return cal->Layout().Valid; }, 3000));
    const int x = (cal->Button(0)->Left() + cal->Button(0)->Width() + cal->Button(1)->Left()) / 2;
    Mouse(cal, WM_LBUTTONDOWN, x, 8, MK_LBUTTON);
    Mouse(cal, WM_LBUTTONUP, x, 8);
    Pump(20);
    EXPECT_TRUE(cal->MenuPopup());
    EXPECT_TRUE(host_->skinForm->SkinMenu()->Visible());
    EXPECT_TRUE(e->DroppedDown()) << "the menu leaves the drop-down open";
    cal->MonthMenu()->Items()->Items(1)->Click();
    host_->skinForm->SkinMenu()->Hide();
    host_->skinForm->SkinMenuClose();
    Pump(20);
    EXPECT_EQ(Ymd(cal->Date()), L"2024-2-29");
    EXPECT_EQ(Ymd(e->Date()), L"2024-2-29");
    EXPECT_EQ(Text(e), L"31.03.2024") << "the text waits for a day to be chosen";
    EXPECT_EQ(GetFocus(), e->Handle());
    SendMessageW(e->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(Ymd(e->Date()), L"2024-3-31") << "closed without a day: the date it had";
}

TEST_F(DateEditTest, TheDropDownTakesTheSkinAsItIsWhenItOpens) {
    TbsSkinDateEdit* e = Edit();
    e->ButtonClick(e);
    EXPECT_EQ(ColorToRGB(e->Calendar()->CalActiveFontColor) & 0xFFFFFF, 51200) << "the fixture's stdlabel";
    SendMessageW(e->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    // The same container loads another skin: the calendar is outside the form's walk and reads it at the next opening.
    host_->data->LoadFromFile(FixtureVariant(L"calendar_labelcolour", [](std::string& t) {
        ReplaceAll(t, "activefontcolor=51200", "activefontcolor=255");
    }));
    Pump(20);
    e->ButtonClick(e);
    EXPECT_EQ(ColorToRGB(e->Calendar()->CalActiveFontColor) & 0xFFFFFF, 255);
    SendMessageW(e->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
}

TEST_F(DateEditTest, NearTheScreenBottomTheCalendarOpensAbove) {
    const TRect saved = host_->form->BoundsRect();
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    host_->form->SetBounds(saved.Left, screenH - 120, saved.Width(), saved.Height());
    Pump(20);
    TbsSkinDateEdit* e = Edit();
    e->ButtonClick(e);
    Pump(20);
    ASSERT_TRUE(e->DroppedDown());
    RECT er{}, cr{};
    GetWindowRect(e->Handle(), &er);
    GetWindowRect(e->Calendar()->Handle(), &cr);
    EXPECT_EQ(cr.top, er.top - 150);
    EXPECT_EQ(cr.left, er.left);
    SendMessageW(e->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    host_->form->SetBounds(saved.Left, saved.Top, saved.Width(), saved.Height());
    Pump(20);
}

TEST_F(DateEditTest, TheTranslucentDropDownFadesInToItsOpacityAndIsPlainOnceClosed) {
    FakeSeam seam;  // a clock that stands still: the fade ends at its target all the same
    TbsSkinDateEdit* e = Edit();
    e->SetAlphaBlend(true);
    e->SetAlphaBlendAnimation(true);
    e->SetAlphaBlendValue(200);
    e->ButtonClick(e);
    ASSERT_TRUE(e->DroppedDown());
    const HWND cal = e->Calendar()->Handle();
    EXPECT_TRUE(GetWindowLongW(cal, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(cal, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 200);
    SendMessageW(e->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(GetWindowLongW(cal, GWL_EXSTYLE) & WS_EX_LAYERED) << "closed, the window is plain again";
    // Without the animation the opacity is set at once.
    e->SetAlphaBlendAnimation(false);
    e->SetAlphaBlendValue(120);
    e->ButtonClick(e);
    ASSERT_TRUE(GetLayeredWindowAttributes(cal, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 120);
    SendMessageW(e->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
}

}  // namespace
