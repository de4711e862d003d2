// Finding a windowless control from another process. A window of this library answers the registered message
// "TrelmWindowlessControls" by writing a table of its windowless children (name, text, bounds in its client
// coordinates, enabled and visible) into a named shared-memory block and returning the block's serial number (0: no
// windowless children). The block is "Local\TrelmWindowless_<process id>_<window handle>_<serial>"; it stays until the
// next question or the window's end. The reader below (header only, plain Win32) is what a test driver uses.
// Index: kWindowlessMessageName, TOutsideControl, WindowlessBlockName, ReadWindowless, AnswerWindowless,
// ForgetWindowless.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

inline constexpr const wchar_t* kWindowlessMessageName = L"TrelmWindowlessControls";
// The block: "TRWL", version 1, count, then per control left, top, width, height, flags (1 enabled, 2 visible),
// name length, text length (UTF-16 units) and the two texts. All 32-bit little-endian.
inline constexpr std::uint32_t kWindowlessMagic = 0x4C575254;

struct TOutsideControl {
    std::wstring Name;
    std::wstring Text;
    RECT Bounds{};  // in the parent's client coordinates
    bool Enabled = false;
    bool Visible = false;
};

inline std::wstring WindowlessBlockName(DWORD Pid, HWND Wnd, UINT_PTR Serial) {
    return L"Local\\TrelmWindowless_" + std::to_wstring(Pid) + L"_" +
           std::to_wstring(reinterpret_cast<UINT_PTR>(Wnd)) + L"_" + std::to_wstring(Serial);
}

// The windowless children of Wnd (a window of this process or another); empty when it has none, is not one of ours
// or does not answer within TimeoutMs. A damaged block gives what could be read before the damage.
inline std::vector<TOutsideControl> ReadWindowless(HWND Wnd, UINT TimeoutMs = 2000) {
    std::vector<TOutsideControl> out;
    static const UINT msg = RegisterWindowMessageW(kWindowlessMessageName);
    DWORD_PTR serial = 0;
    if (!SendMessageTimeoutW(Wnd, msg, 0, 0, SMTO_ABORTIFHUNG, TimeoutMs, &serial) || serial == 0)
        return out;
    DWORD pid = 0;
    GetWindowThreadProcessId(Wnd, &pid);
    HANDLE map = OpenFileMappingW(FILE_MAP_READ, FALSE, WindowlessBlockName(pid, Wnd, serial).c_str());
    if (!map)
        return out;
    const auto* base = static_cast<const std::uint8_t*>(MapViewOfFile(map, FILE_MAP_READ, 0, 0, 0));
    if (base) {
        MEMORY_BASIC_INFORMATION info{};
        VirtualQuery(base, &info, sizeof(info));
        const size_t size = info.RegionSize;
        size_t pos = 0;
        auto u32 = [&](std::uint32_t& v) {
            if (size - pos < 4)
                return false;
            std::memcpy(&v, base + pos, 4);
            pos += 4;
            return true;
        };
        auto text = [&](std::uint32_t n, std::wstring& s) {
            if ((size - pos) / 2 < n)
                return false;
            s.resize(n);
            std::memcpy(s.data(), base + pos, n * 2u);
            pos += n * 2u;
            return true;
        };
        std::uint32_t magic = 0, version = 0, count = 0;
        if (u32(magic) && magic == kWindowlessMagic && u32(version) && version == 1 && u32(count)) {
            for (std::uint32_t i = 0; i < count; ++i) {
                std::uint32_t v[7];
                bool ok = true;
                for (auto& x : v)
                    ok = ok && u32(x);
                TOutsideControl c;
                if (!ok || !text(v[5], c.Name) || !text(v[6], c.Text))
                    break;
                const auto s = [](std::uint32_t x) { return static_cast<LONG>(static_cast<std::int32_t>(x)); };
                c.Bounds = {s(v[0]), s(v[1]), s(v[0]) + s(v[2]), s(v[1]) + s(v[3])};
                c.Enabled = (v[4] & 1) != 0;
                c.Visible = (v[4] & 2) != 0;
                out.push_back(std::move(c));
            }
        }
        UnmapViewOfFile(base);
    }
    CloseHandle(map);
    return out;
}

class TWinControl;
// The library's side: writes Control's table and returns its serial (0 when it has no windowless children).
UINT_PTR AnswerWindowless(TWinControl* Control);
// The window goes: its block goes with it.
void ForgetWindowless(HWND Wnd);
