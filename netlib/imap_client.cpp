// IMAP commands over a ByteStream. Each command is written whole (literals too, after the server's "+" unless it
// offers LITERAL+), then responses are read until the one tagged with the command's tag.
#include "netlib/imap_client.h"

#include <algorithm>
#include <unordered_set>

#include "netlib/text_util_p.h"

namespace netlib {
namespace {

using text::Upper;
using text::UpperAscii;

NetStatus Protocol(const std::string& what) {
    return NetStatus::Fail(NetCode::Connection, NetCause::Protocol, what);
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
    size_t i = 0;
    for (; prefix[i]; ++i)
        if (i >= s.size() || UpperAscii(s[i]) != UpperAscii(prefix[i]))
            return false;
    return true;
}

void SplitWords(const std::string& text, std::vector<std::string>* words) {
    words->clear();
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        size_t j = i;
        while (j < text.size() && text[j] != ' ')
            ++j;
        if (j > i)
            words->push_back(Upper(text.substr(i, j - i)));
        i = j;
    }
}

}  // namespace

ImapClient::ImapClient(ByteStream* stream, const ImapLimits& limits) : stream_(stream), parser_(limits) {}

bool ImapClient::HasCapability(const char* upper) const {
    return std::find(capabilities_.begin(), capabilities_.end(), upper) != capabilities_.end();
}

bool ImapClient::NeedsLiteral(const std::string& s) {
    for (unsigned char c : s)
        if (c == 0 || c == '\r' || c == '\n' || c >= 0x80)
            return true;
    return false;
}

std::string ImapClient::Quote(const std::string& s) {
    std::string q = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            q += '\\';
        q += c;
    }
    q += '"';
    return q;
}

std::string ImapClient::FormatUidSet(std::vector<uint32_t> uids) {
    std::vector<std::string> sets = SplitUidSet(std::move(uids), std::string::npos);
    return sets.empty() ? std::string() : sets[0];
}

std::vector<std::string> ImapClient::SplitUidSet(std::vector<uint32_t> uids, size_t maxLength) {
    std::sort(uids.begin(), uids.end());
    uids.erase(std::unique(uids.begin(), uids.end()), uids.end());
    std::vector<std::string> sets;
    std::string set;
    for (size_t i = 0; i < uids.size();) {
        size_t j = i;
        while (j + 1 < uids.size() && uids[j + 1] == uids[j] + 1)
            ++j;
        std::string part = std::to_string(uids[i]);
        if (j > i)
            part += ':' + std::to_string(uids[j]);
        if (!set.empty() && set.size() + 1 + part.size() > maxLength) {
            sets.push_back(std::move(set));
            set.clear();
        }
        if (!set.empty())
            set += ',';
        set += part;
        i = j + 1;
    }
    if (!set.empty())
        sets.push_back(std::move(set));
    return sets;
}

const ImapValue* ImapClient::FindItem(const std::vector<ImapValue>& items, const char* prefix) {
    for (size_t i = 0; i + 1 < items.size(); i += 2)
        if (items[i].kind == ImapValue::Kind::Atom && StartsWithNoCase(items[i].text, prefix))
            return &items[i + 1];
    return nullptr;
}

NetStatus ImapClient::Send(const std::string& bytes) {
    return stream_->Write(bytes.data(), bytes.size());
}

NetStatus ImapClient::ReadResponse(ImapResponse* response) {
    char buf[16384];
    while (!parser_.Next(response)) {
        size_t got = 0;
        if (NetStatus st = stream_->Read(buf, sizeof buf, &got); !st)
            return st;
        if (NetStatus st = parser_.Feed(buf, got); !st)
            return st;
    }
    return NetStatus::Success();
}

NetStatus ImapClient::HandleCommonUntagged(const ImapResponse& r, bool* handled) {
    *handled = true;
    if (!r.status.empty()) {
        if (StartsWithNoCase(r.code, "CAPABILITY"))
            SplitWords(r.code.substr(10), &capabilities_);
        if (r.status == "OK" && StartsWithNoCase(r.code, "UIDVALIDITY ")) {
            ImapValue v{ImapValue::Kind::Atom, r.code.substr(12), {}};
            if (!v.AsNumber(&uidValidity_))
                return Protocol("malformed UIDVALIDITY");
        }
        if (r.status == "BYE" && !loggingOut_)
            return NetStatus::Fail(NetCode::Connection, NetCause::Server, "server closed the session: " + r.text);
        return NetStatus::Success();  // untagged OK/NO/BAD are informational
    }
    if (!r.data.empty() && r.data[0].IsAtom("CAPABILITY")) {
        capabilities_.clear();
        for (size_t i = 1; i < r.data.size(); ++i)
            if (r.data[i].kind == ImapValue::Kind::Atom) {
                capabilities_.push_back(Upper(r.data[i].text));
            }
        return NetStatus::Success();
    }
    *handled = false;
    return NetStatus::Success();
}

NetStatus ImapClient::ReadGreeting(bool* preauth) {
    if (preauth)
        *preauth = false;
    ImapResponse r;
    if (NetStatus st = ReadResponse(&r); !st)
        return st;
    if (r.kind != ImapResponse::Kind::Untagged || r.status.empty() || r.status == "NO" || r.status == "BAD")
        return Protocol("no IMAP greeting");
    if (r.status == "BYE")
        return NetStatus::Fail(NetCode::Connection, NetCause::Server, "server refused the session: " + r.text);
    if (StartsWithNoCase(r.code, "CAPABILITY"))
        SplitWords(r.code.substr(10), &capabilities_);
    if (preauth)
        *preauth = r.status == "PREAUTH";
    return NetStatus::Success();
}

NetStatus ImapClient::WaitForContinuation(const std::string& tag, NetCode failCode, const UntaggedHandler& onUntagged) {
    for (;;) {
        ImapResponse r;
        if (NetStatus st = ReadResponse(&r); !st)
            return st;
        if (r.kind == ImapResponse::Kind::Continuation)
            return NetStatus::Success();
        if (r.kind == ImapResponse::Kind::Tagged) {
            if (r.tag != tag)
                return Protocol("response with an unknown tag");
            return NetStatus::Fail(failCode, NetCause::Server, r.status + " " + r.text);
        }
        bool handled = false;
        if (NetStatus st = HandleCommonUntagged(r, &handled); !st)
            return st;
        if (!handled && onUntagged)
            if (NetStatus st = onUntagged(r); !st)
                return st;
    }
}

NetStatus ImapClient::Run(const std::string& command,
                          const std::vector<Arg>& args,
                          NetCode failCode,
                          const UntaggedHandler& onUntagged) {
    const std::string tag = "a" + std::to_string(nextTag_++);
    const bool literalPlus = HasCapability("LITERAL+");
    std::string pending = tag + " " + command;
    ++commands_;
    for (const Arg& a : args) {
        pending += ' ';
        if (!a.isString) {
            pending += a.text;
        } else if (!NeedsLiteral(a.text)) {
            pending += Quote(a.text);
        } else {
            pending += "{" + std::to_string(a.text.size()) + (literalPlus ? "+}\r\n" : "}\r\n");
            if (!literalPlus) {
                if (NetStatus st = Send(pending); !st)
                    return st;
                pending.clear();
                if (NetStatus st = WaitForContinuation(tag, failCode, onUntagged); !st)
                    return st;
            }
            pending += a.text;
        }
    }
    pending += "\r\n";
    if (NetStatus st = Send(pending); !st)
        return st;

    NetStatus deferred;  // a handler failure: reported once the command's responses are drained
    for (;;) {
        ImapResponse r;
        if (NetStatus st = ReadResponse(&r); !st) {
            if (loggingOut_ && st.cause == NetCause::Closed)
                return NetStatus::Success();
            return st;
        }
        if (r.kind == ImapResponse::Kind::Continuation)
            return Protocol("unexpected continuation request");
        if (r.kind == ImapResponse::Kind::Tagged) {
            if (r.tag != tag)
                return Protocol("response with an unknown tag");
            if (r.status != "OK")
                return NetStatus::Fail(failCode, NetCause::Server, r.status + " " + r.text);
            return deferred;
        }
        bool handled = false;
        if (NetStatus st = HandleCommonUntagged(r, &handled); !st)
            return st;
        if (!handled && onUntagged && deferred.ok())
            deferred = onUntagged(r);
    }
}

NetStatus ImapClient::Capability() {
    if (!capabilities_.empty())
        return NetStatus::Success();
    return Run("CAPABILITY", {}, NetCode::Refused, nullptr);
}

NetStatus ImapClient::Login(const std::string& userUtf8, const std::string& passwordUtf8) {
    return Run("LOGIN", {{userUtf8, true}, {passwordUtf8, true}}, NetCode::Auth, nullptr);
}

NetStatus ImapClient::Select(const std::string& mailbox, uint32_t* uidValidity) {
    uidValidity_ = 0;
    NetStatus st = Run("SELECT", {{mailbox, true}}, NetCode::Mailbox, nullptr);
    *uidValidity = uidValidity_;
    return st;
}

NetStatus ImapClient::UidSearchUnseen(std::vector<uint32_t>* uids) {
    uids->clear();
    std::unordered_set<uint32_t> seen;
    return Run("UID SEARCH", {{"UNSEEN", false}}, NetCode::Refused, [&](const ImapResponse& r) {
        if (!r.data.empty() && r.data[0].IsAtom("SEARCH")) {
            for (size_t i = 1; i < r.data.size(); ++i) {
                uint32_t uid = 0;
                if (!r.data[i].AsNumber(&uid) || uid == 0)
                    return Protocol("malformed SEARCH response");
                if (seen.insert(uid).second)
                    uids->push_back(uid);
            }
        }
        return NetStatus::Success();
    });
}

NetStatus ImapClient::UidFetch(const std::vector<uint32_t>& uids,
                               const std::string& items,
                               const FetchHandler& handler) {
    return Fetch(uids, items, false,
                 [&](uint32_t uid, const std::vector<ImapValue>& values, bool) { return handler(uid, values); });
}

NetStatus ImapClient::UidFetchSalvaging(const std::vector<uint32_t>& uids,
                                        const std::string& items,
                                        const SalvageHandler& handler) {
    parser_.KeepMalformedData(true);
    NetStatus st = Fetch(uids, items, true, handler);
    parser_.KeepMalformedData(false);
    return st;
}

NetStatus ImapClient::Fetch(const std::vector<uint32_t>& uids,
                            const std::string& items,
                            bool salvage,
                            const SalvageHandler& handler) {
    const UntaggedHandler onFetch = [&](const ImapResponse& r) {
        if (r.data.size() < 3 || !r.data[1].IsAtom("FETCH"))
            return NetStatus::Success();  // EXISTS, EXPUNGE, ...
        const bool listed = r.data[2].kind == ImapValue::Kind::List;
        const bool damaged = r.malformed || !listed || r.data[2].items.size() % 2 != 0;
        if (damaged && !salvage)
            return Protocol("malformed FETCH response");
        if (!listed)
            return NetStatus::Success();  // nothing says which letter it was
        const ImapValue* uidValue = FindItem(r.data[2].items, "UID");
        uint32_t uid = 0;
        if (!uidValue || !uidValue->AsNumber(&uid))
            return NetStatus::Success();  // an unsolicited flag update
        return handler(uid, r.data[2].items, damaged);
    };
    // Responses are matched by UID, so the order of the pieces does not matter to the caller.
    for (const std::string& set : SplitUidSet(uids))
        if (NetStatus st = Run("UID FETCH", {{set, false}, {items, false}}, NetCode::Refused, onFetch); !st)
            return st;
    return NetStatus::Success();
}

NetStatus ImapClient::Logout() {
    loggingOut_ = true;
    return Run("LOGOUT", {}, NetCode::Refused, nullptr);
}

}  // namespace netlib
