// The notifier's main window made in this process and switched through every stored skin: the handles its objects
// hold come back to where they were, and the frame around the client area is the last skin's.
#include <gtest/gtest.h>

#include "InProcessMainForm.h"
#include "base/Handles.h"

namespace {

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

TEST(MainFormSkinSwitch, EverySkinInTurnGivesBackItsHandlesAndLeavesTheLastSkinsFrame) {
    TInProcessMainForm main;
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
