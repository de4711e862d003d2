// The open dialog's start on a folder of 10,000 files (made once in the temporary folder): from Execute to the end
// of the list view's first WM_PAINT, as a ratio to what the shell alone takes to list the folder and name every item
// (EnumObjects and GetDisplayNameOf), the least any view over the shell must do. Both are medians of several rounds
// in the same run. Goal: within 3x.
#include "OpenDialogBench.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "skin/dialogs/OpenDialog.h"
#include "skin/shell/ShellFolder.h"
#include "skin/shell/ShellListView.h"

namespace {

using TClock = std::chrono::steady_clock;

double Ms(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::wstring BenchFolder(int Files) {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    const std::wstring dir = std::wstring(base) + L"trelm-opendlg-bench-" + std::to_wstring(Files);
    CreateDirectoryW(dir.c_str(), nullptr);
    for (int i = 0; i < Files; ++i) {
        const std::wstring f = dir + L"\\sound" + std::to_wstring(100000 + i) + L".wav";
        if (GetFileAttributesW(f.c_str()) == INVALID_FILE_ATTRIBUTES)
            std::ofstream(f.c_str(), std::ios::binary) << "RIFF";
    }
    return dir;
}

// The shell alone: the folder's items and their display names. Returns the item count.
int EnumerateThroughShell(const std::wstring& Folder, bool BindEach = false) {
    TbsPidl pidl = ParseShellPath(Folder);
    TComPtr<IShellFolder> desktop = DesktopShellFolder();
    TComPtr<IShellFolder> folder = GetItemShellFolder(desktop.Get(), pidl.get(), nullptr);
    if (!folder)
        return 0;
    IEnumIDList* raw = nullptr;
    if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &raw) != S_OK || !raw)
        return 0;
    TComPtr<IEnumIDList> items(raw);
    int n = 0;
    LPITEMIDLIST item = nullptr;
    ULONG got = 0;
    while (items->Next(1, &item, &got) == S_OK && got == 1) {
        TbsPidl owned(item);
        if (BindEach)
            GetItemShellFolder(folder.Get(), owned.get(), nullptr);
        if (!GetDisplayName(folder.Get(), owned.get(), SHGDN_INFOLDER).empty())
            ++n;
    }
    return n;
}

// The end of the list view's first paint: WM_PAINT is taken from the queue, not sent, so a message hook sees it
// fetched; the next message the thread fetches comes after it was painted.
TClock::time_point gFirstPaint;
bool gPainted = false;
HWND gPaintedList = nullptr;

LRESULT CALLBACK OnFetch(int Code, WPARAM WParam, LPARAM LParam) {
    auto* m = reinterpret_cast<MSG*>(LParam);
    if (Code == HC_ACTION && WParam == PM_REMOVE && !gPainted) {
        if (gPaintedList) {
            gFirstPaint = TClock::now();
            gPainted = true;
            PostMessageW(GetAncestor(gPaintedList, GA_ROOT), WM_CLOSE, 0, 0);
        } else if (m->message == WM_PAINT) {
            TWinControl* c = FindControl(m->hwnd);
            if (c && c->Name() == L"FileListView")
                gPaintedList = m->hwnd;
        }
    }
    return CallNextHookEx(nullptr, Code, WParam, LParam);
}

// The shell list view alone filling on the folder (no dialog, not shown): where the dialog's time goes.
double FillListView(const std::wstring& Folder, bool Sorted) {
    TForm host(nullptr);
    host.SetBounds(0, 0, 600, 400);
    auto* view = new TbsSkinFileListView(&host);
    view->SetParent(&host);
    view->SetBounds(0, 0, 600, 400);
    view->SetMask(L"*.wav");
    view->SetSorted(Sorted);
    host.HandleNeeded();
    const auto t0 = TClock::now();
    view->SetRoot(Folder);
    return Ms(TClock::now() - t0);
}

// The dialog counting the items its list takes in: how often it reads the folder in one run.
class TCountingDialog : public TbsSkinOpenDialog {
  public:
    using TbsSkinOpenDialog::TbsSkinOpenDialog;
    int Added = 0;

  protected:
    void PrepareForm(TbsOpenDlgForm* Form) override {
        Form->FileListView->OnAddFolder = [this](TObject*, TbsShellFolder*, bool&) { ++Added; };
    }
};

}  // namespace

int OpenDialogBench(int Files) {
    TbsShellUnit shellUnit;
    const std::wstring folder = BenchFolder(Files);
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, OnFetch, nullptr, GetCurrentThreadId());
    if (!hook) {
        std::fprintf(stderr, "no message hook\n");
        return 1;
    }
    const int kRounds = Files > 2000 ? 3 : 5;  // a large folder takes long enough per round
    std::vector<double> shell, dialog, view, unsorted, bound;
    int listed = 0;
    double reads = 0;
    for (int round = 0; round < kRounds; ++round) {
        auto t0 = TClock::now();
        listed = EnumerateThroughShell(folder);
        shell.push_back(Ms(TClock::now() - t0));
        t0 = TClock::now();
        EnumerateThroughShell(folder, true);
        bound.push_back(Ms(TClock::now() - t0));
        view.push_back(FillListView(folder, true));
        unsorted.push_back(FillListView(folder, false));

        TCountingDialog dlg(nullptr);
        dlg.InitialDir = folder;
        dlg.Filter = L"Sounds|*.wav|All files|*.*";
        gPainted = false;
        gPaintedList = nullptr;
        // A list that never paints must not keep the run waiting.
        TTimer guard(nullptr);
        guard.SetInterval(120000);
        guard.OnTimer = [](TObject*) {
            if (HWND w = FindWindowW(nullptr, L"Open file"))
                PostMessageW(w, WM_CLOSE, 0, 0);
        };
        t0 = TClock::now();
        dlg.Execute();
        if (!gPainted) {
            UnhookWindowsHookEx(hook);
            std::fprintf(stderr, "the list was never painted\n");
            return 1;
        }
        dialog.push_back(Ms(gFirstPaint - t0));
        reads = static_cast<double>(dlg.Added) / std::max(listed, 1);
    }
    UnhookWindowsHookEx(hook);
    const double s = Median(shell), d = Median(dialog);
    std::printf("open dialog on %d files (%d listed by the shell), medians of %d rounds\n", Files, listed, kRounds);
    std::printf("  shell enumeration with names:   %8.1f ms\n", s);
    std::printf("  the same, each item bound to:   %8.1f ms (what the view asks of every item)\n", Median(bound));
    std::printf("  shell list view filling alone:  %8.1f ms (ratio %.2f)\n", Median(view),
                Median(view) / std::max(s, 0.001));
    std::printf("  the same unsorted:              %8.1f ms (ratio %.2f)\n", Median(unsorted),
                Median(unsorted) / std::max(s, 0.001));
    std::printf("  dialog to its first painted list: %8.1f ms\n", d);
    std::printf("  ratio: %.2f (goal: within 3)\n", d / std::max(s, 0.001));
    std::printf("  the dialog's list read the folder %.1f times\n", reads);
    return 0;
}
