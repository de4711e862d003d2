#include "setup/WizardLogic.h"

#include <algorithm>

int WinVerCode(unsigned Major, unsigned Minor) {
    struct TVer {
        unsigned Major, Minor;
        int Code;
    };
    static const TVer kVersions[] = {{4, 0, 1995},  {4, 10, 1998}, {4, 90, 1999}, {5, 0, 2000},
                                     {5, 1, 2001},  {6, 0, 2005},  {6, 1, 2012},  {6, 2, 2013},
                                     {6, 3, 2014},  {10, 0, 2015}, {10, 1, 2016}};
    for (const TVer& v : kVersions)
        if (v.Major == Major && v.Minor == Minor)
            return v.Code;
    return 9999;
}

std::wstring InvertS(const std::wstring& S) {
    return std::wstring(S.rbegin(), S.rend());
}

int PosR2L(const std::wstring& SubStr, const std::wstring& S) {
    if (SubStr.empty() || SubStr.size() > S.size())
        return 0;
    const size_t p = InvertS(S).find(InvertS(SubStr));
    // Not found is 0: the position formula alone would give Length(S) - Length(SubStr) + 2.
    if (p == std::wstring::npos)
        return 0;
    return static_cast<int>(S.size() - SubStr.size() - (p + 1) + 2);
}

std::wstring FolderPartOf(const std::wstring& Path) {
    const size_t p = Path.rfind(L'\\');
    return p == std::wstring::npos ? std::wstring() : Path.substr(0, p);
}

namespace {

// Path, or its nearest existing parent; empty when not even its drive exists.
std::wstring NearestExisting(std::wstring Path, const TProposalInputs& In) {
    if (!In.FolderExists)
        return Path;
    while (!Path.empty()) {
        const std::wstring probe = Path.size() == 2 && Path[1] == L':' ? Path + L'\\' : Path;
        if (In.FolderExists(probe))
            return Path;
        if (Path.size() <= 3)
            return std::wstring();
        std::wstring trimmed = Path;
        if (trimmed.back() == L'\\')
            trimmed.pop_back();
        Path = FolderPartOf(trimmed);
    }
    return Path;
}

}  // namespace

std::wstring ProposeTargetFolder(const TProposalInputs& In, const std::wstring& FolderName) {
    std::wstring dir = NearestExisting(FolderPartOf(In.UninstallString), In);
    const std::int64_t freeD = In.FreeDBytes < 0 ? 0 : In.FreeDBytes / 1048576;
    if (In.WinVer > 2002 && dir.size() < 5 && freeD > 10)
        dir = L"D:\\";
    if (dir.size() < 3)
        dir = In.ProgramFilesDir;
    if (dir.empty() && freeD > 10)
        dir = L"D:\\";
    if (dir.empty())
        dir = L"C:\\";
    // The earlier installation's own folder gives way to the folder it was made in; a name inside the path stays.
    const int p = PosR2L(FolderName, dir);
    if (p > 0 && static_cast<size_t>(p) + FolderName.size() - 1 == dir.size())
        dir.resize(dir.size() - FolderName.size());
    if (dir.size() < 3)
        dir = L"C:\\";
    return dir;
}

std::wstring FormatMegabytes(std::int64_t Mb, wchar_t Separator) {
    std::wstring digits = Mb > 0 ? std::to_wstring(Mb) : std::wstring();
    std::wstring out;
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0 && Separator)
            out += Separator;
        out += digits[static_cast<size_t>(i)];
    }
    return out + L" Mb";
}

std::wstring FreeSpaceLine(wchar_t Letter, const std::wstring& Free) {
    return L"Программе необходимо 7 Mb. На диске  " + std::wstring(1, Letter) + L":  " + Free + L" свободно.";
}

std::wstring StepTitle(int Step, const std::wstring& ProgName) {
    switch (Step) {
        case 0:
            return L"Описание " + ProgName;
        case 1:
            return L"Лицензионное соглашение на  " + ProgName;
        case 2:
            return L"Выбор каталога для  " + ProgName;
        case 3:
            return L"Программа " + ProgName + L" в Пуск -> программы";
        case 4:
            return L"Установка  " + ProgName;
        default:
            return L"Установка  " + ProgName + L"  завершена.";
    }
}

std::wstring NextCaption(int Step) {
    if (Step < 4)
        return L"Далее >";
    if (Step == 4)
        return L"Установить";
    return L"Готово";
}
