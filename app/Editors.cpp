// The editors' rules: validation, duplicates, storing, sorting.
#include "app/Editors.h"

#include <cmath>

#include "app/EventText.h"

namespace {

bool Blank(const std::wstring& s) {
    return Trim(s).empty();
}

// Case-insensitive comparison of texts upper-cased first, as the sort and the duplicate rule see them.
int CompareNoCase(const std::wstring& a, const std::wstring& b) {
    return AnsiCompareText(AnsiUpperCase(a), AnsiUpperCase(b));
}

template <typename T>
int Sign(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

double TimeOfDay(TDateTime t) {
    return t - std::floor(t);
}

}  // namespace

TEditCheck ValidateAccount(const TNotifierLists& lists,
                           const TAccountEditor& editor,
                           int editedIndex,
                           const TLanguage& lang) {
    if (Blank(editor.Login) || Blank(editor.Parol) || Blank(editor.Domain) || Blank(editor.HostIMAP))
        return {TEditVerdict::Refuse, L""};
    const std::wstring login = Trim(editor.Login), parol = Trim(editor.Parol), domain = Trim(editor.Domain);
    for (size_t i = 0; i < lists.Accounts.size(); ++i) {
        if (static_cast<int>(i) == editedIndex)
            continue;
        const AListEm& a = *lists.Accounts[i];
        if (AnsiSameText(a.Login, login) && AnsiSameText(a.Parol, parol) && AnsiSameText(a.Domain, domain))
            return {TEditVerdict::Duplicate,
                    LoginAtDomain(editor.Login, editor.Domain) + L" " + lang.LangLine(kDuplicateLine)};
    }
    return {};
}

void EditorToAccount(const TAccountEditor& editor, AListEm& account, TAnnouncedLetters* announced) {
    if (announced)
        announced->Forget(TAnnouncedLetters::KeyOf(CopyAccount(account)));
    account.Domain = Trim(editor.Domain);
    account.UrlVhod = Trim(editor.UrlVhod);
    account.Login = Trim(editor.Login);
    account.Parol = Trim(editor.Parol);
    account.HostIMAP = Trim(editor.HostIMAP);
    account.PortIMAP = editor.PortIMAP;
    account.ProvEm = 0;
    account.KolEm = 0;
    MarkAccountEdited(account);
    if (announced)
        announced->Forget(TAnnouncedLetters::KeyOf(CopyAccount(account)));
}

bool ParseEventTime(const std::wstring& text, const TFormatSettings& fs, TDateTime& time) {
    return TryStrToTime(ZeroFillTime(text), time, fs);
}

int32_t ParseEventDate(const std::wstring& text, const TFormatSettings& fs) {
    TDateTime date = 0;
    if (!TryStrToDate(Trim(text), date, fs))
        return 0;
    return static_cast<int32_t>(std::trunc(date));
}

TEditCheck ValidateEvent(const TNotifierLists& lists,
                         const TEventEditor& editor,
                         int editedIndex,
                         const TLanguage& lang,
                         const TFormatSettings& fs) {
    const std::wstring name = Trim(editor.Name);
    if (name.empty())
        return {TEditVerdict::Refuse, L""};
    TDateTime time = 0;
    if (!ParseEventTime(editor.TimeText, fs, time))
        return {TEditVerdict::Refuse, L""};
    const uint8_t days = PackWeekdays(editor.DnNedel);
    const int32_t date = ParseEventDate(editor.DateText, fs);
    if (days == 0 && date <= kLastUndatedDay)
        return {TEditVerdict::Refuse, L""};
    for (size_t i = 0; i < lists.Events.size(); ++i) {
        if (static_cast<int>(i) == editedIndex)
            continue;
        const AListSob& e = *lists.Events[i];
        if (!AnsiSameText(Trim(e.Name), name))
            continue;
        if (e.Time == time && PackWeekdays(e.DnNedel) == days && e.Date == date)
            return {TEditVerdict::Duplicate, e.Name + L" " + lang.LangLine(kDuplicateLine)};
        if (e.Date <= kLastUndatedDay && date <= kLastUndatedDay) {
            for (int d = 1; d <= 7; ++d) {
                if (e.DnNedel[static_cast<size_t>(d)] && editor.DnNedel[static_cast<size_t>(d)])
                    return {TEditVerdict::Duplicate, e.Name + L" - " + lang.LangLine(kFirstWeekdayLine + d - 1) +
                                                         L" - " + lang.LangLine(kDuplicateLine)};
            }
        }
    }
    return {};
}

void EditorToEvent(const TEventEditor& editor, AListSob& event, const TFormatSettings& fs) {
    event.Name = Trim(editor.Name);
    TDateTime time = 0;
    event.Time = ParseEventTime(editor.TimeText, fs, time) ? time : 0;
    event.Date = 0;
    event.DnNedel = editor.DnNedel;
    event.DnNedel[0] = false;
    if (PackWeekdays(event.DnNedel) == 0)
        event.Date = ParseEventDate(editor.DateText, fs);
}

void ClickSortColumn(TSortState& state, int column) {
    if (state.Col == column)
        state.Desc = !state.Desc;
    else
        state.Desc = false;
    state.Col = column;
}

void SortAccounts(std::vector<std::unique_ptr<AListEm>>& accounts, const TSortState& state) {
    auto compare = [&](const std::unique_ptr<AListEm>& a, const std::unique_ptr<AListEm>& b) {
        int c = 0;
        switch (state.Col) {
            case 0:
                c = CompareNoCase(a->Login, b->Login);
                break;
            case 1:
                c = CompareNoCase(a->Domain, b->Domain);
                break;
            case 2:
                c = CompareNoCase(a->HostIMAP, b->HostIMAP);
                break;
            case 3:
                c = Sign(a->PortIMAP, b->PortIMAP);
                break;
            default:
                break;
        }
        return (state.Desc ? -c : c) < 0;
    };
    std::stable_sort(accounts.begin(), accounts.end(), compare);
}

void SortEvents(std::vector<std::unique_ptr<AListSob>>& events, const TSortState& state) {
    auto compare = [&](const std::unique_ptr<AListSob>& a, const std::unique_ptr<AListSob>& b) {
        int c = 0;
        switch (state.Col) {
            case 0:
                c = Sign(TimeOfDay(a->Time), TimeOfDay(b->Time));
                break;
            case 1:
                c = CompareNoCase(a->Name, b->Name);
                break;
            case 2:
                c = Sign(a->Ostal, b->Ostal);
                break;
            default:
                break;
        }
        return (state.Desc ? -c : c) < 0;
    };
    std::stable_sort(events.begin(), events.end(), compare);
}
