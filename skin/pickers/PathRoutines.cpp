// The pickers' path routines; the drive and folder facts come from the drive seam.
#include "skin/pickers/PathRoutines.h"

#include <algorithm>
#include <cwctype>

#include "classlib/SysUtils.h"
#include "skin/pickers/DriveInfo.h"

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Index of the first "\" at or after From, stepping over surrogate pairs whole; npos when none.
size_t NextSlash(const std::wstring& S, size_t From) {
    for (size_t i = From; i < S.size(); ++i) {
        if (S[i] == L'\\')
            return i;
        if (IsHighSurrogate(S[i]))
            ++i;
    }
    return std::wstring::npos;
}

bool IsDriveLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

std::wstring CasedLike(wchar_t DriveLetter, const std::wstring& S) {
    return (DriveLetter >= L'a' && DriveLetter <= L'z') ? AnsiLowerCase(S) : AnsiUpperCase(S);
}

}  // namespace

std::wstring SlashSep(const std::wstring& Path, const std::wstring& S) {
    if (!Path.empty() && Path.back() == L'\\')
        return Path + S;
    return Path + L"\\" + S;
}

void CutFirstDirectory(std::wstring& S) {
    if (S == L"\\") {
        S.clear();
        return;
    }
    const bool root = !S.empty() && S[0] == L'\\';
    if (root)
        S.erase(0, 1);
    if (!S.empty() && S[0] == L'.')
        S.erase(0, std::min<size_t>(4, S.size()));
    const size_t slash = NextSlash(S, 0);
    if (slash == std::wstring::npos)
        S.clear();
    else
        S = L"...\\" + S.substr(slash + 1);
    if (root)
        S.insert(0, L"\\");
}

std::wstring FileDrive(const std::wstring& Path) {
    if (Path.size() >= 2 && Path[1] == L':' && IsDriveLetter(Path[0]))
        return Path.substr(0, 2);
    if (Path.size() >= 2 && Path[0] == L'\\' && Path[1] == L'\\') {
        // "\\server\share": up to the "\" after the share's name.
        const size_t server = NextSlash(Path, 2);
        if (server == std::wstring::npos || server == 2)
            return {};
        const size_t share = NextSlash(Path, server + 1);
        return Path.substr(0, share == std::wstring::npos ? Path.size() : share);
    }
    return {};
}

std::wstring MinimizeName(const std::wstring& FileName, const std::function<int(const std::wstring&)>& TextWidth,
                          int MaxLen) {
    std::wstring dir = ExtractFilePath(FileName);
    const std::wstring name = ExtractFileName(FileName);
    std::wstring drive;
    if (dir.size() >= 2 && dir[1] == L':') {
        drive = dir.substr(0, 2);
        dir.erase(0, 2);
    }
    while ((!drive.empty() || !dir.empty()) && TextWidth(drive + dir + name) > MaxLen) {
        if (dir == L"\\...\\") {
            drive.clear();
            dir = L"...\\";
        } else if (dir.empty()) {
            drive.clear();
        } else {
            const std::wstring before = dir;
            CutFirstDirectory(dir);
            // Every cut shortens the folder or reaches one of the forms above; a text that would come back
            // unchanged is given up whole, so the loop always ends.
            if (dir == before)
                dir.clear();
        }
    }
    return drive + dir + name;
}

int DirLevel(const std::wstring& Path) {
    int n = 0;
    for (wchar_t c : Path)
        n += c == L'\\' ? 1 : 0;
    return n;
}

bool SeamFolderExists(const std::wstring& Name) {
    const std::uint32_t a = DriveInfo().Attributes(Name);
    return a != kNoAttributes && (a & kAttrDirectory) != 0;
}

bool SeamFileExists(const std::wstring& Name) {
    const std::uint32_t a = DriveInfo().Attributes(Name);
    return a != kNoAttributes && (a & kAttrDirectory) == 0;
}

std::wstring VolumeID(wchar_t DriveLetter) {
    std::wstring label;
    std::uint32_t flags = 0;
    if (!DriveInfo().Volume(DriveLetter, label, flags))
        label.clear();
    return CasedLike(DriveLetter, L"[" + label + L"]");
}

std::wstring NetworkVolume(wchar_t DriveLetter) {
    std::wstring remote;
    if (!DriveInfo().NetworkName(static_cast<wchar_t>(towupper(DriveLetter)), remote))
        return VolumeID(DriveLetter);
    return CasedLike(DriveLetter, remote);
}

void ChangeDir(const std::wstring& Path) {
    if (!DriveInfo().SetCurrentDir(Path))
        throw EInOutError(L"Cannot change to the folder \"" + Path + L"\"", 3 /* path not found */);
}

void ProcessPath(const std::wstring& EditText, wchar_t& Drive, std::wstring& DirPart, std::wstring& FilePart) {
    IbsDriveInfo& info = DriveInfo();
    const std::wstring saveDir = info.CurrentDir();
    Drive = saveDir.empty() ? L'\0' : saveDir[0];
    DirPart = EditText;
    FilePart.clear();
    std::wstring root;
    if (DirPart.size() >= 2 && DirPart.front() == L'[' && DirPart.back() == L']') {
        DirPart = DirPart.substr(1, DirPart.size() - 2);
    } else {
        root = FileDrive(DirPart);
        if (root.empty())
            root = FileDrive(saveDir);
        else
            DirPart.erase(0, root.size());
        Drive = (root.size() >= 2 && root[1] == L':') ? root[0] : L'\0';
    }
    struct Restore {
        const std::wstring& dir;
        ~Restore() {
            if (SeamFolderExists(dir))
                DriveInfo().SetCurrentDir(dir);
        }
    } restore{saveDir};

    if (!root.empty() && SeamFolderExists(root))
        ChangeDir(root);
    FilePart = ExtractFileName(DirPart);
    if (DirPart.size() == FilePart.size() + 1) {
        DirPart = L"\\";
    } else if (DirPart.size() > FilePart.size()) {
        DirPart.resize(DirPart.size() - FilePart.size() - 1);
    } else {
        DirPart = info.CurrentDir();
        DirPart.erase(0, FileDrive(DirPart).size());
        if (DirPart.empty())
            DirPart = L"\\";
    }
    if (!DirPart.empty())
        ChangeDir(DirPart);
    const bool wild = FilePart.find_first_of(L"*?") != std::wstring::npos;
    if (!FilePart.empty() && !wild && !SeamFileExists(FilePart)) {
        ChangeDir(FilePart);
        DirPart = DirPart.back() == L'\\' ? DirPart + FilePart : DirPart + L"\\" + FilePart;
        FilePart.clear();
    }
    if (Drive == L'\0')
        DirPart = root + DirPart;
}
