// A web host that answers a request one byte at a time, with a pause before each byte: the host so slow that every
// single read keeps within a time-out. A handler for nettest::ScriptServer. Test code only.
#pragma once

#include <windows.h>

#include <string>

#include "TestSupport.h"

namespace trelm_test {

inline nettest::ScriptServer::Handler DripHandler(std::string response, DWORD everyMs) {
    return [response, everyMs](nettest::ScriptConnection& c) {
        std::string line;
        while (c.ReadLine(&line)) {
            if (!line.empty())
                continue;
            for (char byte : response) {
                Sleep(everyMs);
                if (!c.Send(std::string(1, byte)))
                    return;
            }
        }
    };
}

// An HTTP response with body, whole.
inline std::string HttpOk(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

}  // namespace trelm_test
