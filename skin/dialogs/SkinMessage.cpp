// The message box: its tables, the one builder behind every variant, and the modal run.
#include "skin/dialogs/SkinMessage.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

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

constexpr int kButtonWidth = 70;  // the narrowest button; wider when its caption needs it
constexpr int kButtonGap = 10;
constexpr int kMargin = 12;         // picture from the left edge
constexpr int kPlainTextLeft = 20;  // the text's left edge when there is no picture
constexpr int kContentTop = 15;
constexpr int kTextRight = 30;      // free space right of the text
constexpr int kRowSideMargin = 20;  // free space on each side of the button row at least
constexpr int kBelowContent = 20;
constexpr int kBelowButtons = 12;

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

// The button height of the control skin's button entry, else 25.
int ButtonHeight(TbsSkinMessage* s) {
    TbsSkinData* sd = s->CtrlSkinData();
    if (!sd || sd->Empty)
        return 25;
    const int i = sd->GetControlIndex(s->ButtonSkinDataName);
    if (i < 0 || i >= static_cast<int>(sd->CtrlList.size()))
        return 25;
    auto* b = dynamic_cast<TbsDataSkinButtonControl*>(sd->CtrlList[static_cast<size_t>(i)].get());
    const int h = b ? b->SkinRect.Height() : 0;
    return h > 0 ? h : 25;
}

// Messages wider than this wrap: about half the work area, so a box never runs off the screen.
int MaxTextWidth() {
    RECT wa{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
    return std::max(320, static_cast<int>(wa.right - wa.left) / 2);
}

TbsMessageForm* BuildBox(TbsSkinMessage* s, const BoxSpec& b) {
    auto* form = new TbsMessageForm(Application, b.x, b.y);
    try {
        form->SetCaption(b.caption);
        form->Font()->Assign(s->DefaultFont());
        if (s->SkinData() && !s->SkinData()->Empty) {
            form->SKF = new TbsSkinForm(form);
            form->SKF->SetBorderIcons({});
            form->SKF->SetSkinData(s->SkinData());
        }
        const int B = ButtonHeight(s);

        // The picture decides where the text starts.
        int picW = 0, picH = 0;
        if (b.fromImageList) {
            if (b.images && b.imageIndex >= 0 && b.imageIndex < b.images->Count()) {
                form->Image = new TbsDlgImage(form);
                form->Image->SetImage(b.images, b.imageIndex);
                picW = b.images->Width();
                picH = b.images->Height();
            }
        } else if (kTypes[b.type].icon) {
            form->Image = new TbsDlgImage(form);
            form->Image->SetIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(kTypes[b.type].icon)));
            picW = picH = 32;
        }
        const int textLeft = form->Image ? kMargin + picW + 14 : kPlainTextLeft;

        form->Message = new TbsDlgText(form);
        form->Message->SetName(L"Message");
        form->Message->Font()->Assign(s->DefaultFont());
        form->Message->SetText(b.msg);
        form->Message->SetParent(form);
        form->Message->FitText(MaxTextWidth());
        const int textW = form->Message->Width(), textH = form->Message->Height();
        const int contentH = std::max(textH, picH);
        form->Message->SetBounds(textLeft, kContentTop + (contentH - textH) / 2, textW, textH);
        if (form->Image) {
            form->Image->SetName(L"Image");
            form->Image->SetParent(form);
            form->Image->SetBounds(kMargin, kContentTop + (contentH - picH) / 2, picW, picH);
        }

        // The button row, left to right in kind order; each button as wide as its caption needs, at least 70.
        const TMsgDlgBtn defKind = b.defaultButton             ? *b.defaultButton
                                   : b.buttons.Contains(mbOK)  ? mbOK
                                   : b.buttons.Contains(mbYes) ? mbYes
                                                               : mbRetry;
        const TMsgDlgBtn cancelKind = b.buttons.Contains(mbCancel) ? mbCancel : b.buttons.Contains(mbNo) ? mbNo : mbOK;
        std::vector<TButton*> row;
        int rowW = 0;
        for (int k = mbYes; k <= mbClose; ++k) {
            const auto kind = static_cast<TMsgDlgBtn>(k);
            if (!b.buttons.Contains(kind))
                continue;
            TButton* btn = MakeDlgButton(form, MsgDlgButtonName(kind), GetButtonCaption(kind, s->CtrlSkinData()),
                                         s->DefaultButtonFont(), MsgDlgButtonResult(kind), 0, 0, kButtonWidth, B);
            btn->SetDefault(kind == defKind);
            btn->SetCancel(kind == cancelKind);
            if (kind == mbHelp)
                btn->OnClick = [form](TObject* sender) { form->HelpButtonClick(sender); };
            if (b.defaultButton && kind == *b.defaultButton)
                form->SetActiveControl(btn);
            rowW += btn->Width() + (row.empty() ? 0 : kButtonGap);
            row.push_back(btn);
        }

        int clientW = std::max(textLeft + textW + kTextRight, rowW + 2 * kRowSideMargin);
        int y = kContentTop + contentH + kBelowContent;
        if (b.checkBox) {
            form->DisplayCheckBox = new TCheckBox(form);
            form->DisplayCheckBox->SetName(L"checkbox");
            form->DisplayCheckBox->Font()->Assign(s->DefaultFont());
            form->DisplayCheckBox->SetCaption(
                DlgResText(s->CtrlSkinData(), L"MSG_CAP_SHOWFLAG", L"Do not display this message again"));
            form->DisplayCheckBox->SetChecked(!s->ShowAgainFlagValue);
            // The box itself plus its gap to the text take about a line's height.
            const TSize t = MeasureDlgText(s->DefaultFont(), form->DisplayCheckBox->Caption());
            const int cbW = t.cx + t.cy + 12, cbH = std::max(20, t.cy + 6);
            form->DisplayCheckBox->SetParent(form);
            form->DisplayCheckBox->SetBounds(textLeft, y - 6, cbW, cbH);
            clientW = std::max(clientW, textLeft + cbW + kTextRight);
            y += cbH + 8;
        }
        form->SetClientWidth(clientW);
        form->SetClientHeight(y + B + kBelowButtons);
        if (form->SKF) {
            const int minW = form->SKF->GetMinWidth(), maxW = form->SKF->GetMaxWidth();
            if (maxW > 0 && form->Width() > maxW)
                form->SetWidth(maxW);
            else if (minW > 0 && form->Width() < minW)
                form->SetWidth(minW);
        }
        clientW = form->ClientWidth();

        int x = (clientW - rowW) / 2;
        for (TButton* btn : row) {
            btn->SetBounds(x, y, btn->Width(), B);
            x += btn->Width() + kButtonGap;
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
