// Small helpers shared by the developer tools: timing for the benchmarks and JSON string quoting.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/Utf.h"

// How often a benchmark runs each piece of work.
constexpr int kBenchRuns = 15;

// Best time of `runs` calls of work, in milliseconds: the least disturbed run is the one to compare.
inline double BestMs(const std::function<void()>& work, int runs = kBenchRuns) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        work();
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    return best;
}

inline std::string JsonHex4(std::uint16_t unit) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out(4, '0');
    for (int i = 3; i >= 0; --i, unit >>= 4)
        out[static_cast<size_t>(i)] = kDigits[unit & 0xF];
    return out;
}

// A JSON string literal in UTF-8; lone surrogates and control characters are written as \u escapes, so any
// UTF-16 text survives a round trip.
inline std::string JsonQuote(std::wstring_view text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<uint16_t>(text[i]);
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < text.size() && static_cast<uint16_t>(text[i + 1]) >= 0xDC00 &&
            static_cast<uint16_t>(text[i + 1]) <= 0xDFFF) {
            out += WideToUtf8(text.substr(i, 2));
            ++i;
        } else if (high || low || unit < 0x20) {
            switch (unit) {
                case '\n':
                    out += "\\n";
                    break;
                case '\r':
                    out += "\\r";
                    break;
                case '\t':
                    out += "\\t";
                    break;
                default:
                    out += "\\u" + JsonHex4(unit);
            }
        } else if (unit == '"') {
            out += "\\\"";
        } else if (unit == '\\') {
            out += "\\\\";
        } else {
            out += WideToUtf8(text.substr(i, 1));
        }
    }
    return out + "\"";
}
