// What the notifier keeps in memory: the heap records of accounts, letters, IMAP servers, reminders and fired
// reminders, the seven lists that own them, and the user's settings with their defaults and editor ranges.
// Index: TCheckFailure, AListEm/PLisEm, AListPism, AListImap, AListSob, AListSobty, TNotifierLists, TSettings, range
// constants, TPersistState, PackWeekdays/UnpackWeekdays.
//
// Everything here belongs to the main window and lives as long as the program. Strings are UTF-16 (one wchar_t
// per code unit). Records are created and freed one by one; a list that owns its records holds unique_ptrs,
// a list that only refers to records of another list holds raw (borrowed) pointers.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Day count since 30 December 1899, time of day as the fraction.
using TDateTime = double;

// A number no other account record of this run has had (never 0): see AListEm::Id.
uint64_t NewAccountId();

// One mail account.
// Why the last finished check of an account failed: kept while the program runs, never stored.
enum class TCheckFailure : uint8_t {
    None,         // it succeeded (or has not been checked yet)
    Certificate,  // the certificate is not trusted or names another host
    Login,        // the server refused the login
    NoAnswer,     // the server did not answer in time
    Refused,      // the connection was refused (or the name did not resolve)
    Protocol,     // anything else the server did wrong: garbage, a dropped session, a refused command
};

struct AListEm {
    std::wstring Domain;   // the part after the at sign; also the web address when UrlVhod is empty
    std::wstring UrlVhod;  // web-mail page, may be empty
    std::wstring Login;    // the part before the at sign
    std::wstring Parol;    // kept and stored in plain text
    std::wstring HostIMAP;
    int32_t PortIMAP = 0;
    TDateTime ProvEm = 0;  // newest letter date seen; 0 after loading and after every edit
    int32_t KolEm = 0;     // unseen letters fetched by the last check of this account

    // Who a check's result belongs to. The GUI may delete or edit the record while its check runs, so the result
    // is matched by Id, which is never reused (a record deleted and another created at the same memory address or
    // with the same address fields do not match), and by Generation, which every edit raises (the result of a
    // check begun before an edit is stale). Neither is stored in the settings file.
    uint64_t Id = NewAccountId();
    uint32_t Generation = 0;
    TCheckFailure LastFailure = TCheckFailure::None;  // shown in the tray hint until a check succeeds
};
using PLisEm = AListEm*;

// Every edit of an account's fields calls this, so that a check begun before the edit delivers nothing to it.
inline void MarkAccountEdited(AListEm& account) {
    ++account.Generation;
    account.LastFailure = TCheckFailure::None;  // the edit may well have mended it; the next check tells
}

// One letter announced by a check.
struct AListPism {
    TDateTime DT = 0;  // the letter's own date, local time
    std::wstring Domain;
    std::wstring UrlVhod;
    std::wstring Login;
    std::wstring Name;     // sender's display name, trimmed
    std::wstring Subject;  // trimmed
    std::wstring Body;     // at most 249 characters of plain text, or empty
};

// One entry of the IMAP server list.
struct AListImap {
    std::wstring Url;      // mail domain
    std::wstring UrlImap;  // IMAP host
    int32_t PortImap = 0;
};

// One reminder ("event").
struct AListSob {
    std::wstring Name;
    TDateTime Time = 0;  // time of day (fraction only)
    int32_t Date = 0;    // day number of a dated reminder; below kFirstDatedDay marks a weekly one
    // DnNedel[1] = Monday ... DnNedel[7] = Sunday; element 0 is unused so that day numbers index directly.
    std::array<bool, 8> DnNedel{};
    double Ostal = 0;      // days until the next occurrence; recomputed every second, never stored
    bool BilSoob = false;  // the current occurrence was announced; never stored
};

// A reminder with a Date below this is a weekly one (the editor stores 0).
inline constexpr int32_t kFirstDatedDay = 10000;

// One fired reminder.
struct AListSobty {
    TDateTime DT = 0;   // when it fired
    std::wstring Name;  // the reminder's text, prefixed for a warning
};

// Popup message kinds kept in TNotifierLists::PopupKinds, one byte per alert message.
inline constexpr uint8_t kPopupKindLetter = 1;
inline constexpr uint8_t kPopupKindReminder = 2;

// The seven lists of the main window, created empty in this order. Removing an entry from an owning list frees
// its record; NewLetters only refers to records owned by Letters, so a letter must leave NewLetters before (or
// when) it leaves Letters.
struct TNotifierLists {
    std::vector<std::unique_ptr<AListEm>> Accounts;
    std::vector<std::unique_ptr<AListPism>> Letters;
    std::vector<AListPism*> NewLetters;  // borrowed from Letters: not yet shown as popups
    std::vector<std::unique_ptr<AListImap>> ImapServers;
    std::vector<std::unique_ptr<AListSob>> Events;
    std::vector<std::unique_ptr<AListSobty>> FiredEvents;
    std::vector<uint8_t> PopupKinds;  // kPopupKindLetter or kPopupKindReminder per popup message
};

// Editor ranges of the settings (the spin editors); values read from the settings file are taken as they are.
inline constexpr int32_t kProvEmSekMin = 30;
inline constexpr int32_t kProvEmSekMax = 86400;
inline constexpr int32_t kVremPokVspOknMin = 30;
inline constexpr int32_t kVremPokVspOknMax = 86400;
inline constexpr int32_t kPovtorZvukIMin = 1;
inline constexpr int32_t kPovtorZvukIMax = 999;
inline constexpr int32_t kPovtorZvukINMin = 1;
inline constexpr int32_t kPovtorZvukINMax = 999;
inline constexpr int32_t kZaSkolkPreduprMin = 0;
inline constexpr int32_t kZaSkolkPreduprMax = 60;
inline constexpr uint8_t kSoundDlgStyleMax = 6;  // list view styles 0 .. 6
inline constexpr uint8_t kLangIndexMax = 2;      // 0 Russian, 1 Belarusian, 2 Ukrainian
inline constexpr int kSkinCount = 87;            // stored skins SkinIndex points into

// The user's settings, holding their defaults until the settings file replaces them.
struct TSettings {
    uint8_t SkinIndex = 81;
    int32_t ProvEmSek = 60;  // seconds between checks
    bool IspZvuk = false;    // standard Windows sound for mail
    std::wstring FZvuk = L"prishol_mail.wav";
    int32_t SoundDlgWidth = 0;  // sound-file dialog size, 0 = its own default
    int32_t SoundDlgHeight = 0;
    uint8_t SoundDlgStyle = 2;
    int32_t VremPokVspOkn = 60;  // popup display time, seconds
    bool VTray = false;          // start hidden in the tray
    bool OtobrTextEm = false;    // show the first part of the letter text in popups
    bool AutoZagr = false;       // autostart shortcut wanted
    bool PovtorZvuk = true;
    int32_t PovtorZvukI = 5;
    bool ProvVseSrazu = false;   // check all accounts in every round
    int32_t ZaSkolkPredupr = 5;  // minutes of warning before a reminder, 0 = none
    bool PokSegodSob = false;    // announce today's reminders whose time has passed
    bool UdalProshSob = true;    // delete past dated reminders
    bool IspZvukN = false;       // standard Windows sound for reminders
    std::wstring FZvukN = L"budilnik.wav";
    bool PovtorZvukN = true;
    int32_t PovtorZvukIN = 3;
    uint8_t LangIndex = 0;
    std::wstring LangFile;
    bool ZapuskPass = false;  // ask the start password at every start
    std::wstring PassZapusk;

    bool operator==(const TSettings&) const = default;
};

// Run-time values the settings file is tied to; none of them is stored as such (IdKomp goes into the file and
// comes back as IdKompFile, so a file written on another computer can be told apart).
struct TPersistState {
    std::wstring ProgDir;     // folder of the executable, no trailing backslash
    std::wstring IdKomp;      // this computer's identity, taken once when the main window is created
    std::wstring IdKompFile;  // the identity read from the settings file; empty when none was loaded
};

// DnNedel to the stored weekday byte and back: bit i (1 .. 7) is DnNedel[i]; bit 0 is always 0.
uint8_t PackWeekdays(const std::array<bool, 8>& dnNedel);
std::array<bool, 8> UnpackWeekdays(uint8_t weekdays);
