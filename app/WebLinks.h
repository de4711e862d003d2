// Our web site: the host of the maker's server (server list, thanks page, product pages), the other products
// shown on the third page, and the help file.
// GUI thread for the Open* calls (they go through the shell); the rest is pure.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The maker's web server. The server list, the thanks page and the product pages all live there; the .example
// name keeps development builds off the network until the site is live. Tests point MakerSite() at a loopback
// server instead.
inline constexpr const wchar_t* kMakerHost = L"www.trelmmail.example";

struct TMakerSite {
    std::wstring host = kMakerHost;
    uint16_t port = 0;  // 0: http's default
};
// The one place every download and link takes the server from.
TMakerSite& MakerSite();

// "http://host[:port]" + path of the maker's site.
std::wstring MakerUrl(const std::wstring& path);

// One of our other products on the third page: its name (the button label), its page on the site, and the
// language line that describes it.
struct TProductLink {
    const wchar_t* name;
    const wchar_t* page;
    int langLine;
};
const std::vector<TProductLink>& OtherProducts();

inline constexpr const wchar_t* kHelpFile = L"TrelmMail_help.chm";
inline constexpr const wchar_t* kThanksPage = L"/thanks.html";

// The help file from the current folder (the shortcuts make it the program folder), owned by owner.
void OpenHelp(HWND owner);
// A web page in the browser, no owner window.
void OpenWebPage(const std::wstring& url);
