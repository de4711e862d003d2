// A recording TNotifyHost and a small notifier world (lists, settings, run state, Russian lines, fixed date
// formats) for the result processing and reminder tests.
#pragma once

#include <string>
#include <vector>

#include "app/ResultProcessing.h"

struct TRecordingHost : TNotifyHost {
    std::vector<std::wstring> alerts;  // messages in the alert window
    int shown = 0, hidden = 0, flashes = 0, mailSounds = 0, reminderSounds = 0, beeps = 0, saves = 0;
    int trayImage = 0;
    bool trayVisible = true;
    bool blink = false;
    std::wstring hint;
    std::vector<std::wstring> opened;
    int formHeightRows = -1;

    void AlertAdd(const std::vector<std::wstring>& texts) override {
        alerts.insert(alerts.end(), texts.begin(), texts.end());
        ++shown;
    }
    void AlertShow() override { ++shown; }
    void AlertHide() override { ++hidden; }
    void AlertClear() override { alerts.clear(); }
    bool TrayVisible() const override { return trayVisible; }
    int TrayImage() const override { return trayImage; }
    void SetTrayImage(int index) override { trayImage = index; }
    void SetTrayHint(const std::wstring& text) override { hint = text; }
    void FlashTaskbar() override { ++flashes; }
    void BlinkTimer(bool enabled) override { blink = enabled; }
    void PlayMailSound() override { ++mailSounds; }
    void PlayReminderSound() override { ++reminderSounds; }
    void InfoBeep() override { ++beeps; }
    void OpenPage(const std::wstring& url) override { opened.push_back(url); }
    void CollectOutcomes() override {}
    void LettersChanged() override {}
    void EventsChanged() override {}
    void EventsTicked() override {}
    void FiredEventAdded() override {}
    void UpdateFormHeight(int rows) override { formHeightRows = rows; }
    void SaveSettings() override { ++saves; }
};

inline TLanguage RussianLines() {
    TLanguage lang;
    TSettings settings;
    struct Quiet : TLanguageSink {
        void SetRussianResourceStrings(bool) override {}
        void ShowWarning(const std::wstring&) override {}
        void ApplyText(const TLangApplyEntry&, const std::wstring&) override {}
    } sink;
    lang.Apply(settings, L"", sink);
    return lang;
}

// Russian-style formats, pinned so that texts can be compared exactly.
inline TFormatSettings PinnedFormats() {
    TFormatSettings fs = TFormatSettings::Invariant();
    fs.DateSeparator = L'.';
    fs.ShortDateFormat = L"dd.MM.yyyy";
    fs.LongTimeFormat = L"hh:nn:ss";
    return fs;
}

struct TNotifyWorld {
    TNotifierLists lists;
    TSettings settings;
    TRunState run;
    TLanguage lang = RussianLines();
    TFormatSettings fs = PinnedFormats();
    TRecordingHost host;
    TNotifyContext context{lists, settings, run, lang, fs, host};

    AListEm& AddAccount(const std::wstring& login, const std::wstring& domain, int kolEm = 0) {
        auto account = std::make_unique<AListEm>();
        account->Login = login;
        account->Domain = domain;
        account->KolEm = kolEm;
        lists.Accounts.push_back(std::move(account));
        return *lists.Accounts.back();
    }
    // A letter as a check hands it over: in Letters and NewLetters.
    AListPism& Deliver(const AListEm& account,
                       TDateTime dt,
                       const std::wstring& name,
                       const std::wstring& subject,
                       const std::wstring& body = L"") {
        auto letter = std::make_unique<AListPism>();
        letter->DT = dt;
        letter->Login = account.Login;
        letter->Domain = account.Domain;
        letter->UrlVhod = account.UrlVhod;
        letter->Name = name;
        letter->Subject = subject;
        letter->Body = body;
        lists.NewLetters.push_back(letter.get());
        lists.Letters.push_back(std::move(letter));
        return *lists.Letters.back();
    }
};
