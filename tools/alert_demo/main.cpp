// alert_demo: shows the alert window on a small form with a few letter and reminder messages, in any style and
// position, for looking at it and for tests from outside (the popup's class is "TAlertWindow", its text "Alert").
//
//   alert_demo [--style N] [--position N] [--count N] [--size WxH] [--autohide MS] [--fade]
//              [--active N] [--text HTML]... [--shot FILE.png] [--quit-after MS]
//
// --style: 0..23 (asOffice2003Blue .. asOffice2016Black); --position: 0..5 (wpLeftTop .. wpCenter);
// --count: how many of the built-in messages (1..4, default 3); --active: the message shown first (1-based);
// --text adds a message of your own;
// --shot: captures the popup as a PNG once it is shown and quits; --quit-after: ends after that many ms.
// Prints one line per event ("event AlertClick", "event Close", ...) on standard output.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "alert/MsgAlertWindow.h"
#include "classlib/Forms.h"
#include "classlib/PngImage.h"
#include "classlib/SysUtils.h"

namespace {

std::wstring HtmlBold(const std::wstring& s) {
    return L"<b>" + s + L"</b>";
}

// A letter message as the notifier writes it.
std::wstring Letter(const std::wstring& when,
                    const std::wstring& from,
                    const std::wstring& subject,
                    const std::wstring& body) {
    return when + L"  " + L" - " + L"  " + HtmlBold(from) + L"<br><br>" + subject + L"<br><br>" + body;
}

void Say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

bool SavePopup(HWND popup, const std::wstring& file) {
    RECT r;
    GetWindowRect(popup, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    TBitmap bmp(w, h, pf24bit);
    HDC screen = GetDC(nullptr);
    BitBlt(bmp.Canvas()->Handle(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    TPngImage png;
    png.Assign(&bmp);
    try {
        png.SaveToFile(file);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "alert_demo: %s\n", e.what());
        return false;
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int style = asOffice2003Blue, position = wpRightBottom, count = 3, width = 400, height = 150;
    int autoHide = 0, quitAfter = 0, active = 1;
    bool fade = false;
    std::wstring shot;
    std::vector<std::wstring> texts;
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        auto next = [&]() -> std::wstring { return i + 1 < argc ? argv[++i] : L""; };
        if (a == L"--style")
            style = StrToIntDef(next(), style);
        else if (a == L"--position")
            position = StrToIntDef(next(), position);
        else if (a == L"--count")
            count = StrToIntDef(next(), count);
        else if (a == L"--size") {
            const std::wstring v = next();
            const auto x = v.find(L'x');
            if (x != std::wstring::npos) {
                width = StrToIntDef(v.substr(0, x), width);
                height = StrToIntDef(v.substr(x + 1), height);
            }
        } else if (a == L"--autohide")
            autoHide = StrToIntDef(next(), 0);
        else if (a == L"--active")
            active = StrToIntDef(next(), active);
        else if (a == L"--fade")
            fade = true;
        else if (a == L"--text")
            texts.push_back(next());
        else if (a == L"--shot")
            shot = next();
        else if (a == L"--quit-after")
            quitAfter = StrToIntDef(next(), 0);
        else {
            std::fprintf(stderr,
                         "usage: alert_demo [--style N] [--position N] [--count N] [--size WxH] [--autohide MS] "
                         "[--fade] [--active N] [--text HTML]... [--shot FILE.png] [--quit-after MS]\n");
            return 2;
        }
    }

    auto* form = Application->CreateForm<TForm>();
    form->SetCaption(L"Alert demo");
    form->SetBounds(40, 40, 320, 120);

    auto* alert = new TMsgAlertWindow(form);
    alert->SetStyle(static_cast<TMsgAlertWindowStyle>(std::clamp(style, 0, kAlertStyleCount - 1)));
    alert->WindowPosition = static_cast<TWindowPosition>(std::clamp(position, 0, 5));
    alert->PopupWidth = width;
    alert->PopupHeight = height;
    // The notifier's settings: no auto-hide, fixed opacity, Russian pager texts.
    alert->SetAutoHide(autoHide > 0);
    alert->SetDisplayTime(autoHide);
    alert->FadeStep = 5;
    alert->AlphaStart = fade ? 0 : 200;
    alert->AlphaEnd = 200;
    alert->SetPositionFormat(L"%d \u0438\u0437 %d");
    alert->HintNextBtn = L"\u0421\u043B\u0435\u0434\u0443\u044E\u0449\u0435\u0435";
    alert->HintPrevBtn = L"\u041F\u0440\u0435\u0434\u044B\u0434\u0443\u0449\u0435\u0435";
    alert->HintCloseBtn = L"\u0417\u0430\u043A\u0440\u044B\u0442\u044C";
    alert->HintDeleteBtn = L"\u0423\u0434\u0430\u043B\u0438\u0442\u044C";

    const std::vector<std::wstring> builtIn = {
        Letter(L"10.12.2026   09:41:07", L"\u0418\u0432\u0430\u043D \u041F\u0435\u0442\u0440\u043E\u0432",
               L"\u041E\u0442\u0447\u0451\u0442 \u0437\u0430 \u043D\u043E\u044F\u0431\u0440\u044C",
               L"\u0414\u043E\u0431\u0440\u044B\u0439 \u0434\u0435\u043D\u044C! \u041F\u0440\u0438\u0441\u044B"
               L"\u043B\u0430\u044E \u043E\u0442\u0447\u0451\u0442 \u0438 \u0441\u0447\u0451\u0442 \u0437\u0430 "
               L"\u043D\u043E\u044F\u0431\u0440\u044C, \u043F\u043E\u0441\u043C\u043E\u0442\u0440\u0438\u0442"
               L"\u0435, \u043F\u043E\u0436\u0430\u043B\u0443\u0439\u0441\u0442\u0430."),
        Letter(L"10.12.2026   10:02:55", L"Anna Smith", L"Meeting moved",
               L"The review moves to Thursday, 3 pm. Room 4 & the usual link."),
        L"<div width=\"100%\"><p align=\"center\"><b>\u041D\u0430\u043F\u043E\u043C\u0438\u043D\u0430\u043D"
        L"\u0438\u0435</b><br><br>\u0417\u0432\u043E\u043D\u043E\u043A \u043A\u043B\u0438\u0435\u043D\u0442"
        L"\u0443 \u0432 11:30</p></div>",
        Letter(L"10.12.2026   11:15:00", L"Support", L"Ticket #4711", L"Your ticket has been resolved."),
    };
    for (int i = 0; i < std::clamp(count, 0, static_cast<int>(builtIn.size())); ++i)
        texts.insert(texts.begin() + i, builtIn[i]);

    alert->OnAlertClick = [](TObject*) { Say("event AlertClick"); };
    alert->OnClose = [](TObject*) { Say("event Close"); };
    alert->OnDeleteMessage = [](TObject*, int i) { std::printf("event DeleteMessage %d\n", i), std::fflush(stdout); };
    alert->OnNextMessage = [](TObject*) { Say("event NextMessage"); };
    alert->OnPrevMessage = [](TObject*) { Say("event PrevMessage"); };
    alert->OnAutoHide = [](TObject*) { Say("event AutoHide"); };

    form->Show();
    for (const auto& t : texts) {
        TMsgCollectionItem* item = alert->AlertMessages()->Add();
        item->SetTextString(t);
        item->Tag = alert->AlertMessages()->Count() - 1;
        alert->SetActiveMessage(alert->AlertMessages()->Count());
        alert->Show();
    }
    alert->SetActiveMessage(active);
    if (alert->AlertWindow())
        alert->AlertWindow()->Invalidate();
    Say("shown");

    auto* quit = new TTimer(form);
    quit->SetEnabled(false);
    if (!shot.empty()) {
        quit->SetInterval(400);
        quit->OnTimer = [&](TObject*) {
            quit->SetEnabled(false);
            if (alert->Handle())
                RedrawWindow(alert->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            const bool ok = alert->Handle() && SavePopup(alert->Handle(), shot);
            Say(ok ? "saved" : "not saved");
            Application->Terminate();
        };
        quit->SetEnabled(true);
    } else if (quitAfter > 0) {
        quit->SetInterval(static_cast<UINT>(quitAfter));
        quit->OnTimer = [](TObject*) { Application->Terminate(); };
        quit->SetEnabled(true);
    }
    Application->Run();
    return 0;
}
