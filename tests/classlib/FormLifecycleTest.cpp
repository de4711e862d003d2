// Forms and the application: Release, modal loops, closing, the screen's form order and the OnMessage chain.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/WindowTestUtil.h"

namespace {

struct FormWithButton {
    TForm* form;
    TButton* button;
};

FormWithButton MakeForm() {
    auto* form = new TForm(nullptr);
    PlaceForm(form, 50, 50, 200, 120);
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 25);
    return {form, button};
}

TEST(FormLifecycle, ReleaseInsideAClickHandlerFreesTheFormAfterTheHandler) {
    auto [form, button] = MakeForm();
    Alive alive(form);
    bool destroyed = false;
    bool aliveAtEndOfHandler = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    button->OnClick = [&, form = form](TObject*) {
        form->Release();
        // Messages handled inside the handler (a nested loop) must not free the form under it.
        Application->ProcessMessages();
        form->SetCaption(L"still here");
        aliveAtEndOfHandler = alive() && !destroyed;
    };
    form->Show();
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(aliveAtEndOfHandler);
    EXPECT_TRUE(PumpUntil([&] { return !alive(); }));
    EXPECT_TRUE(destroyed);
}

TEST(FormLifecycle, ShowModalReturnsTheButtonsModalResult) {
    auto [form, button] = MakeForm();
    std::unique_ptr<TForm> owner(form);
    button->SetModalResult(mrOk);
    PostMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Modal());
    EXPECT_THROW(([&] {
                     form->Show();
                     form->ShowModal();
                 }()),
                 EInvalidOperation);
    form->Hide();
}

TEST(FormLifecycle, CloseQueryCanKeepAModalFormOpen) {
    auto [form, button] = MakeForm();
    std::unique_ptr<TForm> owner(form);
    int queries = 0;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++queries > 1; };
    // Two close requests: the first is refused, the second ends the modal loop with mrCancel.
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
}

TEST(FormLifecycle, ModalFormDisablesTheOthersMeanwhile) {
    auto [other, otherButton] = MakeForm();
    std::unique_ptr<TForm> ownOther(other);
    other->Show();
    auto [form, button] = MakeForm();
    std::unique_ptr<TForm> owner(form);
    bool otherEnabledDuring = true;
    button->OnClick = [&](TObject*) {
        otherEnabledDuring = IsWindowEnabled(other->Handle()) != FALSE;
        form->SetModalResult(mrYes);
    };
    PostMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->ShowModal(), mrYes);
    EXPECT_FALSE(otherEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
}

TEST(FormLifecycle, CloseActions) {
    struct Case {
        TCloseAction action;
        bool canClose;
        bool visibleAfter;
        bool freedAfter;
    } cases[] = {
        {caHide, true, false, false},
        {caNone, true, true, false},
        {caFree, true, false, true},
        {caHide, false, true, false},
    };
    for (const Case& c : cases) {
        auto* form = new TForm(nullptr);
        PlaceForm(form, 10, 10, 100, 60);
        Alive alive(form);
        form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = c.canClose; };
        form->OnClose = [&](TObject*, TCloseAction& action) {
            EXPECT_EQ(action, caHide);
            action = c.action;
        };
        form->Show();
        form->Close();
        Pump(30);
        EXPECT_EQ(alive(), !c.freedAfter) << c.action;
        if (alive()) {
            EXPECT_EQ(IsWindowVisible(form->Handle()) != FALSE, c.visibleAfter) << c.action;
            delete form;
        }
    }
}

TEST(FormLifecycle, ScreenListsFormsByActivation) {
    std::unique_ptr<TForm> a(new TForm(nullptr)), b(new TForm(nullptr)), c(new TForm(nullptr));
    PlaceForm(a.get(), 0, 0, 50, 50);
    PlaceForm(b.get(), 60, 0, 50, 50);
    PlaceForm(c.get(), 120, 0, 50, 50);
    auto index = [](TCustomForm* f) {
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (Screen->Forms(i) == f)
                return i;
        return -1;
    };
    a->Show();
    ASSERT_TRUE(PumpUntil([&] { return Screen->ActiveForm() == a.get(); }));
    b->Show();
    ASSERT_TRUE(PumpUntil([&] { return Screen->ActiveForm() == b.get(); }));
    EXPECT_TRUE(b->Active());
    EXPECT_FALSE(a->Active());
    EXPECT_EQ(index(b.get()), 0);
    EXPECT_EQ(index(a.get()), 1);
    EXPECT_GT(index(c.get()), 1);  // never activated: after the activated ones
    b.reset();
    EXPECT_EQ(index(a.get()), 0);
    EXPECT_NE(Screen->ActiveForm(), nullptr);
}

TEST(FormLifecycle, DesktopCentrePosition) {
    std::unique_ptr<TForm> form(new TForm(nullptr));
    PlaceForm(form.get(), 0, 0, 200, 100);
    form->SetPosition(poDesktopCenter);
    form->Show();
    TRect desk = Screen->DesktopRect();
    EXPECT_EQ(form->Left(), desk.Left + (desk.Width() - 200) / 2);
    EXPECT_EQ(form->Top(), desk.Top + (desk.Height() - 100) / 2);
    RECT r;
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, form->Left());
}

TEST(FormLifecycle, OnMessageFiltersRemovedInAnyOrder) {
    const UINT kProbe = WM_APP + 21;
    // Filters 0..3 are added in order; each row removes some of them (some from inside a filter) and lists the
    // filters that must still see the following message, newest first.
    struct Case {
        std::vector<int> removeBefore;
        int removeInside;  // removed by filter 3 while the chain runs (-1: none)
        std::vector<int> expectedSecondRound;
    } cases[] = {
        {{}, -1, {3, 2, 1, 0}}, {{1}, -1, {3, 2, 0}}, {{2, 0}, -1, {3, 1}},
        {{3, 0}, -1, {2, 1}},   {{}, 1, {3, 2, 0}},   {{}, 3, {2, 1, 0}},
    };
    for (const Case& c : cases) {
        std::vector<int> seen;
        int ids[4];
        for (int i = 0; i < 4; ++i) {
            ids[i] = Application->AddOnMessage([&, i](MSG& msg, bool&) {
                if (msg.message != kProbe)
                    return;
                seen.push_back(i);
                if (i == 3 && c.removeInside >= 0)
                    Application->RemoveOnMessage(ids[c.removeInside]);
            });
        }
        for (int r : c.removeBefore)
            Application->RemoveOnMessage(ids[r]);
        PostMessageW(Application->Handle(), kProbe, 0, 0);
        Pump(10);
        seen.clear();
        PostMessageW(Application->Handle(), kProbe, 0, 0);
        Pump(10);
        EXPECT_EQ(seen, c.expectedSecondRound);
        for (int id : ids)
            Application->RemoveOnMessage(id);
    }
}

TEST(FormLifecycle, HandledFilterStopsTheMessage) {
    const UINT kProbe = WM_APP + 22;
    int later = 0;
    int older = Application->AddOnMessage([&](MSG& msg, bool&) { later += msg.message == kProbe; });
    int newer = Application->AddOnMessage([&](MSG& msg, bool& handled) { handled = msg.message == kProbe; });
    PostMessageW(Application->Handle(), kProbe, 0, 0);
    Pump(10);
    EXPECT_EQ(later, 0);
    Application->RemoveOnMessage(newer);
    PostMessageW(Application->Handle(), kProbe, 0, 0);
    Pump(10);
    EXPECT_EQ(later, 1);
    Application->RemoveOnMessage(older);
}

TEST(FormLifecycle, ExceptionInAFilterIsReportedAndTheLoopGoesOn) {
    ExceptionRecorder recorder;
    const UINT kProbe = WM_APP + 23;
    int id = Application->AddOnMessage([&](MSG& msg, bool&) {
        if (msg.message == kProbe)
            throw EInvalidOperation(L"filter failed");
    });
    PostMessageW(Application->Handle(), kProbe, 0, 0);
    Pump(10);
    Application->RemoveOnMessage(id);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0], "filter failed");
}

TEST(FormLifecycle, OnShowOnHideAndOnPaint) {
    std::unique_ptr<TForm> form(new TForm(nullptr));
    PlaceForm(form.get(), 20, 20, 80, 60);
    std::vector<std::string> events;
    form->OnShow = [&](TObject*) { events.push_back("show"); };
    form->OnHide = [&](TObject*) { events.push_back("hide"); };
    form->OnPaint = [&](TObject* sender) {
        if (events.empty() || events.back() != "paint")
            events.push_back("paint");
        // The canvas draws on the paint DC.
        static_cast<TForm*>(sender)->Canvas()->FillRect(Rect(0, 0, 5, 5));
    };
    form->Show();
    form->Update();
    form->Hide();
    const std::vector<std::string> expected = {"show", "paint", "hide"};
    EXPECT_EQ(events, expected);
}

TEST(FormLifecycle, MinimizeHidesTheFormsAndRestoreBringsThemBack) {
    std::unique_ptr<TForm> a(new TForm(nullptr)), hidden(new TForm(nullptr));
    PlaceForm(a.get(), 10, 10, 60, 40);
    PlaceForm(hidden.get(), 80, 10, 60, 40);
    hidden->Handle();
    a->Show();
    int minimized = 0, restored = 0;
    Application->OnMinimize = [&](TObject*) { ++minimized; };
    Application->OnRestore = [&](TObject*) { ++restored; };
    const bool appVisible = IsWindowVisible(Application->Handle()) != FALSE;
    Application->Minimize();
    EXPECT_FALSE(IsWindowVisible(a->Handle()));
    EXPECT_TRUE(IsIconic(Application->Handle()));
    Application->Restore();
    EXPECT_TRUE(IsWindowVisible(a->Handle()));
    EXPECT_FALSE(IsWindowVisible(hidden->Handle()));  // only what Minimize hid comes back
    EXPECT_EQ(IsWindowVisible(Application->Handle()) != FALSE, appVisible);
    EXPECT_EQ(minimized, 1);
    EXPECT_EQ(restored, 1);
    Application->OnMinimize = nullptr;
    Application->OnRestore = nullptr;
}

}  // namespace
