// The open window: a folder browser over a list view with the file name rules of an open dialog, and for sounds
// the preview buttons that hand the selected file to the owner's handlers.
#include "skin/dialogs/OpenDialog.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "classlib/ImgList.h"

namespace {

constexpr int kGap = 8;
constexpr int kButtonW = 80, kButtonH = 25;

bool IsFolder(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FolderPart(const std::wstring& path) {
    const size_t p = path.find_last_of(L"\\/");
    return p == std::wstring::npos ? L"" : path.substr(0, p == 2 && path[1] == L':' ? 3 : p);
}

std::wstring NamePart(const std::wstring& path) {
    const size_t p = path.find_last_of(L"\\/");
    return p == std::wstring::npos ? path : path.substr(p + 1);
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.back() == L'\\' || folder.back() == L'/')
        return folder + name;
    return folder + L"\\" + name;
}

bool IsAbsolute(const std::wstring& path) {
    return (path.size() >= 2 && path[1] == L':') || (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\');
}

std::wstring FullPath(const std::wstring& path) {
    wchar_t buf[MAX_PATH * 2] = {};
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 2, buf, nullptr);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(buf) : path;
}

std::vector<std::wstring> SplitMasks(const std::wstring& masks) {
    std::vector<std::wstring> r;
    size_t start = 0;
    while (start <= masks.size()) {
        const size_t end = masks.find(L';', start);
        std::wstring m = masks.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        m.erase(0, m.find_first_not_of(L' '));
        if (!m.empty())
            r.push_back(m);
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    return r;
}

// The extension a typed name without one gets: that of a single "*.ext" pattern, none for "*.*" or several.
std::wstring MaskExtension(const std::wstring& masks) {
    const auto list = SplitMasks(masks);
    if (list.size() != 1 || list[0].find(L".*") != std::wstring::npos)
        return L"";
    const size_t dot = list[0].find_last_of(L'.');
    if (dot == std::wstring::npos || list[0].find_first_of(L"*?", dot) != std::wstring::npos)
        return L"";
    return list[0].substr(dot);
}

TViewStyle ToViewStyle(TbsShellListViewStyle s) {
    switch (s) {
        case bsvsSmallIcon:
            return vsSmallIcon;
        case bsvsList:
            return vsList;
        case bsvsReport:
            return vsReport;
        default:
            return vsIcon;  // the thumbnail styles show the files' icons: sound files have no pictures
    }
}

}  // namespace

// ---- TbsOpenDlgForm --------------------------------------------------------------------------------------------

class TbsOpenDlgForm : public TForm {
  public:
    TbsOpenDlgForm(TComponent* AOwner, TbsSkinOpenDialog* Dialog);

    void SetFolder(const std::wstring& Folder);
    void OpenButtonClick();
    std::wstring SelectedFile();
    std::vector<std::wstring> SelectedFiles();

    TbsSkinOpenDialog* dialog_;  // borrowed: the component that runs this window
    std::wstring folder_;
    std::wstring FileName;
    std::vector<std::wstring> filterMasks_;

    TbsDlgText* FolderLabel = nullptr;
    TEdit* FolderEdit = nullptr;
    TButton* UpButton = nullptr;
    TComboBox* StyleComboBox = nullptr;
    TListView* FileListView = nullptr;
    TbsDlgGlyphButton* PlayButton = nullptr;
    TbsDlgGlyphButton* StopButton = nullptr;
    TbsDlgText* FileNameLabel = nullptr;
    TEdit* FileNameEdit = nullptr;
    TbsDlgText* FileTypeLabel = nullptr;
    TComboBox* FilterComboBox = nullptr;
    TButton* OpenButton = nullptr;
    TButton* CancelButton = nullptr;
    TCustomImageList* SmallIcons = nullptr;
    TCustomImageList* LargeIcons = nullptr;

    void WndProc(TMessage& Message) override;

  private:
    struct Entry {
        std::wstring name;
        bool folder = false;
        ULONGLONG size = 0;
    };
    void Fill();
    int IconFor(const std::wstring& name, bool folder);
    std::wstring Masks() const;
    std::vector<Entry> entries_;
    // The minimum size holds once the window is laid out: before, the system would enlarge the window behind the
    // back of the bounds the layout works with.
    bool limitSize_ = false;
    int minW_ = 0, minH_ = 0;
    std::vector<std::pair<std::wstring, int>> iconCache_;  // extension (or "\\" for folders) -> image index
};

TbsOpenDlgForm::TbsOpenDlgForm(TComponent* AOwner, TbsSkinOpenDialog* Dialog) : TForm(AOwner), dialog_(Dialog) {
    TbsSkinData* texts = Dialog->CtrlSkinData();
    SetBorderStyle(bsSizeable);
    SetBorderIcons({biSystemMenu, biMaximize});
    SetPosition(poScreenCenter);
    SetKeyPreview(true);
    Font()->Assign(Dialog->DefaultFont());
    SetCaption(Dialog->Title);
    HandleNeeded();
    minW_ = std::max(Dialog->minWidth_, Dialog->DialogMinWidth);
    minH_ = std::max(Dialog->minHeight_, Dialog->DialogMinHeight);
    const int W = std::max(Dialog->DialogWidth > 0 ? Dialog->DialogWidth : Dialog->defaultWidth_, minW_);
    const int H = std::max(Dialog->DialogHeight > 0 ? Dialog->DialogHeight : Dialog->defaultHeight_, minH_);
    SetClientWidth(W);
    SetClientHeight(H);

    auto label = [&](const wchar_t* name, const std::wstring& text) {
        auto* l = new TbsDlgText(this);
        l->SetName(name);
        l->SetText(text);
        l->SetParent(this);
        l->FitText(0);
        return l;
    };
    auto anchored = [](TControl* c, TAnchors a) { c->SetAnchors(a); };

    // The label column is as wide as its widest text.
    FolderLabel = label(L"FolderLabel", DlgResText(texts, L"FLV_LOOKIN", L"Folder:"));
    FileNameLabel = label(L"FileNameLabel", DlgResText(texts, L"MSG_FILENAME", L"File name:"));
    FileTypeLabel = label(L"FileTypeLabel", DlgResText(texts, L"MSG_FILETYPE", L"File type:"));
    const int fieldLeft =
        kGap + std::max({FolderLabel->Width(), FileNameLabel->Width(), FileTypeLabel->Width()}) + kGap;

    // Top row: folder, Up, view style.
    StyleComboBox = new TComboBox(this);
    StyleComboBox->SetName(L"StyleComboBox");
    StyleComboBox->SetStyle(csDropDownList);
    StyleComboBox->SetParent(this);
    const std::pair<const wchar_t*, const wchar_t*> styles[] = {{L"MSG_LV_ICON", L"Large icons"},
                                                                {L"MSG_LV_SMALLICON", L"Small icons"},
                                                                {L"MSG_LV_LIST", L"List"},
                                                                {L"MSG_LV_DETAILS", L"Details"},
                                                                {L"MSG_LV_THUMBNAILS", L"Thumbnails"},
                                                                {L"MSG_LV_BIGTHUMBNAILS", L"Big Thumbnails"},
                                                                {L"MSG_LV_VERYBIGTHUMBNAILS", L"Very Big Thumbnails"}};
    int styleW = 0;
    // The thumbnail styles are offered when wanted; a remembered one is kept either way.
    const size_t styleCount = Dialog->ShowThumbnails || Dialog->ListViewStyle >= bsvsThumbnails ? 7 : 4;
    for (size_t k = 0; k < styleCount; ++k) {
        const auto& s = styles[k];
        StyleComboBox->Items()->Add(DlgResText(texts, s.first, s.second));
        styleW = std::max(
            styleW, MeasureDlgText(Font(), StyleComboBox->Items()->Strings(StyleComboBox->Items()->Count() - 1)).cx);
    }
    styleW += 36;  // the drop-down arrow and the edges
    const int rowH = StyleComboBox->Height();
    StyleComboBox->SetBounds(W - kGap - styleW, kGap, styleW, rowH);
    anchored(StyleComboBox, {akTop, akRight});

    UpButton = MakeDlgButton(this, L"UpButton", L"\x2191", Font(), 0, 0, kGap, rowH + 2, rowH + 2);
    UpButton->SetLeft(StyleComboBox->Left() - kGap - UpButton->Width());
    UpButton->SetTop(kGap - 1);
    UpButton->SetHint(DlgResText(texts, L"MSG_BTN_UP_HINT", L"Up One Level"));
    UpButton->SetShowHint(true);
    UpButton->SetTabStop(false);
    anchored(UpButton, {akTop, akRight});

    FolderEdit = new TEdit(this);
    FolderEdit->SetName(L"FolderEdit");
    FolderEdit->SetReadOnly(true);
    FolderEdit->SetParent(this);
    FolderEdit->SetBounds(fieldLeft, kGap, UpButton->Left() - kGap - fieldLeft, rowH);
    anchored(FolderEdit, {akLeft, akTop, akRight});
    FolderLabel->SetBounds(kGap, kGap + (rowH - FolderLabel->Height()) / 2, FolderLabel->Width(),
                           FolderLabel->Height());

    // Bottom rows: name and Open, type and Cancel.
    const int row2 = H - kGap - kButtonH, row1 = row2 - kGap - kButtonH;
    OpenButton = MakeDlgButton(this, L"OpenButton", DlgResText(texts, L"MSG_BTN_OPEN", L"&Open"), Font(), 0, 0, row1,
                               kButtonW, kButtonH);
    CancelButton = MakeDlgButton(this, L"CancelButton", DlgResText(texts, L"MSG_BTN_CANCEL", L"Cancel"), Font(),
                                 mrCancel, 0, row2, kButtonW, kButtonH);
    const int buttonW = std::max(OpenButton->Width(), CancelButton->Width());
    OpenButton->SetBounds(W - kGap - buttonW, row1, buttonW, kButtonH);
    CancelButton->SetBounds(W - kGap - buttonW, row2, buttonW, kButtonH);
    OpenButton->SetDefault(true);
    CancelButton->SetCancel(true);
    anchored(OpenButton, {akRight, akBottom});
    anchored(CancelButton, {akRight, akBottom});
    const int fieldW = OpenButton->Left() - kGap - fieldLeft;

    FileNameEdit = new TEdit(this);
    FileNameEdit->SetName(L"FileNameEdit");
    FileNameEdit->SetParent(this);
    FileNameEdit->SetBounds(fieldLeft, row1 + (kButtonH - FileNameEdit->Height()) / 2, fieldW, FileNameEdit->Height());
    anchored(FileNameEdit, {akLeft, akRight, akBottom});
    FilterComboBox = new TComboBox(this);
    FilterComboBox->SetName(L"FilterComboBox");
    FilterComboBox->SetStyle(csDropDownList);
    FilterComboBox->SetParent(this);
    FilterComboBox->SetBounds(fieldLeft, row2 + (kButtonH - FilterComboBox->Height()) / 2, fieldW,
                              FilterComboBox->Height());
    anchored(FilterComboBox, {akLeft, akRight, akBottom});
    FileNameLabel->SetBounds(kGap, row1 + (kButtonH - FileNameLabel->Height()) / 2, FileNameLabel->Width(),
                             FileNameLabel->Height());
    FileTypeLabel->SetBounds(kGap, row2 + (kButtonH - FileTypeLabel->Height()) / 2, FileTypeLabel->Width(),
                             FileTypeLabel->Height());
    anchored(FileNameLabel, {akLeft, akBottom});
    anchored(FileTypeLabel, {akLeft, akBottom});

    // For sounds the preview buttons sit on their own row right above the bottom rows, at the list's left edge.
    int listBottom = row1 - kGap;
    if (Dialog->HasSoundPanel()) {
        const int soundTop = row1 - kGap - kButtonH;
        PlayButton = new TbsDlgGlyphButton(this, TbsDlgGlyphButton::gPlay);
        StopButton = new TbsDlgGlyphButton(this, TbsDlgGlyphButton::gStop);
        PlayButton->SetName(L"PlayButton");
        StopButton->SetName(L"StopButton");
        PlayButton->SetParent(this);
        StopButton->SetParent(this);
        PlayButton->SetBounds(kGap, soundTop, kButtonH + 8, kButtonH);
        StopButton->SetBounds(PlayButton->Left() + PlayButton->Width() + 4, soundTop, kButtonH + 8, kButtonH);
        anchored(PlayButton, {akLeft, akBottom});
        anchored(StopButton, {akLeft, akBottom});
        PlayButton->OnClick = [this](TObject* sender) { dialog_->PlayClicked(sender); };
        StopButton->OnClick = [this](TObject* sender) { dialog_->StopClicked(sender); };
        listBottom = soundTop - kGap;
    }

    SmallIcons = new TCustomImageList(this, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    LargeIcons = new TCustomImageList(this, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    FileListView = new TListView(this);
    FileListView->SetName(L"FileListView");
    FileListView->SetParent(this);
    FileListView->SetBounds(kGap, kGap + rowH + kGap, W - 2 * kGap, listBottom - (kGap + rowH + kGap));
    FileListView->SetMultiSelect(Dialog->MultiSelection);
    anchored(FileListView, {akLeft, akTop, akRight, akBottom});
    FileListView->SetReadOnly(true);
    FileListView->SetHideSelection(false);
    FileListView->SetSmallImages(SmallIcons);
    FileListView->SetLargeImages(LargeIcons);
    TListColumn* nameCol = FileListView->Columns()->Add();
    std::wstring nameHeader = DlgResText(texts, L"MSG_FILENAME", L"File name:");
    if (!nameHeader.empty() && nameHeader.back() == L':')
        nameHeader.pop_back();
    nameCol->SetCaption(nameHeader);
    nameCol->SetWidth(W / 2);
    TListColumn* sizeCol = FileListView->Columns()->Add();
    sizeCol->SetCaption(L"KB");
    sizeCol->SetWidth(90);
    FileListView->SetViewStyle(ToViewStyle(Dialog->ListViewStyle));
    StyleComboBox->SetItemIndex(Dialog->ListViewStyle);

    // Filter pairs "text|masks|text|masks".
    const std::wstring& f = Dialog->Filter;
    size_t pos = 0;
    while (pos < f.size()) {
        const size_t bar = f.find(L'|', pos);
        if (bar == std::wstring::npos)
            break;
        const size_t next = f.find(L'|', bar + 1);
        FilterComboBox->Items()->Add(f.substr(pos, bar - pos));
        filterMasks_.push_back(f.substr(bar + 1, next == std::wstring::npos ? std::wstring::npos : next - bar - 1));
        pos = next == std::wstring::npos ? f.size() : next + 1;
    }
    if (!filterMasks_.empty())
        FilterComboBox->SetItemIndex(std::clamp(Dialog->FilterIndex, 1, static_cast<int>(filterMasks_.size())) - 1);

    UpButton->OnClick = [this](TObject*) {
        const std::wstring parent =
            FolderPart(folder_.back() == L'\\' ? folder_.substr(0, folder_.size() - 1) : folder_);
        if (!parent.empty() && parent != folder_)
            SetFolder(parent);
    };
    StyleComboBox->OnSelect = [this](TObject*) {
        const int i = StyleComboBox->ItemIndex();
        if (i >= 0) {
            dialog_->ListViewStyle = static_cast<TbsShellListViewStyle>(i);
            FileListView->SetViewStyle(ToViewStyle(dialog_->ListViewStyle));
        }
    };
    FilterComboBox->OnSelect = [this](TObject*) { Fill(); };
    FileListView->OnSelectItem = [this](TObject*, TListItem* item, bool selected) {
        if (selected && item->Index() < static_cast<int>(entries_.size()) && !entries_[item->Index()].folder)
            FileNameEdit->SetText(entries_[item->Index()].name);
    };
    FileListView->OnDblClick = [this](TObject*) {
        TListItem* item = FileListView->Selected();
        if (!item || item->Index() >= static_cast<int>(entries_.size()))
            return;
        const Entry& e = entries_[item->Index()];
        if (e.folder)
            SetFolder(JoinPath(folder_, e.name));
        else
            OpenButtonClick();
    };
    OpenButton->OnClick = [this](TObject*) { OpenButtonClick(); };
    SetActiveControl(FileNameEdit);
    limitSize_ = true;
}

void TbsOpenDlgForm::WndProc(TMessage& Message) {
    if (Message.Msg == WM_GETMINMAXINFO && limitSize_) {
        // The smallest window whose client area is the minimum.
        RECT r{0, 0, minW_, minH_};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
        TForm::WndProc(Message);
        auto* mmi = reinterpret_cast<MINMAXINFO*>(Message.LParam);
        mmi->ptMinTrackSize.x = r.right - r.left;
        mmi->ptMinTrackSize.y = r.bottom - r.top;
        return;
    }
    TForm::WndProc(Message);
}

std::wstring TbsOpenDlgForm::Masks() const {
    const int i = FilterComboBox->ItemIndex();
    return i >= 0 && i < static_cast<int>(filterMasks_.size()) ? filterMasks_[static_cast<size_t>(i)] : L"*.*";
}

int TbsOpenDlgForm::IconFor(const std::wstring& name, bool folder) {
    const size_t dot = name.find_last_of(L'.');
    std::wstring key = folder ? L"\\" : (dot == std::wstring::npos ? L"" : name.substr(dot));
    std::transform(key.begin(), key.end(), key.begin(), ::towlower);
    for (const auto& [k, index] : iconCache_)
        if (k == key)
            return index;
    // The shell's icon for the kind of item, asked by attributes only: no file is opened.
    int index = -1;
    for (bool large : {false, true}) {
        SHFILEINFOW info{};
        const UINT flags = SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | (large ? SHGFI_LARGEICON : SHGFI_SMALLICON);
        const std::wstring probe = folder ? L"folder" : L"file" + key;
        if (!SHGetFileInfoW(probe.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info,
                            sizeof(info), flags) ||
            !info.hIcon) {
            continue;
        }
        TIcon icon;
        icon.SetHandle(info.hIcon);
        const int i = (large ? LargeIcons : SmallIcons)->AddIcon(&icon);
        if (!large)
            index = i;
    }
    iconCache_.emplace_back(key, index);
    return index;
}

void TbsOpenDlgForm::SetFolder(const std::wstring& Folder) {
    folder_ = FullPath(Folder);
    FolderEdit->SetText(folder_);
    Fill();
    if (FileListView->Items()->Count() > 0)
        FileListView->Items()->Item(0)->SetFocused(true);
    if (dialog_->OnFolderChange)
        dialog_->OnFolderChange(this);
}

void TbsOpenDlgForm::Fill() {
    entries_.clear();
    std::vector<Entry> files;
    const auto masks = SplitMasks(Masks());
    WIN32_FIND_DATAW fd{};
    HANDLE h = FindFirstFileW(JoinPath(folder_, L"*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if ((fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) && !dialog_->ShowHiddenFiles)
                continue;
            Entry e{name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                    (static_cast<ULONGLONG>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow};
            if (e.folder) {
                entries_.push_back(e);
            } else if (std::any_of(masks.begin(), masks.end(),
                                   [&](const std::wstring& m) { return PathMatchSpecW(name.c_str(), m.c_str()); })) {
                files.push_back(e);
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    auto byName = [](const Entry& a, const Entry& b) { return lstrcmpiW(a.name.c_str(), b.name.c_str()) < 0; };
    std::sort(entries_.begin(), entries_.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    entries_.insert(entries_.end(), files.begin(), files.end());

    TListItems* items = FileListView->Items();
    items->BeginUpdate();
    items->Clear();
    for (const Entry& e : entries_) {
        TListItem* item = items->Add();
        item->SetCaption(e.name);
        item->SetImageIndex(IconFor(e.name, e.folder));
        item->SubItems()->Add(e.folder ? L"" : std::to_wstring((e.size + 1023) / 1024));
    }
    items->EndUpdate();
}

std::vector<std::wstring> TbsOpenDlgForm::SelectedFiles() {
    std::vector<std::wstring> r;
    for (int i = 0; i < FileListView->Items()->Count() && i < static_cast<int>(entries_.size()); ++i)
        if (!entries_[static_cast<size_t>(i)].folder && FileListView->Items()->Item(i)->Selected())
            r.push_back(JoinPath(folder_, entries_[static_cast<size_t>(i)].name));
    return r;
}

std::wstring TbsOpenDlgForm::SelectedFile() {
    TListItem* item = FileListView->Selected();
    if (!item || item->Index() >= static_cast<int>(entries_.size()) || entries_[item->Index()].folder)
        return L"";
    return JoinPath(folder_, entries_[item->Index()].name);
}

void TbsOpenDlgForm::OpenButtonClick() {
    std::wstring text = FileNameEdit->Text();
    text.erase(0, text.find_first_not_of(L' '));
    text.erase(text.find_last_not_of(L' ') + 1);
    if (text.empty()) {
        // Nothing typed: a selected folder opens, a selected file is taken.
        TListItem* item = FileListView->Selected();
        if (item && item->Index() < static_cast<int>(entries_.size()) && entries_[item->Index()].folder)
            SetFolder(JoinPath(folder_, entries_[item->Index()].name));
        return;
    }
    if (text.find_first_of(L"*?") != std::wstring::npos) {
        // A typed pattern filters the list in place of the filter box's masks.
        filterMasks_.push_back(text);
        FilterComboBox->Items()->Add(text);
        FilterComboBox->SetItemIndex(FilterComboBox->Items()->Count() - 1);
        Fill();
        return;
    }
    std::wstring path = IsAbsolute(text) ? text : JoinPath(folder_, text);
    if (IsFolder(path)) {
        FileNameEdit->SetText(L"");
        SetFolder(path);
        return;
    }
    const std::wstring ext = MaskExtension(Masks());
    if (NamePart(path).find(L'.') == std::wstring::npos && !ext.empty() && IsFile(path + ext))
        path += ext;
    if (dialog_->CheckFileExists && !IsFile(path)) {
        MessageBeep(MB_ICONWARNING);
        FileNameEdit->SetFocus();
        FileNameEdit->SelectAll();
        return;
    }
    FileName = FullPath(path);
    SetModalResult(mrOk);
}

// ---- TbsSkinOpenDialog ----------------------------------------------------------------------------------------------

TbsSkinOpenDialog::TbsSkinOpenDialog(TComponent* AOwner)
    : TbsSkinDialogComponent(AOwner), FFiles(std::make_unique<TStringList>()), FDefaultFont(std::make_unique<TFont>()) {
    SetDefaultDlgFont(FDefaultFont.get());
}

TbsSkinOpenDialog::~TbsSkinOpenDialog() = default;

std::wstring TbsSkinOpenDialog::GetSelectedFile() const {
    return form_ ? form_->SelectedFile() : L"";
}

bool TbsSkinOpenDialog::Execute() {
    if (OnShow)
        OnShow(this);
    auto form = std::make_unique<TbsOpenDlgForm>(Application, this);
    AttachSkinFrame(form.get(), SkinData());
    // The folder of FileName when it has one that exists, else InitialDir, else the current folder.
    std::wstring start = FolderPart(FileName);
    if (start.empty() || !IsFolder(start))
        start = IsFolder(InitialDir) ? InitialDir : L".";
    form->SetFolder(start);
    form->FileNameEdit->SetText(NamePart(FileName));

    form_ = form.get();
    TModalResult result = mrCancel;
    std::vector<std::wstring> selected;
    try {
        result = form->ShowModal();
        selected = form->SelectedFiles();
    } catch (...) {
        form_ = nullptr;
        if (OnClose)
            OnClose(this);
        throw;
    }
    form_ = nullptr;
    AfterModal();
    FilterIndex = form->FilterComboBox->ItemIndex() + 1;
    DialogWidth = form->ClientWidth();
    DialogHeight = form->ClientHeight();
    const bool accepted = result == mrOk;
    if (accepted) {
        FileName = form->FileName;
        FFiles->Clear();
        if (std::find(selected.begin(), selected.end(), FileName) == selected.end())
            selected.assign(1, FileName);
        for (const auto& f : selected)
            FFiles->Add(f);
    }
    form.reset();
    if (OnClose)
        OnClose(this);
    if (accepted && OnChange)
        OnChange(this);
    return accepted;
}
