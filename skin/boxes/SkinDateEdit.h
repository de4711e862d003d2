// TbsSkinDateEdit: a skinned button edit with a date mask built from a short date format, a push button that drops a
// month calendar down, and the date kept in that calendar. Typing a text that reads as a valid date sets the date at
// once; a text that does not leaves it. The drop-down never takes the focus: a day clicked in it is accepted on the
// mouse release, and a key, a second button click, the focus leaving or a cancel-mode request closes it without
// taking its date.
//
// The rules of the text live in DateEditLogic.h. The format settings (the library's unless set) and the current
// moment can be injected; the drop-down fades in on the control seam's clock. Date 0 is no date: the edit shows its
// blank mask. Index: TbsSkinDateEdit.
//
// Ownership: the calendar belongs to the edit (a pop-up window owned by the edit's window); the skin container is
// borrowed. GUI thread only.
#pragma once

#include <string>

#include "skin/boxes/DateEditLogic.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/boxes/SkinMonthCalendar.h"

class TbsSkinDateEdit : public TbsSkinCustomEdit {
  public:
    explicit TbsSkinDateEdit(TComponent* AOwner);
    ~TbsSkinDateEdit() override;

    TDateTime Date() const;
    void SetDate(TDateTime Value);
    bool TodayDefault() const { return FTodayDefault; }
    void SetTodayDefault(bool Value);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    int AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(int Value) { FAlphaBlendValue = static_cast<std::uint8_t>(Value & 0xFF); }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    int CalendarWidth() const;
    void SetCalendarWidth(int Value);
    int CalendarHeight() const;
    void SetCalendarHeight(int Value);
    TFont* CalendarFont();
    void SetCalendarFont(TFont* Value);
    bool CalendarUseSkinFont() const;
    void SetCalendarUseSkinFont(bool Value);
    const std::wstring& CalendarSkinDataName() const;
    void SetCalendarSkinDataName(const std::wstring& Value);
    bool CalendarBoldDays() const;
    void SetCalendarBoldDays(bool Value);
    TbsDaysOfWeek FirstDayOfWeek() const;
    void SetFirstDayOfWeek(TbsDaysOfWeek Value);
    bool WeekNumbers() const;
    void SetWeekNumbers(bool Value);
    bool ShowToday() const;
    void SetShowToday(bool Value);

    TNotifyEvent OnDateChange;

    // The current text is a complete valid date.
    bool IsDateInput();
    // Drops the calendar down, or closes it without taking its date when it is open.
    void ButtonClick(TObject* Sender);

    // The format settings the mask, the text and the calendar's names follow; setting them builds the mask again.
    const TFormatSettings& DateFormatSettings() const { return FFormat; }
    void SetDateFormatSettings(const TFormatSettings& Value);
    const TbsDateEditFormat& EditFormat() const { return FEditFormat; }
    // Where "now" comes from (empty: the local clock); the calendar takes it too.
    void SetClock(TbsCalendarClock Value);

    TbsSkinPopupMonthCalendar* Calendar() const { return FMonthCalendar; }
    bool DroppedDown() const;

    void Loaded() override;
    void ValidateEdit() override;
    void WndProc(TMessage& Message) override;

  protected:
    void Change() override;

  private:
    TDateTime CurrentMoment() const;
    void ApplyMask();
    TDateTime TextDate();
    void TextChanged();
    void ShowDate(TDateTime Value);
    void DropDown();
    void CloseUp(bool Accept);

    bool StopCheck = false;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    std::uint8_t FAlphaBlendValue = 0;
    bool FTodayDefault = false;
    wchar_t FBlanksChar = L' ';
    bool FDateSelected = false;
    TDateTime FOldDateValue = 0;
    std::wstring FCheckedText;
    TFormatSettings FFormat;
    TbsDateEditFormat FEditFormat;
    TbsCalendarClock FClock;
    TbsSkinPopupMonthCalendar* FMonthCalendar = nullptr;  // owned (a component of the edit)
    TCustomImageList* FButtonGlyphs = nullptr;            // owned (a component of the edit)
};
