// The skin picker: a list of skins, a disabled child window that wears the skin under the cursor, OK and Cancel.
#include "skin/dialogs/SelectSkinDialog.h"

#include <algorithm>
#include <functional>

#include "base/Report.h"
#include "skin/boxes/SkinListBox.h"
#include "skin/controls/SkinButton.h"
#include "skin/form/SkinForm.h"

// ---- TbsSelectSkinDlgForm -------------------------------------------------------------------------------------------

TbsSelectSkinDlgForm::TbsSelectSkinDlgForm(TComponent* AOwner,
                                           TbsSkinData* ACtrlSkinData,
                                           int SkinIndex,
                                           TbsCompressedSkinList* ASkinList,
                                           TFont* AFont)
    : TForm(AOwner), skinList_(ASkinList) {
    BuildLayout(ACtrlSkinData, AFont);
    if (skinList_) {
        for (int i = 0; i < skinList_->Skins()->Count(); ++i) {
            TbsSkinListItem* item = skinList_->Skins()->Items(i);
            ListBox->Items()->Add(item->Description.empty() ? item->Name : item->Description);
        }
    }
    ListBox->SetItemIndex(SkinIndex);
    // The index first, then the list: setting the list loads the skin at that index.
    PreviewSkinData->SetSkinIndex(SkinIndex);
    PreviewLoad([this] { PreviewSkinData->SetSkinList(skinList_); });
    ListBox->OnListBoxClick = [this](TObject*) { ListClick(); };
    PreviewForm->Show();
}

TbsSelectSkinDlgForm::TbsSelectSkinDlgForm(TComponent* AOwner,
                                           TbsSkinData* ACtrlSkinData,
                                           TbsCompressedStoredSkin* DefaultSkin,
                                           TComponent* AForm,
                                           TFont* AFont)
    : TForm(AOwner) {
    BuildLayout(ACtrlSkinData, AFont);
    if (AForm) {
        for (int i = 0; i < AForm->ComponentCount(); ++i)
            if (auto* s = dynamic_cast<TbsCompressedStoredSkin*>(AForm->Components(i))) {
                storedSkins_.push_back(s);
                ListBox->Items()->Add(s->Description.empty() ? s->Name() : s->Description);
            }
    }
    auto it = std::find(storedSkins_.begin(), storedSkins_.end(), DefaultSkin);
    const int index = it != storedSkins_.end() ? static_cast<int>(it - storedSkins_.begin()) : 0;
    if (!storedSkins_.empty()) {
        ListBox->SetItemIndex(index);
        PreviewLoad([&] { PreviewSkinData->SetCompressedStoredSkin(storedSkins_[static_cast<size_t>(index)]); });
    }
    ListBox->OnListBoxClick = [this](TObject*) { ListClick(); };
    PreviewForm->Show();
}

void TbsSelectSkinDlgForm::BuildLayout(TbsSkinData* ACtrlSkinData, TFont* AFont) {
    if (AFont)
        Font()->Assign(AFont);
    SetBorderStyle(bsSingle);
    SetBorderIcons({biSystemMenu});
    SetPosition(poScreenCenter);
    SetKeyPreview(true);
    HandleNeeded();  // the frame's real size, for the client size
    SetClientWidth(420);
    SetClientHeight(240);
    PreviewSkinData = new TbsSkinData(this);
    if (ACtrlSkinData)
        PreviewSkinData->SetResourceStrData(ACtrlSkinData->ResourceStrData());

    // The preview: a child window that takes no input, framed by the preview container's skin as if it were
    // active, with one button of that skin.
    PreviewForm = new TForm(this);
    PreviewForm->SetName(L"PreviewForm");
    PreviewForm->SetBorderStyle(bsSingle);
    PreviewForm->SetBorderIcons({});
    PreviewForm->SetCaption(DlgResText(ACtrlSkinData, L"MSG_PREVIEWSKIN", L"Preview"));
    PreviewForm->Font()->Assign(Font());
    PreviewForm->SetParent(this);
    PreviewForm->SetBounds(190, 10, 220, 170);
    PreviewForm->SetEnabled(false);
    PreviewFrame = new TbsSkinForm(PreviewForm);
    PreviewFrame->PreviewMode = true;
    PreviewFrame->SetBorderIcons({});
    PreviewFrame->SetSkinData(PreviewSkinData);
    PreviewButton = new TbsSkinButton(this);
    PreviewButton->SetName(L"PreviewButton");
    PreviewButton->SetParent(PreviewForm);
    PreviewButton->SetCanFocused(false);
    PreviewButton->SetCaption(DlgResText(ACtrlSkinData, L"MSG_PREVIEWBUTTON", L"Button"));
    PreviewButton->SetDefaultFont(Font());
    PreviewButton->SetBounds(20, 20, 100, PreviewButton->Height());
    PreviewButton->SetSkinData(PreviewSkinData);

    auto button = [&](const std::wstring& name, const std::wstring& text, int modalResult, int left) {
        auto* b = new TbsSkinButton(this);
        b->SetName(name);
        b->SetParent(this);
        b->SetCanFocused(true);
        b->SetCaption(text);
        b->SetModalResult(modalResult);
        b->SetDefaultHeight(25);
        b->SetDefaultFont(Font());
        b->SetBounds(left, 200, 70, 25);
        b->SetSkinData(ACtrlSkinData);
        return b;
    };
    OKButton = button(L"OKButton", DlgResText(ACtrlSkinData, L"MSG_BTN_OK", L"OK"), mrOk, 260);
    OKButton->SetDefault(true);
    CancelButton = button(L"CancelButton", DlgResText(ACtrlSkinData, L"MSG_BTN_CANCEL", L"Cancel"), mrCancel, 340);
    CancelButton->SetCancel(true);

    ListBox = new TbsSkinListBox(this);
    ListBox->SetName(L"SkinListBox");
    ListBox->ListBox->SetName(L"SkinList");
    ListBox->SetParent(this);
    ListBox->SetDefaultFont(Font());
    ListBox->SetBounds(10, 10, 170, 170);
    ListBox->HandleNeeded();
    ListBox->SetSkinData(ACtrlSkinData);
    ListBox->ChangeSkinData();  // lays the inner list out in the frame, also without a skin
    ListBox->OnListBoxDblClick = [this](TObject*) { SetModalResult(mrOk); };
    SetActiveControl(ListBox->ListBox);
}

void TbsSelectSkinDlgForm::PreviewLoad(const std::function<void()>& Load) {
    try {
        Load();
    } catch (...) {
        // The container has cleared itself: the preview shows the built-in look and the dialog stays usable.
        ReportCaught("TbsSelectSkinDlgForm::PreviewLoad");
    }
}

void TbsSelectSkinDlgForm::ListClick() {
    const int i = ListBox->ItemIndex();
    if (i < 0)
        return;
    if (skinList_)
        PreviewLoad([&] { PreviewSkinData->SetSkinIndex(i); });
    else if (i < static_cast<int>(storedSkins_.size()))
        PreviewLoad([&] { PreviewSkinData->SetCompressedStoredSkin(storedSkins_[static_cast<size_t>(i)]); });
}

TbsCompressedStoredSkin* TbsSelectSkinDlgForm::GetSelectedSkin() const {
    return PreviewSkinData->CompressedStoredSkin();
}

int TbsSelectSkinDlgForm::GetSelectedSkinIndex() const {
    return PreviewSkinData->SkinIndex();
}

// ---- TbsSelectSkinDialog --------------------------------------------------------------------------------------------

TbsSelectSkinDialog::TbsSelectSkinDialog(TComponent* AOwner)
    : TbsSkinDialogComponent(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    SetDefaultDlgFont(FDefaultFont.get());
}

TbsSelectSkinDialog::~TbsSelectSkinDialog() = default;

void TbsSelectSkinDialog::SetSkinList(TbsCompressedSkinList* Value) {
    FSkinList = Value;
    if (FSkinList)
        FSkinList->FreeNotification(this);
}

void TbsSelectSkinDialog::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinDialogComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSkinList)
        FSkinList = nullptr;
    if (Operation == opRemove && AComponent == SelectedSkin)
        SelectedSkin = nullptr;
}

bool TbsSelectSkinDialog::Run(TbsSelectSkinDlgForm* Form, const std::function<void(TbsSelectSkinDlgForm*)>& OnOk) {
    std::unique_ptr<TbsSelectSkinDlgForm> form(Form);
    form->SetCaption(Title);
    if (TbsSkinForm* skf = AttachSkinFrame(form.get(), SkinData())) {
        skf->SetMenusSkinData(CtrlSkinData());
        skf->AlphaBlendAnimation = AlphaBlendAnimation;
        skf->SetAlphaBlendValue(AlphaBlendValue);
        skf->SetAlphaBlend(AlphaBlend);
        form->SetClientWidth(std::max(420, skf->GetMinWidth()));
        form->SetClientHeight(std::max(240, skf->GetMinHeight()));
    }
    if (form->ShowModal() != mrOk)
        return false;
    OnOk(form.get());
    return true;
}

bool TbsSelectSkinDialog::Execute(int SkinIndex) {
    if (!FSkinList)
        return false;
    SelectedSkinIndex = -1;
    SelectedSkin = nullptr;
    return Run(new TbsSelectSkinDlgForm(Application, CtrlSkinData(), SkinIndex, FSkinList, FDefaultFont.get()),
               [this](TbsSelectSkinDlgForm* f) { SelectedSkinIndex = f->GetSelectedSkinIndex(); });
}

bool TbsSelectSkinDialog::Execute(TbsCompressedStoredSkin* DefaultCompressedSkin) {
    SelectedSkinIndex = -1;
    SelectedSkin = nullptr;
    return Run(
        new TbsSelectSkinDlgForm(Application, CtrlSkinData(), DefaultCompressedSkin, Owner(), FDefaultFont.get()),
        [this](TbsSelectSkinDlgForm* f) {
            SelectedSkin = f->GetSelectedSkin();
            if (SelectedSkin)
                SelectedSkin->FreeNotification(this);
        });
}
