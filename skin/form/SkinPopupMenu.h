// TbsSkinPopupMenu: a class-library popup menu that the system never shows: every request to show it becomes a
// skinned popup through the SkinMenu of the skinned form that serves the menu's form. Without such a form nothing is
// shown. A drop-in for TPopupMenu: same items API, and Popup(X, Y) is the virtual slot controls and the tray icon call.
//
// Index: FindSKFComponent, TbsSkinPopupMenu.
//
// Ownership: the skin container, the form and the skinned form are borrowed (cleared by notification). GUI thread only.
#pragma once

#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "skin/core/SkinData.h"
#include "skin/form/SkinForm.h"

// The first of AForm's components that is a TbsSkinForm, or nullptr.
TbsSkinForm* FindSKFComponent(TComponent* AForm);

class TbsSkinPopupMenu : public TPopupMenu {
  public:
    explicit TbsSkinPopupMenu(TComponent* AOwner);

    void Popup(int X, int Y) override;
    void Popup2(TControl* ACtrl, int X, int Y);
    void PopupFromRect(const TRect& R, bool APopupUp);
    // Virtual: a control that drops the menu can be tested with a recording one.
    virtual void PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp);

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TComponent* ComponentForm() const { return FComponentForm; }
    void SetComponentForm(TComponent* Value);
    TbsSkinForm* SkinComponent() const { return FSkinComponent; }
    void SetSkinComponent(TbsSkinForm* Value);

    TNotifyEvent OnMenuClose;

    void Notification(TComponent* AComponent, TOperation Operation) override;

  private:
    // The shared steps of the four requests; R in screen coordinates.
    void DoPopup(TControl* ACtrl, const TRect& R, bool APopupUp, bool NeedSkin, bool PointForm);
    TbsSkinForm* FindSkinForm();

    TbsSkinData* FSD = nullptr;
    TComponent* FComponentForm = nullptr;
    TbsSkinForm* FSkinComponent = nullptr;
};
