// The editors' rules: the duplicate rules and their texts, refusals, storing, sorting twice, the drag move.
#include <gtest/gtest.h>

#include "app/Editors.h"

namespace {

TLanguage Russian() {
    struct Sink : TLanguageSink {
        void SetRussianResourceStrings(bool) override {}
        void ShowWarning(const std::wstring&) override {}
        void ApplyText(const TLangApplyEntry&, const std::wstring&) override {}
    } sink;
    TLanguage lang;
    TSettings settings;
    lang.Apply(settings, L"C:\\nowhere", sink);
    return lang;
}

TFormatSettings Fs() {
    TFormatSettings fs = TFormatSettings::Invariant();
    fs.ShortDateFormat = L"dd/MM/yyyy";
    return fs;
}

std::unique_ptr<AListEm> Account(const wchar_t* login,
                                 const wchar_t* parol,
                                 const wchar_t* domain,
                                 const wchar_t* host = L"imap.x",
                                 int port = 993) {
    auto a = std::make_unique<AListEm>();
    a->Login = login;
    a->Parol = parol;
    a->Domain = domain;
    a->HostIMAP = host;
    a->PortIMAP = port;
    return a;
}

TAccountEditor Editor(const wchar_t* login, const wchar_t* parol, const wchar_t* domain, const wchar_t* host = L"h") {
    TAccountEditor e;
    e.Login = login;
    e.Parol = parol;
    e.Domain = domain;
    e.HostIMAP = host;
    return e;
}

TEST(AccountEditor, DuplicatesIgnoreLetterCaseAndAnotherPasswordIsAnotherAccount) {
    const TLanguage lang = Russian();
    TNotifierLists lists;
    lists.Accounts.push_back(Account(L"ivan", L"Pass", L"mail.ru"));
    struct Case {
        TAccountEditor editor;
        int edited;
        TEditVerdict verdict;
        std::wstring warning;
    } cases[] = {
        {Editor(L"IVAN", L"pass", L"Mail.RU"), -1, TEditVerdict::Duplicate, L"IVAN@Mail.RU уже существует в списке"},
        {Editor(L" ivan ", L"Pass", L"mail.ru"), -1, TEditVerdict::Duplicate,
         L" ivan @mail.ru уже существует в списке"},
        {Editor(L"ivan", L"other", L"mail.ru"), -1, TEditVerdict::Accept, L""},
        {Editor(L"ivan", L"Pass", L"mail.ru", L"new.host"), 0, TEditVerdict::Accept, L""},
        {Editor(L"", L"Pass", L"mail.ru"), -1, TEditVerdict::Refuse, L""},
        {Editor(L"ivan", L"  ", L"mail.ru"), -1, TEditVerdict::Refuse, L""},
        {Editor(L"ivan", L"p", L""), -1, TEditVerdict::Refuse, L""},
        {Editor(L"ivan", L"p", L"d", L" "), -1, TEditVerdict::Refuse, L""},
    };
    for (const Case& c : cases) {
        const TEditCheck check = ValidateAccount(lists, c.editor, c.edited, lang);
        EXPECT_EQ(check.Verdict, c.verdict) << c.editor.Login.size();
        EXPECT_EQ(check.Warning, c.warning);
    }
}

TEST(AccountEditor, StoringTrimsAndForgetsWhatWasAnnouncedForTheAccount) {
    AListEm account = *Account(L"ivan", L"p", L"mail.ru", L"old.host");
    account.ProvEm = 45000;
    account.KolEm = 3;
    const uint32_t generation = account.Generation;
    TAnnouncedLetters announced;
    announced.Add(TAnnouncedLetters::KeyOf(CopyAccount(account)), 7, {1, 2});
    TAccountEditor e = Editor(L" ivan ", L" p ", L" mail.ru ", L" new.host ");
    e.UrlVhod = L" https://mail.ru/ ";
    e.PortIMAP = 995;
    EditorToAccount(e, account, &announced);
    EXPECT_EQ(account.Login, L"ivan");
    EXPECT_EQ(account.HostIMAP, L"new.host");
    EXPECT_EQ(account.UrlVhod, L"https://mail.ru/");
    EXPECT_EQ(account.PortIMAP, 995);
    EXPECT_EQ(account.ProvEm, 0);
    EXPECT_EQ(account.KolEm, 0);
    EXPECT_NE(account.Generation, generation);
    AListEm old = account;
    old.HostIMAP = L"old.host";
    old.PortIMAP = 993;
    EXPECT_FALSE(announced.Contains(TAnnouncedLetters::KeyOf(CopyAccount(old)), 7, 1));
}

TEventEditor Event(const wchar_t* name, const wchar_t* time, const wchar_t* date, std::initializer_list<int> days) {
    TEventEditor e;
    e.Name = name;
    e.TimeText = time;
    e.DateText = date;
    for (int d : days)
        e.DnNedel[static_cast<size_t>(d)] = true;
    return e;
}

TEST(EventEditor, RefusalsAndDuplicateTexts) {
    const TLanguage lang = Russian();
    const TFormatSettings fs = Fs();
    TNotifierLists lists;
    auto weekly = std::make_unique<AListSob>();
    EditorToEvent(Event(L"Зарядка", L"07:00", L"  /  /    ", {1}), *weekly, fs);
    lists.Events.push_back(std::move(weekly));
    auto dated = std::make_unique<AListSob>();
    EditorToEvent(Event(L"Отпуск", L"09:30", L"01/07/2027", {}), *dated, fs);
    EXPECT_GT(dated->Date, kFirstDatedDay);
    lists.Events.push_back(std::move(dated));
    struct Case {
        TEventEditor editor;
        int edited;
        TEditVerdict verdict;
        std::wstring warning;
    } cases[] = {
        {Event(L"зарядка", L"08:15", L"", {1, 5}), -1, TEditVerdict::Duplicate,
         L"Зарядка - Пн - уже существует в списке"},
        {Event(L"Зарядка", L"07:00", L"", {1}), -1, TEditVerdict::Duplicate, L"Зарядка уже существует в списке"},
        {Event(L"Зарядка", L"07:00", L"", {1}), 0, TEditVerdict::Accept, L""},
        {Event(L"Зарядка", L"07:00", L"", {2}), -1, TEditVerdict::Accept, L""},
        {Event(L"ОТПУСК", L"09:30", L"01/07/2027", {}), -1, TEditVerdict::Duplicate, L"Отпуск уже существует в списке"},
        {Event(L"Отпуск", L"09:31", L"01/07/2027", {}), -1, TEditVerdict::Accept, L""},
        {Event(L"Без дня", L"07:00", L"  /  /    ", {}), -1, TEditVerdict::Refuse, L""},
        {Event(L"  ", L"07:00", L"", {1}), -1, TEditVerdict::Refuse, L""},
        {Event(L"Время", L"25:00", L"", {1}), -1, TEditVerdict::Refuse, L""},
    };
    for (const Case& c : cases) {
        const TEditCheck check = ValidateEvent(lists, c.editor, c.edited, lang, fs);
        EXPECT_EQ(check.Verdict, c.verdict) << c.editor.TimeText.size();
        EXPECT_EQ(check.Warning, c.warning);
    }
}

TEST(EventEditor, BlankTimePositionsReadAsZerosAndAWeeklyReminderHasNoDate) {
    AListSob e;
    EditorToEvent(Event(L" Чай ", L" 7:3 ", L"01/07/2027", {3}), e, Fs());
    EXPECT_EQ(e.Name, L"Чай");
    EXPECT_NEAR(e.Time, (7 * 60 + 30) / 1440.0, 1e-9);
    EXPECT_EQ(e.Date, 0);
    EXPECT_EQ(PackWeekdays(e.DnNedel), 0x08);
}

TEST(Sorting, TheFirstClickSortsAscendingTheSecondDescendingAnotherColumnAscending) {
    TNotifierLists lists;
    lists.Accounts.push_back(Account(L"boris", L"p", L"b.ru", L"imap.c", 143));
    lists.Accounts.push_back(Account(L"Анна", L"p", L"a.ru", L"imap.a", 993));
    lists.Accounts.push_back(Account(L"alex", L"p", L"c.ru", L"imap.b", 25));
    TSortState state;
    EXPECT_EQ(state.Col, -1);
    auto logins = [&] {
        std::wstring s;
        for (const auto& a : lists.Accounts)
            s += a->Login + L",";
        return s;
    };
    ClickSortColumn(state, 0);
    SortAccounts(lists.Accounts, state);
    EXPECT_FALSE(state.Desc);
    EXPECT_EQ(logins(), L"alex,boris,Анна,");
    ClickSortColumn(state, 0);
    SortAccounts(lists.Accounts, state);
    EXPECT_TRUE(state.Desc);
    EXPECT_EQ(logins(), L"Анна,boris,alex,");
    ClickSortColumn(state, 2);
    SortAccounts(lists.Accounts, state);
    EXPECT_FALSE(state.Desc);
    EXPECT_EQ(logins(), L"Анна,alex,boris,");
    ClickSortColumn(state, 3);
    SortAccounts(lists.Accounts, state);
    EXPECT_EQ(logins(), L"alex,boris,Анна,");

    std::vector<std::unique_ptr<AListSob>> events;
    for (double ostal : {2.0, -0.5, 0.01}) {
        events.push_back(std::make_unique<AListSob>());
        events.back()->Ostal = ostal;
        events.back()->Time = 40000 + ostal;
    }
    TSortState byLeft;
    ClickSortColumn(byLeft, 2);
    SortEvents(events, byLeft);
    EXPECT_EQ(events[0]->Ostal, -0.5);
    EXPECT_EQ(events[2]->Ostal, 2.0);
}

TEST(DragMove, MovesOneEntryAndShiftsTheOthers) {
    struct Case {
        int from, to;
        std::vector<int> expected;
        bool moved;
    } cases[] = {
        {0, 2, {1, 2, 0, 3}, true},   {3, 1, {0, 3, 1, 2}, true},  {2, 2, {0, 1, 2, 3}, true},
        {-1, 2, {0, 1, 2, 3}, false}, {1, 4, {0, 1, 2, 3}, false},
    };
    for (const Case& c : cases) {
        std::vector<int> list{0, 1, 2, 3};
        EXPECT_EQ(MoveEntry(list, c.from, c.to), c.moved);
        EXPECT_EQ(list, c.expected);
    }
    std::vector<int> one{7};
    EXPECT_FALSE(MoveEntry(one, 0, 0));
}

}  // namespace
