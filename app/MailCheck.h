// The check of one mail account over the network layer: log in over implicit TLS, find the unseen letters of
// INBOX, count them and build the records of the new ones. It runs on the check thread (ThreadConect.h) but
// needs no thread itself, so tests call it directly.
// Index: TMailAccountCopy/CopyAccount, LoginAtDomain, ImapPortFor, StripHtml, LetterBody,
// TAnnouncedLetters, TMailCheckOptions, TMailCheckResult, CheckAccountInbox.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "app/DataModel.h"
#include "netlib/net_status.h"
#include "netlib/net_stream.h"
#include "netlib/tls_stream.h"

// The fields of an account that a check reads, copied when the check is started, so that the GUI may edit or
// delete the account while the check runs.
struct TMailAccountCopy {
    std::wstring Domain;
    std::wstring UrlVhod;
    std::wstring Login;
    std::wstring Parol;
    std::wstring HostIMAP;
    int32_t PortIMAP = 0;
    TDateTime ProvEm = 0;
};
TMailAccountCopy CopyAccount(const AListEm& account);

// "login@domain".
std::wstring LoginAtDomain(const std::wstring& Login, const std::wstring& Domain);
// The port connected to: the low 16 bits of PortIMAP, with 143 (plain IMAP) taken as 993 (implicit TLS).
uint16_t ImapPortFor(int32_t PortIMAP);
// Removes style and script blocks, tags, zero characters and carriage returns.
std::wstring StripHtml(const std::wstring& text);
// The Body of a letter record: StripHtml, line breaks to blanks, one pass replacing two blanks by one, the first
// 249 characters, trimmed.
std::wstring LetterBody(const std::wstring& text);
inline constexpr size_t kLetterBodyLength = 249;

// The letters announced in this run of the program, by account and UIDVALIDITY, so that a letter is announced
// once even when its date stays ahead of the account's newest date (a letter dated in the future). A check skips
// these letters before its newest-date rule, so they never move ProvEm again. Thread-safe.
class TAnnouncedLetters {
  public:
    bool Contains(const std::wstring& account, uint32_t uidValidity, uint32_t uid) const;
    void Add(const std::wstring& account, uint32_t uidValidity, const std::vector<uint32_t>& uids);
    // Forgets an account, so its next check announces its letters again (after an edit of the account).
    void Forget(const std::wstring& account);
    // The key of an account: login@domain at host and port.
    static std::wstring KeyOf(const TMailAccountCopy& account);

  private:
    mutable std::mutex mutex_;
    std::map<std::pair<std::wstring, uint32_t>, std::set<uint32_t>> announced_;
};

struct TMailCheckOptions {
    bool OtobrTextEm = false;     // build the Body of new letters
    unsigned StartDelayMs = 300;  // pause before connecting
    netlib::NetTimeouts Timeouts;
    netlib::TlsClientOptions Tls;
    TAnnouncedLetters* Announced = nullptr;  // borrowed, may be null; outlives the check
};

struct TMailCheckResult {
    int32_t KolEm = 0;                                // unseen letters whose headers were fetched
    TDateTime ProvEm = 0;                             // the account's newest letter date after the check
    std::vector<std::unique_ptr<AListPism>> Letters;  // the new letters, in the server's order
    netlib::NetStatus Status;
    int Commands = 0;  // IMAP commands sent
};

// One check of the account. A failure ends it at once: KolEm keeps the count reached, ProvEm and Letters change
// only when all new letters are complete. The abort ends it promptly from any thread.
TMailCheckResult CheckAccountInbox(const TMailAccountCopy& account,
                                   const TMailCheckOptions& options,
                                   netlib::NetAbortPtr abort);
