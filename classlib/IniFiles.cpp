// TCustomIniFile helpers and the in-memory ini parser. Pure code.
#include "classlib/IniFiles.h"

#include "classlib/WithUpdate_p.h"

namespace {
// Keys and section names are nearly always ASCII (a skin's load folds thousands): those are folded here, the rest
// through the system's case tables.
std::wstring Fold(const std::wstring& s) {
    std::wstring r = s;
    for (wchar_t& c : r) {
        if (c >= 0x80)
            return AnsiUpperCase(s);
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - (L'a' - L'A'));
    }
    return r;
}
// Narrows [b, e) of s to leave out blanks (characters <= ' ') at both ends, as Trim does.
void TrimBounds(const std::wstring& s, size_t& b, size_t& e) {
    while (b < e && s[b] <= L' ')
        ++b;
    while (e > b && s[e - 1] <= L' ')
        --e;
}

std::wstring TrimmedPart(const std::wstring& s, size_t b, size_t e) {
    TrimBounds(s, b, e);
    return s.substr(b, e - b);
}
}  // namespace

// ---- TCustomIniFile ---------------------------------------------------------------------------------------------
int TCustomIniFile::ReadInteger(const std::wstring& section, const std::wstring& ident, int defaultValue) {
    return StrToIntDef(Trim(ReadString(section, ident, L"")), defaultValue);
}

void TCustomIniFile::WriteInteger(const std::wstring& section, const std::wstring& ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const std::wstring& section, const std::wstring& ident, bool defaultValue) {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::wstring& section, const std::wstring& ident, bool value) {
    WriteString(section, ident, value ? L"1" : L"0");
}

double TCustomIniFile::ReadFloat(const std::wstring& section, const std::wstring& ident, double defaultValue) {
    double v;
    return TryStrToFloat(ReadString(section, ident, L""), v) ? v : defaultValue;
}

void TCustomIniFile::WriteFloat(const std::wstring& section, const std::wstring& ident, double value) {
    WriteString(section, ident, FloatToStr(value));
}

bool TCustomIniFile::SectionExists(const std::wstring& section) {
    TStringList keys;
    ReadSection(section, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const std::wstring& section, const std::wstring& ident) {
    TStringList keys;
    ReadSection(section, &keys);
    return keys.IndexOf(ident) >= 0;
}

// ---- TMemIniFile ------------------------------------------------------------------------------------------------
void TMemIniFile::Section::Reindex() {
    index.clear();
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].isKey)
            index.emplace(Fold(lines[i].key), i);
}

const TMemIniFile::Line* TMemIniFile::Section::Find(const std::wstring& key) const {
    auto it = index.find(Fold(key));
    return it == index.end() ? nullptr : &lines[it->second];
}

TMemIniFile::TMemIniFile(const std::wstring& fileName) : TCustomIniFile(fileName) {
    Load();
}

TMemIniFile::TMemIniFile(const std::wstring& fileName, TTextEncoding encoding) : TCustomIniFile(fileName) {
    Load();
    Encoding = encoding;
}

void TMemIniFile::Load() {
    Clear();
    if (fileName_.empty() || !FileExists(fileName_))
        return;
    TStringList list;
    list.LoadFromFile(fileName_);
    Encoding = list.Encoding;
    SetStrings(&list);
}

void TMemIniFile::Clear() {
    lastFound_ = nullptr;
    sections_.clear();
    sectionIndex_.clear();
}

TMemIniFile::Section* TMemIniFile::FindSection(const std::wstring& name) {
    // Readers ask for one section many times in a row (every field of a record).
    if (lastFound_ && name == lastName_)
        return lastFound_;
    auto it = sectionIndex_.find(Fold(name));
    if (it == sectionIndex_.end())
        return nullptr;
    lastName_ = name;
    lastFound_ = sections_[it->second].get();
    return lastFound_;
}

TMemIniFile::Section& TMemIniFile::AddSection(const std::wstring& name) {
    sections_.push_back(std::make_unique<Section>());
    sections_.back()->name = name;
    sectionIndex_.emplace(Fold(name), sections_.size() - 1);
    return *sections_.back();
}

void TMemIniFile::ReindexSections() {
    lastFound_ = nullptr;
    sectionIndex_.clear();
    for (size_t i = 0; i < sections_.size(); ++i)
        sectionIndex_.emplace(Fold(sections_[i]->name), i);
}

void TMemIniFile::SetStrings(const TStrings* list) {
    Clear();
    Section* current = nullptr;
    for (int i = 0; i < list->Count(); ++i) {
        // Each line is cut in place by its bounds: a skin's load parses thousands of lines.
        const std::wstring s = list->Get(i);
        size_t b = 0, e = s.size();
        TrimBounds(s, b, e);
        if (b == e)
            continue;
        if (s[b] == L'[') {
            size_t close = s.find(L']', b);
            if (close != std::wstring::npos) {
                current = &AddSection(TrimmedPart(s, b + 1, close));
                continue;
            }
        }
        if (!current)
            continue;
        Line line;
        size_t eq = s.find(L'=', b);
        if (s[b] != L';' && s[b] != L'#' && eq != std::wstring::npos && eq > b) {
            line.key = TrimmedPart(s, b, eq);
            line.value = TrimmedPart(s, eq + 1, e);
            line.isKey = true;
            current->index.emplace(Fold(line.key), current->lines.size());
        } else {
            line.value = s.substr(b, e - b);
        }
        current->lines.push_back(std::move(line));
    }
}

void TMemIniFile::SetText(const std::wstring& text) {
    TStringList list;
    list.SetText(text);
    SetStrings(&list);
}

void TMemIniFile::GetStrings(TStrings* list) const {
    WithUpdate(*list, [&] {
        list->Clear();
        for (size_t i = 0; i < sections_.size(); ++i) {
            if (i > 0)
                list->Add(L"");
            list->Add(L"[" + sections_[i]->name + L"]");
            for (const Line& line : sections_[i]->lines)
                list->Add(line.isKey ? line.key + L"=" + line.value : line.value);
        }
    });
}

const std::wstring* TMemIniFile::FindValue(const std::wstring& section, const std::wstring& ident) {
    Section* s = FindSection(section);
    const Line* line = s ? s->Find(ident) : nullptr;
    return line ? &line->value : nullptr;
}

std::wstring TMemIniFile::ReadString(const std::wstring& section,
                                     const std::wstring& ident,
                                     const std::wstring& defaultValue) {
    const std::wstring* value = FindValue(section, ident);
    return value ? *value : defaultValue;
}

void TMemIniFile::WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) {
    Section* s = FindSection(section);
    if (!s)
        s = &AddSection(section);
    auto it = s->index.find(Fold(ident));
    // Line breaks would split the value into lines of their own when the text is read back.
    std::wstring v = value;
    for (auto& c : v)
        if (c == L'\r' || c == L'\n')
            c = L' ';
    if (it != s->index.end()) {
        s->lines[it->second].value = v;
        return;
    }
    Line line{ident, v, true};
    s->index.emplace(Fold(ident), s->lines.size());
    s->lines.push_back(std::move(line));
}

void TMemIniFile::ListKeys(const std::wstring& section, TStrings* strings, bool withValues) {
    WithUpdate(*strings, [&] {
        strings->Clear();
        if (Section* s = FindSection(section))
            for (const Line& line : s->lines)
                if (line.isKey)
                    strings->Add(withValues ? line.key + L"=" + line.value : line.key);
    });
}

void TMemIniFile::ReadSection(const std::wstring& section, TStrings* strings) {
    ListKeys(section, strings, false);
}

void TMemIniFile::ReadSections(TStrings* strings) {
    WithUpdate(*strings, [&] {
        strings->Clear();
        for (const auto& s : sections_)
            strings->Add(s->name);
    });
}

void TMemIniFile::ReadSectionValues(const std::wstring& section, TStrings* strings) {
    ListKeys(section, strings, true);
}

void TMemIniFile::EraseSection(const std::wstring& section) {
    // Every section of that name goes, so that a later duplicate does not surface in its place.
    std::wstring key = Fold(section);
    std::erase_if(sections_, [&](const std::unique_ptr<Section>& s) { return Fold(s->name) == key; });
    ReindexSections();
}

void TMemIniFile::DeleteKey(const std::wstring& section, const std::wstring& ident) {
    Section* s = FindSection(section);
    if (!s)
        return;
    std::wstring key = Fold(ident);
    std::erase_if(s->lines, [&](const Line& l) { return l.isKey && Fold(l.key) == key; });
    s->Reindex();
}

bool TMemIniFile::ValueExists(const std::wstring& section, const std::wstring& ident) {
    Section* s = FindSection(section);
    return s && s->Find(ident);
}

void TMemIniFile::UpdateFile() {
    if (fileName_.empty())
        return;
    TStringList list;
    GetStrings(&list);
    list.SaveToFile(fileName_, Encoding);
}

void TMemIniFile::Rename(const std::wstring& fileName, bool reload) {
    fileName_ = fileName;
    if (reload)
        Load();
}
