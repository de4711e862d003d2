// skinform_tool gallery quickbuttons OUT.png: a skinned host form with quick buttons (plain, drop-down, a sticky
// pair, a right-hand button with a caption) in the built-in look and in skins 23, 81, 43 and 31 (31 draws them into
// the top image of its full layered border), each in a few states, read back from the screen.
// skinform_tool quickhost INDEX: the same host form shown until closed, for driving from a shell; it prints the
// window handle and every button's rectangle (window coordinates) and each click.
#include "FormGallery.h"
#include "Gallery.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/SkinLists.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/WicCodec.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/LayerBorder.h"
#include "skin/form/QuickButtons.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenu.h"
#include "skin/imagesmenu/ImagesMenu.h"
#include "skin/menubar/MainMenuBar.h"
#include "skin/form/SkinPopupMenu.h"
#include "tests/classlib/ScreenGrab.h"

namespace {

constexpr int kGap = 12, kHead = 24;

void Pump(DWORD ms) {
    PumpFor(ms);
}

TShot Grab(const RECT& r) {
    TShot s;
    s.W = r.right - r.left;
    s.H = r.bottom - r.top;
    s.Px = GrabScreen(r);
    return s;
}

// Four 16 x 16 envelopes in different colours.
void FillImages(TCustomImageList* list) {
    for (COLORREF c : {RGB(40, 110, 200), RGB(90, 90, 90), RGB(30, 160, 60), RGB(200, 60, 40)})
        AddEnvelopePicture(list, c, true);
}

struct TQuickHost {
    TForm* Form = nullptr;
    TbsSkinForm* Skin = nullptr;
    TbsSkinData* Data = nullptr;
    TImageList* Images = nullptr;
    TbsSkinPopupMenu* Menu = nullptr;
};

TbsCompressedSkinList* SkinList() {
    static TbsCompressedSkinList* list = nullptr;
    if (!list) {
        list = new TbsCompressedSkinList(Application);
        LoadNotifierSkinList(*list);
    }
    return list;
}

// The host form: caption buttons, quick buttons of every kind, skin Index (-1: the built-in look).
TQuickHost MakeQuickHost(int Index, int X, int Y) {
    TQuickHost h;
    h.Form = new TForm(nullptr);
    h.Form->SetFormStyle(fsStayOnTop);
    h.Form->SetBorderStyle(bsSizeable);
    h.Form->SetBounds(X, Y, 440, 150);
    h.Form->SetCaption(L"Почта — быстрые кнопки");
    h.Skin = new TbsSkinForm(h.Form);
    h.Data = new TbsSkinData(h.Form);
    h.Images = new TImageList(h.Form, 16, 16);
    FillImages(h.Images);
    h.Menu = new TbsSkinPopupMenu(h.Form);
    for (const wchar_t* t : {L"Проверить почту", L"Открыть ящик", L"Настройки"}) {
        auto* item = new TMenuItem(h.Menu);
        item->SetCaption(t);
        h.Menu->Items()->Add(item);
    }
    h.Skin->SetQuickImageList(h.Images);
    h.Skin->QuickButtonsShowHint = true;
    TbsQuickButtonItems* q = h.Skin->QuickButtons();
    auto add = [&](int Image, const wchar_t* Hint, const wchar_t* Caption, TbsQuickButtonPos Pos, int Group) {
        TbsQuickButtonItem* b = q->Add();
        b->SetImageIndex(Image);
        b->Hint = Hint;
        b->SetCaption(Caption);
        b->SetPosition(Pos);
        b->SetGroupIndex(Group);
        const int n = q->Count() - 1;
        b->OnClick = [n](TObject*) {
            std::printf("click %d\n", n);
            std::fflush(stdout);
        };
        return b;
    };
    add(0, L" Сохранить ", L"", bsqbpLeft, 0);
    add(1, L"Меню", L"", bsqbpLeft, 0)->SetPopupMenu(h.Menu);
    add(2, L"Вид 1", L"", bsqbpLeft, 1)->SetAllowAllUp(true);
    add(3, L"Вид 2", L"", bsqbpLeft, 1);
    add(1, L"", L"Печать", bsqbpRight, 0);
    if (Index >= 0) {
        h.Data->SetSkinIndex(Index);
        h.Data->SetSkinList(SkinList());
    }
    h.Skin->SetSkinData(h.Data);
    return h;
}

// The form with its layered border when one shows.
RECT OuterRect(const TQuickHost& h) {
    RECT r{};
    GetWindowRect(h.Form->Handle(), &r);
    if (TbsFormLayerBorder* b = h.Skin->BorderLayer(); b && h.Skin->FullBorderShown()) {
        for (auto t : {bsflTop, bsflLeft, bsflRight, bsflBottom})
            if (TbsFormLayerWindow* w = b->Window(t); w && w->HandleAllocated() && IsWindowVisible(w->Handle())) {
                RECT wr{};
                GetWindowRect(w->Handle(), &wr);
                UnionRect(&r, &r, &wr);
            }
    }
    return r;
}

int QuickButtonsPage(const std::wstring& file) {
    const int skins[] = {-1, 23, 81, 43, 31};
    std::vector<std::wstring> titles;
    const std::vector<std::wstring> states = {L"обычные", L"наведена первая", L"нажата, залипшая внизу",
                                              L"без списка картинок"};
    std::vector<std::vector<TShot>> rows(states.size());
    int failed = 0;
    for (int skin : skins) {
        TQuickHost h = MakeQuickHost(skin, 60, 60);
        titles.push_back(skin < 0 ? L"встроенный вид" : std::to_wstring(skin) + L" " + h.Data->SkinName);
        h.Form->Show();
        SetForegroundWindow(h.Form->Handle());
        Pump(250);
        TbsQuickButtonItems* q = h.Skin->QuickButtons();
        for (size_t s = 0; s < states.size(); ++s) {
            if (s == 1)
                q->Items(0)->Active = true;
            if (s == 2) {
                q->Items(0)->Active = false;
                q->Items(1)->FDown = true;
                q->Items(1)->Active = true;
                q->Items(3)->SetDown(true);
            }
            if (s == 3)
                h.Skin->SetQuickImageList(nullptr);
            h.Skin->UpDateFormNC();
            Pump(120);
            rows[s].push_back(Grab(OuterRect(h)));
        }
        // The buttons were laid out in a look with a caption object (the built-in look has none).
        if (skin >= 0 && IsNullRect(q->Items(0)->ItemRect)) {
            std::printf("skin %d: quick buttons not laid out\n", skin);
            ++failed;
        }
        delete h.Form;
        Pump(50);
    }
    const int rc = WriteShotPage(rows, titles, file, states);
    std::printf("quick buttons in %zu looks, %d failed\n", titles.size(), failed);
    return rc ? rc : (failed ? 1 : 0);
}

struct TMenuBarHost {
    TForm* Form = nullptr;
    TbsSkinForm* Skin = nullptr;
    TbsSkinData* Data = nullptr;
    TMainMenu* Menu = nullptr;
    TbsSkinMainMenuBar* Bar = nullptr;
};

// A host form with a main menu bar over nested menus (an entry hidden behind the marker when narrow).
TMenuBarHost MakeMenuBarHost(int Index, int X, int Y, int W) {
    TMenuBarHost h;
    h.Form = new TForm(nullptr);
    h.Form->SetFormStyle(fsStayOnTop);
    h.Form->SetBorderStyle(bsSizeable);
    h.Form->SetBounds(X, Y, W, 170);
    h.Form->SetCaption(L"Почта — меню");
    h.Skin = new TbsSkinForm(h.Form);
    h.Data = new TbsSkinData(h.Form);
    h.Menu = new TMainMenu(h.Form);
    auto add = [&](TMenuItem* Parent, const wchar_t* Caption) {
        auto* item = new TMenuItem(h.Menu);
        item->SetCaption(Caption);
        Parent->Add(item);
        item->OnClick = [item](TObject*) {
            std::printf("click %d\n", item->MenuIndex());
            std::fflush(stdout);
        };
        return item;
    };
    TMenuItem* file = add(h.Menu->Items(), L"&Файл");
    add(file, L"&Проверить почту");
    TMenuItem* recent = add(file, L"Последние ящики");
    add(recent, L"imap.почта.рф");
    add(recent, L"imap.mail.ru");
    add(file, L"-");
    add(file, L"В&ыход");
    TMenuItem* edit = add(h.Menu->Items(), L"&Правка");
    add(edit, L"Копировать");
    add(edit, L"Вставить");
    TMenuItem* view = add(h.Menu->Items(), L"&Вид");
    add(view, L"Панель");
    TMenuItem* tools = add(h.Menu->Items(), L"&Сервис");
    add(tools, L"Настройки");
    TMenuItem* help = add(h.Menu->Items(), L"Спр&авка");
    add(help, L"О программе");
    h.Bar = new TbsSkinMainMenuBar(h.Form);
    h.Bar->SetParent(h.Form);
    h.Bar->SetSkinForm(h.Skin);
    if (Index >= 0) {
        h.Data->SetSkinIndex(Index);
        h.Data->SetSkinList(SkinList());
    }
    h.Skin->SetSkinData(h.Data);
    h.Bar->SetSkinData(h.Data);
    h.Bar->SetMainMenu(h.Menu);
    return h;
}

RECT WithMenus(TbsSkinForm* Skin, RECT R) {
    for (int i = 0; i < Skin->SkinMenu()->LevelCount(); ++i) {
        TbsSkinPopupWindow* l = Skin->SkinMenu()->Level(i);
        if (l->HandleAllocated() && IsWindowVisible(l->Handle())) {
            RECT lr{};
            GetWindowRect(l->Handle(), &lr);
            UnionRect(&R, &R, &lr);
        }
    }
    return R;
}

int MenuBarPage(const std::wstring& file) {
    const int skins[] = {-1, 23, 81, 43};
    std::vector<std::wstring> titles;
    const std::vector<std::wstring> states = {L"обычная", L"меню открыто", L"узкая, маркер", L"панель инструментов"};
    std::vector<std::vector<TShot>> rows(states.size());
    int failed = 0;
    for (int skin : skins) {
        TMenuBarHost h = MakeMenuBarHost(skin, 60, 60, 420);
        titles.push_back(skin < 0 ? L"встроенный вид" : std::to_wstring(skin) + L" " + h.Data->SkinName);
        h.Form->Show();
        SetForegroundWindow(h.Form->Handle());
        Pump(250);
        RECT r{};
        GetWindowRect(h.Form->Handle(), &r);
        rows[0].push_back(Grab(r));
        // The first entry pressed, then its nested level opened by the keys.
        std::vector<TbsSkinMainMenuBarItem*> e = h.Bar->Entries();
        e[0]->MouseDown(0, 0, mbLeft);
        Pump(200);
        if (TbsSkinPopupWindow* l = h.Skin->SkinMenu()->LastLevel()) {
            l->PopupKeyDown(VK_DOWN);
            Pump(60);
            l->PopupKeyDown(VK_RIGHT);
        }
        Pump(250);
        if (!h.Skin->SkinMenu()->Visible()) {
            std::printf("skin %d: the drop-down did not open\n", skin);
            ++failed;
        }
        rows[1].push_back(Grab(WithMenus(h.Skin, r)));
        h.Skin->SkinMenu()->Hide();
        h.Bar->MenuExit();
        Pump(100);
        h.Form->SetBounds(60, 60, 230, 170);
        Pump(150);
        GetWindowRect(h.Form->Handle(), &r);
        rows[2].push_back(Grab(r));
        if (!h.Bar->Scroll) {
            std::printf("skin %d: nothing hidden in a narrow bar\n", skin);
            ++failed;
        }
        // Tool-bar mode without the skin's size: tool buttons on the tool panel, the second entry lit.
        h.Form->SetBounds(60, 60, 420, 170);
        h.Bar->UseSkinSize = false;
        h.Bar->SetToolBarMode(true);
        h.Bar->SetBounds(0, 0, h.Bar->Width(), 26);
        h.Bar->Entries()[1]->MouseEnter();
        Pump(250);
        GetWindowRect(h.Form->Handle(), &r);
        rows[3].push_back(Grab(r));
        delete h.Form;
        Pump(50);
    }
    const int rc = WriteShotPage(rows, titles, file, states);
    std::printf("menu bar in %zu looks, %d failed\n", titles.size(), failed);
    return rc ? rc : (failed ? 1 : 0);
}

struct TImagesMenuHost {
    TForm* Form = nullptr;
    TbsSkinForm* Skin = nullptr;
    TbsSkinData* Data = nullptr;
    TImageList* Images = nullptr;
    TbsSkinImagesMenu* Menu = nullptr;
};

// A host form with an images menu: a header, eight images in four columns, a button row.
TImagesMenuHost MakeImagesMenuHost(int Index, int X, int Y) {
    TImagesMenuHost h;
    h.Form = new TForm(nullptr);
    h.Form->SetFormStyle(fsStayOnTop);
    h.Form->SetBorderStyle(bsSizeable);
    h.Form->SetBounds(X, Y, 300, 190);
    h.Form->SetCaption(L"Почта — значки");
    h.Skin = new TbsSkinForm(h.Form);
    h.Data = new TbsSkinData(h.Form);
    h.Images = new TImageList(h.Form, 16, 16);
    FillImages(h.Images);
    FillImages(h.Images);
    h.Menu = new TbsSkinImagesMenu(h.Form);
    h.Menu->SetImages(h.Images);
    h.Menu->SetColumnsCount(4);
    TbsImagesMenuItem* head = h.Menu->ImagesItems()->Add();
    head->Header = true;
    head->Caption = L"Значок ящика";
    for (int i = 0; i < 8; ++i) {
        TbsImagesMenuItem* it = h.Menu->ImagesItems()->Add();
        it->ImageIndex = i;
        it->Hint = L"Значок " + std::to_wstring(i + 1);
    }
    TbsImagesMenuItem* none = h.Menu->ImagesItems()->Add();
    none->Button = true;
    none->Caption = L"Без значка";
    h.Menu->OnChange = [m = h.Menu](TObject*) {
        std::printf("change %d\n", m->ItemIndex);
        std::fflush(stdout);
    };
    if (Index >= 0) {
        h.Data->SetSkinIndex(Index);
        h.Data->SetSkinList(SkinList());
    }
    h.Skin->SetSkinData(h.Data);
    h.Menu->SetSkinData(h.Data);
    h.Menu->ItemIndex = 3;
    return h;
}

// The open popup dropped from the form's client top-left area.
void OpenImagesMenu(TImagesMenuHost& h) {
    POINT p{20, 10};
    ClientToScreen(h.Form->Handle(), &p);
    h.Menu->PopupFromRect(TRect{p.x, p.y, p.x + 80, p.y + 20});
}

int ImagesMenuPage(const std::wstring& file) {
    const int skins[] = {-1, 23, 81, 43};
    std::vector<std::wstring> titles;
    const std::vector<std::wstring> states = {L"открыто, выбран 4-й", L"наведён 6-й"};
    std::vector<std::vector<TShot>> rows(states.size());
    int failed = 0;
    for (int skin : skins) {
        TImagesMenuHost h = MakeImagesMenuHost(skin, 60, 60);
        titles.push_back(skin < 0 ? L"встроенный вид" : std::to_wstring(skin) + L" " + h.Data->SkinName);
        h.Form->Show();
        SetForegroundWindow(h.Form->Handle());
        Pump(200);
        OpenImagesMenu(h);
        Pump(150);
        TbsSkinImagesMenuPopupWindow* w = h.Menu->PopupWindow();
        if (!w) {
            std::printf("skin %d: the images menu did not open\n", skin);
            ++failed;
            delete h.Form;
            continue;
        }
        RECT r{}, pr{};
        GetWindowRect(h.Form->Handle(), &r);
        GetWindowRect(w->Handle(), &pr);
        UnionRect(&r, &r, &pr);
        rows[0].push_back(Grab(r));
        w->ProcessKey(VK_RIGHT);
        for (int i = 0; i < 5; ++i)
            w->ProcessKey(VK_RIGHT);
        Pump(120);
        rows[1].push_back(Grab(r));
        h.Menu->Hide();
        Pump(50);
        delete h.Form;
        Pump(50);
    }
    const int rc = WriteShotPage(rows, titles, file, states);
    std::printf("images menu in %zu looks, %d failed\n", titles.size(), failed);
    return rc ? rc : (failed ? 1 : 0);
}

// Runs the application until the form closes or QuitAfter ms have passed (0: no limit); frees the form.
int RunHost(TForm* Form, int QuitAfter) {
    std::fflush(stdout);
    if (QuitAfter > 0) {
        auto* quit = new TTimer(Form);
        quit->SetInterval(static_cast<UINT>(QuitAfter));
        quit->OnTimer = [](TObject*) { Application->Terminate(); };
    }
    Form->OnClose = [](TObject*, TCloseAction&) { Application->Terminate(); };
    Application->Run();
    delete Form;
    return 0;
}

}  // namespace

int FormGallery(const std::wstring& family, const std::wstring& file) {
    if (family == L"quickbuttons")
        return QuickButtonsPage(file);
    if (family == L"menubar")
        return MenuBarPage(file);
    if (family == L"imagesmenu")
        return ImagesMenuPage(file);
    return 2;
}

int QuickHost(int Index, int QuitAfter) {
    TQuickHost h = MakeQuickHost(Index, 200, 150);
    h.Form->Show();
    Pump(200);
    std::printf("hwnd %llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h.Form->Handle())));
    TbsQuickButtonItems* q = h.Skin->QuickButtons();
    for (int i = 0; i < q->Count(); ++i) {
        const TRect& r = q->Items(i)->ItemRect;
        std::printf("button %d %d %d %d %d\n", i, r.Left, r.Top, r.Right, r.Bottom);
    }
    return RunHost(h.Form, QuitAfter);
}

int MenuBarHost(int Index, int QuitAfter) {
    TMenuBarHost h = MakeMenuBarHost(Index, 200, 150, 420);
    h.Form->Show();
    Pump(200);
    std::printf("hwnd %llu bar %llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h.Form->Handle())),
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h.Bar->Handle())));
    for (TbsSkinMainMenuBarItem* e : h.Bar->Entries()) {
        const TRect& r = e->ObjectRect;
        std::printf("entry %d %d %d %d\n", r.Left, r.Top, r.Right, r.Bottom);
    }
    return RunHost(h.Form, QuitAfter);
}

int ImagesMenuHost(int Index, int QuitAfter) {
    TImagesMenuHost h = MakeImagesMenuHost(Index, 200, 150);
    h.Form->Show();
    Pump(200);
    // A click on the form opens the menu again.
    h.Form->OnMouseDown = [&h](TObject*, TMouseButton, TShiftState, int, int) { OpenImagesMenu(h); };
    OpenImagesMenu(h);
    std::printf("hwnd %llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h.Form->Handle())));
    return RunHost(h.Form, QuitAfter);
}
