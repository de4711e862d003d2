// TbsSkinMessage: modal message boxes built in code for every call (TbsMessageForm): a picture at the left, the
// message, an optional "do not show again" check box and a centred row of buttons; the call returns the modal result
// of the button that closed the box. Button and box captions come from the control skin's resource strings
// (MSG_BTN_*, MSG_CAP_*), else from the English defaults.
//
// Index: TMsgDlgType, TMsgDlgBtn, TMsgDlgButtons, the mrDlg* results, TbsMessageForm, TbsSkinMessage,
// CreateMessageDialog*, CreateCustomMessageDialog*, CreateWideMessageDialog, GetButtonCaption, GetMsgCaption.
//
// Layout: the message label at (50, 15), sized to its text; the picture at the left, level with the label's middle;
// buttons 70 wide and 80 apart, centred at the bottom; the check box above them. The programs pad their texts with
// blanks so that the text clears a 64 x 64 picture.
//
// Controls of a box, by Name: "Message" (the skinned label: windowless, its text is the message), "Image" (the
// picture, windowless), "checkbox", and one skinned button per kind named "Yes", "No", "OK", "Cancel", "Abort",
// "Retry", "Ignore", "All", "NoToAll", "YesToAll", "Help", "Close". The box's window text is its caption.
//
// Ownership: a box is owned by the application object and freed inside the call; the skin containers and the image
// list are borrowed (the component clears its container references by notification). GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "classlib/Component.h"
#include "classlib/Forms.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/DialogControls.h"
#include "skin/form/SkinForm.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
// In the order of the box's buttons, left to right.
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    mbClose
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// The modal results of the buttons (Help leaves the box open).
constexpr int mrDlgOk = 1, mrDlgCancel = 2, mrDlgAbort = 3, mrDlgRetry = 4, mrDlgIgnore = 5, mrDlgYes = 6, mrDlgNo = 7,
              mrDlgClose = 8, mrDlgAll = 12, mrDlgNoToAll = 13, mrDlgYesToAll = 14;

// The button's modal result and Name ("Yes" ...).
int MsgDlgButtonResult(TMsgDlgBtn Kind);
std::wstring MsgDlgButtonName(TMsgDlgBtn Kind);
// The texts of a button and of a box type from ASkinData's resource strings, else the English defaults ("&Yes",
// "Warning" ...). The custom type has no caption of its own (empty).
std::wstring GetButtonCaption(TMsgDlgBtn Kind, TbsSkinData* ASkinData);
std::wstring GetMsgCaption(TMsgDlgType DlgType, TbsSkinData* ASkinData);

class TbsSkinMessage;
class TbsSkinStdLabel;
class TbsSkinCheckRadioBox;

class TbsMessageForm : public TForm {
  public:
    // X < -10000: centred on the screen; otherwise placed at X, Y.
    TbsMessageForm(TComponent* AOwner, int X, int Y);
    void HelpButtonClick(TObject* Sender);

    TbsSkinForm* SKF = nullptr;            // owned by the form; nullptr without a frame skin
    TbsSkinStdLabel* Message = nullptr;              // owned by the form
    TbsDlgImage* Image = nullptr;                    // owned by the form; nullptr without a picture
    TbsSkinCheckRadioBox* DisplayCheckBox = nullptr;  // owned by the form; nullptr without ShowAgainFlag
    int HelpContext = 0;
    std::wstring HelpFile;
};

// SkinData skins the box's frame; CtrlSkinData its controls and gives the texts.
class TbsSkinMessage : public TbsSkinDialogComponent {
  public:
    explicit TbsSkinMessage(TComponent* AOwner);
    ~TbsSkinMessage() override;

    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    TFont* DefaultButtonFont() { return FDefaultButtonFont.get(); }
    void SetDefaultButtonFont(TFont* Value) { FDefaultButtonFont->Assign(Value); }

    std::wstring ButtonSkinDataName = L"button";
    std::wstring MessageLabelSkinDataName = L"stdlabel";
    bool UseSkinFont = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    std::uint8_t AlphaBlendValue = 200;
    bool ShowAgainFlag = false;
    // True when the message is to be shown again: the check box starts checked when it is false, and after a box
    // closes it becomes the negation of the check box.
    bool ShowAgainFlagValue = false;
    // Lets the owner move a box of a position variant.
    std::function<void(int& AX, int& AY, int AWidth, int AHeight)> OnSetShowPos;

    // Every call returns the modal result of the button chosen (0 when the box closed without one).
    int MessageDlg(const std::wstring& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
    int MessageDlg(const std::wstring& Msg,
                   TMsgDlgType DlgType,
                   TMsgDlgButtons Buttons,
                   int HelpCtx,
                   TMsgDlgBtn DefaultButton);
    int MessageDlgPos(const std::wstring& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
    int MessageDlgPos(const std::wstring& Msg,
                      TMsgDlgType DlgType,
                      TMsgDlgButtons Buttons,
                      int HelpCtx,
                      int X,
                      int Y,
                      TMsgDlgBtn DefaultButton);
    int MessageDlgHelp(const std::wstring& Msg,
                       TMsgDlgType DlgType,
                       TMsgDlgButtons Buttons,
                       int HelpCtx,
                       const std::wstring& HelpFileName);
    int MessageDlg2(const std::wstring& Msg,
                    const std::wstring& ACaption,
                    TMsgDlgType DlgType,
                    TMsgDlgButtons Buttons,
                    int HelpCtx);
    int MessageDlgHelp2(const std::wstring& Msg,
                        const std::wstring& ACaption,
                        TMsgDlgType DlgType,
                        TMsgDlgButtons Buttons,
                        int HelpCtx,
                        const std::wstring& HelpFileName);
    int CustomMessageDlg(const std::wstring& Msg,
                         const std::wstring& ACaption,
                         TCustomImageList* AImages,
                         int AImageIndex,
                         TMsgDlgButtons Buttons,
                         int HelpCtx);
    int CustomMessageDlg(const std::wstring& Msg,
                         const std::wstring& ACaption,
                         TCustomImageList* AImages,
                         int AImageIndex,
                         TMsgDlgButtons Buttons,
                         int HelpCtx,
                         TMsgDlgBtn DefaultButton);
    int CustomMessageDlgPos(const std::wstring& Msg,
                            const std::wstring& ACaption,
                            TCustomImageList* AImages,
                            int AImageIndex,
                            TMsgDlgButtons Buttons,
                            int HelpCtx,
                            int X,
                            int Y);
    int CustomMessageDlgPos(const std::wstring& Msg,
                            const std::wstring& ACaption,
                            TCustomImageList* AImages,
                            int AImageIndex,
                            TMsgDlgButtons Buttons,
                            int HelpCtx,
                            int X,
                            int Y,
                            TMsgDlgBtn DefaultButton);
    int CustomMessageDlgHelp(const std::wstring& Msg,
                             const std::wstring& ACaption,
                             TCustomImageList* AImages,
                             int AImageIndex,
                             TMsgDlgButtons Buttons,
                             int HelpCtx,
                             const std::wstring& HelpFileName);
    int WideMessageDlg(const std::wstring& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
    int WideMessageDlgPos(const std::wstring& Msg,
                          TMsgDlgType DlgType,
                          TMsgDlgButtons Buttons,
                          int HelpCtx,
                          int X,
                          int Y);

  private:
    // Shows a built box modally, reads the check box back and frees the box, also when showing throws.
    int Run(TbsMessageForm* Form, int HelpCtx, const std::wstring& HelpFileName, bool Positioned, bool AskPosition);

    std::unique_ptr<TFont> FDefaultFont, FDefaultButtonFont;
};

// The builders. Settings are the component's; X < -10000 centres the box. DefaultButton nullptr: OK, else Yes, else
// Retry is the default; a given one also takes the focus.
constexpr int kMsgCentred = -10001;
TbsMessageForm* CreateMessageDialog(TbsSkinMessage* Settings,
                                    const std::wstring& Msg,
                                    TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons,
                                    int X = kMsgCentred,
                                    int Y = kMsgCentred,
                                    const TMsgDlgBtn* DefaultButton = nullptr);
TbsMessageForm* CreateMessageDialog2(TbsSkinMessage* Settings,
                                     const std::wstring& Msg,
                                     const std::wstring& ACaption,
                                     TMsgDlgType DlgType,
                                     TMsgDlgButtons Buttons);
TbsMessageForm* CreateCustomMessageDialog(TbsSkinMessage* Settings,
                                          const std::wstring& Msg,
                                          const std::wstring& ACaption,
                                          TCustomImageList* AImages,
                                          int AImageIndex,
                                          TMsgDlgButtons Buttons,
                                          int X = kMsgCentred,
                                          int Y = kMsgCentred,
                                          const TMsgDlgBtn* DefaultButton = nullptr);
// No check box.
TbsMessageForm* CreateWideMessageDialog(TbsSkinMessage* Settings,
                                        const std::wstring& Msg,
                                        TMsgDlgType DlgType,
                                        TMsgDlgButtons Buttons,
                                        int X = kMsgCentred,
                                        int Y = kMsgCentred);
