#include "skin/pickers/SkinDriveComboBox.h"

#include <cwctype>

#include "skin/core/GlyphPainters.h"
#include "skin/pickers/DriveInfo.h"
#include "skin/pickers/PathRoutines.h"
#include "skin/pickers/PickerPictures.h"
#include "skin/pickers/SkinDirectoryListBox.h"

TbsSkinDriveComboBox::TbsSkinDriveComboBox(TComponent* AOwner) : TbsSkinCustomComboBox(AOwner) {
    FloppyBMP = LoadPickerPicture(L"BS_FLOPPY");
    FixedBMP = LoadPickerPicture(L"BS_HARD");
    NetworkBMP = LoadPickerPicture(L"BS_NETWORK");
    CDROMBMP = LoadPickerPicture(L"BS_CDROM");
    RAMBMP = LoadPickerPicture(L"BS_RAM");
    const std::wstring current = DriveInfo().CurrentDir();
    FDrive = current.empty() || current[0] == L'\\' ? L'\0' : Cased(current[0]);
    OnChange = [this](TObject*) { NewChange(); };
    const TbsDrawSkinItemEvent draw = [this](TCanvas* C, int Index, int W, int H, const TRect& R,
                                             TOwnerDrawState S) { DrawItem(C, Index, W, H, R, S); };
    SetOnListBoxDrawItem(draw);
    OnComboBoxDrawItem = draw;
}

TbsSkinDriveComboBox::~TbsSkinDriveComboBox() = default;

void TbsSkinDriveComboBox::BeforeDestruction() {
    if (FDirList && FDirList->FDriveCombo == this)
        FDirList->FDriveCombo = nullptr;
    TbsSkinCustomComboBox::BeforeDestruction();
}

void TbsSkinDriveComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDirList)
        FDirList = nullptr;
}

void TbsSkinDriveComboBox::SetDirList(TbsSkinDirectoryListBox* Value) {
    if (FDirList == Value)
        return;
    if (FDirList) {
        FDirList->FDriveCombo = nullptr;
        RemoveFreeNotification(FDirList);
    }
    FDirList = Value;
    if (FDirList) {
        FDirList->FDriveCombo = this;
        FreeNotification(FDirList);
    }
}

wchar_t TbsSkinDriveComboBox::Cased(wchar_t Letter) const {
    return static_cast<wchar_t>(FTextCase == tcUpperCase ? towupper(Letter) : towlower(Letter));
}

void TbsSkinDriveComboBox::BuildList() {
    IbsDriveInfo& info = DriveInfo();
    TStrings* items = Items();
    items->BeginUpdate();
    items->Clear();
    const std::uint32_t drives = info.LogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i)))
            continue;
        const wchar_t letter = Cased(static_cast<wchar_t>(L'a' + i));
        const std::wstring head{letter, L':'};
        switch (info.DriveType(letter)) {
            case bsdtRemovable:
                items->AddObject(head, FloppyBMP.get());
                break;
            case bsdtFixed:
                items->AddObject(head + L" " + VolumeID(letter), FixedBMP.get());
                break;
            case bsdtRemote:
                items->AddObject(head + L" " + NetworkVolume(letter), NetworkBMP.get());
                break;
            case bsdtCDROM:
                items->AddObject(head + L" " + VolumeID(letter), CDROMBMP.get());
                break;
            case bsdtRamDisk:
                items->AddObject(head + L" " + VolumeID(letter), RAMBMP.get());
                break;
            default:
                break;
        }
    }
    items->EndUpdate();
}

void TbsSkinDriveComboBox::CreateWnd() {
    TbsSkinCustomComboBox::CreateWnd();
    BuildList();
    const wchar_t drive = FDrive;
    FDrive = L'\0';
    SetDrive(drive);
}

void TbsSkinDriveComboBox::SetTextCase(TbsTextCase Value) {
    if (FTextCase == Value)
        return;
    FTextCase = Value;
    if (FDrive != L'\0')
        FDrive = Cased(FDrive);
    BuildList();
    SelectDriveItem();
}

void TbsSkinDriveComboBox::SelectDriveItem() {
    int found = -1;
    TStrings* items = Items();
    for (int i = 0; FDrive != L'\0' && i < items->Count(); ++i) {
        const std::wstring s = items->Get(i);
        if (s.size() >= 2 && towupper(s[0]) == towupper(FDrive) && s[1] == L':') {
            found = i;
            break;
        }
    }
    // Selecting shows the item's text, which reports a change: this selection is no choice of the user's.
    TNotifyEvent change = std::move(OnChange);
    TNotifyEvent click = std::move(OnClick);
    OnChange = nullptr;
    OnClick = nullptr;
    ListBox()->SetItemIndex(found);
    FOldItemIndex = found;
    SetText(found >= 0 ? items->Get(found) : std::wstring());
    Invalidate();
    OnChange = std::move(change);
    OnClick = std::move(click);
}

void TbsSkinDriveComboBox::SetDrive(wchar_t Value) {
    if (ItemIndex() >= 0 && towupper(Value) == towupper(FDrive))
        return;
    FDrive = Value == L'\0' ? L'\0' : Cased(Value);
    SelectDriveItem();
    if (FDirList)
        FDirList->DriveChange(FDrive);
    if (OnChange)
        OnChange(this);
}

void TbsSkinDriveComboBox::NewChange() {
    const int index = ItemIndex();
    if (index >= 0 && index < Items()->Count() && !Items()->Get(index).empty())
        SetDrive(Items()->Get(index)[0]);
}

void TbsSkinDriveComboBox::DrawItem(TCanvas* Cnvs, int Index, int /*ItemWidth*/, int /*ItemHeight*/,
                                    const TRect& TxtRect, TOwnerDrawState /*State*/) {
    if (Index < 0 || Index >= Items()->Count())
        return;
    auto* picture = dynamic_cast<TBitmap*>(Items()->Objects(Index));
    int x = TxtRect.Left;
    if (picture && !picture->Empty()) {
        DrawGlyph(Cnvs, x, TxtRect.Top + (TxtRect.Height() - picture->Height()) / 2, picture, 1, 1);
        x += picture->Width() + 6;
    }
    Cnvs->Brush()->SetStyle(bsClear);
    const std::wstring s = Items()->Get(Index);
    Cnvs->TextOut(x, TxtRect.Top + (TxtRect.Height() - Cnvs->TextHeight(L"Wg")) / 2, s);
}
