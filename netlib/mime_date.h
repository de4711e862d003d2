// RFC 5322 dates ("Tue, 1 Jul 2003 10:52:37 +0200", with the obsolete syntax: zone names, two-digit years, asctime
// order, dashed dates, zones glued to the time) and their conversion to local time as a day-count date (days since
// 30 December 1899, time of day as the fraction).
// Contract: pure functions; any thread. Local time follows the Windows time-zone rules for the date converted.
#pragma once

#include <cstdint>
#include <string>

struct _TIME_ZONE_INFORMATION;

namespace netlib {

// Seconds since 1970-01-01 00:00 UTC, or false when the text is not a date.
bool ParseMailDate(const std::string& text, int64_t* utcSeconds);

// A UTC moment as a day-count date, without zone conversion.
double UtcSecondsToDateTime(int64_t utcSeconds);
// A UTC moment as a local day-count date in the system's time zone, or in zone when one is given.
double UtcSecondsToLocalDateTime(int64_t utcSeconds, const _TIME_ZONE_INFORMATION* zone = nullptr);
// The present moment as a local day-count date.
double NowLocalDateTime();

}  // namespace netlib
