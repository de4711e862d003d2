// The answer to "TrelmWindowlessControls": the table of a window's windowless children in a named block.
#include "classlib/OutsideControls.h"

#include <map>

#include "base/Handles.h"
#include "classlib/Controls.h"

namespace {
struct TBlock {
    TKernelHandle map;
    UINT_PTR serial = 0;
};
// One block per window that was asked; GUI thread only.
std::map<HWND, TBlock>& Blocks() {
    static std::map<HWND, TBlock> blocks;
    return blocks;
}

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    const size_t at = b.size();
    b.resize(at + 4);
    std::memcpy(b.data() + at, &v, 4);
}
void PutText(std::vector<std::uint8_t>& b, const std::wstring& s) {
    const size_t at = b.size();
    b.resize(at + s.size() * 2);
    if (!s.empty())
        std::memcpy(b.data() + at, s.data(), s.size() * 2);
}
}  // namespace

UINT_PTR AnswerWindowless(TWinControl* Control) {
    std::vector<TControl*> children;
    for (int i = 0; i < Control->ControlCount(); ++i) {
        TControl* c = Control->Controls(i);
        if (!dynamic_cast<TWinControl*>(c))
            children.push_back(c);
    }
    const HWND wnd = Control->Handle();
    if (children.empty()) {
        Blocks().erase(wnd);
        return 0;
    }
    std::vector<std::uint8_t> data;
    Put32(data, kWindowlessMagic);
    Put32(data, 1);
    Put32(data, static_cast<std::uint32_t>(children.size()));
    for (TControl* c : children) {
        const std::wstring name = c->Name(), text = c->Text();
        for (int v : {c->Left(), c->Top(), c->Width(), c->Height()})
            Put32(data, static_cast<std::uint32_t>(v));
        Put32(data, (c->Enabled() ? 1u : 0u) | (c->Visible() ? 2u : 0u));
        Put32(data, static_cast<std::uint32_t>(name.size()));
        Put32(data, static_cast<std::uint32_t>(text.size()));
        PutText(data, name);
        PutText(data, text);
    }
    TBlock& block = Blocks()[wnd];
    // A fresh name every time: a reader may still hold the previous block open.
    const UINT_PTR serial = block.serial + 1;
    TKernelHandle map(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                         static_cast<DWORD>(data.size()),
                                         WindowlessBlockName(GetCurrentProcessId(), wnd, serial).c_str()));
    if (!map)
        return 0;
    void* view = MapViewOfFile(map.Get(), FILE_MAP_WRITE, 0, 0, data.size());
    if (!view)
        return 0;
    std::memcpy(view, data.data(), data.size());
    UnmapViewOfFile(view);
    block.map = std::move(map);
    block.serial = serial;
    return serial;
}

void ForgetWindowless(HWND Wnd) {
    Blocks().erase(Wnd);
}
