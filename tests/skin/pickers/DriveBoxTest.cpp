// The drive box and the filter box on the shared skinned host form. The drive cases are run by drive-prefix.sh in a
// Wine prefix whose drives are a: floppy, c: labelled "Data", d: a CD-ROM without a label and z: fixed; outside
// that prefix they are skipped (the shared session has other drives). Choices are made as the mouse makes them: a
// press on the button, a press in the open list and the release over a row.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "PickerTestSupport.h"
#include "classlib/SysUtils.h"
#include "skin/pickers/DriveInfo.h"
#include "skin/pickers/PathRoutines.h"
#include "skin/pickers/SkinDirectoryListBox.h"
#include "skin/pickers/SkinDriveComboBox.h"
#include "skin/pickers/SkinFileListBox.h"
#include "skin/pickers/SkinFilterComboBox.h"

namespace {

using namespace ctltest;
using namespace pktest;

bool InDrivePrefix() {
    const char* v = std::getenv("TRELM_DRIVE_PREFIX");
    return v && std::string(v) == "1";
}

#define REQUIRE_DRIVE_PREFIX() \
    if (!InDrivePrefix())      \
    GTEST_SKIP() << "needs the drive prefix of tests/skin/pickers/drive-prefix.sh"

std::vector<std::wstring> ItemsOf(TStrings* s) {
    std::vector<std::wstring> v;
    for (int i = 0; i < s->Count(); ++i)
        v.push_back(s->Get(i));
    return v;
}

class PickerBoxes : public HostedControls {
  protected:
    void TearDown() override {
        HostedControls::TearDown();
        SetCurrentDirectoryW(guard_.Saved().c_str());
    }
    template <class T>
    T* Place(int X, int Y, int W, int H) {
        auto* b = new T(host_->form);
        owned_.push_back(b);
        b->SetSkinData(host_->data);
        b->SetParent(host_->form);
        b->SetBounds(X, Y, W, H);
        b->HandleNeeded();
        b->ChangeSkinData();
        Pump(20);
        return b;
    }
    // Opens the list with the button and picks row Row: a press in the list, the release over that row.
    static void Pick(TbsSkinCustomComboBox* c, int Row) {
        const TRect& b = c->DropButton().R;
        const LPARAM onButton = MAKELPARAM((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
        SendMessageW(c->Handle(), WM_MOUSEMOVE, 0, onButton);
        SendMessageW(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onButton);
        SendMessageW(c->Handle(), WM_LBUTTONUP, 0, onButton);
        Pump(10);
        ASSERT_TRUE(c->IsPopupVisible());
        TbsListBox* lb = c->ListBox()->ListBox;
        const TRect r = lb->ItemRect(Row);
        POINT p{4, (r.Top + r.Bottom) / 2};
        SendMessageW(lb->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        MapWindowPoints(lb->Handle(), c->Handle(), &p, 1);
        SendMessageW(c->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageW(c->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        Pump(10);
    }
    CurrentDirGuard guard_;
};

TEST(DrivePrefix, DrivesAsSetUpThroughTheRealCalls) {
    REQUIRE_DRIVE_PREFIX();
    IbsDriveInfo& info = SystemDriveInfo();
    EXPECT_EQ(info.LogicalDrives(), (1u << 0) | (1u << 2) | (1u << 3) | (1u << 25));
    EXPECT_EQ(info.DriveType(L'a'), bsdtRemovable);
    EXPECT_EQ(info.DriveType(L'c'), bsdtFixed);
    EXPECT_EQ(info.DriveType(L'd'), bsdtCDROM);
    EXPECT_EQ(info.DriveType(L'z'), bsdtFixed);
    EXPECT_EQ(VolumeID(L'c'), L"[data]");
    EXPECT_EQ(VolumeID(L'C'), L"[DATA]");
    EXPECT_EQ(VolumeID(L'd'), L"[]");
    EXPECT_EQ(NetworkVolume(L'c'), L"[data]") << "a drive that is not mapped gives its volume";
}

using DriveBox = PickerBoxes;

TEST_F(DriveBox, ItemsByLetterInTheChosenCase) {
    REQUIRE_DRIVE_PREFIX();
    SetCurrentDirectoryW(L"C:\\windows");
    auto* box = Place<TbsSkinDriveComboBox>(10, 10, 160, 20);
    EXPECT_EQ(ItemsOf(box->Items()), (std::vector<std::wstring>{L"a:", L"c: [data]", L"d: []", L"z: []"}));
    EXPECT_EQ(box->Drive(), L'c');
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(box->Text(), L"c: [data]");
    box->SetTextCase(tcUpperCase);
    EXPECT_EQ(ItemsOf(box->Items()), (std::vector<std::wstring>{L"A:", L"C: [DATA]", L"D: []", L"Z: []"}));
    EXPECT_EQ(box->Drive(), L'C');
    EXPECT_EQ(box->ItemIndex(), 1);
}

TEST_F(DriveBox, ChoosingADriveMovesTheLinkedFolderList) {
    REQUIRE_DRIVE_PREFIX();
    SetCurrentDirectoryW(L"C:\\windows");
    auto* list = Place<TbsSkinDirectoryListBox>(10, 40, 160, 150);
    auto* box = Place<TbsSkinDriveComboBox>(10, 10, 160, 20);
    box->SetDirList(list);
    EXPECT_EQ(list->DriveCombo(), box);
    int changes = 0;
    list->OnChange = [&](TObject*) { ++changes; };
    Pick(box, 3);
    EXPECT_EQ(box->Drive(), L'z');
    EXPECT_EQ(box->Text(), L"z: []");
    EXPECT_EQ(towupper(list->Drive()), L'Z');
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list->Items()->Get(0).substr(0, 2), L"Z:");
    // The folder list's own drive change reaches the box through the link.
    list->SetDirectory(L"C:\\windows");
    EXPECT_EQ(box->Drive(), L'c');
    EXPECT_EQ(box->Text(), L"c: [data]");
}

TEST_F(DriveBox, AnAssignedOnChangeReplacesItsOwnReaction) {
    REQUIRE_DRIVE_PREFIX();
    SetCurrentDirectoryW(L"C:\\windows");
    auto* list = Place<TbsSkinDirectoryListBox>(10, 40, 160, 150);
    auto* box = Place<TbsSkinDriveComboBox>(10, 10, 160, 20);
    box->SetDirList(list);
    const std::wstring dir = list->Directory();
    std::vector<std::wstring> seen;
    box->OnChange = [&](TObject*) { seen.push_back(box->Text()); };
    Pick(box, 3);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"z: []"}));
    EXPECT_EQ(box->Drive(), L'c') << "the drive follows a choice only through the handler";
    EXPECT_EQ(list->Directory(), dir);
    // What a folder page's handler does with it: the list follows the box's text.
    box->OnChange = [&](TObject*) { list->SetDrive(AnsiUpperCase(box->Text())[0]); };
    Pick(box, 2);
    EXPECT_EQ(list->Drive(), L'D');
    EXPECT_EQ(box->Drive(), L'd') << "the list's change of drive reaches the box";
}

TEST_F(PickerBoxes, FilterPairsGiveItemsAndMasks) {
    auto* filter = Place<TbsSkinFilterComboBox>(10, 10, 160, 20);
    EXPECT_EQ(filter->Filter(), L"All files (*.*)|*.*");
    EXPECT_EQ(ItemsOf(filter->Items()), (std::vector<std::wstring>{L"All files (*.*)"}));
    filter->SetFilter(L"Text|*.txt|All|*.*");
    EXPECT_EQ(ItemsOf(filter->Items()), (std::vector<std::wstring>{L"Text", L"All"}));
    EXPECT_EQ(filter->ItemIndex(), 0);
    EXPECT_EQ(filter->Mask(), L"*.txt");
    filter->SetFilter(L"Lang|*.lng;*.txt|Odd");
    EXPECT_EQ(ItemsOf(filter->Items()), (std::vector<std::wstring>{L"Lang"}));
    EXPECT_EQ(filter->Mask(), L"*.lng;*.txt");
    filter->SetFilter(L"abc");
    EXPECT_TRUE(ItemsOf(filter->Items()).empty());
    EXPECT_EQ(filter->Mask(), L"*.*");
}

TEST_F(PickerBoxes, ChoosingAFilterSetsTheLinkedFileListsMaskFirst) {
    TempTree tree(L"filter", {}, {L"a.lng", L"b.txt"});
    auto* files = Place<TbsSkinFileListBox>(10, 40, 160, 120);
    files->SetDirectory(tree.Root());
    auto* filter = Place<TbsSkinFilterComboBox>(10, 10, 160, 20);
    filter->SetFileList(files);
    EXPECT_EQ(files->FilterCombo(), filter);
    filter->SetFilter(L"Text|*.txt|All|*.*");
    EXPECT_EQ(files->Mask(), L"*.txt");
    EXPECT_EQ(ItemsOf(files->Items()), (std::vector<std::wstring>{L"b.txt"}));
    std::vector<std::wstring> masksSeen;
    filter->OnChange = [&](TObject*) { masksSeen.push_back(files->Mask()); };
    Pick(filter, 1);
    EXPECT_EQ(filter->Text(), L"All");
    EXPECT_EQ(files->Mask(), L"*.*");
    EXPECT_EQ(ItemsOf(files->Items()), (std::vector<std::wstring>{L"a.lng", L"b.txt"}));
    ASSERT_FALSE(masksSeen.empty());
    EXPECT_EQ(masksSeen.front(), L"*.*") << "OnChange sees the new mask";
    delete files;
    owned_.erase(std::find(owned_.begin(), owned_.end(), files));
    EXPECT_EQ(filter->FileList(), nullptr);
    Pick(filter, 0);
    EXPECT_EQ(filter->Mask(), L"*.txt");
}

}  // namespace
