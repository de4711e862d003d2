// The skinned form's side of a ribbon on its form: the link (the ribbon learns its form), Alt or F10 closing the
// application menu and focusing the ribbon, the form's short cuts passed on to the main menu bar and the ribbon, and
// the application menu's caption in the title.
#include "skin/form/FormRibbon.h"
#include "skin/form/SkinForm.h"

void TbsSkinForm::SetSkinRibbon(TComponent* Value) {
    if (FSkinRibbon)
        FSkinRibbon->RemoveFreeNotification(this);
    if (FRibbon)
        FRibbon->SetSkinForm(nullptr);
    FSkinRibbon = Value;
    FRibbon = dynamic_cast<IbsFormRibbon*>(Value);
    if (FSkinRibbon)
        FSkinRibbon->FreeNotification(this);
    if (FRibbon)
        FRibbon->SetSkinForm(this);
    if (FRibbon)
        ChainShortCuts();
}

void TbsSkinForm::ChainShortCuts() {
    if (FShortCutsChained)
        return;
    FOldShortCut = FForm->OnShortCut;
    FForm->OnShortCut = [this](TWMKey& Msg, bool& Handled) {
        if (FOldShortCut)
            FOldShortCut(Msg, Handled);
        if (!Handled)
            Handled = MainMenuBarShortCut(Msg);
        if (!Handled && FRibbon)
            Handled = FRibbon->RibbonShortCut(Msg);
    };
    FShortCutsChained = true;
}

void TbsSkinForm::UnchainShortCuts() {
    if (FRibbon)
        FRibbon->SetSkinForm(nullptr);
    if (!FShortCutsChained)
        return;
    FForm->OnShortCut = FOldShortCut;
    FShortCutsChained = false;
}

bool TbsSkinForm::RibbonKeyMenu() {
    if (!FRibbon)
        return false;
    if (FRibbon->AppMenuVisible())
        FRibbon->HideAppMenu();
    if (FInMenu)
        SkinMenuClose();
    FRibbon->FocusRibbon();
    return true;
}

bool TbsSkinForm::CanDrawAppMenuCaption() {
    return FRibbon && !FullBorderShown() && FRibbon->AppMenuVisible() && FRibbon->CanDrawAppMenuCaption();
}

int TbsSkinForm::GetAppMenuCaptionOffset() {
    return FRibbon ? FRibbon->GetAppMenuCaptionOffset() : 0;
}

void TbsSkinForm::DrawRibbonCaption(TCanvas* C, int TopBandWidth, int TopBandHeight) {
    if (!CanDrawAppMenuCaption() || TopBandHeight <= 0)
        return;
    const int w = FRibbon->AppMenuItemWidth();
    FRibbon->DrawAppMenuCaption(C, {0, 0, w, TopBandHeight}, {w + 1, 0, TopBandWidth, TopBandHeight});
}
