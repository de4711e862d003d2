// The sound variant of the open dialog: the preview bar and the stop call after the run.
#include "skin/dialogs/OpenSoundDialog.h"

#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/dialogs/OpenDialogRules.h"
#include "skin/pickers/SkinFilterComboBox.h"

namespace {

// The glyph of a bitmap resource of the program; nullptr when the program has none.
std::unique_ptr<TBitmap> ResourceGlyph(const wchar_t* Name) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    if (!FindResourceW(module, Name, MAKEINTRESOURCEW(2)))  // RT_BITMAP
        return nullptr;
    auto b = std::make_unique<TBitmap>();
    b->LoadFromResourceName(module, Name);
    return b;
}

}  // namespace

std::wstring TbsOpenSoundDlgForm::DialogDefaultExt() { return MaskExtension(FilterComboBox->Mask()); }

void TbsOpenSoundDlgForm::CreateExtraPanels(TCustomImageList* AToolBarImageList, bool AToolButtonsTransparent) {
    SoundPanel = new TbsSkinToolBar(this);
    SoundPanel->SetName(L"SoundPanel");
    SoundPanel->SetTop(BottomPanel->Top() - 25);
    SoundPanel->SetHeight(25);
    SoundPanel->SetAlign(alBottom);
    SoundPanel->SetImages(AToolBarImageList);
    SoundPanel->SetParent(ClientPanel);
    const bool listImages = AToolBarImageList && AToolBarImageList->Count() > 4;
    auto add = [&](const wchar_t* name, int image, const wchar_t* resource, std::unique_ptr<TBitmap>& glyph) {
        auto* b = new TbsSkinButton(this);
        b->SetName(name);
        b->SetDefaultWidth(25);
        b->SetSkinDataName(L"toolbutton");
        b->SetNumGlyphs(1);
        b->SetCanFocused(false);
        b->SetImageList(SoundPanel->Images());
        b->SetTransparent(AToolButtonsTransparent);
        if (listImages) {
            b->SetImageIndex(image);
        } else if ((glyph = ResourceGlyph(resource))) {
            b->SetGlyph(glyph.get());
        }
        b->SetLeft(SoundPanel->Width());
        b->SetAlign(alLeft);
        b->SetParent(SoundPanel);
        return b;
    };
    PlayButton = add(L"PlayButton", 4, L"BS_PLAY", FPlayGlyph);
    StopButton = add(L"StopButton", 5, L"BS_STOP", FStopGlyph);
}

TbsSkinOpenSoundDialog::TbsSkinOpenSoundDialog(TComponent* AOwner) : TbsSkinOpenDialog(AOwner) {
    Title = L"Open sound";
    FDefaultWidth = 630;
    FDefaultHeight = 400;
    FMinClientHeight = 360;
}

std::unique_ptr<TbsOpenDlgForm> TbsSkinOpenSoundDialog::NewForm() {
    return std::make_unique<TbsOpenSoundDlgForm>(Application);
}

void TbsSkinOpenSoundDialog::PrepareForm(TbsOpenDlgForm* Form) {
    auto* f = static_cast<TbsOpenSoundDlgForm*>(Form);
    f->PlayButton->OnClick = OnPlayButtonClick;
    f->StopButton->OnClick = OnStopButtonClick;
    for (TbsSkinButton* b : {f->PlayButton, f->StopButton})
        b->SetSkinData(CtrlSkinData());
    f->SoundPanel->SetSkinData(CtrlSkinData());
}

void TbsSkinOpenSoundDialog::AfterModal() {
    // Whatever plays stops when the window goes; without a handler there is nothing to stop.
    if (OnStopButtonClick)
        OnStopButtonClick(this);
}
