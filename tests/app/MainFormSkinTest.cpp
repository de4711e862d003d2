// The notifier's main window made in this process (one for the whole program): under the colour-coded fixture skin
// each kind of control draws from its own entry, and without that entry it keeps its built-in look; switched
// through every stored skin, the handles its objects hold come back to where they were and the frame around the
// client area is the last skin's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "InProcessMainForm.h"
#include "app/MainFormControls.h"
#include "app/MainFormLayout.h"
#include "base/Files.h"
#include "base/Handles.h"
#include "classlib/SysUtils.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/form/QuickButtons.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinFormObjects.h"
#include "skin/pages/SkinPageControl.h"
#include "skin/views/SkinListView.h"
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

// Real mouse input: each point in turn (with its button flags, 0: only the move), then the window's answer to them.
// Sent in one go: a list's press waits in a loop of its own for the move that starts a drag.
void Mouse(std::initializer_list<std::pair<POINT, DWORD>> steps) {
    std::vector<INPUT> in;
    const int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
    for (const auto& [p, flags] : steps) {
        INPUT i{};
        i.type = INPUT_MOUSE;
        i.mi.dx = MulDiv(p.x, 65535, w);
        i.mi.dy = MulDiv(p.y, 65535, h);
        i.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
        in.push_back(i);
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    TInProcessMainForm::Pump(60);
}
void MouseAt(POINT p, DWORD flags = 0) {
    Mouse({{p, flags}});
}

POINT ToScreen(HWND wnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    return p;
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

    // The accounts list shows these logins (its rows come from the window's lists), scrolled to its top.
    static TbsSkinListView* ShowAccounts(const std::vector<std::wstring>& logins) {
        TAAForm1* form = main_->Form();
        form->Lists.Accounts.clear();
        for (const std::wstring& login : logins) {
            auto a = std::make_unique<AListEm>();
            a->Login = login;
            a->Domain = L"mail.test";
            // A closed loopback port: the check the accounts start ends at once.
            a->HostIMAP = L"127.0.0.1";
            a->PortIMAP = 9;
            form->Lists.Accounts.push_back(std::move(a));
        }
        auto* view = dynamic_cast<TbsSkinListView*>(form->FindCtl(L"ListView_Em"));
        view->Items()->SetCount(static_cast<int>(logins.size()));
        SendMessageW(view->Handle(), LVM_ENSUREVISIBLE, 0, FALSE);
        SetForegroundWindow(main_->Handle());
        view->Repaint();
        TInProcessMainForm::Pump(300);
        return view;
    }
    static std::vector<std::wstring> AccountLogins() {
        std::vector<std::wstring> out;
        for (const auto& a : main_->Form()->Lists.Accounts)
            out.push_back(a->Login);
        return out;
    }
    // The centre of a row of the view, on the screen.
    static POINT RowCentre(TbsSkinListView* view, int row) {
        RECT r{};
        r.left = LVIR_BOUNDS;
        SendMessageW(view->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        return ToScreen(view->Handle(), std::min<int>(r.left + 40, r.right - 4), (r.top + r.bottom) / 2);
    }

    // Runs check(skin, language) in the first skin of every design family and in skins 23, 81 and 45, in each
    // built-in language, once the window shows them; the first language again at the end.
    static void InEveryFamilyAndLanguage(const std::function<void(int, int)>& check) {
        TAAForm1* form = main_->Form();
        SetCursorPos(5, 5);
        for (const int skin : {0, 1, 2, 3, 4, 5, 6, 7, 23, 81, 45}) {
            main_->SkinData()->SetSkinIndex(skin);
            for (const int lang : {0, 1, 2}) {
                form->Settings.LangIndex = static_cast<uint8_t>(lang);
                form->ApplyLanguage();
                form->RepaintAfterLanguage();
                SetForegroundWindow(main_->Handle());
                TInProcessMainForm::Pump(300);
                check(skin, lang);
            }
        }
        form->Settings.LangIndex = 0;
        form->ApplyLanguage();
    }
    // The screen pixels of r once a fade or a morph has settled: two grabs apart agree.
    static std::vector<std::uint32_t> SettledGrab(const RECT& r) {
        std::vector<std::uint32_t> px = GrabScreen(r), before;
        for (int i = 0; i < 20 && px != before; ++i) {
            before = px;
            TInProcessMainForm::Pump(100);
            px = GrabScreen(r);
        }
        return px;
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
    auto luma = [](std::uint32_t p) { return ((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF); };
    InEveryFamilyAndLanguage([&](int skin, int lang) {
        for (const TCtlSpec& spec : kMainFormLayout) {
            if ((spec.Kind != TCtlKind::Check && spec.Kind != TCtlKind::Button) ||
                std::wstring(spec.Parent) != L"TabSheet_NOsn")
                continue;
            auto* c = dynamic_cast<TWinControl*>(form->FindCtl(spec.Name));
            ASSERT_NE(c, nullptr);
            RECT r{};
            GetWindowRect(c->Handle(), &r);
            const int w = r.right - r.left, h = r.bottom - r.top;
            const std::vector<std::uint32_t> px = SettledGrab(r);
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
    });
}

// Accounts are reordered by dragging a row with the mouse onto another; a drop below the rows moves nothing. The
// moved row stays selected.
TEST_F(MainFormSkinTest, DraggingAnAccountRowOntoAnotherMovesItThere) {
    main_->SkinData()->SetSkinIndex(0);
    struct Case {
        int from, onto;  // onto -1: the empty part of the list below the rows
        std::vector<std::wstring> order;
    } cases[] = {
        {0, 2, {L"b", L"c", L"a"}},
        {2, 0, {L"c", L"a", L"b"}},
        {1, -1, {L"a", L"b", L"c"}},
    };
    for (const Case& c : cases) {
        TbsSkinListView* view = ShowAccounts({L"a", L"b", L"c"});
        POINT to = RowCentre(view, c.onto < 0 ? 2 : c.onto);
        if (c.onto < 0)
            to.y += 2 * (RowCentre(view, 1).y - RowCentre(view, 0).y);
        const POINT from = RowCentre(view, c.from);
        auto along = [&](int step) {
            return POINT{from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8};
        };
        MouseAt(from);
        Mouse({{from, MOUSEEVENTF_LEFTDOWN}, {{from.x, from.y + 6}, 0}, {along(1), 0}});
        for (int step = 2; step <= 8; ++step)
            MouseAt(along(step));
        MouseAt(to, MOUSEEVENTF_LEFTUP);
        TInProcessMainForm::Pump(300);
        SCOPED_TRACE(std::to_string(c.from) + " onto " + std::to_string(c.onto));
        EXPECT_EQ(AccountLogins(), c.order);
        if (c.onto >= 0)
            EXPECT_EQ(view->ItemIndex(), c.onto);
        // The rows show the new order.
        wchar_t text[32] = {};
        LVITEMW item{};
        item.pszText = text;
        item.cchTextMax = 32;
        for (int row = 0; row < 3; ++row) {
            SendMessageW(view->Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            EXPECT_EQ(std::wstring(text), c.order[static_cast<size_t>(row)]) << "row " << row;
        }
    }
    SetCursorPos(5, 5);
    ShowAccounts({});
}

// The owner-data accounts list, paged down by the keyboard and the wheel: every row it asks for lies inside the range
// it last announced, no announcement spans more than a page, and each row it shows carries its own login.
TEST_F(MainFormSkinTest, OwnerDataRowsAreAskedOnlyInsideTheLastAnnouncedRange) {
    std::vector<std::wstring> logins;
    for (int i = 0; i < 40; ++i)
        logins.push_back(L"user" + std::to_wstring(100 + i));
    TbsSkinListView* view = ShowAccounts(logins);
    const int perPage = static_cast<int>(SendMessageW(view->Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(perPage, 1);
    const auto data = view->OnData;
    const auto hint = view->OnDataHint;
    // Counted from the first range announced here on (what the view announced before is not known to the test).
    int first = 0, last = -1, announced = 0, requests = 0, outside = 0, widest = 0;
    view->OnDataHint = [&](TObject* sender, int from, int to) {
        first = from;
        last = to;
        ++announced;
        widest = std::max(widest, to - from + 1);
        hint(sender, from, to);
    };
    view->OnData = [&](TObject* sender, TListItem* item) {
        if (announced > 0) {
            ++requests;
            outside += item->Index() < first || item->Index() > last;
        }
        data(sender, item);
    };
    MouseAt(RowCentre(view, 0), MOUSEEVENTF_LEFTDOWN);
    MouseAt(RowCentre(view, 0), MOUSEEVENTF_LEFTUP);
    for (const WORD key : {VK_NEXT, VK_NEXT, VK_DOWN}) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = key;
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
        TInProcessMainForm::Pump(200);
    }
    INPUT wheel{};
    wheel.type = INPUT_MOUSE;
    wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
    wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
    SendInput(1, &wheel, sizeof wheel);
    TInProcessMainForm::Pump(300);
    const int top = static_cast<int>(SendMessageW(view->Handle(), LVM_GETTOPINDEX, 0, 0));
    EXPECT_GT(top, perPage) << "the list was not paged down";
    EXPECT_GT(announced, 1);
    EXPECT_GT(requests, 0);
    EXPECT_EQ(outside, 0) << "rows asked for outside the last announced range";
    EXPECT_LE(widest, perPage + 2) << "an announced range wider than a page";
    for (int row = top; row < std::min(top + perPage, 40); ++row) {
        wchar_t text[32] = {};
        LVITEMW item{};
        item.pszText = text;
        item.cchTextMax = 32;
        SendMessageW(view->Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(std::wstring(text), logins[static_cast<size_t>(row)]) << "row " << row;
    }
    view->OnData = data;
    view->OnDataHint = hint;
    SetCursorPos(5, 5);
    ShowAccounts({});
}

// A press on the track of a list's skinned bar, past the thumb, moves it by the bar's large change once (released
// before the repeat starts); the letters' horizontal bar pages by nearly its own width.
TEST_F(MainFormSkinTest, APressOnAScrollBarsTrackMovesItByTheLargeChange) {
    main_->SkinData()->SetSkinIndex(0);
    std::vector<std::wstring> logins;
    for (int i = 0; i < 40; ++i)
        logins.push_back(L"user" + std::to_wstring(100 + i));
    TbsSkinListView* accounts = ShowAccounts(logins);
    // A letter shows the letters' list below the pages.
    TAAForm1* form = main_->Form();
    form->Lists.Letters.push_back(
        std::make_unique<AListPism>(AListPism{45000.5, L"mail.test", L"", L"a", L"N", L"S", L""}));
    form->LettersChanged();
    form->UpdateFormHeight(0);
    auto* letters = dynamic_cast<TbsSkinListView*>(form->FindCtl(L"ListView_Pism"));
    const LRESULT widthEm = SendMessageW(accounts->Handle(), LVM_GETCOLUMNWIDTH, 0, 0);
    const LRESULT widthPism = SendMessageW(letters->Handle(), LVM_GETCOLUMNWIDTH, 0, 0);
    SendMessageW(accounts->Handle(), LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(900, 0));
    SendMessageW(letters->Handle(), LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(900, 0));
    TInProcessMainForm::Pump(300);
    // The large change each bar pages by: the rows of a page, one pixel (the report width bar's own default), and
    // for the letters nearly the bar's width.
    enum class TLarge { Page, One, BarWidth };
    const struct {
        const wchar_t* bar;
        TLarge large;
    } cases[] = {
        {L"ScrollBar_EmV", TLarge::Page}, {L"ScrollBar_EmH", TLarge::One}, {L"ScrollBarH_Pism", TLarge::BarWidth}};
    const int perPage = static_cast<int>(SendMessageW(accounts->Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.bar, c.bar + std::wcslen(c.bar)));
        auto* bar = dynamic_cast<TbsSkinScrollBar*>(main_->Form()->FindCtl(c.bar));
        ASSERT_NE(bar, nullptr);
        ASSERT_TRUE(IsWindowVisible(bar->Handle()));
        ASSERT_EQ(bar->Position(), bar->Min());
        const TbsScrollLayout layout = bar->CalcRects();
        const TRect thumb = layout.Buttons[0], track = layout.NewTrackArea;
        ASSERT_FALSE(thumb.IsEmpty());
        const bool vertical = bar->Kind() == sbVertical;
        const POINT press = ToScreen(bar->Handle(), vertical ? bar->Width() / 2 : (thumb.Right + track.Right) / 2,
                                     vertical ? (thumb.Bottom + track.Bottom) / 2 : bar->Height() / 2);
        MouseAt(press);
        MouseAt(press, MOUSEEVENTF_LEFTDOWN);
        const int large = bar->LargeChange();
        MouseAt(press, MOUSEEVENTF_LEFTUP);
        TInProcessMainForm::Pump(200);
        EXPECT_EQ(large, c.large == TLarge::Page ? perPage : c.large == TLarge::One ? 1 : bar->Width() - 5);
        const int room = bar->Max() - std::max(bar->PageSize() - 1, 0) - bar->Min();
        ASSERT_GT(room, large) << "too little to scroll for the case";
        EXPECT_EQ(bar->Position(), bar->Min() + large);
    }
    SendMessageW(accounts->Handle(), LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(widthEm, 0));
    SendMessageW(letters->Handle(), LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(widthPism, 0));
    form->Lists.Letters.clear();
    form->LettersChanged();
    form->UpdateFormHeight(0);
    SetCursorPos(5, 5);
    ShowAccounts({});
}

// In the first skin of every design family and in skins 23, 81 and 45, in each built-in language: each tab's caption
// is inked in the middle of its tab, as wide as the text measured in the page control's own font.
TEST_F(MainFormSkinTest, TabCaptionsStayCentredInEveryFamilyAndLanguage) {
    TAAForm1* form = main_->Form();
    auto* pages = dynamic_cast<TbsSkinPageControl*>(form->FindCtl(L"PageControl"));
    ASSERT_NE(pages, nullptr);
    auto luma = [](std::uint32_t p) {
        return static_cast<int>(((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF));
    };
    const wchar_t* sheets[] = {L"TabSheet_NOsn", L"TabSheet_Budilnik", L"TabSheet_NNP"};
    InEveryFamilyAndLanguage([&](int skin, int lang) {
        for (int tab = 0; tab < 3; ++tab) {
            const TRect t = pages->GetTabRect(tab);
            const POINT origin = ToScreen(pages->Handle(), t.Left, t.Top);
            const RECT r{origin.x, origin.y, origin.x + t.Width(), origin.y + t.Height()};
            const int w = t.Width(), h = t.Height();
            const std::vector<std::uint32_t> px = SettledGrab(r);
            // Ink: pixels far from the most common colour of their row inside the tab's edges.
            constexpr int kEdge = 5;
            int first = -1, last = -1;
            for (int y = 2; y < h - 2; ++y) {
                std::map<std::uint32_t, int> counts;
                for (int x = kEdge; x < w - kEdge; ++x)
                    ++counts[px[static_cast<size_t>(y) * w + x] & 0xFFFFFF];
                const std::uint32_t back = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                                               return a.second < b.second;
                                           })->first;
                for (int x = kEdge; x < w - kEdge; ++x)
                    if (std::abs(luma(px[static_cast<size_t>(y) * w + x]) - luma(back)) > 300) {
                        first = first < 0 ? x : std::min(first, x);
                        last = std::max(last, x);
                    }
            }
            auto* sheet = dynamic_cast<TWinControl*>(form->FindCtl(sheets[tab]));
            const std::wstring caption = Trim(sheet->Caption());
            const int text = ControlTextWidth(pages, caption);
            SCOPED_TRACE(std::to_string(skin) + "/" + std::to_string(lang) + " tab " + std::to_string(tab));
            EXPECT_GE(first, 0) << "no caption inked";
            EXPECT_GE(last - first + 1, text - 3) << "caption cut";
            EXPECT_LE(last - first + 1, text + 2) << "more than the caption inked";
            EXPECT_NEAR((first + last) / 2.0, (w - 1) / 2.0, 2.0) << "caption off the tab's middle";
        }
    });
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
