// The skin picker on real windows: the list of a compressed skin list with the current skin selected, a preview that
// wears the skin under the cursor, and the index (or stored skin) it returns.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "skin/core/CompressedSkin.h"
#include "skin/dialogs/SelectSkinDialog.h"
#include "tests/classlib/WindowTestUtil.h"
#include "tests/skin/dialogs/DialogTestUtil.h"

namespace {

std::wstring SkinIni(const std::wstring& folder) {
    return Widen(TRELM_SKINSET) + L"\\" + folder + L"\\skin.ini";
}

// Three skins of the generated set; the second has no description, so it is listed by its name.
std::unique_ptr<TbsCompressedSkinList> ThreeSkins() {
    auto list = std::make_unique<TbsCompressedSkinList>(nullptr);
    const struct {
        const wchar_t* folder;
        const wchar_t* description;
    } skins[] = {{L"23_Trelm_Graphite", L"Графит"}, {L"42_Luna_Blue", L""}, {L"81_Trelm_Blue", L"Синий"}};
    for (const auto& s : skins) {
        TbsSkinListItem* item = list->Skins()->Add();
        item->Skin()->LoadFromIniFile(SkinIni(s.folder));
        item->Description = s.description;
    }
    return list;
}

std::wstring ListItem(HWND list, int i) {
    wchar_t buf[256] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    return buf;
}

// Picks row i as a user's click would: select it and tell the parent.
void PickRow(HWND list, int i, WORD code = LBN_SELCHANGE) {
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), code), reinterpret_cast<LPARAM>(list));
}

// The colour at the middle of the preview window's caption band.
COLORREF PreviewCaptionColour(HWND dialog) {
    HWND preview = FindByName(dialog, L"PreviewForm");
    // A skin change invalidates the frame; its paint is due before the pixels are read.
    RedrawWindow(preview, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r{};
    GetWindowRect(preview, &r);
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, (r.left + r.right) / 2, r.top + 8) & 0xFFFFFF;
    ReleaseDC(nullptr, dc);
    return c;
}

TEST(SelectSkinDialog, ListsTheSkinsPreviewsTheClickedOneAndReturnsItsIndex) {
    auto skins = ThreeSkins();
    TbsSelectSkinDialog dlg(nullptr);
    dlg.SetSkinList(skins.get());
    dlg.Title = L"Выбор скина";
    int count = 0, selected = -1;
    std::vector<std::wstring> items;
    COLORREF first = 0, third = 0;
    std::wstring previewButton;
    ModalDriver d(L"Выбор скина", [&](HWND w) {
        HWND list = FindByName(w, L"SkinListBox");
        count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        selected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        for (int i = 0; i < count; ++i)
            items.push_back(ListItem(list, i));
        previewButton = TextOf(FindByName(w, L"PreviewButton"));
        PickRow(list, 0);
        Shot(w, L"select_skin_graphite");
        first = PreviewCaptionColour(w);
        PickRow(list, 2);
        Shot(w, L"select_skin_blue");
        third = PreviewCaptionColour(w);
        Click(w, L"OKButton");
    });
    EXPECT_TRUE(dlg.Execute(1));
    ASSERT_TRUE(d.ran());
    EXPECT_EQ(count, 3);
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(items, (std::vector<std::wstring>{L"Графит", L"bsSkin1", L"Синий"}));
    EXPECT_EQ(previewButton, L"Button");
    EXPECT_NE(first, third);  // the preview changed its skin with the row
    EXPECT_EQ(dlg.SelectedSkinIndex, 2);
}

TEST(SelectSkinDialog, CancelLeavesMinusOneAndDoubleClickConfirms) {
    auto skins = ThreeSkins();
    TbsSelectSkinDialog dlg(nullptr);
    dlg.SetSkinList(skins.get());
    {
        ModalDriver d(L"Select skin", [&](HWND w) {
            PickRow(FindByName(w, L"SkinListBox"), 2);
            Click(w, L"CancelButton");
        });
        EXPECT_FALSE(dlg.Execute(0));
        EXPECT_TRUE(d.ran());
        EXPECT_EQ(dlg.SelectedSkinIndex, -1);
    }
    {
        ModalDriver d(L"Select skin", [&](HWND w) {
            HWND list = FindByName(w, L"SkinListBox");
            PickRow(list, 1);
            PickRow(list, 1, LBN_DBLCLK);
        });
        EXPECT_TRUE(dlg.Execute(0));
        EXPECT_EQ(dlg.SelectedSkinIndex, 1);
    }
}

TEST(SelectSkinDialog, WithoutAListNothingShows) {
    TbsSelectSkinDialog dlg(nullptr);
    ModalDriver d(L"Select skin", [&](HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); });
    EXPECT_FALSE(dlg.Execute(0));
    Pump(150);
    EXPECT_FALSE(d.ran());
    // A list that goes away is forgotten.
    auto skins = ThreeSkins();
    dlg.SetSkinList(skins.get());
    skins.reset();
    EXPECT_EQ(dlg.SkinList(), nullptr);
}

TEST(SelectSkinDialog, ByComponentPicksAmongTheOwnersStoredSkins) {
    TComponent owner(nullptr);
    auto* a = new TbsCompressedStoredSkin(&owner);
    a->SetName(L"GraphiteSkin");
    a->LoadFromIniFile(SkinIni(L"23_Trelm_Graphite"));
    auto* b = new TbsCompressedStoredSkin(&owner);
    b->SetName(L"BlueSkin");
    b->LoadFromIniFile(SkinIni(L"81_Trelm_Blue"));
    b->Description = L"Синий";
    auto* dlg = new TbsSelectSkinDialog(&owner);
    std::vector<std::wstring> items;
    int selected = -1;
    ModalDriver d(L"Select skin", [&](HWND w) {
        HWND list = FindByName(w, L"SkinListBox");
        for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i)
            items.push_back(ListItem(list, i));
        selected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        PickRow(list, 1);
        Click(w, L"OKButton");
    });
    EXPECT_TRUE(dlg->Execute(nullptr));
    EXPECT_EQ(items, (std::vector<std::wstring>{L"GraphiteSkin", L"Синий"}));
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(dlg->SelectedSkin, b);
    EXPECT_EQ(dlg->SelectedSkinIndex, -1);
}

}  // namespace
