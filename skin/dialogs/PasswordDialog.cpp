// The password window, laid out in dialog units of the label font so that it grows with the font.
#include "skin/dialogs/PasswordDialog.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

wchar_t PasswordKindChar(TbsPasswordKind Kind) {
    switch (Kind) {
        case pkRect:
            return L'\x25A0';  // black square
        case pkTriangle:
            return L'\x25B2';  // black up-pointing triangle
        case pkRoundRect:
        default:
            return L'\x25CF';  // black circle
    }
}

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
    AttachSkinFrame(form.get(), SkinData());

    const TbsDialogUnits du(form->Font());
    auto* key = new TbsDlgImage(form.get());
    key->SetName(L"KeyImage");
    key->OnPaintPicture = PaintKeyPicture;
    key->SetParent(form.get());
    key->SetBounds(du.X(8), du.Y(8), kKeySize, kKeySize);
    const int X0 = key->Left() + key->Width();
    const int fieldLeft = X0 + du.X(8), fieldWidth = du.X(164);

    auto addLabel = [&](const std::wstring& name, const std::wstring& text, int top) {
        auto* l = new TbsDlgText(form.get());
        l->SetName(name);
        l->Font()->Assign(FDefaultLabelFont.get());
        l->SetText(text);
        l->SetParent(form.get());
        l->SetLeft(fieldLeft);
        l->SetTop(top);
        l->FitText(fieldWidth);
        return l;
    };
    auto addEdit = [&](const std::wstring& name, const std::wstring& text, int top) {
        auto* e = new TEdit(form.get());
        e->SetName(name);
        e->Font()->Assign(FDefaultEditFont.get());
        e->SetMaxLength(kMaxLength);
        e->SetText(text);
        e->SetParent(form.get());
        e->SetBounds(fieldLeft, top, fieldWidth, e->Height());
        e->SelectAll();
        return e;
    };

    int top = du.Y(8);
    TEdit* loginEdit = nullptr;
    if (LoginMode) {
        TbsDlgText* l = addLabel(L"LoginLabel", LoginCaption, top);
        loginEdit = addEdit(L"LoginEdit", Login, l->Top() + l->Height() + 5);
        top = loginEdit->Top() + loginEdit->Height() + 5;
    }
    TbsDlgText* l = addLabel(L"PasswordLabel", PasswordCaption, top);
    TEdit* passwordEdit = addEdit(L"PasswordEdit", Password, l->Top() + l->Height() + 5);
    passwordEdit->SetPasswordChar(PasswordKindChar(PasswordKind));

    const int buttonTop = passwordEdit->Top() + passwordEdit->Height() + 15;
    const int buttonW = du.X(50), buttonH = std::max(du.Y(14), 23);
    TButton* ok = MakeDlgButton(form.get(), L"OKButton", DlgResText(CtrlSkinData(), L"MSG_BTN_OK", L"OK"),
                                FDefaultButtonFont.get(), mrOk, 0, buttonTop, buttonW, buttonH);
    TButton* cancel =
        MakeDlgButton(form.get(), L"CancelButton", DlgResText(CtrlSkinData(), L"MSG_BTN_CANCEL", L"Cancel"),
                      FDefaultButtonFont.get(), mrCancel, 0, buttonTop, buttonW, buttonH);
    // Both buttons as wide as the wider caption needs; the pair ends at the edits' right edge.
    const int w = std::max(ok->Width(), cancel->Width()), gap = du.X(4);
    cancel->SetBounds(fieldLeft + fieldWidth - w, buttonTop, w, buttonH);
    ok->SetBounds(cancel->Left() - gap - w, buttonTop, w, buttonH);
    ok->SetDefault(true);
    cancel->SetCancel(true);

    form->SetClientWidth(fieldLeft + fieldWidth + du.X(8));
    form->SetClientHeight(cancel->Top() + cancel->Height() + 13);
    key->SetTop((form->ClientHeight() - key->Height()) / 2);
    form->SetActiveControl(LoginMode ? loginEdit : passwordEdit);

    if (form->ShowModal() != mrOk)
        return false;
    Password = passwordEdit->Text();
    if (LoginMode)
        Login = loginEdit->Text();
    return true;
}
