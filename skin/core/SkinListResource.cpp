#include "skin/core/SkinListResource.h"

#include <optional>

#include "base/Utf.h"

namespace {

[[noreturn]] void Fail(const std::wstring& what) {
    throw EbsSkinFormatError(L"Skin list: " + what);
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

bool ParseNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// The bytes of one RCDATA resource in the module's image (they live as long as the module); nullopt when the
// module has none of that name.
std::optional<std::string_view> ResourceBytes(HMODULE module, const std::wstring& name) {
    HRSRC info = ::FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!info)
        return std::nullopt;
    HGLOBAL handle = ::LoadResource(module, info);
    const void* data = handle ? ::LockResource(handle) : nullptr;
    if (!data)
        return std::nullopt;
    return std::string_view(static_cast<const char*>(data), ::SizeofResource(module, info));
}

}  // namespace

std::vector<TbsSkinListRow> ParseSkinListText(const std::string& utf8) {
    std::vector<TbsSkinListRow> rows;
    size_t start = 0;
    int lineNumber = 0;
    while (start < utf8.size()) {
        size_t end = utf8.find('\n', start);
        std::string line = utf8.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? utf8.size() : end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> f = SplitTabs(line);
        TbsSkinListRow row;
        if (f.size() != 5 || !ParseNumber(f[0], row.Index) || !ParseNumber(f[2], row.BlockVersion) || f[1].empty())
            Fail(L"line " + std::to_wstring(lineNumber) + L" is not a skin row");
        if (row.Index != static_cast<int>(rows.size()))
            Fail(L"line " + std::to_wstring(lineNumber) + L" gives index " + std::to_wstring(row.Index) + L" where " +
                 std::to_wstring(rows.size()) + L" was due");
        row.Folder = Utf8ToWide(f[1]);
        row.Name = Utf8ToWide(f[3]);
        row.Description = Utf8ToWide(f[4]);
        rows.push_back(std::move(row));
    }
    return rows;
}

void LoadSkinListFromResources(HMODULE AModule, const std::wstring& AListName, TbsCompressedSkinList& AList) {
    TbsSkinListItems* items = AList.Skins();
    items->Clear();
    if (!AModule)
        AModule = ::GetModuleHandleW(nullptr);
    try {
        std::optional<std::string_view> text = ResourceBytes(AModule, AListName);
        if (!text)
            Fail(L"the program carries no list " + AListName);
        for (const TbsSkinListRow& row : ParseSkinListText(std::string(*text))) {
            const std::wstring name = AListName + L"_" + std::to_wstring(row.Index);
            std::optional<std::string_view> block = ResourceBytes(AModule, name);
            if (!block)
                Fail(L"the program carries no block " + name);
            TbsSkinListItem* item = items->Add();
            item->Name = row.Name;
            item->Description = row.Description;
            item->CompressedFileName = row.Folder + L".skn";
            item->Skin()->Description = row.Description;
            item->Skin()->CompressedFileName = item->CompressedFileName;
            // Read in place: a skin costs memory only while it is the one shown.
            item->Skin()->LoadFromBorrowedCompressBlock(*block);
            if (item->Skin()->Empty())
                Fail(L"the block " + name + L" holds no skin");
        }
    } catch (...) {
        items->Clear();
        throw;
    }
}
