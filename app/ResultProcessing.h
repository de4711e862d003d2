// What the notifier does with the outcome of a check round and with the user's actions on popups and the tray:
// the unread total, the mail sound, one popup message per new letter, the tray hint and image, the 700 ms blink
// and sound-repeat tick, and the popup style and size. Window-free: the window acts through TNotifyHost.
// Index: HtmlBold, HtmlCenter, HtmlAngles, DateTimeSecText, LetterPage, LetterPopupText, TNotifyContext,
// AddAlertMessage, ProcessCheckResults, MorgIconTick, AlertClick, AlertClose, AlertDeleteMessage, ClearMessages,
// ShowMessages, TrayClick, AlertStyleForSkin, TPopupSize, PopupSizeFor.
#pragma once

#include <cstdint>
#include <string>

#include "app/DataModel.h"
#include "app/LangTable.h"
#include "app/NotifyHost.h"
#include "app/RunState.h"
#include "classlib/SysUtils.h"

// Language line of the tray hint "unread messages".
inline constexpr int kUnreadHintLine = 42;
// Tray images: 0 idle, 1 to 10 the unread count, 11 a check in progress, 12 a reminder alarm.
inline constexpr int kTrayIdle = 0;
inline constexpr int kTrayCountMax = 10;
inline constexpr int kTrayChecking = 11;
inline constexpr int kTrayAlarm = 12;
// Blink ticks after which a reminder sound repeats (about 59.5 s at 700 ms).
inline constexpr int kReminderRepeatTicks = 85;

std::wstring HtmlBold(const std::wstring& text);
std::wstring HtmlCenter(const std::wstring& text);
// "<" and ">" as "&lt;" and "&gt;": a letter's own text shows literally and cannot open tags in the popup.
std::wstring HtmlAngles(const std::wstring& text);
// The short date, then "   hh:nn:ss".
std::wstring DateTimeSecText(TDateTime dt, const TFormatSettings& fs);
// The web page of a letter: UrlVhod, else "http://" and the trimmed Domain.
std::wstring LetterPage(const AListPism& letter);
// The popup text of one new letter; accountCount other than 1 adds " - login@domain".
std::wstring LetterPopupText(const AListPism& letter, size_t accountCount, const TFormatSettings& fs);

struct TNotifyContext {
    TNotifierLists& Lists;
    const TSettings& Settings;
    TRunState& Run;
    const TLanguage& Lang;
    const TFormatSettings& Fs;
    TNotifyHost& Host;
};

// One popup message of kind kPopupKindLetter (with the letter's page) or kPopupKindReminder (page empty).
void AddAlertMessage(TNotifyContext& c, const std::wstring& text, uint8_t kind, const std::wstring& page = L"");

// The result processing after a round or a watchdog stop; called only while no check runs (the scheduler counts
// a watchdog tick instead, TCheckScheduler::ProcessResults). Unless an alarm holds it, the tray hint gets the
// unread count and a line per account whose last check failed (CheckFailureHint).
void ProcessCheckResults(TNotifyContext& c);

// Timer_MorgIcon, every 700 ms: blink the tray image and repeat the mail or reminder sound.
void MorgIconTick(TNotifyContext& c);

// OnAlertClick with the active message (1-based, 0 when it could not be read).
void AlertClick(TNotifyContext& c, int activeMessage);
// OnClose: ends the sound repeats and the alarm.
void AlertClose(TNotifyContext& c);
// OnDeleteMessage with the index of the deleted message.
void AlertDeleteMessage(TNotifyContext& c, int index);
// Tray menu Clear_Soob.
void ClearMessages(TNotifyContext& c);
// Tray menu PokazSoob.
void ShowMessages(TNotifyContext& c);
// Tray icon click: the web page of the newest letter.
void TrayClick(TNotifyContext& c);

// The alert window's colour style for a skin, by the style's name ("asOffice2010Black", ... "asTerminal").
std::wstring AlertStyleForSkin(int skinIndex);
struct TPopupSize {
    int Width;
    int Height;
};
// Larger popups when they show the letter text.
TPopupSize PopupSizeFor(int screenWidth, int screenHeight, bool otobrTextEm);
