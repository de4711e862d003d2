// The folder list and the file list on the shared skinned host form: the chain from the root and the sorted
// sub-folders, the case rule, a failed change that keeps the list, opening by Enter, the links to a file list, a
// label and an edit, the file list's masks and typed paths, and the pixels of a selected item and a folder picture
// in the fixture skin ("listbox": items 240,240,200 / active 40,90,160, text rectangle from x 2, item height 18).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "PickerHost.h"
#include "classlib/StdCtrls.h"
#include "classlib/SysUtils.h"
#include "skin/controls/SkinLabels.h"
#include "skin/pickers/PathRoutines.h"
#include "skin/pickers/PickerPictures.h"
#include "skin/pickers/SkinDirectoryListBox.h"
#include "skin/pickers/SkinFileListBox.h"

namespace {

using namespace ctltest;
using namespace pktest;

constexpr COLORREF kActiveItem = RGB(40, 90, 160);

class PickerLists : public PickerHosted {};

// The folder list's pictures are protected members; a derived view reads them.
struct DirList : TbsSkinDirectoryListBox {
    using TbsSkinDirectoryListBox::TbsSkinDirectoryListBox;
    std::string Kinds() {
        std::string s;
        for (int i = 0; i < Items()->Count(); ++i) {
            TObject* o = Items()->Objects(i);
            s += o == OpenedBMP.get() ? 'o' : o == ClosedBMP.get() ? 'c' : o == CurrentBMP.get() ? '*' : '?';
        }
        return s;
    }
};

std::vector<std::wstring> SortedSubFolders(const std::wstring& Dir) {
    std::vector<std::wstring> v;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(SlashSep(Dir, L"*").c_str(), &fd);
    for (BOOL more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &fd)) {
        const std::wstring n = fd.cFileName;
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && n != L"." && n != L"..")
            v.push_back(n);
    }
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
    std::sort(v.begin(), v.end(), [](const std::wstring& a, const std::wstring& b) { return AnsiCompareText(a, b) < 0; });
    return v;
}

TEST_F(PickerLists, RootGivesItselfThenItsSortedSubFolders) {
    auto* list = Place<DirList>(10, 10, 180, 200);
    list->SetDirectory(L"C:\\");
    EXPECT_EQ(list->Directory(), L"C:\\");
    EXPECT_EQ(CurrentDir(), L"C:\\") << "the list leaves the process in its folder";
    std::vector<std::wstring> want{L"C:\\"};
    for (const auto& n : SortedSubFolders(L"C:\\"))
        want.push_back(n);
    EXPECT_EQ(ItemsOf(list->Items()), want);
    EXPECT_EQ(list->Kinds(), "*" + std::string(want.size() - 1, 'c'));
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->GetItemPath(0), L"C:\\");
    EXPECT_TRUE(AnsiSameText(list->GetItemPath(1), L"C:\\" + want[1]));
    EXPECT_EQ(list->GetItemPath(static_cast<int>(want.size())), L"");
}

TEST_F(PickerLists, DeepFolderGivesTheChainIndentedByLevelAndSameCaseChangesNothing) {
    auto* list = Place<DirList>(10, 10, 180, 200);
    list->SetDirectory(L"C:\\windows\\system32");
    const std::wstring dir = list->Directory();
    EXPECT_TRUE(AnsiSameText(dir, L"C:\\windows\\system32"));
    const auto items = ItemsOf(list->Items());
    ASSERT_GT(items.size(), 3u);
    EXPECT_EQ(items[0], L"C:\\");
    EXPECT_TRUE(AnsiSameText(items[1], L"windows"));
    EXPECT_TRUE(AnsiSameText(items[2], L"system32"));
    const auto subs = SortedSubFolders(dir);
    EXPECT_EQ(std::vector<std::wstring>(items.begin() + 3, items.end()), subs);
    EXPECT_EQ(list->Kinds(), "oo*" + std::string(subs.size(), 'c'));
    EXPECT_EQ(list->ItemIndex(), 2) << "the current folder is selected";
    EXPECT_TRUE(AnsiSameText(list->GetItemPath(1), L"C:\\windows"));
    EXPECT_EQ(list->GetItemPath(2), dir);
    EXPECT_EQ(list->GetItemPath(3), dir + L"\\" + subs[0]);

    int changes = 0;
    list->OnChange = [&](TObject*) { ++changes; };
    list->SetDirectory(L"c:\\WINDOWS\\System32");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list->Directory(), dir);
    EXPECT_EQ(ItemsOf(list->Items()), items);
}

TEST_F(PickerLists, MissingFolderRaisesAndKeepsTheList) {
    TempTree tree(L"miss", {L"one"}, {});
    auto* list = Place<DirList>(10, 10, 180, 200);
    list->SetDirectory(tree.Root());
    const auto before = ItemsOf(list->Items());
    EXPECT_THROW(list->SetDirectory(tree / L"none"), EInOutError);
    EXPECT_THROW(list->SetDirectory(L"Q:\\nowhere"), EInOutError);
    EXPECT_EQ(ItemsOf(list->Items()), before);
    EXPECT_EQ(list->Directory(), tree.Root());
}

TEST_F(PickerLists, EnterOpensTheSelectedFolderAndAClickOnlySelects) {
    TempTree tree(L"open", {L"alpha", L"beta", L"beta\\inner"}, {});
    auto* list = Place<DirList>(10, 10, 180, 200);
    list->SetDirectory(tree.Root());
    const int level = DirLevel(tree.Root());
    ASSERT_EQ(list->Items()->Get(level + 2), L"beta");
    const TRect r = list->ItemRect(level + 2);
    HWND lb = list->ListBox->Handle();
    SendMessageW(lb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.Left + 30, r.Top + 4));
    SendMessageW(lb, WM_LBUTTONUP, 0, MAKELPARAM(r.Left + 30, r.Top + 4));
    Pump(20);
    EXPECT_EQ(list->ItemIndex(), level + 2);
    EXPECT_EQ(list->Directory(), tree.Root()) << "a single click only selects";
    SendMessageW(lb, WM_CHAR, VK_RETURN, 0);
    Pump(20);
    EXPECT_EQ(list->Directory(), tree / L"beta");
    EXPECT_EQ(ItemsOf(list->Items()).back(), L"inner");
    list->SetTopIndex(0);
    const LPARAM at = MAKELPARAM(r.Left + 30, list->ItemRect(0).Top + 4);
    SendMessageW(lb, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(lb, WM_LBUTTONUP, 0, at);
    SendMessageW(lb, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(lb, WM_LBUTTONUP, 0, at);
    Pump(20);
    EXPECT_EQ(list->Directory(), tree.Root().substr(0, 3)) << "a double click on the root opens it";
}

TEST_F(PickerLists, VolumeWithoutCasePreservationListsLowerCase) {
    TempTree tree(L"case", {L"MixedCase"}, {});
    TableDriveInfo table;
    table.Drives[static_cast<wchar_t>(towlower(tree.Root()[0]))] = {bsdtFixed, true, L"", 0};
    TbsDriveInfoOverride use(&table);
    auto* list = Place<DirList>(10, 10, 180, 200);
    list->SetDirectory(tree.Root());
    EXPECT_FALSE(list->PreserveCase());
    EXPECT_EQ(ItemsOf(list->Items()).back(), L"mixedcase");
    EXPECT_EQ(ItemsOf(list->Items()).front(), AnsiLowerCase(tree.Root().substr(0, 3)));
}

TEST_F(PickerLists, LinkedFileListLabelAndEditFollow) {
    TempTree tree(L"link", {L"sub", L"sub\\Папка"}, {L"a.lng", L"b.txt", L"sub\\c.lng"});
    auto* files = Place<TbsSkinFileListBox>(200, 10, 180, 200);
    auto* list = Place<DirList>(10, 10, 180, 200);
    auto* label = new TbsSkinStdLabel(host_->form);
    owned_.push_back(label);
    label->SetParent(host_->form);
    label->SetAutoSize(false);
    label->SetBounds(10, 220, 90, 16);
    auto* edit = new TEdit(host_->form);
    owned_.push_back(edit);
    edit->SetParent(host_->form);
    edit->SetBounds(200, 220, 150, 20);
    list->SetFileList(files);
    list->SetDirLabel(label);
    files->SetFileEdit(edit);
    EXPECT_EQ(files->DirList(), list);
    list->SetDirectory(tree / L"sub");
    EXPECT_EQ(files->Directory(), tree / L"sub");
    EXPECT_EQ(ItemsOf(files->Items()), (std::vector<std::wstring>{L"c.lng"}));
    EXPECT_EQ(edit->Text(), L"*.*") << "no file chosen: the edit shows the mask";
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(label->Font());
    EXPECT_EQ(label->Caption(), MinimizeName(tree / L"sub", measure.Canvas(), 90));
    EXPECT_LE(measure.Canvas()->TextWidth(label->Caption()), 90);
    EXPECT_EQ(label->Caption().substr(label->Caption().size() - 4), L"\\sub");
    files->SetItemIndex(0);
    SendMessageW(files->ListBox->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    SendMessageW(files->ListBox->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
    Pump(20);
    EXPECT_EQ(edit->Text(), L"c.lng");
    EXPECT_EQ(files->GetFilePath(), tree / L"sub\\c.lng");
    // The file list goes first: the folder list no longer points at it.
    delete files;
    owned_.erase(std::find(owned_.begin(), owned_.end(), files));
    EXPECT_EQ(list->FileList(), nullptr);
    list->SetDirectory(tree.Root());
    EXPECT_EQ(list->Directory(), tree.Root());
}

TEST_F(PickerLists, FileListMasksTypesAndTypedPaths) {
    TempTree tree(L"files", {L"sub"}, {L"a.lng", L"b.txt"});
    auto* files = Place<TbsSkinFileListBox>(10, 10, 180, 200);
    files->SetDirectory(tree.Root());
    EXPECT_EQ(ItemsOf(files->Items()), (std::vector<std::wstring>{L"a.lng", L"b.txt"})) << "plain files by default";
    files->SetFileType({bsftNormal, bsftDirectory});
    files->SetMask(L"*.lng");
    EXPECT_EQ(ItemsOf(files->Items()), (std::vector<std::wstring>{L"a.lng"})) << "a folder must match the mask too";
    files->SetMask(L"*.lng;s*");
    EXPECT_EQ(ItemsOf(files->Items()), (std::vector<std::wstring>{L"[sub]", L"a.lng"}));
    files->SetFileType({bsftDirectory});
    files->SetMask(L"*.lng;s*");
    EXPECT_EQ(ItemsOf(files->Items()), (std::vector<std::wstring>{L"[sub]"})) << "without bsftNormal only asked attributes";

    files->SetFileType({bsftNormal});
    files->SetMask(L"*.*");
    files->ApplyFilePath(L"*.txt");
    EXPECT_EQ(files->Mask(), L"*.txt");
    EXPECT_EQ(files->Directory(), tree.Root()) << "a typed mask keeps the folder";
    EXPECT_EQ(ItemsOf(files->Items()), (std::vector<std::wstring>{L"b.txt"}));
    files->ApplyFilePath(tree / L"a.lng");
    EXPECT_EQ(files->Mask(), L"a.lng") << "a file the mask hid becomes the mask";
    EXPECT_EQ(files->FileName(), L"a.lng");
    files->ApplyFilePath(tree / L"sub");
    EXPECT_EQ(files->Directory(), tree / L"sub");
    EXPECT_TRUE(ItemsOf(files->Items()).empty());
    EXPECT_THROW(files->SetDirectory(tree / L"gone"), EInOutError);
    EXPECT_EQ(files->Directory(), tree / L"sub");
}

TEST_F(PickerLists, SelectedItemInTheSkinsColourAndPictureAtItsLevel) {
    TempTree tree(L"draw", {L"one", L"two"}, {});
    auto* list = Place<DirList>(10, 10, 200, 240);
    list->SetDirectory(tree.Root());
    const int level = DirLevel(tree.Root());
    const int first = level + 1;  // the first sub-folder
    ASSERT_EQ(list->Items()->Get(first), L"one");
    list->SetItemIndex(first + 1);
    auto pixels = PaintInto(list->ListBox->Width(), list->ListBox->Height(), [&](HDC dc) { list->ListBox->PaintTo(dc); });
    Shot(pixels.get(), L"pickers_folderlist");
    const TRect selected = list->ItemRect(first + 1);
    EXPECT_EQ(Px(pixels.get(), 1, selected.Top + 1), kActiveItem);

    auto closed = LoadPickerPicture(L"BS_CLOSEDFOLDER");
    ASSERT_FALSE(closed->Empty()) << "the program carries its pictures";
    const COLORREF key = GetPixel(closed->Canvas()->Handle(), 0, closed->Height() - 1) & 0xFFFFFF;
    const TRect row = list->ItemRect(first);
    const int x0 = 2 + level * 4 + 6, y0 = row.Top + (18 - closed->Height()) / 2;
    int same = 0, opaque = 0;
    for (int y = 0; y < closed->Height(); ++y)
        for (int x = 0; x < closed->Width(); ++x) {
            const COLORREF c = GetPixel(closed->Canvas()->Handle(), x, y) & 0xFFFFFF;
            if (c == key)
                continue;
            ++opaque;
            same += Px(pixels.get(), x0 + x, y0 + y) == c;
        }
    EXPECT_GT(opaque, 60);
    EXPECT_EQ(same, opaque) << "the closed folder stands at the sub-folders' indent";
    EXPECT_NE(Px(pixels.get(), x0 - 4 + 3, y0 + 8), Px(pixels.get(), x0 + 3, y0 + 8));
}

TEST_F(PickerLists, ResizedFrameTakesItsInnerListAlong) {
    for (bool skinned : {false, true}) {
        auto* files = new TbsSkinFileListBox(host_->form);
        owned_.push_back(files);
        if (!skinned)
            files->SetSkinDataName(L"nolistbox");
        files->SetSkinData(host_->data);
        files->SetParent(host_->form);
        files->SetMask(L"*.no-such-kind");  // no rows, so no bar whatever the current folder holds
        files->SetBounds(10, 10, 200, 150);
        files->HandleNeeded();
        Pump(20);
        const TRect want = skinned ? TRect{4, 16, 196, 146} : TRect{2, 2, 198, 148};
        EXPECT_EQ(files->ListBox->BoundsRect(), want) << (skinned ? "skinned" : "built-in");
    }
}

}  // namespace
