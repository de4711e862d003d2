// The open and sound-file dialogs on real windows over real folders: the window found by its caption, its controls
// by "TrelmName", driven by clicks and keys from a timer inside the modal loop; what the list shows is read from the
// list view object behind the found window.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <fstream>
#include <string>
#include <vector>

#include "classlib/Menus.h"
#include "classlib/SysUtils.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/OpenDialogRules.h"
#include "skin/dialogs/OpenSoundDialog.h"
#include "skin/shell/ShellComboBox.h"
#include "skin/shell/ShellListView.h"
#include "tests/skin/dialogs/DialogTestUtil.h"
#include "SkinTestPaths.h"

namespace {

// ---- Window-free rules ----------------------------------------------------------------------------------------------

TEST(OpenDialogRules, JoinsWithOneSeparator) {
    const std::pair<std::pair<const wchar_t*, const wchar_t*>, const wchar_t*> cases[] = {
        {{L"C:\\", L"a.lng"}, L"C:\\a.lng"},
        {{L"C:\\users\\Документы", L"a.lng"}, L"C:\\users\\Документы\\a.lng"},
        {{L"C:\\users\\x\\", L"a"}, L"C:\\users\\x\\a"},
        {{L"", L"a"}, L"a"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(JoinDialogPath(in.first, in.second), out) << in.first;
}

TEST(OpenDialogRules, ExtensionsFromMasksAndTypedNames) {
    EXPECT_EQ(MaskExtension(L"*.lng"), L".lng");
    EXPECT_EQ(MaskExtension(L"*.wav;*.mp3"), L".wav");
    EXPECT_EQ(MaskExtension(L"*.*"), L"");
    EXPECT_EQ(MaskExtension(L"*.txt;*.*"), L"");
    EXPECT_EQ(MaskExtension(L"*"), L"");
    EXPECT_EQ(DialogDefaultExt(L"ini", L"*.lng"), L".ini");
    EXPECT_EQ(DialogDefaultExt(L"", L"*.lng"), L".lng");
    EXPECT_TRUE(HasFileExtension(L"a.lng"));
    EXPECT_FALSE(HasFileExtension(L"a"));
    EXPECT_FALSE(HasFileExtension(L"C:\\a.b\\c"));  // the dot of a folder is no extension
    EXPECT_FALSE(HasFileExtension(L"a."));
}

TEST(OpenDialogRules, SaveModeSwapsOnlyTheTrailingExtension) {
    const std::pair<std::pair<const wchar_t*, const wchar_t*>, const wchar_t*> cases[] = {
        {{L"song.wav", L".mp3"}, L"song.mp3"},
        {{L"song", L".mp3"}, L"song.mp3"},
        {{L"a.wav.bak", L".mp3"}, L"a.wav.mp3"},
        {{L"my.wav.file.wav", L".mp3"}, L"my.wav.file.mp3"},  // not the first ".wav"
        {{L"", L".mp3"}, L""},
        {{L"a.wav", L""}, L"a.wav"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(SwapSaveExtension(in.first, in.second), out) << in.first;
}

TEST(OpenDialogRules, NewFolderNamesCount) {
    EXPECT_EQ(NewFolderName(L"New Folder", 1), L"New Folder");
    EXPECT_EQ(NewFolderName(L"New Folder", 2), L"New Folder(2)");
    EXPECT_EQ(NewFolderName(L"Новая папка", 3), L"Новая папка(3)");
}

// ---- Windows ----------------------------------------------------------------------------------------------------------

std::wstring TempRoot() {
    wchar_t tmp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tmp);
    return ExcludeTrailingPathDelimiter(tmp);
}

void WriteFile(const std::wstring& path) { std::ofstream(path.c_str(), std::ios::binary) << "RIFF"; }

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd{};
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = path + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

// A fresh folder with files and sub-folders named by the caller ("sub\" ends a folder), removed afterwards.
class TempFolder {
  public:
    explicit TempFolder(std::initializer_list<const wchar_t*> entries) {
        path = TempRoot() + L"\\trelm_open_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter_);
        RemoveTree(path);
        CreateDirectoryW(path.c_str(), nullptr);
        for (const wchar_t* e : entries) {
            std::wstring name = e;
            if (name.back() == L'\\')
                CreateDirectoryW((path + L"\\" + name.substr(0, name.size() - 1)).c_str(), nullptr);
            else
                WriteFile(path + L"\\" + name);
        }
    }
    ~TempFolder() { RemoveTree(path); }
    std::wstring operator/(const std::wstring& name) const { return path + L"\\" + name; }
    std::wstring path;

  private:
    static inline int counter_ = 0;
};

TbsOpenDlgForm* FormOf(HWND w) { return dynamic_cast<TbsOpenDlgForm*>(FindControl(w)); }

TbsSkinFileListView* ListOf(HWND w) { return dynamic_cast<TbsSkinFileListView*>(FindControl(FindByName(w, L"FileListView"))); }

// The names the list shows, in its order.
std::vector<std::wstring> Names(HWND w) {
    std::vector<std::wstring> r;
    TbsSkinFileListView* v = ListOf(w);
    for (int i = 0; v && i < v->FolderCount(); ++i) {
        const std::wstring full = v->Folders(i)->FullObjectName();
        r.push_back(full.empty() ? v->Folders(i)->DisplayName() : ExtractFileName(full));
    }
    return r;
}

std::wstring ShownFolder(HWND w) {
    TbsSkinFileListView* v = ListOf(w);
    return v ? v->Path() : L"";
}

void SelectRow(HWND w, const std::wstring& name) {
    HWND lv = FindByName(w, L"FileListView");
    const auto names = Names(w);
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] != name)
            continue;
        LVITEMW it{};
        it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        it.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(lv, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&it));
    }
}

void Pump() {
    for (int i = 0; i < 6; ++i) {
        Application->ProcessMessages();
        Sleep(10);
    }
}

void TypeName(HWND w, const std::wstring& text) { SetWindowTextW(FindByName(w, L"FileNameEdit"), text.c_str()); }

// Enter in the name edit, as the keyboard gives it.
void EnterInEdit(HWND w) {
    HWND e = FindByName(w, L"FileNameEdit");
    SetFocus(e);
    PostMessageW(e, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(e, WM_CHAR, L'\r', 1);
    PostMessageW(e, WM_KEYUP, VK_RETURN, 0xC0000001);
    Pump();
}

void Press(HWND w, const std::wstring& name) {
    SendMessageW(FindByName(w, name), BM_CLICK, 0, 0);
    Pump();
}

// Picks item i of the filter box as a user would: the box's list, then its change.
void PickFilter(HWND w, int i) {
    auto* box = dynamic_cast<TbsSkinCustomComboBox*>(FindControl(FindByName(w, L"FilterComboBox")));
    ASSERT_NE(box, nullptr);
    box->SetItemIndex(i);
    Pump();
}

SIZE ClientSize(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return SIZE{r.right, r.bottom};
}

void SetClient(HWND w, int cx, int cy) {
    RECT c{}, r{};
    GetClientRect(w, &c);
    GetWindowRect(w, &r);
    SetWindowPos(w, nullptr, 0, 0, (r.right - r.left) - c.right + cx, (r.bottom - r.top) - c.bottom + cy,
                 SWP_NOMOVE | SWP_NOZORDER);
    Pump();
}

std::wstring SpecialFolder(int csidl) {
    wchar_t buf[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, buf);
    return buf;
}

const wchar_t kLangFilter[] = L"Language|*.lng|All files|*.*";

// One program start for the window suite: the shell layer for its whole run.
class OpenDialogWindows : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { unit_ = new TbsShellUnit(); }
    static void TearDownTestSuite() {
        delete unit_;
        unit_ = nullptr;
    }
    static inline TbsShellUnit* unit_ = nullptr;
};

// A test-only save dialog: the save rules belong to the component, switched on through its protected field.
class TestSaveDialog : public TbsSkinOpenDialog {
  public:
    explicit TestSaveDialog(TComponent* owner) : TbsSkinOpenDialog(owner) { FSaveMode = true; }
};

TEST_F(OpenDialogWindows, BuildsTheNamedControlsAndTheDefaultSize) {
    TempFolder dir({L"a.lng"});
    TbsSkinOpenDialog dlg(nullptr);
    dlg.Title = L"Открыть файл языка";
    dlg.InitialDir = dir.path;
    SIZE size{};
    std::vector<std::wstring> missing;
    bool thumbnailItem = false;
    std::wstring hint, folderLabel;
    StepDriver d({{dlg.Title, [&](HWND w) {
                       size = ClientSize(w);
                       for (const wchar_t* n :
                            {L"ToolPanel", L"ShellBox", L"BackToolButton", L"UpToolButton", L"NewFolderToolButton",
                             L"StyleToolButton", L"ButtonsPanel", L"DesktopButton", L"PersonalButton",
                             L"MyComputerButton", L"NetworkButton", L"FileListView", L"FLVHScrollBar",
                             L"FLVVScrollBar", L"BottomPanel", L"FileNameEdit", L"FilterComboBox", L"OpenButton",
                             L"CancelButton"})
                           if (!FindByName(w, n))
                               missing.push_back(n);
                       for (const wchar_t* n : {L"Drivelabel", L"OpenFileLabel", L"FileTypeLabel"})
                           if (!FindWindowless(w, n).found)
                               missing.push_back(n);
                       folderLabel = FindWindowless(w, L"Drivelabel").text;
                       TbsOpenDlgForm* f = FormOf(w);
                       thumbnailItem = f && f->ThumbnailsItem != nullptr;
                       hint = f ? f->UpToolButton->Hint() : L"";
                       Shot(w, L"open_dialog");
                       Click(w, L"CancelButton");
                   }}});
    EXPECT_FALSE(dlg.Execute());
    ASSERT_EQ(d.done(), 1u);
    EXPECT_EQ(size.cx, 700);
    EXPECT_EQ(size.cy, 350);
    EXPECT_TRUE(missing.empty()) << missing.front();
    EXPECT_EQ(folderLabel, L"Folder:  ");
    EXPECT_EQ(hint, L"Up One Level");
    EXPECT_TRUE(thumbnailItem);  // Wine reports a system after Vista
}

TEST_F(OpenDialogWindows, FilterListsFoldersAndMatchesAndCancelKeepsTheName) {
    TempFolder dir({L"a.lng", L"b.txt", L"Папка\\"});
    TbsSkinOpenDialog dlg(nullptr);
    dlg.Filter = kLangFilter;
    dlg.InitialDir = dir.path;
    dlg.FileName = L"keep.lng";
    std::vector<std::wstring> langOnly, all;
    StepDriver d({{L"Open file", [&](HWND w) {
                       langOnly = Names(w);
                       PickFilter(w, 1);
                       all = Names(w);
                       Click(w, L"CancelButton");
                   }}});
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(langOnly, (std::vector<std::wstring>{L"Папка", L"a.lng"}));
    EXPECT_EQ(all, (std::vector<std::wstring>{L"Папка", L"a.lng", L"b.txt"}));
    EXPECT_EQ(dlg.FilterIndex, 2);
    EXPECT_EQ(dlg.FileName, L"keep.lng");
}

TEST_F(OpenDialogWindows, TypedNamesFollowTheOkRules) {
    TempFolder dir({L"a.lng", L"c.txt", L"sub\\", L"sub\\d.txt", L"sub\\e.lng"});
    TbsSkinOpenDialog dlg(nullptr);
    dlg.Filter = kLangFilter;
    dlg.InitialDir = dir.path;
    bool zzStaysOpen = false;
    std::wstring zzFileName = L"unset";
    std::vector<std::wstring> masked, inSub;
    std::wstring subFolder;
    StepDriver d({{L"Open file",
                   [&](HWND w) {
                       TypeName(w, L"zz");
                       Press(w, L"OpenButton");
                       zzStaysOpen = IsWindowVisible(w) && FormOf(w)->ModalResult() == mrNone;
                       zzFileName = FormOf(w)->FileName;
                       TypeName(w, L"*.txt");
                       EnterInEdit(w);
                       masked = Names(w);
                       TypeName(w, dir / L"sub");
                       EnterInEdit(w);
                       subFolder = ShownFolder(w);
                       inSub = Names(w);
                       Press(w, L"BackToolButton");
                       TypeName(w, L"a");
                       EnterInEdit(w);
                   }}});
    EXPECT_TRUE(dlg.Execute());
    EXPECT_TRUE(zzStaysOpen);
    EXPECT_EQ(zzFileName, L"");
    EXPECT_EQ(masked, (std::vector<std::wstring>{L"sub", L"c.txt"}));
    EXPECT_EQ(subFolder, dir / L"sub");
    EXPECT_EQ(inSub, (std::vector<std::wstring>{L"d.txt"}));  // the typed mask holds in the next folder
    EXPECT_EQ(dlg.FileName, dir / L"a.lng");
}

TEST_F(OpenDialogWindows, NewFolderTwiceCountsAndEditsTheName) {
    TempFolder dir({L"a.lng"});
    TbsSkinOpenDialog dlg(nullptr);
    dlg.InitialDir = dir.path;
    bool editing1 = false, editing2 = false;
    std::wstring edited1, edited2;
    auto editText = [](HWND w) {
        HWND e = reinterpret_cast<HWND>(SendMessageW(FindByName(w, L"FileListView"), LVM_GETEDITCONTROL, 0, 0));
        return e ? TextOf(e) : std::wstring(L"<none>");
    };
    StepDriver d({{L"Open file",
                   [&](HWND w) {
                       Press(w, L"NewFolderToolButton");
                       edited1 = editText(w);
                       editing1 = edited1 != L"<none>";
                       SendMessageW(FindByName(w, L"FileListView"), LVM_CANCELEDITLABEL, 0, 0);
                       Pump();
                       Press(w, L"NewFolderToolButton");
                       edited2 = editText(w);
                       editing2 = edited2 != L"<none>";
                       SendMessageW(FindByName(w, L"FileListView"), LVM_CANCELEDITLABEL, 0, 0);
                       Pump();
                       Click(w, L"CancelButton");
                   }}});
    dlg.Execute();
    EXPECT_TRUE(DirectoryExists(dir / L"New Folder"));
    EXPECT_TRUE(DirectoryExists(dir / L"New Folder(2)"));
    EXPECT_TRUE(editing1);
    EXPECT_TRUE(editing2);
    EXPECT_EQ(edited1, L"New Folder");
    EXPECT_EQ(edited2, L"New Folder(2)");
}

TEST_F(OpenDialogWindows, BackWalksTheHistory) {
    TempFolder dir({L"A\\", L"B\\", L"C\\", L"D\\"});
    TbsSkinOpenDialog dlg(nullptr);
    dlg.InitialDir = dir.path;
    std::vector<std::wstring> seen;
    StepDriver d({{L"Open file", [&](HWND w) {
                       TbsSkinFileListView* v = ListOf(w);
                       for (const wchar_t* f : {L"A", L"B", L"C"})
                           v->SetPath(dir / f);
                       Press(w, L"BackToolButton");
                       seen.push_back(ShownFolder(w));
                       Press(w, L"BackToolButton");
                       seen.push_back(ShownFolder(w));
                       v->SetPath(dir / L"D");
                       Press(w, L"BackToolButton");
                       seen.push_back(ShownFolder(w));
                       Press(w, L"UpToolButton");
                       seen.push_back(ShownFolder(w));
                       Press(w, L"BackToolButton");
                       seen.push_back(ShownFolder(w));
                       Click(w, L"CancelButton");
                   }}});
    dlg.Execute();
    EXPECT_EQ(seen, (std::vector<std::wstring>{dir / L"B", dir / L"A", dir / L"A", dir.path, dir / L"A"}));
}

TEST_F(OpenDialogWindows, StartFolderFromFileNameThenInitialDirThenProgram) {
    TempFolder dir({L"x\\", L"y\\"});
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    struct Case {
        std::wstring fileName, initialDir, expected;
    };
    const Case cases[] = {
        {dir / L"x\\a.lng", dir / L"y", dir / L"x"},
        {L"a.lng", dir / L"y", dir / L"y"},
        {dir / L"missing\\a.lng", dir / L"y", dir / L"y"},
        {L"a.lng", dir / L"missing", ExtractFileDir(exe)},
    };
    for (const Case& c : cases) {
        TbsSkinOpenDialog dlg(nullptr);
        dlg.FileName = c.fileName;
        dlg.InitialDir = c.initialDir;
        std::wstring shown, name;
        StepDriver d({{L"Open file", [&](HWND w) {
                           shown = ShownFolder(w);
                           name = TextOf(FindByName(w, L"FileNameEdit"));
                           Click(w, L"CancelButton");
                       }}});
        dlg.Execute();
        EXPECT_TRUE(SameText(shown, c.expected)) << shown << L" for " << c.fileName;
        EXPECT_EQ(name, L"a.lng");
    }
}

TEST_F(OpenDialogWindows, ShortcutButtonsShowDesktopAndDocuments) {
    TempFolder dir({L"a.lng"});
    TbsSkinOpenDialog dlg(nullptr);
    dlg.InitialDir = dir.path;
    int desktopItems = -1;
    std::wstring documents, boxText, caption;
    StepDriver d({{L"Open file", [&](HWND w) {
                       Press(w, L"DesktopButton");
                       desktopItems = ItemIDCount(ListOf(w)->RootFolder()->AbsoluteID());
                       Press(w, L"PersonalButton");
                       documents = ShownFolder(w);
                       boxText = TextOf(FindByName(w, L"ShellBox"));
                       caption = TextOf(FindByName(w, L"PersonalButton"));
                       Shot(w, L"open_dialog_documents");
                       Click(w, L"CancelButton");
                   }}});
    dlg.Execute();
    EXPECT_EQ(desktopItems, 0);  // the desktop's own list is empty
    // Wine gives its Documents folder with a trailing "\".
    EXPECT_TRUE(SameText(ExcludeTrailingPathDelimiter(documents), SpecialFolder(CSIDL_PERSONAL))) << documents;
    EXPECT_EQ(boxText, ExtractFileName(SpecialFolder(CSIDL_PERSONAL)));
    EXPECT_FALSE(caption.empty());
}

TEST_F(OpenDialogWindows, ViewMenuStylesAreStored) {
    TempFolder dir({L"a.lng"});
    TbsSkinOpenDialog dlg(nullptr);
    dlg.InitialDir = dir.path;
    LONG_PTR style = 0;
    StepDriver d({{L"Open file", [&](HWND w) {
                       FormOf(w)->ReportMenuItem->Click();
                       style = GetWindowLongPtrW(FindByName(w, L"FileListView"), GWL_STYLE) & LVS_TYPEMASK;
                       Shot(w, L"open_dialog_details");
                       SelectRow(w, L"a.lng");
                       Click(w, L"OpenButton");
                   }}});
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(style, LVS_REPORT);
    EXPECT_EQ(dlg.ListViewStyle, bsvsReport);

    bool checked = false;
    StepDriver d2({{L"Open file", [&](HWND w) {
                        checked = FormOf(w)->ReportMenuItem->Checked();
                        FormOf(w)->BigThumbnailsItem->Click();
                        Shot(w, L"open_dialog_thumbnails");
                        Click(w, L"CancelButton");
                    }}});
    EXPECT_FALSE(dlg.Execute());
    EXPECT_TRUE(checked);  // the stored style comes back
    EXPECT_EQ(dlg.ListViewStyle, bsvsBigThumbnails);
}

TEST_F(OpenDialogWindows, SaveModeAsksBeforeOverwritingAndAddsTheExtension) {
    TempFolder dir({L"a.lng"});
    TestSaveDialog dlg(nullptr);
    dlg.Filter = kLangFilter;
    dlg.InitialDir = dir.path;
    dlg.OverwritePromt = true;
    bool asked = false, stayed = false;
    std::wstring button;
    StepDriver d({{L"Open file", [&](HWND w) {
                       button = TextOf(FindByName(w, L"OpenButton"));
                       TypeName(w, L"a");
                       Click(w, L"OpenButton");
                   }},
                  {L"Warning", [&](HWND w) {
                       asked = true;
                       Click(w, L"Cancel");
                   }},
                  {L"Open file", [&](HWND w) {
                       stayed = FormOf(w)->ModalResult() == mrNone;
                       Click(w, L"OpenButton");
                   }},
                  {L"Warning", [&](HWND w) { Click(w, L"OK"); }}});
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(d.done(), 4u);
    EXPECT_EQ(button, L"&Save");
    EXPECT_TRUE(asked);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(dlg.FileName, dir / L"a.lng");

    // A new name needs no question and gets the filter's extension.
    StepDriver d2({{L"Open file", [&](HWND w) {
                        TypeName(w, L"fresh");
                        Click(w, L"OpenButton");
                    }}});
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.FileName, dir / L"fresh.lng");
}

TEST_F(OpenDialogWindows, SoundDialogPlaysStopsAndRemembersItsSize) {
    TempFolder dir({L"a.wav", L"b.wav", L"Звуки\\"});
    TbsSkinOpenSoundDialog dlg(nullptr);
    dlg.Title = L"Открыть фаил звука";
    dlg.Filter = L"WAV|*.wav|All files|*.*";
    dlg.FileName = dir / L"b.wav";
    TObject* playSender = nullptr;
    TObject* playButton = nullptr;
    std::wstring selectedDuringPlay;
    std::vector<TObject*> stops;
    dlg.OnPlayButtonClick = [&](TObject* s) {
        playSender = s;
        selectedDuringPlay = dlg.GetSelectedFile();
    };
    dlg.OnStopButtonClick = [&](TObject* s) { stops.push_back(s); };
    SIZE start{}, dragged{};
    bool glyph = false;
    StepDriver d({{dlg.Title, [&](HWND w) {
                       start = ClientSize(w);
                       auto* f = dynamic_cast<TbsOpenSoundDlgForm*>(FormOf(w));
                       glyph = f && !f->PlayButton->Glyph()->Empty();
                       Shot(w, L"sound_dialog");
                       SelectRow(w, L"a.wav");
                       HWND play = FindByName(w, L"PlayButton");
                       playButton = FindControl(play);
                       Press(w, L"PlayButton");
                       SetClient(w, 300, 200);
                       dragged = ClientSize(w);
                       SetClient(w, 800, 500);
                       Shot(w, L"sound_dialog_800x500");
                       Click(w, L"CancelButton");
                   }}});
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(start.cx, 630);
    EXPECT_EQ(start.cy, 400);
    EXPECT_TRUE(glyph);
    EXPECT_EQ(playSender, playButton);
    EXPECT_EQ(selectedDuringPlay, dir / L"a.wav");
    EXPECT_EQ(dragged.cx, 550);
    EXPECT_EQ(dragged.cy, 360);
    EXPECT_EQ(dlg.DialogWidth, 800);
    EXPECT_EQ(dlg.DialogHeight, 500);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0], &dlg);
    EXPECT_EQ(dlg.FileName, dir / L"b.wav");

    // The next run opens at the stored size; OK stops once more and returns the file.
    SIZE again{};
    StepDriver d2({{dlg.Title, [&](HWND w) {
                        again = ClientSize(w);
                        SelectRow(w, L"a.wav");
                        Click(w, L"OpenButton");
                    }}});
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(again.cx, 800);
    EXPECT_EQ(again.cy, 500);
    ASSERT_EQ(stops.size(), 2u);
    EXPECT_EQ(stops[1], &dlg);
    EXPECT_EQ(dlg.FileName, dir / L"a.wav");
    EXPECT_EQ(dlg.GetSelectedFile(), L"");
}

// A skin's panel keeps a caption band above its client part; the caption-less frame around the list does not show
// it as an empty strip: the list sits as far from the frame's top as from its bottom.
TEST_F(OpenDialogWindows, TheListSitsInItsFrameWithoutAStripInSkins) {
    TempFolder dir({L"a.wav"});
    for (const wchar_t* skin : {L"23_Trelm_Graphite", L"81_Trelm_Blue", L"43_Office_2010_Black"}) {
        SCOPED_TRACE(skin);
        TbsSkinData data(nullptr);
        data.LoadFromFile(skintest::SetSkin(skin));
        ASSERT_FALSE(data.Empty);
        TbsSkinOpenDialog dlg(nullptr);
        dlg.InitialDir = dir.path;
        dlg.SetCtrlSkinData(&data);
        dlg.ListViewStyle = bsvsList;
        int top = -1, bottom = -1;
        StepDriver d({{L"Open file", [&](HWND w) {
                           HWND list = FindByName(w, L"FileListView");
                           RECT r{}, panel{};
                           GetWindowRect(list, &r);
                           GetWindowRect(GetParent(list), &panel);
                           top = r.top - panel.top;
                           bottom = panel.bottom - r.bottom;
                           Click(w, L"CancelButton");
                       }}});
        dlg.Execute();
        ASSERT_EQ(d.done(), 1u);
        EXPECT_GE(top, 0);
        EXPECT_LE(top, bottom);
    }
}

TEST_F(OpenDialogWindows, ToolBarImagesReplaceTheBuiltInPictures) {
    TempFolder dir({L"a.wav"});
    TCustomImageList images(nullptr, 16, 16);
    for (int i = 0; i < 6; ++i) {
        TBitmap b(16, 16, pf24bit);
        b.Canvas()->Brush()->SetColor(RGB(40 * i, 0, 0));
        b.Canvas()->FillRect(TRect{0, 0, 16, 16});
        images.Add(&b, nullptr);
    }
    TbsSkinOpenSoundDialog dlg(nullptr);
    dlg.InitialDir = dir.path;
    dlg.SetToolBarImageList(&images);
    std::vector<int> indexes;
    std::vector<TCustomImageList*> lists;
    StepDriver d({{L"Open sound", [&](HWND w) {
                       auto* f = dynamic_cast<TbsOpenSoundDlgForm*>(FormOf(w));
                       ASSERT_NE(f, nullptr);
                       for (TbsSkinButton* b : {f->BackToolButton, f->PlayButton, f->StopButton}) {
                           indexes.push_back(b->ImageIndex());
                           lists.push_back(b->ImageList());
                       }
                       Click(w, L"CancelButton");
                   }}});
    dlg.Execute();
    EXPECT_EQ(indexes, (std::vector<int>{0, 4, 5}));
    EXPECT_EQ(lists, (std::vector<TCustomImageList*>{&images, &images, &images}));
}

}  // namespace
