// Mouse routing: enter and leave for windowed and non-windowed controls (real cursor moves), and clicks,
// capture and double clicks of non-windowed controls routed by their parent.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "tests/classlib/WindowTestUtil.h"

namespace {

struct MouseForm {
    std::unique_ptr<TForm> form{new TForm(nullptr)};
    Shape* shape;
    Box* box;
    std::vector<std::string> log;

    MouseForm() {
        PlaceForm(form.get(), 100, 100, 300, 200);
        shape = new Shape(form.get());
        shape->SetParent(form.get());
        shape->SetBounds(10, 10, 80, 60);
        box = new Box(form.get());
        box->SetParent(form.get());
        box->SetBounds(150, 10, 80, 60);
        shape->OnMouseEnter = [this](TObject*) { log.push_back("enter shape"); };
        shape->OnMouseLeave = [this](TObject*) { log.push_back("leave shape"); };
        box->OnMouseEnter = [this](TObject*) { log.push_back("enter box"); };
        box->OnMouseLeave = [this](TObject*) { log.push_back("leave box"); };
        shape->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
            log.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y) +
                          (s.Contains(ssDouble) ? " double" : ""));
        };
        shape->OnMouseMove = [this](TObject*, TShiftState, int x, int y) {
            log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
        };
        shape->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
            log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
        };
        shape->OnClick = [this](TObject*) { log.push_back("click"); };
        shape->OnDblClick = [this](TObject*) { log.push_back("dblclick"); };
        form->Show();
        form->Update();
    }
    bool Logged(const std::string& s) const { return std::find(log.begin(), log.end(), s) != log.end(); }
};

TEST(WindowMouse, EnterAndLeaveForWindowedAndNonWindowedControls) {
    SetCursorPos(5, 5);
    MouseForm f;
    f.shape->OnMouseMove = nullptr;
    Pump(30);
    f.log.clear();
    SetCursorPos(100 + 30, 100 + 30);
    ASSERT_TRUE(PumpUntil([&] { return f.Logged("enter shape"); })) << f.log.size();
    EXPECT_EQ(Application->MouseControl(), f.shape);
    SetCursorPos(100 + 160, 100 + 20);
    ASSERT_TRUE(PumpUntil([&] { return f.Logged("enter box"); }));
    SetCursorPos(100 + 120, 100 + 150);  // the form itself
    ASSERT_TRUE(PumpUntil([&] { return f.Logged("leave box"); }));
    EXPECT_EQ(Application->MouseControl(), f.form.get());
    SetCursorPos(100 + 30, 100 + 30);
    ASSERT_TRUE(PumpUntil([&] { return f.log.size() >= 5; }));
    SetCursorPos(600, 500);  // off the form: leaving the window ends with a leave
    ASSERT_TRUE(PumpUntil([&] { return f.log.size() >= 6; }));
    const std::vector<std::string> expected = {"enter shape", "leave shape", "enter box",
                                               "leave box",   "enter shape", "leave shape"};
    EXPECT_EQ(f.log, expected);
}

TEST(WindowMouse, FreedControlUnderTheMouseIsForgotten) {
    MouseForm f;
    SetCursorPos(100 + 30, 100 + 30);
    ASSERT_TRUE(PumpUntil([&] { return Application->MouseControl() == f.shape; }));
    delete f.shape;
    EXPECT_NE(Application->MouseControl(), static_cast<TControl*>(f.shape));
    SetCursorPos(600, 500);
    Pump(30);  // no leave may reach the freed control
}

TEST(WindowMouse, ParentRoutesClicksToNonWindowedChildWithCapture) {
    SetCursorPos(700, 550);
    MouseForm f;
    HWND wnd = f.form->Handle();
    auto post = [&](UINT msg, WPARAM keys, int x, int y) {
        PostMessageW(wnd, msg, keys, MAKELPARAM(x, y));
        Pump(10);
    };
    f.log.clear();
    post(WM_LBUTTONDOWN, MK_LBUTTON, 20, 30);
    EXPECT_EQ(GetCaptureControl(), f.shape);
    post(WM_MOUSEMOVE, MK_LBUTTON, 200, 150);  // outside the shape, still its mouse
    post(WM_LBUTTONUP, 0, 200, 150);           // released outside: no click
    EXPECT_EQ(GetCaptureControl(), nullptr);
    post(WM_LBUTTONDOWN, MK_LBUTTON, 15, 15);
    post(WM_LBUTTONUP, 0, 15, 15);
    post(WM_LBUTTONDBLCLK, MK_LBUTTON, 15, 15);
    post(WM_LBUTTONUP, 0, 15, 15);
    post(WM_RBUTTONDOWN, MK_RBUTTON, 11, 12);
    const std::vector<std::string> expected = {"down 0 10,20", "move 190,140", "up 190,140", "down 0 5,5",
                                               "up 5,5",       "click",        "dblclick",   "down 0 5,5 double",
                                               "up 5,5",       "click",        "down 1 1,2"};
    EXPECT_EQ(f.log, expected);
    // A click beside every child reaches nobody but the form.
    f.log.clear();
    post(WM_LBUTTONDOWN, MK_LBUTTON, 120, 150);
    post(WM_LBUTTONUP, 0, 120, 150);
    EXPECT_TRUE(f.log.empty());
}

// A press that comes before any move reached the form (the pointer rested on a control while a message box covered
// it, and the box went): the control is entered first, so a control that clicks only with the pointer in it clicks.
TEST(WindowMouse, PressBeforeAnyMoveEntersTheControlFirst) {
    SetCursorPos(5, 5);
    MouseForm f;
    f.shape->OnMouseMove = nullptr;
    Pump(30);
    f.log.clear();
    SetCursorPos(100 + 30, 100 + 30);
    // Sent, not queued: the move the cursor change queued has not been read yet.
    SendMessageW(f.form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
    SendMessageW(f.form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
    const std::vector<std::string> expected = {"enter shape", "down 0 20,20", "up 20,20", "click"};
    EXPECT_EQ(f.log, expected);
    SetCursorPos(600, 500);
    Pump(30);
}

TEST(WindowMouse, HiddenOrDisabledNonWindowedChildGetsNoClicks) {
    SetCursorPos(700, 550);
    MouseForm f;
    HWND wnd = f.form->Handle();
    for (int round = 0; round < 2; ++round) {
        if (round == 0)
            f.shape->SetVisible(false);
        else {
            f.shape->SetVisible(true);
            f.shape->SetEnabled(false);
        }
        f.log.clear();
        PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 30));
        PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 30));
        Pump(20);
        EXPECT_TRUE(f.log.empty()) << round;
    }
}

}  // namespace
