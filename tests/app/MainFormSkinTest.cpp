// The notifier's main window made in this process (one for the whole program): under the colour-coded fixture skin
// each kind of control draws from its own entry, and without that entry it keeps its built-in look; switched
// through every stored skin, the handles its objects hold come back to where they were and the frame around the
// client area is the last skin's.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "InProcessMainForm.h"
#include "app/MainFormControls.h"
#include "app/MainFormLayout.h"
#include "base/Files.h"
#include "base/Handles.h"
#include "skin/form/QuickButtons.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinFormObjects.h"
#include "tests/classlib/ScreenGrab.h"

namespace {

std::wstring Widen(const char* s) {
    std::wstring w;
    for (const char* p = s; *p; ++p)
        w += (*p == '/') ? L'\\' : static_cast<wchar_t>(*p);
    return w;
}

const std::wstring kFixture = Widen(TRELM_SKIN_FIXTURES) + L"\\colorcoded";

// Every colour the fixture's legend gives an entry ("entry.key.state=r,g,b" lines), as 0xRRGGBB.
std::map<std::string, std::set<std::uint32_t>> Legend() {
    std::map<std::string, std::set<std::uint32_t>> out;
    std::ifstream in(std::string(TRELM_SKIN_FIXTURES) + "/colorcoded/legend.txt");
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string entry = line.substr(0, std::min(line.find('.'), eq));
        int r = 0, g = 0, b = 0;
        if (std::sscanf(line.c_str() + eq + 1, "%d,%d,%d", &r, &g, &b) == 3)
            out[entry].insert(static_cast<std::uint32_t>(r << 16 | g << 8 | b));
    }
    return out;
}

// A copy of the fixture in a folder of its own where the entry is renamed away; returns its ini.
std::wstring FixtureWithout(const std::string& entry) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir = std::wstring(temp) + L"trelm_without_" + std::wstring(entry.begin(), entry.end());
    CreateDirectoryW(dir.c_str(), nullptr);
    WIN32_FIND_DATAW fd{};
    HANDLE found = FindFirstFileW((kFixture + L"\\*.bmp").c_str(), &fd);
    if (found != INVALID_HANDLE_VALUE) {
        do
            CopyFileW((kFixture + L"\\" + fd.cFileName).c_str(), (dir + L"\\" + fd.cFileName).c_str(), FALSE);
        while (FindNextFileW(found, &fd));
        FindClose(found);
    }
    std::string ini = ReadWholeFile(kFixture + L"\\skin.ini").value_or(std::string());
    const std::string from = "=" + entry + ":";
    const size_t at = ini.find(from);
    if (at != std::string::npos)
        ini.replace(at, from.size(), "=" + entry + "_gone:");
    if (FILE* f = _wfopen((dir + L"\\skin.ini").c_str(), L"wb")) {
        fwrite(ini.data(), 1, ini.size(), f);
        fclose(f);
    }
    return dir + L"\\skin.ini";
}

// The frame around the client area: how far the client lies inside the window on each side.
RECT ClientInset(HWND wnd) {
    RECT window{}, client{};
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return RECT{client.left - window.left, client.top - window.top, window.right - client.right,
                window.bottom - client.bottom};
}

}  // namespace

class MainFormSkinTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { main_ = std::make_unique<TInProcessMainForm>(); }
    static void TearDownTestSuite() { main_.reset(); }

    // The colours a control shows on the screen (windowed or not), as 0xRRGGBB.
    // A flat picture button draws its entry under the cursor, so the cursor rests on it; a list's bar that its
    // rows do not need is shown for the look.
    static std::set<std::uint32_t> ColoursOf(const wchar_t* name) {
        TControl* c = main_->Form()->FindCtl(name);
        if (!c)
            return {};
        const bool hidden = !c->Visible();
        if (hidden)
            c->SetVisible(true);
        RECT r{};
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            GetWindowRect(w->Handle(), &r);
        } else {
            POINT origin{c->Left(), c->Top()};
            ClientToScreen(c->Parent()->Handle(), &origin);
            r = RECT{origin.x, origin.y, origin.x + c->Width(), origin.y + c->Height()};
        }
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        TInProcessMainForm::Pump(300);
        std::set<std::uint32_t> out;
        for (std::uint32_t p : GrabScreen(r))
            out.insert(p & 0xFFFFFF);
        SetCursorPos(5, 5);
        if (hidden)
            c->SetVisible(false);
        TInProcessMainForm::Pump(100);
        return out;
    }
    static void Show(const std::wstring& ini) {
        main_->SkinData()->LoadFromFile(ini);
        SetForegroundWindow(main_->Handle());
        RedrawWindow(main_->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        TInProcessMainForm::Pump(400);
    }

    static inline std::unique_ptr<TInProcessMainForm> main_;
};

TEST_F(MainFormSkinTest, EverySkinInTurnGivesBackItsHandlesAndLeavesTheLastSkinsFrame) {
    TInProcessMainForm& main = *main_;
    main.SkinData()->SetSkinIndex(0);
    TInProcessMainForm::Pump(100);
    ASSERT_NE(main.SkinData(), nullptr);
    const int count = main.SkinCount();
    ASSERT_EQ(count, 87);
    const UINT repaint = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    // The last skin reached in one switch: its frame and the handles the window holds under it.
    main.SkinData()->SetSkinIndex(count - 1);
    RedrawWindow(main.Handle(), nullptr, nullptr, repaint);
    TInProcessMainForm::Pump(300);
    const RECT want = ClientInset(main.Handle());
    // A first round may make what is then kept for the process's life (one GDI object under Wine); a second round
    // must add nothing.
    for (int i = 0; i < count; ++i) {
        main.SkinData()->SetSkinIndex(i);
        RedrawWindow(main.Handle(), nullptr, nullptr, repaint);
        TInProcessMainForm::Pump(5);
    }
    TInProcessMainForm::Pump(300);
    long before[static_cast<int>(THandleKind::Count)] = {};
    for (int kind = 0; kind < static_cast<int>(THandleKind::Count); ++kind)
        before[kind] = LiveHandleCount(static_cast<THandleKind>(kind));
    for (int i = 0; i < count; ++i) {
        main.SkinData()->SetSkinIndex(i);
        RedrawWindow(main.Handle(), nullptr, nullptr, repaint);
        TInProcessMainForm::Pump(20);
    }
    TInProcessMainForm::Pump(300);
    for (int kind = 0; kind < static_cast<int>(THandleKind::Count); ++kind)
        EXPECT_EQ(LiveHandleCount(static_cast<THandleKind>(kind)), before[kind]) << "handles of kind " << kind;
    const RECT inset = ClientInset(main.Handle());
    EXPECT_EQ(inset.left, want.left);
    EXPECT_EQ(inset.top, want.top);
    EXPECT_EQ(inset.right, want.right);
    EXPECT_EQ(inset.bottom, want.bottom);
    EXPECT_GT(inset.top, inset.bottom) << "a caption above the client";
}

// The caption's two quick buttons as the form keeps them: with no image list neither is drawn nor clickable (a click
// where the first would lie is a click on the caption), and the title is centred within one pixel in a skin that
// left-aligns it (81, white title).
TEST_F(MainFormSkinTest, TheQuickButtonsCentreTheTitleAndTakeNoClick) {
    auto* skinForm = dynamic_cast<TbsSkinForm*>(main_->Form()->FindComponent(L"SkinForm1"));
    ASSERT_NE(skinForm, nullptr);
    ASSERT_EQ(skinForm->QuickButtons()->Count(), 2);
    EXPECT_EQ(skinForm->QuickButtons()->Items(0)->ImageIndex(), 8);
    EXPECT_EQ(skinForm->QuickButtons()->Items(0)->Hint, L" Сохранить ");
    EXPECT_EQ(skinForm->QuickButtons()->Items(1)->ImageIndex(), 13);
    EXPECT_EQ(skinForm->QuickButtons()->Items(1)->Caption(), L"Печать");
    EXPECT_EQ(skinForm->QuickImageList(), nullptr);
    main_->SkinData()->SetSkinIndex(81);
    TInProcessMainForm::Pump(400);
    TbsSkinCaptionObject* cap = nullptr;
    for (const auto& o : skinForm->ObjectList)
        if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o.get()))
            cap = c;
    ASSERT_NE(cap, nullptr);
    const HWND h = main_->Handle();
    // The first column of the white title within the caption object, as the screen shows it.
    auto firstTitleColumn = [&] {
        SetForegroundWindow(h);
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        TInProcessMainForm::Pump(300);
        RECT wr{};
        GetWindowRect(h, &wr);
        const RECT band{wr.left + cap->ObjectRect.Left, wr.top + cap->ObjectRect.Top, wr.left + cap->ObjectRect.Right,
                        wr.top + cap->ObjectRect.Bottom};
        const std::vector<std::uint32_t> px = GrabScreen(band);
        const int w = band.right - band.left, bh = band.bottom - band.top;
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < bh; ++y)
                if ((px[static_cast<size_t>(y) * w + x] & 0xFFFFFF) == 0xFFFFFF)
                    return cap->ObjectRect.Left + x;
        return -1;
    };
    const int centred = firstTitleColumn();
    const int shift = (cap->PaintedArea() - cap->PaintedWidth()) / 2;
    ASSERT_NE(centred, -1);
    ASSERT_GT(shift, 10);
    // Without the buttons the skin's own alignment (left) holds: the title moves by half the room it leaves.
    auto* saved = new TbsQuickButtonItems(skinForm);
    saved->Assign(skinForm->QuickButtons());
    skinForm->QuickButtons()->Clear();
    const int leftAligned = firstTitleColumn();
    skinForm->QuickButtons()->Assign(saved);
    delete saved;
    firstTitleColumn();
    EXPECT_NEAR(centred - leftAligned, shift, 1);
    // Where the first button would lie: the caption.
    RECT wr{};
    GetWindowRect(h, &wr);
    const int x = wr.left + cap->ObjectRect.Left + 20, y = wr.top + cap->ObjectRect.Top + cap->ObjectRect.Height() / 2;
    EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(x, y)), HTCAPTION);
    EXPECT_EQ(cap->QuickButtonAt(cap->ObjectRect.Left + 20, cap->ObjectRect.Top + cap->ObjectRect.Height() / 2), -1);
}

// In the first skin of every design family and in skins 23, 81 and 45, in each built-in language: every check box and
// push button on the mail page shows its whole caption, measured in the control's own font, inside the control.
TEST_F(MainFormSkinTest, EveryCaptionFitsInEveryFamilyAndLanguage) {
    TAAForm1* form = main_->Form();
    SetCursorPos(5, 5);
    auto luma = [](std::uint32_t p) { return ((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF); };
    for (const int skin : {0, 1, 2, 3, 4, 5, 6, 7, 23, 81, 45}) {
        main_->SkinData()->SetSkinIndex(skin);
        for (const int lang : {0, 1, 2}) {
            form->Settings.LangIndex = static_cast<uint8_t>(lang);
            form->ApplyLanguage();
            form->RepaintAfterLanguage();
            SetForegroundWindow(main_->Handle());
            TInProcessMainForm::Pump(300);
            for (const TCtlSpec& spec : kMainFormLayout) {
                if ((spec.Kind != TCtlKind::Check && spec.Kind != TCtlKind::Button) ||
                    std::wstring(spec.Parent) != L"TabSheet_NOsn")
                    continue;
                auto* c = dynamic_cast<TWinControl*>(form->FindCtl(spec.Name));
                ASSERT_NE(c, nullptr);
                RECT r{};
                GetWindowRect(c->Handle(), &r);
                const int w = r.right - r.left, h = r.bottom - r.top;
                // Once a fade or a morph has settled: two grabs apart agree.
                std::vector<std::uint32_t> px = GrabScreen(r), before;
                for (int i = 0; i < 20 && px != before; ++i) {
                    before = px;
                    TInProcessMainForm::Pump(100);
                    px = GrabScreen(r);
                }
                // Ink: columns with a pixel far from the control's face behind the text (a button's middle row at
                // its left inner edge, a check box's right end).
                const std::uint32_t back =
                    spec.Kind == TCtlKind::Button ? px[static_cast<size_t>(h / 2) * w + 4] : px[(h / 2) * w + w - 1];
                int first = -1, last = -1;
                const int from = spec.Kind == TCtlKind::Check ? 18 : 3;  // past a check box's box
                for (int x = from; x < w - 3; ++x)
                    for (int y = 3; y < h - 3; ++y)
                        if (std::abs(static_cast<int>(luma(px[static_cast<size_t>(y) * w + x])) -
                                     static_cast<int>(luma(back))) > 300) {
                            first = first < 0 ? x : first;
                            last = x;
                        }
                const int text = ControlTextWidth(c, c->Caption());
                SCOPED_TRACE(std::to_string(skin) + "/" + std::to_string(lang) + " " +
                             std::string(spec.Name, spec.Name + std::wcslen(spec.Name)));
                EXPECT_GE(last - first + 1, text - 3) << "caption cut";
                EXPECT_LT(last, w - 3) << "caption reaches the edge";
            }
        }
    }
    form->Settings.LangIndex = 0;
    form->ApplyLanguage();
}

// Under the fixture skin a control of each kind shows colours of its entry; with the entry gone from the skin it
// shows none of them (its built-in look). Last of the suite: the fixture's button entry does not stretch, so the
// buttons keep the size it gave them.
TEST_F(MainFormSkinTest, EachKindOfControlDrawsFromItsEntryAndWithoutItFromItsBuiltInLook) {
    ASSERT_NE(main_->SkinData(), nullptr);
    const auto legend = Legend();
    ASSERT_FALSE(legend.empty());
    const std::pair<const wchar_t*, const char*> kinds[] = {
        {L"Edit_PNLogin", "edit"},        {L"Combo_PNDomain", "combobox"},   {L"Spin_ProvEmSek", "spinedit"},
        {L"Check_AutoZagr", "checkbox"},  {L"Button_Skin", "button"},        {L"Button_Dobav", "resizetoolbutton"},
        {L"ListView_Em", "listview"},     {L"GroupBox_NastrEm", "groupbox"}, {L"PageControl", "tab"},
        {L"ScrollBar_EmH", "hscrollbar"}, {L"Label_ProvEmSek", "stdlabel"}};
    Show(kFixture + L"\\skin.ini");
    for (const auto& [name, entry] : kinds) {
        ASSERT_TRUE(legend.count(entry)) << entry;
        const std::set<std::uint32_t> shown = ColoursOf(name);
        ASSERT_FALSE(shown.empty()) << entry;
        int hits = 0;
        for (std::uint32_t c : legend.at(entry))
            hits += static_cast<int>(shown.count(c));
        EXPECT_GT(hits, 0) << "no colour of the " << entry << " entry in the control";
    }
    for (const auto& [name, entry] : kinds) {
        Show(FixtureWithout(entry));
        const std::set<std::uint32_t> shown = ColoursOf(name);
        int hits = 0;
        for (std::uint32_t c : legend.at(entry))
            hits += static_cast<int>(shown.count(c));
        EXPECT_EQ(hits, 0) << "the " << entry << " entry's colours without the entry";
    }
}
