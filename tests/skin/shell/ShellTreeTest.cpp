// The shell tree view on real windows under Wine, over real folders: one enumeration per node, selection by path,
// the computer root, refused folders, Refresh, the links to the list view and the combo box, the change watcher,
// rename and the verbs. One form for the whole program; each case makes its own tree over its own folder.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "ShellTestUnit.h"
#include "TestFiles.h"
#include "WindowTestUtil.h"
#include "classlib/Forms.h"
#include "skin/shell/ShellComboBox.h"
#include "skin/shell/ShellListView.h"
#include "skin/shell/ShellTreeView.h"

namespace {

const auto* const kUnit = ::testing::AddGlobalTestEnvironment(new ShellUnitEnvironment);

LPITEMIDLIST ParsePath(const std::wstring& path) {
    LPITEMIDLIST pidl = nullptr;
    SHParseDisplayName(path.c_str(), nullptr, &pidl, 0, nullptr);
    return pidl;
}

// A real folder that counts its enumerations; everything else goes to the folder it wraps.
class TCountingFolder : public IShellFolder {
  public:
    explicit TCountingFolder(IShellFolder* Real) : real_(Real) { real_->AddRef(); }
    ~TCountingFolder() { real_->Release(); }
    int enumerations = 0;
    ULONG References() const { return refs_; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IShellFolder)
            return E_NOINTERFACE;
        *ppv = static_cast<IShellFolder*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override { return --refs_; }  // lives in the test
    STDMETHODIMP ParseDisplayName(HWND h, IBindCtx* b, LPWSTR n, ULONG* e, PIDLIST_RELATIVE* p, ULONG* a) override {
        return real_->ParseDisplayName(h, b, n, e, p, a);
    }
    STDMETHODIMP EnumObjects(HWND h, SHCONTF f, IEnumIDList** e) override {
        ++enumerations;
        return real_->EnumObjects(h, f, e);
    }
    STDMETHODIMP BindToObject(PCUIDLIST_RELATIVE p, IBindCtx* b, REFIID r, void** v) override {
        return real_->BindToObject(p, b, r, v);
    }
    STDMETHODIMP BindToStorage(PCUIDLIST_RELATIVE p, IBindCtx* b, REFIID r, void** v) override {
        return real_->BindToStorage(p, b, r, v);
    }
    STDMETHODIMP CompareIDs(LPARAM l, PCUIDLIST_RELATIVE a, PCUIDLIST_RELATIVE b) override {
        return real_->CompareIDs(l, a, b);
    }
    STDMETHODIMP CreateViewObject(HWND h, REFIID r, void** v) override { return real_->CreateViewObject(h, r, v); }
    STDMETHODIMP GetAttributesOf(UINT c, PCUITEMID_CHILD_ARRAY a, SFGAOF* f) override {
        return real_->GetAttributesOf(c, a, f);
    }
    STDMETHODIMP GetUIObjectOf(HWND h, UINT c, PCUITEMID_CHILD_ARRAY a, REFIID r, UINT* u, void** v) override {
        return real_->GetUIObjectOf(h, c, a, r, u, v);
    }
    STDMETHODIMP GetDisplayNameOf(PCUITEMID_CHILD p, SHGDNF f, STRRET* s) override {
        return real_->GetDisplayNameOf(p, f, s);
    }
    STDMETHODIMP SetNameOf(HWND h, PCUITEMID_CHILD p, LPCWSTR n, SHGDNF f, PITEMID_CHILD* o) override {
        return real_->SetNameOf(h, p, n, f, o);
    }

  private:
    IShellFolder* real_;
    ULONG refs_ = 1;
};

// A tree whose root is a given folder interface over a given path.
class TRootedTree : public TbsCustomShellTreeView {
  public:
    TRootedTree(TComponent* AOwner, IShellFolder* Folder, const std::wstring& Path)
        : TbsCustomShellTreeView(AOwner), folder_(Folder), path_(Path) {}

  protected:
    std::unique_ptr<TbsShellFolder> ResolveRoot() override {
        TbsPidl pidl(ParsePath(path_));
        return std::make_unique<TbsShellFolder>(nullptr, folder_, pidl.get());
    }

  private:
    IShellFolder* folder_;
    std::wstring path_;
};

class ShellTreeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        form_ = new TForm(nullptr);
        form_->SetBounds(0, 0, 640, 420);
        form_->Show();
    }
    static void TearDownTestSuite() {
        delete form_;
        form_ = nullptr;
    }
    void SetUp() override {
        for (const wchar_t* name : {L"Письма", L"Письма\\Входящие", L"Письма\\Входящие\\Старые", L"Архив"})
            CreateDirectoryW(dir_.File(name).c_str(), nullptr);
    }
    void TearDown() override {
        for (TControl* c : made_)
            delete c;
        made_.clear();
    }
    template <typename T>
    T* Place(T* c, int x, int y, int w, int h) {
        c->SetParent(form_);
        c->SetBounds(x, y, w, h);
        made_.insert(made_.begin(), c);
        return c;
    }
    TbsCustomShellTreeView* Tree(const std::wstring& root) {
        auto* t = Place(new TbsCustomShellTreeView(form_), 0, 0, 200, 400);
        t->SetRoot(root);
        t->HandleNeeded();
        return t;
    }
    static std::vector<std::wstring> Children(TTreeNode* node) {
        std::vector<std::wstring> names;
        for (int i = 0; i < node->Count(); ++i)
            names.push_back(node->Item(i)->Text());
        return names;
    }
    static TTreeNode* Child(TTreeNode* node, const std::wstring& text) {
        for (int i = 0; node && i < node->Count(); ++i)
            if (node->Item(i)->Text() == text)
                return node->Item(i);
        return nullptr;
    }
    static bool ShownExpanded(TbsCustomShellTreeView* t, TTreeNode* n) {
        return (TreeView_GetItemState(t->Handle(), n->ItemId(), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    }

    static TForm* form_;
    trelm_test::TTempDir dir_;
    std::vector<TControl*> made_;  // the last made first, so linked partners go before what they link to
};

TForm* ShellTreeTest::form_ = nullptr;

using TNames = std::vector<std::wstring>;

TEST_F(ShellTreeTest, AFolderIsEnumeratedOnceWhateverItsExpansions) {
    TComPtr<IShellFolder> desktop = DesktopShellFolder();
    TbsPidl pidl(ParsePath(dir_.Path()));
    TComPtr<IShellFolder> real;
    ASSERT_HRESULT_SUCCEEDED(
        desktop->BindToObject(pidl.get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(real.Put())));
    TCountingFolder counting(real.Get());
    {
        auto* t = Place(new TRootedTree(form_, &counting, dir_.Path()), 0, 0, 200, 300);
        t->HandleNeeded();
        TTreeNode* top = t->Items()->GetFirstNode();
        ASSERT_NE(top, nullptr);
        // The root is expanded and selected at once: one enumeration, the children in the shell's order.
        EXPECT_EQ(counting.enumerations, 1);
        EXPECT_TRUE(top->Selected());
        EXPECT_EQ(Children(top), (TNames{L"Архив", L"Письма"}));
        top->Collapse(false);
        EXPECT_FALSE(ShownExpanded(t, top));
        top->Expand(false);
        EXPECT_TRUE(ShownExpanded(t, top));
        top->Collapse(false);
        top->Expand(false);
        EXPECT_EQ(counting.enumerations, 1);
        EXPECT_EQ(top->Count(), 2);
        // A child fills on its first expansion only; one without sub-folders shows no button.
        TTreeNode* letters = Child(top, L"Письма");
        ASSERT_NE(letters, nullptr);
        EXPECT_TRUE(letters->HasChildren());
        EXPECT_EQ(letters->Count(), 0);
        letters->Expand(false);
        EXPECT_EQ(Children(letters), (TNames{L"Входящие"}));
        // A folder found empty on its first expansion loses its button (the shell may have promised sub-folders).
        TTreeNode* archive = Child(top, L"Архив");
        archive->Expand(false);
        EXPECT_EQ(archive->Count(), 0);
        EXPECT_FALSE(archive->HasChildren());
        EXPECT_FALSE(ShownExpanded(t, archive));
        EXPECT_TRUE(letters->Expanded());
        letters->Collapse(false);
        EXPECT_FALSE(letters->Expanded());
        EXPECT_GE(letters->ImageIndex(), 0);
        TearDown();  // the nodes release the counting folder before it goes
    }
    // Every folder made over the root's interface went with its node.
    EXPECT_EQ(counting.References(), 1u);
}

TEST_F(ShellTreeTest, AFilePathSelectsAFileNodeOnlyWhenFilesAreShown) {
    HANDLE h = CreateFileW(dir_.File(L"Письма\\отчёт.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    TbsCustomShellTreeView* t = Tree(dir_.Path());
    t->SetPath(dir_.File(L"Письма\\отчёт.txt"));
    EXPECT_EQ(t->Selected(), nullptr);
    EXPECT_EQ(t->Path(), L"");
    t->SetObjectTypes(TShellObjectTypes{otFolders, otNonFolders});
    t->SetPath(dir_.File(L"Письма\\отчёт.txt"));
    ASSERT_NE(t->Selected(), nullptr);
    EXPECT_EQ(t->Selected()->Text(), L"отчёт.txt");
    EXPECT_FALSE(t->Selected()->HasChildren());
    EXPECT_EQ(Children(t->Selected()->Parent()), (TNames{L"Входящие", L"отчёт.txt"}));
}

TEST_F(ShellTreeTest, APathExpandsItsChainAndSelectsIt) {
    TbsCustomShellTreeView* t = Tree(L"rfDesktop");
    ASSERT_NE(t->Items()->GetFirstNode(), nullptr);
    EXPECT_EQ(t->Items()->GetFirstNode()->Parent(), nullptr);
    t->SetPath(L"C:\\windows");
    ASSERT_NE(t->Selected(), nullptr);
    EXPECT_EQ(_wcsicmp(t->Path().c_str(), L"C:\\windows"), 0);
    EXPECT_EQ(_wcsicmp(t->Selected()->Text().c_str(), L"windows"), 0);
    for (TTreeNode* p = t->Selected()->Parent(); p; p = p->Parent())
        EXPECT_TRUE(ShownExpanded(t, p)) << p->Text();
    EXPECT_GE(t->Selected()->Level(), 2);  // desktop, computer, C:, windows
    // Deeper, through folders not filled yet, with Cyrillic names.
    t->SetPath(dir_.File(L"Письма\\Входящие\\Старые"));
    ASSERT_NE(t->Selected(), nullptr);
    EXPECT_EQ(t->Selected()->Text(), L"Старые");
    EXPECT_EQ(t->Path(), dir_.File(L"Письма\\Входящие\\Старые"));
    EXPECT_THROW(t->SetPath(L"Q:\\nowhere\\at all"), EInvalidPath);
    EXPECT_EQ(t->Selected()->Text(), L"Старые");
}

TEST_F(ShellTreeTest, TheComputerRootShowsTheComputerOnTop) {
    TbsCustomShellTreeView* t = Tree(L"rfMyComputer");
    TTreeNode* top = t->Items()->GetFirstNode();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Text(), L"My Computer");
    EXPECT_EQ(top->GetNextSibling(), nullptr);
    bool drive = false;
    for (int i = 0; i < top->Count(); ++i)
        drive = drive || top->Item(i)->Text().find(L"(C:)") != std::wstring::npos;
    EXPECT_TRUE(drive);
    t->ExpandMyComputer();
    EXPECT_EQ(t->Selected(), top);
    EXPECT_TRUE(ShownExpanded(t, top));
    // The root compares ignoring case; an unknown root keeps the tree and names itself in the error.
    t->SetRoot(L"RFMYCOMPUTER");
    EXPECT_EQ(t->Root(), L"rfMyComputer");
    try {
        t->SetRoot(L"Q:\\nowhere");
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Error setting path: \"Q:\\nowhere\"");
    }
    EXPECT_EQ(t->Root(), L"rfMyComputer");
    ASSERT_NE(t->Items()->GetFirstNode(), nullptr);
    EXPECT_EQ(t->Items()->GetFirstNode()->Text(), L"My Computer");
}

TEST_F(ShellTreeTest, ARefusedFolderLeavesNoNode) {
    auto* t = Place(new TbsCustomShellTreeView(form_), 0, 0, 200, 300);
    std::vector<std::wstring> asked;
    t->OnAddFolder = [&](TObject*, TbsShellFolder* folder, bool& canAdd) {
        asked.push_back(folder->DisplayName());
        canAdd = folder->DisplayName() != L"Архив";
    };
    t->SetRoot(dir_.Path());
    t->HandleNeeded();
    TTreeNode* top = t->Items()->GetFirstNode();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(asked, (TNames{L"Архив", L"Письма"}));
    EXPECT_EQ(Children(top), (TNames{L"Письма"}));
    EXPECT_EQ(t->Items()->Count(), 2);
    EXPECT_EQ(TreeView_GetCount(t->Handle()), 2u);
    // Every node keeps its folder; the refused one left none behind.
    for (int i = 0; i < t->Items()->Count(); ++i)
        EXPECT_EQ(t->Folders(i), t->Items()->Item(i)->Data);
    EXPECT_EQ(t->Folders(2), nullptr);
}

TEST_F(ShellTreeTest, RefreshKeepsExpandedFoldersAndTheSelection) {
    TbsCustomShellTreeView* t = Tree(dir_.Path());
    t->SetPath(dir_.File(L"Письма\\Входящие"));
    ASSERT_EQ(t->Selected()->Text(), L"Входящие");
    t->Selected()->Expand(false);
    CreateDirectoryW(dir_.File(L"Новая").c_str(), nullptr);
    TTreeNode* oldTop = t->Items()->GetFirstNode();
    t->Refresh(oldTop);
    TTreeNode* top = t->Items()->GetFirstNode();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->GetNextSibling(), nullptr);
    EXPECT_EQ(Children(top), (TNames{L"Архив", L"Новая", L"Письма"}));
    TTreeNode* letters = Child(top, L"Письма");
    ASSERT_NE(letters, nullptr);
    EXPECT_TRUE(ShownExpanded(t, top));
    EXPECT_TRUE(ShownExpanded(t, letters));
    TTreeNode* inbox = Child(letters, L"Входящие");
    ASSERT_NE(inbox, nullptr);
    EXPECT_TRUE(ShownExpanded(t, inbox));
    EXPECT_EQ(Children(inbox), (TNames{L"Старые"}));
    EXPECT_EQ(t->Selected(), inbox);
    EXPECT_EQ(t->Path(), dir_.File(L"Письма\\Входящие"));
    // Each node's folder hangs under its parent's new folder.
    EXPECT_EQ(t->Selected()->Parent()->Data, static_cast<TbsShellFolder*>(t->Selected()->Data)->Parent());
}

TEST_F(ShellTreeTest, LinkedTreeListAndComboShowOneFolder) {
    auto* list = Place(new TbsSkinFileListView(form_), 210, 30, 400, 300);
    auto* combo = Place(new TbsSkinShellComboBox(form_), 210, 0, 400, 22);
    auto* t = Place(new TbsCustomShellTreeView(form_), 0, 0, 200, 400);
    int listMoves = 0;
    list->OnPathChanged = [&](TObject*) { ++listMoves; };
    list->HandleNeeded();
    combo->HandleNeeded();
    t->HandleNeeded();
    t->SetListView(list);
    t->SetComboBox(combo);
    EXPECT_EQ(list->ShellTreeView(), static_cast<IbsShellTreeLink*>(t));
    EXPECT_EQ(combo->ShellTreeView(), static_cast<IbsShellTreeLink*>(t));
    t->SetPath(dir_.Path());
    EXPECT_EQ(list->Path(), dir_.Path());
    EXPECT_EQ(combo->Path(), dir_.Path());

    // A node chosen in the tree (the control's own selection message) moves the list once and the box with it.
    TTreeNode* letters = Child(t->Selected(), L"Письма");
    ASSERT_NE(letters, nullptr);
    listMoves = 0;
    TreeView_SelectItem(t->Handle(), letters->ItemId());
    EXPECT_EQ(t->Selected(), letters);
    EXPECT_EQ(listMoves, 1);
    EXPECT_EQ(list->Path(), dir_.File(L"Письма"));
    EXPECT_EQ(combo->Path(), dir_.File(L"Письма"));

    // A folder opened in the list selects its node (filled on the way) and moves the box.
    ASSERT_EQ(list->FolderCount(), 1);
    list->SetItemIndex(0);
    SendMessageW(list->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(list->Path(), dir_.File(L"Письма\\Входящие"));
    ASSERT_NE(t->Selected(), nullptr);
    EXPECT_EQ(t->Selected()->Text(), L"Входящие");
    EXPECT_EQ(t->Path(), dir_.File(L"Письма\\Входящие"));
    EXPECT_EQ(combo->Path(), dir_.File(L"Письма\\Входящие"));

    // A folder chosen in the box moves the tree and the list once.
    listMoves = 0;
    const int target = [&] {
        for (int i = 0; i < combo->ItemExCount(); ++i)
            if (combo->ItemEx(i).Caption == L"Письма")
                return i;
        return -1;
    }();
    ASSERT_GE(target, 0);
    combo->SetItemIndex(target);
    EXPECT_EQ(listMoves, 1);
    EXPECT_EQ(t->Path(), dir_.File(L"Письма"));
    EXPECT_EQ(list->Path(), dir_.File(L"Письма"));

    // Unlinking is mutual.
    t->SetListView(nullptr);
    EXPECT_EQ(list->ShellTreeView(), nullptr);
}

TEST_F(ShellTreeTest, AutoRefreshShowsAFolderMadeUnderTheWatchedNode) {
    TbsCustomShellTreeView* t = Tree(dir_.Path());
    t->SetAutoRefresh(true);
    ASSERT_NE(t->Notifier(), nullptr);
    EXPECT_EQ(t->Notifier()->Root(), dir_.Path());
    ASSERT_TRUE(PumpUntil([&] { return t->Notifier()->Thread()->WatchedDirectory() == dir_.Path(); }, 5000));
    CreateDirectoryW(dir_.File(L"Пришло").c_str(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return Child(t->Items()->GetFirstNode(), L"Пришло") != nullptr; }, 5000));
    EXPECT_EQ(t->Path(), dir_.Path());
    // The watch follows the node the user selects.
    TTreeNode* letters = Child(t->Items()->GetFirstNode(), L"Письма");
    ASSERT_NE(letters, nullptr);
    TreeView_SelectItem(t->Handle(), letters->ItemId());
    ASSERT_NE(t->Notifier(), nullptr);
    EXPECT_EQ(t->Notifier()->Root(), dir_.File(L"Письма"));
    t->SetAutoRefresh(false);
    EXPECT_EQ(t->Notifier(), nullptr);
}

TEST_F(ShellTreeTest, RenameThroughTheVerbRenamesTheFolder) {
    TbsCustomShellTreeView* t = Tree(dir_.Path());
    t->SetPath(dir_.File(L"Архив"));
    bool handled = false;
    t->ExecuteCommand(L"ReNaMe", handled);
    EXPECT_TRUE(handled);
    HWND edit = TreeView_GetEditControl(t->Handle());
    ASSERT_NE(edit, nullptr);
    SetWindowTextW(edit, L"Архив 2026");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_NE(GetFileAttributesW(dir_.File(L"Архив 2026").c_str()), INVALID_FILE_ATTRIBUTES);
    // The parent is rebuilt once the edit has ended: the node carries the new name and folder.
    EXPECT_TRUE(PumpUntil([&] { return Child(t->Items()->GetFirstNode(), L"Архив 2026") != nullptr; }, 3000));
    TTreeNode* renamed = Child(t->Items()->GetFirstNode(), L"Архив 2026");
    ASSERT_NE(renamed, nullptr);
    EXPECT_EQ(static_cast<TbsShellFolder*>(renamed->Data)->PathName(), dir_.File(L"Архив 2026"));
    EXPECT_EQ(Child(t->Items()->GetFirstNode(), L"Архив"), nullptr);
}

TEST_F(ShellTreeTest, TheOpenVerbPutsTheCurrentFolderBackAndDeleteDropsTheNode) {
    TbsCustomShellTreeView* t = Tree(dir_.Path());
    t->SetPath(dir_.File(L"Письма\\Входящие"));
    wchar_t before[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    for (bool succeeded : {false, true}) {
        bool handled = false;
        t->ExecuteCommand(L"OPEN", handled);
        EXPECT_FALSE(handled);
        wchar_t during[MAX_PATH + 1] = {};
        GetCurrentDirectoryW(MAX_PATH, during);
        EXPECT_EQ(std::wstring(during), dir_.File(L"Письма"));
        t->CommandCompleted(L"open", succeeded);
        wchar_t after[MAX_PATH + 1] = {};
        GetCurrentDirectoryW(MAX_PATH, after);
        EXPECT_STREQ(after, before) << succeeded;
    }
    // A deleted folder's node goes, with its subtree; a failed delete keeps it.
    TTreeNode* inbox = t->Selected();
    inbox->Expand(false);
    t->CommandCompleted(L"delete", false);
    EXPECT_EQ(Child(inbox->Parent(), L"Входящие"), inbox);
    TTreeNode* letters = inbox->Parent();
    const int before_count = t->Items()->Count();
    t->CommandCompleted(L"Delete", true);
    EXPECT_EQ(Child(letters, L"Входящие"), nullptr);
    EXPECT_EQ(t->Items()->Count(), before_count - 2);
}

}  // namespace
