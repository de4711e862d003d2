// Drives TrelmMail.exe from a test: a private program folder, the process started there, its windows found by the
// "TrelmName" property the class library sets on every control, its windowless controls through the table their
// parent windows publish, and the native messages that read them back (texts of other processes' list views, tabs
// and headers go through memory allocated in that process).
// Test code only.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace trelm_test {

// Waits up to ms for pred, checking every 50 ms.
bool WaitUntil(const std::function<bool()>& pred, DWORD ms);

// The window's "TrelmName", empty when it has none.
std::wstring TrelmName(HWND wnd);
std::wstring WindowText(HWND wnd);

// A windowless control (label, bevel ...) as its parent window publishes it (classlib/OutsideControls.h).
struct TWindowlessControl {
    HWND Parent = nullptr;
    std::wstring Name;
    std::wstring Text;
    RECT Screen{};  // its rectangle in screen coordinates
    bool Enabled = false;
    bool Visible = false;
};

class TNotifierProcess {
  public:
    // A fresh program folder named after the test under the build's test data, with the program, its libraries
    // and sounds.
    explicit TNotifierProcess(const std::wstring& testName);
    ~TNotifierProcess();
    const std::wstring& Folder() const { return folder_; }
    std::wstring File(const std::wstring& name) const { return folder_ + L"\\" + name; }
    void WriteFile(const std::wstring& name, const std::string& bytes) const;

    // Starts the program with the folder as working folder; makerHost (host:port) for the server list. Returns once
    // the program waits for input the first time, or at once without waitIdle (to watch its start).
    bool Start(const std::wstring& makerHost = L"127.0.0.1:9", bool waitIdle = true);
    bool Running() const;
    // Waits for the process to end; true when it did.
    bool WaitExit(DWORD ms);
    // The exit code of the ended process (STILL_ACTIVE while it runs).
    DWORD ExitCode() const;
    void Kill();
    DWORD Pid() const { return pid_; }

    // Top-level windows of the process (visible or not).
    std::vector<HWND> TopWindows() const;
    // The top-level window whose TrelmName is name (nullptr when none yet).
    HWND TopByName(const std::wstring& name) const;
    // A visible top-level window of the process with this window text.
    HWND VisibleTopByText(const std::wstring& text) const;
    HWND MainWindow() const { return TopByName(L"AAForm1"); }
    // The child of top (any depth) with that TrelmName.
    static HWND Child(HWND top, const std::wstring& name);
    HWND Ctl(const std::wstring& name) const { return Child(MainWindow(), name); }
    // The windowless control of top or of a window inside it with that Name; false when there is none.
    static bool FindWindowless(HWND top, const std::wstring& name, TWindowlessControl& out);
    bool Windowless(const std::wstring& name, TWindowlessControl& out) const {
        return FindWindowless(MainWindow(), name, out);
    }
    // A control of the main window by Name, windowed or windowless: its screen rectangle (empty when there is none)
    // and its text.
    RECT ScreenRectOf(const std::wstring& name) const;
    std::wstring TextOf(const std::wstring& name) const;
    // The tray icon's hidden window.
    HWND TrayWindow() const;

  private:
    std::wstring folder_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    bool copied_ = false;
};

bool CompareFiles(const std::wstring& a, const std::wstring& b);

// Memory in another process for the messages that pass pointers.
class TRemoteBuffer {
  public:
    TRemoteBuffer(HWND wnd, size_t size);
    ~TRemoteBuffer();
    void* Address() const { return remote_; }
    bool Write(const void* data, size_t size, size_t offset = 0);
    bool Read(void* data, size_t size, size_t offset = 0);

  private:
    HANDLE process_ = nullptr;
    void* remote_ = nullptr;
};

// List view rows: item count, and the text of a cell.
int ListCount(HWND view);
std::wstring ListText(HWND view, int row, int column);
// A tab's caption and its rectangle in screen coordinates; a header item's rectangle in screen coordinates.
std::wstring TabText(HWND tabs, int index);
RECT TabScreenRect(HWND tabs, int index);
RECT HeaderScreenRect(HWND view, int column);
// A real left click at a screen point (SendInput).
void ClickAt(int x, int y, bool twice = false);
// A click on a button: posted, so that a modal box it opens does not block the test.
void PostClick(HWND button);
// The pixels of a window's screen rectangle (0xAARRGGBB, rows top down).
std::vector<std::uint32_t> ScreenPixels(HWND wnd, int& w, int& h);
// The screen rectangle of a window as name.png in the folder TRELM_SHOTS names (nothing when it is not set).
void Shot(HWND wnd, const std::wstring& name);

// One picture of a contact sheet: what a window showed, and the label written above it.
struct TSheetTile {
    std::wstring Label;
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Pixels;
};
TSheetTile SheetTile(HWND wnd, const std::wstring& label);
// The tiles in rows no wider than maxWidth (a wider tile takes a row of its own), each under its label, the title
// above all, as name.png in the folder TRELM_SHOTS names (nothing when it is not set).
void ShotSheet(const std::vector<TSheetTile>& tiles,
               const std::wstring& title,
               const std::wstring& name,
               int maxWidth = 2400);

}  // namespace trelm_test
