// mainform_bench: the notifier's main window, made in this process as the program makes it, switched through every
// stored skin (load from the stored list, the frame rebuild, the walk over every control, the repaint of frame and
// client) beside a plain repaint of the same window in the same run. Prints the median and the worst of each and the
// ratio of the medians (goal: at most 2.5). The bare skinned form's figure comes from `skinform_tool bench`
// (tools/mainform_bench/run.sh prints both).
//   mainform_bench [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tests/app/InProcessMainForm.h"

namespace {

double Ms(const LARGE_INTEGER& a, const LARGE_INTEGER& b, const LARGE_INTEGER& freq) {
    return static_cast<double>(b.QuadPart - a.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Worst(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

// The phases of a switch are told apart by the change messages reaching the main window: from the start to the
// form's "change" message the skin loads; from there to the end of the call the frame is rebuilt and every control
// hears of the new skin. Every message sent to a window of this thread is counted by kind.
struct TSwitchProbe {
    HWND form = nullptr;
    LARGE_INTEGER changeAt{};
    std::map<UINT, long> sent, whileHeld;
    std::map<std::wstring, long> movedByClass;
    long total = 0;
    // The switch cut into segments at the form's change message and at each hold and release of its drawing
    // (WM_SETREDRAW): messages and time per segment, segment 0 being the load.
    static constexpr int kSegments = 8;
    int segment = 0;
    bool inSwitch = false;
    long inSegment[kSegments] = {};
    double msInSegment[kSegments] = {};
    LARGE_INTEGER segmentAt{};
    char mark[kSegments] = {};
    bool counting = false;
};
TSwitchProbe g_probe;

LRESULT CALLBACK CountSent(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && g_probe.counting) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        ++g_probe.sent[m->message];
        ++g_probe.total;
        const bool marker = m->hwnd == g_probe.form &&
                            (m->message == WM_CHANGESKINDATA || m->message == WM_SETREDRAW) && g_probe.inSwitch &&
                            g_probe.segment + 1 < TSwitchProbe::kSegments;
        if (marker) {
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            LARGE_INTEGER freq;
            QueryPerformanceFrequency(&freq);
            g_probe.msInSegment[g_probe.segment] += Ms(g_probe.segmentAt, now, freq);
            g_probe.segmentAt = now;
            ++g_probe.segment;
            g_probe.mark[g_probe.segment] = m->message == WM_CHANGESKINDATA ? 'C' : (m->wParam ? 'R' : 'H');
            if (m->message == WM_CHANGESKINDATA)
                g_probe.changeAt = now;
        }
        if (g_probe.inSwitch)
            ++g_probe.inSegment[g_probe.segment];
        if (!(GetWindowLongPtrW(g_probe.form, GWL_STYLE) & WS_VISIBLE)) {
            ++g_probe.whileHeld[m->message];
            if (m->message == WM_WINDOWPOSCHANGED) {
                wchar_t cls[64] = L"";
                GetClassNameW(m->hwnd, cls, 64);
                ++g_probe.movedByClass[cls];
            }
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

const char* MessageName(UINT m) {
    switch (m) {
        case WM_WINDOWPOSCHANGING: return "WM_WINDOWPOSCHANGING";
        case WM_WINDOWPOSCHANGED: return "WM_WINDOWPOSCHANGED";
        case WM_NCCALCSIZE: return "WM_NCCALCSIZE";
        case WM_SIZE: return "WM_SIZE";
        case WM_MOVE: return "WM_MOVE";
        case WM_NCPAINT: return "WM_NCPAINT";
        case WM_ERASEBKGND: return "WM_ERASEBKGND";
        case WM_PAINT: return "WM_PAINT";
        case WM_SETFONT: return "WM_SETFONT";
        case WM_GETFONT: return "WM_GETFONT";
        case WM_SETREDRAW: return "WM_SETREDRAW";
        case WM_STYLECHANGING: return "WM_STYLECHANGING";
        case WM_STYLECHANGED: return "WM_STYLECHANGED";
        case WM_GETTEXT: return "WM_GETTEXT";
        case WM_GETTEXTLENGTH: return "WM_GETTEXTLENGTH";
        case WM_SETTEXT: return "WM_SETTEXT";
        case WM_NOTIFY: return "WM_NOTIFY";
        case WM_CTLCOLOREDIT: return "WM_CTLCOLOREDIT";
        case WM_CTLCOLORSTATIC: return "WM_CTLCOLORSTATIC";
        case WM_CHANGESKINDATA: return "WM_CHANGESKINDATA";
        case WM_BEFORECHANGESKINDATA: return "WM_BEFORECHANGESKINDATA";
        case WM_AFTERCHANGESKINDATA: return "WM_AFTERCHANGESKINDATA";
        default: return nullptr;
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc >= 2 ? std::max(1, _wtoi(argv[1])) : 2;
    TInProcessMainForm main;
    if (!main.SkinData() || main.SkinCount() == 0) {
        std::fprintf(stderr, "error: the main window has no skin list\n");
        return 1;
    }
    const HWND h = main.Handle();
    SetForegroundWindow(h);
    TInProcessMainForm::Pump(300);
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    const UINT repaint = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    std::vector<double> switches, repaints, loads, walks, paints;
    const int count = main.SkinCount();
    g_probe.form = h;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CountSent, nullptr, GetCurrentThreadId());
    for (int r = 0; r < rounds; ++r)
        for (int i = 0; i < count; ++i) {
            LARGE_INTEGER t0, tw, t1, t2, t3;
            g_probe.counting = true;
            QueryPerformanceCounter(&t0);
            g_probe.changeAt = t0;
            g_probe.segment = 0;
            g_probe.segmentAt = t0;
            g_probe.inSwitch = true;
            main.SkinData()->SetSkinIndex(i);
            QueryPerformanceCounter(&tw);
            g_probe.msInSegment[g_probe.segment] += Ms(g_probe.segmentAt, tw, freq);
            g_probe.inSwitch = false;
            RedrawWindow(h, nullptr, nullptr, repaint);
            GdiFlush();
            QueryPerformanceCounter(&t1);
            g_probe.counting = false;
            loads.push_back(Ms(t0, g_probe.changeAt, freq));
            walks.push_back(Ms(g_probe.changeAt, tw, freq));
            paints.push_back(Ms(tw, t1, freq));
            // The baseline: the same repaint without a switch.
            QueryPerformanceCounter(&t2);
            RedrawWindow(h, nullptr, nullptr, repaint);
            GdiFlush();
            QueryPerformanceCounter(&t3);
            switches.push_back(Ms(t0, t1, freq));
            repaints.push_back(Ms(t2, t3, freq));
            Application->ProcessMessages();
        }
    if (hook)
        UnhookWindowsHookEx(hook);
    const double ratio = Median(switches) / std::max(Median(repaints), 0.001);
    std::printf("main window, %d skins x %d rounds\n", count, rounds);
    std::printf("skin switch (load, frame, control walk, repaint): median %.2f ms, worst %.2f ms\n", Median(switches),
                Worst(switches));
    std::printf("baseline: plain repaint of frame and client:      median %.2f ms, worst %.2f ms\n", Median(repaints),
                Worst(repaints));
    std::printf("  phases (median): load %.2f ms, frame and control walk %.2f ms, repaint %.2f ms\n", Median(loads),
                Median(walks), Median(paints));
    const double n = static_cast<double>(switches.size());
    std::printf("  segments of a switch (C the form's change message, H drawing held, R released): mean ms, "
                "messages\n");
    for (int k = 0; k < TSwitchProbe::kSegments; ++k)
        if (g_probe.inSegment[k] || g_probe.msInSegment[k] > 0)
            std::printf("    %d %c %8.2f ms %8.1f\n", k, g_probe.mark[k] ? g_probe.mark[k] : '-',
                        g_probe.msInSegment[k] / n, g_probe.inSegment[k] / n);
    std::printf("  messages sent per switch: %.1f; the most frequent:\n", static_cast<double>(g_probe.total) / n);
    std::vector<std::pair<long, UINT>> byCount;
    for (const auto& [msg, c] : g_probe.sent)
        byCount.emplace_back(c, msg);
    std::sort(byCount.rbegin(), byCount.rend());
    for (size_t k = 0; k < byCount.size() && k < 12; ++k) {
        const char* name = MessageName(byCount[k].second);
        std::printf("    %-24s 0x%04X %8.1f\n", name ? name : "", byCount[k].second, static_cast<double>(byCount[k].first) / n);
    }
    long heldTotal = 0;
    for (const auto& [msg, c] : g_probe.whileHeld)
        heldTotal += c;
    std::printf("  messages per switch while the window's drawing is held: %.1f\n", heldTotal / n);
    for (UINT m : {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT, WM_WINDOWPOSCHANGED})
        std::printf("    %-24s %8.1f\n", MessageName(m), g_probe.whileHeld[m] / n);
    std::printf("  WM_WINDOWPOSCHANGED while held, by window class:\n");
    for (const auto& [cls, c] : g_probe.movedByClass)
        std::printf("    %-28ls %8.1f\n", cls.c_str(), c / n);
    std::printf("ratio of medians switch / repaint: %.2f (goal <= 2.5: %s)\n", ratio, ratio <= 2.5 ? "met" : "missed");
    return 0;
}
