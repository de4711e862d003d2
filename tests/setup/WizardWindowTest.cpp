// Setup.exe under Wine, driven from outside as a user would: one program start shared by the cases (each leaves the
// wizard on its first page), controls found by window text and TrelmName, buttons pressed with clicks. The titles
// and Next captions step by step, the terms' check box gating Next, the folder proposal in a prefix without D: and
// in a prefix of its own with a D: of more than 10 MB, the Start-menu check box, and the close question on every
// page: No stays, Yes ends the program having written nothing. Then the window in-process, all six pages captured in
// "Windows 8" and in the built-in look (TRELM_SHOTS) and checked for what must show.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "SetupDriver.h"
#include "base/Utf.h"
#include "classlib/SysUtils.h"
#include "classlib/WindowTestUtil.h"
#include "setup/WizardForm.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEffectLabel.h"
#include "skin/controls/SkinGauge.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/pages/SkinPageControl.h"

namespace {

using namespace trelm_test;

const wchar_t* const kTitle = L"Установка - Trelm Mail";

bool Visible(HWND wnd) {
    return wnd && IsWindowVisible(wnd);
}

class SetupWizard : public ::testing::Test {
  protected:
    static void TearDownTestSuite() { shared_.reset(); }
    void SetUp() override {
        app_ = std::move(shared_);
        if (!app_ || !app_->Running() || !Visible(app_->Main())) {
            app_ = std::make_unique<TSetupProcess>();
            ASSERT_TRUE(app_->Start()) << "the wizard window appears";
        }
        SetForegroundWindow(app_->Main());
        ASSERT_TRUE(WaitUntil([&] { return Title() == L"Описание Trelm Mail"; }, 3000)) << "the first page";
    }
    void TearDown() override {
        // Back to the first page for the next case.
        if (app_ && app_->Running()) {
            for (int i = 0; i < 6 && Visible(app_->Ctl(L"Button_Back")); ++i)
                Press(L"Button_Back");
        }
        shared_ = std::move(app_);
    }
    std::wstring Title() const { return app_->Title(); }
    bool Enabled(const wchar_t* name) const { return app_->Enabled(name); }
    void Press(const wchar_t* name) {
        ASSERT_NE(app_->Ctl(name), nullptr) << WideToUtf8(name);
        if (TSetupProcess::IsBox(name))
            EXPECT_EQ(WindowFromPoint(app_->PressPoint(name)), app_->Ctl(name)) << "nothing covers the check box";
        app_->Press(name);
    }
    // Next until the title reads want.
    void NextTo(const std::wstring& want) {
        ASSERT_TRUE(app_->NextTo(want)) << "title " << Title().size();
    }
    HWND WaitBox(DWORD ms = 5000) { return app_->WaitBox(ms); }

    std::unique_ptr<TSetupProcess> app_;

  private:
    static inline std::unique_ptr<TSetupProcess> shared_;
};

TEST_F(SetupWizard, StartsWithTheDescriptionInAWindowOfAtMost500By384) {
    HWND main = app_->Main();
    EXPECT_EQ(WindowText(main), kTitle);
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_LE(r.right - r.left, 500);
    EXPECT_LE(r.bottom - r.top, 384);
    EXPECT_FALSE(Visible(app_->Ctl(L"Button_Back")));
    EXPECT_TRUE(Enabled(L"Button_Next"));
    EXPECT_EQ(app_->TextOf(L"Button_Next"), L"Далее >");
    // Nothing of the window is cut off: the buttons' panel lies inside the client area.
    RECT client{}, panel{};
    GetClientRect(main, &client);
    MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(app_->Ctl(L"Panel_niz"), &panel);
    EXPECT_LE(panel.bottom, client.bottom);
    EXPECT_LE(panel.right, client.right);
    Shot(main, L"setup-page1-win8");
}

TEST_F(SetupWizard, StepsShowTheirTitlesAndNextWaitsForTheTerms) {
    NextTo(L"Лицензионное соглашение на  Trelm Mail");
    EXPECT_TRUE(Visible(app_->Ctl(L"Button_Back")));
    EXPECT_FALSE(Enabled(L"Button_Next")) << "the terms are not accepted yet";
    Press(L"Check2");
    EXPECT_EQ(SendMessageW(app_->Ctl(L"Check2"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(WaitUntil([&] { return Enabled(L"Button_Next"); }, 2000));
    // Back then Next: the terms page again, unchecked.
    Press(L"Button_Back");
    ASSERT_TRUE(WaitUntil([&] { return Title() == L"Описание Trelm Mail"; }, 3000));
    EXPECT_TRUE(Enabled(L"Button_Next"));
    EXPECT_FALSE(Visible(app_->Ctl(L"Button_Back")));
    NextTo(L"Лицензионное соглашение на  Trelm Mail");
    EXPECT_EQ(SendMessageW(app_->Ctl(L"Check2"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(Enabled(L"Button_Next"));
    Press(L"Check2");
    ASSERT_TRUE(WaitUntil([&] { return Enabled(L"Button_Next"); }, 2000));
    NextTo(L"Выбор каталога для  Trelm Mail");
    EXPECT_EQ(app_->TextOf(L"Button_Next"), L"Далее >");
    NextTo(L"Программа Trelm Mail в Пуск -> программы");
    EXPECT_EQ(app_->TextOf(L"Label4"), L"Папка Trelm Mail. Для продолжения нажмите кнопку Далее.");
    EXPECT_EQ(app_->TextOf(L"Edit4"), L"Trelm Mail");
    EXPECT_EQ(SendMessageW(app_->Ctl(L"Check4"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(Enabled(L"ListView1"));
    Press(L"Check4");
    EXPECT_TRUE(WaitUntil([&] { return !Enabled(L"ListView1") && !Enabled(L"Edit4"); }, 2000))
        << "the Start-menu choice off disables the list and the edit";
    Press(L"Check4");
    EXPECT_TRUE(WaitUntil([&] { return Enabled(L"ListView1") && Enabled(L"Edit4"); }, 2000));
    NextTo(L"Установка  Trelm Mail");
    EXPECT_EQ(app_->TextOf(L"Button_Next"), L"Установить");
    EXPECT_TRUE(Enabled(L"Button_Next"));
    EXPECT_TRUE(app_->TextOf(L"Label5").rfind(L"Устанавливается в ", 0) == 0);
    EXPECT_EQ(SendMessageW(app_->Ctl(L"Check5"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(Visible(app_->Ctl(L"Button_Back")));
}

// Walks to the folder page (the terms accepted).
#define WALK_TO_FOLDER_PAGE()                                        \
    do {                                                             \
        NextTo(L"Лицензионное соглашение на  Trelm Mail");           \
        Press(L"Check2");                                            \
        ASSERT_TRUE(WaitUntil([&] { return Enabled(L"Button_Next"); }, 2000)); \
        NextTo(L"Выбор каталога для  Trelm Mail");                   \
    } while (0)

TEST_F(SetupWizard, WithoutDTheFolderPageProposesProgramFilesOnC) {
    if (GetDriveTypeW(L"D:\\") != DRIVE_NO_ROOT_DIR)
        GTEST_SKIP() << "this prefix has a D: drive";
    WALK_TO_FOLDER_PAGE();
    wchar_t pf[MAX_PATH] = {};
    DWORD size = sizeof pf;
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", L"ProgramFilesDir",
                           RRF_RT_REG_SZ, nullptr, pf, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(pf), L"C:\\Program Files");
    EXPECT_EQ(app_->TextOf(L"Edit3"), L"C:\\Program Files\\Trelm Mail");
    const std::wstring line = app_->TextOf(L"Label_Main31");
    const std::wstring head = L"Программе необходимо 7 Mb. На диске  C:  ", tail = L" Mb свободно.";
    ASSERT_EQ(line.rfind(head, 0), 0u) << "the line names C:";
    ASSERT_GT(line.size(), head.size() + tail.size());
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail);
    // The digits grouped as the user's locale groups them.
    const wchar_t sep = TFormatSettings::FromUserLocale().ThousandSeparator;
    const std::wstring digits = line.substr(head.size(), line.size() - head.size() - tail.size());
    ULARGE_INTEGER freeC{};
    GetDiskFreeSpaceExW(L"C:\\", &freeC, nullptr, nullptr);
    if (freeC.QuadPart / 1048576 >= 1000)
        EXPECT_NE(digits.find(sep), std::wstring::npos) << "grouped";
    for (wchar_t ch : digits)
        EXPECT_TRUE(iswdigit(ch) || ch == sep);
    // Typing into the edit changes nothing of the choice.
    SendMessageW(app_->Ctl(L"Edit3"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"X:\\Elsewhere"));
    NextTo(L"Программа Trelm Mail в Пуск -> программы");
    NextTo(L"Установка  Trelm Mail");
    EXPECT_EQ(app_->TextOf(L"Label5"), L"Устанавливается в C:\\Program Files\\Trelm Mail");
}

// Run by ctest as setup_wizard_drive_tests in the drive prefix (tests/skin/pickers/drive-prefix.sh), whose D: lies
// on the build's disk.
TEST_F(SetupWizard, WithRoomOnDTheFolderPageProposesD) {
    const char* prefix = std::getenv("TRELM_DRIVE_PREFIX");
    if (!prefix || std::string(prefix) != "1")
        GTEST_SKIP() << "runs in the drive prefix, which has a D:";
    ULARGE_INTEGER freeD{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"D:\\", &freeD, nullptr, nullptr));
    ASSERT_GT(freeD.QuadPart / 1048576, 10u);
    WALK_TO_FOLDER_PAGE();
    EXPECT_EQ(app_->TextOf(L"Edit3"), L"D:\\Trelm Mail");
    EXPECT_EQ(app_->TextOf(L"Label_Main31").rfind(L"Программе необходимо 7 Mb. На диске  D:  ", 0), 0u);
}

// Last: a Yes ends the program.
TEST_F(SetupWizard, ClosingAsksOnEveryPageNoStaysAndYesEndsHavingWrittenNothing) {
    const wchar_t* titles[] = {L"Описание Trelm Mail", L"Лицензионное соглашение на  Trelm Mail",
                               L"Выбор каталога для  Trelm Mail", L"Программа Trelm Mail в Пуск -> программы",
                               L"Установка  Trelm Mail"};
    for (int page = 0; page < 5; ++page) {
        if (page == 2) {
            Press(L"Check2");
            ASSERT_TRUE(WaitUntil([&] { return Enabled(L"Button_Next"); }, 2000));
        }
        if (page > 0)
            NextTo(titles[page]);
        PostMessageW(app_->Main(), WM_CLOSE, 0, 0);
        HWND box = WaitBox();
        ASSERT_NE(box, nullptr) << "page " << page << " asks";
        TWindowlessControl message;  // the box's text is a label without a window of its own
        ASSERT_TRUE(TNotifierProcess::FindWindowless(box, L"Message", message));
        EXPECT_NE(message.Text.find(L"Вы желаете прервать процесс установки?"), std::wstring::npos);
        if (page == 0) {
            RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            Sleep(500);  // the box is mapped and painted before it is captured
            Shot(box, L"setup-close-question");
        }
        PostClick(TNotifierProcess::Child(box, L"No"));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000));
        EXPECT_TRUE(app_->Running());
        EXPECT_EQ(Title(), titles[page]) << "No keeps the wizard where it was";
    }
    // Cancel asks the same question; Yes ends the program.
    PostClick(app_->Ctl(L"Button_Cancel"));
    HWND box = WaitBox();
    ASSERT_NE(box, nullptr);
    PostClick(TNotifierProcess::Child(box, L"Yes"));
    EXPECT_TRUE(app_->WaitExit(10000));
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelm Mail",
                            0, KEY_READ, &key),
              ERROR_SUCCESS);
    if (key)
        RegCloseKey(key);
    EXPECT_EQ(GetFileAttributesW(L"C:\\Program Files\\Trelm Mail"), INVALID_FILE_ATTRIBUTES);
}

// ---- The window in this process: every page in both looks --------------------------------------------------------

class SetupPages : public ::testing::Test {
  protected:
    static std::unique_ptr<TAForm1> ShownForm() {
        auto form = std::make_unique<TAForm1>(nullptr);
        form->Show();
        Pump(300);
        return form;
    }
    void ShowAll(TAForm1* form, const std::wstring& look) {
        auto* pages = dynamic_cast<TbsSkinPageControl*>(form->FindCtl(L"PageControl1"));
        ASSERT_NE(pages, nullptr);
        EXPECT_TRUE(pages->TabsHidden());
        EXPECT_TRUE(pages->BorderHidden());
        for (int page = 0; page < 6; ++page) {
            // The step machine shows pages 2 to 5 with their texts; the language page follows the installation,
            // which this test does not run (the end-to-end test does), so it is shown directly.
            if (page >= 1 && page <= 4)
                form->Button_NextClik();
            if (page == 1) {
                // The terms accepted, as the user does before going on.
                auto* check = dynamic_cast<TbsSkinCheckRadioBox*>(form->FindCtl(L"Check2"));
                ASSERT_NE(check, nullptr);
                check->SetChecked(true);
            }
            else if (page == 5)
                pages->SetActivePageIndex(5);
            form->Repaint();
            Pump(300);
            Shot(form->Handle(), L"setup-page" + std::to_wstring(page + 1) + L"-" + look);
            EXPECT_EQ(pages->ActivePageIndex(), page);
            // The memo's bar stands at the memo's right edge inside its panel.
            if (page < 2) {
                HWND memo = TNotifierProcess::Child(form->Handle(), page == 0 ? L"Memo1" : L"Memo2");
                HWND bar = TNotifierProcess::Child(form->Handle(), page == 0 ? L"ScrollBarV1" : L"ScrollBarV2");
                ASSERT_TRUE(Visible(memo) && Visible(bar)) << page;
                RECT m{}, b{};
                GetWindowRect(memo, &m);
                GetWindowRect(bar, &b);
                EXPECT_EQ(b.left, m.right);
                EXPECT_EQ(b.top, m.top);
                EXPECT_EQ(b.bottom, m.bottom);
            }
        }
        for (int i = 0; i < 4; ++i)
            form->Button_BackClick();
        EXPECT_EQ(form->Step, 0);
        EXPECT_EQ(pages->ActivePageIndex(), 0);
    }
};

TEST_F(SetupPages, AllSixPagesInWindowsEightAndInTheBuiltInLook) {
    const std::unique_ptr<TAForm1> owned = ShownForm();
    TAForm1* form = owned.get();
    auto* data = dynamic_cast<TbsSkinData*>(form->FindComponent(L"SkinData"));
    ASSERT_NE(data, nullptr);
    auto* list = dynamic_cast<TbsCompressedSkinList*>(form->FindComponent(L"SkinList"));
    ASSERT_NE(list, nullptr);
    EXPECT_NE(FindResourceW(nullptr, L"SETUPSKINS", MAKEINTRESOURCEW(10)), nullptr);
    EXPECT_NE(FindResourceW(nullptr, L"SETUPSKINS_0", MAKEINTRESOURCEW(10)), nullptr);
    EXPECT_NE(FindResourceW(nullptr, L"SETUP_LANG3", MAKEINTRESOURCEW(10)), nullptr);
    EXPECT_EQ(list->Skins()->Count(), 1);
    EXPECT_EQ(data->SkinIndex(), 0);
    EXPECT_FALSE(data->Empty) << "the stored \"Windows 8\" is in force";
    auto* title = dynamic_cast<TbsSkinLabel*>(form->FindCtl(L"Label_verh"));
    ASSERT_NE(title, nullptr);
    EXPECT_NE(title->SkinIndex(), -1) << "the title draws from \"label\"";
    ShowAll(form, L"win8");
    data->ClearSkin();
    Pump(200);
    EXPECT_TRUE(data->Empty);
    ShowAll(form, L"builtin");
}

TEST_F(SetupPages, TheGaugeClimbsByOneToAHundredAlsoBelowAHundredBlocks) {
    const std::unique_ptr<TAForm1> owned = ShownForm();
    TAForm1* form = owned.get();
    auto* gauge = dynamic_cast<TbsSkinGauge*>(form->FindCtl(L"Gauge5"));
    ASSERT_NE(gauge, nullptr);
    // To the confirmation page with the terms accepted, then the page as the copy shows it.
    form->Button_NextClik();
    dynamic_cast<TbsSkinCheckRadioBox*>(form->FindCtl(L"Check2"))->SetChecked(true);
    for (int i = 0; i < 3; ++i)
        form->Button_NextClik();
    dynamic_cast<TbsSkinButton*>(form->FindCtl(L"Button_Next"))->SetCaption(L"Установка");
    dynamic_cast<TbsSkinCheckRadioBox*>(form->FindCtl(L"Check5"))->SetEnabled(false);
    gauge->SetVisible(true);
    // 37 blocks, as the end-to-end test's small payload has: each block moves the gauge, the last one to 100.
    std::vector<int> seen;
    for (std::uint64_t copied = 1; copied <= 37; ++copied) {
        form->GaugeObnov(copied, 37);
        seen.push_back(gauge->Value());
        if (copied == 18) {
            Pump(100);
            Shot(form->Handle(), L"setup-copying-win8");
        }
    }
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_GT(seen[i], seen[i - 1]) << i;
    EXPECT_EQ(seen.back(), 100);
    EXPECT_EQ(seen[17], 18) << "a step of one block below a hundred blocks";
}

}  // namespace
