// The open and sound-file windows on real windows: the folder's sub-folders and matching files, the file name rules,
// the play and stop handlers, and the size, filter and view style they remember.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <string>
#include <vector>

#include "skin/dialogs/OpenSoundDialog.h"
#include "tests/skin/dialogs/DialogTestUtil.h"

namespace {

// A fresh folder with a.wav, b.wav, c.txt, a hidden h.wav and a sub-folder "Звуки" holding d.wav.
class SoundFolder {
  public:
    SoundFolder() {
        wchar_t tmp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, tmp);
        path = std::wstring(tmp) + L"trelm_sounds_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
               std::to_wstring(++counter_);
        CreateDirectoryW(path.c_str(), nullptr);
        CreateDirectoryW((path + L"\\Звуки").c_str(), nullptr);
        for (const wchar_t* f : {L"a.wav", L"b.wav", L"c.txt", L"h.wav", L"Звуки\\d.wav"})
            std::ofstream((path + L"\\" + f).c_str(), std::ios::binary) << "RIFF";
        SetFileAttributesW((path + L"\\h.wav").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    ~SoundFolder() {
        for (const wchar_t* f : {L"a.wav", L"b.wav", L"c.txt", L"h.wav", L"Звуки\\d.wav"}) {
            SetFileAttributesW((path + L"\\" + f).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW((path + L"\\" + f).c_str());
        }
        RemoveDirectoryW((path + L"\\Звуки").c_str());
        RemoveDirectoryW(path.c_str());
    }
    std::wstring path;

  private:
    static inline int counter_ = 0;
};

std::vector<std::wstring> ListItems(HWND lv) {
    std::vector<std::wstring> r;
    const int n = static_cast<int>(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t buf[260] = {};
        LVITEMW it{};
        it.iSubItem = 0;
        it.pszText = buf;
        it.cchTextMax = 260;
        SendMessageW(lv, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
        r.push_back(buf);
    }
    return r;
}

int RowOf(HWND lv, const std::wstring& text) {
    const auto items = ListItems(lv);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == text)
            return static_cast<int>(i);
    return -1;
}

void SelectRow(HWND lv, int i) {
    LVITEMW it{};
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    it.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
}

// Picks item i of a combo box as a user would.
void PickCombo(HWND cb, int i) {
    SendMessageW(cb, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    SendMessageW(GetParent(cb), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(cb), CBN_SELCHANGE), reinterpret_cast<LPARAM>(cb));
}

void TypeName(HWND top, const std::wstring& text) {
    SetWindowTextW(FindByName(top, L"FileNameEdit"), text.c_str());
}

SIZE ClientSize(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return SIZE{r.right, r.bottom};
}

const wchar_t kFilter[] = L"Звуки (*.wav)|*.wav|Все файлы|*.*";

TEST(OpenSoundDialog, ListsTheFolderPlaysTheSelectionAndRemembersTheWindow) {
    SoundFolder dir;
    TbsSkinOpenSoundDialog dlg(nullptr);
    dlg.Title = L"Открыть фаил звука";
    dlg.Filter = kFilter;
    dlg.FileName = dir.path + L"\\b.wav";
    std::vector<std::wstring> items;
    std::wstring folder, name, selectedDuringPlay;
    TObject* playSender = nullptr;
    std::vector<TObject*> stopSenders;
    TObject* playButton = nullptr;
    LONG_PTR reportStyle = 0;
    SIZE start{}, resized{};
    dlg.OnPlayButtonClick = [&](TObject* s) {
        playSender = s;
        selectedDuringPlay = dlg.GetSelectedFile();
    };
    dlg.OnStopButtonClick = [&](TObject* s) { stopSenders.push_back(s); };
    ModalDriver d(L"Открыть фаил звука", [&](HWND w) {
        start = ClientSize(w);
        HWND lv = FindByName(w, L"FileListView");
        items = ListItems(lv);
        folder = TextOf(FindByName(w, L"FolderEdit"));
        name = TextOf(FindByName(w, L"FileNameEdit"));
        Shot(w, L"sound_dialog");
        SelectRow(lv, RowOf(lv, L"a.wav"));
        HWND play = FindByName(w, L"PlayButton");
        playButton = FindControl(play);
        SendMessageW(play, BM_CLICK, 0, 0);
        SendMessageW(FindByName(w, L"StopButton"), BM_CLICK, 0, 0);
        PickCombo(FindByName(w, L"StyleComboBox"), 3);
        reportStyle = GetWindowLongPtrW(lv, GWL_STYLE) & LVS_TYPEMASK;
        RECT r{};
        GetWindowRect(w, &r);
        SetWindowPos(w, nullptr, 0, 0, r.right - r.left + 60, r.bottom - r.top + 40, SWP_NOMOVE | SWP_NOZORDER);
        resized = ClientSize(w);
        Shot(w, L"sound_dialog_details");
        Click(w, L"OpenButton");
    });
    EXPECT_TRUE(dlg.Execute());
    ASSERT_TRUE(d.ran());
    EXPECT_EQ(start.cx, 630);
    EXPECT_EQ(start.cy, 400);
    EXPECT_EQ(folder, dir.path);
    EXPECT_EQ(name, L"b.wav");
    EXPECT_EQ(items, (std::vector<std::wstring>{L"Звуки", L"a.wav", L"b.wav"}));  // folders first; no c.txt, no h.wav
    EXPECT_EQ(playSender, playButton);
    EXPECT_EQ(selectedDuringPlay, dir.path + L"\\a.wav");
    EXPECT_EQ(reportStyle, LVS_REPORT);
    EXPECT_EQ(dlg.FileName, dir.path + L"\\a.wav");
    EXPECT_EQ(dlg.Files()->Count(), 1);
    EXPECT_EQ(dlg.ListViewStyle, bsvsReport);
    EXPECT_EQ(dlg.DialogWidth, resized.cx);
    EXPECT_EQ(dlg.DialogHeight, resized.cy);
    EXPECT_EQ(dlg.FilterIndex, 1);
    // Stop ran once from its button and once after the window closed, then with the dialog as sender.
    ASSERT_EQ(stopSenders.size(), 2u);
    EXPECT_EQ(stopSenders[1], &dlg);
    EXPECT_EQ(dlg.GetSelectedFile(), L"");
}

TEST(OpenSoundDialog, CancelKeepsTheNameButStoresSizeFilterAndStyle) {
    SoundFolder dir;
    TbsSkinOpenSoundDialog dlg(nullptr);
    dlg.Filter = kFilter;
    dlg.InitialDir = dir.path;
    dlg.FileName = L"keep.wav";
    dlg.DialogWidth = 100;  // below the minimum
    dlg.DialogHeight = 50;
    dlg.ListViewStyle = bsvsBigThumbnails;
    int stops = 0;
    dlg.OnStopButtonClick = [&](TObject*) { ++stops; };
    SIZE start{};
    int styleShown = -1;
    std::vector<std::wstring> all;
    ModalDriver d(L"Open sound", [&](HWND w) {
        start = ClientSize(w);
        styleShown = static_cast<int>(SendMessageW(FindByName(w, L"StyleComboBox"), CB_GETCURSEL, 0, 0));
        PickCombo(FindByName(w, L"FilterComboBox"), 1);
        all = ListItems(FindByName(w, L"FileListView"));
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(GetFocus(), WM_KEYUP, VK_ESCAPE, 0);
    });
    EXPECT_FALSE(dlg.Execute());
    ASSERT_TRUE(d.ran());
    EXPECT_EQ(start.cx, 550);
    EXPECT_EQ(start.cy, 360);
    EXPECT_EQ(styleShown, static_cast<int>(bsvsBigThumbnails));
    EXPECT_EQ(all, (std::vector<std::wstring>{L"Звуки", L"a.wav", L"b.wav", L"c.txt"}));
    EXPECT_EQ(dlg.FileName, L"keep.wav");
    EXPECT_EQ(dlg.FilterIndex, 2);
    EXPECT_EQ(dlg.DialogWidth, 550);
    EXPECT_EQ(dlg.ListViewStyle, bsvsBigThumbnails);
    EXPECT_EQ(stops, 1);
}

TEST(OpenSoundDialog, TypedNamesFollowTheOpenRules) {
    SoundFolder dir;
    TbsSkinOpenSoundDialog dlg(nullptr);
    dlg.Filter = kFilter;
    dlg.InitialDir = dir.path;
    std::vector<std::wstring> inSub;
    bool stayedOpen = false;
    std::wstring folderAfterUp;
    ModalDriver d(L"Open sound", [&](HWND w) {
        HWND lv = FindByName(w, L"FileListView");
        // A missing file keeps the window open.
        TypeName(w, L"missing");
        SendMessageW(FindByName(w, L"OpenButton"), BM_CLICK, 0, 0);
        stayedOpen = IsWindowVisible(w) != FALSE;
        // A folder's name opens it; Up goes back.
        TypeName(w, L"Звуки");
        SendMessageW(FindByName(w, L"OpenButton"), BM_CLICK, 0, 0);
        inSub = ListItems(lv);
        SendMessageW(FindByName(w, L"UpButton"), BM_CLICK, 0, 0);
        folderAfterUp = TextOf(FindByName(w, L"FolderEdit"));
        // A name without extension gets the filter's.
        TypeName(w, L"b");
        Click(w, L"OpenButton");
    });
    EXPECT_TRUE(dlg.Execute());
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(inSub, (std::vector<std::wstring>{L"d.wav"}));
    EXPECT_EQ(folderAfterUp, dir.path);
    EXPECT_EQ(dlg.FileName, dir.path + L"\\b.wav");
}

TEST(OpenDialog, OpensWithoutPreviewRowReportsFolderChangesAndReturnsTheSelection) {
    SoundFolder dir;
    TbsSkinOpenDialog dlg(nullptr);
    dlg.Title = L"Открыть файл языка";
    dlg.Filter = L"Language|*.lng|All files|*.*";
    dlg.FilterIndex = 2;
    dlg.InitialDir = dir.path;
    dlg.MultiSelection = true;
    std::vector<TObject*> folderChanges;
    dlg.OnFolderChange = [&](TObject* s) { folderChanges.push_back(s); };
    int changes = 0;
    dlg.OnChange = [&](TObject*) { ++changes; };
    SIZE start{};
    bool play = true;
    ModalDriver d(L"Открыть файл языка", [&](HWND w) {
        start = ClientSize(w);
        play = FindByName(w, L"PlayButton") != nullptr;
        HWND lv = FindByName(w, L"FileListView");
        Shot(w, L"open_dialog");
        SelectRow(lv, RowOf(lv, L"a.wav"));
        SelectRow(lv, RowOf(lv, L"c.txt"));
        Click(w, L"OpenButton");
    });
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(start.cx, 700);
    EXPECT_EQ(start.cy, 350);
    EXPECT_FALSE(play);
    ASSERT_EQ(folderChanges.size(), 1u);  // the start folder
    EXPECT_NE(folderChanges[0], &dlg);    // the window is the sender
    EXPECT_EQ(dlg.FileName, dir.path + L"\\c.txt");
    ASSERT_EQ(dlg.Files()->Count(), 2);
    EXPECT_EQ(dlg.Files()->Strings(0), dir.path + L"\\a.wav");
    EXPECT_EQ(changes, 1);
}

}  // namespace
