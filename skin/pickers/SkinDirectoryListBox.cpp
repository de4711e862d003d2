#include "skin/pickers/SkinDirectoryListBox.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "classlib/SysUtils.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinText.h"
#include "skin/pickers/DriveInfo.h"
#include "skin/pickers/PathRoutines.h"
#include "skin/pickers/PickerPictures.h"
#include "skin/pickers/SkinDriveComboBox.h"
#include "skin/pickers/SkinFileListBox.h"

namespace {

// The sub-folders of Dir (without "." and ".."), sorted as the user's locale sorts names.
std::vector<std::wstring> SubFolders(const std::wstring& Dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW(SlashSep(Dir, L"*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = fd.cFileName;
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
    std::sort(names.begin(), names.end(),
              [](const std::wstring& a, const std::wstring& b) { return AnsiCompareText(a, b) < 0; });
    return names;
}

}  // namespace

TbsSkinDirectoryListBox::TbsSkinDirectoryListBox(TComponent* AOwner) : TbsSkinCustomListBox(AOwner) {
    SetBounds(Left(), Top(), 145, Height());
    FDirectory = DriveInfo().CurrentDir();
    ReadBitmaps();
    OnDrawItem = [this](TCanvas* C, int Index, int W, int H, const TRect& R, TOwnerDrawState S) {
        DrawItem(C, Index, W, H, R, S);
    };
}

TbsSkinDirectoryListBox::~TbsSkinDirectoryListBox() = default;

void TbsSkinDirectoryListBox::BeforeDestruction() {
    if (FFileList)
        FFileList->FDirList = nullptr;
    TbsSkinCustomListBox::BeforeDestruction();
}

void TbsSkinDirectoryListBox::ReadBitmaps() {
    OpenedBMP = LoadPickerPicture(L"BS_OPENFOLDER");
    ClosedBMP = LoadPickerPicture(L"BS_CLOSEDFOLDER");
    CurrentBMP = LoadPickerPicture(L"BS_CURRENTFOLDER");
}

void TbsSkinDirectoryListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomListBox::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FFileList)
        FFileList = nullptr;
    if (AComponent == FDirLabel)
        FDirLabel = nullptr;
}

void TbsSkinDirectoryListBox::SetFileList(TbsSkinFileListBox* Value) {
    if (FFileList == Value)
        return;
    if (FFileList) {
        FFileList->FDirList = nullptr;
        RemoveFreeNotification(FFileList);
    }
    FFileList = Value;
    if (FFileList) {
        FFileList->FDirList = this;
        FreeNotification(FFileList);
    }
}

void TbsSkinDirectoryListBox::SetDirLabel(TbsSkinStdLabel* Value) {
    if (FDirLabel == Value)
        return;
    if (FDirLabel)
        RemoveFreeNotification(FDirLabel);
    FDirLabel = Value;
    if (FDirLabel) {
        FreeNotification(FDirLabel);
        Change();
    }
}

bool TbsSkinDirectoryListBox::SameDirectory(const std::wstring& A, const std::wstring& B) const {
    return FCaseSensitive ? A == B : AnsiCompareText(A, B) == 0;
}

void TbsSkinDirectoryListBox::SetDirectory(const std::wstring& Value) {
    if (Value.empty() || SameDirectory(Value, FDirectory))
        return;
    wchar_t drive = L'\0';
    std::wstring dirPart, filePart;
    ProcessPath(Value, drive, dirPart, filePart);
    if (drive != L'\0' && towupper(drive) != towupper(Drive())) {
        FInSetDir = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{FInSetDir};
        if (FDriveCombo)
            FDriveCombo->SetDrive(drive);
        else
            DriveChange(drive);
    }
    if (SeamFolderExists(FDirectory))
        DriveInfo().SetCurrentDir(FDirectory);
    ChangeDir(dirPart);
    FDirectory = DriveInfo().CurrentDir();
    BuildList();
    Change();
}

void TbsSkinDirectoryListBox::SetDrive(wchar_t Value) {
    if (Value == L'\0' || towupper(Value) == towupper(Drive()))
        return;
    SetDirectory(std::wstring{Value, L':'});
}

void TbsSkinDirectoryListBox::DriveChange(wchar_t NewDrive) {
    if (towupper(NewDrive) == towupper(Drive()) || NewDrive == L'\0')
        return;
    // The letter upper case, as the system names drives in the folders it reports.
    if (!DriveInfo().SetCurrentDir(std::wstring{static_cast<wchar_t>(towupper(NewDrive)), L':'}))
        return;
    FDirectory = DriveInfo().CurrentDir();
    if (!FInSetDir) {
        BuildList();
        Change();
    }
}

void TbsSkinDirectoryListBox::BuildList() {
    TStrings* items = Items();
    items->BeginUpdate();
    items->Clear();
    const std::wstring root = FileDrive(FDirectory);
    std::wstring label;
    std::uint32_t flags = 0;
    const wchar_t letter = root.size() == 2 ? root[0] : L'\0';
    if (letter != L'\0' && DriveInfo().Volume(letter, label, flags)) {
        FPreserveCase = (flags & (kVolumeCaseSensitive | kVolumeCasePreserved)) != 0;
        FCaseSensitive = (flags & kVolumeCaseSensitive) != 0;
    } else {
        FPreserveCase = true;
        FCaseSensitive = false;
    }
    auto cased = [this](const std::wstring& S) { return FPreserveCase ? S : AnsiLowerCase(S); };

    std::wstring rest = FDirectory;
    const bool network = (root + L"\\").size() > 1 && (root + L"\\")[1] == L'\\';
    if (network) {
        items->AddObject(cased(root + L"\\"), OpenedBMP.get());
        rest.erase(0, root.size());
    }
    if (!rest.empty() && rest.back() == L'\\') {
        items->AddObject(cased(rest), CurrentBMP.get());
    } else {
        bool first = true;
        size_t start = 0;
        for (size_t slash = rest.find(L'\\'); slash != std::wstring::npos; slash = rest.find(L'\\', start)) {
            std::wstring part = rest.substr(start, slash - start);
            start = slash + 1;
            if (part.empty())
                continue;
            if (first && !network && part.size() == 2 && part[1] == L':')
                part += L"\\";
            first = false;
            items->AddObject(cased(part), OpenedBMP.get());
        }
        if (start < rest.size())
            items->AddObject(cased(rest.substr(start)), CurrentBMP.get());
    }
    for (const std::wstring& name : SubFolders(FDirectory))
        items->AddObject(cased(name), ClosedBMP.get());
    items->EndUpdate();
    if (ListBox && ListBox->HandleAllocated()) {
        SelectCurrent();
        UpDateScrollBar();
    }
}

void TbsSkinDirectoryListBox::SelectCurrent() {
    TStrings* items = Items();
    for (int i = 0; i < items->Count(); ++i) {
        if (items->Objects(i) == CurrentBMP.get()) {
            SetItemIndex(i);
            return;
        }
    }
}

void TbsSkinDirectoryListBox::ListBoxCreateWnd() {
    BuildList();
    const int level = DirLevel(FDirectory);
    if (level < Items()->Count())
        SetItemIndex(level);
}

void TbsSkinDirectoryListBox::Change() {
    if (FFileList)
        FFileList->SetDirectory(FDirectory);
    if (FDirLabel) {
        TBitmap measure(1, 1);
        measure.Canvas()->Font()->Assign(FDirLabel->Font());
        const int width = FDirLabel->AutoSize() ? Width() : FDirLabel->Width();
        FDirLabel->SetCaption(MinimizeName(FDirectory, measure.Canvas(), width));
    }
    if (OnChange)
        OnChange(this);
}

void TbsSkinDirectoryListBox::Update() {
    BuildList();
    Change();
}

std::wstring TbsSkinDirectoryListBox::GetItemPath(int Index) {
    TStrings* items = Items();
    if (Index < 0 || Index >= items->Count())
        return {};
    const std::wstring drive = FileDrive(FDirectory);
    if (Index == 0)
        return drive + L"\\";
    TObject* picture = items->Objects(Index);
    if (picture == ClosedBMP.get())
        return SlashSep(FDirectory, items->Get(Index));
    if (picture == CurrentBMP.get())
        return FDirectory;
    // A folder on the way: the part of Directory before its (Index + 1)-th "\".
    const std::wstring rest = FDirectory.substr(drive.size());
    size_t pos = std::wstring::npos;
    int seen = 0;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == L'\\' && ++seen == Index + 1) {
            pos = i;
            break;
        }
        if (rest[i] >= 0xD800 && rest[i] <= 0xDBFF)
            ++i;
    }
    return drive + rest.substr(0, pos);
}

void TbsSkinDirectoryListBox::OpenCurrent() {
    const int index = ItemIndex();
    if (index >= 0)
        SetDirectory(GetItemPath(index));
}

void TbsSkinDirectoryListBox::ListBoxDblClick() {
    TbsSkinCustomListBox::ListBoxDblClick();
    OpenCurrent();
}

void TbsSkinDirectoryListBox::ListBoxKeyPress(wchar_t& Key) {
    TbsSkinCustomListBox::ListBoxKeyPress(Key);
    if (Key == L'\r')
        OpenCurrent();
}

TBitmap* TbsSkinDirectoryListBox::ItemPicture(int Index) {
    TBitmap* b = dynamic_cast<TBitmap*>(Items()->Objects(Index));
    return b && !b->Empty() ? b : nullptr;
}

int TbsSkinDirectoryListBox::ItemIndent(int Index, TBitmap* /*Picture*/) {
    if (Items()->Objects(Index) == ClosedBMP.get())
        return DirLevel(FDirectory) * 4 + 6;
    return Index * 4 + 2;
}

int TbsSkinDirectoryListBox::GetFullItemWidth(int Index, TCanvas* ACanvas) {
    const int text = TbsSkinCustomListBox::GetFullItemWidth(Index, ACanvas);
    TBitmap* picture = ItemPicture(Index);
    if (!picture)
        return text + Index * 4 + 22;
    return text + picture->Width() + ItemIndent(Index, picture) + 4;
}

void TbsSkinDirectoryListBox::DrawItem(TCanvas* Cnvs, int Index, int /*ItemWidth*/, int /*ItemHeight*/,
                                       const TRect& TxtRect, TOwnerDrawState /*State*/) {
    TBitmap* picture = ItemPicture(Index);
    const int indent = ItemIndent(Index, picture);
    const int scroll = ListBox ? ListBox->FHorizontalExtentValue : 0;
    const int pictureWidth = picture ? picture->Width() : 16;
    if (picture)
        DrawGlyph(Cnvs, TxtRect.Left + indent - scroll, TxtRect.Top + (TxtRect.Height() - picture->Height()) / 2,
                  picture, 1, 1);
    Cnvs->Brush()->SetStyle(bsClear);
    BSDrawText3(Cnvs, Items()->Get(Index), TxtRect, pictureWidth + indent - scroll + 4);
}
