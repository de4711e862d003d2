// Where the skinned-form tests find their skins: the colour-coded fixture and the folders of the generated set.
// The build passes both roots as Unix-style paths on drive Z:.
#pragma once

#include <string>

namespace skintest {

inline std::wstring Widen(const char* s) {
    std::wstring w;
    for (const char* p = s; *p; ++p)
        w += (*p == '/') ? L'\\' : static_cast<wchar_t>(*p);
    return w;
}

// The colour-coded fixture skin's folder.
inline std::wstring FixtureFolder() {
    return Widen(TRELM_SKIN_FIXTURES) + L"\\colorcoded";
}

// The ini file of one skin of the generated set.
inline std::wstring SetSkin(const wchar_t* folder) {
    return Widen(TRELM_SKINSET) + L"\\" + folder + L"\\skin.ini";
}

}  // namespace skintest
