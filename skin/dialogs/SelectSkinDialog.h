// TbsSelectSkinDialog: lets the user pick one skin of a compressed skin list (by index) or one of the stored skins
// among its owner's components (by component), with a preview of the skin under the cursor. The dialog applies
// nothing: the caller sets its own container's skin from the result.
//
// Index: TbsSelectSkinDlgForm, TbsSelectSkinDialog.
//
// Layout (client 420 x 240, or the frame's minimum): the list at (10, 10) 170 x 170, the preview at (190, 10)
// 220 x 170, OK at (260, 200) and Cancel at (340, 200), 70 wide.
//
// Controls by Name, all skinned: "SkinListBox" (the list control; its inner list window "SkinList" holds one item
// per skin: its description, or its name when that is empty), "PreviewForm" (a disabled child window framed by the
// skin under the cursor in preview mode) with "PreviewButton" (drawn from that skin), "OKButton", "CancelButton".
// The window text is Title. A skin that cannot be loaded leaves the preview in the built-in look.
//
// Ownership: the window is owned by the application object and freed inside Execute, with its own preview
// container; the skin list and the containers are borrowed and cleared by notification. GUI thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/DialogControls.h"

class TbsSkinButton;
class TbsSkinForm;
class TbsSkinListBox;

class TbsSelectSkinDlgForm : public TForm {
  public:
    // By index over ASkinList, SkinIndex preselected. AFont (when given) is the list's and the buttons' font.
    TbsSelectSkinDlgForm(TComponent* AOwner,
                         TbsSkinData* ACtrlSkinData,
                         int SkinIndex,
                         TbsCompressedSkinList* ASkinList,
                         TFont* AFont = nullptr);
    // By component over the stored skins among AForm's components, DefaultSkin preselected (else the first).
    TbsSelectSkinDlgForm(TComponent* AOwner,
                         TbsSkinData* ACtrlSkinData,
                         TbsCompressedStoredSkin* DefaultSkin,
                         TComponent* AForm,
                         TFont* AFont = nullptr);

    // The preview container's current stored skin (by component) and skin index (by index).
    TbsCompressedStoredSkin* GetSelectedSkin() const;
    int GetSelectedSkinIndex() const;

    TbsSkinListBox* ListBox = nullptr;        // owned by the form
    TbsSkinButton* OKButton = nullptr;        // owned by the form
    TbsSkinButton* CancelButton = nullptr;    // owned by the form
    TForm* PreviewForm = nullptr;             // owned by the form
    TbsSkinForm* PreviewFrame = nullptr;      // owned by PreviewForm
    TbsSkinButton* PreviewButton = nullptr;   // owned by the form
    TbsSkinData* PreviewSkinData = nullptr;   // owned by the form: the skin the preview shows

  private:
    void BuildLayout(TbsSkinData* ACtrlSkinData, TFont* AFont);
    void ListClick();
    // Runs a load into the preview container; a skin that fails leaves the preview in the built-in look.
    void PreviewLoad(const std::function<void()>& Load);

    TbsCompressedSkinList* skinList_ = nullptr;          // borrowed for the form's life (by index)
    std::vector<TbsCompressedStoredSkin*> storedSkins_;  // borrowed for the form's life (by component)
};

class TbsSelectSkinDialog : public TbsSkinDialogComponent {
  public:
    explicit TbsSelectSkinDialog(TComponent* AOwner);
    ~TbsSelectSkinDialog() override;

    // By index: false at once, with no window, when SkinList is not set. True on OK, SelectedSkinIndex then
    // holding the chosen index; otherwise SelectedSkinIndex is -1.
    bool Execute(int SkinIndex);
    // By component over the stored skins among the owner's components. True on OK, SelectedSkin then the chosen one.
    bool Execute(TbsCompressedStoredSkin* DefaultCompressedSkin);

    TbsCompressedSkinList* SkinList() const { return FSkinList; }
    void SetSkinList(TbsCompressedSkinList* Value);
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }

    std::wstring Title = L"Select skin";
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    std::uint8_t AlphaBlendValue = 200;

    int SelectedSkinIndex = -1;
    TbsCompressedStoredSkin* SelectedSkin = nullptr;  // borrowed: one of the owner's components

  protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

  private:
    // Shows Form modally and frees it; OnOk reads the answer first when the user confirmed.
    bool Run(TbsSelectSkinDlgForm* Form, const std::function<void(TbsSelectSkinDlgForm*)>& OnOk);

    TbsCompressedSkinList* FSkinList = nullptr;  // borrowed, cleared by notification
    std::unique_ptr<TFont> FDefaultFont;
};
