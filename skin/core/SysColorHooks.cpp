#include "skin/core/SysColorHooks.h"

#include <tlhelp32.h>

#include <cwchar>
#include <map>
#include <vector>

#include "classlib/GdiHandles.h"

namespace {

// One redirected function: the system's entry, its replacement, and the import slots that now hold the replacement.
struct THook {
    const wchar_t* Module;
    const char* Name;
    void* Replacement;
    void* Original = nullptr;
    bool Installed = false;
    std::vector<void**> Slots;
};

THook gGetSysColor{L"user32.dll", "GetSysColor", reinterpret_cast<void*>(&NewGetSysColor)};
THook gGetSysColorBrush{L"user32.dll", "GetSysColorBrush", reinterpret_cast<void*>(&NewGetSysColorBrush)};
THook gCreatePen{L"gdi32.dll", "CreatePen", reinterpret_cast<void*>(&NewCreatePen)};
ISkinColorSource* gOwner = nullptr;
// One brush per replaced colour: callers of GetSysColorBrush never free what they get.
std::map<COLORREF, TGdiBrush> gBrushes;

void* SystemEntry(THook& h) {
    if (!h.Original)
        if (HMODULE m = ::GetModuleHandleW(h.Module))
            h.Original = reinterpret_cast<void*>(::GetProcAddress(m, h.Name));
    return h.Original;
}

bool SwapSlot(void** slot, void* value) {
    DWORD old = 0;
    if (!::VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old))
        return false;
    ::InterlockedExchangePointer(slot, value);
    ::VirtualProtect(slot, sizeof(void*), old, &old);
    return true;
}

// Modules that implement the functions or sit below them keep their own calls.
bool IsSystemCore(const wchar_t* name) {
    static const wchar_t* const kCore[] = {L"user32.dll", L"gdi32.dll",    L"win32u.dll",    L"gdi32full.dll",
                                           L"ntdll.dll",  L"kernel32.dll", L"kernelbase.dll"};
    for (const wchar_t* c : kCore)
        if (_wcsicmp(name, c) == 0)
            return true;
    return false;
}

// Every import slot of Module that holds Target.
void FindSlots(HMODULE Module, void* Target, std::vector<void**>& Slots) {
    auto* base = reinterpret_cast<std::uint8_t*>(Module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE)
        return;
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE)
        return;
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0 || dir.Size == 0)
        return;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name != 0; ++d) {
        if (d->FirstThunk == 0)
            continue;
        for (auto* t = reinterpret_cast<void**>(base + d->FirstThunk); *t != nullptr; ++t)
            if (*t == Target)
                Slots.push_back(t);
    }
}

void Install(THook& h) {
    if (h.Installed)
        return;
    h.Installed = true;  // also when nothing could be swapped: removal then has nothing to put back
    void* target = SystemEntry(h);
    if (!target)
        return;
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    std::vector<void**> found;
    for (BOOL ok = ::Module32FirstW(snap, &entry); ok; ok = ::Module32NextW(snap, &entry))
        if (!IsSystemCore(entry.szModule))
            FindSlots(entry.hModule, target, found);
    ::CloseHandle(snap);
    for (void** slot : found)
        if (SwapSlot(slot, h.Replacement))
            h.Slots.push_back(slot);
}

void Remove(THook& h) {
    if (!h.Installed)
        return;
    for (void** slot : h.Slots)
        if (*slot == h.Replacement)
            SwapSlot(slot, h.Original);
    h.Slots.clear();
    h.Installed = false;
}

void RemoveAll() {
    Remove(gGetSysColor);
    Remove(gGetSysColorBrush);
    Remove(gCreatePen);
    gBrushes.clear();
}

DWORD RealGetSysColor(int Index) {
    return reinterpret_cast<DWORD(WINAPI*)(int)>(SystemEntry(gGetSysColor))(Index);
}

// A skin colour as RGB; a system colour constant goes to the real function, never back through the redirection.
COLORREF Resolve(TColor c) {
    return IsSystemColor(c) ? RealGetSysColor(static_cast<int>(c & 0xFF)) : (c & 0xFFFFFF);
}

// The skin's colour for Index, or false when Index is not replaced.
bool Replaced(int Index, COLORREF& Color) {
    const TbsSystemColorHooks hooks = gOwner->SystemColorHooks();
    const bool window = (hooks & bsschWindow) != 0, highlight = (hooks & bsschHighLight) != 0;
    if (Index == COLOR_WINDOW && window)
        Color = Resolve(gOwner->cWindow());
    else if (Index == COLOR_WINDOWTEXT && window)
        Color = Resolve(gOwner->cWindowText());
    else if (Index == COLOR_HIGHLIGHT && highlight)
        Color = Resolve(gOwner->cHighLight());
    else if (Index == COLOR_HIGHLIGHTTEXT && highlight)
        Color = Resolve(gOwner->cHighLightText());
    else
        return false;
    return true;
}

}  // namespace

DWORD WINAPI NewGetSysColor(int Index) {
    if (!gOwner)
        return 0;
    if (gOwner->Empty()) {
        if (!gGetSysColor.Installed)
            return 0;
        Remove(gGetSysColor);
        return RealGetSysColor(Index);
    }
    COLORREF c;
    return Replaced(Index, c) ? c : RealGetSysColor(Index);
}

HBRUSH WINAPI NewGetSysColorBrush(int Index) {
    auto real = reinterpret_cast<HBRUSH(WINAPI*)(int)>(SystemEntry(gGetSysColorBrush));
    if (!gOwner)
        return nullptr;
    if (gOwner->Empty()) {
        if (!gGetSysColorBrush.Installed)
            return nullptr;
        Remove(gGetSysColorBrush);
        return real(Index);
    }
    COLORREF c;
    if (!Replaced(Index, c))
        return real(Index);
    TGdiBrush& brush = gBrushes[c];
    if (!brush)
        brush.Reset(::CreateSolidBrush(c));
    return brush.Get();
}

HPEN WINAPI NewCreatePen(int Style, int Width, COLORREF Color) {
    auto real = reinterpret_cast<HPEN(WINAPI*)(int, int, COLORREF)>(SystemEntry(gCreatePen));
    if (gOwner && gOwner->Empty() && gCreatePen.Installed)
        Remove(gCreatePen);
    // Pens keep the colour they are asked for: it is a colour, not a system colour index, and the colours controls
    // take from GetSysColor are already the skin's.
    return real(Style, Width, Color);
}

void SetChangeSystemColors(ISkinColorSource* Container, bool Value) {
    if (!Container)
        return;
    const bool usable = !Container->DesignTime() && !Container->Empty() && !gGetSysColor.Installed;
    if (Value && !gOwner && usable) {
        gOwner = Container;
        Install(gGetSysColor);
        Install(gGetSysColorBrush);
        Install(gCreatePen);
    } else if (Value && gOwner == Container && usable) {
        Install(gGetSysColor);
        Install(gGetSysColorBrush);
        Install(gCreatePen);
    } else if (!Value && gOwner == Container) {
        RemoveAll();
        gOwner = nullptr;
    }
}

void ReleaseSystemColorHooks(ISkinColorSource* Container) {
    if (Container && gOwner == Container) {
        RemoveAll();
        gOwner = nullptr;
    }
}

ISkinColorSource* SystemColorHookOwner() {
    return gOwner;
}
bool IsGetSysColorHooked() {
    return gGetSysColor.Installed;
}
bool IsGetSysColorBrushHooked() {
    return gGetSysColorBrush.Installed;
}
bool IsCreatePenHooked() {
    return gCreatePen.Installed;
}
