// skinform_tool gallery mdi OUT.png: a skinned MDI main form (the application's main form) with its menu bar, tab bar,
// window menu and three children, one dragged partly out so that the skinned scroll bar shows; then with a maximised
// child; then with the tabs drawn as buttons. Built-in look and skins 23, 81 and 43, one column each. skinform_tool mdi
// [SKIN] [--children N] [--quit-after MS] keeps such a host open for driving from a shell.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Gallery.h"
#include "app/SkinLists.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/mdi/SkinMDITabsBar.h"
#include "skin/menubar/MainMenuBar.h"
#include "tests/classlib/ScreenGrab.h"

namespace {

constexpr int kLooks[] = {-1, 23, 81, 43};
const wchar_t* const kChildCaptions[] = {L"Входящие", L"Письмо от Ивана", L"Reminders", L"Черновик", L"Sent"};

void Pump(DWORD ms) {
    PumpFor(ms);
}

struct TMDIHostForms {
    TForm* Main = nullptr;
    TbsSkinForm* Skin = nullptr;
    TbsSkinData* Data = nullptr;
    TbsSkinMDITabsBar* Bar = nullptr;
    TbsSkinMainMenuBar* MenuBar = nullptr;
    std::vector<TForm*> Children;
};

// A top-level item of Menu with one entry under it.
TMenuItem* AddTop(TMainMenu* Menu, const wchar_t* Caption, int Group) {
    auto* item = new TMenuItem(Menu);
    item->SetCaption(Caption);
    item->SetGroupIndex(static_cast<BYTE>(Group));
    Menu->Items()->Add(item);
    return item;
}

// The host: the application's main form, its menu bar (the window menu in it), its tab bar (close buttons), and the
// children; the second child has a menu of its own, merged while it is active.
TMDIHostForms MakeHost(int Children, TbsCompressedSkinList* List, int Skin) {
    TMDIHostForms h;
    h.Main = new TForm(nullptr);
    Application->SetMainForm(h.Main);
    h.Main->SetName(L"MDIHost");
    h.Main->SetFormStyle(fsMDIForm);
    h.Main->SetBorderStyle(bsSizeable);
    h.Main->SetBounds(20, 20, 640, 460);
    h.Main->SetCaption(L"Trelm MDI");
    h.Skin = new TbsSkinForm(h.Main);
    h.Data = new TbsSkinData(h.Main);
    if (Skin >= 0) {
        h.Data->SetSkinIndex(Skin);
        h.Data->SetSkinList(List);
        h.Skin->SetSkinData(h.Data);
    }
    auto* menu = new TMainMenu(h.Main);
    TMenuItem* file = AddTop(menu, L"&Файл", 0);
    auto* quit = new TMenuItem(menu);
    quit->SetCaption(L"Выход");
    file->Add(quit);
    TMenuItem* window = AddTop(menu, L"&Окно", 9);
    h.MenuBar = new TbsSkinMainMenuBar(h.Main);
    h.MenuBar->SetName(L"MenuBar");
    h.MenuBar->SetSkinData(Skin >= 0 ? h.Data : nullptr);
    h.MenuBar->SetMainMenu(menu);
    h.MenuBar->SetSkinForm(h.Skin);
    h.MenuBar->SetParent(h.Main);
    h.Bar = new TbsSkinMDITabsBar(h.Main);
    h.Bar->SetName(L"TabsBar");
    h.Bar->SetTop(40);
    h.Bar->SetAlign(alTop);
    h.Bar->SetParent(h.Main);
    h.Bar->SetSkinData(Skin >= 0 ? h.Data : nullptr);
    h.Bar->SetSkinForm(h.Skin);
    h.Bar->SetShowCloseButtons(true);
    h.Bar->SetShowAddButton(true);
    h.Bar->SetShowChildIcon(true);
    h.Skin->SetMDITabsBar(h.Bar);
    h.Main->SetWindowMenu(window);
    h.Main->Show();
    Pump(100);
    for (int i = 0; i < Children; ++i) {
        auto* f = new TForm(nullptr);
        f->SetName(L"Child" + std::to_wstring(i + 1));
        f->SetFormStyle(fsMDIChild);
        f->SetBorderStyle(bsSizeable);
        f->SetBounds(10 + 40 * i, 10 + 30 * i, 260, 170);
        f->SetCaption(kChildCaptions[i % 5]);
        auto* skin = new TbsSkinForm(f);
        if (Skin >= 0)
            skin->SetSkinData(h.Data);
        f->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
        if (i == 1) {
            auto* own = new TMainMenu(f);
            AddTop(own, L"&Правка", 1);
        }
        f->Show();
        h.Children.push_back(f);
    }
    h.Bar->OnAddButtonClick = [](TObject*) {};
    Pump(100);
    return h;
}

TShot Capture(HWND w) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(150);
    RECT r{};
    GetWindowRect(w, &r);
    TShot s;
    s.W = r.right - r.left;
    s.H = r.bottom - r.top;
    s.Px = GrabScreen(r);
    return s;
}

}  // namespace

int MDIGallery(const std::wstring& file) {
    auto list = std::make_unique<TbsCompressedSkinList>(nullptr);
    LoadNotifierSkinList(*list);
    TMDIHostForms h = MakeHost(3, list.get(), -1);
    std::vector<std::vector<TShot>> rows(3);
    std::vector<std::wstring> titles;
    int missing = 0;
    for (int skin : kLooks) {
        if (skin >= 0) {
            h.Data->SetSkinIndex(skin);
            h.Data->SetSkinList(list.get());
        }
        TbsSkinData* data = skin >= 0 ? h.Data : nullptr;
        h.Skin->SetSkinData(data);
        h.Bar->SetSkinData(data);
        h.MenuBar->SetSkinData(data);
        for (TForm* c : h.Children)
            GetSkinFormComponent(c)->SetSkinData(data);
        titles.push_back(skin >= 0 ? std::to_wstring(skin) + L" " + h.Data->SkinName : L"built-in");
        Pump(100);
        // One child partly out at the right: the skinned scroll bar shows.
        TForm* last = h.Children.back();
        h.Main->Cascade();
        last->SetBounds(440, 150, 260, 170);
        SendMessageW(h.Main->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(last->Handle()), 0);
        Pump(150);
        if (!h.Skin->MDIHScrollBar() || !IsWindowVisible(h.Skin->MDIHScrollBar()->Control()->Handle())) {
            std::fprintf(stderr, "no scroll bar in look %d\n", skin);
            ++missing;
        }
        rows[0].push_back(Capture(h.Main->Handle()));
        SendMessageW(h.Main->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(h.Children[1]->Handle()), 0);
        GetSkinFormComponent(h.Children[1])->SetWindowState(wsMaximized);
        Pump(150);
        if (!h.MenuBar->MDIChildMax()) {
            std::fprintf(stderr, "no MDI buttons on the menu bar in look %d\n", skin);
            ++missing;
        }
        rows[1].push_back(Capture(h.Main->Handle()));
        GetSkinFormComponent(h.Children[1])->SetWindowState(wsNormal);
        // The tabs as buttons.
        h.Bar->SetTabKind(bstkButton);
        Pump(50);
        rows[2].push_back(Capture(h.Main->Handle()));
        h.Bar->SetTabKind(bstkTab);
        Pump(50);
    }
    for (const auto& row : rows)
        for (const TShot& s : row)
            missing += s.Px.empty();
    for (TForm* c : h.Children)
        delete c;
    delete h.Main;
    if (WriteShotPage(rows, titles, file) != 0)
        return 1;
    std::printf("mdi host in %zu looks, %d missing\n", titles.size(), missing);
    return missing ? 1 : 0;
}

int MDIHost(int Skin, int Children, int QuitAfter) {
    auto list = std::make_unique<TbsCompressedSkinList>(nullptr);
    LoadNotifierSkinList(*list);
    TMDIHostForms h = MakeHost(Children, list.get(), Skin);
    std::printf("MDI host window %p, client %p, %d children\n", static_cast<void*>(h.Main->Handle()),
                static_cast<void*>(h.Main->ClientHandle()), h.Main->MDIChildCount());
    std::fflush(stdout);
    if (QuitAfter > 0) {
        Pump(static_cast<DWORD>(QuitAfter));
    } else {
        while (!Application->Terminated() && IsWindow(h.Main->Handle()))
            Application->HandleMessage();
    }
    for (TForm* c : h.Children)
        delete c;
    delete h.Main;
    return 0;
}
