#include "setup/WizardForm.h"

#include <windows.h>

#include <algorithm>

#include "base/Files.h"
#include "base/Report.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Controls.h"
#include "classlib/ImgList.h"
#include "classlib/PngImage.h"
#include "classlib/SysUtils.h"
#include "app/SkinLists.h"
#include "setup/Installation.h"
#include "setup/SetupResources.h"
#include "setup/SetupSystem.h"
#include "setup/WizardLogic.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/boxes/SkinMemo.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEffectLabel.h"
#include "skin/controls/SkinGauge.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/PngImageList.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/SkinMessage.h"
#include "skin/form/SkinForm.h"
#include "skin/pages/SkinPageControl.h"
#include "skin/pickers/SkinDirectoryListBox.h"
#include "skin/pickers/SkinDriveComboBox.h"
#include "skin/views/SkinListView.h"

namespace {

constexpr const wchar_t* kCloseQuestion =
    L"Установка Trelm Mail на ваш компьютер ещё не завершена.\r\r               Вы желаете прервать процесс установки?";

// A PNG stored as RCDATA, nullptr when it is missing or unreadable.
std::unique_ptr<TPngImage> LoadPng(const wchar_t* name) {
    HRSRC res = FindResourceW(nullptr, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!res)
        return nullptr;
    try {
        TResourceStream stream(nullptr, name, MAKEINTRESOURCEW(10));
        auto png = std::make_unique<TPngImage>();
        png->LoadFromStream(&stream);
        return png;
    } catch (...) {
        ReportCaught("TAForm1: stored picture");
        return nullptr;
    }
}

std::wstring Padded(const std::wstring& text) {
    const std::wstring pad(15, L' ');
    return pad + text + pad;
}

}  // namespace

TAForm1::TAForm1(TComponent* AOwner) : TForm(AOwner) {
    BeginLoading();
    SetName(L"AForm1");
    SetCaption(L"Установка - Trelm Mail");
    SetBorderStyle(bsSingle);
    SetPosition(poDesktopCenter);
    SetScaled(false);
    Font()->SetName(L"Tahoma");
    Font()->SetHeight(-11);
    // The window at its largest (the frame's limit): the panels and the pages share whatever client area the
    // skin's frame leaves inside it.
    SetBounds(0, 0, kWizardMaxWidth, kWizardMaxHeight);

    BuildImages();
    SkinList = new TbsCompressedSkinList(this);
    SkinList->SetName(L"SkinList");
    try {
        LoadSetupSkinList(*SkinList);
    } catch (...) {
        ReportCaught("TAForm1: stored skin list");
        // No stored skin: the window keeps the built-in look.
    }
    SkinData = new TbsSkinData(this);
    SkinData->SetName(L"SkinData");
    SkinData->SetSkinnableForm(true);
    SkinData->EnableSkinEffects = true;
    SkinData->ShowButtonGlowFrames = true;
    SkinData->ShowCaptionButtonGlowFrames = true;
    SkinData->SetShowLayeredBorders(true);
    SkinData->SetAeroBlurEnabled(true);
    SkinData->AnimationForAllWindows = false;
    SkinData->SetChangeSystemColors(false);
    BuildControls();
    FillMemos();

    SkinForm1 = new TbsSkinForm(this);
    SkinForm1->SetName(L"SkinForm1");
    SkinForm1->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize});
    SkinForm1->Limits.MaxWidth = kWizardMaxWidth;
    SkinForm1->Limits.MaxHeight = kWizardMaxHeight;
    // A control left without a skin entry takes its built-in size: the table's places come back after each change.
    SkinForm1->OnAfterChangeSkinData = [this](TObject*) { PlaceControls(); };

    SkinMessage = new TbsSkinMessage(this);
    SkinMessage->SetName(L"SkinMessage");
    SkinMessage->SetSkinData(SkinData);
    SkinMessage->SetCtrlSkinData(SkinData);

    OnCreate = [this](TObject*) { FormCreate(); };
    OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    EndLoading();
}

TAForm1::~TAForm1() = default;

TControl* TAForm1::FindCtl(const std::wstring& name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}

// ---- Building -------------------------------------------------------------------------------------------------------

void TAForm1::BuildImages() {
    ImageList64 = new TImageList(this);
    ImageList64->SetName(L"ImageList64");
    ImageList64->SetSize(64, 64);
    for (int i = 0; i < IDI_SETUP_MESSAGE_COUNT; ++i) {
        TIcon icon;
        icon.SetHandle(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                     MAKEINTRESOURCEW(IDI_SETUP_MESSAGE_FIRST + i), IMAGE_ICON, 64,
                                                     64, LR_DEFAULTCOLOR)));
        ImageList64->AddIcon(&icon);
    }
    PngImageList_lang = new TbsPngImageList(this);
    PngImageList_lang->SetName(L"PngImageList_lang");
    PngImageList_lang->SetPngWidth(24);
    PngImageList_lang->SetPngHeight(24);
    for (int i = 0; i < kSetupLangPictureCount; ++i) {
        auto* item = static_cast<TbsPngImageItem*>(PngImageList_lang->PngImages()->Add());
        try {
            item->LoadFromResourceName(nullptr, L"SETUP_LANG" + std::to_wstring(i));
        } catch (...) {
            ReportCaught("TAForm1: language picture");
        }
    }
}

void TAForm1::BuildControls() {
    for (const TWizardSpec& s : kWizardLayout) {
        TWinControl* parent = this;
        if (s.Parent && *s.Parent)
            parent = dynamic_cast<TWinControl*>(FindCtl(s.Parent));
        TControl* c = nullptr;
        switch (s.Kind) {
            case TWizardKind::Panel: {
                auto* panel = new TbsSkinPanel(this);
                panel->SetBorderStyle(std::wstring(s.Text) == L"frame" ? TbsPanelBorderStyle::bvFrame
                                                                       : TbsPanelBorderStyle::bvNone);
                panel->SetSkinDataName(s.Entry);
                panel->SetSkinData(SkinData);
                c = panel;
                break;
            }
            case TWizardKind::Image: {
                auto* image = new TImage(this);
                image->SetPicture(LoadPng(s.Text));
                c = image;
                break;
            }
            case TWizardKind::EffectLabel: {
                auto* label = new TbsSkinLabel(this);
                TFont title;
                title.SetName(L"Tahoma");
                title.SetHeight(18);
                title.SetStyle({fsBold});
                label->SetDefaultFont(&title);
                label->SetUseSkinFont(false);
                label->SetAlignment(taCenter);
                label->SetAutoSize(false);
                label->SetBorderStyle(TbsPanelBorderStyle::bvNone);
                label->SetSkinDataName(s.Entry);
                label->SetSkinData(SkinData);
                label->SetCaption(s.Text);
                Label_verh = label;
                c = label;
                break;
            }
            case TWizardKind::Button: {
                auto* button = new TbsSkinButton(this);
                button->SetDefaultFont(Font());
                button->SetUseSkinFont(false);
                button->SetSkinDataName(s.Entry);
                button->SetSkinData(SkinData);
                button->SetCaption(s.Text);
                c = button;
                break;
            }
            case TWizardKind::Pages: {
                PageControl1 = new TbsSkinPageControl(this);
                PageControl1->SetSkinDataName(s.Entry);
                PageControl1->ButtonTabSkinDataName = L"resizetoolbutton";
                PageControl1->DefaultFont()->SetName(L"Tahoma");
                PageControl1->DefaultFont()->SetHeight(13);
                PageControl1->SetSkinData(SkinData);
                c = PageControl1;
                break;
            }
            case TWizardKind::Page: {
                auto* page = new TbsSkinTabSheet(this);
                page->SetPageControl(PageControl1);
                c = page;
                break;
            }
            case TWizardKind::StdLabel: {
                auto* label = new TbsSkinStdLabel(this);
                label->SetAutoSize(true);
                label->SetSkinDataName(s.Entry);
                label->SetSkinData(SkinData);
                label->SetCaption(s.Text);
                c = label;
                break;
            }
            case TWizardKind::Memo: {
                auto* memo = new TbsSkinMemo2(this);
                memo->DefaultFont()->SetName(L"Tahoma");
                memo->DefaultFont()->SetHeight(13);
                memo->DefaultFont()->SetColor(clBlack);
                memo->SetSkinDataName(s.Entry);
                memo->SetSkinData(SkinData);
                memo->SetScrollBars(ssVertical);
                memo->SetWordWrap(true);
                c = memo;
                break;
            }
            case TWizardKind::VScrollBar: {
                auto* bar = new TbsSkinScrollBar(this);
                bar->SetKind(sbVertical);
                bar->SetSkinDataName(s.Entry);
                bar->SetSkinData(SkinData);
                c = bar;
                break;
            }
            case TWizardKind::CheckBox:
            case TWizardKind::RadioButton: {
                TbsSkinCheckRadioBox* box = nullptr;
                if (s.Kind == TWizardKind::RadioButton) {
                    auto* radio = new TbsSkinRadioButton(this);
                    radio->SetGroupIndex(6);
                    radio->SetImages(PngImageList_lang);
                    radio->SetImageIndex(s.A);
                    box = radio;
                } else {
                    box = new TbsSkinCheckBox(this);
                }
                box->SetDefaultFont(Font());
                box->SetUseSkinFont(false);
                box->SetSkinDataName(s.Entry);
                box->SetSkinData(SkinData);
                box->SetCaption(s.Text);
                c = box;
                break;
            }
            case TWizardKind::Edit:
            case TWizardKind::ReadOnlyEdit: {
                auto* edit = new TbsSkinEdit(this);
                edit->SetReadOnly(s.Kind == TWizardKind::ReadOnlyEdit);
                edit->SetSkinDataName(s.Entry);
                edit->SetSkinData(SkinData);
                c = edit;
                break;
            }
            case TWizardKind::ListView: {
                auto* view = new TbsSkinListView(this);
                view->SetViewStyle(vsReport);
                view->SetShowColumnHeaders(false);
                view->SetReadOnly(true);
                view->SetRowSelect(true);
                view->Columns()->Add()->SetWidth(385);
                view->SetDefaultFont(Font());
                view->SetUseSkinFont(false);
                view->SetSkinDataName(s.Entry);
                view->SetSkinData(SkinData);
                c = view;
                break;
            }
            case TWizardKind::FolderList: {
                auto* list = new TbsSkinDirectoryListBox(this);
                list->SetSkinDataName(s.Entry);
                list->SetSkinData(SkinData);
                c = list;
                break;
            }
            case TWizardKind::DriveBox: {
                auto* box = new TbsSkinDriveComboBox(this);
                box->SetStyle(bscbFixedStyle);
                box->SetSkinDataName(s.Entry);
                box->SetSkinData(SkinData);
                c = box;
                break;
            }
            case TWizardKind::Gauge: {
                auto* gauge = new TbsSkinGauge(this);
                gauge->SetSkinDataName(s.Entry);
                gauge->SetSkinData(SkinData);
                c = gauge;
                break;
            }
        }
        c->SetName(s.Name);
        if (s.Kind != TWizardKind::Page) {
            c->SetParent(parent);
            c->SetBounds(s.Left, s.Top, s.Width, s.Height);
            if (s.Align != alNone)
                c->SetAlign(s.Align);
        }
        controls_[s.Name] = c;
    }
    // The memos scroll by their skinned bars; the Programs list's bar stays hidden.
    Ctl<TbsSkinMemo2>(L"Memo1")->SetVScrollBar(Ctl<TbsSkinScrollBar>(L"ScrollBarV1"));
    Ctl<TbsSkinMemo2>(L"Memo2")->SetVScrollBar(Ctl<TbsSkinScrollBar>(L"ScrollBarV2"));
    auto* bar4 = Ctl<TbsSkinScrollBar>(L"ScrollBarV4");
    bar4->SetVisible(false);

    Button_Back = Ctl<TbsSkinButton>(L"Button_Back");
    Button_Next = Ctl<TbsSkinButton>(L"Button_Next");
    Button_Cancel = Ctl<TbsSkinButton>(L"Button_Cancel");
    Check2 = Ctl<TbsSkinCheckRadioBox>(L"Check2");
    Check4 = Ctl<TbsSkinCheckRadioBox>(L"Check4");
    Check5 = Ctl<TbsSkinCheckRadioBox>(L"Check5");
    Check6 = Ctl<TbsSkinCheckRadioBox>(L"Check6");
    Edit3 = Ctl<TbsSkinEdit>(L"Edit3");
    Edit4 = Ctl<TbsSkinEdit>(L"Edit4");
    ListView1 = Ctl<TbsSkinListView>(L"ListView1");
    Gauge5 = Ctl<TbsSkinGauge>(L"Gauge5");
    Label4 = Ctl<TbsSkinStdLabel>(L"Label4");
    Label5 = Ctl<TbsSkinStdLabel>(L"Label5");
    Label_Main31 = Ctl<TbsSkinStdLabel>(L"Label_Main31");
    DirectoryListBox = Ctl<TbsSkinDirectoryListBox>(L"DirectoryListBox");
    DriveComboBox = Ctl<TbsSkinDriveComboBox>(L"DriveComboBox");
    // The drive box's handler replaces its own reaction: Catal moves the folder list to the chosen drive.
    DriveComboBox->SetDirList(DirectoryListBox);
    DriveComboBox->OnChange = [this](TObject*) { DriveComboBoxChange(); };
    DirectoryListBox->OnListBoxMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        DirectoryListBoxListBoxMouseUp();
    };

    Button_Back->SetVisible(false);
    Button_Back->OnClick = [this](TObject*) { Button_BackClick(); };
    Button_Next->OnClick = [this](TObject*) { Button_NextClick(); };
    Button_Cancel->OnClick = [this](TObject*) { Button_CancelClick(); };
    Gauge5->SetVisible(false);
    Gauge5->SetMinValue(0);
    Gauge5->SetMaxValue(100);
    Gauge5->SetValue(0);
    Gauge5->SetShowPercent(true);
    Gauge5->SetShowProgressText(false);
    Gauge5->SetUseSkinSize(true);
    Check5->SetChecked(true);
    Check6->SetChecked(true);
    Ctl<TbsSkinCheckRadioBox>(L"Vbir_lang_rus")->SetChecked(true);
    // The handlers are bound once the stored states are in.
    Check2->OnClick = [this](TObject*) { Check2Click(); };
    Check4->OnClick = [this](TObject*) { Check4Click(); };
}

// ---- Events ---------------------------------------------------------------------------------------------------------

void TAForm1::FormCreate() {
    try {
        SkinData->SetSkinIndex(0);
        SkinData->SetSkinList(SkinList);
        SkinForm1->SetSkinData(SkinData);
    } catch (...) {
        ReportCaught("TAForm1::FormCreate: skin");
    }
    PlaceControls();
    PageControl1->HideBorderAndTabs();
    PageControl1->SetActivePageIndex(0);
}

void TAForm1::PlaceControls() {
    for (const TWizardSpec& s : kWizardLayout) {
        TControl* c = FindCtl(s.Name);
        if (c && s.Kind != TWizardKind::Page && s.Align == alNone &&
            (c->Left() != s.Left || c->Top() != s.Top || c->Width() != s.Width || c->Height() != s.Height) &&
            s.Width > 0)
            c->SetBounds(s.Left, s.Top, s.Width, s.Height);
    }
}

void TAForm1::Button_BackClick() {
    if (Step > 0) {
        Step -= 2;
        if (Step == 0)
            Button_Next->SetEnabled(true);
    }
    Button_NextClik();
}

void TAForm1::Button_CancelClick() {
    CloseQuery();
}

void TAForm1::FormCloseQuery(TObject*, bool& CanClose) {
    if (Okno_mbYes_No(kCloseQuestion, true))
        Application->Terminate();
    else
        CanClose = false;
}

void TAForm1::Check2Click() {
    Button_Next->SetEnabled(Check2->Checked());
}

void TAForm1::Check4Click() {
    StartMenuFlag = Check4->Checked();
    ListView1->SetEnabled(StartMenuFlag);
    Edit4->SetEnabled(StartMenuFlag);
}

bool TAForm1::Okno_mbYes_No(const std::wstring& Msg, bool Warning) {
    MessageBeep(Warning ? MB_ICONEXCLAMATION : MB_ICONASTERISK);
    return SkinMessage->CustomMessageDlg(Padded(Msg), L"Внимание", ImageList64, 1, {mbYes, mbNo}, 0) == mrDlgYes;
}

void TAForm1::Catal() {
    try {
        const std::wstring text = DriveComboBox->Text();
        if (text.empty())
            return;
        const wchar_t letter = static_cast<wchar_t>(towupper(text[0]));
        DirectoryListBox->SetDrive(letter);
        Edit3->SetText(Kosaya(DirectoryListBox->Directory()) + ProgName);
        const std::int64_t bytes = FreeBytesOf(letter);
        const std::int64_t mb = bytes < 0 ? 0 : bytes / 1048576;
        const TFormatSettings fs = TFormatSettings::FromUserLocale();
        Label_Main31->SetCaption(FreeSpaceLine(letter, FormatMegabytes(mb, fs.ThousandSeparator)));
    } catch (...) {
        ReportCaught("TAForm1::Catal");
    }
}

void TAForm1::ProgramsList() {
    std::vector<std::wstring> names = ProgramsFolderEntries();
    if (names.empty())
        return;
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
    });
    ListView1->Items()->BeginUpdate();
    ListView1->Items()->Clear();
    for (const std::wstring& name : names)
        ListView1->Items()->Add()->SetCaption(name);
    ListView1->Items()->EndUpdate();
}

void TAForm1::Button_NextClik() {
    if (Step < 6)
        ++Step;
    if (Step < 4)
        Button_Next->SetCaption(NextCaption(Step));
    StepActions();
    try {
        PageControl1->SetActivePageIndex(std::min(Step, 5));
    } catch (...) {
        ReportCaught("TAForm1::Button_NextClik: page switch");
    }
}

void TAForm1::StepActions() {
    switch (Step) {
        case 0:
            Label_verh->SetCaption(StepTitle(0, ProgName));
            Button_Back->SetVisible(false);
            Button_Next->SetEnabled(true);
            break;
        case 1:
            Label_verh->SetCaption(StepTitle(1, ProgName));
            Button_Back->SetVisible(true);
            Check2->SetChecked(false);
            Button_Next->SetEnabled(false);
            break;
        case 2: {
            Label_verh->SetCaption(StepTitle(2, ProgName));
            TProposalInputs in;
            in.UninstallString = WinInfo(HKEY_CURRENT_USER, kUninstallKey, L"UninstallString");
            in.FreeDBytes = FreeBytesOf(L'D');
            in.WinVer = GetWinVer();
            in.ProgramFilesDir = WinInfo(HKEY_LOCAL_MACHINE, kCurrentVersionKey, L"ProgramFilesDir");
            in.FolderExists = [](const std::wstring& path) { return FolderExists(path); };
            InstallDir = ProposeTargetFolder(in, FolderName);
            // The drive box's change runs Catal once more.
            DriveComboBox->SetDrive(InstallDir[0]);
            try {
                DirectoryListBox->SetDirectory(InstallDir);
            } catch (...) {
                // The proposal names a folder that exists; one gone since stays where the drive box put the list.
                ReportCaught("TAForm1: the proposed folder");
            }
            Catal();
            break;
        }
        case 3:
            Label_verh->SetCaption(StepTitle(3, ProgName));
            InstallDir = DirectoryListBox->Directory();
            Label4->SetCaption(L"Папка " + ProgName + L". Для продолжения нажмите кнопку Далее.");
            Edit4->SetText(FolderName);
            Check4->SetChecked(StartMenuFlag);
            ListView1->SetEnabled(StartMenuFlag);
            Edit4->SetEnabled(StartMenuFlag);
            Check4->SetCaption(L"Прописать в Пуск -> программы.");
            ProgramsList();
            break;
        case 4:
            Label_verh->SetCaption(StepTitle(4, ProgName));
            FolderName = Edit4->Text();
            InstallDir = Kosaya(InstallDir) + ProgName;
            StartMenuFlag = Check4->Checked();
            Label5->SetCaption(L"Устанавливается в " + InstallDir);
            Check5->SetChecked(DesktopFlag);
            Button_Next->SetCaption(NextCaption(4));
            break;
        case 5: {
            Button_Next->SetCaption(L"Установка");
            Gauge5->SetValue(0);
            Gauge5->SetVisible(true);
            DesktopFlag = Check5->Checked();
            Check5->SetVisible(true);
            Check5->SetEnabled(false);
            Update();
            const TInstallOutcome outcome =
                Ustanov(TInstallChoice{InstallDir, ProgName, FolderName, StartMenuFlag, DesktopFlag},
                        [this](std::uint64_t copied, std::uint64_t total) { GaugeObnov(copied, total); }, ProgPath,
                        ProgramPath());
            if (!outcome.Completed) {
                // Back to the confirmation page, so that Next tries again instead of finishing a failed installation.
                Step = 4;
                Gauge5->SetVisible(false);
                Check5->SetEnabled(true);
                Button_Next->SetCaption(NextCaption(4));
                ShowWarning(outcome.Warning);
                break;
            }
            Button_Next->SetCaption(NextCaption(5));
            Label_verh->SetCaption(StepTitle(5, ProgName));
            Button_Cancel->SetVisible(false);
            Button_Back->SetVisible(false);
            Gauge5->SetVisible(false);
            if (!outcome.Warning.empty())
                ShowWarning(outcome.Warning);
            break;
        }
        default: {
            int lang = 0;
            if (Ctl<TbsSkinCheckRadioBox>(L"Vbir_lang_bel")->Checked())
                lang = 1;
            else if (Ctl<TbsSkinCheckRadioBox>(L"Vbir_lang_ukr")->Checked())
                lang = 2;
            const std::wstring warning = FinishInstallation(ProgPath, lang, Check6->Checked(), Handle());
            if (!warning.empty())
                ShowWarning(warning);
            Application->Terminate();
            break;
        }
    }
}

void TAForm1::GaugeObnov(std::uint64_t Copied, std::uint64_t Total) {
    // The copy keeps the message loop from running: each step is painted at once.
    const int value = GaugeValueAfter(Copied, Total);
    for (int v = Gauge5->Value() + 1; v <= value; ++v) {
        Gauge5->SetValue(v);
        Gauge5->Repaint();
    }
}

void TAForm1::ShowWarning(const std::wstring& Msg) {
    MessageBeep(MB_ICONEXCLAMATION);
    SkinMessage->CustomMessageDlg(Padded(Msg), L"Внимание", ImageList64, 0, {mbOK}, 0);
}

void TAForm1::FillMemos() {
    Ctl<TbsSkinMemo2>(L"Memo1")->SetText(kDescriptionText);
    Ctl<TbsSkinMemo2>(L"Memo2")->SetText(kTermsText);
}

int RunWizard() {
    Application->Initialize();
    Application->SetMainFormOnTaskBar(true);
    Application->SetTitle(L"Установка - Trelm Mail");
    auto* form = Application->CreateForm<TAForm1>();
    Application->Run();
    delete form;
    return 0;
}
