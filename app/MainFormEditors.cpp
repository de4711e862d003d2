// The main window's account and reminder editors and its four owner-data list views.
#include "app/MainForm.h"

#include <algorithm>

#include "app/EventText.h"
#include "app/MailCheck.h"
#include "app/Reminders.h"
#include "app/ResultProcessing.h"
#include "app/Sounds.h"
#include "app/WebLinks.h"

int TAAForm1::SpinValue(const wchar_t* name) const {
    const TSpin& spin = spins_.at(name);
    return static_cast<int>(std::clamp<double>(spin.Edit->Value(), spin.Min, spin.Max));
}

void TAAForm1::SetSpinValue(const wchar_t* name, int value) {
    TSpin& spin = spins_.at(name);
    spin.Edit->SetValue(std::clamp(value, spin.Min, spin.Max));
}

TAccountEditor TAAForm1::AccountEditor() const {
    TAccountEditor e;
    e.Domain = Ctl<TbsSkinComboBox>(L"Combo_PNDomain")->Text();
    e.UrlVhod = EditOf(L"Edit_UrlVhod")->Text();
    e.Login = EditOf(L"Edit_PNLogin")->Text();
    e.Parol = PasswordOf(L"PasswordEdit_PNParol")->Text();
    e.HostIMAP = EditOf(L"Edit_PNHostIMAP")->Text();
    e.PortIMAP = SpinValue(L"Spin_PNPortIMAP");
    return e;
}

TEventEditor TAAForm1::EventEditor() const {
    TEventEditor e;
    e.Name = EditOf(L"Edit_Sob")->Text();
    e.TimeText = MaskEditOf(L"Time_Sob")->EditText();
    e.DateText = MaskEditOf(L"Date_Sob")->EditText();
    const wchar_t* boxes[] = {L"Check_Pn", L"Check_Vt", L"Check_Sr", L"Check_Cht",
                              L"Check_Pt", L"Check_Sb", L"Check_Vs"};
    for (int d = 1; d <= 7; ++d)
        e.DnNedel[static_cast<size_t>(d)] = CheckOf(boxes[d - 1])->Checked();
    return e;
}

void TAAForm1::ZeroFillTimeSob() {
    auto* time = MaskEditOf(L"Time_Sob");
    time->SetEditText(ZeroFillTime(time->EditText()));
}

// ---- Accounts -------------------------------------------------------------------------------------------------------

void TAAForm1::Button_DobavClick() {
    const TEditCheck check = ValidateAccount(Lists, AccountEditor(), -1, Lang);
    if (check.Verdict == TEditVerdict::Duplicate)
        Okno_mbOK(check.Warning, true);
    if (check.Verdict != TEditVerdict::Accept)
        return;
    auto account = std::make_unique<AListEm>();
    EditorToAccount(AccountEditor(), *account, nullptr);
    InfoBeep();
    Lists.Accounts.push_back(std::move(account));
    ListView_Em->Items()->SetCount(static_cast<int>(Lists.Accounts.size()));
    SelectListItem(static_cast<int>(Lists.Accounts.size()) - 1, ListView_Em, true);
}

void TAAForm1::Button_RedaktClick() {
    const int index = ListView_Em->ItemIndex();
    if (index < 0 || index >= static_cast<int>(Lists.Accounts.size()))
        return;
    const TEditCheck check = ValidateAccount(Lists, AccountEditor(), index, Lang);
    if (check.Verdict == TEditVerdict::Duplicate)
        Okno_mbOK(check.Warning, true);
    if (check.Verdict != TEditVerdict::Accept)
        return;
    EditorToAccount(AccountEditor(), *Lists.Accounts[static_cast<size_t>(index)], Announced());
    InfoBeep();
    SelectListItem(index, ListView_Em, true);
}

void TAAForm1::Button_UdalClick() {
    const int index = ListView_Em->ItemIndex();
    if (index < 0 || index >= static_cast<int>(Lists.Accounts.size()))
        return;
    const TAccountEditor e = AccountEditor();
    if (!Okno_mbYes_No(Lang.LangLine(44) + L": " + LoginAtDomain(e.Login, e.Domain) + L" ?", true))
        return;
    Lists.Accounts.erase(Lists.Accounts.begin() + index);
    ListView_Em->Items()->SetCount(static_cast<int>(Lists.Accounts.size()));
    SelectListItem(index, ListView_Em, true);
    InfoBeep();
}

void TAAForm1::ListView_EmClick() {
    const int index = ListView_Em->ItemIndex();
    if (index < 0 || index >= static_cast<int>(Lists.Accounts.size()))
        return;
    const AListEm& a = *Lists.Accounts[static_cast<size_t>(index)];
    Ctl<TbsSkinComboBox>(L"Combo_PNDomain")->SetText(a.Domain);
    EditOf(L"Edit_UrlVhod")->SetText(a.UrlVhod);
    EditOf(L"Edit_PNLogin")->SetText(a.Login);
    PasswordOf(L"PasswordEdit_PNParol")->SetText(a.Parol);
    EditOf(L"Edit_PNHostIMAP")->SetText(a.HostIMAP);
    SetSpinValue(L"Spin_PNPortIMAP", a.PortIMAP);
}

void TAAForm1::ListView_EmDblClick() {
    const int index = ListView_Em->ItemIndex();
    if (index < 0 || index >= static_cast<int>(Lists.Accounts.size()))
        return;
    const AListEm& a = *Lists.Accounts[static_cast<size_t>(index)];
    AListPism page;
    page.UrlVhod = a.UrlVhod;
    page.Domain = a.Domain;
    OpenWebPage(LetterPage(page));
    InfoBeep();
}

void TAAForm1::ListView_EmColumnClick(int column) {
    if (Lists.Accounts.empty())
        return;
    ClickSortColumn(SortEm, column);
    SortAccounts(Lists.Accounts, SortEm);
    ListView_Em->Repaint();
    InfoBeep();
}

void TAAForm1::Combo_PNDomainCloseUp() {
    // Esc or a click elsewhere closes the list without a pick: a host typed by hand stays.
    if (!domainPicked_)
        return;
    domainPicked_ = false;
    const int index = Ctl<TbsSkinComboBox>(L"Combo_PNDomain")->ItemIndex();
    if (index < 0 || index >= static_cast<int>(Lists.ImapServers.size()))
        return;
    const AListImap& server = *Lists.ImapServers[static_cast<size_t>(index)];
    EditOf(L"Edit_PNHostIMAP")->SetText(server.UrlImap);
    SetSpinValue(L"Spin_PNPortIMAP", server.PortImap);
}

// ---- Reminders ------------------------------------------------------------------------------------------------------

void TAAForm1::Button_DobavSobClick() {
    ZeroFillTimeSob();
    const TEditCheck check = ValidateEvent(Lists, EventEditor(), -1, Lang, Fs);
    if (check.Verdict == TEditVerdict::Duplicate)
        Okno_mbOK(check.Warning, true);
    if (check.Verdict != TEditVerdict::Accept)
        return;
    auto event = std::make_unique<AListSob>();
    EditorToEvent(EventEditor(), *event, Fs);
    event->BilSoob = false;
    Lists.Events.push_back(std::move(event));
    UpdateDaysLeft(Lists, Now());
    InfoBeep();
    ListView_Sob->Items()->SetCount(static_cast<int>(Lists.Events.size()));
    SelectListItem(static_cast<int>(Lists.Events.size()) - 1, ListView_Sob, true);
}

void TAAForm1::Button_RedaktSobClick() {
    const int index = ListView_Sob->ItemIndex();
    if (index < 0 || index >= static_cast<int>(Lists.Events.size()))
        return;
    ZeroFillTimeSob();
    const TEditCheck check = ValidateEvent(Lists, EventEditor(), index, Lang, Fs);
    if (check.Verdict == TEditVerdict::Duplicate)
        Okno_mbOK(check.Warning, true);
    if (check.Verdict != TEditVerdict::Accept)
        return;
    EditorToEvent(EventEditor(), *Lists.Events[static_cast<size_t>(index)], Fs);
    UpdateDaysLeft(Lists, Now());
    InfoBeep();
    SelectListItem(index, ListView_Sob, true);
}

void TAAForm1::Button_UdalSobClick() {
    const int index = ListView_Sob->ItemIndex();
    if (index < 0 || index >= static_cast<int>(Lists.Events.size()))
        return;
    if (!Okno_mbYes_No(Lang.LangLine(72) + L": " + EditOf(L"Edit_Sob")->Text() + L" ?", true))
        return;
    Lists.Events.erase(Lists.Events.begin() + index);
    ListView_Sob->Items()->SetCount(static_cast<int>(Lists.Events.size()));
    SelectListItem(index, ListView_Sob, true);
    InfoBeep();
}

void TAAForm1::ListView_SobClick() {
    const int index = ListView_Sob->ItemIndex();
    if (index < 0 || index >= static_cast<int>(Lists.Events.size()))
        return;
    const AListSob& e = *Lists.Events[static_cast<size_t>(index)];
    EditOf(L"Edit_Sob")->SetText(e.Name);
    MaskEditOf(L"Time_Sob")->SetEditText(HourMinText(e.Time));
    ZeroFillTimeSob();
    const wchar_t* boxes[] = {L"Check_Pn", L"Check_Vt", L"Check_Sr", L"Check_Cht",
                              L"Check_Pt", L"Check_Sb", L"Check_Vs"};
    for (int d = 1; d <= 7; ++d)
        CheckOf(boxes[d - 1])->SetChecked(e.DnNedel[static_cast<size_t>(d)]);
    MaskEditOf(L"Date_Sob")
        ->SetEditText(e.Date < kFirstDatedDay ? L"" : FormatDateTime(Fs.ShortDateFormat, e.Date, Fs));
}

void TAAForm1::ListView_SobColumnClick(int column) {
    if (Lists.Events.empty())
        return;
    ClickSortColumn(SortSob, column);
    SortEvents(Lists.Events, SortSob);
    ListView_Sob->Repaint();
    InfoBeep();
}

void TAAForm1::Time_SobDblClick() {
    MaskEditOf(L"Time_Sob")->SetEditText(FormatDateTime(L"hh:nn", Now(), Fs));
}

void TAAForm1::Date_SobDblClick() {
    MaskEditOf(L"Date_Sob")->SetEditText(FormatDateTime(Fs.ShortDateFormat, Date(), Fs));
}

// ---- Views ----------------------------------------------------------------------------------------------------------

void TAAForm1::ListView_PismDblClick() {
    const int index = ListView_Pism->ItemIndex();
    if (index < 0 || index >= static_cast<int>(Lists.Letters.size()))
        return;
    OpenWebPage(LetterPage(*Lists.Letters[static_cast<size_t>(index)]));
    InfoBeep();
}

void TAAForm1::FillRow(TbsSkinListView* view, TListItem* item) {
    const int i = item->Index();
    const TViewHint& hint = hints_[view];
    if (i < hint.First || i > hint.Last)
        return;
    const auto at = static_cast<size_t>(i);
    TStrings* sub = item->SubItems();
    if (view == ListView_Em && at < Lists.Accounts.size()) {
        const AListEm& a = *Lists.Accounts[at];
        item->SetCaption(a.Login);
        sub->Add(a.Domain);
        sub->Add(a.HostIMAP);
        sub->Add(std::to_wstring(a.PortIMAP));
    } else if (view == ListView_Pism && at < Lists.Letters.size()) {
        const AListPism& l = *Lists.Letters[at];
        item->SetCaption(DateTimeSecText(l.DT, Fs));
        sub->Add(LoginAtDomain(l.Login, l.Domain));
        sub->Add(l.Name);
        sub->Add(l.Subject);
    } else if (view == ListView_Sob && at < Lists.Events.size()) {
        const AListSob& e = *Lists.Events[at];
        item->SetCaption(EventWhenText(e, Lang, Fs));
        sub->Add(e.Name);
        sub->Add(DaysLeftText(e.Ostal, Lang));
    } else if (view == ListView_Sobty && at < Lists.FiredEvents.size()) {
        const AListSobty& f = *Lists.FiredEvents[at];
        item->SetCaption(DateTimeSecText(f.DT, Fs));
        sub->Add(f.Name);
    }
}

void TAAForm1::RepaintViews() {
    for (TbsSkinListView* view : {ListView_Em, ListView_Pism, ListView_Sob, ListView_Sobty})
        view->Repaint();
}

void TAAForm1::SelectListItem(int index, TbsSkinListView* view, bool clearSelection) {
    auto* box = CheckOf(L"Check_ProvVseSrazu");
    box->SetEnabled(Lists.Accounts.size() > 1);
    const int count = view->Items()->Count();
    if (count == 0)
        return;
    index = std::clamp(index, 0, count - 1);
    if (clearSelection)
        view->SetItemIndex(-1);
    TListItem* item = view->Items()->Item(index);
    item->MakeVisible(false);
    item->SetSelected(true);
    view->Repaint();
    view->SetFocus();
    item->SetFocused(true);
    view->Repaint();
}
