// Persistent base, event type, pointer and string lists, collections and streams.
// Index: TNotifyEvent, TPersistent, TList, TStrings, TStringList, TCollectionItem, TCollection, TOwnedCollection,
// TStream, TMemoryStream, TFileStream, TResourceStream.
// No windows.h: the file and resource streams keep their system handles as opaque values (closed by the stream).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/SysUtils.h"

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Base of objects that can copy their state from another object of a compatible class.
class TPersistent : public TObject {
  public:
    // Copies Source into this object. The default asks Source (AssignTo) and fails with EConvertError
    // "Cannot assign a <source class> to a <this class>".
    virtual void Assign(TPersistent* Source);
    // Class name without decoration, for messages ("TFont").
    std::wstring ClassName() const;
    virtual TPersistent* GetOwner() { return nullptr; }

  protected:
    virtual void AssignTo(TPersistent* Dest);
    [[noreturn]] void AssignError(TPersistent* Source);
};

// List index errors carry the message "List index out of bounds (%d)".
[[noreturn]] void RaiseListIndexError(int index);

// ---- TList: an ordered list of borrowed pointers ----------------------------------------------------------------
class TList : public TObject {
  public:
    int Count() const { return static_cast<int>(items_.size()); }
    void* Items(int index) const;
    void* operator[](int index) const { return Items(index); }
    void SetItem(int index, void* item);
    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    int Remove(void* item);  // index it had, -1 when absent
    void* Extract(void* item);
    int IndexOf(void* item) const;
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);
    void Clear() { items_.clear(); }
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }
    void Sort(const std::function<int(void*, void*)>& compare);
    void Pack();  // removes nil entries
    int Capacity() const { return static_cast<int>(items_.capacity()); }
    void SetCapacity(int capacity);

  private:
    void CheckIndex(int index) const;
    std::vector<void*> items_;
};

// ---- Strings ------------------------------------------------------------------------------------------------------
enum class TTextEncoding {
    Ansi,              // system ANSI code page, no byte-order mark
    UTF8,              // with the EF BB BF mark
    UTF8NoBOM,         // read/write UTF-8 without a mark
    Unicode,           // UTF-16LE with FF FE
    BigEndianUnicode,  // UTF-16BE with FE FF
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStream;

// Abstract list of strings each with an associated (borrowed) object.
class TStrings : public TPersistent {
  public:
    ~TStrings() override = default;

    // Core operations implemented by descendants.
    virtual int Count() const = 0;
    virtual std::wstring Get(int index) const = 0;
    virtual TObject* GetItemObject(int index) const = 0;
    virtual void Put(int index, const std::wstring& s);
    virtual void PutObject(int index, TObject* object) = 0;
    virtual void Insert(int index, const std::wstring& s) = 0;
    virtual void InsertObject(int index, const std::wstring& s, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int Add(const std::wstring& s);
    virtual int AddObject(const std::wstring& s, TObject* object);
    virtual int IndexOf(const std::wstring& s) const;  // CompareStrings equal, -1 when absent
    virtual void Exchange(int index1, int index2);

    std::wstring Strings(int index) const { return Get(index); }
    std::wstring operator[](int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetItemObject(index); }
    void Move(int curIndex, int newIndex);
    void Append(const std::wstring& s) { Add(s); }
    void AddStrings(const TStrings* strings);
    void Assign(TPersistent* Source) override;
    bool Equals(const TStrings* other) const;
    int IndexOfObject(TObject* object) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Lines joined with CR LF after each; setting splits at CR LF, LF or CR.
    std::wstring Text() const;
    virtual void SetText(const std::wstring& text);
    // Delimited form: each item quoted with QuoteChar when it holds a blank (unless StrictDelimiter), the
    // delimiter, the quote or a control character; items joined by Delimiter. Parsing splits at Delimiter and,
    // unless StrictDelimiter, at blanks too; quoted parts may contain anything, doubled quotes stand for one.
    std::wstring DelimitedText() const;
    void SetDelimitedText(const std::wstring& text);
    // DelimitedText with ',' and '"' (and StrictDelimiter off) regardless of the properties.
    std::wstring CommaText() const;
    void SetCommaText(const std::wstring& text);
    wchar_t Delimiter = L',';
    wchar_t QuoteChar = L'"';
    wchar_t NameValueSeparator = L'=';
    bool StrictDelimiter = false;

    // Name=Value access.
    std::wstring Names(int index) const;           // text before the first separator, "" when none
    std::wstring ValueFromIndex(int index) const;  // text after the first separator
    std::wstring Values(const std::wstring& name) const;
    // Sets the value of name (adds "name=value" when absent); an empty value deletes the entry.
    void SetValue(const std::wstring& name, const std::wstring& value);
    int IndexOfName(const std::wstring& name) const;  // CompareStrings on the name part

    // Reading detects a byte-order mark (UTF-8, UTF-16LE, UTF-16BE); text without one is read in the system ANSI
    // code page (or as UTF-8 when it is valid UTF-8 and DetectUTF8 is on). The detected encoding becomes
    // Encoding, which SaveToFile/SaveToStream use when no encoding is given.
    void LoadFromFile(const std::wstring& fileName);
    void LoadFromStream(TStream* stream);
    void LoadFromBytes(const void* data, size_t size);
    void SaveToFile(const std::wstring& fileName) const { SaveToFile(fileName, Encoding); }
    void SaveToFile(const std::wstring& fileName, TTextEncoding encoding) const;
    void SaveToStream(TStream* stream) const { SaveToStream(stream, Encoding); }
    void SaveToStream(TStream* stream, TTextEncoding encoding) const;
    std::string ToBytes(TTextEncoding encoding) const;
    TTextEncoding Encoding = TTextEncoding::Ansi;
    bool DetectUTF8 = false;

    // Comparison used by IndexOf, IndexOfName and sorting; descendants make it case-(in)sensitive.
    virtual int CompareStrings(const std::wstring& a, const std::wstring& b) const;

  protected:
    virtual void SetUpdateState(bool /*updating*/) {}
    int updateCount_ = 0;
};

class TStringList : public TStrings {
  public:
    TStringList() = default;
    explicit TStringList(bool ownsObjects) : OwnsObjects(ownsObjects) {}
    ~TStringList() override;

    int Count() const override { return static_cast<int>(items_.size()); }
    std::wstring Get(int index) const override;
    TObject* GetItemObject(int index) const override;
    void Put(int index, const std::wstring& s) override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const std::wstring& s) override { InsertObject(index, s, nullptr); }
    void InsertObject(int index, const std::wstring& s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::wstring& s) override { return AddObject(s, nullptr); }
    // In a sorted list the string goes to its sorted place; Duplicates decides about an equal string already
    // present: dupIgnore returns its index without adding, dupError fails with EStringListError
    // "String list does not allow duplicates".
    int AddObject(const std::wstring& s, TObject* object) override;
    int IndexOf(const std::wstring& s) const override;
    void Exchange(int index1, int index2) override;
    int CompareStrings(const std::wstring& a, const std::wstring& b) const override;

    // Binary search of a sorted list: true when found; index is the match (the first of equal strings) or the
    // place where s would be inserted. On an unsorted list the result means nothing (the search assumes order).
    bool Find(const std::wstring& s, int& index) const;
    virtual void Sort();
    // compare(list, index1, index2) < 0 when item index1 goes first. The sort is stable.
    void CustomSort(const std::function<int(TStringList*, int, int)>& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value);
    TDuplicates Duplicates = dupIgnore;
    bool OwnsObjects = false;  // when set the list deletes the objects of removed entries

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

  protected:
    void SetUpdateState(bool updating) override;
    virtual void Changed();
    virtual void Changing();

  private:
    struct Item {
        std::wstring s;
        TObject* object = nullptr;
    };
    void CheckIndex(int index) const;
    void InsertItem(int index, const std::wstring& s, TObject* object);
    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
};

// ---- Collections ------------------------------------------------------------------------------------------------
class TCollection;

// An item owned by its collection. Constructing it with a collection adds it there (the collection then owns
// it); deleting it removes it from its collection.
class TCollectionItem : public TPersistent {
  public:
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    TCollection* Collection() const { return collection_; }  // borrowed
    void SetCollection(TCollection* value);
    int Index() const;
    virtual void SetIndex(int value);
    int ID() const { return id_; }
    virtual std::wstring DisplayName() const;
    TPersistent* GetOwner() override;

  protected:
    // Tells the collection that this item (AllItems false) or everything (true) changed.
    void Changed(bool allItems);

  private:
    friend class TCollection;
    TCollection* collection_ = nullptr;  // borrowed: the owner
    int id_ = 0;
};

class TCollection : public TPersistent {
  public:
    using ItemFactory = std::function<TCollectionItem*(TCollection*)>;
    // The factory makes a new item for Add/Insert (it must pass the collection to the item's constructor).
    explicit TCollection(ItemFactory factory = nullptr);
    ~TCollection() override;

    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;  // EListError "List index out of bounds (%d)"
    TCollectionItem* operator[](int index) const { return Items(index); }
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;
    void Assign(TPersistent* Source) override;  // clears and copies each item through the item's Assign
    void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return updateCount_; }

  protected:
    // Virtual constructor of items (the item class); the default calls the factory.
    virtual TCollectionItem* CreateItem();
    enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };
    virtual void Notify(TCollectionItem* item, TCollectionNotification action);
    // Called after changes (item nil = the whole collection) when not inside BeginUpdate/EndUpdate.
    virtual void Update(TCollectionItem* item);
    void Changed();

  private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    ItemFactory factory_;
    std::vector<TCollectionItem*> items_;  // owned
    int nextId_ = 0;
    int updateCount_ = 0;
};

class TOwnedCollection : public TCollection {
  public:
    TOwnedCollection(TPersistent* owner, ItemFactory factory) : TCollection(std::move(factory)), owner_(owner) {}
    TPersistent* GetOwner() override { return owner_; }

  private:
    TPersistent* owner_;  // borrowed
};

// ---- Streams ------------------------------------------------------------------------------------------------------
enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
  public:
    // Read/Write move up to count bytes and return how many moved.
    virtual std::int32_t Read(void* buffer, std::int32_t count) = 0;
    virtual std::int32_t Write(const void* buffer, std::int32_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual void SetSize(std::int64_t newSize);
    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t pos) { Seek(pos, soBeginning); }
    virtual std::int64_t Size();
    // The whole count or EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* buffer, std::int32_t count);
    void WriteBuffer(const void* buffer, std::int32_t count);
    // Copies count bytes (0 = the whole source from its start); returns the count copied.
    std::int64_t CopyFrom(TStream* source, std::int64_t count);
    // Reads everything from the current position to the end.
    std::string ReadAll();
};

class TMemoryStream : public TStream {
  public:
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
    void* Memory() { return data_.data(); }
    const void* Memory() const { return data_.data(); }
    void Clear();
    void LoadFromStream(TStream* stream);
    void LoadFromFile(const std::wstring& fileName);
    void SaveToStream(TStream* stream);
    void SaveToFile(const std::wstring& fileName);

  private:
    std::vector<std::uint8_t> data_;
    std::int64_t position_ = 0;
};

// File open modes: one of the access modes, or fmCreate, combined with one sharing mode.
constexpr std::uint32_t fmCreate = 0xFF00;
constexpr std::uint32_t fmOpenRead = 0x0000;
constexpr std::uint32_t fmOpenWrite = 0x0001;
constexpr std::uint32_t fmOpenReadWrite = 0x0002;
constexpr std::uint32_t fmShareCompat = 0x0000;
constexpr std::uint32_t fmShareExclusive = 0x0010;
constexpr std::uint32_t fmShareDenyWrite = 0x0020;
constexpr std::uint32_t fmShareDenyRead = 0x0030;
constexpr std::uint32_t fmShareDenyNone = 0x0040;

// A stream over a file it owns (closed by the destructor). Failures: EFCreateError
// "Cannot create file \"%s\". <system text>", EFOpenError "Cannot open file \"%s\". <system text>".
class TFileStream : public TStream {
  public:
    TFileStream(const std::wstring& fileName, std::uint32_t mode);
    ~TFileStream() override;
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;
    const std::wstring& FileName() const { return fileName_; }

  private:
    void* handle_;  // the file HANDLE, owned
    std::wstring fileName_;
};

// Read-only view of a resource of a module. A missing resource fails with EResNotFound
// "Resource %s not found". `module` is an HMODULE (nullptr = the program), name and type as for FindResourceW.
TRELM_DECLARE_EXCEPTION(EResNotFound, Exception);
class TResourceStream : public TStream {
  public:
    TResourceStream(void* module, const wchar_t* name, const wchar_t* type);
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;  // EStreamError: read-only
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return size_; }
    const void* Memory() const { return data_; }

  private:
    const std::uint8_t* data_ = nullptr;  // borrowed: lives as long as the module is loaded
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
};

// Saves data to fileName safely: writes a temporary file next to it and replaces the target only after the
// whole write succeeded, so a failed save leaves the previous file intact. Throws EFCreateError/EWriteError.
void SaveBytesToFileSafely(const std::wstring& fileName, const void* data, size_t size);
// Reads a whole file; EFOpenError/EReadError.
std::string LoadBytesFromFile(const std::wstring& fileName);
