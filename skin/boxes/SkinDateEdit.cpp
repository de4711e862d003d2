#include "skin/boxes/SkinDateEdit.h"

#include <windows.h>

#include "classlib/Forms.h"
#include "skin/controls/PopupFade.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinUtils.h"

namespace {

// Sets a flag for the life of the scope.
struct TScopeFlag {
    bool& f;
    const bool saved;
    explicit TScopeFlag(bool& flag) : f(flag), saved(flag) { f = true; }
    ~TScopeFlag() { f = saved; }
};

}  // namespace

TbsSkinDateEdit::TbsSkinDateEdit(TComponent* AOwner) : TbsSkinCustomEdit(AOwner), FFormat(FormatSettings) {
    SetSkinDataName(L"buttonedit");
    SetButtonMode(true);
    // The push button shows a drop-down arrow of its own (a list set by the owner takes its place).
    FButtonGlyphs = new TCustomImageList(this, 9, 9);
    TBitmap arrow(9, 9);
    arrow.Canvas()->Brush()->SetColor(clFuchsia);
    arrow.Canvas()->FillRect({0, 0, 9, 9});
    DrawArrowImage(arrow.Canvas(), {0, 0, 9, 9}, clBtnText, 4);
    FButtonGlyphs->AddMasked(&arrow, clFuchsia);
    SetImages(FButtonGlyphs);
    SetButtonImageIndex(0);
    FMonthCalendar = new TbsSkinPopupMonthCalendar(this);
    FMonthCalendar->SetVisible(false);
    FMonthCalendar->SetDate(0);
    FMonthCalendar->SetCalendarFormat(FFormat);
    FMonthCalendar->OnNumberClick = [this](TObject*) { FDateSelected = true; };
    FMonthCalendar->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        if (FDateSelected)
            CloseUp(true);
    };
    OnButtonClick = [this](TObject* Sender) { ButtonClick(Sender); };
    ApplyMask();
}

TbsSkinDateEdit::~TbsSkinDateEdit() = default;

TDateTime TbsSkinDateEdit::CurrentMoment() const {
    return FClock ? FClock() : Now();
}

void TbsSkinDateEdit::SetClock(TbsCalendarClock Value) {
    FClock = Value;
    FMonthCalendar->SetClock(std::move(Value));
}

void TbsSkinDateEdit::SetDateFormatSettings(const TFormatSettings& Value) {
    FFormat = Value;
    FMonthCalendar->SetCalendarFormat(Value);
    const TDateTime date = Date();
    ApplyMask();
    if (date != 0)
        ShowDate(date);
}

void TbsSkinDateEdit::ApplyMask() {
    FEditFormat = DateEditFormat(FFormat.ShortDateFormat, FBlanksChar);
    TScopeFlag stop(StopCheck);
    DateSeparator = FFormat.DateSeparator;
    SetEditMask(FEditFormat.Mask);
}

void TbsSkinDateEdit::Loaded() {
    TbsSkinCustomEdit::Loaded();
    ApplyMask();
    if (FTodayDefault)
        SetDate(CurrentMoment());
}

TDateTime TbsSkinDateEdit::Date() const {
    return FMonthCalendar->Date();
}

void TbsSkinDateEdit::ShowDate(TDateTime Value) {
    TScopeFlag stop(StopCheck);
    // No date shows the blank mask rather than the calendar's day zero.
    SetEditText(Value == 0 ? std::wstring() : DateEditText(Value, FEditFormat, FFormat.DateSeparator));
}

void TbsSkinDateEdit::SetDate(TDateTime Value) {
    FMonthCalendar->SetDate(Value);
    if (!ComponentState().Contains(csLoading) || FTodayDefault)
        ShowDate(Value);
    if (OnDateChange)
        OnDateChange(this);
}

void TbsSkinDateEdit::SetTodayDefault(bool Value) {
    FTodayDefault = Value;
    if (FTodayDefault)
        SetDate(CurrentMoment());
}

int TbsSkinDateEdit::CalendarWidth() const {
    return FMonthCalendar->Width();
}
void TbsSkinDateEdit::SetCalendarWidth(int Value) {
    FMonthCalendar->SetWidth(Value);
}
int TbsSkinDateEdit::CalendarHeight() const {
    return FMonthCalendar->Height();
}
void TbsSkinDateEdit::SetCalendarHeight(int Value) {
    FMonthCalendar->SetHeight(Value);
}
TFont* TbsSkinDateEdit::CalendarFont() {
    return FMonthCalendar->DefaultFont();
}
void TbsSkinDateEdit::SetCalendarFont(TFont* Value) {
    FMonthCalendar->SetDefaultFont(Value);
}
bool TbsSkinDateEdit::CalendarUseSkinFont() const {
    return FMonthCalendar->UseSkinFont();
}
void TbsSkinDateEdit::SetCalendarUseSkinFont(bool Value) {
    FMonthCalendar->SetUseSkinFont(Value);
}
const std::wstring& TbsSkinDateEdit::CalendarSkinDataName() const {
    return FMonthCalendar->SkinDataName();
}
void TbsSkinDateEdit::SetCalendarSkinDataName(const std::wstring& Value) {
    FMonthCalendar->SetSkinDataName(Value);
}
bool TbsSkinDateEdit::CalendarBoldDays() const {
    return FMonthCalendar->BoldDays();
}
void TbsSkinDateEdit::SetCalendarBoldDays(bool Value) {
    FMonthCalendar->SetBoldDays(Value);
}
TbsDaysOfWeek TbsSkinDateEdit::FirstDayOfWeek() const {
    return FMonthCalendar->FirstDayOfWeek();
}
void TbsSkinDateEdit::SetFirstDayOfWeek(TbsDaysOfWeek Value) {
    FMonthCalendar->SetFirstDayOfWeek(Value);
}
bool TbsSkinDateEdit::WeekNumbers() const {
    return FMonthCalendar->WeekNumbers();
}
void TbsSkinDateEdit::SetWeekNumbers(bool Value) {
    FMonthCalendar->SetWeekNumbers(Value);
}
bool TbsSkinDateEdit::ShowToday() const {
    return FMonthCalendar->ShowToday();
}
void TbsSkinDateEdit::SetShowToday(bool Value) {
    FMonthCalendar->SetShowToday(Value);
}

TDateTime TbsSkinDateEdit::TextDate() {
    int year = 0, month = 0, day = 0;
    DecodeDate(CurrentMoment(), year, month, day);
    return ParseDateEditText(EditText(), FEditFormat, FFormat.DateSeparator, FBlanksChar, FFormat.LongMonthNames, year);
}

bool TbsSkinDateEdit::IsDateInput() {
    return TextDate() != 0;
}

void TbsSkinDateEdit::Change() {
    TbsSkinCustomEdit::Change();
    TextChanged();
}

void TbsSkinDateEdit::TextChanged() {
    // The window is multi-line: a text put in by the mask sends no change notice, only the text-changed message;
    // a text seen already is not read twice.
    const std::wstring text = EditText();
    if (text == FCheckedText)
        return;
    FCheckedText = text;
    if (StopCheck)
        return;
    const TDateTime d = TextDate();
    if (d == 0)
        return;
    FMonthCalendar->SetDate(d);
    if (OnDateChange)
        OnDateChange(this);
}

void TbsSkinDateEdit::ValidateEdit() {
    // An incomplete date may be left: no error, the focus goes where it was sent.
}

bool TbsSkinDateEdit::DroppedDown() const {
    return FMonthCalendar->HandleAllocated() && IsWindowVisible(FMonthCalendar->Handle());
}

void TbsSkinDateEdit::ButtonClick(TObject* /*Sender*/) {
    if (DroppedDown())
        CloseUp(false);
    else
        DropDown();
}

void TbsSkinDateEdit::DropDown() {
    if (!HandleAllocated())
        return;
    FDateSelected = false;
    if (!FTodayDefault) {
        FOldDateValue = FMonthCalendar->Date();
        if (FOldDateValue == 0 && EditText().find(L' ') != std::wstring::npos)
            FMonthCalendar->SetDate(CurrentMoment());
    }
    // The calendar's window is owned by the edit's: it stays above the form and goes with it.
    FMonthCalendar->SetParentWindow(Handle());
    RECT wr{};
    GetWindowRect(Handle(), &wr);
    int y = wr.top + Height();
    if (y + FMonthCalendar->Height() > GetSystemMetrics(SM_CYSCREEN))
        y = wr.top - FMonthCalendar->Height();
    const HWND cal = FMonthCalendar->Handle();
    const bool layered = FAlphaBlend && CheckW2KWXP();
    if (layered) {
        SetPopupLayered(cal, true);
        SetPopupAlpha(cal, 0);
    }
    // The calendar is outside the form's skin walk: it takes the edit's skin, as it is now, at every drop-down.
    if (FMonthCalendar->SkinData() == SkinData())
        FMonthCalendar->ChangeSkinData();
    else
        FMonthCalendar->SetSkinData(SkinData());
    SetWindowPos(cal, HWND_TOP, wr.left, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    FMonthCalendar->SetVisible(true);
    if (!layered)
        return;
    if (FAlphaBlendAnimation) {
        FadeInPopup(cal, FAlphaBlendValue);
    } else {
        Application->ProcessMessages();
        SetPopupAlpha(cal, FAlphaBlendValue);
    }
}

void TbsSkinDateEdit::CloseUp(bool Accept) {
    if (!DroppedDown())
        return;
    const HWND cal = FMonthCalendar->Handle();
    SetWindowPos(cal, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FMonthCalendar->SetVisible(false);
    if (FAlphaBlend && CheckW2KWXP())
        SetPopupLayered(cal, false);
    if (Accept) {
        ShowDate(FMonthCalendar->Date());
        if (OnDateChange)
            OnDateChange(this);
    } else if (!FTodayDefault) {
        FMonthCalendar->SetDate(FOldDateValue);
    }
    if (CanFocus() && GetFocus() != Handle())
        SetFocus();
}

void TbsSkinDateEdit::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYDOWN:
            if (DroppedDown())
                CloseUp(false);
            break;
        case WM_KILLFOCUS:
            if (DroppedDown()) {
                if (reinterpret_cast<HWND>(Message.WParam) != FMonthCalendar->Handle())
                    CloseUp(false);
            } else if (FTodayDefault) {
                ShowDate(FMonthCalendar->Date());
            }
            break;
        case CM_TEXTCHANGED:
        case WM_SETTEXT:  // from outside: the window text is the edit's text
            TbsSkinCustomEdit::WndProc(Message);
            TextChanged();
            return;
        case CM_CANCELMODE: {
            auto* sender = reinterpret_cast<TControl*>(Message.LParam);
            if (DroppedDown() && sender != FMonthCalendar && !(sender && FMonthCalendar->ContainsControl(sender)))
                CloseUp(false);
            break;
        }
        default:
            break;
    }
    TbsSkinCustomEdit::WndProc(Message);
}
