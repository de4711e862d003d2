// controls_demo: builds a settings-like form from the class library's controls (Cyrillic texts included), shows it
// and saves screen captures next to the given path prefix:
//
//   scripts/wine-session.sh start <build>  &&  <build>/wine-run <build>/bin/controls_demo.exe Z:\tmp\demo
//
// writes demo-form.png, demo-hint.png and demo-popup.png.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Mask.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "classlib/WicCodec.h"

namespace {

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Application->ProcessMessages();
        Sleep(10);
    }
}

// The screen rectangle r as a PNG file.
void Capture(const TRect& r, const std::wstring& path) {
    const int w = r.Width(), h = r.Height();
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, r.Left, r.Top, SRCCOPY);
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + static_cast<size_t>(w) * h);
    for (auto& p : pixels)
        p |= 0xFF000000u;  // screen pixels carry no alpha
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    const std::string png = EncodePng(pixels.data(), w, h);
    if (FILE* f = _wfopen(path.c_str(), L"wb")) {
        fwrite(png.data(), 1, png.size(), f);
        fclose(f);
    }
}

template <typename T>
T* Add(TForm* form, TWinControl* parent, int x, int y, int w, int h) {
    T* c = new T(form);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring prefix = argv && argc > 1 ? argv[1] : L"demo";
    LocalFree(argv);
    auto* form = new TForm(Application);
    form->SetCaption(L"Trelm Mail — настройки");
    form->SetBounds(40, 40, 640, 470);
    form->SetShowHint(true);
    form->Font()->SetName(L"Tahoma");

    auto* pages = Add<TPageControl>(form, form, 8, 8, 616, 380);
    auto* general = new TTabSheet(form);
    general->SetCaption(L"Общие");
    general->SetPageControl(pages);
    auto* boxes = new TTabSheet(form);
    boxes->SetCaption(L"Почтовые ящики");
    boxes->SetPageControl(pages);
    auto* sounds = new TTabSheet(form);
    sounds->SetCaption(L"Звуки");
    sounds->SetPageControl(pages);

    auto* title = Add<TLabel>(form, general, 12, 12, 0, 0);
    title->SetCaption(L"Имя пользователя:");
    auto* user = Add<TEdit>(form, general, 150, 8, 180, 23);
    user->SetText(L"Иван Петров");
    user->SetHint(L"Имя, которое видят получатели|");
    auto* timeLabel = Add<TLabel>(form, general, 12, 44, 0, 0);
    timeLabel->SetCaption(L"Проверять в:");
    auto* time = Add<TMaskEdit>(form, general, 150, 40, 60, 23);
    time->SetEditMask(L"!90:00;1; ");
    time->SetText(L"09:30");
    auto* up = Add<TUpDown>(form, general, 0, 0, 17, 23);
    auto* interval = Add<TEdit>(form, general, 230, 40, 50, 23);
    up->SetMax(60);
    up->SetPosition(15);
    up->SetAssociate(interval);
    auto* group = Add<TGroupBox>(form, general, 12, 76, 270, 110);
    group->SetCaption(L"Уведомление");
    auto* r1 = Add<TRadioButton>(form, group, 10, 22, 240, 20);
    r1->SetCaption(L"Всплывающее окно");
    r1->SetChecked(true);
    auto* r2 = Add<TRadioButton>(form, group, 10, 46, 240, 20);
    r2->SetCaption(L"Только звук");
    auto* check = Add<TCheckBox>(form, group, 10, 72, 240, 20);
    check->SetCaption(L"Показывать значок в трее");
    check->SetChecked(true);
    auto* combo = Add<TComboBox>(form, general, 300, 76, 290, 23);
    combo->SetStyle(csDropDownList);
    for (const wchar_t* s : {L"Каждую минуту", L"Каждые 5 минут", L"Каждый час"})
        combo->Items()->Add(s);
    combo->SetItemIndex(1);
    auto* list = Add<TListBox>(form, general, 300, 108, 290, 78);
    for (const wchar_t* s : {L"Входящие", L"Работа", L"Рассылки"})
        list->Items()->Add(s);
    list->SetItemIndex(0);
    auto* bevel = Add<TBevel>(form, general, 12, 196, 578, 2);
    bevel->SetShape(bsTopLine);
    auto* memo = Add<TMemo>(form, general, 12, 206, 280, 130);
    memo->SetScrollBars(ssVertical);
    memo->Lines()->SetText(L"Подпись:\r\nС уважением,\r\nИван Петров\r\nтел. +7 000 000-00-00");
    auto* tree = Add<TTreeView>(form, general, 300, 206, 290, 130);
    TTreeNode* inbox = tree->Items()->Add(nullptr, L"Входящие (12)");
    tree->Items()->AddChild(inbox, L"Работа");
    tree->Items()->AddChild(inbox, L"Семья");
    tree->Items()->Add(nullptr, L"Отправленные");
    inbox->Expand(false);

    auto* lv = Add<TListView>(form, boxes, 8, 8, 592, 330);
    lv->SetViewStyle(vsReport);
    lv->SetRowSelect(true);
    lv->SetGridLines(true);
    lv->SetCheckboxes(true);
    for (auto [caption, width] : {std::pair{L"Ящик", 200}, {L"Сервер", 220}, {L"Писем", 80}}) {
        TListColumn* c = lv->Columns()->Add();
        c->SetCaption(caption);
        c->SetWidth(width);
    }
    const wchar_t* rows[][3] = {{L"ivan@example.ru", L"imap.example.ru", L"12"},
                                {L"work@example.com", L"mail.example.com", L"3"},
                                {L"рассылки@пример.рф", L"imap.пример.рф", L"0"}};
    for (auto& row : rows) {
        TListItem* item = lv->Items()->Add();
        item->SetCaption(row[0]);
        item->SubItems()->Add(row[1]);
        item->SubItems()->Add(row[2]);
    }
    lv->Items()->Item(0)->SetChecked(true);
    lv->OnCustomDrawItem = [](TCustomListView* sender, TListItem* item, TCustomDrawState, bool&) {
        if (item->Index() == 1)
            sender->Canvas()->Brush()->SetColor(TColor(0x00E0F0FF));
    };

    auto* panel = Add<TPanel>(form, form, 8, 396, 616, 36);
    panel->SetCaption(L"Готово: 3 ящика, 15 писем");
    auto* ok = Add<TButton>(form, form, 460, 400, 75, 28);
    ok->SetCaption(L"ОК");
    ok->SetHint(L"Сохранить настройки и закрыть окно|");
    auto* cancel = Add<TButton>(form, form, 545, 400, 75, 28);
    cancel->SetCaption(L"Отмена");

    auto* popup = new TPopupMenu(form);
    for (const wchar_t* s : {L"&Проверить почту", L"-", L"Настройки...", L"Выход"}) {
        auto* item = new TMenuItem(form);
        item->SetCaption(s);
        popup->Items()->Add(item);
    }
    form->Show();
    Pump(400);
    const TRect frame = form->BoundsRect();
    Capture(frame, prefix + L"-form.png");

    pages->SetActivePage(boxes);
    Pump(300);
    Capture(frame, prefix + L"-list.png");
    pages->SetActivePage(general);

    Application->HintPause = 100;
    const TPoint p = ok->ClientToScreen({30, 12});
    SetCursorPos(p.X, p.Y);
    Pump(600);
    Capture({frame.Left, frame.Top, frame.Right + 200, frame.Bottom + 60}, prefix + L"-hint.png");
    SetCursorPos(0, 0);

    // The popup menu is modal: capture it from a timer running inside its loop, then close it.
    TTimer shot(nullptr);
    shot.SetInterval(300);
    shot.OnTimer = [&](TObject*) {
        shot.SetEnabled(false);
        Capture(frame, prefix + L"-popup.png");
        keybd_event(VK_ESCAPE, 0, 0, 0);
        keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    };
    popup->Popup(frame.Left + 200, frame.Top + 150);
    std::printf("saved\n");
    return 0;
}
