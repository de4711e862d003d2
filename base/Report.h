// The one place a failure that is caught and survived leaves a trace: debug output always, and a line appended to
// the file named by the environment variable TRELM_LOG when it is set. Safe from any thread; never throws.
#pragma once

#include <string_view>

// Reports a failure caught at `where` (a short "Unit::Function" text). Call it from inside a catch block: the
// current exception's message is added when it is a std::exception.
void ReportCaught(std::string_view where) noexcept;
// Reports a failure that is not an exception (a failed call, a refused input).
void ReportFailure(std::string_view where, std::string_view what) noexcept;
