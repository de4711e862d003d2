// skinform_tool gallery dialogs OUT.png: the message box (a question with its 64 x 64 picture, and a confirmation with
// the "do not show again" check box), the password dialog in login mode and the skin dialog, each built and shown
// modally as the notifier shows it, with Cyrillic texts, in the built-in look and in skins 23, 81 and 43. A timer
// inside the modal loop captures the dialog from the screen and closes it. Exit code 1 when a dialog did not show.
// skinform_tool gallery opendialogs OUT.png: the open and the sound dialog the same way, over a folder of Cyrillic
// names, each view style once.
#include "Gallery.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/SkinLists.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/WicCodec.h"
#include "skin/core/ResourceStrings.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/OpenSoundDialog.h"
#include "skin/dialogs/PasswordDialog.h"
#include "skin/dialogs/SelectSkinDialog.h"
#include "skin/dialogs/SkinMessage.h"
#include "skin/shell/ShellFolder.h"
#include "tests/classlib/ScreenGrab.h"

namespace {

constexpr int kSkins[] = {-1, 23, 81, 43};  // -1: the built-in look
constexpr int kGap = 12, kHead = 24;
// The notifier pads its box texts with 15 blanks so that they clear the 64 x 64 picture.
const std::wstring kPad(15, L' ');

// Runs Show (a modal call); once a visible window with Caption has painted (Ticks timer ticks of 40 ms after it
// showed), grabs it and lets Close end it.
TShot CaptureModal(const std::wstring& Caption, const std::function<void()>& Show,
                   const std::function<void(HWND)>& Close, int Ticks = 6) {
    TShot shot;
    int seen = 0;
    bool done = false;
    TTimer timer(nullptr);
    timer.SetInterval(40);
    timer.OnTimer = [&](TObject*) {
        HWND w = FindWindowW(nullptr, Caption.c_str());
        if (done || !w || !IsWindowVisible(w) || ++seen < Ticks)
            return;
        done = true;
        timer.SetEnabled(false);
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        for (int i = 0; i < 5; ++i) {
            Application->ProcessMessages();
            Sleep(20);
        }
        RECT r{};
        GetWindowRect(w, &r);
        shot.W = r.right - r.left;
        shot.H = r.bottom - r.top;
        shot.Px = GrabScreen(r);
        Close(w);
    };
    Show();
    if (!done)
        shot = {};
    return shot;
}

struct TNameSearch {
    const wchar_t* name;
    HWND found;
};

BOOL CALLBACK MatchTrelmName(HWND w, LPARAM l) {
    auto* s = reinterpret_cast<TNameSearch*>(l);
    auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(w, L"TrelmName")));
    wchar_t buf[64] = {};
    if (atom && GlobalGetAtomNameW(atom, buf, 64) && std::wstring(buf) == s->name) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// Clicks top's control of that Name, or closes top when it has none.
void ClickNamed(HWND top, const wchar_t* name) {
    TNameSearch s{name, nullptr};
    EnumChildWindows(top, MatchTrelmName, reinterpret_cast<LPARAM>(&s));
    if (s.found)
        PostMessageW(s.found, BM_CLICK, 0, 0);
    else
        PostMessageW(top, WM_CLOSE, 0, 0);
}

// The box pictures: a notice and a question sign on a round plate.
std::unique_ptr<TImageList> BoxPictures() {
    auto list = std::make_unique<TImageList>(nullptr, 64, 64);
    for (const wchar_t* sign : {L"!", L"?"}) {
        TBitmap b(64, 64, pf24bit);
        TCanvas* c = b.Canvas();
        c->Brush()->SetColor(RGB(255, 0, 255));
        c->FillRect(TRect{0, 0, 64, 64});
        c->Pen()->SetColor(RGB(20, 70, 150));
        c->Brush()->SetColor(RGB(50, 120, 210));
        c->Ellipse(2, 2, 62, 62);
        c->Font()->SetName(L"Arial");
        c->Font()->SetHeight(44);
        c->Font()->SetStyle({fsBold});
        c->Font()->SetColor(RGB(255, 255, 255));
        c->Brush()->SetStyle(bsClear);
        TRect r{0, 0, 64, 64};
        c->DrawText(sign, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        list->AddMasked(&b, RGB(255, 0, 255));
    }
    return list;
}

// The skin container of one look (skin -1: the built-in look) with the page's texts; its title goes to Titles.
TbsSkinData* LookData(TComponent* Owner, int Skin, TbsResourceStrData* Texts, TbsCompressedSkinList* List,
                      std::vector<std::wstring>& Titles) {
    auto* data = new TbsSkinData(Owner);
    data->SetResourceStrData(Texts);
    std::wstring title = L"built-in";
    if (Skin >= 0) {
        data->SetSkinIndex(Skin);
        data->SetSkinList(List);
        title = std::to_wstring(Skin) + L" " + data->SkinName;
    }
    Titles.push_back(title);
    return data;
}

}  // namespace

int WriteShotPage(const std::vector<std::vector<TShot>>& rows,
                  const std::vector<std::wstring>& titles,
                  const std::wstring& file,
                  const std::vector<std::wstring>& states) {
    const int cols = static_cast<int>(titles.size());
    const int rowHead = states.empty() ? 0 : 150;
    std::vector<int> colW(static_cast<size_t>(cols), 120), rowH(rows.size(), 40);
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c) {
            colW[c] = std::max(colW[c], rows[r][c].W + kGap);
            rowH[r] = std::max(rowH[r], rows[r][c].H + kGap);
        }
    int W = kGap + rowHead, H = kHead + kGap;
    for (int w : colW)
        W += w;
    for (int h : rowH)
        H += h;
    TBitmap page(W, H, pf32bit);
    HDC dc = page.Canvas()->Handle();
    HBRUSH back = CreateSolidBrush(RGB(0x8C, 0x82, 0x78));
    RECT all{0, 0, W, H};
    FillRect(dc, &all, back);
    DeleteObject(back);
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    int x = kGap + rowHead;
    for (size_t c = 0; c < colW.size(); ++c) {
        RECT t{x, 4, x + colW[c] - kGap, kHead};
        DrawTextW(dc, titles[c].c_str(), -1, &t, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
        x += colW[c];
    }
    int y = kHead;
    for (size_t r = 0; r < rows.size(); ++r) {
        RECT t{6, y, rowHead, y + rowH[r]};
        if (r < states.size())
            DrawTextW(dc, states[r].c_str(), -1, &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        y += rowH[r];
    }
    SelectObject(dc, old);
    DeleteObject(font);
    GdiFlush();
    y = kHead;
    for (size_t r = 0; r < rows.size(); ++r) {
        x = kGap + rowHead;
        for (size_t c = 0; c < rows[r].size(); ++c) {
            const TShot& s = rows[r][c];
            for (int sy = 0; sy < s.H && y + sy < H; ++sy) {
                auto* line = static_cast<std::uint32_t*>(page.ScanLine(y + sy));
                std::copy_n(s.Px.data() + static_cast<size_t>(sy) * s.W, std::min(s.W, W - x), line + x);
            }
            x += colW[c];
        }
        y += rowH[r];
    }
    std::vector<std::uint32_t> px(static_cast<size_t>(W) * H);
    for (int py = 0; py < H; ++py) {
        const auto* line = static_cast<const std::uint32_t*>(page.ScanLine(py));
        for (int p = 0; p < W; ++p)
            px[static_cast<size_t>(py) * W + p] = line[p] | 0xFF000000u;
    }
    std::ofstream out(file.c_str(), std::ios::binary);
    out << EncodePng(px.data(), W, H);
    if (!out) {
        std::fprintf(stderr, "cannot write %ls\n", file.c_str());
        return 1;
    }
    return 0;
}

int DialogGallery(const std::wstring& file) {
    auto list = std::make_unique<TbsCompressedSkinList>(nullptr);
    LoadNotifierSkinList(*list);
    auto pictures = BoxPictures();
    TbsResourceStrData ru(nullptr);
    TStringList lines;
    for (const wchar_t* l : {L"MSG_BTN_YES=Да", L"MSG_BTN_NO=Нет", L"MSG_BTN_OK=ОК", L"MSG_BTN_CANCEL=Отмена",
                             L"MSG_CAP_CONFIRM=Подтверждение", L"MSG_CAP_SHOWFLAG=Больше не показывать",
                             L"MSG_PREVIEWSKIN=Просмотр", L"MSG_PREVIEWBUTTON=Кнопка"})
        lines.Add(l);
    ru.SetResStrs(&lines);

    const int cols = static_cast<int>(std::size(kSkins));
    std::vector<std::vector<TShot>> rows(4, std::vector<TShot>(static_cast<size_t>(cols)));
    std::vector<std::wstring> titles;
    int missing = 0;
    for (int col = 0; col < cols; ++col) {
        const int skin = kSkins[col];
        TComponent owner(nullptr);
        TbsSkinData* data = LookData(&owner, skin, &ru, list.get(), titles);
        TbsSkinData* frame = skin >= 0 ? data : nullptr;

        auto* msg = new TbsSkinMessage(&owner);
        msg->SetSkinData(frame);
        msg->SetCtrlSkinData(data);
        for (TFont* f : {msg->DefaultFont(), msg->DefaultButtonFont()}) {
            f->SetName(L"Arial");
            f->SetHeight(14);
        }
        const std::wstring box = L"Внимание " + std::to_wstring(col);
        rows[0][static_cast<size_t>(col)] = CaptureModal(
            box,
            [&] {
                msg->CustomMessageDlg(kPad + L"Вы действительно хотите удалить E-mail: ivan@mail.ru ?", box,
                                      pictures.get(), 1, {mbYes, mbNo}, 0);
            },
            [](HWND w) { ClickNamed(w, L"No"); });
        msg->ShowAgainFlag = true;
        rows[1][static_cast<size_t>(col)] = CaptureModal(
            L"Подтверждение",
            [&] {
                msg->MessageDlg(L"Проверка почты завершена.\rНовых писем: 3", mtConfirmation, {mbOK, mbCancel}, 0);
            },
            [](HWND w) { ClickNamed(w, L"Cancel"); });

        auto* password = new TbsSkinPasswordDialog(&owner);
        password->SetSkinData(frame);
        password->SetCtrlSkinData(data);
        password->Caption = L"Введите пароль " + std::to_wstring(col);
        password->LoginMode = true;
        password->LoginCaption = L"Имя пользователя:";
        password->PasswordCaption = L"Пароль:";
        password->Login = L"ivan";
        password->Password = L"секрет";
        rows[2][static_cast<size_t>(col)] = CaptureModal(
            password->Caption, [&] { password->Execute(); }, [](HWND w) { ClickNamed(w, L"CancelButton"); });

        auto* skins = new TbsSelectSkinDialog(&owner);
        skins->SetSkinData(frame);
        skins->SetCtrlSkinData(data);
        skins->SetSkinList(list.get());
        skins->Title = L"Выбор скина " + std::to_wstring(col);
        rows[3][static_cast<size_t>(col)] = CaptureModal(
            skins->Title, [&] { skins->Execute(skin >= 0 ? skin : 0); },
            [](HWND w) { ClickNamed(w, L"CancelButton"); });
        for (auto& row : rows)
            missing += row[static_cast<size_t>(col)].Px.empty();
    }

    if (WriteShotPage(rows, titles, file) != 0)
        return 1;
    std::printf("%zu dialogs in %d looks, %d not shown\n", rows.size(), cols, missing);
    return missing ? 1 : 0;
}

namespace {

// A folder of Cyrillic names for the open dialogs' page (made again on every run).
std::wstring OpenGalleryFolder() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    const std::wstring dir = std::wstring(base) + L"trelm-gallery-open";
    CreateDirectoryW(dir.c_str(), nullptr);
    for (const wchar_t* d : {L"Мелодии", L"Языки"})
        CreateDirectoryW((dir + L"\\" + d).c_str(), nullptr);
    for (const wchar_t* f : {L"Звонок.wav", L"Будильник.wav", L"Новое письмо.wav", L"Русский.lng", L"English.lng",
                             L"Заметки.txt"})
        std::ofstream((dir + L"\\" + f).c_str(), std::ios::binary) << "RIFF";
    return dir;
}

}  // namespace

int OpenDialogGallery(const std::wstring& file) {
    TbsShellUnit shellUnit;
    const std::wstring folder = OpenGalleryFolder();
    auto list = std::make_unique<TbsCompressedSkinList>(nullptr);
    LoadNotifierSkinList(*list);
    TbsResourceStrData ru(nullptr);
    TStringList lines;
    for (const wchar_t* l :
         {L"MSG_BTN_OPEN=&Открыть", L"MSG_BTN_CANCEL=Отмена", L"MSG_FILENAME=Имя файла:", L"MSG_FILETYPE=Тип файла:",
          L"FLV_LOOKIN=Папка:", L"MSG_NEWFOLDER=Новая папка", L"MSG_LV_DETAILS=Таблица", L"MSG_LV_LIST=Список"})
        lines.Add(l);
    ru.SetResStrs(&lines);

    // Each view style once, the open dialog and the sound dialog taking turns.
    struct TRow {
        bool Sound;
        TbsShellListViewStyle Style;
    };
    const TRow kRows[] = {{false, bsvsList}, {true, bsvsReport}, {false, bsvsIcon},
                          {true, bsvsSmallIcon}, {false, bsvsThumbnails}, {true, bsvsList}};
    const int cols = static_cast<int>(std::size(kSkins));
    std::vector<std::vector<TShot>> rows(std::size(kRows), std::vector<TShot>(static_cast<size_t>(cols)));
    std::vector<std::wstring> titles;
    int missing = 0;
    for (int col = 0; col < cols; ++col) {
        const int skin = kSkins[col];
        TComponent owner(nullptr);
        TbsSkinData* data = LookData(&owner, skin, &ru, list.get(), titles);
        for (size_t r = 0; r < std::size(kRows); ++r) {
            std::unique_ptr<TbsSkinOpenDialog> dlg;
            if (kRows[r].Sound) {
                auto sound = std::make_unique<TbsSkinOpenSoundDialog>(&owner);
                sound->Filter = L"Звуки (*.wav)|*.wav|Все файлы|*.*";
                dlg = std::move(sound);
            } else {
                dlg = std::make_unique<TbsSkinOpenDialog>(&owner);
                dlg->Filter = L"Все файлы|*.*|Язык|*.lng";
            }
            dlg->SetSkinData(skin >= 0 ? data : nullptr);
            dlg->SetCtrlSkinData(data);
            dlg->Title = (kRows[r].Sound ? L"Открыть фаил звука " : L"Открыть файл языка ") +
                         std::to_wstring(col) + L"." + std::to_wstring(r);
            dlg->InitialDir = folder;
            dlg->FileName = L"Звонок.wav";
            dlg->ListViewStyle = kRows[r].Style;
            dlg->DialogWidth = 580;
            dlg->DialogHeight = 370;
            rows[r][static_cast<size_t>(col)] =
                CaptureModal(dlg->Title, [&] { dlg->Execute(); }, [](HWND w) { ClickNamed(w, L"CancelButton"); },
                             kRows[r].Style >= bsvsThumbnails ? 40 : 6);  // the pictures come from threads
            missing += rows[r][static_cast<size_t>(col)].Px.empty();
        }
    }
    if (WriteShotPage(rows, titles, file) != 0)
        return 1;
    std::printf("%zu open dialogs in %d looks, %d not shown\n", rows.size(), cols, missing);
    return missing ? 1 : 0;
}
