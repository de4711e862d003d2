// ImapResponseParser: turns the bytes a server sends into complete IMAP responses. It frames lines and literals
// incrementally, so input may be cut anywhere (a literal split across reads, a CRLF split in two), and it holds
// every line and literal to fixed caps so that a hostile server cannot make it allocate without bound.
// Contract: a plain object for one thread; no I/O; returned responses are owned by the caller.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "netlib/net_status.h"

namespace netlib {

struct ImapValue {
    enum class Kind { Atom, String, Nil, List };
    Kind kind = Kind::Atom;
    std::string text;              // Atom and String
    std::vector<ImapValue> items;  // List
    bool damaged = false;          // List: cut short where a malformed response stopped parsing (KeepMalformedData)

    bool IsAtom(const char* upper) const;  // case-insensitive compare of an atom
    // Atom that is a whole decimal number fitting 32 bits unsigned.
    bool AsNumber(uint32_t* value) const;
};

struct ImapResponse {
    enum class Kind { Untagged, Tagged, Continuation };
    Kind kind = Kind::Untagged;
    std::string tag;              // Tagged only
    std::string status;           // "OK", "NO", "BAD", "BYE" or "PREAUTH" (upper case) for status responses, else empty
    std::string code;             // the response code inside [...] of a status response, without the brackets
    std::string text;             // human-readable text of a status or continuation response
    std::vector<ImapValue> data;  // a data response: the values after "*", e.g. 3, FETCH, (UID 7 ...)
    // A data response that framed but did not parse (only with KeepMalformedData): data holds what parsed before
    // the fault, each list around it marked damaged.
    bool malformed = false;
};

struct ImapLimits {
    size_t maxLine = 1 << 20;       // one line of a response, without its literals
    size_t maxLiteral = 8 << 20;    // one literal
    size_t maxResponse = 16 << 20;  // a response with all its lines and literals
    int maxDepth = 32;              // nesting of parenthesised lists
    size_t maxLiterals = 4096;      // literals in one response
};

class ImapResponseParser {
  public:
    explicit ImapResponseParser(const ImapLimits& limits = {});

    // Consumes bytes. A protocol error or an exceeded cap is final: this and every later call return it.
    NetStatus Feed(const char* data, size_t size);
    // Takes the oldest complete response; false when there is none.
    bool Next(ImapResponse* response);
    bool HasResponse() const { return !ready_.empty(); }
    // A data response whose lines and literals frame correctly but whose values do not parse (unbalanced, nested
    // too deep, garbage) leaves the session in step: with keep set it is delivered as malformed instead of ending
    // the parse, for data a caller can do without.
    void KeepMalformedData(bool keep) { keepMalformed_ = keep; }

  private:
    NetStatus FinishLine();
    NetStatus Complete();
    NetStatus Fail(NetCause cause, std::string detail);

    ImapLimits limits_;
    NetStatus error_;
    // The response being framed: its lines (without CRLF) and the literal that follows each but the last.
    std::vector<std::string> lines_;
    std::vector<std::string> literals_;
    std::string line_;
    size_t literalLeft_ = 0;
    bool inLiteral_ = false;
    size_t responseSize_ = 0;
    bool keepMalformed_ = false;
    std::deque<ImapResponse> ready_;
};

// Parses one complete response from its lines and literals (what the framing collected). With keepMalformed a
// data response that does not parse is returned as malformed (see ImapResponse). Exposed for tests.
NetStatus ParseImapResponse(const std::vector<std::string>& lines,
                            const std::vector<std::string>& literals,
                            int maxDepth,
                            ImapResponse* response,
                            bool keepMalformed = false);

}  // namespace netlib
