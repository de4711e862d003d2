#include "base/Text.h"

namespace {
template <class Char>
std::basic_string<Char> Trim(std::basic_string_view<Char> text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned>(text[e - 1]) <= ' ')
        --e;
    return std::basic_string<Char>(text.substr(b, e - b));
}
}  // namespace

std::wstring TrimText(std::wstring_view text) {
    return Trim(text);
}

std::string TrimText(std::string_view text) {
    return Trim(text);
}
