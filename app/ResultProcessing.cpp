// Result processing, popup texts and tray signalling.
#include "app/ResultProcessing.h"

#include <algorithm>
#include <cmath>

#include "app/CheckFailure.h"
#include "app/MailCheck.h"
#include "base/Text.h"

std::wstring HtmlBold(const std::wstring& text) {
    return L"<b>" + text + L"</b>";
}

std::wstring HtmlCenter(const std::wstring& text) {
    return L"<div width=\"100%\"><p align=\"center\">" + text + L"</p></div>";
}

std::wstring HtmlAngles(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t ch : text) {
        if (ch == L'<')
            out += L"&lt;";
        else if (ch == L'>')
            out += L"&gt;";
        else
            out += ch;
    }
    return out;
}

std::wstring DateTimeSecText(TDateTime dt, const TFormatSettings& fs) {
    return FormatDateTime(L"ddddd", dt, fs) + FormatDateTime(L"   hh:nn:ss", dt, fs);
}

std::wstring LetterPage(const AListPism& letter) {
    if (!letter.UrlVhod.empty())
        return letter.UrlVhod;
    return L"http://" + TrimText(letter.Domain);
}

std::wstring LetterPopupText(const AListPism& letter, size_t accountCount, const TFormatSettings& fs) {
    std::wstring head = DateTimeSecText(letter.DT, fs);
    if (!letter.Name.empty())
        head +=
            L"  "
            L" - "
            L"  " +
            HtmlBold(HtmlAngles(letter.Name));
    std::wstring tail;
    if (!letter.Subject.empty())
        tail = L"<br><br>" + HtmlAngles(letter.Subject);
    tail +=
        L"<br>"
        L"<br>" +
        letter.Body;
    if (accountCount == 1)
        return head + tail;
    return head + L" - " + LoginAtDomain(letter.Login, letter.Domain) + tail;
}

namespace {

void NotePopup(TNotifyContext& c, uint8_t kind, const std::wstring& page) {
    c.Lists.PopupKinds.push_back(kind);
    c.Run.PopupPages.push_back(kind == kPopupKindLetter ? page : std::wstring());
}

}  // namespace

void AddAlertMessage(TNotifyContext& c, const std::wstring& text, uint8_t kind, const std::wstring& page) {
    NotePopup(c, kind, page);
    c.Host.AlertAdd({text});
}

void ProcessCheckResults(TNotifyContext& c) {
    TRunState& run = c.Run;
    c.Host.CollectOutcomes();
    int64_t total = 0;
    for (const auto& account : c.Lists.Accounts)
        total += account->KolEm;
    run.KolEmVsego = static_cast<int32_t>(std::clamp<int64_t>(total, INT32_MIN, INT32_MAX));
    c.Host.LettersChanged();

    if (run.KolEmVsego <= 0) {
        c.Host.AlertHide();
    } else {
        if (!c.Host.TrayVisible())
            c.Host.FlashTaskbar();
        if (run.KolEmPred < run.KolEmVsego) {
            c.Host.PlayMailSound();
            run.TikPovtor = 0;
            run.PovtorEm = 0;
        }
        if (!c.Lists.NewLetters.empty()) {
            std::stable_sort(c.Lists.Letters.begin(), c.Lists.Letters.end(),
                             [](const auto& a, const auto& b) { return a->DT < b->DT; });
            // Taken out first: the host may run messages while a popup is added.
            std::vector<AListPism*> fresh;
            fresh.swap(c.Lists.NewLetters);
            // All of them in one go: the popup is laid out and shown once per round, not once per letter.
            std::vector<std::wstring> texts;
            texts.reserve(fresh.size());
            for (const AListPism* letter : fresh) {
                NotePopup(c, kPopupKindLetter, LetterPage(*letter));
                texts.push_back(LetterPopupText(*letter, c.Lists.Accounts.size(), c.Fs));
            }
            c.Host.AlertAdd(texts);
        }
    }

    c.Host.SetTrayImage(kTrayIdle);
    if (!run.Trevoga) {
        // A failed check must not look like "no mail": the accounts whose last check failed, with the cause.
        std::wstring hint;
        if (run.KolEmVsego > 0)
            hint = c.Lang.LangLine(kUnreadHintLine) + L": " + std::to_wstring(run.KolEmVsego);
        const std::wstring failures = CheckFailureHint(c.Lists, c.Settings.LangIndex);
        if (!failures.empty())
            hint += (hint.empty() ? L"" : L"\n") + failures;
        if (!hint.empty())
            c.Host.SetTrayHint(hint);
    }
    c.Host.BlinkTimer(run.KolEmVsego > 0 || run.Trevoga);
    run.KolEmPred = run.KolEmVsego;
}

void MorgIconTick(TNotifyContext& c) {
    TRunState& run = c.Run;
    const TSettings& s = c.Settings;
    if (run.KolEmVsego <= 0 && !run.Trevoga) {
        c.Host.BlinkTimer(false);
        c.Host.SetTrayImage(kTrayIdle);
        return;
    }
    if (c.Host.TrayImage() != kTrayIdle)
        c.Host.SetTrayImage(kTrayIdle);
    else
        c.Host.SetTrayImage(run.Trevoga ? kTrayAlarm : std::min(run.KolEmVsego, kTrayCountMax));

    if (!s.PovtorZvuk && !s.PovtorZvukN) {
        run.TikPovtor = 0;
        return;
    }
    ++run.TikPovtor;
    if (run.Trevoga && s.PovtorZvukN) {
        if (run.TikPovtor >= kReminderRepeatTicks && run.PovtorSob < s.PovtorZvukIN) {
            run.TikPovtor = 0;
            c.Host.PlayReminderSound();
            ++run.PovtorSob;
        }
        return;
    }
    if (s.PovtorZvuk) {
        const int32_t ticks = static_cast<int32_t>(std::trunc(s.ProvEmSek / 0.65));
        if (run.TikPovtor > ticks && run.PovtorEm < s.PovtorZvukI) {
            run.TikPovtor = 0;
            c.Host.PlayMailSound();
            ++run.PovtorEm;
        }
    }
}

namespace {

int32_t PastLimit(int32_t limit) {
    return limit == INT32_MAX ? limit : limit + 1;
}

}  // namespace

void AlertClick(TNotifyContext& c, int activeMessage) {
    if (c.Lists.Letters.empty())
        return;
    c.Run.PovtorEm = PastLimit(c.Settings.PovtorZvukI);
    const int index = activeMessage - 1;
    if (index < 0 || static_cast<size_t>(index) >= c.Run.PopupPages.size())
        return;
    const std::wstring& page = c.Run.PopupPages[static_cast<size_t>(index)];
    if (page.empty())
        return;  // a reminder's popup
    c.Host.OpenPage(page);
    c.Host.InfoBeep();
}

void AlertClose(TNotifyContext& c) {
    c.Run.PovtorEm = PastLimit(c.Settings.PovtorZvukI);
    c.Run.PovtorSob = PastLimit(c.Settings.PovtorZvukIN);
    c.Run.Trevoga = false;
    c.Host.SetTrayHint(L"");
}

void AlertDeleteMessage(TNotifyContext& c, int index) {
    c.Run.Trevoga = false;
    auto& kinds = c.Lists.PopupKinds;
    if (index < 0 || static_cast<size_t>(index) >= kinds.size())
        return;
    kinds.erase(kinds.begin() + index);
    auto& pages = c.Run.PopupPages;
    if (static_cast<size_t>(index) < pages.size())
        pages.erase(pages.begin() + index);
    c.Run.Trevoga = std::find(kinds.begin(), kinds.end(), kPopupKindReminder) != kinds.end();
    if (kinds.empty())
        c.Host.SetTrayHint(L"");
}

void ClearMessages(TNotifyContext& c) {
    c.Host.AlertClear();
    c.Lists.PopupKinds.clear();
    c.Run.PopupPages.clear();
    c.Host.InfoBeep();
}

void ShowMessages(TNotifyContext& c) {
    c.Host.AlertShow();
    c.Host.InfoBeep();
}

void TrayClick(TNotifyContext& c) {
    if (c.Lists.Letters.empty())
        return;
    c.Run.PovtorEm = PastLimit(c.Settings.PovtorZvukI);
    c.Host.OpenPage(LetterPage(*c.Lists.Letters.back()));
    c.Host.InfoBeep();
}

std::wstring AlertStyleForSkin(int skinIndex) {
    switch (skinIndex) {
        case 42:
            return L"asOffice2007Luna";
        case 43:
        case 45:
            return L"asOffice2010Black";
        case 44:
        case 47:
            return L"asOffice2010Silver";
        case 46:
            return L"asOffice2010Blue";
        case 48:
        case 49:
        case 50:
        case 51:
            return L"asOffice2013White";
        case 77:
            return L"asWindows7";
        case 80:
            return L"asWindows8";
        default:
            return L"asTerminal";
    }
}

TPopupSize PopupSizeFor(int screenWidth, int screenHeight, bool otobrTextEm) {
    if (otobrTextEm)
        return {std::max(screenWidth / 4, 500), std::max(screenHeight / 7, 150)};
    return {std::max(screenWidth / 5, 400), std::max(screenHeight / 9, 120)};
}
