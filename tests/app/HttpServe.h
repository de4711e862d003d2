// A loopback HTTP handler for the script server of the network tests: the maker's site as the notifier's tests
// need it. Test code only.
#pragma once

#include <string>

#include "TestSupport.h"

namespace trelm_test {

// Answers every request with the given body as plain text; the request lines are in the server's Received().
inline nettest::ScriptServer::Handler Serve(std::string body) {
    return [body](nettest::ScriptConnection& c) {
        std::string line;
        while (c.ReadLine(&line)) {
            if (!line.empty())
                continue;
            c.Send("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
                   "\r\n\r\n" + body);
        }
    };
}

}  // namespace trelm_test
