// The password window, laid out in dialog units of the label font so that it grows with the font, on the skinned
// label, edit, password edit and button.
#include "skin/dialogs/PasswordDialog.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/boxes/SkinPasswordEdit.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinLabels.h"

TbsSkinPasswordDialog::TbsSkinPasswordDialog(TComponent* AOwner)
    : TbsSkinDialogComponent(AOwner),
      FDefaultLabelFont(std::make_unique<TFont>()),
      FDefaultButtonFont(std::make_unique<TFont>()),
      FDefaultEditFont(std::make_unique<TFont>()) {
    SetDefaultDlgFont(FDefaultLabelFont.get());
    SetDefaultDlgFont(FDefaultButtonFont.get());
    SetDefaultDlgFont(FDefaultEditFont.get());
}

TbsSkinPasswordDialog::~TbsSkinPasswordDialog() = default;

namespace {
constexpr int kKeySize = 32;
constexpr int kMaxLength = 255;
}  // namespace

bool TbsSkinPasswordDialog::Execute() {
    auto form = std::make_unique<TForm>(Application);
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);
    form->SetKeyPreview(true);
    form->SetCaption(Caption);
    form->HandleNeeded();  // the frame's real size, for the client size set below
    form->Font()->Assign(FDefaultLabelFont.get());
    if (TbsSkinForm* skf = AttachSkinFrame(form.get(), SkinData())) {
        skf->SetMenusSkinData(CtrlSkinData());
        skf->AlphaBlendAnimation = AlphaBlendAnimation;
        skf->SetAlphaBlendValue(AlphaBlendValue);
        skf->SetAlphaBlend(AlphaBlend);
    }

    const TbsDialogUnits du(form->Font());
    auto* key = new TbsDlgImage(form.get());
    key->SetName(L"KeyImage");
    key->OnPaintPicture = PaintKeyPicture;
    key->SetParent(form.get());
    key->SetBounds(du.X(8), du.Y(8), kKeySize, kKeySize);
    const int X0 = key->Left() + key->Width();
    const int fieldLeft = X0 + du.X(8), fieldWidth = du.X(164);

    auto addLabel = [&](const std::wstring& name, const std::wstring& text, int top) {
        auto* l = new TbsSkinStdLabel(form.get());
        l->SetName(name);
        l->SetParent(form.get());
        l->SetDefaultFont(FDefaultLabelFont.get());
        l->Font()->Assign(FDefaultLabelFont.get());
        l->SetUseSkinFont(UseSkinFont);
        l->SetSkinDataName(LabelSkinDataName);
        l->SetSkinData(CtrlSkinData());
        l->SetCaption(text);
        // Wider texts break into lines within the edits' width.
        if (l->Width() > fieldWidth) {
            l->SetAutoSize(false);
            l->SetWordWrap(true);
            l->SetBounds(fieldLeft, top, fieldWidth, l->Height());
            l->SetAutoSize(true);
        }
        l->SetBounds(fieldLeft, top, std::min(l->Width(), fieldWidth), l->Height());
        return l;
    };
    // The edits' common settings, with the skin last so that it may give the edit its height.
    auto skinEdit = [&](auto* e, const std::wstring& name, int top) {
        e->SetName(name);
        e->SetParent(form.get());
        e->SetDefaultFont(FDefaultEditFont.get());
        e->SetUseSkinFont(UseSkinFont);
        e->SetDefaultWidth(fieldWidth);
        e->SetMaxLength(kMaxLength);
        e->SetBounds(fieldLeft, top, fieldWidth, e->Height());
        e->SetSkinDataName(EditSkinDataName);
        e->SetSkinData(CtrlSkinData());
    };

    int top = du.Y(8);
    TbsSkinMaskEdit* loginEdit = nullptr;
    if (LoginMode) {
        TbsSkinStdLabel* l = addLabel(L"LoginLabel", LoginCaption, top);
        loginEdit = new TbsSkinMaskEdit(form.get());
        skinEdit(loginEdit, L"LoginEdit", l->Top() + l->Height() + 5);
        loginEdit->SetText(Login);
        loginEdit->SelectAll();
        top = loginEdit->Top() + loginEdit->Height() + 5;
    }
    TbsSkinStdLabel* l = addLabel(L"PasswordLabel", PasswordCaption, top);
    auto* passwordEdit = new TbsSkinPasswordEdit(form.get());
    passwordEdit->SetPasswordKind(PasswordKind);
    skinEdit(passwordEdit, L"PasswordEdit", l->Top() + l->Height() + 5);
    passwordEdit->SetText(Password);
    passwordEdit->SelectAll();

    const int buttonTop = passwordEdit->Top() + passwordEdit->Height() + 15;
    const int buttonW = du.X(50), buttonH = du.Y(14);
    auto addButton = [&](const std::wstring& name, const std::wstring& text, int modalResult, int left) {
        auto* b = new TbsSkinButton(form.get());
        b->SetName(name);
        b->SetParent(form.get());
        b->SetCaption(text);
        b->SetModalResult(modalResult);
        b->SetDefaultHeight(buttonH);
        b->SetDefaultFont(FDefaultButtonFont.get());
        b->SetUseSkinFont(UseSkinFont);
        b->SetBounds(left, buttonTop, buttonW, buttonH);
        b->SetSkinDataName(ButtonSkinDataName);
        b->SetSkinData(CtrlSkinData());
        return b;
    };
    TbsSkinButton* ok = addButton(L"OKButton", DlgResText(CtrlSkinData(), L"MSG_BTN_OK", L"OK"), mrOk,
                                  X0 + du.X(38) - 3);
    ok->SetDefault(true);
    TbsSkinButton* cancel = addButton(L"CancelButton", DlgResText(CtrlSkinData(), L"MSG_BTN_CANCEL", L"Cancel"),
                                      mrCancel, X0 + du.X(92) + 3);
    cancel->SetCancel(true);

    form->SetClientWidth(X0 + du.X(180));
    form->SetClientHeight(cancel->Top() + cancel->Height() + 13);
    key->SetTop((form->ClientHeight() - key->Height()) / 2);
    if (LoginMode)
        form->SetActiveControl(loginEdit);
    else
        form->SetActiveControl(passwordEdit);

    if (form->ShowModal() != mrOk)
        return false;
    Password = passwordEdit->Text();
    if (LoginMode)
        Login = loginEdit->Text();
    return true;
}
