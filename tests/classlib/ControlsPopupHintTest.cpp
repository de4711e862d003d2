// Popup menus shown as system menus, the hint machinery, the open dialog and image lists drawn into a foreign DC,
// all on real windows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Hints.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "tests/TestFiles.h"
#include "tests/classlib/WindowTestUtil.h"

namespace {

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const std::wstring& caption, std::vector<std::wstring>* log) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    if (log)
        item->OnClick = [log, caption](TObject*) { log->push_back(caption); };
    parent->Add(item);
    return item;
}

void PostKeys(HWND wnd, std::initializer_list<WORD> keys) {
    for (WORD k : keys) {
        PostMessageW(wnd, WM_KEYDOWN, k, 1);
        PostMessageW(wnd, WM_KEYUP, k, 0xC0000001);
    }
}

TEST(ControlsPopup, PopupWithQueuedEnterRunsTheItem) {
    std::unique_ptr<TForm> form(new TForm(nullptr));
    PlaceForm(form.get(), 100, 100, 200, 100);
    form->Show();
    auto* popup = new TPopupMenu(form.get());
    std::vector<std::wstring> log;
    AddItem(form.get(), popup->Items(), L"&Проверить почту", &log);
    AddItem(form.get(), popup->Items(), L"-", nullptr);
    TMenuItem* disabled = AddItem(form.get(), popup->Items(), L"Отключено", &log);
    disabled->SetEnabled(false);
    TMenuItem* hidden = AddItem(form.get(), popup->Items(), L"Скрыто", &log);
    hidden->SetVisible(false);
    AddItem(form.get(), popup->Items(), L"Выход", &log);
    int popups = 0;
    popup->OnPopup = [&](TObject*) { ++popups; };

    PostKeys(form->Handle(), {VK_DOWN, VK_RETURN});
    popup->Popup(150, 150);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"&Проверить почту"}));
    EXPECT_EQ(popup->PopupPoint(), Point(150, 150));
    // Down skips the separator and the disabled item is passed over or refused; the hidden one is not there.
    log.clear();
    PostKeys(form->Handle(), {VK_UP, VK_RETURN});
    popup->Popup(150, 150);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"Выход"}));
    // Esc closes it without running anything.
    log.clear();
    PostKeys(form->Handle(), {VK_DOWN, VK_ESCAPE, VK_ESCAPE});
    popup->Popup(150, 150);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(popups, 3);
}

TEST(ControlsPopup, SubmenuItemsRunThroughTheirCommand) {
    std::unique_ptr<TForm> form(new TForm(nullptr));
    PlaceForm(form.get(), 100, 100, 200, 100);
    form->Show();
    auto* popup = new TPopupMenu(form.get());
    std::vector<std::wstring> log;
    TMenuItem* sub = AddItem(form.get(), popup->Items(), L"Звук", nullptr);
    AddItem(form.get(), sub, L"Включить", &log);
    AddItem(form.get(), sub, L"Выключить", &log);
    PostKeys(form->Handle(), {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    popup->Popup(120, 120);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"Выключить"}));
}

TEST(ControlsPopup, ContextMenuKeyShowsTheControlsPopup) {
    std::unique_ptr<TForm> form(new TForm(nullptr));
    PlaceForm(form.get(), 100, 100, 200, 100);
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    form->Show();
    auto* popup = new TPopupMenu(form.get());
    std::vector<std::wstring> log;
    AddItem(form.get(), popup->Items(), L"Вставить", &log);
    // A panel has no context menu of its own: the library shows ours.
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetTop(40);
    panel->SetPopupMenu(popup);
    PostKeys(form->Handle(), {VK_DOWN, VK_RETURN});
    SendMessageW(panel->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->Handle()), static_cast<LPARAM>(-1));
    EXPECT_EQ(log, (std::vector<std::wstring>{L"Вставить"}));
    EXPECT_EQ(popup->PopupComponent(), panel);
}

// A hint window of the program's own class, as the skinned hint brings.
class MarkedHint : public THintWindow {
  public:
    using THintWindow::THintWindow;
    void ActivateHint(TRect Rect, const std::wstring& AHint) override {
        ++shows;
        THintWindow::ActivateHint(Rect, AHint);
    }
    int shows = 0;
};

struct HintFixture : ::testing::Test {
    std::unique_ptr<TForm> form{new TForm(nullptr)};
    TButton* button = nullptr;
    TButton* silent = nullptr;
    void SetUp() override {
        PlaceForm(form.get(), 200, 200, 300, 120);
        form->SetShowHint(true);
        button = new TButton(form.get());
        button->SetParent(form.get());
        button->SetBounds(10, 10, 120, 30);
        button->SetHint(L"Проверить почту|Проверяет все ящики сейчас");
        silent = new TButton(form.get());
        silent->SetParent(form.get());
        silent->SetBounds(150, 10, 120, 30);
        silent->SetHint(L"Не видно");
        silent->SetShowHint(false);
        form->Show();
        SetCursorPos(5, 5);
        Pump(50);
        Application->HintPause = 300;
        Application->HintHidePause = 700;
    }
    void TearDown() override {
        Application->CancelHint();
        Application->HintWindowClass = nullptr;
        Application->OnShowHint = nullptr;
        Application->HintPause = 500;
        Application->HintHidePause = 2500;
    }
    static bool HintShowing() {
        THintWindow* w = Application->HintWindow();
        return w && w->Active() && IsWindowVisible(w->Handle());
    }
};

TEST_F(HintFixture, HintAppearsAfterHintPauseAndHidesAfterHidePause) {
    TControl* hintControl = nullptr;
    Application->OnShowHint = [&](std::wstring& text, bool&, THintInfo& info) {
        hintControl = info.HintControl;
        EXPECT_EQ(text, L"Проверить почту");
    };
    const TPoint p = button->ClientToScreen({20, 10});
    const DWORD start = GetTickCount();
    SetCursorPos(p.X, p.Y);
    ASSERT_TRUE(PumpUntil(HintShowing, 3000));
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 280u);
    EXPECT_EQ(hintControl, button);
    THintWindow* w = Application->HintWindow();
    wchar_t text[64] = {};
    GetWindowTextW(w->Handle(), text, 64);
    EXPECT_STREQ(text, L"Проверить почту");
    EXPECT_TRUE(GetWindowLongW(w->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // The hint window lies below the cursor and does not take the focus.
    EXPECT_GE(w->Top(), p.Y);
    EXPECT_NE(GetForegroundWindow(), w->Handle());
    EXPECT_TRUE(PumpUntil([] { return !HintShowing(); }, 3000));
    EXPECT_EQ(GetShortHint(L"a|b"), L"a");
    EXPECT_EQ(GetLongHint(L"a|b"), L"b");
    EXPECT_EQ(GetLongHint(L"ab"), L"ab");
}

TEST_F(HintFixture, NoHintWithoutShowHintAndOnShowHintMayRefuse) {
    const TPoint p = silent->ClientToScreen({20, 10});
    SetCursorPos(p.X, p.Y);
    Pump(600);
    EXPECT_FALSE(HintShowing());
    bool refuse = true;
    Application->OnShowHint = [&](std::wstring&, bool& canShow, THintInfo&) { canShow = !refuse; };
    const TPoint q = button->ClientToScreen({20, 10});
    SetCursorPos(q.X, q.Y);
    Pump(600);
    EXPECT_FALSE(HintShowing());
}

TEST_F(HintFixture, HintWindowClassReplacesTheWindow) {
    MarkedHint* made = nullptr;
    Application->HintWindowClass = [&](TComponent* owner) {
        made = new MarkedHint(owner);
        return made;
    };
    const TPoint p = button->ClientToScreen({20, 10});
    SetCursorPos(p.X, p.Y);
    ASSERT_TRUE(PumpUntil(HintShowing, 3000));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(Application->HintWindow(), made);
    EXPECT_EQ(made->shows, 1);
    // A click ends the hint.
    SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(button->Handle(), WM_LBUTTONUP, 0, 0);
    PostMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageW(button->Handle(), WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(PumpUntil([] { return !HintShowing(); }, 500));
}

TEST(ControlsDialogs, OpenDialogReturnsTheChosenFile) {
    trelm_test::TTempDir dir;
    const std::wstring path = dir.File(L"письмо.eml");
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    TOpenDialog dialog(nullptr);
    dialog.Title = L"Выбор звука";
    dialog.Filter = L"Письма (*.eml)|*.eml|Все файлы|*.*";
    dialog.InitialDir = dir.Path();
    dialog.Options.Include(ofFileMustExist);
    // Once the dialog is up, type the name and press OK as a user would.
    bool found = false;
    TTimer driver(nullptr);
    driver.SetInterval(100);
    driver.OnTimer = [&](TObject*) {
        HWND dlg = FindWindowW(nullptr, L"Выбор звука");
        if (!dlg)
            return;
        found = true;
        driver.SetEnabled(false);
        // The file name box of the explorer-style dialog.
        HWND name = GetDlgItem(dlg, 0x47C);  // cmb13
        if (!name)
            name = GetDlgItem(dlg, 0x480);  // edt1
        SetWindowTextW(name, L"письмо.eml");
        PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(found);
    EXPECT_EQ(dialog.FileName, path);
    EXPECT_EQ(dialog.Files()->Count(), 1);
    EXPECT_EQ(dialog.FilterIndex, 1);
}

TEST(ControlsDialogs, ImageListDrawsIntoAForeignDC) {
    TImageList images(nullptr, 8, 8);
    TBitmap bmp;
    bmp.SetSize(8, 8);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect({0, 0, 8, 8});
    ASSERT_EQ(images.Add(&bmp, nullptr), 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 20, 20);
    HGDIOBJ old = SelectObject(dc, target);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT all{0, 0, 20, 20};
    FillRect(dc, &all, blue);
    HFONT font = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    HGDIOBJ oldFont = SelectObject(dc, font);
    images.Draw(dc, 4, 4, 0);
    EXPECT_EQ(GetPixel(dc, 5, 5), static_cast<COLORREF>(RGB(255, 0, 0)));
    EXPECT_EQ(GetPixel(dc, 2, 2), static_cast<COLORREF>(RGB(0, 0, 255)));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);  // the caller's selections stay
    SelectObject(dc, oldFont);
    SelectObject(dc, old);
    DeleteObject(blue);
    DeleteObject(target);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    TIcon icon;
    images.GetIcon(0, &icon);
    EXPECT_FALSE(icon.Empty());
}

}  // namespace
