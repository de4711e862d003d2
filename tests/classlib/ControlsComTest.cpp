// Common controls on real windows: owner-data list views and their hints, custom-draw colours read back from the
// screen, column clicks, tree node operations and expansion, page switching with its events, the up-down control.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "classlib/ComCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/WindowTestUtil.h"

namespace {

constexpr int kX = 80, kY = 80;

std::unique_ptr<TForm> ShownForm(int w = 420, int h = 320) {
    std::unique_ptr<TForm> form(new TForm(nullptr));
    PlaceForm(form.get(), kX, kY, w, h);
    form->Show();
    return form;
}

// A left click at a screen point, as real input.
void ClickAt(TPoint p) {
    SetCursorPos(p.X, p.Y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

// Real mouse input at a screen point: a move there, then the given button flags (0: just the move).
void MouseAt(TPoint p, DWORD buttonFlags) {
    SetCursorPos(p.X, p.Y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE;  // no distance: a WM_MOUSEMOVE where the cursor now is
    in[1].mi.dwFlags = buttonFlags;
    SendInput(buttonFlags ? 2 : 1, in, sizeof(INPUT));
    Pump(30);
}

TListView* ReportView(TForm* form) {
    auto* lv = new TListView(form);
    lv->SetParent(form);
    lv->SetBounds(0, 0, 400, 300);
    lv->SetViewStyle(vsReport);
    for (const wchar_t* c : {L"Ящик", L"Писем", L"Сервер"}) {
        TListColumn* col = lv->Columns()->Add();
        col->SetCaption(c);
        col->SetWidth(120);
    }
    return lv;
}

TEST(ControlsCom, OwnerDataAsksOnlyForRowsOfTheLastHint) {
    auto form = ShownForm();
    TListView* lv = ReportView(form.get());
    lv->SetOwnerData(true);
    lv->SetRowSelect(true);
    int first = 0, last = -1;
    std::vector<int> asked;
    std::vector<int> outside;
    lv->OnDataHint = [&](TObject*, int from, int to) {
        first = from;
        last = to;
    };
    lv->OnData = [&](TObject*, TListItem* item) {
        asked.push_back(item->Index());
        if (item->Index() < first || item->Index() > last)
            outside.push_back(item->Index());
        item->SetCaption(L"row " + std::to_wstring(item->Index()));
        item->SubItems()->Add(std::to_wstring(item->Index() * 2));
    };
    lv->Items()->SetCount(1000);
    lv->Update();
    Pump(50);
    EXPECT_FALSE(asked.empty());
    // Scroll far down and read a row the program never announced.
    lv->Scroll(0, 400);
    lv->Update();
    Pump(50);
    EXPECT_EQ(lv->Items()->Item(900)->Caption(), L"row 900");
    // The system's own reading of a row.
    wchar_t buf[64] = {};
    LVITEMW it{};
    it.iSubItem = 1;
    it.pszText = buf;
    it.cchTextMax = 64;
    SendMessageW(lv->Handle(), LVM_GETITEMTEXTW, 500, reinterpret_cast<LPARAM>(&it));
    EXPECT_STREQ(buf, L"1000");
    EXPECT_TRUE(outside.empty()) << "OnData outside the hint for row " << outside.front();
    EXPECT_GT(std::count_if(asked.begin(), asked.end(), [](int i) { return i > 20; }), 0);
}

// A fetch sees the fields the system asks for: a label measured is no icon looked up.
class TFieldsListView : public TListView {
  public:
    using TListView::TListView;
    std::vector<std::pair<int, UINT>> Fetches;  // row, fields

  protected:
    bool OwnerDataFetch(TListItem* Item) override {
        Fetches.emplace_back(Item->Index(), OwnerDataFields());
        Item->SetCaption(L"Звук " + std::to_wstring(Item->Index()));
        if (OwnerDataFields() & LVIF_IMAGE)
            Item->SetImageIndex(Item->Index() % 7);
        return true;
    }
};

TEST(ControlsCom, OwnerDataFetchGetsTheFieldsAskedFor) {
    auto form = ShownForm();
    auto* lv = new TFieldsListView(form.get());
    lv->SetParent(form.get());
    lv->SetBounds(0, 0, 400, 300);
    lv->SetViewStyle(vsList);
    lv->SetOwnerData(true);
    lv->Items()->SetCount(200);
    Pump(50);
    auto systemRead = [&](int row, UINT mask) {
        wchar_t buf[64] = {};
        LVITEMW it{};
        it.mask = mask;
        it.iItem = row;
        it.pszText = buf;
        it.cchTextMax = 64;
        SendMessageW(lv->Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
        return std::make_pair(std::wstring(buf), it.iImage);
    };
    struct Case {
        const wchar_t* what;
        int row;
        UINT mask;        // 0: read through Items()
        bool fetches;     // a new fetch expected
        bool wantsImage;  // that fetch asks for the icon
    };
    const Case cases[] = {
        {L"label only", 150, LVIF_TEXT, true, false},
        {L"same label again", 150, LVIF_TEXT, false, false},
        {L"the icon of that row", 150, LVIF_TEXT | LVIF_IMAGE, true, true},
        {L"the icon once more", 150, LVIF_IMAGE, false, false},
        {L"label of another row", 151, LVIF_TEXT, true, false},
        {L"the program's read", 151, 0, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const size_t before = lv->Fetches.size();
        std::wstring caption;
        int image = -1;
        if (c.mask) {
            std::tie(caption, image) = systemRead(c.row, c.mask);
        } else {
            TListItem* item = lv->Items()->Item(c.row);
            caption = item->Caption();
            image = item->ImageIndex();
        }
        if (c.mask & LVIF_TEXT || !c.mask)
            EXPECT_EQ(caption, L"Звук " + std::to_wstring(c.row));
        if (c.mask & LVIF_IMAGE || !c.mask)
            EXPECT_EQ(image, c.row % 7);
        ASSERT_EQ(lv->Fetches.size(), before + (c.fetches ? 1 : 0));
        if (c.fetches) {
            EXPECT_EQ(lv->Fetches.back().first, c.row);
            EXPECT_EQ((lv->Fetches.back().second & LVIF_IMAGE) != 0, c.wantsImage);
            EXPECT_NE(lv->Fetches.back().second & LVIF_TEXT, 0u);
        }
    }
}

TEST(ControlsCom, CustomDrawBrushColourIsTheRowBackground) {
    auto form = ShownForm();
    TListView* lv = ReportView(form.get());
    lv->SetRowSelect(true);
    for (int i = 0; i < 4; ++i) {
        TListItem* item = lv->Items()->Add();
        item->SetCaption(L"Письмо " + std::to_wstring(i));
        item->SubItems()->Add(L"x");
    }
    std::vector<TCustomDrawStage> stages;
    lv->OnAdvancedCustomDrawItem = [&](TCustomListView* sender, TListItem* item, TCustomDrawState,
                                       TCustomDrawStage stage, bool&) {
        stages.push_back(stage);
        if (stage == cdPrePaint)
            sender->Canvas()->Brush()->SetColor(item->Index() == 1 ? TColor(0x00336699) : clWindow);
    };
    lv->Invalidate();
    lv->Update();
    Pump(100);
    const TRect r = lv->Items()->Item(1)->DisplayRect(drLabel);
    const TPoint screen = lv->ClientToScreen({r.Right - 3, r.Top + 1});
    EXPECT_EQ(ScreenPixel(screen.X, screen.Y), static_cast<COLORREF>(RGB(0x99, 0x66, 0x33)));
    const TRect r0 = lv->Items()->Item(0)->DisplayRect(drLabel);
    const TPoint screen0 = lv->ClientToScreen({r0.Right - 3, r0.Top + 1});
    EXPECT_EQ(ScreenPixel(screen0.X, screen0.Y), ColorToRGB(clWindow) & 0xFFFFFF);
    EXPECT_NE(std::find(stages.begin(), stages.end(), cdPostPaint), stages.end());
}

TEST(ControlsCom, ColumnClickReachesTheHandler) {
    auto form = ShownForm();
    TListView* lv = ReportView(form.get());
    lv->Items()->Add()->SetCaption(L"a");
    TListColumn* clicked = nullptr;
    lv->OnColumnClick = [&](TObject*, TListColumn* c) { clicked = c; };
    HWND header = lv->HeaderHandle();
    ASSERT_NE(header, nullptr);
    RECT r{};
    SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(header, &p);
    ClickAt({static_cast<int>(p.x), static_cast<int>(p.y)});
    EXPECT_TRUE(PumpUntil([&] { return clicked != nullptr; }));
    EXPECT_EQ(clicked, lv->Columns()->Items(1));
}

struct DragRecord {
    std::vector<TDragState> states;
    std::vector<int> overRows;  // the row under the mouse at each OnDragOver
    int drops = 0;
    int dropRow = -2;
    TObject* dropSource = nullptr;
};

// Presses on row 0 of the view, moves down in steps to the middle of row 2 and releases there.
void DragRowZeroToRowTwo(TListView* lv) {
    auto centre = [&](int row) {
        const TRect r = lv->Items()->Item(row)->DisplayRect(drLabel);
        return lv->ClientToScreen({r.Left + 10, (r.Top + r.Bottom) / 2});
    };
    const TPoint from = centre(0), to = centre(2);
    MouseAt(from, MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 6; ++step)
        MouseAt({from.X, from.Y + (to.Y - from.Y) * step / 6}, 0);
    MouseAt(to, MOUSEEVENTF_LEFTUP);
    Pump(50);
}

TEST(ControlsCom, DraggingARowOntoAnotherRowDropsOnce) {
    auto form = ShownForm();
    TListView* lv = ReportView(form.get());
    lv->SetRowSelect(true);
    for (int i = 0; i < 5; ++i)
        lv->Items()->Add()->SetCaption(L"Ящик " + std::to_wstring(i));
    lv->SetDragMode(dmAutomatic);
    DragRecord rec;
    lv->OnDragOver = [&](TObject*, TObject* source, int x, int y, TDragState state, bool& accept) {
        rec.states.push_back(state);
        TListItem* item = lv->GetItemAt(x, y);
        rec.overRows.push_back(item ? item->Index() : -1);
        accept = source == lv;
    };
    lv->OnDragDrop = [&](TObject* sender, TObject* source, int x, int y) {
        ++rec.drops;
        TListItem* item = static_cast<TListView*>(sender)->GetItemAt(x, y);
        rec.dropRow = item ? item->Index() : -1;
        rec.dropSource = source;
    };
    lv->Update();
    DragRowZeroToRowTwo(lv);
    EXPECT_EQ(rec.drops, 1);
    EXPECT_EQ(rec.dropRow, 2);
    EXPECT_EQ(rec.dropSource, lv);
    ASSERT_FALSE(rec.states.empty());
    EXPECT_EQ(rec.states.front(), dsDragEnter);
    EXPECT_EQ(rec.overRows.back(), 2);
    EXPECT_FALSE(lv->Dragging());
    EXPECT_NE(GetCapture(), lv->Handle());
}

TEST(ControlsCom, ARefusedOrManualDragDropsNothing) {
    struct Case {
        const char* name;
        TDragMode mode;
        bool accept;
    };
    for (const Case& c : {Case{"refused", dmAutomatic, false}, Case{"manual", dmManual, true}}) {
        SCOPED_TRACE(c.name);
        auto form = ShownForm();
        TListView* lv = ReportView(form.get());
        for (int i = 0; i < 5; ++i)
            lv->Items()->Add()->SetCaption(L"Ящик " + std::to_wstring(i));
        lv->SetDragMode(c.mode);
        int overs = 0, drops = 0;
        lv->OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& accept) {
            ++overs;
            accept = c.accept;
        };
        lv->OnDragDrop = [&](TObject*, TObject*, int, int) { ++drops; };
        lv->Update();
        DragRowZeroToRowTwo(lv);
        EXPECT_EQ(drops, 0);
        EXPECT_EQ(overs > 0, c.mode == dmAutomatic);
        EXPECT_FALSE(lv->Dragging());
    }
}

TEST(ControlsCom, ListItemsMirrorIntoTheWindowAndSurviveRecreation) {
    auto form = ShownForm();
    auto* lv = new TListView(form.get());
    lv->SetViewStyle(vsReport);
    lv->Columns()->Add()->SetCaption(L"A");
    lv->Columns()->Add()->SetCaption(L"B");
    TListItem* a = lv->Items()->Add();  // before the window
    a->SetCaption(L"first");
    a->SubItems()->Add(L"1");
    lv->SetParent(form.get());
    lv->SetCheckboxes(true);
    TListItem* b = lv->Items()->Add();
    b->SetCaption(L"second");
    b->SubItems()->Add(L"2");
    b->SetChecked(true);
    b->SetSelected(true);
    wchar_t buf[32] = {};
    ListView_GetItemText(lv->Handle(), 0, 1, buf, 32);
    EXPECT_STREQ(buf, L"1");
    EXPECT_EQ(lv->Selected(), b);
    EXPECT_EQ(lv->ItemIndex(), 1);
    a->SubItems()->Strings(0);
    a->SubItems()->Clear();
    ListView_GetItemText(lv->Handle(), 0, 1, buf, 32);
    EXPECT_STREQ(buf, L"");
    lv->SetShowColumnHeaders(false);  // a new window
    EXPECT_EQ(ListView_GetItemCount(lv->Handle()), 2);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(lv->ItemIndex(), 1);
    lv->Items()->Delete(0);
    EXPECT_EQ(b->Index(), 0);
    ListView_GetItemText(lv->Handle(), 0, 0, buf, 32);
    EXPECT_STREQ(buf, L"second");
    EXPECT_GT(b->DisplayRect(drBounds).Height(), 0);
}

// A sub-item's image is the native sub-item's iImage; the first one set turns the view's sub-item images on, and it
// survives a new window.
TEST(ControlsCom, SubItemImagesMirrorIntoTheWindow) {
    auto form = ShownForm();
    TListView* lv = ReportView(form.get());
    TListItem* a = lv->Items()->Add();
    a->SetCaption(L"first");
    a->SubItems()->Add(L"1");
    a->SubItems()->Add(L"2");
    EXPECT_EQ(a->SubItemImages(0), -1);
    EXPECT_EQ(ListView_GetExtendedListViewStyle(lv->Handle()) & LVS_EX_SUBITEMIMAGES, 0u);
    a->SetSubItemImages(1, 3);
    EXPECT_EQ(a->SubItemImages(1), 3);
    EXPECT_EQ(a->SubItemImages(0), -1);
    EXPECT_EQ(a->SubItemImages(7), -1);
    auto native = [&](int sub) {
        LVITEMW it{};
        it.mask = LVIF_IMAGE;
        it.iItem = 0;
        it.iSubItem = sub;
        SendMessageW(lv->Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
        return it.iImage;
    };
    EXPECT_NE(ListView_GetExtendedListViewStyle(lv->Handle()) & LVS_EX_SUBITEMIMAGES, 0u);
    EXPECT_EQ(native(2), 3);
    lv->SetShowColumnHeaders(false);  // a new window
    EXPECT_NE(ListView_GetExtendedListViewStyle(lv->Handle()) & LVS_EX_SUBITEMIMAGES, 0u);
    EXPECT_EQ(native(2), 3);
    a->SetSubItemImages(1, -1);
    EXPECT_EQ(native(2), -1);
}

TEST(ControlsCom, TreeNodeOperationsAndExpansion) {
    auto form = ShownForm();
    auto* tv = new TTreeView(form.get());
    TTreeNodes* nodes = tv->Items();
    TTreeNode* inbox = nodes->Add(nullptr, L"Входящие");  // before the window
    TTreeNode* work = nodes->AddChild(inbox, L"Работа");
    TTreeNode* home = nodes->AddChild(inbox, L"Дом");
    tv->SetParent(form.get());
    tv->SetBounds(0, 0, 300, 300);
    TTreeNode* sent = nodes->Add(inbox, L"Отправленные");
    TTreeNode* first = nodes->AddChildFirst(inbox, L"Важное");
    TTreeNode* deep = nodes->AddChild(work, L"Проект");

    EXPECT_EQ(nodes->Count(), 6);
    EXPECT_EQ(inbox->Count(), 3);
    EXPECT_EQ(inbox->Item(0), first);
    EXPECT_EQ(work->Parent(), inbox);
    EXPECT_EQ(deep->Level(), 2);
    EXPECT_TRUE(inbox->HasChildren());
    EXPECT_FALSE(home->HasChildren());
    EXPECT_EQ(first->GetNextSibling(), work);
    EXPECT_EQ(home->GetPrevSibling(), work);
    EXPECT_EQ(sent->AbsoluteIndex(), 5);
    EXPECT_EQ(nodes->Item(3), deep);
    EXPECT_EQ(home->Index(), 2);

    // Collapsed: the next visible node after the inbox is the next top node.
    std::vector<std::wstring> log;
    tv->OnExpanding = [&](TObject*, TTreeNode* n, bool& allow) {
        log.push_back(L"expanding " + n->Text());
        allow = n != home;
    };
    tv->OnExpanded = [&](TObject*, TTreeNode* n) { log.push_back(L"expanded " + n->Text()); };
    EXPECT_EQ(inbox->GetNextVisible(), sent);
    inbox->Expand(false);
    EXPECT_TRUE(inbox->Expanded());
    EXPECT_EQ(TreeView_GetItemState(tv->Handle(), inbox->ItemId(), TVIS_EXPANDED) & TVIS_EXPANDED,
              static_cast<UINT>(TVIS_EXPANDED));
    EXPECT_EQ(inbox->GetNextVisible(), first);
    EXPECT_EQ(work->GetNextVisible(), home);  // "Работа" itself is still collapsed
    EXPECT_EQ(sent->GetPrevVisible(), home);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"expanding Входящие", L"expanded Входящие"}));
    // A click on the button of a collapsed node expands it through the system.
    const TRect r = work->DisplayRect(true);
    SendMessageW(tv->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.Left + 2, r.Top + 2));
    EXPECT_TRUE(PumpUntil([&] { return work->Expanded(); }));
    // Selection and its events.
    TTreeNode* changed = nullptr;
    tv->OnChange = [&](TObject*, TTreeNode* n) { changed = n; };
    SendMessageW(tv->Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(deep->ItemId()));
    EXPECT_EQ(changed, deep);
    EXPECT_EQ(tv->Selected(), deep);
    EXPECT_EQ(tv->GetNodeAt(r.Left + 2, r.Top + 2), work);
    // Text changes reach the window; deleting a subtree raises OnDeletion for each node.
    home->SetText(L"Семья");
    wchar_t buf[32] = {};
    TVITEMW it{};
    it.mask = TVIF_TEXT | TVIF_HANDLE;
    it.hItem = home->ItemId();
    it.pszText = buf;
    it.cchTextMax = 32;
    SendMessageW(tv->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    EXPECT_STREQ(buf, L"Семья");
    std::vector<std::wstring> deleted;
    tv->OnDeletion = [&](TObject*, TTreeNode* n) { deleted.push_back(n->Text()); };
    tv->SetShowLines(false);  // a new window: expansion and selection come back
    EXPECT_TRUE(work->Expanded());
    EXPECT_EQ(tv->Selected(), deep);
    work->Delete();
    EXPECT_EQ(deleted, (std::vector<std::wstring>{L"Проект", L"Работа"}));
    EXPECT_EQ(nodes->Count(), 4);
    EXPECT_EQ(TreeView_GetCount(tv->Handle()), 4u);
    nodes->Clear();
    EXPECT_EQ(TreeView_GetCount(tv->Handle()), 0u);
}

TEST(ControlsCom, TreeCustomDrawColoursTheNode) {
    auto form = ShownForm();
    auto* tv = new TTreeView(form.get());
    tv->SetParent(form.get());
    tv->SetBounds(0, 0, 300, 200);
    TTreeNode* a = tv->Items()->Add(nullptr, L"Важное");
    tv->Items()->Add(nullptr, L"Прочее");
    tv->OnCustomDrawItem = [&](TCustomTreeView* sender, TTreeNode* node, TCustomDrawState, bool&) {
        if (node == a)
            sender->Canvas()->Brush()->SetColor(TColor(0x0000C0FF));
    };
    tv->Invalidate();
    tv->Update();
    Pump(100);
    const TRect r = a->DisplayRect(true);
    const TPoint p = tv->ClientToScreen({r.Left + 1, r.Top + 1});
    EXPECT_EQ(ScreenPixel(p.X, p.Y), static_cast<COLORREF>(RGB(0xFF, 0xC0, 0x00)));
}

TEST(ControlsCom, PageControlSwitchesPagesWithEvents) {
    auto form = ShownForm();
    auto* pc = new TPageControl(form.get());
    pc->SetParent(form.get());
    pc->SetBounds(10, 10, 300, 200);
    std::vector<TTabSheet*> sheets;
    for (const wchar_t* c : {L"Общие", L"Ящики", L"Звуки"}) {
        auto* s = new TTabSheet(form.get());
        s->SetCaption(c);
        s->SetPageControl(pc);
        sheets.push_back(s);
    }
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_TRUE(IsWindowVisible(sheets[0]->Handle()));
    EXPECT_FALSE(sheets[1]->Visible());
    EXPECT_EQ(TabCtrl_GetItemCount(pc->Handle()), 3);
    // The page fills the tab control's display area.
    RECT display{0, 0, pc->Width(), pc->Height()};
    TabCtrl_AdjustRect(pc->Handle(), FALSE, &display);
    EXPECT_EQ(sheets[0]->BoundsRect(), (TRect{display.left, display.top, display.right, display.bottom}));

    std::vector<std::wstring> log;
    bool allow = false;
    pc->OnChanging = [&](TObject*, bool& a) {
        log.push_back(L"changing " + pc->ActivePage()->Caption());
        a = allow;
    };
    pc->OnChange = [&](TObject*) { log.push_back(L"change " + pc->ActivePage()->Caption()); };
    auto clickTab = [&](int tab) {
        const TRect r = pc->TabRect(tab);
        ClickAt(pc->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}));
        Pump(100);
    };
    clickTab(2);  // refused
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_EQ(TabCtrl_GetCurSel(pc->Handle()), 0);
    allow = true;
    Pump(GetDoubleClickTime() + 50);  // a second click at once would be a double click
    clickTab(2);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    EXPECT_TRUE(IsWindowVisible(sheets[2]->Handle()));
    EXPECT_FALSE(IsWindowVisible(sheets[0]->Handle()));
    EXPECT_EQ(log, (std::vector<std::wstring>{L"changing Общие", L"changing Общие", L"change Звуки"}));
    // Setting ActivePage raises no events; hiding a tab keeps the others in order.
    log.clear();
    pc->SetActivePage(sheets[1]);
    EXPECT_TRUE(log.empty());
    sheets[0]->SetTabVisible(false);
    EXPECT_EQ(TabCtrl_GetItemCount(pc->Handle()), 2);
    EXPECT_EQ(sheets[1]->TabIndex(), 0);
    EXPECT_EQ(TabCtrl_GetCurSel(pc->Handle()), 0);
    delete sheets[1];
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
}

TEST(ControlsCom, UpDownStepsItsAssociateAndAsksFirst) {
    auto form = ShownForm();
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    auto* ud = new TUpDown(form.get());
    ud->SetParent(form.get());
    ud->SetMin(0);
    ud->SetMax(10);
    ud->SetIncrement(2);
    ud->SetPosition(4);
    ud->SetAssociate(edit);
    std::vector<TUDBtnType> clicks;
    bool allow = true;
    ud->OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b); };
    ud->OnChanging = [&](TObject*, bool& a) { a = allow; };
    EXPECT_EQ(edit->Text(), L"4");
    RECT r;
    GetClientRect(ud->Handle(), &r);
    auto press = [&](bool up) {
        const LPARAM at = MAKELPARAM(r.right / 2, up ? 2 : r.bottom - 2);
        SendMessageW(ud->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(ud->Handle(), WM_LBUTTONUP, 0, at);
    };
    press(true);
    EXPECT_EQ(ud->Position(), 6);
    EXPECT_EQ(edit->Text(), L"6");
    press(false);
    press(false);
    EXPECT_EQ(ud->Position(), 2);
    EXPECT_EQ(clicks, (std::vector<TUDBtnType>{btNext, btPrev, btPrev}));
    allow = false;
    press(true);
    EXPECT_EQ(ud->Position(), 2);
}

}  // namespace
