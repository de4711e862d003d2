// The mail check of one account. Costs stay flat in the number of unseen letters: one command fetches the
// Date, From and Subject of all of them, and one more the texts of the letters that will be announced (a set of
// thousands of scattered UIDs is split over a few commands, see ImapClient::UidFetch). Letters are read with
// BODY.PEEK, so their flags are never touched.
#include "app/MailCheck.h"

#include <unordered_map>
#include <unordered_set>

#include "base/Text.h"
#include "base/Utf.h"
#include "netlib/imap_client.h"
#include "netlib/imap_connect.h"
#include "netlib/mime_charset.h"
#include "netlib/mime_date.h"
#include "netlib/mime_message.h"

using netlib::ImapClient;
using netlib::ImapValue;
using netlib::NetStatus;

namespace {

// Enough of a letter to find its first text part; attachments further on are not downloaded.
constexpr const char* kHeaderItems = "(UID BODY.PEEK[HEADER.FIELDS (DATE FROM SUBJECT)])";
constexpr const char* kTextItems = "(UID BODY.PEEK[]<0.262144>)";
// Date, From and Subject fit easily; a hostile server must not make the header store grow without bound.
constexpr size_t kMaxHeaderBytes = 16 * 1024;
constexpr size_t kMaxAllHeaderBytes = 64 * 1024 * 1024;

// The string value of the first BODY[...] item of a FETCH response, or nullptr (NIL, missing).
const std::string* BodyItem(const std::vector<ImapValue>& items) {
    const ImapValue* v = ImapClient::FindItem(items, "BODY[");
    return v && v->kind == ImapValue::Kind::String ? &v->text : nullptr;
}

}  // namespace

TMailAccountCopy CopyAccount(const AListEm& a) {
    return TMailAccountCopy{a.Domain, a.UrlVhod, a.Login, a.Parol, a.HostIMAP, a.PortIMAP, a.ProvEm};
}

std::wstring LoginAtDomain(const std::wstring& Login, const std::wstring& Domain) {
    return Login + L"@" + Domain;
}

uint16_t ImapPortFor(int32_t PortIMAP) {
    uint16_t port = static_cast<uint16_t>(static_cast<uint32_t>(PortIMAP) & 0xFFFF);
    return port == 143 ? 993 : port;
}

std::wstring StripHtml(const std::wstring& input) {
    std::wstring text = input;
    // Cutting a block can join text into a new "<style" or "<script", hence the loop; every pass shortens the
    // text, so it ends. An unclosed block runs to the end of the text.
    while (text.find(L"<style") != std::wstring::npos || text.find(L"<script") != std::wstring::npos) {
        size_t p = text.find(L"<style");
        if (p != std::wstring::npos) {
            size_t e = text.find(L"</style>", p);
            text.erase(p, e == std::wstring::npos ? std::wstring::npos : e + 8 - p);
        }
        p = text.find(L"<script");
        if (p != std::wstring::npos) {
            size_t e = text.find(L"</script>", p);
            // Up to the eighth character of "</script>": its ">" stays and the tag walk below drops it.
            text.erase(p, e == std::wstring::npos ? std::wstring::npos : e + 8 - p);
        }
    }
    std::wstring out;
    out.reserve(text.size());
    bool inTag = false;
    for (wchar_t c : text) {
        if (c == L'>') {
            inTag = false;
        } else if (c == L'<') {
            inTag = true;
        } else if (!inTag && c != L'\0' && c != L'\r') {
            out += c;
        }
    }
    return out;
}

std::wstring LetterBody(const std::wstring& text) {
    std::wstring s = StripHtml(text);
    for (wchar_t& c : s)
        if (c == L'\n' || c == L'\r')
            c = L' ';
    std::wstring folded;
    folded.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L' ' && i + 1 < s.size() && s[i + 1] == L' ') {
            folded += L' ';
            ++i;  // one pass: the pair becomes one blank and scanning goes on after it
        } else {
            folded += s[i];
        }
    }
    size_t n = folded.size() < kLetterBodyLength ? folded.size() : kLetterBodyLength;
    // Never keep half of a surrogate pair.
    if (n == kLetterBodyLength && n < folded.size() && folded[n - 1] >= 0xD800 && folded[n - 1] <= 0xDBFF)
        --n;
    return TrimText(folded.substr(0, n));
}

bool TAnnouncedLetters::Contains(const std::wstring& account, uint32_t uidValidity, uint32_t uid) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = announced_.find({account, uidValidity});
    return it != announced_.end() && it->second.count(uid) != 0;
}

void TAnnouncedLetters::Add(const std::wstring& account, uint32_t uidValidity, const std::vector<uint32_t>& uids) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto& set = announced_[{account, uidValidity}];
    set.insert(uids.begin(), uids.end());
}

void TAnnouncedLetters::Forget(const std::wstring& account) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = announced_.begin(); it != announced_.end();)
        it = it->first.first == account ? announced_.erase(it) : std::next(it);
}

std::wstring TAnnouncedLetters::KeyOf(const TMailAccountCopy& a) {
    return LoginAtDomain(a.Login, a.Domain) + L"|" + a.HostIMAP + L"|" + std::to_wstring(ImapPortFor(a.PortIMAP));
}

TMailCheckResult CheckAccountInbox(const TMailAccountCopy& account,
                                   const TMailCheckOptions& options,
                                   netlib::NetAbortPtr abort) {
    TMailCheckResult result;
    result.ProvEm = account.ProvEm;
    if (!abort)
        abort = std::make_shared<netlib::NetAbort>();
    if (!abort->Sleep(options.StartDelayMs)) {
        result.Status = NetStatus::Fail(netlib::NetCode::Cancelled, netlib::NetCause::None, "aborted");
        return result;
    }

    netlib::ImapConnectOptions connect;
    connect.timeouts = options.Timeouts;
    connect.tls = options.Tls;
    std::unique_ptr<netlib::TlsStream> stream;
    result.Status = netlib::ConnectImaps(account.HostIMAP, ImapPortFor(account.PortIMAP), connect, abort, &stream);
    if (!result.Status)
        return result;
    ImapClient imap(stream.get());
    // Every step below needs the one before; the first failure ends the session.
    auto finish = [&](NetStatus st) {
        // A refused command leaves a working session: end it politely. A broken one is just closed.
        if (st.code == netlib::NetCode::Refused || st.code == netlib::NetCode::Mailbox ||
            st.code == netlib::NetCode::Auth)
            imap.Logout();
        result.Commands = imap.CommandsSent();
        result.Status = std::move(st);
        return std::move(result);
    };

    bool preauth = false;
    if (NetStatus st = imap.ReadGreeting(&preauth); !st)
        return finish(st);
    if (NetStatus st = imap.Capability(); !st)
        return finish(st);
    if (!preauth)
        if (NetStatus st =
                imap.Login(WideToUtf8(LoginAtDomain(account.Login, account.Domain)), WideToUtf8(account.Parol));
            !st)
            return finish(st);
    uint32_t uidValidity = 0;
    if (NetStatus st = imap.Select("INBOX", &uidValidity); !st)
        return finish(st);
    std::vector<uint32_t> uids;
    if (NetStatus st = imap.UidSearchUnseen(&uids); !st)
        return finish(st);

    if (!uids.empty()) {
        std::unordered_map<uint32_t, std::string> headers;
        const std::unordered_set<uint32_t> wanted(uids.begin(), uids.end());
        size_t stored = 0;
        NetStatus st = imap.UidFetch(uids, kHeaderItems, [&](uint32_t uid, const std::vector<ImapValue>& items) {
            const std::string* h = BodyItem(items);
            if (!h || !wanted.count(uid) || headers.count(uid))
                return NetStatus::Success();
            std::string& kept = headers[uid];
            kept = h->substr(0, kMaxHeaderBytes);
            stored += kept.size();
            if (stored > kMaxAllHeaderBytes)
                return NetStatus::Fail(netlib::NetCode::Connection, netlib::NetCause::TooLarge, "too much header data");
            return NetStatus::Success();
        });
        // Count what arrived even when the command failed half-way.
        for (uint32_t uid : uids)
            result.KolEm += headers.count(uid) ? 1 : 0;
        if (!st)
            return finish(st);

        // The new letters: in the server's order, each later than the newest date before it. A letter already
        // announced in this run stays out of that rule altogether: a future-dated one would otherwise move the
        // newest date to "now" at every check and hide the letters that came in since the check before.
        const std::wstring key = TAnnouncedLetters::KeyOf(account);
        const TDateTime now = netlib::NowLocalDateTime();
        TDateTime provEm = account.ProvEm;
        std::vector<uint32_t> newUids;
        std::unordered_map<uint32_t, std::unique_ptr<AListPism>> records;
        for (uint32_t uid : uids) {
            auto h = headers.find(uid);
            if (h == headers.end())
                continue;
            if (options.Announced && options.Announced->Contains(key, uidValidity, uid))
                continue;
            netlib::MimeSummary s = netlib::SummarizeMimeHeaders(h->second);
            TDateTime date = s.hasDate ? s.date : 0;
            if (!(date > provEm))
                continue;
            provEm = date > now ? now : date;
            auto r = std::make_unique<AListPism>();
            r->DT = date;
            r->Domain = account.Domain;
            r->UrlVhod = account.UrlVhod;
            r->Login = account.Login;
            r->Name = TrimText(s.from.name);
            r->Subject = TrimText(s.subject);
            records[uid] = std::move(r);
            newUids.push_back(uid);
        }

        if (options.OtobrTextEm && !newUids.empty()) {
            st = imap.UidFetch(newUids, kTextItems, [&](uint32_t uid, const std::vector<ImapValue>& items) {
                auto r = records.find(uid);
                const std::string* raw = BodyItem(items);
                if (r != records.end() && raw)
                    r->second->Body = LetterBody(netlib::ExtractMessageText(netlib::ParseMimeMessage(*raw)));
                return NetStatus::Success();
            });
            if (!st)
                return finish(st);
        }
        result.ProvEm = provEm;
        for (uint32_t uid : newUids)
            result.Letters.push_back(std::move(records[uid]));
        if (options.Announced)
            options.Announced->Add(key, uidValidity, newUids);
    }
    // The results stand once the letters are read; a failing LOGOUT does not undo them.
    imap.Logout();
    stream->Close();
    return finish(NetStatus::Success());
}
