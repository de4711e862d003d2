// The class library's MDI forms on their own, without skins: the system's client window, children inside it, the
// system's maximise, tiling and activation, and a child going through its client window. Its own program: the MDI
// form must be the application's main form.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "WindowTestUtil.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"

namespace {

class NativeMDI : public ::testing::Test {
  protected:
    static inline TForm* main_ = nullptr;
    static void SetUpTestSuite() {
        main_ = new TForm(nullptr);
        Application->SetMainForm(main_);
        main_->SetFormStyle(fsMDIForm);
        main_->SetBounds(20, 20, 640, 480);
        main_->SetCaption(L"Native MDI");
        main_->Show();
        SetForegroundWindow(main_->Handle());
        Pump(100);
    }
    static void TearDownTestSuite() {
        delete main_;
        Pump(30);
    }
    void TearDown() override {
        for (auto& c : children_)
            if ((*c.second)())
                delete c.first;
        children_.clear();
        Pump(30);
    }
    TForm* NewChild(const std::wstring& caption) {
        auto* f = new TForm(nullptr);
        f->SetFormStyle(fsMDIChild);
        f->SetBounds(10, 10, 200, 150);
        f->SetCaption(caption);
        children_.emplace_back(f, std::make_unique<Alive>(f));
        f->Show();
        Pump(30);
        return f;
    }
    std::vector<std::pair<TForm*, std::unique_ptr<Alive>>> children_;
};

TEST_F(NativeMDI, ChildrenLiveInTheSystemsClientWindow) {
    ASSERT_NE(main_->ClientHandle(), nullptr);
    wchar_t cls[32] = {};
    GetClassNameW(main_->ClientHandle(), cls, 32);
    EXPECT_EQ(_wcsicmp(cls, L"MDICLIENT"), 0);
    TForm* a = NewChild(L"A");
    TForm* b = NewChild(L"B");
    EXPECT_EQ(GetParent(a->Handle()), main_->ClientHandle());
    EXPECT_TRUE(GetWindowLongPtrW(a->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(main_->MDIChildCount(), 2);
    EXPECT_EQ(main_->MDIChildren(0), b);
    EXPECT_EQ(main_->ActiveMDIChild(), b);
    EXPECT_TRUE(b->Active());
    main_->Next();
    Pump(30);
    EXPECT_EQ(main_->ActiveMDIChild(), a);
    EXPECT_TRUE(a->Active());
    EXPECT_FALSE(b->Active());
    // The client window fills the client area the aligned controls leave.
    RECT cr{}, client{};
    GetClientRect(main_->Handle(), &cr);
    GetWindowRect(main_->ClientHandle(), &client);
    EXPECT_EQ(client.right - client.left, cr.right);
    EXPECT_EQ(client.bottom - client.top, cr.bottom);
}

TEST_F(NativeMDI, TheSystemTilesAndMaximisesAndActivatesTheNextWhenOneGoes) {
    TForm* a = NewChild(L"A");
    TForm* b = NewChild(L"B");
    main_->TileMode = tbVertical;
    main_->Tile();
    Pump(30);
    RECT ra{}, rb{};
    GetWindowRect(a->Handle(), &ra);
    GetWindowRect(b->Handle(), &rb);
    EXPECT_EQ(ra.top, rb.top);
    EXPECT_NE(ra.left, rb.left);
    SendMessageW(main_->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(b->Handle()), 0);
    Pump(30);
    EXPECT_TRUE(IsZoomed(b->Handle()));
    EXPECT_EQ(b->WindowState(), wsMaximized);
    SendMessageW(main_->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(b->Handle()), 0);
    Pump(30);
    ASSERT_EQ(main_->ActiveMDIChild(), b);
    delete b;
    Pump(30);
    EXPECT_EQ(main_->ActiveMDIChild(), a);
    EXPECT_EQ(main_->MDIChildCount(), 1);
}

TEST_F(NativeMDI, TheWindowMenuIsForgottenWhenItGoes) {
    auto* item = new TMenuItem(nullptr);
    main_->SetWindowMenu(item);
    EXPECT_EQ(main_->WindowMenu(), item);
    delete item;
    EXPECT_EQ(main_->WindowMenu(), nullptr);
}

}  // namespace
