// ImapClient: the IMAP4rev1 commands a mail check needs (greeting, CAPABILITY, LOGIN, SELECT, UID SEARCH, UID
// FETCH, LOGOUT) over a ByteStream. Untagged and tagged responses may come in any order; literals may stand
// wherever a string can; a NO, BAD or BYE ends the command with a graded status.
// Contract: the client borrows the stream, which must outlive it; one thread; strings handed to callbacks are
// valid during the callback only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "netlib/imap_parse.h"
#include "netlib/net_stream.h"

namespace netlib {

class ImapClient {
  public:
    explicit ImapClient(ByteStream* stream, const ImapLimits& limits = {});

    // Reads the server's greeting. A BYE greeting fails; *preauth tells a PREAUTH greeting.
    NetStatus ReadGreeting(bool* preauth = nullptr);
    // Sends CAPABILITY unless the greeting already listed the capabilities.
    NetStatus Capability();
    const std::vector<std::string>& Capabilities() const { return capabilities_; }
    bool HasCapability(const char* upper) const;

    // LOGIN with both arguments as quoted strings, or as literals when they hold non-ASCII or line breaks.
    NetStatus Login(const std::string& userUtf8, const std::string& passwordUtf8);
    // SELECT; *uidValidity gets the mailbox's UIDVALIDITY (0 when the server sent none).
    NetStatus Select(const std::string& mailbox, uint32_t* uidValidity);
    // UID SEARCH UNSEEN: the UIDs in the order the server listed them, without repeats.
    NetStatus UidSearchUnseen(std::vector<uint32_t>* uids);

    // One FETCH response: its UID and the item list (name, value, name, value ...).
    using FetchHandler = std::function<NetStatus(uint32_t uid, const std::vector<ImapValue>& items)>;
    // UID FETCH <set> <items> for all uids, the set written as ranges: one command whenever the set fits in
    // kMaxUidSetLength (any run of consecutive UIDs does), else one command per piece of that length, so that a
    // scattered set of thousands of UIDs never exceeds a server's line limit (Dovecot's is 64 KB). The handler
    // sees each response that carries a UID. A failure the handler returns ends the command with it (the rest of
    // the responses is still drained) and no further command is sent.
    NetStatus UidFetch(const std::vector<uint32_t>& uids, const std::string& items, const FetchHandler& handler);
    static constexpr size_t kMaxUidSetLength = 8 * 1024;
    // The same for items a server may garble (BODYSTRUCTURE): a FETCH response that frames correctly but does not
    // parse keeps the session going; the handler gets what parsed before the fault with damaged set (and the lists
    // cut short marked damaged). A response without a readable UID is skipped.
    using SalvageHandler = std::function<NetStatus(uint32_t uid, const std::vector<ImapValue>& items, bool damaged)>;
    NetStatus UidFetchSalvaging(const std::vector<uint32_t>& uids,
                                const std::string& items,
                                const SalvageHandler& handler);

    NetStatus Logout();

    // Commands written so far (for cost tests and logs).
    int CommandsSent() const { return commands_; }

    // Helpers for fetch handlers and tests.
    // The uids as one IMAP set, sorted, without repeats, runs as ranges: "1:3,5,7,9:10".
    static std::string FormatUidSet(std::vector<uint32_t> uids);
    // The same set cut at commas into pieces of at most maxLength characters (a single range longer than that,
    // possible only for a tiny maxLength, is a piece of its own); no pieces for no uids.
    static std::vector<std::string> SplitUidSet(std::vector<uint32_t> uids, size_t maxLength = kMaxUidSetLength);
    // The value after the first item name that starts with prefix (case-insensitive), or nullptr.
    static const ImapValue* FindItem(const std::vector<ImapValue>& items, const char* prefix);
    // An IMAP string argument: "quoted" when safe, else a {n} literal header (the caller sends the bytes).
    static bool NeedsLiteral(const std::string& s);
    static std::string Quote(const std::string& s);

  private:
    struct Arg {
        std::string text;
        bool isString;  // quoted or sent as a literal; otherwise written as it is
    };
    using UntaggedHandler = std::function<NetStatus(const ImapResponse&)>;

    NetStatus Run(const std::string& command,
                  const std::vector<Arg>& args,
                  NetCode failCode,
                  const UntaggedHandler& onUntagged);
    NetStatus ReadResponse(ImapResponse* response);
    NetStatus HandleCommonUntagged(const ImapResponse& r, bool* handled);
    NetStatus WaitForContinuation(const std::string& tag, NetCode failCode, const UntaggedHandler& onUntagged);
    NetStatus Send(const std::string& bytes);
    NetStatus Fetch(const std::vector<uint32_t>& uids,
                    const std::string& items,
                    bool salvage,
                    const SalvageHandler& handler);

    ByteStream* stream_;  // borrowed
    ImapResponseParser parser_;
    std::vector<std::string> capabilities_;
    int nextTag_ = 1;
    int commands_ = 0;
    bool loggingOut_ = false;
    uint32_t uidValidity_ = 0;  // from the last untagged OK [UIDVALIDITY n]
};

}  // namespace netlib
