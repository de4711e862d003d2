// The mail check of one account. Costs stay flat in the number of unseen letters: one command fetches the
// Date, From, Subject and arrival time of all of them, and when their text is shown one more the structures and
// one more the text parts of the letters that will be announced (a set of thousands of scattered UIDs is split over
// a few commands, see ImapClient::UidFetch).
// Letters are read with BODY.PEEK, so their flags are never touched.
#include "app/MailCheck.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "base/Text.h"
#include "base/Utf.h"
#include "netlib/imap_client.h"
#include "netlib/imap_connect.h"
#include "netlib/imap_fetch_items.h"
#include "netlib/mime_charset.h"
#include "netlib/mime_date.h"
#include "netlib/mime_message.h"

using netlib::ImapClient;
using netlib::ImapValue;
using netlib::NetStatus;

namespace {

// The header fetch also brings the arrival time (for letters without a usable Date). The structure the server
// parsed comes in a command of its own, for the new letters only, when their text is shown: a server may garble
// a structure beyond reading (unbalanced, absurdly deep, a literal of gigabytes), and that must cost the letter its
// text, never its announcement.
constexpr const char* kHeaderItems = "(UID INTERNALDATE BODY.PEEK[HEADER.FIELDS (DATE FROM SUBJECT)])";
constexpr const char* kStructureItems = "(UID BODYSTRUCTURE)";
// A letter whose structure the server did not give: its first bytes, as a whole message.
constexpr const char* kWholeTextItems = "(UID BODY.PEEK[]<0.262144>)";
// Text parts are fetched up to the size of the largest one needed, within these bounds: a part of an HTML letter
// may be mostly style, and the popup text comes after it.
constexpr uint32_t kMinTextPartBytes = 16 * 1024;
constexpr uint32_t kMaxTextPartBytes = 1024 * 1024;
// Text parts per letter and sections per text fetch: a letter of thousands of parts gets its first ones.
constexpr size_t kMaxTextPartsPerLetter = 16;
constexpr size_t kMaxSectionsPerFetch = 64;
// What is kept per letter is its summary (each field read from its first bytes only, see SummarizeMimeHeaders);
// a hostile server must still not make the store grow without bound.
constexpr size_t kMaxAllHeaderBytes = 64 * 1024 * 1024;
constexpr size_t kItemCost = 256;  // what one letter's record, or one part of a structure, counts besides its texts

// The string value of the first item whose name starts with prefix, or nullptr (NIL, missing).
const std::string* StringItem(const std::vector<ImapValue>& items, const std::string& prefix) {
    const ImapValue* v = ImapClient::FindItem(items, prefix.c_str());
    return v && v->kind == ImapValue::Kind::String ? &v->text : nullptr;
}

size_t CountParts(const netlib::MimePart& part) {
    size_t n = 1;
    for (const netlib::MimePart& c : part.children)
        n += CountParts(c);
    return n;
}

// How a new letter's text is found.
enum class TextSource {
    Unknown,    // the server sent nothing readable about it: no text
    Whole,      // no structure from the server: the first bytes of the whole letter
    Structure,  // the text parts of its structure
};

// What the fetches brought for one letter.
struct LetterHead {
    netlib::MimeSummary summary;
    bool hasArrival = false;
    int64_t arrival = 0;  // INTERNALDATE, UTC seconds
    TextSource text = TextSource::Unknown;
    netlib::MimePart structure;
};

size_t SummaryCost(const netlib::MimeSummary& s) {
    return kItemCost + (s.from.name.size() + s.from.address.size() + s.subject.size()) * sizeof(wchar_t);
}

// The structures of the new letters. A structure that is damaged or unreadable leaves its letter without text; a
// letter the server gives none for (NIL, or a server that refuses the command) is read as a whole. False when the
// session cannot go on: *st then says why, and a failure caused by what the server sent (garbage, a literal or a
// line beyond the caps) is not a failure of the check, only the end of the texts.
bool FetchStructures(ImapClient& imap,
                     const std::vector<uint32_t>& newUids,
                     std::unordered_map<uint32_t, LetterHead>& heads,
                     size_t& stored,
                     NetStatus* st) {
    const std::unordered_set<uint32_t> wanted(newUids.begin(), newUids.end());
    std::unordered_set<uint32_t> answered;
    *st = imap.UidFetchSalvaging(
        newUids, kStructureItems, [&](uint32_t uid, const std::vector<ImapValue>& items, bool damaged) {
            if (!wanted.count(uid) || !answered.insert(uid).second)
                return NetStatus::Success();
            LetterHead& head = heads.at(uid);
            const ImapValue* v = ImapClient::FindItem(items, "BODYSTRUCTURE");
            if (damaged || (v && v->kind != ImapValue::Kind::Nil && !netlib::ParseBodyStructure(*v, &head.structure)))
                return NetStatus::Success();  // no text
            if (!v || v->kind == ImapValue::Kind::Nil) {
                head.text = TextSource::Whole;
                return NetStatus::Success();
            }
            head.text = TextSource::Structure;
            stored += kItemCost * CountParts(head.structure);
            if (stored > kMaxAllHeaderBytes)
                return NetStatus::Fail(netlib::NetCode::Connection, netlib::NetCause::TooLarge,
                                       "too much structure data");
            return NetStatus::Success();
        });
    if (st->ok())
        return true;
    if (st->code == netlib::NetCode::Refused) {
        for (uint32_t uid : newUids)
            heads.at(uid).text = TextSource::Whole;
        *st = NetStatus::Success();
        return true;
    }
    for (uint32_t uid : newUids)
        heads.at(uid).text = TextSource::Unknown;
    return false;
}

// The Body of each new letter. Letters with a structure: one command fetches the text parts all of them need,
// each section up to the size of the largest needed part (a letter lacking a section gets it back empty), and
// each letter decodes its own parts with their own transfer encoding and charset. A letter whose structure the
// server did not give is read from its first bytes as a whole message, in one more command.
NetStatus FetchTexts(ImapClient& imap,
                     const std::vector<uint32_t>& newUids,
                     const std::unordered_map<uint32_t, LetterHead>& headers,
                     std::unordered_map<uint32_t, std::unique_ptr<AListPism>>& records) {
    std::unordered_map<uint32_t, std::vector<const netlib::MimePart*>> parts;
    std::set<std::string> sections;
    std::vector<uint32_t> structured, unstructured;
    uint32_t largest = 0;
    for (uint32_t uid : newUids) {
        const LetterHead& head = headers.at(uid);
        if (head.text == TextSource::Whole)
            unstructured.push_back(uid);
        if (head.text != TextSource::Structure)
            continue;
        std::vector<const netlib::MimePart*>& chosen = parts[uid];
        for (const netlib::MimePart* part : netlib::SelectTextParts(head.structure)) {
            if (chosen.size() == kMaxTextPartsPerLetter)
                break;
            if (!sections.count(part->section) && sections.size() == kMaxSectionsPerFetch)
                continue;
            sections.insert(part->section);
            chosen.push_back(part);
            largest = std::max(largest, part->size);
        }
        if (!chosen.empty())
            structured.push_back(uid);
    }
    if (!structured.empty()) {
        const std::string length = std::to_string(std::clamp(largest, kMinTextPartBytes, kMaxTextPartBytes));
        std::string items = "(UID";
        for (const std::string& section : sections)
            items += " BODY.PEEK[" + section + "]<0." + length + ">";
        items += ")";
        NetStatus st = imap.UidFetch(structured, items, [&](uint32_t uid, const std::vector<ImapValue>& items) {
            auto r = records.find(uid);
            auto p = parts.find(uid);
            if (r == records.end() || p == parts.end())
                return NetStatus::Success();
            std::wstring text;
            for (const netlib::MimePart* part : p->second) {
                if (const std::string* body = StringItem(items, "BODY[" + part->section + "]")) {
                    text += netlib::DecodeTextPart(*part, *body);
                    text += L"\r\n";
                }
            }
            r->second->Body = LetterBody(text);
            return NetStatus::Success();
        });
        if (!st)
            return st;
    }
    if (!unstructured.empty()) {
        return imap.UidFetch(unstructured, kWholeTextItems, [&](uint32_t uid, const std::vector<ImapValue>& items) {
            auto r = records.find(uid);
            const std::string* raw = StringItem(items, "BODY[");
            if (r != records.end() && raw)
                r->second->Body = LetterBody(netlib::ExtractMessageText(netlib::ParseMimeMessage(*raw)));
            return NetStatus::Success();
        });
    }
    return NetStatus::Success();
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
    // Style and script blocks go first, in one pass from left to right. The text kept so far is a stack: when
    // its end becomes "<style" or "<script", the block runs to its closing tag in the input (to the end when
    // there is none) and is cut off the stack, so text before and after a cut can still join into a new block
    // ("<sty<style>x</style>le>y</style>" holds two). Of "</script>" the ">" stays; the tag walk drops it.
    static const std::wstring kStyle = L"<style", kScript = L"<script";
    auto endsWith = [](const std::wstring& s, const std::wstring& tail) {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    };
    std::wstring text;
    text.reserve(input.size());
    for (size_t i = 0; i < input.size();) {
        text += input[i++];
        const bool style = endsWith(text, kStyle);
        if (!style && !endsWith(text, kScript))
            continue;
        text.resize(text.size() - (style ? kStyle.size() : kScript.size()));
        size_t e = input.find(style ? L"</style>" : L"</script>", i);
        if (e == std::wstring::npos)
            break;
        i = e + 8;
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
        std::unordered_map<uint32_t, LetterHead> headers;
        const std::unordered_set<uint32_t> wanted(uids.begin(), uids.end());
        size_t stored = 0;
        NetStatus st = imap.UidFetch(uids, kHeaderItems, [&](uint32_t uid, const std::vector<ImapValue>& items) {
            const std::string* h = StringItem(items, "BODY[");
            if (!h || !wanted.count(uid) || headers.count(uid))
                return NetStatus::Success();
            LetterHead& kept = headers[uid];
            kept.summary = netlib::SummarizeMimeHeaders(*h);
            stored += SummaryCost(kept.summary);
            if (const std::string* arrival = StringItem(items, "INTERNALDATE"))
                kept.hasArrival = netlib::ParseInternalDate(*arrival, &kept.arrival);
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
            const netlib::MimeSummary& s = h->second.summary;
            // Without a readable Date the letter counts as arriving when the server got it.
            TDateTime date = s.hasDate              ? s.date
                             : h->second.hasArrival ? netlib::UtcSecondsToLocalDateTime(h->second.arrival)
                                                    : 0;
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

        bool sessionLost = false;  // the server's structures broke the session: the letters go without text
        if (options.OtobrTextEm && !newUids.empty()) {
            NetStatus structures;
            if (!FetchStructures(imap, newUids, headers, stored, &structures)) {
                if (structures.cause != netlib::NetCause::Protocol && structures.cause != netlib::NetCause::TooLarge)
                    return finish(structures);
                sessionLost = true;
            } else if (NetStatus fetched = FetchTexts(imap, newUids, headers, records); !fetched) {
                return finish(fetched);
            }
        }
        result.ProvEm = provEm;
        for (uint32_t uid : newUids)
            result.Letters.push_back(std::move(records[uid]));
        if (options.Announced)
            options.Announced->Add(key, uidValidity, newUids);
        if (sessionLost) {
            result.Commands = imap.CommandsSent();
            return result;
        }
    }
    // The results stand once the letters are read; a failing LOGOUT does not undo them.
    imap.Logout();
    stream->Close();
    return finish(NetStatus::Success());
}
