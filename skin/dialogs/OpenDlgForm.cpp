// The open window: its controls in their fixed order, the shortcut buttons, the view menu, the folder history, New
// Folder, the keys and the rules of the Open (Save) button.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "classlib/SysUtils.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/controls/ControlSeam.h"
#include "skin/controls/SkinBevel.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/core/PngImageList.h"
#include "skin/core/SkinUtils.h"
#include "skin/dialogs/OpenDialog.h"
#include "skin/dialogs/OpenDialogRules.h"
#include "skin/dialogs/SkinMessage.h"
#include "skin/form/SkinPopupMenu.h"
#include "skin/pickers/SkinFilterComboBox.h"
#include "skin/shell/ShellComboBox.h"
#include "skin/shell/ShellListView.h"
#include "skin/shell/ShellNames.h"

namespace {

// The list's frame. A skin's "panel" keeps a caption band above its client part, which on this caption-less panel
// would be an empty strip over the list: the top takes the bottom's inset instead.
class TbsListFramePanel : public TbsSkinPanel {
  public:
    using TbsSkinPanel::TbsSkinPanel;

  protected:
    void AdjustClientRect(TRect& Rect) override {
        const TRect whole = Rect;
        TbsSkinPanel::AdjustClientRect(Rect);
        if (SkinLookAvailable() && !CaptionMode())
            Rect.Top = std::min(Rect.Top, whole.Top + std::max(whole.Bottom - Rect.Bottom, 0));
    }
};

const wchar_t* const kToolPictures[] = {L"BS_BACK_PNG", L"BS_UP_PNG", L"BS_NEWFOLDER_PNG", L"BS_LVSTYLE_PNG"};
constexpr int kToolPictureSize = 16;

// The folder of a shortcut button. Documents: the Libraries folder on Vista and later when the shell gives it (it
// does not under Wine), else the Documents folder.
TbsPidl ShortcutFolder(int RootIndex, bool& IsLibraries) {
    IsLibraries = false;
    LPITEMIDLIST pidl = nullptr;
    if (RootIndex == RootFolderIndex(L"rfPersonal") && TbsOpenDlgForm::VistaOrLater() && ShellGetKnownFolderIDList &&
        SUCCEEDED(ShellGetKnownFolderIDList(FOLDERID_Libraries, 0, nullptr, &pidl)) && pidl) {
        IsLibraries = true;
        return TbsPidl(pidl);
    }
    pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, RootFolderCSIDL(RootIndex), &pidl)))
        return nullptr;
    return TbsPidl(pidl);
}

TbsShellListViewStyle ThumbnailStyleOf(int Size) {
    return Size >= 256 ? bsvsVeryBigThumbnails : Size >= 128 ? bsvsBigThumbnails : bsvsThumbnails;
}

}  // namespace

bool TbsOpenDlgForm::VistaOrLater() {
    int major = 0, minor = 0;
    if (ControlSeam().Version)
        ControlSeam().Version(major, minor);
    return IsVistaOS(major, minor);
}

TbsOpenDlgForm::TbsOpenDlgForm(TComponent* AOwner) : TForm(AOwner) {
    SetKeyPreview(true);
    SetPosition(poScreenCenter);
    SetBorderStyle(bsSizeable);
}

TbsOpenDlgForm::~TbsOpenDlgForm() = default;

std::wstring TbsOpenDlgForm::Text(const std::wstring& Key, const std::wstring& Default) const {
    return DlgResText(CtrlSD, Key, Default);
}

TbsSkinButton* TbsOpenDlgForm::AddToolButton(const std::wstring& Name, int ImageIndex, const std::wstring& Hint,
                                             bool Transparent) {
    auto* b = Name == L"StyleToolButton" ? new TbsSkinMenuButton(this) : new TbsSkinButton(this);
    b->SetName(Name);
    b->SetDefaultWidth(Name == L"StyleToolButton" ? 37 : 27);
    b->SetDefaultHeight(25);
    b->SetSkinDataName(Name == L"StyleToolButton" ? L"toolmenubutton" : L"toolbutton");
    b->SetNumGlyphs(1);
    b->SetImageList(ToolPanel->Images());
    b->SetImageIndex(ImageIndex);
    b->SetHint(Hint);
    b->SetShowHint(true);
    b->SetCanFocused(false);
    b->SetTransparent(Transparent);
    b->SetLeft(ToolPanel->Width());  // after the ones before it
    b->SetAlign(alLeft);
    b->SetParent(ToolPanel);
    return b;
}

void TbsOpenDlgForm::CreateEx(bool ASaveMode,
                              TbsSkinData* ACtrlSD,
                              bool AToolButtonsTransparent,
                              TCustomImageList* AToolBarImageList,
                              bool AShowThumbnails) {
    SaveMode = ASaveMode;
    CtrlSD = ACtrlSD;
    HandleNeeded();
    SetClientWidth(700);
    SetClientHeight(350);

    // 1. The tool pictures and the frame.
    PngImgList = new TbsPngImageList(this);
    PngImgList->SetPngWidth(kToolPictureSize);
    PngImgList->SetPngHeight(kToolPictureSize);
    HINSTANCE module = GetModuleHandleW(nullptr);
    for (const wchar_t* name : kToolPictures) {
        auto* item = static_cast<TbsPngImageItem*>(PngImgList->PngImages()->Add());
        item->SetName(name);
        // A program without the pictures gets empty tool buttons, not a failing dialog.
        if (FindResourceW(module, name, MAKEINTRESOURCEW(10)))
            item->LoadFromResourceName(module, name);
    }
    SKF = new TbsSkinForm(this);

    // 2.-3. The tool bar.
    ToolPanel = new TbsSkinToolBar(this);
    ToolPanel->SetName(L"ToolPanel");
    ToolPanel->SetAlign(alTop);
    ToolPanel->SetBorderStyle(TbsPanelBorderStyle::bvNone);
    ToolPanel->SetDefaultHeight(25);
    ToolPanel->SetSkinDataName(L"toolpanel");
    ToolPanel->SetImages(AToolBarImageList ? AToolBarImageList : PngImgList);
    ToolPanel->SetParent(this);

    Drivelabel = new TbsSkinStdLabel(this);
    Drivelabel->SetName(L"Drivelabel");
    Drivelabel->SetAutoSize(false);
    Drivelabel->SetAlignment(taRightJustify);
    Drivelabel->SetLayout(tlCenter);
    Drivelabel->SetWidth(98);
    Drivelabel->SetAlign(alLeft);
    Drivelabel->SetParent(ToolPanel);
    std::wstring look = L"Folder:  ";
    if (CtrlSD && CtrlSD->ResourceStrData()) {
        const std::wstring res = Text(L"FLV_LOOKIN", L"");
        if (!res.empty())
            look = res + L" ";
    }
    Drivelabel->SetCaption(look);

    ShellBox = new TbsSkinShellComboBox(this);
    ShellBox->SetName(L"ShellBox");
    ShellBox->SetLeft(Drivelabel->Left() + Drivelabel->Width());
    ShellBox->SetWidth(300);
    ShellBox->SetDropDownCount(15);
    ShellBox->SetAlign(alLeft);
    ShellBox->SetParent(ToolPanel);

    auto* spacer = new TbsSkinBevel(this);
    spacer->SetName(L"ToolSpacer");
    spacer->SetLeft(ShellBox->Left() + ShellBox->Width());
    spacer->SetWidth(10);
    spacer->SetShape(bsSpacer);
    spacer->SetAlign(alLeft);
    spacer->SetParent(ToolPanel);

    BackToolButton = AddToolButton(L"BackToolButton", 0, Text(L"MSG_BTN_BACK_HINT", L"Go To Last Folder Visited"),
                                   AToolButtonsTransparent);
    UpToolButton = AddToolButton(L"UpToolButton", 1, Text(L"MSG_BTN_UP_HINT", L"Up One Level"),
                                 AToolButtonsTransparent);
    NewFolderToolButton = AddToolButton(L"NewFolderToolButton", 2,
                                        Text(L"MSG_BTN_NEWFOLDER_HINT", L"Create New Folder"), AToolButtonsTransparent);
    StyleToolButton = static_cast<TbsSkinMenuButton*>(
        AddToolButton(L"StyleToolButton", 3, Text(L"MSG_BTN_VIEWMENU_HINT", L"View Menu"), AToolButtonsTransparent));
    BackToolButton->OnClick = [this](TObject* s) { BackToolButtonClick(s); };
    UpToolButton->OnClick = [this](TObject* s) { UpToolButtonClick(s); };
    NewFolderToolButton->OnClick = [this](TObject* s) { NewFolderToolButtonClick(s); };

    // 4. The view menu.
    StylePopupMenu = new TbsSkinPopupMenu(this);
    StylePopupMenu->SetName(L"StylePopupMenu");
    auto addItem = [this](const wchar_t* name, const std::wstring& caption, void (TbsOpenDlgForm::*handler)(TObject*)) {
        auto* item = new TMenuItem(this);
        item->SetName(name);
        item->SetCaption(caption);
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
        item->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
        StylePopupMenu->Items()->Add(item);
        return item;
    };
    IconMenuItem = addItem(L"IconMenuItem", Text(L"MSG_LV_ICON", L"Large icons"), &TbsOpenDlgForm::IconItemClick);
    SmallIconMenuItem = addItem(L"SmallIconMenuItem", Text(L"MSG_LV_SMALLICON", L"Small icons"),
                                &TbsOpenDlgForm::SmallIconItemClick);
    ListMenuItem = addItem(L"ListMenuItem", Text(L"MSG_LV_LIST", L"List"), &TbsOpenDlgForm::ListItemClick);
    ReportMenuItem =
        addItem(L"ReportMenuItem", Text(L"MSG_LV_DETAILS", L"Details"), &TbsOpenDlgForm::ReportItemClick);
    if (AShowThumbnails && VistaOrLater()) {
        ThumbnailsItem = addItem(L"ThumbnailsItem", Text(L"MSG_LV_THUMBNAILS", L"Thumbnails"),
                                 &TbsOpenDlgForm::ThumbnailsItemClick);
        BigThumbnailsItem = addItem(L"BigThumbnailsItem", Text(L"MSG_LV_BIGTHUMBNAILS", L"Big Thumbnails"),
                                    &TbsOpenDlgForm::BigThumbnailsItemClick);
        VeryBigThumbnailsItem =
            addItem(L"VeryBigThumbnailsItem", Text(L"MSG_LV_VERYBIGTHUMBNAILS", L"Very Big Thumbnails"),
                    &TbsOpenDlgForm::VeryBigThumbnailsItemClick);
    }
    StyleToolButton->SetSkinPopupMenu(StylePopupMenu);

    // 5. The shortcut buttons.
    ButtonsPanel = new TbsSkinPanel(this);
    ButtonsPanel->SetName(L"ButtonsPanel");
    ButtonsPanel->SetTop(ToolPanel->Height());
    ButtonsPanel->SetWidth(100);
    ButtonsPanel->SetAlign(alLeft);
    ButtonsPanel->SetBorderStyle(TbsPanelBorderStyle::bvNone);
    ButtonsPanel->SetParent(this);
    CreateShellButtons();

    // 6. The client part: the bottom panel (and what a variant adds above it), then the list's panel.
    ClientPanel = new TbsSkinPanel(this);
    ClientPanel->SetName(L"ClientPanel");
    ClientPanel->SetAlign(alClient);
    ClientPanel->SetBorderStyle(TbsPanelBorderStyle::bvNone);
    ClientPanel->SetEmptyDrawing(true);
    ClientPanel->SetParent(this);
    BottomPanel = new TbsSkinPanel(this);
    BottomPanel->SetName(L"BottomPanel");
    BottomPanel->SetHeight(80);
    BottomPanel->SetAlign(alBottom);
    BottomPanel->SetBorderStyle(TbsPanelBorderStyle::bvNone);
    BottomPanel->SetParent(ClientPanel);
    CreateExtraPanels(AToolBarImageList, AToolButtonsTransparent);
    FileListViewPanel = new TbsListFramePanel(this);
    FileListViewPanel->SetName(L"FileListViewPanel");
    FileListViewPanel->SetAlign(alClient);
    FileListViewPanel->SetBorderStyle(TbsPanelBorderStyle::bvFrame);
    FileListViewPanel->SetParent(ClientPanel);

    // 7. The list and its scroll bars.
    FLVHScrollBar = new TbsSkinScrollBar(this);
    FLVHScrollBar->SetName(L"FLVHScrollBar");
    FLVHScrollBar->SetDefaultHeight(19);
    FLVHScrollBar->SetBothMarkerWidth(19);
    FLVHScrollBar->SetEnabled(false);
    FLVHScrollBar->SetSkinDataName(L"hscrollbar");
    FLVHScrollBar->SetAlign(alBottom);
    FLVHScrollBar->SetParent(FileListViewPanel);
    FLVVScrollBar = new TbsSkinScrollBar(this);
    FLVVScrollBar->SetName(L"FLVVScrollBar");
    FLVVScrollBar->SetKind(sbVertical);
    FLVVScrollBar->SetDefaultWidth(19);
    FLVVScrollBar->SetEnabled(false);
    FLVVScrollBar->SetSkinDataName(L"vscrollbar");
    FLVVScrollBar->SetAlign(alRight);
    FLVVScrollBar->SetParent(FileListViewPanel);
    FileListView = new TbsSkinFileListView(this);
    FileListView->SetName(L"FileListView");
    FileListView->SetDoubleBuffered(VistaOrLater());
    FileListView->SetViewStyle(vsList);
    FileListView->SetShowColumnHeaders(true);
    FileListView->SetHScrollBar(FLVHScrollBar);
    FileListView->SetVScrollBar(FLVVScrollBar);
    FileListView->SetHideSelection(false);
    FileListView->SetAlign(alClient);
    FileListView->SetParent(FileListViewPanel);
    FileListView->SetComboBox(ShellBox);
    ShellBox->SetListView(FileListView);
    FileListView->OnSelectItem = [this](TObject* s, TListItem*, bool) { FLVChange(s); };
    FileListView->OnPathChanged = [this](TObject* s) { FLVPathChange(s); };
    FileListView->OnDblClick = [this](TObject* s) { FLVDBLClick(s); };
    FileListView->OnKeyPress = [this](TObject* s, wchar_t& k) { FLVKeyPress(s, k); };

    // 8. The bottom panel, right-anchored against its width at creation.
    const int right = BottomPanel->Width();
    FileNameEdit = new TbsSkinEdit(this);
    FileNameEdit->SetName(L"FileNameEdit");
    FileNameEdit->SetParent(BottomPanel);
    FileNameEdit->SetBounds(80, 10, right - 90 - 80, FileNameEdit->Height());
    FileNameEdit->SetAnchors({akLeft, akTop, akRight});
    FileNameEdit->OnKeyPress = [this](TObject* s, wchar_t& k) { EditKeyPress(s, k); };
    FilterComboBox = new TbsSkinFilterComboBox(this);
    FilterComboBox->SetName(L"FilterComboBox");
    FilterComboBox->SetDefaultHeight(21);
    FilterComboBox->SetParent(BottomPanel);
    FilterComboBox->SetBounds(80, 45, right - 90 - 80, FilterComboBox->Height());
    FilterComboBox->SetAnchors({akLeft, akTop, akRight});
    FilterComboBox->OnChange = [this](TObject* s) { FCBChange(s); };
    auto addButton = [&](const wchar_t* name, const std::wstring& caption, int top) {
        auto* b = new TbsSkinButton(this);
        b->SetName(name);
        b->SetCaption(caption);
        b->SetDefaultHeight(25);
        b->SetParent(BottomPanel);
        b->SetBounds(right - 80, top, 70, 25);
        b->SetAnchors({akTop, akRight});
        return b;
    };
    OpenButton = addButton(L"OpenButton",
                           SaveMode ? Text(L"MSG_BTN_SAVE", L"&Save") : Text(L"MSG_BTN_OPEN", L"&Open"), 10);
    OpenButton->SetCanFocused(true);
    OpenButton->OnClick = [this](TObject* s) { OpenButtonClick(s); };
    CancelButton = addButton(L"CancelButton", Text(L"MSG_BTN_CANCEL", L"Cancel"), 45);
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
    auto addLabel = [&](const wchar_t* name, const std::wstring& caption, int top) {
        auto* l = new TbsSkinStdLabel(this);
        l->SetName(name);
        l->SetAutoSize(false);
        l->SetAlignment(taLeftJustify);
        l->SetLayout(tlCenter);
        l->SetCaption(caption);
        l->SetBounds(5, top, 80, 21);
        l->SetParent(BottomPanel);
        return l;
    };
    OpenFileLabel = addLabel(L"OpenFileLabel", Text(L"MSG_FILENAME", L"File name:"), 10);
    FileTypeLabel = addLabel(L"FileTypeLabel", Text(L"MSG_FILETYPE", L"File type:"), 45);

    // 9.
    SetActiveControl(FileNameEdit);
    CheckFileExists = true;
}

// ---- Shortcut buttons -------------------------------------------------------------------------------------------

void TbsOpenDlgForm::CreateShellButtons() {
    // Copies of the four folders' large system icons: the buttons draw them as the system list holds them.
    FButtonImages = new TCustomImageList(this, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    struct TShortcut {
        const wchar_t* Root;
        const wchar_t* Name;
    };
    const TShortcut shortcuts[] = {{L"rfDesktop", L"DesktopButton"},
                                   {L"rfPersonal", L"PersonalButton"},
                                   {L"rfMyComputer", L"MyComputerButton"},
                                   {L"rfNetwork", L"NetworkButton"}};
    TComPtr<IShellFolder> desktop = DesktopShellFolder();
    int top = 0;
    for (const TShortcut& s : shortcuts) {
        const int root = RootFolderIndex(s.Root);
        bool libraries = false;
        TbsPidl pidl = ShortcutFolder(root, libraries);
        auto* b = new TbsSkinButton(this);
        b->SetName(s.Name);
        b->SetCanFocused(false);
        b->SetShellImage(true);
        b->SetImageList(FButtonImages);
        b->SetTransparent(true);
        b->SetSkinDataName(L"resizetoolbutton");
        b->SetLayout(blGlyphTop);
        b->SetSkinData(CtrlSD);
        b->SetTag(root);
        b->SetTop(top);
        b->SetHeight(70);
        b->SetAlign(alTop);
        b->SetParent(ButtonsPanel);
        top += 70;
        b->OnClick = [this](TObject* sender) { ShellButtonClick(sender); };
        if (!pidl)
            continue;
        if (desktop)
            b->SetCaption(GetDisplayName(desktop.Get(), pidl.get(), SHGDN_NORMAL));
        SHFILEINFOW info{};
        if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl.get()), 0, &info, sizeof(info),
                           SHGFI_PIDL | SHGFI_ICON | SHGFI_LARGEICON) &&
            info.hIcon) {
            TIcon icon;
            icon.SetHandle(info.hIcon);
            b->SetImageIndex(FButtonImages->AddIcon(&icon));
        }
    }
}

void TbsOpenDlgForm::ShellButtonClick(TObject* Sender) {
    auto* b = dynamic_cast<TControl*>(Sender);
    if (!b)
        return;
    const int root = static_cast<int>(b->Tag());
    bool libraries = false;
    if (root == RootFolderIndex(L"rfPersonal")) {
        TbsPidl pidl = ShortcutFolder(root, libraries);
        if (libraries)
            FileListView->SetPathFromID(pidl.get());
    }
    if (!libraries)
        FileListView->SetRootDirectly(RootFolderName(root));
    if (FileListView->RootFolder())
        ShellBox->SetPathFromID(FileListView->RootFolder()->AbsoluteID());
}

// ---- View menu ----------------------------------------------------------------------------------------------------

void TbsOpenDlgForm::SetPlainStyle(TMenuItem* Item, int Style) {
    if (Style == vsIcon)
        FileListView->ThumbnailOptions()->SetEnabled(false);
    FileListView->SetViewStyle(static_cast<TViewStyle>(Style));
    FileListView->UpdateThumbnails();
    Item->SetChecked(true);
}

void TbsOpenDlgForm::SetThumbnailStyle(TMenuItem* Item, int Size) {
    FileListView->ThumbnailOptions()->SetValues(true, Size, Size);
    FileListView->SetViewStyle(vsIcon);
    FileListView->UpdateThumbnails();
    Item->SetChecked(true);
}

void TbsOpenDlgForm::IconItemClick(TObject*) { SetPlainStyle(IconMenuItem, vsIcon); }
void TbsOpenDlgForm::SmallIconItemClick(TObject*) { SetPlainStyle(SmallIconMenuItem, vsSmallIcon); }
void TbsOpenDlgForm::ListItemClick(TObject*) { SetPlainStyle(ListMenuItem, vsList); }
void TbsOpenDlgForm::ReportItemClick(TObject*) { SetPlainStyle(ReportMenuItem, vsReport); }
void TbsOpenDlgForm::ThumbnailsItemClick(TObject*) { SetThumbnailStyle(ThumbnailsItem, 96); }
void TbsOpenDlgForm::BigThumbnailsItemClick(TObject*) { SetThumbnailStyle(BigThumbnailsItem, 128); }
void TbsOpenDlgForm::VeryBigThumbnailsItemClick(TObject*) { SetThumbnailStyle(VeryBigThumbnailsItem, 256); }

// ---- History and navigation ---------------------------------------------------------------------------------------

void TbsOpenDlgForm::InitHistory() {
    TbsShellFolder* root = FileListView->RootFolder();
    if (!root)
        return;
    if (!FolderHistory.empty() && PIDLsEqual(FolderHistory.back().get(), root->AbsoluteID()))
        return;
    FolderHistory.emplace_back(CopyPIDL(root->AbsoluteID()));
}

void TbsOpenDlgForm::FLVPathChange(TObject*) {
    if (StopAddToHistory)
        return;
    InitHistory();
    if (FileListView->Items()->Count() > 0)
        FileListView->Items()->Item(0)->SetFocused(true);
    if (OnFolderChange)
        OnFolderChange(this);
}

void TbsOpenDlgForm::BackToolButtonClick(TObject*) {
    if (FolderHistory.size() < 2)
        return;
    StopAddToHistory = true;
    try {
        FileListView->TreeUpdate(FolderHistory[FolderHistory.size() - 2].get());
    } catch (...) {
        StopAddToHistory = false;
        throw;
    }
    FolderHistory.pop_back();
    StopAddToHistory = false;
}

void TbsOpenDlgForm::UpToolButtonClick(TObject*) { FileListView->Back(); }

void TbsOpenDlgForm::NewFolderToolButtonClick(TObject*) {
    const std::wstring path = FileListView->Path();
    if (path.find(L'\\') == std::wstring::npos)
        return;  // a virtual folder
    ++NewFolderCount;
    const std::wstring name = NewFolderName(Text(L"MSG_NEWFOLDER", L"New Folder"), NewFolderCount);
    const std::wstring full = JoinDialogPath(path, name);
    if (DirectoryExists(full))
        return;
    if (!CreateDirectoryW(full.c_str(), nullptr)) {
        const DWORD code = GetLastError();
        throw EInOutError(SysErrorMessage(code), code);
    }
    FileListView->RootChanged();
    Application->ProcessMessages();
    for (int i = 0; i < FileListView->FolderCount(); ++i) {
        if (FileListView->Folders(i)->DisplayName() != name)
            continue;
        FileListView->SetFocus();
        FileListView->SetItemIndex(i);
        SendMessageW(FileListView->Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(i), FALSE);
        SendMessageW(FileListView->Handle(), LVM_EDITLABELW, static_cast<WPARAM>(i), 0);
        break;
    }
}

// ---- Keys, selection, filter ------------------------------------------------------------------------------------------

std::wstring TbsOpenDlgForm::SelectedFile() { return FileListView->GetSelectedFile(); }

void TbsOpenDlgForm::FLVKeyPress(TObject*, wchar_t& Key) {
    if (Key == L'\r' && !SelectedFile().empty())
        OpenButtonClick(this);
}

void TbsOpenDlgForm::EditKeyPress(TObject*, wchar_t& Key) {
    if (Key != L'\r')
        return;
    Key = 0;
    const std::wstring text = FileNameEdit->Text();
    if (text.find(L'*') != std::wstring::npos) {
        FileListView->SetMask(text);
    } else if (text.find(L'\\') != std::wstring::npos) {
        // The desktop parses only full paths: "..\" and relative parts are resolved first.
        if (DirectoryExists(text))
            FileListView->SetPath(ExpandFileName(text));
    } else {
        OpenButtonClick(this);
    }
}

void TbsOpenDlgForm::FLVChange(TObject*) {
    const std::wstring file = SelectedFile();
    if (!file.empty())
        FileNameEdit->SetText(ExtractFileName(file));
    if (OnFolderChange)
        OnFolderChange(this);
}

void TbsOpenDlgForm::FCBChange(TObject*) {
    FileListView->SetMask(FilterComboBox->Mask());
    if (!SaveMode)
        return;
    const std::wstring ext = MaskExtension(FilterComboBox->Mask());
    if (!ext.empty() && !FileNameEdit->Text().empty())
        FileNameEdit->SetText(SwapSaveExtension(FileNameEdit->Text(), ext));
}

std::wstring TbsOpenDlgForm::DialogDefaultExt() { return ::DialogDefaultExt(DefaultExt, FilterComboBox->Mask()); }

// ---- OK rules ------------------------------------------------------------------------------------------------------

bool TbsOpenDlgForm::OverwriteAccepted(const std::wstring& Name) {
    if (!SaveMode || !OverwritePromt || !FileExists(Name))
        return true;
    TbsSkinMessage msg(nullptr);
    msg.SetSkinData(SKF ? SKF->SkinData() : nullptr);
    msg.SetCtrlSkinData(CtrlSD);
    return msg.MessageDlg(Text(L"MSG_OVERWRITE", L"Do you want to overwrite old file?"), mtWarning, {mbOK, mbCancel},
                          0) == mrOk;
}

void TbsOpenDlgForm::OpenButtonClick(TObject*) {
    const std::wstring text = FileNameEdit->Text();
    const std::wstring selected = SelectedFile();
    std::wstring typed;
    // 1. A typed name that names no file keeps the window open, without a word.
    if (!SaveMode && CheckFileExists && selected.empty() && !text.empty()) {
        typed = JoinDialogPath(FileListView->Path(), text);
        if (!HasFileExtension(text))
            typed += DialogDefaultExt();
        if (!FileExists(typed))
            return;
    }
    // 2.
    if (text.empty())
        return;
    // 3. Save mode.
    if (SaveMode) {
        const std::wstring folder = FileListView->GetSelectedPath();
        if (text.find(L'*') != std::wstring::npos || folder.empty())
            return;
        const std::wstring name = JoinDialogPath(folder, text);
        const std::wstring test = HasFileExtension(name) ? name : name + DialogDefaultExt();
        if (!OverwriteAccepted(test))
            return;
        FileName = name;
        SetModalResult(mrOk);
        return;
    }
    // 4.
    if (CheckFileExists) {
        FileName = selected.empty() ? typed : selected;
        if (FileExists(FileName))
            SetModalResult(mrOk);
        else
            FileName.clear();
        return;
    }
    // 5.
    if (!selected.empty()) {
        FileName = selected;
    } else {
        FileName = JoinDialogPath(FileListView->Path(), text);
        if (!HasFileExtension(text))
            FileName += DialogDefaultExt();
    }
    SetModalResult(mrOk);
}

void TbsOpenDlgForm::FLVDBLClick(TObject*) {
    const std::wstring file = SelectedFile();
    if (file.empty() || !OverwriteAccepted(file))
        return;
    FileName = file;
    SetModalResult(mrOk);
}

TbsShellListViewStyle TbsOpenDlgForm::ShownStyle() {
    if (FileListView->IsThumbnailView())
        return ThumbnailStyleOf(FileListView->ThumbnailOptions()->Width());
    return static_cast<TbsShellListViewStyle>(FileListView->ViewStyle());
}
