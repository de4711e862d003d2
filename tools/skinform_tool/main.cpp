// skinform_tool: the skinned form with the notifier's 87 stored skins (the list the notifier carries, built into this
// tool the same way), driven from a shell.
//
//   skinform_tool show INDEX [--quit-after MS]   a form with every caption button in skin INDEX, until closed
//   skinform_tool switch                          switches one shown form through all skins; checks each frame
//   skinform_tool sheet OUT.png                   a contact sheet of the real frames of all skins
//   skinform_tool states OUT.png [INDEX]          one skin's frame normal, rolled up, parked minimised, maximised
//   skinform_tool bench [ROUNDS]                  a skin switch timed over all skins against a plain frame repaint
//   skinform_tool loads [ROUNDS]                  the load of every skin split into its steps
//   skinform_tool gallery FAMILY OUT.png          a page of one family of skinned controls (Gallery.cpp)
//   skinform_tool quickhost INDEX [--quit-after MS]  a host form with quick buttons (-1: built-in look) (FormGallery.cpp)
//   skinform_tool menubarhost INDEX [--quit-after MS]  a host form with a main menu bar over nested menus
//   skinform_tool imagesmenuhost INDEX [--quit-after MS]  a host form with its images menu open
//   skinform_tool listbench                       a long list paged through its external bar (ListBench.cpp)
//   skinform_tool opendlgbench [FILES]            the open dialog's first list against the shell (OpenDialogBench.cpp)
//   skinform_tool mdi [SKIN] [--children N] [--quit-after MS]
//                                                 a skinned MDI host (tab bar, window menu, children) until closed
//
// The pictures are read back from the screen (the session draws no native decorations, so every pixel of a frame is
// the form's own). Exit code 1 when a check fails, 2 on bad arguments.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "FormGallery.h"
#include "Gallery.h"
#include "ListBench.h"
#include "OpenDialogBench.h"
#include "app/SkinLists.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "classlib/WicCodec.h"
#include "skin/controls/ButtonLabel.h"
#include "skin/controls/SkinBevel.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinIniValues.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinnedControl.h"
#include "skin/form/TrayIcon.h"

namespace {

constexpr int kFormW = 300, kFormH = 190;
constexpr std::uint32_t kBackdrop = 0xFF78828Cu;

void Pump(DWORD ms) {
    PumpFor(ms);
}

// A control of the skin change walk: it repaints from the new skin.
class WalkedBox : public TCustomControl, public IbsSkinnedControl {
  public:
    WalkedBox(TComponent* AOwner, TbsSkinData* AData) : TCustomControl(AOwner), data_(AData) {}
    TbsSkinData* ControlSkinData() const override { return data_; }
    void ChangeSkinData() override {
        ++changes;
        if (HandleAllocated())
            InvalidateRect(Handle(), nullptr, TRUE);
    }
    int changes = 0;

  private:
    TbsSkinData* data_;
};

// The tool's forms, freed before the application object goes.
std::vector<TForm*> gForms;

struct Bench {
    TForm* form = nullptr;
    TbsSkinForm* skinForm = nullptr;
    TbsSkinData* data = nullptr;
    TbsCompressedSkinList* list = nullptr;
    std::vector<WalkedBox*> boxes;
    std::vector<TControl*> skinned;  // the skinned controls on the form
};

// The notifier-like form: every caption button, a few controls and a row of walked controls.
Bench MakeForm(const wchar_t* caption, int x, int y) {
    Bench b;
    b.form = new TForm(nullptr);
    gForms.push_back(b.form);
    b.form->SetFormStyle(fsStayOnTop);
    b.form->SetBorderStyle(bsSizeable);
    b.form->SetCaption(caption);
    b.form->SetBounds(x, y, kFormW, kFormH);
    b.skinForm = new TbsSkinForm(b.form);
    b.skinForm->SetBorderIcons(TbsBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize,
                                              TbsBorderIcon::biMaximize, TbsBorderIcon::biRollUp,
                                              TbsBorderIcon::biMinimizeToTray});
    b.data = new TbsSkinData(b.form);
    // The skinned labels and bevel the notifier's pages hold.
    auto* label = new TbsSkinStdLabel(b.form);
    label->SetParent(b.form);
    label->SetBounds(12, 10, 260, 18);
    label->SetCaption(L"Новых писем: 3 — Входящие");
    label->SetSkinData(b.data);
    auto* link = new TbsSkinLinkLabel(b.form);
    link->SetParent(b.form);
    link->SetBounds(12, 96, 130, 18);
    link->SetCaption(L"www.trelm.ru");
    link->SetSkinData(b.data);
    auto* name = new TbsSkinButtonLabel(b.form);
    name->SetParent(b.form);
    name->SetBounds(12, 116, 130, 20);
    name->SetCaption(L"Почтовый клиент");
    name->SetSkinData(b.data);
    auto* bevel = new TbsSkinBevel(b.form);
    bevel->SetParent(b.form);
    bevel->SetBounds(150, 100, 120, 30);
    bevel->SetSkinData(b.data);
    b.skinned = {label, link, name, bevel};
    auto* button = new TButton(b.form);
    button->SetParent(b.form);
    button->SetBounds(12, 36, 130, 26);
    button->SetCaption(L"Проверить почту");
    auto* panel = new TPanel(b.form);
    panel->SetParent(b.form);
    panel->SetBounds(150, 36, 120, 60);
    for (int i = 0; i < 24; ++i) {
        auto* box = new WalkedBox(b.form, b.data);
        box->SetParent(b.form);
        box->SetBounds(12 + (i % 12) * 10, i < 12 ? 70 : 80, 8, 8);
        b.boxes.push_back(box);
    }
    return b;
}

TbsCompressedSkinList* NotifierList() {
    static TbsCompressedSkinList* list = new TbsCompressedSkinList(Application);
    if (list->Skins()->Count() > 0)
        return list;
    LoadNotifierSkinList(*list);
    return list;
}

void SelectSkin(Bench& b, int index) {
    if (!b.list) {
        b.list = NotifierList();
        b.data->SetSkinIndex(index);
        b.data->SetSkinList(b.list);
        b.skinForm->SetSkinData(b.data);
    } else {
        b.data->SetSkinIndex(index);
    }
}

// The screen pixels of R as 0xAARRGGBB, opaque.
std::unique_ptr<TbsBitmap> Grab(const TRect& R) {
    auto holder = std::make_unique<TbsBitmap>();
    TbsBitmap& out = *holder;
    out.SetSize(R.Width(), R.Height());
    HDC screen = GetDC(nullptr);
    BitBlt(out.DC(), 0, 0, R.Width(), R.Height(), screen, R.Left, R.Top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    for (int i = 0; i < out.Width() * out.Height(); ++i)
        out.Bits()[i] |= 0xFF000000u;
    return holder;
}

TRect WindowBounds(TCustomForm* f) {
    RECT r{};
    GetWindowRect(f->Handle(), &r);
    return TRect{r.left, r.top, r.right, r.bottom};
}

// Only the window's own pixels (its region): the rest of the cell shows the backdrop.
void PutWindow(TbsBitmap& sheet, TCustomForm* f, int X, int Y) {
    const TRect wr = WindowBounds(f);
    const std::unique_ptr<TbsBitmap> grabbed = Grab(wr);
    const TbsBitmap& shot = *grabbed;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const bool hasRgn = GetWindowRgn(f->Handle(), rgn) != ERROR;
    for (int y = 0; y < shot.Height() && Y + y < sheet.Height(); ++y)
        for (int x = 0; x < shot.Width() && X + x < sheet.Width(); ++x)
            if (!hasRgn || PtInRegion(rgn, x, y))
                sheet.Bits()[(Y + y) * sheet.Width() + X + x] = shot.Bits()[y * shot.Width() + x];
    DeleteObject(rgn);
}

void Label(TbsBitmap& sheet, int X, int Y, int W, const std::wstring& text) {
    HDC dc = sheet.DC();
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT r{X, Y, X + W, Y + 16};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    DeleteObject(font);
    GdiFlush();
    // GDI text leaves alpha 0 behind.
    for (int i = 0; i < sheet.Width() * sheet.Height(); ++i)
        sheet.Bits()[i] |= 0xFF000000u;
}

bool WritePng(const TbsBitmap& b, const std::wstring& file) {
    std::ofstream out(file.c_str(), std::ios::binary);
    out << EncodePng(b.Bits(), b.Width(), b.Height());
    return static_cast<bool>(out);
}

// The frame checks of one skin: the client area where the skin puts it, and hit codes of caption and client.
bool CheckFrame(Bench& b) {
    POINT p{0, 0};
    ClientToScreen(b.form->Handle(), &p);
    const TRect wr = WindowBounds(b.form);
    if (b.data->Empty)
        return false;
    // A full layered border draws the whole frame outside: the window is all client area.
    const TRect cl = b.skinForm->FullBorderShown() ? TRect{0, 0, wr.Width(), wr.Height()} : b.data->ClRect;
    const bool origin = p.x - wr.Left == cl.Left && p.y - wr.Top == cl.Top;
    const LRESULT client = SendMessageW(b.form->Handle(), WM_NCHITTEST, 0,
                                        MAKELPARAM(wr.Left + wr.Width() / 2, wr.Top + cl.Top + 60));
    return origin && client == HTCLIENT;
}

int Show(int index, int quitAfter) {
    Bench b = MakeForm(L"Trelm Mail — скин", 200, 150);
    SelectSkin(b, index);
    b.form->SetCaption(L"Trelm Mail — " + b.data->SkinName);
    b.form->Show();
    if (quitAfter > 0) {
        auto* quit = new TTimer(b.form);
        quit->SetInterval(static_cast<UINT>(quitAfter));
        quit->OnTimer = [](TObject*) { Application->Terminate(); };
    }
    Application->Run();
    return 0;
}

int Switch() {
    Bench b = MakeForm(L"Trelm Mail", 200, 150);
    SelectSkin(b, 0);
    b.form->Show();
    Pump(100);
    int failed = 0;
    const int count = b.list->Skins()->Count();
    for (int i = 0; i < count; ++i) {
        b.data->SetSkinIndex(i);
        Pump(20);
        const bool ok = CheckFrame(b) && b.boxes.front()->changes == i + 1;
        failed += !ok;
        std::printf("%2d %-28ls %s\n", i, b.data->SkinName.c_str(), ok ? "ok" : "FAILED");
    }
    std::printf("%d skins, %d failed\n", count, failed);
    return failed ? 1 : 0;
}

int Sheet(const std::wstring& file) {
    Bench b = MakeForm(L"Trelm Mail — уведомления", 40, 40);
    SelectSkin(b, 0);
    b.form->Show();
    SetForegroundWindow(b.form->Handle());
    Pump(150);
    const int count = b.list->Skins()->Count();
    const int cols = 8, cellW = kFormW + 16, cellH = kFormH + 30;
    const int rows = (count + cols - 1) / cols;
    TbsBitmap sheet;
    sheet.SetSize(cols * cellW, rows * cellH);
    sheet.Clear(kBackdrop);
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        b.data->SetSkinIndex(i);
        SetForegroundWindow(b.form->Handle());
        Pump(60);
        failed += !CheckFrame(b);
        const int x = (i % cols) * cellW + 8, y = (i / cols) * cellH + 6;
        PutWindow(sheet, b.form, x, y);
        Label(sheet, x, y + kFormH + 4, kFormW, std::to_wstring(i) + L" " + b.data->SkinName);
    }
    if (!WritePng(sheet, file)) {
        std::fprintf(stderr, "cannot write %ls\n", file.c_str());
        return 1;
    }
    std::printf("%d skins on the sheet, %d frame checks failed\n", count, failed);
    return failed ? 1 : 0;
}

int States(const std::wstring& file, int index) {
    Bench b = MakeForm(L"Trelm Mail — состояния", 60, 60);
    SelectSkin(b, index);
    Bench second = MakeForm(L"Второе окно", 420, 60);
    second.list = b.list;
    second.data->SetSkinIndex(index);
    second.data->SetSkinList(b.list);
    second.skinForm->SetSkinData(second.data);
    b.form->Show();
    second.form->Show();
    SetForegroundWindow(b.form->Handle());
    Pump(200);
    const TRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int scale = 3;
    const int W = kFormW * 2 + 48 + screen.Width() / scale, H = std::max(kFormH * 2 + 80, screen.Height() / scale + 30);
    TbsBitmap sheet;
    sheet.SetSize(W, H);
    sheet.Clear(kBackdrop);
    // Normal.
    PutWindow(sheet, b.form, 8, 8);
    Label(sheet, 8, kFormH + 10, kFormW, L"normal");
    // Rolled up.
    b.skinForm->SetRollUpState(true);
    Pump(120);
    PutWindow(sheet, b.form, kFormW + 24, 8);
    Label(sheet, kFormW + 24, 8 + WindowBounds(b.form).Height() + 2, kFormW, L"rolled up");
    b.skinForm->SetRollUpState(false);
    // Two parked minimised frames, side by side at the bottom left of the work area.
    b.skinForm->SetWindowState(wsMinimized);
    second.skinForm->SetWindowState(wsMinimized);
    Pump(150);
    const TRect p1 = WindowBounds(b.form), p2 = WindowBounds(second.form);
    const TRect band{p1.Left, p1.Top, std::max(p1.Right, p2.Right), std::max(p1.Bottom, p2.Bottom)};
    const std::unique_ptr<TbsBitmap> parked = Grab(band);
    BitBlt(sheet.DC(), 8, kFormH + 40, band.Width(), band.Height(), parked->DC(), 0, 0, SRCCOPY);
    Label(sheet, 8, kFormH + 42 + band.Height(), band.Width(), L"parked (minimised, two forms)");
    b.skinForm->SetWindowState(wsNormal);
    second.skinForm->SetWindowState(wsNormal);
    second.form->Hide();
    // Maximised: the whole screen, a third of its size.
    b.skinForm->SetWindowState(wsMaximized);
    SetForegroundWindow(b.form->Handle());
    Pump(200);
    const std::unique_ptr<TbsBitmap> full = Grab(screen);
    HDC dc = sheet.DC();
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, kFormW * 2 + 40, 8, screen.Width() / scale, screen.Height() / scale, full->DC(), 0, 0,
               screen.Width(), screen.Height(), SRCCOPY);
    GdiFlush();
    Label(sheet, kFormW * 2 + 40, 10 + screen.Height() / scale, screen.Width() / scale, L"maximised (screen, 1:3)");
    const bool ok = WindowBounds(b.form).Width() >= screen.Width() - 2 && p2.Left == p1.Right;
    b.skinForm->SetWindowState(wsNormal);
    if (!WritePng(sheet, file)) {
        std::fprintf(stderr, "cannot write %ls\n", file.c_str());
        return 1;
    }
    std::printf("states of skin %d (%ls): %s\n", index, b.data->SkinName.c_str(), ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}

double Ms(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f) {
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

void Report(const char* what, std::vector<double> t) {
    std::sort(t.begin(), t.end());
    std::printf("%-44s median %7.2f ms  worst %7.2f ms  (%zu runs)\n", what, t[t.size() / 2], t.back(), t.size());
}

// The control walk of one skin change apart from the frame rebuild: from the end of the rebuild (OnChangeSkinData)
// to the after-change message (OnAfterChangeSkinData), which comes once the walk is done.
struct WalkClock {
    LARGE_INTEGER frameDone{}, walkDone{};
    void Attach(TbsSkinForm* f) {
        f->OnChangeSkinData = [this](TObject*) { QueryPerformanceCounter(&frameDone); };
        f->OnAfterChangeSkinData = [this](TObject*) { QueryPerformanceCounter(&walkDone); };
    }
};

// The switch with and without the skinned controls on the form: the walk and the switch's ratio to a repaint.
void WalkFigures(Bench& b, int rounds, LARGE_INTEGER freq) {
    WalkClock clock;
    clock.Attach(b.skinForm);
    const HWND h = b.form->Handle();
    const UINT repaint = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    const int count = b.list->Skins()->Count();
    for (const char* pass : {"with the skinned controls", "without them"}) {
        std::vector<double> walks, switches, repaints;
        for (int r = 0; r < rounds; ++r) {
            for (int i = 0; i < count; ++i) {
                LARGE_INTEGER t0, t1, t2, t3;
                QueryPerformanceCounter(&t0);
                b.data->SetSkinIndex(i);
                RedrawWindow(h, nullptr, nullptr, repaint);
                GdiFlush();
                QueryPerformanceCounter(&t1);
                walks.push_back(Ms(clock.frameDone, clock.walkDone, freq));
                QueryPerformanceCounter(&t2);
                RedrawWindow(h, nullptr, nullptr, repaint);
                GdiFlush();
                QueryPerformanceCounter(&t3);
                switches.push_back(Ms(t0, t1, freq));
                repaints.push_back(Ms(t2, t3, freq));
                Application->ProcessMessages();
            }
        }
        std::printf("-- %s\n", pass);
        Report("  control walk (after the frame rebuild)", walks);
        std::sort(switches.begin(), switches.end());
        std::sort(repaints.begin(), repaints.end());
        const double ratio = switches[switches.size() / 2] / std::max(repaints[repaints.size() / 2], 0.001);
        std::printf("  ratio of medians switch / repaint: %.2f (goal <= 2.5: %s)\n", ratio,
                    ratio <= 2.5 ? "met" : "missed");
        for (TControl* c : b.skinned)
            delete c;
        b.skinned.clear();
    }
    b.skinForm->OnChangeSkinData = nullptr;
    b.skinForm->OnAfterChangeSkinData = nullptr;
}

int BenchRun(int rounds) {
    Bench b = MakeForm(L"Trelm Mail — замер", 200, 150);
    SelectSkin(b, 0);
    b.form->Show();
    SetForegroundWindow(b.form->Handle());
    Pump(150);
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    const HWND h = b.form->Handle();
    const UINT repaint = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    std::vector<double> switches, repaints, loads, changes;
    // The moments inside a switch: the forms told of the coming change, the skin parsed, the frame rebuilt, the
    // controls walked.
    LARGE_INTEGER told{}, parsed{}, framed{}, walked{};
    std::vector<double> tellPhase, parsePhase, framePhase, walkPhase;
    b.skinForm->OnBeforeChangeSkinData = [&](TObject*) { QueryPerformanceCounter(&told); };
    b.data->OnLoadData = [&](TObject*) { QueryPerformanceCounter(&parsed); };
    b.skinForm->OnChangeSkinData = [&](TObject*) { QueryPerformanceCounter(&framed); };
    b.skinForm->OnAfterChangeSkinData = [&](TObject*) { QueryPerformanceCounter(&walked); };
    // The load alone: the same stored skins into a container that no form follows.
    auto* lone = new TbsSkinData(b.form);
    lone->SetSkinList(b.list);
    const int count = b.list->Skins()->Count();
    for (int r = 0; r < rounds; ++r) {
        for (int i = 0; i < count; ++i) {
            LARGE_INTEGER t0, t1, t2, t3;
            // The skin switch: load from the stored list, the three messages, the frame rebuild and the control
            // walk, then the repaint of frame and client.
            LARGE_INTEGER l0, l1, c1;
            QueryPerformanceCounter(&l0);
            lone->SetSkinIndex(i);
            QueryPerformanceCounter(&l1);
            loads.push_back(Ms(l0, l1, freq));
            QueryPerformanceCounter(&t0);
            told = parsed = framed = walked = t0;
            b.data->SetSkinIndex(i);
            QueryPerformanceCounter(&c1);
            changes.push_back(Ms(t0, c1, freq));
            tellPhase.push_back(Ms(t0, told, freq));
            parsePhase.push_back(Ms(told, parsed, freq));
            framePhase.push_back(Ms(parsed, framed, freq));
            walkPhase.push_back(Ms(framed, walked, freq));
            RedrawWindow(h, nullptr, nullptr, repaint);
            GdiFlush();
            QueryPerformanceCounter(&t1);
            // The baseline: the same repaint without a switch.
            QueryPerformanceCounter(&t2);
            RedrawWindow(h, nullptr, nullptr, repaint);
            GdiFlush();
            QueryPerformanceCounter(&t3);
            switches.push_back(Ms(t0, t1, freq));
            repaints.push_back(Ms(t2, t3, freq));
            Application->ProcessMessages();
        }
    }
    Report("skin switch (load, walk, frame, repaint)", switches);
    Report("baseline: plain repaint of frame and client", repaints);
    Report("  of the switch: the load alone", loads);
    Report("  of the switch: load, messages, walk, frame rebuild", changes);
    std::vector<double> after;
    for (size_t i = 0; i < switches.size(); ++i)
        after.push_back(switches[i] - changes[i]);
    Report("    the forms told of the change", tellPhase);
    Report("    unpacking and reading the skin", parsePhase);
    Report("    the frame rebuilt", framePhase);
    Report("    the controls walked", walkPhase);
    Report("  of the switch: the repaint after it", after);
    std::vector<double> s = switches, p = repaints;
    std::sort(s.begin(), s.end());
    std::sort(p.begin(), p.end());
    const double ratio = s[s.size() / 2] / std::max(p[p.size() / 2], 0.001);
    std::printf("ratio of medians switch / repaint: %.2f (goal <= 2.5: %s)\n", ratio, ratio <= 2.5 ? "met" : "missed");
    WalkFigures(b, rounds, freq);
    return 0;
}

// A container whose record readers the load phases call on their own.
class PhaseSkinData : public TbsSkinData {
  public:
    using TbsSkinData::TbsSkinData;
    void Objects(TCustomIniFile* ini) { ReadObjects(ini); }
    void Controls(TCustomIniFile* ini) { ReadCtrls(ini); }
};

// The load of every stored skin split into its steps, each summed over the skins of one round; the median round.
// The steps apart add up to what a load cost before it inflated straight into its pictures.
int LoadPhases(int rounds) {
    auto list = std::make_unique<TbsCompressedSkinList>(nullptr);
    LoadNotifierSkinList(*list);
    auto lone = std::make_unique<PhaseSkinData>(nullptr);
    lone->FBuilderMode = true;
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    auto now = [] {
        LARGE_INTEGER t;
        QueryPerformanceCounter(&t);
        return t;
    };
    const int count = list->Skins()->Count();
    std::vector<double> inflate, split, pictures, lines, ini, whole, pictures24, picturesOther, picturesGeneral,
        objectRecords,
        controlRecords;
    size_t packed = 0, unpacked = 0;
    for (int r = 0; r < rounds; ++r) {
        double a = 0, b = 0, c = 0, d = 0, e = 0, w = 0, f24 = 0, fOther = 0, fGeneral = 0, objects = 0,
               controls = 0;
        packed = unpacked = 0;
        for (int i = 0; i < count; ++i) {
            TbsCompressedStoredSkin* stored = list->Skins()->Items(i)->Skin();
            const std::string_view zl = stored->CompressedView();
            LARGE_INTEGER t0 = now();
            const std::string content = DecompressBytes(zl.data(), zl.size());
            LARGE_INTEGER t1 = now();
            const TbsSkinContent parsed = ParseSkinContent(content);
            LARGE_INTEGER t2 = now();
            double fGeneralSkin = 0;
            std::vector<const std::string*> all;
            for (const auto* slot : {&parsed.Picture, &parsed.InActivePicture, &parsed.Mask})
                if (*slot)
                    all.push_back(&**slot);
            for (const auto& bmp : parsed.ActivePictures)
                all.push_back(&bmp);
            for (const std::string* bmp : all) {
                const bool plain24 = bmp->size() >= 34 && (*bmp)[28] == 24 && (*bmp)[30] == 0;
                LARGE_INTEGER p0 = now();
                BitmapFromBytes(*bmp);
                LARGE_INTEGER p1 = now();
                (plain24 ? f24 : fOther) += Ms(p0, p1, freq);
                if (!plain24) {
                    // The same picture through the general decoder, which read these before they had a way of
                    // their own.
                    TBitmap general;
                    TMemoryStream ms;
                    ms.WriteBuffer(bmp->data(), static_cast<std::int32_t>(bmp->size()));
                    ms.SetPosition(0);
                    LARGE_INTEGER g0 = now();
                    general.LoadFromStream(&ms);
                    LARGE_INTEGER g1 = now();
                    fGeneral += Ms(g0, g1, freq);
                    fGeneralSkin += Ms(g0, g1, freq);
                }
            }
            LARGE_INTEGER t3 = now();
            TStringList text;
            text.LoadFromBytes(parsed.IniText.data(), parsed.IniText.size());
            LARGE_INTEGER t4 = now();
            TbsSkinMemIni mem(L"");
            mem.SetStrings(&text);
            LARGE_INTEGER t5 = now();
            lone->LoadCompressedStoredSkin(stored);
            LARGE_INTEGER t6 = now();
            // Read once more after the load (the next load clears what they add): the pictures are in place.
            lone->Objects(&mem);
            LARGE_INTEGER t7 = now();
            lone->Controls(&mem);
            LARGE_INTEGER t8 = now();
            objects += Ms(t6, t7, freq);
            controls += Ms(t7, t8, freq);
            a += Ms(t0, t1, freq);
            b += Ms(t1, t2, freq);
            c += Ms(t2, t3, freq) - fGeneralSkin;
            d += Ms(t3, t4, freq);
            e += Ms(t4, t5, freq);
            w += Ms(t5, t6, freq);
            packed += zl.size();
            unpacked += content.size();
        }
        inflate.push_back(a);
        split.push_back(b);
        pictures.push_back(c);
        lines.push_back(d);
        ini.push_back(e);
        whole.push_back(w);
        pictures24.push_back(f24);
        objectRecords.push_back(objects);
        controlRecords.push_back(controls);
        picturesOther.push_back(fOther);
        picturesGeneral.push_back(fGeneral);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double all = median(whole);
    std::printf("%d stored skins, %zu bytes packed, %zu unpacked; median of %d rounds, ms for all skins "
                "(per skin)\n",
                count, packed, unpacked, rounds);
    auto row = [&](const char* what, double ms) {
        std::printf("  %-48s %8.2f ms (%6.3f)  %5.1f %% of the whole load\n", what, ms, ms / count,
                    100.0 * ms / std::max(all, 0.001));
    };
    row("whole load into a container", all);
    row("inflate", median(inflate));
    row("split into pictures and text", median(split));
    row("pictures decoded", median(pictures));
    row("  of which plain 24-bit ones", median(pictures24));
    row("  of which other kinds", median(picturesOther));
    row("  other kinds through the general decoder", median(picturesGeneral));
    row("ini text into lines", median(lines));
    row("lines into the ini", median(ini));
    row("records read", median(objectRecords) + median(controlRecords));
    row("  of which objects", median(objectRecords));
    row("  of which controls", median(controlRecords));
    // The steps one after the other as a load took them before it inflated straight into the pictures: the whole
    // content inflated, split into copies, the pictures other than plain 24-bit ones through the general decoder.
    const double separate = median(inflate) + median(split) + median(pictures24) + median(picturesGeneral) +
                            median(lines) + median(ini) + median(objectRecords) + median(controlRecords);
    row("the steps apart, other kinds decoded generally", separate);
    std::printf("  whole load / the steps apart: %.2f\n", all / std::max(separate, 0.001));
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: skinform_tool show INDEX [--quit-after MS] | switch | sheet OUT.png | states OUT.png [INDEX] "
                 "| bench [ROUNDS] | loads [ROUNDS] | gallery FAMILY OUT.png | quickhost INDEX [--quit-after MS] "
                 "| menubarhost INDEX [--quit-after MS] | imagesmenuhost INDEX [--quit-after MS] | listbench "
                 "| opendlgbench [FILES] | mdi [SKIN] [--children N] [--quit-after MS]\n");
    return 2;
}

}  // namespace

int Run(int argc, wchar_t** argv);

void PumpFor(unsigned Ms) {
    const DWORD start = GetTickCount();
    do {
        Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < Ms);
}

int wmain(int argc, wchar_t** argv) {
    const int rc = Run(argc, argv);
    for (auto it = gForms.rbegin(); it != gForms.rend(); ++it)
        delete *it;
    gForms.clear();
    return rc;
}

int Run(int argc, wchar_t** argv) {
    if (argc < 2)
        return Usage();
    const std::wstring cmd = argv[1];
    try {
        if (cmd == L"show" && argc >= 3) {
            const int index = _wtoi(argv[2]);
            int quitAfter = 0;
            if (argc >= 5 && std::wstring(argv[3]) == L"--quit-after")
                quitAfter = _wtoi(argv[4]);
            if (index < 0 || index > 86)
                return Usage();
            return Show(index, quitAfter);
        }
        if (cmd == L"switch")
            return Switch();
        if (cmd == L"sheet" && argc >= 3)
            return Sheet(argv[2]);
        if (cmd == L"states" && argc >= 3) {
            const int index = argc >= 4 ? _wtoi(argv[3]) : 81;
            if (index < 0 || index > 86)
                return Usage();
            return States(argv[2], index);
        }
        if (cmd == L"gallery" && argc >= 4) {
            const int rc = FormGallery(argv[2], argv[3]);
            return rc != 2 ? rc : Gallery(argv[2], argv[3]);
        }
        if (cmd == L"menubarhost" && argc >= 3) {
            const int index = _wtoi(argv[2]);
            if (index < -1 || index > 86)
                return Usage();
            return MenuBarHost(index, argc >= 5 && std::wstring(argv[3]) == L"--quit-after" ? _wtoi(argv[4]) : 0);
        }
        if (cmd == L"imagesmenuhost" && argc >= 3) {
            const int index = _wtoi(argv[2]);
            if (index < -1 || index > 86)
                return Usage();
            return ImagesMenuHost(index, argc >= 5 && std::wstring(argv[3]) == L"--quit-after" ? _wtoi(argv[4]) : 0);
        }
        if (cmd == L"quickhost" && argc >= 3) {
            const int index = _wtoi(argv[2]);
            if (index < -1 || index > 86)
                return Usage();
            return QuickHost(index, argc >= 5 && std::wstring(argv[3]) == L"--quit-after" ? _wtoi(argv[4]) : 0);
        }
        if (cmd == L"mdi") {
            int skin = -1, children = 3, quitAfter = 0;
            for (int i = 2; i < argc; ++i) {
                const std::wstring a = argv[i];
                if (a == L"--children" && i + 1 < argc)
                    children = _wtoi(argv[++i]);
                else if (a == L"--quit-after" && i + 1 < argc)
                    quitAfter = _wtoi(argv[++i]);
                else
                    skin = _wtoi(argv[i]);
            }
            if (skin < -1 || skin > 86 || children < 0 || children > 20)
                return Usage();
            return MDIHost(skin, children, quitAfter);
        }
        if (cmd == L"listbench")
            return ListBench();
        if (cmd == L"opendlgbench")
            return OpenDialogBench(argc >= 3 ? std::max(1, _wtoi(argv[2])) : 10000);
        if (cmd == L"bench")
            return BenchRun(argc >= 3 ? std::max(1, _wtoi(argv[2])) : 3);
        if (cmd == L"loads")
            return LoadPhases(argc >= 3 ? std::max(1, _wtoi(argv[2])) : 5);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    return Usage();
}
