// A form freed through the owner's generic teardown alone: pages, an up-down with its buddy, list views and masked
// edits, in the orders real forms create them, many times over.
#include <gtest/gtest.h>

#include <string>

#include "base/Handles.h"
#include "classlib/ComCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Mask.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/WindowTestUtil.h"

namespace {

struct Built {
    TForm* Form = nullptr;
    TEdit* Buddy = nullptr;
    TUpDown* Up = nullptr;
    TListView* View = nullptr;
    TMaskEdit* Time = nullptr;
};

// The buddy is created before its up-down (an edit made first, then its spinner), the up-down placed first; when
// buddyLast the up-down is created first instead.
Built BuildForm(bool buddyLast) {
    Built b;
    b.Form = new TForm(nullptr);
    PlaceForm(b.Form, 40, 40, 360, 260);
    auto* pages = new TPageControl(b.Form);
    pages->SetParent(b.Form);
    pages->SetBounds(0, 0, 360, 260);
    auto* first = new TTabSheet(b.Form);
    first->SetPageControl(pages);
    auto* second = new TTabSheet(b.Form);
    second->SetPageControl(pages);
    auto* group = new TGroupBox(b.Form);
    group->SetParent(first);
    group->SetBounds(4, 4, 300, 120);
    if (buddyLast) {
        b.Up = new TUpDown(b.Form);
        b.Buddy = new TEdit(b.Form);
    } else {
        b.Buddy = new TEdit(b.Form);
        b.Up = new TUpDown(b.Form);
    }
    b.Up->SetParent(group);
    b.Up->SetMin(1);
    b.Up->SetMax(999);
    b.Buddy->SetParent(group);
    b.Buddy->SetBounds(8, 20, 60, 21);
    b.Up->SetAssociate(b.Buddy);
    b.Up->SetPosition(42);
    b.Time = new TMaskEdit(b.Form);
    b.Time->SetEditMask(L"!90:00;1; ");
    b.Time->SetParent(group);
    b.Time->SetBounds(8, 60, 60, 21);
    b.Time->SetText(L"09:30");
    b.View = new TListView(b.Form);
    b.View->SetViewStyle(vsReport);
    b.View->SetOwnerData(true);
    b.View->SetParent(second);
    b.View->SetBounds(4, 4, 300, 150);
    b.View->Columns()->Add()->SetCaption(L"Тема");
    b.View->Items()->SetCount(30);
    auto* plain = new TListView(b.Form);
    plain->SetViewStyle(vsReport);
    plain->SetParent(first);
    plain->SetBounds(4, 130, 300, 80);
    plain->Columns()->Add()->SetCaption(L"From");
    plain->Items()->Add()->SetCaption(L"a");
    return b;
}

// Counts the windows this thread creates while it lives: a teardown that makes windows again (a handle asked of a
// control whose window is gone) can go on re-creating and destroying them.
class WindowBirths {
  public:
    WindowBirths() { hook_ = SetWindowsHookExW(WH_CBT, &Proc, nullptr, GetCurrentThreadId()); }
    ~WindowBirths() {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        count_ = 0;
    }
    WindowBirths(const WindowBirths&) = delete;
    WindowBirths& operator=(const WindowBirths&) = delete;
    bool Hooked() const { return hook_ != nullptr; }
    static int Count() { return count_; }

  private:
    static LRESULT CALLBACK Proc(int code, WPARAM w, LPARAM l) {
        if (code == HCBT_CREATEWND)
            ++count_;
        return CallNextHookEx(nullptr, code, w, l);
    }
    HHOOK hook_;
    static inline int count_ = 0;
};

struct TeardownCase {
    const char* Name;
    bool BuddyLast;
    bool Shown;
    bool FocusBuddy;
};

class FormTeardown : public ::testing::TestWithParam<TeardownCase> {};

TEST_P(FormTeardown, GenericTeardownFreesEverythingManyTimes) {
    const TeardownCase& c = GetParam();
    const long handlesBefore = LiveHandleCount();
    for (int i = 0; i < 200; ++i) {
        Built b = BuildForm(c.BuddyLast);
        Alive up(b.Up), buddy(b.Buddy), view(b.View), time(b.Time);
        HWND upWnd = nullptr;
        HWND buddyWnd = nullptr;
        if (c.Shown) {
            b.Form->Show();
            upWnd = b.Up->Handle();
            buddyWnd = b.Buddy->Handle();
            // The up-down really drives its buddy: the state the teardown has to undo.
            ASSERT_EQ(reinterpret_cast<HWND>(SendMessageW(upWnd, UDM_GETBUDDY, 0, 0)), buddyWnd) << i;
            if (c.FocusBuddy)
                b.Buddy->SetFocus();
            Application->ProcessMessages();
        }
        {
            WindowBirths births;
            ASSERT_TRUE(births.Hooked());
            delete b.Form;
            ASSERT_EQ(WindowBirths::Count(), 0) << "windows made while tearing down, round " << i;
        }
        ASSERT_FALSE(up() || buddy() || view() || time()) << i;
        if (c.Shown) {
            ASSERT_FALSE(IsWindow(upWnd) || IsWindow(buddyWnd)) << i;
        }
    }
    Application->ProcessMessages();
    EXPECT_EQ(LiveHandleCount(), handlesBefore);
}

INSTANTIATE_TEST_SUITE_P(Orders,
                         FormTeardown,
                         ::testing::Values(TeardownCase{"NeverShown", false, false, false},
                                           TeardownCase{"ShownBuddyFocused", false, true, true},
                                           TeardownCase{"UpDownCreatedFirst", true, true, true}),
                         [](const ::testing::TestParamInfo<TeardownCase>& info) { return info.param.Name; });

// Freeing the buddy alone leaves the up-down whole and unbound.
TEST(FormTeardownParts, FreeingTheBuddyUnbindsTheUpDown) {
    Built b = BuildForm(false);
    b.Form->Show();
    HWND upWnd = b.Up->Handle();
    delete b.Buddy;
    EXPECT_EQ(SendMessageW(upWnd, UDM_GETBUDDY, 0, 0), 0);
    EXPECT_EQ(b.Up->Associate(), nullptr);
    b.Up->SetPosition(7);
    EXPECT_EQ(b.Up->Position(), 7);
    delete b.Form;
}

}  // namespace
