// The account and reminder editors' rules without windows: what the editor fields may be stored as, the duplicate
// rules and their warning texts, storing an editor into a record, column sorting and the drag move of accounts.
// Index: TAccountEditor, TEventEditor, TEditVerdict, TEditCheck, ValidateAccount, EditorToAccount, ParseEventTime,
// ParseEventDate, ValidateEvent, EditorToEvent, TSortState, ClickSortColumn, SortAccounts, SortEvents, MoveEntry.
#pragma once

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/DataModel.h"
#include "app/LangTable.h"
#include "app/MailCheck.h"
#include "classlib/SysUtils.h"

// Language line that ends every duplicate warning ("... already in the list").
inline constexpr int kDuplicateLine = 43;
// First of the seven weekday lines, Monday (54) to Sunday (60).
inline constexpr int kFirstWeekdayLine = 54;
// A day number at or below this with no weekday marked cannot be a reminder's date.
inline constexpr int32_t kLastUndatedDay = 9998;

// The account editor's fields as typed.
struct TAccountEditor {
    std::wstring Domain;
    std::wstring UrlVhod;
    std::wstring Login;
    std::wstring Parol;
    std::wstring HostIMAP;
    int32_t PortIMAP = 993;
};

// The reminder editor's fields as typed: the masked time and date texts and the seven weekday boxes.
struct TEventEditor {
    std::wstring Name;
    std::wstring TimeText;
    std::wstring DateText;
    std::array<bool, 8> DnNedel{};  // 1 Monday .. 7 Sunday
};

enum class TEditVerdict {
    Accept,
    Refuse,     // an empty or unparsable field: refused without a word
    Duplicate,  // refused with Warning in the warning box
};

struct TEditCheck {
    TEditVerdict Verdict = TEditVerdict::Accept;
    std::wstring Warning;
};

// Login, password, domain and host must not be blank; no other account (editedIndex: the one being edited, or -1)
// may have the same login, password and domain ignoring letter case.
TEditCheck ValidateAccount(const TNotifierLists& lists,
                           const TAccountEditor& editor,
                           int editedIndex,
                           const TLanguage& lang);
// Stores the trimmed fields; the account's newest letter date and count start again, a running check's result
// becomes stale, and the letters announced for the account (as it was and as it is now) are forgotten, so the
// next check announces its unseen letters again.
void EditorToAccount(const TAccountEditor& editor, AListEm& account, TAnnouncedLetters* announced);

// The time editor's text (blanks read as zeros) as a time of day; false when it is not one.
bool ParseEventTime(const std::wstring& text, const TFormatSettings& fs, TDateTime& time);
// The date editor's text as a day number; 0 when it is not a date.
int32_t ParseEventDate(const std::wstring& text, const TFormatSettings& fs);

TEditCheck ValidateEvent(const TNotifierLists& lists,
                         const TEventEditor& editor,
                         int editedIndex,
                         const TLanguage& lang,
                         const TFormatSettings& fs);
// Name trimmed, the time, and either the weekdays (Date 0) or, with none marked, the date's day number.
void EditorToEvent(const TEventEditor& editor, AListSob& event, const TFormatSettings& fs);

// The sorted column of a list view (-1: none yet) and its direction.
struct TSortState {
    int Col = -1;
    bool Desc = false;
};
// A click on a column header: the same column again toggles the direction, another starts ascending.
void ClickSortColumn(TSortState& state, int column);
// Accounts by 0 login, 1 domain, 2 host (ignoring letter case) or 3 port; reminders by 0 time of day, 1 name or
// 2 days left. Equal entries keep their order.
void SortAccounts(std::vector<std::unique_ptr<AListEm>>& accounts, const TSortState& state);
void SortEvents(std::vector<std::unique_ptr<AListSob>>& events, const TSortState& state);

// Moves entry from to index to, the others shifting; false (nothing moved) with fewer than two entries or an
// index outside the list.
template <typename T>
bool MoveEntry(std::vector<T>& list, int from, int to) {
    const int n = static_cast<int>(list.size());
    if (n < 2 || from < 0 || to < 0 || from >= n || to >= n)
        return false;
    if (from < to)
        std::rotate(list.begin() + from, list.begin() + from + 1, list.begin() + to + 1);
    else if (from > to)
        std::rotate(list.begin() + to, list.begin() + from, list.begin() + from + 1);
    return true;
}
