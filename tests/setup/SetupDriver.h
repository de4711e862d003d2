// Drives Setup.exe (or another installer build) from outside as a user would: the process, its windows by process
// and by TrelmName, the wizard's controls by name, real clicks on them. Shared by the wizard's window test and the
// installation end to end. Test code only.
#pragma once

#include <windows.h>

#include <string>

#include "NotifierDriver.h"
#include "classlib/WindowTestUtil.h"

namespace trelm_test {

inline std::wstring TestExeFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.rfind(L'\\'));
}

class TSetupProcess {
  public:
    static constexpr DWORD kStart = 20000;
    explicit TSetupProcess(std::wstring exe = TestExeFolder() + L"\\Setup.exe") : exe_(std::move(exe)) {}
    ~TSetupProcess() { Kill(); }
    // Starts the program in its own folder; true once the wizard window shows.
    bool Start() {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::wstring cmd = L"\"" + exe_ + L"\"";
        const std::wstring folder = exe_.substr(0, exe_.rfind(L'\\'));
        if (!CreateProcessW(exe_.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        process_ = pi.hProcess;
        pid_ = pi.dwProcessId;
        WaitForInputIdle(process_, kStart);
        return WaitUntil([&] { return Main() && IsWindowVisible(Main()); }, kStart);
    }
    bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    bool WaitExit(DWORD ms) const { return process_ && WaitForSingleObject(process_, ms) == WAIT_OBJECT_0; }
    void Kill() {
        if (!process_)
            return;
        if (Running()) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
        process_ = nullptr;
    }
    // A visible top-level window of the process with this text (or with this TrelmName when byName).
    HWND Top(const std::wstring& text, bool byName = false) const {
        struct Ctx {
            DWORD pid;
            const std::wstring* text;
            bool byName;
            HWND found;
        } ctx{pid_, &text, byName, nullptr};
        EnumWindows(
            [](HWND wnd, LPARAM lp) -> BOOL {
                auto* c = reinterpret_cast<Ctx*>(lp);
                DWORD pid = 0;
                GetWindowThreadProcessId(wnd, &pid);
                if (pid != c->pid)
                    return TRUE;
                const bool match = c->byName ? TrelmName(wnd) == *c->text
                                             : (IsWindowVisible(wnd) && WindowText(wnd) == *c->text);
                if (match) {
                    c->found = wnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&ctx));
        return ctx.found;
    }
    HWND Main() const { return Top(L"AForm1", true); }
    HWND Ctl(const std::wstring& name) const { return TNotifierProcess::Child(Main(), name); }
    std::wstring TextOf(const std::wstring& name) const {
        if (HWND c = Ctl(name))
            return WindowText(c);
        TWindowlessControl w;
        return TNotifierProcess::FindWindowless(Main(), name, w) ? w.Text : std::wstring(L"<none>");
    }
    bool Enabled(const wchar_t* name) const { return IsWindowEnabled(Ctl(name)) != FALSE; }
    bool Checked(const wchar_t* name) const { return SendMessageW(Ctl(name), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::wstring Title() const { return TextOf(L"Label_verh"); }

    // A real click at the control's centre (a check box's or radio button's: on its box); waits until the program
    // has taken it.
    static bool IsBox(const std::wstring& name) { return name.rfind(L"Check", 0) == 0 || name.rfind(L"Vbir", 0) == 0; }
    // Where Press clicks the control.
    POINT PressPoint(const wchar_t* name) const {
        RECT r{};
        GetWindowRect(Ctl(name), &r);
        return {IsBox(name) ? r.left + 10 : (r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Press(const wchar_t* name) const {
        if (!Ctl(name))
            return;
        SetForegroundWindow(Main());
        const auto [x, y] = PressPoint(name);
        // The pointer comes in first, as a hand's would: the control sees it enter before the press.
        SetCursorPos(x - 2, y);
        Sleep(100);
        SetCursorPos(x, y);
        Sleep(100);
        ClickAt(x, y);
        SendMessageTimeoutW(Main(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
        Sleep(50);
        SetCursorPos(5, 5);
    }
    // Next until the title reads want (within ms).
    bool NextTo(const std::wstring& want, DWORD ms = 3000) const {
        Press(L"Button_Next");
        return WaitUntil([&] { return Title() == want; }, ms);
    }
    HWND WaitBox(DWORD ms = 5000) const {
        HWND box = nullptr;
        WaitUntil([&] { return (box = Top(L"Внимание")) != nullptr; }, ms);
        return box;
    }

  private:
    std::wstring exe_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

}  // namespace trelm_test
