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

// Four 16 x 16 pictures: an envelope, a printer-like block, two coloured marks.
void FillImages(TCustomImageList* list) {
    const COLORREF colours[] = {RGB(40, 110, 200), RGB(90, 90, 90), RGB(30, 160, 60), RGB(200, 60, 40)};
    for (COLORREF c : colours) {
        TBitmap b(16, 16, pf24bit);
        HDC dc = b.Canvas()->Handle();
        HBRUSH back = CreateSolidBrush(RGB(255, 0, 255));
        RECT all{0, 0, 16, 16};
        FillRect(dc, &all, back);
        DeleteObject(back);
        HBRUSH brush = CreateSolidBrush(c);
        RECT body{1, 3, 15, 13};
        FillRect(dc, &body, brush);
        DeleteObject(brush);
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, 2, 4, nullptr);
        LineTo(dc, 8, 9);
        LineTo(dc, 15, 3);
        SelectObject(dc, old);
        DeleteObject(pen);
        list->AddMasked(&b, RGB(255, 0, 255));
    }
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

}  // namespace

int FormGallery(const std::wstring& family, const std::wstring& file) {
    if (family == L"quickbuttons")
        return QuickButtonsPage(file);
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
    std::fflush(stdout);
    if (QuitAfter > 0) {
        auto* quit = new TTimer(h.Form);
        quit->SetInterval(static_cast<UINT>(QuitAfter));
        quit->OnTimer = [](TObject*) { Application->Terminate(); };
    }
    h.Form->OnClose = [](TObject*, TCloseAction&) { Application->Terminate(); };
    Application->Run();
    delete h.Form;
    return 0;
}
