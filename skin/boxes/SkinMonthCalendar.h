// TbsSkinMonthCalendar: one month as a grid of day numbers on a skinned panel: a caption with the month and year, four
// repeat buttons for the previous and next month and year, a row of weekday names, up to six week rows, optional ISO
// week numbers and an optional line with today's date. A click on a day selects it (OnNumberClick); a click on the
// caption opens a skinned menu of the twelve months. No keyboard handling.
// TbsSkinPopupMonthCalendar is the same in a top-level pop-up window that never takes the focus (the date edit's
// drop-down).
//
// The arithmetic lives in CalendarLogic.h. The layout values of the last paint serve the hit test; before the first
// paint a click finds nothing. The current moment and whether the system speaks Chinese can be injected.
// Index: TbsCalendarClock, TbsSkinMonthCalendar, TbsSkinPopupMonthCalendar, CalendarTodayCaption.
//
// Ownership: the four buttons and the month menu belong to the calendar; the skin container is borrowed. GUI thread
// only.
#pragma once

#include <functional>
#include <string>

#include "classlib/SysUtils.h"
#include "skin/boxes/CalendarLogic.h"
#include "skin/controls/SkinPanel.h"

class TbsSkinSpeedButton;
class TbsSkinPopupMenu;

using TbsCalendarClock = std::function<TDateTime()>;

// The "today" caption of the system's common controls library (its string 4163); empty when it cannot be loaded.
const std::wstring& CalendarTodayCaption();

class TbsSkinMonthCalendar : public TbsSkinPanel {
  public:
    explicit TbsSkinMonthCalendar(TComponent* AOwner);
    ~TbsSkinMonthCalendar() override;

    TDateTime Date() const { return FDate; }
    void SetDate(TDateTime Value);
    TbsDaysOfWeek FirstDayOfWeek() const { return FFirstDayOfWeek; }
    void SetFirstDayOfWeek(TbsDaysOfWeek Value);
    bool WeekNumbers() const { return FWeekNumbers; }
    void SetWeekNumbers(bool Value);
    bool ShowToday() const { return FShowToday; }
    void SetShowToday(bool Value);
    bool TodayDefault() const { return FTodayDefault; }
    void SetTodayDefault(bool Value);
    bool BoldDays() const { return FBoldDays; }
    void SetBoldDays(bool Value);
    bool ShowMonthMenu() const { return FShowMonthMenu; }
    void SetShowMonthMenu(bool Value) { FShowMonthMenu = Value; }

    TNotifyEvent OnNumberClick;

    // Where "now" comes from (empty: the local clock).
    void SetClock(TbsCalendarClock Value) { FClock = std::move(Value); }
    TDateTime CurrentMoment() const { return FClock ? FClock() : Now(); }
    bool IsChina() const { return FIsChina; }
    void SetIsChina(bool Value);
    // The month and day names and the short date format (the library's own unless set).
    const TFormatSettings& CalendarFormat() const { return FFormat; }
    void SetCalendarFormat(const TFormatSettings& Value);
    const std::wstring& TodayCaption() const { return FTodayCaption; }
    void SetTodayCaption(const std::wstring& Value);

    // Text colours taken from the skin's "stdlabel" entry (the last ones taken).
    TColor CalFontColor = 0;
    TColor CalActiveFontColor = 0;

    // The layout of the last paint and the height of the today line.
    const TbsCalendarLayout& Layout() const { return FLayout; }
    int BottomOffset() const { return FBottomOffset; }
    // The buttons: 0 previous month, 1 next month, 2 previous year, 3 next year.
    TbsSkinSpeedButton* Button(int Index) const;
    TbsSkinPopupMenu* MonthMenu() const { return FMonthMenu; }
    bool MenuPopup() const { return FMenuPopup; }

    void SetSkinData(TbsSkinData* Value) override;
    void ChangeSkinData() override;
    void SetDefaultCaptionHeight(int Value) override;
    void SetCaptionMode(bool Value) override;
    void Loaded() override;
    void WndProc(TMessage& Message) override;

  protected:
    void Paint() override;
    void PaintTransparent(TCanvas* C) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  private:
    void ArrangeButtons();
    void MakeGlyphs();
    void StepClick(int Which);
    void OpenMonthMenu(int X, int Y);
    void DrawCalendar(TCanvas* C);
    void DrawFadingLine(TCanvas* C, int X, int Y, int Length, bool Vertical, TColor Color);
    void DrawSelectedFrame(TCanvas* C, const TRect& Cell, TColor& NumberColor);

    TDateTime FDate = 0;
    TbsDaysOfWeek FFirstDayOfWeek = Sun;
    bool FWeekNumbers = false, FShowToday = false, FTodayDefault = false, FBoldDays = false;
    bool FShowMonthMenu = true;
    bool FMenuPopup = false;
    bool FIsChina = false;
    TbsCalendarClock FClock;
    TFormatSettings FFormat;
    std::wstring FTodayCaption;
    TbsCalendarLayout FLayout;
    int FBottomOffset = 0;
    bool FDrawnInImage = false;
    TbsSkinSpeedButton* FBtns[4] = {};       // owned (components of the calendar)
    TbsSkinPopupMenu* FMonthMenu = nullptr;  // owned, made on first use
};

class TbsSkinPopupMonthCalendar : public TbsSkinMonthCalendar {
  public:
    explicit TbsSkinPopupMonthCalendar(TComponent* AOwner);
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;
};
