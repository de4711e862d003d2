// The test driver of TrelmMail.exe.
#include "NotifierDriver.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "base/Files.h"
#include "classlib/OutsideControls.h"
#include "classlib/WicCodec.h"
#include "tests/classlib/ScreenGrab.h"

namespace trelm_test {

bool WaitUntil(const std::function<bool()>& pred, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (pred())
            return true;
        if (GetTickCount() - start >= ms)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(50);
    }
}

std::wstring TrelmName(HWND wnd) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(wnd, L"TrelmName")));
    if (!atom)
        return {};
    wchar_t name[256] = {};
    const UINT n = GlobalGetAtomNameW(atom, name, 256);
    return std::wstring(name, n);
}

std::wstring WindowText(HWND wnd) {
    wchar_t text[2048] = {};
    const LRESULT n = SendMessageW(wnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text));
    return std::wstring(text, static_cast<size_t>(n));
}

TNotifierProcess::TNotifierProcess(const std::wstring& testName) {
    folder_ = ProgramFolder() + L"..\\test-data\\mainwindow\\" + testName;
    SHCreateDirectoryExW(nullptr, folder_.c_str(), nullptr);
    for (const wchar_t* stale : {L"Posl.vkz", L"yazik.txt", L"bad.lng"})
        DeleteFileW(File(stale).c_str());
    for (const wchar_t* file : {L"TrelmMail.exe", L"libcrypto-3-x64.dll", L"libssl-3-x64.dll", L"libcrypto-3.dll",
                                L"libssl-3.dll", L"prishol_mail.wav", L"budilnik.wav"})
        CopyFileW((ProgramFolder() + file).c_str(), File(file).c_str(), FALSE);
    copied_ = CompareFiles(ProgramFolder() + L"TrelmMail.exe", File(L"TrelmMail.exe"));
}

bool CompareFiles(const std::wstring& a, const std::wstring& b) {
    // The program with its debug information passes the default 64 MiB read limit.
    constexpr std::size_t kMax = std::size_t{1} << 30;
    const auto x = ReadWholeFile(a, kMax), y = ReadWholeFile(b, kMax);
    return x && y && *x == *y;
}

TNotifierProcess::~TNotifierProcess() {
    Kill();
}

void TNotifierProcess::WriteFile(const std::wstring& name, const std::string& bytes) const {
    HANDLE f = CreateFileW(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

bool TNotifierProcess::Start(const std::wstring& makerHost, bool waitIdle) {
    // A copy left locked by a program that did not end would run an old build.
    if (!copied_)
        return false;
    SetEnvironmentVariableW(L"TRELM_MAKER_HOST", makerHost.c_str());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + File(L"TrelmMail.exe") + L"\"";
    const BOOL ok =
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &si, &pi);
    SetEnvironmentVariableW(L"TRELM_MAKER_HOST", nullptr);
    if (!ok)
        return false;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    if (waitIdle)
        WaitForInputIdle(process_, 10000);
    return true;
}

bool TNotifierProcess::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool TNotifierProcess::WaitExit(DWORD ms) {
    return process_ && WaitForSingleObject(process_, ms) == WAIT_OBJECT_0;
}

DWORD TNotifierProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_)
        GetExitCodeProcess(process_, &code);
    return code;
}

void TNotifierProcess::Kill() {
    if (!process_)
        return;
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

namespace {

struct TTopSearch {
    DWORD pid;
    std::vector<HWND> out;
};

BOOL CALLBACK CollectTop(HWND wnd, LPARAM p) {
    auto* c = reinterpret_cast<TTopSearch*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == c->pid)
        c->out.push_back(wnd);
    return TRUE;
}

struct TChildSearch {
    const std::wstring* name;
    HWND found;
};

BOOL CALLBACK FindNamed(HWND wnd, LPARAM p) {
    auto* c = reinterpret_cast<TChildSearch*>(p);
    if (TrelmName(wnd) == *c->name) {
        c->found = wnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> TNotifierProcess::TopWindows() const {
    TTopSearch ctx{pid_, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&ctx));
    return ctx.out;
}

HWND TNotifierProcess::TopByName(const std::wstring& name) const {
    for (HWND wnd : TopWindows()) {
        if (TrelmName(wnd) == name)
            return wnd;
    }
    return nullptr;
}

HWND TNotifierProcess::VisibleTopByText(const std::wstring& text) const {
    for (HWND wnd : TopWindows()) {
        if (IsWindowVisible(wnd) && WindowText(wnd) == text)
            return wnd;
    }
    return nullptr;
}

HWND TNotifierProcess::Child(HWND top, const std::wstring& name) {
    if (!top)
        return nullptr;
    TChildSearch ctx{&name, nullptr};
    EnumChildWindows(top, FindNamed, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

namespace {
struct TWindowlessSearch {
    const std::wstring* name;
    TWindowlessControl* out;
    bool found;
};

bool MatchWindowless(HWND wnd, TWindowlessSearch& ctx) {
    for (const TOutsideControl& c : ReadWindowless(wnd)) {
        if (c.Name != *ctx.name)
            continue;
        POINT tl{c.Bounds.left, c.Bounds.top}, br{c.Bounds.right, c.Bounds.bottom};
        ClientToScreen(wnd, &tl);
        ClientToScreen(wnd, &br);
        *ctx.out = TWindowlessControl{wnd, c.Name, c.Text, RECT{tl.x, tl.y, br.x, br.y}, c.Enabled, c.Visible};
        ctx.found = true;
        return true;
    }
    return false;
}

BOOL CALLBACK FindWindowlessIn(HWND wnd, LPARAM p) {
    return MatchWindowless(wnd, *reinterpret_cast<TWindowlessSearch*>(p)) ? FALSE : TRUE;
}
}  // namespace

bool TNotifierProcess::FindWindowless(HWND top, const std::wstring& name, TWindowlessControl& out) {
    if (!top)
        return false;
    TWindowlessSearch ctx{&name, &out, false};
    if (!MatchWindowless(top, ctx))
        EnumChildWindows(top, FindWindowlessIn, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

RECT TNotifierProcess::ScreenRectOf(const std::wstring& name) const {
    RECT r{};
    if (HWND wnd = Ctl(name)) {
        GetWindowRect(wnd, &r);
        return r;
    }
    TWindowlessControl c;
    if (Windowless(name, c))
        r = c.Screen;
    return r;
}

std::wstring TNotifierProcess::TextOf(const std::wstring& name) const {
    if (HWND wnd = Ctl(name))
        return WindowText(wnd);
    TWindowlessControl c;
    return Windowless(name, c) ? c.Text : std::wstring();
}

HWND TNotifierProcess::TrayWindow() const {
    for (HWND wnd : TopWindows()) {
        wchar_t cls[64] = {};
        GetClassNameW(wnd, cls, 64);
        if (std::wstring(cls) == L"TbsTrayIconWindow")
            return wnd;
    }
    return nullptr;
}

TRemoteBuffer::TRemoteBuffer(HWND wnd, size_t size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
        remote_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

TRemoteBuffer::~TRemoteBuffer() {
    if (remote_)
        VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    if (process_)
        CloseHandle(process_);
}

bool TRemoteBuffer::Write(const void* data, size_t size, size_t offset) {
    SIZE_T done = 0;
    return WriteProcessMemory(process_, static_cast<char*>(remote_) + offset, data, size, &done) && done == size;
}

bool TRemoteBuffer::Read(void* data, size_t size, size_t offset) {
    SIZE_T done = 0;
    return ReadProcessMemory(process_, static_cast<char*>(remote_) + offset, data, size, &done) && done == size;
}

int ListCount(HWND view) {
    return static_cast<int>(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ListText(HWND view, int row, int column) {
    constexpr size_t kChars = 512;
    TRemoteBuffer buffer(view, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = kChars;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.Address()) + sizeof(LVITEMW));
    buffer.Write(&item, sizeof item);
    const LRESULT n =
        SendMessageW(view, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.Address()));
    std::wstring text(kChars, L'\0');
    buffer.Read(text.data(), kChars * sizeof(wchar_t), sizeof(LVITEMW));
    text.resize(static_cast<size_t>(n));
    return text;
}

std::wstring TabText(HWND tabs, int index) {
    constexpr size_t kChars = 256;
    TRemoteBuffer buffer(tabs, sizeof(TCITEMW) + kChars * sizeof(wchar_t));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.cchTextMax = kChars;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.Address()) + sizeof(TCITEMW));
    buffer.Write(&item, sizeof item);
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.Address()));
    std::wstring text(kChars, L'\0');
    buffer.Read(text.data(), kChars * sizeof(wchar_t), sizeof(TCITEMW));
    text.resize(wcslen(text.c_str()));
    return text;
}

namespace {
RECT RemoteRect(HWND wnd, UINT msg, WPARAM wParam) {
    TRemoteBuffer buffer(wnd, sizeof(RECT));
    RECT r{};
    SendMessageW(wnd, msg, wParam, reinterpret_cast<LPARAM>(buffer.Address()));
    buffer.Read(&r, sizeof r);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
}  // namespace

RECT TabScreenRect(HWND tabs, int index) {
    return RemoteRect(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index));
}

RECT HeaderScreenRect(HWND view, int column) {
    const auto header = reinterpret_cast<HWND>(SendMessageW(view, LVM_GETHEADER, 0, 0));
    return RemoteRect(header, HDM_GETITEMRECT, static_cast<WPARAM>(column));
}

void ClickAt(int x, int y, bool twice) {
    SetCursorPos(x, y);
    Sleep(50);
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, in, sizeof(INPUT));
        Sleep(30);
    }
}

void PostClick(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

// The screen rectangle of a window as a PNG under TRELM_SHOTS, when that names a folder.
std::vector<std::uint32_t> ScreenPixels(HWND wnd, int& w, int& h) {
    RECT r{};
    GetWindowRect(wnd, &r);
    w = r.right - r.left;
    h = r.bottom - r.top;
    return GrabScreen(r);
}

namespace {

// The folder TRELM_SHOTS names, with Windows separators (empty when it is not set).
std::wstring ShotFolder() {
    const char* dir = std::getenv("TRELM_SHOTS");
    std::wstring folder;
    for (const char* p = dir ? dir : ""; *p; ++p)
        folder += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return folder;
}

void WriteShot(const std::uint32_t* px, int w, int h, const std::wstring& name) {
    const std::string png = EncodePng(px, w, h);
    if (FILE* f = _wfopen((ShotFolder() + L"\\" + name + L".png").c_str(), L"wb")) {
        fwrite(png.data(), 1, png.size(), f);
        fclose(f);
    }
}

}  // namespace

void Shot(HWND wnd, const std::wstring& name) {
    if (ShotFolder().empty() || !wnd)
        return;
    int w = 0, h = 0;
    const std::vector<std::uint32_t> px = ScreenPixels(wnd, w, h);
    WriteShot(px.data(), w, h, name);
}

TSheetTile SheetTile(HWND wnd, const std::wstring& label) {
    TSheetTile tile;
    tile.Label = label;
    if (wnd)
        tile.Pixels = ScreenPixels(wnd, tile.Width, tile.Height);
    return tile;
}

void ShotSheet(const std::vector<TSheetTile>& tiles,
               const std::wstring& title,
               const std::wstring& name,
               int maxWidth) {
    if (ShotFolder().empty())
        return;
    constexpr int kGap = 12, kLabel = 18, kTitle = 28;
    // Places: left to right, a new row when the next tile would pass maxWidth.
    std::vector<POINT> at;
    int x = kGap, y = kTitle, rowHeight = 0, width = 0;
    for (const TSheetTile& t : tiles) {
        if (x > kGap && x + t.Width + kGap > maxWidth) {
            x = kGap;
            y += rowHeight + kLabel + kGap;
            rowHeight = 0;
        }
        at.push_back(POINT{x, y});
        x += t.Width + kGap;
        width = std::max(width, x);
        rowHeight = std::max(rowHeight, t.Height);
    }
    const int height = y + rowHeight + kLabel + kGap;
    width = std::max(width, 400);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib || !bits) {
        DeleteDC(dc);
        return;
    }
    HGDIOBJ oldBitmap = SelectObject(dc, dib);
    auto* px = static_cast<std::uint32_t*>(bits);
    std::fill(px, px + static_cast<size_t>(width) * height, 0xFFD8D8D8u);
    for (size_t i = 0; i < tiles.size(); ++i) {
        const TSheetTile& t = tiles[i];
        for (int ty = 0; ty < t.Height; ++ty)
            std::copy_n(t.Pixels.data() + static_cast<size_t>(ty) * t.Width, t.Width,
                        px + static_cast<size_t>(at[i].y + kLabel + ty) * width + at[i].x);
    }
    HFONT font = CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(20, 20, 20));
    TextOutW(dc, kGap, 6, title.c_str(), static_cast<int>(title.size()));
    for (size_t i = 0; i < tiles.size(); ++i)
        TextOutW(dc, at[i].x, at[i].y + 1, tiles[i].Label.c_str(), static_cast<int>(tiles[i].Label.size()));
    GdiFlush();
    std::vector<std::uint32_t> out(px, px + static_cast<size_t>(width) * height);
    for (std::uint32_t& p : out)
        p |= 0xFF000000u;
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(dib);
    DeleteDC(dc);
    WriteShot(out.data(), width, height, name);
}

}  // namespace trelm_test
