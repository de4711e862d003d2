#include "skin/pickers/SkinFileListBox.h"

#include <windows.h>

#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "classlib/SysUtils.h"
#include "skin/pickers/DriveInfo.h"
#include "skin/pickers/PathRoutines.h"
#include "skin/pickers/SkinDirectoryListBox.h"

namespace {

// The attribute bits the members of Type ask for (bsftNormal asks for none).
DWORD AttributesOf(TbsFileType Type) {
    DWORD a = 0;
    if (Type.Contains(bsftReadOnly))
        a |= FILE_ATTRIBUTE_READONLY;
    if (Type.Contains(bsftHidden))
        a |= FILE_ATTRIBUTE_HIDDEN;
    if (Type.Contains(bsftSystem))
        a |= FILE_ATTRIBUTE_SYSTEM;
    if (Type.Contains(bsftVolumeID))
        a |= kAttrVolumeID;
    if (Type.Contains(bsftDirectory))
        a |= FILE_ATTRIBUTE_DIRECTORY;
    if (Type.Contains(bsftArchive))
        a |= FILE_ATTRIBUTE_ARCHIVE;
    return a;
}

// Hidden, system, volume and folder entries are found only when the attribute set asks for them.
constexpr DWORD kSearchOnlyWhenAsked = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | kAttrVolumeID |
                                       FILE_ATTRIBUTE_DIRECTORY;

}  // namespace

TbsSkinFileListBox::TbsSkinFileListBox(TComponent* AOwner) : TbsSkinCustomListBox(AOwner) {
    SetBounds(Left(), Top(), 145, Height());
    SetSorted(true);
    FDirectory = DriveInfo().CurrentDir();
}

TbsSkinFileListBox::~TbsSkinFileListBox() = default;

void TbsSkinFileListBox::BeforeDestruction() {
    if (FDirList && FDirList->FFileList == this)
        FDirList->FFileList = nullptr;
    TbsSkinCustomListBox::BeforeDestruction();
}

void TbsSkinFileListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomListBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFileEdit)
        FFileEdit = nullptr;
}

void TbsSkinFileListBox::SetFileEdit(TCustomEdit* Value) {
    if (FFileEdit == Value)
        return;
    if (FFileEdit)
        RemoveFreeNotification(FFileEdit);
    FFileEdit = Value;
    if (FFileEdit) {
        FreeNotification(FFileEdit);
        Change();
    }
}

void TbsSkinFileListBox::ListBoxCreateWnd() { ReadFileNames(); }

void TbsSkinFileListBox::Update() { ReadFileNames(); }

void TbsSkinFileListBox::ReadFileNames() {
    if (!ListBox || !ListBox->HandleAllocated())
        return;
    const DWORD wanted = AttributesOf(FFileType);
    const DWORD excluded = ~wanted & kSearchOnlyWhenAsked;
    ChangeDir(FDirectory);
    TStrings* items = Items();
    items->BeginUpdate();
    items->Clear();
    TScreen* screen = FindScreen();
    const TCursor saved = screen ? screen->Cursor() : crDefault;
    int added = 0;
    size_t start = 0;
    while (start <= FMask.size()) {
        size_t end = FMask.find(L';', start);
        if (end == std::wstring::npos)
            end = FMask.size();
        const std::wstring mask = Trim(FMask.substr(start, end - start));
        start = end + 1;
        if (mask.empty())
            continue;
        WIN32_FIND_DATAW fd;
        HANDLE h = ::FindFirstFileW(mask.c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        do {
            const DWORD a = fd.dwFileAttributes;
            if (a & excluded)
                continue;
            if (!FFileType.Contains(bsftNormal) && !(a & wanted))
                continue;
            const std::wstring name = fd.cFileName;
            items->Add((a & FILE_ATTRIBUTE_DIRECTORY) ? L"[" + name + L"]" : name);
            if (++added == 101 && screen)
                screen->SetCursor(crHourGlass);
        } while (::FindNextFileW(h, &fd));
        ::FindClose(h);
    }
    items->EndUpdate();
    if (screen)
        screen->SetCursor(saved);
    UpDateScrollBar();
    Change();
}

void TbsSkinFileListBox::Change() {
    FLastSel = ItemIndex();
    if (FFileEdit) {
        const std::wstring name = FileName();
        FFileEdit->SetText(name.empty() ? FMask : name);
        FFileEdit->SelectAll();
    }
    if (OnChange)
        OnChange(this);
}

void TbsSkinFileListBox::ListBoxClick() {
    TbsSkinCustomListBox::ListBoxClick();
    if (ItemIndex() != FLastSel)
        Change();
}

std::wstring TbsSkinFileListBox::FileName() {
    const int index = ItemIndex();
    return index >= 0 ? Items()->Get(index) : std::wstring();
}

void TbsSkinFileListBox::SetFileName(const std::wstring& Value) {
    if (Value == FileName())
        return;
    int index = -1;
    if (ListBox && ListBox->HandleAllocated())
        index = static_cast<int>(
            ::SendMessageW(ListBox->Handle(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(Value.c_str())));
    SetItemIndex(index < 0 ? -1 : index);
    Change();
}

std::wstring TbsSkinFileListBox::GetFilePath() {
    return ItemIndex() >= 0 ? SlashSep(FDirectory, FileName()) : std::wstring();
}

void TbsSkinFileListBox::SetDirectory(const std::wstring& Value) {
    if (AnsiCompareText(Value, FDirectory) == 0)
        return;
    if (SeamFolderExists(FDirectory))
        DriveInfo().SetCurrentDir(FDirectory);
    ChangeDir(Value);
    FDirectory = DriveInfo().CurrentDir();
    ReadFileNames();
}

void TbsSkinFileListBox::SetDrive(wchar_t Value) {
    if (Value == L'\0' || towupper(Value) == towupper(Drive()))
        return;
    ApplyFilePath(std::wstring{Value, L':'});
}

void TbsSkinFileListBox::SetMask(const std::wstring& Value) {
    if (Value == FMask)
        return;
    FMask = Value;
    ReadFileNames();
}

void TbsSkinFileListBox::SetFileType(TbsFileType Value) {
    if (Value == FFileType)
        return;
    FFileType = Value;
    ReadFileNames();
}

void TbsSkinFileListBox::ApplyFilePath(const std::wstring& EditText) {
    if (EditText.empty() || AnsiCompareText(EditText, FileName()) == 0)
        return;
    wchar_t drive = L'\0';
    std::wstring dirPart, filePart;
    ProcessPath(EditText, drive, dirPart, filePart);
    if (FDirList)
        FDirList->SetDirectory(EditText);
    else if (drive == L'\0')
        SetDirectory(dirPart);
    else
        SetDirectory(std::wstring{drive, L':'} + dirPart);
    if (filePart.find_first_of(L"*?") != std::wstring::npos) {
        SetMask(filePart);
    } else if (!filePart.empty()) {
        SetFileName(filePart);
        if (SeamFileExists(filePart) && FileName().empty()) {
            SetMask(filePart);
            SetFileName(filePart);
        }
    }
}
