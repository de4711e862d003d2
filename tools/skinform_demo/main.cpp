// skinform_demo: shows a notifier-like form in the skinned frame of an ini skin, with the skin's layered border when
// it has a layer frame, for looking at it and for tests from outside (the border windows' class is
// "TbsFormLayerWindow").
//
//   skinform_demo SKIN.ini [--inactive] [--shot FILE.png] [--quit-after MS]
//
// --inactive: another window takes the activation, so the inactive frame shows;
// --shot: once shown, writes the form and its border as a compositing desktop shows them (the border's images
// blended over a grey backdrop, the form's own pixels from the screen) and quits; --quit-after: ends after that many
// ms.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "classlib/WicCodec.h"
#include "skin/core/SkinBitmap.h"
#include "skin/form/LayerBorder.h"
#include "skin/form/SkinForm.h"

namespace {

constexpr std::uint32_t kBackdrop = 0xFF78828Cu;

void WriteShot(TbsSkinForm* skinForm, TCustomForm* form, const std::wstring& file) {
    RECT f{};
    GetWindowRect(form->Handle(), &f);
    TRect around{f.left, f.top, f.right, f.bottom};
    TbsFormLayerBorder* border = skinForm->BorderLayer();
    if (border && border->Visible())
        around = LayerOuterRect(border->Geom(), around, false);
    around.Inflate(12, 12);
    TbsBitmap out;
    out.SetSize(around.Width(), around.Height());
    out.Clear(kBackdrop);
    if (border)
        border->DrawShown(&out, around.Left, around.Top);
    HDC screen = GetDC(nullptr);
    BitBlt(out.DC(), f.left - around.Left, f.top - around.Top, f.right - f.left, f.bottom - f.top, screen, f.left,
           f.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    std::uint32_t* px = out.Bits();
    for (int i = 0; i < out.Width() * out.Height(); ++i)
        px[i] |= 0xFF000000u;
    std::ofstream(file.c_str(), std::ios::binary) << EncodePng(out.Bits(), out.Width(), out.Height());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring skin, shot;
    bool inactive = false;
    int quitAfter = 0;
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"--inactive")
            inactive = true;
        else if (a == L"--shot" && i + 1 < argc)
            shot = argv[++i];
        else if (a == L"--quit-after" && i + 1 < argc)
            quitAfter = _wtoi(argv[++i]);
        else
            skin = a;
    }
    if (skin.empty()) {
        std::fprintf(stderr, "usage: skinform_demo SKIN.ini [--inactive] [--shot FILE.png] [--quit-after MS]\n");
        return 2;
    }
    auto* form = Application->CreateForm<TForm>();
    form->SetCaption(L"Trelm Mail — уведомления");
    form->SetBounds(240, 160, 420, 280);
    auto* skinForm = new TbsSkinForm(form);
    auto* data = new TbsSkinData(form);
    data->LoadFromFile(skin);
    if (data->Empty) {
        std::fprintf(stderr, "not a skin: %ls\n", skin.c_str());
        return 1;
    }
    skinForm->SetSkinData(data);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(16, 16, 380, 20);
    label->SetCaption(L"Новых писем: 3 — Входящие (Inbox)");
    auto* check = new TButton(form);
    check->SetParent(form);
    check->SetBounds(16, 48, 150, 28);
    check->SetCaption(L"Проверить почту");
    TForm* other = nullptr;
    if (inactive) {
        other = new TForm(form);
        other->SetBounds(900, 680, 100, 60);
    }
    auto* start = new TTimer(form);
    start->SetInterval(400);
    start->OnTimer = [&](TObject*) {
        start->SetEnabled(false);
        if (other) {
            other->Show();
            SetForegroundWindow(other->Handle());
        }
        if (!shot.empty()) {
            Application->ProcessMessages();
            Sleep(200);
            Application->ProcessMessages();
            WriteShot(skinForm, form, shot);
            Application->Terminate();
        }
    };
    if (quitAfter > 0) {
        auto* quit = new TTimer(form);
        quit->SetInterval(static_cast<UINT>(quitAfter));
        quit->OnTimer = [](TObject*) { Application->Terminate(); };
    }
    form->Show();
    Application->Run();
    return 0;
}
