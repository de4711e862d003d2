// The change watcher and the thumbnail threads on real folders. Every wait is bounded: a hang fails the test, and
// no time is asserted.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shobjidl.h>

#include <memory>
#include <set>
#include <vector>

#include "TestFiles.h"
#include "WindowTestUtil.h"
#include "skin/shell/ShellChange.h"
#include "skin/shell/ShellFolder.h"
#include "skin/shell/ShellThumbnails.h"

namespace {

void PutFile(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(h, "x", 1, &written, nullptr);
    CloseHandle(h);
}

TEST(ShellChange, ANotifierWatchesItsRootAndMovesWithIt) {
    trelm_test::TTempDir one, two;
    TbsShellChangeNotifier notifier(nullptr);
    EXPECT_EQ(notifier.Root(), L"C:\\");
    EXPECT_EQ(notifier.NotifyFilters(), (TNotifyFilters{nfFileNameChange, nfDirNameChange}));
    notifier.SetRoot(one.Path());
    EXPECT_EQ(notifier.Thread(), nullptr) << "no watcher without an event";

    int changes = 0;
    DWORD changeThread = 0;
    notifier.SetOnChange([&] {
        ++changes;
        changeThread = GetCurrentThreadId();
    });
    TbsShellChangeThread* thread = notifier.Thread();
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return thread->WatchedDirectory() == one.Path(); }, 5000));
    PutFile(one.File(L"new.txt"));
    ASSERT_TRUE(PumpUntil([&] { return changes > 0; }, 5000));
    EXPECT_EQ(changeThread, GetCurrentThreadId()) << "the event runs on the GUI thread";

    notifier.SetRoot(two.Path());
    EXPECT_EQ(notifier.Thread(), thread) << "a new root moves the watch, not the thread";
    ASSERT_TRUE(PumpUntil([&] { return thread->WatchedDirectory() == two.Path(); }, 5000));
    Pump(200);
    int before = changes;
    PutFile(two.File(L"other.txt"));
    EXPECT_TRUE(PumpUntil([&] { return changes > before; }, 5000));

    int replaced = 0;
    notifier.SetOnChange([&] { ++replaced; });
    EXPECT_EQ(notifier.Thread(), thread) << "a new event goes to the running thread";
    Pump(200);
    PutFile(two.File(L"third.txt"));
    EXPECT_TRUE(PumpUntil([&] { return replaced > 0; }, 5000));
}

TEST(ShellChange, AFolderThatCannotBeWatchedGivesNoEventsUntilOneCan) {
    trelm_test::TTempDir dir;
    TbsShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(dir.File(L"missing"));
    int changes = 0;
    notifier.SetOnChange([&] { ++changes; });
    Pump(200);
    EXPECT_EQ(notifier.Thread()->WatchedDirectory(), L"");
    notifier.SetRoot(dir.Path());
    ASSERT_TRUE(PumpUntil([&] { return notifier.Thread()->WatchedDirectory() == dir.Path(); }, 5000));
    PutFile(dir.File(L"x.txt"));
    EXPECT_TRUE(PumpUntil([&] { return changes > 0; }, 5000));
}

TEST(ShellChange, ANotifierThatGoesEndsItsThreadWithoutAnotherEvent) {
    trelm_test::TTempDir dir;
    int changes = 0;
    {
        TbsShellChangeNotifier notifier(nullptr);
        notifier.SetRoot(dir.Path());
        notifier.SetOnChange([&] { ++changes; });
        ASSERT_TRUE(PumpUntil([&] { return notifier.Thread()->WatchedDirectory() == dir.Path(); }, 5000));
        // A change the worker is handing over while the notifier goes: dropped, not run.
        PutFile(dir.File(L"late.txt"));
        Sleep(300);
    }
    Pump(300);
    EXPECT_EQ(changes, 0);
}

// ---- Thumbnails -------------------------------------------------------------------------------------------------

// A 96 x 96 picture from a shell item that exists only here.
class TFakeImageItem : public IShellItem, public IShellItemImageFactory {
  public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IShellItem)
            *ppv = static_cast<IShellItem*>(this);
        else if (riid == IID_IShellItemImageFactory)
            *ppv = static_cast<IShellItemImageFactory*>(this);
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs); }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG r = InterlockedDecrement(&refs);
        if (r == 0)
            delete this;
        return r;
    }
    STDMETHODIMP BindToHandler(IBindCtx*, REFGUID, REFIID, void**) override { return E_NOTIMPL; }
    STDMETHODIMP GetParent(IShellItem**) override { return E_NOTIMPL; }
    STDMETHODIMP GetDisplayName(SIGDN, LPWSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP GetAttributes(SFGAOF, SFGAOF*) override { return E_NOTIMPL; }
    STDMETHODIMP Compare(IShellItem*, SICHINTF, int*) override { return E_NOTIMPL; }
    STDMETHODIMP GetImage(SIZE size, SIIGBF, HBITMAP* out) override {
        HDC screen = GetDC(nullptr);
        *out = CreateCompatibleBitmap(screen, size.cx, size.cy);
        ReleaseDC(nullptr, screen);
        return *out ? S_OK : E_FAIL;
    }
    LONG refs = 1;
};

HRESULT WINAPI FakeCreateItem(PCIDLIST_ABSOLUTE, REFIID riid, void** ppv) {
    auto* item = new TFakeImageItem;
    HRESULT hr = item->QueryInterface(riid, ppv);
    item->Release();
    return hr;
}
HRESULT WINAPI FailingCreateItem(PCIDLIST_ABSOLUTE, REFIID, void** ppv) {
    *ppv = nullptr;
    return E_FAIL;
}

// A view's part the threads see: nodes for the files of a folder and a window that counts redraw requests.
class TThumbnailView : public IbsThumbnailHost {
  public:
    explicit TThumbnailView(const trelm_test::TTempDir& dir, int files) {
        for (int i = 0; i < files; ++i)
            PutFile(dir.File(L"f" + std::to_wstring(i) + L".txt"));
        std::wstring root = dir.Path();
        top_ = ResolveRootFolder(L"", root);
        for (int i = 0; i < files; ++i) {
            std::wstring name = L"f" + std::to_wstring(i) + L".txt";
            LPITEMIDLIST pidl = nullptr;
            top_->ShellFolder()->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &pidl, nullptr);
            TbsPidl owned(pidl);
            nodes_.push_back(std::make_unique<TbsShellFolder>(top_.get(), nullptr, owned.get()));
        }
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TrelmThumbnailCounter";
        RegisterClassW(&wc);
        window_ = CreateWindowW(L"TrelmThumbnailCounter", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TThumbnailView() override { DestroyWindow(window_); }

    int ThumbnailNodeCount() const override { return static_cast<int>(nodes_.size()); }
    TbsShellFolder* ThumbnailNode(int index) const override { return nodes_[static_cast<size_t>(index)].get(); }
    bool StopFetch() const override { return false; }
    SIZE ThumbnailSize() const override { return {96, 96}; }
    HWND ThumbnailWindow() const override { return window_; }

    // Runs the threads a view starts for its nodes (both kinds) to their end.
    void RunThreads(bool vista) {
        int n = ThumbnailThreadCount(ThumbnailNodeCount());
        std::vector<std::unique_ptr<TbsThumbnailsThread>> threads;
        for (int kind = 0; kind < 2; ++kind)
            for (int start = 0; start < n; ++start) {
                threads.push_back(std::make_unique<TbsThumbnailsThread>(this, kind == 1, n, start, vista));
                threads.back()->Start();
            }
        for (auto& t : threads)
            t->WaitFor();
        Pump(100);
    }

    std::set<int> redrawn;
    std::vector<std::unique_ptr<TbsShellFolder>> nodes_;

  private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        if (msg == LVM_REDRAWITEMS) {
            auto* self = reinterpret_cast<TThumbnailView*>(GetWindowLongPtrW(h, GWLP_USERDATA));
            if (self)
                self->redrawn.insert(static_cast<int>(w));
            return TRUE;
        }
        return DefWindowProcW(h, msg, w, l);
    }
    std::unique_ptr<TbsShellFolder> top_;
    HWND window_ = nullptr;
};

TEST(ShellThumbnails, ThreadsShareTheNodesByStride) {
    const struct {
        int nodes, threads;
    } cases[] = {{1, 1}, {2, 2}, {10, 3}, {0, 0}};
    for (auto c : cases)
        EXPECT_EQ(ThumbnailThreadCount(c.nodes), c.threads) << c.nodes;

    auto saved = ShellCreateItemFromIDList;
    ShellCreateItemFromIDList = FakeCreateItem;
    trelm_test::TTempDir dir;
    TThumbnailView view(dir, 10);
    view.RunThreads(true);
    ShellCreateItemFromIDList = saved;
    for (int i = 0; i < 10; ++i) {
        const auto& node = *view.nodes_[static_cast<size_t>(i)];
        EXPECT_NE(node.FThumbnailHBitmap.load(), nullptr) << "node " << i;
        BITMAP bm{};
        GetObjectW(node.FThumbnailHBitmap.load(), sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 96);
        EXPECT_TRUE(view.redrawn.count(i)) << "node " << i;
    }
}

TEST(ShellThumbnails, AFailedExtractionFallsBackToTheIcon) {
    auto saved = ShellCreateItemFromIDList;
    ShellCreateItemFromIDList = FailingCreateItem;
    trelm_test::TTempDir dir;
    TThumbnailView view(dir, 2);
    view.RunThreads(true);
    ShellCreateItemFromIDList = saved;
    for (const auto& node : view.nodes_) {
        EXPECT_EQ(node->FThumbnailHBitmap.load(), nullptr);
        EXPECT_TRUE(node->ThumbnailState().Contains(bsthmbIconLoaded));
        EXPECT_GE(node->FThumbnailIndex.load(), 0);
    }
    EXPECT_EQ(view.redrawn, (std::set<int>{0, 1}));
}

}  // namespace
