// Keyboard routing of the message loop: dialog keys (Enter, Esc, Tab), short cuts and KeyPreview.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/WindowTestUtil.h"

namespace {

// A focusable control of our own that wants no special keys.
class FocusBox : public TCustomControl {
  public:
    explicit FocusBox(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

struct KeyForm {
    std::unique_ptr<TForm> form{new TForm(nullptr)};
    FocusBox* box1;
    FocusBox* box2;
    TButton* ok;
    TButton* cancel;
    int okClicks = 0, cancelClicks = 0;

    KeyForm() {
        PlaceForm(form.get(), 40, 300, 300, 100);
        box1 = new FocusBox(form.get());
        box1->SetParent(form.get());
        box1->SetBounds(5, 5, 40, 20);
        box2 = new FocusBox(form.get());
        box2->SetParent(form.get());
        box2->SetBounds(50, 5, 40, 20);
        ok = new TButton(form.get());
        ok->SetParent(form.get());
        ok->SetBounds(100, 5, 60, 25);
        ok->SetDefault(true);
        ok->OnClick = [this](TObject*) { ++okClicks; };
        cancel = new TButton(form.get());
        cancel->SetParent(form.get());
        cancel->SetBounds(170, 5, 60, 25);
        cancel->SetCancel(true);
        cancel->OnClick = [this](TObject*) { ++cancelClicks; };
        form->Show();
        PumpUntil([this] { return GetActiveWindow() == form->Handle(); });
    }
    bool Focus(TWinControl* c) {
        c->SetFocus();
        return PumpUntil([c] { return GetFocus() == c->Handle(); });
    }
    static void Key(WORD vk, UINT msg = WM_KEYDOWN, LPARAM data = 1) {
        PostMessageW(GetFocus(), msg, vk, data);
        Pump(20);
    }
};

TEST(FormKeys, EnterAndEscapeReachTheDefaultAndCancelButtons) {
    struct Case {
        const char* focus;
        WORD key;
        int ok, cancel;
    } cases[] = {
        {"box", VK_RETURN, 1, 0},    {"box", VK_ESCAPE, 0, 1},
        {"cancel", VK_RETURN, 0, 1},  // a focused button answers Enter itself
        {"cancel", VK_ESCAPE, 0, 1}, {"ok", VK_ESCAPE, 0, 1},
        {"box", 'A', 0, 0},
    };
    for (const Case& c : cases) {
        KeyForm f;
        TWinControl* target = std::string(c.focus) == "box"  ? static_cast<TWinControl*>(f.box1)
                              : std::string(c.focus) == "ok" ? static_cast<TWinControl*>(f.ok)
                                                             : static_cast<TWinControl*>(f.cancel);
        ASSERT_TRUE(f.Focus(target)) << c.focus;
        KeyForm::Key(c.key);
        EXPECT_EQ(f.okClicks, c.ok) << c.focus << " key " << c.key;
        EXPECT_EQ(f.cancelClicks, c.cancel) << c.focus << " key " << c.key;
    }
}

TEST(FormKeys, DisabledDefaultButtonIgnoresEnter) {
    KeyForm f;
    f.ok->SetEnabled(false);
    ASSERT_TRUE(f.Focus(f.box1));
    KeyForm::Key(VK_RETURN);
    EXPECT_EQ(f.okClicks, 0);
}

TEST(FormKeys, TabFollowsTheTabOrderAndSkipsWhatCannotTakeFocus) {
    KeyForm f;
    f.box2->SetTabOrder(0);  // box2, box1, ok, cancel
    f.ok->SetTabStop(false);
    ASSERT_TRUE(f.Focus(f.box2));
    std::vector<HWND> visited;
    for (int i = 0; i < 4; ++i) {
        KeyForm::Key(VK_TAB);
        visited.push_back(GetFocus());
    }
    const std::vector<HWND> expected = {f.box1->Handle(), f.cancel->Handle(), f.box2->Handle(), f.box1->Handle()};
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(f.form->ActiveControl(), f.box1);
    f.cancel->SetVisible(false);
    KeyForm::Key(VK_TAB);
    EXPECT_EQ(GetFocus(), f.box2->Handle());
}

// Focus put straight into an editable combo box's edit (a click there) makes the combo box the form's control:
// Tab then goes on from the combo box, not from the control focused before it.
TEST(FormKeys, TabLeavesAnEditableComboBoxFocusedInItsEdit) {
    KeyForm f;
    auto* combo = new TComboBox(f.form.get());
    combo->SetParent(f.form.get());
    combo->SetBounds(5, 40, 120, 21);
    combo->SetTabOrder(1);  // box1, combo, box2, ok, cancel
    ASSERT_TRUE(f.Focus(f.cancel));
    HWND edit = FindWindowExW(combo->Handle(), nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    SetFocus(edit);
    ASSERT_TRUE(PumpUntil([edit] { return GetFocus() == edit; }));
    EXPECT_EQ(f.form->ActiveControl(), combo);
    KeyForm::Key(VK_TAB);
    EXPECT_EQ(GetFocus(), f.box2->Handle());
}

TEST(FormKeys, EnterAndExitFollowTheFocus) {
    KeyForm f;
    std::vector<std::string> log;
    f.box1->OnEnter = [&](TObject*) { log.push_back("enter1"); };
    f.box1->OnExit = [&](TObject*) { log.push_back("exit1"); };
    f.box2->OnEnter = [&](TObject*) { log.push_back("enter2"); };
    ASSERT_TRUE(f.Focus(f.box1));
    log.clear();
    ASSERT_TRUE(f.Focus(f.box2));
    EXPECT_EQ(log, (std::vector<std::string>{"exit1", "enter2"}));
    EXPECT_EQ(Screen->ActiveControl(), f.box2);
}

TEST(FormKeys, ShortCutsReachTheFormAndItsMenus) {
    KeyForm f;
    auto* menu = new TMainMenu(f.form.get());
    f.form->SetMenu(menu);
    auto* file = new TMenuItem(f.form.get());
    file->SetCaption(L"&File");
    menu->Items()->Add(file);
    auto* refresh = new TMenuItem(f.form.get());
    refresh->SetShortCut(ShortCut(VK_F6, {}));
    file->Add(refresh);
    auto* exitItem = new TMenuItem(f.form.get());
    exitItem->SetShortCut(ShortCut('X', {ssAlt}));
    file->Add(exitItem);
    int refreshes = 0, exits = 0, formKeys = 0;
    refresh->OnClick = [&](TObject*) { ++refreshes; };
    exitItem->OnClick = [&](TObject*) { ++exits; };
    f.form->OnShortCut = [&](TWMKey& key, bool& handled) {
        if (key.CharCode == VK_F5) {
            ++formKeys;
            handled = true;
        }
    };
    auto* popup = new TPopupMenu(f.form.get());
    auto* popupItem = new TMenuItem(f.form.get());
    popupItem->SetShortCut(ShortCut(VK_F7, {}));
    int popupKeys = 0;
    popupItem->OnClick = [&](TObject*) { ++popupKeys; };
    popup->Items()->Add(popupItem);
    f.box1->SetPopupMenu(popup);
    ASSERT_TRUE(f.Focus(f.box1));

    KeyForm::Key(VK_F5);
    KeyForm::Key(VK_F6);
    KeyForm::Key('X', WM_SYSKEYDOWN, 0x20000001);  // Alt held: bit 29 of the key data
    KeyForm::Key('X');                             // without Alt: no short cut
    KeyForm::Key(VK_F7);
    EXPECT_EQ(formKeys, 1);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(popupKeys, 1);

    // A disabled parent item hides its children's short cuts.
    file->SetEnabled(false);
    KeyForm::Key(VK_F6);
    EXPECT_EQ(refreshes, 1);
    // The popup menu only serves the control it belongs to.
    ASSERT_TRUE(f.Focus(f.box2));
    KeyForm::Key(VK_F7);
    EXPECT_EQ(popupKeys, 1);
}

TEST(FormKeys, KeyPreviewLetsTheFormSeeKeysFirst) {
    KeyForm f;
    std::vector<std::string> log;
    f.form->SetKeyPreview(true);
    f.form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        log.push_back("form");
        if (key == 'Q')
            key = 0;  // swallowed
    };
    f.box1->OnKeyDown = [&](TObject*, WORD&, TShiftState) { log.push_back("box"); };
    ASSERT_TRUE(f.Focus(f.box1));
    KeyForm::Key('A');
    KeyForm::Key('Q');
    EXPECT_EQ(log, (std::vector<std::string>{"form", "box", "form"}));
}

}  // namespace
