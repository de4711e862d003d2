// Menu trees as data: short-cut texts, accelerators, item states, ownership, commands and context popups.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "tests/classlib/WindowTestUtil.h"

namespace {

TEST(MenuShortCut, TextTable) {
    struct Case {
        TShortCut sc;
        const wchar_t* text;
    } cases[] = {
        {ShortCut('A', {ssCtrl}), L"Ctrl+A"},
        {ShortCut(VK_F5, {ssShift}), L"Shift+F5"},
        {ShortCut(VK_RETURN, {ssAlt}), L"Alt+Enter"},
        {ShortCut(VK_DELETE, {ssCtrl, ssShift}), L"Shift+Ctrl+Del"},
        {ShortCut('0', {}), L"0"},
        {ShortCut(VK_F24, {}), L"F24"},
        {ShortCut(VK_SPACE, {ssCtrl, ssAlt}), L"Ctrl+Alt+Space"},
        {ShortCut(VK_ESCAPE, {}), L"Esc"},
        {ShortCut(VK_BACK, {}), L"BkSp"},
        {ShortCut(VK_NEXT, {}), L"PgDn"},
        {ShortCut(VK_INSERT, {ssShift}), L"Shift+Ins"},
        {scNone, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortCutToText(c.sc), c.text) << c.sc;
        if (c.sc != scNone) {
            EXPECT_EQ(TextToShortCut(c.text), c.sc) << WideToUtf8(c.text);
        }
    }
    EXPECT_EQ(ShortCut(0x1041, {ssCtrl}), scNone);  // not a virtual key
    EXPECT_EQ(TextToShortCut(L"ctrl+shift+a"), ShortCut('A', {ssCtrl, ssShift}));
    for (const wchar_t* bad : {L"", L"Ctrl+", L"Hyper+A", L"Ctrl+Nothing", L"A+Ctrl"})
        EXPECT_EQ(TextToShortCut(bad), scNone) << WideToUtf8(bad);
    WORD key;
    TShiftState shift;
    ShortCutToKey(ShortCut('Z', {ssAlt, ssShift}), key, shift);
    EXPECT_EQ(key, 'Z');
    EXPECT_EQ(shift, (TShiftState{ssAlt, ssShift}));
}

TEST(MenuShortCut, AcceleratorTable) {
    struct Case {
        WORD vk;
        const wchar_t* caption;
        bool accel;
    } cases[] = {
        {'S', L"&Save", true},      {'A', L"S&ave", true},
        {'S', L"S&ave", false},     {'S', L"&&Save", false},
        {'X', L"E&xit", true},      {'E', L"E&xit", false},
        {'F', L"&file", true},      {'F', L"no accelerator", false},
        {'F', L"trailing&", false}, {L'\x424', L"&\x444\x430\x439\x43B", true},  // Cyrillic: Ф against ф
        {'B', L"A&&B&b", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsAccel(c.vk, c.caption), c.accel) << WideToUtf8(c.caption) << " " << c.vk;
    EXPECT_EQ(StripHotkey(L"&File && &Edit"), L"File & Edit");
    EXPECT_EQ(GetHotkey(L"&&x&Y"), L'Y');
    EXPECT_EQ(GetHotkey(L"none"), 0);
}

TEST(MenuItems, RadioGroupsDefaultsAndAutoCheck) {
    TPopupMenu menu(nullptr);
    TMenuItem* items[4];
    for (int i = 0; i < 4; ++i) {
        items[i] = new TMenuItem(&menu);
        items[i]->SetRadioItem(i < 3);
        items[i]->SetGroupIndex(i < 2 ? 1 : 2);
        menu.Items()->Add(items[i]);
    }
    items[0]->SetChecked(true);
    items[2]->SetChecked(true);
    items[1]->SetChecked(true);  // same group as 0: 0 goes off, 2 (other group) stays
    EXPECT_FALSE(items[0]->Checked());
    EXPECT_TRUE(items[1]->Checked());
    EXPECT_TRUE(items[2]->Checked());
    items[0]->SetDefault(true);
    items[3]->SetDefault(true);
    EXPECT_FALSE(items[0]->Default());
    EXPECT_TRUE(items[3]->Default());
    items[3]->SetAutoCheck(true);
    items[3]->Click();
    EXPECT_TRUE(items[3]->Checked());
    items[3]->SetEnabled(false);
    items[3]->Click();  // disabled: nothing happens
    EXPECT_TRUE(items[3]->Checked());
    int changes = 0;
    menu.OnChange = [&](TObject*) { ++changes; };
    items[1]->SetCaption(L"-");
    EXPECT_TRUE(items[1]->IsLine());
    EXPECT_EQ(changes, 1);
}

TEST(MenuItems, TreeOwnershipAndCommands) {
    auto* form = new TForm(nullptr);
    auto* menu = new TMainMenu(form);
    auto* file = new TMenuItem(form);
    file->SetName(L"File1");
    file->SetCaption(L"&File");
    menu->Items()->Add(file);
    auto* open = new TMenuItem(form);
    open->SetCaption(L"&Open...");
    file->Add(open);
    auto* recent = new TMenuItem(form);
    file->Add(recent);
    int opens = 0;
    open->OnClick = [&](TObject*) { ++opens; };
    EXPECT_EQ(file->Find(L"open..."), open);
    EXPECT_EQ(open->GetParentMenu(), menu);
    EXPECT_EQ(recent->MenuIndex(), 1);
    EXPECT_THROW(menu->Items()->Add(open), EInvalidOperation);  // already in a tree
    EXPECT_THROW(file->Items(2), EListError);

    const WORD cmd = open->Command();
    EXPECT_NE(cmd, 0);
    EXPECT_NE(cmd, recent->Command());
    EXPECT_TRUE(menu->DispatchCommand(cmd));
    EXPECT_EQ(opens, 1);

    // Freeing a parent item frees its children, which leave their owner's list too.
    const int before = form->ComponentCount();
    delete file;
    EXPECT_EQ(form->ComponentCount(), before - 3);
    EXPECT_EQ(menu->Items()->Count(), 0);
    EXPECT_FALSE(menu->DispatchCommand(cmd));  // the old command reaches nobody

    // Freeing the owner frees menu and items, whichever goes first.
    auto* edit = new TMenuItem(form);
    menu->Items()->Add(edit);
    auto* copy = new TMenuItem(form);
    edit->Add(copy);
    delete form;
}

TEST(MenuItems, IsShortCutSkipsHiddenAndDisabledBranches) {
    TPopupMenu menu(nullptr);
    auto* group = new TMenuItem(&menu);
    menu.Items()->Add(group);
    auto* item = new TMenuItem(&menu);
    item->SetShortCut(ShortCut(VK_F9, {}));
    group->Add(item);
    int clicks = 0;
    item->OnClick = [&](TObject*) { ++clicks; };
    TWMKey key{WM_KEYDOWN, VK_F9, 0, 0};
    struct Case {
        bool groupVisible, groupEnabled, itemEnabled, expected;
    } cases[] = {
        {true, true, true, true}, {false, true, true, false}, {true, false, true, false}, {true, true, false, false}};
    for (const Case& c : cases) {
        group->SetVisible(c.groupVisible);
        group->SetEnabled(c.groupEnabled);
        item->SetEnabled(c.itemEnabled);
        const int before = clicks;
        EXPECT_EQ(menu.IsShortCut(key), c.expected);
        EXPECT_EQ(clicks - before, c.expected ? 1 : 0);
    }
    TWMKey other{WM_KEYDOWN, VK_F8, 0, 0};
    EXPECT_FALSE(menu.IsShortCut(other));
}

// A popup menu that records where it was asked to appear instead of drawing.
class RecordingPopup : public TPopupMenu {
  public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override {
        TPopupMenu::Popup(X, Y);
        ++count;
    }
    int count = 0;
};

TEST(MenuItems, ContextMenuMessageShowsTheControlsPopup) {
    std::unique_ptr<TForm> form(new TForm(nullptr));
    PlaceForm(form.get(), 100, 100, 200, 100);
    auto* popup = new RecordingPopup(form.get());
    auto* box = new Box(form.get());
    box->SetParent(form.get());
    box->SetBounds(10, 10, 50, 50);
    box->SetPopupMenu(popup);
    auto* shape = new Shape(form.get());
    shape->SetParent(form.get());
    shape->SetBounds(100, 10, 50, 50);
    shape->SetPopupMenu(popup);
    form->Show();

    SendMessageW(box->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box->Handle()), MAKELPARAM(120, 130));
    EXPECT_EQ(popup->count, 1);
    EXPECT_EQ(popup->PopupPoint(), Point(120, 130));
    EXPECT_EQ(popup->PopupComponent(), box);
    // From the keyboard (-1, -1): at the control's top-left corner.
    SendMessageW(box->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box->Handle()), static_cast<LPARAM>(-1));
    EXPECT_EQ(popup->PopupPoint(), Point(110, 110));
    // A non-windowed control gets its context menu through the parent.
    SendMessageW(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()), MAKELPARAM(210, 120));
    EXPECT_EQ(popup->count, 3);
    EXPECT_EQ(popup->PopupComponent(), shape);
    // OnContextPopup can take the message; AutoPopup off shows nothing.
    box->OnContextPopup = [](TObject*, TPoint, bool& handled) { handled = true; };
    SendMessageW(box->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(120, 130));
    popup->SetAutoPopup(false);
    SendMessageW(form->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(210, 120));
    EXPECT_EQ(popup->count, 3);
    // The popup component is a weak reference.
    delete shape;
    EXPECT_EQ(popup->PopupComponent(), nullptr);
    delete popup;
    EXPECT_EQ(box->PopupMenu(), nullptr);
}

}  // namespace
