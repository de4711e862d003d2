// Streams, collections, persistent assignment and the registry wrapper.
#include <gtest/gtest.h>

#include "SupportTestUtil.h"
#include "classlib/Classes.h"
#include "classlib/GdiHandles.h"
#include "classlib/Registry.h"

namespace {

TEST(SupportStreams, MemoryStreamReadsWritesAndSeeks) {
    TMemoryStream m;
    m.WriteBuffer("hello", 5);
    EXPECT_EQ(m.Size(), 5);
    m.SetPosition(3);
    m.WriteBuffer("LOWORLD", 7);  // overwrite and grow
    EXPECT_EQ(m.Size(), 10);
    m.SetPosition(0);
    EXPECT_EQ(m.ReadAll(), "helLOWORLD");
    char buf[4];
    EXPECT_EQ(m.Read(buf, 4), 0);  // at the end
    EXPECT_THROW(m.ReadBuffer(buf, 1), EReadError);
    m.Seek(-2, soEnd);
    EXPECT_EQ(m.Read(buf, 4), 2);
    m.SetSize(3);
    EXPECT_EQ(m.Position(), 3);
    TMemoryStream copy;
    EXPECT_EQ(copy.CopyFrom(&m, 0), 3);
    EXPECT_EQ(std::string(static_cast<const char*>(copy.Memory()), 3), "hel");
}

TEST(SupportStreams, FileStreamModesAndErrors) {
    TTempDir dir;
    std::wstring file = dir.File(L"data.bin");
    long kernelBefore = LiveHandleCount(THandleKind::Kernel);
    {
        TFileStream f(file, fmCreate);
        f.WriteBuffer("abcdef", 6);
        f.SetSize(4);
        EXPECT_EQ(f.Size(), 4);
        EXPECT_EQ(LiveHandleCount(THandleKind::Kernel), kernelBefore + 1);
    }
    EXPECT_EQ(LiveHandleCount(THandleKind::Kernel), kernelBefore);
    {
        TFileStream f(file, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(f.ReadAll(), "abcd");
        EXPECT_EQ(f.Write("x", 1), 0);  // read-only
        // Another writer is refused while we deny writing.
        EXPECT_THROW(TFileStream(file, fmOpenWrite | fmShareDenyNone), EFOpenError);
    }
    {
        TFileStream f(file, fmOpenReadWrite);
        f.Seek(0, soEnd);
        f.WriteBuffer("Z", 1);
    }
    EXPECT_EQ(ReadFileString(file), "abcdZ");
    try {
        TFileStream f(dir.File(L"missing.bin"), fmOpenRead);
        ADD_FAILURE();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind(L"Cannot open file \"" + dir.File(L"missing.bin") + L"\". ", 0), 0u);
    }
    EXPECT_THROW(TFileStream(dir.File(L"no\\dir\\x.bin"), fmCreate), EFCreateError);
}

TEST(SupportStreams, ResourceStreamReportsMissingResources) {
    try {
        TResourceStream r(nullptr, L"NO_SUCH_RESOURCE", MAKEINTRESOURCEW(10));
        ADD_FAILURE();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), L"Resource NO_SUCH_RESOURCE not found");
    }
}

class NamedItem : public TCollectionItem {
  public:
    using TCollectionItem::TCollectionItem;
    std::wstring Name;
    void Assign(TPersistent* Source) override {
        if (auto* o = dynamic_cast<NamedItem*>(Source)) {
            Name = o->Name;
            return;
        }
        TCollectionItem::Assign(Source);
    }
};

class CountingCollection : public TCollection {
  public:
    CountingCollection() : TCollection([](TCollection* c) { return new NamedItem(c); }) {}
    int updates = 0;

  protected:
    void Update(TCollectionItem*) override { ++updates; }
};

TEST(SupportStreams, CollectionOwnsOrdersAndCopiesItems) {
    CountingCollection c;
    auto* a = static_cast<NamedItem*>(c.Add());
    a->Name = L"a";
    auto* b = static_cast<NamedItem*>(c.Add());
    b->Name = L"b";
    auto* z = static_cast<NamedItem*>(c.Insert(0));
    z->Name = L"z";
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(z->Index(), 0);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_NE(a->ID(), b->ID());
    EXPECT_EQ(c.FindItemID(b->ID()), b);
    b->SetIndex(0);
    EXPECT_EQ(c.Items(0), b);
    delete a;  // an item removes itself from its collection
    EXPECT_EQ(c.Count(), 2);
    EXPECT_THROW(c.Items(2), EListError);

    CountingCollection copy;
    copy.Assign(&c);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(static_cast<NamedItem*>(copy.Items(0))->Name, L"b");
    EXPECT_EQ(static_cast<NamedItem*>(copy.Items(1))->Name, L"z");
    int before = c.updates;
    c.BeginUpdate();
    c.Add();
    c.Delete(0);
    EXPECT_EQ(c.updates, before);
    c.EndUpdate();
    EXPECT_EQ(c.updates, before + 1);
}

TEST(SupportStreams, AssignBetweenUnrelatedClassesFails) {
    TStringList list;
    CountingCollection c;
    try {
        list.Assign(&c);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"Cannot assign a CountingCollection to a TStringList");
    }
}

TEST(SupportStreams, RegistryRoundTrip) {
    const std::wstring base = L"\\Software\\TrelmClasslibTest" + std::to_wstring(::GetCurrentProcessId());
    long before = LiveHandleCount(THandleKind::RegKey);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(base + L"\\Inner", true));
        EXPECT_EQ(reg.CurrentPath(), base.substr(1) + L"\\Inner");
        reg.WriteString(L"Name", L"Trelm \u041f");
        reg.WriteInteger(L"Count", -5);
        reg.WriteBool(L"On", true);
        EXPECT_EQ(reg.ReadString(L"Name"), L"Trelm \u041f");
        EXPECT_EQ(reg.ReadInteger(L"Count"), -5);
        EXPECT_TRUE(reg.ReadBool(L"On"));
        EXPECT_TRUE(reg.ValueExists(L"Count"));
        EXPECT_FALSE(reg.ValueExists(L"Nope"));
        EXPECT_EQ(reg.ReadString(L"Nope"), L"");
        try {
            reg.ReadInteger(L"Name");
            ADD_FAILURE();
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message(), L"Invalid data type for 'Name'");
        }
        EXPECT_THROW(reg.ReadInteger(L"Nope"), ERegistryException);
        // Relative to the current key.
        ASSERT_TRUE(reg.OpenKey(L"Deeper", true));
        EXPECT_EQ(reg.CurrentPath(), base.substr(1) + L"\\Inner\\Deeper");
        reg.CloseKey();
        EXPECT_TRUE(reg.KeyExists(base + L"\\Inner\\Deeper"));
        ASSERT_TRUE(reg.OpenKeyReadOnly(base + L"\\Inner"));
        TStringList names;
        reg.GetValueNames(&names);
        names.SetSorted(true);
        EXPECT_EQ(names.CommaText(), L"Count,Name,On");
        EXPECT_THROW(reg.WriteString(L"x", L"y"), ERegistryException);
        reg.CloseKey();
        EXPECT_FALSE(reg.OpenKey(base + L"\\Absent", false));
        EXPECT_TRUE(reg.DeleteKey(base));  // with its subkeys
        EXPECT_FALSE(reg.KeyExists(base));
    }
    EXPECT_EQ(LiveHandleCount(THandleKind::RegKey), before);
}

}  // namespace
