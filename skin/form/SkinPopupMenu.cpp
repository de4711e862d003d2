// The skinned popup menu component: finds the skinned form that shows it and opens the items through its SkinMenu.
#include "skin/form/SkinPopupMenu.h"

#include "skin/form/SkinMenu.h"

TbsSkinForm* FindSKFComponent(TComponent* AForm) {
    return GetSkinFormComponent(AForm);
}

TbsSkinPopupMenu::TbsSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

void TbsSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TPopupMenu::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FComponentForm)
        FComponentForm = nullptr;
    if (AComponent == FSkinComponent)
        FSkinComponent = nullptr;
}

void TbsSkinPopupMenu::SetSkinData(TbsSkinData* Value) {
    FSD = Value;
    if (FSD)
        FSD->FreeNotification(this);
}

void TbsSkinPopupMenu::SetComponentForm(TComponent* Value) {
    FComponentForm = Value;
    if (FComponentForm)
        FComponentForm->FreeNotification(this);
}

void TbsSkinPopupMenu::SetSkinComponent(TbsSkinForm* Value) {
    FSkinComponent = Value;
    if (FSkinComponent)
        FSkinComponent->FreeNotification(this);
}

TbsSkinForm* TbsSkinPopupMenu::FindSkinForm() {
    if (FSkinComponent)
        return FSkinComponent;
    if (FComponentForm)
        return FindSKFComponent(FComponentForm);
    TComponent* form = nullptr;
    if (dynamic_cast<TCustomForm*>(Owner()))
        form = Owner();
    else if (Owner() && dynamic_cast<TCustomForm*>(Owner()->Owner()))
        form = Owner()->Owner();
    TbsSkinForm* skf = FindSKFComponent(form);
    // An MDI child's menus open through the main form's skinned form.
    if (skf && skf->Form() && skf->Form()->FormStyle() == fsMDIChild && Application->MainForm())
        skf = FindSKFComponent(Application->MainForm());
    return skf;
}

void TbsSkinPopupMenu::DoPopup(TControl* ACtrl, const TRect& R, bool APopupUp, bool NeedSkin, bool PointForm) {
    if (OnPopup)
        OnPopup(this);
    TbsSkinForm* skf = FindSkinForm();
    if (skf && !FSD)
        SetSkinData(skf->MenusSkinData() ? skf->MenusSkinData() : skf->SkinData());
    if (!skf || (NeedSkin && !FSD))
        return;
    if (skf->SkinMenu()->Visible())
        skf->SkinMenuClose();
    if (!PointForm)
        popupPoint_ = {R.Left, R.Top};
    skf->SkinMenuOpen();
    if (PointForm)
        popupPoint_ = {R.Left, R.Top};
    skf->SkinMenu()->Popup(ACtrl, FSD, 0, R, Items(), APopupUp);
    // Nothing to show: the form must not stay in menu mode, swallowing keys for a menu that is not there.
    if (!skf->SkinMenu()->Visible()) {
        skf->SkinMenuClose();
        return;
    }
    if (OnMenuClose)
        skf->SkinMenu()->FOnMenuClose = OnMenuClose;
}

void TbsSkinPopupMenu::Popup(int X, int Y) {
    DoPopup(nullptr, {X, Y, X, Y}, false, false, true);
}

void TbsSkinPopupMenu::Popup2(TControl* ACtrl, int X, int Y) {
    DoPopup(ACtrl, {X, Y, X, Y}, false, true, true);
}

void TbsSkinPopupMenu::PopupFromRect(const TRect& R, bool APopupUp) {
    DoPopup(nullptr, R, APopupUp, false, false);
}

void TbsSkinPopupMenu::PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp) {
    DoPopup(ACtrl, R, APopupUp, false, false);
}
