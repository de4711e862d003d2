// The skin picker on real windows: the list of a compressed skin list with the current skin selected, a preview that
// wears the skin under the cursor, and the index (or stored skin) it returns.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "SkinTestPaths.h"
#include "skin/controls/SkinButton.h"
#include "skin/core/CompressedSkin.h"
#include "skin/dialogs/SelectSkinDialog.h"
#include "skin/form/SkinForm.h"
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

// A double click on row i, as the mouse gives it.
void DoubleClickRow(HWND list, int i) {
    RECT r{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
}

// The colour at the middle of the preview window's caption band.
COLORREF PreviewCaptionColour(HWND dialog) {
    HWND preview = FindByName(dialog, L"PreviewForm");
    // A skin change invalidates the frame; its paint is due before the pixels are read.
    RedrawWindow(preview, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(60);
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
    RECT client{}, preview{}, listRect{}, ok{}, cancel{};
    bool focusInList = false;
    ModalDriver d(L"Выбор скина", [&](HWND w) {
        HWND list = FindByName(w, L"SkinList");
        count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        selected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        for (int i = 0; i < count; ++i)
            items.push_back(ListItem(list, i));
        previewButton = TextOf(FindByName(w, L"PreviewButton"));
        GetClientRect(w, &client);
        preview = RectIn(FindByName(w, L"PreviewForm"), w);
        listRect = RectIn(FindByName(w, L"SkinListBox"), w);
        ok = RectIn(FindByName(w, L"OKButton"), w);
        cancel = RectIn(FindByName(w, L"CancelButton"), w);
        focusInList = GetFocus() == list;
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
    // Without a frame skin: 420 x 240, the list, the preview and the buttons where they belong.
    EXPECT_EQ(client.right, 420);
    EXPECT_EQ(client.bottom, 240);
    EXPECT_EQ(listRect.left, 10);
    EXPECT_EQ(listRect.top, 10);
    EXPECT_EQ(listRect.right - listRect.left, 170);
    EXPECT_EQ(listRect.bottom - listRect.top, 170);
    EXPECT_EQ(preview.left, 190);
    EXPECT_EQ(preview.top, 10);
    EXPECT_EQ(preview.right - preview.left, 220);
    EXPECT_EQ(preview.bottom - preview.top, 170);
    EXPECT_EQ(ok.left, 260);
    EXPECT_EQ(ok.top, 200);
    EXPECT_EQ(ok.right - ok.left, 70);
    EXPECT_EQ(cancel.left, 340);
    EXPECT_EQ(cancel.top, 200);
    EXPECT_TRUE(focusInList);
}

TEST(SelectSkinDialog, CancelLeavesMinusOneAndDoubleClickConfirms) {
    auto skins = ThreeSkins();
    TbsSelectSkinDialog dlg(nullptr);
    dlg.SetSkinList(skins.get());
    {
        ModalDriver d(L"Select skin", [&](HWND w) {
            PickRow(FindByName(w, L"SkinList"), 2);
            Click(w, L"CancelButton");
        });
        EXPECT_FALSE(dlg.Execute(0));
        EXPECT_TRUE(d.ran());
        EXPECT_EQ(dlg.SelectedSkinIndex, -1);
    }
    {
        ModalDriver d(L"Select skin", [&](HWND w) {
            HWND list = FindByName(w, L"SkinList");
            PickRow(list, 1);
            DoubleClickRow(list, 1);
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
        HWND list = FindByName(w, L"SkinList");
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

// The pixels of a window of ours, painted afresh.
std::vector<std::uint32_t> PixelsOf(HWND w, bool frame) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(60);
    RECT r{};
    if (frame) {
        GetWindowRect(w, &r);
    } else {
        r = ClientRectOnScreen(w);
    }
    return GrabScreen(r);
}

TEST(SelectSkinDialog, PreviewLeavesTheMainWindowAloneAndShowsThePreviewedButton) {
    // The main window: skin 23 on its frame and on a button bound to its container.
    TbsSkinData mainData(nullptr);
    mainData.LoadFromFile(SkinIni(L"23_Trelm_Graphite"));
    TForm main(nullptr);
    main.SetBorderStyle(bsSingle);
    main.SetBounds(0, 0, 260, 150);
    main.SetCaption(L"Главное окно");
    auto* frame = new TbsSkinForm(&main);
    frame->SetSkinData(&mainData);
    auto* button = new TbsSkinButton(&main);
    button->SetParent(&main);
    button->SetBounds(10, 10, 100, 25);
    button->SetCaption(L"Кнопка");
    button->SetSkinData(&mainData);
    main.Show();
    Pump(200);

    // The list: the colour-coded fixture (its button face is a flat colour of its legend) and skin 81.
    TbsCompressedSkinList skins(nullptr);
    TbsSkinListItem* fixture = skins.Skins()->Add();
    fixture->Skin()->LoadFromIniFile(skintest::FixtureFolder() + L"\\skin.ini");
    fixture->Description = L"Фикстура";
    TbsSkinListItem* blue = skins.Skins()->Add();
    blue->Skin()->LoadFromIniFile(SkinIni(L"81_Trelm_Blue"));
    const COLORREF face = RGB(30, 120, 60);

    TbsSelectSkinDialog dlg(nullptr);
    dlg.SetSkinList(&skins);
    dlg.SetSkinData(&mainData);
    dlg.SetCtrlSkinData(&mainData);
    dlg.Title = L"Выбор скина";
    int faceFixture = -1, faceBlue = -1;
    bool mainSame = false, buttonSame = false;
    RECT client{};
    ModalDriver d(L"Выбор скина", [&](HWND w) {
        HWND list = FindByName(w, L"SkinList");
        HWND pb = FindByName(w, L"PreviewButton");
        GetClientRect(w, &client);
        // The main window as it looks behind the dialog, before any preview.
        const std::vector<std::uint32_t> mainBefore = PixelsOf(main.Handle(), true);
        const std::vector<std::uint32_t> buttonBefore = PixelsOf(button->Handle(), false);
        PickRow(list, 0);
        RedrawWindow(pb, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(60);
        faceFixture = CountWindowColour(pb, face);
        Shot(w, L"select_skin_fixture");
        PickRow(list, 1);
        RedrawWindow(pb, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(60);
        faceBlue = CountWindowColour(pb, face);
        Shot(w, L"select_skin_81");
        mainSame = PixelsOf(main.Handle(), true) == mainBefore;
        buttonSame = PixelsOf(button->Handle(), false) == buttonBefore;
        Click(w, L"CancelButton");
    });
    EXPECT_FALSE(dlg.Execute(1));
    ASSERT_TRUE(d.ran());
    EXPECT_GT(faceFixture, 100);
    EXPECT_EQ(faceBlue, 0);
    EXPECT_TRUE(mainSame);
    EXPECT_TRUE(buttonSame);
    // The frame skin asks for at least 420 x 240.
    EXPECT_GE(client.right, 420);
    EXPECT_GE(client.bottom, 240);
    EXPECT_EQ(dlg.SelectedSkinIndex, -1);
}

TEST(SelectSkinDialog, ASkinThatFailsToLoadLeavesThePreviewBuiltIn) {
    TbsCompressedSkinList skins(nullptr);
    TbsSkinListItem* good = skins.Skins()->Add();
    good->Skin()->LoadFromIniFile(SkinIni(L"81_Trelm_Blue"));
    good->Description = L"Синий";
    TbsSkinListItem* bad = skins.Skins()->Add();
    // A zlib header and then nothing that inflates.
    bad->Skin()->SetCompressedBytes(std::string("\x78\x9c\xff\xff\xff\xff\x00\x01\x02\x03", 10));
    bad->Description = L"Испорчен";
    TbsSelectSkinDialog dlg(nullptr);
    dlg.SetSkinList(&skins);
    COLORREF afterBad = 1;
    ModalDriver d(L"Select skin", [&](HWND w) {
        HWND list = FindByName(w, L"SkinList");
        PickRow(list, 0);
        const COLORREF skinned = PreviewCaptionColour(w);
        PickRow(list, 1);  // must not throw out of the handler
        afterBad = PreviewCaptionColour(w);
        EXPECT_NE(afterBad, skinned);
        Shot(w, L"select_skin_broken");
        PickRow(list, 0);  // still usable
        Click(w, L"OKButton");
    });
    EXPECT_TRUE(dlg.Execute(0));
    ASSERT_TRUE(d.ran());
    EXPECT_EQ(dlg.SelectedSkinIndex, 0);
}

}  // namespace
