// TbsSkinPasswordDialog: asks for a password (and, in login mode, a login name) in a small modal window built for
// every Execute and laid out in dialog units of its font: a key picture, the labels, the edits, OK and Cancel.
//
// Controls by Name: "KeyImage", "LoginLabel" and "LoginEdit" (login mode only), "PasswordLabel", "PasswordEdit",
// "OKButton", "CancelButton", all skinned. The window text is Caption. The key picture and the labels have no
// window: their parent lists them with their texts for a driver (OutsideControls.h); the password edit keeps its
// text to itself.
//
// Ownership: the window is owned by the application object and freed inside Execute; the skin containers are
// borrowed and cleared by notification. GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "classlib/Component.h"
#include "classlib/Graphics.h"
#include "skin/boxes/PasswordKind.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/DialogControls.h"

class TbsSkinPasswordDialog : public TbsSkinDialogComponent {
  public:
    explicit TbsSkinPasswordDialog(TComponent* AOwner);
    ~TbsSkinPasswordDialog() override;

    // True when closed with OK: Password (and Login in login mode) then hold the typed texts; otherwise both keep
    // their values.
    bool Execute();

    std::wstring Caption = L"Password";
    std::wstring PasswordCaption = L"Password:";
    std::wstring Password;
    TbsPasswordKind PasswordKind = pkRoundRect;
    bool LoginMode = false;
    std::wstring LoginCaption = L"Login name:";
    std::wstring Login;
    std::wstring ButtonSkinDataName = L"button";
    std::wstring LabelSkinDataName = L"stdlabel";
    std::wstring EditSkinDataName = L"edit";
    bool UseSkinFont = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    std::uint8_t AlphaBlendValue = 200;

    TFont* DefaultLabelFont() { return FDefaultLabelFont.get(); }
    void SetDefaultLabelFont(TFont* Value) { FDefaultLabelFont->Assign(Value); }
    TFont* DefaultButtonFont() { return FDefaultButtonFont.get(); }
    void SetDefaultButtonFont(TFont* Value) { FDefaultButtonFont->Assign(Value); }
    TFont* DefaultEditFont() { return FDefaultEditFont.get(); }
    void SetDefaultEditFont(TFont* Value) { FDefaultEditFont->Assign(Value); }

  private:
    std::unique_ptr<TFont> FDefaultLabelFont, FDefaultButtonFont, FDefaultEditFont;
};
