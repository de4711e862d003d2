// Components and controls on real windows: ownership, loading, window creation, WindowProc, text, alignment,
// reflection and the exception boundary of the window procedure.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/WindowTestUtil.h"

namespace {

std::vector<std::wstring>* gLog = nullptr;

void Log(const std::wstring& s) {
    if (gLog)
        gLog->push_back(s);
}

class LogWinControl : public TCustomControl {
  public:
    using TCustomControl::TCustomControl;
    ~LogWinControl() override { Log(L"free " + Name()); }
    void Loaded() override {
        TCustomControl::Loaded();
        Log(L"loaded " + Name() + L" parent=" + (Parent() ? Parent()->Name() : L"-"));
    }
};

class LogGraphicControl : public TGraphicControl {
  public:
    using TGraphicControl::TGraphicControl;
    ~LogGraphicControl() override { Log(L"free " + Name()); }
    void Loaded() override {
        TGraphicControl::Loaded();
        Log(L"loaded " + Name() + L" loading=" + (ComponentState().Contains(csLoading) ? L"1" : L"0"));
    }
};

// A form built like a stored one: properties set while loading, then Loaded on every component.
class LoadedForm : public TForm {
  public:
    explicit LoadedForm(TComponent* owner) : TForm(owner) {
        BeginLoading();
        SetName(L"LoadedForm");
        OnCreate = [](TObject*) { Log(L"OnCreate"); };
        Panel = new LogWinControl(this);
        Panel->SetName(L"Panel");
        Panel->SetParent(this);
        Panel->SetBounds(10, 10, 100, 50);
        Shape = new LogGraphicControl(this);
        Shape->SetName(L"Shape");
        Shape->SetParent(this);
        Shape->SetBounds(120, 10, 40, 40);
        LoadingDuringBuild = Panel->ComponentState().Contains(csLoading) && Shape->ComponentState().Contains(csLoading);
        EndLoading();
    }
    void Loaded() override {
        TForm::Loaded();
        Log(L"loaded LoadedForm");
    }
    ~LoadedForm() override { Log(L"free form"); }
    LogWinControl* Panel;
    LogGraphicControl* Shape;
    bool LoadingDuringBuild = false;
};

// Holds a weak reference to a component of another owner.
class Watcher : public TComponent {
  public:
    explicit Watcher(TComponent* owner) : TComponent(owner) {}
    void Watch(TComponent* c) {
        target = c;
        FreeNotification(c);
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == target)
            target = nullptr;
    }
    TComponent* target = nullptr;
};

class WindowControls : public ::testing::Test {
  protected:
    void SetUp() override { gLog = &log; }
    void TearDown() override { gLog = nullptr; }
    std::vector<std::wstring> log;
};

TEST_F(WindowControls, LoadingCallsLoadedOnEveryComponentThenOnCreate) {
    auto form = std::make_unique<LoadedForm>(nullptr);
    EXPECT_TRUE(form->LoadingDuringBuild);
    const std::vector<std::wstring> expected = {L"loaded LoadedForm", L"loaded Panel parent=LoadedForm",
                                                L"loaded Shape loading=0", L"OnCreate"};
    EXPECT_EQ(log, expected);
    EXPECT_FALSE(form->ComponentState().Contains(csLoading));
    EXPECT_FALSE(form->Panel->ComponentState().Contains(csLoading));
    EXPECT_EQ(form->FindComponent(L"shape"), form->Shape);
    EXPECT_EQ(form->ControlCount(), 2);
    EXPECT_EQ(form->Controls(0), form->Shape);  // non-windowed children come first
    EXPECT_EQ(form->Controls(1), form->Panel);
    EXPECT_THROW(form->Controls(2), EListError);
    EXPECT_THROW(form->Components(-1), EListError);
}

TEST_F(WindowControls, OwnerFreesComponentsInReverseOrderAndClearsWeakReferences) {
    auto* form = new LoadedForm(nullptr);
    auto* extra = new LogWinControl(form);  // owned by the form, placed in the panel
    extra->SetName(L"Extra");
    extra->SetParent(form->Panel);
    auto popup = new TPopupMenu(form);
    form->Shape->SetPopupMenu(popup);
    Watcher outside(nullptr);
    outside.Watch(form->Panel);
    form->Handle();
    HWND extraWnd = extra->Handle();
    ASSERT_TRUE(IsWindow(extraWnd));
    log.clear();

    // The popup menu goes first (last created): the shape's reference to it must be cleared at once.
    delete popup;
    EXPECT_EQ(form->Shape->PopupMenu(), nullptr);

    delete form;
    const std::vector<std::wstring> expected = {L"free Extra", L"free Shape", L"free Panel", L"free form"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(outside.target, nullptr);
    EXPECT_FALSE(IsWindow(extraWnd));
}

TEST_F(WindowControls, WindowedChildWithForeignOwnerIsFreedWithItsParent) {
    Watcher keeper(nullptr);
    auto* form = new TForm(nullptr);
    auto* child = new LogWinControl(&keeper);  // owned elsewhere, parented to the form
    child->SetName(L"Orphan");
    child->SetParent(form);
    EXPECT_EQ(keeper.ComponentCount(), 1);
    delete form;
    EXPECT_EQ(keeper.ComponentCount(), 0);
    EXPECT_EQ(log, std::vector<std::wstring>{L"free Orphan"});
}

TEST_F(WindowControls, NamesMustBeUniqueIdentifiers) {
    TForm form(nullptr);
    auto* a = new TPopupMenu(&form);
    a->SetName(L"Menu1");
    auto* b = new TPopupMenu(&form);
    struct Case {
        const wchar_t* name;
        bool ok;
    } cases[] = {{L"Menu2", true}, {L"menu1", false}, {L"1abc", false}, {L"a b", false}, {L"_x9", true}, {L"", true}};
    for (const Case& c : cases) {
        if (c.ok)
            EXPECT_NO_THROW(b->SetName(c.name)) << WideToUtf8(c.name);
        else
            EXPECT_THROW(b->SetName(c.name), EComponentError) << WideToUtf8(c.name);
    }
}

TEST_F(WindowControls, HandleIsCreatedLazilyParentFirst) {
    TForm form(nullptr);
    auto* child = new LogWinControl(&form);
    child->SetParent(&form);
    EXPECT_FALSE(form.HandleAllocated());
    EXPECT_FALSE(child->HandleAllocated());
    HWND wnd = child->Handle();
    ASSERT_TRUE(wnd);
    EXPECT_TRUE(form.HandleAllocated());
    EXPECT_EQ(GetParent(wnd), form.Handle());
    EXPECT_EQ(TWinControl::FromHandle(wnd), child);
    EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
}

TEST_F(WindowControls, CaptionIsTheWindowTextAndSurvivesRecreation) {
    TForm form(nullptr);
    form.SetCaption(L"Before handle");
    HWND wnd = form.Handle();
    wchar_t buffer[64];
    GetWindowTextW(wnd, buffer, 64);
    EXPECT_STREQ(buffer, L"Before handle");
    SetWindowTextW(wnd, L"Set by someone else");
    EXPECT_EQ(form.Caption(), L"Set by someone else");
    form.SetCaption(L"After");
    form.RecreateWnd();
    EXPECT_NE(form.Handle(), nullptr);
    GetWindowTextW(form.Handle(), buffer, 64);
    EXPECT_STREQ(buffer, L"After");

    auto* shape = new LogGraphicControl(&form);
    shape->SetCaption(L"no window");
    EXPECT_EQ(shape->Caption(), L"no window");
}

TEST_F(WindowControls, ReplacedWindowProcSeesCreationMessagesAndSurvivesRecreation) {
    TForm form(nullptr);
    std::vector<UINT> seen;
    TWndMethod old = form.WindowProc;
    form.WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        old(m);
    };
    form.Handle();
    auto has = [&](UINT msg) { return std::find(seen.begin(), seen.end(), msg) != seen.end(); };
    EXPECT_TRUE(has(WM_NCCREATE));
    EXPECT_TRUE(has(WM_NCCALCSIZE));
    EXPECT_TRUE(has(WM_CREATE));
    EXPECT_TRUE(has(WM_GETMINMAXINFO));
    seen.clear();
    form.RecreateWnd();
    EXPECT_TRUE(has(WM_NCDESTROY));
    EXPECT_TRUE(has(WM_NCCREATE));
    form.WindowProc = old;
}

TEST_F(WindowControls, ExceptionInWindowProcIsReportedAndGoesNoFurther) {
    ExceptionRecorder recorder;
    TForm form(nullptr);
    const UINT kBoom = WM_APP + 7;
    TWndMethod old = form.WindowProc;
    form.WindowProc = [&](TMessage& m) {
        if (m.Msg == kBoom)
            throw EConvertError(L"boom in handler");
        old(m);
    };
    LRESULT r = SendMessageW(form.Handle(), kBoom, 0, 0);
    EXPECT_EQ(r, 0);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0], "boom in handler");
    form.WindowProc = old;
    // The window still works.
    form.SetCaption(L"alive");
    EXPECT_EQ(form.Caption(), L"alive");
}

// A parent that shrinks its alignment area, even to a negative origin.
class InsetPanel : public TCustomControl {
  public:
    using TCustomControl::TCustomControl;
    TRect inset{0, 0, 0, 0};

  protected:
    void AdjustClientRect(TRect& r) override {
        r.Left += inset.Left;
        r.Top += inset.Top;
        r.Right -= inset.Right;
        r.Bottom -= inset.Bottom;
    }
};

TEST_F(WindowControls, AlignPlacesChildrenInTheAdjustedClientRect) {
    struct Case {
        TRect inset;
        TRect top, bottom, left, client;
    } cases[] = {
        {{0, 0, 0, 0}, {0, 0, 200, 20}, {0, 130, 200, 150}, {0, 20, 30, 130}, {30, 20, 200, 130}},
        {{5, 10, 5, 10}, {5, 10, 195, 30}, {5, 120, 195, 140}, {5, 30, 35, 120}, {35, 30, 195, 120}},
        // A negative origin: the children start outside the visible client area.
        {{-3, -4, 0, 0}, {-3, -4, 200, 16}, {-3, 130, 200, 150}, {-3, 16, 27, 130}, {27, 16, 200, 130}},
    };
    for (const Case& c : cases) {
        TForm form(nullptr);
        auto* panel = new InsetPanel(&form);
        panel->inset = c.inset;
        panel->SetParent(&form);
        panel->SetBounds(0, 0, 200, 150);
        panel->Handle();
        auto make = [&](TAlign a, bool windowed) -> TControl* {
            TControl* ctl = windowed ? static_cast<TControl*>(new LogWinControl(&form))
                                     : static_cast<TControl*>(new LogGraphicControl(&form));
            ctl->SetBounds(0, 0, 30, 20);
            ctl->SetParent(panel);
            ctl->SetAlign(a);
            return ctl;
        };
        TControl* top = make(alTop, true);
        TControl* bottom = make(alBottom, false);
        TControl* left = make(alLeft, false);
        TControl* client = make(alClient, true);
        EXPECT_EQ(top->BoundsRect(), c.top);
        EXPECT_EQ(bottom->BoundsRect(), c.bottom);
        EXPECT_EQ(left->BoundsRect(), c.left);
        EXPECT_EQ(client->BoundsRect(), c.client);
        // The windows follow the objects.
        RECT r;
        GetWindowRect(static_cast<TWinControl*>(client)->Handle(), &r);
        MapWindowPoints(HWND_DESKTOP, panel->Handle(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(ToTRect(r), c.client);
        // Resizing the parent realigns.
        panel->SetBounds(0, 0, 300, 150);
        EXPECT_EQ(top->Width(), 300 - c.inset.Left - c.inset.Right);
    }
}

TEST_F(WindowControls, AnchorsKeepTheRightAndBottomDistances) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 200, 100);
    form.Handle();
    auto* stretch = new LogWinControl(&form);
    stretch->SetParent(&form);
    stretch->SetBounds(10, 10, 100, 20);
    stretch->SetAnchors({akLeft, akTop, akRight});
    auto* corner = new LogGraphicControl(&form);
    corner->SetParent(&form);
    corner->SetBounds(150, 70, 20, 10);
    corner->SetAnchors({akRight, akBottom});
    form.SetBounds(0, 0, 260, 130);
    EXPECT_EQ(stretch->BoundsRect(), Bounds(10, 10, 160, 20));
    EXPECT_EQ(corner->BoundsRect(), Bounds(210, 100, 20, 10));
}

TEST_F(WindowControls, NotificationsAreReflectedToTheChildControl) {
    TForm form(nullptr);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    button->SetCaption(L"&Push");
    int clicks = 0;
    button->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, button);
        ++clicks;
    };
    HWND wnd = button->Handle();
    wchar_t cls[64];
    GetClassNameW(wnd, cls, 64);
    EXPECT_STREQ(cls, L"TButton");
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), BN_CLICKED), reinterpret_cast<LPARAM>(wnd));
    EXPECT_EQ(clicks, 1);
    form.Show();
    SendMessageW(wnd, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    // A colour request of the child reaches the child's object, which answers with its brush.
    button->SetColor(clRed);
    HDC dc = GetDC(wnd);
    LRESULT brush =
        SendMessageW(form.Handle(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(wnd));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), button->Brush()->Handle());
    EXPECT_EQ(GetBkColor(dc), static_cast<COLORREF>(clRed));
    ReleaseDC(wnd, dc);
}

TEST_F(WindowControls, ChangeNotificationsReachTheControl) {
    TForm form(nullptr);
    auto* child = new LogWinControl(&form);
    child->SetParent(&form);
    std::vector<UINT> seen;
    TWndMethod old = child->WindowProc;
    child->WindowProc = [&](TMessage& m) {
        if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100)
            seen.push_back(m.Msg);
        old(m);
    };
    child->SetEnabled(false);
    child->SetCaption(L"x");
    child->Font()->SetHeight(20);
    form.Font()->SetName(L"Arial");  // the child no longer follows its parent's font after its own change
    child->SetVisible(false);
    const std::vector<UINT> expected = {CM_ENABLEDCHANGED, CM_TEXTCHANGED, CM_FONTCHANGED, CM_PARENTFONTCHANGED,
                                        CM_VISIBLECHANGED};
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(IsWindowEnabled(child->Handle()));
    EXPECT_FALSE(child->ParentFont());
    child->WindowProc = old;

    auto* follower = new LogGraphicControl(&form);
    follower->SetParent(&form);
    form.Font()->SetHeight(31);
    EXPECT_EQ(follower->Font()->Height(), 31);
    EXPECT_TRUE(follower->ParentFont());
}

}  // namespace
