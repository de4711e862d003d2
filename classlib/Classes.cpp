// TPersistent, TList, TStrings/TStringList, TCollection and the memory stream. Pure code: the file and resource
// streams are in ClassesWin.cpp.
#include "classlib/Classes.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <typeinfo>

#include "classlib/WithUpdate_p.h"

// ---- TPersistent -----------------------------------------------------------------------------------------------
std::wstring TPersistent::ClassName() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = (status == 0 && demangled) ? demangled : mangled;
    std::free(demangled);
    size_t colon = name.rfind("::");
    if (colon != std::string::npos)
        name = name.substr(colon + 2);
    return Utf8ToWide(name);
}

void TPersistent::Assign(TPersistent* Source) {
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) {
    Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* Source) {
    std::wstring sourceName = Source ? Source->ClassName() : L"nil";
    throw EConvertError(Format(L"Cannot assign a %s to a %s", sourceName, ClassName()));
}

void RaiseListIndexError(int index) {
    throw EListError(Format(L"List index out of bounds (%d)", index));
}

// ---- TList ------------------------------------------------------------------------------------------------------
void TList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        RaiseListIndexError(index);
}

void* TList::Items(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)];
}

void TList::SetItem(int index, void* item) {
    CheckIndex(index);
    items_[static_cast<size_t>(index)] = item;
}

int TList::Add(void* item) {
    items_.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item) {
    if (index < 0 || index > Count())
        RaiseListIndexError(index);
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

int TList::Remove(void* item) {
    int i = IndexOf(item);
    if (i >= 0)
        Delete(i);
    return i;
}

void* TList::Extract(void* item) {
    return Remove(item) >= 0 ? item : nullptr;
}

int TList::IndexOf(void* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

void TList::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    void* item = items_[static_cast<size_t>(curIndex)];
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, item);
}

void TList::Sort(const std::function<int(void*, void*)>& compare) {
    std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::Pack() {
    items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
}

void TList::SetCapacity(int capacity) {
    if (capacity < Count())
        throw EListError(Format(L"List capacity out of bounds (%d)", capacity));
    items_.reserve(static_cast<size_t>(capacity));
}

// ---- TStrings ---------------------------------------------------------------------------------------------------
void TStrings::Put(int index, const std::wstring& s) {
    TObject* o = GetItemObject(index);
    Delete(index);
    InsertObject(index, s, o);
}

void TStrings::InsertObject(int index, const std::wstring& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

int TStrings::Add(const std::wstring& s) {
    int i = Count();
    Insert(i, s);
    return i;
}

int TStrings::AddObject(const std::wstring& s, TObject* object) {
    int i = Add(s);
    PutObject(i, object);
    return i;
}

int TStrings::CompareStrings(const std::wstring& a, const std::wstring& b) const {
    return AnsiCompareText(a, b);
}

int TStrings::IndexOf(const std::wstring& s) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), s) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfObject(TObject* object) const {
    for (int i = 0; i < Count(); ++i)
        if (GetItemObject(i) == object)
            return i;
    return -1;
}

void TStrings::Exchange(int index1, int index2) {
    std::wstring s1 = Get(index1), s2 = Get(index2);
    TObject* o1 = GetItemObject(index1);
    TObject* o2 = GetItemObject(index2);
    Put(index1, s2);
    PutObject(index1, o2);
    Put(index2, s1);
    PutObject(index2, o1);
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex)
        return;
    std::wstring s = Get(curIndex);
    TObject* o = GetItemObject(curIndex);
    WithUpdate(*this, [&] {
        Delete(curIndex);
        InsertObject(newIndex, s, o);
    });
}

void TStrings::AddStrings(const TStrings* strings) {
    if (!strings)
        return;
    WithUpdate(*this, [&] {
        for (int i = 0; i < strings->Count(); ++i)
            AddObject(strings->Get(i), strings->GetItemObject(i));
    });
}

void TStrings::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TStrings*>(Source)) {
        if (src == this)
            return;
        WithUpdate(*this, [&] {
            Clear();
            Delimiter = src->Delimiter;
            QuoteChar = src->QuoteChar;
            NameValueSeparator = src->NameValueSeparator;
            StrictDelimiter = src->StrictDelimiter;
            AddStrings(src);
        });
        return;
    }
    TPersistent::Assign(Source);
}

bool TStrings::Equals(const TStrings* other) const {
    if (!other || other->Count() != Count())
        return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other->Get(i))
            return false;
    return true;
}

void TStrings::BeginUpdate() {
    if (updateCount_++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0)
        SetUpdateState(false);
}

std::wstring TStrings::Text() const {
    std::wstring out;
    for (int i = 0; i < Count(); ++i) {
        out += Get(i);
        out += L"\r\n";
    }
    return out;
}

void TStrings::SetText(const std::wstring& text) {
    WithUpdate(*this, [&] {
        Clear();
        size_t i = 0;
        while (i < text.size()) {
            size_t start = i;
            while (i < text.size() && text[i] != L'\r' && text[i] != L'\n')
                ++i;
            Add(text.substr(start, i - start));
            if (i < text.size() && text[i] == L'\r')
                ++i;
            if (i < text.size() && text[i] == L'\n')
                ++i;
        }
    });
}

namespace {

std::wstring JoinDelimited(const TStrings& list, wchar_t delimiter, wchar_t quote, bool strict) {
    if (list.Count() == 1 && list.Get(0).empty())
        return std::wstring(2, quote);
    std::wstring out;
    for (int i = 0; i < list.Count(); ++i) {
        std::wstring s = list.Get(i);
        bool needQuote = false;
        for (wchar_t c : s)
            if (c == quote || c == delimiter || (c < L' ' && c != 0) || (!strict && c == L' ')) {
                needQuote = true;
                break;
            }
        if (i > 0)
            out += delimiter;
        out += needQuote ? QuotedStr(s, quote) : s;
    }
    return out;
}

void SplitDelimited(TStrings& list, const std::wstring& whole, wchar_t delimiter, wchar_t quote, bool strict) {
    // The text ends at its first NUL, as every C string given to Windows does (and JoinDelimited never quotes one).
    // Read on, a NUL is neither a blank nor part of an item, and the loop below would add empty items for ever.
    const std::wstring text = whole.substr(0, whole.find(L'\0'));
    WithUpdate(list, [&] {
        list.Clear();
        size_t i = 0;
        auto skipBlanks = [&] {
            if (!strict)
                while (i < text.size() && text[i] > 0 && text[i] <= L' ')
                    ++i;
        };
        skipBlanks();
        while (i < text.size()) {
            std::wstring item;
            if (text[i] == quote) {
                item = ExtractQuotedStr(text, i, quote);
                // Text right after the closing quote belongs to the same item up to the next delimiter.
                while (i < text.size() && text[i] != delimiter && (strict || text[i] > L' '))
                    item += text[i++];
            } else {
                while (i < text.size() && text[i] != delimiter && (strict || text[i] > L' '))
                    item += text[i++];
            }
            list.Add(item);
            skipBlanks();
            if (i < text.size() && text[i] == delimiter) {
                ++i;
                skipBlanks();
                if (i >= text.size())
                    list.Add(L"");  // a trailing delimiter ends an empty last item
            }
        }
    });
}

}  // namespace

std::wstring TStrings::DelimitedText() const {
    return JoinDelimited(*this, Delimiter, QuoteChar, StrictDelimiter);
}

void TStrings::SetDelimitedText(const std::wstring& text) {
    SplitDelimited(*this, text, Delimiter, QuoteChar, StrictDelimiter);
}

std::wstring TStrings::CommaText() const {
    return JoinDelimited(*this, L',', L'"', false);
}

void TStrings::SetCommaText(const std::wstring& text) {
    SplitDelimited(*this, text, L',', L'"', false);
}

std::wstring TStrings::Names(int index) const {
    std::wstring s = Get(index);
    size_t p = s.find(NameValueSeparator);
    return p == std::wstring::npos ? std::wstring() : s.substr(0, p);
}

std::wstring TStrings::ValueFromIndex(int index) const {
    std::wstring s = Get(index);
    size_t p = s.find(NameValueSeparator);
    return p == std::wstring::npos ? std::wstring() : s.substr(p + 1);
}

int TStrings::IndexOfName(const std::wstring& name) const {
    for (int i = 0; i < Count(); ++i) {
        std::wstring s = Get(i);
        size_t p = s.find(NameValueSeparator);
        if (p != std::wstring::npos && CompareStrings(s.substr(0, p), name) == 0)
            return i;
    }
    return -1;
}

std::wstring TStrings::Values(const std::wstring& name) const {
    int i = IndexOfName(name);
    return i >= 0 ? ValueFromIndex(i) : std::wstring();
}

void TStrings::SetValue(const std::wstring& name, const std::wstring& value) {
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0)
            Delete(i);
        return;
    }
    std::wstring line = name + NameValueSeparator + value;
    if (i < 0)
        Add(line);
    else
        Put(i, line);
}

// ---- Text encodings ----
namespace {

std::wstring DecodeUtf16(const unsigned char* p, size_t n, bool bigEndian) {
    std::wstring out;
    out.reserve(n / 2);
    for (size_t i = 0; i + 1 < n; i += 2)
        out += static_cast<wchar_t>(bigEndian ? (p[i] << 8) | p[i + 1] : p[i] | (p[i + 1] << 8));
    return out;  // an odd trailing byte is dropped: half a character cannot be shown
}

}  // namespace

void TStrings::LoadFromBytes(const void* data, size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    std::wstring text;
    TTextEncoding enc;
    if (size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        enc = TTextEncoding::UTF8;
        text = Utf8ToWide(std::string_view(reinterpret_cast<const char*>(p + 3), size - 3));
    } else if (size >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        enc = TTextEncoding::Unicode;
        text = DecodeUtf16(p + 2, size - 2, false);
    } else if (size >= 2 && p[0] == 0xFE && p[1] == 0xFF) {
        enc = TTextEncoding::BigEndianUnicode;
        text = DecodeUtf16(p + 2, size - 2, true);
    } else if (DetectUTF8 && IsValidUtf8(std::string_view(reinterpret_cast<const char*>(p), size))) {
        enc = TTextEncoding::UTF8NoBOM;
        text = Utf8ToWide(std::string_view(reinterpret_cast<const char*>(p), size));
    } else {
        enc = TTextEncoding::Ansi;
        text = AnsiToWide(std::string_view(reinterpret_cast<const char*>(p), size));
    }
    SetText(text);
    Encoding = enc;
}

void TStrings::LoadFromStream(TStream* stream) {
    std::string bytes = stream->ReadAll();
    LoadFromBytes(bytes.data(), bytes.size());
}

void TStrings::LoadFromFile(const std::wstring& fileName) {
    std::string bytes = LoadBytesFromFile(fileName);
    LoadFromBytes(bytes.data(), bytes.size());
}

std::string TStrings::ToBytes(TTextEncoding encoding) const {
    std::wstring text = Text();
    std::string out;
    switch (encoding) {
        case TTextEncoding::Ansi:
            return WideToAnsi(text);
        case TTextEncoding::UTF8:
            return "\xEF\xBB\xBF" + WideToUtf8(text);
        case TTextEncoding::UTF8NoBOM:
            return WideToUtf8(text);
        case TTextEncoding::Unicode:
        case TTextEncoding::BigEndianUnicode: {
            bool be = encoding == TTextEncoding::BigEndianUnicode;
            out.reserve(2 + text.size() * 2);
            out += be ? "\xFE\xFF" : "\xFF\xFE";
            for (wchar_t c : text) {
                char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>((c >> 8) & 0xFF);
                out += be ? hi : lo;
                out += be ? lo : hi;
            }
            return out;
        }
    }
    return out;
}

void TStrings::SaveToStream(TStream* stream, TTextEncoding encoding) const {
    std::string bytes = ToBytes(encoding);
    size_t done = 0;
    while (done < bytes.size()) {
        size_t chunk = std::min<size_t>(bytes.size() - done, 1u << 30);
        stream->WriteBuffer(bytes.data() + done, static_cast<std::int32_t>(chunk));
        done += chunk;
    }
}

void TStrings::SaveToFile(const std::wstring& fileName, TTextEncoding encoding) const {
    std::string bytes = ToBytes(encoding);
    SaveBytesToFileSafely(fileName, bytes.data(), bytes.size());
}

// ---- TStringList ------------------------------------------------------------------------------------------------
TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
    if (OwnsObjects)
        for (auto& item : items_)
            delete item.object;
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        RaiseListIndexError(index);
}

std::wstring TStringList::Get(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].s;
}

TObject* TStringList::GetItemObject(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].object;
}

void TStringList::Put(int index, const std::wstring& s) {
    if (sorted_)
        throw EStringListError(L"Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].s = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    Changing();
    Item& item = items_[static_cast<size_t>(index)];
    if (OwnsObjects && item.object != object)
        delete item.object;
    item.object = object;
    Changed();
}

void TStringList::InsertItem(int index, const std::wstring& s, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, Item{s, object});
    Changed();
}

void TStringList::InsertObject(int index, const std::wstring& s, TObject* object) {
    if (sorted_)
        throw EStringListError(L"Operation not allowed on sorted list");
    if (index < 0 || index > Count())
        RaiseListIndexError(index);
    InsertItem(index, s, object);
}

int TStringList::AddObject(const std::wstring& s, TObject* object) {
    int index;
    if (!sorted_) {
        index = Count();
    } else if (Find(s, index)) {
        switch (Duplicates) {
            case dupIgnore:
                return index;
            case dupError:
                throw EStringListError(L"String list does not allow duplicates");
            case dupAccept:
                // After the equal strings, so that equal entries keep the order in which they came.
                while (index < Count() && CompareStrings(items_[static_cast<size_t>(index)].s, s) == 0)
                    ++index;
                break;
        }
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    TObject* o = items_[static_cast<size_t>(index)].object;
    items_.erase(items_.begin() + index);
    if (OwnsObjects)
        delete o;
    Changed();
}

void TStringList::Clear() {
    if (items_.empty())
        return;
    Changing();
    std::vector<Item> old;
    old.swap(items_);
    if (OwnsObjects)
        for (auto& item : old)
            delete item.object;
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
    Changed();
}

int TStringList::CompareStrings(const std::wstring& a, const std::wstring& b) const {
    return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

bool TStringList::Find(const std::wstring& s, int& index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = CompareStrings(items_[static_cast<size_t>(mid)].s, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0)
                found = true;  // keep searching left for the first equal string
        }
    }
    index = lo;
    return found;
}

int TStringList::IndexOf(const std::wstring& s) const {
    if (!sorted_)
        return TStrings::IndexOf(s);
    int i;
    return Find(s, i) ? i : -1;
}

void TStringList::Sort() {
    CustomSort([](TStringList* list, int a, int b) { return list->CompareStrings(list->Get(a), list->Get(b)); });
}

void TStringList::CustomSort(const std::function<int(TStringList*, int, int)>& compare) {
    if (Count() < 2)
        return;
    Changing();
    // Sort an index permutation: the comparer receives the list and two indexes and looks the items up itself.
    std::vector<int> order(items_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order)
        sorted.push_back(std::move(items_[static_cast<size_t>(i)]));
    items_.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool value) {
    if (sorted_ == value)
        return;
    if (value)
        Sort();
    sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
    if (caseSensitive_ == value)
        return;
    caseSensitive_ = value;
    if (sorted_)
        Sort();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing() {
    if (updateCount_ == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::Changed() {
    if (updateCount_ == 0 && OnChange)
        OnChange(this);
}

// ---- Collections ------------------------------------------------------------------------------------------------
TCollectionItem::TCollectionItem(TCollection* collection) {
    SetCollection(collection);
}

TCollectionItem::~TCollectionItem() {
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* value) {
    if (collection_ == value)
        return;
    if (collection_)
        collection_->RemoveItem(this);
    if (value)
        value->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!collection_)
        return -1;
    const auto& v = collection_->items_;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

void TCollectionItem::SetIndex(int value) {
    int cur = Index();
    if (cur < 0 || value == cur)
        return;
    auto& v = collection_->items_;
    if (value < 0 || value >= static_cast<int>(v.size()))
        RaiseListIndexError(value);
    v.erase(v.begin() + cur);
    v.insert(v.begin() + value, this);
    Changed(true);
}

std::wstring TCollectionItem::DisplayName() const {
    return ClassName();
}

TPersistent* TCollectionItem::GetOwner() {
    return collection_;
}

void TCollectionItem::Changed(bool allItems) {
    if (collection_ && collection_->updateCount_ == 0)
        collection_->Update(allItems ? nullptr : this);
}

TCollection::TCollection(ItemFactory factory) : factory_(std::move(factory)) {}

TCollection::~TCollection() {
    updateCount_ = 1;  // no notifications to a half-destroyed owner
    while (!items_.empty())
        delete items_.back();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count())
        RaiseListIndexError(index);
    return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::CreateItem() {
    if (!factory_)
        throw EInvalidOperation(L"Collection has no item class");
    return factory_(this);
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = CreateItem();
    if (item->Collection() != this)  // a factory that did not pass the collection
        item->SetCollection(this);
    Changed();
    return item;
}

TCollectionItem* TCollection::Insert(int index) {
    if (index < 0 || index > Count())
        RaiseListIndexError(index);
    TCollectionItem* item = nullptr;
    WithUpdate(*this, [&] {
        item = Add();
        item->SetIndex(index);
    });
    return item;
}

void TCollection::Delete(int index) {
    Notify(Items(index), TCollectionNotification::cnDeleting);
    delete Items(index);
}

void TCollection::Clear() {
    if (items_.empty())
        return;
    WithUpdate(*this, [&] {
        while (!items_.empty())
            delete items_.back();
    });
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (auto* item : items_)
        if (item->id_ == id)
            return item;
    return nullptr;
}

void TCollection::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TCollection*>(Source)) {
        if (src == this)
            return;
        WithUpdate(*this, [&] {
            Clear();
            for (int i = 0; i < src->Count(); ++i)
                Add()->Assign(src->Items(i));
        });
        return;
    }
    TPersistent::Assign(Source);
}

void TCollection::BeginUpdate() {
    ++updateCount_;
}

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed();
}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Changed() {
    if (updateCount_ == 0)
        Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item) {
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    Notify(item, TCollectionNotification::cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    Notify(item, TCollectionNotification::cnExtracting);
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it != items_.end())
        items_.erase(it);
    item->collection_ = nullptr;
    Changed();
}

// ---- TStream ------------------------------------------------------------------------------------------------------
void TStream::SetSize(std::int64_t) {
    throw EStreamError(L"Stream size cannot be changed");
}

std::int64_t TStream::Size() {
    std::int64_t pos = Seek(0, soCurrent);
    std::int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::int32_t count) {
    if (count < 0 || (count > 0 && Read(buffer, count) != count))
        throw EReadError(L"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int32_t count) {
    if (count < 0 || (count > 0 && Write(buffer, count) != count))
        throw EWriteError(L"Stream write error");
}

std::int64_t TStream::CopyFrom(TStream* source, std::int64_t count) {
    if (count == 0) {
        source->SetPosition(0);
        count = source->Size();
    }
    std::int64_t done = 0;
    std::vector<std::uint8_t> buf(64 * 1024);
    while (done < count) {
        std::int32_t n = static_cast<std::int32_t>(std::min<std::int64_t>(count - done, 64 * 1024));
        source->ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        done += n;
    }
    return done;
}

std::string TStream::ReadAll() {
    std::string out;
    std::int64_t remaining = Size() - Position();
    if (remaining > 0x7FFFFFFF)
        throw EOutOfMemory(L"Out of memory");
    if (remaining > 0) {
        out.resize(static_cast<size_t>(remaining));
        std::int32_t n = Read(out.data(), static_cast<std::int32_t>(remaining));
        out.resize(static_cast<size_t>(std::max(n, 0)));
    }
    // Streams whose size is unknown or changes: read on until the end.
    char buf[4096];
    for (;;) {
        std::int32_t n = Read(buf, sizeof buf);
        if (n <= 0)
            break;
        out.append(buf, static_cast<size_t>(n));
    }
    return out;
}

// ---- TMemoryStream --------------------------------------------------------------------------------------------
std::int32_t TMemoryStream::Read(void* buffer, std::int32_t count) {
    if (count <= 0 || position_ >= Size())
        return 0;
    std::int64_t n = std::min<std::int64_t>(count, Size() - position_);
    std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return static_cast<std::int32_t>(n);
}

std::int32_t TMemoryStream::Write(const void* buffer, std::int32_t count) {
    if (count <= 0)
        return 0;
    std::int64_t end = position_ + count;
    if (end > Size())
        data_.resize(static_cast<size_t>(end));
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : Size();
    std::int64_t pos = base + offset;
    position_ = pos < 0 ? 0 : pos;
    return position_;
}

void TMemoryStream::SetSize(std::int64_t newSize) {
    if (newSize < 0)
        newSize = 0;
    data_.resize(static_cast<size_t>(newSize));
    if (position_ > newSize)
        position_ = newSize;
}

void TMemoryStream::Clear() {
    data_.clear();
    data_.shrink_to_fit();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream) {
    stream->SetPosition(0);
    std::string bytes = stream->ReadAll();
    data_.assign(bytes.begin(), bytes.end());
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::wstring& fileName) {
    std::string bytes = LoadBytesFromFile(fileName);
    data_.assign(bytes.begin(), bytes.end());
    position_ = 0;
}

void TMemoryStream::SaveToStream(TStream* stream) {
    if (!data_.empty())
        stream->WriteBuffer(data_.data(), static_cast<std::int32_t>(data_.size()));
}

void TMemoryStream::SaveToFile(const std::wstring& fileName) {
    SaveBytesToFileSafely(fileName, data_.data(), data_.size());
}
