// Standard controls on real windows: edits and memos, the mask edit's typing, labels' auto size, check boxes and
// radio groups, list and combo boxes, and finding a control by its Name from outside.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Mask.h"
#include "classlib/MaskUtils.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/WindowTestUtil.h"

namespace {

std::unique_ptr<TForm> ShownForm(int w = 320, int h = 240) {
    std::unique_ptr<TForm> form(new TForm(nullptr));
    PlaceForm(form.get(), 60, 60, w, h);
    form->Show();
    return form;
}

// What another process would do: read the window property holding the Name's atom.
std::wstring NameOfWindow(HWND wnd) {
    auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(wnd, L"TrelmName")));
    wchar_t buf[256] = {};
    return atom && GlobalGetAtomNameW(atom, buf, 256) ? buf : L"";
}

struct NameSearch {
    std::wstring name;
    HWND found = nullptr;
};

BOOL CALLBACK MatchName(HWND w, LPARAM l) {
    auto* s = reinterpret_cast<NameSearch*>(l);
    if (NameOfWindow(w) != s->name)
        return TRUE;
    s->found = w;
    return FALSE;
}

HWND FindByName(HWND parent, const std::wstring& name) {
    NameSearch s{name};
    EnumChildWindows(parent, MatchName, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void Type(HWND wnd, const std::wstring& text) {
    for (wchar_t c : text)
        SendMessageW(wnd, WM_CHAR, c, 1);
}

TEST(ControlsStd, ControlFoundByNameThroughWindowProperty) {
    auto form = ShownForm();
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetName(L"UserEdit");
    auto* memo = new TMemo(form.get());
    memo->SetName(L"NotesMemo");
    memo->SetParent(form.get());
    EXPECT_EQ(FindByName(form->Handle(), L"UserEdit"), edit->Handle());
    EXPECT_EQ(FindByName(form->Handle(), L"NotesMemo"), memo->Handle());
    edit->SetName(L"Renamed");
    EXPECT_EQ(FindByName(form->Handle(), L"UserEdit"), nullptr);
    EXPECT_EQ(FindByName(form->Handle(), L"Renamed"), edit->Handle());
    // The name survives a new window.
    edit->SetPasswordChar(L'*');
    edit->SetCharCase(ecUpperCase);
    EXPECT_EQ(FindByName(form->Handle(), L"Renamed"), edit->Handle());
}

TEST(ControlsStd, EditPropertiesReachTheNativeControl) {
    auto form = ShownForm();
    auto* edit = new TEdit(form.get());
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetMaxLength(5);
    edit->SetText(L"abc");  // before the window exists
    edit->SetParent(form.get());
    EXPECT_EQ(edit->Text(), L"abc");
    edit->SetSelStart(3);
    Type(edit->Handle(), L"defgh");
    EXPECT_EQ(edit->Text(), L"abcde");  // MaxLength given to the window when it was made
    EXPECT_GE(changes, 2);
    edit->SetSelStart(1);
    edit->SetSelLength(2);
    EXPECT_EQ(edit->SelText(), L"bc");
    edit->SetSelText(L"X");
    EXPECT_EQ(edit->Text(), L"aXde");
    edit->SetPasswordChar(L'#');
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'#');
    edit->SetReadOnly(true);
    EXPECT_TRUE(GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_READONLY);
    edit->SetHideSelection(false);  // a new window that keeps text, read-only state and password character
    EXPECT_TRUE(GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_NOHIDESEL);
    EXPECT_TRUE(GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(edit->Text(), L"aXde");
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'#');
    // The colours reach the native control through the reflected colour message.
    edit->SetColor(clYellow);
    edit->Font()->SetColor(clBlue);
    HDC dc = GetDC(edit->Handle());
    SendMessageW(form->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(edit->Handle()));
    EXPECT_EQ(GetBkColor(dc), static_cast<COLORREF>(RGB(255, 255, 0)));
    EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(RGB(0, 0, 255)));
    ReleaseDC(edit->Handle(), dc);
}

TEST(ControlsStd, MemoLinesAreTheTextsLines) {
    auto form = ShownForm();
    auto* memo = new TMemo(form.get());
    memo->Lines()->Add(L"one");
    memo->Lines()->Add(L"zwei");
    memo->SetParent(form.get());
    memo->Lines()->Add(L"три");
    EXPECT_EQ(memo->Text(), L"one\r\nzwei\r\nтри");
    EXPECT_EQ(memo->Lines()->Count(), 3);
    memo->Lines()->Delete(0);
    memo->Lines()->Insert(1, L"mid");
    EXPECT_EQ(memo->Lines()->Strings(1), L"mid");
    EXPECT_EQ(memo->Lines()->Count(), 3);
    memo->Lines()->SetText(L"a\nb\rc");
    EXPECT_EQ(memo->Text(), L"a\r\nb\r\nc");
    memo->SetScrollBars(ssVertical);
    memo->SetWordWrap(false);
    const LONG style = GetWindowLongW(memo->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_TRUE(style & ES_AUTOHSCROLL);
    EXPECT_EQ(memo->Lines()->Count(), 3);  // the text outlives the new window
}

TEST(ControlsStd, MaskLogicTable) {
    struct Case {
        const wchar_t* mask;
        const wchar_t* text;
        const wchar_t* editText;
        const wchar_t* backToText;
    };
    const Case cases[] = {
        {L"!90:00;1; ", L"09:30", L"09:30", L"09:30"},
        {L"!90:00;1; ", L"9:30", L" 9:30", L" 9:30"},
        {L"!99/99/9999;1; ", L"01/12/2024", L"01/12/2024", L"01/12/2024"},
        {L"00-00;0;_", L"1234", L"12-34", L"1234"},
        {L">LL0;1;_", L"ab1", L"AB1", L"AB1"},
        {L"00:00;1;_", L"1x:30", L"1_:30", L"1 :30"},  // a letter never takes a digit's place
        {L"00\\;00;1;*", L"12;34", L"12;34", L"12;34"},
    };
    for (const Case& c : cases) {
        TEditMask m(c.mask);
        EXPECT_EQ(m.EditTextFromText(c.text), c.editText) << c.mask << L" " << c.text;
        EXPECT_EQ(m.TextFromEditText(c.editText), c.backToText) << c.mask;
    }
    TEditMask time(L"!90:00;1; ");
    EXPECT_EQ(time.BlankEditText(), L"  :  ");
    EXPECT_TRUE(time.IsComplete(L" 9:30"));  // the hour's first digit is optional
    EXPECT_FALSE(time.IsComplete(L"09: 0"));
    EXPECT_EQ(time.Accept(0, L'a'), 0);
}

TEST(ControlsStd, MaskEditTypesOverLiteralsAndRefusesLetters) {
    auto form = ShownForm();
    auto* edit = new TMaskEdit(form.get());
    edit->SetParent(form.get());
    edit->SetEditMask(L"!90:00;1; ");
    EXPECT_EQ(edit->EditText(), L"  :  ");
    edit->SetSelStart(0);
    Type(edit->Handle(), L"0930");
    EXPECT_EQ(edit->EditText(), L"09:30");
    EXPECT_EQ(edit->Text(), L"09:30");
    // A letter is refused wherever it is typed.
    edit->SetSelStart(1);
    Type(edit->Handle(), L"x");
    EXPECT_EQ(edit->EditText(), L"09:30");
    // Backspace blanks the digit before the caret, the literal stays.
    edit->SetSelStart(3);
    Type(edit->Handle(), L"\b");
    EXPECT_EQ(edit->EditText(), L"0 :30");
    EXPECT_THROW(edit->ValidateEdit(), EMaskError);
    // Typing the literal's own character steps over it.
    edit->SetText(L"");
    edit->SetSelStart(0);
    Type(edit->Handle(), L"7:45");
    EXPECT_EQ(edit->EditText(), L"7 :45");  // '7' fills the first position, ':' skips to the minutes
    edit->SetText(L"12:05");
    EXPECT_EQ(edit->EditText(), L"12:05");
    EXPECT_NO_THROW(edit->ValidateEdit());
    // Delete blanks the position under the caret.
    edit->SetSelStart(4);
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ(edit->EditText(), L"12:0 ");
    // A date mask with its own literal positions.
    edit->SetEditMask(L"!99/99/9999;1; ");
    edit->SetSelStart(0);
    Type(edit->Handle(), L"31122025");
    EXPECT_EQ(edit->Text(), L"31/12/2025");
}

TEST(ControlsStd, MaskEditKeepsTheFocusUntilTheEntryIsComplete) {
    auto form = ShownForm();
    auto* edit = new TMaskEdit(form.get());
    edit->SetParent(form.get());
    edit->SetEditMask(L"!90:00;1; ");
    auto* other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetTop(40);
    SetForegroundWindow(form->Handle());
    edit->SetFocus();
    ASSERT_EQ(GetFocus(), edit->Handle());
    ExceptionRecorder errors;
    // Half an entry: leaving is refused, the error reported, the caret on the first empty digit.
    edit->SetSelStart(0);
    Type(edit->Handle(), L"09");
    other->SetFocus();
    Pump(30);
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_EQ(form->ActiveControl(), edit);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_NE(errors.messages[0].find("Invalid input value"), std::string::npos);
    EXPECT_EQ(edit->SelStart(), 3);
    // Completed, the focus moves on; an edit left blank may be left too.
    Type(edit->Handle(), L"30");
    other->SetFocus();
    Pump(30);
    EXPECT_EQ(GetFocus(), other->Handle());
    edit->SetText(L"");
    edit->SetFocus();
    other->SetFocus();
    Pump(30);
    EXPECT_EQ(GetFocus(), other->Handle());
    EXPECT_EQ(errors.messages.size(), 1u);
}

// The line height of a font as the screen measures it.
int FontLineHeight(TFont* font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

TEST(ControlsStd, EditHeightFollowsTheFontWhileAutoSized) {
    auto form = ShownForm(320, 300);
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    auto* memo = new TMemo(form.get());
    memo->SetParent(form.get());
    memo->SetTop(120);
    const int border = 8 * GetSystemMetrics(SM_CYBORDER);
    const int memoHeight = memo->Height();
    for (int size : {8, 20, 11}) {
        SCOPED_TRACE(size);
        edit->Font()->SetSize(size);
        memo->Font()->SetSize(size);
        EXPECT_EQ(edit->Height(), FontLineHeight(edit->Font()) + border);
        RECT r{};
        GetWindowRect(edit->Handle(), &r);
        EXPECT_EQ(r.bottom - r.top, edit->Height());
        // The whole line fits inside the edit's client area.
        GetClientRect(edit->Handle(), &r);
        EXPECT_GE(r.bottom - r.top, FontLineHeight(edit->Font()));
        EXPECT_EQ(memo->Height(), memoHeight);
    }
    // Off: the height stays what it is; a borderless edit keeps its own.
    edit->SetAutoSize(false);
    const int kept = edit->Height();
    edit->Font()->SetSize(24);
    EXPECT_EQ(edit->Height(), kept);
    edit->SetAutoSize(true);
    EXPECT_EQ(edit->Height(), FontLineHeight(edit->Font()) + border);
    edit->SetBorderStyle(bsNoBorder);
    edit->SetHeight(15);
    edit->Font()->SetSize(9);
    EXPECT_EQ(edit->Height(), 15);
}

TEST(ControlsStd, LabelAutoSizeEqualsMeasuredText) {
    auto form = ShownForm();
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetLeft(10);
    label->Font()->SetSize(14);
    label->SetCaption(L"Входящие: 12 писем");
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, label->Font()->Handle());
    SIZE sz{};
    GetTextExtentPoint32W(dc, L"Входящие: 12 писем", 18, &sz);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(label->Width(), sz.cx);
    EXPECT_EQ(label->Height(), tm.tmHeight);
    // Right alignment keeps the right edge.
    label->SetAlignment(taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption(L"ok");
    EXPECT_EQ(label->Left() + label->Width(), right);
    // Word wrap keeps the width and grows the height.
    label->SetAutoSize(false);
    label->SetWidth(60);
    label->SetWordWrap(true);
    label->SetAutoSize(true);
    label->SetCaption(L"one two three four five six");
    EXPECT_EQ(label->Width() <= 60, true);
    EXPECT_GT(label->Height(), tm.tmHeight);
}

TEST(ControlsStd, CheckBoxCyclesStates) {
    auto form = ShownForm();
    auto* box = new TCheckBox(form.get());
    box->SetParent(form.get());
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->AllowGrayed = true;
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(box->State(), cbChecked);
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(clicks, 3);
    box->SetChecked(true);
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST(ControlsStd, RadioGroupKeepsOneChecked) {
    auto form = ShownForm();
    auto* group = new TGroupBox(form.get());
    group->SetParent(form.get());
    group->SetCaption(L"Звук");
    std::vector<TRadioButton*> radios;
    for (int i = 0; i < 3; ++i) {
        auto* r = new TRadioButton(form.get());
        r->SetParent(group);
        r->SetBounds(8, 20 + 20 * i, 100, 17);
        radios.push_back(r);
    }
    auto* other = new TRadioButton(form.get());  // another parent, another group
    other->SetParent(form.get());
    other->SetTop(150);
    other->SetChecked(true);
    radios[0]->SetChecked(true);
    SendMessageW(radios[2]->Handle(), BM_CLICK, 0, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(radios[static_cast<size_t>(i)]->Checked(), i == 2) << i;
        EXPECT_EQ(SendMessageW(radios[static_cast<size_t>(i)]->Handle(), BM_GETCHECK, 0, 0),
                  i == 2 ? BST_CHECKED : BST_UNCHECKED);
    }
    EXPECT_TRUE(other->Checked());
    // Children of the group box sit below its caption.
    EXPECT_GT(group->ClientRect().Top, -1);
}

TEST(ControlsStd, ListBoxItemsLiveInTheWindowAndSurviveRecreation) {
    auto form = ShownForm();
    auto* list = new TListBox(form.get());
    list->Items()->Add(L"b");
    list->Items()->Add(L"a");
    list->SetItemIndex(1);
    list->SetParent(form.get());
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(list->ItemIndex(), 1);
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->Items()->Add(L"c");
    list->SetSorted(true);  // a new window, sorted
    EXPECT_EQ(list->Items()->Strings(0), L"a");
    EXPECT_EQ(list->Items()->Count(), 3);
    // A click on an item selects it and raises OnClick.
    const TRect r = list->ItemRect(2);
    SendMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.Left + 3, r.Top + 2));
    SendMessageW(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(r.Left + 3, r.Top + 2));
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list->ItemAtPos({r.Left + 3, r.Top + 2}, true), 2);
}

TEST(ControlsStd, ComboCloseUpFiresWithThePickedIndex) {
    auto form = ShownForm();
    auto* combo = new TComboBox(form.get());
    combo->SetParent(form.get());
    combo->SetStyle(csDropDownList);
    for (const wchar_t* s : {L"Каждую минуту", L"Каждые 5 минут", L"Каждый час"})
        combo->Items()->Add(s);
    combo->SetItemIndex(0);
    std::vector<std::wstring> log;
    combo->OnDropDown = [&](TObject*) { log.push_back(L"drop"); };
    combo->OnChange = [&](TObject*) { log.push_back(L"change " + std::to_wstring(combo->ItemIndex())); };
    combo->OnCloseUp = [&](TObject*) { log.push_back(L"close " + std::to_wstring(combo->ItemIndex())); };
    combo->SetFocus();
    combo->SetDroppedDown(true);
    EXPECT_TRUE(PumpUntil([&] { return combo->DroppedDown(); }));
    // The user picks the third item with the keyboard and Enter.
    for (WORD vk : {VK_DOWN, VK_DOWN, VK_RETURN}) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = vk;
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
        Pump(60);
    }
    EXPECT_TRUE(PumpUntil([&] { return !combo->DroppedDown(); }));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), L"drop");
    EXPECT_NE(std::find(log.begin(), log.end(), L"close 2"), log.end());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), L"Каждый час");
}

TEST(ControlsStd, ScrollBarPositionFollowsScrolling) {
    auto form = ShownForm();
    auto* bar = new TScrollBar(form.get());
    bar->SetParent(form.get());
    bar->SetParams(10, 0, 50);
    bar->LargeChange = 7;
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    SendMessageW(form->Handle(), WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar->Handle()));
    EXPECT_EQ(bar->Position(), 17);
    EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 17);
    SendMessageW(form->Handle(), WM_HSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(bar->Handle()));
    EXPECT_EQ(bar->Position(), 50);
    EXPECT_EQ(changes, 2);
}

TEST(ControlsStd, PanelAlignsChildrenInsideItsBevels) {
    auto form = ShownForm();
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 200, 100);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    auto* child = new TPanel(form.get());
    child->SetParent(panel);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), (TRect{5, 5, 195, 95}));
}

TEST(ControlsStd, LaterSiblingWindowsLieAboveEarlierOnes) {
    auto form = ShownForm();
    auto* below = new TPanel(form.get());
    below->SetParent(form.get());
    below->SetBounds(10, 10, 100, 60);
    below->SetColor(clRed);
    auto* above = new TPanel(form.get());
    above->SetParent(form.get());
    above->SetBounds(50, 30, 100, 60);
    above->SetColor(clBlue);
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(200, 10, 80, 23);
    Pump(100);
    const TPoint overlap = form->ClientToScreen({80, 50});
    EXPECT_EQ(ScreenPixel(overlap.X, overlap.Y), static_cast<COLORREF>(RGB(0, 0, 255)));
    EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), edit->Handle());  // the last one on top
    // A new window for the lower control keeps its place below.
    edit->SetCharCase(ecUpperCase);
    below->SetBevelWidth(2);
    form->Perform(CM_RECREATEWND);
    below->RecreateWnd();
    Pump(100);
    EXPECT_EQ(ScreenPixel(overlap.X, overlap.Y), static_cast<COLORREF>(RGB(0, 0, 255)));
    EXPECT_EQ(GetWindow(above->Handle(), GW_HWNDNEXT), below->Handle());
}

// Controls placed before their parent has a window get theirs all at once when it shows: the windows lie in the
// parents' lists' order (the last on top) at every level, as when each is made on its own.
TEST(ControlsStd, WindowsMadeTogetherLieInTheListsOrder) {
    std::unique_ptr<TForm> form(new TForm(nullptr));
    PlaceForm(form.get(), 60, 60, 320, 240);
    std::vector<TWinControl*> outer;
    const TColor colours[] = {clRed, clLime, clBlue};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(10 + i * 30, 10 + i * 20, 120, 80);
        panel->SetColor(colours[i]);
        outer.push_back(panel);
    }
    std::vector<TWinControl*> inner;
    for (int i = 0; i < 3; ++i) {
        auto* panel = new TPanel(form.get());
        panel->SetParent(outer.back());
        panel->SetBounds(5 + i * 10, 5 + i * 10, 40, 30);
        panel->SetColor(colours[2 - i]);
        inner.push_back(panel);
    }
    ASSERT_FALSE(outer.front()->HandleAllocated());
    form->Show();
    Pump(100);
    auto order = [](HWND parent) {
        std::vector<HWND> top_down;
        for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            top_down.push_back(w);
        return top_down;
    };
    EXPECT_EQ(order(form->Handle()), (std::vector<HWND>{outer[2]->Handle(), outer[1]->Handle(), outer[0]->Handle()}));
    EXPECT_EQ(order(outer[2]->Handle()),
              (std::vector<HWND>{inner[2]->Handle(), inner[1]->Handle(), inner[0]->Handle()}));
    // Where the red and the green panel overlap, the green one (later) shows.
    const TPoint overlap = form->ClientToScreen({115, 40});
    EXPECT_EQ(ScreenPixel(overlap.X, overlap.Y), static_cast<COLORREF>(RGB(0, 255, 0)));
}

}  // namespace
