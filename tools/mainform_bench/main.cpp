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
    std::vector<double> switches, repaints;
    const int count = main.SkinCount();
    for (int r = 0; r < rounds; ++r)
        for (int i = 0; i < count; ++i) {
            LARGE_INTEGER t0, t1, t2, t3;
            QueryPerformanceCounter(&t0);
            main.SkinData()->SetSkinIndex(i);
            RedrawWindow(h, nullptr, nullptr, repaint);
            GdiFlush();
            QueryPerformanceCounter(&t1);
            // The baseline: the same repaint without a switch.
            QueryPerformanceCounter(&t2);
            RedrawWindow(h, nullptr, nullptr, repaint);
            GdiFlush();
            QueryPerformanceCounter(&t3);
            switches.push_back(Ms(t0, t1, freq));
            repaints.push_back(Ms(t2, t3, freq));
            Application->ProcessMessages();
        }
    const double ratio = Median(switches) / std::max(Median(repaints), 0.001);
    std::printf("main window, %d skins x %d rounds\n", count, rounds);
    std::printf("skin switch (load, frame, control walk, repaint): median %.2f ms, worst %.2f ms\n", Median(switches),
                Worst(switches));
    std::printf("baseline: plain repaint of frame and client:      median %.2f ms, worst %.2f ms\n", Median(repaints),
                Worst(repaints));
    std::printf("ratio of medians switch / repaint: %.2f (goal <= 2.5: %s)\n", ratio, ratio <= 2.5 ? "met" : "missed");
    return 0;
}
