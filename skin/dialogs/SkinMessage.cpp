// The message box: its tables, the one builder behind every variant, and the modal run.
#include "skin/dialogs/SkinMessage.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinControlRecords.h"

namespace {

struct ButtonInfo {
    const wchar_t* name;
    int result;
    const wchar_t* key;
    const wchar_t* text;
};

constexpr ButtonInfo kButtons[] = {
    {L"Yes", mrDlgYes, L"MSG_BTN_YES", L"&Yes"},
    {L"No", mrDlgNo, L"MSG_BTN_NO", L"&No"},
    {L"OK", mrDlgOk, L"MSG_BTN_OK", L"OK"},
    {L"Cancel", mrDlgCancel, L"MSG_BTN_CANCEL", L"Cancel"},
    {L"Abort", mrDlgAbort, L"MSG_BTN_ABORT", L"&Abort"},
    {L"Retry", mrDlgRetry, L"MSG_BTN_RETRY", L"&Retry"},
    {L"Ignore", mrDlgIgnore, L"MSG_BTN_IGNORE", L"&Ignore"},
    {L"All", mrDlgAll, L"MSG_BTN_ALL", L"&All"},
    {L"NoToAll", mrDlgNoToAll, L"MSG_BTN_NOTOALL", L"N&oToAll"},
    {L"YesToAll", mrDlgYesToAll, L"MSG_BTN_YESTOALL", L"&YesToAll"},
    {L"Help", 0, L"MSG_BTN_HELP", L"&Help"},
    {L"Close", mrDlgClose, L"MSG_BTN_CLOSE", L"Close"},
};

struct TypeInfo {
    const wchar_t* key;
    const wchar_t* text;
    WORD icon;  // 0: none
};

constexpr TypeInfo kTypes[] = {
    {L"MSG_CAP_WARNING", L"Warning", 32515},
    {L"MSG_CAP_ERROR", L"Error", 32513},
    {L"MSG_CAP_INFORMATION", L"Information", 32516},
    {L"MSG_CAP_CONFIRM", L"Confirm", 32514},
    {nullptr, L"", 0},
};

constexpr int kButtonWidth = 70;
constexpr int kButtonStep = 80;  // a button and the gap to the next
constexpr int kDefaultButtonHeight = 25;
constexpr int kLabelLeft = 50, kLabelTop = 15;
constexpr int kPictureLeft = 5;
constexpr int kCheckBoxHeight = 30;

struct BoxSpec {
    std::wstring msg;
    std::wstring caption;
    TMsgDlgType type = mtCustom;
    bool fromImageList = false;
    TCustomImageList* images = nullptr;
    int imageIndex = -1;
    TMsgDlgButtons buttons;
    int x = kMsgCentred, y = kMsgCentred;
    const TMsgDlgBtn* defaultButton = nullptr;
    bool checkBox = false;
};

// The entry Name of the control skin when it is of the kind T, else nullptr.
template <class T>
T* CtrlEntry(TbsSkinData* sd, const std::wstring& name) {
    if (!sd || sd->Empty)
        return nullptr;
    const int i = sd->GetControlIndex(name);
    if (i < 0 || i >= static_cast<int>(sd->CtrlList.size()))
        return nullptr;
    return dynamic_cast<T*>(sd->CtrlList[static_cast<size_t>(i)].get());
}

// The button height of the control skin's button entry, else 25.
int ButtonHeight(TbsSkinMessage* s) {
    auto* b = CtrlEntry<TbsDataSkinButtonControl>(s->CtrlSkinData(), s->ButtonSkinDataName);
    const int h = b ? b->SkinRect.Height() : 0;
    return h > 0 ? h : kDefaultButtonHeight;
}

// The width of the check box's caption in the font the check box draws it with: the entry's name and height when
// it has an entry and the skin font is used, else DefaultFont.
int CheckBoxTextWidth(TbsSkinMessage* s, TbsSkinCheckRadioBox* cb) {
    TFont font;
    font.Assign(s->DefaultFont());
    if (s->UseSkinFont)
        if (auto* e = CtrlEntry<TbsDataSkinCheckRadioControl>(s->CtrlSkinData(), cb->SkinDataName())) {
            if (!e->FontName.empty())
                font.SetName(e->FontName);
            if (e->FontHeight != 0)
                font.SetHeight(e->FontHeight);
        }
    return MeasureDlgText(&font, cb->Caption()).cx;
}

TbsMessageForm* BuildBox(TbsSkinMessage* s, const BoxSpec& b) {
    auto* form = new TbsMessageForm(Application, b.x, b.y);
    try {
        form->SetCaption(b.caption);
        form->Font()->Assign(s->DefaultFont());
        if ((form->SKF = AttachSkinFrame(form, s->SkinData()))) {
            form->SKF->SetMenusSkinData(s->CtrlSkinData());
            form->SKF->AlphaBlendAnimation = s->AlphaBlendAnimation;
            form->SKF->SetAlphaBlendValue(s->AlphaBlendValue);
            form->SKF->SetAlphaBlend(s->AlphaBlend);
        }
        const int B = ButtonHeight(s);
        int n = 0;
        for (int k = mbYes; k <= mbClose; ++k)
            n += b.buttons.Contains(static_cast<TMsgDlgBtn>(k)) ? 1 : 0;
        const int W = n > 0 ? n * kButtonStep - (kButtonStep - kButtonWidth) : 0;

        // The message, sized to its text in the font it draws with; a bare CR breaks the line.
        auto* label = new TbsSkinStdLabel(form);
        form->Message = label;
        label->SetName(L"Message");
        label->SetParent(form);
        label->Font()->Assign(s->DefaultFont());
        label->SetDefaultFont(s->DefaultFont());
        label->SetUseSkinFont(s->UseSkinFont);
        label->SetShowAccelChar(false);  // the message is shown as written: "&" is no accelerator here
        label->SetSkinDataName(s->MessageLabelSkinDataName);
        label->SetSkinData(s->CtrlSkinData());
        label->SetAutoSize(true);
        label->SetCaption(b.msg);
        label->SetBounds(kLabelLeft, kLabelTop, label->Width(), label->Height());
        const int labelRight = label->Left() + label->Width();
        const int labelMiddle = label->Top() + label->Height() / 2;

        if (b.fromImageList) {
            if (b.images && b.imageIndex >= 0 && b.imageIndex < b.images->Count()) {
                form->Image = new TbsDlgImage(form);
                form->Image->SetImage(b.images, b.imageIndex);
                form->Image->SetBounds(kPictureLeft, labelMiddle - 16, b.images->Width(), b.images->Height());
            }
        } else if (kTypes[b.type].icon) {
            form->Image = new TbsDlgImage(form);
            form->Image->SetIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(kTypes[b.type].icon)));
            form->Image->SetBounds(kPictureLeft, std::max(10, labelMiddle - 16), 32, 32);
        }
        if (form->Image) {
            form->Image->SetName(L"Image");
            form->Image->SetParent(form);
        }

        int clientH = B + label->Height() + 50;
        int clientW = W < labelRight ? labelRight + 40 : W + 40;
        if (b.checkBox) {
            clientH += 40;
            auto* cb = new TbsSkinCheckRadioBox(form);
            form->DisplayCheckBox = cb;
            cb->SetName(L"checkbox");
            cb->SetDefaultHeight(kCheckBoxHeight);
            cb->SetChecked(!s->ShowAgainFlagValue);
            cb->SetDefaultFont(s->DefaultFont());
            cb->SetUseSkinFont(s->UseSkinFont);
            cb->SetSkinData(s->CtrlSkinData());
            cb->SetCaption(DlgResText(s->CtrlSkinData(), L"MSG_CAP_SHOWFLAG", L"Do not display this message again"));
            const int T = CheckBoxTextWidth(s, cb);
            clientW = std::max(clientW, T + 60);
            cb->SetParent(form);
            cb->SetBounds(kPictureLeft, clientH - B - 50, T + 55, kCheckBoxHeight);
        }
        form->SetClientWidth(clientW);
        form->SetClientHeight(clientH);
        // The skinned frame has the last word on the width.
        if (form->SKF) {
            const int minW = form->SKF->GetMinWidth(), maxW = form->SKF->GetMaxWidth();
            if (maxW > 0 && form->Width() > maxW)
                form->SetWidth(maxW);
            else if (minW > 0 && form->Width() < minW)
                form->SetWidth(minW);
        }
        clientW = form->ClientWidth();
        clientH = form->ClientHeight();

        const TMsgDlgBtn defKind = b.defaultButton             ? *b.defaultButton
                                   : b.buttons.Contains(mbOK)  ? mbOK
                                   : b.buttons.Contains(mbYes) ? mbYes
                                                               : mbRetry;
        const TMsgDlgBtn cancelKind = b.buttons.Contains(mbCancel) ? mbCancel : b.buttons.Contains(mbNo) ? mbNo : mbOK;
        int x = (clientW - W) / 2;
        for (int k = mbYes; k <= mbClose; ++k) {
            const auto kind = static_cast<TMsgDlgBtn>(k);
            if (!b.buttons.Contains(kind))
                continue;
            auto* btn = new TbsSkinButton(form);
            btn->SetName(MsgDlgButtonName(kind));
            btn->SetCanFocused(true);
            btn->SetCaption(GetButtonCaption(kind, s->CtrlSkinData()));
            btn->SetModalResult(MsgDlgButtonResult(kind));
            btn->SetDefault(kind == defKind);
            btn->SetCancel(kind == cancelKind);
            btn->SetDefaultHeight(B);
            btn->SetParent(form);
            btn->SetBounds(x, clientH - B - 10, kButtonWidth, B);
            btn->SetDefaultFont(s->DefaultButtonFont());
            btn->SetUseSkinFont(s->UseSkinFont);
            if (kind == mbHelp)
                btn->OnClick = [form](TObject* sender) { form->HelpButtonClick(sender); };
            // Last: the skin may give the button its own size.
            btn->SetSkinDataName(s->ButtonSkinDataName);
            btn->SetSkinData(s->CtrlSkinData());
            // Enter belongs to the default button, so it starts with the focus.
            if (kind == defKind)
                form->SetActiveControl(btn);
            x += kButtonStep;
        }
    } catch (...) {
        delete form;
        throw;
    }
    return form;
}

}  // namespace

int MsgDlgButtonResult(TMsgDlgBtn Kind) {
    return kButtons[Kind].result;
}

std::wstring MsgDlgButtonName(TMsgDlgBtn Kind) {
    return kButtons[Kind].name;
}

std::wstring GetButtonCaption(TMsgDlgBtn Kind, TbsSkinData* ASkinData) {
    return DlgResText(ASkinData, kButtons[Kind].key, kButtons[Kind].text);
}

std::wstring GetMsgCaption(TMsgDlgType DlgType, TbsSkinData* ASkinData) {
    if (!kTypes[DlgType].key)
        return L"";
    return DlgResText(ASkinData, kTypes[DlgType].key, kTypes[DlgType].text);
}

// ---- TbsMessageForm -------------------------------------------------------------------------------------------------

TbsMessageForm::TbsMessageForm(TComponent* AOwner, int X, int Y) : TForm(AOwner) {
    SetBorderStyle(bsDialog);
    SetKeyPreview(true);
    // The window exists before the builder sizes the client area, so the frame's real size is known.
    HandleNeeded();
    if (X < -10000) {
        SetPosition(poScreenCenter);
    } else {
        SetPosition(poDesigned);
        SetBounds(X, Y, Width(), Height());
    }
}

void TbsMessageForm::HelpButtonClick(TObject*) {
    // Our help is a compiled help file the shell knows how to open; the context has no page map of its own.
    if (!HelpFile.empty())
        ShellExecuteW(Handle(), L"open", HelpFile.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// ---- TbsSkinMessage -------------------------------------------------------------------------------------------------

TbsSkinMessage::TbsSkinMessage(TComponent* AOwner)
    : TbsSkinDialogComponent(AOwner),
      FDefaultFont(std::make_unique<TFont>()),
      FDefaultButtonFont(std::make_unique<TFont>()) {
    SetDefaultDlgFont(FDefaultFont.get());
    SetDefaultDlgFont(FDefaultButtonFont.get());
}

TbsSkinMessage::~TbsSkinMessage() = default;

int TbsSkinMessage::Run(TbsMessageForm* Form,
                        int HelpCtx,
                        const std::wstring& HelpFileName,
                        bool Positioned,
                        bool AskPosition) {
    std::unique_ptr<TbsMessageForm> box(Form);
    box->HelpContext = HelpCtx;
    box->HelpFile = HelpFileName;
    if (Positioned && AskPosition && OnSetShowPos) {
        int x = box->Left(), y = box->Top();
        OnSetShowPos(x, y, box->Width(), box->Height());
        box->SetBounds(x, y, box->Width(), box->Height());
    }
    auto readBack = [&] {
        if (box->DisplayCheckBox)
            ShowAgainFlagValue = !box->DisplayCheckBox->Checked();
    };
    int result = 0;
    try {
        result = box->ShowModal();
    } catch (...) {
        readBack();
        throw;
    }
    readBack();
    return result;
}

namespace {
BoxSpec TypeSpec(TbsSkinMessage* s, const std::wstring& msg, TMsgDlgType type, TMsgDlgButtons buttons) {
    BoxSpec b;
    b.msg = msg;
    b.type = type;
    b.caption = type == mtCustom ? Application->Title() : GetMsgCaption(type, s->CtrlSkinData());
    b.buttons = buttons;
    b.checkBox = s->ShowAgainFlag;
    return b;
}

BoxSpec CustomSpec(TbsSkinMessage* s,
                   const std::wstring& msg,
                   const std::wstring& caption,
                   TCustomImageList* images,
                   int index,
                   TMsgDlgButtons buttons) {
    BoxSpec b;
    b.msg = msg;
    b.caption = caption;
    b.fromImageList = true;
    b.images = images;
    b.imageIndex = index;
    b.buttons = buttons;
    b.checkBox = s->ShowAgainFlag;
    return b;
}
}  // namespace

TbsMessageForm* CreateMessageDialog(TbsSkinMessage* Settings,
                                    const std::wstring& Msg,
                                    TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons,
                                    int X,
                                    int Y,
                                    const TMsgDlgBtn* DefaultButton) {
    BoxSpec b = TypeSpec(Settings, Msg, DlgType, Buttons);
    b.x = X;
    b.y = Y;
    b.defaultButton = DefaultButton;
    return BuildBox(Settings, b);
}

TbsMessageForm* CreateMessageDialog2(TbsSkinMessage* Settings,
                                     const std::wstring& Msg,
                                     const std::wstring& ACaption,
                                     TMsgDlgType DlgType,
                                     TMsgDlgButtons Buttons) {
    BoxSpec b = TypeSpec(Settings, Msg, DlgType, Buttons);
    b.caption = ACaption;
    return BuildBox(Settings, b);
}

TbsMessageForm* CreateCustomMessageDialog(TbsSkinMessage* Settings,
                                          const std::wstring& Msg,
                                          const std::wstring& ACaption,
                                          TCustomImageList* AImages,
                                          int AImageIndex,
                                          TMsgDlgButtons Buttons,
                                          int X,
                                          int Y,
                                          const TMsgDlgBtn* DefaultButton) {
    BoxSpec b = CustomSpec(Settings, Msg, ACaption, AImages, AImageIndex, Buttons);
    b.x = X;
    b.y = Y;
    b.defaultButton = DefaultButton;
    return BuildBox(Settings, b);
}

TbsMessageForm* CreateWideMessageDialog(TbsSkinMessage* Settings,
                                        const std::wstring& Msg,
                                        TMsgDlgType DlgType,
                                        TMsgDlgButtons Buttons,
                                        int X,
                                        int Y) {
    BoxSpec b = TypeSpec(Settings, Msg, DlgType, Buttons);
    b.x = X;
    b.y = Y;
    b.checkBox = false;
    return BuildBox(Settings, b);
}

int TbsSkinMessage::MessageDlg(const std::wstring& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
    return Run(CreateMessageDialog(this, Msg, DlgType, Buttons), HelpCtx, L"", false, false);
}

int TbsSkinMessage::MessageDlg(const std::wstring& Msg,
                               TMsgDlgType DlgType,
                               TMsgDlgButtons Buttons,
                               int HelpCtx,
                               TMsgDlgBtn DefaultButton) {
    return Run(CreateMessageDialog(this, Msg, DlgType, Buttons, kMsgCentred, kMsgCentred, &DefaultButton), HelpCtx, L"",
               false, false);
}

int TbsSkinMessage::MessageDlgPos(const std::wstring& Msg,
                                  TMsgDlgType DlgType,
                                  TMsgDlgButtons Buttons,
                                  int HelpCtx,
                                  int X,
                                  int Y) {
    return Run(CreateMessageDialog(this, Msg, DlgType, Buttons, X, Y), HelpCtx, L"", true, true);
}

int TbsSkinMessage::MessageDlgPos(const std::wstring& Msg,
                                  TMsgDlgType DlgType,
                                  TMsgDlgButtons Buttons,
                                  int HelpCtx,
                                  int X,
                                  int Y,
                                  TMsgDlgBtn DefaultButton) {
    return Run(CreateMessageDialog(this, Msg, DlgType, Buttons, X, Y, &DefaultButton), HelpCtx, L"", true, true);
}

int TbsSkinMessage::MessageDlgHelp(const std::wstring& Msg,
                                   TMsgDlgType DlgType,
                                   TMsgDlgButtons Buttons,
                                   int HelpCtx,
                                   const std::wstring& HelpFileName) {
    return Run(CreateMessageDialog(this, Msg, DlgType, Buttons), HelpCtx, HelpFileName, false, false);
}

int TbsSkinMessage::MessageDlg2(const std::wstring& Msg,
                                const std::wstring& ACaption,
                                TMsgDlgType DlgType,
                                TMsgDlgButtons Buttons,
                                int HelpCtx) {
    return Run(CreateMessageDialog2(this, Msg, ACaption, DlgType, Buttons), HelpCtx, L"", false, false);
}

int TbsSkinMessage::MessageDlgHelp2(const std::wstring& Msg,
                                    const std::wstring& ACaption,
                                    TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons,
                                    int HelpCtx,
                                    const std::wstring& HelpFileName) {
    return Run(CreateMessageDialog2(this, Msg, ACaption, DlgType, Buttons), HelpCtx, HelpFileName, false, false);
}

int TbsSkinMessage::CustomMessageDlg(const std::wstring& Msg,
                                     const std::wstring& ACaption,
                                     TCustomImageList* AImages,
                                     int AImageIndex,
                                     TMsgDlgButtons Buttons,
                                     int HelpCtx) {
    return Run(CreateCustomMessageDialog(this, Msg, ACaption, AImages, AImageIndex, Buttons), HelpCtx, L"", false,
               false);
}

int TbsSkinMessage::CustomMessageDlg(const std::wstring& Msg,
                                     const std::wstring& ACaption,
                                     TCustomImageList* AImages,
                                     int AImageIndex,
                                     TMsgDlgButtons Buttons,
                                     int HelpCtx,
                                     TMsgDlgBtn DefaultButton) {
    return Run(CreateCustomMessageDialog(this, Msg, ACaption, AImages, AImageIndex, Buttons, kMsgCentred, kMsgCentred,
                                         &DefaultButton),
               HelpCtx, L"", false, false);
}

int TbsSkinMessage::CustomMessageDlgPos(const std::wstring& Msg,
                                        const std::wstring& ACaption,
                                        TCustomImageList* AImages,
                                        int AImageIndex,
                                        TMsgDlgButtons Buttons,
                                        int HelpCtx,
                                        int X,
                                        int Y) {
    return Run(CreateCustomMessageDialog(this, Msg, ACaption, AImages, AImageIndex, Buttons, X, Y), HelpCtx, L"", true,
               true);
}

int TbsSkinMessage::CustomMessageDlgPos(const std::wstring& Msg,
                                        const std::wstring& ACaption,
                                        TCustomImageList* AImages,
                                        int AImageIndex,
                                        TMsgDlgButtons Buttons,
                                        int HelpCtx,
                                        int X,
                                        int Y,
                                        TMsgDlgBtn DefaultButton) {
    return Run(CreateCustomMessageDialog(this, Msg, ACaption, AImages, AImageIndex, Buttons, X, Y, &DefaultButton),
               HelpCtx, L"", true, true);
}

int TbsSkinMessage::CustomMessageDlgHelp(const std::wstring& Msg,
                                         const std::wstring& ACaption,
                                         TCustomImageList* AImages,
                                         int AImageIndex,
                                         TMsgDlgButtons Buttons,
                                         int HelpCtx,
                                         const std::wstring& HelpFileName) {
    return Run(CreateCustomMessageDialog(this, Msg, ACaption, AImages, AImageIndex, Buttons), HelpCtx, HelpFileName,
               false, false);
}

int TbsSkinMessage::WideMessageDlg(const std::wstring& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
    return Run(CreateWideMessageDialog(this, Msg, DlgType, Buttons), HelpCtx, L"", false, false);
}

int TbsSkinMessage::WideMessageDlgPos(const std::wstring& Msg,
                                      TMsgDlgType DlgType,
                                      TMsgDlgButtons Buttons,
                                      int HelpCtx,
                                      int X,
                                      int Y) {
    return Run(CreateWideMessageDialog(this, Msg, DlgType, Buttons, X, Y), HelpCtx, L"", true, false);
}
