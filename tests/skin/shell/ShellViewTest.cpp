// The shell list view and the shell combo box on real windows under Wine, over a real folder holding a.lng, b.txt
// and sub: the mask, the order, column sorts, navigation by keys, Refresh, the selected files, the "open" verb's
// current folder, and the combo box's entries and its link to the list.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ShellTestUnit.h"
#include "TestFiles.h"
#include "WindowTestUtil.h"
#include "classlib/Forms.h"
#include "skin/controls/ControlSeam.h"
#include "skin/shell/ShellComboBox.h"
#include "skin/core/SkinUtils.h"
#include "skin/shell/ShellListView.h"

namespace {

const auto* const kUnit = ::testing::AddGlobalTestEnvironment(new ShellUnitEnvironment);

void Pump() {
    MSG m;
    for (int i = 0; i < 200 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void PutFile(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(h, "xyz", 3, &written, nullptr);
    CloseHandle(h);
}

LPITEMIDLIST ParsePath(const std::wstring& path) {
    LPITEMIDLIST pidl = nullptr;
    SHParseDisplayName(path.c_str(), nullptr, &pidl, 0, nullptr);
    return pidl;
}

class ShellViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateDirectoryW(dir_.File(L"sub").c_str(), nullptr);
        PutFile(dir_.File(L"b.txt"));
        PutFile(dir_.File(L"a.lng"));
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 500, 400);
        view_ = new TbsSkinFileListView(form_.get());
        view_->SetParent(form_.get());
        view_->SetBounds(0, 40, 480, 300);
        view_->SetViewStyle(vsReport);
        view_->OnPathChanged = [this](TObject*) { ++pathChanges_; };
        view_->HandleNeeded();
        view_->SetPath(dir_.Path());
        Pump();
    }
    std::vector<std::wstring> Names() {
        std::vector<std::wstring> names;
        for (int i = 0; i < view_->FolderCount(); ++i)
            names.push_back(view_->Folders(i)->DisplayName());
        return names;
    }
    void Key(WORD key) {
        SendMessageW(view_->Handle(), WM_KEYDOWN, key, 0);
        SendMessageW(view_->Handle(), WM_KEYUP, key, 0);
        Pump();
    }

    trelm_test::TTempDir dir_;
    std::unique_ptr<TForm> form_;
    TbsSkinFileListView* view_ = nullptr;
    int pathChanges_ = 0;
};

using TNames = std::vector<std::wstring>;

int IndexOfLast(TbsCustomShellComboBox* combo, const std::wstring& caption) {
    for (int i = combo->ItemExCount() - 1; i >= 0; --i)
        if (_wcsicmp(combo->ItemEx(i).Caption.c_str(), caption.c_str()) == 0)
            return i;
    return -1;
}

TEST_F(ShellViewTest, TheMaskChoosesTheFilesAndFoldersComeFirst) {
    EXPECT_EQ(view_->Path(), dir_.Path());
    EXPECT_EQ(view_->Mask(), L"*.*|*.*");
    EXPECT_EQ(Names(), (TNames{L"sub", L"a.lng", L"b.txt"}));
    EXPECT_EQ(view_->Items()->Count(), 3);
    view_->SetMask(L"Language|*.lng");
    EXPECT_EQ(Names(), (TNames{L"sub", L"a.lng"}));
    view_->SetMask(L"*");
    EXPECT_EQ(Names(), (TNames{L"sub", L"a.lng", L"b.txt"}));
    view_->SetMask(L"");
    EXPECT_EQ(Names(), (TNames{L"sub"}));
    EXPECT_EQ(view_->Items()->Count(), 1);
}

// The list style's column: wide enough for the widest name in pixels, which a longer name of narrow letters is not.
TEST_F(ShellViewTest, TheListColumnFitsTheWidestName) {
    const std::wstring wide = L"Новое письмо.wav", narrow = L"iiiiiiiiiiiiiiiiiiiiiiii.txt";
    PutFile(dir_.File(wide));
    PutFile(dir_.File(narrow));
    view_->SetViewStyle(vsList);
    view_->Refresh();
    Pump();
    const int column = static_cast<int>(SendMessageW(view_->Handle(), LVM_GETCOLUMNWIDTH, 0, 0));
    auto width = [this](const std::wstring& s) {
        return static_cast<int>(SendMessageW(view_->Handle(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(s.c_str())));
    };
    ASSERT_GT(width(wide), width(narrow));
    EXPECT_GE(column, width(wide) + GetSystemMetrics(SM_CXSMICON) + 4);
}

TEST_F(ShellViewTest, ReportColumnsAndAColumnClickedTwiceReverses) {
    ASSERT_GE(view_->Columns()->Count(), 1);
    // The shell's own columns, or the file-system four: a name column first and the size after it.
    ASSERT_GE(view_->Columns()->Count(), 4);
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(view_->Handle())), view_->Columns()->Count());
    EXPECT_GT(view_->Columns()->Items(0)->Width(), 0);
    EXPECT_EQ(view_->Columns()->Items(1)->Alignment(), taRightJustify);
    wchar_t size[32] = {};
    ListView_GetItemText(view_->Handle(), 1, 1, size, 32);  // a.lng, three bytes
    EXPECT_STRNE(size, L"");
    // The name column: ascending puts the folder first, the second click reverses the whole order.
    ListView_SetItemState(view_->Handle(), -1, 0, LVIS_SELECTED);
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = view_->Handle();
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = 0;
    SendMessageW(form_->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(view_->SortColumn(), 0);
    EXPECT_FALSE(view_->SortDescending());
    EXPECT_EQ(Names(), (TNames{L"sub", L"a.lng", L"b.txt"}));
    SendMessageW(form_->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_TRUE(view_->SortDescending());
    EXPECT_EQ(Names(), (TNames{L"b.txt", L"a.lng", L"sub"}));
    // The rows show the nodes in their new order.
    wchar_t text[64] = {};
    ListView_GetItemText(view_->Handle(), 0, 0, text, 64);
    EXPECT_STREQ(text, L"b.txt");
}

TEST_F(ShellViewTest, KeysNavigateAndRefreshKeepsTheIndex) {
    pathChanges_ = 0;
    view_->SetItemIndex(0);  // sub
    Key(VK_RETURN);
    EXPECT_EQ(view_->Path(), dir_.File(L"sub"));
    EXPECT_EQ(view_->FolderCount(), 0);
    Key(VK_BACK);
    EXPECT_EQ(view_->Path(), dir_.Path());
    EXPECT_EQ(pathChanges_, 2);
    PutFile(dir_.File(L"c.lng"));
    Key(VK_F5);
    EXPECT_EQ(Names(), (TNames{L"sub", L"a.lng", L"b.txt", L"c.lng"}));
    view_->SetItemIndex(3);
    view_->Refresh();
    EXPECT_EQ(view_->ItemIndex(), 3);
    EXPECT_EQ(view_->FolderCount(), 4);
}

TEST_F(ShellViewTest, SelectedFilesAreFilesInItemOrder) {
    view_->SetMultiSelect(true);
    for (int i = 0; i < 3; ++i)
        ListView_SetItemState(view_->Handle(), i, LVIS_SELECTED, LVIS_SELECTED);
    auto files = std::make_unique<TStringList>();
    files->Add(L"old");
    view_->GetSelectedFiles(files.get());
    ASSERT_EQ(files->Count(), 2);
    EXPECT_EQ(files->Get(0), dir_.File(L"a.lng"));
    EXPECT_EQ(files->Get(1), dir_.File(L"b.txt"));
    ListView_SetItemState(view_->Handle(), -1, 0, LVIS_SELECTED);
    ListView_SetItemState(view_->Handle(), 0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(view_->GetSelectedFile(), L"");
}

TEST_F(ShellViewTest, BackAtTheDesktopStaysThereAndABadPathKeepsTheFolder) {
    EXPECT_THROW(view_->SetPath(L""), EInvalidPath);
    EXPECT_EQ(view_->Path(), dir_.Path());
    TbsPidl desktop(DesktopPIDL());
    view_->SetPathFromID(desktop.get());
    ASSERT_NE(view_->RootFolder(), nullptr);
    EXPECT_EQ(ItemIDCount(view_->RootFolder()->AbsoluteID()), 0);
    pathChanges_ = 0;
    view_->Back();
    EXPECT_EQ(ItemIDCount(view_->RootFolder()->AbsoluteID()), 0);
    EXPECT_EQ(pathChanges_, 0);
}

TEST_F(ShellViewTest, AFailedOpenVerbLeavesTheCurrentFolderAsItWas) {
    wchar_t before[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    view_->SetItemIndex(1);  // a.lng
    bool handled = false;
    view_->ExecuteCommand(L"open", handled);
    EXPECT_FALSE(handled);
    wchar_t during[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH, during);
    EXPECT_EQ(std::wstring(during), dir_.Path());
    view_->CommandCompleted(L"open", false);
    wchar_t after[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_STREQ(after, before);
    // rename is the view's own: it starts editing the caption.
    view_->ExecuteCommand(L"RENAME", handled);
    EXPECT_TRUE(handled);
    HWND edit = reinterpret_cast<HWND>(SendMessageW(view_->Handle(), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextW(edit, L"z.lng");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_NE(GetFileAttributesW(dir_.File(L"z.lng").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ShellViewTest, TheComboBoxShowsTheChainAndMovesTheListOnce) {
    auto* combo = new TbsSkinShellComboBox(form_.get());
    combo->SetParent(form_.get());
    combo->SetBounds(0, 0, 300, 22);
    combo->HandleNeeded();
    // Under the desktop root the drives are indented below the computer.
    int computer = -1, drive = -1;
    for (int i = 0; i < combo->ItemExCount(); ++i) {
        const std::wstring& c = combo->ItemEx(i).Caption;
        if (c.find(L"(C:)") != std::wstring::npos)
            drive = i;
        if (combo->ItemEx(i).Indent == 1 && drive < 0 && i + 1 < combo->ItemExCount() &&
            combo->ItemEx(i + 1).Indent == 2)
            computer = i;
    }
    ASSERT_GE(drive, 0);
    ASSERT_GE(computer, 0);
    EXPECT_LT(computer, drive);
    EXPECT_EQ(combo->ItemEx(drive).Indent, 2);
    EXPECT_EQ(combo->Items()->Count(), combo->ItemExCount());

    const int before = combo->ItemExCount();
    TbsPidl system32(ParsePath(L"C:\\windows\\system32"));
    ASSERT_TRUE(system32);
    combo->SetPathFromID(system32.get());
    EXPECT_EQ(combo->ItemExCount(), before + 2);
    EXPECT_EQ(combo->ItemIndex(), IndexOfLast(combo, L"system32"));
    EXPECT_EQ(combo->ItemEx(combo->ItemIndex()).Indent, 4);
    EXPECT_EQ(_wcsicmp(combo->Path().c_str(), L"C:\\windows\\system32"), 0);
    // The next path replaces the chain laid before, it is not added to it.
    TbsPidl windows(ParsePath(L"C:\\windows"));
    ASSERT_TRUE(windows);
    combo->SetPathFromID(windows.get());
    EXPECT_EQ(combo->ItemExCount(), before + 1);
    EXPECT_EQ(IndexOfLast(combo, L"system32"), -1);
    EXPECT_EQ(_wcsicmp(combo->Path().c_str(), L"C:\\windows"), 0);

    // Linked: the list shows the box's folder; choosing an entry moves the list exactly once.
    view_->SetComboBox(combo);
    view_->SetPath(dir_.File(L"sub"));
    EXPECT_EQ(combo->Path(), dir_.File(L"sub"));
    pathChanges_ = 0;
    combo->SetItemIndex(drive);
    EXPECT_EQ(pathChanges_, 1);
    EXPECT_EQ(view_->Path(), L"C:\\");
    EXPECT_EQ(combo->Path(), L"C:\\");
    view_->SetComboBox(nullptr);
    EXPECT_EQ(combo->ShellListView(), nullptr);
}

}  // namespace

namespace {

// Thumbnails where the shell gives none (Wine: no image factory, no IExtractImage): every node ends with the icon
// fallback, and the view draws that large icon centred in the thumbnail cell.
TEST_F(ShellViewTest, ThumbnailsFallBackToTheIconDrawnCentred) {
    int major = 0, minor = 0;
    ControlSeam().Version(major, minor);
    if (!IsVistaOS(major, minor))
        GTEST_SKIP() << "thumbnails need Vista or later";
    const TSHCreateItemFromIDList saved = ShellCreateItemFromIDList;
    ShellCreateItemFromIDList = nullptr;
    view_->SetColor(clWhite);
    view_->ThumbnailOptions()->SetEnabled(true);
    EXPECT_EQ(view_->ViewStyle(), vsIcon);
    EXPECT_TRUE(view_->IsThumbnailView());
    EXPECT_EQ(view_->RunningThreadCount(), 6);  // three nodes: 3 picture and 3 icon threads
    // Refilling while threads run stops them first, every time.
    for (int i = 0; i < 20; ++i)
        view_->Refresh();
    bool done = false;
    for (int round = 0; round < 500 && !done; ++round) {  // bounded: 5 s
        Pump();
        done = true;
        for (int i = 0; i < view_->FolderCount(); ++i)
            done = done && view_->Folders(i)->ThumbnailState().Contains(bsthmbIconLoaded);
        if (!done)
            Sleep(10);
    }
    ASSERT_TRUE(done);
    // The cell the view's own item drawing gives the picture of item 1.
    RECT cell{};
    const TbsDrawItemImageEvent draw = view_->OnDrawItemImage;
    ASSERT_TRUE(draw);
    view_->OnDrawItemImage = [&](TListItem* I, TCanvas* C, const TRect& R) {
        if (I->Index() == 1)
            cell = RECT{R.Left, R.Top, R.Right, R.Bottom};
        draw(I, C, R);
    };
    const int w = view_->Width(), h = view_->Height();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(dc, bmp);
    SendMessageW(view_->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    view_->OnDrawItemImage = draw;
    auto inked = [&](int l, int t, int r, int b) {
        int n = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x)
                n += (GetPixel(dc, x, y) & 0xFFFFFF) != RGB(255, 255, 255);
        return n;
    };
    const int cx = (cell.left + cell.right) / 2, cy = (cell.top + cell.bottom) / 2;
    const int centre = inked(cx - 12, cy - 12, cx + 12, cy + 12);
    const int corner = inked(cell.left + 1, cell.top + 1, cell.left + 20, cell.top + 20);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ShellCreateItemFromIDList = saved;
    EXPECT_GT(cell.right - cell.left, 60);  // the cell is thumbnail-sized
    EXPECT_GT(centre, 40);
    EXPECT_EQ(corner, 0);
    view_->ThumbnailOptions()->SetEnabled(false);
    EXPECT_EQ(view_->RunningThreadCount(), 0);
}

}  // namespace

namespace {

// AutoRefresh follows the folder shown: a file created there appears, and the watch moves with the folder.
TEST_F(ShellViewTest, AutoRefreshWatchesTheFolderShown) {
    EXPECT_EQ(view_->Notifier(), nullptr);
    view_->SetAutoRefresh(true);
    ASSERT_NE(view_->Notifier(), nullptr);
    EXPECT_EQ(view_->Notifier()->Root(), dir_.Path());
    ASSERT_TRUE(PumpUntil([&] { return view_->Notifier()->Thread()->WatchedDirectory() == dir_.Path(); }, 5000));
    PutFile(dir_.File(L"new.lng"));
    EXPECT_TRUE(PumpUntil([&] { return view_->FolderCount() == 4; }, 5000));
    view_->SetPath(dir_.File(L"sub"));
    ASSERT_NE(view_->Notifier(), nullptr);
    EXPECT_EQ(view_->Notifier()->Root(), dir_.File(L"sub"));
    view_->SetAutoRefresh(false);
    EXPECT_EQ(view_->Notifier(), nullptr);
}

// Typing ahead: the control asks the view, which finds by prefix without case and wraps when asked.
TEST_F(ShellViewTest, FindItemByPrefix) {
    LVFINDINFOW find{};
    find.flags = LVFI_STRING | LVFI_PARTIAL;
    find.psz = L"B.";
    EXPECT_EQ(ListView_FindItem(view_->Handle(), -1, &find), 2);
    find.psz = L"su";
    EXPECT_EQ(ListView_FindItem(view_->Handle(), 1, &find), -1);  // past sub, no wrap
    find.flags |= LVFI_WRAP;
    EXPECT_EQ(ListView_FindItem(view_->Handle(), 1, &find), 0);
    find.psz = L"zz";
    EXPECT_EQ(ListView_FindItem(view_->Handle(), -1, &find), -1);
}

}  // namespace

namespace {

// Before Vista there are no thumbnails: enabling them shows the system icons and starts no thread.
TEST_F(ShellViewTest, NoThumbnailsBeforeVista) {
    TbsControlSeam xp;
    xp.Version = [](int& Major, int& Minor) {
        Major = 5;
        Minor = 1;
    };
    TbsSeamOverride seam(xp);
    auto* v = new TbsSkinFileListView(form_.get());
    v->SetParent(form_.get());
    v->SetBounds(0, 40, 480, 300);
    v->HandleNeeded();
    v->SetPath(dir_.Path());
    v->ThumbnailOptions()->SetEnabled(true);
    EXPECT_EQ(v->ViewStyle(), vsIcon);
    EXPECT_FALSE(v->IsThumbnailView());
    EXPECT_EQ(v->RunningThreadCount(), 0);
    EXPECT_FALSE(v->OnDrawItemImage);
    EXPECT_EQ(v->Items()->Item(1)->Caption(), L"a.lng");
    EXPECT_GE(v->Items()->Item(1)->ImageIndex(), 0);  // the row as the view gives it to the control
    EXPECT_GE(v->Folders(1)->ImageIndex(true), 0);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(v->Handle(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0)) != nullptr,
              true);
    delete v;
}

}  // namespace
