// The open dialog component: builds the window for one run, configures it from the properties, shows it modally and
// reads the result and the user's layout choices back.
#include "skin/dialogs/OpenDialog.h"

#include <algorithm>

#include "classlib/SysUtils.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/OpenDialogRules.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"
#include "skin/pickers/SkinFilterComboBox.h"
#include "skin/shell/ShellComboBox.h"
#include "skin/shell/ShellListView.h"

namespace {

std::wstring ProgramFolder() {
    wchar_t buf[MAX_PATH * 2] = {};
    const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2 ? ExtractFileDir(buf) : std::wstring();
}

}  // namespace

TbsSkinOpenDialog::TbsSkinOpenDialog(TComponent* AOwner)
    : TbsSkinDialogComponent(AOwner), FFiles(std::make_unique<TStringList>()), FDefaultFont(std::make_unique<TFont>()) {
    SetDefaultDlgFont(FDefaultFont.get());
}

TbsSkinOpenDialog::~TbsSkinOpenDialog() {
    if (FToolBarImageList)
        FToolBarImageList->RemoveFreeNotification(this);
}

void TbsSkinOpenDialog::SetToolBarImageList(TCustomImageList* Value) {
    if (FToolBarImageList)
        FToolBarImageList->RemoveFreeNotification(this);
    FToolBarImageList = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsSkinOpenDialog::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinDialogComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FToolBarImageList)
        FToolBarImageList = nullptr;
}

void TbsSkinOpenDialog::Change() {
    if (OnChange)
        OnChange(this);
}

std::wstring TbsSkinOpenDialog::GetSelectedFile() const {
    return FDlgFrm ? FDlgFrm->FileListView->GetSelectedFile() : std::wstring();
}

void TbsSkinOpenDialog::SetFileName(const std::wstring& Value) {
    FileName = Value;
    if (FDlgFrm)
        FDlgFrm->FileNameEdit->SetText(ExtractFileName(Value));
}

std::unique_ptr<TbsOpenDlgForm> TbsSkinOpenDialog::NewForm() {
    return std::make_unique<TbsOpenDlgForm>(Application);
}

bool TbsSkinOpenDialog::Execute() {
    // The shell layer lives for the run (a program holding one already keeps it).
    TbsShellUnit shellUnit;
    if (OnShow)
        OnShow(this);
    std::unique_ptr<TbsOpenDlgForm> form;
    TModalResult result = mrCancel;
    try {
        // 1.
        form = NewForm();
        form->CreateEx(FSaveMode, CtrlSkinData(), ToolButtonsTransparent, FToolBarImageList, ShowThumbnails);
        form->OverwritePromt = OverwritePromt;
        form->OnFolderChange = OnFolderChange;
        form->CheckFileExists = CheckFileExists;
        if (UsesDefaultExt())
            form->DefaultExt = DefaultExt;
        TbsOpenDlgForm* f = form.get();

        // 2. Caption, frame, translucency, fonts.
        f->SetCaption(Title);
        f->SKF->SetBorderIcons({});
        f->SKF->SetSkinData(SkinData());
        f->SKF->SetMenusSkinData(CtrlSkinData());
        f->SKF->Limits.MinWidth = DialogMinWidth;
        f->SKF->Limits.MinHeight = DialogMinHeight;
        f->SKF->Limits.MinClientWidth = 550;
        f->SKF->Limits.MinClientHeight = FMinClientHeight;
        f->SKF->AlphaBlendAnimation = AlphaBlendAnimation;
        f->SKF->SetAlphaBlendValue(AlphaBlendValue);
        f->SKF->SetAlphaBlend(AlphaBlend);
        for (TbsSkinCustomComboBox* box : {static_cast<TbsSkinCustomComboBox*>(f->ShellBox),
                                           static_cast<TbsSkinCustomComboBox*>(f->FilterComboBox)}) {
            box->SetAlphaBlend(CtrlAlphaBlend);
            box->SetAlphaBlendValue(CtrlAlphaBlendValue);
            box->SetAlphaBlendAnimation(CtrlAlphaBlendAnimation);
        }
        if (TbsSkinMenu* menu = f->SKF->SkinMenu()) {
            menu->AlphaBlend = CtrlAlphaBlend;
            menu->AlphaBlendValue = CtrlAlphaBlendValue;
            menu->AlphaBlendAnimation = CtrlAlphaBlendAnimation;
        }
        f->OpenButton->SetDefaultFont(FDefaultFont.get());
        f->CancelButton->SetDefaultFont(FDefaultFont.get());
        f->ShellBox->SetDefaultFont(FDefaultFont.get());
        f->FileListView->SetDefaultFont(FDefaultFont.get());

        // 3. View style.
        TbsShellListViewStyle style = ListViewStyle;
        if (style >= bsvsThumbnails && !(ShowThumbnails && TbsOpenDlgForm::VistaOrLater()))
            style = bsvsList;
        using TStyleClick = void (TbsOpenDlgForm::*)(TObject*);
        static constexpr TStyleClick kStyleClicks[] = {
            &TbsOpenDlgForm::IconItemClick,       &TbsOpenDlgForm::SmallIconItemClick,
            &TbsOpenDlgForm::ListItemClick,       &TbsOpenDlgForm::ReportItemClick,
            &TbsOpenDlgForm::ThumbnailsItemClick, &TbsOpenDlgForm::BigThumbnailsItemClick,
            &TbsOpenDlgForm::VeryBigThumbnailsItemClick};
        (f->*kStyleClicks[style >= bsvsIcon && style <= bsvsVeryBigThumbnails ? style : bsvsList])(f);
        PrepareForm(f);

        // 5. The list's mask, skin and options.
        f->FileListView->SetMask(f->FilterComboBox->Text());
        f->FileListView->SetHeaderSkinDataName(LVHeaderSkinDataName);
        f->FileListView->SetSkinData(CtrlSkinData());
        if (TbsSkinData* c = CtrlSkinData()) {
            f->FileListView->SetDrawSkin(c->DlgListViewDrawSkin);
            f->FileListView->SetItemSkinDataName(c->DlgListViewItemSkinDataName);
        }
        f->FileListView->SetMultiSelect(MultiSelection);
        if (ShowHiddenFiles) {
            TShellObjectTypes types = f->FileListView->ObjectTypes();
            types.Include(otHidden);
            f->FileListView->SetObjectTypes(types);
        }

        // 6. The filter sets the list's mask through its change.
        f->FilterComboBox->SetFilter(Filter);
        f->FilterComboBox->SetItemIndex(FilterIndex - 1);

        // 7. Control skin everywhere.
        TbsSkinData* ctrl = CtrlSkinData();
        for (TbsSkinPanel* p : {f->FileListViewPanel, f->ButtonsPanel, f->BottomPanel, f->ClientPanel,
                                static_cast<TbsSkinPanel*>(f->ToolPanel)})
            p->SetSkinData(ctrl);
        for (TbsSkinStdLabel* l : {f->Drivelabel, f->OpenFileLabel, f->FileTypeLabel})
            l->SetSkinData(ctrl);
        for (TbsSkinButton* b : {f->OpenButton, f->CancelButton, f->BackToolButton, f->UpToolButton,
                                 f->NewFolderToolButton, static_cast<TbsSkinButton*>(f->StyleToolButton)})
            b->SetSkinData(ctrl);
        f->FLVHScrollBar->SetSkinData(ctrl);
        f->FLVVScrollBar->SetSkinData(ctrl);
        f->FileNameEdit->SetSkinData(ctrl);
        f->FilterComboBox->SetSkinData(ctrl);
        f->ShellBox->SetSkinDataName(L"combobox");
        f->ShellBox->SetSkinData(ctrl);
        f->StylePopupMenu->SetSkinData(ctrl);
        if (ctrl && !ctrl->Empty && ctrl->GetControlIndex(L"resizetoolbutton") != -1)
            for (TbsSkinButton* b : {f->BackToolButton, f->UpToolButton, f->NewFolderToolButton,
                                     static_cast<TbsSkinButton*>(f->StyleToolButton)})
                b->SetSkinDataName(L"resizetoolbutton");
        f->OpenFileLabel->SetHeight(f->FileNameEdit->Height() - 1);
        f->FileTypeLabel->SetHeight(f->FilterComboBox->Height() - 1);

        // 4. Start folder. Set after everything that makes the list read its folder again (mask, filter, object
        // types, window style), so that a large folder is read once.
        std::wstring start = ExtractFileDir(FileName);
        if (start.empty() || !DirectoryExists(start))
            start = !InitialDir.empty() && DirectoryExists(InitialDir) ? InitialDir : ProgramFolder();
        f->FileListView->SetRoot(start);
        // A root set directly is not passed on to the linked box.
        if (f->FileListView->RootFolder())
            f->ShellBox->SetPathFromID(f->FileListView->RootFolder()->AbsoluteID());

        // 8. Client size, never below the minimum.
        const int w = DialogWidth > 0 ? DialogWidth : FDefaultWidth;
        const int h = DialogHeight > 0 ? DialogHeight : FDefaultHeight;
        f->SetClientWidth(std::max(w, 550));
        f->SetClientHeight(std::max(h, FMinClientHeight));

        // 9.
        if (f->FileListView->Items()->Count() > 0)
            f->FileListView->Items()->Item(0)->SetFocused(true);
        f->FileNameEdit->SetText(ExtractFileName(FileName));
        f->InitHistory();
        FDlgFrm = f;
        result = f->ShowModal();
        FDlgFrm = nullptr;
        AfterModal();

        // 10. Read back whatever the result.
        FilterIndex = f->FilterComboBox->ItemIndex() + 1;
        DialogWidth = f->ClientWidth();
        DialogHeight = f->ClientHeight();
        ListViewStyle = f->ShownStyle();

        // 12.
        if (result == mrOk) {
            FileName = f->FileName;
            const std::wstring mask = f->FilterComboBox->Mask();
            if (FSaveMode && mask.find(L".*") == std::wstring::npos && !HasFileExtension(FileName))
                FileName += MaskExtension(mask);
            f->FileListView->GetSelectedFiles(FFiles.get());
            if (FSaveMode && UsesDefaultExt() && !HasFileExtension(FileName) && !DefaultExt.empty())
                FileName += L"." + DefaultExt;
        }
    } catch (...) {
        FDlgFrm = nullptr;
        form.reset();
        if (OnClose)
            OnClose(this);
        throw;
    }
    form.reset();
    if (OnClose)
        OnClose(this);
    // 11.
    if (result != mrOk)
        return false;
    Change();
    return true;
}
