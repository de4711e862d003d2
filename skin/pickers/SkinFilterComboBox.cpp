#include "skin/pickers/SkinFilterComboBox.h"

#include "classlib/SysUtils.h"
#include "skin/pickers/SkinFileListBox.h"

const wchar_t kDefaultFilter[] = L"All files (*.*)|*.*";

TbsSkinFilterComboBox::TbsSkinFilterComboBox(TComponent* AOwner) : TbsSkinCustomComboBox(AOwner) {}

TbsSkinFilterComboBox::~TbsSkinFilterComboBox() = default;

void TbsSkinFilterComboBox::BeforeDestruction() {
    if (FFileList && FFileList->FFilterCombo == this)
        FFileList->FFilterCombo = nullptr;
    TbsSkinCustomComboBox::BeforeDestruction();
}

void TbsSkinFilterComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFileList)
        FFileList = nullptr;
}

void TbsSkinFilterComboBox::SetFileList(TbsSkinFileListBox* Value) {
    if (FFileList == Value)
        return;
    if (FFileList) {
        FFileList->FFilterCombo = nullptr;
        RemoveFreeNotification(FFileList);
    }
    FFileList = Value;
    if (FFileList) {
        FFileList->FFilterCombo = this;
        FreeNotification(FFileList);
    }
}

void TbsSkinFilterComboBox::BuildList() {
    TStrings* items = Items();
    items->BeginUpdate();
    items->Clear();
    FMasks.clear();
    // Each "|" ends a description; the text after it up to the next "|" (or the end) is that item's mask.
    size_t start = 0;
    for (size_t bar = FFilter.find(L'|'); bar != std::wstring::npos; bar = FFilter.find(L'|', start)) {
        const std::wstring description = FFilter.substr(start, bar - start);
        size_t end = FFilter.find(L'|', bar + 1);
        if (end == std::wstring::npos)
            end = FFilter.size();
        items->Add(description);
        FMasks.push_back(FFilter.substr(bar + 1, end - bar - 1));
        start = end + 1;
        if (end >= FFilter.size())
            break;
    }
    items->EndUpdate();
    TNotifyEvent change = std::move(OnChange);
    OnChange = nullptr;
    ListBox()->SetItemIndex(items->Count() > 0 ? 0 : -1);
    FOldItemIndex = ListBox()->ItemIndex();
    SetText(items->Count() > 0 ? items->Get(0) : std::wstring());
    OnChange = std::move(change);
    Invalidate();
}

void TbsSkinFilterComboBox::CreateWnd() {
    TbsSkinCustomComboBox::CreateWnd();
    BuildList();
}

void TbsSkinFilterComboBox::SetFilter(const std::wstring& Value) {
    if (AnsiCompareText(Value, FFilter) == 0)
        return;
    FFilter = Value;
    if (!HandleAllocated())
        return;
    BuildList();
    ApplyMask();
    if (OnChange)
        OnChange(this);
}

std::wstring TbsSkinFilterComboBox::Mask() {
    int index = ItemIndex();
    if (index < 0 && Items()->Count() > 0) {
        ListBox()->SetItemIndex(Items()->Count() - 1);
        index = ItemIndex();
    }
    if (index < 0 || index >= static_cast<int>(FMasks.size()))
        return L"*.*";
    return FMasks[static_cast<size_t>(index)];
}

void TbsSkinFilterComboBox::ApplyMask() {
    if (FFileList)
        FFileList->SetMask(Mask());
}

// A choice shows the item's text, which fires OnChange: the file list has its mask before that.
void TbsSkinFilterComboBox::WndProc(TMessage& Message) {
    if (Message.Msg == CM_TEXTCHANGED)
        ApplyMask();
    TbsSkinCustomComboBox::WndProc(Message);
}

void TbsSkinFilterComboBox::Change() { ApplyMask(); }
