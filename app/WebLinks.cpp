// The maker's site, our other products and the help file.
#include "app/WebLinks.h"

#include <shellapi.h>

TMakerSite& MakerSite() {
    static TMakerSite site;
    return site;
}

std::wstring MakerUrl(const std::wstring& path) {
    const TMakerSite& site = MakerSite();
    std::wstring url = L"http://" + site.host;
    if (site.port != 0)
        url += L":" + std::to_wstring(site.port);
    return url + path;
}

const std::vector<TProductLink>& OtherProducts() {
    static const std::vector<TProductLink> products = {
        {L"Trelm Notes", L"/notes.html", 3},       {L"Trelm Clock", L"/clock.html", 4},
        {L"Trelm Shot", L"/shot.html", 5},         {L"Trelm Backup", L"/backup.html", 6},
        {L"Trelm Calendar", L"/calendar.html", 7}, {L"Trelm Keeper", L"/keeper.html", 8},
        {L"Trelm Weather", L"/weather.html", 9},   {L"Trelm Player", L"/player.html", 10},
        {L"Trelm Timer", L"/timer.html", 11},      {L"Trelm Disk", L"/disk.html", 12},
        {L"Trelm Rename", L"/rename.html", 13},
    };
    return products;
}

void OpenHelp(HWND owner) {
    ShellExecuteW(owner, L"open", kHelpFile, nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenWebPage(const std::wstring& url) {
    ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
