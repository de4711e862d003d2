#include "skin/shell/ShellNames.h"

#include <array>

namespace {

struct TRootFolderInfo {
    const wchar_t* name;
    int csidl;
};

constexpr std::array<TRootFolderInfo, kRootFolderCount> kRootFolders{{
    {L"rfDesktop", 0x00},
    {L"rfMyComputer", 0x11},
    {L"rfNetwork", 0x12},
    {L"rfRecycleBin", 0x0A},
    {L"rfAppData", 0x1A},
    {L"rfCommonDesktopDirectory", 0x19},
    {L"rfCommonPrograms", 0x17},
    {L"rfCommonStartMenu", 0x16},
    {L"rfCommonStartup", 0x18},
    {L"rfControlPanel", 0x03},
    {L"rfDesktopDirectory", 0x10},
    {L"rfFavorites", 0x06},
    {L"rfFonts", 0x14},
    {L"rfInternet", 0x01},
    {L"rfPersonal", 0x05},
    {L"rfPrinters", 0x04},
    {L"rfPrintHood", 0x1B},
    {L"rfPrograms", 0x02},
    {L"rfRecent", 0x08},
    {L"rfSendTo", 0x09},
    {L"rfStartMenu", 0x0B},
    {L"rfStartup", 0x07},
    {L"rfTemplates", 0x15},
}};

}  // namespace

const wchar_t* RootFolderName(int index) {
    return index >= 0 && index < kRootFolderCount ? kRootFolders[static_cast<size_t>(index)].name : L"";
}

int RootFolderCSIDL(int index) {
    return index >= 0 && index < kRootFolderCount ? kRootFolders[static_cast<size_t>(index)].csidl : -1;
}

int RootFolderIndex(const std::wstring& name) {
    for (int i = 0; i < kRootFolderCount; ++i)
        if (name == kRootFolders[static_cast<size_t>(i)].name)
            return i;
    return -1;
}

std::wstring RootParsingName(const std::wstring& root) {
    if (!root.empty() && root.back() == L':')
        return root + L'\\';
    return root;
}

std::wstring RemoveDigitMarks(const std::wstring& name) {
    if (name.size() > 1 && name[0] == L'?' && name[1] >= L'0' && name[1] <= L'9') {
        std::wstring out;
        for (wchar_t c : name)
            if (c != L'?')
                out += c;
        return out;
    }
    return name;
}

std::int64_t SizeInKB(std::int64_t bytes) { return bytes <= 0 ? 0 : (bytes + 1023) / 1024; }

std::wstring FormatKBSize(std::int64_t kb) {
    std::wstring digits = std::to_wstring(kb < 0 ? 0 : kb);
    std::wstring out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += L' ';
        out += digits[i];
    }
    return out + L" KB";
}
